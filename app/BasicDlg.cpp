#include "app/BasicDlg.h"

#include "app/FrameBottomPanelExt.h"
#include "i18n/BaseMsgMan.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStyle>
#include <QTabWidget>
#include <QTextDocument>
#include <QTextEdit>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <algorithm>
#include <limits>

namespace {

constexpr int kMsgReadOnly = -4;      // "Read-only"
constexpr int kHighDpi = 120;         // pixels per inch from which the column pad narrows
constexpr int kComboTextMargin = 8;   // pixels beside the widest drop-down item
constexpr int kComboWindowMargin = 2;  // pixels kept free at the window's right edge

TBasicDialog::TLoadedHook& LoadedHook() {
  static TBasicDialog::TLoadedHook hook;
  return hook;
}

// Shows the hint of a widget the pointer enters. One per top widget, owned by
// it; InitMouseHints finds it again by its name.
class CTMouseHintFilter final : public QObject {
 public:
  static constexpr const char* kName = "CTMouseHintFilter";

  CTMouseHintFilter(QWidget* pTop, TBasicDialog::TMouseHintHandler handler)
      : QObject(pTop), v_handler(std::move(handler)) {
    setObjectName(QString::fromLatin1(kName));
  }
  void SetHandler(TBasicDialog::TMouseHintHandler handler) { v_handler = std::move(handler); }

 protected:
  bool eventFilter(QObject* pWatched, QEvent* pEvent) override {
    if (pEvent->type() != QEvent::Enter) return false;
    auto* widget = qobject_cast<QWidget*>(pWatched);
    if (!widget) return false;
    if (v_handler) v_handler(widget);
    else TFraBottomPanelExt::GlobalOnEnterForForm(widget->window(), widget);
    return false;
  }

 private:
  TBasicDialog::TMouseHintHandler v_handler;
};

// The width of a list's small images: its icon size, or the style's.
int SmallImageWidth(const QTreeWidget* pLvw) {
  const QSize size = pLvw->iconSize();
  if (size.isValid()) return size.width();
  return pLvw->style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, pLvw);
}

// Logical lines of a text; a final line break starts no line of its own.
int LineCount(const QString& szText) {
  int n = int(szText.count(QLatin1Char('\n'))) + 1;
  if (n > 1 && szText.endsWith(QLatin1Char('\n'))) --n;
  return n;
}

// One axis of AdaptFormToAvailableWorkArea: the window's span [nPos, nPos +
// nSize) is brought into [nAreaPos, nAreaPos + nAreaSize), shrunk only when it
// is larger than the area.
void FitSpan(int& nPos, int& nSize, int nAreaPos, int nAreaSize) {
  if (nPos < nAreaPos || nSize > nAreaSize) nPos = nAreaPos;
  const int nAreaEnd = nAreaPos + nAreaSize;
  if (nPos + nSize <= nAreaEnd) return;
  if (nSize > nAreaSize) nSize = nAreaEnd - nPos;
  else nPos = nAreaEnd - nSize;
}

QScreen* ScreenNearest(QPoint centre) {
  if (QScreen* screen = QGuiApplication::screenAt(centre)) return screen;
  QScreen* nearest = QGuiApplication::primaryScreen();
  qint64 nBest = std::numeric_limits<qint64>::max();
  for (QScreen* screen : QGuiApplication::screens()) {
    const QRect g = screen->geometry();
    const qint64 dx = centre.x() < g.left() ? g.left() - centre.x() : std::max(0, centre.x() - g.right());
    const qint64 dy = centre.y() < g.top() ? g.top() - centre.y() : std::max(0, centre.y() - g.bottom());
    if (dx * dx + dy * dy < nBest) {
      nBest = dx * dx + dy * dy;
      nearest = screen;
    }
  }
  return nearest;
}

void SetListBackground(QWidget* pList) {
  QPalette palette = pList->palette();
  palette.setColor(QPalette::Base, TBasicDialog::ListBackground());
  pList->setPalette(palette);
}

}  // namespace

