// The scaled catalogues of the benchmarks: the plain family cloned across
// sizes from the catalogue's text, everything else as it is, written as the
// program reads it.

#include "catalogue/ClHRX.h"
#include "catalogue/ClHRXEcoCurve.h"
#include "catalogue/ClHRXEcodesign.h"
#include "catalogue/ClHRXSound.h"
#include "catalogue/ClHRXSpeed.h"
#include "catalogue/Factory.h"
#include "catalogue/RecordCast.h"
#include "recdb/MemDB.h"
#include "tools/CatalogueBuild.h"
#include "tools/CatalogueGenerator.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <memory>

namespace {

// Two plain units (type 0) and one of another family, each with two speeds:
// ESP = A0 + A1 q over the airflow range of the curve, the power input
// (POL_Select2) in kW.
constexpr const char* kSource = R"(
table HRXSpType
  VST_ID VST_Name VST_Weight
  1      Low      10
  2      High     30
end
table HRX
  HRX_ID Fld_Name HRX_Type HRX_MinAirflow HRX_MaxAirflow HRX_NomAirflow HRX_DuctDiam
  1      NV-250   0        100            300            200            160
  2      NV-400   0        160            460            300            200
  3      NV-FA800 2        200            500            400            250
end
table HRXSpeed
  VSP_ID VSP_HRX VSP_HRXSpType POL_A0 POL_A1 POL_ArgumentLow POL_ArgumentHigh VSP_EspLimit POL_Select2
  1      HRX:1   HRXSpType:2   250    -0.5   80              320              200          0.05
  2      HRX:1   HRXSpType:1   110    -0.3   80              320              100          0.02
  3      HRX:2   HRXSpType:2   300    -0.4   100             480              200          0.08
  4      HRX:2   HRXSpType:1   150    -0.2   100             480              100          0.03
  5      HRX:3   HRXSpType:2   320    -0.4   150             520              200          0.09
  6      HRX:3   HRXSpType:1   160    -0.2   150             520              100          0.04
end
table HRXEcodesign
  ECO_ID ECO_HRX ECO_Typology ECO_NomAirflow ECO_NomPressure ECO_FaceArea ECO_SoundAirflow ECO_SoundPressure ECO_Supplier ECO_DisassemblyURL
  1      HRX:1   0            200            100             0.05         200              200               Norvane      https://x.example/1
  2      HRX:2   1            -              -               -            -                -                 -            -
  3      HRX:3   3            -              -               -            -                -                 -            -
end
table HRXEcoCurve
  ECC_ID ECC_HRX POL_Type POL_A0 POL_A1 POL_A2    POL_ArgumentLow POL_ArgumentHigh
  1      HRX:1   0        0      0.25   0.00025   80              320
  2      HRX:1   1        0.3    0.0005 -1e-6     80              320
end
table HRXSound
  SND_ID SND_HRX SND_Path SND_63 SND_125 SND_250 SND_500 SND_1000 SND_2000 SND_4000 SND_8000
  1      HRX:1   0        60     60      60      60      60       60       60       60
  2      HRX:1   1        55     55      55      55      55       55       55       55
  3      HRX:1   2        55     55      55      55      55       55       55       55
  4      HRX:1   3        60     60      60      60      60       60       60       60
  5      HRX:1   4        45     45      45      45      45       45       45       45
end
)";

// A written catalogue opened as the program opens it; the engine settings
// are put back afterwards.
class WrittenCatalogue {
 public:
  explicit WrittenCatalogue(const QString& szFile)
      : v_compression(CTMemDbEngine::UseCompression(true)), v_signature(CTMemDbEngine::CompressionSignature()) {
    CTMemDbEngine::RegisterEngine();
    CTMemDbEngine::SetCompressionSignature(CTFactory::kCompressionSignature);
    v_factory.SetRequiredEngineType(0, CTMemDbEngine::ClassName());
    v_factory.SetDatabaseName(0, szFile);
    v_connected = v_factory.Connect();
  }
  ~WrittenCatalogue() {
    if (v_connected) v_factory.Disconnect();
    CTMemDbEngine::UseCompression(v_compression);
    CTMemDbEngine::SetCompressionSignature(v_signature);
  }
  bool Connected() const { return v_connected; }

