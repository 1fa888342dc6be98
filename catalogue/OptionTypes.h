#pragma once
// The names of the option types of the catalogue (Cls_DeviceOption::GetType).

#include <QString>

class TFrm_TrivaneOptionTypes {
 public:
  // The type's name; "Unknown option type (n)" with bIsValidType false for
  // a number outside the table.
  static QString OptionTypeString(int nOptType, bool& bIsValidType);
  static QString OptionTypeString(int nOptType);
};
