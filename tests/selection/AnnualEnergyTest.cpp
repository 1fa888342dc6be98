// A unit's year: the hours of a year summed as the design point computes
// one, the bypass and the inlet heater in the hours they belong to, the
// schedule and the prices as users type them, and the candidates ranked.

#include "DemoCatalogue.h"
#include "catalogue/CatalogueTest.h"
#include "selection/AnnualEnergy.h"
#include "selection/SelectionRun.h"
#include "tools/CatalogueSource.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// A year whose every hour is the same air.
LTClimate SameEveryHour(double dryBulbC, double relativeHumidity) {
  LTClimate c;
  c.name = QStringLiteral("constant");
  c.hours.assign(LTClimate::kHours, {dryBulbC, relativeHumidity, 101325});
  return c;
}

// A year sweeping -25 .. +40 degC every day, humid at night: every band of
// the rule meets every hour of the day.
LTClimate Sweep() {
  LTClimate c;
  c.name = QStringLiteral("sweep");
  for (int h = 0; h < LTClimate::kHours; ++h) {
    const double day = (h / 24) / 365.0;
    const double t = -25 + 65 * day + 4 * std::cos(2 * M_PI * (h % 24 - 15) / 24.0);
    c.hours.push_back({t, 60 - 20 * std::cos(2 * M_PI * (h % 24 - 15) / 24.0), 101325});
  }
  return c;
}

// 100 l/s of the plain family at 150 Pa, the window's default conditions:
// NV-400 at High 3 (see CatalogueRunTest).
SelectionRequest PlainRequest() {
  SelectionRequest r;
  r.family = Cls_HRX::kPlainUnit;
  r.basis = AirflowBasis::kTotals;
  r.totalSupplyLs = 100;
  r.supplyEspPa = r.exhaustEspPa = 150;
  return r;
}

class AnnualOnDemo : public DemoCatalogueTest {};

// A year of the design point's weather, run always, is 8760 design points.
TEST_F(AnnualOnDemo, AYearOfTheDesignPointIs8760DesignPoints) {
  SelectionRequest r = PlainRequest();
  r.heating.outdoor = {-25, HumidityMode::kRelativeHumidity, 80};  // cold enough for an inlet heater
  const SelectionResult result = CTSelectionRun::Run(Session(), r);
  ASSERT_TRUE(result.heating.Succeeded() && result.cooling.Succeeded());
  const double heating = result.heating.totalSavingsKW, cooling = result.cooling.totalSavingsKW;
  ASSERT_GT(heating, 0);
  ASSERT_GT(cooling, 0);
  const double inlet = result.heating.inletHeater.CalcHeater;
  ASSERT_GT(inlet, 0) << "the design point at -25 degC needs an inlet heater";

  const LTAnnualResult cold = CTAnnualEnergy::YearOf(result, r, SameEveryHour(-25, 80));
  ASSERT_TRUE(cold.computed) << cold.message.toStdString();
  EXPECT_NEAR(cold.year.heatRecoveredKWh, 8760 * heating, 1e-4 * 8760 * heating);
  EXPECT_EQ(cold.year.coolingRecoveredKWh, 0);
  EXPECT_NEAR(cold.year.inletHeaterKWh, 8760 * inlet, 1e-4 * 8760 * inlet);
  EXPECT_NEAR(cold.year.fanKWh, 8760 * result.fans.totalKW, 1e-9);
  EXPECT_EQ(cold.year.operatingHours, 8760);
  EXPECT_NEAR(cold.months[1].heatRecoveredKWh, 28 * 24 * heating, 1e-4 * 28 * 24 * heating);  // February

  const LTAnnualResult hot = CTAnnualEnergy::YearOf(result, r, SameEveryHour(35, 50));
  ASSERT_TRUE(hot.computed);
  EXPECT_NEAR(hot.year.coolingRecoveredKWh, 8760 * cooling, 1e-4 * 8760 * cooling);
  EXPECT_EQ(hot.year.heatRecoveredKWh, 0);
  EXPECT_EQ(hot.year.inletHeaterKWh, 0) << "no inlet heater above its limit";

  // The net benefit, money and CO2 from the sums and the default prices.
  const LTAnnualFigures& y = cold.year;
  const LTPrices p;
  EXPECT_NEAR(y.netKWh, y.heatRecoveredKWh - y.inletHeaterKWh - y.fanKWh, 1e-6);
  EXPECT_NEAR(y.cost, y.heatRecoveredKWh / 0.9 * 0.10 - (y.inletHeaterKWh + y.fanKWh) * 0.30, 1e-6);
  EXPECT_NEAR(y.co2Kg, y.heatRecoveredKWh / 0.9 * 0.20 - (y.inletHeaterKWh + y.fanKWh) * 0.40, 1e-6);
  EXPECT_EQ(p.heatPrice, 0.10);
}

