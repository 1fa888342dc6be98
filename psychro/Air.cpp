#include "psychro/Air.h"

#include <cmath>
#include <limits>

namespace {

double ClampDryBulb(double t) {
  if (std::isnan(t) || t < TAir::kMinTempC) return TAir::kMinTempC;
  if (t > TAir::kMaxTempC) return TAir::kMaxTempC;
  return t;
}

double ClampRelHumidity(double rh) {
  if (std::isnan(rh) || rh < 0) return 0;
  if (rh > 100) return 100;
  return rh;
}

// Relative humidity (percent) of humidity ratio w at t and total pressure p,
// t not clamped: the wet-bulb search walks freely below -80 degC.
double RelHumidityUnclamped(double w, double t, double p) {
  return (p / TAir::StaticPressure(t)) * w / (TAir::kMolarMassRatio + w) * 100.0;
}

}  // namespace

TAir::TAir(double TheAltitude) : v_TotalPressure(PressureAtAltitude(TheAltitude)) {}

void TAir::SetAltitude(double TheAltitude) { v_TotalPressure = PressureAtAltitude(TheAltitude); }

double TAir::PressureAtAltitude(double TheAltitude) {
  double h = TheAltitude;
  if (std::isnan(h) || h < kMinAltitudeM) h = kMinAltitudeM;
  if (h > kMaxAltitudeM) h = kMaxAltitudeM;
  return kStandardPressurePa * std::exp(kAltitudeExponent * std::log(1.0 - kAltitudeCoefficient * h));
}

// Hyland-Wexler (ASHRAE Fundamentals): ln p_ws over water for t >= 0, over ice below.
double TAir::StaticPressure(double DryBulbTemp) {
  const double T = DryBulbTemp + kZeroCelsiusK;
  const double lnT = std::log(T);
  double lnP;
  if (DryBulbTemp >= 0) {
    lnP = -5800.2206 / T + 1.3914993 + T * (-0.048640239 + T * (4.1764768e-5 + T * -1.4452093e-8)) +
          6.5459673 * lnT;
  } else {
    lnP = -5674.5359 / T + 6.3925247 +
          T * (-0.009677843 + T * (6.2215701e-7 + T * (2.0747825e-9 + T * -9.484024e-13))) + 4.1635019 * lnT;
  }
  return std::exp(lnP);
}

double TAir::AbsoluteHumidity(double RelHumidity, double DryBulbTemp) const {
  const double phi = ClampRelHumidity(RelHumidity) / 100.0;
  const double t = ClampDryBulb(DryBulbTemp);
  const double d = v_TotalPressure / StaticPressure(t) - phi;
  return d > 0 ? kMolarMassRatio * phi / d : 0.0;
}

double TAir::RelativeHumidity(double AbsHumidity, double DryBulbTemp) const {
  const double w = (std::isnan(AbsHumidity) || AbsHumidity < 0) ? 0.0 : AbsHumidity;
  return RelHumidityUnclamped(w, ClampDryBulb(DryBulbTemp), v_TotalPressure);
}

double TAir::DryAirDensity(double DryBulbTemp) const {
  return v_TotalPressure / ((ClampDryBulb(DryBulbTemp) + kZeroCelsiusK) * kDryAirGasConstant);
}

double TAir::Enthalpy(double AbsHumidity, double DryBulbTemp) {
  return kCpDryAir * DryBulbTemp + AbsHumidity * (kVaporisationHeat + kCpVapour * DryBulbTemp);
}

double TAir::DryBulbTemp(double Enthalpy, double AbsHumidity) {
  return (Enthalpy - kVaporisationHeat * AbsHumidity) / MoistCp(AbsHumidity);
}

double TAir::HumidityRatio(double Enthalpy, double DryBulbTemp) {
  return (Enthalpy - kCpDryAir * DryBulbTemp) / (kVaporisationHeat + kCpVapour * DryBulbTemp);
}

// ASHRAE dew-point correlation; the formula changes at the saturation
// humidity ratio of 0 degC.
double TAir::DewPoint(double AbsHumidity) const {
  const double w = AbsHumidity;
  const double pw = w * v_TotalPressure / (kMolarMassRatio + w);  // Pa
  const double a = std::log(pw / 1000.0);                          // ln of kPa
  if (w >= AbsoluteHumidity(100, 0))
    return 6.54 + 14.526 * a + 0.7389 * a * a + 0.09486 * a * a * a + 0.4569 * std::exp(0.1984 * a);
  return 6.09 + 12.608 * a + 0.4959 * a * a;
}

// Descends along the line of constant enthalpy from the dry bulb in steps of
// 10 K, stepping back and dividing the step by 5 whenever the candidate
// overshoots into supersaturation, until saturation is met within the
// tolerance or the step is spent.
double TAir::WetBulbTemp(double DryBulbTemp, double Enthalpy) const {
  constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
  // Each refinement divides the step by 5, so about 20 refinements reach the
  // smallest step; between two refinements the search descends at most as far
  // as the states allow. The bound only stops searches that have left the
  // physical range.
  constexpr int kMaxIterations = 10000;
  if (!std::isfinite(DryBulbTemp) || !std::isfinite(Enthalpy)) return kNaN;

  double step = 10.0;
  double t = DryBulbTemp;
  double rh = 0.0;
  for (int i = 0; i < kMaxIterations; ++i) {
    if (rh > 100.0) {
      t += step;
      step /= 5.0;
    }
    t -= step;
    const double w = HumidityRatio(Enthalpy, t);
    rh = RelHumidityUnclamped(w, t, v_TotalPressure);
    if (std::isnan(rh)) return kNaN;
    if (std::fabs(rh - 100.0) < kWetBulbToleranceRh || step < kWetBulbMinStep) return t;
  }
  return kNaN;
}

void TAir::GetCondensWater(double TotalAbsHumidity, double DryBulbTemp, double Volume, double& RestAbsHumidity,
                           double& H2O) const {
  const double ws = AbsoluteHumidity(100, DryBulbTemp);
  if (ws >= TotalAbsHumidity) {
    RestAbsHumidity = TotalAbsHumidity;
    H2O = 0;
    return;
  }
  RestAbsHumidity = ws;
  H2O = DryAirDensity(DryBulbTemp) * (TotalAbsHumidity - ws) * 1000.0 * Volume;
}

double TAir::ConvertDBWB2RH(double DryBulbTemp, double WetBulbTemp) const {
  const double ws = AbsoluteHumidity(100, WetBulbTemp);
  const double h = Enthalpy(ws, WetBulbTemp);
  const double w = HumidityRatio(h, DryBulbTemp);
  return RelativeHumidity(w, DryBulbTemp);
}

double TAir::ConvertDBRH2WB(double DryBulbTemp, double RelHumidity) const {
  const double w = AbsoluteHumidity(RelHumidity, DryBulbTemp);
  const double h = Enthalpy(w, DryBulbTemp);
  return WetBulbTemp(DryBulbTemp, h);
}
