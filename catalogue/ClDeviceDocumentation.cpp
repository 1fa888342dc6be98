#include "catalogue/ClDeviceDocumentation.h"

#include "catalogue/ClDevice.h"
#include "catalogue/RecordCast.h"

Cls_DeviceDocumentation::Cls_DeviceDocumentation(int nClsID, int nObjID, CTBaseFactory* pFactory)
    : CTDbObject(nClsID, nObjID, pFactory) {}

void Cls_DeviceDocumentation::Initialize(CTTableInfo* pTblInfo, const QString& szIDFieldName) {
  const QString idName = szIDFieldName.isEmpty() ? QStringLiteral("Fld_ID") : szIDFieldName;
  CTDbObject::Initialize(pTblInfo, idName);
  pTblInfo->AddFieldInfo(Fld_Depth, CTFieldInfo::CreateDouble(QStringLiteral("Fld_Depth")));
  pTblInfo->AddFieldInfo(Fld_Weight, CTFieldInfo::CreateDouble(QStringLiteral("Fld_Weight")));
  pTblInfo->AddFieldInfo(Fld_Width, CTFieldInfo::CreateDouble(QStringLiteral("Fld_Width")));
  pTblInfo->AddFieldInfo(Fld_Height, CTFieldInfo::CreateDouble(QStringLiteral("Fld_Height")));
  pTblInfo->AddFieldInfo(Fld_Device_CLS_REF, CTFieldInfo::CreateInteger(QStringLiteral("Fld_Device_CLS_REF")));
  pTblInfo->AddFieldInfo(Fld_Device_OBJ_REF, CTFieldInfo::CreateInteger(QStringLiteral("Fld_Device_OBJ_REF")));
}

std::unique_ptr<Cls_Device> Cls_DeviceDocumentation::GetDevice() {
  return RecordAs<Cls_Device>(GetRelationByIx(Fld_Device_CLS_REF));
}
