// The about box, driven as a user drives it: without a server, against our
// own server on loopback, through the locale choice, and from the main
// window's About command. Each test has a registry store of its own.

#include "OnlineHelpers.h"
#include "WindowFixture.h"

#include "app/AboutBox.h"
#include "app/ApproveTranslation.h"
#include "app/Disclaimer.h"
#include "app/FrameBottomPanelExt.h"
#include "app/LocaleChoice.h"
#include "i18n/LangSupport.h"
#include "platform/Registry.h"
#include "support/CountingTransport.h"
#include "support/TestServer.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextEdit>

#include <memory>
#include <stdexcept>

namespace {

const int kUSA = CTCountryDefinition::OwnNumber("USA");

class AboutBox : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(v_registry.isValid());
    v_runFolder = CTRegistryStore::UserFolder();
    CTRegistryStore::SetUserFolder(v_registry.path());
    CTLangSupport::SetLocaleData(kUSA, 1033);
    TBaseMsg::SetPresenter(&v_messages);
    TDlgSelect::SetLinkOpener([this](const QString& url) { v_opened << url; });
  }
  void TearDown() override {
    v_box.reset();
    TFrm_AboutBox::SetUpgradeOpener({});
    TFrm_AboutBox::SetSaveFileChooser({});
    TDlgSelect::SetLinkOpener({});
    TBaseMsg::SetPresenter(nullptr);
    CTRegistryStore::SetUserFolder(v_runFolder);
  }

  // The box shown, once it has asked the server.
  TFrm_AboutBox& Shown(const QString& szDataVersion = QString(), TFrm_AboutBox::TTermsCallback fnTerms = {}) {
    v_box = std::make_unique<TFrm_AboutBox>(nullptr, "Aerolith", szDataVersion, std::move(fnTerms));
    v_box->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(v_box.get()));
    // Bounded by the transport's own limits; this only keeps a broken
    // build from waiting for ever.
    EXPECT_TRUE(QTest::qWaitFor([this] { return v_box->ServerAsked(); }, 30000));
    return *v_box;
  }
  template <typename T = QWidget>
  T* Child(const char* szName) const {
    return v_box->findChild<T*>(QString::fromLatin1(szName));
  }
  QPushButton* Button(const char* szName) const { return Child<QPushButton>(szName); }
  // Clicks a label's link where its text starts.
  void ClickLink(const char* szName) {
    auto* label = Child<QLabel>(szName);
    ASSERT_NE(label, nullptr) << szName;
    QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(4, label->height() / 2));
  }
  void Save(const char* szName) const {
    if (const QByteArray folder = qgetenv("AEROLITH_SCREENSHOT_DIR"); !folder.isEmpty())
      v_box->grab().save(QString::fromLocal8Bit(folder) + '/' + szName);
  }

  QTemporaryDir v_registry;
  QString v_runFolder;
  AnsweringPresenter v_messages;
  QStringList v_opened;
  std::unique_ptr<TFrm_AboutBox> v_box;
};

// ---- without a server ----

class AboutBoxOffline : public AboutBox {
 protected:
  ServerAt v_noServer{ServerAt::ClosedLoopbackPort()};
};

