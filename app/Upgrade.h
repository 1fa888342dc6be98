#pragma once
// TFrmUpgrade: "Software Upgrade" (or "Software Setup" for the initial
// configuration): the builds of this program that the download server
// offers for a country and a language, and the download of one of them,
// which the updater then puts in place of the running program before it
// starts again. What it decides and says comes from CTUpgradeSteps.
//
// The window is one frame: the running build's lines, the country and
// language (each with "Set as Default" for the locale store), the list with
// the best match selected, and the download's progress in place of the list
// while it runs.

#include "app/BasicDlg.h"
#include "online/UpgradeDownload.h"
#include "online/VersionsList.h"

#include <functional>
#include <vector>

class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QStackedWidget;
class QTabWidget;
class QTreeWidget;

class TFrmUpgrade : public TBasicDialog {
  Q_OBJECT
 public:
  static constexpr int kRetUpgraded = 1;  // downloaded, the updater runs, the program is asked to end
  static constexpr int kRetClosed = 2;
  static constexpr int kProgressMax = 1000;

  // Starts the checked updater over the downloaded files; false when it
  // cannot. Tests put their own in place of the real start.
  using TUpdaterStart = std::function<bool(const std::vector<LTUpgradeFile>& files, const QString& szTitle,
                                           const QString& szTargetProgram, bool bRestart)>;
  // Ends the program once the updater runs (it waits for our process).
  using TQuitHook = std::function<void()>;
  // The version text of the loaded catalogue; empty without one.
  using TCatalogueVersionSource = std::function<QString()>;

  // Process-wide; none puts the default back (CTUpgradeDownload::
  // StartUpdater, QCoreApplication::quit, no catalogue).
  static void SetUpdaterStart(TUpdaterStart fnStart);
  static void SetQuitHook(TQuitHook fnQuit);
  static void SetCatalogueVersionSource(TCatalogueVersionSource fnSource);
  // The starts of the running build, for the download report (0 until set).
  static void SetUsageCount(int nCount);

  // bAtStartup: nothing can be unsaved yet, so the restart needs no
  // warning. bIsInitialConfig: the user picks a configuration to begin with.
  TFrmUpgrade(QWidget* pOwner, bool bAtStartup, bool bIsInitialConfig);

  // Asks the server, then shows the window modally. Answers kRetUpgraded
  // once a build was downloaded and the updater started, else kRetClosed
  // (also when the server had nothing to offer, which has been said).
  static int Upgrade(QWidget* pOwner, bool bAtStartup, bool bIsInitialConfig);

  // Fetches the versions list and fills the window; false, after saying
  // why, when there is nothing to offer.
  bool FetchVersions();

  void Btn_CloseClick() { DoCloseWindow(kRetClosed); }
  // Escape and the close box close as Close does, except while downloading.
  void reject() override {
    if (!v_downloading) DoCloseWindow(kRetClosed);
  }
  void Btn_DownloadClick();
  void Btn_DescriptionClick();
  void Btn_CountryDefaultClick();
  void Btn_LanguageDefaultClick();
  void Btn_ApproveClick();

 protected:
  void SetupDialog() override;
  void UpdateControls() override;

 private:
  void FillList();
  const LTVersionEntry* SelectedEntry() const;
  // Asks everything the download needs; false when one is refused.
  bool ConfirmDownload(const LTVersionEntry& build);
  void Download(const LTVersionEntry& build);
  void ShowProgress(bool bDownloading);
  // Messages before the window is up go over its owner.
  QWidget* MessageParent();

  bool v_atStartup = false;
  bool v_initialConfig = false;
  bool v_canChangeConfig = false;
  bool v_downloading = false;
  QString v_catalogueVersion;
  LTVersionsList v_list;
  std::vector<int> v_rows;  // entry index of each list row

  QTabWidget* Tab_Main = nullptr;
  QLabel *Lbl_Server = nullptr, *Lbl_Program = nullptr, *Lbl_Configuration = nullptr, *Lbl_Database = nullptr;
  QComboBox *Cbx_Country = nullptr, *Cbx_Language = nullptr;
  QPushButton *Btn_CountryDefault = nullptr, *Btn_LanguageDefault = nullptr;
  QStackedWidget* Stk_List = nullptr;
  QTreeWidget* Lvw_Versions = nullptr;
  QLabel* Lbl_Downloading = nullptr;
  QProgressBar* Prg_Download = nullptr;
  QLabel* Lbl_NoLanguage = nullptr;
  QPushButton *Btn_Description = nullptr, *Btn_Download = nullptr;
  QWidget* Pnl_Approve = nullptr;
  QPushButton* Btn_Approve = nullptr;
  QPushButton* Btn_Close = nullptr;
};
