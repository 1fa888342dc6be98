// Grouped bar charts: the y axis of the data, the bars as the recording
// surface sees them (order, colour, height on the axis scale, gaps, signs),
// the labels and the legend, bad data. How LibreOffice draws a bar chart's
// metafile is in EmfRenderTest.

#include "charts/BarChart.h"
#include "charts/RecordingSurface.h"
#include "charts/VirtCanv.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr int kCharWidth = 6, kLineHeight = 14;  // the recording surface's text cells

// What a drawing shows, read back from the recorded calls, with the pen
// and brush in effect for each shape. Boxes are as recorded: right and
// bottom exclusive.
struct Box {
  int left, top, right, bottom;
  TColor brush;
  int Centre2() const { return left + right; }  // twice the centre, to stay whole
};
struct Segment {
  QPoint from, to;
  TColor pen;
};
struct Label {
  QPoint at;
  QString text;
};

struct Picture {
  std::vector<Box> boxes;
  std::vector<Segment> lines;
  std::vector<Label> labels;

  explicit Picture(const QStringList& calls) {
    TColor pen = DrawColors::kBlack, brush = DrawColors::kWhite;
    QPoint current;
    for (const QString& call : calls) {
      const QStringList p = call.split(' ');
      const auto n = [&](int i) { return p[i].toInt(); };
      if (p[0] == "Pen") pen = TColor(p[1].toUInt());
      if (p[0] == "Brush") brush = TColor(p[1].toUInt());
      if (p[0] == "Rectangle") boxes.push_back({n(1), n(2), n(3), n(4), brush});
      if (p[0] == "MoveTo") current = QPoint(n(1), n(2));
      if (p[0] == "LineTo") {
        lines.push_back({current, QPoint(n(1), n(2)), pen});
        current = QPoint(n(1), n(2));
      }
      if (p[0] == "TextOut") labels.push_back({QPoint(n(1), n(2)), call.section(' ', 3)});
    }
  }
  const Label* Find(const QString& text) const {
    for (const Label& label : labels)
      if (label.text == text) return &label;
    return nullptr;
  }
  // The device y of a y-axis tick, from its label centred on it.
  int TickY(const QString& text) const {
    const Label* label = Find(text);
    if (!label) ADD_FAILURE() << "no label " << text.toStdString();
    return label ? label->at.y() + kLineHeight / 2 : 0;
  }
  // Twice the centre of a category label.
  int LabelCentre2(const QString& text) const {
    const Label* label = Find(text);
    if (!label) ADD_FAILURE() << "no label " << text.toStdString();
    return label ? 2 * label->at.x() + kCharWidth * int(text.size()) : 0;
  }
  // The bars: the shapes above the x axis (the legend's swatches lie below).
  std::vector<Box> Bars(int axisY) const {
    std::vector<Box> bars;
    for (const Box& box : boxes)
      if (box.top < axisY) bars.push_back(box);
    return bars;
  }
};

const QStringList kBands = {"63", "125", "250", "500", "1k", "2k", "4k", "8k"};
const QStringList kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

