// A real reader of our metafiles: LibreOffice (installed headless by the
// set-up) draws an EMF of the EMF back-end, and the marks land where the
// painter back-end puts them on an image of the same size, within 2 pixels
// at 96 ppi.

#include "charts/BarChart.h"
#include "charts/EmfSurface.h"
#include "charts/PainterSurface.h"
#include "charts/PsychroGraph.h"
#include "charts/VirtCanv.h"
#include "charts/Vgraph.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

namespace {

constexpr int kWidth = 200, kHeight = 100;

// A frame along the picture's edges, a red cross and a blue square.
void Draw(IDrawSurface& surface) {
  CTVirtualCanvas c(&surface);
  c.SetVCBrushStyle(BrushStyle::kClear);
  c.DrawRectangle(0, 0, kWidth, kHeight);
  c.SetVCPenColor(DrawColors::Rgb(255, 0, 0));
  c.MoveTo(40, 10);
  c.LineTo(40, 90);
  c.MoveTo(10, 60);
  c.LineTo(190, 60);
  c.SetVCPenColor(DrawColors::Rgb(0, 0, 255));
  c.SetVCBrushStyle(BrushStyle::kSolid);
  c.SetVCBrushColor(DrawColors::Rgb(0, 0, 255));
  c.DrawRectangle(140, 20, 170, 40);
}

struct Marks {
  QRect frame;         // the black frame
  int redColumn = -1;  // the vertical red line, relative to the frame
  int redRow = -1;     // the horizontal one
  QPoint blueCentre;   // the square's centre, relative to the frame
};

bool Near(QColor c, int r, int g, int b) {
  return std::abs(c.red() - r) < 60 && std::abs(c.green() - g) < 60 && std::abs(c.blue() - b) < 60;
}

std::optional<Marks> Find(const QImage& image) {
  QRect black, blue;
  QMap<int, int> redColumns, redRows;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QColor c = image.pixelColor(x, y);
      if (Near(c, 0, 0, 0)) black |= QRect(x, y, 1, 1);
      if (Near(c, 0, 0, 255)) blue |= QRect(x, y, 1, 1);
      if (Near(c, 255, 0, 0)) {
        ++redColumns[x];
        ++redRows[y];
      }
    }
  if (black.isEmpty() || blue.isEmpty() || redColumns.isEmpty()) return std::nullopt;
  const auto most = [](const QMap<int, int>& counts) {
    int best = -1, n = 0;
    for (auto it = counts.begin(); it != counts.end(); ++it)
      if (it.value() > n) best = it.key(), n = it.value();
    return best;
  };
  return Marks{black, most(redColumns) - black.left(), most(redRows) - black.top(), blue.center() - black.topLeft()};
}

TEST(EmfRender, LibreOfficeDrawsTheMetafileWhereThePainterDoes) {
  const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
  ASSERT_FALSE(soffice.isEmpty()) << "LibreOffice is installed by scripts/setup.sh";
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());

  CTEmfSurface emf(kWidth, kHeight);
  Draw(emf);
  QString error;
  ASSERT_TRUE(emf.Save(dir.filePath("chart.emf"), error)) << error.toStdString();
  QProcess office;
  office.start(soffice, {"-env:UserInstallation=file://" + dir.filePath("profile"), "--headless", "--convert-to", "png",
                         "--outdir", dir.path(), dir.filePath("chart.emf")});
  ASSERT_TRUE(office.waitForFinished(120000)) << "LibreOffice did not finish";
  const QImage drawn(dir.filePath("chart.png"));
  ASSERT_FALSE(drawn.isNull()) << office.readAllStandardError().toStdString();

  QImage painted(kWidth + 1, kHeight + 1, QImage::Format_RGB32);
  painted.fill(Qt::white);
  {
    QPainter painter(&painted);
    CTPainterSurface surface(&painter, true);
    Draw(surface);
  }
  const std::optional<Marks> fromOffice = Find(drawn.convertToFormat(QImage::Format_RGB32));
  const std::optional<Marks> fromPainter = Find(painted);
  ASSERT_TRUE(fromOffice && fromPainter);
  EXPECT_NEAR(fromOffice->frame.width(), fromPainter->frame.width(), 2);
  EXPECT_NEAR(fromOffice->frame.height(), fromPainter->frame.height(), 2);
  EXPECT_NEAR(fromOffice->redColumn, fromPainter->redColumn, 2);
  EXPECT_NEAR(fromOffice->redRow, fromPainter->redRow, 2);
  EXPECT_NEAR(fromOffice->blueCentre.x(), fromPainter->blueCentre.x(), 2);
  EXPECT_NEAR(fromOffice->blueCentre.y(), fromPainter->blueCentre.y(), 2);
  EXPECT_EQ(fromPainter->redColumn, 40);  // and the painter where the canvas put them
  EXPECT_EQ(fromPainter->redRow, 60);
}

