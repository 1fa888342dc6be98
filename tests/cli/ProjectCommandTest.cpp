// Project files through the command line: select --save, select and chart
// --project, project check.

#include "cli/CliRun.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

namespace {

QJsonObject Json(const CliResult& r) { return QJsonDocument::fromJson(r.out.toUtf8()).object(); }

}  // namespace

TEST(ProjectCommand, ASavedSelectionComesBackTheSame) {
  QTemporaryDir dir;
  struct Case {
    const char* name;
    QStringList options;
  };
  const Case cases[] = {
      // The user heaters above their calculated minima (2.705 and 1.4 kW),
      // so that heating is computed.
      {"second candidate, totals, filter, plenums, user heaters",
       {"--supply", "200", "--esp-supply", "100", "--filter-supply", "F7", "--plenums", "1", "--unit", "NV-1000",
        "--heat-outdoor", "-10,80", "--inlet-heater-heat", "3", "--supply-temp", "22", "--supply-heater", "1.5"}},
      {"persons and wet bulb", {"--persons", "30", "--airflow-per-person", "7", "--cool-room", "26,wb18.5"}},
      {"fresh-air unit with its discharge", {"--family", "DQTL-MF", "--supply", "800", "--airflow-unit", "m3h",
                                             "--cool-outdoor", "33,50", "--discharge", "15", "--heat-discharge", "26"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const QString file = dir.filePath(QStringLiteral("%1.ven").arg(&c - cases));
    const CliResult saved = RunCli(QStringList{"select", "--json", "--save", file} + c.options);
    ASSERT_EQ(saved.code, 0) << saved.err.toStdString();
    const CliResult reopened = RunCli({"select", "--json", "--project", file});
    ASSERT_EQ(reopened.code, 0) << reopened.err.toStdString();
    const QJsonObject a = Json(saved), b = Json(reopened);
    EXPECT_EQ(b["unit"], a["unit"]);
    EXPECT_EQ(b["supply_ls"], a["supply_ls"]);
    EXPECT_EQ(b["esp"], a["esp"]);
    EXPECT_EQ(b["supply_esp_pa"], a["supply_esp_pa"]);
    for (const char* mode : {"cooling", "heating"})
      for (const char* state : {"RA", "OA", "SA", "EA"})
        for (const char* property : {"DBT", "AH"})
          EXPECT_NEAR(b[mode]["states"][state][property].toDouble(), a[mode]["states"][state][property].toDouble(), 1e-9)
              << mode << " " << state << " " << property;
    EXPECT_EQ(b["heating"]["inlet_heater_kw"], a["heating"]["inlet_heater_kw"]);
  }
}

TEST(ProjectCommand, OptionsGivenOverrideTheFile) {
  QTemporaryDir dir;
  const QString file = dir.filePath("p.ven");
  ASSERT_EQ(RunCli({"select", "--supply", "150", "--esp-supply", "100", "--save", file}).code, 0);
  const CliResult r = RunCli({"select", "--json", "--project", file, "--esp-supply", "60"});
  ASSERT_EQ(r.code, 0) << r.err.toStdString();
  EXPECT_EQ(Json(r)["supply_ls"].toDouble(), 150);
  EXPECT_EQ(Json(r)["supply_esp_pa"].toDouble(), 60);
  // A chart takes the project too.
  const CliResult chart = RunCli({"chart", "fan", "--project", file, "--out", dir.filePath("fan.png")});
  EXPECT_EQ(chart.code, 0) << chart.err.toStdString();
}

TEST(ProjectCommand, CheckSaysWhatAFileHolds) {
  QTemporaryDir dir;
  // A "VEN001" file written from the layout description: unit 144/2 (NV-400)
  // at speeds 21/20 with two options by their former ids, one of them gone.
  QByteArray b("VEN001");
  const auto i32 = [&b](qint32 n) {
    char raw[4];
    qToLittleEndian(n, raw);
    b.append(raw, 4);
  };
  const auto f64 = [&b](double x) {
    char raw[8];
    qToLittleEndian(x, raw);
    b.append(raw, 8);
  };
  const double no = -2147483647.0;
  for (int n : {144, 2, 0, 21, 20}) i32(n);
  for (double x : {0.0, no, no, no, no, 120.0, no, 100.0, 100.0}) f64(x);
  i32(0), i32(0);
  for (double x : {27.0, 45.0, 35.0, 50.0, 18.0, no, no, no, 20.0, 50.0, 7.0, 50.0, 25.0, no, no, no}) f64(x);
  i32(0), b.append('\0'), i32(2);
  for (int n : {146, 4004, 1, 146, 777, 1}) i32(n);
  const QString file = dir.filePath("old.ven");
  QFile out(file);
  ASSERT_TRUE(out.open(QIODevice::WriteOnly));
  out.write(b);
  out.close();

  const CliResult r = RunCli({"project", "check", file, "--json"});
  ASSERT_EQ(r.code, 0) << r.err.toStdString();
  const QJsonObject check = Json(r);
  EXPECT_EQ(check["format"].toString(), "VEN001");
  EXPECT_EQ(check["unit"]["name"].toString(), "NV-400");
  EXPECT_TRUE(check["inputs"]["persons"].isNull());
  EXPECT_EQ(check["inputs"]["total_supply_ls"].toDouble(), 120);
  const QJsonArray options = check["options"].toArray();
  ASSERT_EQ(options.size(), 2);
  EXPECT_EQ(options[0]["name"].toString(), "NRS-CO2");
  EXPECT_EQ(options[0]["current"]["id"].toInt(), 4);
  EXPECT_FALSE(options[1]["in_catalogue"].toBool());

  // Broken: cut inside the header.
  out.open(QIODevice::WriteOnly);
  out.write(b.left(100));
  out.close();
  const CliResult broken = RunCli({"project", "check", file});
  EXPECT_EQ(broken.code, 1);
  EXPECT_TRUE(broken.err.contains("Cannot read this ventilation project file.")) << broken.err.toStdString();
  const CliResult select = RunCli({"select", "--project", file});
  EXPECT_EQ(select.code, 2);
  EXPECT_TRUE(select.err.contains("Cannot read this ventilation project file."));
}

TEST(ProjectCommand, OptionsCalledForAreUsedAndSaved) {
  QTemporaryDir dir;
  const QString file = dir.filePath("options.ven");
  // NV-400 at 100 l/s: F7 on both sides, outdoor and exhaust plenums (NPL-400
  // requires four: two of them).
  const CliResult r = RunCli({"select", "--json", "--supply", "100", "--esp-supply", "60", "--esp-exhaust", "60",
                              "--filter-supply", "F7", "--filter-exhaust", "F7", "--plenums", "1", "--unit", "NV-400",
                              "--save", file});
  ASSERT_EQ(r.code, 0) << r.err.toStdString();
  QMap<QString, int> used;
  for (const QJsonValue& o : Json(r)["options"].toObject()["used"].toArray()) used[o["name"].toString()] = o["count"].toInt();
  EXPECT_EQ(used, (QMap<QString, int>{{"NRC-10", 1}, {"NFS-400-F7", 2}, {"NPL-400", 2}}));
  EXPECT_EQ(Json(r)["options"].toObject()["available"].toArray().size(), 4);

  const CliResult check = RunCli({"project", "check", file, "--json"});
  QStringList saved;
  for (const QJsonValue& o : Json(check)["options"].toArray()) saved << o["name"].toString();
  saved.sort();
  EXPECT_EQ(saved, (QStringList{"NFS-400-F7", "NPL-400", "NRC-10"}));
}
