#include "catalogue/ClPolynomial.h"

#include <cmath>

Cls_Polynomial::Cls_Polynomial(int nClsID, int nObjID, CTBaseFactory* pFactory)
    : CTDbObject(nClsID, nObjID, pFactory) {}

void Cls_Polynomial::Initialize(CTTableInfo* pTblInfo, const QString& szIDFieldName) {
  const QString idName = szIDFieldName.isEmpty() ? QStringLiteral("POL_ID") : szIDFieldName;
  CTDbObject::Initialize(pTblInfo, idName);
  pTblInfo->AddFieldInfo(POL_A4, CTFieldInfo::CreateDouble(QStringLiteral("POL_A4")));
  pTblInfo->AddFieldInfo(POL_Select1, CTFieldInfo::CreateDouble(QStringLiteral("POL_Select1")));
  pTblInfo->AddFieldInfo(POL_A3, CTFieldInfo::CreateDouble(QStringLiteral("POL_A3")));
  pTblInfo->AddFieldInfo(POL_A2, CTFieldInfo::CreateDouble(QStringLiteral("POL_A2")));
  pTblInfo->AddFieldInfo(POL_A6, CTFieldInfo::CreateDouble(QStringLiteral("POL_A6")));
  pTblInfo->AddFieldInfo(POL_A7, CTFieldInfo::CreateDouble(QStringLiteral("POL_A7")));
  pTblInfo->AddFieldInfo(POL_A0, CTFieldInfo::CreateDouble(QStringLiteral("POL_A0")));
  pTblInfo->AddFieldInfo(POL_Type, CTFieldInfo::CreateInteger(QStringLiteral("POL_Type")));
  pTblInfo->AddFieldInfo(POL_Select2, CTFieldInfo::CreateDouble(QStringLiteral("POL_Select2")));
  pTblInfo->AddFieldInfo(POL_A5, CTFieldInfo::CreateDouble(QStringLiteral("POL_A5")));
  pTblInfo->AddFieldInfo(POL_A1, CTFieldInfo::CreateDouble(QStringLiteral("POL_A1")));
  pTblInfo->AddFieldInfo(POL_ArgumentLow, CTFieldInfo::CreateDouble(QStringLiteral("POL_ArgumentLow")));
  pTblInfo->AddFieldInfo(POL_ArgumentHigh, CTFieldInfo::CreateDouble(QStringLiteral("POL_ArgumentHigh")));
}

double Cls_Polynomial::Evaluate(double nArgument) const {
  const double lo = GetArgumentLow();
  const double hi = GetArgumentHigh();
  const bool bBounded = !(lo == 0 && hi == 0);
  if (bBounded && (nArgument < lo || nArgument > hi)) return 0;
  if (!std::isfinite(nArgument)) return 0;
  const double a[] = {GetA0(), GetA1(), GetA2(), GetA3(), GetA4(), GetA5(), GetA6(), GetA7()};
  double value = 0;
  for (int i = 7; i >= 0; --i) value = value * nArgument + a[i];
  return std::isfinite(value) ? value : 0;
}
