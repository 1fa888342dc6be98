// The Annual Energy tab: what the current unit recovers, spends and saves
// over a year of hourly weather, and the inputs of that year: the climate
// (a demonstration year or a weather file), when the unit runs, and the
// prices and emission factors. Every input goes to the form
// (CTSelectionForm::SetAnnual); the year comes from the annual energy model
// and its texts from the report's, so that the window and the document say
// the same. The tab is filled when shown, and again when the unit or the
// inputs change while it shows.

#include "app/BarChartBox.h"
#include "app/DlgSelect.h"
#include "app/ValueText.h"
#include "charts/ChartSetup.h"
#include "docs/Report.h"
#include "i18n/BaseMsgMan.h"
#include "selection/AnnualEnergy.h"
#include "selection/Climate.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <tuple>

namespace {

// The day check boxes' names, Monday first (LTSchedule::days).
const char* const kDayBoxNames[LTSchedule::kDays] = {"Chk_Mon", "Chk_Tue", "Chk_Wed", "Chk_Thu",
                                                      "Chk_Fri", "Chk_Sat", "Chk_Sun"};
// The price fields' names, in the order of CTReport::PriceItems.
const char* const kPriceEditNames[] = {"Edt_HeatPrice",        "Edt_HeatEfficiency", "Edt_CoolingCop",
                                       "Edt_ElectricityPrice", "Edt_HeatCo2",        "Edt_ElectricityCo2"};
// Significant digits of a price or factor in its field.
constexpr int kPriceDigits = 6;

QTreeWidget* NewList(QWidget* pParent, const char* szName, const QStringList& headers) {
  return ValueText::NewValueList(pParent, QString::fromLatin1(szName), headers);
}

QLabel* NewValueLabel(QWidget* pParent, const char* szName) {
  return ValueText::NewValueLabel(pParent, QString::fromLatin1(szName));
}

}  // namespace

