// The selection of the main window: from the inputs to the candidate list,
// the current unit computed in cooling and heating, and the Database tab.
//
// The chain of recalculation: an airflow or ESP change runs CalcSupply, which
// runs Txt_FamilyClick, which runs RunSelection, which ends in
// LV_SelectedDevicesClick; a condition change only recalculates the current
// unit. Values set by the program never start a handler (user-only signals),
// and v_converting stops CalcSupply while fields are being re-set.

#include "app/BasicDlg.h"
#include "app/FrameAirConditions.h"
#include "app/FrameQuilloProps.h"
#include "app/FrameResultData.h"
#include "app/FrameTempConditions.h"
#include "app/Frame_UnitTextScroll.h"
#include "app/Settings.h"
#include "app/ValueText.h"
#include "catalogue/CheckMessages.h"
#include "catalogue/ClDevOptCombination.h"
#include "catalogue/ClDevPSAllowed.h"
#include "catalogue/ClDeviceOption.h"
#include "catalogue/ClHRX.h"
#include "catalogue/ClHRXDocumentation.h"
#include "catalogue/ClHRXSpType.h"
#include "catalogue/ClHRXSpeed.h"
#include "catalogue/ClIndFamily.h"
#include "catalogue/ClPowerSupply.h"
#include "catalogue/ClTrivaneDeviceOption.h"
#include "catalogue/Factory.h"
#include "i18n/BaseMsgMan.h"
#include "i18n/MsgMan.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSet>
#include <QTabWidget>
#include <QTreeWidget>

#include <cmath>

namespace {

constexpr double kLsToM3h = 3.6;
constexpr int kMsgDefault = 82, kMsgCoolingOrder = 55, kMsgHeatingOrder = 56, kMsgWetBulb = 43, kMsgNoSolution = 9;
constexpr int kPressureInH2O = 3;

int RoundEven(double x) { return int(std::nearbyint(x)); }

QString Trimmed(const QString& s) { return s.trimmed(); }

}  // namespace

TFrm_UnitTextScroll* TDlgSelect::Field(const QString& szName) const {
  return findChild<TFrm_UnitTextScroll*>(szName);
}

int TDlgSelect::FamilyNumber() const {
  return Txt_Family && Txt_Family->currentIndex() >= 0 ? Txt_Family->currentData().toInt() : 0;
}

int TDlgSelect::SelectedPlenum() const {
  if (Rbn_PlenumOAEA && Rbn_PlenumOAEA->isChecked()) return 1;
  if (Rbn_PlenumAll && Rbn_PlenumAll->isChecked()) return 2;
  return 0;
}

// ---------------------------------------------------------------- handlers

void TDlgSelect::CapacityCallBack() {
  v_dataHaveChanged = true;
  CalcSupply();
  if (Txt_Family) Txt_Family->setFocus();
}

void TDlgSelect::AltitudeCallBack() {
  v_dataHaveChanged = true;
  LV_SelectedDevicesClick();
}

void TDlgSelect::EfficiencyCallBack() {
  v_dataHaveChanged = true;
  LV_SelectedDevicesClick();
}

void TDlgSelect::SimpleRecalculation() {
  v_dataHaveChanged = true;
  RunSelection();
}

void TDlgSelect::RB_AreaPerPersonClick() {
  Frm_AreaPerPerson->EnableIt(true);
  Frm_AreaPerPerson->SetVal(5);
  const double persons = Frm_NumberOfPersons->GetVal();
  Frm_NumberOfPersons->EnableIt(false);
  Frm_RoomSurface->EnableIt(true);
  Frm_RoomSurface->SetVal(RoundEven(persons * 5));
  v_dataHaveChanged = true;
  CalcSupply();
}

void TDlgSelect::RB_NumberOfPersonsClick() {
  double area = Frm_AreaPerPerson->GetVal();
  if (area == 0) area = 5;
  Frm_AreaPerPerson->EnableIt(false);
  double surface = Frm_RoomSurface->GetVal();
  if (surface == 0) surface = 100;
  Frm_RoomSurface->EnableIt(false);
  Frm_NumberOfPersons->EnableIt(true);
  Frm_NumberOfPersons->SetVal(RoundEven(surface / area));
  v_dataHaveChanged = true;
  CalcSupply();
}

void TDlgSelect::Chk_TotalSupplyClick() {
  const bool ticked = Chk_TotalSupply->isChecked();
  Frm_Airflow->EnableIt(!ticked);
  if (ticked) {
    RB_AreaPerPerson->setEnabled(false);
    RB_NumberOfPersons->setEnabled(false);
    Frm_RoomSurface->EnableIt(false);
    Frm_AreaPerPerson->EnableIt(false);
    Frm_NumberOfPersons->EnableIt(false);
    Frm_TotalSupply->EnableIt(true);
  } else {
    Frm_TotalSupply->EnableIt(false);
    RB_AreaPerPerson->setEnabled(true);
    RB_NumberOfPersons->setEnabled(true);
    if (RB_NumberOfPersons->isChecked()) {
      Frm_NumberOfPersons->EnableIt(true);
      Frm_NumberOfPersons->SetVal(20);
    } else {
      Frm_RoomSurface->EnableIt(true);
      Frm_AreaPerPerson->EnableIt(true);
      Frm_AreaPerPerson->SetVal(5);
    }
  }
  v_dataHaveChanged = true;
  CalcSupply();
}

