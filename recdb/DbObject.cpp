#include "recdb/DbObject.h"

#include "i18n/BaseMsgMan.h"
#include "i18n/UnicodeGlossary.h"
#include "recdb/BaseFactory.h"
#include "recdb/DbLock.h"
#include "recdb/DbMessages.h"
#include "recdb/TableLink.h"

#include <QVariant>

#include <cmath>

namespace {

CTBaseFactory* g_defaultFactory = nullptr;

// Runs an engine operation whose failure the record operation swallows;
// answers whether it completed.
template <typename F>
bool Guarded(F&& fn) {
  try {
    fn();
    return true;
  } catch (...) {
    return false;
  }
}

// The engines of a factory, in database order.
std::vector<CTDbEngine*> EnginesOf(CTBaseFactory* pFactory) {
  std::vector<CTDbEngine*> engines;
  if (!pFactory) return engines;
  for (int i = 0; i < pFactory->DatabaseCount(); ++i)
    if (CTDbEngine* e = pFactory->GetEngine(i)) engines.push_back(e);
  return engines;
}

CTBaseFactory* FactoryOr(CTBaseFactory* pFactory) { return pFactory ? pFactory : CTDbObject::GetDefaultFactory(); }

void Append(ObjectList<CTDbObject>& to, ObjectList<CTDbObject>&& from) {
  from.SetOwnsItems(false);
  to.AddObjects(from);
  from.Items().clear();
}

}  // namespace

// ---------------------------------------------------------------- life

template <typename Lock, typename F>
bool CTDbObject::EngineOp(F&& fnOp) {
  Lock lock;
  CTDbEngine* engine = Engine();
  return engine && Guarded([&] { fnOp(engine); });
}


CTDbObject::CTDbObject(int nClsID, int nObjID, CTBaseFactory* pFactory) {
  v_factory = FactoryOr(pFactory);
  if (!v_factory) CTDbException::RaiseExc(excDbStructure);
  v_tableInfo = v_factory->GetTableInfo(nClsID);
  if (!v_tableInfo) CTDbException::RaiseExc(excDbStructure);
  if (v_tableInfo->IsAbstract()) CTDbException::RaiseExc(excIsAbstract, v_tableInfo->TableName());
  if (nObjID <= 0) {
    v_values = std::make_unique<CTValueList>(&v_tableInfo->Fields(), false);
    v_status = kStatusNew;
    return;
  }
  v_values = std::make_unique<CTValueList>(&v_tableInfo->Fields(), true);
  SetID(nObjID);
  EngineOp<CTReadLock>([&](CTDbEngine* e) { e->ReadRecord(this); });
  v_status = kStatusStored;
}

CTDbObject::~CTDbObject() { v_status = kStatusDestroyed; }

void CTDbObject::SetDefaultFactory(CTBaseFactory* pFactory) { g_defaultFactory = pFactory; }
CTBaseFactory* CTDbObject::GetDefaultFactory() { return g_defaultFactory; }

void CTDbObject::CopyData(const CTDbObject& pFromObj, bool bAlsoRelations, int nStartIx) {
  v_values->CopyValues(pFromObj.Values(), nStartIx, bAlsoRelations, false);
}

void CTDbObject::RequireStored() const {
  if (!IsStored()) CTDbException::RaiseExc(excRecNotInDB);
}

QString CTDbObject::GetTranslatedStringValue(int nIx) const {
  if (nIx < 0 || nIx >= v_tableInfo->FieldCount()) throw std::out_of_range("field index outside the table");
  QString text = v_values->GetUnicodeStringValue(nIx);
  const CTDbEngine* engine = Engine();
  if (text.isEmpty() || !engine || !engine->GetGlossary()) return text;
  QString translation;
  if (engine->GetGlossary()->FindTranslationFor(text, false, translation) && !translation.isEmpty())
    return translation;
  return text;
}

bool CTDbObject::GetBinaryValue(int nIx, QIODevice* pStream) {
  RequireStored();
  bool bMoved = false;
  EngineOp<CTReadLock>([&](CTDbEngine* e) { bMoved = e->GetBinaryValue(this, nIx, pStream); });
  return bMoved;
}