TEST_F(AboutBoxOffline, LinesPartiesAndLinksWithoutConditions) {
  LTBuildInfo info;
  info.versionNumber = 721;
  info.suffix = "rc 1";
  CTVersionUtils::SetInfoForTests(&info);
  TFrm_AboutBox& box = Shown();
  CTVersionUtils::SetInfoForTests(nullptr);
  EXPECT_EQ(box.windowTitle(), "About Aerolith");
  EXPECT_EQ(Child<QLabel>("Lbl_Product")->text(), "Aerolith");
  EXPECT_EQ(Child<QLabel>("Lbl_VersionCaption")->text(), "Version");
  EXPECT_EQ(Child<QLabel>("Lbl_Version")->text(), "7.2.1 - rc 1");
  EXPECT_EQ(Child<QLabel>("Lbl_Language")->text(), "English");
  EXPECT_EQ(Child<QLabel>("Lbl_DatabaseCaption")->text(), "") << "no catalogue version, no caption";
  EXPECT_EQ(Child<QLabel>("Lbl_Database")->text(), "");
  EXPECT_FALSE(Child<QLabel>("Lbl_Distributor")->isVisible()) << "this build has no distributor";
  EXPECT_EQ(Child<QGroupBox>("Box_Maker")->title(), "This is a product of");
  EXPECT_EQ(Child<QGroupBox>("Box_Developer")->title(), "Developed by");
  EXPECT_EQ(Child<QLabel>("Lbl_MakerName")->text(), "Norvane");
  EXPECT_EQ(Child<QLabel>("Lbl_DeveloperName")->text(), "Aerolith development team");

  // Without conditions: no Disclaimer, and Close in the middle.
  EXPECT_FALSE(Button("Btn_Disclaimer")->isVisible());
  QPushButton* close = Button("Btn_Close");
  const int middle = box.width() / 2;
  EXPECT_NEAR(close->mapTo(&box, close->rect().center()).x(), middle, 2);

  for (const char* link : {"Lbl_MakerWeb", "Lbl_MakerEmail", "Lbl_DeveloperWeb", "Lbl_DeveloperEmail"}) ClickLink(link);
  EXPECT_EQ(v_opened, (QStringList{"https://www.norvane.example", "mailto:info@norvane.example",
                                   "https://aerolith.example", "mailto:support@aerolith.example"}));
  EXPECT_TRUE(Child<QLabel>("Lbl_MakerWeb")->text().contains(">www.norvane.example<")) << "shown without scheme";

  close->click();
  EXPECT_EQ(box.RetCode(), 1);
}

TEST_F(AboutBoxOffline, CatalogueVersionAndConditions) {
  QList<QWidget*> owners;
  Shown("  2026.12 EU ", [&](QWidget* owner) { owners << owner; });
  EXPECT_EQ(Child<QLabel>("Lbl_DatabaseCaption")->text(), "Database");
  EXPECT_EQ(Child<QLabel>("Lbl_Database")->text(), "2026.12 EU");
  QPushButton* disclaimer = Button("Btn_Disclaimer");
  ASSERT_TRUE(disclaimer->isVisible());
  EXPECT_EQ(disclaimer->text(), "Disclaimer...");
  EXPECT_LT(disclaimer->x(), Button("Btn_Close")->x());
  disclaimer->click();
  EXPECT_EQ(owners, QList<QWidget*>{v_box.get()});
  EXPECT_TRUE(v_box->isVisible());
}

TEST_F(AboutBoxOffline, ConditionsThatFailLeaveTheBoxStanding) {
  Shown("2026.12", [](QWidget*) { throw std::runtime_error("no terms"); });
  Button("Btn_Disclaimer")->click();
  EXPECT_TRUE(v_box->isVisible());
}

TEST_F(AboutBoxOffline, OnlineButtonsStayHiddenAndNothingIsShown) {
  Shown("2026.12");
  EXPECT_FALSE(Button("Btn_ReleaseNotes")->isVisible());
  EXPECT_FALSE(Button("Btn_Manual")->isVisible());
  EXPECT_FALSE(Child<QGroupBox>("Box_ReleaseNotes")->isVisible());
  EXPECT_TRUE(Button("Btn_Localization")->isVisible());
  EXPECT_TRUE(v_messages.shown.isEmpty()) << v_messages.shown.join('\n').toStdString();
}

// The locale dialog over the box: picks a country and a language and
// confirms, or cancels.
void ChooseLocale(const char* szCountry, const char* szLanguage, bool bConfirm, QString* pTitle) {
  WhenModal<TFrmLocaleChoice>([=](TFrmLocaleChoice& dialog) {
    *pTitle = dialog.windowTitle();
    auto* countries = dialog.findChild<QComboBox*>("Cbx_Country");
    auto* languages = dialog.findChild<QComboBox*>("Cbx_Language");
    countries->setCurrentIndex(countries->findText(szCountry));
    languages->setCurrentIndex(languages->findText(szLanguage));
    if (bConfirm)
      dialog.findChild<TFraBottomPanelExt*>()->OkButton()->click();
    else
      dialog.Btn_CancelClick();
  });
}

const char kCountryQuestion[] =
    "You have changed your country setting. Do you want to check for country specific updates?";
const char kLanguageQuestion[] =
    "You have changed your preferred language. Do you want to check for language specific updates?";

