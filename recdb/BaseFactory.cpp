#include "recdb/BaseFactory.h"

#include "i18n/BaseMsgMan.h"
#include "recdb/DbLock.h"
#include "recdb/DbMessages.h"
#include "recdb/TableLink.h"

#include <QSaveFile>
#include <QSet>

#include <stdexcept>

namespace {

std::vector<CTRegisteredEngine>& Registry() {
  static std::vector<CTRegisteredEngine> engines;
  return engines;
}

bool g_flagErrors = true;
CTBaseFactory::CTLogonFunc g_logon;

}  // namespace

CTBaseFactory::CTBaseFactory(const QString& szName, int nVerMul100, int nMinVerMul100)
    : v_name(szName), v_verMul100(nVerMul100), v_minVerMul100(nMinVerMul100) {
  CTDbMessages::Load();
}

CTBaseFactory::~CTBaseFactory() {
  Disconnect();
  // Engines, tables (with their caches), databases, field infos, links.
  v_allDbEngine.clear();
  CollectFieldInfos();
  v_tableInfo.ClearAndDestroy();
  v_allDbInfo.clear();
  v_allFieldInfo.ClearAndDestroy();
  v_allLinkInfo.ClearAndDestroy();
}

LTDbInfo& CTBaseFactory::Db(int nDbIx) {
  if (nDbIx < 0 || nDbIx >= DatabaseCount()) throw std::out_of_range("database index outside the list");
  return v_allDbInfo[static_cast<std::size_t>(nDbIx)];
}

const LTDbInfo& CTBaseFactory::Db(int nDbIx) const { return const_cast<CTBaseFactory*>(this)->Db(nDbIx); }

CTDbObject* CTBaseFactory::CreateObject(int nClsID, int nObjID) {
  if (auto it = v_creators.constFind(nClsID); it != v_creators.constEnd()) return it.value()(nObjID, this);
  return new CTDbObject(nClsID, nObjID, this);
}

void CTBaseFactory::RegisterClass(int nClsID, CTRecordCreator pCreator) { v_creators.insert(nClsID, std::move(pCreator)); }

// ---------------------------------------------------------------- schema

CTTableInfo* CTBaseFactory::GetTableInfo(int nClsID) const {
  return nClsID >= 0 && nClsID < v_tableInfo.Count() ? v_tableInfo.Item(nClsID) : nullptr;
}

CTTableInfo* CTBaseFactory::GetTableNamed(const QString& szTblName) const {
  return v_tableInfo.Search([&](const CTTableInfo* t) {
    return t && t->TableName().compare(szTblName, Qt::CaseInsensitive) == 0;
  });
}

void CTBaseFactory::AddTableInfo(CTTableInfo* pInfo) {
  const int id = pInfo->GetTableIndex();
  if (id < 0) {
    delete pInfo;
    CTDbException::RaiseExc(excDbStructure);
  }
  if (id >= v_tableInfo.Count()) v_tableInfo.SetCount(id + 1);
  if (CTTableInfo* old = v_tableInfo.Item(id)) {
    CollectFieldInfos();  // the factory keeps owning the replaced table's columns
    v_tableInfo.Put(id, nullptr);
    delete old;
  }
  v_tableInfo.Put(id, pInfo);
}

void CTBaseFactory::AddLinkInfo(CTTableLink* pInf) {
  v_allLinkInfo.Add(pInf);
  if (pInf->v_fromTable) pInf->v_fromTable->AddReference(pInf);
}

void CTBaseFactory::CollectFieldInfos() {
  QSet<const CTFieldInfo*> known;
  for (const CTFieldInfo* f : v_allFieldInfo) known.insert(f);
  for (CTTableInfo* table : v_tableInfo) {
    if (!table) continue;
    for (CTFieldInfo* field : table->v_allFieldInfo)
      if (field && !known.contains(field)) {
        known.insert(field);
        v_allFieldInfo.Add(field);
      }
  }
}

