// aerolith-server as a client meets it: a real process over a fixture
// folder, spoken to over plain sockets, so every byte on the wire is seen.

#include "ServerRun.h"
#include "online/ATORemoteUtils0.h"
#include "support/TestServer.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QUrl>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <map>
#include <memory>

namespace {

using U = CTATORemoteUtils0;

// ---------------------------------------------------------------- client

struct LTReply {
  int nStatus = 0;  // 0: no status line arrived
  std::map<QByteArray, QByteArray> headers;  // names in lower case
  QByteArray body;
  QByteArray Header(const char* szName) const {
    const auto it = headers.find(QByteArray(szName));
    return it == headers.end() ? QByteArray() : it->second;
  }
};

// One request on its own connection; reads until the server closes it or
// nWaitMs have passed, and takes whatever came by then.
LTReply Exchange(quint16 nPort, const QByteArray& arRequest, int nWaitMs = 10000) {
  QTcpSocket socket;
  socket.connectToHost(QStringLiteral("127.0.0.1"), nPort);
  LTReply reply;
  if (!socket.waitForConnected(5000)) return reply;
  socket.write(arRequest);
  socket.waitForBytesWritten(5000);
  QByteArray arAll;
  const QDeadlineTimer deadline(nWaitMs);
  while (!deadline.hasExpired()) {
    const bool bMore = socket.waitForReadyRead(static_cast<int>(qMax<qint64>(1, deadline.remainingTime())));
    arAll += socket.readAll();
    if (!bMore && socket.state() != QAbstractSocket::ConnectedState) break;
  }
  arAll += socket.readAll();

  const qsizetype nHeadEnd = arAll.indexOf("\r\n\r\n");
  if (nHeadEnd < 0) return reply;
  const QList<QByteArray> lines = arAll.left(nHeadEnd).split('\n');
  const QList<QByteArray> statusLine = lines.first().trimmed().split(' ');
  if (statusLine.size() >= 2) reply.nStatus = statusLine[1].toInt();
  for (qsizetype i = 1; i < lines.size(); ++i) {
    const qsizetype nColon = lines[i].indexOf(':');
    if (nColon > 0) reply.headers[lines[i].left(nColon).trimmed().toLower()] = lines[i].mid(nColon + 1).trimmed();
  }
  reply.body = arAll.mid(nHeadEnd + 4);
  return reply;
}

QByteArray Query(std::initializer_list<std::pair<const char*, QByteArray>> params) {
  QByteArray arQuery;
  for (const auto& [szName, arValue] : params) {
    arQuery += (arQuery.isEmpty() ? "?" : "&") + QByteArray(szName) + '=' + QUrl::toPercentEncoding(QString::fromUtf8(arValue));
  }
  return arQuery;
}

LTReply Get(quint16 nPort, const QByteArray& arTarget, int nWaitMs = 10000) {
  return Exchange(nPort, "GET " + arTarget + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n", nWaitMs);
}

// As the program uploads: HTTP/1.0 with a Content-Length.
LTReply Post(quint16 nPort, const QByteArray& arTarget, const QByteArray& arBody,
             const QByteArray& arType = "application/octet-stream", int nWaitMs = 10000) {
  return Exchange(nPort,
                  "POST " + arTarget + " HTTP/1.0\r\nHost: 127.0.0.1\r\nContent-Type: " + arType +
                      "\r\nContent-Length: " + QByteArray::number(arBody.size()) + "\r\n\r\n" + arBody,
                  nWaitMs);
}

QByteArray Download(const QByteArray& arPath) {
  return "/scripts/corvel_download_file.asp" + Query({{"file", arPath}, {"server", "1"}});
}

// ---------------------------------------------------------------- SOAP

const char* const kSoapPath = "/svc/CorvelSvc.dll/soap/ICorvelSvc";

// The envelope as the program writes it; other prefixes work the same.
QByteArray Envelope(const QByteArray& arOperation, const QList<std::pair<QByteArray, QByteArray>>& params,
                    const QByteArray& arEnv = "SOAP-ENV", const QByteArray& arOp = "NS1") {
  QByteArray arParams;
  for (const auto& [arName, arValue] : params) arParams += "<" + arName + " xsi:type=\"xsd:string\">" + arValue + "</" + arName + ">";
  return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<" + arEnv + ":Envelope xmlns:" + arEnv +
         "=\"http://schemas.xmlsoap.org/soap/envelope/\" xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\" "
         "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"><" +
         arEnv + ":Body><" + arOp + ":" + arOperation + " xmlns:" + arOp + "=\"urn:CorvelSvcIntf-ICorvelSvc\">" +
         arParams + "</" + arOp + ":" + arOperation + "></" + arEnv + ":Body></" + arEnv + ":Envelope>";
}

struct LTSoapAnswer {
  int nStatus = 0;
  QString szResponseElement;  // "{namespace}name" of the Body's first child
  QString szType;             // xsi:type of <return>
  QString szReturn;
  QString szFaultCode;
  bool bReadsAsXml = false;
};

LTSoapAnswer Call(quint16 nPort, const QByteArray& arEnvelope) {
  const LTReply reply =
      Exchange(nPort, QByteArray("POST ") + kSoapPath +
                          " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\nContent-Type: text/xml; charset=utf-8\r\n"
                          "SOAPAction: \"urn:CorvelSvcIntf-ICorvelSvc#Op\"\r\nContent-Length: " +
                          QByteArray::number(arEnvelope.size()) + "\r\n\r\n" + arEnvelope);
  LTSoapAnswer answer;
  answer.nStatus = reply.nStatus;
  QXmlStreamReader xml(reply.body);
  int nDepth = 0;
  while (!xml.atEnd()) {
    xml.readNext();
    if (xml.isEndElement()) --nDepth;
    if (!xml.isStartElement()) continue;
    ++nDepth;
    if (nDepth == 3 && answer.szResponseElement.isEmpty()) {
      answer.szResponseElement = QStringLiteral("{%1}%2").arg(xml.namespaceUri(), xml.name());
    }
    if (xml.name() == QLatin1String("return")) {
      answer.szType = xml.attributes().value(QStringLiteral("http://www.w3.org/2001/XMLSchema-instance"), QStringLiteral("type")).toString();
      answer.szReturn = xml.readElementText();
      --nDepth;
    } else if (xml.name() == QLatin1String("faultcode")) {
      answer.szFaultCode = xml.readElementText();
      --nDepth;
    }
  }
  answer.bReadsAsXml = !xml.hasError() && !answer.szResponseElement.isEmpty();
  return answer;
}

// ---------------------------------------------------------------- fixture

bool WriteFile(const QString& szPath, const QByteArray& arBytes) {
  QDir().mkpath(QFileInfo(szPath).absolutePath());
  QFile file(szPath);
  return file.open(QIODevice::WriteOnly) && file.write(arBytes) == arBytes.size();
}

QByteArray ReadFile(const QString& szPath) {
  QFile file(szPath);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every byte value, four times over.
QByteArray EveryByte() {
  QByteArray arBytes;
  for (int i = 0; i < 1024; ++i) arBytes += static_cast<char>(i % 256);
  return arBytes;
}

// Several 64 KiB pieces and a ragged end, so that a piece sent twice,
// dropped or cut shows.
QByteArray BigFile() {
  QByteArray arBytes(3 * 1024 * 1024 + 17, '\0');
  quint32 nState = 12345u;
  for (char& c : arBytes) {
    nState = nState * 1103515245u + 12345u;
    c = static_cast<char>(nState >> 16);
  }
  return arBytes;
}

const char* const kVersions =
    "<versions>\n"
    "<version key=\"Aerolith.exe\" nr=\"7.3.0\" path=\"builds/730/Aerolith\" size=\"3\"/>\n"
    "<version key=\"Aerolith.exe\" nr=\"7.3.1\" path=\"builds/a&amp;b.bin\" descr=\"R&#228;ume\"/>\n"
    "<version key=\"Aerolith.exe\" nr=\"7.2.0\" path=\"builds/gone\"/>\n"
    "<version key=\"Updater2.exe\" nr=\"2\" path=\"builds/730/Aerolith\" sha256=\"kept\"/>\n"
    "</versions>\n";

// A manifest as the server sees it: bytes it passes on and never reads.
const QByteArray kManifest = QByteArray("aerolith-release-manifest 1\nprogram Aerolith.exe\n\x00\xff\r\n", 53);

const char* const kService = R"({"programs": [
  {"name": "Aerolith.exe", "id": 7, "version": 720, "database": 143,
   "glossaries": {"1031": 20261101},
   "releaseNotes": "notes/release.rtf",
   "manual": {"id": 3, "languages": {"1033": "manuals/en/Aerolith.pdf", "1031": "manuals/de/Aerolith.pdf"}}},
  {"name": "Viewer.exe", "id": 8, "version": 10000, "database": 0,
   "manual": {"id": 4, "languages": {"1031": "manuals/de/Viewer.pdf"}}},
  {"name": "Escaping.exe", "id": 9, "releaseNotes": "outside.rtf"}
]})";

