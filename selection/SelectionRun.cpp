#include "selection/SelectionRun.h"

#include "selection/SelectionForm.h"

#include "catalogue/CheckMessages.h"
#include "catalogue/ClDeviceOption.h"
#include "catalogue/ClHRXSpType.h"
#include "catalogue/ClHRXSpeed.h"
#include "i18n/BaseMsgMan.h"
#include "i18n/MsgMan.h"
#include "psychro/Air.h"
#include "psychro/SI_Units.h"
#include "selection/CatalogueSession.h"
#include "selection/InputFields.h"

#include <QSet>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kMsgCoolingOrder = 55, kMsgHeatingOrder = 56, kMsgWetBulb = 43;

using Field = CTInputFields::Field;

double Stored(Field field, double value) { return CTInputFields::Stored(field, value); }

double StoredIn(Field field, double value, double lo, double hi) {
  return CTInputFields::Stored(value, lo, hi, CTInputFields::Spec(field).resolution);
}

// A value bounded to its field's range (the lowest for a value that is not a
// number). Not rounded: the caller has held it in its field's resolution,
// in whichever unit the user works.
double Bounded(double value, double lo, double hi) { return std::isfinite(value) ? std::clamp(value, lo, hi) : lo; }
double Bounded(Field field, double value) {
  return Bounded(value, CTInputFields::Spec(field).min, CTInputFields::Spec(field).max);
}

// ------------------------------------------------------------ conditions

void NormalizeCondition(LTAirCondition& c, Field dryBulb, Field wetBulb) {
  c.dryBulbC = Bounded(dryBulb, c.dryBulbC);
  c.humidity = c.humidityMode == HumidityMode::kWetBulb ? Bounded(wetBulb, c.humidity)
                                                        : Bounded(Field::kRelativeHumidity, c.humidity);
}

void NormalizeMode(LTModeInputs& m, bool cooling) {
  NormalizeCondition(m.room, cooling ? Field::kCoolRoomDryBulb : Field::kHeatRoomDryBulb, Field::kRoomWetBulb);
  NormalizeCondition(m.outdoor, cooling ? Field::kCoolOutdoorDryBulb : Field::kHeatOutdoorDryBulb,
                     Field::kOutdoorWetBulb);
  m.inletHeaterKW = Bounded(Field::kHeater, m.inletHeaterKW);
  m.supplyHeaterKW = Bounded(Field::kHeater, m.supplyHeaterKW);
  m.supplyTempC = Bounded(Field::kSupplyTemp, m.supplyTempC);
}

// The wet bulb of a wet-bulb input above its dry bulb: corrected to the dry bulb.
bool CorrectWetBulb(LTAirCondition& c, bool cooling, ConditionField field, LTConditionCorrection& correction) {
  if (c.humidityMode != HumidityMode::kWetBulb || !(c.humidity > c.dryBulbC)) return false;
  correction = {cooling, field, c.humidity, c.dryBulbC, kMsgWetBulb, QString()};
  c.humidity = c.dryBulbC;
  return true;
}

// ------------------------------------------------------------ heaters

// The user's inlet heater as the computation takes it (kW), or not given.
double UserInletKW(const LTModeInputs& m, const QList<LTHeaterOption>& options) {
  switch (m.inletHeater) {
    case HeaterChoice::kUserValue: return m.inletHeaterKW;
    case HeaterChoice::kOption:
      for (const LTHeaterOption& o : options)
        if (o.id == m.inletOptionID) return o.kW;
      return Sentinel::kNotGiven;  // the unit offers no such option
    case HeaterChoice::kCalculated: break;
  }
  return Sentinel::kNotGiven;
}

// A user heater smaller than the calculated minimum: its code (the inlet
// heater's first); 0 when both suffice.
int CheckHeaters(const LTModeInputs& m, bool supplyHeaterShown, double userInlet, double userSupply,
                 double calcInlet, double calcSupply) {
  if (calcInlet > 0 && calcInlet > userInlet && m.inletHeater != HeaterChoice::kCalculated)
    return LTModeResult::kInletHeaterTooSmall;
  if (supplyHeaterShown && calcSupply > 0 && calcSupply > userSupply && m.supplyHeater != HeaterChoice::kCalculated)
    return LTModeResult::kSupplyHeaterTooSmall;
  return 0;
}

