#pragma once
// Cls_HRXSpeed: one fan speed of a ventilation unit: its fan curve (the polynomial), current, pressure limit
// and sound level.

#include "catalogue/ClPolynomial.h"

#include <QString>

#include <memory>

class Cls_HRX;
class Cls_HRXSpType;

class Cls_HRXSpeed : public Cls_Polynomial {
 public:
  static constexpr int kClassID = 147;
  enum : int {
    VSP_ID = 0,
    VSP_Current = 14,
    VSP_EspLimit = 15,
    VSP_SoundLevel = 16,
    VSP_HRXSpType_CLS_REF = 17,
    VSP_HRXSpType_OBJ_REF = 18,
    VSP_HRX_CLS_REF = 19,
    VSP_HRX_OBJ_REF = 20,
  };

  explicit Cls_HRXSpeed(int nObjID = 0, CTBaseFactory* pFactory = nullptr);

  // Declares the columns: the id column (named szIDFieldName, else "VSP_ID"),
  // the inherited ones, then this table's own.
  static void Initialize(CTTableInfo* pTblInfo, const QString& szIDFieldName = QString());

  QString GetCurrent() const { return GetUntranslatedStringValue(VSP_Current); }
  void SetCurrent(const QString& s) { SetUnicodeStringValue(VSP_Current, s); }
  double GetEspLimit() const { return GetDoubleValue(VSP_EspLimit); }
  void SetEspLimit(double d) { SetDoubleValue(VSP_EspLimit, d); }
  QString GetSoundLevel() const { return GetUntranslatedStringValue(VSP_SoundLevel); }
  void SetSoundLevel(const QString& s) { SetUnicodeStringValue(VSP_SoundLevel, s); }
  void GetHRXSpTypeRef(int& nClsID, int& nObjID) const { GetRefValues(VSP_HRXSpType_CLS_REF, nClsID, nObjID); }
  void SetHRXSpType(const CTDbObject* pObj) { SetRelationByIx(VSP_HRXSpType_CLS_REF, pObj); }
  // The referenced record (owned by the caller), none for an empty reference.
  std::unique_ptr<Cls_HRXSpType> GetHRXSpType();
  // True when the speed is of that speed type (compared by reference, no read).
  bool IsOfType(const CTDbObject* pType) const {
    int nClsID = 0, nObjID = 0;
    GetHRXSpTypeRef(nClsID, nObjID);
    return pType && nObjID == pType->GetID() && nClsID == pType->TableIndex();
  }
  void GetHRXRef(int& nClsID, int& nObjID) const { GetRefValues(VSP_HRX_CLS_REF, nClsID, nObjID); }
  void SetHRX(const CTDbObject* pObj) { SetRelationByIx(VSP_HRX_CLS_REF, pObj); }
  // The referenced record (owned by the caller), none for an empty reference.
  std::unique_ptr<Cls_HRX> GetHRX();

  // Fan curve of one speed: available external static pressure (Pa) against
  // airflow (m3/h); Select1 is the speed step, Select2 the fan power input.
  double GetPowerInput() const { return GetSelect2(); }
  // Highest step first.
  static bool CompareSpeeds(const Cls_HRXSpeed* pSpeed1, const Cls_HRXSpeed* pSpeed2) {
    return pSpeed1->GetSelect1() > pSpeed2->GetSelect1();
  }
};
