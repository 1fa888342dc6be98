#pragma once
// Cls_MsgCombination: a message attached to a device, in sequence.

#include "recdb/BaseFactory.h"
#include "recdb/DbObject.h"

#include <QString>

#include <memory>

class Cls_Device;
class Cls_MessageTable;

class Cls_MsgCombination : public CTDbObject {
 public:
  static constexpr int kClassID = 402;
  enum : int {
    Fld_ID = 0,
    Fld_SeqNr = 1,
    Fld_Device_CLS_REF = 2,
    Fld_Device_OBJ_REF = 3,
    Fld_MessageTable_CLS_REF = 4,
    Fld_MessageTable_OBJ_REF = 5,
  };

  explicit Cls_MsgCombination(int nObjID = 0, CTBaseFactory* pFactory = nullptr);

  // Declares the columns: the id column (named szIDFieldName, else "Fld_ID"),
  // then this table's own.
  static void Initialize(CTTableInfo* pTblInfo, const QString& szIDFieldName = QString());

  int GetSeqNr() const { return GetIntegerValue(Fld_SeqNr); }
  void SetSeqNr(int n) { SetIntegerValue(Fld_SeqNr, n); }
  void GetDeviceRef(int& nClsID, int& nObjID) const { GetRefValues(Fld_Device_CLS_REF, nClsID, nObjID); }
  void SetDevice(const CTDbObject* pObj) { SetRelationByIx(Fld_Device_CLS_REF, pObj); }
  // The referenced record (owned by the caller), none for an empty reference.
  std::unique_ptr<Cls_Device> GetDevice();
  void GetMessageTableRef(int& nClsID, int& nObjID) const { GetRefValues(Fld_MessageTable_CLS_REF, nClsID, nObjID); }
  void SetMessageTable(const CTDbObject* pObj) { SetRelationByIx(Fld_MessageTable_CLS_REF, pObj); }
  // The referenced record (owned by the caller), none for an empty reference.
  std::unique_ptr<Cls_MessageTable> GetMessageTable();
};
