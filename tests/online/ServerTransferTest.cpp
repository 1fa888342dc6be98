// The online layer against aerolith-server on loopback: what the program
// asks of a server, as a real server answers it, and what a server that
// misbehaves leaves of it.

#include "online/ATORemoteUtils0.h"
#include "online/CorvelIntegration.h"
#include "support/ServedFiles.h"
#include "support/TestServer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

using I = CTCorvelIntegration;

void Write(const QString& szPath, const QByteArray& bytes) {
  ASSERT_TRUE(TestFiles::Write(szPath, bytes)) << szPath.toStdString();
}

using TestFiles::Read;

using ServerAddress = CTServerAddress;

constexpr const char* kReleaseNotes = "{\\rtf1\\ansi {\\b Version 7.2.0}\\par Faster selection.\\par}";

// A served folder with a program the service knows, its manual in two
// languages, its release notes and some files.
class OurServer : public testing::Test {
 protected:
  void SetUp() override {
    Write(Root(QStringLiteral("service.json")),
          R"({"programs": [{"name": "Aerolith.exe", "id": 7, "version": 720, "database": 143,
               "glossaries": {"1031": 20261101},
               "releaseNotes": "notes/release.rtf",
               "manual": {"id": 3, "languages": {"1033": "manuals/en/Aerolith.pdf",
                                                 "1031": "manuals/de/Aerolith.pdf"}}}]})");
    Write(Root(QStringLiteral("notes/release.rtf")), kReleaseNotes);
    Write(Root(QStringLiteral("files/docs/manual.pdf")), QByteArray(5000, 'm'));
    Write(Root(QStringLiteral("files/manuals/en/Aerolith.pdf")), "%PDF-1.4 en");
  }

  QString Root(const QString& szRelative) const { return v_root.filePath(szRelative); }
  // The server starts on first use, with the fault mode of the test.
  CTTestServer& Server(const QString& szFault = QString()) {
    if (!v_server) {
      v_server = std::make_unique<CTTestServer>(v_root.path(), szFault);
      v_address = std::make_unique<ServerAddress>(v_server->HostAndPort());
    }
    return *v_server;
  }

  QTemporaryDir v_root;
  QTemporaryDir v_local;
  std::unique_ptr<CTTestServer> v_server;
  std::unique_ptr<ServerAddress> v_address;
};

TEST_F(OurServer, DownloadsWithProgressAndTheSizeCheck) {
  ASSERT_TRUE(Server().Running()) << Server().ServerLog().toStdString();
  struct LTCase {
    const char* szName;
    const char* szPath;
    quint32 nExpected;
    int nResult;
    quint32 nFound;
  };
  const LTCase cases[] = {
      {"exact", "docs/manual.pdf", 5000, I::kFileOk, 5000},
      {"backslashes", "docs\\manual.pdf", 0, I::kFileOk, 5000},
      {"shorter than said", "docs/manual.pdf", 6000, I::kFileSizeDiffers, 5000},
      {"longer than said", "docs/manual.pdf", 4000, I::kFileSizeDiffers, 4001},
      {"missing", "docs/none.pdf", 0, I::kFileFailed, 0},
      {"outside the folder", "../service.json", 0, I::kFileFailed, 0},
  };
  for (const LTCase& c : cases) {
    const QString local = v_local.filePath(QStringLiteral("manual.pdf"));
    QFile::remove(local);
    quint32 found = 0;
    quint32 lastProgress = 0, lastMax = 0;
    const int result = I::GetFileFromInternet(0, QString::fromLatin1(c.szPath), local, c.nExpected, found,
                                              [&](quint32 nProgress, quint32 nMax) {
                                                EXPECT_LE(nProgress, nMax);
                                                EXPECT_GE(nProgress, lastProgress) << "progress never goes back";
                                                lastProgress = nProgress;
                                                lastMax = nMax;
                                              });
    EXPECT_EQ(result, c.nResult) << c.szName;
    EXPECT_EQ(found, c.nFound) << c.szName;
    EXPECT_EQ(QFile::exists(local), c.nResult == I::kFileOk) << c.szName;
    if (c.nResult == I::kFileOk) {
      EXPECT_EQ(Read(local), QByteArray(5000, 'm')) << c.szName;
      EXPECT_EQ(lastProgress, 5000u) << c.szName;
      EXPECT_EQ(lastMax, 5000u) << c.szName;
    }
  }
}

