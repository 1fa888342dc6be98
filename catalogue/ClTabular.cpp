#include "catalogue/ClTabular.h"

#include "psychro/Rounding.h"

#include <cmath>

#include <algorithm>

Cls_Tabular::Cls_Tabular(int nClsID, int nObjID, CTBaseFactory* pFactory) : CTDbObject(nClsID, nObjID, pFactory) {}

void Cls_Tabular::Initialize(CTTableInfo* pTblInfo, const QString& szIDFieldName) {
  const QString idName = szIDFieldName.isEmpty() ? QStringLiteral("Fld_ID") : szIDFieldName;
  CTDbObject::Initialize(pTblInfo, idName);
  pTblInfo->AddFieldInfo(Fld_Type, CTFieldInfo::CreateInteger(QStringLiteral("Fld_Type")));
  pTblInfo->AddFieldInfo(Fld_Te, CTFieldInfo::CreateDouble(QStringLiteral("Fld_Te"), 6));
  pTblInfo->AddFieldInfo(Fld_Select, CTFieldInfo::CreateDouble(QStringLiteral("Fld_Select")));
  pTblInfo->AddFieldInfo(Fld_Generic, CTFieldInfo::CreateDouble(QStringLiteral("Fld_Generic")));
  pTblInfo->AddFieldInfo(Fld_Col1, CTFieldInfo::CreateDouble(QStringLiteral("Fld_Col1")));
  pTblInfo->AddFieldInfo(Fld_Col2, CTFieldInfo::CreateDouble(QStringLiteral("Fld_Col2")));
  pTblInfo->AddFieldInfo(Fld_Col4, CTFieldInfo::CreateDouble(QStringLiteral("Fld_Col4")));
  pTblInfo->AddFieldInfo(Fld_Col6, CTFieldInfo::CreateDouble(QStringLiteral("Fld_Col6")));
  pTblInfo->AddFieldInfo(Fld_Col3, CTFieldInfo::CreateDouble(QStringLiteral("Fld_Col3")));
  pTblInfo->AddFieldInfo(Fld_Col5, CTFieldInfo::CreateDouble(QStringLiteral("Fld_Col5")));
  pTblInfo->AddFieldInfo(Fld_Col7, CTFieldInfo::CreateDouble(QStringLiteral("Fld_Col7")));
}

double Cls_Tabular::GetDataVal(int TheIndex) const {
  switch (TheIndex) {
    case 1: return GetCol1();
    case 2: return GetCol2();
    case 3: return GetCol3();
    case 4: return GetCol4();
    case 5: return GetCol5();
    case 6: return GetCol6();
    case 7: return GetCol7();
    default: return 0;
  }
}

Cls_Tabular::Row Cls_Tabular::GetDataRow() const {
  Row row{};
  for (int k = 1; k <= kColumns; ++k) row[std::size_t(k - 1)] = GetDataVal(k);
  return row;
}

int Cls_Tabular::GetTempRow(Row& TempData) const {
  const int kind = GetType();
  if (kind != 0 && kind != 1 && kind != 10) {
    TempData.fill(0);
    return 0;
  }
  TempData = GetDataRow();
  const double used = Rounding::HalfEven(GetSelect());
  return std::isfinite(used) ? int(std::clamp(used, 0.0, double(kColumns))) : 0;
}

double Cls_Tabular::GetValAt(double TheTemp, int ULimit, const Row& TempData) const {
  ULimit = std::clamp(ULimit, 0, kColumns);
  if (ULimit == 0 || TheTemp < TempData[0]) return 0;
  int k = 0;
  for (int i = 1; i <= ULimit && k == 0; ++i)
    if (TheTemp <= TempData[std::size_t(i - 1)]) k = i;
  if (k == 0) return 0;
  const double t1 = TempData[std::size_t(k - 1)];
  if (TheTemp == t1 || k == 1) return GetDataVal(k);
  const double t0 = TempData[std::size_t(k - 2)];
  if (t1 == t0) return GetDataVal(k);  // repeated header values: no slope to follow
  return GetDataVal(k - 1) + (TheTemp - t0) * (GetDataVal(k) - GetDataVal(k - 1)) / (t1 - t0);
}
