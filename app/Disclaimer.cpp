#include "app/Disclaimer.h"

#include "app/ApplicationUtils.h"
#include "docs/GeneralTerms.h"

TFrm_Disclaimer::TFrm_Disclaimer(QWidget* pOwner, const QString& szTitle)
    : TFrmConditions(pOwner, {"TFrm_Disclaimer", "Txt_Terms", szTitle, QString(), 720, 520},
                     [](const LTDocFont& normal) { return CTGeneralTerms::Rtf(ApplicationUtils::Title(), normal); }) {}

int TFrm_Disclaimer::Execute(QWidget* pOwner, const QString& szTitle) {
  TFrm_Disclaimer dialog(pOwner, szTitle);
  return dialog.Execute();
}
