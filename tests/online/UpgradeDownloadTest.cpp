// A build of the program fetched from aerolith-server, checked and put in
// place by aerolith-updater; and the refusals of everything that did not
// arrive as the server announced it.

#include "docs/Glossaries.h"
#include "docs/GlossaryIO.h"
#include "i18n/BaseMsgMan.h"
#include "online/AutoUpgrade.h"
#include "online/CorvelIntegration.h"
#include "online/UpgradeDownload.h"
#include "platform/VersionUtils.h"
#include "support/ServedFiles.h"
#include "support/TestServer.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

using Result = LTUpgradeOutcome::Result;

void Write(const QString& szPath, const QByteArray& bytes) {
  ASSERT_TRUE(TestFiles::Write(szPath, bytes)) << szPath.toStdString();
}

using TestFiles::Read;

QString Sha256(const QByteArray& bytes) {
  return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

// The "program" of a build: a script that says its version.
QByteArray ProgramSaying(const char* szVersion) {
  return QByteArray("#!/bin/sh\necho 'Aerolith ") + szVersion + "'\n";
}

QString RunProgram(const QString& szPath) {
  QProcess process;
  process.start(szPath, {});
  if (!process.waitForFinished(10000)) return QStringLiteral("<no answer>");
  return QString::fromLatin1(process.readAllStandardOutput()).trimmed();
}

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

  // The versions list; the server adds the digests unless one is given.
  void ServeVersions(const QString& szProgramAttributes = QString()) {
    const qint64 updaterSize = QFileInfo(Root("files/tools/updater")).size();
    const QString list =
        QStringLiteral("<version key=\"Updater2.exe\" nr=\"\" languages=\"\" countries=\"\" config=\"\" isdft=\"1\" "
                       "centraldb=\"\" companydb=\"\" path=\"tools/updater\" size=\"%1\" descr=\"\" platform=\"\"/>\n"
                       "<version key=\"Aerolith.exe\" nr=\"7.3.0\" languages=\"1031\" countries=\"\" config=\"\" "
                       "isdft=\"1\" centraldb=\"1.4.3\" companydb=\"\" path=\"builds/730/aerolith\" %2 descr=\"Release 7.3.0\" "
                       "platform=\"\"/>\n")
            .arg(updaterSize)
            .arg(szProgramAttributes.isEmpty() ? QStringLiteral("size=\"%1\"").arg(kNewProgram.size())
                                               : szProgramAttributes);
    Write(Root("versions/Aerolith.exe.txt"), list.toLatin1());
  }

  CTTestServer& Server() {
    if (!v_server) {
      v_server = std::make_unique<CTTestServer>(v_root.path());
      qputenv("AEROLITH_SERVER", v_server->HostAndPort().toLatin1());
    }
    return *v_server;
  }

  // The build of the list for a language, and the files to fetch.
  std::vector<LTUpgradeFile> PlanFor(int nLanguage) {
    QString answer;
    EXPECT_TRUE(CTCorvelIntegration::GetStringFromInternet(
        0, QStringLiteral("scripts/corvel_get_versions_multi.asp?name=Aerolith.exe"), answer));
    const LTVersionsList list = CTVersionsList::Parse(answer, 720);
    EXPECT_FALSE(list.bFailed);
    EXPECT_TRUE(list.updater.has_value());
    for (const LTVersionEntry& entry : list.entries)
      if (entry.v_languageID == nLanguage && list.updater)
        return CTUpgradeDownload::Plan(0, *list.updater, entry, QStringLiteral("Aerolith.exe"), true);
    ADD_FAILURE() << "no build for " << nLanguage;
    return {};
  }

  QTemporaryDir v_root, v_install, v_downloads;
  std::unique_ptr<CTTestServer> v_server;
};

