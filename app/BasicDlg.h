#pragma once
// TBasicDialog: the base of every dialog of the program. It fixes how a
// dialog is set up once its widgets exist, how OK is validated, what a modal
// run answers and how a read-only dialog looks. Its class operations are
// layout helpers that any window uses (the main window as well): list column
// widths, memos fitted to their text, focusing a control behind tab pages,
// fitting a window into the work area, list backgrounds and hints on
// mouse-over.
//
// Writing a dialog:
//
//   class TFrm_Example : public TBasicDialog {
//    public:
//     TFrm_Example(QWidget* pParent, bool bReadOnly) : TBasicDialog(pParent, bReadOnly) {
//       ... build the widgets, TFraBottomPanelExt last in the layout ...
//       Loaded();  // last statement of the most derived constructor
//     }
//    protected:
//     void SetupDialog() override { ...fill the controls...; TBasicDialog::SetupDialog(); }
//     bool ValidateDialog() override { ...check and store the input...; }
//     void UpdateControls() override { ...enable controls...; TBasicDialog::UpdateControls(); }
//   };
//
//   TFrm_Example dialog(this, false);
//   if (dialog.Execute() == 1) ...
//
// A dialog that does not call Loaded() gets it when it is first shown.

#include <QColor>
#include <QDialog>

#include <functional>

class QAbstractScrollArea;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QTextEdit;
class QTreeWidget;

class TBasicDialog : public QDialog {
  Q_OBJECT
 public:
  // Called with every dialog (and the main window) as soon as it has loaded.
  using TLoadedHook = std::function<void(QWidget*)>;
  // Shows the hint of the widget the pointer entered.
  using TMouseHintHandler = std::function<void(QWidget*)>;

  // Result of a dialog closed by Cancel, the close box or Escape.
  static constexpr int kRetCancel = 2;
  static constexpr int kRetOK = 1;

  TBasicDialog(QWidget* pParent, bool bReadOnly);

  // Runs the dialog modally and answers v_retCode: 1 after a validated OK,
  // 2 after Cancel, Escape or the close box, or the code a derived dialog
  // passed to DoCloseWindow. The caller owns the dialog (usually a local).
  int Execute();
  // Closes with nRetCode; OK (1) closes only when ValidateDialog agrees.
  void DoCloseWindow(int nRetCode);
  void Btn_OKClick() { DoCloseWindow(kRetOK); }
  void Btn_CancelClick() { DoCloseWindow(kRetCancel); }

  int RetCode() const { return v_retCode; }
  bool ReadOnly() const { return v_readOnly; }

  // Change handler of numeric edit boxes: when pSender is the edit box that
  // has the focus in its window, its text is reduced to a number
  // (TBaseMsg::CheckNumber) with the caret kept in place.
  static void NrFieldChange(QObject* pSender);
  // Makes pEdit a numeric field: its textEdited runs NrFieldChange.
  static void ConnectNrField(QLineEdit* pEdit);

  // Sets pCtl's enabled state and that of every child below it that is a
  // windowed control; labels and images (QLabel) directly under pCtl follow
  // only with bAlsoNonWinControls, deeper ones never.
  static void EnableWinControl(QWidget* pCtl, bool bEnab, bool bAlsoNonWinControls);

  // Fits every column of a report list to its caption and its widest cell,
  // each limited to nMaxColW pixels unless that is 0. With
  // bCollapseEmptyColumns a column after the first whose cells are all empty
  // gets width 0. The header's stretchLastSection is left as the list has it.
  static void CalculateListColumnWidths(QTreeWidget* pLvw, int nMaxColW, bool bCollapseEmptyColumns);
  // The same at nPixelsPerInch (the pad between text and column edge is
  // narrower from 120 pixels per inch on).
  static void CalculateListColumnWidths(QTreeWidget* pLvw, int nMaxColW, bool bCollapseEmptyColumns,
                                        int nPixelsPerInch);

  // Widens the drop-down list of pCmb to its widest item, without passing
  // the right edge of the window; with bAdaptWidth the box follows.
  static void CalcComboBoxDropdownWidth(QComboBox* pCmb, bool bAdaptWidth);
  // CalcComboBoxDropdownWidth for every combo box of this dialog.
  void CalcComboBoxDropdownWidths();

  // Gives pCtl the focus, bringing the tab pages it lies on to the front.
  // Does nothing when one of those pages has its tab hidden or when the
  // window is not visible.
  static void SafeFocusControl(QWidget* pCtl);

  // Puts szStr into the memo and makes the memo exactly as high as its
  // lines, at most nMaxLines of them; with more, it gets a vertical scroll
  // bar. A memo laid out in its parent's layout takes its parent along.
  static void ShowInMemo(const QString& szStr, QPlainTextEdit* pMemo, int nMaxLines);
  static void ShowInMemo(const QString& szStr, QTextEdit* pMemo, int nMaxLines);

  // Moves (or, when it is larger, shrinks) the window into the work area of
  // the screen nearest its centre.
  static void AdaptFormToAvailableWorkArea(QWidget* pForm);

  // Report lists with a visible header, and list boxes with the default
  // base colour, below pTop get the light blue list background.
  static void AdaptListBackground(QWidget* pTop);
  static QColor ListBackground() { return QColor(247, 249, 255); }

  // The process-wide loaded hook (none: empty function).
  static void SetLoadedHook(TLoadedHook pMtd);
  static void CallLoadedHook(QWidget* pTopControl);

  // Every widget below pTop that can take the focus shows its hint when the
  // pointer enters it, as focusing it does. Without a handler the hint goes
  // to the bottom bar (TFraBottomPanelExt) of the widget's window. Installed
  // again on the same top, the handler is replaced.
  static void InitMouseHints(QWidget* pTop, TMouseHintHandler onEnter = {});

 protected:
  // Finishes loading: runs the loaded hook with the dialog, then SetupDialog.
  // Runs once; the most derived constructor calls it last.
  void Loaded();

  // Fills the controls from the dialog's data; overrides end by calling the
  // base, which marks a read-only dialog, installs mouse hints and runs
  // UpdateControls.
  virtual void SetupDialog();
  // Checks (and stores) the input when OK is pressed; false keeps the
  // dialog open.
  virtual bool ValidateDialog() { return true; }
  // Enables and disables controls from the current input; overrides call
  // the base.
  virtual void UpdateControls() {}

  void showEvent(QShowEvent* event) override;

 private:
  static void ShowInScrollArea(QAbstractScrollArea* pMemo, int nLines, int nMaxLines, int nDocumentMargin);

  int v_retCode = kRetCancel;
  bool v_readOnly = false;
  bool v_loaded = false;
};
