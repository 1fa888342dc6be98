#pragma once
// CTCliTexts: the words aerolith-cli writes itself (headings, row labels,
// states, option errors), in English as written, shown in the language of
// the interface glossary that --language loaded (TBaseMsg::Tr: a term with
// exactly one translation is translated, any other stays English).
//
// The texts live in one table in CliTexts.cpp, which holds nothing else, so
// that the glossary tool gathers them as terms of the interface glossary.
// Many are the window's own captions, so the command line and the window
// use the same words. Templates carry %1, %2, ... for QString::arg; a
// translation keeps the same placeholders.
//
// Not here: messages of the message table (TBaseMsg::GetUnicodeString),
// option names and values ("--supply", "cooling"), JSON keys, unit symbols
// and the usage synopsis, which are the same in every language.

#include <QString>

class CTCliTexts {
 public:
  enum Text : int {
    // The units line at the top of a text output; %1: the unit symbols.
    kUnitsSI,
    kUnitsImperial,
    kUnitsPreferences,
    // The candidate list.
    kCandidates,  // %1 family, %2 supply airflow, %3 supply ESP, %4 exhaust airflow, %5 exhaust ESP
    kSupplyCandidates,  // the same for a family without an exhaust fan: %1 family, %2 airflow, %3 ESP
    kModel,
    kSupply,
    kExtract,
    kSupplyMargin,
    kExhaustMargin,
    kPlenum,
    // The computed unit.
    kAdditionalResistance,
    kSupplySide,
    kExhaustSide,
    kFanPower,
    kSpecificFanPower,
    kSfpValue,  // %1 kW/(m3/s), %2 class
    // A mode.
    kCooling,
    kHeating,
    kComputed,
    kNotComputed,
    kCode,  // %1 code, %2 message
    kState,
    kDryBulb,
    kWetBulb,
    kRelativeHumidity,
    kAbsoluteHumidity,
    kEnthalpy,
    kRoomAir,  // the eight states, in the order RA, OA, EA, SA, VI, VO, CI, HI
    kOutdoorAir,
    kExhaustAir,
    kSupplyAir,
    kVentilationIn,
    kVentilationOut,
    kCoilIn,
    kHumidifierIn,
    kTemperatureEfficiency,
    kEnthalpyEfficiency,
    kTotalCoolingCapacity,
    kSensibleCoolingCapacity,
    kHeatingCapacity,
    kHumidificationAmount,
    kSupplyTemperature,
    kInletHeaterAbove,
    kInletHeaterBelow,
    kInletHeaterUser,
    kInletHeaterCalculated,
    kSupplyHeaterUser,
    kSupplyHeaterCalculated,
    kLatentSavings,
    kSensibleSavings,
    kTotalSavings,
    // families
    kFamilyLine,  // %1 name, %2 family number, %3 highest ESP
    // Option errors.
    kUnknownArgument,
    kNeedsValue,
    kGivenTwice,
    kNotANumber,
    kMustBeBetween,
    kForFamily,
    kForUnit,
    kMustBeEither,
    kConditionSyntax,
    kTemperatureBetween,
    kWetBulbBetween,
    kHumidityBetween,
    kFamilyOnly,
    kProjectFamilyMissing,
    kUnknownFamily,
    kUnknownSpeed,
    kNotACandidate,
    kNoSuchHeaterOption,
    kNoHeaterOptions,
    kUsage,
    kUsageSee,
    kChartKinds,
    kRequired,
    kEitherRequired,
    kSizeRange,
    // What a document command wrote.
    kChartWritten,
    kNoUnit,
    kMaterialListWritten,
    kReportWritten,
    kTextCount
  };

  // The text in the language in effect.
  static QString Get(Text nText);
  // The title of state nIndex (0 RA ... 7 HI) in the language in effect.
  static QString StateTitle(int nIndex) { return Get(Text(kRoomAir + nIndex)); }
};
