#include "charts/VirtCanv.h"

#include "psychro/Rounding.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace DrawColors {

TColor Resolve(TColor c) {
  if (!IsSystem(c)) return c;
  switch (c & 0xFF) {
    case 5: return kWhite;   // window background
    case 15: return Rgb(0xF0, 0xF0, 0xF0);  // button face
    default: return kBlack;  // window text and the other text colours
  }
}

}  // namespace DrawColors

namespace {

// Round half to even, kept inside the range of device coordinates (a value
// that is not a number lands on 0).
int ToDevice(double v) { return Rounding::HalfEvenInt(v); }

}  // namespace

CTVirtualCanvas::CTVirtualCanvas(IDrawSurface* pFromCanvas) : v_canvas(pFromCanvas) { SaveProperties(); }

int CTVirtualCanvas::DeviceX(double nX) const { return ToDevice(nX * v_scaleX + v_offsetX); }
int CTVirtualCanvas::DeviceY(double nY) const { return ToDevice(nY * v_scaleY + v_offsetY); }

// ---------------------------------------------------------------- attributes

void CTVirtualCanvas::SetVCPenColor(TColor c) { EditPen([&](LTPen& pen) { pen.color = c; }); }
void CTVirtualCanvas::SetVCPenMode(PenMode m) { EditPen([&](LTPen& pen) { pen.mode = m; }); }
void CTVirtualCanvas::SetVCPenWidth(double nWidth) { EditPen([&](LTPen& pen) { pen.width = ToDevice(nWidth); }); }
void CTVirtualCanvas::SetVCPenStyle(PenStyle s) { EditPen([&](LTPen& pen) { pen.style = s; }); }
void CTVirtualCanvas::SetVCBrushColor(TColor c) { EditBrush([&](LTBrush& brush) { brush.color = c; }); }
void CTVirtualCanvas::SetVCBrushStyle(BrushStyle s) { EditBrush([&](LTBrush& brush) { brush.style = s; }); }
void CTVirtualCanvas::SetVCTextFontName(const QString& szName) { EditFont([&](LTFont& font) { font.name = szName; }); }
void CTVirtualCanvas::SetVCTextColor(TColor c) { EditFont([&](LTFont& font) { font.color = c; }); }
void CTVirtualCanvas::SetVCTextSize(double nPoints) { EditFont([&](LTFont& font) { font.sizePt = ToDevice(nPoints); }); }
void CTVirtualCanvas::SetVCTextStyle(unsigned nStyle) { EditFont([&](LTFont& font) { font.style = nStyle; }); }

void CTVirtualCanvas::SaveProperties() {
  v_bupPen = v_canvas->Pen();
  v_bupBrush = v_canvas->Brush();
  v_bupFont = v_canvas->Font();
  v_bupLineOpacity = v_lineOpacity;
  v_bupFillOpacity = v_fillOpacity;
}

void CTVirtualCanvas::RestoreProperties() {
  v_canvas->SetPen(v_bupPen);
  v_canvas->SetBrush(v_bupBrush);
  v_canvas->SetFont(v_bupFont);
  v_lineOpacity = v_bupLineOpacity;
  v_fillOpacity = v_bupFillOpacity;
}

// ---------------------------------------------------------------- drawing

void CTVirtualCanvas::MoveTo(double nX, double nY) { v_canvas->MoveTo(DeviceX(nX), DeviceY(nY)); }

void CTVirtualCanvas::LineTo(double nX, double nY) { v_canvas->LineTo(DeviceX(nX), DeviceY(nY)); }

void CTVirtualCanvas::DrawRectangle(double nX1, double nY1, double nX2, double nY2) {
  v_canvas->Rectangle(DeviceX(nX1), DeviceY(nY1), DeviceX(nX2), DeviceY(nY2));
}

void CTVirtualCanvas::DrawEllipse(double nX1, double nY1, double nX2, double nY2) {
  v_canvas->Ellipse(DeviceX(nX1), DeviceY(nY1), DeviceX(nX2), DeviceY(nY2));
}

