// The unit's note and the conditions of use as the views and the report get
// them: written as RTF, read back with our reader.

#include "DemoCatalogue.h"
#include "docs/ConditionsDocument.h"
#include "docs/GeneralTerms.h"
#include "docs/HRXNote.h"
#include "docs/RTFReader.h"

#include <QTextBlock>
#include <QTextDocument>

#include <gtest/gtest.h>

namespace {

// The format of the run holding text, or a failure.
QTextCharFormat FormatOf(const QTextDocument& doc, const QString& text) {
  for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
    for (auto it = b.begin(); !it.atEnd(); ++it)
      if (it.fragment().text().contains(text)) return it.fragment().charFormat();
  ADD_FAILURE() << "no run with " << text.toStdString();
  return {};
}

}  // namespace

TEST(HRXNote, ReadsBackAsOneParagraphWithAnUnderlinedBlueLink) {
  const QByteArray rtf = CTHRXNote::Rtf({"Verdana", 9, 0, DrawColors::kWindowText});
  // A landscape A4 page with 1.5 cm margins: 29.7 cm = 16838 twips, 21 cm =
  // 11906, 1.5 cm = 850.
  EXPECT_TRUE(rtf.contains("\\paperw16838\\paperh11906\\margl850\\margr850\\margt850\\margb850"));
  QTextDocument doc;
  ASSERT_TRUE(CTRTFReader::Read(rtf, doc));
  const QString link = "https://www.norvane.example/ecodesign";
  EXPECT_EQ(CTHRXNote::Link(), link);
  EXPECT_EQ(doc.toPlainText().trimmed(),
            "The selection software uses data in accordance with JIS B 8628 standard and shows the result for "
            "specifically given airflow, ESP and temperature conditions. For official Ecodesign ERP data in "
            "accordance with EN1254 / 2014, please consult " + link + ".");
  const QTextCharFormat linkFormat = FormatOf(doc, link);
  EXPECT_EQ(linkFormat.fontPointSize(), 9);
  // The address, and nothing else, is underlined and blue.
  QString underlined, blue;
  for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
    for (auto it = b.begin(); !it.atEnd(); ++it) {
      const QTextCharFormat format = it.fragment().charFormat();
      if (format.fontUnderline()) underlined += it.fragment().text();
      if (format.foreground().color() == QColor(0, 0, 255)) blue += it.fragment().text();
    }
  EXPECT_EQ(underlined, link);
  EXPECT_EQ(blue, link);
}

using HRXNoteSeries = DemoCatalogueTest;

// The plain heat-recovery units carry the note; the coil and fresh-air units
// and the small families do not.
TEST_F(HRXNoteSeries, AppliesToThePlainHeatRecoveryUnitsOnly) {
  const std::pair<const char*, bool> cases[] = {
      {"NV-250", true}, {"NV-1000", true}, {"NV-500D", false}, {"NV-FA800", false}, {"NV-OS150", false},
  };
  for (const auto& [name, applies] : cases) {
    const std::unique_ptr<Cls_HRX> unit = Unit(name);
    ASSERT_NE(unit, nullptr) << name;
    EXPECT_EQ(CTHRXNote::Applies(*unit), applies) << name;
  }
  // The series is compared as the catalogue may spell it.
  const std::unique_ptr<Cls_HRX> unit = Unit("NV-400");
  unit->SetSeries(" nvh ");
  EXPECT_TRUE(CTHRXNote::Applies(*unit));
}

TEST(GeneralTerms, EveryPlaceholderIsReplacedByItsParty) {
  // Each of $1 to $6 occurs in the paragraphs as written, so each must go.
  const QString written = CTGeneralTerms::Paragraphs().join('\n');
  for (int n = 1; n <= 6; ++n) EXPECT_TRUE(written.contains(QString("$%1").arg(n))) << n;

  QTextDocument doc;
  ASSERT_TRUE(CTRTFReader::Read(CTGeneralTerms::Rtf("Aerolith"), doc));
  const QString text = doc.toPlainText();
  EXPECT_FALSE(text.contains('$')) << text.toStdString();
  EXPECT_TRUE(text.startsWith("Conditions of use of Aerolith\n")) << text.toStdString();
  EXPECT_EQ(FormatOf(doc, "Conditions of use").fontWeight(), QFont::Bold);
  const LTGeneralTermsParties parties = CTGeneralTerms::Parties("Aerolith");
  for (const QString& value : {parties.contactEmail, parties.makerShortName, parties.makerLongName,
                               parties.jurisdictionCountry, parties.jurisdictionCity}) {
    EXPECT_FALSE(value.isEmpty());
    EXPECT_TRUE(text.contains(value)) << value.toStdString();
  }
  // The contact address is one of ours, on a reserved domain.
  EXPECT_TRUE(parties.contactEmail.endsWith(".example")) << parties.contactEmail.toStdString();
}

TEST(ConditionsDocument, TitleThenEachParagraphAfterAnEmptyLineOnItsPage) {
  // 21 cm = 11906 twips, 29.7 cm = 16838, 1.5 cm = 850 (1440 twips per inch).
  struct Case {
    const char* name;
    LTConditionsPage page;
    const char* geometry;
  };
  const Case cases[] = {
      {"portrait", CTConditionsDocument::kA4Portrait,
       "\\paperw11906\\paperh16838\\margl850\\margr850\\margt850\\margb850"},
      {"landscape", CTConditionsDocument::kA4Landscape,
       "\\paperw16838\\paperh11906\\margl850\\margr850\\margt850\\margb850"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const QByteArray rtf = CTConditionsDocument::Rtf({"Title", "First paragraph.", "Second paragraph."}, "Aerolith",
                                                     c.page);
    EXPECT_TRUE(rtf.contains(c.geometry));
    QTextDocument doc;
    ASSERT_TRUE(CTRTFReader::Read(rtf, doc));
    QStringList blocks;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) blocks << b.text();
    while (!blocks.isEmpty() && blocks.last().isEmpty()) blocks.removeLast();
    EXPECT_EQ(blocks, (QStringList{"Title", "", "First paragraph.", "", "Second paragraph."}));
    EXPECT_TRUE(doc.begin().blockFormat().alignment().testFlag(Qt::AlignHCenter));
    EXPECT_FALSE(doc.findBlockByNumber(2).blockFormat().alignment().testFlag(Qt::AlignHCenter));
    EXPECT_EQ(FormatOf(doc, "Title").fontWeight(), QFont::Bold);
    EXPECT_EQ(FormatOf(doc, "First paragraph.").fontWeight(), QFont::Normal);
  }
  // No text: an empty document rather than a crash.
  QTextDocument empty;
  ASSERT_TRUE(CTRTFReader::Read(CTConditionsDocument::Rtf({}, "Aerolith", CTConditionsDocument::kA4Portrait), empty));
  EXPECT_TRUE(empty.toPlainText().trimmed().isEmpty());
}
