// The upgrade windows driven as a user drives them, against our own server
// on loopback: the start-up's hint, the upgrade window's list and download,
// and the notice on data processing. Each test has a registry store of its
// own and a served folder with a versions list signed with a key made for
// the test, the files it names and the service's release notes.

#include "OnlineHelpers.h"

#include "app/ApproveTranslation.h"
#include "app/Privacy.h"
#include "app/Upgrade.h"
#include "app/UpgradeHint.h"
#include "i18n/LangSupport.h"
#include "platform/Registry.h"
#include "support/CountingTransport.h"
#include "support/ReleaseKeysForTests.h"
#include "support/ServedFiles.h"
#include "support/TestServer.h"

#include <QComboBox>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace {

const int kUSA = CTCountryDefinition::OwnNumber("USA");

QByteArray Pattern(int nSize) {
  QByteArray bytes(nSize, '\0');
  for (int i = 0; i < nSize; ++i) bytes[i] = char('a' + (i * 7) % 26);
  return bytes;
}

QByteArray Sha256(const QByteArray& bytes) { return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256); }

const QByteArray kUpdater = "#!/bin/sh\n# stands in for the updater: these tests start none\n";
const QByteArray kProgram = Pattern(307200);  // 0.3 MB, enough for several progress steps
const QByteArray kGlossary = "<Workbook>the German interface</Workbook>";

// The builds the served list offers a 7.2.0 program, each after Parse:
//   7.3.0 default, every country, English and German
//   7.4.0 default, France and Austria only, English and French
//   7.3.0 "Nordic", every country, English
//   7.3.0 default, 32-bit, English (never offered to this program)
//   7.1.0, older than the program (left out)
const QString kList = QStringLiteral(
    "<version key=\"Updater2.exe\" nr=\"\" languages=\"\" countries=\"\" config=\"\" isdft=\"1\" centraldb=\"\" "
    "companydb=\"\" path=\"tools/updater\" size=\"%1\" descr=\"\" platform=\"Win64\"/>\n"
    "<version key=\"Aerolith.exe\" nr=\"7.3.0\" languages=\"1031\" countries=\"\" config=\"\" isdft=\"1\" "
    "centraldb=\"1.4.3\" companydb=\"\" path=\"builds/730/aerolith\" size=\"%2\" "
    "descr=\"Release 7.3.0&#10;Faster selection\" platform=\"Win64\"/>\n"
    "<version key=\"Aerolith.exe\" nr=\"7.4.0\" languages=\"1036\" countries=\"3822 539\" config=\"\" isdft=\"1\" "
    "centraldb=\"1.4.4\" companydb=\"\" path=\"builds/740/aerolith\" size=\"1572864\" "
    "descr=\"Release 7.4.0 for France and Austria\" platform=\"Win64\"/>\n"
    "<version key=\"Aerolith.exe\" nr=\"7.3.0\" languages=\"\" countries=\"\" config=\"Nordic\" isdft=\"0\" "
    "centraldb=\"1.4.3\" companydb=\"\" path=\"builds/730n/aerolith\" size=\"2097152\" descr=\"Nordic climate data\" "
    "platform=\"Win64\"/>\n"
    "<version key=\"Aerolith.exe\" nr=\"7.3.0\" languages=\"\" countries=\"\" config=\"\" isdft=\"1\" "
    "centraldb=\"1.4.3\" companydb=\"\" path=\"builds/730-32/aerolith\" size=\"1048576\" descr=\"32-bit\" "
    "platform=\"\"/>\n"
    "<version key=\"Aerolith.exe\" nr=\"7.1.0\" languages=\"\" countries=\"\" config=\"\" isdft=\"1\" "
    "centraldb=\"1.4.1\" companydb=\"\" path=\"builds/710/aerolith\" size=\"1048576\" descr=\"Old\" "
    "platform=\"Win64\"/>\n")
                          .arg(kUpdater.size())
                          .arg(kProgram.size());

const QString kUnsaved =
    "question: The program will automatically restart after the upgrade. Make sure you have saved your project as "
    "unsaved changes will be lost! Would you proceed with the upgrade?";
const QString kRestart = "hint: Download complete. The program will now restart";

// Keeps each message as "kind: text"; questions get the next answer, Yes
// when none is left.
class Messages : public IMessagePresenter {
 public:
  int ShowMessage(const CTMessageRequest& r) override {
    const char* kind = r.v_dlgType == mtError     ? "error"
                       : r.v_dlgType == mtWarning ? "warning"
                       : r.v_dlgType == mtConfirmation ? "question"
                                                       : "hint";
    shown << QString::fromLatin1(kind) + ": " + r.v_text;
    if (!HasButton(r.v_dlgBtns, mbYes)) return mrOk;
    return answers.isEmpty() ? mrYes : answers.takeFirst();
  }
  bool EditString(const CTMessageRequest&, QString&) override { return false; }

  QStringList shown;
  QList<int> answers;
};

void Save(QWidget& window, const char* szName) {
  if (const QByteArray folder = qgetenv("AEROLITH_SCREENSHOT_DIR"); !folder.isEmpty())
    window.grab().save(QString::fromLocal8Bit(folder) + '/' + szName);
}

template <typename T = QWidget>
T* Child(const QWidget& window, const char* szName) {
  auto* child = window.findChild<T*>(QString::fromLatin1(szName));
  EXPECT_NE(child, nullptr) << szName;
  return child;
}

void Choose(QComboBox* pList, const QString& szText) {
  const int index = pList->findText(szText);
  ASSERT_GE(index, 0) << szText.toStdString();
  pList->setCurrentIndex(index);
}

// The rows as "version | language | configuration", and the selected one.
QStringList Rows(const QWidget& window) {
  QStringList rows;
  auto* list = Child<QTreeWidget>(window, "Lvw_Versions");
  for (int i = 0; i < list->topLevelItemCount(); ++i) {
    const QTreeWidgetItem* item = list->topLevelItem(i);
    rows << item->text(0) + " | " + item->text(1) + " | " + item->text(2);
  }
  return rows;
}
int SelectedRow(const QWidget& window) {
  auto* list = Child<QTreeWidget>(window, "Lvw_Versions");
  const QList<QTreeWidgetItem*> selected = list->selectedItems();
  return selected.size() == 1 ? list->indexOfTopLevelItem(selected.first()) : -1;
}

