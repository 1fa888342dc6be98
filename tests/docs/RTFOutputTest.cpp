// The RTF writer: the header and table syntax pinned byte for byte (the
// expected text is written here from the format's description), text
// escaping, colours, spans, pictures, and a report-like document that
// LibreOffice Writer opens.

#include "charts/EmfSurface.h"
#include "docs/PdfOutput.h"
#include "docs/PrintParams.h"
#include "docs/RTFOutput.h"
#include "i18n/BuildDistributor.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetrics>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Writes with a fresh writer on an A4 page (margins 2.5 left, 1.5 elsewhere).
template <typename F>
QByteArray Rtf(F&& fill, double w = 21, double h = 29.7) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  {
    CTRTFOutput rtf(buffer, "Aerolith", w, h, 2.5, 1.5, 1.5, 1.5);
    fill(rtf);
  }
  return buffer.data();
}

// The header of an empty A4 document, from the format's description.
QByteArray ExpectedHeader() {
  QByteArray h =
      "{\\rtf1\\ansi\\ansicpg1252\\uc0\r\n"
      "\\deff0\\deflang1033\\deflangfe1033\r\n"
      "{\\fonttbl\r\n"
      "{\\f0\\fnil\\fcharset0\\fprq0 Arial;}\r\n"
      "{\\f1\\fnil\\fcharset0\\fprq0 Tahoma;}\r\n"
      "{\\f2\\fnil\\fcharset0\\fprq0 Verdana;}\r\n"
      "{\\f3\\fnil\\fcharset0\\fprq0 Courier New;}\r\n"
      "{\\f4\\fnil\\fcharset0\\fprq0 Segoe UI;}\r\n"
      "{\\f5\\fnil\\fcharset0\\fprq0 MS Sans Serif;}\r\n"
      "}\r\n"
      "{\\colortbl;\r\n"
      "\\red0\\green0\\blue0;\r\n\\red0\\green0\\blue255;\r\n\\red0\\green255\\blue255;\r\n"
      "\\red0\\green128\\blue0;\r\n\\red255\\green0\\blue255;\r\n\\red255\\green0\\blue0;\r\n"
      "\\red255\\green255\\blue0;\r\n\\red255\\green255\\blue255;\r\n\\red0\\green0\\blue128;\r\n"
      "\\red0\\green255\\blue0;\r\n\\red128\\green128\\blue0;\r\n\\red128\\green0\\blue128;\r\n"
      "\\red128\\green0\\blue0;\r\n\\red0\\green128\\blue128;\r\n\\red128\\green128\\blue128;\r\n"
      "\\red192\\green192\\blue192;\r\n\\red255\\green128\\blue64;\r\n\\red224\\green224\\blue224;\r\n"
      "}\r\n"
      "{\\stylesheet\r\n"
      "{\\nowidctlpar\\widctlpar\\adjustright \\fs20\\cgrid \\snext0 Normal;}\r\n"
      "{\\s1\\sb240\\sa60\\keepn\\nowidctlpar\\widctlpar\\tx567\\ls1\\outlinelevel-1\\adjustright "
      "\\b\\cf0\\f0\\fs40\\cgrid \\sbasedon0 \\snext0 heading 1;}\r\n"
      "{\\s2\\sb240\\sa60\\keepn\\nowidctlpar\\widctlpar\\tx567\\ls1\\outlinelevel0\\adjustright "
      "\\b\\cf0\\f0\\fs36\\cgrid \\sbasedon0 \\snext0 heading 1;}\r\n"
      "{\\s3\\sb240\\sa60\\keepn\\nowidctlpar\\widctlpar\\tx567\\ls1\\ilvl1\\outlinelevel1\\adjustright "
      "\\b\\i\\cf0\\f0\\fs32\\cgrid \\sbasedon0 \\snext0 heading 2;}\r\n"
      "{\\s4\\sb240\\sa60\\keepn\\nowidctlpar\\widctlpar\\tx851\\ls1\\ilvl2\\outlinelevel2\\adjustright "
      "\\b\\cf0\\f0\\fs28\\cgrid \\sbasedon0 \\snext0 heading 3;}\r\n"
      "{\\s5\\sb240\\sa60\\keepn\\nowidctlpar\\widctlpar\\tx1134\\ls1\\ilvl3\\outlinelevel3\\adjustright "
      "\\b\\i\\cf0\\f0\\fs24\\cgrid \\sbasedon0 \\snext0 heading 4;}\r\n"
      "{\\s6\\sb240\\sa60\\keepn\\nowidctlpar\\widctlpar\\adjustright \\b\\cf0\\f0\\fs24\\cgrid \\sbasedon0 \\snext0 "
      "heading 5;}\r\n"
      "{\\s7\\sb240\\sa60\\keepn\\nowidctlpar\\widctlpar\\adjustright \\b\\cf0\\f0\\fs20\\cgrid \\sbasedon0 \\snext0 "
      "heading 6;}\r\n"
      "{\\*\\cs10 \\additive Default Paragraph Font;}\r\n"
      "{\\s15\\nowidctlpar\\widctlpar \\fs20\\cgrid \\sbasedon0 \\snext15 header;}\r\n"
      "{\\s16\\nowidctlpar\\widctlpar \\fs20\\cgrid \\sbasedon0 \\snext16 footer;}\r\n"
      "{\\*\\cs17 \\additive \\sbasedon10 page number;}\r\n"
      "}\r\n"
      "{\\*\\listtable\r\n"
      "{\\list\\listtemplateid67698719\r\n";
  const char* levels[9][2] = {
      {"{\\leveltext\\'02\\'00.;}", "{\\levelnumbers\\'01;}\\fi-360\\li360\\jclisttab\\tx360 }"},
      {"{\\leveltext\\'04\\'00.\\'01.;}", "{\\levelnumbers\\'01\\'03;}\\fi-432\\li792\\jclisttab\\tx1080 }"},
      {"{\\leveltext\\'06\\'00.\\'01.\\'02.;}", "{\\levelnumbers\\'01\\'03\\'05;}\\fi-504\\li1224\\jclisttab\\tx1800 }"},
      {"{\\leveltext\\'08\\'00.\\'01.\\'02.\\'03.;}",
       "{\\levelnumbers\\'01\\'03\\'05\\'07;}\\fi-648\\li1728\\jclisttab\\tx2160 }"},
      {"{\\leveltext\\'0a\\'00.\\'01.\\'02.\\'03.\\'04.;}",
       "{\\levelnumbers\\'01\\'03\\'05\\'07\\'09;}\\fi-792\\li2232\\jclisttab\\tx2880 }"},
      {"{\\leveltext\\'0c\\'00.\\'01.\\'02.\\'03.\\'04.\\'05.;}",
       "{\\levelnumbers\\'01\\'03\\'05\\'07\\'09\\'0b;}\\fi-936\\li2736\\jclisttab\\tx3600 }"},
      {"{\\leveltext\\'0e\\'00.\\'01.\\'02.\\'03.\\'04.\\'05.\\'06.;}",
       "{\\levelnumbers\\'01\\'03\\'05\\'07\\'09\\'0b\\'0d;}\\fi-1080\\li3240\\jclisttab\\tx4320 }"},
      {"{\\leveltext\\'10\\'00.\\'01.\\'02.\\'03.\\'04.\\'05.\\'06.\\'07.;}",
       "{\\levelnumbers\\'01\\'03\\'05\\'07\\'09\\'0b\\'0d\\'0f;}\\fi-1224\\li3744\\jclisttab\\tx4680 }"},
      {"{\\leveltext\\'12\\'00.\\'01.\\'02.\\'03.\\'04.\\'05.\\'06.\\'07.\\'08.;}",
       "{\\levelnumbers\\'01\\'03\\'05\\'07\\'09\\'0b\\'0d\\'0f\\'11;}\\fi-1440\\li4320\\jclisttab\\tx5400 }"},
  };
  for (const auto& level : levels) {
    h += "{\\listlevel\\levelnfc0\\leveljc0\\levelfollow0\\levelstartat1\\levelspace0\\levelindent0\r\n";
    h += QByteArray(level[0]) + "\r\n" + level[1] + "\r\n";
  }
  h += "{\\listname ;}\r\n\\listid1411465531\r\n}\r\n}\r\n"
       "{\\*\\listoverridetable{\\listoverride\\listid1411465531\\listoverridecount0\\ls1}}\r\n"
       "\\widowctrl\\ftnbj\\aenddoc\\formshade\\viewkind1\\viewscale100\\pgbrdrhead\\pgbrdrfoot"
       "\\paperw11906\\paperh16838\\margl1417\\margr850\\margt850\\margb850\\deftab283 \\fet0\\sectd\r\n"
       "\\noxlattoyen\r\n"
       "\\linex0\\endnhere\\sectdefaultcl\r\n"
       "{\\*\\pnseclvl1\\pnucrm\\pnstart1\\pnindent720\\pnhang{\\pntxta .}}\r\n"
       "{\\*\\pnseclvl2\\pnucltr\\pnstart1\\pnindent720\\pnhang{\\pntxta .}}\r\n"
       "{\\*\\pnseclvl3\\pndec\\pnstart1\\pnindent720\\pnhang{\\pntxta .}}\r\n"
       "{\\*\\pnseclvl4\\pnlcltr\\pnstart1\\pnindent720\\pnhang{\\pntxta )}}\r\n"
       "{\\*\\pnseclvl5\\pndec\\pnstart1\\pnindent720\\pnhang{\\pntxtb (}{\\pntxta )}}\r\n"
       "{\\*\\pnseclvl6\\pnlcltr\\pnstart1\\pnindent720\\pnhang{\\pntxtb (}{\\pntxta )}}\r\n"
       "{\\*\\pnseclvl7\\pnlcrm\\pnstart1\\pnindent720\\pnhang{\\pntxtb (}{\\pntxta )}}\r\n"
       "{\\*\\pnseclvl8\\pnlcltr\\pnstart1\\pnindent720\\pnhang{\\pntxtb (}{\\pntxta )}}\r\n"
       "{\\*\\pnseclvl9\\pnlcrm\\pnstart1\\pnindent720\\pnhang{\\pntxtb (}{\\pntxta )}}\r\n";
  return h;
}