// The inlet heater runs only in hours colder than the lowest outdoor air the
// exchanger takes without it (the design point's limit at that humidity).
TEST_F(AnnualOnDemo, TheInletHeaterRunsOnlyBelowItsLimit) {
  SelectionRequest r = PlainRequest();
  const SelectionResult result = CTSelectionRun::Run(Session(), r);
  ASSERT_NE(result.Current(), nullptr);
  Cls_HRX& unit = *result.Current();
  const LTUnitYear how = CTAnnualEnergy::UnitYearOf(unit, result, r);
  const TAir air(how.altitudeM);
  for (const double t : {-25.0, -15.0, -8.0, -4.0, 0.0, 5.0}) {
    SCOPED_TRACE(t);
    ALModeConditions at{how.heatingRoomC, how.heatingRoomRH, t, 80, how.supplyM3h, how.exhaustM3h, false,
                        Sentinel::kNotGiven, Sentinel::kNotGiven};
    const double limit = unit.SelectForHeating(at, air, Sentinel::kNotGiven).MinAmbientTemp;
    const LTAnnualResult year = CTAnnualEnergy::Year(unit, how, SameEveryHour(t, 80), LTSchedule{}, LTPrices{});
    EXPECT_EQ(year.year.inletHeaterKWh > 0, t < limit) << "limit " << limit;
  }
}

// The bypass acts only where the room wants neither heat nor cooling: the
// heating and its inlet heater are the same with or without it.
TEST_F(AnnualOnDemo, TheBypassNeverAddsHeatingDemand) {
  const SelectionRequest r = PlainRequest();
  const SelectionResult result = CTSelectionRun::Run(Session(), r);
  ASSERT_NE(result.Current(), nullptr);
  LTUnitYear how = CTAnnualEnergy::UnitYearOf(*result.Current(), result, r);
  const LTClimate sweep = Sweep();
  how.bypass = true;
  const LTAnnualResult with = CTAnnualEnergy::Year(*result.Current(), how, sweep, LTSchedule{}, LTPrices{});
  how.bypass = false;
  const LTAnnualResult without = CTAnnualEnergy::Year(*result.Current(), how, sweep, LTSchedule{}, LTPrices{});
  EXPECT_EQ(with.year.heatRecoveredKWh, without.year.heatRecoveredKWh);
  EXPECT_EQ(with.year.inletHeaterKWh, without.year.inletHeaterKWh);
  // Without it the exchanger warms air the room could take as it is.
  EXPECT_GT(with.year.coolingRecoveredKWh, without.year.coolingRecoveredKWh);
  // The months add up to the year, and the bins hold every operating hour.
  double heat = 0;
  for (const LTAnnualFigures& m : with.months) heat += m.heatRecoveredKWh;
  EXPECT_NEAR(heat, with.year.heatRecoveredKWh, 1e-6 * heat);
  int hours = 0;
  for (const LTTemperatureBin& b : with.bins) hours += b.hours;
  EXPECT_EQ(hours, 8760);
}

TEST_F(AnnualOnDemo, TheScheduleCountsOnlyItsHours) {
  const SelectionRequest r = PlainRequest();
  const SelectionResult result = CTSelectionRun::Run(Session(), r);
  ASSERT_NE(result.Current(), nullptr);
  const LTUnitYear how = CTAnnualEnergy::UnitYearOf(*result.Current(), result, r);
  LTSchedule office;
  QString why;
  ASSERT_TRUE(LTSchedule::Parse(QStringLiteral("07-19,mon-fri"), office, why)) << why.toStdString();
  const LTAnnualResult always = CTAnnualEnergy::Year(*result.Current(), how, SameEveryHour(0, 80), LTSchedule{}, LTPrices{});
  const LTAnnualResult days = CTAnnualEnergy::Year(*result.Current(), how, SameEveryHour(0, 80), office, LTPrices{});
  // 365 days from a Monday: 52 weeks and one Monday, 261 working days of 12 hours.
  EXPECT_EQ(days.year.operatingHours, 261 * 12);
  EXPECT_NEAR(days.year.heatRecoveredKWh, always.year.heatRecoveredKWh * 261 * 12 / 8760, 1e-6 * always.year.heatRecoveredKWh);
}

TEST_F(AnnualOnDemo, EveryCandidateIsRankedByItsNetBenefit) {
  SelectionRequest r = PlainRequest();
  r.totalSupplyLs = 80;  // 288 m3/h: NV-400 and NV-650 (and NV-250 up to 300 m3/h)
  const SelectionResult result = CTSelectionRun::Run(Session(), r);
  ASSERT_GE(result.candidates.Count(), 2);
  const LTClimate sweep = Sweep();
  const QList<LTRankedCandidate> ranked = CTAnnualEnergy::Rank(result, r, sweep);
  ASSERT_EQ(ranked.size(), result.candidates.Count());
  for (int i = 1; i < ranked.size(); ++i) EXPECT_GE(ranked[i - 1].year.netKWh, ranked[i].year.netKWh);
  for (const LTRankedCandidate& c : ranked) {
    Cls_HRX& unit = *result.candidates.Item(c.index);
    const LTAnnualResult own = CTAnnualEnergy::Year(unit, CTAnnualEnergy::UnitYearOf(unit, result, r), sweep,
                                                    r.annual.schedule, r.annual.prices);
    EXPECT_EQ(c.year.netKWh, own.year.netKWh) << c.unit.toStdString();
    EXPECT_EQ(c.unit, unit.GetQualifiedName());
  }
}

