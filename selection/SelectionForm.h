#pragma once
// CTSelectionForm: the selection as a form holds it. It owns the request,
// the chosen family's ranges, the last result and the user's choices on
// the units (used options, heater options a project took), and says for
// every input whether it shows, whether it takes a value, its range and
// resolution (in SI) and its value. The window binds its widgets to it,
// aerolith-cli and the project loader call the same setters, so a project
// opened either way starts from the same request.
//
// Every edit goes through a setter: the value is stored as given (bounded
// to its range, never rounded: the unit a user works in is a display
// preference), the request is normalised once, the selection runs as far as
// the edit needs (a new candidate list, or the current unit again), and the
// listeners hear what changed.

#include "selection/CatalogueSession.h"
#include "selection/InputFields.h"
#include "selection/OptionSelection.h"
#include "selection/ProjectFile.h"
#include "selection/SelectionRequest.h"
#include "selection/SelectionResult.h"
#include "selection/SelectionRun.h"

#include <QList>
#include <QString>

#include <array>
#include <functional>
#include <optional>

// What the units of a family have, and so which inputs and results the
// form shows for it.
struct LTFamilyTraits {
  bool exhaustInputs = false;  // exhaust airflow and ESP, the airflow ratio, the efficiency charts
  bool filters = false;        // a filter class on each side, filter and plenum pressure drops
  bool discharge = false;      // a discharge temperature per mode
  bool supplyHeater = false;   // a wanted supply temperature and a supply heater in heating
  bool coil = false;           // a coil after the exchanger (its inlet state, its sensible capacity)
  bool capacities = false;     // the coil's or the fresh-air unit's capacities
  bool coilRatio = false;      // the ratio of supply to nominal airflow
  bool drawing = false;        // a configuration drawing of its own
};

// One input of the form.
enum class FormInput {
  kAltitude,
  kAirflowPerPerson,
  kRoomSurface,
  kAreaPerPerson,
  kPersons,
  kTotalSupply,
  kTotalExhaust,
  kSupplyEsp,
  kExhaustEsp,
  kBasis,            // by area or by persons (the two choices)
  kTotalSupplyGiven, // the supply given as a total
  kTotalExhaustGiven,
  kSupplyFilter,
  kExhaustFilter,
  kPlenum,
  kMaxSpeed,
  kEvaporating,
  kUpsideDown,
  kCoolDischarge,
  kHeatDischarge,
  kSupplyTemp,       // heating
  kSupplyHeater,     // heating
  kSoundDistance,    // where the sound pressure in the room is worked out
  kRoomConstant,
  kCount
};

struct LTFormInputState {
  bool visible = true;
  bool enabled = true;
  double min = 0;      // SI, as CTInputFields counts
  double max = 0;
  int resolution = 1;  // positions per SI unit
  double value = 0;    // SI; a choice as its number
};

class CTSelectionForm {
 public:
  // What an edit changed, for the listeners.
  enum Change : unsigned {
    kInputs = 1u << 0,      // one or more inputs hold new values
    kRanges = 1u << 1,      // the family's ranges (a family change)
    kCandidates = 1u << 2,  // a new candidate list
    kUnit = 1u << 3,        // the current unit computed again (or none)
    kCorrected = 1u << 4,   // a condition was corrected instead of computed
    kReset = 1u << 5,       // every input set anew (a new selection, a project)
    kDisplay = 1u << 6,     // the units values are shown in: no value changed, nothing run
  };
  using Listener = std::function<void(unsigned nChanges)>;

  // The session outlives the form.
  explicit CTSelectionForm(const CTCatalogueSession& session);

  static LTFamilyTraits Traits(int nFamily);
  // The field table's row of a numeric input (kFieldCount for a choice).
  static CTInputFields::Field FieldOf(FormInput nInput);