bool HaveOfficeAndPoppler() {
  return !QStandardPaths::findExecutable(QStringLiteral("soffice")).isEmpty() &&
         !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty();
}

// The text of an RTF document as LibreOffice Writer prints it to PDF
// (empty when the conversion fails).
QString PdfText(const QString& rtfPath, const QTemporaryDir& dir) {
  QProcess office;
  office.start(QStandardPaths::findExecutable(QStringLiteral("soffice")),
               {"-env:UserInstallation=file://" + dir.filePath("profile"), "--headless", "--convert-to", "pdf",
                "--outdir", dir.path(), rtfPath});
  if (!office.waitForFinished(120000)) return {};
  QProcess text;
  text.start(QStandardPaths::findExecutable(QStringLiteral("pdftotext")),
             {"-layout", QString(rtfPath).replace(QStringLiteral(".rtf"), QStringLiteral(".pdf")), "-"});
  if (!text.waitForFinished(30000)) return {};
  return QString::fromUtf8(text.readAllStandardOutput());
}

class Picture : public CTDocGraphic {
 public:
  Picture(int w, int h, QByteArray emf) : v_w(w), v_h(h), v_emf(std::move(emf)) {}
  int Width() const override { return v_w; }
  int Height() const override { return v_h; }
  QByteArray Emf() const override { return v_emf; }
  void Paint(QPainter&, const QRectF&) const override {}

