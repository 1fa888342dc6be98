// Selection of units by airflow and pressure: for every unit of a list and
// every admissible pair of its fan speeds, whether it moves the required
// airflows against the required pressures, and by how much.
//
// A margin is the available pressure of a speed at the required airflow minus
// the required ESP, the filter drop and the plenum drop of that side (Pa). A
// solution is keyed by
//   HRX_MaxAirflow x 10000 + supply margin x 100 + exhaust margin
// so the smallest adequate unit with the least surplus comes first. A unit
// without an exhaust fan has one side: its exhaust margin counts 0 and each
// group of its speeds gives at most one solution.

#include "catalogue/ClHRX.h"

#include "catalogue/ClHRXSpType.h"
#include "catalogue/ClHRXSpeed.h"
#include "catalogue/Factory.h"
#include "catalogue/Sentinels.h"

#include <limits>
#include <vector>

namespace {

constexpr double kNoMargin = Sentinel::kAboveAll;  // no speed found yet

// The best speed of one side, or why there is none.
struct SideResult {
  const Cls_HRXSpeed* speed = nullptr;
  double margin = kNoMargin;
  int failure = 0;
};

// Walks the speeds of one side in their order (highest step first). A speed
// is admissible when its curve covers the airflow, it can reach the required
// ESP at all, it delivers what the side needs, and it does not run above its
// ESP limit. Among admissible speeds the smallest margin wins, ties keeping
// the earlier; a margin of exactly 0 meets the requirement.
SideResult BestSpeed(const std::vector<const Cls_HRXSpeed*>& group, double airflow, double requiredEsp,
                     double filterDrop, double plenumDrop, int codeTooLargeAirflow, int codeTooLargeEsp,
                     int codeTooSmallEsp) {
  SideResult result;
  bool covers = false, reaches = false, withinLimit = false;
  for (const Cls_HRXSpeed* speed : group) {
    if (speed->GetArgumentHigh() < airflow) continue;
    covers = true;
    const double available = speed->Evaluate(airflow);
    const double maximum = speed->Evaluate(speed->GetArgumentLow());
    if (requiredEsp > maximum) continue;
    if (available < requiredEsp + filterDrop + plenumDrop) continue;
    reaches = true;
    if (available > speed->GetEspLimit()) continue;
    withinLimit = true;
    const double margin = available - requiredEsp - filterDrop - plenumDrop;
    if (margin >= 0 && margin < result.margin) {
      result.margin = margin;
      result.speed = speed;
    }
  }
  if (!covers)
    result.failure = codeTooLargeAirflow;
  else if (!reaches)
    result.failure = codeTooLargeEsp;
  else if (!withinLimit)
    result.failure = codeTooSmallEsp;
  return result;
}

}  // namespace

std::unique_ptr<Cls_HRX> Cls_HRX::NewSolution(const Cls_HRXSpeed* pSupply, const Cls_HRXSpeed* pExhaust) const {
  auto solution = std::make_unique<Cls_HRX>(GetID(), GetFactory());
  solution->CopyData(*this, true, 0);
  solution->SetStatus(GetStatus());
  solution->v_supplySpeed = pSupply;
  solution->v_exhaustSpeed = pExhaust;
  return solution;
}

