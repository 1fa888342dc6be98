// The window and aerolith-cli are two forms over one selection: driven with
// the same inputs (the window as a user types, the command line with
// options), they show the same numbers and the same messages.

#include "CliRun.h"
#include "WindowFixture.h"

#include "app/FrameAirConditions.h"
#include "app/FrameAirProps.h"
#include "app/FrameResultData.h"
#include "app/FrameTempConditions.h"
#include "app/Frame_UnitTextScroll.h"
#include "app/DlgSelect.h"
#include "app/ValueText.h"
#include "i18n/BaseMsgMan.h"
#include "psychro/SI_Units.h"
#include "recdb/RecordingPresenter.h"
#include "selection/ResultTexts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace {

class Parity;

struct ParityCase {
  const char* name;
  std::function<void(Parity&)> drive;              // what the user types into the window
  std::function<QStringList(const Parity&)> cli;  // the same inputs for aerolith-cli select
  // What the case is about, as the command line shows it: "unit", or
  // "cooling", "heating" or "selection" and the code expected there.
  const char* about = "unit";
  int code = 0;
};

class Parity : public WindowFixture<testing::TestWithParam<ParityCase>> {};

// An SI value of the window for the command line, to full precision.
QString Arg(double value) { return TBaseMsg::Number2Str(value, 17); }

// ---- what both show

void ExpectNear(double window, const QJsonValue& cli, const std::string& what) {
  if (!std::isfinite(window)) {
    EXPECT_TRUE(cli.isNull()) << what;
    return;
  }
  ASSERT_TRUE(cli.isDouble()) << what;
  EXPECT_NEAR(window, cli.toDouble(), 1e-9 * std::max(1.0, std::fabs(window))) << what;
}

// A figure the family shows is the window's; one it does not show is left out.
void ExpectShownFigure(bool shown, double window, const QJsonObject& o, const char* key, const std::string& what) {
  if (shown)
    ExpectNear(window, o[key], what);
  else
    EXPECT_FALSE(o.contains(key)) << what;
}

void ExpectSameMode(const SelectionResult& w, const QJsonValue& cli, bool cooling, const std::string& mode) {
  const LTModeResult& m = cooling ? w.cooling : w.heating;
  const LTFamilyLayout layout = CTResultTexts::Layout(w.family, w.hasHumidifier, cooling);
  if (!m.computed) {
    EXPECT_TRUE(cli.isNull()) << mode;
    return;
  }
  const QJsonObject o = cli.toObject();
  EXPECT_EQ(m.code, o["code"].toInt()) << mode;
  EXPECT_EQ(m.message, o["message"].toString()) << mode;
  // A mode that ended with a check code gives the window's code and message
  // and no states.
  EXPECT_EQ(m.Succeeded(), o["computed"].toBool()) << mode;
  if (!m.Succeeded()) {
    EXPECT_TRUE(o["states"].isNull()) << mode;
    return;
  }
  const RepPsychroPoint* points[] = {&m.states.RA, &m.states.OA, &m.states.EA, &m.states.SA,
                                     &m.states.VI, &m.states.VO, &m.states.CI, &m.states.HI};
  const char* names[] = {"RA", "OA", "EA", "SA", "VI", "VO", "CI", "HI"};
  for (std::size_t i = 0; i < 8; ++i) {
    const std::string at = mode + " " + names[i];
    EXPECT_EQ(o["states"].toObject().contains(names[i]), layout.points[i]) << at;
    if (!layout.points[i]) continue;
    const QJsonObject state = o["states"][names[i]].toObject();
    ExpectNear(points[i]->DBT, state["DBT"], at + " DBT");
    ExpectNear(m.wetBulbC[i], state["WB"], at + " WB");
    ExpectNear(points[i]->RH, state["RH"], at + " RH");
    ExpectNear(points[i]->AH, state["AH"], at + " AH");
    ExpectNear(points[i]->e, state["e"], at + " e");
  }
  ExpectShownFigure(layout.efficiencies, m.temperatureEff, o, "temperature_efficiency", mode + " temperature efficiency");
  ExpectShownFigure(layout.efficiencies, m.enthalpyEff, o, "enthalpy_efficiency", mode + " enthalpy efficiency");
  ExpectNear(m.inletHeater.CalcHeater, o["inlet_heater_kw"], mode + " inlet heater");
  ExpectShownFigure(layout.savings, m.totalSavingsKW, o, "savings_total_kw", mode + " total savings");
  ExpectShownFigure(layout.savings, m.latentSavingsKW, o, "latent_savings_kw", mode + " latent savings");
  ExpectShownFigure(layout.supplyTemp, m.supplyTempC, o, "supply_temp_c", mode + " supply temperature");
  if (cooling) {
    ExpectShownFigure(layout.capacities, m.totalCapKW, o, "total_capacity_kw", mode + " capacity");
  } else {
    ExpectShownFigure(layout.capacities, m.heatCapKW, o, "heat_capacity_kw", mode + " capacity");
    ExpectShownFigure(layout.supplyHeater, m.supplyHeater.CalcHeater, o, "supply_heater_kw", mode + " supply heater");
    ExpectShownFigure(layout.humidification, m.humidificationKgh, o, "humidification_kgh", mode + " humidification");
  }
}

