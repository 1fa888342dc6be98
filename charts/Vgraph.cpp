#include "charts/Vgraph.h"

#include "i18n/BaseMsgMan.h"
#include "psychro/Rounding.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

constexpr TColor kBoxOutline = 0xE2EFF1, kBoxShadow = 0x99A8AC, kBoxDarkShadow = 0x646F71, kSilver = 0xC0C0C0;
constexpr int kMarkerRadius = 5;  // the white disc under a marker, device pixels

// Whether the segment a-b passes through the box (Liang-Barsky clipping of
// the segment's parameter t in 0..1 to the box's four sides).
bool Crosses(const QLineF& segment, const QRectF& box) {
  const double x0 = segment.x1(), y0 = segment.y1(), dx = segment.dx(), dy = segment.dy();
  double t0 = 0, t1 = 1;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {x0 - box.left(), box.right() - x0, y0 - box.top(), box.bottom() - y0};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;  // parallel to this side and outside it
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0) {
      t0 = std::max(t0, t);
    } else {
      t1 = std::min(t1, t);
    }
    if (t0 > t1) return false;
  }
  return true;
}

// What a marker's label must keep clear of, in device pixels.
struct LabelObstacles {
  QRect area;  // right of the y axis, between the plot's top and bottom
  const std::vector<QLineF>* curves;
  std::vector<QRect> boxes;       // markers' discs, the x title, the labels placed so far
  std::vector<QLineF> hairlines;  // better not crossed, but no fault
};

// The box of a marker's label of the given size: the first of the places
// around the marker, nearest first (above, right, below, left, then the
// corners, then the same farther out), that stays in the area and crosses
// no curve, box or hairline. Failing that, the place with the fewest
// faults: leaving the area outweighs any crossing, a curve segment or a box
// crossed outweighs any number of hairlines. At most kRings x 8 places are
// tried.
QRect LabelBox(QPoint point, QSize size, const LabelObstacles& o) {
  constexpr int kRings = 4;
  constexpr long long kOutside = 1'000'000'000, kCrossing = 1'000'000;
  const int w = size.width(), h = size.height(), px = point.x(), py = point.y();
  QRect best;
  long long bestCost = LLONG_MAX;
  for (int ring = 0; ring < kRings; ++ring) {
    const int gap = kMarkerRadius + ring * (h / 2 + 2);
    const QRect places[] = {QRect(px - w / 2, py - gap - h, w, h), QRect(px + gap + 2, py - h / 2, w, h),
                            QRect(px - w / 2, py + gap + 1, w, h), QRect(px - gap - 2 - w, py - h / 2, w, h),
                            QRect(px + gap, py - gap - h, w, h),   QRect(px - gap - w, py - gap - h, w, h),
                            QRect(px + gap, py + gap + 1, w, h),   QRect(px - gap - w, py + gap + 1, w, h)};
    for (const QRect& place : places) {
      // A pixel of room around the text, so that no line touches it.
      const QRectF clear = QRectF(place).adjusted(-1, -1, 1, 1);
      long long cost = o.area.contains(place) ? 0 : kOutside;
      for (const QLineF& segment : *o.curves) cost += kCrossing * Crosses(segment, clear);
      for (const QRect& box : o.boxes) cost += kCrossing * box.intersects(place);
      for (const QLineF& segment : o.hairlines) cost += Crosses(segment, clear);
      if (cost == 0) return place;
      if (cost < bestCost) {
        best = place;
        bestCost = cost;
      }
    }
  }
  return best;
}

}  // namespace

TVirtGraph::TVirtGraph(IDrawSurface* pFromCanvas, Evaluate OnDrawing, BarClick OnBarClick, LegendClick OnLegendClick)
    : CTVirtualCanvas(pFromCanvas),
      v_OnDrawing(std::move(OnDrawing)),
      v_OnBarClick(std::move(OnBarClick)),
      v_OnLegendClick(std::move(OnLegendClick)) {
  const QSize w = pFromCanvas->TextExtent(QStringLiteral("W"));
  v_CharWidth = w.width();
  v_TextHeight = w.height();
}

TVirtGraph::~TVirtGraph() {
  if (v_mustFreeLegend)
    for (TLegend* entry : v_Legend) delete entry;
}

