#pragma once
// CTReport: the report of a selection's current unit, section by section:
// the unit with its inputs, selection data, options, commissioning parameters,
// technical data, the inputs for the sibling tools, the psychrometric
// points and diagrams, the fan, efficiency and correction graphs and the
// configuration drawing. One document model, written as RTF or as PDF.
//
// Which sections a unit gets depends on its type: fresh-air units (type 2)
// have no commissioning, efficiency, correction or configuration sections
// and no exhaust rows; a unit without used options has no option section.

#include "docs/RTFOutput.h"
#include "selection/OptionSelection.h"

#include <QList>
#include <QString>

class CTCatalogueSession;
struct SelectionRequest;
struct SelectionResult;

struct LTReportInput {
  const CTCatalogueSession* session = nullptr;
  const SelectionRequest* request = nullptr;
  const SelectionResult* result = nullptr;  // its current unit is reported
  QList<LTOptionRow> options;               // the unit's options; the used ones are listed
  bool psychrometric = true;                // the diagram kind preferred, else Mollier
  double deltaEnthalpy = 0;                 // the display offset of enthalpies (degF)
  LTDocFont normalFont;                     // the font of the airflow label
  QString applicationTitle = QStringLiteral("Aerolith");
  const CTDecorationDefinition* decorations = nullptr;  // none: no header or footer
};

class CTReport {
 public:
  // The page: A4, margins 2.5 cm left, 1.5 cm elsewhere.
  static constexpr double kPaperWCm = 21.0, kPaperHCm = 29.7;
  static constexpr double kMarginLeftCm = 2.5, kMarginCm = 1.5;
  // Pictures in pixels.
  static constexpr int kDiagramW = 800, kDiagramH = 600, kGraphW = 640, kGraphH = 480;

  // Every section into a writer. The input's result must have a current unit.
  static void Write(CTDocOutput& out, const LTReportInput& input);
  // The report as a file: PDF for a ".pdf" name, RTF otherwise. Written
  // aside and renamed; false with the reason when it cannot be written, and
  // then no file is left.
  static bool WriteFile(const QString& szPath, const LTReportInput& input, QString& szError);
  static bool IsPdf(const QString& szPath);
};