ObjectList<Cls_HRX> Cls_HRX::SelectedDevices(const ObjectList<Cls_HRX>& TheVentilationDevices,
                                             const Cls_HRXSpType* MaxSpeedType, double ReqSupplyAir,
                                             double ReqExhaustAir, double MinSupplyESP, double MinExhaustESP,
                                             int SupplyFilterClass, int ExhaustFilterClass, int nSelectedPlenums,
                                             int& ErrCode) {
  ObjectList<Cls_HRX> solutions(true);
  // Negated tests so that a NaN input fails too.
  ErrCode = !(ReqSupplyAir > 0)    ? kSupplyAirflowTooSmall
            : !(ReqExhaustAir > 0) ? kExhaustAirflowTooSmall
            : !(MinSupplyESP > 0)  ? kSupplyEspTooSmall
            : !(MinExhaustESP > 0) ? kExhaustEspTooSmall
                                   : kOk;
  if (ErrCode != kOk) return solutions;
  if (TheVentilationDevices.IsEmpty()) return solutions;

  // The ladder of speed types: by weight, up to the highest allowed.
  std::vector<const Cls_HRXSpType*> ladder;
  if (auto* factory = dynamic_cast<CTFactory*>(TheVentilationDevices.Item(0)->GetFactory())) {
    for (const Cls_HRXSpType* type : factory->OrderedHrxSpTypes()) {
      ladder.push_back(type);
      if (MaxSpeedType && type->GetID() == MaxSpeedType->GetID()) break;
    }
  }

  for (Cls_HRX* unit : TheVentilationDevices) {
    const auto groupOf = [&](const Cls_HRXSpType* type) {
      std::vector<const Cls_HRXSpeed*> group;
      for (const Cls_HRXSpeed* speed : unit->Speeds())
        if (speed->IsOfType(type)) group.push_back(speed);
      return group;
    };
    // Without an exhaust fan the exhaust requirements ask nothing of the unit.
    const bool exhaustFan = unit->HasExhaustFan();
    // One evaluation: supply from one group, exhaust from another.
    const auto evaluate = [&](const std::vector<const Cls_HRXSpeed*>& supplyGroup,
                              const std::vector<const Cls_HRXSpeed*>& exhaustGroup) {
      if (ReqSupplyAir < unit->GetMinAirflow()) return void(ErrCode = kSupplyAirflowTooSmall);
      if (ReqSupplyAir > unit->GetMaxAirflow()) return void(ErrCode = kSupplyAirflowTooLarge);
      if (exhaustFan && ReqExhaustAir < unit->GetMinAirflow()) return void(ErrCode = kExhaustAirflowTooSmall);
      if (exhaustFan && ReqExhaustAir > unit->GetMaxAirflow()) return void(ErrCode = kExhaustAirflowTooLarge);
      double supplyPlenum = 0, exhaustPlenum = 0;
      unit->GetPlenumESP(nSelectedPlenums, ReqSupplyAir, ReqExhaustAir, supplyPlenum, exhaustPlenum);
      if (SupplyFilterClass > 0 && !unit->GetFilterOption(SupplyFilterClass)) return;
      if (exhaustFan && ExhaustFilterClass > 0 && !unit->GetFilterOption(ExhaustFilterClass)) return;
      const double supplyFilter = SupplyFilterClass > 0 ? unit->GetFilterESP(SupplyFilterClass, ReqSupplyAir) : 0;
      const SideResult supply = BestSpeed(supplyGroup, ReqSupplyAir, MinSupplyESP, supplyFilter, supplyPlenum,
                                          kSupplyAirflowTooLarge, kSupplyEspTooLarge, kSupplyEspTooSmall);
      if (supply.failure) return void(ErrCode = supply.failure);
      SideResult exhaust;
      exhaust.margin = 0;
      if (exhaustFan) {
        const double exhaustFilter =
            ExhaustFilterClass > 0 ? unit->GetFilterESP(ExhaustFilterClass, ReqExhaustAir) : 0;
        exhaust = BestSpeed(exhaustGroup, ReqExhaustAir, MinExhaustESP, exhaustFilter, exhaustPlenum,
                            kExhaustAirflowTooLarge, kExhaustEspTooLarge, kExhaustEspTooSmall);
        if (exhaust.failure) return void(ErrCode = exhaust.failure);
      }
      std::unique_ptr<Cls_HRX> solution = unit->NewSolution(supply.speed, exhaust.speed);
      solution->v_supplyMargin = supply.margin;
      solution->v_exhaustMargin = exhaust.margin;
      solution->v_selKey = unit->GetMaxAirflow() * 10000 + supply.margin * 100 + exhaust.margin;
      solutions.Add(solution.release());
    };

    std::vector<const Cls_HRXSpeed*> previous;
    for (const Cls_HRXSpType* type : ladder) {
      std::vector<const Cls_HRXSpeed*> current = groupOf(type);
      if (current.empty()) continue;
      evaluate(current, current);
      // Pairs of adjacent speed types are pairs of two fans.
      if (exhaustFan && !previous.empty()) {
        evaluate(current, previous);
        evaluate(previous, current);
      }
      previous = std::move(current);
    }
  }
  if (!solutions.IsEmpty()) ErrCode = kOk;
  solutions.Sort(CompareSolution);
  return solutions;
}
