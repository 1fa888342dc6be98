#include "psychro/AirState.h"

#include <limits>

CTAirState CTAirState::FromHumidityRatio(const TAir& air, double DryBulbTemp, double AbsHumidity) {
  CTAirState s;
  s.pressurePa = air.GetTotalPressure();
  s.saturationPressurePa = TAir::StaticPressure(DryBulbTemp);
  s.humidityRatio = AbsHumidity;
  s.relativeHumidity = air.RelativeHumidity(AbsHumidity, DryBulbTemp);
  s.enthalpyKjKg = TAir::Enthalpy(AbsHumidity, DryBulbTemp);
  // The dew-point correlation takes the logarithm of the vapour pressure.
  s.dewPointC = AbsHumidity > 0 ? air.DewPoint(AbsHumidity) : std::numeric_limits<double>::quiet_NaN();
  s.wetBulbC = air.WetBulbTemp(DryBulbTemp, s.enthalpyKjKg);
  s.dryAirDensity = air.DryAirDensity(DryBulbTemp);
  return s;
}

CTAirState CTAirState::FromRelHumidity(const TAir& air, double DryBulbTemp, double RelHumidity) {
  return FromHumidityRatio(air, DryBulbTemp, air.AbsoluteHumidity(RelHumidity, DryBulbTemp));
}

CTAirState CTAirState::FromWetBulb(const TAir& air, double DryBulbTemp, double WetBulbTemp) {
  const double saturated = air.AbsoluteHumidity(100, WetBulbTemp);
  const double enthalpy = TAir::Enthalpy(saturated, WetBulbTemp);
  return FromHumidityRatio(air, DryBulbTemp, TAir::HumidityRatio(enthalpy, DryBulbTemp));
}
