#include "selection/ResultTexts.h"

#include "selection/SelectionForm.h"

#include "catalogue/ClHRX.h"
#include "i18n/BaseMsgMan.h"
#include "selection/ValueText.h"

namespace {

constexpr int kMsgInletHeater = 33;
constexpr int kMsgSupplyHeater = 36;

const char* const kPointTitles[kPointCount] = {"Room Air (RA)",      "Outdoor Air (OA)",    "Exhaust Air (EA)",
                                               "Supply Air (SA)",    "Ventilation In (VI)", "Ventilation Out (VO)",
                                               "Coil In (CI)",       "Humidifier In (HI)"};

QString Temp(double c) { return ValueText::Dimensioned(c, U_Temperature); }

LTCaptionList AirBlock(const char* szTitle, const LTAirCondition& air, CTInputFields::Field nDryBulb,
                       CTInputFields::Field nWetBulb) {
  const bool wetBulb = air.humidityMode == HumidityMode::kWetBulb;
  return {TBaseMsg::Tr(QString::fromUtf8(szTitle)),
          TBaseMsg::Tr(QStringLiteral("Dry bulb temperature")),
          CTResultTexts::FieldText(nDryBulb, air.dryBulbC),
          wetBulb ? TBaseMsg::Tr(QStringLiteral("Wet bulb temperature")) : TBaseMsg::Tr(QStringLiteral("Relative humidity")),
          wetBulb ? CTResultTexts::FieldText(nWetBulb, air.humidity)
                  : CTResultTexts::FieldText(CTInputFields::kRelativeHumidity, air.humidity, QStringLiteral("%"))};
}

}  // namespace

int CTResultTexts::FieldResolution(CTInputFields::Field nField) {
  if ((nField == CTInputFields::kSupplyEsp || nField == CTInputFields::kExhaustEsp) &&
      TU_Form::GetCurrentString(U_Pressure) == QLatin1String("inH2O"))
    return 100;
  return CTInputFields::Spec(nField).resolution;
}

QString CTResultTexts::FieldText(CTInputFields::Field nField, double nValue, const QString& szUnit) {
  const LTInputField& spec = CTInputFields::Spec(nField);
  const int resolution = FieldResolution(nField);
  const double shown =
      spec.unit == U_None ? nValue : TU_Form::ConvertValue(nValue, spec.unit, 0, TU_Form::GetNewIndex(spec.unit), true);
  const int digits = CTInputFields::Digits(resolution);
  const QString unit = spec.unit == U_None ? szUnit : TU_Form::GetCurrentString(spec.unit);
  const QString number = TBaseMsg::FormatShown(shown, digits);
  return unit.isEmpty() ? number : number + QLatin1Char(' ') + unit;
}

LTFamilyLayout CTResultTexts::Layout(int nFamily, bool bHasHumidifier, bool bCooling) {
  const LTFamilyTraits family = CTSelectionForm::Traits(nFamily);
  // The fresh-air family is the one run at a discharge setting.
  const bool coil = family.coil, freshAir = family.discharge;
  LTFamilyLayout l;
  l.points.fill(true);
  l.points[kPointEA] = Cls_HRX::HasExhaustFan(nFamily);
  l.points[kPointCI] = coil;
  l.points[kPointHI] = coil && !bCooling && bHasHumidifier;
  l.efficiencies = l.savings = !freshAir;
  l.supplyTemp = freshAir;
  l.humidification = l.points[kPointHI];
  l.supplyHeater = !bCooling && family.supplyHeater;
  l.capacities = family.capacities;
  l.sensibleCapacity = coil;
  return l;
}

