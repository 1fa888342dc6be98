#pragma once
// The print parameters of reports: the distributor's three name and address
// lines and logo, kept in the registry store, and the page decorations the
// report takes from them.

#include "docs/PageDecorations.h"

#include <QString>
#include <QStringList>

class CTPrintParams {
 public:
  static constexpr int kMaxLogoWidth = 590, kMaxLogoHeight = 236;

  static QString GetLine(int nLine);  // 1 to 3
  static QString GetLogoFile();
  // Whether a logo file can be used: empty (no logo) or a picture of at most
  // 590 x 236 pixels; otherwise false with message 41 in szMessage (a file
  // that cannot be read says so).
  static bool CheckLogo(const QString& szLogoFile, QString& szMessage);
  // Stores the trimmed lines and the logo; the next report builds its
  // decorations again.
  static void Save(const QStringList& lines, const QString& szLogoFile);

  // The report's decorations: the maker's logo, the distributor's logo
  // and the build's logo in the header; the distributor's lines, the
  // build's distributor lines and the page number in the footer; the
  // ownership notice above the footer. Built once, kept until Save.
  static const CTDecorationDefinition& GetPageDecorations();
  // The build's distributor lines (the about box shows them); empty in a
  // build that has none.
  static QStringList BuildDistributorLines();
};
