// What a chosen unit does to the air at the design conditions: the exchange
// along both air paths, the inlet heater that keeps the exchanger within its
// humidity and temperature limits, the refrigerant coil (type 1) or the
// capacity tables (type 2), the humidifier, the supply heater, and the energy
// the exchanger saves.
//
// Exchange (eps_t, eps_h: corrected temperature and enthalpy efficiencies / 100,
// VI the outdoor air entering the exchanger):
//   EA.DBT = RA.DBT - (RA.DBT - VI.DBT) eps_t     EA.e = RA.e - (RA.e - VI.e) eps_h
//   CI.DBT = VI.DBT - (VI.DBT - RA.DBT) eps_t     CI.e = VI.e - (VI.e - RA.e) eps_h
// with each outlet's humidity held between the two inlets' (a passive
// exchanger moves water from the wetter stream to the drier, never past it).
// Mass flows: the dry-air density of the outdoor air for the inlet heater and
// the user's heaters; for the coil, the humidifier, the calculated supply
// heater and the fresh-air tables 1.2 kg/m3 scaled by the site's pressure
// over the standard pressure (exactly 1.2 at 0 m); airflows in m3/h are
// divided by 3600.
//
// Every search here walks in 0.5 K steps inside the air model's range
// (-80 .. 80 degC) and ends there at the latest.

#include "catalogue/ClHRX.h"
#include "catalogue/CoilCapacity.h"
#include "catalogue/Sentinels.h"

#include "catalogue/ClHRXPolynomial.h"
#include "catalogue/ClIndoorUnit.h"
#include "catalogue/Factory.h"
#include "catalogue/HRXRatioCorr.h"
#include "psychro/Air.h"
#include "psychro/Rounding.h"
#include "psychro/SI_Units.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kNoTemperature = Sentinel::kNoTemperature;
constexpr double kFixedDensity = TAir::kStandardAirDensity;  // where the computation fixes it
constexpr double kSearchStepK = 0.5;
constexpr double kLowestTempC = TAir::kMinTempC;
constexpr double kHighestTempC = TAir::kMaxTempC;
constexpr double kMinSearchStartC = -20;      // the lowest ambient the exchanger is tried at
constexpr double kMaxSearchStartC = 60;       // the highest ambient tried in cooling
constexpr double kMaxHeatedTempC = 60;        // heaters may not heat the air beyond this
constexpr double kWaterTraceKgKg = 1e-5;      // less than this taken out of the air is no water taken out
constexpr double kStandardTE = CTCoilCapacity::kStandardTE;  // the coil's standard evaporating temperature
// The saturated state at 11 degC (31.724 kJ/kg): the fresh-air coil's
// outlet follows the line through it and the outdoor state.
constexpr double kCoilLineTempC = 11;
constexpr double kCoilLineEnthalpy = 31.724;
constexpr double kCoilLineHumidity = 0.00816;  // kg/kg, above which that line applies

// Rounds a power to 0.001 kW, halves to even.
double RoundKW(double x) { return Rounding::HalfEven(x, 1000); }

double MassFlow(double density, double airflowM3h) { return density * airflowM3h / UnitFactor::kSecondsPerHour; }

// The site's air against standard air: its pressure over the standard
// pressure, exactly 1 at 0 m.
double SiteRatio(const TAir& air) { return air.GetTotalPressure() / TAir::kStandardPressurePa; }

// kg/s of air at the site where the computation fixes the density: the
// standard 1.2 kg/m3 scaled to the site, so exactly 1.2 kg/m3 at 0 m.
double SiteMassFlow(const TAir& air, double airflowM3h) {
  return MassFlow(kFixedDensity * SiteRatio(air), airflowM3h);
}

// Where the straight line (dry bulb, humidity ratio) from a coil's inlet
// through its outlet, followed on towards lower temperatures, first meets
// saturation: its dry bulb. Minus infinity when the line runs out of water
// or out of the air model's range first, or does not fall in temperature
// while it falls in humidity. An inlet already saturated answers its own
// dry bulb.
double LineSaturationTemp(const TAir& air, const RepPsychroPoint& in, const RepPsychroPoint& out) {
  constexpr double kNone = -std::numeric_limits<double>::infinity();
  const auto supersaturation = [&](double t, double w) { return w - air.AbsoluteHumidity(100, t); };
  if (!(supersaturation(in.DBT, in.AH) < 0)) return in.DBT;
  if (!(out.DBT < in.DBT)) return out.AH < in.AH ? kNone : std::numeric_limits<double>::infinity();
  const double slope = (in.AH - out.AH) / (in.DBT - out.DBT);  // kg/kg per K
  const auto wAt = [&](double t) { return in.AH - slope * (in.DBT - t); };
  double upper = in.DBT;
  for (double t = in.DBT - kSearchStepK; t >= kLowestTempC; t -= kSearchStepK) {
    if (!(wAt(t) > 0)) return kNone;
    if (supersaturation(t, wAt(t)) >= 0) {
      double lower = t;  // saturated at lower, not at upper: halve the step 60 times
      for (int i = 0; i < 60; ++i) {
        const double mid = (lower + upper) / 2;
        (supersaturation(mid, wAt(mid)) >= 0 ? lower : upper) = mid;
      }
      return lower;
    }
    upper = t;
  }
  return kNone;
}

double Eval(const Cls_HRXPolynomial* curve, double x) { return curve ? curve->Evaluate(x) : 0; }

