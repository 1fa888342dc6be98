// The selection window on the demonstration catalogue, driven as a user
// drives it: typing into the fields, clicking the choices.

#include "app/ChartBox.h"
#include "app/PsychroBox.h"
#include "app/ValueText.h"
#include "app/FrameAirConditions.h"
#include "app/FrameAirProps.h"
#include "app/FrameResultData.h"
#include "app/FrameTempConditions.h"
#include "app/Frame_UnitTextScroll.h"
#include "app/ApplicationUtils.h"
#include "app/DlgSelect.h"
#include "recdb/ClDdbVersionInfo.h"
#include "catalogue/ClHRX.h"
#include "catalogue/ClTrivaneDeviceOption.h"
#include "catalogue/Factory.h"
#include "psychro/SI_Units.h"
#include "recdb/RecordingPresenter.h"

#include <QApplication>
#include <QAbstractButton>
#include <QCheckBox>
#include <QDialog>
#include <QPushButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QTabWidget>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <functional>

#include "WindowFixture.h"

namespace {

class SelectionWindow : public WindowFixture<> {
 protected:
  QStringList Candidates() const {
    QStringList names;
    const auto* list = v_window->findChild<QTreeWidget*>("LV_SelectedDevices");
    for (int i = 0; i < list->topLevelItemCount(); ++i) names << list->topLevelItem(i)->text(0);
    return names;
  }
  QString Point(TFrm_AirConditions* frame, const char* point, const char* value) const {
    return frame->Point(QString::fromLatin1(point))->Value(QString::fromLatin1(value));
  }

};

TEST_F(SelectionWindow, StartsOnTheCatalogueWithItsVersionInTheCaption) {
  EXPECT_EQ(v_window->windowTitle(), "Aerolith - " + ApplicationUtils::Version() + " - " +
                                         Cls_DdbVersionInfo::GetNorvaneVersion(v_window->Factory()));
  auto* families = v_window->findChild<QComboBox*>("Txt_Family");
  ASSERT_EQ(families->count(), 7);  // HRX, HRD, DQTL-MF, Ostrel, Kestova, Veltrin, Fastlink
  EXPECT_EQ(families->itemText(0), "HRX");
  EXPECT_EQ(families->itemText(5), "Veltrin");
  EXPECT_EQ(families->itemData(6).toInt(), 7);
  EXPECT_FALSE(v_window->DataHaveChanged());
  EXPECT_FALSE(v_window->SelectionList().IsEmpty());  // the first selection ran
}

TEST_F(SelectionWindow, FromARoomToTheAirStatesOfBothModes) {
  // 16 persons of 6 l/s: 96 l/s = 345.6 m3/h; beyond the smallest unit
  // (up to 300 m3/h) and below the largest one's minimum (400 m3/h).
  Click("RB_NumberOfPersons");
  Type(Field("Frm_NumberOfPersons"), "16");
  Type(Field("Frm_Airflow"), "6");
  Type(Field("Frm_DesignSupplyESP"), "120");
  Type(Field("Frm_DesignExhaustESP"), "100");
  Type(v_window->CoolConditions()->Field("Frm_AmbientDbt"), "32");
  EXPECT_TRUE(v_messages.shown.isEmpty()) << v_messages.shown.join('\n').toStdString();
  EXPECT_NEAR(v_window->SupplyAir(), 345.6, 1e-9);
  EXPECT_NEAR(v_window->ExhaustAir(), 345.6, 1e-9);
  EXPECT_TRUE(v_window->DataHaveChanged());

  // The smallest adequate unit first, then the next size in its speed pairs.
  const QStringList names = Candidates();
  ASSERT_GE(names.size(), 2);
  EXPECT_EQ(names.first(), "NV-400");
  EXPECT_TRUE(names.contains("NV-650"));
  EXPECT_FALSE(names.contains("NV-250"));
  EXPECT_FALSE(names.contains("NV-1000"));
  const ObjectList<Cls_HRX>& list = v_window->SelectionList();
  for (int i = 1; i < list.Count(); ++i) EXPECT_LE(list.Item(i - 1)->SelectionKey(), list.Item(i)->SelectionKey());
  ASSERT_NE(v_window->CurrentHRX(), nullptr);
  EXPECT_EQ(v_window->CurrentHRX()->GetName(), "NV-400");

  // The inputs arrive as the room and outdoor states; the exchange lies between them.
  const ALPsychroSet& cooling = v_window->CoolingSet();
  EXPECT_EQ(cooling.RA.DBT, 27);
  EXPECT_EQ(cooling.OA.DBT, 32);
  EXPECT_GT(cooling.SA.DBT, cooling.RA.DBT);
  EXPECT_LT(cooling.SA.DBT, cooling.OA.DBT);
  const ALPsychroSet& heating = v_window->HeatingSet();
  EXPECT_EQ(heating.RA.DBT, 20);
  EXPECT_EQ(heating.OA.DBT, 7);
  EXPECT_GT(heating.SA.DBT, 7);
  EXPECT_LT(heating.SA.DBT, 20);

  // Every state of a plain unit shows in both result frames.
  for (TFrm_AirConditions* frame : {v_window->CoolAirConditions(), v_window->HeatAirConditions()})
    for (const char* point : {"RA", "OA", "EA", "SA", "VI", "VO"})
      for (const char* value : {"Txt_DBT", "Txt_WBT", "Txt_RH", "Txt_AH", "Txt_h"})
        EXPECT_FALSE(Point(frame, point, value).isEmpty()) << point << " " << value;
  EXPECT_EQ(Point(v_window->CoolAirConditions(), "OA", "Txt_DBT"), "32.0 °C");
  EXPECT_EQ(Point(v_window->HeatAirConditions(), "RA", "Txt_DBT"), "20.0 °C");
  EXPECT_EQ(Point(v_window->CoolAirConditions(), "SA", "Txt_DBT"),
            TBaseMsg::FormatFixed(cooling.SA.DBT, 1) + " °C");
  EXPECT_FALSE(v_window->CoolResultData()->Value("Txt_TempEff").isEmpty());
  EXPECT_TRUE(v_window->CoolResultData()->Value("Txt_TempEff").endsWith(" %"));
}

TEST_F(SelectionWindow, SaysInWordsWhatCannotBeDone) {
  // At 120 l/s (432 m3/h) every unit but the smallest takes the airflow,
  // and none reaches 350 Pa on its supply side (the field stops at the
  // family's highest ESP limit): a selection code.
  Type(Field("Frm_Airflow"), "6");
  v_messages.shown.clear();
  Type(Field("Frm_DesignSupplyESP"), "350");
  ASSERT_EQ(v_messages.shown.size(), 1);
  EXPECT_EQ(v_messages.shown.last(), "The supply ESP is too large for any of the available ventilation devices.");
  EXPECT_TRUE(Candidates().isEmpty());
  EXPECT_EQ(v_window->CurrentHRX(), nullptr);

  // Back to a feasible pressure; then a room too humid for the unit in
  // heating: a performance code with the unit's limit as its parameter.
  v_messages.shown.clear();
  Type(Field("Frm_DesignSupplyESP"), "100");
  EXPECT_TRUE(v_messages.shown.isEmpty()) << v_messages.shown.join('\n').toStdString();
  Type(v_window->HeatConditions()->Field("Frm_RoomRH"), "90");
  ASSERT_FALSE(v_messages.shown.isEmpty());
  EXPECT_EQ(v_messages.shown.last(), "The room air relative humidity is larger than 80%.");
  // Cooling was computed; heating shows nothing.
  EXPECT_FALSE(Point(v_window->CoolAirConditions(), "SA", "Txt_DBT").isEmpty());
  EXPECT_TRUE(Point(v_window->HeatAirConditions(), "SA", "Txt_DBT").isEmpty());

  // Every plain unit offers an F8 filter: asking for one still finds units.
  v_messages.shown.clear();
  Type(v_window->HeatConditions()->Field("Frm_RoomRH"), "50");
  Choose("Txt_SupplyFilter", 3);
  EXPECT_TRUE(v_messages.shown.isEmpty()) << v_messages.shown.join('\n').toStdString();
  EXPECT_FALSE(Candidates().isEmpty());
}

TEST_F(SelectionWindow, CoolingNeedsAWarmerOutside) {
  // An ambient below the room is corrected to the room and explained.
  Type(v_window->CoolConditions()->Field("Frm_AmbientDbt"), "25");
  ASSERT_EQ(v_messages.shown.size(), 1);  // one change, one calculation, one message
  EXPECT_EQ(v_messages.shown.last(), "In cooling mode, the ambient temperature must be larger than the room temperature.");
  EXPECT_EQ(v_window->CoolConditions()->Field("Frm_AmbientDbt")->GetVal(), 27);
}

}  // namespace