TFrmUpgrade* ShownUpgradeWindow() {
  for (QWidget* widget : QApplication::topLevelWidgets())
    if (auto* window = qobject_cast<TFrmUpgrade*>(widget); window && window->isVisible()) return window;
  return nullptr;
}

class UpgradeWindows : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(v_registry.isValid());
    ASSERT_TRUE(v_root.isValid());
    v_runFolder = CTRegistryStore::UserFolder();
    CTRegistryStore::SetUserFolder(v_registry.path());
    CTLangSupport::SetLocaleData(kUSA, 1033);
    TBaseMsg::SetPresenter(&v_messages);
    v_info = LTBuildInfo{720, QString(), QString(), 0, 0};
    CTVersionUtils::SetInfoForTests(&v_info);

    Write("files/tools/updater", kUpdater);
    Write("files/builds/730/aerolith", kProgram);
    Write("files/glossaries/1031/Aerolith.exe.xml", kGlossary);
    WriteList(kList.toLatin1());
    Write("service.json", R"({"programs":[{"name":"Aerolith.exe","id":7,"version":720,"database":143,)"
                          R"("releaseNotes":"notes/release.rtf"}]})");
    Write("notes/release.rtf", "{\\rtf1\\ansi {\\b Version 7.3.0}\\par Faster selection.\\par}");
    v_server = std::make_unique<CTTestServer>(v_root.path());
    ASSERT_TRUE(v_server->Running()) << v_server->ServerLog().toStdString();
    v_address = std::make_unique<ServerAt>(v_server->HostAndPort());

    TFrmUpgrade::SetUpdaterStart([this](const std::vector<LTUpgradeFile>& files, const QString& title,
                                        const QString& target, bool restart) {
      v_started.push_back(files);
      v_startedWith = {title, target, restart ? "restart" : "no restart"};
      if (TFrmUpgrade* window = ShownUpgradeWindow()) {
        v_barAtStart = {Child<QProgressBar>(*window, "Prg_Download")->value(),
                        Child<QProgressBar>(*window, "Prg_Download")->maximum()};
        v_progressShown = Child<QStackedWidget>(*window, "Stk_List")->currentIndex() == 1;
        v_progressText = Child<QLabel>(*window, "Lbl_Downloading")->text();
        Save(*window, "upgrade-downloaded.png");
      }
      return v_startOk;
    });
    TFrmUpgrade::SetQuitHook([this] { ++v_quits; });
    // Downloads go below the temporary folder: one of this test's own, so
    // that what is left there is this test's doing alone.
    ASSERT_TRUE(v_temp.isValid());
    v_runTemp = qgetenv("TMPDIR");
    qputenv("TMPDIR", v_temp.path().toLocal8Bit());
    // The notice on data processing, whenever it comes up.
    QObject::connect(&v_noticeGuard, &QTimer::timeout, [this] {
      auto* notice = qobject_cast<TFrm_Privacy*>(QApplication::activeModalWidget());
      if (!notice || !notice->isVisible()) return;
      ++v_notices;
      Child<QRadioButton>(*notice, v_acceptNotice ? "RB_Accept" : "RB_Decline")->click();
      Child<QPushButton>(*notice, "Btn_Continue")->click();
    });
    v_noticeGuard.start(10);
  }
  void TearDown() override {
    if (v_runTemp.isEmpty())
      qunsetenv("TMPDIR");
    else
      qputenv("TMPDIR", v_runTemp);
    v_noticeGuard.stop();
    v_window.reset();
    CTLangSupport::SetUILanguage(1033);
    TFrmUpgrade::SetUpdaterStart({});
    TFrmUpgrade::SetQuitHook({});
    TFrmUpgrade::SetCatalogueVersionSource({});
    TFrmUpgrade::SetUsageCount(0);
    TFrmApproveTranslation::SetUploader({});
    CTVersionUtils::SetInfoForTests(nullptr);
    TBaseMsg::SetPresenter(nullptr);
    CTRegistryStore::SetUserFolder(v_runFolder);
    v_address.reset();
    v_server.reset();
  }

  void Write(const char* szPath, const QByteArray& bytes) {
    ASSERT_TRUE(TestFiles::Write(v_root.filePath(szPath), bytes)) << szPath;
  }
  // The versions list and its release, signed.
  void WriteList(const QByteArray& list, const std::function<void(std::vector<LTReleaseFile>&)>& change = {}) {
    Write("versions/Aerolith.exe.txt", list);
    Sign(change);
  }
  // Signs the served release as it lies: the list, every file it names and
  // the glossary. The builds the window never fetches are not served; the
  // manifest names them with the list's size and a digest of nothing.
  void Sign(const std::function<void(std::vector<LTReleaseFile>&)>& change = {}) {
    LTReleaseManifest manifest;
    manifest.szProgram = "Aerolith.exe";
    manifest.nRelease = 740;
    manifest.nIssued = QDateTime::currentSecsSinceEpoch();
    manifest.nExpires = manifest.nIssued + 3600;
    const QByteArray list = TestFiles::Read(v_root.filePath("versions/Aerolith.exe.txt"));
    manifest.files.push_back({"versions/Aerolith.exe.txt", list.size(), Sha256(list)});
    manifest.files.push_back({"files/glossaries/1031/Aerolith.exe.xml", kGlossary.size(), Sha256(kGlossary)});
    const LTVersionsList parsed = CTVersionsList::Parse(QString::fromLatin1(list), 0);
    std::vector<LTVersionEntry> elements = parsed.entries;
    if (parsed.updater) elements.push_back(*parsed.updater);
    for (const LTVersionEntry& element : elements) {
      const QString name = "files/" + element.v_fileName;
      if (manifest.Find(name)) continue;
      const QString path = v_root.filePath(name);
      manifest.files.push_back({name, QFileInfo::exists(path) ? QFileInfo(path).size() : element.v_fileSize,
                                QFileInfo::exists(path) ? Sha256(TestFiles::Read(path)) : QByteArray(32, '\0')});
    }
    if (change) change(manifest.files);
    ASSERT_TRUE(v_key.SignManifest(v_root.path(), manifest));
  }
  QByteArray ReportsLog() const { return TestFiles::Read(v_root.filePath("reports.log")); }
  // Whether a file was asked for since the last mark.
  void MarkServerLog() { v_logMark = v_server->ServerLog().size(); }
  bool DownloadRequested() const { return v_server->ServerLog().mid(v_logMark).contains("corvel_download_file"); }

  // The upgrade window shown, its list in.
  TFrmUpgrade& Open(bool bAtStartup = true, bool bIsInitialConfig = false) {
    v_window = std::make_unique<TFrmUpgrade>(nullptr, bAtStartup, bIsInitialConfig);
    EXPECT_TRUE(v_window->FetchVersions()) << v_messages.shown.join('\n').toStdString();
    v_window->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(v_window.get()));
    return *v_window;
  }
  void Download() { Child<QPushButton>(*v_window, "Btn_Download")->click(); }

  const CTTestReleaseKey v_key;
  QTemporaryDir v_registry, v_root, v_temp;
  QString v_runFolder;
  QByteArray v_runTemp;
  Messages v_messages;
  LTBuildInfo v_info;
  std::unique_ptr<CTTestServer> v_server;
  std::unique_ptr<ServerAt> v_address;
  std::unique_ptr<TFrmUpgrade> v_window;
  qsizetype v_logMark = 0;

  bool v_startOk = true;
  std::vector<std::vector<LTUpgradeFile>> v_started;
  QStringList v_startedWith;
  std::pair<int, int> v_barAtStart{-1, -1};
  bool v_progressShown = false;
  QString v_progressText;
  int v_quits = 0;
  QTimer v_noticeGuard;
  bool v_acceptNotice = true;  // how the notice is answered
  int v_notices = 0;           // times it came up
};

