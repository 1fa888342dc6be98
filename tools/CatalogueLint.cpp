#include "tools/CatalogueLint.h"

#include "catalogue/ClHRX.h"
#include "catalogue/ClHRXEcoCurve.h"
#include "catalogue/ClHRXEcodesign.h"
#include "catalogue/ClHRXFilter.h"
#include "catalogue/ClHRXSound.h"
#include "catalogue/ClHRXPolynomial.h"
#include "catalogue/ClHRXSpeed.h"
#include "catalogue/ClIndTabularCap.h"
#include "catalogue/ClIndoorUnit.h"
#include "catalogue/ClTrivaneDeviceOption.h"
#include "catalogue/CoilCapacity.h"
#include "catalogue/PsychroSet.h"
#include "catalogue/RecordCast.h"
#include "psychro/Air.h"
#include "recdb/BaseFactory.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <utility>
#include <vector>

namespace {

constexpr int kFanCurveSamples = 64;  // points at which a fan curve must fall

enum HRXType { kPlainUnit = 0, kCoilUnit = 1, kFreshAirUnit = 2 };
enum CurveType { kTempEff = 0, kCoolEnthEff = 1, kHeatEnthEff = 2, kCoolCap = 5, kMaxCoolCap = 6, kHeatCap = 7, kMaxHeatCap = 8 };
enum HeaderKind { kCoolWBHeader = 0, kHeatHeader = 1, kCoolDBHeader = 10 };
enum ValueKind { kTotalCool = 2, kSensibleCool = 8, kTotalCoolFactor = 11, kSensibleCoolFactor = 12 };

constexpr double kHeatingRatingRH = 50;  // %, of the room air the heating columns are rated at

// Physical bounds of the ecodesign data; beyond them a figure is a typing slip.
constexpr double kMaxPressurePa = 3000;     // static pressures of ventilation units stay far below
constexpr double kMaxLeakagePercent = 20;
constexpr double kMaxFaceAreaM2 = 20;
constexpr double kMaxSoundPowerDb = 140;    // re 1 pW

class Findings {
 public:
  Findings(const CTCatalogueLint::Locator& pWhere) : v_where(pWhere) {}

  void Add(const CTDbObject& pObj, const QString& szText) {
    const QString where = v_where ? v_where(pObj.TableIndex(), pObj.GetID()) : QString();
    QString who = pObj.TableInfo()->ModelClassName() + QLatin1Char(' ') + QString::number(pObj.GetID());
    if (!pObj.GetName().isEmpty()) who += QStringLiteral(" (") + pObj.GetName() + QLatin1Char(')');
    v_list << (where.isEmpty() ? QString() : where + QStringLiteral(": ")) + who + QStringLiteral(": ") + szText;
  }
  QStringList List() const { return v_list; }
  int Count() const { return int(v_list.size()); }

