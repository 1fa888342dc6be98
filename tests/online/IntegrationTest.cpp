#include "FakeTransport.h"

#include "online/CorvelConfig.h"
#include "online/CorvelIntegration.h"
#include "platform/Registry.h"
#include "resources/EmbeddedData.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using I = CTCorvelIntegration;

QByteArray ReadAll(const QString& szPath) {
  QFile file(szPath);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// The mirror address for one test.
class MirrorAt {
 public:
  explicit MirrorAt(const QByteArray& address) { qputenv(CTCorvelConfig::kMirrorEnvironment, address); }
  ~MirrorAt() { qunsetenv(CTCorvelConfig::kMirrorEnvironment); }
};

TEST(ServerUrls, PortIsWrittenOnlyWhenNotEighty) {
  EXPECT_EQ(I::MakeCompleteHttpURL(QStringLiteral("h.example"), 80, QStringLiteral("a/b.asp?x=1")),
            QStringLiteral("http://h.example/a/b.asp?x=1"));
  EXPECT_EQ(I::MakeCompleteHttpURL(QStringLiteral("h.example"), 8080, QStringLiteral("svc")),
            QStringLiteral("http://h.example:8080/svc"));
}

TEST(ServerUrls, QueryValuesArePercentEncodedButPathsReadAsTheyAre) {
  EXPECT_EQ(I::Query({{"file", QStringLiteral("docs/manual.pdf")}, {"server", QStringLiteral("0")}}),
            QStringLiteral("file=docs/manual.pdf&server=0"));
  EXPECT_EQ(I::Query({{"target", QStringLiteral("{1B4E28BA-2FA1}.txt")}}), QStringLiteral("target=%7B1B4E28BA-2FA1%7D.txt"));
  EXPECT_EQ(I::Query({{"series", QStringLiteral("A&B C=")}, {"page", QString::fromUtf8("é")}}),
            QStringLiteral("series=A%26B%20C%3D&page=%C3%A9"));
}

TEST(ServerTable, NumbersHostsAndMirror) {
  QString host;
  int port = 0;
  for (const int id : {0, 1, 2, 10}) {
    CTCorvelConfig::GetHTTPServerNameAndPort(id, host, port);
    EXPECT_FALSE(host.isEmpty()) << id;
    EXPECT_EQ(port, 80) << id;
  }
  CTCorvelConfig::GetHTTPServerNameAndPort(3, host, port);
  EXPECT_TRUE(host.isEmpty());
  EXPECT_EQ(CTCorvelConfig::ServerLabel(0), QStringLiteral("Orsk"));
  EXPECT_EQ(CTCorvelConfig::ServerLabel(2), QStringLiteral("Mobe"));
  EXPECT_EQ(CTCorvelConfig::ServerLabel(10), QStringLiteral("n/a"));
  EXPECT_EQ(CTCorvelConfig::ServerLabel(3), QStringLiteral("n/a"));

  {
    const MirrorAt mirror("127.0.0.1:8123");
    CTCorvelConfig::GetHTTPServerNameAndPort(0, host, port);
    EXPECT_EQ(host, QStringLiteral("127.0.0.1"));
    EXPECT_EQ(port, 8123);
    CTCorvelConfig::GetHTTPServerNameAndPort(7, host, port);
    EXPECT_TRUE(host.isEmpty()) << "a number without a server keeps none";
  }
  {
    const MirrorAt mirror("mirror.example/path");
    CTCorvelConfig::GetHTTPServerNameAndPort(0, host, port);
    EXPECT_TRUE(host.isEmpty()) << "a mirror that does not parse is no server, not the maker's";
  }
}

TEST(ServerTable, RegistryMirrorYieldsToTheEnvironment) {
  CTRegistry registry;
  ASSERT_TRUE(registry.OpenKey(QString::fromLatin1(CTCorvelConfig::kMirrorKey), true));
  ASSERT_TRUE(registry.WriteString(QString::fromLatin1(CTCorvelConfig::kMirrorValue), QStringLiteral("mirror.example:81")));
  QString host;
  int port = 0;
  CTCorvelConfig::GetHTTPServerNameAndPort(1, host, port);
  EXPECT_EQ(host, QStringLiteral("mirror.example"));
  EXPECT_EQ(port, 81);
  {
    const MirrorAt mirror("127.0.0.1:9");
    CTCorvelConfig::GetHTTPServerNameAndPort(1, host, port);
    EXPECT_EQ(host, QStringLiteral("127.0.0.1"));
  }
  registry.DeleteValue(QString::fromLatin1(CTCorvelConfig::kMirrorValue));
}

TEST(Transfers, ServerWithoutHostFailsEverythingWithoutAsking) {
  CTFakeTransport fake;
  QString text = QStringLiteral("stale");
  EXPECT_FALSE(I::GetStringFromInternet(3, QStringLiteral("scripts/x.asp"), text));
  EXPECT_TRUE(text.isEmpty());
  quint32 found = 7;
  QTemporaryDir dir;
  EXPECT_EQ(I::GetFileFromInternet(3, QStringLiteral("a.bin"), dir.filePath("a.bin"), 0, found), I::kFileFailed);
  EXPECT_EQ(found, 0u);
  EXPECT_TRUE(fake.Requests().empty());
}

TEST(Transfers, StringAnswerIsReadBytePerCharacterWithinItsBounds) {
  CTFakeTransport fake([](const LTHttpRequest& r) { return CTFakeTransport::Bytes(r, QByteArray("a\xE9\xFF")); });
  QString text;
  ASSERT_TRUE(I::GetStringFromInternet(0, QStringLiteral("scripts/v.asp?name=x"), text));
  EXPECT_EQ(text, QString::fromUtf8("aéÿ"));
  const LTHttpRequest& sent = fake.Requests().front();
  EXPECT_EQ(sent.verb, LTHttpRequest::Verb::kGet);
  EXPECT_TRUE(sent.url.endsWith("/scripts/v.asp?name=x"));
  EXPECT_EQ(sent.nMaxBytes, 4 * 1024 * 1024);
  EXPECT_EQ(sent.nOverallMs, 5000);
}

TEST(Transfers, StringFailuresAnswerFalseAndEmpty) {
  for (const int status : {404, 500}) {
    CTFakeTransport fake([status](const LTHttpRequest& r) { return CTFakeTransport::Bytes(r, "error page", status); });
    QString text;
    EXPECT_FALSE(I::GetStringFromInternet(0, QStringLiteral("s"), text)) << status;
    EXPECT_TRUE(text.isEmpty());
  }
}

struct LTDownloadCase {
  const char* szName;
  QByteArray served;
  int nStatus;
  quint32 nExpected;
  int nResult;
  quint32 nFound;
  bool bFileWritten;
};

TEST(Transfers, FileDownloadChecksSizeAndReplacesTheLocalFileOnlyWhenWhole) {
  const QByteArray body(1000, 'x');
  const LTDownloadCase cases[] = {
      {"exact size", body, 200, 1000, I::kFileOk, 1000, true},
      {"any size", body, 200, 0, I::kFileOk, 1000, true},
      {"shorter than expected", body, 200, 1200, I::kFileSizeDiffers, 1000, false},
      // Stopped one byte past what was expected: it differs.
      {"longer than expected", body, 200, 900, I::kFileSizeDiffers, 901, false},
      {"not found", "no such file", 404, 0, I::kFileFailed, 0, false},
  };
  for (const LTDownloadCase& c : cases) {
    CTFakeTransport fake(
        [&c](const LTHttpRequest& r) { return CTFakeTransport::Bytes(r, c.served, c.nStatus); });
    QTemporaryDir dir;
    const QString local = dir.filePath(QStringLiteral("local.bin"));
    QFile old(local);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    quint32 found = 0;
    EXPECT_EQ(I::GetFileFromInternet(0, QStringLiteral("f.bin"), local, c.nExpected, found), c.nResult) << c.szName;
    EXPECT_EQ(found, c.nFound) << c.szName;
    EXPECT_EQ(ReadAll(local), c.bFileWritten ? c.served : QByteArray("old")) << c.szName;
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1) << c.szName << ": nothing left aside";
  }
}

