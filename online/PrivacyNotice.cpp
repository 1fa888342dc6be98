#include "online/PrivacyNotice.h"

#include "i18n/BaseMsgMan.h"

namespace {

const char* const kParagraphs[] = {
    "Data sent when $1 is upgraded",
    "When you download a new version of $1, the program sends a short report to the download server. "
    "It tells Norvane which versions, languages and configurations are in use, so that translations and "
    "catalogues go where they are needed.",
    "The report holds: the program's name; the version, language and configuration you download and the "
    "version of its catalogue; how often the version you use now was started; and the language and country "
    "you chose for the Norvane programs.",
    "The report holds nothing that identifies you: no name, no address, no projects and no files of yours. "
    "Norvane keeps the reports as counts and does not pass them on.",
    "If you do not accept these conditions, nothing is downloaded and no report is sent. Your "
    "Norvane representative can supply new versions of $1 as well.",
    "Questions about this notice may be sent to privacy@norvane.example.",
};

}  // namespace

QStringList CTPrivacyNotice::Paragraphs() {
  QStringList paragraphs;
  for (const char* paragraph : kParagraphs) paragraphs << QString::fromUtf8(paragraph);
  return paragraphs;
}

QStringList CTPrivacyNotice::Text(const QString& szProgramName) {
  QStringList text;
  for (const QString& paragraph : Paragraphs())
    text << TBaseMsg::ReplaceParams(TBaseMsg::Tr(paragraph), {szProgramName});
  return text;
}
