#pragma once
// TFrm_Disclaimer: the conditions of use (CTGeneralTerms) in a read-only
// view, a choice between accepting and not accepting them, and Continue,
// which becomes available once a choice is made. However the dialog closes,
// it answers the choice: 1 when the conditions were accepted, 2 otherwise
// (no choice made included).

#include "app/BasicDlg.h"

class QPushButton;
class QRadioButton;
class QTextEdit;

class TFrm_Disclaimer : public TBasicDialog {
  Q_OBJECT
 public:
  static constexpr int kAccepted = 1;
  static constexpr int kNotAccepted = 2;

  TFrm_Disclaimer(QWidget* pOwner, const QString& szTitle);

  // Shows the conditions modally over pOwner and answers kAccepted or
  // kNotAccepted.
  static int Execute(QWidget* pOwner, const QString& szTitle);
  using TBasicDialog::Execute;

  void Btn_ContinueClick() { DoCloseWindow(Answer()); }
  // The close box and Escape answer the choice as Continue does.
  void reject() override { DoCloseWindow(Answer()); }

 protected:
  void UpdateControls() override;

 private:
  int Answer() const;

  QTextEdit* Txt_Terms = nullptr;
  QRadioButton *RB_Accept = nullptr, *RB_Decline = nullptr;
  QPushButton* Btn_Continue = nullptr;
};
