#pragma once
// Cls_Tabular: a row of tabulated data: a selector, an evaporating temperature and up to seven columns.

#include "recdb/BaseFactory.h"
#include "recdb/DbObject.h"

#include <QString>

#include <array>

class Cls_Tabular : public CTDbObject {
 public:
  static constexpr int kClassID = 331;
  enum : int {
    Fld_ID = 0,
    Fld_Type = 1,
    Fld_Te = 2,
    Fld_Select = 3,
    Fld_Generic = 4,
    Fld_Col1 = 5,
    Fld_Col2 = 6,
    Fld_Col4 = 7,
    Fld_Col6 = 8,
    Fld_Col3 = 9,
    Fld_Col5 = 10,
    Fld_Col7 = 11,
  };

  // Declares the columns: the id column (named szIDFieldName, else "Fld_ID"),
  // then this table's own.
  static void Initialize(CTTableInfo* pTblInfo, const QString& szIDFieldName = QString());

  int GetType() const { return GetIntegerValue(Fld_Type); }
  void SetType(int n) { SetIntegerValue(Fld_Type, n); }
  double GetTe() const { return GetDoubleValue(Fld_Te); }
  void SetTe(double d) { SetDoubleValue(Fld_Te, d); }
  double GetSelect() const { return GetDoubleValue(Fld_Select); }
  void SetSelect(double d) { SetDoubleValue(Fld_Select, d); }
  double GetGeneric() const { return GetDoubleValue(Fld_Generic); }
  void SetGeneric(double d) { SetDoubleValue(Fld_Generic, d); }
  double GetCol1() const { return GetDoubleValue(Fld_Col1); }
  void SetCol1(double d) { SetDoubleValue(Fld_Col1, d); }
  double GetCol2() const { return GetDoubleValue(Fld_Col2); }
  void SetCol2(double d) { SetDoubleValue(Fld_Col2, d); }
  double GetCol4() const { return GetDoubleValue(Fld_Col4); }
  void SetCol4(double d) { SetDoubleValue(Fld_Col4, d); }
  double GetCol6() const { return GetDoubleValue(Fld_Col6); }
  void SetCol6(double d) { SetDoubleValue(Fld_Col6, d); }
  double GetCol3() const { return GetDoubleValue(Fld_Col3); }
  void SetCol3(double d) { SetDoubleValue(Fld_Col3, d); }
  double GetCol5() const { return GetDoubleValue(Fld_Col5); }
  void SetCol5(double d) { SetDoubleValue(Fld_Col5, d); }
  double GetCol7() const { return GetDoubleValue(Fld_Col7); }
  void SetCol7(double d) { SetDoubleValue(Fld_Col7, d); }

  static constexpr int kColumns = 7;
  using Row = std::array<double, kColumns>;

  // Column 1..7 (0 for any other index).
  double GetDataVal(int TheIndex) const;
  Row GetDataRow() const;
  // For a temperature-header row (kinds 0, 1 and 10): the number of used
  // columns and the header temperatures; 0 and zeros for any other row.
  int GetTempRow(Row& TempData) const;
  // This row's value at TheTemp, interpolated between the columns whose
  // header temperatures (TempData, ULimit used) bracket it; 0 outside.
  double GetValAt(double TheTemp, int ULimit, const Row& TempData) const;
  // Rows by refrigerant temperature, ascending.
  static bool CompareTabular(const Cls_Tabular* pT1, const Cls_Tabular* pT2) { return pT1->GetTe() < pT2->GetTe(); }

 protected:
  // For the record classes of derived tables.
  Cls_Tabular(int nClsID, int nObjID, CTBaseFactory* pFactory);
};
