#include "app/FrameTempConditions.h"

#include "app/ValueText.h"
#include "catalogue/ClHRX.h"
#include "i18n/BaseMsgMan.h"
#include "i18n/MsgMan.h"
#include "psychro/Air.h"
#include "psychro/Rounding.h"
#include "selection/InputFields.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <cmath>

namespace {

enum HumidityItem { kRelativeHumidity = 0, kWetBulb = 1 };
enum InletChoice { kCalculatedInlet = 0, kUserInlet = 1, kInletOption = 2 };
enum SupplyChoice { kCalculatedSupply = 0, kUserSupply = 1 };
constexpr int kMsgCalculatedInlet = 28, kMsgInletOption = 34, kMsgUserInlet = 39, kMsgInletHeater = 33,
              kMsgSupplyHeater = 36;

QComboBox* NewCombo(QWidget* pParent, const char* szName, const QStringList& items) {
  auto* combo = new QComboBox(pParent);
  combo->setObjectName(QString::fromLatin1(szName));
  combo->addItems(items);
  return combo;
}

TFrm_UnitTextScroll* NewField(QWidget* pParent, const char* szName) {
  auto* field = new TFrm_UnitTextScroll(pParent);
  field->setObjectName(QString::fromLatin1(szName));
  return field;
}

QLabel* NewLabel(QWidget* pParent, const char* szName, const char* szCaption) {
  auto* label = new QLabel(QString::fromUtf8(szCaption), pParent);
  label->setObjectName(QString::fromLatin1(szName));
  return label;
}

}  // namespace

