#pragma once
// The selection window started on the demonstration catalogue and shown
// offscreen, with what a test needs to drive it as a user does.

#include "app/Frame_UnitTextScroll.h"
#include "app/DlgSelect.h"
#include "app/FrameTempConditions.h"
#include "i18n/BaseMsgMan.h"
#include "i18n/LangSupport.h"
#include "psychro/SI_Units.h"
#include "recdb/RecordingPresenter.h"
#include "support/EarlierStart.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <memory>
#include <utility>

template <typename TestBase = testing::Test>
class WindowFixture : public TestBase {
 protected:
  void SetUp() override {
    TestBase::SetUp();
    // The base may have made a new registry store: a locale chosen in it,
    // or the first-start question would wait for an answer.
    CTLangSupport::SetLocaleData(CTCountryDefinition::OwnNumber(QStringLiteral("USA")), 1033);
    CountEarlierStart();
    TBaseMsg::SetPresenter(&v_messages);
    v_window = std::make_unique<TDlgSelect>();
    ASSERT_TRUE(v_window->StartUp({}));
    v_window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(v_window.get()));
  }
  void TearDown() override {
    // The display units are process-wide: a test that showed imperial ones
    // must not leave them to the next.
    TU_Form::SelectSIDefaults();
    v_window->SetDataHaveChanged(false);
    v_window.reset();
    TBaseMsg::SetPresenter(nullptr);
    TestBase::TearDown();
  }

 public:
  // Types a value into a field and leaves it with Enter, as a user does.
  void Type(TFrm_UnitTextScroll* field, const QString& text) {
    ASSERT_NE(field, nullptr);
    QLineEdit* edit = field->Edit();
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
  }
  // A field of the window, or of one of its frames.
  TFrm_UnitTextScroll* Field(const char* name, const QObject* parent = nullptr) const {
    const QObject* in = parent ? parent : static_cast<const QObject*>(v_window.get());
    return in->findChild<TFrm_UnitTextScroll*>(QString::fromLatin1(name));
  }
  void Type(const char* name, const QString& text) {
    TFrm_UnitTextScroll* field = Field(name);
    ASSERT_NE(field, nullptr) << name;
    Type(field, text);
  }
  // Picks an entry of a list box as a user does: the box shows it and runs
  // what the user's choice runs.
  void Choose(QComboBox* combo, int index) {
    ASSERT_NE(combo, nullptr);
    ASSERT_GE(index, 0) << combo->objectName().toStdString();
    ASSERT_LT(index, combo->count()) << combo->objectName().toStdString();
    combo->setCurrentIndex(index);
    emit combo->activated(index);
  }
  void Choose(const char* name, int index) {
    auto* combo = v_window->findChild<QComboBox*>(QString::fromLatin1(name));
    ASSERT_NE(combo, nullptr) << name;
    Choose(combo, index);
  }
  // By the entry's whole text; an entry the box lacks fails the test.
  void Choose(const char* name, const QString& text) {
    auto* combo = v_window->findChild<QComboBox*>(QString::fromLatin1(name));
    ASSERT_NE(combo, nullptr) << name;
    ASSERT_GE(combo->findText(text), 0) << name << " has no " << text.toStdString();
    Choose(combo, combo->findText(text));
  }
  void Click(const char* name) {
    auto* button = v_window->findChild<QAbstractButton*>(QString::fromLatin1(name));
    ASSERT_NE(button, nullptr) << name;
    button->click();
  }
  // A command of the menus and the toolbar.
  void Trigger(const char* name) {
    QAction* action = v_window->Action(QString::fromLatin1(name));
    ASSERT_NE(action, nullptr) << name;
    action->trigger();
  }
  // Makes a row of the candidate list the current unit.
  void PickCandidate(int index) {
    auto* list = v_window->findChild<QTreeWidget*>(QStringLiteral("LV_SelectedDevices"));
    ASSERT_NE(list, nullptr);
    ASSERT_GE(index, 0);
    ASSERT_GT(list->topLevelItemCount(), index);
    list->setCurrentItem(list->topLevelItem(index));
  }
  TFrm_TempConditions* Cooling() const { return v_window->CoolConditions(); }
  TFrm_TempConditions* Heating() const { return v_window->HeatConditions(); }

  // Shows a quantity in one of its display units, by caption, as the
  // preferences choose it. The window shows it once it applies the
  // preferences or starts a new project.
  static void UseUnit(int unit, const char* caption) {
    for (int i = 0; i < TU_Form::DimensionCount(unit); ++i) {
      TU_Form::SetNewIndex(unit, i);
      if (TU_Form::GetCurrentString(unit) == QString::fromUtf8(caption)) return;
    }
    FAIL() << "no unit " << caption;
  }
  // The preferences switch every unit of the inputs to imperial, or every
  // unit back to SI, and the window shows them.
  void ShowImperialUnits(bool imperial) {
    if (imperial) {
      const std::pair<int, const char*> units[] = {{U_Length, "ft"},       {U_Airflow, "CFM"},   {U_Surface, "ft²"},
                                                   {U_Pressure, "inH2O"}, {U_Temperature, "°F"}, {U_Power, "BTU/h"}};
      for (const auto& [unit, caption] : units) ASSERT_NO_FATAL_FAILURE(UseUnit(unit, caption));
    } else {
      TU_Form::SelectSIDefaults();
    }
    v_window->ApplyPreferences();
  }

  RecordingPresenter v_messages;
  std::unique_ptr<TDlgSelect> v_window;
};
