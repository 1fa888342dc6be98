// The start-up's online steps in the window: the general terms of a first
// start, the count of starts, the question about newer builds (asked while
// the window is up) and its hint, an approval build's hint and a download
// build's setup, against aerolith-server on loopback.

#include "app/Disclaimer.h"
#include "app/DlgSelect.h"
#include "app/Upgrade.h"
#include "app/UpgradeHint.h"
#include "i18n/BaseMsgMan.h"
#include "i18n/LangSupport.h"
#include "online/AutoUpgrade.h"
#include "platform/Registry.h"
#include "platform/VersionUtils.h"
#include "app/Frame_UnitTextScroll.h"
#include "recdb/RecordingPresenter.h"
#include "support/CountingTransport.h"
#include "support/ServedFiles.h"
#include "support/TestServer.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace {

class StartUpOnline : public testing::Test {
 protected:
  void SetUp() override {
    v_runFolder = CTRegistryStore::UserFolder();
    CTRegistryStore::SetUserFolder(v_registry.path());
    CTLangSupport::SetLocaleData(CTCountryDefinition::OwnNumber(QStringLiteral("USA")), 1033);
    TBaseMsg::SetPresenter(&v_messages);
    CTVersionUtils::SetInfoForTests(&v_info);
    // The service knows a 7.3.0 of the program: newer than the 7.2.0 running.
    ASSERT_TRUE(TestFiles::Write(v_root.filePath(QStringLiteral("service.json")),
                                 R"({"programs":[{"name":"Aerolith.exe","id":7,"version":730}]})"));
    v_server = std::make_unique<CTTestServer>(v_root.path());
    ASSERT_TRUE(v_server->Running());
    v_address = std::make_unique<CTServerAddress>(v_server->HostAndPort());
    // Whatever modal window comes up is noted and answered.
    QObject::connect(&v_guard, &QTimer::timeout, [this] {
      QWidget* modal = QApplication::activeModalWidget();
      if (!modal || !modal->isVisible()) return;
      v_seen << modal->objectName();
      if (auto* terms = qobject_cast<TFrm_Disclaimer*>(modal)) {
        terms->findChild<QRadioButton*>(v_acceptTerms ? QStringLiteral("RB_Accept") : QStringLiteral("RB_Decline"))->click();
        terms->Btn_ContinueClick();
      } else if (auto* hint = qobject_cast<TFrmAutoUpgradeHint*>(modal)) {
        v_hintText = hint->findChild<QPlainTextEdit*>()->toPlainText();
        hint->Btn_SkipClick();
      } else if (auto* upgrade = qobject_cast<TFrmUpgrade*>(modal)) {
        v_upgradeCaption = upgrade->windowTitle();
        upgrade->Btn_CloseClick();
      }
    });
    v_guard.start(10);
  }
  void TearDown() override {
    v_guard.stop();
    v_window.reset();
    CTVersionUtils::SetInfoForTests(nullptr);
    TBaseMsg::SetPresenter(nullptr);
    CTRegistryStore::SetUserFolder(v_runFolder);
    v_address.reset();
    v_server.reset();
    NoServer();
  }
  static void NoServer() { qputenv("AEROLITH_SERVER", "127.0.0.1:1"); }

  // Starts the window as the program does: the start-up, then the window
  // shown.
  bool Start(const QStringList& arguments = {}) {
    v_seen.clear();
    v_hintText.clear();
    v_window = std::make_unique<TDlgSelect>();
    if (!v_window->StartUp(arguments)) return false;
    v_window->show();
    return QTest::qWaitForWindowExposed(v_window.get());
  }
  // The start-up's question about newer builds; none when the start asked
  // nothing. It goes out once the event loop runs.
  CTUpgradeQuestion* Question() {
    QCoreApplication::processEvents();
    return v_window->findChild<CTUpgradeQuestion*>();
  }
  // Waits until the answer has been handled: nothing shown, or the hint
  // shown and answered. The bound only keeps a broken build from waiting
  // for ever.
  bool Answered() {
    CTUpgradeQuestion* question = Question();
    return question && QTest::qWaitFor([question] { return question->Answered(); }, 30000);
  }
  int Starts() const {
    CTRegistry registry;
    if (!registry.OpenKey(QString::fromLatin1(CTAutoUpgrade::kUsageKey), false)) return 0;
    return registry.ReadInteger(QStringLiteral("Used")).value_or(0);
  }

  QTemporaryDir v_registry, v_root;
  QString v_runFolder;
  RecordingPresenter v_messages;
  LTBuildInfo v_info{720, QString(), QString(), 0, 0};
  std::unique_ptr<CTTestServer> v_server;
  std::unique_ptr<CTServerAddress> v_address;
  std::unique_ptr<TDlgSelect> v_window;
  QTimer v_guard;
  bool v_acceptTerms = true;
  QStringList v_seen;
  QString v_hintText, v_upgradeCaption;
};

TEST_F(StartUpOnline, FirstStartShowsTheTermsAndDecliningThemEndsIt) {
  v_acceptTerms = false;
  EXPECT_FALSE(Start());
  EXPECT_EQ(v_seen, QStringList{QStringLiteral("TFrm_Disclaimer")});
  EXPECT_EQ(Starts(), 0);
}

