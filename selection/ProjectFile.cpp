#include "selection/ProjectFile.h"

#include "catalogue/Sentinels.h"
#include "i18n/BaseMsgMan.h"
#include "i18n/MsgMan.h"
#include "psychro/Air.h"
#include "psychro/Rounding.h"
#include "selection/InputFields.h"

#include <QFile>
#include <QSaveFile>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr char kMagic002[] = "VEN002";
constexpr char kMagic001[] = "VEN001";
constexpr char kMagicSections[] = "VENX";
constexpr int kMsgCannotOpen = -2;
constexpr int kMsgCannotCreate = -3;
constexpr int kMsgNotAProject = 42;

// ------------------------------------------------------------ bytes

// Reads little-endian fields from a byte array; every read is checked
// against what is left, and a failed read stays failed.
class ByteReader {
 public:
  explicit ByteReader(const QByteArray& bytes, qsizetype nOffset = 0) : v_bytes(bytes), v_pos(nOffset) {}

  qsizetype Left() const { return v_bytes.size() - v_pos; }
  bool Ok() const { return v_ok; }

  int Int() {
    char raw[4] = {};
    Take(raw, sizeof raw);
    return qFromLittleEndian<qint32>(raw);
  }
  double Real() {
    char raw[8] = {};
    Take(raw, sizeof raw);
    const quint64 bits = qFromLittleEndian<quint64>(raw);
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
  }
  QByteArray Bytes(qsizetype n) {
    if (!v_ok || n < 0 || Left() < n) {
      v_ok = false;
      return {};
    }
    const QByteArray part = v_bytes.mid(v_pos, n);
    v_pos += n;
    return part;
  }
  qsizetype Position() const { return v_pos; }
  quint8 Byte() {
    char raw[1] = {};
    Take(raw, sizeof raw);
    return static_cast<quint8>(raw[0]);
  }

 private:
  void Take(char* pOut, qsizetype n) {
    if (!v_ok || Left() < n) {
      v_ok = false;
      return;
    }
    std::memcpy(pOut, v_bytes.constData() + v_pos, static_cast<size_t>(n));
    v_pos += n;
  }

  const QByteArray& v_bytes;
  qsizetype v_pos;
  bool v_ok = true;
};

void PutInt(QByteArray& out, int n) {
  char raw[4];
  qToLittleEndian<qint32>(n, raw);
  out.append(raw, sizeof raw);
}

void PutReal(QByteArray& out, double x) {
  quint64 bits;
  std::memcpy(&bits, &x, sizeof bits);
  char raw[8];
  qToLittleEndian<quint64>(bits, raw);
  out.append(raw, sizeof raw);
}

// ------------------------------------------------------------ fields

void ReadMode(ByteReader& in, CTHRXProjectModeData& m) {
  m.v_indoorDBT = in.Real();
  m.v_indoorRH = in.Real();
  m.v_ambientDBT = in.Real();
  m.v_ambientRH = in.Real();
  m.v_discharge = in.Real();
  m.v_userInletHeater = in.Real();
  m.v_userSupplyHeater = in.Real();
  m.v_userSupplyTemp = in.Real();
}

void WriteMode(QByteArray& out, const CTHRXProjectModeData& m) {
  for (double x : {m.v_indoorDBT, m.v_indoorRH, m.v_ambientDBT, m.v_ambientRH, m.v_discharge, m.v_userInletHeater,
                   m.v_userSupplyHeater, m.v_userSupplyTemp})
    PutReal(out, x);
}

// The airflow fields shared by both layouts, from the object id on.
void ReadAirflowFields(ByteReader& in, CTHRXProjectDataIntfV0& v) {
  v.v_hrxObjID = in.Int();
  v.v_family = in.Int();
  v.v_supplySpeedId = in.Int();
  v.v_exhaustSpeedId = in.Int();
  v.v_altitude = in.Real();
  v.v_airflowPerPerson = in.Real();
  v.v_roomSurface = in.Real();
  v.v_areaPerPerson = in.Real();
  v.v_nrOfPersons = in.Real();
  v.v_totalSupply = in.Real();
  v.v_totalExhaust = in.Real();
}

// ------------------------------------------------------------ checks

