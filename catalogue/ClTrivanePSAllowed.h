#pragma once
// Cls_TrivanePSAllowed: a power supply a ventilation unit accepts.

#include "catalogue/ClDevPSAllowed.h"

#include <QString>

class Cls_TrivanePSAllowed : public Cls_DevPSAllowed {
 public:
  static constexpr int kClassID = 170;
  enum : int {
    Fld_ID = 0,
  };

  explicit Cls_TrivanePSAllowed(int nObjID = 0, CTBaseFactory* pFactory = nullptr);

  // Declares the columns: the id column (named szIDFieldName, else "Fld_ID"),
  // the inherited ones, then this table's own.
  static void Initialize(CTTableInfo* pTblInfo, const QString& szIDFieldName = QString());
};
