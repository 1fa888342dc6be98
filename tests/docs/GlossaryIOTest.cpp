// Glossary files: the bytes the writer produces, what the line reader makes
// of files written by others or damaged, and saving that fails cleanly.

#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>

#include "docs/GlossaryIO.h"
#include "GlossaryEntries.h"

namespace {

QStringList Entries(const CTUnicodeGlossary& glos) { return GlossaryEntries(glos); }

QByteArray Saved(const CTUnicodeGlossary& glos, bool bSaveChangedDate) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  EXPECT_TRUE(CTExcelXMLGlossaryIO().SaveGlossary(buffer, glos, bSaveChangedDate));
  return buffer.data();
}

// The German example: Close translated, Open not.
void FillGerman(CTUnicodeGlossary& glos) {
  glos.SetTargetLanguage(1031);
  glos.AddTermNoNonsense("Open");
  glos.AddTermNoNonsense("Close", "Schließen");
}

const char kGermanFile[] =
    "<?xml version=\"1.0\"?>\r\n"
    "<?mso-application progid=\"Excel.Sheet\"?>\r\n"
    "<Workbook\r\n"
    "xmlns=\"urn:schemas-microsoft-com:office:spreadsheet\"\r\n"
    "xmlns:o=\"urn:schemas-microsoft-com:office:office\"\r\n"
    "xmlns:x=\"urn:schemas-microsoft-com:office:excel\"\r\n"
    "xmlns:ss=\"urn:schemas-microsoft-com:office:spreadsheet\"\r\n"
    "xmlns:html=\"http://www.w3.org/TR/REC-html40\">\r\n"
    "<DocumentProperties xmlns=\"urn:schemas-microsoft-com:office:office\" />\r\n"
    "<ExcelWorkbook xmlns=\"urn:schemas-microsoft-com:office:excel\">\r\n"
    "<ProtectStructure>False</ProtectStructure>\r\n"
    "<ProtectWindows>False</ProtectWindows>\r\n"
    "</ExcelWorkbook>\r\n"
    "<Styles>\r\n"
    "<Style ss:ID=\"Default\" ss:Name=\"Normal\"><Font ss:FontName=\"Arial\" ss:Size=\"10\"/> "
    "<Alignment ss:Vertical=\"Top\" ss:WrapText=\"1\"/></Style>\r\n"
    "<Style ss:ID=\"Percent\" ss:Name=\"Percent\"><NumberFormat ss:Format=\"0%\"/></Style>\r\n"
    "</Styles>\r\n"
    "<Worksheet ss:Name=\"Sheet1\">\r\n"
    "<Table ss:ExpandedColumnCount=\"2\" ss:ExpandedRowCount=\"3\" x:FullColumns=\"1\" x:FullRows=\"1\">\r\n"
    "<Row>\r\n"
    "<Cell><Data ss:Type=\"String\">1031</Data></Cell>\r\n"
    "<Cell><Data ss:Type=\"String\">German</Data></Cell>\r\n"
    "</Row>\r\n"
    "<Row>\r\n"
    "<Cell><Data ss:Type=\"String\">Close</Data></Cell>\r\n"
    "<Cell><Data ss:Type=\"String\">Schlie&#223;en</Data></Cell>\r\n"
    "</Row>\r\n"
    "<Row>\r\n"
    "<Cell><Data ss:Type=\"String\">Open</Data></Cell>\r\n"
    "<Cell><Data ss:Type=\"String\"></Data></Cell>\r\n"
    "</Row>\r\n"
    "</Table>\r\n"
    "</Worksheet>\r\n"
    "</Workbook>\r\n";

// A worksheet around the given lines, as a translator's tool might leave it.
QByteArray Sheet(const QByteArray& rows) {
  return QByteArray("<?xml version=\"1.0\"?>\r\n<Workbook>\r\n<Worksheet ss:Name=\"Sheet1\">\r\n<Table>\r\n") + rows +
         "</Table>\r\n</Worksheet>\r\n</Workbook>\r\n";
}

QByteArray Row(const char* szFirst, const char* szSecond) {
  return QByteArray("<Row>\r\n<Cell><Data ss:Type=\"String\">") + szFirst +
         "</Data></Cell>\r\n<Cell><Data ss:Type=\"String\">" + szSecond + "</Data></Cell>\r\n</Row>\r\n";
}

}  // namespace