namespace {

TEST_F(SelectionWindow, ToolbarCommandsCommitTheFieldBeingTypedIn) {
  TFrm_UnitTextScroll* esp = Field("Frm_DesignSupplyESP");
  esp->Edit()->setFocus();
  esp->Edit()->selectAll();
  QTest::keyClicks(esp->Edit(), "90");  // typed, not yet left
  v_window->SetDataHaveChanged(false);
  v_window->CommitEditing();
  EXPECT_EQ(esp->GetVal(), 90);
  EXPECT_TRUE(v_window->DataHaveChanged());

  // New starts afresh (no question: the answer recorder says OK, not Yes).
  v_window->SetDataHaveChanged(false);
  v_window->NewProject();
  EXPECT_EQ(esp->GetVal(), 150);
  EXPECT_FALSE(v_window->DataHaveChanged());
  EXPECT_EQ(v_window->CurrentHRX()->GetName(), "NV-400");
}

}  // namespace

namespace {

// 5 l/s for each 5 m² of 100 m²: 100 l/s, beyond the small Ostrel family
// (up to 150 m³/h = 41.7 l/s). The airflow stops at the family's maximum,
// the area per person follows it (5 × 100 / 41 = 12.2 m²), and the units
// can still take it.
TEST_F(SelectionWindow, AFamilyBoundsTheAirflowAndTheAreaPerPersonFollows) {
  Type(Field("Frm_DesignSupplyESP"), "50");
  Type(Field("Frm_DesignExhaustESP"), "50");
  Choose("Txt_Family", "Ostrel");
  EXPECT_TRUE(v_messages.shown.isEmpty()) << v_messages.shown.join('\n').toStdString();
  EXPECT_LE(v_window->SupplyAir(), 150);
  EXPECT_EQ(Field("Frm_TotalSupply")->GetVal(), 41);
  EXPECT_NEAR(Field("Frm_AreaPerPerson")->GetVal(), 12.2, 1e-9);
  EXPECT_FALSE(v_window->SelectionList().IsEmpty());
  EXPECT_EQ(v_window->CurrentHRX()->GetName(), "NV-OS150");
}

}  // namespace

