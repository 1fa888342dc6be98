#include "app/DlgSelect.h"

#include "app/ApplicationUtils.h"
#include "app/FormTranslation.h"
#include "app/LocaleChoice.h"
#include "app/Preferences.h"
#include "app/Disclaimer.h"
#include "app/Upgrade.h"
#include "app/UpgradeHint.h"
#include "online/AboutInfo.h"
#include "online/AutoUpgrade.h"
#include "i18n/LangSupport.h"
#include "docs/Glossaries.h"
#include "docs/Preferences.h"
#include "platform/VersionUtils.h"
#include "app/BasicDlg.h"
#include "app/ChartBox.h"
#include "app/DlgPrintParams.h"
#include "app/FrmConfiguration.h"
#include "charts/ChartSetup.h"
#include "app/FrameBottomPanelExt.h"
#include "app/FrameTempConditions.h"
#include "app/Frame_UnitTextScroll.h"
#include "catalogue/ClHRX.h"
#include "catalogue/ClHRXDocumentation.h"
#include "catalogue/ClIndFamily.h"
#include "catalogue/ClTrivaneDeviceOption.h"
#include "catalogue/Factory.h"
#include "catalogue/RecordCast.h"
#include "i18n/BaseMsgMan.h"
#include "platform/Resources.h"
#include "psychro/SI_Units.h"
#include "recdb/ClDdbVersionInfo.h"
#include "recdb/ElemDbObject.h"
#include "recdb/MemDB.h"
#include "resources/EmbeddedData.h"
#include "selection/CatalogueSession.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QStatusBar>
#include <QComboBox>
#include <QRadioButton>
#include <QTreeWidget>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QCloseEvent>
#include <QFileInfo>
#include <QMenu>
#include <QScreen>
#include <QTabWidget>
#include <QThread>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int kMsgSaveChanges = 74;

struct ActionDef {
  const char* name;
  const char* caption;
  const char* hint;
  bool enabled;  // false until the command's work exists
};

// In toolbar order.
const ActionDef kActions[] = {
    {"ACF_New", "New", "Creates a new Aerolith project", true},
    {"ACF_Open", "Open...", "Opens a Aerolith project file", true},
    {"ACF_Save", "Save...", "Saves a Aerolith project file", true},
    {"ACF_Report", "Report...", "Creates a report about the selected ventilation device", true},
    {"ACT_BillOfMaterials", "Material List XML Export...", "Material List XML Export", true},
    {"ACF_Distributor", "Distributor", "Defines the distributor data", true},
    {"ACF_Preferences", "Preferences", "Defines the preferences", true},
    {"ACH_About", "About", "", true},
    {"ACF_Exit", "Exit", "Quits the Aerolith selection program", true},
};


}  // namespace

TDlgSelect::TDlgSelect(QWidget* pParent) : QMainWindow(pParent) {
  setObjectName(QStringLiteral("TDlgSelect"));
  v_baseCaption = ApplicationUtils::Title();
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(DesignToScreen(kDesignFontPixels));
  setFont(font);

  CreateActions();
  CreatePages();

  v_air = std::make_unique<TAir>(0.0);
  v_dataHaveChanged = false;

  // The toolbar adds to the client height; the pages keep the design size.
  resize(DesignToScreen(kDesignWidth), DesignToScreen(kDesignHeight));
  UpdateCaption();
  CentreOnScreen();
}

TDlgSelect::~TDlgSelect() {
  // The child widgets outlive this part of the window: the base class
  // deletes them, and a field losing its focus then says its editing has
  // finished. Nothing of theirs may reach a window that is half gone.
  for (QObject* child : findChildren<QObject*>()) QObject::disconnect(child, nullptr, this, nullptr);
  // The candidates borrow from the session's units: they go first.
  v_form.reset();
}

CTFactory* TDlgSelect::Factory() const { return v_session ? &v_session->Factory() : nullptr; }

void TDlgSelect::ShowPage(QWidget* pPage) { Ctl_Pages->setCurrentWidget(pPage); }

