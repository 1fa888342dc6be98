#pragma once
// Cls_DevOptCombination: which option goes with which device, and how.

#include "recdb/BaseFactory.h"
#include "recdb/DbObject.h"

#include <QString>

#include <memory>

class Cls_Device;
class Cls_DeviceOption;

class Cls_DevOptCombination : public CTDbObject {
 public:
  static constexpr int kClassID = 164;
  enum : int {
    Fld_ID = 0,
    Fld_IsPreferred = 1,
    Fld_NrRequired = 2,
    Fld_IsStandard = 3,
    Fld_IsPackaged = 4,
    Fld_MaxQuantity = 5,
    Fld_IsAutomatic = 6,
    Fld_OnePerUnit = 7,
    Fld_Device_CLS_REF = 8,
    Fld_Device_OBJ_REF = 9,
    Fld_DeviceOption_CLS_REF = 10,
    Fld_DeviceOption_OBJ_REF = 11,
  };

  explicit Cls_DevOptCombination(int nObjID = 0, CTBaseFactory* pFactory = nullptr);

  // Declares the columns: the id column (named szIDFieldName, else "Fld_ID"),
  // then this table's own.
  static void Initialize(CTTableInfo* pTblInfo, const QString& szIDFieldName = QString());

  bool GetIsPreferred() const { return GetBooleanValue(Fld_IsPreferred); }
  void SetIsPreferred(bool b) { SetBooleanValue(Fld_IsPreferred, b); }
  int GetNrRequired() const { return GetIntegerValue(Fld_NrRequired); }
  void SetNrRequired(int n) { SetIntegerValue(Fld_NrRequired, n); }
  bool GetIsStandard() const { return GetBooleanValue(Fld_IsStandard); }
  void SetIsStandard(bool b) { SetBooleanValue(Fld_IsStandard, b); }
  bool GetIsPackaged() const { return GetBooleanValue(Fld_IsPackaged); }
  void SetIsPackaged(bool b) { SetBooleanValue(Fld_IsPackaged, b); }
  int GetMaxQuantity() const { return GetIntegerValue(Fld_MaxQuantity); }
  void SetMaxQuantity(int n) { SetIntegerValue(Fld_MaxQuantity, n); }
  bool GetIsAutomatic() const { return GetBooleanValue(Fld_IsAutomatic); }
  void SetIsAutomatic(bool b) { SetBooleanValue(Fld_IsAutomatic, b); }
  bool GetOnePerUnit() const { return GetBooleanValue(Fld_OnePerUnit); }
  void SetOnePerUnit(bool b) { SetBooleanValue(Fld_OnePerUnit, b); }
  void GetDeviceRef(int& nClsID, int& nObjID) const { GetRefValues(Fld_Device_CLS_REF, nClsID, nObjID); }
  void SetDevice(const CTDbObject* pObj) { SetRelationByIx(Fld_Device_CLS_REF, pObj); }
  // The referenced record (owned by the caller), none for an empty reference.
  std::unique_ptr<Cls_Device> GetDevice();
  void GetDeviceOptionRef(int& nClsID, int& nObjID) const { GetRefValues(Fld_DeviceOption_CLS_REF, nClsID, nObjID); }
  void SetDeviceOption(const CTDbObject* pObj) { SetRelationByIx(Fld_DeviceOption_CLS_REF, pObj); }
  // The referenced record (owned by the caller), none for an empty reference.
  std::unique_ptr<Cls_DeviceOption> GetDeviceOption();
};
