#include "app/Upgrade.h"

#include "app/ApplicationUtils.h"
#include "app/ApproveTranslation.h"
#include "app/LocaleChoice.h"
#include "app/Privacy.h"
#include "i18n/BaseMsgMan.h"
#include "i18n/LangSupport.h"
#include "online/CorvelConfig.h"
#include "online/CorvelIntegration.h"
#include "online/UpgradeSteps.h"
#include "platform/VersionUtils.h"

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <exception>

namespace {

using TAsk = CTUpgradeSteps::TAsk;

constexpr int kDesignWidth = 760, kDesignHeight = 500, kDesignPixelsPerInch = 96;
constexpr int kMaxColumnWidth = 320;

template <typename T>
T* Named(T* pWidget, const char* szName) {
  pWidget->setObjectName(QString::fromLatin1(szName));
  return pWidget;
}

// A hook set from outside must not take the event loop down with it; a
// hook that throws counts as one that failed.
template <typename F>
bool Guarded(const char* szWhat, F&& fnCall) {
  try {
    return fnCall();
  } catch (const std::exception& e) {
    qWarning("%s failed: %s", szWhat, e.what());
  } catch (...) {
    qWarning("%s failed", szWhat);
  }
  return false;
}

TFrmUpgrade::TUpdaterStart& UpdaterStart() {
  static TFrmUpgrade::TUpdaterStart start;
  return start;
}
TFrmUpgrade::TQuitHook& QuitHook() {
  static TFrmUpgrade::TQuitHook quit;
  return quit;
}
TFrmUpgrade::TCatalogueVersionSource& CatalogueSource() {
  static TFrmUpgrade::TCatalogueVersionSource source;
  return source;
}
int& UsageCount() {
  static int count = 0;
  return count;
}

// The wait cursor while the server is asked.
class LTWaitCursor {
 public:
  LTWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~LTWaitCursor() { QApplication::restoreOverrideCursor(); }
  LTWaitCursor(const LTWaitCursor&) = delete;
  LTWaitCursor& operator=(const LTWaitCursor&) = delete;
};

CTUpgradeSteps::LTRunningBuild RunningBuild(const QString& szCatalogueVersion) {
  return {CTVersionUtils::GetVersion(), CTLangSupport::UILanguage(), CTUpgradeSteps::DatabaseNumber(szCatalogueVersion),
          CTVersionUtils::ConfigurationName()};
}

QLabel* AddLine(QGridLayout* pGrid, QWidget* pParent, int nRow, const QString& szCaption, const char* szName) {
  pGrid->addWidget(new QLabel(szCaption, pParent), nRow, 0);
  auto* value = Named(new QLabel(pParent), szName);
  value->setTextInteractionFlags(Qt::TextSelectableByMouse);
  pGrid->addWidget(value, nRow, 1);
  return value;
}

}  // namespace

void TFrmUpgrade::SetUpdaterStart(TUpdaterStart fnStart) { UpdaterStart() = std::move(fnStart); }
void TFrmUpgrade::SetQuitHook(TQuitHook fnQuit) { QuitHook() = std::move(fnQuit); }
void TFrmUpgrade::SetCatalogueVersionSource(TCatalogueVersionSource fnSource) {
  CatalogueSource() = std::move(fnSource);
}
void TFrmUpgrade::SetUsageCount(int nCount) { UsageCount() = nCount; }