TFrm_TempConditions::TFrm_TempConditions(QWidget* pParent) : QWidget(pParent) {
  TDlgForm::Load();
  const QStringList humidityItems{QStringLiteral("Relative humidity"), QStringLiteral("Wet bulb temperature")};
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);

  Box_RoomAir = new QGroupBox(QStringLiteral("Room Air Conditions (RA)"), this);
  Box_RoomAir->setObjectName(QStringLiteral("Box_RoomAir"));
  auto* room = new QGridLayout(Box_RoomAir);
  room->addWidget(NewLabel(Box_RoomAir, "Lbl_RoomDBT", "Dry bulb temperature"), 0, 0);
  room->addWidget(Frm_RoomDBT = NewField(Box_RoomAir, "Frm_RoomDBT"), 0, 1);
  room->addWidget(Lbl_RoomRH = NewCombo(Box_RoomAir, "Lbl_RoomRH", humidityItems), 1, 0);
  room->addWidget(Frm_RoomRH = NewField(Box_RoomAir, "Frm_RoomRH"), 1, 1);
  outer->addWidget(Box_RoomAir);

  Box_AmbientAir = new QGroupBox(QStringLiteral("Ambient Air Conditions (OA)"), this);
  Box_AmbientAir->setObjectName(QStringLiteral("Box_AmbientAir"));
  auto* ambient = new QGridLayout(Box_AmbientAir);
  ambient->addWidget(NewLabel(Box_AmbientAir, "Lbl_AmbientDbt", "Dry bulb temperature"), 0, 0);
  ambient->addWidget(Frm_AmbientDbt = NewField(Box_AmbientAir, "Frm_AmbientDbt"), 0, 1);
  ambient->addWidget(Lbl_AmbientRH = NewCombo(Box_AmbientAir, "Lbl_AmbientRH", humidityItems), 1, 0);
  ambient->addWidget(Frm_AmbientRH = NewField(Box_AmbientAir, "Frm_AmbientRH"), 1, 1);
  outer->addWidget(Box_AmbientAir);

  Box_Discharge = new QGroupBox(QStringLiteral("Discharge Temperature Setting"), this);
  Box_Discharge->setObjectName(QStringLiteral("Box_Discharge"));
  auto* discharge = new QGridLayout(Box_Discharge);
  discharge->addWidget(NewLabel(Box_Discharge, "Lbl_Discharge", "Temperature"), 0, 0);
  discharge->addWidget(Frm_Discharge = NewField(Box_Discharge, "Frm_Discharge"), 0, 1);
  outer->addWidget(Box_Discharge);

  Box_ElectricHeaters = new QGroupBox(QStringLiteral("Electric Heaters"), this);
  Box_ElectricHeaters->setObjectName(QStringLiteral("Box_ElectricHeaters"));
  auto* heaters = new QGridLayout(Box_ElectricHeaters);
  Lbl_Inletheater = NewCombo(Box_ElectricHeaters, "Lbl_Inletheater",
                             {TBaseMsg::GetUnicodeString(kMsgCalculatedInlet), TBaseMsg::GetUnicodeString(kMsgUserInlet)});
  heaters->addWidget(Lbl_Inletheater, 0, 0);
  heaters->addWidget(Frm_InletHeater = NewField(Box_ElectricHeaters, "Frm_InletHeater"), 0, 1);
  Txt_HeaterOptions = NewCombo(Box_ElectricHeaters, "Txt_HeaterOptions", {});
  heaters->addWidget(Txt_HeaterOptions, 0, 1);  // on the row of the inlet field
  heaters->addWidget(Lbl_CalcInlet = NewLabel(Box_ElectricHeaters, "Lbl_CalcInlet", "Calculated inlet heater"), 1, 0);
  heaters->addWidget(Txt_CalcInlet = ValueText::NewValueLabel(Box_ElectricHeaters, QStringLiteral("Txt_CalcInlet")), 1, 1);

  Pnl_SupplyTemp = new QWidget(Box_ElectricHeaters);
  Pnl_SupplyTemp->setObjectName(QStringLiteral("Pnl_SupplyTemp"));
  auto* supplyTemp = new QGridLayout(Pnl_SupplyTemp);
  supplyTemp->setContentsMargins(0, 0, 0, 0);
  Chk_SupplyTemp = new QCheckBox(QStringLiteral("Supply temp."), Pnl_SupplyTemp);
  Chk_SupplyTemp->setObjectName(QStringLiteral("Chk_SupplyTemp"));
  supplyTemp->addWidget(Chk_SupplyTemp, 0, 0);
  supplyTemp->addWidget(Frm_SupplyTemp = NewField(Pnl_SupplyTemp, "Frm_SupplyTemp"), 0, 1);
  heaters->addWidget(Pnl_SupplyTemp, 2, 0, 1, 2);

  Pnl_SupplyHeater = new QWidget(Box_ElectricHeaters);
  Pnl_SupplyHeater->setObjectName(QStringLiteral("Pnl_SupplyHeater"));
  auto* supplyHeater = new QGridLayout(Pnl_SupplyHeater);
  supplyHeater->setContentsMargins(0, 0, 0, 0);
  Lbl_SupplyHeater = NewCombo(Pnl_SupplyHeater, "Lbl_SupplyHeater",
                              {QStringLiteral("Calculated supply"), QStringLiteral("User defined supply")});
  supplyHeater->addWidget(Lbl_SupplyHeater, 0, 0);
  supplyHeater->addWidget(Frm_SupplyHeater = NewField(Pnl_SupplyHeater, "Frm_SupplyHeater"), 0, 1);
  supplyHeater->addWidget(Lbl_CalcSupply = NewLabel(Pnl_SupplyHeater, "Lbl_CalcSupply", "Calculated supply heater"), 1, 0);
  supplyHeater->addWidget(Txt_CalcSupply = ValueText::NewValueLabel(Pnl_SupplyHeater, QStringLiteral("Txt_CalcSupply")), 1, 1);
  heaters->addWidget(Pnl_SupplyHeater, 3, 0, 1, 2);
  outer->addWidget(Box_ElectricHeaters);
  outer->addStretch(1);

  // The heater choices change their items after the first layout (the
  // option entry comes and goes with the unit, the glossary puts its
  // longer captions in): each box's size hint follows its longest item, and
  // the layouts may widen a box beyond that hint but never narrow it, so no
  // item is cut.
  for (QComboBox* combo : {Lbl_Inletheater, Txt_HeaterOptions, Lbl_SupplyHeater}) {
    combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    combo->setSizePolicy(QSizePolicy::Minimum, combo->sizePolicy().verticalPolicy());
  }

  // Only the user's choices run the handlers (activated, not currentIndexChanged).
  connect(Lbl_RoomRH, &QComboBox::activated, this, [this] { HumidityModeChanged(Lbl_RoomRH, Frm_RoomRH, Frm_RoomDBT, true); });
  connect(Lbl_AmbientRH, &QComboBox::activated, this,
          [this] { HumidityModeChanged(Lbl_AmbientRH, Frm_AmbientRH, Frm_AmbientDbt, false); });
  connect(Lbl_Inletheater, &QComboBox::activated, this, [this] { Lbl_InletheaterClick(); });
  connect(Lbl_SupplyHeater, &QComboBox::activated, this, [this] { Lbl_SupplyHeaterClick(); });
  connect(Txt_HeaterOptions, &QComboBox::activated, this, [this] {
    v_InletHeater = Txt_HeaterOptions->currentData().toDouble();
    ChangeOnExit();
  });
  connect(Chk_SupplyTemp, &QCheckBox::clicked, this, [this] { Chk_SupplyTempClick(); });
}

