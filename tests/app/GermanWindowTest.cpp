// The program in German: with German chosen in the locale store, the
// window's forms, tool tips, messages, the catalogue's texts on the Database
// tab and the result captions come from the German glossaries.

#include "WindowFixture.h"
#include "app/ApplicationUtils.h"
#include "app/BasicDlg.h"
#include "app/FormTranslation.h"
#include "docs/Glossaries.h"
#include "i18n/LangSupport.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QTabWidget>

namespace {

class GermanLocale : public testing::Test {
 protected:
  void SetUp() override {
    CTLangSupport::SetLocaleData(CTCountryDefinition::OwnNumber(QStringLiteral("DEU")), 1031);
    ASSERT_TRUE(ApplicationUtils::LoadInterfaceGlossary()) << "the German interface glossary is one of the program's";
  }
  void TearDown() override {
    CTGlossaries::Reset();
    TBasicDialog::SetLoadedHook({});
    CTLangSupport::SetLocaleData(CTCountryDefinition::OwnNumber(QStringLiteral("USA")), 1033);
  }
};

// The fixture chooses English for its window: German again before it starts.
class GermanWindow : public WindowFixture<GermanLocale> {
 protected:
  void SetUp() override {
    GermanLocale::SetUp();
    CountEarlierStart();
    TBaseMsg::SetPresenter(&v_messages);
    v_window = std::make_unique<TDlgSelect>();
    ASSERT_TRUE(v_window->StartUp({}));
    v_window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(v_window.get()));
  }
  bool HasLabel(const QString& text) const {
    for (const QLabel* label : v_window->findChildren<QLabel*>())
      if (label->text() == text) return true;
    return false;
  }
};

}  // namespace

TEST_F(GermanWindow, FormsMessagesCatalogueAndResultsAreGerman) {
  const QTabWidget* pages = v_window->Pages();
  QStringList tabs;
  for (int i = 0; i < pages->count(); ++i) tabs << pages->tabText(i);
  EXPECT_TRUE(tabs.contains(QStringLiteral("Auswahl"))) << tabs.join('|').toStdString();
  EXPECT_TRUE(tabs.contains(QStringLiteral("Ergebnisse")));
  EXPECT_EQ(v_window->Action(QStringLiteral("ACF_Report"))->text(), QStringLiteral("Bericht..."));
  EXPECT_NE(v_window->Action(QStringLiteral("ACF_Report"))->toolTip(),
            QStringLiteral("Creates a report about the selected ventilation device"));
  EXPECT_TRUE(HasLabel(QStringLiteral("Temperaturwirkungsgrad"))) << "the result captions";
  EXPECT_TRUE(TBaseMsg::GetUnicodeString(121).startsWith(QStringLiteral("Es ist kein Lüftungsgerät ausgewählt!")));

  // The Database tab: the catalogue's option texts through the catalogue glossary.
  v_window->Pages()->setCurrentWidget(v_window->findChild<QWidget*>(QStringLiteral("Tab_Database")));
  const CTUnicodeGlossary* catalogue = CTGlossaries::LoadCatalogue(1031);
  ASSERT_NE(catalogue, nullptr);
  const QString german = catalogue->Translated(QStringLiteral("Wired remote controller"));
  ASSERT_NE(german, QStringLiteral("Wired remote controller"));
  const auto* description = v_window->findChild<QLabel*>(QStringLiteral("Txt_DBOptDescription"));
  ASSERT_NE(description, nullptr);
  EXPECT_EQ(description->text(), german);

  // Translating again keeps a combo box's choice.
  auto* filter = v_window->findChild<QComboBox*>(QStringLiteral("Txt_SupplyFilter"));
  filter->setCurrentIndex(2);
  TranslateFormAtRuntime(*CTGlossaries::Interface(), v_window.get());
  EXPECT_EQ(filter->currentIndex(), 2);
  EXPECT_EQ(filter->itemText(0), QStringLiteral("<Keiner>"));

  if (const QByteArray folder = qgetenv("AEROLITH_SCREENSHOT_DIR"); !folder.isEmpty())
    v_window->grab().save(QString::fromLocal8Bit(folder) + QStringLiteral("/german.png"));
}
