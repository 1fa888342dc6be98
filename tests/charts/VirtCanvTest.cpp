// The virtual canvas and its paths, through the recording surface (what is
// asked of the device) and the painter surface (what lands on pixels).

#include "charts/PainterSurface.h"
#include "charts/RecordingSurface.h"
#include "charts/VirtCanv.h"

#include <QGuiApplication>
#include <QImage>

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct Canvas : testing::Test {
  CTRecordingSurface surface;
  CTVirtualCanvas canvas{&surface};
};

TEST_F(Canvas, MapsEachAxisByScaleAndOffsetRoundingHalvesToEven) {
  EXPECT_EQ(canvas.DeviceX(3.4), 3);  // default: virtual and device coincide
  canvas.SetScale(2);
  canvas.SetOffsetX(10);
  canvas.SetOffsetY(-1);
  EXPECT_EQ(canvas.DeviceX(1.25), 12);  // 12.5 -> 12
  EXPECT_EQ(canvas.DeviceX(1.75), 14);  // 13.5 -> 14
  EXPECT_EQ(canvas.DeviceY(1.25), 2);   // 1.5 -> 2
  EXPECT_EQ(canvas.DeviceX(NAN), 0);    // never undefined
  canvas.LineTo(1.25, 0.75);
  EXPECT_EQ(surface.Calls().last(), "LineTo 12 0");  // 0.5 -> 0
}

TEST_F(Canvas, DrawsACurveAsBeziersJoinedAtMidpoints) {
  struct Case {
    QVector<QPoint> points;
    QStringList calls;
  };
  const Case cases[] = {
      {{}, {}},
      {{{1, 1}}, {}},
      {{{0, 0}, {4, 2}}, {"MoveTo 0 0", "LineTo 4 2"}},
      {{{0, 0}, {1, 5}, {4, 4}}, {"PolyBezier 0,0 1,5 4,4 4,4"}},  // the last point its own control
      {{{0, 0}, {1, 5}, {4, 4}, {6, 0}}, {"PolyBezier 0,0 1,5 4,4 6,0"}},
      // Five points: a join at the midpoint of p2 and p3, halves truncated
      // toward zero ((-3 + 0) / 2 = -1).
      {{{0, 0}, {2, 4}, {-3, 5}, {0, 6}, {8, 8}}, {"PolyBezier 0,0 2,4 -3,5 -1,5 0,6 8,8 8,8"}},
      {{{0, 0}, {2, 4}, {-3, 5}, {0, 6}, {8, 8}, {9, 9}}, {"PolyBezier 0,0 2,4 -3,5 -1,5 0,6 8,8 9,9"}},
  };
  for (const Case& c : cases) {
    surface.Clear();
    canvas.DrawCurve(c.points, int(c.points.size()));
    EXPECT_EQ(surface.Calls(), c.calls) << c.points.size() << " points";
  }
}

TEST_F(Canvas, FixedMarkersAndRoundedCornersFollowTheirOwnRules) {
  canvas.SetScaleX(3);
  canvas.SetScaleY(2);
  canvas.DrawRoundedRectangle(0, 0, 10, 10, 4, -1);  // -1: the same diameter, by the y scale
  canvas.DrawSquareFixed(2, 3, 2);                   // not scaled: 2 device pixels each way
  canvas.DrawCrossFixed(2, 3, 3);                    // one more pixel at the far ends
  EXPECT_EQ(surface.Calls(), (QStringList{"RoundRect 0 0 30 20 8 8", "Rectangle 4 4 8 8", "MoveTo 3 6", "LineTo 10 6",
                                          "MoveTo 6 3", "LineTo 6 10"}));
}

TEST_F(Canvas, PolylinesLeaveTheCallersPointsInDeviceCoordinates) {
  canvas.SetScale(2);
  canvas.SetOffsetX(1);
  QVector<QPoint> points{{0, 0}, {1, 2}, {5, 5}};
  canvas.DrawPolyLine(points, 2);
  EXPECT_EQ(points, (QVector<QPoint>{{1, 0}, {3, 4}, {5, 5}}));  // the third was not asked for
  EXPECT_EQ(surface.Calls().last(), "Polyline 1,0 3,4");
}

TEST_F(Canvas, TextMeasuresInVirtualUnitsAndPropertiesComeBack) {
  canvas.SetScaleY(2);
  EXPECT_EQ(canvas.TextHeight(), 7);  // a 14-pixel line at 2 pixels per unit
  EXPECT_EQ(canvas.TextWidth("abc"), 18);
  canvas.SaveProperties();
  canvas.SetVCPenColor(DrawColors::Rgb(255, 0, 0));
  canvas.SetVCPenWidth(2.5);  // whole pixels, halves to even
  canvas.SetVCTextSize(9.5);
  EXPECT_EQ(canvas.VCPenWidth(), 2);
  EXPECT_EQ(canvas.VCTextSize(), 10);
  canvas.RestoreProperties();
  EXPECT_EQ(canvas.VCPenColor(), DrawColors::kBlack);
  EXPECT_EQ(canvas.VCPenWidth(), 1);
}

