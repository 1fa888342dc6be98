#pragma once
// Cls_TrivaneDeviceOption: an option of a ventilation unit, with the setting scheme it brings and the id it
// had before.

#include "catalogue/ClDeviceOption.h"

#include <QString>

#include <memory>

class Cls_HRXFilter;
class Cls_HRXSettingScheme;

class Cls_TrivaneDeviceOption : public Cls_DeviceOption {
 public:
  static constexpr int kClassID = 506;
  enum : int {
    Fld_ID = 0,
    Fld_OldClsID = 18,
    Fld_OldObjID = 19,
    Fld_HRXSettingScheme_CLS_REF = 20,
    Fld_HRXSettingScheme_OBJ_REF = 21,
  };

  explicit Cls_TrivaneDeviceOption(int nObjID = 0, CTBaseFactory* pFactory = nullptr);

  // Declares the columns: the id column (named szIDFieldName, else "Fld_ID"),
  // the inherited ones, then this table's own.
  static void Initialize(CTTableInfo* pTblInfo, const QString& szIDFieldName = QString());

  int GetOldClsID() const { return GetIntegerValue(Fld_OldClsID); }
  void SetOldClsID(int n) { SetIntegerValue(Fld_OldClsID, n); }
  int GetOldObjID() const { return GetIntegerValue(Fld_OldObjID); }
  void SetOldObjID(int n) { SetIntegerValue(Fld_OldObjID, n); }
  void GetHRXSettingSchemeRef(int& nClsID, int& nObjID) const {
    GetRefValues(Fld_HRXSettingScheme_CLS_REF, nClsID, nObjID);
  }
  void SetHRXSettingScheme(const CTDbObject* pObj) { SetRelationByIx(Fld_HRXSettingScheme_CLS_REF, pObj); }
  // The referenced record (owned by the caller), none for an empty reference.
  std::unique_ptr<Cls_HRXSettingScheme> GetHRXSettingScheme();
  // The record that refers here through "HRXFilterDefinition", or none.
  std::unique_ptr<Cls_HRXFilter> GetTheHRXFilter();

  // After ResolveReferences: the option carries a generic value of type 10
  // (its condenser counts in the total piping length limit).
  bool HasCondenserInfluence() const { return v_condenserInfluence; }

 protected:
  void NoteGenericValue(int nValueType, const QString& szValue) override;

 private:
  static constexpr int kCondenserInfluence = 10;
  bool v_condenserInfluence = false;
};
