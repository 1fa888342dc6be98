#include "charts/EmfSurface.h"

#include <QFontMetrics>
#include <QPainter>
#include <QSaveFile>

#include <algorithm>
#include <cmath>

static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "the records are written as the machine lays out integers");

namespace {

// Record types.
enum : std::uint32_t {
  EMR_HEADER = 1,
  EMR_POLYBEZIER = 2,
  EMR_POLYGON = 3,
  EMR_POLYLINE = 4,
  EMR_EOF = 14,
  EMR_SETMAPMODE = 17,
  EMR_SETBKMODE = 18,
  EMR_SETROP2 = 20,
  EMR_SETTEXTALIGN = 22,
  EMR_SETTEXTCOLOR = 24,
  EMR_MOVETOEX = 27,
  EMR_SELECTOBJECT = 37,
  EMR_CREATEPEN = 38,
  EMR_CREATEBRUSHINDIRECT = 39,
  EMR_DELETEOBJECT = 40,
  EMR_ELLIPSE = 42,
  EMR_RECTANGLE = 43,
  EMR_ROUNDRECT = 44,
  EMR_ARC = 45,
  EMR_LINETO = 54,
  EMR_STRETCHDIBITS = 81,
  EMR_EXTCREATEFONTINDIRECTW = 82,
  EMR_EXTTEXTOUTW = 84,
};

constexpr std::uint32_t kSignature = 0x464D4520;  // " EMF"
constexpr std::uint32_t kHeaderSize = 108;         // with both header extensions
constexpr std::uint32_t kMapModeText = 1, kTransparent = 1, kAlignTopLeft = 0;
constexpr std::uint32_t kSrcCopy = 0x00CC0020;
constexpr std::uint32_t kNullBrush = 0x80000005, kNullPen = 0x80000008;
constexpr int kReferencePixels = 4800, kReferenceMm = 1270;
constexpr std::uint32_t kFirstPen = 1, kFirstBrush = 3, kFirstFont = 5;
constexpr std::uint16_t kHandleCount = 7;  // handle 0 stands for the metafile itself

std::uint32_t Colorref(TColor c) { return DrawColors::Resolve(c) & 0xFFFFFF; }

std::uint32_t Rop2(PenMode mode) {
  switch (mode) {
    case PenMode::kXor: return 7;          // R2_XORPEN
    case PenMode::kNot: return 6;          // R2_NOT
    case PenMode::kMaskPenNot: return 3;   // R2_MASKPENNOT
    default: return 13;                    // R2_COPYPEN
  }
}

// Pixels in 0.01 mm at 96 per inch.
std::int32_t HundredthsMm(double pixels) { return std::int32_t(std::lround(pixels * 2540.0 / CTEmfSurface::kPixelsPerInch)); }

}  // namespace

// One record: its type, a size filled in when it is appended, and the
// little-endian fields after them.
class CTEmfSurface::Record {
 public:
  explicit Record(std::uint32_t type) { U32(type).U32(0); }
  Record& U32(std::uint32_t v) { return Raw(&v, 4); }
  Record& I32(std::int32_t v) { return Raw(&v, 4); }
  Record& U16(std::uint16_t v) { return Raw(&v, 2); }
  Record& U8(std::uint8_t v) { return Raw(&v, 1); }
  Record& F32(float v) { return Raw(&v, 4); }
  Record& Rect(int l, int t, int r, int b) { return I32(l).I32(t).I32(r).I32(b); }
  Record& Point(int x, int y) { return I32(x).I32(y); }
  Record& Bytes(const QByteArray& b) {
    v_bytes.append(b);
    return *this;
  }
  Record& Pad() {
    while (v_bytes.size() % 4) v_bytes.append('\0');
    return *this;
  }
  int Size() const { return int(v_bytes.size()); }
  QByteArray Finished() const {
    QByteArray b = v_bytes;
    const std::uint32_t size = std::uint32_t(b.size());
    std::memcpy(b.data() + 4, &size, 4);
    return b;
  }

 private:
  Record& Raw(const void* p, int n) {
    v_bytes.append(static_cast<const char*>(p), n);
    return *this;
  }
  QByteArray v_bytes;
};

