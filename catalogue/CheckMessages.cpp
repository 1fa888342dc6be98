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
  static const char* const kNames[] = {"", "F6", "F7", "F8"};
  const auto name = [](int nClass) { return QLatin1String(nClass > 0 && nClass <= 3 ? kNames[nClass] : ""); };
  QStringList filters;
  if (nSupplyClass > 0) filters << QStringLiteral("%1 supply").arg(name(nSupplyClass));
  if (nExhaustClass > 0) filters << QStringLiteral("%1 exhaust").arg(name(nExhaustClass));
  return filters.join(QStringLiteral(", "));
}

int CTCheckMessages::MessageNumber(int nCode, const Context& context) {
  switch (nCode) {
    case 0: return 0;
    case Cls_HRX::kSupplyAirflowTooSmall: return 68;
    case Cls_HRX::kSupplyAirflowTooLarge: return 67;
    case Cls_HRX::kExhaustAirflowTooSmall: return 46;
    case Cls_HRX::kExhaustAirflowTooLarge: return 45;
    case Cls_HRX::kSupplyEspTooSmall: return 70;
    case Cls_HRX::kSupplyEspTooLarge: return 69;
    case Cls_HRX::kExhaustEspTooSmall: return 48;
    case Cls_HRX::kExhaustEspTooLarge: return 47;
    case Cls_HRX::kRoomHumidityTooHigh: return 62;
    case Cls_HRX::kOutdoorHumidityTooHigh: return 60;
    case Cls_HRX::kRoomTempOutside: return 61;
    case Cls_HRX::kOutdoorTempTooHigh: return 59;
    case Cls_HRX::kInletTempOutside: return 63;
    case Cls_HRX::kAirflowOutside: {
      // No message of its own: the airflow message that names the cause.
      const Cls_HRX* unit = context.unit;
      if (!unit) return 67;
      if (!(context.supplyAir >= unit->GetMinAirflow())) return 68;
      if (!(context.supplyAir <= unit->GetMaxAirflow())) return 67;
      if (!(context.exhaustAir >= unit->GetMinAirflow())) return 46;
      return 45;
    }
    case Cls_HRX::kCoolCapOutside: return 44;
    case Cls_HRX::kHeatCapOutside: return 49;
    case Cls_HRX::kRoomNotBelowDischarge: return 50;
    case Cls_HRX::kCoolHumidityTooLow: return 53;
    case Cls_HRX::kHeatHumidityTooLow: return 54;
    case Cls_HRX::kInletHeaterTooLarge: return 51;
    case Cls_HRX::kSupplyHeaterTooLarge: return 71;
    case Cls_HRX::kExhaustHumidityTooHigh:
    case Cls_HRX::kOutletHumidityTooHigh: return 65;
    case 22: return 52;
    case Cls_HRX::kNoCoilData: return kNoCoilDataMessage;
    case kNoUnitWithFilter: return kNoUnitWithFilterMessage;
    default: return 72;
  }
}

QString CTCheckMessages::Text(int nCode, const Context& context) {
  const int message = MessageNumber(nCode, context);
  if (message == 0) return QString();
  TDlgForm::Load();
  const auto temp = TempFormat(context);
  const Cls_HRX* unit = context.unit;
  QStringList params;
  switch (nCode) {
    case Cls_HRX::kRoomHumidityTooHigh:
      if (unit) params << Percent(unit->GetRAMaxRH());
      break;
    case Cls_HRX::kOutdoorHumidityTooHigh:
      if (unit) params << Percent(unit->GetOAMaxRH());
      break;
    case Cls_HRX::kRoomTempOutside:
      if (unit) params << temp(unit->GetRAMinTemp()) << temp(unit->GetRAMaxTemp());
      break;
    case Cls_HRX::kOutdoorTempTooHigh:
    case Cls_HRX::kInletTempOutside:
      if (unit) params << temp(unit->GetOAMinTemp()) << temp(unit->GetOAMaxTemp());
      break;
    case Cls_HRX::kRoomNotBelowDischarge:
      params << temp(context.heatingDischarge);
      break;
    case Cls_HRX::kCoolHumidityTooLow:
      if (unit) params << Percent(unit->GetMinCoolRH());
      break;
    case Cls_HRX::kHeatHumidityTooLow:
      if (unit) params << Percent(unit->GetMinHeatRH());
      break;
    case Cls_HRX::kExhaustHumidityTooHigh:
      if (unit) params << Percent(unit->ExhaustRHLimit(context.upsideDown));
      break;
    case Cls_HRX::kOutletHumidityTooHigh:
      if (unit) params << Percent(unit->OutletRHLimit(context.upsideDown));
      break;
    case kNoUnitWithFilter:
      params << context.filterText;
      break;
    case Cls_HRX::kNoCoilData:
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
