#pragma once
// SelectionResult: everything a selection run found, in SI, for the window,
// aerolith-cli, the report and the project files alike.
//
// Units: airflows l/s (and m3/h where the catalogue works in them),
// pressures Pa, temperatures degC, humidity ratio kg/kg, enthalpy kJ/kg,
// capacities, heaters and savings kW, humidification kg/h, specific fan
// power kW/(m3/s).

#include "catalogue/CheckCode.h"
#include "catalogue/ClHRX.h"
#include "catalogue/PsychroSet.h"
#include "catalogue/Sentinels.h"
#include "selection/Ecodesign.h"
#include "recdb/ObjList.h"

#include <QList>
#include <QStringList>
#include <QString>

#include <array>
#include <cmath>
#include <optional>

// One row of the candidate list. A unit without an exhaust fan has no
// exhaust speed (empty) and no exhaust margin (NaN).
struct LTCandidate {
  QString name;
  QString supplySpeed;
  QString exhaustSpeed;
  bool hasPlenum = false;
  double supplyMarginPa = 0;
  double exhaustMarginPa = 0;
};

// What one plenum arrangement's run found.
struct LTArrangementRun {
  int code = 0;  // why nothing fits; 0 with candidates
  int count = 0;
};

// The pressures of one duct side at the chosen speed.
struct LTEspSide {
  double filterPa = 0;
  double plenumPa = 0;
  double fanPa = 0;         // what the fan delivers at the airflow
  double additionalPa = 0;  // fan - design ESP - filter - plenum; negative when short
};

// The fans' electric power at the chosen speeds and the unit's specific fan
// power: the fans the unit has over the larger airflow they move; a unit
// without an exhaust fan counts its supply fan over the supply airflow.
struct LTFanPower {
  bool known = false;
  double supplyKW = 0;
  double exhaustKW = 0;
  double totalKW = 0;
  double sfpKWPerM3s = 0;
  int sfpClass = 0;  // 0 to 7
};

// A condition the checks found wrong and corrected before computing.
enum class ConditionField { kOutdoorDryBulb, kRoomWetBulb, kOutdoorWetBulb };
struct LTConditionCorrection {
  bool cooling = true;  // in the cooling frame, else the heating frame
  ConditionField field = ConditionField::kOutdoorDryBulb;
  double fromC = 0;
  double toC = 0;
  int messageNumber = 0;
  QString message;
};

// One operating mode of the current unit.
struct LTModeResult {
  // The heater check's codes, after a sound computation: the user's inlet
  // or supply heater is smaller than the calculated minimum.
  static constexpr int kInletHeaterTooSmall = CheckCode::kInletHeaterTooSmall;
  static constexpr int kSupplyHeaterTooSmall = CheckCode::kSupplyHeaterTooSmall;

  bool computed = false;  // the computation ran (its code may still be a failure)
  int code = 0;           // 0, a code of the computation, or one of the heater check (CheckCode)
  QString message;
  ALPsychroSet states{};
  std::array<double, 8> wetBulbC{};  // in the order of the states
  double temperatureEff = 0;         // %
  double enthalpyEff = 0;            // %
  double totalCapKW = 0;             // cooling: coil or table capacity
  double sensibleCapKW = 0;
  double heatCapKW = 0;              // heating
  // Cooling: the highest, heating: the lowest outdoor temperature without an
  // inlet heater; Sentinel::kNoTemperature when there is none.
  double ambientLimitC = Sentinel::kNoTemperature;
  double humidificationKgh = 0;
  ALHeaterSet inletHeater{};
  ALHeaterSet supplyHeater{};
  double dischargeC = 0;   // the discharge setting used
  double supplyTempC = 0;  // what the results show as supply temperature: for a fresh-air unit, the one reached
  // A mode that stands (code 0) but falls short of what was asked: a
  // fresh-air unit whose supply air misses its discharge setting by more
  // than the tolerance (shortfallK, K), or a coil limited to what its
  // surface allows (at coilSurfaceC). notes says each in words.
  double shortfallK = 0;
  bool coilLimited = false;
  double coilSurfaceC = 0;
  QStringList notes;
  double latentSavingsKW = 0;
  double sensibleSavingsKW = 0;
  double totalSavingsKW = 0;

  bool Succeeded() const { return computed && code == 0; }
  bool FailedHeaterCheck() const { return code == kInletHeaterTooSmall || code == kSupplyHeaterTooSmall; }
};

struct SelectionResult {
  SelectionResult() = default;
  SelectionResult(SelectionResult&&) = default;
  SelectionResult& operator=(SelectionResult&&) = default;

  // The airflows and pressures as run, at the site's altitude (m).
  int family = 0;
  double altitudeM = 0;
  double supplyLs = 0;
  double exhaustLs = 0;
  double supplyM3h = 0;
  double exhaustM3h = 0;
  double supplyEspPa = 0;
  double exhaustEspPa = 0;
  // The persons or area per person corrected when the derived airflow had to
  // be bounded to the family (airflowCorrected), as the fields then show them.
  bool airflowCorrected = false;
  double areaPerPersonM2 = 0;
  double persons = 0;

  std::array<LTArrangementRun, 3> arrangements{};
  bool plenumAvailable = false;  // some candidate of some arrangement has a plenum
  int arrangement = 0;           // the one asked for
  ObjectList<Cls_HRX> candidates{true};  // its solutions, best first (owned)
  QList<LTCandidate> rows;               // the same, as the list shows them
  int selectionCode = 0;                 // why the list is empty
  QString selectionMessage;

  std::optional<LTConditionCorrection> correction;

  // The unit computed: an index into candidates, -1 for none.
  int current = -1;
  QString unitName;  // qualified: "NV-400, High 3 + Medium 2"
  bool upsideDown = false;
  bool hasHumidifier = false;
  double exhaustSupplyRatio = NAN;   // NaN where the family shows no ratio
  double supplyNominalRatio = NAN;
  LTEspSide supplySide, exhaustSide;
  bool exhaustSideShown = false;
  LTFanPower fans;
  LTModeResult cooling, heating;
  // The unit under the ecodesign regulation with the filters selected, and
  // its sound at the operating point.
  LTEcodesign ecodesign;
  LTSound sound;

  Cls_HRX* Current() const { return current >= 0 && current < candidates.Count() ? candidates.Item(current) : nullptr; }
};
