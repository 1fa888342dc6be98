#pragma once
// CTCatalogueSession: the device catalogue opened in one place for every
// caller (the window, aerolith-cli, the benchmarks and the tests). Opening
// registers the engines, reads the catalogue compressed behind
// CTFactory::kCompressionSignature, read-only, connects the factory and
// makes it the default record factory, then reads every ventilation unit
// (Cls_HRX records, deleted ones included, as the catalogue lists them) and
// sorts them smallest maximum airflow first.
//
// The engine's auto-correct mends rows with dangling references while
// loading; the program loads with it on, checks and tests with it off, so it
// is a choice of the caller.

#include "catalogue/ClHRX.h"
#include "catalogue/Factory.h"
#include "catalogue/Sentinels.h"
#include "recdb/ObjList.h"

#include <QList>
#include <QString>

#include <functional>
#include <map>
#include <memory>

struct LTSpeedTypeItem {
  int id;
  QString name;
};

// What bounds the inputs of one family.
struct LTFamilyRanges {
  double minAirflowLs = 1;     // rounded inwards to whole l/s
  double maxAirflowLs = Sentinel::kNoAirflowLimitLs;
  double maxEspPa = 350;       // rounded to whole Pa
  QList<LTSpeedTypeItem> speedTypes;  // in weight order, lowest first
};

class Cls_HRXDocumentation;
class Cls_TrivaneDeviceOption;

class CTUnicodeGlossary;

class CTCatalogueSession {
 public:
  enum class AutoCorrect { kOff, kOn };
  // Runs after the factory is set up and before it connects (the catalogue
  // glossary, the locale check); false stops the opening.
  using BeforeConnect = std::function<bool(CTFactory&)>;

  CTCatalogueSession();
  ~CTCatalogueSession();
  CTCatalogueSession(const CTCatalogueSession&) = delete;
  CTCatalogueSession& operator=(const CTCatalogueSession&) = delete;

  // The glossary that translates the catalogue's texts in every session
  // opened from now on (not owned; none: the catalogue's English). A
  // BeforeConnect step may set another.
  static void SetCatalogueGlossary(CTUnicodeGlossary* pGlossary);

  // The catalogue embedded in the program ("Device_Database").
  bool OpenEmbedded(AutoCorrect nAutoCorrect, QString& szError, const BeforeConnect& fnBeforeConnect = {});
  // A catalogue file in the engine's format, compressed or plain.
  bool OpenFile(const QString& szPath, AutoCorrect nAutoCorrect, QString& szError);
  bool IsOpen() const { return v_factory && v_factory->IsConnected(); }

  // The structure version the program requires, from the embedded reference
  // database ("Device_Database_Ref"); empty when it cannot be read.
  static QString RequiredStructureVersion();
  // Whether the catalogue has the required structure version; with
  // bFlagErrors a mismatch is shown as a message.
  bool CheckStructureVersion(bool bFlagErrors) const;
  // The catalogue's own version, as the caption shows it ("2026.12").
  QString DataVersion() const;

  CTFactory& Factory() const { return *v_factory; }
  // Every unit, smallest maximum airflow first (owned).
  const ObjectList<Cls_HRX>& Units() const { return v_units; }
  // Every unit documentation and every option record, read on first use
  // and kept (owned).
  const ObjectList<Cls_HRXDocumentation>& Documentations() const;
  const ObjectList<Cls_TrivaneDeviceOption>& Options() const;
  // The families present, each name once, in family order.
  QList<Cls_HRX::LTFamilyItem> Families() const;
  // The units of one family number, in the order of Units() (not owned).
  ObjectList<Cls_HRX> UnitsOfFamily(int nFamily) const;
  // The units whose family carries this name (any case); two family numbers
  // may share a name.
  ObjectList<Cls_HRX> UnitsOfFamilyNamed(const QString& szName) const;
  // What bounds the inputs of a family, worked out once per family (the
  // catalogue is read-only).
  const LTFamilyRanges& FamilyRanges(int nFamily) const;
  // The family number of a family name (any case), -1 when unknown.
  int FamilyNumber(const QString& szName) const;

 private:
  bool Open(const QString& szEngine, const QString& szPath, AutoCorrect nAutoCorrect, QString& szError,
            const BeforeConnect& fnBeforeConnect);

  std::unique_ptr<CTFactory> v_factory;
  ObjectList<Cls_HRX> v_units{true};
  mutable std::map<int, LTFamilyRanges> v_ranges;
  mutable std::unique_ptr<ObjectList<Cls_HRXDocumentation>> v_documentations;
  mutable std::unique_ptr<ObjectList<Cls_TrivaneDeviceOption>> v_options;
};
