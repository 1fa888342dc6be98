#pragma once
// CTHRXNote: the note that goes with a unit of the plain heat-recovery series:
// its results hold for the given airflow, pressure and temperatures only, and
// the official seasonal-efficiency data are on the maker's web page. The
// Results tab shows it; the report writes it under the unit's data.
//
// The text, in the writer's normal font, as one paragraph:
//   message 24, a blank, message 25 without its "$1",
//   the link (underlined, blue), "." and a line end.

#include "docs/RTFOutput.h"

#include <QByteArray>
#include <QString>

class Cls_HRX;

class CTHRXNote {
 public:
  // The series (Cls_HRX::GetSeries) whose units carry the note: the plain
  // heat-recovery units, the only ones with seasonal-efficiency data.
  static constexpr const char* kNoteSeries = "NVH";
  // The link's colour (0x00BBGGRR): blue.
  static constexpr TColor kLinkColor = 0xFF0000;

  // Whether the unit carries the note: its series, trimmed, is kNoteSeries
  // (case ignored).
  static bool Applies(const Cls_HRX& unit);
  // The web address the note points to.
  static QString Link();
  // Writes the note at the writer's current position.
  static void Write(CTDocOutput& out);
  // The note as a document of its own: a 29.7 x 21 cm page, 1.5 cm margins,
  // in normalFont.
  static QByteArray Rtf(const LTDocFont& normalFont);
};
