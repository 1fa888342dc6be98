#pragma once
// Cls_HRX: a heat-recovery ventilation unit: airflow range, duct size and the air-state limits of its four
// ports.

#include "catalogue/ClDevice.h"

#include <QString>

#include <memory>

class Cls_HRXPolynomial;
class Cls_HRXSpeed;
class Cls_IndoorUnit;

class Cls_HRX : public Cls_Device {
 public:
  static constexpr int kClassID = 144;
  enum : int {
    HRX_ID = 0,
    HRX_Type = 13,
    HRX_NomHumidity = 14,
    HRX_MaxAirflow = 15,
    HRX_Series = 16,
    HRX_NomAirflow = 17,
    HRX_DuctDiam = 18,
    HRX_MinAirflow = 19,
    HRX_MinTempFanOnly = 20,
    HRX_MaxTempFanOnly = 21,
    HRX_EAMaxRH = 22,
    HRX_EAMaxRHUpsideDown = 23,
    HRX_VOMaxRHUpsideDown = 24,
    HRX_OAMaxRH = 25,
    HRX_VOMaxRH = 26,
    HRX_RAMaxRH = 27,
    HRX_CIMaxRHUpsideDown = 28,
    HRX_CIMaxRH = 29,
    HRX_RAMinTemp = 30,
    HRX_VIMinTemp = 31,
    HRX_OAMinTemp = 32,
    HRX_VIMinTempUpsideDown = 33,
    HRX_RAMaxTemp = 34,
    HRX_OAMaxTemp = 35,
    HRX_CanBeUpsideDown = 36,
  };

  explicit Cls_HRX(int nObjID = 0, CTBaseFactory* pFactory = nullptr);

  // Declares the columns: the id column (named szIDFieldName, else "HRX_ID"),
  // the inherited ones, then this table's own.
  static void Initialize(CTTableInfo* pTblInfo, const QString& szIDFieldName = QString());

  int GetType() const { return GetIntegerValue(HRX_Type); }
  void SetType(int n) { SetIntegerValue(HRX_Type, n); }
  double GetNomHumidity() const { return GetDoubleValue(HRX_NomHumidity); }
  void SetNomHumidity(double d) { SetDoubleValue(HRX_NomHumidity, d); }
  double GetMaxAirflow() const { return GetDoubleValue(HRX_MaxAirflow); }
  void SetMaxAirflow(double d) { SetDoubleValue(HRX_MaxAirflow, d); }
  QString GetSeries() const { return GetUntranslatedStringValue(HRX_Series); }
  void SetSeries(const QString& s) { SetUnicodeStringValue(HRX_Series, s); }
  // Fresh-air units (type 2) keep their minimum outdoor humidities (%) for
  // cooling and heating in the exhaust and room humidity limits.
  double GetMinCoolRH() const { return GetEAMaxRH(); }
  double GetMinHeatRH() const { return GetRAMaxRH(); }
  double GetNomAirflow() const { return GetDoubleValue(HRX_NomAirflow); }
  void SetNomAirflow(double d) { SetDoubleValue(HRX_NomAirflow, d); }
  double GetDuctDiam() const { return GetDoubleValue(HRX_DuctDiam); }
  void SetDuctDiam(double d) { SetDoubleValue(HRX_DuctDiam, d); }
  double GetMinAirflow() const { return GetDoubleValue(HRX_MinAirflow); }
  void SetMinAirflow(double d) { SetDoubleValue(HRX_MinAirflow, d); }
  double GetMinTempFanOnly() const { return GetDoubleValue(HRX_MinTempFanOnly); }
  void SetMinTempFanOnly(double d) { SetDoubleValue(HRX_MinTempFanOnly, d); }
  double GetMaxTempFanOnly() const { return GetDoubleValue(HRX_MaxTempFanOnly); }
  void SetMaxTempFanOnly(double d) { SetDoubleValue(HRX_MaxTempFanOnly, d); }
  double GetEAMaxRH() const { return GetDoubleValue(HRX_EAMaxRH); }
  void SetEAMaxRH(double d) { SetDoubleValue(HRX_EAMaxRH, d); }
  double GetEAMaxRHUpsideDown() const { return GetDoubleValue(HRX_EAMaxRHUpsideDown); }
  void SetEAMaxRHUpsideDown(double d) { SetDoubleValue(HRX_EAMaxRHUpsideDown, d); }
  double GetVOMaxRHUpsideDown() const { return GetDoubleValue(HRX_VOMaxRHUpsideDown); }
  void SetVOMaxRHUpsideDown(double d) { SetDoubleValue(HRX_VOMaxRHUpsideDown, d); }
  double GetOAMaxRH() const { return GetDoubleValue(HRX_OAMaxRH); }
  void SetOAMaxRH(double d) { SetDoubleValue(HRX_OAMaxRH, d); }
  double GetVOMaxRH() const { return GetDoubleValue(HRX_VOMaxRH); }
  void SetVOMaxRH(double d) { SetDoubleValue(HRX_VOMaxRH, d); }
  double GetRAMaxRH() const { return GetDoubleValue(HRX_RAMaxRH); }
  void SetRAMaxRH(double d) { SetDoubleValue(HRX_RAMaxRH, d); }
  double GetCIMaxRHUpsideDown() const { return GetDoubleValue(HRX_CIMaxRHUpsideDown); }
  void SetCIMaxRHUpsideDown(double d) { SetDoubleValue(HRX_CIMaxRHUpsideDown, d); }
  double GetCIMaxRH() const { return GetDoubleValue(HRX_CIMaxRH); }
  void SetCIMaxRH(double d) { SetDoubleValue(HRX_CIMaxRH, d); }
  double GetRAMinTemp() const { return GetDoubleValue(HRX_RAMinTemp); }
  void SetRAMinTemp(double d) { SetDoubleValue(HRX_RAMinTemp, d); }
  double GetVIMinTemp() const { return GetDoubleValue(HRX_VIMinTemp); }
  void SetVIMinTemp(double d) { SetDoubleValue(HRX_VIMinTemp, d); }
  double GetOAMinTemp() const { return GetDoubleValue(HRX_OAMinTemp); }
  void SetOAMinTemp(double d) { SetDoubleValue(HRX_OAMinTemp, d); }
  double GetVIMinTempUpsideDown() const { return GetDoubleValue(HRX_VIMinTempUpsideDown); }
  void SetVIMinTempUpsideDown(double d) { SetDoubleValue(HRX_VIMinTempUpsideDown, d); }
  double GetRAMaxTemp() const { return GetDoubleValue(HRX_RAMaxTemp); }
  void SetRAMaxTemp(double d) { SetDoubleValue(HRX_RAMaxTemp, d); }
  double GetOAMaxTemp() const { return GetDoubleValue(HRX_OAMaxTemp); }
  void SetOAMaxTemp(double d) { SetDoubleValue(HRX_OAMaxTemp, d); }
  bool GetCanBeUpsideDown() const { return GetBooleanValue(HRX_CanBeUpsideDown); }
  void SetCanBeUpsideDown(bool b) { SetBooleanValue(HRX_CanBeUpsideDown, b); }
  // The records that refer here through "HRXSpeeds".
  ObjectList<Cls_HRXSpeed> GetAllHRXSpeed();
  // The records that refer here through "HRXCapExEffCorrs".
  ObjectList<Cls_HRXPolynomial> GetAllHRXPolynomial();
  // The record that refers here through "Indoor_Part", or none.
  std::unique_ptr<Cls_IndoorUnit> GetTheIndoorUnit();
};
