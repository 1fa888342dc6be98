#include "catalogue/ClHRXPolynomial.h"

#include "catalogue/ClHRX.h"
#include "catalogue/RecordCast.h"

Cls_HRXPolynomial::Cls_HRXPolynomial(int nObjID, CTBaseFactory* pFactory)
    : Cls_Polynomial(kClassID, nObjID, pFactory) {}

void Cls_HRXPolynomial::Initialize(CTTableInfo* pTblInfo, const QString& szIDFieldName) {
  const QString idName = szIDFieldName.isEmpty() ? QStringLiteral("VPO_ID") : szIDFieldName;
  Cls_Polynomial::Initialize(pTblInfo, idName);
  pTblInfo->AddFieldInfo(VPO_HRX_CLS_REF, CTFieldInfo::CreateInteger(QStringLiteral("VPO_HRX_CLS_REF")));
  pTblInfo->AddFieldInfo(VPO_HRX_OBJ_REF, CTFieldInfo::CreateInteger(QStringLiteral("VPO_HRX_OBJ_REF")));
}

std::unique_ptr<Cls_HRX> Cls_HRXPolynomial::GetHRX() { return RecordAs<Cls_HRX>(GetRelationByIx(VPO_HRX_CLS_REF)); }