// Release notes as the program shows them: ISO 8859-1 bytes, CR LF, a tab.
const QByteArray kReleaseNotes = QByteArray("{\\rtf1 Neue R\xE4ume\tund L\xFC" "fter}\r\n");

// The folder:
//   base/root/            the served folder
//   base/secret.txt       outside it, reached only through links
class ServerTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_pBase = std::make_unique<QTemporaryDir>();
    ASSERT_TRUE(s_pBase->isValid());
    const QString root = Root();
    ASSERT_TRUE(WriteFile(s_pBase->filePath(QStringLiteral("secret.txt")), "secret"));
    ASSERT_TRUE(WriteFile(root + "/files/docs/manual.pdf", EveryByte()));
    ASSERT_TRUE(WriteFile(root + "/files/docs/big.bin", BigFile()));
    ASSERT_TRUE(WriteFile(root + "/files/builds/730/Aerolith", "abc"));
    ASSERT_TRUE(WriteFile(root + "/files/builds/a&b.bin", "abc"));
    ASSERT_TRUE(WriteFile(root + "/files/glossaries/1031/Aerolith.exe.xml", "<glossary>Raum</glossary>"));
    ASSERT_TRUE(WriteFile(root + "/files/devices/NV-250/sheet.pdf", "sheet"));
    ASSERT_TRUE(WriteFile(root + "/files/devices/NV-250/a&b.pdf", "ab"));
    ASSERT_TRUE(WriteFile(root + "/versions/Aerolith.exe.txt", kVersions));
    ASSERT_TRUE(WriteFile(root + "/versions/Aerolith.exe.manifest", kManifest));
    ASSERT_TRUE(QFile::link(s_pBase->filePath(QStringLiteral("secret.txt")), root + "/versions/Linked.exe.manifest"));
    ASSERT_TRUE(WriteFile(root + "/notes/release.rtf", kReleaseNotes));
    ASSERT_TRUE(WriteFile(root + "/service.json", kService));
    ASSERT_TRUE(QFile::link(s_pBase->filePath(QStringLiteral("secret.txt")), root + "/files/docs/secret-link"));
    ASSERT_TRUE(QFile::link(s_pBase->path(), root + "/files/base-link"));
    ASSERT_TRUE(QFile::link(root + "/notes/release.rtf", root + "/files/notes-link"));
    ASSERT_TRUE(QFile::link(s_pBase->filePath(QStringLiteral("secret.txt")), root + "/outside.rtf"));
    s_pServer = std::make_unique<CTTestServer>(root);
    ASSERT_TRUE(s_pServer->Running()) << s_pServer->ServerLog().toStdString();
  }
  static void TearDownTestSuite() {
    s_pServer.reset();
    s_pBase.reset();
  }

  void SetUp() override { ASSERT_TRUE(s_pServer && s_pServer->Running()); }

  static QString Root() { return s_pBase->filePath(QStringLiteral("root")); }
  static quint16 Port() { return s_pServer->Port(); }

  // Every file and folder under base, to show that a refused request left
  // no trace anywhere.
  static QStringList Tree() {
    QStringList paths;
    for (QDirIterator it(s_pBase->path(), QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                         QDirIterator::Subdirectories);
         it.hasNext();) {
      paths << it.next();
    }
    paths.sort();
    return paths;
  }

  static std::unique_ptr<QTemporaryDir> s_pBase;
  static std::unique_ptr<CTTestServer> s_pServer;
};

