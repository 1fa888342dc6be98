#include "catalogue/ClTabular.h"

Cls_Tabular::Cls_Tabular(int nClsID, int nObjID, CTBaseFactory* pFactory) : CTDbObject(nClsID, nObjID, pFactory) {}

void Cls_Tabular::Initialize(CTTableInfo* pTblInfo, const QString& szIDFieldName) {
  const QString idName = szIDFieldName.isEmpty() ? QStringLiteral("Fld_ID") : szIDFieldName;
  CTDbObject::Initialize(pTblInfo, idName);
  pTblInfo->AddFieldInfo(Fld_Type, CTFieldInfo::CreateInteger(QStringLiteral("Fld_Type")));
  pTblInfo->AddFieldInfo(Fld_Te, CTFieldInfo::CreateDouble(QStringLiteral("Fld_Te"), 6));
  pTblInfo->AddFieldInfo(Fld_Select, CTFieldInfo::CreateDouble(QStringLiteral("Fld_Select")));
  pTblInfo->AddFieldInfo(Fld_Generic, CTFieldInfo::CreateDouble(QStringLiteral("Fld_Generic")));
  pTblInfo->AddFieldInfo(Fld_Col1, CTFieldInfo::CreateDouble(QStringLiteral("Fld_Col1")));
  pTblInfo->AddFieldInfo(Fld_Col2, CTFieldInfo::CreateDouble(QStringLiteral("Fld_Col2")));
  pTblInfo->AddFieldInfo(Fld_Col4, CTFieldInfo::CreateDouble(QStringLiteral("Fld_Col4")));
  pTblInfo->AddFieldInfo(Fld_Col6, CTFieldInfo::CreateDouble(QStringLiteral("Fld_Col6")));
  pTblInfo->AddFieldInfo(Fld_Col3, CTFieldInfo::CreateDouble(QStringLiteral("Fld_Col3")));
  pTblInfo->AddFieldInfo(Fld_Col5, CTFieldInfo::CreateDouble(QStringLiteral("Fld_Col5")));
  pTblInfo->AddFieldInfo(Fld_Col7, CTFieldInfo::CreateDouble(QStringLiteral("Fld_Col7")));
}
