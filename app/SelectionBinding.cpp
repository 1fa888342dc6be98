// The selection of the main window: a form over the selection library. The
// window reads its inputs into a SelectionRequest, CTSelectionRun computes
// the SelectionResult, and the window shows it; no figure or rule of the
// selection lives here.
//
// The chain of recalculation: an airflow or ESP change runs CalcSupply, which
// runs Txt_FamilyClick, which runs RunSelection, which ends in
// LV_SelectedDevicesClick; a condition change only recalculates the current
// unit. Values set by the program never start a handler (user-only signals),
// and v_converting stops CalcSupply while fields are being re-set.

#include "app/BasicDlg.h"
#include "app/ChartBox.h"
#include "app/PsychroBox.h"
#include "selection/ResultTexts.h"
#include "app/FrameConfig.h"
#include "app/FrmConfiguration.h"
#include "catalogue/CoilCapacity.h"
#include "charts/ChartSetup.h"
#include "app/FrameAirConditions.h"
#include "app/FrameQuilloProps.h"
#include "app/FrameResultData.h"
#include "app/FrameTempConditions.h"
#include "app/Frame_UnitTextScroll.h"
#include "app/DlgSelect.h"
#include "app/ValueText.h"
#include "catalogue/ClDeviceOption.h"
#include "catalogue/ClHRX.h"
#include "catalogue/Factory.h"
#include "i18n/BaseMsgMan.h"
#include "i18n/MsgMan.h"
#include "psychro/Rounding.h"
#include "selection/CatalogueSession.h"
#include "selection/InputFields.h"
#include "selection/ProjectFile.h"
#include "selection/UnitDatasheet.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <cmath>

namespace {

constexpr int kMsgDefault = 82;

void SetUp(TFrm_UnitTextScroll* field, CTInputFields::Field spec, std::function<void()> callback) {
  const LTInputField& f = CTInputFields::Spec(spec);
  field->SetupWindow(std::move(callback), f.unit, int(f.min), int(f.max), int(f.init), f.resolution);
}

}  // namespace

int TDlgSelect::FamilyNumber() const {
  return Txt_Family && Txt_Family->currentIndex() >= 0 ? Txt_Family->currentData().toInt() : 0;
}

int TDlgSelect::SelectedPlenum() const {
  if (Rbn_PlenumOAEA && Rbn_PlenumOAEA->isChecked()) return 1;
  if (Rbn_PlenumAll && Rbn_PlenumAll->isChecked()) return 2;
  return 0;
}

SelectionRequest TDlgSelect::CurrentRequest() const {
  SelectionRequest r;
  r.altitudeM = Frm_Altitude->GetVal();
  r.basis = Chk_TotalSupply->isChecked()       ? AirflowBasis::kTotals
            : RB_NumberOfPersons->isChecked() ? AirflowBasis::kByPersons
                                              : AirflowBasis::kByArea;
  r.airflowPerPersonLs = Frm_Airflow->GetVal();
  r.roomSurfaceM2 = Frm_RoomSurface->GetVal();
  r.areaPerPersonM2 = Frm_AreaPerPerson->GetVal();
  r.persons = Frm_NumberOfPersons->GetVal();
  r.totalSupplyLs = Frm_TotalSupply->GetVal();
  r.exhaustGiven = Chk_TotalExhaust->isChecked();
  r.totalExhaustLs = Frm_TotalExhaust->GetVal();
  r.supplyEspPa = Frm_DesignSupplyESP->GetVal();
  r.exhaustEspPa = Frm_DesignExhaustESP->GetVal();
  r.supplyFilter = std::max(0, Txt_SupplyFilter->currentIndex());
  r.exhaustFilter = std::max(0, Txt_ExhaustFilter->currentIndex());
  r.plenum = PlenumArrangement(SelectedPlenum());
  r.family = FamilyNumber();
  r.maxSpeedTypeID = Txt_MaxSpeed->currentIndex() >= 0 ? Txt_MaxSpeed->currentData().toInt() : 0;
  r.evaporatingC = Txt_TETemp->currentIndex() >= 0 ? Txt_TETemp->currentData().toDouble() : 6;
  r.upsideDown = Chb_UpsideDown->isChecked();
  r.cooling = Frm_CoolTempConditions->Inputs();
  r.heating = Frm_HeatTempConditions->Inputs();
  const QTreeWidgetItem* row = LV_SelectedDevices->currentItem();
  r.candidate = row ? row->data(0, Qt::UserRole).toInt() : 0;
  return r;
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
  Frm_RoomSurface->SetVal(Rounding::HalfEvenInt(persons * 5));
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
  Frm_NumberOfPersons->SetVal(Rounding::HalfEvenInt(surface / area));
  v_dataHaveChanged = true;
  CalcSupply();
}

