// The PDF writer: documents read back with poppler's tools (text in order,
// word positions, page count and size, pictures), page breaks, page
// decorations, and devices that cannot be written.
//
// Positions are worked out from the page geometry: A4, margins 2.5 cm left
// and 1.5 cm elsewhere, so the text runs from 2.5 cm = 70.87 pt to 19.5 cm
// = 552.76 pt, 17 cm = 642.52 px at 96 ppi wide; a pixel is 0.75 pt.

#include "docs/PdfOutput.h"

#include <QBuffer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double kPtPerCm = 72 / 2.54;
constexpr double kTextLeftPt = 2.5 * kPtPerCm, kTextRightPt = 19.5 * kPtPerCm;

bool HavePoppler() { return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty(); }

// The standard output of a poppler tool (empty when it fails).
QString Poppler(const QString& szTool, const QStringList& args) {
  QProcess tool;
  tool.start(QStandardPaths::findExecutable(szTool), args);
  if (!tool.waitForFinished(30000) || tool.exitCode() != 0) return {};
  return QString::fromUtf8(tool.readAllStandardOutput());
}

// The text of a page (0: all pages) as pdftotext lays it out.
QString PdfText(const QString& szPath, int nPage = 0) {
  QStringList args = {"-layout"};
  if (nPage > 0) args << "-f" << QString::number(nPage) << "-l" << QString::number(nPage);
  return Poppler("pdftotext", args << szPath << "-");
}

int PageCount(const QString& szPath) {
  const QRegularExpressionMatch m = QRegularExpression("Pages:\\s+(\\d+)").match(Poppler("pdfinfo", {szPath}));
  return m.hasMatch() ? m.captured(1).toInt() : -1;
}

// A word as pdftotext finds it: its box in points from the page's top-left.
struct Word {
  int page;
  QString text;
  double xMin, yMin, xMax, yMax;
};

std::vector<Word> Words(const QString& szPath) {
  std::vector<Word> words;
  const QString html = Poppler("pdftotext", {"-bbox", szPath, "-"});
  static const QRegularExpression token(
      "<page |<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>");
  int page = 0;
  for (auto it = token.globalMatch(html); it.hasNext();) {
    const QRegularExpressionMatch m = it.next();
    if (m.captured(0).startsWith("<page")) {
      ++page;
      continue;
    }
    words.push_back({page, m.captured(5), m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble(),
                     m.captured(4).toDouble()});
  }
  return words;
}

const Word* Find(const std::vector<Word>& words, const QString& szText) {
  for (const Word& w : words)
    if (w.text == szText) return &w;
  return nullptr;
}

// Writes a document to a file of dir with a writer on A4.
template <typename F>
QString WritePdf(const QTemporaryDir& dir, F&& fill, const CTDecorationDefinition* pDecorations = nullptr) {
  const QString path = dir.filePath("document.pdf");
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return {};
  CTPdfOutput pdf(file, "Aerolith", 21, 29.7, 2.5, 1.5, 1.5, 1.5, pDecorations);
  fill(pdf);
  pdf.Finish();
  EXPECT_TRUE(pdf.Ok()) << pdf.ErrorText().toStdString();
  return path;
}

// The texts appear in this order (whitespace made single blanks).
void ExpectInOrder(const QString& szText, const std::vector<const char*>& expected) {
  const QString text = szText.simplified();
  qsizetype from = 0;
  for (const char* part : expected) {
    const qsizetype at = text.indexOf(QString::fromUtf8(part), from);
    EXPECT_GE(at, 0) << "'" << part << "' after position " << from << " in\n" << text.toStdString();
    if (at >= 0) from = at + 1;
  }
}

}  // namespace

