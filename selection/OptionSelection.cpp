#include "selection/OptionSelection.h"

#include "catalogue/ClDevOptCombination.h"
#include "catalogue/ClDeviceOption.h"
#include "catalogue/ClHRX.h"
#include "catalogue/OptionTypes.h"

#include <algorithm>
#include <memory>

LTOptionInputs LTOptionInputs::Of(const SelectionRequest& request) {
  LTOptionInputs inputs;
  if (request.cooling.inletHeater == HeaterChoice::kOption) inputs.coolHeaterOptionID = request.cooling.inletOptionID;
  if (request.heating.inletHeater == HeaterChoice::kOption) inputs.heatHeaterOptionID = request.heating.inletOptionID;
  // The filter rows exist for the plain family only.
  if (request.family == Cls_HRX::kPlainUnit) {
    inputs.supplyFilter = request.supplyFilter;
    inputs.exhaustFilter = request.exhaustFilter;
  }
  inputs.plenum = request.plenum;
  return inputs;
}

namespace {

bool Same(const Cls_DeviceOption* option, int nClsID, int nObjID) {
  return option && option->TableIndex() == nClsID && option->GetID() == nObjID;
}

}  // namespace

QList<LTOptionRow> CTOptionSelection::FillOptions(Cls_HRX& unit, const LTOptionInputs& inputs) {
  QList<LTOptionRow> rows;
  const Cls_DeviceOption* supplyFilter = inputs.supplyFilter > 0 ? unit.GetFilterOption(inputs.supplyFilter) : nullptr;
  const Cls_DeviceOption* exhaustFilter = inputs.exhaustFilter > 0 ? unit.GetFilterOption(inputs.exhaustFilter) : nullptr;
  const Cls_DeviceOption* plenum = unit.GetPlenumOption();
  const ObjectList<Cls_DeviceOption>* stored = unit.GetUsedOptions();
  for (Cls_DevOptCombination* combination : unit.GetOptionCombinationsForHRX()) {
    LTOptionRow row;
    row.combinationID = combination->GetID();
    combination->GetDeviceOptionRef(row.optionClsID, row.optionObjID);
    const std::unique_ptr<Cls_DeviceOption> option = combination->GetDeviceOption();
    if (!option) continue;  // a combination without its option is skipped
    row.name = option->GetName();
    row.description = option->GetDescription();
    row.type = option->GetType();
    row.typeName = TFrm_TrivaneOptionTypes::OptionTypeString(row.type);
    row.standard = combination->GetIsStandard();
    row.count = combination->GetNrRequired();
    const bool chosen = stored && stored->Search([&row](const Cls_DeviceOption* o) {
      return Same(o, row.optionClsID, row.optionObjID);
    });
    row.used = row.standard || chosen || combination->GetIsPreferred();
    // Options the inputs call for: listed exactly when they are called for.
    int derived = -1;
    switch (row.type) {
      case Cls_HRX::kHeaterOption:
        derived = (inputs.coolHeaterOptionID == row.optionObjID) + (inputs.heatHeaterOptionID == row.optionObjID);
        break;
      case Cls_HRX::kFilterOption:
        derived = Same(supplyFilter, row.optionClsID, row.optionObjID) + Same(exhaustFilter, row.optionClsID, row.optionObjID);
        break;
      case Cls_HRX::kPlenumOption: {
        derived = 0;
        if (Same(plenum, row.optionClsID, row.optionObjID)) {
          const int perSide = (row.count + 1) / 2;
          if (inputs.plenum == PlenumArrangement::kOutdoorExhaust) derived = perSide;
          if (inputs.plenum == PlenumArrangement::kAll) derived = perSide * 2;
        }
        break;
      }
      default: break;
    }
    if (derived == 0) continue;
    if (derived > 0) {
      row.standard = true;
      row.count = derived;
      row.used = true;
    }
    rows.append(row);
  }
  // The used list keeps the order the unit holds (the user's order): the
  // rows it holds first, in its order, then the rows newly used, in
  // catalogue order. The available rows keep catalogue order.
  const auto rank = [stored](const LTOptionRow& row) {
    const int storedCount = stored ? stored->Count() : 0;
    if (!row.used) return storedCount + 1;
    for (int i = 0; i < storedCount; ++i)
      if (Same(stored->Item(i), row.optionClsID, row.optionObjID)) return i;
    return storedCount;
  };
  std::stable_sort(rows.begin(), rows.end(),
                   [&rank](const LTOptionRow& a, const LTOptionRow& b) { return rank(a) < rank(b); });
  StoreUsedOptions(unit, rows);
  return rows;
}

namespace {

// A row that changes lists goes to the end of the list it joins.
void MoveToEnd(QList<LTOptionRow>& rows, int nIndex) { rows.append(rows.takeAt(nIndex)); }

}  // namespace

void CTOptionSelection::Select(Cls_HRX& unit, QList<LTOptionRow>& rows, int nIndex) {
  if (nIndex < 0 || nIndex >= rows.size() || rows[nIndex].used) return;
  rows[nIndex].used = true;
  MoveToEnd(rows, nIndex);
  StoreUsedOptions(unit, rows);
}

bool CTOptionSelection::Deselect(Cls_HRX& unit, QList<LTOptionRow>& rows, int nIndex) {
  if (nIndex < 0 || nIndex >= rows.size() || !rows[nIndex].used) return true;
  if (rows[nIndex].standard) return false;
  rows[nIndex].used = false;
  MoveToEnd(rows, nIndex);
  StoreUsedOptions(unit, rows);
  return true;
}

void CTOptionSelection::StoreUsedOptions(Cls_HRX& unit, const QList<LTOptionRow>& rows) {
  auto used = std::make_unique<ObjectList<Cls_DeviceOption>>(true);
  const ObjectList<Cls_DevOptCombination>& combinations = unit.GetOptionCombinationsForHRX();
  for (const LTOptionRow& row : rows) {
    if (!row.used) continue;
    Cls_DevOptCombination* combination =
        combinations.Search([&row](const Cls_DevOptCombination* c) { return c->GetID() == row.combinationID; });
    if (!combination) continue;
    if (std::unique_ptr<Cls_DeviceOption> option = combination->GetDeviceOption()) used->Add(option.release());
  }
  unit.StoreUsedOptions(std::move(used));
}

namespace {

bool SameRecord(const LTProjectUnit& a, const LTProjectUnit& b) { return a.clsID == b.clsID && a.objID == b.objID; }

}  // namespace

void CTOptionChoices::Keep(const Cls_HRX& unit) {
  const LTProjectUnit choice = CTProjectMapping::UnitOf(unit);
  for (LTProjectUnit& kept : v_choices)
    if (SameRecord(kept, choice)) return void(kept = choice);
  v_choices.append(choice);
}

void CTOptionChoices::Give(Cls_HRX& unit) const {
  const LTProjectUnit record = CTProjectMapping::UnitOf(unit);
  for (const LTProjectUnit& kept : v_choices)
    if (SameRecord(kept, record)) return CTProjectMapping::RestoreOptions(unit, kept);
}
