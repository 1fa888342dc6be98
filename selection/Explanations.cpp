#include "selection/Explanations.h"

#include "catalogue/ClHRX.h"
#include "catalogue/Factory.h"
#include "catalogue/RecordCast.h"
#include "i18n/BaseMsgMan.h"
#include "selection/CatalogueSession.h"

namespace {

const char* const kInletSizing =
    "The size of the inlet heater is calculated as the enthalpy difference between the ambient air (OA) and the "
    "ventilation in air (VI) and multipied by the supply airflow and density.";

QStringList Lines(std::initializer_list<const char*> lines) {
  QStringList list;
  for (const char* line : lines) list << TBaseMsg::Tr(QString::fromUtf8(line));
  return list;
}

// The units that offer a plenum, in the catalogue's order.
QString UnitsWithPlenum(const CTCatalogueSession* pSession) {
  if (!pSession) return QString();
  QStringList names;
  // The engine hands records newest first.
  ObjectList<Cls_HRX> units = RecordsAs<Cls_HRX>(CTDbObject::GetAllRecords(Cls_HRX::kClassID, false, &pSession->Factory()));
  units.Sort([](const Cls_HRX* a, const Cls_HRX* b) { return a->GetID() < b->GetID(); });
  for (Cls_HRX* unit : units)
    if (unit->GetPlenumOption()) names << unit->GetName();
  return names.join(QStringLiteral(", "));
}

}  // namespace

LTExplanation CTExplanations::Topic(int nTopic, const CTCatalogueSession* pSession) {
  switch (nTopic) {
    case 0:
      return {TBaseMsg::Tr(QStringLiteral("Inlet Heater")),
              Lines({"Aerolith automatically adds an inlet heater in one of the following three conditions:",
                     "1. The ambient temperature in heating is below the calculated minimum value.",
                     "2. The ambient temperature in cooling is above the calculated maximum value.",
                     "3. The ventilation in temperature is below the minimum temperature for intermittent operation.",
                     "", kInletSizing})};
    case 1:
      return {TBaseMsg::Tr(QStringLiteral("DQTL-MF Heater")),
              Lines({"Aerolith automatically adds an inlet heater when the ambient temperature in heating is below the "
                     "allowable minimum temperature.",
                     "", kInletSizing})};
    case 2:
      // The heater warms the ventilation out air (VO) to the supply air.
      return {TBaseMsg::Tr(QStringLiteral("Supply Heater")),
              Lines({"Aerolith automatically adds a supply heater if the user defines a minimum supply temperature, "
                     "which is higher than the ventilation out temperature.",
                     "",
                     "The size of the supply heater is calculated as the enthalpy difference between the the "
                     "ventilation out air (VO) and supply air (SA) multipied by the supply airflow and density."})};
    case 3:
      return {TBaseMsg::Tr(QStringLiteral("Ratio")),
              Lines({"The calculated efficiencies (temperature exchange efficiency, cooling enthalpy exchange efficiency "
                     "and heating enthalpy exchange efficiency) are valid if the extract and supply air are identical. "
                     "When the extract airflow is larger than the supply airflow, the efficiencies become better and "
                     "the ratio extract/supply becomes larger than 1. When the extract airflow is smaller than the "
                     "supply airflow, the efficiencies are smaller and the ratio extract/supply becomes smaller than 1.",
                     "",
                     "The efficiency correction curves define the corrections for several values of the ratio "
                     "extract/supply. If there is no curve for a specific ratio, interpolate between the corrections of "
                     "the surrounding curves. For a ratio extract/supply equal to 1, there is no correction and the "
                     "corrected efficiencies are identical to the calculated ones."})};
    case 4:
      return {TBaseMsg::Tr(QStringLiteral("HRD Ratio")),
              Lines({"Using a supply airflow different from the nominal airflow has an influence on the sensible "
                     "capacity of the HRD unit. This is the ratio between the actual and nominal supply airflow, which "
                     "is used to calculate the correction on the sensible capacity."})};
    case 5:
      return {TBaseMsg::Tr(QStringLiteral("Additional Resistance")),
              Lines({"Install additional resistance to overcome the difference between the calculated ESP from the "
                     "selected device and the design ESP from the existing ducting. The calculated ESP is always larger "
                     "or equal to the design ESP.",
                     "", "For example, use dampers or use elbows to add additional resistance."})};
    case 6:
      return {TBaseMsg::Tr(QStringLiteral("Upside Down Installation")),
              Lines({"The installation position may have an impact on the inlet heater selection."})};
    case 7: {
      LTExplanation e{TBaseMsg::Tr(QStringLiteral("Plenum")),
                      Lines({"For a number of larger HRX models ($1), you can select plenum options. These options join "
                             "the inlets or outlets of the two stacked components of these HRX devices. The selection "
                             "software lets you choose between",
                             "- None: No plenum options selected.",
                             "- OA/EA: Plenum options selected on the OA inlet and the EA outlet.",
                             "- All: Plenum options selected on OA, EA, RA, SA.", "",
                             "The software takes into account an extra pressure drop caused by the plenum options.", "",
                             "HRX models that have the possibility to select plenum options are marked by a \"$2\" in "
                             "the solution overview."})};
      const QString units = UnitsWithPlenum(pSession);
      for (QString& line : e.lines) line.replace(QStringLiteral("$1"), units).replace(QStringLiteral("$2"), QStringLiteral("✔"));
      return e;
    }
    default:
      return {};
  }
}
