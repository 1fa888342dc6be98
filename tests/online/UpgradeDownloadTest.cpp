// A build of the program fetched from aerolith-server, checked against the
// release's signed manifest and put in place by the updater; and the
// refusals of everything that did not arrive as it was signed.

#include "ProgramScripts.h"
#include "docs/Glossaries.h"
#include "docs/GlossaryIO.h"
#include "i18n/BaseMsgMan.h"
#include "online/AutoUpgrade.h"
#include "online/CorvelIntegration.h"
#include "online/SignedRelease.h"
#include "online/UpgradeDownload.h"
#include "platform/VersionUtils.h"
#include "support/ReleaseKeysForTests.h"
#include "support/ServedFiles.h"
#include "support/TestServer.h"
#include "tools/release/ReleaseSigner.h"

#include <QDateTime>
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

void Write(const QString& szPath, const QByteArray& bytes) {
  ASSERT_TRUE(TestFiles::Write(szPath, bytes)) << szPath.toStdString();
}

using TestFiles::Read;

const QByteArray kNewProgram = ProgramSaying("7.3.0");

class Upgrade : public testing::Test {
 protected:
  void SetUp() override {
    Write(Root("files/tools/updater"), Read(QStringLiteral(AEROLITH_UPDATER_BIN)));
    Write(Root("files/builds/730/aerolith"), kNewProgram);
    // A German interface glossary of the server's with a term of its own.
    CTUnicodeGlossary glossary;
    glossary.SetTargetLanguage(1031);
    glossary.AddTerm(QStringLiteral("Release Notes"), QStringLiteral("Versionshinweise vom Server"));
    QDir().mkpath(Root("files/glossaries/1031"));
    ASSERT_TRUE(CTExcelXMLGlossaryIO().SaveGlossaryToFile(Root("files/glossaries/1031/Aerolith.exe.xml"), glossary, true));
    // The install: the running build 7.2.0.
    Write(Install("aerolith"), ProgramSaying("7.2.0"));
    QFile::setPermissions(Install("aerolith"), QFile::permissions(Install("aerolith")) | QFileDevice::ExeOwner);
  }
  void TearDown() override {
    qunsetenv("AEROLITH_SERVER");
    CTGlossaries::Reset();
  }

  QString Root(const char* sz) const { return v_root.filePath(QString::fromLatin1(sz)); }
  QString Install(const char* sz) const { return v_install.filePath(QString::fromLatin1(sz)); }
  QString Downloads() const { return v_downloads.filePath(QStringLiteral("Upd")); }

  // The versions list, signed as the release tool signs it.
  void ServeVersions() {
    const qint64 updaterSize = QFileInfo(Root("files/tools/updater")).size();
    const QString list =
        QStringLiteral("<version key=\"Updater2.exe\" nr=\"\" languages=\"\" countries=\"\" config=\"\" isdft=\"1\" "
                       "centraldb=\"\" companydb=\"\" path=\"tools/updater\" size=\"%1\" descr=\"\" platform=\"\"/>\n"
                       "<version key=\"Aerolith.exe\" nr=\"7.3.0\" languages=\"1031\" countries=\"\" config=\"\" "
                       "isdft=\"1\" centraldb=\"1.4.3\" companydb=\"\" path=\"builds/730/aerolith\" size=\"%2\" "
                       "descr=\"Release 7.3.0\" platform=\"\"/>\n")
            .arg(updaterSize)
            .arg(kNewProgram.size());
    Write(Root("versions/Aerolith.exe.txt"), list.toLatin1());
    QString error;
    EXPECT_TRUE(v_key.SignFolder(v_root.path(), error)) << error.toStdString();
  }
  // The release of the folder signed with the program's entry changed (or
  // left out) by the test, as a keeper's mistake or a forger would have it.
  void SignWithProgram(const std::function<void(std::vector<LTReleaseFile>&)>& change) {
    LTReleaseManifest manifest;
    QString error;
    ASSERT_TRUE(CTReleaseSigner::Gather(v_root.path(), QStringLiteral("Aerolith.exe"), manifest, error))
        << error.toStdString();
    change(manifest.files);
    manifest.nIssued = QDateTime::currentSecsSinceEpoch();
    manifest.nExpires = manifest.nIssued + 3600;
    ASSERT_TRUE(v_key.SignManifest(v_root.path(), manifest));
  }
  // The updater as the program starts it, for a program that has already
  // ended; it accepts the test's key.
  void StartUpdater(QProcess& updater, const std::vector<LTUpgradeFile>& files, const QString& szTarget) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(CTTestReleaseKey::kEnvironment, QString::fromLatin1(v_key.PublicHex()));
    updater.setProcessEnvironment(environment);
    QFile::setPermissions(files[0].szLocalFile, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    updater.start(files[0].szLocalFile,
                  CTUpgradeDownload::UpdaterArguments(files, QStringLiteral("Aerolith 7.2.0"), 0, szTarget, false));
  }

