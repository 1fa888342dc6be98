// The selection form on the demonstration catalogue, with no widgets: what
// each family shows and takes, what a family change keeps, what a project
// sets, and that an edit leaves every input but its own as the user gave it.
//
// Family ranges (l/s) from the catalogue text, resources/catalogue, in m3/h
// / 3.6 rounded inwards: plain 23..333, coil 56..305, fresh-air 156..400,
// NV-OS150 12..41, NV-VT120 9..33 with one speed type.

#include "DemoCatalogue.h"
#include "selection/SelectionForm.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

class SelectionForm : public DemoCatalogueTest {
 protected:
  void SetUp() override {
    DemoCatalogueTest::SetUp();
    form = std::make_unique<CTSelectionForm>(Session());
    form->AddListener([this](unsigned changes) { heard.push_back(changes); });
  }
  void TearDown() override {
    form.reset();
    DemoCatalogueTest::TearDown();
  }

  // Adds the first option the current unit offers and does not use, as a
  // user does on the Results tab; its name, empty when there is none.
  QString AddFirstAvailableOption() {
    for (int i = 0; i < form->OptionRows().size(); ++i)
      if (!form->OptionRows()[i].used) {
        const QString name = form->OptionRows()[i].name;
        form->SelectOption(i);
        return name;
      }
    return QString();
  }

  std::unique_ptr<CTSelectionForm> form;
  std::vector<unsigned> heard;
};

// ---------------------------------------------------------------- per family

TEST_F(SelectionForm, EachFamilyShowsItsInputsWithItsRanges) {
  struct Case {
    int family;
    bool exhaust, filters, discharge, supplyHeater, maxSpeed;
    double minLs, maxLs, maxEspPa;
  };
  const Case cases[] = {
      {Cls_HRX::kPlainUnit, true, true, false, true, true, 23, 333, 280},
      {Cls_HRX::kCoilUnit, true, false, false, false, true, 56, 305, 281},
      {Cls_HRX::kFreshAirUnit, false, false, true, false, true, 156, 400, 305},
      {3, false, false, false, false, true, 12, 41, 146},
      {5, false, false, false, false, false, 9, 33, 144},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.family);
    form->Reset(c.family);
    EXPECT_EQ(form->State(FormInput::kTotalExhaust).visible, c.exhaust);
    EXPECT_EQ(form->State(FormInput::kExhaustEsp).visible, c.exhaust);
    EXPECT_EQ(form->State(FormInput::kTotalExhaustGiven).visible, c.exhaust);
    EXPECT_EQ(form->State(FormInput::kSupplyFilter).visible, c.filters);
    EXPECT_EQ(form->State(FormInput::kExhaustFilter).visible, c.filters);
    EXPECT_EQ(form->State(FormInput::kCoolDischarge).visible, c.discharge);
    EXPECT_EQ(form->State(FormInput::kHeatDischarge).visible, c.discharge);
    EXPECT_EQ(form->State(FormInput::kSupplyHeater).visible, c.supplyHeater);
    EXPECT_EQ(form->State(FormInput::kSupplyTemp).visible, c.supplyHeater);
    EXPECT_EQ(form->State(FormInput::kMaxSpeed).visible, c.maxSpeed);
    EXPECT_FALSE(form->State(FormInput::kEvaporating).visible);
    for (const FormInput total : {FormInput::kTotalSupply, FormInput::kTotalExhaust}) {
      EXPECT_EQ(form->State(total).min, c.minLs);
      EXPECT_EQ(form->State(total).max, c.maxLs);
    }
    EXPECT_EQ(form->State(FormInput::kSupplyEsp).max, c.maxEspPa);
    // The defaults: 5 l/s per person, 100 m2 at 5 m2 per person, bounded
    // to the family.
    EXPECT_EQ(form->Request().totalSupplyLs, std::clamp(100.0, c.minLs, c.maxLs));
    EXPECT_EQ(form->Request().totalExhaustLs, form->Request().totalSupplyLs);
  }
}

