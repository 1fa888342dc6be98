#pragma once
// CTSyntheticYear: a deterministic hourly year of weather made from monthly
// climate normals, for the demonstration climates (measured years cannot be
// shipped). No random numbers: the same normals give the same year, byte for
// byte.
//
// Days d = 0..364 of a non-leap year, hours h = 0..23 of a day (hour h runs
// from h:00 to h+1:00); the middle of day d lies d + 0.5 days after
// 1 January 00:00, the middle of month k at its first day + half its length.
//
//  1. Yearly cycle. The daily mean dry bulb M(d) follows a smooth periodic
//     curve through one node per month, placed at the middle of the month:
//     a cubic Hermite curve with Catmull-Rom tangents (the slope of the chord
//     between the two neighbouring nodes), continuous in value and slope
//     across the year's end. The nodes start at the normals and are adjusted
//     iteratively, node += normal - monthly mean of the curve's daily values,
//     until every month's mean of the hourly values reproduces its normal
//     within kFitToleranceK.
//  2. Daily cycle. T(d, h) = M(d) + R(d) / 2 x cos(2 pi (h - 15) / 24):
//     warmest at 15:00, coldest at 03:00. Over the 24 hours the cosine sums
//     to zero, so a day's mean is M(d) and its range, maximum - minimum, is
//     R(d). The daily range R(d) is a curve of the same kind, its nodes fitted
//     the same way to the monthly mean daily ranges.
//  3. Humidity. The day's humidity ratio is that of the daily mean dry bulb
//     M(d) at the relative humidity H(d) of a third curve of the same kind,
//     held over the day, so the relative humidity falls in the afternoon and
//     rises at night; it is capped at 100 % (the excess would fall out as dew
//     or fog). The nodes of H are fitted so that each month's mean of the
//     hourly relative humidity reproduces its normal, which is a mean of
//     readings around the clock, within kFitToleranceRh.
//  4. Pressure. The standard atmosphere's at the station elevation; the CSV
//     gives the elevation and the reader works the pressure out.
// The moist-air formulas are psychro/'s TAir.

#include "tools/climate/ClimateNormals.h"

#include <QByteArray>
#include <QString>

#include <vector>

class CTSyntheticYear {
 public:
  static constexpr int kHours = 8760;
  static constexpr int kWarmestHour = 15;  // the daily cycle's maximum, h
  static constexpr double kFitToleranceK = 0.001;
  static constexpr double kFitToleranceRh = 0.01;  // percent
  static constexpr int kMaxFitIterations = 200;

  struct Hour {
    double dryBulbC = 0;
    double relativeHumidity = 0;  // %
  };

  // The year's 8760 hours; false with szWhy when a fit does not reach its
  // tolerance (normals no smooth curve can reproduce, such as a humidity
  // that the cap at 100 % keeps out of reach).
  static bool Generate(const LTClimateNormals& normals, std::vector<Hour>& hours, QString& szWhy);
  // "Synthetic cold year (Helsinki-Vantaa normals)".
  static QString Name(const LTClimateNormals& normals);
  // Our weather CSV (selection/Climate.h describes it): the name, elevation
  // and synthetic marker as comments, a header, then "dry bulb,relative
  // humidity" per hour with two decimals, rounded half to even.
  static QByteArray Csv(const LTClimateNormals& normals, const std::vector<Hour>& hours);
};