void CTVirtualCanvas::DrawRoundedRectangle(double nX1, double nY1, double nX2, double nY2, double nRndDiamX,
                                           double nRndDiamY) {
  if (nRndDiamY == -1) nRndDiamY = nRndDiamX;
  // Both diameters by the y scale: corners stay round when the axes differ.
  v_canvas->RoundRect(DeviceX(nX1), DeviceY(nY1), DeviceX(nX2), DeviceY(nY2), ToDevice(nRndDiamX * v_scaleY),
                      ToDevice(nRndDiamY * v_scaleY));
}

void CTVirtualCanvas::DrawArc(double nX1, double nY1, double nX2, double nY2, double nX3, double nY3, double nX4,
                              double nY4) {
  v_canvas->Arc(DeviceX(nX1), DeviceY(nY1), DeviceX(nX2), DeviceY(nY2), DeviceX(nX3), DeviceY(nY3), DeviceX(nX4),
                DeviceY(nY4));
}

void CTVirtualCanvas::DrawSquareFixed(double nX, double nY, int nSizeDiv2) {
  const int cx = DeviceX(nX), cy = DeviceY(nY);
  v_canvas->Rectangle(cx - nSizeDiv2, cy - nSizeDiv2, cx + nSizeDiv2, cy + nSizeDiv2);
}

void CTVirtualCanvas::DrawCrossFixed(double nX, double nY, int nArmSize) {
  const int cx = DeviceX(nX), cy = DeviceY(nY);
  // One pixel more at each end: the line leaves out its end pixel.
  v_canvas->MoveTo(cx - nArmSize, cy);
  v_canvas->LineTo(cx + nArmSize + 1, cy);
  v_canvas->MoveTo(cx, cy - nArmSize);
  v_canvas->LineTo(cx, cy + nArmSize + 1);
}

void CTVirtualCanvas::ScalePoints(QVector<QPoint>& sPoints, int nCount) const {
  nCount = std::clamp(nCount, 0, int(sPoints.size()));
  for (int i = 0; i < nCount; ++i) sPoints[i] = QPoint(DeviceX(sPoints[i].x()), DeviceY(sPoints[i].y()));
}

void CTVirtualCanvas::DrawPolygon(QVector<QPoint>& sPoints, int nCount) {
  nCount = std::clamp(nCount, 0, int(sPoints.size()));
  ScalePoints(sPoints, nCount);
  v_canvas->Polygon(sPoints.mid(0, nCount));
}

void CTVirtualCanvas::DrawPolyLine(QVector<QPoint>& sPoints, int nCount) {
  nCount = std::clamp(nCount, 0, int(sPoints.size()));
  ScalePoints(sPoints, nCount);
  v_canvas->Polyline(sPoints.mid(0, nCount));
}

// A chain of cubic Beziers through the points: interior points serve as
// control points, segments join at the midpoints between consecutive
// interior points (integer halves, truncated toward zero).
void CTVirtualCanvas::DrawCurve(const QVector<QPoint>& sPoints, int nCount) {
  const int n = std::clamp(nCount, 0, int(sPoints.size()));
  if (n < 2) return;
  const QVector<QPoint>& p = sPoints;
  if (n == 2) {
    MoveTo(p[0].x(), p[0].y());
    LineTo(p[1].x(), p[1].y());
    return;
  }
  const int k = (n - 1) / 2;
  QVector<QPoint> q(3 * k + 1);
  q[0] = p[0];
  q[3 * k] = p[n - 1];
  for (int i = 0; i <= k - 2; ++i) {
    q[3 * i + 1] = p[2 * i + 1];
    q[3 * i + 2] = p[2 * i + 2];
    q[3 * i + 3] = QPoint((p[2 * i + 2].x() + p[2 * i + 3].x()) / 2, (p[2 * i + 2].y() + p[2 * i + 3].y()) / 2);
  }
  if (n % 2 == 1) {
    q[3 * k - 2] = p[n - 2];
    q[3 * k - 1] = p[n - 1];  // the last point doubles as its own control point
  } else {
    q[3 * k - 2] = p[n - 3];
    q[3 * k - 1] = p[n - 2];
  }
  ScalePoints(q, int(q.size()));
  v_canvas->PolyBezier(q);
}

void CTVirtualCanvas::DrawGraphic(double nX, double nY, double nW, double nH, const QImage& pGraphic, bool bScaled) {
  if (pGraphic.isNull()) return;
  const int left = DeviceX(nX), top = DeviceY(nY);
  const int right = bScaled ? DeviceX(nX + nW) : left + ToDevice(nW);
  const int bottom = bScaled ? DeviceY(nY + nH) : top + ToDevice(nH);
  v_canvas->StretchImage(left, top, right, bottom, pGraphic);
}