TEST(PdfOutput, HeadingsTextRichTextAndTableInOrderOnOneA4Page) {
  ASSERT_TRUE(HavePoppler()) << "poppler-utils is installed by scripts/setup.sh";
  QTemporaryDir dir;
  CTDocTable table(3, 3, 0, 1);
  table.SetText(0, 0, "State");
  table.SetText(1, 0, "Temperature");
  table.SetColumnSpan(1, 0, 2);
  table.SetText(0, 1, "Outdoor air");
  table.SetText(1, 1, QString::fromUtf8("35.0 °C"));
  table.SetText(2, 1, "dry\nsummer");
  table.SetLineStyle(2, 1, 1, LTDocLineStyle{true, DrawColors::Rgb(200, 0, 0), true, DocStyle::kBold});
  table.SetText(0, 2, "Room air");
  table.SetText(1, 2, QString::fromUtf8("27.0 °C"));
  table.SetHorAlign(1, 2, DocHorAlign::kRight);
  table.SetBgColor(0, 2, DrawColors::Rgb(255, 255, 0));
  QTextDocument rich;
  rich.setHtml("<p>Rich <b>mixed</b> paragraph</p><ul><li>Bullet item</li></ul>");
  const QString path = WritePdf(dir, [&](CTPdfOutput& pdf) {
    pdf.TextTitle("Selection report");
    pdf.TextHeading(1, "Unit", true);
    pdf.TextStyle("Supply air ", DocStyle::kBold, DrawColors::kWindowText, 0);
    pdf.TextStyle("flow", DocStyle::kItalic | DocStyle::kUnderline, DrawColors::Rgb(0, 0, 255), 0);
    pdf.TextWriteln();
    pdf.TextHeading(2, "Fans", true);
    pdf.TextHeading(2, "Filters", true);
    pdf.TextHeading(3, "Unnumbered", false);
    pdf.TextHeading(0, "Results", true);  // heading 0 and 1 count on the same level
    pdf.TextHeading(2, "Sizes", true);
    pdf.PutDocTable(table);
    pdf.PutRichText(rich, LTDocFont{});
    pdf.TextLeft("End of report", 0, DrawColors::kWindowText);
  });
  ExpectInOrder(PdfText(path), {"Selection report", "1. Unit", "Supply air flow", "1.1. Fans", "1.2. Filters",
                                "Unnumbered", "2. Results", "2.1. Sizes", "State", "Temperature", "Outdoor air",
                                "35.0 °C", "dry", "summer", "Room air", "27.0 °C", "Rich mixed paragraph",
                                "• Bullet item", "End of report"});
  const QString info = Poppler("pdfinfo", {path});
  EXPECT_TRUE(info.contains(QRegularExpression("Pages:\\s+1\\n"))) << info.toStdString();
  EXPECT_TRUE(info.contains(QRegularExpression("Title:\\s+Aerolith\\n"))) << info.toStdString();
  // A4 is 210 x 297 mm: 595.28 x 841.89 pt.
  const QRegularExpressionMatch size = QRegularExpression("Page size:\\s+([\\d.]+) x ([\\d.]+) pts").match(info);
  ASSERT_TRUE(size.hasMatch()) << info.toStdString();
  EXPECT_NEAR(size.captured(1).toDouble(), 595.28, 1.0);
  EXPECT_NEAR(size.captured(2).toDouble(), 841.89, 1.0);
  // The table's cells: its first column at the text's left edge plus the
  // cell's padding (20 twips = 1 pt); the spanned title to the right of it.
  const std::vector<Word> words = Words(path);
  const Word* state = Find(words, "State");
  const Word* temperature = Find(words, "Temperature");
  ASSERT_TRUE(state && temperature);
  EXPECT_NEAR(state->xMin, kTextLeftPt + 1, 0.5);
  EXPECT_NEAR(temperature->yMin, state->yMin, 0.5);
  EXPECT_GT(temperature->xMin, state->xMax);
}

