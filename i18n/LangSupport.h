#pragma once
// The languages and countries the program knows, the process-wide
// user-interface language, and the locale store that all Norvane programs
// share.
//
// Languages are identified by their Windows language identifier (LCID, 1033
// for English); countries by our own country number: the three capital
// letters of the ISO 3166-1 alpha-3 code read as a number in base 26 with
// A = 0, the first letter the most significant ("AFG" = 0*676 + 5*26 + 6 =
// 136). Romania alone takes its number from the letters "ROM" (11868), as it
// always has; its alpha-3 code is "ROU".
//
// Both tables are built together on the first lookup and live until the
// process ends; lookups hand out pointers into them. Lookups answer none,
// empty, 0 or -1 for unknown ids and never throw.
//
// Nothing here needs QtWidgets: the list operations fill plain lists of
// (text, id) pairs that the dialogs put into their combo boxes.

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstdint>

class CTLanguageDefinition {
 public:
  QString v_iso_2letterCode;  // ISO 639-1, lower case ("en")
  QString v_iso_englishName;  // "English (United Kingdom)"
  int32_t v_windowsCode = 0;  // the LCID

  // The definition with that LCID, or none.
  static const CTLanguageDefinition* FindLanguage(int nLanguage);
  // The first definition in table order whose ISO code is sz2LetterCode,
  // letter case ignored ("zh" is Chinese (Traditional), 1028), or none.
  static const CTLanguageDefinition* FindLanguageByCode(const QString& sz2LetterCode);
};

class CTCountryDefinition {
 public:
  QString v_iso_2letterCode;  // ISO 3166-1 alpha-2 ("AT")
  QString v_iso_3letterCode;  // ISO 3166-1 alpha-3 ("AUT")
  QString v_iso_englishName;
  int32_t v_iso_numericCode = 0;  // ISO 3166-1 numeric (0 for Kosovo, which has none)
  int32_t v_ownNumericCode = 0;   // our country number (see the top of this file)
  const CTLanguageDefinition* v_language = nullptr;  // main language; never none, not owned

  // The country whose own number is nCode, or none.
  static const CTCountryDefinition* FindCountry(int nCode);
  // The first country in table order whose main language is nLanguage, or none.
  static const CTCountryDefinition* FindACountryWithLanguage(int nLanguage);
  // Three capital letters A-Z as a number in base 26 ("DEU" = 2152); -1 for
  // any other text.
  static int OwnNumber(const QString& sz3Letters);
};

// One entry of a filled list: the text shown and what it stands for, a
// language's LCID or a country's own number.
struct LTLangListItem {
  QString v_text;
  int v_id = 0;

  bool operator==(const LTLangListItem&) const = default;
};
using LTLangList = QList<LTLangListItem>;

// What the locale store holds. Without a stored choice: country 0, English.
struct LTLocaleData {
  int v_country = 0;     // own country number
  int v_language = 1033;  // LCID
  bool v_stored = false;  // both values were read from the store
};

class CTLangSupport {
 public:
  static constexpr int kEnglish = 1033;
  static constexpr int kEnglishUK = 2057;
  // The build's server number whose builds call language 2057 "English (USA)".
  static constexpr int kRenamingServerID = 2;

  // --- languages ---
  // The English name; empty when the LCID is unknown.
  static QString ID2String(int nLangID);
  static QString EnglishLanguageName(int nLangID) { return ID2String(nLangID); }
  // The LCID whose English name is szLangStr (letter case ignored); 0 when none.
  static int String2ID(const QString& szLangStr);
  // The system's three-letter abbreviation of the locale ("ENU" for 1033,
  // "DEU" for 1031), as Windows names it; empty for a locale the system does
  // not list. The system here lists the program's own languages.
  static QString ID2FileExtension(int nLangID);
  // The LCID whose abbreviation is szExt (letter case ignored); 0 when none.
  static int FileExtension2ID(const QString& szExt);
  // True for the languages whose texts need a Unicode font: primary
  // language (the low 10 bits of the LCID) Arabic, Chinese, Greek, Hebrew,
  // Japanese, Korean, Thai or Farsi.
  static bool UseUnicodeFont(int nLangID);

