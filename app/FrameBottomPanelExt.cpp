#include "app/FrameBottomPanelExt.h"

#include "app/BasicDlg.h"

#include <QAction>
#include <QApplication>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

#include <optional>

namespace {

// The class-level settings; each is applied only once it has been set.
struct CTCtlBarSettings {
  std::optional<bool> sizeGrip;
  std::optional<bool> sysFont;
  std::optional<TFraBottomPanelExt::TPanelBevel> bevel;
};

CTCtlBarSettings& CtlBarSettings() {
  static CTCtlBarSettings settings;
  return settings;
}

TBasicDialog* OwningDialog(const QWidget* pWidget) {
  for (QWidget* w = pWidget->parentWidget(); w; w = w->parentWidget())
    if (auto* dialog = qobject_cast<TBasicDialog*>(w)) return dialog;
  return nullptr;
}

QList<QLabel*> StatusPanels(const QStatusBar* pSBar) {
  return pSBar->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly);
}

// Windows and plain containers: QWidget or QFrame themselves, or one of our
// frame classes built directly on them. Such a widget takes the focus only
// on behalf of its children, so without a hint of its own it leaves the
// text of the bar alone.
bool IsFormOrFrame(const QWidget* pWidget) {
  if (pWidget->isWindow()) return true;
  const QMetaObject* meta = pWidget->metaObject();
  while (meta && !QByteArray(meta->className()).startsWith('Q')) meta = meta->superClass();
  return meta == &QWidget::staticMetaObject || meta == &QFrame::staticMetaObject;
}

}  // namespace

TFraBottomPanelExt::TFraBottomPanelExt(QWidget* pParent) : QWidget(pParent) {
  setObjectName(QStringLiteral("Frm_Bottom"));
  setFixedHeight(kHeight);
  setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);

  Lbl_RO = new QLabel(QStringLiteral("&Close"), this);
  Lbl_RO->setObjectName(QStringLiteral("Lbl_RO"));
  Lbl_RO->setToolTip(QStringLiteral("Close the window"));
  Lbl_RO->hide();

  Pnl_Buttons = new QWidget(this);
  Pnl_Buttons->setObjectName(QStringLiteral("Pnl_Buttons"));
  Btn_OK = new QPushButton(QStringLiteral("&OK"), Pnl_Buttons);
  Btn_OK->setObjectName(QStringLiteral("Btn_OK"));
  Btn_OK->setToolTip(QStringLiteral("Commit changes and close window"));
  Btn_OK->setDefault(true);
  Btn_Cancel = new QPushButton(QStringLiteral("&Cancel"), Pnl_Buttons);
  Btn_Cancel->setObjectName(QStringLiteral("Btn_Cancel"));
  Btn_Cancel->setToolTip(QStringLiteral("Reject changes and close window"));
  for (QPushButton* b : {Btn_OK, Btn_Cancel}) b->setFixedSize(kButtonWidth, kButtonHeight);
  // Right-aligned and centred between the bar's top and the status bar; a
  // hidden Cancel leaves its place to OK.
  auto* buttons = new QHBoxLayout(Pnl_Buttons);
  buttons->setContentsMargins(0, 0, 8, 0);
  buttons->setSpacing(8);
  buttons->addStretch(1);
  buttons->addWidget(Btn_OK, 0, Qt::AlignVCenter);
  buttons->addWidget(Btn_Cancel, 0, Qt::AlignVCenter);

  Ctl_StatusBar = new QStatusBar(this);
  Ctl_StatusBar->setObjectName(QStringLiteral("Ctl_StatusBar"));
  Ctl_StatusBar->setFixedHeight(kStatusBarHeight);
  Pnl_Hint = new QLabel(Ctl_StatusBar);
  Pnl_Hint->setObjectName(QStringLiteral("Pnl_Hint"));
  Pnl_Hint->setAlignment(Qt::AlignCenter);
  Ctl_StatusBar->addWidget(Pnl_Hint, 1);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(Pnl_Buttons, 1);
  layout->addWidget(Ctl_StatusBar);

  connect(Btn_OK, &QPushButton::clicked, this, &TFraBottomPanelExt::Btn_OKClick);
  connect(Btn_Cancel, &QPushButton::clicked, this, &TFraBottomPanelExt::Btn_CancelClick);
  // Every control of the window reports its focus here.
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* pNow) {
    if (pNow && pNow->window() == window()) GlobalOnEnter(pNow);
  });

  ApplyClassSettings();
  if (const TBasicDialog* dialog = OwningDialog(this); dialog && dialog->ReadOnly()) UseOKOnly(true);
}

