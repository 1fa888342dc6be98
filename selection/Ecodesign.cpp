#include "selection/Ecodesign.h"

#include "catalogue/ClHRX.h"
#include "catalogue/ClHRXEcoCurve.h"
#include "catalogue/PsychroSet.h"
#include "catalogue/Sentinels.h"
#include "i18n/BaseMsgMan.h"
#include "psychro/Air.h"
#include "psychro/SI_Units.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>

// ------------------------------------------------------------ the regulation

namespace Ecodesign {

namespace {
constexpr double kMinEfficiency = 0.73;             // 2018, Annex III 2
constexpr double kMinEfficiencyRunAround = 0.68;
constexpr double kLimitBase = 1100, kLimitBaseRunAround = 1600;  // W/(m3/s), qnom < 2 m3/s
constexpr double kLimitSlope = 300.0 / 2;                        // W/(m3/s) per m3/s
constexpr double kWithoutMedium = 150, kWithoutFine = 190;       // Pa
constexpr int kFineFilterClass = 2;    // F7
constexpr int kMediumFilterClass = 1;  // F6

bool RunAround(int nHrsType) { return nHrsType == Cls_HRXEcodesign::kRunAroundCoil; }
}  // namespace

double MinThermalEfficiency(int nHrsType) { return RunAround(nHrsType) ? kMinEfficiencyRunAround : kMinEfficiency; }

double EfficiencyBonus(int nHrsType, double nThermalEfficiency) {
  return std::max(0.0, (nThermalEfficiency - MinThermalEfficiency(nHrsType)) * kBonusPerEfficiency);
}

double FilterCorrection(bool bFineFilter, bool bMediumFilter) {
  return (bMediumFilter ? 0 : kWithoutMedium) + (bFineFilter ? 0 : kWithoutFine);
}

double SfpIntLimit(int nHrsType, double nQnomM3s, double nThermalEfficiency, bool bFineFilter, bool bMediumFilter) {
  const double base = RunAround(nHrsType) ? kLimitBaseRunAround : kLimitBase;
  const double q = std::min(nQnomM3s, kLimitBreakM3s);  // from 2 m3/s on, base - 300
  return base - kLimitSlope * q + EfficiencyBonus(nHrsType, nThermalEfficiency) -
         FilterCorrection(bFineFilter, bMediumFilter);
}

bool IsFineFilter(int nFilterClass) { return nFilterClass >= kFineFilterClass; }
bool IsMediumFilter(int nFilterClass) { return nFilterClass >= kMediumFilterClass; }

}  // namespace Ecodesign

// ------------------------------------------------------------ sound

namespace Sound {

Bands Scaled(const Bands& bands, double nRefAirflow, double nRefPressure, double nAirflow, double nPressure) {
  const double shift = 10 * std::log10(nAirflow / nRefAirflow) + 20 * std::log10(nPressure / nRefPressure);
  Bands out = bands;
  for (double& level : out) level += shift;
  return out;
}

double AWeighted(const Bands& bands) {
  double sum = 0;
  for (int i = 0; i < kBands; ++i) sum += std::pow(10.0, (bands[i] + kAWeighting[i]) / 10);
  return 10 * std::log10(sum);
}

Bands InRoom(const Bands& power, double nDistanceM, double nRoomConstantM2) {
  const double r = nDistanceM;
  const double shift =
      10 * std::log10(kOutletDirectivity / (4 * std::numbers::pi * r * r) + 4 / nRoomConstantM2);
  Bands out = power;
  for (double& level : out) level += shift;
  return out;
}

}  // namespace Sound

// ------------------------------------------------------------ the unit

