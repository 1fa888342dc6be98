#pragma once
// TFrm_Config: a paint box with the configuration drawing of the current
// unit. It holds no unit: at every paint it asks its owner for the unit and
// the drawing data, so it never draws a unit a new selection run has freed.

#include "charts/ConfigDrawing.h"

#include <QWidget>

#include <functional>

class Cls_HRX;

class TFrm_Config : public QWidget {
  Q_OBJECT
 public:
  using CB_GetALDeviceProc = std::function<Cls_HRX*()>;
  using CB_GetConfigData = std::function<LTConfigData()>;

  explicit TFrm_Config(QWidget* pParent = nullptr);
  void SetupWindow(CB_GetALDeviceProc GetVentDevice, CB_GetConfigData GetConfigData, bool bShowLimits);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  CB_GetALDeviceProc v_getVentDevice;
  CB_GetConfigData v_getConfigData;
  bool v_showLimits = true;
};