TBasicDialog::TBasicDialog(QWidget* pParent, bool bReadOnly) : QDialog(pParent), v_readOnly(bReadOnly) {
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

void TBasicDialog::Loaded() {
  if (v_loaded) return;
  v_loaded = true;
  // The minimum size never exceeds the design size: Qt keeps it so by
  // growing a window to its minimum size, so no step is needed here.
  CallLoadedHook(this);
  SetupDialog();
}

void TBasicDialog::showEvent(QShowEvent* event) {
  Loaded();
  QDialog::showEvent(event);
}

void TBasicDialog::SetupDialog() {
  if (v_readOnly) {
    setWindowTitle(windowTitle() + QStringLiteral(" (") + TBaseMsg::GetUnicodeString(kMsgReadOnly) +
                   QLatin1Char(')'));
    const QList<QAbstractButton*> buttons = findChildren<QAbstractButton*>();
    const auto cancel = std::find_if(buttons.begin(), buttons.end(), [](const QAbstractButton* b) {
      return b->objectName().compare(QLatin1String("Btn_Cancel"), Qt::CaseInsensitive) == 0;
    });
    if (cancel != buttons.end()) (*cancel)->hide();
  }
  InitMouseHints(this);
  UpdateControls();
}

int TBasicDialog::Execute() {
  Loaded();
  exec();
  return v_retCode;
}

void TBasicDialog::DoCloseWindow(int nRetCode) {
  if (nRetCode == kRetOK && !ValidateDialog()) return;
  v_retCode = nRetCode;
  done(nRetCode);
}

void TBasicDialog::NrFieldChange(QObject* pSender) {
  auto* edit = qobject_cast<QLineEdit*>(pSender);
  if (!edit || edit->window()->focusWidget() != edit) return;
  const QString szText = edit->text();
  const QString szNumber = TBaseMsg::CheckNumber(szText);
  if (szNumber == szText) return;
  const int nCaret = edit->cursorPosition();
  edit->setText(szNumber);
  edit->setCursorPosition(std::min(nCaret, int(szNumber.size())));
}

void TBasicDialog::ConnectNrField(QLineEdit* pEdit) {
  if (!pEdit) return;
  QObject::connect(pEdit, &QLineEdit::textEdited, pEdit, [pEdit] { NrFieldChange(pEdit); });
}

void TBasicDialog::EnableWinControl(QWidget* pCtl, bool bEnab, bool bAlsoNonWinControls) {
  if (!pCtl) return;
  pCtl->setEnabled(bEnab);
  for (QWidget* child : pCtl->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
    if (child->isWindow()) continue;
    if (qobject_cast<QLabel*>(child)) {
      if (bAlsoNonWinControls) child->setEnabled(bEnab);
      continue;
    }
    EnableWinControl(child, bEnab, false);
  }
}

void TBasicDialog::CalculateListColumnWidths(QTreeWidget* pLvw, int nMaxColW, bool bCollapseEmptyColumns) {
  if (!pLvw) return;
  CalculateListColumnWidths(pLvw, nMaxColW, bCollapseEmptyColumns, pLvw->logicalDpiX());
}

void TBasicDialog::CalculateListColumnWidths(QTreeWidget* pLvw, int nMaxColW, bool bCollapseEmptyColumns,
                                             int nPixelsPerInch) {
  if (!pLvw) return;
  const QFontMetrics fm(pLvw->font());
  const int nW = fm.horizontalAdvance(QLatin1Char('W'));
  const int nPad = nPixelsPerInch >= kHighDpi ? nW + 2 : nW + 6;
  const int nImageW = SmallImageWidth(pLvw);
  const QTreeWidgetItem* header = pLvw->headerItem();

  QList<const QTreeWidgetItem*> items;
  for (QTreeWidgetItemIterator it(pLvw); *it; ++it) items.append(*it);

  const bool bUpdates = pLvw->updatesEnabled();
  pLvw->setUpdatesEnabled(false);
  for (int i = 0; i < pLvw->columnCount(); ++i) {
    int m = fm.horizontalAdvance(header->text(i));
    if (!header->icon(i).isNull()) m += nImageW + nPad;

    int b = 0;  // the widest cell
    for (const QTreeWidgetItem* item : items) {
      int nCell = fm.horizontalAdvance(item->text(i));
      if (i > 0 && !item->icon(i).isNull()) nCell += nImageW + nPad;
      b = std::max(b, nCell);
    }
    m = std::max(m, b);

    int c = m;
    if (i > 0) {
      if (bCollapseEmptyColumns && b == 0) {
        pLvw->setColumnWidth(i, 0);
        continue;
      }
    } else {
      // The first column also holds the item's image and its check box.
      const bool bImages = std::any_of(items.begin(), items.end(), [](auto* it) { return !it->icon(0).isNull(); });
      const bool bCheckBoxes =
          std::any_of(items.begin(), items.end(), [](auto* it) { return it->data(0, Qt::CheckStateRole).isValid(); });
      if (bImages) m += nImageW;
      if (bCheckBoxes) m += QFontInfo(pLvw->font()).pixelSize();
      c = bImages || bCheckBoxes ? m + nPad / 2 : m;
    }

    int nWidth = c + nPad;
    if (nMaxColW != 0) nWidth = std::min(nWidth, nMaxColW);
    pLvw->setColumnWidth(i, nWidth);
  }
  pLvw->setUpdatesEnabled(bUpdates);
}

void TBasicDialog::CalcComboBoxDropdownWidth(QComboBox* pCmb, bool bAdaptWidth) {
  if (!pCmb) return;
  const QFontMetrics fm(pCmb->font());
  int w = 0;
  for (int i = 0; i < pCmb->count(); ++i) w = std::max(w, fm.horizontalAdvance(pCmb->itemText(i)));
  w += kComboTextMargin;

  const QWidget* window = pCmb->window();
  if (window != pCmb) {
    const int nLeft = pCmb->mapTo(window, QPoint(0, 0)).x();
    const int nClientW = window->width();
    if (nLeft + w > nClientW - kComboWindowMargin) w = nClientW - nLeft - kComboWindowMargin;
  }
  if (pCmb->width() >= w) return;

  const int nScrollBarW = pCmb->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, pCmb);
  if (pCmb->count() > pCmb->maxVisibleItems()) w += nScrollBarW;
  pCmb->view()->setMinimumWidth(w);
  if (bAdaptWidth) pCmb->setMinimumWidth(w + nScrollBarW);
}

