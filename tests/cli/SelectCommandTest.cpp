#include "CliRun.h"
#include "docs/Preferences.h"
#include "psychro/SI_Units.h"

#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace {

QJsonObject Json(const CliResult& r) { return QJsonDocument::fromJson(r.out.toUtf8()).object(); }

// The values of the first row of a text output's state table that names
// the state, in the order of the columns (dry bulb first).
QStringList StateRow(const QString& text, const QString& state) {
  for (const QString& line : text.split(u'\n'))
    if (line.trimmed().startsWith(state)) return line.trimmed().mid(state.size()).split(u' ', Qt::SkipEmptyParts);
  return {};
}

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
  // The golden model's CI: a plain unit's exchanger outlet, which it shows as VO.
  EXPECT_NEAR(cooling["states"]["VO"]["DBT"].toDouble(), 27.4030574919549, 1e-6);
  EXPECT_NEAR(cooling["states"]["VO"]["AH"].toDouble(), 0.012167243973130458, 1e-9);
  EXPECT_NEAR(cooling["temperature_efficiency"].toDouble(), 76.61570846741832, 1e-6);
  EXPECT_EQ(cooling["max_ambient_temp_c"].toDouble(), 58);
  const QJsonObject heating = result["heating"].toObject();
  EXPECT_EQ(heating["code"].toInt(), 0);
  EXPECT_NEAR(heating["states"]["SA"]["DBT"].toDouble(), 18, 1e-9);
  EXPECT_NEAR(heating["inlet_heater_kw"].toDouble(), 0.517, 1e-12);
  EXPECT_NEAR(heating["supply_heater_kw"].toDouble(), 0.253, 1e-12);
  EXPECT_EQ(heating["min_ambient_temp_c"].toDouble(), 1.5);
  for (const char* state : {"RA", "OA", "EA", "SA", "VI", "VO"})
    for (const char* property : {"DBT", "RH", "AH", "e"})
      EXPECT_TRUE(heating["states"][state][property].isDouble()) << state << " " << property;
}

// ---------------------------------------------------------------- what each family shows

// The states and figures of each family, in the text and the JSON alike, as
// the window's result frames show them: a plain unit its exchanger, a coil
// unit its coil in (and, heating with a humidifier, the humidifier's inlet)
// and the coil's capacities, a fresh-air unit no exhaust side, no exchanger
// and the supply temperature it reaches.
struct FamilyView {
  const char* name;
  QStringList arguments;
  QStringList coolingStates, heatingStates;
  QStringList coolingFigures, heatingFigures;  // JSON keys of the figures shown
};

// Every figure a mode may show: the JSON key and the text's label.
const std::map<QString, QString> kFigureLabels = {
    {"temperature_efficiency", "Temperature exchange efficiency"},
    {"savings_total_kw", "Total heat savings"},
    {"supply_temp_c", "Supply Temperature"},
    {"total_capacity_kw", "Total cooling capacity"},
    {"sensible_capacity_kw", "Sensible cooling capacity"},
    {"heat_capacity_kw", "Heating capacity"},
    {"humidification_kgh", "Humidification amount"},
    {"supply_heater_kw", "Supply heater (calculated minimum)"}};

const std::map<QString, QString> kStateTitles = {
    {"RA", "Room Air (RA)"},      {"OA", "Outdoor Air (OA)"},       {"EA", "Exhaust Air (EA)"},
    {"SA", "Supply Air (SA)"},    {"VI", "Ventilation In (VI)"},    {"VO", "Ventilation Out (VO)"},
    {"CI", "Coil In (CI)"},       {"HI", "Humidifier In (HI)"}};

// The labels at the start of the lines of one mode's part of a text output.
QStringList LinesOf(const QString& text, const char* mode) {
  const QString start = QStringLiteral("  %1: computed\n").arg(QString::fromLatin1(mode));
  const qsizetype from = text.indexOf(start);
  if (from < 0) return {};
  const qsizetype next = text.indexOf(QStringLiteral("\n  Heating: "), from + start.size());
  QStringList lines;
  for (const QString& line : text.mid(from, next < 0 ? -1 : next - from).split(u'\n')) lines << line.trimmed();
  return lines;
}

