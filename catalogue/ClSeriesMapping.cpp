#include "catalogue/ClSeriesMapping.h"

Cls_SeriesMapping::Cls_SeriesMapping(int nObjID, CTBaseFactory* pFactory)
    : Cls_DeviceGrouping(kClassID, nObjID, pFactory) {}

void Cls_SeriesMapping::Initialize(CTTableInfo* pTblInfo, const QString& szIDFieldName) {
  const QString idName = szIDFieldName.isEmpty() ? QStringLiteral("Fld_ID") : szIDFieldName;
  Cls_DeviceGrouping::Initialize(pTblInfo, idName);
  pTblInfo->AddFieldInfo(Fld_DeviceSeries, CTFieldInfo::CreateUnicodeString(QStringLiteral("Fld_DeviceSeries")));
  pTblInfo->AddFieldInfo(Fld_DeviceClass, CTFieldInfo::CreateInteger(QStringLiteral("Fld_DeviceClass")));
  pTblInfo->AddFieldInfo(Fld_GroupName, CTFieldInfo::CreateUnicodeString(QStringLiteral("Fld_GroupName")));
  pTblInfo->AddFieldInfo(Fld_CommercialName,
                         CTFieldInfo::CreateUnicodeString(QStringLiteral("Fld_CommercialName"), QString(), true));
  pTblInfo->AddFieldInfo(Fld_SortOrder, CTFieldInfo::CreateInteger(QStringLiteral("Fld_SortOrder")));
  pTblInfo->AddFieldInfo(Fld_HasInstantaneousHeating,
                         CTFieldInfo::CreateBoolean(QStringLiteral("Fld_HasInstantaneousHeating")));
  pTblInfo->AddFieldInfo(Fld_RefrigFactorAMeaning,
                         CTFieldInfo::CreateInteger(QStringLiteral("Fld_RefrigFactorAMeaning")));
  pTblInfo->AddFieldInfo(Fld_RefrigFactorCMeaning,
                         CTFieldInfo::CreateInteger(QStringLiteral("Fld_RefrigFactorCMeaning")));
  pTblInfo->AddFieldInfo(Fld_RefrigFactorDMeaning,
                         CTFieldInfo::CreateInteger(QStringLiteral("Fld_RefrigFactorDMeaning")));
  pTblInfo->AddFieldInfo(Fld_RefrigFactorBMeaning,
                         CTFieldInfo::CreateInteger(QStringLiteral("Fld_RefrigFactorBMeaning")));
  pTblInfo->AddFieldInfo(Fld_RefrigFactorEMeaning,
                         CTFieldInfo::CreateInteger(QStringLiteral("Fld_RefrigFactorEMeaning")));
}