namespace {

TEST_F(SelectionWindow, TheDatabaseTabShowsTheCurrentUnitsData) {
  auto* pages = v_window->Pages();
  pages->setCurrentWidget(pages->findChild<QWidget*>("Tab_Database"));
  const auto text = [&](const char* name) { return v_window->findChild<QLabel*>(name)->text(); };
  EXPECT_EQ(text("Txt_DBSelectedDevice"), v_window->CurrentHRX()->GetQualifiedName());
  EXPECT_TRUE(text("Txt_DBDimensions").endsWith(" mm"));
  EXPECT_FALSE(text("Txt_DBPowerSupply").isEmpty());
  EXPECT_TRUE(text("Txt_DBAmbientTemp").contains("~"));
  auto* options = v_window->findChild<QTreeWidget*>("Lvw_DBOptions");
  ASSERT_GT(options->topLevelItemCount(), 0);
  for (int i = 0; i < options->topLevelItemCount(); ++i)
    EXPECT_FALSE(options->topLevelItem(i)->text(0).isEmpty());
  // A plain unit shows the room range, not the fresh-air limits.
  EXPECT_FALSE(v_window->findChild<QGroupBox*>("Box_RoomRange")->isHidden());
  EXPECT_TRUE(v_window->findChild<QGroupBox*>("Box_AirTreatment")->isHidden());
}

}  // namespace

