#include "catalogue/CheckMessages.h"

#include "catalogue/ClHRX.h"
#include "i18n/BaseMsgMan.h"
#include "i18n/MsgMan.h"

#include <cmath>

namespace {

QString DefaultTemp(double t) {
  QString text = TBaseMsg::FormatShown(t, 1);
  if (text.endsWith(QLatin1String(".0"))) text.chop(2);
  return text;
}

std::function<QString(double)> TempFormat(const CTCheckMessages::Context& context) {
  return context.formatTemp ? context.formatTemp : std::function<QString(double)>(DefaultTemp);
}

QString Percent(double rh) { return TBaseMsg::FormatShown(rh, 0); }

}  // namespace

QString CTCheckMessages::FilterText(int nSupplyClass, int nExhaustClass) {
  const auto name = &Cls_HRX::FilterClassName;
  QStringList filters;
  if (nSupplyClass > 0) filters << QStringLiteral("%1 supply").arg(name(nSupplyClass));
  if (nExhaustClass > 0) filters << QStringLiteral("%1 exhaust").arg(name(nExhaustClass));
  return filters.join(QStringLiteral(", "));
}

int CTCheckMessages::MessageNumber(int nCode, const Context& context) {
  const Cls_HRX* unit = context.unit;
  if (nCode != CheckCode::kAirflowOutside || !unit) return CheckCode::MessageOf(nCode);
  // No message of its own: the airflow message that names the cause.
  if (!(context.supplyAir >= unit->GetMinAirflow())) return CheckCode::MessageOf(CheckCode::kSupplyAirflowTooSmall);
  if (!(context.supplyAir <= unit->GetMaxAirflow())) return CheckCode::MessageOf(CheckCode::kSupplyAirflowTooLarge);
  if (!(context.exhaustAir >= unit->GetMinAirflow())) return CheckCode::MessageOf(CheckCode::kExhaustAirflowTooSmall);
  return CheckCode::MessageOf(CheckCode::kExhaustAirflowTooLarge);
}

QString CTCheckMessages::Text(int nCode, const Context& context) {
  const int message = MessageNumber(nCode, context);
  if (message == 0) return QString();
  TDlgForm::Load();
  const auto temp = TempFormat(context);
  const Cls_HRX* unit = context.unit;
  QStringList params;
  switch (nCode) {
    case CheckCode::kRoomHumidityTooHigh:
      if (unit) params << Percent(unit->GetRAMaxRH());
      break;
    case CheckCode::kOutdoorHumidityTooHigh:
      if (unit) params << Percent(unit->GetOAMaxRH());
      break;
    case CheckCode::kRoomTempOutside:
      if (unit) params << temp(unit->GetRAMinTemp()) << temp(unit->GetRAMaxTemp());
      break;
    case CheckCode::kOutdoorTempTooHigh:
    case CheckCode::kInletTempOutside:
      if (unit) params << temp(unit->GetOAMinTemp()) << temp(unit->GetOAMaxTemp());
      break;
    case CheckCode::kRoomNotBelowDischarge:
      params << temp(context.heatingDischarge);
      break;
    case CheckCode::kCoolHumidityTooLow:
      if (unit) params << Percent(unit->GetMinCoolRH());
      break;
    case CheckCode::kHeatHumidityTooLow:
      if (unit) params << Percent(unit->GetMinHeatRH());
      break;
    case CheckCode::kExhaustHumidityTooHigh:
      if (unit) params << Percent(unit->ExhaustRHLimit(context.upsideDown));
      break;
    case CheckCode::kOutletHumidityTooHigh:
      if (unit) params << Percent(unit->OutletRHLimit(context.upsideDown));
      break;
    case CheckCode::kNoUnitWithFilter:
      params << context.filterText;
      break;
    case CheckCode::kNoCoilData:
      params << temp(context.evaporatingC);
      break;
    default:
      break;
  }
  return TBaseMsg::GetUnicodeString(message, params);
}

QString CTCheckMessages::ShortfallText(double reachedC, double askedC, double shortK, const Context& context,
                                      const std::function<QString(double)>& formatDelta) {
  TDlgForm::Load();
  const auto temp = TempFormat(context);
  return TBaseMsg::GetUnicodeString(kShortfallMessage, {temp(reachedC), temp(askedC), formatDelta(shortK)});
}

QString CTCheckMessages::CoilLimitedText(bool bCooling, double surfaceC, const Context& context) {
  TDlgForm::Load();
  const auto temp = TempFormat(context);
  return TBaseMsg::GetUnicodeString(bCooling ? kCoolingCoilLimitedMessage : kHeatingCoilLimitedMessage,
                                    {temp(surfaceC)});
}