TEST(BarChart, TheYAxisStepsNicelyAroundTheData) {
  struct Case {
    std::vector<double> values;
    BarBase base;
    int decimals;
    double min, max, step;
  };
  // Steps of 1, 2 or 5 x 10^k, the smallest at least a fifth of the span.
  const Case cases[] = {
      {{42, 78}, BarBase::kFromData, 0, 40, 80, 10},         // 36 / 5 = 7.2 -> 10
      {{60, 80}, BarBase::kFromData, 0, 55, 80, 5},          // 60 on a tick: a step below, no flat bar
      {{62.3, 64.1}, BarBase::kFromData, 1, 62, 64.5, 0.5},  // 0.36 -> 0.5
      {{-120, 340}, BarBase::kFromData, 0, -200, 400, 100},  // spans 0: includes it anyway
      {{120, 340}, BarBase::kFromData, 0, 100, 350, 50},     // 44 -> 50
      {{120, 340}, BarBase::kZero, 0, 0, 400, 100},          // 0 .. 340: 68 -> 100
      {{-85, -25}, BarBase::kFromData, 0, -100, -20, 20},    // 12 -> 20
      {{-80, -20}, BarBase::kFromData, 0, -80, 0, 20},       // -20 on a tick: bars hang from a step above
      {{-85, -25}, BarBase::kZero, 0, -100, 0, 20},          // 17 -> 20
      {{0.42, 0.87}, BarBase::kFromData, 2, 0.4, 0.9, 0.1},  // 0.09 -> 0.1
      {{0.42, 0.87}, BarBase::kFromData, 0, 0, 1, 1},        // no step finer than the labels show
      {{50}, BarBase::kFromData, 0, 40, 50, 10},             // one value: a fifth of it per step
      {{0, 0}, BarBase::kFromData, 0, 0, 1, 1},
      {{kNaN, kInf}, BarBase::kFromData, 0, 0, 1, 1},  // nothing finite
      {{42, kNaN, 78, -kInf}, BarBase::kFromData, 0, 40, 80, 10},
      {{1e300, -1e300}, BarBase::kFromData, 0, -1e15, 1e15, 5e14},  // held at +-1e15
  };
  for (const Case& c : cases) {
    LTBarChartData data;
    data.series = {{"a", c.values}};
    data.decimals = c.decimals;
    const LTBarAxis axis = CTBarChart::YAxis(data, c.base);
    const std::string at = testing::PrintToString(c.values);
    const double tolerance = 1e-9 * std::max(1.0, std::fabs(c.max - c.min));
    EXPECT_NEAR(axis.min, c.min, tolerance) << at;
    EXPECT_NEAR(axis.max, c.max, tolerance) << at;
    EXPECT_NEAR(axis.step, c.step, tolerance) << at;
    EXPECT_EQ(axis.Intervals(), int(std::lround((c.max - c.min) / c.step))) << at;
    EXPECT_DOUBLE_EQ(axis.Tick(axis.Intervals()), axis.max) << at;
  }
}

// Sound power: eight bands, five series in the palette's colours, dB from
// the bottom of the axis. Every value lies on a tick (40 .. 80 by 10) or
// halfway between two; one is missing.
TEST(BarChart, SoundPowerBarsStandInBandOrderAtTheirLevels) {
  const std::vector<std::vector<double>> levels = {
      {80, 70, 60, 50, 60, 70, 80, 70},    // supply outlet
      {75, 65, 55, 65, 75, 65, 55, 65},    // outdoor-air inlet: between ticks
      {60, kNaN, 60, 60, 60, 60, 60, 60},  // extract inlet: 125 Hz missing
      {50, 50, 50, 50, 50, 50, 50, 50},    // exhaust outlet: the lowest
      {70, 70, 70, 70, 70, 70, 70, 70},    // casing
  };
  const QStringList names = {"Supply outlet", "Outdoor-air inlet", "Extract inlet", "Exhaust outlet", "Casing"};
  LTBarChartData data{"Sound power", "Lw (dB)", kBands, {}, 0};
  for (int i = 0; i < 5; ++i) data.series.push_back({names[i], levels[std::size_t(i)]});
  CTRecordingSurface surface(kCharWidth, kLineHeight);
  CTBarChart(data).Draw(surface, QRect(20, 10, 600, 400));
  const Picture picture(surface.Calls());

  for (const char* tick : {"40", "50", "60", "70", "80"}) EXPECT_TRUE(picture.Find(tick)) << tick;
  const auto tickY = [&](double v) { return picture.TickY(QString::number(v)); };
  const int step = tickY(50) - tickY(40);
  EXPECT_LT(step, 0);
  EXPECT_NEAR(tickY(80) - tickY(70), step, 1);  // evenly spaced
  const int axisY = tickY(40);
  const std::vector<Box> bars = picture.Bars(axisY);
  ASSERT_EQ(bars.size(), 39u);  // 40 values, one missing

  std::size_t k = 0;
  for (int j = 0; j < 8; ++j) {
    const int centre2 = picture.LabelCentre2(kBands[j]);
    for (int i = 0; i < 5; ++i) {
      const double v = levels[std::size_t(i)][std::size_t(j)];
      if (std::isnan(v)) continue;
      const Box& bar = bars[k++];
      SCOPED_TRACE(testing::Message() << "band " << j << " series " << i);
      EXPECT_EQ(bar.brush, CTBarChart::PaletteColor(i));
      EXPECT_EQ(bar.bottom, axisY);  // up to the x axis, which stays visible
      const double ticks = (v - 40) / 10;
      if (ticks == std::floor(ticks)) {
        EXPECT_EQ(bar.top, tickY(v));
      } else {
        EXPECT_NEAR(bar.top, (tickY(v - 5) + tickY(v + 5)) / 2.0, 1);
      }
      // Nearer to its own band's label than to any other.
      for (int other = 0; other < 8; ++other) {
        if (other == j) continue;
        EXPECT_LT(std::abs(bar.Centre2() - centre2), std::abs(bar.Centre2() - picture.LabelCentre2(kBands[other])));
      }
      if (i > 0 && !std::isnan(levels[std::size_t(i - 1)][std::size_t(j)])) {
        EXPECT_GE(bar.left, bars[k - 2].right);  // series left to right, side by side
      }
    }
  }
  // The missing value leaves its place empty: band 125's fourth bar stands
  // where band 63's does relative to its label.
  const int offset63 = 2 * bars[3].left - picture.LabelCentre2("63");
  const int offset125 = 2 * bars[5 + 2].left - picture.LabelCentre2("125");
  EXPECT_NEAR(offset125, offset63, 2);

  // Titles, and a legend swatch in each series' colour just left of its name.
  EXPECT_TRUE(picture.Find("Sound power"));
  EXPECT_TRUE(picture.Find("Lw (dB)"));
  for (int i = 0; i < 5; ++i) {
    const Label* name = picture.Find(names[i]);
    ASSERT_TRUE(name) << names[i].toStdString();
    EXPECT_GT(name->at.y(), axisY);
    const auto swatch = std::find_if(picture.boxes.begin(), picture.boxes.end(), [&](const Box& b) {
      return b.top >= name->at.y() && b.bottom <= name->at.y() + kLineHeight && b.right <= name->at.x() &&
             b.right > name->at.x() - 2 * kCharWidth;
    });
    ASSERT_NE(swatch, picture.boxes.end()) << names[i].toStdString();
    EXPECT_EQ(swatch->brush, CTBarChart::PaletteColor(i));
  }
}

