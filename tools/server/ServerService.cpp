#include "tools/server/ServerService.h"

#include "online/ATORemoteUtils0.h"
#include "tools/server/ServerPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <cstdio>
#include <functional>
#include <map>
#include <optional>

namespace {

constexpr qint64 kMaxServiceFileBytes = 4 * 1024 * 1024;
constexpr qint64 kMaxReleaseNotesBytes = 8 * 1024 * 1024;
const char* const kXsiNs = "http://www.w3.org/2001/XMLSchema-instance";
const char* const kXsdNs = "http://www.w3.org/2001/XMLSchema";
const char* const kEncodingNs = "http://schemas.xmlsoap.org/soap/encoding/";

void Warn(const QString& szText) {
  const QByteArray arLine = (QStringLiteral("aerolith-server: ") + szText + QLatin1Char('\n')).toUtf8();
  std::fwrite(arLine.constData(), 1, static_cast<size_t>(arLine.size()), stderr);
  std::fflush(stderr);
}

// A JSON number that is a whole 32-bit value; anything else is refused
// rather than rounded or wrapped.
std::optional<qint64> WholeNumber(const QJsonValue& value, qint64 nMin, qint64 nMax) {
  if (!value.isDouble()) return std::nullopt;
  const double d = value.toDouble();
  if (!(d >= static_cast<double>(nMin) && d <= static_cast<double>(nMax)) || d != static_cast<double>(qint64(d))) {
    return std::nullopt;
  }
  return qint64(d);
}

int IntField(const QJsonObject& object, const char* szKey, const QString& szWhere, QStringList& problems) {
  const QJsonValue value = object.value(QLatin1String(szKey));
  if (value.isUndefined()) return 0;
  const std::optional<qint64> n = WholeNumber(value, INT32_MIN, INT32_MAX);
  if (!n) {
    problems << QStringLiteral("%1: \"%2\" is not a whole number").arg(szWhere, QLatin1String(szKey));
    return 0;
  }
  return static_cast<int>(*n);
}

std::vector<LTServiceProgram> ReadPrograms(const QJsonDocument& document, QStringList& problems) {
  std::vector<LTServiceProgram> programs;
  const QJsonValue list = document.object().value(QLatin1String("programs"));
  if (!document.isObject() || !list.isArray()) {
    problems << QStringLiteral("no \"programs\" list");
    return programs;
  }
  const QJsonArray array = list.toArray();
  for (qsizetype i = 0; i < array.size(); ++i) {
    const QString szWhere = QStringLiteral("programs[%1]").arg(i);
    const QJsonObject object = array.at(i).toObject();
    LTServiceProgram program;
    program.szName = object.value(QLatin1String("name")).toString();
    if (program.szName.isEmpty()) {
      problems << szWhere + QStringLiteral(": no \"name\"; left out");
      continue;
    }
    program.nID = IntField(object, "id", szWhere, problems);
    program.nVersion = IntField(object, "version", szWhere, problems);
    program.nDatabase = IntField(object, "database", szWhere, problems);
    const QJsonObject glossaries = object.value(QLatin1String("glossaries")).toObject();
    for (auto it = glossaries.begin(); it != glossaries.end(); ++it) {
      // Glossary versions are dates (20261101) and compared with a 32-bit value.
      if (const std::optional<qint64> n = WholeNumber(it.value(), INT32_MIN, INT32_MAX)) {
        program.glossaries.insert(it.key(), *n);
      } else {
        problems << QStringLiteral("%1: glossary \"%2\" has no whole version").arg(szWhere, it.key());
      }
    }
    program.szReleaseNotes = object.value(QLatin1String("releaseNotes")).toString();
    const QJsonObject manual = object.value(QLatin1String("manual")).toObject();
    program.nManualID = IntField(manual, "id", szWhere + QStringLiteral(".manual"), problems);
    const QJsonObject languages = manual.value(QLatin1String("languages")).toObject();
    for (auto it = languages.begin(); it != languages.end(); ++it) program.manuals.insert(it.key(), it.value().toString());
    programs.push_back(std::move(program));
  }
  return programs;
}

// ---------------------------------------------------------------- envelope

struct LTCall {
  QString szOperation;
  std::map<QString, QString> params;  // the first of each name
};

// Reads the operation and its parameters, or says what is wrong.
std::optional<LTCall> ReadCall(const QByteArray& arRequest, QString& szProblem) {
  QXmlStreamReader xml(arRequest);
  const QString szEnvNs = QLatin1String(CTServerService::kSoapEnvelopeNs);
  std::optional<LTCall> call;
  bool bInBody = false;
  int nDepth = 0;
  while (!xml.atEnd()) {
    xml.readNext();
    if (xml.tokenType() == QXmlStreamReader::DTD) {
      // Nothing a client sends needs one; entity definitions are refused here.
      szProblem = QStringLiteral("a document type declaration is not accepted");
      return std::nullopt;
    }
    if (xml.isEndElement()) {
      --nDepth;
      if (bInBody && nDepth == 1) bInBody = false;
      continue;
    }
    if (!xml.isStartElement()) continue;
    ++nDepth;
    if (nDepth == 1) {
      if (xml.namespaceUri() != szEnvNs || xml.name() != QLatin1String("Envelope")) {
        szProblem = QStringLiteral("the document is not a SOAP 1.1 envelope");
        return std::nullopt;
      }
    } else if (nDepth == 2) {
      bInBody = xml.namespaceUri() == szEnvNs && xml.name() == QLatin1String("Body");
    } else if (nDepth == 3 && bInBody && !call) {
      call = LTCall();
      call->szOperation = xml.namespaceUri() == QLatin1String(CTServerService::kOperationNs)
                              ? xml.name().toString()
                              : QStringLiteral("{%1}%2").arg(xml.namespaceUri(), xml.name());
      while (xml.readNextStartElement()) {
        const QString szName = xml.name().toString();
        const QString szValue = xml.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement);
        call->params.emplace(szName, szValue);
      }
      --nDepth;  // the operation's end element was read above
    }
  }
  if (xml.hasError()) {
    szProblem = QStringLiteral("the request does not read as XML: %1 (line %2)").arg(xml.errorString()).arg(xml.lineNumber());
    return std::nullopt;
  }
  if (!call) szProblem = QStringLiteral("the SOAP body names no operation");
  return call;
}

