#pragma once
// TDlgSelect: the main window. It holds the open selection (inputs, candidate
// units, the current unit and the computed air states) and the commands of
// its toolbar. Everything it shows is computed by the libraries below it.

#include "catalogue/PsychroSet.h"
#include "psychro/Air.h"
#include "recdb/ObjList.h"

#include <QMainWindow>

#include <array>
#include <memory>

class CTFactory;
class Cls_HRX;
class Cls_HRXDocumentation;
class Cls_TrivaneDeviceOption;
class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QMenu;
class QRadioButton;
class QTabWidget;
class QToolBar;
class QTreeWidget;
class TFrm_AirConditions;
class TFrm_QuilloProps;
class TFrm_ResultData;
class TFrm_TempConditions;
class TFrm_UnitTextScroll;

// Not-given marker of inputs and stored values.
constexpr double kMissingValue = -2147483647.0;

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
  void AskSaveChanges();
  // Closes the window unless the user keeps it open to save changes.
  void ExitApplication();
  // New: asks to save changes, then starts an empty selection.
  void NewProject();
  // Commits the value being typed, before a command that takes no focus.
  void CommitEditing();

  // Design pixels in this screen's pixels.
  int DesignToScreen(int nDesignPixels) const;

  // The start-up sequence: engine and catalogue, version check, units,
  // lists, the first selection. False: the program must stop (the failing
  // step has said why).
  bool StartUp(const QStringList& arguments);

  // ---- the selection (SelectionRun.cpp) ----
  void InitSelection();
  void CalcSupply();
  void Txt_FamilyClick();
  void SimpleRecalculation();
  void RunSelection();
  void LV_SelectedDevicesClick();
  void ShowSelectionError(int nCode);
  void ClearResults();
  void FillDatabaseTab();

  // What the window holds, for tests and the report.
  const ObjectList<Cls_HRX>& SelectionList() const { return v_selectionList; }
  Cls_HRX* CurrentHRX() const { return v_currHRX; }
  const ALPsychroSet& CoolingSet() const { return v_coolingSet; }
  const ALPsychroSet& HeatingSet() const { return v_heatingSet; }
  double SupplyAir() const { return v_supplyAir; }
  double ExhaustAir() const { return v_exhaustAir; }
  TFrm_UnitTextScroll* Field(const QString& szName) const;
  TFrm_TempConditions* CoolConditions() const { return Frm_CoolTempConditions; }
  TFrm_TempConditions* HeatConditions() const { return Frm_HeatTempConditions; }
  TFrm_AirConditions* CoolAirConditions() const { return Frm_CoolAirConditions; }
  TFrm_AirConditions* HeatAirConditions() const { return Frm_HeatAirConditions; }
  TFrm_ResultData* CoolResultData() const { return Frm_CoolResultData; }
  TFrm_ResultData* HeatResultData() const { return Frm_HeatResultData; }
  CTFactory* Factory() const { return v_factory.get(); }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateActions();
  void CreatePages();
  void CreateSelectionPage(QWidget* pPage);
  void CreateResultsPage(QWidget* pPage);
  void CreateDatabasePage(QWidget* pPage);
  void CentreOnScreen();
  void UpdateCaption();
  // Saves to the current project, asking for a file when there is none;
  // answers whether the project was saved.
  bool SaveInteractively();
  // Handlers of the Selection tab (they mark the project changed).
  void CapacityCallBack();
  void AltitudeCallBack();
  void EfficiencyCallBack();
  void RB_AreaPerPersonClick();
  void RB_NumberOfPersonsClick();
  void Chk_TotalSupplyClick();
  void Chk_TotalExhaustClick();
  void Ctl_PagesChange();
  int FamilyNumber() const;
  int SelectedPlenum() const;
  void RefillTETemp();
  void SetResultsBlank();

  QToolBar* Ctl_Toolbar = nullptr;
  QTabWidget* Ctl_Pages = nullptr;
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
          *Pnl_SNHRDRatio = nullptr, *Pnl_ExhaustESPData = nullptr, *Pnl_FilterData = nullptr;
  QGroupBox *Box_Ratios = nullptr, *Box_ESPData = nullptr;
  QLabel *Txt_ESRatio = nullptr, *Txt_SNRatio = nullptr, *Txt_SupplyFilterDrop = nullptr,
         *Txt_SupplyAddResistance = nullptr, *Txt_SupplyPlenumDrop = nullptr, *Txt_ExhaustFilterDrop = nullptr,
         *Txt_ExhaustAddResistance = nullptr, *Txt_ExhaustPlenumDrop = nullptr;
  QTreeWidget* LV_SelectedDevices = nullptr;
  TFrm_TempConditions *Frm_CoolTempConditions = nullptr, *Frm_HeatTempConditions = nullptr;
  TFrm_QuilloProps* Frm_QuilloProps = nullptr;
  // Results and Database tabs.
  QLabel* Txt_ResultSelectedDevice = nullptr;
  TFrm_AirConditions *Frm_CoolAirConditions = nullptr, *Frm_HeatAirConditions = nullptr;
  TFrm_ResultData *Frm_CoolResultData = nullptr, *Frm_HeatResultData = nullptr;
  QWidget* Pnl_Database = nullptr;
  QTreeWidget* Lvw_DBOptions = nullptr;

  // Selection state.
  bool v_dataHaveChanged = false;
  bool v_converting = false;
  std::unique_ptr<TAir> v_air;
  std::unique_ptr<CTFactory> v_factory;
  Cls_HRX* v_currHRX = nullptr;          // borrowed from v_selectionList
  ObjectList<Cls_HRX> v_devices{true};
  ObjectList<Cls_HRX> v_baseDevices{false};
  ObjectList<Cls_TrivaneDeviceOption> v_options{true};
  ObjectList<Cls_HRXDocumentation> v_documentations{true};
  ObjectList<Cls_HRX> v_selectionList{true};
  double v_deltaEnthalpy = 0;
  double v_supplyAir = 0;                 // m3/h
  double v_exhaustAir = 0;                // m3/h
  double v_minAirflow = 1.0;              // l/s
  double v_maxAirflow = 8889.0;           // l/s
  ALPsychroSet v_coolingSet{};
  ALPsychroSet v_heatingSet{};
  QString v_projectFileName;
  QString v_baseCaption;
  bool v_closing = false;
  bool v_upsideDown = false;
};
