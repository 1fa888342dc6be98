// The condition frame of one mode: humidity modes, heaters and checks.

#include "app/FrameTempConditions.h"
#include "catalogue/ClHRX.h"
#include "psychro/Air.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>

namespace {

class TempConditions : public testing::Test {
 protected:
  void SetUp() override {
    v_frame.SetupWindow(true, [this] { ++v_changes; }, &v_air);
    v_frame.SetFamily(CTSelectionForm::Traits(Cls_HRX::kPlainUnit));
  }
  void Choose(const char* combo, int index) {
    QComboBox* box = v_frame.Combo(QString::fromLatin1(combo));
    box->setCurrentIndex(index);
    emit box->activated(index);
  }
  TAir v_air;
  TFrm_TempConditions v_frame;
  int v_changes = 0;
};

TEST_F(TempConditions, CoolingStartsFromTheDesignDefaults) {
  const LTModeInputs m = v_frame.Inputs();
  EXPECT_EQ(m.room.dryBulbC, 27);
  EXPECT_EQ(m.room.humidityMode, HumidityMode::kWetBulb);  // the room field holds a wet bulb
  EXPECT_EQ(m.room.humidity, 19);
  EXPECT_EQ(m.outdoor.dryBulbC, 35);
  EXPECT_EQ(m.outdoor.humidityMode, HumidityMode::kRelativeHumidity);
  EXPECT_EQ(m.outdoor.humidity, 50);
  EXPECT_EQ(m.inletHeater, HeaterChoice::kCalculated);
  EXPECT_FALSE(m.supplyTempGiven);
  EXPECT_EQ(v_changes, 0);
}

TEST_F(TempConditions, SwitchingToRelativeHumidityConvertsTheValue) {
  Choose("Lbl_RoomRH", 0);
  // 27 degC with a 19 degC wet bulb is 47 % when rounded to a whole percent.
  EXPECT_EQ(v_frame.Field("Frm_RoomRH")->GetVal(), std::nearbyint(v_air.ConvertDBWB2RH(27, 19)));
  EXPECT_EQ(v_frame.Field("Frm_RoomRH")->GetVal(), 47);
  EXPECT_EQ(v_changes, 1);
}

// The frame shows the inlet heater choice as the selection resolved it on
// the unit, and hands the same choice back.
TEST_F(TempConditions, TheInletChoiceShowsAsTheSelectionHoldsIt) {
  const QList<LTHeaterOption> options{{1, "EH-1.0", 1.0}, {2, "EH-1.5", 1.5}, {3, "EH-2.0", 2.0}};
  struct Case {
    HeaterChoice choice;
    double kW;
    int optionID;
    int shown;  // the item of the inlet box
  };
  for (const Case& c : {Case{HeaterChoice::kOption, 0, 2, 2}, Case{HeaterChoice::kUserValue, 1.7, 0, 1},
                        Case{HeaterChoice::kCalculated, 0, 0, 0}}) {
    SCOPED_TRACE(c.shown);
    LTModeInputs mode = LTModeInputs::CoolingDefaults();
    mode.inletHeater = c.choice;
    mode.inletHeaterKW = c.kW;
    mode.inletOptionID = c.optionID;
    v_frame.SetupInlet(options, mode);
    EXPECT_EQ(v_frame.Combo("Lbl_Inletheater")->count(), 3);
    EXPECT_EQ(v_frame.Combo("Lbl_Inletheater")->currentIndex(), c.shown);
    EXPECT_EQ(v_frame.GetSelectedHeaterOption(), c.optionID);
    const LTModeInputs inputs = v_frame.Inputs();
    EXPECT_EQ(inputs.inletHeater, c.choice);
    if (c.choice == HeaterChoice::kOption) EXPECT_EQ(inputs.inletOptionID, c.optionID);
    if (c.choice == HeaterChoice::kUserValue) EXPECT_EQ(inputs.inletHeaterKW, c.kW);
  }
  // A unit without options offers no option item.
  v_frame.SetupInlet({}, LTModeInputs::CoolingDefaults());
  EXPECT_EQ(v_frame.Combo("Lbl_Inletheater")->count(), 2);
  EXPECT_EQ(v_changes, 0);  // shown by the program: no handler runs
}

// What the selection holds comes back from the frame unchanged: no
// humidity converted, no value rounded to what a field shows.
TEST_F(TempConditions, InputsShownComeBackAsTheyWere) {
  LTModeInputs shown = LTModeInputs::CoolingDefaults();
  shown.room = {26, HumidityMode::kRelativeHumidity, 47.25};
  shown.outdoor = {33.3333, HumidityMode::kWetBulb, 24.06};
  shown.inletHeater = HeaterChoice::kUserValue;
  shown.inletHeaterKW = 1.2345;
  v_frame.ShowInputs(shown);
  const LTModeInputs inputs = v_frame.Inputs();
  EXPECT_EQ(inputs.room.dryBulbC, 26);
  EXPECT_EQ(inputs.room.humidityMode, HumidityMode::kRelativeHumidity);
  EXPECT_EQ(inputs.room.humidity, 47.25);
  EXPECT_EQ(inputs.outdoor.dryBulbC, 33.3333);
  EXPECT_EQ(inputs.outdoor.humidityMode, HumidityMode::kWetBulb);
  EXPECT_EQ(inputs.outdoor.humidity, 24.06);
  EXPECT_EQ(inputs.inletHeater, HeaterChoice::kUserValue);
  EXPECT_EQ(inputs.inletHeaterKW, 1.2345);
  EXPECT_EQ(v_changes, 0);  // values set by the program run no handler
}

TEST_F(TempConditions, ACorrectionLandsInItsField) {
  v_frame.ApplyCorrection(ConditionField::kOutdoorDryBulb, 27);
  EXPECT_EQ(v_frame.Field("Frm_AmbientDbt")->GetVal(), 27);
  v_frame.ApplyCorrection(ConditionField::kRoomWetBulb, 27);
  EXPECT_EQ(v_frame.Field("Frm_RoomRH")->GetVal(), 27);
  EXPECT_EQ(v_changes, 0);  // values set by the program run no handler
}

// The heater choices get new and longer items after the frame is first laid
// out (the option entry, the glossary's captions); each still shows its
// whole text, inside the heaters box.
TEST_F(TempConditions, HeaterChoicesShowTheirWholeText) {
  TFrm_TempConditions heating;
  heating.SetupWindow(false, [] {}, &v_air);
  heating.SetFamily(CTSelectionForm::Traits(Cls_HRX::kPlainUnit));  // the supply heater's panel shows in heating
  heating.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&heating));

  heating.SetCalculatedHeaters(1.2, 0.5);
  LTModeInputs option = LTModeInputs::HeatingDefaults();
  option.inletHeater = HeaterChoice::kOption;
  option.inletOptionID = 2;
  heating.SetupInlet({{1, "EH-1.0", 1.0}, {2, "Electric duct heater, two stages, 1.5", 1.5}}, option);
  heating.Combo("Lbl_Inletheater")->setItemText(1, "Vorheizregister vorgegeben (benutzerdefiniert)");
  heating.Combo("Lbl_SupplyHeater")->setItemText(1, "Nachheizregister vorgegeben (benutzerdefiniert)");
  // A layout request climbs one level per round of events: panel, box, frame.
  for (int level = 0; level < 3; ++level) QApplication::processEvents();

  const QWidget* box = heating.findChild<QGroupBox*>("Box_ElectricHeaters");
  for (const char* name : {"Lbl_Inletheater", "Txt_HeaterOptions", "Lbl_SupplyHeater"}) {
    QComboBox* combo = heating.Combo(name);
    ASSERT_TRUE(combo->isVisible()) << name;
    QStyleOptionComboBox option;
    option.initFrom(combo);
    const QRect text = combo->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo);
    for (int i = 0; i < combo->count(); ++i)
      EXPECT_GE(text.width(), combo->fontMetrics().horizontalAdvance(combo->itemText(i)))
          << name << ": " << combo->itemText(i).toStdString();
    EXPECT_TRUE(box->rect().contains(QRect(combo->mapTo(box, QPoint(0, 0)), combo->size()))) << name;
  }
}

}  // namespace