// The charts themselves: the process lines of a psychrometric chart and
// the curves of a line graph land where the painter draws them.
QRect ColourBox(const QImage& image, QColor colour) {
  QRect box;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QColor c = image.pixelColor(x, y);
      if (std::abs(c.red() - colour.red()) < 40 && std::abs(c.green() - colour.green()) < 40 &&
          std::abs(c.blue() - colour.blue()) < 40)
        box |= QRect(x, y, 1, 1);
    }
  return box;
}

TEST(EmfRender, LibreOfficeDrawsTheProcessAndTheCurvesWhereThePainterDoes) {
  const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
  ASSERT_FALSE(soffice.isEmpty()) << "LibreOffice is installed by scripts/setup.sh";
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  constexpr int w = 640, h = 480;  // within the page: Draw shows it at its own size
  // A frame to find the picture by, then the chart: a process in red (RA to
  // EA, OA to VO) and a line graph of one blue plot.
  const auto draw = [&](IDrawSurface& surface, bool graph) {
    CTVirtualCanvas frame(&surface);
    frame.SetVCBrushStyle(BrushStyle::kClear);
    frame.DrawRectangle(0, 0, w, h);
    if (!graph) {
      TPsychroDiagram d(&surface, nullptr, nullptr, nullptr);
      d.SetDimensions(w, h);
      d.AddPoint(1, "", 26, 0.0105, 0, false);
      d.AddPoint(2, "", 33, 0.0142, 1, false);
      d.AddPoint(3, "", 35, 0.0178, 0, false);
      d.AddPoint(7, "", 28, 0.0140, 3, false);
      TAirPropDiagram::Settings().dbt = TAirPropDiagram::Settings().ah = DrawColors::kWhite;  // only the process
      TAirPropDiagram::Settings().rh = TAirPropDiagram::Settings().e = DrawColors::kWhite;
      d.DrawDiagram(false);
      TAirPropDiagram::RestoreRegistryDefaults();
      return;
    }
    std::vector<TLegend*> plots{new TLegend("P", "Plot", true)};
    plots[0]->SetColor(DrawColors::Rgb(0, 0, 255));
    TVirtLineGraph g(&surface, [](TVirtGraph&, int, int j, void*) { return 20.0 + j * 0.5; }, nullptr, nullptr);
    g.SetDimensions(w, h);
    g.SetBorder(12);
    g.SetPlots(plots, true);
    g.SetXValues(100, {"0", "50", "100"});
    g.SetYValues(0, 100, 0);
    g.DrawOutline(false, false);
    g.DrawGraph();
  };
  for (const bool graph : {false, true}) {
    const QString name = graph ? "graph" : "process";
    CTEmfSurface emf(w, h);
    TAirPropDiagram::RestoreRegistryDefaults();
    draw(emf, graph);
    QString error;
    ASSERT_TRUE(emf.Save(dir.filePath(name + ".emf"), error));
    QProcess office;
    office.start(soffice, {"-env:UserInstallation=file://" + dir.filePath("profile"), "--headless", "--convert-to",
                           "png", "--outdir", dir.path(), dir.filePath(name + ".emf")});
    ASSERT_TRUE(office.waitForFinished(120000));
    const QImage drawn = QImage(dir.filePath(name + ".png")).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(drawn.isNull());
    QImage painted(w + 1, h + 1, QImage::Format_RGB32);
    painted.fill(Qt::white);
    {
      QPainter painter(&painted);
      CTPainterSurface surface(&painter, true);
      draw(surface, graph);
    }
    const QColor mark = graph ? QColor(0, 0, 255) : QColor(255, 0, 0);
    const QRect officeFrame = ColourBox(drawn, Qt::black), painterFrame = ColourBox(painted, Qt::black);
    const QRect fromOffice = ColourBox(drawn, mark).translated(-officeFrame.topLeft());
    const QRect fromPainter = ColourBox(painted, mark).translated(-painterFrame.topLeft());
    ASSERT_FALSE(fromPainter.isEmpty()) << name.toStdString();
    ASSERT_FALSE(fromOffice.isEmpty()) << name.toStdString();
    // Draw fits a picture wider than its page to the page: positions are
    // compared at the picture's own size, 96 ppi.
    const double sx = double(painterFrame.width()) / officeFrame.width();
    const double sy = double(painterFrame.height()) / officeFrame.height();
    EXPECT_NEAR(fromOffice.left() * sx, fromPainter.left(), 2) << name.toStdString();
    EXPECT_NEAR(fromOffice.right() * sx, fromPainter.right(), 2) << name.toStdString();
    EXPECT_NEAR(fromOffice.top() * sy, fromPainter.top(), 2) << name.toStdString();
    EXPECT_NEAR(fromOffice.bottom() * sy, fromPainter.bottom(), 2) << name.toStdString();
  }
}

