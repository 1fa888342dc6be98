#include "docs/GeneralTerms.h"

#include "docs/ConditionsDocument.h"
#include "i18n/BaseMsgMan.h"

namespace {

const char* const kParagraphs[] = {
    "Conditions of use of $1",
    "$1 is provided by $4 (\"$3\") to help heating, ventilation and air-conditioning professionals choose "
    "ventilation units with heat recovery. By using $1 you accept these conditions. If you do not accept "
    "them, do not use the program.",
    "The results of $1 are calculated from catalogue data and from the conditions you enter. They are "
    "estimates for the stated airflows, pressures and temperatures and do not replace the design of the "
    "installation by a qualified engineer. $3 maintains its data with care but does not warrant that the "
    "data or the results are complete, current or free of errors.",
    "$1 and its catalogue remain the property of $3. You may install the program and use it to select and "
    "quote $3 products. You may not sell, rent out, decompile or alter the program, nor extract its "
    "catalogue for any other purpose.",
    "As far as the applicable law permits, $3 is not liable for any direct or indirect loss, including "
    "loss of profit, data or business, that arises from the use of $1 or from reliance on its results.",
    "$3 may change the program, its data and these conditions at any time. A new version of $1 comes "
    "with the conditions that apply to it.",
    "Questions about these conditions may be sent to $2.",
    "These conditions are governed by the law of $5. Any dispute arising from them shall be brought "
    "exclusively before the competent courts of $6.",
};

}  // namespace

LTGeneralTermsParties CTGeneralTerms::Parties(const QString& szProgramName) {
  return {szProgramName,
          QStringLiteral("conditions@norvane.example"),
          QStringLiteral("Norvane"),
          QStringLiteral("Norvane Climate Systems Ltd."),
          QStringLiteral("the Republic of Veldmark"),
          QStringLiteral("Halvik")};
}

QStringList CTGeneralTerms::Paragraphs() {
  QStringList paragraphs;
  for (const char* paragraph : kParagraphs) paragraphs << QString::fromUtf8(paragraph);
  return paragraphs;
}

QStringList CTGeneralTerms::Text(const LTGeneralTermsParties& parties) {
  const QStringList values = {parties.programName,   parties.contactEmail,        parties.makerShortName,
                              parties.makerLongName, parties.jurisdictionCountry, parties.jurisdictionCity};
  QStringList text;
  for (const QString& paragraph : Paragraphs()) text << TBaseMsg::ReplaceParams(paragraph, values);
  return text;
}

QByteArray CTGeneralTerms::Rtf(const QString& szProgramName, const LTDocFont& normalFont) {
  return CTConditionsDocument::Rtf(Text(Parties(szProgramName)), szProgramName, CTConditionsDocument::kA4Landscape,
                                   normalFont);
}