  // The units by name.
  std::map<QString, std::unique_ptr<Cls_HRX>> Units() {
    std::map<QString, std::unique_ptr<Cls_HRX>> units;
    ObjectList<Cls_HRX> all = RecordsAs<Cls_HRX>(CTDbObject::GetAllRecords(Cls_HRX::kClassID, false, &v_factory));
    while (all.Count() > 0) {
      std::unique_ptr<Cls_HRX> unit(all.Extract(0));
      const QString name = unit->GetName();
      units.emplace(name, std::move(unit));
    }
    return units;
  }

 private:
  bool v_compression;
  QString v_signature;
  CTFactory v_factory;
  bool v_connected = false;
};

class CatalogueGenerate : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(v_dir.isValid());
    QFile source(v_dir.filePath("units.cat"));
    ASSERT_TRUE(source.open(QIODevice::WriteOnly));
    source.write(kSource);
  }
  QString Source() const { return v_dir.filePath("units.cat"); }
  QString Out() const { return v_dir.filePath("generated.db"); }

  QTemporaryDir v_dir;
};

// The speed of a unit whose curve starts at nA0 Pa.
const Cls_HRXSpeed* SpeedStartingAt(const ObjectList<Cls_HRXSpeed>& speeds, double nA0) {
  for (const Cls_HRXSpeed* speed : speeds)
    if (speed->GetA0() == nA0) return speed;
  return nullptr;
}