void CTDbObject::SetBinaryValue(int nIx, QIODevice* pStream) {
  RequireStored();
  EngineOp<CTWriteLock>([&](CTDbEngine* e) { e->SetBinaryValue(this, nIx, pStream); });
}

// ---------------------------------------------------------------- persistence
//
// The status follows what the engine really did: a record whose insert or
// removal failed keeps its old status, so callers can tell.

void CTDbObject::Update() {
  RequireStored();
  EngineOp<CTWriteLock>([&](CTDbEngine* e) { e->UpdateRecord(this); });
}

void CTDbObject::Read() {
  if (EngineOp<CTReadLock>([&](CTDbEngine* e) { e->ReadRecord(this); })) v_status = kStatusStored;
}

void CTDbObject::Insert() {
  if (IsStored()) CTDbException::RaiseExc(excRecAlreadyInDB);
  if (EngineOp<CTWriteLock>([&](CTDbEngine* e) { e->InsertRecord(this); })) v_status = kStatusStored;
}

void CTDbObject::InsertTemp() {
  EngineOp<CTWriteLock>([&](CTDbEngine* e) { e->InsertTempRecord(this); });
}

void CTDbObject::InsertWithID(int nID) {
  CTDbEngine* engine = Engine();
  if (!engine || !engine->HasCapability(dbcInsertWithID))
    CTDbException::RaiseExc(excNotCapable, CTDbEngine::CapabilityString(dbcInsertWithID));
  SetID(nID);
  Insert();
}

void CTDbObject::Remove() {
  if (v_status == kStatusRemoved) return;
  RequireStored();
  if (EngineOp<CTWriteLock>([&](CTDbEngine* e) { e->RemoveRecord(this); })) v_status = kStatusRemoved;
}

// ---------------------------------------------------------------- relations

void CTDbObject::SetRelationByIx(int nFieldIx, const CTDbObject* pRelObj) {
  if (!pRelObj) {
    DropRelationByIx(nFieldIx);
    return;
  }
  if (!pRelObj->IsStored()) CTDbException::RaiseExc(excRecNotInDB);
  v_values->SetIntegerValue(nFieldIx, pRelObj->TableIndex());
  v_values->SetIntegerValue(nFieldIx + 1, pRelObj->GetID());
  const CTFieldInfo* field = v_tableInfo->GetFieldInfo(nFieldIx);
  if (field && field->GetRefTo() && field->GetRefTo()->v_isOrdered) {
    int nMax = -1;
    {
      CTReadLock lock;
      for (CTDbEngine* engine : EnginesOf(v_factory))
        Guarded([&] { nMax = std::max(nMax, engine->GetMaxOrderNumber(const_cast<CTDbObject*>(pRelObj), TableIndex(), nFieldIx)); });
    }
    v_values->SetIntegerValue(nFieldIx + 2, nMax + 1);
  }
  if (!IsStored()) return;  // a new record stores the reference on Insert
  EngineOp<CTWriteLock>([&](CTDbEngine* e) { e->UpdateRelation(this, nFieldIx, pRelObj->GetID(), pRelObj->TableIndex()); });
}

void CTDbObject::DropRelationByIx(int nFieldIx) {
  v_values->SetIntegerValue(nFieldIx, 0);
  v_values->SetIntegerValue(nFieldIx + 1, 0);
  if (!IsStored()) return;
  EngineOp<CTWriteLock>([&](CTDbEngine* e) { e->UpdateRelation(this, nFieldIx, 0, 0); });
}

std::unique_ptr<CTDbObject> CTDbObject::GetRelationByIx(int nFieldIx) {
  RequireStored();
  std::unique_ptr<CTDbObject> related;
  EngineOp<CTReadLock>([&](CTDbEngine* e) { related = e->GetRelatedRecord(this, nFieldIx); });
  return related;
}

