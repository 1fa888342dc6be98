#pragma once
// TFrm_AirConditions: the eight psychrometric points of one mode; which are
// shown depends on the family (and, in heating, on a humidifier).

#include "catalogue/PsychroSet.h"

#include <QStringList>
#include <QWidget>

class QGroupBox;
class TAir;
class TFrm_AirProps;

class TFrm_AirConditions : public QWidget {
  Q_OBJECT
 public:
  explicit TFrm_AirConditions(QWidget* pParent = nullptr);

  void SetupWindow(const QString& StrRA, const QString& StrEA, const QString& StrOA, const QString& StrSA,
                   const QString& StrVI, const QString& StrVO, const QString& StrCI, const QString& StrHI);
  void ClearFields();
  void SetFamily(int DeviceFamily, bool HasHumidifier, bool IsCooling);
  void SetPsychroVals(const TAir& Air, double DeltaEnthalpy, const ALPsychroSet& Set);
  // The strings of each shown point; empty lists for hidden ones.
  void GetPsychroStrings(QStringList& RA, QStringList& OA, QStringList& EA, QStringList& SA, QStringList& VI,
                         QStringList& VO, QStringList& CI, QStringList& HI) const;

  TFrm_AirProps* Point(const QString& szName) const;  // "RA" ... "HI"

 private:
  QGroupBox* Box_PsychroPoints;
  TFrm_AirProps *Frm_RAProps, *Frm_OAProps, *Frm_CIProps, *Frm_EAProps, *Frm_VIProps, *Frm_SAProps, *Frm_HIProps,
      *Frm_VOProps;
};
