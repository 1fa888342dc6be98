// Messages would wait for an answer; a benchmark has nobody to give one.
#pragma once

#include "i18n/BaseMsgMan.h"

class SilentPresenter : public IMessagePresenter {
 public:
  int ShowMessage(const CTMessageRequest&) override { return mrOk; }
  bool EditString(const CTMessageRequest&, QString&) override { return false; }
};
