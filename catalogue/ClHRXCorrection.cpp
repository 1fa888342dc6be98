#include "catalogue/ClHRXCorrection.h"

Cls_HRXCorrection::Cls_HRXCorrection(int nObjID, CTBaseFactory* pFactory)
    : Cls_Polynomial(kClassID, nObjID, pFactory) {}

void Cls_HRXCorrection::Initialize(CTTableInfo* pTblInfo, const QString& szIDFieldName) {
  const QString idName = szIDFieldName.isEmpty() ? QStringLiteral("Fld_ID") : szIDFieldName;
  Cls_Polynomial::Initialize(pTblInfo, idName);
}
