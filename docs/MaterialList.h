#pragma once
// The material list of a selection: one worksheet "All" with the unit and
// the options used on it, in the XML Spreadsheet 2003 format.

#include "docs/DocTable.h"
#include "selection/OptionSelection.h"

#include <QString>

class Cls_HRX;

// The export settings, kept in the registry store under
// "Software\Norvane\XMLMatList" and shared with the maker's other tools.
struct LTMaterialListSettings {
  bool useSectionHeader = true;
  QString sectionHeader = QStringLiteral("_.SECTION");

  static LTMaterialListSettings Read();
};

class CTMaterialList {
 public:
  // The list's table: "Model", "Qty", "Description"; the section header
  // row when wanted; the unit; each used option with its count.
  static void Build(CTDocTable& table, const Cls_HRX& unit, const QList<LTOptionRow>& options,
                    const LTMaterialListSettings& settings);
  // Measures the table and writes the workbook beside the file, then puts
  // it in place: a failure leaves no partial file and says why.
  static bool Write(const QString& szPath, CTDocTable& table, QString& szError);
};
