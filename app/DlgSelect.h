#pragma once
// TDlgSelect: the main window. It holds the open selection (inputs, candidate
// units, the current unit and the computed air states) and the commands of
// its toolbar. Everything it shows is computed by the libraries below it.

#include "catalogue/PsychroSet.h"
#include "catalogue/Sentinels.h"
#include "psychro/Air.h"
#include "recdb/ObjList.h"
#include "selection/OptionSelection.h"
#include "selection/ProjectFile.h"
#include "selection/RecentList.h"
#include "selection/SelectionForm.h"
#include "selection/SelectionRequest.h"
#include "selection/SelectionResult.h"
#include "selection/SelectionRun.h"
#include "selection/UnitDatasheet.h"

#include <QLabel>
#include <QPointer>
#include <QMainWindow>

#include <array>
#include <functional>
#include <memory>
#include <optional>

class CTCatalogueSession;
class CTFactory;
class CTSingleInstance;
class Cls_HRX;
class Cls_HRXDocumentation;
class Cls_TrivaneDeviceOption;
class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class QTextBrowser;
class QToolBar;
class QToolButton;
class QTreeWidget;
class QToolButton;
class QBoxLayout;
class TBarChartBox;
class TChartBox;
class TFrm_Config;
class TFrm_Configuration;
class QPushButton;
class TPsychroBox;
class QVBoxLayout;
class TFrm_AirConditions;
class TFrm_QuilloProps;
class TFrm_ResultData;
class TFrm_TempConditions;
class TFrm_UnitTextScroll;

class TDlgSelect : public QMainWindow {
  Q_OBJECT
 public:
  // Client size at design time, at 120 pixels per inch.
  static constexpr int kDesignWidth = 1264;
  static constexpr int kDesignHeight = 701;
  static constexpr int kDesignPixelsPerInch = 120;
  static constexpr int kDesignFontPixels = 13;

  explicit TDlgSelect(QWidget* pParent = nullptr);
  ~TDlgSelect() override;

  QTabWidget* Pages() const { return Ctl_Pages; }
  QAction* Action(const QString& szName) const;

  bool DataHaveChanged() const { return v_dataHaveChanged; }
  void SetDataHaveChanged(bool bChanged) { v_dataHaveChanged = bChanged; }

  void SetProjectFileName(const QString& szPath);
  QString GetProjectFileName() const { return v_projectFileName; }

  // Asks whether to save unsaved changes (Yes/No); does not clear the flag.
  // False when the user wanted to save and nothing was saved (the dialog was
  // cancelled or the write failed): the caller keeps the selection.
  bool AskSaveChanges();
  // Asks whether to save unsaved changes (Yes/No/Cancel); does not clear the
  // flag. False when the user cancelled, or wanted to save and nothing was
  // saved: the caller keeps the selection.
  bool SaveChangesOrCancel();
  // Closes the window unless the user keeps it open to save changes.
  void ExitApplication();
  // New: asks to save changes, then starts an empty selection.
  void NewProject();

  // ---- project files (ProjectFiles.cpp) ----
  // Open: asks to save changes, then a project chosen in the file dialog.
  void OpenProject();
  // Reads a project and applies it: inputs, run, stored unit and options.
  // False (the message shown, nothing changed) when the file cannot be read.
  bool LoadProject(const QString& szPath);
  // Writes the selection with the current unit; false (message shown) when
  // there is no unit or the file cannot be written.
  bool SaveProject(const QString& szPath);
  // The response of the recent-files menu.
  void ReopenRecentFile(const QString& szPath);
  void UpdateRecentMenu(const QString& szExcludeFile = QString());
  void CreateRecentList();
  // File dialogs go through one replaceable call (tests answer them).
  // szStart: the file or folder it opens at. An empty answer means cancelled.
  // kClimate: a weather file (.epw, .csv) to open for the Annual Energy tab.
  enum class FileKind { kOpenProject, kSaveProject, kMaterialList, kReport, kClimate };
  using FileChooser = std::function<QString(QWidget* pParent, FileKind kind, const QString& szStart)>;
  static void SetFileChooser(FileChooser fnChooser);
  // Written documents are shown with the desktop's default application
  // through one replaceable call (tests open nothing).
  using DocumentOpener = std::function<void(const QString& szPath)>;
  static void SetDocumentOpener(DocumentOpener fnOpener);
  // Web addresses likewise go to the desktop's browser through one
  // replaceable call; an empty function puts the browser back.
  using LinkOpener = std::function<void(const QString& szUrl)>;
  static void SetLinkOpener(LinkOpener fnOpener);
  // Opens a web or mail address through that call (the windows over this
  // one too).
  static void OpenLink(const QString& szUrl);

