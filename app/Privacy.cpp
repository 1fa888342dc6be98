#include "app/Privacy.h"

#include "i18n/BaseMsgMan.h"
#include "online/PrivacyNotice.h"

TFrm_Privacy::TFrm_Privacy(QWidget* pOwner, const QString& szTitle)
    : TFrmConditions(pOwner,
                     {"TFrm_Privacy", "Txt_Notice", TBaseMsg::Tr(QStringLiteral("Notice")),
                      TBaseMsg::Tr(QStringLiteral("NOTICE ON DATA PROCESSING")), 620, 430},
                     [szTitle](const LTDocFont& normal) { return CTPrivacyNotice::Rtf(szTitle, normal); }) {}

int TFrm_Privacy::Execute(QWidget* pOwner, const QString& szTitle) {
  TFrm_Privacy dialog(pOwner, szTitle);
  return dialog.Execute();
}
