#include "catalogue/CoilCapacity.h"

#include "psychro/Rounding.h"
#include "psychro/SI_Units.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kAirDensity = TAir::kStandardAirDensity;  // the coil model fixes the density
constexpr double kAdpStartC = 5.0;       // apparatus dew point search start, degC
constexpr int kAdpMaxSteps = 2000;       // bound of that search
constexpr double kAdpTolerance = 0.001;  // percent relative humidity and degC

bool Finite(std::initializer_list<double> values) {
  for (double v : values)
    if (!std::isfinite(v)) return false;
  return true;
}

// y0 .. y1 between x0 and x1 at x; y1 when the header repeats a value.
double Between(double x, double x0, double y0, double x1, double y1) {
  return x1 == x0 ? y1 : y0 + (x - x0) * (y1 - y0) / (x1 - x0);
}

}  // namespace

CTCoilCapacity::CTCoilCapacity(std::vector<CTCapacityRow> rows, double nHighFanM3h, double nFanMotorW, int nFanPosition)
    : v_airflowM3s(nHighFanM3h / UnitFactor::kSecondsPerHour), v_fanKW(nFanMotorW / 1000.0), v_fanPosition(nFanPosition) {
  std::stable_sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) { return a.te < b.te; });
  for (const CTCapacityRow& row : rows) {
    Header* header = row.kind == 0 ? &v_cool : row.kind == 10 ? &v_coolDB : row.kind == 1 ? &v_heat : nullptr;
    if (header) {
      const double used = Rounding::HalfEven(row.select);
      header->count = std::isfinite(used) ? int(std::clamp(used, 0.0, 7.0)) : 0;
      header->values = row.cols;
      continue;
    }
    v_rows.push_back(row);
  }
  for (const CTCapacityRow& row : v_rows) {
    const bool capacity = row.kind == 2 || row.kind == 8 || (row.kind >= 11 && row.kind <= 18);
    if (!capacity) continue;
    if (row.kind == 2 && !v_hasStdTE) {
      v_hasStdTE = true;
      v_stdTE = row.te;
    }
    if (std::none_of(v_caches.begin(), v_caches.end(), [&](const Cache& c) { return c.te == row.te; }))
      v_caches.push_back(Cache{row.te});
  }
}

CTCoilCapacity::Cache* CTCoilCapacity::Entry(double TE) {
  if (TE == kStandardTE) {
    if (!v_hasStdTE) return nullptr;
    TE = v_stdTE;
  }
  auto it = std::find_if(v_caches.begin(), v_caches.end(), [&](const Cache& c) { return c.te == TE; });
  if (it == v_caches.end()) return nullptr;
  if (!it->bound) {
    it->bound = true;
    for (const CTCapacityRow& row : v_rows) {
      if (row.te != TE) continue;
      // A value row of the TE's own (kind 2) wins over a factor row.
      if (row.kind == 2 || (!it->total && row.kind == 11)) it->total = &row;
      if (!it->sensible && (row.kind == 8 || row.kind == 12)) it->sensible = &row;
    }
  }
  return &*it;
}

double CTCoilCapacity::TotalColumn(double TE, int k) {
  Cache* entry = Entry(TE);
  if (!entry || k < 1 || k > 7 || !entry->total) return 0;
  double& value = entry->totalCool[std::size_t(k - 1)];
  if (value != 0) return value;
  if (entry->total->kind == 2) {
    value = entry->total->cols[std::size_t(k - 1)];
  } else {
    const Cache* standard = Entry(kStandardTE);
    value = standard && standard->total ? entry->total->cols[std::size_t(k - 1)] * standard->total->cols[std::size_t(k - 1)] : 0;
  }
  return value;
}

double CTCoilCapacity::SensibleColumn(double TE, int k) {
  Cache* entry = Entry(TE);
  if (!entry || k < 1 || k > 7 || !entry->sensible) return 0;  // no sensible row of its TE: no sensible value
  double& value = entry->sensibleCool[std::size_t(k - 1)];
  if (value != 0) return value;
  if (entry->sensible->kind == 8) {
    value = entry->sensible->cols[std::size_t(k - 1)];
    return value;
  }
  if (entry == Entry(kStandardTE)) return 0;  // factors of the standard row need a standard row to scale
  const double a = TotalColumn(kStandardTE, k);
  const double b = SensibleColumn(kStandardTE, k);
  const double c = entry->sensible->cols[std::size_t(k - 1)];
  const double d = a > 0 ? std::min(c * b / a, 1.0) : 0;
  const double factor = entry->total ? entry->total->cols[std::size_t(k - 1)] : 0;
  value = a * factor * d;
  return value;
}

