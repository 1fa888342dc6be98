#pragma once
// Project files (".ven"): one selection's inputs, the unit chosen with its
// speeds, and the options in use. Results are never stored; opening a
// project restores the inputs and runs the selection again.
//
// Three layouts are read, one is written:
//   "VEN002"  magic, 228-byte input block, plenum, upside-down, N, N option
//             entries of 12 bytes (243 + 12 N bytes in all), then, where the
//             project has inputs beyond these, "VENX" and sections: a tag of
//             four letters, a length (32 bits) and that many bytes. Builds
//             that came before the sections read the file up to the options
//             and stop there; a section this build does not know is kept and
//             written back as it was;
//   "VEN001"  the same, with the options' former ids (translated on reading);
//   legacy    no magic: a 256-byte record with the filter class folded into
//             the ESP (class x 10000 + Pa) and up to ten former option ids.
// Every field is read and written one by one, little-endian; nothing is
// copied as a struct. Every value read is checked before it is used.

#include "selection/SelectionRequest.h"
#include "selection/SelectionResult.h"

#include <QByteArray>
#include <QList>
#include <QString>

class CTCatalogueSession;
class Cls_HRX;

// Inputs of one mode as the file holds them. Humidities are relative (%);
// "not given" is Sentinel::kNotGiven.
struct CTHRXProjectModeData {
  double v_indoorDBT = 0;
  double v_indoorRH = 0;
  double v_ambientDBT = 0;
  double v_ambientRH = 0;
  double v_discharge = 0;
  double v_userInletHeater = 0;
  double v_userSupplyHeater = 0;
  double v_userSupplyTemp = 0;
};

struct CTHRXProjectDataIntfV0 {
  int v_hrxClsID = 0;
  int v_hrxObjID = 0;
  int v_family = 0;
  int v_supplySpeedId = 0;
  int v_exhaustSpeedId = 0;
  double v_altitude = 0;
  double v_airflowPerPerson = 0;
  double v_roomSurface = 0;
  double v_areaPerPerson = 0;
  double v_nrOfPersons = 0;
  double v_totalSupply = 0;
  double v_totalExhaust = 0;
  double v_designSupplyESP = 0;
  double v_designExhaustESP = 0;
  int v_highEffFilterSupply = 0;
  int v_highEffFilterExhaust = 0;
  CTHRXProjectModeData v_coolingData;
  CTHRXProjectModeData v_heatingData;
};

struct CTHRXProjectDataIntfV1 {
  int v_plenumSelected = 0;  // 0 none, 1 outdoor and exhaust, 2 all
  bool v_upsideDown = false;
};

struct CTHRXProjectSelOption {
  int v_optionClsID = 0;
  int v_optionObjID = 0;
  int v_nbSelected = 1;
};

// One section after the option entries.
struct CTProjectSection {
  QByteArray tag;  // four letters
  QByteArray payload;
  bool operator==(const CTProjectSection&) const = default;
};

struct CTHRXProjectData {
  CTHRXProjectDataIntfV0 v_intfV0;
  CTHRXProjectDataIntfV1 v_intfV1;
  QList<CTHRXProjectSelOption> v_options;
  QList<CTProjectSection> v_sections;

  // The section of a tag; none when the file has none.
  const CTProjectSection* Section(const char* szTag) const;
  // Puts a section in place of the one of its tag, or after the others.
  void SetSection(const CTProjectSection& section);
};

enum class ProjectFormat { kVen002, kVen001, kLegacy };

// An option record of the catalogue as project files name it: by its
// current class number and id, and by the ones it had before.
struct LTOptionIdentity {
  int clsID = 0;
  int objID = 0;
  int oldClsID = 0;
  int oldObjID = 0;
};

// Why a file could not be read or written: the message number (-2 cannot
// open, -3 cannot create, 42 not a project file) with the path, and what
// went wrong in a few words.
struct LTProjectError {
  int msgNr = 0;
  QString path;
  QString reason;
  // The message in words, the reason on a line of its own.
  QString Text() const;
};

class CTHRXProjectIO {
 public:
  static constexpr int kMagicSize = 6;
  static constexpr int kBlockSize = 228;      // CTHRXProjectDataIntfV0
  static constexpr int kHeaderSize = 243;     // magic, block, plenum, upside-down, N
  static constexpr int kEntrySize = 12;
  static constexpr int kLegacyRecordSize = 256;
  static constexpr int kLegacyOptionSlots = 10;
  // The class numbers of the unit and option records in legacy files.
  static constexpr int kLegacyUnitClass = 144;
  static constexpr int kLegacyOptionClass = 146;
  static constexpr int kMaxFamily = 15;
  static constexpr int kMaxFilterClass = 3;
  static constexpr int kMaxPlenumArrangement = 2;  // CTHRXProjectDataIntfV1::v_plenumSelected
  static constexpr int kSectionTagSize = 4;
  // "SND1": the room of the sound pressure, distance (m) and room constant
  // (m2), two reals.
  static constexpr char kSoundSection[] = "SND1";
  // "YEAR": the year's inputs, three texts (a 32-bit length, UTF-8): the
  // climate, the schedule and the prices as LTSchedule / LTPrices write them.
  static constexpr char kYearSection[] = "YEAR";
  // Whether this build reads the section of a tag.
  static bool IsKnownSection(const QByteArray& tag);

