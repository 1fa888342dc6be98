// Languages, countries, their lists, the locale store and the start-up
// decision. Own country numbers below are worked out by hand: three letters
// in base 26 with A = 0 ("AUT" = 0*676 + 20*26 + 19 = 539).

#include "i18n/LangSupport.h"
#include "platform/Registry.h"

#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>

namespace {

// ---- tables ----

TEST(LanguageTable, ThirtySevenLanguagesFromAlbanianToVietnamese) {
  LTLangList languages;
  CTLangSupport::FillStrings(languages);
  ASSERT_EQ(languages.size(), 37);
  EXPECT_EQ(languages.first(), (LTLangListItem{"Albanian", 1052}));
  EXPECT_EQ(languages[9], (LTLangListItem{"English", 1033}));
  EXPECT_EQ(languages.last(), (LTLangListItem{"Vietnamese", 1066}));
}

TEST(LanguageTable, LookupsByIdCodeAndName) {
  struct Case {
    int lcid;
    const char* code;
    const char* name;
    const char* abbreviation;
  };
  const Case known[] = {
      {1031, "de", "German", "DEU"},
      {2052, "zh", "Chinese (Simplified)", "CHS"},
      {1044, "nb", "Norwegian, Bokmål", "NOR"},
      {2057, "en", "English (United Kingdom)", "ENG"},
      {1046, "pt", "Portuguese", "PTB"},
  };
  for (const Case& c : known) {
    SCOPED_TRACE(c.lcid);
    const CTLanguageDefinition* language = CTLanguageDefinition::FindLanguage(c.lcid);
    ASSERT_NE(language, nullptr);
    EXPECT_EQ(language->v_windowsCode, c.lcid);
    EXPECT_EQ(language->v_iso_2letterCode, c.code);
    EXPECT_EQ(language->v_iso_englishName, QString::fromUtf8(c.name));
    EXPECT_EQ(CTLangSupport::ID2String(c.lcid), QString::fromUtf8(c.name));
    EXPECT_EQ(CTLangSupport::String2ID(QString::fromUtf8(c.name).toUpper()), c.lcid);
    EXPECT_EQ(CTLangSupport::ID2FileExtension(c.lcid), c.abbreviation);
    EXPECT_EQ(CTLangSupport::FileExtension2ID(QString::fromLatin1(c.abbreviation).toLower()), c.lcid);
  }
  // Catalan (1027) and modern-sort Spanish (3082) are not ours.
  for (const int unknown : {0, -1, 1027, 3082}) {
    SCOPED_TRACE(unknown);
    EXPECT_EQ(CTLanguageDefinition::FindLanguage(unknown), nullptr);
    EXPECT_EQ(CTLangSupport::ID2String(unknown), "");
    EXPECT_EQ(CTLangSupport::ID2FileExtension(unknown), "");
  }
  EXPECT_EQ(CTLangSupport::String2ID("Klingon"), 0);
  EXPECT_EQ(CTLangSupport::String2ID(""), 0);
  EXPECT_EQ(CTLangSupport::FileExtension2ID("ESN"), 0);
}

TEST(LanguageTable, CodeLookupTakesTheFirstInTableOrder) {
  const std::pair<const char*, int> cases[] = {{"ZH", 1028}, {"en", 1033}, {"De", 1031}, {"nb", 1044}};
  for (const auto& [code, lcid] : cases) {
    const CTLanguageDefinition* language = CTLanguageDefinition::FindLanguageByCode(code);
    ASSERT_NE(language, nullptr) << code;
    EXPECT_EQ(language->v_windowsCode, lcid) << code;
  }
  EXPECT_EQ(CTLanguageDefinition::FindLanguageByCode("no"), nullptr);
  EXPECT_EQ(CTLanguageDefinition::FindLanguageByCode(""), nullptr);
}

TEST(LanguageTable, UnicodeFontForTheScriptsThatNeedIt) {
  // LCID: primary language in the low 10 bits.
  const std::pair<int, bool> cases[] = {
      {2052, true},   // Chinese (Simplified), primary 4
      {1028, true},   // Chinese (Traditional), 4
      {1041, true},   // Japanese, 17
      {1032, true},   // Greek, 8
      {1054, true},   // Thai, 30
      {1025, true},   // Arabic, 1
      {1037, true},   // Hebrew, 13
      {1042, true},   // Korean, 18
      {1065, true},   // Farsi, 41
      {1049, false},  // Russian, 25
      {1033, false},  // English, 9
      {1055, false},  // Turkish, 31
  };
  for (const auto& [lcid, unicode] : cases) EXPECT_EQ(CTLangSupport::UseUnicodeFont(lcid), unicode) << lcid;
}

TEST(CountryTable, OwnNumbersAreDistinctAndAnswerEveryLookup) {
  LTLangList countries;
  CTLangSupport::FillUniqueCountries(countries);
  ASSERT_EQ(countries.size(), 250);
  std::map<int, QString> byNumber;
  for (const LTLangListItem& item : countries) {
    EXPECT_TRUE(byNumber.emplace(item.v_id, item.v_text).second) << item.v_id;
    const CTCountryDefinition* country = CTCountryDefinition::FindCountry(item.v_id);
    ASSERT_NE(country, nullptr) << item.v_text.toStdString();
    EXPECT_EQ(country->v_iso_englishName, item.v_text);
    if (country->v_iso_2letterCode != "RO") {
      EXPECT_EQ(country->v_ownNumericCode, CTCountryDefinition::OwnNumber(country->v_iso_3letterCode));
    }
  }
}

TEST(CountryTable, LookupsByOwnNumber) {
  struct Case {
    int own;
    const char* alpha2;
    const char* alpha3;
    int numeric;
    const char* name;
    int mainLanguage;
  };
  const Case cases[] = {
      {136, "AF", "AFG", 4, "Afghanistan", 1033},
      {2152, "DE", "DEU", 276, "Germany", 1031},
      {539, "AT", "AUT", 40, "Austria", 1031},
      {3822, "FR", "FRA", 250, "France", 1036},
      {11868, "RO", "ROU", 642, "Romania", 1048},  // from "ROM": 17*676 + 14*26 + 12
      {286, "AX", "ALA", 248, "Åland Islands", 1053},
      {15831, "XK", "XKX", 0, "Kosovo", 1050},
      {791, "BE", "BEL", 56, "Belgium", 1033},
      {1538, "CH", "CHE", 756, "Switzerland", 1033},
      {13988, "US", "USA", 840, "United States of America", 1033},
      {17476, "ZW", "ZWE", 716, "Zimbabwe", 1033},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.alpha3);
    const CTCountryDefinition* country = CTCountryDefinition::FindCountry(c.own);
    ASSERT_NE(country, nullptr);
    EXPECT_EQ(country->v_ownNumericCode, c.own);
    EXPECT_EQ(country->v_iso_2letterCode, c.alpha2);
    EXPECT_EQ(country->v_iso_3letterCode, c.alpha3);
    EXPECT_EQ(country->v_iso_numericCode, c.numeric);
    EXPECT_EQ(country->v_iso_englishName, QString::fromUtf8(c.name));
    EXPECT_EQ(country->v_language->v_windowsCode, c.mainLanguage);
    EXPECT_EQ(CTLangSupport::EnglishCountryName(c.own), QString::fromUtf8(c.name));
    EXPECT_EQ(CTLangSupport::TwoLetterCountryName(c.own), c.alpha2);
    EXPECT_EQ(CTLangSupport::MainLanguageFor(c.own), c.mainLanguage);
  }
  // 11876 is "ROU", which is not Romania's number; 0 ("AAA") is no country.
  for (const int unknown : {11876, 0, -1, 17576}) {
    SCOPED_TRACE(unknown);
    EXPECT_EQ(CTCountryDefinition::FindCountry(unknown), nullptr);
    EXPECT_EQ(CTLangSupport::EnglishCountryName(unknown), "");
    EXPECT_EQ(CTLangSupport::TwoLetterCountryName(unknown), "");
    EXPECT_EQ(CTLangSupport::MainLanguageFor(unknown), 1033);
  }
}