int CTCoilCapacity::CoolColumn(double& WB, bool InTableValues, int& ErrCode) const {
  const int n = v_cool.count;
  if (n == 0) {
    ErrCode = kNoRow;
    return 0;
  }
  const double first = v_cool.values[0], last = v_cool.values[std::size_t(n - 1)];
  if (WB < first || WB > last) {
    if (InTableValues) {
      ErrCode = kCoolOutside;
      return 0;
    }
    WB = std::clamp(WB, first, std::max(first, last));
  }
  if (n < 2) return 0;
  for (int k = 2; k <= n; ++k)
    if (v_cool.values[std::size_t(k - 1)] >= WB) return k;
  return 0;
}

double CTCoilCapacity::TotalCoolAt(double TE, double WB, bool InTableValues, int& ErrCode) {
  ErrCode = kOk;
  if (!std::isfinite(WB)) {
    ErrCode = kCoolOutside;
    return 0;
  }
  const int k = CoolColumn(WB, InTableValues, ErrCode);
  if (ErrCode != kOk) return 0;
  if (!Entry(TE) || !Entry(kStandardTE)) {
    ErrCode = kNoCapacities;
    return 0;
  }
  if (k == 0) return 0;
  const double value = Between(WB, v_cool.values[std::size_t(k - 2)], TotalColumn(TE, k - 1),
                               v_cool.values[std::size_t(k - 1)], TotalColumn(TE, k));
  if (!(value > 0)) ErrCode = kCoolOutside;
  return value;
}

double CTCoilCapacity::GetTCoolCap(double TE, double DBRoomTemp, double RoomRH, const TAir& Air, bool InTableValues,
                                   int& ErrCode) {
  return TotalCoolAt(TE, Air.ConvertDBRH2WB(DBRoomTemp, RoomRH), InTableValues, ErrCode);
}

double CTCoilCapacity::BypassColumn(double TE, int k, const TAir& Air) {
  Cache* entry = Entry(TE);
  if (!entry || k < 1 || k > CoolColumns()) return 0;
  double& cached = entry->bypass[std::size_t(k - 1)];
  if (cached != 0) return cached;
  double adp = 0, bf = 0;
  if (!CoilLine(TE, k, Air, adp, bf)) return 0;
  cached = bf;
  return bf;
}

bool CTCoilCapacity::CoilLine(double TE, int k, const TAir& Air, double& adpC, double& bf) {
  adpC = 0;
  bf = 0;
  if (!Entry(TE) || k < 1 || k > CoolColumns()) return false;
  const double V = v_airflowM3s, P = v_fanKW;
  const double wb = v_cool.values[std::size_t(k - 1)], db = v_coolDB.values[std::size_t(k - 1)];
  const double TC = TotalColumn(TE, k), SC = SensibleColumn(TE, k);
  if (!(V > 0) || !(TC + P > 0) || !Finite({wb, db, TC, SC})) return false;
  ++v_bypassComputations;
  const double RH = Air.ConvertDBWB2RH(db, wb);
  const double W = Air.AbsoluteHumidity(RH, db);
  const double cp = TAir::MoistCp(W);
  const double h = TAir::Enthalpy(W, db);
  const double SHF = (SC + P) / (TC + P);
  if (!(SHF > 0)) return false;
  double hIn = h, tIn = db, hOut = h - (TC + P) / (kAirDensity * V);
  if (v_fanPosition == 0) {
    hIn = h + P / (kAirDensity * V);
    tIn = db + P / (kAirDensity * V * cp);
    hOut = h - TC / (kAirDensity * V);
  }
  // Apparatus dew point: the coil line from the inlet state with the slope
  // of the sensible heat factor meets saturation; stepped search, bounded.
  double t = kAdpStartC, step = 1, hA = hIn;
  for (int i = 0; i < kAdpMaxSteps; ++i) {
    hA = hIn - (tIn - t) * cp / SHF;
    const double r = Air.RelativeHumidity(TAir::HumidityRatio(hA, t), t);
    if (!std::isfinite(r)) return false;
    if (r > 100) {
      t += step;
      continue;
    }
    if (step < kAdpTolerance || std::fabs(100 - r) < kAdpTolerance) break;
    t -= step;
    step /= 10;
    t += step;
  }
  if (hIn == hA) return false;
  const double factor = (hOut - hA) / (hIn - hA);
  if (!std::isfinite(factor)) return false;
  adpC = t;
  bf = factor;
  return true;
}

