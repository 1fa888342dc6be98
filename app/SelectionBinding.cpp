// The selection of the main window: its widgets bound to the selection form
// of the selection library. A widget the user changed is read once and its
// value goes to one of the form's setters; the form normalises, runs the
// selection as far as the edit needs and says what changed; the window
// shows it. No range, rule or figure of the selection lives here.
//
// Values set by the program never start a handler (user-only signals), and
// v_converting keeps the fields quiet while they are being set up again.

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
#include "docs/Report.h"
#include "selection/AnnualEnergy.h"
#include "catalogue/ClDeviceOption.h"
#include "catalogue/ClHRX.h"
#include "catalogue/Factory.h"
#include "i18n/BaseMsgMan.h"
#include "i18n/MsgMan.h"
#include "psychro/Rounding.h"
#include "selection/CatalogueSession.h"
#include "selection/InputFields.h"
#include "selection/ProjectFile.h"
#include "selection/SelectionForm.h"
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

}  // namespace

const SelectionResult& TDlgSelect::Result() const {
  static const SelectionResult kNone;
  return v_form ? v_form->Result() : kNone;
}

const SelectionRequest& TDlgSelect::CurrentRequest() const {
  static const SelectionRequest kDefaults;
  return v_form ? v_form->Request() : kDefaults;
}

Cls_HRX* TDlgSelect::CurrentHRX() const { return v_form ? v_form->CurrentUnit() : nullptr; }

const QList<LTOptionRow>& TDlgSelect::OptionRows() {
  static const QList<LTOptionRow> kNone;
  return v_form ? v_form->OptionRows() : kNone;
}

int TDlgSelect::FamilyNumber() const { return CurrentRequest().family; }

QList<std::pair<FormInput, TFrm_UnitTextScroll*>> TDlgSelect::NumberFields() const {
  return {{FormInput::kAltitude, Frm_Altitude},           {FormInput::kAirflowPerPerson, Frm_Airflow},
          {FormInput::kRoomSurface, Frm_RoomSurface},     {FormInput::kAreaPerPerson, Frm_AreaPerPerson},
          {FormInput::kPersons, Frm_NumberOfPersons},     {FormInput::kTotalSupply, Frm_TotalSupply},
          {FormInput::kTotalExhaust, Frm_TotalExhaust},   {FormInput::kSupplyEsp, Frm_DesignSupplyESP},
          {FormInput::kExhaustEsp, Frm_DesignExhaustESP}, {FormInput::kSoundDistance, Frm_SoundDistance},
          {FormInput::kRoomConstant, Frm_RoomConstant}};
}

// ---------------------------------------------------------------- edits

void TDlgSelect::FieldEdited(FormInput nInput, const TFrm_UnitTextScroll* pField) {
  v_dataHaveChanged = true;
  v_form->SetValue(nInput, pField->GetVal());
  // After an airflow or a pressure, the family is the next thing to look at;
  // the fields of other tabs keep the focus on their own tab.
  if (nInput != FormInput::kAltitude && Txt_Family && Tab_Selection->isAncestorOf(pField)) Txt_Family->setFocus();
}

void TDlgSelect::ModeEdited(bool bCooling) {
  v_dataHaveChanged = true;
  v_form->SetMode(bCooling, (bCooling ? Frm_CoolTempConditions : Frm_HeatTempConditions)->Inputs());
}

void TDlgSelect::BasisEdited() {
  v_dataHaveChanged = true;
  v_form->SetBasis(Chk_TotalSupply->isChecked()       ? AirflowBasis::kTotals
                   : RB_NumberOfPersons->isChecked() ? AirflowBasis::kByPersons
                                                     : AirflowBasis::kByArea);
}

void TDlgSelect::ChoiceEdited(FormInput nInput) {
  v_dataHaveChanged = true;
  switch (nInput) {
    case FormInput::kTotalExhaustGiven: return v_form->SetExhaustGiven(Chk_TotalExhaust->isChecked());
    case FormInput::kSupplyFilter: return v_form->SetFilter(true, std::max(0, Txt_SupplyFilter->currentIndex()));
    case FormInput::kExhaustFilter: return v_form->SetFilter(false, std::max(0, Txt_ExhaustFilter->currentIndex()));
    case FormInput::kPlenum:
      return v_form->SetPlenum(Rbn_PlenumAll->isChecked()    ? PlenumArrangement::kAll
                               : Rbn_PlenumOAEA->isChecked() ? PlenumArrangement::kOutdoorExhaust
                                                             : PlenumArrangement::kNone);
    case FormInput::kMaxSpeed: return v_form->SetMaxSpeed(Txt_MaxSpeed->currentData().toInt());
    case FormInput::kEvaporating: return v_form->SetEvaporating(Txt_TETemp->currentData().toDouble());
    case FormInput::kUpsideDown: return v_form->SetUpsideDown(Chb_UpsideDown->isChecked());
    default: return;
  }
}