std::unique_ptr<QTemporaryDir> ServerTest::s_pBase;
std::unique_ptr<CTTestServer> ServerTest::s_pServer;

// ---------------------------------------------------------------- downloads

TEST_F(ServerTest, DownloadsExactBytes) {
  const std::pair<QByteArray, QByteArray> cases[] = {
      {"docs/manual.pdf", EveryByte()}, {"docs\\manual.pdf", EveryByte()}, {"docs/big.bin", BigFile()}};
  for (const auto& [arPath, arExpected] : cases) {
    SCOPED_TRACE(arPath.toStdString());
    const LTReply reply = Get(Port(), Download(arPath));
    EXPECT_EQ(reply.nStatus, 200);
    EXPECT_EQ(reply.Header("content-length"), QByteArray::number(arExpected.size()));
    EXPECT_TRUE(reply.body == arExpected) << "got " << reply.body.size() << " bytes";
  }
}

TEST_F(ServerTest, DownloadsOnlyFromInsideTheFilesFolder) {
  struct Case {
    QByteArray arPath;
    int nStatus;
  };
  const Case cases[] = {
      {"docs/missing.pdf", 404},
      {"docs", 404},                  // a folder
      {"docs/secret-link", 404},      // a link to a file outside
      {"base-link/secret.txt", 404},  // a link to a folder outside
      {"notes-link", 404},            // inside the root, outside files/
      {"../service.json", 400},
      {"docs/../../service.json", 400},
      {"..\\service.json", 400},
      {"/etc/passwd", 400},
      {"\\etc\\passwd", 400},
      {"docs//manual.pdf", 400},
      {"docs/manual.pdf/", 400},
      {QByteArray("docs/manual.pdf\0.txt", 20), 400},
      {"", 400},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arPath.toStdString());
    const LTReply reply = Get(Port(), Download(c.arPath));
    EXPECT_EQ(reply.nStatus, c.nStatus);
    EXPECT_FALSE(reply.body.contains("secret"));
  }
}