// ---- the list ----

TEST_F(UpgradeWindows, ListOffersTheBuildsForTheCountryAndLanguageChosen) {
  v_info.serverID = 1;  // the default configuration's builds only (Nordic is another)
  TFrmUpgrade& window = Open();
  EXPECT_TRUE(v_messages.shown.isEmpty()) << v_messages.shown.join('\n').toStdString();
  auto* list = Child<QTreeWidget>(window, "Lvw_Versions");
  const QStringList headers{"Version", "Language", "Configuration", "Database", "Description", "Size"};
  for (int c = 0; c < headers.size(); ++c) EXPECT_EQ(list->headerItem()->text(c), headers[c]);
  // The stored choice: the United States in English.
  EXPECT_EQ(Child<QComboBox>(window, "Cbx_Country")->currentText(), "United States of America");
  EXPECT_EQ(Child<QComboBox>(window, "Cbx_Language")->currentText(), "English");
  EXPECT_EQ(Rows(window), QStringList{"Aerolith 7.3.0 | English | <default>"});

  struct Case {
    const char* country;
    const char* language;
    QStringList rows;
    int best;
    bool notInLanguage;
  };
  const Case cases[] = {
      {"United States of America", "German", {"Aerolith 7.3.0 | German | <default>"}, 0, false},
      {"France", "French", {"Aerolith 7.4.0 | French | <default>"}, 0, false},
      // No Italian build: the country's builds, the English one first choice.
      {"Austria", "Italian", {"Aerolith 7.4.0 | English | <default>", "Aerolith 7.4.0 | French | <default>"}, 0, true},
      {"United States of America", "Italian",
       {"Aerolith 7.3.0 | English | <default>", "Aerolith 7.3.0 | German | <default>"}, 0, true},
      // French builds exist, none for this country.
      {"Germany", "French", {}, -1, false},
      {"Austria", "French", {"Aerolith 7.4.0 | French | <default>"}, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.country) + ", " + c.language);
    Choose(Child<QComboBox>(window, "Cbx_Country"), c.country);
    Choose(Child<QComboBox>(window, "Cbx_Language"), c.language);
    EXPECT_EQ(Rows(window), c.rows);
    EXPECT_EQ(SelectedRow(window), c.best);
    if (c.best >= 0) {
      EXPECT_TRUE(list->topLevelItem(c.best)->font(0).bold()) << "the best match is marked";
    }
    EXPECT_EQ(Child<QLabel>(window, "Lbl_NoLanguage")->isVisible(), c.notInLanguage);
    EXPECT_EQ(Child<QPushButton>(window, "Btn_Download")->isEnabled(), c.best >= 0);
  }
  EXPECT_EQ(Child<QLabel>(window, "Lbl_NoLanguage")->text(), "This program is not available in your preferred language");

  // Every column of a row.
  Choose(Child<QComboBox>(window, "Cbx_Country"), "United States of America");
  Choose(Child<QComboBox>(window, "Cbx_Language"), "German");
  QStringList cells;
  for (int c = 0; c < headers.size(); ++c) cells << list->topLevelItem(0)->text(c);
  EXPECT_EQ(cells, (QStringList{"Aerolith 7.3.0", "German", "<default>", "1.4.3",
                                QString::fromUtf8("Release 7.3.0…"), "0.3MB"}));
  Save(window, "upgrade-list.png");

  // Nothing selected: nothing to download or describe.
  list->clearSelection();
  EXPECT_FALSE(Child<QPushButton>(window, "Btn_Download")->isEnabled());
  EXPECT_FALSE(Child<QPushButton>(window, "Btn_Description")->isEnabled());
  EXPECT_TRUE(v_messages.shown.isEmpty()) << v_messages.shown.join('\n').toStdString();
}

