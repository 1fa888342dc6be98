#include "catalogue/ClPolynomial.h"

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
