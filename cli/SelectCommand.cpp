// aerolith-cli families and aerolith-cli select: the selection a user comes
// for, without the window. Both are forms over the selection library: the
// options become a SelectionRequest, CTSelectionRun makes the result, and
// this file only prints it.
//
//   families [--json]
//       every family of the embedded catalogue with its units, their airflow
//       ranges and the family's highest ESP
//   select [options]
//       the candidate units in order, and for the first (or the one named
//       with --unit) the air states of cooling and heating, efficiencies,
//       capacities, heaters, humidification, savings, duct pressures, fan
//       power and every check in words
//
// Defaults are the window's: a room of 100 m2 at 5 m2 and 5 l/s per person,
// ESP 150 Pa, cooling 27 degC with wet bulb 19 degC in a room and 35 degC,
// 50 % outdoors, heating 20 degC, 50 % in a room and 7 degC, 50 % outdoors.
// Physical values go in in SI: temperatures degC, humidity %, pressures Pa,
// heaters kW. Airflows are l/s unless --airflow-unit says otherwise. Values
// outside the window's field ranges are refused; values inside are taken as
// given, to any precision (the window holds what its fields show, in the
// unit in effect). The JSON answers in SI and says so ("units": "si"); the
// text shows the units of --units si|imperial, else those of the user's
// preferences, and names them in its first line. The text's own words and
// every message are in the language of --language.
//
// A mode that ends with a check code (catalogue/CheckCode.h: one of the
// computation, or of the heater check) has no air states: the JSON gives
// its code and message with "computed": false and "states": null (the
// heater check keeps the heaters it compared), the text gives the code and
// message instead of the table.
//
// Exit codes, the same for select, chart, report and material-list: 0 when
// a unit was computed in cooling and in heating; 3 when not (no unit fits, a
// condition had to be corrected, or a mode ended with a check code: the
// output says why, and chart, report and material-list still write what
// they can); 2 for bad options; 1 when the catalogue does not load, the
// unit named with --unit is not a candidate, or a file cannot be written.

#include "catalogue/CoilCapacity.h"
#include "catalogue/ClDeviceOption.h"
#include "catalogue/Factory.h"
#include "charts/ChartSetup.h"
#include "charts/EmfSurface.h"
#include "charts/PainterSurface.h"
#include "catalogue/ClHRXSpType.h"
#include "cli/CliCommands.h"
#include "cli/CliOptions.h"
#include "cli/CliTexts.h"
#include "i18n/BaseMsgMan.h"
#include "i18n/MsgMan.h"
#include "selection/AnnualEnergy.h"
#include "selection/CatalogueSession.h"
#include "selection/Ecodesign.h"
#include "docs/MaterialList.h"
#include "docs/Preferences.h"
#include "docs/PrintParams.h"
#include "docs/Report.h"
#include "psychro/SI_Units.h"
#include "selection/InputFields.h"
#include "selection/OptionSelection.h"
#include "selection/ProjectFile.h"
#include "selection/ResultTexts.h"
#include "selection/SelectionForm.h"
#include "selection/SelectionRun.h"
#include "selection/UnitDatasheet.h"
#include "selection/ValueText.h"

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QSaveFile>

#include <array>
#include <cmath>
#include <map>

