#pragma once
// CTPrivacyNotice: what the user accepts before an upgrade is downloaded
// from a server that receives the download report (CTUpgradeSteps::
// ReportFields): what the report holds, what it does not, and whom to ask.
// The paragraphs are written once with "$1" for the program's name; the
// first one is the title. The window that shows the notice lays it out
// (CTConditionsDocument).

#include <QString>
#include <QStringList>

class CTPrivacyNotice {
 public:
  // The paragraphs as written, "$1" and all; the title first.
  static QStringList Paragraphs();
  // The paragraphs in the interface language with the program's name put in.
  static QStringList Text(const QString& szProgramName);
};
