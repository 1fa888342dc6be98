#pragma once
// Units in effect: every quantity is held in one default unit per kind
// (U_RepUnit) and shown in the display unit (dimension) selected for that
// kind. Class-level service over one process-wide table, built on first use.

#include <QString>

#include <memory>
#include <vector>

enum U_RepUnit : unsigned char {
  U_None = 0,
  U_Airflow = 1,
  U_Current = 2,
  U_Density = 3,
  U_Energy = 4,
  U_Enthalpy = 5,
  U_HeatTransfer = 6,
  U_Length = 7,
  U_MediumLength = 8,
  U_ShortLength = 9,
  U_Mass = 10,
  U_ShortMass = 11,
  U_Power = 12,
  U_Pressure = 13,
  U_Humidity = 14,
  U_RotationalSpeed = 15,
  U_Sound = 16,
  U_Speed = 17,
  U_Surface = 18,
  U_Temperature = 19,
  U_Tension = 20,
  U_Volume = 21,
  U_Appl1 = 22,
  U_Appl2 = 23,
  U_Appl3 = 24,
  U_Appl4 = 25,
  U_Appl5 = 26,
  U_Appl6 = 27,
  U_Appl7 = 28,
  U_Appl8 = 29,
  U_Appl9 = 30,
};
constexpr int kUnitCount = 31;

// Fixed factors between units that the computations convert themselves,
// named once. The airflows of the catalogue are in m3/h, those of the
// inputs and results in l/s.
namespace UnitFactor {
inline constexpr double kM3hPerLs = 3.6;         // 1 l/s = 3.6 m3/h
inline constexpr double kSecondsPerHour = 3600.0;
// 1 CFM (ft3/min) in l/s, as the CFM dimension of the airflow unit has
// always converted; the exact 0.3048^3 * 1000 / 60 = 0.4719474432 differs
// by 1.4e-10 of the value, far below any digit shown.
inline constexpr long double kLsPerCfm = 0.4719474432644405L;
}  // namespace UnitFactor

// One display unit: value_default = (value - offset) * scale for absolute
// values, value * scale for differences.
class CTDimData {
 public:
  CTDimData(QString szCaption, int nDigits, long double nScale, long double nOffset)
      : v_Caption(std::move(szCaption)), v_Digits(nDigits), v_Scale(nScale), v_Offset(nOffset) {}

  long double ConvertToDefault(long double TheVal, bool bIsAbsoluteValue) const;
  long double ConvertFromDefault(long double TheVal, bool bIsAbsoluteValue) const;

  QString v_Caption;
  int v_Digits;
  long double v_Scale;
  long double v_Offset;
};

// One kind of quantity; dimension 0 is always the default unit (scale 1,
// offset 0) and is never removed.
class CTUnitData {
 public:
  explicit CTUnitData(QString szCaption) : v_Caption(std::move(szCaption)) {}

  void AddDimension(std::unique_ptr<CTDimData> NewDim);
  void DeleteDimension(int nIndex);
  int Count() const { return int(v_Dimensions.size()); }
  bool ValidIndex(int nIndex) const { return nIndex >= 0 && nIndex < Count(); }

  QString v_Caption;
  int v_CurrentDim = 0;
  std::vector<std::unique_ptr<CTDimData>> v_Dimensions;
};

class TU_Form {
 public:
  static void InitializeUnits();
  static void CleanupUnits();

  // The unit's data, or none for a value outside U_RepUnit.
  static CTUnitData* Unit(int TheUnit);

  static QString GetCurrentString(int TheUnit);
  static int DimensionCount(int TheUnit);
  static int GetNewIndex(int TheUnit);
  static void SetNewIndex(int TheUnit, int nIndex);
  static double ConvertValue(double TheValue, int TheUnit, int FromDimIndex, int ToDimIndex, bool bIsAbsoluteValue);
  static void AddDimension(int TheUnit, const QString& TheCaption, int TheDigits, long double TheScale,
                           long double TheOffset);
  static void DeleteDimension(int TheUnit, int nIndex);
  static void SetDigits(int TheUnit, int TheDimIndex, int TheDigits);
  // The value, given in the default unit, converted to the selected dimension
  // and formatted with its digits, right-aligned in TheWidth characters.
  static QString PutFmtDimensionedValue(double TheValue, int TheUnit, int TheWidth, bool bIsAbsoluteValue);

  // Selections are stored as "Units1" ... "Units30" under szRegRoot of the
  // current user's hive; registry failures are swallowed.
  static void SaveSettingsToRegistry(const QString& szRegRoot);
  static void LoadSettingsFromRegistry(const QString& szRegRoot);

  // The imperial dimensions and digits the program sets up at start-up:
  // m3/s goes, CFM, ft, ft2, BTU/lbs, inH2O, GPP, BTU/h and Ton come.
  static void AddApplicationDimensions();
  // The program's sets of units (after AddApplicationDimensions): every
  // quantity in its default unit, or the imperial ones (°F, ft, ft², lbs,
  // inch, GPP, BTU/h, CFM, inH2O, BTU/lbs).
  static void SelectSIDefaults();
  static void SelectImperialDefaults();
};
