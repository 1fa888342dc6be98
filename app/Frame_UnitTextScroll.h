#pragma once
// TFrm_UnitTextScroll: the numeric input of every value of the window: a
// unit label, an edit box and a scroll bar. The value is held in v_value, in
// the base unit of the dimension (SI), exactly as it was typed or set and
// within the range; the text and the scroll bar are views of it in the
// display unit in effect, rounded to the field's resolution (halves to
// even). A change of display unit only shows the value again: it never
// rounds or converts what the field holds, so a value changes only when the
// user types one or the program sets one. Ranges and defaults are given in
// the base unit.
//
// Typing commits the number shown rounded to the resolution (clamped to the
// range); typing the text that is already shown keeps the value held.
//
// Only the user runs the change callback: leaving the edit box after typing,
// or moving the scroll bar. Values set by the program never do.

#include "catalogue/Sentinels.h"
#include "psychro/SI_Units.h"

#include <QWidget>

#include <functional>

class QLabel;
class QLineEdit;
class QScrollBar;

class TFrm_UnitTextScroll : public QWidget {
  Q_OBJECT
 public:
  static constexpr double kNotGiven = Sentinel::kNotGiven;

  explicit TFrm_UnitTextScroll(QWidget* pParent = nullptr);

  // Resolution: positions per base unit (1, 10, 100 or 1000).
  void SetupWindow(std::function<void()> HandleChanges, U_RepUnit TheUnit, int Min, int Max, int InitVal,
                   int Resolution);
  void SetDim(const QString& szText);
  // Enabling also sets the value to the default; disabling blanks the text
  // and keeps the value.
  void EnableIt(bool bEnable);
  // Shows the unit in effect and the value in it; the value stays.
  void ConvertUnit();
  // The value held, in the base unit.
  double GetVal() const;
  // Holds nValue (base unit) as it is, bounded by the range; the sentinel
  // of a value not given changes nothing.
  void SetVal(double nValue);
  int GetMinVal() const { return v_Min; }
  int GetMaxVal() const { return v_Max; }
  int GetResolution() const { return v_Resolution; }
  void ClearVal();
  // The edit text ("0" when empty) followed by the unit label.
  QString GetString() const;

  QLineEdit* Edit() const { return Txt_Value; }
  QScrollBar* ScrollBar() const { return Scrl_Value; }

 protected:
  bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

 private:
  // Shows v_value in the text and the scroll bar.
  void ShowValue();
  // Where v_value shows: its display value times the resolution, rounded,
  // within v_lowest..v_highest.
  int Position() const;
  // The value a position of the display unit stands for, in the range.
  double ValueAt(int nPosition) const;
  // The scroll range for the display unit in effect.
  void UpdateRange();
  // Commits the typed text: empty counts as 0; rounded and clamped.
  void CommitText();
  double DisplayFromBase(double nBase) const;
  double BaseFromDisplay(double nDisplay) const;

  QLabel* Lbl_Dimension;
  QLineEdit* Txt_Value;
  QScrollBar* Scrl_Value;

  std::function<void()> v_HandleChanges;
  U_RepUnit v_Unit = U_None;
  int v_Min = 0, v_Max = 0, v_Resolution = 1, v_InitVal = 0;
  // The value in the base unit, within v_Min..v_Max.
  double v_value = 0;
  // The scroll range: the range in the display unit times the resolution.
  int v_lowest = 0, v_highest = 0;
  bool v_typed = false;  // the user changed the text since it was last shown
};