void TVirtGraph::SetBorders(int nXLeft, int nXRight, int nYTop, int nYBottom) {
  v_BorderXL = nXLeft;
  v_BorderXR = nXRight;
  v_BorderYT = nYTop;
  v_BorderYB = nYBottom;
  v_GraphRect.setLeft(std::max(v_GraphRect.left(), nXLeft));
}

void TVirtGraph::GetXRange(int& nLeft, int& nRight) const {
  nLeft = v_GraphRect.left();
  nRight = v_GraphRect.right();
}

void TVirtGraph::GetYRange(int& nTop, int& nBottom) const {
  nTop = v_GraphRect.top();
  nBottom = v_GraphRect.bottom();
}

void TVirtGraph::SetDimensions(int nWidth, int nHeight) {
  v_Width = nWidth;
  v_Height = nHeight;
  v_GraphRect.setRight(nWidth);
  v_GraphRect.setBottom(nHeight);
}

void TVirtGraph::SetPlots(std::vector<TLegend*> pLegend, bool bMustFree) {
  if (v_mustFreeLegend)
    for (TLegend* entry : v_Legend) delete entry;
  v_Legend = std::move(pLegend);
  v_mustFreeLegend = bMustFree;
}

void TVirtGraph::SetXValues(int nNrOfValues, const QStringList& LabelsOnX) {
  v_ValuesX = std::max(0, nNrOfValues);
  v_LabelsX = LabelsOnX;
}

void TVirtGraph::AddExtraPoint(double nXPercentage, double nY, const QString& szName, bool bHairLines) {
  v_ExtraPoints.push_back({nXPercentage, nY, szName, bHairLines});
}

// ---------------------------------------------------------------- y range

void TVirtGraph::SetYValues(double Min, double Max, double ExactMin, double ExactMax, int NrOfTicks, int Decimals) {
  if (!(Max > Min)) return;
  v_TicksY = std::max(1, NrOfTicks);
  v_DecimalsY = Decimals;
  v_MinY = Min;
  v_MaxY = Max;
  const double a = (Max - Min) / v_TicksY;
  v_ExactMinY = ExactMin >= Min && ExactMin <= Min + a ? ExactMin : Min;
  v_ExactMaxY = ExactMax >= Max - a && ExactMax <= Max ? ExactMax : Max;
  // Room for the widest label left of the axis; the edge only moves right.
  for (const double v : {v_MinY, v_MaxY, v_ExactMinY, v_ExactMaxY}) {
    const int label = DrawingCanvas()->TextExtent(TBaseMsg::FormatShown(v, Decimals)).width();
    const int left = int(std::max(label, v_BorderXL) + 1.5 * v_CharWidth);
    if (left > v_GraphRect.left()) v_GraphRect.setLeft(left);
  }
}

// The range in whole steps around the extremes, worked out from them and
// the step: counting steps by repeated addition drifts past the limit and,
// far from zero, takes as many rounds as there are steps to get there.
void TVirtGraph::SetYValues(double ExactMin, double ExactMax, int Decimals) {
  if (!(ExactMax > ExactMin) || !std::isfinite(ExactMin) || !std::isfinite(ExactMax)) {
    SetYValues(v_MinY, v_MaxY, ExactMin, ExactMax, v_TicksY, Decimals);
    return;
  }
  const double diff = ExactMax - ExactMin;
  double p = 1;
  for (int i = 0; i < 400 && diff * p < 100; ++i) p *= 10;
  for (int i = 0; i < 400 && diff * p > 1000; ++i) p /= 10;
  const double c = diff * p;
  const double s = (c < 200 ? 20 : c < 500 ? 50 : 100) / p;
  // Whole steps, a value within a millionth of a step counting as on it.
  constexpr double kTolerance = 1e-6;
  const auto up = [&](double v) { return std::ceil(v / s - kTolerance); };
  const auto down = [&](double v) { return std::floor(v / s + kTolerance); };
  double lo = 0, hi = 0;  // in steps
  if (ExactMin < 0) {
    lo = down(ExactMin);
    if (ExactMax < 0 && diff > s) hi = std::min(0.0, up(ExactMax));
  }
  if (ExactMax > 0) {
    hi = up(ExactMax);
    if (ExactMin > 0 && diff > s) lo = std::max(0.0, down(ExactMin));
  }
  int ticks = int(std::clamp(hi - lo, 0.0, 1e6));
  if (ticks < 2) ticks = 10;
  SetYValues(lo * s, hi * s, ExactMin, ExactMax, ticks, Decimals);
}

