// Preferences: the dialog's choices round trip through the registry store,
// a first start on server 2 is imperial, every unit choice shows in the
// window, Restore Defaults, and the build information.

#include "WindowFixture.h"
#include "app/Preferences.h"
#include "charts/PsychroGraph.h"
#include "docs/Preferences.h"
#include "platform/Registry.h"
#include "platform/VersionUtils.h"
#include "psychro/SI_Units.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace {

// A registry store of the test's own, and SI units and the psychrometric
// chart back in effect afterwards.
class PreferencesStore : public testing::Test {
 protected:
  void SetUp() override {
    v_previousStore = CTRegistryStore::UserFolder();
    CTRegistryStore::SetUserFolder(v_store.path());
    TU_Form::AddApplicationDimensions();
    TU_Form::SelectSIDefaults();
  }
  void TearDown() override {
    CTVersionUtils::SetInfoForTests(nullptr);
    TU_Form::SelectSIDefaults();
    TAirPropDiagram::RestoreRegistryDefaults();
    CTPreferences::SetPrefProjectPath(QString());
    CTPreferences::SetPrefReportPath(QString());
    CTPreferences::SetMaterialList(LTMaterialListSettings{});
    CTRegistryStore::SetUserFolder(v_previousStore);
  }
  static int IndexOf(U_RepUnit unit, const char* caption) {
    for (int i = 0; i < TU_Form::DimensionCount(unit); ++i)
      if (TU_Form::Unit(unit)->v_Dimensions[i]->v_Caption == QString::fromUtf8(caption)) return i;
    return -1;
  }

  QTemporaryDir v_store;
  QString v_previousStore;
};

using Preferences = PreferencesStore;

}  // namespace

TEST_F(Preferences, DialogChoicesRoundTripThroughTheStore) {
  QTemporaryDir projects, reports;
  {
    TFrm_Preferences dialog(nullptr);
    dialog.ChooseDimension(U_Temperature, IndexOf(U_Temperature, "°F"));
    dialog.ChooseDimension(U_Pressure, IndexOf(U_Pressure, "inH2O"));
    dialog.RB_Mollier->setChecked(true);
    dialog.ShowPath(false, projects.path());
    dialog.ShowPath(true, reports.path());
    dialog.Frm_MatList->Txt_SectHeader->setText(QStringLiteral("Ventilation"));
    dialog.Btn_OKClick();
    EXPECT_EQ(dialog.RetCode(), TBasicDialog::kRetOK);
  }
  EXPECT_EQ(TU_Form::GetCurrentString(U_Temperature), QStringLiteral("°F"));
  // What is in effect is forgotten; reading the store brings it back.
  TU_Form::SelectSIDefaults();
  TAirPropDiagram::RestoreRegistryDefaults();
  TAirPropDiagram::LoadLegendFromRegistry(QStringLiteral("Software\\Norvane\\Hi-Trivane Selection\\Aerolith\\Preferences"));
  CTPreferences::SetPrefProjectPath(QString());
  CTPreferences::SetPrefReportPath(QString());
  CTPreferences::ReadRegistry();
  EXPECT_EQ(TU_Form::GetCurrentString(U_Temperature), QStringLiteral("°F"));
  EXPECT_EQ(TU_Form::GetCurrentString(U_Pressure), QStringLiteral("inH2O"));
  EXPECT_EQ(TU_Form::GetCurrentString(U_Airflow), QStringLiteral("l/s"));
  EXPECT_FALSE(TAirPropDiagram::Settings().psychrometric);
  EXPECT_EQ(CTPreferences::PrefProjectPath(), projects.path());
  EXPECT_EQ(CTPreferences::PrefReportPath(), reports.path());
  EXPECT_EQ(CTPreferences::MaterialList().sectionHeader, QStringLiteral("Ventilation"));
  EXPECT_EQ(CTPreferences::StartFolder(true, QStringLiteral("/elsewhere")), reports.path());

  // A folder deleted since: the label asks for one and OK stores nothing.
  const QString gone = projects.path();
  projects.remove();
  TFrm_Preferences dialog(nullptr);
  EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("Lbl_ProjectPath"))->text(),
            QStringLiteral("Choose a directory for saving projects"));
  dialog.Btn_OKClick();
  EXPECT_TRUE(CTPreferences::PrefProjectPath().isEmpty());
  EXPECT_EQ(CTPreferences::StartFolder(false, QStringLiteral("/elsewhere")), QStringLiteral("/elsewhere"));
}

