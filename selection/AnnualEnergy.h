#pragma once
// What a unit recovers, spends and saves over a year of hourly weather.
//
// Each hour the unit runs, its fans draw their power at the speeds chosen,
// and the outdoor air decides what the exchanger does:
//   - colder than the heating room: it recovers heat, computed as the
//     design point computes heating (the room is the heating mode's);
//   - else, its enthalpy above the cooling room's: it recovers cooling, as
//     the design point computes cooling;
//   - else the room needs neither: a unit with a bypass leads the air past
//     its exchanger and nothing happens; one without keeps exchanging, and
//     what that does to the supply air counts against the cooling room
//     (mostly free cooling lost, so the cooling recovered falls).
// The exchanger's inlet heater follows the design point's rule. An hour
// whose air breaks one of the unit's limits recovers nothing and is
// counted. Savings are summed as the design point shows them (kW, latent
// and sensible together), one hour at a time.
//
// Money and CO2: what the recovered heat would have cost from the heat
// generator (fuel = heat / efficiency) and the recovered cooling from the
// chiller (electricity = cooling / COP), less the electricity of the fans
// and of the inlet heater. Positive: the unit saves.

#include "selection/AnnualInputs.h"
#include "selection/Climate.h"
#include "selection/SelectionRequest.h"
#include "selection/SelectionResult.h"

#include <QList>
#include <QString>

#include <array>
#include <vector>

class Cls_HRX;
class CTCatalogueSession;

struct LTAnnualFigures {
  double operatingHours = 0;
  double heatRecoveredKWh = 0;
  double coolingRecoveredKWh = 0;
  double inletHeaterKWh = 0;
  double fanKWh = 0;
  double netKWh = 0;  // recovered heat and cooling less inlet heater and fans
  double cost = 0;    // money saved, net
  double co2Kg = 0;   // CO2 avoided, net
  int hoursOutsideLimits = 0;
};

// The operating hours of one band of outdoor temperature (kBinK wide,
// starting at fromC) and what the unit recovered in them.
struct LTTemperatureBin {
  double fromC = 0;
  int hours = 0;
  double heatKWh = 0, coolingKWh = 0;
};

// How the unit works over the year, from its selection.
struct LTUnitYear {
  double supplyM3h = 0, exhaustM3h = 0;
  bool upsideDown = false;
  double altitudeM = 0;
  double heatingRoomC = 20, heatingRoomRH = 50;  // %
  double coolingRoomC = 27, coolingRoomRH = 50;
  double fanKW = 0;  // both fans at their speeds
  bool bypass = false;
};

struct LTAnnualResult {
  static constexpr double kBinK = 2;
  bool computed = false;
  QString message;  // why not
  QString climateName;
  LTAnnualFigures year;
  std::array<LTAnnualFigures, 12> months{};
  std::vector<LTTemperatureBin> bins;  // ascending, only bands with operating hours
};

// One candidate of the list, ranked by its year.
struct LTRankedCandidate {
  int index = 0;  // in the candidate list
  QString unit;   // qualified: with its speeds
  QString supplySpeed, exhaustSpeed;
  LTAnnualFigures year;
};

class CTAnnualEnergy {
 public:
  // The unit's year from a selection that computed it: airflows, rooms,
  // altitude, fans and bypass.
  static LTUnitYear UnitYearOf(Cls_HRX& unit, const SelectionResult& result, const SelectionRequest& request);
  static LTAnnualResult Year(Cls_HRX& unit, const LTUnitYear& how, const LTClimate& climate, const LTSchedule& schedule,
                             const LTPrices& prices);
  // The year of the selection's current unit; not computed (with why) when
  // there is none or the climate does not load.
  static LTAnnualResult YearOf(const SelectionResult& result, const SelectionRequest& request, const LTClimate& climate);
  // Every candidate's year, the largest net benefit first.
  static QList<LTRankedCandidate> Rank(const SelectionResult& result, const SelectionRequest& request,
                                       const LTClimate& climate);
  // The weather of the inputs, read once per text: a second ask for the
  // same climate answers from memory.
  static bool LoadClimate(const QString& szSpec, LTClimate& out, QString& szWhy);
};
