// Signed releases end to end over HTTP and HTTPS on loopback: a folder signed by
// aerolith-release, served by aerolith-server, fetched and checked as the
// upgrade window does (CTUpgradeSteps, CTUpgradeDownload) and installed by
// the updater, which checks everything again. Each release that must not be
// trusted is refused with its reason, leaves nothing behind and starts
// nothing. The keys are made at run time.

#include "ProgramScripts.h"
#include "online/CorvelConfig.h"
#include "online/UpgradeDownload.h"
#include "online/UpgradeSteps.h"
#include "support/ReleaseKeysForTests.h"
#include "support/ServedFiles.h"
#include "support/TestAuthority.h"
#include "support/TestServer.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

using Result = LTUpgradeOutcome::Result;
using TestFiles::Read;

// Every file below a folder, by its path there.
QStringList FilesBelow(const QString& szFolder) {
  QStringList files;
  const QDir root(szFolder);
  for (const QFileInfo& info : root.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)) {
    if (info.isDir()) {
      for (const QString& below : FilesBelow(info.filePath())) files << info.fileName() + '/' + below;
      if (FilesBelow(info.filePath()).isEmpty()) files << info.fileName() + '/';
    } else {
      files << info.fileName();
    }
  }
  return files;
}

const QByteArray kNewProgram = ProgramSaying("7.3.0");
const char* const kManifest = "versions/Aerolith.exe.manifest";

class SignedRelease : public testing::Test {
 protected:
  void SetUp() override {
    Write("files/tools/updater", Read(QStringLiteral(AEROLITH_UPDATER_BIN)));
    Write("files/builds/730/aerolith", kNewProgram);
    Write("files/glossaries/1031/Aerolith.exe.xml", "<Workbook>German</Workbook>\n");
    ServeList("7.3.0");
    Write(Install("aerolith"), ProgramSaying("7.2.0"));
    QFile::setPermissions(Install("aerolith"), QFile::permissions(Install("aerolith")) | QFileDevice::ExeOwner);
    ASSERT_TRUE(TestFiles::Write(v_keys.filePath("key.pem"), v_key.PrivatePem()));
    ASSERT_TRUE(TestFiles::Write(v_keys.filePath("stranger.pem"), v_stranger.PrivatePem()));
  }
  void TearDown() override {
    qunsetenv(CTCorvelConfig::kMirrorEnvironment);
    qunsetenv(CTCorvelConfig::kCaFileEnvironment);
  }

  void Write(const QString& szPath, const QByteArray& bytes) {
    ASSERT_TRUE(TestFiles::Write(QDir(v_root.path()).absoluteFilePath(szPath), bytes)) << szPath.toStdString();
  }
  void Write(const char* szPath, const QByteArray& bytes) { Write(QString::fromLatin1(szPath), bytes); }
  QString Root(const char* sz) const { return v_root.filePath(QString::fromLatin1(sz)); }
  QString Install(const char* sz) const { return v_install.filePath(QString::fromLatin1(sz)); }
  QString Downloads() const { return v_downloads.filePath(QStringLiteral("Upd")); }

  void ServeList(const char* szVersion) {
    const QString list =
        QStringLiteral("<version key=\"Updater2.exe\" nr=\"\" languages=\"\" countries=\"\" config=\"\" isdft=\"1\" "
                       "centraldb=\"\" companydb=\"\" path=\"tools/updater\" size=\"%1\" descr=\"\" platform=\"\"/>\n"
                       "<version key=\"Aerolith.exe\" nr=\"%2\" languages=\"1031\" countries=\"\" config=\"\" "
                       "isdft=\"1\" centraldb=\"1.4.3\" companydb=\"\" path=\"builds/730/aerolith\" size=\"%3\" "
                       "descr=\"Release\" platform=\"\"/>\n")
            .arg(QFileInfo(Root("files/tools/updater")).size())
            .arg(QLatin1String(szVersion))
            .arg(kNewProgram.size());
    Write("versions/Aerolith.exe.txt", list.toLatin1());
  }

  // aerolith-release as a release's keeper runs it.
  QProcess* Sign(const QStringList& extra = {}, const char* szKey = "key.pem") {
    v_tool = std::make_unique<QProcess>();
    v_tool->start(QStringLiteral(AEROLITH_RELEASE_BIN),
                  QStringList{"sign", "--root", v_root.path(), "--program", "Aerolith.exe", "--key",
                              v_keys.filePath(QString::fromLatin1(szKey))} +
                      extra);
    EXPECT_TRUE(v_tool->waitForFinished(30000));
    return v_tool.get();
  }

