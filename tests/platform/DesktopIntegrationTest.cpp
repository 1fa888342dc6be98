#include "platform/DesktopIntegration.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <optional>

namespace {

const QString kExe = QStringLiteral("/opt/aerolith/aerolith");
const QByteArray kIcon48 = QByteArrayLiteral("\x89PNG 48 pixels");
const QByteArray kDefaultLine = QByteArrayLiteral("application/x-aerolith-project=norvane-aerolith.desktop");

QByteArray Read(const QString& szPath) {
  QFile file(szPath);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Write(const QString& szPath, const QByteArray& arBytes) {
  QDir().mkpath(QFileInfo(szPath).path());
  QFile file(szPath);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << szPath.toStdString();
  file.write(arBytes);
}

// The keys of a desktop entry as they stand in the file (still escaped).
QMap<QString, QString> DesktopKeys(const QByteArray& arEntry) {
  QMap<QString, QString> keys;
  const QStringList lines = QString::fromUtf8(arEntry).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  EXPECT_FALSE(lines.isEmpty());
  if (lines.isEmpty()) return keys;
  EXPECT_EQ(lines.first(), "[Desktop Entry]");
  for (const QString& line : lines.mid(1)) {
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    EXPECT_GT(eq, 0) << line.toStdString();
    EXPECT_FALSE(keys.contains(line.left(eq))) << "duplicate " << line.toStdString();
    keys.insert(line.left(eq), line.mid(eq + 1));
  }
  return keys;
}

// Every file (with its bytes) and folder below szRoot.
QMap<QString, QByteArray> Snapshot(const QString& szRoot) {
  QMap<QString, QByteArray> tree;
  QDirIterator it(szRoot, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString szPath = it.next();
    const QString szRel = QDir(szRoot).relativeFilePath(szPath);
    tree.insert(szRel, it.fileInfo().isDir() ? QByteArray("<folder>") : Read(szPath));
  }
  return tree;
}

bool AnyContains(const QStringList& problems, const QString& szPart) {
  for (const QString& p : problems)
    if (p.contains(szPart)) return true;
  return false;
}

class DesktopIntegration : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(v_dir.isValid()); }

  QString Data() const { return v_dir.filePath("data"); }
  QString Config() const { return v_dir.filePath("config"); }

  CTDesktopIntegration Make(const QString& szExe = kExe, bool bWithIcon = true) const {
    CTDesktopIntegration desktop("Aerolith", szExe, "Uninstall", Data(), Config());
    desktop.SetUpdateCaches(false);
    if (bWithIcon) desktop.AddPngIcon(48, kIcon48);
    return desktop;
  }

  QTemporaryDir v_dir;
};

TEST_F(DesktopIntegration, InstallWritesEntriesTypeIconsAndDefaultHandler) {
  CTDesktopIntegration desktop = Make();
  EXPECT_FALSE(desktop.IsInstalled());
  const CTDesktopResult result = desktop.Install();
  EXPECT_TRUE(result.Ok()) << result.v_problems.join('\n').toStdString();
  EXPECT_TRUE(result.v_changed);
  EXPECT_TRUE(desktop.IsInstalled());

  const auto program = DesktopKeys(Read(Data() + "/applications/norvane-aerolith.desktop"));
  EXPECT_EQ(program.value("Type"), "Application");
  EXPECT_EQ(program.value("Name"), "Aerolith");
  EXPECT_EQ(program.value("Exec"), "\"/opt/aerolith/aerolith\" %f");
  EXPECT_EQ(program.value("TryExec"), "/opt/aerolith/aerolith");
  EXPECT_EQ(program.value("Path"), "/opt/aerolith");
  EXPECT_EQ(program.value("Icon"), "norvane-aerolith");
  EXPECT_EQ(program.value("MimeType"), "application/x-aerolith-project;");
  EXPECT_EQ(program.value("Terminal"), "false");
  EXPECT_EQ(program.value("Categories").split(';', Qt::SkipEmptyParts), QStringList({"Science", "Engineering"}));

  const auto uninstall = DesktopKeys(Read(Data() + "/applications/norvane-aerolith-uninstall.desktop"));
  EXPECT_EQ(uninstall.value("Type"), "Application");
  EXPECT_EQ(uninstall.value("Name"), "Uninstall Aerolith");
  EXPECT_EQ(uninstall.value("Exec"), "\"/opt/aerolith/aerolith\" /uninstall");
  EXPECT_EQ(uninstall.value("NoDisplay"), "false");
  EXPECT_EQ(uninstall.value("Icon"), "norvane-aerolith");
  EXPECT_FALSE(uninstall.contains("MimeType"));  // it must not offer to open projects

  QXmlStreamReader xml(Read(Data() + "/mime/packages/norvane-aerolith.xml"));
  QStringList types, globs, comments;
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    if (xml.name() == u"mime-info")
      EXPECT_EQ(xml.namespaceUri(), u"http://www.freedesktop.org/standards/shared-mime-info");
    else if (xml.name() == u"mime-type")
      types << xml.attributes().value(QStringLiteral("type")).toString();
    else if (xml.name() == u"glob")
      globs << xml.attributes().value(QStringLiteral("pattern")).toString();
    else if (xml.name() == u"comment")
      comments << xml.readElementText();
  }
  EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  EXPECT_EQ(types, QStringList{"application/x-aerolith-project"});
  EXPECT_EQ(globs, QStringList{"*.ven"});
  EXPECT_EQ(comments, QStringList{"Aerolith Project File"});

  EXPECT_EQ(Read(Data() + "/icons/hicolor/48x48/apps/norvane-aerolith.png"), kIcon48);
  EXPECT_EQ(Read(Data() + "/icons/hicolor/48x48/mimetypes/application-x-aerolith-project.png"), kIcon48);

  EXPECT_EQ(Read(Config() + "/mimeapps.list"), "[Default Applications]\n" + kDefaultLine + "\n");
}