TEST_F(OurServer, ScriptAnswersAreReadAsBytes) {
  Write(Root(QStringLiteral("versions/Aerolith.exe.txt")), "<version key=\"Aerolith.exe\" descr=\"caf\xE9\"/>");
  ASSERT_TRUE(Server().Running());
  QString text;
  ASSERT_TRUE(I::GetStringFromInternet(0, QStringLiteral("scripts/corvel_get_versions_multi.asp?") +
                                              I::Query({{"name", QStringLiteral("Aerolith.exe")}}),
                                       text));
  QString descr;
  ASSERT_TRUE(I::GetXMLAttributeValue(text, QStringLiteral("descr"), descr));
  EXPECT_EQ(descr, QString::fromUtf8("café"));
  EXPECT_FALSE(I::GetStringFromInternet(0, QStringLiteral("scripts/no_such_script.asp"), text));
}

TEST_F(OurServer, UploadsLandInTheUploadFolderAndNowhereElse) {
  ASSERT_TRUE(Server().Running());
  const QString local = v_local.filePath(QStringLiteral("approval.txt"));
  Write(local, "Approved by A. Tester\r\n");
  EXPECT_TRUE(I::SaveFileToInternet(0, QStringLiteral("{1B4E28BA-2FA1-11D2-883F-B9A761BDE3FB}.txt"), local));
  EXPECT_EQ(Read(Root(QStringLiteral("uploads/{1B4E28BA-2FA1-11D2-883F-B9A761BDE3FB}.txt"))),
            QByteArray("Approved by A. Tester\r\n"));
  for (const char* target : {"../escaped.txt", "a/b.txt", "..\\escaped.txt", "/tmp/escaped.txt"})
    EXPECT_FALSE(I::SaveFileToInternet(0, QString::fromLatin1(target), local)) << target;
  EXPECT_FALSE(QFile::exists(Root(QStringLiteral("escaped.txt"))));
  EXPECT_FALSE(QFile::exists(Root(QStringLiteral("uploads/a/b.txt"))));
  EXPECT_EQ(QDir(Root(QStringLiteral("uploads"))).entryList(QDir::Files).size(), 1);
}

TEST_F(OurServer, ServiceAnswersTheProgramsQuestions) {
  ASSERT_TRUE(Server().Running());
  EXPECT_EQ(I::IdentifyProgram(), 7);
  // 720 newer than 700 (2 x 720), database 143 newer than 100 (20000 x 143),
  // a German glossary newer than 2026-01-01 (1).
  EXPECT_EQ(I::HasUpgrades(1031, 700, 100, 20260101), 1440 + 2860000 + 1);
  EXPECT_EQ(I::HasUpgrades(1031, 720, 143, 20261101), 0);
  EXPECT_EQ(I::HasUpgrades(1033, 720, 100, 1), 2860000);

  QString path;
  ASSERT_TRUE(I::HasUsersManual(1031, path));
  EXPECT_EQ(path, QStringLiteral("manuals/de/Aerolith.pdf"));
  ASSERT_TRUE(I::HasUsersManual(1036, path));
  EXPECT_EQ(path, QStringLiteral("manuals/en/Aerolith.pdf"));

  // The file as the server holds it, through the service's packing.
  QByteArray notes;
  ASSERT_TRUE(I::ReleaseNotes(notes));
  EXPECT_EQ(notes, kReleaseNotes);
}

