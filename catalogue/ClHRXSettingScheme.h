#pragma once
// Cls_HRXSettingScheme: a named set of ventilation unit settings.

#include "recdb/BaseFactory.h"
#include "recdb/DbObject.h"

#include <QString>

class Cls_HrxSetting;
class Cls_TrivaneDeviceOption;

class Cls_HRXSettingScheme : public CTDbObject {
 public:
  static constexpr int kClassID = 381;
  enum : int {
    Fld_ID = 0,
    Fld_Name = 1,
    Fld_Deleted = 2,
  };

  explicit Cls_HRXSettingScheme(int nObjID = 0, CTBaseFactory* pFactory = nullptr);

  // Declares the columns: the id column (named szIDFieldName, else "Fld_ID"),
  // then this table's own.
  static void Initialize(CTTableInfo* pTblInfo, const QString& szIDFieldName = QString());

  QString GetName() const override { return GetUntranslatedStringValue(Fld_Name); }
  void SetName(const QString& s) override { SetUnicodeStringValue(Fld_Name, s); }
  bool GetDeleted() const override { return GetBooleanValue(Fld_Deleted); }
  void SetDeleted(bool b) override { SetBooleanValue(Fld_Deleted, b); }
  // The records that refer here through "SetingDefs".
  ObjectList<Cls_HrxSetting> GetAllHrxSetting();
  // The records that refer here through "HRXSettingUsage".
  ObjectList<Cls_TrivaneDeviceOption> GetAllTrivaneDeviceOption();
};
