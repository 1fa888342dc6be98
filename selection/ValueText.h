#pragma once
// How the program writes a value, on screen and in documents alike:
// converted to the unit in effect, with that unit's display digits,
// followed by the unit string. Independent of the process locale.

#include "i18n/BaseMsgMan.h"
#include "psychro/SI_Units.h"

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
// A power that may be negative (a saving against the heat); empty when not a number.
inline QString SignedPower(double nKW) { return std::isfinite(nKW) ? Dimensioned(nKW, U_Power, false) : QString(); }

inline QString Fixed(double nValue, int nDigits, const QString& szUnit) {
  if (!std::isfinite(nValue)) return QString();
  return TBaseMsg::FormatShown(nValue, nDigits) + QLatin1Char(' ') + szUnit;
}

}  // namespace ValueText
