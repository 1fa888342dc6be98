#include "app/FrameResultData.h"

#include "app/Explain.h"
#include "app/ValueText.h"
#include "catalogue/Sentinels.h"
#include "selection/ResultTexts.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const char* const kAbove = "Switch on inlet heater above";
constexpr int kTopicInlet = 0, kTopicFreshAirInlet = 1, kTopicSupply = 2;
const char* const kBelow = "Switch on inlet heater below";

QGroupBox* NewBox(QWidget* pParent, QVBoxLayout* pLayout, const char* szName, const char* szCaption) {
  auto* box = new QGroupBox(QString::fromUtf8(szCaption), pParent);
  box->setObjectName(QString::fromLatin1(szName));
  new QFormLayout(box);
  pLayout->addWidget(box);
  return box;
}

}  // namespace

TFrm_ResultData::TFrm_ResultData(QWidget* pParent) : QWidget(pParent) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  Box_Efficiencies = NewBox(this, layout, "Box_Efficiencies", "Efficiencies");
  Txt_TempEff = Row(Box_Efficiencies, "Temperature exchange efficiency", "Txt_TempEff");
  Txt_EnthalpyEff = Row(Box_Efficiencies, "Enthalpy exchange efficiency", "Txt_EnthalpyEff");
  Box_HeatSavings = NewBox(this, layout, "Box_HeatSavings", "Savings over Heat Exchanger");
  Txt_LatentHeatSavings = Row(Box_HeatSavings, "Latent heat savings", "Txt_LatentHeatSavings");
  Txt_SensibleHeatSavings = Row(Box_HeatSavings, "Sensible heat savings", "Txt_SensibleHeatSavings");
  Txt_TotalHeatSavings = Row(Box_HeatSavings, "Total heat savings", "Txt_TotalHeatSavings");
  Box_SupplyTemp = NewBox(this, layout, "Box_SupplyTemp", "Supply Temperature");
  Txt_SupplyTemp = Row(Box_SupplyTemp, "Temperature", "Txt_SupplyTemp");
  Box_Humidification = NewBox(this, layout, "Box_Humidification", "Humidification");
  Txt_Humidification = Row(Box_Humidification, "Humidification amount", "Txt_Humidification");
  Box_Heaters = NewBox(this, layout, "Box_Heaters", "Heaters");
  Txt_InletAmbient = Row(Box_Heaters, kAbove, "Txt_InletAmbient");
  Lbl_InletAmbient = qobject_cast<QLabel*>(static_cast<QFormLayout*>(Box_Heaters->layout())->labelForField(Txt_InletAmbient));
  Lbl_InletAmbient->setObjectName(QStringLiteral("Lbl_InletAmbient"));
  Txt_InletUser = Row(Box_Heaters, "Inlet heater (user settings)", "Txt_InletUser");
  Txt_InletCalc = Row(Box_Heaters, "Inlet heater (calculated minimum)", "Txt_InletCalc");
  // The explanations of the heaters: fresh-air units (no efficiencies) have their own.
  static_cast<QFormLayout*>(Box_Heaters->layout())
      ->addRow(TFrm_Explain::NewInfoButton(Box_Heaters, QStringLiteral("Btn_InletHeaterInfo"), [this] {
        TFrm_Explain::Explain(window(), Box_Efficiencies->isHidden() ? kTopicFreshAirInlet : kTopicInlet);
      }));
  Pnl_Supply = new QWidget(Box_Heaters);
  Pnl_Supply->setObjectName(QStringLiteral("Pnl_Supply"));
  auto* supply = new QFormLayout(Pnl_Supply);
  supply->setContentsMargins(0, 0, 0, 0);
  static_cast<QFormLayout*>(Box_Heaters->layout())->addRow(Pnl_Supply);
  const auto supplyRow = [&](const char* caption, const char* name) {
    QLabel* value = ValueText::NewValueLabel(Pnl_Supply, QString::fromLatin1(name));
    supply->addRow(new QLabel(QString::fromUtf8(caption), Pnl_Supply), value);
    return value;
  };
  Txt_SupplyUser = supplyRow("Supply heater (user settings)", "Txt_SupplyUser");
  Txt_SupplyCalc = supplyRow("Supply heater (calculated minimum)", "Txt_SupplyCalc");
  supply->addRow(TFrm_Explain::NewInfoButton(Pnl_Supply, QStringLiteral("Btn_SupplyHeaterInfo"),
                                             [this] { TFrm_Explain::Explain(window(), kTopicSupply); }));
  // What the mode falls short of, in words (empty when nothing does).
  Txt_Notes = new QLabel(this);
  Txt_Notes->setObjectName(QStringLiteral("Txt_Notes"));
  Txt_Notes->setWordWrap(true);
  Txt_Notes->setTextInteractionFlags(Qt::TextSelectableByMouse);
  layout->addWidget(Txt_Notes);
  layout->addStretch(1);
}

QLabel* TFrm_ResultData::Row(QGroupBox* pBox, const char* szCaption, const char* szName) {
  QLabel* value = ValueText::NewValueLabel(pBox, QString::fromLatin1(szName));
  static_cast<QFormLayout*>(pBox->layout())->addRow(new QLabel(QString::fromUtf8(szCaption), pBox), value);
  return value;
}

