#include "selection/Climate.h"

#include "platform/Resources.h"
#include "psychro/Air.h"

#include <QByteArrayView>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>
#include <utility>

namespace {

constexpr std::array<int, 12> kDaysInMonth = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
static_assert(std::accumulate(kDaysInMonth.begin(), kDaysInMonth.end(), 0) * 24 == LTClimate::kHours,
              "a non-leap year of hours");
constexpr std::array<const char*, 12> kMonthNames = {"January",   "February", "March",    "April",
                                                     "May",       "June",     "July",     "August",
                                                     "September", "October",  "November", "December"};

constexpr int kEpwHeaderLines = 8;
constexpr int kEpwFieldsRead = 10;  // year ... station pressure
constexpr int kCsvFields = 2;       // dry bulb, relative humidity
// EPW's marks of a missing value: the value itself or anything above it.
constexpr double kEpwMissingTemperature = 99.9;
constexpr double kEpwMissingHumidity = 999.0;
constexpr double kEpwMissingPressure = 999999.0;
// 29 February starts after this many hours of a non-leap year (January and
// 28 days of February).
constexpr int kHoursBeforeMarch = (31 + 28) * 24;

const QString kDemoPrefix = QStringLiteral("demo:");

// Walks the lines of a text: LF or CR LF ends, the last line with or without
// one; a UTF-8 byte order mark before the first line (spreadsheet programs
// write one) is passed over. Number() is the 1-based number of the line last
// returned.
class LineCursor {
 public:
  explicit LineCursor(const QByteArray& bytes) : v_rest(bytes) {
    if (v_rest.startsWith("\xEF\xBB\xBF")) v_rest = v_rest.sliced(3);
  }
  bool Next(QByteArrayView& line) {
    if (v_rest.isEmpty()) return false;
    const qsizetype end = v_rest.indexOf('\n');
    line = end < 0 ? v_rest : v_rest.first(end);
    v_rest = end < 0 ? QByteArrayView() : v_rest.sliced(end + 1);
    if (line.endsWith('\r')) line.chop(1);
    ++v_number;
    return true;
  }
  int Number() const { return v_number; }

