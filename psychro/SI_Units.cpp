#include "psychro/SI_Units.h"

#include <algorithm>

#include "i18n/BaseMsgMan.h"
#include "platform/Registry.h"

#include <array>

namespace {

std::array<std::unique_ptr<CTUnitData>, kUnitCount> g_units;
bool g_initialized = false;

struct DimDef {
  const char* caption;
  long double scale;
  int digits;
  long double offset = 0;
};

struct UnitDef {
  U_RepUnit unit;
  const char* caption;
  std::vector<DimDef> dims;
};

// The built-in dimensions; the first of each unit is its default.
const std::vector<UnitDef>& BuiltInUnits() {
  static const std::vector<UnitDef> defs = {
      {U_None, "None", {{"None", 1, 1}}},
      {U_Airflow, "Airflow", {{"l/s", 1, 1}, {"m³/h", 1.0L / 3.6L, 0}, {"m³/s", 1000, 1}}},
      {U_Current, "Current", {{"A", 1, 1}}},
      {U_Density, "Density", {{"kg/m³", 1, 3}, {"kg/l", 1000, 4}}},
      {U_Energy, "Energy", {{"kJ", 1, 1}, {"kWh", 3600, 1}, {"kcal", 4.1868L, 0}}},
      {U_Enthalpy, "Enthalpy", {{"kJ/kg", 1, 1}, {"kcal/kg", 4.1868L, 1}}},
      // kcal-based power and heat transfer use 4.184 kJ/kcal, energy and enthalpy 4.1868.
      {U_HeatTransfer, "Heat Transfer", {{"W/m²", 1, 1}, {"kcal/h m²", 4.184L / 3.6L, 1}}},
      {U_Length, "Length", {{"m", 1, 3}}},
      {U_MediumLength, "Medium Length", {{"cm", 1, 1}}},
      {U_ShortLength, "Short Length", {{"mm", 1, 0}, {"inch", 25.4L, 1}}},
      {U_Mass, "Mass", {{"kg", 1, 3}, {"lbs", 0.45359237L, 3}}},
      {U_ShortMass, "Small Mass", {{"g", 1, 0}}},
      {U_Power, "Power", {{"kW", 1, 1}, {"kcal/h", 4.184L / 3600.0L, 0}}},
      {U_Pressure, "Pressure", {{"Pa", 1, 1}, {"mBar", 100, 3}, {"mmH2O", 9.80665L, 3}}},
      {U_Humidity, "Humidity", {{"kg/kg", 1, 4}, {"g/kg", 0.001L, 1}, {"lbs/lbs", 1, 4}}},
      {U_RotationalSpeed, "Rotational Speed", {{"RPM", 1, 0}}},
      {U_Sound, "Sound", {{"dB", 1, 0}}},
      {U_Speed, "Speed", {{"m/s", 1, 0}, {"km/h", 1.0L / 3.6L, 3}}},
      {U_Surface, "Surface", {{"m²", 1, 3}}},
      {U_Temperature, "Temperature", {{"°C", 1, 1}, {"°F", 5.0L / 9.0L, 1, 32}}},
      {U_Tension, "Tension", {{"V", 1, 0}}},
      {U_Volume, "Volume", {{"m³", 1, 3}}},
  };
  return defs;
}

void EnsureInitialized() {
  if (!g_initialized) TU_Form::InitializeUnits();
}

}  // namespace

long double CTDimData::ConvertToDefault(long double TheVal, bool bIsAbsoluteValue) const {
  return bIsAbsoluteValue ? (TheVal - v_Offset) * v_Scale : TheVal * v_Scale;
}

long double CTDimData::ConvertFromDefault(long double TheVal, bool bIsAbsoluteValue) const {
  const long double value = TheVal / v_Scale;
  return bIsAbsoluteValue ? value + v_Offset : value;
}

void CTUnitData::AddDimension(std::unique_ptr<CTDimData> NewDim) { v_Dimensions.push_back(std::move(NewDim)); }

