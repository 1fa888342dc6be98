#pragma once
// TFrm_UnitTextScroll: the numeric input of every value of the window: a
// unit label, an edit box and a scroll bar. The value is held in v_position:
// the value in the display unit in effect times the resolution, a whole
// number clamped to the range; the text and the scroll bar are views of it.
// So a value is stored rounded to the field's resolution, halves to even
// (6.25 at resolution 10 is 6.2). Ranges and defaults are given in the base
// unit of the dimension.
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
  // and keeps the position.
  void EnableIt(bool bEnable);
  // Shows the unit in effect and, when it changed, rebuilds the range.
  void ConvertUnit();
  double GetVal() const;
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
  void ShowValue();
  // Stores a position (clamped to the range) and shows it.
  void SetPosition(double nPosition);
  // Commits the typed text: empty counts as 0; rounded and clamped.
  void CommitText();
  double DisplayFromBase(double nBase) const;
  double BaseFromDisplay(double nDisplay) const;

  QLabel* Lbl_Dimension;
  QLineEdit* Txt_Value;
  QScrollBar* Scrl_Value;

  std::function<void()> v_HandleChanges;
  U_RepUnit v_Unit = U_None;
  int v_Min = 0, v_Max = 0, v_Resolution = 1, v_InitVal = 0, v_CurrIndex = 0;
  // The value: display value x resolution, within v_lowest..v_highest.
  int v_position = 0, v_lowest = 0, v_highest = 0;
  bool v_typed = false;  // the user changed the text since it was last shown
};
