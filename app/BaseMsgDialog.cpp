#include "app/BaseMsgDialog.h"

#include <QApplication>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace {

constexpr int kMargin = 8;        // design pixels: the icon's left position
constexpr int kMaxMemoLines = 10;  // lines shown before the memo scrolls

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
  top->addWidget(Img_Icon);

  Txt_Message = new QPlainTextEdit(this);
  Txt_Message->setObjectName(QStringLiteral("Txt_Message"));
  Txt_Message->setReadOnly(true);
  Txt_Message->setFrameShape(QFrame::NoFrame);
  Txt_Message->viewport()->setAutoFillBackground(false);
  Txt_Message->setPlainText(request.v_text);
  const QFontMetrics fm(Txt_Message->font());
  const int nLines = std::clamp(int(request.v_text.count(QLatin1Char('\n'))) + 1, 1, kMaxMemoLines);
  Txt_Message->setMinimumWidth(fm.averageCharWidth() * 50);
  Txt_Message->setFixedHeight(fm.lineSpacing() * (nLines + 1) + kMargin);
  top->addWidget(Txt_Message, 1);

  Txt_Edit = new QLineEdit(this);
  Txt_Edit->setObjectName(QStringLiteral("Txt_Edit"));
  top->addWidget(Txt_Edit);

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
    else Img_Icon->setPixmap(style()->standardIcon(icon).pixmap(32, 32));
  }

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
  layout->addLayout(top);
  BuildButtons();
  auto* bottom = new QHBoxLayout;
  bottom->setObjectName(QStringLiteral("Sbx_Bottom"));
  bottom->setSpacing(2 * kMargin);
  bottom->addStretch(1);
  for (const ButtonDef& def : kButtons)
    if (QPushButton* b = v_buttons.value(def.button)) bottom->addWidget(b);
  layout->addLayout(bottom);

  if (request.v_forEdit) UpdateOk();
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
