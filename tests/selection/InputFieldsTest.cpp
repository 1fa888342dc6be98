// How an input field holds a value: rounded to its resolution (positions per
// base unit), halves to even, then clamped to its range; a value that is not a
// number becomes the bottom of the range.

#include "selection/InputFields.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct StoredCase {
  const char* what;
  double value;
  double min;
  double max;
  int resolution;
  double stored;
};

// 6.25 x 10 = 62.5 and 6.35 x 10 = 63.5 are both exact halves in binary, so
// they show the tie rule: to the even neighbour, 62 and 64.
const StoredCase kStoredCases[] = {
    {"a half tenth goes down to the even tenth", 6.25, 1, 20, 10, 6.2},
    {"a half tenth goes up to the even tenth", 6.35, 1, 20, 10, 6.4},
    {"below a half it goes down", 6.249, 1, 20, 10, 6.2},
    {"a half unit goes down to the even unit", 82.5, 1, 8889, 1, 82},
    {"a half unit goes up to the even unit", 25.5, 1, 8889, 1, 26},
    {"thousandths, half to even", 0.0625, 0, 30, 1000, 0.062},
    {"above the range: the maximum", 25, 1, 20, 10, 20},
    {"below the range: the minimum", 0.4, 1, 20, 10, 1},
    {"not a number: the minimum", NAN, 1, 20, 10, 1},
};

TEST(InputFields, StoresRoundedHalvesToEvenAndClamped) {
  for (const StoredCase& c : kStoredCases) {
    SCOPED_TRACE(c.what);
    EXPECT_DOUBLE_EQ(CTInputFields::Stored(c.value, c.min, c.max, c.resolution), c.stored);
  }
}

struct FieldCase {
  CTInputFields::Field field;
  double value;
  double stored;
};

// The fields' ranges and resolutions as the Selection tab offers them: area
// per person 1..20 m2 in tenths, persons 1..100, supply ESP 0..350 Pa in
// tenths, altitude -500..2000 m, heater 0..30 kW in watts.
const FieldCase kFieldCases[] = {
    {CTInputFields::kAreaPerPerson, 6.25, 6.2},
    {CTInputFields::kPersons, 150, 100},
    {CTInputFields::kSupplyEsp, -5, 0},
    {CTInputFields::kAltitude, NAN, -500},
    {CTInputFields::kHeater, 1.2345678, 1.235},
};

TEST(InputFields, StoresThroughTheFieldsRangeAndResolution) {
  for (const FieldCase& c : kFieldCases) {
    SCOPED_TRACE(CTInputFields::Spec(c.field).name);
    EXPECT_DOUBLE_EQ(CTInputFields::Stored(c.field, c.value), c.stored);
  }
}

}  // namespace
