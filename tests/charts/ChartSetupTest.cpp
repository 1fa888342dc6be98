// What the fan, efficiency and correction graphs are given for a selection
// of the demonstration catalogue, and the axis rules behind them.

#include "DemoCatalogue.h"
#include "charts/ChartSetup.h"
#include "catalogue/ClHRXPolynomial.h"
#include "catalogue/ClHRXSpeed.h"
#include "charts/RecordingSurface.h"
#include "i18n/BaseMsgMan.h"
#include "i18n/UnicodeGlossary.h"
#include "psychro/SI_Units.h"
#include "selection/SelectionRun.h"

#include <gtest/gtest.h>

#include <QLineF>

#include <cmath>
#include <map>
#include <utility>

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

// The fan graph's marker labels as drawn on the recorder (6 x 14 pixels a
// character): no label box is crossed by a curve or covers another label.
// The curves are the lines drawn before the first marker's disc.
TEST_F(Charts, FanLabelsKeepOffTheCurvesAndEachOther) {
  const struct {
    double supply, exhaust, supplyEsp, exhaustEsp;
    QSize size;
  } cases[] = {{100, 100, 120, 120, {640, 480}},
               {100, 120, 120, 100, {640, 480}},
               {100, 120, 120, 100, {800, 600}},
               {60, 70, 40, 30, {640, 480}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.supply << " / " << c.exhaust << " l/s on " << c.size.width());
    const SelectionResult result = Run(c.supply, c.exhaust, c.supplyEsp, c.exhaustEsp);
    ASSERT_NE(result.Current(), nullptr);
    const auto graph = CTChartSetup::FanGraph(surface, c.size, result);
    graph->DrawOutline(true, false);
    surface.Clear();
    graph->DrawGraph();
    std::vector<QLineF> curves;
    std::vector<QRect> labels;
    QPoint pen;
    bool markers = false;
    for (const QString& call : surface.Calls()) {
      const QStringList p = call.split(' ');
      markers = markers || p[0] == "Ellipse";
      if (!markers && (p[0] == "MoveTo" || p[0] == "LineTo")) {
        const QPoint to(p[1].toInt(), p[2].toInt());
        if (p[0] == "LineTo") curves.emplace_back(pen, to);
        pen = to;
      }
      if (p[0] == "TextOut") labels.emplace_back(p[1].toInt(), p[2].toInt(), 6 * int(call.section(' ', 3).size()), 14);
    }
    ASSERT_GT(curves.size(), 100u);
    ASSERT_EQ(labels.size(), graph->ExtraPoints().size());
    for (std::size_t i = 0; i < labels.size(); ++i) {
      for (std::size_t j = i + 1; j < labels.size(); ++j)
        EXPECT_FALSE(labels[i].intersects(labels[j])) << i << " " << j;
      // Every quarter pixel along each segment stays out of the box.
      int crossings = 0;
      for (const QLineF& segment : curves) {
        const int steps = 4 * int(std::max(std::fabs(segment.dx()), std::fabs(segment.dy()))) + 1;
        for (int k = 0; k <= steps; ++k) {
          const QPointF at = segment.pointAt(double(k) / steps);
          const QRect& box = labels[i];
          if (at.x() >= box.left() && at.x() < box.left() + box.width() && at.y() >= box.top() &&
              at.y() < box.top() + box.height()) {
            ++crossings;
            break;
          }
        }
      }
      EXPECT_EQ(crossings, 0) << "label " << i;
    }
  }
}

