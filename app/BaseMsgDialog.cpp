#include "app/BaseMsgDialog.h"

#include <QApplication>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

constexpr int kMargin = 8;          // design pixels: the icon's left position
constexpr int kIconSize = 32;       // pixels, the icon of the message's kind
constexpr int kMinTextWidth = 200;  // pixels: a one-word message still gets a box, not a slit
// Where no screen can be asked (none attached), the box is sized for this one.
constexpr QRect kFallbackScreen(0, 0, 1024, 768);

struct ButtonDef {
  TMsgDlgBtn button;
  const char* caption;
};

// Left-to-right order.
const ButtonDef kButtons[] = {
    {mbOK, "&OK"},   {mbYes, "&Yes"},     {mbYesToAll, "Yes to All"}, {mbNo, "&No"},         {mbNoToAll, "No to All"},
    {mbAll, "&All"}, {mbAbort, "&Abort"}, {mbRetry, "&Retry"},        {mbIgnore, "&Ignore"}, {mbCancel, "&Cancel"},
};

// The caption of each kind of message; any other kind has none.
const char* CaptionOf(int nDlgType) {
  switch (nDlgType) {
    case mtError: return "Error";
    case mtConfirmation: return "Confirm";
    case mtWarning: return "Warning";
    case mtInformation: return "Information";
    default: return nullptr;
  }
}

QStyle::StandardPixmap IconOf(int nDlgType) {
  switch (nDlgType) {
    case mtError: return QStyle::SP_MessageBoxCritical;
    case mtConfirmation: return QStyle::SP_MessageBoxQuestion;
    case mtWarning: return QStyle::SP_MessageBoxWarning;
    case mtInformation: return QStyle::SP_MessageBoxInformation;
    default: return QStyle::SP_CustomBase;
  }
}

QRect AvailableArea(const QWidget* pBox) {
  const QScreen* screen = pBox->screen();
  if (!screen) screen = QGuiApplication::primaryScreen();
  return screen ? screen->availableGeometry() : kFallbackScreen;
}

// Lays every paragraph of pDoc out as a plain-text memo does (the
// document's font and text option, nTextW pixels between the margins) and
// hands each line to fnLine.
void ForEachLine(const QTextDocument* pDoc, const QTextOption& option, qreal nTextW,
                 const std::function<void(const QTextLine&)>& fnLine) {
  for (QTextBlock block = pDoc->begin(); block.isValid(); block = block.next()) {
    QTextLayout layout(block.text(), pDoc->defaultFont());
    layout.setTextOption(option);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
      line.setLineWidth(nTextW);
      fnLine(line);
    }
    layout.endLayout();
  }
}

// Pixels of the widest paragraph kept on one line.
int NaturalTextWidth(const QTextDocument* pDoc) {
  QTextOption noWrap = pDoc->defaultTextOption();
  noWrap.setWrapMode(QTextOption::NoWrap);
  qreal widest = 0;
  ForEachLine(pDoc, noWrap, 1e6, [&widest](const QTextLine& line) { widest = std::max(widest, line.naturalTextWidth()); });
  return int(std::ceil(widest));
}

// Pixels of the text's lines wrapped at nTextW.
int WrappedTextHeight(const QTextDocument* pDoc, int nTextW) {
  qreal height = 0;
  ForEachLine(pDoc, pDoc->defaultTextOption(), nTextW, [&height](const QTextLine& line) { height += line.height(); });
  return int(std::ceil(height));
}

}  // namespace

TBaseMsgDialog::TBaseMsgDialog(const CTMessageRequest& request, QWidget* pParent)
    : QDialog(pParent), v_request(request) {
  setObjectName(QStringLiteral("TBaseMsg"));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);

  auto* top = new QHBoxLayout;
  top->setSpacing(2 * kMargin);
  Img_Icon = new QLabel(this);
  Img_Icon->setObjectName(QStringLiteral("Img_Icon"));
  Img_Icon->setAlignment(Qt::AlignTop);
  top->addWidget(Img_Icon, 0, Qt::AlignTop);

  Txt_Message = new QPlainTextEdit(this);
  Txt_Message->setObjectName(QStringLiteral("Txt_Message"));
  Txt_Message->setReadOnly(true);
  Txt_Message->setFrameShape(QFrame::NoFrame);
  Txt_Message->viewport()->setAutoFillBackground(false);
  Txt_Message->setPlainText(request.v_text);
  top->addWidget(Txt_Message, 1, Qt::AlignTop);

  Txt_Edit = new QLineEdit(this);
  Txt_Edit->setObjectName(QStringLiteral("Txt_Edit"));
  top->addWidget(Txt_Edit, 0, Qt::AlignTop);

  if (request.v_forEdit) {
    Img_Icon->hide();
    setWindowTitle(request.v_captionText);
    Txt_Edit->setText(request.v_defaultValue);
    connect(Txt_Edit, &QLineEdit::textEdited, this, &TBaseMsgDialog::OnEdited);
    connect(Txt_Edit, &QLineEdit::textChanged, this, &TBaseMsgDialog::UpdateOk);
  } else {
    Txt_Edit->hide();
    if (const char* caption = CaptionOf(request.v_dlgType)) setWindowTitle(TBaseMsg::Tr(caption));
    const QStyle::StandardPixmap icon = IconOf(request.v_dlgType);
    if (icon == QStyle::SP_CustomBase) Img_Icon->hide();
    else Img_Icon->setPixmap(style()->standardIcon(icon).pixmap(kIconSize, kIconSize));
  }

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
  layout->setSpacing(kMargin);
  // The box is as large as its contents and no larger; FitMessage sizes them.
  layout->setSizeConstraint(QLayout::SetFixedSize);
  layout->addLayout(top);
  BuildButtons();
  auto* bottom = new QHBoxLayout;
  bottom->setObjectName(QStringLiteral("Sbx_Bottom"));
  bottom->setSpacing(2 * kMargin);
  bottom->addStretch(1);
  for (const ButtonDef& def : kButtons)
    if (QPushButton* b = v_buttons.value(def.button)) bottom->addWidget(b);
  layout->addLayout(bottom);

  ensurePolished();
  FitMessage(bottom->sizeHint().width());
  if (request.v_forEdit) UpdateOk();
}

