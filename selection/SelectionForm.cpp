#include "selection/SelectionForm.h"

#include "catalogue/ClHRX.h"
#include "catalogue/CoilCapacity.h"
#include "i18n/BaseMsgMan.h"
#include "psychro/Rounding.h"

#include <algorithm>

namespace {

using Field = CTInputFields::Field;

// The numeric inputs and the field that gives each its range.
Field FieldOfInput(FormInput input) {
  switch (input) {
    case FormInput::kAltitude: return Field::kAltitude;
    case FormInput::kAirflowPerPerson: return Field::kAirflowPerPerson;
    case FormInput::kRoomSurface: return Field::kRoomSurface;
    case FormInput::kAreaPerPerson: return Field::kAreaPerPerson;
    case FormInput::kPersons: return Field::kPersons;
    case FormInput::kTotalSupply: return Field::kTotalSupply;
    case FormInput::kTotalExhaust: return Field::kTotalExhaust;
    case FormInput::kSupplyEsp: return Field::kSupplyEsp;
    case FormInput::kExhaustEsp: return Field::kExhaustEsp;
    case FormInput::kCoolDischarge: return Field::kCoolDischarge;
    case FormInput::kHeatDischarge: return Field::kHeatDischarge;
    case FormInput::kSupplyTemp: return Field::kSupplyTemp;
    case FormInput::kSupplyHeater: return Field::kHeater;
    case FormInput::kSoundDistance: return Field::kSoundDistance;
    case FormInput::kRoomConstant: return Field::kRoomConstant;
    default: return Field::kFieldCount;
  }
}

// The request's value of a numeric input; Request is SelectionRequest,
// const or not.
template <typename Request>
auto ValueOf(Request& r, FormInput input) -> decltype(&r.altitudeM) {
  switch (input) {
    case FormInput::kAltitude: return &r.altitudeM;
    case FormInput::kAirflowPerPerson: return &r.airflowPerPersonLs;
    case FormInput::kRoomSurface: return &r.roomSurfaceM2;
    case FormInput::kAreaPerPerson: return &r.areaPerPersonM2;
    case FormInput::kPersons: return &r.persons;
    case FormInput::kTotalSupply: return &r.totalSupplyLs;
    case FormInput::kTotalExhaust: return &r.totalExhaustLs;
    case FormInput::kSupplyEsp: return &r.supplyEspPa;
    case FormInput::kExhaustEsp: return &r.exhaustEspPa;
    case FormInput::kCoolDischarge: return &r.cooling.dischargeC;
    case FormInput::kHeatDischarge: return &r.heating.dischargeC;
    case FormInput::kSupplyTemp: return &r.heating.supplyTempC;
    case FormInput::kSupplyHeater: return &r.heating.supplyHeaterKW;
    case FormInput::kSoundDistance: return &r.soundDistanceM;
    case FormInput::kRoomConstant: return &r.roomConstantM2;
    default: return nullptr;
  }
}

// An edit that changes the airflows, pressures or what the units must
// offer needs a new candidate list; one that changes only the air the unit
// works on computes the current unit again.
bool NeedsNewList(FormInput input) {
  switch (input) {
    case FormInput::kAltitude:
    case FormInput::kCoolDischarge:
    case FormInput::kHeatDischarge:
    case FormInput::kSupplyTemp:
    case FormInput::kSupplyHeater:
    case FormInput::kSoundDistance:
    case FormInput::kRoomConstant:
      return false;
    default:
      return true;
  }
}

// The value a condition check corrected, put back where the user typed it.
void ApplyCorrection(SelectionRequest& r, const LTConditionCorrection& c) {
  LTModeInputs& mode = c.cooling ? r.cooling : r.heating;
  switch (c.field) {
    case ConditionField::kOutdoorDryBulb: mode.outdoor.dryBulbC = c.toC; break;
    case ConditionField::kRoomWetBulb: mode.room.humidity = c.toC; break;
    case ConditionField::kOutdoorWetBulb: mode.outdoor.humidity = c.toC; break;
  }
}

}  // namespace