TEST_F(UpgradeWindows, CaptionTabAndConfigurationsOfTheInitialConfiguration) {
  v_info.serverID = 1;  // a server that keeps a build to its configuration
  struct Case {
    bool initial;
    const char* caption;
    const char* tab;
    QStringList rows;  // the United States in English
  };
  const Case cases[] = {
      {false, "Software Upgrade", "Upgrade", {"Aerolith 7.3.0 | English | <default>"}},
      {true, "Software Setup", "Configure",
       {"Aerolith 7.3.0 | English | <default>", "Aerolith 7.3.0 | English | Nordic"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.caption);
    QString caption, tab, close;
    QStringList rows;
    int best = -2;
    WhenModal<TFrmUpgrade>([&](TFrmUpgrade& window) {
      caption = window.windowTitle();
      auto* tabs = Child<QTabWidget>(window, "Tab_Main");
      tab = tabs->count() == 1 ? tabs->tabText(0) : "<tabs: " + QString::number(tabs->count()) + ">";
      rows = Rows(window);
      best = SelectedRow(window);
      close = Child<QPushButton>(window, "Btn_Close")->text();
      Child<QPushButton>(window, "Btn_Close")->click();
    });
    EXPECT_EQ(TFrmUpgrade::Upgrade(nullptr, true, c.initial), TFrmUpgrade::kRetClosed);
    EXPECT_EQ(caption, c.caption);
    EXPECT_EQ(tab, c.tab);
    EXPECT_EQ(close, "&Close");
    EXPECT_EQ(rows, c.rows);
    EXPECT_EQ(best, 0);
  }
  EXPECT_TRUE(v_messages.shown.isEmpty()) << v_messages.shown.join('\n').toStdString();
}

TEST_F(UpgradeWindows, DiscontinuedConfigurationIsSaidAndTheOthersOffered) {
  v_info.configurationName = "Arctic";
  TFrmUpgrade::SetCatalogueVersionSource([] { return QString("1.4.2"); });
  TFrmUpgrade& window = Open();
  EXPECT_EQ(v_messages.shown, QStringList{"warning: Configuration 'Arctic' has been discontinued. You will need to "
                                          "download another configuration or a default program version"});
  EXPECT_EQ(Rows(window),
            (QStringList{"Aerolith 7.3.0 | English | <default>", "Aerolith 7.3.0 | English | Nordic"}));
  EXPECT_EQ(SelectedRow(window), 0) << "a default build when the own configuration is gone";
  EXPECT_EQ(Child<QLabel>(window, "Lbl_Configuration")->text(), "Arctic");
  EXPECT_EQ(Child<QLabel>(window, "Lbl_Database")->text(), "1.4.2");

}

TEST_F(UpgradeWindows, ServersOneAndTwoKeepABuildToItsConfiguration) {
  const QString dft = "Aerolith 7.3.0 | English | <default>", nordic = "Aerolith 7.3.0 | English | Nordic";
  struct Case {
    int server;
    const char* configuration;
    bool initial;
    QStringList rows;
  };
  const Case cases[] = {
      {0, "", false, {dft, nordic}},
      {10, "nordic", false, {dft, nordic}},
      {1, "nordic", false, {nordic}},
      {2, "", false, {dft}},
      {2, "", true, {dft, nordic}},  // the initial configuration chooses one
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.server) + " " + c.configuration + (c.initial ? " initial" : ""));
    v_info.serverID = c.server;
    v_info.configurationName = c.configuration;
    v_window = std::make_unique<TFrmUpgrade>(nullptr, true, c.initial);
    ASSERT_TRUE(v_window->FetchVersions());
    EXPECT_EQ(Rows(*v_window), c.rows);
  }
  EXPECT_TRUE(v_messages.shown.isEmpty()) << v_messages.shown.join('\n').toStdString();
}

TEST_F(UpgradeWindows, LinesOfTheRunningBuild) {
  struct Case {
    int server;
    int kind;
    const char* catalogue;
    const char* serverLabel;
    const char* configuration;
    const char* database;
  };
  const Case cases[] = {
      {0, 0, "1.4.2", "Orsk", "<default>", "1.4.2"},
      {1, 0, "", "Tarn", "n/a", "n/a"},
      {2, 1, "1.4.2", "Mobe", "n/a", "n/a"},  // a download build
      {10, 0, "2026.12", "n/a", "<default>", "2026.12"},
  };
  CTLangSupport::SetUILanguage(1031);  // back to English after the test
  for (const Case& c : cases) {
    SCOPED_TRACE(c.server);
    v_info.serverID = c.server;
    v_info.buildKind = c.kind;
    const QString catalogue = c.catalogue;
    TFrmUpgrade::SetCatalogueVersionSource([catalogue] { return catalogue; });
    TFrmUpgrade& window = Open();
    EXPECT_EQ(Child<QLabel>(window, "Lbl_Server")->text(), c.serverLabel);
    EXPECT_EQ(Child<QLabel>(window, "Lbl_Program")->text(), "Aerolith German");
    EXPECT_EQ(Child<QLabel>(window, "Lbl_Configuration")->text(), c.configuration);
    EXPECT_EQ(Child<QLabel>(window, "Lbl_Database")->text(), c.database);
  }
}

TEST_F(UpgradeWindows, SetAsDefaultWritesTheLocaleStore) {
  TFrmUpgrade& window = Open();
  auto* countries = Child<QComboBox>(window, "Cbx_Country");
  auto* languages = Child<QComboBox>(window, "Cbx_Language");
  auto* countryDefault = Child<QPushButton>(window, "Btn_CountryDefault");
  auto* languageDefault = Child<QPushButton>(window, "Btn_LanguageDefault");
  EXPECT_EQ(countryDefault->text(), "Set as Default");
  EXPECT_FALSE(countryDefault->isEnabled()) << "the stored country is selected";
  EXPECT_FALSE(languageDefault->isEnabled());

  Choose(countries, "Austria");
  Choose(languages, "French");
  EXPECT_TRUE(countryDefault->isEnabled());
  EXPECT_TRUE(languageDefault->isEnabled());
  countryDefault->click();
  LTLocaleData stored = CTLangSupport::GetLocaleData();
  EXPECT_EQ(stored.v_country, CTCountryDefinition::OwnNumber("AUT"));
  EXPECT_EQ(stored.v_language, 1033) << "the language waits for its own button";
  EXPECT_FALSE(countryDefault->isEnabled());
  EXPECT_TRUE(languageDefault->isEnabled());
  languageDefault->click();
  stored = CTLangSupport::GetLocaleData();
  EXPECT_EQ(stored.v_country, CTCountryDefinition::OwnNumber("AUT"));
  EXPECT_EQ(stored.v_language, 1036);
  EXPECT_FALSE(languageDefault->isEnabled());
  Choose(languages, "English");
  EXPECT_TRUE(languageDefault->isEnabled());
}

