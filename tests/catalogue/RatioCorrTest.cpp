#include "CatalogueTest.h"

#include "catalogue/Factory.h"
#include "catalogue/HRXRatioCorr.h"
#include "recdb/MemDB.h"
#include "recdb/RecordingPresenter.h"

#include <gtest/gtest.h>

namespace {

class RatioCorr : public CatalogueTest {
 protected:
  void AddCurve(int type, double select1, double a0, double a1, double lo = 0, double hi = 0) {
    Cls_HRXCorrection c;
    c.SetType(type);
    c.SetSelect1(select1);
    c.SetA0(a0);
    c.SetA1(a1);
    c.SetArgumentLow(lo);
    c.SetArgumentHigh(hi);
    c.Insert();
  }
  // Ratio 0.5: 0.9 x; 1.0: x; 1.5: 1.05 x (inserted out of order).
  void AddRatioCurves() {
    AddCurve(THRXRatioCorr::kRatioCorrection, 1.5, 0, 1.05);
    AddCurve(THRXRatioCorr::kRatioCorrection, 0.5, 0, 0.9);
    AddCurve(THRXRatioCorr::kRatioCorrection, 1.0, 0, 1.0);
  }
};

TEST_F(RatioCorr, EfficiencyBetweenAndBeyondTheRatioCurves) {
  AddRatioCurves();
  THRXRatioCorr corr(&v_factory);
  EXPECT_EQ(corr.CorrectionCount(), 3);
  EXPECT_DOUBLE_EQ(corr.EfficiencyCorrection(0.75, 70), (63 + 70) / 2.0);
  EXPECT_DOUBLE_EQ(corr.EfficiencyCorrection(1.25, 70), (70 + 73.5) / 2.0);
  EXPECT_DOUBLE_EQ(corr.EfficiencyCorrection(2.0, 70), 73.5);
  EXPECT_DOUBLE_EQ(corr.EfficiencyCorrection(0.2, 70), 63);
  EXPECT_DOUBLE_EQ(corr.EfficiencyCorrection(1.0, 70), 70);
}

TEST_F(RatioCorr, ChartValuesDifferAtTheEnds) {
  AddRatioCurves();
  THRXRatioCorr corr(&v_factory);
  EXPECT_DOUBLE_EQ(corr.GetCorrValAt(1.5, 70), 70);    // at or above the last key: the argument
  EXPECT_DOUBLE_EQ(corr.GetCorrValAt(3.0, 70), 70);
  EXPECT_DOUBLE_EQ(corr.GetCorrValAt(0.75, 70), 66.5);
  EXPECT_DOUBLE_EQ(corr.GetCorrValAt(0.25, 70), 59.5);  // extrapolated from the first two curves
}

TEST_F(RatioCorr, WithoutCurvesNothingChanges) {
  THRXRatioCorr corr(&v_factory);
  EXPECT_EQ(corr.EfficiencyCorrection(0.75, 70), 70);
  EXPECT_EQ(corr.GetCorrValAt(0.75, 70), 70);
  EXPECT_EQ(corr.RatioHumidification(0.8), 1);
  EXPECT_EQ(corr.TempHumidification(6), 1);
}

TEST_F(RatioCorr, HumidificationFactorsAndReload) {
  AddCurve(THRXRatioCorr::kRatioHumidification, 0, 1.2, -0.2, 0.5, 1.5);
  AddCurve(THRXRatioCorr::kTempHumidification, 0, 0.5, 0.05);
  AddCurve(7, 0, 99, 0);  // another type: ignored
  THRXRatioCorr corr(&v_factory);
  EXPECT_DOUBLE_EQ(corr.RatioHumidification(1.0), 1.0);
  EXPECT_EQ(corr.RatioHumidification(2.0), 0);  // outside the curve's range
  EXPECT_DOUBLE_EQ(corr.TempHumidification(10), 1.0);
  EXPECT_EQ(corr.CorrectionCount(), 0);
  AddRatioCurves();
  EXPECT_EQ(corr.CorrectionCount(), 0);  // cached until cleared
  corr.ClearCache();
  EXPECT_EQ(corr.CorrectionCount(), 3);
}

}  // namespace
