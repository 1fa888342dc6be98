#include "catalogue/ClHRXSpType.h"

#include "catalogue/ClHRXSpeed.h"
#include "catalogue/ClHrxSetting.h"
#include "catalogue/RecordCast.h"

Cls_HRXSpType::Cls_HRXSpType(int nObjID, CTBaseFactory* pFactory) : CTDbObject(kClassID, nObjID, pFactory) {}

void Cls_HRXSpType::Initialize(CTTableInfo* pTblInfo, const QString& szIDFieldName) {
  const QString idName = szIDFieldName.isEmpty() ? QStringLiteral("VST_ID") : szIDFieldName;
  CTDbObject::Initialize(pTblInfo, idName);
  pTblInfo->AddFieldInfo(VST_Name, CTFieldInfo::CreateUnicodeString(QStringLiteral("VST_Name"), QString(), true), true);
  pTblInfo->AddFieldInfo(VST_Weight, CTFieldInfo::CreateInteger(QStringLiteral("VST_Weight")));
}

ObjectList<Cls_HRXSpeed> Cls_HRXSpType::GetAllHRXSpeed() {
  return RecordsAs<Cls_HRXSpeed>(GetRelatedByIx(Cls_HRXSpeed::kClassID, Cls_HRXSpeed::VSP_HRXSpType_CLS_REF));
}

ObjectList<Cls_HrxSetting> Cls_HRXSpType::GetAllHrxSettingAsSupply() {
  return RecordsAs<Cls_HrxSetting>(GetRelatedByIx(Cls_HrxSetting::kClassID, Cls_HrxSetting::Fld_HRXSpType_CLS_REF));
}

ObjectList<Cls_HrxSetting> Cls_HRXSpType::GetAllHrxSettingAsExhaust() {
  return RecordsAs<Cls_HrxSetting>(GetRelatedByIx(Cls_HrxSetting::kClassID, Cls_HrxSetting::Fld_HRXSpType2_CLS_REF));
}