void TDlgSelect::CreateAnnualPage(QWidget* pPage) {
  auto* columns = new QHBoxLayout(pPage);
  columns->setContentsMargins(4, 4, 4, 4);

  // Left: the inputs of the year.
  auto* left = new QVBoxLayout;
  columns->addLayout(left, 0);
  auto* weather = new QGroupBox(QStringLiteral("Weather"), pPage);
  weather->setObjectName(QStringLiteral("Box_Climate"));
  auto* weatherLayout = new QGridLayout(weather);
  Cbx_Climate = new QComboBox(weather);
  Cbx_Climate->setObjectName(QStringLiteral("Cbx_Climate"));
  weatherLayout->addWidget(Cbx_Climate, 0, 0, 1, 2);
  Txt_ClimateName = NewValueLabel(weather, "Txt_ClimateName");
  Txt_ClimateSource = NewValueLabel(weather, "Txt_ClimateSource");
  for (QLabel* value : {Txt_ClimateName, Txt_ClimateSource}) {
    value->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    value->setWordWrap(true);
  }
  weatherLayout->addWidget(new QLabel(QStringLiteral("Climate in use"), weather), 1, 0);
  weatherLayout->addWidget(Txt_ClimateName, 1, 1);
  weatherLayout->addWidget(new QLabel(QStringLiteral("Weather data"), weather), 2, 0);
  weatherLayout->addWidget(Txt_ClimateSource, 2, 1);
  weatherLayout->setColumnStretch(1, 1);
  left->addWidget(weather);

  auto* operation = new QGroupBox(QStringLiteral("Operation"), pPage);
  operation->setObjectName(QStringLiteral("Box_Schedule"));
  auto* operationLayout = new QVBoxLayout(operation);
  Chk_AnnualAlways = new QCheckBox(QStringLiteral("Always"), operation);
  Chk_AnnualAlways->setObjectName(QStringLiteral("Chk_AnnualAlways"));
  operationLayout->addWidget(Chk_AnnualAlways);
  auto* hours = new QHBoxLayout;
  // Whole hours: from 0 .. 23 to 1 .. 24 (LTSchedule); only Enter, leaving
  // the box or the arrows commit a value, not each digit typed.
  Spn_FromHour = new QSpinBox(operation);
  Spn_FromHour->setObjectName(QStringLiteral("Spn_FromHour"));
  Spn_FromHour->setRange(0, 23);
  Spn_ToHour = new QSpinBox(operation);
  Spn_ToHour->setObjectName(QStringLiteral("Spn_ToHour"));
  Spn_ToHour->setRange(1, 24);
  for (QSpinBox* hour : {Spn_FromHour, Spn_ToHour}) {
    hour->setKeyboardTracking(false);
    hour->setSuffix(QStringLiteral(":00"));
  }
  hours->addWidget(new QLabel(QStringLiteral("From"), operation));
  hours->addWidget(Spn_FromHour);
  hours->addWidget(new QLabel(QStringLiteral("to"), operation));
  hours->addWidget(Spn_ToHour);
  hours->addStretch(1);
  operationLayout->addLayout(hours);
  auto* days = new QHBoxLayout;
  const QStringList dayNames = CTReport::DayNames();
  for (int d = 0; d < LTSchedule::kDays; ++d) {
    v_dayChecks[std::size_t(d)] = new QCheckBox(dayNames[d], operation);
    v_dayChecks[std::size_t(d)]->setObjectName(QString::fromLatin1(kDayBoxNames[d]));
    days->addWidget(v_dayChecks[std::size_t(d)]);
  }
  days->addStretch(1);
  operationLayout->addLayout(days);
  left->addWidget(operation);

  auto* prices = new QGroupBox(QStringLiteral("Prices and emission factors"), pPage);
  prices->setObjectName(QStringLiteral("Box_Prices"));
  auto* priceLayout = new QGridLayout(prices);
  static_assert(std::size(kPriceEditNames) == std::tuple_size_v<decltype(v_priceEdits)>);  // a name per field
  const QList<CTReport::LTPriceItem> items = CTReport::PriceItems();
  Q_ASSERT(items.size() == qsizetype(v_priceEdits.size()));
  const LTPrices defaults;
  for (int i = 0; i < int(items.size()); ++i) {
    QLineEdit*& edit = v_priceEdits[std::size_t(i)];
    edit = new QLineEdit(prices);
    edit->setObjectName(QString::fromLatin1(kPriceEditNames[i]));
    edit->setAlignment(Qt::AlignRight);
    edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0000.0000")));
    auto* fallback = new QLabel(TBaseMsg::Tr(QStringLiteral("default %1"))
                                    .arg(TBaseMsg::Number2Str(defaults.*items[i].value, kPriceDigits)),
                                prices);
    fallback->setObjectName(QStringLiteral("Txt_PriceDefault%1").arg(i));
    priceLayout->addWidget(new QLabel(items[i].caption, prices), i, 0);
    priceLayout->addWidget(edit, i, 1);
    priceLayout->addWidget(fallback, i, 2);
  }
  auto* note = new QLabel(QStringLiteral("Prices are per kWh, in a currency of your choice; the money saved is in the "
                                         "same currency. Heat comes from a generator burning fuel, cooling from a "
                                         "chiller, the fans' and the inlet heater's electricity from the grid."),
                          prices);
  note->setObjectName(QStringLiteral("Lbl_PriceNote"));
  note->setWordWrap(true);
  priceLayout->addWidget(note, int(items.size()), 0, 1, 3);
  auto* restore = new QPushButton(QStringLiteral("Restore the defaults"), prices);
  restore->setObjectName(QStringLiteral("Btn_PriceDefaults"));
  priceLayout->addWidget(restore, int(items.size()) + 1, 0, 1, 3, Qt::AlignLeft);
  priceLayout->setColumnStretch(0, 1);
  left->addWidget(prices);
  left->addStretch(1);

  // Middle: the year and its months.
  auto* middle = new QVBoxLayout;
  columns->addLayout(middle, 4);
  auto* yearBox = new QGroupBox(QStringLiteral("The year"), pPage);
  yearBox->setObjectName(QStringLiteral("Box_AnnualYear"));
  auto* yearLayout = new QVBoxLayout(yearBox);
  Txt_AnnualMessage = NewValueLabel(yearBox, "Txt_AnnualMessage");
  Txt_AnnualMessage->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  Txt_AnnualMessage->setWordWrap(true);
  Txt_AnnualMessage->hide();
  yearLayout->addWidget(Txt_AnnualMessage);
  Lvw_AnnualYear = NewList(yearBox, "Lvw_AnnualYear", {QStringLiteral("Item"), QStringLiteral("Value")});
  // Nine figures and the header.
  Lvw_AnnualYear->setMaximumHeight(Lvw_AnnualYear->fontMetrics().height() * 13);
  yearLayout->addWidget(Lvw_AnnualYear);
  middle->addWidget(yearBox);
  auto* monthBox = new QGroupBox(QStringLiteral("Month by month"), pPage);
  monthBox->setObjectName(QStringLiteral("Box_AnnualMonths"));
  auto* monthLayout = new QVBoxLayout(monthBox);
  Lvw_AnnualMonths =
      NewList(monthBox, "Lvw_AnnualMonths", CTReport::AnnualTexts({}, LTClimate{}, LTAnnualResult{}).months.titles);
  monthLayout->addWidget(Lvw_AnnualMonths);
  middle->addWidget(monthBox, 1);

  // Right: the charts.
  auto* right = new QVBoxLayout;
  columns->addLayout(right, 3);
  PB_AnnualMonths = new TBarChartBox(pPage);
  PB_AnnualMonths->setObjectName(QStringLiteral("PB_AnnualMonths"));
  PB_AnnualBins = new TBarChartBox(pPage);
  PB_AnnualBins->setObjectName(QStringLiteral("PB_AnnualBins"));
  right->addWidget(PB_AnnualMonths, 1);
  right->addWidget(PB_AnnualBins, 1);

  // The user's edits only: the program sets the widgets with their signals
  // blocked.
  connect(Cbx_Climate, &QComboBox::activated, this, [this] { ClimateChosen(); });
  connect(Chk_AnnualAlways, &QCheckBox::clicked, this, [this] { ScheduleEdited(); });
  for (QSpinBox* hour : {Spn_FromHour, Spn_ToHour})
    connect(hour, &QSpinBox::valueChanged, this, [this] { ScheduleEdited(); });
  for (QCheckBox* day : v_dayChecks) connect(day, &QCheckBox::clicked, this, [this] { ScheduleEdited(); });
  for (int i = 0; i < int(v_priceEdits.size()); ++i)
    connect(v_priceEdits[std::size_t(i)], &QLineEdit::editingFinished, this, [this, i] { PriceEdited(i); });
  connect(restore, &QPushButton::clicked, this, [this] { PriceDefaultsClick(); });
}