TEST(CountryTable, OwnNumberOfThreeCapitalLetters) {
  const std::pair<const char*, int> cases[] = {
      {"AAA", 0}, {"AFG", 136}, {"DEU", 2152}, {"ZZZ", 17575}, {"deu", -1}, {"DE", -1}, {"DEUT", -1}, {"D3U", -1},
  };
  for (const auto& [letters, number] : cases) EXPECT_EQ(CTCountryDefinition::OwnNumber(letters), number) << letters;
}

TEST(CountryTable, MainLanguagesCountedPerLanguage) {
  // Counted by hand from the assignment of main languages; 138 countries
  // keep English.
  const std::map<int, int> expected = {
      {1033, 138}, {1052, 1}, {1026, 1}, {2052, 1},  {1028, 2}, {1050, 5}, {1029, 1}, {1030, 3},
      {1043, 5},   {1035, 1}, {1036, 28}, {1031, 3}, {1032, 2}, {1038, 1}, {1057, 1}, {1040, 3},
      {1041, 1},   {1044, 2}, {1045, 1}, {1046, 4},  {1048, 2}, {1049, 14}, {1051, 1}, {1060, 1},
      {1034, 23},  {1053, 2}, {1054, 1}, {1055, 1},  {1066, 1},
  };
  LTLangList countries;
  CTLangSupport::FillUniqueCountries(countries);
  std::map<int, int> counted;
  for (const LTLangListItem& item : countries) ++counted[CTLangSupport::MainLanguageFor(item.v_id)];
  EXPECT_EQ(counted, expected);
}

