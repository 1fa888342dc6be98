// The unit's note on the Results tab and the conditions-of-use dialog, driven
// as a user drives them.

#include "WindowFixture.h"
#include "app/Disclaimer.h"
#include "catalogue/ClHRX.h"

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextEdit>
#include <QTimer>

#include <functional>

namespace {

const QString kLink = "https://www.norvane.example/ecodesign";

class NoteWindow : public WindowFixture<> {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    TDlgSelect::SetLinkOpener([this](const QString& url) { v_opened << url; });
  }
  void TearDown() override {
    TDlgSelect::SetLinkOpener({});
    WindowFixture::TearDown();
  }
  void ShowResultsOf(const char* family) {
    ShowPage("Tab_Selection");
    Choose("Txt_Family", family);
    ShowPage("Tab_Results");
  }
  void ShowPage(const char* name) {
    v_window->Pages()->setCurrentWidget(v_window->findChild<QWidget*>(name));
    QApplication::processEvents();
  }
  // Clicks the note at the character where text starts.
  void ClickNoteAt(const QString& text) {
    auto* view = v_window->findChild<QTextBrowser*>("Txt_HRXNote");
    const QTextCursor found = view->document()->find(text);
    ASSERT_FALSE(found.isNull()) << text.toStdString();
    QTextCursor at(view->document());
    at.setPosition(found.selectionStart() + 1);
    const QPoint point = view->cursorRect(at).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, point);
  }

  QStringList v_opened;
};

TEST_F(NoteWindow, ShowsForTheNoteSeriesOnlyAndItsLinkOpensTheDataPage) {
  auto* panel = v_window->findChild<QWidget*>("Pnl_HRXNote");
  ASSERT_NE(panel, nullptr);
  EXPECT_TRUE(panel->isHidden());  // until the Results tab shows a unit of the series
  const std::pair<const char*, bool> families[] = {{"HRD", false}, {"HRX", true}, {"DQTL-MF", false}};
  for (const auto& [family, shown] : families) {
    ShowResultsOf(family);
    ASSERT_NE(v_window->CurrentHRX(), nullptr) << family;
    ASSERT_EQ(v_window->Pages()->currentWidget()->objectName(), "Tab_Results") << family;
    EXPECT_EQ(panel->isVisible(), shown) << family << " " << v_window->CurrentHRX()->GetName().toStdString();
  }

  ShowResultsOf("HRX");
  ASSERT_TRUE(panel->isVisible());
  const QString text = v_window->findChild<QTextBrowser*>("Txt_HRXNote")->toPlainText();
  EXPECT_TRUE(text.contains("please consult " + kLink + ".")) << text.toStdString();
  EXPECT_FALSE(text.contains("$1"));
  // The note's text is no link; its address is.
  ClickNoteAt("The selection software");
  EXPECT_TRUE(v_opened.isEmpty()) << v_opened.join(' ').toStdString();
  ClickNoteAt(kLink);
  EXPECT_EQ(v_opened, QStringList{kLink});
}

// Runs act once the dialog shown modally is up.
void WhenModal(std::function<void(TFrm_Disclaimer&)> act) {
  QTimer::singleShot(0, [act] {
    auto* dialog = qobject_cast<TFrm_Disclaimer*>(QApplication::activeModalWidget());
    if (!dialog) return WhenModal(act);
    act(*dialog);
  });
}

TEST(Disclaimer, ContinueWaitsForAChoiceAndTheAnswerIsTheChoice) {
  struct Case {
    const char* name;
    const char* choice;  // the radio button clicked, or none
    bool closeBox;       // closed with the close box instead of Continue
    int expected;
  };
  const Case cases[] = {
      {"accepted", "RB_Accept", false, 1},
      {"declined", "RB_Decline", false, 2},
      {"changed its mind", "RB_Accept,RB_Decline", false, 2},
      {"accepted, then closed with the close box", "RB_Accept", true, 1},
      {"closed without a choice", nullptr, true, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    bool continueBefore = true, continueAfter = false;
    QString terms;
    WhenModal([&](TFrm_Disclaimer& dialog) {
      EXPECT_EQ(dialog.windowTitle(), "Terms");
      terms = dialog.findChild<QTextEdit*>("Txt_Terms")->toPlainText();
      auto* next = dialog.findChild<QPushButton*>("Btn_Continue");
      continueBefore = next->isEnabled();
      if (c.choice)
        for (const QString& name : QString(c.choice).split(','))
          dialog.findChild<QRadioButton*>(name)->click();
      continueAfter = next->isEnabled();
      if (c.closeBox) dialog.close();
      else next->click();
    });
    EXPECT_EQ(TFrm_Disclaimer::Execute(nullptr, "Terms"), c.expected);
    EXPECT_FALSE(continueBefore);
    EXPECT_EQ(continueAfter, c.choice != nullptr);
    EXPECT_TRUE(terms.startsWith("Conditions of use of Aerolith")) << terms.left(80).toStdString();
    EXPECT_FALSE(terms.contains('$'));
  }
}

}  // namespace
