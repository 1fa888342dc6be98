#include "catalogue/OptionTypes.h"

#include "i18n/BaseMsgMan.h"

namespace {

struct TypeName {
  int type;
  const char* name;
};

// 6, 9 and 17 name a box, a board and a feature of the maker's own range.
constexpr TypeName kTypes[] = {
    {0, "Other"},
    {1, "Remote controller"},
    {2, "Remote controller - wireless"},
    {3, "Remote sensor"},
    {4, "Electric heater"},
    {5, "Drain pump"},
    {6, "Valve kit box"},
    {7, "Electronic circuit"},
    {8, "Filter"},
    {9, "Adaptor board"},
    {10, "Decoration panel"},
    {11, "Central option board"},
    {12, "Close piping kit"},
    {13, "Joint for connecting to 2 ports"},
    {14, "RS232-C option board"},
    {15, "RS485 option board"},
    {16, "Alternate ports"},
    {17, "Shared power supply"},
    {18, "BACNet extension"},
    {19, "Piping"},
    {20, "Strainer"},
    {21, "Height difference"},
    {22, "Function unit"},
    {23, "Condenser"},
    {24, "Control box"},
    {25, "Serpentine heat exchanger"},
    {26, "DX-coil"},
    {27, "High efficiency filter"},
    {28, "Plenum"},
    {29, "Remote controller - wifi"},
    {101, "Gas boiler"},
    {102, "Wiring center"},
    {103, "UK tank kit"},
};

}  // namespace

QString TFrm_TrivaneOptionTypes::OptionTypeString(int nOptType, bool& bIsValidType) {
  for (const TypeName& t : kTypes)
    if (t.type == nOptType) {
      bIsValidType = true;
      return TBaseMsg::Tr(QString::fromLatin1(t.name));
    }
  bIsValidType = false;
  return QStringLiteral("Unknown option type (%1)").arg(nOptType);
}

QString TFrm_TrivaneOptionTypes::OptionTypeString(int nOptType) {
  bool bIsValidType = false;
  return OptionTypeString(nOptType, bIsValidType);
}