void TDlgSelect::Txt_FamilyClick() {
  if (!v_form || Txt_Family->currentIndex() < 0) return;
  v_dataHaveChanged = true;
  v_form->SetFamily(Txt_Family->currentData().toInt());
}

void TDlgSelect::LV_SelectedDevicesClick() {
  const QTreeWidgetItem* row = LV_SelectedDevices->currentItem();
  if (!v_form || !row) return;
  v_form->SetCandidate(row->data(0, Qt::UserRole).toInt());
}

// ---------------------------------------------------------------- set-up

void TDlgSelect::RefillTETemp() {
  TDlgForm::Load();
  const QSignalBlocker block(Txt_TETemp);
  Txt_TETemp->clear();
  for (const double te : CTCoilCapacity::kOfferedTEs) {
    QString text = ValueText::Dimensioned(te, U_Temperature);
    if (te == CTCoilCapacity::kOfferedTEs.front()) text += QStringLiteral(" (") + TBaseMsg::GetUnicodeString(kMsgDefault) + QLatin1Char(')');
    Txt_TETemp->addItem(text, te);
  }
}

// A field set up from what the form says of its input: range, resolution
// (the ESPs count hundredths in inches of water) and value.
void TDlgSelect::SetUpField(FormInput nInput, TFrm_UnitTextScroll* pField) {
  const LTFormInputState state = v_form->State(nInput);
  const CTInputFields::Field field = CTSelectionForm::FieldOf(nInput);
  pField->SetupWindow([this, nInput, pField] { FieldEdited(nInput, pField); }, CTInputFields::Spec(field).unit,
                      Rounding::HalfEvenInt(state.min), Rounding::HalfEvenInt(state.max),
                      Rounding::HalfEvenInt(std::clamp(state.value, state.min, state.max)),
                      CTResultTexts::FieldResolution(field));
  if (!state.enabled) pField->EnableIt(false);
  pField->SetVal(state.value);
}

void TDlgSelect::InitSelection() {
  if (!v_form) {
    v_form = std::make_unique<CTSelectionForm>(*v_session);
    v_form->AddListener([this](unsigned changes) { FormChanged(changes); });
  }
  v_converting = true;
  Frm_NumberOfPersons->SetDim(QString());
  Frm_CoolTempConditions->SetupWindow(true, [this] { ModeEdited(true); }, v_air.get());
  Frm_HeatTempConditions->SetupWindow(false, [this] { ModeEdited(false); }, v_air.get());
  // Each point gets the title of its own name.
  for (TFrm_AirConditions* frame : {Frm_CoolAirConditions, Frm_HeatAirConditions})
    frame->SetupWindow(TBaseMsg::Tr(QStringLiteral("Room Air (RA)")), TBaseMsg::Tr(QStringLiteral("Exhaust Air (EA)")),
                       TBaseMsg::Tr(QStringLiteral("Outdoor Air (OA)")), TBaseMsg::Tr(QStringLiteral("Supply Air (SA)")),
                       TBaseMsg::Tr(QStringLiteral("Ventilation In (VI)")), TBaseMsg::Tr(QStringLiteral("Ventilation Out (VO)")),
                       TBaseMsg::Tr(QStringLiteral("Coil In (CI)")), TBaseMsg::Tr(QStringLiteral("Humidifier In (HI)")));
  RefillTETemp();
  v_converting = false;
  v_form->Reset(Txt_Family->currentIndex() >= 0 ? Txt_Family->currentData().toInt() : 0);
}

void TDlgSelect::ApplyPreferences() {
  if (v_form) v_form->PreferencesChanged();
  else ShowInNewUnits();
}