// What a "VEN00x" file may not hold: what no input can take. A number that
// is not finite, a filter class, family or plenum arrangement the program
// does not know. A value that is merely outside its field's range is taken
// and bounded later, as the field bounds a typed value: a wet bulb of dry
// air, stored as the relative humidity it stands for, lies below the
// humidity field's range, and the program writes such files itself.
QString CheckSafe(const CTHRXProjectDataIntfV0& v, const CTHRXProjectDataIntfV1& v1) {
  if (v.v_family < 0 || v.v_family > CTHRXProjectIO::kMaxFamily) return QStringLiteral("unknown family %1").arg(v.v_family);
  if (v.v_highEffFilterSupply < 0 || v.v_highEffFilterSupply > CTHRXProjectIO::kMaxFilterClass ||
      v.v_highEffFilterExhaust < 0 || v.v_highEffFilterExhaust > CTHRXProjectIO::kMaxFilterClass)
    return QStringLiteral("unknown filter class");
  if (v1.v_plenumSelected < 0 || v1.v_plenumSelected > CTHRXProjectIO::kMaxPlenumArrangement)
    return QStringLiteral("unknown plenum arrangement %1").arg(v1.v_plenumSelected);
  const auto finite = [](std::initializer_list<double> values) {
    return std::all_of(values.begin(), values.end(), [](double x) { return std::isfinite(x); });
  };
  if (!finite({v.v_altitude, v.v_airflowPerPerson, v.v_roomSurface, v.v_areaPerPerson, v.v_nrOfPersons,
               v.v_totalSupply, v.v_totalExhaust, v.v_designSupplyESP, v.v_designExhaustESP}))
    return QStringLiteral("an airflow, pressure or altitude is not a number");
  for (const CTHRXProjectModeData* m : {&v.v_coolingData, &v.v_heatingData})
    if (!finite({m->v_indoorDBT, m->v_indoorRH, m->v_ambientDBT, m->v_ambientRH, m->v_discharge, m->v_userInletHeater,
                 m->v_userSupplyHeater, m->v_userSupplyTemp}))
      return QStringLiteral("a %1 condition is not a number").arg(m == &v.v_coolingData ? "cooling" : "heating");
  return {};
}

// The older layout has no magic: only values a window could have held tell
// its record from other bytes, so it is held to the fields' ranges.
// Unit conversions on the way in can leave a stored value a hair outside.
bool Within(double x, double nMin, double nMax) {
  const double slack = 1e-6 * std::max(1.0, std::fabs(nMax));
  return std::isfinite(x) && x >= nMin - slack && x <= nMax + slack;
}

bool WithinField(double x, CTInputFields::Field nField) {
  const LTInputField& f = CTInputFields::Spec(nField);
  return Within(x, f.min, f.max);
}

// A field that may be left out (the sentinel) or hold a value of its range.
bool OptionalField(double x, CTInputFields::Field nField) {
  return x == Sentinel::kNotGiven || WithinField(x, nField);
}

QString CheckPlausibleMode(const CTHRXProjectModeData& m, bool bCooling) {
  using F = CTInputFields;
  const QString mode = bCooling ? QStringLiteral("cooling") : QStringLiteral("heating");
  if (!WithinField(m.v_indoorDBT, bCooling ? F::kCoolRoomDryBulb : F::kHeatRoomDryBulb))
    return QStringLiteral("the %1 room dry bulb is out of range").arg(mode);
  if (!WithinField(m.v_ambientDBT, bCooling ? F::kCoolOutdoorDryBulb : F::kHeatOutdoorDryBulb))
    return QStringLiteral("the %1 outdoor dry bulb is out of range").arg(mode);
  // Any humidity air can have: a wet-bulb input may stand for less than the
  // humidity field's lowest value.
  if (!Within(m.v_indoorRH, 0, 100) || !Within(m.v_ambientRH, 0, 100))
    return QStringLiteral("a %1 relative humidity is not a humidity").arg(mode);
  // The discharge field is written whether it is shown or not; it only has
  // to be a temperature.
  if (!Within(m.v_discharge, Sentinel::kNoTemperature, 1000))
    return QStringLiteral("the %1 discharge temperature is not a temperature").arg(mode);
  if (!OptionalField(m.v_userInletHeater, F::kHeater) || !OptionalField(m.v_userSupplyHeater, F::kHeater))
    return QStringLiteral("a %1 heater is out of range").arg(mode);
  // The supply temperature of the fresh-air family is its discharge setting.
  if (!OptionalField(m.v_userSupplyTemp, F::kSupplyTemp))
    return QStringLiteral("the %1 supply temperature is out of range").arg(mode);
  return {};
}