// The values shown in a result frame are the command line's values, written
// in the unit in effect.
void ExpectShown(TFrm_AirConditions* frame, const QJsonValue& cli, const std::string& mode) {
  const QJsonObject o = cli.toObject();
  if (o.isEmpty() || o["code"].toInt() != 0) return;
  for (const char* point : {"RA", "OA", "SA"}) {
    const QJsonObject state = o["states"][point].toObject();
    EXPECT_EQ(frame->Point(point)->Value("Txt_DBT"), ValueText::Dimensioned(state["DBT"].toDouble(), U_Temperature))
        << mode << " " << point;
    EXPECT_EQ(frame->Point(point)->Value("Txt_WBT"), ValueText::Dimensioned(state["WB"].toDouble(), U_Temperature))
        << mode << " " << point;
  }
}

TEST_P(Parity, TheWindowAndTheCommandLineAgree) {
  GetParam().drive(*this);
  const SelectionResult& w = v_window->Result();
  const CliResult r = RunCli(QStringList{"select", "--json"} + GetParam().cli(*this));
  ASSERT_TRUE(r.code == AerolithCli::kExitOk || r.code == AerolithCli::kExitNothingComputed) << r.err.toStdString();
  const QJsonObject cli = QJsonDocument::fromJson(r.out.toUtf8()).object();
  // The case shows what it is meant to show.
  const QString about = QString::fromLatin1(GetParam().about);
  if (about == "unit") {
    EXPECT_FALSE(cli["unit"].isNull());
  } else if (about == "selection") {
    EXPECT_EQ(cli["selection_code"].toInt(), GetParam().code);
  } else {
    EXPECT_EQ(cli[about]["code"].toInt(), GetParam().code);
  }

  ExpectNear(w.supplyLs, cli["supply_ls"], "supply airflow");
  if (Cls_HRX::HasExhaustFan(w.family))
    ExpectNear(w.exhaustLs, cli["exhaust_ls"], "exhaust airflow");
  else
    EXPECT_FALSE(cli.contains("exhaust_ls")) << "a unit without an exhaust fan has no exhaust airflow";
  const QJsonArray rows = cli["candidates"].toArray();
  ASSERT_EQ(w.rows.size(), rows.size());
  for (int i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(w.rows[i].name, rows[i]["unit"].toString()) << i;
    EXPECT_EQ(w.rows[i].supplySpeed, rows[i]["supply_speed"].toString()) << i;
    EXPECT_EQ(w.rows[i].exhaustSpeed, rows[i]["exhaust_speed"].toString()) << i;
    ExpectNear(w.rows[i].supplyMarginPa, rows[i]["supply_margin_pa"], "supply margin");
  }
  EXPECT_EQ(w.selectionMessage, cli["selection_message"].toString());
  EXPECT_EQ(w.Current() ? QJsonValue(w.unitName) : QJsonValue(), cli["unit"]);
  ExpectSameMode(w, cli["cooling"], true, "cooling");
  ExpectSameMode(w, cli["heating"], false, "heating");
  if (w.Current()) {
    ExpectNear(w.supplySide.additionalPa, cli["esp"]["supply_additional_pa"], "supply additional resistance");
    ExpectNear(w.supplySide.filterPa, cli["esp"]["supply_filter_pa"], "supply filter");
    ExpectNear(w.supplySide.plenumPa, cli["esp"]["supply_plenum_pa"], "supply plenum");
    ExpectNear(w.exhaustSupplyRatio, cli["ratios"]["exhaust_supply"], "exhaust/supply");
    ExpectNear(w.supplyNominalRatio, cli["ratios"]["supply_nominal"], "supply/nominal");
    ExpectNear(w.fans.sfpKWPerM3s, cli["sfp_kw_per_m3s"], "SFP");
  }
  ExpectShown(v_window->CoolAirConditions(), cli["cooling"], "cooling");
  ExpectShown(v_window->HeatAirConditions(), cli["heating"], "heating");

  // The message the window showed last is the one the command line gives.
  QString expected = cli["selection_message"].toString();
  for (const char* mode : {"cooling", "heating"})
    if (const QString m = cli[mode].toObject()["message"].toString(); !m.isEmpty()) expected = m;
  if (!expected.isEmpty()) {
    ASSERT_FALSE(v_messages.shown.isEmpty());
    EXPECT_EQ(v_messages.shown.last(), expected);
  }
}


