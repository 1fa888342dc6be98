#pragma once
// A year of hourly weather for the annual energy of a unit: read from an
// EnergyPlus weather file (EPW), from our plain CSV, or taken from one of the
// synthetic demonstration years the program carries.
//
// Units: dry bulb degC, relative humidity percent (0..100), pressure Pa,
// elevation m above sea level.
//
// Every file is untrusted. A reader checks each number it uses (finite and
// within the bounds below), the order of the hours and the count of lines;
// a file that is not one whole year of hours is refused with a message that
// names the line ("line 1234: ..."), and the climate passed in is left as it
// was. Numbers are read with "." as the decimal separator whatever the
// process locale.
//
// EnergyPlus weather (.epw): 8 header lines, then one line per hour.
//
//   LOCATION,Helsinki-Vantaa,-,FIN,Synthetic,029740,60.32,24.96,2.0,51
//   DESIGN CONDITIONS,0
//   TYPICAL/EXTREME PERIODS,0
//   GROUND TEMPERATURES,0
//   HOLIDAYS/DAYLIGHT SAVINGS,No,0,0,0
//   COMMENTS 1,...
//   COMMENTS 2,...
//   DATA PERIODS,1,1,Data,Sunday, 1/ 1,12/31
//   1999,1,1,1,60,?9?9?9?9E0?9?9?9,-4.5,-6.0,89,100700,...
//   ...                                               (8760 lines in all)
//   2003,12,31,24,60,?9?9?9?9E0?9?9?9,-2.1,-3.3,91,100900,...
//
// LOCATION: keyword, city, state, country, source, WMO number, latitude,
// longitude, time zone, elevation (m); the climate is named "city, country"
// and takes the elevation. The other header lines are passed over. A data
// line: year, month, day, hour 1..24 (the hour ending then), minute, data
// source flags, dry bulb, dew point, relative humidity, station pressure,
// then fields that are not read. The years may differ from month to month (a
// typical year is made of months of different years); month, day and hour
// run in order from 1 January hour 1 to 31 December hour 24. A leap year's
// 29 February, all 24 hours of it, is passed over. EPW marks a missing value
// with 99.9 (dry bulb, dew point), 999 (relative humidity) or 999999
// (pressure): a missing dry bulb refuses the file; a missing humidity is
// worked out from the dew point (refused when that is missing too); a missing
// pressure is the standard atmosphere's at the elevation. A relative humidity
// above 100 %, which the format allows up to 110 %, is read as 100 %.
//
// Our CSV (.csv): comment lines start with "#" and may name the place, give
// its elevation (for the pressure, which the file does not hold; sea level
// when absent) and mark the year as synthetic; an optional header line (one
// that does not start with a number); then 8760 lines "dry bulb,relative
// humidity" from 1 January 00:00-01:00 on, no 29 February. Blank lines are
// passed over.
//
//   # name: Synthetic cold year (Helsinki-Vantaa normals)
//   # elevation: 51
//   # synthetic
//   dry bulb,relative humidity
//   -4.61,88.12
//   ...                                               (8760 lines in all)
//
// Lines end in LF or CR LF; a UTF-8 byte order mark at the start is passed
// over. A line longer than kMaxLineBytes, or a file larger than
// kMaxFileBytes, is refused: no weather line comes near either.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

// One hour of weather.
struct LTClimateHour {
  double dryBulbC = 0;
  double relativeHumidity = 0;  // %, 0..100 (from the dew point where a file gives that instead)
  double pressurePa = 0;        // station pressure; from the elevation when the file has none
};

// A year of hourly weather: exactly 8760 hours from 1 January 00:00-01:00 on,
// no 29 February. Hour i covers i:00 to i+1:00 counted from the year's start.
struct LTClimate {
  static constexpr int kHours = 8760;
  QString name;    // as shown: the place; a demo year says it is synthetic, e.g.
                   // "Synthetic cold year (Helsinki-Vantaa normals)"
  QString source;  // the file path, or "demo:cold"
  bool synthetic = false;
  double elevationM = 0;
  std::vector<LTClimateHour> hours;
  // 0..11 for hour 0..8759 of a non-leap year; an hour before the year
  // answers January, one after it December.
  static int MonthOfHour(int nHour);
};

class CTClimate {
 public:
  static constexpr qsizetype kMaxFileBytes = 8 * 1024 * 1024;  // an EPW year is about 1.6 MB
  static constexpr qsizetype kMaxLineBytes = 16 * 1024;        // an EPW header line is under 1 kB
  // Bounds of what a reader accepts.
  static constexpr double kMinDryBulbC = -70.0;
  static constexpr double kMaxDryBulbC = 70.0;
  static constexpr double kMinDewPointC = -90.0;
  static constexpr double kMaxDewPointC = 70.0;
  // EPW allows readings above saturation up to 110 %; they are read as 100 %.
  static constexpr double kMaxEpwHumidity = 110.0;
  static constexpr double kMinPressurePa = 30000.0;
  static constexpr double kMaxPressurePa = 110000.0;
  // The pressure at 9000 m is about 31 kPa, near the lowest pressure read.
  static constexpr double kMinElevationM = -500.0;
  static constexpr double kMaxElevationM = 9000.0;

  // EnergyPlus weather, as described above. The source is left empty.
  static bool ReadEpw(const QByteArray& bytes, LTClimate& out, QString& szWhy);
  // Our CSV, as described above. The name is empty when no comment gives it;
  // the source is left empty.
  static bool ReadCsv(const QByteArray& bytes, LTClimate& out, QString& szWhy);
  // "demo:NAME" (one of DemoNames()) or a path ending .epw or .csv (any
  // case). A file larger than kMaxFileBytes is refused unread. The source is
  // szSpec; a file that names no place is named after the file. A refusal
  // of a file names the file before the line.
  static bool Load(const QString& szSpec, LTClimate& out, QString& szWhy);
  static QStringList DemoNames();  // {"cold", "temperate", "hot-humid"}
};