QByteArray Envelope(const std::function<void(QXmlStreamWriter&)>& writeBody) {
  QByteArray arOut;
  QXmlStreamWriter xml(&arOut);
  const QString szEnvNs = QLatin1String(CTServerService::kSoapEnvelopeNs);
  xml.writeNamespace(szEnvNs, QStringLiteral("SOAP-ENV"));
  xml.writeNamespace(QLatin1String(kXsdNs), QStringLiteral("xsd"));
  xml.writeNamespace(QLatin1String(kXsiNs), QStringLiteral("xsi"));
  xml.writeNamespace(QLatin1String(kEncodingNs), QStringLiteral("SOAP-ENC"));
  xml.writeStartElement(szEnvNs, QStringLiteral("Envelope"));
  xml.writeStartElement(szEnvNs, QStringLiteral("Body"));
  xml.writeAttribute(szEnvNs, QStringLiteral("encodingStyle"), QLatin1String(kEncodingNs));
  writeBody(xml);
  xml.writeEndElement();
  xml.writeEndElement();
  // The writer's own declaration says "UTF-8"; clients of this service
  // have only ever seen it in lower case.
  return QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>") + arOut;
}

CTServerService::Reply Fault(const QString& szText) {
  return {500, Envelope([&](QXmlStreamWriter& xml) {
            const QString szEnvNs = QLatin1String(CTServerService::kSoapEnvelopeNs);
            xml.writeStartElement(szEnvNs, QStringLiteral("Fault"));
            xml.writeTextElement(QStringLiteral("faultcode"), QStringLiteral("SOAP-ENV:Client"));
            xml.writeTextElement(QStringLiteral("faultstring"), szText);
            xml.writeEndElement();
          })};
}

