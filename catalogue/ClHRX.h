#pragma once
// Cls_HRX: a heat-recovery ventilation unit: airflow range, duct size and the air-state limits of its four
// ports.

#include "catalogue/CheckCode.h"
#include "catalogue/ClDevice.h"
#include "catalogue/PsychroSet.h"

#include <QList>
#include <vector>

#include <QString>

#include <memory>

class Cls_DevOptCombination;
class Cls_DeviceOption;
class Cls_HRXEcoCurve;
class Cls_HRXEcodesign;
class Cls_HRXPolynomial;
class Cls_HRXSound;
class Cls_HRXSpType;
class Cls_HRXSpeed;
class Cls_IndoorUnit;
class TAir;

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
  // The unit's ecodesign declaration, its curves and its sound paths; none
  // for a unit without ecodesign data.
  std::unique_ptr<Cls_HRXEcodesign> GetTheHRXEcodesign();
  ObjectList<Cls_HRXEcoCurve> GetAllHRXEcoCurve();
  ObjectList<Cls_HRXSound> GetAllHRXSound();

  ~Cls_HRX() override;

  // ---- unit families (HRX_Type) ----
  // kDrawnFamily: the last family with a configuration drawing of its own.
  enum : int { kPlainUnit = 0, kCoilUnit = 1, kFreshAirUnit = 2, kDrawnFamily = 2, kMaxFamily = 8 };
  enum : int { kHeaterOption = 4, kFilterOption = 27, kPlenumOption = 28 };
  // Whether the units of a family move room air out through a fan of their
  // own. A fresh-air unit takes outdoor air in only: its one fan is the
  // supply fan, its speeds are supply speeds, and it has no exhaust side.
  static bool HasExhaustFan(int nFamily) { return nFamily != kFreshAirUnit; }
  bool HasExhaustFan() const { return HasExhaustFan(GetType()); }

  // ---- caches: read from the catalogue on first use, kept until ClearCache ----
  // Efficiency curves (types 0 to 2) and capacity corrections (3, 4); none
  // when the catalogue has no such curve (the value then reads as 0).
  const Cls_HRXPolynomial* GetTempExhangeEfficiency();
  const Cls_HRXPolynomial* GetCoolEnthalpyExhangeEfficiency();
  const Cls_HRXPolynomial* GetHeatEnthalpyExhangeEfficiency();
  const Cls_HRXPolynomial* GetTotalCapCorrection();
  const Cls_HRXPolynomial* GetSensibleCapCorrection();
  // Capacity tables of a fresh-air unit (types 5 to 8), sorted by discharge
  // temperature then key; empty for other units.
  const std::vector<const Cls_HRXPolynomial*>& CoolCaps();
  const std::vector<const Cls_HRXPolynomial*>& MaxCoolCaps();
  const std::vector<const Cls_HRXPolynomial*>& HeatCaps();
  const std::vector<const Cls_HRXPolynomial*>& MaxHeatCaps();
  // The coil part of a unit of type 1, or none.
  Cls_IndoorUnit* GetIndoor();
  // The unit's speeds, highest step first.
  const ObjectList<Cls_HRXSpeed>& Speeds();
  const ObjectList<Cls_DeviceOption>& GetHeaterOptions();
  const ObjectList<Cls_DeviceOption>& GetFilterOptions();
  Cls_DeviceOption* GetPlenumOption();
  // The option combinations of the coil part when the unit has one,
  // otherwise the unit's own.
  ObjectList<Cls_DevOptCombination> GetOptionCombinationsForHRX();
  void ClearCache();

  // Options the user chose for this unit (owned).
  void StoreUsedOptions(std::unique_ptr<ObjectList<Cls_DeviceOption>> pOptions);
  const ObjectList<Cls_DeviceOption>* GetUsedOptions() const { return v_usedOptions.get(); }

  // ---- speeds and names ----
  const Cls_HRXSpeed* GetSupplySpeed() const { return v_supplySpeed; }
  const Cls_HRXSpeed* GetExhaustSpeed() const { return v_exhaustSpeed; }
  const Cls_HRXSpeed* GetSpeed(int SpeedId);
  void GetSpeedIds(int& SupplySpeedId, int& ExhaustSpeedId) const;
  // The chosen speeds have these ids; for a unit without an exhaust fan,
  // the supply speed alone.
  bool HasSpeeds(int SupplySpeedId, int ExhaustSpeedId) const;
  // The speed type's name and, when the step rounds above 0, the step.
  QString GetSpeedName(const Cls_HRXSpeed* TheSpeed) const;
  void GetSpeedNames(QString& SupplySpeed, QString& ExhaustSpeed) const;
  // "NV-400, High 3" or "NV-400, High 3 + Medium 2"; a fresh-air unit only by name.
  QString GetQualifiedNameFor(int nSupSpeedID, int nExtSpeedID) const;
  QString GetQualifiedName() const override;
  void GetProductLinkInfo(QString& szSeriesName, QString& szPRV) const;

  // ---- options and pressure drops (Pa, airflows in m3/h) ----
  // Filter classes: 0 none, 1 F6, 2 F7, 3 F8.
  Cls_DeviceOption* GetFilterOption(int FilterClass);
  static constexpr int kFilterClassCount = 4;
  // "F6" .. "F8"; empty for 0 and for a number that is no class.
  static QString FilterClassName(int FilterClass);
  // The class of a name ("none" or "F6" .. "F8", any case); -1 for another.
  static int FilterClassOf(const QString& szName);
  double GetFilterESP(int nFilterClass, double nAirflow);
  // nSelPlenum: 0 none, 1 outdoor and exhaust plenums, 2 all plenums.
  void GetPlenumESP(int nSelPlenum, double nAflSupply, double nAflExhaust, double& nESPSupply, double& nESPExhaust);

  // ---- ranges ----
  static void GetRanges(const ObjectList<Cls_HRX>& Devices, double& MinAirflow, double& MaxAirflow, double& MaxESP);
  // The speed types (in weight order) that some unit of the list has a speed of; not owned.
  static ObjectList<Cls_HRXSpType> AvailableSpeedTypes(const ObjectList<Cls_HRX>& Devices);
  void GetHeatDischargeRange(int& MinDischarge, int& MaxDischarge);
  void GetCoolDischargeRange(int& MinDischarge, int& MaxDischarge);
  // The supply temperature of the last heating table; Sentinel::kNoTemperature
  // without tables.
  double GetHeatSupplyTemp();

  // ---- ordering and families ----
  static bool CompareHRXS(const Cls_HRX* HRX1, const Cls_HRX* HRX2);
  static bool CompareSpeedTypes(const Cls_HRXSpType* SpeedType1, const Cls_HRXSpType* SpeedType2);
  static QString Family2Str(int TheFamily);
  struct LTFamilyItem {
    QString name;
    int family;
  };
  // For the families 0 to 8 whose bit is set: their names, each name once.
  static void FillFamily(quint16 Families, QList<LTFamilyItem>& Items);

  // ---- selection by airflow (m3/h) and pressure (Pa) ----
  // The result codes of the selection and of the computations below, as
  // members: Cls_HRX::kSupplyAirflowTooSmall is CheckCode::kSupplyAirflowTooSmall.
  using enum CheckCode::Code;
  // Every unit of the list and pair of its speeds that moves the airflows
  // against the pressures, best first (smallest unit, least surplus). The
  // solutions borrow their speeds from the units of the list, which must
  // outlive them. ErrCode: why nothing fits (0 with solutions). A unit
  // without an exhaust fan is searched on its supply side alone, one
  // solution per group of supply speeds; its exhaust speed stays none.
  static ObjectList<Cls_HRX> SelectedDevices(const ObjectList<Cls_HRX>& TheVentilationDevices,
                                             const Cls_HRXSpType* MaxSpeedType, double ReqSupplyAir,
                                             double ReqExhaustAir, double MinSupplyESP, double MinExhaustESP,
                                             int SupplyFilterClass, int ExhaustFilterClass, int nSelectedPlenums,
                                             int& ErrCode);
  static bool CompareSolution(const Cls_HRX* HRX1, const Cls_HRX* HRX2) { return HRX1->v_selKey < HRX2->v_selKey; }
  double SelectionKey() const { return v_selKey; }
  double SupplyMargin() const { return v_supplyMargin; }
  double ExhaustMargin() const { return v_exhaustMargin; }

  // Flags and figures the main window keeps with a solution.
  bool IsDefaultSolution() const { return v_isDefaultSolution; }
  void SetDefaultSolution(bool b) { v_isDefaultSolution = b; }
  bool IsCurrentSolution() const { return v_isCurrentSolution; }
  void SetCurrentSolution(bool b) { v_isCurrentSolution = b; }
  double v_altSolTempExchEff = 0, v_altSolHEnthExchEff = 0, v_altSolHSavLat = 0, v_altSolHSavSen = 0,
         v_altSolCEnthExchEff = 0, v_altSolCSavLat = 0, v_altSolCSavSen = 0;

  // ---- performance in cooling and heating ----
  // A fresh-air unit's capacity tables are read between whole degrees of
  // discharge and its outlet is placed on a line through a fixed coil
  // state, so its supply air lands within about this much (K) of the
  // setting. A unit whose tables give more holds the setting; one whose
  // tables give less reaches what they give, reported as falling short.
  static constexpr double kDischargeToleranceK = 0.5;
  // The humidity limits of the exchanger (%): its exhaust side, the supply
  // air after it, and its outlet towards the room (the supply limit where
  // the unit gives none).
  double ExhaustRHLimit(bool bUpsideDown) const;
  double SupplyRHLimit(bool bUpsideDown) const;
  double OutletRHLimit(bool bUpsideDown) const;
  // Temperatures degC, humidities %, airflows m3/h, capacities and heaters
  // kW. TETemp: the coil's evaporating temperature; Discharge: the cooling
  // discharge of a fresh-air unit; SupplyTemp: the wanted supply
  // temperature in heating (not given: no supply heater).
  ALCoolingResult SelectForCooling(const ALModeConditions& In, const TAir& Air, double TETemp, double Discharge);
  ALHeatingResult SelectForHeating(const ALModeConditions& In, const TAir& Air, double SupplyTemp);
  // The coil of a type-1 unit on air entering it at Inlet, at the supply
  // airflow (m3/h) and the site's air: cooling at the evaporating
  // temperature TE, or heating. The mass flow is the air's at the site.
  ALCoilStep CoolingCoil(const RepPsychroPoint& Inlet, double SupplyAir, double TE, const TAir& Air);
  ALCoilStep HeatingCoil(const RepPsychroPoint& Inlet, double SupplyAir, const TAir& Air);
  void CalcCoolSavings(const ALPsychroSet& PsychroPoints, double SupplyAir, const TAir& Air, double& LatentSavings,
                       double& SensibleSavings) const;
  void CalcHeatSavings(const ALPsychroSet& PsychroPoints, double SupplyAir, const TAir& Air, double& LatentSavings,
                       double& SensibleSavings) const;

  // One hour of a year on a plain or coil unit: its exchanger at the hour's
  // outdoor air with the inlet heater it needs, found by the design point's
  // rule (calculated: no user heaters; the coil, humidifier and supply
  // heater change nothing of what the exchanger recovers), and its savings
  // as the design point counts them (kW). Code: 0, or the limit the hour
  // breaks, in which case it recovers nothing. A unit of another type
  // recovers nothing either.
  struct ALRecoveryHour {
    int Code = 0;
    double LatentSavings = 0, SensibleSavings = 0, InletHeater = 0;
  };
  ALRecoveryHour RecoveryHour(const ALModeConditions& In, const TAir& Air, bool bHeating);

  // Removes the unit with its curves, speeds, electrical data, option
  // combinations, documentation and coil part (each failure ignored).
  void Remove() override;

 private:
  void LoadEfficiencies();
  void LoadSpeeds();
  void LoadOptions();
  // The computations, filling Out and answering its code.
  int SelectForCooling(const ALModeConditions& In, const TAir& Air, double TETemp, double Discharge,
                       ALCoolingResult& Out);
  int SelectForHeating(const ALModeConditions& In, const TAir& Air, double SupplyTemp, ALHeatingResult& Out);
  // A solution: this record with empty caches and the two speeds chosen.
  std::unique_ptr<Cls_HRX> NewSolution(const Cls_HRXSpeed* pSupply, const Cls_HRXSpeed* pExhaust) const;

  bool v_curvesLoaded = false;
  std::unique_ptr<Cls_IndoorUnit> v_indoor;
  std::unique_ptr<ObjectList<Cls_HRXSpeed>> v_speeds;
  ObjectList<Cls_HRXPolynomial> v_curves{true};  // every curve of the unit, owning
  const Cls_HRXPolynomial* v_tempExEff = nullptr;
  const Cls_HRXPolynomial* v_cEnthalpyExEff = nullptr;
  const Cls_HRXPolynomial* v_hEnthalpyExEff = nullptr;
  const Cls_HRXPolynomial* v_totalCapCorr = nullptr;
  const Cls_HRXPolynomial* v_sensibleCapCorr = nullptr;
  std::vector<const Cls_HRXPolynomial*> v_coolCaps, v_maxCoolCaps, v_heatCaps, v_maxHeatCaps;
  const Cls_HRXSpeed* v_supplySpeed = nullptr;   // owned by the unit the solution came from
  const Cls_HRXSpeed* v_exhaustSpeed = nullptr;
  std::unique_ptr<ObjectList<Cls_DeviceOption>> v_availHeaterOptions;
  std::unique_ptr<ObjectList<Cls_DeviceOption>> v_availFilterOptions;
  std::unique_ptr<Cls_DeviceOption> v_plenumOption;
  std::unique_ptr<ObjectList<Cls_DeviceOption>> v_usedOptions;
  double v_selKey = 0;
  double v_supplyMargin = 0;   // Pa above what the supply side needs
  double v_exhaustMargin = 0;
  bool v_isDefaultSolution = false;
  bool v_isCurrentSolution = false;
};
