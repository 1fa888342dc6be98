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

ObjectList<Cls_StaticURL> Cls_StaticURL::GetStaticURLs(const QString& szLookupSeries, bool bCorvelDownloadLinks,
                                                       int nClassID, CTBaseFactory* pFactory) {
  ObjectList<Cls_StaticURL> links(true);
  ObjectList<CTDbObject> all = GetAllRecords(kClassID, false, pFactory);
  for (CTDbObject*& record : all.Items()) {
    auto* link = dynamic_cast<Cls_StaticURL*>(record);
    if (!link || link->GetIsCorvelDownload() != bCorvelDownloadLinks) continue;
    if (nClassID > 0 && link->GetDeviceClass() != nClassID) continue;
    const QString series = link->GetLookupSeries().trimmed();
    if (!series.isEmpty() && series.compare(szLookupSeries.trimmed(), Qt::CaseInsensitive) != 0) continue;
    links.Add(link);
    record = nullptr;  // now the result's
  }
  std::erase(all.Items(), nullptr);
  return links;
}