// A unit whose exchanger exchanges nothing recovers nothing, whatever the weather.
class ZeroEfficiency : public CatalogueTest {};

TEST_F(ZeroEfficiency, RecoversNothing) {
  CTCatalogueSource source;
  source.AddText(QStringLiteral(R"(
table HRX
  HRX_ID Fld_Name HRX_Type HRX_MinAirflow HRX_MaxAirflow HRX_NomAirflow
  1      NV-ZERO  0        100            500            300
end
table HRXPolynomial
  VPO_ID VPO_HRX POL_Type POL_A0 POL_ArgumentLow POL_ArgumentHigh
  1      HRX:1   0        0      100             500
  2      HRX:1   1        0      100             500
  3      HRX:1   2        0      100             500
end
)"),
                 QStringLiteral("zero.cat"));
  ASSERT_TRUE(source.Build(v_factory)) << source.Problems().join('\n').toStdString();
  Cls_HRX unit(1, &v_factory);
  unit.Read();
  LTUnitYear how;
  how.supplyM3h = how.exhaustM3h = 300;
  how.fanKW = 0.1;
  const LTAnnualResult year = CTAnnualEnergy::Year(unit, how, Sweep(), LTSchedule{}, LTPrices{});
  ASSERT_TRUE(year.computed);
  EXPECT_EQ(year.year.heatRecoveredKWh, 0);
  EXPECT_EQ(year.year.coolingRecoveredKWh, 0);
  EXPECT_NEAR(year.year.fanKWh, 876, 1e-9);
  // What it spends, it spends: fans and, in the coldest hours, the inlet
  // heater that keeps the inlet at its minimum.
  EXPECT_NEAR(year.year.netKWh, -876 - year.year.inletHeaterKWh, 1e-9);
}

// ------------------------------------------------------------ inputs

TEST(AnnualInputs, SchedulesReadAsTypedAndWriteBack) {
  struct Case {
    const char* text;
    bool ok;
    const char* written;  // what Text() gives back
    int hoursPerWeek;
  };
  const Case cases[] = {
      {"always", true, "always", 168},
      {"ALWAYS", true, "always", 168},
      {"07-19", true, "07-19", 84},
      {"7-19,mon-fri", true, "07-19,mon-fri", 60},
      {"00-24,sat,sun", true, "00-24,sat,sun", 48},
      {"08-18,mon,wed-fri", true, "08-18,mon,wed-fri", 40},
      {"08-18,mon-tue,thu", true, "08-18,mon,tue,thu", 30},
      {"07-19,none", true, "07-19,none", 0},
      {"19-07", false, "", 0},
      {"07-25", false, "", 0},
      {"07-19,funday", false, "", 0},
      {"07-19,fri-mon", false, "", 0},
      {"", false, "", 0},
      {"9", false, "", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    LTSchedule s;
    s.always = false;  // a refusal leaves it
    QString why;
    EXPECT_EQ(LTSchedule::Parse(QString::fromLatin1(c.text), s, why), c.ok);
    if (!c.ok) {
      EXPECT_FALSE(why.isEmpty());
      EXPECT_FALSE(s.always);
      continue;
    }
    EXPECT_EQ(s.Text(), QString::fromLatin1(c.written));
    int hours = 0;
    for (int h = 0; h < 168; ++h) hours += s.Operates(h) ? 1 : 0;  // the year's first week, Monday first
    EXPECT_EQ(hours, c.hoursPerWeek);
  }
}

TEST(AnnualInputs, PricesReadByNameAndRefuseWhatIsNoPrice) {
  LTPrices p;
  QString why;
  ASSERT_TRUE(LTPrices::Parse(QStringLiteral("heat=0.08, cop=4.5"), p, why)) << why.toStdString();
  EXPECT_EQ(p.heatPrice, 0.08);
  EXPECT_EQ(p.coolingCop, 4.5);
  EXPECT_EQ(p.electricityPrice, LTPrices{}.electricityPrice);
  LTPrices back;
  ASSERT_TRUE(LTPrices::Parse(p.Text(), back, why));
  EXPECT_EQ(back, p);
  for (const char* bad : {"heat", "heat=", "heat=abc", "gas=0.1", "cop=0", "efficiency=-1", "heat=1e9", "heat=nan"}) {
    LTPrices q;
    EXPECT_FALSE(LTPrices::Parse(QString::fromLatin1(bad), q, why)) << bad;
    EXPECT_EQ(q, LTPrices{}) << bad;
  }
}

}  // namespace