TEST(Transfers, FileRequestNamesPathWithSlashesAndServer) {
  CTFakeTransport fake([](const LTHttpRequest& r) { return CTFakeTransport::Bytes(r, "pdf"); });
  QTemporaryDir dir;
  quint32 found = 0;
  std::vector<std::pair<quint32, quint32>> calls;
  I::GetFileFromInternet(10, QStringLiteral("docs\\manual.pdf"), dir.filePath("m.pdf"), 0, found,
                         [&](quint32 nProgress, quint32 nMax) { calls.emplace_back(nProgress, nMax); });
  ASSERT_EQ(fake.Requests().size(), 1u);
  EXPECT_TRUE(fake.Requests()[0].url.endsWith("/scripts/corvel_download_file.asp?file=docs/manual.pdf&server=10"))
      << fake.Requests()[0].url.constData();
  EXPECT_EQ(calls, (std::vector<std::pair<quint32, quint32>>{{3, 3}}));
}

TEST(Transfers, ProgressPassesOnlyPlausibleCounts) {
  std::vector<std::pair<quint32, quint32>> calls;
  const CTMyBSClass progress([&](quint32 a, quint32 b) { calls.emplace_back(a, b); });
  progress.OnProgress(0, 10);   // nothing yet
  progress.OnProgress(5, -1);   // length unknown
  progress.OnProgress(11, 10);  // more than announced
  progress.OnProgress(5, 10);
  EXPECT_EQ(calls, (std::vector<std::pair<quint32, quint32>>{{5, 10}}));
  CTMyBSClass(nullptr).OnProgress(5, 10);  // no indicator: nothing to call
}

