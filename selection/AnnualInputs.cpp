#include "selection/AnnualInputs.h"

#include "i18n/BaseMsgMan.h"

#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <iterator>

// ------------------------------------------------------------ schedule

namespace {

const char* const kDayNames[LTSchedule::kDays] = {"mon", "tue", "wed", "thu", "fri", "sat", "sun"};
constexpr int kHoursPerDay = 24;

int DayOf(const QString& name) {
  for (int d = 0; d < LTSchedule::kDays; ++d)
    if (name.compare(QLatin1String(kDayNames[d]), Qt::CaseInsensitive) == 0) return d;
  return -1;
}

}  // namespace

bool LTSchedule::Operates(int nHourOfYear) const {
  if (always) return true;
  const int hour = nHourOfYear % kHoursPerDay;
  const int day = (nHourOfYear / kHoursPerDay) % kDays;  // 1 January: Monday
  return days[std::size_t(day)] && hour >= fromHour && hour < toHour;
}

QString LTSchedule::Text() const {
  if (always) return QStringLiteral("always");
  QString text = QStringLiteral("%1-%2").arg(fromHour, 2, 10, QLatin1Char('0')).arg(toHour, 2, 10, QLatin1Char('0'));
  if (std::all_of(days.begin(), days.end(), [](bool b) { return b; })) return text;
  // Runs of days as ranges: "mon-fri", "mon,wed,fri", "mon-wed,sat".
  QStringList parts;
  for (int d = 0; d < kDays;) {
    if (!days[std::size_t(d)]) {
      ++d;
      continue;
    }
    int end = d;
    while (end + 1 < kDays && days[std::size_t(end + 1)]) ++end;
    parts << (end > d + 1 ? QStringLiteral("%1-%2").arg(QLatin1String(kDayNames[d]), QLatin1String(kDayNames[end]))
                          : QString::fromLatin1(kDayNames[d]));
    if (end == d + 1) parts << QString::fromLatin1(kDayNames[end]);
    d = end + 1;
  }
  // On no day at all: "07-19,none", which reads back as it is.
  if (parts.isEmpty()) parts << QStringLiteral("none");
  return text + QLatin1Char(',') + parts.join(QLatin1Char(','));
}

bool LTSchedule::Parse(const QString& szText, LTSchedule& out, QString& szWhy) {
  const QString text = szText.trimmed();
  if (text.compare(QLatin1String("always"), Qt::CaseInsensitive) == 0) {
    out = LTSchedule{};
    return true;
  }
  static const QRegularExpression kHours(QStringLiteral("^(\\d{1,2})-(\\d{1,2})$"));
  const QStringList parts = text.split(QLatin1Char(','));
  const QRegularExpressionMatch hours = kHours.match(parts.first().trimmed());
  if (!hours.hasMatch()) {
    szWhy = TBaseMsg::Tr(QStringLiteral("\"%1\" is neither \"always\" nor hours such as 07-19")).arg(szText);
    return false;
  }
  LTSchedule s;
  s.always = false;
  s.fromHour = hours.captured(1).toInt();
  s.toHour = hours.captured(2).toInt();
  if (!(s.fromHour >= 0 && s.fromHour < s.toHour && s.toHour <= kHoursPerDay)) {
    szWhy = TBaseMsg::Tr(QStringLiteral("the hours %1 do not run forwards within 00-24")).arg(parts.first().trimmed());
    return false;
  }
  if (parts.size() > 1) {
    s.days.fill(false);
    for (const QString& part : parts.mid(1)) {
      if (part.trimmed().compare(QLatin1String("none"), Qt::CaseInsensitive) == 0 && parts.size() == 2) break;
      const QStringList range = part.trimmed().split(QLatin1Char('-'));
      const int first = DayOf(range.first().trimmed());
      const int last = range.size() == 2 ? DayOf(range.last().trimmed()) : first;
      if (first < 0 || last < first || range.size() > 2) {
        szWhy = TBaseMsg::Tr(QStringLiteral("\"%1\" is not a day (mon, tue, ... sun) or a run of days such as mon-fri")).arg(part.trimmed());
        return false;
      }
      for (int d = first; d <= last; ++d) s.days[std::size_t(d)] = true;
    }
  }
  out = s;
  return true;
}

// ------------------------------------------------------------ prices

namespace {

struct LTPriceField {
  const char* name;
  double LTPrices::*value;
  double min, max;
};

const LTPriceField kPriceFields[] = {
    {"heat", &LTPrices::heatPrice, 0, 100},
    {"efficiency", &LTPrices::heatEfficiency, 0.1, 10},  // heat pumps beyond 1
    {"cop", &LTPrices::coolingCop, 0.1, 20},
    {"electricity", &LTPrices::electricityPrice, 0, 100},
    {"heat-co2", &LTPrices::heatCo2, 0, 10},
    {"electricity-co2", &LTPrices::electricityCo2, 0, 10},
};

}  // namespace

QString LTPrices::Text() const {
  QStringList parts;
  for (const LTPriceField& f : kPriceFields)
    parts << QStringLiteral("%1=%2").arg(QLatin1String(f.name), TBaseMsg::FormatGeneral(this->*f.value, 15));
  return parts.join(QLatin1Char(','));
}

bool LTPrices::Parse(const QString& szText, LTPrices& out, QString& szWhy) {
  LTPrices p = out;
  for (const QString& part : szText.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
    const qsizetype eq = part.indexOf(QLatin1Char('='));
    const QString name = part.left(eq).trimmed();
    const auto field = std::find_if(std::begin(kPriceFields), std::end(kPriceFields),
                                    [&](const LTPriceField& f) { return name == QLatin1String(f.name); });
    if (eq < 0 || field == std::end(kPriceFields)) {
      szWhy = TBaseMsg::Tr(QStringLiteral("\"%1\" is not one of heat=, efficiency=, cop=, electricity=, heat-co2=, electricity-co2="))
                  .arg(part.trimmed());
      return false;
    }
    double value = 0;
    if (!TBaseMsg::TryParseNumber(part.mid(eq + 1).trimmed(), value) || !(value >= field->min && value <= field->max)) {
      szWhy = TBaseMsg::Tr(QStringLiteral("%1 must be a number from %2 to %3"))
                  .arg(name, TBaseMsg::FormatGeneral(field->min, 6), TBaseMsg::FormatGeneral(field->max, 6));
      return false;
    }
    p.*field->value = value;
  }
  out = p;
  return true;
}

