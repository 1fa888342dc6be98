#include "catalogue/ClHRXPolynomial.h"

#include <cmath>

#include <algorithm>

#include "catalogue/ClHRX.h"
#include "catalogue/RecordCast.h"
#include "psychro/Rounding.h"

Cls_HRXPolynomial::Cls_HRXPolynomial(int nObjID, CTBaseFactory* pFactory)
    : Cls_Polynomial(kClassID, nObjID, pFactory) {}

void Cls_HRXPolynomial::Initialize(CTTableInfo* pTblInfo, const QString& szIDFieldName) {
  const QString idName = szIDFieldName.isEmpty() ? QStringLiteral("VPO_ID") : szIDFieldName;
  Cls_Polynomial::Initialize(pTblInfo, idName);
  pTblInfo->AddFieldInfo(VPO_HRX_CLS_REF, CTFieldInfo::CreateInteger(QStringLiteral("VPO_HRX_CLS_REF")));
  pTblInfo->AddFieldInfo(VPO_HRX_OBJ_REF, CTFieldInfo::CreateInteger(QStringLiteral("VPO_HRX_OBJ_REF")));
}

std::unique_ptr<Cls_HRX> Cls_HRXPolynomial::GetHRX() { return RecordAs<Cls_HRX>(GetRelationByIx(VPO_HRX_CLS_REF)); }

bool Cls_HRXPolynomial::CompareHRXPolynomials(const Cls_HRXPolynomial* pPoly1, const Cls_HRXPolynomial* pPoly2) {
  if (pPoly1->GetSelect2() != pPoly2->GetSelect2()) return pPoly1->GetSelect2() < pPoly2->GetSelect2();
  return pPoly1->GetSelect1() < pPoly2->GetSelect1();
}

std::vector<const Cls_HRXPolynomial*> Cls_HRXPolynomial::SelectDischargeBlock(
    const std::vector<const Cls_HRXPolynomial*>& pFamily, double x) {
  if (pFamily.empty()) return {};
  x = std::clamp(x, pFamily.front()->GetSelect2(), std::max(pFamily.front()->GetSelect2(), pFamily.back()->GetSelect2()));
  std::size_t runStart = 0;
  for (std::size_t i = 1; i < pFamily.size(); ++i) {
    if (pFamily[i]->GetSelect2() == pFamily[runStart]->GetSelect2()) continue;
    if (x < pFamily[i]->GetSelect2()) return {pFamily.begin() + long(runStart), pFamily.begin() + long(i)};
    runStart = i;
  }
  return {pFamily.begin() + long(runStart), pFamily.end()};
}

namespace {

// The value on the straight line through (x0, y0) and (x1, y1) at x; y0 when
// the two points share their x (a family with repeated keys).
double Chord(double x, double x0, double y0, double x1, double y1) {
  if (x1 == x0) return y0;
  return y0 + (x - x0) * (y1 - y0) / (x1 - x0);
}

}  // namespace

double Cls_HRXPolynomial::EvalHeatCapBlock(const std::vector<const Cls_HRXPolynomial*>& pBlock, double T) {
  if (pBlock.empty() || T < pBlock.front()->GetSelect1() || T > pBlock.back()->GetSelect1()) return -1;
  for (std::size_t i = 0; i < pBlock.size(); ++i) {
    const double key = pBlock[i]->GetSelect1();
    if (T == key) return pBlock[i]->Evaluate(T);
    if (key > T && i > 0) {
      const Cls_HRXPolynomial* lower = pBlock[i - 1];
      const double key0 = lower->GetSelect1();
      return Chord(T, key0, lower->Evaluate(key0), key, lower->Evaluate(key));
    }
  }
  return -1;
}

double Cls_HRXPolynomial::EvalCoolCapCurve(const std::vector<const Cls_HRXPolynomial*>& pBlock, int nIndex, double WB) {
  const int count = int(pBlock.size());
  if (nIndex < 0 || nIndex >= count) return 0;
  WB = Rounding::HalfEven(WB, 100);  // to 0.01
  const Cls_HRXPolynomial* curve = pBlock[std::size_t(nIndex)];
  const double lo = curve->GetArgumentLow();
  const double hi = curve->GetArgumentHigh();
  if ((lo == 0 && hi == 0) || (WB >= lo && WB <= hi)) return curve->Evaluate(WB);  // 0, 0: unbounded
  if (WB < lo) {
    if (nIndex - 1 < 1) return 0;
    const Cls_HRXPolynomial* previous = pBlock[std::size_t(nIndex - 1)];
    const double loQ = previous->GetArgumentLow();
    if (WB < loQ) return 0;
    return Chord(WB, loQ, previous->Evaluate(loQ), lo, curve->Evaluate(lo));
  }
  if (nIndex + 1 >= count - 1) return 0;
  const Cls_HRXPolynomial* next = pBlock[std::size_t(nIndex + 1)];
  const double hiN = next->GetArgumentHigh();
  if (WB > hiN) return 0;
  return Chord(WB, hi, curve->Evaluate(hi), hiN, next->Evaluate(hiN));
}

double Cls_HRXPolynomial::EvalCoolCapBlock(const std::vector<const Cls_HRXPolynomial*>& pBlock, double WB, double DB) {
  if (pBlock.empty() || DB < pBlock.front()->GetSelect1() || DB > pBlock.back()->GetSelect1()) return -1;
  for (std::size_t i = 0; i < pBlock.size(); ++i) {
    const double key = pBlock[i]->GetSelect1();
    if (DB == key) return EvalCoolCapCurve(pBlock, int(i), WB);
    if (key > DB && i > 0) {
      const double e = EvalCoolCapCurve(pBlock, int(i - 1), WB);
      const double f = EvalCoolCapCurve(pBlock, int(i), WB);
      return Chord(DB, pBlock[i - 1]->GetSelect1(), e, key, f);
    }
  }
  return -1;
}