CTSelectionForm::CTSelectionForm(const CTCatalogueSession& session) : v_session(session) {
  v_ranges = CTSelectionRun::FamilyRanges(v_session, v_request.family);
}

CTInputFields::Field CTSelectionForm::FieldOf(FormInput nInput) { return FieldOfInput(nInput); }

LTFamilyTraits CTSelectionForm::Traits(int nFamily) {
  LTFamilyTraits t;
  t.exhaustInputs = CTSelectionRun::HasExhaustInputs(nFamily);
  t.filters = nFamily == Cls_HRX::kPlainUnit;
  t.discharge = nFamily == Cls_HRX::kFreshAirUnit;
  t.supplyHeater = nFamily == Cls_HRX::kPlainUnit;
  t.coil = nFamily == Cls_HRX::kCoilUnit;
  t.capacities = t.coil || t.discharge;
  t.coilRatio = t.coil;
  t.drawing = nFamily <= Cls_HRX::kDrawnFamily;
  return t;
}

LTFormInputState CTSelectionForm::State(FormInput nInput) const {
  const SelectionRequest& r = v_request;
  const LTFamilyTraits traits = Traits(r.family);
  const bool totals = r.basis == AirflowBasis::kTotals;
  LTFormInputState s;
  const Field field = FieldOfInput(nInput);
  if (field != Field::kFieldCount) {
    const LTInputField& spec = CTInputFields::Spec(field);
    s.min = spec.min;
    s.max = spec.max;
    s.resolution = spec.resolution;
    s.value = *ValueOf(r, nInput);
  }
  switch (nInput) {
    case FormInput::kAirflowPerPerson: s.enabled = !totals; break;
    case FormInput::kRoomSurface: s.enabled = !totals && v_surfaceOpen; break;
    case FormInput::kAreaPerPerson: s.enabled = r.basis == AirflowBasis::kByArea; break;
    case FormInput::kPersons: s.enabled = r.basis == AirflowBasis::kByPersons; break;
    case FormInput::kTotalSupply:
      s.min = v_ranges.minAirflowLs;
      s.max = v_ranges.maxAirflowLs;
      s.enabled = totals;
      break;
    case FormInput::kTotalExhaust:
      s.min = v_ranges.minAirflowLs;
      s.max = v_ranges.maxAirflowLs;
      s.visible = traits.exhaustInputs;
      s.enabled = r.exhaustGiven;
      break;
    case FormInput::kSupplyEsp: s.max = v_ranges.maxEspPa; break;
    case FormInput::kExhaustEsp:
      s.max = v_ranges.maxEspPa;
      s.visible = traits.exhaustInputs;
      break;
    case FormInput::kBasis:
      s.enabled = !totals;
      s.max = 1;
      s.value = v_personsChosen ? 1 : 0;
      break;
    case FormInput::kTotalSupplyGiven:
      s.max = 1;
      s.value = totals ? 1 : 0;
      break;
    case FormInput::kTotalExhaustGiven:
      s.max = 1;
      s.visible = traits.exhaustInputs;
      s.value = r.exhaustGiven ? 1 : 0;
      break;
    case FormInput::kSupplyFilter:
    case FormInput::kExhaustFilter:
      s.max = Cls_HRX::kFilterClassCount - 1;
      s.visible = traits.filters;
      s.value = nInput == FormInput::kSupplyFilter ? r.supplyFilter : r.exhaustFilter;
      break;
    case FormInput::kPlenum:
      s.max = int(PlenumArrangement::kAll);
      s.visible = v_result.plenumAvailable;
      s.value = int(r.plenum);
      break;
    case FormInput::kMaxSpeed: {
      // The highest speed type the family offers when none is chosen.
      s.visible = v_ranges.speedTypes.size() >= 2;
      s.value = r.maxSpeedTypeID;
      const bool offered = std::any_of(v_ranges.speedTypes.begin(), v_ranges.speedTypes.end(),
                                       [&r](const LTSpeedTypeItem& t) { return t.id == r.maxSpeedTypeID; });
      if (!offered) s.value = v_ranges.speedTypes.isEmpty() ? 0 : v_ranges.speedTypes.back().id;
      break;
    }
    case FormInput::kEvaporating:
      // The coil's evaporating temperature: the offered list's first, the
      // rating the coils are selected at; not an input of the window.
      s.visible = false;
      s.min = CTCoilCapacity::kOfferedTEs.front();
      s.max = CTCoilCapacity::kOfferedTEs.back();
      s.value = r.evaporatingC;
      break;
    case FormInput::kUpsideDown: {
      const Cls_HRX* unit = CurrentUnit();
      s.visible = unit && unit->GetCanBeUpsideDown();
      s.max = 1;
      s.value = r.upsideDown ? 1 : 0;
      break;
    }
    case FormInput::kCoolDischarge:
    case FormInput::kHeatDischarge: {
      s.visible = traits.discharge;
      if (Cls_HRX* unit = CurrentUnit(); unit && traits.discharge) {
        const auto range = CTSelectionRun::DischargeRange(*unit, nInput == FormInput::kCoolDischarge);
        if (range.hi > range.lo) {
          s.min = range.lo;
          s.max = range.hi;
        }
      }
      break;
    }
    case FormInput::kSupplyTemp:
      s.visible = traits.supplyHeater;
      s.enabled = r.heating.supplyTempGiven;
      break;
    case FormInput::kSupplyHeater:
      s.visible = traits.supplyHeater;
      s.enabled = r.heating.supplyHeater == HeaterChoice::kUserValue;
      break;
    default: break;
  }
  return s;
}