TFrmUpgrade::TFrmUpgrade(QWidget* pOwner, bool bAtStartup, bool bIsInitialConfig)
    : TBasicDialog(pOwner, false), v_atStartup(bAtStartup), v_initialConfig(bIsInitialConfig) {
  setObjectName(QStringLiteral("TFrmUpgrade"));
  setWindowTitle(bIsInitialConfig ? TBaseMsg::Tr("Software Setup") : TBaseMsg::Tr("Software Upgrade"));
  if (const TCatalogueVersionSource& source = CatalogueSource())
    Guarded("The catalogue's version", [&] {
      v_catalogueVersion = source();
      return true;
    });
  auto* layout = new QVBoxLayout(this);

  Tab_Main = Named(new QTabWidget(this), "Tab_Main");
  auto* page = Named(new QWidget(Tab_Main), "Tab_Page");
  Tab_Main->addTab(page, bIsInitialConfig ? TBaseMsg::Tr("Configure") : TBaseMsg::Tr("Upgrade"));
  auto* pageLayout = new QVBoxLayout(page);

  // The running build.
  auto* lines = new QGridLayout;
  lines->setHorizontalSpacing(16);
  Lbl_Server = AddLine(lines, page, 0, TBaseMsg::Tr("Download server"), "Lbl_Server");
  Lbl_Program = AddLine(lines, page, 1, TBaseMsg::Tr("Program"), "Lbl_Program");
  Lbl_Configuration = AddLine(lines, page, 2, TBaseMsg::Tr("Configuration"), "Lbl_Configuration");
  Lbl_Database = AddLine(lines, page, 3, TBaseMsg::Tr("Database version"), "Lbl_Database");

  // Country and language, each with its way into the locale store.
  auto* country = new QLabel(TBaseMsg::Tr("Country"), page);
  Cbx_Country = Named(new QComboBox(page), "Cbx_Country");
  country->setBuddy(Cbx_Country);
  Btn_CountryDefault = Named(new QPushButton(TBaseMsg::Tr("Set as Default"), page), "Btn_CountryDefault");
  Btn_CountryDefault->setToolTip(TBaseMsg::Tr("Use this country in all Norvane programs"));
  auto* language = new QLabel(TBaseMsg::Tr("Language"), page);
  Cbx_Language = Named(new QComboBox(page), "Cbx_Language");
  language->setBuddy(Cbx_Language);
  Btn_LanguageDefault = Named(new QPushButton(TBaseMsg::Tr("Set as Default"), page), "Btn_LanguageDefault");
  Btn_LanguageDefault->setToolTip(TBaseMsg::Tr("Use this language in all Norvane programs"));
  lines->addWidget(country, 4, 0);
  lines->addWidget(Cbx_Country, 4, 1);
  lines->addWidget(Btn_CountryDefault, 4, 2);
  lines->addWidget(language, 5, 0);
  lines->addWidget(Cbx_Language, 5, 1);
  lines->addWidget(Btn_LanguageDefault, 5, 2);
  lines->setColumnStretch(1, 1);
  pageLayout->addLayout(lines);

  // The list, or the download's progress in its place.
  Stk_List = Named(new QStackedWidget(page), "Stk_List");
  Lvw_Versions = Named(new QTreeWidget(Stk_List), "Lvw_Versions");
  Lvw_Versions->setRootIsDecorated(false);
  Lvw_Versions->setUniformRowHeights(true);
  Lvw_Versions->setAllColumnsShowFocus(true);
  Lvw_Versions->setSelectionMode(QAbstractItemView::SingleSelection);
  Lvw_Versions->setHeaderLabels(
      {TBaseMsg::Tr("Version"), TBaseMsg::Tr("Language"), TBaseMsg::Tr("Configuration"), TBaseMsg::Tr("Database"), TBaseMsg::Tr("Description"), TBaseMsg::Tr("Size")});
  Lvw_Versions->headerItem()->setTextAlignment(CTUpgradeSteps::kColSize, Qt::AlignRight | Qt::AlignVCenter);
  Lvw_Versions->header()->setStretchLastSection(false);
  Stk_List->addWidget(Lvw_Versions);
  auto* progress = Named(new QWidget(Stk_List), "Pnl_Progress");
  auto* progressLayout = new QVBoxLayout(progress);
  progressLayout->addStretch(1);
  Lbl_Downloading = Named(new QLabel(progress), "Lbl_Downloading");
  Prg_Download = Named(new QProgressBar(progress), "Prg_Download");
  Prg_Download->setRange(0, kProgressMax);
  Prg_Download->setValue(0);
  progressLayout->addWidget(Lbl_Downloading);
  progressLayout->addWidget(Prg_Download);
  progressLayout->addStretch(1);
  Stk_List->addWidget(progress);
  pageLayout->addWidget(Stk_List, 1);

  Lbl_NoLanguage = Named(new QLabel(TBaseMsg::Tr("This program is not available in your preferred language"), page),
                         "Lbl_NoLanguage");
  QPalette attention = Lbl_NoLanguage->palette();
  attention.setColor(QPalette::WindowText, Qt::darkRed);
  Lbl_NoLanguage->setPalette(attention);
  Lbl_NoLanguage->hide();
  pageLayout->addWidget(Lbl_NoLanguage);

  auto* commands = new QHBoxLayout;
  Btn_Description = Named(new QPushButton(TBaseMsg::Tr("Configuration Description..."), page), "Btn_Description");
  Btn_Download = Named(new QPushButton(TBaseMsg::Tr("Download Selected Version"), page), "Btn_Download");
  commands->addWidget(Btn_Description);
  commands->addStretch(1);
  commands->addWidget(Btn_Download);
  pageLayout->addLayout(commands);

  // Approval builds are downloaded to be approved, not upgraded.
  Pnl_Approve = Named(new QGroupBox(TBaseMsg::Tr("Translation approval"), page), "Pnl_Approve");
  auto* approve = new QHBoxLayout(Pnl_Approve);
  approve->addWidget(new QLabel(TBaseMsg::Tr("This is an approval version of the program."), Pnl_Approve), 1);
  Btn_Approve = Named(new QPushButton(TBaseMsg::Tr("Approve Translation..."), Pnl_Approve), "Btn_Approve");
  approve->addWidget(Btn_Approve);
  Pnl_Approve->setVisible(CTVersionUtils::IsApprovalVersion());
  pageLayout->addWidget(Pnl_Approve);
  layout->addWidget(Tab_Main, 1);

  auto* closing = new QHBoxLayout;
  closing->addStretch(1);
  Btn_Close = Named(new QPushButton(TBaseMsg::Tr("&Close"), this), "Btn_Close");
  closing->addWidget(Btn_Close);
  layout->addLayout(closing);

  connect(Cbx_Country, &QComboBox::currentIndexChanged, this, [this] { FillList(); });
  connect(Cbx_Language, &QComboBox::currentIndexChanged, this, [this] { FillList(); });
  connect(Lvw_Versions, &QTreeWidget::itemSelectionChanged, this, [this] { UpdateControls(); });
  connect(Lvw_Versions, &QTreeWidget::itemDoubleClicked, this, [this] { Btn_DescriptionClick(); });
  connect(Btn_CountryDefault, &QPushButton::clicked, this, [this] { Btn_CountryDefaultClick(); });
  connect(Btn_LanguageDefault, &QPushButton::clicked, this, [this] { Btn_LanguageDefaultClick(); });
  connect(Btn_Description, &QPushButton::clicked, this, [this] { Btn_DescriptionClick(); });
  connect(Btn_Download, &QPushButton::clicked, this, [this] { Btn_DownloadClick(); });
  connect(Btn_Approve, &QPushButton::clicked, this, [this] { Btn_ApproveClick(); });
  connect(Btn_Close, &QPushButton::clicked, this, [this] { Btn_CloseClick(); });
  resize(kDesignWidth * logicalDpiX() / kDesignPixelsPerInch, kDesignHeight * logicalDpiY() / kDesignPixelsPerInch);
  Loaded();
}

