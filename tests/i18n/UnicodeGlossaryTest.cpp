// The glossary: which additions it keeps, which translation a text gets, and
// how entries are filled from another glossary or dropped.

#include <gtest/gtest.h>

#include "i18n/UnicodeGlossary.h"
#include "GlossaryEntries.h"

namespace {

QStringList Entries(const CTUnicodeGlossary& glos) { return GlossaryEntries(glos); }

}  // namespace

TEST(Glossary, AddTermNoNonsenseKeepsOneEntryPerTranslation) {
  CTUnicodeGlossary glos;
  glos.AddTermNoNonsense("Close", "Schließen");
  glos.AddTermNoNonsense("Close", "Schließen");  // the same pair again
  glos.AddTermNoNonsense("Close", "");           // untranslated, but the term is there
  glos.AddTermNoNonsense("", "Leer");            // no term
  glos.AddTermNoNonsense("Open");                // an untranslated term is kept
  glos.AddTermNoNonsense("Close", "Zumachen");   // a second translation is a second entry
  EXPECT_EQ(Entries(glos), (QStringList{"Close=Schließen", "Close=Zumachen", "Open="}));
  EXPECT_TRUE(glos.v_changed);

  // Two translations: the form shows English, the first one is still found.
  EXPECT_EQ(glos.Translated("Close"), "Close");
  EXPECT_EQ(glos.FindTranslationFor("Close"), "Schließen");
  EXPECT_EQ(glos.TranslationsFor("Close"), (QStringList{"Schließen", "Zumachen"}));
  EXPECT_EQ(glos.Translated("Open"), "Open");  // untranslated
  EXPECT_EQ(glos.Translated("Save"), "Save");  // unknown
  EXPECT_TRUE(glos.TranslationsFor("").isEmpty());
  EXPECT_EQ(TranslatedText(nullptr, "Open"), "Open");
}

TEST(Glossary, TermsDifferingInFirstLetterCaseShareABucketAndTranslateIndependently) {
  CTUnicodeGlossary glos;
  glos.AddTermNoNonsense("close", "schließen");
  glos.AddTermNoNonsense("Close", "Schließen");
  glos.AddTermNoNonsense(QString::fromUtf8("été"), "Sommer");
  ASSERT_GT(glos.AllLetterEntries().size(), size_t(233));
  EXPECT_EQ(glos.AllLetterEntries()['C'].size(), size_t(2));
  EXPECT_TRUE(glos.AllLetterEntries()['c'].empty());
  EXPECT_EQ(glos.AllLetterEntries()[233].size(), size_t(1));  // é is not folded
  EXPECT_EQ(glos.Translated("Close"), "Schließen");
  EXPECT_EQ(glos.Translated("close"), "schließen");
  EXPECT_EQ(glos.Translated("CLOSE"), "CLOSE");

  // The list grows up to the bucket asked for, the ones between empty.
  EXPECT_TRUE(glos.GetLetterEntry(u'\u4E2D').empty());
  EXPECT_EQ(glos.AllLetterEntries().size(), size_t(0x4E2E));
}

TEST(Glossary, CatalogueLookupNeedsOneTranslationAndMayIgnoreCase) {
  CTUnicodeGlossary glos;
  glos.AddTermNoNonsense("Supply fan", "Zuluftventilator");
  glos.AddTermNoNonsense("Exhaust fan", "Abluftventilator");
  glos.AddTermNoNonsense("Exhaust fan", "Fortluftventilator");
  glos.AddTermNoNonsense("Filter");
  struct Case {
    const char* text;
    bool bCaseSensitive;
    bool found;
    const char* translation;
  };
  const Case cases[] = {
      {"Supply fan", true, true, "Zuluftventilator"},
      {"supply FAN", false, true, "Zuluftventilator"},
      {"supply FAN", true, false, ""},
      {"Exhaust fan", false, false, ""},  // two translations
      {"Filter", false, false, ""},       // untranslated
      {"", false, false, ""},
  };
  for (const Case& c : cases) {
    QString translation;
    EXPECT_EQ(glos.FindTranslationFor(c.text, c.bCaseSensitive, translation), c.found) << c.text;
    EXPECT_EQ(translation, QString::fromUtf8(c.translation)) << c.text;
  }
}

TEST(Glossary, AddTermAndTranslationTrimsAndRefusesEmptyOrRepeatedPairs) {
  CTUnicodeGlossary glos;
  glos.AddTermNoNonsense("Open");
  CTUnicodeGlosTerm* added = nullptr;
  EXPECT_TRUE(glos.AddTermAndTranslation("  Close \t", " Schließen ", &added));
  ASSERT_NE(added, nullptr);
  EXPECT_EQ(added->v_term, "Close");
  EXPECT_EQ(added->v_translation, "Schließen");
  EXPECT_FALSE(glos.AddTermAndTranslation("Close", "Schließen"));
  EXPECT_FALSE(glos.AddTermAndTranslation("   ", "Leer"));
  EXPECT_FALSE(glos.AddTermAndTranslation("Save", "  "));
  // Beside the untranslated entry, without the check of AddTermNoNonsense.
  EXPECT_TRUE(glos.AddTermAndTranslation("Open", "Öffnen"));
  EXPECT_EQ(Entries(glos), (QStringList{"Close=Schließen", "Open=", "Open=Öffnen"}));

  bool identical = true;
  EXPECT_FALSE(glos.TermExists("Save", "", identical));
  EXPECT_FALSE(identical);
  EXPECT_TRUE(glos.TermExists("Close", "Schließen", identical));
  EXPECT_TRUE(identical);
  EXPECT_TRUE(glos.TermExists("Close", "Zu", identical));
  EXPECT_FALSE(identical);
  EXPECT_TRUE(glos.TermExists("Open", "Öffnen", identical));
  EXPECT_FALSE(identical);  // two entries
}