TEST_F(UpgradeWindows, ConfigurationDescriptionShowsTheWholeText) {
  TFrmUpgrade& window = Open();
  auto* button = Child<QPushButton>(window, "Btn_Description");
  EXPECT_EQ(button->text(), "Configuration Description...");
  button->click();
  EXPECT_EQ(v_messages.shown, QStringList{"hint: Release 7.3.0\r\nFaster selection"});
}

TEST_F(UpgradeWindows, ApprovalPanelOnlyInApprovalBuilds) {
  for (const int kind : {0, 1, 2}) {
    SCOPED_TRACE(kind);
    v_info.buildKind = kind;
    TFrmUpgrade& window = Open();
    EXPECT_EQ(Child<QWidget>(window, "Pnl_Approve")->isVisible(), kind == 2);
  }
  auto* approve = Child<QPushButton>(*v_window, "Btn_Approve");
  EXPECT_EQ(approve->text(), "Approve Translation...");
  bool opened = false;
  WhenModal<TFrmApproveTranslation>([&](TFrmApproveTranslation& dialog) {
    opened = true;
    dialog.Btn_CancelClick();
  });
  approve->click();
  EXPECT_TRUE(opened);
  Save(*v_window, "upgrade-approval.png");
}

TEST_F(UpgradeWindows, NothingToOfferIsSaidAndNoWindowOpens) {
  const QString communication =
      "error: A problem occurred while communicating with the download server. Please try again later";
  const QString noVersions = "warning: No new versions available for download";
  struct Case {
    const char* name;
    const char* suffix;
    int server;
    QString list;
    QString said;
  };
  const QString olderOnly = kList.section('\n', 0, 0) + '\n' + kList.section('\n', 5, 5);
  QString broken = kList;
  broken.replace("nr=\"7.4.0\"", "number=\"7.4.0\"");
  // The updater and a build equal to the running one: 7.2.0 in English with
  // the catalogue it runs on.
  const QString runningOnly =
      kList.section('\n', 0, 0) + '\n' +
      QString(kList.section('\n', 5, 5)).replace("nr=\"7.1.0\"", "nr=\"7.2.0\"").replace("1.4.1", "1.4.3") + '\n';
  TFrmUpgrade::SetCatalogueVersionSource([] { return QString("1.4.3"); });
  const Case cases[] = {
      {"a build with a suffix", "beta 2", 0, kList, "error: You can only upgrade official releases of the program"},
      {"no such server", "", 11, kList, "error: Unable to connect to the download site. Please try again later"},
      {"an empty list", "", 0, "", noVersions},
      {"not a list", "", 0, "<html><body>Service unavailable</body></html>", noVersions},
      {"only older builds", "", 0, olderOnly, noVersions},
      {"only the running build", "", 0, runningOnly, noVersions},
      {"an element that does not read", "", 0, broken, communication},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    v_messages.shown.clear();
    v_info.suffix = c.suffix;
    v_info.serverID = c.server;
    WriteList(c.list.toLatin1());
    bool shown = false;
    QTimer guard;
    QObject::connect(&guard, &QTimer::timeout, [&] {
      if (auto* window = qobject_cast<TFrmUpgrade*>(QApplication::activeModalWidget())) {
        shown = true;
        window->Btn_CloseClick();
      }
    });
    guard.start(0);
    EXPECT_EQ(TFrmUpgrade::Upgrade(nullptr, true, false), TFrmUpgrade::kRetClosed);
    guard.stop();
    EXPECT_FALSE(shown);
    EXPECT_EQ(v_messages.shown, QStringList{c.said});
  }

  // Nobody listening.
  v_messages.shown.clear();
  v_info.suffix.clear();
  v_info.serverID = 0;
  const ServerAt nobody(ServerAt::ClosedLoopbackPort());
  EXPECT_EQ(TFrmUpgrade::Upgrade(nullptr, true, false), TFrmUpgrade::kRetClosed);
  EXPECT_EQ(v_messages.shown, QStringList{communication});
}

// ---- the download ----