int TFrmUpgrade::Upgrade(QWidget* pOwner, bool bAtStartup, bool bIsInitialConfig) {
  TFrmUpgrade window(pOwner, bAtStartup, bIsInitialConfig);
  if (!window.FetchVersions()) return kRetClosed;
  return window.Execute();
}

void TFrmUpgrade::SetupDialog() {
  const QString config = CTVersionUtils::ConfigurationName();
  const bool downloadBuild = CTVersionUtils::IsCorvelDownload();
  Lbl_Server->setText(CTCorvelConfig::ServerLabel(CTVersionUtils::CorvelServerID()));
  Lbl_Program->setText(CTUpgradeSteps::ProgramLine(ApplicationUtils::Title(), CTLangSupport::UILanguage()));
  Lbl_Configuration->setText(CTUpgradeSteps::ConfigurationLine(config, v_catalogueVersion, downloadBuild));
  Lbl_Database->setText(CTUpgradeSteps::DatabaseLine(v_catalogueVersion, downloadBuild));
  const LTLocaleData stored = CTLangSupport::GetLocaleData();
  {
    const QSignalBlocker countries(Cbx_Country), languages(Cbx_Language);
    TFrmLocaleChoice::FillCountryComboBox(Cbx_Country, stored.v_country);
    TFrmLocaleChoice::FillLanguageComboBox(Cbx_Language, stored.v_language);
  }
  CalcComboBoxDropdownWidths();
  TBasicDialog::SetupDialog();
}