void CTVirtualCanvas::TextOut(double nX, double nY, const QString& szStr) {
  v_canvas->TextOut(DeviceX(nX), DeviceY(nY), szStr);
}

double CTVirtualCanvas::TextHeight() const { return v_canvas->TextExtent(QStringLiteral("A")).height() / v_scaleY; }

double CTVirtualCanvas::TextWidth(const QString& szStr) const {
  return v_canvas->TextExtent(szStr).width() / v_scaleX;
}

// ---------------------------------------------------------------- paths

CTVirtualPath::CTVirtualPath() = default;
CTVirtualPath::~CTVirtualPath() = default;

void CTVirtualPath::AddMoveTo(double nX, double nY, bool bRelative) {
  v_nodes.push_back(std::make_unique<LTVirtualPathNodeMoveTo>(nX, nY, bRelative));
}

void CTVirtualPath::AddLineTo(double nX, double nY, bool bRelative) {
  v_nodes.push_back(std::make_unique<LTVirtualPathNodeLineTo>(nX, nY, bRelative));
}

void CTVirtualPath::AddHLineTo(double nX, bool bRelative) {
  v_nodes.push_back(std::make_unique<LTVirtualPathNodeHLineTo>(nX, 0, bRelative));
}

void CTVirtualPath::AddVLineTo(double nY, bool bRelative) {
  v_nodes.push_back(std::make_unique<LTVirtualPathNodeVLineTo>(0, nY, bRelative));
}

void CTVirtualPath::AddCubicBezier(double nCp1X, double nCp1Y, double nCp2X, double nCp2Y, double nEpX, double nEpY,
                                   bool bRelative) {
  auto node = std::make_unique<LTVirtualPathNodeCubicBezier>(nEpX, nEpY, bRelative);
  node->v_cp1X = nCp1X;
  node->v_cp1Y = nCp1Y;
  node->v_cp2X = nCp2X;
  node->v_cp2Y = nCp2Y;
  v_nodes.push_back(std::move(node));
}

void CTVirtualPath::AddCubicBezierNext(double nCpX, double nCpY, double nEpX, double nEpY, bool bRelative) {
  auto node = std::make_unique<LTVirtualPathNodeCubicBezierNext>(nEpX, nEpY, bRelative);
  node->v_cp2X = nCpX;  // the given point is the second control point
  node->v_cp2Y = nCpY;
  v_nodes.push_back(std::move(node));
}

void CTVirtualPath::AddQuadraticBezier(double nCpX, double nCpY, double nEpX, double nEpY, bool bRelative) {
  auto node = std::make_unique<LTVirtualPathNodeQuadraticBezier>(nEpX, nEpY, bRelative);
  node->v_cpX = nCpX;
  node->v_cpY = nCpY;
  v_nodes.push_back(std::move(node));
}

void CTVirtualPath::AddQuadraticBezierNext(double nEpX, double nEpY, bool bRelative) {
  v_nodes.push_back(std::make_unique<LTVirtualPathNodeQuadraticBezierNext>(nEpX, nEpY, bRelative));
}

void CTVirtualPath::AddEllipticArc(double nRadiusX, double nRadiusY, double nXRotation, bool bLargeArcFlag,
                                   bool bSweepFlag, double nEpX, double nEpY, bool bRelative) {
  auto node = std::make_unique<LTVirtualPathNodeEllipticArc>(nEpX, nEpY, bRelative);
  node->v_radiusX = nRadiusX;
  node->v_radiusY = nRadiusY;
  node->v_xRotation = nXRotation;
  node->v_largeArcFlag = bLargeArcFlag;
  node->v_sweepFlag = bSweepFlag;
  v_nodes.push_back(std::move(node));
}

void CTVirtualPath::AddClose(double nX, double nY) {
  v_nodes.push_back(std::make_unique<LTVirtualPathNodeClose>(nX, nY));
}