namespace {

struct LTEcoCurves {
  std::unique_ptr<Cls_HRXEcoCurve> drop, fan;
};

LTEcoCurves CurvesOf(Cls_HRX& unit) {
  LTEcoCurves c;
  ObjectList<Cls_HRXEcoCurve> curves = unit.GetAllHRXEcoCurve();
  // The last curve of a type wins, as the records are read.
  for (int i = curves.Count() - 1; i >= 0; --i) {
    const int type = curves.Item(i)->GetType();
    if (type == Cls_HRXEcoCurve::kExchangerPressureDrop && !c.drop) c.drop.reset(curves.Extract(i));
    else if (type == Cls_HRXEcoCurve::kFanStaticEfficiency && !c.fan) c.fan.reset(curves.Extract(i));
  }
  return c;
}

double ValueAt(const std::unique_ptr<Cls_HRXEcoCurve>& curve, double x) { return curve ? curve->Evaluate(x) : 0; }

// The temperature ratio of the supply side at the EN 308 conditions, as the
// selection's heating computation gives it; 0 where that computation fails.
double ThermalEfficiency(Cls_HRX& unit, double nNomM3h) {
  using namespace Ecodesign;
  const TAir air(0);
  const ALHeatingResult heated = unit.SelectForHeating(
      {kReferenceExtractC, kReferenceExtractRH, kReferenceOutdoorC, kReferenceOutdoorRH, nNomM3h, nNomM3h, false,
       Sentinel::kNotGiven, Sentinel::kNotGiven},
      air, Sentinel::kNotGiven);
  if (heated.Code != 0) return 0;
  const ALPsychroSet& p = heated.PsychroPoints;
  return (p.CI.DBT - p.OA.DBT) / (p.RA.DBT - p.OA.DBT);
}

}  // namespace

LTEcodesign CTEcodesign::Evaluate(Cls_HRX& unit, int nSupplyFilter, int nExhaustFilter, double nDesignM3h) {
  using namespace Ecodesign;
  LTEcodesign e;
  e.model = unit.GetName();
  const std::unique_ptr<Cls_HRXEcodesign> record = unit.GetTheHRXEcodesign();
  if (!record) return e;
  e.declared = true;
  e.typology = record->GetTypology();
  e.covered = e.typology == Cls_HRXEcodesign::kNonResidentialBidirectional;
  e.supplier = record->GetSupplier();
  if (!e.covered) return e;

  e.filterPerformance = record->GetFilterPerformance();
  e.disassemblyUrl = record->GetDisassemblyURL();
  e.hrsType = record->GetHrsType();
  e.drive = record->GetDrive();
  const double qnom = record->GetNomAirflow();  // m3/h
  e.qnomM3s = qnom / UnitFactor::kSecondsPerHour;
  e.nominalPressurePa = record->GetNomPressure();
  e.externalLeakagePct = record->GetExternalLeakage();
  e.internalLeakagePct = record->GetInternalLeakage();
  e.thermalEfficiency = ThermalEfficiency(unit, qnom);

  e.fineFilter = IsFineFilter(nSupplyFilter);
  e.mediumFilter = IsMediumFilter(nExhaustFilter);
  e.minThermalEfficiency = MinThermalEfficiency(e.hrsType);
  e.efficiencyBonus = EfficiencyBonus(e.hrsType, e.thermalEfficiency);
  e.filterCorrection = FilterCorrection(e.fineFilter, e.mediumFilter);
  e.sfpintLimit = SfpIntLimit(e.hrsType, e.qnomM3s, e.thermalEfficiency, e.fineFilter, e.mediumFilter);

  const LTEcoCurves curves = CurvesOf(unit);
  const double exchanger = ValueAt(curves.drop, qnom);
  e.internalDropSupplyPa = exchanger + unit.GetFilterESP(nSupplyFilter, qnom);
  e.internalDropExhaustPa = exchanger + unit.GetFilterESP(nExhaustFilter, qnom);
  e.fanStaticEfficiency = ValueAt(curves.fan, qnom);
  const double eta = e.fanStaticEfficiency;
  if (eta > 0) {
    e.sfpint = (e.internalDropSupplyPa + e.internalDropExhaustPa) / eta;
    e.effectivePowerKW =
        e.qnomM3s * (2 * e.nominalPressurePa + e.internalDropSupplyPa + e.internalDropExhaustPa) / eta / 1000;
  }
  e.meetsEfficiency = e.thermalEfficiency >= e.minThermalEfficiency;
  e.meetsSfpint = eta > 0 && e.sfpint <= e.sfpintLimit;

  const double faceArea = record->GetFaceArea();
  e.faceVelocityMs = faceArea > 0 ? nDesignM3h / UnitFactor::kSecondsPerHour / faceArea : 0;

  // The casing at the nominal point, as the sheet declares it.
  for (const Cls_HRXSound* path : unit.GetAllHRXSound()) {
    if (path->GetPath() != Cls_HRXSound::kCasing) continue;
    const double p = e.nominalPressurePa + exchanger;
    e.casingLwa = Sound::AWeighted(
        Sound::Scaled(path->GetBands(), record->GetSoundAirflow(), record->GetSoundPressure(), qnom, p));
  }
  return e;
}

