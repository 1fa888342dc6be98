#pragma once
// TFrm_Disclaimer: the conditions of use (CTGeneralTerms) to accept or
// decline (TFrmConditions), titled with the caller's title.

#include "app/Conditions.h"

class TFrm_Disclaimer : public TFrmConditions {
  Q_OBJECT
 public:
  TFrm_Disclaimer(QWidget* pOwner, const QString& szTitle);

  // Shows the conditions modally over pOwner and answers kAccepted or
  // kNotAccepted.
  static int Execute(QWidget* pOwner, const QString& szTitle);
  using TFrmConditions::Execute;
};