bool HasLine(const QStringList& lines, const QString& label) {
  return std::any_of(lines.begin(), lines.end(), [&](const QString& l) { return l.startsWith(label + "  "); });
}

class SelectShowsTheFamily : public testing::TestWithParam<FamilyView> {};

TEST_P(SelectShowsTheFamily, StatesAndFigures) {
  const FamilyView& c = GetParam();
  const CliResult json = RunCli(QStringList{"select", "--json"} + c.arguments);
  const CliResult text = RunCli(QStringList{"select", "--units", "si"} + c.arguments);
  ASSERT_EQ(json.code, 0) << json.err.toStdString();
  ASSERT_EQ(text.code, 0) << text.err.toStdString();
  for (const bool cooling : {true, false}) {
    const char* mode = cooling ? "cooling" : "heating";
    SCOPED_TRACE(mode);
    const QJsonObject m = Json(json)[mode].toObject();
    const QStringList lines = LinesOf(text.out, cooling ? "Cooling" : "Heating");
    ASSERT_FALSE(lines.isEmpty()) << text.out.toStdString();
    const QStringList& states = cooling ? c.coolingStates : c.heatingStates;
    EXPECT_EQ(m["states"].toObject().keys(), states) << "JSON states, in the order of their names";
    for (const auto& [state, title] : kStateTitles) {
      const bool shown = states.contains(state);
      EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [&](const QString& l) { return l.startsWith(title); }),
                shown ? 1 : 0)
          << title.toStdString();
    }
    const QStringList& figures = cooling ? c.coolingFigures : c.heatingFigures;
    for (const auto& [key, label] : kFigureLabels) {
      const bool shown = figures.contains(key);
      EXPECT_EQ(m.contains(key), shown) << key.toStdString();
      EXPECT_EQ(HasLine(lines, label), shown) << label.toStdString();
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Families, SelectShowsTheFamily,
    testing::Values(
        FamilyView{"Plain",
                   {"--supply", "100"},
                   {"EA", "OA", "RA", "SA", "VI", "VO"},
                   {"EA", "OA", "RA", "SA", "VI", "VO"},
                   {"temperature_efficiency", "savings_total_kw"},
                   {"temperature_efficiency", "savings_total_kw", "supply_heater_kw"}},
        // 250 l/s = 900 m3/h: NV-1000D, with its humidifier of 2 kg/h.
        FamilyView{"CoilWithAHumidifier",
                   {"--family", "HRD", "--supply", "250"},
                   {"CI", "EA", "OA", "RA", "SA", "VI", "VO"},
                   {"CI", "EA", "HI", "OA", "RA", "SA", "VI", "VO"},
                   {"temperature_efficiency", "savings_total_kw", "total_capacity_kw", "sensible_capacity_kw"},
                   {"temperature_efficiency", "savings_total_kw", "heat_capacity_kw", "humidification_kgh"}},
        // 100 l/s = 360 m3/h: NV-500D, without a humidifier.
        FamilyView{"CoilWithoutAHumidifier",
                   {"--family", "HRD", "--supply", "100"},
                   {"CI", "EA", "OA", "RA", "SA", "VI", "VO"},
                   {"CI", "EA", "OA", "RA", "SA", "VI", "VO"},
                   {"temperature_efficiency", "savings_total_kw", "total_capacity_kw", "sensible_capacity_kw"},
                   {"temperature_efficiency", "savings_total_kw", "heat_capacity_kw"}},
        FamilyView{"FreshAir",
                   {"--family", "DQTL-MF", "--supply", "300"},
                   {"OA", "RA", "SA", "VI", "VO"},
                   {"OA", "RA", "SA", "VI", "VO"},
                   {"supply_temp_c", "total_capacity_kw"},
                   {"supply_temp_c", "heat_capacity_kw"}}),
    [](const auto& param) { return std::string(param.param.name); });