int TDlgSelect::DesignToScreen(int nDesignPixels) const {
  const int dpi = logicalDpiX() > 0 ? logicalDpiX() : 96;
  return (nDesignPixels * dpi + kDesignPixelsPerInch / 2) / kDesignPixelsPerInch;
}

QAction* TDlgSelect::Action(const QString& szName) const { return findChild<QAction*>(szName); }

void TDlgSelect::CreateActions() {
  Ctl_Toolbar = addToolBar(QString());
  Ctl_Toolbar->setObjectName(QStringLiteral("Ctl_Toolbar"));
  Ctl_Toolbar->setMovable(false);
  Ctl_Toolbar->setToolButtonStyle(Qt::ToolButtonTextOnly);
  Mnu_PopupReopen = new QMenu(this);
  Mnu_PopupReopen->setObjectName(QStringLiteral("Mnu_PopupReopen"));

  for (const ActionDef& def : kActions) {
    auto* action = new QAction(QString::fromUtf8(def.caption), this);
    action->setObjectName(QString::fromLatin1(def.name));
    action->setToolTip(QString::fromUtf8(def.hint));
    action->setStatusTip(QString::fromUtf8(def.hint));
    action->setEnabled(def.enabled);
    Ctl_Toolbar->addAction(action);
  }
  // The Open button carries the recent-files menu.
  if (auto* open = qobject_cast<QToolButton*>(Ctl_Toolbar->widgetForAction(Action(QStringLiteral("ACF_Open"))))) {
    open->setMenu(Mnu_PopupReopen);
    open->setPopupMode(QToolButton::MenuButtonPopup);
  }
  connect(Action(QStringLiteral("ACF_Exit")), &QAction::triggered, this, [this] {
    CommitEditing();
    ExitApplication();
  });
  connect(Action(QStringLiteral("ACF_New")), &QAction::triggered, this, [this] {
    CommitEditing();
    NewProject();
  });
  connect(Action(QStringLiteral("ACF_Open")), &QAction::triggered, this, [this] {
    CommitEditing();
    OpenProject();
  });
  connect(Action(QStringLiteral("ACF_Distributor")), &QAction::triggered, this, [this] {
    TDlgPrintParams dialog(this);
    dialog.Execute();
  });
  connect(Action(QStringLiteral("ACF_Preferences")), &QAction::triggered, this, [this] {
    CommitEditing();
    TFrm_Preferences dialog(this);
    if (dialog.Execute() == TBasicDialog::kRetOK) ApplyPreferences();
  });
  connect(Action(QStringLiteral("ACF_Report")), &QAction::triggered, this, [this] {
    CommitEditing();
    ExportReport();
  });
  connect(Action(QStringLiteral("ACT_BillOfMaterials")), &QAction::triggered, this, [this] {
    CommitEditing();
    ExportMaterialList();
  });
  connect(Action(QStringLiteral("ACF_Save")), &QAction::triggered, this, [this] {
    CommitEditing();
    SaveInteractively();
  });
  connect(Action(QStringLiteral("ACH_About")), &QAction::triggered, this, [this] {
    CommitEditing();
    ShowAboutBox();
  });
}