CTEmfSurface::CTEmfSurface(int nWidth, int nHeight) : v_width(std::max(1, nWidth)), v_height(std::max(1, nHeight)) {
  Append(Record(EMR_SETMAPMODE).U32(kMapModeText));
  Append(Record(EMR_SETBKMODE).U32(kTransparent));
  Append(Record(EMR_SETTEXTALIGN).U32(kAlignTopLeft));
  Append(Record(EMR_SETROP2).U32(Rop2(v_pen.mode)));
}

void CTEmfSurface::Append(const Record& record) {
  v_records.append(record.Finished());
  ++v_recordCount;
}

QByteArray CTEmfSurface::Bytes() const {
  Record eof(EMR_EOF);
  eof.U32(0).U32(16).U32(20);  // no palette; the palette offset; this record's size again
  const QByteArray tail = eof.Finished();
  const std::uint32_t total = kHeaderSize + std::uint32_t(v_records.size() + tail.size());

  Record header(EMR_HEADER);
  header.Rect(0, 0, v_width - 1, v_height - 1)
      .Rect(0, 0, HundredthsMm(v_width) - 1, HundredthsMm(v_height) - 1)
      .U32(kSignature)
      .U32(0x10000)
      .U32(total)
      .U32(v_recordCount + 2)
      .U16(kHandleCount)
      .U16(0)
      .U32(0)  // no description
      .U32(0)
      .U32(0)  // no palette
      // The reference device: 4800 pixels are exactly 1270 mm at 96 ppi,
      // so a reader that scales by pixels per millimetre has no rounding.
      .Point(kReferencePixels, kReferencePixels)
      .Point(kReferenceMm, kReferenceMm)
      .U32(0)  // no pixel format
      .U32(0)
      .U32(0)  // no OpenGL
      .Point(kReferenceMm * 1000, kReferenceMm * 1000);
  Q_ASSERT(header.Size() == int(kHeaderSize));
  return header.Finished() + v_records + tail;
}

bool CTEmfSurface::Save(const QString& szPath, QString& szError) const {
  QSaveFile file(szPath);
  if (!file.open(QIODevice::WriteOnly) || file.write(Bytes()) < 0 || !file.commit()) {
    szError = QStringLiteral("cannot write %1: %2").arg(szPath, file.errorString());
    return false;
  }
  return true;
}

// ---------------------------------------------------------------- objects

void CTEmfSurface::SetPen(const LTPen& pen) {
  if (pen.mode != v_pen.mode) Append(Record(EMR_SETROP2).U32(Rop2(pen.mode)));
  if (!(pen == v_pen)) v_penValid = false;
  v_pen = pen;
}

void CTEmfSurface::SetBrush(const LTBrush& brush) {
  if (!(brush == v_brush)) v_brushValid = false;
  v_brush = brush;
}

void CTEmfSurface::SetFont(const LTFont& font) {
  if (!(font == v_font)) v_fontValid = false;
  v_font = font;
}

// Each attribute change makes a new object in the file, selected in place
// of the old one, which is then deleted. Pens take handles 1 and 2, brushes
// 3 and 4, fonts 5 and 6, each the one not in use: the file never holds
// more than three objects, and a reader's handle table has 7 entries.
std::uint32_t CTEmfSurface::Replace(std::uint32_t& selected, std::uint32_t first, const Record& create) {
  const std::uint32_t handle = selected == first ? first + 1 : first;
  Append(create);
  Append(Record(EMR_SELECTOBJECT).U32(handle));
  if (selected == first || selected == first + 1) Append(Record(EMR_DELETEOBJECT).U32(selected));
  selected = handle;
  return handle;
}

void CTEmfSurface::SelectPen() {
  if (v_penValid) return;
  v_penValid = true;
  if (v_pen.style == PenStyle::kClear) {
    Append(Record(EMR_SELECTOBJECT).U32(kNullPen));
    if (v_penHandle) Append(Record(EMR_DELETEOBJECT).U32(v_penHandle));
    v_penHandle = 0;
    return;
  }
  const std::uint32_t next = v_penHandle == kFirstPen ? kFirstPen + 1 : kFirstPen;
  Replace(v_penHandle, kFirstPen,
          Record(EMR_CREATEPEN).U32(next).U32(std::uint32_t(v_pen.style)).Point(std::max(0, v_pen.width), 0).U32(Colorref(v_pen.color)));
}

