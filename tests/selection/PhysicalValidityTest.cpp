// Physical validity of every computed unit of the demonstration catalogue:
// each unit of the plain (0), coil (1) and fresh-air (2) families, at the
// ends and the middle of its airflow range, at sea level and at 1500 m, in
// dry, humid, mild, cold and close-humidity air, through the selection run
// that the window and aerolith-cli use. Whatever the data and the formulas,
// a result that stands must obey what air and a passive exchanger allow:
//   - no state above saturation;
//   - the exchanger's outlets (EA, CI) between its inlets (RA, VI) in dry
//     bulb and humidity ratio;
//   - a cooling coil no colder than its refrigerant (TE): the outlet not
//     below TE, and where water is taken out, the line (dry bulb, humidity
//     ratio) from the coil's inlet through its outlet meets saturation at or
//     above TE; a heating coil no warmer than its condensing limit;
//   - the savings are the enthalpy the exchanger moves into the supply air,
//     m (h_VI - h_CI) in cooling, m (h_CI - h_VI) in heating, with m from
//     the dry-air density at CI; nothing for a fresh-air unit;
//   - the fan power is that of the fans the unit has;
//   - a fresh-air unit reaches its discharge setting or says by how much it
//     falls short.
// Airflows: the catalogue in m3/h, requests in l/s (1 l/s = 3.6 m3/h); the
// tests take whole l/s inside each unit's range, as the fields hold them.

#include "DemoCatalogue.h"
#include "selection/SelectionRun.h"

#include "catalogue/ClHRXSpeed.h"
#include "catalogue/ClIndoorUnit.h"
#include "psychro/Air.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr double kM3hPerLs = 3.6;
constexpr double kTemperatureSlackK = 1e-9;
constexpr double kHumiditySlack = 1e-12;   // kg/kg
constexpr double kSaturationSlack = 1e-9;  // kg/kg: "at saturation" on a line that ends there
constexpr double kPowerSlackKW = 1e-9;

struct Condition {
  const char* name;
  bool cooling;  // the mode with a duty; the other mode gets none
  double roomC, roomRH;
  double outdoorC, outdoorRH;
};

// Humidity ratios at sea level (kg/kg) for the close-humidity rows: cooling
// 30 degC / 35 % 0.00926 against 24 degC / 50 % 0.00930, heating 15 degC /
// 80 % 0.00849 against 21 degC / 55 % 0.00851. With humidities that close
// the exchange efficiencies alone would put the supply outlet above both.
const Condition kConditions[] = {
    {"hot-dry", true, 26, 45, 38, 20},
    {"hot-humid", true, 26, 55, 33, 75},
    {"mild", true, 24, 50, 28, 50},
    {"close humidities (cooling)", true, 24, 50, 30, 35},
    {"cold", false, 21, 40, -10, 80},
    {"cool", false, 20, 50, 5, 70},
    {"close humidities (heating)", false, 21, 55, 15, 80},
};

const double kAltitudesM[] = {0, 1500};
const double kEvaporatingC[] = {6, 9, 11};  // the coil data's offered TEs

// The first and last whole l/s inside a unit's range, and the middle one.
std::vector<double> AirflowsLs(const Cls_HRX& unit) {
  double lo = std::ceil(unit.GetMinAirflow() / kM3hPerLs), hi = std::floor(unit.GetMaxAirflow() / kM3hPerLs);
  while (lo * kM3hPerLs < unit.GetMinAirflow()) ++lo;
  while (hi * kM3hPerLs > unit.GetMaxAirflow()) --hi;
  return {lo, std::round((lo + hi) / 2), hi};
}

// Where the straight line (dry bulb, humidity ratio) from `in` through `out`,
// followed on to lower temperatures, first reaches saturation (degC): walked
// down in 0.01 K steps on a grid through anchorC (so that a line ending at
// saturation exactly at anchorC is seen there), then halved between the last
// point short of saturation and the first at it. Minus infinity when the line
// stays short of saturation down to 20 K below anchorC.
double FirstSaturation(const TAir& air, const RepPsychroPoint& in, const RepPsychroPoint& out, double anchorC) {
  const double slope = (in.AH - out.AH) / (in.DBT - out.DBT);  // kg/kg per K
  const auto reached = [&](double t) {
    return in.AH + slope * (t - in.DBT) - air.AbsoluteHumidity(100, t) >= -kSaturationSlack;
  };
  if (reached(in.DBT)) return in.DBT;
  constexpr double kStepK = 0.01;
  double warmer = in.DBT;
  for (int k = int(std::floor((in.DBT - anchorC) / kStepK)); k >= -2000; --k) {
    const double t = anchorC + k * kStepK;
    if (t >= in.DBT) continue;
    if (reached(t)) {
      double cooler = t;
      for (int i = 0; i < 60; ++i) {
        const double mid = (warmer + cooler) / 2;
        (reached(mid) ? cooler : warmer) = mid;
      }
      return cooler;
    }
    warmer = t;
  }
  return -std::numeric_limits<double>::infinity();
}

