// The controls of the Selection, Results and Database tabs. Layouts are Qt
// layouts; the controls carry the names the rest of the window (and the
// tests) find them by.

#include "app/ChartBox.h"
#include "app/FrameConfig.h"
#include "app/FrmConfiguration.h"
#include "charts/ChartSetup.h"
#include "app/PsychroBox.h"
#include "app/FrameAirConditions.h"
#include "app/FrameQuilloProps.h"
#include "app/FrameResultData.h"
#include "app/FrameTempConditions.h"
#include "app/Frame_UnitTextScroll.h"
#include "app/DlgSelect.h"
#include "app/Explain.h"
#include "app/ValueText.h"

#include <QToolButton>
#include <QButtonGroup>
#include <QPushButton>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QRadioButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

template <typename T>
T* Named(T* pWidget, const char* szName) {
  pWidget->setObjectName(QString::fromLatin1(szName));
  return pWidget;
}

QGroupBox* Box(QWidget* pParent, const char* szName, const char* szCaption) {
  return Named(new QGroupBox(QString::fromUtf8(szCaption), pParent), szName);
}

TFrm_UnitTextScroll* NewField(QWidget* pParent, const char* szName) {
  return Named(new TFrm_UnitTextScroll(pParent), szName);
}

// A row panel: a caption (or a control standing for it) and a value widget.
QWidget* Row(QWidget* pParent, const char* szName, QWidget* pCaption, QWidget* pValue) {
  auto* panel = new QWidget(pParent);
  if (szName) panel->setObjectName(QString::fromLatin1(szName));
  auto* layout = new QHBoxLayout(panel);
  layout->setContentsMargins(0, 0, 0, 0);
  pCaption->setParent(panel);
  pValue->setParent(panel);
  pCaption->setMinimumWidth(150);
  layout->addWidget(pCaption);
  layout->addWidget(pValue, 1);
  return panel;
}

QLabel* Caption(const char* szText) { return new QLabel(QString::fromUtf8(szText)); }

}  // namespace

QToolButton* TDlgSelect::Explainer(QWidget* pParent, const char* szName, int nTopic) {
  return TFrm_Explain::NewInfoButton(pParent, QString::fromLatin1(szName),
                                     [this, nTopic] { TFrm_Explain::Explain(this, nTopic, v_session.get()); });
}