  // --- countries, by own number ---
  static QString EnglishCountryName(int nCountryCode);   // empty when unknown
  static QString TwoLetterCountryName(int nCountryCode);  // empty when unknown
  // The LCID of the country's main language; English when unknown.
  static int MainLanguageFor(int nCountryCode);

  // --- lists ---
  // Appends every language's English name with its LCID, in table order.
  static void FillStrings(LTLangList& pStrs);
  // Appends every country's English name with its own number, in table order.
  static void FillUniqueCountries(LTLangList& pStrs);
  // Index of the first item whose country has the own number nCountryID; -1 when none.
  static int FindCountryCode(const LTLangList& pStrs, int nCountryID);
  // The own number of the item's country; 0 for an index outside the list.
  static int ItemCountryCode(const LTLangList& pStrs, int nIndex);
  // Index of the first item whose language is nLangID; -1 when none.
  static int FindLanguageIndex(const LTLangList& pStrs, int nLangID);
  // The LCID of the item at nIndex; nDefaultValue for an index outside the list.
  static int ItemLanguage(const LTLangList& pStrs, int nIndex, int nDefaultValue);
  // Sorts by text as a sorted list box shows it: English collation, letter
  // case ignored, so "Åland Islands" comes right after "Afghanistan".
  static void SortByText(LTLangList& pStrs);

  // --- the program's user-interface language (process-wide) ---
  // English at start; the interface glossary's target language once it loads.
  static int UILanguage();
  static void SetUILanguage(int nLangID);

  // --- the build's naming ---
  // Builds for server kRenamingServerID show language 2057 as
  // "English (USA)"; any other server number gives it back its own name.
  // Called once at start-up; the name holds for the rest of the run.
  static void ApplyServerLanguageNames(int nServerID);

  // --- the locale store ---
  // "Software\Norvane\Locale" of the current user, integer values "Country"
  // (own country number) and "Language" (LCID). Shared with the other
  // Norvane programs.
  static QString LocaleKey();
  // The stored choice; a value that cannot be read counts as missing, and
  // unless both are read the answer is country 0, English, not stored.
  static LTLocaleData GetLocaleData();
  // Writes both values, creating the key when missing; failures are ignored.
  static void SetLocaleData(int nCountry, int nLanguage);

  // --- start-up ---
  enum class TLocaleCheck {
    kChoiceStored,  // the store holds a choice: carry on
    kAskUser,       // no choice yet: the user must pick country and language
  };
  // Names the languages as the build's server wants them
  // (ApplyServerLanguageNames) and tells whether the user must be asked.
  static TLocaleCheck CheckDefaultLocale(int nServerID);
};

// The approval of a translated build, as the approval dialog sends it to the
// upload server.
struct LTTranslationApproval {
  QString v_program;  // the executable's file name, without folder
  QString v_version;  // the program's version string
  int v_language = CTLangSupport::kEnglish;  // the user-interface LCID
  QString v_firstName, v_lastName, v_email;

  // The file the server receives, one ASCII line:
  //
  //   <approval program="aerolith" nr="2.1.0" language="1031" firstname="Anna"
  //     lastname="M&#252;ller" email="a@example.com" />CR LF
  //
  // (on one line; every value XML-safe: characters outside 0x20-0x7E and the
  // characters " & < become decimal character references).
  QByteArray Line() const;
  // True when the first "@" is not the first character and the part after
  // it holds a "." (the first one counts) that is neither its first nor its
  // last character.
  static bool IsValidEmail(const QString& szEmail);
  // The name the upload goes to on the server: a new UUID in the registry
  // form with ".txt" ("{1B4E28BA-2FA1-11D2-883F-B9A761BDE3FB}.txt"; the
  // upload's query carries the braces as "%7B" and "%7D"). Never a local
  // path, never the same twice.
  static QString NewUploadName();
};