TEST_F(SelectionForm, TheAirflowBasisDecidesWhichFieldsTakeAValue) {
  form->Reset(Cls_HRX::kPlainUnit);
  const auto enabled = [this] {
    return std::vector<bool>{form->State(FormInput::kAirflowPerPerson).enabled,
                             form->State(FormInput::kRoomSurface).enabled,
                             form->State(FormInput::kAreaPerPerson).enabled, form->State(FormInput::kPersons).enabled,
                             form->State(FormInput::kTotalSupply).enabled, form->State(FormInput::kBasis).enabled};
  };
  EXPECT_EQ(enabled(), (std::vector<bool>{true, true, true, false, false, true}));

  // By persons: 100 m2 / 5 m2 = 20 persons, the airflow unchanged.
  form->SetValue(FormInput::kRoomSurface, 130);
  form->SetBasis(AirflowBasis::kByPersons);
  EXPECT_EQ(form->Request().persons, 26);
  EXPECT_EQ(form->Request().totalSupplyLs, 130);
  EXPECT_EQ(enabled(), (std::vector<bool>{true, false, false, true, false, true}));

  // Back by area: the area per person at its default, the surface from the
  // persons: 26 x 5 = 130 m2.
  form->SetValue(FormInput::kPersons, 31);
  form->SetBasis(AirflowBasis::kByArea);
  EXPECT_EQ(form->Request().areaPerPersonM2, 5);
  EXPECT_EQ(form->Request().roomSurfaceM2, 155);
  EXPECT_EQ(form->Request().totalSupplyLs, 155);

  // A total: only the total takes a value; leaving it, by persons comes back
  // at its default of 20 persons when persons were chosen.
  form->SetBasis(AirflowBasis::kByPersons);
  form->SetBasis(AirflowBasis::kTotals);
  EXPECT_EQ(enabled(), (std::vector<bool>{false, false, false, false, true, false}));
  form->SetValue(FormInput::kTotalSupply, 210);
  EXPECT_EQ(form->Request().totalSupplyLs, 210);
  form->SetBasis(AirflowBasis::kByPersons);
  EXPECT_EQ(form->Request().persons, 20);
  EXPECT_EQ(form->Request().totalSupplyLs, 100);
  // Giving up the total opens the room surface again, by persons too.
  EXPECT_EQ(enabled(), (std::vector<bool>{true, true, false, true, false, true}));
}

TEST_F(SelectionForm, AnAirflowBeyondTheFamilyCorrectsThePersonsOrTheArea) {
  form->Reset(Cls_HRX::kPlainUnit);
  // 5 l/s x 1000 m2 / 5 m2 = 1000 l/s, above 333: the area per person
  // becomes 5 x 1000 / 333 = 15.015, held in tenths as 15.0.
  form->SetValue(FormInput::kRoomSurface, 1000);
  EXPECT_EQ(form->Request().totalSupplyLs, 333);
  EXPECT_DOUBLE_EQ(form->Request().areaPerPersonM2, 15.0);
  // A value typed beyond its field is held at the field's end.
  form->SetValue(FormInput::kAltitude, 2500);
  EXPECT_EQ(form->Request().altitudeM, 2000);
}

