#include "app/Disclaimer.h"

#include "app/ApplicationUtils.h"
#include "docs/GeneralTerms.h"
#include "docs/RTFReader.h"

#include <QFontInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {

// The size at design time, in pixels at kDesignPixelsPerInch.
constexpr int kDesignWidth = 720, kDesignHeight = 520, kDesignPixelsPerInch = 96;

}  // namespace

TFrm_Disclaimer::TFrm_Disclaimer(QWidget* pOwner, const QString& szTitle) : TBasicDialog(pOwner, false) {
  setObjectName(QStringLiteral("TFrm_Disclaimer"));
  setWindowTitle(szTitle);
  auto* layout = new QVBoxLayout(this);
  Txt_Terms = new QTextEdit(this);
  Txt_Terms->setObjectName(QStringLiteral("Txt_Terms"));
  Txt_Terms->setReadOnly(true);
  const QFont font = Txt_Terms->font();
  const LTDocFont normal{font.family(), QFontInfo(font).pointSizeF(), 0, DrawColors::kWindowText};
  CTRTFReader::Read(CTGeneralTerms::Rtf(ApplicationUtils::Title(), normal), *Txt_Terms->document());
  layout->addWidget(Txt_Terms, 1);
  // Neither choice is made at first: Continue waits for one.
  RB_Accept = new QRadioButton(QStringLiteral("I accept these conditions"), this);
  RB_Accept->setObjectName(QStringLiteral("RB_Accept"));
  RB_Decline = new QRadioButton(QStringLiteral("I do not accept these conditions"), this);
  RB_Decline->setObjectName(QStringLiteral("RB_Decline"));
  layout->addWidget(RB_Accept);
  layout->addWidget(RB_Decline);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  Btn_Continue = new QPushButton(QStringLiteral("Continue"), this);
  Btn_Continue->setObjectName(QStringLiteral("Btn_Continue"));
  buttons->addWidget(Btn_Continue);
  layout->addLayout(buttons);
  for (QRadioButton* choice : {RB_Accept, RB_Decline})
    connect(choice, &QRadioButton::toggled, this, [this] { UpdateControls(); });
  connect(Btn_Continue, &QPushButton::clicked, this, [this] { Btn_ContinueClick(); });
  resize(kDesignWidth * logicalDpiX() / kDesignPixelsPerInch, kDesignHeight * logicalDpiY() / kDesignPixelsPerInch);
  Loaded();
}

int TFrm_Disclaimer::Execute(QWidget* pOwner, const QString& szTitle) {
  TFrm_Disclaimer dialog(pOwner, szTitle);
  return dialog.Execute();
}

void TFrm_Disclaimer::UpdateControls() {
  Btn_Continue->setEnabled(RB_Accept->isChecked() || RB_Decline->isChecked());
  TBasicDialog::UpdateControls();
}

int TFrm_Disclaimer::Answer() const { return RB_Accept->isChecked() ? kAccepted : kNotAccepted; }
