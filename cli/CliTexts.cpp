// Every literal of this file is a text aerolith-cli shows: the glossary tool
// reads them all as terms. Keep other literals out.

#include "cli/CliTexts.h"

#include "i18n/BaseMsgMan.h"

#include <iterator>

namespace {

const char* const kTexts[] = {
    "Units: SI (%1)",
    "Units: imperial (%1)",
    "Units: as in the preferences (%1)",
    "Candidates (%1, supply %2 at %3, exhaust %4 at %5):",
    "Model",
    "Supply",
    "Extract",
    "Supply margin",
    "Exhaust margin",
    "Plenum",
    "Additional resistance",
    "Supply side",
    "Exhaust side",
    "Fan power",
    "Specific fan power",
    "%1 kW/(m³/s), class SFP %2",
    "Cooling",
    "Heating",
    "computed",
    "not computed",
    "code %1: %2",
    "State",
    "Dry bulb",
    "Wet bulb",
    "Rel. humidity",
    "Abs. humidity",
    "Enthalpy",
    "Room Air (RA)",
    "Outdoor Air (OA)",
    "Exhaust Air (EA)",
    "Supply Air (SA)",
    "Ventilation In (VI)",
    "Ventilation Out (VO)",
    "Coil In (CI)",
    "Humidifier In (HI)",
    "Temperature exchange efficiency",
    "Enthalpy exchange efficiency",
    "Total cooling capacity",
    "Sensible cooling capacity",
    "Heating capacity",
    "Humidification amount",
    "Switch on inlet heater above",
    "Switch on inlet heater below",
    "Inlet heater (user settings)",
    "Inlet heater (calculated minimum)",
    "Supply heater (user settings)",
    "Supply heater (calculated minimum)",
    "Latent heat savings",
    "Sensible heat savings",
    "Total heat savings",
    "%1 (family %2, ESP up to %3)",
    "unknown argument '%1'",
    "%1 needs a value",
    "%1 is given twice",
    "%1: '%2' is not a number",
    "%1 must be between %2 and %3",
    "%1 for the %2 family",
    "%1 must be %2 or %3",
    "%1 wants T,RH such as 26,50 or T,wbX such as 27,wb19",
    "%1: the temperature must be between %2 and %3",
    "%1: the wet bulb must be between %2 and %3",
    "%1: the relative humidity must be between %2 and %3",
    "%1 applies to the %2 family only",
    "the project's family %1 has no units in this catalogue",
    "unknown family '%1' (families: %2)",
    "unknown speed '%1'",
    "'%1' is not among the candidates",
    "%1 offers no heater option '%2' (options: %3)",
    "%1 offers no heater options",
    "usage: %1",
    "usage: %1; see %2",
    "the chart is %1 or %2",
    "%1 is required",
    "%1 or %2 is required",
    "%1 must be WxH between %2 and %3",
    "%1: %2 chart of %3",
    "no unit",
    "%1: material list of %2",
    "%1: report of %2",
};
// One text per CTCliTexts::Text, in its order.
static_assert(std::size(kTexts) == CTCliTexts::kTextCount);

}  // namespace

QString CTCliTexts::Get(Text nText) { return TBaseMsg::Tr(kTexts[nText]); }