// ---------------------------------------------------------------- layout

int TVirtGraph::ValueY(double v) const {
  const double range = v_MaxY - v_MinY;
  if (!(range > 0)) return v_GraphRect.bottom();
  return Rounding::HalfEvenInt(v_GraphRect.top() + (v_MaxY - v) * (v_GraphRect.bottom() - v_GraphRect.top()) / range);
}

double TVirtGraph::ClampY(double v) const { return std::clamp(v, v_MinY, v_MaxY); }

int TVirtGraph::LegendItemsPerRow() const {
  return std::max(1, (v_Width - v_GraphRect.left() + 1) / std::max(1, v_MaxLegendItem));
}

void TVirtGraph::LayoutAxes(bool AddLegend, bool AddChecks) {
  IDrawSurface& s = *DrawingCanvas();
  const int th = v_TextHeight, cw = v_CharWidth;
  SetVCBrushStyle(BrushStyle::kClear);
  // The y title on the top margin, centred on the y axis where there is room.
  const int yTitle = s.TextExtent(v_TitleY).width();
  const int yTitleX = v_GraphRect.left() - yTitle / 2 >= v_BorderXL ? v_GraphRect.left() - yTitle / 2 : v_BorderXL;
  s.TextOut(yTitleX, v_BorderYT, v_TitleY);
  v_GraphRect.setTop(v_BorderYT + th + th / 2);
  v_GraphRect.setBottom(v_Height - v_BorderYB - th - th / 2);
  v_GraphRect.setRight(v_Width - cw - s.TextExtent(v_TitleX).width() - v_BorderXR);
  const int graphTitle = s.TextExtent(v_GraphTitle).width();
  s.TextOut((v_GraphRect.left() + v_GraphRect.right() - graphTitle) / 2, v_BorderYT, v_GraphTitle);
  v_LegendVisible = AddLegend;
  v_CheckMarksVisible = AddChecks;
  if (AddLegend) DrawLegendRows(AddChecks);

  const QRect g = v_GraphRect;
  s.MoveTo(g.left(), g.top());
  s.LineTo(g.left(), g.bottom());
  s.LineTo(g.right(), g.bottom());
  s.TextOut(g.right() + cw, g.bottom() - th / 2, v_TitleX);

  // Y ticks: the exact extremes first (bold when they are not the range's
  // ends), then the regular ticks away from their labels.
  const auto tick = [&](double v, bool bold) {
    const int y = ValueY(v);
    s.MoveTo(g.left() - cw / 2, y);
    s.LineTo(g.left(), y);
    LTFont font = s.Font();
    const unsigned style = font.style;
    if (bold) font.style |= kFontBold;
    s.SetFont(font);
    const QString label = TBaseMsg::FormatShown(v, v_DecimalsY);
    s.TextOut(g.left() - cw - s.TextExtent(label).width(), y - th / 2, label);
    font.style = style;
    s.SetFont(font);
  };
  const int yMin = ValueY(v_ExactMinY), yMax = ValueY(v_ExactMaxY);
  tick(v_ExactMinY, std::fabs(v_ExactMinY - v_MinY) > 1e-9);
  tick(v_ExactMaxY, std::fabs(v_ExactMaxY - v_MaxY) > 1e-9);
  for (int i = 0; i <= v_TicksY; ++i) {
    const double v = v_MinY + i * (v_MaxY - v_MinY) / v_TicksY;
    const int y = ValueY(v);
    if (std::abs(y - yMin) <= th / 2 || std::abs(y - yMax) <= th / 2) continue;
    tick(v, false);
  }
}

