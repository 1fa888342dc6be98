#pragma once
// Cls_HRXSpType: a kind of fan speed (low, high, ...), with its sort weight.

#include "recdb/BaseFactory.h"
#include "recdb/DbObject.h"

#include <QString>

class Cls_HRXSpeed;
class Cls_HrxSetting;

class Cls_HRXSpType : public CTDbObject {
 public:
  static constexpr int kClassID = 148;
  enum : int {
    VST_ID = 0,
    VST_Name = 1,
    VST_Weight = 2,
  };

  explicit Cls_HRXSpType(int nObjID = 0, CTBaseFactory* pFactory = nullptr);

  // Declares the columns: the id column (named szIDFieldName, else "VST_ID"),
  // then this table's own.
  static void Initialize(CTTableInfo* pTblInfo, const QString& szIDFieldName = QString());

  QString GetName() const override { return GetTranslatedStringValue(VST_Name); }
  void SetName(const QString& s) override { SetUnicodeStringValue(VST_Name, s); }
  int GetWeight() const { return GetIntegerValue(VST_Weight); }
  void SetWeight(int n) { SetIntegerValue(VST_Weight, n); }
  // The records that refer here through "HRXSpeedTypes".
  ObjectList<Cls_HRXSpeed> GetAllHRXSpeed();
  // The records that refer here through "Supply".
  ObjectList<Cls_HrxSetting> GetAllHrxSettingAsSupply();
  // The records that refer here through "Exhaust".
  ObjectList<Cls_HrxSetting> GetAllHrxSettingAsExhaust();
};
