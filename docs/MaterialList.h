#pragma once
// The material list of a selection: one worksheet "All" with the unit and
// the options used on it, in the XML Spreadsheet 2003 format.

#include "docs/DocTable.h"
#include "selection/OptionSelection.h"

#include <QString>

class Cls_HRX;

// The export settings, kept in the registry store under the root's subkey
// "XMLMatList" (root "Software\Norvane", shared with the maker's other
// tools). The list uses the section header; the other values are read and
// written back as they are. Builds for servers other than 0 and 10 do not
// read or write the first three: they use false, true and the placeholder.
struct LTMaterialListSettings {
  // The section header until the user names one, as the maker's tools
  // store it under the shared key: it names no section.
  static constexpr char kSectionPlaceholder[] = "_.SECTION";

  bool sapCrm = false;
  bool useSectionHeader = true;
  QString sectionHeader = QString::fromLatin1(kSectionPlaceholder);
  bool customAll = false;
  bool customPerSystem = true;
  bool customPiping = false;

  static constexpr char kDefaultRoot[] = "Software\\Norvane";
  // Missing values take their defaults: SAP CRM on, section header on and
  // the placeholder, custom per system unless all, piping on.
  static LTMaterialListSettings Read(const QString& szRegRoot = QString());
  void Write(const QString& szRegRoot = QString()) const;
  // Whether this build has the section-header settings (servers 0 and 10).
  static bool HeaderSettingsApply();
};

class CTMaterialList {
 public:
  // The list's table: "Model", "Qty", "Description"; the section header
  // row when wanted and named (the placeholder is no name); the unit; each
  // used option with its count.
  static void Build(CTDocTable& table, const Cls_HRX& unit, const QList<LTOptionRow>& options,
                    const LTMaterialListSettings& settings);
  // Measures the table and writes the workbook beside the file, then puts
  // it in place: a failure leaves no partial file and says why.
  static bool Write(const QString& szPath, CTDocTable& table, QString& szError);
};