void TDlgSelect::Chk_TotalExhaustClick() {
  Frm_TotalExhaust->EnableIt(Chk_TotalExhaust->isChecked());
  v_dataHaveChanged = true;
  CalcSupply();
}

// ---------------------------------------------------------------- inputs

void TDlgSelect::RefillTETemp() {
  TDlgForm::Load();
  const QSignalBlocker block(Txt_TETemp);
  Txt_TETemp->clear();
  for (const double te : {6.0, 9.0, 11.0}) {
    QString text = ValueText::Dimensioned(te, U_Temperature);
    if (te == 6.0) text += QStringLiteral(" (") + TBaseMsg::GetUnicodeString(kMsgDefault) + QLatin1Char(')');
    Txt_TETemp->addItem(text, te);
  }
  Txt_TETemp->setCurrentIndex(0);
}

void TDlgSelect::InitSelection() {
  v_converting = true;
  v_minAirflow = 1.0;
  v_maxAirflow = 8889;
  const auto capacity = [this] { CapacityCallBack(); };
  Frm_Airflow->SetupWindow(capacity, U_Airflow, 1, 30, 5, 10);
  Frm_RoomSurface->SetupWindow(capacity, U_Surface, 1, 1000, 100, 1);
  Frm_AreaPerPerson->SetupWindow(capacity, U_Surface, 1, 20, 5, 10);
  RB_AreaPerPerson->setChecked(true);
  RB_AreaPerPerson->setEnabled(true);
  RB_NumberOfPersons->setEnabled(true);
  Frm_RoomSurface->EnableIt(true);
  Frm_AreaPerPerson->EnableIt(true);
  Frm_NumberOfPersons->SetupWindow(capacity, U_None, 1, 100, 20, 1);
  Frm_NumberOfPersons->SetDim(QString());
  Frm_NumberOfPersons->EnableIt(false);
  Chk_TotalSupply->setChecked(false);
  Chk_TotalExhaust->setChecked(false);
  Frm_Airflow->EnableIt(true);
  Frm_TotalSupply->SetupWindow(capacity, U_Airflow, 1, 8889, 100, 1);
  Frm_TotalSupply->EnableIt(false);
  Frm_TotalExhaust->SetupWindow(capacity, U_Airflow, 1, 8889, 100, 1);
  Frm_TotalExhaust->EnableIt(false);
  Frm_Altitude->SetupWindow([this] { AltitudeCallBack(); }, U_Length, -500, 2000, 0, 1);
  Frm_DesignSupplyESP->SetupWindow(capacity, U_Pressure, 0, 350, 150, 10);
  Frm_DesignExhaustESP->SetupWindow(capacity, U_Pressure, 0, 350, 150, 10);
  Txt_SupplyFilter->setCurrentIndex(0);
  Txt_ExhaustFilter->setCurrentIndex(0);
  Rbn_PlenumNone->setChecked(true);

  const int family = FamilyNumber();
  Frm_CoolTempConditions->SetupWindow(true, [this] { EfficiencyCallBack(); }, v_air.get());
  Frm_HeatTempConditions->SetupWindow(false, [this] { EfficiencyCallBack(); }, v_air.get());
  Frm_CoolTempConditions->SetFamily(family);
  Frm_HeatTempConditions->SetFamily(family);
  // Each point gets the title of its own name.
  for (TFrm_AirConditions* frame : {Frm_CoolAirConditions, Frm_HeatAirConditions})
    frame->SetupWindow(QStringLiteral("Room Air (RA)"), QStringLiteral("Exhaust Air (EA)"),
                       QStringLiteral("Outdoor Air (OA)"), QStringLiteral("Supply Air (SA)"),
                       QStringLiteral("Ventilation In (VI)"), QStringLiteral("Ventilation Out (VO)"),
                       QStringLiteral("Coil In (CI)"), QStringLiteral("Humidifier In (HI)"));
  Frm_CoolAirConditions->SetFamily(family, false, true);
  Frm_HeatAirConditions->SetFamily(family, false, false);
  v_converting = false;
  CalcSupply();
}

