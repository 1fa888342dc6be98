#include "catalogue/ClHRXEcoCurve.h"

#include "catalogue/ClHRX.h"
#include "catalogue/RecordCast.h"

Cls_HRXEcoCurve::Cls_HRXEcoCurve(int nObjID, CTBaseFactory* pFactory) : Cls_Polynomial(kClassID, nObjID, pFactory) {}

void Cls_HRXEcoCurve::Initialize(CTTableInfo* pTblInfo, const QString& szIDFieldName) {
  const QString idName = szIDFieldName.isEmpty() ? QStringLiteral("ECC_ID") : szIDFieldName;
  Cls_Polynomial::Initialize(pTblInfo, idName);
  pTblInfo->AddFieldInfo(ECC_HRX_CLS_REF, CTFieldInfo::CreateInteger(QStringLiteral("ECC_HRX_CLS_REF")));
  pTblInfo->AddFieldInfo(ECC_HRX_OBJ_REF, CTFieldInfo::CreateInteger(QStringLiteral("ECC_HRX_OBJ_REF")));
}

std::unique_ptr<Cls_HRX> Cls_HRXEcoCurve::GetHRX() { return RecordAs<Cls_HRX>(GetRelationByIx(ECC_HRX_CLS_REF)); }
