// A project file that a later start hands to the running window: it opens
// as Open opens it, unsaved work is asked about first, and the window comes
// to the front.

#include "ProgramEnvironment.h"
#include "WindowFixture.h"
#include "platform/Registry.h"
#include "platform/SingleInstance.h"
#include "selection/RecentList.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QEventLoop>
#include <QProcess>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <future>

#include <unistd.h>

namespace {

// Answers every question with v_answer and keeps what was shown.
class AnsweringPresenter : public IMessagePresenter {
 public:
  int ShowMessage(const CTMessageRequest& r) override {
    shown << r.v_text;
    buttons << r.v_dlgBtns;
    return r.v_dlgType == mtConfirmation ? v_answer : mrOk;
  }
  bool EditString(const CTMessageRequest&, QString&) override { return false; }
  QStringList shown;
  QList<TMsgDlgButtons> buttons;
  int v_answer = mrNo;
};

class HandOverWindow : public WindowFixture<> {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    ASSERT_TRUE(v_dir.isValid());
    TBaseMsg::SetPresenter(&v_answers);
    // Saves go to the current project; a save dialog would be a fault here.
    TDlgSelect::SetFileChooser([](QWidget*, TDlgSelect::FileKind, const QString&) {
      ADD_FAILURE() << "no file dialog expected";
      return QString();
    });
  }
  void TearDown() override {
    TDlgSelect::SetFileChooser({});
    WindowFixture::TearDown();
  }

  // A project saved with a total supply of supplyLs l/s.
  QString SavedProject(const char* name, const char* supplyLs) {
    if (!v_window->findChild<QAbstractButton*>("Chk_TotalSupply")->isChecked()) Click("Chk_TotalSupply");
    Type(Field("Frm_TotalSupply"), supplyLs);
    const QString path = v_dir.filePath(QString::fromLatin1(name));
    EXPECT_TRUE(v_window->SaveProject(path)) << v_answers.shown.join("\n").toStdString();
    v_window->SetDataHaveChanged(false);  // as a confirmed Save leaves it
    return path;
  }
  double Supply() const { return v_window->CurrentRequest().totalSupplyLs; }
  QString Page() const { return v_window->Pages()->currentWidget()->objectName(); }

  AnsweringPresenter v_answers;
  QTemporaryDir v_dir;
};

}  // namespace

TEST_F(HandOverWindow, OpensTheFileAsOpenDoes) {
  const QString a = SavedProject("a.ven", "120");
  v_window->NewProject();
  ASSERT_TRUE(v_answers.shown.isEmpty()) << v_answers.shown.join("\n").toStdString();
  ASSERT_GT(std::abs(Supply() - 120.0), 1.0) << "the project would not show";
  v_window->Pages()->setCurrentWidget(v_window->findChild<QWidget*>("Tab_Database"));

  v_window->OpenHandedOverProject(a);
  EXPECT_TRUE(v_answers.shown.isEmpty()) << "nothing to ask without unsaved work";
  EXPECT_EQ(v_window->GetProjectFileName(), a);
  EXPECT_NEAR(Supply(), 120.0, 1e-9);
  EXPECT_EQ(Page(), "Tab_Selection");
  EXPECT_FALSE(v_window->DataHaveChanged());

  // A start without a file changes nothing; a file gone since is said.
  v_window->OpenHandedOverProject(QString());
  EXPECT_TRUE(v_answers.shown.isEmpty());
  const QString gone = v_dir.filePath("gone.ven");
  v_window->OpenHandedOverProject(gone);
  ASSERT_EQ(v_answers.shown.size(), 1) << v_answers.shown.join("\n").toStdString();
  EXPECT_TRUE(v_answers.shown[0].contains(gone)) << v_answers.shown[0].toStdString();
  EXPECT_EQ(v_window->GetProjectFileName(), a);
}

