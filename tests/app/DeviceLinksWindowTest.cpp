// The device-information window over a small catalogue of our own, and the
// main window's buttons that open it, driven as a user drives them.

#include "OnlineHelpers.h"
#include "WindowFixture.h"
#include "catalogue/CatalogueTest.h"

#include "app/DeviceLinks.h"
#include "app/FrameBottomPanelExt.h"
#include "catalogue/ClHRX.h"
#include "catalogue/ClStaticURL.h"
#include "i18n/LangSupport.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>

namespace {

const QString kScript = "http://127.0.0.1:8123/scripts/show_doc.asp?";

class DeviceWindow : public CatalogueTest {
 protected:
  void SetUp() override {
    CatalogueTest::SetUp();
    CTLangSupport::SetLocaleData(11868, 1033);
    TDlgSelect::SetLinkOpener([this](const QString& url) { v_opened << url; });
  }
  void TearDown() override {
    TDlgSelect::SetLinkOpener({});
    CTLangSupport::SetLocaleData(CTCountryDefinition::OwnNumber("USA"), 1033);
    CatalogueTest::TearDown();
  }
  void Link(const QString& szTitle, const QString& szUrl, const QString& szLookup) {
    Cls_StaticURL link;
    link.SetTitle(szTitle);
    link.SetURL(szUrl);
    link.SetLookupSeries(szLookup);
    link.Insert();
  }
  // The rows' captions as the window shows them, box by box.
  static QStringList Shown(const QWidget* pBox) {
    QStringList captions;
    for (const QLabel* label : pBox->findChildren<QLabel*>()) captions << label->text();
    return captions;
  }
  static void Save(QWidget& window, const char* szName) {
    if (const QByteArray folder = qgetenv("AEROLITH_SCREENSHOT_DIR"); !folder.isEmpty())
      window.grab().save(QString::fromLocal8Bit(folder) + '/' + szName);
  }

