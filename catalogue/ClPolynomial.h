#pragma once
// Cls_Polynomial: a polynomial in one argument, up to degree 7, valid between two argument bounds. The columns
// are not in coefficient order.

#include "recdb/BaseFactory.h"
#include "recdb/DbObject.h"

#include <QString>

class Cls_Polynomial : public CTDbObject {
 public:
  static constexpr int kClassID = 121;
  enum : int {
    POL_ID = 0,
    POL_A4 = 1,
    POL_Select1 = 2,
    POL_A3 = 3,
    POL_A2 = 4,
    POL_A6 = 5,
    POL_A7 = 6,
    POL_A0 = 7,
    POL_Type = 8,
    POL_Select2 = 9,
    POL_A5 = 10,
    POL_A1 = 11,
    POL_ArgumentLow = 12,
    POL_ArgumentHigh = 13,
  };

  // Declares the columns: the id column (named szIDFieldName, else "POL_ID"),
  // then this table's own.
  static void Initialize(CTTableInfo* pTblInfo, const QString& szIDFieldName = QString());

  double GetA4() const { return GetDoubleValue(POL_A4); }
  void SetA4(double d) { SetDoubleValue(POL_A4, d); }
  double GetSelect1() const { return GetDoubleValue(POL_Select1); }
  void SetSelect1(double d) { SetDoubleValue(POL_Select1, d); }
  double GetA3() const { return GetDoubleValue(POL_A3); }
  void SetA3(double d) { SetDoubleValue(POL_A3, d); }
  double GetA2() const { return GetDoubleValue(POL_A2); }
  void SetA2(double d) { SetDoubleValue(POL_A2, d); }
  double GetA6() const { return GetDoubleValue(POL_A6); }
  void SetA6(double d) { SetDoubleValue(POL_A6, d); }
  double GetA7() const { return GetDoubleValue(POL_A7); }
  void SetA7(double d) { SetDoubleValue(POL_A7, d); }
  double GetA0() const { return GetDoubleValue(POL_A0); }
  void SetA0(double d) { SetDoubleValue(POL_A0, d); }
  int GetType() const { return GetIntegerValue(POL_Type); }
  void SetType(int n) { SetIntegerValue(POL_Type, n); }
  double GetSelect2() const { return GetDoubleValue(POL_Select2); }
  void SetSelect2(double d) { SetDoubleValue(POL_Select2, d); }
  double GetA5() const { return GetDoubleValue(POL_A5); }
  void SetA5(double d) { SetDoubleValue(POL_A5, d); }
  double GetA1() const { return GetDoubleValue(POL_A1); }
  void SetA1(double d) { SetDoubleValue(POL_A1, d); }
  double GetArgumentLow() const { return GetDoubleValue(POL_ArgumentLow); }
  void SetArgumentLow(double d) { SetDoubleValue(POL_ArgumentLow, d); }
  double GetArgumentHigh() const { return GetDoubleValue(POL_ArgumentHigh); }
  void SetArgumentHigh(double d) { SetDoubleValue(POL_ArgumentHigh, d); }

  // The value at x by Horner's scheme from A7 down. Outside [low, high] the
  // answer is 0 (not the value at the bound); both bounds 0 means
  // unbounded, equal non-zero bounds admit only that argument. A result that
  // is not a finite number is 0 too.
  double Evaluate(double nArgument) const;

 protected:
  // For the record classes of derived tables.
  Cls_Polynomial(int nClsID, int nObjID, CTBaseFactory* pFactory);
};
