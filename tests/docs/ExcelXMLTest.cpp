// XML Spreadsheet 2003 output: escaping both ways, sheet names, number,
// percentage and formula cells, colour styles, and a workbook that a real
// XML parser and LibreOffice Calc read.

#include "docs/DocTable.h"
#include "docs/ExcelXML.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

namespace {

QByteArray Workbook(CTDocTable& table) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  CTDocTableToXML::ExportDocTableAsWorkbook(buffer, table);
  return buffer.data();
}

// The <Cell> lines of a workbook, in order.
QStringList Cells(const QByteArray& xml) {
  QStringList cells;
  for (const QByteArray& line : xml.split('\n'))
    if (line.startsWith("<Cell")) cells << QString::fromLatin1(line.trimmed());
  return cells;
}

}  // namespace

TEST(ExcelXml, EscapesByCodePointAndReadsBack) {
  struct Case {
    QString text;
    const char* escaped;
  };
  const Case cases[] = {
      {QStringLiteral("a\tb é <c> \"d\" & 'e'"), "a&#9;b &#233; &#60;c> &#34;d&#34; &#38; 'e'"},
      {QStringLiteral("line\r\nnext"), "line&#13;&#10;next"},
      {QString::fromUcs4(U"\U0001F600 m\u00B3/h"), "&#128512; m&#179;/h"},  // one reference for a character beyond the BMP
      {QStringLiteral("bell\x07 and nul") + QChar(0) + QStringLiteral("end"), "bell and nulend"},  // not allowed in XML 1.0
      {QString(QChar(0xD800)) + QStringLiteral("x"), "x"},  // a lone surrogate
  };
  for (const Case& c : cases) {
    const QString escaped = CTExcelXML2003::XMLSafeString(c.text);
    EXPECT_EQ(escaped, QString::fromLatin1(c.escaped));
    for (QChar ch : escaped) EXPECT_LT(ch.unicode(), 127);
  }
  EXPECT_EQ(CTExcelXML2003::ReplaceCharacterRefs("&#128512;&amp;&lt;&gt;&quot;&apos;&#233;"),
            QString::fromUcs4(U"\U0001F600&<>\"'\u00E9"));
  // What does not parse stays as it is, and never becomes a NUL.
  for (const char* kept : {"&#x41;", "&#;", "&#0;", "&#12a;", "&bogus;", "& alone", "&#99999999999;"})
    EXPECT_EQ(CTExcelXML2003::ReplaceCharacterRefs(kept), QString::fromLatin1(kept)) << kept;
}

TEST(ExcelXml, SheetNames) {
  EXPECT_EQ(CTExcelXML2003::SheetName("Q1/Q2: results [draft]"), "Q1_Q2_ results _draft_");
  EXPECT_EQ(CTExcelXML2003::SheetName(QString(40, 'n')), QString(31, 'n'));
  EXPECT_EQ(CTExcelXML2003::SheetName(QString(31, 'n')), QString(31, 'n'));
  EXPECT_EQ(CTExcelXML2003::SheetName(""), "Sheet1");
}

TEST(ExcelXml, NumbersPercentagesFormulasAndStrings) {
  CTDocTable table(2, 7);
  const char* texts[] = {"12.5", "12,5", "45%", "-3e2", "1.2.3", "%", "text"};
  for (int r = 0; r < 7; ++r) {
    table.SetText(0, r, texts[r]);
    table.SetText(1, r, texts[r]);
    table.SetHorAlign(1, r, DocHorAlign::kRight);
  }
  table.SetFormula(1, 5, "=R[-5]C*2");
  const QStringList cells = Cells(Workbook(table));
  ASSERT_EQ(cells.size(), 14);
  // Left-aligned cells are strings, whatever they hold.
  EXPECT_EQ(cells[0], "<Cell><Data ss:Type=\"String\">12.5</Data></Cell>");
  EXPECT_EQ(cells[1], "<Cell><Data ss:Type=\"Number\">12.5</Data></Cell>");
  EXPECT_EQ(cells[3], "<Cell><Data ss:Type=\"String\">12,5</Data></Cell>");
  EXPECT_EQ(cells[5], "<Cell ss:StyleID=\"Percent\"><Data ss:Type=\"Number\">0.45</Data></Cell>");
  EXPECT_EQ(cells[7], "<Cell><Data ss:Type=\"Number\">-3e2</Data></Cell>");
  EXPECT_EQ(cells[9], "<Cell><Data ss:Type=\"String\">1.2.3</Data></Cell>");
  EXPECT_EQ(cells[11], "<Cell ss:Formula=\"=R[-5]C*2\" ss:StyleID=\"Percent\"><Data ss:Type=\"Number\"></Data></Cell>");
  EXPECT_EQ(cells[13], "<Cell><Data ss:Type=\"String\">text</Data></Cell>");
}

