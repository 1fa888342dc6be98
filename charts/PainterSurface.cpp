#include "charts/PainterSurface.h"

#include "psychro/Rounding.h"

#include <QFontMetrics>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {

QColor ToQColor(TColor c) {
  const TColor rgb = DrawColors::Resolve(c);
  return QColor(DrawColors::Red(rgb), DrawColors::Green(rgb), DrawColors::Blue(rgb));
}

Qt::PenStyle ToQt(PenStyle style) {
  switch (style) {
    case PenStyle::kDash: return Qt::DashLine;
    case PenStyle::kDot: return Qt::DotLine;
    case PenStyle::kDashDot: return Qt::DashDotLine;
    case PenStyle::kDashDotDot: return Qt::DashDotDotLine;
    case PenStyle::kClear: return Qt::NoPen;
    default: return Qt::SolidLine;
  }
}

Qt::BrushStyle ToQt(BrushStyle style) {
  switch (style) {
    case BrushStyle::kClear: return Qt::NoBrush;
    case BrushStyle::kHorizontal: return Qt::HorPattern;
    case BrushStyle::kVertical: return Qt::VerPattern;
    case BrushStyle::kFDiagonal: return Qt::FDiagPattern;
    case BrushStyle::kBDiagonal: return Qt::BDiagPattern;
    case BrushStyle::kCross: return Qt::CrossPattern;
    case BrushStyle::kDiagCross: return Qt::DiagCrossPattern;
    default: return Qt::SolidPattern;
  }
}

QPainter::CompositionMode ToQt(PenMode mode) {
  switch (mode) {
    case PenMode::kXor: return QPainter::RasterOp_SourceXorDestination;
    case PenMode::kNot: return QPainter::RasterOp_NotDestination;
    default: return QPainter::CompositionMode_SourceOver;
  }
}

// Aliased drawing covers the pixel whose centre a shape passes through:
// device pixel (x, y) has its centre at (x + 0.5, y + 0.5).
QPointF Centre(int x, int y) { return QPointF(x + 0.5, y + 0.5); }

QVector<QPointF> Centres(const QVector<QPoint>& points) {
  QVector<QPointF> centres;
  centres.reserve(points.size());
  for (const QPoint& p : points) centres.append(Centre(p.x(), p.y()));
  return centres;
}

// The cells l..r-1, t..b-1: an outline through their outer pixels' centres.
QRectF Cells(int left, int top, int right, int bottom) {
  return QRectF(Centre(std::min(left, right), std::min(top, bottom)),
                Centre(std::max(left, right) - 1, std::max(top, bottom) - 1));
}

double AngleDegrees(const QPointF& centre, const QPointF& p) {
  // y grows downwards on the device: counter-clockwise on screen is a
  // positive angle.
  return std::atan2(centre.y() - p.y(), p.x() - centre.x()) * 180 / M_PI;
}

}  // namespace

CTPainterSurface::CTPainterSurface(QPainter* pPainter, bool bIsPrinter) : v_painter(pPainter), v_isPrinter(bIsPrinter) {
  v_painter->setRenderHint(QPainter::Antialiasing, false);
  v_painter->setRenderHint(QPainter::TextAntialiasing, true);
  ApplyPen();
  ApplyBrush();
  v_painter->setFont(QtFont());
}

void CTPainterSurface::Retarget(QPainter* pPainter) {
  v_painter = pPainter;
  v_painter->setRenderHint(QPainter::Antialiasing, false);
  v_painter->setRenderHint(QPainter::TextAntialiasing, true);
  ApplyPen();
  ApplyBrush();
  v_painter->setFont(QtFont());
}

void CTPainterSurface::ApplyPen() {
  QPen pen(ToQColor(v_pen.color));
  pen.setWidth(std::max(1, v_pen.width));
  pen.setStyle(ToQt(v_pen.style));
  pen.setCapStyle(Qt::SquareCap);  // covers both end pixels of the (shortened) line
  pen.setJoinStyle(Qt::MiterJoin);
  v_painter->setPen(pen);
  v_painter->setCompositionMode(ToQt(v_pen.mode));
}

void CTPainterSurface::ApplyBrush() { v_painter->setBrush(QBrush(ToQColor(v_brush.color), ToQt(v_brush.style))); }

