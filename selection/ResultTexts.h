#pragma once
// CTResultTexts: the inputs and results of a selection as the window's
// frames show them, in caption lists for documents: a block's title first,
// then label and value pairs; an empty list for a block that is not shown.
// Values are written in the units in effect.

#include "selection/InputFields.h"
#include "selection/SelectionRequest.h"
#include "selection/SelectionResult.h"

#include <QStringList>

#include <array>

using LTCaptionList = QStringList;

// One condition frame: room air, outdoor air, the discharge setting (fresh-
// air units) and the heaters the user chose (none when all are calculated).
struct LTConditionTexts {
  LTCaptionList room, outdoor, discharge, heaters;
};

// One result frame.
struct LTResultTexts {
  LTCaptionList efficiencies, savings, supplyTemp, humidification, heaters;
  QStringList notes;  // what the mode falls short of, one sentence each
};

// The capacities to be typed into the sibling selection tools (coil and
// fresh-air units only).
struct LTQuilloTexts {
  bool shown = false;
  LTCaptionList cooling, heating;
};

// The eight air states, in the order of the window's point frames.
enum PsychroPoint { kPointRA, kPointOA, kPointEA, kPointSA, kPointVI, kPointVO, kPointCI, kPointHI, kPointCount };

// What a family's unit shows of one mode, in the window, on the command
// line and in the report alike: which of the eight air states and which
// blocks of results.
struct LTFamilyLayout {
  std::array<bool, kPointCount> points{};  // RA OA EA SA VI VO CI HI
  bool efficiencies = false;    // exchange efficiencies
  bool savings = false;         // savings over the exchanger
  bool supplyTemp = false;      // the supply temperature reached (fresh-air units)
  bool humidification = false;  // heating of a coil unit with a humidifier
  bool supplyHeater = false;    // heating of a plain unit
  bool capacities = false;      // the coil's capacities, for the sibling selection tools
  bool sensibleCapacity = false;
};

class CTResultTexts {
 public:
  // The blocks of nFamily: the plain family shows its exchanger, a coil unit
  // its coil in and, heating with a humidifier, the humidifier's inlet, a
  // fresh-air unit the supply temperature it reaches and no exhaust side.
  // The list-only families show what the plain family does but the supply
  // heater, which belongs to the plain family's heating alone.
  static LTFamilyLayout Layout(int nFamily, bool bHasHumidifier, bool bCooling);

  // A value as its input field shows it: in the unit in effect, at the
  // field's resolution, with the unit (or szUnit for a field without one).
  static QString FieldText(CTInputFields::Field nField, double nValue, const QString& szUnit = QString());
  // The ESP fields count in hundredths in inches of water.
  static int FieldResolution(CTInputFields::Field nField);

  static LTConditionTexts Conditions(const SelectionRequest& request, const SelectionResult& result, bool bCooling);
  static LTResultTexts Results(const SelectionResult& result, bool bCooling);
  // Titles and values of the points the unit's type has; nDeltaEnthalpy is
  // added to enthalpies (the display offset of degF).
  static std::array<LTCaptionList, kPointCount> PsychroPoints(const SelectionResult& result, bool bCooling,
                                                              double nDeltaEnthalpy);
  static LTQuilloTexts Quillo(const SelectionResult& result);
  // "1.23 kW/(m³/s), SFP 3", empty when the fans are not known.
  static QString SfpText(const LTFanPower& fans);
};
