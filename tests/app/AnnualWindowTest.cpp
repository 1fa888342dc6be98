// The Annual Energy tab, driven as a user drives it: the year of the current
// unit under the climate, schedule and prices chosen on the tab, filled only
// when shown; the schedule kept by the project; the candidate list ordered
// by what each unit saves over the year; a weather file that does not load
// refused with the climate in use kept.

#include "WindowFixture.h"
#include "app/BarChartBox.h"
#include "selection/AnnualEnergy.h"
#include "selection/Climate.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <cmath>

namespace {

class AnnualWindow : public WindowFixture<> {
 protected:
  void TearDown() override {
    TDlgSelect::SetFileChooser({});
    WindowFixture::TearDown();
  }
  template <typename T>
  T* Find(const char* name) const {
    return v_window->findChild<T*>(QString::fromLatin1(name));
  }
  void ShowTab(const char* name = "Tab_Annual") { v_window->Pages()->setCurrentWidget(Find<QWidget>(name)); }
  // Picks the climate whose entry holds szSpec ("demo:cold").
  void ChooseClimate(const QString& spec) {
    auto* combo = Find<QComboBox>("Cbx_Climate");
    ASSERT_NE(combo, nullptr);
    Choose(combo, combo->findData(spec));
  }
  // The value of a row of the year's list.
  QString Figure(const QString& label) const {
    const QTreeWidget* list = Find<QTreeWidget>("Lvw_AnnualYear");
    for (int i = 0; i < list->topLevelItemCount(); ++i)
      if (list->topLevelItem(i)->text(0) == label) return list->topLevelItem(i)->text(1);
    return QStringLiteral("<no row %1>").arg(label);
  }
  QStringList MonthRow(int row) const {
    const QTreeWidgetItem* item = Find<QTreeWidget>("Lvw_AnnualMonths")->topLevelItem(row);
    QStringList cells;
    for (int c = 0; item && c < item->columnCount(); ++c) cells << item->text(c);
    return cells;
  }
  static QString Whole(double value) { return QString::number(std::llround(value)); }
  static LTClimate Demo(const QString& name) {
    LTClimate climate;
    QString why;
    EXPECT_TRUE(CTClimate::Load("demo:" + name, climate, why)) << why.toStdString();
    return climate;
  }
};

}  // namespace

// A plain unit under the cold demonstration year, always running: the tab
// shows the year the model gives for the window's request and result, the
// months and both charts. Running 07:00 to 19:00 on weekdays leaves 261
// weekdays of 12 hours (the year starts on a Monday), 23 of them in
// January; the project keeps that schedule.
TEST_F(AnnualWindow, ShowsTheYearAndKeepsTheScheduleInTheProject) {
  Choose("Txt_Family", "HRX");
  ASSERT_NE(v_window->CurrentHRX(), nullptr);
  ChooseClimate("demo:cold");
  EXPECT_EQ(v_window->CurrentRequest().annual.climate, "demo:cold");
  // Hidden, the tab is not filled.
  EXPECT_EQ(Find<QTreeWidget>("Lvw_AnnualYear")->topLevelItemCount(), 0);
  ShowTab();
  const LTClimate cold = Demo("cold");
  const LTAnnualResult year = CTAnnualEnergy::YearOf(v_window->Result(), v_window->CurrentRequest(), cold);
  ASSERT_TRUE(year.computed) << year.message.toStdString();
  EXPECT_EQ(Find<QLabel>("Txt_ClimateName")->text(), cold.name);
  EXPECT_EQ(Find<QLabel>("Txt_ClimateSource")->text(), "Synthetic demonstration year");
  EXPECT_EQ(Figure("Operating hours"), "8760 h");
  EXPECT_EQ(Figure("Heat recovered"), Whole(year.year.heatRecoveredKWh) + " kWh");
  EXPECT_EQ(Figure("Fans"), Whole(year.year.fanKWh) + " kWh");
  EXPECT_EQ(Figure("Net benefit"), Whole(year.year.netKWh) + " kWh");
  EXPECT_EQ(Figure("Money saved"), Whole(year.year.cost));
  EXPECT_GT(year.year.heatRecoveredKWh, 1000);
  ASSERT_EQ(Find<QTreeWidget>("Lvw_AnnualMonths")->topLevelItemCount(), 13);
  EXPECT_EQ(MonthRow(0).mid(0, 3), (QStringList{"Jan", "744", Whole(year.months[0].heatRecoveredKWh)}));
  EXPECT_EQ(MonthRow(12).value(0), "Year");
  const auto* months = Find<TBarChartBox>("PB_AnnualMonths");
  ASSERT_TRUE(months->Chart().has_value());
  EXPECT_EQ(months->Chart()->Data().series.size(), 4u);
  ASSERT_TRUE(Find<TBarChartBox>("PB_AnnualBins")->Chart().has_value());
  EXPECT_EQ(Find<TBarChartBox>("PB_AnnualBins")->Chart()->Data().series.size(), 2u);

  // The schedule, edited while the tab shows: it fills again at each edit.
  Click("Chk_AnnualAlways");
  Find<QSpinBox>("Spn_FromHour")->setValue(7);
  Find<QSpinBox>("Spn_ToHour")->setValue(19);
  Click("Chk_Sat");
  Click("Chk_Sun");
  EXPECT_EQ(v_window->CurrentRequest().annual.schedule.Text(), "07-19,mon-fri");
  EXPECT_EQ(Figure("Operating hours"), "3132 h");  // 261 x 12
  EXPECT_EQ(MonthRow(0).value(1), "276");          // 23 x 12
  EXPECT_TRUE(v_window->DataHaveChanged());

  QTemporaryDir dir;
  const QString file = dir.filePath("year.ven");
  ASSERT_TRUE(v_window->SaveProject(file)) << v_messages.shown.join('\n').toStdString();
  Click("Chk_AnnualAlways");
  ChooseClimate("demo:hot-humid");
  ASSERT_TRUE(v_window->CurrentRequest().annual.schedule.always);
  ASSERT_TRUE(v_window->LoadProject(file)) << v_messages.shown.join('\n').toStdString();
  EXPECT_EQ(v_window->CurrentRequest().annual.schedule.Text(), "07-19,mon-fri");
  EXPECT_EQ(v_window->CurrentRequest().annual.climate, "demo:cold");
  EXPECT_FALSE(Find<QCheckBox>("Chk_AnnualAlways")->isChecked());
  EXPECT_EQ(Find<QSpinBox>("Spn_FromHour")->value(), 7);
  EXPECT_EQ(Find<QSpinBox>("Spn_ToHour")->value(), 19);
  EXPECT_FALSE(Find<QCheckBox>("Chk_Sun")->isChecked());
  EXPECT_TRUE(Find<QCheckBox>("Chk_Fri")->isChecked());
  EXPECT_EQ(Find<QComboBox>("Cbx_Climate")->currentData().toString(), "demo:cold");
  ShowTab();
  EXPECT_EQ(Figure("Operating hours"), "3132 h");
}

