#pragma once
// Cls_HRXCorrection: a stand-alone correction curve for ventilation units.

#include "catalogue/ClPolynomial.h"

#include <QString>

class Cls_HRXCorrection : public Cls_Polynomial {
 public:
  static constexpr int kClassID = 356;
  enum : int {
    Fld_ID = 0,
  };

  explicit Cls_HRXCorrection(int nObjID = 0, CTBaseFactory* pFactory = nullptr);

  // Declares the columns: the id column (named szIDFieldName, else "Fld_ID"),
  // the inherited ones, then this table's own.
  static void Initialize(CTTableInfo* pTblInfo, const QString& szIDFieldName = QString());
};