void TDlgSelect::CreateSelectionPage(QWidget* pPage) {
  auto* columns = new QHBoxLayout(pPage);

  // Left: what the room needs.
  auto* left = new QVBoxLayout;
  columns->addLayout(left, 4);
  QGroupBox* altitudeBox = Box(pPage, "Box_Altitude", "Altitude Selection");
  auto* altitude = new QVBoxLayout(altitudeBox);
  Frm_Altitude = NewField(altitudeBox, "Frm_Altitude");
  altitude->addWidget(Row(altitudeBox, nullptr, Caption("Altitude"), Frm_Altitude));
  left->addWidget(altitudeBox);

  QGroupBox* roomBox = Box(pPage, "Box_RoomAirflow", "Room Airflow Conditions");
  auto* room = new QVBoxLayout(roomBox);
  room->setSpacing(2);
  Frm_Airflow = NewField(roomBox, "Frm_Airflow");
  room->addWidget(Row(roomBox, nullptr, Caption("Airflow per person"), Frm_Airflow));
  Frm_RoomSurface = NewField(roomBox, "Frm_RoomSurface");
  room->addWidget(Row(roomBox, nullptr, Caption("Room surface"), Frm_RoomSurface));
  RB_AreaPerPerson = Named(new QRadioButton(QStringLiteral("Area per person")), "RB_AreaPerPerson");
  Frm_AreaPerPerson = NewField(roomBox, "Frm_AreaPerPerson");
  room->addWidget(Row(roomBox, nullptr, RB_AreaPerPerson, Frm_AreaPerPerson));
  RB_NumberOfPersons = Named(new QRadioButton(QStringLiteral("Number of persons")), "RB_NumberOfPersons");
  Frm_NumberOfPersons = NewField(roomBox, "Frm_NumberOfPersons");
  room->addWidget(Row(roomBox, nullptr, RB_NumberOfPersons, Frm_NumberOfPersons));
  // The two radio buttons sit in different rows: one group keeps them exclusive.
  auto* persons = new QButtonGroup(roomBox);
  persons->addButton(RB_AreaPerPerson);
  persons->addButton(RB_NumberOfPersons);
  Chk_TotalSupply = Named(new QCheckBox(QStringLiteral("Total supply air")), "Chk_TotalSupply");
  Frm_TotalSupply = NewField(roomBox, "Frm_TotalSupply");
  room->addWidget(Row(roomBox, nullptr, Chk_TotalSupply, Frm_TotalSupply));
  Chk_TotalExhaust = Named(new QCheckBox(QStringLiteral("Total exhaust air")), "Chk_TotalExhaust");
  Frm_TotalExhaust = NewField(roomBox, "Frm_TotalExhaust");
  Pnl_ExhaustData = Row(roomBox, "Pnl_ExhaustData", Chk_TotalExhaust, Frm_TotalExhaust);
  room->addWidget(Pnl_ExhaustData);
  left->addWidget(roomBox);

  QGroupBox* espBox = Box(pPage, "Box_ESP", "External Static Pressure (ESP)");
  auto* esp = new QVBoxLayout(espBox);
  Frm_DesignSupplyESP = NewField(espBox, "Frm_DesignSupplyESP");
  esp->addWidget(Row(espBox, nullptr, Caption("Design supply ESP"), Frm_DesignSupplyESP));
  Frm_DesignExhaustESP = NewField(espBox, "Frm_DesignExhaustESP");
  Pnl_ExhaustESP = Row(espBox, "Pnl_ExhaustESP", Caption("Design exhaust ESP"), Frm_DesignExhaustESP);
  esp->addWidget(Pnl_ExhaustESP);
  left->addWidget(espBox);

  QGroupBox* familyBox = Box(pPage, "Box_Family", "Device Family Selection");
  auto* family = new QVBoxLayout(familyBox);
  family->setSpacing(2);
  Txt_Family = Named(new QComboBox, "Txt_Family");
  family->addWidget(Row(familyBox, nullptr, Caption("Device family"), Txt_Family));
  Txt_MaxSpeed = Named(new QComboBox, "Txt_MaxSpeed");
  Pnl_MaxSpeed = Row(familyBox, "Pnl_MaxSpeed", Caption("Maximum speed"), Txt_MaxSpeed);
  family->addWidget(Pnl_MaxSpeed);
  Txt_TETemp = Named(new QComboBox, "Txt_TETemp");
  Pnl_TETemp = Row(familyBox, "Pnl_TETemp", Caption("Evaporating temperature"), Txt_TETemp);
  family->addWidget(Pnl_TETemp);
  QStringList filters{QStringLiteral("None")};
  for (int filterClass = 1; filterClass < Cls_HRX::kFilterClassCount; ++filterClass)
    filters << Cls_HRX::FilterClassName(filterClass);
  Txt_SupplyFilter = Named(new QComboBox, "Txt_SupplyFilter");
  Txt_SupplyFilter->addItems(filters);
  Pnl_SupplyFilter = Row(familyBox, "Pnl_SupplyFilter", Caption("Supply filter"), Txt_SupplyFilter);
  family->addWidget(Pnl_SupplyFilter);
  Txt_ExhaustFilter = Named(new QComboBox, "Txt_ExhaustFilter");
  Txt_ExhaustFilter->addItems(filters);
  Pnl_ExhaustFilter = Row(familyBox, "Pnl_ExhaustFilter", Caption("Exhaust filter"), Txt_ExhaustFilter);
  family->addWidget(Pnl_ExhaustFilter);
  Pnl_SelPlenum = Named(new QWidget(familyBox), "Pnl_SelPlenum");
  auto* plenum = new QHBoxLayout(Pnl_SelPlenum);
  plenum->setContentsMargins(0, 0, 0, 0);
  plenum->addWidget(new QLabel(QStringLiteral("Plenum"), Pnl_SelPlenum));
  Rbn_PlenumNone = Named(new QRadioButton(QStringLiteral("None"), Pnl_SelPlenum), "Rbn_PlenumNone");
  Rbn_PlenumOAEA = Named(new QRadioButton(QStringLiteral("OA/EA"), Pnl_SelPlenum), "Rbn_PlenumOAEA");
  Rbn_PlenumAll = Named(new QRadioButton(QStringLiteral("All"), Pnl_SelPlenum), "Rbn_PlenumAll");
  for (QRadioButton* b : {Rbn_PlenumNone, Rbn_PlenumOAEA, Rbn_PlenumAll}) plenum->addWidget(b);
  plenum->addWidget(Explainer(Pnl_SelPlenum, "Btn_PlenumInfo", kTopicPlenum));
  Rbn_PlenumNone->setChecked(true);
  family->addWidget(Pnl_SelPlenum);
  Chb_UpsideDown = Named(new QCheckBox(QStringLiteral("Upside down installation"), familyBox), "Chb_UpsideDown");
  auto* upsideDown = new QHBoxLayout;
  upsideDown->addWidget(Chb_UpsideDown);
  upsideDown->addWidget(Explainer(familyBox, "Btn_UpsideDownInfo", kTopicUpsideDown));
  upsideDown->addStretch(1);
  family->addLayout(upsideDown);
  left->addWidget(familyBox);
  left->addStretch(1);

  // Middle: the air conditions of both modes.
  auto* middle = new QHBoxLayout;
  columns->addLayout(middle, 5);
  Frm_CoolTempConditions = Named(new TFrm_TempConditions(pPage), "Frm_CoolTempConditions");
  Frm_HeatTempConditions = Named(new TFrm_TempConditions(pPage), "Frm_HeatTempConditions");
  v_coolColumn = new QVBoxLayout;
  auto* coolTitle = new QLabel(QStringLiteral("<b>Cooling</b>"), pPage);
  v_coolColumn->addWidget(coolTitle);
  v_coolColumn->addWidget(Frm_CoolTempConditions, 1);
  v_heatColumn = new QVBoxLayout;
  v_heatColumn->addWidget(new QLabel(QStringLiteral("<b>Heating</b>"), pPage));
  v_heatColumn->addWidget(Frm_HeatTempConditions, 1);
  middle->addLayout(v_coolColumn);
  middle->addLayout(v_heatColumn);

  // Right: the candidates and what they mean for the ducts.
  auto* right = new QVBoxLayout;
  columns->addLayout(right, 5);
  LV_SelectedDevices = Named(new QTreeWidget(pPage), "LV_SelectedDevices");
  LV_SelectedDevices->setHeaderLabels({QStringLiteral("Model"), QStringLiteral("Supply"), QStringLiteral("Extract"),
                                       QStringLiteral("Plenum"), QStringLiteral("Net kWh")});
  LV_SelectedDevices->headerItem()->setTextAlignment(3, Qt::AlignCenter);
  LV_SelectedDevices->headerItem()->setTextAlignment(kNetColumn, Qt::AlignRight | Qt::AlignVCenter);
  LV_SelectedDevices->setColumnHidden(kNetColumn, true);
  LV_SelectedDevices->setRootIsDecorated(false);
  LV_SelectedDevices->setAllColumnsShowFocus(true);
  right->addWidget(LV_SelectedDevices, 1);
  // The candidates by what each saves over the year of the Annual Energy
  // tab's weather, schedule and prices, instead of the catalogue's order.
  Chk_OrderByNet = Named(new QCheckBox(QStringLiteral("Order by annual net benefit")), "Chk_OrderByNet");
  Chk_OrderByNet->setParent(pPage);
  right->addWidget(Chk_OrderByNet);

  Box_Ratios = Box(pPage, "Box_Ratios", "Ratios");
  auto* ratios = new QVBoxLayout(Box_Ratios);
  Txt_ESRatio = ValueText::NewValueLabel(Box_Ratios, QStringLiteral("Txt_ESRatio"));
  ratios->addWidget(Row(Box_Ratios, nullptr, Caption("Exhaust / supply airflow"), Txt_ESRatio));
  Txt_SNRatio = ValueText::NewValueLabel(Box_Ratios, QStringLiteral("Txt_SNRatio"));
  Pnl_SNHRDRatio = Row(Box_Ratios, "Pnl_SNHRDRatio", Caption("Supply / nominal airflow"), Txt_SNRatio);
  ratios->addWidget(Pnl_SNHRDRatio);
  Pnl_SNHRDRatio->layout()->addWidget(Explainer(Pnl_SNHRDRatio, "Btn_HRDRatioInfo", kTopicHRDRatio));
  ratios->itemAt(0)->widget()->layout()->addWidget(Explainer(Box_Ratios, "Btn_RatioInfo", kTopicRatio));
  right->addWidget(Box_Ratios);

  Box_ESPData = Box(pPage, "Box_ESPData", "ESP data");
  auto* espData = new QVBoxLayout(Box_ESPData);
  espData->setSpacing(2);
  Pnl_FilterData = new QWidget(Box_ESPData);
  Pnl_FilterData->setObjectName(QStringLiteral("Pnl_FilterData"));
  auto* filterData = new QVBoxLayout(Pnl_FilterData);
  filterData->setContentsMargins(0, 0, 0, 0);
  Txt_SupplyFilterDrop = ValueText::NewValueLabel(Pnl_FilterData, QStringLiteral("Txt_SupplyFilterDrop"));
  filterData->addWidget(Row(Pnl_FilterData, nullptr, Caption("Supply filter drop"), Txt_SupplyFilterDrop));
  Txt_SupplyPlenumDrop = ValueText::NewValueLabel(Pnl_FilterData, QStringLiteral("Txt_SupplyPlenumDrop"));
  filterData->addWidget(Row(Pnl_FilterData, nullptr, Caption("Supply plenum drop"), Txt_SupplyPlenumDrop));
  espData->addWidget(Pnl_FilterData);
  Txt_SupplyAddResistance = ValueText::NewValueLabel(Box_ESPData, QStringLiteral("Txt_SupplyAddResistance"));
  espData->addWidget(Row(Box_ESPData, nullptr, Caption("Supply additional resistance"), Txt_SupplyAddResistance));
  Pnl_ExhaustESPData = new QWidget(Box_ESPData);
  Pnl_ExhaustESPData->setObjectName(QStringLiteral("Pnl_ExhaustESPData"));
  auto* exhaustData = new QVBoxLayout(Pnl_ExhaustESPData);
  exhaustData->setContentsMargins(0, 0, 0, 0);
  // The exhaust filter and plenum rows, shown with the supply ones (plain family only).
  Pnl_ExhaustFilterData = Named(new QWidget(Pnl_ExhaustESPData), "Pnl_ExhaustFilterData");
  auto* exhaustFilterData = new QVBoxLayout(Pnl_ExhaustFilterData);
  exhaustFilterData->setContentsMargins(0, 0, 0, 0);
  Txt_ExhaustFilterDrop = ValueText::NewValueLabel(Pnl_ExhaustFilterData, QStringLiteral("Txt_ExhaustFilterDrop"));
  exhaustFilterData->addWidget(
      Row(Pnl_ExhaustFilterData, nullptr, Caption("Exhaust filter drop"), Txt_ExhaustFilterDrop));
  Txt_ExhaustPlenumDrop = ValueText::NewValueLabel(Pnl_ExhaustFilterData, QStringLiteral("Txt_ExhaustPlenumDrop"));
  exhaustFilterData->addWidget(
      Row(Pnl_ExhaustFilterData, nullptr, Caption("Exhaust plenum drop"), Txt_ExhaustPlenumDrop));
  exhaustData->addWidget(Pnl_ExhaustFilterData);
  Txt_ExhaustAddResistance = ValueText::NewValueLabel(Pnl_ExhaustESPData, QStringLiteral("Txt_ExhaustAddResistance"));
  exhaustData->addWidget(
      Row(Pnl_ExhaustESPData, nullptr, Caption("Exhaust additional resistance"), Txt_ExhaustAddResistance));
  espData->addWidget(Pnl_ExhaustESPData);
  espData->addWidget(Explainer(Box_ESPData, "Btn_ESPDataInfo", kTopicAdditionalResistance), 0, Qt::AlignRight);
  right->addWidget(Box_ESPData);

  Frm_QuilloProps = Named(new TFrm_QuilloProps(pPage), "Frm_QuilloProps");
  right->addWidget(Frm_QuilloProps);
}

