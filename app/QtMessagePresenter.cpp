#include "app/QtMessagePresenter.h"

#include "app/BaseMsgDialog.h"

#include <QApplication>
#include <QEventLoop>
#include <QWidget>

QWidget* CTQtMessagePresenter::OwnerForm(QObject* pParent) {
  for (QObject* o = pParent; o; o = o->parent())
    if (auto* w = qobject_cast<QWidget*>(o)) return w->window();
  return QApplication::activeWindow();
}

// What waits is painted before the box opens; a later start's file is not
// taken here, inside whatever command shows the message (socket notifiers
// wait for the main loop).
constexpr QEventLoop::ProcessEventsFlags kBeforeABox = QEventLoop::ExcludeSocketNotifiers;

int CTQtMessagePresenter::ShowMessage(const CTMessageRequest& request) {
  QApplication::processEvents(kBeforeABox);
  TBaseMsgDialog dialog(request, OwnerForm(request.pParent));
  return dialog.exec();
}

bool CTQtMessagePresenter::EditString(const CTMessageRequest& request, QString& szEditedValue) {
  QApplication::processEvents(kBeforeABox);
  TBaseMsgDialog dialog(request, OwnerForm(request.pParent));
  if (dialog.exec() != mrOk) return false;
  szEditedValue = dialog.EditedText();
  return true;
}
