#include "catalogue/ClStaticURL.h"

Cls_StaticURL::Cls_StaticURL(int nObjID, CTBaseFactory* pFactory) : CTDbObject(kClassID, nObjID, pFactory) {}

void Cls_StaticURL::Initialize(CTTableInfo* pTblInfo, const QString& szIDFieldName) {
  const QString idName = szIDFieldName.isEmpty() ? QStringLiteral("Fld_ID") : szIDFieldName;
  CTDbObject::Initialize(pTblInfo, idName);
  pTblInfo->AddFieldInfo(Fld_Title, CTFieldInfo::CreateUnicodeString(QStringLiteral("Fld_Title")));
  pTblInfo->AddFieldInfo(Fld_URL, CTFieldInfo::CreateUnicodeString(QStringLiteral("Fld_URL")));
  pTblInfo->AddFieldInfo(Fld_LookupSeries, CTFieldInfo::CreateUnicodeString(QStringLiteral("Fld_LookupSeries")));
  pTblInfo->AddFieldInfo(Fld_DeviceClass, CTFieldInfo::CreateInteger(QStringLiteral("Fld_DeviceClass")));
  pTblInfo->AddFieldInfo(Fld_IsCorvelDownload, CTFieldInfo::CreateBoolean(QStringLiteral("Fld_IsCorvelDownload")));
}