void TBaseMsgDialog::FitMessage(int nButtonRowW) {
  const QRect area = AvailableArea(this);
  const int nMaxBoxW = std::min(kMaxBoxWidth, int(area.width() * kMaxScreenShare));
  const int nMaxBoxH = int(area.height() * kMaxScreenShare);

  const QTextDocument* doc = Txt_Message->document();
  const int nDocMargin = int(std::ceil(doc->documentMargin()));
  const int nEdges = 2 * Txt_Message->frameWidth() + 2 * nDocMargin;
  // What the box holds across besides the message's text.
  int nBesideW = 2 * kMargin + nEdges;
  if (!Img_Icon->isHidden()) nBesideW += kIconSize + 2 * kMargin;
  if (!Txt_Edit->isHidden()) nBesideW += Txt_Edit->sizeHint().width() + 2 * kMargin;

  // One pixel over the natural width so that rounding never wraps a line
  // that fits; the buttons' row sets the least width of the box.
  const int nMaxTextW = std::max(kMinTextWidth, nMaxBoxW - nBesideW);
  int nTextW = std::clamp(NaturalTextWidth(doc) + 1, kMinTextWidth, nMaxTextW);
  nTextW = std::max(nTextW, 2 * kMargin + nButtonRowW - nBesideW);

  // The memo counts its last line as in view only when the line and the
  // bottom margin end one pixel above its bottom edge.
  int nMemoW = nTextW + nEdges;
  int nMemoH = WrappedTextHeight(doc, nTextW) + nEdges + 1;
  const int nButtonRowH = v_buttons.isEmpty() ? 0 : v_buttons.first()->sizeHint().height();
  // The box's margins, the gap above the buttons and the buttons' row.
  const int nAroundH = 2 * kMargin + kMargin + nButtonRowH;
  const int nOneLineH = QFontMetrics(doc->defaultFont()).lineSpacing() + nEdges;
  const int nMaxMemoH = std::max(nMaxBoxH - nAroundH, nOneLineH);
  Txt_Message->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  if (nMemoH > nMaxMemoH) {
    // Too tall even for the largest box: it scrolls, and the scroll bar
    // takes its own width so that the lines wrap as measured.
    Txt_Message->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    nMemoW += style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, Txt_Message->verticalScrollBar());
    nMemoH = nMaxMemoH;
  } else {
    Txt_Message->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  }
  Txt_Message->setFixedSize(nMemoW, nMemoH);
}

void TBaseMsgDialog::BuildButtons() {
  const TMsgDlgButtons set = v_request.v_forEdit ? MsgButtons({mbOK, mbCancel}) : v_request.v_dlgBtns;
  for (const ButtonDef& def : kButtons) {
    if (!HasButton(set, def.button)) continue;
    const QString szEnglish = QString::fromUtf8(def.caption);
    auto* b = new QPushButton(TBaseMsg::Tr(szEnglish), this);
    b->setObjectName(QStringLiteral("Btn_%1").arg(QString(szEnglish).remove(QLatin1Char('&')).remove(QLatin1Char(' '))));
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, this, [this, button = def.button] { OnButton(button); });
    v_buttons.insert(def.button, b);
  }
  if (QPushButton* ok = v_buttons.value(mbOK)) ok->setDefault(true);
}

QString TBaseMsgDialog::EditedText() const { return Txt_Edit->text().trimmed(); }

void TBaseMsgDialog::OnEdited(const QString& szText) {
  if (v_request.v_rules.bEditNumericOnly) {
    const QString szChecked = TBaseMsg::CheckNumber(szText);
    if (szChecked != szText) {
      const int pos = Txt_Edit->cursorPosition();
      Txt_Edit->setText(szChecked);
      Txt_Edit->setCursorPosition(std::min(pos, int(szChecked.size())));
    }
  }
}

void TBaseMsgDialog::UpdateOk() {
  if (QPushButton* ok = v_buttons.value(mbOK)) ok->setEnabled(TBaseMsg::EditOkEnabled(Txt_Edit->text(), v_request.v_rules));
}

void TBaseMsgDialog::OnButton(TMsgDlgBtn button) {
  if (v_request.v_forEdit && button == mbOK) {
    const int nRefusal = TBaseMsg::CheckEditValue(Txt_Edit->text(), v_request.v_rules);
    if (nRefusal != 0) {
      TBaseMsg::DisplayError(this, nRefusal, Txt_Edit->text().trimmed());
      return;
    }
  }
  done(ModalResultOf(button));
}
