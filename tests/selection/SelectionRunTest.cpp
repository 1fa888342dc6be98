// The steps of a selection run that need no catalogue: the airflows of a
// request against ranges written here, the condition checks, the choice of a
// heater option and the SFP class.

#include "selection/SelectionRun.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

// ---------------------------------------------------------------- airflows

struct AirflowCase {
  const char* what;
  int family;
  AirflowBasis basis;
  double perPersonLs;
  double persons;
  double totalSupplyLs;
  bool exhaustGiven;
  double totalExhaustLs;
  double minLs, maxLs;  // the family's range
  // Expected:
  double supplyLs;
  double exhaustLs;
  bool corrected;
  double areaPerPersonM2;
  double personsOut;
};

// Room 100 m2 at 5 m2 per person throughout.
const AirflowCase kAirflowCases[] = {
    {"by area: 5 l/s x 100 m2 / 5 m2", 0, AirflowBasis::kByArea, 5, 20, 0, false, 0, 1, 8889,  //
     100, 100, false, 5, 20},
    {"by area, above the family: 100 -> 80 l/s, area per person 6.25 held as 6.2", 0, AirflowBasis::kByArea, 5,
     20, 0, false, 0, 1, 80,  //
     80, 80, true, 6.2, 20},
    {"by persons, below the family: 20 x 10 = 200 -> 250 l/s, 25 persons", 0, AirflowBasis::kByPersons, 10, 20, 0,
     false, 0, 250, 1000,  //
     250, 250, true, 5, 25},
    {"by persons, whole l/s, half to even: 15 x 5.5 = 82.5 -> 82", 0, AirflowBasis::kByPersons, 5.5, 15, 0, false, 0,
     1, 8889,  //
     82, 82, false, 5, 15},
    {"by persons, whole l/s, half to even: 17 x 1.5 = 25.5 -> 26", 0, AirflowBasis::kByPersons, 1.5, 17, 0, false, 0,
     1, 8889,  //
     26, 26, false, 5, 17},
    {"totals, exhaust given", 0, AirflowBasis::kTotals, 5, 20, 120, true, 150, 1, 8889,  //
     120, 150, false, 5, 20},
    {"totals, exhaust not ticked: follows the supply", 0, AirflowBasis::kTotals, 5, 20, 120, false, 150, 1, 8889,  //
     120, 120, false, 5, 20},
    // A total exhaust of 0 counts as not given.
    {"totals, exhaust ticked but 0: follows the supply", 1, AirflowBasis::kTotals, 5, 20, 120, true, 0, 30, 8889,  //
     120, 120, false, 5, 20},
    {"fresh-air family: no exhaust inputs, exhaust follows the supply", 2, AirflowBasis::kTotals, 5, 20, 120, true,
     150, 1, 8889,  //
     120, 120, false, 5, 20},
    {"list-only family: no exhaust inputs, exhaust follows the supply", 5, AirflowBasis::kByArea, 5, 20, 0, true, 150,
     1, 8889,  //
     100, 100, false, 5, 20},
};

TEST(SelectionRunAirflows, FollowTheBasisBoundedToTheFamily) {
  for (const AirflowCase& c : kAirflowCases) {
    SCOPED_TRACE(c.what);
    SelectionRequest request;
    request.family = c.family;
    request.basis = c.basis;
    request.airflowPerPersonLs = c.perPersonLs;
    request.roomSurfaceM2 = 100;
    request.areaPerPersonM2 = 5;
    request.persons = c.persons;
    request.totalSupplyLs = c.totalSupplyLs;
    request.exhaustGiven = c.exhaustGiven;
    request.totalExhaustLs = c.totalExhaustLs;
    LTFamilyRanges ranges;
    ranges.minAirflowLs = c.minLs;
    ranges.maxAirflowLs = c.maxLs;

    const CTSelectionRun::LTAirflows a =
        CTSelectionRun::Airflows(CTSelectionRun::Normalized(request, ranges), ranges);
    EXPECT_DOUBLE_EQ(a.supplyLs, c.supplyLs);
    EXPECT_DOUBLE_EQ(a.exhaustLs, c.exhaustLs);
    EXPECT_EQ(a.corrected, c.corrected);
    EXPECT_DOUBLE_EQ(a.areaPerPersonM2, c.areaPerPersonM2);
    EXPECT_DOUBLE_EQ(a.persons, c.personsOut);
  }
}