THRXRatioCorr& RatioCorrectionsOf(CTBaseFactory* pFactory) {
  if (auto* factory = dynamic_cast<CTFactory*>(pFactory)) return factory->RatioCorrections();
  return THRXRatioCorr::Shared();
}

// A state from its dry bulb and humidity ratio.
void FillFromAH(RepPsychroPoint& p, const TAir& air) {
  p.e = TAir::Enthalpy(p.AH, p.DBT);
  p.RH = air.RelativeHumidity(p.AH, p.DBT);
}

// The computation of one mode on one unit; the unit's limits are read
// through it.
class Computation {
 public:
  Computation(Cls_HRX& unit, const TAir& air, ALPsychroSet& set) : v_unit(unit), v_air(air), p(set) {}

  void InitPsychroSet(double RATemp, double RARelH, double OATemp, double OARelH) {
    p = ALPsychroSet{};
    p.RA = StateAt(RATemp, RARelH);
    p.OA = StateAt(OATemp, OARelH);
    p.EA = p.RA;
    p.VI = p.SA = p.VO = p.CI = p.OA;
  }

  // The first limit the inputs break; negated tests, so that a value that is
  // not a number breaks its limit too.
  int CheckInputLimits(double RATemp, double RARelH, double OATemp, double OARelH, double SupplyAir,
                       double ExhaustAir) const {
    const double lo = v_unit.GetMinAirflow(), hi = v_unit.GetMaxAirflow();
    if (!(SupplyAir >= lo && SupplyAir <= hi)) return Cls_HRX::kAirflowOutside;
    if (!(ExhaustAir >= lo && ExhaustAir <= hi)) return Cls_HRX::kAirflowOutside;
    const int type = v_unit.GetType();
    if (type == Cls_HRX::kPlainUnit || type == Cls_HRX::kCoilUnit) {
      if (!(RARelH <= v_unit.GetRAMaxRH())) return Cls_HRX::kRoomHumidityTooHigh;
      if (!(RATemp >= v_unit.GetRAMinTemp() && RATemp <= v_unit.GetRAMaxTemp())) return Cls_HRX::kRoomTempOutside;
    } else if (type == Cls_HRX::kFreshAirUnit) {
      if (!(OARelH <= v_unit.GetOAMaxRH())) return Cls_HRX::kOutdoorHumidityTooHigh;
      if (!(OATemp <= v_unit.GetOAMaxTemp())) return Cls_HRX::kOutdoorTempTooHigh;
    }
    return 0;
  }

  // The efficiencies (%) corrected for the exhaust/supply ratio.
  void Efficiencies(double SupplyAir, double ExhaustAir, const Cls_HRXPolynomial* enthalpyCurve, double& tempEff,
                    double& enthEff) {
    THRXRatioCorr& corrections = RatioCorrectionsOf(v_unit.GetFactory());
    const double ratio = ExhaustAir / SupplyAir;
    tempEff = corrections.EfficiencyCorrection(ratio, Eval(v_unit.GetTempExhangeEfficiency(), SupplyAir));
    enthEff = corrections.EfficiencyCorrection(ratio, Eval(enthalpyCurve, SupplyAir));
    v_epsT = tempEff / 100;
    v_epsH = enthEff / 100;
  }

  // The state of a stream leaving the exchanger: from its entering state
  // towards the other stream's, by eps_t in temperature and eps_h in
  // enthalpy. A passive exchanger cannot make a stream more humid, or drier,
  // than both entering streams: where the two efficiencies together would,
  // the humidity is held at the nearer one and the enthalpy follows from it.
  RepPsychroPoint Exchanged(const RepPsychroPoint& from, const RepPsychroPoint& towards) const {
    RepPsychroPoint q;
    q.DBT = from.DBT - (from.DBT - towards.DBT) * v_epsT;
    q.e = from.e - (from.e - towards.e) * v_epsH;
    q.AH = TAir::HumidityRatio(q.e, q.DBT);
    const double bounded = std::clamp(q.AH, std::min(from.AH, towards.AH), std::max(from.AH, towards.AH));
    if (bounded != q.AH) {
      q.AH = bounded;
      q.e = TAir::Enthalpy(q.AH, q.DBT);
    }
    q.RH = v_air.RelativeHumidity(q.AH, q.DBT);
    return q;
  }

  // EA and CI from RA and VI.
  void Exchange() {
    p.EA = Exchanged(p.RA, p.VI);
    p.CI = Exchanged(p.VI, p.RA);
  }

  void ApplyExchange() {
    Exchange();
    p.HI = p.VO = p.SA = p.CI;
  }

  double ExhaustLimit(bool bUpsideDown) const { return v_unit.ExhaustRHLimit(bUpsideDown); }
  double SupplyLimit(bool bUpsideDown) const { return v_unit.SupplyRHLimit(bUpsideDown); }
  double OutletLimit(bool bUpsideDown) const { return v_unit.OutletRHLimit(bUpsideDown); }
  double InletTempLimit(bool bUpsideDown) const {
    return bUpsideDown ? v_unit.GetVIMinTempUpsideDown() : v_unit.GetVIMinTemp();
  }

