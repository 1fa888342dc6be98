#include "CatalogueTest.h"

#include "catalogue/ClIndFamily.h"
#include "catalogue/ClIndTabularCap.h"
#include "catalogue/ClIndoorUnit.h"
#include "catalogue/CoilCapacity.h"
#include "catalogue/Factory.h"
#include "recdb/MemDB.h"
#include "recdb/RecordingPresenter.h"

#include <gtest/gtest.h>

namespace {

CTCapacityRow Row(int kind, double te, std::array<double, 7> cols, double select = 0) {
  return CTCapacityRow{kind, te, select, cols};
}

// Wet bulbs 14, 19, 22 over dry bulbs 20, 27, 30; standard TE 6 with total
// 3.0, 4.0, 4.6 kW and sensible 2.4, 2.8, 3.0 kW; TE 10 as factors 0.8
// (total) and 1.1 (sensible); heating 5.0, 4.6, 4.2 kW at 15, 20, 25 degC.
// 600 m3/h through the coil, a 40 W fan blowing through it.
std::vector<CTCapacityRow> Table(bool withStandard = true) {
  std::vector<CTCapacityRow> rows = {
      Row(0, 6, {14, 19, 22}, 3),        Row(10, 6, {20, 27, 30}, 3),      Row(1, 6, {15, 20, 25}, 3),
      Row(8, 6, {2.4, 2.8, 3.0}),        Row(11, 10, {0.8, 0.8, 0.8}),     Row(12, 10, {1.1, 1.1, 1.1}),
      Row(5, 6, {5.0, 4.6, 4.2}),
  };
  if (withStandard) rows.push_back(Row(2, 6, {3.0, 4.0, 4.6}));
  return rows;
}

TEST(CoilCapacity, HeatingAlongTheHeader) {
  const CTCoilCapacity coil(Table(), 600, 40, 0);
  int err = -1;
  EXPECT_DOUBLE_EQ(coil.GetHeatCap(20, false, err), 4.6);
  EXPECT_EQ(err, CTCoilCapacity::kOk);
  EXPECT_DOUBLE_EQ(coil.GetHeatCap(17.5, false, err), 4.8);
  EXPECT_DOUBLE_EQ(coil.GetHeatCap(10, false, err), 5.0);  // clamped to the first column
  EXPECT_EQ(coil.GetHeatCap(10, true, err), 0);
  EXPECT_EQ(err, CTCoilCapacity::kHeatNotPositive);
  const CTCoilCapacity noHeating({Row(1, 6, {15, 20, 25}, 3)}, 600, 40, 0);
  noHeating.GetHeatCap(20, false, err);
  EXPECT_EQ(err, CTCoilCapacity::kNoRow);
}

TEST(CoilCapacity, TotalCoolingAtAWetBulbAndTE) {
  CTCoilCapacity coil(Table(), 600, 40, 0);
  int err = -1;
  EXPECT_DOUBLE_EQ(coil.TotalCoolAt(6, 19, false, err), 4.0);
  EXPECT_DOUBLE_EQ(coil.TotalCoolAt(6, 16.5, false, err), 3.5);
  EXPECT_DOUBLE_EQ(coil.TotalCoolAt(CTCoilCapacity::kStandardTE, 20.5, false, err), 4.3);
  EXPECT_DOUBLE_EQ(coil.TotalCoolAt(10, 19, false, err), 3.2);  // factor 0.8 of the standard row
  EXPECT_DOUBLE_EQ(coil.TotalCoolAt(6, 12, false, err), 3.0);   // below the header: the first column
  EXPECT_EQ(coil.TotalCoolAt(6, 12, true, err), 0);
  EXPECT_EQ(err, CTCoilCapacity::kCoolOutside);
  EXPECT_EQ(coil.TotalCoolAt(8, 19, false, err), 0);  // no rows at TE 8
  EXPECT_EQ(err, CTCoilCapacity::kNoCapacities);

  CTCoilCapacity noStandard(Table(false), 600, 40, 0);
  EXPECT_FALSE(noStandard.HasStandardTE());
  EXPECT_EQ(noStandard.TotalCoolAt(10, 19, false, err), 0);
  EXPECT_EQ(err, CTCoilCapacity::kNoCapacities);
}

TEST(CoilCapacity, SensibleFactorsScaleTheStandardRatio) {
  CTCoilCapacity coil(Table(), 600, 40, 0);
  EXPECT_DOUBLE_EQ(coil.SensibleColumn(6, 2), 2.8);
  // a = 4.0, b = 2.8, c = 1.1: d = min(1.1 * 2.8 / 4.0, 1) = 0.77; 4.0 * 0.8 * 0.77
  EXPECT_NEAR(coil.SensibleColumn(10, 2), 2.464, 1e-12);
}

TEST(CoilCapacity, BypassFactorOfAColumnIsComputedOnce) {
  CTCoilCapacity coil(Table(), 600, 40, 0);
  const TAir air(0);
  // An independent implementation of the apparatus-dew-point search gives
  // 0.19905 for column 2 (wb 19, db 27, 4.0 kW total, 2.8 kW sensible).
  EXPECT_NEAR(coil.BypassColumn(6, 2, air), 0.1990464626868634, 1e-6);
  EXPECT_NEAR(coil.BypassColumn(6, 1, air), 0.08923518154885894, 1e-6);
  const int computations = coil.BypassComputations();
  EXPECT_NEAR(coil.BypassFactorAt(6, 19, air), 0.1990464626868634, 1e-6);  // on column 2's wet bulb
  EXPECT_NEAR(coil.BypassFactorAt(6, 16.5, air), (0.08923518154885894 + 0.1990464626868634) / 2, 1e-6);
  EXPECT_EQ(coil.BypassComputations(), computations);  // reused for the same TE
}

TEST(CoilCapacity, SensibleNeverExceedsTotalAndNothingDividesByZero) {
  const TAir air(0);
  for (int position : {0, 1}) {
    CTCoilCapacity coil(Table(), 600, 40, position);
    for (double db : {20.0, 24.0, 27.0, 32.0})
      for (double rh : {30.0, 50.0, 70.0}) {
        int errT = 0, errS = 0;
        const double total = coil.GetTCoolCap(6, db, rh, air, false, errT);
        const double sensible = coil.GetSCoolCap(6, db, rh, air, false, errS);
        EXPECT_TRUE(std::isfinite(sensible));
        EXPECT_LE(sensible, total) << db << " " << rh;
      }
  }
  // No airflow, no columns, a repeated header: answers, never a division by zero.
  int err = 0;
  CTCoilCapacity still(Table(), 0, 40, 0);
  EXPECT_EQ(still.GetSCoolCap(6, 27, 50, air, false, err), 0);
  CTCoilCapacity flat({Row(0, 6, {19, 19}, 2), Row(10, 6, {27, 27}, 2), Row(2, 6, {4, 4}), Row(8, 6, {2.8, 2.8})}, 600, 40, 0);
  EXPECT_TRUE(std::isfinite(flat.GetSCoolCap(6, 27, 50, air, false, err)));
  CTCoilCapacity empty({}, 600, 40, 0);
  EXPECT_EQ(empty.GetTCoolCap(6, 27, 50, air, false, err), 0);
  EXPECT_EQ(empty.GetSCoolCap(6, 27, 50, air, false, err), 0);
}

TEST_F(CatalogueTest, IndoorUnitReadsItsCapacityRows) {
  {
    Cls_IndoorUnit unit;
    unit.SetName("IU-25");
    unit.SetHighFan(600);
    unit.SetPIFanMotor(40);
    unit.Insert();
    for (const CTCapacityRow& r : Table()) {
      Cls_IndTabularCap row;
      row.SetType(r.kind);
      row.SetTe(r.te);
      row.SetSelect(r.select);
      row.SetCol1(r.cols[0]);
      row.SetCol2(r.cols[1]);
      row.SetCol3(r.cols[2]);
      row.SetIndoorUnit(&unit);
      row.Insert();
    }
    Cls_IndoorUnit stored(unit.GetID());
    int err = -1;
    EXPECT_DOUBLE_EQ(stored.GetHeatCap(20, false, err), 4.6);
    const TAir air(0);
    const double total = stored.GetTCoolCap(6, 27, 50, air, false, err);
    EXPECT_EQ(err, CTCoilCapacity::kOk);
    EXPECT_GT(total, 3.0);
    EXPECT_LT(total, 4.6);
  }
}

}  // namespace

namespace {

TEST_F(CatalogueTest, IndFamilyDescriptiveNamesAndCachedLookup) {
  {
    Cls_IndFamily family;
    family.SetShort(" CK2 ");
    family.SetName("Ceiling cassette ");
    family.Insert();
    EXPECT_EQ(family.GetDescriptiveNameExt(false), "CK2 - Ceiling cassette");
    EXPECT_EQ(family.GetDescriptiveNameExt(true), "CK2");  // no look-up series: the short name alone
    family.SetLookupSeries("NV-C");
    family.SetProductName("Norvane");
    EXPECT_EQ(family.GetDescriptiveNameExt(true), "Norvane NV-C - Ceiling cassette");

    EXPECT_EQ(Cls_IndFamily::CachedIndFamily("ck2"), nullptr);  // nothing cached yet
    v_factory.GetCachedObject(Cls_IndFamily::kClassID, family.GetID());
    ASSERT_NE(Cls_IndFamily::CachedIndFamily(" CK2 "), nullptr);
    EXPECT_EQ(Cls_IndFamily::CachedIndFamily("other"), nullptr);
  }
}

}  // namespace