void TDlgSelect::ShowInNewUnits() {
  // Every field shows its value in the new unit; no value changes and
  // nothing is run.
  v_converting = true;
  for (TFrm_UnitTextScroll* field : findChildren<TFrm_UnitTextScroll*>()) field->ConvertUnit();
  // The ESPs count hundredths in inches of water, tenths of Pa.
  if (v_form) {
    SetUpField(FormInput::kSupplyEsp, Frm_DesignSupplyESP);
    SetUpField(FormInput::kExhaustEsp, Frm_DesignExhaustESP);
  }
  v_converting = false;
  v_deltaEnthalpy = CTSelectionRun::EnthalpyDisplayOffset();
  // The current unit's results and the active page in the new units.
  if (CurrentHRX()) ShowUnit();
  else Ctl_PagesChange();
}

// ---------------------------------------------------------------- showing the form

void TDlgSelect::FormChanged(unsigned nChanges) {
  if (nChanges & CTSelectionForm::kDisplay) ShowInNewUnits();
  if (nChanges & CTSelectionForm::kReset) ShowConditions();
  if (nChanges & CTSelectionForm::kRanges) ShowFamily();
  if (nChanges & CTSelectionForm::kInputs) ShowInputs();
  // The year's inputs run no selection, yet the year and the order by it
  // change; a new list or unit brings both anyway.
  const bool annualChanged = ShowAnnualInputs();
  if (nChanges & CTSelectionForm::kCandidates) ShowCandidates();
  else if (annualChanged && Chk_OrderByNet->isChecked()) FillCandidateList();
  if (nChanges & CTSelectionForm::kCorrected) {
    const LTConditionCorrection& correction = *v_form->Correction();
    (correction.cooling ? Frm_CoolTempConditions : Frm_HeatTempConditions)->ApplyCorrection(correction.field, correction.toC);
    ClearResults();
    return TBaseMsg::DisplayError(this, correction.message);
  }
  if (nChanges & CTSelectionForm::kUnit) ShowUnit();
  else if (annualChanged) AnnualOutOfDate();
}

// The conditions of both modes as the form holds them (a new selection or
// a project opened).
void TDlgSelect::ShowConditions() {
  v_converting = true;
  v_air->SetAltitude(CurrentRequest().altitudeM);
  Frm_CoolTempConditions->ShowInputs(CurrentRequest().cooling);
  Frm_HeatTempConditions->ShowInputs(CurrentRequest().heating);
  v_converting = false;
}

// What the family has: its ranges, speed types and the panels and tabs of
// its inputs and results.
void TDlgSelect::ShowFamily() {
  v_converting = true;
  const int family = FamilyNumber();
  const LTFamilyTraits traits = CTSelectionForm::Traits(family);
  {
    const QSignalBlocker block(Txt_Family);
    Txt_Family->setCurrentIndex(Txt_Family->findData(family));
  }
  for (const auto& [input, field] : NumberFields()) SetUpField(input, field);
  {
    const QSignalBlocker block(Txt_MaxSpeed);
    Txt_MaxSpeed->clear();
    for (const LTSpeedTypeItem& type : v_form->Ranges().speedTypes) Txt_MaxSpeed->addItem(type.name, type.id);
  }
  Pnl_MaxSpeed->setVisible(v_form->State(FormInput::kMaxSpeed).visible);
  Pnl_TETemp->setVisible(v_form->State(FormInput::kEvaporating).visible);
  Pnl_ExhaustData->setVisible(traits.exhaustInputs);
  Pnl_ExhaustESP->setVisible(traits.exhaustInputs);
  Pnl_SupplyFilter->setVisible(traits.filters);
  Pnl_ExhaustFilter->setVisible(traits.filters);
  Frm_CoolTempConditions->SetFamily(traits);
  Frm_HeatTempConditions->SetFamily(traits);
  Frm_QuilloProps->setVisible(traits.capacities);
  if (family == Cls_HRX::kCoilUnit) Frm_QuilloProps->SetupWindow(TBaseMsg::Tr(QStringLiteral("HRD Selection Criteria")), false);
  if (family == Cls_HRX::kFreshAirUnit) Frm_QuilloProps->SetupWindow(TBaseMsg::Tr(QStringLiteral("DQTL-MF Selection Criteria")), true);
  Ctl_Pages->setTabVisible(Ctl_Pages->indexOf(Tab_Efficiencies), traits.exhaustInputs);
  Ctl_Pages->setTabVisible(Ctl_Pages->indexOf(Tab_EffCorrect), traits.exhaustInputs);
  Ctl_Pages->setTabVisible(Ctl_Pages->indexOf(Tab_Configuration), traits.drawing);
  Frm_CoolAirConditions->SetFamily(family, false, true);
  Frm_HeatAirConditions->SetFamily(family, false, false);
  v_converting = false;
}

