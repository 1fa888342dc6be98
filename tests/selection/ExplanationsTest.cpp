// The explanation topics: every topic has a caption and text, numbers
// outside 0 to 7 have none, the supply heater names the right air, and the
// plenum topic names the demonstration units that offer a plenum (the
// NPL-* options of 60-options.cat).

#include "DemoCatalogue.h"
#include "selection/Explanations.h"

using Explanations = DemoCatalogueTest;

TEST_F(Explanations, TopicsAndTheirTexts) {
  const char* const captions[] = {"Inlet Heater",    "DQTL-MF Heater", "Supply Heater",           "Ratio",
                                  "HRD Ratio",       "Additional Resistance", "Upside Down Installation", "Plenum"};
  for (int topic = 0; topic < CTExplanations::kTopicCount; ++topic) {
    const LTExplanation e = CTExplanations::Topic(topic, &Session());
    EXPECT_EQ(e.caption, QString::fromUtf8(captions[topic])) << topic;
    EXPECT_FALSE(e.lines.isEmpty()) << topic;
  }
  for (const int outside : {-1, 8}) EXPECT_TRUE(CTExplanations::Topic(outside).caption.isEmpty());
  // The supply heater warms the ventilation out air.
  EXPECT_TRUE(CTExplanations::Topic(2).lines.join(' ').contains("ventilation out air (VO) and supply air (SA)"));
}

TEST_F(Explanations, PlenumTopicNamesTheUnitsWithAPlenum) {
  const QString text = CTExplanations::Topic(7, &Session()).lines.join('\n');
  EXPECT_TRUE(text.contains("HRX models (NV-250, NV-400, NV-650, NV-1000, NV-500D, NV-1000D), you can")) << text.toStdString();
  EXPECT_TRUE(text.contains("marked by a \"✔\" in the solution overview"));
  EXPECT_FALSE(text.contains('$'));
}