void TDlgSelect::CreateResultsPage(QWidget* pPage) {
  auto* layout = new QVBoxLayout(pPage);
  layout->setContentsMargins(4, 4, 4, 4);
  auto* selected = new QHBoxLayout;
  selected->addWidget(new QLabel(QStringLiteral("Selected device"), pPage));
  Txt_ResultSelectedDevice = ValueText::NewValueLabel(pPage, QStringLiteral("Txt_ResultSelectedDevice"));
  Txt_ResultSelectedDevice->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  selected->addWidget(Txt_ResultSelectedDevice, 1);
  Btn_ResultOnlineInfo = NewOnlineInfoButton(pPage, "Btn_ResultOnlineInfo");
  selected->addWidget(Btn_ResultOnlineInfo);
  layout->addLayout(selected);
  // The fans at the chosen speeds and the unit's specific fan power.
  auto* fans = new QHBoxLayout;
  fans->addWidget(new QLabel(QStringLiteral("Fan power"), pPage));
  Txt_FanPower = ValueText::NewValueLabel(pPage, QStringLiteral("Txt_FanPower"));
  fans->addWidget(Txt_FanPower);
  fans->addWidget(new QLabel(QStringLiteral("Specific fan power"), pPage));
  Txt_SFP = ValueText::NewValueLabel(pPage, QStringLiteral("Txt_SFP"));
  Txt_SFP->setMinimumWidth(Txt_SFP->fontMetrics().horizontalAdvance(QStringLiteral("8.88 kW/(m³/s), SFP 8")));
  fans->addWidget(Txt_SFP);
  fans->addStretch(1);
  layout->addLayout(fans);
  auto* resultRow = new QHBoxLayout;
  layout->addLayout(resultRow, 1);
  auto* resultPages = Named(new QTabWidget(pPage), "Ctl_ResultPages");
  resultRow->addWidget(resultPages, 3);
  CreateOptionsBox(pPage, resultRow);
  const auto modePage = [&](const char* caption, const char* airName, const char* dataName, TFrm_AirConditions*& air,
                            TFrm_ResultData*& resultData) {
    auto* page = new QWidget(resultPages);
    auto* row = new QHBoxLayout(page);
    air = Named(new TFrm_AirConditions(page), airName);
    resultData = Named(new TFrm_ResultData(page), dataName);
    row->addWidget(air, 3);
    row->addWidget(resultData, 2);
    resultPages->addTab(page, QString::fromUtf8(caption));
  };
  modePage("Cooling Results", "Frm_CoolAirConditions", "Frm_CoolResultData", Frm_CoolAirConditions, Frm_CoolResultData);
  modePage("Heating Results", "Frm_HeatAirConditions", "Frm_HeatResultData", Frm_HeatAirConditions, Frm_HeatResultData);
  layout->addWidget(CreateHRXNotePanel(pPage));
}