LTConditionTexts CTResultTexts::Conditions(const SelectionRequest& request, const SelectionResult& result,
                                           bool bCooling) {
  using F = CTInputFields;
  const LTModeInputs& m = bCooling ? request.cooling : request.heating;
  const LTModeResult& r = bCooling ? result.cooling : result.heating;
  LTConditionTexts t;
  t.room = AirBlock("Room Air Conditions (RA)", m.room, bCooling ? F::kCoolRoomDryBulb : F::kHeatRoomDryBulb,
                    F::kRoomWetBulb);
  t.outdoor = AirBlock("Ambient Air Conditions (OA)", m.outdoor,
                       bCooling ? F::kCoolOutdoorDryBulb : F::kHeatOutdoorDryBulb, F::kOutdoorWetBulb);
  if (result.family == Cls_HRX::kFreshAirUnit)
    t.discharge = {TBaseMsg::Tr(QStringLiteral("Discharge Temperature Setting")), TBaseMsg::Tr(QStringLiteral("Temperature")),
                   FieldText(bCooling ? F::kCoolDischarge : F::kHeatDischarge, r.computed ? r.dischargeC : m.dischargeC)};
  // The supply temperature and heater belong to heating of the plain family.
  const bool supplyInputs = !bCooling && result.family == Cls_HRX::kPlainUnit;
  const bool supplyTemp = supplyInputs && m.supplyTempGiven;
  const bool supplyHeater = supplyInputs && m.supplyHeater == HeaterChoice::kUserValue;
  const bool inletHeater = m.inletHeater != HeaterChoice::kCalculated;
  if (!inletHeater && !supplyTemp && !supplyHeater) return t;
  t.heaters << TBaseMsg::Tr(QStringLiteral("Electric Heaters"));
  if (inletHeater) {
    // An option's heater is the size the computation took for it.
    const double kW = m.inletHeater == HeaterChoice::kOption ? r.inletHeater.UserHeater : m.inletHeaterKW;
    t.heaters << TBaseMsg::GetUnicodeString(kMsgInletHeater) << FieldText(F::kHeater, kW);
  }
  if (supplyTemp) t.heaters << TBaseMsg::Tr(QStringLiteral("Supply temp.")) << FieldText(F::kSupplyTemp, m.supplyTempC);
  if (supplyHeater) t.heaters << TBaseMsg::GetUnicodeString(kMsgSupplyHeater) << FieldText(F::kHeater, m.supplyHeaterKW);
  return t;
}

LTResultTexts CTResultTexts::Results(const SelectionResult& result, bool bCooling) {
  const LTModeResult& m = bCooling ? result.cooling : result.heating;
  LTResultTexts t;
  if (!m.Succeeded()) return t;
  t.notes = m.notes;
  const LTFamilyLayout layout = Layout(result.family, result.hasHumidifier, bCooling);
  if (layout.efficiencies)
    t.efficiencies = {TBaseMsg::Tr(QStringLiteral("Efficiencies")),
                      TBaseMsg::Tr(QStringLiteral("Temperature exchange efficiency")),
                      ValueText::Fixed(m.temperatureEff, 1, QStringLiteral("%")),
                      TBaseMsg::Tr(QStringLiteral("Enthalpy exchange efficiency")),
                      ValueText::Fixed(m.enthalpyEff, 1, QStringLiteral("%"))};
  if (layout.savings)
    t.savings = {TBaseMsg::Tr(QStringLiteral("Savings over Heat Exchanger")),
                 TBaseMsg::Tr(QStringLiteral("Latent heat savings")),
                 ValueText::SignedPower(m.latentSavingsKW),
                 TBaseMsg::Tr(QStringLiteral("Sensible heat savings")),
                 ValueText::SignedPower(m.sensibleSavingsKW),
                 TBaseMsg::Tr(QStringLiteral("Total heat savings")),
                 ValueText::SignedPower(m.latentSavingsKW + m.sensibleSavingsKW)};
  if (layout.supplyTemp)
    t.supplyTemp = {TBaseMsg::Tr(QStringLiteral("Supply Temperature")), TBaseMsg::Tr(QStringLiteral("Temperature")), Temp(m.supplyTempC)};
  if (layout.humidification)
    t.humidification = {TBaseMsg::Tr(QStringLiteral("Humidification")), TBaseMsg::Tr(QStringLiteral("Humidification amount")),
                        ValueText::Fixed(m.humidificationKgh, 1, QStringLiteral("kg/h"))};
  t.heaters = {TBaseMsg::Tr(QStringLiteral("Heaters")),
               bCooling ? TBaseMsg::Tr(QStringLiteral("Switch on inlet heater above")) : TBaseMsg::Tr(QStringLiteral("Switch on inlet heater below")),
               m.ambientLimitC == Sentinel::kNoTemperature ? QString() : Temp(m.ambientLimitC),
               TBaseMsg::Tr(QStringLiteral("Inlet heater (user settings)")),
               ValueText::PositivePower(m.inletHeater.UserHeater),
               TBaseMsg::Tr(QStringLiteral("Inlet heater (calculated minimum)")),
               ValueText::PositivePower(m.inletHeater.CalcHeater)};
  if (layout.supplyHeater)
    t.heaters << TBaseMsg::Tr(QStringLiteral("Supply heater (user settings)")) << ValueText::PositivePower(m.supplyHeater.UserHeater)
              << TBaseMsg::Tr(QStringLiteral("Supply heater (calculated minimum)")) << ValueText::PositivePower(m.supplyHeater.CalcHeater);
  return t;
}