TEST(Glossary, UseTranslationsFromFillsKeepsOrRemovesEntries) {
  using NotFound = CTUnicodeGlossary::TNoTranslationFound;
  using Translated = CTUnicodeGlossary::TTranslatedEntries;
  struct Case {
    NotFound notFound;
    Translated translated;
    QStringList expected;
  };
  const Case cases[] = {
      {NotFound::KeepEntry, Translated::Refill, {"Apply=Anwenden", "Close=Zu", "Help=Hilfe", "Open=Öffnen", "Save="}},
      {NotFound::KeepEntry,
       Translated::Keep,
       {"Apply=Anwenden", "Close=Schließen", "Help=Hilfe", "Open=Öffnen", "Save="}},
      {NotFound::RemoveEntry, Translated::Refill, {"Apply=Anwenden", "Close=Zu", "Open=Öffnen"}},
      // Help keeps its own translation, which is not looked up.
      {NotFound::RemoveEntry, Translated::Keep, {"Apply=Anwenden", "Close=Schließen", "Help=Hilfe", "Open=Öffnen"}},
  };
  CTUnicodeGlossary source;
  source.AddTermNoNonsense("Apply", "Anwenden");
  source.AddTermNoNonsense("Close", "Zu");
  source.AddTermNoNonsense("Close", "Zumachen");  // the first one is taken
  source.AddTermNoNonsense("Open", "Öffnen");
  source.AddTermNoNonsense("Save");  // untranslated there too
  for (const Case& c : cases) {
    CTUnicodeGlossary glos;
    glos.AddTermNoNonsense("Save");
    glos.AddTermNoNonsense("Close", "Schließen");
    glos.AddTermNoNonsense("Open");
    glos.AddTermNoNonsense("Help", "Hilfe");
    glos.AddTermNoNonsense("Apply");
    glos.v_changed = false;
    glos.UseTranslationsFrom(source, c.notFound, c.translated);
    EXPECT_EQ(Entries(glos), c.expected);
    EXPECT_FALSE(glos.v_changed);
  }
}

TEST(Glossary, RemoveUntranslatedTermsKeepsTheOrderOfTheOthers) {
  CTUnicodeGlossary glos;
  for (const char* term : {"Cancel", "Close", "Copy", "Cut"}) glos.AddTermNoNonsense(term);
  glos.AddTermNoNonsense("Cut", "Ausschneiden");
  glos.AddTermNoNonsense("Close", "Schließen");
  EXPECT_TRUE(glos.HasUntranslatedTerms());
  glos.RemoveUntranslatedTerms();
  EXPECT_EQ(Entries(glos), (QStringList{"Cut=Ausschneiden", "Close=Schließen"}));
  EXPECT_FALSE(glos.HasUntranslatedTerms());
  EXPECT_EQ(glos.Terms(), (QStringList{"Cut", "Close"}));
}

TEST(Glossary, SortOrdersByCodeUnitAndKeepsTheTranslationsOfATerm) {
  CTUnicodeGlossary glos;
  glos.AddTermNoNonsense("copy", "kopieren");
  glos.AddTermNoNonsense("Cut", "Ausschneiden");
  glos.AddTermNoNonsense("Close", "Zu");
  glos.AddTermNoNonsense("Cut", "Schneiden");
  glos.Sort();
  // Upper-case letters sort before lower-case ones.
  EXPECT_EQ(Entries(glos), (QStringList{"Close=Zu", "Cut=Ausschneiden", "Cut=Schneiden", "copy=kopieren"}));
}

TEST(Glossary, ChangedMarkAndChangedDate) {
  CTUnicodeGlossary glos;
  EXPECT_FALSE(glos.v_changed);
  glos.SetTargetLanguage(0);
  EXPECT_FALSE(glos.v_changed);  // the same language
  glos.SetTargetLanguage(1031);
  EXPECT_TRUE(glos.v_changed);

  glos.v_languageNameOrChangedDate = "German";
  EXPECT_EQ(glos.GetChangedDate(), 0);
  glos.SetChangedDate(20240115);
  EXPECT_EQ(glos.v_languageNameOrChangedDate, "20240115");
  EXPECT_EQ(glos.GetChangedDate(), 20240115);

  glos.AddTermNoNonsense("Close", "Schließen");
  glos.Purge();
  EXPECT_FALSE(glos.v_changed);
  EXPECT_EQ(glos.GetTargetLanguage(), 0u);
  EXPECT_EQ(glos.EntryCount(), 0);
}
