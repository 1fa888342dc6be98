#include "charts/BarChart.h"

#include "charts/VirtCanv.h"
#include "i18n/BaseMsgMan.h"
#include "psychro/Rounding.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr int kTargetIntervals = 5;  // about this many steps on the y axis
constexpr int kMaxDecimals = 6;
// A value within this share of a step from a tick counts as on it, so that
// 0.3 / 0.1 = 2.9999999999999996 is the third tick.
constexpr double kOnTick = 1e-9;
// Values beyond this size are held there: the axis arithmetic stays exact
// in whole steps and finite at its ends.
constexpr double kLargest = 1e15;
// The share of a group's width its bars take; the rest is the gap between
// neighbouring groups, half on each side.
constexpr double kGroupFill = 0.8;
constexpr int kSwatchMargin = 2;  // above and below a legend swatch, device pixels
constexpr TColor kGridGrey = DrawColors::Rgb(217, 217, 217);

// The colour-blind-safe set of Okabe and Ito ("Color Universal Design",
// 2008): blue, orange, bluish green, vermilion, reddish purple.
constexpr TColor kPalette[CTBarChart::kPaletteSize] = {DrawColors::Rgb(0, 114, 178), DrawColors::Rgb(230, 159, 0),
                                                       DrawColors::Rgb(0, 158, 115), DrawColors::Rgb(213, 94, 0),
                                                       DrawColors::Rgb(204, 121, 167)};

int Decimals(const LTBarChartData& data) { return std::clamp(data.decimals, 0, kMaxDecimals); }

// The smallest of 1, 2 and 5 times a power of ten that is not below rawStep
// (> 0 and finite).
double NiceStep(double rawStep) {
  const double power = std::pow(10.0, std::floor(std::log10(rawStep)));
  for (const double m : {1.0, 2.0, 5.0})
    if (m * power >= rawStep * (1 - kOnTick)) return m * power;
  return 10 * power;
}

bool OnTick(double stepsFromZero, double tickIndex) { return std::fabs(stepsFromZero - tickIndex) <= kOnTick; }

TColor SeriesColor(const LTBarSeries& series, int nIndex) {
  return series.color == LTBarSeries::kPaletteColor ? CTBarChart::PaletteColor(nIndex) : series.color;
}

// One drawing of a chart: the canvas placed on the chart's rectangle and
// the plot area in pixels from the rectangle's top-left corner. The plot
// area's edges are the axes: left..right, top..bottom, the x axis on bottom.
struct Drawing {
  CTVirtualCanvas& c;
  IDrawSurface& s;
  const LTBarChartData& data;
  LTBarAxis axis;
  int cw, th;
  int left = 0, top = 0, right = 0, bottom = 0;
  int groups = 0;

  int TextWidth(const QString& text) const { return s.TextExtent(text).width(); }
  int ValueY(double v) const {
    return Rounding::HalfEvenInt(top + (axis.max - v) * (bottom - top) / (axis.max - axis.min));
  }
  double GroupWidth() const { return double(right - left) / groups; }
  void Pen(TColor color) { s.SetPen({color, 1, PenStyle::kSolid, PenMode::kCopy}); }
  void Line(int x1, int y1, int x2, int y2) {
    c.MoveTo(x1, y1);
    c.LineTo(x2, y2);
  }

  void Titles(int border);
  void Grid();
  void Bars();
  void Axes();
  void YLabels();
  void CategoryLabels();
  void Legend(int perRow, int itemWidth);
};

// The y title at the top, centred on the y axis where there is room; the
// chart's title centred over the plot area, kept clear of the y title.
void Drawing::Titles(int border) {
  const int yTitleX = std::max(border, left - TextWidth(data.yTitle) / 2);
  c.TextOut(yTitleX, border, data.yTitle);
  const int yTitleEnd = data.yTitle.isEmpty() ? 0 : yTitleX + TextWidth(data.yTitle) + 2 * cw;
  c.TextOut(std::max((left + right - TextWidth(data.title)) / 2, yTitleEnd), border, data.title);
}

void Drawing::Grid() {
  Pen(kGridGrey);
  for (int i = 1; i <= axis.Intervals(); ++i) {
    const int y = ValueY(axis.Tick(i));
    Line(left + 1, y, right, y);
  }
}