void CTVirtualPath::DrawOn(CTVirtualCanvas& pCanv, double nX, double nY) {
  if (v_nodes.empty()) return;
  QPointF current(0, 0), start(0, 0);
  if (dynamic_cast<const LTVirtualPathNodeMoveTo*>(v_nodes.front().get()))
    start = QPointF(v_nodes.front()->v_x, v_nodes.front()->v_y);
  // A trailing close returns to the first move point.
  if (auto* close = dynamic_cast<LTVirtualPathNodeClose*>(v_nodes.back().get())) {
    close->v_x = start.x();
    close->v_y = start.y();
  }
  const LTVirtualPathNode* previous = nullptr;
  for (const auto& node : v_nodes) {
    node->DrawSegment(pCanv, previous, current, QPointF(nX, nY));
    previous = node.get();
  }
}

namespace {

void LineTo(CTVirtualCanvas& canvas, const QPointF& p, const QPointF& origin) {
  canvas.LineTo(p.x() + origin.x(), p.y() + origin.y());
}

// A cubic segment: its four points plus the origin, rounded to whole
// virtual units, as a curve of four points.
void DrawCubic(CTVirtualCanvas& canvas, const QPointF& p0, const QPointF& c1, const QPointF& c2, const QPointF& p3,
               const QPointF& origin) {
  QVector<QPoint> points;
  for (const QPointF& p : {p0, c1, c2, p3})
    points.append(QPoint(ToDevice(p.x() + origin.x()), ToDevice(p.y() + origin.y())));
  canvas.DrawCurve(points, 4);
}

}  // namespace

void LTVirtualPathNodeMoveTo::DrawSegment(CTVirtualCanvas& canvas, const LTVirtualPathNode*, QPointF& current,
                                          QPointF origin) {
  current = Target(current);
  canvas.MoveTo(current.x() + origin.x(), current.y() + origin.y());
}

void LTVirtualPathNodeLineTo::DrawSegment(CTVirtualCanvas& canvas, const LTVirtualPathNode*, QPointF& current,
                                          QPointF origin) {
  current = Target(current);
  LineTo(canvas, current, origin);
}

void LTVirtualPathNodeHLineTo::DrawSegment(CTVirtualCanvas& canvas, const LTVirtualPathNode*, QPointF& current,
                                           QPointF origin) {
  current.setX(v_relative ? current.x() + v_x : v_x);
  LineTo(canvas, current, origin);
}

void LTVirtualPathNodeVLineTo::DrawSegment(CTVirtualCanvas& canvas, const LTVirtualPathNode*, QPointF& current,
                                           QPointF origin) {
  current.setY(v_relative ? current.y() + v_y : v_y);
  LineTo(canvas, current, origin);
}

void LTVirtualPathNodeClose::DrawSegment(CTVirtualCanvas& canvas, const LTVirtualPathNode*, QPointF& current,
                                         QPointF origin) {
  current = QPointF(v_x, v_y);
  LineTo(canvas, current, origin);
}

QPointF LTVirtualPathNodeCubicBezier::FirstControl(const LTVirtualPathNode*, const QPointF& current) const {
  return v_relative ? current + QPointF(v_cp1X, v_cp1Y) : QPointF(v_cp1X, v_cp1Y);
}

// The reflection of the previous cubic's second control point, else the
// current point.
QPointF LTVirtualPathNodeCubicBezierNext::FirstControl(const LTVirtualPathNode* pPrevious,
                                                       const QPointF& current) const {
  const auto* cubic = dynamic_cast<const LTVirtualPathNodeCubicBezier*>(pPrevious);
  return cubic ? 2 * current - QPointF(cubic->v_absCp2X, cubic->v_absCp2Y) : current;
}

void LTVirtualPathNodeCubicBezier::DrawSegment(CTVirtualCanvas& canvas, const LTVirtualPathNode* pPrevious,
                                               QPointF& current, QPointF origin) {
  const QPointF c1 = FirstControl(pPrevious, current);
  const QPointF c2 = v_relative ? current + QPointF(v_cp2X, v_cp2Y) : QPointF(v_cp2X, v_cp2Y);
  v_absCp2X = c2.x();
  v_absCp2Y = c2.y();
  const QPointF end = Target(current);
  DrawCubic(canvas, current, c1, c2, end, origin);
  current = end;
}

