#pragma once
// Cls_DevPSAllowed: a power supply a device accepts, with its electrical ratings (currents in A).

#include "recdb/BaseFactory.h"
#include "recdb/DbObject.h"

#include <QString>

#include <memory>

class Cls_Device;
class Cls_PowerSupply;

class Cls_DevPSAllowed : public CTDbObject {
 public:
  static constexpr int kClassID = 165;
  enum : int {
    Fld_ID = 0,
    Fld_Fuses = 1,
    Fld_MCA = 2,
    Fld_MFA = 3,
    Fld_FLA = 4,
    Fld_RLA = 5,
    Fld_MinVolts = 6,
    Fld_MaxVolts = 7,
    Fld_Device_CLS_REF = 8,
    Fld_Device_OBJ_REF = 9,
    Fld_PowerSupply_CLS_REF = 10,
    Fld_PowerSupply_OBJ_REF = 11,
  };

  // Declares the columns: the id column (named szIDFieldName, else "Fld_ID"),
  // then this table's own.
  static void Initialize(CTTableInfo* pTblInfo, const QString& szIDFieldName = QString());

  QString GetFuses() const { return GetUntranslatedStringValue(Fld_Fuses); }
  void SetFuses(const QString& s) { SetUnicodeStringValue(Fld_Fuses, s); }
  double GetMCA() const { return GetDoubleValue(Fld_MCA); }
  void SetMCA(double d) { SetDoubleValue(Fld_MCA, d); }
  double GetMFA() const { return GetDoubleValue(Fld_MFA); }
  void SetMFA(double d) { SetDoubleValue(Fld_MFA, d); }
  double GetFLA() const { return GetDoubleValue(Fld_FLA); }
  void SetFLA(double d) { SetDoubleValue(Fld_FLA, d); }
  double GetRLA() const { return GetDoubleValue(Fld_RLA); }
  void SetRLA(double d) { SetDoubleValue(Fld_RLA, d); }
  QString GetMinVolts() const { return GetUntranslatedStringValue(Fld_MinVolts); }
  void SetMinVolts(const QString& s) { SetUnicodeStringValue(Fld_MinVolts, s); }
  QString GetMaxVolts() const { return GetUntranslatedStringValue(Fld_MaxVolts); }
  void SetMaxVolts(const QString& s) { SetUnicodeStringValue(Fld_MaxVolts, s); }
  void GetDeviceRef(int& nClsID, int& nObjID) const { GetRefValues(Fld_Device_CLS_REF, nClsID, nObjID); }
  void SetDevice(const CTDbObject* pObj) { SetRelationByIx(Fld_Device_CLS_REF, pObj); }
  // The referenced record (owned by the caller), none for an empty reference.
  std::unique_ptr<Cls_Device> GetDevice();
  void GetPowerSupplyRef(int& nClsID, int& nObjID) const { GetRefValues(Fld_PowerSupply_CLS_REF, nClsID, nObjID); }
  void SetPowerSupply(const CTDbObject* pObj) { SetRelationByIx(Fld_PowerSupply_CLS_REF, pObj); }
  // The referenced record (owned by the caller), none for an empty reference.
  std::unique_ptr<Cls_PowerSupply> GetPowerSupply();

 protected:
  // For the record classes of derived tables.
  Cls_DevPSAllowed(int nClsID, int nObjID, CTBaseFactory* pFactory);
};
