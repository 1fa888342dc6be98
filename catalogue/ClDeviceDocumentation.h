#pragma once
// Cls_DeviceDocumentation: the outer dimensions (mm) and weight (kg) of a device.

#include "recdb/BaseFactory.h"
#include "recdb/DbObject.h"

#include <QString>

#include <memory>

class Cls_Device;

class Cls_DeviceDocumentation : public CTDbObject {
 public:
  static constexpr int kClassID = 166;
  enum : int {
    Fld_ID = 0,
    Fld_Depth = 1,
    Fld_Weight = 2,
    Fld_Width = 3,
    Fld_Height = 4,
    Fld_Device_CLS_REF = 5,
    Fld_Device_OBJ_REF = 6,
  };

  // Declares the columns: the id column (named szIDFieldName, else "Fld_ID"),
  // then this table's own.
  static void Initialize(CTTableInfo* pTblInfo, const QString& szIDFieldName = QString());

  double GetDepth() const { return GetDoubleValue(Fld_Depth); }
  void SetDepth(double d) { SetDoubleValue(Fld_Depth, d); }
  double GetWeight() const { return GetDoubleValue(Fld_Weight); }
  void SetWeight(double d) { SetDoubleValue(Fld_Weight, d); }
  double GetWidth() const { return GetDoubleValue(Fld_Width); }
  void SetWidth(double d) { SetDoubleValue(Fld_Width, d); }
  double GetHeight() const { return GetDoubleValue(Fld_Height); }
  void SetHeight(double d) { SetDoubleValue(Fld_Height, d); }
  void GetDeviceRef(int& nClsID, int& nObjID) const { GetRefValues(Fld_Device_CLS_REF, nClsID, nObjID); }
  void SetDevice(const CTDbObject* pObj) { SetRelationByIx(Fld_Device_CLS_REF, pObj); }
  // The referenced record (owned by the caller), none for an empty reference.
  std::unique_ptr<Cls_Device> GetDevice();

 protected:
  // For the record classes of derived tables.
  Cls_DeviceDocumentation(int nClsID, int nObjID, CTBaseFactory* pFactory);
};
