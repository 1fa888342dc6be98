#pragma once
// How the window writes a value: converted to the unit in effect, with that
// unit's display digits, followed by the unit string.

#include "i18n/BaseMsgMan.h"
#include "psychro/SI_Units.h"

#include <QFont>
#include <QLabel>
#include <QString>

#include <cmath>

namespace ValueText {

inline QString Dimensioned(double nValue, U_RepUnit nUnit, bool bIsAbsoluteValue = true) {
  if (!std::isfinite(nValue)) return QString();
  return TU_Form::PutFmtDimensionedValue(nValue, nUnit, 0, bIsAbsoluteValue).trimmed() + QLatin1Char(' ') +
         TU_Form::GetCurrentString(nUnit);
}

// A power, or nothing when it is not above 0.
inline QString PositivePower(double nKW) { return nKW > 0 ? Dimensioned(nKW, U_Power, false) : QString(); }

inline QString Fixed(double nValue, int nDigits, const QString& szUnit) {
  if (!std::isfinite(nValue)) return QString();
  return TBaseMsg::FormatFixed(nValue, nDigits) + QLatin1Char(' ') + szUnit;
}

// A value label: the window shows computed values in blue.
inline QLabel* NewValueLabel(QWidget* pParent, const QString& szName) {
  auto* label = new QLabel(pParent);
  label->setObjectName(szName);
  label->setStyleSheet(QStringLiteral("color: #0000c0;"));
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("-888.88 BTU/lbs")));
  return label;
}

}  // namespace ValueText
