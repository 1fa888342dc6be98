// aerolith-artwork OUTDIR: draws the pictures of the configuration drawing
// (the units by type, the heaters, the arrows) at their sizes and writes
// them as PNG files. The program embeds the files it wrote
// (resources/pictures); run it again after changing a picture here.

#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QTextStream>

namespace {

const QColor kCasing(0x6E, 0x7B, 0x86), kPanel(0xE6, 0xEB, 0xEF), kExchanger(0x9C, 0xB4, 0xC8),
    kCoil(0x8C, 0x96, 0x9E), kWater(0x3C, 0x8C, 0xDC), kHeat(0xD2, 0x3C, 0x28);

// The casing of a unit with its four duct spigots.
void Casing(QPainter& p, int w, int h) {
  p.setPen(QPen(kCasing, 2));
  p.setBrush(kPanel);
  p.drawRect(QRect(18, 10, w - 37, h - 21));
  p.setBrush(kCasing);
  for (const int x : {30, w - 58}) {
    p.drawRect(QRect(x, 2, 28, 8));      // top spigots: room air in, exhaust out
    p.drawRect(QRect(x, h - 10, 28, 8));  // bottom spigots: outdoor air in, supply out
  }
}

// The cross-flow exchanger: a diamond with its plates.
void Exchanger(QPainter& p, QPointF c, double r) {
  QPolygonF diamond{{c.x() - r, c.y()}, {c.x(), c.y() - r}, {c.x() + r, c.y()}, {c.x(), c.y() + r}};
  p.setPen(QPen(kCasing, 1.5));
  p.setBrush(kExchanger);
  p.drawPolygon(diamond);
  // The plates: lines along one side, inside the diamond.
  QPainterPath inside;
  inside.addPolygon(diamond);
  p.save();
  p.setClipPath(inside);
  p.setPen(QPen(kCasing.lighter(130), 1));
  for (double d = -2 * r; d <= 2 * r; d += 7) p.drawLine(QPointF(c.x() - r + d, c.y() - r), QPointF(c.x() + r + d, c.y() + r));
  p.restore();
}

void Fan(QPainter& p, QPointF c, double r) {
  p.setPen(QPen(kCasing, 1.5));
  p.setBrush(Qt::white);
  p.drawEllipse(c, r, r);
  p.setBrush(kCasing);
  for (int i = 0; i < 3; ++i) {
    p.save();
    p.translate(c);
    p.rotate(i * 120);
    p.drawEllipse(QPointF(0, -r / 2), r / 5, r / 2.2);
    p.restore();
  }
}

void Coil(QPainter& p, QRectF r) {
  p.setPen(QPen(kCoil.darker(130), 1));
  p.setBrush(kCoil.lighter(140));
  p.drawRect(r);
  for (double x = r.left() + 3; x < r.right(); x += 4) p.drawLine(QPointF(x, r.top()), QPointF(x, r.bottom()));
}

void Humidifier(QPainter& p, QRectF r) {
  p.setPen(Qt::NoPen);
  p.setBrush(kWater);
  for (int i = 0; i < 3; ++i) {
    const QPointF c(r.center().x(), r.top() + 8 + i * (r.height() - 12) / 3);
    QPainterPath drop(c + QPointF(0, -5));
    drop.cubicTo(c + QPointF(4, 0), c + QPointF(4, 4), c + QPointF(0, 4));
    drop.cubicTo(c + QPointF(-4, 4), c + QPointF(-4, 0), c + QPointF(0, -5));
    p.drawPath(drop);
  }
}

QImage Unit(int w, int h, bool coil, bool humidifier, bool freshAir) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  Casing(p, w, h);
  if (freshAir) {
    Coil(p, QRectF(w / 2.0 - 30, 30, 22, h - 60));
    Fan(p, QPointF(w / 2.0 + 40, h / 2.0), 24);
    return image;
  }
  Exchanger(p, QPointF(w / 2.0 - (coil ? 25 : 0), h / 2.0), 42);
  Fan(p, QPointF(50, h / 2.0), 16);
  Fan(p, QPointF(w - 52, h / 2.0), 16);
  if (coil) Coil(p, QRectF(w / 2.0 + 30, 34, 18, h - 68));
  if (humidifier) Humidifier(p, QRectF(w / 2.0 + 54, 34, 16, h - 68));
  return image;
}

QImage Heater(int w, int h) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(kCasing, 2));
  p.setBrush(kPanel);
  p.drawRect(QRectF(2, 8, w - 4, h - 16));
  QPainterPath zigzag(QPointF(12, h / 2.0));
  for (int x = 18, i = 0; x < w - 10; x += 6, ++i) zigzag.lineTo(QPointF(x, h / 2.0 + (i % 2 ? 10 : -10)));
  p.setPen(QPen(kHeat, 2));
  p.setBrush(Qt::NoBrush);
  p.drawPath(zigzag);
  return image;
}

// A black arrow, shaft and head, on white.
QImage Arrow(int w, int h, bool up) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::black);
  const double head = std::min(8.0, h / 2.0);
  p.drawRect(QRectF(w / 2.0 - 1, up ? head : 0, 2, h - head));
  QPolygonF tip = up ? QPolygonF{{0, head}, {w / 2.0, 0}, {double(w), head}}
                     : QPolygonF{{0, h - head}, {w / 2.0, double(h)}, {double(w), h - head}};
  p.drawPolygon(tip);
  return image;
}

// A logo for the page header: a rounded plate with a name in white.
QImage Logo(int w, int h, const QColor& plate, const char* name) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(plate);
  p.drawRoundedRect(QRectF(2, 2, w - 4, h - 4), h / 5.0, h / 5.0);
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(h * 2 / 5);
  font.setBold(true);
  p.setFont(font);
  p.setPen(Qt::white);
  p.drawText(QRectF(0, 0, w, h), Qt::AlignCenter, QString::fromLatin1(name));
  return image;
}

}  // namespace

int main(int argc, char* argv[]) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  QTextStream err(stderr);
  if (argc != 2) {
    err << "usage: aerolith-artwork OUTDIR\n";
    return 2;
  }
  const QDir out(QString::fromLocal8Bit(argv[1]));
  const std::pair<const char*, QImage> pictures[] = {
      {"HRX", Unit(282, 147, false, false, false)},     {"HRD_GMV", Unit(282, 147, true, true, false)},
      {"HRD_GV", Unit(282, 147, true, false, false)},   {"DQTL", Unit(284, 148, false, false, true)},
      {"InletHeater", Heater(106, 57)},                 {"SupplyHeater", Heater(108, 57)},
      {"SArrowDn", Arrow(7, 40, false)},                {"SArrowUp", Arrow(7, 40, true)},
      {"LArrowUp", Arrow(7, 80, true)},                 {"xsArrowUp", Arrow(7, 16, true)},
      {"OrskLogo", Logo(250, 100, QColor(0x1F, 0x5A, 0x8C), "NORVANE")},
      {"DistribLogo", Logo(250, 100, QColor(0x3C, 0x78, 0x46), "Aerolith")},
  };
  for (const auto& [name, image] : pictures)
    if (!image.save(out.filePath(QString::fromLatin1(name) + ".png"), "PNG")) {
      err << "cannot write " << out.filePath(QString::fromLatin1(name) + ".png") << "\n";
      return 1;
    }
  return 0;
}
