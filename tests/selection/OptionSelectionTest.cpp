// The options box's rows for NV-400 of the demonstration catalogue
// (60-options.cat): the NRC-10 controller is preferred; NRC-20W, NRC-30,
// NRS-CO2 and NRS-RH are plain; heaters NEH-200-1.0 (12) and NEH-200-1.5
// (13), filter sets NFS-400-F6/F7/F8 (23 to 25) and the plenum NPL-400 (43,
// four required) are listed only when the inputs call for them.

#include "DemoCatalogue.h"
#include "catalogue/ClDeviceOption.h"
#include "selection/OptionSelection.h"

#include <gtest/gtest.h>

#include <map>

namespace {

class OptionsOfNV400 : public DemoCatalogueTest {
 protected:
  void SetUp() override {
    DemoCatalogueTest::SetUp();
    v_unit = Unit("NV-400");
    ASSERT_NE(v_unit, nullptr);
  }
  // name -> count of the used rows; the available ones by name.
  static std::map<QString, int> Used(const QList<LTOptionRow>& rows) {
    std::map<QString, int> used;
    for (const LTOptionRow& r : rows)
      if (r.used) used[r.name] = r.count;
    return used;
  }
  static QStringList Available(const QList<LTOptionRow>& rows) {
    QStringList names;
    for (const LTOptionRow& r : rows)
      if (!r.used) names << r.name;
    names.sort();  // the lists show them by name
    return names;
  }
  static int Index(const QList<LTOptionRow>& rows, const QString& name) {
    for (int i = 0; i < rows.size(); ++i)
      if (rows[i].name == name) return i;
    return -1;
  }
  std::unique_ptr<Cls_HRX> v_unit;
};

}  // namespace

