#pragma once
// CTAboutInfo: what the about box says and decides: the program's lines, who
// makes and who develops it, the addresses its links open, which online
// offers (release notes, the user's manual) the server has for this build,
// and which question follows a change of the locale store.

#include "i18n/LangSupport.h"
#include "platform/VersionUtils.h"

#include <QString>
#include <QStringList>

// A maker or a developer as the about box presents them.
struct LTAboutParty {
  QString szName;
  QStringList addressLines;
  QString szWeb;    // with its scheme
  QString szEmail;  // empty: none
};

// What the program-information service offers this build.
struct LTOnlineOffers {
  int nProgramID = 0;  // the service's number of the program; 0: unknown or no answer
  bool bReleaseNotes = false;
  bool bManual = false;
  QString szManualPath;  // server-relative, when bManual
};

class CTAboutInfo {
 public:
  static LTAboutParty Maker();
  static LTAboutParty Developer();

  // --- addresses ---
  // What a link shows: the address without its scheme ("https://a.example"
  // shows "a.example").
  static QString LinkCaption(const QString& szUrl);
  // An address the browser can open: "http://" in front when it has no scheme.
  static QString WithScheme(const QString& szAddress);
  static QString MailtoURL(const QString& szAddress);

  // --- the box's lines ---
  static QString VersionText();   // "7.2.0", " - suffix" after it when the build has one
  static QString LanguageText();  // the interface language's English name
  // The catalogue's version as shown; empty: the box shows no database line.
  static QString DataVersionText(const QString& szDataVersion) { return szDataVersion.trimmed(); }
  // The catalogue's version (CTVersionUtils::DataVersionString) and the
  // build's configuration: the box's database line and the end of the main
  // window's caption.
  static QString DataVersionText(const QString& szCatalogueVersion, const QString& szConfiguration) {
    return DataVersionText(CTVersionUtils::DataVersionString(szCatalogueVersion) + QLatin1Char(' ') + szConfiguration);
  }
  // The build's distributor lines that show (CTBuildDistributor, whose
  // lines the report's footer prints too).
  static QStringList DistributorLines();

  // --- online ---
  // Asks the build's server. The manual is asked for only once the server
  // knows the program, so that a server that does not answer costs one
  // question's time, not several. The program's number is asked here once;
  // the box passes nProgramID on to every later question.
  static LTOnlineOffers AskOnlineOffers(int nLanguage);
  // The manual path on the server for nLanguage; false when there is none
  // or the program is unknown (nProgramID 0).
  static bool AskManual(int nProgramID, int nLanguage, QString& szPath);
  // The file name the manual is offered to be saved under.
  static QString ManualFileName(const QString& szServerPath);
  // Fetches the manual into szLocalFile; the local file changes only when
  // the download is whole.
  static bool DownloadManual(const QString& szServerPath, const QString& szLocalFile);

  // --- after the locale choice ---
  enum class TLocaleQuestion { kNone, kCountry, kLanguage };
  // A changed country matters only where the box shows a catalogue version
  // (the catalogue's data differ by country); a changed language always
  // does (glossaries, manuals).
  static TLocaleQuestion QuestionAfterLocaleChange(const LTLocaleData& before, const LTLocaleData& after,
                                                   bool bDataVersionShown);
  static QString QuestionText(TLocaleQuestion question);
};
