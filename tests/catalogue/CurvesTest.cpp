#include "CatalogueTest.h"

#include "catalogue/ClDeviceOptionPolynomial.h"
#include "catalogue/ClHRXPolynomial.h"
#include "catalogue/ClHRXSpeed.h"
#include "catalogue/ClIndTabularCap.h"
#include "catalogue/ClTrivaneDeviceOption.h"
#include "catalogue/Factory.h"
#include "recdb/MemDB.h"
#include "recdb/RecordingPresenter.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

class Curves : public CatalogueTest {
 protected:
  void TearDown() override {
    v_curves.clear();
    CatalogueTest::TearDown();
  }
  // A curve a0 + a1 x (+ a2 x^2) with its keys and argument range, kept by the fixture.
  const Cls_HRXPolynomial* Curve(double select1, double select2, double a0, double a1, double lo = 0, double hi = 0,
                                 double a2 = 0) {
    auto p = std::make_unique<Cls_HRXPolynomial>();
    p->SetSelect1(select1);
    p->SetSelect2(select2);
    p->SetA0(a0);
    p->SetA1(a1);
    p->SetA2(a2);
    p->SetArgumentLow(lo);
    p->SetArgumentHigh(hi);
    v_curves.push_back(std::move(p));
    return v_curves.back().get();
  }

  std::vector<std::unique_ptr<Cls_HRXPolynomial>> v_curves;
};

TEST_F(Curves, EvaluateHonoursTheArgumentRange) {
  const Cls_HRXPolynomial* fan = Curve(0, 0, 400, -0.2, 300, 800);  // ESP 400 - 0.2 x between 300 and 800 m3/h
  EXPECT_DOUBLE_EQ(fan->Evaluate(500), 300);
  EXPECT_DOUBLE_EQ(fan->Evaluate(800), 240);
  EXPECT_EQ(fan->Evaluate(850), 0);  // not the value at 800
  EXPECT_EQ(fan->Evaluate(299), 0);
  const Cls_HRXPolynomial* open = Curve(0, 0, 1, 2, 0, 0, 3);  // 1 + 2x + 3x^2, unbounded
  EXPECT_DOUBLE_EQ(open->Evaluate(-2), 9);
  const Cls_HRXPolynomial* point = Curve(0, 0, 7, 1, 5, 5);
  EXPECT_DOUBLE_EQ(point->Evaluate(5), 12);
  EXPECT_EQ(point->Evaluate(5.1), 0);
  EXPECT_EQ(open->Evaluate(1e200), 0);  // overflow is no value
}

TEST_F(Curves, SpeedsSortHighestStepFirst) {
  Cls_HRXSpeed low, high;
  low.SetSelect1(1);
  high.SetSelect1(3);
  high.SetSelect2(0.12);
  EXPECT_TRUE(Cls_HRXSpeed::CompareSpeeds(&high, &low));
  EXPECT_FALSE(Cls_HRXSpeed::CompareSpeeds(&low, &high));
  EXPECT_EQ(high.GetPowerInput(), 0.12);
}

TEST_F(Curves, DischargeBlockIsTheRunAtOrBelowTheTemperature) {
  std::vector<const Cls_HRXPolynomial*> family;
  for (double discharge : {16.0, 18.0, 20.0})
    for (double inlet : {10.0, 30.0}) family.push_back(Curve(inlet, discharge, 0, 0));
  const auto keyOf = [](const std::vector<const Cls_HRXPolynomial*>& block) {
    return block.size() == 2 && block[0]->GetSelect2() == block[1]->GetSelect2() ? block[0]->GetSelect2() : -1.0;
  };
  EXPECT_EQ(keyOf(Cls_HRXPolynomial::SelectDischargeBlock(family, 19)), 18);
  EXPECT_EQ(keyOf(Cls_HRXPolynomial::SelectDischargeBlock(family, 25)), 20);
  EXPECT_EQ(keyOf(Cls_HRXPolynomial::SelectDischargeBlock(family, 10)), 16);
  EXPECT_EQ(keyOf(Cls_HRXPolynomial::SelectDischargeBlock(family, 18)), 18);
  EXPECT_TRUE(Cls_HRXPolynomial::SelectDischargeBlock({}, 18).empty());
}

