#pragma once
// The print parameters of reports: the distributor's three name and address
// lines and logo, kept in the registry store, and the page decorations the
// report takes from them.

#include "docs/PageDecorations.h"

#include <QString>
#include <QStringList>

#include <memory>

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

  // What the report's decorations are made of.
  struct LTDecorationInput {
    QStringList distributorLines;       // the user's name and address lines, "DisLine1" to "DisLine3"
    QString szLogoFile;                 // the user's distributor logo; empty: none
    QStringList buildDistributorLines;  // the build's distributor (CTBuildDistributor); only its visible lines print
  };
  // The report's decorations: the maker's logo, the distributor's logo
  // and the build's logo in the header; the user's distributor lines (left),
  // the build's distributor lines as the about box shows them (centre) and
  // the page number (right) in the footer; the ownership notice above the
  // footer.
  static std::unique_ptr<CTDecorationDefinition> MakePageDecorations(const LTDecorationInput& input);
  // MakePageDecorations of the stored settings and the build's lines;
  // built once, kept until Save.
  static const CTDecorationDefinition& GetPageDecorations();
};