void TDlgSelect::CalcSupply() {
  if (v_converting) return;
  double supply = 0;
  if (Chk_TotalSupply->isChecked()) {
    supply = Frm_TotalSupply->GetVal();
  } else {
    const double perPerson = Frm_Airflow->GetVal();
    const bool byArea = RB_AreaPerPerson->isChecked();
    supply = byArea ? perPerson * Frm_RoomSurface->GetVal() / Frm_AreaPerPerson->GetVal()
                    : perPerson * Frm_NumberOfPersons->GetVal();
    // The family's bounds rounded inwards, as the total-supply field holds
    // whole l/s: rounding outwards would ask for more than the largest unit moves.
    const double bounded = std::clamp(supply, std::ceil(v_minAirflow), std::max(std::ceil(v_minAirflow), std::floor(v_maxAirflow)));
    if (bounded != supply || !std::isfinite(supply)) {
      supply = std::isfinite(supply) ? bounded : v_minAirflow;
      if (byArea)
        Frm_AreaPerPerson->SetVal(perPerson * Frm_RoomSurface->GetVal() / supply);
      else
        Frm_NumberOfPersons->SetVal(RoundEven(supply / perPerson));
    }
  }
  Frm_TotalSupply->SetVal(supply);
  if (!Chk_TotalExhaust->isChecked() || Frm_TotalExhaust->GetVal() == 0) Frm_TotalExhaust->SetVal(supply);
  Txt_FamilyClick();
}

void TDlgSelect::Txt_FamilyClick() {
  v_dataHaveChanged = true;
  const int family = FamilyNumber();
  Frm_CoolTempConditions->SetFamily(family);
  Frm_HeatTempConditions->SetFamily(family);
  Frm_QuilloProps->setVisible(family == 1 || family == 2);
  if (family == 1) Frm_QuilloProps->SetupWindow(QStringLiteral("HRD Selection Criteria"), false);
  if (family == 2) Frm_QuilloProps->SetupWindow(QStringLiteral("DQTL-MF Selection Criteria"), true);

  v_baseDevices.Clear();
  for (Cls_HRX* unit : v_devices)
    if (unit->GetType() == family) v_baseDevices.Add(unit);
  ObjectList<Cls_HRXSpType> speedTypes = Cls_HRX::AvailableSpeedTypes(v_baseDevices);
  double minAirflow = 0, maxAirflow = 0, maxEsp = 0;
  Cls_HRX::GetRanges(v_baseDevices, minAirflow, maxAirflow, maxEsp);
  minAirflow /= kLsToM3h;
  maxAirflow /= kLsToM3h;
  if (minAirflow != v_minAirflow || maxAirflow != v_maxAirflow) {
    v_converting = true;
    const int espResolution = TU_Form::GetNewIndex(U_Pressure) == kPressureInH2O ? 100 : 10;
    const auto capacity = [this] { CapacityCallBack(); };
    for (TFrm_UnitTextScroll* esp : {Frm_DesignSupplyESP, Frm_DesignExhaustESP})
      esp->SetupWindow(capacity, U_Pressure, 0, RoundEven(maxEsp), RoundEven(esp->GetVal()), espResolution);
    v_minAirflow = minAirflow;
    v_maxAirflow = maxAirflow;
    const int lowest = int(std::ceil(minAirflow));
    const int highest = std::max(lowest, int(std::floor(maxAirflow)));
    for (TFrm_UnitTextScroll* total : {Frm_TotalSupply, Frm_TotalExhaust}) {
      const bool enabled = total->Edit()->isEnabled();
      const double value = std::clamp(total->GetVal(), double(lowest), double(highest));
      total->SetupWindow(capacity, U_Airflow, lowest, highest, RoundEven(value), 1);
      if (!enabled) {
        total->EnableIt(false);
        total->SetVal(value);
      }
    }
    v_converting = false;
    CalcSupply();
    return;
  }
  Pnl_ExhaustData->setVisible(family < 2);

  {
    const QSignalBlocker block(Txt_MaxSpeed);
    const int previous = Txt_MaxSpeed->currentIndex();
    Txt_MaxSpeed->clear();
    for (const Cls_HRXSpType* type : speedTypes) Txt_MaxSpeed->addItem(type->GetName(), type->GetID());
    Txt_MaxSpeed->setCurrentIndex(previous >= 0 && previous < Txt_MaxSpeed->count() ? previous : Txt_MaxSpeed->count() - 1);
  }
  Pnl_MaxSpeed->setVisible(Txt_MaxSpeed->count() >= 2);
  RefillTETemp();
  Pnl_TETemp->setVisible(false);
  Pnl_ExhaustESP->setVisible(family < 2);
  Pnl_SupplyFilter->setVisible(family == 0);
  Pnl_ExhaustFilter->setVisible(family == 0);
  const auto setTabVisible = [this](const char* name, bool visible) {
    const int index = Ctl_Pages->indexOf(Ctl_Pages->findChild<QWidget*>(QString::fromLatin1(name)));
    if (index >= 0) Ctl_Pages->setTabVisible(index, visible);
  };
  setTabVisible("Tab_Efficiencies", family < 2);
  setTabVisible("Tab_EffCorrect", family < 2);
  setTabVisible("Tab_Configuration", family < 3);
  RunSelection();
}

// ---------------------------------------------------------------- the run