void TFrm_ResultData::SetupWindow(int Family, bool HasHumidifier, bool IsCooling) {
  ClearFields();
  const LTFamilyLayout layout = CTResultTexts::Layout(Family, HasHumidifier, IsCooling);
  Box_Efficiencies->setVisible(layout.efficiencies);
  Box_HeatSavings->setVisible(layout.savings);
  Box_SupplyTemp->setVisible(layout.supplyTemp);
  Box_Humidification->setVisible(layout.humidification);
  Lbl_InletAmbient->setText(TBaseMsg::Tr(QString::fromUtf8(IsCooling ? kAbove : kBelow)));
  Pnl_Supply->setVisible(layout.supplyHeater);
}

void TFrm_ResultData::ClearFields() {
  for (QLabel* value : {Txt_TempEff, Txt_EnthalpyEff, Txt_LatentHeatSavings, Txt_SensibleHeatSavings,
                        Txt_TotalHeatSavings, Txt_SupplyTemp, Txt_Humidification, Txt_InletAmbient, Txt_InletUser,
                        Txt_InletCalc, Txt_SupplyUser, Txt_SupplyCalc, Txt_Notes})
    value->clear();
}

void TFrm_ResultData::SetNotes(const QStringList& Notes) { Txt_Notes->setText(Notes.join(QLatin1Char('\n'))); }

void TFrm_ResultData::FillFields(double TemperatureEff, double EnthalpyEff, double LatentSavings,
                                 double SensibleSavings, double SupplyTemp, double Humidifier, double InletAmbient,
                                 const ALHeaterSet& InletHeater, const ALHeaterSet& SupplyHeater) {
  if (!Box_Efficiencies->isHidden()) {
    Txt_TempEff->setText(ValueText::Fixed(TemperatureEff, 1, QStringLiteral("%")));
    Txt_EnthalpyEff->setText(ValueText::Fixed(EnthalpyEff, 1, QStringLiteral("%")));
  }
  if (!Box_HeatSavings->isHidden()) {
    Txt_LatentHeatSavings->setText(ValueText::SignedPower(LatentSavings));
    Txt_SensibleHeatSavings->setText(ValueText::SignedPower(SensibleSavings));
    Txt_TotalHeatSavings->setText(ValueText::SignedPower(LatentSavings + SensibleSavings));
  }
  if (!Box_SupplyTemp->isHidden()) Txt_SupplyTemp->setText(ValueText::Dimensioned(SupplyTemp, U_Temperature));
  if (!Box_Humidification->isHidden()) Txt_Humidification->setText(ValueText::Fixed(Humidifier, 1, QStringLiteral("kg/h")));
  Txt_InletAmbient->setText(InletAmbient == Sentinel::kNoTemperature ? QString() : ValueText::Dimensioned(InletAmbient, U_Temperature));
  Txt_InletUser->setText(ValueText::PositivePower(InletHeater.UserHeater));
  Txt_InletCalc->setText(ValueText::PositivePower(InletHeater.CalcHeater));
  if (!Pnl_Supply->isHidden()) {
    Txt_SupplyUser->setText(ValueText::PositivePower(SupplyHeater.UserHeater));
    Txt_SupplyCalc->setText(ValueText::PositivePower(SupplyHeater.CalcHeater));
  }
}

QStringList TFrm_ResultData::BoxStrings(const QGroupBox* pBox) {
  if (pBox->isHidden()) return {};
  QStringList strings{pBox->title()};
  const auto* form = static_cast<const QFormLayout*>(pBox->layout());
  for (int row = 0; row < form->rowCount(); ++row) {
    const QLayoutItem* label = form->itemAt(row, QFormLayout::LabelRole);
    const QLayoutItem* field = form->itemAt(row, QFormLayout::FieldRole);
    const auto* labelWidget = label ? qobject_cast<const QLabel*>(label->widget()) : nullptr;
    const auto* fieldWidget = field ? qobject_cast<const QLabel*>(field->widget()) : nullptr;
    if (labelWidget && fieldWidget) strings << labelWidget->text() << fieldWidget->text();
  }
  return strings;
}

void TFrm_ResultData::GetResultsStrings(QStringList& Efficiencies, QStringList& Savings, QStringList& SupplyTemp,
                                        QStringList& Humidifier, QStringList& Heaters) const {
  Efficiencies = BoxStrings(Box_Efficiencies);
  Savings = BoxStrings(Box_HeatSavings);
  SupplyTemp = BoxStrings(Box_SupplyTemp);
  Humidifier = BoxStrings(Box_Humidification);
  Heaters = QStringList{Box_Heaters->title(), Lbl_InletAmbient->text(), Txt_InletAmbient->text(),
                        QStringLiteral("Inlet heater (user settings)"), Txt_InletUser->text(),
                        QStringLiteral("Inlet heater (calculated minimum)"), Txt_InletCalc->text()};
  if (!Pnl_Supply->isHidden())
    Heaters << QStringLiteral("Supply heater (user settings)") << Txt_SupplyUser->text()
            << QStringLiteral("Supply heater (calculated minimum)") << Txt_SupplyCalc->text();
}

QString TFrm_ResultData::Value(const QString& szName) const {
  const auto* label = findChild<QLabel*>(szName);
  return label ? label->text() : QString();
}