void CTUnitData::DeleteDimension(int nIndex) {
  if (nIndex >= 1 && nIndex < Count()) v_Dimensions.erase(v_Dimensions.begin() + nIndex);
  // Index 0 removes nothing but, like any index at or below the selection,
  // sends the selection back to the default.
  if (nIndex <= v_CurrentDim) v_CurrentDim = 0;
}

void TU_Form::InitializeUnits() {
  for (auto& unit : g_units) unit.reset();
  for (const UnitDef& def : BuiltInUnits()) {
    auto unit = std::make_unique<CTUnitData>(QString::fromUtf8(def.caption));
    for (const DimDef& dim : def.dims)
      unit->AddDimension(std::make_unique<CTDimData>(QString::fromUtf8(dim.caption), dim.digits, dim.scale, dim.offset));
    g_units[def.unit] = std::move(unit);
  }
  for (int n = 1; n <= 9; ++n) {
    auto unit = std::make_unique<CTUnitData>(QStringLiteral("Appl%1").arg(n));
    unit->AddDimension(std::make_unique<CTDimData>(QString(), 1, 1, 0));
    g_units[U_Appl1 + n - 1] = std::move(unit);
  }
  g_initialized = true;
}

void TU_Form::CleanupUnits() {
  for (auto& unit : g_units) unit.reset();
  g_initialized = false;
}

CTUnitData* TU_Form::Unit(int TheUnit) {
  if (TheUnit < 0 || TheUnit >= kUnitCount) return nullptr;
  EnsureInitialized();
  return g_units[TheUnit].get();
}

QString TU_Form::GetCurrentString(int TheUnit) {
  const CTUnitData* unit = Unit(TheUnit);
  if (!unit || !unit->ValidIndex(unit->v_CurrentDim)) return {};
  return unit->v_Dimensions[unit->v_CurrentDim]->v_Caption;
}

int TU_Form::DimensionCount(int TheUnit) {
  const CTUnitData* unit = Unit(TheUnit);
  return unit ? unit->Count() : 0;
}

int TU_Form::GetNewIndex(int TheUnit) {
  const CTUnitData* unit = Unit(TheUnit);
  return unit ? unit->v_CurrentDim : 0;
}

void TU_Form::SetNewIndex(int TheUnit, int nIndex) {
  CTUnitData* unit = Unit(TheUnit);
  if (unit && unit->ValidIndex(nIndex)) unit->v_CurrentDim = nIndex;
}

double TU_Form::ConvertValue(double TheValue, int TheUnit, int FromDimIndex, int ToDimIndex, bool bIsAbsoluteValue) {
  const CTUnitData* unit = Unit(TheUnit);
  if (!unit) return TheValue;
  if (!unit->ValidIndex(FromDimIndex)) FromDimIndex = 0;
  if (!unit->ValidIndex(ToDimIndex)) ToDimIndex = 0;
  if (FromDimIndex == ToDimIndex) return TheValue;
  long double value = TheValue;
  if (FromDimIndex != 0) value = unit->v_Dimensions[FromDimIndex]->ConvertToDefault(value, bIsAbsoluteValue);
  if (ToDimIndex != 0) value = unit->v_Dimensions[ToDimIndex]->ConvertFromDefault(value, bIsAbsoluteValue);
  return static_cast<double>(value);
}

void TU_Form::AddDimension(int TheUnit, const QString& TheCaption, int TheDigits, long double TheScale,
                           long double TheOffset) {
  if (CTUnitData* unit = Unit(TheUnit))
    unit->AddDimension(std::make_unique<CTDimData>(TheCaption, TheDigits, TheScale, TheOffset));
}

void TU_Form::DeleteDimension(int TheUnit, int nIndex) {
  if (CTUnitData* unit = Unit(TheUnit)) unit->DeleteDimension(nIndex);
}

void TU_Form::SetDigits(int TheUnit, int TheDimIndex, int TheDigits) {
  CTUnitData* unit = Unit(TheUnit);
  if (unit && unit->ValidIndex(TheDimIndex)) unit->v_Dimensions[TheDimIndex]->v_Digits = TheDigits;
}

