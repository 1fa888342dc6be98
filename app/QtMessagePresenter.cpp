#include "app/QtMessagePresenter.h"

#include "app/BaseMsgDialog.h"

#include <QApplication>
#include <QWidget>

QWidget* CTQtMessagePresenter::OwnerForm(QObject* pParent) {
  for (QObject* o = pParent; o; o = o->parent())
    if (auto* w = qobject_cast<QWidget*>(o)) return w->window();
  return QApplication::activeWindow();
}

int CTQtMessagePresenter::ShowMessage(const CTMessageRequest& request) {
  QApplication::processEvents();
  TBaseMsgDialog dialog(request, OwnerForm(request.pParent));
  return dialog.exec();
}

bool CTQtMessagePresenter::EditString(const CTMessageRequest& request, QString& szEditedValue) {
  QApplication::processEvents();
  TBaseMsgDialog dialog(request, OwnerForm(request.pParent));
  if (dialog.exec() != mrOk) return false;
  szEditedValue = dialog.EditedText();
  return true;
}
