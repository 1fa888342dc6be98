#include "catalogue/ClDevPSAllowed.h"

#include "catalogue/ClDevice.h"
#include "catalogue/ClPowerSupply.h"
#include "catalogue/RecordCast.h"

Cls_DevPSAllowed::Cls_DevPSAllowed(int nClsID, int nObjID, CTBaseFactory* pFactory)
    : CTDbObject(nClsID, nObjID, pFactory) {}

void Cls_DevPSAllowed::Initialize(CTTableInfo* pTblInfo, const QString& szIDFieldName) {
  const QString idName = szIDFieldName.isEmpty() ? QStringLiteral("Fld_ID") : szIDFieldName;
  CTDbObject::Initialize(pTblInfo, idName);
  pTblInfo->AddFieldInfo(Fld_Fuses,
                         CTFieldInfo::CreateUnicodeString(QStringLiteral("Fld_Fuses"), QStringLiteral("Factory Std")));
  pTblInfo->AddFieldInfo(Fld_MCA, CTFieldInfo::CreateDouble(QStringLiteral("Fld_MCA")));
  pTblInfo->AddFieldInfo(Fld_MFA, CTFieldInfo::CreateDouble(QStringLiteral("Fld_MFA")));
  pTblInfo->AddFieldInfo(Fld_FLA, CTFieldInfo::CreateDouble(QStringLiteral("Fld_FLA")));
  pTblInfo->AddFieldInfo(Fld_RLA, CTFieldInfo::CreateDouble(QStringLiteral("Fld_RLA")));
  pTblInfo->AddFieldInfo(Fld_MinVolts, CTFieldInfo::CreateUnicodeString(QStringLiteral("Fld_MinVolts")));
  pTblInfo->AddFieldInfo(Fld_MaxVolts, CTFieldInfo::CreateUnicodeString(QStringLiteral("Fld_MaxVolts")));
  pTblInfo->AddFieldInfo(Fld_Device_CLS_REF, CTFieldInfo::CreateInteger(QStringLiteral("Fld_Device_CLS_REF")));
  pTblInfo->AddFieldInfo(Fld_Device_OBJ_REF, CTFieldInfo::CreateInteger(QStringLiteral("Fld_Device_OBJ_REF")));
  pTblInfo->AddFieldInfo(Fld_PowerSupply_CLS_REF,
                         CTFieldInfo::CreateInteger(QStringLiteral("Fld_PowerSupply_CLS_REF")));
  pTblInfo->AddFieldInfo(Fld_PowerSupply_OBJ_REF,
                         CTFieldInfo::CreateInteger(QStringLiteral("Fld_PowerSupply_OBJ_REF")));
}

std::unique_ptr<Cls_Device> Cls_DevPSAllowed::GetDevice() {
  return RecordAs<Cls_Device>(GetRelationByIx(Fld_Device_CLS_REF));
}

std::unique_ptr<Cls_PowerSupply> Cls_DevPSAllowed::GetPowerSupply() {
  return RecordAs<Cls_PowerSupply>(GetRelationByIx(Fld_PowerSupply_CLS_REF));
}