TEST_F(DesktopIntegration, DefaultFoldersFollowTheXdgVariables) {
  const QByteArray oldData = qgetenv("XDG_DATA_HOME");
  const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
  qputenv("XDG_DATA_HOME", QFile::encodeName(Data()));
  qputenv("XDG_CONFIG_HOME", QFile::encodeName(Config()));
  CTDesktopIntegration desktop("Aerolith", kExe, "Uninstall");
  desktop.SetUpdateCaches(false);
  EXPECT_EQ(desktop.DataRoot(), Data());
  EXPECT_EQ(desktop.ConfigRoot(), Config());
  EXPECT_TRUE(desktop.Install().Ok());
  EXPECT_TRUE(desktop.Uninstall().Ok());
  oldData.isNull() ? qunsetenv("XDG_DATA_HOME") : qputenv("XDG_DATA_HOME", oldData);
  oldConfig.isNull() ? qunsetenv("XDG_CONFIG_HOME") : qputenv("XDG_CONFIG_HOME", oldConfig);
  EXPECT_TRUE(Snapshot(Data()).isEmpty());
  EXPECT_TRUE(Snapshot(Config()).isEmpty());
}

TEST_F(DesktopIntegration, WithoutIconsNoIconIsWrittenOrNamed) {
  CTDesktopIntegration desktop = Make(kExe, false);
  EXPECT_TRUE(desktop.Install().Ok());
  EXPECT_FALSE(QFileInfo::exists(Data() + "/icons"));
  EXPECT_FALSE(DesktopKeys(Read(desktop.DesktopFilePath())).contains("Icon"));
}

// The Exec value as it must stand in the file: quoted, with \ " ` $ escaped
// for the quoting and every backslash doubled again for the string.
TEST_F(DesktopIntegration, ExecPathsAreQuotedAndEscaped) {
  struct Case {
    QString exe;
    QString exec;     // Exec of the program entry, without " %f"
    QString tryExec;
  };
  const Case cases[] = {
      {"/home/ann lee/My Apps/aerolith", R"("/home/ann lee/My Apps/aerolith")", "/home/ann lee/My Apps/aerolith"},
      {R"(/tmp/say "hi"/aerolith)", R"("/tmp/say \\"hi\\"/aerolith")", R"(/tmp/say "hi"/aerolith)"},
      {"/tmp/$HOME/`id`/aerolith", R"("/tmp/\\$HOME/\\`id\\`/aerolith")", "/tmp/$HOME/`id`/aerolith"},
      {R"(/tmp/back\slash/aerolith)", R"("/tmp/back\\\\slash/aerolith")", R"(/tmp/back\\slash/aerolith)"},
      {"/tmp/100%/aerolith", R"("/tmp/100%%/aerolith")", "/tmp/100%/aerolith"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.exe.toStdString());
    CTDesktopIntegration desktop = Make(c.exe);
    ASSERT_TRUE(desktop.Install().Ok());
    const auto program = DesktopKeys(Read(desktop.DesktopFilePath()));
    EXPECT_EQ(program.value("Exec"), c.exec + " %f");
    EXPECT_EQ(program.value("TryExec"), c.tryExec);
    EXPECT_EQ(DesktopKeys(Read(desktop.UninstallDesktopFilePath())).value("Exec"), c.exec + " /uninstall");
    ASSERT_TRUE(desktop.Uninstall().Ok());
  }
}

