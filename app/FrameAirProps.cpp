#include "app/FrameAirProps.h"

#include "app/ValueText.h"
#include "psychro/Air.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QVBoxLayout>

TFrm_AirProps::TFrm_AirProps(QWidget* pParent) : QWidget(pParent), Box_Properties(new QGroupBox(this)) {
  Box_Properties->setObjectName(QStringLiteral("Box_Properties"));
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->addWidget(Box_Properties);
  auto* form = new QFormLayout(Box_Properties);
  form->setContentsMargins(6, 4, 6, 4);
  form->setVerticalSpacing(2);
  const std::pair<const char*, const char*> rows[] = {{"Dry bulb temperature", "Txt_DBT"},
                                                      {"Wet bulb temperature", "Txt_WBT"},
                                                      {"Relative humidity", "Txt_RH"},
                                                      {"Absolute humidity", "Txt_AH"},
                                                      {"Enthalpy", "Txt_h"}};
  for (const auto& [caption, name] : rows) {
    auto* label = new QLabel(QString::fromUtf8(caption), Box_Properties);
    QLabel* value = ValueText::NewValueLabel(Box_Properties, QString::fromLatin1(name));
    form->addRow(label, value);
    v_captions << label;
    v_values << value;
  }
}

void TFrm_AirProps::SetupWindow(const QString& TheTitle) {
  Box_Properties->setTitle(TheTitle);
  ClearFields();
}

void TFrm_AirProps::ClearFields() {
  for (QLabel* value : v_values) value->clear();
}

void TFrm_AirProps::FillFields(const TAir& Air, double DeltaEnthalpy, const RepPsychroPoint& p) {
  v_values[0]->setText(ValueText::Dimensioned(p.DBT, U_Temperature));
  v_values[1]->setText(ValueText::Dimensioned(Air.ConvertDBRH2WB(p.DBT, p.RH), U_Temperature));
  v_values[2]->setText(ValueText::Fixed(p.RH, 1, QStringLiteral("%")));
  v_values[3]->setText(ValueText::Dimensioned(p.AH, U_Humidity));
  v_values[4]->setText(ValueText::Dimensioned(p.e + DeltaEnthalpy, U_Enthalpy));
}

QStringList TFrm_AirProps::GetStrings() const {
  QStringList strings{Box_Properties->title()};
  for (int i = 0; i < v_values.size(); ++i) strings << v_captions[i]->text() << v_values[i]->text();
  return strings;
}

QString TFrm_AirProps::Value(const QString& szName) const {
  for (const QLabel* value : v_values)
    if (value->objectName() == szName) return value->text();
  return QString();
}