bool TFrmUpgrade::FetchVersions() {
  QString suffix;
  const int version = CTVersionUtils::GetVersionEx(suffix);
  CTUpgradeSteps::LTFetched fetched;
  {
    const LTWaitCursor wait;
    fetched = CTUpgradeSteps::Fetch(suffix, CTVersionUtils::CorvelServerID(), version);
  }
  if (fetched.problem == CTUpgradeSteps::TFetchProblem::kNone &&
      CTUpgradeSteps::NothingNew(fetched.list.entries, RunningBuild(v_catalogueVersion), v_initialConfig))
    fetched.problem = CTUpgradeSteps::TFetchProblem::kNoVersions;
  if (fetched.problem != CTUpgradeSteps::TFetchProblem::kNone) {
    const QString text = CTUpgradeSteps::FetchProblemText(fetched.problem, fetched.refusal);
    if (CTUpgradeSteps::IsError(fetched.problem))
      TBaseMsg::DisplayError(MessageParent(), text);
    else
      TBaseMsg::DisplayWarning(MessageParent(), text);
    return false;
  }
  v_list = std::move(fetched.list);
  const QString config = CTVersionUtils::ConfigurationName();
  const bool discontinued = CTUpgradeSteps::ConfigDiscontinued(v_list.entries, config);
  v_canChangeConfig = CTUpgradeSteps::CanChangeConfig(CTVersionUtils::CorvelServerID(), v_initialConfig, discontinued);
  FillList();
  if (discontinued) TBaseMsg::DisplayWarning(MessageParent(), CTUpgradeSteps::DiscontinuedText(config));
  return true;
}

void TFrmUpgrade::FillList() {
  const LTVersionFilter filter =
      CTUpgradeSteps::Filter(TFrmLocaleChoice::SelectedInComboBox(Cbx_Country, 0),
                             TFrmLocaleChoice::SelectedInComboBox(Cbx_Language, 0), v_canChangeConfig,
                             CTVersionUtils::ConfigurationName());
  const LTVersionListing listing = CTVersionsList::Fill(v_list.entries, filter);
  const QSignalBlocker quiet(Lvw_Versions);
  Lvw_Versions->clear();
  v_rows = listing.rows;
  QTreeWidgetItem* best = nullptr;
  for (int r = 0; r < int(v_rows.size()); ++r) {
    const LTVersionEntry& entry = v_list.entries[size_t(v_rows[size_t(r)])];
    auto* item = new QTreeWidgetItem(Lvw_Versions, CTUpgradeSteps::RowTexts(entry, ApplicationUtils::Title()));
    item->setTextAlignment(CTUpgradeSteps::kColSize, Qt::AlignRight | Qt::AlignVCenter);
    item->setToolTip(CTUpgradeSteps::kColDescription, entry.v_description);
    if (r != listing.nBestRow) continue;
    best = item;
    for (int c = 0; c < CTUpgradeSteps::kColCount; ++c) {
      QFont bold = item->font(c);
      bold.setBold(true);
      item->setFont(c, bold);
    }
  }
  CalculateListColumnWidths(Lvw_Versions, kMaxColumnWidth, false);
  // The description takes what is left; its whole text is in the tool tip.
  Lvw_Versions->header()->setSectionResizeMode(CTUpgradeSteps::kColDescription, QHeaderView::Stretch);
  if (best) {
    Lvw_Versions->setCurrentItem(best);
    best->setSelected(true);
    Lvw_Versions->scrollToItem(best);
  }
  Lbl_NoLanguage->setVisible(!v_rows.empty() && !listing.bLangFound);
  UpdateControls();
}

