#pragma once
// TFrm_QuilloProps: the capacities of the current unit as the sibling
// selection tools want them typed in.

#include <QStringList>
#include <QWidget>

class QGroupBox;
class QLabel;

class TFrm_QuilloProps : public QWidget {
  Q_OBJECT
 public:
  explicit TFrm_QuilloProps(QWidget* pParent = nullptr);

  void SetupWindow(const QString& TheTitle, bool HideSensible);
  void ClearFields();
  void FillCoolFields(double CapTCool, double CapSCool);  // kW
  void FillHeatFields(double CapHeat);                    // kW
  void GetQuilloStrings(QStringList& CoolStrings, QStringList& HeatStrings) const;
  QString Value(const QString& szName) const;

 private:
  QGroupBox *Box_Selection, *Box_Cooling, *Box_Heating;
  QWidget* Pnl_Sensible;
  QLabel *Txt_TCoolCap, *Txt_SCoolCap, *Txt_HeatCap;
};