void TDlgSelect::CreatePages() {
  Ctl_Pages = new QTabWidget(this);
  Ctl_Pages->setObjectName(QStringLiteral("Ctl_Pages"));
  const std::pair<QWidget**, const char*> pages[] = {
      {&Tab_Selection, "Tab_Selection"},     {&Tab_Psychrometrics, "Tab_Psychrometrics"},
      {&Tab_Results, "Tab_Results"},         {&Tab_Ecodesign, "Tab_Ecodesign"},
      {&Tab_Annual, "Tab_Annual"},           {&Tab_Database, "Tab_Database"},
      {&Tab_Fan, "Tab_Fan"},
      {&Tab_Efficiencies, "Tab_Efficiencies"}, {&Tab_EffCorrect, "Tab_EffCorrect"},
      {&Tab_Configuration, "Tab_Configuration"},
  };
  const char* const captions[] = {"Selection",           "Psychrometrics", "Results",
                                  "Ecodesign and Sound", "Annual Energy",  "Database",
                                  "Fan Characteristics", "Exchange Efficiencies", "Efficiency Corrections",
                                  "Configuration"};
  static_assert(std::size(pages) == std::size(captions), "one caption per page");
  for (std::size_t i = 0; i < std::size(pages); ++i) {
    auto* page = new QWidget(Ctl_Pages);
    page->setObjectName(QString::fromLatin1(pages[i].second));
    *pages[i].first = page;
    Ctl_Pages->addTab(page, QString::fromUtf8(captions[i]));
  }
  CreateSelectionPage(Tab_Selection);
  CreateResultsPage(Tab_Results);
  CreateEcodesignPage(Tab_Ecodesign);
  CreateAnnualPage(Tab_Annual);
  CreateDatabasePage(Tab_Database);
  CreateChartPages();
  connect(Ctl_Pages, &QTabWidget::currentChanged, this, [this] {
    Ctl_PagesChange();
    ShowHRXNote();
  });
  setCentralWidget(Ctl_Pages);

  // The user's choices only: clicked and activated never fire for values the
  // program sets.
  for (QAbstractButton* basis : std::initializer_list<QAbstractButton*>{RB_AreaPerPerson, RB_NumberOfPersons, Chk_TotalSupply})
    connect(basis, &QAbstractButton::clicked, this, [this] { BasisEdited(); });
  connect(Chk_TotalExhaust, &QCheckBox::clicked, this, [this] { ChoiceEdited(FormInput::kTotalExhaustGiven); });
  connect(Txt_Family, &QComboBox::activated, this, [this] { Txt_FamilyClick(); });
  for (const auto& [combo, input] : {std::pair{Txt_MaxSpeed, FormInput::kMaxSpeed}, std::pair{Txt_TETemp, FormInput::kEvaporating},
                                     std::pair{Txt_SupplyFilter, FormInput::kSupplyFilter},
                                     std::pair{Txt_ExhaustFilter, FormInput::kExhaustFilter}})
    connect(combo, &QComboBox::activated, this, [this, input = input] { ChoiceEdited(input); });
  connect(Chb_UpsideDown, &QAbstractButton::clicked, this, [this] { ChoiceEdited(FormInput::kUpsideDown); });
  for (QAbstractButton* button : std::initializer_list<QAbstractButton*>{Rbn_PlenumNone, Rbn_PlenumOAEA, Rbn_PlenumAll})
    connect(button, &QAbstractButton::clicked, this, [this] { ChoiceEdited(FormInput::kPlenum); });
  connect(LV_SelectedDevices, &QTreeWidget::currentItemChanged, this, [this] { LV_SelectedDevicesClick(); });
  connect(Chk_OrderByNet, &QCheckBox::clicked, this, [this] { FillCandidateList(); });
  connect(Lvw_DBOptions, &QTreeWidget::currentItemChanged, this, [this] { Lvw_DBOptionsChange(); });
  for (QRadioButton* mode : {RB_Cooling, RB_Heating})
    connect(mode, &QRadioButton::clicked, this, [this] {
      PlacePsychroConditions();
      RefreshChartPage();
    });
}

void TDlgSelect::CentreOnScreen() {
  const QScreen* s = screen();
  if (!s) return;
  const QRect area = s->geometry();
  const QSize frame = frameGeometry().size();
  const int top = std::max(0, (area.height() - frame.height()) / 2);
  const int left = (area.width() - frame.width()) / 2;
  move(area.left() + left, area.top() + top);
}

void TDlgSelect::SetProjectFileName(const QString& szPath) {
  v_projectFileName = szPath;
  UpdateCaption();
}

void TDlgSelect::UpdateCaption() {
  // The base caption itself may contain " - ", so the file name is appended
  // to the base afresh rather than cut off an older caption.
  if (v_projectFileName.isEmpty()) setWindowTitle(v_baseCaption);
  else setWindowTitle(v_baseCaption + QStringLiteral(" - ") + QFileInfo(v_projectFileName).fileName());
}

