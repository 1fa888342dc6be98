// The unit computation in cooling and heating against golden values worked
// out by an independent model of the same formulas
// (golden/hrx_performance.py, run with --cpp to regenerate
// golden/PerformanceGolden.inc), on the demonstration catalogue; then the
// codes, and searches that must end whatever the data.

#include "CatalogueTest.h"
#include "DemoCatalogue.h"
#include "catalogue/CheckMessages.h"
#include "catalogue/ClHRX.h"
#include "catalogue/Factory.h"
#include "catalogue/RecordCast.h"
#include "psychro/Air.h"
#include "recdb/MemDB.h"
#include "recdb/RecordingPresenter.h"
#include "resources/EmbeddedData.h"
#include "tools/CatalogueSource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <string_view>

namespace {

struct GoldenPoint {
  double dbt, rh, ah, e;
};

struct GoldenPerformance {
  const char* name;
  const char* unit;
  bool heating;
  double altitude;
  double raTemp, raRelH;
  double oaTemp, oaRelH;
  double supplyAir, exhaustAir;
  double teTemp;
  double discharge;
  double supplyTemp;
  double userInletHeater, userSupplyHeater;
  bool upsideDown;
  int code;
  GoldenPoint ra, oa, ea, sa, vi, vo, ci, hi;
  double temperatureEff, enthalpyEff;
  double totalCap, sensibleCap;
  double heatCap;
  double maxAmbientTemp;
  double minAmbientTemp;
  double inletHeaterCalc, inletHeaterUser;
  double supplyHeaterCalc, supplyHeaterUser;
  double humidification;
  double latentSavings, sensibleSavings;
  bool coilLimited;
};

struct GoldenCode {
  const char* name;
  const char* unit;
  bool heating;
  double altitude;
  double raTemp, raRelH, oaTemp, oaRelH, supplyAir, exhaustAir;
  double teTemp, discharge, supplyTemp, userInletHeater, userSupplyHeater;
  bool upsideDown;
  int code;
};

#include "golden/PerformanceGolden.inc"

class DemoCatalogue : public DemoCatalogueTest {
 protected:
  struct Outcome {
    int code = -1;
    ALPsychroSet set;
    double tempEff = 0, enthEff = 0, totalCap = 0, sensibleCap = 0, heatCap = 0;
    double maxAmbient = -273, minAmbient = -273, humidification = 0, latent = 0, sensible = 0;
    bool coilLimited = false;
    ALHeaterSet inlet, supply;
  };