TEST(CountryTable, FirstCountryOfALanguageInTableOrder) {
  const std::pair<int, const char*> cases[] = {
      {1033, "AF"}, {1036, "DZ"}, {1031, "AT"}, {1028, "HK"}, {1050, "BA"}, {1049, "AM"}, {1053, "AX"},
  };
  for (const auto& [lcid, alpha2] : cases) {
    const CTCountryDefinition* country = CTCountryDefinition::FindACountryWithLanguage(lcid);
    ASSERT_NE(country, nullptr) << lcid;
    EXPECT_EQ(country->v_iso_2letterCode, alpha2) << lcid;
  }
  // Languages that are no country's main language.
  for (const int lcid : {1059, 1061, 2057, 3081, 1071, 1058, 4711})
    EXPECT_EQ(CTCountryDefinition::FindACountryWithLanguage(lcid), nullptr) << lcid;
}

// ---- lists ----

TEST(LangLists, FillingAppendsAndIndexLookupsFindTheFirstMatch) {
  LTLangList countries{{"(keep)", -7}};
  CTLangSupport::FillUniqueCountries(countries);
  ASSERT_EQ(countries.size(), 251);
  EXPECT_EQ(countries[0], (LTLangListItem{"(keep)", -7}));
  EXPECT_EQ(countries[1], (LTLangListItem{"Afghanistan", 136}));
  EXPECT_EQ(countries.last(), (LTLangListItem{"Zimbabwe", 17476}));

  const int germany = CTLangSupport::FindCountryCode(countries, 2152);
  ASSERT_GE(germany, 0);
  EXPECT_EQ(countries[germany].v_text, "Germany");
  EXPECT_EQ(CTLangSupport::ItemCountryCode(countries, germany), 2152);
  EXPECT_EQ(CTLangSupport::FindCountryCode(countries, 11876), -1);
  EXPECT_EQ(CTLangSupport::FindCountryCode({}, 2152), -1);
  for (const int outside : {-1, 251}) EXPECT_EQ(CTLangSupport::ItemCountryCode(countries, outside), 0) << outside;

  LTLangList languages;
  CTLangSupport::FillStrings(languages);
  const int french = CTLangSupport::FindLanguageIndex(languages, 1036);
  ASSERT_GE(french, 0);
  EXPECT_EQ(languages[french].v_text, "French");
  EXPECT_EQ(CTLangSupport::ItemLanguage(languages, french, 0), 1036);
  EXPECT_EQ(CTLangSupport::FindLanguageIndex(languages, 1027), -1);
  for (const int outside : {-1, 37}) EXPECT_EQ(CTLangSupport::ItemLanguage(languages, outside, 99), 99) << outside;
}

