#include "FakeTransport.h"

#include "online/ATORemoteUtils0.h"
#include "online/CorvelIntegration.h"
#include "online/CorvelSvc.h"

#include <QXmlStreamReader>

#include <gtest/gtest.h>

namespace {

QByteArray Answer(const QString& szOperation, const QString& szResult, const char* szType = "xsd:int") {
  return QStringLiteral(
             "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
             "<SOAP-ENV:Envelope xmlns:SOAP-ENV=\"http://schemas.xmlsoap.org/soap/envelope/\" "
             "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">"
             "<SOAP-ENV:Body><NS1:%1Response xmlns:NS1=\"urn:CorvelSvcIntf-ICorvelSvc\">"
             "<return xsi:type=\"%3\">%2</return></NS1:%1Response></SOAP-ENV:Body></SOAP-ENV:Envelope>")
      .arg(szOperation, szResult, QString::fromLatin1(szType))
      .toUtf8();
}

TEST(SoapEnvelope, NamesOperationAndArgumentsInTheServiceNamespace) {
  const QByteArray envelope = CTCorvelSvc::Envelope(
      QStringLiteral("TransManualInfo"),
      {{QStringLiteral("nManualID"), QStringLiteral("3"), true}, {QStringLiteral("nLangID"), QStringLiteral("1031"), true}});
  QXmlStreamReader reader(envelope);
  QStringList seen;
  while (!reader.atEnd()) {
    if (reader.readNext() == QXmlStreamReader::StartElement)
      seen << reader.namespaceUri().toString() + QLatin1Char('|') + reader.name().toString() + QLatin1Char('|') +
                  reader.attributes().value(QStringLiteral("http://www.w3.org/2001/XMLSchema-instance"), QStringLiteral("type")).toString();
  }
  ASSERT_FALSE(reader.hasError()) << reader.errorString().toStdString();
  EXPECT_EQ(seen, (QStringList{QStringLiteral("http://schemas.xmlsoap.org/soap/envelope/|Envelope|"),
                               QStringLiteral("http://schemas.xmlsoap.org/soap/envelope/|Body|"),
                               QStringLiteral("urn:CorvelSvcIntf-ICorvelSvc|TransManualInfo|"),
                               QStringLiteral("|nManualID|xsd:int"), QStringLiteral("|nLangID|xsd:int")}));
  // Texts are escaped by the writer, never spliced.
  const QByteArray hostile = CTCorvelSvc::Envelope(QStringLiteral("ProgramID"),
                                                   {{QStringLiteral("szName"), QStringLiteral("</szName><x>"), false}});
  EXPECT_FALSE(hostile.contains("</szName><x>"));
}

TEST(SoapEnvelope, AnswersAndNonAnswers) {
  struct LTCase {
    const char* szName;
    QByteArray answer;
    std::optional<QString> result;
  };
  const LTCase cases[] = {
      {"integer", Answer(QStringLiteral("ProgramID"), QStringLiteral("7")), QStringLiteral("7")},
      {"string", Answer(QStringLiteral("ProgramID"), QStringLiteral("ab&amp;c"), "xsd:string"), QStringLiteral("ab&c")},
      {"empty string", Answer(QStringLiteral("ProgramID"), QString(), "xsd:string"), QString()},
      {"another operation's answer", Answer(QStringLiteral("HasManual"), QStringLiteral("7")), std::nullopt},
      {"fault",
       "<SOAP-ENV:Envelope xmlns:SOAP-ENV=\"http://schemas.xmlsoap.org/soap/envelope/\"><SOAP-ENV:Body>"
       "<SOAP-ENV:Fault><faultcode>SOAP-ENV:Server</faultcode><faultstring>no</faultstring></SOAP-ENV:Fault>"
       "</SOAP-ENV:Body></SOAP-ENV:Envelope>",
       std::nullopt},
      {"envelope of another namespace",
       "<Envelope><Body><ProgramIDResponse><return>7</return></ProgramIDResponse></Body></Envelope>", std::nullopt},
      {"cut short", Answer(QStringLiteral("ProgramID"), QStringLiteral("7")).left(300), std::nullopt},
      {"element inside the result",
       Answer(QStringLiteral("ProgramID"), QStringLiteral("<b>7</b>")), std::nullopt},
      {"garbage", QByteArray("\x00\xff<<<garbage", 12), std::nullopt},
      {"nothing", QByteArray(), std::nullopt},
  };
  for (const LTCase& c : cases)
    EXPECT_EQ(CTCorvelSvc::ParseAnswer(c.answer, QStringLiteral("ProgramID")), c.result) << c.szName;
  EXPECT_EQ(CTCorvelSvc::ParseInteger(QStringLiteral(" 42 ")), 42);
  EXPECT_EQ(CTCorvelSvc::ParseInteger(QStringLiteral("4x")), std::nullopt);
  EXPECT_EQ(CTCorvelSvc::ParseInteger(std::nullopt), std::nullopt);
}

// The service as the fake answers it: operation name -> result text.
CTFakeTransport::TAnswer Service(std::map<QString, QString> results, const char* szType = "xsd:int") {
  return [results, szType](const LTHttpRequest& r) {
    QXmlStreamReader reader(r.body);
    QString operation;
    while (reader.readNextStartElement())
      if (reader.namespaceUri() == QLatin1String("urn:CorvelSvcIntf-ICorvelSvc")) {
        operation = reader.name().toString();
        break;
      }
    const auto found = results.find(operation);
    if (found == results.end()) return CTFakeTransport::Bytes(r, "fault", 500);
    return CTFakeTransport::Bytes(r, Answer(operation, found->second, szType));
  };
}

TEST(ServiceQuestions, AskedOfTheBuildsServerWithThePackedProgramName) {
  CTFakeTransport fake(Service({{QStringLiteral("ProgramID"), QStringLiteral("7")},
                                {QStringLiteral("HasUpgrades"), QStringLiteral("1441")}}));
  EXPECT_EQ(CTCorvelIntegration::IdentifyProgram(), 7);
  EXPECT_EQ(CTCorvelIntegration::HasUpgrades(1031, 700, 143, 20260101), 1441);
  ASSERT_EQ(fake.Requests().size(), 3u);
  const LTHttpRequest& first = fake.Requests()[0];
  EXPECT_TRUE(first.url.endsWith("/svc/CorvelSvc.dll/soap/ICorvelSvc")) << first.url.constData();
  EXPECT_EQ(first.verb, LTHttpRequest::Verb::kPost);
  EXPECT_TRUE(first.headers.contains(std::pair<QByteArray, QByteArray>(
      "SOAPAction", "\"urn:CorvelSvcIntf-ICorvelSvc#ProgramID\"")));
  const QString packed = CTATORemoteUtils0::PackProgramName(QStringLiteral("Aerolith.exe"));
  EXPECT_TRUE(first.body.contains(packed.toLatin1()));
  const QByteArray upgrades = fake.Requests()[2].body;
  for (const char* argument : {">7<", ">1031<", ">700<", ">143<", ">20260101<"})
    EXPECT_TRUE(upgrades.contains(argument)) << argument;
  // One deadline for the question as a whole, not per call.
  EXPECT_LE(fake.Requests()[2].nOverallMs, 5000);
}

TEST(ServiceQuestions, NoneValuesWhenTheServiceFailsOrDoesNotKnowTheProgram) {
  {
    CTFakeTransport fake;  // no connection
    QString path;
    QByteArray notes;
    EXPECT_EQ(CTCorvelIntegration::IdentifyProgram(), 0);
    EXPECT_EQ(CTCorvelIntegration::HasUpgrades(1033, 700, 143, 1), 0);
    EXPECT_FALSE(CTCorvelIntegration::HasUsersManual(1033, path));
    EXPECT_FALSE(CTCorvelIntegration::ReleaseNotes(notes));
  }
  {
    CTFakeTransport fake(Service({{QStringLiteral("ProgramID"), QStringLiteral("0")}}));
    EXPECT_EQ(CTCorvelIntegration::HasUpgrades(1033, 700, 143, 1), 0);
    EXPECT_EQ(fake.Requests().size(), 1u) << "an unknown program asks nothing more";
  }
  {
    CTFakeTransport fake(Service({{QStringLiteral("ProgramID"), QStringLiteral("7")},
                                  {QStringLiteral("HasManual"), QStringLiteral("0")}}));
    QString path = QStringLiteral("kept");
    EXPECT_FALSE(CTCorvelIntegration::HasUsersManual(1033, path));
    EXPECT_EQ(path, QStringLiteral("kept"));
  }
}

TEST(ServiceQuestions, ManualPathAndReleaseNotesAreUnpacked) {
  const QString path = QStringLiteral("manuals/de/Aerolith.pdf");
  const QString rtf = QStringLiteral("{\\rtf1\\ansi {\\b New} in 7.2.0\\par}");
  CTFakeTransport fake(Service({{QStringLiteral("ProgramID"), QStringLiteral("7")},
                                {QStringLiteral("HasManual"), QStringLiteral("3")},
                                {QStringLiteral("TransManualInfo"), CTATORemoteUtils0::PackServiceText(path)},
                                {QStringLiteral("ReleaseNotes"), CTATORemoteUtils0::PackServiceText(rtf)}},
                               "xsd:string"));
  QString found;
  ASSERT_TRUE(CTCorvelIntegration::HasUsersManual(1031, found));
  EXPECT_EQ(found, path);
  QByteArray notes;
  ASSERT_TRUE(CTCorvelIntegration::ReleaseNotes(notes));
  EXPECT_EQ(notes, "{\\rtf1\\ansi {\\b New} in 7.2.0\\par}");
}

}  // namespace
