#include "catalogue/ClHRXFilter.h"

#include "catalogue/ClTrivaneDeviceOption.h"
#include "catalogue/RecordCast.h"

Cls_HRXFilter::Cls_HRXFilter(int nObjID, CTBaseFactory* pFactory) : Cls_Polynomial(kClassID, nObjID, pFactory) {}

void Cls_HRXFilter::Initialize(CTTableInfo* pTblInfo, const QString& szIDFieldName) {
  const QString idName = szIDFieldName.isEmpty() ? QStringLiteral("Fld_ID") : szIDFieldName;
  Cls_Polynomial::Initialize(pTblInfo, idName);
  pTblInfo->AddFieldInfo(Fld_TrivaneDeviceOption_CLS_REF,
                         CTFieldInfo::CreateInteger(QStringLiteral("Fld_TrivaneDeviceOption_CLS_REF")));
  pTblInfo->AddFieldInfo(Fld_TrivaneDeviceOption_OBJ_REF,
                         CTFieldInfo::CreateInteger(QStringLiteral("Fld_TrivaneDeviceOption_OBJ_REF")));
}

std::unique_ptr<Cls_TrivaneDeviceOption> Cls_HRXFilter::GetTrivaneDeviceOption() {
  return RecordAs<Cls_TrivaneDeviceOption>(GetRelationByIx(Fld_TrivaneDeviceOption_CLS_REF));
}