void TDlgSelect::RunSelection() {
  if (!v_factory) return;
  const int family = FamilyNumber();
  const int speedTypeID = Txt_MaxSpeed->currentIndex() >= 0 ? Txt_MaxSpeed->currentData().toInt() : 0;
  const Cls_HRXSpType* maxSpeed = v_factory->OrderedHrxSpTypes().Search(
      [speedTypeID](const Cls_HRXSpType* t) { return t->GetID() == speedTypeID; });
  const double supplyEsp = Frm_DesignSupplyESP->GetVal();
  if (family == 2) {
    Frm_TotalExhaust->SetVal(Frm_TotalSupply->GetVal());
    Frm_DesignExhaustESP->SetVal(supplyEsp);
  }
  v_supplyAir = Frm_TotalSupply->GetVal() * kLsToM3h;
  v_exhaustAir = Frm_TotalExhaust->GetVal() * kLsToM3h;
  const double exhaustEsp = Frm_DesignExhaustESP->GetVal();
  // Filter rows hidden for this family are sent as "no filter".
  const int supplyFilter = Pnl_SupplyFilter->isHidden() ? 0 : Txt_SupplyFilter->currentIndex();
  const int exhaustFilter = Pnl_ExhaustFilter->isHidden() ? 0 : Txt_ExhaustFilter->currentIndex();

  // The list is refilled by the program: no click handler on the way.
  const QSignalBlocker blockList(LV_SelectedDevices);
  v_currHRX = nullptr;
  LV_SelectedDevices->clear();
  v_selectionList.ClearAndDestroy();
  const int plenum = SelectedPlenum();
  int code = 0;
  bool plenumAvailable = false;
  // Whether a unit has a plenum, asked of the loaded units (their options are
  // read once and kept), not of the solutions, which start with empty caches.
  QSet<int> unitsWithPlenum;
  for (Cls_HRX* unit : v_baseDevices)
    if (unit->GetPlenumOption()) unitsWithPlenum.insert(unit->GetID());
  for (int arrangement = 0; arrangement <= 2; ++arrangement) {
    int arrangementCode = 0;
    ObjectList<Cls_HRX> found = Cls_HRX::SelectedDevices(v_baseDevices, maxSpeed, v_supplyAir, v_exhaustAir, supplyEsp,
                                                         exhaustEsp, supplyFilter, exhaustFilter, arrangement,
                                                         arrangementCode);
    for (const Cls_HRX* unit : found)
      if (unitsWithPlenum.contains(unit->GetID())) plenumAvailable = true;
    if (arrangement == plenum) {
      code = arrangementCode;
      v_selectionList = std::move(found);
    }
  }

  bool anyPlenum = false;
  for (int i = 0; i < v_selectionList.Count(); ++i) {
    Cls_HRX* unit = v_selectionList.Item(i);
    QString supplyName, exhaustName;
    if (unit->GetType() != Cls_HRX::kFreshAirUnit) unit->GetSpeedNames(supplyName, exhaustName);
    const bool hasPlenum = unitsWithPlenum.contains(unit->GetID());
    anyPlenum = anyPlenum || hasPlenum;
    auto* row = new QTreeWidgetItem(LV_SelectedDevices, {unit->GetName(), supplyName, exhaustName,
                                                         hasPlenum ? QStringLiteral("✔") : QString()});
    row->setData(0, Qt::UserRole, i);
  }
  TBasicDialog::CalculateListColumnWidths(LV_SelectedDevices, 0, false);
  if (!anyPlenum) LV_SelectedDevices->setColumnWidth(3, 0);
  Pnl_SelPlenum->setVisible(plenumAvailable);

  if (v_selectionList.IsEmpty()) {
    ClearResults();
    if (code == 0 && (supplyFilter > 0 || exhaustFilter > 0)) code = CTCheckMessages::kNoUnitWithFilter;
    if (code == 0) {
      TBaseMsg::DisplayError(this, kMsgNoSolution);
    } else {
      ShowSelectionError(code);
    }
    return;
  }
  LV_SelectedDevices->setCurrentItem(LV_SelectedDevices->topLevelItem(0));
  LV_SelectedDevicesClick();
}

void TDlgSelect::ShowSelectionError(int nCode) {
  CTCheckMessages::Context context;
  context.unit = v_currHRX;
  context.supplyAir = v_supplyAir;
  context.exhaustAir = v_exhaustAir;
  double t = 0, rh = 0, at = 0, arh = 0, discharge = 0, inlet = 0, supplyTemp = 0, supplyHeater = 0;
  Frm_HeatTempConditions->GetSelection(t, rh, at, arh, discharge, inlet, supplyTemp, supplyHeater);
  context.heatingDischarge = supplyTemp;
  context.formatTemp = [](double temp) { return ValueText::Dimensioned(temp, U_Temperature); };
  if (nCode == CTCheckMessages::kNoUnitWithFilter)
    context.filterText = CTCheckMessages::FilterText(Txt_SupplyFilter->currentIndex(), Txt_ExhaustFilter->currentIndex());
  TBaseMsg::DisplayError(this, CTCheckMessages::Text(nCode, context));
}