// The configuration drawing names its streams in the interface's language.
TEST_F(Charts, TheConfigurationDrawingTranslatesItsStreamNames) {
  const SelectionResult result = Run(100, 100, 120, 120);
  ASSERT_NE(result.Current(), nullptr);
  CTUnicodeGlossary german;
  german.AddTerm("Exhaust Air (EA)", "Fortluft (EA)");
  german.AddTerm("Ventilation In (VI)", QString::fromUtf8("Lüftungseintritt (VI)"));
  TBaseMsg::SetInterfaceGlossary(&german);
  CTChartSetup::DrawChart(surface, {800, 600}, CTChartSetup::ChartKind::kConfiguration, true, result,
                          Factory().RatioCorrections());
  TBaseMsg::SetInterfaceGlossary(nullptr);
  QStringList texts;
  for (const QString& call : surface.Calls())
    if (call.startsWith("TextOut")) texts << call.section(' ', 3);
  EXPECT_TRUE(texts.contains("Fortluft (EA)"));
  EXPECT_TRUE(texts.contains(QString::fromUtf8("Lüftungseintritt (VI)")));
  EXPECT_FALSE(texts.contains("Exhaust Air (EA)"));
  EXPECT_TRUE(texts.contains("Room Air (RA)"));  // no entry: English
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

namespace {

// The process of each unit type: the points of the result's states, joined
// as the air flows (plain: OA-VI-VO-SA and RA-EA; coil: VI-CI-HI-SA).
TEST_F(Charts, TheProcessDiagramPlacesTheResultsStatesByUnitType) {
  struct Case {
    const char* family;
    double supplyLs;
    std::vector<std::pair<const char*, int>> points;  // name and the index it is joined from
  };
  const Case cases[] = {
      {"HRX", 100, {{"RA", 0}, {"OA", 0}, {"VI", 3}, {"EA", 1}, {"VO", 4}, {"SA", 7}}},
      {"HRD", 250, {{"RA", 0}, {"OA", 0}, {"VI", 3}, {"EA", 1}, {"CI", 4}, {"HI", 5}, {"SA", 6}}},
      {"DQTL-MF", 220, {{"RA", 0}, {"OA", 0}, {"VI", 3}, {"SA", 4}}},
  };
  for (const Case& c : cases) {
    SelectionRequest r;
    r.family = Session().FamilyNumber(c.family);
    r.basis = AirflowBasis::kTotals;
    r.totalSupplyLs = c.supplyLs;
    const SelectionResult result = CTSelectionRun::Run(Session(), r);
    ASSERT_NE(result.Current(), nullptr) << c.family;
    for (const bool cooling : {true, false}) {
      const auto diagram = CTChartSetup::ProcessDiagram(surface, {800, 600}, result, cooling);
      const std::vector<TPointType>& points = diagram->Points();
      ASSERT_EQ(points.size(), c.points.size()) << c.family;
      const ALPsychroSet& s = cooling ? result.cooling.states : result.heating.states;
      const std::map<QString, const RepPsychroPoint*> states = {{"RA", &s.RA}, {"OA", &s.OA}, {"EA", &s.EA},
                                                                {"SA", &s.SA}, {"VI", &s.VI}, {"VO", &s.VO},
                                                                {"CI", &s.CI}, {"HI", &s.HI}};
      for (std::size_t i = 0; i < points.size(); ++i) {
        EXPECT_EQ(points[i].v_Name, c.points[i].first) << c.family;
        EXPECT_EQ(points[i].v_RelIndex, c.points[i].second) << c.family << " " << c.points[i].first;
        EXPECT_EQ(points[i].v_Dbt, states.at(points[i].v_Name)->DBT);
        EXPECT_EQ(points[i].v_AH, states.at(points[i].v_Name)->AH);
      }
    }
  }
}

}  // namespace

namespace {

// In CFM the fan axis begins at 88 CFM = 149.5 m3/h, just below NV-400's
// curves (150 m3/h): no value there, not a drop to 0.
TEST_F(Charts, CurvesHaveNoValueBelowTheirRange) {
  TU_Form::AddApplicationDimensions();
  for (int i = 0; i < TU_Form::DimensionCount(U_Airflow); ++i) {
    TU_Form::SetNewIndex(U_Airflow, i);
    if (TU_Form::GetCurrentString(U_Airflow) == "CFM") break;
  }
  const SelectionResult result = Run(100, 100, 120, 120);
  double first = 0;
  auto graph = CTChartSetup::FanGraph(surface, {800, 600}, result);
  TU_Form::SetNewIndex(U_Airflow, 0);
  ASSERT_EQ(result.Current()->GetName(), "NV-400");
  // The callback behind the graph, through a drawing of its plots: the
  // first x step draws nothing at 0.
  graph->SetYValues(0, 1000, 0, 1000, 5, 0);
  graph->DrawOutline(false, false);
  surface.Clear();
  for (int i = 0; i < TU_Form::DimensionCount(U_Airflow); ++i) {
    TU_Form::SetNewIndex(U_Airflow, i);
    if (TU_Form::GetCurrentString(U_Airflow) == "CFM") break;
  }
  graph->DrawGraph();
  TU_Form::SetNewIndex(U_Airflow, 0);
  const int bottom = graph->GraphRect().bottom();
  // The plots come before the operating points and their hairlines.
  for (const QString& call : surface.Calls()) {
    if (call.startsWith("Ellipse")) break;
    if (call.startsWith("LineTo")) first = std::max(first, double(call.split(' ')[2].toInt()));
  }
  EXPECT_GT(first, 0);
  EXPECT_LT(first, bottom - 5);  // no line reaches down to 0
}

// The sound chart: one series per path, the bands of the operating point in
// band order, the band names as categories; a unit without sound data has
// no series (NV-400 at 100 l/s has them; the coil family's NV-500D not).
TEST_F(Charts, TheSoundChartHasAPathPerSeriesAndTheBandsAsCategories) {
  const SelectionResult result = Run(100, 100, 150, 150);
  ASSERT_TRUE(result.sound.known);
  const LTBarChartData data = CTChartSetup::SoundChartData(result.sound);
  EXPECT_EQ(data.categories, (QStringList{"63", "125", "250", "500", "1k", "2k", "4k", "8k"}));
  ASSERT_EQ(data.series.size(), 5u);
  for (int path = 0; path < 5; ++path) {
    const Sound::Bands& lw = result.sound.paths[std::size_t(path)].lw;
    EXPECT_EQ(data.series[std::size_t(path)].values, std::vector<double>(lw.begin(), lw.end())) << path;
    EXPECT_EQ(data.series[std::size_t(path)].name, CTEcodesign::PathText(path));
  }
  EXPECT_TRUE(CTChartSetup::SoundChartData(LTSound{}).series.empty());
}

// The months of a small year: a group per month, translated; the fans and
// the inlet heater below the axis, so that each month's net bar is the sum
// of the three bars before it. January recovers heat, July cooling.
TEST(AnnualCharts, TheMonthsChartAddsUpToTheNetBar) {
  LTAnnualResult year;
  year.computed = true;
  // January: 500 kWh heat, 20 kWh inlet heater, 30 kWh fans: net 450.
  year.months[0] = {100, 500, 0, 20, 30, 450, 0, 0, 0};
  // July: 80 kWh cooling, 30 kWh fans: net 50.
  year.months[6] = {100, 0, 80, 0, 30, 50, 0, 0, 0};
  CTUnicodeGlossary german;
  german.AddTerm("Jan", QString::fromUtf8("Jan."));
  german.AddTerm("Mar", QString::fromUtf8("März"));
  TBaseMsg::SetInterfaceGlossary(&german);
  const LTBarChartData data = CTChartSetup::AnnualMonthsChartData(year);
  TBaseMsg::SetInterfaceGlossary(nullptr);
  EXPECT_EQ(data.categories, (QStringList{"Jan.", "Feb", QString::fromUtf8("März"), "Apr", "May", "Jun", "Jul", "Aug",
                                          "Sep", "Oct", "Nov", "Dec"}));
  ASSERT_EQ(data.series.size(), 4u);
  const LTBarSeries &heat = data.series[0], &cooling = data.series[1], &spent = data.series[2], &net = data.series[3];
  EXPECT_EQ(heat.values[0], 500);
  EXPECT_EQ(cooling.values[6], 80);
  EXPECT_EQ(spent.values[0], -50);
  EXPECT_EQ(spent.values[6], -30);
  EXPECT_EQ(net.values[0], 450);
  EXPECT_EQ(net.values[6], 50);
  ASSERT_EQ(net.values.size(), 12u);
  for (std::size_t m = 0; m < 12; ++m) {
    EXPECT_DOUBLE_EQ(heat.values[m] + cooling.values[m] + spent.values[m], net.values[m]) << m;
  }
  // The bars grow from zero: the spent ones reach below it.
  const LTBarAxis axis = CTBarChart::YAxis(data, BarBase::kZero);
  EXPECT_LE(axis.min, -50);
  EXPECT_GE(axis.max, 500);
  // A year not computed: the months, no bars.
  const LTBarChartData none = CTChartSetup::AnnualMonthsChartData(LTAnnualResult{});
  EXPECT_EQ(none.categories.size(), 12);
  EXPECT_TRUE(none.series.empty());
}

// The bands of outdoor temperature, 2 K wide, from the coldest to the
// warmest with operating hours; each band's mean power is its energy over
// its hours, and a band without hours between them is a gap, not a zero.
TEST(AnnualCharts, TheBandsChartShowsMeanPowerPerBandWithGaps) {
  LTAnnualResult year;
  year.computed = true;
  // -4 .. -2 degC: 30 kWh in 10 h = 3 kW; 0 .. 2 degC: 10 kWh in 5 h = 2 kW;
  // 6 .. 8 degC: 2 kWh of cooling in 4 h = 0.5 kW.
  year.bins = {{-4, 10, 30, 0}, {0, 5, 10, 0}, {6, 4, 0, 2}};
  const LTBarChartData data = CTChartSetup::AnnualBinsChartData(year);
  EXPECT_EQ(data.categories, (QStringList{"-4", "-2", "0", "2", "4", "6"}));
  ASSERT_EQ(data.series.size(), 2u);
  const double gap = std::nan("");
  const std::vector<double> heating{3, gap, 2, gap, gap, 0}, cooling{0, gap, 0, gap, gap, 0.5};
  for (const auto& [series, expected] : {std::pair{&data.series[0], &heating}, std::pair{&data.series[1], &cooling}}) {
    ASSERT_EQ(series->values.size(), expected->size()) << series->name.toStdString();
    for (std::size_t i = 0; i < expected->size(); ++i) {
      if (std::isnan((*expected)[i])) EXPECT_TRUE(std::isnan(series->values[i])) << series->name.toStdString() << i;
      else EXPECT_DOUBLE_EQ(series->values[i], (*expected)[i]) << series->name.toStdString() << i;
    }
  }
  EXPECT_EQ(data.yTitle, "Mean recovered power (kW)");
  // Nothing to show: no bands, no bars.
  year.bins.clear();
  EXPECT_TRUE(CTChartSetup::AnnualBinsChartData(year).categories.isEmpty());
  EXPECT_TRUE(CTChartSetup::AnnualBinsChartData(LTAnnualResult{}).series.empty());
}

}  // namespace
