#pragma once
// CTReport: the report of a selection's current unit, section by section:
// the unit with its inputs, selection data, options, commissioning parameters,
// technical data, the inputs for the sibling tools, the psychrometric
// points and diagrams, the fan, efficiency and correction graphs and the
// configuration drawing, the unit under the ecodesign regulation with its
// sound, and the unit's year under the weather, schedule and prices of the
// request. One document model, written as RTF or as PDF.
//
// Which sections a unit gets depends on its type: fresh-air units (type 2)
// have no commissioning, efficiency, correction or configuration sections
// and no exhaust rows; a unit without used options has no option section.

#include "charts/BarChart.h"
#include "docs/RTFOutput.h"
#include "selection/AnnualEnergy.h"
#include "selection/Ecodesign.h"
#include "selection/OptionSelection.h"

#include <QList>
#include <QString>
#include <QStringList>

class CTCatalogueSession;
struct LTSound;
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

// A table of texts under a row of titles, as the report writes it and the
// window lists it.
struct LTTextTable {
  QStringList titles;
  QList<QStringList> rows;  // each as long as the titles
};

// The sound of the unit at its operating point as a table: a row per path
// (CTEcodesign::PathText) with its octave bands (dB), its A-weighted total
// (dB(A)) and the airflow and fan pressure the bands were scaled to. The
// titles: the path, the eight bands, LWA, airflow, pressure.
using LTSoundTable = LTTextTable;

// The unit's year in words, as the report writes it and the Annual Energy
// tab shows it. Energies in whole kWh, CO2 in whole kg, money to the whole
// unit of the prices' currency.
struct LTAnnualTexts {
  QList<LTSheetRow> inputs;   // the climate, what its weather is, the schedule, the six prices and factors
  QList<LTSheetRow> figures;  // the year's totals
  LTTextTable months;         // a row per month (its short name), then the year's
};

class CTReport {
 public:
  // The page: A4, margins 2.5 cm left, 1.5 cm elsewhere.
  static constexpr double kPaperWCm = 21.0, kPaperHCm = 29.7;
  static constexpr double kMarginLeftCm = 2.5, kMarginCm = 1.5;
  // Pictures in pixels.
  static constexpr int kDiagramW = 800, kDiagramH = 600, kGraphW = 640, kGraphH = 480;
  static constexpr int kSoundChartW = 640, kSoundChartH = 360;
  // Sound levels are written to whole decibels.
  static constexpr int kSoundDigits = 0;
  static constexpr int kAnnualChartW = 640, kAnnualChartH = 320;
  // Energies (kWh), hours, CO2 (kg) and money of the year are written whole.
  static constexpr int kAnnualDigits = 0;

  // Every section into a writer. The input's result must have a current unit.
  static void Write(CTDocOutput& out, const LTReportInput& input);
  // The report as a file: PDF for a ".pdf" name, RTF otherwise. Written
  // aside and renamed; false with the reason when it cannot be written, and
  // then no file is left.
  static bool WriteFile(const QString& szPath, const LTReportInput& input, QString& szError);
  static bool IsPdf(const QString& szPath);

  // The sound section's table, laid out as the report shows it; the window
  // shows the same (and both the chart of CTChartSetup::SoundChartData).
  // Airflows and pressures in the display units in effect.
  static LTSoundTable SoundTable(const LTSound& sound);
  // The sound pressure level in the room, e.g. "41 dB(A)".
  static QString RoomLevelText(const LTSound& sound);

  // The year of the request's current unit under its annual inputs, the
  // climate read into climate; not computed, with why, when the climate
  // does not load or the unit has no year (CTAnnualEnergy::YearOf).
  static LTAnnualResult AnnualYear(const SelectionRequest& request, const SelectionResult& result, LTClimate& climate);
  // The Annual Energy section's texts for a year computed under the inputs
  // and the climate (the window shows the same, and both charts of
  // CTChartSetup::AnnualMonthsChartData and AnnualBinsChartData).
  static LTAnnualTexts AnnualTexts(const LTAnnualInputs& inputs, const LTClimate& climate, const LTAnnualResult& year);
  // The schedule in words: "Always", or the hours and the days, e.g.
  // "07:00 to 19:00, Mon–Fri".
  static QString ScheduleText(const LTSchedule& schedule);
  // The days' short names, Monday first (the order of LTSchedule::days).
  static QStringList DayNames();
  // The prices and factors with their captions, in the order of LTPrices'
  // members: heat price, heat generator efficiency, chiller COP,
  // electricity price, CO2 of the fuel, CO2 of electricity.
  struct LTPriceItem {
    QString caption;
    double LTPrices::*value;
  };
  static QList<LTPriceItem> PriceItems();
};
