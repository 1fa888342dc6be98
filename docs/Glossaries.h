#pragma once
// CTGlossaries: the program's glossaries for the language chosen in the
// locale store. The interface glossary translates forms, messages and the
// program's other texts; it is the file beside the program named as the
// program with ".xml" when that reads, else the program's own for the
// language. The catalogue glossary (central and company terms) translates
// the catalogue's texts. English needs none.
//
// The program's own glossaries are the resources
//   glossaries/<language id>/UIGlossaryXML.xml
//   glossaries/<language id>/CentralGlossary.xml
//   glossaries/<language id>/CompanyGlossary.xml
// for German (1031) and French (1036).

#include "i18n/UnicodeGlossary.h"

#include <QString>

#include <memory>

class CTGlossaries {
 public:
  static constexpr int kEnglish = 1033;

  // The language of the locale store (the locale dialog's choice); English
  // when none is stored.
  static int ChosenLanguage();
  // "de", "fr", "en" and the like: the language id, 0 when unknown.
  static int LanguageOfCode(const QString& szCode);

  // Loads the interface glossary and makes it the one of messages and texts
  // and its language the interface language. szBesideFile: the file beside
  // the program (may be empty). False, and English, when none loads.
  static bool LoadInterface(int nLanguage, const QString& szBesideFile = QString());
  static const CTUnicodeGlossary* Interface();
  // The catalogue glossary of the language (owned here; none for English or
  // when none loads). Give it to the factory before it connects.
  static CTUnicodeGlossary* LoadCatalogue(int nLanguage);
  // English again: no glossaries in effect (tests, a second start).
  static void Reset();
};
