// Projects saved at the corners of the inputs' ranges open again, in the
// window and through aerolith-cli, to the request and the result they were
// saved from: every file the program writes, it opens. The corners are
// where a stored value can fall outside the field that shows it again (the
// wet bulb of dry air is a humidity below the humidity field's range).

#include "CliRun.h"
#include "WindowFixture.h"

#include "selection/CatalogueSession.h"
#include "selection/ProjectFile.h"
#include "selection/SelectionRun.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <cmath>

namespace {

QJsonObject Json(const CliResult& r) { return QJsonDocument::fromJson(r.out.toUtf8()).object(); }

// Two JSON values alike, numbers to 1e-9 of their size.
void ExpectSameJson(const QJsonValue& a, const QJsonValue& b, const QString& path) {
  if (a.isDouble() && b.isDouble()) {
    EXPECT_NEAR(a.toDouble(), b.toDouble(), 1e-9 * std::max(1.0, std::fabs(a.toDouble()))) << path.toStdString();
    return;
  }
  ASSERT_EQ(a.type(), b.type()) << path.toStdString();
  if (a.isObject()) {
    const QJsonObject x = a.toObject(), y = b.toObject();
    EXPECT_EQ(x.keys(), y.keys()) << path.toStdString();
    for (const QString& key : x.keys())
      if (y.contains(key)) ExpectSameJson(x[key], y[key], path + QLatin1Char('.') + key);
  } else if (a.isArray()) {
    const QJsonArray x = a.toArray(), y = b.toArray();
    ASSERT_EQ(x.size(), y.size()) << path.toStdString();
    for (qsizetype i = 0; i < x.size(); ++i) ExpectSameJson(x[i], y[i], path + QStringLiteral("[%1]").arg(i));
  } else {
    EXPECT_EQ(a, b) << path.toStdString();
  }
}

struct Corner {
  QString name;
  QStringList options;
  bool windowHolds = true;  // false: finer than the window's fields step
};

class ProjectCorners : public WindowFixture<> {
 protected:
  // The family's airflow range as a field holds it (whole l/s) and the
  // highest ESP at which some unit still fits.
  static QList<Corner> Corners() {
    CTCatalogueSession session;
    QString error;
    EXPECT_TRUE(session.OpenEmbedded(CTCatalogueSession::AutoCorrect::kOn, error)) << error.toStdString();
    QList<Corner> corners = {
        {"cooling outdoor: wet bulb of hot dry air", {"--cool-outdoor", "43,wb21"}},
        {"cooling room: wet bulb of dry air", {"--cool-room", "27,wb12"}},
        {"cooling room: its lowest dry bulb and wet bulb", {"--cool-room", "16,wb6"}},
        {"cooling outdoor: its highest dry bulb, dry", {"--cool-outdoor", "60,wb25"}},
        {"cooling outdoor: humid at the lowest relative humidity", {"--cool-outdoor", "35,15"}},
        {"heating outdoor: its lowest, saturated", {"--heat-outdoor", "-40,wb-40"}},
        {"heating outdoor: dry", {"--heat-outdoor", "10,wb1"}},
        {"heating room: its highest, saturated", {"--heat-room", "32,wb32"}},
        {"heating room: its lowest, dry", {"--heat-room", "16,wb6"}},
        {"lowest altitude", {"--altitude", "-500", "--cool-outdoor", "35,wb24"}},
        {"highest altitude with wet bulbs", {"--altitude", "2000", "--cool-outdoor", "38,wb20", "--heat-outdoor", "-5,wb-7"}},
        {"fewest persons at the most air each", {"--persons", "1", "--airflow-per-person", "30"}},
        {"most persons at the least air each", {"--persons", "100", "--airflow-per-person", "1"}},
        {"humidities to any precision", {"--cool-outdoor", "35,50.37", "--cool-room", "26,wb18.37"}, false},
    };
    for (const char* family : {"HRX", "HRD", "DQTL-MF"}) {
      const LTFamilyRanges ranges = CTSelectionRun::FamilyRanges(session, session.FamilyNumber(family));
      const QString low = QString::number(std::ceil(ranges.minAirflowLs));
      const QString high = QString::number(std::floor(ranges.maxAirflowLs));
      corners.append({QStringLiteral("%1 at its lowest airflow, dry outdoor air").arg(family),
                      {"--family", family, "--supply", low, "--cool-outdoor", "40,wb19"}});
      corners.append({QStringLiteral("%1 at its highest airflow, dry room air").arg(family),
                      {"--family", family, "--supply", high, "--cool-room", "26,wb11.5"}});
    }
    // The lowest and the highest ESP at which a unit of the plain family
    // fits (below the lowest a fan would deliver more than the duct takes).
    const int maxEsp = int(CTSelectionRun::FamilyRanges(session, 0).maxEspPa);
    for (const int step : {10, -10}) {
      for (int esp = step > 0 ? 0 : maxEsp; esp >= 0 && esp <= maxEsp; esp += step) {
        const QStringList options = {"--supply", "150", "--esp-supply", QString::number(esp), "--esp-exhaust",
                                     QString::number(esp)};
        if (Json(RunCli(QStringList{"select", "--json"} + options))["candidates"].toArray().isEmpty()) continue;
        corners.append({QStringLiteral("%1 ESP with a candidate (%2 Pa)").arg(step > 0 ? "lowest" : "highest").arg(esp),
                        options});
        break;
      }
    }
    return corners;
  }