TEST_F(ServerTest, LogsOneLinePerRequest) {
  Get(Port(), Download("docs/missing-for-log.pdf"));
  Get(Port(), "/no/such/script.asp");
  const QString log = s_pServer->ServerLog();
  EXPECT_TRUE(log.contains(QStringLiteral("GET /scripts/corvel_download_file.asp 404\n"))) << log.toStdString();
  EXPECT_TRUE(log.contains(QStringLiteral("GET /no/such/script.asp 404\n"))) << log.toStdString();
}

// ---------------------------------------------------------------- lists

TEST_F(ServerTest, VersionsListAndManifestGoOutAsTheReleaseToolWroteThem) {
  // Byte for byte: the manifest vouches for the list's bytes, so the server
  // adds and computes nothing.
  const LTReply list = Get(Port(), "/scripts/corvel_get_versions_multi.asp" + Query({{"name", "Aerolith.exe"}}));
  EXPECT_EQ(list.nStatus, 200);
  EXPECT_EQ(list.body, QByteArray(kVersions));
  const LTReply manifest = Get(Port(), "/scripts/corvel_get_manifest.asp" + Query({{"name", "Aerolith.exe"}}));
  EXPECT_EQ(manifest.nStatus, 200);
  EXPECT_EQ(manifest.body, kManifest);

  // No manifest is a 404, which the program takes for an unsigned release;
  // a name that is not plain is refused.
  struct Case {
    QByteArray name;
    int status;
  };
  const Case cases[] = {{"Other.exe", 404}, {"Linked.exe", 404}, {"../versions/Aerolith.exe", 400}, {"", 400}};
  for (const Case& c : cases) {
    const LTReply reply = Get(Port(), "/scripts/corvel_get_manifest.asp" + Query({{"name", c.name}}));
    EXPECT_EQ(reply.nStatus, c.status) << c.name.constData();
    EXPECT_FALSE(reply.body.contains("secret")) << c.name.constData();
  }
}

TEST_F(ServerTest, VersionsListMissingOrRefused) {
  const LTReply missing = Get(Port(), "/scripts/corvel_get_versions_multi.asp" + Query({{"name", "Other.exe"}}));
  EXPECT_EQ(missing.nStatus, 200);
  EXPECT_TRUE(missing.body.isEmpty());
  for (const QByteArray& arName : {QByteArray("../service.json"), QByteArray("a/b"), QByteArray()}) {
    SCOPED_TRACE(arName.toStdString());
    EXPECT_EQ(Get(Port(), "/scripts/corvel_get_versions_multi.asp" + Query({{"name", arName}})).nStatus, 400);
  }
}

TEST_F(ServerTest, GlossarySize) {
  struct Case {
    QByteArray arName, arLang;
    int nStatus;
    QByteArray arBody;
  };
  const Case cases[] = {
      {"Aerolith.exe", "1031", 200, "<glossary path=\"glossaries/1031/Aerolith.exe.xml\" size=\"25\"/>"},
      {"Aerolith.exe", "1036", 200, "<glossary/>"},
      {"Other.exe", "1031", 200, "<glossary/>"},
      {"Aerolith.exe", "10a1", 400, {}},
      {"Aerolith.exe", "../1031", 400, {}},
      {"../Aerolith.exe", "1031", 400, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE((c.arName + " " + c.arLang).toStdString());
    const LTReply reply = Get(Port(), "/scripts/corvel_get_glos_size.asp" + Query({{"name", c.arName}, {"lang", c.arLang}}));
    EXPECT_EQ(reply.nStatus, c.nStatus);
    if (c.nStatus == 200) {
      EXPECT_EQ(reply.body, c.arBody);
    }
  }
}

// ---------------------------------------------------------------- upload and reports

TEST_F(ServerTest, UploadLandsUnderUploadsAndReplacesTheOldFile) {
  const QByteArray arTarget = "/scripts/corvel_receive_file_new.asp" + Query({{"target", "{4F2A}.prj"}});
  const QString szStored = Root() + "/uploads/{4F2A}.prj";
  ASSERT_EQ(Post(Port(), arTarget, "first version").nStatus, 200);
  EXPECT_EQ(ReadFile(szStored), QByteArray("first version"));
  const LTReply reply = Post(Port(), arTarget, EveryByte());
  EXPECT_EQ(reply.nStatus, 200);
  EXPECT_EQ(reply.body.trimmed(), QByteArray("OK"));
  EXPECT_TRUE(ReadFile(szStored) == EveryByte());
  // Nothing is left beside it from writing aside.
  EXPECT_EQ(QDir(Root() + "/uploads").entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("{4F2A}.prj")});
}