void TDlgSelect::CommitEditing() {
  // Toolbar buttons take no focus: the field being typed in would keep its
  // text uncommitted. Leaving it commits it (and recalculates) first.
  if (QWidget* focus = QApplication::focusWidget(); focus && qobject_cast<QLineEdit*>(focus) && isAncestorOf(focus))
    focus->clearFocus();
}

void TDlgSelect::NewProject() {
  // A save that was wanted but did not happen keeps the work.
  if (!AskSaveChanges()) return;
  SetProjectFileName(QString());
  ShowPage(Tab_Selection);
  Ctl_Pages->setFocus();
  if (v_session) InitSelection();
  UpdateRecentMenu();
  v_dataHaveChanged = false;
}

bool TDlgSelect::AskSaveChanges() {
  if (!v_dataHaveChanged) return true;
  if (TBaseMsg::DisplayQuestion(this, kMsgSaveChanges, MsgButtons({mbYes, mbNo})) != mrYes) return true;
  return SaveInteractively(true);
}

bool TDlgSelect::SaveChangesOrCancel() {
  if (!v_dataHaveChanged) return true;
  const int answer = TBaseMsg::DisplayQuestion(this, kMsgSaveChanges, MsgButtons({mbYes, mbNo, mbCancel}));
  if (answer == mrCancel || answer == mrNone) return false;
  // A save that failed keeps the window and the data.
  return answer != mrYes || SaveInteractively(true);
}

void TDlgSelect::ExitApplication() {
  TAirPropDiagram::LegendToRegistry(QString::fromLatin1(CTChartSetup::kPreferencesKey));
  if (!SaveChangesOrCancel()) return;
  v_closing = true;
  close();
}

void TDlgSelect::closeEvent(QCloseEvent* event) {
  if (v_closing) {
    event->accept();
    return;
  }
  event->ignore();
  ExitApplication();
}

// ---------------------------------------------------------------- start-up