  template <typename Case>
  static Outcome Run(const Case& c) {
    Outcome o;
    std::unique_ptr<Cls_HRX> unit = Unit(QString::fromUtf8(c.unit));
    EXPECT_NE(unit, nullptr) << c.unit;
    if (!unit) return o;
    const TAir air(c.altitude);
    const ALModeConditions in{c.raTemp,    c.raRelH,       c.oaTemp,          c.oaRelH,          c.supplyAir,
                              c.exhaustAir, c.upsideDown, c.userInletHeater, c.userSupplyHeater};
    if (c.heating) {
      const ALHeatingResult r = unit->SelectForHeating(in, air, c.supplyTemp);
      o.code = r.Code;
      o.set = r.PsychroPoints;
      o.heatCap = r.HeatCap;
      o.tempEff = r.TemperatureEff;
      o.enthEff = r.EnthalpyEff;
      o.minAmbient = r.MinAmbientTemp;
      o.humidification = r.Humidification;
      o.coilLimited = r.CoilLimited;
      o.inlet = r.InletHeater;
      o.supply = r.SupplyHeater;
      unit->CalcHeatSavings(o.set, c.supplyAir, air, o.latent, o.sensible);
    } else {
      const ALCoolingResult r = unit->SelectForCooling(in, air, c.teTemp, c.discharge);
      o.code = r.Code;
      o.set = r.PsychroPoints;
      o.totalCap = r.TotalCap;
      o.sensibleCap = r.SensibleCap;
      o.tempEff = r.TemperatureEff;
      o.enthEff = r.EnthalpyEff;
      o.maxAmbient = r.MaxAmbientTemp;
      o.coilLimited = r.CoilLimited;
      o.inlet = r.InletHeater;
      o.supply.UserHeater = c.userSupplyHeater;
      unit->CalcCoolSavings(o.set, c.supplyAir, air, o.latent, o.sensible);
    }
    return o;
  }

};

// Agreement to 1e-7 relative: both models follow the same formulas, but
// their iterative parts (wet bulb, apparatus dew point) stop at slightly
// different points.
void ExpectClose(double actual, double expected, const char* what) {
  EXPECT_NEAR(actual, expected, 1e-9 + 1e-7 * std::fabs(expected)) << what;
}

void ExpectState(const RepPsychroPoint& actual, const GoldenPoint& expected, const char* name) {
  SCOPED_TRACE(name);
  ExpectClose(actual.DBT, expected.dbt, "DBT");
  ExpectClose(actual.RH, expected.rh, "RH");
  ExpectClose(actual.AH, expected.ah, "AH");
  ExpectClose(actual.e, expected.e, "e");
}

class GoldenCases : public DemoCatalogue, public testing::WithParamInterface<GoldenPerformance> {};

TEST_P(GoldenCases, MatchTheIndependentModel) {
  const GoldenPerformance& g = GetParam();
  const Outcome o = Run(g);
  ASSERT_EQ(o.code, g.code);
  ExpectState(o.set.RA, g.ra, "RA");
  ExpectState(o.set.OA, g.oa, "OA");
  ExpectState(o.set.EA, g.ea, "EA");
  ExpectState(o.set.SA, g.sa, "SA");
  ExpectState(o.set.VI, g.vi, "VI");
  ExpectState(o.set.VO, g.vo, "VO");
  ExpectState(o.set.CI, g.ci, "CI");
  ExpectState(o.set.HI, g.hi, "HI");
  ExpectClose(o.tempEff, g.temperatureEff, "temperature efficiency");
  ExpectClose(o.enthEff, g.enthalpyEff, "enthalpy efficiency");
  ExpectClose(o.totalCap, g.totalCap, "total capacity");
  ExpectClose(o.sensibleCap, g.sensibleCap, "sensible capacity");
  ExpectClose(o.heatCap, g.heatCap, "heating capacity");
  EXPECT_EQ(o.maxAmbient, g.maxAmbientTemp);
  EXPECT_EQ(o.minAmbient, g.minAmbientTemp);
  ExpectClose(o.inlet.CalcHeater, g.inletHeaterCalc, "inlet heater");
  ExpectClose(o.inlet.UserHeater, g.inletHeaterUser, "inlet heater used");
  ExpectClose(o.supply.CalcHeater, g.supplyHeaterCalc, "supply heater");
  ExpectClose(o.supply.UserHeater, g.supplyHeaterUser, "supply heater used");
  ExpectClose(o.humidification, g.humidification, "humidification");
  ExpectClose(o.latent, g.latentSavings, "latent savings");
  ExpectClose(o.sensible, g.sensibleSavings, "sensible savings");
  EXPECT_EQ(o.coilLimited, g.coilLimited);
}

INSTANTIATE_TEST_SUITE_P(Demo, GoldenCases, testing::ValuesIn(kGoldenPerformance),
                         [](const auto& param) { return std::string(param.param.name); });

// A coil unit's supply air (VO) has passed the refrigerant coil and, in
// heating, the humidifier; that duty is spent by the unit, not recovered.
// Its savings are the exchanger's alone: m |CI.e - VI.e|, split into latent
// and sensible, and far below the change up to VO, which carries the coil's
// duty as well (12.0 instead of 2.96 kW on the NV-1000D in cooling).
TEST_F(DemoCatalogue, CoilUnitsSaveOnlyWhatTheExchangerRecovers) {
  struct Case {
    const char* golden;  // the inputs and states of this golden case
    double latent, sensible;
  };
  // Worked out by hand from the golden states VI and CI at sea level:
  //   m = 101325 / (287.055 (CI.DBT + 273.15)) * V / 3600
  //   cooling: h* = h(CI.AH, VI.DBT), latent = m |VI.e - h*|, sensible = m |h* - CI.e|
  //   heating: h* = h(VI.AH, CI.DBT), latent = m |CI.e - h*|, sensible = m |h* - VI.e|
  const Case cases[] = {
      {"nv1000d_cool", 1.621081429964428, 1.335755006278533},
      {"nv1000d_heat_humidifier", 0.006371339039449244, 4.115559568388373},
      {"nv500d_cool_te3", 1.0688331477460642, 0.6143008880292868},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.golden);
    const auto g = std::find_if(std::begin(kGoldenPerformance), std::end(kGoldenPerformance),
                                [&](const GoldenPerformance& x) { return std::string_view(x.name) == c.golden; });
    ASSERT_NE(g, std::end(kGoldenPerformance));
    const std::unique_ptr<Cls_HRX> unit = Unit(QString::fromUtf8(g->unit));
    ASSERT_NE(unit, nullptr);
    ASSERT_EQ(unit->GetType(), Cls_HRX::kCoilUnit);
    const Outcome o = Run(*g);
    ASSERT_EQ(o.code, 0);
    ExpectClose(o.latent, c.latent, "latent savings");
    ExpectClose(o.sensible, c.sensible, "sensible savings");

    const double total = o.latent + o.sensible;
    const double m = TAir(g->altitude).DryAirDensity(o.set.CI.DBT) * g->supplyAir / 3600;
    ExpectClose(total, m * std::fabs(o.set.CI.e - o.set.VI.e), "m |CI.e - VI.e|");
    const double coilDuty = g->heating ? o.heatCap : o.totalCap;
    ASSERT_GT(coilDuty, 1);
    EXPECT_LT(total, m * std::fabs(o.set.VO.e - o.set.VI.e) - 0.9 * coilDuty);
  }
}

