#pragma once
// Cls_OptionGenericValue: a typed value attached to a device option.

#include "recdb/BaseFactory.h"
#include "recdb/DbObject.h"

#include <QString>

#include <memory>

class Cls_DeviceOption;

class Cls_OptionGenericValue : public CTDbObject {
 public:
  static constexpr int kClassID = 430;
  enum : int {
    Fld_ID = 0,
    Fld_ValueType = 1,
    Fld_Value = 2,
    Fld_DeviceOption_CLS_REF = 3,
    Fld_DeviceOption_OBJ_REF = 4,
  };

  explicit Cls_OptionGenericValue(int nObjID = 0, CTBaseFactory* pFactory = nullptr);

  // Declares the columns: the id column (named szIDFieldName, else "Fld_ID"),
  // then this table's own.
  static void Initialize(CTTableInfo* pTblInfo, const QString& szIDFieldName = QString());

  int GetValueType() const { return GetIntegerValue(Fld_ValueType); }
  void SetValueType(int n) { SetIntegerValue(Fld_ValueType, n); }
  QString GetValue() const { return GetUntranslatedStringValue(Fld_Value); }
  void SetValue(const QString& s) { SetUnicodeStringValue(Fld_Value, s); }
  void GetDeviceOptionRef(int& nClsID, int& nObjID) const { GetRefValues(Fld_DeviceOption_CLS_REF, nClsID, nObjID); }
  void SetDeviceOption(const CTDbObject* pObj) { SetRelationByIx(Fld_DeviceOption_CLS_REF, pObj); }
  // The referenced record (owned by the caller), none for an empty reference.
  std::unique_ptr<Cls_DeviceOption> GetDeviceOption();
};
