#pragma once
// Cls_DeviceGrouping: a grouping of devices by series and sub-family.

#include "catalogue/ClReleasableElement.h"

#include <QString>

class Cls_DeviceGrouping : public Cls_ReleasableElement {
 public:
  static constexpr int kClassID = 488;
  enum : int {
    Fld_ID = 0,
    Fld_LookupSeries = 4,
    Fld_SubFamily = 5,
  };

  // Declares the columns: the id column (named szIDFieldName, else "Fld_ID"),
  // the inherited ones, then this table's own.
  static void Initialize(CTTableInfo* pTblInfo, const QString& szIDFieldName = QString());

  QString GetLookupSeries() const { return GetUntranslatedStringValue(Fld_LookupSeries); }
  void SetLookupSeries(const QString& s) { SetUnicodeStringValue(Fld_LookupSeries, s); }
  int GetSubFamily() const { return GetIntegerValue(Fld_SubFamily); }
  void SetSubFamily(int n) { SetIntegerValue(Fld_SubFamily, n); }

 protected:
  // For the record classes of derived tables.
  Cls_DeviceGrouping(int nClsID, int nObjID, CTBaseFactory* pFactory);
};