  CTTestServer& Server() {
    if (!v_server) {
      v_server = std::make_unique<CTTestServer>(v_root.path());
      qputenv("AEROLITH_SERVER", v_server->HostAndPort().toLatin1());
    }
    return *v_server;
  }

  // The release and the German build's files, as the window fetches them
  // for a 7.2.0 program.
  CTUpgradeSteps::LTFetched Fetch() { return CTUpgradeSteps::Fetch(QString(), 0, 720); }
  std::vector<LTUpgradeFile> PlanGerman(const LTVersionsList& list) {
    for (const LTVersionEntry& entry : list.entries)
      if (entry.v_languageID == 1031) return CTUpgradeDownload::Plan(0, list, entry, QStringLiteral("Aerolith.exe"), true);
    ADD_FAILURE() << "no German build";
    return {};
  }

  // The downloaded updater as the program starts it, for a program that
  // has already ended and is not started again.
  int RunUpdater(const std::vector<LTUpgradeFile>& files, QString& szSaid, bool bWithTestKey = true) {
    const auto updater = std::find_if(files.begin(), files.end(),
                                      [](const LTUpgradeFile& f) { return f.role == LTUpgradeFile::Role::kUpdater; });
    QFile::setPermissions(updater->szLocalFile, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (bWithTestKey) environment.insert(CTTestReleaseKey::kEnvironment, QString::fromLatin1(v_key.PublicHex()));
    process.setProcessEnvironment(environment);
    process.start(updater->szLocalFile,
                  CTUpgradeDownload::UpdaterArguments(files, QStringLiteral("Aerolith 7.2.0"), 0, Install("aerolith"), false));
    if (!process.waitForFinished(30000)) return -1;
    szSaid = QString::fromLocal8Bit(process.readAllStandardError());
    return process.exitCode();
  }

  const CTTestReleaseKey v_key;
  const CTTestReleaseKey v_stranger{CTTestReleaseKey::Trust::kStranger};
  QTemporaryDir v_root, v_install, v_downloads, v_keys;
  std::unique_ptr<CTTestServer> v_server;
  std::unique_ptr<QProcess> v_tool;
};

TEST_F(SignedRelease, DownloadsVerifiesAndInstallsThroughTheUpdater) {
  QProcess* tool = Sign();
  ASSERT_EQ(tool->exitCode(), 0) << tool->readAllStandardError().constData();
  // The list, the updater, the build and the German glossary.
  const QByteArray summary = tool->readAllStandardOutput();
  EXPECT_TRUE(summary.startsWith("versions/Aerolith.exe.manifest: release 7.3.0, 4 files, key " +
                                 CTReleaseManifest::KeyId(v_key.Public()).toHex()))
      << summary.constData();
  ASSERT_TRUE(Server().Running()) << Server().ServerLog().toStdString();

  const CTUpgradeSteps::LTFetched fetched = Fetch();
  ASSERT_EQ(fetched.problem, CTUpgradeSteps::TFetchProblem::kNone)
      << CTUpgradeSteps::FetchProblemText(fetched.problem, fetched.refusal).toStdString();
  std::vector<LTUpgradeFile> files = PlanGerman(fetched.list);
  ASSERT_EQ(files.size(), 4u) << "updater, program, glossary, manifest";
  const LTUpgradeOutcome outcome = CTUpgradeDownload::DownloadAll(0, fetched.list.release, files, Downloads());
  ASSERT_TRUE(outcome.Ok()) << CTUpgradeSteps::FailureLines(outcome).join('\n').toStdString();
  EXPECT_EQ(FilesBelow(Downloads()),
            (QStringList{"files/builds/730/aerolith", "files/glossaries/1031/Aerolith.exe.xml", "files/tools/updater",
                         "versions/Aerolith.exe.manifest", "versions/Aerolith.exe.txt"}));
  EXPECT_EQ(Read(Downloads() + "/versions/Aerolith.exe.manifest"), Read(Root(kManifest)));

  QString said;
  ASSERT_EQ(RunUpdater(files, said), 0) << said.toStdString();
  EXPECT_EQ(RunProgram(Install("aerolith")), QStringLiteral("Aerolith 7.3.0"));
  EXPECT_EQ(Read(Install("aerolith.xml")), "<Workbook>German</Workbook>\n");
  EXPECT_EQ(QDir(v_install.path()).entryList(QDir::Files | QDir::Hidden).size(), 2) << "no leftovers";
  EXPECT_FALSE(QFileInfo::exists(Downloads())) << "the download is gone once installed";
}

// The same release from a company mirror over HTTPS, whose certificate the
// company's CA file vouches for. A mirror that presents a certificate for
// another host is refused before anything is fetched: nothing is written
// and nothing starts.
TEST_F(SignedRelease, OverHttpsFromAMirrorTheCompanysAuthorityVouchesFor) {
  CTTestAuthority authority;
  ASSERT_TRUE(authority.Ok()) << authority.Problem().toStdString();
  ASSERT_EQ(Sign()->exitCode(), 0);
  for (const bool rightHost : {false, true}) {
    SCOPED_TRACE(rightHost ? "a certificate for 127.0.0.1" : "a certificate for another host");
    const CTTestAuthority::LTIssued issued = rightHost ? authority.Issue(QStringLiteral("mirror"), {QStringLiteral("127.0.0.1")})
                                                       : authority.Issue(QStringLiteral("other"), {QStringLiteral("mirror.example.com")});
    ASSERT_FALSE(issued.szCertFile.isEmpty());
    CTTestServer server(v_root.path(), QString(), {issued.szCertFile, issued.szKeyFile});
    ASSERT_TRUE(server.Running()) << server.ServerLog().toStdString();
    qputenv(CTCorvelConfig::kMirrorEnvironment, ("https://" + server.HostAndPort()).toUtf8());
    qputenv(CTCorvelConfig::kCaFileEnvironment, authority.CertificateFile().toUtf8());

    const CTUpgradeSteps::LTFetched fetched = Fetch();
    if (!rightHost) {
      EXPECT_NE(fetched.problem, CTUpgradeSteps::TFetchProblem::kNone);
      EXPECT_FALSE(QFileInfo::exists(Downloads()));
      EXPECT_EQ(RunProgram(Install("aerolith")), QStringLiteral("Aerolith 7.2.0"));
      continue;
    }
    ASSERT_EQ(fetched.problem, CTUpgradeSteps::TFetchProblem::kNone)
        << CTUpgradeSteps::FetchProblemText(fetched.problem, fetched.refusal).toStdString();
    std::vector<LTUpgradeFile> files = PlanGerman(fetched.list);
    const LTUpgradeOutcome outcome = CTUpgradeDownload::DownloadAll(0, fetched.list.release, files, Downloads());
    ASSERT_TRUE(outcome.Ok()) << CTUpgradeSteps::FailureLines(outcome).join('\n').toStdString();
    QString said;
    ASSERT_EQ(RunUpdater(files, said), 0) << said.toStdString();
    EXPECT_EQ(RunProgram(Install("aerolith")), QStringLiteral("Aerolith 7.3.0"));
  }
}

TEST_F(SignedRelease, EachReleaseThatIsNotTrustedIsRefusedLeavesNothingAndStartsNothing) {
  const QString refused = "The release on the download server was refused. ";
  const QString strangerId = QString::fromLatin1(CTReleaseManifest::KeyId(v_stranger.Public()).toHex());
  struct Case {
    const char* name;
    std::function<void()> release;  // makes the served release
    QString said;                   // the window's message
  };
  const auto sign = [this](const QStringList& extra = {}, const char* szKey = "key.pem") {
    QProcess* tool = Sign(extra, szKey);
    EXPECT_EQ(tool->exitCode(), 0) << tool->readAllStandardError().constData();
  };
  const Case cases[] = {
      {"a file changed after signing, keeping its size",
       [&] {
         sign();
         Write("files/builds/730/aerolith", ProgramSaying("6.6.6"));
       },
       "File Aerolith.exe is not the file that was signed.\r\n\r\n"
       "Unable to download the upgrade version. Please try again later"},
      {"a manifest signed by another key", [&] { sign({}, "stranger.pem"); },
       refused + "versions/Aerolith.exe.manifest is signed by a key this program does not accept (key " + strangerId +
           ")."},
      {"a manifest without signature",
       [&] {
         sign();
         const QByteArray text = Read(Root(kManifest));
         Write(kManifest, text.left(text.indexOf("signature ")));
       },
       refused + "versions/Aerolith.exe.manifest carries no signature."},
      {"no manifest", [&] {}, refused + "The release is not signed: the server has no versions/Aerolith.exe.manifest."},
      {"a rolled-back version",
       [&] {
         ServeList("7.1.0");
         sign();
       },
       refused + "versions/Aerolith.exe.manifest offers version 7.1.0, older than the installed version 7.2.0."},
      {"an expired manifest", [&] { sign({"--issued", "2020-01-01T00:00:00Z", "--expires", "2020-02-01T00:00:00Z"}); },
       refused + "versions/Aerolith.exe.manifest expired on 2020-02-01T00:00:00Z."},
      {"a list changed after signing",
       [&] {
         sign();
         ServeList("7.4.0");
       },
       refused + "versions/Aerolith.exe.txt is not the versions list that was signed."},
  };
  ASSERT_TRUE(Server().Running());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QFile::remove(Root(kManifest));
    ServeList("7.3.0");
    Write("files/builds/730/aerolith", kNewProgram);
    c.release();
    const qsizetype logMark = Server().ServerLog().size();

    const CTUpgradeSteps::LTFetched fetched = Fetch();
    std::vector<LTUpgradeFile> files;
    QString said = CTUpgradeSteps::FetchProblemText(fetched.problem, fetched.refusal);
    if (fetched.problem == CTUpgradeSteps::TFetchProblem::kNone) {
      files = PlanGerman(fetched.list);
      const LTUpgradeOutcome outcome = CTUpgradeDownload::DownloadAll(0, fetched.list.release, files, Downloads());
      said = CTUpgradeSteps::FailureLines(outcome).join(QStringLiteral("\r\n"));
      EXPECT_EQ(outcome.result, Result::kDigestDiffers);
    } else {
      EXPECT_EQ(fetched.problem, CTUpgradeSteps::TFetchProblem::kRefused);
      EXPECT_FALSE(Server().ServerLog().mid(logMark).contains("corvel_download_file")) << "nothing was downloaded";
    }
    EXPECT_EQ(said, c.said);
    EXPECT_EQ(FilesBelow(v_downloads.path()), QStringList()) << "nothing left behind";
    EXPECT_FALSE(CTUpgradeDownload::StartUpdater(files, QStringLiteral("Aerolith"), Install("aerolith"), false))
        << "nothing to start";
    EXPECT_EQ(RunProgram(Install("aerolith")), QStringLiteral("Aerolith 7.2.0"));
  }
}

