#pragma once
// CTVersionsList: the builds of this program that the download server offers
// (the answer of "corvel_get_versions_multi.asp"), and which of them suit a
// country, a language and the running configuration.
//
// The answer holds elements, each from "<version " to "/>":
//   <version key="Aerolith.exe" nr="7.3.0" languages="1031 1036" countries="12 112"
//            config="" isdft="1" centraldb="1.4.3" companydb="" path="builds/730/Aerolith"
//            size="1572864" descr="Release 7.3.0&#10;Faster selection" platform=""/>
// Every attribute is required; others are passed over. The list is taken
// only as part of a signed release (CTSignedRelease), whose manifest then
// holds the size and SHA-256 of every file it names.
// key "Updater2.exe" (letter case ignored) is the updater; every other
// element is a program build, one entry for English and one for each
// further language.

#include "online/SignedRelease.h"

#include <QString>

#include <optional>
#include <vector>

struct LTVersionEntry {
  int v_version = 0;  // 730 for 7.3.0; 0 for the updater
  QString v_config;   // empty for the default configuration
  bool v_dftConfig = false;
  int v_languageID = 1033;
  QString v_countries;  // country numbers separated by blanks; empty: every country
  int v_centralDbVer = 0;
  QString v_centralDbText;  // centraldb as served, trimmed: what the list shows (DataVersionString)
  int v_companyDbVer = 0;   // 0: none
  QString v_fileName;      // server-relative path
  qint64 v_fileSize = 0;
  QString v_description;  // lines separated by CR LF
  QString v_shortDescription;
  bool v_isWin64 = false;
};

struct LTVersionsList {
  std::vector<LTVersionEntry> entries;  // in answer order
  std::optional<LTVersionEntry> updater;
  bool bFailed = false;  // an element did not read; the entries before it stay
  LTSignedRelease release;  // what the list came with; unsigned when it was only parsed
};

// What the list shows for one choice of country and language.
struct LTVersionFilter {
  int nCountry = 0;   // own country number; 0: none chosen
  int nLanguage = 0;  // LCID; 0: none chosen
  bool bCanChangeConfig = true;
  QString szAppConfig;
  bool bAppDftConfig = true;
  bool bWantWin64 = false;
};

struct LTVersionListing {
  std::vector<int> rows;  // indexes into the entries, in their order
  int nBestRow = -1;      // index into rows; -1 when there are none
  bool bLangFound = false;
  bool bAlt64 = false;  // builds of the other platform would suit
};

class CTVersionsList {
 public:
  static constexpr const char* kUpdaterKey = "Updater2.exe";

  // Program builds older than nAppVersion are left out.
  static LTVersionsList Parse(const QString& szAnswer, int nAppVersion);
  static bool IsCountryListed(const LTVersionEntry& entry, int nCountry);
  static LTVersionListing Fill(const std::vector<LTVersionEntry>& entries, const LTVersionFilter& filter);
  static bool SameBuild(const LTVersionEntry& entry, int nAppVersion, int nAppLang, int nDbVersion, bool bAppDftConfig,
                        const QString& szAppConfig);
  // The size in MB to one decimal, half to even, with the given decimal
  // separator: 1572864 -> "1.5MB".
  static QString SizeText(qint64 nBytes, QChar decimalSeparator = QLatin1Char('.'));
  // A default-like configuration: no name, or one that says "default".
  static bool IsDefaultLike(const LTVersionEntry& entry);
};
