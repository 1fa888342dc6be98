// Line graphs and legends through the recording surface: the y range, the
// plots with their gaps, the legend rows and what a click on them hits,
// the palette and the legend's settings in the registry store.

#include "charts/RecordingSurface.h"
#include "charts/Vgraph.h"
#include "platform/Registry.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>

namespace {

struct Graph : testing::Test {
  void SetUp() override { TLegend::ResetColor(); }
  // A 600 x 400 graph with a 10-pixel border on a surface whose characters
  // are 6 x 14 pixels.
  std::unique_ptr<TVirtLineGraph> Make(TVirtGraph::Evaluate values = {}, TVirtGraph::LegendClick click = {}) {
    auto graph = std::make_unique<TVirtLineGraph>(&surface, std::move(values), nullptr, std::move(click));
    graph->SetDimensions(600, 400);
    graph->SetBorder(10);
    return graph;
  }
  CTRecordingSurface surface;
};

TEST_F(Graph, TheAutomaticRangeStepsAroundTheExtremes) {
  struct Case {
    double exactMin, exactMax;
    double min, max;
    int ticks;
  };
  // Steps of 2, 5 or 10 units of the power of ten that puts the span at 100
  // to 1000 units: 0.45 -> 450 units of 0.001 -> steps of 0.05.
  const Case cases[] = {
      {0.42, 0.87, 0.4, 0.9, 10},
      {0.4, 0.9, 0.4, 0.9, 5},           // on the steps already: no step more
      {0, 100, 0, 100, 5},               // 100 units of 1 -> steps of 20
      {-13, -2, -14, -2, 6},             // 110 units of 0.1 -> steps of 2
      {-3, 4, -3, 4, 7},                 // 700 units of 0.01 -> steps of 1, -3 on a step
      {1e6, 1e6 + 1, 1e6, 1e6 + 1, 5},   // far from zero: no walk from zero
  };
  for (const Case& c : cases) {
    auto graph = Make();
    const auto start = std::chrono::steady_clock::now();
    graph->SetYValues(c.exactMin, c.exactMax, 2);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_NEAR(graph->MinY(), c.min, 1e-9 * std::max(1.0, std::fabs(c.min))) << c.exactMin << " " << c.exactMax;
    EXPECT_NEAR(graph->MaxY(), c.max, 1e-9 * std::max(1.0, std::fabs(c.max))) << c.exactMin << " " << c.exactMax;
    EXPECT_EQ(graph->TicksY(), c.ticks) << c.exactMin << " " << c.exactMax;
  }
}

TEST_F(Graph, ExactExtremesAreKeptWithinTheFirstAndLastStep) {
  auto graph = Make();
  graph->SetYValues(0, 100, 15, 95, 5, 0);  // a step is 20
  EXPECT_EQ(graph->ExactMinY(), 15);
  EXPECT_EQ(graph->ExactMaxY(), 95);
  graph->SetYValues(0, 100, 25, 75, 5, 0);  // beyond the first and last step
  EXPECT_EQ(graph->ExactMinY(), 0);
  EXPECT_EQ(graph->ExactMaxY(), 100);
  graph->SetYValues(10, 10, 0, 0, 5, 0);  // an empty range changes nothing
  EXPECT_EQ(graph->MaxY(), 100);
}

// Every other value missing: each value alone is a short dash; a value above
// the range is drawn on the top edge of the plot area.
TEST_F(Graph, GapsLeaveDashesAndValuesOutsideTheRangeSitOnItsEdges) {
  std::vector<TLegend*> plots{new TLegend("P", "Plot", true)};
  auto graph = Make([](TVirtGraph&, int, int j, void*) { return j % 2 ? Sentinel::kNotGiven : j == 4 ? 500.0 : 50.0; });
  graph->SetPlots(plots, true);
  graph->SetXValues(5, {"a", "b", "c", "d", "e"});
  graph->SetYValues(0, 100, 0, 100, 5, 0);
  graph->DrawOutline(false, false);
  surface.Clear();
  graph->DrawGraph();
  const QRect g = graph->GraphRect();
  const double step = (g.right() - g.left()) / 4.0;
  QStringList lines;
  for (const QString& call : surface.Calls())
    if (call.startsWith("LineTo")) lines << call;
  ASSERT_EQ(lines.size(), 3);  // three dashes, no line across a gap
  const int mid = int(std::nearbyint(g.top() + 0.5 * (g.bottom() - g.top())));
  EXPECT_EQ(lines[0], QStringLiteral("LineTo %1 %2").arg(int(std::nearbyint(g.left() + step / 4))).arg(mid));
  EXPECT_TRUE(lines[2].endsWith(QStringLiteral(" %1").arg(g.top()))) << lines[2].toStdString();
}

// The legend wraps when it does not fit one row, raises the plot area by a
// row each, and a click on a swatch reaches the entry drawn there.
TEST_F(Graph, ClicksOnTheLegendHitTheEntryDrawnThere) {
  std::vector<TLegend*> plots;
  for (int i = 0; i < 7; ++i) plots.push_back(new TLegend(QString("K%1").arg(i), QString("A long plot name %1").arg(i), true));
  int clicks = 0;
  auto graph = Make({}, [&](TVirtGraph&) { ++clicks; });
  graph->SetPlots(plots, true);
  graph->SetYValues(0, 100, 0, 100, 5, 0);
  graph->DrawOutline(true, true);
  const int perRow = graph->LegendItemsPerRow();
  ASSERT_LT(perRow, 7);
  const int rows = (7 + perRow - 1) / perRow;
  EXPECT_EQ(graph->GraphRect().bottom(), 400 - 10 - 14 - 7 - 14 * rows);
  // The swatches, as drawn: each entry's filled rectangle in its colour.
  QVector<QRect> swatches;
  for (const QString& call : surface.Calls())
    if (call.startsWith("Rectangle")) {
      const QStringList p = call.split(' ');
      swatches << QRect(QPoint(p[1].toInt(), p[2].toInt()), QPoint(p[3].toInt(), p[4].toInt()));
    }
  // Check boxes and swatches alternate: box, swatch, box, swatch ...
  ASSERT_EQ(swatches.size(), 14);
  for (int i = 0; i < 7; ++i) {
    const QRect box = swatches[2 * i];
    graph->OnClick(box.left() + 1, box.center().y());  // on the check box: the plot is hidden
    EXPECT_FALSE(plots[std::size_t(i)]->MustDisplay()) << "entry " << i;
  }
  EXPECT_EQ(clicks, 7);
}

TEST_F(Graph, LegendsTakeThePaletteInTurnAndKeepTheirSettings) {
  TLegend first("EffC", "Cooling", true), second("EffH", "Heating", true), third("EffT", "Temperature", true);
  EXPECT_EQ(first.GetColor(), 0x000080u);
  EXPECT_EQ(second.GetColor(), 0x008000u);
  EXPECT_EQ(third.GetColor(), 0x008080u);
  EXPECT_EQ(TLegend::PaletteColor(15), TLegend::PaletteColor(26));

  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  CTRegistryStore::SetUserFolder(dir.path());
  const QString section = QStringLiteral("Software\\Norvane\\Test\\Legend");
  second.SetColor(0x123456);
  second.SetDisplay(false);
  ASSERT_TRUE(TLegend::SaveLegendToIniFile({&first, &second}, section));
  TLegend again("EffH", "Heating", true), other("EffX", "Not saved", true);
  const TColor otherColor = other.GetColor();
  TLegend::LoadLegendFromIniFile({&again, &other}, section, true, true);
  EXPECT_EQ(again.GetColor(), 0x123456u);
  EXPECT_FALSE(again.MustDisplay());
  EXPECT_EQ(other.GetColor(), otherColor);  // no key: left as it was
  EXPECT_TRUE(other.MustDisplay());
  CTRegistryStore::SetUserFolder(QString());
}

}  // namespace
