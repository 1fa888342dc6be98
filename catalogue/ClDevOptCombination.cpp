#include "catalogue/ClDevOptCombination.h"

#include "catalogue/ClDevice.h"
#include "catalogue/ClDeviceOption.h"
#include "catalogue/RecordCast.h"

Cls_DevOptCombination::Cls_DevOptCombination(int nObjID, CTBaseFactory* pFactory)
    : CTDbObject(kClassID, nObjID, pFactory) {}

void Cls_DevOptCombination::Initialize(CTTableInfo* pTblInfo, const QString& szIDFieldName) {
  const QString idName = szIDFieldName.isEmpty() ? QStringLiteral("Fld_ID") : szIDFieldName;
  CTDbObject::Initialize(pTblInfo, idName);
  pTblInfo->AddFieldInfo(Fld_IsPreferred, CTFieldInfo::CreateBoolean(QStringLiteral("Fld_IsPreferred")));
  pTblInfo->AddFieldInfo(Fld_NrRequired, CTFieldInfo::CreateInteger(QStringLiteral("Fld_NrRequired"), 1));
  pTblInfo->AddFieldInfo(Fld_IsStandard, CTFieldInfo::CreateBoolean(QStringLiteral("Fld_IsStandard")));
  pTblInfo->AddFieldInfo(Fld_IsPackaged, CTFieldInfo::CreateBoolean(QStringLiteral("Fld_IsPackaged")));
  pTblInfo->AddFieldInfo(Fld_MaxQuantity, CTFieldInfo::CreateInteger(QStringLiteral("Fld_MaxQuantity")));
  pTblInfo->AddFieldInfo(Fld_IsAutomatic, CTFieldInfo::CreateBoolean(QStringLiteral("Fld_IsAutomatic")));
  pTblInfo->AddFieldInfo(Fld_OnePerUnit, CTFieldInfo::CreateBoolean(QStringLiteral("Fld_OnePerUnit"), true));
  pTblInfo->AddFieldInfo(Fld_Device_CLS_REF, CTFieldInfo::CreateInteger(QStringLiteral("Fld_Device_CLS_REF")));
  pTblInfo->AddFieldInfo(Fld_Device_OBJ_REF, CTFieldInfo::CreateInteger(QStringLiteral("Fld_Device_OBJ_REF")));
  pTblInfo->AddFieldInfo(Fld_DeviceOption_CLS_REF,
                         CTFieldInfo::CreateInteger(QStringLiteral("Fld_DeviceOption_CLS_REF")));
  pTblInfo->AddFieldInfo(Fld_DeviceOption_OBJ_REF,
                         CTFieldInfo::CreateInteger(QStringLiteral("Fld_DeviceOption_OBJ_REF")));
}

std::unique_ptr<Cls_Device> Cls_DevOptCombination::GetDevice() {
  return RecordAs<Cls_Device>(GetRelationByIx(Fld_Device_CLS_REF));
}

std::unique_ptr<Cls_DeviceOption> Cls_DevOptCombination::GetDeviceOption() {
  return RecordAs<Cls_DeviceOption>(GetRelationByIx(Fld_DeviceOption_CLS_REF));
}
