#include "catalogue/ClHRXEcodesign.h"

#include "catalogue/ClHRX.h"
#include "catalogue/RecordCast.h"

Cls_HRXEcodesign::Cls_HRXEcodesign(int nObjID, CTBaseFactory* pFactory) : CTDbObject(kClassID, nObjID, pFactory) {}

void Cls_HRXEcodesign::Initialize(CTTableInfo* pTblInfo, const QString& szIDFieldName) {
  const QString idName = szIDFieldName.isEmpty() ? QStringLiteral("ECO_ID") : szIDFieldName;
  CTDbObject::Initialize(pTblInfo, idName);
  pTblInfo->AddFieldInfo(ECO_HRX_CLS_REF, CTFieldInfo::CreateInteger(QStringLiteral("ECO_HRX_CLS_REF")));
  pTblInfo->AddFieldInfo(ECO_HRX_OBJ_REF, CTFieldInfo::CreateInteger(QStringLiteral("ECO_HRX_OBJ_REF")));
  pTblInfo->AddFieldInfo(ECO_Typology, CTFieldInfo::CreateInteger(QStringLiteral("ECO_Typology")));
  pTblInfo->AddFieldInfo(ECO_HrsType, CTFieldInfo::CreateInteger(QStringLiteral("ECO_HrsType")));
  pTblInfo->AddFieldInfo(ECO_Drive, CTFieldInfo::CreateInteger(QStringLiteral("ECO_Drive")));
  pTblInfo->AddFieldInfo(ECO_NomAirflow, CTFieldInfo::CreateDouble(QStringLiteral("ECO_NomAirflow")));
  pTblInfo->AddFieldInfo(ECO_NomPressure, CTFieldInfo::CreateDouble(QStringLiteral("ECO_NomPressure")));
  pTblInfo->AddFieldInfo(ECO_ExternalLeakage, CTFieldInfo::CreateDouble(QStringLiteral("ECO_ExternalLeakage")));
  pTblInfo->AddFieldInfo(ECO_InternalLeakage, CTFieldInfo::CreateDouble(QStringLiteral("ECO_InternalLeakage")));
  pTblInfo->AddFieldInfo(ECO_FaceArea, CTFieldInfo::CreateDouble(QStringLiteral("ECO_FaceArea")));
  pTblInfo->AddFieldInfo(ECO_SoundAirflow, CTFieldInfo::CreateDouble(QStringLiteral("ECO_SoundAirflow")));
  pTblInfo->AddFieldInfo(ECO_SoundPressure, CTFieldInfo::CreateDouble(QStringLiteral("ECO_SoundPressure")));
  pTblInfo->AddFieldInfo(ECO_FilterPerformance,
                         CTFieldInfo::CreateUnicodeString(QStringLiteral("ECO_FilterPerformance"), QString()));
  pTblInfo->AddFieldInfo(ECO_DisassemblyURL,
                         CTFieldInfo::CreateUnicodeString(QStringLiteral("ECO_DisassemblyURL"), QString()));
  pTblInfo->AddFieldInfo(ECO_Supplier, CTFieldInfo::CreateUnicodeString(QStringLiteral("ECO_Supplier"), QString()));
  pTblInfo->AddFieldInfo(ECO_Bypass, CTFieldInfo::CreateBoolean(QStringLiteral("ECO_Bypass")));
}

std::unique_ptr<Cls_HRX> Cls_HRXEcodesign::GetHRX() { return RecordAs<Cls_HRX>(GetRelationByIx(ECO_HRX_CLS_REF)); }