LTSound CTEcodesign::SoundAt(Cls_HRX& unit, const LTFanPoint& supply, const LTFanPoint& exhaust, double nDistanceM,
                             double nRoomConstantM2) {
  LTSound s;
  s.distanceM = nDistanceM;
  s.roomConstantM2 = nRoomConstantM2;
  const std::unique_ptr<Cls_HRXEcodesign> record = unit.GetTheHRXEcodesign();
  ObjectList<Cls_HRXSound> paths = unit.GetAllHRXSound();
  if (!record || paths.Count() != Cls_HRXSound::kPathCount) return s;
  const double refQ = record->GetSoundAirflow(), refP = record->GetSoundPressure();
  if (!(refQ > 0 && refP > 0)) return s;

  const std::unique_ptr<Cls_HRXEcoCurve> drop = CurvesOf(unit).drop;
  const auto fanPressure = [&](const LTFanPoint& point) { return point.externalPa + ValueAt(drop, point.airflowM3h); };
  const LTFanPoint& exhaustPoint = unit.HasExhaustFan() ? exhaust : supply;
  const double supplyP = fanPressure(supply), exhaustP = fanPressure(exhaustPoint);
  if (!(supply.airflowM3h > 0 && exhaustPoint.airflowM3h > 0 && supplyP > 0 && exhaustP > 0)) return s;

  for (const Cls_HRXSound* record : paths) {
    const int which = record->GetPath();
    if (which < 0 || which >= Cls_HRXSound::kPathCount) return LTSound{};
    LTSoundPath& path = s.paths[std::size_t(which)];
    path.referenceLw = record->GetBands();
    path.referenceAirflowLs = refQ / UnitFactor::kM3hPerLs;
    path.referencePressurePa = refP;
    const bool supplySide = which == Cls_HRXSound::kSupplyOutlet || which == Cls_HRXSound::kOutdoorInlet;
    if (which == Cls_HRXSound::kCasing) {
      // Half the reference power from each fan, each scaled by its own law.
      const Sound::Bands bySupply = Sound::Scaled(path.referenceLw, refQ, refP, supply.airflowM3h, supplyP);
      const Sound::Bands byExhaust = Sound::Scaled(path.referenceLw, refQ, refP, exhaustPoint.airflowM3h, exhaustP);
      for (int i = 0; i < Sound::kBands; ++i)
        path.lw[i] = 10 * std::log10((std::pow(10.0, bySupply[i] / 10) + std::pow(10.0, byExhaust[i] / 10)) / 2);
      path.airflowLs = (supply.airflowM3h + exhaustPoint.airflowM3h) / 2 / UnitFactor::kM3hPerLs;
      path.pressurePa = std::max(supplyP, exhaustP);
    } else {
      const LTFanPoint& point = supplySide ? supply : exhaustPoint;
      const double p = supplySide ? supplyP : exhaustP;
      path.lw = Sound::Scaled(path.referenceLw, refQ, refP, point.airflowM3h, p);
      path.airflowLs = point.airflowM3h / UnitFactor::kM3hPerLs;
      path.pressurePa = p;
    }
    path.lwa = Sound::AWeighted(path.lw);
  }
  s.known = true;
  if (nDistanceM > 0 && nRoomConstantM2 > 0) {
    s.roomLp = Sound::InRoom(s.paths[Cls_HRXSound::kSupplyOutlet].lw, nDistanceM, nRoomConstantM2);
    s.roomLpA = Sound::AWeighted(s.roomLp);
  }
  return s;
}