// A net monthly energy: bars grow up and down from the zero line, in the
// colours the caller chose; a zero has no height to draw.
TEST(BarChart, NetEnergyBarsGrowBothWaysFromTheZeroLine) {
  const std::vector<double> net = {-100, -50, 0, 100, 200, 300, 300, 200, 100, 0, -50, -100};
  const TColor blue = DrawColors::Rgb(0, 0, 255);
  LTBarChartData data{"Net energy", "kWh", kMonths, {{"Net", net, blue}}, 0};
  CTRecordingSurface surface(kCharWidth, kLineHeight);
  CTBarChart(data, BarBase::kZero).Draw(surface, QRect(0, 0, 640, 360));
  const Picture picture(surface.Calls());

  for (const QString& month : kMonths) EXPECT_TRUE(picture.Find(month)) << month.toStdString();
  const int zeroY = picture.TickY("0"), axisY = picture.TickY("-100");
  EXPECT_GT(axisY, zeroY);
  // The zero line: black, across the plot from the y axis.
  const auto zeroLine = std::find_if(picture.lines.begin(), picture.lines.end(), [&](const Segment& s) {
    return s.pen == DrawColors::kBlack && s.from.y() == zeroY && s.to.y() == zeroY && s.to.x() - s.from.x() > 400;
  });
  EXPECT_NE(zeroLine, picture.lines.end());

  const std::vector<Box> bars = picture.Bars(axisY + 1);
  ASSERT_EQ(bars.size(), 10u);  // twelve months, two of them zero
  std::size_t k = 0;
  for (const double v : net) {
    if (v == 0) continue;
    const Box& bar = bars[k++];
    SCOPED_TRACE(testing::Message() << "value " << v);
    EXPECT_EQ(bar.brush, blue);
    const int valueY = v == -50 ? (zeroY + axisY) / 2 : picture.TickY(QString::number(v));
    if (v > 0) {
      EXPECT_EQ(bar.top, valueY);
      EXPECT_EQ(bar.bottom, zeroY);
    } else {
      EXPECT_EQ(bar.top, zeroY + 1);  // below the zero line
      EXPECT_NEAR(bar.bottom - 1, valueY, v == -50 ? 1 : 0);
    }
  }
}