TEST_F(OurServer, AnUnknownProgramGetsNothing) {
  Write(Root(QStringLiteral("service.json")), R"({"programs": [{"name": "Other.exe", "id": 9, "version": 999}]})");
  ASSERT_TRUE(Server().Running());
  QString path;
  QByteArray notes;
  EXPECT_EQ(I::IdentifyProgram(), 0);
  EXPECT_EQ(I::HasUpgrades(1033, 100, 100, 1), 0);
  EXPECT_FALSE(I::HasUsersManual(1033, path));
  EXPECT_FALSE(I::ReleaseNotes(notes));
}

// Each misbehaviour gives the "none" answers, within the caps of the
// transfers (5 s for the service and the scripts), and the program goes on.
TEST_F(OurServer, FaultModesLeaveTheProgramAsIfOffline) {
  for (const char* fault : {"never", "slow", "garbage"}) {
    v_address.reset();
    v_server.reset();
    ASSERT_TRUE(Server(QString::fromLatin1(fault)).Running()) << fault;
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(I::HasUpgrades(1033, 700, 100, 1), 0) << fault;
    QString text;
    EXPECT_FALSE(I::GetStringFromInternet(0, QStringLiteral("scripts/corvel_get_glos_size.asp?name=x&lang=1031"), text) &&
                 text.contains(QStringLiteral("path=")))
        << fault;
    // Two bounded exchanges; the bound here only catches a hang.
    EXPECT_LT(clock.elapsed(), 12000) << fault;
  }
  // Garbage in place of a file is caught by its size.
  quint32 found = 0;
  EXPECT_EQ(I::GetFileFromInternet(0, QStringLiteral("docs/manual.pdf"), v_local.filePath(QStringLiteral("m.pdf")), 5000,
                                   found),
            I::kFileSizeDiffers);
  EXPECT_FALSE(QFile::exists(v_local.filePath(QStringLiteral("m.pdf"))));
}

TEST(NoServer, EveryQuestionAnswersNoneAtOnce) {
  // A loopback port nobody listens on: the connection is refused.
  QTcpServer probe;
  ASSERT_TRUE(probe.listen(QHostAddress::LocalHost));
  const quint16 port = probe.serverPort();
  probe.close();
  const ServerAddress address(QStringLiteral("127.0.0.1:%1").arg(port));
  QTemporaryDir local;
  QString text, path;
  QByteArray notes;
  quint32 found = 0;
  EXPECT_EQ(I::IdentifyProgram(), 0);
  EXPECT_EQ(I::HasUpgrades(1033, 700, 100, 1), 0);
  EXPECT_FALSE(I::HasUsersManual(1033, path));
  EXPECT_FALSE(I::ReleaseNotes(notes));
  EXPECT_FALSE(I::GetStringFromInternet(0, QStringLiteral("scripts/x.asp"), text));
  EXPECT_EQ(I::GetFileFromInternet(0, QStringLiteral("a.bin"), local.filePath(QStringLiteral("a.bin")), 0, found),
            I::kFileFailed);
}

TEST(CutAnswer, ADownloadCutMidBodyChangesNothing) {
  // A server that promises 1000 bytes, sends 10 and hangs up.
  QTcpServer server;
  ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
  QObject::connect(&server, &QTcpServer::newConnection, &server, [&server] {
    QTcpSocket* socket = server.nextPendingConnection();
    QObject::connect(socket, &QTcpSocket::readyRead, socket, [socket] {
      socket->readAll();
      socket->write("HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\n0123456789");
      socket->flush();
      socket->disconnectFromHost();
    });
  });
  const ServerAddress address(QStringLiteral("127.0.0.1:%1").arg(server.serverPort()));
  QTemporaryDir local;
  const QString file = local.filePath(QStringLiteral("kept.bin"));
  Write(file, "old");
  for (const quint32 expected : {0u, 1000u}) {
    quint32 found = 0;
    EXPECT_EQ(I::GetFileFromInternet(0, QStringLiteral("a.bin"), file, expected, found), I::kFileFailed) << expected;
    EXPECT_EQ(Read(file), QByteArray("old")) << expected;
  }
}

}  // namespace
