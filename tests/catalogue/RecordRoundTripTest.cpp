#include "catalogue/ClDeviceDocumentation.h"
#include "catalogue/ClHRX.h"
#include "catalogue/ClHRXPolynomial.h"
#include "catalogue/ClHRXSpType.h"
#include "catalogue/ClHRXSpeed.h"
#include "catalogue/ClIndoorUnit.h"
#include "catalogue/ClPowerSupply.h"
#include "catalogue/ClTrivanePSAllowed.h"
#include "catalogue/Factory.h"
#include "recdb/EngineSettings.h"
#include "recdb/MemDB.h"
#include "recdb/RecordingPresenter.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

class CatalogueRoundTrip : public MemEngineTest {
 protected:
  void SetUp() override {
    MemEngineTest::SetUp();
    ASSERT_TRUE(v_dir.isValid());
  }
  // A catalogue over szFile (a new, empty one when szFile is empty), connected.
  std::unique_ptr<CTFactory> Open(const QString& szFile) {
    auto factory = std::make_unique<CTFactory>();
    factory->SetRequiredEngineType(0, CTMemDbEngine::ClassName());
    factory->SetDatabaseName(0, szFile);
    EXPECT_TRUE(factory->Connect()) << v_messages.shown.join("; ").toStdString();
    CTDbObject::SetDefaultFactory(factory.get());
    return factory;
  }

  QTemporaryDir v_dir;
};

