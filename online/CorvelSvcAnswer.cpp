// The reading of the service's answers, apart from the client so that the
// fuzz target takes it without the network.

#include "online/CorvelSvc.h"

#include <QXmlStreamReader>

namespace {

constexpr const char* kSoapEnvelope = "http://schemas.xmlsoap.org/soap/envelope/";

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