// ---------------------------------------------------------------- paths

struct Path : Canvas {
  QStringList Drawn(CTVirtualPath& path, double x = 0, double y = 0) {
    surface.Clear();
    path.DrawOn(canvas, x, y);
    return surface.Calls();
  }
};

TEST_F(Path, ATrailingCloseReturnsToTheFirstMovePoint) {
  CTVirtualPath path;
  path.AddMoveTo(1, 1, false);
  path.AddHLineTo(4, true);   // to (5, 1)
  path.AddVLineTo(6, false);  // to (5, 6)
  path.AddClose(99, 99);      // coordinates of its own are replaced
  EXPECT_EQ(Drawn(path, 10, 20), (QStringList{"MoveTo 11 21", "LineTo 15 21", "LineTo 15 26", "LineTo 11 21"}));
  EXPECT_TRUE(Drawn(*std::make_unique<CTVirtualPath>()).isEmpty());
}

TEST_F(Path, QuadraticsAreRaisedToCubicsAndSmoothFormsReflectTheirControl) {
  CTVirtualPath path;
  path.AddMoveTo(0, 0, false);
  path.AddQuadraticBezier(3, 3, 6, 0, false);  // controls (2 cp + start) / 3 and (2 cp + end) / 3
  path.AddQuadraticBezierNext(6, 0, true);     // control: (3, 3) reflected about (6, 0)
  EXPECT_EQ(Drawn(path), (QStringList{"MoveTo 0 0", "PolyBezier 0,0 2,2 4,2 6,0", "PolyBezier 6,0 8,-2 10,-2 12,0"}));

  CTVirtualPath cubic;
  cubic.AddMoveTo(0, 0, false);
  cubic.AddCubicBezier(0, 4, 4, 4, 4, 0, false);
  cubic.AddCubicBezierNext(8, -4, 8, 0, false);  // first control: (4, 4) reflected about (4, 0)
  EXPECT_EQ(Drawn(cubic), (QStringList{"MoveTo 0 0", "PolyBezier 0,0 0,4 4,4 4,0", "PolyBezier 4,0 4,-4 8,-4 8,0"}));
}

TEST_F(Path, ArcsWithoutRadiusAreLinesAndRadiiTooSmallGrowToTheChord) {
  CTVirtualPath flat;
  flat.AddMoveTo(0, 0, false);
  flat.AddEllipticArc(0, 5, 0, false, false, 10, 0, false);
  EXPECT_EQ(Drawn(flat), (QStringList{"MoveTo 0 0", "LineTo 10 0"}));

  // A radius of 1 cannot span a chord of 10: it grows to 5, a half circle
  // about (5, 0) drawn in 5-degree steps.
  canvas.SetScale(10);  // device points at a tenth of a unit
  CTVirtualPath half;
  half.AddMoveTo(0, 0, false);
  half.AddEllipticArc(1, 1, 0, false, true, 10, 0, false);
  const QStringList calls = Drawn(half);
  ASSERT_GE(calls.size(), 30);
  EXPECT_EQ(calls.last(), "LineTo 100 0");
  for (const QString& call : calls.mid(1)) {
    const QStringList parts = call.split(' ');
    const double dx = parts[1].toDouble() - 50, dy = parts[2].toDouble();
    EXPECT_NEAR(std::hypot(dx, dy), 50, 1.0) << call.toStdString();
  }
}

// ---------------------------------------------------------------- pixels

TEST(PainterSurface, LinesLeaveOutTheirEndPixelAndRectanglesTheirRightAndBottomEdge) {
  QImage image(12, 12, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    CTPainterSurface surface(&painter, true);
    CTVirtualCanvas canvas(&surface);
    canvas.SetVCBrushStyle(BrushStyle::kClear);
    canvas.MoveTo(0, 0);
    canvas.LineTo(5, 0);
    canvas.DrawRectangle(2, 4, 6, 8);
  }
  const auto black = [&](int x, int y) { return image.pixelColor(x, y) == QColor(Qt::black); };
  EXPECT_TRUE(black(0, 0));
  EXPECT_TRUE(black(4, 0));
  EXPECT_FALSE(black(5, 0));  // the end pixel
  EXPECT_TRUE(black(2, 4));
  EXPECT_TRUE(black(5, 7));   // right and bottom edges at r - 1, b - 1
  EXPECT_FALSE(black(6, 4));
  EXPECT_FALSE(black(2, 8));
}

}  // namespace
