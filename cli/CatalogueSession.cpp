#include "cli/CatalogueSession.h"

#include "catalogue/RecordCast.h"
#include "i18n/BaseMsgMan.h"
#include "recdb/DbException.h"
#include "recdb/MemDB.h"
#include "resources/EmbeddedData.h"

CTCatalogueSession::CTCatalogueSession() = default;

CTCatalogueSession::~CTCatalogueSession() {
  v_units.ClearAndDestroy();
  if (CTDbObject::GetDefaultFactory() == v_factory.get()) CTDbObject::SetDefaultFactory(nullptr);
}

bool CTCatalogueSession::Open(QString& szError) {
  EmbeddedData::Ensure();
  CTResDbEngine::RegisterEngine();
  CTMemDbEngine::UseCompression(true);
  CTMemDbEngine::SetCompressionSignature(QStringLiteral("K7R"));
  v_factory = std::make_unique<CTFactory>();
  v_factory->SetRequiredEngineType(CTFactory::kDeviceDatabase, CTResDbEngine::ClassName());
  v_factory->SetReadOnly(CTFactory::kDeviceDatabase, true);
  try {
    if (!v_factory->Connect()) {
      szError = QStringLiteral("the embedded catalogue does not load");
      return false;
    }
    CTDbObject::SetDefaultFactory(v_factory.get());
    v_units = RecordsAs<Cls_HRX>(CTDbObject::GetAllRecords(Cls_HRX::kClassID, false, v_factory.get()));
  } catch (const CTDbException& e) {
    szError = e.Message();
    return false;
  }
  for (int i = 0; i < v_units.Count(); ++i)
    if (v_units.Item(i)->GetDeleted()) delete v_units.Extract(i--);
  v_units.Sort(Cls_HRX::CompareHRXS);
  return true;
}

QList<Cls_HRX::LTFamilyItem> CTCatalogueSession::Families() const {
  quint16 present = 0;
  for (const Cls_HRX* unit : v_units)
    if (unit->GetType() >= 0 && unit->GetType() <= Cls_HRX::kMaxFamily) present |= quint16(1u << unit->GetType());
  QList<Cls_HRX::LTFamilyItem> families;
  Cls_HRX::FillFamily(present, families);
  return families;
}

ObjectList<Cls_HRX> CTCatalogueSession::UnitsOfFamily(const QString& szName) const {
  ObjectList<Cls_HRX> units(false);
  for (Cls_HRX* unit : v_units)
    if (Cls_HRX::Family2Str(unit->GetType()).compare(szName, Qt::CaseInsensitive) == 0) units.Add(unit);
  return units;
}
