#include "catalogue/HRXRatioCorr.h"

#include "recdb/BaseFactory.h"
#include "recdb/DbObject.h"

namespace {

// y0 .. y1 between keys k0 and k1 at k; y0 for equal keys.
double Between(double k, double k0, double y0, double k1, double y1) {
  return k1 == k0 ? y0 : y0 + (k - k0) * (y1 - y0) / (k1 - k0);
}

}  // namespace

THRXRatioCorr::THRXRatioCorr(CTBaseFactory* pFactory) : v_factory(pFactory) {}

THRXRatioCorr::~THRXRatioCorr() { ClearCache(); }

THRXRatioCorr& THRXRatioCorr::Shared() {
  static THRXRatioCorr shared;
  return shared;
}

double THRXRatioCorr::GetEfficiencyCorrection(double Ratio, double Efficiency) {
  return Shared().EfficiencyCorrection(Ratio, Efficiency);
}
double THRXRatioCorr::GetRatioHumidification(double Ratio) { return Shared().RatioHumidification(Ratio); }
double THRXRatioCorr::GetTempHumidification(double TempDiff) { return Shared().TempHumidification(TempDiff); }

void THRXRatioCorr::InitAttributes() { ClearCache(); }

void THRXRatioCorr::ClearCache() {
  v_Corrections.ClearAndDestroy();
  v_RatioHumidification.reset();
  v_TempHumidification.reset();
  v_loaded = false;
}

void THRXRatioCorr::Load() {
  if (v_loaded) return;
  v_loaded = true;
  ObjectList<CTDbObject> all = CTDbObject::GetAllRecords(Cls_HRXCorrection::kClassID, false, v_factory);
  for (CTDbObject*& record : all.Items()) {
    auto* curve = dynamic_cast<Cls_HRXCorrection*>(record);
    if (!curve) continue;
    record = nullptr;  // taken out of the owning list below
    switch (curve->GetType()) {
      case kRatioCorrection: v_Corrections.Add(curve); break;
      case kRatioHumidification: v_RatioHumidification.reset(curve); break;  // the last one read wins
      case kTempHumidification: v_TempHumidification.reset(curve); break;
      default: delete curve; break;
    }
  }
  std::erase(all.Items(), nullptr);
  v_Corrections.Sort([](const Cls_HRXCorrection* a, const Cls_HRXCorrection* b) { return a->GetSelect1() < b->GetSelect1(); });
}

int THRXRatioCorr::CorrectionCount() {
  Load();
  return v_Corrections.Count();
}

double THRXRatioCorr::EfficiencyCorrection(double Ratio, double Efficiency) {
  Load();
  const int n = v_Corrections.Count();
  if (n == 0) return Efficiency;
  if (Ratio <= v_Corrections[0]->GetSelect1()) return v_Corrections[0]->Evaluate(Efficiency);
  if (Ratio >= v_Corrections[n - 1]->GetSelect1()) return v_Corrections[n - 1]->Evaluate(Efficiency);
  int upper = 1;
  while (upper < n - 1 && v_Corrections[upper]->GetSelect1() < Ratio) ++upper;
  const Cls_HRXCorrection* lower = v_Corrections[upper - 1];
  const Cls_HRXCorrection* higher = v_Corrections[upper];
  return Between(Ratio, lower->GetSelect1(), lower->Evaluate(Efficiency), higher->GetSelect1(),
                 higher->Evaluate(Efficiency));
}

double THRXRatioCorr::GetCorrValAt(double Ratio, double X) {
  Load();
  const int n = v_Corrections.Count();
  int stop = 1;  // the first curve is always passed
  while (stop < n && Ratio >= v_Corrections[stop]->GetSelect1()) ++stop;
  if (stop >= n) return X;
  const Cls_HRXCorrection* lower = v_Corrections[stop - 1];
  const Cls_HRXCorrection* higher = v_Corrections[stop];
  return Between(Ratio, lower->GetSelect1(), lower->Evaluate(X), higher->GetSelect1(), higher->Evaluate(X));
}

double THRXRatioCorr::RatioHumidification(double Ratio) {
  Load();
  return v_RatioHumidification ? v_RatioHumidification->Evaluate(Ratio) : 1.0;
}

double THRXRatioCorr::TempHumidification(double TempDiff) {
  Load();
  return v_TempHumidification ? v_TempHumidification->Evaluate(TempDiff) : 1.0;
}