// ------------------------------------------------------------ the list

// Why an empty list is empty, as it holds for the family: the pressure or
// speed code of the units whose airflow range holds both airflows when any
// does, else the airflow that no range holds.
int EmptyListCause(const ObjectList<Cls_HRX>& units, const Cls_HRXSpType* maxSpeed, const SelectionRequest& r,
                   double supplyM3h, double exhaustM3h, double exhaustEsp, int arrangement, int code) {
  if (code < Cls_HRX::kSupplyAirflowTooSmall || code > Cls_HRX::kExhaustAirflowTooLarge) return code;
  const auto holds = [](const Cls_HRX* u, double q) { return q >= u->GetMinAirflow() && q <= u->GetMaxAirflow(); };
  ObjectList<Cls_HRX> fitting(false);
  for (Cls_HRX* unit : units)
    if (holds(unit, supplyM3h) && holds(unit, exhaustM3h)) fitting.Add(unit);
  if (!fitting.IsEmpty()) {
    int fittingCode = 0;
    ObjectList<Cls_HRX> none = Cls_HRX::SelectedDevices(fitting, maxSpeed, supplyM3h, exhaustM3h, r.supplyEspPa,
                                                        exhaustEsp, r.supplyFilter, r.exhaustFilter, arrangement,
                                                        fittingCode);
    return fittingCode != 0 ? fittingCode : code;
  }
  const auto side = [&](double q, int tooSmall, int tooLarge) {
    bool anyHolds = false, belowAll = true;
    for (const Cls_HRX* unit : units) {
      anyHolds = anyHolds || holds(unit, q);
      belowAll = belowAll && q < unit->GetMinAirflow();
    }
    return anyHolds ? 0 : belowAll ? tooSmall : tooLarge;
  };
  if (const int supply = side(supplyM3h, Cls_HRX::kSupplyAirflowTooSmall, Cls_HRX::kSupplyAirflowTooLarge))
    return supply;
  if (const int exhaust = side(exhaustM3h, Cls_HRX::kExhaustAirflowTooSmall, Cls_HRX::kExhaustAirflowTooLarge))
    return exhaust;
  return code;  // each airflow fits some unit, but no unit both
}

const Cls_HRXSpType* MaxSpeedType(CTFactory& factory, const LTFamilyRanges& ranges, int id) {
  const bool offered = std::any_of(ranges.speedTypes.begin(), ranges.speedTypes.end(),
                                   [id](const LTSpeedTypeItem& t) { return t.id == id; });
  if (!offered) return nullptr;  // the family's highest
  return factory.OrderedHrxSpTypes().Search([id](const Cls_HRXSpType* t) { return t->GetID() == id; });
}

}  // namespace

// ---------------------------------------------------------------- inputs

LTModeInputs LTModeInputs::CoolingDefaults() {
  LTModeInputs m;
  m.room = {27, HumidityMode::kWetBulb, 19};
  m.outdoor = {35, HumidityMode::kRelativeHumidity, 50};
  m.dischargeC = 18;
  return m;
}

LTModeInputs LTModeInputs::HeatingDefaults() {
  LTModeInputs m;
  m.room = {20, HumidityMode::kRelativeHumidity, 50};
  m.outdoor = {7, HumidityMode::kRelativeHumidity, 50};
  m.dischargeC = 25;
  return m;
}

LTFamilyRanges CTSelectionRun::FamilyRanges(const CTCatalogueSession& session, int nFamily) {
  return session.FamilyRanges(nFamily);
}

