#pragma once
// CTPrivacyNotice: what the user accepts before an upgrade is downloaded
// from a server that receives the download report (CTUpgradeSteps::
// ReportFields): what the report holds, what it does not, and whom to ask.
// The paragraphs are written once with "$1" for the program's name; the
// first one is the title.
//
// Header only, beside the rules of the upgrade window that use it.

#include "docs/RTFOutput.h"
#include "i18n/BaseMsgMan.h"

#include <QBuffer>
#include <QByteArray>
#include <QString>
#include <QStringList>

class CTPrivacyNotice {
 public:
  static constexpr double kPageWidthCm = 21.0, kPageHeightCm = 29.7, kMarginCm = 1.5;  // A4

  // The paragraphs as written, "$1" and all; the title first.
  static QStringList Paragraphs() {
    static const char* const kParagraphs[] = {
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
    QStringList paragraphs;
    for (const char* paragraph : kParagraphs) paragraphs << QString::fromUtf8(paragraph);
    return paragraphs;
  }

  // The paragraphs with the program's name put in.
  static QStringList Text(const QString& szProgramName) {
    QStringList text;
    for (const QString& paragraph : Paragraphs())
      text << TBaseMsg::ReplaceParams(TBaseMsg::Tr(paragraph), {szProgramName});
    return text;
  }

  // The notice as a document: the title centred in bold, then each
  // paragraph after an empty line, on an A4 page with 1.5 cm margins.
  static QByteArray Rtf(const QString& szProgramName, const LTDocFont& normalFont = LTDocFont()) {
    const QStringList text = Text(szProgramName);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
      CTRTFOutput rtf(buffer, szProgramName, kPageWidthCm, kPageHeightCm, kMarginCm, kMarginCm, kMarginCm,
                      kMarginCm);
      rtf.SetFontCharacteristics(CTDocOutput::kNormal, normalFont);
      rtf.TextCenter(text.first(), DocStyle::kBold, DrawColors::kWindowText);
      for (qsizetype i = 1; i < text.size(); ++i) {
        rtf.TextWriteln();
        rtf.TextWrite(text[i]);
        rtf.TextWriteln();
      }
    }
    return buffer.data();
  }
};
