#include "i18n/BuildDistributor.h"

namespace {

// A translated build's glossary marks a line it leaves empty in its language.
const QLatin1String kNoTextMark("<r-t>");

}  // namespace

QStringList CTBuildDistributor::Lines() {
  // The three address lines of the build's distributor; a translated
  // build's glossary fills them. This build has no distributor.
  const QStringList placeholders{QString(), QString(), QString()};
  return VisibleLines(placeholders);
}

QStringList CTBuildDistributor::VisibleLines(const QStringList& lines) {
  QStringList visible;
  for (const QString& line : lines)
    if (!line.isEmpty() && line != kNoTextMark) visible << line;
  return visible;
}
