#include "selection/CatalogueSession.h"

#include "catalogue/ClHRXDocumentation.h"
#include "catalogue/ClHRXSpType.h"
#include "catalogue/ClTrivaneDeviceOption.h"
#include "catalogue/RecordCast.h"
#include "psychro/Rounding.h"
#include "psychro/SI_Units.h"
#include "recdb/ClDdbVersionInfo.h"
#include "recdb/DbException.h"
#include "recdb/ElemDbObject.h"
#include "recdb/MemDB.h"
#include "resources/EmbeddedData.h"

#include <cmath>

CTCatalogueSession::CTCatalogueSession() = default;

CTCatalogueSession::~CTCatalogueSession() {
  v_units.ClearAndDestroy();
  v_documentations.reset();
  v_options.reset();
  if (v_factory && CTDbObject::GetDefaultFactory() == v_factory.get()) CTDbObject::SetDefaultFactory(nullptr);
}

bool CTCatalogueSession::OpenEmbedded(AutoCorrect nAutoCorrect, QString& szError,
                                      const BeforeConnect& fnBeforeConnect) {
  EmbeddedData::Ensure();
  CTResDbEngine::RegisterEngine();
  return Open(CTResDbEngine::ClassName(), QString(), nAutoCorrect, szError, fnBeforeConnect);
}

bool CTCatalogueSession::OpenFile(const QString& szPath, AutoCorrect nAutoCorrect, QString& szError) {
  CTMemDbEngine::RegisterEngine();
  return Open(CTMemDbEngine::ClassName(), szPath, nAutoCorrect, szError, {});
}

namespace {
CTUnicodeGlossary*& CatalogueGlossary() {
  static CTUnicodeGlossary* glossary = nullptr;
  return glossary;
}
}  // namespace

void CTCatalogueSession::SetCatalogueGlossary(CTUnicodeGlossary* pGlossary) { CatalogueGlossary() = pGlossary; }

bool CTCatalogueSession::Open(const QString& szEngine, const QString& szPath, AutoCorrect nAutoCorrect,
                              QString& szError, const BeforeConnect& fnBeforeConnect) {
  v_units.ClearAndDestroy();
  v_ranges.clear();
  v_documentations.reset();
  v_options.reset();
  if (v_factory && CTDbObject::GetDefaultFactory() == v_factory.get()) CTDbObject::SetDefaultFactory(nullptr);
  CTMemDbEngine::UseCompression(true);
  CTMemDbEngine::SetCompressionSignature(CTFactory::kCompressionSignature);
  CTMemDbEngine::SetAutoCorrect(nAutoCorrect == AutoCorrect::kOn);
  CTElemDbObjectMap::SetTableSize(CTFactory::kRowMapCapacity);
  v_factory = std::make_unique<CTFactory>();
  CTDbObject::SetDefaultFactory(v_factory.get());
  v_factory->SetRequiredEngineType(CTFactory::kDeviceDatabase, szEngine);
  if (!szPath.isEmpty()) v_factory->SetDatabaseName(CTFactory::kDeviceDatabase, szPath);
  v_factory->SetReadOnly(CTFactory::kDeviceDatabase, true);
  v_factory->SetGlossary(CTFactory::kDeviceDatabase, CatalogueGlossary());
  if (fnBeforeConnect && !fnBeforeConnect(*v_factory)) {
    szError = QStringLiteral("the catalogue was not opened");
    return false;
  }
  try {
    if (!v_factory->Connect()) {
      szError = szPath.isEmpty() ? QStringLiteral("the embedded catalogue does not load")
                                 : QStringLiteral("the catalogue %1 does not load").arg(szPath);
      return false;
    }
    v_units = RecordsAs<Cls_HRX>(CTDbObject::GetAllRecords(Cls_HRX::kClassID, false, v_factory.get()));
  } catch (const CTDbException& e) {
    szError = e.Message();
    return false;
  }
  v_units.Sort(Cls_HRX::CompareHRXS);
  return true;
}