// Every input of the Selection tab as the form holds it.
void TDlgSelect::ShowInputs() {
  v_converting = true;
  for (const auto& [input, field] : NumberFields()) {
    const LTFormInputState state = v_form->State(input);
    // Enabling puts a field's default in: the form's value follows.
    if (field->Edit()->isEnabled() != state.enabled) field->EnableIt(state.enabled);
    field->SetVal(state.value);
  }
  const SelectionRequest& r = CurrentRequest();
  const bool totals = r.basis == AirflowBasis::kTotals;
  const bool persons = v_form->State(FormInput::kBasis).value != 0;
  Chk_TotalSupply->setChecked(totals);
  (persons ? RB_NumberOfPersons : RB_AreaPerPerson)->setChecked(true);
  RB_AreaPerPerson->setEnabled(!totals);
  RB_NumberOfPersons->setEnabled(!totals);
  Chk_TotalExhaust->setChecked(r.exhaustGiven);
  Txt_SupplyFilter->setCurrentIndex(r.supplyFilter);
  Txt_ExhaustFilter->setCurrentIndex(r.exhaustFilter);
  (r.plenum == PlenumArrangement::kAll              ? Rbn_PlenumAll
   : r.plenum == PlenumArrangement::kOutdoorExhaust ? Rbn_PlenumOAEA
                                                    : Rbn_PlenumNone)
      ->setChecked(true);
  Txt_MaxSpeed->setCurrentIndex(Txt_MaxSpeed->findData(int(v_form->State(FormInput::kMaxSpeed).value)));
  Txt_TETemp->setCurrentIndex(std::max(0, Txt_TETemp->findData(r.evaporatingC)));
  Chb_UpsideDown->setChecked(r.upsideDown);
  v_air->SetAltitude(r.altitudeM);
  v_converting = false;
}

// ---------------------------------------------------------------- the run

void TDlgSelect::ShowCandidates() {
  const SelectionResult& result = Result();
  // The drawings ask for the unit when they paint; the old one is gone.
  RedrawConfigWindow();
  FillCandidateList();
  Pnl_SelPlenum->setVisible(v_form->State(FormInput::kPlenum).visible);
  if (result.candidates.IsEmpty()) {
    ClearResults();
    TBaseMsg::DisplayError(this, result.selectionMessage);
  }
}

void TDlgSelect::FillCandidateList() {
  const SelectionResult& result = Result();
  // The list is refilled by the program: no click handler on the way.
  const QSignalBlocker blockList(LV_SelectedDevices);
  LV_SelectedDevices->clear();
  // The run's order, or the ranking's, when the year can be worked out;
  // each row keeps its index in the run.
  const bool byNet = Chk_OrderByNet->isChecked();
  QList<int> order;
  QStringList netTexts(result.rows.size());
  LTClimate climate;
  QString why;
  if (byNet && !result.rows.isEmpty() && CTAnnualEnergy::LoadClimate(CurrentRequest().annual.climate, climate, why)) {
    for (const LTRankedCandidate& c : CTAnnualEnergy::Rank(result, CurrentRequest(), climate)) {
      order << c.index;
      netTexts[c.index] = TBaseMsg::FormatShown(c.year.netKWh, CTReport::kAnnualDigits);
    }
  }
  if (order.size() != result.rows.size()) {
    order.clear();
    for (int i = 0; i < result.rows.size(); ++i) order << i;
  }
  bool anyPlenum = false;
  for (const int i : order) {
    const LTCandidate& c = result.rows[i];
    anyPlenum = anyPlenum || c.hasPlenum;
    auto* row = new QTreeWidgetItem(LV_SelectedDevices, {c.name, c.supplySpeed, c.exhaustSpeed,
                                                         c.hasPlenum ? QStringLiteral("✔") : QString(), netTexts[i]});
    row->setTextAlignment(3, Qt::AlignCenter);
    row->setTextAlignment(kNetColumn, Qt::AlignRight | Qt::AlignVCenter);
    row->setData(0, Qt::UserRole, i);
  }
  TBasicDialog::CalculateListColumnWidths(LV_SelectedDevices, 0, false);
  if (!anyPlenum) LV_SelectedDevices->setColumnWidth(3, 0);
  LV_SelectedDevices->setColumnHidden(kNetColumn, !byNet);
  if (order.isEmpty()) return;
  const int current = std::clamp(CurrentRequest().candidate, 0, int(order.size()) - 1);
  LV_SelectedDevices->setCurrentItem(LV_SelectedDevices->topLevelItem(int(order.indexOf(current))));
}