// ---------------------------------------------------------------- edits

void CTSelectionForm::Reset(int nFamily) {
  v_request = SelectionRequest{};
  v_request.family = nFamily;
  v_otherSections.clear();
  v_personsChosen = false;
  v_surfaceOpen = true;
  v_optionChoices.Clear();
  ForgetHeaters();
  v_ranges = CTSelectionRun::FamilyRanges(v_session, nFamily);
  Normalize();
  RunCandidates();
  Notify(kReset | kInputs | kRanges | kCandidates | kUnit);
}

void CTSelectionForm::SetValue(FormInput nInput, double nValue) {
  double* value = ValueOf(v_request, nInput);
  if (!value) return;
  *value = nValue;
  if (nInput == FormInput::kCoolDischarge) v_request.cooling.dischargeGiven = true;
  if (nInput == FormInput::kHeatDischarge) v_request.heating.dischargeGiven = true;
  if (nInput == FormInput::kTotalExhaust && nValue == 0) v_request.exhaustGiven = false;
  Normalize();
  if (NeedsNewList(nInput)) {
    RunCandidates();
    return Notify(kInputs | kCandidates | kUnit | (v_correction ? kCorrected : 0u));
  }
  ComputeUnit();
  Notify(kInputs | kUnit | (v_correction ? kCorrected : 0u));
}

void CTSelectionForm::SetBasis(AirflowBasis nBasis) {
  SelectionRequest& r = v_request;
  const AirflowBasis previous = r.basis;
  if (nBasis == previous) return;
  // Leaving the totals, the per-person basis the user had chosen comes back
  // with its default; between area and persons, the one taken over is
  // worked out from the other, so that the airflow stays about the same.
  const LTInputField& area = CTInputFields::Spec(Field::kAreaPerPerson);
  const LTInputField& persons = CTInputFields::Spec(Field::kPersons);
  const LTInputField& surface = CTInputFields::Spec(Field::kRoomSurface);
  if (nBasis == AirflowBasis::kTotals) {
    r.basis = nBasis;
  } else if (previous == AirflowBasis::kTotals) {
    r.basis = nBasis;
    if (nBasis == AirflowBasis::kByPersons) r.persons = persons.init;
    else r.areaPerPersonM2 = area.init;
  } else if (nBasis == AirflowBasis::kByArea) {
    r.basis = nBasis;
    r.areaPerPersonM2 = area.init;
    r.roomSurfaceM2 = Rounding::HalfEvenInt(r.persons * area.init);
  } else {
    r.basis = nBasis;
    const double perPerson = r.areaPerPersonM2 == 0 ? area.init : r.areaPerPersonM2;
    const double room = r.roomSurfaceM2 == 0 ? surface.init : r.roomSurfaceM2;
    r.persons = Rounding::HalfEvenInt(room / perPerson);
  }
  if (nBasis != AirflowBasis::kTotals) v_personsChosen = nBasis == AirflowBasis::kByPersons;
  // The room surface takes a value by area, and again once the total is
  // given up, whichever basis comes back; choosing persons closes it.
  v_surfaceOpen = nBasis == AirflowBasis::kByArea || previous == AirflowBasis::kTotals;
  EditAndRun(kInputs);
}

