#include "app/Privacy.h"

#include "docs/RTFReader.h"
#include "i18n/BaseMsgMan.h"
#include "online/PrivacyNotice.h"

#include <QFontInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {

// The size at design time, in pixels at kDesignPixelsPerInch.
constexpr int kDesignWidth = 620, kDesignHeight = 430, kDesignPixelsPerInch = 96;

QString Tr(const char* szText) { return TBaseMsg::Tr(QString::fromUtf8(szText)); }

}  // namespace

TFrm_Privacy::TFrm_Privacy(QWidget* pOwner, const QString& szTitle) : TBasicDialog(pOwner, false) {
  setObjectName(QStringLiteral("TFrm_Privacy"));
  setWindowTitle(Tr("Notice"));
  auto* layout = new QVBoxLayout(this);

  Lbl_PageCaption = new QLabel(Tr("NOTICE ON DATA PROCESSING"), this);
  Lbl_PageCaption->setObjectName(QStringLiteral("Lbl_PageCaption"));
  QFont bold = Lbl_PageCaption->font();
  bold.setBold(true);
  Lbl_PageCaption->setFont(bold);
  layout->addWidget(Lbl_PageCaption);

  Txt_Notice = new QTextEdit(this);
  Txt_Notice->setObjectName(QStringLiteral("Txt_Notice"));
  Txt_Notice->setReadOnly(true);
  // The document in the view's own font, so it reads like the window.
  const QFont font = Txt_Notice->font();
  const LTDocFont normal{font.family(), QFontInfo(font).pointSizeF(), 0, DrawColors::kWindowText};
  CTRTFReader::Read(CTPrivacyNotice::Rtf(szTitle, normal), *Txt_Notice->document());
  layout->addWidget(Txt_Notice, 1);

  // Neither choice is made at first: Continue waits for one.
  RB_Accept = new QRadioButton(Tr("I accept these conditions"), this);
  RB_Accept->setObjectName(QStringLiteral("RB_Accept"));
  RB_Decline = new QRadioButton(Tr("I do not accept these conditions"), this);
  RB_Decline->setObjectName(QStringLiteral("RB_Decline"));
  layout->addWidget(RB_Accept);
  layout->addWidget(RB_Decline);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  Btn_Continue = new QPushButton(Tr("Continue"), this);
  Btn_Continue->setObjectName(QStringLiteral("Btn_Continue"));
  Btn_Continue->setDefault(true);
  buttons->addWidget(Btn_Continue);
  layout->addLayout(buttons);

  for (QRadioButton* choice : {RB_Accept, RB_Decline})
    connect(choice, &QRadioButton::toggled, this, [this] { UpdateControls(); });
  connect(Btn_Continue, &QPushButton::clicked, this, [this] { Btn_ContinueClick(); });
  resize(kDesignWidth * logicalDpiX() / kDesignPixelsPerInch, kDesignHeight * logicalDpiY() / kDesignPixelsPerInch);
  Loaded();
}

int TFrm_Privacy::Execute(QWidget* pOwner, const QString& szTitle) {
  TFrm_Privacy dialog(pOwner, szTitle);
  return dialog.Execute();
}

void TFrm_Privacy::UpdateControls() {
  Btn_Continue->setEnabled(RB_Accept->isChecked() || RB_Decline->isChecked());
  TBasicDialog::UpdateControls();
}

int TFrm_Privacy::Answer() const { return RB_Accept->isChecked() ? kAccepted : kNotAccepted; }