// ---------------------------------------------------------------- inputs

bool TDlgSelect::ShowAnnualInputs(bool bAgain) {
  const LTAnnualInputs& in = CurrentRequest().annual;
  const bool changed = !v_annualShown || *v_annualShown != in;
  if (!changed && !bAgain) return false;
  v_annualShown = in;

  // The demonstration years by their names, the file in use, and the way
  // to another file; each entry holds its climate's text.
  const QStringList demos = CTClimate::DemoNames();
  if (v_demoClimateNames.size() != demos.size()) {
    v_demoClimateNames.clear();
    for (const QString& demo : demos) {
      LTClimate climate;
      QString why;
      const bool read = CTClimate::Load(QStringLiteral("demo:") + demo, climate, why);
      v_demoClimateNames << (read && !climate.name.isEmpty() ? climate.name : demo);
    }
  }
  {
    const QSignalBlocker block(Cbx_Climate);
    Cbx_Climate->clear();
    for (int i = 0; i < demos.size(); ++i) Cbx_Climate->addItem(v_demoClimateNames[i], QStringLiteral("demo:") + demos[i]);
    if (Cbx_Climate->findData(in.climate) < 0) Cbx_Climate->addItem(QFileInfo(in.climate).fileName(), in.climate);
    // Empty data: the entry that opens the file dialog.
    Cbx_Climate->addItem(TBaseMsg::Tr(QStringLiteral("From a file...")), QString());
    Cbx_Climate->setCurrentIndex(Cbx_Climate->findData(in.climate));
  }

  const LTSchedule& schedule = in.schedule;
  for (QWidget* widget : std::initializer_list<QWidget*>{Chk_AnnualAlways, Spn_FromHour, Spn_ToHour}) widget->blockSignals(true);
  Chk_AnnualAlways->setChecked(schedule.always);
  Spn_FromHour->setValue(schedule.fromHour);
  Spn_ToHour->setValue(schedule.toHour);
  for (QWidget* widget : std::initializer_list<QWidget*>{Chk_AnnualAlways, Spn_FromHour, Spn_ToHour}) widget->blockSignals(false);
  Spn_FromHour->setEnabled(!schedule.always);
  Spn_ToHour->setEnabled(!schedule.always);
  for (int d = 0; d < LTSchedule::kDays; ++d) {
    QCheckBox* day = v_dayChecks[std::size_t(d)];
    const QSignalBlocker block(day);
    day->setChecked(schedule.days[std::size_t(d)]);
    day->setEnabled(!schedule.always);
  }

  const QList<CTReport::LTPriceItem> items = CTReport::PriceItems();
  for (int i = 0; i < int(items.size()); ++i) {
    QLineEdit* edit = v_priceEdits[std::size_t(i)];
    const QSignalBlocker block(edit);
    edit->setText(TBaseMsg::Number2Str(in.prices.*items[i].value, kPriceDigits));
  }
  return changed;
}