// The default-handler key in mimeapps.list: every other line stays as it
// was, and Uninstall gives back the file that was there before.
TEST_F(DesktopIntegration, MimeAppsKeepsOtherEntriesAndTakesBackOnlyOurKey) {
  const QByteArray k = kDefaultLine;
  struct Case {
    const char* name;
    std::optional<QByteArray> before;  // nullopt: no file
    QByteArray installed;
    std::optional<QByteArray> uninstalled;
  };
  const Case cases[] = {
      {"no file", std::nullopt, "[Default Applications]\n" + k + "\n", std::nullopt},
      {"other sections only",
       "[Added Associations]\ntext/plain=editor.desktop;\n",
       "[Added Associations]\ntext/plain=editor.desktop;\n\n[Default Applications]\n" + k + "\n",
       "[Added Associations]\ntext/plain=editor.desktop;\n"},
      {"section with other keys, comment and a following section",
       "# mine\n[Default Applications]\nimage/png=viewer.desktop\n\n[Added Associations]\nimage/png=viewer.desktop;paint.desktop;\n",
       "# mine\n[Default Applications]\nimage/png=viewer.desktop\n" + k +
           "\n\n[Added Associations]\nimage/png=viewer.desktop;paint.desktop;\n",
       "# mine\n[Default Applications]\nimage/png=viewer.desktop\n\n[Added Associations]\nimage/png=viewer.desktop;paint.desktop;\n"},
      {"another program was the default",
       "[Default Applications]\napplication/x-aerolith-project=other.desktop\nimage/png=viewer.desktop\n",
       "[Default Applications]\n" + k + "\nimage/png=viewer.desktop\n",
       "[Default Applications]\napplication/x-aerolith-project=other.desktop\nimage/png=viewer.desktop\n"},
      {"duplicates go, the same key in another section stays",
       "[Default Applications]\n" + k + "\n" + k + "\n[Removed Associations]\n" + k + ";\n",
       "[Default Applications]\n" + k + "\n[Removed Associations]\n" + k + ";\n",
       "[Default Applications]\n[Removed Associations]\n" + k + ";\n"},
      {"no final newline",
       "[Added Associations]\ntext/plain=editor.desktop;",
       "[Added Associations]\ntext/plain=editor.desktop;\n\n[Default Applications]\n" + k + "\n",
       "[Added Associations]\ntext/plain=editor.desktop;\n"},
  };
  const QString szList = Config() + "/mimeapps.list";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QFile::remove(szList);
    if (c.before) Write(szList, *c.before);
    CTDesktopIntegration desktop = Make();
    ASSERT_TRUE(desktop.Install().Ok());
    EXPECT_EQ(Read(szList), c.installed);
    ASSERT_TRUE(desktop.Uninstall().Ok());
    EXPECT_EQ(QFileInfo::exists(szList), c.uninstalled.has_value());
    if (c.uninstalled) {
      EXPECT_EQ(Read(szList), *c.uninstalled);
    }
  }
}

TEST_F(DesktopIntegration, InstallingAgainChangesNothing) {
  Write(Config() + "/mimeapps.list", "[Default Applications]\nimage/png=viewer.desktop\n");
  ASSERT_TRUE(Make().Install().Ok());
  const QMap<QString, QByteArray> first = Snapshot(v_dir.path());

  CTDesktopIntegration nextStart = Make();
  const CTDesktopResult again = nextStart.Install();
  EXPECT_TRUE(again.Ok()) << again.v_problems.join('\n').toStdString();
  EXPECT_FALSE(again.v_changed);
  EXPECT_EQ(Snapshot(v_dir.path()), first);
  EXPECT_EQ(Read(Config() + "/mimeapps.list").count(kDefaultLine), 1);
}

