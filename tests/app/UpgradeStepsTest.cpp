// What the upgrade window decides and says, without the window: which
// builds may look for upgrades, what a list means, the rows, the questions
// before a download, the progress bar, a failed download's words, the
// report and the notice on data processing.

#include "app/Privacy.h"
#include "docs/RTFReader.h"
#include "i18n/LangSupport.h"
#include "online/AboutInfo.h"
#include "online/AutoUpgrade.h"
#include "online/UpgradeSteps.h"

#include <QLocale>

#include <gtest/gtest.h>

namespace {

using Problem = CTUpgradeSteps::TFetchProblem;
using Result = LTUpgradeOutcome::Result;
using TAsk = CTUpgradeSteps::TAsk;

const QString kCommunication =
    "A problem occurred while communicating with the download server. Please try again later";
const QString kUnableToDownload = "Unable to download the upgrade version. Please try again later";

// One program element of a list, with what varies.
QString Element(const char* szNr, const char* szExtra = "") {
  return QStringLiteral("<version key=\"Aerolith.exe\" nr=\"%1\" languages=\"\" countries=\"\" config=\"\" isdft=\"1\" "
                        "centraldb=\"1.4.3\" companydb=\"\" path=\"builds/p\" size=\"100\" descr=\"\" platform=\"Win64\"%2/>")
      .arg(QString::fromLatin1(szNr), QString::fromLatin1(szExtra));
}

TEST(UpgradeSteps, WhoMayAskAndWhatTheListMeans) {
  struct Case {
    const char* name;
    const char* suffix;
    int server;
    Problem problem;
  };
  const Case before[] = {
      {"official build, first server", "", 0, Problem::kNone},
      {"official build, developers' server", "", 10, Problem::kNone},
      {"a suffix", "beta 2", 0, Problem::kNotOfficial},
      {"a suffix comes first", "rc 1", 11, Problem::kNotOfficial},
      {"above the table", "", 11, Problem::kNoServer},
      {"below the table", "", -1, Problem::kNoServer},
  };
  for (const Case& c : before) EXPECT_EQ(CTUpgradeSteps::BeforeFetch(c.suffix, c.server), c.problem) << c.name;

  struct Answer {
    const char* name;
    bool answered;
    QString text;
    Problem problem;
  };
  const Answer answers[] = {
      {"no answer", false, QString(), Problem::kCommunication},
      {"empty", true, QString(), Problem::kNoVersions},
      {"not a list", true, "<html>Service unavailable</html>", Problem::kNoVersions},
      {"only older builds", true, Element("7.1.0"), Problem::kNoVersions},
      {"a newer build", true, Element("7.3.0"), Problem::kNone},
      // The size is missing from the second element.
      {"cut by a broken element", true, Element("7.3.0") + QString(Element("7.4.0")).replace(" size=\"100\"", ""),
       Problem::kCommunication},
  };
  for (const Answer& a : answers)
    EXPECT_EQ(CTUpgradeSteps::AfterFetch(a.answered, CTVersionsList::Parse(a.text, 720)), a.problem) << a.name;

  EXPECT_EQ(CTUpgradeSteps::VersionsScript(), "scripts/corvel_get_versions_multi.asp?name=Aerolith.exe");
  struct Said {
    Problem problem;
    QString text;
    bool error;
  };
  const Said said[] = {
      {Problem::kNotOfficial, "You can only upgrade official releases of the program", true},
      {Problem::kNoServer, "Unable to connect to the download site. Please try again later", true},
      {Problem::kCommunication, kCommunication, true},
      {Problem::kNoVersions, "No new versions available for download", false},
  };
  for (const Said& s : said) {
    EXPECT_EQ(CTUpgradeSteps::FetchProblemText(s.problem), s.text);
    EXPECT_EQ(CTUpgradeSteps::IsError(s.problem), s.error) << s.text.toStdString();
  }
}

TEST(UpgradeSteps, RowsWhateverTheProcessLocale) {
  // A German process locale would write "1,5"; the list does not follow it.
  const QLocale before;
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  LTVersionEntry entry;
  entry.v_version = 730;
  entry.v_languageID = 1031;
  entry.v_centralDbVer = 143;
  entry.v_centralDbText = "1.4.3";
  entry.v_fileSize = 1572864;  // 1.5 MB
  entry.v_description = "Release 7.3.0\r\nFaster selection";
  entry.v_shortDescription = "Release 7.3.0";
  EXPECT_EQ(CTUpgradeSteps::RowTexts(entry, "Aerolith"),
            (QStringList{"Aerolith 7.3.0", "German", "<default>", "1.4.3", QString::fromUtf8("Release 7.3.0…"), "1.5MB"}));

  entry.v_config = "Nordic";
  entry.v_centralDbVer = 0;
  entry.v_centralDbText.clear();
  entry.v_languageID = 1033;
  entry.v_fileSize = 3 * 1048576 + 104858;  // 3.1 MB
  entry.v_description = entry.v_shortDescription = "One line";
  EXPECT_EQ(CTUpgradeSteps::RowTexts(entry, "Aerolith"),
            (QStringList{"Aerolith 7.3.0", "English", "Nordic", "n/a", "One line", "3.1MB"}));
  QLocale::setDefault(before);
}

TEST(UpgradeSteps, RunningBuildLinesAndConfigurations) {
  EXPECT_EQ(CTUpgradeSteps::ProgramLine("Aerolith", 1036), "Aerolith French");
  struct Case {
    const char* name;
    const char* config;
    const char* catalogue;
    bool downloadBuild;
    const char* configLine;
    const char* databaseLine;
  };
  const Case cases[] = {
      {"default with catalogue", "", " 1.4.2 ", false, "<default>", "1.4.2"},
      {"named with catalogue", "Nordic", "1.4.2", false, "Nordic", "1.4.2"},
      {"no catalogue", "Nordic", "", false, "n/a", "n/a"},
      {"download build", "", "1.4.2", true, "n/a", "n/a"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CTUpgradeSteps::ConfigurationLine(c.config, c.catalogue, c.downloadBuild), c.configLine) << c.name;
    EXPECT_EQ(CTUpgradeSteps::DatabaseLine(c.catalogue, c.downloadBuild), c.databaseLine) << c.name;
  }
  EXPECT_EQ(CTUpgradeSteps::DatabaseNumber("1.4.2"), 142);
  EXPECT_EQ(CTUpgradeSteps::DatabaseNumber("  "), 0);

  std::vector<LTVersionEntry> entries(2);
  entries[1].v_config = "Nordic";
  EXPECT_FALSE(CTUpgradeSteps::ConfigDiscontinued(entries, "")) << "the default configuration never is";
  EXPECT_FALSE(CTUpgradeSteps::ConfigDiscontinued(entries, "NORDIC")) << "letter case ignored";
  EXPECT_TRUE(CTUpgradeSteps::ConfigDiscontinued(entries, "Arctic"));
  EXPECT_TRUE(CTUpgradeSteps::ConfigDiscontinued({}, "Arctic"));
  EXPECT_EQ(CTUpgradeSteps::DiscontinuedText("Arctic"),
            "Configuration 'Arctic' has been discontinued. You will need to download another configuration or a "
            "default program version");

  const LTVersionFilter filter = CTUpgradeSteps::Filter(539, 1031, false, "Nordic");
  EXPECT_EQ(filter.nCountry, 539);
  EXPECT_EQ(filter.nLanguage, 1031);
  EXPECT_FALSE(filter.bCanChangeConfig);
  EXPECT_FALSE(filter.bAppDftConfig);
  EXPECT_TRUE(filter.bWantWin64) << "a 64-bit program is replaced by 64-bit builds only";
  EXPECT_TRUE(CTUpgradeSteps::Filter(539, 1031, true, "").bAppDftConfig);
}

// A catalogue's version reads the same in the caption and the about box
// (CTAboutInfo::DataVersionText), the start-up hint, the upgrade window's
// database line and, served as a build's centraldb, the list's row.
TEST(UpgradeSteps, ACatalogueVersionReadsAlikeInEveryWindow) {
  const LTBuildInfo info{720, QString(), QString(), 0, 0};
  CTVersionUtils::SetInfoForTests(&info);
  struct Case {
    const char* raw;
    const char* shown;
  };
  const Case cases[] = {
      {"1.0.0", "1.0.0"},
      {"14.3", "1.4.3"},               // 143
      {" 01.4.3 ", "1.4.3"},           // 143
      {"1.4", "0.1.4"},                // 14
      {"10.2.1", "10.2.1"},            // 1021
      {"99.9.9", "99.9.9"},            // 9999, the highest the numbering holds
      {"100.0.0", "100.0.0"},          // 10000: beyond it, as written
      {"2026.12", "2026.12"},          // an older numbering (202612), not "2026.1.2"
      {"2027.1", "2027.1"},            // 20271, not "202.7.1"
      {"Demo 1.4", "Demo 1.4"},        // no number at all
      {"0.0.0", "0.0.0"},              // 0 is no version
      {"99999999999", "99999999999"},  // no int holds it
      {"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.raw);
    const QString shown = QString::fromUtf8(c.shown);
    EXPECT_EQ(CTVersionUtils::DataVersionString(c.raw), shown);
    EXPECT_EQ(CTAboutInfo::DataVersionText(c.raw, ""), shown);
    EXPECT_EQ(CTAboutInfo::DataVersionText(c.raw, "EU"), (shown + " EU").trimmed());
    bool notes = false;
    const QString installed = shown.isEmpty() ? "version 7.2.0" : "version 7.2.0 - database " + shown;
    EXPECT_EQ(CTAutoUpgrade::HintLines("Aerolith", c.raw, 0, notes).value(0),
              "Please upgrade your copy of Aerolith (" + installed + ")");
    EXPECT_EQ(CTUpgradeSteps::DatabaseLine(c.raw, false), shown.isEmpty() ? "n/a" : shown);
    const QString served =
        QString(Element("7.3.0")).replace("centraldb=\"1.4.3\"", QString("centraldb=\"%1\"").arg(c.raw));
    const LTVersionsList list = CTVersionsList::Parse(served, 720);
    ASSERT_EQ(list.entries.size(), 1u);
    EXPECT_EQ(CTUpgradeSteps::RowTexts(list.entries[0], "Aerolith").value(CTUpgradeSteps::kColDatabase),
              shown.isEmpty() ? "n/a" : shown);
  }
  CTVersionUtils::SetInfoForTests(nullptr);
}

TEST(UpgradeSteps, OtherConfigurationsAreHiddenOnlyOnServersOneAndTwo) {
  struct Case {
    int server;
    bool initial, discontinued;
    bool canChange;
  };
  const Case cases[] = {
      {0, false, false, true},  {10, false, false, true}, {1, false, false, false}, {2, false, false, false},
      {1, true, false, true},   {2, true, false, true},   // the initial configuration chooses one
      {1, false, true, true},   {2, false, true, true},   // the running one is gone
      {0, true, true, true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(CTUpgradeSteps::CanChangeConfig(c.server, c.initial, c.discontinued), c.canChange)
        << "server " << c.server << (c.initial ? ", initial" : "") << (c.discontinued ? ", discontinued" : "");
}

TEST(UpgradeSteps, NothingNewWhenTheListOffersOnlyTheRunningBuild) {
  const CTUpgradeSteps::LTRunningBuild running{720, 1033, 143, ""};
  LTVersionEntry same;
  same.v_version = 720;
  same.v_languageID = 1033;
  same.v_centralDbVer = 143;
  same.v_dftConfig = true;
  LTVersionEntry german = same, newerCatalogue = same, newer = same;
  german.v_languageID = 1031;
  newerCatalogue.v_centralDbVer = 144;
  newer.v_version = 730;
  struct Case {
    const char* name;
    std::vector<LTVersionEntry> entries;
    bool initial;
    bool nothingNew;
  };
  const Case cases[] = {
      {"the running build alone", {same}, false, true},
      {"the running build twice", {same, same}, false, true},
      {"in the initial configuration", {same}, true, false},
      {"and its German build", {same, german}, false, false},
      {"with a newer catalogue", {newerCatalogue}, false, false},
      {"and a newer build", {same, newer}, false, false},
      {"nothing at all (said as such)", {}, false, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(CTUpgradeSteps::NothingNew(c.entries, running, c.initial), c.nothingNew) << c.name;

  // A named configuration is never told so: its build may be the last one.
  LTVersionEntry nordic = same;
  nordic.v_dftConfig = false;
  nordic.v_config = "Nordic";
  const CTUpgradeSteps::LTRunningBuild nordicRunning{720, 1033, 143, "NORDIC"};
  EXPECT_TRUE(nordicRunning.IsSame(nordic)) << "letter case ignored";
  EXPECT_FALSE(CTUpgradeSteps::NothingNew({nordic}, nordicRunning, false));
}

TEST(UpgradeSteps, QuestionsBeforeADownload) {
  struct Case {
    const char* name;
    bool sameBuild, warnUnsaved;
    int server;
    std::vector<TAsk> asks;
  };
  const Case cases[] = {
      {"at start-up, a server without reports", false, false, 1, {TAsk::kFolder}},
      {"from the window, first server", false, true, 0, {TAsk::kUnsaved, TAsk::kPrivacy, TAsk::kFolder}},
      {"the same build, developers' server", true, false, 10, {TAsk::kSameBuild, TAsk::kPrivacy, TAsk::kFolder}},
      {"everything", true, true, 0, {TAsk::kSameBuild, TAsk::kUnsaved, TAsk::kPrivacy, TAsk::kFolder}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(CTUpgradeSteps::BeforeDownload(c.sameBuild, c.warnUnsaved, c.server), c.asks) << c.name;
  EXPECT_EQ(CTUpgradeSteps::FolderText("/opt/aerolith"),
            "The installation folder /opt/aerolith cannot be written. Ask your administrator to install the upgrade.");
}

TEST(UpgradeSteps, ProgressPosition) {
  struct Case {
    int max;
    quint32 progress, expected;
    int position;
  };
  const Case cases[] = {
      {1000, 0, 300, 0},       {1000, 150, 300, 500},  {1000, 1, 3, 333},  {1000, 2, 3, 667},
      {1000, 300, 300, 1000},  {100, 1, 200, 1},       // a half rounds up
      {1000, 7, 0, 0},         // nothing announced
      {1000, 400, 300, 1000},  // never past the end
      {1000, 0xFFFFFFFFu, 0xFFFFFFFFu, 1000},  // the largest sizes do not overflow
  };
  for (const Case& c : cases)
    EXPECT_EQ(CTUpgradeSteps::ProgressPosition(c.max, c.progress, c.expected), c.position)
        << c.progress << " of " << c.expected;
  EXPECT_EQ(CTUpgradeSteps::DownloadingText("Aerolith.exe"), "Downloading Aerolith.exe");
}

TEST(UpgradeSteps, WordsOfAFailedDownload) {
  struct Case {
    Result result;
    QStringList lines;
    TReleaseProblem refusal = TReleaseProblem::kNone;
  };
  const Case cases[] = {
      {Result::kOk, {}},
      {Result::kNoUpdater, {}},
      {Result::kMissing, {"File Aerolith.exe not found.", "", kUnableToDownload}},
      {Result::kSizeDiffers, {"Size of downloaded file 2048, expected size 4096.", "", kUnableToDownload}},
      {Result::kDigestDiffers, {"File Aerolith.exe is not the file that was signed.", "", kUnableToDownload},
       TReleaseProblem::kFileDiffers},
      {Result::kNotInRelease, {"File Aerolith.exe is not part of the signed release.", "", kUnableToDownload},
       TReleaseProblem::kNotInRelease},
      {Result::kFailed, {kUnableToDownload, kCommunication}},
      {Result::kLocalFolder, {kUnableToDownload}},
  };
  for (const Case& c : cases) {
    LTUpgradeOutcome outcome;
    outcome.result = c.result;
    outcome.refusal.problem = c.refusal;
    outcome.refusal.szFile = "files/builds/730/aerolith";
    outcome.szShownName = "Aerolith.exe";
    outcome.nFoundSize = 2048;
    outcome.nExpectedSize = 4096;
    EXPECT_EQ(CTUpgradeSteps::FailureLines(outcome), c.lines) << int(c.result);
  }
}

TEST(UpgradeSteps, ARefusedReleaseIsSaidWithTheFileAndTheReason) {
  // The refusals the end-to-end tests cannot make a real server give: a
  // manifest that does not read, a signature that does not match, another
  // program's release.
  struct Case {
    LTReleaseRefusal refusal;
    QString said;
  };
  const QString manifest = "versions/Aerolith.exe.manifest";
  const QString refused = "The release on the download server was refused. ";
  const auto refusal = [&](TReleaseProblem problem, int nLine = 0, const QString& szDetail = {}) {
    LTReleaseRefusal r;
    r.problem = problem;
    r.szFile = manifest;
    r.nLine = nLine;
    r.szDetail = szDetail;
    return r;
  };
  const Case cases[] = {
      {refusal(TReleaseProblem::kMalformed, 6, "the names are not in ascending order"),
       refused + manifest + " does not read: line 6, the names are not in ascending order."},
      {refusal(TReleaseProblem::kMalformed, 0, "the manifest is larger than 196608 bytes"),
       refused + manifest + " does not read: the manifest is larger than 196608 bytes."},
      {refusal(TReleaseProblem::kBadSignature), refused + "The signature of " + manifest + " does not match its content."},
      {refusal(TReleaseProblem::kOtherProgram, 0, "Viewer.exe"),
       refused + manifest + " is the release of Viewer.exe, not of this program."},
  };
  for (const Case& c : cases)
    EXPECT_EQ(CTUpgradeSteps::FetchProblemText(CTUpgradeSteps::TFetchProblem::kRefused, c.refusal), c.said);
  EXPECT_TRUE(CTUpgradeSteps::IsError(CTUpgradeSteps::TFetchProblem::kRefused));
}

TEST(UpgradeSteps, ReportNamesTheBuildAndTheLocaleButNotTheUser) {
  LTVersionEntry entry;
  entry.v_version = 740;
  entry.v_languageID = 1036;
  entry.v_config = "Nordic";
  entry.v_centralDbVer = 144;
  entry.v_centralDbText = "1.4.4";
  const LTLocaleData locale{CTCountryDefinition::OwnNumber("AUT"), 1031, true};
  EXPECT_EQ(CTUpgradeSteps::ReportFields(entry, 12, locale),
            (QStringList{"Aerolith.exe", "7.4.0", "1036", "Nordic", "1.4.4", "12", "1031", "Austria"}));
  entry.v_centralDbVer = 0;
  entry.v_centralDbText.clear();
  entry.v_config.clear();
  EXPECT_EQ(CTUpgradeSteps::ReportFields(entry, 0, LTLocaleData{}),
            (QStringList{"Aerolith.exe", "7.4.0", "1036", "", "", "0", "1033", ""}));
}

TEST(PrivacyNotice, NamesTheProgramTheReportAndWhomToAsk) {
  const QByteArray rtf = TFrm_Privacy::Document("Aerolith");
  // A4 with 1.5 cm margins, in twips.
  for (const char* geometry : {"\\paperw11906", "\\paperh16838", "\\margl850", "\\margr850", "\\margt850", "\\margb850"})
    EXPECT_TRUE(rtf.contains(geometry)) << geometry;
  const QString text = CTRTFReader::PlainText(rtf);
  EXPECT_TRUE(text.startsWith("Data sent when Aerolith is upgraded\n")) << text.toStdString();
  EXPECT_FALSE(text.contains("$1"));
  EXPECT_TRUE(text.contains("privacy@norvane.example"));
  // Every field of the report is named.
  for (const char* field : {"program's name", "version", "language", "configuration", "catalogue",
                            "was started", "country"})
    EXPECT_TRUE(text.contains(field)) << field;
}

}  // namespace
