#include "catalogue/ClHRX.h"

#include "catalogue/ClHRXPolynomial.h"
#include "catalogue/ClHRXSpeed.h"
#include "catalogue/ClIndoorUnit.h"
#include "catalogue/RecordCast.h"

Cls_HRX::Cls_HRX(int nObjID, CTBaseFactory* pFactory) : Cls_Device(kClassID, nObjID, pFactory) {}

void Cls_HRX::Initialize(CTTableInfo* pTblInfo, const QString& szIDFieldName) {
  const QString idName = szIDFieldName.isEmpty() ? QStringLiteral("HRX_ID") : szIDFieldName;
  Cls_Device::Initialize(pTblInfo, idName);
  pTblInfo->AddFieldInfo(HRX_Type, CTFieldInfo::CreateInteger(QStringLiteral("HRX_Type")));
  pTblInfo->AddFieldInfo(HRX_NomHumidity, CTFieldInfo::CreateDouble(QStringLiteral("HRX_NomHumidity")));
  pTblInfo->AddFieldInfo(HRX_MaxAirflow, CTFieldInfo::CreateDouble(QStringLiteral("HRX_MaxAirflow")));
  pTblInfo->AddFieldInfo(HRX_Series, CTFieldInfo::CreateUnicodeString(QStringLiteral("HRX_Series")));
  pTblInfo->AddFieldInfo(HRX_NomAirflow, CTFieldInfo::CreateDouble(QStringLiteral("HRX_NomAirflow")));
  pTblInfo->AddFieldInfo(HRX_DuctDiam, CTFieldInfo::CreateDouble(QStringLiteral("HRX_DuctDiam")));
  pTblInfo->AddFieldInfo(HRX_MinAirflow, CTFieldInfo::CreateDouble(QStringLiteral("HRX_MinAirflow")));
  pTblInfo->AddFieldInfo(HRX_MinTempFanOnly, CTFieldInfo::CreateDouble(QStringLiteral("HRX_MinTempFanOnly")));
  pTblInfo->AddFieldInfo(HRX_MaxTempFanOnly, CTFieldInfo::CreateDouble(QStringLiteral("HRX_MaxTempFanOnly")));
  pTblInfo->AddFieldInfo(HRX_EAMaxRH, CTFieldInfo::CreateDouble(QStringLiteral("HRX_EAMaxRH"), 95));
  pTblInfo->AddFieldInfo(HRX_EAMaxRHUpsideDown, CTFieldInfo::CreateDouble(QStringLiteral("HRX_EAMaxRHUpsideDown"), 95));
  pTblInfo->AddFieldInfo(HRX_VOMaxRHUpsideDown, CTFieldInfo::CreateDouble(QStringLiteral("HRX_VOMaxRHUpsideDown"), 95));
  pTblInfo->AddFieldInfo(HRX_OAMaxRH, CTFieldInfo::CreateDouble(QStringLiteral("HRX_OAMaxRH"), 80));
  pTblInfo->AddFieldInfo(HRX_VOMaxRH, CTFieldInfo::CreateDouble(QStringLiteral("HRX_VOMaxRH"), 95));
  pTblInfo->AddFieldInfo(HRX_RAMaxRH, CTFieldInfo::CreateDouble(QStringLiteral("HRX_RAMaxRH"), 80));
  pTblInfo->AddFieldInfo(HRX_CIMaxRHUpsideDown, CTFieldInfo::CreateDouble(QStringLiteral("HRX_CIMaxRHUpsideDown"), 95));
  pTblInfo->AddFieldInfo(HRX_CIMaxRH, CTFieldInfo::CreateDouble(QStringLiteral("HRX_CIMaxRH"), 95));
  pTblInfo->AddFieldInfo(HRX_RAMinTemp, CTFieldInfo::CreateDouble(QStringLiteral("HRX_RAMinTemp")));
  pTblInfo->AddFieldInfo(HRX_VIMinTemp, CTFieldInfo::CreateDouble(QStringLiteral("HRX_VIMinTemp"), -10));
  pTblInfo->AddFieldInfo(HRX_OAMinTemp, CTFieldInfo::CreateDouble(QStringLiteral("HRX_OAMinTemp"), -15));
  pTblInfo->AddFieldInfo(HRX_VIMinTempUpsideDown,
                         CTFieldInfo::CreateDouble(QStringLiteral("HRX_VIMinTempUpsideDown"), 5));
  pTblInfo->AddFieldInfo(HRX_RAMaxTemp, CTFieldInfo::CreateDouble(QStringLiteral("HRX_RAMaxTemp"), 40));
  pTblInfo->AddFieldInfo(HRX_OAMaxTemp, CTFieldInfo::CreateDouble(QStringLiteral("HRX_OAMaxTemp"), 40));
  pTblInfo->AddFieldInfo(HRX_CanBeUpsideDown, CTFieldInfo::CreateBoolean(QStringLiteral("HRX_CanBeUpsideDown")));
}

ObjectList<Cls_HRXSpeed> Cls_HRX::GetAllHRXSpeed() {
  return RecordsAs<Cls_HRXSpeed>(GetRelatedByIx(Cls_HRXSpeed::kClassID, Cls_HRXSpeed::VSP_HRX_CLS_REF));
}

ObjectList<Cls_HRXPolynomial> Cls_HRX::GetAllHRXPolynomial() {
  return RecordsAs<Cls_HRXPolynomial>(GetRelatedByIx(Cls_HRXPolynomial::kClassID, Cls_HRXPolynomial::VPO_HRX_CLS_REF));
}

std::unique_ptr<Cls_IndoorUnit> Cls_HRX::GetTheIndoorUnit() {
  return RecordAs<Cls_IndoorUnit>(GetUniqueRelatedByIx(Cls_IndoorUnit::kClassID, Cls_IndoorUnit::IND_HRX_CLS_REF));
}