TEST(SelectionRunAirflows, NormalizedExhaustInputsFollowTheSupplyOnlyWithoutExhaustInputs) {
  struct Case {
    int family;
    bool exhaustGiven;
    double exhaustEspPa;
  };
  // Families 0 and 1 have exhaust inputs; 2 and up do not.
  const Case cases[] = {{0, true, 60}, {1, true, 60}, {2, false, 120}, {5, false, 120}, {8, false, 120}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.family);
    SelectionRequest request;
    request.family = c.family;
    request.exhaustGiven = true;
    request.totalExhaustLs = 150;
    request.supplyEspPa = 120;
    request.exhaustEspPa = 60;
    const SelectionRequest r = CTSelectionRun::Normalized(request, LTFamilyRanges{});
    EXPECT_EQ(r.exhaustGiven, c.exhaustGiven);
    EXPECT_DOUBLE_EQ(r.exhaustEspPa, c.exhaustEspPa);
    EXPECT_DOUBLE_EQ(r.supplyEspPa, 120);
  }
}

// ---------------------------------------------------------------- conditions

const char* const kCoolingOrderText =
    "In cooling mode, the ambient temperature must be larger than the room temperature.";
const char* const kHeatingOrderText =
    "In heating mode, the ambient temperature must be smaller than the room temperature.";
const char* const kWetBulbText = "A wet bulb temperature must be smaller or equal to a dry bulb temperature.";

struct ConditionCase {
  const char* what;
  void (*edit)(SelectionRequest&);
  double (*value)(const SelectionRequest&);  // the value the check may correct
  bool corrected;
  // The correction, when there is one:
  bool cooling = false;
  ConditionField field = ConditionField::kOutdoorDryBulb;
  double fromC = 0;
  double toC = 0;
  int messageNumber = 0;
  const char* message = "";
};

// The defaults: cooling room 27 degC / wet bulb 19, outdoor 35 degC / 50 %;
// heating room 20 degC / 50 %, outdoor 7 degC / 50 %.
const ConditionCase kConditionCases[] = {
    {"the defaults pass (a relative humidity above the dry bulb is no wet bulb)", [](SelectionRequest&) {},
     [](const SelectionRequest& r) { return r.heating.outdoor.humidity; }, false},
    {"cooling outdoor below the room", [](SelectionRequest& r) { r.cooling.outdoor.dryBulbC = 25; },
     [](const SelectionRequest& r) { return r.cooling.outdoor.dryBulbC; }, true, true,
     ConditionField::kOutdoorDryBulb, 25, 27, 55, kCoolingOrderText},
    {"cooling outdoor equal to the room", [](SelectionRequest& r) { r.cooling.outdoor.dryBulbC = 27; },
     [](const SelectionRequest& r) { return r.cooling.outdoor.dryBulbC; }, false},
    {"heating outdoor above the room", [](SelectionRequest& r) { r.heating.outdoor.dryBulbC = 22; },
     [](const SelectionRequest& r) { return r.heating.outdoor.dryBulbC; }, true, false,
     ConditionField::kOutdoorDryBulb, 22, 20, 56, kHeatingOrderText},
    {"heating outdoor equal to the room", [](SelectionRequest& r) { r.heating.outdoor.dryBulbC = 20; },
     [](const SelectionRequest& r) { return r.heating.outdoor.dryBulbC; }, false},
    {"cooling room wet bulb above its dry bulb", [](SelectionRequest& r) { r.cooling.room.humidity = 28; },
     [](const SelectionRequest& r) { return r.cooling.room.humidity; }, true, true, ConditionField::kRoomWetBulb, 28,
     27, 43, kWetBulbText},
    {"cooling room wet bulb equal to its dry bulb", [](SelectionRequest& r) { r.cooling.room.humidity = 27; },
     [](const SelectionRequest& r) { return r.cooling.room.humidity; }, false},
    {"heating outdoor wet bulb above its dry bulb",
     [](SelectionRequest& r) {
       r.heating.outdoor.humidityMode = HumidityMode::kWetBulb;
       r.heating.outdoor.humidity = 9;
     },
     [](const SelectionRequest& r) { return r.heating.outdoor.humidity; }, true, false,
     ConditionField::kOutdoorWetBulb, 9, 7, 43, kWetBulbText},
};

