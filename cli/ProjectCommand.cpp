// aerolith-cli project check FILE [--json]: whether a project file reads,
// its layout, and every input, unit, speed and option it holds, with the
// catalogue's names where the catalogue still has them.

#include "catalogue/ClDeviceOption.h"
#include "catalogue/ClHRX.h"
#include "catalogue/ClTrivaneDeviceOption.h"
#include "catalogue/Sentinels.h"
#include "cli/CliCommands.h"
#include "cli/CliOptions.h"
#include "i18n/BaseMsgMan.h"
#include "selection/CatalogueSession.h"
#include "selection/ProjectFile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace AerolithCli {

namespace {

// A filter class as the command line's options name it.
QString FilterOption(int nClass) {
  return nClass == 0 ? QStringLiteral("none") : Cls_HRX::FilterClassName(nClass);
}

// A value of the file; null where the file says "not given".
QJsonValue Given(double x) { return Sentinel::IsGiven(x) ? QJsonValue(x) : QJsonValue(); }

QJsonObject ModeJson(const CTHRXProjectModeData& m) {
  return QJsonObject{{"room_db_c", m.v_indoorDBT},
                     {"room_rh", m.v_indoorRH},
                     {"outdoor_db_c", m.v_ambientDBT},
                     {"outdoor_rh", m.v_ambientRH},
                     {"discharge_c", m.v_discharge},
                     {"inlet_heater_kw", Given(m.v_userInletHeater)},
                     {"supply_heater_kw", Given(m.v_userSupplyHeater)},
                     {"supply_temp_c", Given(m.v_userSupplyTemp)}};
}

QString Shown(const QJsonValue& v) {
  if (v.isNull()) return QStringLiteral("not given");
  if (v.isDouble()) return TBaseMsg::Number2Str(v.toDouble(), 15);
  if (v.isBool()) return v.toBool() ? QStringLiteral("yes") : QStringLiteral("no");
  return v.toString();
}

void PrintObject(QTextStream& out, const QJsonObject& o, const QString& indent) {
  for (auto it = o.begin(); it != o.end(); ++it) {
    if (it->isObject()) {
      out << indent << it.key() << ":\n";
      PrintObject(out, it->toObject(), indent + "  ");
    } else if (it->isArray()) {
      out << indent << it.key() << ":" << (it->toArray().isEmpty() ? " none" : "") << "\n";
      for (const QJsonValue& entry : it->toArray()) {
        out << indent << "  -\n";
        PrintObject(out, entry.toObject(), indent + "    ");
      }
    } else {
      out << indent << it.key() << ": " << Shown(*it) << "\n";
    }
  }
}

}  // namespace

int RunProject(const QStringList& arguments, QTextStream& out, QTextStream& err) {
  const QString usage = QStringLiteral("usage: aerolith-cli project check FILE [--json]");
  CTCliOptions options(arguments.mid(2), {}, {"--json"});
  if (arguments.size() < 2 || arguments.first() != QLatin1String("check") || !options.Error().isEmpty()) {
    err << "aerolith-cli project: " << (options.Error().isEmpty() ? QString() : options.Error() + "\n") << usage << "\n";
    return kExitUsage;
  }
  const QString file = arguments.at(1);
  CTCatalogueSession session;
  QString error;
  if (!session.OpenEmbedded(CTCatalogueSession::AutoCorrect::kOn, error)) {
    err << "aerolith-cli project: " << error << "\n";
    return kExitFailure;
  }
  // The entries as the file holds them, to say which ones the catalogue no
  // longer knows.
  CTHRXProjectData raw;
  ProjectFormat format = ProjectFormat::kVen002;
  LTProjectError problem;
  if (!CTHRXProjectIO::ReadProjectFile(file, raw, format, problem)) {
    if (options.Has("--json"))
      out << QJsonDocument(QJsonObject{{"file", file}, {"readable", false}, {"message", problem.Text()}})
                 .toJson(QJsonDocument::Indented);
    err << "aerolith-cli project: " << problem.Text() << "\n";
    return kExitFailure;
  }

  const CTHRXProjectDataIntfV0& v = raw.v_intfV0;
  QJsonObject unit{{"class", v.v_hrxClsID}, {"id", v.v_hrxObjID}, {"supply_speed_id", v.v_supplySpeedId},
                   {"exhaust_speed_id", v.v_exhaustSpeedId}};
  const Cls_HRX* found = session.Units().Search(
      [&v](const Cls_HRX* u) { return u->GetID() == v.v_hrxObjID && u->TableIndex() == v.v_hrxClsID; });
  unit["in_catalogue"] = found != nullptr;
  if (found) {
    unit["name"] = found->GetName();
    unit["speeds"] = const_cast<Cls_HRX*>(found)->GetSpeed(v.v_supplySpeedId) &&
                             const_cast<Cls_HRX*>(found)->GetSpeed(v.v_exhaustSpeedId)
                         ? found->GetQualifiedNameFor(v.v_supplySpeedId, v.v_exhaustSpeedId)
                         : QStringLiteral("not the unit's");
  }
  QJsonArray entries;
  for (const CTHRXProjectSelOption& entry : raw.v_options) {
    QJsonObject o{{"class", entry.v_optionClsID}, {"id", entry.v_optionObjID}, {"count", entry.v_nbSelected}};
    const bool oldIds = format != ProjectFormat::kVen002;
    const Cls_TrivaneDeviceOption* option = session.Options().Search([&](const Cls_TrivaneDeviceOption* c) {
      return CTHRXProjectIO::Names(entry, format, {c->TableIndex(), c->GetID(), c->GetOldClsID(), c->GetOldObjID()});
    });
    o["in_catalogue"] = option != nullptr;
    if (option) {
      o["name"] = option->GetName();
      if (oldIds) o["current"] = QJsonObject{{"class", option->TableIndex()}, {"id", option->GetID()}};
    }
    entries.append(o);
  }
  const QJsonObject inputs{
      {"family", v.v_family},
      {"family_name", Cls_HRX::Family2Str(v.v_family)},
      {"altitude_m", v.v_altitude},
      {"airflow_per_person_ls", Given(v.v_airflowPerPerson)},
      {"room_surface_m2", Given(v.v_roomSurface)},
      {"area_per_person_m2", Given(v.v_areaPerPerson)},
      {"persons", Given(v.v_nrOfPersons)},
      {"total_supply_ls", Given(v.v_totalSupply)},
      {"total_exhaust_ls", Given(v.v_totalExhaust)},
      {"esp_supply_pa", v.v_designSupplyESP},
      {"esp_exhaust_pa", v.v_designExhaustESP},
      {"filter_supply", FilterOption(v.v_highEffFilterSupply)},
      {"filter_exhaust", FilterOption(v.v_highEffFilterExhaust)},
      {"plenums", raw.v_intfV1.v_plenumSelected},
      {"upside_down", raw.v_intfV1.v_upsideDown},
      {"cooling", ModeJson(v.v_coolingData)},
      {"heating", ModeJson(v.v_heatingData)}};
  const QJsonObject report{{"file", file},
                           {"readable", true},
                           {"format", CTHRXProjectIO::FormatName(format)},
                           {"unit", unit},
                           {"inputs", inputs},
                           {"options", entries}};
  if (options.Has("--json"))
    out << QJsonDocument(report).toJson(QJsonDocument::Indented);
  else
    PrintObject(out, report, QString());
  return kExitOk;
}

}  // namespace AerolithCli