SelectionRequest CTSelectionRun::WithinRanges(const SelectionRequest& request, const LTFamilyRanges& ranges) {
  SelectionRequest r = request;
  r.altitudeM = Bounded(Field::kAltitude, r.altitudeM);
  r.airflowPerPersonLs = Bounded(Field::kAirflowPerPerson, r.airflowPerPersonLs);
  r.roomSurfaceM2 = Bounded(Field::kRoomSurface, r.roomSurfaceM2);
  r.areaPerPersonM2 = Bounded(Field::kAreaPerPerson, r.areaPerPersonM2);
  r.persons = Bounded(Field::kPersons, r.persons);
  // A total exhaust of 0 is not given: the exhaust follows the supply.
  if (r.totalExhaustLs == 0) r.exhaustGiven = false;
  r.totalSupplyLs = Bounded(r.totalSupplyLs, ranges.minAirflowLs, ranges.maxAirflowLs);
  r.totalExhaustLs = Bounded(r.totalExhaustLs, ranges.minAirflowLs, ranges.maxAirflowLs);
  r.supplyEspPa = Bounded(r.supplyEspPa, 0, ranges.maxEspPa);
  r.exhaustEspPa = Bounded(r.exhaustEspPa, 0, ranges.maxEspPa);
  r.supplyFilter = std::clamp(r.supplyFilter, 0, Cls_HRX::kFilterClassCount - 1);
  r.exhaustFilter = std::clamp(r.exhaustFilter, 0, Cls_HRX::kFilterClassCount - 1);
  r.soundDistanceM = Bounded(Field::kSoundDistance, r.soundDistanceM);
  r.roomConstantM2 = Bounded(Field::kRoomConstant, r.roomConstantM2);
  NormalizeMode(r.cooling, true);
  NormalizeMode(r.heating, false);
  return r;
}

SelectionRequest CTSelectionRun::Normalized(const SelectionRequest& request, const LTFamilyRanges& ranges) {
  SelectionRequest r = WithinRanges(request, ranges);
  // Inputs hidden for the family never feed the run: no filters outside the
  // plain family; exhaust airflow and ESP follow the supply where the family
  // has no exhaust inputs.
  if (!CTSelectionForm::Traits(r.family).filters) r.supplyFilter = r.exhaustFilter = 0;
  if (!CTSelectionRun::HasExhaustInputs(r.family)) {
    r.exhaustGiven = false;
    r.exhaustEspPa = r.supplyEspPa;
  }
  return r;
}

CTSelectionRun::LTAirflows CTSelectionRun::Airflows(const SelectionRequest& r, const LTFamilyRanges& ranges) {
  LTAirflows a;
  a.areaPerPersonM2 = r.areaPerPersonM2;
  a.persons = r.persons;
  double supply = r.totalSupplyLs;
  if (r.basis != AirflowBasis::kTotals) {
    const bool byArea = r.basis == AirflowBasis::kByArea;
    const double perPerson = r.airflowPerPersonLs;
    supply = byArea ? perPerson * r.roomSurfaceM2 / r.areaPerPersonM2 : perPerson * r.persons;
    const double bounded = std::clamp(supply, ranges.minAirflowLs, ranges.maxAirflowLs);
    if (bounded != supply || !std::isfinite(supply)) {
      supply = std::isfinite(supply) ? bounded : ranges.minAirflowLs;
      a.corrected = true;
      if (byArea)
        a.areaPerPersonM2 = Stored(Field::kAreaPerPerson, perPerson * r.roomSurfaceM2 / supply);
      else
        a.persons = Stored(Field::kPersons, supply / perPerson);
    }
    // The total is held in whole l/s.
    supply = StoredIn(Field::kTotalSupply, supply, ranges.minAirflowLs, ranges.maxAirflowLs);
  }
  a.supplyLs = supply;
  a.exhaustLs = r.exhaustGiven ? r.totalExhaustLs : supply;
  if (!HasExhaustInputs(r.family)) a.exhaustLs = supply;
  return a;
}

std::optional<LTConditionCorrection> CTSelectionRun::CheckConditions(SelectionRequest& r) {
  LTConditionCorrection c;
  LTAirCondition& coolOutdoor = r.cooling.outdoor;
  if (coolOutdoor.dryBulbC < r.cooling.room.dryBulbC) {
    c = {true, ConditionField::kOutdoorDryBulb, coolOutdoor.dryBulbC, r.cooling.room.dryBulbC, kMsgCoolingOrder, {}};
    coolOutdoor.dryBulbC = r.cooling.room.dryBulbC;
  } else if (LTAirCondition& heatOutdoor = r.heating.outdoor; heatOutdoor.dryBulbC > r.heating.room.dryBulbC) {
    c = {false, ConditionField::kOutdoorDryBulb, heatOutdoor.dryBulbC, r.heating.room.dryBulbC, kMsgHeatingOrder, {}};
    heatOutdoor.dryBulbC = r.heating.room.dryBulbC;
  } else if (!CorrectWetBulb(r.cooling.room, true, ConditionField::kRoomWetBulb, c) &&
             !CorrectWetBulb(r.cooling.outdoor, true, ConditionField::kOutdoorWetBulb, c) &&
             !CorrectWetBulb(r.heating.room, false, ConditionField::kRoomWetBulb, c) &&
             !CorrectWetBulb(r.heating.outdoor, false, ConditionField::kOutdoorWetBulb, c)) {
    return std::nullopt;
  }
  TDlgForm::Load();
  c.message = TBaseMsg::GetUnicodeString(c.messageNumber);
  return c;
}

