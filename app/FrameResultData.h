#pragma once
// TFrm_ResultData: efficiencies, savings, supply temperature, humidification
// and heaters of one mode; which boxes show depends on the family.

#include "catalogue/PsychroSet.h"

#include <QStringList>
#include <QWidget>

class QGroupBox;
class QLabel;
class QPushButton;

class TFrm_ResultData : public QWidget {
  Q_OBJECT
 public:
  explicit TFrm_ResultData(QWidget* pParent = nullptr);

  void SetupWindow(int Family, bool HasHumidifier, bool IsCooling);
  void ClearFields();
  // Efficiencies %, savings and heaters kW, supply temperature degC,
  // humidification kg/h; InletAmbient Sentinel::kNoTemperature: no threshold.
  void FillFields(double TemperatureEff, double EnthalpyEff, double LatentSavings, double SensibleSavings,
                  double SupplyTemp, double Humidifier, double InletAmbient, const ALHeaterSet& InletHeater,
                  const ALHeaterSet& SupplyHeater);
  // The mode's notes (what it falls short of), one per line.
  void SetNotes(const QStringList& Notes);
  // Caption, then label/value pairs; empty for a hidden box.
  void GetResultsStrings(QStringList& Efficiencies, QStringList& Savings, QStringList& SupplyTemp,
                         QStringList& Humidifier, QStringList& Heaters) const;

  QString Value(const QString& szName) const;

 private:
  QLabel* Row(QGroupBox* pBox, const char* szCaption, const char* szName);
  static QStringList BoxStrings(const QGroupBox* pBox);

  QGroupBox *Box_Efficiencies, *Box_HeatSavings, *Box_SupplyTemp, *Box_Humidification, *Box_Heaters;
  QWidget* Pnl_Supply;
  QLabel* Lbl_InletAmbient;
  QLabel *Txt_TempEff, *Txt_EnthalpyEff, *Txt_LatentHeatSavings, *Txt_SensibleHeatSavings, *Txt_TotalHeatSavings,
      *Txt_SupplyTemp, *Txt_Humidification, *Txt_InletAmbient, *Txt_InletUser, *Txt_InletCalc, *Txt_SupplyUser,
      *Txt_SupplyCalc, *Txt_Notes;
};