TEST_F(Upgrade, BuildDownloadsIsCheckedAndInstalledAndTheNextStartIsTheNewVersion) {
  ServeVersions();
  ASSERT_TRUE(Server().Running());
  std::vector<LTUpgradeFile> files = PlanFor(1031);
  ASSERT_EQ(files.size(), 3u) << "updater, program, interface glossary (no catalogue glossary on the server)";
  EXPECT_EQ(files[2].role, LTUpgradeFile::Role::kInterfaceGlossary);

  std::vector<quint32> lastProgress(files.size(), 0);
  const LTUpgradeOutcome outcome =
      CTUpgradeDownload::DownloadAll(0, files, Downloads(), [&](int nFile, quint32 nProgress, quint32 nExpected) {
        EXPECT_LE(nProgress, nExpected);
        lastProgress[size_t(nFile)] = nProgress;
      });
  ASSERT_TRUE(outcome.Ok()) << int(outcome.result) << " at " << outcome.szShownName.toStdString();
  for (size_t i = 0; i < files.size(); ++i) EXPECT_EQ(lastProgress[i], quint32(files[i].nSize)) << i;
  EXPECT_EQ(Read(files[1].szLocalFile), kNewProgram);

  // The updater as the program starts it, here without the restart; the
  // "running program" is one that has already ended.
  const QStringList arguments =
      CTUpgradeDownload::UpdaterArguments(files, QStringLiteral("Aerolith 7.2.0"), 0, Install("aerolith"), false);
  QFile::setPermissions(files[0].szLocalFile, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  QProcess updater;
  updater.start(files[0].szLocalFile, arguments);
  ASSERT_TRUE(updater.waitForFinished(30000));
  EXPECT_EQ(updater.exitCode(), 0) << updater.readAllStandardError().constData();

  EXPECT_EQ(RunProgram(Install("aerolith")), QStringLiteral("Aerolith 7.3.0"));
  EXPECT_EQ(QDir(v_install.path()).entryList(QDir::Files | QDir::Hidden).size(), 2) << "program and glossary, no leftovers";
  EXPECT_FALSE(QFile::exists(files[1].szLocalFile)) << "the download is gone once installed";

  // The glossary is the one the program reads beside itself.
  ASSERT_TRUE(CTGlossaries::LoadInterface(1031, Install("aerolith.xml")));
  EXPECT_EQ(TBaseMsg::Tr(QStringLiteral("Release Notes")), QStringLiteral("Versionshinweise vom Server"));
}

TEST_F(Upgrade, AnythingThatDidNotArriveAsAnnouncedIsRefusedAndChangesNothing) {
  struct LTCase {
    const char* szName;
    QString programAttributes;
    Result result;
  };
  const QString rightSize = QStringLiteral("size=\"%1\"").arg(kNewProgram.size());
  const LTCase cases[] = {
      {"wrong digest", rightSize + QStringLiteral(" sha256=\"%1\"").arg(Sha256("another build")), Result::kDigestDiffers},
      {"announced larger (cut short)", QStringLiteral("size=\"%1\"").arg(kNewProgram.size() + 100), Result::kSizeDiffers},
      {"announced smaller", QStringLiteral("size=\"%1\"").arg(kNewProgram.size() - 1), Result::kSizeDiffers},
      {"no digest at all", rightSize + QStringLiteral(" sha256=\"\""), Result::kNoDigest},
  };
  ASSERT_TRUE(Server().Running());
  for (const LTCase& c : cases) {
    ServeVersions(c.programAttributes);
    std::vector<LTUpgradeFile> files = PlanFor(1033);
    ASSERT_EQ(files.size(), 2u) << c.szName;
    const LTUpgradeOutcome outcome = CTUpgradeDownload::DownloadAll(0, files, Downloads());
    EXPECT_EQ(outcome.result, c.result) << c.szName;
    EXPECT_EQ(outcome.szShownName, QStringLiteral("Aerolith.exe")) << c.szName;
    EXPECT_TRUE(QDir(Downloads()).entryList(QDir::Files).isEmpty()) << c.szName << ": downloads removed";
    EXPECT_FALSE(CTUpgradeDownload::StartUpdater(files, QStringLiteral("t"), Install("aerolith"), false)) << c.szName;
  }
  // A file the server does not have.
  QFile::remove(Root("files/builds/730/aerolith"));
  ServeVersions(rightSize + QStringLiteral(" sha256=\"%1\"").arg(Sha256(kNewProgram)));
  std::vector<LTUpgradeFile> files = PlanFor(1033);
  EXPECT_EQ(CTUpgradeDownload::DownloadAll(0, files, Downloads()).result, Result::kFailed);
  EXPECT_EQ(RunProgram(Install("aerolith")), QStringLiteral("Aerolith 7.2.0"));
}

TEST_F(Upgrade, UpdaterThatCannotWriteKeepsTheDownloadAndTheInstallation) {
  ServeVersions();
  ASSERT_TRUE(Server().Running());
  std::vector<LTUpgradeFile> files = PlanFor(1033);
  ASSERT_TRUE(CTUpgradeDownload::DownloadAll(0, files, Downloads()).Ok());
  QFile::setPermissions(files[0].szLocalFile, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  QProcess updater;
  updater.start(files[0].szLocalFile, CTUpgradeDownload::UpdaterArguments(files, QStringLiteral("Aerolith"), 0,
                                                                           Install("gone/aerolith"), false));
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
