#include "app/FrameConfig.h"

#include "charts/PainterSurface.h"

#include <QPainter>

TFrm_Config::TFrm_Config(QWidget* pParent) : QWidget(pParent) {
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(13);
  setFont(font);
  setMinimumSize(608, 380);
}

void TFrm_Config::SetupWindow(CB_GetALDeviceProc GetVentDevice, CB_GetConfigData GetConfigData, bool bShowLimits) {
  v_getVentDevice = std::move(GetVentDevice);
  v_getConfigData = std::move(GetConfigData);
  v_showLimits = bShowLimits;
  update();
}

void TFrm_Config::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  if (!v_getVentDevice || !v_getConfigData) return;
  CTPainterSurface surface(&painter, false);
  LTFont font = surface.Font();
  font.name = QStringLiteral("Arial");
  font.sizePt = 10;  // 13 px at 96 ppi
  surface.SetFont(font);
  CTConfigDrawing::DrawConfiguration(surface, width(), height(), v_getVentDevice(), v_showLimits, v_getConfigData());
}