void CTSelectionForm::SetExhaustGiven(bool bGiven) {
  v_request.exhaustGiven = bGiven;
  EditAndRun(kInputs);
}

void CTSelectionForm::SetFamily(int nFamily) {
  v_request.family = nFamily;
  v_ranges = CTSelectionRun::FamilyRanges(v_session, nFamily);
  EditAndRun(kInputs | kRanges);
}

void CTSelectionForm::SetFilter(bool bSupply, int nFilterClass) {
  (bSupply ? v_request.supplyFilter : v_request.exhaustFilter) = nFilterClass;
  EditAndRun(kInputs);
}

void CTSelectionForm::SetPlenum(PlenumArrangement nPlenum) {
  v_request.plenum = nPlenum;
  EditAndRun(kInputs);
}

void CTSelectionForm::SetMaxSpeed(int nSpeedTypeID) {
  v_request.maxSpeedTypeID = nSpeedTypeID;
  EditAndRun(kInputs);
}

void CTSelectionForm::SetEvaporating(double nTeC) {
  v_request.evaporatingC = nTeC;
  EditAndRun(kInputs);
}

void CTSelectionForm::SetUpsideDown(bool bUpsideDown) {
  v_request.upsideDown = bUpsideDown;
  EditAndRun(kInputs);
}

void CTSelectionForm::SetMode(bool bCooling, const LTModeInputs& mode) {
  LTInletMemory& memory = v_inlet[bCooling ? 0 : 1];
  const LTModeInputs& before = bCooling ? v_request.cooling : v_request.heating;
  // An option chosen is the user's to keep; a size of the user's own or the
  // calculated heater ends it, and "calculated" forgets the heater held.
  if (mode.inletHeater == HeaterChoice::kOption) memory.takenID = mode.inletOptionID;
  else memory.takenID = 0;
  if (mode.inletHeater == HeaterChoice::kCalculated && before.inletHeater != HeaterChoice::kCalculated)
    memory.calculatedKW = 0;
  (bCooling ? v_request.cooling : v_request.heating) = mode;
  Normalize();
  ComputeUnit();
  Notify(kInputs | kUnit | (v_correction ? kCorrected : 0u));
}

void CTSelectionForm::SetCandidate(int nIndex) {
  v_request.candidate = nIndex;
  ComputeUnit();
  Notify(kUnit | (v_correction ? kCorrected : 0u));
}

