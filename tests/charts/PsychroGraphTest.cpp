// The psychrometric and Mollier charts through the recording surface.

#include "charts/PsychroGraph.h"
#include "charts/RecordingSurface.h"
#include "catalogue/Sentinels.h"
#include "psychro/SI_Units.h"

#include <gtest/gtest.h>

namespace {

struct Diagram : testing::Test {
  void TearDown() override { TU_Form::SetNewIndex(U_Temperature, 0); }
  CTRecordingSurface surface;
  // Every pen position the chart asked for, before the frame.
  static std::vector<QPoint> Positions(const QStringList& calls) {
    std::vector<QPoint> points;
    for (const QString& call : calls)
      if (call.startsWith("LineTo") || call.startsWith("MoveTo")) {
        const QStringList p = call.split(' ');
        points.emplace_back(p[1].toInt(), p[2].toInt());
      }
    return points;
  }
};

TEST_F(Diagram, IsoLinesStayInsideTheChartInBothLayouts) {
  for (const bool psychrometric : {true, false}) {
    surface.Clear();
    std::unique_ptr<TAirPropDiagram> d;
    if (psychrometric) d = std::make_unique<TPsychroDiagram>(&surface, nullptr, nullptr, nullptr);
    else d = std::make_unique<TMollierDiagram>(&surface, nullptr, nullptr, nullptr);
    d->SetDimensions(800, 600);
    d->DrawDiagram(true);
    const QRect chart = d->GraphRect().adjusted(-1, -1, 1, 1);
    // The lines come first; the frame starts with the axes at the chart's edge.
    int outside = 0;
    for (const QPoint& p : Positions(surface.Calls()))
      if (!chart.contains(p)) ++outside;
    // Only the frame's ticks (28 dry-bulb and humidity ticks, two ends each)
    // lie outside: every iso-line, the enthalpy lines cut at 60 degC among
    // them, stays in.
    EXPECT_LE(outside, 2 * 32) << (psychrometric ? "psychrometric" : "Mollier");
  }
}

TEST_F(Diagram, FahrenheitTicksStartAtMinus40AndStepByFive) {
  TU_Form::AddApplicationDimensions();
  for (int i = 0; i < TU_Form::DimensionCount(U_Temperature); ++i) {
    TU_Form::SetNewIndex(U_Temperature, i);
    if (TU_Form::GetCurrentString(U_Temperature) == "°F") break;
  }
  ASSERT_EQ(TU_Form::GetCurrentString(U_Temperature), "°F");
  TPsychroDiagram d(&surface, nullptr, nullptr, nullptr);
  d.SetDimensions(800, 600);
  d.DrawDiagram(false);
  QStringList labels;
  const int below = d.GraphRect().bottom();
  for (const QString& call : surface.Calls()) {
    const QStringList p = call.split(' ');
    if (p[0] == "TextOut" && p[2].toInt() > below && p.size() == 4) labels << p[3];
  }
  // -40 degF = -40 degC; 60 degC = 140 degF.
  ASSERT_FALSE(labels.isEmpty());
  EXPECT_EQ(labels.first(), "-40");
  EXPECT_TRUE(labels.contains("-35"));
  EXPECT_TRUE(labels.contains("140"));
  EXPECT_FALSE(labels.contains("145"));
}

TEST_F(Diagram, PointsAreJoinedToTheirRelatedPointsAndSkippedOutsideTheChart) {
  TPsychroDiagram d(&surface, nullptr, nullptr, nullptr);
  d.SetDimensions(800, 600);
  d.AddPoint(1, "RA", 26, 0.010, 0, false);
  d.AddPoint(2, "EA", 26, 0.010, 1, false);   // on RA: neither joined nor drawn
  d.AddPoint(3, "OA", 32, 0.014, 9, false);   // no point 9: drawn, no line
  d.AddPoint(4, "HOT", 65, 0.010, 1, false);  // beyond 60 degC: the line only
  d.DrawDiagram(false);
  QStringList names;
  int ellipses = 0, thickLines = 0;
  bool thick = false;
  for (const QString& call : surface.Calls()) {
    if (call.startsWith("Pen")) thick = call.split(' ')[2] == "2";
    if (call.startsWith("LineTo") && thick) ++thickLines;
    if (call.startsWith("Ellipse")) ++ellipses;
    if (call.startsWith("TextOut") && (call.endsWith(" RA") || call.endsWith(" EA") || call.endsWith(" OA") ||
                                       call.endsWith(" HOT")))
      names << call.section(' ', 3);
  }
  EXPECT_EQ(names, (QStringList{"RA", "OA"}));
  EXPECT_EQ(ellipses, 2);
  EXPECT_EQ(thickLines, 1);  // RA to HOT, drawn though HOT lies outside
}

TEST_F(Diagram, TheMouseReportsThePointsExactStateOrNothingAboveSaturation) {
  std::vector<std::pair<double, double>> reported;
  TPsychroDiagram d(&surface, [&](double dbt, double ah) { reported.emplace_back(dbt, ah); }, nullptr, nullptr);
  d.SetDimensions(800, 600);
  d.AddPoint(1, "RA", 26, 0.010, 0, false);
  d.DrawDiagram(true);
  // Near the point (0.3 K and 0.3 g/kg off): its exact state, highlighted.
  const QPoint near = d.AirToDevice(26.3, 0.0103);
  d.OnHoover(near.x(), near.y());
  ASSERT_EQ(reported.size(), 1u);
  EXPECT_EQ(reported.back(), std::make_pair(26.0, 0.010));
  EXPECT_NE(d.SelectedPoint(), nullptr);
  EXPECT_FALSE(d.HighlightRect().isEmpty());
  // Elsewhere in the chart: the state under the mouse.
  const QPoint at = d.AirToDevice(10, 0.004);
  d.OnHoover(at.x(), at.y());
  EXPECT_NEAR(reported.back().first, 10, 0.2);
  EXPECT_NEAR(reported.back().second, 0.004, 0.0001);
  EXPECT_EQ(d.SelectedPoint(), nullptr);
  // Above saturation (0 degC with 0.030 kg/kg): no state.
  const QPoint wet = d.AirToDevice(0, 0.030);
  d.OnHoover(wet.x(), wet.y());
  EXPECT_EQ(reported.back(), std::make_pair(Sentinel::kNotGiven, Sentinel::kNotGiven));
}

}  // namespace
