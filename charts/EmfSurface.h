#pragma once
// CTEmfSurface: a surface that records the drawing as an enhanced metafile
// (EMF), the picture format a report embeds in RTF. Device units are pixels
// at 96 per inch; the header states the picture's size in 0.01 mm.
//
// The file, as the bytes lie (all little-endian, every record a multiple
// of 4 bytes, led by its type and size):
//   EMR_HEADER        type 1: bounds (pixels, inclusive), frame (0.01 mm),
//                     " EMF", version 0x10000, file size, record count,
//                     handle count, reference device in pixels and mm (4800
//                     px = 1270 mm, 96 ppi exactly), and its size in
//                     micrometres
//   set-up records    map mode MM_TEXT, transparent text background, text
//                     aligned to its top-left corner
//   drawing records   pens, brushes and fonts are created, selected and
//                     deleted as the drawing changes them; lines, shapes,
//                     poly-shapes with 32-bit points, text with one advance
//                     per character (EMR_EXTTEXTOUTW), 24-bit pictures
//                     (EMR_STRETCHDIBITS)
//   EMR_EOF           type 14, no palette
// For example a picture of 100 x 50 pixels states a frame of
// 0,0 - 2645,1322 (x 0.01 mm): 100 px = 25.4 mm, the last pixel inclusive.

#include "charts/DrawSurface.h"

#include <QByteArray>
#include <QFont>

class CTEmfSurface : public IDrawSurface {
 public:
  static constexpr int kPixelsPerInch = 96;

  // A picture of nWidth x nHeight pixels.
  CTEmfSurface(int nWidth, int nHeight);

  // The finished metafile; drawing may go on afterwards.
  QByteArray Bytes() const;
  // Writes it atomically; false with the reason when it cannot be written.
  bool Save(const QString& szPath, QString& szError) const;

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
  bool IsPrinter() const override { return true; }

 private:
  class Record;
  void Append(const Record& record);
  std::uint32_t Replace(std::uint32_t& selected, std::uint32_t first, const Record& create);
  void SelectPen();
  void SelectBrush();
  void SelectFont();
  void PolyRecord(std::uint32_t type, const QVector<QPoint>& points);
  QFont QtFont() const;

  int v_width, v_height;
  QByteArray v_records;  // everything after the header, before EMR_EOF
  std::uint32_t v_recordCount = 0;
  LTPen v_pen;
  LTBrush v_brush;
  LTFont v_font;
  // The objects selected in the file (0: a stock object or none), whether
  // they still match the attributes, and the text colour set.
  std::uint32_t v_penHandle = 0, v_brushHandle = 0, v_fontHandle = 0;
  bool v_penValid = false, v_brushValid = false, v_fontValid = false;
  TColor v_textColor = 0xFFFFFFFFu;
};