TEST_F(ServerTest, RefusedUploadsStoreNothingAnywhere) {
  struct Case {
    QByteArray arName;
    QByteArray arBody;
    int nStatus;
  };
  const Case cases[] = {
      {"../x", "data", 400},  {"a/b", "data", 400},          {"", "data", 400},
      {".hidden", "data", 400}, {"x\\y", "data", 400},       {"line\nbreak", "data", 400},
      {QByteArray(256, 'n'), "data", 400},                   {"empty.bin", "", 400},
  };
  const QStringList before = Tree();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arName.left(40).toStdString());
    EXPECT_EQ(Post(Port(), "/scripts/corvel_receive_file_new.asp" + Query({{"target", c.arName}}), c.arBody).nStatus,
              c.nStatus);
  }
  EXPECT_EQ(Tree(), before);
}

TEST_F(ServerTest, UploadAboveTheCapIsRefusedBeforeItsBody) {
  // Only the announced length is sent: the answer must come without the body.
  const QByteArray arRequest = "POST /scripts/corvel_receive_file_new.asp?target=huge.bin HTTP/1.0\r\n"
                               "Content-Length: 67108865\r\n\r\n";
  const QStringList before = Tree();
  EXPECT_EQ(Exchange(Port(), arRequest).nStatus, 413);
  EXPECT_EQ(Tree(), before);
}

TEST_F(ServerTest, ReportsAreLoggedOneLineEach) {
  const QString szLog = Root() + "/reports.log";
  const qsizetype nBefore = ReadFile(szLog).size();
  const QByteArray arRaw(1500, 'z');
  const QByteArray arReports[] = {
      U::PackServiceText(QStringLiteral("Aerolith.exe\t7.3.0\r\nok \xE4")).toLatin1(),
      "not packed",  // letters beyond 'p' and a blank
      arRaw,
  };
  for (const QByteArray& arReport : arReports) {
    const LTReply reply = Get(Port(), "/scripts32/upgrade_downloaded.asp" + Query({{"req", arReport}}));
    EXPECT_EQ(reply.nStatus, 200);
    EXPECT_EQ(reply.body.trimmed(), QByteArray("OK"));
  }
  const QByteArray arExpected = QString::fromUtf8("Aerolith.exe\t7.3.0  ok ä\nraw not packed\nraw ").toUtf8() +
                                arRaw.left(1000) + "\n";
  EXPECT_EQ(ReadFile(szLog).mid(nBefore), arExpected);
}

// ---------------------------------------------------------------- documents page

TEST_F(ServerTest, DocumentsPageListsTheSeriesFilesEscaped) {
  const LTReply reply = Get(Port(), "/scripts/show_doc.asp" + Query({{"series", "NV-250"},
                                                                     {"country", "49"},
                                                                     {"type", "1"},
                                                                     {"caller", "<script>&"}}));
  ASSERT_EQ(reply.nStatus, 200);
  EXPECT_TRUE(reply.Header("content-type").startsWith("text/html"));
  const QString szPage = QString::fromUtf8(reply.body);
  EXPECT_TRUE(szPage.contains(QStringLiteral("<title>NV-250 documents</title>")));
  EXPECT_TRUE(szPage.contains(QStringLiteral("&lt;script&gt;&amp;")));
  EXPECT_FALSE(szPage.contains(QStringLiteral("<script>")));
  EXPECT_TRUE(szPage.contains(
      QStringLiteral("href=\"/scripts/corvel_download_file.asp?file=devices%2FNV-250%2Fsheet.pdf&amp;server=0\">sheet.pdf<")));
  EXPECT_TRUE(szPage.contains(
      QStringLiteral("href=\"/scripts/corvel_download_file.asp?file=devices%2FNV-250%2Fa%26b.pdf&amp;server=0\">a&amp;b.pdf<")));
}

