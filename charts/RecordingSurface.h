#pragma once
// CTRecordingSurface: a surface that keeps every drawing call as a line of
// text in device pixels ("LineTo 12 14", "TextOut 3 4 Supply"), with the
// attributes in effect set before it, so tests see exactly what a chart drew.

#include "charts/DrawSurface.h"

#include <QImage>
#include <QList>
#include <QStringList>

class CTRecordingSurface : public IDrawSurface {
 public:
  // Text extents: nCharWidth per character, nLineHeight per line.
  explicit CTRecordingSurface(int nCharWidth = 6, int nLineHeight = 14, bool bIsPrinter = false);

  const QStringList& Calls() const { return v_calls; }
  // The pictures of the "Image" calls, in the same order.
  const QList<QImage>& Images() const { return v_images; }
  void Clear() {
    v_calls.clear();
    v_images.clear();
  }

  LTPen Pen() const override { return v_pen; }
  void SetPen(const LTPen& pen) override;
  LTBrush Brush() const override { return v_brush; }
  void SetBrush(const LTBrush& brush) override;
  LTFont Font() const override { return v_font; }
  void SetFont(const LTFont& font) override;

  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  void Rectangle(int left, int top, int right, int bottom) override;
  void Ellipse(int left, int top, int right, int bottom) override;
  void RoundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight) override;
  void Arc(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4) override;
  void Polygon(const QVector<QPoint>& points) override;
  void Polyline(const QVector<QPoint>& points) override;
  void PolyBezier(const QVector<QPoint>& points) override;
  void TextOut(int x, int y, const QString& text) override;
  QSize TextExtent(const QString& text) const override;
  void StretchImage(int left, int top, int right, int bottom, const QImage& image) override;
  bool IsPrinter() const override { return v_isPrinter; }

 private:
  void Record(const QString& name, std::initializer_list<int> values, const QString& text = QString());
  void Record(const QString& name, const QVector<QPoint>& points);

  QStringList v_calls;
  QList<QImage> v_images;
  LTPen v_pen;
  LTBrush v_brush;
  LTFont v_font;
  int v_charWidth, v_lineHeight;
  bool v_isPrinter;
};
