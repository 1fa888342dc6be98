#pragma once
// The words for the check codes (CheckCode.h), with the unit's limits as
// their parameters, and for the notes on a mode that falls short. The
// window and aerolith-cli show the same texts.

#include "catalogue/CheckCode.h"

#include <QString>

#include <functional>

class Cls_HRX;

class CTCheckMessages {
 public:
  // Notes on a mode that stands but falls short of what was asked.
  static constexpr int kShortfallMessage = 123;
  static constexpr int kCoolingCoilLimitedMessage = 124;
  static constexpr int kHeatingCoilLimitedMessage = 125;

  // What the computation needs for the parameters of a code. Temperatures
  // are given in degC and formatted by the caller's formatter (the unit in
  // effect); relative humidities are rounded to whole percent, halves to even.
  struct Context {
    const Cls_HRX* unit = nullptr;
    bool upsideDown = false;       // the unit as installed, for the exchanger's limits
    double heatingDischarge = 0;   // degC, for code 17
    double supplyAir = 0;          // m3/h, for code 14
    double exhaustAir = 0;
    double evaporatingC = 0;       // for CheckCode::kNoCoilData
    QString filterText;            // for CheckCode::kNoUnitWithFilter, e.g. "F7 (supply)"
    std::function<QString(double)> formatTemp;  // default: degC with one decimal at most
  };

  // The filters asked for, as the message names them: "F7 supply, F6 exhaust"
  // (classes 0 none, 1 F6, 2 F7, 3 F8).
  static QString FilterText(int nSupplyClass, int nExhaustClass);

  // The message number shown for a code (CheckCode::MessageOf, code 14 by
  // the airflow that causes it); 0 for code 0.
  static int MessageNumber(int nCode, const Context& context);
  // The message with its parameters; empty for code 0.
  static QString Text(int nCode, const Context& context);

  // The supply air reaches only reachedC of the askedC wanted; shortK is
  // the difference, formatted by formatDelta (a temperature difference).
  static QString ShortfallText(double reachedC, double askedC, double shortK, const Context& context,
                               const std::function<QString(double)>& formatDelta);
  // The coil was limited to what its surface allows: in cooling at the
  // evaporating temperature, in heating at its condensing limit.
  static QString CoilLimitedText(bool bCooling, double surfaceC, const Context& context);
};