TEST_F(ServerTest, DocumentsPageOpensAPage) {
  struct Case {
    QByteArray arSeries, arType, arPage;
    int nStatus;
    QByteArray arLocation, arBody;
  };
  const Case cases[] = {
      {"NV-250", "3", "https://example.com/NV-250 sheet.pdf", 302, "https://example.com/NV-250%20sheet.pdf", {}},
      {"NV-250", "3", "sheet.pdf", 200, {}, "sheet"},
      {"NV-250", "3", "missing.pdf", 404, {}, {}},
      {"NV-250", "3", "../../docs/manual.pdf", 400, {}, {}},
      {"NV-250", "3", "http://example.com/\r\nSet-Cookie: x", 400, {}, {}},
      {"../docs", "1", "", 400, {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE((c.arSeries + " " + c.arPage).toStdString());
    const LTReply reply = Get(Port(), "/scripts/show_doc.asp" + Query({{"series", c.arSeries},
                                                                       {"country", "49"},
                                                                       {"type", c.arType},
                                                                       {"caller", "test"},
                                                                       {"page", c.arPage}}));
    EXPECT_EQ(reply.nStatus, c.nStatus);
    EXPECT_EQ(reply.Header("location"), c.arLocation);
    if (c.nStatus == 200) {
      EXPECT_EQ(reply.body, c.arBody);
    }
  }
}

// ---------------------------------------------------------------- service

QByteArray Int(int n) { return QByteArray::number(n); }

TEST_F(ServerTest, ProgramIdByPackedNameWithoutLetterCase) {
  const QString szNs = QStringLiteral("{urn:CorvelSvcIntf-ICorvelSvc}");
  struct Case {
    QString szName;
    int nID;
  };
  for (const Case& c : {Case{QStringLiteral("Aerolith.exe"), 7}, Case{QStringLiteral("AEROLITH.EXE"), 7},
                        Case{QStringLiteral("Viewer.exe"), 8}, Case{QStringLiteral("Other.exe"), 0}}) {
    SCOPED_TRACE(c.szName.toStdString());
    const LTSoapAnswer answer = Call(Port(), Envelope("ProgramID", {{"szName", U::PackProgramName(c.szName).toLatin1()}}));
    EXPECT_EQ(answer.nStatus, 200);
    EXPECT_EQ(answer.szResponseElement, szNs + QStringLiteral("ProgramIDResponse"));
    EXPECT_EQ(answer.szType, QStringLiteral("xsd:int"));
    EXPECT_EQ(answer.szReturn, QString::number(c.nID));
  }
  // Other prefixes, same namespaces.
  const LTSoapAnswer answer =
      Call(Port(), Envelope("ProgramID", {{"szName", U::PackProgramName(QStringLiteral("Aerolith.exe")).toLatin1()}},
                            "soap", "svc"));
  EXPECT_EQ(answer.szReturn, QStringLiteral("7"));
}

TEST_F(ServerTest, HasUpgradesPacksWhatIsNewer) {
  struct Case {
    int nProgram, nLang, nProgramVersion, nDbVersion, nGlosVersion, nExpected;
  };
  const Case cases[] = {
      {7, 1031, 700, 100, 20261031, 1440 + 2860000 + 1},  // all three newer
      {7, 1031, 720, 143, 20261101, 0},                   // all three the same
      {7, 1031, 800, 200, 20270101, 0},                   // the client is ahead
      {7, 1036, 700, 143, 0, 1440},                       // no glossary for French
      {7, 1031, 720, 142, 20261101, 2860000},             // only the database
      {8, 1031, 0, -1, 0, 0},                             // version 10000 and database 0 are no versions
      {99, 1031, 0, 0, 0, 0},                             // unknown program
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.nExpected);
    const LTSoapAnswer answer =
        Call(Port(), Envelope("HasUpgrades", {{"nProgramID", Int(c.nProgram)},
                                              {"nGlosLanguage", Int(c.nLang)},
                                              {"nCurrProgramVersion", Int(c.nProgramVersion)},
                                              {"nCurrDbVersion", Int(c.nDbVersion)},
                                              {"nCurrGlosVersion", Int(c.nGlosVersion)}}));
    EXPECT_EQ(answer.nStatus, 200);
    EXPECT_EQ(answer.szType, QStringLiteral("xsd:int"));
    EXPECT_EQ(answer.szReturn, QString::number(c.nExpected));
  }
}

TEST_F(ServerTest, TextsOfTheService) {
  const auto text = [&](const QByteArray& arOperation, const QList<std::pair<QByteArray, QByteArray>>& params) {
    const LTSoapAnswer answer = Call(Port(), Envelope(arOperation, params));
    EXPECT_EQ(answer.nStatus, 200) << arOperation.toStdString();
    EXPECT_EQ(answer.szType, QStringLiteral("xsd:string")) << arOperation.toStdString();
    return answer.szReturn;
  };
  EXPECT_EQ(U::UnpackServiceText(text("ReleaseNotes", {{"nProgramID", "7"}})), QString::fromLatin1(kReleaseNotes));
  EXPECT_EQ(text("ReleaseNotes", {{"nProgramID", "8"}}), QString());   // none given
  EXPECT_EQ(text("ReleaseNotes", {{"nProgramID", "9"}}), QString());   // a link out of the folder
  EXPECT_EQ(text("ReleaseNotes", {{"nProgramID", "99"}}), QString());  // unknown
  EXPECT_EQ(text("ManualInfo", {{"nManualID", "3"}}), QString());

  struct Case {
    int nManual, nLang;
    QString szPath;
  };
  const Case cases[] = {
      {3, 1031, QStringLiteral("manuals/de/Aerolith.pdf")},
      {3, 1036, QStringLiteral("manuals/en/Aerolith.pdf")},  // English stands in
      {4, 1031, QStringLiteral("manuals/de/Viewer.pdf")},
      {4, 1036, QString()},  // neither French nor English
      {5, 1033, QString()},
  };
  for (const Case& c : cases) {
    const QString szPacked = text("TransManualInfo", {{"nManualID", Int(c.nManual)}, {"nLangID", Int(c.nLang)}});
    EXPECT_EQ(U::UnpackServiceText(szPacked), c.szPath) << c.nManual << " " << c.nLang;
  }
}

TEST_F(ServerTest, HasManual) {
  const std::pair<int, int> cases[] = {{7, 3}, {8, 4}, {9, 0}, {99, 0}};
  for (const auto& [nProgram, nManual] : cases) {
    const LTSoapAnswer answer = Call(Port(), Envelope("HasManual", {{"nProgramID", Int(nProgram)}}));
    EXPECT_EQ(answer.szType, QStringLiteral("xsd:int"));
    EXPECT_EQ(answer.szReturn, QString::number(nManual)) << nProgram;
  }
}

TEST_F(ServerTest, BadRequestsGetAFault) {
  const QByteArray arGood = Envelope("HasManual", {{"nProgramID", "7"}});
  const QByteArray cases[] = {
      arGood.left(arGood.size() - 20),                          // cut
      "not xml at all",                                         //
      "<Envelope><Body><HasManual/></Body></Envelope>",         // no SOAP namespace
      Envelope("Reboot", {{"nProgramID", "7"}}),                // unknown operation
      Envelope("HasManual", {}),                                // missing parameter
      Envelope("HasManual", {{"nProgramID", "7x"}}),            // not a number
      Envelope("HasManual", {{"nProgramID", "2147483648"}}),    // beyond 32 bits
      Envelope("ProgramID", {}),                                //
      "<!DOCTYPE x [<!ENTITY a \"aaaa\">]>" + arGood.mid(arGood.indexOf('\n') + 1),
  };
  for (const QByteArray& arRequest : cases) {
    SCOPED_TRACE(arRequest.left(120).toStdString());
    const LTSoapAnswer answer = Call(Port(), arRequest);
    EXPECT_EQ(answer.nStatus, 500);
    EXPECT_EQ(answer.szFaultCode, QStringLiteral("SOAP-ENV:Client"));
  }
  const QByteArray arHuge = Envelope("HasManual", {{"nProgramID", "7" + QByteArray(64 * 1024, ' ')}});
  EXPECT_EQ(Call(Port(), arHuge).nStatus, 413);
}

TEST(ServerServiceData, UnreadableFileServesAsEmptyUntilItChanges) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString szJson = dir.filePath(QStringLiteral("service.json"));
  ASSERT_TRUE(WriteFile(szJson, "{\"programs\": [{\"name\": \"Aerolith.exe\", \"id\": 7"));
  CTTestServer server(dir.path());
  ASSERT_TRUE(server.Running()) << server.ServerLog().toStdString();
  EXPECT_TRUE(server.ServerLog().contains(QStringLiteral("service.json"))) << server.ServerLog().toStdString();
  const QByteArray arAsk = Envelope("ProgramID", {{"szName", U::PackProgramName(QStringLiteral("Aerolith.exe")).toLatin1()}});
  EXPECT_EQ(Call(server.Port(), arAsk).szReturn, QStringLiteral("0"));

  ASSERT_TRUE(WriteFile(szJson, "{\"programs\": [{\"name\": \"Aerolith.exe\", \"id\": 7}]}"));
  EXPECT_EQ(Call(server.Port(), arAsk).szReturn, QStringLiteral("7"));
}