bool CTSelectionForm::ApplyProject(const CTHRXProjectData& project, QString& szWhy) {
  const SelectionRequest stored = CTProjectMapping::ToRequest(project, v_request);
  if (v_session.UnitsOfFamily(stored.family).IsEmpty()) {
    szWhy = TBaseMsg::Tr(QStringLiteral("The catalogue has no units of family %1.")).arg(stored.family);
    return false;
  }
  v_request = stored;
  v_otherSections.clear();
  for (const CTProjectSection& section : project.v_sections)
    if (!CTHRXProjectIO::IsKnownSection(section.tag)) v_otherSections.append(section);
  v_personsChosen = stored.basis == AirflowBasis::kByPersons;
  v_surfaceOpen = !v_personsChosen;
  // The choices made in the selection that was open belong to it.
  v_optionChoices.Clear();
  ForgetHeaters();
  v_ranges = CTSelectionRun::FamilyRanges(v_session, stored.family);
  Normalize();
  // The stored unit at its speeds made current when it still is a
  // candidate, with the options used on it; otherwise the first candidate.
  const LTProjectUnit unit = CTProjectMapping::Unit(project);
  RunCandidates(unit);
  if (Cls_HRX* current = CurrentUnit()) {
    if (CTProjectMapping::FindCandidate(v_result, unit) == v_result.current) {
      CTProjectMapping::RestoreOptions(*current, unit);
      v_optionChoices.Keep(*current);
    }
    // A heater option the file chose is that option again, taken as the
    // user's choice.
    bool retake = false;
    for (const int m : {0, 1}) {
      LTModeInputs& mode = m == 0 ? v_request.cooling : v_request.heating;
      const LTModeInputs before = mode;
      CTProjectMapping::TakeHeaterOption(mode, *current, unit);
      if (mode.inletHeater == HeaterChoice::kOption) v_inlet[std::size_t(m)].takenID = mode.inletOptionID;
      retake = retake || mode.inletHeater != before.inletHeater || mode.inletOptionID != before.inletOptionID;
    }
    if (retake) ComputeUnit();
  }
  Notify(kReset | kInputs | kRanges | kCandidates | kUnit);
  return true;
}

void CTSelectionForm::SetAnnual(const LTAnnualInputs& annual) {
  if (annual == v_request.annual) return;
  v_request.annual = annual;
  Notify(kInputs);
}

void CTSelectionForm::SelectOption(int nRow) {
  OptionRows();
  Cls_HRX* unit = CurrentUnit();
  if (!unit || nRow < 0 || nRow >= v_optionRows.size()) return;
  CTOptionSelection::Select(*unit, v_optionRows, nRow);
  v_optionChoices.Keep(*unit);
}

bool CTSelectionForm::DeselectOption(int nRow) {
  OptionRows();
  Cls_HRX* unit = CurrentUnit();
  if (!unit || nRow < 0 || nRow >= v_optionRows.size()) return true;
  if (!CTOptionSelection::Deselect(*unit, v_optionRows, nRow)) return false;
  v_optionChoices.Keep(*unit);
  return true;
}

std::optional<CTHRXProjectData> CTSelectionForm::Project() {
  Cls_HRX* unit = CurrentUnit();
  if (!unit) return std::nullopt;
  FillOptions();
  CTHRXProjectData data = CTProjectMapping::ProjectOf(v_request, *unit);
  for (const CTProjectSection& section : v_otherSections)
    if (!data.Section(section.tag.constData())) data.v_sections.append(section);
  return data;
}

// ---------------------------------------------------------------- the run

void CTSelectionForm::SetRequest(const SelectionRequest& request) {
  if (request.family != v_request.family || v_ranges.speedTypes.isEmpty())
    v_ranges = CTSelectionRun::FamilyRanges(v_session, request.family);
  v_request = request;
  v_personsChosen = request.basis == AirflowBasis::kByPersons;
  v_surfaceOpen = !v_personsChosen;
  ForgetHeaters();
  for (const int m : {0, 1}) {
    const LTModeInputs& mode = m == 0 ? request.cooling : request.heating;
    if (mode.inletHeater == HeaterChoice::kOption) v_inlet[std::size_t(m)].takenID = mode.inletOptionID;
  }
  Normalize();
}

void CTSelectionForm::Normalize() {
  SelectionRequest& r = v_request;
  r = CTSelectionRun::WithinRanges(r, v_ranges);
  // The airflow the persons or the area give, held in the total; the
  // persons or the area corrected when the family's range bounded it. An
  // exhaust not given follows the supply.
  const CTSelectionRun::LTAirflows airflows =
      CTSelectionRun::Airflows(CTSelectionRun::Normalized(r, v_ranges), v_ranges);
  if (airflows.corrected) {
    if (r.basis == AirflowBasis::kByArea) r.areaPerPersonM2 = airflows.areaPerPersonM2;
    else r.persons = airflows.persons;
  }
  r.totalSupplyLs = airflows.supplyLs;
  if (!r.exhaustGiven) r.totalExhaustLs = airflows.supplyLs;
}

