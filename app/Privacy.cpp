#include "app/Privacy.h"

#include "docs/ConditionsDocument.h"
#include "i18n/BaseMsgMan.h"
#include "online/PrivacyNotice.h"

TFrm_Privacy::TFrm_Privacy(QWidget* pOwner, const QString& szTitle)
    : TFrmConditions(pOwner,
                     {"TFrm_Privacy", "Txt_Notice", TBaseMsg::Tr(QStringLiteral("Notice")),
                      TBaseMsg::Tr(QStringLiteral("NOTICE ON DATA PROCESSING")), 620, 430},
                     [szTitle](const LTDocFont& normal) { return Document(szTitle, normal); }) {}

QByteArray TFrm_Privacy::Document(const QString& szTitle, const LTDocFont& normalFont) {
  return CTConditionsDocument::Rtf(CTPrivacyNotice::Text(szTitle), szTitle, CTConditionsDocument::kA4Portrait,
                                   normalFont);
}

int TFrm_Privacy::Execute(QWidget* pOwner, const QString& szTitle) {
  TFrm_Privacy dialog(pOwner, szTitle);
  return dialog.Execute();
}