TEST_F(AboutBoxOffline, LocalizationAsksAboutUpdatesForWhatChanged) {
  struct Case {
    const char* name;
    const char* dataVersion;
    const char* country;
    const char* language;
    bool confirm;
    int answer;
    bool openerSet;
    const char* question;  // none: no question
    int upgrades;          // times the upgrade window was asked for
  };
  const Case cases[] = {
      {"country", "2026.12", "Germany", "English", true, mrYes, true, kCountryQuestion, 1},
      {"language", "2026.12", "United States of America", "German", true, mrYes, true, kLanguageQuestion, 1},
      {"both: the country's question", "2026.12", "France", "French", true, mrYes, true, kCountryQuestion, 1},
      {"country, no catalogue version", "", "Germany", "English", true, mrYes, true, nullptr, 0},
      {"language, no catalogue version", "", "Germany", "German", true, mrYes, true, kLanguageQuestion, 1},
      {"nothing changed", "2026.12", "United States of America", "English", true, mrYes, true, nullptr, 0},
      {"answered No", "2026.12", "Germany", "English", true, mrNo, true, kCountryQuestion, 0},
      {"no upgrade window yet", "2026.12", "Germany", "English", true, mrYes, false, kCountryQuestion, 0},
      {"cancelled", "2026.12", "Germany", "German", false, mrYes, true, nullptr, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CTLangSupport::SetLocaleData(kUSA, 1033);
    v_messages.shown.clear();
    v_messages.v_answer = c.answer;
    QList<QWidget*> upgrades;
    if (c.openerSet)
      TFrm_AboutBox::SetUpgradeOpener([&](QWidget* owner) { upgrades << owner; });
    else
      TFrm_AboutBox::SetUpgradeOpener({});
    Shown(c.dataVersion);
    QString title;
    ChooseLocale(c.country, c.language, c.confirm, &title);
    Button("Btn_Localization")->click();
    EXPECT_EQ(title, "Localization");
    EXPECT_EQ(v_messages.shown, c.question ? QStringList{c.question} : QStringList());
    EXPECT_EQ(upgrades.size(), c.upgrades);
    for (QWidget* owner : upgrades) EXPECT_EQ(owner, v_box.get());
  }
}

// ---- against our server ----

void Write(const QString& szPath, const QByteArray& bytes) {
  QDir().mkpath(QFileInfo(szPath).path());
  QFile file(szPath);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << szPath.toStdString();
  file.write(bytes);
}

QByteArray Read(const QString& szPath) {
  QFile file(szPath);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

const QByteArray kManual = "%PDF-1.4 the user's manual";

// A served folder in which the service knows the program, its release
// notes and its manual in English and German.
class AboutBoxServed : public AboutBox {
 protected:
  void SetUp() override {
    AboutBox::SetUp();
    ASSERT_TRUE(v_root.isValid());
    Write(Root("service.json"), R"({"programs":[{"name":"Aerolith.exe","id":7,"version":720,"database":143,)"
                                R"("releaseNotes":"notes/release.rtf","manual":{"id":3,"languages":)"
                                R"({"1033":"manuals/en/Aerolith.pdf","1031":"manuals/de/Aerolith.pdf"}}}]})");
    Write(Root("notes/release.rtf"), "{\\rtf1\\ansi {\\b Version 7.2.0}\\par Faster selection.\\par}");
    Write(Root("files/manuals/en/Aerolith.pdf"), kManual);
    v_server = std::make_unique<CTTestServer>(v_root.path());
    ASSERT_TRUE(v_server->Running()) << v_server->ServerLog().toStdString();
    v_address = std::make_unique<ServerAt>(v_server->HostAndPort());
  }
  void TearDown() override {
    AboutBox::TearDown();
    v_address.reset();
    v_server.reset();
  }
  QString Root(const QString& szRelative) const { return v_root.filePath(szRelative); }

  QTemporaryDir v_root;
  QTemporaryDir v_local;
  std::unique_ptr<CTTestServer> v_server;
  std::unique_ptr<ServerAt> v_address;
};

TEST_F(AboutBoxServed, OffersTheReleaseNotesAndTheManual) {
  Shown("2026.12");
  ASSERT_TRUE(Button("Btn_ReleaseNotes")->isVisible());
  ASSERT_TRUE(Button("Btn_Manual")->isVisible());
  EXPECT_EQ(Button("Btn_ReleaseNotes")->text(), "Release Notes");
  EXPECT_EQ(Button("Btn_Manual")->text(), "User's Manual...");
  EXPECT_EQ(Button("Btn_Manual")->toolTip(), "manuals/en/Aerolith.pdf");
  Save("about.png");

  Button("Btn_ReleaseNotes")->click();
  EXPECT_TRUE(v_messages.shown.isEmpty()) << v_messages.shown.join('\n').toStdString();
  auto* notes = Child<QGroupBox>("Box_ReleaseNotes");
  EXPECT_TRUE(notes->isVisible());
  EXPECT_EQ(notes->title(), "Release notes");
  EXPECT_FALSE(Button("Btn_ReleaseNotes")->isVisible());
  auto* text = Child<QTextEdit>("Txt_ReleaseNotes");
  EXPECT_TRUE(text->isReadOnly());
  EXPECT_EQ(text->toPlainText().trimmed(), "Version 7.2.0\nFaster selection.");
  Save("about-release-notes.png");
}

TEST_F(AboutBoxServed, NotesThatAreGoneGiveAWarning) {
  Shown("2026.12");
  ASSERT_TRUE(Button("Btn_ReleaseNotes")->isVisible());
  ASSERT_TRUE(QFile::remove(Root("notes/release.rtf")));
  Button("Btn_ReleaseNotes")->click();
  EXPECT_EQ(v_messages.shown, QStringList{"No release notes available"});
  EXPECT_FALSE(Child<QGroupBox>("Box_ReleaseNotes")->isVisible());
  EXPECT_TRUE(Button("Btn_ReleaseNotes")->isVisible());
}

TEST_F(AboutBoxServed, ManualDownloadsToTheChosenFile) {
  struct Asked {
    QString title, start, filter;
  };
  QList<Asked> asked;
  QString answer;
  TFrm_AboutBox::SetSaveFileChooser(
      [&](QWidget* parent, const QString& title, const QString& start, const QString& filter) {
        EXPECT_EQ(parent, v_box.get());
        asked.append({title, start, filter});
        return answer;
      });
  Shown("2026.12");
  ASSERT_TRUE(Button("Btn_Manual")->isVisible());

  struct Case {
    const char* name;
    QString chosen;
    QStringList shown;
    QByteArray content;  // of the chosen file afterwards
  };
  const QString good = v_local.filePath("My manual.pdf");
  const QString nowhere = v_local.filePath("no such folder/manual.pdf");
  const Case cases[] = {
      {"cancelled", "", {}, {}},
      {"saved", good, {"User's manual saved to " + QDir::toNativeSeparators(good)}, kManual},
      {"cannot be written", nowhere, {"Download of the user's manual failed. Please try again later"}, "<missing>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    v_messages.shown.clear();
    asked.clear();
    answer = c.chosen;
    Button("Btn_Manual")->click();
    ASSERT_EQ(asked.size(), 1);
    EXPECT_EQ(asked[0].title, "Download User's Manual");
    EXPECT_EQ(QFileInfo(asked[0].start).fileName(), "Aerolith.pdf");
    EXPECT_EQ(asked[0].filter, "All files (*.*)");
    EXPECT_EQ(v_messages.shown, c.shown);
    if (!c.chosen.isEmpty()) {
      EXPECT_EQ(Read(c.chosen), c.content);
    }
  }
}

TEST_F(AboutBoxServed, ManualOfTheLanguageChosen) {
  Shown("2026.12");
  ASSERT_EQ(Button("Btn_Manual")->toolTip(), "manuals/en/Aerolith.pdf");
  QString title;
  v_messages.v_answer = mrNo;
  ChooseLocale("United States of America", "German", true, &title);
  Button("Btn_Localization")->click();
  EXPECT_EQ(v_messages.shown, QStringList{kLanguageQuestion});
  EXPECT_TRUE(Button("Btn_Manual")->isVisible());
  EXPECT_EQ(Button("Btn_Manual")->toolTip(), "manuals/de/Aerolith.pdf");
  // A language without a manual of its own: the server offers the English one.
  ChooseLocale("United States of America", "French", true, &title);
  Button("Btn_Localization")->click();
  EXPECT_TRUE(Button("Btn_Manual")->isVisible());
  EXPECT_EQ(Button("Btn_Manual")->toolTip(), "manuals/en/Aerolith.pdf");
}

// The program's number is asked once with the offers, and the release
// notes and the manual of another language ask with it.
TEST_F(AboutBoxServed, AsksTheProgramsNumberOnceForAllItsQuestions) {
  const CTCountingTransport transport;
  Shown("2026.12");
  Button("Btn_ReleaseNotes")->click();
  ASSERT_TRUE(Child<QGroupBox>("Box_ReleaseNotes")->isVisible());
  v_messages.v_answer = mrNo;
  QString title;
  ChooseLocale("United States of America", "German", true, &title);
  Button("Btn_Localization")->click();
  EXPECT_EQ(Button("Btn_Manual")->toolTip(), "manuals/de/Aerolith.pdf");
  EXPECT_EQ(transport.Operations(), (QList<QByteArray>{"ProgramID", "HasManual", "TransManualInfo", "ReleaseNotes",
                                                      "HasManual", "TransManualInfo"}));
}

TEST_F(AboutBox, AServerThatNeverAnswersOffersNothingAndHoldsNothing) {
  QTemporaryDir root;
  ASSERT_TRUE(root.isValid());
  const CTTestServer server(root.path(), "never");
  ASSERT_TRUE(server.Running()) << server.ServerLog().toStdString();
  const ServerAt address(server.HostAndPort());
  Shown("2026.12");
  EXPECT_TRUE(v_box->ServerAsked());
  EXPECT_FALSE(Button("Btn_ReleaseNotes")->isVisible());
  EXPECT_FALSE(Button("Btn_Manual")->isVisible());
  EXPECT_TRUE(v_messages.shown.isEmpty()) << v_messages.shown.join('\n').toStdString();
  Button("Btn_Close")->click();
  EXPECT_EQ(v_box->RetCode(), 1);
}

// ---- from the main window ----

class AboutCommand : public WindowFixture<> {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    TBaseMsg::SetPresenter(&v_answering);
  }
  AnsweringPresenter v_answering;
  ServerAt v_noServer{ServerAt::ClosedLoopbackPort()};
};

TEST_F(AboutCommand, OpensTheBoxWithTheCatalogueVersionAndTheConditions) {
  QAction* about = v_window->Action("ACH_About");
  ASSERT_TRUE(about->isEnabled());
  QString title, database, product, disclaimerTitle;
  WhenModal<TFrm_AboutBox>([&](TFrm_AboutBox& box) {
    title = box.windowTitle();
    product = box.findChild<QLabel*>("Lbl_Product")->text();
    database = box.findChild<QLabel*>("Lbl_Database")->text();
    if (const QByteArray folder = qgetenv("AEROLITH_SCREENSHOT_DIR"); !folder.isEmpty())
      box.grab().save(QString::fromLocal8Bit(folder) + "/about-from-window.png");
    WhenModal<TFrm_Disclaimer>([&](TFrm_Disclaimer& terms) {
      disclaimerTitle = terms.windowTitle();
      terms.Btn_ContinueClick();
    });
    box.findChild<QPushButton*>("Btn_Disclaimer")->click();
    box.Btn_CloseClick();
  });
  about->trigger();
  EXPECT_EQ(title, "About Aerolith");
  EXPECT_EQ(product, "Aerolith");
  EXPECT_EQ(disclaimerTitle, "Aerolith");
  // The caption ends with the same catalogue version and configuration.
  EXPECT_FALSE(database.isEmpty());
  EXPECT_TRUE(v_window->windowTitle().endsWith(" - " + database)) << v_window->windowTitle().toStdString();
}

// The approval of a translation goes to the build's server once the window
// has started.
class ApprovalUpload : public WindowFixture<> {
 protected:
  QTemporaryDir v_root;
};

TEST_F(ApprovalUpload, ReachesTheServerAfterStartUp) {
  ASSERT_TRUE(v_root.isValid());
  const CTTestServer server(v_root.path());
  ASSERT_TRUE(server.Running()) << server.ServerLog().toStdString();
  const ServerAt address(server.HostAndPort());
  TFrmApproveTranslation dialog(v_window.get());
  dialog.findChild<QLineEdit*>("Txt_FirstName")->setText("Anna");
  dialog.findChild<QLineEdit*>("Txt_LastName")->setText("Berg");
  dialog.findChild<QLineEdit*>("Txt_Email")->setText("anna@example.com");
  dialog.Btn_OKClick();
  EXPECT_EQ(v_messages.shown, QStringList{"Approval has been sent"});
  const QFileInfoList uploads = QDir(v_root.filePath("uploads")).entryInfoList(QDir::Files);
  ASSERT_EQ(uploads.size(), 1);
  EXPECT_TRUE(Read(uploads[0].filePath()).contains("firstname=\"Anna\" lastname=\"Berg\""));
}

}  // namespace
