#pragma once
// The numeric inputs of a selection with their ranges, defaults and
// resolutions, in the base unit of their dimension. The window sets its
// fields up from this table; aerolith-cli refuses values outside it.
//
// A field stores its value rounded to its resolution (positions per base
// unit: 1, 10, 100 or 1000), halves to even, and clamped to its range:
// 6.25 at resolution 10 is stored as 6.2.

#include "psychro/SI_Units.h"

struct LTInputField {
  const char* name;  // as aerolith-cli calls it
  U_RepUnit unit;
  double min;
  double max;
  double init;
  int resolution;
};

class CTInputFields {
 public:
  enum Field {
    kAltitude,
    kAirflowPerPerson,
    kRoomSurface,
    kAreaPerPerson,
    kPersons,
    kTotalSupply,
    kTotalExhaust,
    kSupplyEsp,
    kExhaustEsp,
    kCoolRoomDryBulb,
    kHeatRoomDryBulb,
    kRoomWetBulb,
    kOutdoorWetBulb,
    kRelativeHumidity,
    kCoolOutdoorDryBulb,
    kHeatOutdoorDryBulb,
    kCoolDischarge,
    kHeatDischarge,
    kHeater,
    kSupplyTemp,
    kSoundDistance,  // from the supply outlet, for the sound pressure in the room
    kRoomConstant,
    kFieldCount
  };

  static const LTInputField& Spec(Field nField);
  // nValue rounded to nResolution positions per unit, halves to even, then
  // clamped to nMin..nMax.
  static double Stored(double nValue, double nMin, double nMax, int nResolution);
  static double Stored(Field nField, double nValue);
  // The decimals a field shows at nResolution positions per unit: 1 shows
  // whole numbers, 10 one decimal, 100 two, 1000 three.
  static int Digits(int nResolution) { return nResolution >= 1000 ? 3 : nResolution >= 100 ? 2 : nResolution >= 10 ? 1 : 0; }
};