QPointF LTVirtualPathNodeQuadraticBezier::Control(const LTVirtualPathNode*, const QPointF& current) const {
  return v_relative ? current + QPointF(v_cpX, v_cpY) : QPointF(v_cpX, v_cpY);
}

QPointF LTVirtualPathNodeQuadraticBezierNext::Control(const LTVirtualPathNode* pPrevious,
                                                      const QPointF& current) const {
  const auto* quadratic = dynamic_cast<const LTVirtualPathNodeQuadraticBezier*>(pPrevious);
  return quadratic ? 2 * current - QPointF(quadratic->v_absCpX, quadratic->v_absCpY) : current;
}

// Raised to a cubic: controls at (2 cp + start) / 3 and (2 cp + end) / 3.
void LTVirtualPathNodeQuadraticBezier::DrawSegment(CTVirtualCanvas& canvas, const LTVirtualPathNode* pPrevious,
                                                   QPointF& current, QPointF origin) {
  const QPointF cp = Control(pPrevious, current);
  v_absCpX = cp.x();
  v_absCpY = cp.y();
  const QPointF end = Target(current);
  DrawCubic(canvas, current, (2 * cp + current) / 3, (2 * cp + end) / 3, end, origin);
  current = end;
}

// The endpoint parameterisation of an SVG arc, drawn as lines every 5
// degrees from the start to the end point.
void LTVirtualPathNodeEllipticArc::DrawSegment(CTVirtualCanvas& canvas, const LTVirtualPathNode*, QPointF& current,
                                               QPointF origin) {
  constexpr double kDegree = std::numbers::pi / 180;
  const QPointF p1 = current, p2 = Target(current);
  current = p2;
  double rx = std::fabs(v_radiusX), ry = std::fabs(v_radiusY);
  if (rx == 0 || ry == 0) return LineTo(canvas, p2, origin);
  const double phi = v_xRotation * kDegree;
  const double cosPhi = std::cos(phi), sinPhi = std::sin(phi);
  const QPointF half = (p1 - p2) / 2;
  const double x1 = cosPhi * half.x() + sinPhi * half.y();
  const double y1 = -sinPhi * half.x() + cosPhi * half.y();
  const double lambda = (x1 / rx) * (x1 / rx) + (y1 / ry) * (y1 / ry);
  if (lambda > 1) {
    rx *= std::sqrt(lambda);
    ry *= std::sqrt(lambda);
  }
  const double den = rx * rx * y1 * y1 + ry * ry * x1 * x1;
  const double num = std::max(0.0, rx * rx * ry * ry - den);
  if (den == 0 || !std::isfinite(den)) return LineTo(canvas, p2, origin);
  double f = std::sqrt(num / den);
  if (v_largeArcFlag == v_sweepFlag) f = -f;
  const double cx1 = f * rx * y1 / ry, cy1 = -f * ry * x1 / rx;
  const QPointF centre = QPointF(cosPhi * cx1 - sinPhi * cy1, sinPhi * cx1 + cosPhi * cy1) + (p1 + p2) / 2;
  const auto angle = [&centre](const QPointF& q) {
    const QPointF d = q - centre;
    const double length = std::hypot(d.x(), d.y());
    double a = length > 0 ? std::acos(std::clamp(d.x() / length, -1.0, 1.0)) / kDegree : 0;
    return d.y() < 0 ? -a : a;
  };
  double theta1 = angle(p1);
  while (theta1 < 0) theta1 += 360;
  double theta2 = angle(p2);
  while (theta2 < theta1) theta2 += 360;
  const double delta = theta2 - theta1;
  const double step = (v_largeArcFlag && delta < 180) || (!v_largeArcFlag && delta > 180) ? -5 : 5;
  LineTo(canvas, p1, origin);
  const double end = step > 0 ? theta2 - v_xRotation : theta2 - 360 - v_xRotation;
  // At most 720 / 5 steps: the angles lie within two turns.
  for (double t = theta1 - v_xRotation + step; step > 0 ? t + step / 2 <= end : t + step / 2 >= end; t += step) {
    const double c = std::cos(t * kDegree), s = std::sin(t * kDegree);
    LineTo(canvas, QPointF(centre.x() + rx * cosPhi * c - ry * sinPhi * s, centre.y() + rx * sinPhi * c + ry * cosPhi * s),
           origin);
  }
  LineTo(canvas, p2, origin);
}
