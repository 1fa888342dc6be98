// The Ecodesign and Sound tab, driven as a user drives it: it lays out the
// verdicts, the information sheet and the sound of the current unit as the
// selection library words them, fills itself only when shown, and its two
// inputs reach the room level and keep their values through unit switches.

#include "WindowFixture.h"
#include "app/BarChartBox.h"
#include "selection/Ecodesign.h"

#include <QGroupBox>
#include <QLabel>
#include <QTabWidget>
#include <QTreeWidget>

#include <cmath>

namespace {

class EcodesignWindow : public WindowFixture<> {
 protected:
  QTreeWidget* List(const char* name) const { return v_window->findChild<QTreeWidget*>(QString::fromLatin1(name)); }
  QLabel* Label(const char* name) const { return v_window->findChild<QLabel*>(QString::fromLatin1(name)); }
  void ShowTab() {
    v_window->Pages()->setCurrentWidget(v_window->findChild<QWidget*>(QStringLiteral("Tab_Ecodesign")));
  }
  // The rows of a two-column list, as label and value.
  static QList<LTSheetRow> Rows(const QTreeWidget* list) {
    QList<LTSheetRow> rows;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
      rows.append({list->topLevelItem(i)->text(0), list->topLevelItem(i)->text(1)});
    return rows;
  }
  static void ExpectSameRows(const QList<LTSheetRow>& shown, const QList<LTSheetRow>& expected) {
    ASSERT_EQ(shown.size(), expected.size());
    for (int i = 0; i < shown.size(); ++i) {
      EXPECT_EQ(shown[i].label, expected[i].label) << i;
      EXPECT_EQ(shown[i].value, expected[i].value) << i;
    }
  }
};

}  // namespace

TEST_F(EcodesignWindow, CoveredUnitShowsItsVerdictsSheetAndSound) {
  Choose("Txt_Family", "HRX");
  ASSERT_NE(v_window->CurrentHRX(), nullptr);
  // Hidden, the tab is not filled: a run costs nothing for it.
  EXPECT_EQ(List("Lvw_EcoSheet")->topLevelItemCount(), 0);
  ShowTab();
  const SelectionResult& result = v_window->Result();
  ASSERT_TRUE(result.ecodesign.covered);
  ExpectSameRows(Rows(List("Lvw_EcoVerdicts")), CTEcodesign::Verdicts(result.ecodesign));
  ExpectSameRows(Rows(List("Lvw_EcoSheet")), CTEcodesign::Sheet(result.ecodesign));
  EXPECT_EQ(List("Lvw_EcoVerdicts")->topLevelItemCount(), 2);
  EXPECT_TRUE(v_window->findChild<QGroupBox*>("Box_EcoVerdicts")->isVisible());

  // Five paths, the supply outlet first: its name, eight bands and LWA to
  // the whole decibel.
  ASSERT_TRUE(result.sound.known);
  const QTreeWidget* sound = List("Lvw_Sound");
  ASSERT_EQ(sound->topLevelItemCount(), 5);
  ASSERT_EQ(sound->columnCount(), 12);  // path, 8 bands, LWA, airflow, pressure
  const QTreeWidgetItem* outlet = sound->topLevelItem(0);
  EXPECT_EQ(outlet->text(0), "Supply outlet");
  EXPECT_EQ(outlet->text(9), QString::number(std::lround(result.sound.paths[0].lwa)));
  EXPECT_EQ(outlet->text(1), QString::number(std::lround(result.sound.paths[0].lw[0])));
  EXPECT_TRUE(sound->headerItem()->text(9).startsWith("LWA"));
  EXPECT_FALSE(Label("Lbl_NoSound")->isVisible());
  const auto* chart = v_window->findChild<TBarChartBox*>("PB_SoundGraph");
  ASSERT_TRUE(chart->Chart().has_value());
  EXPECT_EQ(chart->Chart()->Data().categories,
            (QStringList{"63", "125", "250", "500", "1k", "2k", "4k", "8k"}));
  ASSERT_EQ(chart->Chart()->Data().series.size(), 5u);
  EXPECT_EQ(chart->Chart()->Data().series[4].name, "Casing");
}