TEST_F(UpgradeWindows, DownloadHandsTheCheckedFilesToTheUpdaterAndEndsTheProgram) {
  struct Case {
    const char* name;
    int server;
    const char* language;
    int notices;  // the notice on data processing
    QStringList files;
    QByteArray report;  // the line the server logged; "<missing>": none sent
  };
  const Case cases[] = {
      {"English, first server", 0, "English", 1, {"Updater2.exe", "Aerolith.exe"},
       "Aerolith.exe\t7.3.0\t1033\t\t1.4.3\t5\t1033\tUnited States of America\n"},
      // A server without reports: no notice and nothing sent.
      {"German with its glossary, second server", 1, "German", 0, {"Updater2.exe", "Aerolith.exe", "Glossary"},
       "<missing>"},
  };
  TFrmUpgrade::SetUsageCount(5);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    v_messages.shown.clear();
    v_started.clear();
    v_notices = 0;
    v_quits = 0;
    QFile::remove(v_root.filePath("reports.log"));
    v_info.serverID = c.server;
    TFrmUpgrade& window = Open(false);
    Choose(Child<QComboBox>(window, "Cbx_Language"), c.language);
    Download();

    EXPECT_EQ(v_messages.shown, (QStringList{kUnsaved, kRestart}));
    EXPECT_EQ(v_notices, c.notices);
    ASSERT_EQ(v_started.size(), 1u);
    // Each file as the server has it, in a folder of ours, and last the
    // manifest they were checked against, for the updater.
    QStringList names;
    for (const LTUpgradeFile& file : v_started[0]) names << file.szShownName;
    EXPECT_EQ(names, c.files + QStringList{"Release manifest"});
    const QByteArray served[] = {kUpdater, kProgram, kGlossary};
    for (size_t i = 0; i < v_started[0].size(); ++i) {
      const LTUpgradeFile& file = v_started[0][i];
      const QByteArray expected = i + 1 < v_started[0].size()
                                      ? served[i]
                                      : TestFiles::Read(v_root.filePath("versions/Aerolith.exe.manifest"));
      EXPECT_EQ(TestFiles::Read(file.szLocalFile), expected) << file.szShownName.toStdString();
      EXPECT_TRUE(file.szLocalFile.startsWith(QDir::tempPath() + "/aerolith-upgrade-"));
    }
    EXPECT_EQ(QFileInfo(QFileInfo(v_started[0][0].szLocalFile).path()).permissions().toInt() & 0x0077, 0)
        << "nobody else may change what the updater installs";
    EXPECT_EQ(v_startedWith, (QStringList{"Aerolith", QCoreApplication::applicationFilePath(), "restart"}));
    EXPECT_TRUE(v_progressShown);
    EXPECT_EQ(v_barAtStart, (std::pair{TFrmUpgrade::kProgressMax, TFrmUpgrade::kProgressMax}))
        << "the bar reached its end";
    EXPECT_EQ(v_progressText, "Downloading " + c.files.last());
    EXPECT_EQ(v_quits, 1);
    EXPECT_EQ(window.RetCode(), TFrmUpgrade::kRetUpgraded);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(ReportsLog(), c.report);
  }
}

TEST_F(UpgradeWindows, DownloadThatDidNotArriveAsSignedStartsNothing) {
  const QString unable = "Unable to download the upgrade version. Please try again later";
  const QString program = "files/builds/730/aerolith";
  const auto signedSize = [&](qint64 nDelta) {
    return [=](std::vector<LTReleaseFile>& files) {
      for (LTReleaseFile& file : files)
        if (file.szName == program) file.nSize += nDelta;
    };
  };
  struct Case {
    const char* name;
    std::function<void(std::vector<LTReleaseFile>&)> change;  // of the signed release
    bool changeProgram;  // on the server, after signing
    bool removeProgram;
    bool withUpdater;
    QStringList said;
  };
  const Case cases[] = {
      {"changed after signing", {}, true, false, true,
       {"error: File Aerolith.exe is not the file that was signed.\r\n\r\n" + unable}},
      {"not in the signed release",
       [&](std::vector<LTReleaseFile>& files) {
         files.erase(std::remove_if(files.begin(), files.end(), [&](const LTReleaseFile& f) { return f.szName == program; }),
                     files.end());
       },
       false, false, true, {"error: File Aerolith.exe is not part of the signed release.\r\n\r\n" + unable}},
      {"signed larger", signedSize(1000), false, false, true,
       {QStringLiteral("error: Size of downloaded file %1, expected size %2.\r\n\r\n")
                .arg(kProgram.size())
                .arg(kProgram.size() + 1000) +
            unable}},
      {"gone from the server", {}, false, true, true,
       {"error: " + unable +
        "\r\nA problem occurred while communicating with the download server. Please try again later"}},
      {"no updater in the list", {}, false, false, false, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    v_messages.shown.clear();
    QString list = kList;
    if (!c.withUpdater) list = list.section('\n', 1);
    WriteList(list.toLatin1(), c.change);
    if (c.changeProgram) Write("files/builds/730/aerolith", QByteArray(kProgram).replace(0, 1, "Z"));
    if (c.removeProgram) QFile::remove(v_root.filePath("files/builds/730/aerolith"));
    TFrmUpgrade& window = Open();
    Download();
    EXPECT_EQ(v_messages.shown, c.said);
    EXPECT_TRUE(v_started.empty());
    EXPECT_EQ(v_quits, 0);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(Child<QStackedWidget>(window, "Stk_List")->currentIndex(), 0) << "the list is back";
    EXPECT_TRUE(Child<QPushButton>(window, "Btn_Download")->isEnabled());
    EXPECT_EQ(ReportsLog(), "<missing>");
    EXPECT_EQ(QDir::temp().entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList())
        << "nothing left behind";
    if (c.removeProgram || c.changeProgram) Write("files/builds/730/aerolith", kProgram);
  }
}

TEST_F(UpgradeWindows, EachQuestionBeforeTheDownloadCanStopIt) {
  const QString same =
      "question: The version you selected is identical to the one that you are using now. Continue anyway?";
  struct Case {
    const char* name;
    bool sameBuild;
    bool atStartup;
    QList<int> answers;
    bool acceptNotice;
    QStringList said;
    int notices;
    bool downloaded;
    bool closed;
    bool initial = false;
  };
  const Case cases[] = {
      {"the same build, not again", true, true, {mrNo}, true, {same}, 0, false, false},
      {"the same build while setting up: no question", true, true, {}, true, {kRestart}, 1, true, true, true},
      {"the same build, again", true, true, {mrYes}, true, {same, kRestart}, 1, true, true},
      {"unsaved work comes first", false, false, {mrNo}, true, {kUnsaved}, 0, false, true},
      {"the notice declined", false, true, {}, false, {}, 1, false, false},
  };
  TFrmUpgrade::SetCatalogueVersionSource([] { return QString("1.4.3"); });
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    v_messages.shown.clear();
    v_messages.answers = c.answers;
    v_started.clear();
    v_notices = 0;
    v_info.versionNumber = c.sameBuild ? 730 : 720;
    MarkServerLog();
    TFrmUpgrade& window = Open(c.atStartup, c.initial);
    v_acceptNotice = c.acceptNotice;
    Download();
    EXPECT_EQ(v_messages.shown, c.said);
    EXPECT_EQ(v_notices, c.notices);
    EXPECT_EQ(v_started.size(), c.downloaded ? 1u : 0u);
    EXPECT_EQ(DownloadRequested(), c.downloaded);
    EXPECT_EQ(!window.isVisible(), c.closed);
    if (c.closed && !c.downloaded) {
      EXPECT_EQ(window.RetCode(), TFrmUpgrade::kRetClosed);
    }
  }
}