TEST_F(SelectionForm, EditsRunAsFarAsTheyNeed) {
  form->Reset(Cls_HRX::kPlainUnit);
  ASSERT_NE(form->CurrentUnit(), nullptr);
  heard.clear();
  form->SetValue(FormInput::kAltitude, 400);
  form->SetValue(FormInput::kSupplyEsp, 185);
  form->SetFamily(Cls_HRX::kCoilUnit);
  ASSERT_EQ(heard.size(), 3u);
  EXPECT_EQ(heard[0], CTSelectionForm::kInputs | CTSelectionForm::kUnit);
  EXPECT_EQ(heard[1], CTSelectionForm::kInputs | CTSelectionForm::kCandidates | CTSelectionForm::kUnit);
  EXPECT_TRUE(heard[2] & CTSelectionForm::kRanges);
  EXPECT_EQ(form->Result().altitudeM, 400);
  // A change of display units runs nothing and changes no value.
  const Cls_HRX* unit = form->CurrentUnit();
  const double esp = form->Request().supplyEspPa;
  form->PreferencesChanged();
  EXPECT_EQ(heard.back(), unsigned(CTSelectionForm::kDisplay));
  EXPECT_EQ(form->CurrentUnit(), unit);
  EXPECT_EQ(form->Request().supplyEspPa, esp);
}

TEST_F(SelectionForm, AWrongConditionIsCorrectedWhereItWasTypedAndNothingIsComputed) {
  form->Reset(Cls_HRX::kPlainUnit);
  LTModeInputs cooling = form->Request().cooling;
  cooling.outdoor.dryBulbC = 20;  // below the room's 27 degC
  form->SetMode(true, cooling);
  ASSERT_TRUE(form->Correction());
  EXPECT_TRUE(heard.back() & CTSelectionForm::kCorrected);
  EXPECT_EQ(form->Request().cooling.outdoor.dryBulbC, 27);
  EXPECT_EQ(form->CurrentUnit(), nullptr);
}

// ---------------------------------------------------------------- edits keep the rest

// A first calculation with choices of every kind made, then one edit: every
// input but the edited one, the heater choices and the options added by
// hand on the unit still current are as they were.
TEST_F(SelectionForm, AnEditLeavesEveryOtherInputAndTheUsersChoices) {
  struct Edit {
    const char* what;
    std::function<void(CTSelectionForm&)> apply;
    std::function<void(SelectionRequest&)> expect;  // the edit itself on the request before
  };
  const std::vector<Edit> edits = {
      {"exhaust ESP 200 -> 185", [](CTSelectionForm& f) { f.SetValue(FormInput::kExhaustEsp, 185); },
       [](SelectionRequest& r) { r.exhaustEspPa = 185; }},
      {"altitude 400 m", [](CTSelectionForm& f) { f.SetValue(FormInput::kAltitude, 400); },
       [](SelectionRequest& r) { r.altitudeM = 400; }},
      {"a filter that empties the list, then none again",
       [](CTSelectionForm& f) {
         f.SetFilter(true, 3);
         f.SetFilter(true, 0);
       },
       [](SelectionRequest&) {}},
      {"the coil family and back",
       [](CTSelectionForm& f) {
         f.SetFamily(Cls_HRX::kCoilUnit);
         f.SetFamily(Cls_HRX::kPlainUnit);
       },
       [](SelectionRequest&) {}},
  };
  for (const Edit& edit : edits) {
    SCOPED_TRACE(edit.what);
    form->Reset(Cls_HRX::kPlainUnit);
    form->SetBasis(AirflowBasis::kTotals);
    form->SetValue(FormInput::kTotalSupply, 120.5);
    form->SetExhaustGiven(true);
    form->SetValue(FormInput::kTotalExhaust, 110.25);
    form->SetValue(FormInput::kExhaustEsp, 200);
    LTModeInputs heating = form->Request().heating;
    heating.inletHeater = HeaterChoice::kUserValue;
    heating.inletHeaterKW = 1.234;
    heating.room.humidityMode = HumidityMode::kWetBulb;
    heating.room.humidity = 13.7;
    form->SetMode(false, heating);
    ASSERT_NE(form->CurrentUnit(), nullptr);
    const QString unit = form->Result().unitName;
    // An option added by hand.
    const QString option = AddFirstAvailableOption();
    ASSERT_FALSE(option.isEmpty());

    SelectionRequest expected = form->Request();
    edit.apply(*form);
    edit.expect(expected);
    const SelectionRequest& r = form->Request();
    EXPECT_EQ(r.altitudeM, expected.altitudeM);
    EXPECT_EQ(r.basis, expected.basis);
    EXPECT_EQ(r.totalSupplyLs, expected.totalSupplyLs);
    EXPECT_EQ(r.exhaustGiven, expected.exhaustGiven);
    EXPECT_EQ(r.totalExhaustLs, expected.totalExhaustLs);
    EXPECT_EQ(r.supplyEspPa, expected.supplyEspPa);
    EXPECT_EQ(r.exhaustEspPa, expected.exhaustEspPa);
    EXPECT_EQ(r.supplyFilter, expected.supplyFilter);
    EXPECT_EQ(r.exhaustFilter, expected.exhaustFilter);
    EXPECT_EQ(r.family, expected.family);
    EXPECT_EQ(r.maxSpeedTypeID, expected.maxSpeedTypeID);
    EXPECT_EQ(r.heating.inletHeater, HeaterChoice::kUserValue);
    EXPECT_EQ(r.heating.inletHeaterKW, 1.234);
    EXPECT_EQ(r.heating.room.humidityMode, HumidityMode::kWetBulb);
    EXPECT_EQ(r.heating.room.humidity, 13.7);
    EXPECT_EQ(r.cooling.room.humidity, expected.cooling.room.humidity);
    if (form->Result().unitName != unit) continue;  // another unit came first: its own options
    bool stillUsed = false;
    for (const LTOptionRow& row : form->OptionRows()) stillUsed = stillUsed || (row.used && row.name == option);
    EXPECT_TRUE(stillUsed) << option.toStdString();
  }
}