  // The lowest outdoor temperature the exchanger takes without an inlet
  // heater: the first, from -20 degC up, whose exhaust air stays within its
  // humidity limit; not a number when none up to the room temperature does.
  double FindMinAmbientTemp(bool bUpsideDown) const {
    const double limit = ExhaustLimit(bUpsideDown);
    for (double t = kMinSearchStartC + kSearchStepK; t <= kHighestTempC; t += kSearchStepK) {
      if (!(t <= p.RA.DBT)) return kNaN;
      if (Exchanged(p.RA, StateAt(t, p.OA.RH)).RH <= limit) return std::max(t, InletTempLimit(bUpsideDown));
    }
    return kNaN;
  }

  // The highest outdoor temperature in cooling without an inlet heater: the
  // first, from 60 degC down, whose supply air leaving the exchanger stays
  // within its humidity limit; not a number when none does.
  double FindMaxAmbientTemp(bool bUpsideDown) const {
    const double limit = SupplyLimit(bUpsideDown);
    for (double t = kMaxSearchStartC - kSearchStepK; t >= kLowestTempC; t -= kSearchStepK) {
      if (Exchanged(StateAt(t, p.OA.RH), p.RA).RH <= limit) return t;
    }
    return kNaN;
  }

  // The smallest inlet heater (kW, in 0.5 K steps of the air entering the
  // exchanger) that keeps exhaust and exchanger outlet within their humidity
  // limits and the inlet at its minimum temperature: 0, or the code of the
  // humidity limit still exceeded when no inlet temperature up to 80 degC
  // meets both.
  int FindInletHeater(bool bUpsideDown, double SupplyAir, double& heaterKW) {
    heaterKW = 0;
    const double exhaustLimit = ExhaustLimit(bUpsideDown), outletLimit = OutletLimit(bUpsideDown);
    const double tempLimit = InletTempLimit(bUpsideDown);
    const auto withinLimits = [&] { return p.EA.RH <= exhaustLimit && p.CI.RH <= outletLimit; };
    if (withinLimits() && p.VI.DBT >= tempLimit) return 0;
    if (p.VI.DBT < tempLimit) p.VI.DBT = tempLimit - kSearchStepK;
    for (;;) {
      p.VI.DBT += kSearchStepK;
      if (!(p.VI.DBT <= kHighestTempC))
        return p.EA.RH <= exhaustLimit ? Cls_HRX::kOutletHumidityTooHigh : Cls_HRX::kExhaustHumidityTooHigh;
      p.VI.e = TAir::Enthalpy(p.VI.AH, p.VI.DBT);
      Exchange();
      if (withinLimits()) break;
    }
    p.VI.RH = v_air.RelativeHumidity(p.VI.AH, p.VI.DBT);
    p.HI = p.VO = p.SA = p.CI;
    heaterKW = RoundKW(std::fabs(p.OA.e - p.VI.e) * MassFlow(v_air.DryAirDensity(p.OA.DBT), SupplyAir));
    return 0;
  }

  // The user's inlet heater; false when it would heat the air beyond 60 degC.
  bool ApplyInletHeater(double Q, double SupplyAir) {
    p.VI.e = Q / MassFlow(v_air.DryAirDensity(p.OA.DBT), SupplyAir) + p.OA.e;
    p.VI.AH = p.OA.AH;
    p.VI.DBT = TAir::DryBulbTemp(p.VI.e, p.VI.AH);
    if (!(p.VI.DBT <= kMaxHeatedTempC)) return false;
    p.VI.RH = v_air.RelativeHumidity(p.VI.AH, p.VI.DBT);
    ApplyExchange();
    return true;
  }

  // The coil's outlet becomes the supply air.
  void ApplyCoil(const ALCoilStep& step) {
    p.VO = step.Outlet;
    p.SA = p.VO;
  }

  // The humidifier (kg/h), adiabatic; it never takes the air past saturation.
  double Humidify(double ratio, double SupplyAir) {
    const double nominal = v_unit.GetNomHumidity();
    if (!(nominal > 0)) return 0;
    THRXRatioCorr& corrections = RatioCorrectionsOf(v_unit.GetFactory());
    p.HI = p.VO;
    const double wb = v_air.ConvertDBRH2WB(p.VO.DBT, p.VO.RH);
    double H = nominal * corrections.RatioHumidification(ratio) * corrections.TempHumidification(p.VO.DBT - wb);
    const double density = SiteMassFlow(v_air, SupplyAir) * UnitFactor::kSecondsPerHour;  // kg of air per hour
    // At most up to the saturated state of the same enthalpy (the wet bulb).
    const double saturatedAH = v_air.AbsoluteHumidity(100, v_air.WetBulbTemp(p.VO.DBT, p.VO.e));
    if (std::isfinite(saturatedAH) && p.VO.AH + H / density > saturatedAH) H = std::max(0.0, (saturatedAH - p.VO.AH) * density);
    p.VO.AH += H / density;
    p.VO.DBT = TAir::DryBulbTemp(p.VO.e, p.VO.AH);
    p.VO.RH = std::min(100.0, v_air.RelativeHumidity(p.VO.AH, p.VO.DBT));
    p.SA = p.VO;
    return H;
  }

  // The supply heater (kW) that brings the supply air to T; 0 when it is warm enough.
  double SupplyHeaterFor(double SupplyAir, double T) {
    if (!(T > p.VO.DBT)) return 0;
    p.SA.DBT = T;
    p.SA.AH = p.VO.AH;
    FillFromAH(p.SA, v_air);
    return RoundKW(std::fabs(p.VO.e - p.SA.e) * SiteMassFlow(v_air, SupplyAir));
  }

