#pragma once
// The selection window started on the demonstration catalogue and shown
// offscreen, with what a test needs to drive it as a user does.

#include "app/Frame_UnitTextScroll.h"
#include "app/DlgSelect.h"
#include "i18n/BaseMsgMan.h"
#include "i18n/LangSupport.h"
#include "recdb/RecordingPresenter.h"
#include "support/EarlierStart.h"

#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

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

  RecordingPresenter v_messages;
  std::unique_ptr<TDlgSelect> v_window;
};