void TDlgSelect::ClimateChosen() {
  if (!v_form) return;
  LTAnnualInputs in = CurrentRequest().annual;
  QString spec = Cbx_Climate->currentData().toString();
  if (spec.isEmpty()) spec = ChooseFile(FileKind::kClimate);
  if (spec.isEmpty() || spec == in.climate) {
    ShowAnnualInputs(true);
    return;
  }
  // A climate that does not load is refused here, and the one in use stays.
  LTClimate climate;
  QString why;
  if (!CTAnnualEnergy::LoadClimate(spec, climate, why)) {
    TBaseMsg::DisplayError(this, QStringList{TBaseMsg::Tr(QStringLiteral("This weather cannot be used; the climate in use stays.")), why});
    ShowAnnualInputs(true);
    return;
  }
  v_dataHaveChanged = true;
  in.climate = spec;
  v_form->SetAnnual(in);
}

void TDlgSelect::ScheduleEdited() {
  if (!v_form) return;
  LTSchedule schedule;
  schedule.always = Chk_AnnualAlways->isChecked();
  schedule.fromHour = Spn_FromHour->value();
  schedule.toHour = Spn_ToHour->value();
  for (int d = 0; d < LTSchedule::kDays; ++d) schedule.days[std::size_t(d)] = v_dayChecks[std::size_t(d)]->isChecked();
  // A unit that runs on no day has no year: unchecking the last day is a
  // slip, not a schedule.
  const bool noDay = std::none_of(schedule.days.begin(), schedule.days.end(), [](bool b) { return b; });
  if (!schedule.always && noDay) {
    TBaseMsg::DisplayError(this, TBaseMsg::Tr(QStringLiteral("Mark at least one day on which the unit runs.")));
    ShowAnnualInputs(true);
    return;
  }
  // What a project file keeps must read back: the schedule's own rules
  // decide, through its text.
  LTSchedule checked;
  QString why;
  if (!LTSchedule::Parse(schedule.Text(), checked, why)) {
    TBaseMsg::DisplayError(this, QStringList{TBaseMsg::Tr(QStringLiteral("These operating hours cannot be used.")), why});
    ShowAnnualInputs(true);
    return;
  }
  LTAnnualInputs in = CurrentRequest().annual;
  if (schedule == in.schedule) {
    ShowAnnualInputs(true);
    return;
  }
  v_dataHaveChanged = true;
  in.schedule = schedule;
  v_form->SetAnnual(in);
}