TEST_F(StartUpOnline, StartsAreCountedAndANewerBuildIsAnnounced) {
  ASSERT_TRUE(Start());
  ASSERT_TRUE(Answered());
  EXPECT_EQ(v_seen, (QStringList{QStringLiteral("TFrm_Disclaimer"), QStringLiteral("TFrmAutoUpgradeHint")}));
  EXPECT_TRUE(v_hintText.contains(QStringLiteral("- Software version 7.3.0 now available."))) << v_hintText.toStdString();
  EXPECT_EQ(Starts(), 1);
  ASSERT_TRUE(Start());
  ASSERT_TRUE(Answered());
  EXPECT_EQ(v_seen, QStringList{QStringLiteral("TFrmAutoUpgradeHint")}) << "the terms once per build";
  EXPECT_EQ(Starts(), 2);
  // A start with a file to open asks nothing, and is counted.
  ASSERT_TRUE(Start({QStringLiteral("/nonexistent/project.ven")}));
  EXPECT_EQ(Question(), nullptr);
  EXPECT_TRUE(v_seen.isEmpty());
  EXPECT_EQ(Starts(), 3);
}

TEST_F(StartUpOnline, NothingNewerOrNoServerStartsQuietly) {
  v_info.versionNumber = 730;
  ASSERT_TRUE(Start());
  ASSERT_TRUE(Answered());
  EXPECT_EQ(v_seen, QStringList{QStringLiteral("TFrm_Disclaimer")});
  v_address.reset();
  NoServer();
  ASSERT_TRUE(Start());
  ASSERT_TRUE(Answered());
  EXPECT_TRUE(v_seen.isEmpty());
}

// A server that takes the connection and never answers (as behind a
// firewall that drops packets) holds neither the window nor the program's
// end.
TEST_F(StartUpOnline, AServerThatNeverAnswersHoldsNeitherTheWindowNorItsEnd) {
  v_address.reset();
  const CTTestServer silent(v_root.path(), QStringLiteral("never"));
  ASSERT_TRUE(silent.Running()) << silent.ServerLog().toStdString();
  const CTServerAddress address(silent.HostAndPort());
  const CTCountingTransport transport;
  ASSERT_TRUE(Start()) << "the window shows while the question is out";
  CTUpgradeQuestion* question = Question();
  ASSERT_NE(question, nullptr);
  // The user works meanwhile: a typed airflow runs the selection.
  TFrm_UnitTextScroll* airflow = v_window->findChild<TFrm_UnitTextScroll*>(QStringLiteral("Frm_Airflow"));
  ASSERT_NE(airflow, nullptr);
  airflow->Edit()->setFocus();
  airflow->Edit()->selectAll();
  QTest::keyClicks(airflow->Edit(), QStringLiteral("9"));
  QTest::keyClick(airflow->Edit(), Qt::Key_Return);
  QCoreApplication::processEvents();
  EXPECT_EQ(v_window->CurrentRequest().airflowPerPersonLs, 9.0);
  EXPECT_TRUE(v_window->DataHaveChanged());
  EXPECT_FALSE(question->Answered());
  EXPECT_EQ(v_seen, QStringList{QStringLiteral("TFrm_Disclaimer")}) << "the first start's terms, and nothing since";
  // Closing ends the program at once: the exchange is cut, not left to run
  // to its time bound, and nothing further is asked.
  v_window->SetDataHaveChanged(false);
  v_window->close();
  v_window.reset();
  EXPECT_EQ(transport.Operations(), QList<QByteArray>{"ProgramID"});
  EXPECT_EQ(transport.Outcomes(), QList<LTHttpOutcome>{LTHttpOutcome::kNoServer});
}

// The answer waits while the user is in a dialog, and the hint follows.
TEST_F(StartUpOnline, TheHintWaitsForTheDialogTheUserIsIn) {
  v_window = std::make_unique<TDlgSelect>();
  ASSERT_TRUE(v_window->StartUp({}));
  v_window->show();
  // Up before the question goes out, which is at the first turn of the
  // event loop.
  QWidget dialog(v_window.get(), Qt::Dialog);
  dialog.setObjectName(QStringLiteral("UsersDialog"));
  dialog.setWindowModality(Qt::ApplicationModal);
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  ASSERT_TRUE(Answered());
  EXPECT_FALSE(v_seen.contains(QStringLiteral("TFrmAutoUpgradeHint"))) << "not over the user's dialog";
  dialog.close();
  EXPECT_TRUE(QTest::qWaitFor([this] { return v_seen.contains(QStringLiteral("TFrmAutoUpgradeHint")); }, 30000));
}

TEST_F(StartUpOnline, ApprovalAndDownloadBuilds) {
  v_info.buildKind = 2;  // approval: the hint alone, to reach the approval button
  ASSERT_TRUE(Start());
  EXPECT_EQ(v_seen, QStringList{QStringLiteral("TFrmAutoUpgradeHint")});
  EXPECT_EQ(Starts(), 0);
  v_info.buildKind = 1;  // a generic download: set up first, then the program ends
  EXPECT_FALSE(Start());
  EXPECT_FALSE(v_seen.contains(QStringLiteral("TFrm_Disclaimer")));
}

}  // namespace