QString CheckPlausible(const CTHRXProjectDataIntfV0& v) {
  using F = CTInputFields;
  if (QString why = CheckSafe(v, {}); !why.isEmpty()) return why;
  if (!WithinField(v.v_altitude, F::kAltitude)) return QStringLiteral("the altitude is out of range");
  if (!OptionalField(v.v_airflowPerPerson, F::kAirflowPerPerson) || !OptionalField(v.v_roomSurface, F::kRoomSurface) ||
      !OptionalField(v.v_areaPerPerson, F::kAreaPerPerson) || !OptionalField(v.v_nrOfPersons, F::kPersons) ||
      !OptionalField(v.v_totalSupply, F::kTotalSupply))
    return QStringLiteral("an airflow input is out of range");
  // A total exhaust of 0 is how some files say "not given".
  if (!(v.v_totalExhaust == 0 || OptionalField(v.v_totalExhaust, F::kTotalExhaust)))
    return QStringLiteral("the total exhaust is out of range");
  if (!WithinField(v.v_designSupplyESP, F::kSupplyEsp) || !WithinField(v.v_designExhaustESP, F::kExhaustEsp))
    return QStringLiteral("a design ESP is out of range");
  if (QString why = CheckPlausibleMode(v.v_coolingData, true); !why.isEmpty()) return why;
  return CheckPlausibleMode(v.v_heatingData, false);
}

// ------------------------------------------------------------ layouts

// The sections after the options, when the file has them. Bytes after the
// options that are not a section block are left unread, as they always were.
bool ParseSections(ByteReader& in, CTHRXProjectData& data, QString& szWhy) {
  data.v_sections.clear();
  if (in.Left() < qsizetype(sizeof kMagicSections - 1)) return true;
  const qsizetype start = in.Position();
  if (in.Bytes(sizeof kMagicSections - 1) != QByteArray(kMagicSections)) return true;
  while (in.Left() > 0) {
    const qsizetype at = in.Position();
    CTProjectSection section;
    section.tag = in.Bytes(CTHRXProjectIO::kSectionTagSize);
    const int length = in.Int();
    if (!in.Ok() || length < 0 || length > in.Left()) {
      szWhy = QStringLiteral("the section at byte %1 is cut short (the block starts at byte %2)").arg(at).arg(start);
      return false;
    }
    section.payload = in.Bytes(length);
    data.v_sections.append(section);
  }
  return true;
}

bool ParseCurrent(const QByteArray& bytes, CTHRXProjectData& data, QString& szWhy) {
  ByteReader in(bytes, CTHRXProjectIO::kMagicSize);
  if (in.Left() < CTHRXProjectIO::kHeaderSize - CTHRXProjectIO::kMagicSize) {
    szWhy = QStringLiteral("the file ends inside its header (%1 bytes)").arg(bytes.size());
    return false;
  }
  CTHRXProjectDataIntfV0& v = data.v_intfV0;
  v.v_hrxClsID = in.Int();
  ReadAirflowFields(in, v);
  v.v_designSupplyESP = in.Real();
  v.v_designExhaustESP = in.Real();
  v.v_highEffFilterSupply = in.Int();
  v.v_highEffFilterExhaust = in.Int();
  ReadMode(in, v.v_coolingData);
  ReadMode(in, v.v_heatingData);
  data.v_intfV1.v_plenumSelected = in.Int();
  data.v_intfV1.v_upsideDown = in.Byte() != 0;
  const int nCount = in.Int();
  if (!in.Ok()) {
    szWhy = QStringLiteral("the file ends inside its header");
    return false;
  }
  if (nCount < 0 || nCount > in.Left() / CTHRXProjectIO::kEntrySize) {
    szWhy = QStringLiteral("%1 options announced, room for %2").arg(nCount).arg(in.Left() / CTHRXProjectIO::kEntrySize);
    return false;
  }
  if (szWhy = CheckSafe(v, data.v_intfV1); !szWhy.isEmpty()) return false;
  data.v_options.clear();
  data.v_options.reserve(nCount);
  for (int i = 0; i < nCount; ++i) {
    CTHRXProjectSelOption o;
    o.v_optionClsID = in.Int();
    o.v_optionObjID = in.Int();
    o.v_nbSelected = in.Int();
    data.v_options.append(o);
  }
  if (!in.Ok()) return false;
  return ParseSections(in, data, szWhy);
}

