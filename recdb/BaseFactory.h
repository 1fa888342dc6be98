#pragma once
// CTBaseFactory: the root of one record database. It owns the schema
// (tables, columns, links), the configured databases and one engine per
// database while connected; it creates records by class id and keeps a
// record cache per table.

#include "recdb/DbEngine.h"
#include "recdb/ObjList.h"

#include <QHash>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class CTMappingTable;
class CTUnicodeGlossary;

// One configured database.
struct LTDbInfo {
  QString v_requiredEngineType;  // class name of the engine that must serve it; empty = any
  QString v_logicalName;         // for the resource engine: the resource name
  QString v_databaseName;        // file path; a creation function may replace it
  QString v_engineSpecificInfo;
  bool v_readOnly = false;
  bool v_requiresLogin = false;
  QString v_userName;
  QString v_password;
  CTModifiedProc v_modifiedProc;
  CTModifiedProcEx v_modifiedProcEx;
  CTUnicodeGlossary* v_glossary = nullptr;
  CTMappingTable* v_mappingTable = nullptr;
  bool v_createNew = true;  // no database name given
};

// An engine class's creation function: true when it serves the database, with
// the new engine in pCreatedEngine. It may update szDatabaseName and bNeedsLogon.
using CTCreateEngineFunc = std::function<bool(
    CTBaseFactory* pFactory, const QString& szLogicalName, QString& szDatabaseName, bool& bNeedsLogon,
    const QString& szRequiredEngineType, const QString& szEngineSpecificInfo, bool bReadOnly, int nEngineIndex,
    bool bUpdateDatabaseName, std::unique_ptr<CTDbEngine>& pCreatedEngine)>;

struct CTRegisteredEngine {
  QString v_engineClass;
  CTCreateEngineFunc v_func;
};

// Creates a record instance of one class.
using CTRecordCreator = std::function<CTDbObject*(int nObjID, CTBaseFactory* pFactory)>;

class CTBaseFactory {
 public:
  CTBaseFactory(const QString& szName, int nVerMul100, int nMinVerMul100);
  virtual ~CTBaseFactory();
  CTBaseFactory(const CTBaseFactory&) = delete;
  CTBaseFactory& operator=(const CTBaseFactory&) = delete;

  // A new instance of the record class of nClsID; the registered creator of
  // the class, else a plain CTDbObject of that table.
  virtual CTDbObject* CreateObject(int nClsID, int nObjID);
  void RegisterClass(int nClsID, CTRecordCreator pCreator);

  virtual bool Connect(bool bShowProgress = false);
  void Disconnect();
  void ConnectDatabase(int nDbIx);
  void DisconnectDatabase(int nDbIx);
  bool DatabaseConnected(int nDbIx) const;
  bool IsConnected() const { return v_connected; }

  // --- database configuration ---
  int AddDatabase(const QString& szLogicalName);
  int DatabaseCount() const { return static_cast<int>(v_allDbInfo.size()); }
  void SetRequiredEngineType(int nDbIx, const QString& s) { Db(nDbIx).v_requiredEngineType = s; }
  QString GetRequiredEngineType(int nDbIx) const { return Db(nDbIx).v_requiredEngineType; }
  void SetDatabaseName(int nDbIx, const QString& s) {
    Db(nDbIx).v_databaseName = s;
    Db(nDbIx).v_createNew = s.isEmpty();
  }
  QString GetDatabaseName(int nDbIx) const { return Db(nDbIx).v_databaseName; }
  void SetLogicalName(int nDbIx, const QString& s) { Db(nDbIx).v_logicalName = s; }
  QString GetLogicalName(int nDbIx) const { return Db(nDbIx).v_logicalName; }
  void SetEngineSpecificInfo(int nDbIx, const QString& s) { Db(nDbIx).v_engineSpecificInfo = s; }
  QString GetEngineSpecificInfo(int nDbIx) const { return Db(nDbIx).v_engineSpecificInfo; }
  void SetReadOnly(int nDbIx, bool b) { Db(nDbIx).v_readOnly = b; }
  bool GetReadOnly(int nDbIx) const { return Db(nDbIx).v_readOnly; }
  void SetRequiresLogin(int nDbIx, bool b) { Db(nDbIx).v_requiresLogin = b; }
  bool GetRequiresLogin(int nDbIx) const { return Db(nDbIx).v_requiresLogin; }
  void SetUserName(int nDbIx, const QString& s) { Db(nDbIx).v_userName = s; }
  QString GetUserName(int nDbIx) const { return Db(nDbIx).v_userName; }
  void SetPassword(int nDbIx, const QString& s) { Db(nDbIx).v_password = s; }
  QString GetPassword(int nDbIx) const { return Db(nDbIx).v_password; }
  void SetModifiedProc(int nDbIx, CTModifiedProc p) {
    Db(nDbIx).v_modifiedProc = std::move(p);
    Db(nDbIx).v_modifiedProcEx = nullptr;
  }
  void SetModifiedProc(int nDbIx, CTModifiedProcEx p) {
    Db(nDbIx).v_modifiedProcEx = std::move(p);
    Db(nDbIx).v_modifiedProc = nullptr;
  }
  void SetGlossary(int nDbIx, CTUnicodeGlossary* p) { Db(nDbIx).v_glossary = p; }
  CTUnicodeGlossary* GetGlossary(int nDbIx) const { return Db(nDbIx).v_glossary; }
  void SetNameMapping(int nDbIx, CTMappingTable* p) { Db(nDbIx).v_mappingTable = p; }
  CTMappingTable* GetNameMapping(int nDbIx) const { return Db(nDbIx).v_mappingTable; }

