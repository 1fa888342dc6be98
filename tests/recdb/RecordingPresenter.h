#pragma once
// Keeps the texts the message service was asked to show, answering OK.

#include "i18n/BaseMsgMan.h"

class RecordingPresenter : public IMessagePresenter {
 public:
  int ShowMessage(const CTMessageRequest& r) override {
    shown << r.v_text;
    return mrOk;
  }
  bool EditString(const CTMessageRequest&, QString&) override { return false; }
  QStringList shown;
};