  // ---- files from later starts (HandedOverFiles.cpp) ----
  // What later starts hand to this copy goes to OpenHandedOverProject. False
  // when the instance does not hold the lock or cannot listen.
  bool AcceptHandOvers(CTSingleInstance& instance);
  // The file of a later start, or an empty path from a start without one:
  // the window comes to the front, then asks about unsaved work (Yes, No,
  // Cancel) and opens the file as Open does. While a dialog is open the file
  // waits until it closes.
  void OpenHandedOverProject(const QString& szPath);

  // ---- online (OnlineCommands.cpp) ----
  // About: the about box over the window.
  void ShowAboutBox();
  // The "Consult online information" buttons show while the current unit's
  // series has a keyword (CTDeviceLinks::SeriesKeyword).
  void ShowOnlineInfoButtons();
  void Btn_OnlineInfoClick();
  // The process-wide calls of the online services the windows use: the
  // upload of a translation approval.
  static void InstallOnlineHooks();

  // ---- the unit's note on the Results tab (HRXNotePanel.cpp) ----
  // Writes the note in the panel's font into the view and hides the panel
  // until a unit of the note series is shown.
  void FillHRXNote();
  // The note's link: opens the seasonal-efficiency page.
  void Txt_HRXNoteClick();

  // ---- documents (Documents.cpp) ----
  // Material List XML Export: the unit and its used options as a workbook.
  void ExportMaterialList();
  // Report: the selection as an RTF or PDF document, by the file's type.
  void ExportReport();
  // Commits the value being typed, before a command that takes no focus.
  void CommitEditing();

  // Design pixels in this screen's pixels.
  int DesignToScreen(int nDesignPixels) const;

  // The start-up sequence: engine and catalogue, version check, units,
  // lists, the first selection. False: the program must stop (the failing
  // step has said why).
  bool StartUp(const QStringList& arguments);

  // ---- the selection (SelectionBinding.cpp) ----
  // A new selection: every input at its default, the first family's run.
  void InitSelection();
  void Txt_FamilyClick();
  // An information button of the window for an explanation topic.
  enum { kTopicRatio = 3, kTopicHRDRatio = 4, kTopicAdditionalResistance = 5, kTopicUpsideDown = 6, kTopicPlenum = 7 };
  QToolButton* Explainer(QWidget* pParent, const char* szName, int nTopic);
  // After the preferences changed: fields, results and the page in the new
  // units, the same candidate selected; no value changes.
  void ApplyPreferences();
  void LV_SelectedDevicesClick();
  void ClearResults();
  void FillDatabaseTab();
  void Lvw_DBOptionsChange();
  // ---- the options box (Options.cpp) ----
  // Rebuilds both option lists for the current unit.
  void FillOptions();
  void Btn_SelectClick();
  void Btn_DeselectClick();
  // The option rows of the current unit.
  const QList<LTOptionRow>& OptionRows();

  // The selection as the form holds it.
  const SelectionRequest& CurrentRequest() const;
  const CTSelectionForm* Form() const { return v_form.get(); }
  // What the last run found.
  const SelectionResult& Result() const;

