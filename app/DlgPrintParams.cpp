#include "app/DlgPrintParams.h"

#include "docs/PrintParams.h"
#include "i18n/BaseMsgMan.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

TDlgPrintParams::TDlgPrintParams(QWidget* pParent) : TBasicDialog(pParent, false) {
  setObjectName(QStringLiteral("TDlgPrintParams"));
  setWindowTitle(QStringLiteral("Print Parameters"));
  auto* layout = new QVBoxLayout(this);
  auto* address = new QGroupBox(QStringLiteral("Distributor name and address"), this);
  auto* form = new QFormLayout(address);
  for (int i = 0; i < 3; ++i) {
    v_lines[i] = new QLineEdit(CTPrintParams::GetLine(i + 1), address);
    v_lines[i]->setObjectName(QStringLiteral("Edt_Line%1").arg(i + 1));
    v_lines[i]->setToolTip(QStringLiteral("Line %1 of name and address").arg(i + 1));
    form->addRow(QStringLiteral("Line %1").arg(i + 1), v_lines[i]);
  }
  layout->addWidget(address);
  auto* logo = new QGroupBox(QStringLiteral("Distributor logo"), this);
  auto* logoLayout = new QVBoxLayout(logo);
  v_preview = new QLabel(logo);
  v_preview->setFixedSize(CTPrintParams::kMaxLogoWidth * logicalDpiX() / 300, CTPrintParams::kMaxLogoHeight * logicalDpiY() / 300);
  v_preview->setAutoFillBackground(true);
  v_fileName = new QLabel(logo);
  v_fileName->setObjectName(QStringLiteral("Lbl_FileName"));
  v_size = new QLabel(logo);
  v_size->setObjectName(QStringLiteral("Lbl_Dimensions"));
  auto* buttons = new QHBoxLayout;
  auto* browse = new QPushButton(QStringLiteral("Browse..."), logo);
  browse->setToolTip(QStringLiteral("Browse for the logo file"));
  v_clear = new QPushButton(QStringLiteral("Clear"), logo);
  v_clear->setObjectName(QStringLiteral("Btn_Clear"));
  v_clear->setToolTip(QStringLiteral("Do not use a logo file"));
  buttons->addWidget(browse);
  buttons->addWidget(v_clear);
  buttons->addStretch(1);
  logoLayout->addWidget(v_preview);
  logoLayout->addWidget(new QLabel(QStringLiteral("File name"), logo));
  logoLayout->addWidget(v_fileName);
  logoLayout->addWidget(new QLabel(QStringLiteral("Dimensions (drawing scaled to 300 dpi)"), logo));
  logoLayout->addWidget(v_size);
  logoLayout->addWidget(new QLabel(QStringLiteral("Width max. %1, height max. %2")
                                       .arg(CTPrintParams::kMaxLogoWidth)
                                       .arg(CTPrintParams::kMaxLogoHeight),
                                   logo));
  logoLayout->addLayout(buttons);
  layout->addWidget(logo);
  auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  layout->addWidget(box);
  connect(box, &QDialogButtonBox::accepted, this, [this] { Btn_OKClick(); });
  connect(box, &QDialogButtonBox::rejected, this, [this] { Btn_CancelClick(); });
  connect(browse, &QPushButton::clicked, this, [this] {
    const QString start = v_logoFile.isEmpty()
                              ? QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("Logos"))
                              : v_logoFile;
    const QString chosen = QFileDialog::getOpenFileName(this, QStringLiteral("Select Logo"), start,
                                                        QStringLiteral("Bitmap files (*.bmp *.png)"));
    if (!chosen.isEmpty()) SetLogoFile(chosen);
  });
  connect(v_clear, &QPushButton::clicked, this, [this] { SetLogoFile(QString()); });
  SetLogoFile(CTPrintParams::GetLogoFile());
}

void TDlgPrintParams::SetLogoFile(const QString& szPath) {
  v_logoFile = szPath;
  v_fileName->setText(TBaseMsg::ReducedFileName(szPath));
  v_clear->setEnabled(!szPath.isEmpty());
  ShowLogo();
}

void TDlgPrintParams::ShowLogo() {
  const QImage logo = v_logoFile.isEmpty() ? QImage() : QImage(v_logoFile);
  if (logo.isNull()) {
    v_preview->clear();
    v_size->clear();
    return;
  }
  // At 300 dpi, as it is printed.
  const QSize shown(qRound(logo.width() * logicalDpiX() / 300.0), qRound(logo.height() * logicalDpiY() / 300.0));
  v_preview->setPixmap(QPixmap::fromImage(logo.scaled(shown)));
  v_size->setText(QStringLiteral("%1 x %2").arg(logo.width()).arg(logo.height()));
}

bool TDlgPrintParams::ValidateDialog() {
  QString message;
  if (!CTPrintParams::CheckLogo(v_logoFile, message)) {
    TBaseMsg::DisplayError(this, message);
    return false;
  }
  CTPrintParams::Save({v_lines[0]->text(), v_lines[1]->text(), v_lines[2]->text()}, v_logoFile);
  return true;
}
