#include "app/FrameQuilloProps.h"

#include "app/ValueText.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

TFrm_QuilloProps::TFrm_QuilloProps(QWidget* pParent) : QWidget(pParent) {
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  Box_Selection = new QGroupBox(this);
  Box_Selection->setObjectName(QStringLiteral("Box_Selection"));
  outer->addWidget(Box_Selection);
  // The heating box below the cooling box: side by side their captions
  // would widen the window's right-hand column.
  auto* inner = new QVBoxLayout(Box_Selection);
  Box_Cooling = new QGroupBox(QStringLiteral("Cooling Data for Trivane / Web Quillo Input"), Box_Selection);
  Box_Cooling->setObjectName(QStringLiteral("Box_Cooling"));
  Box_Heating = new QGroupBox(QStringLiteral("Heating Data for Trivane / Web Quillo Input"), Box_Selection);
  Box_Heating->setObjectName(QStringLiteral("Box_Heating"));
  inner->addWidget(Box_Cooling);
  inner->addWidget(Box_Heating);

  auto* cool = new QVBoxLayout(Box_Cooling);
  auto* total = new QFormLayout;
  Txt_TCoolCap = ValueText::NewValueLabel(Box_Cooling, QStringLiteral("Txt_TCoolCap"));
  total->addRow(new QLabel(QStringLiteral("Total cooling capacity"), Box_Cooling), Txt_TCoolCap);
  cool->addLayout(total);
  Pnl_Sensible = new QWidget(Box_Cooling);
  Pnl_Sensible->setObjectName(QStringLiteral("Pnl_Sensible"));
  auto* sensible = new QFormLayout(Pnl_Sensible);
  sensible->setContentsMargins(0, 0, 0, 0);
  Txt_SCoolCap = ValueText::NewValueLabel(Pnl_Sensible, QStringLiteral("Txt_SCoolCap"));
  Txt_SCoolCap->setStyleSheet(QStringLiteral("color: #7070a0;"));  // greyed: for information
  sensible->addRow(new QLabel(QStringLiteral("Sensible cooling capacity"), Pnl_Sensible), Txt_SCoolCap);
  cool->addWidget(Pnl_Sensible);

  auto* heat = new QFormLayout(Box_Heating);
  Txt_HeatCap = ValueText::NewValueLabel(Box_Heating, QStringLiteral("Txt_HeatCap"));
  heat->addRow(new QLabel(QStringLiteral("Heating capacity"), Box_Heating), Txt_HeatCap);
}

void TFrm_QuilloProps::SetupWindow(const QString& TheTitle, bool HideSensible) {
  Box_Selection->setTitle(TheTitle);
  ClearFields();
  Pnl_Sensible->setVisible(!HideSensible);
}

void TFrm_QuilloProps::ClearFields() {
  Txt_TCoolCap->clear();
  Txt_SCoolCap->clear();
  Txt_HeatCap->clear();
}

void TFrm_QuilloProps::FillCoolFields(double CapTCool, double CapSCool) {
  Txt_TCoolCap->setText(ValueText::Dimensioned(CapTCool, U_Power, false));
  Txt_SCoolCap->setText(ValueText::Dimensioned(CapSCool, U_Power, false));
}

void TFrm_QuilloProps::FillHeatFields(double CapHeat) { Txt_HeatCap->setText(ValueText::Dimensioned(CapHeat, U_Power, false)); }

void TFrm_QuilloProps::GetQuilloStrings(QStringList& CoolStrings, QStringList& HeatStrings) const {
  CoolStrings = QStringList{Box_Cooling->title(), QStringLiteral("Total cooling capacity"), Txt_TCoolCap->text()};
  if (!Pnl_Sensible->isHidden()) CoolStrings << QStringLiteral("Sensible cooling capacity") << Txt_SCoolCap->text();
  HeatStrings = QStringList{Box_Heating->title(), QStringLiteral("Heating capacity"), Txt_HeatCap->text()};
}

QString TFrm_QuilloProps::Value(const QString& szName) const {
  const auto* label = findChild<QLabel*>(szName);
  return label ? label->text() : QString();
}
