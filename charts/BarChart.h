#pragma once
// CTBarChart: a grouped bar chart. Each category (an octave band, a month)
// is a group on the x axis; each series has one bar in every group, in the
// series' order from left to right and in the series' colour. A value that
// is not finite is a gap: its bar is left out and its place stays empty, so
// that the bars of one series line up across the groups.
//
// Layout inside the rectangle, as the line graphs lay theirs out (device
// pixels): a border around everything; the y title and the chart title on
// the top row; the plot area below, its left edge moved right for the
// widest y label; under the x axis the category labels, then the legend
// rows (a swatch and a name per series, wrapped to the plot's width).
//
// The y axis runs from a whole number of tick steps below the data to a
// whole number above it, the step being 1, 2 or 5 times a power of ten
// (about five intervals). The axis includes 0 when the data spans it, and
// always with BarBase::kZero (energies, net figures). Bars grow from 0, or
// from the axis end nearest to 0 when 0 is off the axis: sound levels in dB
// grow from the bottom of their axis. That end lies one step beyond the
// data when the data's extreme falls on a tick, so that no bar is flat.
// Values beyond +-1e15 are held there, as the pixel rounding holds its own.

#include "charts/DrawSurface.h"

#include <QRect>
#include <QString>
#include <QStringList>

#include <vector>

struct LTBarSeries {
  // The colour standing for "the palette's colour of this series' index".
  static constexpr TColor kPaletteColor = 0xFE000000;

  QString name;
  std::vector<double> values;  // one per category; missing or not finite: a gap
  TColor color = kPaletteColor;
};

struct LTBarChartData {
  QString title;
  QString yTitle;          // with its unit, e.g. "Sound power (dB)"
  QStringList categories;  // the group labels, left to right
  std::vector<LTBarSeries> series;
  int decimals = 0;  // of the y labels; the tick step is never finer (0 .. 6)
};

// Whether the y axis must include 0 whatever the data.
enum class BarBase { kFromData, kZero };

// The y axis: min, min + step, ..., max; max - min is a whole number of
// steps, at least one.
struct LTBarAxis {
  double min = 0, max = 1, step = 1;
  int Intervals() const;
  double Tick(int i) const;  // i = 0 .. Intervals()
};

class CTBarChart {
 public:
  static constexpr int kPaletteSize = 5;
  static constexpr int kDefaultBorder = 12;  // device pixels, 96 ppi

  // Five colours told apart also by colour-blind readers; series beyond
  // the fifth take them again from the first.
  static TColor PaletteColor(int nIndex);
  // The y axis of the data's finite values (0 .. 1 without any).
  static LTBarAxis YAxis(const LTBarChartData& data, BarBase base);

  explicit CTBarChart(LTBarChartData data, BarBase base = BarBase::kFromData);

  void SetBorder(int nBorder) { v_border = nBorder; }
  const LTBarChartData& Data() const { return v_data; }

  // Draws the chart into rect (device pixels) in the surface's font, over
  // whatever is there; the surface's pen, brush and font are restored
  // afterwards. A rectangle too small for a plot area stays empty.
  void Draw(IDrawSurface& surface, const QRect& rect) const;

 private:
  LTBarChartData v_data;
  BarBase v_base;
  int v_border = kDefaultBorder;
};