// Edits the schedule's and the prices' own rules refuse: a message, and the
// fields show what the form holds.
TEST_F(AnnualWindow, RefusedSchedulesAndPricesKeepTheInputs) {
  Choose("Txt_Family", "HRX");
  ShowTab();
  Click("Chk_AnnualAlways");
  for (const char* day : {"Chk_Mon", "Chk_Tue", "Chk_Wed", "Chk_Thu", "Chk_Fri", "Chk_Sat"}) Click(day);
  ASSERT_EQ(v_window->CurrentRequest().annual.schedule.Text(), "00-24,sun");
  v_messages.shown.clear();
  Click("Chk_Sun");  // no day left
  EXPECT_EQ(v_messages.shown.size(), 1);
  EXPECT_EQ(v_window->CurrentRequest().annual.schedule.Text(), "00-24,sun");
  EXPECT_TRUE(Find<QCheckBox>("Chk_Sun")->isChecked());
  Find<QSpinBox>("Spn_ToHour")->setValue(6);
  Find<QSpinBox>("Spn_FromHour")->setValue(6);  // stops when it starts
  EXPECT_EQ(v_messages.shown.size(), 2);
  EXPECT_EQ(v_window->CurrentRequest().annual.schedule.Text(), "00-06,sun");
  EXPECT_EQ(Find<QSpinBox>("Spn_FromHour")->value(), 0);

  // Prices: "," or "." as the separator; beyond the range, or no number:
  // refused. The defaults stand beside the fields.
  auto* heat = Find<QLineEdit>("Edt_HeatPrice");
  ASSERT_NE(heat, nullptr);
  EXPECT_EQ(heat->text(), "0.1");
  EXPECT_EQ(Find<QLabel>("Txt_PriceDefault0")->text(), "default 0.1");
  const struct {
    const char* typed;
    double held;
    const char* shown;
    bool refused;
  } cases[] = {{"0,125", 0.125, "0.125", false},
               {"-1", 0.125, "0.125", true},
               {"cheap", 0.125, "0.125", true},
               {"0.08", 0.08, "0.08", false}};
  for (const auto& c : cases) {
    v_messages.shown.clear();
    heat->setFocus();
    heat->selectAll();
    QTest::keyClicks(heat, QString::fromLatin1(c.typed));
    QTest::keyClick(heat, Qt::Key_Return);
    EXPECT_DOUBLE_EQ(v_window->CurrentRequest().annual.prices.heatPrice, c.held) << c.typed;
    EXPECT_EQ(heat->text(), c.shown) << c.typed;
    EXPECT_EQ(v_messages.shown.size(), c.refused ? 1 : 0) << c.typed;
  }
  Click("Btn_PriceDefaults");
  EXPECT_EQ(v_window->CurrentRequest().annual.prices, LTPrices{});
  EXPECT_EQ(heat->text(), "0.1");
}

