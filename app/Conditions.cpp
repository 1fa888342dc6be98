#include "app/Conditions.h"

#include "docs/RTFReader.h"
#include "i18n/BaseMsgMan.h"

#include <QFontInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {
constexpr int kDesignPixelsPerInch = 96;
}  // namespace

TFrmConditions::TFrmConditions(QWidget* pOwner, const LTLayout& design, const TDocument& fnDocument)
    : TBasicDialog(pOwner, false) {
  setObjectName(QString::fromLatin1(design.szObjectName));
  setWindowTitle(design.szTitle);
  auto* layout = new QVBoxLayout(this);
  if (!design.szPageCaption.isEmpty()) {
    Lbl_PageCaption = new QLabel(design.szPageCaption, this);
    Lbl_PageCaption->setObjectName(QStringLiteral("Lbl_PageCaption"));
    QFont bold = Lbl_PageCaption->font();
    bold.setBold(true);
    Lbl_PageCaption->setFont(bold);
    layout->addWidget(Lbl_PageCaption);
  }
  Txt_Text = new QTextEdit(this);
  Txt_Text->setObjectName(QString::fromLatin1(design.szTextName));
  Txt_Text->setReadOnly(true);
  // The document in the view's own font, so it reads like the window.
  const QFont font = Txt_Text->font();
  const LTDocFont normal{font.family(), QFontInfo(font).pointSizeF(), 0, DrawColors::kWindowText};
  CTRTFReader::Read(fnDocument(normal), *Txt_Text->document());
  layout->addWidget(Txt_Text, 1);
  // Neither choice is made at first: Continue waits for one.
  RB_Accept = new QRadioButton(TBaseMsg::Tr("I accept these conditions"), this);
  RB_Accept->setObjectName(QStringLiteral("RB_Accept"));
  RB_Decline = new QRadioButton(TBaseMsg::Tr("I do not accept these conditions"), this);
  RB_Decline->setObjectName(QStringLiteral("RB_Decline"));
  layout->addWidget(RB_Accept);
  layout->addWidget(RB_Decline);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  Btn_Continue = new QPushButton(TBaseMsg::Tr("Continue"), this);
  Btn_Continue->setObjectName(QStringLiteral("Btn_Continue"));
  Btn_Continue->setDefault(true);
  buttons->addWidget(Btn_Continue);
  layout->addLayout(buttons);
  for (QRadioButton* choice : {RB_Accept, RB_Decline})
    connect(choice, &QRadioButton::toggled, this, [this] { UpdateControls(); });
  connect(Btn_Continue, &QPushButton::clicked, this, [this] { Btn_ContinueClick(); });
  resize(design.nDesignWidth * logicalDpiX() / kDesignPixelsPerInch,
         design.nDesignHeight * logicalDpiY() / kDesignPixelsPerInch);
  Loaded();
}

void TFrmConditions::UpdateControls() {
  Btn_Continue->setEnabled(RB_Accept->isChecked() || RB_Decline->isChecked());
  TBasicDialog::UpdateControls();
}

int TFrmConditions::Answer() const { return RB_Accept->isChecked() ? kAccepted : kNotAccepted; }
