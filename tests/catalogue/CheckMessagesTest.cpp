// The check codes keep the numbers they are stored and printed with, and
// each shows the message the window's table of codes gives it.

#include "CatalogueTest.h"

#include "catalogue/CheckCode.h"
#include "catalogue/CheckMessages.h"
#include "catalogue/ClHRX.h"
#include "catalogue/RecordCast.h"
#include "tools/CatalogueSource.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct CodeCase {
  int code;     // the name
  int stored;   // the number in project files, JSON and texts
  int message;  // its number in the message table
};

TEST(CheckCodes, KeepTheirNumbersAndShowTheirMessages) {
  const CodeCase cases[] = {
      {CheckCode::kOk, 0, 0},
      {CheckCode::kSupplyAirflowTooSmall, 1, 68},
      {CheckCode::kSupplyAirflowTooLarge, 2, 67},
      {CheckCode::kExhaustAirflowTooSmall, 3, 46},
      {CheckCode::kExhaustAirflowTooLarge, 4, 45},
      {CheckCode::kSupplyEspTooSmall, 5, 70},
      {CheckCode::kSupplyEspTooLarge, 6, 69},
      {CheckCode::kExhaustEspTooSmall, 7, 48},
      {CheckCode::kExhaustEspTooLarge, 8, 47},
      {CheckCode::kRoomHumidityTooHigh, 9, 62},
      {CheckCode::kOutdoorHumidityTooHigh, 10, 60},
      {CheckCode::kRoomTempOutside, 11, 61},
      {CheckCode::kOutdoorTempTooHigh, 12, 59},
      {CheckCode::kInletTempOutside, 13, 63},
      {CheckCode::kAirflowOutside, 14, 67},  // no unit to name the cause
      {CheckCode::kCoolCapOutside, 15, 44},
      {CheckCode::kHeatCapOutside, 16, 49},
      {CheckCode::kRoomNotBelowDischarge, 17, 50},
      {CheckCode::kCoolHumidityTooLow, 18, 53},
      {CheckCode::kHeatHumidityTooLow, 19, 54},
      {CheckCode::kInletHeaterTooLarge, 20, 51},
      {CheckCode::kSupplyHeaterTooLarge, 21, 71},
      {CheckCode::kInletHeaterTooSmall, 22, 52},
      {CheckCode::kSupplyHeaterTooSmall, 23, 72},
      {CheckCode::kNoUnitWithFilter, 24, 120},
      {CheckCode::kNoSolution, 25, 9},
      {CheckCode::kExhaustHumidityTooHigh, 26, 65},
      {CheckCode::kOutletHumidityTooHigh, 27, 65},
      {CheckCode::kNoCoilData, 28, 122},
  };
  for (const CodeCase& c : cases) {
    EXPECT_EQ(c.code, c.stored);
    EXPECT_EQ(CTCheckMessages::MessageNumber(c.stored, {}), c.message) << "code " << c.stored;
  }
  // The members of the unit name the same codes.
  EXPECT_EQ(Cls_HRX::kNoCoilData, 28);
  EXPECT_EQ(Cls_HRX::kExhaustEspTooLarge, 8);
}

// A number no layer answers says that nothing was found; it never claims a
// cause (such as a heater too small) that nobody checked.
TEST(CheckCodes, AnUnknownNumberShowsNoSolution) {
  for (const int code : {-1, 29, 1000}) EXPECT_EQ(CTCheckMessages::MessageNumber(code, {}), 9) << "code " << code;
}

const char* const kCatalogue = R"(
table HRX
  HRX_ID Fld_Name HRX_Type HRX_MinAirflow HRX_MaxAirflow
  1      NV-T     0        100            500
end
)";

class CheckMessages : public CatalogueTest {
 protected:
  void SetUp() override {
    CatalogueTest::SetUp();
    CTCatalogueSource source;
    source.AddText(QString::fromUtf8(kCatalogue), QStringLiteral("codes.cat"));
    ASSERT_TRUE(source.Build(v_factory)) << source.Problems().join('\n').toStdString();
    v_units = RecordsAs<Cls_HRX>(CTDbObject::GetAllRecords(Cls_HRX::kClassID, false, &v_factory));
    ASSERT_EQ(v_units.Count(), 1);
  }
  ObjectList<Cls_HRX> v_units{true};
};

// Code 14 has no message of its own: the airflow outside the unit's range
// (100 .. 500 m3/h) names itself, the supply before the exhaust.
TEST_F(CheckMessages, AnAirflowOutsideTheRangeNamesTheAirflow) {
  struct Case {
    double supply, exhaust;
    int message;
  };
  const Case cases[] = {
      {50, 300, 68},   // supply too small
      {NAN, 300, 68},  // not a number fails as too small
      {600, 50, 67},   // supply too large, before the exhaust
      {300, 99, 46},   // exhaust too small
      {500, 501, 45},  // exhaust too large; the bounds belong to the range
  };
  for (const Case& c : cases) {
    CTCheckMessages::Context context;
    context.unit = v_units.Item(0);
    context.supplyAir = c.supply;
    context.exhaustAir = c.exhaust;
    EXPECT_EQ(CTCheckMessages::MessageNumber(CheckCode::kAirflowOutside, context), c.message)
        << c.supply << " / " << c.exhaust;
  }
}

TEST_F(CheckMessages, TextsOfTheCodesWithoutParameters) {
  EXPECT_EQ(CTCheckMessages::Text(CheckCode::kOk, {}), QString());
  EXPECT_EQ(CTCheckMessages::Text(CheckCode::kNoSolution, {}), "No solution found !");
  EXPECT_EQ(CTCheckMessages::Text(CheckCode::kSupplyHeaterTooSmall, {}),
            "The user defined supply heater is smaller than the calculated minimum supply heater.");
}

}  // namespace