void TBasicDialog::CalcComboBoxDropdownWidths() {
  for (QComboBox* combo : findChildren<QComboBox*>()) CalcComboBoxDropdownWidth(combo, false);
}

void TBasicDialog::SafeFocusControl(QWidget* pCtl) {
  if (!pCtl) return;
  // The tab pages between the control and its window, innermost first; one
  // whose tab is hidden makes the control unreachable.
  QList<std::pair<QTabWidget*, int>> pages;
  for (QWidget* w = pCtl; w && !w->isWindow(); w = w->parentWidget()) {
    QWidget* stack = w->parentWidget();  // a tab widget holds its pages in a QStackedWidget
    auto* tabs = stack ? qobject_cast<QTabWidget*>(stack->parentWidget()) : nullptr;
    const int nIndex = tabs ? tabs->indexOf(w) : -1;
    if (nIndex < 0) continue;
    if (!tabs->isTabVisible(nIndex)) return;
    pages.append({tabs, nIndex});
  }
  if (!pCtl->window()->isVisible()) return;
  for (const auto& [tabs, nIndex] : pages) tabs->setCurrentIndex(nIndex);

  QWidget* target = pCtl;
  if (pCtl->inherits("CTDimValue"))
    if (auto* edit = pCtl->findChild<QLineEdit*>()) target = edit;
  target->setFocus(Qt::OtherFocusReason);
}