  // What the window holds, for tests and the report.
  const ObjectList<Cls_HRX>& SelectionList() const { return Result().candidates; }
  Cls_HRX* CurrentHRX() const;
  const ALPsychroSet& CoolingSet() const { return Result().cooling.states; }
  const ALPsychroSet& HeatingSet() const { return Result().heating.states; }
  double SupplyAir() const { return Result().supplyM3h; }
  double ExhaustAir() const { return Result().exhaustM3h; }
  TFrm_TempConditions* CoolConditions() const { return Frm_CoolTempConditions; }
  TFrm_TempConditions* HeatConditions() const { return Frm_HeatTempConditions; }
  // The Results tab's frames, filled first when the tab has not shown the
  // current unit yet.
  TFrm_AirConditions* CoolAirConditions();
  TFrm_AirConditions* HeatAirConditions();
  TFrm_ResultData* CoolResultData();
  TFrm_ResultData* HeatResultData();
  // The Ecodesign and Sound tab, filled first when it has not shown the
  // current unit yet.
  QWidget* EcodesignPage();
  CTFactory* Factory() const;
  const CTCatalogueSession* Session() const { return v_session.get(); }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateActions();
  void CreatePages();
  void CreateSelectionPage(QWidget* pPage);
  void CreateResultsPage(QWidget* pPage);
  QWidget* CreateHRXNotePanel(QWidget* pPage);
  // Shows the note panel exactly when the current unit carries the note.
  void ShowHRXNote();
  void CreateDatabasePage(QWidget* pPage);
  // ---- the Ecodesign and Sound tab (EcodesignPage.cpp)
  void CreateEcodesignPage(QWidget* pPage);
  void ClearEcodesign();
  void FillEcodesign();
  // ---- the Annual Energy tab (AnnualPage.cpp)
  void CreateAnnualPage(QWidget* pPage);
  void ClearAnnual();
  void FillAnnual();
  // The annual inputs of the form in the tab's widgets, when they differ
  // from those shown or bAgain (a refused edit shows the held value again);
  // true when they differed (the year and the order by net benefit are
  // then out of date).
  bool ShowAnnualInputs(bool bAgain = false);
  // The year is to be worked out again: now when the tab shows, else when
  // it is shown.
  void AnnualOutOfDate();
  // Handlers of the tab: the widget the user changed is read, the inputs go
  // to the form.
  void ClimateChosen();
  void ScheduleEdited();
  void PriceEdited(int nPrice);
  void PriceDefaultsClick();
  void CreateOptionsBox(QWidget* pPage, QBoxLayout* pRow);
  QPushButton* NewOnlineInfoButton(QWidget* pParent, const char* szName);
  // bNone: the lists emptied (no unit).
  void ShowOptionRows(bool bNone = false);
  void CreateChartPages();
  void CreatePsychroPage();
  void CreateConfigurationPage();
  void Btn_ConfigurationClick();
  void RedrawConfigWindow();
  // The condition frame of the chosen mode beside the diagram; the other
  // in its column on the Selection tab.
  void PlacePsychroConditions();
  void RestoreConditionFrames();
  // The air state under the mouse; Sentinel::kNotGiven blanks the box.
  void ShowPointData(double nDbt, double nAH);
  // Draws the graph of the chart tab shown again.
  void RefreshChartPage();
  void CentreOnScreen();
  // Out of the task bar, over the other windows, with the focus.
  void BringToFront();
  void OpenWaitingHandOvers();
  void UpdateCaption();
  // Saves through the save dialog, or to the current project when
  // bUseCurrentPath and there is one; answers whether the project was saved.
  bool SaveInteractively(bool bUseCurrentPath = false);
  QString ChooseFile(FileKind kind);
  // Handlers of the Selection tab (they mark the project changed): the
  // widget the user changed is read, its value goes to the form.
  void FieldEdited(FormInput nInput, const TFrm_UnitTextScroll* pField);
  void ModeEdited(bool bCooling);
  void BasisEdited();
  void ChoiceEdited(FormInput nInput);
  void Ctl_PagesChange();
  int FamilyNumber() const;
  QList<std::pair<FormInput, TFrm_UnitTextScroll*>> NumberFields() const;
  void SetUpField(FormInput nInput, TFrm_UnitTextScroll* pField);
  void RefillTETemp();
  void ShowPage(QWidget* pPage);
  // What the form says changed, shown.
  void FormChanged(unsigned nChanges);
  void ShowInNewUnits();
  void ShowConditions();
  void ShowFamily();
  void ShowInputs();
  void ShowCandidates();
  // The candidate list: in the run's order, or by annual net benefit with
  // each row's net kWh when the user asked for that; the request's
  // candidate current.
  void FillCandidateList();
  void ShowUnit();
  // The parts of the current unit's display.
  void PrepareConditionFrames(Cls_HRX& unit);
  void ShowDuctData();
  void ShowCooling();
  void ShowHeating();
  void FillResults();

  QToolBar* Ctl_Toolbar = nullptr;
  QTabWidget* Ctl_Pages = nullptr;
  QWidget *Tab_Selection = nullptr, *Tab_Psychrometrics = nullptr, *Tab_Results = nullptr, *Tab_Ecodesign = nullptr,
          *Tab_Annual = nullptr, *Tab_Database = nullptr, *Tab_Fan = nullptr, *Tab_Efficiencies = nullptr, *Tab_EffCorrect = nullptr, *Tab_Configuration = nullptr;
  QMenu* Mnu_PopupReopen = nullptr;

