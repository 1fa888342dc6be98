#include "catalogue/ClOptionGenericValue.h"

#include "catalogue/ClDeviceOption.h"
#include "catalogue/RecordCast.h"

Cls_OptionGenericValue::Cls_OptionGenericValue(int nObjID, CTBaseFactory* pFactory)
    : CTDbObject(kClassID, nObjID, pFactory) {}

void Cls_OptionGenericValue::Initialize(CTTableInfo* pTblInfo, const QString& szIDFieldName) {
  const QString idName = szIDFieldName.isEmpty() ? QStringLiteral("Fld_ID") : szIDFieldName;
  CTDbObject::Initialize(pTblInfo, idName);
  pTblInfo->AddFieldInfo(Fld_ValueType, CTFieldInfo::CreateInteger(QStringLiteral("Fld_ValueType")));
  pTblInfo->AddFieldInfo(Fld_Value, CTFieldInfo::CreateUnicodeString(QStringLiteral("Fld_Value")));
  pTblInfo->AddFieldInfo(Fld_DeviceOption_CLS_REF,
                         CTFieldInfo::CreateInteger(QStringLiteral("Fld_DeviceOption_CLS_REF")));
  pTblInfo->AddFieldInfo(Fld_DeviceOption_OBJ_REF,
                         CTFieldInfo::CreateInteger(QStringLiteral("Fld_DeviceOption_OBJ_REF")));
}

std::unique_ptr<Cls_DeviceOption> Cls_OptionGenericValue::GetDeviceOption() {
  return RecordAs<Cls_DeviceOption>(GetRelationByIx(Fld_DeviceOption_CLS_REF));
}
