#pragma once
// TFrmAutoUpgradeHint: "Upgrade Now!": what the start-up learned from the
// program-information service (CTAutoUpgrade::HintLines) and what the user
// can do about it: open the upgrade window, read the release notes, or skip.

#include "app/BasicDlg.h"

class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTextEdit;

// What the caller of the hint knows besides the packed number.
struct LTUpgradeHintContext {
  // The service's number of the program, from the question that brought
  // the hint; 0: the release notes ask for it first.
  int nProgramID = 0;
  // The main window holds work not saved: the upgrade warns before the
  // program restarts. False before the window is in use.
  bool bUnsavedWork = false;
};

class TFrmAutoUpgradeHint : public TBasicDialog {
  Q_OBJECT
 public:
  // The memo grows with the lines up to this many, then scrolls.
  static constexpr int kMaxLines = 20;
  static constexpr int kRetSkip = 2;

  using LTContext = LTUpgradeHintContext;

  // nUpgradeInfo: the service's packed upgrade number (0 lists nothing but
  // the first line, as approval builds do).
  TFrmAutoUpgradeHint(QWidget* pOwner, const QString& szAppTitle, const QString& szCatalogueVersion,
                      int nUpgradeInfo, const LTContext& context = {});

  // Shows the hint modally; answers the upgrade window's result after
  // "Upgrade Now!", else kRetSkip.
  static int ShowHint(QWidget* pOwner, const QString& szAppTitle, const QString& szCatalogueVersion,
                      int nUpgradeInfo, const LTContext& context = {});

  void Btn_UpgradeClick();
  void Btn_ReleaseNotesClick();
  void Btn_SkipClick() { DoCloseWindow(kRetSkip); }

 private:
  LTContext v_context;
  QLabel* Img_Information = nullptr;
  QPlainTextEdit* Txt_Lines = nullptr;
  QGroupBox* Box_ReleaseNotes = nullptr;
  QTextEdit* Txt_ReleaseNotes = nullptr;
  QPushButton *Btn_Upgrade = nullptr, *Btn_ReleaseNotes = nullptr, *Btn_Skip = nullptr;
};
