// The about box's rules without a window: addresses, lines, the online
// offers over a scripted service and the question after a locale change.

#include "FakeTransport.h"

#include "i18n/LangSupport.h"
#include "online/ATORemoteUtils0.h"
#include "online/AboutInfo.h"
#include "platform/VersionUtils.h"

#include <gtest/gtest.h>

#include <map>

namespace {

using A = CTAboutInfo;

TEST(AboutAddresses, CaptionsWithoutSchemeAndAddressesWithOne) {
  struct Case {
    const char* address;
    const char* caption;
    const char* withScheme;
  };
  const Case cases[] = {
      {"https://www.norvane.example", "www.norvane.example", "https://www.norvane.example"},
      {"http://aerolith.example/help", "aerolith.example/help", "http://aerolith.example/help"},
      {"www.norvane.example", "www.norvane.example", "http://www.norvane.example"},
      {"ftp://files.example/a.pdf", "files.example/a.pdf", "ftp://files.example/a.pdf"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(A::LinkCaption(c.address), c.caption) << c.address;
    EXPECT_EQ(A::WithScheme(c.address), c.withScheme) << c.address;
  }
  EXPECT_EQ(A::MailtoURL("info@norvane.example"), "mailto:info@norvane.example");
}

TEST(AboutAddresses, MakerAndDeveloperLiveUnderTheReservedDomain) {
  for (const LTAboutParty& party : {A::Maker(), A::Developer()}) {
    SCOPED_TRACE(party.szName.toStdString());
    EXPECT_FALSE(party.szName.isEmpty());
    EXPECT_FALSE(party.addressLines.isEmpty());
    EXPECT_TRUE(party.szWeb.startsWith("https://")) << party.szWeb.toStdString();
    EXPECT_TRUE(A::LinkCaption(party.szWeb).endsWith(".example")) << party.szWeb.toStdString();
    EXPECT_TRUE(party.szEmail.endsWith(".example")) << party.szEmail.toStdString();
  }
  EXPECT_EQ(A::Maker().szName, "Norvane");
}

TEST(AboutLines, VersionLanguageDatabaseAndDistributor) {
  LTBuildInfo info;
  info.versionNumber = 721;
  CTVersionUtils::SetInfoForTests(&info);
  EXPECT_EQ(A::VersionText(), "7.2.1");
  info.suffix = "beta 2";
  CTVersionUtils::SetInfoForTests(&info);
  EXPECT_EQ(A::VersionText(), "7.2.1 - beta 2");
  CTVersionUtils::SetInfoForTests(nullptr);

  CTLangSupport::SetUILanguage(1031);
  EXPECT_EQ(A::LanguageText(), "German");
  CTLangSupport::SetUILanguage(1033);
  EXPECT_EQ(A::LanguageText(), "English");

  EXPECT_EQ(A::DataVersionText("  2026.12 EU \n"), "2026.12 EU");
  EXPECT_EQ(A::DataVersionText("   "), "");
  EXPECT_EQ(A::DataVersionText("2026.12", "EU"), "2026.12 EU");
  EXPECT_EQ(A::DataVersionText("2026.12", ""), "2026.12");
  EXPECT_EQ(A::DataVersionText(" 14.3", "EU"), "1.4.3 EU") << "the catalogue's version as every window shows it";
  EXPECT_EQ(A::DataVersionText("", ""), "") << "no version: no database line";

  EXPECT_EQ(A::DistributorLines(), QStringList()) << "this build has no distributor";
}

TEST(AboutManual, FileNameOfTheServerPath) {
  EXPECT_EQ(A::ManualFileName("manuals/en/Aerolith.pdf"), "Aerolith.pdf");
  EXPECT_EQ(A::ManualFileName("manuals\\de\\Handbuch.pdf"), "Handbuch.pdf");
  EXPECT_EQ(A::ManualFileName("Aerolith.pdf"), "Aerolith.pdf");
}

TEST(AboutLocale, CountryQuestionOnlyWhereTheCatalogueVersionShows) {
  using Q = A::TLocaleQuestion;
  const LTLocaleData usEnglish{11868, 1033, true};
  struct Case {
    const char* name;
    LTLocaleData after;
    bool dataShown;
    Q question;
  };
  const Case cases[] = {
      {"nothing changed", usEnglish, true, Q::kNone},
      {"country", {2152, 1033, true}, true, Q::kCountry},
      {"country and language", {2152, 1031, true}, true, Q::kCountry},
      {"language", {11868, 1031, true}, true, Q::kLanguage},
      {"country without catalogue version", {2152, 1033, true}, false, Q::kNone},
      {"both without catalogue version", {2152, 1031, true}, false, Q::kLanguage},
  };
  for (const Case& c : cases)
    EXPECT_EQ(A::QuestionAfterLocaleChange(usEnglish, c.after, c.dataShown), c.question) << c.name;
  EXPECT_EQ(A::QuestionText(Q::kCountry),
            "You have changed your country setting. Do you want to check for country specific updates?");
  EXPECT_EQ(A::QuestionText(Q::kLanguage),
            "You have changed your preferred language. Do you want to check for language specific updates?");
  EXPECT_EQ(A::QuestionText(Q::kNone), "");
}

// A service that answers the operations it is given; anything else fails.
CTFakeTransport::TAnswer Service(std::map<QByteArray, QString> answers) {
  return [answers](const LTHttpRequest& r) {
    QByteArray action;
    for (const auto& [name, value] : r.headers)
      if (name == "SOAPAction") action = value.mid(value.indexOf('#') + 1).chopped(1);
    const auto found = answers.find(action);
    if (found == answers.end()) return CTFakeTransport::Bytes(r, "fault", 500);
    const bool text = action == "TransManualInfo";
    const QString envelope = QStringLiteral(
        "<SOAP-ENV:Envelope xmlns:SOAP-ENV=\"http://schemas.xmlsoap.org/soap/envelope/\" "
        "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"><SOAP-ENV:Body>"
        "<NS1:%1Response xmlns:NS1=\"urn:CorvelSvcIntf-ICorvelSvc\"><return xsi:type=\"%3\">%2</return>"
        "</NS1:%1Response></SOAP-ENV:Body></SOAP-ENV:Envelope>");
    return CTFakeTransport::Bytes(
        r, envelope.arg(QString::fromLatin1(action), found->second, text ? "xsd:string" : "xsd:int").toUtf8());
  };
}

// The operations asked, in order.
QList<QByteArray> Operations(const CTFakeTransport& fake) {
  QList<QByteArray> operations;
  for (const LTHttpRequest& r : fake.Requests())
    for (const auto& [name, value] : r.headers)
      if (name == "SOAPAction") operations << value.mid(value.indexOf('#') + 1).chopped(1);
  return operations;
}

TEST(AboutOnline, OffersFollowWhatTheServiceKnows) {
  const QString path = "manuals/de/Aerolith.pdf";
  struct Case {
    const char* name;
    std::map<QByteArray, QString> answers;
    int program;
    bool notes, manual;
    // The program's number once, then only what it leads to: a server that
    // does not answer costs one question, not one per offer.
    QList<QByteArray> asked;
  };
  const Case cases[] = {
      {"no server", {}, 0, false, false, {"ProgramID"}},
      {"program unknown", {{"ProgramID", "0"}}, 0, false, false, {"ProgramID"}},
      {"program known, no manual", {{"ProgramID", "7"}, {"HasManual", "0"}}, 7, true, false, {"ProgramID", "HasManual"}},
      {"program known with a manual",
       {{"ProgramID", "7"}, {"HasManual", "3"}, {"TransManualInfo", CTATORemoteUtils0::PackServiceText(path)}},
       7,
       true,
       true,
       {"ProgramID", "HasManual", "TransManualInfo"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CTFakeTransport fake(Service(c.answers));
    const LTOnlineOffers offers = A::AskOnlineOffers(1031);
    EXPECT_EQ(offers.nProgramID, c.program);
    EXPECT_EQ(offers.bReleaseNotes, c.notes);
    EXPECT_EQ(offers.bManual, c.manual);
    EXPECT_EQ(offers.szManualPath, c.manual ? path : QString());
    EXPECT_EQ(Operations(fake), c.asked);
    if (c.manual) {
      EXPECT_TRUE(fake.Requests().back().body.contains(">1031<")) << "the manual in the language asked";
    }
  }
}

TEST(AboutOnline, LaterQuestionsPassTheProgramsNumberOn) {
  const QString path = "manuals/fr/Aerolith.pdf";
  CTFakeTransport fake(Service({{"HasManual", "3"}, {"TransManualInfo", CTATORemoteUtils0::PackServiceText(path)}}));
  QString found;
  ASSERT_TRUE(A::AskManual(7, 1036, found));
  EXPECT_EQ(found, path);
  EXPECT_EQ(Operations(fake), (QList<QByteArray>{"HasManual", "TransManualInfo"}));
  EXPECT_TRUE(fake.Requests().front().body.contains(">7<")) << "the number passed on";
  // An unknown program has no manual, and nobody is asked.
  QString kept = "kept";
  EXPECT_FALSE(A::AskManual(0, 1036, kept));
  EXPECT_EQ(kept, "kept");
  EXPECT_EQ(fake.Requests().size(), 2u);
}

}  // namespace
