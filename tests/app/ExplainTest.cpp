// The information buttons open their explanation topics.

#include "WindowFixture.h"
#include "app/Explain.h"

#include <QPlainTextEdit>
#include <QToolButton>

class ExplainButtons : public WindowFixture<> {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    TFrm_Explain::SetShowHook([this](int topic) { v_topics << topic; });
  }
  void TearDown() override {
    TFrm_Explain::SetShowHook({});
    WindowFixture::TearDown();
  }
  QList<int> v_topics;
};

TEST_F(ExplainButtons, EachButtonItsTopic) {
  const std::pair<const char*, int> buttons[] = {{"Btn_RatioInfo", 3},      {"Btn_HRDRatioInfo", 4},
                                                 {"Btn_ESPDataInfo", 5},    {"Btn_UpsideDownInfo", 6},
                                                 {"Btn_PlenumInfo", 7},     {"Btn_SupplyHeaterInfo", 2}};
  for (const auto& [name, topic] : buttons) {
    v_topics.clear();
    const QList<QToolButton*> found = v_window->findChildren<QToolButton*>(QString::fromLatin1(name));
    ASSERT_FALSE(found.isEmpty()) << name;
    found.first()->click();
    EXPECT_EQ(v_topics, QList<int>{topic}) << name;
  }
  // The inlet heater of a unit with efficiencies.
  v_topics.clear();
  v_window->findChildren<QToolButton*>(QStringLiteral("Btn_InletHeaterInfo")).first()->click();
  EXPECT_EQ(v_topics, QList<int>{0});
}

TEST(Explain, TheWindowShowsItsTopic) {
  TFrm_Explain window(nullptr, 6, nullptr);
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Upside Down Installation"));
  EXPECT_EQ(window.Mmo_Explain->toPlainText(),
            QStringLiteral("The installation position may have an impact on the inlet heater selection."));
}
