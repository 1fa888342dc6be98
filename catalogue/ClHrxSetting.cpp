#include "catalogue/ClHrxSetting.h"

#include "catalogue/ClHRXSettingScheme.h"
#include "catalogue/ClHRXSpType.h"
#include "catalogue/RecordCast.h"

Cls_HrxSetting::Cls_HrxSetting(int nObjID, CTBaseFactory* pFactory) : CTDbObject(kClassID, nObjID, pFactory) {}

void Cls_HrxSetting::Initialize(CTTableInfo* pTblInfo, const QString& szIDFieldName) {
  const QString idName = szIDFieldName.isEmpty() ? QStringLiteral("Fld_ID") : szIDFieldName;
  CTDbObject::Initialize(pTblInfo, idName);
  pTblInfo->AddFieldInfo(Fld_Ventilation, CTFieldInfo::CreateUnicodeString(QStringLiteral("Fld_Ventilation")));
  pTblInfo->AddFieldInfo(Fld_Fanspeed, CTFieldInfo::CreateUnicodeString(QStringLiteral("Fld_Fanspeed")));
  pTblInfo->AddFieldInfo(Fld_Freshup, CTFieldInfo::CreateUnicodeString(QStringLiteral("Fld_Freshup")));
  pTblInfo->AddFieldInfo(Fld_FanOperation, CTFieldInfo::CreateUnicodeString(QStringLiteral("Fld_FanOperation")));
  pTblInfo->AddFieldInfo(Fld_SupplyFanCurve, CTFieldInfo::CreateUnicodeString(QStringLiteral("Fld_SupplyFanCurve")));
  pTblInfo->AddFieldInfo(Fld_ExhaustFanCurve, CTFieldInfo::CreateUnicodeString(QStringLiteral("Fld_ExhaustFanCurve")));
  pTblInfo->AddFieldInfo(Fld_HRXSpType_CLS_REF, CTFieldInfo::CreateInteger(QStringLiteral("Fld_HRXSpType_CLS_REF")));
  pTblInfo->AddFieldInfo(Fld_HRXSpType_OBJ_REF, CTFieldInfo::CreateInteger(QStringLiteral("Fld_HRXSpType_OBJ_REF")));
  pTblInfo->AddFieldInfo(Fld_HRXSpType2_CLS_REF, CTFieldInfo::CreateInteger(QStringLiteral("Fld_HRXSpType2_CLS_REF")));
  pTblInfo->AddFieldInfo(Fld_HRXSpType2_OBJ_REF, CTFieldInfo::CreateInteger(QStringLiteral("Fld_HRXSpType2_OBJ_REF")));
  pTblInfo->AddFieldInfo(Fld_HRXSettingScheme_CLS_REF,
                         CTFieldInfo::CreateInteger(QStringLiteral("Fld_HRXSettingScheme_CLS_REF")));
  pTblInfo->AddFieldInfo(Fld_HRXSettingScheme_OBJ_REF,
                         CTFieldInfo::CreateInteger(QStringLiteral("Fld_HRXSettingScheme_OBJ_REF")));
}

std::unique_ptr<Cls_HRXSpType> Cls_HrxSetting::GetHRXSpType() {
  return RecordAs<Cls_HRXSpType>(GetRelationByIx(Fld_HRXSpType_CLS_REF));
}

std::unique_ptr<Cls_HRXSpType> Cls_HrxSetting::GetHRXSpType2() {
  return RecordAs<Cls_HRXSpType>(GetRelationByIx(Fld_HRXSpType2_CLS_REF));
}

std::unique_ptr<Cls_HRXSettingScheme> Cls_HrxSetting::GetHRXSettingScheme() {
  return RecordAs<Cls_HRXSettingScheme>(GetRelationByIx(Fld_HRXSettingScheme_CLS_REF));
}
