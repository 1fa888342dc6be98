#pragma once
// TFrm_Privacy: "Notice": the notice on data processing (CTPrivacyNotice)
// in a read-only view, a choice between accepting and not accepting it, and
// Continue, which becomes available once a choice is made. The upgrade
// window shows it before a download whose report goes to the server. However
// the dialog closes, it answers the choice: 1 when the notice was accepted,
// 2 otherwise (no choice made included).

#include "app/BasicDlg.h"

class QLabel;
class QPushButton;
class QRadioButton;
class QTextEdit;

class TFrm_Privacy : public TBasicDialog {
  Q_OBJECT
 public:
  static constexpr int kAccepted = 1;
  static constexpr int kNotAccepted = 2;

  TFrm_Privacy(QWidget* pOwner, const QString& szTitle);

  // Shows the notice modally over pOwner and answers kAccepted or
  // kNotAccepted; szTitle is the program's name the notice speaks of.
  static int Execute(QWidget* pOwner, const QString& szTitle);
  using TBasicDialog::Execute;

  void Btn_ContinueClick() { DoCloseWindow(Answer()); }
  // The close box and Escape answer the choice as Continue does.
  void reject() override { DoCloseWindow(Answer()); }

 protected:
  void UpdateControls() override;

 private:
  int Answer() const;

  QLabel* Lbl_PageCaption = nullptr;
  QTextEdit* Txt_Notice = nullptr;
  QRadioButton *RB_Accept = nullptr, *RB_Decline = nullptr;
  QPushButton* Btn_Continue = nullptr;
};