void TDlgSelect::PriceEdited(int nPrice) {
  if (!v_form) return;
  const CTReport::LTPriceItem item = CTReport::PriceItems().value(nPrice);
  LTAnnualInputs in = CurrentRequest().annual;
  LTPrices prices = in.prices;
  // Numbers with "." or ","; the prices' own ranges decide, through their
  // text.
  double value = 0;
  QString why;
  LTPrices checked;
  if (!TBaseMsg::TryParseNumber(v_priceEdits[std::size_t(nPrice)]->text(), value)) {
    why = TBaseMsg::Tr(QStringLiteral("not a number"));
  } else {
    prices.*item.value = value;
    LTPrices::Parse(prices.Text(), checked, why);
  }
  if (!why.isEmpty()) {
    TBaseMsg::DisplayError(this, item.caption + QStringLiteral(": ") + why);
    ShowAnnualInputs(true);
    return;
  }
  if (checked == in.prices) {
    ShowAnnualInputs(true);  // as the field shows numbers
    return;
  }
  v_dataHaveChanged = true;
  in.prices = checked;
  v_form->SetAnnual(in);
}

void TDlgSelect::PriceDefaultsClick() {
  if (!v_form) return;
  LTAnnualInputs in = CurrentRequest().annual;
  if (in.prices == LTPrices{}) return;
  v_dataHaveChanged = true;
  in.prices = LTPrices{};
  v_form->SetAnnual(in);
}

// ---------------------------------------------------------------- the year

void TDlgSelect::AnnualOutOfDate() {
  v_annualStale = true;
  if (Ctl_Pages->currentWidget() == Tab_Annual) FillAnnual();
}

void TDlgSelect::ClearAnnual() {
  v_annualStale = false;
  for (QTreeWidget* list : {Lvw_AnnualYear, Lvw_AnnualMonths}) list->clear();
  for (QLabel* label : {Txt_ClimateName, Txt_ClimateSource, Txt_AnnualMessage}) label->clear();
  Txt_AnnualMessage->hide();
  PB_AnnualMonths->SetData(std::nullopt);
  PB_AnnualBins->SetData(std::nullopt);
}

// The tab for the current unit and inputs, when it does not show them yet.
void TDlgSelect::FillAnnual() {
  if (!v_annualStale) return;
  ClearAnnual();
  const SelectionResult& result = Result();
  if (!result.Current()) return;
  const SelectionRequest& request = CurrentRequest();
  LTClimate climate;
  const LTAnnualResult year = CTReport::AnnualYear(request, result, climate);
  const LTAnnualTexts texts = CTReport::AnnualTexts(request.annual, climate, year);
  // The climate in use, as the report names it; one that did not load by
  // what the project gives.
  const bool loaded = !climate.hours.empty();
  Txt_ClimateName->setText(loaded ? texts.inputs.value(0).value : request.annual.climate);
  Txt_ClimateSource->setText(loaded ? texts.inputs.value(1).value : QString());
  if (!year.computed) {
    Txt_AnnualMessage->setText(TBaseMsg::Tr(QStringLiteral("The annual energy cannot be worked out:")) +
                               QLatin1Char(' ') + year.message);
    Txt_AnnualMessage->show();
    return;
  }
  for (const LTSheetRow& row : texts.figures) {
    auto* item = new QTreeWidgetItem(Lvw_AnnualYear, {row.label, row.value});
    item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
  }
  Lvw_AnnualYear->resizeColumnToContents(0);
  for (const QStringList& cells : texts.months.rows) {
    auto* item = new QTreeWidgetItem(Lvw_AnnualMonths, cells);
    for (int column = 1; column < cells.size(); ++column) item->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
  }
  for (int column = 0; column < Lvw_AnnualMonths->columnCount(); ++column) Lvw_AnnualMonths->resizeColumnToContents(column);
  PB_AnnualMonths->SetData(CTChartSetup::AnnualMonthsChartData(year), BarBase::kZero);
  PB_AnnualBins->SetData(CTChartSetup::AnnualBinsChartData(year), BarBase::kZero);
}