ObjectList<CTDbObject> CTDbObject::GetRelatedByIx(int nClsID, int nFieldIx, const QStringList& pSortKeys,
                                                  const CTRecordFilter& pFilter) {
  RequireStored();
  QStringList sortKeys = pSortKeys;
  if (sortKeys.isEmpty()) {
    const CTTableInfo* detail = v_factory->GetTableInfo(nClsID);
    const CTFieldInfo* field = detail ? detail->GetFieldInfo(nFieldIx) : nullptr;
    const CTFieldInfo* order = detail ? detail->GetFieldInfo(nFieldIx + 2) : nullptr;
    if (field && field->GetRefTo() && field->GetRefTo()->v_isOrdered && order) sortKeys << order->GetName();
  }
  ObjectList<CTDbObject> result(true);
  int contributors = 0;
  bool bMaybeUnordered = false;
  {
    CTReadLock lock;
    Guarded([&] {
      for (CTDbEngine* engine : EnginesOf(v_factory)) {
        bool bUnsorted = false;
        ObjectList<CTDbObject> part =
            engine->GetReferringRecords(this, nClsID, bUnsorted, false, pFilter, sortKeys, nFieldIx);
        if (part.IsEmpty()) continue;
        ++contributors;
        if (bUnsorted || !engine->HasCapability(dbcSort)) bMaybeUnordered = true;
        Append(result, std::move(part));
      }
    });
  }
  if (!sortKeys.isEmpty() && (contributors > 1 || bMaybeUnordered)) SortByFields(result, sortKeys);
  return result;
}

std::unique_ptr<CTDbObject> CTDbObject::GetUniqueRelatedByIx(int nClsID, int nFieldIx) {
  RequireStored();
  CTReadLock lock;
  std::unique_ptr<CTDbObject> found;
  Guarded([&] {
    for (CTDbEngine* engine : EnginesOf(v_factory)) {
      bool bUnsorted = false;
      ObjectList<CTDbObject> part = engine->GetReferringRecords(this, nClsID, bUnsorted, true, {}, {}, nFieldIx);
      if (part.IsEmpty()) continue;
      found.reset(part.Extract(0));
      return;
    }
  });
  return found;
}

bool CTDbObject::HasRelations(const std::vector<int>& arExcludeClsIDs) {
  if (!IsStored()) return false;
  for (const CTTableInfo* table : v_factory->Tables()) {
    if (!table || table->IsAbstract()) continue;
    bool bExcluded = false;
    for (int cls : arExcludeClsIDs) bExcluded = bExcluded || table->IsOfClass(cls);
    if (bExcluded) continue;
    for (int ix = 1; ix < table->FieldCount(); ++ix) {
      const CTFieldInfo* field = table->GetFieldInfo(ix);
      const CTTableLink* link = field ? field->GetRefTo() : nullptr;
      if (!link || !link->v_fromTable || !IsOfClass(link->v_fromTable->GetTableIndex())) continue;
      if (!GetRelatedByIx(table->GetTableIndex(), ix).IsEmpty()) return true;
    }
  }
  return false;
}

// ---------------------------------------------------------------- class-level queries

namespace {

// The tables whose records a class-level query of nClsID visits, in
// class-id order: the class's own table, or with bAlsoDerived every table of
// that class; abstract tables and tables without engine hold none.
std::vector<CTTableInfo*> QueriedTables(CTBaseFactory* pFactory, int nClsID, bool bAlsoDerived) {
  std::vector<CTTableInfo*> tables;
  if (!pFactory) return tables;
  for (CTTableInfo* table : pFactory->Tables()) {
    if (!table || table->IsAbstract() || !table->GetDbEngine()) continue;
    if (bAlsoDerived ? table->IsOfClass(nClsID) : table->GetTableIndex() == nClsID) tables.push_back(table);
  }
  return tables;
}

}  // namespace

ObjectList<CTDbObject> CTDbObject::GetAllRecords(int nClsID, bool bAlsoDerived, CTBaseFactory* pFactory,
                                                 const CTDbObjectProgressIndicator& pCallback) {
  ObjectList<CTDbObject> result(true);
  CTReadLock lock;
  Guarded([&] {
    for (CTTableInfo* table : QueriedTables(FactoryOr(pFactory), nClsID, bAlsoDerived))
      Append(result, table->GetDbEngine()->AllObjects(table->GetTableIndex(), pCallback));
  });
  return result;
}

