#include "online/CorvelSvc.h"

#include "online/CorvelConfig.h"
#include "online/CorvelIntegration.h"
#include "online/Transport.h"
#include "platform/VersionUtils.h"

#include <QXmlStreamWriter>

namespace {

constexpr const char* kSoapEnvelope = "http://schemas.xmlsoap.org/soap/envelope/";
constexpr const char* kSoapEncoding = "http://schemas.xmlsoap.org/soap/encoding/";
constexpr const char* kXsd = "http://www.w3.org/2001/XMLSchema";
constexpr const char* kXsi = "http://www.w3.org/2001/XMLSchema-instance";

QString Latin(const char* sz) { return QString::fromLatin1(sz); }

}  // namespace

CTCorvelSvc::CTCorvelSvc(QString szURL, int nDeadlineMs) : v_url(std::move(szURL)), v_deadlineMs(nDeadlineMs) {
  v_clock.start();
}

QByteArray CTCorvelSvc::Envelope(const QString& szOperation, const QList<LTArgument>& arguments) {
  QByteArray out;
  QXmlStreamWriter xml(&out);
  xml.writeStartDocument();
  xml.writeNamespace(Latin(kSoapEnvelope), QStringLiteral("SOAP-ENV"));
  xml.writeNamespace(Latin(kXsd), QStringLiteral("xsd"));
  xml.writeNamespace(Latin(kXsi), QStringLiteral("xsi"));
  xml.writeNamespace(Latin(kSoapEncoding), QStringLiteral("SOAP-ENC"));
  xml.writeStartElement(Latin(kSoapEnvelope), QStringLiteral("Envelope"));
  xml.writeStartElement(Latin(kSoapEnvelope), QStringLiteral("Body"));
  xml.writeAttribute(Latin(kSoapEnvelope), QStringLiteral("encodingStyle"), Latin(kSoapEncoding));
  xml.writeNamespace(Latin(kNamespace), QStringLiteral("NS1"));
  xml.writeStartElement(Latin(kNamespace), szOperation);
  for (const LTArgument& argument : arguments) {
    xml.writeStartElement(argument.szName);
    xml.writeAttribute(Latin(kXsi), QStringLiteral("type"),
                       argument.bInteger ? QStringLiteral("xsd:int") : QStringLiteral("xsd:string"));
    xml.writeCharacters(argument.szText);
    xml.writeEndElement();
  }
  xml.writeEndDocument();
  return out;
}

std::optional<QString> CTCorvelSvc::Call(const QString& szOperation, const QList<LTArgument>& arguments) {
  const qint64 leftMs = v_deadlineMs - v_clock.elapsed();
  if (v_url.isEmpty() || leftMs <= 0) return std::nullopt;
  LTHttpRequest request;
  request.verb = LTHttpRequest::Verb::kPost;
  request.url = v_url.toLatin1();
  request.headers = {{"Content-Type", "text/xml; charset=utf-8"},
                     {"SOAPAction", '"' + QByteArray(kNamespace) + '#' + szOperation.toLatin1() + '"'}};
  request.body = Envelope(szOperation, arguments);
  request.nMaxBytes = kMaxAnswer;
  request.nOverallMs = static_cast<int>(leftMs);
  const LTHttpResponse response = CTTransport::Current().Exchange(request);
  if (!response.Ok()) return std::nullopt;
  return ParseAnswer(response.body, szOperation);
}

namespace {
CTCorvelSvc::LTArgument Int(const char* szName, int nValue) {
  return {QString::fromLatin1(szName), QString::number(nValue), true};
}
}  // namespace

std::optional<int> CTCorvelSvc::ProgramID(const QString& szName) {
  return ParseInteger(Call(QStringLiteral("ProgramID"), {{QStringLiteral("szName"), szName, false}}));
}

std::optional<int> CTCorvelSvc::HasUpgrades(int nProgramID, int nGlosLanguage, int nCurrProgramVersion,
                                            int nCurrDbVersion, int nCurrGlosVersion) {
  return ParseInteger(Call(QStringLiteral("HasUpgrades"),
                           {Int("nProgramID", nProgramID), Int("nGlosLanguage", nGlosLanguage),
                            Int("nCurrProgramVersion", nCurrProgramVersion), Int("nCurrDbVersion", nCurrDbVersion),
                            Int("nCurrGlosVersion", nCurrGlosVersion)}));
}

std::optional<QString> CTCorvelSvc::ReleaseNotes(int nProgramID) {
  return Call(QStringLiteral("ReleaseNotes"), {Int("nProgramID", nProgramID)});
}

std::optional<int> CTCorvelSvc::HasManual(int nProgramID) {
  return ParseInteger(Call(QStringLiteral("HasManual"), {Int("nProgramID", nProgramID)}));
}

std::optional<QString> CTCorvelSvc::ManualInfo(int nManualID) {
  return Call(QStringLiteral("ManualInfo"), {Int("nManualID", nManualID)});
}

std::optional<QString> CTCorvelSvc::TransManualInfo(int nManualID, int nLangID) {
  return Call(QStringLiteral("TransManualInfo"), {Int("nManualID", nManualID), Int("nLangID", nLangID)});
}

std::unique_ptr<CTCorvelSvc> GetCorvelSvc() {
  const QString url = CTCorvelIntegration::ServerURL(CTVersionUtils::CorvelServerID(), Latin(CTCorvelSvc::kEndpoint));
  if (url.isEmpty()) return nullptr;
  return std::make_unique<CTCorvelSvc>(url);
}
