#pragma once
// CTCatalogueLint: the checks a catalogue must pass before it is embedded,
// run on the records of a connected catalogue factory. Each finding names the
// record (and, through the locator, where it was written) and the rule:
//
//   - a unit without speeds;
//   - a fan or efficiency curve without a range, or whose range does not
//     cover its unit's airflow range; a fan curve that does not fall with
//     airflow; a speed with an ESP limit of 0;
//   - a coil or fresh-air unit with a nominal airflow of 0;
//   - a fresh-air capacity table with fewer than five curves in a block, or
//     keys not strictly ascending; a coil header not strictly ascending;
//   - a coil column whose apparatus dew point is below 4.5 degC or whose
//     bypass factor is not strictly between 0 and 1;
//   - a coil without a total and a sensible cooling row at every evaporating
//     temperature of its rows and every one offered for selection
//     (CTCoilCapacity::kOfferedTEs), or without its standard row; a coil
//     without a condensing limit above 0; a coil unit without both capacity
//     correction curves;
//   - coil data that, at their own rating conditions (each cooling column's
//     dry and wet bulb at each offered TE; each heating column's temperature
//     at 50 %) and at the ends and the middle of the unit's airflow range,
//     give no capacity, or ask for more than the coil's surface allows, as
//     the selection computes it (Cls_HRX::CoolingCoil, HeatingCoil);
//   - a unit without its ecodesign record; for a unit the regulation covers,
//     a figure of that record out of its physical range, not exactly one
//     exchanger pressure-drop and one fan-efficiency curve, a pressure-drop
//     curve (of the exchanger or a filter option) that is not positive and
//     rising over the unit's airflow range, a fan efficiency that is not a
//     fraction, or sound data missing; sound data, where given, for other
//     than each of the five paths once, or a band outside 0 .. 140 dB.
//
// References to no record and second referrers on one-to-one links are
// refused earlier, when the text is built (CTCatalogueSource).

#include <QString>
#include <QStringList>

#include <functional>

class CTBaseFactory;

class CTCatalogueLint {
 public:
  // "file:line" of a record, or empty.
  using Locator = std::function<QString(int nClsID, int nObjID)>;

  static constexpr double kMinApparatusDewPointC = 4.5;
  static constexpr int kMinCurvesPerBlock = 5;

  static QStringList Check(CTBaseFactory& pFactory, const Locator& pWhere = {});
};
