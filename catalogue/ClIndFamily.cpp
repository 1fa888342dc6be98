#include "catalogue/ClIndFamily.h"

Cls_IndFamily::Cls_IndFamily(int nObjID, CTBaseFactory* pFactory) : Cls_DeviceGrouping(kClassID, nObjID, pFactory) {}

void Cls_IndFamily::Initialize(CTTableInfo* pTblInfo, const QString& szIDFieldName) {
  const QString idName = szIDFieldName.isEmpty() ? QStringLiteral("IFA_ID") : szIDFieldName;
  Cls_DeviceGrouping::Initialize(pTblInfo, idName);
  pTblInfo->AddFieldInfo(IFA_Short, CTFieldInfo::CreateUnicodeString(QStringLiteral("IFA_Short")));
  pTblInfo->AddFieldInfo(IFA_Name, CTFieldInfo::CreateUnicodeString(QStringLiteral("IFA_Name"), QString(), true), true);
  pTblInfo->AddFieldInfo(IFA_ProductName, CTFieldInfo::CreateUnicodeString(QStringLiteral("IFA_ProductName")));
}