void TVirtGraph::DrawLegendRows(bool AddChecks) {
  IDrawSurface& s = *DrawingCanvas();
  const int th = v_TextHeight, cw = v_CharWidth;
  const int m = Rounding::HalfEvenInt(2 * v_DeviceHorScale);
  int widest = 0;
  for (const TLegend* entry : v_Legend) widest = std::max(widest, s.TextExtent(entry->GetLegend()).width());
  v_MaxLegendItem = widest + (AddChecks ? 4 : 3) * cw;
  const int perRow = LegendItemsPerRow();
  const int rows = (int(v_Legend.size()) + perRow - 1) / perRow;
  v_GraphRect.setBottom(v_GraphRect.bottom() - th * rows);
  const int swatch = th - 2 * m;
  for (int i = 0; i < int(v_Legend.size()); ++i) {
    const TLegend& entry = *v_Legend[std::size_t(i)];
    const int x = v_GraphRect.left() + (i % perRow) * v_MaxLegendItem;
    const int y = v_GraphRect.bottom() + 2 * th - th / 2 + (i / perRow) * th;
    if (AddChecks) DrawCheckBox(x, y + m, x + swatch, y + th - m, entry.MustDisplay());
    const int sx = AddChecks ? x + th : x;
    const bool shown = entry.MustDisplay();
    s.SetPen({shown ? DrawColors::kBlack : kSilver, 1, PenStyle::kSolid, PenMode::kCopy});
    s.SetBrush({shown ? entry.GetColor() : DrawColors::kWindow, BrushStyle::kSolid});
    s.Rectangle(sx, y + m, sx + swatch, y + th - m);
    LTFont font = s.Font();
    font.color = shown ? DrawColors::kBlack : kSilver;
    s.SetFont(font);
    s.TextOut(x + cw / 2 + cw + (AddChecks ? th + cw : 0), y, entry.GetLegend());
  }
  SetVCBrushStyle(BrushStyle::kClear);
}

void TVirtGraph::DrawCheckBox(int x1, int y1, int x2, int y2, bool bChecked) {
  IDrawSurface& s = *DrawingCanvas();
  s.SetPen({kBoxOutline, 1, PenStyle::kSolid, PenMode::kCopy});
  s.SetBrush({DrawColors::kWindow, BrushStyle::kSolid});
  s.Rectangle(x1, y1, x2, y2);
  s.SetPen({kBoxShadow, 1, PenStyle::kSolid, PenMode::kCopy});
  s.MoveTo(x1, y2 - 1);
  s.LineTo(x1, y1);
  s.LineTo(x2, y1);
  s.SetPen({kBoxDarkShadow, 1, PenStyle::kSolid, PenMode::kCopy});
  s.MoveTo(x1 + 1, y2 - 2);
  s.LineTo(x1 + 1, y1 + 1);
  s.LineTo(x2 - 1, y1 + 1);
  if (!bChecked) return;
  // A check mark of one-pixel vertical strokes: down to the middle, then up.
  s.SetPen({DrawColors::kBlack, 1, PenStyle::kSolid, PenMode::kCopy});
  const int w = x2 - x1, h = y2 - y1;
  const int left = x1 + w / 4, mid = x1 + w / 2 - 1, right = x2 - w / 5;
  for (int x = left; x <= right; ++x) {
    const int bottom = x <= mid ? y1 + h / 2 + (x - left) : y1 + h / 2 + (mid - left) - (x - mid);
    s.MoveTo(x, bottom - 2);
    s.LineTo(x, bottom + 1);
  }
}

// ---------------------------------------------------------------- plots