bool ParseLegacy(const QByteArray& bytes, CTHRXProjectData& data, QString& szWhy) {
  if (bytes.size() < CTHRXProjectIO::kLegacyRecordSize) {
    szWhy = QStringLiteral("no project header, and too short for the older layout (%1 bytes)").arg(bytes.size());
    return false;
  }
  ByteReader in(bytes);
  CTHRXProjectDataIntfV0& v = data.v_intfV0;
  v.v_hrxClsID = CTHRXProjectIO::kLegacyUnitClass;
  ReadAirflowFields(in, v);
  // The filter class is folded into the ESP: class x 10000 + Pa. F6 at 0 Pa
  // is exactly 10000.
  const auto unfold = [](double x, int& nClass, double& nEsp) {
    nClass = 0;
    nEsp = x;
    if (std::isfinite(x) && x >= 10000 && x < 1e9) {
      nClass = static_cast<int>(Rounding::HalfEven(x)) / 10000;
      nEsp = x - nClass * 10000.0;
    }
  };
  unfold(in.Real(), v.v_highEffFilterSupply, v.v_designSupplyESP);
  unfold(in.Real(), v.v_highEffFilterExhaust, v.v_designExhaustESP);
  ReadMode(in, v.v_coolingData);
  ReadMode(in, v.v_heatingData);
  data.v_intfV1 = {};
  data.v_options.clear();
  for (int i = 0; i < CTHRXProjectIO::kLegacyOptionSlots; ++i) {
    const int nOldID = in.Int();
    if (nOldID == 0) break;
    data.v_options.append({CTHRXProjectIO::kLegacyOptionClass, nOldID, 1});
  }
  if (!in.Ok()) return false;  // cannot happen: the record is whole
  if (szWhy = CheckPlausible(v); !szWhy.isEmpty()) {
    szWhy = QStringLiteral("no project header, and not the older layout: ") + szWhy;
    return false;
  }
  return true;
}

}  // namespace

QString LTProjectError::Text() const {
  TDlgForm::Load();  // the program's messages, where no window has loaded them
  QString text = TBaseMsg::GetUnicodeString(msgNr, path);
  if (!reason.isEmpty()) text += QLatin1Char('\n') + reason;
  return text;
}

bool CTHRXProjectIO::Parse(const QByteArray& bytes, CTHRXProjectData& data, ProjectFormat& format, QString& szWhy) {
  CTHRXProjectData parsed;
  szWhy.clear();
  bool bOk;
  const QByteArray magic = bytes.left(kMagicSize);
  if (magic == kMagic002 || magic == kMagic001) {
    format = magic == kMagic002 ? ProjectFormat::kVen002 : ProjectFormat::kVen001;
    bOk = ParseCurrent(bytes, parsed, szWhy);
  } else {
    format = ProjectFormat::kLegacy;
    bOk = ParseLegacy(bytes, parsed, szWhy);
  }
  if (!bOk) {
    if (szWhy.isEmpty()) szWhy = QStringLiteral("the file ends early");
    return false;
  }
  data = std::move(parsed);
  return true;
}

void CTHRXProjectIO::ResolveOptions(CTHRXProjectData& data, ProjectFormat format,
                                    const QList<LTOptionIdentity>& catalogue) {
  QList<CTHRXProjectSelOption> kept;
  for (const CTHRXProjectSelOption& entry : data.v_options) {
    for (const LTOptionIdentity& option : catalogue) {
      if (!Names(entry, format, option)) continue;
      kept.append({option.clsID, option.objID, entry.v_nbSelected});
      break;
    }
  }
  data.v_options = std::move(kept);
}

