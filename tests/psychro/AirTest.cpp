#include "psychro/Air.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

struct PressureCase {
  double altitudeM;
  double pressurePa;
  double tolerance;
};

class AltitudePressure : public testing::TestWithParam<PressureCase> {};

TEST_P(AltitudePressure, FollowsStandardAtmosphereWithinClamp) {
  const PressureCase& c = GetParam();
  EXPECT_NEAR(TAir(c.altitudeM).GetTotalPressure(), c.pressurePa, c.tolerance);
  TAir air(0);
  air.SetAltitude(c.altitudeM);
  EXPECT_NEAR(air.GetTotalPressure(), c.pressurePa, c.tolerance);
}

// 101325 * (1 - 2.25577e-5 h)^5.2559, h clamped to -500..10000 m.
INSTANTIATE_TEST_SUITE_P(Air, AltitudePressure,
                         testing::Values(PressureCase{0, 101325.0, 1e-9}, PressureCase{1000, 89874.5, 0.05},
                                         PressureCase{-1000, 107477.54, 0.01},  // as -500 m
                                         PressureCase{-500, 107477.54, 0.01},
                                         PressureCase{20000, 26436.10, 0.01},  // as 10000 m
                                         PressureCase{10000, 26436.10, 0.01},
                                         PressureCase{kNaN, 107477.54, 0.01}));  // not a number: -500 m

TEST(Air, ReferenceStateAtSeaLevel) {
  const TAir air(0);
  EXPECT_NEAR(TAir::StaticPressure(20), 2338.80, 0.005);
  const double w = air.AbsoluteHumidity(50, 20);
  EXPECT_NEAR(w, 0.0072621, 5e-8);
  const double h = TAir::Enthalpy(w, 20);
  EXPECT_NEAR(h, 38.550, 5e-4);
  EXPECT_NEAR(air.WetBulbTemp(20, h), 13.728, 5e-4);
  EXPECT_NEAR(air.DewPoint(w), 9.303, 5e-4);
  EXPECT_NEAR(air.DryAirDensity(20), 1.2041, 5e-5);
  EXPECT_NEAR(air.RelativeHumidity(w, 20), 50.0, 1e-9);
  EXPECT_NEAR(TAir::DryBulbTemp(h, w), 20.0, 1e-12);
  EXPECT_NEAR(TAir::HumidityRatio(h, 20), w, 1e-15);
}

// The specific heat of moist air is the slope of its enthalpy along the dry
// bulb at constant humidity: 1.006 + 1.84 W kJ/(kg K).
TEST(Air, MoistSpecificHeatIsTheSlopeOfEnthalpy) {
  const double cases[][2] = {{0, 1.006}, {0.01, 1.0244}, {0.025, 1.052}};
  for (const auto& [w, cp] : cases) {
    EXPECT_NEAR(TAir::MoistCp(w), cp, 1e-12) << w;
    EXPECT_NEAR(TAir::Enthalpy(w, 30) - TAir::Enthalpy(w, 20), 10 * cp, 1e-9) << w;
  }
}

TEST(Air, SaturationPressureSwitchesToIceBelowZero) {
  EXPECT_NEAR(TAir::StaticPressure(0), 611.21, 0.01);       // over water
  EXPECT_NEAR(TAir::StaticPressure(-0.001), 611.10, 0.01);  // over ice
}

TEST(Air, AbsoluteHumidityClampsItsInputs) {
  const TAir air(0);
  EXPECT_EQ(air.AbsoluteHumidity(150, 20), air.AbsoluteHumidity(100, 20));
  EXPECT_EQ(air.AbsoluteHumidity(-5, 20), 0.0);
  EXPECT_EQ(air.AbsoluteHumidity(kNaN, 20), 0.0);
  EXPECT_EQ(air.AbsoluteHumidity(50, 95), air.AbsoluteHumidity(50, 80));
  EXPECT_EQ(air.AbsoluteHumidity(50, -200), air.AbsoluteHumidity(50, -80));
  EXPECT_EQ(air.AbsoluteHumidity(50, kNaN), air.AbsoluteHumidity(50, -80));
}