class CodeCases : public DemoCatalogue, public testing::WithParamInterface<GoldenCode> {};

TEST_P(CodeCases, AnswerTheLimitThatIsBroken) {
  const GoldenCode& c = GetParam();
  const Outcome o = Run(c);
  EXPECT_EQ(o.code, c.code);
  // A failed computation leaves its outputs reset.
  EXPECT_EQ(o.totalCap + o.sensibleCap + o.heatCap + o.tempEff + o.enthEff, 0);
  EXPECT_EQ(o.inlet.CalcHeater, 0);
  EXPECT_EQ(o.set.SA.DBT, o.set.OA.DBT);
}

INSTANTIATE_TEST_SUITE_P(Demo, CodeCases, testing::ValuesIn(kGoldenCodes),
                         [](const auto& param) { return std::string(param.param.name); });

}  // namespace

namespace {

// Units with no curves (efficiencies of 0, so CI = VI and EA = RA) and
// humidity limits of 0: no outdoor temperature and no inlet heater can
// satisfy them. NV-DRY takes any exhaust but holds the air leaving its
// exchanger to 2 %, which outdoor air of 35 degC, 50 % (0.0178 kg/kg) has
// even at 80 degC (about 6 %).
const char* const kHopelessUnit = R"(
table HRX
  HRX_ID Fld_Name HRX_Type HRX_MinAirflow HRX_MaxAirflow HRX_NomAirflow HRX_EAMaxRH HRX_VOMaxRH HRX_CIMaxRH HRX_EAMaxRHUpsideDown HRX_VOMaxRHUpsideDown HRX_CIMaxRHUpsideDown HRX_OAMaxRH HRX_RAMaxRH HRX_NomHumidity HRX_OAMaxTemp
  1      NV-0     0        100            500            300            0           0           0           0                     0                     0                     100         100         0               40
  2      NV-0D    1        100            500            0              0           0           0           0                     0                     0                     100         100         5               40
  3      NV-0F    2        100            500            0              0           0           0           0                     0                     0                     100         100         0               40
  4      NV-HUM   1        100            500            300            95          95          95          95                    95                    95                    100         100         50              40
  5      NV-DRY   0        100            500            300            100         2           2           100                   2                     2                     100         100         0               50
end
)";

class Searches : public CatalogueTest {
 protected:
  void SetUp() override {
    CatalogueTest::SetUp();
    CTCatalogueSource source;
    source.AddText(QString::fromUtf8(kHopelessUnit), QStringLiteral("hopeless.cat"));
    ASSERT_TRUE(source.Build(v_factory)) << source.Problems().join('\n').toStdString();
  }
};