QString CTEcodesign::NotCoveredReason(const LTEcodesign& eco) {
  if (!eco.declared) return TBaseMsg::Tr(QStringLiteral("The catalogue declares no ecodesign data for this unit."));
  switch (eco.typology) {
    case Cls_HRXEcodesign::kNonResidentialBidirectional: return QString();
    case Cls_HRXEcodesign::kResidential:
      return TBaseMsg::Tr(QStringLiteral(
          "A residential ventilation unit: its requirements are those for residential units, not the ones shown here."));
    case Cls_HRXEcodesign::kWithHeatPump:
      return TBaseMsg::Tr(QStringLiteral(
          "The unit transfers heat beyond its heat recovery (a refrigerant coil): Regulation (EU) 1253/2014 does not cover it."));
    case Cls_HRXEcodesign::kUnidirectional:
      return TBaseMsg::Tr(QStringLiteral(
          "A unidirectional unit without heat recovery between two airflows: the requirements for bidirectional units do not apply."));
    default: return TBaseMsg::Tr(QStringLiteral("The catalogue declares no ecodesign data for this unit."));
  }
}

QString CTEcodesign::HrsTypeText(int nHrsType) {
  switch (nHrsType) {
    case Cls_HRXEcodesign::kPlate: return TBaseMsg::Tr(QStringLiteral("Plate heat exchanger"));
    case Cls_HRXEcodesign::kRotary: return TBaseMsg::Tr(QStringLiteral("Rotary heat exchanger"));
    case Cls_HRXEcodesign::kRunAroundCoil: return TBaseMsg::Tr(QStringLiteral("Run-around coil"));
    default: return TBaseMsg::Tr(QStringLiteral("Other heat recovery"));
  }
}

QString CTEcodesign::DriveText(int nDrive) {
  return nDrive == Cls_HRXEcodesign::kVariableSpeed ? TBaseMsg::Tr(QStringLiteral("Variable speed drive"))
                                                    : TBaseMsg::Tr(QStringLiteral("Multi-speed drive"));
}

QString CTEcodesign::PathText(int nPath) {
  switch (nPath) {
    case Cls_HRXSound::kSupplyOutlet: return TBaseMsg::Tr(QStringLiteral("Supply outlet"));
    case Cls_HRXSound::kOutdoorInlet: return TBaseMsg::Tr(QStringLiteral("Outdoor air inlet"));
    case Cls_HRXSound::kExtractInlet: return TBaseMsg::Tr(QStringLiteral("Extract air inlet"));
    case Cls_HRXSound::kExhaustOutlet: return TBaseMsg::Tr(QStringLiteral("Exhaust outlet"));
    default: return TBaseMsg::Tr(QStringLiteral("Casing"));
  }
}

QString CTEcodesign::FilterWarningText() {
  return TBaseMsg::Tr(QStringLiteral(
      "The unit shows when its filters need changing. Change them regularly: clogged filters cost fan energy and "
      "lower the unit's performance."));
}

// ------------------------------------------------------------ texts

namespace {

QString Fixed(double d, int digits) { return TBaseMsg::FormatShown(d, digits); }
QString Percent(double fraction) { return Fixed(fraction * 100, 1) + QStringLiteral(" %"); }

QString Verdict(bool bMeets) {
  return bMeets ? TBaseMsg::Tr(QStringLiteral("meets")) : TBaseMsg::Tr(QStringLiteral("fails"));
}

}  // namespace