void TDlgSelect::CreateDatabasePage(QWidget* pPage) {
  auto* layout = new QHBoxLayout(pPage);
  auto* scroll = new QScrollArea(pPage);
  scroll->setWidgetResizable(true);
  Pnl_Database = Named(new QWidget, "Pnl_Database");
  scroll->setWidget(Pnl_Database);
  layout->addWidget(scroll, 3);
  auto* grid = new QGridLayout(Pnl_Database);
  // Boxes of value rows; each value label is named after its row and kept
  // in its member of v_db.
  using RowMember = LTDatabaseRow LTDatabaseTab::*;
  struct BoxDef {
    const char* name;
    const char* caption;
    QGroupBox* LTDatabaseTab::*box;
    std::vector<std::tuple<const char*, const char*, RowMember>> rows;
  };
  const BoxDef boxes[] = {
      {"Box_DBSelected", "Selected device", nullptr, {{"Selected device", "Txt_DBSelectedDevice", &LTDatabaseTab::selectedDevice}}},
      {"Box_Mechanical",
       "Mechanical Data",
       nullptr,
       {{"W×H×D", "Txt_DBDimensions", &LTDatabaseTab::dimensions}, {"Weight", "Txt_DBWeight", &LTDatabaseTab::weight}}},
      {"Box_Electrical",
       "Electrical Data",
       nullptr,
       {{"Power supply", "Txt_DBPowerSupply", &LTDatabaseTab::powerSupply},
        {"Frequency", "Txt_DBFrequency", &LTDatabaseTab::frequency},
        {"Phases", "Txt_DBPhases", &LTDatabaseTab::phases},
        {"Voltage", "Txt_DBVoltage", &LTDatabaseTab::voltage},
        {"Min~max V", "Txt_DBMinMaxV", &LTDatabaseTab::minMaxV},
        {"MCA", "Txt_DBMCA", &LTDatabaseTab::mca},
        {"MFA", "Txt_DBMFA", &LTDatabaseTab::mfa},
        {"RLA", "Txt_DBRLA", &LTDatabaseTab::rla},
        {"FLA", "Txt_DBFLA", &LTDatabaseTab::fla}}},
      {"Box_Speed",
       "Speed Related Data",
       nullptr,
       {{"Sound level", "Txt_DBSoundLevel", &LTDatabaseTab::soundLevel},
        {"Current", "Txt_DBCurrent", &LTDatabaseTab::current},
        {"Wattage", "Txt_DBWattage", &LTDatabaseTab::wattage}}},
      {"Box_Duct", "Duct Data", nullptr, {{"Duct diameter", "Txt_DBDuctDiameter", &LTDatabaseTab::ductDiameter}}},
      {"Box_Nominal",
       "Nominal Data",
       &LTDatabaseTab::nominal,
       {{"Nominal humidity", "Txt_DBNominalHumidity", &LTDatabaseTab::nominalHumidity},
        {"Nominal airflow", "Txt_DBNominalAirflow", &LTDatabaseTab::nominalAirflow}}},
      {"Box_AmbientRange",
       "Ambient Operation Range",
       nullptr,
       {{"Min~max temperature", "Txt_DBAmbientTemp", &LTDatabaseTab::ambientTemp},
        {"Maximum relative humidity", "Txt_DBAmbientRH", &LTDatabaseTab::ambientRH}}},
      {"Box_HeaterThreshold",
       "Heater Threshold Temperature",
       nullptr,
       {{"Minimum temperature", "Txt_DBVIMinTemp", &LTDatabaseTab::viMinTemp},
        {"Upside down installation", "Txt_DBVIMinTempUD", &LTDatabaseTab::viMinTempUD}}},
      {"Box_RoomRange",
       "Room Operation Range",
       &LTDatabaseTab::roomRange,
       {{"Min~max temperature", "Txt_DBRoomTemp", &LTDatabaseTab::roomTemp},
        {"Maximum relative humidity", "Txt_DBRoomRH", &LTDatabaseTab::roomRH}}},
      {"Box_RHMaxima",
       "Relative Humidity Maxima",
       &LTDatabaseTab::rhMaxima,
       {{"Exhaust air (EA)", "Txt_DBEAMaxRH", &LTDatabaseTab::eaMaxRH},
        {"Exhaust air (EA), upside down", "Txt_DBEAMaxRHUD", &LTDatabaseTab::eaMaxRHUD},
        {"Ventilation out air (VO)", "Txt_DBVOMaxRH", &LTDatabaseTab::voMaxRH},
        {"Ventilation out air (VO), upside down", "Txt_DBVOMaxRHUD", &LTDatabaseTab::voMaxRHUD},
        {"Coil in air (CI)", "Txt_DBCIMaxRH", &LTDatabaseTab::ciMaxRH},
        {"Coil in air (CI), upside down", "Txt_DBCIMaxRHUD", &LTDatabaseTab::ciMaxRHUD}}},
      {"Box_AirTreatment",
       "Air Treatment Limits",
       &LTDatabaseTab::airTreatment,
       {{"Minimum RH in cooling (OA)", "Txt_DBMinCoolRH", &LTDatabaseTab::minCoolRH},
        {"Minimum RH in heating (OA)", "Txt_DBMinHeatRH", &LTDatabaseTab::minHeatRH},
        {"Min~max fan only temperature", "Txt_DBFanOnlyTemp", &LTDatabaseTab::fanOnlyTemp}}},
  };
  const auto addRow = [this](QWidget* box, QFormLayout* form, const char* caption, const char* name, RowMember row) {
    QLabel* value = ValueText::NewValueLabel(box, QString::fromLatin1(name));
    value->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    auto* label = new QLabel(QString::fromUtf8(caption), box);
    label->setObjectName(QStringLiteral("Lbl_") + QString::fromLatin1(name).mid(4));
    form->addRow(label, value);
    v_db.*row = LTDatabaseRow{label, value};
  };
  int index = 0;
  for (const BoxDef& def : boxes) {
    QGroupBox* box = Box(Pnl_Database, def.name, def.caption);
    if (def.box) v_db.*def.box = box;
    auto* form = new QFormLayout(box);
    for (const auto& [caption, name, row] : def.rows) addRow(box, form, caption, name, row);
    if (qstrcmp(def.name, "Box_DBSelected") == 0) {
      Btn_DBOnlineInfo = NewOnlineInfoButton(box, "Btn_DBOnlineInfo");
      form->addRow(QString(), Btn_DBOnlineInfo);
    }
    grid->addWidget(box, index / 2, index % 2);
    ++index;
  }
  grid->setRowStretch(index / 2 + 1, 1);

  auto* options = new QVBoxLayout;
  layout->addLayout(options, 2);
  Lvw_DBOptions = Named(new QTreeWidget(pPage), "Lvw_DBOptions");
  Lvw_DBOptions->setHeaderLabels({QStringLiteral("Name"), QStringLiteral("Type")});
  Lvw_DBOptions->setRootIsDecorated(false);
  options->addWidget(Lvw_DBOptions, 1);
  QGroupBox* detail = Box(pPage, "Box_DBOption", "Option");
  auto* detailForm = new QFormLayout(detail);
  for (const auto& [caption, name, row] :
       {std::tuple{"Description", "Txt_DBOptDescription", &LTDatabaseTab::optDescription},
        std::tuple{"W×H×D", "Txt_DBOptDimensions", &LTDatabaseTab::optDimensions},
        std::tuple{"MCA", "Txt_DBOptMCA", &LTDatabaseTab::optMCA}}) {
    addRow(detail, detailForm, caption, name, row);
    (v_db.*row).value->setWordWrap(true);
  }
  options->addWidget(detail);
}