QComboBox* TFrm_TempConditions::Combo(const QString& szName) const { return findChild<QComboBox*>(szName); }

void TFrm_TempConditions::SetupWindow(bool IsCooling, std::function<void()> HandleChanges, const TAir* Air) {
  v_IsCooling = IsCooling;
  v_HandleChanges = std::move(HandleChanges);
  v_Air = Air;
  InitFields();
}

void TFrm_TempConditions::ClearFields() {
  for (TFrm_UnitTextScroll* field : findChildren<TFrm_UnitTextScroll*>()) field->ClearVal();
  const QSignalBlocker blockInlet(Lbl_Inletheater), blockSupply(Lbl_SupplyHeater);
  while (Lbl_Inletheater->count() > 2) Lbl_Inletheater->removeItem(2);
  Lbl_Inletheater->setCurrentIndex(kCalculatedInlet);
  Lbl_SupplyHeater->setCurrentIndex(kCalculatedSupply);
  v_InletIndex = v_SupplyIndex = 0;
  v_InletHeater = v_SupplyHeater = 0;
  Txt_CalcInlet->clear();
  Txt_CalcSupply->clear();
  Chk_SupplyTemp->setChecked(false);
}

void TFrm_TempConditions::InitFields() {
  ClearFields();
  v_InTreatment = false;
  const auto changed = [this] { ChangeOnExit(); };
  using F = CTInputFields;
  const auto setUp = [&changed](TFrm_UnitTextScroll* field, F::Field spec) {
    const LTInputField& f = F::Spec(spec);
    field->SetupWindow(changed, f.unit, int(f.min), int(f.max), int(f.init), f.resolution);
    if (f.unit == U_None && spec == F::kRelativeHumidity) field->SetDim(QStringLiteral("%"));
  };
  // The defaults of the mode: the cooling room's humidity as a wet bulb.
  setUp(Frm_RoomDBT, v_IsCooling ? F::kCoolRoomDryBulb : F::kHeatRoomDryBulb);
  Lbl_RoomRH->setCurrentIndex(v_IsCooling ? kWetBulb : kRelativeHumidity);
  setUp(Frm_RoomRH, v_IsCooling ? F::kRoomWetBulb : F::kRelativeHumidity);
  setUp(Frm_AmbientDbt, v_IsCooling ? F::kCoolOutdoorDryBulb : F::kHeatOutdoorDryBulb);
  setUp(Frm_Discharge, v_IsCooling ? F::kCoolDischarge : F::kHeatDischarge);
  Lbl_RoomRH->setProperty("mode", Lbl_RoomRH->currentIndex());
  Lbl_AmbientRH->setCurrentIndex(kRelativeHumidity);
  Lbl_AmbientRH->setProperty("mode", kRelativeHumidity);
  setUp(Frm_AmbientRH, F::kRelativeHumidity);
  const LTInputField& heater = F::Spec(F::kHeater);
  Frm_InletHeater->SetupWindow([this] { ChangeOnExit(); }, heater.unit, int(heater.min), int(heater.max), int(heater.init), heater.resolution);
  Frm_InletHeater->setVisible(false);
  setUp(Frm_SupplyHeater, F::kHeater);
  Frm_SupplyHeater->setVisible(false);
  setUp(Frm_SupplyTemp, F::kSupplyTemp);
  Frm_SupplyTemp->EnableIt(false);
  Txt_HeaterOptions->setVisible(false);
}

void TFrm_TempConditions::SetFamily(const LTFamilyTraits& family) {
  Box_Discharge->setVisible(family.discharge);
  Box_ElectricHeaters->setVisible(true);
  const bool supplyPanels = family.supplyHeater && !v_IsCooling;
  Pnl_SupplyTemp->setVisible(supplyPanels);
  Pnl_SupplyHeater->setVisible(supplyPanels);
}

void TFrm_TempConditions::ShowDischarge(int MinDischarge, int MaxDischarge, double nDischargeC) {
  if (MinDischarge != Frm_Discharge->GetMinVal() || MaxDischarge != Frm_Discharge->GetMaxVal())
    Frm_Discharge->SetupWindow([this] { ChangeOnExit(); }, U_Temperature, MinDischarge, MaxDischarge, MaxDischarge, 10);
  Frm_Discharge->SetVal(nDischargeC);
}

