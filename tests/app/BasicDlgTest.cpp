#include "app/BasicDlg.h"
#include "app/FrameBottomPanelExt.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QEnterEvent>
#include <QFontInfo>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

// A dialog with two edit boxes and the bottom bar; OK is accepted only while
// v_inputValid holds.
class TTestDialog : public TBasicDialog {
 public:
  TTestDialog(bool bReadOnly, bool bInputValid = true) : TBasicDialog(nullptr, bReadOnly), v_inputValid(bInputValid) {
    setWindowTitle(QStringLiteral("Unit data"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    Txt_Name = new QLineEdit(this);
    Txt_Name->setObjectName(QStringLiteral("Txt_Name"));
    Txt_Name->setToolTip(QStringLiteral("Name|The name of the unit"));
    Txt_Flow = new QLineEdit(this);
    Txt_Flow->setObjectName(QStringLiteral("Txt_Flow"));
    Lbl_Flow = new QLabel(QStringLiteral("Flow"), this);
    Lbl_Flow->setToolTip(QStringLiteral("Labels take no part in hints"));
    layout->addWidget(Txt_Name);
    layout->addWidget(Lbl_Flow);
    layout->addWidget(Txt_Flow);
    Frm_Bottom = new TFraBottomPanelExt(this);
    layout->addWidget(Frm_Bottom);
    Loaded();
  }

  bool v_inputValid;
  QLineEdit* Txt_Name;
  QLineEdit* Txt_Flow;
  QLabel* Lbl_Flow;
  TFraBottomPanelExt* Frm_Bottom;

 protected:
  bool ValidateDialog() override { return v_inputValid; }
};

// Runs fnAct once the dialog is up in its modal loop.
void WhenShown(TBasicDialog* pDialog, std::function<void()> fnAct) {
  QTimer::singleShot(0, pDialog, [pDialog, fnAct] {
    if (QApplication::activeModalWidget() != pDialog) {
      WhenShown(pDialog, fnAct);
      return;
    }
    fnAct();
  });
}

void ShowActive(QWidget* pWindow) {
  pWindow->show();
  QApplication::setActiveWindow(pWindow);
  ASSERT_TRUE(QTest::qWaitForWindowActive(pWindow));
}

void SendEnter(QWidget* pWidget) {
  QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), pWidget->mapToGlobal(QPointF(1, 1)));
  QApplication::sendEvent(pWidget, &enter);
}

QIcon SquareIcon() {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::darkBlue);
  return QIcon(pixmap);
}

// ---- life of a dialog ----

TEST(BasicDlg, ModalRunAnswersTheClosingCode) {
  struct Case {
    const char* name;
    bool bInputValid;
    std::function<void(TTestDialog*)> fnClose;
    int nExpected;
  };
  const Case cases[] = {
      {"validated OK", true, [](TTestDialog* d) { d->Frm_Bottom->OkButton()->click(); }, 1},
      {"Cancel", true, [](TTestDialog* d) { d->Frm_Bottom->CancelButton()->click(); }, 2},
      {"Escape", true, [](TTestDialog* d) { QTest::keyClick(d, Qt::Key_Escape); }, 2},
      {"close box", true, [](TTestDialog* d) { d->close(); }, 2},
      {"Enter presses the default OK", true, [](TTestDialog* d) { QTest::keyClick(d->Txt_Name, Qt::Key_Return); }, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TTestDialog dialog(false, c.bInputValid);
    EXPECT_EQ(dialog.RetCode(), 2);
    WhenShown(&dialog, [&] { c.fnClose(&dialog); });
    EXPECT_EQ(dialog.Execute(), c.nExpected);
  }
}

TEST(BasicDlg, RefusedOkLeavesDialogOpenAndCancelStillAnswers2) {
  TTestDialog dialog(false, false);
  bool bOpenAfterOk = false;
  int nCodeAfterOk = -1;
  WhenShown(&dialog, [&] {
    dialog.Frm_Bottom->OkButton()->click();
    bOpenAfterOk = dialog.isVisible();
    nCodeAfterOk = dialog.RetCode();
    dialog.Frm_Bottom->CancelButton()->click();
  });
  EXPECT_EQ(dialog.Execute(), 2);
  EXPECT_TRUE(bOpenAfterOk);
  EXPECT_EQ(nCodeAfterOk, 2);
}

TEST(BasicDlg, OnlyOkIsValidated) {
  TTestDialog dialog(false, false);
  dialog.show();
  dialog.DoCloseWindow(1);
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(dialog.RetCode(), 2);
  dialog.DoCloseWindow(6);  // a further code of a derived dialog
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.RetCode(), 6);
  EXPECT_EQ(dialog.result(), 6);
}