bool CTHRXProjectIO::Names(const CTHRXProjectSelOption& entry, ProjectFormat format, const LTOptionIdentity& option) {
  if (format == ProjectFormat::kVen002)
    return option.clsID == entry.v_optionClsID && option.objID == entry.v_optionObjID;
  return option.oldClsID == entry.v_optionClsID && option.oldObjID == entry.v_optionObjID;
}

QByteArray CTHRXProjectIO::Serialize(const CTHRXProjectData& data) {
  QByteArray out;
  out.reserve(kHeaderSize + kEntrySize * data.v_options.size());
  out.append(kMagic002, kMagicSize);
  const CTHRXProjectDataIntfV0& v = data.v_intfV0;
  for (int n : {v.v_hrxClsID, v.v_hrxObjID, v.v_family, v.v_supplySpeedId, v.v_exhaustSpeedId}) PutInt(out, n);
  for (double x : {v.v_altitude, v.v_airflowPerPerson, v.v_roomSurface, v.v_areaPerPerson, v.v_nrOfPersons,
                   v.v_totalSupply, v.v_totalExhaust, v.v_designSupplyESP, v.v_designExhaustESP})
    PutReal(out, x);
  PutInt(out, v.v_highEffFilterSupply);
  PutInt(out, v.v_highEffFilterExhaust);
  WriteMode(out, v.v_coolingData);
  WriteMode(out, v.v_heatingData);
  PutInt(out, data.v_intfV1.v_plenumSelected);
  out.append(static_cast<char>(data.v_intfV1.v_upsideDown ? 1 : 0));
  PutInt(out, static_cast<int>(data.v_options.size()));
  for (const CTHRXProjectSelOption& o : data.v_options) {
    PutInt(out, o.v_optionClsID);
    PutInt(out, o.v_optionObjID);
    PutInt(out, o.v_nbSelected);
  }
  if (data.v_sections.isEmpty()) return out;
  out.append(kMagicSections, sizeof kMagicSections - 1);
  for (const CTProjectSection& section : data.v_sections) {
    out.append(section.tag.leftJustified(kSectionTagSize, ' ', true));
    PutInt(out, int(section.payload.size()));
    out.append(section.payload);
  }
  return out;
}

bool CTHRXProjectIO::IsKnownSection(const QByteArray& tag) { return tag == kSoundSection || tag == kYearSection; }

const CTProjectSection* CTHRXProjectData::Section(const char* szTag) const {
  for (const CTProjectSection& section : v_sections)
    if (section.tag == szTag) return &section;
  return nullptr;
}

void CTHRXProjectData::SetSection(const CTProjectSection& section) {
  for (CTProjectSection& held : v_sections)
    if (held.tag == section.tag) {
      held = section;
      return;
    }
  v_sections.append(section);
}

bool CTHRXProjectIO::ReadProjectFile(const QString& szFileName, CTHRXProjectData& data, ProjectFormat& format,
                                     LTProjectError& error) {
  QFile file(szFileName);
  if (!file.open(QIODevice::ReadOnly)) {
    error = {kMsgCannotOpen, szFileName, file.errorString()};
    return false;
  }
  // A project is a few hundred bytes; anything past a generous bound is
  // not one, and is not read into memory.
  constexpr qint64 kMaxProjectBytes = 16 * 1024 * 1024;
  if (file.size() > kMaxProjectBytes) {
    error = {kMsgNotAProject, szFileName, QStringLiteral("the file is far larger than any project")};
    return false;
  }
  const QByteArray bytes = file.read(kMaxProjectBytes);
  if (file.error() != QFileDevice::NoError) {
    error = {kMsgNotAProject, szFileName, file.errorString()};
    return false;
  }
  QString why;
  if (!Parse(bytes, data, format, why)) {
    error = {kMsgNotAProject, szFileName, why};
    return false;
  }
  return true;
}

bool CTHRXProjectIO::ReadProjectData(const QString& szFileName, const QList<LTOptionIdentity>& catalogue,
                                     CTHRXProjectData& data, ProjectFormat& format, LTProjectError& error) {
  CTHRXProjectData parsed;
  if (!ReadProjectFile(szFileName, parsed, format, error)) return false;
  ResolveOptions(parsed, format, catalogue);
  data = std::move(parsed);
  return true;
}