  static void ExpectSameCondition(const LTAirCondition& a, const LTAirCondition& b, const char* what) {
    EXPECT_EQ(a.humidityMode, b.humidityMode) << what;
    EXPECT_NEAR(a.dryBulbC, b.dryBulbC, 1e-9) << what;
    EXPECT_NEAR(a.humidity, b.humidity, 1e-9) << what;
  }

  QTemporaryDir v_dir;
};

}  // namespace

TEST_F(ProjectCorners, OpenToTheRequestAndResultTheyWereSavedFrom) {
  const QList<Corner> corners = Corners();
  ASSERT_GE(corners.size(), 20);
  for (const Corner& c : corners) {
    SCOPED_TRACE(c.name.toStdString());
    const QString file = v_dir.filePath(QStringLiteral("corner%1.ven").arg(&c - corners.data()));
    const CliResult saved = RunCli(QStringList{"select", "--json", "--save", file} + c.options);
    ASSERT_TRUE(saved.code == 0 || saved.code == 3) << saved.err.toStdString();
    ASSERT_TRUE(QFile::exists(file)) << saved.err.toStdString();

    // The command line: the same run, to the last digit.
    const CliResult reopened = RunCli({"select", "--json", "--project", file});
    EXPECT_EQ(reopened.code, saved.code) << reopened.err.toStdString();
    ExpectSameJson(Json(saved), Json(reopened), QStringLiteral("select"));

    // The file holds what the request it stands for asks.
    CTHRXProjectData data;
    ProjectFormat format;
    LTProjectError error;
    ASSERT_TRUE(CTHRXProjectIO::ReadProjectFile(file, data, format, error)) << error.Text().toStdString();
    const SelectionRequest fromFile = CTProjectMapping::ToRequest(data);

    // The window: the same inputs in its fields, the same unit and states.
    if (!c.windowHolds) continue;
    v_window->NewProject();
    ASSERT_TRUE(v_window->LoadProject(file)) << v_messages.shown.join('\n').toStdString();
    const SelectionRequest shown = v_window->CurrentRequest();
    ExpectSameCondition(shown.cooling.room, fromFile.cooling.room, "cooling room");
    ExpectSameCondition(shown.cooling.outdoor, fromFile.cooling.outdoor, "cooling outdoor");
    ExpectSameCondition(shown.heating.room, fromFile.heating.room, "heating room");
    ExpectSameCondition(shown.heating.outdoor, fromFile.heating.outdoor, "heating outdoor");
    EXPECT_NEAR(shown.altitudeM, fromFile.altitudeM, 1e-9);
    EXPECT_NEAR(shown.supplyEspPa, fromFile.supplyEspPa, 1e-9);

    const QJsonObject cli = Json(saved);
    const SelectionResult& result = v_window->Result();
    EXPECT_EQ(result.unitName, cli["unit"].toString());
    EXPECT_NEAR(result.supplyLs, cli["supply_ls"].toDouble(), 1e-9);
    for (const auto& [name, mode] : {std::pair{"cooling", &result.cooling}, std::pair{"heating", &result.heating}}) {
      const QJsonObject m = cli[name].toObject();
      EXPECT_EQ(mode->code, m["code"].toInt()) << name;
      if (!mode->Succeeded()) continue;
      const QJsonObject states = m["states"].toObject();
      // A fresh-air unit has no exhaust air to show.
      EXPECT_EQ(states.contains("EA"), Cls_HRX::HasExhaustFan(result.family)) << name;
      for (const auto& [state, point] : {std::pair{"SA", &mode->states.SA}, std::pair{"EA", &mode->states.EA}}) {
        if (!states.contains(state)) continue;
        EXPECT_NEAR(point->DBT, states[state]["DBT"].toDouble(), 1e-9) << name << " " << state;
        EXPECT_NEAR(point->AH, states[state]["AH"].toDouble(), 1e-12) << name << " " << state;
      }
    }
  }
}