// A fresh-air unit moves supply air alone. NV-FA1200 at 300 l/s = 1080 m3/h
// against 150 Pa (30-speeds.cat): Low 1 gives 90.9 Pa, Medium 1 171.7 Pa and
// High 1 269.7 Pa. Its list holds one row per speed that does the job, named;
// its fan power is the power input of that speed, 0.298 kW for Medium 1, its
// SFP that over 0.3 m3/s, 0.993 kW/(m3/s): SFP 3 (0.75 < SFP <= 1.25).
TEST(SelectCommand, AFreshAirUnitHasItsSupplyFanAlone) {
  const QStringList arguments{"--family", "DQTL-MF", "--supply", "300"};
  const CliResult json = RunCli(QStringList{"select", "--json"} + arguments);
  ASSERT_EQ(json.code, 0) << json.err.toStdString();
  const QJsonObject o = Json(json);
  const QJsonArray candidates = o["candidates"].toArray();
  ASSERT_EQ(candidates.size(), 2);
  const char* const speeds[] = {"Medium 1", "High 1"};
  const double margins[] = {21.6900848, 119.7257248};
  for (int i = 0; i < 2; ++i) {
    const QJsonObject row = candidates[i].toObject();
    EXPECT_EQ(row["unit"].toString(), "NV-FA1200");
    EXPECT_EQ(row["supply_speed"].toString(), speeds[i]);
    EXPECT_NEAR(row["supply_margin_pa"].toDouble(), margins[i], 1e-6);
    EXPECT_FALSE(row.contains("exhaust_speed") || row.contains("exhaust_margin_pa")) << i;
  }
  EXPECT_FALSE(o.contains("exhaust_ls") || o.contains("exhaust_esp_pa"));
  EXPECT_DOUBLE_EQ(o["fan_power_kw"].toDouble(), 0.298);
  EXPECT_NEAR(o["sfp_kw_per_m3s"].toDouble(), 0.298 / 0.3, 1e-9);
  EXPECT_EQ(o["sfp_class"].toInt(), 3);

  const CliResult text = RunCli(QStringList{"select", "--units", "si"} + arguments);
  ASSERT_EQ(text.code, 0) << text.err.toStdString();
  EXPECT_TRUE(text.out.contains("\nCandidates (DQTL-MF, supply 300.0 l/s at 150.0 Pa):\n"
                                "  Model      Supply    Supply margin  Plenum\n"
                                "  NV-FA1200  Medium 1        21.7 Pa\n"
                                "  NV-FA1200  High 1         119.7 Pa\n"))
      << text.out.toStdString();
  EXPECT_TRUE(text.out.contains("  Fan power           0.298 kW\n"
                                "  Specific fan power  0.99 kW/(m³/s), class SFP 3\n"))
      << text.out.toStdString();
}

TEST(SelectCommand, AirflowUnitsAgree) {
  const auto supplyMargin = [](const QStringList& flow) {
    const CliResult r = RunCli(QStringList{"select", "--json"} + flow);
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    return Json(r)["candidates"].toArray()[0].toObject()["supply_margin_pa"].toDouble();
  };
  const double ls = supplyMargin({"--supply", "100"});
  EXPECT_NEAR(supplyMargin({"--supply", "360", "--airflow-unit", "m3h"}), ls, 1e-9);
  // 212 cfm (whole cfm, as the field holds them) = 100.05 l/s
  EXPECT_NEAR(supplyMargin({"--supply", "212", "--airflow-unit", "cfm"}), ls, 0.1);
}

TEST(SelectCommand, SaysWhyNothingFitsAndExitsWith3) {
  // NV-1000 moves 300 l/s, but not against 270 Pa: the pressure is the
  // cause, not the airflow range of the smaller units.
  CliResult r = RunCli({"select", "--supply", "300", "--esp-supply", "270", "--json"});
  ASSERT_EQ(r.code, AerolithCli::kExitNothingComputed) << r.err.toStdString();
  EXPECT_EQ(Json(r)["selection_code"].toInt(), 6);
  EXPECT_EQ(Json(r)["selection_message"].toString(),
            "The supply ESP is too large for any of the available ventilation devices.");
  EXPECT_TRUE(Json(r)["cooling"].isNull());
  EXPECT_TRUE(Json(r)["unit"].isNull());
}