  CTTestServer& Server() {
    if (!v_server) {
      v_server = std::make_unique<CTTestServer>(v_root.path());
      qputenv("AEROLITH_SERVER", v_server->HostAndPort().toLatin1());
    }
    return *v_server;
  }

  // The build of the signed list for a language, and the files to fetch.
  std::vector<LTUpgradeFile> PlanFor(int nLanguage) {
    const LTReleaseFetch fetched = CTSignedRelease::Fetch(0, 720);
    EXPECT_EQ(fetched.result, LTReleaseFetch::Result::kOk) << int(fetched.refusal.problem);
    v_list = CTVersionsList::Parse(QString::fromLatin1(fetched.release.arList), 720);
    v_list.release = fetched.release;
    EXPECT_FALSE(v_list.bFailed);
    EXPECT_TRUE(v_list.updater.has_value());
    for (const LTVersionEntry& entry : v_list.entries)
      if (entry.v_languageID == nLanguage && v_list.updater)
        return CTUpgradeDownload::Plan(0, v_list, entry, QStringLiteral("Aerolith.exe"), true);
    ADD_FAILURE() << "no build for " << nLanguage;
    return {};
  }
  LTUpgradeOutcome DownloadAll(std::vector<LTUpgradeFile>& files, const CTUpgradeDownload::TProgress& progress = {}) {
    return CTUpgradeDownload::DownloadAll(0, v_list.release, files, Downloads(), progress);
  }

  const CTTestReleaseKey v_key;
  LTVersionsList v_list;
  QTemporaryDir v_root, v_install, v_downloads;
  std::unique_ptr<CTTestServer> v_server;
};

TEST_F(Upgrade, BuildDownloadsIsCheckedAndInstalledAndTheNextStartIsTheNewVersion) {
  ServeVersions();
  ASSERT_TRUE(Server().Running());
  std::vector<LTUpgradeFile> files = PlanFor(1031);
  ASSERT_EQ(files.size(), 4u)
      << "updater, program, interface glossary (no catalogue glossary on the server), the manifest last";
  EXPECT_EQ(files[2].role, LTUpgradeFile::Role::kInterfaceGlossary);
  EXPECT_EQ(files[3].role, LTUpgradeFile::Role::kManifest);

  std::vector<quint32> lastProgress(files.size(), 0);
  const LTUpgradeOutcome outcome = DownloadAll(files, [&](int nFile, quint32 nProgress, quint32 nExpected) {
    EXPECT_LE(nProgress, nExpected);
    lastProgress[size_t(nFile)] = nProgress;
  });
  ASSERT_TRUE(outcome.Ok()) << int(outcome.result) << " at " << outcome.szShownName.toStdString();
  for (size_t i = 0; i < 3; ++i) EXPECT_EQ(lastProgress[i], quint32(files[i].nSize)) << i;
  EXPECT_EQ(lastProgress[3], 0u) << "the manifest is not fetched again";
  EXPECT_EQ(Read(files[1].szLocalFile), kNewProgram);

  // The updater as the program starts it, here without the restart.
  QProcess updater;
  StartUpdater(updater, files, Install("aerolith"));
  ASSERT_TRUE(updater.waitForFinished(30000));
  EXPECT_EQ(updater.exitCode(), 0) << updater.readAllStandardError().constData();

  EXPECT_EQ(RunProgram(Install("aerolith")), QStringLiteral("Aerolith 7.3.0"));
  EXPECT_EQ(QDir(v_install.path()).entryList(QDir::Files | QDir::Hidden).size(), 2) << "program and glossary, no leftovers";
  EXPECT_FALSE(QFile::exists(files[1].szLocalFile)) << "the download is gone once installed";

  // The glossary is the one the program reads beside itself.
  ASSERT_TRUE(CTGlossaries::LoadInterface(1031, Install("aerolith.xml")));
  EXPECT_EQ(TBaseMsg::Tr(QStringLiteral("Release Notes")), QStringLiteral("Versionshinweise vom Server"));
}