namespace {

// A round trip through a family with fewer speed types keeps the type the
// user chose (an item index would turn "High" into "Medium").
// A fresh-air unit asked for more heat than its tables give: the Results tab
// shows the supply temperature it reaches beside that state, and says in
// words how far short it falls.
TEST_F(SelectionWindow, TheResultsShowTheSupplyTemperatureReachedAndWhatFallsShort) {
  Choose("Txt_Family", "DQTL-MF");
  Click("Chk_TotalSupply");
  Type(Field("Frm_TotalSupply"), "300");
  Type(v_window->HeatConditions()->Field("Frm_Discharge"), "24");
  ASSERT_NE(v_window->CurrentHRX(), nullptr);
  const QString reached = TBaseMsg::FormatFixed(v_window->HeatingSet().SA.DBT, 1) + " °C";
  EXPECT_LT(v_window->HeatingSet().SA.DBT, 24 - Cls_HRX::kDischargeToleranceK);
  EXPECT_EQ(v_window->HeatResultData()->Value("Txt_SupplyTemp"), reached);
  EXPECT_EQ(Point(v_window->HeatAirConditions(), "SA", "Txt_DBT"), reached);
  const QString notes = v_window->HeatResultData()->Value("Txt_Notes");
  EXPECT_TRUE(notes.contains(reached) && notes.contains("24.0 °C")) << notes.toStdString();
  EXPECT_TRUE(v_window->CoolResultData()->Value("Txt_Notes").isEmpty());
}

TEST_F(SelectionWindow, TheHighestSpeedKeepsItsTypeAcrossFamilies) {
  auto* speed = v_window->findChild<QComboBox*>("Txt_MaxSpeed");
  ASSERT_EQ(speed->currentText(), "High");
  const int width = v_window->width();
  Choose("Txt_Family", "Ostrel");  // Low and High only
  EXPECT_EQ(speed->count(), 2);
  EXPECT_EQ(speed->currentText(), "High");
  Choose("Txt_Family", "HRX");
  EXPECT_EQ(speed->currentText(), "High");
  // The window keeps its width whatever rows and panels the family shows.
  for (const char* family : {"HRD", "DQTL-MF", "Fastlink", "HRX"}) {
    Choose("Txt_Family", family);
    QApplication::processEvents();
    EXPECT_EQ(v_window->width(), width) << family;
  }
}

// Filter and plenum rows of the ESP data belong to the plain family, on both
// sides; a coil unit shows the exhaust side's additional resistance only.
TEST_F(SelectionWindow, FilterAndPlenumRowsShowForThePlainFamilyOnly) {
  const auto hidden = [&](const char* name) { return v_window->findChild<QWidget*>(name)->isHidden(); };
  EXPECT_FALSE(hidden("Pnl_FilterData"));
  EXPECT_FALSE(hidden("Pnl_ExhaustFilterData"));
  Choose("Txt_Family", "HRD");
  ASSERT_NE(v_window->CurrentHRX(), nullptr);
  EXPECT_TRUE(hidden("Pnl_FilterData"));
  EXPECT_TRUE(hidden("Pnl_ExhaustFilterData"));
  EXPECT_FALSE(hidden("Pnl_ExhaustESPData"));
  EXPECT_FALSE(v_window->findChild<QLabel*>("Txt_ExhaustAddResistance")->text().isEmpty());
}

TEST_F(SelectionWindow, TheCandidateListIsHeadedModelWithItsPlenumColumnCentred) {
  auto* list = v_window->findChild<QTreeWidget*>("LV_SelectedDevices");
  EXPECT_EQ(list->headerItem()->text(0), "Model");
  EXPECT_EQ(list->headerItem()->textAlignment(3) & Qt::AlignHCenter, Qt::AlignHCenter);
  ASSERT_GT(list->topLevelItemCount(), 0);
  EXPECT_EQ(list->topLevelItem(0)->textAlignment(3) & Qt::AlignHCenter, Qt::AlignHCenter);
}

TEST_F(SelectionWindow, TheRoomSurfaceIsEnabledExactlyWhenTotalSupplyIsNotTicked) {
  const auto surfaceEnabled = [&] { return Field("Frm_RoomSurface")->Edit()->isEnabled(); };
  Click("RB_NumberOfPersons");
  auto* total = v_window->findChild<QCheckBox*>("Chk_TotalSupply");
  total->click();
  EXPECT_FALSE(surfaceEnabled());
  total->click();
  EXPECT_TRUE(surfaceEnabled());
}

// Clicking an option on the Database tab shows that option's details, its
// size in the length unit in effect.
TEST_F(SelectionWindow, TheClickedOptionShowsItsDetails) {
  v_window->Pages()->setCurrentWidget(v_window->findChild<QWidget*>("Tab_Database"));
  auto* options = v_window->findChild<QTreeWidget*>("Lvw_DBOptions");
  ASSERT_GT(options->topLevelItemCount(), 1);
  const auto text = [&](const char* name) { return v_window->findChild<QLabel*>(name)->text(); };
  const QString first = text("Txt_DBOptDescription");
  options->setCurrentItem(options->topLevelItem(1));
  const int id = options->topLevelItem(1)->data(0, Qt::UserRole).toInt();
  const std::unique_ptr<CTDbObject> record = v_window->Factory()->SafeCreateObject(Cls_TrivaneDeviceOption::kClassID, id);
  const auto* option = dynamic_cast<const Cls_TrivaneDeviceOption*>(record.get());
  ASSERT_NE(option, nullptr);
  EXPECT_EQ(text("Txt_DBOptDescription"), option->GetDescription());
  EXPECT_NE(text("Txt_DBOptDescription"), first);
  EXPECT_EQ(text("Txt_DBOptMCA"), option->GetMCA());
  if (option->GetWidth() * option->GetHeight() * option->GetDepth() > 0) {
    EXPECT_TRUE(text("Txt_DBOptDimensions").endsWith(" " + TU_Form::GetCurrentString(U_ShortLength)));
  }
}

// A failed calculation leaves no value of an earlier one: the calculated
// heaters of the condition frames and the option details are blanked too
// (the unit's ratios and duct pressures, which hold whatever the
// conditions, stay).
TEST_F(SelectionWindow, AFailedCalculationBlanksEveryValue) {
  Type(v_window->HeatConditions()->Field("Frm_AmbientDbt"), "-20");
  auto* calcInlet = v_window->HeatConditions()->findChild<QLabel*>("Txt_CalcInlet");
  ASSERT_FALSE(calcInlet->text().isEmpty());  // an inlet heater is needed at -20 degC
  v_window->Pages()->setCurrentWidget(v_window->findChild<QWidget*>("Tab_Database"));
  v_window->Pages()->setCurrentWidget(v_window->findChild<QWidget*>("Tab_Selection"));
  v_messages.shown.clear();
  Type(v_window->CoolConditions()->Field("Frm_RoomRH"), "26.5");  // cooling room far too humid
  ASSERT_FALSE(v_messages.shown.isEmpty());
  EXPECT_TRUE(calcInlet->text().isEmpty());
  for (const char* name : {"Txt_DBOptDescription", "Txt_DBOptMCA", "Txt_DBSelectedDevice"})
    EXPECT_TRUE(v_window->findChild<QLabel*>(name)->text().isEmpty()) << name;
  for (TFrm_AirConditions* frame : {v_window->CoolAirConditions(), v_window->HeatAirConditions()})
    EXPECT_TRUE(Point(frame, "SA", "Txt_DBT").isEmpty());
  EXPECT_TRUE(v_window->HeatResultData()->Value("Txt_InletCalc").isEmpty());
}

}  // namespace