TEST(SelectCommand, CorrectsAWrongConditionAndComputesNothing) {
  const CliResult r = RunCli({"select", "--cool-outdoor", "25,50", "--json"});
  EXPECT_EQ(r.code, AerolithCli::kExitNothingComputed);
  const QJsonArray corrections = Json(r)["condition_corrections"].toArray();
  ASSERT_EQ(corrections.size(), 1);
  EXPECT_EQ(corrections[0]["mode"].toString(), "cooling");
  EXPECT_EQ(corrections[0]["field"].toString(), "outdoor_dry_bulb_c");
  EXPECT_EQ(corrections[0]["from"].toDouble(), 25);
  EXPECT_EQ(corrections[0]["to"].toDouble(), 27);
  EXPECT_EQ(corrections[0]["message"].toString(),
            "In cooling mode, the ambient temperature must be larger than the room temperature.");
  EXPECT_TRUE(Json(r)["cooling"].isNull());
}

// What the window shows, from the same result: wet bulbs, total savings,
// duct pressures, ratios and fan power.
TEST(SelectCommand, ShowsEverythingTheWindowShows) {
  const CliResult r = RunCli({"select", "--supply", "100", "--esp-supply", "120", "--esp-exhaust", "100",
                              "--filter-supply", "F7", "--json"});
  ASSERT_EQ(r.code, 0) << r.err.toStdString();
  const QJsonObject o = Json(r);
  const QJsonObject cooling = o["cooling"].toObject();
  const QJsonObject ra = cooling["states"]["RA"].toObject();
  EXPECT_NEAR(ra["WB"].toDouble(), 19, 1e-6);  // the default room: 27 degC with a wet bulb of 19 degC
  EXPECT_EQ(ra["DBT"].toDouble(), 27);
  EXPECT_NEAR(cooling["savings_total_kw"].toDouble(),
              cooling["latent_savings_kw"].toDouble() + cooling["sensible_savings_kw"].toDouble(), 1e-12);
  const QJsonObject esp = o["esp"].toObject();
  EXPECT_GT(esp["supply_filter_pa"].toDouble(), 0);
  EXPECT_EQ(esp["exhaust_filter_pa"].toDouble(), 0);
  EXPECT_EQ(esp["supply_plenum_pa"].toDouble(), 0);
  // The fan delivers design ESP + filter + additional resistance, and the
  // chosen speed has a margin of exactly that additional resistance.
  const QJsonObject first = o["candidates"].toArray()[0].toObject();
  EXPECT_NEAR(esp["supply_additional_pa"].toDouble(), first["supply_margin_pa"].toDouble(), 1e-9);
  EXPECT_NEAR(esp["exhaust_additional_pa"].toDouble(), first["exhaust_margin_pa"].toDouble(), 1e-9);
  EXPECT_EQ(o["ratios"]["exhaust_supply"].toDouble(), 1);
  EXPECT_TRUE(o["ratios"]["supply_nominal"].isNull());
  // The power input of NV-400's speeds (30-speeds.cat), kW; the SFP is both
  // fans over 100 l/s = 0.1 m3/s, its class by the EN 16798-3 limits.
  const std::map<QString, double> nv400 = {{"Low 1", 0.03}, {"Low 2", 0.047}, {"High 1", 0.085},
                                           {"High 2", 0.12}, {"High 3", 0.163}};
  ASSERT_EQ(first["unit"].toString(), "NV-400");
  const double power = nv400.at(first["supply_speed"].toString()) + nv400.at(first["exhaust_speed"].toString());
  EXPECT_NEAR(o["fan_power_kw"].toDouble(), power, 1e-12);
  EXPECT_NEAR(o["sfp_kw_per_m3s"].toDouble(), power / 0.1, 1e-9);
  const double limits[] = {0.3, 0.5, 0.75, 1.25, 2.0, 3.0, 4.5};
  const int sfpClass = int(std::lower_bound(std::begin(limits), std::end(limits), power / 0.1) - std::begin(limits));
  EXPECT_EQ(o["sfp_class"].toInt(), sfpClass);
  // The Database tab's data: NV-400 is 1030 x 300 x 820 mm, 38 kg (20-hrx.cat).
  const QJsonObject datasheet = o["datasheet"].toObject();
  EXPECT_EQ(datasheet["dimensions_mm"].toArray(), (QJsonArray{1030, 300, 820}));
  EXPECT_EQ(datasheet["weight_kg"].toDouble(), 38);
  EXPECT_EQ(datasheet["options"].toArray().first()["name"].toString(), "NRC-10");
}