void TDlgSelect::CreatePsychroPage() {
  QWidget* page = Tab_Psychrometrics;
  auto* columns = new QHBoxLayout(page);
  columns->setContentsMargins(4, 4, 4, 4);
  PB_PsyGraph = Named(new TPsychroBox(page), "PB_PsyGraph");
  columns->addWidget(PB_PsyGraph, 1);
  auto* side = new QVBoxLayout;
  columns->addLayout(side);
  auto* mode = Named(new QWidget(page), "Pnl_PsyMode");
  auto* modeRow = new QHBoxLayout(mode);
  modeRow->setContentsMargins(0, 0, 0, 0);
  RB_Cooling = Named(new QRadioButton(QStringLiteral("Cooling"), mode), "RB_Cooling");
  RB_Heating = Named(new QRadioButton(QStringLiteral("Heating"), mode), "RB_Heating");
  RB_Cooling->setChecked(true);
  modeRow->addWidget(RB_Cooling);
  modeRow->addWidget(RB_Heating);
  side->addWidget(mode);
  Pnl_PsyConditions = Named(new QWidget(page), "Pnl_PsyConditions");
  v_psyConditions = new QVBoxLayout(Pnl_PsyConditions);
  v_psyConditions->setContentsMargins(0, 0, 0, 0);
  side->addWidget(Pnl_PsyConditions);
  QGroupBox* pointData = Box(page, "Box_PointData", "Point Data");
  auto* form = new QFormLayout(pointData);
  const std::pair<QLabel* LTPointDataBox::*, const char*> rows[] = {
      {&LTPointDataBox::dryBulb, "Dry bulb temperature"}, {&LTPointDataBox::wetBulb, "Wet bulb temperature"},
      {&LTPointDataBox::dewPoint, "Dew point"},           {&LTPointDataBox::relativeHumidity, "Relative humidity"},
      {&LTPointDataBox::absHumidity, "Absolute Humidity"}, {&LTPointDataBox::enthalpy, "Enthalpy"},
      {&LTPointDataBox::pressure, "Pressure"}};
  for (const auto& [member, caption] : rows) {
    QLabel* value = ValueText::NewValueLabel(pointData, QStringLiteral("Txt_Point") + QString::fromLatin1(caption).remove(' '));
    form->addRow(new QLabel(QString::fromUtf8(caption), pointData), value);
    v_pointData.*member = value;
  }
  side->addWidget(pointData);
  Btn_Configuration = Named(new QPushButton(QStringLiteral("Configuration Screen..."), page), "Btn_Configuration");
  side->addWidget(Btn_Configuration);
  connect(Btn_Configuration, &QPushButton::clicked, this, [this] { Btn_ConfigurationClick(); });
  side->addStretch(1);
}