// The air entering and leaving a unit's refrigerant coil itself, from the
// exchanger's outlet CI and the supply VO after coil and coil fan: the fan
// (IND_PIFanMotor, W) warms the air by P / (m cp) before the coil when it
// blows through it (IND_FanPosition 0), after it when it draws through it
// (1). m: the coil's air as its capacities are rated, 1.2 kg/m3 at standard
// pressure scaled to the site's; cp = 1.006 + 1.84 w kJ/(kg K).
std::pair<RepPsychroPoint, RepPsychroPoint> CoilEnds(const Cls_IndoorUnit& coil, const RepPsychroPoint& ci,
                                                     const RepPsychroPoint& vo, const SelectionResult& result) {
  const TAir air(result.altitudeM);
  const double massFlow = 1.2 * air.GetTotalPressure() / TAir::kStandardPressurePa * result.supplyM3h / 3600;
  const double fanK = coil.GetPIFanMotor() / 1000 / (massFlow * (1.006 + 1.84 * ci.AH));
  RepPsychroPoint in = ci, out = vo;
  if (coil.GetFanPosition() == 0)
    in.DBT += fanK;
  else
    out.DBT -= fanK;
  return {in, out};
}

// One mode of one run that stood (code 0): what air and the unit allow.
// setting: the evaporating temperature of a coil in cooling, the discharge
// of a fresh-air unit.
void ExpectPhysical(const SelectionResult& result, Cls_HRX& unit, const Condition& c, double setting) {
  const bool exchanger = result.family != Cls_HRX::kFreshAirUnit;
  const bool coil = result.family == Cls_HRX::kCoilUnit;
  const LTModeResult& m = c.cooling ? result.cooling : result.heating;
  const ALPsychroSet& s = m.states;
  const TAir air(result.altitudeM);

  // 1. No state above saturation, and each state's enthalpy that of its own
  // dry bulb and humidity (h = 1.006 t + W (2501 + 1.84 t)).
  const std::pair<const char*, const RepPsychroPoint*> states[] = {
      {"RA", &s.RA}, {"OA", &s.OA}, {"EA", &s.EA}, {"SA", &s.SA},
      {"VI", &s.VI}, {"VO", &s.VO}, {"CI", &s.CI}, {"HI", &s.HI}};
  for (const auto& [label, state] : states) {
    EXPECT_LE(state->RH, 100 + 1e-9) << label << " at " << state->DBT << " degC, " << state->AH << " kg/kg";
    EXPECT_GE(state->RH, 0) << label;
    EXPECT_NEAR(state->e, 1.006 * state->DBT + state->AH * (2501 + 1.84 * state->DBT), 1e-9) << label;
  }

  // 2. A passive exchanger's outlets lie between its inlets.
  if (exchanger) {
    for (const auto& [label, out] : {std::pair{"EA", &s.EA}, std::pair{"CI", &s.CI}}) {
      EXPECT_GE(out->DBT, std::min(s.RA.DBT, s.VI.DBT) - kTemperatureSlackK) << label;
      EXPECT_LE(out->DBT, std::max(s.RA.DBT, s.VI.DBT) + kTemperatureSlackK) << label;
      EXPECT_GE(out->AH, std::min(s.RA.AH, s.VI.AH) - kHumiditySlack)
          << label << " " << out->AH << ": RA " << s.RA.AH << ", VI " << s.VI.AH;
      EXPECT_LE(out->AH, std::max(s.RA.AH, s.VI.AH) + kHumiditySlack)
          << label << " " << out->AH << ": RA " << s.RA.AH << ", VI " << s.VI.AH;
    }
  }

  // 3. The coil against its refrigerant. Cooling: the coil's own inlet and
  // outlet, its fan's heat taken out where the fan sits (the capacities are
  // net of it).
  Cls_IndoorUnit* indoor = coil ? unit.GetIndoor() : nullptr;
  if (coil) {
    ASSERT_NE(indoor, nullptr);
  }
  if (coil && c.cooling) {
    const double te = setting;
    const auto [coilIn, coilOut] = CoilEnds(*indoor, s.CI, s.VO, result);
    EXPECT_GE(coilOut.DBT, te - kTemperatureSlackK) << "coil outlet " << coilOut.DBT << " degC colder than TE";
    if (coilOut.AH < coilIn.AH) {
      EXPECT_LT(coilOut.DBT, coilIn.DBT) << "water taken out of air that is not cooled";
      if (coilOut.DBT < coilIn.DBT) {
        EXPECT_GE(FirstSaturation(air, coilIn, coilOut, te), te - 1e-6)
            << "coil inlet " << coilIn.DBT << " degC / " << coilIn.AH << ", outlet " << coilOut.DBT << " degC / "
            << coilOut.AH << ", limited " << m.coilLimited;
      }
    }
  }
  // Heating: the coil's outlet is VO, or HI when a humidifier follows (HI
  // stays the exchanger's outlet without one).
  if (coil && !c.cooling) {
    const double limit = indoor->GetCondensingLimit();
    const RepPsychroPoint& outlet = result.hasHumidifier ? s.HI : s.VO;
    if (m.coilLimited) {
      EXPECT_NEAR(outlet.DBT, limit, kTemperatureSlackK);
    } else if (limit > 0) {
      EXPECT_LE(outlet.DBT, limit + kTemperatureSlackK);
    }
  }

  // 4. Savings: the enthalpy moved over the exchanger alone.
  if (exchanger) {
    const double massFlow = air.DryAirDensity(s.CI.DBT) * result.supplyM3h / 3600;  // kg/s
    const double moved = massFlow * (c.cooling ? s.VI.e - s.CI.e : s.CI.e - s.VI.e);
    EXPECT_NEAR(m.latentSavingsKW + m.sensibleSavingsKW, moved, kPowerSlackKW);
  } else {
    EXPECT_EQ(m.latentSavingsKW, 0);
    EXPECT_EQ(m.sensibleSavingsKW, 0);
  }

  // 5. The fans the unit has: a fresh-air unit has no exhaust fan.
  ASSERT_TRUE(result.fans.known);
  ASSERT_NE(unit.GetSupplySpeed(), nullptr);
  double fanKW = unit.GetSupplySpeed()->GetPowerInput();
  if (exchanger) {
    ASSERT_NE(unit.GetExhaustSpeed(), nullptr);
    fanKW += unit.GetExhaustSpeed()->GetPowerInput();
  }
  EXPECT_NEAR(result.fans.totalKW, fanKW, kPowerSlackKW);

  // 6. A fresh-air unit reaches its discharge or says how far it falls short.
  if (!exchanger) {
    EXPECT_DOUBLE_EQ(m.dischargeC, setting);
    const double reached = s.SA.DBT;
    if (std::fabs(reached - setting) <= Cls_HRX::kDischargeToleranceK + kTemperatureSlackK) {
      EXPECT_EQ(m.shortfallK, 0) << "reached " << reached;
    } else {
      EXPECT_GT(m.shortfallK, 0) << "reached " << reached;
      EXPECT_NEAR(m.shortfallK, c.cooling ? reached - setting : setting - reached, kTemperatureSlackK)
          << "reached " << reached;
      EXPECT_FALSE(m.notes.isEmpty()) << "reached " << reached;
    }
  }
}