TEST(SelectCommand, TakesConditionsAsWetBulbAndTheFreshAirHeatingDischarge) {
  const CliResult r = RunCli({"select", "--family", "DQTL-MF", "--supply", "800", "--airflow-unit", "m3h",
                              "--cool-room", "26,wb18", "--heat-discharge", "22", "--json"});
  ASSERT_EQ(r.code, 0) << r.err.toStdString();
  const QJsonObject o = Json(r);
  EXPECT_NEAR(o["cooling"]["states"]["RA"]["WB"].toDouble(), 18, 1e-6);
  EXPECT_EQ(o["heating"]["discharge_temp_c"].toDouble(), 22);
  EXPECT_TRUE(o["ratios"]["exhaust_supply"].isNull());  // no ratios for fresh-air units
  EXPECT_FALSE(o["esp"].toObject().contains("exhaust_additional_pa"));
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
    testing::Values(Refusal{"NegativeAirflow", {"--supply", "-5"}, "--supply must be between 23 and 333 l/s for the HRX family"},
                    Refusal{"BeyondTheFamily", {"--supply", "1300", "--airflow-unit", "m3h"},
                            "--supply must be between 82.8 and 1198.8 m3h for the HRX family"},
                    Refusal{"EspAboveTheFamily", {"--esp-supply", "300"}, "--esp-supply must be between 0 and 280 Pa"},
                    Refusal{"PersonsOutsideTheField", {"--persons", "0"}, "--persons must be between 1 and 100"},
                    Refusal{"WetBulbOutsideTheField", {"--cool-room", "27,wb40"}, "the wet bulb must be between 6 and 32"},
                    Refusal{"FilterOutsideThePlainFamily", {"--family", "Ostrel", "--filter-exhaust", "F7"},
                            "--filter-exhaust applies to the HRX family only"},
                    Refusal{"Evaporating", {"--evaporating", "7"}, "--evaporating must be 6, 9 or 11"},
                    Refusal{"UnknownHeaterOption", {"--inlet-heater-heat", "XYZ-9"}, "offers no heater option 'XYZ-9'"},
                    Refusal{"UnknownFamily", {"--supply", "100", "--family", "XYZ"}, "unknown family 'XYZ'"},
                    Refusal{"HumidityAbove100", {"--supply", "100", "--heat-outdoor", "5,120"}, "between 15 and 100 %"},
                    Refusal{"ConditionSyntax", {"--supply", "100", "--cool-room", "26"}, "wants T,RH such as 26,50 or T,wbX"},
                    Refusal{"UnknownFilter", {"--supply", "100", "--filter-supply", "G4"}, "none, F6, F7 or F8"},
                    Refusal{"UnknownAirflowUnit", {"--supply", "100", "--airflow-unit", "lps"}, "ls, m3h or cfm"},
                    Refusal{"Plenums", {"--supply", "100", "--plenums", "1.5"}, "--plenums must be 0, 1 or 2"},
                    Refusal{"UnknownSpeed", {"--supply", "100", "--max-speed", "Turbo"}, "unknown speed 'Turbo'"},
                    Refusal{"NotANumber", {"--supply", "1e"}, "is not a number"},
                    // NV-FA1200's capacity tables are written for discharges of
                    // 14 to 18 degC in cooling and 18 to 28 degC in heating
                    // (50-curves.cat, types 5 and 7).
                    Refusal{"DischargeBelowTheUnit",
                            {"--family", "DQTL-MF", "--supply", "300", "--discharge", "12"},
                            "--discharge must be between 14 and 18 °C for NV-FA1200"},
                    Refusal{"HeatingDischargeAboveTheUnit",
                            {"--family", "DQTL-MF", "--supply", "300", "--heat-discharge", "30"},
                            "--heat-discharge must be between 18 and 28 °C for NV-FA1200"}),
    [](const auto& param) { return std::string(param.param.name); });

}  // namespace