  // Selection tab.
  TFrm_UnitTextScroll *Frm_Altitude = nullptr, *Frm_Airflow = nullptr, *Frm_RoomSurface = nullptr,
                      *Frm_AreaPerPerson = nullptr, *Frm_NumberOfPersons = nullptr, *Frm_TotalSupply = nullptr,
                      *Frm_TotalExhaust = nullptr, *Frm_DesignSupplyESP = nullptr, *Frm_DesignExhaustESP = nullptr;
  QRadioButton *RB_AreaPerPerson = nullptr, *RB_NumberOfPersons = nullptr, *Rbn_PlenumNone = nullptr,
               *Rbn_PlenumOAEA = nullptr, *Rbn_PlenumAll = nullptr;
  QCheckBox *Chk_TotalSupply = nullptr, *Chk_TotalExhaust = nullptr, *Chb_UpsideDown = nullptr;
  QComboBox *Txt_SupplyFilter = nullptr, *Txt_ExhaustFilter = nullptr, *Txt_Family = nullptr, *Txt_MaxSpeed = nullptr,
            *Txt_TETemp = nullptr;
  QWidget *Pnl_ExhaustData = nullptr, *Pnl_SelPlenum = nullptr, *Pnl_MaxSpeed = nullptr, *Pnl_TETemp = nullptr,
          *Pnl_SupplyFilter = nullptr, *Pnl_ExhaustFilter = nullptr, *Pnl_ExhaustESP = nullptr,
          *Pnl_SNHRDRatio = nullptr, *Pnl_ExhaustESPData = nullptr, *Pnl_FilterData = nullptr,
          *Pnl_ExhaustFilterData = nullptr;
  QGroupBox *Box_Ratios = nullptr, *Box_ESPData = nullptr;
  QLabel *Txt_ESRatio = nullptr, *Txt_SNRatio = nullptr, *Txt_SupplyFilterDrop = nullptr,
         *Txt_SupplyAddResistance = nullptr, *Txt_SupplyPlenumDrop = nullptr, *Txt_ExhaustFilterDrop = nullptr,
         *Txt_ExhaustAddResistance = nullptr, *Txt_ExhaustPlenumDrop = nullptr, *Txt_FanPower = nullptr,
         *Txt_SFP = nullptr;
  QTreeWidget* LV_SelectedDevices = nullptr;
  // The candidate list's column of each unit's net kWh per year, shown
  // while the list is ordered by it.
  static constexpr int kNetColumn = 4;
  QCheckBox* Chk_OrderByNet = nullptr;
  TFrm_TempConditions *Frm_CoolTempConditions = nullptr, *Frm_HeatTempConditions = nullptr;
  TFrm_QuilloProps* Frm_QuilloProps = nullptr;
  // Results and Database tabs.
  QLabel* Txt_ResultSelectedDevice = nullptr;
  TFrm_AirConditions *Frm_CoolAirConditions = nullptr, *Frm_HeatAirConditions = nullptr;
  TFrm_ResultData *Frm_CoolResultData = nullptr, *Frm_HeatResultData = nullptr;
  QWidget* Pnl_HRXNote = nullptr;
  QTextBrowser* Txt_HRXNote = nullptr;
  // "Consult online information" on the Results and Database tabs, and the
  // keyword they consult.
  QPushButton *Btn_ResultOnlineInfo = nullptr, *Btn_DBOnlineInfo = nullptr;
  QString v_onlineKeyword;
  // Chart tabs.
  TChartBox *PB_ESPGraph = nullptr, *PB_EffGraph = nullptr, *PB_EffCorrect = nullptr;
  TPsychroBox* PB_PsyGraph = nullptr;
  TFrm_Config* Frm_Config = nullptr;
  QPushButton* Btn_Configuration = nullptr;
  QPointer<TFrm_Configuration> v_configForm;  // the floating window, or none
  QRadioButton *RB_Cooling = nullptr, *RB_Heating = nullptr;
  QWidget* Pnl_PsyConditions = nullptr;
  QVBoxLayout *v_coolColumn = nullptr, *v_heatColumn = nullptr, *v_psyConditions = nullptr;
  struct LTPointDataBox {
    QLabel *dryBulb = nullptr, *wetBulb = nullptr, *dewPoint = nullptr, *relativeHumidity = nullptr,
           *absHumidity = nullptr, *enthalpy = nullptr, *pressure = nullptr;
  } v_pointData;
  // Ecodesign and Sound tab.
  QGroupBox* Box_EcoVerdicts = nullptr;
  QTreeWidget *Lvw_EcoVerdicts = nullptr, *Lvw_EcoSheet = nullptr, *Lvw_Sound = nullptr;
  QLabel *Lbl_NoSound = nullptr, *Txt_RoomLpA = nullptr;
  TBarChartBox* PB_SoundGraph = nullptr;
  TFrm_UnitTextScroll *Frm_SoundDistance = nullptr, *Frm_RoomConstant = nullptr;
  // Annual Energy tab: the inputs (climate, schedule, prices and factors in
  // the order of CTReport::PriceItems), the year, its months and charts.
  QComboBox* Cbx_Climate = nullptr;
  QLabel *Txt_ClimateName = nullptr, *Txt_ClimateSource = nullptr, *Txt_AnnualMessage = nullptr;
  QCheckBox* Chk_AnnualAlways = nullptr;
  QSpinBox *Spn_FromHour = nullptr, *Spn_ToHour = nullptr;
  std::array<QCheckBox*, 7> v_dayChecks{};
  std::array<QLineEdit*, 6> v_priceEdits{};
  QTreeWidget *Lvw_AnnualYear = nullptr, *Lvw_AnnualMonths = nullptr;
  TBarChartBox *PB_AnnualMonths = nullptr, *PB_AnnualBins = nullptr;
  QWidget* Pnl_Database = nullptr;
  QTreeWidget* Lvw_DBOptions = nullptr;
  QTreeWidget *Lvw_AvailOptions = nullptr, *Lvw_UsedOptions = nullptr;
  QPushButton *Btn_Select = nullptr, *Btn_Deselect = nullptr;
  // The value labels of the Database tab, each with its caption label.
  struct LTDatabaseRow {
    QLabel* caption = nullptr;
    QLabel* value = nullptr;
    void Set(const QString& szText) const { value->setText(szText); }
    void Show(bool bVisible) const {
      caption->setVisible(bVisible);
      value->setVisible(bVisible);
    }
  };
  struct LTDatabaseTab {
    LTDatabaseRow selectedDevice, dimensions, weight, powerSupply, frequency, phases, voltage, minMaxV, mca, mfa, rla,
        fla, soundLevel, current, wattage, ductDiameter, nominalHumidity, nominalAirflow, ambientTemp, ambientRH,
        viMinTemp, viMinTempUD, roomTemp, roomRH, eaMaxRH, eaMaxRHUD, voMaxRH, voMaxRHUD, ciMaxRH, ciMaxRHUD,
        minCoolRH, minHeatRH, fanOnlyTemp, optDescription, optDimensions, optMCA;
    QGroupBox *roomRange = nullptr, *rhMaxima = nullptr, *airTreatment = nullptr, *nominal = nullptr;
  } v_db;

  // Selection state.
  bool v_dataHaveChanged = false;
  bool v_converting = false;
  std::unique_ptr<TAir> v_air;
  std::unique_ptr<CTCatalogueSession> v_session;
  // The selection: inputs, the last run and the user's choices on units.
  std::unique_ptr<CTSelectionForm> v_form;
  QList<LTOptionData> v_dbOptions;        // the options the Database tab lists
  double v_deltaEnthalpy = 0;
  bool v_resultsStale = true;  // the Results tab does not show the current unit yet
  bool v_ecodesignStale = true;  // nor the Ecodesign and Sound tab
  bool v_annualStale = true;     // nor the Annual Energy tab
  std::optional<LTAnnualInputs> v_annualShown;  // what the tab's inputs show
  QStringList v_demoClimateNames;                // of CTClimate::DemoNames(), read once
  QString v_projectFileName;
  std::unique_ptr<CTRecentList> v_recentList;
  QString v_baseCaption;
  bool v_closing = false;
  // Files of later starts not yet opened, in the order they came.
  QStringList v_handedOver;
  bool v_openingHandedOver = false;
  bool v_handOverRetryArmed = false;
};
