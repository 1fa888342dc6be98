// The configuration drawing of demonstration units through the recorder:
// which pictures, labels, limit boxes and note it draws.

#include "DemoCatalogue.h"
#include "charts/ConfigDrawing.h"
#include "charts/RecordingSurface.h"

#include <QRegularExpression>

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

// Whether an arrow picture points up: its head, the widest run of dark
// rows, lies in its upper half.
bool PointsUp(const QImage& arrow) {
  int widest = -1, widestRow = 0;
  for (int y = 0; y < arrow.height(); ++y) {
    int dark = 0;
    for (int x = 0; x < arrow.width(); ++x) {
      const QColor c = arrow.pixelColor(x, y);
      dark += c.alpha() > 128 && qGray(c.rgb()) < 128;
    }
    if (dark > widest) {
      widest = dark;
      widestRow = y;
    }
  }
  return widestRow < arrow.height() / 2;
}

// Each stream's arrow points the way its air flows: room and outdoor air
// into the unit (or its heater), exhaust and supply air out of it. An
// arrow above the unit points into it when it points down; one below it
// when it points up.
TEST_F(ConfigDrawing, ArrowsPointTheWayTheAirFlows) {
  std::unique_ptr<Cls_HRX> unit = Unit("NV-400");
  ASSERT_NE(unit, nullptr);
  LTConfigData data;
  data.hasInletHeater = data.hasSupplyHeater = true;  // outdoor and supply air get arrows of their own
  CTConfigDrawing::DrawConfiguration(surface, 800, 600, unit.get(), true, data);
  const QStringList& calls = surface.Calls();
  // The unit is the first picture: "Image left top right bottom w h".
  const int unitCall = int(calls.indexOf(QRegularExpression("Image .*")));
  ASSERT_GE(unitCall, 0);
  const int unitTop = calls[unitCall].split(' ')[2].toInt();
  const struct {
    const char* label;
    bool into;
  } streams[] = {{"Room Air (RA)", true},      {"Outdoor Air (OA)", true},     {"Ventilation In (VI)", true},
                 {"Exhaust Air (EA)", false},  {"Supply Air (SA)", false},     {"Ventilation Out (VO)", false}};
  for (const auto& stream : streams) {
    SCOPED_TRACE(stream.label);
    const int text = int(calls.indexOf(
        QRegularExpression(QStringLiteral("TextOut -?\\d+ -?\\d+ ") + QRegularExpression::escape(stream.label))));
    // The label follows its arrow.
    ASSERT_GT(text, 0);
    ASSERT_TRUE(calls[text - 1].startsWith("Image ")) << calls[text - 1].toStdString();
    const int picture = int(calls.mid(0, text).filter(QRegularExpression("^Image ")).size()) - 1;
    const QStringList arrow = calls[text - 1].split(' ');
    const bool above = arrow[4].toInt() <= unitTop;
    const bool up = PointsUp(surface.Images()[picture]);
    EXPECT_EQ(above ? !up : up, stream.into);
  }
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
