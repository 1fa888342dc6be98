// The ecodesign figures (Regulation (EU) No 1253/2014, 2018 requirements for
// non-residential bidirectional units) and the sound at the operating point.
// The limits are worked out by hand from the regulation's formulas; the
// demo units' figures come from the independent Python model
// (tests/catalogue/golden/ecodesign.py).

#include "DemoCatalogue.h"
#include "selection/Ecodesign.h"
#include "selection/SelectionRun.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct GoldenEcodesign {
  const char* unit;
  int supplyFilter, exhaustFilter;
  double thermalEfficiency;
  double qnomM3s, efficiencyBonus, filterCorrection, sfpint, sfpintLimit, minThermalEfficiency;
  bool meetsEfficiency, meetsSfpint;
  double effectivePowerKW, casingLwa;
};
#include "../catalogue/golden/EcodesignGolden.inc"

void ExpectRel(double actual, double expected, const char* what) {
  EXPECT_NEAR(actual, expected, 1e-9 * std::max(1.0, std::fabs(expected))) << what;
}

// ------------------------------------------------------------ the regulation

TEST(EcodesignLimits, SfpIntLimitFollowsTheRegulation) {
  using Eco = Cls_HRXEcodesign;
  struct Case {
    const char* name;
    int hrs;
    double qnom, eta;
    bool fine, medium;
    double limit;
  };
  const Case cases[] = {
      // 1100 + (0.80 - 0.73) 3000 - 300 x 0.5 / 2 - 0
      {"plate, both filters", Eco::kPlate, 0.5, 0.80, true, true, 1100 + 210 - 75},
      // 800 + (0.75 - 0.73) 3000 - 190
      {"rotary above 2 m3/s, no fine filter", Eco::kRotary, 3.0, 0.75, false, true, 800 + 60 - 190},
      // 1600 + (0.70 - 0.68) 3000 - 300 x 1 / 2 - 340
      {"run-around coil, no filters", Eco::kRunAroundCoil, 1.0, 0.70, false, false, 1600 + 60 - 150 - 340},
      // 1300 + (0.72 - 0.68) 3000 - 150
      {"run-around coil above 2 m3/s, no medium", Eco::kRunAroundCoil, 2.5, 0.72, true, false, 1300 + 120 - 150},
      // at the minimum efficiency the bonus is 0; at 2 m3/s both branches give 800
      {"other, at 2 m3/s, at the minimum", Eco::kOtherHrs, 2.0, 0.73, true, true, 800},
      {"plate below the minimum: no bonus", Eco::kPlate, 0.2, 0.60, true, true, 1100 - 30},
  };
  for (const Case& c : cases)
    EXPECT_NEAR(Ecodesign::SfpIntLimit(c.hrs, c.qnom, c.eta, c.fine, c.medium), c.limit, 1e-9) << c.name;

  // The two branches meet at qnom = 2 m3/s.
  for (const int hrs : {Eco::kPlate, Eco::kRunAroundCoil}) {
    const double below = Ecodesign::SfpIntLimit(hrs, 2 - 1e-12, 0.8, true, true);
    EXPECT_NEAR(below, Ecodesign::SfpIntLimit(hrs, 2, 0.8, true, true), 1e-6);
    EXPECT_NEAR(Ecodesign::SfpIntLimit(hrs, 2, 0.8, true, true), Ecodesign::SfpIntLimit(hrs, 5, 0.8, true, true), 1e-12);
  }
  EXPECT_EQ(Ecodesign::FilterCorrection(true, true), 0);
  EXPECT_EQ(Ecodesign::FilterCorrection(true, false), 150);
  EXPECT_EQ(Ecodesign::FilterCorrection(false, true), 190);
  EXPECT_EQ(Ecodesign::FilterCorrection(false, false), 340);
  EXPECT_EQ(Ecodesign::EfficiencyBonus(Eco::kPlate, 0.73), 0);
  EXPECT_EQ(Ecodesign::EfficiencyBonus(Eco::kRunAroundCoil, 0.68), 0);
  EXPECT_EQ(Ecodesign::MinThermalEfficiency(Eco::kRunAroundCoil), 0.68);
  EXPECT_EQ(Ecodesign::MinThermalEfficiency(Eco::kRotary), 0.73);
  // F7 and better supply the fine filter, F6 and better exhaust the medium one.
  EXPECT_FALSE(Ecodesign::IsFineFilter(1));
  EXPECT_TRUE(Ecodesign::IsFineFilter(2));
  EXPECT_FALSE(Ecodesign::IsMediumFilter(0));
  EXPECT_TRUE(Ecodesign::IsMediumFilter(1));
}

// ------------------------------------------------------------ sound

TEST(EcodesignSound, TheFanLawAndTheAWeighting) {
  const Sound::Bands bands = {68, 66, 64, 60, 57, 53, 48, 42};
  // 10 lg sum 10^((L + A) / 10) over 41.8 49.9 55.4 56.8 57 54.2 49 40.9
  EXPECT_NEAR(Sound::AWeighted(bands), 62.538649997, 1e-8);
  // At its reference point a path gives its bands unchanged.
  EXPECT_EQ(Sound::Scaled(bands, 250, 210, 250, 210), bands);
  // Twice the airflow at the same pressure: 10 lg 2 = 3.0 dB more in every band.
  const Sound::Bands doubled = Sound::Scaled(bands, 250, 210, 500, 210);
  for (int i = 0; i < Sound::kBands; ++i) EXPECT_NEAR(doubled[i] - bands[i], 3.0103, 1e-4);
  // Twice the pressure: 20 lg 2.
  EXPECT_NEAR(Sound::Scaled(bands, 250, 210, 250, 420)[0] - bands[0], 6.0206, 1e-4);
  // 2 m from an outlet (Q = 2) in a room of R = 50 m2: 10 lg(2 / (16 pi) + 4 / 50).
  EXPECT_NEAR(Sound::InRoom(bands, 2, 50)[3] - bands[3], -9.215840185, 1e-8);
}

