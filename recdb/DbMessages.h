#pragma once
// The database texts, message numbers 5000 to 5021.

#include <QString>

class CTDbMessages {
 public:
  static constexpr int kFirst = 5000;
  static constexpr int kLast = 5021;
  static constexpr int kVerifying = 5000;
  static constexpr int kRangeCheck = 5011;
  static constexpr int kValueRequired = 5012;
  static constexpr int kMustBeUnique = 5013;
  static constexpr int kNotOdbc = 5007;
  static constexpr int kInvalidStructure = 5004;
  static constexpr int kIncorrectVersion = 5014;

  static QString Text(int nMsgNr);
  // Registers the texts with the message service; later calls do nothing.
  static void Load();
};