int CTDbObject::CountAllRecords(int nClsID, bool bAlsoDerived, CTBaseFactory* pFactory) {
  int count = 0;
  CTReadLock lock;
  Guarded([&] {
    for (CTTableInfo* table : QueriedTables(FactoryOr(pFactory), nClsID, bAlsoDerived))
      count += table->GetDbEngine()->CountObjects(table->GetTableIndex());
  });
  return count;
}

std::unique_ptr<CTDbObject> CTDbObject::GetUniqueRecord(int nClsID, bool bMustExist, CTBaseFactory* pFactory) {
  ObjectList<CTDbObject> all = GetAllRecords(nClsID, false, pFactory);
  if (all.Count() == 1) return std::unique_ptr<CTDbObject>(all.Extract(0));
  all.ClearAndDestroy();
  if (bMustExist) CTDbException::RaiseExc(excRecNotFound);
  return nullptr;
}

void CTDbObject::PurgeTable(int nClsID, CTBaseFactory* pFactory) {
  CTBaseFactory* factory = FactoryOr(pFactory);
  CTTableInfo* table = factory ? factory->GetTableInfo(nClsID) : nullptr;
  if (!table || table->IsAbstract() || !table->GetDbEngine()) return;
  CTWriteLock lock;
  table->GetDbEngine()->PurgeTable(nClsID);
}

// ---------------------------------------------------------------- query by example

// Appends what every engine answers (the first exception ends the visit),
// then sorts by the order fields when some engine may have answered unsorted.
template <typename F>
ObjectList<CTDbObject> CTDbObject::CollectFromEngines(const QStringList& pOrderFields, F&& fnSelect) {
  ObjectList<CTDbObject> result(true);
  bool bMaybeUnordered = false;
  {
    CTReadLock lock;
    Guarded([&] {
      for (CTDbEngine* engine : EnginesOf(v_factory)) {
        bool bUnsorted = false;
        Append(result, fnSelect(engine, bUnsorted));
        if (bUnsorted || !engine->HasCapability(dbcSort)) bMaybeUnordered = true;
      }
    });
  }
  if (!pOrderFields.isEmpty() && bMaybeUnordered) SortByFields(result, pOrderFields);
  return result;
}

ObjectList<CTDbObject> CTDbObject::SelectByExample(const QStringList& pOrderFields,
                                                   const CTDbObjectProgressIndicator& pCallback) {
  return CollectFromEngines(pOrderFields, [&](CTDbEngine* e, bool& bUnsorted) {
    return e->SelectRecordsByExample(this, pOrderFields, pCallback, bUnsorted);
  });
}

ObjectList<CTDbObject> CTDbObject::SelectLikeExample(int nMaxItems, const QStringList& pOrderFields,
                                                     const CTDbObjectProgressIndicator& pCallback) {
  return CollectFromEngines(pOrderFields, [&](CTDbEngine* e, bool& bUnsorted) {
    return e->SelectRecordsLikeExample(this, nMaxItems, pCallback, bUnsorted, pOrderFields);
  });
}

int CTDbObject::CountByExample() {
  int count = 0;
  CTReadLock lock;
  Guarded([&] {
    for (CTDbEngine* engine : EnginesOf(v_factory)) count += engine->CountRecordsByExample(this);
  });
  return count;
}

void CTDbObject::RemoveByExample() {
  CTWriteLock lock;
  Guarded([&] {
    for (CTDbEngine* engine : EnginesOf(v_factory))
      if (!engine->IsReadOnly()) engine->RemoveRecordsByExample(this);
  });
}

// ---------------------------------------------------------------- names

bool CTDbObject::ChkName(QObject* pResource) {
  if (v_tableInfo->NameIndex() <= 0 || !v_tableInfo->NameRequired() || !GetName().isEmpty()) return true;
  ErrorRequired(pResource, CaptionForValue(pResource, QStringLiteral("Name")));
  return false;
}

QString CTDbObject::InventUniqueName() {
  const int nameIx = v_tableInfo->NameIndex();
  if (nameIx < 0) return QString();
  // Each failure adds one "_"; the bound only stops a table that answers
  // "taken" for everything.
  constexpr int kMaxTries = 1000;
  CTReadLock lock;
  QString prefix = GetNamePrefix();
  for (int i = 0; i < kMaxTries; ++i) {
    const QString candidate = prefix + QString::number(GetID());
    if (IsUnique(nameIx, candidate)) return candidate;
    prefix += QLatin1Char('_');
  }
  return QString();
}

