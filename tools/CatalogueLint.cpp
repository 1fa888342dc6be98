#include "tools/CatalogueLint.h"

#include "catalogue/ClHRX.h"
#include "catalogue/ClHRXPolynomial.h"
#include "catalogue/ClHRXSpeed.h"
#include "catalogue/ClIndTabularCap.h"
#include "catalogue/ClIndoorUnit.h"
#include "catalogue/CoilCapacity.h"
#include "catalogue/RecordCast.h"
#include "psychro/Air.h"
#include "recdb/BaseFactory.h"

#include <cmath>
#include <map>

namespace {

constexpr int kFanCurveSamples = 64;  // points at which a fan curve must fall

enum HRXType { kPlainUnit = 0, kCoilUnit = 1, kFreshAirUnit = 2 };
enum CurveType { kTempEff = 0, kCoolEnthEff = 1, kHeatEnthEff = 2, kCoolCap = 5, kMaxCoolCap = 6, kHeatCap = 7, kMaxHeatCap = 8 };
enum HeaderKind { kCoolWBHeader = 0, kHeatHeader = 1, kCoolDBHeader = 10 };

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

void CheckCoil(Findings& out, Cls_HRX& unit) {
  std::unique_ptr<Cls_IndoorUnit> coil = unit.GetTheIndoorUnit();
  if (!coil) {
    out.Add(unit, QStringLiteral("a unit with a coil needs its indoor unit"));
    return;
  }
  ObjectList<Cls_IndTabularCap> rows = coil->GetAllIndTabularCap();
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
  }

  const TAir air;  // the coil data are rated at sea level
  CTCoilCapacity& capacity = coil->Capacity();
  for (const double te : capacity.TEs()) {
    for (int k = 1; k <= capacity.CoolColumns(); ++k) {
      double adp = 0, bf = 0;
      const QString column = QStringLiteral("column %1 at TE %2 degC").arg(k).arg(Num(te));
      if (!capacity.CoilLine(te, k, air, adp, bf)) {
        out.Add(*coil, column + QStringLiteral(": no coil line (missing total or sensible capacity)"));
        continue;
      }
      if (adp < CTCatalogueLint::kMinApparatusDewPointC)
        out.Add(*coil, column + QStringLiteral(": apparatus dew point %1 degC is below %2 degC").arg(Num(adp), Num(CTCatalogueLint::kMinApparatusDewPointC)));
      if (!(bf > 0 && bf < 1)) out.Add(*coil, column + QStringLiteral(": bypass factor %1 is not between 0 and 1").arg(Num(bf)));
    }
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
  }
  return out.List();
}
