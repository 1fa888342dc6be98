#include "app/ApplicationUtils.h"
#include "app/BaseMsgDialog.h"
#include "app/QtMessagePresenter.h"
#include "app/DlgSelect.h"
#include "docs/Glossaries.h"
#include "i18n/LangSupport.h"
#include "i18n/MsgMan.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

// Runs fnAct on the next modal message dialog (other than pOpen) once it is shown.
void OnNextDialog(std::function<void(TBaseMsgDialog*)> fnAct, QWidget* pOpen = nullptr) {
  QTimer::singleShot(0, [fnAct, pOpen] {
    auto* dialog = qobject_cast<TBaseMsgDialog*>(QApplication::activeModalWidget());
    if (!dialog || dialog == pOpen) {
      OnNextDialog(fnAct, pOpen);  // not up yet
      return;
    }
    fnAct(dialog);
  });
}

class MessageDialog : public testing::Test {
 protected:
  void SetUp() override {
    TDlgForm::Load();
    TBaseMsg::SetPresenter(&v_presenter);
  }
  void TearDown() override { TBaseMsg::SetPresenter(nullptr); }
  CTQtMessagePresenter v_presenter;
};

TEST_F(MessageDialog, QuestionShowsYesNoCancelLeftToRightAndAnswersEach) {
  struct Case {
    TMsgDlgBtn click;
    int result;
  };
  for (const Case c : {Case{mbYes, 6}, Case{mbNo, 7}, Case{mbCancel, 2}}) {
    QStringList order;
    QString text, caption;
    OnNextDialog([&](TBaseMsgDialog* d) {
      QList<QPushButton*> buttons;
      for (TMsgDlgBtn b : {mbYes, mbNo, mbCancel}) buttons << d->Button(b);
      std::sort(buttons.begin(), buttons.end(), [](auto* a, auto* b) { return a->x() < b->x(); });
      for (auto* b : buttons) order << b->text();
      text = d->findChild<QWidget*>("Txt_Message")->property("plainText").toString();
      caption = d->windowTitle();
      d->Button(c.click)->click();
    });
    const int answer = TBaseMsg::DisplayQuestion(nullptr, 74, MsgButtons({mbYes, mbNo, mbCancel}));
    EXPECT_EQ(answer, c.result);
    EXPECT_EQ(order, (QStringList{"&Yes", "&No", "&Cancel"}));
    EXPECT_EQ(text, "Your project has not been saved. Save it now?");
    EXPECT_EQ(caption, "Confirm");
  }
}

TEST_F(MessageDialog, InputDialogRefusesInvalidNumbersAndStaysOpen) {
  bool refusedShown = false;
  OnNextDialog([&](TBaseMsgDialog* d) {
    auto* edit = d->findChild<QLineEdit*>("Txt_Edit");
    QPushButton* ok = d->Button(mbOK);
    edit->clear();
    EXPECT_FALSE(ok->isEnabled());  // empty input not allowed
    edit->setText("0");
    EXPECT_TRUE(ok->isEnabled());
    // Zero is refused with message -8 shown on top; the input dialog stays.
    OnNextDialog([&](TBaseMsgDialog* error) {
      refusedShown = error->findChild<QWidget*>("Txt_Message")->property("plainText").toString() ==
                     "0 is not a valid positive number";
      error->Button(mbOK)->click();
      edit->setText(" 42 ");
      ok->click();
    }, d);
    ok->click();
  });
  QString value;
  EXPECT_TRUE(TBaseMsg::DisplayEditString(nullptr, 27, 74, "7", value, false, true, true, false, false));
  EXPECT_TRUE(refusedShown);
  EXPECT_EQ(value, "42");
}

TEST_F(MessageDialog, ExitWithUnsavedChangesAsksAndCancelKeepsTheWindow) {
  TDlgSelect window;
  window.show();
  window.SetDataHaveChanged(true);
  OnNextDialog([](TBaseMsgDialog* d) { d->Button(mbCancel)->click(); });
  window.Action("ACF_Exit")->trigger();
  EXPECT_TRUE(window.isVisible());
  EXPECT_TRUE(window.DataHaveChanged());

  OnNextDialog([](TBaseMsgDialog* d) { d->Button(mbNo)->click(); });
  window.Action("ACF_Exit")->trigger();
  EXPECT_FALSE(window.isVisible());
}

// ---- the box's size ----