  // Decodes a file's bytes. The option entries keep the ids as the file
  // holds them (see ResolveOptions). False, with the reason, when the bytes
  // are not a project file or hold a value no input can take (not a number,
  // an unknown family, filter class or plenum arrangement). A value merely
  // outside its field's range is read as it stands: the request bounds it
  // as its field bounds a typed value.
  static bool Parse(const QByteArray& bytes, CTHRXProjectData& data, ProjectFormat& format, QString& szWhy);
  // The option entries that name a catalogue option, with its current class
  // number and id, in file order; the others are dropped.
  static void ResolveOptions(CTHRXProjectData& data, ProjectFormat format, const QList<LTOptionIdentity>& catalogue);
  // Whether a file's option entry names this catalogue option: by its
  // current ids in "VEN002", by its former ones in the older layouts.
  static bool Names(const CTHRXProjectSelOption& entry, ProjectFormat format, const LTOptionIdentity& option);
  // The "VEN002" bytes of a project.
  static QByteArray Serialize(const CTHRXProjectData& data);

  // Reads and decodes a file; the option entries as the file holds them.
  static bool ReadProjectFile(const QString& szFileName, CTHRXProjectData& data, ProjectFormat& format,
                              LTProjectError& error);
  // Reads and decodes a file and resolves its options.
  static bool ReadProjectData(const QString& szFileName, const QList<LTOptionIdentity>& catalogue,
                              CTHRXProjectData& data, ProjectFormat& format, LTProjectError& error);
  // Writes "VEN002" beside the file and renames it into place: a failed
  // write leaves an existing file as it was.
  static bool WriteProjectData(const QString& szFileName, const CTHRXProjectData& data, LTProjectError& error);

  static QString FormatName(ProjectFormat format);
};

// The unit a project names, with the options used on it.
struct LTProjectUnit {
  int clsID = 0;
  int objID = 0;
  int supplySpeedID = 0;
  int exhaustSpeedID = 0;
  QList<CTHRXProjectSelOption> options;
};

// Between a request and a project's fields.
class CTProjectMapping {
 public:
  // The file's fields for a request and the unit chosen. A wet-bulb input is
  // stored as relative humidity; a heater option as its size (nInletOptionKW
  // per mode, the option itself is among the used options).
  static CTHRXProjectData ToProject(const SelectionRequest& request, const LTProjectUnit& unit,
                                    double nCoolInletOptionKW = 0, double nHeatInletOptionKW = 0);
  // The request a project stands for, starting from base (the inputs a file
  // leaves out keep base's values, as the window's fields keep theirs).
  // A stored humidity comes back the way it was typed (see StoredCondition).
  // Values outside their fields are bounded as the fields bound typed ones.
  static SelectionRequest ToRequest(const CTHRXProjectData& data, const SelectionRequest& base = {});
  static LTProjectUnit Unit(const CTHRXProjectData& data);
  // A stored state (dry bulb degC, relative humidity %) at a site of
  // nAltitudeM (bounded by the caller) as the condition that was typed: a whole percent of the humidity field's range as
  // relative humidity; the wet bulb it stands for at the site when that is
  // in the wet-bulb field's tenths; any other humidity of the field's range
  // as it stands (the command line takes any precision); below the range,
  // the wet bulb rounded as its field rounds.
  static LTAirCondition StoredCondition(double nDryBulbC, double nRelHumidity, double nAltitudeM, bool bRoom);

  // The options of a catalogue, as project files name them.
  static QList<LTOptionIdentity> OptionIdentities(const CTCatalogueSession& session);
  // A computed unit as a project names it: class, id, speeds, used options.
  static LTProjectUnit UnitOf(const Cls_HRX& unit);
  // The first candidate that is the stored unit at the stored speeds; -1
  // when none is.
  static int FindCandidate(const SelectionResult& result, const LTProjectUnit& unit);
  // The unit's option combinations that the project lists, in the file's
  // order (the used list's order when it was saved), each once, stored as
  // the unit's used options.
  static void RestoreOptions(Cls_HRX& unit, const LTProjectUnit& stored);
  // A mode's inlet heater from a project, on the unit the project opens
  // with. A heater option is stored as its size, the option itself among
  // the used options: a stored size that is the size of one of the unit's
  // heater options that the project lists is that option again; any other
  // size stays the user's own. The window and the command line both open a
  // project's heaters through it.
  static void TakeHeaterOption(LTModeInputs& mode, Cls_HRX& unit, const LTProjectUnit& stored);
  // The file's fields for a request and its computed unit, with the options
  // used on the unit as they stand (refresh them first) and an inlet heater
  // option stored as its size.
  static CTHRXProjectData ProjectOf(const SelectionRequest& request, Cls_HRX& unit);
};