TEST(BasicDlg, ReadOnlyDialogShowsOnlyCloseAndSaysSoInItsCaption) {
  struct Case {
    bool bReadOnly;
    const char* caption;
    bool bCancelShown;
    const char* okText;
    const char* okHint;
  };
  const Case cases[] = {
      {false, "Unit data", true, "&OK", "Commit changes and close window"},
      {true, "Unit data (Read-only)", false, "&Close", "Close the window"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bReadOnly);
    TTestDialog dialog(c.bReadOnly);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), c.caption);
    EXPECT_EQ(dialog.Frm_Bottom->CancelButton()->isVisible(), c.bCancelShown);
    EXPECT_EQ(dialog.Frm_Bottom->OkButton()->text(), c.okText);
    EXPECT_EQ(dialog.Frm_Bottom->OkButton()->toolTip(), c.okHint);
    EXPECT_EQ(dialog.windowTitle(), c.caption) << "showing must not mark the caption twice";
  }
}

// A read-only dialog without the bar hides its own Cancel, whatever the case
// of its name.
TEST(BasicDlg, ReadOnlyHidesOwnCancelButtonFoundWithoutRegardToCase) {
  class TOwnButtons : public TBasicDialog {
   public:
    TOwnButtons() : TBasicDialog(nullptr, true) {
      auto* layout = new QVBoxLayout(this);
      ok = new QPushButton(QStringLiteral("OK"), this);
      ok->setObjectName(QStringLiteral("Btn_OK"));
      cancel = new QPushButton(QStringLiteral("Cancel"), this);
      cancel->setObjectName(QStringLiteral("BTN_CANCEL"));
      layout->addWidget(ok);
      layout->addWidget(cancel);
      Loaded();
    }
    QPushButton* ok;
    QPushButton* cancel;
  } dialog;
  EXPECT_TRUE(dialog.cancel->isHidden());
  EXPECT_FALSE(dialog.ok->isHidden());
}

TEST(BasicDlg, LoadedHookRunsOncePerDialogWithTheDialog) {
  QList<QWidget*> seen;
  TBasicDialog::SetLoadedHook([&seen](QWidget* w) { seen.append(w); });
  {
    TTestDialog first(false);
    TTestDialog second(true);
    first.show();  // loading happened in the constructor already
    EXPECT_EQ(seen, (QList<QWidget*>{&first, &second}));
  }
  TBasicDialog::SetLoadedHook({});
  TTestDialog unhooked(false);
  EXPECT_EQ(seen.size(), 2);
}

// A dialog that does not call Loaded() itself is set up when it is shown.
TEST(BasicDlg, DialogIsSetUpWhenShownWithoutExplicitLoading) {
  class TLateDialog : public TBasicDialog {
   public:
    TLateDialog() : TBasicDialog(nullptr, true) { setWindowTitle(QStringLiteral("Terms")); }
  } dialog;
  QList<QWidget*> seen;
  TBasicDialog::SetLoadedHook([&seen](QWidget* w) { seen.append(w); });
  EXPECT_EQ(dialog.windowTitle(), "Terms");
  dialog.show();
  dialog.hide();
  dialog.show();
  TBasicDialog::SetLoadedHook({});
  EXPECT_EQ(dialog.windowTitle(), "Terms (Read-only)");
  EXPECT_EQ(seen, (QList<QWidget*>{&dialog}));
}