  int ApplyUserSupplyHeater(double Q, double SupplyAir) {
    p.SA.e = Q / MassFlow(v_air.DryAirDensity(p.OA.DBT), SupplyAir) + p.VO.e;
    p.SA.AH = p.VO.AH;
    p.SA.DBT = TAir::DryBulbTemp(p.SA.e, p.SA.AH);
    if (!(p.SA.DBT < kMaxHeatedTempC)) return Cls_HRX::kSupplyHeaterTooLarge;
    p.SA.RH = v_air.RelativeHumidity(p.SA.AH, p.SA.DBT);
    return 0;
  }

  // A fresh-air unit's capacity (kW) from its tables at a wanted discharge
  // (supply) temperature T, blended between the blocks of the whole degrees
  // around T, and limited to the maximum table. A negative answer: outside
  // the tables.
  template <typename Lookup>
  double TableCapacity(const std::vector<const Cls_HRXPolynomial*>& table,
                       const std::vector<const Cls_HRXPolynomial*>& maxTable, double SupplyAir, double T,
                       Lookup lookup) const {
    if (table.empty() || !std::isfinite(T)) return -1;
    const double n = SupplyAir / v_unit.GetNomAirflow();
    const double t0 = std::trunc(T);
    double C = lookup(Cls_HRXPolynomial::SelectDischargeBlock(table, t0)) * n;
    if (T != t0) {
      const double C1 = lookup(Cls_HRXPolynomial::SelectDischargeBlock(table, t0 + 1)) * n;
      C += (T - t0) * (C1 - C);
    }
    if (!maxTable.empty()) C = std::min(C, lookup(maxTable));
    return std::isfinite(C) ? C : -1;
  }

  RepPsychroPoint StateAt(double t, double rh) const { return PsychroPointAt(v_air, t, rh); }

  ALPsychroSet& Set() { return p; }

 private:
  Cls_HRX& v_unit;
  const TAir& v_air;
  ALPsychroSet& p;
  double v_epsT = 0;
  double v_epsH = 0;
};

}  // namespace

double Cls_HRX::ExhaustRHLimit(bool bUpsideDown) const {
  return bUpsideDown && GetEAMaxRHUpsideDown() > 0 ? GetEAMaxRHUpsideDown() : GetEAMaxRH();
}

double Cls_HRX::SupplyRHLimit(bool bUpsideDown) const {
  return bUpsideDown && GetVOMaxRHUpsideDown() > 0 ? GetVOMaxRHUpsideDown() : GetVOMaxRH();
}

double Cls_HRX::OutletRHLimit(bool bUpsideDown) const {
  const double limit = bUpsideDown && GetCIMaxRHUpsideDown() > 0 ? GetCIMaxRHUpsideDown() : GetCIMaxRH();
  return limit == 0 ? SupplyRHLimit(bUpsideDown) : limit;
}

ALCoolingResult Cls_HRX::SelectForCooling(const ALModeConditions& In, const TAir& Air, double TETemp,
                                          double Discharge) {
  ALCoolingResult result;
  result.Code = SelectForCooling(In, Air, TETemp, Discharge, result);
  return result;
}

