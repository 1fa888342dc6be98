#pragma once
// Cls_IndoorUnit: an indoor unit: connection ratios, nominal temperatures and capacity, and the ventilation
// unit whose coil part it is.

#include "catalogue/ClIndoorDevice.h"
#include "catalogue/CoilCapacity.h"

#include <QString>

#include <memory>

class Cls_HRX;
class Cls_IndTabularCap;

class Cls_IndoorUnit : public Cls_IndoorDevice {
 public:
  static constexpr int kClassID = 109;
  enum : int {
    IND_ID = 0,
    IND_MaxConnRatio = 30,
    IND_Family = 31,
    IND_MaxMixAirPercentage = 32,
    IND_MaxMixWaterPercentage = 33,
    IND_MaxInletWaterTemp = 34,
    IND_DoorWidth = 35,
    IND_MinDoorHeight = 36,
    IND_MaxDoorHeight = 37,
    IND_Color = 38,
    IND_HasController = 39,
    IND_PIFanMotor = 40,
    IND_FanPosition = 41,
    IND_ExtraCharge = 42,
    IND_NominalHeatIndTemp = 43,
    IND_NominalCoolIndTemp = 44,
    IND_NominalVeltrinCap = 45,
    IND_MaxDXConnRatio = 46,
    IND_IsRAIndoor = 47,
    IND_IsRASplitUnit = 48,
    IND_IsReversible = 49,
    IND_CanSelectOnSensible = 50,
    IND_UseIndoorExtraCharge = 51,
    IND_NominalAirFlow = 52,
    IND_IuEquivalentPipeLength = 53,
    IND_IuActualPipeLength = 54,
    IND_IuRefrigerantFactorE = 55,
    IND_HRX_CLS_REF = 56,
    IND_HRX_OBJ_REF = 57,
    IND_CondensingLimit = 58,
  };

  explicit Cls_IndoorUnit(int nObjID = 0, CTBaseFactory* pFactory = nullptr);

  // Declares the columns: the id column (named szIDFieldName, else "IND_ID"),
  // the inherited ones, then this table's own.
  static void Initialize(CTTableInfo* pTblInfo, const QString& szIDFieldName = QString());