// ---------------------------------------------------------------- the run

SelectionResult CTSelectionRun::Run(const CTCatalogueSession& session, const SelectionRequest& request) {
  SelectionResult result = RunCandidates(session, request);
  if (!result.candidates.IsEmpty()) ComputeCandidate(result, request, request.candidate);
  return result;
}

SelectionResult CTSelectionRun::RunCandidates(const CTCatalogueSession& session, const SelectionRequest& request) {
  SelectionResult result;
  const LTFamilyRanges& ranges = session.FamilyRanges(request.family);
  const SelectionRequest r = Normalized(request, ranges);
  const LTAirflows airflows = Airflows(r, ranges);
  result.family = r.family;
  result.altitudeM = r.altitudeM;
  result.supplyLs = airflows.supplyLs;
  result.exhaustLs = airflows.exhaustLs;
  result.supplyM3h = airflows.supplyLs * UnitFactor::kM3hPerLs;
  result.exhaustM3h = airflows.exhaustLs * UnitFactor::kM3hPerLs;
  result.supplyEspPa = r.supplyEspPa;
  result.exhaustEspPa = r.exhaustEspPa;
  result.airflowCorrected = airflows.corrected;
  result.areaPerPersonM2 = airflows.areaPerPersonM2;
  result.persons = airflows.persons;
  result.arrangement = std::clamp(int(r.plenum), 0, 2);

  const ObjectList<Cls_HRX> units = session.UnitsOfFamily(r.family);
  const Cls_HRXSpType* maxSpeed = MaxSpeedType(session.Factory(), ranges, r.maxSpeedTypeID);
  // Whether a unit has a plenum, asked of the loaded units (their options
  // are read once and kept), not of the solutions, whose caches start empty.
  QSet<int> unitsWithPlenum;
  for (Cls_HRX* unit : units)
    if (unit->GetPlenumOption()) unitsWithPlenum.insert(unit->GetID());
  for (int arrangement = 0; arrangement <= 2; ++arrangement) {
    int code = 0;
    ObjectList<Cls_HRX> found =
        Cls_HRX::SelectedDevices(units, maxSpeed, result.supplyM3h, result.exhaustM3h, r.supplyEspPa, r.exhaustEspPa,
                                 r.supplyFilter, r.exhaustFilter, arrangement, code);
    for (const Cls_HRX* unit : found)
      if (unitsWithPlenum.contains(unit->GetID())) result.plenumAvailable = true;
    if (found.IsEmpty())
      code = EmptyListCause(units, maxSpeed, r, result.supplyM3h, result.exhaustM3h, r.exhaustEspPa, arrangement, code);
    result.arrangements[std::size_t(arrangement)] = {code, found.Count()};
    if (arrangement == result.arrangement) result.candidates = std::move(found);
  }

  for (Cls_HRX* unit : result.candidates) {
    LTCandidate row;
    row.name = unit->GetName();
    unit->GetSpeedNames(row.supplySpeed, row.exhaustSpeed);
    row.hasPlenum = unitsWithPlenum.contains(unit->GetID());
    row.supplyMarginPa = unit->SupplyMargin();
    row.exhaustMarginPa = unit->HasExhaustFan() ? unit->ExhaustMargin() : NAN;
    result.rows.append(row);
  }
  if (result.candidates.IsEmpty()) {
    int code = result.arrangements[std::size_t(result.arrangement)].code;
    if (code == 0)
      code = r.supplyFilter > 0 || r.exhaustFilter > 0 ? CheckCode::kNoUnitWithFilter : CheckCode::kNoSolution;
    result.selectionCode = code;
    result.selectionMessage = Message(code, result, r);
  }
  return result;
}