 private:
  QByteArrayView v_rest;
  int v_number = 0;
};

// The first N comma-separated fields of line, trimmed; answers how many
// fields the line has in all.
template <std::size_t N>
int SplitFields(QByteArrayView line, std::array<QByteArrayView, N>& fields) {
  int count = 0;
  while (true) {
    const qsizetype comma = line.indexOf(',');
    const QByteArrayView field = comma < 0 ? line : line.first(comma);
    if (std::size_t(count) < N) fields[std::size_t(count)] = field.trimmed();
    ++count;
    if (comma < 0) return count;
    line = line.sliced(comma + 1);
  }
}

// A finite number written with "." as decimal separator, whatever the locale.
bool ParseNumber(QByteArrayView field, double& value) {
  bool ok = false;
  const double v = field.trimmed().toDouble(&ok);
  if (!ok || !std::isfinite(v)) return false;
  value = v;
  return true;
}

bool ParseInt(QByteArrayView field, int& value) {
  bool ok = false;
  const int v = field.trimmed().toInt(&ok);
  if (!ok) return false;
  value = v;
  return true;
}

// A field as it may be quoted in a message, cut short when long.
QString Quoted(QByteArrayView field) {
  constexpr qsizetype kShown = 24;
  const QString text = QString::fromUtf8(field.first(std::min(field.size(), kShown)));
  return QLatin1Char('"') + text + (field.size() > kShown ? QStringLiteral("...\"") : QStringLiteral("\""));
}

QString AtLine(int nLine) { return QStringLiteral("line %1: ").arg(nLine); }

// "1 field", "3 fields".
QString Counted(qsizetype n, const char* szThing) {
  return QStringLiteral("%1 %2%3").arg(n).arg(QLatin1String(szThing)).arg(n == 1 ? "" : "s");
}

QString Range(double nMin, double nMax, const char* szUnit) {
  return QStringLiteral("%1..%2 %3").arg(nMin).arg(nMax).arg(QLatin1String(szUnit));
}

// Relative humidity (%) of air at dryBulbC whose dew point is dewPointC:
// the vapour pressure is the saturation pressure at the dew point. A dew
// point above the dry bulb is saturated air.
double RelHumidityFromDewPoint(double dryBulbC, double dewPointC) {
  const double rh = 100.0 * TAir::StaticPressure(dewPointC) / TAir::StaticPressure(dryBulbC);
  return std::min(rh, 100.0);
}

// The hour of the year (0-based, non-leap, 0..8759) as month, day and EPW
// hour 1..24.
struct HourDate {
  int month = 1;
  int day = 1;
  int hour = 1;
  bool operator==(const HourDate&) const = default;
};

HourDate DateOfHour(int nHour) {
  const int dayOfYear = nHour / 24;
  int month = 0, firstDay = 0;
  while (month < 11 && firstDay + kDaysInMonth[std::size_t(month)] <= dayOfYear)
    firstDay += kDaysInMonth[std::size_t(month++)];
  return {month + 1, dayOfYear - firstDay + 1, nHour % 24 + 1};
}

QString DateText(const HourDate& date) {
  const bool known = date.month >= 1 && date.month <= 12;
  return QStringLiteral("%1 %2 hour %3")
      .arg(date.day)
      .arg(known ? QLatin1String(kMonthNames[std::size_t(date.month - 1)]) : QStringLiteral("month %1").arg(date.month))
      .arg(date.hour);
}

bool CheckSize(const QByteArray& bytes, QString& szWhy) {
  if (bytes.size() <= CTClimate::kMaxFileBytes) return true;
  szWhy = QStringLiteral("the file is larger than %1 MB; a year of hourly weather is far smaller")
              .arg(CTClimate::kMaxFileBytes / (1024 * 1024));
  return false;
}

bool CheckLineLength(QByteArrayView line, int nLine, QString& szWhy) {
  if (line.size() <= CTClimate::kMaxLineBytes) return true;
  szWhy = AtLine(nLine) + QStringLiteral("longer than %1 bytes; not a weather line").arg(CTClimate::kMaxLineBytes);
  return false;
}

bool ParseElevation(QByteArrayView field, int nLine, double& elevationM, QString& szWhy) {
  double v = 0;
  if (!ParseNumber(field, v) || v < CTClimate::kMinElevationM || v > CTClimate::kMaxElevationM) {
    szWhy = AtLine(nLine) + QStringLiteral("the elevation %1 is not a number within %2")
                                .arg(Quoted(field), Range(CTClimate::kMinElevationM, CTClimate::kMaxElevationM, "m"));
    return false;
  }
  elevationM = v;
  return true;
}

// A value of either format, EPW's missing marks aside: a number within its
// bounds.
bool ParseBounded(QByteArrayView field, const char* szWhat, double nMin, double nMax, const char* szUnit, int nLine,
                  double& value, QString& szWhy) {
  double v = 0;
  if (!ParseNumber(field, v)) {
    szWhy = AtLine(nLine) + QStringLiteral("the %1 %2 is not a number").arg(QLatin1String(szWhat), Quoted(field));
    return false;
  }
  // Negated so that nothing but a number within the bounds passes.
  if (!(v >= nMin && v <= nMax)) {
    szWhy = AtLine(nLine) + QStringLiteral("the %1 %2 is outside %3")
                                .arg(QLatin1String(szWhat), QString::number(v), Range(nMin, nMax, szUnit));
    return false;
  }
  value = v;
  return true;
}

// An EPW value that may carry the missing mark: true and missing set when
// it does, true and value set when it is a number within the bounds.
bool ParseEpwValue(QByteArrayView field, const char* szWhat, double nMissing, double nMin, double nMax,
                   const char* szUnit, int nLine, double& value, bool& missing, QString& szWhy) {
  double v = 0;
  missing = ParseNumber(field, v) && v >= nMissing;
  if (missing) return true;
  return ParseBounded(field, szWhat, nMin, nMax, szUnit, nLine, value, szWhy);
}

bool ReadEpwLocation(QByteArrayView line, LTClimate& year, QString& szWhy) {
  std::array<QByteArrayView, 10> fields;
  const int count = SplitFields(line, fields);
  if (count < 1 || fields[0].compare("LOCATION", Qt::CaseInsensitive) != 0) {
    szWhy = AtLine(1) + QStringLiteral("an EPW file starts with its LOCATION line");
    return false;
  }
  if (count < int(fields.size())) {
    szWhy = AtLine(1) + QStringLiteral("the LOCATION line has %1 fields, 10 expected (city ... elevation)").arg(count);
    return false;
  }
  if (!ParseElevation(fields[9], 1, year.elevationM, szWhy)) return false;
  const QString city = QString::fromUtf8(fields[1]).simplified();
  const QString country = QString::fromUtf8(fields[3]).simplified();
  year.name = country.isEmpty() || country == QLatin1String("-") ? city : city + QStringLiteral(", ") + country;
  return true;
}

// One EPW data line into hour; date gets its month, day and hour.
bool ReadEpwHour(QByteArrayView line, int nLine, double nElevationPressurePa, HourDate& date, LTClimateHour& hour,
                 QString& szWhy) {
  std::array<QByteArrayView, kEpwFieldsRead> fields;
  const int count = SplitFields(line, fields);
  if (count < kEpwFieldsRead) {
    szWhy = AtLine(nLine) + QStringLiteral("%1 where at least %2 were expected (year ... station pressure)")
                                .arg(Counted(count, "field"))
                                .arg(kEpwFieldsRead);
    return false;
  }
  int year = 0, minute = 0;
  if (!ParseInt(fields[0], year) || !ParseInt(fields[1], date.month) || !ParseInt(fields[2], date.day) ||
      !ParseInt(fields[3], date.hour) || !ParseInt(fields[4], minute)) {
    szWhy = AtLine(nLine) + QStringLiteral("the year, month, day, hour and minute must be whole numbers");
    return false;
  }
  if (minute < 0 || minute > 60) {
    szWhy = AtLine(nLine) + QStringLiteral("the minute %1 is outside 0..60").arg(minute);
    return false;
  }
  double dewPoint = 0;
  bool dryMissing = false, dewMissing = false, rhMissing = false, pressureMissing = false;
  if (!ParseEpwValue(fields[6], "dry bulb", kEpwMissingTemperature, CTClimate::kMinDryBulbC, CTClimate::kMaxDryBulbC,
                     "degC", nLine, hour.dryBulbC, dryMissing, szWhy) ||
      !ParseEpwValue(fields[7], "dew point", kEpwMissingTemperature, CTClimate::kMinDewPointC, CTClimate::kMaxDewPointC,
                     "degC", nLine, dewPoint, dewMissing, szWhy) ||
      !ParseEpwValue(fields[8], "relative humidity", kEpwMissingHumidity, 0, CTClimate::kMaxEpwHumidity, "%", nLine,
                     hour.relativeHumidity, rhMissing, szWhy) ||
      !ParseEpwValue(fields[9], "station pressure", kEpwMissingPressure, CTClimate::kMinPressurePa,
                     CTClimate::kMaxPressurePa, "Pa", nLine, hour.pressurePa, pressureMissing, szWhy))
    return false;
  if (dryMissing) {
    szWhy = AtLine(nLine) + QStringLiteral("the dry bulb is missing (99.9); the year cannot be used");
    return false;
  }
  if (rhMissing && dewMissing) {
    szWhy = AtLine(nLine) + QStringLiteral("both the relative humidity and the dew point are missing");
    return false;
  }
  // A reading above saturation is the sensor's error: saturated air.
  hour.relativeHumidity = rhMissing ? RelHumidityFromDewPoint(hour.dryBulbC, dewPoint)
                                    : std::min(hour.relativeHumidity, 100.0);
  if (pressureMissing) hour.pressurePa = nElevationPressurePa;
  return true;
}

// The date the next EPW line must carry: the next hour of a non-leap year
// or, once a 29 February has begun, the rest of its 24 hours.
HourDate ExpectedEpwDate(int nHoursRead, int nLeapHoursRead) {
  if (nHoursRead == kHoursBeforeMarch && nLeapHoursRead > 0 && nLeapHoursRead < 24) return {2, 29, nLeapHoursRead + 1};
  return DateOfHour(nHoursRead);
}

bool ReadEpwHours(LineCursor& lines, LTClimate& year, QString& szWhy) {
  const double elevationPressurePa = TAir::PressureAtAltitude(year.elevationM);
  int leapHours = 0;
  QByteArrayView line;
  while (lines.Next(line)) {
    const int n = lines.Number();
    if (!CheckLineLength(line, n, szWhy)) return false;
    if (line.trimmed().isEmpty()) continue;
    if (year.hours.size() == std::size_t(LTClimate::kHours)) {
      szWhy = AtLine(n) +
              QStringLiteral("more lines after 31 December hour 24; a year has %1 hours").arg(LTClimate::kHours);
      return false;
    }
    HourDate date;
    LTClimateHour hour;
    if (!ReadEpwHour(line, n, elevationPressurePa, date, hour, szWhy)) return false;
    const int hoursRead = int(year.hours.size());
    const HourDate expected = ExpectedEpwDate(hoursRead, leapHours);
    // A leap year's 29 February comes where 1 March hour 1 is expected.
    const bool leapDay = date == HourDate{2, 29, leapHours + 1} && hoursRead == kHoursBeforeMarch && leapHours < 24;
    if (leapDay) {
      ++leapHours;
      continue;
    }
    if (date != expected) {
      szWhy = AtLine(n) + QStringLiteral("%1 where %2 was expected; the hours must run in order through one year")
                              .arg(DateText(date), DateText(expected));
      return false;
    }
    year.hours.push_back(hour);
  }
  if (year.hours.size() == std::size_t(LTClimate::kHours)) return true;
  const QString last = year.hours.empty() ? QStringLiteral("before its first hour")
                                          : QStringLiteral("at ") + DateText(DateOfHour(int(year.hours.size()) - 1));
  szWhy = AtLine(lines.Number()) +
          QStringLiteral("the file ends %1; a year of weather runs to 31 December hour 24").arg(last);
  return false;
}

// A "#" line of our CSV: "# name: ...", "# elevation: ...", "# synthetic";
// any other comment is passed over.
bool ReadCsvComment(QByteArrayView line, int nLine, LTClimate& year, QString& szWhy) {
  const QByteArrayView text = line.sliced(1).trimmed();
  if (text.compare("synthetic", Qt::CaseInsensitive) == 0) {
    year.synthetic = true;
    return true;
  }
  const qsizetype colon = text.indexOf(':');
  if (colon < 0) return true;
  const QByteArrayView key = text.first(colon).trimmed();
  const QByteArrayView value = text.sliced(colon + 1).trimmed();
  if (key.compare("name", Qt::CaseInsensitive) == 0) year.name = QString::fromUtf8(value).simplified();
  if (key.compare("elevation", Qt::CaseInsensitive) == 0) return ParseElevation(value, nLine, year.elevationM, szWhy);
  return true;
}

bool ReadCsvHour(QByteArrayView line, int nLine, LTClimateHour& hour, QString& szWhy) {
  std::array<QByteArrayView, kCsvFields> fields;
  const int count = SplitFields(line, fields);
  if (count != kCsvFields) {
    szWhy = AtLine(nLine) + QStringLiteral(
                                "%1 where \"dry bulb,relative humidity\" was expected "
                                "(the decimal separator is \".\")")
                                .arg(Counted(count, "field"));
    return false;
  }
  return ParseBounded(fields[0], "dry bulb", CTClimate::kMinDryBulbC, CTClimate::kMaxDryBulbC, "degC", nLine,
                      hour.dryBulbC, szWhy) &&
         ParseBounded(fields[1], "relative humidity", 0, 100, "%", nLine, hour.relativeHumidity, szWhy);
}

// Reads a file of weather with reader, which fills a fresh climate; the
// file's size is checked before it is read.
bool LoadFile(const QString& szPath, bool (*reader)(const QByteArray&, LTClimate&, QString&), LTClimate& out,
              QString& szWhy) {
  const QFileInfo info(szPath);
  const QString shown = info.fileName();
  QFile file(szPath);
  if (!info.isFile() || !file.open(QIODevice::ReadOnly)) {
    szWhy = QStringLiteral("%1: cannot be read").arg(shown);
    return false;
  }
  // The size is asked of the open file, and no more than one byte beyond
  // the bound is read, should the file grow meanwhile.
  if (file.size() > CTClimate::kMaxFileBytes) {
    szWhy = QStringLiteral("%1: larger than %2 MB; a year of hourly weather is far smaller")
                .arg(shown)
                .arg(CTClimate::kMaxFileBytes / (1024 * 1024));
    return false;
  }
  const QByteArray bytes = file.read(CTClimate::kMaxFileBytes + 1);
  LTClimate year;
  if (!reader(bytes, year, szWhy)) {
    szWhy = shown + QStringLiteral(": ") + szWhy;
    return false;
  }
  year.source = szPath;
  if (year.name.isEmpty()) year.name = info.completeBaseName();
  out = std::move(year);
  return true;
}

bool LoadDemo(const QString& szName, LTClimate& out, QString& szWhy) {
  if (!CTClimate::DemoNames().contains(szName)) {
    szWhy = QStringLiteral("no demonstration climate \"%1\"; there are %2")
                .arg(szName, CTClimate::DemoNames().join(QStringLiteral(", ")));
    return false;
  }
  const std::optional<QByteArray> bytes = CTResources::Data(QStringLiteral("climate/%1.csv").arg(szName));
  if (!bytes) {
    szWhy = QStringLiteral("the demonstration climate \"%1\" is not built into this program").arg(szName);
    return false;
  }
  LTClimate year;
  if (!CTClimate::ReadCsv(*bytes, year, szWhy)) {
    szWhy = QStringLiteral("the demonstration climate \"%1\": %2").arg(szName, szWhy);
    return false;
  }
  year.source = kDemoPrefix + szName;
  out = std::move(year);
  return true;
}

}  // namespace