// Labels wider than their groups: only every few is written, none overlap.
TEST(BarChart, CategoryLabelsTooWideForTheirGroupsAreThinnedOut) {
  const QStringList months = {"January", "February", "March",     "April",   "May",      "June",
                              "July",    "August",   "September", "October", "November", "December"};
  LTBarChartData data{"", "kWh", months, {{"Heating", std::vector<double>(12, 100.0)}}, 0};
  CTRecordingSurface surface(kCharWidth, kLineHeight);
  CTBarChart(data, BarBase::kZero).Draw(surface, QRect(0, 0, 400, 300));
  const Picture picture(surface.Calls());
  std::vector<const Label*> drawn;
  for (const QString& month : months)
    if (const Label* label = picture.Find(month)) drawn.push_back(label);
  ASSERT_GE(drawn.size(), 2u);
  EXPECT_LT(drawn.size(), 12u);
  EXPECT_TRUE(picture.Find("January"));
  for (std::size_t i = 1; i < drawn.size(); ++i)
    EXPECT_GE(drawn[i]->at.x(), drawn[i - 1]->at.x() + kCharWidth * int(drawn[i - 1]->text.size()));
}

// Whatever the data and the room, the chart stays inside its rectangle and
// leaves the surface's pen, brush and font as they were.
TEST(BarChart, BadDataAndSmallRoomStayInsideTheRectangle) {
  struct Case {
    const char* what;
    LTBarChartData data;
    QRect rect;
  };
  std::vector<LTBarSeries> seven;
  for (int i = 0; i < 7; ++i) seven.push_back({QString("Series %1").arg(i), {double(i + 1), 2, 3}});
  const Case cases[] = {
      {"nothing", {}, QRect(50, 30, 300, 200)},
      {"labels only", {"T", "y", kBands, {}, 0}, QRect(50, 30, 300, 200)},
      {"values without labels", {"T", "y", {}, {{"a", {1, 2, 3}}}, 0}, QRect(50, 30, 300, 200)},
      {"more values than labels", {"T", "y", {"a"}, {{"a", {1, 2, 3, 4, 5}}}, 0}, QRect(50, 30, 300, 200)},
      {"seven series", {"T", "y", {"a", "b", "c"}, seven, 0}, QRect(50, 30, 300, 200)},
      {"huge values", {"T", "y", {"a", "b"}, {{"a", {1e300, -1e300}}}, 0}, QRect(50, 30, 300, 200)},
      {"odd decimals", {"T", "y", {"a", "b"}, {{"a", {1, 2}}}, -3}, QRect(50, 30, 300, 200)},
      {"many decimals", {"T", "y", {"a", "b"}, {{"a", {1, 2}}}, 99}, QRect(50, 30, 300, 200)},
      {"tiny room", {"T", "y", kBands, {{"a", {60, 70}}}, 0}, QRect(50, 30, 30, 20)},
  };
  for (const Case& c : cases) {
    CTRecordingSurface surface(kCharWidth, kLineHeight);
    surface.SetPen({DrawColors::Rgb(1, 2, 3), 2, PenStyle::kDot, PenMode::kCopy});
    surface.SetBrush({DrawColors::Rgb(4, 5, 6), BrushStyle::kClear});
    const LTPen pen = surface.Pen();
    const LTBrush brush = surface.Brush();
    const LTFont font = surface.Font();
    CTBarChart(c.data).Draw(surface, c.rect);
    const Picture picture(surface.Calls());
    const QRect inside = c.rect.adjusted(0, 0, 1, 1);  // a right/bottom edge may stop there
    for (const Box& b : picture.boxes)
      EXPECT_TRUE(inside.contains(b.left, b.top) && inside.contains(b.right, b.bottom)) << c.what;
    for (const Segment& s : picture.lines) EXPECT_TRUE(inside.contains(s.from) && inside.contains(s.to)) << c.what;
    for (const Label& l : picture.labels) {
      EXPECT_TRUE(c.rect.contains(l.at)) << c.what << " " << l.text.toStdString();
      EXPECT_FALSE(l.text.contains("nan", Qt::CaseInsensitive) || l.text.contains("inf", Qt::CaseInsensitive));
    }
    EXPECT_EQ(surface.Pen(), pen) << c.what;
    EXPECT_EQ(surface.Brush(), brush) << c.what;
    EXPECT_EQ(surface.Font(), font) << c.what;
  }
}

}  // namespace