// ---------------------------------------------------------------- faults

class ServerFaultTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_dir.isValid());
    ASSERT_TRUE(WriteFile(m_dir.filePath(QStringLiteral("files/docs/manual.pdf")), EveryByte()));
  }
  QTemporaryDir m_dir;
};

TEST_F(ServerFaultTest, NeverAnswers) {
  CTTestServer server(m_dir.path(), QStringLiteral("never"));
  ASSERT_TRUE(server.Running()) << server.ServerLog().toStdString();
  const LTReply reply = Get(server.Port(), Download("docs/manual.pdf"), 2000);
  EXPECT_EQ(reply.nStatus, 0);
  EXPECT_TRUE(reply.headers.empty());
}

TEST_F(ServerFaultTest, SlowSendsHeadersThenTrickles) {
  CTTestServer server(m_dir.path(), QStringLiteral("slow"));
  ASSERT_TRUE(server.Running()) << server.ServerLog().toStdString();
  const LTReply reply = Get(server.Port(), Download("docs/manual.pdf"), 2000);
  EXPECT_EQ(reply.nStatus, 200);
  EXPECT_EQ(reply.Header("content-length"), QByteArray("1024"));
  EXPECT_LT(reply.body.size(), 1024);
  EXPECT_TRUE(EveryByte().startsWith(reply.body));
}

