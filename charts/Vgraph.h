#pragma once
// TVirtGraph: a graph of plots over x values on a virtual canvas, every
// value pulled from the caller through a callback; TVirtLineGraph draws the
// plots as lines. A legend row below the plot area names the plots; a
// click on a swatch hides a plot or asks for its colour.
//
// Layout, in device pixels: margins around everything; the y title and the
// graph title on the top margin; the plot area below them (GraphRect), its
// left edge moved right to make room for the y labels; the legend rows
// under the x axis.

#include "charts/Legend.h"
#include "charts/VirtCanv.h"
#include "catalogue/Sentinels.h"

#include <QLineF>
#include <QRect>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class TVirtGraph;

// A marked point: its x as a percentage of the plot width, its value.
struct TExtraPoint {
  double v_XPercentage = 0;
  double v_Y = 0;
  QString v_Name;
  bool v_HairLines = false;
};

class TVirtGraph : public CTVirtualCanvas {
 public:
  // The value of plot i at x index j; Sentinel::kNotGiven for a gap.
  using Evaluate = std::function<double(TVirtGraph& graph, int i, int j, void* data)>;
  using BarClick = std::function<void(TVirtGraph& graph, int i, int j)>;
  using LegendClick = std::function<void(TVirtGraph& graph)>;
  // Asks the user for a colour, preset with the current one; false: cancelled.
  using ColorChooser = std::function<bool(TColor& color)>;

  TVirtGraph(IDrawSurface* pFromCanvas, Evaluate OnDrawing, BarClick OnBarClick, LegendClick OnLegendClick);
  ~TVirtGraph() override;

  virtual void DrawOutline(bool AddLegend, bool AddChecks) = 0;
  virtual void DrawPeriodOutline(bool AddLegend, bool AddChecks) = 0;
  virtual void DrawGraph() = 0;
  virtual void DrawPeriodGraph() = 0;
  virtual void SetYValues(double Min, double Max, double ExactMin, double ExactMax, int NrOfTicks, int Decimals);
  // The range from the data's extremes: steps of 2, 5 or 10 units of the
  // power of ten that puts the span between 100 and 1000 of them.
  virtual void SetYValues(double ExactMin, double ExactMax, int Decimals);

  // A click at device (X, Y): the legend's swatches and check boxes.
  void OnClick(int X, int Y);
  void SetBorder(int nBorder) { SetBorders(nBorder, nBorder, nBorder, nBorder); }
  void SetBorders(int nXLeft, int nXRight, int nYTop, int nYBottom);
  void GetXRange(int& nLeft, int& nRight) const;
  void GetYRange(int& nTop, int& nBottom) const;
  void SetDimensions(int nWidth, int nHeight);
  void SetPlots(std::vector<TLegend*> pLegend, bool bMustFree);
  const std::vector<TLegend*>& GetPlots() const { return v_Legend; }
  void SetGraphTitle(const QString& s) { v_GraphTitle = s; }
  void SetXTitle(const QString& s) { v_TitleX = s; }
  void SetYTitle(const QString& s) { v_TitleY = s; }
  void SetXValues(int nNrOfValues, const QStringList& LabelsOnX);
  void SetData(void* pData) { v_Data = pData; }
  void AddExtraPoint(double nXPercentage, double nY, const QString& szName, bool bHairLines);
  void ClearExtraPoints() { v_ExtraPoints.clear(); }
  const std::vector<TExtraPoint>& ExtraPoints() const { return v_ExtraPoints; }
  void SetUserTag(int n) { v_UserTag = n; }
  int GetUserTag() const { return v_UserTag; }
  void SetDeviceHorScale(double n) { v_DeviceHorScale = n; }
  QRect GraphRect() const { return v_GraphRect; }
  double MinY() const { return v_MinY; }
  double MaxY() const { return v_MaxY; }
  double ExactMinY() const { return v_ExactMinY; }
  double ExactMaxY() const { return v_ExactMaxY; }
  int TicksY() const { return v_TicksY; }
  // Legend entries on one row: the layout and the clicks share this rule.
  int LegendItemsPerRow() const;
  static void SetColorChooser(ColorChooser fn) { s_colorChooser = std::move(fn); }

 protected:
  // Titles, axes, y ticks and, with AddLegend, the legend rows.
  void LayoutAxes(bool AddLegend, bool AddChecks);
  void DrawLegendRows(bool AddChecks);
  void DrawCheckBox(int x1, int y1, int x2, int y2, bool bChecked);
  void DrawPlots(double x0, double step);
  // The markers and their labels; curves: the plots as drawn, in device
  // pixels, which the labels keep clear of.
  void DrawExtraPoints(double x0, const std::vector<QLineF>& curves);
  double ClampY(double v) const;
  // The device y of a value on the plot area.
  int ValueY(double v) const;

  bool v_LegendVisible = false;
  bool v_CheckMarksVisible = false;
  int v_BorderXL = 0, v_BorderXR = 0, v_BorderYT = 0, v_BorderYB = 0;
  int v_Width = 0, v_Height = 0;
  int v_CharWidth = 0, v_TextHeight = 0;
  std::vector<TLegend*> v_Legend;
  bool v_mustFreeLegend = false;
  int v_TicksY = 5;
  int v_DecimalsY = 0;
  int v_ValuesX = 0;
  int v_MaxLegendItem = 1;
  int v_UserTag = 0;
  QStringList v_LabelsX;
  std::vector<TExtraPoint> v_ExtraPoints;
  void* v_Data = nullptr;
  Evaluate v_OnDrawing;
  BarClick v_OnBarClick;
  LegendClick v_OnLegendClick;
  QRect v_GraphRect;
  QString v_GraphTitle, v_TitleY, v_TitleX;
  double v_DeviceHorScale = 1.0;
  double v_MinY = 0, v_MaxY = 0, v_ExactMinY = 0, v_ExactMaxY = 0;
  int v_Selecti = -1, v_Selectj = -1;
  static inline ColorChooser s_colorChooser;
};

class TVirtLineGraph : public TVirtGraph {
 public:
  using TVirtGraph::TVirtGraph;
  // Evenly spaced x values: the first on the y axis, the last at the right.
  void DrawOutline(bool AddLegend, bool AddChecks) override;
  // Values per period: each in the middle of its period.
  void DrawPeriodOutline(bool AddLegend, bool AddChecks) override;
  void DrawGraph() override;
  void DrawPeriodGraph() override;
};
