#include "app/FrmConfiguration.h"

#include "app/FrameBottomPanelExt.h"

#include <QCloseEvent>
#include <QVBoxLayout>

TFrm_Configuration::TFrm_Configuration(QWidget* pOwner, CB_UserClosed pUserCloses,
                                       TFrm_Config::CB_GetALDeviceProc GetVentDevice,
                                       TFrm_Config::CB_GetConfigData GetConfigData)
    : TBasicDialog(pOwner, false), v_userCloses(std::move(pUserCloses)) {
  setObjectName(QStringLiteral("TFrm_Configuration"));
  setWindowTitle(QStringLiteral("Configuration Conventions"));
  setWindowFlag(Qt::WindowStaysOnTopHint);
  setWindowFlag(Qt::WindowMaximizeButtonHint);
  setModal(false);
  setAttribute(Qt::WA_DeleteOnClose);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* background = new QWidget(this);
  background->setObjectName(QStringLiteral("Pnl_BG"));
  background->setStyleSheet(QStringLiteral("background: white;"));
  auto* inner = new QVBoxLayout(background);
  Pbx_Config = new TFrm_Config(background);
  Pbx_Config->setObjectName(QStringLiteral("Pbx_Config"));
  Pbx_Config->SetupWindow(std::move(GetVentDevice), std::move(GetConfigData), false);
  inner->addWidget(Pbx_Config);
  layout->addWidget(background, 1);
  auto* bottom = new TFraBottomPanelExt(this);
  bottom->setObjectName(QStringLiteral("Frm_Bottom"));
  bottom->UseOKOnly(false);
  layout->addWidget(bottom);
  setMinimumSize(608, 434);
  resize(784, 561 + TFraBottomPanelExt::kHeight);
  move(10, 10);
}

void TFrm_Configuration::Redraw() { Pbx_Config->update(); }

void TFrm_Configuration::closeEvent(QCloseEvent* event) {
  if (v_userCloses) v_userCloses();
  v_userCloses = nullptr;
  TBasicDialog::closeEvent(event);
}
