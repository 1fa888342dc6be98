#pragma once
// Cls_SeriesMapping: how a device series is presented: its class, names, sort order and refrigerant-factor
// meanings.

#include "catalogue/ClDeviceGrouping.h"

#include <QString>

class Cls_SeriesMapping : public Cls_DeviceGrouping {
 public:
  static constexpr int kClassID = 388;
  enum : int {
    Fld_ID = 0,
    Fld_DeviceSeries = 6,
    Fld_DeviceClass = 7,
    Fld_GroupName = 8,
    Fld_CommercialName = 9,
    Fld_SortOrder = 10,
    Fld_HasInstantaneousHeating = 11,
    Fld_RefrigFactorAMeaning = 12,
    Fld_RefrigFactorCMeaning = 13,
    Fld_RefrigFactorDMeaning = 14,
    Fld_RefrigFactorBMeaning = 15,
    Fld_RefrigFactorEMeaning = 16,
  };

  explicit Cls_SeriesMapping(int nObjID = 0, CTBaseFactory* pFactory = nullptr);

  // Declares the columns: the id column (named szIDFieldName, else "Fld_ID"),
  // the inherited ones, then this table's own.
  static void Initialize(CTTableInfo* pTblInfo, const QString& szIDFieldName = QString());

  QString GetDeviceSeries() const { return GetUntranslatedStringValue(Fld_DeviceSeries); }
  void SetDeviceSeries(const QString& s) { SetUnicodeStringValue(Fld_DeviceSeries, s); }
  int GetDeviceClass() const { return GetIntegerValue(Fld_DeviceClass); }
  void SetDeviceClass(int n) { SetIntegerValue(Fld_DeviceClass, n); }
  QString GetGroupName() const { return GetUntranslatedStringValue(Fld_GroupName); }
  void SetGroupName(const QString& s) { SetUnicodeStringValue(Fld_GroupName, s); }
  QString GetCommercialName() const { return GetTranslatedStringValue(Fld_CommercialName); }
  void SetCommercialName(const QString& s) { SetUnicodeStringValue(Fld_CommercialName, s); }
  int GetSortOrder() const { return GetIntegerValue(Fld_SortOrder); }
  void SetSortOrder(int n) { SetIntegerValue(Fld_SortOrder, n); }
  bool GetHasInstantaneousHeating() const { return GetBooleanValue(Fld_HasInstantaneousHeating); }
  void SetHasInstantaneousHeating(bool b) { SetBooleanValue(Fld_HasInstantaneousHeating, b); }
  int GetRefrigFactorAMeaning() const { return GetIntegerValue(Fld_RefrigFactorAMeaning); }
  void SetRefrigFactorAMeaning(int n) { SetIntegerValue(Fld_RefrigFactorAMeaning, n); }
  int GetRefrigFactorCMeaning() const { return GetIntegerValue(Fld_RefrigFactorCMeaning); }
  void SetRefrigFactorCMeaning(int n) { SetIntegerValue(Fld_RefrigFactorCMeaning, n); }
  int GetRefrigFactorDMeaning() const { return GetIntegerValue(Fld_RefrigFactorDMeaning); }
  void SetRefrigFactorDMeaning(int n) { SetIntegerValue(Fld_RefrigFactorDMeaning, n); }
  int GetRefrigFactorBMeaning() const { return GetIntegerValue(Fld_RefrigFactorBMeaning); }
  void SetRefrigFactorBMeaning(int n) { SetIntegerValue(Fld_RefrigFactorBMeaning, n); }
  int GetRefrigFactorEMeaning() const { return GetIntegerValue(Fld_RefrigFactorEMeaning); }
  void SetRefrigFactorEMeaning(int n) { SetIntegerValue(Fld_RefrigFactorEMeaning, n); }
};