void CTEmfSurface::SelectBrush() {
  if (v_brushValid) return;
  v_brushValid = true;
  if (v_brush.style == BrushStyle::kClear) {
    Append(Record(EMR_SELECTOBJECT).U32(kNullBrush));
    if (v_brushHandle) Append(Record(EMR_DELETEOBJECT).U32(v_brushHandle));
    v_brushHandle = 0;
    return;
  }
  // Hatched brushes: BS_HATCHED with the hatch of the style (HS_HORIZONTAL 0 ...).
  const bool hatched = v_brush.style != BrushStyle::kSolid;
  const std::uint32_t hatch = hatched ? std::uint32_t(v_brush.style) - std::uint32_t(BrushStyle::kHorizontal) : 0;
  const std::uint32_t next = v_brushHandle == kFirstBrush ? kFirstBrush + 1 : kFirstBrush;
  Replace(v_brushHandle, kFirstBrush,
          Record(EMR_CREATEBRUSHINDIRECT).U32(next).U32(hatched ? 2 : 0).U32(Colorref(v_brush.color)).U32(hatch));
}

QFont CTEmfSurface::QtFont() const {
  QFont font(v_font.name);
  font.setPixelSize(std::max(1, int(std::lround(v_font.sizePt * double(kPixelsPerInch) / 72))));
  font.setBold(v_font.style & kFontBold);
  font.setItalic(v_font.style & kFontItalic);
  font.setUnderline(v_font.style & kFontUnderline);
  font.setStrikeOut(v_font.style & kFontStrikeOut);
  return font;
}

void CTEmfSurface::SelectFont() {
  if (v_textColor != Colorref(v_font.color)) {
    v_textColor = Colorref(v_font.color);
    Append(Record(EMR_SETTEXTCOLOR).U32(v_textColor));
  }
  if (v_fontValid) return;
  v_fontValid = true;
  const std::uint32_t next = v_fontHandle == kFirstFont ? kFirstFont + 1 : kFirstFont;
  Record font(EMR_EXTCREATEFONTINDIRECTW);
  // LOGFONTW: a negative height is the character height in pixels.
  font.U32(next)
      .I32(-QtFont().pixelSize())
      .I32(0)
      .I32(0)
      .I32(0)
      .I32(v_font.style & kFontBold ? 700 : 400)
      .U8(v_font.style & kFontItalic ? 1 : 0)
      .U8(v_font.style & kFontUnderline ? 1 : 0)
      .U8(v_font.style & kFontStrikeOut ? 1 : 0)
      .U8(1)   // DEFAULT_CHARSET
      .U8(0)   // OUT_DEFAULT_PRECIS
      .U8(0)   // CLIP_DEFAULT_PRECIS
      .U8(4)   // ANTIALIASED_QUALITY
      .U8(0);  // DEFAULT_PITCH, FF_DONTCARE
  const QString face = v_font.name.left(31);
  for (int i = 0; i < 32; ++i) font.U16(i < face.size() ? face[i].unicode() : 0);
  Replace(v_fontHandle, kFirstFont, font);
}

// ---------------------------------------------------------------- drawing

void CTEmfSurface::MoveTo(int x, int y) { Append(Record(EMR_MOVETOEX).Point(x, y)); }

void CTEmfSurface::LineTo(int x, int y) {
  SelectPen();
  Append(Record(EMR_LINETO).Point(x, y));
}

void CTEmfSurface::Rectangle(int left, int top, int right, int bottom) {
  SelectPen();
  SelectBrush();
  Append(Record(EMR_RECTANGLE).Rect(left, top, right, bottom));
}

void CTEmfSurface::Ellipse(int left, int top, int right, int bottom) {
  SelectPen();
  SelectBrush();
  Append(Record(EMR_ELLIPSE).Rect(left, top, right, bottom));
}

void CTEmfSurface::RoundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight) {
  SelectPen();
  SelectBrush();
  Append(Record(EMR_ROUNDRECT).Rect(left, top, right, bottom).Point(cornerWidth, cornerHeight));
}

void CTEmfSurface::Arc(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4) {
  SelectPen();
  Append(Record(EMR_ARC).Rect(left, top, right, bottom).Point(x3, y3).Point(x4, y4));
}

