#include "catalogue/ClDeviceOptionPolynomial.h"

#include "catalogue/ClDeviceOption.h"
#include "catalogue/RecordCast.h"

Cls_DeviceOptionPolynomial::Cls_DeviceOptionPolynomial(int nObjID, CTBaseFactory* pFactory)
    : Cls_Polynomial(kClassID, nObjID, pFactory) {}

void Cls_DeviceOptionPolynomial::Initialize(CTTableInfo* pTblInfo, const QString& szIDFieldName) {
  const QString idName = szIDFieldName.isEmpty() ? QStringLiteral("Fld_ID") : szIDFieldName;
  Cls_Polynomial::Initialize(pTblInfo, idName);
  pTblInfo->AddFieldInfo(Fld_DeviceOption_CLS_REF,
                         CTFieldInfo::CreateInteger(QStringLiteral("Fld_DeviceOption_CLS_REF")));
  pTblInfo->AddFieldInfo(Fld_DeviceOption_OBJ_REF,
                         CTFieldInfo::CreateInteger(QStringLiteral("Fld_DeviceOption_OBJ_REF")));
}

std::unique_ptr<Cls_DeviceOption> Cls_DeviceOptionPolynomial::GetDeviceOption() {
  return RecordAs<Cls_DeviceOption>(GetRelationByIx(Fld_DeviceOption_CLS_REF));
}
