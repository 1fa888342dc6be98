#include "tools/climate/SyntheticYear.h"

#include "psychro/Air.h"
#include "psychro/Rounding.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>
#include <numeric>

namespace {

using Months = std::array<double, 12>;

constexpr std::array<int, 12> kDaysInMonth = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
constexpr int kDaysInYear = 365;
static_assert(std::accumulate(kDaysInMonth.begin(), kDaysInMonth.end(), 0) == kDaysInYear, "a non-leap year");
static_assert(kDaysInYear * 24 == CTSyntheticYear::kHours);

int FirstDayOfMonth(int nMonth) { return std::accumulate(kDaysInMonth.begin(), kDaysInMonth.begin() + nMonth, 0); }

// The node of month k: the middle of the month, in days from 1 January 00:00.
double NodeDay(int nMonth) { return FirstDayOfMonth(nMonth) + kDaysInMonth[std::size_t(nMonth)] / 2.0; }

// A smooth periodic curve through one value per month at the month's middle:
// cubic Hermite with Catmull-Rom tangents, the year wrapping round.
class MonthlyCurve {
 public:
  explicit MonthlyCurve(const Months& nodes) : v_nodes(nodes) {}

  // The curve at nDay days after 1 January 00:00, 0 <= nDay < 365.
  double At(double nDay) const {
    // The segment from node k to node k + 1, with node -1 and 12 the
    // neighbours across the year's end.
    int k = 11;
    while (k >= 0 && nDay < NodeDay(k)) --k;
    const double x0 = X(k), x1 = X(k + 1);
    const double h = x1 - x0, s = (nDay - x0) / h;
    const double s2 = s * s, s3 = s2 * s;
    return (2 * s3 - 3 * s2 + 1) * Y(k) + (s3 - 2 * s2 + s) * h * Slope(k) + (-2 * s3 + 3 * s2) * Y(k + 1) +
           (s3 - s2) * h * Slope(k + 1);
  }

 private:
  // Node k's day and value for any k, the year repeating.
  static double X(int k) {
    const int wraps = k < 0 ? -1 : k / 12;
    return NodeDay(k - 12 * wraps) + kDaysInYear * wraps;
  }
  double Y(int k) const { return v_nodes[std::size_t((k % 12 + 12) % 12)]; }
  double Slope(int k) const { return (Y(k + 1) - Y(k - 1)) / (X(k + 1) - X(k - 1)); }

  Months v_nodes;
};

// The curve's value at the middle of each day of the year.
std::vector<double> DailyValues(const Months& nodes) {
  const MonthlyCurve curve(nodes);
  std::vector<double> days(kDaysInYear);
  for (int d = 0; d < kDaysInYear; ++d) days[std::size_t(d)] = curve.At(d + 0.5);
  return days;
}

// Month by month, the mean of values given per day or per hour.
Months MonthlyMeans(const std::vector<double>& values) {
  const std::size_t perDay = values.size() / kDaysInYear;
  Months means{};
  std::size_t at = 0;
  for (int m = 0; m < 12; ++m) {
    const std::size_t count = std::size_t(kDaysInMonth[std::size_t(m)]) * perDay;
    means[std::size_t(m)] =
        std::accumulate(values.begin() + long(at), values.begin() + long(at + count), 0.0) / double(count);
    at += count;
  }
  return means;
}

double LargestDeviation(const Months& a, const Months& b) {
  double largest = 0;
  for (std::size_t m = 0; m < 12; ++m) largest = std::max(largest, std::fabs(a[m] - b[m]));
  return largest;
}

// Node values whose monthly means, as fnMeans works them out, reproduce the
// targets within nTolerance: each round moves every node by its month's
// remaining deviation. Converges because a month's mean depends mostly on
// its own node (the neighbours weigh about a tenth each). False when the
// rounds run out.
bool FitNodes(const Months& targets, const std::function<Months(const Months&)>& fnMeans, double nTolerance,
              Months& nodes) {
  nodes = targets;
  for (int i = 0; i < CTSyntheticYear::kMaxFitIterations; ++i) {
    const Months means = fnMeans(nodes);
    if (LargestDeviation(means, targets) < nTolerance) return true;
    for (std::size_t m = 0; m < 12; ++m) nodes[m] += targets[m] - means[m];
  }
  return false;
}

// The daily cycle's share of the range at hour h: +1/2 at 15:00, -1/2 at 03:00.
double DailyCycle(int h) { return 0.5 * std::cos(2 * std::numbers::pi * (h - CTSyntheticYear::kWarmestHour) / 24.0); }

// The hours of the year from the daily mean dry bulb, range and relative
// humidity at the daily mean.
std::vector<CTSyntheticYear::Hour> Hours(const TAir& air, const std::vector<double>& meanC,
                                         const std::vector<double>& rangeK, const std::vector<double>& rh) {
  std::vector<CTSyntheticYear::Hour> hours(CTSyntheticYear::kHours);
  for (std::size_t d = 0; d < std::size_t(kDaysInYear); ++d) {
    const double humidityRatio = air.AbsoluteHumidity(std::clamp(rh[d], 0.0, 100.0), meanC[d]);
    for (int h = 0; h < 24; ++h) {
      CTSyntheticYear::Hour& hour = hours[d * 24 + std::size_t(h)];
      hour.dryBulbC = meanC[d] + std::max(rangeK[d], 0.0) * DailyCycle(h);
      hour.relativeHumidity = std::min(air.RelativeHumidity(humidityRatio, hour.dryBulbC), 100.0);
    }
  }
  return hours;
}

std::vector<double> RelativeHumidities(const std::vector<CTSyntheticYear::Hour>& hours) {
  std::vector<double> rh(hours.size());
  std::transform(hours.begin(), hours.end(), rh.begin(),
                 [](const CTSyntheticYear::Hour& h) { return h.relativeHumidity; });
  return rh;
}

QByteArray TwoDecimals(double v) {
  // + 0.0 turns a rounded -0 into 0.
  return QByteArray::number(Rounding::HalfEven(v, 100) + 0.0, 'f', 2);
}

}  // namespace