// Bar (group j, series i) takes the i-th of the equal slots in the middle
// kGroupFill of its group; a gap leaves its slot empty. A bar covers the
// pixels from its value's y to the base line, that line itself excluded:
// up to it from above, down from it below.
void Drawing::Bars() {
  const int nSeries = int(data.series.size());
  const double groupWidth = GroupWidth(), barWidth = groupWidth * kGroupFill / nSeries;
  const int yBase = ValueY(std::clamp(0.0, axis.min, axis.max));
  for (int j = 0; j < groups; ++j) {
    for (int i = 0; i < nSeries; ++i) {
      const LTBarSeries& series = data.series[std::size_t(i)];
      if (std::size_t(j) >= series.values.size()) continue;
      const double v = series.values[std::size_t(j)];
      if (!std::isfinite(v)) continue;
      const int y = ValueY(std::clamp(v, -kLargest, kLargest));
      if (y == yBase) continue;  // no height at this scale
      const double x = left + j * groupWidth + groupWidth * (1 - kGroupFill) / 2 + i * barWidth;
      const int xLeft = Rounding::HalfEvenInt(x);
      const int xRight = std::max(xLeft + 1, Rounding::HalfEvenInt(x + barWidth));
      const TColor color = SeriesColor(series, i);
      Pen(color);
      s.SetBrush({color, BrushStyle::kSolid});
      if (y < yBase) {
        c.DrawRectangle(xLeft, y, xRight, yBase);
      } else {
        c.DrawRectangle(xLeft, yBase + 1, xRight, y + 1);
      }
    }
  }
}

// The y axis, the x axis at the bottom and, when 0 or the top is the bars'
// base, the base line across.
void Drawing::Axes() {
  Pen(DrawColors::kBlack);
  c.MoveTo(left, top);
  c.LineTo(left, bottom);
  c.LineTo(right, bottom);
  const int yBase = ValueY(std::clamp(0.0, axis.min, axis.max));
  if (yBase != bottom) Line(left, yBase, right, yBase);
}

// A tick and a label per step, from the bottom up; a label that would touch
// the one below it is left out (a very low plot area).
void Drawing::YLabels() {
  Pen(DrawColors::kBlack);
  int lastLabelY = std::numeric_limits<int>::max();
  for (int i = 0; i <= axis.Intervals(); ++i) {
    const int y = ValueY(axis.Tick(i));
    Line(left - cw / 2, y, left, y);
    if (lastLabelY - y < th) continue;
    const QString label = TBaseMsg::FormatShown(axis.Tick(i), Decimals(data));
    c.TextOut(left - cw - TextWidth(label), y - th / 2, label);
    lastLabelY = y;
  }
}

// Ticks between the groups; each label centred under its group. When the
// widest label is wider than a group, only every k-th is written, so that
// no two labels overlap.
void Drawing::CategoryLabels() {
  Pen(DrawColors::kBlack);
  const double groupWidth = GroupWidth();
  for (int j = 0; j <= groups; ++j) {
    const int x = Rounding::HalfEvenInt(left + j * groupWidth);
    Line(x, bottom, x, bottom + th / 2);
  }
  int widest = 0;
  for (const QString& label : data.categories) widest = std::max(widest, TextWidth(label));
  const int every = std::max(1, int(std::ceil((widest + cw) / groupWidth)));
  for (int j = 0; j < std::min(groups, int(data.categories.size())); j += every) {
    const QString& label = data.categories[j];
    const int centre = Rounding::HalfEvenInt(left + (j + 0.5) * groupWidth);
    c.TextOut(centre - TextWidth(label) / 2, bottom + th / 2, label);
  }
}

// Rows of swatches with the series' names, from the y axis rightwards, the
// first row a line below the category labels.
void Drawing::Legend(int perRow, int itemWidth) {
  const int swatch = th - 2 * kSwatchMargin;
  for (int i = 0; i < int(data.series.size()); ++i) {
    const LTBarSeries& series = data.series[std::size_t(i)];
    const int x = left + (i % perRow) * itemWidth, y = bottom + 2 * th + (i / perRow) * th;
    Pen(DrawColors::kBlack);
    s.SetBrush({SeriesColor(series, i), BrushStyle::kSolid});
    c.DrawRectangle(x, y + kSwatchMargin, x + swatch, y + th - kSwatchMargin);
    c.TextOut(x + swatch + cw / 2, y, series.name);
  }
}

}  // namespace