TEST_F(Curves, HeatCapacityFollowsTheLowerCurvesChord) {
  // Keys 0, 10, 20 with P0 = 5 + 0.1 x, P1 = 6 + 0.2 x, P2 = 8 + 0.05 x.
  const std::vector<const Cls_HRXPolynomial*> block = {Curve(0, 35, 5, 0.1), Curve(10, 35, 6, 0.2), Curve(20, 35, 8, 0.05)};
  EXPECT_DOUBLE_EQ(Cls_HRXPolynomial::EvalHeatCapBlock(block, 10), 8);    // P1(10) on its key
  EXPECT_DOUBLE_EQ(Cls_HRXPolynomial::EvalHeatCapBlock(block, 5), 5.5);   // P0(0)=5 .. P0(10)=6
  EXPECT_DOUBLE_EQ(Cls_HRXPolynomial::EvalHeatCapBlock(block, 15), 9);    // P1(10)=8 .. P1(20)=10
  EXPECT_DOUBLE_EQ(Cls_HRXPolynomial::EvalHeatCapBlock(block, 20), 9);    // P2(20)
  EXPECT_EQ(Cls_HRXPolynomial::EvalHeatCapBlock(block, -1), -1);
  EXPECT_EQ(Cls_HRXPolynomial::EvalHeatCapBlock(block, 21), -1);
  EXPECT_EQ(Cls_HRXPolynomial::EvalHeatCapBlock({}, 10), -1);
  // Repeated keys do not divide by zero.
  const std::vector<const Cls_HRXPolynomial*> twin = {Curve(0, 35, 5, 0.1), Curve(0, 35, 6, 0.2), Curve(10, 35, 1, 0)};
  EXPECT_TRUE(std::isfinite(Cls_HRXPolynomial::EvalHeatCapBlock(twin, 5)));
}

TEST_F(Curves, CoolCapacityCurveUsesInnerNeighboursOnly) {
  // c_i(x) = i + x, valid on [10 + 2i, 20 + 2i].
  std::vector<const Cls_HRXPolynomial*> block;
  for (int i = 0; i < 4; ++i) block.push_back(Curve(20 + 5 * i, 12, i, 1, 10 + 2 * i, 20 + 2 * i));
  EXPECT_DOUBLE_EQ(Cls_HRXPolynomial::EvalCoolCapCurve(block, 2, 18), 20);         // inside: 2 + 18
  EXPECT_DOUBLE_EQ(Cls_HRXPolynomial::EvalCoolCapCurve(block, 2, 13), 14.5);       // c1(12)=13 .. c2(14)=16
  EXPECT_DOUBLE_EQ(Cls_HRXPolynomial::EvalCoolCapCurve(block, 2, 13.004), 14.5);   // wet bulb to 0.01 first
  EXPECT_EQ(Cls_HRXPolynomial::EvalCoolCapCurve(block, 2, 11), 0);                 // below c1's range too
  EXPECT_EQ(Cls_HRXPolynomial::EvalCoolCapCurve(block, 1, 11), 0);                 // c0 is the first: not used
  EXPECT_DOUBLE_EQ(Cls_HRXPolynomial::EvalCoolCapCurve(block, 1, 23), 24.5);       // c1(22)=23 .. c2(24)=26
  EXPECT_EQ(Cls_HRXPolynomial::EvalCoolCapCurve(block, 2, 25), 0);                 // c3 is the last: not used
  // Between keys 25 (c1) and 30 (c2) at dry bulb 27.5 and wet bulb 18: halfway from 19 to 20.
  EXPECT_DOUBLE_EQ(Cls_HRXPolynomial::EvalCoolCapBlock(block, 18, 27.5), 19.5);
  EXPECT_DOUBLE_EQ(Cls_HRXPolynomial::EvalCoolCapBlock(block, 18, 30), 20);
  EXPECT_EQ(Cls_HRXPolynomial::EvalCoolCapBlock(block, 18, 19), -1);
  EXPECT_EQ(Cls_HRXPolynomial::EvalCoolCapBlock({}, 18, 25), -1);
}