// The inlet heater option the heating frame chose, by name.
QString HeatingOptionName(const Parity& p) {
  const LTModeInputs inputs = p.Heating()->Inputs();
  Cls_HRX* unit = p.v_window->CurrentHRX();
  if (!unit) return QString();
  for (const LTHeaterOption& o : CTSelectionRun::HeaterOptions(*unit))
    if (o.id == inputs.inletOptionID) return o.name;
  return QString();
}

INSTANTIATE_TEST_SUITE_P(
    Requests, Parity,
    testing::Values(
        ParityCase{"PlainUnitForARoomByArea", [](Parity&) {}, [](const Parity&) { return QStringList{}; }},
        ParityCase{"PlainUnitByPersonsWithAFilterAndPlenums",
                   [](Parity& p) {
                     p.Click("RB_NumberOfPersons");
                     p.Type("Frm_NumberOfPersons", "16");
                     p.Type("Frm_Airflow", "6");
                     p.Type("Frm_DesignSupplyESP", "120");
                     p.Type("Frm_DesignExhaustESP", "100");
                     p.Choose("Txt_SupplyFilter", "F7");
                     p.Click("Rbn_PlenumOAEA");
                   },
                   [](const Parity&) {
                     return QStringList{"--persons", "16", "--airflow-per-person", "6", "--esp-supply", "120",
                                        "--esp-exhaust", "100", "--filter-supply", "F7", "--plenums", "1"};
                   }},
        ParityCase{"UnbalancedTotals",
                   [](Parity& p) {
                     p.Click("Chk_TotalSupply");
                     p.Type("Frm_TotalSupply", "150");
                     p.Click("Chk_TotalExhaust");
                     p.Type("Frm_TotalExhaust", "130");
                   },
                   [](const Parity&) { return QStringList{"--supply", "150", "--exhaust", "130"}; }},
        ParityCase{"CoilUnit",
                   [](Parity& p) {
                     p.Choose("Txt_Family", "HRD");
                     p.Click("Chk_TotalSupply");
                     p.Type("Frm_TotalSupply", "250");
                   },
                   [](const Parity&) { return QStringList{"--family", "HRD", "--supply", "250"}; }},
        ParityCase{"FreshAirUnitWithItsHeatingDischarge",
                   [](Parity& p) {
                     p.Choose("Txt_Family", "DQTL-MF");
                     p.Click("Chk_TotalSupply");
                     p.Type("Frm_TotalSupply", "220");
                     p.Type(p.Field("Frm_Discharge", p.Heating()), "22");
                   },
                   [](const Parity&) {
                     return QStringList{"--family", "DQTL-MF", "--supply", "220", "--heat-discharge", "22"};
                   }},
        ParityCase{"AUserInletHeaterBelowTheMinimum",
                   [](Parity& p) {
                     p.Type(p.Field("Frm_AmbientDbt", p.Heating()), "-20");
                     p.Choose(p.Heating()->Combo("Lbl_Inletheater"), 1);
                     p.Type(p.Field("Frm_InletHeater", p.Heating()), "0.1");
                   },
                   [](const Parity&) {
                     return QStringList{"--heat-outdoor", "-20,50", "--inlet-heater-heat", "0.1"};
                   },
                   "heating", 22},
        ParityCase{"AnInletHeaterOption",
                   [](Parity& p) {
                     p.Type(p.Field("Frm_AmbientDbt", p.Heating()), "-20");
                     p.Choose(p.Heating()->Combo("Lbl_Inletheater"), 2);
                     QComboBox* options = p.Heating()->Combo("Txt_HeaterOptions");
                     p.Choose(options, options->count() - 1);
                   },
                   [](const Parity& p) {
                     const QString option = HeatingOptionName(p);
                     EXPECT_FALSE(option.isEmpty());
                     return QStringList{"--heat-outdoor", "-20,50", "--inlet-heater-heat", option};
                   }},
        ParityCase{"AFailingLimit",
                   [](Parity& p) { p.Type(p.Field("Frm_RoomRH", p.Heating()), "90"); },
                   [](const Parity&) { return QStringList{"--heat-room", "20,90"}; }, "heating", 9},
        ParityCase{"NoUnitFits",
                   [](Parity& p) {
                     p.Click("Chk_TotalSupply");
                     p.Type("Frm_TotalSupply", "300");
                     p.Type("Frm_DesignSupplyESP", "270");
                   },
                   [](const Parity&) { return QStringList{"--supply", "300", "--esp-supply", "270"}; },
                   "selection", 6},
        ParityCase{"ImperialUnitsConvertedBackToSI",
                   [](Parity& p) {
                     Parity::UseUnit(U_Airflow, "CFM");
                     Parity::UseUnit(U_Temperature, "°F");
                     Parity::UseUnit(U_Pressure, "inH2O");
                     Parity::UseUnit(U_Surface, "ft²");
                     p.v_window->NewProject();
                     p.Click("Chk_TotalSupply");
                     p.Type("Frm_TotalSupply", "300");
                     p.Type("Frm_DesignSupplyESP", "0.45");
                     p.Type(p.Field("Frm_AmbientDbt", p.Cooling()), "93");
                     p.Type(p.Field("Frm_AmbientDbt", p.Heating()), "23");
                   },
                   [](const Parity& p) {
                     // What the window holds, in SI, to full precision.
                     const SelectionRequest r = p.v_window->CurrentRequest();
                     const auto condition = [](const LTAirCondition& c) {
                       return Arg(c.dryBulbC) + "," +
                              (c.humidityMode == HumidityMode::kWetBulb ? "wb" : "") + Arg(c.humidity);
                     };
                     return QStringList{"--supply", Arg(r.totalSupplyLs), "--esp-supply", Arg(r.supplyEspPa),
                                        "--esp-exhaust", Arg(r.exhaustEspPa), "--cool-room", condition(r.cooling.room),
                                        "--cool-outdoor", condition(r.cooling.outdoor), "--heat-room",
                                        condition(r.heating.room), "--heat-outdoor", condition(r.heating.outdoor)};
                   }}),
    [](const testing::TestParamInfo<ParityCase>& test) { return std::string(test.param.name); });

}  // namespace