  QStringList v_opened;
};

TEST_F(DeviceWindow, RowsInTheirBoxesAndEachButtonOpensItsAddress) {
  Link("NVH sheet", "https://www.norvane.example/nvh.pdf", "HRV-NVH");
  Link("NVD sheet", "https://www.norvane.example/nvd.pdf", "HRV-NVD");
  const BuildOf build(0);
  const ServerAt server("127.0.0.1:8123");
  TFrmDeviceLinks window(nullptr, &v_factory, "HRV-NVH", "", CTDeviceLinks::kBuildServer);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  EXPECT_EQ(window.windowTitle(), "Device Information");
  auto* tabs = window.findChild<QTabWidget*>("Ctl_Tabs");
  ASSERT_EQ(tabs->count(), 1);
  EXPECT_EQ(tabs->tabText(0), "HRV-NVH");
  auto* internet = window.findChild<QGroupBox*>("Box_Internet");
  auto* extranet = window.findChild<QGroupBox*>("Box_Extranet");
  EXPECT_TRUE(internet->isVisible());
  EXPECT_TRUE(extranet->isVisible());
  EXPECT_FALSE(window.findChild<QWidget*>("Pnl_Links")->isVisible());
  EXPECT_EQ(internet->title(), "Norvane Internet");
  EXPECT_EQ(extranet->title(), "Norvane Extranet");
  EXPECT_EQ(Shown(internet), (QStringList{"Commercial information", "NVH sheet"}));
  EXPECT_EQ(Shown(extranet), QStringList{"Documentation"});
  EXPECT_FALSE(window.findChild<TFraBottomPanelExt*>()->CancelButton()->isVisible()) << "OK only";
  Save(window, "device-information.png");

  for (int row = 0; row < 3; ++row) {
    auto* open = window.findChild<QPushButton*>(QStringLiteral("Btn_Open%1").arg(row));
    ASSERT_NE(open, nullptr) << row;
    EXPECT_EQ(open->text(), "Open in browser");
    EXPECT_TRUE(open->isFlat());
    QTest::mouseClick(open, Qt::LeftButton);
  }
  EXPECT_EQ(v_opened, (QStringList{kScript + "series=HRV-NVH&country=11868&type=1&caller=Aerolith",
                                   kScript + "series=HRV-NVH&country=11868&type=3&caller=Aerolith"
                                             "&page=https%3A//www.norvane.example/nvh.pdf",
                                   kScript + "series=HRV-NVH&country=11868&type=2&caller=Aerolith"}));
}

TEST_F(DeviceWindow, WithoutAKeywordTheLinksForEverySeriesStandAlone) {
  Link("All series", "https://www.norvane.example/all", "");
  Link("NVH sheet", "https://www.norvane.example/nvh.pdf", "HRV-NVH");
  const BuildOf build(0);
  const ServerAt server("127.0.0.1:8123");
  TFrmDeviceLinks window(nullptr, &v_factory, "", "Ventilation", CTDeviceLinks::kBuildServer);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  EXPECT_EQ(window.findChild<QTabWidget*>("Ctl_Tabs")->tabText(0), "Ventilation - General");
  EXPECT_FALSE(window.findChild<QGroupBox*>("Box_Internet")->isVisible());
  EXPECT_FALSE(window.findChild<QGroupBox*>("Box_Extranet")->isVisible());
  auto* links = window.findChild<QWidget*>("Pnl_Links");
  EXPECT_TRUE(links->isVisible());
  EXPECT_EQ(Shown(links), QStringList{"All series"});
  QTest::mouseClick(window.findChild<QPushButton*>("Btn_Open0"), Qt::LeftButton);
  EXPECT_EQ(v_opened, QStringList{kScript + "series=&country=11868&type=3&caller=Aerolith"
                                            "&page=https%3A//www.norvane.example/all"});
}

TEST_F(DeviceWindow, ABuildWithoutServerOpensNothing) {
  const BuildOf build(3);
  TFrmDeviceLinks window(nullptr, &v_factory, "HRV-NVH", "", CTDeviceLinks::kBuildServer);
  ASSERT_EQ(window.Rows().size(), 2);
  window.Btn_OpenClick(0);
  window.Btn_OpenClick(1);
  window.Btn_OpenClick(2);  // no such row
  EXPECT_TRUE(v_opened.isEmpty()) << v_opened.join(' ').toStdString();
}

TEST_F(DeviceWindow, ShownModallyOrWarnedAbout) {
  const BuildOf build(0);
  const ServerAt server("127.0.0.1:8123");
  // Nothing for an empty keyword: the warning, and no window.
  bool windowShown = false;
  QTimer guard;
  QObject::connect(&guard, &QTimer::timeout, [&] {
    if (auto* window = qobject_cast<TFrmDeviceLinks*>(QApplication::activeModalWidget())) {
      windowShown = true;
      window->Btn_OKClick();
    }
  });
  guard.start(0);
  TFrmDeviceLinks::ShowInformationAbout(nullptr, &v_factory, "", "", CTDeviceLinks::kBuildServer);
  guard.stop();
  EXPECT_FALSE(windowShown);
  EXPECT_EQ(v_messages.shown, QStringList{"No online information available for ''"});

  // A keyword: the window, whose rows open their addresses.
  v_messages.shown.clear();
  QString title;
  WhenModal<TFrmDeviceLinks>([&](TFrmDeviceLinks& window) {
    title = window.findChild<QTabWidget*>("Ctl_Tabs")->tabText(0);
    QTest::mouseClick(window.findChild<QPushButton*>("Btn_Open0"), Qt::LeftButton);
    window.findChild<TFraBottomPanelExt*>()->OkButton()->click();
  });
  TFrmDeviceLinks::ShowInformationAbout(nullptr, &v_factory, "A&B", "", CTDeviceLinks::kBuildServer);
  EXPECT_EQ(title, "A&&B") << "a tab caption shows '&' doubled";
  EXPECT_EQ(v_opened, QStringList{kScript + "series=A%26B&country=11868&type=1&caller=Aerolith"});
  EXPECT_TRUE(v_messages.shown.isEmpty());
}

// ---- the main window's buttons ----

class OnlineInfoButtons : public WindowFixture<> {
 protected:
  void ShowResultsOf(const char* szFamily) { Choose("Txt_Family", szFamily); }
  QPushButton* Button(const char* szName) const { return v_window->findChild<QPushButton*>(szName); }
};

TEST_F(OnlineInfoButtons, ShowForAUnitWithAKeywordAndOpenItsInformation) {
  for (const char* name : {"Btn_ResultOnlineInfo", "Btn_DBOnlineInfo"}) {
    ASSERT_NE(Button(name), nullptr) << name;
    EXPECT_EQ(Button(name)->text(), "Consult online information");
  }
  {
    const BuildOf build(2);  // a server without online information
    ShowResultsOf("HRX");
    ASSERT_NE(v_window->CurrentHRX(), nullptr);
    EXPECT_TRUE(Button("Btn_ResultOnlineInfo")->isHidden());
    EXPECT_TRUE(Button("Btn_DBOnlineInfo")->isHidden());
  }
  const BuildOf build(0);
  ShowResultsOf("HRX");
  ASSERT_NE(v_window->CurrentHRX(), nullptr);
  EXPECT_EQ(v_window->CurrentHRX()->GetSeries(), "NVH");
  EXPECT_FALSE(Button("Btn_ResultOnlineInfo")->isHidden());
  EXPECT_FALSE(Button("Btn_DBOnlineInfo")->isHidden());

  for (const char* name : {"Btn_ResultOnlineInfo", "Btn_DBOnlineInfo"}) {
    QString tab;
    WhenModal<TFrmDeviceLinks>([&](TFrmDeviceLinks& window) {
      tab = window.findChild<QTabWidget*>("Ctl_Tabs")->tabText(0);
      window.Btn_OKClick();
    });
    Button(name)->click();
    EXPECT_EQ(tab, "HRV-NVH") << name << ": the family's look-up series";
  }
  EXPECT_TRUE(v_messages.shown.isEmpty()) << v_messages.shown.join('\n').toStdString();
}

}  // namespace