void CTBaseFactory::ResolveStructure() {
  CollectFieldInfos();

  // Parents: a table resolves once its parent has; passes repeat while they
  // make progress (a parent cycle or a missing parent simply stays pending).
  const auto resolved = [](const CTTableInfo* t) { return t->v_parentID < 0 || t->v_parent; };
  for (bool bProgress = true; bProgress;) {
    bProgress = false;
    for (CTTableInfo* table : v_tableInfo) {
      if (!table || resolved(table)) continue;
      CTTableInfo* parent = GetTableInfo(table->v_parentID);
      if (!parent || parent == table || !resolved(parent)) continue;
      table->v_parent = parent;
      if (table->v_allFieldInfo.Count() < parent->v_allFieldInfo.Count())
        table->v_allFieldInfo.SetCount(parent->v_allFieldInfo.Count());
      for (int ix = 1; ix < parent->v_allFieldInfo.Count(); ++ix)
        table->v_allFieldInfo.Put(ix, parent->v_allFieldInfo.Item(ix));
      if (table->v_nameIx < 0) table->v_nameIx = parent->v_nameIx;
      bProgress = true;
    }
  }

  // Links, then the links inherited by the master's subclasses.
  for (CTTableInfo* table : v_tableInfo) {
    if (!table) continue;
    for (CTTableLink* link : table->v_refs) {
      if (link->v_fromTable != table) continue;
      link->v_toTable = GetTableInfo(link->v_toClsID);
      link->v_fromField = table->GetFieldInfo(0);
      link->v_toField = link->v_toTable ? link->v_toTable->GetFieldInfo(link->v_toFieldIx) : nullptr;
      if (link->v_toField) link->v_toField->SetRefTo(link);
    }
  }
  for (CTTableLink* link : v_allLinkInfo) {
    if (!link->v_fromTable) continue;
    for (CTTableInfo* table : v_tableInfo)
      if (table && table != link->v_fromTable && table->IsOfClass(link->v_fromTable->GetTableIndex()))
        table->AddReference(link);
  }
}

QString CTBaseFactory::GetSignature() const { return v_name + QString::number(v_verMul100); }

bool CTBaseFactory::CheckSignature(const QString& szSig) const {
  if (szSig.size() != v_name.size() + 3 || !szSig.startsWith(v_name, Qt::CaseSensitive)) return false;
  bool ok = false;
  const int n = szSig.right(3).toInt(&ok);
  const long long version = ok ? n : std::numeric_limits<int>::max();
  return version >= v_minVerMul100 && version <= v_verMul100;
}

// ---------------------------------------------------------------- databases and engines

int CTBaseFactory::AddDatabase(const QString& szLogicalName) {
  LTDbInfo info;
  info.v_logicalName = szLogicalName;
  v_allDbInfo.push_back(std::move(info));
  return DatabaseCount() - 1;
}

CTDbEngine* CTBaseFactory::GetEngine(int nDbIx) const {
  return nDbIx >= 0 && nDbIx < static_cast<int>(v_allDbEngine.size()) ? v_allDbEngine[nDbIx].get() : nullptr;
}

bool CTBaseFactory::HasCapability(int nDbIx, int nCap) const {
  const CTDbEngine* engine = GetEngine(nDbIx);
  return engine && engine->HasCapability(nCap);
}

void CTBaseFactory::RegisterEngine(const QString& szEngineClass, CTCreateEngineFunc pFunc) {
  UnregisterEngine(szEngineClass);
  Registry().push_back({szEngineClass, std::move(pFunc)});
}

void CTBaseFactory::UnregisterEngine(const QString& szEngineClass) {
  auto& list = Registry();
  std::erase_if(list, [&](const CTRegisteredEngine& e) {
    return e.v_engineClass.compare(szEngineClass, Qt::CaseInsensitive) == 0;
  });
}

const std::vector<CTRegisteredEngine>& CTBaseFactory::RegisteredEngines() { return Registry(); }

bool CTBaseFactory::SetSilentMode(bool bSilent) {
  const bool bWasSilent = !g_flagErrors;
  g_flagErrors = !bSilent;
  return bWasSilent;
}

bool CTBaseFactory::FlagErrors() { return g_flagErrors; }

void CTBaseFactory::SetLogonHandler(CTLogonFunc pFunc) { g_logon = std::move(pFunc); }