  bool HasCapability(int nDbIx, int nCap) const;
  CTDbEngine* GetEngine(int nDbIx) const;
  // Writes database nDbIx to its file: aside first, then renamed over the old
  // file, so a failed save leaves the old file whole.
  bool SaveFile(int nDbIx, bool bFlagErrors);

  // --- schema ---
  CTTableInfo* GetTableInfo(int nClsID) const;
  CTTableInfo* GetTableNamed(const QString& szTblName) const;
  const ObjectList<CTTableInfo>& Tables() const { return v_tableInfo; }
  // Takes ownership of a table definition (at its class id).
  void AddTableInfo(CTTableInfo* pInfo);
  // Takes ownership of a link and gives it to its master table.
  void AddLinkInfo(CTTableLink* pInf);
  QString GetName() const { return v_name; }
  int GetVersion() const { return v_verMul100; }
  int GetMinVersion() const { return v_minVerMul100; }

  QString GetSignature() const;
  bool CheckSignature(const QString& szSig) const;

  // --- record cache ---
  CTDbObject* GetCachedObject(int nClsID, int nObjID);
  CTDbObject* GetCachedObjectByProc(const CTDbObjectGetRefIDsProc& pProc);
  const ObjectList<CTDbObject>* GetCachedObjects(int nClsID) const;
  // A new instance only when the id exists in a non-abstract table.
  std::unique_ptr<CTDbObject> SafeCreateObject(int nClsID, int nObjID);

  // --- engines ---
  std::unique_ptr<CTDbEngine> CreateTestEngine(int nDbIx, bool bUpdate);
  static void RegisterEngine(const QString& szEngineClass, CTCreateEngineFunc pFunc);
  static void UnregisterEngine(const QString& szEngineClass);
  static const std::vector<CTRegisteredEngine>& RegisteredEngines();
  // Answers the previous silent state.
  static bool SetSilentMode(bool bSilent);
  static bool FlagErrors();
  void FlagStartBackup();
  void FlagEndBackup();

  // Asked for user name and password when a database needs a login; false = cancelled.
  using CTLogonFunc = std::function<bool(QString& szUserName, QString& szPassword)>;
  static void SetLogonHandler(CTLogonFunc pFunc);

  bool v_thoroughTableTest = true;

 protected:
  // Resolves parents, field inheritance and links; concrete factories call
  // it once after all tables and links are defined.
  void ResolveStructure();

 private:
  LTDbInfo& Db(int nDbIx);
  const LTDbInfo& Db(int nDbIx) const;
  std::unique_ptr<CTDbEngine> CreateEngine(int nDbIx);
  bool BindTables(bool bRaiseOnBadDb);
  void CollectFieldInfos();

  ObjectList<CTTableInfo> v_tableInfo{true};   // by class id; unused ids empty
  std::vector<LTDbInfo> v_allDbInfo;
  std::vector<std::unique_ptr<CTDbEngine>> v_allDbEngine;
  ObjectList<CTFieldInfo> v_allFieldInfo{true};
  ObjectList<CTTableLink> v_allLinkInfo{true};
  QHash<int, CTRecordCreator> v_creators;
  QString v_name;
  int v_verMul100;
  int v_minVerMul100;
  bool v_connected = false;
};