class PhysicalValidity : public DemoCatalogueTest {
 protected:
  // A request for one family at a total supply (l/s), balanced, no filters.
  static SelectionRequest Request(int family, double supplyLs, double altitudeM, double espPa) {
    SelectionRequest r;
    r.family = family;
    r.basis = AirflowBasis::kTotals;
    r.totalSupplyLs = supplyLs;
    r.supplyEspPa = r.exhaustEspPa = espPa;
    r.altitudeM = altitudeM;
    return r;
  }

  // The candidate list of a run in which the named unit is a candidate, and
  // its row: the first design ESP, from the highest down in 10 Pa steps, at
  // which one of its speeds moves the airflow within the speed's limit.
  struct Picked {
    SelectionResult result;
    SelectionRequest request;
    int index = -1;
  };
  static std::optional<Picked> Pick(int family, const QString& name, double supplyLs, double altitudeM) {
    const double maxEsp = CTSelectionRun::FamilyRanges(Session(), family).maxEspPa;
    for (double esp = maxEsp; esp > 0; esp -= 10) {
      Picked p{{}, Request(family, supplyLs, altitudeM, esp), -1};
      p.result = CTSelectionRun::RunCandidates(Session(), p.request);
      for (int i = 0; i < p.result.rows.size(); ++i)
        if (p.result.rows[i].name == name) {
          p.index = i;
          return p;
        }
    }
    return std::nullopt;
  }

