#pragma once
// TFrm_Privacy: "Notice": the notice on data processing (CTPrivacyNotice)
// to accept or decline (TFrmConditions). The upgrade window shows it before
// a download whose report goes to the server.

#include "app/Conditions.h"

class TFrm_Privacy : public TFrmConditions {
  Q_OBJECT
 public:
  // szTitle is the program's name the notice speaks of.
  TFrm_Privacy(QWidget* pOwner, const QString& szTitle);

  // Shows the notice modally over pOwner and answers kAccepted or
  // kNotAccepted.
  static int Execute(QWidget* pOwner, const QString& szTitle);
  using TFrmConditions::Execute;

  // The notice the view shows, as RTF: the text of CTPrivacyNotice on an A4
  // page with 1.5 cm margins, in normalFont.
  static QByteArray Document(const QString& szTitle, const LTDocFont& normalFont = LTDocFont());
};