int Cls_HRX::SelectForCooling(const ALModeConditions& In, const TAir& Air, double TETemp, double Discharge,
                              ALCoolingResult& Out) {
  const double RATemp = In.RATemp, RARelH = In.RARelH, OATemp = In.OATemp, OARelH = In.OARelH;
  const double SupplyAir = In.SupplyAir, ExhaustAir = In.ExhaustAir;
  const bool bUpsideDown = In.bUpsideDown;
  double &TotalCap = Out.TotalCap, &SensibleCap = Out.SensibleCap, &TemperatureEff = Out.TemperatureEff,
         &EnthalpyEff = Out.EnthalpyEff, &MaxAmbientTemp = Out.MaxAmbientTemp;
  ALHeaterSet& InletHeater = Out.InletHeater;
  InletHeater.UserHeater = In.UserInletHeater;
  Computation c(*this, Air, Out.PsychroPoints);
  const auto reset = [&] {
    c.InitPsychroSet(RATemp, RARelH, OATemp, OARelH);
    TotalCap = SensibleCap = TemperatureEff = EnthalpyEff = 0;
    MaxAmbientTemp = kNoTemperature;
    InletHeater.CalcHeater = 0;
  };
  const auto fail = [&](int code) {
    reset();
    return code;
  };
  reset();
  if (const int code = c.CheckInputLimits(RATemp, RARelH, OATemp, OARelH, SupplyAir, ExhaustAir)) return code;
  if (RATemp >= OATemp) return 0;  // no cooling duty
  LoadEfficiencies();
  ALPsychroSet& p = c.Set();

  if (GetType() == kFreshAirUnit) {
    if (!(OARelH > GetMinCoolRH())) return kCoolHumidityTooLow;
    const double wb = Air.ConvertDBRH2WB(p.OA.DBT, p.OA.RH);
    TotalCap = c.TableCapacity(v_coolCaps, v_maxCoolCaps, SupplyAir, Discharge, [&](const auto& block) {
      return Cls_HRXPolynomial::EvalCoolCapBlock(block, wb, p.OA.DBT);
    });
    if (!(TotalCap > 0)) return fail(kCoolCapOutside);
    const double m = SiteMassFlow(Air, SupplyAir);
    p.VO.e = p.OA.e - TotalCap / m;
    // The coil's saturated state at 11 degC holds more water at a lower
    // pressure: the line's point moves by what saturation at 11 degC gains
    // over standard air (nothing at 0 m).
    const TAir standard;
    const double gainAH = Air.AbsoluteHumidity(100, kCoilLineTempC) - standard.AbsoluteHumidity(100, kCoilLineTempC);
    const double lineAH = kCoilLineHumidity + gainAH;
    const double lineEnthalpy =
        kCoilLineEnthalpy + (TAir::Enthalpy(gainAH, kCoilLineTempC) - TAir::Enthalpy(0, kCoilLineTempC));
    const bool onLine = p.OA.AH > lineAH;
    if (onLine)
      p.VO.DBT = (p.VO.e - lineEnthalpy) * (p.OA.DBT - kCoilLineTempC) / (p.OA.e - lineEnthalpy) + kCoilLineTempC;
    else
      p.VO.DBT = TAir::DryBulbTemp(p.VO.e, p.OA.AH);
    // The unit holds its discharge: tables that give clearly more than it
    // needs (at altitude, where the air is lighter) are throttled to it.
    if (p.VO.DBT < Discharge - kDischargeToleranceK) {
      p.VO.DBT = Discharge;
      p.VO.e = onLine ? lineEnthalpy + (Discharge - kCoilLineTempC) * (p.OA.e - lineEnthalpy) / (p.OA.DBT - kCoilLineTempC)
                      : TAir::Enthalpy(p.OA.AH, Discharge);
      TotalCap = (p.OA.e - p.VO.e) * m;
    }
    p.VO.AH = TAir::HumidityRatio(p.VO.e, p.VO.DBT);
    // A capacity that takes out more than the air holds is outside the tables.
    if (!(p.VO.AH > 0) || !std::isfinite(p.VO.DBT)) return fail(kCoolCapOutside);
    // Below its dew point the outlet is raised to it; the state's enthalpy,
    // and with it the capacity, follow.
    const double dewPoint = Air.DewPoint(p.VO.AH);
    if (dewPoint > p.VO.DBT) {
      p.VO.DBT = dewPoint;
      p.VO.e = TAir::Enthalpy(p.VO.AH, p.VO.DBT);
      TotalCap = (p.OA.e - p.VO.e) * m;
    }
    p.VO.RH = Air.RelativeHumidity(p.VO.AH, p.VO.DBT);
    p.SA = p.VO;
    return 0;
  }
  if (GetType() != kPlainUnit && GetType() != kCoilUnit) return 0;

  c.Efficiencies(SupplyAir, ExhaustAir, v_cEnthalpyExEff, TemperatureEff, EnthalpyEff);
  c.ApplyExchange();
  const double maxAmbient = c.FindMaxAmbientTemp(bUpsideDown);
  MaxAmbientTemp = std::isnan(maxAmbient) ? kNoTemperature : maxAmbient;
  double heater = 0;
  if (!(maxAmbient >= p.OA.DBT)) {
    // An inlet heater only warms the air: above the exchanger's highest
    // inlet temperature, that limit is the one no heater can meet.
    if (const int code = c.FindInletHeater(bUpsideDown, SupplyAir, heater))
      return fail(p.OA.DBT <= GetOAMaxTemp() ? code : kInletTempOutside);
  }
  InletHeater.SetCalcHeater(heater);
  if (InletHeater.UserHeater > InletHeater.CalcHeater && !c.ApplyInletHeater(InletHeater.UserHeater, SupplyAir))
    return fail(kInletHeaterTooLarge);
  if (!(p.VI.RH <= GetOAMaxRH())) return fail(kOutdoorHumidityTooHigh);
  if (!(p.VI.DBT <= GetOAMaxTemp())) return fail(kInletTempOutside);
  if (GetType() == kCoilUnit) {
    const ALCoilStep coil = CoolingCoil(p.CI, SupplyAir, TETemp, Air);
    if (coil.Code) return fail(coil.Code);
    TotalCap = coil.TotalCap;
    SensibleCap = coil.SensibleCap;
    Out.CoilLimited = coil.Limited;
    Out.CoilSurfaceTemp = coil.SurfaceTemp;
    c.ApplyCoil(coil);
  }
  return 0;
}

Cls_HRX::ALRecoveryHour Cls_HRX::RecoveryHour(const ALModeConditions& In, const TAir& Air, bool bHeating) {
  ALRecoveryHour out;
  ALPsychroSet set;
  Computation c(*this, Air, set);
  c.InitPsychroSet(In.RATemp, In.RARelH, In.OATemp, In.OARelH);
  out.Code = c.CheckInputLimits(In.RATemp, In.RARelH, In.OATemp, In.OARelH, In.SupplyAir, In.ExhaustAir);
  if (out.Code != 0 || (GetType() != kPlainUnit && GetType() != kCoilUnit)) return out;
  LoadEfficiencies();
  double tempEff = 0, enthEff = 0;
  c.Efficiencies(In.SupplyAir, In.ExhaustAir, bHeating ? v_hEnthalpyExEff : v_cEnthalpyExEff, tempEff, enthEff);
  c.ApplyExchange();
  // As at the design point: no heater while the exhaust and the exchanger
  // outlet stay within their limits and the inlet at its minimum.
  double heater = 0;
  if (const int code = c.FindInletHeater(In.bUpsideDown, In.SupplyAir, heater)) {
    out.Code = code;
    return out;
  }
  const ALPsychroSet& p = c.Set();
  if (!(p.VI.RH <= GetOAMaxRH())) out.Code = kOutdoorHumidityTooHigh;
  else if (bHeating ? !(p.VI.DBT >= GetOAMinTemp()) : !(p.VI.DBT <= GetOAMaxTemp())) out.Code = kInletTempOutside;
  if (out.Code != 0) return out;
  out.InletHeater = heater;
  if (bHeating)
    CalcHeatSavings(p, In.SupplyAir, Air, out.LatentSavings, out.SensibleSavings);
  else
    CalcCoolSavings(p, In.SupplyAir, Air, out.LatentSavings, out.SensibleSavings);
  return out;
}