std::array<LTCaptionList, kPointCount> CTResultTexts::PsychroPoints(const SelectionResult& result, bool bCooling,
                                                                    double nDeltaEnthalpy) {
  const LTModeResult& m = bCooling ? result.cooling : result.heating;
  std::array<LTCaptionList, kPointCount> lists;
  if (!m.Succeeded()) return lists;
  const std::array<bool, kPointCount> shown = Layout(result.family, result.hasHumidifier, bCooling).points;
  const RepPsychroPoint* points[kPointCount] = {&m.states.RA, &m.states.OA, &m.states.EA, &m.states.SA,
                                                &m.states.VI, &m.states.VO, &m.states.CI, &m.states.HI};
  for (int i = 0; i < kPointCount; ++i) {
    if (!shown[i]) continue;
    const RepPsychroPoint& p = *points[i];
    lists[i] = {TBaseMsg::Tr(QString::fromUtf8(kPointTitles[i])),
                TBaseMsg::Tr(QStringLiteral("Dry bulb temperature")),
                Temp(p.DBT),
                TBaseMsg::Tr(QStringLiteral("Wet bulb temperature")),
                Temp(m.wetBulbC[i]),
                TBaseMsg::Tr(QStringLiteral("Relative humidity")),
                ValueText::Fixed(p.RH, 1, QStringLiteral("%")),
                TBaseMsg::Tr(QStringLiteral("Absolute humidity")),
                ValueText::Dimensioned(p.AH, U_Humidity),
                TBaseMsg::Tr(QStringLiteral("Enthalpy")),
                ValueText::Dimensioned(p.e + nDeltaEnthalpy, U_Enthalpy)};
  }
  return lists;
}

LTQuilloTexts CTResultTexts::Quillo(const SelectionResult& result) {
  LTQuilloTexts t;
  const LTFamilyLayout layout = Layout(result.family, result.hasHumidifier, true);
  t.shown = layout.capacities;
  if (!t.shown) return t;
  const auto power = [](const LTModeResult& m, double kW) {
    return m.Succeeded() ? ValueText::Dimensioned(kW, U_Power, false) : QString();
  };
  t.cooling = {TBaseMsg::Tr(QStringLiteral("Cooling Data for Trivane / Web Quillo Input")), TBaseMsg::Tr(QStringLiteral("Total cooling capacity")),
               power(result.cooling, result.cooling.totalCapKW)};
  if (layout.sensibleCapacity)
    t.cooling << TBaseMsg::Tr(QStringLiteral("Sensible cooling capacity")) << power(result.cooling, result.cooling.sensibleCapKW);
  t.heating = {TBaseMsg::Tr(QStringLiteral("Heating Data for Trivane / Web Quillo Input")), TBaseMsg::Tr(QStringLiteral("Heating capacity")),
               power(result.heating, result.heating.heatCapKW)};
  return t;
}

QString CTResultTexts::SfpText(const LTFanPower& fans) {
  if (!fans.known) return QString();
  return TBaseMsg::FormatShown(fans.sfpKWPerM3s, 2) + QStringLiteral(" kW/(m³/s), SFP ") + QString::number(fans.sfpClass);
}