  // The settings a condition is run at: a coil's offered evaporating
  // temperatures in cooling, a fresh-air unit's discharge range (its ends
  // and a point between whole degrees); a single 0 where none applies.
  static std::vector<double> Settings(Cls_HRX& unit, const Condition& c) {
    if (unit.GetType() == Cls_HRX::kCoilUnit && c.cooling) return {std::begin(kEvaporatingC), std::end(kEvaporatingC)};
    if (unit.GetType() != Cls_HRX::kFreshAirUnit) return {0};
    int lo = 0, hi = 0;
    c.cooling ? unit.GetCoolDischargeRange(lo, hi) : unit.GetHeatDischargeRange(lo, hi);
    return {double(lo), lo + 0.45 * (hi - lo), double(hi)};
  }

  // The request of a run for one condition at one setting; the other mode
  // gets equal room and outdoor air, so it has no duty and stands.
  static SelectionRequest ForCondition(SelectionRequest r, const Condition& c, int family, double setting) {
    LTModeInputs& duty = c.cooling ? r.cooling : r.heating;
    LTModeInputs& idle = c.cooling ? r.heating : r.cooling;
    duty.room = {c.roomC, HumidityMode::kRelativeHumidity, c.roomRH};
    duty.outdoor = {c.outdoorC, HumidityMode::kRelativeHumidity, c.outdoorRH};
    idle.room = idle.outdoor = {c.cooling ? 21.0 : 24.0, HumidityMode::kRelativeHumidity, c.cooling ? 40.0 : 50.0};
    if (family == Cls_HRX::kCoilUnit && c.cooling) r.evaporatingC = setting;
    if (family == Cls_HRX::kFreshAirUnit) {
      duty.dischargeGiven = true;
      duty.dischargeC = setting;
    }
    return r;
  }
};

TEST_F(PhysicalValidity, EveryComputedUnitObeysTheAirItWorksOn) {
  std::map<int, int> modes, succeeded;  // by family
  for (int family : {int(Cls_HRX::kPlainUnit), int(Cls_HRX::kCoilUnit), int(Cls_HRX::kFreshAirUnit)}) {
    const ObjectList<Cls_HRX> units = Session().UnitsOfFamily(family);
    ASSERT_FALSE(units.IsEmpty()) << family;
    for (const Cls_HRX* catalogueUnit : units)
      for (const double supplyLs : AirflowsLs(*catalogueUnit))
        for (const double altitudeM : kAltitudesM) {
          const QString name = catalogueUnit->GetName();
          const std::string where = name.toStdString() + " at " + std::to_string(int(supplyLs)) + " l/s, " +
                                    std::to_string(int(altitudeM)) + " m";
          std::optional<Picked> picked = Pick(family, name, supplyLs, altitudeM);
          if (!picked) {
            ADD_FAILURE() << where << ": not a candidate at any design ESP";
            continue;
          }
          SelectionResult& result = picked->result;
          Cls_HRX& unit = *result.candidates.Item(picked->index);
          for (const Condition& c : kConditions)
            for (const double setting : Settings(unit, c)) {
              SCOPED_TRACE(where + ", " + c.name + ", " + (c.cooling ? "cooling" : "heating") +
                           (setting != 0 ? " at " + std::to_string(setting) + " degC" : std::string()));
              const SelectionRequest request = ForCondition(picked->request, c, family, setting);
              CTSelectionRun::ComputeCandidate(result, request, picked->index);
              ASSERT_EQ(result.current, picked->index);
              ++modes[family];
              if (!(c.cooling ? result.cooling : result.heating).Succeeded()) continue;
              ++succeeded[family];
              ExpectPhysical(result, unit, c, setting);
            }
        }
  }

  // The table ran: most modes of every family were computed, not refused
  // (a fresh-air unit refuses dry air in cooling, and heating whose room is
  // already at its lowest discharge).
  for (int family : {0, 1, 2}) {
    SCOPED_TRACE(family);
    EXPECT_GT(succeeded[family], modes[family] / 2) << succeeded[family] << " of " << modes[family];
  }
}

}  // namespace
