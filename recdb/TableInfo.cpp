#include "recdb/TableInfo.h"

#include "recdb/BaseFactory.h"
#include "recdb/DbObject.h"
#include "recdb/TableLink.h"

CTTableInfo::CTTableInfo(int nClsID, int nDbID, const QString& szModelClassName, int nParentID, bool bAbstract,
                         bool bNameRequired)
    : v_clsID(nClsID),
      v_parentID(nParentID),
      v_dbID(nDbID),
      v_tblName(QStringLiteral("Tbl_") + szModelClassName),
      v_modelClassName(szModelClassName),
      v_abstract(bAbstract),
      v_nameRequired(bNameRequired) {}

CTTableInfo::~CTTableInfo() {
  v_cacheIndex.clear();
  v_cachedObjects.ClearAndDestroy();
}

void CTTableInfo::AddFieldInfo(int nFieldIx, CTFieldInfo* pInfo, bool bIsNameField) {
  if (nFieldIx < 0) return;
  if (nFieldIx >= v_allFieldInfo.Count()) v_allFieldInfo.SetCount(nFieldIx + 1);
  v_allFieldInfo.Put(nFieldIx, pInfo);
  if (bIsNameField) v_nameIx = nFieldIx;
}

void CTTableInfo::AddReference(CTTableLink* pInfo) {
  if (pInfo && !v_refs.Contains(pInfo)) v_refs.Add(pInfo);
}

int CTTableInfo::IndexOfField(const QString& szFldName, int nStartIx) const {
  for (int i = std::max(0, nStartIx); i < v_allFieldInfo.Count(); ++i) {
    const CTFieldInfo* field = v_allFieldInfo.Item(i);
    if (field && field->GetName().compare(szFldName, Qt::CaseInsensitive) == 0) return i;
  }
  return -1;
}

QString CTTableInfo::GetIDFieldName() const {
  const CTFieldInfo* id = GetFieldInfo(0);
  return id ? id->GetName() : QString();
}

bool CTTableInfo::IsOfClass(int nClsID) const {
  // The parent chain is finite: the factory resolves parents without cycles.
  int depth = 0;
  for (const CTTableInfo* t = this; t && depth < 1000; t = t->v_parent, ++depth)
    if (t->v_clsID == nClsID) return true;
  return false;
}

CTDbObject* CTTableInfo::GetCachedObject(int nID) {
  if (nID <= 0 || !v_engine) return nullptr;
  if (CTDbObject* cached = v_cacheIndex.value(nID)) return cached;
  std::unique_ptr<CTDbObject> created = v_engine->GetFactory()->SafeCreateObject(v_clsID, nID);
  if (!created) return nullptr;
  CTDbObject* record = created.release();
  v_cachedObjects.Add(record);
  v_cacheIndex.insert(nID, record);
  return record;
}

void CTTableInfo::CleanupCache() {
  v_cacheIndex.clear();
  v_cachedObjects.ClearAndDestroy();
  if (v_customCacheCleanupProc) v_customCacheCleanupProc();
}
