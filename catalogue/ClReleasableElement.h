#pragma once
// Cls_ReleasableElement: the root of every released catalogue element: its release status and the element it
// follows up.

#include "recdb/BaseFactory.h"
#include "recdb/DbObject.h"

#include <QString>

#include <memory>

class Cls_ReleasableElement : public CTDbObject {
 public:
  static constexpr int kClassID = 487;
  enum : int {
    Fld_ID = 0,
    Fld_ReleaseStatus = 1,
    Fld_ReleasableElement_CLS_REF = 2,
    Fld_ReleasableElement_OBJ_REF = 3,
  };

  // Declares the columns: the id column (named szIDFieldName, else "Fld_ID"),
  // then this table's own.
  static void Initialize(CTTableInfo* pTblInfo, const QString& szIDFieldName = QString());

  int GetReleaseStatus() const { return GetIntegerValue(Fld_ReleaseStatus); }
  void SetReleaseStatus(int n) { SetIntegerValue(Fld_ReleaseStatus, n); }
  void GetReleasableElementRef(int& nClsID, int& nObjID) const {
    GetRefValues(Fld_ReleasableElement_CLS_REF, nClsID, nObjID);
  }
  void SetReleasableElement(const CTDbObject* pObj) { SetRelationByIx(Fld_ReleasableElement_CLS_REF, pObj); }
  // The referenced record (owned by the caller), none for an empty reference.
  std::unique_ptr<Cls_ReleasableElement> GetReleasableElement();
  // The elements that follow this one up (link 593).
  ObjectList<Cls_ReleasableElement> GetAllReleasableElement();

 protected:
  // For the record classes of derived tables.
  Cls_ReleasableElement(int nClsID, int nObjID, CTBaseFactory* pFactory);
};