// A box shown without a modal run, so that the test can measure it.
struct ShownBox {
  explicit ShownBox(const QString& szText, TMsgDlgButtons buttons = MsgButtons({mbOK})) {
    CTMessageRequest request;
    request.v_dlgType = mtError;
    request.v_dlgBtns = buttons;
    request.v_text = szText;
    dialog = std::make_unique<TBaseMsgDialog>(request, nullptr);
    dialog->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    memo = dialog->findChild<QPlainTextEdit*>("Txt_Message");
  }
  // Nothing left to scroll to: every line of the message is in view.
  bool WholeTextVisible() const {
    return memo->verticalScrollBar()->maximum() == 0 && memo->horizontalScrollBar()->maximum() == 0;
  }
  bool Inside(const QWidget* pWidget) const {
    return dialog->rect().contains(QRect(pWidget->mapTo(dialog.get(), QPoint(0, 0)), pWidget->size()));
  }
  std::unique_ptr<TBaseMsgDialog> dialog;
  QPlainTextEdit* memo = nullptr;
};

TEST(MessageBoxSize, FollowsTheTextAndScrollsOnlyBeyondTheLargestBox) {
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  const QString sentence = "The given exhaust airflow is too large for any of the available ventilation devices. ";

  const ShownBox small("Read-only");
  EXPECT_TRUE(small.WholeTextVisible());
  EXPECT_FALSE(small.memo->verticalScrollBar()->isVisible());

  // Eight sentences on one line: wider and taller than the short one, no
  // wider than 560 pixels nor 60 % of the screen, and still all in view.
  const ShownBox large(sentence.repeated(8));
  EXPECT_GT(large.dialog->width(), small.dialog->width());
  EXPECT_GT(large.dialog->height(), small.dialog->height());
  EXPECT_LE(large.dialog->width(), std::min(560, int(screen.width() * 0.6)));
  EXPECT_TRUE(large.WholeTextVisible());
  EXPECT_FALSE(large.memo->verticalScrollBar()->isVisible());
  EXPECT_TRUE(large.Inside(large.memo));

  // Eighty lines do not fit on any box: the message scrolls, the box stays
  // on the screen and its button in view.
  QStringList lines;
  for (int i = 1; i <= 80; ++i) lines << QString("Line %1").arg(i);
  const ShownBox huge(lines.join('\n'));
  EXPECT_TRUE(huge.memo->verticalScrollBar()->isVisible());
  EXPECT_GT(huge.memo->verticalScrollBar()->maximum(), 0);
  EXPECT_LE(huge.dialog->height(), int(screen.height() * 0.6));
  EXPECT_TRUE(huge.Inside(huge.dialog->Button(mbOK)));
}

TEST(MessageBoxSize, TheButtonRowSetsTheLeastWidth) {
  const ShownBox box("?", ~0u);  // every button
  for (QPushButton* button : box.dialog->findChildren<QPushButton*>()) {
    EXPECT_TRUE(box.Inside(button)) << button->text().toStdString();
    EXPECT_GE(button->width(), button->fontMetrics().horizontalAdvance(QString(button->text()).remove('&')));
  }
  EXPECT_TRUE(box.WholeTextVisible());
}

// ---- German ----

class GermanMessageDialog : public MessageDialog {
 protected:
  void SetUp() override {
    CTLangSupport::SetLocaleData(CTCountryDefinition::OwnNumber(QStringLiteral("DEU")), 1031);
    ASSERT_TRUE(ApplicationUtils::LoadInterfaceGlossary());
    MessageDialog::SetUp();
  }
  void TearDown() override {
    MessageDialog::TearDown();
    CTGlossaries::Reset();
    CTLangSupport::SetLocaleData(CTCountryDefinition::OwnNumber(QStringLiteral("USA")), 1033);
  }
};

TEST_F(GermanMessageDialog, CaptionTextAndButtonsAreGerman) {
  QString caption, text, ok;
  OnNextDialog([&](TBaseMsgDialog* d) {
    caption = d->windowTitle();
    text = d->findChild<QPlainTextEdit*>("Txt_Message")->toPlainText();
    ok = d->Button(mbOK)->text();
    if (const QByteArray folder = qgetenv("AEROLITH_SCREENSHOT_DIR"); !folder.isEmpty())
      d->grab().save(QString::fromLocal8Bit(folder) + QStringLiteral("/german-msgbox.png"));
    d->Button(mbOK)->click();
  });
  TBaseMsg::DisplayError(nullptr, 42);
  EXPECT_EQ(caption, "Fehler");
  EXPECT_EQ(text, QString::fromUtf8("Diese Lüftungsprojektdatei kann nicht gelesen werden."));
  EXPECT_EQ(ok, "&OK");  // the same word in German

  QStringList buttons;
  OnNextDialog([&](TBaseMsgDialog* d) {
    caption = d->windowTitle();
    for (TMsgDlgBtn b : {mbYes, mbNo, mbCancel}) buttons << d->Button(b)->text();
    d->Button(mbNo)->click();
  });
  EXPECT_EQ(TBaseMsg::DisplayQuestion(nullptr, 74, MsgButtons({mbYes, mbNo, mbCancel})), 7);
  EXPECT_EQ(caption, QString::fromUtf8("Bestätigen"));
  EXPECT_EQ(buttons, (QStringList{"&Ja", "&Nein", "&Abbrechen"}));
}

}  // namespace
