#include "selection/UnitDatasheet.h"

#include "selection/ValueText.h"

#include "catalogue/ClDevOptCombination.h"
#include "catalogue/ClDevPSAllowed.h"
#include "catalogue/ClHRX.h"
#include "catalogue/ClHRXDocumentation.h"
#include "catalogue/ClHRXSpeed.h"
#include "catalogue/ClPowerSupply.h"
#include "catalogue/ClTrivaneDeviceOption.h"
#include "psychro/SI_Units.h"
#include "selection/CatalogueSession.h"

namespace {

void ReadElectrical(LTDatasheet& d, Cls_HRX& unit) {
  std::unique_ptr<Cls_PowerSupply> ps;
  std::unique_ptr<Cls_DevPSAllowed> electrical;
  unit.GetStandardPSData(ps, electrical);
  if (ps) {
    d.hasPowerSupply = true;
    d.powerSupply = ps->GetName();
    d.frequency = Cls_PowerSupply::FrequencyString(ps->GetFrequencyKind());
    d.phases = ps->GetPhases();
    d.voltage = ps->GetVoltage();
  }
  if (electrical) {
    d.hasElectrical = true;
    d.minVolts = electrical->GetMinVolts().trimmed();
    d.maxVolts = electrical->GetMaxVolts().trimmed();
    d.mcaA = electrical->GetMCA();
    d.mfaA = electrical->GetMFA();
    d.rlaA = electrical->GetRLA();
    d.flaA = electrical->GetFLA();
  }
}

void ReadLimits(LTDatasheet& d, const Cls_HRX& unit) {
  d.ductDiameterMm = unit.GetDuctDiam();
  d.nominalHumidityKgh = unit.GetNomHumidity();
  d.nominalAirflowLs = unit.GetNomAirflow() / UnitFactor::kM3hPerLs;
  d.outdoorMinC = unit.GetOAMinTemp();
  d.outdoorMaxC = unit.GetOAMaxTemp();
  d.outdoorMaxRH = unit.GetOAMaxRH();
  d.inletMinC = unit.GetVIMinTemp();
  d.inletMinUpsideDownC = unit.GetVIMinTempUpsideDown();
  d.canBeUpsideDown = unit.GetCanBeUpsideDown();
  d.roomMinC = unit.GetRAMinTemp();
  d.roomMaxC = unit.GetRAMaxTemp();
  d.roomMaxRH = unit.GetRAMaxRH();
  d.exhaustMaxRH = unit.GetEAMaxRH();
  d.exhaustMaxRHUpsideDown = unit.GetEAMaxRHUpsideDown();
  d.ventOutMaxRH = unit.GetVOMaxRH();
  d.ventOutMaxRHUpsideDown = unit.GetVOMaxRHUpsideDown();
  d.coilInMaxRH = unit.GetCIMaxRH();
  d.coilInMaxRHUpsideDown = unit.GetCIMaxRHUpsideDown();
  d.minCoolRH = unit.GetMinCoolRH();
  d.minHeatRH = unit.GetMinHeatRH();
  d.fanOnlyMinC = unit.GetMinTempFanOnly();
  d.fanOnlyMaxC = unit.GetMaxTempFanOnly();
}

// The options referred to by the unit's combinations, in the order the
// catalogue lists the combinations (the engine hands a record's referrers
// newest first), those not found and those marked deleted left out.
void ReadOptions(LTDatasheet& d, const CTCatalogueSession& session, Cls_HRX& unit) {
  const ObjectList<Cls_TrivaneDeviceOption>& options = session.Options();
  ObjectList<Cls_DevOptCombination> combinations = unit.GetOptionCombinationsForHRX();
  combinations.Sort([](const Cls_DevOptCombination* a, const Cls_DevOptCombination* b) { return a->GetID() < b->GetID(); });
  for (const Cls_DevOptCombination* combination : combinations) {
    int cls = 0, id = 0;
    combination->GetDeviceOptionRef(cls, id);
    const Cls_TrivaneDeviceOption* option = options.Search(
        [&](const Cls_TrivaneDeviceOption* o) { return o->GetID() == id && o->TableIndex() == cls; });
    if (!option || option->GetDeleted()) continue;
    d.options.append({option->GetID(), option->GetName(), option->GetType(), option->GetDescription(),
                      option->GetWidth(), option->GetHeight(), option->GetDepth(), option->GetMCA()});
  }
}

}  // namespace

LTDatasheet CTUnitDatasheet::Read(const CTCatalogueSession& session, Cls_HRX& unit) {
  LTDatasheet d;
  d.qualifiedName = unit.GetQualifiedName();
  d.type = unit.GetType();
  // The unit's documentation: the first record that refers to it.
  const Cls_HRXDocumentation* doc = session.Documentations().Search([&](const Cls_HRXDocumentation* r) {
    int cls = 0, id = 0;
    r->GetDeviceRef(cls, id);
    return id == unit.GetID() && cls == unit.TableIndex();
  });
  if (doc) {
    d.widthMm = doc->GetWidth();
    d.heightMm = doc->GetHeight();
    d.depthMm = doc->GetDepth();
    d.weightKg = doc->GetWeight();
  }
  ReadElectrical(d, unit);
  if (const Cls_HRXSpeed* speed = unit.GetSupplySpeed()) {
    d.hasSupplySpeed = true;
    d.soundLevel = speed->GetSoundLevel();
    d.current = speed->GetCurrent();
    d.wattageKW = speed->GetPowerInput();
  }
  ReadLimits(d, unit);
  ReadOptions(d, session, unit);
  return d;
}

