#pragma once
// TFrmConditions: conditions the user accepts or declines before going on:
// a read-only rich text (in the view's own font), the choice between "I
// accept these conditions" and "I do not accept these conditions", and
// Continue, which becomes available once a choice is made. However the
// dialog closes, it answers the choice: 1 accepted, 2 otherwise (no choice
// made included). The general terms (TFrm_Disclaimer) and the notice on
// data processing (TFrm_Privacy) are two of these.

#include "app/BasicDlg.h"
#include "docs/RTFOutput.h"

#include <QByteArray>

#include <functional>

class QLabel;
class QPushButton;
class QRadioButton;
class QTextEdit;

class TFrmConditions : public TBasicDialog {
  Q_OBJECT
 public:
  static constexpr int kAccepted = 1;
  static constexpr int kNotAccepted = 2;

  // The text as RTF, written in the view's font.
  using TDocument = std::function<QByteArray(const LTDocFont& normal)>;
  struct LTLayout {
    const char* szObjectName;
    const char* szTextName;  // the text view's object name
    QString szTitle;
    QString szPageCaption;  // a bold line above the text; none when empty
    int nDesignWidth, nDesignHeight;  // pixels at 96 dpi
  };

  TFrmConditions(QWidget* pOwner, const LTLayout& layout, const TDocument& fnDocument);
  using TBasicDialog::Execute;

  void Btn_ContinueClick() { DoCloseWindow(Answer()); }
  // The close box and Escape answer the choice as Continue does.
  void reject() override { DoCloseWindow(Answer()); }

 protected:
  void UpdateControls() override;

 private:
  int Answer() const;

  QLabel* Lbl_PageCaption = nullptr;
  QTextEdit* Txt_Text = nullptr;
  QRadioButton *RB_Accept = nullptr, *RB_Decline = nullptr;
  QPushButton* Btn_Continue = nullptr;
};