 private:
  const CTCatalogueLint::Locator& v_where;
  QStringList v_list;
};

QString Num(double d) { return QString::number(d, 'g', 6); }

// A curve of airflow must be bounded and cover the unit's airflow range.
void CheckAirflowRange(Findings& out, const Cls_HRX& unit, const Cls_Polynomial& curve, const QString& szWhat) {
  const double lo = curve.GetArgumentLow(), hi = curve.GetArgumentHigh();
  if (lo == 0 && hi == 0) {
    out.Add(curve, szWhat + QStringLiteral(" has no airflow range (both bounds 0)"));
    return;
  }
  if (lo > unit.GetMinAirflow() || hi < unit.GetMaxAirflow())
    out.Add(curve, QStringLiteral("%1 covers %2 .. %3 m3/h, not the unit's %4 .. %5 m3/h")
                       .arg(szWhat, Num(lo), Num(hi), Num(unit.GetMinAirflow()), Num(unit.GetMaxAirflow())));
}

void CheckSpeed(Findings& out, const Cls_HRX& unit, const Cls_HRXSpeed& speed) {
  CheckAirflowRange(out, unit, speed, QStringLiteral("the fan curve"));
  if (!(speed.GetEspLimit() > 0)) out.Add(speed, QStringLiteral("the ESP limit is 0"));
  const double lo = speed.GetArgumentLow(), hi = speed.GetArgumentHigh();
  if (!(hi > lo)) return;
  double previous = speed.Evaluate(lo);
  for (int i = 1; i <= kFanCurveSamples; ++i) {
    const double q = lo + (hi - lo) * i / kFanCurveSamples;
    const double p = speed.Evaluate(q);
    if (!(p < previous)) {
      out.Add(speed, QStringLiteral("the fan curve does not fall with airflow near %1 m3/h").arg(Num(q)));
      return;
    }
    previous = p;
  }
}

// A run of curves read by one lookup: its keys must rise strictly, and it
// needs enough curves to interpolate in.
void CheckCapacityBlock(Findings& out, const Cls_HRX& unit, const std::vector<const Cls_HRXPolynomial*>& block,
                        const QString& szWhat) {
  if (int(block.size()) < CTCatalogueLint::kMinCurvesPerBlock)
    out.Add(unit, QStringLiteral("%1 has %2 curves, fewer than %3").arg(szWhat).arg(block.size()).arg(CTCatalogueLint::kMinCurvesPerBlock));
  for (std::size_t i = 1; i < block.size(); ++i)
    if (!(block[i]->GetSelect1() > block[i - 1]->GetSelect1()))
      out.Add(*block[i], QStringLiteral("%1: key %2 does not rise above %3").arg(szWhat, Num(block[i]->GetSelect1()), Num(block[i - 1]->GetSelect1())));
}

void CheckCapacityTables(Findings& out, const Cls_HRX& unit, ObjectList<Cls_HRXPolynomial>& curves) {
  static const std::map<int, QString> kTables = {{kCoolCap, QStringLiteral("cooling capacity")},
                                                 {kMaxCoolCap, QStringLiteral("maximum cooling capacity")},
                                                 {kHeatCap, QStringLiteral("heating capacity")},
                                                 {kMaxHeatCap, QStringLiteral("maximum heating capacity")}};
  for (const auto& [type, name] : kTables) {
    std::vector<const Cls_HRXPolynomial*> table;
    for (const Cls_HRXPolynomial* c : curves)
      if (c->GetType() == type) table.push_back(c);
    std::stable_sort(table.begin(), table.end(), [](const Cls_HRXPolynomial* a, const Cls_HRXPolynomial* b) {
      return Cls_HRXPolynomial::CompareHRXPolynomials(a, b);
    });
    if (table.empty()) continue;
    // The maximum tables are read as one block; the others per discharge
    // (supply) temperature.
    if (type == kMaxCoolCap || type == kMaxHeatCap) {
      CheckCapacityBlock(out, unit, table, QStringLiteral("the ") + name + QStringLiteral(" table"));
      continue;
    }
    std::size_t start = 0;
    for (std::size_t i = 1; i <= table.size(); ++i) {
      if (i < table.size() && table[i]->GetSelect2() == table[start]->GetSelect2()) continue;
      const std::vector<const Cls_HRXPolynomial*> block(table.begin() + std::ptrdiff_t(start), table.begin() + std::ptrdiff_t(i));
      CheckCapacityBlock(out, unit, block,
                         QStringLiteral("the %1 block at %2 degC").arg(name, Num(table[start]->GetSelect2())));
      start = i;
    }
  }
}

// The coil's rating conditions, read from its header rows: the cooling
// columns (dry bulb, wet bulb) and the heating columns (room temperature).
struct RatingConditions {
  std::vector<std::pair<double, double>> cooling;  // degC dry bulb, degC wet bulb
  std::vector<double> heating;                      // degC
};

// Header rows must rise from column to column; they give the rating conditions.
RatingConditions CheckHeaders(Findings& out, ObjectList<Cls_IndTabularCap>& rows) {
  std::vector<double> wetBulbs, dryBulbs, heating;
  for (const Cls_IndTabularCap* row : rows) {
    const int kind = row->GetType();
    if (kind != kCoolWBHeader && kind != kHeatHeader && kind != kCoolDBHeader) continue;
    const int used = int(std::lround(row->GetSelect()));
    if (used < 1 || used > 7) {
      out.Add(*row, QStringLiteral("a header row must use 1 to 7 columns, not %1").arg(used));
      continue;
    }
    for (int k = 2; k <= used; ++k)
      if (!(row->GetDataVal(k) > row->GetDataVal(k - 1)))
        out.Add(*row, QStringLiteral("header column %1 (%2) does not rise above column %3 (%4)")
                          .arg(k).arg(Num(row->GetDataVal(k))).arg(k - 1).arg(Num(row->GetDataVal(k - 1))));
    std::vector<double>& values = kind == kCoolWBHeader ? wetBulbs : kind == kCoolDBHeader ? dryBulbs : heating;
    values.clear();
    for (int k = 1; k <= used; ++k) values.push_back(row->GetDataVal(k));
  }
  RatingConditions rating;
  for (std::size_t k = 0; k < std::min(wetBulbs.size(), dryBulbs.size()); ++k)
    rating.cooling.emplace_back(dryBulbs[k], wetBulbs[k]);
  rating.heating = heating;
  return rating;
}

// An evaporating temperature a coil unit may be selected at.
bool IsOfferedTE(double te) {
  const auto& offered = CTCoilCapacity::kOfferedTEs;
  return std::find(offered.begin(), offered.end(), te) != offered.end();
}

// Every evaporating temperature of the rows, and every one selection offers,
// needs a total and a sensible cooling row; the factor rows (kinds 11, 12)
// need the standard row (kind 2) they scale. Answers the TEs that are complete.
std::vector<double> CheckEvaporatingTemps(Findings& out, Cls_IndoorUnit& coil, ObjectList<Cls_IndTabularCap>& rows) {
  const std::vector<double> ofRows = coil.Capacity().TEs();
  std::set<double> tes(ofRows.begin(), ofRows.end());
  tes.insert(CTCoilCapacity::kOfferedTEs.begin(), CTCoilCapacity::kOfferedTEs.end());
  std::set<double> withTotal, withSensible;
  bool hasStandard = false;
  for (const Cls_IndTabularCap* row : rows) {
    const int kind = row->GetType();
    if (kind == kTotalCool || kind == kTotalCoolFactor) withTotal.insert(row->GetTe());
    if (kind == kSensibleCool || kind == kSensibleCoolFactor) withSensible.insert(row->GetTe());
    hasStandard = hasStandard || kind == kTotalCool;
  }
  if (!hasStandard) {
    out.Add(coil, QStringLiteral("no total cooling row at the standard TE (kind 2) for the other rows to scale"));
    return {};
  }
  std::vector<double> complete;
  for (const double te : tes) {
    QStringList missing;
    if (!withTotal.count(te)) missing << QStringLiteral("total");
    if (!withSensible.count(te)) missing << QStringLiteral("sensible");
    if (missing.isEmpty()) {
      complete.push_back(te);
      continue;
    }
    out.Add(coil, QStringLiteral("no %1 cooling row at TE %2 degC%3")
                      .arg(missing.join(QStringLiteral(" or ")), Num(te),
                           IsOfferedTE(te) ? QStringLiteral(", an evaporating temperature offered for selection") : QString()));
  }
  return complete;
}

// The coil line of every column: its apparatus dew point and bypass factor.
void CheckCoilLines(Findings& out, Cls_IndoorUnit& coil, const std::vector<double>& tes) {
  const TAir air;  // the coil data are rated at sea level
  CTCoilCapacity& capacity = coil.Capacity();
  for (const double te : tes) {
    for (int k = 1; k <= capacity.CoolColumns(); ++k) {
      double adp = 0, bf = 0;
      const QString column = QStringLiteral("column %1 at TE %2 degC").arg(k).arg(Num(te));
      if (!capacity.CoilLine(te, k, air, adp, bf)) {
        out.Add(coil, column + QStringLiteral(": no coil line (missing total or sensible capacity)"));
        continue;
      }
      if (adp < CTCatalogueLint::kMinApparatusDewPointC)
        out.Add(coil, column + QStringLiteral(": apparatus dew point %1 degC is below %2 degC").arg(Num(adp), Num(CTCatalogueLint::kMinApparatusDewPointC)));
      if (!(bf > 0 && bf < 1)) out.Add(coil, column + QStringLiteral(": bypass factor %1 is not between 0 and 1").arg(Num(bf)));
    }
  }
}

// What the data make of the air at the rating conditions, at both ends and the
// middle of the unit's airflow range, computed as a selection computes it
// (Cls_HRX::CoolingCoil, HeatingCoil) with the capacity corrections of the
// airflow: the coil must give cooling and heating there, and never more than
// its surface allows (a cooling line meeting saturation below TE, a heating
// outlet past the condensing limit). One finding per unit, at the first
// failing point, with the count of the others.
void CheckCoilPerformance(Findings& out, Cls_HRX& unit, const RatingConditions& rating, const std::vector<double>& tes) {
  const TAir air;  // the coil data are rated at sea level
  const double lo = unit.GetMinAirflow(), hi = unit.GetMaxAirflow();
  const std::set<double> airflows = {lo, (lo + hi) / 2, hi};
  QStringList failures;
  for (const double airflow : airflows) {
    const QString at = QStringLiteral(" at %1 m3/h, coil inlet ").arg(Num(airflow));
    for (const auto& [dbt, wbt] : rating.cooling) {
      const RepPsychroPoint inlet = PsychroPointAt(air, dbt, air.ConvertDBWB2RH(dbt, wbt));
      for (const double te : tes) {
        if (!IsOfferedTE(te)) continue;
        const ALCoilStep step = unit.CoolingCoil(inlet, airflow, te, air);
        const QString where = QStringLiteral("cooling") + at +
                              QStringLiteral("%1 degC / %2 degC wet bulb, TE %3 degC: ").arg(Num(dbt), Num(wbt), Num(te));
        if (step.Code)
          failures << where + QStringLiteral("no coil data (code %1)").arg(step.Code);
        else if (step.Limited)
          failures << where + QStringLiteral("the data ask for more than the coil surface allows");
        else if (!(step.TotalCap > 0))
          failures << where + QStringLiteral("the coil gives no cooling (%1 kW)").arg(Num(step.TotalCap));
      }
    }
    for (const double dbt : rating.heating) {
      const ALCoilStep step = unit.HeatingCoil(PsychroPointAt(air, dbt, kHeatingRatingRH), airflow, air);
      const QString where = QStringLiteral("heating") + at + QStringLiteral("%1 degC / %2 %: ").arg(Num(dbt), Num(kHeatingRatingRH));
      if (step.Limited)
        failures << where + QStringLiteral("the data take the air past the condensing limit of %1 degC").arg(Num(step.SurfaceTemp));
      else if (!(-step.TotalCap > 0))
        failures << where + QStringLiteral("the coil gives no heating (%1 kW)").arg(Num(-step.TotalCap));
    }
  }
  if (failures.isEmpty()) return;
  QString finding = failures.first();
  if (failures.size() > 1) finding += QStringLiteral(" (and %1 more rating points)").arg(failures.size() - 1);
  out.Add(unit, finding);
}

void CheckCoil(Findings& out, Cls_HRX& unit) {
  std::unique_ptr<Cls_IndoorUnit> coil = unit.GetTheIndoorUnit();
  if (!coil) {
    out.Add(unit, QStringLiteral("a unit with a coil needs its indoor unit"));
    return;
  }
  const int before = out.Count();
  if (!(coil->GetCondensingLimit() > 0))
    out.Add(*coil, QStringLiteral("a coil needs a condensing limit above 0 degC (the warmest air it gives in heating)"));
  if (!unit.GetTotalCapCorrection() || !unit.GetSensibleCapCorrection())
    out.Add(unit, QStringLiteral("a unit with a coil needs both capacity correction curves (types 3 and 4)"));
  ObjectList<Cls_IndTabularCap> rows = coil->GetAllIndTabularCap();
  const RatingConditions rating = CheckHeaders(out, rows);
  const std::vector<double> tes = CheckEvaporatingTemps(out, *coil, rows);
  CheckCoilLines(out, *coil, tes);
  // Faulty rows or curves make every rating point fail: the findings above say why.
  if (out.Count() > before || !(unit.GetNomAirflow() > 0) || !(unit.GetMaxAirflow() >= unit.GetMinAirflow())) return;
  CheckCoilPerformance(out, unit, rating, tes);
}

// A pressure-drop curve: positive and rising with airflow over the unit's
// whole range (a drop that falls as the air speeds up is a fitting error).
void CheckRisingDrop(Findings& out, const Cls_HRX& unit, const Cls_Polynomial& curve, const QString& szWhat) {
  const double lo = unit.GetMinAirflow(), hi = unit.GetMaxAirflow();
  if (!(hi > lo)) return;
  double previous = curve.Evaluate(lo);
  if (!(previous > 0)) {
    out.Add(curve, QStringLiteral("%1 is %2 Pa at %3 m3/h, not above 0").arg(szWhat, Num(previous), Num(lo)));
    return;
  }
  for (int i = 1; i <= kFanCurveSamples; ++i) {
    const double q = lo + (hi - lo) * i / kFanCurveSamples;
    const double p = curve.Evaluate(q);
    if (!(p > previous)) {
      out.Add(curve, QStringLiteral("%1 does not rise with airflow near %2 m3/h").arg(szWhat, Num(q)));
      return;
    }
    previous = p;
  }
}

void CheckFanEfficiency(Findings& out, const Cls_HRX& unit, const Cls_Polynomial& curve) {
  const double lo = unit.GetMinAirflow(), hi = unit.GetMaxAirflow();
  for (int i = 0; i <= kFanCurveSamples; ++i) {
    const double q = lo + (hi - lo) * i / kFanCurveSamples;
    const double eta = curve.Evaluate(q);
    if (!(eta > 0 && eta <= 1)) {
      out.Add(curve, QStringLiteral("the fan static efficiency is %1 at %2 m3/h, not a fraction above 0").arg(Num(eta), Num(q)));
      return;
    }
  }
}

// Each of the five paths once, every band a level a unit can have.
void CheckSound(Findings& out, Cls_HRX& unit, bool bRequired) {
  ObjectList<Cls_HRXSound> paths = unit.GetAllHRXSound();
  if (paths.Count() == 0) {
    if (bRequired) out.Add(unit, QStringLiteral("a unit the ecodesign regulation covers needs its sound power"));
    return;
  }
  std::set<int> seen;
  for (const Cls_HRXSound* path : paths) {
    const int which = path->GetPath();
    if (which < 0 || which >= Cls_HRXSound::kPathCount) {
      out.Add(*path, QStringLiteral("the sound path %1 is none of 0 to 4").arg(which));
      continue;
    }
    if (!seen.insert(which).second) out.Add(*path, QStringLiteral("the sound path %1 is given twice").arg(which));
    for (const double level : path->GetBands())
      if (!(level >= 0 && level <= kMaxSoundPowerDb)) {
        out.Add(*path, QStringLiteral("a sound power of %1 dB is outside 0 .. %2 dB").arg(Num(level), Num(kMaxSoundPowerDb)));
        break;
      }
  }
  if (int(seen.size()) < Cls_HRXSound::kPathCount)
    out.Add(unit, QStringLiteral("the unit gives the sound power of %1 of the 5 paths").arg(seen.size()));
}

bool Within(double d, double lo, double hi) { return d >= lo && d <= hi; }

// The ecodesign declaration. Every unit says how the regulation sees it; a
// unit it covers (a non-residential bidirectional unit) needs every figure
// of the information sheet and of the SFPint.
void CheckEcodesign(Findings& out, Cls_HRX& unit) {
  std::unique_ptr<Cls_HRXEcodesign> eco = unit.GetTheHRXEcodesign();
  if (!eco) {
    out.Add(unit, QStringLiteral("the unit has no ecodesign record (give at least its typology)"));
    return;
  }
  const int typology = eco->GetTypology();
  if (!Within(typology, Cls_HRXEcodesign::kNonResidentialBidirectional, Cls_HRXEcodesign::kUnidirectional)) {
    out.Add(*eco, QStringLiteral("the typology %1 is none of 0 to 3").arg(typology));
    return;
  }
  const bool covered = typology == Cls_HRXEcodesign::kNonResidentialBidirectional;
  CheckSound(out, unit, covered);
  if (!covered) return;

  const double lo = unit.GetMinAirflow(), hi = unit.GetMaxAirflow();
  if (!Within(eco->GetHrsType(), Cls_HRXEcodesign::kPlate, Cls_HRXEcodesign::kOtherHrs))
    out.Add(*eco, QStringLiteral("the heat-recovery type %1 is none of 0 to 3").arg(eco->GetHrsType()));
  if (!Within(eco->GetDrive(), Cls_HRXEcodesign::kMultiSpeed, Cls_HRXEcodesign::kVariableSpeed))
    out.Add(*eco, QStringLiteral("the drive %1 is neither 0 nor 1").arg(eco->GetDrive()));
  if (!Within(eco->GetNomAirflow(), lo, hi) || !(eco->GetNomAirflow() > 0))
    out.Add(*eco, QStringLiteral("the nominal airflow %1 m3/h is outside the unit's %2 .. %3 m3/h")
                      .arg(Num(eco->GetNomAirflow()), Num(lo), Num(hi)));
  if (!(eco->GetNomPressure() > 0 && eco->GetNomPressure() <= kMaxPressurePa))
    out.Add(*eco, QStringLiteral("the nominal external pressure %1 Pa is outside 0 .. %2 Pa").arg(Num(eco->GetNomPressure()), Num(kMaxPressurePa)));
  if (!Within(eco->GetExternalLeakage(), 0, kMaxLeakagePercent) || !Within(eco->GetInternalLeakage(), 0, kMaxLeakagePercent))
    out.Add(*eco, QStringLiteral("a leakage is outside 0 .. %1 %").arg(Num(kMaxLeakagePercent)));
  if (!(eco->GetFaceArea() > 0 && eco->GetFaceArea() <= kMaxFaceAreaM2))
    out.Add(*eco, QStringLiteral("the face area %1 m2 is outside 0 .. %2 m2").arg(Num(eco->GetFaceArea()), Num(kMaxFaceAreaM2)));
  if (!Within(eco->GetSoundAirflow(), lo, hi) || !(eco->GetSoundAirflow() > 0))
    out.Add(*eco, QStringLiteral("the sound reference airflow %1 m3/h is outside the unit's range").arg(Num(eco->GetSoundAirflow())));
  if (!(eco->GetSoundPressure() > 0 && eco->GetSoundPressure() <= kMaxPressurePa))
    out.Add(*eco, QStringLiteral("the sound reference pressure %1 Pa is outside 0 .. %2 Pa").arg(Num(eco->GetSoundPressure()), Num(kMaxPressurePa)));
  if (eco->GetSupplier().isEmpty() || eco->GetDisassemblyURL().isEmpty())
    out.Add(*eco, QStringLiteral("the information sheet needs the supplier and the address of the disassembly instructions"));

  int drops = 0, efficiencies = 0;
  for (const Cls_HRXEcoCurve* curve : unit.GetAllHRXEcoCurve()) {
    if (curve->GetType() == Cls_HRXEcoCurve::kExchangerPressureDrop) {
      ++drops;
      CheckAirflowRange(out, unit, *curve, QStringLiteral("the exchanger's pressure drop"));
      CheckRisingDrop(out, unit, *curve, QStringLiteral("the exchanger's pressure drop"));
    } else if (curve->GetType() == Cls_HRXEcoCurve::kFanStaticEfficiency) {
      ++efficiencies;
      CheckAirflowRange(out, unit, *curve, QStringLiteral("the fan static efficiency"));
      CheckFanEfficiency(out, unit, *curve);
    } else {
      out.Add(*curve, QStringLiteral("the curve type %1 is neither 0 nor 1").arg(curve->GetType()));
    }
  }
  if (drops != 1) out.Add(unit, QStringLiteral("the unit needs one exchanger pressure-drop curve, it has %1").arg(drops));
  if (efficiencies != 1) out.Add(unit, QStringLiteral("the unit needs one fan static efficiency curve, it has %1").arg(efficiencies));

  // The filters' drops count in the SFPint as the user selects them.
  for (int filterClass = 1; filterClass < Cls_HRX::kFilterClassCount; ++filterClass) {
    auto* option = dynamic_cast<Cls_TrivaneDeviceOption*>(unit.GetFilterOption(filterClass));
    if (!option || !option->IsStored()) continue;
    if (const std::unique_ptr<Cls_HRXFilter> curve = option->GetTheHRXFilter())
      CheckRisingDrop(out, unit, *curve, QStringLiteral("the %1 filter's pressure drop").arg(Cls_HRX::FilterClassName(filterClass)));
  }
}

}  // namespace

