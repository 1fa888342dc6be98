#pragma once
// The air states of one operating mode and the heater records of the unit
// computation (Cls_HRX::SelectForCooling / SelectForHeating).

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