void TDlgSelect::Chk_TotalSupplyClick() {
  // Airflow per person and room surface are enabled exactly when the box is
  // not ticked.
  const bool ticked = Chk_TotalSupply->isChecked();
  Frm_Airflow->EnableIt(!ticked);
  Frm_RoomSurface->EnableIt(!ticked);
  if (ticked) {
    RB_AreaPerPerson->setEnabled(false);
    RB_NumberOfPersons->setEnabled(false);
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
  for (const double te : CTCoilCapacity::kOfferedTEs) {
    QString text = ValueText::Dimensioned(te, U_Temperature);
    if (te == CTCoilCapacity::kOfferedTEs.front()) text += QStringLiteral(" (") + TBaseMsg::GetUnicodeString(kMsgDefault) + QLatin1Char(')');
    Txt_TETemp->addItem(text, te);
  }
  Txt_TETemp->setCurrentIndex(0);
}

void TDlgSelect::InitSelection() {
  using F = CTInputFields;
  v_converting = true;
  v_optionChoices.Clear();
  v_minAirflow = 1.0;
  v_maxAirflow = Sentinel::kNoAirflowLimitLs;
  const auto capacity = [this] { CapacityCallBack(); };
  SetUp(Frm_Airflow, F::kAirflowPerPerson, capacity);
  SetUp(Frm_RoomSurface, F::kRoomSurface, capacity);
  SetUp(Frm_AreaPerPerson, F::kAreaPerPerson, capacity);
  RB_AreaPerPerson->setChecked(true);
  RB_AreaPerPerson->setEnabled(true);
  RB_NumberOfPersons->setEnabled(true);
  Frm_RoomSurface->EnableIt(true);
  Frm_AreaPerPerson->EnableIt(true);
  SetUp(Frm_NumberOfPersons, F::kPersons, capacity);
  Frm_NumberOfPersons->SetDim(QString());
  Frm_NumberOfPersons->EnableIt(false);
  Chk_TotalSupply->setChecked(false);
  Chk_TotalExhaust->setChecked(false);
  Frm_Airflow->EnableIt(true);
  SetUp(Frm_TotalSupply, F::kTotalSupply, capacity);
  Frm_TotalSupply->EnableIt(false);
  SetUp(Frm_TotalExhaust, F::kTotalExhaust, capacity);
  Frm_TotalExhaust->EnableIt(false);
  SetUp(Frm_Altitude, F::kAltitude, [this] { AltitudeCallBack(); });
  SetUp(Frm_DesignSupplyESP, F::kSupplyEsp, capacity);
  SetUp(Frm_DesignExhaustESP, F::kExhaustEsp, capacity);
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
    frame->SetupWindow(TBaseMsg::Tr(QStringLiteral("Room Air (RA)")), TBaseMsg::Tr(QStringLiteral("Exhaust Air (EA)")),
                       TBaseMsg::Tr(QStringLiteral("Outdoor Air (OA)")), TBaseMsg::Tr(QStringLiteral("Supply Air (SA)")),
                       TBaseMsg::Tr(QStringLiteral("Ventilation In (VI)")), TBaseMsg::Tr(QStringLiteral("Ventilation Out (VO)")),
                       TBaseMsg::Tr(QStringLiteral("Coil In (CI)")), TBaseMsg::Tr(QStringLiteral("Humidifier In (HI)")));
  Frm_CoolAirConditions->SetFamily(family, false, true);
  Frm_HeatAirConditions->SetFamily(family, false, false);
  v_converting = false;
  CalcSupply();
}

void TDlgSelect::CalcSupply() {
  if (v_converting || !v_session) return;
  const SelectionRequest request = CTSelectionRun::Normalized(CurrentRequest(), v_ranges);
  const CTSelectionRun::LTAirflows airflows = CTSelectionRun::Airflows(request, v_ranges);
  if (airflows.corrected) {
    if (request.basis == AirflowBasis::kByArea) Frm_AreaPerPerson->SetVal(airflows.areaPerPersonM2);
    else Frm_NumberOfPersons->SetVal(airflows.persons);
  }
  Frm_TotalSupply->SetVal(airflows.supplyLs);
  if (!Chk_TotalExhaust->isChecked() || Frm_TotalExhaust->GetVal() == 0) Frm_TotalExhaust->SetVal(airflows.supplyLs);
  Txt_FamilyClick();
}

void TDlgSelect::RefillMaxSpeed() {
  // The speed type the user chose stays when the family offers it.
  const QSignalBlocker block(Txt_MaxSpeed);
  const QVariant previous = Txt_MaxSpeed->currentData();
  Txt_MaxSpeed->clear();
  for (const LTSpeedTypeItem& type : v_ranges.speedTypes) Txt_MaxSpeed->addItem(type.name, type.id);
  const int kept = previous.isValid() ? Txt_MaxSpeed->findData(previous) : -1;
  Txt_MaxSpeed->setCurrentIndex(kept >= 0 ? kept : Txt_MaxSpeed->count() - 1);
}

// The ESP fields up to the family's highest ESP, in hundredths in inches of
// water and in tenths otherwise; each keeps the value it holds (bounded by
// that highest ESP), not a rounding of it.
void TDlgSelect::SetupEspFields() {
  const int espResolution = CTResultTexts::FieldResolution(CTInputFields::kSupplyEsp);
  const auto capacity = [this] { CapacityCallBack(); };
  for (TFrm_UnitTextScroll* esp : {Frm_DesignSupplyESP, Frm_DesignExhaustESP}) {
    const double value = esp->GetVal();
    esp->SetupWindow(capacity, U_Pressure, 0, Rounding::HalfEvenInt(v_ranges.maxEspPa), Rounding::HalfEvenInt(value), espResolution);
    esp->SetVal(value);
  }
}

void TDlgSelect::ApplyPreferences() {
  // Every field shows its value in the new unit; nothing is run meanwhile.
  v_converting = true;
  for (TFrm_UnitTextScroll* field : findChildren<TFrm_UnitTextScroll*>()) field->ConvertUnit();
  SetupEspFields();
  v_converting = false;
  v_deltaEnthalpy = CTSelectionRun::EnthalpyDisplayOffset();
  // The same candidate again, its results and the active page in the new
  // units (the click refreshes the page); without one, the page alone.
  if (LV_SelectedDevices->currentItem())
    LV_SelectedDevicesClick();
  else
    Ctl_PagesChange();
}

void TDlgSelect::Txt_FamilyClick() {
  if (!v_session) return;
  v_dataHaveChanged = true;
  const int family = FamilyNumber();
  Frm_CoolTempConditions->SetFamily(family);
  Frm_HeatTempConditions->SetFamily(family);
  Frm_QuilloProps->setVisible(CTResultTexts::Layout(family, false, true).capacities);
  if (family == Cls_HRX::kCoilUnit) Frm_QuilloProps->SetupWindow(TBaseMsg::Tr(QStringLiteral("HRD Selection Criteria")), false);
  if (family == Cls_HRX::kFreshAirUnit) Frm_QuilloProps->SetupWindow(TBaseMsg::Tr(QStringLiteral("DQTL-MF Selection Criteria")), true);

  v_ranges = CTSelectionRun::FamilyRanges(*v_session, family);
  if (v_ranges.minAirflowLs != v_minAirflow || v_ranges.maxAirflowLs != v_maxAirflow) {
    v_converting = true;
    SetupEspFields();
    const auto capacity = [this] { CapacityCallBack(); };
    v_minAirflow = v_ranges.minAirflowLs;
    v_maxAirflow = v_ranges.maxAirflowLs;
    const int lowest = int(v_minAirflow), highest = int(v_maxAirflow);
    for (TFrm_UnitTextScroll* total : {Frm_TotalSupply, Frm_TotalExhaust}) {
      const bool enabled = total->Edit()->isEnabled();
      const double value = std::clamp(total->GetVal(), double(lowest), double(highest));
      total->SetupWindow(capacity, U_Airflow, lowest, highest, Rounding::HalfEvenInt(value), 1);
      if (!enabled) total->EnableIt(false);
      total->SetVal(value);  // as it was, within the family's bounds
    }
    v_converting = false;
    CalcSupply();
    return;
  }
  const bool exhaustInputs = CTSelectionRun::HasExhaustInputs(family);
  Pnl_ExhaustData->setVisible(exhaustInputs);
  RefillMaxSpeed();
  Pnl_MaxSpeed->setVisible(Txt_MaxSpeed->count() >= 2);
  RefillTETemp();
  Pnl_TETemp->setVisible(false);
  Pnl_ExhaustESP->setVisible(exhaustInputs);
  Pnl_SupplyFilter->setVisible(family == Cls_HRX::kPlainUnit);
  Pnl_ExhaustFilter->setVisible(family == Cls_HRX::kPlainUnit);
  Ctl_Pages->setTabVisible(Ctl_Pages->indexOf(Tab_Efficiencies), exhaustInputs);
  Ctl_Pages->setTabVisible(Ctl_Pages->indexOf(Tab_EffCorrect), exhaustInputs);
  // The configuration drawing exists for the families with a drawing of their own.
  Ctl_Pages->setTabVisible(Ctl_Pages->indexOf(Tab_Configuration), family <= Cls_HRX::kDrawnFamily);
  RunSelection();
}

// ---------------------------------------------------------------- the run

void TDlgSelect::RunSelection() {
  if (!v_session || v_loading) return;
  // The list is refilled by the program: no click handler on the way.
  const QSignalBlocker blockList(LV_SelectedDevices);
  v_currHRX = nullptr;
  LV_SelectedDevices->clear();
  SelectionRequest request = CurrentRequest();
  request.candidate = 0;
  v_result = CTSelectionRun::RunCandidates(*v_session, request);
  // The drawings ask for the unit when they paint; the old one is gone.
  RedrawConfigWindow();
  // Inputs hidden for the family follow the supply, as the run took them.
  if (!CTSelectionRun::HasExhaustInputs(request.family)) {
    Frm_TotalExhaust->SetVal(v_result.exhaustLs);
    Frm_DesignExhaustESP->SetVal(v_result.exhaustEspPa);
  }

  bool anyPlenum = false;
  for (int i = 0; i < v_result.rows.size(); ++i) {
    const LTCandidate& c = v_result.rows[i];
    anyPlenum = anyPlenum || c.hasPlenum;
    auto* row = new QTreeWidgetItem(LV_SelectedDevices, {c.name, c.supplySpeed, c.exhaustSpeed,
                                                         c.hasPlenum ? QStringLiteral("✔") : QString()});
    row->setTextAlignment(3, Qt::AlignCenter);
    row->setData(0, Qt::UserRole, i);
  }
  TBasicDialog::CalculateListColumnWidths(LV_SelectedDevices, 0, false);
  if (!anyPlenum) LV_SelectedDevices->setColumnWidth(3, 0);
  Pnl_SelPlenum->setVisible(v_result.plenumAvailable);

  if (v_result.candidates.IsEmpty()) {
    ClearResults();
    TBaseMsg::DisplayError(this, v_result.selectionMessage);
    return;
  }
  // The first candidate, or the unit of a project being opened.
  const int current = v_openingUnit ? std::max(0, CTProjectMapping::FindCandidate(v_result, *v_openingUnit)) : 0;
  LV_SelectedDevices->setCurrentItem(LV_SelectedDevices->topLevelItem(current));
  LV_SelectedDevicesClick();
}

QString TDlgSelect::MessageText(int nCode) const {
  return CTSelectionRun::Message(nCode, v_result, CurrentRequest());
}

void TDlgSelect::ShowSelectionError(int nCode) { TBaseMsg::DisplayError(this, MessageText(nCode)); }

void TDlgSelect::ClearResults() {
  // The option rows belong to the unit that was current.
  v_optionRows.clear();
  if (Lvw_AvailOptions) ShowOptionRows();
  for (QLabel* label : {Txt_ESRatio, Txt_SNRatio, Txt_SupplyFilterDrop, Txt_SupplyAddResistance, Txt_SupplyPlenumDrop,
                        Txt_ExhaustFilterDrop, Txt_ExhaustAddResistance, Txt_ExhaustPlenumDrop, Txt_FanPower, Txt_SFP,
                        Txt_ResultSelectedDevice})
    label->clear();
  for (const LTDatabaseRow* row :
       {&v_db.selectedDevice, &v_db.dimensions, &v_db.weight, &v_db.powerSupply, &v_db.frequency, &v_db.phases,
        &v_db.voltage, &v_db.minMaxV, &v_db.mca, &v_db.mfa, &v_db.rla, &v_db.fla, &v_db.soundLevel, &v_db.current,
        &v_db.wattage, &v_db.ductDiameter, &v_db.nominalHumidity, &v_db.nominalAirflow, &v_db.ambientTemp,
        &v_db.ambientRH, &v_db.viMinTemp, &v_db.viMinTempUD, &v_db.roomTemp, &v_db.roomRH, &v_db.eaMaxRH,
        &v_db.eaMaxRHUD, &v_db.voMaxRH, &v_db.voMaxRHUD, &v_db.ciMaxRH, &v_db.ciMaxRHUD, &v_db.minCoolRH,
        &v_db.minHeatRH, &v_db.fanOnlyTemp, &v_db.optDescription, &v_db.optDimensions, &v_db.optMCA})
    row->value->clear();
  {
    const QSignalBlocker block(Lvw_DBOptions);
    Lvw_DBOptions->clear();
  }
  Frm_CoolAirConditions->ClearFields();
  Frm_HeatAirConditions->ClearFields();
  Frm_CoolResultData->ClearFields();
  Frm_HeatResultData->ClearFields();
  Frm_QuilloProps->ClearFields();
  Frm_CoolTempConditions->ClearCalculatedHeaters();
  Frm_HeatTempConditions->ClearCalculatedHeaters();
  Chb_UpsideDown->setVisible(false);
  for (QWidget* button : {Btn_ResultOnlineInfo, Btn_DBOnlineInfo}) button->hide();
}

// The discharge range and heater options of the unit go to the condition
// frames before their inputs are read: the frames offer what the unit has.
void TDlgSelect::PrepareConditionFrames(Cls_HRX& unit) {
  if (FamilyNumber() == Cls_HRX::kFreshAirUnit) {
    const auto cooling = CTSelectionRun::DischargeRange(unit, true), heating = CTSelectionRun::DischargeRange(unit, false);
    Frm_CoolTempConditions->SetDischarge(cooling.lo, cooling.hi);
    Frm_HeatTempConditions->SetDischarge(heating.lo, heating.hi);
  }
  const QList<LTHeaterOption> heaterOptions = CTSelectionRun::HeaterOptions(unit);
  Frm_CoolTempConditions->SetupInlet(heaterOptions);
  Frm_HeatTempConditions->SetupInlet(heaterOptions);
}

// The calculation of the current unit.
void TDlgSelect::LV_SelectedDevicesClick() {
  if (!v_session) return;
  ClearResults();
  v_currHRX = nullptr;
  SelectionRequest request = CurrentRequest();
  if (const auto correction = CTSelectionRun::CheckConditions(request)) {
    TFrm_TempConditions* frame = correction->cooling ? Frm_CoolTempConditions : Frm_HeatTempConditions;
    frame->ApplyCorrection(correction->field, correction->toC);
    return TBaseMsg::DisplayError(this, correction->message);
  }
  const QTreeWidgetItem* row = LV_SelectedDevices->currentItem();
  if (!row) return;
  const int index = row->data(0, Qt::UserRole).toInt();
  if (index < 0 || index >= v_result.candidates.Count()) return;
  Cls_HRX& unit = *v_result.candidates.Item(index);
  Chb_UpsideDown->setVisible(unit.GetCanBeUpsideDown());
  v_air->SetAltitude(Frm_Altitude->GetVal());
  PrepareConditionFrames(unit);
  CTSelectionRun::ComputeCandidate(v_result, CurrentRequest(), index);
  v_currHRX = v_result.Current();
  if (!v_currHRX) return;

  Txt_ResultSelectedDevice->setText(v_result.unitName);
  ShowOnlineInfoButtons();
  const int family = v_result.family;
  Frm_CoolAirConditions->SetFamily(family, false, true);
  Frm_CoolResultData->SetupWindow(family, false, true);
  Frm_HeatAirConditions->SetFamily(family, v_result.hasHumidifier, false);
  Frm_HeatResultData->SetupWindow(family, v_result.hasHumidifier, false);
  ShowDuctData();
  ShowCooling();
  if (v_result.cooling.Succeeded()) ShowHeating();
  if (Ctl_Pages->currentWidget() == Tab_Database) FillDatabaseTab();
  if (Ctl_Pages->currentWidget() == Tab_Results) FillOptions();
  RefreshChartPage();
  RedrawConfigWindow();
  Frm_Config->update();
}

void TDlgSelect::ShowDuctData() {
  const SelectionResult& r = v_result;
  const int family = r.family;
  Box_Ratios->setVisible(CTSelectionRun::HasExhaustInputs(family));
  Pnl_SNHRDRatio->setVisible(family == Cls_HRX::kCoilUnit);
  Txt_ESRatio->setText(std::isfinite(r.exhaustSupplyRatio) ? TBaseMsg::FormatShown(r.exhaustSupplyRatio, 2) : QString());
  Txt_SNRatio->setText(std::isfinite(r.supplyNominalRatio) ? TBaseMsg::FormatShown(r.supplyNominalRatio, 2) : QString());
  // Filter and plenum rows belong to the plain family, on both sides.
  Pnl_FilterData->setVisible(family == Cls_HRX::kPlainUnit);
  Pnl_ExhaustFilterData->setVisible(family == Cls_HRX::kPlainUnit);
  Pnl_ExhaustESPData->setVisible(r.exhaustSideShown);
  const auto pressure = [](double pa) { return pa == 0 ? QString() : ValueText::Dimensioned(pa, U_Pressure, false); };
  Txt_SupplyFilterDrop->setText(pressure(r.supplySide.filterPa));
  Txt_SupplyPlenumDrop->setText(pressure(r.supplySide.plenumPa));
  Txt_SupplyAddResistance->setText(pressure(r.supplySide.additionalPa));
  if (r.exhaustSideShown) {
    Txt_ExhaustFilterDrop->setText(pressure(r.exhaustSide.filterPa));
    Txt_ExhaustPlenumDrop->setText(pressure(r.exhaustSide.plenumPa));
    Txt_ExhaustAddResistance->setText(pressure(r.exhaustSide.additionalPa));
  }
  Txt_FanPower->setText(r.fans.known ? ValueText::Dimensioned(r.fans.totalKW, U_Power, false) : QString());
  Txt_SFP->setText(CTResultTexts::SfpText(r.fans));
}

void TDlgSelect::ShowCooling() {
  const LTModeResult& m = v_result.cooling;
  if (m.computed && (m.code == 0 || m.code == TFrm_TempConditions::kInletTooSmall))
    Frm_CoolTempConditions->SetCalculatedHeaters(m.inletHeater.CalcHeater, 0);
  if (!m.Succeeded()) {
    Frm_CoolTempConditions->FocusHeaterChoice(m.code);
    return TBaseMsg::DisplayError(this, m.message);
  }
  v_coolingSet = m.states;
  Frm_CoolAirConditions->SetPsychroVals(*v_air, v_deltaEnthalpy, m.states);
  if (v_result.family == Cls_HRX::kCoilUnit) Frm_QuilloProps->FillCoolFields(m.totalCapKW, m.sensibleCapKW);
  if (v_result.family == Cls_HRX::kFreshAirUnit) Frm_QuilloProps->FillCoolFields(m.totalCapKW, 0);
  Frm_CoolResultData->FillFields(m.temperatureEff, m.enthalpyEff, m.latentSavingsKW, m.sensibleSavingsKW,
                                 m.supplyTempC, 0, m.ambientLimitC, m.inletHeater, m.supplyHeater);
  Frm_CoolResultData->SetNotes(m.notes);
}

void TDlgSelect::ShowHeating() {
  const LTModeResult& m = v_result.heating;
  if (m.computed && (m.code == 0 || m.code == TFrm_TempConditions::kInletTooSmall ||
                     m.code == TFrm_TempConditions::kSupplyTooSmall))
    Frm_HeatTempConditions->SetCalculatedHeaters(m.inletHeater.CalcHeater, m.supplyHeater.CalcHeater);
  if (!m.Succeeded()) {
    Frm_HeatTempConditions->FocusHeaterChoice(m.code);
    return TBaseMsg::DisplayError(this, m.message);
  }
  v_heatingSet = m.states;
  Frm_HeatAirConditions->SetPsychroVals(*v_air, v_deltaEnthalpy, m.states);
  if (v_result.family == Cls_HRX::kCoilUnit || v_result.family == Cls_HRX::kFreshAirUnit)
    Frm_QuilloProps->FillHeatFields(m.heatCapKW);
  Frm_HeatResultData->FillFields(m.temperatureEff, m.enthalpyEff, m.latentSavingsKW, m.sensibleSavingsKW,
                                 m.supplyTempC, m.humidificationKgh, m.ambientLimitC, m.inletHeater, m.supplyHeater);
  Frm_HeatResultData->SetNotes(m.notes);
}

// ---------------------------------------------------------------- pages

void TDlgSelect::PlacePsychroConditions() {
  TFrm_TempConditions* shown = RB_Cooling->isChecked() ? Frm_CoolTempConditions : Frm_HeatTempConditions;
  TFrm_TempConditions* other = shown == Frm_CoolTempConditions ? Frm_HeatTempConditions : Frm_CoolTempConditions;
  (other == Frm_CoolTempConditions ? v_coolColumn : v_heatColumn)->insertWidget(1, other, 1);
  v_psyConditions->addWidget(shown);
}

void TDlgSelect::RestoreConditionFrames() {
  if (Frm_CoolTempConditions->parentWidget() == Pnl_PsyConditions) v_coolColumn->insertWidget(1, Frm_CoolTempConditions, 1);
  if (Frm_HeatTempConditions->parentWidget() == Pnl_PsyConditions) v_heatColumn->insertWidget(1, Frm_HeatTempConditions, 1);
}

void TDlgSelect::ShowPointData(double nDbt, double nAH) {
  const QList<QLabel*> labels{v_pointData.dryBulb,    v_pointData.wetBulb,  v_pointData.dewPoint,
                              v_pointData.relativeHumidity, v_pointData.absHumidity, v_pointData.enthalpy,
                              v_pointData.pressure};
  if (!Sentinel::IsGiven(nDbt) || !Sentinel::IsGiven(nAH)) {
    for (QLabel* label : labels) label->clear();
    return;
  }
  const CTChartSetup::LTPointData d = CTChartSetup::PointData(v_result.altitudeM, nDbt, nAH);
  v_pointData.dryBulb->setText(ValueText::Dimensioned(d.dryBulbC, U_Temperature));
  v_pointData.wetBulb->setText(ValueText::Dimensioned(d.wetBulbC, U_Temperature));
  v_pointData.dewPoint->setText(ValueText::Dimensioned(d.dewPointC, U_Temperature));
  v_pointData.relativeHumidity->setText(ValueText::Fixed(d.relativeHumidity, 1, QStringLiteral("%")));
  v_pointData.absHumidity->setText(d.absHumidity == 0 ? QString() : ValueText::Dimensioned(d.absHumidity, U_Humidity));
  v_pointData.enthalpy->setText(ValueText::Dimensioned(d.enthalpy + v_deltaEnthalpy, U_Enthalpy));
  v_pointData.pressure->setText(d.pressurePa == 0 ? QString() : ValueText::Dimensioned(d.pressurePa, U_Pressure));
}

void TDlgSelect::Ctl_PagesChange() {
  const QTreeWidgetItem* row = LV_SelectedDevices ? LV_SelectedDevices->currentItem() : nullptr;
  QWidget* page = Ctl_Pages->currentWidget();
  TAirPropDiagram::LegendToRegistry(QString::fromLatin1(CTChartSetup::kPreferencesKey));
  if (page == Tab_Psychrometrics) PlacePsychroConditions();
  else RestoreConditionFrames();
  // The floating configuration window belongs beside the chart.
  if (v_configForm) {
    v_configForm->setVisible(page == Tab_Psychrometrics);
    RedrawConfigWindow();
  }
  if (!row || !v_currHRX) {
    ClearResults();
    if (page != Tab_Selection && page != Tab_Psychrometrics) ShowPage(Tab_Selection);
    RefreshChartPage();
    return;
  }
  if (page == Tab_Database) FillDatabaseTab();
  if (page == Tab_Results) FillOptions();
  if (page == Tab_Selection) LV_SelectedDevices->setFocus();
  RefreshChartPage();
}

void TDlgSelect::RefreshChartPage() {
  QWidget* page = Ctl_Pages->currentWidget();
  if (page == Tab_Psychrometrics) {
    ShowPointData(Sentinel::kNotGiven, Sentinel::kNotGiven);
    const bool cooling = RB_Cooling->isChecked();
    PB_PsyGraph->SetBuilder([this, cooling](IDrawSurface& s, QSize z) {
      return CTChartSetup::ProcessDiagram(
          s, z, v_result, cooling, [this](double dbt, double ah) { ShowPointData(dbt, ah); },
          [this] { PB_PsyGraph->Redraw(); });
    });
  }
  if (page == Tab_Fan)
    PB_ESPGraph->SetBuilder([this](IDrawSurface& s, QSize z) { return CTChartSetup::FanGraph(s, z, v_result); }, true,
                            false);
  if (page == Tab_Efficiencies)
    PB_EffGraph->SetBuilder([this](IDrawSurface& s, QSize z) { return CTChartSetup::EfficiencyGraph(s, z, v_result); },
                            true, true);
  if (page == Tab_EffCorrect)
    PB_EffCorrect->SetBuilder(
        [this](IDrawSurface& s, QSize z) {
          return CTChartSetup::CorrectionGraph(s, z, v_result, v_session->Factory().RatioCorrections());
        },
        false, false);
}

void TDlgSelect::FillDatabaseTab() {
  if (!v_currHRX) return;
  const LTDatasheet d = CTUnitDatasheet::Read(*v_session, *v_currHRX);
  const LTDatasheetTexts t = CTUnitDatasheet::Texts(d);
  LTDatabaseTab& db = v_db;
  db.selectedDevice.Set(d.qualifiedName);
  const std::pair<LTDatabaseRow*, const QString*> rows[] = {
      {&db.dimensions, &t.dimensions},   {&db.weight, &t.weight},
      {&db.powerSupply, &t.powerSupply}, {&db.frequency, &t.frequency},
      {&db.phases, &t.phases},           {&db.voltage, &t.voltage},
      {&db.minMaxV, &t.minMaxV},         {&db.mca, &t.mca},
      {&db.mfa, &t.mfa},                 {&db.rla, &t.rla},
      {&db.fla, &t.fla},                 {&db.soundLevel, &t.soundLevel},
      {&db.current, &t.current},         {&db.wattage, &t.wattage},
      {&db.ductDiameter, &t.ductDiameter}, {&db.nominalHumidity, &t.nominalHumidity},
      {&db.nominalAirflow, &t.nominalAirflow}, {&db.ambientTemp, &t.ambientTemp},
      {&db.ambientRH, &t.ambientRH},     {&db.viMinTemp, &t.viMinTemp},
      {&db.viMinTempUD, &t.viMinTempUD}, {&db.roomTemp, &t.roomTemp},
      {&db.roomRH, &t.roomRH},           {&db.eaMaxRH, &t.eaMaxRH},
      {&db.eaMaxRHUD, &t.eaMaxRHUD},     {&db.voMaxRH, &t.voMaxRH},
      {&db.voMaxRHUD, &t.voMaxRHUD},     {&db.ciMaxRH, &t.ciMaxRH},
      {&db.ciMaxRHUD, &t.ciMaxRHUD},     {&db.minCoolRH, &t.minCoolRH},
      {&db.minHeatRH, &t.minHeatRH},     {&db.fanOnlyTemp, &t.fanOnlyTemp}};
  for (const auto& [row, text] : rows) row->Set(*text);
  const bool upsideDown = d.canBeUpsideDown;
  const bool coil = d.type == Cls_HRX::kCoilUnit;
  db.viMinTempUD.Show(upsideDown);
  db.roomRange->setVisible(t.roomRange);
  db.rhMaxima->setVisible(t.rhMaxima);
  db.airTreatment->setVisible(t.airTreatment);
  db.nominal->setVisible(t.nominal);
  if (t.rhMaxima) {
    db.eaMaxRHUD.Show(upsideDown);
    db.voMaxRHUD.Show(upsideDown);
    db.ciMaxRH.Show(coil);
    db.ciMaxRHUD.Show(coil && upsideDown);
  }

  // The options; the handler shows the first one's details.
  v_dbOptions = d.options;
  {
    const QSignalBlocker block(Lvw_DBOptions);
    Lvw_DBOptions->clear();
    for (int i = 0; i < v_dbOptions.size(); ++i) {
      const LTOptionData& option = v_dbOptions[i];
      auto* row = new QTreeWidgetItem(Lvw_DBOptions, {option.name, Cls_DeviceOption::TypeString(option.type)});
      row->setData(0, Qt::UserRole, option.id);
      row->setData(0, Qt::UserRole + 1, i);
    }
    TBasicDialog::CalculateListColumnWidths(Lvw_DBOptions, 0, false);
    if (Lvw_DBOptions->topLevelItemCount() > 0) Lvw_DBOptions->setCurrentItem(Lvw_DBOptions->topLevelItem(0));
  }
  Lvw_DBOptionsChange();
}

// The details of the option chosen on the Database tab.
void TDlgSelect::Lvw_DBOptionsChange() {
  const QTreeWidgetItem* current = Lvw_DBOptions->currentItem();
  const int index = current ? current->data(0, Qt::UserRole + 1).toInt() : -1;
  const LTOptionData* option = index >= 0 && index < v_dbOptions.size() ? &v_dbOptions[index] : nullptr;
  v_db.optDescription.Set(option ? option->description : QString());
  v_db.optMCA.Set(option ? option->mca : QString());
  v_db.optDimensions.Set(option ? CTUnitDatasheet::Dimensions(option->widthMm, option->heightMm, option->depthMm) : QString());
}