 private:
  int v_w, v_h;
  QByteArray v_emf;
};

}  // namespace

TEST(RTFOutput, AnEmptyDocumentIsHeaderAndClosingBrace) {
  EXPECT_EQ(Rtf([](CTRTFOutput&) {}), ExpectedHeader() + "}\r\n");
}

TEST(RTFOutput, ASmallTableByteForByte) {
  CTDocTable table(3, 2, 0, 1);
  table.SetText(0, 0, "Name");
  table.SetColumnSpan(1, 0, 2);
  table.SetText(1, 0, "Value");
  table.SetText(0, 1, "RA");
  table.SetText(1, 1, "27.0");
  table.SetHorAlign(1, 1, DocHorAlign::kRight);
  for (int c = 0; c < 3; ++c) table.SetColumnWidth(c, 96);  // an inch each: 1440 twips
  table.SetRowHeight(0, 20);
  table.SetRowHeight(1, 2);  // below the padding: never a negative height
  const QByteArray body = Rtf([&](CTRTFOutput& rtf) { rtf.PutDocTable(table); }).mid(ExpectedHeader().size());
  const QByteArray pad = " \\trpaddft3\\trpaddt40\\trpaddfb3\\trpaddb10\\trpaddfl3\\trpaddl20\\trpaddfr3\\trpaddr20 ";
  const QByteArray expected =
      "\\trowd \\trgaph20\\trrh250" + pad + "\\trhdr\r\n"
      // Title row: the top edge is the table's (black, index 1); title
      // borders grey (index 15); the title background light grey (18).
      "\\clvertalt \\clbrdrt\\brdrs\\brdrw10\\brdrcf1 \\clbrdrb\\brdrs\\brdrw10\\brdrcf15 "
      "\\clbrdrl\\brdrs\\brdrw10\\brdrcf1 \\clbrdrr\\brdrs\\brdrw10\\brdrcf15 \\clcbpat18 \\cltxlrtb \\cellx1440\r\n"
      "\\clvertalt \\clbrdrt\\brdrs\\brdrw10\\brdrcf1 \\clbrdrb\\brdrs\\brdrw10\\brdrcf15 "
      "\\clbrdrr\\brdrs\\brdrw10\\brdrcf1 \\clcbpat18 \\cltxlrtb \\cellx4320\r\n"
      "\\pard \\intbl \\ql \\cf0\\f0\\fs20\\cgrid Name \\cell\r\n"
      "\\pard \\intbl \\ql \\cf0\\f0\\fs20\\cgrid Value \\cell\r\n"
      "\\row \\pard\r\n"
      "\\trowd \\trgaph20\\trrh0" + pad + "\r\n"
      "\\clvertalt \\clbrdrb\\brdrs\\brdrw10\\brdrcf1 \\clbrdrl\\brdrs\\brdrw10\\brdrcf1 "
      "\\clbrdrr\\brdrs\\brdrw10\\brdrcf15 \\clcbpat0 \\cltxlrtb \\cellx1440\r\n"
      "\\clvertalt \\clbrdrb\\brdrs\\brdrw10\\brdrcf1 \\clbrdrr\\brdrs\\brdrw10\\brdrcf15 \\clcbpat0 \\cltxlrtb "
      "\\clpadfr3\\clpadr40\\cellx2880\r\n"
      "\\clvertalt \\clbrdrb\\brdrs\\brdrw10\\brdrcf1 \\clbrdrr\\brdrs\\brdrw10\\brdrcf1 \\clcbpat0 \\cltxlrtb "
      "\\cellx4320\r\n"
      "\\pard \\intbl \\ql \\cf0\\f0\\fs20\\cgrid RA \\cell\r\n"
      "\\pard \\intbl \\qr \\cf0\\f0\\fs20\\cgrid 27.0 \\cell\r\n"
      "\\pard \\intbl \\ql \\cf0\\f0\\fs20\\cgrid  \\cell\r\n"
      "\\row \\pard\r\n"
      "}\r\n";
  EXPECT_EQ(body, expected);
}

