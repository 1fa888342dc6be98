#pragma once
// The result codes of a selection run: why no unit fits, why a mode could
// not be computed, or why a computed mode is refused. One list for every
// layer that answers, keeps or shows them; each code carries the number of
// the message (i18n's message table) that says it in words.
//
// The values are stored and printed (aerolith-cli's JSON "code", its texts
// and exit explanations) and never change. 0 is success.

namespace CheckCode {

enum Code : int {
  kOk = 0,
  // The selection by airflow (m3/h) and pressure (Pa), Cls_HRX::SelectedDevices.
  kSupplyAirflowTooSmall = 1,
  kSupplyAirflowTooLarge = 2,
  kExhaustAirflowTooSmall = 3,
  kExhaustAirflowTooLarge = 4,
  kSupplyEspTooSmall = 5,
  kSupplyEspTooLarge = 6,
  kExhaustEspTooSmall = 7,
  kExhaustEspTooLarge = 8,
  // The cooling and heating computation of the chosen unit.
  kRoomHumidityTooHigh = 9,
  kOutdoorHumidityTooHigh = 10,
  kRoomTempOutside = 11,
  kOutdoorTempTooHigh = 12,
  kInletTempOutside = 13,
  kAirflowOutside = 14,
  kCoolCapOutside = 15,
  kHeatCapOutside = 16,
  kRoomNotBelowDischarge = 17,
  kCoolHumidityTooLow = 18,
  kHeatHumidityTooLow = 19,
  kInletHeaterTooLarge = 20,
  kSupplyHeaterTooLarge = 21,
  // The heater check after a sound computation: the user's inlet (22) or
  // supply heater (23) is smaller than the calculated minimum.
  kInletHeaterTooSmall = 22,
  kSupplyHeaterTooSmall = 23,
  // The run found no unit and the selection left its code at 0: no unit
  // offers a filter class asked for (24), or nothing says why (25).
  kNoUnitWithFilter = 24,
  kNoSolution = 25,
  // The computation again: no inlet heater up to 80 degC keeps the exhaust
  // air (26) or the air leaving the exchanger towards the room (27) within
  // its humidity limit; the coil has no capacity data at the evaporating
  // temperature asked (28).
  kExhaustHumidityTooHigh = 26,
  kOutletHumidityTooHigh = 27,
  kNoCoilData = 28,
};
inline constexpr int kCount = 29;

struct LTCodeMessage {
  Code code;
  int message;  // 0: no message
};

// Every code with its message, in the order of the codes. Code 14 has no
// message of its own: the airflow message that names the cause stands for
// it (CTCheckMessages::MessageNumber), the supply's "too large" when no unit
// is known.
inline constexpr LTCodeMessage kMessages[kCount] = {
    {kOk, 0},
    {kSupplyAirflowTooSmall, 68},
    {kSupplyAirflowTooLarge, 67},
    {kExhaustAirflowTooSmall, 46},
    {kExhaustAirflowTooLarge, 45},
    {kSupplyEspTooSmall, 70},
    {kSupplyEspTooLarge, 69},
    {kExhaustEspTooSmall, 48},
    {kExhaustEspTooLarge, 47},
    {kRoomHumidityTooHigh, 62},
    {kOutdoorHumidityTooHigh, 60},
    {kRoomTempOutside, 61},
    {kOutdoorTempTooHigh, 59},
    {kInletTempOutside, 63},
    {kAirflowOutside, 67},
    {kCoolCapOutside, 44},
    {kHeatCapOutside, 49},
    {kRoomNotBelowDischarge, 50},
    {kCoolHumidityTooLow, 53},
    {kHeatHumidityTooLow, 54},
    {kInletHeaterTooLarge, 51},
    {kSupplyHeaterTooLarge, 71},
    {kInletHeaterTooSmall, 52},
    {kSupplyHeaterTooSmall, 72},
    {kNoUnitWithFilter, 120},
    {kNoSolution, 9},
    {kExhaustHumidityTooHigh, 65},
    {kOutletHumidityTooHigh, 65},
    {kNoCoilData, 122},
};

constexpr bool InCodeOrder() {
  for (int i = 0; i < kCount; ++i)
    if (kMessages[i].code != i) return false;
  return true;
}
static_assert(InCodeOrder(), "one row per code, in the order of the codes");

// The message of a code of the list; that of kNoSolution for any other
// number, which no layer answers.
constexpr int MessageOf(int nCode) {
  if (nCode < 0 || nCode >= kCount) return kMessages[kNoSolution].message;
  return kMessages[nCode].message;
}

}  // namespace CheckCode
