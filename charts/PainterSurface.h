#pragma once
// CTPainterSurface: the screen and images. Draws with a QPainter on a
// widget or a QImage, without antialiasing, as the platform's device
// context draws: a 1-pixel line leaves out its end pixel, a rectangle
// (l, t, r, b) covers l..r-1 and t..b-1, text is placed by its top-left.

#include "charts/DrawSurface.h"

#include <QPainter>

class CTPainterSurface : public IDrawSurface {
 public:
  // The painter must be active on its device and outlive the surface.
  // bIsPrinter: true for images and printers, false for a window.
  CTPainterSurface(QPainter* pPainter, bool bIsPrinter);
  // Draws on another painter from now on, with the same attributes: a chart
  // kept on screen is drawn again into a new image.
  void Retarget(QPainter* pPainter);

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
  void ApplyPen();
  void ApplyBrush();
  QFont QtFont() const;

  QPainter* v_painter;
  bool v_isPrinter;
  LTPen v_pen;
  LTBrush v_brush;
  LTFont v_font;
  QPoint v_current;
};
