#pragma once
// Cls_HRXFilter: the pressure-drop curve of a filter option.

#include "catalogue/ClPolynomial.h"

#include <QString>

#include <memory>

class Cls_TrivaneDeviceOption;

class Cls_HRXFilter : public Cls_Polynomial {
 public:
  static constexpr int kClassID = 390;
  enum : int {
    Fld_ID = 0,
    Fld_TrivaneDeviceOption_CLS_REF = 14,
    Fld_TrivaneDeviceOption_OBJ_REF = 15,
  };

  explicit Cls_HRXFilter(int nObjID = 0, CTBaseFactory* pFactory = nullptr);

  // Declares the columns: the id column (named szIDFieldName, else "Fld_ID"),
  // the inherited ones, then this table's own.
  static void Initialize(CTTableInfo* pTblInfo, const QString& szIDFieldName = QString());

  void GetTrivaneDeviceOptionRef(int& nClsID, int& nObjID) const {
    GetRefValues(Fld_TrivaneDeviceOption_CLS_REF, nClsID, nObjID);
  }
  void SetTrivaneDeviceOption(const CTDbObject* pObj) { SetRelationByIx(Fld_TrivaneDeviceOption_CLS_REF, pObj); }
  // The referenced record (owned by the caller), none for an empty reference.
  std::unique_ptr<Cls_TrivaneDeviceOption> GetTrivaneDeviceOption();
};
