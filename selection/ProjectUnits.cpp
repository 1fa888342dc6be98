// The catalogue side of project files: which options a catalogue has, how a
// computed unit is named in a file, and finding the stored unit again.

#include "catalogue/ClDevOptCombination.h"
#include "catalogue/ClDeviceOption.h"
#include "catalogue/ClHRX.h"
#include "catalogue/ClTrivaneDeviceOption.h"
#include "selection/CatalogueSession.h"
#include "selection/ProjectFile.h"
#include "selection/SelectionRun.h"

#include <algorithm>
#include <cmath>

QList<LTOptionIdentity> CTProjectMapping::OptionIdentities(const CTCatalogueSession& session) {
  QList<LTOptionIdentity> identities;
  for (const Cls_TrivaneDeviceOption* option : session.Options())
    identities.append({option->TableIndex(), option->GetID(), option->GetOldClsID(), option->GetOldObjID()});
  return identities;
}

LTProjectUnit CTProjectMapping::UnitOf(const Cls_HRX& unit) {
  LTProjectUnit u;
  u.clsID = unit.TableIndex();
  u.objID = unit.GetID();
  unit.GetSpeedIds(u.supplySpeedID, u.exhaustSpeedID);
  if (const ObjectList<Cls_DeviceOption>* used = unit.GetUsedOptions())
    for (const Cls_DeviceOption* option : *used) u.options.append({option->TableIndex(), option->GetID(), 1});
  return u;
}

int CTProjectMapping::FindCandidate(const SelectionResult& result, const LTProjectUnit& unit) {
  for (int i = 0; i < result.candidates.Count(); ++i) {
    const Cls_HRX* candidate = result.candidates.Item(i);
    if (candidate->GetID() == unit.objID && candidate->TableIndex() == unit.clsID &&
        candidate->HasSpeeds(unit.supplySpeedID, unit.exhaustSpeedID))
      return i;
  }
  return -1;
}

CTHRXProjectData CTProjectMapping::ProjectOf(const SelectionRequest& request, Cls_HRX& unit) {
  const QList<LTHeaterOption> options = CTSelectionRun::HeaterOptions(unit);
  const auto optionKW = [&options](const LTModeInputs& mode) {
    if (mode.inletHeater != HeaterChoice::kOption) return 0.0;
    for (const LTHeaterOption& option : options)
      if (option.id == mode.inletOptionID) return option.kW;
    return 0.0;
  };
  // A fresh-air unit without a discharge setting runs at the top of its
  // range, which its box then shows; the file keeps the setting it ran at,
  // not the field's default, which would be another selection.
  SelectionRequest r = request;
  if (unit.GetType() == Cls_HRX::kFreshAirUnit) {
    for (const bool cooling : {true, false}) {
      LTModeInputs& mode = cooling ? r.cooling : r.heating;
      mode.dischargeC = CTSelectionRun::FreshAirDischarge(unit, mode, cooling);
      mode.dischargeGiven = true;
    }
  }
  return ToProject(r, UnitOf(unit), optionKW(r.cooling), optionKW(r.heating));
}

void CTProjectMapping::RestoreOptions(Cls_HRX& unit, const LTProjectUnit& stored) {
  // In the file's order, which is the used list's order when it was saved.
  auto used = std::make_unique<ObjectList<Cls_DeviceOption>>(true);
  const ObjectList<Cls_DevOptCombination>& combinations = unit.GetOptionCombinationsForHRX();
  for (const CTHRXProjectSelOption& entry : stored.options) {
    Cls_DevOptCombination* combination = combinations.Search([&entry](const Cls_DevOptCombination* c) {
      int clsID = 0, objID = 0;
      c->GetDeviceOptionRef(clsID, objID);
      return clsID == entry.v_optionClsID && objID == entry.v_optionObjID;
    });
    if (!combination) continue;
    std::unique_ptr<Cls_DeviceOption> option = combination->GetDeviceOption();
    const bool twice = option && used->Search([&option](const Cls_DeviceOption* o) {
      return o->TableIndex() == option->TableIndex() && o->GetID() == option->GetID();
    });
    if (option && !twice) used->Add(option.release());
  }
  unit.StoreUsedOptions(std::move(used));
}

void CTProjectMapping::TakeHeaterOption(LTModeInputs& mode, Cls_HRX& unit, const LTProjectUnit& stored) {
  // The size is written from the option's own value; the margin only
  // forgives a catalogue that rounds it differently since.
  constexpr double kSameSizeKW = 1e-6;
  if (mode.inletHeater != HeaterChoice::kUserValue || !(mode.inletHeaterKW > 0)) return;
  const QList<LTHeaterOption> offered = CTSelectionRun::HeaterOptions(unit);
  for (const CTHRXProjectSelOption& entry : stored.options)
    for (const LTHeaterOption& option : offered)
      if (option.id == entry.v_optionObjID && std::fabs(option.kW - mode.inletHeaterKW) <= kSameSizeKW) {
        mode.inletHeater = HeaterChoice::kOption;
        mode.inletOptionID = option.id;
        return;
      }
}