TEST_F(UpgradeWindows, UpdaterThatDoesNotStartLeavesTheProgramRunning) {
  v_startOk = false;
  TFrmUpgrade& window = Open();
  Download();
  EXPECT_EQ(v_messages.shown, QStringList{"hint: Upgrade failed. Please try again later"});
  ASSERT_EQ(v_started.size(), 1u);
  EXPECT_FALSE(QFileInfo::exists(QFileInfo(v_started[0][0].szLocalFile).path())) << "the download is removed";
  EXPECT_EQ(v_quits, 0);
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(Child<QStackedWidget>(window, "Stk_List")->currentIndex(), 0);
  EXPECT_EQ(ReportsLog(), "<missing>");
}

// ---- the notice on data processing ----

TEST_F(UpgradeWindows, NoticeWaitsForAChoiceAndAnswersIt) {
  struct Case {
    const char* name;
    const char* choice;  // none: closed without one
    int result;
  };
  const Case cases[] = {
      {"accepted", "RB_Accept", TFrm_Privacy::kAccepted},
      {"declined", "RB_Decline", TFrm_Privacy::kNotAccepted},
      {"closed without a choice", nullptr, TFrm_Privacy::kNotAccepted},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TFrm_Privacy notice(nullptr, "Aerolith");
    notice.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&notice));
    EXPECT_EQ(notice.windowTitle(), "Notice");
    EXPECT_EQ(Child<QLabel>(notice, "Lbl_PageCaption")->text(), "NOTICE ON DATA PROCESSING");
    auto* text = Child<QTextEdit>(notice, "Txt_Notice");
    EXPECT_TRUE(text->isReadOnly());
    EXPECT_TRUE(text->toPlainText().startsWith("Data sent when Aerolith is upgraded"));
    EXPECT_FALSE(text->toPlainText().contains("$1"));
    EXPECT_EQ(Child<QRadioButton>(notice, "RB_Accept")->text(), "I accept these conditions");
    EXPECT_EQ(Child<QRadioButton>(notice, "RB_Decline")->text(), "I do not accept these conditions");
    auto* go = Child<QPushButton>(notice, "Btn_Continue");
    EXPECT_EQ(go->text(), "Continue");
    EXPECT_FALSE(go->isEnabled());
    if (c.choice) {
      Child<QRadioButton>(notice, c.choice)->click();
      EXPECT_TRUE(go->isEnabled());
      Save(notice, "privacy-notice.png");
      go->click();
    } else {
      notice.reject();
    }
    EXPECT_EQ(notice.RetCode(), c.result);
  }
}

// ---- the start-up's hint ----

// Whether the end of every line lies inside the memo's view: no line is
// wrapped away or cut at the bottom or the right.
testing::AssertionResult EveryLineShows(const QPlainTextEdit& memo) {
  const QRect view = memo.viewport()->rect();
  for (QTextBlock block = memo.document()->begin(); block.isValid(); block = block.next()) {
    QTextCursor end(block);
    end.movePosition(QTextCursor::EndOfBlock);
    const QRect caret = memo.cursorRect(end);
    if (!view.contains(caret.center()) || caret.bottom() > view.bottom())
      return testing::AssertionFailure() << "line " << block.blockNumber() << " ends outside the view";
  }
  return testing::AssertionSuccess();
}

const QString kStartLine = "Please upgrade your copy of Aerolith (version 7.2.0 - database 1.4.2)";

TEST_F(UpgradeWindows, HintListsWhatIsNewAndOffersTheNotesForProgramsAndCatalogues) {
  struct Case {
    int info;
    QStringList lines;
    bool notes;
  };
  const Case cases[] = {
      {0, {kStartLine}, false},  // approval builds ask nothing
      {1, {kStartLine, "", "- Updated translation of the user interface."}, false},
      // 1440 = 2 x 720: program 7.2.0.
      {1440,
       {kStartLine, "", "- Software version 7.2.0 now available.", "", "See release notes for more details."},
       true},
      // 2860001 = 20000 x 143 + 1: catalogue 1.4.3 and the glossary.
      {2860001,
       {kStartLine, "", "- Database version 1.4.3 now available.", "- Updated translation of the user interface.", "",
        "See release notes for more details."},
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.info);
    TFrmAutoUpgradeHint hint(nullptr, "Aerolith", "1.4.2", c.info);
    hint.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&hint));
    EXPECT_EQ(hint.windowTitle(), "Upgrade Now!");
    auto* lines = Child<QPlainTextEdit>(hint, "Txt_Lines");
    EXPECT_TRUE(lines->isReadOnly());
    EXPECT_EQ(lines->toPlainText().split('\n'), c.lines);
    EXPECT_TRUE(EveryLineShows(*lines));
    EXPECT_FALSE(Child<QLabel>(hint, "Img_Information")->pixmap().isNull());
    EXPECT_EQ(Child<QPushButton>(hint, "Btn_Upgrade")->text(), "Upgrade Now!");
    EXPECT_EQ(Child<QPushButton>(hint, "Btn_Skip")->text(), "Skip");
    auto* notes = Child<QPushButton>(hint, "Btn_ReleaseNotes");
    EXPECT_EQ(notes->isVisible(), c.notes);
    EXPECT_EQ(notes->text(), "Release Notes");
    EXPECT_FALSE(Child<QGroupBox>(hint, "Box_ReleaseNotes")->isVisible());
    if (c.info == 2860001) Save(hint, "upgrade-hint.png");
    Child<QPushButton>(hint, "Btn_Skip")->click();
    EXPECT_EQ(hint.RetCode(), TFrmAutoUpgradeHint::kRetSkip);
  }
  EXPECT_TRUE(v_messages.shown.isEmpty()) << v_messages.shown.join('\n').toStdString();
}