TEST_F(Preferences, FirstStartOnServerTwoIsImperialThenKeepsTheUsersChoice) {
  const LTBuildInfo server2{10, {}, {}, 0, 2};
  CTVersionUtils::SetInfoForTests(&server2);
  CTPreferences::ReadRegistry();
  const std::pair<U_RepUnit, const char*> imperial[] = {
      {U_Temperature, "°F"}, {U_Length, "ft"},   {U_Surface, "ft²"}, {U_Mass, "lbs"},      {U_ShortLength, "inch"},
      {U_Humidity, "GPP"},   {U_Power, "BTU/h"}, {U_Airflow, "CFM"}, {U_Pressure, "inH2O"}, {U_Enthalpy, "BTU/lbs"}};
  for (const auto& [unit, caption] : imperial) EXPECT_EQ(TU_Form::GetCurrentString(unit), QString::fromUtf8(caption));
  CTRegistry registry;
  ASSERT_TRUE(registry.OpenKey(QString::fromLatin1(CTPreferences::kKey) + "\\Units", false)) << "written at once";
  // The user goes back to l/s; the next start keeps it.
  TU_Form::SetNewIndex(U_Airflow, 0);
  CTPreferences::WriteRegistry();
  TU_Form::SelectSIDefaults();
  CTPreferences::ReadRegistry();
  EXPECT_EQ(TU_Form::GetCurrentString(U_Airflow), QStringLiteral("l/s"));
  EXPECT_EQ(TU_Form::GetCurrentString(U_Temperature), QStringLiteral("°F"));
  // On server 0 the header settings are read; on server 2 they are not.
  EXPECT_FALSE(LTMaterialListSettings::HeaderSettingsApply());
}

TEST_F(Preferences, RestoreDefaultsThenCancelResetsOnlyTheDiagram) {
  TU_Form::SetNewIndex(U_Temperature, IndexOf(U_Temperature, "°F"));
  CTPreferences::WriteRegistry();  // the dialog reads the store when it opens
  TAirPropDiagram::Settings().psychrometric = false;
  TAirPropDiagram::Settings().rh = 0x123456;
  TFrm_Preferences dialog(nullptr);
  EXPECT_TRUE(dialog.RB_Mollier->isChecked());
  dialog.Btn_DefaultsClick();
  EXPECT_EQ(dialog.ChosenDimension(U_Temperature), 0);
  EXPECT_TRUE(dialog.RB_Psychrometric->isChecked());
  dialog.Btn_CancelClick();
  EXPECT_EQ(TU_Form::GetCurrentString(U_Temperature), QStringLiteral("°F"));
  EXPECT_TRUE(TAirPropDiagram::Settings().psychrometric);
  EXPECT_EQ(TAirPropDiagram::Settings().rh, TAirPropDiagram::LTSettings{}.rh);
}

// Every unit of the Units tab shows in the window once chosen.
class PreferencesWindow : public WindowFixture<PreferencesStore> {};

