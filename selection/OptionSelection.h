#pragma once
// The options of the current unit, split into used and available: the
// options the inputs call for (inlet heater options, high-efficiency
// filters, plenums) are used as standard options that cannot be removed;
// standard and preferred combinations are used; the user's choice, kept on
// the unit, decides the rest.

#include "selection/ProjectFile.h"
#include "selection/SelectionRequest.h"

#include <QList>
#include <QString>

class Cls_HRX;

struct LTOptionRow {
  int combinationID = 0;
  int optionClsID = 0;
  int optionObjID = 0;
  QString name;
  QString description;
  int type = 0;
  QString typeName;
  bool used = false;
  bool standard = false;  // the combination's flag, or called for by the inputs
  int count = 0;          // the combination's required number, or what the inputs call for
};

// What of the inputs decides options.
struct LTOptionInputs {
  int coolHeaterOptionID = 0;  // inlet heater options chosen, 0 for none
  int heatHeaterOptionID = 0;
  int supplyFilter = 0;
  int exhaustFilter = 0;
  PlenumArrangement plenum = PlenumArrangement::kNone;

  static LTOptionInputs Of(const SelectionRequest& request);
};

class CTOptionSelection {
 public:
  // Every combination of the unit with an option record, used or
  // available; the used ones are stored on the unit. The used rows come in
  // the order the unit already holds them, then newly used ones in
  // catalogue order; the available rows in catalogue order. Each list shows
  // its rows in the order of this list.
  static QList<LTOptionRow> FillOptions(Cls_HRX& unit, const LTOptionInputs& inputs);
  // Moves an available row to the end of the used ones (stored on the unit).
  static void Select(Cls_HRX& unit, QList<LTOptionRow>& rows, int nIndex);
  // Moves a used row back, to the end of the available ones; false for a
  // standard option, which stays.
  static bool Deselect(Cls_HRX& unit, QList<LTOptionRow>& rows, int nIndex);
  // The used rows as the unit keeps them, in the used list's order: what
  // project files, reports and material lists give.
  static void StoreUsedOptions(Cls_HRX& unit, const QList<LTOptionRow>& rows);
};

// The user's option choice of each unit for as long as a selection is open.
// A choice lives on a candidate record, and every run makes new records:
// the window keeps each unit's choice here when the user makes it and puts
// it back on the unit's record whenever that unit is current again, after
// a run that kept it in the list or after runs in which it was absent (a
// filter that emptied the list, another family). A unit is its catalogue
// record: its options do not depend on the speeds a run gives its fans.
class CTOptionChoices {
 public:
  // Keeps the options used on the unit as its choice.
  void Keep(const Cls_HRX& unit);
  // Stores the choice kept for the unit's record on it; a unit without one
  // keeps what it holds.
  void Give(Cls_HRX& unit) const;
  // Forgets every choice (a new or opened selection).
  void Clear() { v_choices.clear(); }

 private:
  QList<LTProjectUnit> v_choices;  // one per unit record, speeds ignored
};
