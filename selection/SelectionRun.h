#pragma once
// CTSelectionRun: a selection from a request to a result, the same for the
// window and aerolith-cli.
//
// The road of one run (Run):
//   1. the airflows: from persons or area bounded to the family's range (the
//      persons or area corrected to match), or the totals as given; exhaust
//      equal to supply where the family has no exhaust inputs;
//   2. the candidates of the three plenum arrangements, the asked one kept;
//   3. the condition checks (room/outdoor order, wet bulb above dry bulb):
//      the first wrong value is corrected and nothing is computed;
//   4. the chosen candidate in cooling, then heating (a failure in cooling
//      leaves heating uncomputed), each followed by the heater check, the
//      savings over the exchanger, the duct pressures, ratios and fan power.

#include "selection/CatalogueSession.h"
#include "selection/SelectionRequest.h"
#include "selection/SelectionResult.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>

class CTCatalogueSession;
class TAir;

// A heater option of a unit, copied out of the catalogue.
struct LTHeaterOption {
  int id;
  QString name;
  double kW;
};

class CTSelectionRun {
 public:
  static LTFamilyRanges FamilyRanges(const CTCatalogueSession& session, int nFamily);

  // The request bounded as the fields of the window bound it: every value
  // within its field's range (the airflow totals and ESPs within the
  // family's), hidden inputs neutral, exhaust inputs following the supply
  // where the family has none. Values are not rounded: the window's fields
  // hold them in their resolution in the unit the user works in, scripts
  // give them as they are. The derived airflow is not applied.
  // Every value within its range, as Normalized bounds it, the inputs the
  // family hides kept as they are (a form keeps them for the next family).
  static SelectionRequest WithinRanges(const SelectionRequest& request, const LTFamilyRanges& ranges);
  static SelectionRequest Normalized(const SelectionRequest& request, const LTFamilyRanges& ranges);

  // Step 1 on a normalised request: supply and exhaust airflow (l/s), with
  // the persons or area corrected when the derived airflow was bounded.
  struct LTAirflows {
    double supplyLs = 0;
    double exhaustLs = 0;
    bool corrected = false;
    double areaPerPersonM2 = 0;
    double persons = 0;
  };
  static LTAirflows Airflows(const SelectionRequest& request, const LTFamilyRanges& ranges);

  // Step 3: the first wrong condition, corrected in the request.
  static std::optional<LTConditionCorrection> CheckConditions(SelectionRequest& request);

  // The whole run.
  static SelectionResult Run(const CTCatalogueSession& session, const SelectionRequest& request);
  // Steps 1 and 2 only (no unit computed).
  static SelectionResult RunCandidates(const CTCatalogueSession& session, const SelectionRequest& request);
  // Steps 3 and 4 for candidate nIndex of a result of RunCandidates.
  static void ComputeCandidate(SelectionResult& result, const SelectionRequest& request, int nIndex);

  // Whether the family's exhaust airflow and ESP are inputs of their own
  // (with the exhaust side of the duct data and the airflow ratio); past
  // the coil family the exhaust follows the supply.
  static bool HasExhaustInputs(int nFamily);

  // The heater options of a unit, in catalogue order.
  static QList<LTHeaterOption> HeaterOptions(Cls_HRX& unit);
  // The discharge settings a fresh-air unit offers in a mode (whole degC,
  // from its capacity tables; both 0 without tables).
  struct LTDischargeRange {
    int lo = 0;
    int hi = 0;
  };
  static LTDischargeRange DischargeRange(Cls_HRX& unit, bool bCooling);
  // The discharge a fresh-air unit runs at in a mode (degC): the setting
  // given, bounded to the unit's range, else the top of that range.
  static double FreshAirDischarge(Cls_HRX& unit, const LTModeInputs& mode, bool bCooling);
  // The option whose size covers nNeedKW with the least to spare (the first
  // on ties); -1 when none covers it.
  static int SmallestCoveringOption(const QList<LTHeaterOption>& options, double nNeedKW);

  // A check code in words, temperatures formatted by fnFormatTemp, by
  // default in the unit in effect with its display digits ("30.0 °C").
  static QString Message(int nCode, const SelectionResult& result, const SelectionRequest& request,
                         const std::function<QString(double)>& fnFormatTemp = {});
  // The notes on a mode that stands but falls short of what was asked, in
  // words, formatted as Message does.
  static QStringList Notes(const LTModeResult& mode, bool bCooling, const SelectionResult& result,
                           const SelectionRequest& request, const std::function<QString(double)>& fnFormatTemp = {});

  // The specific fan power class of a whole unit (0 to 7) for an SFP in
  // kW/(m3/s), by EN 16798-3.
  static int SfpClass(double nSfpKWPerM3s);

  // The enthalpy added to every state before display when temperatures are
  // shown in degF (kJ/kg): the enthalpy scale then starts at 0 degF dry air.
  static double EnthalpyDisplayOffset();
};
