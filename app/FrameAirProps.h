#pragma once
// TFrm_AirProps: one psychrometric point: dry bulb, wet bulb, relative and
// absolute humidity and enthalpy.

#include "catalogue/PsychroSet.h"

#include <QStringList>
#include <QWidget>

class QGroupBox;
class QLabel;
class TAir;

class TFrm_AirProps : public QWidget {
  Q_OBJECT
 public:
  explicit TFrm_AirProps(QWidget* pParent = nullptr);

  void SetupWindow(const QString& TheTitle);
  void ClearFields();
  // DeltaEnthalpy is added to the enthalpy shown (the offset of the °F scale).
  void FillFields(const TAir& Air, double DeltaEnthalpy, const RepPsychroPoint& ThePoint);
  // The title, then label and value of each row.
  QStringList GetStrings() const;
  QString Value(const QString& szName) const;

 private:
  QGroupBox* Box_Properties;
  QList<QLabel*> v_captions;
  QList<QLabel*> v_values;  // Txt_DBT, Txt_WBT, Txt_RH, Txt_AH, Txt_h
};