void TDlgSelect::ClearResults() {
  for (QLabel* label : {Txt_ESRatio, Txt_SNRatio, Txt_SupplyFilterDrop, Txt_SupplyAddResistance, Txt_SupplyPlenumDrop,
                        Txt_ExhaustFilterDrop, Txt_ExhaustAddResistance, Txt_ExhaustPlenumDrop,
                        Txt_ResultSelectedDevice})
    label->clear();
  for (QLabel* label : Pnl_Database->findChildren<QLabel*>())
    if (label->objectName().startsWith(QLatin1String("Txt_"))) label->clear();
  Lvw_DBOptions->clear();
  Frm_CoolAirConditions->ClearFields();
  Frm_HeatAirConditions->ClearFields();
  Frm_CoolResultData->ClearFields();
  Frm_HeatResultData->ClearFields();
  Frm_QuilloProps->ClearFields();
  Chb_UpsideDown->setVisible(false);
}

// The calculation of the current unit.
void TDlgSelect::LV_SelectedDevicesClick() {
  if (!v_factory) return;
  ClearResults();
  if (Frm_CoolTempConditions->CheckCooling()) return TBaseMsg::DisplayError(this, kMsgCoolingOrder);
  if (Frm_HeatTempConditions->CheckHeating()) return TBaseMsg::DisplayError(this, kMsgHeatingOrder);
  if (Frm_CoolTempConditions->CheckWBTemp() || Frm_HeatTempConditions->CheckWBTemp())
    return TBaseMsg::DisplayError(this, kMsgWetBulb);
  const QTreeWidgetItem* row = LV_SelectedDevices->currentItem();
  if (!row) return;
  const int index = row->data(0, Qt::UserRole).toInt();
  if (index < 0 || index >= v_selectionList.Count()) return;
  v_currHRX = v_selectionList.Item(index);
  Cls_HRX& unit = *v_currHRX;
  Chb_UpsideDown->setVisible(unit.GetCanBeUpsideDown());
  v_upsideDown = unit.GetCanBeUpsideDown() && Chb_UpsideDown->isChecked();

  Txt_ResultSelectedDevice->setText(unit.GetQualifiedName());
  const int family = FamilyNumber();
  v_air->SetAltitude(Frm_Altitude->GetVal());
  const bool hasHumidifier = unit.GetNomHumidity() > 0;

  // Ratios and the pressures of the ducts.
  Box_Ratios->setVisible(family < 2);
  if (family < 2) {
    Txt_ESRatio->setText(TBaseMsg::FormatFixed(v_exhaustAir / v_supplyAir, 2));
    Pnl_SNHRDRatio->setVisible(family == 1);
    if (family == 1 && unit.GetNomAirflow() > 0) Txt_SNRatio->setText(TBaseMsg::FormatFixed(v_supplyAir / unit.GetNomAirflow(), 2));
  }
  Pnl_FilterData->setVisible(family == 0);
  double supplyPlenum = 0, exhaustPlenum = 0;
  unit.GetPlenumESP(SelectedPlenum(), v_supplyAir, v_exhaustAir, supplyPlenum, exhaustPlenum);
  const auto pressure = [](double pa) { return pa == 0 ? QString() : ValueText::Dimensioned(pa, U_Pressure, false); };
  const int supplyFilter = Pnl_SupplyFilter->isHidden() ? 0 : Txt_SupplyFilter->currentIndex();
  const int exhaustFilter = Pnl_ExhaustFilter->isHidden() ? 0 : Txt_ExhaustFilter->currentIndex();
  const double supplyFilterDrop = unit.GetFilterESP(supplyFilter, v_supplyAir);
  const double supplyFan = unit.GetSupplySpeed() ? unit.GetSupplySpeed()->Evaluate(v_supplyAir) : 0;
  Txt_SupplyFilterDrop->setText(pressure(supplyFilterDrop));
  Txt_SupplyPlenumDrop->setText(pressure(supplyPlenum));
  Txt_SupplyAddResistance->setText(
      pressure(supplyFan - Frm_DesignSupplyESP->GetVal() - supplyFilterDrop - supplyPlenum));
  Pnl_ExhaustESPData->setVisible(family < 2);
  if (family < 2) {
    const double exhaustFilterDrop = unit.GetFilterESP(exhaustFilter, v_exhaustAir);
    const double exhaustFan = unit.GetExhaustSpeed() ? unit.GetExhaustSpeed()->Evaluate(v_exhaustAir) : 0;
    Txt_ExhaustFilterDrop->setText(pressure(exhaustFilterDrop));
    Txt_ExhaustPlenumDrop->setText(pressure(exhaustPlenum));
    Txt_ExhaustAddResistance->setText(
        pressure(exhaustFan - Frm_DesignExhaustESP->GetVal() - exhaustFilterDrop - exhaustPlenum));
  }

  Frm_CoolAirConditions->SetFamily(family, false, true);
  Frm_CoolResultData->SetupWindow(family, false, true);
  Frm_HeatAirConditions->SetFamily(family, hasHumidifier, false);
  Frm_HeatResultData->SetupWindow(family, hasHumidifier, false);

  // The heater options, copied: the frames never point into the candidate list.
  QList<TFrm_TempConditions::HeaterOption> heaterOptions;
  for (const Cls_DeviceOption* option : unit.GetHeaterOptions())
    heaterOptions.append({option->GetID(), option->GetName(), option->GetValue()});

  // Cooling.
  if (family == 2) {
    int lo = 0, hi = 0;
    unit.GetCoolDischargeRange(lo, hi);
    Frm_CoolTempConditions->SetDischarge(lo, hi);
  }
  Frm_CoolTempConditions->SetupInlet(heaterOptions);
  double raT = 0, raRH = 0, oaT = 0, oaRH = 0, discharge = 0, userInlet = 0, userSupplyTemp = 0, userSupplyHeater = 0;
  Frm_CoolTempConditions->GetSelection(raT, raRH, oaT, oaRH, discharge, userInlet, userSupplyTemp, userSupplyHeater);
  ALHeaterSet inlet{userInlet, 0}, supply{userSupplyHeater, 0};
  double totalCap = 0, sensibleCap = 0, tempEff = 0, enthEff = 0, maxAmbient = -273;
  const double te = Txt_TETemp->currentIndex() >= 0 ? Txt_TETemp->currentData().toDouble() : 6;
  int code = unit.SelectForCooling(raT, raRH, oaT, oaRH, v_supplyAir, v_exhaustAir, *v_air, te, discharge, v_upsideDown,
                                   v_coolingSet, totalCap, sensibleCap, tempEff, enthEff, maxAmbient, inlet);
  if (code != 0) return ShowSelectionError(code);
  code = Frm_CoolTempConditions->CheckHeaters(inlet.CalcHeater, 0);
  if (code != 0) return ShowSelectionError(code);
  Frm_CoolAirConditions->SetPsychroVals(*v_air, v_deltaEnthalpy, v_coolingSet);
  if (family == 1) Frm_QuilloProps->FillCoolFields(totalCap, sensibleCap);
  if (family == 2) Frm_QuilloProps->FillCoolFields(totalCap, 0);
  double latent = 0, sensible = 0;
  unit.CalcCoolSavings(v_coolingSet, v_supplyAir, *v_air, latent, sensible);
  Frm_CoolResultData->FillFields(tempEff, enthEff, latent, sensible, discharge, 0, maxAmbient, inlet, supply);

  // Heating.
  if (family == 2) {
    int lo = 0, hi = 0;
    unit.GetHeatDischargeRange(lo, hi);
    Frm_HeatTempConditions->SetDischarge(lo, hi);
  }
  Frm_HeatTempConditions->SetupInlet(heaterOptions);
  Frm_HeatTempConditions->GetSelection(raT, raRH, oaT, oaRH, discharge, userInlet, userSupplyTemp, userSupplyHeater);
  inlet = {userInlet, 0};
  supply = {userSupplyHeater, 0};
  double heatCap = 0, minAmbient = -273, humidification = 0;
  code = unit.SelectForHeating(raT, raRH, oaT, oaRH, v_supplyAir, v_exhaustAir, *v_air, userSupplyTemp, v_upsideDown,
                               v_heatingSet, heatCap, tempEff, enthEff, minAmbient, humidification, inlet, supply);
  if (code != 0) return ShowSelectionError(code);
  code = Frm_HeatTempConditions->CheckHeaters(inlet.CalcHeater, supply.CalcHeater);
  if (code != 0) return ShowSelectionError(code);
  Frm_HeatAirConditions->SetPsychroVals(*v_air, v_deltaEnthalpy, v_heatingSet);
  double supplyTemp = discharge;
  if (family == 1) Frm_QuilloProps->FillHeatFields(heatCap);
  if (family == 2) {
    Frm_QuilloProps->FillHeatFields(heatCap);
    supplyTemp = unit.GetHeatSupplyTemp();
  }
  unit.CalcHeatSavings(v_heatingSet, v_supplyAir, *v_air, latent, sensible);
  Frm_HeatResultData->FillFields(tempEff, enthEff, latent, sensible, supplyTemp, humidification, minAmbient, inlet,
                                 supply);
  if (Ctl_Pages->currentWidget() && Ctl_Pages->currentWidget()->objectName() == QLatin1String("Tab_Database"))
    FillDatabaseTab();
}