namespace {

// The chart tabs draw the current unit's graphs once into an image; a
// click on the efficiency legend's check box hides the plot, keeps that in
// the settings and draws the graph again.
TEST_F(SelectionWindow, TheChartTabsDrawTheCurrentUnitsGraphs) {
  auto* pages = v_window->Pages();
  pages->setCurrentWidget(pages->findChild<QWidget*>("Tab_Fan"));
  auto* fan = v_window->findChild<TChartBox*>("PB_ESPGraph");
  ASSERT_NE(fan, nullptr);
  fan->repaint();
  ASSERT_NE(fan->Graph(), nullptr);
  EXPECT_FALSE(fan->Graph()->ExtraPoints().empty());  // the operating point
  const int drawn = fan->DrawCount();
  fan->repaint();
  EXPECT_EQ(fan->DrawCount(), drawn);  // painting again copies the image

  pages->setCurrentWidget(pages->findChild<QWidget*>("Tab_Efficiencies"));
  auto* efficiency = v_window->findChild<TChartBox*>("PB_EffGraph");
  efficiency->repaint();
  ASSERT_NE(efficiency->Graph(), nullptr);
  ASSERT_EQ(efficiency->Graph()->GetPlots().size(), 3u);
  EXPECT_TRUE(efficiency->Graph()->GetPlots()[0]->MustDisplay());
  // The first legend item's check box: the plot area's left, the first row.
  const QRect area = efficiency->Graph()->GraphRect();
  const QFontMetrics metrics(efficiency->font());
  const int th = metrics.height();
  QTest::mouseClick(efficiency, Qt::LeftButton, {}, QPoint(area.left() + 2, area.bottom() + 2 * th - th / 2 + th / 2));
  efficiency->repaint();
  EXPECT_FALSE(efficiency->Graph()->GetPlots()[0]->MustDisplay());  // read back from the settings
}

}  // namespace

