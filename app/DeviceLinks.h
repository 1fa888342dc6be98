#pragma once
// TFrmDeviceLinks: "Device Information", the online information about a
// series (CTDeviceLinks): one tab captioned with the series' keyword, the
// internet and extranet rows in their boxes, each with a button that opens
// its address in the browser (TDlgSelect's link opener). Without a keyword
// the rows are the fixed links for every series, without boxes.

#include "app/BasicDlg.h"
#include "online/DeviceLinks.h"

#include <QList>

class CTBaseFactory;
class QGroupBox;
class QPushButton;
class QTabWidget;
class TFraBottomPanelExt;

class TFrmDeviceLinks : public TBasicDialog {
  Q_OBJECT
 public:
  // szGroup, when not empty, is the device group shown before the keyword
  // on the tab. nServerID: the server whose addresses open
  // (CTDeviceLinks::kBuildServer: the build's).
  TFrmDeviceLinks(QWidget* pOwner, CTBaseFactory* pFactory, const QString& szSeries, const QString& szGroup,
                  int nServerID);

  // The window modally, or the warning that there is nothing to show.
  static void ShowInformationAbout(QWidget* pOwner, CTBaseFactory* pFactory, const QString& szSeries,
                                   const QString& szGroup, int nServerID);

  // Opens row nRow's address; nothing when the server has no address.
  void Btn_OpenClick(int nRow);
  const QList<CTDeviceLinks::LTInfoRow>& Rows() const { return v_rows; }

 private:
  QWidget* AddRow(QWidget* pBox, int nRow);

  QString v_series;
  int v_serverID;
  QList<CTDeviceLinks::LTInfoRow> v_rows;
  QTabWidget* Ctl_Tabs = nullptr;
  QGroupBox *Box_Internet = nullptr, *Box_Extranet = nullptr;
  QWidget* Pnl_Links = nullptr;
  TFraBottomPanelExt* Frm_Bottom = nullptr;
};
