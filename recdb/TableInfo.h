#pragma once
// CTTableInfo: one table: its class id, parent table, columns by index, the
// links in which it is the master, its engine while connected, and its
// record cache (owned records, found by id through a hash index).

#include "recdb/FieldInfo.h"
#include "recdb/ObjList.h"

#include <QHash>
#include <QString>

#include <functional>

class CTDbEngine;
class CTDbObject;
class CTTableLink;

using CTCacheCleanupProc = std::function<void()>;

class CTTableInfo {
 public:
  CTTableInfo(int nClsID, int nDbID, const QString& szModelClassName, int nParentID, bool bAbstract,
              bool bNameRequired);
  ~CTTableInfo();
  CTTableInfo(const CTTableInfo&) = delete;
  CTTableInfo& operator=(const CTTableInfo&) = delete;

  // Puts pInfo at nFieldIx, growing the list with empty slots when needed.
  void AddFieldInfo(int nFieldIx, CTFieldInfo* pInfo, bool bIsNameField = false);
  void AddReference(CTTableLink* pInfo);
  // First index at or after nStartIx whose field name matches ignoring case, else -1.
  int IndexOfField(const QString& szFldName, int nStartIx = 0) const;
  QString GetIDFieldName() const;
  // This table or one of its ancestors has that class id.
  bool IsOfClass(int nClsID) const;

  // The cached record with that id, created and cached when it exists; none
  // for an id below 1 or a table without engine.
  CTDbObject* GetCachedObject(int nID);
  const ObjectList<CTDbObject>& GetCachedObjects() const { return v_cachedObjects; }
  void SetCustomCacheCleanupProc(CTCacheCleanupProc p) { v_customCacheCleanupProc = std::move(p); }
  void CleanupCache();

  CTFieldInfo* GetFieldInfo(int nIx) const {
    return nIx >= 0 && nIx < v_allFieldInfo.Count() ? v_allFieldInfo.Item(nIx) : nullptr;
  }
  const ObjectList<CTFieldInfo>& Fields() const { return v_allFieldInfo; }
  int FieldCount() const { return v_allFieldInfo.Count(); }
  int GetTableIndex() const { return v_clsID; }
  const ObjectList<CTTableLink>& GetReferences() const { return v_refs; }
  int GetDbID() const { return v_dbID; }
  CTDbEngine* GetDbEngine() const { return v_engine; }
  void SetDbEngine(CTDbEngine* pEngine) { v_engine = pEngine; }
  CTTableInfo* GetParent() const { return v_parent; }
  QString TableName() const { return v_tblName; }
  QString ModelClassName() const { return v_modelClassName; }
  bool IsAbstract() const { return v_abstract; }
  bool NameRequired() const { return v_nameRequired; }
  int NameIndex() const { return v_nameIx; }

 private:
  friend class CTBaseFactory;

  CTTableInfo* v_parent = nullptr;
  int v_clsID;
  int v_parentID;  // -1 for a root table
  int v_dbID;
  CTDbEngine* v_engine = nullptr;
  QString v_tblName;         // "Tbl_" + model class name
  QString v_modelClassName;
  bool v_abstract;
  bool v_nameRequired;
  ObjectList<CTFieldInfo> v_allFieldInfo;  // by index; slots may be empty; owned by the factory
  int v_nameIx = -1;
  ObjectList<CTTableLink> v_refs;  // links with this table (or an ancestor) as master
  ObjectList<CTDbObject> v_cachedObjects{true};
  QHash<int, CTDbObject*> v_cacheIndex;  // object id -> cached record
  CTCacheCleanupProc v_customCacheCleanupProc;
};
