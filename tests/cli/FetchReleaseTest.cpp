// aerolith-cli online fetch-release against our own server on loopback, as
// a mirror's keeper checks a mirror: the newest build with its updater and
// glossaries, each file checked against the signed manifest, or refused
// with the file and the reason, leaving nothing behind.

#include "CliRun.h"

#include "platform/VersionUtils.h"
#include "support/ReleaseKeysForTests.h"
#include "support/ServedFiles.h"
#include "support/TestServer.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QTcpServer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace {

const QByteArray kUpdater = "#!/bin/sh\n# the updater\n";
const QByteArray kProgram = "#!/bin/sh\necho 'Aerolith 7.3.0'\n";
const QByteArray kOlder = "#!/bin/sh\necho 'Aerolith 7.2.5'\n";
const QByteArray kGlossary = "<Workbook>German</Workbook>\n";

// Two builds for English and German: 7.3.0 and the older 7.2.5; a German
// interface glossary.
QByteArray List() {
  return QStringLiteral(
             "<version key=\"Updater2.exe\" nr=\"\" languages=\"\" countries=\"\" config=\"\" isdft=\"1\" "
             "centraldb=\"\" companydb=\"\" path=\"tools/updater\" size=\"%1\" descr=\"\" platform=\"Win64\"/>\n"
             "<version key=\"Aerolith.exe\" nr=\"7.2.5\" languages=\"1031\" countries=\"\" config=\"\" isdft=\"1\" "
             "centraldb=\"1.4.3\" companydb=\"\" path=\"builds/725/aerolith\" size=\"%2\" descr=\"\" platform=\"Win64\"/>\n"
             "<version key=\"Aerolith.exe\" nr=\"7.3.0\" languages=\"1031\" countries=\"\" config=\"\" isdft=\"1\" "
             "centraldb=\"1.4.3\" companydb=\"\" path=\"builds/730/aerolith\" size=\"%3\" descr=\"\" platform=\"Win64\"/>\n")
      .arg(kUpdater.size())
      .arg(kOlder.size())
      .arg(kProgram.size())
      .toLatin1();
}

QString ClosedLoopbackPort() {
  QTcpServer probe;
  probe.listen(QHostAddress::LocalHost, 0);
  const quint16 port = probe.serverPort();
  probe.close();
  return QStringLiteral("127.0.0.1:%1").arg(port);
}

TEST(FetchRelease, VerifiesEveryFileOrRefusesNamingTheFileAndTheReason) {
  const CTTestReleaseKey key;
  const CTTestReleaseKey stranger(CTTestReleaseKey::Trust::kStranger);
  const LTBuildInfo info{720, QString(), QString(), 0, 0};
  CTVersionUtils::SetInfoForTests(&info);
  QTemporaryDir root, out;
  const auto write = [&](const char* szPath, const QByteArray& bytes) {
    ASSERT_TRUE(TestFiles::Write(root.filePath(szPath), bytes)) << szPath;
  };
  const auto sign = [&](const CTTestReleaseKey& by) {
    QString error;
    ASSERT_TRUE(by.SignFolder(root.path(), error)) << error.toStdString();
  };
  const CTTestServer server(root.path());
  ASSERT_TRUE(server.Running()) << server.ServerLog().toStdString();

  struct Case {
    const char* name;
    std::function<void()> release;
    QStringList arguments;
    bool reachable;
    int code;
    QString said;       // in out when 0, else in err
    QStringList files;  // what the folder holds afterwards
  };
  const QString strangerId = QString::fromLatin1(CTReleaseManifest::KeyId(stranger.Public()).toHex());
  const QStringList english{"files/builds/730/aerolith", "files/tools/updater", "versions/Aerolith.exe.manifest",
                            "versions/Aerolith.exe.txt"};
  const Case cases[] = {
      {"English: the newest build and the updater", [&] { sign(key); }, {}, true, 0,
       "verified files/tools/updater (24 bytes)\nverified files/builds/730/aerolith (32 bytes)\n"
       "build 7.3.0 for language 1033",
       english},
      {"German: its glossary too", [&] { sign(key); }, {"--language", "1031"}, true, 0,
       "verified files/builds/730/aerolith (32 bytes)\nverified files/glossaries/1031/Aerolith.exe.xml (28 bytes)\n"
       "build 7.3.0 for language 1031",
       QStringList{"files/builds/730/aerolith", "files/glossaries/1031/Aerolith.exe.xml", "files/tools/updater",
                   "versions/Aerolith.exe.manifest", "versions/Aerolith.exe.txt"}},
      {"a build changed after signing",
       [&] {
         sign(key);
         write("files/builds/730/aerolith", QByteArray(kProgram).replace("7.3.0", "6.6.6"));
       },
       {}, true, 4,
       "refused: File files/builds/730/aerolith is not the file that was signed. Nothing was kept.", {}},
      {"a manifest signed by another key", [&] { sign(stranger); }, {}, true, 4,
       "refused: versions/Aerolith.exe.manifest is signed by a key this program does not accept (key " + strangerId +
           ").",
       {}},
      {"a mirror that lost a file",
       [&] {
         sign(key);
         QFile::remove(root.filePath("files/tools/updater"));
       },
       {}, true, 4, "refused: files/tools/updater: the server did not give it; nothing was kept", {}},
      {"no server", [&] { sign(key); }, {}, false, 1, "the download server could not be reached", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    write("files/tools/updater", kUpdater);
    write("files/builds/725/aerolith", kOlder);
    write("files/builds/730/aerolith", kProgram);
    write("files/glossaries/1031/Aerolith.exe.xml", kGlossary);
    write("versions/Aerolith.exe.txt", List());
    c.release();
    const CTServerAddress address(c.reachable ? server.HostAndPort() : ClosedLoopbackPort());
    const QString folder = out.filePath(QString::fromLatin1(c.name));

    const CliResult result = RunCli(QStringList{"online", "fetch-release", "--out", folder} + c.arguments);
    EXPECT_EQ(result.code, c.code) << result.err.toStdString();
    EXPECT_TRUE((c.code == 0 ? result.out : result.err).contains(c.said))
        << result.out.toStdString() << result.err.toStdString();
    QStringList files;
    for (QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();)
      files << QDir(folder).relativeFilePath(it.next());
    files.sort();
    EXPECT_EQ(files, c.files);
    EXPECT_EQ(QFileInfo::exists(folder), !c.files.isEmpty()) << "a refusal leaves not even the folder";
    EXPECT_EQ(TestFiles::Read(folder + "/files/builds/730/aerolith"), c.code == 0 ? kProgram : "<missing>");
  }

  // A folder with something in it is never written into.
  ASSERT_TRUE(TestFiles::Write(out.filePath("full/mine.txt"), "mine"));
  const CTServerAddress address(server.HostAndPort());
  const CliResult full = RunCli({"online", "fetch-release", "--out", out.filePath("full")});
  EXPECT_EQ(full.code, 2);
  EXPECT_EQ(TestFiles::Read(out.filePath("full/mine.txt")), "mine");
  CTVersionUtils::SetInfoForTests(nullptr);
}

}  // namespace