void TDlgSelect::ClearResults() {
  v_resultsStale = false;
  // The option rows belong to the unit that was current.
  if (Lvw_AvailOptions) ShowOptionRows(true);
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
  ClearEcodesign();
  ClearAnnual();
  for (QWidget* button : {Btn_ResultOnlineInfo, Btn_DBOnlineInfo}) button->hide();
}

// The condition frames offer what the unit has: its discharge settings
// and the one it runs at, its heater options and each mode's inlet heater
// choice as the form resolved it on the unit.
void TDlgSelect::PrepareConditionFrames(Cls_HRX& unit) {
  const SelectionRequest& r = CurrentRequest();
  if (CTSelectionForm::Traits(FamilyNumber()).discharge) {
    for (const bool cooling : {true, false}) {
      const LTFormInputState range = v_form->State(cooling ? FormInput::kCoolDischarge : FormInput::kHeatDischarge);
      (cooling ? Frm_CoolTempConditions : Frm_HeatTempConditions)
          ->ShowDischarge(Rounding::HalfEvenInt(range.min), Rounding::HalfEvenInt(range.max),
                          CTSelectionRun::FreshAirDischarge(unit, cooling ? r.cooling : r.heating, cooling));
    }
  }
  const QList<LTHeaterOption> heaterOptions = CTSelectionRun::HeaterOptions(unit);
  Frm_CoolTempConditions->SetupInlet(heaterOptions, r.cooling);
  Frm_HeatTempConditions->SetupInlet(heaterOptions, r.heating);
}

// The current unit as the form computed it.
void TDlgSelect::ShowUnit() {
  ClearResults();
  Cls_HRX* unit = CurrentHRX();
  if (!unit) return;
  PrepareConditionFrames(*unit);
  const SelectionResult& result = Result();
  Chb_UpsideDown->setVisible(v_form->State(FormInput::kUpsideDown).visible);
  Txt_ResultSelectedDevice->setText(result.unitName);
  ShowOnlineInfoButtons();
  ShowDuctData();
  ShowCooling();
  if (result.cooling.Succeeded()) ShowHeating();
  // The Results tab's air states and figures wait until it is shown.
  v_resultsStale = true;
  if (Ctl_Pages->currentWidget() == Tab_Results) {
    FillResults();
    FillOptions();
  }
  if (Ctl_Pages->currentWidget() == Tab_Database) FillDatabaseTab();
  // The Ecodesign and Sound and the Annual Energy tabs likewise.
  v_ecodesignStale = true;
  if (Ctl_Pages->currentWidget() == Tab_Ecodesign) FillEcodesign();
  AnnualOutOfDate();
  RefreshChartPage();
  RedrawConfigWindow();
  Frm_Config->update();
}

