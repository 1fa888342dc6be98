#include "app/Frame_UnitTextScroll.h"

#include "i18n/BaseMsgMan.h"
#include "psychro/Rounding.h"
#include "selection/InputFields.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

TFrm_UnitTextScroll::TFrm_UnitTextScroll(QWidget* pParent)
    : QWidget(pParent),
      Lbl_Dimension(new QLabel(this)),
      Txt_Value(new QLineEdit(this)),
      Scrl_Value(new QScrollBar(Qt::Horizontal, this)) {
  Lbl_Dimension->setObjectName(QStringLiteral("Lbl_Dimension"));
  Txt_Value->setObjectName(QStringLiteral("Txt_Value"));
  Scrl_Value->setObjectName(QStringLiteral("Scrl_Value"));
  Txt_Value->setMaxLength(6);  // five characters and a sign
  Txt_Value->setAlignment(Qt::AlignRight);
  Txt_Value->setFixedWidth(Txt_Value->fontMetrics().horizontalAdvance(QStringLiteral("-8888.8")) + 12);
  Scrl_Value->setPageStep(10);
  Scrl_Value->setMinimumWidth(60);
  Lbl_Dimension->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  Lbl_Dimension->setMinimumWidth(Lbl_Dimension->fontMetrics().horizontalAdvance(QStringLiteral("BTU/lbs")));
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(4);
  layout->addWidget(Lbl_Dimension);
  layout->addWidget(Txt_Value);
  layout->addWidget(Scrl_Value, 1);
  setFocusProxy(Txt_Value);

  // Typing: filtered to a number text, caret kept.
  connect(Txt_Value, &QLineEdit::textEdited, this, [this](const QString& text) {
    const int caret = Txt_Value->cursorPosition();
    const QString checked = TBaseMsg::CheckNumber(text);
    if (checked != text) {
      Txt_Value->setText(checked);
      Txt_Value->setCursorPosition(std::min(caret, int(checked.size())));
    }
    v_typed = true;
  });
  connect(Txt_Value, &QLineEdit::editingFinished, this, [this] {
    if (!v_typed) return;
    v_typed = false;
    CommitText();
    if (v_HandleChanges) v_HandleChanges();
  });
  // Only the user's moves: actionTriggered fires for drags, clicks and keys,
  // never for setValue.
  connect(Scrl_Value, &QScrollBar::actionTriggered, this, [this](int) {
    QMetaObject::invokeMethod(
        this,
        [this] {
          const int position = Scrl_Value->value();
          if (position != Position()) v_value = ValueAt(position);
          ShowValue();
          if (v_HandleChanges) v_HandleChanges();
        },
        Qt::QueuedConnection);
  });
  Txt_Value->installEventFilter(this);
  Scrl_Value->installEventFilter(this);
}

bool TFrm_UnitTextScroll::eventFilter(QObject* pWatched, QEvent* pEvent) {
  // Enter moves on to the next control and is swallowed.
  if (pEvent->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(pEvent);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
      if (pWatched == Txt_Value && v_typed) {
        v_typed = false;
        CommitText();
        if (v_HandleChanges) v_HandleChanges();
      }
      focusNextChild();
      return true;
    }
  }
  return QWidget::eventFilter(pWatched, pEvent);
}

void TFrm_UnitTextScroll::SetupWindow(std::function<void()> HandleChanges, U_RepUnit TheUnit, int Min, int Max,
                                      int InitVal, int Resolution) {
  v_HandleChanges = std::move(HandleChanges);
  v_Unit = TheUnit;
  v_Min = Min;
  v_Max = std::max(Min, Max);
  v_InitVal = InitVal;
  v_Resolution = Resolution > 0 ? Resolution : 1;
  v_value = std::clamp(double(InitVal), double(v_Min), double(v_Max));
  Txt_Value->setText(QStringLiteral("0"));  // shown by ConvertUnit
  ConvertUnit();
}

void TFrm_UnitTextScroll::SetDim(const QString& szText) { Lbl_Dimension->setText(szText); }