TEST_F(Upgrade, AnythingThatDidNotArriveAsSignedIsRefusedAndChangesNothing) {
  struct LTCase {
    const char* szName;
    std::function<void()> release;  // signs the served folder
    Result result;
  };
  const QString program = QStringLiteral("files/builds/730/aerolith");
  const auto signedSize = [&](qint64 nDelta) {
    SignWithProgram([&](std::vector<LTReleaseFile>& files) {
      for (LTReleaseFile& file : files)
        if (file.szName == program) file.nSize += nDelta;
    });
  };
  const LTCase cases[] = {
      {"changed after signing",
       [&] {
         ServeVersions();
         Write(Root("files/builds/730/aerolith"), ProgramSaying("6.6.6"));
       },
       Result::kDigestDiffers},
      {"signed larger (cut short)", [&] { signedSize(100); }, Result::kSizeDiffers},
      {"signed smaller", [&] { signedSize(-1); }, Result::kSizeDiffers},
      {"not in the signed release",
       [&] {
         SignWithProgram([&](std::vector<LTReleaseFile>& files) {
           files.erase(std::remove_if(files.begin(), files.end(), [&](const LTReleaseFile& f) { return f.szName == program; }),
                       files.end());
         });
       },
       Result::kNotInRelease},
  };
  ServeVersions();
  ASSERT_TRUE(Server().Running());
  for (const LTCase& c : cases) {
    Write(Root("files/builds/730/aerolith"), kNewProgram);
    c.release();
    std::vector<LTUpgradeFile> files = PlanFor(1033);
    ASSERT_EQ(files.size(), 3u) << c.szName;
    const LTUpgradeOutcome outcome = DownloadAll(files);
    EXPECT_EQ(outcome.result, c.result) << c.szName;
    EXPECT_EQ(outcome.szShownName, QStringLiteral("Aerolith.exe")) << c.szName;
    EXPECT_FALSE(QFileInfo::exists(Downloads())) << c.szName << ": downloads removed";
    EXPECT_FALSE(CTUpgradeDownload::StartUpdater(files, QStringLiteral("t"), Install("aerolith"), false)) << c.szName;
  }
  // A file the server does not have.
  Write(Root("files/builds/730/aerolith"), kNewProgram);
  ServeVersions();
  QFile::remove(Root("files/builds/730/aerolith"));
  std::vector<LTUpgradeFile> files = PlanFor(1033);
  EXPECT_EQ(DownloadAll(files).result, Result::kFailed);
  EXPECT_EQ(RunProgram(Install("aerolith")), QStringLiteral("Aerolith 7.2.0"));
}

TEST_F(Upgrade, UpdaterThatCannotWriteKeepsTheDownloadAndTheInstallation) {
  ServeVersions();
  ASSERT_TRUE(Server().Running());
  std::vector<LTUpgradeFile> files = PlanFor(1033);
  ASSERT_TRUE(DownloadAll(files).Ok());
  QProcess updater;
  StartUpdater(updater, files, Install("gone/aerolith"));
  ASSERT_TRUE(updater.waitForFinished(30000));
  EXPECT_EQ(updater.exitCode(), 3);
  EXPECT_TRUE(updater.readAllStandardError().contains("download is kept"));
  EXPECT_EQ(Read(files[1].szLocalFile), kNewProgram);
  EXPECT_FALSE(CTUpgradeDownload::CanWriteFolder(Install("gone")));
  EXPECT_TRUE(CTUpgradeDownload::CanWriteFolder(v_install.path()));
}