// ---- hints ----

TEST(BottomPanel, HintFollowsFocusAndPointer) {
  TTestDialog dialog(false);
  ShowActive(&dialog);
  TFraBottomPanelExt* bar = dialog.Frm_Bottom;
  auto* panel = bar->StatusBar()->findChild<QLabel*>(QStringLiteral("Pnl_Hint"));
  ASSERT_NE(panel, nullptr);

  dialog.Txt_Name->setFocus();
  EXPECT_EQ(panel->text(), "The name of the unit");
  bar->OkButton()->setFocus();
  EXPECT_EQ(panel->text(), "Commit changes and close window");
  dialog.Txt_Flow->setFocus();  // a control without hint clears the text
  EXPECT_EQ(panel->text(), "");

  SendEnter(dialog.Txt_Name);
  EXPECT_EQ(panel->text(), "The name of the unit");
  SendEnter(dialog.Lbl_Flow);  // labels take no focus, so they show nothing
  EXPECT_EQ(panel->text(), "The name of the unit");
  SendEnter(bar->CancelButton());
  EXPECT_EQ(panel->text(), "Reject changes and close window");
  EXPECT_EQ(bar->HintText(), "Reject changes and close window");
}

// The main window passes its own handler; installing again replaces it.
TEST(BasicDlg, MouseHintsCallTheGivenHandlerForFocusableControls) {
  QWidget window;
  auto* group = new QWidget(&window);
  auto* button = new QPushButton(QStringLiteral("Run"), group);
  auto* label = new QLabel(QStringLiteral("Capacity"), group);
  QList<QWidget*> first, second;
  TBasicDialog::InitMouseHints(&window, [&first](QWidget* w) { first.append(w); });
  SendEnter(button);
  SendEnter(label);
  SendEnter(group);
  TBasicDialog::InitMouseHints(&window, [&second](QWidget* w) { second.append(w); });
  SendEnter(button);
  EXPECT_EQ(first, QList<QWidget*>{button});
  EXPECT_EQ(second, QList<QWidget*>{button});
}

TEST(BottomPanel, FocusInAnotherWindowLeavesTheBarAlone) {
  TTestDialog dialog(false);
  ShowActive(&dialog);
  dialog.Txt_Name->setFocus();
  QWidget other;
  auto* edit = new QLineEdit(&other);
  edit->setToolTip(QStringLiteral("Elsewhere"));
  ShowActive(&other);
  edit->setFocus();
  EXPECT_EQ(dialog.Frm_Bottom->HintText(), "The name of the unit");
}