QStringList CTCatalogueLint::Check(CTBaseFactory& pFactory, const Locator& pWhere) {
  Findings out(pWhere);
  ObjectList<Cls_HRX> units = RecordsAs<Cls_HRX>(CTDbObject::GetAllRecords(Cls_HRX::kClassID, false, &pFactory));
  for (Cls_HRX* unit : units) {
    ObjectList<Cls_HRXSpeed> speeds = unit->GetAllHRXSpeed();
    if (speeds.Count() == 0) out.Add(*unit, QStringLiteral("the unit has no speeds"));
    for (const Cls_HRXSpeed* speed : speeds) CheckSpeed(out, *unit, *speed);

    const int type = unit->GetType();
    if ((type == kCoilUnit || type == kFreshAirUnit) && !(unit->GetNomAirflow() > 0))
      out.Add(*unit, QStringLiteral("a unit with a coil needs a nominal airflow above 0"));

    ObjectList<Cls_HRXPolynomial> curves = unit->GetAllHRXPolynomial();
    for (const Cls_HRXPolynomial* curve : curves) {
      const int curveType = curve->GetType();
      if (curveType == kTempEff || curveType == kCoolEnthEff || curveType == kHeatEnthEff)
        CheckAirflowRange(out, *unit, *curve, QStringLiteral("the efficiency curve of type %1").arg(curveType));
    }
    if (type == kFreshAirUnit) CheckCapacityTables(out, *unit, curves);
    if (type == kCoilUnit) CheckCoil(out, *unit);
    CheckEcodesign(out, *unit);
  }
  return out.List();
}
