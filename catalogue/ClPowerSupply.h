#pragma once
// Cls_PowerSupply: a mains supply: voltage, phases and frequency.

#include "recdb/BaseFactory.h"
#include "recdb/DbObject.h"

#include <QString>

class Cls_DevPSAllowed;
class Cls_DeviceOption;

class Cls_PowerSupply : public CTDbObject {
 public:
  static constexpr int kClassID = 122;
  enum : int {
    PWS_ID = 0,
    PWS_PhaseNames = 1,
    PWS_Range = 2,
    PWS_Deleted = 3,
    PWS_Default = 4,
    PWS_Name = 5,
    PWS_Voltage = 6,
    PWS_Phases = 7,
    PWS_FrequencyKind = 8,
  };

  explicit Cls_PowerSupply(int nObjID = 0, CTBaseFactory* pFactory = nullptr);

  // Declares the columns: the id column (named szIDFieldName, else "PWS_ID"),
  // then this table's own.
  static void Initialize(CTTableInfo* pTblInfo, const QString& szIDFieldName = QString());

  QString GetPhaseNames() const { return GetUntranslatedStringValue(PWS_PhaseNames); }
  void SetPhaseNames(const QString& s) { SetUnicodeStringValue(PWS_PhaseNames, s); }
  QString GetRange() const { return GetUntranslatedStringValue(PWS_Range); }
  void SetRange(const QString& s) { SetUnicodeStringValue(PWS_Range, s); }
  bool GetDeleted() const override { return GetBooleanValue(PWS_Deleted); }
  void SetDeleted(bool b) override { SetBooleanValue(PWS_Deleted, b); }
  bool GetDefault() const { return GetBooleanValue(PWS_Default); }
  void SetDefault(bool b) { SetBooleanValue(PWS_Default, b); }
  QString GetName() const override { return GetUntranslatedStringValue(PWS_Name); }
  void SetName(const QString& s) override { SetUnicodeStringValue(PWS_Name, s); }
  QString GetVoltage() const { return GetUntranslatedStringValue(PWS_Voltage); }
  void SetVoltage(const QString& s) { SetUnicodeStringValue(PWS_Voltage, s); }
  QString GetPhases() const { return GetUntranslatedStringValue(PWS_Phases); }
  void SetPhases(const QString& s) { SetUnicodeStringValue(PWS_Phases, s); }
  int GetFrequencyKind() const { return GetIntegerValue(PWS_FrequencyKind); }
  void SetFrequencyKind(int n) { SetIntegerValue(PWS_FrequencyKind, n); }
  // The records that refer here through "PowerSupply_Device".
  ObjectList<Cls_DevPSAllowed> GetAllDevPSAllowed();
  // The records that refer here through "option_PS".
  ObjectList<Cls_DeviceOption> GetAllDeviceOption();
  // 1 "50Hz", 2 "60Hz", 3 "50/60Hz" (message texts); empty for anything else.
  static QString FrequencyString(int nFrequencyKind);
  // phases x voltage, frequency (name)
  QString GetDescriptiveName() const override;
};