QString CTCatalogueSession::RequiredStructureVersion() {
  EmbeddedData::Ensure();
  CTResDbEngine::RegisterEngine();
  CTFactory reference;
  reference.SetRequiredEngineType(CTFactory::kDeviceDatabase, CTResDbEngine::ClassName());
  reference.SetLogicalName(CTFactory::kDeviceDatabase, QStringLiteral("Device_Database_Ref"));
  reference.SetReadOnly(CTFactory::kDeviceDatabase, true);
  try {
    if (!reference.Connect()) return QString();
    const std::unique_ptr<Cls_DdbVersionInfo> row = Cls_DdbVersionInfo::GetVersionRecord(&reference, false);
    return row ? row->GetDbVersion() : QString();
  } catch (const CTDbException&) {
    return QString();
  }
}

bool CTCatalogueSession::CheckStructureVersion(bool bFlagErrors) const {
  return IsOpen() && Cls_DdbVersionInfo::CheckVersion(v_factory.get(), RequiredStructureVersion(), bFlagErrors);
}

QString CTCatalogueSession::DataVersion() const {
  return IsOpen() ? Cls_DdbVersionInfo::GetNorvaneVersion(v_factory.get()) : QString();
}

const ObjectList<Cls_HRXDocumentation>& CTCatalogueSession::Documentations() const {
  if (!v_documentations)
    v_documentations = std::make_unique<ObjectList<Cls_HRXDocumentation>>(RecordsAs<Cls_HRXDocumentation>(
        CTDbObject::GetAllRecords(Cls_HRXDocumentation::kClassID, false, v_factory.get())));
  return *v_documentations;
}

const ObjectList<Cls_TrivaneDeviceOption>& CTCatalogueSession::Options() const {
  if (!v_options)
    v_options = std::make_unique<ObjectList<Cls_TrivaneDeviceOption>>(RecordsAs<Cls_TrivaneDeviceOption>(
        CTDbObject::GetAllRecords(Cls_TrivaneDeviceOption::kClassID, false, v_factory.get())));
  return *v_options;
}

QList<Cls_HRX::LTFamilyItem> CTCatalogueSession::Families() const {
  quint16 present = 0;
  for (const Cls_HRX* unit : v_units)
    if (unit->GetType() >= 0 && unit->GetType() <= Cls_HRX::kMaxFamily) present |= quint16(1u << unit->GetType());
  QList<Cls_HRX::LTFamilyItem> families;
  Cls_HRX::FillFamily(present, families);
  return families;
}

ObjectList<Cls_HRX> CTCatalogueSession::UnitsOfFamily(int nFamily) const {
  ObjectList<Cls_HRX> units(false);
  for (Cls_HRX* unit : v_units)
    if (unit->GetType() == nFamily) units.Add(unit);
  return units;
}

ObjectList<Cls_HRX> CTCatalogueSession::UnitsOfFamilyNamed(const QString& szName) const {
  ObjectList<Cls_HRX> units(false);
  for (Cls_HRX* unit : v_units)
    if (Cls_HRX::Family2Str(unit->GetType()).compare(szName, Qt::CaseInsensitive) == 0) units.Add(unit);
  return units;
}

const LTFamilyRanges& CTCatalogueSession::FamilyRanges(int nFamily) const {
  if (const auto it = v_ranges.find(nFamily); it != v_ranges.end()) return it->second;
  LTFamilyRanges& ranges = v_ranges[nFamily];
  const ObjectList<Cls_HRX> units = UnitsOfFamily(nFamily);
  if (units.IsEmpty()) return ranges;
  double minM3h = 0, maxM3h = 0, maxEsp = 0;
  Cls_HRX::GetRanges(units, minM3h, maxM3h, maxEsp);
  // Inwards to whole l/s, as the totals are held: rounding outwards would
  // ask for more than the largest unit moves.
  ranges.minAirflowLs = std::ceil(minM3h / UnitFactor::kM3hPerLs);
  ranges.maxAirflowLs = std::max(ranges.minAirflowLs, std::floor(maxM3h / UnitFactor::kM3hPerLs));
  ranges.maxEspPa = Rounding::HalfEven(maxEsp);
  for (const Cls_HRXSpType* type : Cls_HRX::AvailableSpeedTypes(units)) ranges.speedTypes.append({type->GetID(), type->GetName()});
  return ranges;
}

int CTCatalogueSession::FamilyNumber(const QString& szName) const {
  for (const Cls_HRX::LTFamilyItem& family : Families())
    if (family.name.compare(szName, Qt::CaseInsensitive) == 0) return family.family;
  return -1;
}