void TDlgSelect::CreateConfigurationPage() {
  auto* layout = new QVBoxLayout(Tab_Configuration);
  Frm_Config = Named(new TFrm_Config(Tab_Configuration), "Frm_Config");
  layout->addWidget(Frm_Config);
  // The unit and its data asked at every paint: never a unit a run freed.
  Frm_Config->SetupWindow([this] { return Result().Current(); },
                          [this] { return CTChartSetup::ConfigData(Result()); }, true);
}

void TDlgSelect::Btn_ConfigurationClick() {
  if (v_configForm) v_configForm->close();
  v_configForm = new TFrm_Configuration(
      this, [this] { v_configForm = nullptr; }, [this] { return Result().Current(); },
      [this] { return CTChartSetup::ConfigData(Result()); });
  RedrawConfigWindow();
  v_configForm->show();
}

void TDlgSelect::RedrawConfigWindow() {
  if (v_configForm) v_configForm->Redraw();
}

void TDlgSelect::CreateChartPages() {
  CreatePsychroPage();
  CreateConfigurationPage();
  const auto box = [](QWidget* pPage, const char* szName) {
    auto* layout = new QVBoxLayout(pPage);
    layout->setContentsMargins(4, 4, 4, 4);
    auto* chart = Named(new TChartBox(pPage), szName);
    layout->addWidget(chart);
    return chart;
  };
  PB_ESPGraph = box(Tab_Fan, "PB_ESPGraph");
  PB_EffGraph = box(Tab_Efficiencies, "PB_EffGraph");
  PB_EffCorrect = box(Tab_EffCorrect, "PB_EffCorrect");
}

