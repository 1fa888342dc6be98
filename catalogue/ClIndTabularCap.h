#pragma once
// Cls_IndTabularCap: a row of an indoor unit's tabulated capacities.

#include "catalogue/ClTabular.h"

#include <QString>

#include <memory>

class Cls_IndoorUnit;

class Cls_IndTabularCap : public Cls_Tabular {
 public:
  static constexpr int kClassID = 335;
  enum : int {
    Fld_ID = 0,
    Fld_IndoorUnit_CLS_REF = 12,
    Fld_IndoorUnit_OBJ_REF = 13,
  };

  explicit Cls_IndTabularCap(int nObjID = 0, CTBaseFactory* pFactory = nullptr);

  // Declares the columns: the id column (named szIDFieldName, else "Fld_ID"),
  // the inherited ones, then this table's own.
  static void Initialize(CTTableInfo* pTblInfo, const QString& szIDFieldName = QString());

  void GetIndoorUnitRef(int& nClsID, int& nObjID) const { GetRefValues(Fld_IndoorUnit_CLS_REF, nClsID, nObjID); }
  void SetIndoorUnit(const CTDbObject* pObj) { SetRelationByIx(Fld_IndoorUnit_CLS_REF, pObj); }
  // The referenced record (owned by the caller), none for an empty reference.
  std::unique_ptr<Cls_IndoorUnit> GetIndoorUnit();
};
