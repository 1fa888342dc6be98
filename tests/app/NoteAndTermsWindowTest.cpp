// The unit's note on the Results tab, driven as a user drives it.

#include "WindowFixture.h"
#include "catalogue/ClHRX.h"

#include <QApplication>
#include <QComboBox>
#include <QTextBrowser>
#include <QTextCursor>

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
    auto* families = v_window->findChild<QComboBox*>("Txt_Family");
    families->setCurrentIndex(families->findText(family));
    emit families->activated(families->currentIndex());
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

}  // namespace