int LTClimate::MonthOfHour(int nHour) {
  const int hour = std::clamp(nHour, 0, kHours - 1);
  return DateOfHour(hour).month - 1;
}

bool CTClimate::ReadEpw(const QByteArray& bytes, LTClimate& out, QString& szWhy) {
  if (!CheckSize(bytes, szWhy)) return false;
  LineCursor lines(bytes);
  LTClimate year;
  QByteArrayView line;
  for (int n = 1; n <= kEpwHeaderLines; ++n) {
    if (!lines.Next(line)) {
      szWhy =
          AtLine(n) + QStringLiteral("the file ends inside the %1 header lines of an EPW file").arg(kEpwHeaderLines);
      return false;
    }
    if (!CheckLineLength(line, n, szWhy)) return false;
    if (n == 1 && !ReadEpwLocation(line, year, szWhy)) return false;
  }
  year.hours.reserve(std::size_t(LTClimate::kHours));
  if (!ReadEpwHours(lines, year, szWhy)) return false;
  out = std::move(year);
  return true;
}

bool CTClimate::ReadCsv(const QByteArray& bytes, LTClimate& out, QString& szWhy) {
  if (!CheckSize(bytes, szWhy)) return false;
  LineCursor lines(bytes);
  LTClimate year;
  year.hours.reserve(std::size_t(LTClimate::kHours));
  bool headerAllowed = true;
  QByteArrayView line;
  while (lines.Next(line)) {
    const int n = lines.Number();
    if (!CheckLineLength(line, n, szWhy)) return false;
    const QByteArrayView text = line.trimmed();
    if (text.isEmpty()) continue;
    if (text.startsWith('#')) {
      if (!ReadCsvComment(text, n, year, szWhy)) return false;
      continue;
    }
    // The header, if any, is the first line that is neither blank nor a
    // comment, and does not start with a number.
    std::array<QByteArrayView, 1> firstField;
    SplitFields(text, firstField);
    bool numeric = false;
    (void)firstField[0].toDouble(&numeric);
    const bool header = headerAllowed && !firstField[0].isEmpty() && !numeric;
    headerAllowed = false;
    if (header) continue;
    if (year.hours.size() == std::size_t(LTClimate::kHours)) {
      szWhy = AtLine(n) + QStringLiteral("more than %1 hours; a year of weather has %1 lines").arg(LTClimate::kHours);
      return false;
    }
    LTClimateHour hour;
    if (!ReadCsvHour(text, n, hour, szWhy)) return false;
    year.hours.push_back(hour);
  }
  if (year.hours.size() != std::size_t(LTClimate::kHours)) {
    szWhy = AtLine(std::max(lines.Number(), 1)) +
            QStringLiteral("the file ends after %1; a year of weather has %2 (no 29 February)")
                .arg(Counted(qsizetype(year.hours.size()), "hour"))
                .arg(LTClimate::kHours);
    return false;
  }
  const double pressurePa = TAir::PressureAtAltitude(year.elevationM);
  for (LTClimateHour& hour : year.hours) hour.pressurePa = pressurePa;
  out = std::move(year);
  return true;
}

bool CTClimate::Load(const QString& szSpec, LTClimate& out, QString& szWhy) {
  if (szSpec.startsWith(kDemoPrefix)) return LoadDemo(szSpec.mid(kDemoPrefix.size()), out, szWhy);
  if (szSpec.endsWith(QLatin1String(".epw"), Qt::CaseInsensitive)) return LoadFile(szSpec, ReadEpw, out, szWhy);
  if (szSpec.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive)) return LoadFile(szSpec, ReadCsv, out, szWhy);
  szWhy = QStringLiteral("\"%1\" is neither a weather file (.epw, .csv) nor a demonstration climate (demo:%2)")
              .arg(szSpec, DemoNames().join(QStringLiteral(", demo:")));
  return false;
}

QStringList CTClimate::DemoNames() {
  return {QStringLiteral("cold"), QStringLiteral("temperate"), QStringLiteral("hot-humid")};
}
