#pragma once
// Cls_HRXPolynomial: a capacity or exchange-efficiency correction curve of a ventilation unit.

#include "catalogue/ClPolynomial.h"

#include <QString>

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
};