// ------------------------------------------------------------ the demo units

class EcodesignOnDemo : public DemoCatalogueTest {};

TEST_F(EcodesignOnDemo, CoveredUnitsAgreeWithTheReferenceModel) {
  for (const GoldenEcodesign& g : kGoldenEcodesign) {
    SCOPED_TRACE(testing::Message() << g.unit << " filters " << g.supplyFilter << "/" << g.exhaustFilter);
    std::unique_ptr<Cls_HRX> unit = Unit(QString::fromLatin1(g.unit));
    ASSERT_TRUE(unit);
    const LTEcodesign e = CTEcodesign::Evaluate(*unit, g.supplyFilter, g.exhaustFilter, g.qnomM3s * 3600);
    ASSERT_TRUE(e.covered);
    ExpectRel(e.thermalEfficiency, g.thermalEfficiency, "thermal efficiency");
    ExpectRel(e.qnomM3s, g.qnomM3s, "qnom");
    ExpectRel(e.efficiencyBonus, g.efficiencyBonus, "E");
    ExpectRel(e.filterCorrection, g.filterCorrection, "F");
    ExpectRel(e.sfpint, g.sfpint, "SFPint");
    ExpectRel(e.sfpintLimit, g.sfpintLimit, "SFPint limit");
    ExpectRel(e.minThermalEfficiency, g.minThermalEfficiency, "minimum efficiency");
    EXPECT_EQ(e.meetsEfficiency, g.meetsEfficiency);
    EXPECT_EQ(e.meetsSfpint, g.meetsSfpint);
    ExpectRel(e.effectivePowerKW, g.effectivePowerKW, "effective power");
    ExpectRel(e.casingLwa, g.casingLwa, "casing LWA");
  }
}

TEST_F(EcodesignOnDemo, UnitsTheRegulationDoesNotCoverSaySo) {
  struct Case {
    const char* unit;
    int typology;
    const char* words;
  };
  const Case cases[] = {
      {"NV-500D", Cls_HRXEcodesign::kWithHeatPump, "does not cover"},
      {"NV-FA800", Cls_HRXEcodesign::kUnidirectional, "unidirectional"},
      {"NV-OS150", Cls_HRXEcodesign::kResidential, "residential"},
  };
  for (const Case& c : cases) {
    std::unique_ptr<Cls_HRX> unit = Unit(QString::fromLatin1(c.unit));
    ASSERT_TRUE(unit);
    const LTEcodesign e = CTEcodesign::Evaluate(*unit, 2, 1, 500);
    EXPECT_TRUE(e.declared) << c.unit;
    EXPECT_FALSE(e.covered) << c.unit;
    EXPECT_EQ(e.typology, c.typology) << c.unit;
    EXPECT_EQ(e.sfpint, 0) << c.unit;
    EXPECT_TRUE(CTEcodesign::NotCoveredReason(e).contains(QString::fromLatin1(c.words))) << c.unit;
  }
}

// 100 l/s = 360 m3/h of the plain family at 150 Pa: NV-400, no filters.
// Its fans work against 150 Pa plus the exchanger's 0.2 x 360 + 0.00021875 x
// 360^2 = 100.35 Pa: 250.35 Pa against the reference 215 Pa at 400 m3/h, so
// every band moves by 10 lg(360 / 400) + 20 lg(250.35 / 215) = 0.86461 dB.
TEST_F(EcodesignOnDemo, ASelectionRunGivesTheCurrentUnitsFiguresAndSound) {
  SelectionRequest r;
  r.family = Cls_HRX::kPlainUnit;
  r.basis = AirflowBasis::kTotals;
  r.totalSupplyLs = 100;
  r.supplyEspPa = r.exhaustEspPa = 150;
  r.soundDistanceM = 2;
  r.roomConstantM2 = 50;
  const SelectionResult result = CTSelectionRun::Run(Session(), r);
  ASSERT_NE(result.Current(), nullptr);
  ASSERT_EQ(result.Current()->GetName(), "NV-400");

  const LTEcodesign& e = result.ecodesign;
  ASSERT_TRUE(e.covered);
  EXPECT_EQ(e.filterCorrection, 340);
  EXPECT_NEAR(e.faceVelocityMs, 360.0 / 3600 / 0.09, 1e-12);

  const LTSound& s = result.sound;
  ASSERT_TRUE(s.known);
  const Sound::Bands reference = {70, 68, 66, 62, 59, 55, 50, 44};  // supply outlet, 70-ecodesign.cat
  const LTSoundPath& outlet = s.paths[Cls_HRXSound::kSupplyOutlet];
  EXPECT_EQ(outlet.referenceLw, reference);
  EXPECT_NEAR(outlet.pressurePa, 250.35, 1e-9);
  EXPECT_NEAR(outlet.airflowLs, 100, 1e-9);
  EXPECT_NEAR(outlet.referenceAirflowLs, 400 / 3.6, 1e-9);
  for (int i = 0; i < Sound::kBands; ++i) EXPECT_NEAR(outlet.lw[i] - reference[i], 0.8646078108, 1e-8);
  EXPECT_NEAR(outlet.lwa, 65.403257808, 1e-8);
  // Balanced: the casing moves as each fan does.
  EXPECT_NEAR(s.paths[Cls_HRXSound::kCasing].lw[0], 54 + 0.8646078108, 1e-8);
  EXPECT_NEAR(s.roomLpA, 56.187417623, 1e-8);
}

}  // namespace
