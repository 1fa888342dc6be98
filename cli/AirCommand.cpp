// aerolith-cli air: every property of one moist-air state.

#include "cli/CliCommands.h"
#include "cli/CliOptions.h"
#include "i18n/BaseMsgMan.h"
#include "i18n/MsgMan.h"
#include "psychro/AirState.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

namespace AerolithCli {

namespace {

constexpr int kMsgWetBulbAboveDryBulb = 43;

QJsonValue JsonNumber(double value) { return std::isfinite(value) ? QJsonValue(value) : QJsonValue(); }

QString Fixed(double value, int digits) {
  return std::isfinite(value) ? TBaseMsg::FormatFixed(value, digits) : QStringLiteral("-");
}

// A bounded input, or an error text naming the allowed range.
bool InRange(double value, double lo, double hi, const char* name, const char* unit, QString& error) {
  if (value >= lo && value <= hi) return true;
  error = QStringLiteral("%1 must be between %2 and %3 %4")
              .arg(QString::fromLatin1(name), TBaseMsg::Number2Str(lo, 15), TBaseMsg::Number2Str(hi, 15),
                   QString::fromUtf8(unit));
  return false;
}

}  // namespace

int RunAir(const QStringList& arguments, QTextStream& out, QTextStream& err) {
  const auto usage = [&](const QString& problem) {
    err << "aerolith-cli air: " << problem << "\n"
        << "usage: aerolith-cli air --altitude M --db T (--rh RH | --wb T | --w W) [--json]\n";
    err.flush();
    return kExitUsage;
  };
  CTCliOptions options(arguments, {"--altitude", "--db", "--rh", "--wb", "--w"}, {"--json"});
  if (!options.Error().isEmpty()) return usage(options.Error());
  const int humidityInputs = int(options.Has("--rh")) + int(options.Has("--wb")) + int(options.Has("--w"));
  if (!options.Has("--altitude") || !options.Has("--db")) return usage("--altitude and --db are required");
  if (humidityInputs != 1) return usage("give exactly one of --rh, --wb and --w");

  const auto altitude = options.Number("--altitude");
  const auto dryBulb = options.Number("--db");
  const auto rh = options.Number("--rh");
  const auto wetBulb = options.Number("--wb");
  const auto ratio = options.Number("--w");
  if (!options.Error().isEmpty()) return usage(options.Error());

  QString problem;
  if (!InRange(*altitude, TAir::kMinAltitudeM, TAir::kMaxAltitudeM, "--altitude", "m", problem) ||
      !InRange(*dryBulb, TAir::kMinTempC, TAir::kMaxTempC, "--db", "°C", problem) ||
      (rh && !InRange(*rh, 0, 100, "--rh", "%", problem)) ||
      (wetBulb && !InRange(*wetBulb, TAir::kMinTempC, TAir::kMaxTempC, "--wb", "°C", problem)) ||
      (ratio && !InRange(*ratio, 0, 1, "--w", "kg/kg", problem)))
    return usage(problem);
  if (wetBulb && *wetBulb > *dryBulb) {
    TDlgForm::Load();
    return usage(TBaseMsg::GetUnicodeString(kMsgWetBulbAboveDryBulb));
  }

  const TAir air(*altitude);
  const CTAirState state = rh        ? CTAirState::FromRelHumidity(air, *dryBulb, *rh)
                           : wetBulb ? CTAirState::FromWetBulb(air, *dryBulb, *wetBulb)
                                     : CTAirState::FromHumidityRatio(air, *dryBulb, *ratio);
  if (state.humidityRatio < 0) return usage("that wet bulb gives a negative humidity ratio at this dry bulb");

  if (options.Has("--json")) {
    QJsonObject json;
    json.insert("pressure_pa", JsonNumber(state.pressurePa));
    json.insert("saturation_pressure_pa", JsonNumber(state.saturationPressurePa));
    json.insert("humidity_ratio", JsonNumber(state.humidityRatio));
    json.insert("relative_humidity", JsonNumber(state.relativeHumidity));
    json.insert("enthalpy_kj_kg", JsonNumber(state.enthalpyKjKg));
    json.insert("dew_point_c", JsonNumber(state.dewPointC));
    json.insert("wet_bulb_c", JsonNumber(state.wetBulbC));
    json.insert("dry_air_density", JsonNumber(state.dryAirDensity));
    out << QJsonDocument(json).toJson(QJsonDocument::Compact) << "\n";
    out.flush();
    return kExitOk;
  }

  const auto row = [&](const char* label, const QString& value, const char* unit) {
    out << QString::fromLatin1(label).leftJustified(22) << value.rightJustified(12) << " "
        << QString::fromUtf8(unit) << "\n";
  };
  row("Total pressure", Fixed(state.pressurePa, 1), "Pa");
  row("Saturation pressure", Fixed(state.saturationPressurePa, 2), "Pa");
  row("Humidity ratio", Fixed(state.humidityRatio, 7), "kg/kg");
  row("Relative humidity", Fixed(state.relativeHumidity, 3), "%");
  row("Enthalpy", Fixed(state.enthalpyKjKg, 3), "kJ/kg");
  row("Dew point", Fixed(state.dewPointC, 3), "°C");
  row("Wet bulb", Fixed(state.wetBulbC, 3), "°C");
  row("Dry-air density", Fixed(state.dryAirDensity, 4), "kg/m³");
  out.flush();
  return kExitOk;
}

}  // namespace AerolithCli
