#pragma once
// TFrm_Configuration: the floating "Configuration Conventions" window: the
// configuration drawing without limits, beside the psychrometric chart. It
// stays on top, closes with OK or its close box, and then tells its owner.

#include "app/BasicDlg.h"
#include "app/FrameConfig.h"

#include <functional>

class TFrm_Configuration : public TBasicDialog {
  Q_OBJECT
 public:
  using CB_UserClosed = std::function<void()>;

  TFrm_Configuration(QWidget* pOwner, CB_UserClosed pUserCloses, TFrm_Config::CB_GetALDeviceProc GetVentDevice,
                     TFrm_Config::CB_GetConfigData GetConfigData);
  // Draws the current unit again.
  void Redraw();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  TFrm_Config* Pbx_Config;
  CB_UserClosed v_userCloses;
};