void TDlgSelect::ShowDuctData() {
  const SelectionResult& r = Result();
  const int family = r.family;
  const LTFamilyTraits traits = CTSelectionForm::Traits(family);
  Box_Ratios->setVisible(traits.exhaustInputs);
  Pnl_SNHRDRatio->setVisible(traits.coilRatio);
  Txt_ESRatio->setText(std::isfinite(r.exhaustSupplyRatio) ? TBaseMsg::FormatShown(r.exhaustSupplyRatio, 2) : QString());
  Txt_SNRatio->setText(std::isfinite(r.supplyNominalRatio) ? TBaseMsg::FormatShown(r.supplyNominalRatio, 2) : QString());
  // Filter and plenum rows belong to the plain family, on both sides.
  Pnl_FilterData->setVisible(traits.filters);
  Pnl_ExhaustFilterData->setVisible(traits.filters);
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

// A mode on the Selection tab: the heaters it calculated in its condition
// frame, or why it failed.
void TDlgSelect::ShowCooling() {
  const LTModeResult& m = Result().cooling;
  if (m.computed && (m.code == 0 || m.code == TFrm_TempConditions::kInletTooSmall))
    Frm_CoolTempConditions->SetCalculatedHeaters(m.inletHeater.CalcHeater, 0);
  if (!m.Succeeded()) {
    Frm_CoolTempConditions->FocusHeaterChoice(m.code);
    return TBaseMsg::DisplayError(this, m.message);
  }
  const LTFamilyLayout layout = CTResultTexts::Layout(Result().family, Result().hasHumidifier, true);
  if (layout.capacities) Frm_QuilloProps->FillCoolFields(m.totalCapKW, layout.sensibleCapacity ? m.sensibleCapKW : 0);
}

void TDlgSelect::ShowHeating() {
  const LTModeResult& m = Result().heating;
  if (m.computed && (m.code == 0 || m.code == TFrm_TempConditions::kInletTooSmall ||
                     m.code == TFrm_TempConditions::kSupplyTooSmall))
    Frm_HeatTempConditions->SetCalculatedHeaters(m.inletHeater.CalcHeater, m.supplyHeater.CalcHeater);
  if (!m.Succeeded()) {
    Frm_HeatTempConditions->FocusHeaterChoice(m.code);
    return TBaseMsg::DisplayError(this, m.message);
  }
  if (CTSelectionForm::Traits(Result().family).capacities) Frm_QuilloProps->FillHeatFields(m.heatCapKW);
}

// The Results tab: the air states and figures of the modes computed.
void TDlgSelect::FillResults() {
  if (!v_resultsStale) return;
  v_resultsStale = false;
  const SelectionResult& result = Result();
  if (!result.Current()) return;
  const int family = result.family;
  Frm_CoolAirConditions->SetFamily(family, false, true);
  Frm_CoolResultData->SetupWindow(family, false, true);
  Frm_HeatAirConditions->SetFamily(family, result.hasHumidifier, false);
  Frm_HeatResultData->SetupWindow(family, result.hasHumidifier, false);
  for (const bool cooling : {true, false}) {
    const LTModeResult& m = cooling ? result.cooling : result.heating;
    if (!m.Succeeded()) break;  // a failure in cooling leaves heating uncomputed
    (cooling ? Frm_CoolAirConditions : Frm_HeatAirConditions)->SetPsychroVals(*v_air, v_deltaEnthalpy, m.states);
    TFrm_ResultData* data = cooling ? Frm_CoolResultData : Frm_HeatResultData;
    data->FillFields(m.temperatureEff, m.enthalpyEff, m.latentSavingsKW, m.sensibleSavingsKW, m.supplyTempC,
                     cooling ? 0 : m.humidificationKgh, m.ambientLimitC, m.inletHeater, m.supplyHeater);
    data->SetNotes(m.notes);
  }
}

TFrm_AirConditions* TDlgSelect::CoolAirConditions() {
  FillResults();
  return Frm_CoolAirConditions;
}
TFrm_AirConditions* TDlgSelect::HeatAirConditions() {
  FillResults();
  return Frm_HeatAirConditions;
}
TFrm_ResultData* TDlgSelect::CoolResultData() {
  FillResults();
  return Frm_CoolResultData;
}
TFrm_ResultData* TDlgSelect::HeatResultData() {
  FillResults();
  return Frm_HeatResultData;
}
QWidget* TDlgSelect::EcodesignPage() {
  FillEcodesign();
  return Tab_Ecodesign;
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
  const CTChartSetup::LTPointData d = CTChartSetup::PointData(Result().altitudeM, nDbt, nAH);
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
  if (!row || !CurrentHRX()) {
    ClearResults();
    if (page != Tab_Selection && page != Tab_Psychrometrics) ShowPage(Tab_Selection);
    RefreshChartPage();
    return;
  }
  if (page == Tab_Database) FillDatabaseTab();
  if (page == Tab_Ecodesign) FillEcodesign();
  if (page == Tab_Annual) FillAnnual();
  if (page == Tab_Results) {
    FillResults();
    FillOptions();
  }
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
          s, z, Result(), cooling, [this](double dbt, double ah) { ShowPointData(dbt, ah); },
          [this] { PB_PsyGraph->Redraw(); });
    });
  }
  if (page == Tab_Fan)
    PB_ESPGraph->SetBuilder([this](IDrawSurface& s, QSize z) { return CTChartSetup::FanGraph(s, z, Result()); }, true,
                            false);
  if (page == Tab_Efficiencies)
    PB_EffGraph->SetBuilder([this](IDrawSurface& s, QSize z) { return CTChartSetup::EfficiencyGraph(s, z, Result()); },
                            true, true);
  if (page == Tab_EffCorrect)
    PB_EffCorrect->SetBuilder(
        [this](IDrawSurface& s, QSize z) {
          return CTChartSetup::CorrectionGraph(s, z, Result(), v_session->Factory().RatioCorrections());
        },
        false, false);
}

void TDlgSelect::FillDatabaseTab() {
  if (!CurrentHRX()) return;
  const LTDatasheet d = CTUnitDatasheet::Read(*v_session, *CurrentHRX());
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
