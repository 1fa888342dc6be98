#pragma once
// Cls_HRXPolynomial: a capacity or exchange-efficiency correction curve of a ventilation unit.

#include "catalogue/ClPolynomial.h"

#include <QString>

#include <vector>

#include <memory>

class Cls_HRX;

class Cls_HRXPolynomial : public Cls_Polynomial {
 public:
  static constexpr int kClassID = 193;
  enum : int {
    VPO_ID = 0,
    VPO_HRX_CLS_REF = 14,
    VPO_HRX_OBJ_REF = 15,
  };

  explicit Cls_HRXPolynomial(int nObjID = 0, CTBaseFactory* pFactory = nullptr);

  // Declares the columns: the id column (named szIDFieldName, else "VPO_ID"),
  // the inherited ones, then this table's own.
  static void Initialize(CTTableInfo* pTblInfo, const QString& szIDFieldName = QString());

  void GetHRXRef(int& nClsID, int& nObjID) const { GetRefValues(VPO_HRX_CLS_REF, nClsID, nObjID); }
  void SetHRX(const CTDbObject* pObj) { SetRelationByIx(VPO_HRX_CLS_REF, pObj); }
  // The referenced record (owned by the caller), none for an empty reference.
  std::unique_ptr<Cls_HRX> GetHRX();

  // Curve roles (POL_Type).
  enum : int {
    kTempEfficiency = 0,
    kCoolEnthalpyEfficiency = 1,
    kHeatEnthalpyEfficiency = 2,
    kTotalCapacityCorrection = 3,
    kSensibleCapacityCorrection = 4,
    kCoolCapacity = 5,
    kMaxCoolCapacity = 6,
    kHeatCapacity = 7,
    kMaxHeatCapacity = 8,
  };

  // Capacity families of fresh-air units: each curve's Select1 is the dry
  // bulb of the air entering the unit, its Select2 the discharge temperature.
  // A family is sorted with CompareHRXPolynomials; a block is the run of
  // curves of one discharge temperature, ordered by Select1. The lookups do
  // not own the curves they are given.
  static bool CompareHRXPolynomials(const Cls_HRXPolynomial* pPoly1, const Cls_HRXPolynomial* pPoly2);
  // The run with the largest discharge temperature not above x (x clamped
  // to the family's range); empty for an empty family.
  static std::vector<const Cls_HRXPolynomial*> SelectDischargeBlock(const std::vector<const Cls_HRXPolynomial*>& pFamily,
                                                                     double x);
  // Heating capacity at inlet temperature T: a curve's own value on its key,
  // between keys the chord of the lower curve; -1 outside the keys or for an
  // empty block.
  static double EvalHeatCapBlock(const std::vector<const Cls_HRXPolynomial*>& pBlock, double T);
  // One cooling curve at outdoor wet bulb WB, falling back on its inner
  // neighbours beyond its range; 0 where none can be used.
  static double EvalCoolCapCurve(const std::vector<const Cls_HRXPolynomial*>& pBlock, int nIndex, double WB);
  // Cooling capacity at wet bulb WB and dry bulb DB: -1 outside the keys or
  // for an empty block.
  static double EvalCoolCapBlock(const std::vector<const Cls_HRXPolynomial*>& pBlock, double WB, double DB);
};