namespace {

TEST(ChartCommand, DrawsTheTabsChartAsAPictureOrAMetafile) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString png = dir.filePath("fan.png"), emf = dir.filePath("fan.emf");
  CliResult r = RunCli({"chart", "fan", "--supply", "100", "--size", "640x480", "--out", png});
  ASSERT_EQ(r.code, 0) << r.err.toStdString();
  EXPECT_EQ(QImage(png).size(), QSize(640, 480));
  r = RunCli({"chart", "efficiency", "--supply", "100", "--out", emf});
  ASSERT_EQ(r.code, 0) << r.err.toStdString();
  QFile file(emf);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.read(44).mid(40, 4), QByteArray(" EMF"));

  r = RunCli({"chart", "pie", "--out", png});
  EXPECT_EQ(r.code, AerolithCli::kExitUsage);
  EXPECT_TRUE(r.err.contains("psychro, mollier, fan, efficiency, correction, configuration or sound"));
  r = RunCli({"chart", "fan", "--out", dir.filePath("fan.bmp")});
  EXPECT_EQ(r.code, AerolithCli::kExitUsage);
}

}  // namespace

// Without --units the text shows the user's units, as the window does, and
// says so; the JSON stays SI.
TEST(SelectCommand, TextFollowsTheUnitsOfThePreferences) {
  TU_Form::AddApplicationDimensions();
  TU_Form::SelectImperialDefaults();
  CTPreferences::WriteRegistry();
  TU_Form::SelectSIDefaults();
  const CliResult text = RunCli({"select", "--supply", "100"});
  const CliResult json = RunCli({"select", "--supply", "100", "--json"});
  TU_Form::SelectSIDefaults();
  CTPreferences::WriteRegistry();
  ASSERT_EQ(text.code, 0) << text.err.toStdString();
  EXPECT_TRUE(text.out.startsWith("Units: as in the preferences (°F, %, GPP, BTU/lbs, CFM, inH2O, BTU/h)\n"))
      << text.out.toStdString();
  // 100 l/s are 211.9 CFM, 150 Pa are 0.60 inH2O, 27 degC are 80.6 degF.
  EXPECT_TRUE(text.out.contains("supply 211.9 CFM at 0.60 inH2O")) << text.out.toStdString();
  EXPECT_EQ(StateRow(text.out, "Room Air (RA)").value(0), "80.6") << text.out.toStdString();
  EXPECT_DOUBLE_EQ(Json(json)["supply_ls"].toDouble(), 100);
  EXPECT_EQ(TU_Form::GetCurrentString(U_Airflow), QStringLiteral("l/s")) << "what was in effect comes back";
}

// Messages in the language asked for.
TEST(SelectCommand, LanguageOption) {
  CliResult r = RunCli({"--language", "de", "material-list", "--supply", "300", "--esp-supply", "270", "--out", "x.xml"});
  EXPECT_EQ(r.code, 3);
  EXPECT_TRUE(r.err.contains(QStringLiteral("Es ist kein Lüftungsgerät ausgewählt!"))) << r.err.toStdString();
  r = RunCli({"material-list", "--supply", "300", "--esp-supply", "270", "--out", "x.xml"});
  EXPECT_TRUE(r.err.contains("There is no selected ventilation device!")) << "English again afterwards";
  EXPECT_EQ(RunCli({"--language", "xx", "families"}).code, 2);
}

// ---------------------------------------------------------------- modes that end with a check code

