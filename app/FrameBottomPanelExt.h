#pragma once
// TFraBottomPanelExt: the bottom bar of a dialog. OK and Cancel at the right
// (OK is the default button) above a status bar whose panel shows the hint of
// the control that has the focus or the pointer. The dialog puts the bar
// last in its layout; OK and Cancel call the dialog's Btn_OKClick and
// Btn_CancelClick (QDialog::accept/reject for a dialog of another kind).
//
// Hints are the widgets' status tips, or else the part of their tool tip
// after "|" (the whole tool tip when it has none). The bar follows the focus
// inside its window by itself; mouse-over needs TBasicDialog::InitMouseHints,
// which TBasicDialog::SetupDialog installs.

#include <QWidget>

class QLabel;
class QPushButton;
class QStatusBar;

class TFraBottomPanelExt : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kHeight = 65;
  static constexpr int kButtonWidth = 88;
  static constexpr int kButtonHeight = 25;
  static constexpr int kStatusBarHeight = 24;

  // Frame of the first status panel.
  enum TPanelBevel { pbNone, pbLowered, pbRaised };

  // Takes the class-level settings made so far; a bar inside a read-only
  // TBasicDialog shows only OK, captioned "&Close".
  explicit TFraBottomPanelExt(QWidget* pParent);

  // Hides Cancel, OK taking its place; with bReplaceCaption OK reads
  // "&Close" with the hint "Close the window".
  void UseOKOnly(bool bReplaceCaption);
  void SetHintPanelIndex(int nIx) { v_hintPanelIndex = nIx; }
  int HintPanelIndex() const { return v_hintPanelIndex; }

  void Btn_OKClick();
  void Btn_CancelClick();

  // Shows the hint of pSender (a widget or an action) in this bar.
  void GlobalOnEnter(QObject* pSender);
  // GlobalOnEnter of the first bottom bar below pForm; nothing without one.
  static void GlobalOnEnterForForm(QWidget* pForm, QObject* pSender);
  // A window or a frame (a plain container) without hint leaves the text; a
  // control or an action shows its long hint; anything else clears it.
  static void DoGlobalOnEnter(QObject* pSender, QStatusBar* pSBar, int nPanelIx);
  // A status bar without panels shows szValue as its message; otherwise it
  // goes into panel nPanelIx when there is one. The panels of a status bar
  // are the QLabels it holds, in the order they were added.
  static void SetHintText(const QString& szValue, QStatusBar* pSBar, int nPanelIx);
  // The long hint of a widget or an action.
  static QString LongHint(const QObject* pObject);

  // Class-level settings, taken by every bar created after they are set.
  static void SetCtlBarSizeGrip(bool b);
  static void SetCtlBarSysFont(bool b);
  static void SetCtlBarBevel(TPanelBevel n);
  // Back to "not set" for all three.
  static void ResetCtlBarSettings();

  QPushButton* OkButton() const { return Btn_OK; }
  QPushButton* CancelButton() const { return Btn_Cancel; }
  QStatusBar* StatusBar() const { return Ctl_StatusBar; }
  // The text shown in the hint panel (or the bar's message without panels).
  QString HintText() const;

 private:
  void ApplyClassSettings();

  QLabel* Lbl_RO = nullptr;
  QWidget* Pnl_Buttons = nullptr;
  QPushButton* Btn_OK = nullptr;
  QPushButton* Btn_Cancel = nullptr;
  QStatusBar* Ctl_StatusBar = nullptr;
  QLabel* Pnl_Hint = nullptr;
  int v_hintPanelIndex = 0;
};
