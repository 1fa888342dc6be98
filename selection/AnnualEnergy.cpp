#include "selection/AnnualEnergy.h"

#include "catalogue/ClHRX.h"
#include "catalogue/ClHRXEcodesign.h"
#include "catalogue/ClHRXSpeed.h"
#include "catalogue/Sentinels.h"
#include "i18n/BaseMsgMan.h"
#include "psychro/Air.h"

#include <QDateTime>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>

// ------------------------------------------------------------ the year

namespace {

void Accumulate(LTAnnualFigures& to, const LTAnnualFigures& hour) {
  to.operatingHours += hour.operatingHours;
  to.heatRecoveredKWh += hour.heatRecoveredKWh;
  to.coolingRecoveredKWh += hour.coolingRecoveredKWh;
  to.inletHeaterKWh += hour.inletHeaterKWh;
  to.fanKWh += hour.fanKWh;
  to.hoursOutsideLimits += hour.hoursOutsideLimits;
}

void Finish(LTAnnualFigures& f, const LTPrices& p) {
  const double spent = f.inletHeaterKWh + f.fanKWh;
  f.netKWh = f.heatRecoveredKWh + f.coolingRecoveredKWh - spent;
  const double fuel = f.heatRecoveredKWh / p.heatEfficiency;
  const double chiller = f.coolingRecoveredKWh / p.coolingCop;
  f.cost = fuel * p.heatPrice + (chiller - spent) * p.electricityPrice;
  f.co2Kg = fuel * p.heatCo2 + (chiller - spent) * p.electricityCo2;
}

}  // namespace

LTUnitYear CTAnnualEnergy::UnitYearOf(Cls_HRX& unit, const SelectionResult& result, const SelectionRequest& request) {
  LTUnitYear y;
  const TAir air(result.altitudeM);
  y.supplyM3h = result.supplyM3h;
  y.exhaustM3h = result.exhaustM3h;
  y.upsideDown = result.upsideDown;
  y.altitudeM = result.altitudeM;
  y.heatingRoomC = request.heating.room.dryBulbC;
  y.heatingRoomRH = request.heating.room.RelativeHumidity(air);
  y.coolingRoomC = request.cooling.room.dryBulbC;
  y.coolingRoomRH = request.cooling.room.RelativeHumidity(air);
  const Cls_HRXSpeed *s = unit.GetSupplySpeed(), *e = unit.GetExhaustSpeed();
  y.fanKW = (s ? s->GetPowerInput() : 0) + (unit.HasExhaustFan() && e ? e->GetPowerInput() : 0);
  const std::unique_ptr<Cls_HRXEcodesign> eco = unit.GetTheHRXEcodesign();
  y.bypass = eco && eco->GetBypass();
  return y;
}

