#include "psychro/SI_Units.h"

#include "platform/Registry.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class Units : public testing::Test {
 protected:
  void SetUp() override { TU_Form::InitializeUnits(); }
  void TearDown() override { TU_Form::CleanupUnits(); }
};

struct ConversionCase {
  U_RepUnit unit;
  int from;
  int to;
  bool absolute;
  double value;
  double expected;
};

class UnitConversion : public testing::TestWithParam<ConversionCase> {
 protected:
  void SetUp() override { TU_Form::InitializeUnits(); }
  void TearDown() override { TU_Form::CleanupUnits(); }
};

TEST_P(UnitConversion, ConvertsBetweenDimensions) {
  const ConversionCase& c = GetParam();
  EXPECT_NEAR(TU_Form::ConvertValue(c.value, c.unit, c.from, c.to, c.absolute), c.expected, 1e-9 * std::max(1.0, std::abs(c.expected)));
}

INSTANTIATE_TEST_SUITE_P(
    Units, UnitConversion,
    testing::Values(ConversionCase{U_Temperature, 0, 1, true, 20, 68},          // absolute temperature takes the offset
                    ConversionCase{U_Temperature, 0, 1, false, 10, 18},         // a difference does not
                    ConversionCase{U_Temperature, 1, 0, true, 212, 100},
                    ConversionCase{U_Airflow, 1, 0, true, 100, 27.777777777777778},  // m3/h -> l/s
                    ConversionCase{U_Airflow, 1, 5, true, 100, 27.777777777777778},  // index 5 out of range: default
                    ConversionCase{U_Airflow, 1, 2, true, 3600, 1},             // m3/h -> m3/s through l/s
                    ConversionCase{U_Pressure, 2, 1, true, 100, 9.80665},       // mmH2O -> mBar
                    ConversionCase{U_Power, 1, 0, true, 1000, 1.1622222222222222},  // kcal/h at 4.184 kJ/kcal
                    ConversionCase{U_Energy, 2, 0, true, 1, 4.1868},            // kcal at 4.1868 kJ/kcal
                    ConversionCase{U_Humidity, 1, 0, true, 7.5, 0.0075},
                    ConversionCase{U_Temperature, 1, 1, true, 55.5, 55.5}));    // same index: unchanged

TEST_F(Units, BuiltInTableHasItsDefaults) {
  EXPECT_EQ(TU_Form::DimensionCount(U_Airflow), 3);
  EXPECT_EQ(TU_Form::Unit(U_Airflow)->v_Dimensions[1]->v_Caption, QStringLiteral("m³/h"));
  EXPECT_EQ(TU_Form::Unit(U_Temperature)->v_Dimensions[1]->v_Caption, QStringLiteral("°F"));
  EXPECT_EQ(TU_Form::Unit(U_Appl7)->v_Caption, QStringLiteral("Appl7"));
  EXPECT_EQ(TU_Form::DimensionCount(U_Appl7), 1);
  for (int n = 0; n < kUnitCount; ++n) {
    ASSERT_NE(TU_Form::Unit(n), nullptr) << n;
    EXPECT_EQ(TU_Form::Unit(n)->v_Dimensions[0]->v_Scale, 1.0L) << n;
    EXPECT_EQ(TU_Form::GetNewIndex(n), 0) << n;
  }
  EXPECT_EQ(TU_Form::Unit(kUnitCount), nullptr);
}

TEST_F(Units, SelectionIgnoresIndexesOutOfRange) {
  TU_Form::SetNewIndex(U_Temperature, 1);
  EXPECT_EQ(TU_Form::GetCurrentString(U_Temperature), QStringLiteral("°F"));
  TU_Form::SetNewIndex(U_Temperature, TU_Form::DimensionCount(U_Temperature));
  TU_Form::SetNewIndex(U_Temperature, -1);
  EXPECT_EQ(TU_Form::GetNewIndex(U_Temperature), 1);
}

TEST_F(Units, DeleteDimensionKeepsTheDefaultAndResetsTheSelection) {
  TU_Form::SetNewIndex(U_Pressure, 2);
  TU_Form::DeleteDimension(U_Pressure, 0);
  EXPECT_EQ(TU_Form::DimensionCount(U_Pressure), 3);
  EXPECT_EQ(TU_Form::GetNewIndex(U_Pressure), 0);

  TU_Form::SetNewIndex(U_Pressure, 1);
  TU_Form::DeleteDimension(U_Pressure, 2);  // above the selection: selection stays
  EXPECT_EQ(TU_Form::GetNewIndex(U_Pressure), 1);
  TU_Form::DeleteDimension(U_Pressure, 1);
  EXPECT_EQ(TU_Form::DimensionCount(U_Pressure), 1);
  EXPECT_EQ(TU_Form::GetNewIndex(U_Pressure), 0);
}