namespace {

// The unit's ratios, the pressures of both ducts and the fans' power.
void ComputeDuctData(SelectionResult& result, const SelectionRequest& r, Cls_HRX& unit) {
  const int family = result.family;
  const double supply = result.supplyM3h, exhaust = result.exhaustM3h;
  result.exhaustSupplyRatio = CTSelectionRun::HasExhaustInputs(family) ? exhaust / supply : NAN;
  result.supplyNominalRatio =
      CTSelectionForm::Traits(family).coilRatio && unit.GetNomAirflow() > 0 ? supply / unit.GetNomAirflow() : NAN;
  double supplyPlenum = 0, exhaustPlenum = 0;
  unit.GetPlenumESP(result.arrangement, supply, exhaust, supplyPlenum, exhaustPlenum);
  const auto side = [&](const Cls_HRXSpeed* speed, int filter, double airflow, double designEsp, double plenum) {
    LTEspSide s;
    s.filterPa = unit.GetFilterESP(filter, airflow);
    s.plenumPa = plenum;
    s.fanPa = speed ? speed->Evaluate(airflow) : 0;
    s.additionalPa = s.fanPa - designEsp - s.filterPa - s.plenumPa;
    return s;
  };
  result.supplySide = side(unit.GetSupplySpeed(), r.supplyFilter, supply, result.supplyEspPa, supplyPlenum);
  result.exhaustSideShown = CTSelectionRun::HasExhaustInputs(family);
  if (result.exhaustSideShown)
    result.exhaustSide = side(unit.GetExhaustSpeed(), r.exhaustFilter, exhaust, result.exhaustEspPa, exhaustPlenum);

  // The power input of the fans the unit has at their speeds; the SFP over
  // the larger airflow they move (the supply alone without an exhaust fan).
  const bool exhaustFan = unit.HasExhaustFan();
  const Cls_HRXSpeed *s = unit.GetSupplySpeed(), *e = unit.GetExhaustSpeed();
  LTFanPower& fans = result.fans;
  fans = LTFanPower{};  // nothing of the candidate computed before
  if (!s || (exhaustFan && !e)) return;
  fans.known = true;
  fans.supplyKW = s->GetPowerInput();
  fans.exhaustKW = exhaustFan ? e->GetPowerInput() : 0;
  fans.totalKW = fans.supplyKW + fans.exhaustKW;
  fans.sfpKWPerM3s = fans.totalKW / ((exhaustFan ? std::max(supply, exhaust) : supply) / UnitFactor::kSecondsPerHour);
  fans.sfpClass = CTSelectionRun::SfpClass(fans.sfpKWPerM3s);
}

// The unit under the ecodesign regulation, and its sound where the fans
// work: against the design ESP and the filters and plenums chosen.
void ComputeEcodesign(SelectionResult& result, const SelectionRequest& r, Cls_HRX& unit) {
  result.ecodesign =
      CTEcodesign::Evaluate(unit, r.supplyFilter, r.exhaustFilter, std::max(result.supplyM3h, result.exhaustM3h));
  const LTEspSide &s = result.supplySide, &e = result.exhaustSide;
  result.sound = CTEcodesign::SoundAt(unit, {result.supplyM3h, result.supplyEspPa + s.filterPa + s.plenumPa},
                                      {result.exhaustM3h, result.exhaustEspPa + e.filterPa + e.plenumPa},
                                      r.soundDistanceM, r.roomConstantM2);
}

// How far a fresh-air unit's supply air misses its discharge setting (K,
// positive: short of it), 0 within the tolerance.
double ShortfallK(double missK) { return missK > Cls_HRX::kDischargeToleranceK ? missK : 0; }

void FillWetBulbs(LTModeResult& m, const TAir& air) {
  const RepPsychroPoint* points[] = {&m.states.RA, &m.states.OA, &m.states.EA, &m.states.SA,
                                     &m.states.VI, &m.states.VO, &m.states.CI, &m.states.HI};
  for (std::size_t i = 0; i < 8; ++i) m.wetBulbC[i] = air.ConvertDBRH2WB(points[i]->DBT, points[i]->RH);
}

void ComputeCooling(SelectionResult& result, const SelectionRequest& r, Cls_HRX& unit, const TAir& air,
                    const QList<LTHeaterOption>& heaterOptions) {
  LTModeResult& cool = result.cooling;
  const LTModeInputs& in = r.cooling;
  cool.dischargeC = in.dischargeGiven ? in.dischargeC : CTInputFields::Spec(Field::kCoolDischarge).init;
  if (result.family == Cls_HRX::kFreshAirUnit) cool.dischargeC = CTSelectionRun::FreshAirDischarge(unit, in, true);
  const double userInlet = UserInletKW(in, heaterOptions);
  const ALCoolingResult cooled = unit.SelectForCooling(
      {in.room.dryBulbC, in.room.RelativeHumidity(air), in.outdoor.dryBulbC, in.outdoor.RelativeHumidity(air),
       result.supplyM3h, result.exhaustM3h, result.upsideDown, userInlet, Sentinel::kNotGiven},
      air, r.evaporatingC, cool.dischargeC);
  cool.computed = true;
  cool.code = cooled.Code;
  cool.states = cooled.PsychroPoints;
  cool.totalCapKW = cooled.TotalCap;
  cool.sensibleCapKW = cooled.SensibleCap;
  cool.temperatureEff = cooled.TemperatureEff;
  cool.enthalpyEff = cooled.EnthalpyEff;
  cool.ambientLimitC = cooled.MaxAmbientTemp;
  cool.inletHeater = cooled.InletHeater;
  cool.supplyHeater = {Sentinel::kNotGiven, 0};
  if (cool.code == 0) cool.code = CheckHeaters(in, false, userInlet, Sentinel::kNotGiven, cool.inletHeater.CalcHeater, 0);
  cool.supplyTempC = cool.dischargeC;
  cool.coilLimited = cooled.CoilLimited;
  cool.coilSurfaceC = cooled.CoilSurfaceTemp;
  if (cool.Succeeded() && result.family == Cls_HRX::kFreshAirUnit && cool.totalCapKW > 0) {
    cool.supplyTempC = cool.states.SA.DBT;
    cool.shortfallK = ShortfallK(cool.states.SA.DBT - cool.dischargeC);
  }
  FillWetBulbs(cool, air);
  unit.CalcCoolSavings(cool.states, result.supplyM3h, air, cool.latentSavingsKW, cool.sensibleSavingsKW);
  cool.totalSavingsKW = cool.latentSavingsKW + cool.sensibleSavingsKW;
  cool.message = CTSelectionRun::Message(cool.code, result, r);
  cool.notes = CTSelectionRun::Notes(cool, true, result, r);
}

void ComputeHeating(SelectionResult& result, const SelectionRequest& r, Cls_HRX& unit, const TAir& air,
                    const QList<LTHeaterOption>& heaterOptions) {
  LTModeResult& heat = result.heating;
  const LTModeInputs& in = r.heating;
  const int family = result.family;
  heat.dischargeC = in.dischargeGiven ? in.dischargeC : CTInputFields::Spec(Field::kHeatDischarge).init;
  if (family == Cls_HRX::kFreshAirUnit) heat.dischargeC = CTSelectionRun::FreshAirDischarge(unit, in, false);
  // The wanted supply temperature: the discharge setting of the fresh-air
  // family, the user's supply temperature of the plain family, none else.
  const bool plain = family == Cls_HRX::kPlainUnit;
  const double supplyTemp = family >= Cls_HRX::kFreshAirUnit ? heat.dischargeC
                            : plain && in.supplyTempGiven    ? in.supplyTempC
                                                             : Sentinel::kNotGiven;
  const double userInlet = UserInletKW(in, heaterOptions);
  const double userSupply =
      plain && in.supplyHeater == HeaterChoice::kUserValue ? in.supplyHeaterKW : Sentinel::kNotGiven;
  const ALHeatingResult heated = unit.SelectForHeating(
      {in.room.dryBulbC, in.room.RelativeHumidity(air), in.outdoor.dryBulbC, in.outdoor.RelativeHumidity(air),
       result.supplyM3h, result.exhaustM3h, result.upsideDown, userInlet, userSupply},
      air, supplyTemp);
  heat.computed = true;
  heat.code = heated.Code;
  heat.states = heated.PsychroPoints;
  heat.heatCapKW = heated.HeatCap;
  heat.temperatureEff = heated.TemperatureEff;
  heat.enthalpyEff = heated.EnthalpyEff;
  heat.ambientLimitC = heated.MinAmbientTemp;
  heat.humidificationKgh = heated.Humidification;
  heat.inletHeater = heated.InletHeater;
  heat.supplyHeater = heated.SupplyHeater;
  if (heat.code == 0)
    heat.code = CheckHeaters(in, plain, userInlet, userSupply, heat.inletHeater.CalcHeater, heat.supplyHeater.CalcHeater);
  heat.supplyTempC = family == Cls_HRX::kFreshAirUnit ? unit.GetHeatSupplyTemp() : heat.dischargeC;
  heat.coilLimited = heated.CoilLimited;
  heat.coilSurfaceC = heated.CoilSurfaceTemp;
  if (heat.Succeeded() && family == Cls_HRX::kFreshAirUnit && heat.heatCapKW > 0) {
    heat.supplyTempC = heat.states.SA.DBT;
    heat.shortfallK = ShortfallK(heat.dischargeC - heat.states.SA.DBT);
  }
  FillWetBulbs(heat, air);
  unit.CalcHeatSavings(heat.states, result.supplyM3h, air, heat.latentSavingsKW, heat.sensibleSavingsKW);
  heat.totalSavingsKW = heat.latentSavingsKW + heat.sensibleSavingsKW;
  heat.message = CTSelectionRun::Message(heat.code, result, r);
  heat.notes = CTSelectionRun::Notes(heat, false, result, r);
}

}  // namespace

