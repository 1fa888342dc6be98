#include "catalogue/ClPowerSupply.h"
#include "i18n/MsgMan.h"
#include "i18n/BaseMsgMan.h"

#include "catalogue/ClDevPSAllowed.h"
#include "catalogue/ClDeviceOption.h"
#include "catalogue/RecordCast.h"

Cls_PowerSupply::Cls_PowerSupply(int nObjID, CTBaseFactory* pFactory) : CTDbObject(kClassID, nObjID, pFactory) {}

void Cls_PowerSupply::Initialize(CTTableInfo* pTblInfo, const QString& szIDFieldName) {
  const QString idName = szIDFieldName.isEmpty() ? QStringLiteral("PWS_ID") : szIDFieldName;
  CTDbObject::Initialize(pTblInfo, idName);
  pTblInfo->AddFieldInfo(PWS_PhaseNames, CTFieldInfo::CreateUnicodeString(QStringLiteral("PWS_PhaseNames")));
  pTblInfo->AddFieldInfo(PWS_Range, CTFieldInfo::CreateUnicodeString(QStringLiteral("PWS_Range")));
  pTblInfo->AddFieldInfo(PWS_Deleted, CTFieldInfo::CreateBoolean(QStringLiteral("PWS_Deleted")));
  pTblInfo->AddFieldInfo(PWS_Default, CTFieldInfo::CreateBoolean(QStringLiteral("PWS_Default")));
  pTblInfo->AddFieldInfo(PWS_Name, CTFieldInfo::CreateUnicodeString(QStringLiteral("PWS_Name")), true);
  pTblInfo->AddFieldInfo(PWS_Voltage, CTFieldInfo::CreateUnicodeString(QStringLiteral("PWS_Voltage")));
  pTblInfo->AddFieldInfo(PWS_Phases, CTFieldInfo::CreateUnicodeString(QStringLiteral("PWS_Phases")));
  pTblInfo->AddFieldInfo(PWS_FrequencyKind, CTFieldInfo::CreateInteger(QStringLiteral("PWS_FrequencyKind")));
}

ObjectList<Cls_DevPSAllowed> Cls_PowerSupply::GetAllDevPSAllowed() {
  return RecordsAs<Cls_DevPSAllowed>(
      GetRelatedByIx(Cls_DevPSAllowed::kClassID, Cls_DevPSAllowed::Fld_PowerSupply_CLS_REF));
}

ObjectList<Cls_DeviceOption> Cls_PowerSupply::GetAllDeviceOption() {
  return RecordsAs<Cls_DeviceOption>(
      GetRelatedByIx(Cls_DeviceOption::kClassID, Cls_DeviceOption::Fld_PowerSupply_CLS_REF));
}

QString Cls_PowerSupply::FrequencyString(int nFrequencyKind) {
  TDlgForm::Load();
  switch (nFrequencyKind) {
    case 1: return TBaseMsg::GetUnicodeString(17);
    case 2: return TBaseMsg::GetUnicodeString(19);
    case 3: return TBaseMsg::GetUnicodeString(18);
    default: return QString();
  }
}

QString Cls_PowerSupply::GetDescriptiveName() const {
  return GetPhases() + QStringLiteral("×") + GetVoltage() + QStringLiteral(", ") + FrequencyString(GetFrequencyKind()) +
         QStringLiteral(" (") + GetName() + QLatin1Char(')');
}