int LTBarAxis::Intervals() const { return std::max(1, int(std::lround((max - min) / step))); }

double LTBarAxis::Tick(int i) const { return i >= Intervals() ? max : min + i * step; }

TColor CTBarChart::PaletteColor(int nIndex) { return kPalette[(nIndex % kPaletteSize + kPaletteSize) % kPaletteSize]; }

LTBarAxis CTBarChart::YAxis(const LTBarChartData& data, BarBase base) {
  const double finest = std::pow(10.0, -Decimals(data));  // labels show no finer step
  double lo = std::numeric_limits<double>::infinity(), hi = -lo;
  for (const LTBarSeries& series : data.series)
    for (const double v : series.values) {
      if (!std::isfinite(v)) continue;
      lo = std::min(lo, std::clamp(v, -kLargest, kLargest));
      hi = std::max(hi, std::clamp(v, -kLargest, kLargest));
    }
  if (lo > hi) lo = hi = 0;  // no finite value
  if (base == BarBase::kZero) {
    lo = std::min(lo, 0.0);
    hi = std::max(hi, 0.0);
  }
  // A single value spreads a fifth of its size per step.
  const double span = hi > lo ? hi - lo : std::max(std::fabs(hi), finest);
  const double step = std::max(NiceStep(span / kTargetIntervals), finest);
  // The ends as whole numbers of steps from zero.
  double first = std::floor(lo / step + kOnTick), last = std::ceil(hi / step - kOnTick);
  // Bars grow from the end nearest 0 when 0 is off the axis: a step of room
  // beyond an extreme on that end's tick.
  if (first > 0 && OnTick(lo / step, first)) first -= 1;
  if (last < 0 && OnTick(hi / step, last)) last += 1;
  if (last <= first) last = first + 1;  // all values 0
  return {first * step, last * step, step};
}

CTBarChart::CTBarChart(LTBarChartData data, BarBase base) : v_data(std::move(data)), v_base(base) {}

void CTBarChart::Draw(IDrawSurface& surface, const QRect& rect) const {
  CTVirtualCanvas canvas(&surface);  // keeps the surface's attributes to restore
  canvas.SetOffsetX(rect.left());
  canvas.SetOffsetY(rect.top());
  const QSize letter = surface.TextExtent(QStringLiteral("W"));
  Drawing d{canvas, surface, v_data, YAxis(v_data, v_base), letter.width(), letter.height()};
  const int th = d.th, cw = d.cw, border = v_border;
  int groups = int(v_data.categories.size());
  for (const LTBarSeries& series : v_data.series) groups = std::max(groups, int(series.values.size()));
  d.groups = groups;

  int widestYLabel = 0;
  for (int i = 0; i <= d.axis.Intervals(); ++i)
    widestYLabel = std::max(widestYLabel, d.TextWidth(TBaseMsg::FormatShown(d.axis.Tick(i), Decimals(v_data))));
  d.left = border + widestYLabel + cw;
  d.right = rect.width() - 1 - border;
  const bool titled = !v_data.title.isEmpty() || !v_data.yTitle.isEmpty();
  d.top = border + (titled ? th : 0) + th / 2;  // the top label reaches half a line above its tick

  int widestName = 0;
  for (const LTBarSeries& series : v_data.series) widestName = std::max(widestName, d.TextWidth(series.name));
  const int itemWidth = th - 2 * kSwatchMargin + cw / 2 + widestName + 2 * cw;
  const int perRow = std::max(1, (d.right - d.left + 1) / itemWidth);
  const int rows = (int(v_data.series.size()) + perRow - 1) / perRow;
  d.bottom = rect.height() - 1 - border - 2 * th - rows * th;

  if (d.right - d.left < 2 || d.bottom - d.top < 2) return;  // no room for a plot
  if (titled) d.Titles(border);
  d.Grid();
  if (groups > 0 && !v_data.series.empty()) d.Bars();
  d.Axes();
  d.YLabels();
  if (groups > 0) d.CategoryLabels();
  d.Legend(perRow, itemWidth);
  canvas.RestoreProperties();
}