namespace {

// A mode ending with each code the command line can reach with the
// catalogue; the message is the message table's text with the unit's limit
// (20-hrx.cat) put in. The room temperature limit (11) lies outside the
// window's room fields and the unit's airflow range (14) holds every
// candidate's airflow, so neither is reachable.
struct ModeFailure {
  const char* name;
  QStringList arguments;
  bool cooling;  // the mode that fails; heating fails after cooling succeeded
  int code;
  const char* message;
  const char* heater = nullptr;  // the heater check: "Inlet" or "Supply", the heater it found too small
};

const QStringList kFreshAir{"--family", "DQTL-MF", "--supply", "800", "--airflow-unit", "m3h"};

class SelectModeFails : public testing::TestWithParam<ModeFailure> {};

TEST_P(SelectModeFails, WithItsCodeAndMessageInsteadOfStates) {
  const ModeFailure& c = GetParam();
  const CliResult json = RunCli(QStringList{"select", "--json"} + c.arguments);
  EXPECT_EQ(json.code, AerolithCli::kExitNothingComputed) << json.err.toStdString();
  const QJsonObject o = Json(json);
  const QJsonObject mode = o[c.cooling ? "cooling" : "heating"].toObject();
  EXPECT_EQ(mode["code"].toInt(), c.code);
  EXPECT_EQ(mode["message"].toString(), QString::fromUtf8(c.message));
  EXPECT_FALSE(mode["computed"].toBool(true));
  EXPECT_TRUE(mode.contains("states") && mode["states"].isNull());
  EXPECT_FALSE(mode.contains("temperature_efficiency"));
  if (c.cooling) {
    EXPECT_TRUE(o["heating"].isNull());
  } else {
    EXPECT_TRUE(o["cooling"]["computed"].toBool());
  }
  if (c.heater) {
    // 0.1 kW was given: the calculated minimum the message asks for is more.
    EXPECT_GT(mode[QString::fromLatin1(c.heater).toLower() + "_heater_kw"].toDouble(), 0.1);
  }

  const CliResult text = RunCli(QStringList{"select", "--units", "si"} + c.arguments);
  EXPECT_EQ(text.code, AerolithCli::kExitNothingComputed);
  const QString line = QStringLiteral("  %1: code %2: %3\n")
                           .arg(QString::fromLatin1(c.cooling ? "Cooling" : "Heating"), QString::number(c.code),
                                QString::fromUtf8(c.message));
  EXPECT_TRUE(text.out.contains(line)) << text.out.toStdString();
  EXPECT_EQ(text.out.count("Room Air (RA)"), c.cooling ? 0 : 1) << "a state table for the computed mode only";
  if (c.heater) {
    EXPECT_TRUE(text.out.contains(QStringLiteral("    %1 heater (calculated minimum)  ").arg(c.heater)));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Codes, SelectModeFails,
    testing::Values(
        ModeFailure{"RoomHumidity9", {"--heat-room", "20,90"}, false, 9,
                    "The room air relative humidity is larger than 80%."},
        ModeFailure{"OutdoorHumidity10", kFreshAir + QStringList{"--cool-outdoor", "33,95"}, true, 10,
                    "The ambient air relative humidity is larger than 90%."},
        ModeFailure{"OutdoorTemperature12", kFreshAir + QStringList{"--cool-outdoor", "45,50"}, true, 12,
                    "The ambient air temperature is outside the range -20.0 °C - 40.0 °C."},
        ModeFailure{"InletTemperature13", {"--cool-outdoor", "45,30"}, true, 13,
                    "The ambient air temperature at the device inlet is outside the range -15.0 °C - 40.0 °C."},
        ModeFailure{"CoolingCapacity15", kFreshAir + QStringList{"--cool-outdoor", "40,wb35"}, true, 15,
                    "Selecting a ventilation device outside its cooling capacity range."},
        ModeFailure{"HeatingCapacity16", kFreshAir + QStringList{"--heat-room", "25,50", "--heat-outdoor", "18,50"}, false,
                    16, "Selecting a ventilation device outside its heating capacity range."},
        ModeFailure{"RoomAboveDischarge17", kFreshAir + QStringList{"--heat-room", "24,50", "--heat-discharge", "22"},
                    false, 17, "The room temperature in heating must be lower than the discharge temperature (22.0 °C)."},
        ModeFailure{"DryAirInCooling18", kFreshAir + QStringList{"--cool-outdoor", "33,25"}, true, 18,
                    "The ambient air relative humidity in cooling is smaller than 30%."},
        // 10 degC with a wet bulb of 1 degC is air of about 6 % RH.
        ModeFailure{"DryAirInHeating19", kFreshAir + QStringList{"--heat-outdoor", "10,wb1"}, false, 19,
                    "The ambient air relative humidity in heating is smaller than 10%."},
        ModeFailure{"InletHeaterTooLarge20", {"--heat-outdoor", "-20,50", "--inlet-heater-heat", "30"}, false, 20,
                    "The given inlet heater is too large and leads to an excessive inlet temperature."},
        ModeFailure{"SupplyHeaterTooLarge21", {"--supply-heater", "30"}, false, 21,
                    "The given supply heater is too large and leads to an excessive supply temperature."},
        ModeFailure{"UserInletHeaterTooSmall22", {"--heat-outdoor", "-20,50", "--inlet-heater-heat", "0.1"}, false, 22,
                    "The user defined inlet heater is smaller than the calculated minimum inlet heater.", "Inlet"},
        ModeFailure{"UserSupplyHeaterTooSmall23", {"--supply-temp", "30", "--supply-heater", "0.1"}, false, 23,
                    "The user defined supply heater is smaller than the calculated minimum supply heater.", "Supply"},
        // NV-650 at 200 l/s: humid air cooled by a cold room leaves the
        // exchanger above its coil-in limit whatever the inlet heater.
        ModeFailure{"ExchangerOutletHumidity27", {"--supply", "200", "--cool-room", "16,80", "--cool-outdoor", "35,95"},
                    true, 27, "The heat exchanger air relative humidity is larger than 95%."}),
    [](const auto& param) { return std::string(param.param.name); });

}  // namespace

// The same options give the same exit code in every command that runs a
// selection: the documents of a unit whose cooling failed are written, the
// error stream says why, and the exit code is 3.
TEST(DocumentCommands, ExitWith3WhenAModeWasNotComputed) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QStringList failingCooling{"--cool-outdoor", "45,30"};
  for (const QStringList& command : {QStringList{"chart", "fan", "--out", dir.filePath("fan.png")},
                                     QStringList{"material-list", "--out", dir.filePath("list.xml")},
                                     QStringList{"report", "--out", dir.filePath("report.rtf")}}) {
    const CliResult r = RunCli(command + failingCooling);
    EXPECT_EQ(r.code, AerolithCli::kExitNothingComputed) << command.first().toStdString();
    EXPECT_TRUE(QFile::exists(command.at(command.indexOf("--out") + 1))) << command.first().toStdString();
    EXPECT_TRUE(r.err.contains(": Cooling: code 13: The ambient air temperature at the device inlet")) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(": Heating: not computed")) << r.err.toStdString();
  }
}

