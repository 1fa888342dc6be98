#include "online/CorvelSvcUtils.h"
#include "online/VersionsList.h"

#include <gtest/gtest.h>

namespace {

using L = CTVersionsList;

TEST(UpgradeNumber, DecodesTheServicesExamples) {
  struct LTCase {
    int n;
    bool bProgram;
    int nProgram;
    bool bDatabase;
    int nDatabase;
    bool bGlossary;
  };
  const LTCase cases[] = {
      {1, false, 0, false, 0, true},
      {1440, true, 720, false, 0, false},
      {2860001, false, 0, true, 143, true},
      {0, false, 0, false, 0, false},
      {-5, false, 0, false, 0, false},
  };
  for (const LTCase& c : cases) {
    const LTUpgradeInfo info = CTCorvelSvcUtils::DecodeUpdates(c.n);
    EXPECT_EQ(info.bProgramUpdated, c.bProgram) << c.n;
    EXPECT_EQ(info.nProgramVersion, c.nProgram) << c.n;
    EXPECT_EQ(info.bDatabaseUpdated, c.bDatabase) << c.n;
    EXPECT_EQ(info.nDatabaseVersion, c.nDatabase) << c.n;
    EXPECT_EQ(info.bGlossaryUpdated, c.bGlossary) << c.n;
  }
  EXPECT_EQ(CTCorvelSvcUtils::EncodeProgramUpdates(true, 720) + CTCorvelSvcUtils::EncodeDatabaseUpdates(true, 143) +
                CTCorvelSvcUtils::EncodeGlossaryUpdates(true),
            1440 + 2860000 + 1);
  EXPECT_EQ(CTCorvelSvcUtils::EncodeProgramUpdates(false, 720), 0);
  EXPECT_EQ(CTCorvelSvcUtils::EncodeProgramUpdates(true, 10000), 0);
  EXPECT_EQ(CTCorvelSvcUtils::EncodeDatabaseUpdates(true, 0), 0);
}

TEST(UpgradeNumber, DataVersionFromString) {
  EXPECT_EQ(CTCorvelSvcUtils::DataVersionFromString(QStringLiteral("1.4.3")), 143);
  EXPECT_EQ(CTCorvelSvcUtils::DataVersionFromString(QStringLiteral("v2.0 beta")), 20);
  EXPECT_EQ(CTCorvelSvcUtils::DataVersionFromString(QStringLiteral("Demo 1.4.3 (EU)")), 143);
  EXPECT_EQ(CTCorvelSvcUtils::DataVersionFromString(QString()), 0);
  EXPECT_EQ(CTCorvelSvcUtils::DataVersionFromString(QStringLiteral("99999999999")), 999999999);
}

QString Element(const QString& szAttributes) { return QStringLiteral("<version ") + szAttributes + QStringLiteral("/>"); }

QString Build(const char* szNr, const char* szLanguages = "", const char* szCountries = "", const char* szConfig = "",
              const char* szIsDft = "1", const char* szSize = "1000", const char* szDescr = "",
              const char* szPlatform = "") {
  return Element(QStringLiteral("key=\"Aerolith.exe\" nr=\"%1\" languages=\"%2\" countries=\"%3\" config=\"%4\" "
                                "isdft=\"%5\" centraldb=\"1.4.3\" companydb=\"\" path=\"builds/%1/Aerolith\" "
                                "size=\"%6\" descr=\"%7\" platform=\"%8\"")
                     .arg(QString::fromLatin1(szNr), QString::fromLatin1(szLanguages), QString::fromLatin1(szCountries),
                          QString::fromLatin1(szConfig), QString::fromLatin1(szIsDft), QString::fromLatin1(szSize),
                          QString::fromLatin1(szDescr), QString::fromLatin1(szPlatform)));
}

const QString kUpdater = Element(QStringLiteral(
    "key=\"updater2.EXE\" nr=\"\" languages=\"\" countries=\"\" config=\"\" isdft=\"0\" centraldb=\"\" "
    "companydb=\"\" path=\"tools/updater\" size=\"500\" descr=\"\" platform=\"\" sha256=\"ABCDEF\""));

TEST(VersionsList, ElementsGiveOneEntryPerLanguage) {
  const LTVersionsList list = L::Parse(kUpdater + Build("7.3.0", "1031 1036", "", "", "1", "1572864", "A&#10;B"), 720);
  EXPECT_FALSE(list.bFailed);
  ASSERT_TRUE(list.updater.has_value());
  EXPECT_EQ(list.updater->v_fileName, QStringLiteral("tools/updater"));
  EXPECT_EQ(list.updater->v_fileSize, 500) << "an attribute the list does not know (sha256) is passed over";
  ASSERT_EQ(list.entries.size(), 3u);
  EXPECT_EQ(list.entries[0].v_languageID, 1033);
  EXPECT_EQ(list.entries[1].v_languageID, 1031);
  EXPECT_EQ(list.entries[2].v_languageID, 1036);
  EXPECT_EQ(list.entries[0].v_version, 730);
  EXPECT_EQ(list.entries[0].v_centralDbVer, 143);
  EXPECT_EQ(list.entries[0].v_description, QStringLiteral("A\r\nB"));
  EXPECT_EQ(list.entries[0].v_shortDescription, QStringLiteral("A"));
  EXPECT_EQ(L::SizeText(list.entries[0].v_fileSize, QLatin1Char(',')), QStringLiteral("1,5MB"));
}

TEST(VersionsList, ElementsThatDoNotReadStopTheList) {
  struct LTCase {
    const char* szName;
    QString answer;
    size_t nEntries;
    bool bFailed;
  };
  const LTCase cases[] = {
      {"no size", Build("7.3.0") + Build("7.4.0", "", "", "", "1", ""), 1, true},
      {"no version", Build("") + Build("7.3.0"), 0, true},
      {"a language that is no number", Build("7.3.0", "1031 de"), 0, true},
      {"an attribute missing", Element(QStringLiteral("key=\"Aerolith.exe\" nr=\"7.3.0\"")), 0, true},
      {"older than the running build", Build("7.1.0") + Build("7.3.0"), 1, false},
      {"nothing", QStringLiteral("<html>404</html>"), 0, false},
      {"unclosed element", QStringLiteral("<version key=\"x\""), 0, false},
  };
  for (const LTCase& c : cases) {
    const LTVersionsList list = L::Parse(c.answer, 720);
    EXPECT_EQ(list.entries.size(), c.nEntries) << c.szName;
    EXPECT_EQ(list.bFailed, c.bFailed) << c.szName;
  }
}

TEST(VersionsList, CountryTestMatchesWholeNumbers) {
  LTVersionEntry entry;
  entry.v_countries = QStringLiteral("112 12");
  EXPECT_TRUE(L::IsCountryListed(entry, 12));
  EXPECT_TRUE(L::IsCountryListed(entry, 112));
  EXPECT_FALSE(L::IsCountryListed(entry, 11));
  EXPECT_FALSE(L::IsCountryListed(entry, 1));
}

std::vector<int> Languages(const std::vector<LTVersionEntry>& entries, const LTVersionListing& listing) {
  std::vector<int> out;
  for (const int i : listing.rows) out.push_back(entries[size_t(i)].v_languageID);
  return out;
}

TEST(VersionsList, CountriesAndLanguagesChooseTheRows) {
  const LTVersionsList list =
      L::Parse(Build("7.3.0", "1031", "12") + Build("7.3.0", "1036") + Build("7.3.0", "", "44"), 720);
  // 1033 and 1031 for country 12; 1033 and 1036 everywhere; 1033 for country 44.
  ASSERT_EQ(list.entries.size(), 5u);
  LTVersionFilter filter;
  filter.nCountry = 12;
  filter.nLanguage = 1031;
  LTVersionListing listing = L::Fill(list.entries, filter);
  // Country 12 is listed somewhere: only the builds listing it.
  EXPECT_EQ(listing.rows, (std::vector<int>{1}));
  EXPECT_EQ(listing.nBestRow, 0);
  EXPECT_TRUE(listing.bLangFound);

  filter.nCountry = 33;  // listed nowhere: the builds without a list
  filter.nLanguage = 1036;
  listing = L::Fill(list.entries, filter);
  EXPECT_EQ(Languages(list.entries, listing), (std::vector<int>{1036}));

  filter.nLanguage = 1040;  // no Italian: every language, the best among the English ones
  listing = L::Fill(list.entries, filter);
  EXPECT_FALSE(listing.bLangFound);
  EXPECT_EQ(listing.rows, (std::vector<int>{2, 3}));
  EXPECT_EQ(listing.nBestRow, 0);

  filter.nCountry = 0;
  EXPECT_TRUE(L::Fill(list.entries, filter).rows.empty());
}

TEST(VersionsList, RunningConfigurationAndPlatform) {
  const LTVersionsList list = L::Parse(Build("7.3.0", "", "", "Marine", "0") + Build("7.3.0") +
                                           Build("7.3.0", "", "", "", "1", "1000", "", "Win64"),
                                       720);
  LTVersionFilter filter;
  filter.nCountry = 12;
  filter.nLanguage = 1033;
  filter.bCanChangeConfig = false;  // server 1 or 2, outside the first configuration
  filter.szAppConfig = QStringLiteral("marine");
  filter.bAppDftConfig = false;
  LTVersionListing listing = L::Fill(list.entries, filter);
  EXPECT_EQ(listing.rows, (std::vector<int>{0}));

  filter.bCanChangeConfig = true;
  listing = L::Fill(list.entries, filter);
  EXPECT_EQ(listing.rows, (std::vector<int>{0, 1}));
  EXPECT_EQ(listing.nBestRow, 0) << "the running configuration is the best match";
  EXPECT_TRUE(listing.bAlt64);

  filter.szAppConfig.clear();
  filter.bAppDftConfig = true;
  listing = L::Fill(list.entries, filter);
  EXPECT_EQ(listing.nBestRow, 1) << "a default build for a default build";

  filter.bWantWin64 = true;
  listing = L::Fill(list.entries, filter);
  EXPECT_EQ(listing.rows, (std::vector<int>{2}));
  EXPECT_FALSE(listing.bAlt64);
}

TEST(VersionsList, SameBuildAndSizes) {
  const LTVersionsList list = L::Parse(Build("7.2.0", "", "", "Marine", "0"), 720);
  ASSERT_EQ(list.entries.size(), 1u);
  EXPECT_TRUE(L::SameBuild(list.entries[0], 720, 1033, 143, false, QStringLiteral("MARINE")));
  EXPECT_FALSE(L::SameBuild(list.entries[0], 720, 1031, 143, false, QStringLiteral("Marine")));
  EXPECT_FALSE(L::SameBuild(list.entries[0], 720, 1033, 142, false, QStringLiteral("Marine")));
  EXPECT_EQ(L::SizeText(1572864), QStringLiteral("1.5MB"));
  EXPECT_EQ(L::SizeText(0), QStringLiteral("0.0MB"));
  // 0.25 MB is exactly between 0.2 and 0.3: half to even.
  EXPECT_EQ(L::SizeText(262144), QStringLiteral("0.2MB"));
  EXPECT_EQ(L::SizeText(10485760), QStringLiteral("10.0MB"));
}

}  // namespace