// ---------------------------------------------------------------- pages

void TDlgSelect::Ctl_PagesChange() {
  const QTreeWidgetItem* row = LV_SelectedDevices ? LV_SelectedDevices->currentItem() : nullptr;
  QWidget* page = Ctl_Pages->currentWidget();
  if (!row || !v_currHRX) {
    ClearResults();
    if (page && page->objectName() != QLatin1String("Tab_Selection") &&
        page->objectName() != QLatin1String("Tab_Psychrometrics"))
      Ctl_Pages->setCurrentWidget(Ctl_Pages->findChild<QWidget*>(QStringLiteral("Tab_Selection")));
    return;
  }
  if (!page) return;
  if (page->objectName() == QLatin1String("Tab_Database")) FillDatabaseTab();
  if (page->objectName() == QLatin1String("Tab_Selection")) LV_SelectedDevices->setFocus();
}

void TDlgSelect::FillDatabaseTab() {
  if (!v_currHRX) return;
  Cls_HRX& unit = *v_currHRX;
  const auto set = [this](const char* name, const QString& text) {
    if (auto* label = Pnl_Database->findChild<QLabel*>(QString::fromLatin1(name))) label->setText(text);
  };
  const auto showRow = [this](const char* name, bool visible) {
    const QString valueName = QString::fromLatin1(name);
    if (auto* label = Pnl_Database->findChild<QLabel*>(valueName)) label->setVisible(visible);
    if (auto* caption = Pnl_Database->findChild<QLabel*>(QStringLiteral("Lbl_") + valueName.mid(4)))
      caption->setVisible(visible);
  };
  const auto showBox = [this](const char* name, bool visible) {
    if (auto* box = Pnl_Database->findChild<QGroupBox*>(QString::fromLatin1(name))) box->setVisible(visible);
  };
  const auto temp = [](double t) { return ValueText::Dimensioned(t, U_Temperature); };
  const auto tempNoUnit = [](double t) { return TU_Form::PutFmtDimensionedValue(t, U_Temperature, 0, true).trimmed(); };
  const auto percent = [](double rh) { return TBaseMsg::FormatFixed(rh, 0) + QStringLiteral(" %"); };

  set("Txt_DBSelectedDevice", unit.GetQualifiedName());
  // Documentation: the first record of the unit.
  const Cls_HRXDocumentation* doc = v_documentations.Search([&](const Cls_HRXDocumentation* d) {
    int cls = 0, id = 0;
    d->GetDeviceRef(cls, id);
    return id == unit.GetID() && cls == unit.TableIndex();
  });
  if (doc && doc->GetWidth() * doc->GetHeight() * doc->GetDepth() > 0) {
    const auto shortLength = [](double mm) { return TU_Form::PutFmtDimensionedValue(mm, U_ShortLength, 0, false).trimmed(); };
    set("Txt_DBDimensions", shortLength(doc->GetWidth()) + QStringLiteral("×") + shortLength(doc->GetHeight()) +
                                QStringLiteral("×") + shortLength(doc->GetDepth()) + QLatin1Char(' ') +
                                TU_Form::GetCurrentString(U_ShortLength));
  }
  if (doc && doc->GetWeight() > 0) set("Txt_DBWeight", ValueText::Dimensioned(doc->GetWeight(), U_Mass, false));

  std::unique_ptr<Cls_PowerSupply> ps;
  std::unique_ptr<Cls_DevPSAllowed> electrical;
  unit.GetStandardPSData(ps, electrical);
  if (ps) {
    set("Txt_DBPowerSupply", ps->GetName());
    set("Txt_DBFrequency", Cls_PowerSupply::FrequencyString(ps->GetFrequencyKind()));
    set("Txt_DBPhases", ps->GetPhases());
    set("Txt_DBVoltage", ps->GetVoltage());
  }
  if (electrical) {
    const QString lo = Trimmed(electrical->GetMinVolts()), hi = Trimmed(electrical->GetMaxVolts());
    set("Txt_DBMinMaxV", !lo.isEmpty() && !hi.isEmpty() ? lo + QLatin1Char('~') + hi : lo + hi);
    const auto amps = [](double a) { return a > 0 ? TBaseMsg::FormatFixed(a, 1) + QStringLiteral(" A") : QString(); };
    set("Txt_DBMCA", amps(electrical->GetMCA()));
    set("Txt_DBMFA", amps(electrical->GetMFA()));
    set("Txt_DBRLA", amps(electrical->GetRLA()));
    set("Txt_DBFLA", amps(electrical->GetFLA()));
  }
  if (const Cls_HRXSpeed* speed = unit.GetSupplySpeed()) {
    set("Txt_DBSoundLevel", speed->GetSoundLevel());
    set("Txt_DBCurrent", speed->GetCurrent());
    set("Txt_DBWattage", ValueText::PositivePower(speed->GetPowerInput()));
  }
  set("Txt_DBDuctDiameter",
      unit.GetDuctDiam() > 0 ? ValueText::Dimensioned(unit.GetDuctDiam(), U_ShortLength, false) : QString());
  set("Txt_DBNominalHumidity",
      unit.GetNomHumidity() > 0 ? ValueText::Fixed(unit.GetNomHumidity(), 1, QStringLiteral("kg/h")) : QString());
  set("Txt_DBNominalAirflow", ValueText::Dimensioned(unit.GetNomAirflow() / kLsToM3h, U_Airflow, false));
  set("Txt_DBAmbientTemp", tempNoUnit(unit.GetOAMinTemp()) + QLatin1Char('~') + temp(unit.GetOAMaxTemp()));
  set("Txt_DBAmbientRH", percent(unit.GetOAMaxRH()));
  set("Txt_DBVIMinTemp", temp(unit.GetVIMinTemp()));
  const bool upsideDown = unit.GetCanBeUpsideDown();
  set("Txt_DBVIMinTempUD", upsideDown ? temp(unit.GetVIMinTempUpsideDown()) : QString());
  showRow("Txt_DBVIMinTempUD", upsideDown);

  const bool freshAir = unit.GetType() >= Cls_HRX::kFreshAirUnit;
  showBox("Box_RoomRange", !freshAir);
  showBox("Box_RHMaxima", !freshAir);
  showBox("Box_AirTreatment", freshAir);
  showBox("Box_Nominal", freshAir || unit.GetType() == Cls_HRX::kCoilUnit);
  if (freshAir) {
    set("Txt_DBMinCoolRH", percent(unit.GetMinCoolRH()));
    set("Txt_DBMinHeatRH", percent(unit.GetMinHeatRH()));
    set("Txt_DBFanOnlyTemp", tempNoUnit(unit.GetMinTempFanOnly()) + QLatin1Char('~') + temp(unit.GetMaxTempFanOnly()));
  } else {
    set("Txt_DBRoomTemp", tempNoUnit(unit.GetRAMinTemp()) + QLatin1Char('~') + temp(unit.GetRAMaxTemp()));
    set("Txt_DBRoomRH", percent(unit.GetRAMaxRH()));
    set("Txt_DBEAMaxRH", percent(unit.GetEAMaxRH()));
    set("Txt_DBVOMaxRH", percent(unit.GetVOMaxRH()));
    set("Txt_DBEAMaxRHUD", upsideDown ? percent(unit.GetEAMaxRHUpsideDown()) : QString());
    set("Txt_DBVOMaxRHUD", upsideDown ? percent(unit.GetVOMaxRHUpsideDown()) : QString());
    showRow("Txt_DBEAMaxRHUD", upsideDown);
    showRow("Txt_DBVOMaxRHUD", upsideDown);
    const bool coil = unit.GetType() == Cls_HRX::kCoilUnit;
    set("Txt_DBCIMaxRH", coil ? percent(unit.GetCIMaxRH()) : QString());
    set("Txt_DBCIMaxRHUD", coil && upsideDown ? percent(unit.GetCIMaxRHUpsideDown()) : QString());
    showRow("Txt_DBCIMaxRH", coil);
    showRow("Txt_DBCIMaxRHUD", coil && upsideDown);
  }

  // The options of the unit, not marked deleted, in combination order.
  const QSignalBlocker block(Lvw_DBOptions);
  Lvw_DBOptions->clear();
  for (const Cls_DevOptCombination* combination : unit.GetOptionCombinationsForHRX()) {
    int cls = 0, id = 0;
    combination->GetDeviceOptionRef(cls, id);
    const Cls_TrivaneDeviceOption* option = v_options.Search(
        [&](const Cls_TrivaneDeviceOption* o) { return o->GetID() == id && o->TableIndex() == cls; });
    if (!option || option->GetDeleted()) continue;
    auto* row = new QTreeWidgetItem(Lvw_DBOptions, {option->GetName(), Cls_DeviceOption::TypeString(option->GetType())});
    row->setData(0, Qt::UserRole, option->GetID());
  }
  TBasicDialog::CalculateListColumnWidths(Lvw_DBOptions, 0, false);
  if (Lvw_DBOptions->topLevelItemCount() > 0) Lvw_DBOptions->setCurrentItem(Lvw_DBOptions->topLevelItem(0));
  const QTreeWidgetItem* current = Lvw_DBOptions->currentItem();
  const Cls_TrivaneDeviceOption* option =
      current ? v_options.Search([&](const Cls_TrivaneDeviceOption* o) { return o->GetID() == current->data(0, Qt::UserRole).toInt(); })
              : nullptr;
  const auto detail = [this](const char* name, const QString& text) {
    if (auto* label = findChild<QLabel*>(QString::fromLatin1(name))) label->setText(text);
  };
  detail("Txt_DBOptDescription", option ? option->GetDescription() : QString());
  detail("Txt_DBOptMCA", option ? option->GetMCA() : QString());
  detail("Txt_DBOptDimensions",
         option && option->GetWidth() * option->GetHeight() * option->GetDepth() > 0
             ? QStringLiteral("%1×%2×%3 mm").arg(option->GetWidth()).arg(option->GetHeight()).arg(option->GetDepth())
             : QString());
}