// The options box: available options above, the used ones below, moved
// with the two buttons or a double-click.
void TDlgSelect::CreateOptionsBox(QWidget* pPage, QBoxLayout* pRow) {
  QGroupBox* box = Box(pPage, "Grp_Options", "Options");
  pRow->addWidget(box, 2);
  auto* column = new QVBoxLayout(box);
  const auto list = [box](const char* name, const QStringList& headers) {
    auto* view = Named(new QTreeWidget(box), name);
    view->setHeaderLabels(headers);
    view->setRootIsDecorated(false);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSortingEnabled(true);
    view->sortByColumn(0, Qt::AscendingOrder);
    return view;
  };
  Lvw_AvailOptions = list("Lvw_AvailOptions", {QStringLiteral("Name"), QStringLiteral("Type")});
  Lvw_UsedOptions = list("Lvw_UsedOptions", {QStringLiteral("Name"), QStringLiteral("Qty."), QStringLiteral("Type")});
  auto* buttons = new QHBoxLayout;
  Btn_Select = Named(new QPushButton(QStringLiteral("▼"), box), "Btn_Select");
  Btn_Deselect = Named(new QPushButton(QStringLiteral("▲"), box), "Btn_Deselect");
  buttons->addWidget(Btn_Select);
  buttons->addWidget(new QLabel(QStringLiteral("Selected"), box), 1, Qt::AlignCenter);
  buttons->addWidget(Btn_Deselect);
  column->addWidget(Lvw_AvailOptions, 1);
  column->addLayout(buttons);
  column->addWidget(Lvw_UsedOptions, 1);
  Btn_Select->setEnabled(false);
  Btn_Deselect->setEnabled(false);
  connect(Btn_Select, &QPushButton::clicked, this, [this] { Btn_SelectClick(); });
  connect(Btn_Deselect, &QPushButton::clicked, this, [this] { Btn_DeselectClick(); });
  connect(Lvw_AvailOptions, &QTreeWidget::itemDoubleClicked, this, [this] { Btn_SelectClick(); });
  connect(Lvw_UsedOptions, &QTreeWidget::itemDoubleClicked, this, [this] { Btn_DeselectClick(); });
  connect(Lvw_AvailOptions, &QTreeWidget::itemSelectionChanged, this,
          [this] { Btn_Select->setEnabled(!Lvw_AvailOptions->selectedItems().isEmpty()); });
  connect(Lvw_UsedOptions, &QTreeWidget::itemSelectionChanged, this,
          [this] { Btn_Deselect->setEnabled(!Lvw_UsedOptions->selectedItems().isEmpty()); });
}
