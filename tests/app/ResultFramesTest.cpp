// The result frames: which rows a family shows, and how values are written.

#include "app/FrameAirConditions.h"
#include "app/FrameAirProps.h"
#include "app/FrameResultData.h"
#include "psychro/Air.h"
#include "psychro/SI_Units.h"

#include <QGroupBox>

#include <gtest/gtest.h>

namespace {

bool Shown(const QWidget& frame, const char* name) {
  const auto* w = frame.findChild<QWidget*>(QString::fromLatin1(name));
  return w && !w->isHidden();
}

TEST(ResultData, BoxesFollowTheFamilyAndTheMode) {
  TFrm_ResultData frame;
  struct Case {
    int family;
    bool humidifier, cooling;
    bool efficiencies, supplyTemp, humidification, supplyHeaters;
  };
  const Case cases[] = {
      {0, false, true, true, false, false, false},  // plain unit, cooling
      {0, false, false, true, false, false, true},  // plain unit, heating: supply heater rows
      {1, true, true, true, false, false, false},   // coil unit: humidification only in heating
      {1, true, false, true, false, true, false},
      {1, false, false, true, false, false, false},
      {2, false, false, false, true, false, false},  // fresh-air unit: supply temperature instead
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "family " << c.family << (c.cooling ? " cooling" : " heating"));
    frame.SetupWindow(c.family, c.humidifier, c.cooling);
    EXPECT_EQ(Shown(frame, "Box_Efficiencies"), c.efficiencies);
    EXPECT_EQ(Shown(frame, "Box_HeatSavings"), c.efficiencies);
    EXPECT_EQ(Shown(frame, "Box_SupplyTemp"), c.supplyTemp);
    EXPECT_EQ(Shown(frame, "Box_Humidification"), c.humidification);
    EXPECT_EQ(Shown(frame, "Pnl_Supply"), c.supplyHeaters);
  }
}

TEST(ResultData, ValuesAreWrittenWithTheirUnitsAndNothingForNoValue) {
  TU_Form::AddApplicationDimensions();  // the start-up's display digits: kW with 3
  TFrm_ResultData frame;
  frame.SetupWindow(0, false, false);
  frame.FillFields(76.6157, 63.4695, -0.2, 2.0208, 18, 0, -273, ALHeaterSet{-2147483647.0, 0.517},
                   ALHeaterSet{2.5, 0.253});
  EXPECT_EQ(frame.Value("Txt_TempEff"), "76.6 %");
  EXPECT_EQ(frame.Value("Txt_EnthalpyEff"), "63.5 %");
  EXPECT_EQ(frame.Value("Txt_LatentHeatSavings"), "-0.200 kW");  // moisture against the heat: a negative saving
  EXPECT_EQ(frame.Value("Txt_SensibleHeatSavings"), "2.021 kW");
  EXPECT_EQ(frame.Value("Txt_TotalHeatSavings"), "1.821 kW");
  EXPECT_EQ(frame.Value("Txt_InletAmbient"), "");  // -273: no threshold
  EXPECT_EQ(frame.Value("Txt_InletUser"), "");      // not given
  EXPECT_EQ(frame.Value("Txt_InletCalc"), "0.517 kW");
  EXPECT_EQ(frame.Value("Txt_SupplyUser"), "2.500 kW");
  EXPECT_EQ(frame.Value("Txt_SupplyCalc"), "0.253 kW");
  QStringList efficiencies, savings, supplyTemp, humidifier, heaters;
  frame.GetResultsStrings(efficiencies, savings, supplyTemp, humidifier, heaters);
  EXPECT_EQ(efficiencies, (QStringList{"Efficiencies", "Temperature exchange efficiency", "76.6 %",
                                       "Enthalpy exchange efficiency", "63.5 %"}));
  EXPECT_TRUE(supplyTemp.isEmpty());
  EXPECT_EQ(heaters.first(), "Heaters");
  EXPECT_EQ(heaters.at(1), "Switch on inlet heater below");
  EXPECT_EQ(heaters.size(), 11);
}

TEST(AirConditions, PointsFollowTheFamilyAndShowTheDeltaEnthalpy) {
  TFrm_AirConditions frame;
  frame.SetupWindow("RA", "EA", "OA", "SA", "VI", "VO", "CI", "HI");
  frame.SetFamily(1, true, false);
  EXPECT_FALSE(frame.Point("CI")->isHidden());
  EXPECT_FALSE(frame.Point("HI")->isHidden());
  frame.SetFamily(1, true, true);
  EXPECT_TRUE(frame.Point("HI")->isHidden());
  frame.SetFamily(2, false, true);
  EXPECT_TRUE(frame.Point("EA")->isHidden());
  EXPECT_TRUE(frame.Point("CI")->isHidden());

  const TAir air;
  ALPsychroSet set;
  set.RA = {20, 50, 0.0072621, 38.550};
  frame.SetFamily(0, false, true);
  frame.SetPsychroVals(air, 10.02, set);
  EXPECT_EQ(frame.Point("RA")->Value("Txt_DBT"), "20.0 °C");
  EXPECT_EQ(frame.Point("RA")->Value("Txt_WBT"), "13.7 °C");  // the wet bulb of 20 degC / 50 %
  EXPECT_EQ(frame.Point("RA")->Value("Txt_RH"), "50.0 %");
  EXPECT_EQ(frame.Point("RA")->Value("Txt_h"), "48.6 kJ/kg");  // 38.55 + 10.02
  EXPECT_EQ(frame.Point("RA")->GetStrings().first(), "RA");
}

}  // namespace
