#pragma once
// Shows the message service's dialogs as Qt dialogs, modal to the form that
// owns the caller.

#include "i18n/BaseMsgMan.h"

class QWidget;

class CTQtMessagePresenter final : public IMessagePresenter {
 public:
  int ShowMessage(const CTMessageRequest& request) override;
  bool EditString(const CTMessageRequest& request, QString& szEditedValue) override;

  // The first window found walking up pParent's owners, else the active window.
  static QWidget* OwnerForm(QObject* pParent);
};