// Steps of the start-up that belong to work still to come. Each passes
// (answers true, changes nothing) until its own work fills it in.
namespace StartUpHooks {
// The catalogue's texts in the language chosen in the locale store.
bool LoadCatalogueGlossary(CTFactory& factory) {
  factory.SetGlossary(CTFactory::kDeviceDatabase, CTGlossaries::LoadCatalogue(CTGlossaries::ChosenLanguage()));
  return true;
}
// A first start asks for the user's country and language.
bool CheckDefaultLocale(QWidget* pWindow) {
  return TFrmLocaleChoice::CheckDefaultLocale(pWindow, ApplicationUtils::Title(), CTVersionUtils::CorvelServerID());
}
// A generic downloaded build is first set up: the upgrade window as the
// initial configuration, after which the program ends.
bool CheckOnlineConfiguration(QWidget* pWindow) {
  if (!CTVersionUtils::IsCorvelDownload()) return true;
  TFrmUpgrade::Upgrade(pWindow, true, true);
  return false;
}
// How often an answer that found the user busy looks again.
constexpr int kHintRetryMs = 250;
// The hint over the window once nothing else holds the user: never over a
// dialog or a menu, nor under a command that waits in a loop of its own (an
// answer from the server), nor before the window shows. The upgrade it may
// lead to warns about unsaved work, since the window is in use by now.
void OfferUpgrade(TDlgSelect& window, const QString& szTitle, const QString& szDataVersion,
                  const CTAutoUpgrade::LTUpgradeAnswer& answer) {
  if (!window.isVisible() || QApplication::activeModalWidget() || QApplication::activePopupWidget() ||
      QThread::currentThread()->loopLevel() > 1) {
    QTimer::singleShot(kHintRetryMs, &window, [&window, szTitle, szDataVersion, answer] {
      OfferUpgrade(window, szTitle, szDataVersion, answer);
    });
    return;
  }
  TFrmAutoUpgradeHint::LTContext context;
  context.nProgramID = answer.nProgramID;
  context.bUnsavedWork = window.DataHaveChanged();
  // After a download the upgrade window has asked the program to end.
  TFrmAutoUpgradeHint::ShowHint(&window, szTitle, szDataVersion, answer.nUpgradeInfo, context);
}
// The start is counted; the first start of a build and catalogue shows the
// general terms (declining them ends the program); a start without a file
// to open asks the service whether anything newer exists. The question
// runs on a thread of its own once the event loop runs, so the window
// shows at once; its answer brings the hint. The question belongs to the
// window: closing the window cuts it.
bool ApplicationStartupActions(TDlgSelect& window, const QString& szDataVersion, const QStringList& arguments) {
  const QString title = ApplicationUtils::Title();
  if (CTVersionUtils::IsApprovalVersion()) {
    TFrmAutoUpgradeHint::ShowHint(&window, title, szDataVersion, 0);
    return true;
  }
  const QString identity = CTAutoUpgrade::RunCountID(CTVersionUtils::GetVersionString(), szDataVersion);
  const int count = CTAutoUpgrade::GetUsageCount(identity);
  if (arguments.isEmpty() && count == 0 && TFrm_Disclaimer::Execute(&window, title) != TFrm_Disclaimer::kAccepted)
    return false;
  CTAutoUpgrade::CountStart(identity, count);
  TFrmUpgrade::SetUsageCount(count + 1);
  if (!arguments.isEmpty()) return true;
  CTAutoUpgrade::LTInstalled installed;
  installed.nProgramVersion = CTVersionUtils::GetVersion();
  installed.szCatalogueVersion = szDataVersion;
  if (const CTUnicodeGlossary* glossary = CTGlossaries::Interface()) {
    installed.bHasGlossary = true;
    installed.nGlossaryDate = glossary->GetChangedDate();
    installed.nGlossaryLanguage = CTLangSupport::UILanguage();
  }
  installed.nStoredLanguage = CTLangSupport::GetLocaleData().v_language;
  QTimer::singleShot(0, &window, [&window, installed, title, szDataVersion] {
    new CTUpgradeQuestion(
        CTAutoUpgrade::PrepareQuestion(installed),
        [&window, title, szDataVersion](const CTAutoUpgrade::LTUpgradeAnswer& answer) {
          if (answer.nUpgradeInfo > 0) OfferUpgrade(window, title, szDataVersion, answer);
        },
        &window);
  });
  return true;
}
void ReadPreferences() { CTPreferences::ReadRegistry(); }
// The legends' colour dialog and the diagram's settings.
void CreateCharts(TDlgSelect& window) {
  TAirPropDiagram::LoadLegendFromRegistry(QString::fromLatin1(CTChartSetup::kPreferencesKey));
  const auto chooser = [&window](TColor& color) {
    const TColor rgb = DrawColors::Resolve(color);
    const QColor chosen = QColorDialog::getColor(
        QColor(DrawColors::Red(rgb), DrawColors::Green(rgb), DrawColors::Blue(rgb)), &window);
    if (!chosen.isValid()) return false;
    color = DrawColors::Rgb(chosen.red(), chosen.green(), chosen.blue());
    return true;
  };
  TAirPropDiagram::SetColorChooser(chooser);
  TVirtGraph::SetColorChooser(chooser);
}
void CreateRecentList(TDlgSelect& window) { window.CreateRecentList(); }
// A project named first on the command line; a name that is no file is
// ignored (the options of the program are no files either).
void LoadProjectFromCommandLine(TDlgSelect& window, const QStringList& arguments) {
  if (!arguments.isEmpty() && QFileInfo(arguments.first()).isFile()) window.LoadProject(arguments.first());
}
void FillHRXNote(TDlgSelect& window) { window.FillHRXNote(); }
}  // namespace StartUpHooks