TEST_F(DesktopIntegration, ProgramMovedOrIconDroppedRewritesOurFiles) {
  ASSERT_TRUE(Make().Install().Ok());
  CTDesktopIntegration moved = Make("/usr/local/bin/aerolith", false);
  const CTDesktopResult result = moved.Install();
  EXPECT_TRUE(result.Ok()) << result.v_problems.join('\n').toStdString();
  EXPECT_EQ(DesktopKeys(Read(moved.DesktopFilePath())).value("Exec"), "\"/usr/local/bin/aerolith\" %f");
  EXPECT_FALSE(QFileInfo::exists(Data() + "/icons/hicolor/48x48/apps/norvane-aerolith.png"));
  EXPECT_FALSE(QFileInfo::exists(Data() + "/icons/hicolor/48x48/mimetypes/application-x-aerolith-project.png"));
}

// Uninstall leaves the tree as it was before Install, whatever else was in
// the folders we share with other programs.
TEST_F(DesktopIntegration, UninstallRemovesExactlyWhatInstallAdded) {
  struct Case {
    const char* name;
    QMap<QString, QByteArray> foreign;  // relative to the temporary folder
  };
  const Case cases[] = {
      {"empty home", {}},
      {"shared folders in use",
       {{"data/applications/editor.desktop", "[Desktop Entry]\nName=Editor\n"},
        {"data/mime/packages/editor.xml", "<mime-info/>"},
        {"data/icons/hicolor/48x48/apps/editor.png", "png"},
        {"data/norvane-aerolith/notes.txt", "keep me"},
        {"config/mimeapps.list", "[Default Applications]\ntext/plain=editor.desktop\n"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (auto it = c.foreign.begin(); it != c.foreign.end(); ++it) Write(dir.filePath(it.key()), it.value());
    // The XDG folders themselves exist on every desktop and are never ours.
    QDir().mkpath(dir.filePath("data"));
    QDir().mkpath(dir.filePath("config"));
    const QMap<QString, QByteArray> before = Snapshot(dir.path());

    CTDesktopIntegration desktop("Aerolith", kExe, "Uninstall", dir.filePath("data"), dir.filePath("config"));
    desktop.SetUpdateCaches(false);
    desktop.AddPngIcon(48, kIcon48);
    ASSERT_TRUE(desktop.Install().Ok());
    ASSERT_NE(Snapshot(dir.path()), before);

    const CTDesktopResult result = desktop.Uninstall();
    EXPECT_TRUE(result.Ok()) << result.v_problems.join('\n').toStdString();
    EXPECT_TRUE(result.v_changed);
    EXPECT_FALSE(desktop.IsInstalled());
    EXPECT_EQ(Snapshot(dir.path()), before);
    EXPECT_FALSE(desktop.Uninstall().v_changed);  // nothing left to do
  }
}

// A file somebody else wrote or changed is not ours: Install does not
// overwrite it, Uninstall does not remove it, and both say so.
TEST_F(DesktopIntegration, FilesChangedByOthersAreLeftAlone) {
  CTDesktopIntegration desktop = Make();
  const QByteArray foreignEntry = "[Desktop Entry]\nType=Application\nName=Someone else's\nExec=other\n";
  Write(desktop.UninstallDesktopFilePath(), foreignEntry);  // there before us
  CTDesktopResult result = desktop.Install();
  EXPECT_TRUE(AnyContains(result.v_problems, desktop.UninstallDesktopFilePath()));
  EXPECT_EQ(Read(desktop.UninstallDesktopFilePath()), foreignEntry);

  const QByteArray edited = Read(desktop.DesktopFilePath()) + "NoDisplay=true\n";  // a menu editor hid it
  Write(desktop.DesktopFilePath(), edited);
  Write(desktop.MimeAppsPath(), "[Default Applications]\napplication/x-aerolith-project=other.desktop\n");
  result = desktop.Install();
  EXPECT_TRUE(AnyContains(result.v_problems, desktop.DesktopFilePath()));
  EXPECT_EQ(Read(desktop.DesktopFilePath()), edited);
  ASSERT_EQ(Read(desktop.MimeAppsPath()), "[Default Applications]\n" + kDefaultLine + "\n");

  // Changed after the last Install: still on the record, but no longer ours.
  const QByteArray package = Read(desktop.MimePackagePath()).replace("*.ven", "*.ven2");
  Write(desktop.MimePackagePath(), package);
  Write(desktop.MimeAppsPath(), "[Default Applications]\napplication/x-aerolith-project=mine.desktop\n");
  result = desktop.Uninstall();
  EXPECT_FALSE(desktop.IsInstalled());
  EXPECT_TRUE(AnyContains(result.v_problems, desktop.MimePackagePath()));
  EXPECT_EQ(Read(desktop.MimePackagePath()), package);
  EXPECT_EQ(Read(desktop.DesktopFilePath()), edited);
  EXPECT_EQ(Read(desktop.UninstallDesktopFilePath()), foreignEntry);
  EXPECT_EQ(Read(desktop.MimeAppsPath()), "[Default Applications]\napplication/x-aerolith-project=mine.desktop\n");
  EXPECT_FALSE(QFileInfo::exists(Data() + "/icons"));  // unchanged, so removed with its folders
}

TEST_F(DesktopIntegration, DamagedRecordRemovesNothing) {
  const QString szOutside = v_dir.filePath("outside.txt");
  const QByteArray outside = "not ours";
  Write(szOutside, outside);
  CTDesktopIntegration desktop = Make();
  ASSERT_TRUE(desktop.Install().Ok());

  // A record naming a file outside the data folder, with its true hash.
  const QByteArray hash = QCryptographicHash::hash(outside, QCryptographicHash::Sha256).toHex();
  Write(desktop.ManifestPath(), R"({"format": "norvane-desktop-1", "files": {"../outside.txt": ")" + hash +
                                    R"(", ")" + szOutside.toUtf8() + R"(": ")" + hash + R"("}, "folders": [".."]})");
  EXPECT_TRUE(desktop.Uninstall().Ok());
  EXPECT_EQ(Read(szOutside), outside);
  EXPECT_TRUE(QFileInfo::exists(Data()));

  ASSERT_TRUE(desktop.Install().Ok());
  Write(desktop.ManifestPath(), "{ garbage");
  const CTDesktopResult result = desktop.Uninstall();
  EXPECT_FALSE(result.Ok());
  EXPECT_FALSE(result.v_changed);
  EXPECT_TRUE(QFileInfo::exists(desktop.DesktopFilePath()));
  EXPECT_TRUE(QFileInfo::exists(desktop.ManifestPath()));
}

