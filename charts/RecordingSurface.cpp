#include "charts/RecordingSurface.h"

CTRecordingSurface::CTRecordingSurface(int nCharWidth, int nLineHeight, bool bIsPrinter)
    : v_charWidth(nCharWidth), v_lineHeight(nLineHeight), v_isPrinter(bIsPrinter) {}

void CTRecordingSurface::Record(const QString& name, std::initializer_list<int> values, const QString& text) {
  QStringList parts{name};
  for (const int v : values) parts << QString::number(v);
  if (!text.isNull()) parts << text;
  v_calls << parts.join(QLatin1Char(' '));
}

void CTRecordingSurface::Record(const QString& name, const QVector<QPoint>& points) {
  QStringList parts{name};
  for (const QPoint& p : points) parts << QStringLiteral("%1,%2").arg(p.x()).arg(p.y());
  v_calls << parts.join(QLatin1Char(' '));
}

void CTRecordingSurface::SetPen(const LTPen& pen) {
  if (pen == v_pen) return;
  v_pen = pen;
  Record(QStringLiteral("Pen"), {int(pen.color), pen.width, int(pen.style), int(pen.mode)});
}

void CTRecordingSurface::SetBrush(const LTBrush& brush) {
  if (brush == v_brush) return;
  v_brush = brush;
  Record(QStringLiteral("Brush"), {int(brush.color), int(brush.style)});
}

void CTRecordingSurface::SetFont(const LTFont& font) {
  if (font == v_font) return;
  v_font = font;
  Record(QStringLiteral("Font"), {font.sizePt, int(font.style), int(font.color)}, font.name);
}

void CTRecordingSurface::MoveTo(int x, int y) { Record(QStringLiteral("MoveTo"), {x, y}); }
void CTRecordingSurface::LineTo(int x, int y) { Record(QStringLiteral("LineTo"), {x, y}); }
void CTRecordingSurface::Rectangle(int l, int t, int r, int b) { Record(QStringLiteral("Rectangle"), {l, t, r, b}); }
void CTRecordingSurface::Ellipse(int l, int t, int r, int b) { Record(QStringLiteral("Ellipse"), {l, t, r, b}); }

void CTRecordingSurface::RoundRect(int l, int t, int r, int b, int w, int h) {
  Record(QStringLiteral("RoundRect"), {l, t, r, b, w, h});
}

void CTRecordingSurface::Arc(int l, int t, int r, int b, int x3, int y3, int x4, int y4) {
  Record(QStringLiteral("Arc"), {l, t, r, b, x3, y3, x4, y4});
}

void CTRecordingSurface::Polygon(const QVector<QPoint>& points) { Record(QStringLiteral("Polygon"), points); }
void CTRecordingSurface::Polyline(const QVector<QPoint>& points) { Record(QStringLiteral("Polyline"), points); }
void CTRecordingSurface::PolyBezier(const QVector<QPoint>& points) { Record(QStringLiteral("PolyBezier"), points); }
void CTRecordingSurface::TextOut(int x, int y, const QString& text) { Record(QStringLiteral("TextOut"), {x, y}, text); }

QSize CTRecordingSurface::TextExtent(const QString& text) const {
  return QSize(v_charWidth * int(text.size()), v_lineHeight);
}

void CTRecordingSurface::StretchImage(int l, int t, int r, int b, const QImage& image) {
  Record(QStringLiteral("Image"), {l, t, r, b, image.width(), image.height()});
  v_images << image;
}