bool TDlgSelect::StartUp(const QStringList& arguments) {
  EmbeddedData::Ensure();
  InstallOnlineHooks();
  // Dialog base: every dialog (and this window) gets its lists' background
  // when loaded and is translated when an interface glossary is in effect;
  // hints follow the mouse as they follow the focus.
  TBasicDialog::SetLoadedHook([](QWidget* pTop) {
    TBasicDialog::AdaptListBackground(pTop);
    if (const CTUnicodeGlossary* glossary = CTGlossaries::Interface()) TranslateFormAtRuntime(*glossary, pTop);
  });
  TBasicDialog::CallLoadedHook(this);
  TBasicDialog::InitMouseHints(this, [this](QWidget* pWidget) {
    statusBar()->showMessage(TFraBottomPanelExt::LongHint(pWidget));
  });
  TBasicDialog::AdaptFormToAvailableWorkArea(this);
  // Engine and catalogue: the glossary and the locale come before the
  // factory connects; a failing step has shown its own message.
  v_session = std::make_unique<CTCatalogueSession>();
  QString error;
  const bool opened = v_session->OpenEmbedded(CTCatalogueSession::AutoCorrect::kOn, error, [this](CTFactory& factory) {
    return StartUpHooks::LoadCatalogueGlossary(factory) && StartUpHooks::CheckDefaultLocale(this);
  });
  if (!opened) return false;
  // The upgrade window compares the builds it offers with this catalogue.
  TFrmUpgrade::SetCatalogueVersionSource([version = v_session->DataVersion()] { return version; });
  if (!StartUpHooks::CheckOnlineConfiguration(this)) return false;
  if (!v_session->CheckStructureVersion(true)) return false;
  if (!StartUpHooks::ApplicationStartupActions(*this, v_session->DataVersion(), arguments)) return false;

  // A larger window where the screen has room: the first of these sizes that
  // is larger than the window and smaller than the screen.
  if (const QScreen* s = screen()) {
    const QRect area = s->geometry();
    if (width() < area.width() && height() < area.height()) {
      for (const QSize size : {QSize(1440, 900), QSize(1152, 864), QSize(1024, 768)}) {
        if (size.width() > width() && size.height() > height() && size.width() < area.width() &&
            size.height() < area.height()) {
          resize(size);
          break;
        }
      }
    }
    CentreOnScreen();
    TBasicDialog::AdaptFormToAvailableWorkArea(this);
  }

  // Units: the imperial ones beside the SI ones, and the display digits.
  v_converting = true;
  TU_Form::AddApplicationDimensions();
  v_converting = false;

  // "Aerolith - 0.1.0 - 1.0.0": the program's version, then the catalogue's
  // and the configuration as the about box shows them.
  v_baseCaption = (ApplicationUtils::Title() + QStringLiteral(" - ") + ApplicationUtils::Version() +
                   QStringLiteral(" - ") +
                   CTAboutInfo::DataVersionText(v_session->DataVersion(), CTVersionUtils::ConfigurationName()))
                      .trimmed();
  UpdateCaption();
  Txt_SupplyFilter->setItemText(0, TBaseMsg::Tr(QStringLiteral("<None>")));
  Txt_ExhaustFilter->setItemText(0, TBaseMsg::Tr(QStringLiteral("<None>")));

  Txt_Family->clear();
  for (const Cls_HRX::LTFamilyItem& item : v_session->Families()) Txt_Family->addItem(item.name, item.family);
  Txt_Family->setCurrentIndex(0);
  CTFactory* factory = &v_session->Factory();
  v_session->Documentations();
  v_session->Options();
  // Warm the cache of indoor-unit families (series look-ups).
  for (const CTDbObject* family : CTDbObject::GetAllRecords(Cls_IndFamily::kClassID, false, factory))
    factory->GetCachedObject(Cls_IndFamily::kClassID, family->GetID());
  StartUpHooks::ReadPreferences();
  v_deltaEnthalpy = CTSelectionRun::EnthalpyDisplayOffset();
  ShowPage(Tab_Selection);
  InitSelection();
  StartUpHooks::CreateCharts(*this);
  StartUpHooks::CreateRecentList(*this);
  StartUpHooks::LoadProjectFromCommandLine(*this, arguments);
  StartUpHooks::FillHRXNote(*this);
  v_dataHaveChanged = false;
  return true;
}
