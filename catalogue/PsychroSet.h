#pragma once
// The air states of one operating mode and the heater records of the unit
// computation (Cls_HRX::SelectForCooling / SelectForHeating).

#include "psychro/Air.h"

#include <cmath>
#include <limits>

// One air state: dry bulb (degC), relative humidity (%), humidity ratio
// (kg/kg), enthalpy (kJ/kg).
struct RepPsychroPoint {
  double DBT = 0;
  double RH = 0;
  double AH = 0;
  double e = 0;
};

// Air at a dry bulb (degC) and relative humidity (%), at the air's pressure.
inline RepPsychroPoint PsychroPointAt(const TAir& air, double dbt, double rh) {
  RepPsychroPoint p;
  p.DBT = dbt;
  p.RH = rh;
  p.AH = air.AbsoluteHumidity(rh, dbt);
  p.e = TAir::Enthalpy(p.AH, dbt);
  return p;
}

// The eight states of one mode, in this order:
//   RA room (return) air entering the unit    OA outdoor air
//   EA exhaust air leaving the exchanger      SA supply air delivered
//   VI outdoor air entering the exchanger     VO supply air after coil and humidifier
//   CI supply air leaving the exchanger       HI supply air before the humidifier
struct ALPsychroSet {
  RepPsychroPoint RA, OA, EA, SA, VI, VO, CI, HI;
};
static_assert(sizeof(RepPsychroPoint) == 32 && sizeof(ALPsychroSet) == 256, "the record layout of the states");

// A heater (kW): what the user asked for and what the computation needs.
struct ALHeaterSet {
  double UserHeater = 0;
  double CalcHeater = 0;

  // Stores x as the calculated heater and raises the user's heater to it,
  // so that afterwards UserHeater >= CalcHeater.
  void SetCalcHeater(double x) {
    CalcHeater = x;
    if (x > UserHeater || std::isnan(x)) UserHeater = x;
  }
};

// The conditions of one mode's computation: room (RA) and outdoor (OA) air
// in degC and %, the airflows in m3/h, the mounting, and the heaters the
// user asks for (kW; not given or 0 for none).
struct ALModeConditions {
  double RATemp = 0;
  double RARelH = 0;
  double OATemp = 0;
  double OARelH = 0;
  double SupplyAir = 0;
  double ExhaustAir = 0;
  bool bUpsideDown = false;
  double UserInletHeater = 0;
  double UserSupplyHeater = 0;  // heating only
};

// What a unit's refrigerant coil does to the air entering it: the outlet
// state and the capacities (kW; cooling positive, heating in TotalCap and
// SensibleCap alike). Limited: the data asked for more than the coil's
// surface allows (in cooling, the line from inlet through outlet met
// saturation below the evaporating temperature; in heating, the outlet
// passed the condensing limit), and the outlet and capacities were limited
// to what a surface at SurfaceTemp gives. Code: 0, or the unit's code for
// a coil without data at the evaporating temperature asked.
struct ALCoilStep {
  int Code = 0;
  RepPsychroPoint Outlet{};
  double TotalCap = 0;
  double SensibleCap = 0;
  bool Limited = false;
  double SurfaceTemp = 0;
};

// What Cls_HRX::SelectForCooling found: its check code (0 = success), the
// states, the coil's total and sensible capacity (kW), the exchange
// efficiencies (%), the highest outdoor temperature without an inlet heater
// (degC, Sentinel::kNoTemperature for none) and the inlet heater.
struct ALCoolingResult {
  int Code = 0;
  ALPsychroSet PsychroPoints{};
  double TotalCap = 0;
  double SensibleCap = 0;
  double TemperatureEff = 0;
  double EnthalpyEff = 0;
  double MaxAmbientTemp = 0;
  ALHeaterSet InletHeater{};
  // The coil's data asked for more than its surface allows (the cooling
  // line met saturation below the evaporating temperature): the outlet and
  // the capacities were limited to what the surface at CoilSurfaceTemp gives.
  bool CoilLimited = false;
  double CoilSurfaceTemp = 0;
};

// What Cls_HRX::SelectForHeating found: its check code, the states, the
// heating capacity (kW), the efficiencies (%), the lowest outdoor
// temperature without an inlet heater (degC, Sentinel::kNoTemperature for
// none), the humidification (kg/h) and both heaters.
struct ALHeatingResult {
  int Code = 0;
  ALPsychroSet PsychroPoints{};
  double HeatCap = 0;
  double TemperatureEff = 0;
  double EnthalpyEff = 0;
  double MinAmbientTemp = 0;
  double Humidification = 0;
  ALHeaterSet InletHeater{};
  ALHeaterSet SupplyHeater{};
  // The coil's data asked for a warmer outlet than its condensing limit
  // allows: the outlet and the capacity were limited to CoilSurfaceTemp.
  bool CoilLimited = false;
  double CoilSurfaceTemp = 0;
};
