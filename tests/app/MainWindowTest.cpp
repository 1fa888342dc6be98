#include "ProgramEnvironment.h"
#include "app/DlgSelect.h"


#include <QAction>
#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QScreen>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

TEST(MainWindow, HasTheTenPagesInOrder) {
  TDlgSelect window;
  const QTabWidget* pages = window.Pages();
  ASSERT_EQ(pages->count(), 10);
  const QStringList names = {"Tab_Selection", "Tab_Psychrometrics", "Tab_Results",      "Tab_Ecodesign",
                             "Tab_Annual",    "Tab_Database",       "Tab_Fan",          "Tab_Efficiencies",
                             "Tab_EffCorrect", "Tab_Configuration"};
  const QStringList captions = {"Selection",           "Psychrometrics",        "Results",
                                "Ecodesign and Sound", "Annual Energy",         "Database",
                                "Fan Characteristics", "Exchange Efficiencies", "Efficiency Corrections",
                                "Configuration"};
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(pages->widget(i)->objectName(), names[i]);
    EXPECT_EQ(pages->tabText(i), captions[i]);
  }
  const auto* results = pages->widget(2)->findChild<QTabWidget*>("Ctl_ResultPages");
  ASSERT_NE(results, nullptr);
  EXPECT_EQ(results->tabText(0), "Cooling Results");
  EXPECT_EQ(results->tabText(1), "Heating Results");
}

TEST(MainWindow, CaptionSizeAndPosition) {
  TDlgSelect window;
  EXPECT_EQ(window.windowTitle(), "Aerolith");
  const int dpi = window.logicalDpiX();
  EXPECT_EQ(window.width(), (1264 * dpi + 60) / 120);
  EXPECT_EQ(window.height(), (701 * dpi + 60) / 120);
  const QRect screen = window.screen()->geometry();
  EXPECT_NEAR(window.frameGeometry().center().x(), screen.center().x(), 2);
  EXPECT_GE(window.frameGeometry().top(), screen.top());

  window.SetProjectFileName("/tmp/projects/office - east.ven");
  EXPECT_EQ(window.windowTitle(), "Aerolith - office - east.ven");
  window.SetProjectFileName("/tmp/other.ven");
  EXPECT_EQ(window.windowTitle(), "Aerolith - other.ven");
}

TEST(MainWindow, ToolbarActionsCarryTheirCaptionsAndHints) {
  TDlgSelect window;
  struct Expected {
    const char* name;
    const char* caption;
    const char* hint;
  };
  const Expected actions[] = {
      {"ACF_New", "New", "Creates a new Aerolith project"},
      {"ACF_Open", "Open...", "Opens a Aerolith project file"},
      {"ACF_Save", "Save...", "Saves a Aerolith project file"},
      {"ACF_Exit", "Exit", "Quits the Aerolith selection program"},
      {"ACF_Report", "Report...", "Creates a report about the selected ventilation device"},
      {"ACT_BillOfMaterials", "Material List XML Export...", "Material List XML Export"},
      {"ACF_Distributor", "Distributor", "Defines the distributor data"},
      {"ACF_Preferences", "Preferences", "Defines the preferences"},
      {"ACH_About", "About", ""},
  };
  for (const Expected& e : actions) {
    const QAction* action = window.Action(e.name);
    ASSERT_NE(action, nullptr) << e.name;
    EXPECT_EQ(action->text(), e.caption);
    EXPECT_EQ(action->toolTip().isEmpty() ? QString() : action->statusTip(), QString(e.hint)) << e.name;
  }
  EXPECT_TRUE(window.Action("ACF_Exit")->isEnabled());
}

TEST(MainWindow, ExitWithoutChangesCloses) {
  TDlgSelect window;
  window.show();
  window.Action("ACF_Exit")->trigger();
  EXPECT_FALSE(window.isVisible());
}

// True when some process holds a flock on the file.
bool IsFlockHeld(const QString& path) {
  struct stat st {};
  if (::stat(QFile::encodeName(path).constData(), &st) != 0) return false;
  QFile locks("/proc/locks");
  if (!locks.open(QIODevice::ReadOnly)) return false;
  // "1: FLOCK  ADVISORY  WRITE 1234 08:01:5678 0 EOF": device and inode in the sixth field.
  const QString inodeSuffix = QStringLiteral(":%1").arg(st.st_ino);
  for (const QByteArray& line : locks.readAll().split('\n')) {
    const QList<QByteArray> fields = line.simplified().split(' ');
    if (fields.size() > 5 && fields[1] == "FLOCK" && QString::fromLatin1(fields[5]).endsWith(inodeSuffix)) return true;
  }
  return false;
}

// The real program, twice: the second copy is refused while the first runs.
TEST(ProgramEntry, SecondInstanceIsRefused) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QProcessEnvironment env = ProgramEnvironment(dir);

  QProcess first;
  first.setProcessEnvironment(env);
  first.start(AEROLITH_APP_BINARY, {});
  ASSERT_TRUE(first.waitForStarted(10000));
  // Wait until the first copy holds the lock. Probing by taking the lock
  // could beat the program to it, so look the lock up in /proc/locks.
  const QString lockFile = dir.filePath("Global_Aerolith.lock");
  bool held = false;
  for (int i = 0; i < 400 && !held; ++i) {
    held = IsFlockHeld(lockFile);
    if (!held) QThread::msleep(25);
  }
  ASSERT_TRUE(held);

  for (const auto& [arguments, text] :
       {std::pair{QStringList{}, QString("Aerolith is already running on this machine")},
        std::pair{QStringList{"/UNINSTALL"}, QString("Aerolith is running on this machine, cannot uninstall")}}) {
    QProcess second;
    second.setProcessEnvironment(env);
    second.start(AEROLITH_APP_BINARY, arguments);
    ASSERT_TRUE(second.waitForFinished(20000));
    EXPECT_NE(second.exitCode(), 0);
    EXPECT_TRUE(QString::fromUtf8(second.readAllStandardError()).contains(text));
  }
  EXPECT_EQ(first.state(), QProcess::Running);
  // The running copy installed its launchers and the project file type.
  EXPECT_TRUE(QFile::exists(dir.filePath("data/applications/norvane-aerolith.desktop")));
  EXPECT_TRUE(QFile::exists(dir.filePath("data/applications/norvane-aerolith-uninstall.desktop")));
  EXPECT_TRUE(QFile::exists(dir.filePath("data/mime/packages/norvane-aerolith.xml")));
  first.kill();
  first.waitForFinished(10000);
}

}  // namespace