std::unique_ptr<CTDbEngine> CTBaseFactory::CreateTestEngine(int nDbIx, bool bUpdate) {
  if (Registry().empty()) CTDbException::RaiseExc(excNoEngines);
  LTDbInfo& db = Db(nDbIx);
  std::unique_ptr<CTDbEngine> engine;
  for (const CTRegisteredEngine& registered : Registry()) {
    bool bNeedsLogon = db.v_requiresLogin;
    if (registered.v_func(this, db.v_logicalName, db.v_databaseName, bNeedsLogon, db.v_requiredEngineType,
                          db.v_engineSpecificInfo, db.v_readOnly, nDbIx, bUpdate, engine) &&
        engine) {
      db.v_requiresLogin = bNeedsLogon;
      return engine;
    }
    engine.reset();
  }
  if (g_flagErrors) TBaseMsg::DisplayError(nullptr, CTDbMessages::kNotOdbc, db.v_logicalName);
  return nullptr;
}

std::unique_ptr<CTDbEngine> CTBaseFactory::CreateEngine(int nDbIx) {
  LTDbInfo& db = Db(nDbIx);
  std::unique_ptr<CTDbEngine> engine = CreateTestEngine(nDbIx, !db.v_createNew);
  if (!engine) return nullptr;
  CTModifiedProcEx target = db.v_modifiedProcEx;
  if (!target && db.v_modifiedProc) {
    CTModifiedProc simple = db.v_modifiedProc;
    target = [simple](bool b, int, int, const QString&, int) { simple(b); };
  }
  engine->SetModifiedProc(target);
  engine->SetGlossary(db.v_glossary);
  engine->SetMappingTable(db.v_mappingTable);
  if (target) {
    engine->EnableModifiedProc(true);
    try {
      target(false, 0, 0, QString(), 0);
    } catch (...) {
    }
  }
  return engine;
}

bool CTBaseFactory::BindTables(bool bRaiseOnBadDb) {
  for (CTTableInfo* table : v_tableInfo) {
    if (!table || table->IsAbstract()) continue;
    const int db = table->GetDbID();
    if (db < 0 || db >= static_cast<int>(v_allDbEngine.size())) {
      if (bRaiseOnBadDb) CTDbException::RaiseExc(excDbStructure);
      return false;
    }
    if (v_allDbEngine[db]) table->SetDbEngine(v_allDbEngine[db].get());
  }
  return true;
}

bool CTBaseFactory::Connect(bool bShowProgress) {
  (void)bShowProgress;  // no progress display here; the catalogue connects without one
  if (v_connected) throw LTBseFactExc(QStringLiteral("Database already connected"));
  Disconnect();

  v_allDbEngine.clear();
  v_allDbEngine.resize(v_allDbInfo.size());
  bool bOk = true;
  try {
    for (int i = 0; i < DatabaseCount() && bOk; ++i) {
      v_allDbEngine[i] = CreateEngine(i);
      bOk = v_allDbEngine[i] != nullptr;
    }
    if (bOk) bOk = BindTables(false);
  } catch (...) {
    bOk = false;
  }
  if (!bOk) {
    Disconnect();
    return false;
  }
  v_connected = true;

  QString szUser, szPassword;
  for (int i = 0; i < DatabaseCount(); ++i) {
    const LTDbInfo& db = v_allDbInfo[i];
    if (db.v_requiresLogin && db.v_userName.isEmpty() && v_allDbEngine[i]->NeedsLogon()) {
      if (!g_logon || !g_logon(szUser, szPassword)) {
        Disconnect();
        return false;
      }
      break;
    }
  }

  {
    CTWriteLock lock;
    try {
      for (int i = 0; i < DatabaseCount() && bOk; ++i) {
        const LTDbInfo& db = v_allDbInfo[i];
        const bool bConfigured = !db.v_userName.isEmpty();
        bOk = v_allDbEngine[i]->Connect(bConfigured ? db.v_userName : szUser,
                                        bConfigured ? db.v_password : szPassword, g_flagErrors);
      }
      for (CTTableInfo* table : v_tableInfo) {
        if (!bOk) break;
        if (!table || table->IsAbstract() || !table->GetDbEngine()) continue;
        bOk = table->GetDbEngine()->TestTable(table, v_thoroughTableTest, v_thoroughTableTest && g_flagErrors);
      }
    } catch (...) {
      // An exception part-way is a failed connect, never a successful one.
      bOk = false;
    }
  }
  if (!bOk) {
    Disconnect();
    return false;
  }
  return true;
}