// --units names the units of the text whatever the preferences hold; the
// JSON stays SI.
TEST(SelectCommand, UnitsOptionChoosesTheTextsUnits) {
  const CliResult imperial = RunCli({"select", "--supply", "100", "--units", "imperial"});
  ASSERT_EQ(imperial.code, 0) << imperial.err.toStdString();
  EXPECT_TRUE(imperial.out.startsWith("Units: imperial (°F, %, GPP, BTU/lbs, CFM, inH2O, BTU/h)\n")) << imperial.out.toStdString();
  // The outdoor air of cooling: 35 degC = 35 * 9/5 + 32 = 95.0 degF.
  EXPECT_EQ(StateRow(imperial.out, "Outdoor Air (OA)").value(0), "95.0") << imperial.out.toStdString();

  const CliResult si = RunCli({"select", "--supply", "100", "--units", "si"});
  ASSERT_EQ(si.code, 0) << si.err.toStdString();
  EXPECT_TRUE(si.out.startsWith("Units: SI (°C, %, kg/kg, kJ/kg, l/s, Pa, kW)\n")) << si.out.toStdString();
  EXPECT_EQ(StateRow(si.out, "Outdoor Air (OA)").value(0), "35.0");

  const CliResult json = RunCli({"select", "--supply", "100", "--units", "imperial", "--json"});
  ASSERT_EQ(json.code, 0) << json.err.toStdString();
  const QJsonObject o = Json(json);
  EXPECT_EQ(o["units"].toString(), "si");
  EXPECT_EQ(o["cooling"]["states"]["OA"]["DBT"].toDouble(), 35);

  const CliResult wrong = RunCli({"select", "--units", "metric"});
  EXPECT_EQ(wrong.code, AerolithCli::kExitUsage);
  EXPECT_TRUE(wrong.err.contains("--units must be si or imperial")) << wrong.err.toStdString();
}