LTAnnualResult CTAnnualEnergy::Year(Cls_HRX& unit, const LTUnitYear& how, const LTClimate& climate,
                                    const LTSchedule& schedule, const LTPrices& prices) {
  LTAnnualResult r;
  r.climateName = climate.name;
  if (int(climate.hours.size()) != LTClimate::kHours) {
    r.message = TBaseMsg::Tr(QStringLiteral("The weather does not hold a year of hours."));
    return r;
  }
  const TAir air(how.altitudeM);
  const double coolingRoomEnthalpy = TAir::Enthalpy(air.AbsoluteHumidity(how.coolingRoomRH, how.coolingRoomC), how.coolingRoomC);
  std::map<int, LTTemperatureBin> bins;
  for (int h = 0; h < LTClimate::kHours; ++h) {
    if (!schedule.Operates(h)) continue;
    const LTClimateHour& w = climate.hours[std::size_t(h)];
    LTAnnualFigures hour;
    hour.operatingHours = 1;
    hour.fanKWh = how.fanKW;
    const bool heating = w.dryBulbC < how.heatingRoomC;
    const double outdoorEnthalpy = TAir::Enthalpy(air.AbsoluteHumidity(w.relativeHumidity, w.dryBulbC), w.dryBulbC);
    const bool cooling = !heating && outdoorEnthalpy > coolingRoomEnthalpy;
    if (heating || cooling || !how.bypass) {
      const double roomC = heating ? how.heatingRoomC : how.coolingRoomC;
      const double roomRH = heating ? how.heatingRoomRH : how.coolingRoomRH;
      const Cls_HRX::ALRecoveryHour done = unit.RecoveryHour(
          {roomC, roomRH, w.dryBulbC, w.relativeHumidity, how.supplyM3h, how.exhaustM3h, how.upsideDown,
           Sentinel::kNotGiven, Sentinel::kNotGiven},
          air, heating);
      if (done.Code != 0) {
        hour.hoursOutsideLimits = 1;
      } else {
        const double recovered = done.LatentSavings + done.SensibleSavings;
        (heating ? hour.heatRecoveredKWh : hour.coolingRecoveredKWh) = recovered;
        hour.inletHeaterKWh = done.InletHeater;
      }
    }
    Accumulate(r.year, hour);
    Accumulate(r.months[std::size_t(LTClimate::MonthOfHour(h))], hour);
    const int band = int(std::floor(w.dryBulbC / LTAnnualResult::kBinK));
    LTTemperatureBin& bin = bins[band];
    bin.fromC = band * LTAnnualResult::kBinK;
    ++bin.hours;
    bin.heatKWh += hour.heatRecoveredKWh;
    bin.coolingKWh += hour.coolingRecoveredKWh;
  }
  Finish(r.year, prices);
  for (LTAnnualFigures& month : r.months) Finish(month, prices);
  for (const auto& [band, bin] : bins) r.bins.push_back(bin);
  r.computed = true;
  return r;
}

LTAnnualResult CTAnnualEnergy::YearOf(const SelectionResult& result, const SelectionRequest& request,
                                      const LTClimate& climate) {
  Cls_HRX* unit = result.Current();
  if (!unit || !result.cooling.Succeeded() || !result.heating.Succeeded()) {
    LTAnnualResult r;
    r.message = TBaseMsg::Tr(QStringLiteral("No unit was computed in both modes: there is no year to work out."));
    return r;
  }
  const LTAnnualInputs& in = request.annual;
  return Year(*unit, UnitYearOf(*unit, result, request), climate, in.schedule, in.prices);
}

QList<LTRankedCandidate> CTAnnualEnergy::Rank(const SelectionResult& result, const SelectionRequest& request,
                                              const LTClimate& climate) {
  QList<LTRankedCandidate> ranked;
  for (int i = 0; i < result.candidates.Count() && i < result.rows.size(); ++i) {
    Cls_HRX& unit = *result.candidates.Item(i);
    LTRankedCandidate c;
    c.index = i;
    c.unit = unit.GetQualifiedName();
    c.supplySpeed = result.rows[i].supplySpeed;
    c.exhaustSpeed = result.rows[i].exhaustSpeed;
    c.year = Year(unit, UnitYearOf(unit, result, request), climate, request.annual.schedule, request.annual.prices).year;
    ranked.append(c);
  }
  std::stable_sort(ranked.begin(), ranked.end(),
                   [](const LTRankedCandidate& a, const LTRankedCandidate& b) { return a.year.netKWh > b.year.netKWh; });
  return ranked;
}

bool CTAnnualEnergy::LoadClimate(const QString& szSpec, LTClimate& out, QString& szWhy) {
  // The last climate read, with what identifies its file's version.
  struct LTHeld {
    QString spec;
    qint64 size = -1;
    QDateTime modified;
    LTClimate climate;
  };
  static LTHeld held;
  const QFileInfo file(szSpec);
  const bool demo = szSpec.startsWith(QLatin1String("demo:"));
  const qint64 size = demo ? 0 : file.size();
  const QDateTime modified = demo ? QDateTime() : file.lastModified();
  if (held.spec == szSpec && held.size == size && held.modified == modified && !held.climate.hours.empty()) {
    out = held.climate;
    return true;
  }
  LTClimate read;
  if (!CTClimate::Load(szSpec, read, szWhy)) return false;
  held = {szSpec, size, modified, read};
  out = std::move(read);
  return true;
}