TEST(RTFOutput, TextIsEscapedAndColoursLookedUp) {
  const QByteArray body = Rtf([](CTRTFOutput& rtf) {
                            rtf.TextWrite(QString::fromUtf8("a{b}\\c \u20AC\uFFFD"));
                            rtf.TextStyle("x", DocStyle::kBold, 0x123456, 1);  // not in the table: automatic
                            rtf.TextStyle("y", 0, 0x0000FF, 0);                // red
                          }).mid(ExpectedHeader().size());
  EXPECT_EQ(body, "\\cf0\\f0\\fs20\\cgrid a\\u123 b\\u125 \\u92 c \\u8364 \\u-3 "
                  "\\b\\cf0\\f0\\fs20\\cgrid \\tab x\\b0 "
                  "\\cf6\\f0\\fs20\\cgrid y"
                  "}\r\n");
  // Font names are escaped in the font table too.
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  {
    CTRTFOutput rtf(buffer, "Aerolith", 21, 29.7, 2.5, 1.5, 1.5, 1.5);
    rtf.SetFontCharacteristics(CTDocOutput::kNormal, {"Odd}Font", 11, 0, DrawColors::kWindowText});
  }
  EXPECT_TRUE(buffer.data().contains("{\\f6\\fnil\\fcharset0\\fprq0 Odd\\u125 Font;}"));
}