bool CTHRXProjectIO::WriteProjectData(const QString& szFileName, const CTHRXProjectData& data, LTProjectError& error) {
  QSaveFile file(szFileName);
  if (!file.open(QIODevice::WriteOnly)) {
    error = {kMsgCannotCreate, szFileName, file.errorString()};
    return false;
  }
  const QByteArray bytes = Serialize(data);
  if (file.write(bytes) != bytes.size() || !file.commit()) {
    error = {kMsgCannotCreate, szFileName, file.errorString()};
    return false;
  }
  return true;
}

QString CTHRXProjectIO::FormatName(ProjectFormat format) {
  switch (format) {
    case ProjectFormat::kVen002: return QStringLiteral("VEN002");
    case ProjectFormat::kVen001: return QStringLiteral("VEN001");
    case ProjectFormat::kLegacy: return QStringLiteral("legacy");
  }
  return {};
}

// ------------------------------------------------------------ mapping

namespace {

constexpr double kNotGiven = Sentinel::kNotGiven;

CTHRXProjectModeData ModeToProject(const LTModeInputs& m, bool bCooling, int nFamily, const TAir& air,
                                   double nInletOptionKW) {
  const double discharge =
      m.dischargeGiven ? m.dischargeC
                       : CTInputFields::Spec(bCooling ? CTInputFields::kCoolDischarge : CTInputFields::kHeatDischarge).init;
  CTHRXProjectModeData d;
  d.v_indoorDBT = m.room.dryBulbC;
  d.v_indoorRH = m.room.RelativeHumidity(air);
  d.v_ambientDBT = m.outdoor.dryBulbC;
  d.v_ambientRH = m.outdoor.RelativeHumidity(air);
  d.v_discharge = discharge;
  switch (m.inletHeater) {
    case HeaterChoice::kCalculated: d.v_userInletHeater = kNotGiven; break;
    case HeaterChoice::kUserValue: d.v_userInletHeater = m.inletHeaterKW; break;
    case HeaterChoice::kOption: d.v_userInletHeater = nInletOptionKW > 0 ? nInletOptionKW : kNotGiven; break;
  }
  d.v_userSupplyHeater = m.supplyHeater == HeaterChoice::kUserValue ? m.supplyHeaterKW : kNotGiven;
  if (nFamily == 2)
    d.v_userSupplyTemp = discharge;
  else
    d.v_userSupplyTemp = m.supplyTempGiven ? m.supplyTempC : kNotGiven;
  return d;
}

// A heater of the user's size when the file gives one, else calculated.
void UserHeater(double nStoredKW, HeaterChoice& choice, double& nKW) {
  const bool given = nStoredKW > 0;
  choice = given ? HeaterChoice::kUserValue : HeaterChoice::kCalculated;
  nKW = given ? nStoredKW : 0;
}

void ModeFromProject(const CTHRXProjectModeData& d, bool bCooling, double nAltitudeM, LTModeInputs& m) {
  m.room = CTProjectMapping::StoredCondition(d.v_indoorDBT, d.v_indoorRH, nAltitudeM, true);
  m.outdoor = CTProjectMapping::StoredCondition(d.v_ambientDBT, d.v_ambientRH, nAltitudeM, false);
  // A discharge setting outside the mode's range was never one the field
  // could hold: the unit's own then applies.
  const LTInputField& discharge =
      CTInputFields::Spec(bCooling ? CTInputFields::kCoolDischarge : CTInputFields::kHeatDischarge);
  m.dischargeGiven = d.v_discharge >= discharge.min && d.v_discharge <= discharge.max;
  if (m.dischargeGiven) m.dischargeC = d.v_discharge;
  UserHeater(d.v_userInletHeater, m.inletHeater, m.inletHeaterKW);
  m.inletOptionID = 0;
  m.supplyTempGiven = d.v_userSupplyTemp > 0;
  if (m.supplyTempGiven) m.supplyTempC = d.v_userSupplyTemp;
  UserHeater(d.v_userSupplyHeater, m.supplyHeater, m.supplyHeaterKW);
}

}  // namespace