  const SelectionRequest& Request() const { return v_request; }
  const SelectionResult& Result() const { return v_result; }
  const LTFamilyRanges& Ranges() const { return v_ranges; }
  Cls_HRX* CurrentUnit() const { return v_result.Current(); }
  // The option rows of the current unit (used and available), worked out
  // when first asked for after a computation.
  const QList<LTOptionRow>& OptionRows();
  // The correction of the last edit that was corrected instead of computed.
  const std::optional<LTConditionCorrection>& Correction() const { return v_correction; }
  LTFormInputState State(FormInput nInput) const;

  void AddListener(Listener fnListener) { v_listeners.push_back(std::move(fnListener)); }

  // ---- edits
  // A new selection of nFamily with every input at its default.
  void Reset(int nFamily);
  // A number typed into a field (SI). Choices go through their own setters.
  void SetValue(FormInput nInput, double nValue);
  void SetBasis(AirflowBasis nBasis);
  void SetExhaustGiven(bool bGiven);
  void SetFamily(int nFamily);
  void SetFilter(bool bSupply, int nFilterClass);
  void SetPlenum(PlenumArrangement nPlenum);
  void SetMaxSpeed(int nSpeedTypeID);
  void SetEvaporating(double nTeC);
  void SetUpsideDown(bool bUpsideDown);
  // The conditions, discharge and heater choices of one mode. An inlet
  // heater option given is the user's: it stays while the units computed
  // offer it.
  void SetMode(bool bCooling, const LTModeInputs& mode);
  // The year's weather, schedule and prices: no selection runs for them.
  void SetAnnual(const LTAnnualInputs& annual);
  // The candidate of the list made current and computed.
  void SetCandidate(int nIndex);
  // A project applied: its inputs, the run, its unit at its speeds made
  // current when it still is a candidate, with its options and heater
  // options. False (szWhy says why, nothing changed) when the catalogue has
  // no units of its family.
  bool ApplyProject(const CTHRXProjectData& project, QString& szWhy);
  // The display preferences changed: every value stays as given (they are
  // held in SI) and nothing runs; the listeners show them again.
  void PreferencesChanged() { Notify(kDisplay); }
  // The options box of the current unit.
  void SelectOption(int nRow);
  // False when the row is a standard option, which stays.
  bool DeselectOption(int nRow);
  // The unit and its used options as a project stores them; the options
  // the inputs call for are among the used ones.
  std::optional<CTHRXProjectData> Project();

  // ---- the steps, for callers that set several inputs before one run
  // (the command line): the request as given, normalised, nothing run.
  void SetRequest(const SelectionRequest& request);
  // A new candidate list; the unit of nOpening, when given and a
  // candidate, made current, else the first; then that unit computed.
  void RunCandidates(const std::optional<LTProjectUnit>& opening = std::nullopt);
  // The current candidate computed again with the request as it stands,
  // its inlet heater choices first resolved on the unit.
  void ComputeUnit();

 private:
  void Normalize();
  void Notify(unsigned nChanges);
  void EditAndRun(unsigned nChanges);
  void FillOptions();
  void ForgetHeaters();
  void ResolveInletHeaters(Cls_HRX& unit);

  const CTCatalogueSession& v_session;
  SelectionRequest v_request;
  LTFamilyRanges v_ranges;
  SelectionResult v_result;
  CTOptionChoices v_optionChoices;
  QList<LTOptionRow> v_optionRows;
  bool v_optionRowsStale = true;
  // By persons rather than by area: kept while the supply is a total.
  bool v_personsChosen = false;
  bool v_surfaceOpen = true;  // the room surface takes a value
  std::optional<LTConditionCorrection> v_correction;
  std::vector<Listener> v_listeners;
  // What the inlet heater choice of a mode remembers between units: the
  // option the user took (0: none), the kW of the option last chosen, and
  // the inlet heater the last computation calculated.
  struct LTInletMemory {
    int takenID = 0;
    double optionKW = 0;
    double calculatedKW = 0;
  };
  std::array<LTInletMemory, 2> v_inlet{};  // cooling, heating
  // The sections of the project opened that this build does not read: saved
  // again as they came, so that nothing a newer build wrote is lost.
  QList<CTProjectSection> v_otherSections;
};