TEST_F(HandOverWindow, UnsavedWorkIsAskedAboutFirst) {
  // The work: project b saved at 180 l/s, then 250 typed and not saved; a
  // later start hands over project a (120 l/s).
  const QString a = SavedProject("a.ven", "120");
  struct Case {
    int answer;
    const char* project;  // open afterwards
    double supplyLs;      // shown afterwards
    double bOnDiskLs;     // what b holds afterwards
  };
  for (const Case c : {Case{mrCancel, "b.ven", 250, 180}, Case{mrNo, "a.ven", 120, 180}, Case{mrYes, "a.ven", 120, 250}}) {
    SCOPED_TRACE(c.answer);
    const QString b = SavedProject("b.ven", "180");
    Type(Field("Frm_TotalSupply"), "250");
    ASSERT_TRUE(v_window->DataHaveChanged());
    v_answers.shown.clear();
    v_answers.buttons.clear();
    v_answers.v_answer = c.answer;

    v_window->OpenHandedOverProject(a);
    ASSERT_EQ(v_answers.shown, QStringList{"Your project has not been saved. Save it now?"});
    EXPECT_EQ(v_answers.buttons, QList<TMsgDlgButtons>{MsgButtons({mbYes, mbNo, mbCancel})});
    EXPECT_EQ(v_window->GetProjectFileName(), v_dir.filePath(c.project));
    EXPECT_NEAR(Supply(), c.supplyLs, 1e-9);
    EXPECT_EQ(v_window->DataHaveChanged(), c.answer == mrCancel);

    v_window->SetDataHaveChanged(false);
    ASSERT_TRUE(v_window->LoadProject(b));
    EXPECT_NEAR(Supply(), c.bOnDiskLs, 1e-9);
  }
}

TEST_F(HandOverWindow, AFileWaitsUntilTheOpenDialogCloses) {
  const QString a = SavedProject("a.ven", "120");
  v_window->NewProject();
  QDialog dialog(v_window.get());
  dialog.setWindowModality(Qt::ApplicationModal);
  dialog.show();
  ASSERT_EQ(QApplication::activeModalWidget(), &dialog);

  v_window->OpenHandedOverProject(a);
  EXPECT_EQ(v_window->GetProjectFileName(), QString()) << "opened under the dialog";
  dialog.close();
  EXPECT_TRUE(QTest::qWaitFor([&] { return v_window->GetProjectFileName() == a; }, 5000));
  EXPECT_NEAR(Supply(), 120.0, 1e-9);
}

// A command that waits in a loop of its own (an answer from the server)
// without a dialog: a file that comes through that loop waits for the main
// loop.
TEST_F(HandOverWindow, AFileWaitsUntilACommandsOwnLoopEnds) {
  const QString a = SavedProject("a.ven", "120");
  v_window->NewProject();
  QEventLoop mainLoop;  // as the program's, in main()
  QString openInTheCommand = QStringLiteral("not run");
  QTimer::singleShot(0, &mainLoop, [&] {
    QEventLoop commandsLoop;
    QTimer::singleShot(0, &commandsLoop, [&] {
      v_window->OpenHandedOverProject(a);
      openInTheCommand = v_window->GetProjectFileName();
      commandsLoop.quit();
    });
    commandsLoop.exec();
  });
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, &mainLoop, [&] {
    if (v_window->GetProjectFileName() == a) mainLoop.quit();
  });
  poll.start(20);
  QTimer::singleShot(5000, &mainLoop, &QEventLoop::quit);
  mainLoop.exec();
  EXPECT_EQ(openInTheCommand, QString()) << "opened inside the command";
  EXPECT_EQ(v_window->GetProjectFileName(), a) << "never opened";
}

