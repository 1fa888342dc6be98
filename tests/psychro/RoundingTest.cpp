// The one rounding of the program's figures: to the nearest, halves to even,
// whatever rounding mode the floating-point environment is left in.

#include "psychro/Rounding.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <limits>

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

struct HalfEvenCase {
  double x;
  double rounded;
};

// Worked by hand; 0.49999999999999994 is the double just below 0.5, which
// floor(x + 0.5) takes to 1.
const HalfEvenCase kCases[] = {
    {0.5, 0},   {1.5, 2},    {2.5, 2},     {3.5, 4},     {-0.5, -0},   {-1.5, -2},  {-2.5, -2},
    {0.49999999999999994, 0}, {-0.49999999999999994, -0}, {2.4999999999999996, 2},  {2.5000000000000004, 3},
    {-0.3, -0}, {-0.7, -1},  {1e-300, 0}, {-1e-300, -0}, {1234.5, 1234}, {-1234.5, -1234},
    {4503599627370497.0, 4503599627370497.0},  // 2^52 + 1: a whole number already
    {1e300, 1e300}, {kInf, kInf}, {-kInf, -kInf},
};

void ExpectCases() {
  for (const HalfEvenCase& c : kCases) {
    volatile double x = c.x;  // computed at run time, in the mode in effect
    const double r = Rounding::HalfEven(x);
    EXPECT_EQ(r, c.rounded) << c.x;
    EXPECT_EQ(std::signbit(r), std::signbit(c.x)) << c.x;  // a zero keeps the sign
  }
  volatile double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_TRUE(std::isnan(Rounding::HalfEven(nan)));
}

TEST(Rounding, HalvesGoToTheEvenNeighbour) { ExpectCases(); }

TEST(Rounding, TheRoundingModeInEffectChangesNothing) {
  const int previous = std::fegetround();
  for (const int mode : {FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO}) {
    ASSERT_EQ(std::fesetround(mode), 0);
    ExpectCases();
  }
  std::fesetround(previous);
}

// To a step: the product x * nPerUnit is rounded as a double, as the
// reference model's round(x * 1000) / 1000 does. 0.0125 is stored a little
// above 0.0125, yet its product is exactly 12.5, a tie that goes to 12;
// a text rounding the stored value to three decimals shows 0.013.
TEST(Rounding, ToAStepRoundsTheProduct) {
  EXPECT_EQ(Rounding::HalfEven(0.0125, 1000), 0.012);
  EXPECT_EQ(Rounding::HalfEven(2.675, 100), 2.68);
  EXPECT_EQ(Rounding::HalfEven(6.25, 10), 6.2);
  EXPECT_EQ(Rounding::HalfEven(6.35, 10), 6.4);
  EXPECT_EQ(Rounding::HalfEven(-1.0005, 1000), -1.0);
}

// Positions and pixels: whole ints, not a number on 0, far values held at
// 1e9 so that no conversion overflows.
TEST(Rounding, ToAnIntStaysInRange) {
  const struct {
    double x;
    int rounded;
  } cases[] = {{2.5, 2},   {-2.5, -2},  {7.5, 8},     {std::numeric_limits<double>::quiet_NaN(), 0},
               {1e12, 1000000000}, {-1e12, -1000000000}, {kInf, 1000000000}, {-kInf, -1000000000}};
  for (const auto& c : cases) EXPECT_EQ(Rounding::HalfEvenInt(c.x), c.rounded) << c.x;
}

}  // namespace