TEST(GlossaryFile, GermanExampleIsWrittenByteForByteAndReadBack) {
  CTUnicodeGlossary glos;
  FillGerman(glos);
  EXPECT_EQ(Saved(glos, false), QByteArray(kGermanFile));

  CTUnicodeGlossary read;
  ASSERT_TRUE(CTExcelXMLGlossaryIO().LoadGlossary(QByteArray(kGermanFile), read));
  EXPECT_EQ(read.GetTargetLanguage(), 1031u);
  EXPECT_EQ(read.v_languageNameOrChangedDate, "German");
  EXPECT_EQ(Entries(read), (QStringList{"Close=Schließen", "Open="}));
}

TEST(GlossaryFile, LanguageCellHoldsTheChangeDateOnlyWhenAskedAndKnown) {
  struct Case {
    unsigned language;
    const char* languageText;
    bool bSaveChangedDate;
    const char* cell;
  };
  const Case cases[] = {
      {1031, "20240115", true, "20240115"},
      {1031, "20240115", false, "German"},
      {1031, "", true, "German"},
      {1036, "", false, "French"},
      {0, "", false, ""},  // no language: an empty name
  };
  for (const Case& c : cases) {
    CTUnicodeGlossary glos;
    glos.SetTargetLanguage(c.language);
    glos.v_languageNameOrChangedDate = c.languageText;
    const QByteArray expected = QByteArray("<Row>\r\n<Cell><Data ss:Type=\"String\">") +
                                QByteArray::number(c.language) + "</Data></Cell>\r\n<Cell><Data ss:Type=\"String\">" +
                                c.cell + "</Data></Cell>\r\n";
    EXPECT_TRUE(Saved(glos, c.bSaveChangedDate).contains(expected)) << c.language << " " << c.languageText;
  }
}

TEST(GlossaryFile, OddTextsStayOnOneAsciiLineAndComeBackUnchanged) {
  const QString term = QString::fromUcs4(U"A<B & \"C\"\t\U0001F600 m\u00B3/h");
  const QString translation = QStringLiteral("Zeile 1\r\nZeile 2 ");
  CTUnicodeGlossary glos;
  glos.SetTargetLanguage(1031);
  glos.AddTermNoNonsense(term, translation);
  const QByteArray bytes = Saved(glos, false);
  EXPECT_TRUE(bytes.contains("<Cell><Data ss:Type=\"String\">A&#60;B &#38; &#34;C&#34;&#9;&#128512; m&#179;/h</Data>"));
  EXPECT_TRUE(bytes.contains("<Cell><Data ss:Type=\"String\">Zeile 1&#13;&#10;Zeile 2 </Data>"));
  EXPECT_TRUE(std::all_of(bytes.begin(), bytes.end(), [](char c) { return c > 0; })) << "ASCII without NUL";

  CTUnicodeGlossary read;
  ASSERT_TRUE(CTExcelXMLGlossaryIO().LoadGlossary(bytes, read));
  EXPECT_EQ(read.TranslationsFor(term), QStringList{translation});
}

