#pragma once
// TFrm_AboutBox: "About": the program, its version, interface language and
// catalogue version, who makes and who develops it, the build's distributor,
// and the commands around them: the conditions of use, the locale choice,
// and, when the build's server offers them, the release notes and the
// user's manual. What it says and decides comes from CTAboutInfo.
//
// The server is asked once the box is up, so that the box shows at once;
// each question is bounded by the transport, and a server that is not there
// answers at once.

#include "app/BasicDlg.h"

#include <functional>

class QGroupBox;
class QLabel;
class QPushButton;
class QTextEdit;

class TFrm_AboutBox : public TBasicDialog {
  Q_OBJECT
 public:
  static constexpr int kRetClose = 1;

  // Shows the conditions of use over the box.
  using TTermsCallback = std::function<void(QWidget* pOwner)>;
  // Opens the upgrade window over the box; set by the upgrade work.
  using TUpgradeOpener = std::function<void(QWidget* pOwner)>;
  // The save dialog: the file chosen, empty when cancelled. szStart is the
  // proposed file (folder and name).
  using TSaveFileChooser =
      std::function<QString(QWidget* pParent, const QString& szTitle, const QString& szStart, const QString& szFilter)>;

  // szDataVersion: the catalogue's version as shown; empty hides the line.
  // Without fnTerms there is no Disclaimer button.
  TFrm_AboutBox(QWidget* pOwner, const QString& szTitle, const QString& szDataVersion, TTermsCallback fnTerms);

  // Process-wide; none (the default) leaves the update questions unanswered.
  static void SetUpgradeOpener(TUpgradeOpener fnOpener);
  // Process-wide; none puts the desktop's save dialog back.
  static void SetSaveFileChooser(TSaveFileChooser fnChooser);

  // Asks the server what it offers this build and shows the buttons for it.
  // Runs once: on the first showing, or earlier when called.
  void AskServer();
  bool ServerAsked() const { return v_serverAsked; }

  void Btn_CloseClick() { DoCloseWindow(kRetClose); }
  void Btn_DisclaimerClick();
  void Btn_ReleaseNotesClick();
  void Btn_LocalizationClick();
  void Btn_ManualClick();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QWidget* PartyPanel(const char* szName, const QString& szCaption, bool bMaker);
  QLabel* LinkLabel(QWidget* pParent, const QString& szName, const QString& szHref, const QString& szCaption);
  void ShowManual(bool bOffered, const QString& szPath);

  QString v_dataVersion;
  TTermsCallback v_terms;
  QString v_manualPath;
  bool v_serverAsked = false;
  // The service's number of the program, asked once with the offers; the
  // box's later questions pass it on. 0: unknown, or no answer.
  int v_programID = 0;
  QLabel *Img_Program = nullptr, *Lbl_Product = nullptr, *Lbl_Version = nullptr, *Lbl_Language = nullptr,
         *Lbl_DatabaseCaption = nullptr, *Lbl_Database = nullptr, *Lbl_Distributor = nullptr;
  QGroupBox* Box_ReleaseNotes = nullptr;
  QTextEdit* Txt_ReleaseNotes = nullptr;
  QPushButton *Btn_Close = nullptr, *Btn_Disclaimer = nullptr, *Btn_ReleaseNotes = nullptr, *Btn_Localization = nullptr,
              *Btn_Manual = nullptr;
};
