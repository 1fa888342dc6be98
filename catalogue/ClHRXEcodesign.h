#pragma once
// Cls_HRXEcodesign: what a ventilation unit declares under the ecodesign
// regulation for ventilation units (Regulation (EU) No 1253/2014): its
// typology, heat-recovery type and drive, the nominal point, leakages, the
// exchanger's face area, the reference point of its sound data and the
// texts of its information sheet. One record per unit at most; a unit
// without one has no ecodesign data.

#include "recdb/BaseFactory.h"
#include "recdb/DbObject.h"

#include <QString>

#include <memory>

class Cls_HRX;

class Cls_HRXEcodesign : public CTDbObject {
 public:
  static constexpr int kClassID = 520;
  enum : int {
    ECO_ID = 0,
    ECO_HRX_CLS_REF = 1,
    ECO_HRX_OBJ_REF = 2,
    ECO_Typology = 3,
    ECO_HrsType = 4,
    ECO_Drive = 5,
    ECO_NomAirflow = 6,
    ECO_NomPressure = 7,
    ECO_ExternalLeakage = 8,
    ECO_InternalLeakage = 9,
    ECO_FaceArea = 10,
    ECO_SoundAirflow = 11,
    ECO_SoundPressure = 12,
    ECO_FilterPerformance = 13,
    ECO_DisassemblyURL = 14,
    ECO_Supplier = 15,
    ECO_Bypass = 16,
  };

  // ECO_Typology: the kind of unit the regulation sees.
  enum Typology : int {
    kNonResidentialBidirectional = 0,
    kResidential = 1,
    kWithHeatPump = 2,    // heat transfer beyond the heat recovery: outside the regulation
    kUnidirectional = 3,  // one airflow only
  };
  // ECO_HrsType.
  enum HrsType : int { kPlate = 0, kRotary = 1, kRunAroundCoil = 2, kOtherHrs = 3 };
  // ECO_Drive.
  enum Drive : int { kMultiSpeed = 0, kVariableSpeed = 1 };

  explicit Cls_HRXEcodesign(int nObjID = 0, CTBaseFactory* pFactory = nullptr);

  // Declares the columns: the id column (named szIDFieldName, else "ECO_ID"),
  // then this table's own.
  static void Initialize(CTTableInfo* pTblInfo, const QString& szIDFieldName = QString());

  void GetHRXRef(int& nClsID, int& nObjID) const { GetRefValues(ECO_HRX_CLS_REF, nClsID, nObjID); }
  void SetHRX(const CTDbObject* pObj) { SetRelationByIx(ECO_HRX_CLS_REF, pObj); }
  std::unique_ptr<Cls_HRX> GetHRX();

  int GetTypology() const { return GetIntegerValue(ECO_Typology); }
  int GetHrsType() const { return GetIntegerValue(ECO_HrsType); }
  int GetDrive() const { return GetIntegerValue(ECO_Drive); }
  double GetNomAirflow() const { return GetDoubleValue(ECO_NomAirflow); }        // m3/h
  double GetNomPressure() const { return GetDoubleValue(ECO_NomPressure); }      // Pa, external
  double GetExternalLeakage() const { return GetDoubleValue(ECO_ExternalLeakage); }  // %
  double GetInternalLeakage() const { return GetDoubleValue(ECO_InternalLeakage); }  // %
  double GetFaceArea() const { return GetDoubleValue(ECO_FaceArea); }            // m2
  double GetSoundAirflow() const { return GetDoubleValue(ECO_SoundAirflow); }    // m3/h
  // The fans' static pressure at the sound reference point: the external
  // pressure plus the unit's own internal drops (Pa).
  double GetSoundPressure() const { return GetDoubleValue(ECO_SoundPressure); }
  QString GetFilterPerformance() const { return GetUntranslatedStringValue(ECO_FilterPerformance); }
  QString GetDisassemblyURL() const { return GetUntranslatedStringValue(ECO_DisassemblyURL); }
  QString GetSupplier() const { return GetUntranslatedStringValue(ECO_Supplier); }
  // The unit can lead the outdoor air past its exchanger (a thermal bypass).
  bool GetBypass() const { return GetBooleanValue(ECO_Bypass); }
};