TEST(BottomPanel, SenderKindDecidesWhatTheBarShows) {
  QWidget window;
  window.setToolTip(QString());
  auto* frame = new QWidget(&window);
  auto* hintedFrame = new QFrame(&window);
  hintedFrame->setToolTip(QStringLiteral("A group of inputs"));
  auto* edit = new QLineEdit(&window);
  auto* action = new QAction(QStringLiteral("Save"), &window);
  action->setToolTip(QStringLiteral("Save|Save the project"));
  QObject plain;

  struct Case {
    const char* name;
    QObject* sender;
    QString expected;
  };
  const Case cases[] = {
      {"window without hint", &window, "before"},
      {"frame without hint", frame, "before"},
      {"frame with hint", hintedFrame, "A group of inputs"},
      {"control without hint", edit, ""},
      {"action", action, "Save the project"},
      {"other object", &plain, ""},
      {"nothing", nullptr, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QStatusBar bar;
    TFraBottomPanelExt::SetHintText(QStringLiteral("before"), &bar, 0);
    TFraBottomPanelExt::DoGlobalOnEnter(c.sender, &bar, 0);
    EXPECT_EQ(bar.currentMessage(), c.expected);
  }
}

TEST(BottomPanel, HintTextGoesToTheChosenPanelOrTheMessage) {
  QStatusBar simple;
  TFraBottomPanelExt::SetHintText(QStringLiteral("Plain"), &simple, 3);
  EXPECT_EQ(simple.currentMessage(), "Plain");

  QStatusBar panelled;
  auto* first = new QLabel(QStringLiteral("one"));
  auto* second = new QLabel(QStringLiteral("two"));
  panelled.addWidget(first);
  panelled.addPermanentWidget(second);
  TFraBottomPanelExt::SetHintText(QStringLiteral("Hint"), &panelled, 1);
  TFraBottomPanelExt::SetHintText(QStringLiteral("Lost"), &panelled, 2);  // no third panel
  EXPECT_EQ(first->text(), "one");
  EXPECT_EQ(second->text(), "Hint");
  EXPECT_EQ(panelled.currentMessage(), "");
}

TEST(BottomPanel, HintPanelIndexChoosesThePanel) {
  TTestDialog dialog(false);
  auto* extra = new QLabel;
  dialog.Frm_Bottom->StatusBar()->addPermanentWidget(extra);
  dialog.Frm_Bottom->SetHintPanelIndex(1);
  TFraBottomPanelExt::GlobalOnEnterForForm(&dialog, dialog.Txt_Name);
  EXPECT_EQ(extra->text(), "The name of the unit");
  EXPECT_EQ(dialog.Frm_Bottom->StatusBar()->findChild<QLabel*>(QStringLiteral("Pnl_Hint"))->text(), "");
}

// ---- the bar ----

TEST(BottomPanel, LaysOutButtonsAboveTheStatusBar) {
  TTestDialog dialog(false);
  dialog.show();
  TFraBottomPanelExt* bar = dialog.Frm_Bottom;
  EXPECT_EQ(bar->height(), 65);
  EXPECT_EQ(bar->StatusBar()->height(), 24);
  EXPECT_EQ(bar->StatusBar()->geometry().bottom(), bar->height() - 1);
  for (QPushButton* b : {bar->OkButton(), bar->CancelButton()}) {
    EXPECT_EQ(b->size(), QSize(88, 25));
    const QRect r(b->mapTo(bar, QPoint(0, 0)), b->size());
    EXPECT_GE(r.top(), 0);
    EXPECT_LE(r.bottom(), bar->StatusBar()->y());
  }
  EXPECT_LT(bar->OkButton()->mapTo(bar, QPoint(0, 0)).x(), bar->CancelButton()->mapTo(bar, QPoint(0, 0)).x());
  EXPECT_TRUE(bar->OkButton()->isDefault());
  EXPECT_TRUE(bar->findChild<QLabel*>(QStringLiteral("Lbl_RO"))->isHidden());
}

TEST(BottomPanel, UseOKOnlyPutsOkWhereCancelWas) {
  for (bool bReplaceCaption : {false, true}) {
    SCOPED_TRACE(bReplaceCaption);
    TTestDialog dialog(false);
    dialog.show();
    TFraBottomPanelExt* bar = dialog.Frm_Bottom;
    const QPoint cancelPlace = bar->CancelButton()->mapTo(bar, QPoint(0, 0));
    bar->UseOKOnly(bReplaceCaption);
    QApplication::processEvents();
    bar->layout()->activate();
    bar->findChild<QWidget*>(QStringLiteral("Pnl_Buttons"))->layout()->activate();
    EXPECT_TRUE(bar->CancelButton()->isHidden());
    EXPECT_EQ(bar->OkButton()->mapTo(bar, QPoint(0, 0)), cancelPlace);
    EXPECT_EQ(bar->OkButton()->text(), bReplaceCaption ? "&Close" : "&OK");
  }
}

TEST(BottomPanel, ClassSettingsApplyToBarsCreatedAfterwards) {
  QWidget owner;
  auto* before = new TFraBottomPanelExt(&owner);
  TFraBottomPanelExt::SetCtlBarSizeGrip(false);
  TFraBottomPanelExt::SetCtlBarBevel(TFraBottomPanelExt::pbRaised);
  auto* after = new TFraBottomPanelExt(&owner);
  TFraBottomPanelExt::ResetCtlBarSettings();
  auto* reset = new TFraBottomPanelExt(&owner);

  auto panel = [](TFraBottomPanelExt* bar) { return bar->StatusBar()->findChild<QLabel*>(QStringLiteral("Pnl_Hint")); };
  EXPECT_TRUE(before->StatusBar()->isSizeGripEnabled());
  EXPECT_FALSE(after->StatusBar()->isSizeGripEnabled());
  EXPECT_TRUE(reset->StatusBar()->isSizeGripEnabled());
  EXPECT_EQ(panel(after)->frameShape(), QFrame::Panel);
  EXPECT_EQ(panel(after)->frameShadow(), QFrame::Raised);
  EXPECT_EQ(panel(before)->frameShape(), panel(reset)->frameShape());
}

TEST(BottomPanel, ButtonsOfAPlainDialogAcceptAndReject) {
  for (bool bOk : {true, false}) {
    QDialog dialog;
    auto* bar = new TFraBottomPanelExt(&dialog);
    dialog.show();
    (bOk ? bar->OkButton() : bar->CancelButton())->click();
    EXPECT_EQ(dialog.result(), bOk ? int(QDialog::Accepted) : int(QDialog::Rejected));
    EXPECT_FALSE(dialog.isVisible());
  }
}

// ---- list column widths ----

// Columns: a name, a column empty in every row, a value.
class BasicDlgListColumns : public testing::Test {
 protected:
  void SetUp() override {
    v_list.setColumnCount(3);
    v_list.setHeaderLabels({QStringLiteral("Name"), QStringLiteral("Empty"), QStringLiteral("Value")});
    v_list.header()->setStretchLastSection(false);
    new QTreeWidgetItem(&v_list, QStringList{QStringLiteral("Alpha"), QString(), QStringLiteral("12")});
    new QTreeWidgetItem(&v_list, QStringList{QStringLiteral("Bravo Charlie")});  // no sub-items at all
    new QTreeWidgetItem(&v_list, QStringList{QStringLiteral("Delta"), QString(), QStringLiteral("1234.5678")});
  }
  int Adv(const char* szText) const { return QFontMetrics(v_list.font()).horizontalAdvance(QString::fromUtf8(szText)); }
  int Pad(int nDpi) const { return Adv("W") + (nDpi >= 120 ? 2 : 6); }
  QList<int> Widths() const {
    QList<int> widths;
    for (int i = 0; i < v_list.columnCount(); ++i) widths << v_list.columnWidth(i);
    return widths;
  }

  QTreeWidget v_list;
};

TEST_F(BasicDlgListColumns, FitCaptionAndWidestCellWithPadOfTheScreenResolution) {
  struct Case {
    int nDpi;
    bool bCollapse;
    int nMaxColW;
  };
  for (const Case c : {Case{96, false, 0}, Case{96, true, 0}, Case{120, false, 0}, Case{144, true, 0},
                       Case{96, false, 50}, Case{120, true, 50}}) {
    SCOPED_TRACE(testing::Message() << c.nDpi << " dpi, collapse " << c.bCollapse << ", max " << c.nMaxColW);
    const int nPad = Pad(c.nDpi);
    auto limited = [&](int w) { return c.nMaxColW ? std::min(w, c.nMaxColW) : w; };
    const QList<int> expected = {
        limited(std::max(Adv("Name"), Adv("Bravo Charlie")) + nPad),
        c.bCollapse ? 0 : limited(Adv("Empty") + nPad),
        limited(std::max(Adv("Value"), Adv("1234.5678")) + nPad),
    };
    TBasicDialog::CalculateListColumnWidths(&v_list, c.nMaxColW, c.bCollapse, c.nDpi);
    EXPECT_EQ(Widths(), expected);
  }
}

TEST_F(BasicDlgListColumns, PadNarrowsFrom120PixelsPerInch) {
  TBasicDialog::CalculateListColumnWidths(&v_list, 0, false, 119);
  const QList<int> at119 = Widths();
  TBasicDialog::CalculateListColumnWidths(&v_list, 0, false, 120);
  const QList<int> at120 = Widths();
  for (int i = 0; i < 3; ++i) EXPECT_EQ(at119[i] - at120[i], 4) << "column " << i;
}

TEST_F(BasicDlgListColumns, ImagesAndCheckBoxesWidenTheirColumns) {
  v_list.setIconSize(QSize(16, 16));
  v_list.headerItem()->setIcon(1, SquareIcon());
  QTreeWidgetItem* first = v_list.topLevelItem(0);
  first->setIcon(0, SquareIcon());
  first->setCheckState(0, Qt::Checked);
  v_list.topLevelItem(2)->setIcon(1, SquareIcon());  // an image in an otherwise empty column

  TBasicDialog::CalculateListColumnWidths(&v_list, 0, true, 96);

  const int nPad = Pad(96);
  const int nCheckBox = QFontInfo(v_list.font()).pixelSize();
  const int nName = std::max(Adv("Name"), Adv("Bravo Charlie")) + 16 + nCheckBox;
  EXPECT_EQ(v_list.columnWidth(0), nName + nPad / 2 + nPad);
  EXPECT_EQ(v_list.columnWidth(1), Adv("Empty") + 16 + nPad + nPad) << "an image keeps a column from collapsing";
  EXPECT_EQ(v_list.columnWidth(2), std::max(Adv("Value"), Adv("1234.5678")) + nPad);
}

// ---- fitted memos ----

// Lines of the memo that the viewport shows entirely.
template <class TMemo>
int FullyShownLines(const TMemo& memo) {
  int n = 0;
  for (QTextBlock block = memo.document()->begin(); block.isValid(); block = block.next()) {
    const QRect r = memo.cursorRect(QTextCursor(block));
    if (r.top() >= 0 && r.bottom() < memo.viewport()->height()) ++n;
  }
  return n;
}

template <class TMemo>
void CheckFittedMemo() {
  struct Case {
    int nLines;
    int nMaxLines;
    int nShown;
    bool bScrollBar;
  };
  for (const Case c : {Case{25, 10, 10, true}, Case{3, 10, 3, false}, Case{10, 10, 10, false}, Case{1, 5, 1, false}}) {
    SCOPED_TRACE(testing::Message() << TMemo::staticMetaObject.className() << ", " << c.nLines << " lines, at most "
                                    << c.nMaxLines);
    QStringList lines;
    for (int i = 1; i <= c.nLines; ++i) lines << QStringLiteral("Line %1").arg(i);
    QWidget parent;
    parent.resize(300, 600);
    auto* memo = new TMemo(&parent);
    memo->setGeometry(0, 0, 300, 40);
    TBasicDialog::ShowInMemo(lines.join(QLatin1Char('\n')), memo, c.nMaxLines);
    parent.show();
    QApplication::processEvents();

    EXPECT_EQ(FullyShownLines(*memo), c.nShown);
    EXPECT_EQ(memo->verticalScrollBar()->isVisible(), c.bScrollBar);
    EXPECT_FALSE(memo->horizontalScrollBar()->isVisible());
    // No room is left for one more line.
    const QRect last = memo->cursorRect(QTextCursor(memo->document()->findBlockByNumber(c.nShown - 1)));
    EXPECT_LT(memo->viewport()->height() - last.bottom(), last.height());
  }
}

TEST(BasicDlg, MemoShowsItsLinesUpToTheMaximumThenScrolls) {
  CheckFittedMemo<QPlainTextEdit>();
  CheckFittedMemo<QTextEdit>();
}

// ---- safe focusing ----

TEST(BasicDlg, SafeFocusControlBringsItsPagesForwardUnlessOneIsHidden) {
  struct Case {
    const char* name;
    bool bInnerTabVisible;
    bool bOuterTabVisible;
    bool bWindowShown;
    bool bFocused;
  };
  const Case cases[] = {
      {"pages behind others", true, true, true, true},
      {"inner tab hidden", false, true, true, false},
      {"outer tab hidden", true, false, true, false},
      {"window not shown", true, true, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* outer = new QTabWidget;
    layout->addWidget(outer);
    auto* start = new QLineEdit;
    outer->addTab(start, QStringLiteral("General"));
    auto* inner = new QTabWidget;
    outer->addTab(inner, QStringLiteral("Details"));
    inner->addTab(new QLabel(QStringLiteral("Summary")), QStringLiteral("Summary"));
    auto* page = new QWidget;
    auto* target = new QLineEdit(page);
    inner->addTab(page, QStringLiteral("Flow"));
    inner->setTabVisible(1, c.bInnerTabVisible);
    outer->setTabVisible(1, c.bOuterTabVisible);
    outer->setCurrentIndex(0);
    inner->setCurrentIndex(0);
    if (c.bWindowShown) ShowActive(&window);
    start->setFocus();

    TBasicDialog::SafeFocusControl(target);

    EXPECT_EQ(outer->currentIndex(), c.bFocused ? 1 : 0);
    EXPECT_EQ(inner->currentIndex(), c.bFocused ? 1 : 0);
    EXPECT_EQ(window.focusWidget(), c.bFocused ? static_cast<QWidget*>(target) : start);
  }
  TBasicDialog::SafeFocusControl(nullptr);
}

// ---- window placement ----

TEST(BasicDlg, FormIsMovedOrShrunkIntoTheWorkArea) {
  const QRect a = QGuiApplication::primaryScreen()->availableGeometry();
  struct Case {
    const char* name;
    QRect given;
    QRect expected;
  };
  const Case cases[] = {
      {"inside", {a.left() + 10, a.top() + 10, 200, 100}, {a.left() + 10, a.top() + 10, 200, 100}},
      {"left of the area", {a.left() - 50, a.top() + 10, 200, 100}, {a.left(), a.top() + 10, 200, 100}},
      {"past the right", {a.right() - 99, a.top() + 10, 200, 100}, {a.right() - 199, a.top() + 10, 200, 100}},
      {"wider than the area", {a.left() + 30, a.top() + 10, a.width() + 100, 100}, {a.left(), a.top() + 10, a.width(), 100}},
      {"above the area", {a.left() + 10, a.top() - 20, 200, 100}, {a.left() + 10, a.top(), 200, 100}},
      {"past the bottom", {a.left() + 10, a.bottom() - 49, 200, 100}, {a.left() + 10, a.bottom() - 99, 200, 100}},
      {"taller than the area", {a.left() + 10, a.top() + 40, 200, a.height() + 1}, {a.left() + 10, a.top(), 200, a.height()}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QWidget form;
    form.setGeometry(c.given);
    TBasicDialog::AdaptFormToAvailableWorkArea(&form);
    EXPECT_EQ(form.frameGeometry(), c.expected);
  }
}

// ---- list backgrounds ----

TEST(BasicDlg, ListBackgroundReachesHeadedListsAndPlainListBoxes) {
  QWidget top;
  auto* headed = new QTreeWidget(&top);
  auto* headless = new QTreeWidget(&top);
  headless->setHeaderHidden(true);
  auto* frame = new QWidget(&top);
  auto* nested = new QTreeWidget(frame);
  auto* plainBox = new QListWidget(frame);
  auto* colouredBox = new QListWidget(&top);
  QPalette yellow = colouredBox->palette();
  yellow.setColor(QPalette::Base, Qt::yellow);
  colouredBox->setPalette(yellow);
  const QColor defaultBase = headless->palette().color(QPalette::Base);
  ASSERT_NE(defaultBase, QColor(247, 249, 255));

  TBasicDialog::AdaptListBackground(&top);

  const QColor blue(247, 249, 255);
  EXPECT_EQ(headed->palette().color(QPalette::Base), blue);
  EXPECT_EQ(nested->palette().color(QPalette::Base), blue);
  EXPECT_EQ(plainBox->palette().color(QPalette::Base), blue);
  EXPECT_EQ(headless->palette().color(QPalette::Base), defaultBase);
  EXPECT_EQ(colouredBox->palette().color(QPalette::Base), QColor(Qt::yellow));
}

// ---- enabling ----

TEST(BasicDlg, EnableWinControlSetsLabelsOnlyDirectlyBelowAndOnlyWhenAsked) {
  for (bool bAlsoNonWin : {false, true}) {
    SCOPED_TRACE(bAlsoNonWin);
    QWidget panel;
    auto* label = new QLabel(QStringLiteral("Flow"), &panel);
    auto* edit = new QLineEdit(&panel);
    auto* group = new QWidget(&panel);
    auto* deepLabel = new QLabel(QStringLiteral("m3/h"), group);
    auto* deepButton = new QPushButton(QStringLiteral("..."), group);

    TBasicDialog::EnableWinControl(&panel, false, bAlsoNonWin);

    // isEnabledTo tells whether a widget was itself disabled, apart from its parents.
    EXPECT_FALSE(panel.isEnabled());
    EXPECT_FALSE(edit->isEnabledTo(&panel));
    EXPECT_FALSE(group->isEnabledTo(&panel));
    EXPECT_FALSE(deepButton->isEnabledTo(group));
    EXPECT_EQ(label->isEnabledTo(&panel), !bAlsoNonWin);
    EXPECT_TRUE(deepLabel->isEnabledTo(group));

    TBasicDialog::EnableWinControl(&panel, true, bAlsoNonWin);
    for (const QWidget* w : panel.findChildren<QWidget*>()) EXPECT_TRUE(w->isEnabled()) << w->metaObject()->className();
  }
}

// ---- numeric fields ----

TEST(BasicDlg, NumericFieldKeepsANumberWhileTyping) {
  QWidget window;
  auto* layout = new QVBoxLayout(&window);
  auto* field = new QLineEdit;
  auto* other = new QLineEdit;
  layout->addWidget(field);
  layout->addWidget(other);
  TBasicDialog::ConnectNrField(field);
  field->setFocus();

  QTest::keyClicks(field, QStringLiteral("1.2.3e5e"));
  EXPECT_EQ(field->text(), "1.203E50");  // a second separator and a second exponent become 0
  EXPECT_EQ(field->cursorPosition(), 8);

  field->setText(QStringLiteral("12"));
  field->setCursorPosition(1);
  QTest::keyClicks(field, QStringLiteral(".."));  // "1..2": the second separator becomes 0
  EXPECT_EQ(field->text(), "1.02");
  EXPECT_EQ(field->cursorPosition(), 3);

  other->setText(QStringLiteral("1..2"));  // not the focused control
  TBasicDialog::NrFieldChange(other);
  EXPECT_EQ(other->text(), "1..2");
}

// ---- combo boxes ----

TEST(BasicDlg, ComboDropDownWidensToItsItemsWithinTheWindow) {
  QWidget window;
  window.resize(400, 100);
  auto* combo = new QComboBox(&window);
  combo->setGeometry(20, 10, 60, 24);
  combo->addItems({QStringLiteral("A"), QStringLiteral("Counterflow plate exchanger")});
  auto* nearEdge = new QComboBox(&window);
  nearEdge->setGeometry(300, 50, 60, 24);
  nearEdge->addItems({QStringLiteral("Counterflow plate exchanger with bypass damper")});

  TBasicDialog::CalcComboBoxDropdownWidth(combo, false);
  TBasicDialog::CalcComboBoxDropdownWidth(nearEdge, true);

  const QFontMetrics fm(combo->font());
  EXPECT_EQ(combo->view()->minimumWidth(), fm.horizontalAdvance(QStringLiteral("Counterflow plate exchanger")) + 8);
  EXPECT_EQ(combo->width(), 60);
  // The list ends 2 pixels before the window's right edge; the box follows it
  // and takes the scroll bar's width more.
  EXPECT_EQ(nearEdge->view()->minimumWidth(), 400 - 300 - 2);
  const int nScrollBarW = nearEdge->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, nearEdge);
  EXPECT_EQ(nearEdge->width(), 98 + nScrollBarW);
}

}  // namespace