// ---------------------------------------------------------------- humidity modes

void TFrm_TempConditions::SetupHumidityField(QComboBox* pCombo, TFrm_UnitTextScroll* pField,
                                             TFrm_UnitTextScroll* pDryBulb, bool bRoom, double nValue) {
  Q_UNUSED(pDryBulb);
  const auto changed = [this] { ChangeOnExit(); };
  const bool wetBulb = pCombo->currentIndex() == kWetBulb;
  const CTInputFields::Field field = wetBulb ? bRoom ? CTInputFields::kRoomWetBulb : CTInputFields::kOutdoorWetBulb
                                             : CTInputFields::kRelativeHumidity;
  const LTInputField& f = CTInputFields::Spec(field);
  pField->SetupWindow(changed, f.unit, int(f.min), int(f.max), Rounding::HalfEvenInt(nValue), f.resolution);
  if (!wetBulb) pField->SetDim(QStringLiteral("%"));
  // A converted value at the field's resolution (a wet bulb in tenths, not
  // rounded to the whole degree the field starts from).
  pField->SetVal(CTInputFields::Stored(field, nValue));
  pCombo->setProperty("mode", pCombo->currentIndex());
}

void TFrm_TempConditions::HumidityModeChanged(QComboBox* pCombo, TFrm_UnitTextScroll* pField,
                                              TFrm_UnitTextScroll* pDryBulb, bool bRoom) {
  const int previous = pCombo->property("mode").toInt();
  if (previous == pCombo->currentIndex() || !v_Air) return;
  const double dryBulb = pDryBulb->GetVal();
  const double converted = pCombo->currentIndex() == kWetBulb ? v_Air->ConvertDBRH2WB(dryBulb, pField->GetVal())
                                                              : v_Air->ConvertDBWB2RH(dryBulb, pField->GetVal());
  SetupHumidityField(pCombo, pField, pDryBulb, bRoom, converted);
  ChangeOnExit();
}

// ---------------------------------------------------------------- selection in and out

void TFrm_TempConditions::ShowHumidityAs(bool bRoom, HumidityMode nMode) {
  QComboBox* combo = bRoom ? Lbl_RoomRH : Lbl_AmbientRH;
  const int item = nMode == HumidityMode::kWetBulb ? kWetBulb : kRelativeHumidity;
  if (combo->currentIndex() == item) return;
  const QSignalBlocker block(combo);
  combo->setCurrentIndex(item);
  // The value follows (SetSelection); the field's range and unit change now.
  const LTInputField& field = CTInputFields::Spec(
      item == kRelativeHumidity ? CTInputFields::kRelativeHumidity
                                : bRoom ? CTInputFields::kRoomWetBulb : CTInputFields::kOutdoorWetBulb);
  SetupHumidityField(combo, bRoom ? Frm_RoomRH : Frm_AmbientRH, bRoom ? Frm_RoomDBT : Frm_AmbientDbt, bRoom, field.init);
}

void TFrm_TempConditions::ShowInputs(const LTModeInputs& m) {
  const bool treating = v_InTreatment;
  v_InTreatment = true;
  ShowHumidityAs(true, m.room.humidityMode);
  ShowHumidityAs(false, m.outdoor.humidityMode);
  // Every value as the selection holds it: a humidity in the way it was given.
  Frm_RoomDBT->SetVal(m.room.dryBulbC);
  Frm_RoomRH->SetVal(m.room.humidity);
  Frm_AmbientDbt->SetVal(m.outdoor.dryBulbC);
  Frm_AmbientRH->SetVal(m.outdoor.humidity);
  ShowHeaters(m.inletHeater == HeaterChoice::kUserValue ? m.inletHeaterKW : 0, m.supplyTempGiven ? m.supplyTempC : 0,
              m.supplyHeater == HeaterChoice::kUserValue ? m.supplyHeaterKW : 0);
  // An option shows once the unit's options are set up.
  if (m.dischargeGiven) Frm_Discharge->SetVal(m.dischargeC);
  v_InTreatment = treating;
}