// The room level follows the distance typed; the inputs hold what was typed
// whatever units they are shown in.
TEST_F(EcodesignWindow, DistanceReachesTheRoomLevelAndSurvivesUnitSwitches) {
  Choose("Txt_Family", "HRX");
  ShowTab();
  ASSERT_TRUE(v_window->Result().sound.known);
  Type("Frm_SoundDistance", "1");
  const double nearLevel = v_window->Result().sound.roomLpA;
  const QString nearText = Label("Txt_RoomLpA")->text();
  Type("Frm_SoundDistance", "4");
  const double farLevel = v_window->Result().sound.roomLpA;
  EXPECT_DOUBLE_EQ(v_window->CurrentRequest().soundDistanceM, 4);
  // Q = 2, R = 50 m2: 10 lg((2/(4 pi) + 0.08) / (2/(64 pi) + 0.08)) = 4.2469 dB.
  EXPECT_NEAR(nearLevel - farLevel, 4.2469, 1e-3);
  EXPECT_NE(Label("Txt_RoomLpA")->text(), nearText);
  EXPECT_EQ(Label("Txt_RoomLpA")->text(), QString::number(std::lround(farLevel)) + " dB(A)");

  Type("Frm_SoundDistance", "3.5");
  Type("Frm_RoomConstant", "120");
  for (int round = 0; round < 2; ++round) {
    ShowImperialUnits(true);
    // 3.5 m is 11.48 ft, 120 m2 1291.7 ft2.
    EXPECT_EQ(Field("Frm_SoundDistance")->Edit()->text(), "11.5");
    EXPECT_EQ(Field("Frm_RoomConstant")->Edit()->text(), "1292");
    EXPECT_EQ(v_window->CurrentRequest().soundDistanceM, 3.5);
    EXPECT_EQ(v_window->CurrentRequest().roomConstantM2, 120);
    ShowImperialUnits(false);
    EXPECT_EQ(Field("Frm_SoundDistance")->Edit()->text(), "3.5");
    EXPECT_EQ(Field("Frm_RoomConstant")->Edit()->text(), "120");
    EXPECT_EQ(v_window->CurrentRequest().soundDistanceM, 3.5);
    EXPECT_EQ(v_window->CurrentRequest().roomConstantM2, 120);
  }
  EXPECT_DOUBLE_EQ(v_window->Result().sound.distanceM, 3.5);
  EXPECT_DOUBLE_EQ(v_window->Result().sound.roomConstantM2, 120);
}

// A family the regulation does not cover: the reason alone, no verdicts,
// and no sound table where the catalogue has no sound data.
TEST_F(EcodesignWindow, NotCoveredFamilyShowsTheReason) {
  Choose("Txt_Family", "HRD");
  ASSERT_NE(v_window->CurrentHRX(), nullptr);
  ShowTab();
  const LTEcodesign& eco = v_window->Result().ecodesign;
  ASSERT_FALSE(eco.covered);
  const QList<LTSheetRow> sheet = Rows(List("Lvw_EcoSheet"));
  ASSERT_EQ(sheet.size(), 1);
  EXPECT_EQ(sheet[0].value, CTEcodesign::NotCoveredReason(eco));
  EXPECT_FALSE(sheet[0].value.isEmpty());
  EXPECT_EQ(List("Lvw_EcoVerdicts")->topLevelItemCount(), 0);
  EXPECT_FALSE(v_window->findChild<QGroupBox*>("Box_EcoVerdicts")->isVisible());
  ASSERT_FALSE(v_window->Result().sound.known);
  EXPECT_TRUE(Label("Lbl_NoSound")->isVisible());
  EXPECT_FALSE(List("Lvw_Sound")->isVisible());
}
