#pragma once
// A unit's compliance with the ecodesign regulation for ventilation units,
// Regulation (EU) No 1253/2014, and its sound at the operating point.
//
// Compliance: the 2018 requirements (Annex III, point 2) for a
// non-residential bidirectional unit. The thermal efficiency is the one of
// Annex IX: dry air, balanced mass flows at the nominal airflow, outdoor
// 5 degC and extract 25 degC (the EN 308 reference conditions), computed by
// the same performance model the selection uses. SFPint is the internal
// pressure drop of the ventilation components (the exchanger and the filters
// selected, each side at the nominal airflow) over the fans' static
// efficiency there. The information sheet is Annex V's.
//
// Sound: the catalogue gives each path's octave bands at a reference airflow
// and fan static pressure; the fan law scales them to the operating point:
// L + 10 lg(q / q_ref) + 20 lg(p / p_ref). The pressure is the fan's static
// pressure (the external pressure plus the exchanger's drop), never 0 while
// air moves, so the law stays finite.

#include "catalogue/ClHRXEcodesign.h"
#include "catalogue/ClHRXSound.h"

#include <QList>
#include <QString>

#include <array>

class Cls_HRX;

namespace Ecodesign {

// Regulation (EU) No 1253/2014, Annex III 2 and Annex IX.
inline constexpr double kReferenceOutdoorC = 5;   // EN 308 conditions
inline constexpr double kReferenceExtractC = 25;
inline constexpr double kReferenceExtractRH = 28;  // %: wet bulb below 14 degC, no condensation
inline constexpr double kReferenceOutdoorRH = 50;
inline constexpr double kBonusPerEfficiency = 3000;  // W/(m3/s) per unit of thermal efficiency
inline constexpr double kLimitBreakM3s = 2;          // qnom where SFPint_limit stops falling

// The lowest thermal efficiency allowed: 73 %, 68 % for a run-around coil.
double MinThermalEfficiency(int nHrsType);
// E, W/(m3/s): (eta_t - minimum) x 3000, 0 below the minimum.
double EfficiencyBonus(int nHrsType, double nThermalEfficiency);
// F, Pa: 0 with both filters, 150 without the medium, 190 without the fine
// filter, 340 without both.
double FilterCorrection(bool bFineFilter, bool bMediumFilter);
// SFPint_limit, W/(m3/s): 1100 + E - 300 qnom / 2 - F below 2 m3/s, 800 + E
// - F from 2 m3/s on; 1600 and 1300 for a run-around coil.
double SfpIntLimit(int nHrsType, double nQnomM3s, double nThermalEfficiency, bool bFineFilter, bool bMediumFilter);
// A supply filter of F7 or better is the fine filter, an exhaust filter of F6
// or better the medium one (filter classes as the request counts them).
bool IsFineFilter(int nFilterClass);
bool IsMediumFilter(int nFilterClass);

}  // namespace Ecodesign

namespace Sound {

inline constexpr int kBands = Cls_HRXSound::kBandCount;
using Bands = std::array<double, kBands>;
inline constexpr std::array<int, kBands> kBandsHz = {63, 125, 250, 500, 1000, 2000, 4000, 8000};
// IEC 61672-1 A-weighting at the octave centres.
inline constexpr Bands kAWeighting = {-26.2, -16.1, -8.6, -3.2, 0, 1.2, 1.0, -1.1};
// The directivity of a supply outlet in a wall or ceiling: half space.
inline constexpr double kOutletDirectivity = 2;

// Each band moved by the fan law from (q_ref, p_ref) to (q, p); any unit of
// airflow and pressure, the same for both points.
Bands Scaled(const Bands& bands, double nRefAirflow, double nRefPressure, double nAirflow, double nPressure);
// The A-weighted total, dB(A): 10 lg sum 10^((L_i + A_i) / 10).
double AWeighted(const Bands& bands);
// The sound pressure at distance r (m) from a source of power Lw in a room
// of room constant R (m2): Lw + 10 lg(Q / (4 pi r^2) + 4 / R), Q = 2.
Bands InRoom(const Bands& power, double nDistanceM, double nRoomConstantM2);

}  // namespace Sound