QList<LTSheetRow> CTEcodesign::Sheet(const LTEcodesign& e) {
  const auto tr = [](const char* text) { return TBaseMsg::Tr(QString::fromUtf8(text)); };
  if (!e.covered) return {{tr("Regulation (EU) 1253/2014"), NotCoveredReason(e)}};
  const QString none = tr("not declared");
  QList<LTSheetRow> rows = {
      {tr("Supplier"), e.supplier},
      {tr("Model"), e.model},
      {tr("Typology"), tr("Non-residential ventilation unit, bidirectional")},
      {tr("Drive"), DriveText(e.drive)},
      {tr("Heat recovery system"), HrsTypeText(e.hrsType)},
      {tr("Thermal efficiency of heat recovery"), Percent(e.thermalEfficiency)},
      {tr("Nominal flow rate"), Fixed(e.qnomM3s, 3) + QStringLiteral(" m³/s")},
      {tr("Effective electric power input"), Fixed(e.effectivePowerKW, 3) + QStringLiteral(" kW")},
      {tr("SFPint"), Fixed(e.sfpint, 0) + QStringLiteral(" W/(m³/s)")},
      {tr("Face velocity at design flow"), Fixed(e.faceVelocityMs, 2) + QStringLiteral(" m/s")},
      {tr("Nominal external pressure"), Fixed(e.nominalPressurePa, 0) + QStringLiteral(" Pa")},
      {tr("Internal pressure drop of ventilation components, supply"), Fixed(e.internalDropSupplyPa, 0) + QStringLiteral(" Pa")},
      {tr("Internal pressure drop of ventilation components, exhaust"), Fixed(e.internalDropExhaustPa, 0) + QStringLiteral(" Pa")},
      {tr("Static efficiency of the fans"), Percent(e.fanStaticEfficiency)},
      {tr("External leakage rate"), Fixed(e.externalLeakagePct, 1) + QStringLiteral(" %")},
      {tr("Internal leakage rate"), Fixed(e.internalLeakagePct, 1) + QStringLiteral(" %")},
      {tr("Energy performance of the filters"), e.filterPerformance.isEmpty() ? none : e.filterPerformance},
  };
  if (e.fineFilter) rows.append({tr("Filter warning"), FilterWarningText()});
  rows.append({tr("Casing sound power level"), Fixed(e.casingLwa, 0) + QStringLiteral(" dB(A)")});
  rows.append({tr("Disassembly instructions"), e.disassemblyUrl});
  return rows;
}

QList<LTSheetRow> CTEcodesign::Verdicts(const LTEcodesign& e) {
  if (!e.covered) return {};
  const auto tr = [](const char* text) { return TBaseMsg::Tr(QString::fromUtf8(text)); };
  // "meets: 82.0 % against at least 73.0 % (margin 9.0 %)"
  const QString efficiency = Verdict(e.meetsEfficiency) + QStringLiteral(": ") + Percent(e.thermalEfficiency) + QLatin1Char(' ') +
                             tr("against at least") + QLatin1Char(' ') + Percent(e.minThermalEfficiency) + QStringLiteral(" (") +
                             tr("margin") + QLatin1Char(' ') + Percent(e.thermalEfficiency - e.minThermalEfficiency) +
                             QLatin1Char(')');
  const QString sfp = Verdict(e.meetsSfpint) + QStringLiteral(": ") + Fixed(e.sfpint, 0) + QLatin1Char(' ') + tr("against at most") +
                      QLatin1Char(' ') + Fixed(e.sfpintLimit, 0) + QStringLiteral(" W/(m³/s) (") + tr("margin") + QLatin1Char(' ') +
                      Fixed(e.sfpintLimit - e.sfpint, 0) + QStringLiteral(" W/(m³/s))");
  return {{tr("Thermal efficiency (2018)"), efficiency}, {tr("SFPint (2018)"), sfp}};
}

QStringList CTEcodesign::BandTitles() {
  QStringList titles;
  for (const int hz : Sound::kBandsHz)
    titles << (hz >= 1000 ? QString::number(hz / 1000) + QStringLiteral(" kHz") : QString::number(hz) + QStringLiteral(" Hz"));
  return titles;
}