bool CTDbObject::IsUnique(int nFieldIx, const QString& szVal) {
  bool bUnique = true;
  CTReadLock lock;
  Guarded([&] {
    for (CTDbEngine* engine : EnginesOf(v_factory)) {
      if (!bUnique) break;
      bUnique = engine->IsUniqueValue(this, nFieldIx, false, szVal);
    }
  });
  return bUnique;
}

QString CTDbObject::CaptionForValue(QObject* pRsc, const QString& szFieldName) {
  if (!pRsc) return szFieldName;
  const auto textOf = [](const QObject* o, std::initializer_list<const char*> properties) {
    for (const char* name : properties) {
      const QString text = o->property(name).toString();
      if (!text.isEmpty()) return text;
    }
    return QString();
  };
  if (const QObject* label = pRsc->findChild<QObject*>(QStringLiteral("Lbl_") + szFieldName)) {
    const QString text = textOf(label, {"Caption", "text"});
    if (!text.isEmpty()) return text;
  }
  if (const QObject* edit = pRsc->findChild<QObject*>(QStringLiteral("Txt_") + szFieldName)) {
    const QString text = textOf(edit, {"CaptionTitle", "Hint", "toolTip"});
    if (!text.isEmpty()) return text;
  }
  return szFieldName;
}

void CTDbObject::ErrorUnique(QObject* pParent, const QString& szFldName) {
  CTDbMessages::Load();
  TBaseMsg::DisplayError(pParent, CTDbMessages::kMustBeUnique, szFldName);
}

void CTDbObject::ErrorRequired(QObject* pParent, const QString& szFldName) {
  CTDbMessages::Load();
  TBaseMsg::DisplayError(pParent, CTDbMessages::kValueRequired, szFldName);
}

namespace {
void RangeError(QObject* pParent, const QString& szFldName, const char* op, const QString& szChkValue, bool bEqAllowed) {
  CTDbMessages::Load();
  const QString text = szFldName + QLatin1String(op) + (bEqAllowed ? QString() : QStringLiteral("=")) +
                       QLatin1Char(' ') + szChkValue;
  TBaseMsg::DisplayError(pParent, CTDbMessages::kRangeCheck, text);
}
}  // namespace

void CTDbObject::ErrorLB(QObject* pParent, const QString& szFldName, const QString& szChkValue, bool bEqAllowed) {
  RangeError(pParent, szFldName, " <", szChkValue, bEqAllowed);
}
void CTDbObject::ErrorLB(QObject* pParent, const QString& szFldName, double nChkValue, bool bEqAllowed) {
  RangeError(pParent, szFldName, " <", TBaseMsg::Number2Str(nChkValue, 15), bEqAllowed);
}
void CTDbObject::ErrorUB(QObject* pParent, const QString& szFldName, const QString& szChkValue, bool bEqAllowed) {
  RangeError(pParent, szFldName, " >", szChkValue, bEqAllowed);
}
void CTDbObject::ErrorUB(QObject* pParent, const QString& szFldName, double nChkValue, bool bEqAllowed) {
  RangeError(pParent, szFldName, " >", TBaseMsg::Number2Str(nChkValue, 15), bEqAllowed);
}

// ---------------------------------------------------------------- list helpers

bool CTDbObject::SortOnName(const CTDbObject* a, const CTDbObject* b) {
  return DbObjectName(a).compare(DbObjectName(b), Qt::CaseInsensitive) < 0;
}
bool CTDbObject::SortOnQualifiedName(const CTDbObject* a, const CTDbObject* b) {
  return DbObjectQualifiedName(a).compare(DbObjectQualifiedName(b), Qt::CaseInsensitive) < 0;
}
bool CTDbObject::SortOnDescriptiveName(const CTDbObject* a, const CTDbObject* b) {
  return DbObjectDescriptiveName(a).compare(DbObjectDescriptiveName(b), Qt::CaseInsensitive) < 0;
}

