#pragma once
// Cls_HRXSound: the sound power of one path of a ventilation unit in the
// eight octave bands from 63 Hz to 8 kHz (dB re 1 pW), at the reference
// airflow and fan pressure of the unit's ecodesign record.

#include "recdb/BaseFactory.h"
#include "recdb/DbObject.h"

#include <QString>

#include <array>
#include <memory>

class Cls_HRX;

class Cls_HRXSound : public CTDbObject {
 public:
  static constexpr int kClassID = 522;
  static constexpr int kBandCount = 8;
  enum : int {
    SND_ID = 0,
    SND_HRX_CLS_REF = 1,
    SND_HRX_OBJ_REF = 2,
    SND_Path = 3,
    SND_63 = 4,  // the bands follow in order up to SND_8000
    SND_8000 = SND_63 + kBandCount - 1,
  };
  // SND_Path: where the sound leaves the unit.
  enum Path : int { kSupplyOutlet = 0, kOutdoorInlet = 1, kExtractInlet = 2, kExhaustOutlet = 3, kCasing = 4 };
  static constexpr int kPathCount = 5;

  explicit Cls_HRXSound(int nObjID = 0, CTBaseFactory* pFactory = nullptr);

  // Declares the columns: the id column (named szIDFieldName, else "SND_ID"),
  // then this table's own.
  static void Initialize(CTTableInfo* pTblInfo, const QString& szIDFieldName = QString());

  void GetHRXRef(int& nClsID, int& nObjID) const { GetRefValues(SND_HRX_CLS_REF, nClsID, nObjID); }
  void SetHRX(const CTDbObject* pObj) { SetRelationByIx(SND_HRX_CLS_REF, pObj); }
  std::unique_ptr<Cls_HRX> GetHRX();

  int GetPath() const { return GetIntegerValue(SND_Path); }
  std::array<double, kBandCount> GetBands() const;
};
