#include "selection/InputFields.h"

#include "catalogue/Sentinels.h"
#include "psychro/Rounding.h"

#include <algorithm>
#include <cmath>

namespace {

// In the order of CTInputFields::Field.
const LTInputField kFields[] = {
    {"altitude", U_Length, -500, 2000, 0, 1},
    {"airflow-per-person", U_Airflow, 1, 30, 5, 10},
    {"room-surface", U_Surface, 1, 1000, 100, 1},
    {"area-per-person", U_Surface, 1, 20, 5, 10},
    {"persons", U_None, 1, 100, 20, 1},
    {"supply", U_Airflow, 1, Sentinel::kNoAirflowLimitLs, 100, 1},
    {"exhaust", U_Airflow, 1, Sentinel::kNoAirflowLimitLs, 100, 1},
    {"esp-supply", U_Pressure, 0, 350, 150, 10},
    {"esp-exhaust", U_Pressure, 0, 350, 150, 10},
    {"cooling room dry bulb", U_Temperature, 16, 32, 27, 10},
    {"heating room dry bulb", U_Temperature, 16, 32, 20, 10},
    {"room wet bulb", U_Temperature, 6, 32, 19, 10},
    {"outdoor wet bulb", U_Temperature, -40, 60, 19, 10},
    {"relative humidity", U_None, 15, 100, 50, 1},
    {"cooling outdoor dry bulb", U_Temperature, -40, 60, 35, 10},
    {"heating outdoor dry bulb", U_Temperature, -40, 60, 7, 10},
    {"cooling discharge", U_Temperature, 10, 18, 18, 10},
    {"heating discharge", U_Temperature, 18, 28, 25, 10},
    {"heater", U_Power, 0, 30, 0, 1000},
    {"supply temperature", U_Temperature, 0, 43, 20, 10},
    {"distance", U_Length, 1, 50, 2, 10},  // from 1 m: a field bounds its range in whole base units
    // The room constant R = S a / (1 - a) (m2): from about 10 for a small,
    // hard room to thousands for a large, absorbing hall.
    {"room-constant", U_Surface, 1, 10000, 50, 1},
};
static_assert(sizeof(kFields) / sizeof(kFields[0]) == CTInputFields::kFieldCount, "one row per field");

}  // namespace

const LTInputField& CTInputFields::Spec(Field nField) { return kFields[nField]; }

double CTInputFields::Stored(double nValue, double nMin, double nMax, int nResolution) {
  const double resolution = nResolution > 0 ? nResolution : 1;
  if (!std::isfinite(nValue)) return nMin;
  const double rounded = Rounding::HalfEven(nValue, resolution);
  return std::clamp(rounded, nMin, nMax);
}

double CTInputFields::Stored(Field nField, double nValue) {
  const LTInputField& f = Spec(nField);
  return Stored(nValue, f.min, f.max, f.resolution);
}