void CTSelectionRun::ComputeCandidate(SelectionResult& result, const SelectionRequest& request, int nIndex) {
  result.current = -1;
  result.cooling = LTModeResult{};
  result.heating = LTModeResult{};
  result.ecodesign = LTEcodesign{};
  result.sound = LTSound{};
  result.correction.reset();
  if (result.candidates.IsEmpty()) return;

  // The request as the run normalised it; the family's ranges bound only the
  // totals and ESPs, which RunCandidates has already applied.
  LTFamilyRanges unbounded;
  unbounded.maxEspPa = CTInputFields::Spec(Field::kSupplyEsp).max;
  SelectionRequest r = Normalized(request, unbounded);
  r.family = result.family;
  result.correction = CheckConditions(r);
  if (result.correction) return;

  result.current = nIndex >= 0 && nIndex < result.candidates.Count() ? nIndex : 0;
  Cls_HRX& unit = *result.candidates.Item(result.current);
  result.unitName = unit.GetQualifiedName();
  result.upsideDown = r.upsideDown && unit.GetCanBeUpsideDown();
  result.hasHumidifier = unit.GetNomHumidity() > 0;
  ComputeDuctData(result, r, unit);
  ComputeEcodesign(result, r, unit);

  const TAir air(r.altitudeM);
  const QList<LTHeaterOption> heaterOptions = HeaterOptions(unit);
  ComputeCooling(result, r, unit, air, heaterOptions);
  if (!result.cooling.Succeeded()) return;  // a failure in cooling leaves heating uncomputed
  ComputeHeating(result, r, unit, air, heaterOptions);

  // The figures kept on the solution for comparing alternatives.
  const LTModeResult &cool = result.cooling, &heat = result.heating;
  unit.v_altSolTempExchEff = heat.temperatureEff;
  unit.v_altSolHEnthExchEff = heat.enthalpyEff;
  unit.v_altSolHSavLat = heat.latentSavingsKW;
  unit.v_altSolHSavSen = heat.sensibleSavingsKW;
  unit.v_altSolCEnthExchEff = cool.enthalpyEff;
  unit.v_altSolCSavLat = cool.latentSavingsKW;
  unit.v_altSolCSavSen = cool.sensibleSavingsKW;
}

