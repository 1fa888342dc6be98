#include "CliRun.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace {

QJsonObject Json(const CliResult& r) { return QJsonDocument::fromJson(r.out.toUtf8()).object(); }

TEST(FamiliesCommand, ListsEveryFamilyWithItsUnitsAndRanges) {
  const CliResult r = RunCli({"families", "--json"});
  ASSERT_EQ(r.code, 0) << r.err.toStdString();
  const QJsonArray families = Json(r)["families"].toArray();
  QStringList names;
  for (const QJsonValue& f : families) names << f["name"].toString();
  // Types 5 and 6 share a name, as do 7 and 8.
  EXPECT_EQ(names, (QStringList{"HRX", "HRD", "DQTL-MF", "Ostrel", "Kestova", "Veltrin", "Fastlink"}));
  const QJsonObject hrx = families[0].toObject();
  EXPECT_EQ(hrx["type"].toInt(), 0);
  EXPECT_GT(hrx["esp_max_pa"].toDouble(), 100);
  const QJsonArray units = hrx["units"].toArray();
  ASSERT_EQ(units.size(), 4);
  for (int i = 1; i < units.size(); ++i)  // smallest maximum airflow first
    EXPECT_LT(units[i - 1]["max_airflow_m3h"].toDouble(), units[i]["max_airflow_m3h"].toDouble());
  EXPECT_EQ(units[0]["name"].toString(), "NV-250");
  EXPECT_EQ(units[0]["min_airflow_m3h"].toDouble(), 80);
  EXPECT_EQ(families[5]["units"].toArray().size(), 2);
}

// The command passes its inputs through unchanged: the golden case of the
// unbalanced NV-400 (golden/hrx_performance.py) comes out of it.
TEST(SelectCommand, ComputesTheNamedCandidateInBothModes) {
  const CliResult r = RunCli({"select", "--supply", "350", "--exhaust", "300", "--airflow-unit", "m3h", "--cool-room",
                              "26,50", "--cool-outdoor", "32,45", "--heat-room", "21,40", "--heat-outdoor", "-5,80",
                              "--supply-temp", "18", "--unit", "nv-400", "--json"});
  ASSERT_EQ(r.code, 0) << r.err.toStdString();
  const QJsonObject result = Json(r);
  EXPECT_EQ(result["selection_code"].toInt(), 0);
  EXPECT_EQ(result["selection_message"].toString(), "");
  const QJsonArray candidates = result["candidates"].toArray();
  ASSERT_GE(candidates.size(), 2);
  EXPECT_EQ(candidates[0]["unit"].toString(), "NV-400");
  for (const char* key : {"supply_speed", "exhaust_speed", "supply_margin_pa", "exhaust_margin_pa"})
    EXPECT_TRUE(candidates[0].toObject().contains(key)) << key;

  const QJsonObject cooling = result["cooling"].toObject();
  EXPECT_EQ(cooling["code"].toInt(), 0);
  EXPECT_NEAR(cooling["states"]["CI"]["DBT"].toDouble(), 27.4030574919549, 1e-6);
  EXPECT_NEAR(cooling["states"]["CI"]["AH"].toDouble(), 0.012167243973130458, 1e-9);
  EXPECT_NEAR(cooling["temperature_efficiency"].toDouble(), 76.61570846741832, 1e-6);
  EXPECT_EQ(cooling["max_ambient_temp_c"].toDouble(), 58);
  const QJsonObject heating = result["heating"].toObject();
  EXPECT_EQ(heating["code"].toInt(), 0);
  EXPECT_NEAR(heating["states"]["SA"]["DBT"].toDouble(), 18, 1e-9);
  EXPECT_NEAR(heating["inlet_heater_kw"].toDouble(), 0.517, 1e-12);
  EXPECT_NEAR(heating["supply_heater_kw"].toDouble(), 0.253, 1e-12);
  EXPECT_EQ(heating["min_ambient_temp_c"].toDouble(), 1.5);
  for (const char* state : {"RA", "OA", "EA", "SA", "VI", "VO", "CI", "HI"})
    for (const char* property : {"DBT", "RH", "AH", "e"})
      EXPECT_TRUE(heating["states"][state][property].isDouble()) << state << " " << property;
}