namespace {

// The Psychrometrics tab: the process of the chosen mode, the condition
// frame of that mode beside it, the air state under the mouse, and no full
// drawing while the mouse moves.
TEST_F(SelectionWindow, ThePsychrometricsTabShowsTheProcessAndTheStateUnderTheMouse) {
  auto* pages = v_window->Pages();
  auto* cooling = v_window->CoolConditions();
  pages->setCurrentWidget(pages->findChild<QWidget*>("Tab_Psychrometrics"));
  EXPECT_EQ(cooling->parentWidget()->objectName(), "Pnl_PsyConditions");
  auto* box = v_window->findChild<TPsychroBox*>("PB_PsyGraph");
  QTest::qWait(50);  // laid out at its size
  box->repaint();
  ASSERT_NE(box->Diagram(), nullptr);
  const int drawn = box->DrawCount();
  // The room air of cooling, as a point of the diagram.
  const TPointType& room = box->Diagram()->Points().front();
  EXPECT_EQ(room.v_Name, "RA");
  EXPECT_EQ(room.v_Dbt, v_window->CoolingSet().RA.DBT);
  const QPoint at = box->Diagram()->AirToDevice(room.v_Dbt, room.v_AH);
  QTest::mouseMove(box, at);
  box->repaint();
  EXPECT_EQ(box->DrawCount(), drawn);  // the highlight goes over the image
  EXPECT_EQ(v_window->findChild<QLabel*>("Txt_PointDrybulbtemperature")->text(),
            ValueText::Dimensioned(room.v_Dbt, U_Temperature));

  Click("RB_Heating");
  EXPECT_EQ(v_window->HeatConditions()->parentWidget()->objectName(), "Pnl_PsyConditions");
  EXPECT_NE(cooling->parentWidget()->objectName(), "Pnl_PsyConditions");
  box->repaint();
  EXPECT_EQ(box->Diagram()->Points().front().v_Dbt, v_window->HeatingSet().RA.DBT);

  pages->setCurrentWidget(pages->findChild<QWidget*>("Tab_Selection"));
  EXPECT_NE(v_window->HeatConditions()->parentWidget()->objectName(), "Pnl_PsyConditions");
}

}  // namespace

namespace {

// The Configuration tab and the floating "Configuration Conventions"
// window draw the current unit; the window follows new runs (it never keeps
// a unit of its own) and tells the main window when it closes.
TEST_F(SelectionWindow, TheConfigurationDrawingFollowsTheCurrentUnit) {
  auto* pages = v_window->Pages();
  pages->setCurrentWidget(pages->findChild<QWidget*>("Tab_Configuration"));
  auto* tab = v_window->findChild<QWidget*>("Frm_Config");
  ASSERT_NE(tab, nullptr);
  QImage shown = tab->grab().toImage();
  EXPECT_NE(shown.pixelColor(shown.width() / 2, shown.height() / 2), QColor(Qt::white));  // the unit's picture

  pages->setCurrentWidget(pages->findChild<QWidget*>("Tab_Psychrometrics"));
  Click("Btn_Configuration");
  auto* floating = v_window->findChild<QDialog*>("TFrm_Configuration");
  ASSERT_NE(floating, nullptr);
  EXPECT_EQ(floating->windowTitle(), "Configuration Conventions");
  EXPECT_TRUE(floating->isVisible());
  // A new run replaces the candidates: the window draws the new unit.
  pages->setCurrentWidget(pages->findChild<QWidget*>("Tab_Selection"));
  EXPECT_FALSE(floating->isVisible());
  Type(Field("Frm_Airflow"), "9");
  pages->setCurrentWidget(pages->findChild<QWidget*>("Tab_Psychrometrics"));
  EXPECT_TRUE(floating->isVisible());
  floating->repaint();
  floating->close();
  QApplication::processEvents();
  EXPECT_EQ(v_window->findChild<QDialog*>("TFrm_Configuration"), nullptr);
}

}  // namespace

