// The ecodesign figures and the sound on the command line: select --json
// and datasheet. Expected figures are worked out from the demo catalogue
// (resources/catalogue/70-ecodesign.cat, 50-curves.cat, 60-options.cat).

#include "CliRun.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QJsonObject Json(const CliResult& r) { return QJsonDocument::fromJson(r.out.toUtf8()).object(); }

QString FamilyName(int index) {
  const QJsonArray families = Json(RunCli({"families", "--json"}))["families"].toArray();
  return families.at(index).toObject()["name"].toString();
}

// 100 l/s at 150 Pa, no filters: NV-400. Its exchanger drops 0.2 x 400 +
// 0.00021875 x 400^2 = 115 Pa per side at its nominal 400 m3/h, its fans
// are 40 % efficient there: SFPint = 230 / 0.4 = 575 W/(m3/s). Thermal
// efficiency 94.8585 - 0.0425989 x 400 + 2.59406e-5 x 400^2 = 81.96944 %,
// E = 269.0831; without filters F = 340, so the limit is 1100 + 269.0831 -
// 300 x 0.11111 / 2 - 340 = 1012.4164 W/(m3/s).
TEST(EcodesignCommand, SelectGivesTheUnitsComplianceAndSound) {
  const CliResult r = RunCli({"select", "--supply", "100", "--json"});
  ASSERT_EQ(r.code, 0) << r.err.toStdString();
  const QJsonObject json = Json(r);
  const QJsonObject eco = json["ecodesign"].toObject();
  EXPECT_EQ(eco["hrs_type"].toString(), "plate");
  EXPECT_NEAR(eco["thermal_efficiency"].toDouble(), 0.8196944, 1e-7);
  EXPECT_NEAR(eco["qnom_m3s"].toDouble(), 400.0 / 3600, 1e-12);
  EXPECT_FALSE(eco["fine_filter"].toBool());
  EXPECT_FALSE(eco["medium_filter"].toBool());
  EXPECT_NEAR(eco["efficiency_bonus"].toDouble(), 269.0831, 1e-4);
  EXPECT_EQ(eco["filter_correction"].toDouble(), 340);
  EXPECT_NEAR(eco["sfpint_w_per_m3s"].toDouble(), 575, 1e-9);
  EXPECT_NEAR(eco["sfpint_limit_w_per_m3s"].toDouble(), 1012.4164, 1e-4);
  EXPECT_EQ(eco["min_thermal_efficiency"].toDouble(), 0.73);
  EXPECT_TRUE(eco["meets_efficiency"].toBool());
  EXPECT_TRUE(eco["meets_sfpint"].toBool());

  const QJsonObject sound = json["sound"].toObject();
  EXPECT_EQ(sound["bands_hz"].toArray(), (QJsonArray{63, 125, 250, 500, 1000, 2000, 4000, 8000}));
  for (const char* path : {"supply_outlet", "outdoor_inlet", "extract_inlet", "exhaust_outlet", "casing"}) {
    SCOPED_TRACE(path);
    const QJsonObject p = sound[path].toObject();
    EXPECT_EQ(p["lw_db"].toArray().size(), 8);
    EXPECT_EQ(p["reference_lw_db"].toArray().size(), 8);
    EXPECT_NEAR(p["reference_airflow_ls"].toDouble(), 400 / 3.6, 1e-9);
    EXPECT_EQ(p["reference_pressure_pa"].toDouble(), 215);
    EXPECT_NEAR(p["airflow_ls"].toDouble(), 100, 1e-9);
    // 150 Pa outside, 0.2 x 360 + 0.00021875 x 360^2 = 100.35 Pa inside.
    EXPECT_NEAR(p["pressure_pa"].toDouble(), 250.35, 1e-9);
  }
  EXPECT_EQ(sound["supply_outlet"].toObject()["reference_lw_db"].toArray().first().toDouble(), 70);
}

