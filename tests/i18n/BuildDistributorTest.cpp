// The build's distributor lines as the about box shows them and the report's
// footer prints them.

#include "i18n/BuildDistributor.h"

#include <gtest/gtest.h>

namespace {

TEST(BuildDistributor, EmptyLinesAndTheTranslatorsMarkDoNotShow) {
  struct Case {
    QStringList lines, visible;
  };
  const Case cases[] = {
      {{"Klima AG", "Ringstrasse 1", "Bern"}, {"Klima AG", "Ringstrasse 1", "Bern"}},
      {{"", "<r-t>", "Bern"}, {"Bern"}},
      {{"<r-t>", "", ""}, {}},
      // Only the whole mark hides a line.
      {{"<r-t> Klima AG", "", ""}, {"<r-t> Klima AG"}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(CTBuildDistributor::VisibleLines(c.lines), c.visible) << c.lines.join('|').toStdString();
  EXPECT_EQ(CTBuildDistributor::Lines(), QStringList()) << "this build has no distributor";
}

}  // namespace