// The unit under the regulation, with the filters selected.
struct LTEcodesign {
  bool declared = false;  // the catalogue has the unit's record
  int typology = -1;      // Cls_HRXEcodesign::Typology
  bool covered = false;   // a non-residential bidirectional unit: the figures below hold
  QString supplier, model, filterPerformance, disassemblyUrl;
  int hrsType = 0;  // Cls_HRXEcodesign::HrsType
  int drive = 0;    // Cls_HRXEcodesign::Drive
  double thermalEfficiency = 0;  // fraction
  double qnomM3s = 0;
  double nominalPressurePa = 0;
  bool fineFilter = false, mediumFilter = false;
  double efficiencyBonus = 0;   // W/(m3/s)
  double filterCorrection = 0;  // Pa
  double internalDropSupplyPa = 0, internalDropExhaustPa = 0;  // ventilation components at qnom
  double fanStaticEfficiency = 0;  // fraction, at qnom
  double sfpint = 0, sfpintLimit = 0;  // W/(m3/s)
  double minThermalEfficiency = 0;
  bool meetsEfficiency = false, meetsSfpint = false;
  double effectivePowerKW = 0;  // at qnom and the nominal external pressure
  double faceVelocityMs = 0;    // at the design airflow
  double externalLeakagePct = 0, internalLeakagePct = 0;
  double casingLwa = 0;  // dB(A), at the nominal point
};

// One path's sound power.
struct LTSoundPath {
  Sound::Bands lw{}, referenceLw{};
  double lwa = 0;
  double referenceAirflowLs = 0, referencePressurePa = 0;
  double airflowLs = 0, pressurePa = 0;  // the operating point the bands were scaled to
};

// The operating point of one fan: its airflow (m3/h) and the pressure it
// works against outside the bare unit (duct ESP, filters, plenums; Pa).
struct LTFanPoint {
  double airflowM3h = 0;
  double externalPa = 0;
};

struct LTSound {
  bool known = false;  // the catalogue has the unit's sound data
  std::array<LTSoundPath, Cls_HRXSound::kPathCount> paths{};
  double distanceM = 0, roomConstantM2 = 0;
  Sound::Bands roomLp{};  // from the supply outlet, at the distance in the room
  double roomLpA = 0;
};

// One line of the information sheet, the verdicts or the sound table, as the
// window, the report and aerolith-cli show it: a label and its value in
// words. The regulation's figures are declared in its SI units.
struct LTSheetRow {
  QString label;
  QString value;
};

class CTEcodesign {
 public:
  // The unit's compliance with the supply and exhaust filter classes given;
  // nDesignM3h is the larger design airflow, for the face velocity.
  static LTEcodesign Evaluate(Cls_HRX& unit, int nSupplyFilter, int nExhaustFilter, double nDesignM3h);
  // The five paths at the fans' operating points: the supply fan drives the
  // supply outlet and the outdoor-air inlet, the exhaust fan the extract
  // inlet and the exhaust outlet, and the casing radiates both (each half of
  // the reference power). A unit without an exhaust fan gives the supply
  // point for both.
  static LTSound SoundAt(Cls_HRX& unit, const LTFanPoint& supply, const LTFanPoint& exhaust, double nDistanceM,
                         double nRoomConstantM2);
  // Why a unit has no figures, in words; empty for a covered unit.
  static QString NotCoveredReason(const LTEcodesign& eco);
  // The words of the catalogue's kinds.
  static QString HrsTypeText(int nHrsType);
  static QString DriveText(int nDrive);
  static QString PathText(int nPath);
  // Annex V's text on the filter warning of a unit with a fine filter.
  static QString FilterWarningText();

  // Annex V's information sheet; a single row saying why for a unit the
  // regulation does not cover.
  static QList<LTSheetRow> Sheet(const LTEcodesign& eco);
  // The two requirements with the figure, the limit and the margin; empty
  // for a unit not covered.
  static QList<LTSheetRow> Verdicts(const LTEcodesign& eco);
  // The octave band centres as column titles ("63 Hz" ... "8 kHz").
  static QStringList BandTitles();
};