void TFrm_UnitTextScroll::EnableIt(bool bEnable) {
  Lbl_Dimension->setEnabled(bEnable);
  Txt_Value->setEnabled(bEnable);
  Scrl_Value->setEnabled(bEnable);
  if (bEnable) {
    SetVal(v_InitVal);
  } else {
    Txt_Value->clear();
  }
}

double TFrm_UnitTextScroll::DisplayFromBase(double nBase) const {
  if (v_Unit == U_None) return nBase;
  return TU_Form::ConvertValue(nBase, v_Unit, 0, TU_Form::GetNewIndex(v_Unit), true);
}

double TFrm_UnitTextScroll::BaseFromDisplay(double nDisplay) const {
  if (v_Unit == U_None) return nDisplay;
  return TU_Form::ConvertValue(nDisplay, v_Unit, TU_Form::GetNewIndex(v_Unit), 0, true);
}

void TFrm_UnitTextScroll::UpdateRange() {
  // The conversions increase, so the bounds keep their order.
  v_lowest = Rounding::HalfEvenInt(DisplayFromBase(v_Min) * v_Resolution);
  v_highest = std::max(v_lowest, Rounding::HalfEvenInt(DisplayFromBase(v_Max) * v_Resolution));
  const QSignalBlocker block(Scrl_Value);
  Scrl_Value->setRange(v_lowest, v_highest);
}

void TFrm_UnitTextScroll::ConvertUnit() {
  if (v_Unit != U_None) Lbl_Dimension->setText(TU_Form::GetCurrentString(v_Unit));
  UpdateRange();
  // A blanked field (disabled, or cleared) stays blank.
  if (!Txt_Value->text().isEmpty()) return ShowValue();
  const QSignalBlocker block(Scrl_Value);
  Scrl_Value->setValue(Position());
}

int TFrm_UnitTextScroll::Position() const {
  return std::clamp(Rounding::HalfEvenInt(DisplayFromBase(v_value) * v_Resolution), v_lowest, v_highest);
}

double TFrm_UnitTextScroll::ValueAt(int nPosition) const {
  return std::clamp(BaseFromDisplay(double(nPosition) / v_Resolution), double(v_Min), double(v_Max));
}

double TFrm_UnitTextScroll::GetVal() const { return v_value; }

void TFrm_UnitTextScroll::SetVal(double nValue) {
  if (!Sentinel::IsGiven(nValue) || !std::isfinite(nValue)) return;
  v_value = std::clamp(nValue, double(v_Min), double(v_Max));
  ShowValue();
}

void TFrm_UnitTextScroll::ClearVal() {
  v_value = std::clamp(0.0, double(v_Min), double(v_Max));
  const QSignalBlocker block(Scrl_Value);
  Scrl_Value->setValue(Position());
  Txt_Value->clear();
}

QString TFrm_UnitTextScroll::GetString() const {
  const QString text = Txt_Value->text().trimmed();
  return (text.isEmpty() ? QStringLiteral("0") : text) + Lbl_Dimension->text();
}

void TFrm_UnitTextScroll::ShowValue() {
  const int position = Position();
  {
    const QSignalBlocker block(Scrl_Value);
    Scrl_Value->setValue(position);
  }
  if (v_Resolution == 1) {
    Txt_Value->setText(QString::number(position));
  } else {
    Txt_Value->setText(TBaseMsg::FormatShown(double(position) / v_Resolution, CTInputFields::Digits(v_Resolution)));
  }
  v_typed = false;
}

void TFrm_UnitTextScroll::CommitText() {
  const QString text = Txt_Value->text().trimmed();
  double number = 0;
  if (!text.isEmpty() && !TBaseMsg::TryParseNumber(text, number)) number = 0;
  const double wanted = Rounding::HalfEven(number * v_Resolution);
  const int position = std::isnan(wanted) ? v_lowest : int(std::clamp(wanted, double(v_lowest), double(v_highest)));
  // The text already shown, typed again, is the value held: it stays as it
  // was given, not as the display unit rounds it.
  if (position != Position()) v_value = ValueAt(position);
  ShowValue();
}
