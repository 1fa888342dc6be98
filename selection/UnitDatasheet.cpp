#include "selection/UnitDatasheet.h"

#include "catalogue/ClDevOptCombination.h"
#include "catalogue/ClDevPSAllowed.h"
#include "catalogue/ClHRX.h"
#include "catalogue/ClHRXDocumentation.h"
#include "catalogue/ClHRXSpeed.h"
#include "catalogue/ClPowerSupply.h"
#include "catalogue/ClTrivaneDeviceOption.h"
#include "selection/CatalogueSession.h"

namespace {

constexpr double kM3hPerLs = 3.6;

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
  d.nominalAirflowLs = unit.GetNomAirflow() / kM3hPerLs;
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
