#include "CliRun.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace {


TEST(AirCommand, JsonHoldsEveryPropertyOfTheReferenceState) {
  const CliResult r = RunCli({"air", "--altitude", "0", "--db", "20", "--rh", "50", "--json"});
  ASSERT_EQ(r.code, 0) << r.err.toStdString();
  const QJsonObject json = QJsonDocument::fromJson(r.out.toUtf8()).object();
  EXPECT_EQ(json.size(), 8);
  EXPECT_DOUBLE_EQ(json["pressure_pa"].toDouble(), 101325.0);
  EXPECT_NEAR(json["saturation_pressure_pa"].toDouble(), 2338.80, 0.005);
  EXPECT_NEAR(json["humidity_ratio"].toDouble(), 0.0072621, 5e-8);
  EXPECT_NEAR(json["relative_humidity"].toDouble(), 50.0, 1e-9);
  EXPECT_NEAR(json["enthalpy_kj_kg"].toDouble(), 38.550, 5e-4);
  EXPECT_NEAR(json["dew_point_c"].toDouble(), 9.303, 5e-4);
  EXPECT_NEAR(json["wet_bulb_c"].toDouble(), 13.728, 5e-4);
  EXPECT_NEAR(json["dry_air_density"].toDouble(), 1.2041, 5e-5);
}

TEST(AirCommand, HumidityGivenThreeWaysAgrees) {
  const auto ratioOf = [](const QStringList& humidity) {
    const CliResult r = RunCli(QStringList{"air", "--altitude", "1000", "--db", "30"} + humidity + QStringList{"--json"});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    return QJsonDocument::fromJson(r.out.toUtf8()).object();
  };
  const QJsonObject byRh = ratioOf({"--rh", "40"});
  const QJsonObject byWb = ratioOf({"--wb", QString::number(byRh["wet_bulb_c"].toDouble(), 'g', 17)});
  const QJsonObject byW = ratioOf({"--w", QString::number(byRh["humidity_ratio"].toDouble(), 'g', 17)});
  EXPECT_NEAR(byRh["pressure_pa"].toDouble(), 89874.52, 0.01);
  EXPECT_NEAR(byWb["relative_humidity"].toDouble(), 40.0, 0.01);
  EXPECT_NEAR(byW["relative_humidity"].toDouble(), 40.0, 1e-9);
}

TEST(AirCommand, TextListsEveryProperty) {
  const CliResult r = RunCli({"air", "--altitude", "0", "--db", "20", "--rh", "50"});
  ASSERT_EQ(r.code, 0);
  EXPECT_TRUE(r.out.contains("Enthalpy") && r.out.contains("38.550 kJ/kg")) << r.out.toStdString();
  EXPECT_TRUE(r.out.contains("13.728 °C")) << r.out.toStdString();
  EXPECT_EQ(r.out.count('\n'), 8);
}

struct BadCase {
  QStringList arguments;
  const char* complaint;
};
class AirCommandRefuses : public testing::TestWithParam<BadCase> {};
TEST_P(AirCommandRefuses, WithAClearMessage) {
  const CliResult r = RunCli(QStringList{"air"} + GetParam().arguments);
  EXPECT_EQ(r.code, AerolithCli::kExitUsage);
  EXPECT_TRUE(r.out.isEmpty());
  EXPECT_TRUE(r.err.contains(GetParam().complaint)) << r.err.toStdString();
}
INSTANTIATE_TEST_SUITE_P(
    Cli, AirCommandRefuses,
    testing::Values(BadCase{{"--db", "20", "--rh", "50"}, "--altitude and --db are required"},
                    BadCase{{"--altitude", "0", "--db", "20"}, "exactly one of"},
                    BadCase{{"--altitude", "0", "--db", "20", "--rh", "50", "--w", "0.01"}, "exactly one of"},
                    BadCase{{"--altitude", "0", "--db", "warm", "--rh", "50"}, "'warm' is not a number"},
                    BadCase{{"--altitude", "0", "--db", "20,5", "--rh", "50"}, "is not a number"},
                    BadCase{{"--altitude", "0", "--db", "nan", "--rh", "50"}, "is not a number"},
                    BadCase{{"--altitude", "0", "--db", "120", "--rh", "50"}, "--db must be between -80 and 80"},
                    BadCase{{"--altitude", "0", "--db", "20", "--rh", "101"}, "--rh must be between 0 and 100"},
                    BadCase{{"--altitude", "20000", "--db", "20", "--rh", "50"}, "--altitude must be between"},
                    BadCase{{"--altitude", "0", "--db", "20", "--wb", "25"}, "A wet bulb temperature must be smaller"},
                    BadCase{{"--altitude", "0", "--db", "20", "--rh"}, "--rh needs a value"},
                    BadCase{{"--altitude", "0", "--db", "20", "--rh", "5", "--colour", "x"}, "unknown argument"}));

TEST(Cli, UnknownCommandAndNoCommandAreUsageErrors) {
  EXPECT_EQ(RunCli({}).code, AerolithCli::kExitUsage);
  const CliResult r = RunCli({"fly"});
  EXPECT_EQ(r.code, AerolithCli::kExitUsage);
  EXPECT_TRUE(r.err.contains("unknown command 'fly'"));
}

}  // namespace