TEST_F(Units, ApplicationDimensionsGiveTheStartUpTable) {
  TU_Form::AddApplicationDimensions();
  TU_Form::AddApplicationDimensions();  // a second main window in the same process changes nothing
  const auto captions = [](U_RepUnit unit) {
    QStringList list;
    for (const auto& dim : TU_Form::Unit(unit)->v_Dimensions) list << dim->v_Caption;
    return list;
  };
  EXPECT_EQ(captions(U_Airflow), (QStringList{"l/s", "m³/h", "CFM"}));
  EXPECT_EQ(captions(U_Pressure), (QStringList{"Pa", "mBar", "mmH2O", "inH2O"}));
  EXPECT_EQ(captions(U_Humidity), (QStringList{"kg/kg", "g/kg", "lbs/lbs", "GPP"}));
  EXPECT_EQ(captions(U_Power), (QStringList{"kW", "kcal/h", "BTU/h", "Ton"}));
  EXPECT_EQ(captions(U_Enthalpy), (QStringList{"kJ/kg", "kcal/kg", "BTU/lbs"}));
  EXPECT_EQ(TU_Form::Unit(U_Power)->v_Dimensions[0]->v_Digits, 3);
  EXPECT_EQ(TU_Form::Unit(U_Mass)->v_Dimensions[1]->v_Digits, 1);
  // 1000 CFM = 471.9 l/s; 1 inH2O = 249.1 Pa; 70 GPP = 0.01 kg/kg.
  EXPECT_NEAR(TU_Form::ConvertValue(1000, U_Airflow, 2, 0, true), 471.9474432644405, 1e-9);
  EXPECT_NEAR(TU_Form::ConvertValue(249.08890833, U_Pressure, 0, 3, true), 1.0, 1e-12);
  EXPECT_NEAR(TU_Form::ConvertValue(70, U_Humidity, 3, 0, true), 0.01, 1e-15);
}

TEST_F(Units, FormatsInTheSelectedDimension) {
  TU_Form::SetNewIndex(U_Temperature, 1);
  EXPECT_EQ(TU_Form::PutFmtDimensionedValue(20, U_Temperature, 6, true), QStringLiteral("  68.0"));
  EXPECT_EQ(TU_Form::PutFmtDimensionedValue(10, U_Temperature, 0, false), QStringLiteral("18.0"));
  TU_Form::SetNewIndex(U_Airflow, 1);
  EXPECT_EQ(TU_Form::PutFmtDimensionedValue(250, U_Airflow, 0, true), QStringLiteral("900"));
  // Half to even on the exact binary value: 0.125 l/s -> "0.12" at two digits.
  TU_Form::SetNewIndex(U_Airflow, 0);
  TU_Form::SetDigits(U_Airflow, 0, 2);
  EXPECT_EQ(TU_Form::PutFmtDimensionedValue(0.125, U_Airflow, 0, true), QStringLiteral("0.12"));
}

TEST_F(Units, SelectionsPersistInTheRegistry) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  CTRegistryStore::SetUserFolder(dir.path());
  const QString root = QStringLiteral("Software\\Norvane\\Hi-Trivane Selection\\Aerolith\\Preferences\\Units");

  TU_Form::SetNewIndex(U_Temperature, 1);
  TU_Form::SetNewIndex(U_Pressure, 2);
  TU_Form::SaveSettingsToRegistry(root);
  TU_Form::InitializeUnits();
  TU_Form::LoadSettingsFromRegistry(root);
  EXPECT_EQ(TU_Form::GetNewIndex(U_Temperature), 1);
  EXPECT_EQ(TU_Form::GetNewIndex(U_Pressure), 2);

  // A stored index out of range leaves the selection; a missing value means 0.
  CTRegistry reg;
  ASSERT_TRUE(reg.OpenKey(root, false));
  EXPECT_FALSE(reg.ValueExists(QStringLiteral("Units0")));
  reg.WriteInteger(QStringLiteral("Units19"), 7);
  reg.DeleteValue(QStringLiteral("Units13"));
  TU_Form::LoadSettingsFromRegistry(root);
  EXPECT_EQ(TU_Form::GetNewIndex(U_Temperature), 1);
  EXPECT_EQ(TU_Form::GetNewIndex(U_Pressure), 0);
  CTRegistryStore::SetUserFolder(QString());
}

}  // namespace