CTServerService::Reply Result(const QString& szOperation, const QString& szType, const QString& szValue) {
  return {200, Envelope([&](QXmlStreamWriter& xml) {
            // Declared on the answer element itself, as every answer of
            // this service has it.
            xml.writeStartElement(QStringLiteral("NS1:") + szOperation + QStringLiteral("Response"));
            xml.writeAttribute(QStringLiteral("xmlns:NS1"), QLatin1String(CTServerService::kOperationNs));
            xml.writeStartElement(QStringLiteral("return"));
            xml.writeAttribute(QLatin1String(kXsiNs), QStringLiteral("type"), szType);
            xml.writeCharacters(szValue);
            xml.writeEndElement();
            xml.writeEndElement();
          })};
}

}  // namespace

CTServerService::CTServerService(const QString& szRoot) : m_szRoot(szRoot), m_pPrograms(std::make_shared<Programs>()) {
  Reload();
}

void CTServerService::Reload() {
  const QString szPath = QDir(m_szRoot).filePath(QStringLiteral("service.json"));
  const QFileInfo info(szPath);
  const QDateTime stamp = info.exists() ? info.lastModified() : QDateTime();
  const qint64 nSize = info.exists() ? info.size() : -1;
  QMutexLocker lock(&m_mutex);
  if (m_bLoadedOnce && stamp == m_loadedStamp && nSize == m_nLoadedSize) return;
  m_bLoadedOnce = true;
  m_loadedStamp = stamp;
  m_nLoadedSize = nSize;
  auto pPrograms = std::make_shared<Programs>();
  m_pPrograms = pPrograms;
  if (!info.exists()) return;

  QFile file(szPath);
  if (!file.open(QIODevice::ReadOnly)) {
    Warn(QStringLiteral("%1: cannot be read; every program is unknown").arg(szPath));
    return;
  }
  if (file.size() > kMaxServiceFileBytes) {
    Warn(QStringLiteral("%1: larger than %2 bytes; every program is unknown").arg(szPath).arg(kMaxServiceFileBytes));
    return;
  }
  QJsonParseError error;
  const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
  if (error.error != QJsonParseError::NoError) {
    Warn(QStringLiteral("%1: not JSON (%2 at offset %3); every program is unknown")
             .arg(szPath, error.errorString())
             .arg(error.offset));
    return;
  }
  QStringList problems;
  *pPrograms = ReadPrograms(document, problems);
  for (const QString& szProblem : problems) Warn(szPath + QStringLiteral(": ") + szProblem);
}

std::shared_ptr<const CTServerService::Programs> CTServerService::Current() {
  Reload();
  QMutexLocker lock(&m_mutex);
  return m_pPrograms;
}

int CTServerService::PackedUpgrades(const LTServiceProgram& program, int nGlosLanguage, int nCurrProgramVersion,
                                    int nCurrDbVersion, int nCurrGlosVersion) {
  const auto inRange = [](int n) { return n > 0 && n < 10000; };
  int n = 0;
  if (inRange(program.nVersion) && program.nVersion > nCurrProgramVersion) n += 2 * program.nVersion;
  if (inRange(program.nDatabase) && program.nDatabase > nCurrDbVersion) n += 20000 * program.nDatabase;
  const auto glossary = program.glossaries.constFind(QString::number(nGlosLanguage));
  if (glossary != program.glossaries.constEnd() && *glossary > nCurrGlosVersion) n += 1;
  return n;
}