void TVirtGraph::DrawPlots(double x0, double step) {
  if (!v_OnDrawing || !(v_MaxY > v_MinY)) return;
  const double oldOffsetX = GetOffsetX(), oldOffsetY = GetOffsetY(), oldScaleX = GetScaleX(), oldScaleY = GetScaleY();
  SaveProperties();
  SetOffsetX(v_GraphRect.left());
  SetOffsetY(v_GraphRect.top());
  SetScaleX(1);
  SetScaleY(double(v_GraphRect.bottom() - v_GraphRect.top()) / (v_MaxY - v_MinY));
  const double width = v_GraphRect.right() - v_GraphRect.left();
  if (v_MinY < 0) {
    SetVCPenColor(DrawColors::kBlack);
    MoveTo(0, v_MaxY);
    LineTo(width, v_MaxY);
  }
  std::vector<QLineF> curves;  // as drawn, for the labels to keep clear of
  QPointF pen;
  const auto moveTo = [&](double x, double y) {
    MoveTo(x, y);
    pen = QPointF(DeviceX(x), DeviceY(y));
  };
  const auto lineTo = [&](double x, double y) {
    LineTo(x, y);
    const QPointF to(DeviceX(x), DeviceY(y));
    curves.emplace_back(pen, to);
    pen = to;
  };
  for (int i = 0; i < int(v_Legend.size()); ++i) {
    const TLegend& entry = *v_Legend[std::size_t(i)];
    if (!entry.MustDisplay()) continue;
    SetVCPenColor(entry.GetColor());
    SetVCPenWidth(entry.GetPenWidth());
    SetVCPenStyle(entry.GetPenStyle());
    std::vector<double> values(std::size_t(std::max(0, v_ValuesX)));
    for (int j = 0; j < v_ValuesX; ++j) values[std::size_t(j)] = v_OnDrawing(*this, i, j, v_Data);
    const auto gap = [&](int j) { return j < 0 || j >= v_ValuesX || !Sentinel::IsGiven(values[std::size_t(j)]); };
    for (int j = 0; j < v_ValuesX; ++j) {
      if (gap(j)) continue;
      const double x = x0 + j * step, y = v_MaxY - ClampY(values[std::size_t(j)]);
      if (!gap(j - 1)) {
        lineTo(x, y);
        continue;
      }
      moveTo(x, y);
      if (gap(j + 1)) {  // a value on its own: a short dash
        moveTo(x - step / 4, y);
        lineTo(x + step / 4, y);
      }
    }
  }
  DrawExtraPoints(x0, curves);
  SetOffsetX(oldOffsetX);
  SetOffsetY(oldOffsetY);
  SetScaleX(oldScaleX);
  SetScaleY(oldScaleY);
  RestoreProperties();
}

void TVirtGraph::DrawExtraPoints(double x0, const std::vector<QLineF>& curves) {
  IDrawSurface& s = *DrawingCanvas();
  const double width = v_GraphRect.right() - v_GraphRect.left();
  // Clipped to the plot area: a point beyond its ends sits on the edge,
  // never over the axes or the legend.
  std::vector<QPoint> at;
  for (const TExtraPoint& point : v_ExtraPoints)
    at.emplace_back(DeviceX(x0 + std::clamp(point.v_XPercentage, 0.0, 100.0) * width / 100),
                    DeviceY(v_MaxY - ClampY(point.v_Y)));
  // Labels may stand right of the plot, up to the right margin, where only
  // the x title is.
  const QRect g = v_GraphRect;
  LabelObstacles obstacles{QRect(QPoint(g.left() + 1, g.top()), QPoint(v_Width - v_BorderXR - 1, g.bottom() - 1)),
                           &curves,
                           {QRect(g.right() + v_CharWidth, g.bottom() - v_TextHeight / 2,
                                  s.TextExtent(v_TitleX).width(), v_TextHeight)},
                           {}};
  for (std::size_t i = 0; i < at.size(); ++i) {
    const QPoint p = at[i];
    obstacles.boxes.emplace_back(p.x() - kMarkerRadius, p.y() - kMarkerRadius, 2 * kMarkerRadius + 1,
                                 2 * kMarkerRadius + 1);
    if (!v_ExtraPoints[i].v_HairLines) continue;
    const int bottom = DeviceY(v_MaxY - v_MinY);
    obstacles.hairlines.emplace_back(p, QPointF(p.x(), bottom));
    obstacles.hairlines.emplace_back(p, QPointF(v_GraphRect.left(), p.y()));
  }
  for (std::size_t i = 0; i < at.size(); ++i) {
    const TExtraPoint& point = v_ExtraPoints[i];
    const int dx = at[i].x(), dy = at[i].y();
    const TColor text = s.Font().color;
    s.SetPen({DrawColors::kWhite, 1, PenStyle::kSolid, PenMode::kCopy});
    s.SetBrush({DrawColors::kWhite, BrushStyle::kSolid});
    s.Ellipse(dx - 5, dy - 5, dx + 6, dy + 6);
    s.SetPen({text, 1, PenStyle::kSolid, PenMode::kCopy});
    s.SetBrush({text, BrushStyle::kSolid});
    s.Ellipse(dx - 4, dy - 4, dx + 5, dy + 5);
    if (point.v_HairLines) {
      s.SetPen({text, 1, PenStyle::kDot, PenMode::kCopy});
      s.MoveTo(dx, dy);
      s.LineTo(dx, DeviceY(v_MaxY - v_MinY));
      s.MoveTo(dx, dy);
      s.LineTo(v_GraphRect.left(), dy);
    }
    if (point.v_Name.isEmpty()) continue;
    // A free place beside the marker, off the curves and the other labels.
    const QRect box = LabelBox(at[i], s.TextExtent(point.v_Name), obstacles);
    s.TextOut(box.left(), box.top(), point.v_Name);
    obstacles.boxes.push_back(box);
  }
}

