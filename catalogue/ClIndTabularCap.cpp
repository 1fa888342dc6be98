#include "catalogue/ClIndTabularCap.h"

#include "catalogue/ClIndoorUnit.h"
#include "catalogue/RecordCast.h"

Cls_IndTabularCap::Cls_IndTabularCap(int nObjID, CTBaseFactory* pFactory) : Cls_Tabular(kClassID, nObjID, pFactory) {}

void Cls_IndTabularCap::Initialize(CTTableInfo* pTblInfo, const QString& szIDFieldName) {
  const QString idName = szIDFieldName.isEmpty() ? QStringLiteral("Fld_ID") : szIDFieldName;
  Cls_Tabular::Initialize(pTblInfo, idName);
  pTblInfo->AddFieldInfo(Fld_IndoorUnit_CLS_REF, CTFieldInfo::CreateInteger(QStringLiteral("Fld_IndoorUnit_CLS_REF")));
  pTblInfo->AddFieldInfo(Fld_IndoorUnit_OBJ_REF, CTFieldInfo::CreateInteger(QStringLiteral("Fld_IndoorUnit_OBJ_REF")));
}

std::unique_ptr<Cls_IndoorUnit> Cls_IndTabularCap::GetIndoorUnit() {
  return RecordAs<Cls_IndoorUnit>(GetRelationByIx(Fld_IndoorUnit_CLS_REF));
}
