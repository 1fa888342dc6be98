#include "catalogue/ClTrivaneDeviceOption.h"

#include "catalogue/ClHRXFilter.h"
#include "catalogue/ClHRXSettingScheme.h"
#include "catalogue/RecordCast.h"

Cls_TrivaneDeviceOption::Cls_TrivaneDeviceOption(int nObjID, CTBaseFactory* pFactory)
    : Cls_DeviceOption(kClassID, nObjID, pFactory) {}

void Cls_TrivaneDeviceOption::Initialize(CTTableInfo* pTblInfo, const QString& szIDFieldName) {
  const QString idName = szIDFieldName.isEmpty() ? QStringLiteral("Fld_ID") : szIDFieldName;
  Cls_DeviceOption::Initialize(pTblInfo, idName);
  pTblInfo->AddFieldInfo(Fld_OldClsID, CTFieldInfo::CreateInteger(QStringLiteral("Fld_OldClsID")));
  pTblInfo->AddFieldInfo(Fld_OldObjID, CTFieldInfo::CreateInteger(QStringLiteral("Fld_OldObjID")));
  pTblInfo->AddFieldInfo(Fld_HRXSettingScheme_CLS_REF,
                         CTFieldInfo::CreateInteger(QStringLiteral("Fld_HRXSettingScheme_CLS_REF")));
  pTblInfo->AddFieldInfo(Fld_HRXSettingScheme_OBJ_REF,
                         CTFieldInfo::CreateInteger(QStringLiteral("Fld_HRXSettingScheme_OBJ_REF")));
}

std::unique_ptr<Cls_HRXSettingScheme> Cls_TrivaneDeviceOption::GetHRXSettingScheme() {
  return RecordAs<Cls_HRXSettingScheme>(GetRelationByIx(Fld_HRXSettingScheme_CLS_REF));
}

std::unique_ptr<Cls_HRXFilter> Cls_TrivaneDeviceOption::GetTheHRXFilter() {
  return RecordAs<Cls_HRXFilter>(
      GetUniqueRelatedByIx(Cls_HRXFilter::kClassID, Cls_HRXFilter::Fld_TrivaneDeviceOption_CLS_REF));
}

void Cls_TrivaneDeviceOption::NoteGenericValue(int nValueType, const QString&) {
  if (nValueType == kCondenserInfluence) v_condenserInfluence = true;
}