void CTSelectionForm::EditAndRun(unsigned nChanges) {
  Normalize();
  RunCandidates();
  Notify(nChanges | kCandidates | kUnit | (v_correction ? kCorrected : 0u));
}

void CTSelectionForm::RunCandidates(const std::optional<LTProjectUnit>& opening) {
  SelectionRequest request = v_request;
  request.candidate = 0;
  v_result = CTSelectionRun::RunCandidates(v_session, request);
  v_request.candidate = opening ? std::max(0, CTProjectMapping::FindCandidate(v_result, *opening)) : 0;
  ComputeUnit();
}

void CTSelectionForm::ComputeUnit() {
  v_correction.reset();
  v_optionRows.clear();
  v_optionRowsStale = true;
  if (v_result.candidates.IsEmpty()) return;
  const int index = std::clamp(v_request.candidate, 0, v_result.candidates.Count() - 1);
  ResolveInletHeaters(*v_result.candidates.Item(index));
  CTSelectionRun::ComputeCandidate(v_result, v_request, v_request.candidate);
  // The inlet heater a mode calculated, held for the next unit's options.
  for (const int m : {0, 1}) {
    const LTModeResult& mode = m == 0 ? v_result.cooling : v_result.heating;
    if (mode.computed && (mode.code == 0 || mode.code == LTModeResult::kInletHeaterTooSmall))
      v_inlet[std::size_t(m)].calculatedKW = mode.inletHeater.CalcHeater;
  }
  if (v_result.correction) {
    // The first wrong condition corrected where the user typed it; nothing
    // is computed until the next edit.
    v_correction = v_result.correction;
    ApplyCorrection(v_request, *v_correction);
  }
}

const QList<LTOptionRow>& CTSelectionForm::OptionRows() {
  if (v_optionRowsStale) FillOptions();
  return v_optionRows;
}

void CTSelectionForm::ForgetHeaters() { v_inlet = {}; }

// The inlet heater choice of each mode on the unit about to be computed:
// the option the user took while the unit offers it; otherwise, with an
// option chosen, the unit's smallest option that covers the heater held (its
// first when none does); in place of the calculated heater, once one was
// calculated, the smallest option that covers it. A unit without options
// keeps the size of the option chosen before as the user's own.
void CTSelectionForm::ResolveInletHeaters(Cls_HRX& unit) {
  const QList<LTHeaterOption> options = CTSelectionRun::HeaterOptions(unit);
  for (const int m : {0, 1}) {
    LTModeInputs& mode = m == 0 ? v_request.cooling : v_request.heating;
    LTInletMemory& memory = v_inlet[std::size_t(m)];
    if (options.isEmpty()) {
      if (mode.inletHeater == HeaterChoice::kOption) {
        mode.inletHeater = HeaterChoice::kUserValue;
        mode.inletHeaterKW = memory.optionKW;
      }
      continue;
    }
    int chosen = -1;
    for (int i = 0; i < options.size() && memory.takenID != 0; ++i)
      if (options[i].id == memory.takenID) chosen = i;
    const int best = CTSelectionRun::SmallestCoveringOption(options, memory.calculatedKW);
    if (chosen < 0 && mode.inletHeater == HeaterChoice::kOption) chosen = std::max(best, 0);
    if (chosen < 0 && mode.inletHeater == HeaterChoice::kCalculated && memory.calculatedKW > 0) chosen = best;
    if (chosen < 0) continue;
    mode.inletHeater = HeaterChoice::kOption;
    mode.inletOptionID = options[chosen].id;
    memory.optionKW = options[chosen].kW;
  }
}

void CTSelectionForm::FillOptions() {
  v_optionRowsStale = false;
  v_optionRows.clear();
  Cls_HRX* unit = CurrentUnit();
  if (!unit) return;
  // A run made a new record of the unit: the choice made on it comes back.
  v_optionChoices.Give(*unit);
  v_optionRows = CTOptionSelection::FillOptions(*unit, LTOptionInputs::Of(v_request));
}

void CTSelectionForm::Notify(unsigned nChanges) {
  for (const Listener& listener : v_listeners) listener(nChanges);
}