TEST(LangLists, SortedAsASortedListShowsThem) {
  LTLangList mixed{{"bravo", 1}, {"Charlie", 2}, {"alpha", 3}, {"Alpha2", 4}};
  CTLangSupport::SortByText(mixed);
  EXPECT_EQ(mixed, (LTLangList{{"alpha", 3}, {"Alpha2", 4}, {"bravo", 1}, {"Charlie", 2}}));

  LTLangList countries;
  CTLangSupport::FillUniqueCountries(countries);
  CTLangSupport::SortByText(countries);
  QStringList names;
  for (const LTLangListItem& item : countries) names << item.v_text;
  ASSERT_EQ(names.size(), 250);
  // Accented letters sort with their base letter.
  EXPECT_EQ(names.mid(0, 3), (QStringList{"Afghanistan", "Åland Islands", "Albania"}));
  const qsizetype ivory = names.indexOf("Côte d'Ivoire");
  ASSERT_GT(ivory, 0);
  EXPECT_EQ(names.mid(ivory - 1, 3), (QStringList{"Costa Rica", "Côte d'Ivoire", "Croatia"}));
  EXPECT_EQ(names.last(), "Zimbabwe");
}

// Builds for server 2 call language 2057 "English (USA)".
class ServerNaming : public testing::Test {
 protected:
  void TearDown() override { CTLangSupport::ApplyServerLanguageNames(0); }
};

TEST_F(ServerNaming, OnlyServerTwoRenamesBritishEnglish) {
  const std::pair<int, const char*> cases[] = {
      {0, "English (United Kingdom)"}, {1, "English (United Kingdom)"}, {10, "English (United Kingdom)"},
      {2, "English (USA)"},
  };
  for (const auto& [server, name] : cases) {
    SCOPED_TRACE(server);
    CTLangSupport::ApplyServerLanguageNames(server);
    EXPECT_EQ(CTLangSupport::ID2String(2057), name);
    EXPECT_EQ(CTLangSupport::String2ID(name), 2057);
    LTLangList languages;
    CTLangSupport::FillStrings(languages);
    EXPECT_EQ(languages[11], (LTLangListItem{name, 2057}));
    EXPECT_EQ(CTLangSupport::ID2String(1033), "English");
  }
}

// ---- the locale store ----

class LocaleStore : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(v_dir.isValid());
    CTRegistryStore::SetUserFolder(v_dir.path());
  }
  void TearDown() override {
    CTLangSupport::ApplyServerLanguageNames(0);
    CTRegistryStore::SetUserFolder(QString());
  }
  static void WriteRaw(const char* szName, int nValue) {
    CTRegistry registry;
    ASSERT_TRUE(registry.OpenKey("Software\\Norvane\\Locale", true));
    ASSERT_TRUE(registry.WriteInteger(szName, nValue));
  }

  QTemporaryDir v_dir;
};

TEST_F(LocaleStore, WrittenChoiceReadsBackFromTheSharedKey) {
  const LTLocaleData empty = CTLangSupport::GetLocaleData();
  EXPECT_FALSE(empty.v_stored);
  EXPECT_EQ(empty.v_country, 0);
  EXPECT_EQ(empty.v_language, 1033);

  CTLangSupport::SetLocaleData(3822, 1036);
  const LTLocaleData stored = CTLangSupport::GetLocaleData();
  EXPECT_TRUE(stored.v_stored);
  EXPECT_EQ(stored.v_country, 3822);
  EXPECT_EQ(stored.v_language, 1036);
  // Where the other Norvane programs look for it.
  CTRegistry registry;
  ASSERT_TRUE(registry.OpenKey("Software\\Norvane\\Locale", false));
  EXPECT_EQ(registry.ReadInteger("Country"), 3822);
  EXPECT_EQ(registry.ReadInteger("Language"), 1036);
}