void TBasicDialog::ShowInMemo(const QString& szStr, QPlainTextEdit* pMemo, int nMaxLines) {
  if (!pMemo) return;
  pMemo->setPlainText(szStr);
  ShowInScrollArea(pMemo, LineCount(szStr), nMaxLines, int(pMemo->document()->documentMargin()));
}

void TBasicDialog::ShowInMemo(const QString& szStr, QTextEdit* pMemo, int nMaxLines) {
  if (!pMemo) return;
  pMemo->setPlainText(szStr);
  ShowInScrollArea(pMemo, LineCount(szStr), nMaxLines, int(pMemo->document()->documentMargin()));
}

// Height := edges + line height * n, n the lines shown. The edges are what
// the memo keeps around its text: its frame and contents margins and the
// document margin above and below. The lines of a Qt memo advance by the
// font's line spacing exactly; one pixel more per line would leave room for
// an eleventh line below ten.
// A memo in a layout takes its parent along through that layout.
void TBasicDialog::ShowInScrollArea(QAbstractScrollArea* pMemo, int nLines, int nMaxLines, int nDocumentMargin) {
  pMemo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  pMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  const int nLineHeight = QFontMetrics(pMemo->font()).lineSpacing();
  int n = std::max(nLines, 1);
  if (n > nMaxLines) {
    pMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    n = std::max(nMaxLines, 1);
  }
  const int nEdges = pMemo->height() - pMemo->contentsRect().height() + 2 * nDocumentMargin;
  pMemo->setFixedHeight(nEdges + nLineHeight * n);
}

void TBasicDialog::AdaptFormToAvailableWorkArea(QWidget* pForm) {
  if (!pForm) return;
  const QRect frame = pForm->frameGeometry();
  const QScreen* screen = ScreenNearest(frame.center());
  if (!screen) return;
  const QRect area = screen->availableGeometry();
  int nLeft = frame.left(), nWidth = frame.width();
  int nTop = frame.top(), nHeight = frame.height();
  FitSpan(nLeft, nWidth, area.left(), area.width());
  FitSpan(nTop, nHeight, area.top(), area.height());
  // move() places the frame, resize() sizes the client area.
  if (nWidth != frame.width() || nHeight != frame.height())
    pForm->resize(pForm->width() - (frame.width() - nWidth), pForm->height() - (frame.height() - nHeight));
  if (nLeft != frame.left() || nTop != frame.top()) pForm->move(nLeft, nTop);
}

void TBasicDialog::AdaptListBackground(QWidget* pTop) {
  if (!pTop) return;
  for (QAbstractItemView* view : pTop->findChildren<QAbstractItemView*>()) {
    if (auto* tree = qobject_cast<QTreeView*>(view)) {
      if (!tree->isHeaderHidden()) SetListBackground(tree);
    } else if (auto* list = qobject_cast<QListWidget*>(view)) {
      if (list->palette().color(QPalette::Base) == QApplication::palette(list).color(QPalette::Base))
        SetListBackground(list);
    }
  }
}

void TBasicDialog::SetLoadedHook(TLoadedHook pMtd) { LoadedHook() = std::move(pMtd); }

void TBasicDialog::CallLoadedHook(QWidget* pTopControl) {
  if (pTopControl && LoadedHook()) LoadedHook()(pTopControl);
}

void TBasicDialog::InitMouseHints(QWidget* pTop, TMouseHintHandler onEnter) {
  if (!pTop) return;
  auto* filter = dynamic_cast<CTMouseHintFilter*>(
      pTop->findChild<QObject*>(QString::fromLatin1(CTMouseHintFilter::kName), Qt::FindDirectChildrenOnly));
  if (filter) filter->SetHandler(std::move(onEnter));
  else filter = new CTMouseHintFilter(pTop, std::move(onEnter));
  // Controls that can take the focus are the ones that show a hint on
  // focusing; labels and containers stay out.
  for (QWidget* widget : pTop->findChildren<QWidget*>())
    if (widget->focusPolicy() != Qt::NoFocus) widget->installEventFilter(filter);
}
