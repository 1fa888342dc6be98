#include "app/DeviceLinks.h"

#include "app/FrameBottomPanelExt.h"
#include "app/DlgSelect.h"
#include "i18n/BaseMsgMan.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

template <typename T>
T* Named(T* pWidget, const QString& szName) {
  pWidget->setObjectName(szName);
  return pWidget;
}

}  // namespace

TFrmDeviceLinks::TFrmDeviceLinks(QWidget* pOwner, CTBaseFactory* pFactory, const QString& szSeries,
                                 const QString& szGroup, int nServerID)
    : TBasicDialog(pOwner, false),
      v_series(szSeries.trimmed()),
      v_serverID(nServerID),
      v_rows(CTDeviceLinks::Rows(pFactory, szSeries)) {
  setObjectName(QStringLiteral("TFrmDeviceLinks"));
  setWindowTitle(TBaseMsg::Tr("Device Information"));
  auto* layout = new QVBoxLayout(this);

  Ctl_Tabs = Named(new QTabWidget(this), QStringLiteral("Ctl_Tabs"));
  auto* page = Named(new QWidget(Ctl_Tabs), QStringLiteral("Tab_Series"));
  auto* pageLayout = new QVBoxLayout(page);
  // A tab takes "&" for a mnemonic; a series may hold one.
  Ctl_Tabs->addTab(page, CTDeviceLinks::TabCaption(v_series, szGroup).replace(QLatin1Char('&'), QStringLiteral("&&")));

  // The boxes tell where a page lives; without a keyword every row is a
  // public link and needs no box.
  const bool keyword = !v_series.isEmpty();
  Box_Internet = Named(new QGroupBox(TBaseMsg::Tr("Norvane Internet"), page), QStringLiteral("Box_Internet"));
  Box_Extranet = Named(new QGroupBox(TBaseMsg::Tr("Norvane Extranet"), page), QStringLiteral("Box_Extranet"));
  Pnl_Links = Named(new QWidget(page), QStringLiteral("Pnl_Links"));
  for (QWidget* container : {static_cast<QWidget*>(Box_Internet), static_cast<QWidget*>(Box_Extranet), Pnl_Links}) {
    new QVBoxLayout(container);
    pageLayout->addWidget(container);
  }
  Pnl_Links->layout()->setContentsMargins(0, 0, 0, 0);
  for (int i = 0; i < v_rows.size(); ++i) {
    QWidget* box = !keyword ? Pnl_Links : v_rows[i].bExtranet ? static_cast<QWidget*>(Box_Extranet) : Box_Internet;
    box->layout()->addWidget(AddRow(box, i));
  }
  Box_Internet->setVisible(keyword);
  Box_Extranet->setVisible(keyword);
  Pnl_Links->setVisible(!keyword);
  pageLayout->addStretch(1);
  layout->addWidget(Ctl_Tabs, 1);

  Frm_Bottom = new TFraBottomPanelExt(this);
  Frm_Bottom->UseOKOnly(false);
  layout->addWidget(Frm_Bottom);
  setMinimumWidth(440);
  Loaded();
}

QWidget* TFrmDeviceLinks::AddRow(QWidget* pBox, int nRow) {
  const CTDeviceLinks::LTInfoRow& row = v_rows[nRow];
  auto* panel = Named(new QWidget(pBox), QStringLiteral("Pnl_Row%1").arg(nRow));
  auto* line = new QHBoxLayout(panel);
  line->setContentsMargins(0, 0, 0, 0);
  auto* label = Named(new QLabel(row.szCaption, panel), QStringLiteral("Lbl_Row%1").arg(nRow));
  line->addWidget(label, 1);
  auto* open = Named(new QPushButton(TBaseMsg::Tr("Open in browser"), panel), QStringLiteral("Btn_Open%1").arg(nRow));
  // Flat and in the colour of links: it reads as the address it opens.
  open->setFlat(true);
  open->setCursor(Qt::PointingHandCursor);
  QFont underlined = open->font();
  underlined.setUnderline(true);
  open->setFont(underlined);
  QPalette colours = open->palette();
  colours.setColor(QPalette::ButtonText, colours.color(QPalette::Link));
  open->setPalette(colours);
  open->setToolTip(row.szCaption);
  line->addWidget(open);
  connect(open, &QPushButton::clicked, this, [this, nRow] { Btn_OpenClick(nRow); });
  return panel;
}

void TFrmDeviceLinks::Btn_OpenClick(int nRow) {
  if (nRow < 0 || nRow >= v_rows.size()) return;
  const CTDeviceLinks::LTInfoRow& row = v_rows[nRow];
  const QString url = CTDeviceLinks::GetInformationURL(v_series, row.nType, row.szExtra, v_serverID);
  if (url.isEmpty()) return;
  // The opener is replaceable; whatever it throws stays here.
  try {
    TDlgSelect::OpenLink(url);
  } catch (...) {
    qWarning("Opening %s failed", qPrintable(url));
  }
}

void TFrmDeviceLinks::ShowInformationAbout(QWidget* pOwner, CTBaseFactory* pFactory, const QString& szSeries,
                                           const QString& szGroup, int nServerID) {
  if (!CTDeviceLinks::InformationAboutAvailable(pFactory, szSeries)) {
    TBaseMsg::DisplayWarning(pOwner,
                             TBaseMsg::ReplaceParams(TBaseMsg::Tr("No online information available for '$1'"), {szSeries}));
    return;
  }
  TFrmDeviceLinks window(pOwner, pFactory, szSeries, szGroup, nServerID);
  window.Execute();
}