QFont CTPainterSurface::QtFont() const {
  QFont font(v_font.name);
  // Whole pixels at the device's resolution, as the metafile sizes its
  // fonts: the same chart lays out alike on both.
  const int dpi = v_painter->device() ? v_painter->device()->logicalDpiY() : 96;
  font.setPixelSize(std::max(1, int(std::lround(v_font.sizePt * double(dpi > 0 ? dpi : 96) / 72))));
  font.setBold(v_font.style & kFontBold);
  font.setItalic(v_font.style & kFontItalic);
  font.setUnderline(v_font.style & kFontUnderline);
  font.setStrikeOut(v_font.style & kFontStrikeOut);
  return font;
}

void CTPainterSurface::SetPen(const LTPen& pen) {
  v_pen = pen;
  ApplyPen();
}

void CTPainterSurface::SetBrush(const LTBrush& brush) {
  v_brush = brush;
  ApplyBrush();
}

void CTPainterSurface::SetFont(const LTFont& font) {
  v_font = font;
  v_painter->setFont(QtFont());
}

void CTPainterSurface::MoveTo(int x, int y) { v_current = QPoint(x, y); }

// A thin line leaves out its end pixel: it stops one step short along its
// longer axis.
void CTPainterSurface::LineTo(int x, int y) {
  const QPoint from = v_current, to(x, y);
  v_current = to;
  const int dx = to.x() - from.x(), dy = to.y() - from.y();
  const int steps = std::max(std::abs(dx), std::abs(dy));
  if (steps == 0) return;
  if (v_pen.width > 1) return v_painter->drawLine(Centre(from.x(), from.y()), Centre(to.x(), to.y()));
  if (steps == 1) return v_painter->drawPoint(Centre(from.x(), from.y()));
  const double f = double(steps - 1) / steps;
  const QPoint last(from.x() + Rounding::HalfEvenInt(dx * f), from.y() + Rounding::HalfEvenInt(dy * f));
  v_painter->drawLine(Centre(from.x(), from.y()), Centre(last.x(), last.y()));
}

void CTPainterSurface::Rectangle(int left, int top, int right, int bottom) {
  v_painter->drawRect(Cells(left, top, right, bottom));
}

void CTPainterSurface::Ellipse(int left, int top, int right, int bottom) {
  v_painter->drawEllipse(Cells(left, top, right, bottom));
}

void CTPainterSurface::RoundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight) {
  v_painter->drawRoundedRect(Cells(left, top, right, bottom), cornerWidth / 2.0, cornerHeight / 2.0);
}

void CTPainterSurface::Arc(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4) {
  const QRectF box = Cells(left, top, right, bottom);
  const QPointF centre = box.center();
  const double start = AngleDegrees(centre, Centre(x3, y3));
  double span = AngleDegrees(centre, Centre(x4, y4)) - start;
  while (span <= 0) span += 360;
  v_painter->drawArc(box, Rounding::HalfEvenInt(start * 16), Rounding::HalfEvenInt(span * 16));
}

void CTPainterSurface::Polygon(const QVector<QPoint>& points) {
  const QVector<QPointF> centres = Centres(points);
  v_painter->drawPolygon(centres.data(), int(centres.size()));
}

void CTPainterSurface::Polyline(const QVector<QPoint>& points) {
  const QVector<QPointF> centres = Centres(points);
  v_painter->drawPolyline(centres.data(), int(centres.size()));
}

void CTPainterSurface::PolyBezier(const QVector<QPoint>& points) {
  if (points.size() < 4) return;
  const QVector<QPointF> c = Centres(points);
  QPainterPath path(c[0]);
  for (int i = 1; i + 2 < c.size(); i += 3) path.cubicTo(c[i], c[i + 1], c[i + 2]);
  const QBrush brush = v_painter->brush();
  v_painter->setBrush(Qt::NoBrush);
  v_painter->drawPath(path);
  v_painter->setBrush(brush);
}

void CTPainterSurface::TextOut(int x, int y, const QString& text) {
  const QPen pen = v_painter->pen();
  v_painter->setPen(ToQColor(v_font.color));
  const QFontMetrics metrics(v_painter->font(), v_painter->device());
  v_painter->drawText(QPoint(x, y + metrics.ascent()), text);
  v_painter->setPen(pen);
}

QSize CTPainterSurface::TextExtent(const QString& text) const {
  const QFontMetrics metrics(v_painter->font(), v_painter->device());
  return QSize(metrics.horizontalAdvance(text), metrics.height());
}

void CTPainterSurface::StretchImage(int left, int top, int right, int bottom, const QImage& image) {
  v_painter->drawImage(QRect(QPoint(left, top), QPoint(right, bottom)), image);
}
