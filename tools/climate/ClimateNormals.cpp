#include "tools/climate/ClimateNormals.h"

#include <QRegularExpression>

#include <cmath>

namespace {

enum Key { kYear, kPlace, kElevation, kMean, kRange, kRh, kKeyCount };
const char* const kKeyNames[kKeyCount] = {"year", "place", "elevation", "mean", "range", "rh"};

struct Block {
  LTClimateNormals normals;
  int line = 0;  // of its "year" line
  bool seen[kKeyCount] = {};
};

// Twelve numbers within nMin..nMax into values.
QString ReadMonths(const QStringList& words, double nMin, double nMax, std::array<double, 12>& values) {
  if (words.size() != 12)
    return QStringLiteral("%1 values where 12 (January to December) were expected").arg(words.size());
  for (int m = 0; m < 12; ++m) {
    bool ok = false;
    const double v = words[m].toDouble(&ok);
    // Negated so that a NaN fails too.
    if (!ok || !(v >= nMin && v <= nMax))
      return QStringLiteral("month %1: \"%2\" is not a number within %3..%4")
          .arg(m + 1)
          .arg(words[m])
          .arg(nMin)
          .arg(nMax);
    values[std::size_t(m)] = v;
  }
  return QString();
}

// The value of one keyword line into block; a problem text or empty.
QString ReadKey(Key key, const QString& szRest, const QStringList& words, Block& block) {
  LTClimateNormals& n = block.normals;
  switch (key) {
    case kYear:
      break;  // read where the block starts
    case kPlace:
      if (szRest.isEmpty()) return QStringLiteral("place needs a name");
      n.place = szRest;
      break;
    case kElevation: {
      bool ok = false;
      const double v = words.size() == 1 ? words[0].toDouble(&ok) : 0;
      if (!ok || !(v >= CTClimateNormals::kMinElevationM && v <= CTClimateNormals::kMaxElevationM))
        return QStringLiteral("elevation needs one number of metres within %1..%2")
            .arg(CTClimateNormals::kMinElevationM)
            .arg(CTClimateNormals::kMaxElevationM);
      n.elevationM = v;
      break;
    }
    case kMean:
      return ReadMonths(words, CTClimateNormals::kMinMeanC, CTClimateNormals::kMaxMeanC, n.meanC);
    case kRange:
      return ReadMonths(words, 0, CTClimateNormals::kMaxRangeK, n.rangeK);
    case kRh:
      return ReadMonths(words, CTClimateNormals::kMinRh, CTClimateNormals::kMaxRh, n.rhPercent);
    case kKeyCount:
      break;
  }
  return QString();
}

void Finish(const Block& block, std::vector<LTClimateNormals>& years, QStringList& problems) {
  for (int k = 0; k < kKeyCount; ++k)
    if (!block.seen[k])
      problems << QStringLiteral("line %1: year %2 has no %3 line").arg(block.line).arg(block.normals.id, kKeyNames[k]);
  for (const LTClimateNormals& other : years)
    if (other.id == block.normals.id)
      problems << QStringLiteral("line %1: year %2 is given twice").arg(block.line).arg(block.normals.id);
  years.push_back(block.normals);
}

}  // namespace

bool CTClimateNormals::Parse(const QByteArray& text, std::vector<LTClimateNormals>& years, QStringList& problems) {
  static const QRegularExpression kId(QStringLiteral("^[a-z]+(-[a-z]+)*$"));
  static const QRegularExpression kSpaces(QStringLiteral("\\s+"));
  std::vector<LTClimateNormals> read;
  const int problemsBefore = int(problems.size());
  Block block;
  bool inBlock = false;
  const QList<QByteArray> lines = text.split('\n');
  for (int i = 0; i < lines.size(); ++i) {
    const QString line = QString::fromUtf8(lines[i]).trimmed();
    const int number = i + 1;
    if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) continue;
    const qsizetype space = line.indexOf(kSpaces);
    const QString keyword = space < 0 ? line : line.left(space);
    const QString rest = space < 0 ? QString() : line.mid(space).trimmed();
    const QStringList words = rest.split(kSpaces, Qt::SkipEmptyParts);
    int key = 0;
    while (key < kKeyCount && keyword != QLatin1String(kKeyNames[key])) ++key;
    if (key == kKeyCount) {
      problems << QStringLiteral("line %1: unknown keyword \"%2\"").arg(number).arg(keyword);
      continue;
    }
    if (key == kYear) {
      if (inBlock) Finish(block, read, problems);
      block = Block();
      block.line = number;
      inBlock = true;
      if (words.size() != 1 || !kId.match(words[0]).hasMatch())
        problems << QStringLiteral("line %1: year needs one id of lower-case letters and \"-\"").arg(number);
      block.normals.id = words.value(0);
    } else if (!inBlock) {
      problems << QStringLiteral("line %1: %2 before the first year line").arg(number).arg(keyword);
      continue;
    }
    if (block.seen[key] && key != kYear)
      problems << QStringLiteral("line %1: %2 given twice for year %3").arg(number).arg(keyword, block.normals.id);
    block.seen[key] = true;
    if (const QString why = ReadKey(Key(key), rest, words, block); !why.isEmpty())
      problems << QStringLiteral("line %1: %2").arg(number).arg(why);
  }
  if (inBlock) Finish(block, read, problems);
  if (read.empty()) problems << QStringLiteral("no year is given");
  if (int(problems.size()) > problemsBefore) return false;
  years = std::move(read);
  return true;
}