void TFraBottomPanelExt::ApplyClassSettings() {
  const CTCtlBarSettings& settings = CtlBarSettings();
  if (settings.sizeGrip) Ctl_StatusBar->setSizeGripEnabled(*settings.sizeGrip);
  if (settings.sysFont) {
    // Off: the bar takes the frame's own font again.
    if (*settings.sysFont) Ctl_StatusBar->setFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
    else Ctl_StatusBar->setFont(QFont());
  }
  if (settings.bevel) {
    switch (*settings.bevel) {
      case pbNone: Pnl_Hint->setFrameStyle(QFrame::NoFrame); break;
      case pbLowered: Pnl_Hint->setFrameStyle(QFrame::Panel | QFrame::Sunken); break;
      case pbRaised: Pnl_Hint->setFrameStyle(QFrame::Panel | QFrame::Raised); break;
    }
  }
}

void TFraBottomPanelExt::UseOKOnly(bool bReplaceCaption) {
  Btn_Cancel->hide();
  if (!bReplaceCaption) return;
  Btn_OK->setText(Lbl_RO->text());
  Btn_OK->setToolTip(Lbl_RO->toolTip());
}

void TFraBottomPanelExt::Btn_OKClick() {
  if (TBasicDialog* dialog = OwningDialog(this)) {
    dialog->Btn_OKClick();
    return;
  }
  if (auto* dialog = qobject_cast<QDialog*>(window())) dialog->accept();
}

void TFraBottomPanelExt::Btn_CancelClick() {
  if (TBasicDialog* dialog = OwningDialog(this)) {
    dialog->Btn_CancelClick();
    return;
  }
  if (auto* dialog = qobject_cast<QDialog*>(window())) dialog->reject();
}

void TFraBottomPanelExt::GlobalOnEnter(QObject* pSender) { DoGlobalOnEnter(pSender, Ctl_StatusBar, v_hintPanelIndex); }

void TFraBottomPanelExt::GlobalOnEnterForForm(QWidget* pForm, QObject* pSender) {
  if (!pForm) return;
  if (auto* bar = pForm->findChild<TFraBottomPanelExt*>()) bar->GlobalOnEnter(pSender);
}

void TFraBottomPanelExt::DoGlobalOnEnter(QObject* pSender, QStatusBar* pSBar, int nPanelIx) {
  if (auto* widget = qobject_cast<QWidget*>(pSender)) {
    const QString szHint = LongHint(widget);
    if (szHint.isEmpty() && IsFormOrFrame(widget)) return;
    SetHintText(szHint, pSBar, nPanelIx);
    return;
  }
  if (qobject_cast<QAction*>(pSender)) {
    SetHintText(LongHint(pSender), pSBar, nPanelIx);
    return;
  }
  SetHintText(QString(), pSBar, nPanelIx);
}

void TFraBottomPanelExt::SetHintText(const QString& szValue, QStatusBar* pSBar, int nPanelIx) {
  if (!pSBar) return;
  const QList<QLabel*> panels = StatusPanels(pSBar);
  if (panels.isEmpty()) {
    if (szValue.isEmpty()) pSBar->clearMessage();
    else pSBar->showMessage(szValue);
    return;
  }
  if (nPanelIx >= 0 && nPanelIx < panels.size()) panels[nPanelIx]->setText(szValue);
}

QString TFraBottomPanelExt::LongHint(const QObject* pObject) {
  QString szStatusTip, szToolTip;
  if (auto* widget = qobject_cast<const QWidget*>(pObject)) {
    szStatusTip = widget->statusTip();
    szToolTip = widget->toolTip();
  } else if (auto* action = qobject_cast<const QAction*>(pObject)) {
    szStatusTip = action->statusTip();
    szToolTip = action->toolTip();
  }
  if (!szStatusTip.isEmpty()) return szStatusTip;
  const qsizetype bar = szToolTip.indexOf(QLatin1Char('|'));
  return bar < 0 ? szToolTip : szToolTip.mid(bar + 1);
}

void TFraBottomPanelExt::SetCtlBarSizeGrip(bool b) { CtlBarSettings().sizeGrip = b; }
void TFraBottomPanelExt::SetCtlBarSysFont(bool b) { CtlBarSettings().sysFont = b; }
void TFraBottomPanelExt::SetCtlBarBevel(TPanelBevel n) { CtlBarSettings().bevel = n; }
void TFraBottomPanelExt::ResetCtlBarSettings() { CtlBarSettings() = CTCtlBarSettings(); }

QString TFraBottomPanelExt::HintText() const {
  const QList<QLabel*> panels = StatusPanels(Ctl_StatusBar);
  if (panels.isEmpty()) return Ctl_StatusBar->currentMessage();
  return v_hintPanelIndex >= 0 && v_hintPanelIndex < panels.size() ? panels[v_hintPanelIndex]->text() : QString();
}