ALHeatingResult Cls_HRX::SelectForHeating(const ALModeConditions& In, const TAir& Air, double SupplyTemp) {
  ALHeatingResult result;
  result.Code = SelectForHeating(In, Air, SupplyTemp, result);
  return result;
}

int Cls_HRX::SelectForHeating(const ALModeConditions& In, const TAir& Air, double SupplyTemp, ALHeatingResult& Out) {
  const double RATemp = In.RATemp, RARelH = In.RARelH, OATemp = In.OATemp, OARelH = In.OARelH;
  const double SupplyAir = In.SupplyAir, ExhaustAir = In.ExhaustAir;
  const bool bUpsideDown = In.bUpsideDown;
  double &HeatCap = Out.HeatCap, &TemperatureEff = Out.TemperatureEff, &EnthalpyEff = Out.EnthalpyEff,
         &MinAmbientTemp = Out.MinAmbientTemp, &Humidification = Out.Humidification;
  ALHeaterSet &InletHeater = Out.InletHeater, &SupplyHeater = Out.SupplyHeater;
  InletHeater.UserHeater = In.UserInletHeater;
  SupplyHeater.UserHeater = In.UserSupplyHeater;
  Computation c(*this, Air, Out.PsychroPoints);
  const auto reset = [&] {
    c.InitPsychroSet(RATemp, RARelH, OATemp, OARelH);
    HeatCap = TemperatureEff = EnthalpyEff = Humidification = 0;
    MinAmbientTemp = kNoTemperature;
    InletHeater.CalcHeater = 0;
    SupplyHeater.CalcHeater = 0;
  };
  const auto fail = [&](int code) {
    reset();
    return code;
  };
  reset();
  const double tempLimit = c.InletTempLimit(bUpsideDown);
  if (const int code = c.CheckInputLimits(RATemp, RARelH, OATemp, OARelH, SupplyAir, ExhaustAir)) return code;
  if (RATemp <= OATemp) return 0;  // no heating duty
  LoadEfficiencies();
  ALPsychroSet& p = c.Set();

  if (GetType() == kFreshAirUnit) {
    if (!(OARelH > GetMinHeatRH())) return kHeatHumidityTooLow;
    if (p.VI.DBT < tempLimit) {
      p.VI.DBT = tempLimit;
      FillFromAH(p.VI, Air);
      p.CI = p.HI = p.VO = p.SA = p.VI;
      InletHeater.SetCalcHeater(
          RoundKW(std::fabs(p.OA.e - p.VI.e) * MassFlow(Air.DryAirDensity(p.OA.DBT), SupplyAir)));
    }
    if (!(RATemp < SupplyTemp)) return fail(kRoomNotBelowDischarge);
    HeatCap = c.TableCapacity(v_heatCaps, v_maxHeatCaps, SupplyAir, SupplyTemp, [&](const auto& block) {
      return Cls_HRXPolynomial::EvalHeatCapBlock(block, p.VI.DBT);
    });
    if (!(HeatCap > 0)) return fail(kHeatCapOutside);
    const double m = SiteMassFlow(Air, SupplyAir);
    p.VO.DBT = p.VI.DBT + HeatCap / (m * TAir::MoistCp(p.VI.AH));
    // Held at the supply temperature wanted, as in cooling.
    if (p.VO.DBT > SupplyTemp + kDischargeToleranceK) {
      p.VO.DBT = SupplyTemp;
      HeatCap = (SupplyTemp - p.VI.DBT) * m * TAir::MoistCp(p.VI.AH);
    }
    p.VO.AH = p.VI.AH;
    FillFromAH(p.VO, Air);
    p.SA = p.VO;
    return 0;
  }
  if (GetType() != kPlainUnit && GetType() != kCoilUnit) return 0;

  c.Efficiencies(SupplyAir, ExhaustAir, v_hEnthalpyExEff, TemperatureEff, EnthalpyEff);
  c.ApplyExchange();
  const double minAmbient = c.FindMinAmbientTemp(bUpsideDown);
  MinAmbientTemp = std::isnan(minAmbient) ? kNoTemperature : minAmbient;
  double heater = 0;
  // When no outdoor temperature meets the exhaust limit, the heater is searched too.
  if (!(minAmbient <= p.OA.DBT))
    if (const int code = c.FindInletHeater(bUpsideDown, SupplyAir, heater)) return fail(code);
  InletHeater.SetCalcHeater(heater);
  if (InletHeater.UserHeater > InletHeater.CalcHeater && !c.ApplyInletHeater(InletHeater.UserHeater, SupplyAir))
    return fail(kInletHeaterTooLarge);
  if (!(p.VI.RH <= GetOAMaxRH())) return fail(kOutdoorHumidityTooHigh);
  if (!(p.VI.DBT >= GetOAMinTemp())) return fail(kInletTempOutside);
  if (GetType() == kPlainUnit) {
    SupplyHeater.SetCalcHeater(SupplyTemp > 0 ? c.SupplyHeaterFor(SupplyAir, SupplyTemp) : 0);
  } else {
    const ALCoilStep coil = HeatingCoil(p.CI, SupplyAir, Air);
    HeatCap = -coil.TotalCap;
    Out.CoilLimited = coil.Limited;
    Out.CoilSurfaceTemp = coil.SurfaceTemp;
    c.ApplyCoil(coil);
    Humidification = c.Humidify(SupplyAir / GetNomAirflow(), SupplyAir);
  }
  if (SupplyHeater.UserHeater > SupplyHeater.CalcHeater)
    if (const int code = c.ApplyUserSupplyHeater(SupplyHeater.UserHeater, SupplyAir)) return fail(code);
  return 0;
}

