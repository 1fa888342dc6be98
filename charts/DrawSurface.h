#pragma once
// IDrawSurface: the device a chart draws on, in device pixels. The virtual
// canvas maps its coordinates and hands every call here; the back-ends are
// the screen and images (QPainter), a recorder of the calls (tests) and an
// enhanced metafile.
//
// The surface keeps the drawing attributes (pen, brush, font) as the
// platform's device context does, so that a chart can read them back and
// restore them. Colours are RGB values with red in the low byte; system
// colours carry 0xFF in the high byte and are resolved by the surface.
//
// Pixel rules, as the platform draws: a line leaves out its end pixel; a
// rectangle, ellipse or rounded rectangle (l, t, r, b) covers l..r-1,
// t..b-1; text is placed by the top-left corner of its cell.

#include <QImage>
#include <QPoint>
#include <QSize>
#include <QString>
#include <QVector>

#include <cstdint>

using TColor = std::uint32_t;

namespace DrawColors {
inline constexpr TColor kBlack = 0x000000;
inline constexpr TColor kWhite = 0xFFFFFF;
inline constexpr TColor kWindowText = 0xFF000008;  // the system colour of window text
inline constexpr TColor kWindow = 0xFF000005;      // the system colour of window backgrounds
inline int Red(TColor c) { return int(c & 0xFF); }
inline int Green(TColor c) { return int((c >> 8) & 0xFF); }
inline int Blue(TColor c) { return int((c >> 16) & 0xFF); }
inline constexpr TColor Rgb(int r, int g, int b) { return TColor(r) | TColor(g) << 8 | TColor(b) << 16; }
inline bool IsSystem(TColor c) { return (c & 0xFF000000u) == 0xFF000000u; }
// A system colour as the program draws it (window text black, windows white).
TColor Resolve(TColor c);
}  // namespace DrawColors

// The platform's pen styles, pen modes and brush styles.
enum class PenStyle { kSolid = 0, kDash = 1, kDot = 2, kDashDot = 3, kDashDotDot = 4, kClear = 5, kInsideFrame = 6 };
enum class PenMode { kCopy, kNot, kXor, kMaskPenNot };
enum class BrushStyle { kSolid = 0, kClear = 1, kHorizontal, kVertical, kFDiagonal, kBDiagonal, kCross, kDiagCross };

enum FontStyle : unsigned { kFontBold = 1, kFontItalic = 2, kFontUnderline = 4, kFontStrikeOut = 8 };

struct LTPen {
  TColor color = DrawColors::kBlack;
  int width = 1;  // device pixels
  PenStyle style = PenStyle::kSolid;
  PenMode mode = PenMode::kCopy;
  bool operator==(const LTPen&) const = default;
};

struct LTBrush {
  TColor color = DrawColors::kWhite;
  BrushStyle style = BrushStyle::kSolid;
  bool operator==(const LTBrush&) const = default;
};

struct LTFont {
  QString name = QStringLiteral("Arial");
  int sizePt = 8;
  unsigned style = 0;  // FontStyle bits
  TColor color = DrawColors::kWindowText;
  bool operator==(const LTFont&) const = default;
};

class IDrawSurface {
 public:
  virtual ~IDrawSurface() = default;

  // Attributes, kept by the surface.
  virtual LTPen Pen() const = 0;
  virtual void SetPen(const LTPen& pen) = 0;
  virtual LTBrush Brush() const = 0;
  virtual void SetBrush(const LTBrush& brush) = 0;
  virtual LTFont Font() const = 0;
  virtual void SetFont(const LTFont& font) = 0;

  // Drawing, in device pixels.
  virtual void MoveTo(int x, int y) = 0;
  virtual void LineTo(int x, int y) = 0;
  virtual void Rectangle(int left, int top, int right, int bottom) = 0;
  virtual void Ellipse(int left, int top, int right, int bottom) = 0;
  virtual void RoundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight) = 0;
  // The arc of the ellipse in the box, counter-clockwise from the radial
  // through (x3, y3) to the radial through (x4, y4).
  virtual void Arc(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4) = 0;
  virtual void Polygon(const QVector<QPoint>& points) = 0;
  virtual void Polyline(const QVector<QPoint>& points) = 0;
  // 3k + 1 points: a start point, then control, control, end per segment.
  virtual void PolyBezier(const QVector<QPoint>& points) = 0;
  virtual void TextOut(int x, int y, const QString& text) = 0;
  // The size of the text's cell in the current font, device pixels.
  virtual QSize TextExtent(const QString& text) const = 0;
  // A picture stretched into the rectangle (left, top) .. (right, bottom),
  // both corners inside.
  virtual void StretchImage(int left, int top, int right, int bottom, const QImage& image) = 0;
  // False on a window's canvas, true on images, metafiles and printers.
  virtual bool IsPrinter() const = 0;
};
