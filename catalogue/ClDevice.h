#pragma once
// Cls_Device: a selectable device: its names, product family and validation flags.

#include "catalogue/ClReleasableElement.h"

#include <QString>

#include <memory>

class Cls_DevOptCombination;
class Cls_DevPSAllowed;
class Cls_MsgCombination;
class Cls_PowerSupply;
class Cls_DeviceDocumentation;

class Cls_Device : public Cls_ReleasableElement {
 public:
  static constexpr int kClassID = 162;
  enum : int {
    Fld_ID = 0,
    Fld_GroupName = 4,
    Fld_Deleted = 5,
    Fld_Name = 6,
    Fld_ProductFamily = 7,
    Fld_ProductName = 8,
    Fld_EnergyLabel = 9,
    Fld_NoStandardControl = 10,
    Fld_ProductRangeKey = 11,
    Fld_DontValidate = 12,
  };

  // Declares the columns: the id column (named szIDFieldName, else "Fld_ID"),
  // the inherited ones, then this table's own.
  static void Initialize(CTTableInfo* pTblInfo, const QString& szIDFieldName = QString());

  QString GetGroupName() const { return GetTranslatedStringValue(Fld_GroupName); }
  void SetGroupName(const QString& s) { SetUnicodeStringValue(Fld_GroupName, s); }
  bool GetDeleted() const override { return GetBooleanValue(Fld_Deleted); }
  void SetDeleted(bool b) override { SetBooleanValue(Fld_Deleted, b); }
  QString GetName() const override { return GetUntranslatedStringValue(Fld_Name); }
  void SetName(const QString& s) override { SetUnicodeStringValue(Fld_Name, s); }
  int GetProductFamily() const { return GetIntegerValue(Fld_ProductFamily); }
  void SetProductFamily(int n) { SetIntegerValue(Fld_ProductFamily, n); }
  QString GetProductName() const { return GetUntranslatedStringValue(Fld_ProductName); }
  void SetProductName(const QString& s) { SetUnicodeStringValue(Fld_ProductName, s); }
  QString GetEnergyLabel() const { return GetUntranslatedStringValue(Fld_EnergyLabel); }
  void SetEnergyLabel(const QString& s) { SetUnicodeStringValue(Fld_EnergyLabel, s); }
  bool GetNoStandardControl() const { return GetBooleanValue(Fld_NoStandardControl); }
  void SetNoStandardControl(bool b) { SetBooleanValue(Fld_NoStandardControl, b); }
  QString GetProductRangeKey() const { return GetUntranslatedStringValue(Fld_ProductRangeKey); }
  void SetProductRangeKey(const QString& s) { SetUnicodeStringValue(Fld_ProductRangeKey, s); }
  bool GetDontValidate() const { return GetBooleanValue(Fld_DontValidate); }
  void SetDontValidate(bool b) { SetBooleanValue(Fld_DontValidate, b); }
  // The records that refer here through "Device_Option".
  ObjectList<Cls_DevOptCombination> GetAllDevOptCombination();
  // The records that refer here through "Device_Powersupply".
  ObjectList<Cls_DevPSAllowed> GetAllDevPSAllowed();
  // The record that refers here through "Device_Documentation", or none.
  std::unique_ptr<Cls_DeviceDocumentation> GetTheDeviceDocumentation();


  // The device's first power-supply entry (electrical data) and its power
  // supply; without entries no electrical data and the catalogue's first
  // default power supply (or none).
  void GetStandardPSData(std::unique_ptr<Cls_PowerSupply>& PS, std::unique_ptr<Cls_DevPSAllowed>& ElectricalData);
  // The messages attached to this device, by sequence number. No link leads
  // from a device to its messages, so they are found by example.
  ObjectList<Cls_MsgCombination> GetAllMsgCombination();

  // Removes the device's message combinations, its standard power-supply
  // entry and its documentation (each failure ignored), then the device.
  void Remove() override;

 protected:
  // For the record classes of derived tables.
  Cls_Device(int nClsID, int nObjID, CTBaseFactory* pFactory);
};
