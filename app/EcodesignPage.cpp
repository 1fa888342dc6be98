// The Ecodesign and Sound tab: the current unit under Regulation (EU)
// 1253/2014 (the two verdicts and the information sheet) and its sound at
// the operating point (the five paths' octave bands as a table and a bar
// chart, and the level in the room at the distance and room constant given
// here). Every text comes from the selection library's ecodesign texts and
// the report's sound table; the tab only lays them out. It is filled when
// shown, so that a run costs nothing more while it is hidden.

#include "app/BarChartBox.h"
#include "app/DlgSelect.h"
#include "app/Frame_UnitTextScroll.h"
#include "app/ValueText.h"
#include "charts/ChartSetup.h"
#include "docs/Report.h"
#include "selection/Ecodesign.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

// A requirement the unit fails, in red and bold.
const QColor kFailingColor(0xC0, 0, 0);

// Sheet rows wrap: their values are sentences.
QTreeWidget* NewList(QWidget* pParent, const char* szName, const QStringList& headers) {
  QTreeWidget* list = ValueText::NewValueList(pParent, QString::fromLatin1(szName), headers);
  list->setWordWrap(true);
  return list;
}

void FillRows(QTreeWidget* pList, const QList<LTSheetRow>& rows) {
  pList->clear();
  for (const LTSheetRow& row : rows) new QTreeWidgetItem(pList, {row.label, row.value});
  pList->resizeColumnToContents(0);
}

}  // namespace

void TDlgSelect::CreateEcodesignPage(QWidget* pPage) {
  auto* columns = new QHBoxLayout(pPage);
  columns->setContentsMargins(4, 4, 4, 4);

  // Left: the regulation.
  auto* left = new QVBoxLayout;
  columns->addLayout(left, 1);
  auto* verdicts = new QGroupBox(QStringLiteral("Requirements of Regulation (EU) 1253/2014"), pPage);
  verdicts->setObjectName(QStringLiteral("Box_EcoVerdicts"));
  Box_EcoVerdicts = verdicts;
  auto* verdictLayout = new QVBoxLayout(verdicts);
  Lvw_EcoVerdicts = NewList(verdicts, "Lvw_EcoVerdicts", {QStringLiteral("Requirement"), QStringLiteral("Verdict")});
  Lvw_EcoVerdicts->setMaximumHeight(Lvw_EcoVerdicts->fontMetrics().height() * 6);
  verdictLayout->addWidget(Lvw_EcoVerdicts);
  left->addWidget(verdicts);
  auto* sheet = new QGroupBox(QStringLiteral("Information sheet"), pPage);
  sheet->setObjectName(QStringLiteral("Box_EcoSheet"));
  auto* sheetLayout = new QVBoxLayout(sheet);
  Lvw_EcoSheet = NewList(sheet, "Lvw_EcoSheet", {QStringLiteral("Item"), QStringLiteral("Value")});
  sheetLayout->addWidget(Lvw_EcoSheet);
  left->addWidget(sheet, 1);

  // Right: the sound.
  auto* right = new QVBoxLayout;
  columns->addLayout(right, 1);
  auto* sound = new QGroupBox(QStringLiteral("Sound power at the operating point"), pPage);
  sound->setObjectName(QStringLiteral("Box_Sound"));
  auto* soundLayout = new QVBoxLayout(sound);
  Lvw_Sound = NewList(sound, "Lvw_Sound", CTReport::SoundTable(LTSound{}).titles);
  Lvw_Sound->setMaximumHeight(Lvw_Sound->fontMetrics().height() * 9);
  soundLayout->addWidget(Lvw_Sound);
  Lbl_NoSound = new QLabel(QStringLiteral("The catalogue has no sound data for this unit."), sound);
  Lbl_NoSound->setObjectName(QStringLiteral("Lbl_NoSound"));
  Lbl_NoSound->hide();
  soundLayout->addWidget(Lbl_NoSound);
  PB_SoundGraph = new TBarChartBox(sound);
  PB_SoundGraph->setObjectName(QStringLiteral("PB_SoundGraph"));
  soundLayout->addWidget(PB_SoundGraph, 1);
  right->addWidget(sound, 1);

  auto* room = new QGroupBox(QStringLiteral("Sound pressure in the room"), pPage);
  room->setObjectName(QStringLiteral("Box_RoomSound"));
  auto* roomLayout = new QGridLayout(room);
  Frm_SoundDistance = new TFrm_UnitTextScroll(room);
  Frm_SoundDistance->setObjectName(QStringLiteral("Frm_SoundDistance"));
  Frm_RoomConstant = new TFrm_UnitTextScroll(room);
  Frm_RoomConstant->setObjectName(QStringLiteral("Frm_RoomConstant"));
  Txt_RoomLpA = ValueText::NewValueLabel(room, QStringLiteral("Txt_RoomLpA"));
  Txt_RoomLpA->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  roomLayout->addWidget(new QLabel(QStringLiteral("Distance from the supply outlet"), room), 0, 0);
  roomLayout->addWidget(Frm_SoundDistance, 0, 1);
  roomLayout->addWidget(new QLabel(QStringLiteral("Room constant"), room), 1, 0);
  roomLayout->addWidget(Frm_RoomConstant, 1, 1);
  roomLayout->addWidget(new QLabel(QStringLiteral("Sound pressure level"), room), 2, 0);
  roomLayout->addWidget(Txt_RoomLpA, 2, 1);
  roomLayout->setColumnStretch(1, 1);
  right->addWidget(room);
}