TEST(GlossaryFile, ReaderCopesWithOddFiles) {
  struct Case {
    const char* name;
    QByteArray bytes;
    bool ok;
    unsigned language;
    QStringList entries;
  };
  const QString fffd(QChar(0xFFFD));
  const Case cases[] = {
      {"no completed row", Sheet("<Row>\r\n<Cell><Data ss:Type=\"String\">1031</Data></Cell>\r\n"), false, 0, {}},
      {"blank line ends the read",
       Sheet(Row("1031", "German") + Row("Close", "Zu") + "\r\n" + Row("Open", "Auf")),
       false,
       1031,
       {"Close=Zu"}},
      {"no closing worksheet line", Row("1031", "German").prepend("<Worksheet>\r\n"), false, 1031, {}},
      {"rows outside the worksheet are not read", Row("1031", "German") + Sheet(Row("1036", "French")), true, 1036, {}},
      {"a second worksheet start", QByteArray("<Worksheet>\r\n") + Sheet(Row("1031", "German")), false, 0, {}},
      {"language cell not a number", Sheet(Row("German", "1031") + Row("Close", "Zu")), false, 0, {}},
      {"lower-case tags, tabs and CRs anywhere",
       "<worksheet>\n\t<row>\n<cell><data ss:type=\"String\">10\t36</data></cell>\r\n<cell><data>Fran\r\xC3\xA7"
       "ais</data></cell>\n</row>\n\t<ROW >\n<cell><data>Close</data></cell>\n<cell><data>Fermer</DATA></cell>\n"
       "</Row>\n</WORKSHEET>\n",
       true,
       1036,
       {"Close=Fermer"}},
      {"a third cell is ignored",
       Sheet(Row("1031", "German") + "<Row>\r\n<Cell><Data>Close</Data></Cell>\r\n<Cell><Data>Zu</Data></Cell>\r\n"
                                     "<Cell><Data>Note</Data></Cell>\r\n</Row>\r\n"),
       true,
       1031,
       {"Close=Zu"}},
      {"a cell without its end tag carries nothing",
       Sheet(Row("1031", "German") +
             "<Row>\r\n<Cell><Data>Open\r\n<Cell><Data>Close</Data></Cell>\r\n<Cell><Data>Zu</Data></Cell>\r\n"
             "</Row>\r\n"),
       true,
       1031,
       {"Close=Zu"}},
      {"a row start line carries no cell",
       Sheet(Row("1031", "German") + "<Row><Cell><Data>Open</Data></Cell>\r\n<Cell><Data>Close</Data></Cell>\r\n"
                                     "</Row>\r\n"),
       true,
       1031,
       {"Close="}},
      {"references beyond the BMP, named and hexadecimal",
       Sheet(Row("1031", "German") + Row("&#128512; &lt;&amp;&gt;", "&#x41;&#X1F600;")),
       true,
       1031,
       {QString::fromUcs4(U"\U0001F600 <&>=A\U0001F600")}},
      {"unusable references",
       Sheet(Row("1031", "German") + Row("a&#0;b&#55296;c&#99999999999;d&#;e&#12z;f", "x")),
       true,
       1031,
       {QStringLiteral("a%1b%1c%1d%1e%1f=x").arg(fffd)}},
      {"escaped ampersands and long runs are text",
       Sheet(Row("1031", "German") + Row("&amp;#0; &#00000000000000000065;", "&#&#65;")),
       true,
       1031,
       {"&#0; &#00000000000000000065;=&#A"}},
  };
  for (const Case& c : cases) {
    CTUnicodeGlossary glos;
    EXPECT_EQ(CTExcelXMLGlossaryIO().LoadGlossary(c.bytes, glos), c.ok) << c.name;
    EXPECT_EQ(glos.GetTargetLanguage(), c.language) << c.name;
    EXPECT_EQ(Entries(glos), c.entries) << c.name;
    for (const QString& entry : Entries(glos)) EXPECT_FALSE(entry.contains(QChar(0))) << c.name;
  }
}

TEST(GlossaryFile, FilesOverTheCapAreRefusedUnread) {
  QByteArray bytes = QByteArray(kGermanFile);
  bytes += QByteArray(CTXMLGlossaryIO::kMaxGlossaryBytes + 1 - bytes.size(), ' ');
  CTExcelXMLGlossaryIO io;
  CTUnicodeGlossary glos;
  EXPECT_FALSE(io.LoadGlossary(bytes, glos));
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  EXPECT_FALSE(io.LoadGlossary(buffer, glos));

  QTemporaryDir dir;
  const QString big = dir.filePath("big.xml");
  QFile file(big);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  ASSERT_EQ(file.write(bytes), bytes.size());
  file.close();
  EXPECT_FALSE(io.LoadGlossaryFromFile(big, glos));
  EXPECT_EQ(glos.EntryCount(), 0);

  bytes.chop(1);  // at the cap itself the file is read
  EXPECT_TRUE(io.LoadGlossary(bytes, glos));
}

TEST(GlossaryFile, SavedFilesRecordTheirNameAndFailedSavesLeaveNothing) {
  QTemporaryDir dir;
  CTExcelXMLGlossaryIO io;
  CTUnicodeGlossary glos;
  FillGerman(glos);

  const QString good = dir.filePath("aerolith.xml");
  ASSERT_TRUE(io.SaveGlossaryToFile(good, glos, false));
  EXPECT_EQ(glos.v_fileName, good);
  QFile file(good);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), QByteArray(kGermanFile));
  CTUnicodeGlossary read;
  ASSERT_TRUE(io.LoadGlossaryFromFile(good, read));
  EXPECT_EQ(read.v_fileName, good);
  EXPECT_FALSE(io.LoadGlossaryFromFile(dir.filePath("missing.xml"), read));

  // A folder in the way of the file, and a folder that is not there.
  ASSERT_TRUE(QDir(dir.path()).mkdir("taken.xml"));
  EXPECT_FALSE(io.SaveGlossaryToFile(dir.filePath("taken.xml"), glos, false));
  EXPECT_FALSE(io.SaveGlossaryToFile(dir.filePath("none/aerolith.xml"), glos, false));
  EXPECT_EQ(glos.v_fileName, good);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
            (QStringList{"aerolith.xml", "taken.xml"}));
  EXPECT_TRUE(QDir(dir.filePath("taken.xml")).isEmpty());

  // A stream that takes nothing.
  QByteArray bytes;
  QBuffer readOnly(&bytes);
  readOnly.open(QIODevice::ReadOnly);
  EXPECT_FALSE(io.SaveGlossary(readOnly, glos, false));
}