TEST_F(HandOverWindow, ALaterStartsFileReachesTheRunningWindow) {
  const QString a = SavedProject("a.ven", "120");
  v_window->NewProject();
  QTemporaryDir runtime;
  ASSERT_EQ(setenv("AEROLITH_RUNTIME_DIR", runtime.path().toLocal8Bit().constData(), 1), 0);
  CTSingleInstance running(QStringLiteral("Global\\Aerolith")), later(QStringLiteral("Global\\Aerolith"));
  unsetenv("AEROLITH_RUNTIME_DIR");
  ASSERT_TRUE(running.TryAcquire());
  ASSERT_FALSE(later.TryAcquire());
  ASSERT_TRUE(v_window->AcceptHandOvers(running));
  v_window->showMinimized();
  ASSERT_TRUE(v_window->isMinimized());

  // The later start blocks on its own; this thread's event loop serves it.
  std::future<bool> handedOver = std::async(std::launch::async, [&later, a] { return later.HandOver(a, 2000); });
  EXPECT_TRUE(QTest::qWaitFor(
      [&] { return handedOver.wait_for(std::chrono::milliseconds(0)) == std::future_status::ready; }, 5000));
  EXPECT_TRUE(handedOver.get());
  EXPECT_TRUE(QTest::qWaitFor([&] { return v_window->GetProjectFileName() == a; }, 5000));
  EXPECT_NEAR(Supply(), 120.0, 1e-9);
  EXPECT_FALSE(v_window->isMinimized());
}

// The real program, twice: the later start names its file relative to its
// own working folder, hands it over and ends quietly; the running copy opens
// it (and so lists it first among the recent files).
TEST_F(HandOverWindow, TheProgramHandsALaterStartsFileToTheRunningCopy) {
  const QString a = SavedProject("a.ven", "120");
  ASSERT_TRUE(QDir().mkpath(v_dir.filePath("projects")));
  const QString b = SavedProject("projects/b.ven", "180");
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QProcessEnvironment env = ProgramEnvironment(dir);
  // The user of that store has chosen a locale; a start with a file skips
  // the general terms and the question for newer builds: nothing waits for
  // an answer.
  const QString ownStore = CTRegistryStore::UserFolder();
  CTRegistryStore::SetUserFolder(dir.filePath("config"));
  CTLangSupport::SetLocaleData(CTCountryDefinition::OwnNumber(QStringLiteral("USA")), 1033);
  CTRegistryStore::SetUserFolder(ownStore);
  const auto firstRecentFile = [&dir, &ownStore] {
    CTRegistryStore::SetUserFolder(dir.filePath("config"));
    const QStringList entries = CTRecentList(10, "Software\\Norvane\\Hi-Trivane Selection\\Aerolith").GetEntries();
    CTRegistryStore::SetUserFolder(ownStore);
    return entries.value(0);
  };

  QProcess running;
  running.setProcessEnvironment(env);
  running.start(AEROLITH_APP_BINARY, {a});
  ASSERT_TRUE(running.waitForStarted(10000));
  // It takes files once its socket is there.
  const QString socket = dir.filePath(QStringLiteral("Global_Aerolith-%1.sock").arg(::getuid()));
  ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(socket) || running.state() != QProcess::Running; }, 30000));
  ASSERT_TRUE(QFile::exists(socket)) << running.readAllStandardError().toStdString();
  EXPECT_EQ(firstRecentFile(), a);

  struct Case {
    QStringList arguments;
    int exitCode;
    QString said;
  };
  for (const Case& c : {Case{{"b.ven"}, 0, ""}, Case{{}, 0, ""},
                        Case{{"/uninstall"}, 1, "Aerolith is running on this machine, cannot uninstall"}}) {
    SCOPED_TRACE(c.arguments.join(' ').toStdString());
    QProcess later;
    later.setProcessEnvironment(env);
    later.setWorkingDirectory(v_dir.filePath("projects"));
    later.start(AEROLITH_APP_BINARY, c.arguments);
    ASSERT_TRUE(later.waitForFinished(20000));
    EXPECT_EQ(later.exitCode(), c.exitCode);
    const QString said = QString::fromUtf8(later.readAllStandardError());
    if (c.said.isEmpty())
      EXPECT_FALSE(said.contains("running on this machine")) << said.toStdString();
    else
      EXPECT_TRUE(said.contains(c.said)) << said.toStdString();
  }
  EXPECT_TRUE(QTest::qWaitFor([&] { return firstRecentFile() == b; }, 10000)) << firstRecentFile().toStdString();
  EXPECT_EQ(running.state(), QProcess::Running);
  running.kill();
  running.waitForFinished(10000);
}