TEST(RTFOutput, HeadingsLandscapeAndPictures) {
  const QByteArray landscape = Rtf([](CTRTFOutput&) {}, 29.7, 21);
  EXPECT_TRUE(landscape.contains("\\noxlattoyen\r\n\\lndscpsxn\r\n"));
  const QByteArray body = Rtf([](CTRTFOutput& rtf) {
                            rtf.TextHeading(1, "Selection", true);
                            rtf.PutGraphic(1.0, Picture(0, 10, "ABC"), DocHorAlign::kCentre, true);  // empty: nothing
                            rtf.PutGraphic(1.0, Picture(120, 60, QByteArray(130, '\x5A')), DocHorAlign::kCentre, true);
                          }).mid(ExpectedHeader().size());
  const QByteArray heading =
      "{\\listtext\\pard\\plain\\s2\r\n"
      "\\b\\cf0\\f0\\fs36\\cgrid \\hich\\af1\\dbch\\af0\\loch\\f1 X.\\tab\r\n"
      "}\r\n"
      "\\pard\\plain\r\n"
      "{\r\n"
      "\\s2\\sb240\\sa60\\keepn\\nowidctlpar\\widctlpar\\tx567\\ls1\\outlinelevel0\\adjustright \\b\\cf0\\f0\\fs36\\cgrid "
      "Selection\\par\r\n"
      "}\r\n";
  ASSERT_TRUE(body.startsWith(heading)) << body.toStdString();
  // 120 x 60 px at scale 1 and 96 ppi: 0.8 x 1440 = 1152 and 576 twips.
  const QByteArray picture = body.mid(heading.size());
  EXPECT_TRUE(picture.startsWith("\\qc {\\*\\shppict {\\pict \\emfblip\\picscalex100\\picscaley100\\picwgoal1152"
                                 "\\pichgoal576\r\n"))
      << picture.toStdString();
  EXPECT_TRUE(picture.contains(QByteArray(130, 'Z').toHex().toUpper().left(130)));
  EXPECT_TRUE(picture.endsWith("}}\r\n\\par \\ql\r\n}\r\n"));
}