CTHRXProjectData CTProjectMapping::ToProject(const SelectionRequest& request, const LTProjectUnit& unit,
                                             double nCoolInletOptionKW, double nHeatInletOptionKW) {
  CTHRXProjectData data;
  CTHRXProjectDataIntfV0& v = data.v_intfV0;
  v.v_hrxClsID = unit.clsID;
  v.v_hrxObjID = unit.objID;
  v.v_family = request.family;
  v.v_supplySpeedId = unit.supplySpeedID;
  v.v_exhaustSpeedId = unit.exhaustSpeedID;
  v.v_altitude = request.altitudeM;
  v.v_airflowPerPerson = v.v_roomSurface = v.v_areaPerPerson = v.v_nrOfPersons = kNotGiven;
  if (request.basis == AirflowBasis::kTotals) {
    v.v_totalSupply = request.totalSupplyLs;
  } else {
    v.v_totalSupply = kNotGiven;
    v.v_airflowPerPerson = request.airflowPerPersonLs;
    if (request.basis == AirflowBasis::kByPersons) {
      v.v_nrOfPersons = request.persons;
    } else {
      v.v_areaPerPerson = request.areaPerPersonM2;
      v.v_roomSurface = request.roomSurfaceM2;
    }
  }
  v.v_totalExhaust = request.exhaustGiven ? request.totalExhaustLs : kNotGiven;
  v.v_designSupplyESP = request.supplyEspPa;
  v.v_designExhaustESP = request.exhaustEspPa;
  v.v_highEffFilterSupply = request.supplyFilter;
  v.v_highEffFilterExhaust = request.exhaustFilter;
  const TAir air(request.altitudeM);
  v.v_coolingData = ModeToProject(request.cooling, true, request.family, air, nCoolInletOptionKW);
  v.v_heatingData = ModeToProject(request.heating, false, request.family, air, nHeatInletOptionKW);
  data.v_intfV1.v_plenumSelected = static_cast<int>(request.plenum);
  data.v_intfV1.v_upsideDown = request.upsideDown;
  data.v_options = unit.options;
  for (CTHRXProjectSelOption& o : data.v_options) o.v_nbSelected = 1;
  QByteArray sound;
  PutReal(sound, request.soundDistanceM);
  PutReal(sound, request.roomConstantM2);
  data.SetSection({CTHRXProjectIO::kSoundSection, sound});
  QByteArray year;
  for (const QString& text : {request.annual.climate, request.annual.schedule.Text(), request.annual.prices.Text()}) {
    const QByteArray utf8 = text.toUtf8();
    PutInt(year, int(utf8.size()));
    year.append(utf8);
  }
  data.SetSection({CTHRXProjectIO::kYearSection, year});
  return data;
}