TEST_F(UpgradeWindows, HintShowsTheServersReleaseNotesInItsGroup) {
  TFrmAutoUpgradeHint hint(nullptr, "Aerolith", "1.4.2", 1440);
  hint.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&hint));
  const int height = hint.height();
  Child<QPushButton>(hint, "Btn_ReleaseNotes")->click();
  EXPECT_TRUE(v_messages.shown.isEmpty()) << v_messages.shown.join('\n').toStdString();
  auto* group = Child<QGroupBox>(hint, "Box_ReleaseNotes");
  EXPECT_TRUE(group->isVisible());
  EXPECT_EQ(group->title(), "Release notes");
  auto* text = Child<QTextEdit>(hint, "Txt_ReleaseNotes");
  EXPECT_TRUE(text->isReadOnly());
  EXPECT_EQ(text->toPlainText().trimmed(), "Version 7.3.0\nFaster selection.");
  EXPECT_FALSE(Child<QPushButton>(hint, "Btn_ReleaseNotes")->isVisible());
  EXPECT_GT(hint.height(), height) << "the window grows by the notes";
  Save(hint, "upgrade-hint-notes.png");

  // Notes that are gone by now.
  TFrmAutoUpgradeHint again(nullptr, "Aerolith", "1.4.2", 1440);
  again.show();
  ASSERT_TRUE(QFile::remove(v_root.filePath("notes/release.rtf")));
  Child<QPushButton>(again, "Btn_ReleaseNotes")->click();
  EXPECT_EQ(v_messages.shown, QStringList{"warning: No release notes available"});
  EXPECT_FALSE(Child<QGroupBox>(again, "Box_ReleaseNotes")->isVisible());
  EXPECT_TRUE(Child<QPushButton>(again, "Btn_ReleaseNotes")->isVisible());
}

TEST_F(UpgradeWindows, HintFromTheStartUpsQuestionPassesTheProgramsNumberOn) {
  const CTCountingTransport transport;
  TFrmAutoUpgradeHint::LTContext known;
  known.nProgramID = 7;  // the served service.json gives the program number 7
  TFrmAutoUpgradeHint hint(nullptr, "Aerolith", "1.4.2", 1440, known);
  hint.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&hint));
  Child<QPushButton>(hint, "Btn_ReleaseNotes")->click();
  EXPECT_EQ(Child<QTextEdit>(hint, "Txt_ReleaseNotes")->toPlainText().trimmed(), "Version 7.3.0\nFaster selection.");
  EXPECT_EQ(transport.Operations(), QList<QByteArray>{"ReleaseNotes"});
}

TEST_F(UpgradeWindows, HintUpgradeNowOpensTheUpgradeWindowAndAnswersItsResult) {
  // Closed: the hint answers what the window answered.
  QString caption;
  WhenModal<TFrmAutoUpgradeHint>([&](TFrmAutoUpgradeHint& hint) {
    WhenModal<TFrmUpgrade>([&](TFrmUpgrade& window) {
      caption = window.windowTitle();
      window.Btn_CloseClick();
    });
    hint.Btn_UpgradeClick();
  });
  EXPECT_EQ(TFrmAutoUpgradeHint::ShowHint(nullptr, "Aerolith", "1.4.2", 1440), TFrmUpgrade::kRetClosed);
  EXPECT_EQ(caption, "Software Upgrade");

  // Downloaded: from the start-up, so no question about unsaved work.
  WhenModal<TFrmAutoUpgradeHint>([&](TFrmAutoUpgradeHint& hint) {
    WhenModal<TFrmUpgrade>([&](TFrmUpgrade&) {
        Child<QPushButton>(*qobject_cast<QWidget*>(QApplication::activeModalWidget()), "Btn_Download")->click();
    });
    Child<QPushButton>(hint, "Btn_Upgrade")->click();
  });
  EXPECT_EQ(TFrmAutoUpgradeHint::ShowHint(nullptr, "Aerolith", "1.4.2", 1440), TFrmUpgrade::kRetUpgraded);
  EXPECT_EQ(v_messages.shown, QStringList{kRestart});
  EXPECT_EQ(v_started.size(), 1u);
  EXPECT_EQ(v_quits, 1);

  // From a hint over a window in use with unsaved work: the restart is
  // asked about first, and No starts nothing.
  v_messages.shown.clear();
  v_messages.answers = {mrNo};
  WhenModal<TFrmAutoUpgradeHint>([&](TFrmAutoUpgradeHint& hint) {
    WhenModal<TFrmUpgrade>([&](TFrmUpgrade&) {
      Child<QPushButton>(*qobject_cast<QWidget*>(QApplication::activeModalWidget()), "Btn_Download")->click();
    });
    Child<QPushButton>(hint, "Btn_Upgrade")->click();
  });
  TFrmAutoUpgradeHint::LTContext inUse;
  inUse.bUnsavedWork = true;
  EXPECT_EQ(TFrmAutoUpgradeHint::ShowHint(nullptr, "Aerolith", "1.4.2", 1440, inUse), TFrmUpgrade::kRetClosed);
  EXPECT_EQ(v_messages.shown, QStringList{kUnsaved});
  EXPECT_EQ(v_started.size(), 1u) << "no second updater";
  EXPECT_EQ(v_quits, 1);

  // Nothing on the server: said, and the hint closes as the window would.
  v_messages.shown.clear();
  WriteList("");
  WhenModal<TFrmAutoUpgradeHint>([&](TFrmAutoUpgradeHint& hint) { hint.Btn_UpgradeClick(); });
  EXPECT_EQ(TFrmAutoUpgradeHint::ShowHint(nullptr, "Aerolith", "1.4.2", 1), TFrmUpgrade::kRetClosed);
  EXPECT_EQ(v_messages.shown, QStringList{"warning: No new versions available for download"});
}

}  // namespace