TEST_F(SignedRelease, TheUpdaterChecksEverythingAgainBeforeItReplacesAnything) {
  struct Case {
    const char* name;
    std::function<void(std::vector<LTUpgradeFile>&)> afterDownload;
    bool withTestKey;
    QString said;
  };
  const auto local = [](std::vector<LTUpgradeFile>& files, LTUpgradeFile::Role role) -> QString {
    for (const LTUpgradeFile& file : files)
      if (file.role == role) return file.szLocalFile;
    return QString();
  };
  const Case cases[] = {
      {"the program changed after the download",
       [&](std::vector<LTUpgradeFile>& files) {
         ASSERT_TRUE(TestFiles::Write(local(files, LTUpgradeFile::Role::kProgram), ProgramSaying("6.6.6")));
       },
       true, "refused: files/builds/730/aerolith: it is not the file that was signed; nothing was changed"},
      {"the glossary changed after the download",
       [&](std::vector<LTUpgradeFile>& files) {
         ASSERT_TRUE(TestFiles::Write(local(files, LTUpgradeFile::Role::kInterfaceGlossary), "<Workbook/>"));
       },
       true, "refused: files/glossaries/1031/Aerolith.exe.xml: it is not the file that was signed; nothing was changed"},
      {"an updater that does not accept the key", [](std::vector<LTUpgradeFile>&) {}, false,
       "it is signed by a key this updater does not accept (key " +
           QString::fromLatin1(CTReleaseManifest::KeyId(v_key.Public()).toHex()) + "); nothing was changed"},
      {"no manifest",
       [&](std::vector<LTUpgradeFile>& files) { QFile::remove(local(files, LTUpgradeFile::Role::kManifest)); }, true,
       "refused: no release manifest to check the files against; nothing was changed"},
  };
  ASSERT_EQ(Sign()->exitCode(), 0);
  ASSERT_TRUE(Server().Running());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const CTUpgradeSteps::LTFetched fetched = Fetch();
    ASSERT_EQ(fetched.problem, CTUpgradeSteps::TFetchProblem::kNone);
    std::vector<LTUpgradeFile> files = PlanGerman(fetched.list);
    ASSERT_TRUE(CTUpgradeDownload::DownloadAll(0, fetched.list.release, files, Downloads()).Ok());
    c.afterDownload(files);
    QString said;
    EXPECT_EQ(RunUpdater(files, said, c.withTestKey), 5) << said.toStdString();
    EXPECT_TRUE(said.contains(c.said)) << said.toStdString();
    EXPECT_EQ(RunProgram(Install("aerolith")), QStringLiteral("Aerolith 7.2.0"));
    EXPECT_EQ(QDir(v_install.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"aerolith"})
        << "nothing replaced, nothing added";
    QDir(Downloads()).removeRecursively();
  }
}

}  // namespace
