#pragma once
// TAir: the moist-air property model (ASHRAE Fundamentals, psychrometrics:
// standard atmosphere, Hyland-Wexler saturation pressure, ideal-gas moist air,
// dew-point correlation).
//
// Units of every argument and result:
//   temperatures (dry bulb, wet bulb, dew point)  degC
//   relative humidity                             percent, 0..100
//   humidity ratio ("AbsHumidity")                kg water / kg dry air
//   enthalpy                                      kJ / kg dry air
//   pressures                                     Pa
//   altitude                                      m above sea level
//   density                                       kg / m3 (dry air)
//   specific heat                                 kJ / (kg dry air K)
//   airflow ("Volume")                            m3 / h
//   condensate ("H2O")                            g / h
//
// The only state is the site's barometric pressure, set from the altitude.

class TAir {
 public:
  static constexpr double kStandardPressurePa = 101325.0;
  static constexpr double kAltitudeCoefficient = 2.25577e-5;  // per m
  static constexpr double kAltitudeExponent = 5.2559;
  static constexpr double kMinAltitudeM = -500.0;
  static constexpr double kMaxAltitudeM = 10000.0;
  static constexpr double kZeroCelsiusK = 273.15;
  static constexpr double kDryAirGasConstant = 287.0551882476825;  // J/(kg K) = 8314.41 / 28.9645
  static constexpr double kMolarMassRatio = 0.6219779385109358;    // 18.01528 / 28.9645
  static constexpr double kCpDryAir = 1.006;                       // kJ/(kg K)
  static constexpr double kCpVapour = 1.84;                        // kJ/(kg K)
  static constexpr double kVaporisationHeat = 2501.0;              // kJ/kg at 0 degC
  // The density of standard air, which rating tables and the models that
  // fix the density take (kg/m3).
  static constexpr double kStandardAirDensity = 1.2;
  static constexpr double kMinTempC = -80.0;
  static constexpr double kMaxTempC = 80.0;
  static constexpr double kWetBulbToleranceRh = 0.001;  // percent relative humidity
  static constexpr double kWetBulbMinStep = 1e-12;      // degC

  explicit TAir(double TheAltitude = 0.0);

  void SetAltitude(double TheAltitude);
  double GetTotalPressure() const { return v_TotalPressure; }

  // Saturation vapour pressure over water (>= 0 degC) or ice; not clamped.
  static double StaticPressure(double DryBulbTemp);
  double AbsoluteHumidity(double RelHumidity, double DryBulbTemp) const;
  // Not capped at 100: a supersaturated state answers more.
  double RelativeHumidity(double AbsHumidity, double DryBulbTemp) const;
  double DryAirDensity(double DryBulbTemp) const;
  static double Enthalpy(double AbsHumidity, double DryBulbTemp);
  // Specific heat of moist air per kg of dry air: cp,a + cp,w W.
  static double MoistCp(double AbsHumidity) { return kCpDryAir + kCpVapour * AbsHumidity; }
  static double DryBulbTemp(double Enthalpy, double AbsHumidity);
  static double HumidityRatio(double Enthalpy, double DryBulbTemp);
  // For a positive humidity ratio.
  double DewPoint(double AbsHumidity) const;
  // Not a number when the inputs are not finite or the search fails.
  double WetBulbTemp(double DryBulbTemp, double Enthalpy) const;
  void GetCondensWater(double TotalAbsHumidity, double DryBulbTemp, double Volume, double& RestAbsHumidity,
                       double& H2O) const;
  double ConvertDBWB2RH(double DryBulbTemp, double WetBulbTemp) const;
  double ConvertDBRH2WB(double DryBulbTemp, double RelHumidity) const;

  // Pressure at an altitude, the altitude clamped to -500..10000 m.
  static double PressureAtAltitude(double TheAltitude);

 private:
  double v_TotalPressure;  // Pa
};