TEST(EcodesignCommand, SelectedFiltersCountAsTheRegulationsFilters) {
  // F7 supply is the fine filter; F6 exhaust the medium one; F6 supply is no fine filter.
  const QJsonObject both = Json(RunCli({"select", "--supply", "100", "--filter-supply", "F7", "--filter-exhaust", "F6",
                                        "--json"}))["ecodesign"].toObject();
  EXPECT_TRUE(both["fine_filter"].toBool());
  EXPECT_TRUE(both["medium_filter"].toBool());
  EXPECT_EQ(both["filter_correction"].toDouble(), 0);
  const QJsonObject coarse = Json(RunCli({"select", "--supply", "100", "--filter-supply", "F6", "--filter-exhaust", "F6",
                                          "--json"}))["ecodesign"].toObject();
  EXPECT_FALSE(coarse["fine_filter"].toBool());
  EXPECT_EQ(coarse["filter_correction"].toDouble(), 190);
}

// Python's json module reads the sheet and writes back the same document.
TEST(EcodesignCommand, DatasheetJsonRoundTripsThroughPython) {
  const CliResult r = RunCli({"datasheet", "--supply", "100", "--filter-supply", "F7", "--json"});
  ASSERT_EQ(r.code, 0) << r.err.toStdString();
  QProcess python;
  python.start(QStringLiteral("python3"),
               {QStringLiteral("-c"), QStringLiteral("import json,sys; json.dump(json.load(sys.stdin), sys.stdout)")});
  ASSERT_TRUE(python.waitForStarted(10000));
  python.write(r.out.toUtf8());
  python.closeWriteChannel();
  ASSERT_TRUE(python.waitForFinished(30000));
  ASSERT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
  const QJsonDocument back = QJsonDocument::fromJson(python.readAllStandardOutput());
  EXPECT_EQ(back, QJsonDocument::fromJson(r.out.toUtf8()));
  const QJsonObject json = back.object();
  EXPECT_TRUE(json["ecodesign"].toObject()["covered"].toBool());
  const QJsonArray sheet = json["sheet"].toArray();
  ASSERT_FALSE(sheet.isEmpty());
  EXPECT_EQ(sheet.first().toObject()["label"].toString(), "Supplier");
}

TEST(EcodesignCommand, DatasheetSaysWhyAUnitIsNotCovered) {
  const CliResult covered = RunCli({"datasheet", "--supply", "100"});
  ASSERT_EQ(covered.code, 0) << covered.err.toStdString();
  EXPECT_TRUE(covered.out.contains("SFPint (2018): meets: 575 against at most 1012 W/(m³/s)")) << covered.out.toStdString();
  EXPECT_TRUE(covered.out.contains("Heat recovery system: Plate heat exchanger"));

  const CliResult coil = RunCli({"datasheet", "--family", FamilyName(1), "--json"});
  ASSERT_EQ(coil.code, 0) << coil.err.toStdString();
  const QJsonObject eco = Json(coil)["ecodesign"].toObject();
  EXPECT_FALSE(eco["covered"].toBool());
  EXPECT_EQ(eco["typology"].toString(), "with_heat_pump");
  EXPECT_TRUE(eco["reason"].toString().contains("does not cover"));
  EXPECT_FALSE(eco.contains("sfpint_w_per_m3s"));
}

TEST(EcodesignCommand, RefusesARoomOutsideTheFieldRanges) {
  const CliResult r = RunCli({"select", "--distance", "0.1", "--json"});
  EXPECT_EQ(r.code, 2);
  EXPECT_TRUE(r.err.contains("--distance")) << r.err.toStdString();
  const QJsonObject room =
      Json(RunCli({"select", "--supply", "100", "--distance", "4", "--room-constant", "200", "--json"}))["sound"]
          .toObject()["room"]
          .toObject();
  EXPECT_EQ(room["distance_m"].toDouble(), 4);
  EXPECT_EQ(room["room_constant_m2"].toDouble(), 200);
}

TEST(EcodesignCommand, ChartsTheSoundAsAPictureAndAMetafile) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  for (const char* name : {"sound.png", "sound.emf"}) {
    const QString path = dir.filePath(QString::fromLatin1(name));
    const CliResult r = RunCli({"chart", "sound", "--out", path, "--supply", "100"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_GT(QFileInfo(path).size(), 1000) << name;
  }
}

}  // namespace