// ---------------------------------------------------------------- helpers

bool CTSelectionRun::HasExhaustInputs(int nFamily) { return nFamily < Cls_HRX::kFreshAirUnit; }

QList<LTHeaterOption> CTSelectionRun::HeaterOptions(Cls_HRX& unit) {
  QList<LTHeaterOption> options;
  for (const Cls_DeviceOption* option : unit.GetHeaterOptions())
    options.append({option->GetID(), option->GetName(), option->GetValue()});
  return options;
}

CTSelectionRun::LTDischargeRange CTSelectionRun::DischargeRange(Cls_HRX& unit, bool bCooling) {
  LTDischargeRange range;
  if (bCooling)
    unit.GetCoolDischargeRange(range.lo, range.hi);
  else
    unit.GetHeatDischargeRange(range.lo, range.hi);
  return range;
}

double CTSelectionRun::FreshAirDischarge(Cls_HRX& unit, const LTModeInputs& mode, bool bCooling) {
  const LTDischargeRange range = DischargeRange(unit, bCooling);
  return mode.dischargeGiven ? Bounded(mode.dischargeC, range.lo, range.hi) : range.hi;
}

int CTSelectionRun::SmallestCoveringOption(const QList<LTHeaterOption>& options, double nNeedKW) {
  int best = -1;
  for (int i = 0; i < options.size(); ++i) {
    const double spare = options[i].kW - nNeedKW;
    if (spare >= 0 && (best < 0 || spare < options[best].kW - nNeedKW)) best = i;
  }
  return best;
}

