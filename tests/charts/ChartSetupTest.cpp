// What the fan, efficiency and correction graphs are given for a selection
// of the demonstration catalogue, and the axis rules behind them.

#include "DemoCatalogue.h"
#include "charts/ChartSetup.h"
#include "catalogue/ClHRXPolynomial.h"
#include "catalogue/ClHRXSpeed.h"
#include "charts/RecordingSurface.h"
#include "psychro/SI_Units.h"
#include "selection/SelectionRun.h"

#include <gtest/gtest.h>

namespace {

TEST(ChartAxes, StepsOf200_50_20Or10WithAtLeastFiveIntervals) {
  struct Case {
    int a, b, step, count;
  };
  const Case cases[] = {
      {40, 95, 10, 6},    // 200, 50 and 20 leave fewer than five intervals
      {0, 3000, 200, 16},
      {0, 250, 50, 6},
      {100, 180, 20, 5},
      {10, 12, 10, 5},    // at least five intervals of 10
  };
  for (const Case& c : cases) {
    const LTAxisSteps s = CTChartSetup::AxisSteps(c.a, c.b);
    EXPECT_EQ(s.step, c.step) << c.a << ".." << c.b;
    EXPECT_EQ(s.count, c.count) << c.a << ".." << c.b;
  }
}

TEST(ChartAxes, TheFanAxisTopsAboveTheLimitInEveryPressureUnit) {
  TU_Form::AddApplicationDimensions();
  struct Case {
    double limitPa;
    double topPa;    // in Pa
    double topInH2O;
  };
  // 1 inH2O = 249.0889 Pa: 300 Pa = 1.20 inH2O -> 2.0 (the whole-unit
  // rounding would top at 1, under the curves); 20 Pa = 0.08 -> 0.1.
  // 8 Pa = 0.032 inH2O -> 32 hundredths... rounded up in tens -> 0.04.
  const Case cases[] = {{300, 350, 2.0}, {230, 250, 1.0}, {8, 10, 0.04}, {20, 30, 0.1}, {0, 100, 100 / 249.08890833}};
  for (const Case& c : cases) {
    TU_Form::SetNewIndex(U_Pressure, 0);
    EXPECT_NEAR(CTChartSetup::FanYLimit(c.limitPa), c.topPa, 1e-9) << c.limitPa << " Pa";
    for (int i = 0; i < TU_Form::DimensionCount(U_Pressure); ++i) {
      TU_Form::SetNewIndex(U_Pressure, i);
      if (TU_Form::GetCurrentString(U_Pressure) == "inH2O") break;
    }
    ASSERT_EQ(TU_Form::GetCurrentString(U_Pressure), "inH2O");
    const double top = CTChartSetup::FanYLimit(c.limitPa);
    EXPECT_NEAR(top, c.topInH2O, 1e-9) << c.limitPa << " Pa in inH2O";
    EXPECT_GE(top * 249.08890833, c.limitPa);
  }
  TU_Form::SetNewIndex(U_Pressure, 0);
}

struct Charts : DemoCatalogueTest {
  SelectionResult Run(double supplyLs, double exhaustLs, double supplyEsp, double exhaustEsp) {
    SelectionRequest r;
    r.basis = AirflowBasis::kTotals;
    r.totalSupplyLs = supplyLs;
    r.exhaustGiven = true;
    r.totalExhaustLs = exhaustLs;
    r.supplyEspPa = supplyEsp;
    r.exhaustEspPa = exhaustEsp;
    return CTSelectionRun::Run(Session(), r);
  }
  CTRecordingSurface surface;
};

TEST_F(Charts, OneCurveGetsOneMarkerWithItsDuctingAndNoExhaustMarker) {
  const SelectionResult result = Run(100, 100, 120, 120);
  ASSERT_NE(result.Current(), nullptr);
  ASSERT_EQ(result.Current()->GetSupplySpeed(), result.Current()->GetExhaustSpeed());
  const auto graph = CTChartSetup::FanGraph(surface, {800, 600}, result);
  const std::vector<TExtraPoint>& points = graph->ExtraPoints();
  ASSERT_EQ(points.size(), 2u);  // the point and the ducting's resistance
  EXPECT_TRUE(points[0].v_Name.startsWith(" [100.0 l/s, ")) << points[0].v_Name.toStdString();
  EXPECT_NEAR(points[0].v_Y, result.supplySide.fanPa, 1e-9);
  EXPECT_TRUE(points[1].v_Name.startsWith(" Ducting: [120.0 Pa + ")) << points[1].v_Name.toStdString();
  EXPECT_EQ(points[1].v_Y, 120);
  EXPECT_EQ(points[0].v_XPercentage, points[1].v_XPercentage);
}

TEST_F(Charts, TwoCurvesGetTwoMarkersAndNoResistanceWhenTheFanFallsShort) {
  // 100 l/s supply, 120 l/s exhaust: the sides differ.
  const SelectionResult result = Run(100, 120, 120, 100);
  ASSERT_NE(result.Current(), nullptr);
  const auto graph = CTChartSetup::FanGraph(surface, {800, 600}, result);
  QStringList names;
  for (const TExtraPoint& p : graph->ExtraPoints()) names << p.v_Name;
  ASSERT_EQ(names.size(), 4) << names.join(" | ").toStdString();
  EXPECT_TRUE(names[0].startsWith(" Supply: [100.0 l/s"));
  EXPECT_TRUE(names[1].startsWith(" Supply ducting: [120.0 Pa + "));
  EXPECT_TRUE(names[2].startsWith(" Exhaust: [120.0 l/s"));
  EXPECT_TRUE(names[3].startsWith(" Exhaust ducting: [100.0 Pa + "));

  // A design ESP above what the fan gives at the point: no resistance marker.
  SelectionResult shortOf = Run(100, 120, 120, 100);
  shortOf.supplyEspPa = shortOf.supplySide.fanPa + 5;
  const auto second = CTChartSetup::FanGraph(surface, {800, 600}, shortOf);
  EXPECT_EQ(second->ExtraPoints().size(), 3u);
}

TEST_F(Charts, EfficiencyMarkersSitOnTheCurvesAtTheSupplyAirflow) {
  const SelectionResult result = Run(100, 100, 120, 120);
  Cls_HRX& unit = *result.Current();
  const auto graph = CTChartSetup::EfficiencyGraph(surface, {800, 600}, result);
  ASSERT_EQ(graph->ExtraPoints().size(), 3u);
  EXPECT_NEAR(graph->ExtraPoints()[0].v_Y, unit.GetTempExhangeEfficiency()->Evaluate(360), 1e-9);
  EXPECT_NEAR(graph->ExtraPoints()[1].v_Y, unit.GetCoolEnthalpyExhangeEfficiency()->Evaluate(360), 1e-9);
  // The x axis starts at the curve's low end (150 m3/h = 41.7 -> 42 l/s).
  const QRect area = graph->GraphRect();
  EXPECT_GT(area.width(), 0);
  EXPECT_GT(graph->ExtraPoints()[0].v_XPercentage, 0);
  EXPECT_LT(graph->ExtraPoints()[0].v_XPercentage, 100);
}

}  // namespace
