#include "catalogue/ClDevice.h"
#include "catalogue/ClPowerSupply.h"

#include "catalogue/ClDevOptCombination.h"
#include "catalogue/ClDevPSAllowed.h"
#include "catalogue/ClDeviceDocumentation.h"
#include "catalogue/ClMsgCombination.h"
#include "catalogue/RemoveQuietly.h"
#include "catalogue/RecordCast.h"

Cls_Device::Cls_Device(int nClsID, int nObjID, CTBaseFactory* pFactory)
    : Cls_ReleasableElement(nClsID, nObjID, pFactory) {}

void Cls_Device::Initialize(CTTableInfo* pTblInfo, const QString& szIDFieldName) {
  const QString idName = szIDFieldName.isEmpty() ? QStringLiteral("Fld_ID") : szIDFieldName;
  Cls_ReleasableElement::Initialize(pTblInfo, idName);
  pTblInfo->AddFieldInfo(Fld_GroupName,
                         CTFieldInfo::CreateUnicodeString(QStringLiteral("Fld_GroupName"), QString(), true));
  pTblInfo->AddFieldInfo(Fld_Deleted, CTFieldInfo::CreateBoolean(QStringLiteral("Fld_Deleted")));
  pTblInfo->AddFieldInfo(Fld_Name, CTFieldInfo::CreateUnicodeString(QStringLiteral("Fld_Name")), true);
  pTblInfo->AddFieldInfo(Fld_ProductFamily, CTFieldInfo::CreateInteger(QStringLiteral("Fld_ProductFamily")));
  pTblInfo->AddFieldInfo(Fld_ProductName, CTFieldInfo::CreateUnicodeString(QStringLiteral("Fld_ProductName")));
  pTblInfo->AddFieldInfo(Fld_EnergyLabel, CTFieldInfo::CreateUnicodeString(QStringLiteral("Fld_EnergyLabel")));
  pTblInfo->AddFieldInfo(Fld_NoStandardControl, CTFieldInfo::CreateBoolean(QStringLiteral("Fld_NoStandardControl")));
  pTblInfo->AddFieldInfo(Fld_ProductRangeKey, CTFieldInfo::CreateUnicodeString(QStringLiteral("Fld_ProductRangeKey")));
  pTblInfo->AddFieldInfo(Fld_DontValidate, CTFieldInfo::CreateBoolean(QStringLiteral("Fld_DontValidate")));
}

ObjectList<Cls_DevOptCombination> Cls_Device::GetAllDevOptCombination() {
  return RecordsAs<Cls_DevOptCombination>(
      GetRelatedByIx(Cls_DevOptCombination::kClassID, Cls_DevOptCombination::Fld_Device_CLS_REF));
}

ObjectList<Cls_DevPSAllowed> Cls_Device::GetAllDevPSAllowed() {
  return RecordsAs<Cls_DevPSAllowed>(GetRelatedByIx(Cls_DevPSAllowed::kClassID, Cls_DevPSAllowed::Fld_Device_CLS_REF));
}

std::unique_ptr<Cls_DeviceDocumentation> Cls_Device::GetTheDeviceDocumentation() {
  return RecordAs<Cls_DeviceDocumentation>(
      GetUniqueRelatedByIx(Cls_DeviceDocumentation::kClassID, Cls_DeviceDocumentation::Fld_Device_CLS_REF));
}

void Cls_Device::GetStandardPSData(std::unique_ptr<Cls_PowerSupply>& PS, std::unique_ptr<Cls_DevPSAllowed>& ElectricalData) {
  PS.reset();
  ElectricalData.reset();
  if (IsStored()) {
    ObjectList<Cls_DevPSAllowed> entries = GetAllDevPSAllowed();
    if (!entries.IsEmpty()) {
      ElectricalData.reset(entries.Extract(0));
      PS = ElectricalData->GetPowerSupply();
      return;
    }
  }
  ObjectList<CTDbObject> supplies = GetAllRecords(Cls_PowerSupply::kClassID, false, GetFactory());
  CTDbObject* found = supplies.Search([](const CTDbObject* p) {
    const auto* supply = dynamic_cast<const Cls_PowerSupply*>(p);
    return supply && supply->GetDefault();
  });
  if (found) PS.reset(static_cast<Cls_PowerSupply*>(supplies.Extract(supplies.IndexOf(found))));
}

ObjectList<Cls_MsgCombination> Cls_Device::GetAllMsgCombination() {
  if (!IsStored()) return ObjectList<Cls_MsgCombination>(true);
  Cls_MsgCombination example(0, GetFactory());
  example.SetIntegerValue(Cls_MsgCombination::Fld_Device_CLS_REF, TableIndex());
  example.SetIntegerValue(Cls_MsgCombination::Fld_Device_OBJ_REF, GetID());
  return RecordsAs<Cls_MsgCombination>(example.SelectByExample({QStringLiteral("Fld_SeqNr")}));
}

void Cls_Device::Remove() {
  RemoveEachQuietly(GetAllMsgCombination());
  std::unique_ptr<Cls_PowerSupply> supply;
  std::unique_ptr<Cls_DevPSAllowed> electricalData;
  GetStandardPSData(supply, electricalData);
  RemoveQuietly(electricalData.get());
  RemoveQuietly(IsStored() ? GetTheDeviceDocumentation().get() : nullptr);
  Cls_ReleasableElement::Remove();
}