namespace {

CTCheckMessages::Context MessageContext(const SelectionResult& result, const SelectionRequest& request,
                                        const std::function<QString(double)>& fnFormatTemp) {
  CTCheckMessages::Context context;
  context.unit = result.Current();
  context.upsideDown = result.upsideDown;
  context.supplyAir = result.supplyM3h;
  context.exhaustAir = result.exhaustM3h;
  context.heatingDischarge = result.family >= Cls_HRX::kFreshAirUnit ? result.heating.dischargeC
                             : request.heating.supplyTempGiven      ? request.heating.supplyTempC
                                                                    : Sentinel::kNotGiven;
  context.filterText = CTCheckMessages::FilterText(request.supplyFilter, request.exhaustFilter);
  // Temperatures as the window writes them: the unit in effect with its
  // display digits, then the unit string.
  context.evaporatingC = request.evaporatingC;
  context.formatTemp = fnFormatTemp ? fnFormatTemp : [](double t) {
    return TU_Form::PutFmtDimensionedValue(t, U_Temperature, 0, true).trimmed() + QLatin1Char(' ') +
           TU_Form::GetCurrentString(U_Temperature);
  };
  return context;
}

}  // namespace

QString CTSelectionRun::Message(int nCode, const SelectionResult& result, const SelectionRequest& request,
                                const std::function<QString(double)>& fnFormatTemp) {
  if (nCode == 0) return QString();
  return CTCheckMessages::Text(nCode, MessageContext(result, request, fnFormatTemp));
}

QStringList CTSelectionRun::Notes(const LTModeResult& mode, bool bCooling, const SelectionResult& result,
                                  const SelectionRequest& request, const std::function<QString(double)>& fnFormatTemp) {
  QStringList notes;
  if (!mode.Succeeded()) return notes;
  const CTCheckMessages::Context context = MessageContext(result, request, fnFormatTemp);
  if (mode.shortfallK > 0) {
    // A difference of temperatures: no offset in degF.
    const auto delta = [](double k) {
      return TU_Form::PutFmtDimensionedValue(k, U_Temperature, 0, false).trimmed() + QLatin1Char(' ') +
             TU_Form::GetCurrentString(U_Temperature);
    };
    notes << CTCheckMessages::ShortfallText(mode.supplyTempC, mode.dischargeC, mode.shortfallK, context, delta);
  }
  if (mode.coilLimited) notes << CTCheckMessages::CoilLimitedText(bCooling, mode.coilSurfaceC, context);
  return notes;
}

int CTSelectionRun::SfpClass(double nSfpKWPerM3s) {
  // Upper limits of the classes SFP 0 to SFP 6; above the last, SFP 7.
  static const double kLimits[] = {0.3, 0.5, 0.75, 1.25, 2.0, 3.0, 4.5};
  int sfpClass = 0;
  for (const double limit : kLimits) {
    if (nSfpKWPerM3s <= limit) return sfpClass;
    ++sfpClass;
  }
  return sfpClass;
}

double CTSelectionRun::EnthalpyDisplayOffset() {
  constexpr double kZeroFahrenheitC = -160.0 / 9.0;
  return TU_Form::GetNewIndex(U_Temperature) != 0 ? std::fabs(TAir::Enthalpy(0, kZeroFahrenheitC)) : 0;
}