TEST_F(LocaleStore, OneValueAloneOrOfTheWrongTypeIsNoChoice) {
  WriteRaw("Country", 2152);
  LTLocaleData data = CTLangSupport::GetLocaleData();
  EXPECT_FALSE(data.v_stored);
  EXPECT_EQ(data.v_country, 0);
  EXPECT_EQ(data.v_language, 1033);
  {
    CTRegistry registry;
    ASSERT_TRUE(registry.OpenKey("Software\\Norvane\\Locale", false));
    ASSERT_TRUE(registry.WriteString("Language", "1031"));
  }
  EXPECT_FALSE(CTLangSupport::GetLocaleData().v_stored);
  WriteRaw("Language", 1031);
  data = CTLangSupport::GetLocaleData();
  EXPECT_TRUE(data.v_stored);
  EXPECT_EQ(data.v_country, 2152);
  EXPECT_EQ(data.v_language, 1031);
}

TEST_F(LocaleStore, StartUpAsksOnlyWithoutAStoredChoiceAndNamesLanguagesForTheServer) {
  using Check = CTLangSupport::TLocaleCheck;
  EXPECT_EQ(CTLangSupport::CheckDefaultLocale(2), Check::kAskUser);
  EXPECT_EQ(CTLangSupport::ID2String(2057), "English (USA)");  // renamed before the user is asked
  CTLangSupport::SetLocaleData(539, 1031);
  EXPECT_EQ(CTLangSupport::CheckDefaultLocale(0), Check::kChoiceStored);
  EXPECT_EQ(CTLangSupport::ID2String(2057), "English (United Kingdom)");
  // A choice of a country we do not know still counts as made.
  CTLangSupport::SetLocaleData(11876, 4711);
  EXPECT_EQ(CTLangSupport::CheckDefaultLocale(0), Check::kChoiceStored);
}

// ---- translation approval ----

TEST(TranslationApproval, EmailNeedsTextBeforeTheAtAndAnInnerDotAfterIt) {
  const std::pair<const char*, bool> cases[] = {
      {"a@b.c", true},          // one character before "@", one each side of the dot
      {"anna.m@example.com", true},
      {"a@b.c.", true},         // the first dot counts
      {"@b.c", false},          // begins with "@"
      {"a@.bc", false},         // the part after "@" begins with its dot
      {"a@bc.", false},         // its only dot ends it
      {"a@bc", false},
      {"a.bc", false},
      {"", false},
  };
  for (const auto& [email, valid] : cases) EXPECT_EQ(LTTranslationApproval::IsValidEmail(email), valid) << email;
}

TEST(TranslationApproval, LineCarriesEveryAttributeXmlSafe) {
  LTTranslationApproval approval;
  approval.v_program = "aerolith";
  approval.v_version = "2.1.0";
  approval.v_language = 1031;
  approval.v_firstName = QString::fromUtf8("Anna \"A\" <B>'s");
  approval.v_lastName = QString::fromUtf8("Müller & Söhne");
  approval.v_email = "anna@example.com";
  // ü 252, ö 246, & 38, " 34, < 60; > and ' stay.
  EXPECT_EQ(approval.Line(),
            "<approval program=\"aerolith\" nr=\"2.1.0\" language=\"1031\" "
            "firstname=\"Anna &#34;A&#34; &#60;B>'s\" lastname=\"M&#252;ller &#38; S&#246;hne\" "
            "email=\"anna@example.com\" />\r\n");
}

TEST(TranslationApproval, UploadNameIsAFreshUuidNeverAPath) {
  const QRegularExpression form("^\\{[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\\}\\.txt$");
  QStringList names;
  for (int i = 0; i < 3; ++i) {
    const QString name = LTTranslationApproval::NewUploadName();
    EXPECT_TRUE(form.match(name).hasMatch()) << name.toStdString();
    EXPECT_FALSE(name.contains('/') || name.contains('\\') || name.contains(':')) << name.toStdString();
    EXPECT_FALSE(names.contains(name)) << name.toStdString();
    names << name;
  }
}

}  // namespace