TEST(RTFOutput, LibreOfficeWriterOpensADocumentWithATableAndAPicture) {
  ASSERT_TRUE(HaveOfficeAndPoppler()) << "LibreOffice and poppler are installed by scripts/setup.sh";
  CTDocTable table(2, 3, 0, 1);
  table.SetText(0, 0, "State");
  table.SetText(1, 0, "Dry bulb");
  table.SetText(0, 1, "Room air");
  table.SetText(1, 1, QString::fromUtf8("27.0 °C"));
  table.SetText(0, 2, "Outdoor air");
  table.SetText(1, 2, QString::fromUtf8("35.0 °C"));
  table.CalculatePixelSizes();
  CTEmfSurface chart(320, 200);
  chart.SetFont(LTFont{});
  chart.TextOut(20, 20, "Airflow axis");
  chart.MoveTo(10, 190);
  chart.LineTo(310, 10);
  QTemporaryDir dir;
  QFile file(dir.filePath("report.rtf"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  {
    CTRTFOutput rtf(file, "Aerolith", 21, 29.7, 2.5, 1.5, 1.5, 1.5);
    rtf.TextHeading(1, QString::fromUtf8("Psychrometric points — cooling"), true);
    rtf.PutDocTable(table);
    rtf.PutGraphic(1.0, CTDocEmfPicture(chart.Bytes(), 320, 200), DocHorAlign::kLeft, true);
    rtf.TextLeft("End of report", 0, DrawColors::kWindowText);
  }
  file.close();
  const QString pdf = PdfText(file.fileName(), dir);
  ASSERT_FALSE(pdf.isEmpty());
  for (const char* expected : {"1. Psychrometric points — cooling", "State", "Dry bulb", "Room air", "27.0 °C",
                               "Outdoor air", "35.0 °C", "Airflow axis", "End of report"})
    EXPECT_TRUE(pdf.contains(QString::fromUtf8(expected))) << expected << "\n" << pdf.toStdString();
}

TEST(RTFOutput, HeaderAndFooterFromThePageDecorations) {
  CTDecorationDefinition decorations;
  decorations.v_headerLine = "Confidential";
  decorations.v_mustPrintFooterLine = true;
  decorations.v_footerLine = "Made with {care}";
  decorations.AddTextZone(true, 0, {"Left"}, DocHorAlign::kLeft);
  decorations.AddTextZone(true, 0, {"Right", "two"}, DocHorAlign::kLeft);
  decorations.AddPageNrZone(false, 1.0, 15, 2);
  for (int i = 0; i < 3; ++i) decorations.AddTextZone(false, 1.0, {"more"}, DocHorAlign::kLeft);
  EXPECT_EQ(decorations.DecorationListFor(false).size(), 3u);  // a fourth is ignored
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  { CTRTFOutput writer(buffer, "Aerolith", 21, 29.7, 2.5, 1.5, 1.5, 1.5, &decorations); }
  const QByteArray rtf = buffer.data();
  // 11906 - 1417 - 850 = 9639 twips between the margins.
  const QByteArray header =
      "\\linex0\\endnhere\\sectdefaultcl\r\n"
      "{\\header \\pard\\plain \\s15\\nowidctlpar\\widctlpar \\fs20\\cgrid\r\n"
      "\\trowd \\trgaph20\\trrh200\r\n"
      "\\clvertalc \\clcbpat0 \\cltxlrtb \\cellx3213\r\n"
      "\\clvertalc \\clcbpat0 \\cltxlrtb \\cellx6426\r\n"
      "\\clvertalc \\clcbpat0 \\cltxlrtb \\cellx9639\r\n"
      "\\pard \\intbl \\ql {\\cs17 Left} \\cell\r\n"
      "\\pard \\intbl \\qc  \\cell\r\n"
      "\\pard \\intbl \\qr {\\cs17 Right}{\\par}\r\n{\\cs17 two} \\cell\r\n"
      "\\row \\pard\r\n"
      "{\\fs16 \\par\\par Confidential}\r\n"
      "}\r\n"
      "{\\footer \\pard\\plain \\s16\\nowidctlpar\\widctlpar \\fs20\\cgrid\r\n"
      "{\\fs13 Made with \\u123 care\\u125  \\par\\par}\r\n"
      "\\trowd \\trgaph20\\trrh200\r\n"
      "\\clvertalb \\clcbpat0 \\cltxlrtb \\cellx3213\r\n"
      "\\clvertalc \\clcbpat0 \\cltxlrtb \\cellx6426\r\n"
      "\\clvertalc \\clcbpat0 \\cltxlrtb \\cellx9639\r\n"
      "\\pard \\intbl \\ql {\\cs17 Page }{\\field{\\*\\fldinst {\\cs17 PAGE }}\r\n"
      "{\\fldrslt {\\cs17\\lang1024 1}}} \\cell\r\n"
      "\\pard \\intbl \\qc {\\cs17 more} \\cell\r\n"
      "\\pard \\intbl \\qr {\\cs17 more} \\cell\r\n"
      "\\row \\pard\r\n"
      "}\r\n"
      "{\\*\\pnseclvl1";
  EXPECT_TRUE(rtf.contains(header)) << rtf.mid(rtf.indexOf("\\linex0"), 1400).toStdString();
  // Nothing to show: no header group at all.
  CTDecorationDefinition empty;
  QBuffer none;
  none.open(QIODevice::WriteOnly);
  { CTRTFOutput writer(none, "Aerolith", 21, 29.7, 2.5, 1.5, 1.5, 1.5, &empty); }
  EXPECT_FALSE(none.data().contains("{\\header"));
  EXPECT_FALSE(none.data().contains("{\\footer"));
}

TEST(RTFOutput, TheReportDecorationsInLibreOffice) {
  // No distributor lines: three empty paragraphs in the footer's left cell.
  CTPrintParams::Save({}, QString());
  QBuffer empty;
  empty.open(QIODevice::WriteOnly);
  { CTRTFOutput writer(empty, "Aerolith", 21, 29.7, 2.5, 1.5, 1.5, 1.5, &CTPrintParams::GetPageDecorations()); }
  EXPECT_TRUE(empty.data().contains("\\pard \\intbl \\ql {\\cs17 }{\\par}\r\n{\\cs17 }{\\par}\r\n{\\cs17 } \\cell"));
  // Two logos embedded in the header (the distributor's logo file is not set).
  EXPECT_EQ(empty.data().count("\\emfblip"), 2);

  CTPrintParams::Save({"  Acme Ventilation Ltd  ", "1 Fan Street", "Springfield"}, QString());
  EXPECT_EQ(CTPrintParams::GetLine(1), "Acme Ventilation Ltd");
  ASSERT_TRUE(HaveOfficeAndPoppler()) << "LibreOffice and poppler are installed by scripts/setup.sh";
  QTemporaryDir dir;
  QFile file(dir.filePath("decorated.rtf"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  {
    CTRTFOutput rtf(file, "Aerolith", 21, 29.7, 2.5, 1.5, 1.5, 1.5, &CTPrintParams::GetPageDecorations());
    rtf.TextLeft("Body text", 0, DrawColors::kWindowText);
  }
  file.close();
  const QString pdf = PdfText(file.fileName(), dir);
  ASSERT_FALSE(pdf.isEmpty());
  for (const char* expected : {"Body text", "Acme Ventilation Ltd", "1 Fan Street", "Springfield", "Page 1"})
    EXPECT_TRUE(pdf.contains(QString::fromUtf8(expected))) << expected << "\n" << pdf.toStdString();
}

TEST(RTFOutput, TheFooterCentreHoldsTheDistributorLinesOfTheAboutBox) {
  // A build whose distributor has a first and a third line; the second is
  // the translator's mark for "none".
  const std::unique_ptr<CTDecorationDefinition> decorations = CTPrintParams::MakePageDecorations(
      {{"Acme Ventilation Ltd", "1 Fan Street", "Springfield"}, QString(), {"Klima AG", "<r-t>", "Bern"}});
  const auto& footer = decorations->DecorationListFor(false);
  ASSERT_EQ(footer.size(), 3u);
  ASSERT_EQ(footer[1]->GetKind(), CTPageDecoration::Kind::kText);
  const auto& centre = static_cast<const CTTextDecoration&>(*footer[1]);
  EXPECT_EQ(centre.v_strs, (QStringList{"Klima AG", "Bern"}));
  EXPECT_EQ(centre.v_alignment, DocHorAlign::kCentre);
  QBuffer rtf;
  rtf.open(QIODevice::WriteOnly);
  { CTRTFOutput writer(rtf, "Aerolith", 21, 29.7, 2.5, 1.5, 1.5, 1.5, decorations.get()); }
  EXPECT_TRUE(rtf.data().contains("\\pard \\intbl \\qc {\\cs17 Klima AG}{\\par}\r\n{\\cs17 Bern} \\cell"));

  // The PDF writer prints them between the user's lines and the page number.
  ASSERT_FALSE(QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty());
  QTemporaryDir dir;
  QFile file(dir.filePath("footer.pdf"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  {
    CTPdfOutput pdf(file, "Aerolith", 21, 29.7, 2.5, 1.5, 1.5, 1.5, decorations.get());
    pdf.TextLeft("Body text", 0, DrawColors::kWindowText);
    pdf.Finish();
    ASSERT_TRUE(pdf.Ok()) << pdf.ErrorText().toStdString();
  }
  file.close();
  QProcess text;
  text.start(QStandardPaths::findExecutable(QStringLiteral("pdftotext")), {"-layout", file.fileName(), "-"});
  ASSERT_TRUE(text.waitForFinished(30000));
  const QString printed = QString::fromUtf8(text.readAllStandardOutput());
  const qsizetype acme = printed.indexOf("Acme Ventilation Ltd"), klima = printed.indexOf("Klima AG");
  ASSERT_GE(acme, 0) << printed.toStdString();
  ASSERT_GE(klima, 0) << printed.toStdString();
  EXPECT_TRUE(printed.contains("Bern"));
  EXPECT_FALSE(printed.contains("r-t"));
  // On the footer's lines, the centre cell stands right of the left one.
  const auto column = [&](qsizetype at) { return at - printed.lastIndexOf('\n', at); };
  EXPECT_GT(column(klima), column(acme) + 20) << printed.toStdString();

  // This build has no distributor: the about box shows no lines, and the
  // report's centre cell stays empty rather than holding empty paragraphs.
  EXPECT_EQ(CTBuildDistributor::Lines(), QStringList());
  CTPrintParams::Save({}, QString());
  QBuffer none;
  none.open(QIODevice::WriteOnly);
  { CTRTFOutput writer(none, "Aerolith", 21, 29.7, 2.5, 1.5, 1.5, 1.5, &CTPrintParams::GetPageDecorations()); }
  EXPECT_TRUE(none.data().contains("\\pard \\intbl \\qc  \\cell"));
}

TEST(RTFOutput, WordWrap) {
  const LTDocFont font{"Arial", 10, 0, DrawColors::kWindowText};
  QFont f("Arial");
  f.setPixelSize(13);
  const QFontMetrics m(f);
  // Room for "alpha beta " but not for "gamma" after it.
  const int width = m.horizontalAdvance("alpha beta ") + 1;
  EXPECT_EQ(CTDocOutput::SplitStringInLines("alpha beta gamma", font, width), "alpha beta  \r\ngamma");
  // A word wider than the whole width stays whole; parts keep their line ends.
  EXPECT_EQ(CTDocOutput::SplitStringInLines("Supercalifragilistic\r\nok", font, 10), "Supercalifragilistic\r\nok");
  EXPECT_EQ(CTDocOutput::SplitStringInLines("", font, 100), "");
}