TEST_F(PreferencesWindow, EveryUnitChoiceShowsInTheWindow) {
  const std::pair<U_RepUnit, const char*> choices[] = {
      {U_Temperature, "°F"}, {U_Length, "ft"},   {U_Surface, "ft²"}, {U_Mass, "lbs"},      {U_ShortLength, "inch"},
      {U_Humidity, "GPP"},   {U_Power, "BTU/h"}, {U_Airflow, "CFM"}, {U_Pressure, "inH2O"}, {U_Enthalpy, "BTU/lbs"}};
  auto* pages = v_window->findChild<QTabWidget*>(QStringLiteral("Ctl_Pages"));
  ASSERT_NE(pages, nullptr);
  const auto shown = [&] {
    QStringList texts;
    for (int page = 0; page < pages->count(); ++page) {
      pages->setCurrentIndex(page);
      for (const QLabel* label : v_window->findChildren<QLabel*>()) texts << label->text();
    }
    pages->setCurrentIndex(0);
    return texts.join('\n');
  };
  const QString before = shown();
  TFrm_Preferences dialog(v_window.get());
  for (const auto& [unit, caption] : choices) {
    EXPECT_FALSE(before.contains(QString::fromUtf8(caption))) << caption;
    dialog.ChooseDimension(unit, IndexOf(unit, caption));
  }
  dialog.Btn_OKClick();
  v_window->ApplyPreferences();
  ASSERT_NE(v_window->CurrentHRX(), nullptr) << "the candidate is selected again";
  const QString after = shown();
  for (const auto& [unit, caption] : choices) EXPECT_TRUE(after.contains(QString::fromUtf8(caption))) << caption;
  // The typed values stay what they were: 150 Pa design ESP is 0.60 inH2O.
  EXPECT_EQ(Field("Frm_DesignSupplyESP")->Edit()->text(), QStringLiteral("0.60"));
  if (const QByteArray folder = qgetenv("AEROLITH_SCREENSHOT_DIR"); !folder.isEmpty()) {
    pages->setCurrentIndex(2);  // the results
    v_window->grab().save(QString::fromLocal8Bit(folder) + QStringLiteral("/imperial.png"));
  }
}

TEST(VersionUtils, VersionStrings) {
  EXPECT_EQ(CTVersionUtils::VersionString(720, QString(), " - ", ""), "7.2.0");
  EXPECT_EQ(CTVersionUtils::VersionString(720, "beta", " - ", ""), "7.2.0 - beta");
  EXPECT_EQ(CTVersionUtils::VersionString(9, "x", "(", ")"), "0.0.9(x)");
  EXPECT_EQ(CTVersionUtils::String2Version("7.2.0"), 720);
  EXPECT_EQ(CTVersionUtils::String2Version("7.2.a"), 0);
  EXPECT_EQ(CTVersionUtils::DateAsString(QDate(2026, 12, 9)), "9 December 2026");
  // The shipped build: neither a download nor an approval build.
  EXPECT_FALSE(CTVersionUtils::IsCorvelDownload());
  EXPECT_FALSE(CTVersionUtils::IsApprovalVersion());
}

// A locale with a decimal comma: every number on screen has it, input and
// result alike; what the window hands to files stays with points.
class CommaLocale : public testing::Test {
 protected:
  void SetUp() override { TBaseMsg::SetDecimalSeparator(','); }
  void TearDown() override { TBaseMsg::SetDecimalSeparator('.'); }
};
class CommaWindow : public WindowFixture<CommaLocale> {};

TEST_F(CommaWindow, NumbersOnScreenUseTheLocalesSeparator) {
  EXPECT_EQ(Field("Frm_DesignSupplyESP")->Edit()->text(), QStringLiteral("150,0"));
  Type(Field("Frm_DesignSupplyESP"), QStringLiteral("90,5"));
  EXPECT_EQ(Field("Frm_DesignSupplyESP")->Edit()->text(), QStringLiteral("90,5"));
  EXPECT_DOUBLE_EQ(v_window->CurrentRequest().supplyEspPa, 90.5);
  // The Results tab shows the unit once it is looked at.
  v_window->Pages()->setCurrentWidget(v_window->findChild<QWidget*>(QStringLiteral("Tab_Results")));
  const auto* efficiency = v_window->findChild<QLabel*>(QStringLiteral("Txt_TempEff"));
  ASSERT_NE(efficiency, nullptr);
  EXPECT_TRUE(efficiency->text().contains(QRegularExpression("^\\d+,\\d %$"))) << efficiency->text().toStdString();
  // Formats for programs keep the point.
  EXPECT_EQ(TBaseMsg::FormatFixed(90.5, 1), QStringLiteral("90.5"));
}
