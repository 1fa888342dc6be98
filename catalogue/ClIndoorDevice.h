#pragma once
// Cls_IndoorDevice: a device with a refrigerant coil: capacity index, piping, drain and fan data.

#include "catalogue/ClDevice.h"

#include <QString>

class Cls_IndoorDevice : public Cls_Device {
 public:
  static constexpr int kClassID = 169;
  enum : int {
    Fld_ID = 0,
    Fld_CapIndex = 13,
    Fld_PipLiquid = 14,
    Fld_HighFan = 15,
    Fld_HasDucting = 16,
    Fld_PipGas = 17,
    Fld_DrainPipeSide = 18,
    Fld_PipDrainExt = 19,
    Fld_DrainPipeXY = 20,
    Fld_Series = 21,
    Fld_LiquidPipeXY = 22,
    Fld_LowFan = 23,
    Fld_PipDrainInt = 24,
    Fld_LiquidPipeSide = 25,
    Fld_CanBeRotated = 26,
    Fld_PlacementType = 27,
    Fld_Has3Pipes = 28,
    Fld_Pipe3Diam = 29,
  };

  // Declares the columns: the id column (named szIDFieldName, else "Fld_ID"),
  // the inherited ones, then this table's own.
  static void Initialize(CTTableInfo* pTblInfo, const QString& szIDFieldName = QString());

  double GetCapIndex() const { return GetDoubleValue(Fld_CapIndex); }
  void SetCapIndex(double d) { SetDoubleValue(Fld_CapIndex, d); }
  double GetPipLiquid() const { return GetDoubleValue(Fld_PipLiquid); }
  void SetPipLiquid(double d) { SetDoubleValue(Fld_PipLiquid, d); }
  double GetHighFan() const { return GetDoubleValue(Fld_HighFan); }
  void SetHighFan(double d) { SetDoubleValue(Fld_HighFan, d); }
  bool GetHasDucting() const { return GetBooleanValue(Fld_HasDucting); }
  void SetHasDucting(bool b) { SetBooleanValue(Fld_HasDucting, b); }
  double GetPipGas() const { return GetDoubleValue(Fld_PipGas); }
  void SetPipGas(double d) { SetDoubleValue(Fld_PipGas, d); }
  int GetDrainPipeSide() const { return GetIntegerValue(Fld_DrainPipeSide); }
  void SetDrainPipeSide(int n) { SetIntegerValue(Fld_DrainPipeSide, n); }
  double GetPipDrainExt() const { return GetDoubleValue(Fld_PipDrainExt); }
  void SetPipDrainExt(double d) { SetDoubleValue(Fld_PipDrainExt, d); }
  double GetDrainPipeXY() const { return GetDoubleValue(Fld_DrainPipeXY); }
  void SetDrainPipeXY(double d) { SetDoubleValue(Fld_DrainPipeXY, d); }
  QString GetSeries() const { return GetUntranslatedStringValue(Fld_Series); }
  void SetSeries(const QString& s) { SetUnicodeStringValue(Fld_Series, s); }
  double GetLiquidPipeXY() const { return GetDoubleValue(Fld_LiquidPipeXY); }
  void SetLiquidPipeXY(double d) { SetDoubleValue(Fld_LiquidPipeXY, d); }
  double GetLowFan() const { return GetDoubleValue(Fld_LowFan); }
  void SetLowFan(double d) { SetDoubleValue(Fld_LowFan, d); }
  double GetPipDrainInt() const { return GetDoubleValue(Fld_PipDrainInt); }
  void SetPipDrainInt(double d) { SetDoubleValue(Fld_PipDrainInt, d); }
  int GetLiquidPipeSide() const { return GetIntegerValue(Fld_LiquidPipeSide); }
  void SetLiquidPipeSide(int n) { SetIntegerValue(Fld_LiquidPipeSide, n); }
  int GetCanBeRotated() const { return GetIntegerValue(Fld_CanBeRotated); }
  void SetCanBeRotated(int n) { SetIntegerValue(Fld_CanBeRotated, n); }
  int GetPlacementType() const { return GetIntegerValue(Fld_PlacementType); }
  void SetPlacementType(int n) { SetIntegerValue(Fld_PlacementType, n); }
  bool GetHas3Pipes() const { return GetBooleanValue(Fld_Has3Pipes); }
  void SetHas3Pipes(bool b) { SetBooleanValue(Fld_Has3Pipes, b); }
  double GetPipe3Diam() const { return GetDoubleValue(Fld_Pipe3Diam); }
  void SetPipe3Diam(double d) { SetDoubleValue(Fld_Pipe3Diam, d); }

 protected:
  // For the record classes of derived tables.
  Cls_IndoorDevice(int nClsID, int nObjID, CTBaseFactory* pFactory);
};