// ---------------------------------------------------------------- clicks

void TVirtGraph::OnClick(int X, int Y) {
  const int th = v_TextHeight;
  if (!v_LegendVisible || !v_OnLegendClick || X < v_GraphRect.left() || X > v_Width || Y <= v_GraphRect.bottom())
    return;
  const int row = (Y + th / 2 - int(GetOffsetY()) - v_GraphRect.bottom() - 2 * th) / std::max(1, th);
  const int index = (X - v_GraphRect.left()) / v_MaxLegendItem + row * LegendItemsPerRow();
  if (row < 0 || index < 0 || index >= int(v_Legend.size())) return;
  TLegend& entry = *v_Legend[std::size_t(index)];
  const int m = Rounding::HalfEvenInt(2 * v_DeviceHorScale);
  const int x = (X - v_GraphRect.left()) % v_MaxLegendItem;
  const auto chooseColor = [&] {
    TColor color = entry.GetColor();
    if (s_colorChooser && s_colorChooser(color)) entry.SetColor(color);
    v_OnLegendClick(*this);
  };
  if (!v_CheckMarksVisible) {
    if (x <= th - 2 * m) chooseColor();
    return;
  }
  if (x <= th - 2 * m) {
    entry.SetDisplay(!entry.MustDisplay());
    if (x <= v_CharWidth) v_OnLegendClick(*this);
    return;
  }
  if (x <= 2 * th - 2 * m) chooseColor();
}

// ---------------------------------------------------------------- line graph

void TVirtLineGraph::DrawOutline(bool AddLegend, bool AddChecks) {
  LayoutAxes(AddLegend, AddChecks);
  IDrawSurface& s = *DrawingCanvas();
  const int n = int(v_LabelsX.size());
  if (n < 2) return;
  const QRect g = v_GraphRect;
  for (int i = 0; i < n; ++i) {
    const int x = Rounding::HalfEvenInt(g.left() + double(i) * (g.right() - g.left()) / (n - 1));
    s.MoveTo(x, g.bottom());
    s.LineTo(x, g.bottom() + v_TextHeight / 2);
    s.TextOut(x - s.TextExtent(v_LabelsX[i]).width() / 2, g.bottom() + v_TextHeight / 2, v_LabelsX[i]);
  }
}

void TVirtLineGraph::DrawPeriodOutline(bool AddLegend, bool AddChecks) {
  LayoutAxes(AddLegend, AddChecks);
  IDrawSurface& s = *DrawingCanvas();
  const int n = int(v_LabelsX.size());
  if (n < 2) return;
  const QRect g = v_GraphRect;
  const double period = double(g.right() - g.left()) / n;
  for (int i = 0; i <= n; ++i) {
    const int x = Rounding::HalfEvenInt(g.left() + i * period);
    s.MoveTo(x, g.bottom());
    s.LineTo(x, g.bottom() + v_TextHeight / 2);
    if (i < n)
      s.TextOut(Rounding::HalfEvenInt(g.left() + (i + 0.5) * period) - s.TextExtent(v_LabelsX[i]).width() / 2,
                g.bottom() + v_TextHeight / 2, v_LabelsX[i]);
  }
}

void TVirtLineGraph::DrawGraph() {
  if (v_ValuesX < 2) return;
  DrawPlots(0, double(v_GraphRect.right() - v_GraphRect.left()) / (v_ValuesX - 1));
}

void TVirtLineGraph::DrawPeriodGraph() {
  if (v_ValuesX < 1) return;
  const double step = double(v_GraphRect.right() - v_GraphRect.left()) / v_ValuesX;
  DrawPlots(step / 2, step);
}
