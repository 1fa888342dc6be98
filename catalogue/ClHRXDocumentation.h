#pragma once
// Cls_HRXDocumentation: the dimensions and weight of a ventilation unit, and
// the web page that documentation refers to for seasonal-efficiency data.

#include "catalogue/ClDeviceDocumentation.h"

#include <QString>

class Cls_HRXDocumentation : public Cls_DeviceDocumentation {
 public:
  static constexpr int kClassID = 145;
  enum : int {
    VDC_ID = 0,
  };

  explicit Cls_HRXDocumentation(int nObjID = 0, CTBaseFactory* pFactory = nullptr);

  // Declares the columns: the id column (named szIDFieldName, else "VDC_ID"),
  // the inherited ones, then this table's own.
  static void Initialize(CTTableInfo* pTblInfo, const QString& szIDFieldName = QString());

  // The maker's page of the units' official seasonal-efficiency (ecodesign)
  // data, which the note of a unit points to.
  static QString WebLinkForHRXNote();
};
