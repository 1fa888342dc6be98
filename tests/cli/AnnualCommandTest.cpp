// aerolith-cli annual: the selected unit's year and the candidates ranked,
// on weather files written by the test.

#include "CliRun.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

namespace {

QJsonObject Json(const CliResult& r) { return QJsonDocument::fromJson(r.out.toUtf8()).object(); }

class AnnualCommand : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(v_dir.isValid()); }
  // A CSV year: 0 degC and 80 % in the first half of the year's hours,
  // 32 degC and 60 % in the second.
  QString Weather() {
    const QString path = v_dir.filePath(QStringLiteral("year.csv"));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return QString();
    f.write("# name: Test year\ndry bulb,relative humidity\n");
    for (int h = 0; h < 8760; ++h) f.write(h < 4380 ? "0,80\n" : "32,60\n");
    return path;
  }
  QTemporaryDir v_dir;
};

TEST_F(AnnualCommand, GivesTheYearAndItsMonths) {
  const CliResult r = RunCli({"annual", "--climate", Weather(), "--supply", "100", "--json"});
  ASSERT_EQ(r.code, 0) << r.err.toStdString();
  const QJsonObject y = Json(r);
  EXPECT_EQ(y["operating_hours"].toDouble(), 8760);
  EXPECT_GT(y["heat_recovered_kwh"].toDouble(), 0);
  EXPECT_GT(y["cooling_recovered_kwh"].toDouble(), 0);
  EXPECT_EQ(y["climate"].toObject()["name"].toString(), "Test year");
  EXPECT_EQ(y["schedule"].toString(), "always");
  const QJsonArray months = y["months"].toArray();
  ASSERT_EQ(months.size(), 12);
  for (const char* key : {"operating_hours", "heat_recovered_kwh", "cooling_recovered_kwh", "inlet_heater_kwh", "fan_kwh",
                          "net_kwh", "cost", "co2_kg"}) {
    double sum = 0;
    for (const QJsonValue& m : months) sum += m.toObject()[key].toDouble();
    EXPECT_NEAR(sum, y[key].toDouble(), 1e-6 * std::max(1.0, std::fabs(sum))) << key;
  }
  // January is all heating, December all cooling.
  EXPECT_EQ(months.first().toObject()["cooling_recovered_kwh"].toDouble(), 0);
  EXPECT_EQ(months.last().toObject()["heat_recovered_kwh"].toDouble(), 0);
  // The fans: NV-400 at High 3 draws its power every hour.
  const QJsonObject select = Json(RunCli({"select", "--supply", "100", "--json"}));
  EXPECT_NEAR(y["fan_kwh"].toDouble(), 8760 * select["fan_power_kw"].toDouble(), 1e-6);
}

TEST_F(AnnualCommand, RanksEveryCandidateByItsNetBenefit) {
  const CliResult r = RunCli({"annual", "--climate", Weather(), "--supply", "80", "--rank", "--schedule", "07-19,mon-fri",
                              "--json"});
  ASSERT_EQ(r.code, 0) << r.err.toStdString();
  const QJsonObject y = Json(r);
  EXPECT_EQ(y["operating_hours"].toDouble(), 261 * 12);
  const QJsonArray candidates = y["candidates"].toArray();
  const QJsonArray listed = Json(RunCli({"select", "--supply", "80", "--json"}))["candidates"].toArray();
  ASSERT_EQ(candidates.size(), listed.size());
  ASSERT_GE(candidates.size(), 2);
  for (int i = 1; i < candidates.size(); ++i)
    EXPECT_GE(candidates[i - 1].toObject()["net_kwh"].toDouble(), candidates[i].toObject()["net_kwh"].toDouble());
  for (const QJsonValue& c : candidates) {
    EXPECT_FALSE(c.toObject()["unit"].toString().isEmpty());
    EXPECT_FALSE(c.toObject()["supply_speed"].toString().isEmpty());
  }
}

TEST_F(AnnualCommand, AProjectKeepsItsClimateScheduleAndPrices) {
  const QString project = v_dir.filePath(QStringLiteral("p.ven"));
  const CliResult saved = RunCli({"annual", "--climate", Weather(), "--supply", "100", "--schedule", "06-20",
                                  "--prices", "heat=0.12", "--save", project, "--json"});
  ASSERT_EQ(saved.code, 0) << saved.err.toStdString();
  const CliResult opened = RunCli({"annual", "--project", project, "--json"});
  ASSERT_EQ(opened.code, 0) << opened.err.toStdString();
  const QJsonObject a = Json(saved), b = Json(opened);
  EXPECT_EQ(b["schedule"].toString(), "06-20");
  EXPECT_TRUE(b["prices"].toString().startsWith("heat=0.12,")) << b["prices"].toString().toStdString();
  EXPECT_EQ(b["net_kwh"].toDouble(), a["net_kwh"].toDouble());
  EXPECT_EQ(b["cost"].toDouble(), a["cost"].toDouble());
  // Options on top of the project win, and the selection stays the project's.
  const QJsonObject always = Json(RunCli({"annual", "--project", project, "--schedule", "always", "--json"}));
  EXPECT_EQ(always["operating_hours"].toDouble(), 8760);
  EXPECT_EQ(always["unit"].toString(), a["unit"].toString());
}

TEST_F(AnnualCommand, RefusesWhatIsNotAYearOrASchedule) {
  CliResult r = RunCli({"annual", "--climate", Weather(), "--schedule", "19-07"});
  EXPECT_EQ(r.code, 2);
  EXPECT_TRUE(r.err.contains("--schedule")) << r.err.toStdString();
  r = RunCli({"annual", "--climate", Weather(), "--prices", "gas=0.1"});
  EXPECT_EQ(r.code, 2);
  r = RunCli({"annual", "--climate", v_dir.filePath(QStringLiteral("missing.epw"))});
  EXPECT_EQ(r.code, 1);
  EXPECT_TRUE(r.err.contains("missing.epw")) << r.err.toStdString();
  const QString shortYear = v_dir.filePath(QStringLiteral("short.csv"));
  QFile f(shortYear);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("1,50\n2,50\n");
  f.close();
  r = RunCli({"annual", "--climate", shortYear});
  EXPECT_EQ(r.code, 1);
  EXPECT_FALSE(r.err.isEmpty());
}

}  // namespace