TEST(SelectionRunConditions, CorrectsAWrongValueWithItsMessage) {
  for (const ConditionCase& c : kConditionCases) {
    SCOPED_TRACE(c.what);
    SelectionRequest request;
    c.edit(request);
    const double before = c.value(request);
    const std::optional<LTConditionCorrection> correction = CTSelectionRun::CheckConditions(request);
    ASSERT_EQ(correction.has_value(), c.corrected);
    if (!c.corrected) {
      EXPECT_EQ(c.value(request), before);
      continue;
    }
    EXPECT_EQ(correction->cooling, c.cooling);
    EXPECT_EQ(correction->field, c.field);
    EXPECT_DOUBLE_EQ(correction->fromC, c.fromC);
    EXPECT_DOUBLE_EQ(correction->toC, c.toC);
    EXPECT_EQ(correction->messageNumber, c.messageNumber);
    EXPECT_EQ(correction->message, QString::fromUtf8(c.message));
    EXPECT_DOUBLE_EQ(c.value(request), c.toC);
  }
}

TEST(SelectionRunConditions, CorrectsOnlyTheFirstWrongValuePerCall) {
  SelectionRequest request;
  request.cooling.outdoor.dryBulbC = 25;  // below the cooling room's 27
  request.heating.outdoor.dryBulbC = 22;  // above the heating room's 20

  const std::optional<LTConditionCorrection> first = CTSelectionRun::CheckConditions(request);
  ASSERT_TRUE(first);
  EXPECT_TRUE(first->cooling);
  EXPECT_DOUBLE_EQ(request.cooling.outdoor.dryBulbC, 27);
  EXPECT_DOUBLE_EQ(request.heating.outdoor.dryBulbC, 22);

  const std::optional<LTConditionCorrection> second = CTSelectionRun::CheckConditions(request);
  ASSERT_TRUE(second);
  EXPECT_FALSE(second->cooling);
  EXPECT_DOUBLE_EQ(request.heating.outdoor.dryBulbC, 20);

  EXPECT_FALSE(CTSelectionRun::CheckConditions(request));
}

// ---------------------------------------------------------------- heater options

TEST(SelectionRunHeaterOptions, SmallestCoveringOptionHasTheLeastToSpare) {
  struct Case {
    const char* what;
    std::vector<double> sizesKW;
    double needKW;
    int index;
  };
  const Case cases[] = {
      {"1.2 kW among 1.0 / 1.5 / 2.0", {1.0, 1.5, 2.0}, 1.2, 1},
      {"the catalogue order does not matter", {2.0, 1.0, 1.5}, 1.2, 2},
      {"an exact size covers", {1.0, 1.5, 2.0}, 1.5, 1},
      {"ties: the first", {2.0, 1.5, 1.5}, 1.2, 1},
      {"none covers", {1.0, 1.5}, 2.0, -1},
      {"no options", {}, 0.5, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    QList<LTHeaterOption> options;
    for (const double kW : c.sizesKW) options.append({int(options.size()) + 10, QStringLiteral("heater"), kW});
    EXPECT_EQ(CTSelectionRun::SmallestCoveringOption(options, c.needKW), c.index);
  }
}

// ---------------------------------------------------------------- SFP class

TEST(SelectionRunFans, SfpClassAtAndAroundEachLimit) {
  // Upper limits of SFP 0 to SFP 6 in kW/(m3/s), each belonging to its class.
  const double limits[] = {0.3, 0.5, 0.75, 1.25, 2.0, 3.0, 4.5};
  EXPECT_EQ(CTSelectionRun::SfpClass(0), 0);
  for (int sfpClass = 0; sfpClass < 7; ++sfpClass) {
    const double limit = limits[sfpClass];
    SCOPED_TRACE(limit);
    EXPECT_EQ(CTSelectionRun::SfpClass(std::nextafter(limit, 0.0)), sfpClass);
    EXPECT_EQ(CTSelectionRun::SfpClass(limit), sfpClass);
    EXPECT_EQ(CTSelectionRun::SfpClass(std::nextafter(limit, 10.0)), sfpClass + 1);
  }
  EXPECT_EQ(CTSelectionRun::SfpClass(12), 7);
}

}  // namespace
