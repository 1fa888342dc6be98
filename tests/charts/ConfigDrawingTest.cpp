// The configuration drawing of demonstration units through the recorder:
// which pictures, labels, limit boxes and note it draws.

#include "DemoCatalogue.h"
#include "charts/ConfigDrawing.h"
#include "charts/RecordingSurface.h"

#include <gtest/gtest.h>

namespace {

struct ConfigDrawing : DemoCatalogueTest {
  QStringList Texts() const {
    QStringList texts;
    for (const QString& call : surface.Calls())
      if (call.startsWith("TextOut")) texts << call.section(' ', 3);
    return texts;
  }
  int Images() const {
    int n = 0;
    for (const QString& call : surface.Calls()) n += call.startsWith("Image");
    return n;
  }
  CTRecordingSurface surface;
};

TEST_F(ConfigDrawing, APlainUnitWithLimitsShowsEveryStreamItsBoxesAndTheNote) {
  std::unique_ptr<Cls_HRX> unit = Unit("NV-400");
  ASSERT_NE(unit, nullptr);
  LTConfigData data;
  data.hasInletHeater = true;
  CTConfigDrawing::DrawConfiguration(surface, 800, 600, unit.get(), true, data);
  const QStringList texts = Texts();
  for (const char* label : {"Exhaust Air (EA)", "Room Air (RA)", "Ventilation In (VI)", "Ventilation Out (VO)",
                            "Inlet Heater", "Outdoor Air (OA)", "Supply Air (SA)", "Exhaust air limits",
                            "Room air limits", "Exchanger limits", "Ventilation in limits", "Ventilation out limits"})
    EXPECT_TRUE(texts.contains(label)) << label;
  // The unit, two arrows above, two below, the heater with its two arrows.
  EXPECT_EQ(Images(), 1 + 2 + 2 + 3);
  EXPECT_TRUE(texts.join(' ').contains("The minimum ventilation in temperature is"));
}

TEST_F(ConfigDrawing, AFreshAirUnitShowsOnlyItsVentilationStreams) {
  std::unique_ptr<Cls_HRX> unit = Unit("NV-FA800");
  ASSERT_NE(unit, nullptr);
  CTConfigDrawing::DrawConfiguration(surface, 800, 600, unit.get(), true, LTConfigData{});
  const QStringList texts = Texts();
  EXPECT_FALSE(texts.contains("Exhaust Air (EA)"));
  EXPECT_FALSE(texts.contains("Room air limits"));
  EXPECT_TRUE(texts.contains("Ventilation in limits"));
  EXPECT_TRUE(texts.contains("Ventilation out limits"));
  EXPECT_FALSE(texts.join(' ').contains("minimum ventilation in temperature"));  // no note
  EXPECT_EQ(Images(), 1 + 2);
}

TEST_F(ConfigDrawing, UpsideDownTakesTheUpsideDownLimits) {
  for (const auto& unitName : {"NV-250", "NV-400", "NV-650", "NV-1000"}) {
    std::unique_ptr<Cls_HRX> unit = Unit(unitName);
    if (!unit->GetCanBeUpsideDown()) continue;
    LTConfigData data;
    data.upsideDown = true;
    surface.Clear();
    CTConfigDrawing::DrawConfiguration(surface, 800, 600, unit.get(), true, data);
    const QString expected = QStringLiteral("Maximum relative humidity: %1%").arg(int(std::nearbyint(unit->GetEAMaxRHUpsideDown())));
    EXPECT_TRUE(Texts().contains(expected)) << unitName;
    return;
  }
  FAIL() << "the demonstration catalogue has a unit that mounts upside down";
}

TEST(ConfigNote, SplitsAtABlankOrWhereTheTextNoLongerFits) {
  const CTRecordingSurface surface(6, 14);  // 6 pixels a character
  // Fits: one line.
  EXPECT_EQ(CTConfigDrawing::SplitNote(surface, "short note", 100), (QStringList{"short note"}));
  // Cut back blank by blank, the blank kept on the first line.
  EXPECT_EQ(CTConfigDrawing::SplitNote(surface, "one two three four", 60), (QStringList{"one two ", "three four"}));
  // No blank: cut where the text stops fitting, and the split ends.
  EXPECT_EQ(CTConfigDrawing::SplitNote(surface, "abcdefghijklmnop", 60), (QStringList{"abcdefghij", "klmnop"}));
}

}  // namespace