TEST_F(OptionsOfNV400, TheInputsDecideHeatersFiltersAndPlenums) {
  struct Case {
    const char* name;
    LTOptionInputs inputs;
    std::map<QString, int> used;
  };
  using P = PlenumArrangement;
  const Case cases[] = {
      {"nothing called for", {}, {{"NRC-10", 1}}},
      {"one heater option in both modes", {13, 13, 0, 0, P::kNone}, {{"NRC-10", 1}, {"NEH-200-1.5", 2}}},
      {"two heater options", {12, 13, 0, 0, P::kNone}, {{"NRC-10", 1}, {"NEH-200-1.0", 1}, {"NEH-200-1.5", 1}}},
      {"F7 on the supply only", {0, 0, 2, 0, P::kNone}, {{"NRC-10", 1}, {"NFS-400-F7", 1}}},
      {"F7 on both sides", {0, 0, 2, 2, P::kNone}, {{"NRC-10", 1}, {"NFS-400-F7", 2}}},
      {"F6 and F8", {0, 0, 1, 3, P::kNone}, {{"NRC-10", 1}, {"NFS-400-F6", 1}, {"NFS-400-F8", 1}}},
      {"outdoor and exhaust plenums", {0, 0, 0, 0, P::kOutdoorExhaust}, {{"NRC-10", 1}, {"NPL-400", 2}}},
      {"all plenums", {0, 0, 0, 0, P::kAll}, {{"NRC-10", 1}, {"NPL-400", 4}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const QList<LTOptionRow> rows = CTOptionSelection::FillOptions(*v_unit, c.inputs);
    EXPECT_EQ(Used(rows), c.used);
    EXPECT_EQ(Available(rows), (QStringList{"NRC-20W", "NRC-30", "NRS-CO2", "NRS-RH"}));
    for (const LTOptionRow& r : rows)
      if (r.type == 4 || r.type == 27 || r.type == 28) {
        EXPECT_TRUE(r.standard) << r.name.toStdString();
      }
    // What is used is what the unit keeps.
    ASSERT_NE(v_unit->GetUsedOptions(), nullptr);
    EXPECT_EQ(v_unit->GetUsedOptions()->Count(), int(c.used.size()));
  }
}

TEST_F(OptionsOfNV400, ChoicesLastUntilUndoneAndStandardOptionsStay) {
  const LTOptionInputs filters{0, 0, 2, 0, PlenumArrangement::kNone};
  QList<LTOptionRow> rows = CTOptionSelection::FillOptions(*v_unit, filters);
  CTOptionSelection::Select(*v_unit, rows, Index(rows, "NRS-CO2"));
  EXPECT_FALSE(CTOptionSelection::Deselect(*v_unit, rows, Index(rows, "NFS-400-F7")));  // standard
  EXPECT_TRUE(CTOptionSelection::Deselect(*v_unit, rows, Index(rows, "NRC-10")));       // preferred
  EXPECT_EQ(Used(rows), (std::map<QString, int>{{"NRS-CO2", 1}, {"NFS-400-F7", 1}}));

  // At the next refresh the chosen option stays and the preferred one is back.
  rows = CTOptionSelection::FillOptions(*v_unit, filters);
  EXPECT_EQ(Used(rows), (std::map<QString, int>{{"NRC-10", 1}, {"NRS-CO2", 1}, {"NFS-400-F7", 1}}));

  // A plain option deselected is gone for good; the filter goes with its input.
  ASSERT_TRUE(CTOptionSelection::Deselect(*v_unit, rows, Index(rows, "NRS-CO2")));
  rows = CTOptionSelection::FillOptions(*v_unit, {});
  EXPECT_EQ(Used(rows), (std::map<QString, int>{{"NRC-10", 1}}));
  EXPECT_EQ(Index(rows, "NFS-400-F7"), -1);
}

TEST_F(OptionsOfNV400, TheUsedListKeepsTheOrderOptionsWereChosenIn) {
  // Chosen against catalogue order: NRS-RH, then NRC-20W. The unit keeps
  // them, and a refresh lists them, after the preferred controller in that
  // order; a filter newly called for joins at the end.
  QList<LTOptionRow> rows = CTOptionSelection::FillOptions(*v_unit, {});
  CTOptionSelection::Select(*v_unit, rows, Index(rows, "NRS-RH"));
  CTOptionSelection::Select(*v_unit, rows, Index(rows, "NRC-20W"));
  const auto usedInOrder = [](const QList<LTOptionRow>& list) {
    QStringList names;
    for (const LTOptionRow& r : list)
      if (r.used) names << r.name;
    return names;
  };
  const auto keptInOrder = [this] {
    QStringList names;
    for (const Cls_DeviceOption* o : *v_unit->GetUsedOptions()) names << o->GetName();
    return names;
  };
  const QStringList chosen{"NRC-10", "NRS-RH", "NRC-20W"};
  EXPECT_EQ(usedInOrder(rows), chosen);
  EXPECT_EQ(keptInOrder(), chosen);

  rows = CTOptionSelection::FillOptions(*v_unit, {0, 0, 2, 0, PlenumArrangement::kNone});
  EXPECT_EQ(usedInOrder(rows), chosen + QStringList{"NFS-400-F7"});
  EXPECT_EQ(keptInOrder(), chosen + QStringList{"NFS-400-F7"});

  // A row put back goes to the end of the available ones.
  ASSERT_TRUE(CTOptionSelection::Deselect(*v_unit, rows, Index(rows, "NRS-RH")));
  QStringList available;
  for (const LTOptionRow& r : rows)
    if (!r.used) available << r.name;
  EXPECT_EQ(available.last(), "NRS-RH");
}

// Every run makes new records of its units: the choice kept for NV-400
// goes onto a new record of NV-400 (the order it was chosen in with it),
// never onto another unit's, and is gone once the choices are forgotten.
TEST_F(OptionsOfNV400, AChoiceKeptGoesToTheNextRecordOfTheSameUnitOnly) {
  CTOptionChoices choices;
  QList<LTOptionRow> rows = CTOptionSelection::FillOptions(*v_unit, {});
  CTOptionSelection::Select(*v_unit, rows, Index(rows, "NRS-RH"));
  CTOptionSelection::Select(*v_unit, rows, Index(rows, "NRS-CO2"));
  choices.Keep(*v_unit);

  const std::unique_ptr<Cls_HRX> again = Unit("NV-400");
  ASSERT_EQ(again->GetUsedOptions(), nullptr);
  choices.Give(*again);
  QStringList used;
  for (const LTOptionRow& r : CTOptionSelection::FillOptions(*again, {}))
    if (r.used) used << r.name;
  EXPECT_EQ(used, (QStringList{"NRC-10", "NRS-RH", "NRS-CO2"}));

  const std::unique_ptr<Cls_HRX> other = Unit("NV-650");
  choices.Give(*other);
  EXPECT_EQ(other->GetUsedOptions(), nullptr);

  choices.Clear();
  const std::unique_ptr<Cls_HRX> afresh = Unit("NV-400");
  choices.Give(*afresh);
  EXPECT_EQ(afresh->GetUsedOptions(), nullptr);
}
