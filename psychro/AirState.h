#pragma once
// Every property of one moist-air state, derived from its dry bulb and
// humidity ratio at the calculator's pressure. Units as in TAir.

#include "psychro/Air.h"

struct CTAirState {
  double pressurePa = 0;
  double saturationPressurePa = 0;  // at the dry bulb
  double humidityRatio = 0;         // kg/kg
  double relativeHumidity = 0;      // %
  double enthalpyKjKg = 0;
  double dewPointC = 0;             // not a number for dry air
  double wetBulbC = 0;
  double dryAirDensity = 0;         // kg/m3

  static CTAirState FromHumidityRatio(const TAir& air, double DryBulbTemp, double AbsHumidity);
  static CTAirState FromRelHumidity(const TAir& air, double DryBulbTemp, double RelHumidity);
  // The state on the dry bulb whose adiabatic saturation ends at WetBulbTemp.
  static CTAirState FromWetBulb(const TAir& air, double DryBulbTemp, double WetBulbTemp);
};