void TDlgSelect::ClearEcodesign() {
  v_ecodesignStale = false;
  for (QTreeWidget* list : {Lvw_EcoVerdicts, Lvw_EcoSheet, Lvw_Sound}) list->clear();
  Txt_RoomLpA->clear();
  PB_SoundGraph->SetData(std::nullopt);
}

// The tab for the current unit, when it does not show it yet.
void TDlgSelect::FillEcodesign() {
  if (!v_ecodesignStale) return;
  ClearEcodesign();
  const SelectionResult& result = Result();
  if (!result.Current()) return;
  const LTEcodesign& eco = result.ecodesign;

  // A unit the regulation does not cover has no verdicts, only the reason.
  const QList<LTSheetRow> verdicts = CTEcodesign::Verdicts(eco);
  Box_EcoVerdicts->setVisible(!verdicts.isEmpty());
  FillRows(Lvw_EcoVerdicts, verdicts);
  // Verdicts() answers the thermal efficiency, then SFPint.
  const bool failing[] = {!eco.meetsEfficiency, !eco.meetsSfpint};
  for (int i = 0; i < Lvw_EcoVerdicts->topLevelItemCount() && i < int(std::size(failing)); ++i) {
    if (!failing[i]) continue;
    QTreeWidgetItem* row = Lvw_EcoVerdicts->topLevelItem(i);
    QFont bold = row->font(1);
    bold.setBold(true);
    for (const int column : {0, 1}) {
      row->setForeground(column, kFailingColor);
      row->setFont(column, bold);
    }
  }
  FillRows(Lvw_EcoSheet, CTEcodesign::Sheet(eco));

  const LTSound& sound = result.sound;
  for (QWidget* shown : std::initializer_list<QWidget*>{Lvw_Sound, PB_SoundGraph}) shown->setVisible(sound.known);
  Lbl_NoSound->setVisible(!sound.known);
  if (!sound.known) return;
  const LTSoundTable table = CTReport::SoundTable(sound);
  for (const QStringList& cells : table.rows) {
    auto* row = new QTreeWidgetItem(Lvw_Sound, cells);
    for (int column = 1; column < cells.size(); ++column) row->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
  }
  for (int column = 0; column < Lvw_Sound->columnCount(); ++column) Lvw_Sound->resizeColumnToContents(column);
  PB_SoundGraph->SetData(CTChartSetup::SoundChartData(sound));
  Txt_RoomLpA->setText(CTReport::RoomLevelText(sound));
}