void CTEmfSurface::PolyRecord(std::uint32_t type, const QVector<QPoint>& points) {
  if (points.isEmpty()) return;
  int l = points[0].x(), t = points[0].y(), r = l, b = t;
  for (const QPoint& p : points) {
    l = std::min(l, p.x());
    r = std::max(r, p.x());
    t = std::min(t, p.y());
    b = std::max(b, p.y());
  }
  Record record(type);
  record.Rect(l, t, r, b).U32(std::uint32_t(points.size()));
  for (const QPoint& p : points) record.Point(p.x(), p.y());
  Append(record);
}

void CTEmfSurface::Polygon(const QVector<QPoint>& points) {
  SelectPen();
  SelectBrush();
  PolyRecord(EMR_POLYGON, points);
}

void CTEmfSurface::Polyline(const QVector<QPoint>& points) {
  SelectPen();
  PolyRecord(EMR_POLYLINE, points);
}

void CTEmfSurface::PolyBezier(const QVector<QPoint>& points) {
  if (points.size() < 4 || (points.size() - 1) % 3 != 0) return;
  SelectPen();
  PolyRecord(EMR_POLYBEZIER, points);
}

// EMR_EXTTEXTOUTW with one advance per character, so a reader places each
// glyph where this program measured it.
void CTEmfSurface::TextOut(int x, int y, const QString& text) {
  if (text.isEmpty()) return;
  SelectFont();
  const QFontMetrics metrics(QtFont());
  const QSize extent = TextExtent(text);
  const std::uint32_t chars = std::uint32_t(text.size());
  constexpr std::uint32_t kTextOffset = 76;  // the fixed part of the record
  const std::uint32_t stringBytes = (chars * 2 + 3) / 4 * 4;
  Record record(EMR_EXTTEXTOUTW);
  record.Rect(x, y, x + extent.width(), y + extent.height())
      .U32(1)  // GM_COMPATIBLE
      .F32(0)
      .F32(0)
      .Point(x, y)
      .U32(chars)
      .U32(kTextOffset)
      .U32(0)  // no options, no clipping rectangle
      .Rect(0, 0, -1, -1)
      .U32(kTextOffset + stringBytes);
  for (const QChar c : text) record.U16(c.unicode());
  record.Pad();
  for (const QChar c : text) record.U32(std::uint32_t(std::max(0, metrics.horizontalAdvance(c))));
  Append(record);
}

QSize CTEmfSurface::TextExtent(const QString& text) const {
  const QFontMetrics metrics(QtFont());
  return QSize(metrics.horizontalAdvance(text), metrics.height());
}

// A 24-bit DIB, bottom-up, rows padded to 4 bytes.
void CTEmfSurface::StretchImage(int left, int top, int right, int bottom, const QImage& image) {
  if (image.isNull()) return;
  // The file holds 24-bit pictures: transparent parts lie on white.
  QImage flat = image;
  if (image.hasAlphaChannel()) {
    flat = QImage(image.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    QPainter painter(&flat);
    painter.drawImage(0, 0, image);
  }
  const QImage rgb = flat.convertToFormat(QImage::Format_RGB888);
  const int w = rgb.width(), h = rgb.height();
  const int stride = (w * 3 + 3) / 4 * 4;
  QByteArray bits(stride * h, '\0');
  for (int y = 0; y < h; ++y) {
    const uchar* line = rgb.constScanLine(h - 1 - y);
    char* out = bits.data() + y * stride;
    for (int x = 0; x < w; ++x) {  // BGR
      out[x * 3] = char(line[x * 3 + 2]);
      out[x * 3 + 1] = char(line[x * 3 + 1]);
      out[x * 3 + 2] = char(line[x * 3]);
    }
  }
  constexpr std::uint32_t kFixed = 80, kInfo = 40;
  Record record(EMR_STRETCHDIBITS);
  record.Rect(left, top, right, bottom)
      .I32(left)
      .I32(top)
      .I32(0)
      .I32(0)
      .I32(w)
      .I32(h)
      .U32(kFixed)
      .U32(kInfo)
      .U32(kFixed + kInfo)
      .U32(std::uint32_t(bits.size()))
      .U32(0)  // DIB_RGB_COLORS
      .U32(kSrcCopy)
      .I32(right - left + 1)
      .I32(bottom - top + 1);
  // BITMAPINFOHEADER
  record.U32(kInfo).I32(w).I32(h).U16(1).U16(24).U32(0).U32(std::uint32_t(bits.size())).I32(3780).I32(3780).U32(0).U32(0);
  record.Bytes(bits);
  Append(record);
}
