#pragma once
// The explanations the information buttons of the window open: a caption
// and lines of text per topic.
//
//   0 inlet heater (units with efficiencies)   4 supply/nominal ratio (coil units)
//   1 inlet heater (fresh-air units)           5 additional resistance
//   2 supply heater                            6 upside-down installation
//   3 exhaust/supply ratio                     7 plenums

#include <QString>
#include <QStringList>

class CTCatalogueSession;

struct LTExplanation {
  QString caption;
  QStringList lines;
};

class CTExplanations {
 public:
  static constexpr int kTopicCount = 8;
  // The topic's text; empty for a number outside 0 to 7. The plenum topic
  // names the units of the session that offer a plenum (none without one).
  static LTExplanation Topic(int nTopic, const CTCatalogueSession* pSession = nullptr);
};