TEST_F(Searches, EndWhateverTheDataAndInputs) {
  const double nan = std::nan(""), inf = INFINITY;
  const TAir air;
  struct Inputs {
    double ra, raRH, oa, oaRH, supply, exhaust, te, discharge, supplyTemp, userHeater;
  };
  const Inputs inputs[] = {
      {22, 50, -10, 80, 300, 300, 6, 16, 20, 0},     // heating duty
      {26, 50, 35, 50, 300, 300, 6, 16, 20, 0},      // cooling duty
      {22, 50, -10, 80, 300, 300, 6, 16, 20, 5},     // with a user heater
      {nan, 50, -10, 80, 300, 300, 6, 16, 20, 0},
      {22, nan, -10, 80, 300, 300, 6, 16, 20, 0},
      {22, 50, nan, 80, 300, 300, 6, 16, 20, 0},
      {22, 50, -10, nan, 300, 300, 6, 16, 20, 0},
      {22, 50, -10, 80, inf, 300, 6, 16, 20, 0},
      {22, 50, -10, 80, 300, nan, 6, 16, 20, 0},
      {22, 50, -10, 80, 300, 300, nan, nan, nan, nan},
      {22, 50, -inf, 80, 300, 300, 6, 16, inf, inf},
  };
  for (int id = 1; id <= 3; ++id) {
    Cls_HRX unit(id, &v_factory);
    unit.Read();
    for (const Inputs& in : inputs) {
      const int cooling = unit.SelectForCooling({in.ra, in.raRH, in.oa, in.oaRH, in.supply, in.exhaust, false,
                                                 in.userHeater, in.userHeater},
                                                air, in.te, in.discharge)
                              .Code;
      EXPECT_GE(cooling, 0);
      EXPECT_LE(cooling, Cls_HRX::kOutletHumidityTooHigh);
      const ALHeatingResult heating = unit.SelectForHeating(
          {in.ra, in.raRH, in.oa, in.oaRH, in.supply, in.exhaust, true, in.userHeater, in.userHeater}, air,
          in.supplyTemp);
      EXPECT_GE(heating.Code, 0);
      EXPECT_LE(heating.Code, Cls_HRX::kOutletHumidityTooHigh);
      double latent = 0, sensible = 0;
      unit.CalcHeatSavings(heating.PsychroPoints, in.supply, air, latent, sensible);
    }
  }
  // The plain unit with humidity limits of 0 needs an inlet heater no inlet
  // temperature satisfies: the search stops at its bound and names the limit
  // that no heater meets (the exhaust's humidity), never the user's heater,
  // which nobody gave.
  Cls_HRX plain(1, &v_factory);
  plain.Read();
  const ALHeatingResult heating = plain.SelectForHeating({22, 50, -10, 80, 300, 300, false, 0, 0}, air, 20);
  EXPECT_EQ(heating.Code, Cls_HRX::kExhaustHumidityTooHigh);
  EXPECT_EQ(heating.MinAmbientTemp, -273);
  EXPECT_EQ(plain.SelectForCooling({26, 50, 35, 50, 300, 300, false, 0, 0}, air, 6, 16).Code,
            Cls_HRX::kExhaustHumidityTooHigh);
  CTCheckMessages::Context context;
  context.unit = &plain;
  EXPECT_EQ(CTCheckMessages::Text(Cls_HRX::kExhaustHumidityTooHigh, context),
            "The heat exchanger air relative humidity is larger than 0%.");

  // The exhaust within its limit, the outlet beyond it at any inlet
  // temperature: the outlet's limit is the one named.
  Cls_HRX dry(5, &v_factory);
  dry.Read();
  EXPECT_EQ(dry.SelectForCooling({26, 50, 35, 50, 300, 300, false, 0, 0}, air, 6, 16).Code,
            Cls_HRX::kOutletHumidityTooHigh);
  context.unit = &dry;
  EXPECT_EQ(CTCheckMessages::Text(Cls_HRX::kOutletHumidityTooHigh, context),
            "The heat exchanger air relative humidity is larger than 2%.");
  // Above the exchanger's highest inlet temperature (50 degC) a heater
  // cannot help: that range is named instead.
  EXPECT_EQ(dry.SelectForCooling({26, 50, 55, 20, 300, 300, false, 0, 0}, air, 6, 16).Code,
            Cls_HRX::kInletTempOutside);
}

}  // namespace

namespace {

// A humidifier far too large for its airflow (50 kg/h into 300 m3/h) stops
// at saturation: the air leaves at 100 % on the line of constant enthalpy,
// and only the water it took is reported.
TEST_F(Searches, TheHumidifierStopsAtSaturation) {
  Cls_HRX unit(4, &v_factory);
  unit.Read();
  const TAir air;
  const ALHeatingResult heating = unit.SelectForHeating({20, 50, 5, 60, 300, 300, false, 0, 0}, air, 0);
  ASSERT_EQ(heating.Code, 0);
  const ALPsychroSet& set = heating.PsychroPoints;
  const double humidification = heating.Humidification;
  // No curves and no coil: the air reaches the humidifier as it came in.
  EXPECT_DOUBLE_EQ(set.HI.DBT, 5);
  EXPECT_NEAR(set.SA.RH, 100, 1e-3);  // the wet-bulb search stops within its tolerance
  EXPECT_LE(set.SA.RH, 100);
  EXPECT_NEAR(set.SA.e, set.HI.e, 1e-9);
  const double waterTaken = (set.SA.AH - set.HI.AH) * 1.2 * 300;  // kg/h
  EXPECT_NEAR(humidification, waterTaken, 1e-9);
  EXPECT_GT(humidification, 0);
  EXPECT_LT(humidification, 50);
}

}  // namespace
