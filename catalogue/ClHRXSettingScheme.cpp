#include "catalogue/ClHRXSettingScheme.h"

#include "catalogue/ClHrxSetting.h"
#include "catalogue/ClTrivaneDeviceOption.h"
#include "catalogue/RecordCast.h"

Cls_HRXSettingScheme::Cls_HRXSettingScheme(int nObjID, CTBaseFactory* pFactory)
    : CTDbObject(kClassID, nObjID, pFactory) {}

void Cls_HRXSettingScheme::Initialize(CTTableInfo* pTblInfo, const QString& szIDFieldName) {
  const QString idName = szIDFieldName.isEmpty() ? QStringLiteral("Fld_ID") : szIDFieldName;
  CTDbObject::Initialize(pTblInfo, idName);
  pTblInfo->AddFieldInfo(Fld_Name, CTFieldInfo::CreateUnicodeString(QStringLiteral("Fld_Name")), true);
  pTblInfo->AddFieldInfo(Fld_Deleted, CTFieldInfo::CreateBoolean(QStringLiteral("Fld_Deleted")));
}

ObjectList<Cls_HrxSetting> Cls_HRXSettingScheme::GetAllHrxSetting() {
  return RecordsAs<Cls_HrxSetting>(
      GetRelatedByIx(Cls_HrxSetting::kClassID, Cls_HrxSetting::Fld_HRXSettingScheme_CLS_REF));
}

ObjectList<Cls_TrivaneDeviceOption> Cls_HRXSettingScheme::GetAllTrivaneDeviceOption() {
  return RecordsAs<Cls_TrivaneDeviceOption>(
      GetRelatedByIx(Cls_TrivaneDeviceOption::kClassID, Cls_TrivaneDeviceOption::Fld_HRXSettingScheme_CLS_REF));
}