TEST_F(ServerFaultTest, GarbageInsteadOfEveryAnswer) {
  CTTestServer server(m_dir.path(), QStringLiteral("garbage"));
  ASSERT_TRUE(server.Running()) << server.ServerLog().toStdString();
  const LTSoapAnswer answer = Call(server.Port(), Envelope("HasManual", {{"nProgramID", "7"}}));
  EXPECT_EQ(answer.nStatus, 200);
  EXPECT_FALSE(answer.bReadsAsXml);
  for (const QByteArray& arTarget : {Download("docs/manual.pdf"), Download("docs/missing.pdf")}) {
    const LTReply reply = Get(server.Port(), arTarget);
    EXPECT_EQ(reply.nStatus, 200);
    EXPECT_FALSE(reply.body.isEmpty());
    EXPECT_NE(reply.body, EveryByte());
  }
}

// ---------------------------------------------------------------- command line

TEST(ServerCommandLine, RefusesBadArgumentsAndMissingFolders) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  struct Case {
    QStringList args;
    int nExit;
  };
  const Case cases[] = {
      {{}, 2},
      {{QStringLiteral("--root")}, 2},
      {{QStringLiteral("--root"), dir.path(), QStringLiteral("--port"), QStringLiteral("65536")}, 2},
      {{QStringLiteral("--root"), dir.path(), QStringLiteral("--port"), QStringLiteral("http")}, 2},
      {{QStringLiteral("--root"), dir.path(), QStringLiteral("--fault"), QStringLiteral("sometimes")}, 2},
      {{QStringLiteral("--root"), dir.path(), QStringLiteral("--verbose"), QStringLiteral("1")}, 2},
      {{QStringLiteral("--root"), dir.filePath(QStringLiteral("missing"))}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.join(QLatin1Char(' ')).toStdString());
    const LTServerRun run = RunServer(c.args);
    EXPECT_EQ(run.nExit, c.nExit);
    EXPECT_FALSE(run.arErr.isEmpty());
  }
}

TEST(ServerCommandLine, PortInUse) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  CTTestServer first(dir.path());
  ASSERT_TRUE(first.Running()) << first.ServerLog().toStdString();
  const LTServerRun run = RunServer({QStringLiteral("--root"), dir.path(), QStringLiteral("--port"), QString::number(first.Port())});
  EXPECT_EQ(run.nExit, 1);
  EXPECT_TRUE(run.arErr.contains(QByteArray::number(first.Port()))) << run.arErr.toStdString();
}

TEST(ServerCommandLine, EndsOnTerminateWhileHoldingAConnection) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  QProcess process;
  process.start(QStringLiteral(AEROLITH_SERVER_BIN), {QStringLiteral("--root"), dir.path(), QStringLiteral("--port"),
                                                      QStringLiteral("0"), QStringLiteral("--fault"), QStringLiteral("never")});
  ASSERT_TRUE(process.waitForStarted(10000));
  const QDeadlineTimer deadline(10000);
  while (!process.canReadLine() && !deadline.hasExpired()) process.waitForReadyRead(100);
  const QByteArray arLine = process.readLine().trimmed();
  ASSERT_TRUE(arLine.startsWith("listening on http://127.0.0.1:")) << arLine.toStdString();
  const quint16 nPort = static_cast<quint16>(arLine.mid(arLine.lastIndexOf(':') + 1).toUInt());

  QTcpSocket held;
  held.connectToHost(QStringLiteral("127.0.0.1"), nPort);
  ASSERT_TRUE(held.waitForConnected(5000));
  held.write("GET /scripts/corvel_download_file.asp?file=x HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n");
  held.waitForBytesWritten(5000);
  held.waitForReadyRead(300);  // gives the server time to take the request

  process.terminate();
  // Generous: a hang would run into the ten minutes of holding.
  ASSERT_TRUE(process.waitForFinished(5000));
  EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(process.exitCode(), 0);
}

}  // namespace