void CTBaseFactory::Disconnect() {
  v_connected = false;
  for (auto& engine : v_allDbEngine)
    if (engine) engine->DisconnectEngine();
  for (CTTableInfo* table : v_tableInfo)
    if (table) table->SetDbEngine(nullptr);
  v_allDbEngine.clear();
}

void CTBaseFactory::ConnectDatabase(int nDbIx) {
  if (!v_connected) throw LTBseFactExc(QStringLiteral("Database not connected"));
  Db(nDbIx);  // range check
  if (GetEngine(nDbIx)) throw LTBseFactExc(QStringLiteral("Database already connected"));
  if (static_cast<int>(v_allDbEngine.size()) < DatabaseCount()) v_allDbEngine.resize(v_allDbInfo.size());
  v_allDbEngine[nDbIx] = CreateEngine(nDbIx);
  if (!v_allDbEngine[nDbIx]) return;
  BindTables(true);
}

void CTBaseFactory::DisconnectDatabase(int nDbIx) {
  CTDbEngine* engine = GetEngine(nDbIx);
  if (!engine) return;
  engine->DisconnectEngine();
  for (CTTableInfo* table : v_tableInfo)
    if (table && table->GetDbEngine() == engine) table->SetDbEngine(nullptr);
  v_allDbEngine[nDbIx].reset();
}

bool CTBaseFactory::DatabaseConnected(int nDbIx) const { return GetEngine(nDbIx) != nullptr; }

bool CTBaseFactory::SaveFile(int nDbIx, bool bFlagErrors) {
  if (nDbIx < 0 || nDbIx >= DatabaseCount()) return false;
  const QString szFile = Db(nDbIx).v_databaseName;
  CTDbEngine* engine = GetEngine(nDbIx);
  if (szFile.isEmpty() || !engine) return false;
  QSaveFile file(szFile);
  if (!file.open(QIODevice::WriteOnly)) {
    if (bFlagErrors) TBaseMsg::DisplayError(nullptr, -3, szFile);
    return false;
  }
  bool bWritten = false;
  try {
    CTWriteLock lock;  // writing folds the engine's layers
    bWritten = engine->WriteToStream(&file);
  } catch (...) {
    bWritten = false;
  }
  if (!bWritten) {
    file.cancelWriting();
    if (bFlagErrors) TBaseMsg::DisplayError(nullptr, -3, szFile);
    return false;
  }
  if (!file.commit()) {
    if (bFlagErrors) TBaseMsg::DisplayError(nullptr, -3, szFile);
    return false;
  }
  return true;
}

// ---------------------------------------------------------------- record cache

CTDbObject* CTBaseFactory::GetCachedObject(int nClsID, int nObjID) {
  CTTableInfo* table = GetTableInfo(nClsID);
  return table ? table->GetCachedObject(nObjID) : nullptr;
}

CTDbObject* CTBaseFactory::GetCachedObjectByProc(const CTDbObjectGetRefIDsProc& pProc) {
  int nClsID = 0, nObjID = 0;
  if (pProc) pProc(nClsID, nObjID);
  return GetCachedObject(nClsID, nObjID);
}

const ObjectList<CTDbObject>* CTBaseFactory::GetCachedObjects(int nClsID) const {
  const CTTableInfo* table = GetTableInfo(nClsID);
  return table ? &table->GetCachedObjects() : nullptr;
}

std::unique_ptr<CTDbObject> CTBaseFactory::SafeCreateObject(int nClsID, int nObjID) {
  if (nObjID < 1) return nullptr;
  CTTableInfo* table = GetTableInfo(nClsID);
  if (!table || table->IsAbstract() || !table->GetDbEngine()) return nullptr;
  CTReadLock lock;
  if (!table->GetDbEngine()->ObjectExists(nClsID, nObjID)) return nullptr;
  return std::unique_ptr<CTDbObject>(CreateObject(nClsID, nObjID));
}

void CTBaseFactory::FlagStartBackup() { CTDbLock::Global().LockWrite(); }
void CTBaseFactory::FlagEndBackup() { CTDbLock::Global().UnlockWrite(); }
