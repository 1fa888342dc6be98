#pragma once
// Cls_DeviceOptionPolynomial: a curve that belongs to a device option.

#include "catalogue/ClPolynomial.h"

#include <QString>

#include <memory>

class Cls_DeviceOption;

class Cls_DeviceOptionPolynomial : public Cls_Polynomial {
 public:
  static constexpr int kClassID = 505;
  enum : int {
    Fld_ID = 0,
    Fld_DeviceOption_CLS_REF = 14,
    Fld_DeviceOption_OBJ_REF = 15,
  };

  explicit Cls_DeviceOptionPolynomial(int nObjID = 0, CTBaseFactory* pFactory = nullptr);

  // Declares the columns: the id column (named szIDFieldName, else "Fld_ID"),
  // the inherited ones, then this table's own.
  static void Initialize(CTTableInfo* pTblInfo, const QString& szIDFieldName = QString());

  void GetDeviceOptionRef(int& nClsID, int& nObjID) const { GetRefValues(Fld_DeviceOption_CLS_REF, nClsID, nObjID); }
  void SetDeviceOption(const CTDbObject* pObj) { SetRelationByIx(Fld_DeviceOption_CLS_REF, pObj); }
  // The referenced record (owned by the caller), none for an empty reference.
  std::unique_ptr<Cls_DeviceOption> GetDeviceOption();
};