// ---------------------------------------------------------------- texts

namespace {

QString Temp(double t) { return ValueText::Dimensioned(t, U_Temperature); }
QString TempNoUnit(double t) { return TU_Form::PutFmtDimensionedValue(t, U_Temperature, 0, true).trimmed(); }
QString TempRange(double low, double high) { return TempNoUnit(low) + QLatin1Char('~') + Temp(high); }
QString Percent(double rh) { return TBaseMsg::FormatShown(rh, 0) + QStringLiteral(" %"); }
QString Amps(double a) { return a > 0 ? TBaseMsg::FormatShown(a, 1) + QStringLiteral(" A") : QString(); }

}  // namespace

QString CTUnitDatasheet::Dimensions(double nWidthMm, double nHeightMm, double nDepthMm) {
  if (!(nWidthMm > 0 && nHeightMm > 0 && nDepthMm > 0)) return QString();
  const auto length = [](double mm) { return TU_Form::PutFmtDimensionedValue(mm, U_ShortLength, 0, false).trimmed(); };
  return length(nWidthMm) + QStringLiteral("×") + length(nHeightMm) + QStringLiteral("×") + length(nDepthMm) +
         QLatin1Char(' ') + TU_Form::GetCurrentString(U_ShortLength);
}

LTDatasheetTexts CTUnitDatasheet::Texts(const LTDatasheet& d) {
  LTDatasheetTexts t;
  t.dimensions = Dimensions(d.widthMm, d.heightMm, d.depthMm);
  t.weight = d.weightKg > 0 ? ValueText::Dimensioned(d.weightKg, U_Mass, false) : QString();
  t.powerSupply = d.powerSupply;
  t.frequency = d.frequency;
  t.phases = d.phases;
  t.voltage = d.voltage;
  if (d.hasElectrical) {
    const bool both = !d.minVolts.isEmpty() && !d.maxVolts.isEmpty();
    t.minMaxV = both ? d.minVolts + QLatin1Char('~') + d.maxVolts : d.minVolts + d.maxVolts;
    t.mca = Amps(d.mcaA);
    t.mfa = Amps(d.mfaA);
    t.rla = Amps(d.rlaA);
    t.fla = Amps(d.flaA);
  }
  if (d.hasSupplySpeed) {
    t.soundLevel = d.soundLevel;
    t.current = d.current;
    t.wattage = ValueText::PositivePower(d.wattageKW);
  }
  t.ductDiameter = d.ductDiameterMm > 0 ? ValueText::Dimensioned(d.ductDiameterMm, U_ShortLength, false) : QString();
  t.nominalHumidity = d.nominalHumidityKgh > 0 ? ValueText::Fixed(d.nominalHumidityKgh, 1, QStringLiteral("kg/h")) : QString();
  t.nominalAirflow = ValueText::Dimensioned(d.nominalAirflowLs, U_Airflow, false);
  t.ambientTemp = TempRange(d.outdoorMinC, d.outdoorMaxC);
  t.ambientRH = Percent(d.outdoorMaxRH);
  t.viMinTemp = Temp(d.inletMinC);
  const bool upsideDown = d.canBeUpsideDown;
  if (upsideDown) t.viMinTempUD = Temp(d.inletMinUpsideDownC);

  const bool freshAir = d.type >= Cls_HRX::kFreshAirUnit;
  const bool coil = d.type == Cls_HRX::kCoilUnit;
  t.roomRange = !freshAir;
  t.rhMaxima = !freshAir;
  t.airTreatment = freshAir;
  t.nominal = freshAir || coil;
  if (freshAir) {
    t.minCoolRH = Percent(d.minCoolRH);
    t.minHeatRH = Percent(d.minHeatRH);
    t.fanOnlyTemp = TempRange(d.fanOnlyMinC, d.fanOnlyMaxC);
    return t;
  }
  t.roomTemp = TempRange(d.roomMinC, d.roomMaxC);
  t.roomRH = Percent(d.roomMaxRH);
  t.eaMaxRH = Percent(d.exhaustMaxRH);
  t.voMaxRH = Percent(d.ventOutMaxRH);
  if (upsideDown) {
    t.eaMaxRHUD = Percent(d.exhaustMaxRHUpsideDown);
    t.voMaxRHUD = Percent(d.ventOutMaxRHUpsideDown);
  }
  if (coil) t.ciMaxRH = Percent(d.coilInMaxRH);
  if (coil && upsideDown) t.ciMaxRHUD = Percent(d.coilInMaxRHUpsideDown);
  return t;
}
