#pragma once
// LTClimateNormals: the monthly climate normals of one place, from which
// aerolith-climate makes a synthetic year (resources/climate/normals.txt).
//
// The text: "#" comments and blank lines aside, one block per year, each
// keyword once, the twelve monthly values January first:
//
//   year cold                      the demonstration year "demo:cold"
//   place Helsinki-Vantaa          the station, as the year's name shows it
//   elevation 51                   m above sea level
//   mean  -4.2 -4.9 ... -2.0       monthly mean dry bulb, degC
//   range  5.5  6.3 ...  4.9       mean daily range (maximum - minimum), K
//   rh      89   86 ...   91       monthly mean relative humidity, %
//
// A year's id is lower-case letters and "-" (it names the file <id>.csv).
// Every fault is reported with its line; nothing is guessed.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>
#include <vector>

struct LTClimateNormals {
  QString id;     // "cold": written as cold.csv, loaded as "demo:cold"
  QString place;  // "Helsinki-Vantaa"
  double elevationM = 0;
  std::array<double, 12> meanC{};      // monthly mean dry bulb, degC
  std::array<double, 12> rangeK{};     // mean daily range of the dry bulb, K
  std::array<double, 12> rhPercent{};  // monthly mean relative humidity, %
};

class CTClimateNormals {
 public:
  // Bounds of a value read; a normal beyond them is a typing error.
  static constexpr double kMinMeanC = -60.0;
  static constexpr double kMaxMeanC = 50.0;
  static constexpr double kMaxRangeK = 30.0;
  static constexpr double kMinRh = 1.0;
  static constexpr double kMaxRh = 100.0;
  static constexpr double kMinElevationM = -500.0;
  static constexpr double kMaxElevationM = 5000.0;

  // The years of the text, in its order; false with every problem
  // ("line 12: ...") when any is faulty.
  static bool Parse(const QByteArray& text, std::vector<LTClimateNormals>& years, QStringList& problems);
};
