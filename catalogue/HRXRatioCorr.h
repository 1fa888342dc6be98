#pragma once
// THRXRatioCorr: corrections of exchange efficiencies for unbalanced
// airflows, and the humidification factors. The curves are global to the
// catalogue (correction records, not attached to a unit):
//   type 1  nominal efficiency (%) -> corrected efficiency (%) at the
//           exhaust/supply airflow ratio in Select1
//   type 2  airflow ratio -> humidification factor
//   type 3  dry bulb minus wet bulb (K) -> humidification factor
// They are read on the first query and kept until ClearCache.

#include "catalogue/ClHRXCorrection.h"
#include "recdb/ObjList.h"

#include <memory>

class CTBaseFactory;

class THRXRatioCorr {
 public:
  static constexpr int kRatioCorrection = 1;
  static constexpr int kRatioHumidification = 2;
  static constexpr int kTempHumidification = 3;

  // pFactory empty: the default record factory at the time of loading.
  explicit THRXRatioCorr(CTBaseFactory* pFactory = nullptr);
  ~THRXRatioCorr();
  THRXRatioCorr(const THRXRatioCorr&) = delete;
  THRXRatioCorr& operator=(const THRXRatioCorr&) = delete;

  // The shared instance's answers (it reads the default factory's curves).
  static double GetEfficiencyCorrection(double Ratio, double Efficiency);
  static double GetRatioHumidification(double Ratio);
  static double GetTempHumidification(double TempDiff);
  static THRXRatioCorr& Shared();

  // Between the curves bracketing Ratio; the first or last curve beyond
  // them; Efficiency itself without curves.
  double EfficiencyCorrection(double Ratio, double Efficiency);
  // 1 when the catalogue has no such curve.
  double RatioHumidification(double Ratio);
  double TempHumidification(double TempDiff);
  // Chart values: below the first key extrapolated from the first two
  // curves; at or above the last key (or with one curve) X itself.
  double GetCorrValAt(double Ratio, double X);

  // Empty caches: the next query reads the curves again.
  void InitAttributes();
  void ClearCache();
  int CorrectionCount();

 private:
  void Load();

  CTBaseFactory* v_factory;
  bool v_loaded = false;
  ObjectList<Cls_HRXCorrection> v_Corrections{true};
  std::unique_ptr<Cls_HRXCorrection> v_RatioHumidification;
  std::unique_ptr<Cls_HRXCorrection> v_TempHumidification;
};