void TFrm_TempConditions::ShowHeaters(double UserInletHeater, double UserSupplyTemp, double UserSupplyHeater) {
  const QSignalBlocker blockInlet(Lbl_Inletheater), blockSupply(Lbl_SupplyHeater);
  // A size restored is the user's own: the frame does not trade it for an
  // option that covers it (a project's option comes back by TakeHeaterOption).
  v_InletHeater = 0;
  if (UserInletHeater > 0) {
    Lbl_Inletheater->setCurrentIndex(kUserInlet);
    v_InletIndex = kUserInlet;
    Frm_InletHeater->setVisible(true);
    Frm_InletHeater->SetVal(UserInletHeater);
  } else {
    Lbl_Inletheater->setCurrentIndex(kCalculatedInlet);
    v_InletIndex = kCalculatedInlet;
    Frm_InletHeater->setVisible(false);
    Frm_InletHeater->ClearVal();
  }
  Txt_HeaterOptions->setVisible(false);
  Chk_SupplyTemp->setChecked(UserSupplyTemp > 0);
  Frm_SupplyTemp->EnableIt(UserSupplyTemp > 0);
  if (UserSupplyTemp > 0) Frm_SupplyTemp->SetVal(UserSupplyTemp);
  else Frm_SupplyTemp->ClearVal();
  if (UserSupplyHeater > 0) {
    Lbl_SupplyHeater->setCurrentIndex(kUserSupply);
    v_SupplyIndex = kUserSupply;
    Frm_SupplyHeater->setVisible(true);
    Frm_SupplyHeater->SetVal(UserSupplyHeater);
  } else {
    Lbl_SupplyHeater->setCurrentIndex(kCalculatedSupply);
    v_SupplyIndex = kCalculatedSupply;
    Frm_SupplyHeater->setVisible(false);
    Frm_SupplyHeater->ClearVal();
  }
}

// ---------------------------------------------------------------- heaters

// The unit's heater options and the mode's inlet heater choice as the
// selection resolved it on that unit.
void TFrm_TempConditions::SetupInlet(const QList<HeaterOption>& HeaterOptions, const LTModeInputs& mode) {
  const bool treating = v_InTreatment;
  v_InTreatment = true;
  const QSignalBlocker blockInlet(Lbl_Inletheater), blockOptions(Txt_HeaterOptions);
  Lbl_Inletheater->clear();
  Lbl_Inletheater->addItem(TBaseMsg::GetUnicodeString(kMsgCalculatedInlet));
  Lbl_Inletheater->addItem(TBaseMsg::GetUnicodeString(kMsgUserInlet));
  Txt_HeaterOptions->clear();
  int option = 0;
  if (!HeaterOptions.isEmpty()) {
    Lbl_Inletheater->addItem(TBaseMsg::GetUnicodeString(kMsgInletOption));
    for (int i = 0; i < HeaterOptions.size(); ++i) {
      const HeaterOption& o = HeaterOptions[i];
      Txt_HeaterOptions->addItem(o.name + QStringLiteral(" (") + ValueText::PositivePower(o.kW) + QLatin1Char(')'), o.kW);
      Txt_HeaterOptions->setItemData(i, o.id, Qt::UserRole + 1);
      if (o.id == mode.inletOptionID) option = i;
    }
    Txt_HeaterOptions->setCurrentIndex(option);
  }
  const int index = mode.inletHeater == HeaterChoice::kOption && !HeaterOptions.isEmpty() ? kInletOption
                    : mode.inletHeater == HeaterChoice::kUserValue                        ? kUserInlet
                                                                                          : kCalculatedInlet;
  Lbl_Inletheater->setCurrentIndex(index);
  v_InletIndex = index;
  if (index == kUserInlet) Frm_InletHeater->SetVal(mode.inletHeaterKW);
  Frm_InletHeater->setVisible(index == kUserInlet);
  Txt_HeaterOptions->setVisible(index == kInletOption);
  v_InTreatment = treating;
}

void TFrm_TempConditions::Lbl_InletheaterClick() {
  const int index = Lbl_Inletheater->currentIndex();
  if (index == v_InletIndex) return;
  v_InletIndex = index;
  switch (index) {
    case kCalculatedInlet:
      Frm_InletHeater->setVisible(false);
      Txt_HeaterOptions->setVisible(false);
      v_InletHeater = 0;
      break;
    case kUserInlet:
      Frm_InletHeater->setVisible(true);
      if (Frm_InletHeater->GetVal() == 0) Frm_InletHeater->SetVal(v_InletHeater);
      Txt_HeaterOptions->setVisible(false);
      break;
    case kInletOption:
      Frm_InletHeater->setVisible(false);
      Txt_HeaterOptions->setVisible(true);
      v_InletHeater = Txt_HeaterOptions->currentData().toDouble();
      break;
    default:
      break;
  }
  ChangeOnExit();
}