bool CTSyntheticYear::Generate(const LTClimateNormals& normals, std::vector<Hour>& hours, QString& szWhy) {
  Months meanNodes, rangeNodes, rhNodes;
  const auto dailyMeans = [](const Months& nodes) { return MonthlyMeans(DailyValues(nodes)); };
  if (!FitNodes(normals.meanC, dailyMeans, kFitToleranceK, meanNodes) ||
      !FitNodes(normals.rangeK, dailyMeans, kFitToleranceK, rangeNodes)) {
    szWhy = QStringLiteral("%1: the temperature curve does not settle on the monthly normals").arg(normals.id);
    return false;
  }
  const TAir air(normals.elevationM);
  const std::vector<double> meanC = DailyValues(meanNodes), rangeK = DailyValues(rangeNodes);
  const auto hourlyRh = [&](const Months& nodes) {
    return MonthlyMeans(RelativeHumidities(Hours(air, meanC, rangeK, DailyValues(nodes))));
  };
  if (!FitNodes(normals.rhPercent, hourlyRh, kFitToleranceRh, rhNodes)) {
    szWhy = QStringLiteral(
                "%1: no humidity curve reproduces the monthly relative humidities (the cap at 100 % "
                "keeps one out of reach)")
                .arg(normals.id);
    return false;
  }
  hours = Hours(air, meanC, rangeK, DailyValues(rhNodes));
  return true;
}

QString CTSyntheticYear::Name(const LTClimateNormals& normals) {
  return QStringLiteral("Synthetic %1 year (%2 normals)").arg(normals.id, normals.place);
}

QByteArray CTSyntheticYear::Csv(const LTClimateNormals& normals, const std::vector<Hour>& hours) {
  QByteArray csv;
  csv.reserve(qsizetype(hours.size()) * 14 + 512);
  csv +=
      "# A synthetic hourly year, not measured weather. Made by aerolith-climate from the monthly\n"
      "# climate normals of " +
      normals.place.toUtf8() + " (resources/climate/normals.txt).\n";
  csv += "# name: " + Name(normals).toUtf8() + '\n';
  csv += "# elevation: " + QByteArray::number(normals.elevationM) + '\n';
  csv += "# synthetic\n";
  csv += "dry bulb,relative humidity\n";
  for (const Hour& hour : hours) csv += TwoDecimals(hour.dryBulbC) + ',' + TwoDecimals(hour.relativeHumidity) + '\n';
  return csv;
}