// The coil's outlet from its capacities Qs, Qt (kW, negative for heating)
// at the site's mass flow m:
//   VO.e = CI.e - Qt/m     VO.DBT = CI.DBT - Qs/(m cp(CI.AH))
// the humidity from both (unchanged when Qt = Qs). Water beyond saturation
// at VO.DBT condenses and leaves with the condensate: the air leaves
// saturated, its enthalpy that of the saturated state (supersaturated says
// so).
static RepPsychroPoint CoilOutlet(const RepPsychroPoint& in, double m, double Qs, double Qt, const TAir& air,
                                  bool& supersaturated) {
  RepPsychroPoint out;
  out.e = in.e - Qt / m;
  out.DBT = in.DBT - Qs / (m * TAir::MoistCp(in.AH));
  out.AH = Qt == Qs ? in.AH : TAir::HumidityRatio(out.e, out.DBT);
  double rest = out.AH, water = 0;
  air.GetCondensWater(out.AH, out.DBT, 0, rest, water);
  supersaturated = rest < out.AH;
  out.AH = rest;
  if (supersaturated) out.e = TAir::Enthalpy(out.AH, out.DBT);
  out.RH = air.RelativeHumidity(out.AH, out.DBT);
  return out;
}

// The capacities a coil gives between two states at mass flow m.
static void CapacitiesBetween(const RepPsychroPoint& in, const RepPsychroPoint& out, double m, ALCoilStep& step) {
  step.Outlet = out;
  step.TotalCap = m * (in.e - out.e);
  step.SensibleCap = m * TAir::MoistCp(in.AH) * (in.DBT - out.DBT);
}

// A cooling coil's surface is no colder than the refrigerant evaporating in
// it (TE). The air leaving it is a mix of air that touched the surface
// (saturated at the surface temperature, or unchanged in humidity where the
// surface stays dry) and air that passed by, so its line from the inlet
// through the outlet meets saturation at or above TE, and the outlet is no
// colder than TE. Data that ask for more are limited to that surface:
//   - a surface that can be wet (the inlet's dew point above TE): the outlet
//     moves onto the line from the inlet to saturation at TE, at the
//     enthalpy the data asked for, or to that saturated state itself when
//     they asked for less;
//   - a dry surface: no water is taken out; the temperature falls as the
//     sensible capacity says, but not below TE.
ALCoilStep Cls_HRX::CoolingCoil(const RepPsychroPoint& Inlet, double SupplyAir, double TE, const TAir& Air) {
  LoadEfficiencies();
  ALCoilStep step;
  step.Outlet = Inlet;
  step.SurfaceTemp = TE;
  Cls_IndoorUnit* coil = v_indoor.get();
  if (!coil) return step;
  const double n = SupplyAir / GetNomAirflow();
  int totalErr = 0, sensibleErr = 0;
  const double Qt = coil->GetTCoolCap(TE, Inlet.DBT, Inlet.RH, Air, false, totalErr) * Eval(v_totalCapCorr, n);
  // The sensible part of a coil's duty is never more than the whole; the two
  // correction curves could otherwise make it so.
  const double Qs = std::min(
      Qt, coil->GetSCoolCap(TE, Inlet.DBT, Inlet.RH, Air, false, sensibleErr) * Eval(v_sensibleCapCorr, n));
  if (totalErr == CTCoilCapacity::kNoCapacities || sensibleErr == CTCoilCapacity::kNoCapacities) {
    step.Code = kNoCoilData;
    return step;
  }
  const double m = SiteMassFlow(Air, SupplyAir);
  bool supersaturated = false;
  const RepPsychroPoint out = CoilOutlet(Inlet, m, Qs, Qt, Air, supersaturated);
  step.Outlet = out;
  step.TotalCap = Qt;
  step.SensibleCap = Qs;
  if (supersaturated) CapacitiesBetween(Inlet, out, m, step);
  if (!(Qt > 0 || Qs > 0)) return step;
  // The coil's own line: a fan blowing through the coil warms the air before
  // it, a fan drawing through it warms the air after it, by P / (m cp).
  const bool fanAfter = coil->GetFanPosition() != 0;
  const double fanK = coil->GetPIFanMotor() / 1000 / (m * TAir::MoistCp(Inlet.AH));
  RepPsychroPoint coilIn = Inlet, coilOut = out;
  (fanAfter ? coilOut.DBT -= fanK : coilIn.DBT += fanK);
  // The tables' sensible capacity is rounded to 0.001 kW, so a dry coil's
  // outlet may show a trace less water than its inlet.
  const bool takesWater = out.AH < Inlet.AH - kWaterTraceKgKg;
  if (coilOut.DBT >= TE && (!takesWater || LineSaturationTemp(Air, coilIn, coilOut) >= TE)) return step;

  // Limited along the coil's own line, between its own inlet and outlet; a
  // fan after the coil then warms the limited outlet as before.
  step.Limited = true;
  coilIn.e = TAir::Enthalpy(coilIn.AH, coilIn.DBT);
  coilOut.e = TAir::Enthalpy(coilOut.AH, coilOut.DBT);
  RepPsychroPoint limited;
  if (Air.DewPoint(Inlet.AH) > TE) {
    const RepPsychroPoint surface = PsychroPointAt(Air, TE, 100);
    const double f =
        coilIn.e > surface.e ? std::clamp((coilIn.e - coilOut.e) / (coilIn.e - surface.e), 0.0, 1.0) : 1.0;
    limited.DBT = coilIn.DBT + f * (surface.DBT - coilIn.DBT);
    limited.AH = coilIn.AH + f * (surface.AH - coilIn.AH);
  } else {
    limited.DBT = std::max(TE, coilOut.DBT);
    limited.AH = Inlet.AH;
  }
  limited.AH = std::min(limited.AH, Air.AbsoluteHumidity(100, limited.DBT));
  if (fanAfter) limited.DBT += fanK;
  FillFromAH(limited, Air);
  CapacitiesBetween(Inlet, limited, m, step);
  return step;
}