void TFrm_TempConditions::Lbl_SupplyHeaterClick() {
  const int index = Lbl_SupplyHeater->currentIndex();
  if (index == v_SupplyIndex) return;
  v_SupplyIndex = index;
  if (index == kUserSupply) {
    Frm_SupplyHeater->setVisible(true);
    if (Frm_SupplyHeater->GetVal() == 0) Frm_SupplyHeater->SetVal(v_SupplyHeater);
  } else {
    Frm_SupplyHeater->setVisible(false);
    v_SupplyHeater = 0;
  }
  ChangeOnExit();
}

void TFrm_TempConditions::Chk_SupplyTempClick() {
  const bool ticked = Chk_SupplyTemp->isChecked();
  Frm_SupplyTemp->EnableIt(ticked);
  if (ticked) Frm_SupplyTemp->SetVal(Frm_RoomDBT->GetVal());
  else Frm_SupplyTemp->ClearVal();
  if (v_HandleChanges) v_HandleChanges();
}

void TFrm_TempConditions::SetCalculatedHeaters(double CalcInlet, double CalcSupply) {
  v_InletHeater = CalcInlet;
  v_SupplyHeater = CalcSupply;
  Txt_CalcInlet->setText(ValueText::PositivePower(CalcInlet));
  Txt_CalcSupply->setText(ValueText::PositivePower(CalcSupply));
}

void TFrm_TempConditions::ClearCalculatedHeaters() {
  Txt_CalcInlet->clear();
  Txt_CalcSupply->clear();
}

void TFrm_TempConditions::FocusHeaterChoice(int nCode) {
  const bool treating = v_InTreatment;
  v_InTreatment = true;
  if (nCode == kInletTooSmall) Lbl_Inletheater->setFocus();
  if (nCode == kSupplyTooSmall) Lbl_SupplyHeater->setFocus();
  v_InTreatment = treating;
}

LTModeInputs TFrm_TempConditions::Inputs() const {
  LTModeInputs m;
  const auto condition = [](const QComboBox* combo, const TFrm_UnitTextScroll* dryBulb, const TFrm_UnitTextScroll* humidity) {
    return LTAirCondition{dryBulb->GetVal(),
                          combo->currentIndex() == kWetBulb ? HumidityMode::kWetBulb : HumidityMode::kRelativeHumidity,
                          humidity->GetVal()};
  };
  m.room = condition(Lbl_RoomRH, Frm_RoomDBT, Frm_RoomRH);
  m.outdoor = condition(Lbl_AmbientRH, Frm_AmbientDbt, Frm_AmbientRH);
  m.dischargeGiven = true;
  m.dischargeC = Frm_Discharge->GetVal();
  switch (Lbl_Inletheater->currentIndex()) {
    case kUserInlet:
      m.inletHeater = HeaterChoice::kUserValue;
      m.inletHeaterKW = Frm_InletHeater->GetVal();
      break;
    case kInletOption:
      m.inletHeater = HeaterChoice::kOption;
      m.inletOptionID = GetSelectedHeaterOption();
      break;
    default:
      m.inletHeater = HeaterChoice::kCalculated;
      break;
  }
  m.supplyTempGiven = Chk_SupplyTemp->isChecked();
  m.supplyTempC = Frm_SupplyTemp->GetVal();
  m.supplyHeater = Lbl_SupplyHeater->currentIndex() == kUserSupply ? HeaterChoice::kUserValue : HeaterChoice::kCalculated;
  m.supplyHeaterKW = Frm_SupplyHeater->GetVal();
  return m;
}

void TFrm_TempConditions::ApplyCorrection(ConditionField nField, double nValueC) {
  switch (nField) {
    case ConditionField::kOutdoorDryBulb: Frm_AmbientDbt->SetVal(nValueC); break;
    case ConditionField::kRoomWetBulb: Frm_RoomRH->SetVal(nValueC); break;
    case ConditionField::kOutdoorWetBulb: Frm_AmbientRH->SetVal(nValueC); break;
  }
}

int TFrm_TempConditions::GetSelectedHeaterOption() const {
  if (Lbl_Inletheater->currentIndex() != kInletOption || Txt_HeaterOptions->currentIndex() < 0) return 0;
  return Txt_HeaterOptions->currentData(Qt::UserRole + 1).toInt();
}

void TFrm_TempConditions::ChangeOnExit() {
  if (!v_InTreatment && v_HandleChanges) v_HandleChanges();
}