void TFrmUpgrade::UpdateControls() {
  const LTLocaleData stored = CTLangSupport::GetLocaleData();
  const int country = TFrmLocaleChoice::SelectedInComboBox(Cbx_Country, 0);
  const int language = TFrmLocaleChoice::SelectedInComboBox(Cbx_Language, 0);
  const bool idle = !v_downloading;
  Btn_CountryDefault->setEnabled(idle && country != 0 && (country != stored.v_country || !stored.v_stored));
  Btn_LanguageDefault->setEnabled(idle && language != 0 && (language != stored.v_language || !stored.v_stored));
  const bool selected = SelectedEntry() != nullptr;
  Btn_Download->setEnabled(idle && selected);
  Btn_Description->setEnabled(idle && selected);
  for (QWidget* control : {static_cast<QWidget*>(Cbx_Country), static_cast<QWidget*>(Cbx_Language),
                           static_cast<QWidget*>(Btn_Approve), static_cast<QWidget*>(Btn_Close)})
    control->setEnabled(idle);
  TBasicDialog::UpdateControls();
}

const LTVersionEntry* TFrmUpgrade::SelectedEntry() const {
  const QList<QTreeWidgetItem*> selected = Lvw_Versions->selectedItems();
  if (selected.isEmpty()) return nullptr;
  const int row = Lvw_Versions->indexOfTopLevelItem(selected.first());
  if (row < 0 || row >= int(v_rows.size())) return nullptr;
  return &v_list.entries[size_t(v_rows[size_t(row)])];
}

QWidget* TFrmUpgrade::MessageParent() { return isVisible() ? this : parentWidget(); }

void TFrmUpgrade::Btn_CountryDefaultClick() {
  const LTLocaleData stored = CTLangSupport::GetLocaleData();
  CTLangSupport::SetLocaleData(TFrmLocaleChoice::SelectedInComboBox(Cbx_Country, stored.v_country),
                               stored.v_language);
  UpdateControls();
}

void TFrmUpgrade::Btn_LanguageDefaultClick() {
  const LTLocaleData stored = CTLangSupport::GetLocaleData();
  CTLangSupport::SetLocaleData(stored.v_country,
                               TFrmLocaleChoice::SelectedInComboBox(Cbx_Language, stored.v_language));
  UpdateControls();
}

void TFrmUpgrade::Btn_DescriptionClick() {
  const LTVersionEntry* entry = SelectedEntry();
  if (!entry) return;
  TBaseMsg::DisplayHint(this, entry->v_description.split(QStringLiteral("\r\n")));
}

void TFrmUpgrade::Btn_ApproveClick() { TFrmApproveTranslation::ApproveTranslation(this); }

void TFrmUpgrade::Btn_DownloadClick() {
  const LTVersionEntry* selected = SelectedEntry();
  if (!selected || v_downloading) return;
  const LTVersionEntry build = *selected;  // the list may change while the questions are up
  if (!ConfirmDownload(build)) return;
  Download(build);
}

