#include "catalogue/ClHRXSpeed.h"

#include "catalogue/ClHRX.h"
#include "catalogue/ClHRXSpType.h"
#include "catalogue/RecordCast.h"

Cls_HRXSpeed::Cls_HRXSpeed(int nObjID, CTBaseFactory* pFactory) : Cls_Polynomial(kClassID, nObjID, pFactory) {}

void Cls_HRXSpeed::Initialize(CTTableInfo* pTblInfo, const QString& szIDFieldName) {
  const QString idName = szIDFieldName.isEmpty() ? QStringLiteral("VSP_ID") : szIDFieldName;
  Cls_Polynomial::Initialize(pTblInfo, idName);
  pTblInfo->AddFieldInfo(VSP_Current, CTFieldInfo::CreateUnicodeString(QStringLiteral("VSP_Current")));
  pTblInfo->AddFieldInfo(VSP_EspLimit, CTFieldInfo::CreateDouble(QStringLiteral("VSP_EspLimit")));
  pTblInfo->AddFieldInfo(VSP_SoundLevel, CTFieldInfo::CreateUnicodeString(QStringLiteral("VSP_SoundLevel")));
  pTblInfo->AddFieldInfo(VSP_HRXSpType_CLS_REF, CTFieldInfo::CreateInteger(QStringLiteral("VSP_HRXSpType_CLS_REF")));
  pTblInfo->AddFieldInfo(VSP_HRXSpType_OBJ_REF, CTFieldInfo::CreateInteger(QStringLiteral("VSP_HRXSpType_OBJ_REF")));
  pTblInfo->AddFieldInfo(VSP_HRX_CLS_REF, CTFieldInfo::CreateInteger(QStringLiteral("VSP_HRX_CLS_REF")));
  pTblInfo->AddFieldInfo(VSP_HRX_OBJ_REF, CTFieldInfo::CreateInteger(QStringLiteral("VSP_HRX_OBJ_REF")));
}

std::unique_ptr<Cls_HRXSpType> Cls_HRXSpeed::GetHRXSpType() {
  return RecordAs<Cls_HRXSpType>(GetRelationByIx(VSP_HRXSpType_CLS_REF));
}

std::unique_ptr<Cls_HRX> Cls_HRXSpeed::GetHRX() { return RecordAs<Cls_HRX>(GetRelationByIx(VSP_HRX_CLS_REF)); }
