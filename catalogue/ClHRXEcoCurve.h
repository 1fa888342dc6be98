#pragma once
// Cls_HRXEcoCurve: a curve over airflow (m3/h) that the ecodesign figures of
// a ventilation unit need: the static pressure drop of the heat exchanger on
// one side (Pa), or the static efficiency of one fan with its motor and drive
// (a fraction).

#include "catalogue/ClPolynomial.h"

#include <QString>

#include <memory>

class Cls_HRX;

class Cls_HRXEcoCurve : public Cls_Polynomial {
 public:
  static constexpr int kClassID = 521;
  enum : int {
    ECC_ID = 0,
    ECC_HRX_CLS_REF = 14,
    ECC_HRX_OBJ_REF = 15,
  };

  // Curve roles (POL_Type).
  enum : int {
    kExchangerPressureDrop = 0,
    kFanStaticEfficiency = 1,
  };

  explicit Cls_HRXEcoCurve(int nObjID = 0, CTBaseFactory* pFactory = nullptr);

  // Declares the columns: the id column (named szIDFieldName, else "ECC_ID"),
  // the inherited ones, then this table's own.
  static void Initialize(CTTableInfo* pTblInfo, const QString& szIDFieldName = QString());

  void GetHRXRef(int& nClsID, int& nObjID) const { GetRefValues(ECC_HRX_CLS_REF, nClsID, nObjID); }
  void SetHRX(const CTDbObject* pObj) { SetRelationByIx(ECC_HRX_CLS_REF, pObj); }
  std::unique_ptr<Cls_HRX> GetHRX();
};
