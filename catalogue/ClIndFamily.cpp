#include "catalogue/ClIndFamily.h"

Cls_IndFamily::Cls_IndFamily(int nObjID, CTBaseFactory* pFactory) : Cls_DeviceGrouping(kClassID, nObjID, pFactory) {}

void Cls_IndFamily::Initialize(CTTableInfo* pTblInfo, const QString& szIDFieldName) {
  const QString idName = szIDFieldName.isEmpty() ? QStringLiteral("IFA_ID") : szIDFieldName;
  Cls_DeviceGrouping::Initialize(pTblInfo, idName);
  pTblInfo->AddFieldInfo(IFA_Short, CTFieldInfo::CreateUnicodeString(QStringLiteral("IFA_Short")));
  pTblInfo->AddFieldInfo(IFA_Name, CTFieldInfo::CreateUnicodeString(QStringLiteral("IFA_Name"), QString(), true), true);
  pTblInfo->AddFieldInfo(IFA_ProductName, CTFieldInfo::CreateUnicodeString(QStringLiteral("IFA_ProductName")));
}

Cls_IndFamily* Cls_IndFamily::CachedIndFamily(const QString& szShortName, CTBaseFactory* pFactory) {
  CTBaseFactory* factory = pFactory ? pFactory : GetDefaultFactory();
  const ObjectList<CTDbObject>* cached = factory ? factory->GetCachedObjects(kClassID) : nullptr;
  if (!cached) return nullptr;
  for (CTDbObject* record : *cached) {
    auto* family = dynamic_cast<Cls_IndFamily*>(record);
    if (family && family->GetShort().compare(szShortName, Qt::CaseInsensitive) == 0) return family;
  }
  return nullptr;
}

QString Cls_IndFamily::GetDescriptiveNameExt(bool bUsePRV) const {
  QString result = GetName().trimmed();
  QString prefix = GetShort().trimmed();
  if (bUsePRV) {
    prefix = GetLookupSeries().trimmed();
    if (prefix.isEmpty()) result = GetShort().trimmed();
  }
  // An empty prefix adds no separator.
  if (result.isEmpty()) result = prefix;
  else if (!prefix.isEmpty()) result = prefix + QStringLiteral(" - ") + result;
  const QString product = GetProductName().trimmed();
  return product.isEmpty() ? result : product + QLatin1Char(' ') + result;
}
