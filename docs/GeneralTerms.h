#pragma once
// CTGeneralTerms: the conditions of use the user accepts before working with
// the program. The paragraphs are written once, with placeholders for the
// names they mention:
//   $1 the program's name         $4 the maker's full company name
//   $2 the contact e-mail address $5 the country whose law governs them
//   $3 the maker's short name     $6 the city whose courts hear disputes
// The first paragraph is the title.

#include "docs/RTFOutput.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// The values of $1 to $6, in that order.
struct LTGeneralTermsParties {
  QString programName;
  QString contactEmail;
  QString makerShortName;
  QString makerLongName;
  QString jurisdictionCountry;
  QString jurisdictionCity;
};

class CTGeneralTerms {
 public:
  // The maker's names, address and jurisdiction, with the program's name.
  static LTGeneralTermsParties Parties(const QString& szProgramName);
  // The paragraphs as written, placeholders and all; the title first.
  static QStringList Paragraphs();
  // The paragraphs with the parties put in.
  static QStringList Text(const LTGeneralTermsParties& parties);
  // The conditions as a document: the title centred in bold, then each
  // paragraph after an empty line, on a 29.7 x 21 cm page with 1.5 cm
  // margins, in normalFont.
  static QByteArray Rtf(const QString& szProgramName, const LTDocFont& normalFont = LTDocFont());
};