SelectionRequest CTProjectMapping::ToRequest(const CTHRXProjectData& data, const SelectionRequest& base) {
  SelectionRequest r = base;
  const CTHRXProjectDataIntfV0& v = data.v_intfV0;
  if (v.v_totalSupply > 0) {
    r.basis = AirflowBasis::kTotals;
  } else {
    if (r.basis == AirflowBasis::kTotals) r.basis = AirflowBasis::kByArea;
    if (v.v_areaPerPerson >= 0) r.basis = AirflowBasis::kByArea;
    if (v.v_nrOfPersons >= 0) r.basis = AirflowBasis::kByPersons;
  }
  r.exhaustGiven = v.v_totalExhaust >= 0;
  const auto set = [](double& field, double x) {
    if (Sentinel::IsGiven(x)) field = x;
  };
  set(r.airflowPerPersonLs, v.v_airflowPerPerson);
  set(r.roomSurfaceM2, v.v_roomSurface);
  set(r.areaPerPersonM2, v.v_areaPerPerson);
  set(r.persons, v.v_nrOfPersons);
  set(r.totalSupplyLs, v.v_totalSupply);
  set(r.totalExhaustLs, v.v_totalExhaust);
  r.upsideDown = data.v_intfV1.v_upsideDown;
  switch (data.v_intfV1.v_plenumSelected) {
    case 1: r.plenum = PlenumArrangement::kOutdoorExhaust; break;
    case 2: r.plenum = PlenumArrangement::kAll; break;
    default: r.plenum = PlenumArrangement::kNone; break;
  }
  r.family = v.v_family;
  // Bounded as its field bounds a typed value: the window's moist air and
  // the run then work at the same site.
  const LTInputField& altitude = CTInputFields::Spec(CTInputFields::kAltitude);
  r.altitudeM = std::clamp(v.v_altitude, altitude.min, altitude.max);
  r.supplyFilter = v.v_highEffFilterSupply;
  r.supplyEspPa = v.v_designSupplyESP;
  r.exhaustFilter = v.v_highEffFilterExhaust;
  r.exhaustEspPa = v.v_designExhaustESP;
  ModeFromProject(v.v_coolingData, true, r.altitudeM, r.cooling);
  ModeFromProject(v.v_heatingData, false, r.altitudeM, r.heating);
  // The room of the sound pressure; a file without it keeps base's.
  if (const CTProjectSection* sound = data.Section(CTHRXProjectIO::kSoundSection)) {
    ByteReader in(sound->payload);
    const double distance = in.Real(), roomConstant = in.Real();
    if (in.Ok()) {
      const auto bounded = [](double& field, double x, CTInputFields::Field f) {
        const LTInputField& spec = CTInputFields::Spec(f);
        if (std::isfinite(x)) field = std::clamp(x, spec.min, spec.max);
      };
      bounded(r.soundDistanceM, distance, CTInputFields::kSoundDistance);
      bounded(r.roomConstantM2, roomConstant, CTInputFields::kRoomConstant);
    }
  }
  // The year's inputs; a text that does not read keeps base's.
  if (const CTProjectSection* year = data.Section(CTHRXProjectIO::kYearSection)) {
    ByteReader in(year->payload);
    QStringList texts;
    for (int i = 0; i < 3 && in.Ok(); ++i) {
      const int length = in.Int();
      const QByteArray utf8 = in.Bytes(length);
      if (in.Ok()) texts << QString::fromUtf8(utf8);
    }
    if (texts.size() == 3) {
      QString why;
      if (!texts[0].isEmpty()) r.annual.climate = texts[0];
      LTSchedule::Parse(texts[1], r.annual.schedule, why);
      LTPrices::Parse(texts[2], r.annual.prices, why);
    }
  }
  r.candidate = 0;
  return r;
}

LTAirCondition CTProjectMapping::StoredCondition(double nDryBulbC, double nRelHumidity, double nAltitudeM, bool bRoom) {
  // The file keeps a relative humidity whichever way it was typed; the way
  // is read back from the value. The humidity field holds whole percent; the
  // wet-bulb field tenths of a degree; the command line any precision. Below
  // 0 % there is no air: the driest is taken.
  const LTInputField& rh = CTInputFields::Spec(CTInputFields::kRelativeHumidity);
  const bool inRange = nRelHumidity >= rh.min && nRelHumidity <= rh.max;
  const LTAirCondition asTyped{nDryBulbC, HumidityMode::kRelativeHumidity, nRelHumidity};
  if (inRange && std::fabs(nRelHumidity - Rounding::HalfEven(nRelHumidity)) < 1e-9) return asTyped;

  const TAir air(nAltitudeM);
  const double wb = air.ConvertDBRH2WB(nDryBulbC, std::clamp(nRelHumidity, 0.0, rh.max));
  const CTInputFields::Field wetBulbField = bRoom ? CTInputFields::kRoomWetBulb : CTInputFields::kOutdoorWetBulb;
  const LTAirCondition asWetBulb{nDryBulbC, HumidityMode::kWetBulb, CTInputFields::Stored(wetBulbField, wb)};
  // A wet bulb in the field's tenths came from that field; the wet-bulb
  // search itself is good to about 2e-4 K.
  constexpr double kWetBulbSlackK = 1e-3;
  if (std::fabs(wb - asWetBulb.humidity) < kWetBulbSlackK) return asWetBulb;
  // Typed to any precision: kept exactly where the humidity field's range
  // holds it, else only the wet-bulb field can show it.
  return inRange ? asTyped : asWetBulb;
}

LTProjectUnit CTProjectMapping::Unit(const CTHRXProjectData& data) {
  const CTHRXProjectDataIntfV0& v = data.v_intfV0;
  return {v.v_hrxClsID, v.v_hrxObjID, v.v_supplySpeedId, v.v_exhaustSpeedId, data.v_options};
}
