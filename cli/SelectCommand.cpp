// aerolith-cli families and aerolith-cli select: the selection a user comes
// for, without the window.
//
//   families [--json]
//       every family of the embedded catalogue with its units, their airflow
//       ranges and the family's highest ESP
//   select [--family NAME] --supply Q [--exhaust Q] [--airflow-unit ls|m3h|cfm] ...
//       the candidate units in order, and for the first (or the one named
//       with --unit) the air states of cooling and heating, efficiencies,
//       capacities, heaters, humidification, savings and every check code in
//       words
//
// Physical values go in and come out in SI: temperatures degC, humidity %,
// pressures Pa, capacities and heaters kW, humidification kg/h. Airflows are
// l/s unless --airflow-unit says otherwise; the catalogue works in m3/h.

#include "catalogue/CheckMessages.h"
#include "catalogue/ClHRXSpType.h"
#include "catalogue/ClHRXSpeed.h"
#include "cli/CatalogueSession.h"
#include "cli/CliCommands.h"
#include "cli/CliOptions.h"
#include "i18n/BaseMsgMan.h"
#include "psychro/Air.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>
#include <map>

namespace AerolithCli {

namespace {

const char* const kFilterNames[] = {"none", "F6", "F7", "F8"};
constexpr double kM3hPerLs = 3.6;
constexpr double kM3hPerCfm = 1.6990108;  // 0.47194745 l/s

QJsonValue Json(double value) { return std::isfinite(value) ? QJsonValue(value) : QJsonValue(); }
QString Fixed(double value, int digits) {
  return std::isfinite(value) ? TBaseMsg::FormatFixed(value, digits) : QStringLiteral("-");
}

int Fail(QTextStream& err, const QString& command, const QString& problem, int code) {
  err << "aerolith-cli " << command << ": " << problem << "\n";
  err.flush();
  return code;
}

// ---------------------------------------------------------------- families

int PrintFamilies(CTCatalogueSession& session, bool json, QTextStream& out) {
  QJsonArray families;
  for (const Cls_HRX::LTFamilyItem& family : session.Families()) {
    ObjectList<Cls_HRX> units = session.UnitsOfFamily(family.name);
    double minAirflow = 0, maxAirflow = 0, maxEsp = 0;
    Cls_HRX::GetRanges(units, minAirflow, maxAirflow, maxEsp);
    QJsonArray unitList;
    if (!json) out << family.name << " (family " << family.family << ", ESP up to " << Fixed(maxEsp, 0) << " Pa)\n";
    for (const Cls_HRX* unit : units) {
      unitList.append(QJsonObject{{"name", unit->GetName()},
                                  {"type", unit->GetType()},
                                  {"min_airflow_m3h", Json(unit->GetMinAirflow())},
                                  {"max_airflow_m3h", Json(unit->GetMaxAirflow())}});
      if (!json)
        out << "  " << unit->GetName() << "  " << Fixed(unit->GetMinAirflow(), 0) << " .. "
            << Fixed(unit->GetMaxAirflow(), 0) << " m3/h\n";
    }
    families.append(QJsonObject{
        {"name", family.name}, {"type", family.family}, {"esp_max_pa", Json(maxEsp)}, {"units", unitList}});
  }
  if (json) out << QJsonDocument(QJsonObject{{"families", families}}).toJson(QJsonDocument::Indented);
  return kExitOk;
}

// ---------------------------------------------------------------- select

struct Condition {
  double temp = 0;
  double rh = 0;
};

struct Request {
  QString family = QStringLiteral("HRX");
  double supplyM3h = 0, exhaustM3h = 0;
  double espSupply = 150, espExhaust = 150;
  int filterSupply = 0, filterExhaust = 0;
  int plenums = 0;
  QString maxSpeed;
  double altitude = 0;
  Condition coolRoom{27, 47}, coolOutdoor{35, 50}, heatRoom{20, 50}, heatOutdoor{7, 50};
  double evaporating = 6, discharge = 18;
  std::optional<double> supplyTemp;
  double inletHeaterCool = 0, inletHeaterHeat = 0, supplyHeater = 0;
  bool upsideDown = false;
  QString unit;
  bool json = false;
};

// "T,RH": a temperature and a relative humidity.
bool ParseCondition(const QString& text, Condition& c) {
  const QStringList parts = text.split(QLatin1Char(','));
  if (parts.size() != 2) return false;
  return TBaseMsg::TryParseNumber(parts[0].trimmed(), c.temp) && TBaseMsg::TryParseNumber(parts[1].trimmed(), c.rh);
}

// Reads and checks the options; an empty answer means all is well.
QString ReadRequest(const QStringList& arguments, Request& r) {
  CTCliOptions options(arguments,
                       {"--family", "--supply", "--exhaust", "--airflow-unit", "--esp-supply", "--esp-exhaust",
                        "--filter-supply", "--filter-exhaust", "--plenums", "--max-speed", "--altitude", "--cool-room",
                        "--cool-outdoor", "--heat-room", "--heat-outdoor", "--evaporating", "--discharge",
                        "--supply-temp", "--inlet-heater-cool", "--inlet-heater-heat", "--supply-heater", "--unit"},
                       {"--upside-down", "--json"});
  if (!options.Error().isEmpty()) return options.Error();
  if (!options.Has("--supply")) return QStringLiteral("--supply is required");

  QString unitName = options.Has("--airflow-unit") ? options.Value("--airflow-unit") : QStringLiteral("ls");
  const std::map<QString, double> airflowUnits = {{"ls", kM3hPerLs}, {"m3h", 1.0}, {"cfm", kM3hPerCfm}};
  if (!airflowUnits.count(unitName)) return QStringLiteral("--airflow-unit must be ls, m3h or cfm");
  const double toM3h = airflowUnits.at(unitName);

  const auto number = [&](const char* name, double& target, double lo, double hi, const char* unit) -> QString {
    if (!options.Has(name)) return QString();
    const std::optional<double> value = options.Number(name);
    if (!value) return options.Error();
    if (lo > 0 && lo < 1e-6 && !(*value >= lo && *value <= hi))
      return QStringLiteral("%1 must be a positive airflow").arg(QString::fromLatin1(name));
    if (!(*value >= lo && *value <= hi))
      return QStringLiteral("%1 must be between %2 and %3 %4")
          .arg(QString::fromLatin1(name), TBaseMsg::Number2Str(lo, 15), TBaseMsg::Number2Str(hi, 15),
               QString::fromUtf8(unit));
    target = *value;
    return QString();
  };
  const auto condition = [&](const char* name, Condition& target) -> QString {
    if (!options.Has(name)) return QString();
    Condition c;
    if (!ParseCondition(options.Value(name), c)) return QStringLiteral("%1 wants T,RH such as 26,50").arg(name);
    if (!(c.temp >= TAir::kMinTempC && c.temp <= TAir::kMaxTempC))
      return QStringLiteral("%1: the temperature must be between -80 and 80 °C").arg(name);
    if (!(c.rh > 0 && c.rh <= 100)) return QStringLiteral("%1: the relative humidity must be above 0 and at most 100 %").arg(name);
    target = c;
    return QString();
  };
  const auto filter = [&](const char* name, int& target) -> QString {
    if (!options.Has(name)) return QString();
    for (int i = 0; i < 4; ++i)
      if (options.Value(name).compare(QLatin1String(kFilterNames[i]), Qt::CaseInsensitive) == 0) return target = i, QString();
    return QStringLiteral("%1 must be none, F6, F7 or F8").arg(name);
  };

  double supply = 0, exhaust = -1, plenums = 0, supplyTemp = -1;
  constexpr double kMaxAirflow = 1e7;
  for (const QString& problem :
       {number("--supply", supply, 1e-9, kMaxAirflow, "(airflow)"), number("--exhaust", exhaust, 1e-9, kMaxAirflow, "(airflow)"),
        number("--esp-supply", r.espSupply, 0, 10000, "Pa"), number("--esp-exhaust", r.espExhaust, 0, 10000, "Pa"),
        number("--plenums", plenums, 0, 2, ""), number("--altitude", r.altitude, TAir::kMinAltitudeM, TAir::kMaxAltitudeM, "m"),
        number("--evaporating", r.evaporating, -30, 30, "°C"), number("--discharge", r.discharge, -80, 80, "°C"),
        number("--supply-temp", supplyTemp, 0, 80, "°C"),
        number("--inlet-heater-cool", r.inletHeaterCool, 0, 1000, "kW"),
        number("--inlet-heater-heat", r.inletHeaterHeat, 0, 1000, "kW"),
        number("--supply-heater", r.supplyHeater, 0, 1000, "kW"), condition("--cool-room", r.coolRoom),
        condition("--cool-outdoor", r.coolOutdoor), condition("--heat-room", r.heatRoom),
        condition("--heat-outdoor", r.heatOutdoor), filter("--filter-supply", r.filterSupply),
        filter("--filter-exhaust", r.filterExhaust)})
    if (!problem.isEmpty()) return problem;
  if (plenums != std::floor(plenums)) return QStringLiteral("--plenums must be 0, 1 or 2");
  r.plenums = int(plenums);
  r.supplyM3h = supply * toM3h;
  r.exhaustM3h = (exhaust > 0 ? exhaust : supply) * toM3h;
  if (supplyTemp >= 0) r.supplyTemp = supplyTemp;
  if (options.Has("--family")) r.family = options.Value("--family");
  r.maxSpeed = options.Value("--max-speed");
  r.unit = options.Value("--unit");
  r.upsideDown = options.Has("--upside-down");
  r.json = options.Has("--json");
  return QString();
}

QJsonObject StateJson(const RepPsychroPoint& p) {
  return QJsonObject{{"DBT", Json(p.DBT)}, {"RH", Json(p.RH)}, {"AH", Json(p.AH)}, {"e", Json(p.e)}};
}

QJsonObject StatesJson(const ALPsychroSet& s) {
  return QJsonObject{{"RA", StateJson(s.RA)}, {"OA", StateJson(s.OA)}, {"EA", StateJson(s.EA)},
                     {"SA", StateJson(s.SA)}, {"VI", StateJson(s.VI)}, {"VO", StateJson(s.VO)},
                     {"CI", StateJson(s.CI)}, {"HI", StateJson(s.HI)}};
}

void PrintStates(QTextStream& out, const ALPsychroSet& s) {
  const std::pair<const char*, const RepPsychroPoint*> rows[] = {{"RA", &s.RA}, {"OA", &s.OA}, {"EA", &s.EA},
                                                                 {"SA", &s.SA}, {"VI", &s.VI}, {"VO", &s.VO},
                                                                 {"CI", &s.CI}, {"HI", &s.HI}};
  out << "    state   DBT °C    RH %   AH g/kg   e kJ/kg\n";
  for (const auto& [name, p] : rows)
    out << "    " << name << "    " << Fixed(p->DBT, 1).rightJustified(7) << Fixed(p->RH, 1).rightJustified(8)
        << Fixed(p->AH * 1000, 2).rightJustified(10) << Fixed(p->e, 2).rightJustified(10) << "\n";
}

struct ModeResult {
  int code = 0;
  QString message;
  ALPsychroSet states;
  double tempEff = 0, enthEff = 0;
  double totalCap = 0, sensibleCap = 0, heatCap = 0;
  double ambientLimit = -273;  // cooling: highest, heating: lowest outdoor temperature without inlet heater
  double humidification = 0;
  ALHeaterSet inlet, supply;
  double latentSavings = 0, sensibleSavings = 0;
};

}  // namespace

int RunFamilies(const QStringList& arguments, QTextStream& out, QTextStream& err) {
  CTCliOptions options(arguments, {}, {"--json"});
  if (!options.Error().isEmpty()) return Fail(err, "families", options.Error() + "\nusage: aerolith-cli families [--json]", kExitUsage);
  CTCatalogueSession session;
  QString error;
  if (!session.Open(error)) return Fail(err, "families", error, kExitFailure);
  return PrintFamilies(session, options.Has("--json"), out);
}

int RunSelect(const QStringList& arguments, QTextStream& out, QTextStream& err) {
  Request r;
  if (const QString problem = ReadRequest(arguments, r); !problem.isEmpty())
    return Fail(err, "select", problem + "\nusage: aerolith-cli select --supply Q [options]; see aerolith-cli --help",
                kExitUsage);
  CTCatalogueSession session;
  QString error;
  if (!session.Open(error)) return Fail(err, "select", error, kExitFailure);

  ObjectList<Cls_HRX> units = session.UnitsOfFamily(r.family);
  if (units.IsEmpty()) {
    QStringList names;
    for (const auto& f : session.Families()) names << f.name;
    return Fail(err, "select", QStringLiteral("unknown family '%1' (families: %2)").arg(r.family, names.join(", ")), kExitUsage);
  }
  const Cls_HRXSpType* maxSpeed = nullptr;
  if (!r.maxSpeed.isEmpty()) {
    maxSpeed = session.Factory().OrderedHrxSpTypes().Search(
        [&](const Cls_HRXSpType* t) { return t->GetName().compare(r.maxSpeed, Qt::CaseInsensitive) == 0; });
    if (!maxSpeed) return Fail(err, "select", QStringLiteral("unknown speed '%1'").arg(r.maxSpeed), kExitUsage);
  }

  int selectionCode = 0;
  ObjectList<Cls_HRX> candidates =
      Cls_HRX::SelectedDevices(units, maxSpeed, r.supplyM3h, r.exhaustM3h, r.espSupply, r.espExhaust, r.filterSupply,
                               r.filterExhaust, r.plenums, selectionCode);
  CTCheckMessages::Context context;
  context.supplyAir = r.supplyM3h;
  context.exhaustAir = r.exhaustM3h;
  if (candidates.IsEmpty() && selectionCode == 0) {
    selectionCode = CTCheckMessages::kNoUnitWithFilter;
    context.filterText = CTCheckMessages::FilterText(r.filterSupply, r.filterExhaust);
  }
  const QString selectionMessage = CTCheckMessages::Text(selectionCode, context);

  Cls_HRX* chosen = candidates.IsEmpty() ? nullptr : candidates.Item(0);
  if (!r.unit.isEmpty()) {
    chosen = candidates.Search([&](const Cls_HRX* c) { return c->GetName().compare(r.unit, Qt::CaseInsensitive) == 0; });
    if (!chosen) return Fail(err, "select", QStringLiteral("'%1' is not among the candidates").arg(r.unit), kExitFailure);
  }

  ModeResult cooling, heating;
  if (chosen) {
    const TAir air(r.altitude);
    context.unit = chosen;
    cooling.inlet.UserHeater = r.inletHeaterCool;
    cooling.code = chosen->SelectForCooling(r.coolRoom.temp, r.coolRoom.rh, r.coolOutdoor.temp, r.coolOutdoor.rh,
                                            r.supplyM3h, r.exhaustM3h, air, r.evaporating, r.discharge, r.upsideDown,
                                            cooling.states, cooling.totalCap, cooling.sensibleCap, cooling.tempEff,
                                            cooling.enthEff, cooling.ambientLimit, cooling.inlet);
    chosen->CalcCoolSavings(cooling.states, r.supplyM3h, air, cooling.latentSavings, cooling.sensibleSavings);
    cooling.message = CTCheckMessages::Text(cooling.code, context);

    // The wanted supply temperature: as given; a fresh-air unit without
    // one aims at its highest table, other units get no supply heater.
    const double supplyTemp =
        r.supplyTemp ? *r.supplyTemp : (chosen->GetType() == Cls_HRX::kFreshAirUnit ? chosen->GetHeatSupplyTemp() : 0);
    context.heatingDischarge = supplyTemp;
    heating.inlet.UserHeater = r.inletHeaterHeat;
    heating.supply.UserHeater = r.supplyHeater;
    heating.code = chosen->SelectForHeating(r.heatRoom.temp, r.heatRoom.rh, r.heatOutdoor.temp, r.heatOutdoor.rh,
                                            r.supplyM3h, r.exhaustM3h, air, supplyTemp, r.upsideDown, heating.states,
                                            heating.heatCap, heating.tempEff, heating.enthEff, heating.ambientLimit,
                                            heating.humidification, heating.inlet, heating.supply);
    chosen->CalcHeatSavings(heating.states, r.supplyM3h, air, heating.latentSavings, heating.sensibleSavings);
    heating.message = CTCheckMessages::Text(heating.code, context);
  }

  if (r.json) {
    QJsonArray list;
    for (const Cls_HRX* c : candidates) {
      QString supplyName, exhaustName;
      c->GetSpeedNames(supplyName, exhaustName);
      list.append(QJsonObject{{"unit", c->GetName()},
                              {"supply_speed", supplyName},
                              {"exhaust_speed", exhaustName},
                              {"supply_margin_pa", Json(c->SupplyMargin())},
                              {"exhaust_margin_pa", Json(c->ExhaustMargin())}});
    }
    QJsonObject result{{"candidates", list},
                       {"selection_code", selectionCode},
                       {"selection_message", selectionMessage},
                       {"unit", chosen ? QJsonValue(chosen->GetQualifiedName()) : QJsonValue()}};
    if (chosen) {
      result["cooling"] = QJsonObject{{"code", cooling.code},
                                      {"message", cooling.message},
                                      {"states", StatesJson(cooling.states)},
                                      {"temperature_efficiency", Json(cooling.tempEff)},
                                      {"enthalpy_efficiency", Json(cooling.enthEff)},
                                      {"total_capacity_kw", Json(cooling.totalCap)},
                                      {"sensible_capacity_kw", Json(cooling.sensibleCap)},
                                      {"max_ambient_temp_c", Json(cooling.ambientLimit)},
                                      {"inlet_heater_kw", Json(cooling.inlet.CalcHeater)},
                                      {"inlet_heater_user_kw", Json(cooling.inlet.UserHeater)},
                                      {"latent_savings_kw", Json(cooling.latentSavings)},
                                      {"sensible_savings_kw", Json(cooling.sensibleSavings)}};
      result["heating"] = QJsonObject{{"code", heating.code},
                                      {"message", heating.message},
                                      {"states", StatesJson(heating.states)},
                                      {"temperature_efficiency", Json(heating.tempEff)},
                                      {"enthalpy_efficiency", Json(heating.enthEff)},
                                      {"heat_capacity_kw", Json(heating.heatCap)},
                                      {"min_ambient_temp_c", Json(heating.ambientLimit)},
                                      {"inlet_heater_kw", Json(heating.inlet.CalcHeater)},
                                      {"inlet_heater_user_kw", Json(heating.inlet.UserHeater)},
                                      {"supply_heater_kw", Json(heating.supply.CalcHeater)},
                                      {"supply_heater_user_kw", Json(heating.supply.UserHeater)},
                                      {"humidification_kgh", Json(heating.humidification)},
                                      {"latent_savings_kw", Json(heating.latentSavings)},
                                      {"sensible_savings_kw", Json(heating.sensibleSavings)}};
    } else {
      result["cooling"] = QJsonValue();
      result["heating"] = QJsonValue();
    }
    out << QJsonDocument(result).toJson(QJsonDocument::Indented);
    return kExitOk;
  }

  out << "Candidates (" << r.family << ", supply " << Fixed(r.supplyM3h, 0) << " m3/h at " << Fixed(r.espSupply, 0)
      << " Pa, exhaust " << Fixed(r.exhaustM3h, 0) << " m3/h at " << Fixed(r.espExhaust, 0) << " Pa):\n";
  if (candidates.IsEmpty()) out << "  none: " << selectionMessage << "\n";
  for (const Cls_HRX* c : candidates) {
    QString supplyName, exhaustName;
    c->GetSpeedNames(supplyName, exhaustName);
    out << "  " << c->GetName().leftJustified(12) << " supply " << supplyName.leftJustified(10) << " exhaust "
        << exhaustName.leftJustified(10) << " margins " << Fixed(c->SupplyMargin(), 1) << " / "
        << Fixed(c->ExhaustMargin(), 1) << " Pa\n";
  }
  if (!chosen) return kExitOk;
  out << "\n" << chosen->GetQualifiedName() << "\n";
  const auto printMode = [&](const char* name, const ModeResult& m, bool isCooling) {
    out << "\n  " << name << ": " << (m.code == 0 ? QStringLiteral("computed") : QStringLiteral("code %1: %2").arg(m.code).arg(m.message))
        << "\n";
    PrintStates(out, m.states);
    out << "    temperature efficiency " << Fixed(m.tempEff, 1) << " %, enthalpy efficiency " << Fixed(m.enthEff, 1)
        << " %\n";
    if (isCooling)
      out << "    coil " << Fixed(m.totalCap, 3) << " kW total, " << Fixed(m.sensibleCap, 3)
          << " kW sensible; highest outdoor temperature without inlet heater " << Fixed(m.ambientLimit, 1) << " °C\n";
    else
      out << "    coil " << Fixed(m.heatCap, 3) << " kW; humidifier " << Fixed(m.humidification, 2)
          << " kg/h; lowest outdoor temperature without inlet heater " << Fixed(m.ambientLimit, 1) << " °C\n";
    out << "    inlet heater " << Fixed(m.inlet.CalcHeater, 3) << " kW needed, " << Fixed(m.inlet.UserHeater, 3)
        << " kW used";
    if (!isCooling)
      out << "; supply heater " << Fixed(m.supply.CalcHeater, 3) << " kW needed, " << Fixed(m.supply.UserHeater, 3)
          << " kW used";
    out << "\n    savings " << Fixed(m.latentSavings, 3) << " kW latent, " << Fixed(m.sensibleSavings, 3)
        << " kW sensible\n";
  };
  printMode("Cooling", cooling, true);
  printMode("Heating", heating, false);
  return kExitOk;
}

}  // namespace AerolithCli
