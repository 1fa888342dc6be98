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

// The option row that a list item stands for.
int RowIndex(const QTreeWidget* view) {
  const QTreeWidgetItem* item = view->currentItem();
  return item ? item->data(0, Qt::UserRole).toInt() : -1;
}

}  // namespace

void TDlgSelect::FillOptions() { ShowOptionRows(); }

void TDlgSelect::ShowOptionRows(bool bNone) {
  static const QList<LTOptionRow> kNone;
  const QList<LTOptionRow>& rows = bNone || !v_form ? kNone : v_form->OptionRows();
  for (QTreeWidget* view : {Lvw_AvailOptions, Lvw_UsedOptions}) {
    const QSignalBlocker block(view);
    view->setUpdatesEnabled(false);
    view->clear();
  }
  for (int i = 0; i < rows.size(); ++i) {
    const LTOptionRow& row = rows[i];
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
  if (!CurrentHRX() || index < 0) return;
  v_form->SelectOption(index);
  ShowOptionRows();
}

void TDlgSelect::Btn_DeselectClick() {
  const int index = RowIndex(Lvw_UsedOptions);
  if (!CurrentHRX() || index < 0) return;
  if (!v_form->DeselectOption(index)) {
    TBaseMsg::DisplayError(this, kMsgStandardOption);
    return;
  }
  ShowOptionRows();
}