TEST_F(CatalogueGenerate, ClonesThePlainFamilyInRoundsFivePercentLarger) {
  QStringList problems;
  int family = 0;
  ASSERT_TRUE(CTCatalogueBuild::Generate({Source()}, 5, Out(), problems, &family)) << problems.join('\n').toStdString();
  EXPECT_EQ(family, 5);

  WrittenCatalogue written(Out());
  ASSERT_TRUE(written.Connected());
  std::map<QString, std::unique_ptr<Cls_HRX>> units = written.Units();
  // Three clones for two models: the first round (f = 1.05) clones both in
  // id order, the second (f = 1.10) starts again with the first.
  ASSERT_EQ(units.size(), 6u);
  for (const char* name : {"NV-250", "NV-400", "NV-FA800", "NV-250-G000001", "NV-400-G000002", "NV-250-G000003"})
    ASSERT_EQ(units.count(name), 1u) << name;
  EXPECT_EQ(units["NV-FA800"]->GetType(), 2);
  EXPECT_EQ(units["NV-FA800"]->GetMaxAirflow(), 500) << "other families stay as they are";

  // Airflows times f, rounded to whole numbers; the duct diameter times sqrt(f):
  //   NV-400 x 1.05: 160 -> 168, 460 -> 483, 300 -> 315, 200 x 1.0247 = 204.9 -> 205
  //   NV-250 x 1.10: 100 -> 110, 300 -> 330, 200 -> 220, 160 x 1.0488 = 167.8 -> 168
  struct Case {
    const char* name;
    double minLs, maxLs, nomLs, ductMm;
  };
  const Case cases[] = {
      {"NV-250-G000001", 105, 315, 210, 164},
      {"NV-400-G000002", 168, 483, 315, 205},
      {"NV-250-G000003", 110, 330, 220, 168},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Cls_HRX& unit = *units[c.name];
    EXPECT_EQ(unit.GetType(), 0);
    EXPECT_EQ(unit.GetMinAirflow(), c.minLs);
    EXPECT_EQ(unit.GetMaxAirflow(), c.maxLs);
    EXPECT_EQ(unit.GetNomAirflow(), c.nomLs);
    EXPECT_EQ(unit.GetDuctDiam(), c.ductMm);
  }

  // A clone's curve at f q is its model's at q, over a range f times as
  // wide, at f times the power.
  const double f = 1.10;
  ObjectList<Cls_HRXSpeed> modelSpeeds = units["NV-250"]->GetAllHRXSpeed();
  ObjectList<Cls_HRXSpeed> cloneSpeeds = units["NV-250-G000003"]->GetAllHRXSpeed();
  ASSERT_EQ(cloneSpeeds.Count(), 2);
  for (const double a0 : {250.0, 110.0}) {
    SCOPED_TRACE(a0);
    const Cls_HRXSpeed* model = SpeedStartingAt(modelSpeeds, a0);
    const Cls_HRXSpeed* clone = SpeedStartingAt(cloneSpeeds, a0);
    ASSERT_NE(model, nullptr);
    ASSERT_NE(clone, nullptr);
    EXPECT_DOUBLE_EQ(clone->GetArgumentLow(), 88);
    EXPECT_DOUBLE_EQ(clone->GetArgumentHigh(), 352);
    for (const double q : {80.0, 200.0, 320.0})
      EXPECT_NEAR(clone->Evaluate(f * q), model->Evaluate(q), 1e-9) << q;
    EXPECT_DOUBLE_EQ(clone->GetPowerInput(), f * model->GetPowerInput());
  }

  // Its ecodesign data: airflows and face area times f, the exchanger's drop
  // at f q its model's at q (0.25 x 200 + 0.00025 x 200^2 = 60 Pa), the sound
  // power 10 lg 1.1 = 0.41393 dB up.
  Cls_HRX& clone = *units["NV-250-G000003"];
  const std::unique_ptr<Cls_HRXEcodesign> eco = clone.GetTheHRXEcodesign();
  ASSERT_TRUE(eco);
  EXPECT_DOUBLE_EQ(eco->GetNomAirflow(), 220);
  EXPECT_DOUBLE_EQ(eco->GetSoundAirflow(), 220);
  EXPECT_DOUBLE_EQ(eco->GetFaceArea(), 0.055);
  EXPECT_EQ(eco->GetSoundPressure(), 200);
  ObjectList<Cls_HRXEcoCurve> curves = clone.GetAllHRXEcoCurve();
  ASSERT_EQ(curves.Count(), 2);
  for (const Cls_HRXEcoCurve* curve : curves)
    if (curve->GetType() == Cls_HRXEcoCurve::kExchangerPressureDrop) {
      EXPECT_NEAR(curve->Evaluate(220), 60, 1e-9);
    }
  ObjectList<Cls_HRXSound> sounds = clone.GetAllHRXSound();
  ASSERT_EQ(sounds.Count(), 5);
  for (const Cls_HRXSound* sound : sounds)
    if (sound->GetPath() == Cls_HRXSound::kSupplyOutlet) {
      EXPECT_NEAR(sound->GetBands()[7], 60.41393, 1e-5);
    }
}

TEST_F(CatalogueGenerate, NeverShrinksTheFamilyAndRefusesACountOutOfRange) {
  QStringList problems;
  int family = 0;
  ASSERT_TRUE(CTCatalogueBuild::Generate({Source()}, 1, Out(), problems, &family)) << problems.join('\n').toStdString();
  EXPECT_EQ(family, 2);
  {
    WrittenCatalogue written(Out());
    ASSERT_TRUE(written.Connected());
    EXPECT_EQ(written.Units().size(), 3u);
  }
  ASSERT_TRUE(QFile::remove(Out()));

  for (const int units : {0, -3, CTCatalogueGenerator::kMaxUnits + 1}) {
    SCOPED_TRACE(units);
    problems.clear();
    EXPECT_FALSE(CTCatalogueBuild::Generate({Source()}, units, Out(), problems));
    EXPECT_EQ(problems, QStringList{"the number of units must be a whole number from 1 to 1000000"});
    EXPECT_FALSE(QFile::exists(Out()));
  }
}

}  // namespace