  // The warmest the coil can make the air in heating (degC), set by the
  // refrigerant's condensing temperature; 0 where the data do not state it.
  double GetCondensingLimit() const { return GetDoubleValue(IND_CondensingLimit); }
  void SetCondensingLimit(double d) { SetDoubleValue(IND_CondensingLimit, d); }
  double GetMaxConnRatio() const { return GetDoubleValue(IND_MaxConnRatio); }
  void SetMaxConnRatio(double d) { SetDoubleValue(IND_MaxConnRatio, d); }
  QString GetFamily() const { return GetUntranslatedStringValue(IND_Family); }
  void SetFamily(const QString& s) { SetUnicodeStringValue(IND_Family, s); }
  double GetMaxMixAirPercentage() const { return GetDoubleValue(IND_MaxMixAirPercentage); }
  void SetMaxMixAirPercentage(double d) { SetDoubleValue(IND_MaxMixAirPercentage, d); }
  double GetMaxMixWaterPercentage() const { return GetDoubleValue(IND_MaxMixWaterPercentage); }
  void SetMaxMixWaterPercentage(double d) { SetDoubleValue(IND_MaxMixWaterPercentage, d); }
  double GetMaxInletWaterTemp() const { return GetDoubleValue(IND_MaxInletWaterTemp); }
  void SetMaxInletWaterTemp(double d) { SetDoubleValue(IND_MaxInletWaterTemp, d); }
  double GetDoorWidth() const { return GetDoubleValue(IND_DoorWidth); }
  void SetDoorWidth(double d) { SetDoubleValue(IND_DoorWidth, d); }
  double GetMinDoorHeight() const { return GetDoubleValue(IND_MinDoorHeight); }
  void SetMinDoorHeight(double d) { SetDoubleValue(IND_MinDoorHeight, d); }
  double GetMaxDoorHeight() const { return GetDoubleValue(IND_MaxDoorHeight); }
  void SetMaxDoorHeight(double d) { SetDoubleValue(IND_MaxDoorHeight, d); }
  QString GetColor() const { return GetUntranslatedStringValue(IND_Color); }
  void SetColor(const QString& s) { SetUnicodeStringValue(IND_Color, s); }
  bool GetHasController() const { return GetBooleanValue(IND_HasController); }
  void SetHasController(bool b) { SetBooleanValue(IND_HasController, b); }
  double GetPIFanMotor() const { return GetDoubleValue(IND_PIFanMotor); }
  void SetPIFanMotor(double d) { SetDoubleValue(IND_PIFanMotor, d); }
  int GetFanPosition() const { return GetIntegerValue(IND_FanPosition); }
  void SetFanPosition(int n) { SetIntegerValue(IND_FanPosition, n); }
  double GetExtraCharge() const { return GetDoubleValue(IND_ExtraCharge); }
  void SetExtraCharge(double d) { SetDoubleValue(IND_ExtraCharge, d); }
  double GetNominalHeatIndTemp() const { return GetDoubleValue(IND_NominalHeatIndTemp); }
  void SetNominalHeatIndTemp(double d) { SetDoubleValue(IND_NominalHeatIndTemp, d); }
  double GetNominalCoolIndTemp() const { return GetDoubleValue(IND_NominalCoolIndTemp); }
  void SetNominalCoolIndTemp(double d) { SetDoubleValue(IND_NominalCoolIndTemp, d); }
  double GetNominalVeltrinCap() const { return GetDoubleValue(IND_NominalVeltrinCap); }
  void SetNominalVeltrinCap(double d) { SetDoubleValue(IND_NominalVeltrinCap, d); }
  double GetMaxDXConnRatio() const { return GetDoubleValue(IND_MaxDXConnRatio); }
  void SetMaxDXConnRatio(double d) { SetDoubleValue(IND_MaxDXConnRatio, d); }
  bool GetIsRAIndoor() const { return GetBooleanValue(IND_IsRAIndoor); }
  void SetIsRAIndoor(bool b) { SetBooleanValue(IND_IsRAIndoor, b); }
  bool GetIsRASplitUnit() const { return GetBooleanValue(IND_IsRASplitUnit); }
  void SetIsRASplitUnit(bool b) { SetBooleanValue(IND_IsRASplitUnit, b); }
  bool GetIsReversible() const { return GetBooleanValue(IND_IsReversible); }
  void SetIsReversible(bool b) { SetBooleanValue(IND_IsReversible, b); }
  bool GetCanSelectOnSensible() const { return GetBooleanValue(IND_CanSelectOnSensible); }
  void SetCanSelectOnSensible(bool b) { SetBooleanValue(IND_CanSelectOnSensible, b); }
  bool GetUseIndoorExtraCharge() const { return GetBooleanValue(IND_UseIndoorExtraCharge); }
  void SetUseIndoorExtraCharge(bool b) { SetBooleanValue(IND_UseIndoorExtraCharge, b); }
  double GetNominalAirFlow() const { return GetDoubleValue(IND_NominalAirFlow); }
  void SetNominalAirFlow(double d) { SetDoubleValue(IND_NominalAirFlow, d); }
  double GetIuEquivalentPipeLength() const { return GetDoubleValue(IND_IuEquivalentPipeLength); }
  void SetIuEquivalentPipeLength(double d) { SetDoubleValue(IND_IuEquivalentPipeLength, d); }
  double GetIuActualPipeLength() const { return GetDoubleValue(IND_IuActualPipeLength); }
  void SetIuActualPipeLength(double d) { SetDoubleValue(IND_IuActualPipeLength, d); }
  double GetIuRefrigerantFactorE() const { return GetDoubleValue(IND_IuRefrigerantFactorE); }
  void SetIuRefrigerantFactorE(double d) { SetDoubleValue(IND_IuRefrigerantFactorE, d); }
  void GetHRXRef(int& nClsID, int& nObjID) const { GetRefValues(IND_HRX_CLS_REF, nClsID, nObjID); }
  void SetHRX(const CTDbObject* pObj) { SetRelationByIx(IND_HRX_CLS_REF, pObj); }
  // The referenced record (owned by the caller), none for an empty reference.
  std::unique_ptr<Cls_HRX> GetHRX();
  // The records that refer here through "IndoorCapacityData".
  ObjectList<Cls_IndTabularCap> GetAllIndTabularCap();

  // Capacities of the coil from its capacity rows (read on the first query
  // and kept until ClearCache); error codes as CTCoilCapacity's.
  double GetHeatCap(double RoomTemp, bool InTableValues, int& ErrCode);
  double GetTCoolCap(double TE, double DBRoomTemp, double RoomRH, const TAir& Air, bool InTableValues, int& ErrCode);
  double GetSCoolCap(double TE, double DBRoomTemp, double RoomRH, const TAir& Air, bool InTableValues, int& ErrCode);
  void ClearCache() { v_capacity.reset(); }
  CTCoilCapacity& Capacity();

  ~Cls_IndoorUnit() override;

 private:
  std::unique_ptr<CTCoilCapacity> v_capacity;
};
