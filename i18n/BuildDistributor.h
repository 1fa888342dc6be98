#pragma once
// CTBuildDistributor: the distributor a build is delivered by, as three
// address lines that a translated build's glossary fills. The about box shows
// them, and the report's footer prints the same lines in its centre; both show
// only the lines that are visible.

#include <QString>
#include <QStringList>

class CTBuildDistributor {
 public:
  // The build's lines that show; none in a build without a distributor.
  static QStringList Lines();
  // The lines that show: a line that is empty, or "<r-t>" (a translator's
  // mark for "no text in this language"), does not.
  static QStringList VisibleLines(const QStringList& lines);
};