namespace {

// What the user chose for a unit stays with it: an option added on the
// Results tab and the heater option taken in heating survive every edit
// after which the same unit is current again, whether the run kept it in
// the list or it left the list and came back. Every input the edit did not
// touch stays as it was, in the selection and in the widgets that show it.
class UsersChoices : public SelectionWindow {
 public:
  // Every input of two requests (the candidate aside), exactly.
  static void ExpectSameRequest(const SelectionRequest& a, const SelectionRequest& b) {
    const auto same = [](const LTModeInputs& x, const LTModeInputs& y, const char* mode) {
      SCOPED_TRACE(mode);
      EXPECT_EQ(x.room.dryBulbC, y.room.dryBulbC);
      EXPECT_EQ(x.room.humidityMode, y.room.humidityMode);
      EXPECT_EQ(x.room.humidity, y.room.humidity);
      EXPECT_EQ(x.outdoor.dryBulbC, y.outdoor.dryBulbC);
      EXPECT_EQ(x.outdoor.humidityMode, y.outdoor.humidityMode);
      EXPECT_EQ(x.outdoor.humidity, y.outdoor.humidity);
      EXPECT_EQ(x.inletHeater, y.inletHeater);
      EXPECT_EQ(x.inletOptionID, y.inletOptionID);
      EXPECT_EQ(x.supplyTempGiven, y.supplyTempGiven);
      EXPECT_EQ(x.supplyHeater, y.supplyHeater);
    };
    EXPECT_EQ(a.altitudeM, b.altitudeM);
    EXPECT_EQ(a.basis, b.basis);
    EXPECT_EQ(a.airflowPerPersonLs, b.airflowPerPersonLs);
    EXPECT_EQ(a.roomSurfaceM2, b.roomSurfaceM2);
    EXPECT_EQ(a.areaPerPersonM2, b.areaPerPersonM2);
    EXPECT_EQ(a.persons, b.persons);
    EXPECT_EQ(a.totalSupplyLs, b.totalSupplyLs);
    EXPECT_EQ(a.exhaustGiven, b.exhaustGiven);
    EXPECT_EQ(a.totalExhaustLs, b.totalExhaustLs);
    EXPECT_EQ(a.supplyEspPa, b.supplyEspPa);
    EXPECT_EQ(a.exhaustEspPa, b.exhaustEspPa);
    EXPECT_EQ(a.supplyFilter, b.supplyFilter);
    EXPECT_EQ(a.exhaustFilter, b.exhaustFilter);
    EXPECT_EQ(a.plenum, b.plenum);
    EXPECT_EQ(a.family, b.family);
    EXPECT_EQ(a.maxSpeedTypeID, b.maxSpeedTypeID);
    EXPECT_EQ(a.evaporatingC, b.evaporatingC);
    EXPECT_EQ(a.upsideDown, b.upsideDown);
    same(a.cooling, b.cooling, "cooling");
    same(a.heating, b.heating, "heating");
  }
  // What the widgets show is what the selection holds.
  void ExpectWidgetsShowTheRequest() {
    const SelectionRequest& r = v_window->CurrentRequest();
    const std::tuple<const char*, double> fields[] = {
        {"Frm_Altitude", r.altitudeM},         {"Frm_Airflow", r.airflowPerPersonLs},
        {"Frm_RoomSurface", r.roomSurfaceM2},  {"Frm_AreaPerPerson", r.areaPerPersonM2},
        {"Frm_TotalSupply", r.totalSupplyLs},  {"Frm_TotalExhaust", r.totalExhaustLs},
        {"Frm_DesignSupplyESP", r.supplyEspPa}, {"Frm_DesignExhaustESP", r.exhaustEspPa}};
    for (const auto& [name, value] : fields) EXPECT_EQ(Field(name)->GetVal(), value) << name;
    const SelectionRequest shown = [&] {
      SelectionRequest w = r;
      w.cooling = v_window->CoolConditions()->Inputs();
      w.heating = v_window->HeatConditions()->Inputs();
      return w;
    }();
    ExpectSameRequest(shown, r);
  }
  void ShowTab(const char* name) { v_window->Pages()->setCurrentWidget(v_window->findChild<QWidget*>(name)); }
  QStringList UsedOptions() {
    ShowTab("Tab_Results");
    QStringList names;
    const auto* used = v_window->findChild<QTreeWidget*>("Lvw_UsedOptions");
    for (int i = 0; i < used->topLevelItemCount(); ++i) names << used->topLevelItem(i)->text(0);
    ShowTab("Tab_Selection");
    return names;
  }
  // The inlet heater option the heating frame holds, by name.
  QString HeatingOption() const {
    const LTModeInputs heating = v_window->HeatConditions()->Inputs();
    if (heating.inletHeater != HeaterChoice::kOption || !v_window->CurrentHRX()) return QString();
    for (const LTHeaterOption& option : CTSelectionRun::HeaterOptions(*v_window->CurrentHRX()))
      if (option.id == heating.inletOptionID) return option.name;
    return QString();
  }
};

TEST_F(UsersChoices, SurviveEveryEditAfterWhichTheSameUnitIsCurrent) {
  struct Edit {
    const char* name;
    std::function<void(UsersChoices&)> apply;
    std::function<void(SelectionRequest&)> edited = [](SelectionRequest&) {};  // what the edit changes
  };
  const Edit edits[] = {
      {"exhaust ESP 200 to 185 Pa", [](UsersChoices& t) { t.Type(t.Field("Frm_DesignExhaustESP"), "185"); },
       [](SelectionRequest& r) { r.exhaustEspPa = 185; }},
      {"exhaust ESP 200 to 150 Pa: the exhaust fan a speed lower",
       [](UsersChoices& t) { t.Type(t.Field("Frm_DesignExhaustESP"), "150"); },
       [](SelectionRequest& r) { r.exhaustEspPa = 150; }},
      {"altitude 400 m", [](UsersChoices& t) { t.Type(t.Field("Frm_Altitude"), "400"); },
       [](SelectionRequest& r) { r.altitudeM = 400; }},
      {"an F8 filter that empties the list, then none again",
       [](UsersChoices& t) {
         t.Choose("Txt_SupplyFilter", 3);
         ASSERT_EQ(t.v_window->CurrentHRX(), nullptr);
         t.Choose("Txt_SupplyFilter", 0);
       }},
      {"the HRD family and back",
       [](UsersChoices& t) {
         t.Choose("Txt_Family", "HRD");
         t.Choose("Txt_Family", "HRX");
       }},
      {"the fresh-air family, whose units offer no heater option, and back",
       [](UsersChoices& t) {
         t.Choose("Txt_Family", "DQTL-MF");
         ASSERT_NE(t.v_window->CurrentHRX(), nullptr);
         t.Choose("Txt_Family", "HRX");
       }},
      {"imperial preferences and back",
       [](UsersChoices& t) {
         t.ShowImperialUnits(true);
         t.ShowImperialUnits(false);
       }},
  };
  for (const Edit& edit : edits) {
    SCOPED_TRACE(edit.name);
    v_window->NewProject();
    // NV-1000 at 250 l/s needs 1.5 kW of inlet heater at -5 degC; the user
    // takes the 4.5 kW option rather than the 2.5 kW one that would do, and
    // adds a CO2 sensor.
    Click("Chk_TotalSupply");
    Type(Field("Frm_TotalSupply"), "250");
    Type(Field("Frm_DesignExhaustESP"), "200");
    Type(v_window->HeatConditions()->Field("Frm_AmbientDbt"), "-5");
    Choose(v_window->HeatConditions()->Combo("Lbl_Inletheater"), 2);
    QComboBox* heaterOptions = v_window->HeatConditions()->Combo("Txt_HeaterOptions");
    Choose(heaterOptions, heaterOptions->findText("NEH-315-4.5", Qt::MatchStartsWith));
    ASSERT_EQ(v_window->Result().unitName.section(',', 0, 0), "NV-1000");
    ASSERT_EQ(HeatingOption(), "NEH-315-4.5");
    ShowTab("Tab_Results");
    auto* available = v_window->findChild<QTreeWidget*>("Lvw_AvailOptions");
    ASSERT_FALSE(available->findItems("NRS-CO2", Qt::MatchExactly).isEmpty());
    available->setCurrentItem(available->findItems("NRS-CO2", Qt::MatchExactly)[0]);
    Click("Btn_Select");
    ShowTab("Tab_Selection");
    ASSERT_TRUE(UsedOptions().contains("NRS-CO2"));
    SelectionRequest expected = v_window->CurrentRequest();

    edit.apply(*this);
    edit.edited(expected);
    ExpectSameRequest(v_window->CurrentRequest(), expected);
    ExpectWidgetsShowTheRequest();
    ASSERT_EQ(v_window->Result().unitName.section(',', 0, 0), "NV-1000");
    EXPECT_EQ(HeatingOption(), "NEH-315-4.5");
    const QStringList used = UsedOptions();
    EXPECT_TRUE(used.contains("NRS-CO2")) << used.join(", ").toStdString();
    EXPECT_TRUE(used.contains("NEH-315-4.5")) << used.join(", ").toStdString();
  }
}

}  // namespace