namespace {

// Key by key, the first unequal deciding: Boolean as 0/1, Integer, Double
// (not-a-number before every number, equal to itself, so the order stays
// strict), text ordinally; other types compare equal, as do keys a record
// does not have.
int CompareByKeys(const CTDbObject* a, const CTDbObject* b, const std::vector<int>& keys) {
  for (int ix : keys) {
    const CTValueList& va = a->Values();
    const CTValueList& vb = b->Values();
    if (ix >= va.NumberOfValues() || ix >= vb.NumberOfValues()) continue;
    const int type = va.FieldType(ix);
    if (type != vb.FieldType(ix)) continue;
    int c = 0;
    switch (type) {
      case vtBoolean:
      case vtInteger: {
        const std::int64_t d = std::int64_t(va.GetIntegerValue(ix)) - vb.GetIntegerValue(ix);
        c = d < 0 ? -1 : d > 0 ? 1 : 0;
        break;
      }
      case vtDouble: {
        const double x = va.GetDoubleValue(ix), y = vb.GetDoubleValue(ix);
        if (std::isnan(x) || std::isnan(y)) c = std::isnan(x) == std::isnan(y) ? 0 : std::isnan(x) ? -1 : 1;
        else c = x < y ? -1 : x > y ? 1 : 0;
        break;
      }
      case vtUnicodeString: c = va.GetUnicodeStringValue(ix).compare(vb.GetUnicodeStringValue(ix)); break;
      default: break;
    }
    if (c != 0) return c;
  }
  return 0;
}

// Quicksort: middle element as pivot, scans from both ends (bounded by the
// range), recursion on the left part, loop on the right.
void QuickSort(std::vector<CTDbObject*>& items, int lo, int hi, const std::vector<int>& keys) {
  while (lo < hi) {
    int i = lo, j = hi;
    CTDbObject* pivot = items[static_cast<std::size_t>((lo + hi) / 2)];
    while (i <= j) {
      while (i <= hi && CompareByKeys(items[i], pivot, keys) < 0) ++i;
      while (j >= lo && CompareByKeys(pivot, items[j], keys) < 0) --j;
      if (i <= j) {
        std::swap(items[i], items[j]);
        ++i;
        --j;
      }
    }
    if (lo < j) QuickSort(items, lo, j, keys);
    lo = i;
  }
}

}  // namespace

void CTDbObject::SortByFields(ObjectList<CTDbObject>& pLst, const QStringList& pFieldNames) {
  if (pLst.Count() < 2 || pFieldNames.isEmpty()) return;
  const CTTableInfo* table = pLst.First()->TableInfo();
  std::vector<int> keys;
  for (const QString& name : pFieldNames) {
    const int ix = table->IndexOfField(name);
    if (ix >= 0) keys.push_back(ix);
  }
  if (keys.empty()) return;
  QuickSort(pLst.Items(), 0, pLst.Count() - 1, keys);
}

QString CTDbObject::XMLSafeString(const QString& szText) {
  QString out;
  out.reserve(szText.size());
  for (QChar c : szText) {
    const char16_t u = c.unicode();
    const bool bPlain = (u >= u'!' && u <= u'%') || (u >= u'\'' && u <= u';') || u == u'=' || (u >= u'?' && u <= u'~');
    if (bPlain) out += c;
    else out += QStringLiteral("&#%1;").arg(int(u));
  }
  return out;
}

// ---------------------------------------------------------------- schema and locks

void CTDbObject::Initialize(CTTableInfo* pTblInfo, const QString& szIDFieldName) {
  pTblInfo->AddFieldInfo(0, CTFieldInfo::CreateInteger(szIDFieldName, 0));
}

void CTDbObject::StartReadOperation() { CTDbLock::Global().LockRead(); }
void CTDbObject::EndReadOperation() { CTDbLock::Global().UnlockRead(); }
void CTDbObject::StartWriteOperation() { CTDbLock::Global().LockWrite(); }
void CTDbObject::EndWriteOperation() { CTDbLock::Global().UnlockWrite(); }
void CTDbObject::StartLongAction() { CTDbLock::Global().StartLongAction(); }
void CTDbObject::EndLongAction() { CTDbLock::Global().EndLongAction(); }
