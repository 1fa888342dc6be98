#include "catalogue/ClDeviceGrouping.h"

Cls_DeviceGrouping::Cls_DeviceGrouping(int nClsID, int nObjID, CTBaseFactory* pFactory)
    : Cls_ReleasableElement(nClsID, nObjID, pFactory) {}

void Cls_DeviceGrouping::Initialize(CTTableInfo* pTblInfo, const QString& szIDFieldName) {
  const QString idName = szIDFieldName.isEmpty() ? QStringLiteral("Fld_ID") : szIDFieldName;
  Cls_ReleasableElement::Initialize(pTblInfo, idName);
  pTblInfo->AddFieldInfo(Fld_LookupSeries, CTFieldInfo::CreateUnicodeString(QStringLiteral("Fld_LookupSeries")));
  pTblInfo->AddFieldInfo(Fld_SubFamily, CTFieldInfo::CreateInteger(QStringLiteral("Fld_SubFamily")));
}