bool TFrmUpgrade::ConfirmDownload(const LTVersionEntry& build) {
  // A generic build being set up is never the one the user means to keep.
  const bool sameBuild = !v_initialConfig && RunningBuild(v_catalogueVersion).IsSame(build);
  const TMsgDlgButtons yesNo = MsgButtons({mbYes, mbNo});
  for (const TAsk ask : CTUpgradeSteps::BeforeDownload(sameBuild, !v_atStartup, CTVersionUtils::CorvelServerID())) {
    switch (ask) {
      case TAsk::kSameBuild:
        if (TBaseMsg::DisplayQuestion(this, CTUpgradeSteps::SameBuildText(), yesNo) != mrYes) return false;
        break;
      case TAsk::kUnsaved:
        if (TBaseMsg::DisplayQuestion(this, CTUpgradeSteps::UnsavedText(), yesNo) != mrYes) {
          DoCloseWindow(kRetClosed);
          return false;
        }
        break;
      case TAsk::kPrivacy:
        if (TFrm_Privacy::Execute(this, ApplicationUtils::Title()) != TFrm_Privacy::kAccepted) return false;
        break;
      case TAsk::kFolder: {
        const QString folder = QCoreApplication::applicationDirPath();
        if (!CTUpgradeDownload::CanWriteFolder(folder)) {
          TBaseMsg::DisplayError(this, CTUpgradeSteps::FolderText(QDir::toNativeSeparators(folder)));
          return false;
        }
        break;
      }
    }
  }
  return true;
}

void TFrmUpgrade::ShowProgress(bool bDownloading) {
  v_downloading = bDownloading;
  Stk_List->setCurrentIndex(bDownloading ? 1 : 0);
  UpdateControls();
}

void TFrmUpgrade::Download(const LTVersionEntry& build) {
  const int server = CTVersionUtils::CorvelServerID();
  std::vector<LTUpgradeFile> files =
      CTUpgradeDownload::Plan(server, v_list, build, QString::fromLatin1(CTCorvelIntegration::kProgramFileName),
                              !v_catalogueVersion.isEmpty());
  // A private folder of its own, kept after this window: the updater
  // takes the files from there once the program has ended.
  QTemporaryDir folder(QDir(QDir::tempPath()).filePath(QStringLiteral("aerolith-upgrade-XXXXXX")));
  folder.setAutoRemove(false);

  Lbl_Downloading->setText(CTUpgradeSteps::DownloadingText(files.front().szShownName));
  Prg_Download->setValue(0);
  ShowProgress(true);
  LTUpgradeOutcome outcome;
  if (!folder.isValid()) {
    outcome.result = LTUpgradeOutcome::Result::kLocalFolder;
  } else {
    outcome = CTUpgradeDownload::DownloadAll(server, v_list.release, files, folder.path(),
                                             [this, &files](int nFile, quint32 nProgress, quint32 nExpected) {
                                               if (nFile >= 0 && nFile < int(files.size()))
                                                 Lbl_Downloading->setText(CTUpgradeSteps::DownloadingText(
                                                     files[size_t(nFile)].szShownName));
                                               Prg_Download->setValue(CTUpgradeSteps::ProgressPosition(
                                                   Prg_Download->maximum(), nProgress, nExpected));
                                             });
  }
  if (!outcome.Ok()) {
    if (folder.isValid()) folder.remove();
    ShowProgress(false);
    const QStringList lines = CTUpgradeSteps::FailureLines(outcome);
    if (!lines.isEmpty()) TBaseMsg::DisplayError(this, lines);
    return;
  }

  const QString title = ApplicationUtils::Title();
  const QString target = QCoreApplication::applicationFilePath();
  const bool started = Guarded("Starting the updater", [&] {
    const TUpdaterStart& start = UpdaterStart();
    return start ? start(files, title, target, true) : CTUpgradeDownload::StartUpdater(files, title, target, true);
  });
  if (!started) {
    folder.remove();
    ShowProgress(false);
    TBaseMsg::DisplayHint(this, CTUpgradeSteps::UpdaterFailedText());
    return;
  }
  TBaseMsg::DisplayHint(this, CTUpgradeSteps::RestartText());
  CTUpgradeDownload::SendReport(
      server, CTUpgradeSteps::ReportFields(build, UsageCount(), CTLangSupport::GetLocaleData()));
  DoCloseWindow(kRetUpgraded);
  Guarded("Ending the program", [] {
    if (const TQuitHook& quit = QuitHook())
      quit();
    else
      QCoreApplication::quit();
    return true;
  });
}
