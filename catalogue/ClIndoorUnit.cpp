#include "catalogue/ClIndoorUnit.h"

#include "catalogue/ClHRX.h"
#include "catalogue/ClIndTabularCap.h"
#include "catalogue/RecordCast.h"

Cls_IndoorUnit::Cls_IndoorUnit(int nObjID, CTBaseFactory* pFactory) : Cls_IndoorDevice(kClassID, nObjID, pFactory) {}

void Cls_IndoorUnit::Initialize(CTTableInfo* pTblInfo, const QString& szIDFieldName) {
  const QString idName = szIDFieldName.isEmpty() ? QStringLiteral("IND_ID") : szIDFieldName;
  Cls_IndoorDevice::Initialize(pTblInfo, idName);
  pTblInfo->AddFieldInfo(IND_MaxConnRatio, CTFieldInfo::CreateDouble(QStringLiteral("IND_MaxConnRatio")));
  pTblInfo->AddFieldInfo(IND_Family, CTFieldInfo::CreateUnicodeString(QStringLiteral("IND_Family")));
  pTblInfo->AddFieldInfo(IND_MaxMixAirPercentage,
                         CTFieldInfo::CreateDouble(QStringLiteral("IND_MaxMixAirPercentage"), 100));
  pTblInfo->AddFieldInfo(IND_MaxMixWaterPercentage,
                         CTFieldInfo::CreateDouble(QStringLiteral("IND_MaxMixWaterPercentage"), 100));
  pTblInfo->AddFieldInfo(IND_MaxInletWaterTemp, CTFieldInfo::CreateDouble(QStringLiteral("IND_MaxInletWaterTemp")));
  pTblInfo->AddFieldInfo(IND_DoorWidth, CTFieldInfo::CreateDouble(QStringLiteral("IND_DoorWidth")));
  pTblInfo->AddFieldInfo(IND_MinDoorHeight, CTFieldInfo::CreateDouble(QStringLiteral("IND_MinDoorHeight")));
  pTblInfo->AddFieldInfo(IND_MaxDoorHeight, CTFieldInfo::CreateDouble(QStringLiteral("IND_MaxDoorHeight")));
  pTblInfo->AddFieldInfo(IND_Color, CTFieldInfo::CreateUnicodeString(QStringLiteral("IND_Color"), QStringLiteral(" ")));
  pTblInfo->AddFieldInfo(IND_HasController, CTFieldInfo::CreateBoolean(QStringLiteral("IND_HasController"), true));
  pTblInfo->AddFieldInfo(IND_PIFanMotor, CTFieldInfo::CreateDouble(QStringLiteral("IND_PIFanMotor")));
  pTblInfo->AddFieldInfo(IND_FanPosition, CTFieldInfo::CreateInteger(QStringLiteral("IND_FanPosition")));
  pTblInfo->AddFieldInfo(IND_ExtraCharge, CTFieldInfo::CreateDouble(QStringLiteral("IND_ExtraCharge")));
  pTblInfo->AddFieldInfo(IND_NominalHeatIndTemp,
                         CTFieldInfo::CreateDouble(QStringLiteral("IND_NominalHeatIndTemp"), 20));
  pTblInfo->AddFieldInfo(IND_NominalCoolIndTemp,
                         CTFieldInfo::CreateDouble(QStringLiteral("IND_NominalCoolIndTemp"), 27));
  pTblInfo->AddFieldInfo(IND_NominalVeltrinCap, CTFieldInfo::CreateDouble(QStringLiteral("IND_NominalVeltrinCap")));
  pTblInfo->AddFieldInfo(IND_MaxDXConnRatio, CTFieldInfo::CreateDouble(QStringLiteral("IND_MaxDXConnRatio")));
  pTblInfo->AddFieldInfo(IND_IsRAIndoor, CTFieldInfo::CreateBoolean(QStringLiteral("IND_IsRAIndoor")));
  pTblInfo->AddFieldInfo(IND_IsRASplitUnit, CTFieldInfo::CreateBoolean(QStringLiteral("IND_IsRASplitUnit")));
  pTblInfo->AddFieldInfo(IND_IsReversible, CTFieldInfo::CreateBoolean(QStringLiteral("IND_IsReversible")));
  pTblInfo->AddFieldInfo(IND_CanSelectOnSensible,
                         CTFieldInfo::CreateBoolean(QStringLiteral("IND_CanSelectOnSensible"), true));
  pTblInfo->AddFieldInfo(IND_UseIndoorExtraCharge,
                         CTFieldInfo::CreateBoolean(QStringLiteral("IND_UseIndoorExtraCharge")));
  pTblInfo->AddFieldInfo(IND_NominalAirFlow, CTFieldInfo::CreateDouble(QStringLiteral("IND_NominalAirFlow")));
  pTblInfo->AddFieldInfo(IND_IuEquivalentPipeLength,
                         CTFieldInfo::CreateDouble(QStringLiteral("IND_IuEquivalentPipeLength")));
  pTblInfo->AddFieldInfo(IND_IuActualPipeLength, CTFieldInfo::CreateDouble(QStringLiteral("IND_IuActualPipeLength")));
  pTblInfo->AddFieldInfo(IND_IuRefrigerantFactorE,
                         CTFieldInfo::CreateDouble(QStringLiteral("IND_IuRefrigerantFactorE")));
  pTblInfo->AddFieldInfo(IND_HRX_CLS_REF, CTFieldInfo::CreateInteger(QStringLiteral("IND_HRX_CLS_REF")));
  pTblInfo->AddFieldInfo(IND_HRX_OBJ_REF, CTFieldInfo::CreateInteger(QStringLiteral("IND_HRX_OBJ_REF")));
  pTblInfo->AddFieldInfo(IND_CondensingLimit, CTFieldInfo::CreateDouble(QStringLiteral("IND_CondensingLimit")));
}

