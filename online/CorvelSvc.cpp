#include "online/CorvelSvc.h"

#include "online/CorvelConfig.h"
#include "online/CorvelIntegration.h"
#include "online/Transport.h"
#include "platform/VersionUtils.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace {

constexpr const char* kSoapEnvelope = "http://schemas.xmlsoap.org/soap/envelope/";
constexpr const char* kSoapEncoding = "http://schemas.xmlsoap.org/soap/encoding/";
constexpr const char* kXsd = "http://www.w3.org/2001/XMLSchema";
constexpr const char* kXsi = "http://www.w3.org/2001/XMLSchema-instance";

QString Latin(const char* sz) { return QString::fromLatin1(sz); }

// Moves the reader to the next start element inside the current one; false
// at its end or on an error.
bool NextChildElement(QXmlStreamReader& reader) {
  while (!reader.atEnd()) {
    switch (reader.readNext()) {
      case QXmlStreamReader::StartElement: return true;
      case QXmlStreamReader::EndElement: return false;
      default: break;
    }
  }
  return false;
}

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

std::optional<QString> CTCorvelSvc::ParseAnswer(const QByteArray& arAnswer, const QString& szOperation) {
  QXmlStreamReader reader(arAnswer);
  // Envelope, then Body, then the operation's answer, then its result.
  if (!NextChildElement(reader) || reader.name() != QLatin1String("Envelope") ||
      reader.namespaceUri() != QLatin1String(kSoapEnvelope))
    return std::nullopt;
  bool inBody = false;
  while (NextChildElement(reader)) {
    if (reader.name() == QLatin1String("Body") && reader.namespaceUri() == QLatin1String(kSoapEnvelope)) {
      inBody = true;
      break;
    }
    reader.skipCurrentElement();  // a Header
  }
  if (!inBody || !NextChildElement(reader)) return std::nullopt;
  if (reader.name() != QString(szOperation + QStringLiteral("Response"))) return std::nullopt;
  if (!NextChildElement(reader)) return std::nullopt;
  const QString text = reader.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement);
  // The rest must be a whole document too: a cut answer is no answer.
  while (!reader.atEnd() && !reader.hasError()) reader.readNext();
  if (reader.hasError()) return std::nullopt;
  return text;
}

std::optional<int> CTCorvelSvc::ParseInteger(const std::optional<QString>& result) {
  if (!result) return std::nullopt;
  bool ok = false;
  const int value = result->trimmed().toInt(&ok, 10);
  if (!ok) return std::nullopt;
  return value;
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
