#pragma once
// CTPreferences: the user's settings kept in the registry store: the
// folders for projects and for reports, the unit chosen for every kind of
// quantity (subkey "Units"), and the material-list settings. The diagram
// kind and colours are the diagram's own (TAirPropDiagram).
//
// The first start of a build for server 2 finds no "Units" subkey and
// starts in imperial units, written at once; later starts keep what the
// user chose.

#include "docs/MaterialList.h"

#include <QString>

class CTPreferences {
 public:
  static constexpr char kKey[] = "Software\\Norvane\\Hi-Trivane Selection\\Aerolith\\Preferences";

  static QString PrefProjectPath();
  static QString PrefReportPath();
  static void SetPrefProjectPath(const QString& szPath);
  static void SetPrefReportPath(const QString& szPath);
  static const LTMaterialListSettings& MaterialList();
  static void SetMaterialList(const LTMaterialListSettings& settings);

  // Reads everything; a value that is missing or unreadable keeps what is
  // in effect. The units need the program's dimensions registered first.
  static void ReadRegistry();
  // Writes everything; failures are ignored.
  static void WriteRegistry();
  // Where the project (or report) dialogs open: the preferred folder when
  // it exists, else szFallback.
  static QString StartFolder(bool bReports, const QString& szFallback);
};