TEST_F(Curves, TabularRowsInterpolateBetweenHeaderTemperatures) {
  Cls_IndTabularCap header, row;
  header.SetType(1);
  header.SetSelect(3.4);  // three used columns
  header.SetCol1(10);
  header.SetCol2(20);
  header.SetCol3(30);
  row.SetType(2);
  row.SetCol1(100);
  row.SetCol2(200);
  row.SetCol3(300);
  Cls_Tabular::Row temps{};
  const int used = header.GetTempRow(temps);
  EXPECT_EQ(used, 3);
  EXPECT_EQ(row.GetValAt(20, used, temps), 200);  // on a header value: that column
  EXPECT_DOUBLE_EQ(row.GetValAt(25, used, temps), 250);
  EXPECT_EQ(row.GetValAt(10, used, temps), 100);
  EXPECT_EQ(row.GetValAt(5, used, temps), 0);
  EXPECT_EQ(row.GetValAt(35, used, temps), 0);
  Cls_Tabular::Row none{};
  EXPECT_EQ(row.GetTempRow(none), 0);  // kind 2 is no header row
  EXPECT_EQ(none, Cls_Tabular::Row{});
  EXPECT_EQ(row.GetDataVal(0), 0);
  EXPECT_EQ(row.GetDataVal(8), 0);
  row.SetTe(3);
  header.SetTe(6);
  EXPECT_TRUE(Cls_Tabular::CompareTabular(&row, &header));
}

// Distinct values in every column go through a saved file in the stored
// column order and come back through the accessors.
TEST_F(Curves, PolynomialAndTabularColumnsKeepTheirStoredOrder) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  Cls_HRXPolynomial p;
  const double a[] = {10, 11, 12, 13, 14, 15, 16, 17};
  p.SetA0(a[0]); p.SetA1(a[1]); p.SetA2(a[2]); p.SetA3(a[3]);
  p.SetA4(a[4]); p.SetA5(a[5]); p.SetA6(a[6]); p.SetA7(a[7]);
  p.SetSelect1(21);
  p.SetSelect2(22);
  p.SetType(3);
  p.SetArgumentLow(-5);
  p.SetArgumentHigh(5);
  p.Insert();
  Cls_IndTabularCap t;
  t.SetType(4); t.SetTe(7.5); t.SetSelect(2); t.SetGeneric(9);
  t.SetCol1(31); t.SetCol2(32); t.SetCol3(33); t.SetCol4(34); t.SetCol5(35); t.SetCol6(36); t.SetCol7(37);
  t.Insert();
  v_factory.SetDatabaseName(0, dir.filePath("cat.roz"));
  ASSERT_TRUE(v_factory.SaveFile(0, true));

  QFile file(dir.filePath("cat.roz"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray text = file.readAll();
  // Polynomial columns: ID, A4, Select1, A3, A2, A6, A7, A0, Type, Select2, A5, A1, low, high, then the unit reference.
  EXPECT_TRUE(text.contains("2 1 4 14 4 21 4 13 4 12 4 16 4 17 4 10 2 3 4 22 4 15 4 11 4 -5 4 5 2 0 2 0 \r\n"))
      << text.toStdString();

  CTFactory reloaded;
  reloaded.SetRequiredEngineType(0, CTMemDbEngine::ClassName());
  reloaded.SetDatabaseName(0, dir.filePath("cat.roz"));
  ASSERT_TRUE(reloaded.Connect());
  const Cls_HRXPolynomial back(p.GetID(), &reloaded);
  // sum of (k + 10) 2^k for k = 0..7 at x = 2
  EXPECT_DOUBLE_EQ(back.Evaluate(2), 10 + 22 + 48 + 104 + 224 + 480 + 1024 + 2176);
  EXPECT_EQ(back.GetSelect1(), 21);
  EXPECT_EQ(back.GetSelect2(), 22);
  const Cls_IndTabularCap row(t.GetID(), &reloaded);
  for (int k = 1; k <= 7; ++k) EXPECT_EQ(row.GetDataVal(k), 30 + k) << k;
  EXPECT_EQ(row.GetTe(), 7.5);
  EXPECT_EQ(row.GetGeneric(), 9);
  CTDbObject::SetDefaultFactory(&v_factory);
}

TEST_F(Curves, OptionPressureDropByPolynomialType) {
  Cls_TrivaneDeviceOption option;
  option.Insert();
  Cls_DeviceOptionPolynomial drop;
  drop.SetType(2);
  drop.SetA0(5);
  drop.SetA1(0.05);  // 5 + 0.05 x Pa
  drop.SetDeviceOption(&option);
  drop.Insert();
  Cls_TrivaneDeviceOption reread(option.GetID());
  EXPECT_DOUBLE_EQ(reread.EvaluatePolynomial(2, 400), 25);
  EXPECT_EQ(reread.EvaluatePolynomial(1, 400), 0);
  Cls_TrivaneDeviceOption unsaved;
  EXPECT_EQ(unsaved.EvaluatePolynomial(2, 400), 0);
}

}  // namespace
