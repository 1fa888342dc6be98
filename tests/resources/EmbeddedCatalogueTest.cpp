// The demonstration catalogue as the program carries it: it loads whole with
// auto-correct off, matches its source row for row, carries the structure
// version the reference asks for, and its data are physically plausible.

#include "DemoCatalogue.h"
#include "catalogue/ClHRX.h"
#include "catalogue/ClHRXFilter.h"
#include "catalogue/ClHRXPolynomial.h"
#include "catalogue/ClHRXSpeed.h"
#include "catalogue/ClIndoorUnit.h"
#include "catalogue/ClTrivaneDeviceOption.h"
#include "catalogue/ClDevOptCombination.h"
#include "catalogue/Factory.h"
#include "catalogue/RecordCast.h"
#include "psychro/Air.h"
#include "recdb/ClDdbVersionInfo.h"
#include "recdb/MemDB.h"
#include "recdb/RecordingPresenter.h"
#include "resources/EmbeddedData.h"
#include "tools/CatalogueSource.h"

#include <gtest/gtest.h>

#include <map>

namespace {

class EmbeddedCatalogue : public DemoCatalogueTest {
 protected:
  ObjectList<Cls_HRX> Units(int type) {
    ObjectList<Cls_HRX> units = AllUnits();
    ObjectList<Cls_HRX> ofType(true);
    for (int i = 0; i < units.Count(); ++i)
      if (units.Item(i)->GetType() == type) ofType.Add(units.Extract(i--));
    return ofType;
  }
  static std::unique_ptr<Cls_HRXPolynomial> Curve(Cls_HRX& unit, int type) {
    ObjectList<Cls_HRXPolynomial> curves = unit.GetAllHRXPolynomial();
    for (int i = 0; i < curves.Count(); ++i)
      if (curves.Item(i)->GetType() == type) return std::unique_ptr<Cls_HRXPolynomial>(curves.Extract(i));
    return nullptr;
  }
  static std::string Name(const CTDbObject& o) { return o.GetName().toStdString(); }

};

TEST_F(EmbeddedCatalogue, LoadsEveryRowOfItsSourceWithAutoCorrectOff) {
  auto* engine = dynamic_cast<CTMemDbEngine*>(Factory().GetEngine(0));
  ASSERT_NE(engine, nullptr);
  EXPECT_TRUE(engine->LoadProblems().isEmpty()) << engine->LoadProblems().join('\n').toStdString();

  CTCatalogueSource source;
  ASSERT_TRUE(source.AddPath(QStringLiteral(AEROLITH_CATALOGUE_SOURCE)));
  ASSERT_GT(source.Blocks().size(), 10u);
  for (const CTCatalogueSource::Block& block : source.Blocks()) {
    const CTTableInfo* table = Factory().GetTableNamed(QStringLiteral("Tbl_") + block.table);
    ASSERT_NE(table, nullptr) << block.table.toStdString();
    EXPECT_EQ(engine->CountObjects(table->GetTableIndex()), int(block.rows.size())) << block.table.toStdString();
  }
}

TEST_F(EmbeddedCatalogue, CarriesTheStructureVersionTheReferenceRequires) {
  CTFactory reference;
  reference.SetRequiredEngineType(0, CTResDbEngine::ClassName());
  reference.SetLogicalName(0, QStringLiteral("Device_Database_Ref"));
  ASSERT_TRUE(reference.Connect());
  const auto required = Cls_DdbVersionInfo::GetVersionRecord(&reference, false);
  ASSERT_NE(required, nullptr);
  EXPECT_EQ(required->GetDbVersion(), "1.4.3");
  EXPECT_TRUE(Cls_DdbVersionInfo::CheckVersion(&Factory(), required->GetDbVersion(), true));
  EXPECT_FALSE(Cls_DdbVersionInfo::GetNorvaneVersion(&Factory()).isEmpty());
}

TEST_F(EmbeddedCatalogue, HoldsEveryFamily) {
  EXPECT_EQ(Units(0).Count(), 4);
  EXPECT_EQ(Units(1).Count(), 2);
  EXPECT_EQ(Units(2).Count(), 2);
  for (int type = 3; type <= 8; ++type) EXPECT_EQ(Units(type).Count(), 1) << "type " << type;
}

// Plain units: overlapping airflow ranges with distinct maxima, efficiencies
// and pressures of real units of that size.
TEST_F(EmbeddedCatalogue, PlainUnitsArePlausible) {
  ObjectList<Cls_HRX> units = Units(0);
  units.Sort([](const Cls_HRX* a, const Cls_HRX* b) { return a->GetMaxAirflow() < b->GetMaxAirflow(); });
  ASSERT_EQ(units.Count(), 4);
  EXPECT_LE(units.Item(0)->GetMinAirflow(), 250);
  EXPECT_GE(units.Last()->GetMaxAirflow(), 1100);
  for (int i = 1; i < units.Count(); ++i) {
    EXPECT_LT(units.Item(i)->GetMinAirflow(), units.Item(i - 1)->GetMaxAirflow()) << "ranges overlap";
    EXPECT_GE(units.Item(i)->GetMaxAirflow() - units.Item(i - 1)->GetMaxAirflow(), 50);
  }

  for (Cls_HRX* unit : units) {
    SCOPED_TRACE(Name(*unit));
    const double lo = unit->GetMinAirflow(), hi = unit->GetMaxAirflow(), nominal = unit->GetNomAirflow();
    ASSERT_GT(nominal, lo);
    ASSERT_LT(nominal, hi * 1.0001);
    const struct { int type; double min, max; } bands[] = {{0, 65, 90}, {1, 55, 75}, {2, 55, 75}};
    for (const auto& band : bands) {
      const auto curve = Curve(*unit, band.type);
      ASSERT_NE(curve, nullptr) << "efficiency type " << band.type;
      for (const double q : {lo, nominal, hi}) {
        EXPECT_GE(curve->Evaluate(q), band.min) << "type " << band.type << " at " << q;
        EXPECT_LE(curve->Evaluate(q), band.max) << "type " << band.type << " at " << q;
      }
      EXPECT_GT(curve->Evaluate(lo), curve->Evaluate(hi)) << "efficiency falls with airflow";
    }

    // The top speed: highest speed type, highest step.
    ObjectList<Cls_HRXSpeed> speeds = unit->GetAllHRXSpeed();
    ASSERT_GE(speeds.Count(), 2);
    const Cls_HRXSpeed* top = nullptr;
    for (const Cls_HRXSpeed* s : speeds)
      if (!top || s->GetPowerInput() > top->GetPowerInput()) top = s;
    const double topEsp = top->Evaluate(nominal);
    EXPECT_GE(topEsp, 100);
    EXPECT_LE(topEsp, 250);
    const double wattsPerM3h = top->GetPowerInput() * 1000 / nominal;  // power input is stored in kW
    EXPECT_GE(wattsPerM3h, 0.3);
    EXPECT_LE(wattsPerM3h, 0.45);
    // Fan laws: a speed at ratio r = cbrt(P / P_top) delivers r^2 times the
    // top pressure at r times the airflow.
    for (const Cls_HRXSpeed* s : speeds) {
      const double r = std::cbrt(s->GetPowerInput() / top->GetPowerInput());
      ASSERT_GT(r, 0.2);
      EXPECT_NEAR(s->Evaluate(r * nominal) / (r * r * topEsp), 1.0, 0.15) << "speed " << s->GetID();
    }
  }
}

TEST_F(EmbeddedCatalogue, FilterDropsAtNominalAirflowFitTheirClass) {
  const std::map<int, std::pair<double, double>> bands = {{1, {30, 60}}, {2, {50, 90}}, {3, {70, 120}}};
  ObjectList<Cls_HRX> units = Units(0);
  for (Cls_HRX* unit : units) {
    SCOPED_TRACE(Name(*unit));
    std::map<int, int> classes;
    for (Cls_DevOptCombination* combination : unit->GetAllDevOptCombination()) {
      auto option = RecordAs<Cls_TrivaneDeviceOption>(combination->GetDeviceOption());
      if (!option || option->GetType() != 27 || option->GetDeleted()) continue;
      const int filterClass = int(std::lround(option->GetValue()));
      ++classes[filterClass];
      const auto curve = option->GetTheHRXFilter();
      ASSERT_NE(curve, nullptr) << Name(*option);
      const double drop = curve->Evaluate(unit->GetNomAirflow());
      EXPECT_GE(drop, bands.at(filterClass).first) << Name(*option);
      EXPECT_LE(drop, bands.at(filterClass).second) << Name(*option);
    }
    EXPECT_EQ(classes.size(), 3u) << "F6, F7 and F8";
  }
}

// Fresh-air units: the tables give what the air can carry, rho V dh.
TEST_F(EmbeddedCatalogue, FreshAirCapacitiesFollowTheAirflow) {
  const TAir air;
  ObjectList<Cls_HRX> units = Units(2);
  ASSERT_EQ(units.Count(), 2);
  for (Cls_HRX* unit : units) {
    SCOPED_TRACE(Name(*unit));
    ObjectList<Cls_HRXPolynomial> curves = unit->GetAllHRXPolynomial();
    const auto family = [&](int type) {
      std::vector<const Cls_HRXPolynomial*> list;
      for (const Cls_HRXPolynomial* c : curves)
        if (c->GetType() == type) list.push_back(c);
      std::stable_sort(list.begin(), list.end(), Cls_HRXPolynomial::CompareHRXPolynomials);
      return list;
    };
    for (const int type : {5, 6, 7, 8}) ASSERT_FALSE(family(type).empty()) << "table " << type;
    EXPECT_GT(unit->GetMinCoolRH(), 0);
    EXPECT_GT(unit->GetMinHeatRH(), 0);
    EXPECT_LT(unit->GetMinHeatRH(), unit->GetMinCoolRH());

    const double massFlow = 1.2 * unit->GetNomAirflow() / 3600;  // kg/s
    // Heating outdoor air at 0 degC to a supply of 20 degC (sensible only).
    const auto heatBlock = Cls_HRXPolynomial::SelectDischargeBlock(family(7), 20);
    const double heating = Cls_HRXPolynomial::EvalHeatCapBlock(heatBlock, 0);
    EXPECT_NEAR(heating / (massFlow * 1.006 * 20), 1.0, 0.1);
    EXPECT_LE(heating, Cls_HRXPolynomial::EvalHeatCapBlock(family(8), 0));

    // Cooling outdoor air at 35 degC / 24 degC wet bulb: the capacity lies
    // between cooling the air dry to the discharge temperature and cooling
    // it to saturation there.
    const double discharge = 16;
    const auto coolBlock = Cls_HRXPolynomial::SelectDischargeBlock(family(5), discharge);
    const double cooling = Cls_HRXPolynomial::EvalCoolCapBlock(coolBlock, 24, 35);
    const double colder = discharge - 2;
    const double hSaturatedColder = TAir::Enthalpy(air.AbsoluteHumidity(100, colder), colder);
    const double hIn = TAir::Enthalpy(air.AbsoluteHumidity(air.ConvertDBWB2RH(35, 24), 35), 35);
    EXPECT_GT(cooling, massFlow * 1.02 * (35 - discharge));
    EXPECT_LT(cooling, massFlow * (hIn - hSaturatedColder));
    EXPECT_LE(cooling, Cls_HRXPolynomial::EvalCoolCapBlock(family(6), 24, 35));
  }
}

// Coils: the sensible heat ratio of a real coil at 27/19 degC.
TEST_F(EmbeddedCatalogue, CoilsHaveTheCapacitiesOfRealCoils) {
  const TAir air;
  ObjectList<Cls_HRX> units = Units(1);
  ASSERT_EQ(units.Count(), 2);
  int fanPositions = 0;
  for (Cls_HRX* unit : units) {
    SCOPED_TRACE(Name(*unit));
    std::unique_ptr<Cls_IndoorUnit> coil = unit->GetTheIndoorUnit();
    ASSERT_NE(coil, nullptr);
    fanPositions |= 1 << std::min(coil->GetFanPosition(), 1);
    int err = 0;
    const double rh = air.ConvertDBWB2RH(27, 19);
    const double total = coil->GetTCoolCap(-273, 27, rh, air, false, err);
    const double sensible = coil->GetSCoolCap(-273, 27, rh, air, false, err);
    const double kWPerM3h = total / coil->GetHighFan();
    EXPECT_GT(kWPerM3h, 0.005) << "about 5 to 9 W of cooling per m3/h";
    EXPECT_LT(kWPerM3h, 0.009);
    EXPECT_GT(sensible / total, 0.6);
    EXPECT_LT(sensible / total, 0.85);
    EXPECT_GT(coil->GetHeatCap(20, false, err), total * 0.9);
  }
  EXPECT_EQ(fanPositions, 3) << "one coil with the fan before it, one after";
  EXPECT_GT(units.Item(0)->GetNomHumidity() + units.Item(1)->GetNomHumidity(), 0) << "one humidifier";
}

}  // namespace