std::vector<double> CTCoilCapacity::TEs() const {
  std::vector<double> tes;
  for (const Cache& c : v_caches) tes.push_back(c.te);
  return tes;
}

double CTCoilCapacity::BypassFactorAt(double TE, double WB, const TAir& Air) {
  int err = kOk;
  const int k = CoolColumn(WB, false, err);
  if (err != kOk || k == 0 || !Entry(TE) || !Entry(kStandardTE)) return 0;
  return Between(WB, v_cool.values[std::size_t(k - 2)], BypassColumn(TE, k - 1, Air), v_cool.values[std::size_t(k - 1)],
                 BypassColumn(TE, k, Air));
}

double CTCoilCapacity::GetSCoolCap(double TE, double DBRoomTemp, double RoomRH, const TAir& Air, bool InTableValues,
                                   int& ErrCode) {
  ErrCode = kOk;
  double WB = Air.ConvertDBRH2WB(DBRoomTemp, RoomRH);
  const double TC = TotalCoolAt(TE, WB, InTableValues, ErrCode);
  const double V = v_airflowM3s;
  if (!(V > 0) || !std::isfinite(TC)) return 0;
  const double P = v_fanKW;
  const double W = Air.AbsoluteHumidity(RoomRH, DBRoomTemp);
  const double cp = TAir::MoistCp(W);
  const double h = TAir::Enthalpy(W, DBRoomTemp);
  double hIn = h, tIn = DBRoomTemp;
  if (v_fanPosition == 0) {
    hIn = h + P / (kAirDensity * V);
    tIn = DBRoomTemp + P / (kAirDensity * V * cp);
  }
  const double BF = BypassFactorAt(TE, WB, Air);
  const double e = v_fanPosition != 0 ? P : 0;
  const double hOut = h - (TC + e) / (kAirDensity * V);
  double tOut = tIn;  // a bypass factor of 1: the air passes untouched
  if (BF < 1) {
    const double hApparatus = (hOut - BF * hIn) / (1 - BF);
    if (!Finite({tIn, hApparatus})) return 0;
    const double tA = Air.WetBulbTemp(tIn, hApparatus);
    if (!std::isfinite(tA)) return 0;
    tOut = tA + BF * (tIn - tA);
  }
  const double SC = Rounding::HalfEven(V * kAirDensity * cp * (DBRoomTemp - tOut) - e, 1000);
  return std::min(SC, TC);
}

double CTCoilCapacity::ValueAt(const CTCapacityRow& row, double temp, const Header& header) {
  const int n = std::clamp(header.count, 0, 7);
  if (n == 0 || temp < header.values[0]) return 0;
  int k = 0;
  for (int i = 1; i <= n && k == 0; ++i)
    if (temp <= header.values[std::size_t(i - 1)]) k = i;
  if (k == 0) return 0;
  const double t1 = header.values[std::size_t(k - 1)];
  if (temp == t1 || k == 1) return row.cols[std::size_t(k - 1)];
  return Between(temp, header.values[std::size_t(k - 2)], row.cols[std::size_t(k - 2)], t1, row.cols[std::size_t(k - 1)]);
}

double CTCoilCapacity::GetHeatCap(double RoomTemp, bool InTableValues, int& ErrCode) const {
  ErrCode = kOk;
  const auto row = std::find_if(v_rows.begin(), v_rows.end(), [](const CTCapacityRow& r) { return r.kind == 5; });
  if (row == v_rows.end() || v_heat.count == 0) {
    ErrCode = kNoRow;
    return 0;
  }
  if (!InTableValues)
    RoomTemp = std::clamp(RoomTemp, v_heat.values[0], std::max(v_heat.values[0], v_heat.values[std::size_t(v_heat.count - 1)]));
  const double value = ValueAt(*row, RoomTemp, v_heat);
  if (!(value > 0)) ErrCode = kHeatNotPositive;
  return value;
}