TEST(PdfOutput, ParagraphsAlignAndWrapBetweenTheMargins) {
  ASSERT_TRUE(HavePoppler());
  QTemporaryDir dir;
  const QString path = WritePdf(dir, [](CTPdfOutput& pdf) {
    pdf.TextLeft("Leftmost", 0, DrawColors::kWindowText);
    pdf.TextCenter("Centred", 0, DrawColors::kWindowText);
    pdf.TextRight("Rightmost", 0, DrawColors::kWindowText);
    pdf.TextStyle("Tabbed", 0, DrawColors::kWindowText, 2);
    pdf.TextStyle(" after", 0, DrawColors::kWindowText, 0);
    pdf.TextWriteln();
    QString longText;
    for (int i = 0; i < 60; ++i) longText += QStringLiteral("ventilation%1 ").arg(i);
    pdf.TextLeft(longText, 0, DrawColors::kWindowText);
  });
  const std::vector<Word> words = Words(path);
  const Word* left = Find(words, "Leftmost");
  const Word* centre = Find(words, "Centred");
  const Word* right = Find(words, "Rightmost");
  const Word* tabbed = Find(words, "Tabbed");
  ASSERT_TRUE(left && centre && right && tabbed);
  EXPECT_NEAR(left->xMin, kTextLeftPt, 0.5);
  EXPECT_NEAR((centre->xMin + centre->xMax) / 2, (kTextLeftPt + kTextRightPt) / 2, 0.5);
  EXPECT_NEAR(right->xMax, kTextRightPt, 0.5);
  // Two default tab stops of 283 twips: 28.3 pt from the left edge.
  EXPECT_NEAR(tabbed->xMin, kTextLeftPt + 28.3, 0.5);
  EXPECT_LT(left->yMax, centre->yMin);
  EXPECT_LT(centre->yMax, right->yMin);
  // The long paragraph: every word whole, in order, within the text width,
  // on several lines.
  double lastY = -1, lastX = -1, lastXMax = 0;
  int lines = 0;
  for (int i = 0; i < 60; ++i) {
    const Word* w = Find(words, QStringLiteral("ventilation%1").arg(i));
    ASSERT_TRUE(w) << i;
    EXPECT_GE(w->xMin, kTextLeftPt - 0.5);
    EXPECT_LE(w->xMax, kTextRightPt + 0.5);
    if (w->yMin > lastY + 1) {
      ++lines;
      EXPECT_NEAR(w->xMin, kTextLeftPt, 0.5) << "a line starts at the margin: " << i;
      // It would not have fitted after the line before (a blank is less than 3 pt).
      if (i > 0) {
        EXPECT_GT(lastXMax + 3 + (w->xMax - w->xMin), kTextRightPt) << i;
      }
    } else {
      EXPECT_GT(w->xMin, lastX) << i;
    }
    lastY = w->yMin;
    lastX = w->xMin;
    lastXMax = w->xMax;
  }
  EXPECT_GE(lines, 3);
}

TEST(PdfOutput, NewPageAndLongTablesMakePagesAndRepeatTheTitleRow) {
  ASSERT_TRUE(HavePoppler());
  QTemporaryDir dir;
  // Rows of 100 px, of which the writer takes 50 twips (3.33 px) off as
  // the RTF writer does: 96.67 px. The page holds 29.7 - 3 = 26.7 cm =
  // 1009.1 px of text: 10 rows, not 11 (1063.3 px).
  CTDocTable table(2, 25, 0, 1);
  table.SetText(0, 0, "Quantity");
  table.SetText(1, 0, "Value");
  for (int r = 1; r < 25; ++r) table.SetText(0, r, QStringLiteral("R%1").arg(r, 2, 10, QLatin1Char('0')));
  for (int r = 0; r < 25; ++r) table.SetRowHeight(r, 100);
  table.SetColumnWidth(0, 200);
  table.SetColumnWidth(1, 200);
  const QString path = WritePdf(dir, [&](CTPdfOutput& pdf) {
    pdf.TextLeft("Cover page", 0, DrawColors::kWindowText);
    pdf.NewPage();
    pdf.PutDocTable(table);
  });
  EXPECT_EQ(PageCount(path), 4);
  EXPECT_TRUE(PdfText(path, 1).contains("Cover page"));
  EXPECT_FALSE(PdfText(path, 1).contains("Quantity"));
  // The title row and 9 rows on each page, 6 on the last.
  const struct {
    int page;
    const char* first;
    const char* last;
    const char* next;
  } pages[] = {{2, "R01", "R09", "R10"}, {3, "R10", "R18", "R19"}, {4, "R19", "R24", nullptr}};
  for (const auto& p : pages) {
    const QString text = PdfText(path, p.page);
    EXPECT_TRUE(text.contains("Quantity")) << p.page;
    ExpectInOrder(text, {"Quantity", p.first, p.last});
    if (p.next) {
      EXPECT_FALSE(text.contains(p.next)) << p.page;
    }
  }
}