// A folder that cannot be made (a plain file stands in its place, which even
// root cannot get around) fails its own step and no other.
TEST_F(DesktopIntegration, UnwritableFolderIsReportedAndTheRestIsInstalled) {
  struct Case {
    const char* name;
    QString blocker;               // relative to the temporary folder
    QString problemPart;
    QStringList stillWritten;      // relative to the temporary folder
    QStringList notWritten;
  };
  const Case cases[] = {
      {"applications",
       "data/applications",
       "norvane-aerolith.desktop",
       {"data/mime/packages/norvane-aerolith.xml", "data/icons/hicolor/48x48/apps/norvane-aerolith.png"},
       // no default handler without an entry for it to name
       {"config/xdg/mimeapps.list"}},
      {"configuration",
       "config",
       "mimeapps.list",
       {"data/applications/norvane-aerolith.desktop", "data/mime/packages/norvane-aerolith.xml"},
       {}},
      {"data folder", "data", "norvane-aerolith", {}, {"config/xdg/mimeapps.list"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    Write(dir.filePath(c.blocker), "a file where a folder belongs");
    CTDesktopIntegration desktop("Aerolith", kExe, "Uninstall", dir.filePath("data"), dir.filePath("config/xdg"));
    desktop.SetUpdateCaches(false);
    desktop.AddPngIcon(48, kIcon48);

    const CTDesktopResult result = desktop.Install();
    EXPECT_FALSE(result.Ok());
    EXPECT_TRUE(AnyContains(result.v_problems, c.problemPart)) << result.v_problems.join('\n').toStdString();
    for (const QString& rel : c.stillWritten) EXPECT_TRUE(QFileInfo::exists(dir.filePath(rel))) << rel.toStdString();
    for (const QString& rel : c.notWritten) EXPECT_FALSE(QFileInfo::exists(dir.filePath(rel))) << rel.toStdString();

    desktop.Uninstall();
    for (const QString& rel : c.stillWritten) EXPECT_FALSE(QFileInfo::exists(dir.filePath(rel))) << rel.toStdString();
    EXPECT_EQ(Read(dir.filePath(c.blocker)), "a file where a folder belongs");
  }
}

}  // namespace