TEST(Air, VapourPressureAtTotalPressureGivesZero) {
  // At 10000 m (26.4 kPa) saturated air at 80 degC (47.4 kPa) cannot exist.
  const TAir air(10000);
  EXPECT_EQ(air.AbsoluteHumidity(100, 80), 0.0);
}

TEST(Air, RelativeHumidityIsNotCapped) {
  const TAir air(0);
  const double saturated = air.AbsoluteHumidity(100, 20);
  EXPECT_GT(air.RelativeHumidity(saturated * 1.1, 20), 100.0);
  EXPECT_EQ(air.RelativeHumidity(-0.001, 20), 0.0);
}

TEST(Air, DewPointSwitchesFormulaAtZeroDegreeSaturation) {
  const TAir air(0);
  const double w0 = air.AbsoluteHumidity(100, 0);
  // Above: 6.54 + 14.526 a + 0.7389 a^2 + 0.09486 a^3 + 0.4569 exp(0.1984 a);
  // below: 6.09 + 12.608 a + 0.4959 a^2, a = ln(pw / 1000 Pa).
  const auto above = [](double a) {
    return 6.54 + 14.526 * a + 0.7389 * a * a + 0.09486 * a * a * a + 0.4569 * std::exp(0.1984 * a);
  };
  const auto below = [](double a) { return 6.09 + 12.608 * a + 0.4959 * a * a; };
  const auto alpha = [&](double w) { return std::log(w * 101325.0 / (0.6219779385109358 + w) / 1000.0); };
  EXPECT_DOUBLE_EQ(air.DewPoint(w0), above(alpha(w0)));
  const double justBelow = std::nextafter(w0, 0.0);
  EXPECT_DOUBLE_EQ(air.DewPoint(justBelow), below(alpha(justBelow)));
}

TEST(Air, WetBulbConversionsAreInverseAtSaturation) {
  const TAir air(0);
  for (double t : {-20.0, 0.0, 12.5, 35.0}) {
    EXPECT_NEAR(air.ConvertDBRH2WB(t, 100), t, 0.01) << t;
    EXPECT_NEAR(air.ConvertDBWB2RH(t, t), 100.0, 0.01) << t;
  }
  // 20 degC, 50 %: wet bulb 13.728 degC, and back.
  EXPECT_NEAR(air.ConvertDBRH2WB(20, 50), 13.728, 5e-4);
  EXPECT_NEAR(air.ConvertDBWB2RH(20, 13.728), 50.0, 0.01);
}

TEST(Air, WetBulbSearchEndsOnAnyInput) {
  const TAir air(0);
  EXPECT_TRUE(std::isnan(air.WetBulbTemp(kNaN, 40)));
  EXPECT_TRUE(std::isnan(air.WetBulbTemp(20, kNaN)));
  EXPECT_TRUE(std::isnan(air.WetBulbTemp(kInf, 40)));
  EXPECT_TRUE(std::isnan(air.WetBulbTemp(20, -kInf)));
  // Extreme but finite inputs must come back (with whatever value).
  for (double db : {-1e300, -300.0, 1e6, 1e300})
    for (double h : {-1e300, -500.0, 0.0, 1e6, 1e300}) (void)air.WetBulbTemp(db, h);
}

TEST(Air, CondensWater) {
  const TAir air(0);
  const double ws = air.AbsoluteHumidity(100, 15);
  double rest = -1, water = -1;
  air.GetCondensWater(ws, 15, 1000, rest, water);
  EXPECT_EQ(rest, ws);
  EXPECT_EQ(water, 0.0);
  air.GetCondensWater(ws + 0.002, 15, 1000, rest, water);
  EXPECT_EQ(rest, ws);
  // density(15 degC) * 0.002 kg/kg * 1000 g/kg * 1000 m3/h
  EXPECT_NEAR(water, 101325.0 / (288.15 * 287.0551882476825) * 2000.0, 1e-9);
}

}  // namespace