QString TU_Form::PutFmtDimensionedValue(double TheValue, int TheUnit, int TheWidth, bool bIsAbsoluteValue) {
  const CTUnitData* unit = Unit(TheUnit);
  const int nDim = unit ? unit->v_CurrentDim : 0;
  const int nDigits = unit && unit->ValidIndex(nDim) ? unit->v_Dimensions[nDim]->v_Digits : 1;
  return TBaseMsg::Number2FmtStr(ConvertValue(TheValue, TheUnit, 0, nDim, bIsAbsoluteValue), TheWidth, nDigits);
}

void TU_Form::SaveSettingsToRegistry(const QString& szRegRoot) {
  CTRegistry reg(CTRegHive::CurrentUser);
  if (!reg.OpenKey(szRegRoot, true)) return;
  for (int n = 1; n < kUnitCount; ++n)
    if (!reg.WriteInteger(QStringLiteral("Units%1").arg(n), GetNewIndex(n))) break;
  reg.CloseKey();
}

void TU_Form::LoadSettingsFromRegistry(const QString& szRegRoot) {
  CTRegistry reg(CTRegHive::CurrentUser);
  const bool bOpen = reg.OpenKey(szRegRoot, true);
  for (int n = 1; n < kUnitCount; ++n) {
    CTUnitData* unit = Unit(n);
    if (!unit) continue;
    const int nStored = bOpen ? reg.ReadInteger(QStringLiteral("Units%1").arg(n)).value_or(0) : 0;
    if (unit->ValidIndex(nStored)) unit->v_CurrentDim = nStored;
  }
}

void TU_Form::AddApplicationDimensions() {
  // Once per process: a second start-up in the same process (a new main
  // window) must not remove another airflow unit or add the units twice.
  const CTUnitData* airflow = Unit(U_Airflow);
  if (airflow && std::any_of(airflow->v_Dimensions.begin(), airflow->v_Dimensions.end(),
                             [](const auto& d) { return d->v_Caption == QLatin1String("CFM"); }))
    return;
  DeleteDimension(U_Airflow, DimensionCount(U_Airflow) - 1);  // m3/s
  AddDimension(U_Airflow, QStringLiteral("CFM"), 1, UnitFactor::kLsPerCfm, 0);
  AddDimension(U_Length, QStringLiteral("ft"), 1, 0.3048L, 0);
  AddDimension(U_Surface, QStringLiteral("ft²"), 1, 0.09290304L, 0);
  AddDimension(U_Enthalpy, QStringLiteral("BTU/lbs"), 1, 2.326L, 0);
  AddDimension(U_Pressure, QStringLiteral("inH2O"), 2, 249.08890833L, 0);
  AddDimension(U_Humidity, QStringLiteral("GPP"), 1, 1.0L / 7000.0L, 0);
  AddDimension(U_Power, QStringLiteral("BTU/h"), 0, 0.0002930711111111L, 0);
  AddDimension(U_Power, QStringLiteral("Ton"), 1, 3.516852L, 0);
  SetDigits(U_Power, 0, 3);
  SetDigits(U_Pressure, 1, 1);
  SetDigits(U_Pressure, 2, 1);
  SetDigits(U_Mass, 0, 1);
  SetDigits(U_Mass, 1, 1);
}

void TU_Form::SelectSIDefaults() {
  for (int unit = 0; unit < kUnitCount; ++unit)
    if (Unit(unit)) SetNewIndex(unit, 0);
}

void TU_Form::SelectImperialDefaults() {
  const std::pair<U_RepUnit, const char*> imperial[] = {
      {U_Temperature, "°F"}, {U_Length, "ft"},      {U_Surface, "ft²"}, {U_Mass, "lbs"},     {U_ShortLength, "inch"},
      {U_Humidity, "GPP"},   {U_Power, "BTU/h"},    {U_Airflow, "CFM"}, {U_Pressure, "inH2O"}, {U_Enthalpy, "BTU/lbs"}};
  for (const auto& [unit, caption] : imperial) {
    const CTUnitData* data = Unit(unit);
    if (!data) continue;
    for (int i = 0; i < data->Count(); ++i)
      if (data->v_Dimensions[i]->v_Caption == QString::fromUtf8(caption)) SetNewIndex(unit, i);
  }
}
