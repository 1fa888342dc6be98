#pragma once
// Cls_HrxSetting: one line of a setting scheme: the control settings and the supply and exhaust speed types.

#include "recdb/BaseFactory.h"
#include "recdb/DbObject.h"

#include <QString>

#include <memory>

class Cls_HRXSettingScheme;
class Cls_HRXSpType;

class Cls_HrxSetting : public CTDbObject {
 public:
  static constexpr int kClassID = 380;
  enum : int {
    Fld_ID = 0,
    Fld_Ventilation = 1,
    Fld_Fanspeed = 2,
    Fld_Freshup = 3,
    Fld_FanOperation = 4,
    Fld_SupplyFanCurve = 5,
    Fld_ExhaustFanCurve = 6,
    Fld_HRXSpType_CLS_REF = 7,
    Fld_HRXSpType_OBJ_REF = 8,
    Fld_HRXSpType2_CLS_REF = 9,
    Fld_HRXSpType2_OBJ_REF = 10,
    Fld_HRXSettingScheme_CLS_REF = 11,
    Fld_HRXSettingScheme_OBJ_REF = 12,
  };

  explicit Cls_HrxSetting(int nObjID = 0, CTBaseFactory* pFactory = nullptr);

  // Declares the columns: the id column (named szIDFieldName, else "Fld_ID"),
  // then this table's own.
  static void Initialize(CTTableInfo* pTblInfo, const QString& szIDFieldName = QString());

  QString GetVentilation() const { return GetUntranslatedStringValue(Fld_Ventilation); }
  void SetVentilation(const QString& s) { SetUnicodeStringValue(Fld_Ventilation, s); }
  QString GetFanspeed() const { return GetUntranslatedStringValue(Fld_Fanspeed); }
  void SetFanspeed(const QString& s) { SetUnicodeStringValue(Fld_Fanspeed, s); }
  QString GetFreshup() const { return GetUntranslatedStringValue(Fld_Freshup); }
  void SetFreshup(const QString& s) { SetUnicodeStringValue(Fld_Freshup, s); }
  QString GetFanOperation() const { return GetUntranslatedStringValue(Fld_FanOperation); }
  void SetFanOperation(const QString& s) { SetUnicodeStringValue(Fld_FanOperation, s); }
  QString GetSupplyFanCurve() const { return GetUntranslatedStringValue(Fld_SupplyFanCurve); }
  void SetSupplyFanCurve(const QString& s) { SetUnicodeStringValue(Fld_SupplyFanCurve, s); }
  QString GetExhaustFanCurve() const { return GetUntranslatedStringValue(Fld_ExhaustFanCurve); }
  void SetExhaustFanCurve(const QString& s) { SetUnicodeStringValue(Fld_ExhaustFanCurve, s); }
  void GetHRXSpTypeRef(int& nClsID, int& nObjID) const { GetRefValues(Fld_HRXSpType_CLS_REF, nClsID, nObjID); }
  void SetHRXSpType(const CTDbObject* pObj) { SetRelationByIx(Fld_HRXSpType_CLS_REF, pObj); }
  // The referenced record (owned by the caller), none for an empty reference.
  std::unique_ptr<Cls_HRXSpType> GetHRXSpType();
  void GetHRXSpType2Ref(int& nClsID, int& nObjID) const { GetRefValues(Fld_HRXSpType2_CLS_REF, nClsID, nObjID); }
  void SetHRXSpType2(const CTDbObject* pObj) { SetRelationByIx(Fld_HRXSpType2_CLS_REF, pObj); }
  // The referenced record (owned by the caller), none for an empty reference.
  std::unique_ptr<Cls_HRXSpType> GetHRXSpType2();
  void GetHRXSettingSchemeRef(int& nClsID, int& nObjID) const {
    GetRefValues(Fld_HRXSettingScheme_CLS_REF, nClsID, nObjID);
  }
  void SetHRXSettingScheme(const CTDbObject* pObj) { SetRelationByIx(Fld_HRXSettingScheme_CLS_REF, pObj); }
  // The referenced record (owned by the caller), none for an empty reference.
  std::unique_ptr<Cls_HRXSettingScheme> GetHRXSettingScheme();
};