TEST(UpgradeArguments, OurPathsOnlyAndTheRestartSwitch) {
  std::vector<LTUpgradeFile> files{
      {LTUpgradeFile::Role::kUpdater, QStringLiteral("Updater2.exe"), QStringLiteral("x"), 1, QString(), QStringLiteral("/t/Upd1")},
      {LTUpgradeFile::Role::kInterfaceGlossary, QStringLiteral("Glossary"), QStringLiteral("g"), 1, QString(), QStringLiteral("/t/Upd3")},
      {LTUpgradeFile::Role::kProgram, QStringLiteral("Aerolith.exe"), QStringLiteral("p"), 1, QString(), QStringLiteral("/t/Upd2")}};
  EXPECT_EQ(CTUpgradeDownload::UpdaterArguments(files, QStringLiteral("Aerolith 7.2.0"), 42, QStringLiteral("/opt/a/aerolith"), true),
            (QStringList{QStringLiteral("-aAerolith 7.2.0"), QStringLiteral("-p42"), QStringLiteral("-t/opt/a/aerolith"),
                         QStringLiteral("-s/t/Upd2"), QStringLiteral("-g/t/Upd3")}));
  EXPECT_EQ(CTUpgradeDownload::UpdaterArguments(files, QStringLiteral("A"), 1, QStringLiteral("/a"), false).last(),
            QStringLiteral("-n"));
}

TEST(StartUpCheck, UsageCountPerBuildIdentity) {
  const QString build = QStringLiteral("7.2.0 1.4.3");
  EXPECT_EQ(CTAutoUpgrade::GetUsageCount(build), 0);
  CTAutoUpgrade::CountStart(build, 0);
  EXPECT_EQ(CTAutoUpgrade::GetUsageCount(build), 1);
  CTAutoUpgrade::CountStart(build, 1);
  EXPECT_EQ(CTAutoUpgrade::GetUsageCount(QStringLiteral("7.2.0 1.4.3").toUpper()), 2);
  EXPECT_EQ(CTAutoUpgrade::GetUsageCount(QStringLiteral("7.2.0 1.4.4")), 0) << "a new catalogue counts anew";
}

TEST(StartUpCheck, HintLinesOfTheServicesExamples) {
  const LTBuildInfo info{720, QString(), QString(), 0, 0};
  CTVersionUtils::SetInfoForTests(&info);
  bool notes = true;
  const QString start = QStringLiteral("Please upgrade your copy of Aerolith (version 7.2.0 - database 1.4.2)");
  EXPECT_EQ(CTAutoUpgrade::HintLines(QStringLiteral("Aerolith"), QStringLiteral("1.4.2"), 1, notes),
            (QStringList{start, QString(), QStringLiteral("- Updated translation of the user interface.")}));
  EXPECT_FALSE(notes);
  EXPECT_EQ(CTAutoUpgrade::HintLines(QStringLiteral("Aerolith"), QString(), 1440, notes),
            (QStringList{QStringLiteral("Please upgrade your copy of Aerolith (version 7.2.0)"), QString(),
                         QStringLiteral("- Software version 7.2.0 now available."), QString(),
                         QStringLiteral("See release notes for more details.")}));
  EXPECT_TRUE(notes);
  EXPECT_EQ(CTAutoUpgrade::HintLines(QStringLiteral("Aerolith"), QStringLiteral("1.4.2"), 2860001, notes),
            (QStringList{start, QString(), QStringLiteral("- Database version 1.4.3 now available."),
                         QStringLiteral("- Updated translation of the user interface."), QString(),
                         QStringLiteral("See release notes for more details.")}));
  CTVersionUtils::SetInfoForTests(nullptr);
}

}  // namespace
