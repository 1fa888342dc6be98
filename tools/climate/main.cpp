// aerolith-climate: the synthetic hourly weather years of the demonstration
// climates, made from monthly climate normals (the method is described in
// SyntheticYear.h).
//
//   aerolith-climate generate NORMALS --out DIR
//       reads NORMALS (resources/climate/normals.txt) and writes DIR/<id>.csv
//       for each year in it, as our weather CSV
//
// Each year is checked as written, to the two decimals of the file: every
// month's mean dry bulb within kWrittenToleranceK of its normal, its mean
// daily range and mean relative humidity close to theirs. A year that misses
// fails the build rather than ship.

#include "psychro/Rounding.h"
#include "tools/climate/ClimateNormals.h"
#include "tools/climate/SyntheticYear.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QTextStream>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kWrittenToleranceK = 0.01;
constexpr double kWrittenToleranceRh = 0.05;  // percent
constexpr int kDaysInMonth[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

struct Deviations {
  double meanK = 0;   // largest monthly deviation of the mean dry bulb
  double rangeK = 0;  // of the mean daily range
  double rh = 0;      // of the mean relative humidity, percent
};

// The largest monthly deviations of the year as written (two decimals) from
// its normals.
Deviations Check(const LTClimateNormals& normals, const std::vector<CTSyntheticYear::Hour>& hours) {
  Deviations worst;
  std::size_t at = 0;
  for (std::size_t m = 0; m < 12; ++m) {
    double sumC = 0, sumRange = 0, sumRh = 0;
    for (int d = 0; d < kDaysInMonth[m]; ++d) {
      double low = INFINITY, high = -INFINITY;
      for (int h = 0; h < 24; ++h, ++at) {
        const double t = Rounding::HalfEven(hours[at].dryBulbC, 100);
        sumC += t;
        sumRh += Rounding::HalfEven(hours[at].relativeHumidity, 100);
        low = std::min(low, t);
        high = std::max(high, t);
      }
      sumRange += high - low;
    }
    const double days = kDaysInMonth[m];
    worst.meanK = std::max(worst.meanK, std::fabs(sumC / (24 * days) - normals.meanC[m]));
    worst.rangeK = std::max(worst.rangeK, std::fabs(sumRange / days - normals.rangeK[m]));
    worst.rh = std::max(worst.rh, std::fabs(sumRh / (24 * days) - normals.rhPercent[m]));
  }
  return worst;
}

bool WriteAtomically(const QString& szPath, const QByteArray& bytes, QString& szWhy) {
  QSaveFile file(szPath);
  if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit()) return true;
  szWhy = QStringLiteral("%1: %2").arg(szPath, file.errorString());
  return false;
}

}  // namespace

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  const QStringList args = QCoreApplication::arguments().mid(1);
  QTextStream err(stderr), out(stdout);
  if (args.size() != 4 || args[0] != QLatin1String("generate") || args[2] != QLatin1String("--out")) {
    err << "usage: aerolith-climate generate NORMALS --out DIR\n";
    return 2;
  }
  const QString normalsPath = args[1], outDir = args[3];
  QFile normalsFile(normalsPath);
  if (!normalsFile.open(QIODevice::ReadOnly)) {
    err << "aerolith-climate: " << normalsPath << ": " << normalsFile.errorString() << "\n";
    return 1;
  }
  std::vector<LTClimateNormals> years;
  QStringList problems;
  if (!CTClimateNormals::Parse(normalsFile.readAll(), years, problems)) {
    for (const QString& p : problems) err << normalsPath << ": " << p << "\n";
    return 1;
  }
  if (!QDir().mkpath(outDir)) {
    err << "aerolith-climate: cannot make " << outDir << "\n";
    return 1;
  }
  for (const LTClimateNormals& normals : years) {
    std::vector<CTSyntheticYear::Hour> hours;
    QString why;
    if (!CTSyntheticYear::Generate(normals, hours, why)) {
      err << "aerolith-climate: " << why << "\n";
      return 1;
    }
    const Deviations worst = Check(normals, hours);
    // Negated so that a NaN fails too.
    if (!(worst.meanK <= kWrittenToleranceK && worst.rangeK <= kWrittenToleranceK && worst.rh <= kWrittenToleranceRh)) {
      err << "aerolith-climate: " << normals.id << ": the written year misses its normals (mean " << worst.meanK
          << " K, range " << worst.rangeK << " K, humidity " << worst.rh << " %)\n";
      return 1;
    }
    const QString path = QDir(outDir).filePath(normals.id + QStringLiteral(".csv"));
    if (!WriteAtomically(path, CTSyntheticYear::Csv(normals, hours), why)) {
      err << "aerolith-climate: " << why << "\n";
      return 1;
    }
    out << path << ": " << CTSyntheticYear::Name(normals) << "; largest monthly deviation from the normals: mean "
        << QString::number(worst.meanK, 'f', 4) << " K, daily range " << QString::number(worst.rangeK, 'f', 4)
        << " K, relative humidity " << QString::number(worst.rh, 'f', 3) << " %\n";
  }
  return 0;
}
