// The weather readers over arbitrary bytes: a read either refuses with a
// message that names the line (or the file's size) and leaves the climate as
// it was, or yields exactly 8760 hours, every value finite and within the
// readers' bounds.
//
// The first byte picks what the rest becomes:
//   'E'  an EPW file, as it is
//   'C'  a CSV file, as it is
//   'Y'  a CSV year: the rest's lines repeated to 8760 lines, so that the
//        values reach the end of a year
//   'W'  an EPW year: a fixed header, then 8760 lines of correct dates each
//        followed by one of the rest's lines (flags, dry bulb, dew point,
//        humidity, pressure ...) in turn
//   else both readers, on all the bytes.
// The repeated part is held short, so that a year stays well under the
// readers' size bound.

#include "selection/Climate.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

constexpr qsizetype kMaxPattern = 256;
constexpr int kDaysInMonth[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

// The lines to repeat; never empty (splitting "" gives one empty line).
QList<QByteArray> Pattern(const QByteArray& rest) { return rest.left(kMaxPattern).split('\n'); }

QByteArray CsvYear(const QByteArray& rest) {
  const QList<QByteArray> lines = Pattern(rest);
  QByteArray year;
  for (int i = 0; i < LTClimate::kHours; ++i) year += lines[i % lines.size()] + '\n';
  return year;
}

QByteArray EpwYear(const QByteArray& rest) {
  const QList<QByteArray> lines = Pattern(rest);
  QByteArray year =
      "LOCATION,Fuzz,-,XX,x,0,0,0,0,300\nDESIGN CONDITIONS,0\nTYPICAL/EXTREME PERIODS,0\nGROUND TEMPERATURES,0\n"
      "HOLIDAYS/DAYLIGHT SAVINGS,No,0,0,0\nCOMMENTS 1,\nCOMMENTS 2,\nDATA PERIODS,1,1,Data,Sunday, 1/ 1,12/31\n";
  int i = 0;
  for (int month = 1; month <= 12; ++month)
    for (int day = 1; day <= kDaysInMonth[month - 1]; ++day)
      for (int hour = 1; hour <= 24; ++hour, ++i)
        year += "2001," + QByteArray::number(month) + ',' + QByteArray::number(day) + ',' + QByteArray::number(hour) +
                ",0," + lines[i % lines.size()] + '\n';
  return year;
}

bool Within(double v, double nMin, double nMax) { return std::isfinite(v) && v >= nMin && v <= nMax; }

void Check(bool (*reader)(const QByteArray&, LTClimate&, QString&), const QByteArray& bytes) {
  LTClimate climate;
  climate.name = QStringLiteral("before");
  climate.hours.resize(2);
  QString why;
  if (!reader(bytes, climate, why)) {
    if (!why.startsWith(QLatin1String("line ")) && !why.startsWith(QLatin1String("the file is larger"))) std::abort();
    if (climate.name != QLatin1String("before") || climate.hours.size() != 2) std::abort();
    return;
  }
  if (climate.hours.size() != std::size_t(LTClimate::kHours)) std::abort();
  if (!Within(climate.elevationM, CTClimate::kMinElevationM, CTClimate::kMaxElevationM)) std::abort();
  for (const LTClimateHour& hour : climate.hours) {
    if (!Within(hour.dryBulbC, CTClimate::kMinDryBulbC, CTClimate::kMaxDryBulbC)) std::abort();
    if (!Within(hour.relativeHumidity, 0, 100)) std::abort();
    if (!Within(hour.pressurePa, CTClimate::kMinPressurePa, CTClimate::kMaxPressurePa)) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
  const QByteArray rest = bytes.mid(1);
  switch (bytes.isEmpty() ? 0 : bytes[0]) {
    case 'E':
      Check(CTClimate::ReadEpw, rest);
      break;
    case 'C':
      Check(CTClimate::ReadCsv, rest);
      break;
    case 'Y':
      Check(CTClimate::ReadCsv, CsvYear(rest));
      break;
    case 'W':
      Check(CTClimate::ReadEpw, EpwYear(rest));
      break;
    default:
      Check(CTClimate::ReadEpw, bytes);
      Check(CTClimate::ReadCsv, bytes);
  }
  return 0;
}