// ---------------------------------------------------------------- inlet heaters

// Once a unit has calculated an inlet heater, the next computation takes
// the smallest of its options that covers it in place of the calculated
// one; a size of the user's own and a calculation no option covers stay.
// NV-1000 at 250 l/s offers NEH-315-2.5 and NEH-315-4.5; heating at -12 degC
// needs more than 2.5 kW and no more than 4.5, at -20 degC more than 4.5.
TEST_F(SelectionForm, ACalculatedInletHeaterGivesWayToTheOptionThatCoversIt) {
  struct Case {
    const char* what;
    double outdoorC;
    HeaterChoice choice;
    double userKW;
    HeaterChoice expected;
    QString option;  // expected with kOption
  };
  const Case cases[] = {
      {"covered by the 4.5 kW option", -12, HeaterChoice::kCalculated, 0, HeaterChoice::kOption, "NEH-315-4.5"},
      {"no option covers it", -20, HeaterChoice::kCalculated, 0, HeaterChoice::kCalculated, ""},
      {"the user's own 5 kW", -12, HeaterChoice::kUserValue, 5, HeaterChoice::kUserValue, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    form->Reset(Cls_HRX::kPlainUnit);
    form->SetBasis(AirflowBasis::kTotals);
    form->SetValue(FormInput::kTotalSupply, 250);
    LTModeInputs heating = form->Request().heating;
    heating.outdoor.dryBulbC = c.outdoorC;
    heating.inletHeater = c.choice;
    heating.inletHeaterKW = c.userKW;
    form->SetMode(false, heating);
    ASSERT_EQ(form->Result().unitName.section(',', 0, 0), "NV-1000");
    EXPECT_EQ(form->Request().heating.inletHeater, c.choice);  // nothing calculated before this unit
    form->SetValue(FormInput::kAltitude, 100);
    EXPECT_EQ(form->Request().heating.inletHeater, c.expected);
    if (c.expected == HeaterChoice::kUserValue) EXPECT_EQ(form->Request().heating.inletHeaterKW, c.userKW);
    if (c.expected != HeaterChoice::kOption) continue;
    QString name;
    for (const LTHeaterOption& o : CTSelectionRun::HeaterOptions(*form->CurrentUnit()))
      if (o.id == form->Request().heating.inletOptionID) name = o.name;
    EXPECT_EQ(name, c.option);
  }
}

// ---------------------------------------------------------------- projects

TEST_F(SelectionForm, AProjectSetsItsInputsItsUnitAndItsOptions) {
  // A selection saved from one form ...
  form->Reset(Cls_HRX::kPlainUnit);
  form->SetBasis(AirflowBasis::kTotals);
  form->SetValue(FormInput::kTotalSupply, 150);
  form->SetValue(FormInput::kAltitude, 650);
  form->SetValue(FormInput::kSupplyEsp, 123.4);
  form->SetCandidate(1);
  ASSERT_EQ(form->Result().current, 1);
  const QString option = AddFirstAvailableOption();
  ASSERT_FALSE(option.isEmpty());
  const std::optional<CTHRXProjectData> project = form->Project();
  ASSERT_TRUE(project);
  const QString unit = form->Result().unitName;

  // ... opened in another, which held a selection of another family.
  CTSelectionForm opened(Session());
  opened.Reset(Cls_HRX::kFreshAirUnit);
  QString why;
  ASSERT_TRUE(opened.ApplyProject(*project, why)) << why.toStdString();
  const SelectionRequest& r = opened.Request();
  EXPECT_EQ(r.family, Cls_HRX::kPlainUnit);
  EXPECT_EQ(r.basis, AirflowBasis::kTotals);
  EXPECT_EQ(r.totalSupplyLs, 150);
  EXPECT_EQ(r.altitudeM, 650);
  EXPECT_EQ(r.supplyEspPa, 123.4);
  EXPECT_EQ(opened.Ranges().maxAirflowLs, 333);
  EXPECT_EQ(opened.Result().unitName, unit);
  bool used = false;
  for (const LTOptionRow& row : opened.OptionRows()) used = used || (row.used && row.name == option);
  EXPECT_TRUE(used) << option.toStdString();

  // A family the catalogue does not have changes nothing.
  CTHRXProjectData unknown = *project;
  unknown.v_intfV0.v_family = Cls_HRX::kMaxFamily + 1;
  const SelectionRequest before = opened.Request();
  EXPECT_FALSE(opened.ApplyProject(unknown, why));
  EXPECT_FALSE(why.isEmpty());
  EXPECT_EQ(opened.Request().family, before.family);
  EXPECT_EQ(opened.Result().unitName, unit);
}

// The room of the sound pressure travels with the project, and a section a
// later build wrote comes back out of this one as it went in; a new
// selection forgets it.
TEST_F(SelectionForm, AProjectKeepsItsSoundRoomAndSectionsOfLaterBuilds) {
  form->Reset(Cls_HRX::kPlainUnit);
  form->SetValue(FormInput::kSoundDistance, 3.5);
  form->SetValue(FormInput::kRoomConstant, 140);
  std::optional<CTHRXProjectData> project = form->Project();
  ASSERT_TRUE(project);
  project->SetSection({"ZZZ9", QByteArray("later")});

  CTSelectionForm opened(Session());
  QString why;
  ASSERT_TRUE(opened.ApplyProject(*project, why)) << why.toStdString();
  EXPECT_EQ(opened.Request().soundDistanceM, 3.5);
  EXPECT_EQ(opened.Request().roomConstantM2, 140);
  opened.SetValue(FormInput::kSoundDistance, 5);
  const std::optional<CTHRXProjectData> saved = opened.Project();
  ASSERT_TRUE(saved);
  ASSERT_NE(saved->Section("ZZZ9"), nullptr);
  EXPECT_EQ(saved->Section("ZZZ9")->payload, QByteArray("later"));
  EXPECT_EQ(CTProjectMapping::ToRequest(*saved).soundDistanceM, 5);

  opened.Reset(Cls_HRX::kPlainUnit);
  EXPECT_EQ(opened.Project()->Section("ZZZ9"), nullptr);
}

}  // namespace