TEST(SelectCommand, AirflowUnitsAgree) {
  const auto supplyMargin = [](const QStringList& flow) {
    const CliResult r = RunCli(QStringList{"select", "--json"} + flow);
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    return Json(r)["candidates"].toArray()[0].toObject()["supply_margin_pa"].toDouble();
  };
  const double ls = supplyMargin({"--supply", "100"});
  EXPECT_NEAR(supplyMargin({"--supply", "360", "--airflow-unit", "m3h"}), ls, 1e-9);
  // 100 l/s = 211.888 cfm
  EXPECT_NEAR(supplyMargin({"--supply", "211.888", "--airflow-unit", "cfm"}), ls, 0.01);
}

TEST(SelectCommand, SaysWhyNothingFits) {
  // Far beyond the family.
  CliResult r = RunCli({"select", "--supply", "5000", "--json"});
  ASSERT_EQ(r.code, 0);
  EXPECT_EQ(Json(r)["selection_code"].toInt(), 2);
  EXPECT_EQ(Json(r)["selection_message"].toString(),
            "The given supply airflow is too large for any of the available ventilation devices.");
  EXPECT_TRUE(Json(r)["cooling"].isNull());

  // No list-only unit offers a filter: the message names it.
  r = RunCli({"select", "--family", "Ostrel", "--supply", "20", "--esp-supply", "20", "--esp-exhaust", "20",
              "--filter-exhaust", "F7"});
  ASSERT_EQ(r.code, 0);
  EXPECT_TRUE(r.out.contains("None of the available ventilation devices offers the chosen filter (F7 exhaust).")) << r.out.toStdString();

  // A fresh-air unit asked to cool air drier than it accepts: code 18 in words.
  r = RunCli({"select", "--family", "DQTL-MF", "--supply", "800", "--airflow-unit", "m3h", "--cool-outdoor", "33,25",
              "--json"});
  ASSERT_EQ(r.code, 0) << r.err.toStdString();
  const QJsonObject cooling = Json(r)["cooling"].toObject();
  EXPECT_EQ(cooling["code"].toInt(), 18);
  EXPECT_EQ(cooling["message"].toString(), "The ambient air relative humidity in cooling is smaller than 30%.");
}

struct Refusal {
  const char* name;
  QStringList arguments;
  const char* expected;
};

class SelectRefuses : public testing::TestWithParam<Refusal> {};

TEST_P(SelectRefuses, WithAClearMessage) {
  const CliResult r = RunCli(QStringList{"select"} + GetParam().arguments);
  EXPECT_EQ(r.code, AerolithCli::kExitUsage);
  EXPECT_TRUE(r.err.contains(QString::fromUtf8(GetParam().expected))) << r.err.toStdString();
  EXPECT_TRUE(r.out.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, SelectRefuses,
    testing::Values(Refusal{"NoSupply", {}, "--supply is required"},
                    Refusal{"NegativeAirflow", {"--supply", "-5"}, "--supply must be a positive airflow"},
                    Refusal{"UnknownFamily", {"--supply", "100", "--family", "XYZ"}, "unknown family 'XYZ'"},
                    Refusal{"HumidityAbove100", {"--supply", "100", "--heat-outdoor", "5,120"}, "at most 100 %"},
                    Refusal{"ConditionSyntax", {"--supply", "100", "--cool-room", "26"}, "wants T,RH"},
                    Refusal{"UnknownFilter", {"--supply", "100", "--filter-supply", "G4"}, "none, F6, F7 or F8"},
                    Refusal{"UnknownAirflowUnit", {"--supply", "100", "--airflow-unit", "lps"}, "ls, m3h or cfm"},
                    Refusal{"Plenums", {"--supply", "100", "--plenums", "1.5"}, "--plenums must be 0, 1 or 2"},
                    Refusal{"UnknownSpeed", {"--supply", "100", "--max-speed", "Turbo"}, "unknown speed 'Turbo'"},
                    Refusal{"NotANumber", {"--supply", "1e"}, "is not a number"}),
    [](const auto& param) { return std::string(param.param.name); });

}  // namespace