// A heating coil gives the air no more than its condensing limit allows
// (where the data state one); beyond it the outlet and the capacity are
// limited to it. TotalCap and SensibleCap are both the (negative) heating
// capacity.
ALCoilStep Cls_HRX::HeatingCoil(const RepPsychroPoint& Inlet, double SupplyAir, const TAir& Air) {
  LoadEfficiencies();
  ALCoilStep step;
  step.Outlet = Inlet;
  Cls_IndoorUnit* coil = v_indoor.get();
  if (!coil) return step;
  int err = 0;
  const double Q = coil->GetHeatCap(Inlet.DBT, false, err) * Eval(v_totalCapCorr, SupplyAir / GetNomAirflow());
  const double m = SiteMassFlow(Air, SupplyAir);
  bool supersaturated = false;  // heating keeps the humidity: never
  step.Outlet = CoilOutlet(Inlet, m, -Q, -Q, Air, supersaturated);
  step.TotalCap = step.SensibleCap = -Q;
  const double limit = coil->GetCondensingLimit();
  step.SurfaceTemp = limit;
  if (!(limit > 0) || !(step.Outlet.DBT > limit)) return step;
  step.Limited = true;
  RepPsychroPoint limited;
  limited.DBT = std::max(limit, Inlet.DBT);
  limited.AH = Inlet.AH;
  FillFromAH(limited, Air);
  CapacitiesBetween(Inlet, limited, m, step);
  step.TotalCap = step.SensibleCap;  // heating: all sensible, negative
  return step;
}

// The savings are the energy the exchanger recovers: the enthalpy change
// of the supply stream over the exchanger alone, from the outdoor air
// entering it (VI) to the air leaving it towards the room (CI), with m from
// the dry-air density at CI. The coil's duty and the humidifier's water come
// after CI and are spent by the unit, not recovered. The change is split
// into its sensible part, at the humidity that leaves, and the rest:
//   cooling: h* = h(CI.AH, VI.DBT)   sensible = m (h* - CI.e)   latent = m (VI.e - h*)
//   heating: h* = h(VI.AH, CI.DBT)   sensible = m (h* - VI.e)   latent = m (CI.e - h*)
// Signs are kept (positive: the exchanger saves the coil or heater that
// much), so the parts add up to m (VI.e - CI.e) in cooling and
// m (CI.e - VI.e) in heating, even when the moisture moves against the
// heat. A fresh-air unit has no exchanger (its CI is only a copy of its
// inlet air) and saves nothing.
void Cls_HRX::CalcCoolSavings(const ALPsychroSet& p, double SupplyAir, const TAir& Air, double& LatentSavings,
                              double& SensibleSavings) const {
  LatentSavings = SensibleSavings = 0;
  if (GetType() != kPlainUnit && GetType() != kCoilUnit) return;
  const double m = MassFlow(Air.DryAirDensity(p.CI.DBT), SupplyAir);
  const double hStar = TAir::Enthalpy(p.CI.AH, p.VI.DBT);
  LatentSavings = (p.VI.e - hStar) * m;
  SensibleSavings = (hStar - p.CI.e) * m;
}

void Cls_HRX::CalcHeatSavings(const ALPsychroSet& p, double SupplyAir, const TAir& Air, double& LatentSavings,
                              double& SensibleSavings) const {
  LatentSavings = SensibleSavings = 0;
  if (GetType() != kPlainUnit && GetType() != kCoilUnit) return;
  const double m = MassFlow(Air.DryAirDensity(p.CI.DBT), SupplyAir);
  const double hStar = TAir::Enthalpy(p.VI.AH, p.CI.DBT);
  LatentSavings = (p.CI.e - hStar) * m;
  SensibleSavings = (hStar - p.VI.e) * m;
}