namespace AerolithCli {

namespace {

const char* const kStateNames[] = {"RA", "OA", "EA", "SA", "VI", "VO", "CI", "HI"};

constexpr int kMsgNoUnitToSave = 57;
constexpr int kMsgSelectedDevice = 102;
constexpr int kMsgNoUnitForDocuments = 121;

QJsonValue Json(double value) { return std::isfinite(value) ? QJsonValue(value) : QJsonValue(); }
QString Fixed(double value, int digits) {
  return std::isfinite(value) ? TBaseMsg::FormatFixed(value, digits) : QStringLiteral("-");
}
QString Number(double value) { return TBaseMsg::Number2Str(value, 15); }

// "--name must be a, b or c", in the language in effect.
QString MustBeEither(const char* name, const char* choices, const char* last) {
  return CTCliTexts::Get(CTCliTexts::kMustBeEither)
      .arg(QString::fromLatin1(name), QString::fromUtf8(choices), QString::fromUtf8(last));
}

// The line after an option error: "usage: SYNOPSIS".
QString Usage(const char* synopsis) {
  return QLatin1Char('\n') + CTCliTexts::Get(CTCliTexts::kUsage).arg(QString::fromUtf8(synopsis));
}

int Fail(QTextStream& err, const QString& command, const QString& problem, int code) {
  err << "aerolith-cli " << command << ": " << problem << "\n";
  err.flush();
  return code;
}

// ---------------------------------------------------------------- families

int PrintFamilies(const CTCatalogueSession& session, bool json, QTextStream& out) {
  QJsonArray families;
  for (const Cls_HRX::LTFamilyItem& family : session.Families()) {
    const ObjectList<Cls_HRX> units = session.UnitsOfFamilyNamed(family.name);
    double minAirflow = 0, maxAirflow = 0, maxEsp = 0;
    Cls_HRX::GetRanges(units, minAirflow, maxAirflow, maxEsp);
    QJsonArray unitList;
    if (!json)
      out << CTCliTexts::Get(CTCliTexts::kFamilyLine)
                 .arg(family.name, QString::number(family.family), Fixed(maxEsp, 0) + QStringLiteral(" Pa"))
          << "\n";
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

// ---------------------------------------------------------------- reading the request

// What select was asked, beyond the request itself.
struct SelectOptions {
  SelectionRequest request;
  QString unitName;  // --unit: the candidate to compute, by name
  QString inletOptionCool, inletOptionHeat;  // heater options named, resolved on the unit
  bool json = false;
  // --project: the file as read, opened as the window opens it, and the
  // unit it names (computed when it is a candidate).
  std::optional<CTHRXProjectData> project;
  std::optional<LTProjectUnit> projectUnit;
  // Whether options beyond --project change the request.
  bool overrides = false;
  // The modes whose inlet heater the project gives (no --inlet-heater-*).
  bool projectHeaterCool = false, projectHeaterHeat = false;
  QString saveFile;  // --save
  // --discharge and --heat-discharge of a fresh-air unit, checked against
  // the range of the unit computed once it is known.
  bool coolDischargeOption = false, heatDischargeOption = false;
};

class RequestReader {
 public:
  // extraOptions: further options that take a value (those of chart).
  explicit RequestReader(const QStringList& arguments, const QSet<QString>& extraOptions = {},
                         const QSet<QString>& extraFlags = {})
      : v_options(arguments,
                  QSet<QString>{"--family", "--supply", "--exhaust", "--airflow-unit", "--airflow-per-person",
                                "--persons", "--area-per-person", "--room-surface", "--esp-supply", "--esp-exhaust",
                                "--filter-supply", "--filter-exhaust", "--plenums", "--max-speed", "--altitude",
                                "--cool-room", "--cool-outdoor", "--heat-room", "--heat-outdoor", "--evaporating",
                                "--discharge", "--heat-discharge", "--supply-temp", "--inlet-heater-cool",
                                "--inlet-heater-heat", "--supply-heater", "--unit", "--project", "--save", "--distance",
                                "--room-constant"}
                      .unite(extraOptions),
                  QSet<QString>{"--upside-down", "--json"}.unite(extraFlags)) {}
  const CTCliOptions& Options() const { return v_options; }

  // An empty answer means all is well.
  QString Read(const CTCatalogueSession& session, SelectOptions& s);

 private:
  QString AirflowUnit(double& lsPerUnit);
  QString Field(const char* name, CTInputFields::Field field, double& target, double lo, double hi,
                double toBase = 1, const QString& unit = QString());
  QString Field(const char* name, CTInputFields::Field field, double& target) {
    const LTInputField& f = CTInputFields::Spec(field);
    return Field(name, field, target, f.min, f.max);
  }
  QString Condition(const char* name, LTAirCondition& target, CTInputFields::Field dryBulb, bool room);
  QString Filter(const char* name, int& target);
  QString Heater(const char* name, LTModeInputs& mode, QString& optionName);

  CTCliOptions v_options;
};

QString UnitText(U_RepUnit unit) {
  switch (unit) {
    case U_Length: return QStringLiteral("m");
    case U_Airflow: return QStringLiteral("l/s");
    case U_Surface: return QStringLiteral("m2");
    case U_Pressure: return QStringLiteral("Pa");
    case U_Temperature: return QStringLiteral("°C");
    case U_Power: return QStringLiteral("kW");
    default: return QString();
  }
}

QString RequestReader::AirflowUnit(double& lsPerUnit) {
  const QString name = v_options.Has("--airflow-unit") ? v_options.Value("--airflow-unit") : QStringLiteral("ls");
  const std::map<QString, double> units = {{"ls", 1.0}, {"m3h", 1 / UnitFactor::kM3hPerLs}, {"cfm", double(UnitFactor::kLsPerCfm)}};
  if (!units.count(name)) return MustBeEither("--airflow-unit", "ls, m3h", "cfm");
  lsPerUnit = units.at(name);
  return QString();
}

// A number option within lo..hi (in the option's own unit, toBase times the
// base unit); not given leaves the target as it is.
QString RequestReader::Field(const char* name, CTInputFields::Field field, double& target, double lo, double hi,
                             double toBase, const QString& unit) {
  if (!v_options.Has(name)) return QString();
  const std::optional<double> value = v_options.Number(name);
  if (!value) return v_options.Error();
  const double inBase = *value * toBase;
  // A little slack for the unit conversion of the bounds.
  const double slack = 1e-9 * std::max(1.0, std::fabs(hi));
  if (!(inBase >= lo - slack && inBase <= hi + slack)) {
    const QString shown = unit.isEmpty() ? UnitText(CTInputFields::Spec(field).unit) : unit;
    return CTCliTexts::Get(CTCliTexts::kMustBeBetween)
        .arg(QString::fromLatin1(name), Number(lo / toBase),
             Number(hi / toBase) + (shown.isEmpty() ? QString() : QLatin1Char(' ') + shown));
  }
  // Taken as given: a script states engineering values, not the positions
  // of a field (the window's fields hold what they show).
  target = inBase;
  return QString();
}

// "T,RH" (relative humidity, %) or "T,wbX" (wet bulb X degC).
QString RequestReader::Condition(const char* name, LTAirCondition& target, CTInputFields::Field dryBulb, bool room) {
  if (!v_options.Has(name)) return QString();
  const QStringList parts = v_options.Value(name).split(QLatin1Char(','));
  LTAirCondition c;
  QString humidity = parts.size() == 2 ? parts[1].trimmed() : QString();
  c.humidityMode = humidity.startsWith(QLatin1String("wb"), Qt::CaseInsensitive) ? HumidityMode::kWetBulb
                                                                                   : HumidityMode::kRelativeHumidity;
  if (c.humidityMode == HumidityMode::kWetBulb) humidity = humidity.mid(2);
  if (parts.size() != 2 || !TBaseMsg::TryParseNumber(parts[0].trimmed(), c.dryBulbC) ||
      !TBaseMsg::TryParseNumber(humidity, c.humidity))
    return CTCliTexts::Get(CTCliTexts::kConditionSyntax).arg(QString::fromLatin1(name));
  const auto outside = [&](const LTInputField& f, double v, CTCliTexts::Text what) {
    if (v >= f.min && v <= f.max) return QString();
    return CTCliTexts::Get(what).arg(QString::fromLatin1(name), Number(f.min),
                                     Number(f.max) + QLatin1Char(' ') +
                                         (f.unit == U_None ? QStringLiteral("%") : UnitText(f.unit)));
  };
  using F = CTInputFields;
  if (QString p = outside(F::Spec(dryBulb), c.dryBulbC, CTCliTexts::kTemperatureBetween); !p.isEmpty()) return p;
  const bool wetBulb = c.humidityMode == HumidityMode::kWetBulb;
  const F::Field humidityField = wetBulb ? (room ? F::kRoomWetBulb : F::kOutdoorWetBulb) : F::kRelativeHumidity;
  if (QString p = outside(F::Spec(humidityField), c.humidity,
                          wetBulb ? CTCliTexts::kWetBulbBetween : CTCliTexts::kHumidityBetween);
      !p.isEmpty())
    return p;
  target = c;
  return QString();
}

QString RequestReader::Filter(const char* name, int& target) {
  if (!v_options.Has(name)) return QString();
  const int filterClass = Cls_HRX::FilterClassOf(v_options.Value(name));
  if (filterClass >= 0) return target = filterClass, QString();
  return MustBeEither(name, "none, F6, F7", "F8");
}

// "calc", a size in kW, or the name of one of the unit's heater options.
QString RequestReader::Heater(const char* name, LTModeInputs& mode, QString& optionName) {
  if (!v_options.Has(name)) return QString();
  const QString text = v_options.Value(name).trimmed();
  if (text.compare(QLatin1String("calc"), Qt::CaseInsensitive) == 0) {
    mode.inletHeater = HeaterChoice::kCalculated;
    return QString();
  }
  double kW = 0;
  if (!TBaseMsg::TryParseNumber(text, kW)) {
    optionName = text;
    mode.inletHeater = HeaterChoice::kOption;
    return QString();
  }
  if (QString p = Field(name, CTInputFields::kHeater, mode.inletHeaterKW); !p.isEmpty()) return p;
  mode.inletHeater = HeaterChoice::kUserValue;
  return QString();
}

QString RequestReader::Read(const CTCatalogueSession& session, SelectOptions& s) {
  if (!v_options.Error().isEmpty()) return v_options.Error();
  SelectionRequest& r = s.request;
  using F = CTInputFields;
  double lsPerUnit = 1;
  if (QString p = AirflowUnit(lsPerUnit); !p.isEmpty()) return p;
  const QString airflowUnit = v_options.Has("--airflow-unit") ? v_options.Value("--airflow-unit") : QStringLiteral("l/s");

  // A project's inputs first; the options given override them.
  if (v_options.Has("--project")) {
    CTHRXProjectData data;
    ProjectFormat format;
    LTProjectError error;
    if (!CTHRXProjectIO::ReadProjectData(v_options.Value("--project"), CTProjectMapping::OptionIdentities(session), data,
                                         format, error))
      return error.Text();
    r = CTProjectMapping::ToRequest(data, r);
    s.projectUnit = CTProjectMapping::Unit(data);
    s.project = data;
  }
  QString familyName = v_options.Has("--family") ? v_options.Value("--family") : QStringLiteral("HRX");
  if (s.projectUnit && !v_options.Has("--family")) {
    familyName = Cls_HRX::Family2Str(r.family);
    if (session.UnitsOfFamily(r.family).IsEmpty())
      return CTCliTexts::Get(CTCliTexts::kProjectFamilyMissing).arg(QString::number(r.family));
  }
  r.family = session.FamilyNumber(familyName);
  if (r.family < 0) {
    QStringList names;
    for (const auto& f : session.Families()) names << f.name;
    return CTCliTexts::Get(CTCliTexts::kUnknownFamily).arg(familyName, names.join(", "));
  }
  const LTFamilyRanges ranges = CTSelectionRun::FamilyRanges(session, r.family);

  // The airflow: totals when --supply is given, else persons or area.
  if (v_options.Has("--supply")) r.basis = AirflowBasis::kTotals;
  else if (v_options.Has("--persons")) r.basis = AirflowBasis::kByPersons;
  r.exhaustGiven = r.exhaustGiven || v_options.Has("--exhaust");
  const QString familyRange = CTCliTexts::Get(CTCliTexts::kForFamily).arg(airflowUnit, familyName);
  // A fresh-air unit offers the discharge settings of its capacity tables,
  // which RunRequest checks on the unit; other families keep the field's.
  const LTFamilyTraits traits = CTSelectionForm::Traits(r.family);
  const bool unitDischarge = traits.discharge;
  const auto discharge = [&](const char* name, F::Field field, double& target) {
    if (!unitDischarge || !v_options.Has(name)) return Field(name, field, target);
    const std::optional<double> value = v_options.Number(name);
    if (!value) return v_options.Error();
    target = *value;
    return QString();
  };
  for (const QString& problem :
       {Field("--supply", F::kTotalSupply, r.totalSupplyLs, ranges.minAirflowLs, ranges.maxAirflowLs, lsPerUnit, familyRange),
        Field("--exhaust", F::kTotalExhaust, r.totalExhaustLs, ranges.minAirflowLs, ranges.maxAirflowLs, lsPerUnit, familyRange),
        Field("--airflow-per-person", F::kAirflowPerPerson, r.airflowPerPersonLs, F::Spec(F::kAirflowPerPerson).min,
              F::Spec(F::kAirflowPerPerson).max, lsPerUnit, airflowUnit),
        Field("--persons", F::kPersons, r.persons), Field("--area-per-person", F::kAreaPerPerson, r.areaPerPersonM2),
        Field("--room-surface", F::kRoomSurface, r.roomSurfaceM2),
        Field("--esp-supply", F::kSupplyEsp, r.supplyEspPa, 0, ranges.maxEspPa),
        Field("--esp-exhaust", F::kExhaustEsp, r.exhaustEspPa, 0, ranges.maxEspPa),
        Field("--altitude", F::kAltitude, r.altitudeM), Filter("--filter-supply", r.supplyFilter),
        Filter("--filter-exhaust", r.exhaustFilter),
        Condition("--cool-room", r.cooling.room, F::kCoolRoomDryBulb, true),
        Condition("--cool-outdoor", r.cooling.outdoor, F::kCoolOutdoorDryBulb, false),
        Condition("--heat-room", r.heating.room, F::kHeatRoomDryBulb, true),
        Condition("--heat-outdoor", r.heating.outdoor, F::kHeatOutdoorDryBulb, false),
        discharge("--discharge", F::kCoolDischarge, r.cooling.dischargeC),
        discharge("--heat-discharge", F::kHeatDischarge, r.heating.dischargeC),
        Field("--supply-temp", F::kSupplyTemp, r.heating.supplyTempC),
        Field("--supply-heater", F::kHeater, r.heating.supplyHeaterKW),
        Heater("--inlet-heater-cool", r.cooling, s.inletOptionCool),
        Heater("--inlet-heater-heat", r.heating, s.inletOptionHeat),
        Field("--distance", F::kSoundDistance, r.soundDistanceM),
        Field("--room-constant", F::kRoomConstant, r.roomConstantM2)})
    if (!problem.isEmpty()) return problem;
  // Options that say how to run or where to write change nothing of the request.
  static const QSet<QString> kNotRequest{"--project", "--json",  "--save",    "--units", "--out",
                                         "--size",    "--mode",  "--diagram", "--unit",  "--airflow-unit",
                                         // the year's inputs change no selection: the form takes them after it
                                         "--climate", "--schedule", "--prices", "--rank"};
  for (const QString& name : v_options.Names()) s.overrides = s.overrides || !kNotRequest.contains(name);
  s.projectHeaterCool = s.projectUnit && !v_options.Has("--inlet-heater-cool");
  s.projectHeaterHeat = s.projectUnit && !v_options.Has("--inlet-heater-heat");
  s.coolDischargeOption = unitDischarge && v_options.Has("--discharge");
  s.heatDischargeOption = unitDischarge && v_options.Has("--heat-discharge");
  r.cooling.dischargeGiven = r.cooling.dischargeGiven || v_options.Has("--discharge");
  r.heating.dischargeGiven = r.heating.dischargeGiven || v_options.Has("--heat-discharge");
  r.heating.supplyTempGiven = r.heating.supplyTempGiven || v_options.Has("--supply-temp");
  if (v_options.Has("--supply-heater")) r.heating.supplyHeater = HeaterChoice::kUserValue;

  // The filter rows exist for the plain family only.
  for (const char* filter : {"--filter-supply", "--filter-exhaust"})
    if (v_options.Has(filter) && !traits.filters)
      return CTCliTexts::Get(CTCliTexts::kFamilyOnly)
          .arg(QString::fromLatin1(filter), Cls_HRX::Family2Str(Cls_HRX::kPlainUnit));
  if (v_options.Has("--plenums")) {
    const QString p = v_options.Value("--plenums");
    if (p != QLatin1String("0") && p != QLatin1String("1") && p != QLatin1String("2"))
      return MustBeEither("--plenums", "0, 1", "2");
    r.plenum = PlenumArrangement(p.toInt());
  }
  if (v_options.Has("--evaporating")) {
    const std::optional<double> te = v_options.Number("--evaporating");
    if (!te) return v_options.Error();
    const auto& offered = CTCoilCapacity::kOfferedTEs;
    if (std::find(offered.begin(), offered.end(), *te) == offered.end())
      return MustBeEither("--evaporating", "6, 9", "11 °C");
    r.evaporatingC = *te;
  }
  if (v_options.Has("--max-speed")) {
    const QString wanted = v_options.Value("--max-speed");
    const auto it = std::find_if(ranges.speedTypes.begin(), ranges.speedTypes.end(), [&](const LTSpeedTypeItem& t) {
      return t.name.compare(wanted, Qt::CaseInsensitive) == 0;
    });
    if (it == ranges.speedTypes.end()) return CTCliTexts::Get(CTCliTexts::kUnknownSpeed).arg(wanted);
    r.maxSpeedTypeID = it->id;
  }
  r.upsideDown = r.upsideDown || v_options.Has("--upside-down");
  s.unitName = v_options.Value("--unit");
  s.saveFile = v_options.Value("--save");
  s.json = v_options.Has("--json");
  return QString();
}

// ---------------------------------------------------------------- the result as JSON

// The states the family shows (LTFamilyLayout), the others left out.
QJsonObject StatesJson(const LTModeResult& m, const LTFamilyLayout& layout) {
  const RepPsychroPoint* points[] = {&m.states.RA, &m.states.OA, &m.states.EA, &m.states.SA,
                                     &m.states.VI, &m.states.VO, &m.states.CI, &m.states.HI};
  QJsonObject states;
  for (std::size_t i = 0; i < 8; ++i) {
    if (!layout.points[i]) continue;
    const RepPsychroPoint& p = *points[i];
    states[kStateNames[i]] = QJsonObject{{"DBT", Json(p.DBT)}, {"WB", Json(m.wetBulbC[i])}, {"RH", Json(p.RH)},
                                         {"AH", Json(p.AH)},   {"e", Json(p.e)}};
  }
  return states;
}

QJsonValue HeaterJson(double kW) { return kW > Sentinel::kNotGiven ? Json(kW) : QJsonValue(); }

// The heaters of a mode: the calculated minimum (and with withUser the
// user's size) of the inlet heater, and where the family shows one (plain
// units in heating) of the supply heater.
void AddHeatersJson(QJsonObject& o, const LTModeResult& m, const LTFamilyLayout& layout, bool withUser) {
  o["inlet_heater_kw"] = Json(m.inletHeater.CalcHeater);
  if (withUser) o["inlet_heater_user_kw"] = HeaterJson(m.inletHeater.UserHeater);
  if (!layout.supplyHeater) return;
  o["supply_heater_kw"] = Json(m.supplyHeater.CalcHeater);
  if (withUser) o["supply_heater_user_kw"] = HeaterJson(m.supplyHeater.UserHeater);
}

// A mode that ran: its code and message always; the figures only when it
// succeeded, since a failed check leaves the states as the inputs were
// (supply = outdoor air), not as the unit would make them. The heater check
// (CheckCode::kInletHeaterTooSmall, kSupplyHeaterTooSmall) failed after a
// sound computation: it keeps the calculated minimum heaters, the sizes its
// message asks for (the user's sizes are the options given; the computation
// raised them to the minimum).
// A mode that did not run is null. The figures are those the family shows
// (LTFamilyLayout); the others are left out.
QJsonValue ModeJson(const LTModeResult& m, bool cooling, const LTFamilyLayout& layout) {
  if (!m.computed) return QJsonValue();
  QJsonObject o{{"computed", m.Succeeded()}, {"code", m.code}, {"message", m.message}};
  const bool heaterCheck = m.FailedHeaterCheck();
  const QJsonObject heaterCheckJson{{"code", heaterCheck ? m.code : 0}, {"message", heaterCheck ? m.message : QString()}};
  if (!m.Succeeded()) {
    o["states"] = QJsonValue();
    if (!heaterCheck) return o;
    AddHeatersJson(o, m, layout, false);
    o["heater_check"] = heaterCheckJson;
    return o;
  }
  o["states"] = StatesJson(m, layout);
  if (layout.efficiencies) {
    o["temperature_efficiency"] = Json(m.temperatureEff);
    o["enthalpy_efficiency"] = Json(m.enthalpyEff);
  }
  AddHeatersJson(o, m, layout, true);
  if (layout.savings) {
    o["latent_savings_kw"] = Json(m.latentSavingsKW);
    o["sensible_savings_kw"] = Json(m.sensibleSavingsKW);
    o["savings_total_kw"] = Json(m.totalSavingsKW);
  }
  if (layout.supplyTemp) {
    o["discharge_temp_c"] = Json(m.dischargeC);
    o["supply_temp_c"] = Json(m.supplyTempC);
    o["shortfall_k"] = Json(m.shortfallK);
  }
  o["coil_limited"] = m.coilLimited;
  o["notes"] = QJsonArray::fromStringList(m.notes);
  const QJsonValue limit = m.ambientLimitC == Sentinel::kNoTemperature ? QJsonValue() : Json(m.ambientLimitC);
  if (cooling) {
    if (layout.capacities) o["total_capacity_kw"] = Json(m.totalCapKW);
    if (layout.sensibleCapacity) o["sensible_capacity_kw"] = Json(m.sensibleCapKW);
    o["max_ambient_temp_c"] = limit;
  } else {
    if (layout.capacities) o["heat_capacity_kw"] = Json(m.heatCapKW);
    o["min_ambient_temp_c"] = limit;
    if (layout.humidification) o["humidification_kgh"] = Json(m.humidificationKgh);
  }
  o["heater_check"] = heaterCheckJson;
  return o;
}

// The unit under the ecodesign regulation; a unit it does not cover gives
// its typology and why, without figures.
QJsonObject EcodesignJson(const LTEcodesign& e) {
  static const char* const kTypologies[] = {"non_residential_bidirectional", "residential", "with_heat_pump",
                                            "unidirectional"};
  static const char* const kHrsTypes[] = {"plate", "rotary", "run_around_coil", "other"};
  const bool knownTypology = e.typology >= 0 && e.typology < int(std::size(kTypologies));
  QJsonObject o{{"covered", e.covered},
                {"typology", knownTypology ? QJsonValue(kTypologies[e.typology]) : QJsonValue()}};
  if (!e.covered) {
    o["reason"] = CTEcodesign::NotCoveredReason(e);
    return o;
  }
  const bool knownHrs = e.hrsType >= 0 && e.hrsType < int(std::size(kHrsTypes));
  o["hrs_type"] = knownHrs ? QJsonValue(kHrsTypes[e.hrsType]) : QJsonValue();
  o["drive"] = e.drive == Cls_HRXEcodesign::kVariableSpeed ? "variable_speed" : "multi_speed";
  o["thermal_efficiency"] = Json(e.thermalEfficiency);
  o["qnom_m3s"] = Json(e.qnomM3s);
  o["nominal_pressure_pa"] = Json(e.nominalPressurePa);
  o["fine_filter"] = e.fineFilter;
  o["medium_filter"] = e.mediumFilter;
  o["efficiency_bonus"] = Json(e.efficiencyBonus);
  o["filter_correction"] = Json(e.filterCorrection);
  o["internal_drop_supply_pa"] = Json(e.internalDropSupplyPa);
  o["internal_drop_exhaust_pa"] = Json(e.internalDropExhaustPa);
  o["fan_static_efficiency"] = Json(e.fanStaticEfficiency);
  o["sfpint_w_per_m3s"] = Json(e.sfpint);
  o["sfpint_limit_w_per_m3s"] = Json(e.sfpintLimit);
  o["min_thermal_efficiency"] = Json(e.minThermalEfficiency);
  o["meets_efficiency"] = e.meetsEfficiency;
  o["meets_sfpint"] = e.meetsSfpint;
  o["effective_power_kw"] = Json(e.effectivePowerKW);
  o["face_velocity_ms"] = Json(e.faceVelocityMs);
  o["external_leakage_pct"] = Json(e.externalLeakagePct);
  o["internal_leakage_pct"] = Json(e.internalLeakagePct);
  o["casing_lwa_db"] = Json(e.casingLwa);
  return o;
}

QJsonArray BandsJson(const Sound::Bands& bands) {
  QJsonArray a;
  for (const double level : bands) a.append(Json(level));
  return a;
}

// The five paths at the operating point; null for a unit without sound data.
QJsonValue SoundJson(const LTSound& s) {
  if (!s.known) return QJsonValue();
  static const char* const kPaths[] = {"supply_outlet", "outdoor_inlet", "extract_inlet", "exhaust_outlet", "casing"};
  QJsonArray hz;
  for (const int band : Sound::kBandsHz) hz.append(band);
  QJsonObject o{{"bands_hz", hz}};
  for (int i = 0; i < Cls_HRXSound::kPathCount; ++i) {
    const LTSoundPath& p = s.paths[std::size_t(i)];
    o[kPaths[i]] = QJsonObject{{"lw_db", BandsJson(p.lw)},
                               {"lwa_db", Json(p.lwa)},
                               {"reference_lw_db", BandsJson(p.referenceLw)},
                               {"reference_airflow_ls", Json(p.referenceAirflowLs)},
                               {"reference_pressure_pa", Json(p.referencePressurePa)},
                               {"airflow_ls", Json(p.airflowLs)},
                               {"pressure_pa", Json(p.pressurePa)}};
  }
  o["room"] = QJsonObject{{"distance_m", Json(s.distanceM)},
                          {"room_constant_m2", Json(s.roomConstantM2)},
                          {"lp_db", BandsJson(s.roomLp)},
                          {"lpa_db", Json(s.roomLpA)}};
  return o;
}

// A family without an exhaust fan moves supply air alone: no exhaust
// airflow, pressure, speed or margin is given for it.
QJsonObject ResultJson(const SelectionResult& result) {
  const bool exhaustFan = Cls_HRX::HasExhaustFan(result.family);
  QJsonArray list;
  for (const LTCandidate& c : result.rows) {
    QJsonObject row{{"unit", c.name},
                    {"supply_speed", c.supplySpeed},
                    {"plenum", c.hasPlenum},
                    {"supply_margin_pa", Json(c.supplyMarginPa)}};
    if (exhaustFan) {
      row["exhaust_speed"] = c.exhaustSpeed;
      row["exhaust_margin_pa"] = Json(c.exhaustMarginPa);
    }
    list.append(row);
  }
  QJsonObject o{{"units", "si"},
                {"candidates", list},
                {"selection_code", result.selectionCode},
                {"selection_message", result.selectionMessage},
                {"supply_ls", Json(result.supplyLs)},
                {"supply_esp_pa", Json(result.supplyEspPa)},
                {"altitude_m", Json(result.altitudeM)},
                {"plenum_available", result.plenumAvailable}};
  if (exhaustFan) {
    o["exhaust_ls"] = Json(result.exhaustLs);
    o["exhaust_esp_pa"] = Json(result.exhaustEspPa);
  }
  if (result.airflowCorrected)
    o["airflow_correction"] = QJsonObject{{"area_per_person_m2", Json(result.areaPerPersonM2)},
                                          {"persons", Json(result.persons)}};
  QJsonArray corrections;
  if (const auto& c = result.correction) {
    static const char* const kFields[] = {"outdoor_dry_bulb_c", "room_wet_bulb_c", "outdoor_wet_bulb_c"};
    corrections.append(QJsonObject{{"mode", c->cooling ? "cooling" : "heating"},
                                   {"field", kFields[int(c->field)]},
                                   {"from", Json(c->fromC)},
                                   {"to", Json(c->toC)},
                                   {"message", c->message}});
  }
  o["condition_corrections"] = corrections;
  const Cls_HRX* unit = result.Current();
  o["unit"] = unit ? QJsonValue(result.unitName) : QJsonValue();
  o["cooling"] = ModeJson(result.cooling, true, CTResultTexts::Layout(result.family, result.hasHumidifier, true));
  o["heating"] = ModeJson(result.heating, false, CTResultTexts::Layout(result.family, result.hasHumidifier, false));
  if (!unit) return o;
  const auto side = [](const LTEspSide& s) {
    return std::tuple{Json(s.filterPa), Json(s.plenumPa), Json(s.additionalPa)};
  };
  const auto [sf, sp, sa] = side(result.supplySide);
  QJsonObject esp{{"supply_filter_pa", sf}, {"supply_plenum_pa", sp}, {"supply_additional_pa", sa}};
  if (result.exhaustSideShown) {
    const auto [ef, ep, ea] = side(result.exhaustSide);
    esp["exhaust_filter_pa"] = ef;
    esp["exhaust_plenum_pa"] = ep;
    esp["exhaust_additional_pa"] = ea;
  }
  o["esp"] = esp;
  o["ratios"] = QJsonObject{{"exhaust_supply", Json(result.exhaustSupplyRatio)},
                            {"supply_nominal", Json(result.supplyNominalRatio)}};
  o["upside_down"] = result.upsideDown;
  if (result.fans.known) {
    o["fan_power_kw"] = Json(result.fans.totalKW);
    o["sfp_kw_per_m3s"] = Json(result.fans.sfpKWPerM3s);
    o["sfp_class"] = result.fans.sfpClass;
  } else {
    o["fan_power_kw"] = o["sfp_kw_per_m3s"] = o["sfp_class"] = QJsonValue();
  }
  o["ecodesign"] = EcodesignJson(result.ecodesign);
  o["sound"] = SoundJson(result.sound);
  return o;
}

// The catalogue data the Database tab shows.
QJsonObject DatasheetJson(const LTDatasheet& d) {
  QJsonArray options;
  for (const LTOptionData& o : d.options)
    options.append(QJsonObject{{"name", o.name},
                               {"type", Cls_DeviceOption::TypeString(o.type)},
                               {"description", o.description},
                               {"mca", o.mca}});
  return QJsonObject{
      {"dimensions_mm", d.widthMm * d.heightMm * d.depthMm > 0 ? QJsonValue(QJsonArray{d.widthMm, d.heightMm, d.depthMm})
                                                            : QJsonValue()},
      {"weight_kg", d.weightKg > 0 ? Json(d.weightKg) : QJsonValue()},
      {"power_supply", d.hasPowerSupply ? QJsonValue(d.powerSupply) : QJsonValue()},
      {"mca_a", d.hasElectrical && d.mcaA > 0 ? Json(d.mcaA) : QJsonValue()},
      {"duct_diameter_mm", d.ductDiameterMm > 0 ? Json(d.ductDiameterMm) : QJsonValue()},
      {"nominal_airflow_ls", Json(d.nominalAirflowLs)},
      {"options", options}};
}

// ---------------------------------------------------------------- the result as text

// The units of one command: the window's dimensions, then the user's
// preferences or the set asked for; what was in effect comes back after.
class UnitsInEffect {
 public:
  enum Choice { kPreferences, kSI, kImperial };
  explicit UnitsInEffect(Choice choice) : v_choice(choice) {
    TU_Form::AddApplicationDimensions();
    for (int u = 0; u < kUnitCount; ++u) v_before[u] = TU_Form::GetNewIndex(u);
    if (choice == kPreferences) CTPreferences::ReadRegistry();
    else if (choice == kImperial) TU_Form::SelectImperialDefaults();
    else TU_Form::SelectSIDefaults();
  }
  ~UnitsInEffect() {
    for (int u = 0; u < kUnitCount; ++u)
      if (TU_Form::Unit(u)) TU_Form::SetNewIndex(u, v_before[u]);
  }
  UnitsInEffect(const UnitsInEffect&) = delete;
  UnitsInEffect& operator=(const UnitsInEffect&) = delete;

  // The first line of a text output: where the units come from and the
  // symbols of the quantities the text shows, in the order of the state
  // table, then airflow, pressure and power.
  QString Line() const {
    const QString symbols = QStringList{TU_Form::GetCurrentString(U_Temperature), QStringLiteral("%"),
                                        TU_Form::GetCurrentString(U_Humidity),    TU_Form::GetCurrentString(U_Enthalpy),
                                        TU_Form::GetCurrentString(U_Airflow),     TU_Form::GetCurrentString(U_Pressure),
                                        TU_Form::GetCurrentString(U_Power)}
                                .join(QStringLiteral(", "));
    const CTCliTexts::Text line = v_choice == kSI         ? CTCliTexts::kUnitsSI
                                  : v_choice == kImperial ? CTCliTexts::kUnitsImperial
                                                          : CTCliTexts::kUnitsPreferences;
    return CTCliTexts::Get(line).arg(symbols);
  }

 private:
  Choice v_choice;
  std::array<int, kUnitCount> v_before{};
};

// --units si|imperial, shared by select and report; without it, fallback.
// An empty answer means all is well.
QString ReadUnits(const CTCliOptions& options, UnitsInEffect::Choice fallback, UnitsInEffect::Choice& choice) {
  choice = fallback;
  if (!options.Has("--units")) return QString();
  const QString units = options.Value("--units");
  if (units == QLatin1String("si")) choice = UnitsInEffect::kSI;
  else if (units == QLatin1String("imperial")) choice = UnitsInEffect::kImperial;
  else return MustBeEither("--units", "si", "imperial");
  return QString();
}

// Values in the units in effect, as the window shows them; without the
// unit when the column heading names it.
QString Shown(double value, U_RepUnit unit, bool absolute = true) {
  return TU_Form::PutFmtDimensionedValue(value, unit, 0, absolute).trimmed();
}
QString WithUnit(double value, U_RepUnit unit, bool absolute = true) { return ValueText::Dimensioned(value, unit, absolute); }
QString Power(double kW) { return WithUnit(kW, U_Power, false); }

// Rows of text in columns, each column as wide as its widest cell and two
// spaces from the next; columns marked in rightAligned are aligned right
// (numbers), the others left. Widths count characters, so translated
// headings of any length keep the columns straight.
void PrintColumns(QTextStream& out, const QString& indent, const QList<QStringList>& rows,
                  const QList<bool>& rightAligned = {}) {
  QList<qsizetype> widths;
  for (const QStringList& row : rows)
    for (qsizetype i = 0; i < row.size(); ++i) {
      if (widths.size() <= i) widths.append(0);
      widths[i] = std::max(widths[i], row[i].size());
    }
  for (const QStringList& row : rows) {
    QString line = indent;
    for (qsizetype i = 0; i < row.size(); ++i) {
      if (i > 0) line += QStringLiteral("  ");
      line += rightAligned.value(i) ? row[i].rightJustified(widths[i]) : row[i].leftJustified(widths[i]);
    }
    // No blanks at the end of a line.
    while (line.endsWith(QLatin1Char(' '))) line.chop(1);
    out << line << "\n";
  }
}

// The heaters of a mode as label and value rows: the inlet heater's size
// as computed (when there is one, as in the window; withUser) and its
// calculated minimum, and the same of the supply heater where the family
// shows one (plain units in heating).
QList<QStringList> HeaterRows(const LTModeResult& m, const LTFamilyLayout& layout, bool withUser) {
  using T = CTCliTexts;
  QList<QStringList> rows;
  if (withUser && m.inletHeater.UserHeater > 0)
    rows << QStringList{T::Get(T::kInletHeaterUser), Power(m.inletHeater.UserHeater)};
  rows << QStringList{T::Get(T::kInletHeaterCalculated), Power(m.inletHeater.CalcHeater)};
  if (!layout.supplyHeater) return rows;
  if (withUser && m.supplyHeater.UserHeater > 0)
    rows << QStringList{T::Get(T::kSupplyHeaterUser), Power(m.supplyHeater.UserHeater)};
  rows << QStringList{T::Get(T::kSupplyHeaterCalculated), Power(m.supplyHeater.CalcHeater)};
  return rows;
}

// "Cooling: code 13: The ambient air ..." for a mode that was not computed,
// empty for one that was.
QString ModeProblem(CTCliTexts::Text name, const LTModeResult& m) {
  using T = CTCliTexts;
  if (m.Succeeded()) return QString();
  const QString what = m.computed ? T::Get(T::kCode).arg(QString::number(m.code), m.message) : T::Get(T::kNotComputed);
  return T::Get(name) + QStringLiteral(": ") + what;
}

// A mode: its states and figures when it succeeded, those the family shows
// (LTFamilyLayout); otherwise its code and message (the states would only
// repeat the inputs), and for the heater check the calculated minimum
// heaters its message asks for.
void PrintMode(QTextStream& out, CTCliTexts::Text name, const LTModeResult& m, bool cooling,
               const LTFamilyLayout& layout, double deltaEnthalpy) {
  using T = CTCliTexts;
  out << "\n";
  if (!m.Succeeded()) {
    out << "  " << ModeProblem(name, m) << "\n";
    if (m.FailedHeaterCheck()) PrintColumns(out, QStringLiteral("    "), HeaterRows(m, layout, false));
    return;
  }
  out << "  " << T::Get(name) << ": " << T::Get(T::kComputed) << "\n";
  const RepPsychroPoint* points[] = {&m.states.RA, &m.states.OA, &m.states.EA, &m.states.SA,
                                     &m.states.VI, &m.states.VO, &m.states.CI, &m.states.HI};
  const QString temperature = TU_Form::GetCurrentString(U_Temperature);
  QList<QStringList> states{
      {T::Get(T::kState), T::Get(T::kDryBulb), T::Get(T::kWetBulb), T::Get(T::kRelativeHumidity),
       T::Get(T::kAbsoluteHumidity), T::Get(T::kEnthalpy)},
      {QString(), temperature, temperature, QStringLiteral("%"), TU_Form::GetCurrentString(U_Humidity),
       TU_Form::GetCurrentString(U_Enthalpy)}};
  for (std::size_t i = 0; i < 8; ++i) {
    if (!layout.points[i]) continue;
    const RepPsychroPoint& p = *points[i];
    states << QStringList{T::StateTitle(int(i)),         Shown(p.DBT, U_Temperature), Shown(m.wetBulbC[i], U_Temperature),
                          Fixed(p.RH, 1),                Shown(p.AH, U_Humidity),     Shown(p.e + deltaEnthalpy, U_Enthalpy)};
  }
  PrintColumns(out, QStringLiteral("    "), states, {false, true, true, true, true, true});

  const QString limit = m.ambientLimitC == Sentinel::kNoTemperature ? QStringLiteral("-") : WithUnit(m.ambientLimitC, U_Temperature);
  QList<QStringList> figures;
  if (layout.efficiencies)
    figures << QStringList{T::Get(T::kTemperatureEfficiency), Fixed(m.temperatureEff, 1) + QStringLiteral(" %")}
            << QStringList{T::Get(T::kEnthalpyEfficiency), Fixed(m.enthalpyEff, 1) + QStringLiteral(" %")};
  if (layout.supplyTemp) figures << QStringList{T::Get(T::kSupplyTemperature), WithUnit(m.supplyTempC, U_Temperature)};
  if (layout.capacities)
    figures << QStringList{T::Get(cooling ? T::kTotalCoolingCapacity : T::kHeatingCapacity),
                           Power(cooling ? m.totalCapKW : m.heatCapKW)};
  if (layout.sensibleCapacity && cooling)
    figures << QStringList{T::Get(T::kSensibleCoolingCapacity), Power(m.sensibleCapKW)};
  if (layout.humidification)
    figures << QStringList{T::Get(T::kHumidificationAmount), Fixed(m.humidificationKgh, 2) + QStringLiteral(" kg/h")};
  figures << QStringList{T::Get(cooling ? T::kInletHeaterAbove : T::kInletHeaterBelow), limit};
  figures << HeaterRows(m, layout, true);
  if (layout.savings)
    figures << QStringList{T::Get(T::kLatentSavings), Power(m.latentSavingsKW)}
            << QStringList{T::Get(T::kSensibleSavings), Power(m.sensibleSavingsKW)}
            << QStringList{T::Get(T::kTotalSavings), Power(m.totalSavingsKW)};
  out << "\n";
  PrintColumns(out, QStringLiteral("    "), figures);
  for (const QString& note : m.notes) out << "    " << note << "\n";
}

void PrintResult(QTextStream& out, const UnitsInEffect& units, const QString& family, const SelectionResult& result) {
  using T = CTCliTexts;
  const auto airflow = [](double ls) { return WithUnit(ls, U_Airflow, false); };
  const auto pressure = [](double pa) { return WithUnit(pa, U_Pressure, false); };
  out << units.Line() << "\n\n";
  // A family without an exhaust fan moves supply air alone: its list has
  // no exhaust speed or margin.
  const bool exhaustFan = Cls_HRX::HasExhaustFan(result.family);
  if (exhaustFan)
    out << T::Get(T::kCandidates)
               .arg(family, airflow(result.supplyLs), pressure(result.supplyEspPa), airflow(result.exhaustLs),
                    pressure(result.exhaustEspPa));
  else
    out << T::Get(T::kSupplyCandidates).arg(family, airflow(result.supplyLs), pressure(result.supplyEspPa));
  out << "\n";
  if (result.rows.isEmpty()) out << "  " << result.selectionMessage << "\n";
  else {
    QList<QStringList> rows{{T::Get(T::kModel), T::Get(T::kSupply), T::Get(T::kExtract), T::Get(T::kSupplyMargin),
                             T::Get(T::kExhaustMargin), T::Get(T::kPlenum)}};
    for (const LTCandidate& c : result.rows)
      rows << QStringList{c.name, c.supplySpeed, c.exhaustSpeed, pressure(c.supplyMarginPa), pressure(c.exhaustMarginPa),
                          c.hasPlenum ? QStringLiteral("✔") : QString()};
    QList<bool> rightAligned{false, false, false, true, true, false};
    if (!exhaustFan) {
      for (QStringList& row : rows) {
        row.removeAt(4);  // the exhaust margin
        row.removeAt(2);  // the extract speed
      }
      rightAligned = {false, false, true, false};
    }
    PrintColumns(out, QStringLiteral("  "), rows, rightAligned);
  }
  if (result.correction) out << "\n" << result.correction->message << "\n";
  if (!result.Current()) return;
  TDlgForm::Load();
  out << "\n" << TBaseMsg::GetUnicodeString(kMsgSelectedDevice, result.unitName) << "\n";
  out << "  " << T::Get(T::kAdditionalResistance) << "\n";
  QList<QStringList> sides{{T::Get(T::kSupplySide), pressure(result.supplySide.additionalPa)}};
  if (result.exhaustSideShown) sides << QStringList{T::Get(T::kExhaustSide), pressure(result.exhaustSide.additionalPa)};
  PrintColumns(out, QStringLiteral("    "), sides);
  if (result.fans.known)
    PrintColumns(out, QStringLiteral("  "),
                 {{T::Get(T::kFanPower), Power(result.fans.totalKW)},
                  {T::Get(T::kSpecificFanPower),
                   T::Get(T::kSfpValue).arg(Fixed(result.fans.sfpKWPerM3s, 2), QString::number(result.fans.sfpClass))}});
  const double deltaEnthalpy = CTSelectionRun::EnthalpyDisplayOffset();
  PrintMode(out, T::kCooling, result.cooling, true, CTResultTexts::Layout(result.family, result.hasHumidifier, true),
            deltaEnthalpy);
  PrintMode(out, T::kHeating, result.heating, false, CTResultTexts::Layout(result.family, result.hasHumidifier, false),
            deltaEnthalpy);
}

// Why a run did not compute its unit in both modes, a line each: the
// selection's message when no unit fits, the corrected condition, the
// modes not computed. Empty when all was computed.
QStringList NotComputed(const SelectionResult& result) {
  QStringList lines;
  if (result.rows.isEmpty()) lines << result.selectionMessage;
  if (result.correction) lines << result.correction->message;
  if (!result.Current()) return lines;
  for (const QString& problem :
       {ModeProblem(CTCliTexts::kCooling, result.cooling), ModeProblem(CTCliTexts::kHeating, result.heating)})
    if (!problem.isEmpty()) lines << problem;
  return lines;
}

// The exit code of a run, the same for every command that runs one.
int ExitCodeOf(const SelectionResult& result) {
  const bool complete = result.Current() && result.cooling.Succeeded() && result.heating.Succeeded();
  return complete ? kExitOk : kExitNothingComputed;
}

// A discharge setting given as an option, within the settings the unit
// offers in that mode (the window's field offers no others).
QString CheckDischarge(Cls_HRX& unit, const char* name, bool given, const LTModeInputs& mode, bool cooling) {
  if (!given) return QString();
  const CTSelectionRun::LTDischargeRange range = CTSelectionRun::DischargeRange(unit, cooling);
  if (mode.dischargeC >= range.lo && mode.dischargeC <= range.hi) return QString();
  const QString hi = Number(range.hi) + QLatin1Char(' ') + UnitText(U_Temperature);
  return CTCliTexts::Get(CTCliTexts::kMustBeBetween)
      .arg(QString::fromLatin1(name), Number(range.lo), CTCliTexts::Get(CTCliTexts::kForUnit).arg(hi, unit.GetName()));
}

// A heater option named on the command line, found among the unit's.
QString ResolveOption(Cls_HRX& unit, const QString& name, int& id) {
  if (name.isEmpty()) return QString();
  const QList<LTHeaterOption> options = CTSelectionRun::HeaterOptions(unit);
  QStringList names;
  for (const LTHeaterOption& o : options) {
    if (o.name.compare(name, Qt::CaseInsensitive) == 0) return id = o.id, QString();
    names << o.name;
  }
  if (names.isEmpty()) return CTCliTexts::Get(CTCliTexts::kNoHeaterOptions).arg(unit.GetName());
  return CTCliTexts::Get(CTCliTexts::kNoSuchHeaterOption).arg(unit.GetName(), name, names.join(", "));
}

}  // namespace

int RunFamilies(const QStringList& arguments, QTextStream& out, QTextStream& err) {
  CTCliOptions options(arguments, {}, {"--json"});
  if (!options.Error().isEmpty())
    return Fail(err, "families", options.Error() + Usage("aerolith-cli families [--json]"), kExitUsage);
  CTCatalogueSession session;
  QString error;
  if (!session.OpenEmbedded(CTCatalogueSession::AutoCorrect::kOn, error)) return Fail(err, "families", error, kExitFailure);
  return PrintFamilies(session, options.Has("--json"), out);
}

namespace {

// The selection the options ask for, made by the form the window uses: a
// project opened as the window opens it (its unit at its speeds, its
// options and heater options), the options given over it, the named (or
// first) candidate with its heater options resolved, computed. An empty
// answer means all is well.
QString RunRequest(CTSelectionForm& form, SelectOptions& s, int& code) {
  if (s.project) {
    QString why;
    if (!form.ApplyProject(*s.project, why)) {
      code = kExitFailure;
      return why;
    }
    // The heater options the project took on its unit stand where no
    // option replaced them.
    const SelectionRequest& opened = form.Request();
    for (const auto& [take, mode, from] : {std::tuple{s.projectHeaterCool, &s.request.cooling, &opened.cooling},
                                           std::tuple{s.projectHeaterHeat, &s.request.heating, &opened.heating}})
      if (take) {
        mode->inletHeater = from->inletHeater;
        mode->inletOptionID = from->inletOptionID;
      }
  }
  if (!s.project || s.overrides) {
    form.SetRequest(s.request);
    form.RunCandidates(s.projectUnit);
  }
  const SelectionResult& result = form.Result();
  SelectionRequest r = form.Request();
  if (!s.unitName.isEmpty()) {
    r.candidate = -1;
    for (int i = 0; i < result.rows.size() && r.candidate < 0; ++i)
      if (result.rows[i].name.compare(s.unitName, Qt::CaseInsensitive) == 0) r.candidate = i;
    if (r.candidate < 0) {
      code = kExitFailure;
      return CTCliTexts::Get(CTCliTexts::kNotACandidate).arg(s.unitName);
    }
  }
  if (result.candidates.IsEmpty()) return QString();
  const bool named = !s.unitName.isEmpty() || !s.inletOptionCool.isEmpty() || !s.inletOptionHeat.isEmpty() ||
                     s.coolDischargeOption || s.heatDischargeOption;
  if (!named) return QString();
  Cls_HRX& unit = *result.candidates.Item(std::max(0, r.candidate));
  for (const QString& problem : {ResolveOption(unit, s.inletOptionCool, r.cooling.inletOptionID),
                                 ResolveOption(unit, s.inletOptionHeat, r.heating.inletOptionID),
                                 CheckDischarge(unit, "--discharge", s.coolDischargeOption, r.cooling, true),
                                 CheckDischarge(unit, "--heat-discharge", s.heatDischargeOption, r.heating, false)})
    if (!problem.isEmpty()) {
      code = kExitUsage;
      return problem;
    }
  form.SetRequest(r);
  form.ComputeUnit();
  return QString();
}

// The options box of the unit: used and available options.
QJsonObject OptionsJson(const QList<LTOptionRow>& rows) {
  QJsonArray used, available;
  for (const LTOptionRow& r : rows) {
    QJsonObject o{{"name", r.name}, {"type", r.typeName}};
    if (r.used) {
      o["count"] = r.count;
      o["standard"] = r.standard;
      used.append(o);
    } else {
      available.append(o);
    }
  }
  return QJsonObject{{"used", used}, {"available", available}};
}

// --save: the request and the computed unit as a project file, as the
// window saves it.
QString SaveProject(const SelectOptions& s, CTSelectionForm& form) {
  const std::optional<CTHRXProjectData> data = form.Project();
  if (!data) return TDlgForm::Load(), TBaseMsg::GetUnicodeString(kMsgNoUnitToSave);
  LTProjectError error;
  if (!CTHRXProjectIO::WriteProjectData(s.saveFile, *data, error)) return error.Text();
  return QString();
}

// A chart of the result drawn on a surface of the given size.
void DrawChart(const QString& kind, bool heating, IDrawSurface& surface, QSize size, const SelectionResult& result,
               const CTCatalogueSession& session) {
  using K = CTChartSetup::ChartKind;
  const std::map<QString, K> kinds{{"psychro", K::kPsychrometric}, {"mollier", K::kMollier},
                                   {"fan", K::kFan},               {"efficiency", K::kEfficiency},
                                   {"correction", K::kCorrection}, {"configuration", K::kConfiguration},
                                   {"sound", K::kSound}};
  CTChartSetup::DrawChart(surface, size, kinds.at(kind), !heating, result, session.Factory().RatioCorrections());
}

}  // namespace

int RunSelect(const QStringList& arguments, QTextStream& out, QTextStream& err) {
  CTCatalogueSession session;
  QString error;
  if (!session.OpenEmbedded(CTCatalogueSession::AutoCorrect::kOn, error)) return Fail(err, "select", error, kExitFailure);
  RequestReader reader(arguments, {"--units"});
  SelectOptions s;
  UnitsInEffect::Choice choice = UnitsInEffect::kPreferences;
  QString optionError = reader.Read(session, s);
  if (optionError.isEmpty()) optionError = ReadUnits(reader.Options(), UnitsInEffect::kPreferences, choice);
  if (!optionError.isEmpty()) {
    const QString usage = CTCliTexts::Get(CTCliTexts::kUsageSee)
                              .arg(QStringLiteral("aerolith-cli select [options]"), QStringLiteral("aerolith-cli --help"));
    return Fail(err, "select", optionError + QLatin1Char('\n') + usage, kExitUsage);
  }
  // The units are in effect before the run: its messages write temperatures
  // in them. The JSON is SI whatever --units says.
  const UnitsInEffect units(s.json ? UnitsInEffect::kSI : choice);
  CTSelectionForm form(session);
  int code = kExitOk;
  if (const QString problem = RunRequest(form, s, code); !problem.isEmpty())
    return Fail(err, "select", problem, code);
  const SelectionResult& result = form.Result();
  if (!s.saveFile.isEmpty())
    if (const QString problem = SaveProject(s, form); !problem.isEmpty()) return Fail(err, "select", problem, kExitFailure);
  if (s.json) {
    QJsonObject json = ResultJson(result);
    if (Cls_HRX* unit = result.Current()) {
      json["datasheet"] = DatasheetJson(CTUnitDatasheet::Read(session, *unit));
      json["options"] = OptionsJson(form.OptionRows());
    }
    out << QJsonDocument(json).toJson(QJsonDocument::Indented);
  } else {
    PrintResult(out, units, Cls_HRX::Family2Str(result.family), result);
  }
  return ExitCodeOf(result);
}

namespace {

// After a document was written from a run that left something uncomputed:
// why, on the error stream, so that the exit code 3 explains itself.
void WarnNotComputed(QTextStream& err, const QString& command, const SelectionResult& result) {
  for (const QString& line : NotComputed(result)) err << "aerolith-cli " << command << ": " << line << "\n";
  err.flush();
}

// No unit to write a document of: message 121 and why.
int FailWithoutUnit(QTextStream& err, const QString& command, const SelectionResult& result) {
  TDlgForm::Load();
  QStringList lines{TBaseMsg::GetUnicodeString(kMsgNoUnitForDocuments)};
  lines << NotComputed(result);
  return Fail(err, command, lines.join(QLatin1Char('\n')), kExitNothingComputed);
}

}  // namespace

int RunChart(const QStringList& arguments, QTextStream& out, QTextStream& err) {
  using T = CTCliTexts;
  const QString usage = Usage(
      "aerolith-cli chart psychro|mollier|fan|efficiency|correction|configuration|sound --out FILE.png|FILE.emf [--size WxH]"
      " [--mode cooling|heating] [select options]");
  if (arguments.isEmpty() || !QStringList{"psychro", "mollier", "fan", "efficiency", "correction", "configuration", "sound"}.contains(arguments.first()))
    return Fail(err, "chart",
                T::Get(T::kChartKinds)
                        .arg(QStringLiteral("psychro, mollier, fan, efficiency, correction, configuration"), QStringLiteral("sound")) +
                    usage,
                kExitUsage);
  const QString kind = arguments.first();
  CTCatalogueSession session;
  QString error;
  if (!session.OpenEmbedded(CTCatalogueSession::AutoCorrect::kOn, error)) return Fail(err, "chart", error, kExitFailure);
  RequestReader reader(arguments.mid(1), {"--out", "--size", "--mode"});
  SelectOptions s;
  if (const QString problem = reader.Read(session, s); !problem.isEmpty()) return Fail(err, "chart", problem + usage, kExitUsage);
  const QString file = reader.Options().Value("--out");
  if (file.isEmpty() || !(file.endsWith(".png", Qt::CaseInsensitive) || file.endsWith(".emf", Qt::CaseInsensitive)))
    return Fail(err, "chart",
                T::Get(T::kEitherRequired).arg(QStringLiteral("--out FILE.png"), QStringLiteral("FILE.emf")) + usage,
                kExitUsage);
  QSize size(800, 600);
  if (reader.Options().Has("--size")) {
    const QStringList wh = reader.Options().Value("--size").split(QLatin1Char('x'));
    bool okW = false, okH = false;
    size = wh.size() == 2 ? QSize(wh[0].toInt(&okW), wh[1].toInt(&okH)) : QSize();
    if (!okW || !okH || size.width() < 200 || size.height() < 150 || size.width() > 8000 || size.height() > 8000)
      return Fail(err, "chart",
                  T::Get(T::kSizeRange).arg(QStringLiteral("--size"), QStringLiteral("200x150"), QStringLiteral("8000x8000")) +
                      usage,
                  kExitUsage);
  }
  const QString mode = reader.Options().Has("--mode") ? reader.Options().Value("--mode") : QStringLiteral("cooling");
  if (mode != QLatin1String("cooling") && mode != QLatin1String("heating"))
    return Fail(err, "chart", MustBeEither("--mode", "cooling", "heating") + usage, kExitUsage);
  const bool heating = mode == QLatin1String("heating");
  CTSelectionForm form(session);
  int code = kExitOk;
  if (const QString problem = RunRequest(form, s, code); !problem.isEmpty())
    return Fail(err, "chart", problem, code);
  const SelectionResult& result = form.Result();

  bool saved = false;
  if (file.endsWith(".emf", Qt::CaseInsensitive)) {
    CTEmfSurface surface(size.width(), size.height());
    DrawChart(kind, heating, surface, size, result, session);
    saved = surface.Save(file, error);
  } else {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
      QPainter painter(&image);
      CTPainterSurface surface(&painter, true);
      DrawChart(kind, heating, surface, size, result, session);
    }
    QSaveFile target(file);
    saved = target.open(QIODevice::WriteOnly) && image.save(&target, "PNG") && target.commit();
    if (!saved) {
      TDlgForm::Load();
      error = TBaseMsg::GetUnicodeString(-3, file) + QLatin1Char('\n') + target.errorString();
    }
  }
  if (!saved) return Fail(err, "chart", error, kExitFailure);
  out << T::Get(T::kChartWritten).arg(file, kind, result.Current() ? result.unitName : T::Get(T::kNoUnit)) << "\n";
  WarnNotComputed(err, "chart", result);
  return ExitCodeOf(result);
}

int RunMaterialList(const QStringList& arguments, QTextStream& out, QTextStream& err) {
  const QString usage = Usage("aerolith-cli material-list --out FILE.xml [--project FILE.ven] [select options]");
  CTCatalogueSession session;
  QString error;
  if (!session.OpenEmbedded(CTCatalogueSession::AutoCorrect::kOn, error))
    return Fail(err, "material-list", error, kExitFailure);
  RequestReader reader(arguments, {"--out"});
  SelectOptions s;
  if (const QString problem = reader.Read(session, s); !problem.isEmpty())
    return Fail(err, "material-list", problem + usage, kExitUsage);
  const QString file = reader.Options().Value("--out");
  if (file.isEmpty())
    return Fail(err, "material-list", CTCliTexts::Get(CTCliTexts::kRequired).arg(QStringLiteral("--out FILE.xml")) + usage,
                kExitUsage);
  CTSelectionForm form(session);
  int code = kExitOk;
  if (const QString problem = RunRequest(form, s, code); !problem.isEmpty())
    return Fail(err, "material-list", problem, code);
  const SelectionResult& result = form.Result();
  Cls_HRX* unit = result.Current();
  if (!unit) return FailWithoutUnit(err, "material-list", result);
  // The unit and its options; the modes' results are not part of the list.
  CTDocTable table;
  CTMaterialList::Build(table, *unit, form.OptionRows(), LTMaterialListSettings::Read());
  if (!CTMaterialList::Write(file, table, error)) {
    TDlgForm::Load();
    return Fail(err, "material-list", TBaseMsg::GetUnicodeString(-3, file) + "\n" + error, kExitFailure);
  }
  out << CTCliTexts::Get(CTCliTexts::kMaterialListWritten).arg(file, result.unitName) << "\n";
  WarnNotComputed(err, "material-list", result);
  return ExitCodeOf(result);
}

int RunReport(const QStringList& arguments, QTextStream& out, QTextStream& err) {
  const QString usage = Usage(
      "aerolith-cli report --out FILE.rtf|FILE.pdf [--units si|imperial] [--diagram psychro|mollier]"
      " [--project FILE.ven] [select options]");
  CTCatalogueSession session;
  QString error;
  if (!session.OpenEmbedded(CTCatalogueSession::AutoCorrect::kOn, error)) return Fail(err, "report", error, kExitFailure);
  RequestReader reader(arguments, {"--out", "--units", "--diagram"});
  SelectOptions s;
  if (const QString problem = reader.Read(session, s); !problem.isEmpty()) return Fail(err, "report", problem + usage, kExitUsage);
  const QString file = reader.Options().Value("--out");
  if (file.isEmpty())
    return Fail(err, "report",
                CTCliTexts::Get(CTCliTexts::kEitherRequired).arg(QStringLiteral("--out FILE.rtf"), QStringLiteral("FILE.pdf")) +
                    usage,
                kExitUsage);
  // A report is a document for print: SI unless --units says imperial.
  UnitsInEffect::Choice choice = UnitsInEffect::kSI;
  if (const QString problem = ReadUnits(reader.Options(), UnitsInEffect::kSI, choice); !problem.isEmpty())
    return Fail(err, "report", problem + usage, kExitUsage);
  const QString diagram = reader.Options().Has("--diagram") ? reader.Options().Value("--diagram") : QStringLiteral("psychro");
  if (diagram != QLatin1String("psychro") && diagram != QLatin1String("mollier"))
    return Fail(err, "report", MustBeEither("--diagram", "psychro", "mollier") + usage, kExitUsage);
  const UnitsInEffect unitsInEffect(choice);

  CTSelectionForm form(session);
  int code = kExitOk;
  if (const QString problem = RunRequest(form, s, code); !problem.isEmpty()) return Fail(err, "report", problem, code);
  const SelectionResult& result = form.Result();
  Cls_HRX* unit = result.Current();
  if (!unit) return FailWithoutUnit(err, "report", result);
  TDlgForm::Load();
  // A unit whose mode was not computed is still reported (that mode's
  // section stays empty); why goes to the error stream.
  LTReportInput input;
  input.session = &session;
  input.request = &form.Request();
  input.result = &result;
  input.options = form.OptionRows();
  input.psychrometric = diagram == QLatin1String("psychro");
  input.deltaEnthalpy = CTSelectionRun::EnthalpyDisplayOffset();
  input.decorations = &CTPrintParams::GetPageDecorations();
  if (!CTReport::WriteFile(file, input, error))
    return Fail(err, "report", TBaseMsg::GetUnicodeString(-3, file) + "\n" + error, kExitFailure);
  out << CTCliTexts::Get(CTCliTexts::kReportWritten).arg(file, result.unitName) << "\n";
  WarnNotComputed(err, "report", result);
  return ExitCodeOf(result);
}

// aerolith-cli datasheet: the information sheet of the regulation (Annex V)
// for the unit select computes, with the verdicts; --json gives the figures.
int RunDatasheet(const QStringList& arguments, QTextStream& out, QTextStream& err) {
  CTCatalogueSession session;
  QString error;
  if (!session.OpenEmbedded(CTCatalogueSession::AutoCorrect::kOn, error))
    return Fail(err, "datasheet", error, kExitFailure);
  RequestReader reader(arguments);
  SelectOptions s;
  if (const QString optionError = reader.Read(session, s); !optionError.isEmpty()) {
    const QString usage = CTCliTexts::Get(CTCliTexts::kUsageSee)
                              .arg(QStringLiteral("aerolith-cli datasheet [options]"), QStringLiteral("aerolith-cli --help"));
    return Fail(err, "datasheet", optionError + QLatin1Char('\n') + usage, kExitUsage);
  }
  const UnitsInEffect units(UnitsInEffect::kSI);
  CTSelectionForm form(session);
  int code = kExitOk;
  if (const QString problem = RunRequest(form, s, code); !problem.isEmpty()) return Fail(err, "datasheet", problem, code);
  const SelectionResult& result = form.Result();
  if (!result.Current()) return FailWithoutUnit(err, "datasheet", result);
  const LTEcodesign& eco = result.ecodesign;
  if (s.json) {
    QJsonArray sheet;
    for (const LTSheetRow& row : CTEcodesign::Sheet(eco)) sheet.append(QJsonObject{{"label", row.label}, {"value", row.value}});
    QJsonObject json{{"unit", result.unitName}, {"ecodesign", EcodesignJson(eco)}, {"sheet", sheet}};
    out << QJsonDocument(json).toJson(QJsonDocument::Indented);
    return kExitOk;
  }
  out << result.unitName << "\n";
  for (const LTSheetRow& row : CTEcodesign::Verdicts(eco) + CTEcodesign::Sheet(eco))
    out << "  " << row.label << ": " << row.value << "\n";
  return kExitOk;
}

// aerolith-cli annual: the selected unit's year (--rank: every candidate's,
// the largest net benefit first) under a year of weather.
namespace {

QJsonObject FiguresJson(const LTAnnualFigures& f) {
  return QJsonObject{{"operating_hours", Json(f.operatingHours)},
                     {"heat_recovered_kwh", Json(f.heatRecoveredKWh)},
                     {"cooling_recovered_kwh", Json(f.coolingRecoveredKWh)},
                     {"inlet_heater_kwh", Json(f.inletHeaterKWh)},
                     {"fan_kwh", Json(f.fanKWh)},
                     {"net_kwh", Json(f.netKWh)},
                     {"cost", Json(f.cost)},
                     {"co2_kg", Json(f.co2Kg)},
                     {"hours_outside_limits", f.hoursOutsideLimits}};
}

QString AnnualOptions(const CTCliOptions& options, LTAnnualInputs& in) {
  if (options.Has("--climate")) in.climate = options.Value("--climate");
  QString why;
  if (options.Has("--schedule") && !LTSchedule::Parse(options.Value("--schedule"), in.schedule, why))
    return QStringLiteral("--schedule: ") + why;
  if (options.Has("--prices") && !LTPrices::Parse(options.Value("--prices"), in.prices, why))
    return QStringLiteral("--prices: ") + why;
  return QString();
}

void PrintYear(QTextStream& out, const LTAnnualResult& year) {
  const auto row = [&out](const QString& label, const LTAnnualFigures& f) {
    out << label.leftJustified(6) << QString::number(f.operatingHours, 'f', 0).rightJustified(7)
        << TBaseMsg::FormatFixed(f.heatRecoveredKWh, 0).rightJustified(10)
        << TBaseMsg::FormatFixed(f.coolingRecoveredKWh, 0).rightJustified(10)
        << TBaseMsg::FormatFixed(f.inletHeaterKWh, 0).rightJustified(9)
        << TBaseMsg::FormatFixed(f.fanKWh, 0).rightJustified(8) << TBaseMsg::FormatFixed(f.netKWh, 0).rightJustified(9)
        << TBaseMsg::FormatFixed(f.cost, 0).rightJustified(8) << TBaseMsg::FormatFixed(f.co2Kg, 0).rightJustified(8) << "\n";
  };
  out << "month   hours   heat kWh  cool kWh  inlet kWh fan kWh  net kWh    cost  CO2 kg\n";
  for (int m = 0; m < 12; ++m) row(QString::number(m + 1), year.months[std::size_t(m)]);
  row(QStringLiteral("year"), year.year);
}

}  // namespace

int RunAnnual(const QStringList& arguments, QTextStream& out, QTextStream& err) {
  CTCatalogueSession session;
  QString error;
  if (!session.OpenEmbedded(CTCatalogueSession::AutoCorrect::kOn, error)) return Fail(err, "annual", error, kExitFailure);
  RequestReader reader(arguments, {"--climate", "--schedule", "--prices"}, {"--rank"});
  SelectOptions s;
  QString optionError = reader.Read(session, s);
  // Checked before the run; applied after it, over what a project gives.
  LTAnnualInputs checked;
  if (optionError.isEmpty()) optionError = AnnualOptions(reader.Options(), checked);
  if (!optionError.isEmpty()) {
    const QString usage = CTCliTexts::Get(CTCliTexts::kUsageSee)
                              .arg(QStringLiteral("aerolith-cli annual [options]"), QStringLiteral("aerolith-cli --help"));
    return Fail(err, "annual", optionError + QLatin1Char('\n') + usage, kExitUsage);
  }
  const UnitsInEffect units(UnitsInEffect::kSI);
  CTSelectionForm form(session);
  int code = kExitOk;
  if (const QString problem = RunRequest(form, s, code); !problem.isEmpty()) return Fail(err, "annual", problem, code);
  LTAnnualInputs annual = form.Request().annual;
  AnnualOptions(reader.Options(), annual);
  form.SetAnnual(annual);
  LTClimate climate;
  if (!CTAnnualEnergy::LoadClimate(annual.climate, climate, error))
    return Fail(err, "annual", annual.climate + QStringLiteral(": ") + error, kExitFailure);
  if (!s.saveFile.isEmpty())
    if (const QString problem = SaveProject(s, form); !problem.isEmpty()) return Fail(err, "annual", problem, kExitFailure);
  const SelectionResult& result = form.Result();
  const SelectionRequest& request = form.Request();
  const LTAnnualResult year = CTAnnualEnergy::YearOf(result, request, climate);
  if (!year.computed) {
    WarnNotComputed(err, "annual", result);
    return Fail(err, "annual", year.message, kExitNothingComputed);
  }
  const bool rank = reader.Options().Has("--rank");
  if (s.json) {
    QJsonObject json = FiguresJson(year.year);
    json["units"] = "si";
    json["unit"] = result.unitName;
    json["climate"] = QJsonObject{{"name", climate.name}, {"source", climate.source}, {"synthetic", climate.synthetic}};
    json["schedule"] = request.annual.schedule.Text();
    json["prices"] = request.annual.prices.Text();
    QJsonArray months;
    for (const LTAnnualFigures& m : year.months) months.append(FiguresJson(m));
    json["months"] = months;
    if (rank) {
      QJsonArray candidates;
      for (const LTRankedCandidate& c : CTAnnualEnergy::Rank(result, request, climate)) {
        QJsonObject o = FiguresJson(c.year);
        o["unit"] = c.unit;
        o["supply_speed"] = c.supplySpeed;
        o["exhaust_speed"] = c.exhaustSpeed;
        candidates.append(o);
      }
      json["candidates"] = candidates;
    }
    out << QJsonDocument(json).toJson(QJsonDocument::Indented);
    return kExitOk;
  }
  out << result.unitName << ", " << climate.name << ", " << request.annual.schedule.Text() << "\n";
  PrintYear(out, year);
  if (rank) {
    out << "\nunit                                   net kWh     cost\n";
    for (const LTRankedCandidate& c : CTAnnualEnergy::Rank(result, request, climate))
      out << c.unit.leftJustified(36) << TBaseMsg::FormatFixed(c.year.netKWh, 0).rightJustified(10)
          << TBaseMsg::FormatFixed(c.year.cost, 0).rightJustified(9) << "\n";
  }
  return kExitOk;
}

}  // namespace AerolithCli
