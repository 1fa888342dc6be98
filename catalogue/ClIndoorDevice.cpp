#include "catalogue/ClIndoorDevice.h"

Cls_IndoorDevice::Cls_IndoorDevice(int nClsID, int nObjID, CTBaseFactory* pFactory)
    : Cls_Device(nClsID, nObjID, pFactory) {}

void Cls_IndoorDevice::Initialize(CTTableInfo* pTblInfo, const QString& szIDFieldName) {
  const QString idName = szIDFieldName.isEmpty() ? QStringLiteral("Fld_ID") : szIDFieldName;
  Cls_Device::Initialize(pTblInfo, idName);
  pTblInfo->AddFieldInfo(Fld_CapIndex, CTFieldInfo::CreateDouble(QStringLiteral("Fld_CapIndex")));
  pTblInfo->AddFieldInfo(Fld_PipLiquid, CTFieldInfo::CreateDouble(QStringLiteral("Fld_PipLiquid")));
  pTblInfo->AddFieldInfo(Fld_HighFan, CTFieldInfo::CreateDouble(QStringLiteral("Fld_HighFan")));
  pTblInfo->AddFieldInfo(Fld_HasDucting, CTFieldInfo::CreateBoolean(QStringLiteral("Fld_HasDucting")));
  pTblInfo->AddFieldInfo(Fld_PipGas, CTFieldInfo::CreateDouble(QStringLiteral("Fld_PipGas")));
  pTblInfo->AddFieldInfo(Fld_DrainPipeSide, CTFieldInfo::CreateInteger(QStringLiteral("Fld_DrainPipeSide"), 1));
  pTblInfo->AddFieldInfo(Fld_PipDrainExt, CTFieldInfo::CreateDouble(QStringLiteral("Fld_PipDrainExt")));
  pTblInfo->AddFieldInfo(Fld_DrainPipeXY, CTFieldInfo::CreateDouble(QStringLiteral("Fld_DrainPipeXY")));
  pTblInfo->AddFieldInfo(Fld_Series, CTFieldInfo::CreateUnicodeString(QStringLiteral("Fld_Series")));
  pTblInfo->AddFieldInfo(Fld_LiquidPipeXY, CTFieldInfo::CreateDouble(QStringLiteral("Fld_LiquidPipeXY")));
  pTblInfo->AddFieldInfo(Fld_LowFan, CTFieldInfo::CreateDouble(QStringLiteral("Fld_LowFan")));
  pTblInfo->AddFieldInfo(Fld_PipDrainInt, CTFieldInfo::CreateDouble(QStringLiteral("Fld_PipDrainInt")));
  pTblInfo->AddFieldInfo(Fld_LiquidPipeSide, CTFieldInfo::CreateInteger(QStringLiteral("Fld_LiquidPipeSide"), 1));
  pTblInfo->AddFieldInfo(Fld_CanBeRotated, CTFieldInfo::CreateInteger(QStringLiteral("Fld_CanBeRotated")));
  pTblInfo->AddFieldInfo(Fld_PlacementType, CTFieldInfo::CreateInteger(QStringLiteral("Fld_PlacementType")));
  pTblInfo->AddFieldInfo(Fld_Has3Pipes, CTFieldInfo::CreateBoolean(QStringLiteral("Fld_Has3Pipes")));
  pTblInfo->AddFieldInfo(Fld_Pipe3Diam, CTFieldInfo::CreateDouble(QStringLiteral("Fld_Pipe3Diam")));
}