std::unique_ptr<Cls_HRX> Cls_IndoorUnit::GetHRX() { return RecordAs<Cls_HRX>(GetRelationByIx(IND_HRX_CLS_REF)); }

ObjectList<Cls_IndTabularCap> Cls_IndoorUnit::GetAllIndTabularCap() {
  return RecordsAs<Cls_IndTabularCap>(
      GetRelatedByIx(Cls_IndTabularCap::kClassID, Cls_IndTabularCap::Fld_IndoorUnit_CLS_REF));
}

Cls_IndoorUnit::~Cls_IndoorUnit() = default;

CTCoilCapacity& Cls_IndoorUnit::Capacity() {
  if (!v_capacity) {
    std::vector<CTCapacityRow> rows;
    if (IsStored()) {
      for (const Cls_IndTabularCap* r : GetAllIndTabularCap()) {
        CTCapacityRow row;
        row.kind = r->GetType();
        row.te = r->GetTe();
        row.select = r->GetSelect();
        for (int k = 1; k <= 7; ++k) row.cols[std::size_t(k - 1)] = r->GetDataVal(k);
        rows.push_back(row);
      }
    }
    v_capacity = std::make_unique<CTCoilCapacity>(std::move(rows), GetHighFan(), GetPIFanMotor(), GetFanPosition());
  }
  return *v_capacity;
}

double Cls_IndoorUnit::GetHeatCap(double RoomTemp, bool InTableValues, int& ErrCode) {
  return Capacity().GetHeatCap(RoomTemp, InTableValues, ErrCode);
}

double Cls_IndoorUnit::GetTCoolCap(double TE, double DBRoomTemp, double RoomRH, const TAir& Air, bool InTableValues,
                                   int& ErrCode) {
  return Capacity().GetTCoolCap(TE, DBRoomTemp, RoomRH, Air, InTableValues, ErrCode);
}

double Cls_IndoorUnit::GetSCoolCap(double TE, double DBRoomTemp, double RoomRH, const TAir& Air, bool InTableValues,
                                   int& ErrCode) {
  return Capacity().GetSCoolCap(TE, DBRoomTemp, RoomRH, Air, InTableValues, ErrCode);
}
