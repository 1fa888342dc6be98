// The options box of the Results tab: a form over the option selection of
// the selection library.

#include "app/DlgSelect.h"
#include "i18n/BaseMsgMan.h"

#include <QPushButton>
#include <QTreeWidget>

namespace {

constexpr int kMsgStandardOption = 66;

void FitColumns(QTreeWidget* view) {
  for (int i = 0; i < view->columnCount(); ++i) view->resizeColumnToContents(i);
}

// The row of v_optionRows that a list item stands for.
int RowIndex(const QTreeWidget* view) {
  const QTreeWidgetItem* item = view->currentItem();
  return item ? item->data(0, Qt::UserRole).toInt() : -1;
}

}  // namespace

void TDlgSelect::FillOptions() {
  v_optionRows.clear();
  if (v_currHRX) {
    // A run made a new record of the unit: the choice made on it comes back.
    v_optionChoices.Give(*v_currHRX);
    v_optionRows = CTOptionSelection::FillOptions(*v_currHRX, LTOptionInputs::Of(CurrentRequest()));
  }
  ShowOptionRows();
}

void TDlgSelect::ShowOptionRows() {
  for (QTreeWidget* view : {Lvw_AvailOptions, Lvw_UsedOptions}) {
    const QSignalBlocker block(view);
    view->setUpdatesEnabled(false);
    view->clear();
  }
  for (int i = 0; i < v_optionRows.size(); ++i) {
    const LTOptionRow& row = v_optionRows[i];
    auto* item = row.used ? new QTreeWidgetItem(Lvw_UsedOptions, {row.name, QString::number(row.count), row.typeName})
                          : new QTreeWidgetItem(Lvw_AvailOptions, {row.name, row.typeName});
    item->setData(0, Qt::UserRole, i);
  }
  for (QTreeWidget* view : {Lvw_AvailOptions, Lvw_UsedOptions}) {
    FitColumns(view);
    view->setUpdatesEnabled(true);
  }
  Btn_Select->setEnabled(false);
  Btn_Deselect->setEnabled(false);
}

void TDlgSelect::Btn_SelectClick() {
  const int index = RowIndex(Lvw_AvailOptions);
  if (!v_currHRX || index < 0) return;
  CTOptionSelection::Select(*v_currHRX, v_optionRows, index);
  v_optionChoices.Keep(*v_currHRX);
  ShowOptionRows();
}

void TDlgSelect::Btn_DeselectClick() {
  const int index = RowIndex(Lvw_UsedOptions);
  if (!v_currHRX || index < 0) return;
  if (!CTOptionSelection::Deselect(*v_currHRX, v_optionRows, index)) {
    TBaseMsg::DisplayError(this, kMsgStandardOption);
    return;
  }
  v_optionChoices.Keep(*v_currHRX);
  ShowOptionRows();
}
