// The device-information rules over a small catalogue of our own: keywords,
// what the window offers, and the addresses it opens.

#include "catalogue/CatalogueTest.h"

#include "catalogue/ClHRX.h"
#include "catalogue/ClIndFamily.h"
#include "catalogue/ClStaticURL.h"
#include "i18n/LangSupport.h"
#include "online/CorvelConfig.h"
#include "online/DeviceLinks.h"
#include "platform/VersionUtils.h"

#include <QSet>

#include <gtest/gtest.h>

namespace {

using L = CTDeviceLinks;

// A build of server nServer for one scope.
class BuildOf {
 public:
  explicit BuildOf(int nServer) {
    v_info.versionNumber = 720;
    v_info.serverID = nServer;
    CTVersionUtils::SetInfoForTests(&v_info);
  }
  ~BuildOf() { CTVersionUtils::SetInfoForTests(nullptr); }

 private:
  LTBuildInfo v_info;
};

class MirrorAt {
 public:
  explicit MirrorAt(const QByteArray& address) { qputenv(CTCorvelConfig::kMirrorEnvironment, address); }
  ~MirrorAt() { qunsetenv(CTCorvelConfig::kMirrorEnvironment); }
};

class DeviceLinks : public CatalogueTest {
 protected:
  void SetUp() override {
    CatalogueTest::SetUp();
    CTVersionUtils::SetInfoForTests(nullptr);
  }
  void TearDown() override {
    CTVersionUtils::SetInfoForTests(nullptr);
    CatalogueTest::TearDown();
  }
  // A family in the factory's cache, as the start-up leaves them.
  void Family(const QString& szShort, const QString& szLookup) {
    Cls_IndFamily family;
    family.SetShort(szShort);
    family.SetLookupSeries(szLookup);
    family.Insert();
    v_factory.GetCachedObject(Cls_IndFamily::kClassID, family.GetID());
  }
  void Link(const QString& szTitle, const QString& szLookup, bool bDownload = false) {
    Cls_StaticURL link;
    link.SetTitle(szTitle);
    link.SetURL(QStringLiteral("https://www.norvane.example/") +
                szTitle.toLower().replace(QLatin1Char(' '), QLatin1Char('-')));
    link.SetLookupSeries(szLookup);
    link.SetIsCorvelDownload(bDownload);
    link.Insert();
  }
  static QString Keyword(const QString& szSeries) {
    Cls_HRX unit;
    unit.SetSeries(szSeries);
    return L::SeriesKeyword(nullptr, unit);
  }
};

TEST_F(DeviceLinks, KeywordIsTheFamilysLookupSeriesItsShortNameOrTheSeries) {
  Family(QStringLiteral("NVH"), QStringLiteral(" HRV-NVH "));
  Family(QStringLiteral("NVK"), QStringLiteral("  "));
  struct Case {
    const char* series;
    const char* keyword;
  };
  // The family is found whatever the letter case; its own spelling wins.
  const Case cases[] = {
      {"NVH", "HRV-NVH"}, {"nvh", "HRV-NVH"}, {"nvk", "NVK"}, {" NVX ", "NVX"}, {"", ""},
  };
  for (const int server : {0, 10}) {
    const BuildOf build(server);
    for (const Case& c : cases) EXPECT_EQ(Keyword(c.series), c.keyword) << "server " << server << ", " << c.series;
  }
  for (const int server : {1, 2, 7}) {
    const BuildOf build(server);
    for (const Case& c : cases) EXPECT_EQ(Keyword(c.series), "") << "server " << server << ", " << c.series;
  }
}

TEST_F(DeviceLinks, AvailableWithAKeywordOrLinksForEverySeries) {
  EXPECT_TRUE(L::InformationAboutAvailable(nullptr, "HRV-NVH")) << "a keyword always has the maker's pages";
  EXPECT_FALSE(L::InformationAboutAvailable(nullptr, ""));
  Link("NVH sheet", "HRV-NVH");
  Link("Update", "", true);
  EXPECT_FALSE(L::InformationAboutAvailable(nullptr, " ")) << "series links and downloads do not count";
  Link("All series", "");
  EXPECT_TRUE(L::InformationAboutAvailable(nullptr, ""));
}

TEST_F(DeviceLinks, RowsInternetFirstWithLinksInCatalogueOrderThenTheExtranet) {
  Link("NVH sheet", "HRV-NVH");
  Link("NVD sheet", "HRV-NVD");
  Link("All series", "");
  Link("NVH download", "HRV-NVH", true);
  const auto rows = [](const QString& series) {
    QStringList out;
    for (const L::LTInfoRow& r : L::Rows(nullptr, series))
      out << QStringLiteral("%1|%2|%3|%4")
                 .arg(r.nType)
                 .arg(r.szCaption, r.szExtra, r.bExtranet ? "extranet" : "internet");
    return out;
  };
  // The fixed links come as the catalogue lists them, which need not be the
  // order they were written in.
  QStringList listed;
  for (const Cls_StaticURL* link : Cls_StaticURL::GetStaticURLs("HRV-NVH", false, 0))
    listed << "3|" + link->GetTitle() + "|" + link->GetURL() + "|internet";
  ASSERT_EQ(QSet<QString>(listed.begin(), listed.end()),
            (QSet<QString>{"3|NVH sheet|https://www.norvane.example/nvh-sheet|internet",
                           "3|All series|https://www.norvane.example/all-series|internet"}));
  EXPECT_EQ(rows("HRV-NVH"),
            QStringList{"1|Commercial information||internet"} + listed + QStringList{"2|Documentation||extranet"});
  EXPECT_EQ(rows(""), (QStringList{"3|All series|https://www.norvane.example/all-series|internet"}));
}

TEST(DeviceLinkTexts, TabCaptionAndCaller) {
  EXPECT_EQ(L::TabCaption(" HRV-NVH ", ""), "HRV-NVH");
  EXPECT_EQ(L::TabCaption("HRV-NVH", " Ventilation "), "Ventilation - HRV-NVH");
  EXPECT_EQ(L::TabCaption("", ""), "General");
  EXPECT_EQ(L::TabCaption(" ", "Ventilation"), "Ventilation - General");
  EXPECT_EQ(L::CallerName(), "Aerolith");
}

TEST_F(DeviceLinks, InformationAddressGoesThroughTheDocumentScript) {
  CTLangSupport::SetLocaleData(11868, 1033);
  const BuildOf build(0);
  const MirrorAt mirror("127.0.0.1:8123");
  const QString script = "http://127.0.0.1:8123/scripts/show_doc.asp?";
  struct Case {
    const char* series;
    int type;
    const char* extra;
    const char* query;
  };
  const Case cases[] = {
      {"ABC", 3, "x.pdf", "series=ABC&country=11868&type=3&caller=Aerolith&page=x.pdf"},
      {"A B&C", 1, "x.pdf", "series=A%20B%26C&country=11868&type=1&caller=Aerolith"},
      {"HRV-NVH", 2, "", "series=HRV-NVH&country=11868&type=2&caller=Aerolith"},
      {"", 3, "https://www.norvane.example/a b.pdf?q=1",
       "series=&country=11868&type=3&caller=Aerolith&page=https%3A//www.norvane.example/a%20b.pdf%3Fq%3D1"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(L::GetInformationURL(c.series, c.type, c.extra, 0), script + c.query) << c.series << " " << c.type;

  CTLangSupport::SetLocaleData(2152, 1031);  // "DEU"
  EXPECT_EQ(L::GetInformationURL("ABC", 1, "", 10), script + "series=ABC&country=2152&type=1&caller=Aerolith");
}

TEST_F(DeviceLinks, InformationAddressOfTheBuildsServerAndOfNone) {
  CTLangSupport::SetLocaleData(11868, 1033);
  {
    const MirrorAt mirror("docs.example:80");
    const BuildOf build(10);
    EXPECT_EQ(L::GetInformationURL("ABC", 1, "", L::kBuildServer),
              "http://docs.example/scripts/show_doc.asp?series=ABC&country=11868&type=1&caller=Aerolith");
    EXPECT_EQ(L::GetInformationURL("ABC", 1, "", 3), "") << "a number without a server";
  }
  {
    const BuildOf build(3);
    EXPECT_EQ(L::GetInformationURL("ABC", 1, "", L::kBuildServer), "");
    EXPECT_TRUE(L::GetInformationURL("ABC", 1, "", 0).startsWith("http://")) << "an explicit number is not the build's";
  }
}

}  // namespace