// A heading goes to the next page with what it heads when both do not fit,
// and no page holds a single row of a table. A table of one tall row fills
// the first page to leave a known room under it (the page holds 1009.13 px
// of text; a row asked for h px is h - 3.33 px high). The heading is 16 px
// of space, an 18-point line of about 27.6 px and 4 px; the six rows are
// 46.67 px each; the picture, 320 x 200 px, is drawn 204.8 x 128 px.
TEST(PdfOutput, HeadingsStayWithWhatTheyHeadAndNoPageHoldsOneRowOfATable) {
  ASSERT_TRUE(HavePoppler());
  const struct {
    const char* name;
    double roomPx;
    bool heading, picture;
    int contentPage;   // where the first row (or the picture) stands
    int rowsOnPage1;   // of the six
  } cases[] = {
      // Heading and one row would fit in 100 px, not the two rows a table
      // opens with: all on page 2.
      {"heading over a table", 100, true, false, 2, 0},
      {"heading over a table with room", 400, true, false, 1, 6},
      // Five rows fit in 250 px, not six: the last would stand alone.
      {"last row alone", 250, false, false, 1, 4},
      // One row fits in 60 px, not two.
      {"first row alone", 60, false, false, 2, 0},
      {"heading over a picture", 100, true, true, 2, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    QTemporaryDir dir;
    CTDocTable filler(1, 1);
    filler.SetColumnWidth(0, 200);
    filler.SetRowHeight(0, int(std::lround(1009.13 + 3.33 - c.roomPx)));
    CTDocTable rows(1, 6);
    rows.SetColumnWidth(0, 200);
    for (int r = 0; r < 6; ++r) {
      rows.SetText(0, r, QStringLiteral("Row%1").arg(r + 1));
      rows.SetRowHeight(r, 50);
    }
    const CTDocDrawnPicture picture(320, 200, [](IDrawSurface& surface) {
      surface.SetFont(LTFont{});
      surface.TextOut(10, 10, "Pictured");
    });
    const QString path = WritePdf(dir, [&](CTPdfOutput& pdf) {
      pdf.PutDocTable(filler);
      if (c.heading) pdf.TextHeading(1, "Kept", false);
      if (c.picture)
        pdf.PutGraphic(1.0, picture, DocHorAlign::kLeft, true);
      else
        pdf.PutDocTable(rows);
    });
    const std::vector<Word> words = Words(path);
    const Word* first = Find(words, c.picture ? "Pictured" : "Row1");
    ASSERT_TRUE(first);
    EXPECT_EQ(first->page, c.contentPage);
    if (c.heading) {
      const Word* heading = Find(words, "Kept");
      ASSERT_TRUE(heading);
      EXPECT_EQ(heading->page, first->page);
      EXPECT_LT(heading->yMax, first->yMin);
    }
    if (c.picture) continue;
    int onPage1 = 0;
    for (int r = 1; r <= 6; ++r) {
      const Word* row = Find(words, QStringLiteral("Row%1").arg(r));
      ASSERT_TRUE(row) << r;
      onPage1 += row->page == 1;
      EXPECT_LE(row->page, 2) << r;
    }
    EXPECT_EQ(onPage1, c.rowsOnPage1);
  }
}

TEST(PdfOutput, PicturesAreVectorsSizedAsTheRtfWriterSizesThem) {
  ASSERT_TRUE(HavePoppler());
  QTemporaryDir dir;
  const auto labelled = [](int nWidth, int nHeight, int nX, const char* szLabel) {
    return CTDocDrawnPicture(nWidth, nHeight, [=](IDrawSurface& surface) {
      surface.SetFont(LTFont{});
      surface.TextOut(nX, 10, szLabel);
      surface.MoveTo(0, nHeight - 1);
      surface.LineTo(nWidth - 1, 0);
    });
  };
  QImage bitmap(40, 20, QImage::Format_RGB32);
  bitmap.fill(Qt::blue);
  const QString path = WritePdf(dir, [&](CTPdfOutput& pdf) {
    // 150 picture pixels to the inch: 320 px are 204.8 document pixels.
    pdf.PutGraphic(1.0, labelled(320, 100, 100, "Narrow"), DocHorAlign::kLeft, true);
    // 1500 px would be 960, wider than the text: drawn 642.52 / 960 as large.
    pdf.PutGraphic(1.0, labelled(1500, 100, 1350, "Wide"), DocHorAlign::kLeft, true);
    pdf.PutGraphic(0.5, labelled(320, 100, 0, "Centre"), DocHorAlign::kCentre, true);
    pdf.PutGraphic(1.0, CTDocImagePicture(bitmap), DocHorAlign::kRight, true);
  });
  const std::vector<Word> words = Words(path);
  const Word* narrow = Find(words, "Narrow");
  const Word* wide = Find(words, "Wide");
  const Word* centre = Find(words, "Centre");
  ASSERT_TRUE(narrow && wide && centre);
  // The label at 100 of 320 px: 64 document pixels in.
  EXPECT_NEAR(narrow->xMin, kTextLeftPt + 64 * 0.75, 0.5);
  // 1350 px of 1500 drawn in 642.52: 578.27 px.
  EXPECT_NEAR(wide->xMin, kTextLeftPt + 578.27 * 0.75, 0.5);
  // 320 x 0.5 x 0.64 = 102.4 px wide, centred: it starts (642.52 - 102.4) / 2
  // = 270.06 px in.
  EXPECT_NEAR(centre->xMin, kTextLeftPt + 270.06 * 0.75, 0.5);
  // The narrow picture is 64 px = 48 pt high, its label 6.4 px = 4.8 pt
  // below its top: the wide one's label is lower by more than 43.2 pt.
  EXPECT_GT(wide->yMin, narrow->yMin + 48 - 4.8);
  // Only the bitmap is an image: the drawn pictures are vectors and text.
  const QStringList images = Poppler("pdfimages", {"-list", path}).split('\n', Qt::SkipEmptyParts);
  // Two heading lines, then one line per image: page, number, "image", size.
  ASSERT_EQ(images.size(), 3) << images.join('\n').toStdString();
  EXPECT_TRUE(images[2].contains(QRegularExpression("^\\s*1\\s+\\d+\\s+image\\s+40\\s+20\\s")))
      << images[2].toStdString();
}

TEST(PdfOutput, HeaderAndFooterOnEveryPage) {
  ASSERT_TRUE(HavePoppler());
  CTDecorationDefinition decorations;
  decorations.v_headerLine = "Confidential";
  decorations.v_mustPrintFooterLine = true;
  decorations.v_footerLine = "Made with care";
  decorations.AddTextZone(true, 0, {"HeadLeft"}, DocHorAlign::kLeft);
  decorations.AddTextZone(true, 0, {"HeadRight", "second"}, DocHorAlign::kLeft);
  decorations.AddPageNrZone(false, 1.0, 15, 2);  // message 15: "Page "
  decorations.AddTextZone(false, 1.0, {"FootCentre"}, DocHorAlign::kLeft);
  decorations.AddTextZone(false, 1.0, {"FootRight"}, DocHorAlign::kLeft);
  QTemporaryDir dir;
  const QString path = WritePdf(
      dir,
      [](CTPdfOutput& pdf) {
        pdf.TextLeft("Body one", 0, DrawColors::kWindowText);
        pdf.NewPage();
        pdf.TextLeft("Body two", 0, DrawColors::kWindowText);
        pdf.NewPage();
      },
      &decorations);
  ASSERT_EQ(PageCount(path), 3);
  for (int page = 1; page <= 3; ++page) {
    const QString text = PdfText(path, page);
    EXPECT_TRUE(text.contains("HeadLeft")) << page;  // centred beside the two lines on the right
    ExpectInOrder(text, {"HeadRight", "second", "Confidential"});
    ExpectInOrder(text, {"Made with care", QStringLiteral("Page %1").arg(page).toUtf8().constData(), "FootCentre",
                         "FootRight"});
  }
  // Header cells: left, right; the body below the header line, the footer
  // below the body.
  const std::vector<Word> words = Words(path);
  const Word* headLeft = Find(words, "HeadLeft");
  const Word* headRight = Find(words, "HeadRight");
  const Word* confidential = Find(words, "Confidential");
  const Word* body = Find(words, "Body");
  const Word* made = Find(words, "Made");
  ASSERT_TRUE(headLeft && headRight && confidential && body && made);
  EXPECT_NEAR(headLeft->xMin, kTextLeftPt + 1, 0.5);
  EXPECT_NEAR(headRight->xMax, kTextRightPt - 1, 0.5);
  EXPECT_GT(headLeft->yMin, 0.5 * 72 - 0.5);  // half an inch from the top
  EXPECT_GT(body->yMin, confidential->yMax);
  EXPECT_GT(made->yMin, body->yMax);
  EXPECT_LT(made->yMax, 841.89 - 36);
}

TEST(PdfOutput, ADeviceThatCannotBeWrittenIsReported) {
  QTemporaryDir dir;
  QFile readOnly(dir.filePath("read-only.pdf"));
  ASSERT_TRUE(readOnly.open(QIODevice::WriteOnly));
  readOnly.close();
  ASSERT_TRUE(readOnly.open(QIODevice::ReadOnly));
  QBuffer closed;
  QFile full("/dev/full");  // takes the bytes, fails to store them
  ASSERT_TRUE(full.open(QIODevice::WriteOnly));
  QBuffer good;
  good.open(QIODevice::WriteOnly);
  const struct {
    const char* name;
    QIODevice* device;
    bool ok;
  } cases[] = {{"read-only file", &readOnly, false},
               {"closed buffer", &closed, false},
               {"full device", &full, false},
               {"open buffer", &good, true}};
  for (const auto& c : cases) {
    CTPdfOutput pdf(*c.device, "Aerolith", 21, 29.7, 2.5, 1.5, 1.5, 1.5);
    CTDocTable table(2, 2);
    table.SetText(1, 1, "cell");
    pdf.TextHeading(1, "Heading", true);
    pdf.PutDocTable(table);
    pdf.PutGraphic(1.0, CTDocDrawnPicture(10, 10, [](IDrawSurface&) {}), DocHorAlign::kLeft, true);
    pdf.NewPage();
    pdf.Finish();
    EXPECT_EQ(pdf.Ok(), c.ok) << c.name;
    EXPECT_EQ(pdf.ErrorText().isEmpty(), c.ok) << c.name;
  }
  EXPECT_EQ(readOnly.size(), 0);
  EXPECT_TRUE(good.data().startsWith("%PDF-"));
  EXPECT_TRUE(good.data().trimmed().endsWith("%%EOF"));
}
