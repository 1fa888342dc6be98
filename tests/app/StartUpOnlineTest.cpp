// The start-up's online steps in the window: the general terms of a first
// start, the count of starts, the question about newer builds and its hint,
// an approval build's hint and a download build's setup, against
// aerolith-server on loopback.

#include "app/Disclaimer.h"
#include "app/DlgSelect.h"
#include "app/Upgrade.h"
#include "app/UpgradeHint.h"
#include "i18n/BaseMsgMan.h"
#include "i18n/LangSupport.h"
#include "online/AutoUpgrade.h"
#include "platform/Registry.h"
#include "platform/VersionUtils.h"
#include "recdb/RecordingPresenter.h"
#include "support/ServedFiles.h"
#include "support/TestServer.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
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

  bool Start(const QStringList& arguments = {}) {
    v_seen.clear();
    v_hintText.clear();
    v_window = std::make_unique<TDlgSelect>();
    return v_window->StartUp(arguments);
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
  EXPECT_EQ(v_seen, (QStringList{QStringLiteral("TFrm_Disclaimer"), QStringLiteral("TFrmAutoUpgradeHint")}));
  EXPECT_TRUE(v_hintText.contains(QStringLiteral("- Software version 7.3.0 now available."))) << v_hintText.toStdString();
  EXPECT_EQ(Starts(), 1);
  ASSERT_TRUE(Start());
  EXPECT_EQ(v_seen, QStringList{QStringLiteral("TFrmAutoUpgradeHint")}) << "the terms once per build";
  EXPECT_EQ(Starts(), 2);
  // A start with a file to open asks nothing, and is counted.
  ASSERT_TRUE(Start({QStringLiteral("/nonexistent/project.ven")}));
  EXPECT_TRUE(v_seen.isEmpty());
  EXPECT_EQ(Starts(), 3);
}

TEST_F(StartUpOnline, NothingNewerOrNoServerStartsQuietly) {
  v_info.versionNumber = 730;
  ASSERT_TRUE(Start());
  EXPECT_EQ(v_seen, QStringList{QStringLiteral("TFrm_Disclaimer")});
  v_address.reset();
  NoServer();
  ASSERT_TRUE(Start());
  EXPECT_TRUE(v_seen.isEmpty());
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