// Ordered by net benefit, the list shows the candidates in the order the
// model ranks them, each with its net kWh; picking a row still picks that
// candidate. Unticked, the run's order comes back.
TEST_F(AnnualWindow, OrderingByNetBenefitFollowsTheRanking) {
  Choose("Txt_Family", "HRX");
  ChooseClimate("demo:hot-humid");
  auto* list = Find<QTreeWidget>("LV_SelectedDevices");
  ASSERT_GE(list->topLevelItemCount(), 2);
  EXPECT_TRUE(list->isColumnHidden(4));
  Click("Chk_OrderByNet");
  const QList<LTRankedCandidate> ranked =
      CTAnnualEnergy::Rank(v_window->Result(), v_window->CurrentRequest(), Demo("hot-humid"));
  ASSERT_EQ(list->topLevelItemCount(), ranked.size());
  EXPECT_FALSE(list->isColumnHidden(4));
  for (int row = 0; row < ranked.size(); ++row) {
    EXPECT_EQ(list->topLevelItem(row)->data(0, Qt::UserRole).toInt(), ranked[row].index) << row;
    EXPECT_EQ(list->topLevelItem(row)->text(0), v_window->Result().rows[ranked[row].index].name) << row;
    EXPECT_EQ(list->topLevelItem(row)->text(4), Whole(ranked[row].year.netKWh)) << row;
    if (row > 0) EXPECT_GE(ranked[row - 1].year.netKWh, ranked[row].year.netKWh);
  }
  // The current unit stays the current row.
  EXPECT_EQ(list->currentItem()->data(0, Qt::UserRole).toInt(), v_window->CurrentRequest().candidate);
  for (const int row : {1, 0}) {
    PickCandidate(row);
    EXPECT_EQ(v_window->CurrentRequest().candidate, ranked[row].index) << row;
    EXPECT_EQ(v_window->Result().unitName.section(' ', 0, 0), ranked[row].unit.section(' ', 0, 0)) << row;
  }
  Click("Chk_OrderByNet");
  EXPECT_TRUE(list->isColumnHidden(4));
  for (int row = 0; row < list->topLevelItemCount(); ++row)
    EXPECT_EQ(list->topLevelItem(row)->data(0, Qt::UserRole).toInt(), row);
}

// A weather file that does not load: a message naming the file, and the
// climate in use stays, in the form and on the tab. One that loads is used.
TEST_F(AnnualWindow, AClimateFileThatDoesNotLoadKeepsTheClimateInUse) {
  QTemporaryDir dir;
  const QString broken = dir.filePath("broken.epw");
  const QString good = dir.filePath("flat.csv");
  {
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("LOCATION,Nowhere\nnot a weather file\n");
    QFile csv(good);
    ASSERT_TRUE(csv.open(QIODevice::WriteOnly));
    csv.write("# name: Flat test year\n");
    for (int h = 0; h < LTClimate::kHours; ++h) csv.write("5,80\n");
  }
  QString answer = broken;
  TDlgSelect::SetFileChooser([&answer](QWidget*, TDlgSelect::FileKind kind, const QString&) {
    return kind == TDlgSelect::FileKind::kClimate ? answer : QString();
  });
  Choose("Txt_Family", "HRX");
  ChooseClimate("demo:cold");
  ShowTab();
  const QString coldName = Demo("cold").name;
  const QString hours = Figure("Heat recovered");
  auto* combo = Find<QComboBox>("Cbx_Climate");
  v_messages.shown.clear();
  Choose(combo, combo->count() - 1);  // From a file...
  ASSERT_EQ(v_messages.shown.size(), 1);
  EXPECT_TRUE(v_messages.shown[0].contains("broken.epw")) << v_messages.shown[0].toStdString();
  EXPECT_EQ(v_window->CurrentRequest().annual.climate, "demo:cold");
  EXPECT_EQ(combo->currentData().toString(), "demo:cold");
  EXPECT_EQ(Find<QLabel>("Txt_ClimateName")->text(), coldName);
  EXPECT_EQ(Figure("Heat recovered"), hours);

  // 5 degC and 80 % every hour: heat in every one of the 8760 hours.
  answer = good;
  Choose(combo, combo->count() - 1);
  EXPECT_EQ(v_messages.shown.size(), 1);
  EXPECT_EQ(v_window->CurrentRequest().annual.climate, good);
  EXPECT_EQ(combo->currentData().toString(), good);
  EXPECT_EQ(Find<QLabel>("Txt_ClimateName")->text(), "Flat test year");
  EXPECT_EQ(Find<QLabel>("Txt_ClimateSource")->text(), "flat.csv");
  EXPECT_EQ(Figure("Operating hours"), "8760 h");
  EXPECT_EQ(Figure("Cooling recovered"), "0 kWh");
}