TEST(Transfers, UploadPostsTheFileUnderAnEncodedTarget) {
  int status = 200;
  CTFakeTransport fake([&status](const LTHttpRequest& r) { return CTFakeTransport::Bytes(r, "OK", status); });
  QTemporaryDir dir;
  const QString local = dir.filePath(QStringLiteral("approval.txt"));
  EXPECT_FALSE(I::SaveFileToInternet(0, QStringLiteral("{X}.txt"), local)) << "no file";
  QFile file(local);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();
  EXPECT_FALSE(I::SaveFileToInternet(0, QStringLiteral("{X}.txt"), local)) << "empty file";
  EXPECT_TRUE(fake.Requests().empty());
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("line");
  file.close();
  EXPECT_TRUE(I::SaveFileToInternet(0, QStringLiteral("{X}.txt"), local));
  ASSERT_EQ(fake.Requests().size(), 1u);
  EXPECT_EQ(fake.Requests()[0].verb, LTHttpRequest::Verb::kPost);
  EXPECT_EQ(fake.Requests()[0].uploadFile, local);
  EXPECT_TRUE(fake.Requests()[0].url.endsWith("/scripts/corvel_receive_file_new.asp?target=%7BX%7D.txt"));
  status = 201;  // stored somewhere, but not as asked
  EXPECT_FALSE(I::SaveFileToInternet(0, QStringLiteral("{X}.txt"), local));
}

TEST(ScriptTexts, XmlSafeString) {
  EXPECT_EQ(I::XMLSafeString(QStringLiteral("a<b & \"c\"")), QStringLiteral("a&#60;b &#38; &#34;c&#34;"));
  EXPECT_EQ(I::XMLSafeString(QString::fromUtf8("é>'\t")), QStringLiteral("&#233;>'&#9;"));
  EXPECT_EQ(I::XMLSafeString(QString::fromUtf8("\xF0\x9F\x98\x80")), QStringLiteral("&#128512;"));
}

TEST(ScriptTexts, AttributeValues) {
  const QString element = QStringLiteral("version nr=\"1.2\" descr=\"A&amp;B&#10;C\"");
  QString value = QStringLiteral("stale");
  EXPECT_TRUE(I::GetXMLAttributeValue(element, QStringLiteral("descr"), value));
  EXPECT_EQ(value, QStringLiteral("A&B\nC"));
  EXPECT_FALSE(I::GetXMLAttributeValue(element, QStringLiteral("size"), value));
  EXPECT_TRUE(value.isEmpty());

  struct LTCase {
    const char* szText;
    bool bFound;
    QString value;
  };
  const LTCase cases[] = {
      {"k=\"&#x41;&#X42;&#$43;\"", true, QStringLiteral("ABC")},
      {"k=\"&#128512;\"", true, QString::fromUtf8("\xF0\x9F\x98\x80")},
      {"k=\"a&#65;b&#65;\"", true, QStringLiteral("aAbA")},
      // A reference that does not read stops the replacing, as it stands.
      {"k=\"&#0;&#65;\"", true, QStringLiteral("&#0;&#65;")},
      {"k=\"&#;\"", true, QStringLiteral("&#;")},
      {"k=\"&#zz;\"", true, QStringLiteral("&#zz;")},
      {"k=\"&#1114112;\"", true, QStringLiteral("&#1114112;")},
      {"k=\"&#65\"", true, QStringLiteral("&#65")},
      // What a reference stands for is not read again: escaped once, read once.
      {"k=\"&#38;#65;\"", true, QStringLiteral("&#65;")},
      {"k=\"&amp;#65;\"", true, QStringLiteral("&#65;")},
      {"k=\"open", false, QString()},
      {"xk=\"1\"", true, QStringLiteral("1")},  // nothing is checked before the key
  };
  for (const LTCase& c : cases) {
    QString v;
    EXPECT_EQ(I::GetXMLAttributeValue(QString::fromLatin1(c.szText), QStringLiteral("k"), v), c.bFound) << c.szText;
    EXPECT_EQ(v, c.value) << c.szText;
  }
}

TEST(StructureVersion, LastWordCutAtTheFirstLineEnd) {
  const QByteArray reference =
      "ROZ100\r\n5 18 TBL_DdbVersionInfo 101\r\n5 6 DVI_ID 2\r\n5 13 DVI_DbVersion 10\r\n0\r\n0\r\n"
      "2 101 2 0 2 1 2 1\r\n2 1 10 5 1.4.3\r\n0";
  EXPECT_EQ(I::StructureVersionFromText(reference), QStringLiteral("1.4.3"));
  QByteArray unix = reference;
  unix.replace("\r\n", "\n");
  EXPECT_EQ(I::StructureVersionFromText(unix), QStringLiteral("1.4.3"));
  EXPECT_EQ(I::StructureVersionFromText(QByteArray(200 - 6, 'x') + " 1.4.3"), QStringLiteral("1.4.3"));
  EXPECT_EQ(I::StructureVersionFromText(QByteArray(201 - 6, 'x') + " 1.4.3"), QString());
  EXPECT_EQ(I::StructureVersionFromText(QByteArray()), QString());
}

TEST(StructureVersion, EmbeddedReferenceAndMissingCompanyDatabase) {
  EmbeddedData::Ensure();
  EXPECT_EQ(I::GetCentralDbStructureVersionFromResource(), QStringLiteral("1.4.3"));
  EXPECT_EQ(I::GetCompanyDbStructureVersionFromResource(), QString());
}

}  // namespace