CTServerService::Reply CTServerService::Answer(const QByteArray& arRequest) {
  if (arRequest.size() > kMaxRequestBytes) return Fault(QStringLiteral("the request is too large"));
  QString szProblem;
  const std::optional<LTCall> call = ReadCall(arRequest, szProblem);
  if (!call) return Fault(szProblem);

  std::map<QString, int> ints;
  const auto needInts = [&](std::initializer_list<const char*> names) -> bool {
    for (const char* szName : names) {
      const auto it = call->params.find(QLatin1String(szName));
      bool bOk = false;
      const int n = it == call->params.end() ? 0 : it->second.trimmed().toInt(&bOk);
      if (!bOk) {
        szProblem = QStringLiteral("%1: parameter %2 is missing or not a 32-bit integer")
                        .arg(call->szOperation, QLatin1String(szName));
        return false;
      }
      ints[QLatin1String(szName)] = n;
    }
    return true;
  };
  const auto intResult = [&](int n) { return Result(call->szOperation, QStringLiteral("xsd:int"), QString::number(n)); };
  const auto textResult = [&](const QString& szText) {
    return Result(call->szOperation, QStringLiteral("xsd:string"), szText);
  };
  const std::shared_ptr<const Programs> pPrograms = Current();
  const auto program = [&](int nID) -> const LTServiceProgram* {
    for (const LTServiceProgram& p : *pPrograms) {
      if (p.nID == nID && nID != 0) return &p;
    }
    return nullptr;
  };
  const QString& szOp = call->szOperation;

  if (szOp == QLatin1String("ProgramID")) {
    const auto it = call->params.find(QStringLiteral("szName"));
    if (it == call->params.end()) return Fault(QStringLiteral("ProgramID: parameter szName is missing"));
    const QString szName = CTATORemoteUtils0::UnpackProgramName(it->second.trimmed());
    for (const LTServiceProgram& p : *pPrograms) {
      if (!szName.isEmpty() && p.szName.compare(szName, Qt::CaseInsensitive) == 0) return intResult(p.nID);
    }
    return intResult(0);
  }
  if (szOp == QLatin1String("HasUpgrades")) {
    if (!needInts({"nProgramID", "nGlosLanguage", "nCurrProgramVersion", "nCurrDbVersion", "nCurrGlosVersion"})) {
      return Fault(szProblem);
    }
    const LTServiceProgram* p = program(ints[QStringLiteral("nProgramID")]);
    return intResult(p == nullptr ? 0
                                  : PackedUpgrades(*p, ints[QStringLiteral("nGlosLanguage")],
                                                   ints[QStringLiteral("nCurrProgramVersion")],
                                                   ints[QStringLiteral("nCurrDbVersion")],
                                                   ints[QStringLiteral("nCurrGlosVersion")]));
  }
  if (szOp == QLatin1String("ReleaseNotes")) {
    if (!needInts({"nProgramID"})) return Fault(szProblem);
    const LTServiceProgram* p = program(ints[QStringLiteral("nProgramID")]);
    if (p == nullptr || p->szReleaseNotes.isEmpty()) return textResult(QString());
    const CTServerPaths::Resolved notes = CTServerPaths::Resolve(m_szRoot, p->szReleaseNotes);
    QFile file(notes.szPath);
    if (notes.found != CTServerPaths::Found::kFile || !file.open(QIODevice::ReadOnly)) return textResult(QString());
    return textResult(CTATORemoteUtils0::PackServiceText(QString::fromLatin1(file.read(kMaxReleaseNotesBytes))));
  }
  if (szOp == QLatin1String("HasManual")) {
    if (!needInts({"nProgramID"})) return Fault(szProblem);
    const LTServiceProgram* p = program(ints[QStringLiteral("nProgramID")]);
    return intResult(p == nullptr ? 0 : p->nManualID);
  }
  if (szOp == QLatin1String("ManualInfo")) {
    if (!needInts({"nManualID"})) return Fault(szProblem);
    return textResult(QString());
  }
  if (szOp == QLatin1String("TransManualInfo")) {
    if (!needInts({"nManualID", "nLangID"})) return Fault(szProblem);
    const int nManualID = ints[QStringLiteral("nManualID")];
    for (const LTServiceProgram& p : *pPrograms) {
      if (nManualID == 0 || p.nManualID != nManualID) continue;
      QString szPath = p.manuals.value(QString::number(ints[QStringLiteral("nLangID")]));
      if (szPath.isEmpty()) szPath = p.manuals.value(QStringLiteral("1033"));
      return textResult(szPath.isEmpty() ? QString() : CTATORemoteUtils0::PackServiceText(szPath));
    }
    return textResult(QString());
  }
  return Fault(QStringLiteral("unknown operation %1").arg(szOp));
}