TEST(ExcelXml, OneStylePairPerBackgroundColour) {
  CTDocTable table(3, 2, 0, 1);  // the title row is light grey
  table.SetText(2, 1, "45%");
  table.SetHorAlign(2, 1, DocHorAlign::kRight);
  table.SetBgColor(2, 1, 0x00FFFF);  // yellow (red in the low byte)
  QList<LTColorEntry> entries;
  QStringList styles;
  CTDocTableToXML::GatherColorEntries(table, entries, styles);
  ASSERT_EQ(entries.size(), 2);
  EXPECT_EQ(entries[0].RGBString(), "#E0E0E0");
  EXPECT_EQ(entries[1].RGBString(), "#FFFF00");
  ASSERT_EQ(styles.size(), 5);  // the bordered base and two per colour
  EXPECT_TRUE(styles[1].startsWith("<Style ss:ID=\"cs1\" ss:Parent=\"cs0\"><Interior ss:Color=\"#E0E0E0\""));
  EXPECT_TRUE(styles[2].startsWith("<Style ss:ID=\"csp1\""));
  const QStringList cells = Cells(Workbook(table));
  EXPECT_EQ(cells[0], "<Cell ss:StyleID=\"cs1\"><Data ss:Type=\"String\"></Data></Cell>");
  EXPECT_EQ(cells[5], "<Cell ss:StyleID=\"csp2\"><Data ss:Type=\"Number\">0.45</Data></Cell>");
}

TEST(ExcelXml, TheWorkbookIsWellFormedAsciiWithCrLf) {
  CTDocTable table(2, 2, 0, 1);
  table.SetText(0, 0, "Name <&> \"Qty\"");
  table.SetText(1, 0, "Größe ✓");
  table.SetText(0, 1, "two\nlines");
  table.SetColumnWidth(0, 96);  // one inch: 72 points
  const QByteArray xml = Workbook(table);
  EXPECT_TRUE(std::all_of(xml.begin(), xml.end(), [](char c) { return static_cast<unsigned char>(c) < 128; }));
  EXPECT_EQ(xml.count("\r\n"), xml.count('\n'));
  EXPECT_TRUE(xml.contains("<Column ss:Width=\"72\"/>"));
  QXmlStreamReader reader(xml);
  QStringList data;
  while (!reader.atEnd()) {
    if (reader.readNext() == QXmlStreamReader::StartElement && reader.name() == QLatin1String("Data"))
      data << reader.readElementText();
  }
  ASSERT_FALSE(reader.hasError()) << reader.errorString().toStdString();
  EXPECT_EQ(data, (QStringList{"Name <&> \"Qty\"", "Größe ✓", "two\r\nlines", ""}));
}

TEST(ExcelXml, LibreOfficeCalcReadsTheNumbersAsNumbers) {
  const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
  ASSERT_FALSE(soffice.isEmpty()) << "LibreOffice is installed by scripts/setup.sh";
  CTDocTable table(3, 3, 0, 1);
  table.SetText(0, 0, "Item");
  table.SetText(1, 0, "Qty.");
  table.SetText(2, 0, "Share");
  table.SetText(0, 1, "NFS-400-F7 <F7>");
  table.SetText(1, 1, "2");
  table.SetText(2, 1, "45%");
  table.SetText(0, 2, "Total");
  table.SetText(2, 2, "%");
  table.SetFormula(1, 2, "=R[-1]C*3");
  table.SetFormula(2, 2, "=R[-1]C*2");  // reads the percentage as the number it is
  for (int r = 1; r < 3; ++r)
    for (int c = 1; c < 3; ++c) table.SetHorAlign(c, r, DocHorAlign::kRight);
  QTemporaryDir dir;
  QFile file(dir.filePath("list.xml"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  CTDocTableToXML::ExportDocTableAsWorkbook(file, table);
  file.close();
  QProcess office;
  // Values as shown: a percentage shows as one only when it is the number
  // 0.45 in the percent format, and the formulas computed from them.
  office.start(soffice, {"-env:UserInstallation=file://" + dir.filePath("profile"), "--headless", "--convert-to",
                         "csv:Text - txt - csv (StarCalc):44,34,76", "--outdir", dir.path(),
                         file.fileName()});
  ASSERT_TRUE(office.waitForFinished(120000));
  QFile csv(dir.filePath("list.csv"));
  ASSERT_TRUE(csv.open(QIODevice::ReadOnly)) << office.readAllStandardError().toStdString();
  const QStringList lines = QString::fromUtf8(csv.readAll()).split(QRegularExpression("\r?\n"), Qt::SkipEmptyParts);
  EXPECT_EQ(lines, (QStringList{"Item,Qty.,Share", "NFS-400-F7 <F7>,2,45%", "Total,6,90%"}));
}