// The bar chart in a metafile, as LibreOffice draws it, puts its bars
// where the painter back-end does, within 2 pixels at 96 ppi.
TEST(BarChart, LibreOfficeDrawsTheMetafileBarsWhereThePainterDoes) {
  const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
  ASSERT_FALSE(soffice.isEmpty()) << "LibreOffice is installed by scripts/setup.sh";
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  constexpr int w = 640, h = 480;
  const QColor blue(0, 0, 255), red(255, 0, 0);
  const LTBarChartData data{"Sound power",
                            "Lw (dB)",
                            {"63", "125", "250", "500", "1k", "2k", "4k", "8k"},
                            {{"Supply", {62, 68, 71, 74, 70, 66, 60, 52}, DrawColors::Rgb(0, 0, 255)},
                             {"Exhaust", {58, 64, 67, 70, 69, 63, 57, 49}, DrawColors::Rgb(255, 0, 0)}},
                            0};
  // A black frame to find the picture by, then the chart.
  const auto draw = [&](IDrawSurface& surface) {
    CTVirtualCanvas frame(&surface);
    frame.SetVCBrushStyle(BrushStyle::kClear);
    frame.DrawRectangle(0, 0, w, h);
    CTBarChart(data).Draw(surface, QRect(0, 0, w, h));
  };
  CTEmfSurface emf(w, h);
  draw(emf);
  QString error;
  ASSERT_TRUE(emf.Save(dir.filePath("bars.emf"), error)) << error.toStdString();
  QProcess office;
  office.start(soffice, {"-env:UserInstallation=file://" + dir.filePath("profile"), "--headless", "--convert-to", "png",
                         "--outdir", dir.path(), dir.filePath("bars.emf")});
  ASSERT_TRUE(office.waitForFinished(120000)) << "LibreOffice did not finish";
  const QImage drawn = QImage(dir.filePath("bars.png")).convertToFormat(QImage::Format_RGB32);
  ASSERT_FALSE(drawn.isNull()) << office.readAllStandardError().toStdString();
  QImage painted(w + 1, h + 1, QImage::Format_RGB32);
  painted.fill(Qt::white);
  {
    QPainter painter(&painted);
    CTPainterSurface surface(&painter, true);
    draw(surface);
  }
  const QRect officeFrame = ColourBox(drawn, Qt::black), painterFrame = ColourBox(painted, Qt::black);
  // The page may scale the picture: positions compare at its own size.
  const double sx = double(painterFrame.width()) / officeFrame.width();
  const double sy = double(painterFrame.height()) / officeFrame.height();
  for (const QColor& colour : {blue, red}) {
    const QRect fromOffice = ColourBox(drawn, colour).translated(-officeFrame.topLeft());
    const QRect fromPainter = ColourBox(painted, colour).translated(-painterFrame.topLeft());
    ASSERT_FALSE(fromPainter.isEmpty());
    ASSERT_FALSE(fromOffice.isEmpty());
    EXPECT_NEAR(fromOffice.left() * sx, fromPainter.left(), 2) << colour.name().toStdString();
    EXPECT_NEAR(fromOffice.right() * sx, fromPainter.right(), 2) << colour.name().toStdString();
    EXPECT_NEAR(fromOffice.top() * sy, fromPainter.top(), 2) << colour.name().toStdString();
    EXPECT_NEAR(fromOffice.bottom() * sy, fromPainter.bottom(), 2) << colour.name().toStdString();
  }
}

}  // namespace