TEST_F(CatalogueRoundTrip, UnitWithSpeedsCurvesAndCoilSurvivesSaveAndLoad) {
  const QString path = v_dir.filePath("catalogue.roz");
  {
    auto factory = Open(QString());
    Cls_HRXSpType low(0, factory.get());
    low.SetName("Low");
    low.SetWeight(1);
    low.Insert();
    Cls_HRXSpType high(0, factory.get());
    high.SetName("High");
    high.SetWeight(3);
    high.Insert();

    Cls_HRX hrx(0, factory.get());
    hrx.SetName("VX-350");
    hrx.SetSeries("VX");
    hrx.SetMaxAirflow(350);
    hrx.SetMinAirflow(90.5);
    hrx.SetOAMinTemp(-20);
    hrx.SetCanBeUpsideDown(true);
    hrx.SetGroupName("Compact units");
    hrx.Insert();

    struct Speed {
      const Cls_HRXSpType* type;
      double a0, a1, a2, espLimit;
    };
    for (const Speed& s : {Speed{&low, 120, -0.25, -0.001, 80}, Speed{&high, 210, -0.5, -0.002, 150}}) {
      Cls_HRXSpeed speed(0, factory.get());
      speed.SetHRX(&hrx);
      speed.SetHRXSpType(s.type);
      speed.SetA0(s.a0);
      speed.SetA1(s.a1);
      speed.SetA2(s.a2);
      speed.SetArgumentLow(50);
      speed.SetArgumentHigh(350);
      speed.SetEspLimit(s.espLimit);
      speed.SetSoundLevel("32 dB(A)");
      speed.Insert();
    }
    Cls_HRXPolynomial correction(0, factory.get());
    correction.SetHRX(&hrx);
    correction.SetType(2);
    correction.SetA0(0.92);
    correction.Insert();

    Cls_IndoorUnit coil(0, factory.get());
    coil.SetName("VX-350 coil");
    coil.SetHRX(&hrx);
    coil.SetNominalAirFlow(300);
    coil.Insert();

    Cls_PowerSupply supply(0, factory.get());
    supply.SetName("230 V 1~ 50 Hz");
    supply.SetVoltage("230");
    supply.Insert();
    Cls_TrivanePSAllowed allowed(0, factory.get());
    allowed.SetDevice(&hrx);
    allowed.SetPowerSupply(&supply);
    allowed.SetMCA(1.6);
    allowed.Insert();

    factory->SetDatabaseName(0, path);
    ASSERT_TRUE(factory->SaveFile(0, true)) << v_messages.shown.join("; ").toStdString();
  }

  auto factory = Open(path);
  auto units = CTDbObject::GetAllRecords(Cls_HRX::kClassID, false, factory.get());
  ASSERT_EQ(units.Count(), 1);
  auto* hrx = dynamic_cast<Cls_HRX*>(units.First());
  ASSERT_NE(hrx, nullptr);
  EXPECT_EQ(hrx->GetName(), "VX-350");
  EXPECT_EQ(hrx->GetSeries(), "VX");
  EXPECT_EQ(hrx->GetGroupName(), "Compact units");
  EXPECT_EQ(hrx->GetMaxAirflow(), 350);
  EXPECT_EQ(hrx->GetMinAirflow(), 90.5);
  EXPECT_EQ(hrx->GetOAMinTemp(), -20);
  EXPECT_EQ(hrx->GetOAMaxRH(), 80);  // never set: the default was stored
  EXPECT_TRUE(hrx->GetCanBeUpsideDown());

  ObjectList<Cls_HRXSpeed> speeds = hrx->GetAllHRXSpeed();
  ASSERT_EQ(speeds.Count(), 2);
  speeds.Sort([](const Cls_HRXSpeed* a, const Cls_HRXSpeed* b) { return a->GetA0() < b->GetA0(); });
  EXPECT_EQ(speeds[0]->GetA1(), -0.25);
  EXPECT_EQ(speeds[0]->GetA2(), -0.001);
  EXPECT_EQ(speeds[0]->GetEspLimit(), 80);
  EXPECT_EQ(speeds[0]->GetArgumentHigh(), 350);
  EXPECT_EQ(speeds[0]->GetSoundLevel(), "32 dB(A)");
  EXPECT_EQ(speeds[1]->GetA0(), 210);
  const auto lowType = speeds[0]->GetHRXSpType();
  ASSERT_NE(lowType, nullptr);
  EXPECT_EQ(lowType->GetName(), "Low");
  EXPECT_EQ(lowType->GetWeight(), 1);
  EXPECT_EQ(lowType->GetAllHRXSpeed().Count(), 1);
  int cls = 0, id = 0;
  speeds[1]->GetHRXRef(cls, id);
  EXPECT_EQ(cls, Cls_HRX::kClassID);
  EXPECT_EQ(id, hrx->GetID());

  ObjectList<Cls_HRXPolynomial> corrections = hrx->GetAllHRXPolynomial();
  ASSERT_EQ(corrections.Count(), 1);
  EXPECT_EQ(corrections[0]->GetType(), 2);
  EXPECT_EQ(corrections[0]->GetA0(), 0.92);

  const auto coil = hrx->GetTheIndoorUnit();
  ASSERT_NE(coil, nullptr);
  EXPECT_EQ(coil->GetName(), "VX-350 coil");
  EXPECT_EQ(coil->GetNominalAirFlow(), 300);
  const auto coilUnit = coil->GetHRX();
  ASSERT_NE(coilUnit, nullptr);
  EXPECT_EQ(coilUnit->GetName(), "VX-350");

  ObjectList<Cls_DevPSAllowed> allowed = hrx->GetAllDevPSAllowed();
  ASSERT_EQ(allowed.Count(), 1);
  EXPECT_EQ(allowed[0]->TableIndex(), Cls_TrivanePSAllowed::kClassID);
  EXPECT_EQ(allowed[0]->GetMCA(), 1.6);
  EXPECT_EQ(allowed[0]->GetFuses(), "Factory Std");
  const auto supply = allowed[0]->GetPowerSupply();
  ASSERT_NE(supply, nullptr);
  EXPECT_EQ(supply->GetName(), "230 V 1~ 50 Hz");
  EXPECT_EQ(supply->GetVoltage(), "230");
  EXPECT_EQ(hrx->GetTheDeviceDocumentation(), nullptr);
}

}  // namespace
