#pragma once
// SelectionRequest: every input of a selection as plain values in SI, the
// way the Selection tab and its two condition frames hold them. A request is
// what a project file stores, what the window edits and what aerolith-cli
// builds from its options; CTSelectionRun turns it into a SelectionResult.
//
// Units: altitude m, airflows l/s, surfaces m2, pressures Pa, temperatures
// degC, relative humidity %, heaters kW.

#include "psychro/Air.h"
#include "selection/AnnualInputs.h"
#include <QString>

// How the supply airflow is stated.
enum class AirflowBasis {
  kByArea,     // airflow per person x room surface / area per person
  kByPersons,  // airflow per person x number of persons
  kTotals,     // the total supply airflow as typed
};

// What the humidity value of an air condition is.
enum class HumidityMode { kRelativeHumidity, kWetBulb };

// How an electric heater is chosen.
enum class HeaterChoice {
  kCalculated,  // the computation sizes it (the user gives none)
  kUserValue,   // the user's size in kW
  kOption,      // one of the unit's heater options, by id
};

// Plenum arrangements, in the order of the three selection runs.
enum class PlenumArrangement { kNone = 0, kOutdoorExhaust = 1, kAll = 2 };

struct LTAirCondition {
  double dryBulbC = 20;
  HumidityMode humidityMode = HumidityMode::kRelativeHumidity;
  double humidity = 50;  // % in relative-humidity mode, degC in wet-bulb mode

  // The relative humidity (%) of the condition in the air of a site.
  double RelativeHumidity(const TAir& air) const {
    return humidityMode == HumidityMode::kWetBulb ? air.ConvertDBWB2RH(dryBulbC, humidity) : humidity;
  }
};

// The inputs of one condition frame (cooling or heating).
struct LTModeInputs {
  LTAirCondition room;
  LTAirCondition outdoor;
  // Discharge temperature of the fresh-air family (degC); when not given the
  // unit's highest discharge temperature of this mode is taken.
  bool dischargeGiven = false;
  double dischargeC = 0;
  HeaterChoice inletHeater = HeaterChoice::kCalculated;
  double inletHeaterKW = 0;  // for kUserValue
  int inletOptionID = 0;     // for kOption
  // Heating of the plain family only: a wanted supply temperature and a
  // supply heater of the user's size.
  bool supplyTempGiven = false;
  double supplyTempC = 20;
  HeaterChoice supplyHeater = HeaterChoice::kCalculated;  // kCalculated or kUserValue
  double supplyHeaterKW = 0;

  static LTModeInputs CoolingDefaults();
  static LTModeInputs HeatingDefaults();
};

struct SelectionRequest {
  double altitudeM = 0;

  AirflowBasis basis = AirflowBasis::kByArea;
  double airflowPerPersonLs = 5;
  double roomSurfaceM2 = 100;
  double areaPerPersonM2 = 5;
  double persons = 20;
  double totalSupplyLs = 100;  // used when basis is kTotals
  bool exhaustGiven = false;   // "Total exhaust air" ticked
  double totalExhaustLs = 100; // used when exhaustGiven and not 0

  double supplyEspPa = 150;
  double exhaustEspPa = 150;
  int supplyFilter = 0;  // filter class: 0 none, 1 F6, 2 F7, 3 F8
  int exhaustFilter = 0;
  PlenumArrangement plenum = PlenumArrangement::kNone;

  int family = 0;              // the family number of the units (Cls_HRX type)
  int maxSpeedTypeID = 0;      // the highest speed type allowed; 0: the family's highest
  double evaporatingC = 6;     // coil units
  bool upsideDown = false;     // asked for; used only by units that can be mounted so

  // Where the sound pressure of the supply outlet is worked out: the
  // distance from it (m) and the room's constant (m2).
  double soundDistanceM = 2;
  double roomConstantM2 = 50;

  // The year of the unit: weather, schedule, prices. No selection reads them.
  LTAnnualInputs annual;

  LTModeInputs cooling = LTModeInputs::CoolingDefaults();
  LTModeInputs heating = LTModeInputs::HeatingDefaults();

  // The candidate to compute: its index in the candidate list (0 = the
  // first, as a new run selects it).
  int candidate = 0;
};
