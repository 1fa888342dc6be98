#pragma once
// CTDbEngine: the storage engine of one database. Records forward their
// persistence to it; the factory creates, connects and releases it.

#include "recdb/DbObject.h"

#include <QIODevice>
#include <QString>

#include <functional>

class CTBaseFactory;
class CTUnicodeGlossary;
class CTMappingTable;

enum CTDbCapability : int {
  dbcSelectByExample = 0,
  dbcSelectLikeExample = 1,
  dbcRemoveByExample = 2,
  dbcInheritance = 3,
  dbcUndo = 4,
  dbcRedo = 5,
  dbcSort = 6,
  dbcLiveData = 7,
  dbcChooseDb = 8,
  dbcInsertWithID = 9,
  dbcPreparedQuery = 10,
};

// Change notification: (changed, class id, object id, record name, update code).
// Codes: 3 values/reference/binary updated, 11 inserted, 23 removed, 0 with
// changed = false after a write-out and on engine creation.
using CTModifiedProcEx = std::function<void(bool b, int nClsID, int nObjID, const QString& szObjName, int nAppUpdCode)>;
using CTModifiedProc = std::function<void(bool b)>;

class CTDbEngine {
 public:
  static constexpr int kUpdateValues = 3;
  static constexpr int kUpdateInserted = 11;
  static constexpr int kUpdateRemoved = 23;

  CTDbEngine(CTBaseFactory* pFactory, const QString& szLogicalName, const QString& szDatabaseName, bool bReadOnly);
  virtual ~CTDbEngine() = default;
  CTDbEngine(const CTDbEngine&) = delete;
  CTDbEngine& operator=(const CTDbEngine&) = delete;

  virtual bool NeedsLogon() { return false; }
  virtual bool Connect(const QString& szUserName, const QString& szPassword, bool bMustFlagErrors) = 0;
  virtual bool TestTable(CTTableInfo*, bool /*bThorough*/, bool /*bMustFlagErrors*/) { return true; }
  virtual QString GetTypeString() const = 0;
  // Writes the whole database; false when it could not be written completely.
  virtual bool WriteToStream(QIODevice* pStream);
  virtual bool ObjectExists(int nClsID, int nObjID) = 0;
  virtual bool GetBinaryValue(CTDbObject* pObj, int nFieldIx, QIODevice* pStream) = 0;
  virtual void SetBinaryValue(CTDbObject* pObj, int nFieldIx, QIODevice* pStream) = 0;
  // New instances of exactly that table, owned by the caller.
  virtual ObjectList<CTDbObject> AllObjects(int nClsID, const CTDbObjectProgressIndicator& pCallback = {}) = 0;
  virtual int CountObjects(int nClsID) { return AllObjects(nClsID).Count(); }
  virtual void PurgeTable(int nClsID) = 0;
  virtual void StartTransaction(int /*nMsgID*/, int /*nAppUpdateCode*/, bool /*bCanRedo*/, int /*nUpdateClsID*/,
                                int /*nUpdateObjID*/) {}
  virtual void EndTransaction() {}
  virtual bool CanUndo(int& nMsgID);
  virtual bool CanRedo(int& nMsgID);
  virtual int Undo();
  virtual int Redo();

  // --- record operations (called by CTDbObject under the global lock) ---
  virtual void ReadRecord(CTDbObject* pObj) = 0;
  virtual void InsertRecord(CTDbObject* pObj) = 0;
  virtual void InsertTempRecord(CTDbObject* pObj) { InsertRecord(pObj); }
  virtual void RemoveRecord(CTDbObject* pObj) = 0;
  virtual void UpdateRecord(CTDbObject* pObj) = 0;
  virtual void UpdateRelation(CTDbObject* pObj, int nFieldIx, int nTargetObjID, int nTargetClsID) = 0;
  virtual bool IsUniqueValue(CTDbObject* pObj, int nFieldIx, bool bIgnoreCase, const QString& szText) = 0;
  virtual std::unique_ptr<CTDbObject> GetRelatedRecord(CTDbObject* pObj, int nFieldIx) = 0;
  virtual ObjectList<CTDbObject> GetReferringRecords(CTDbObject* pObj, int nClsID, bool& bUnsorted, bool bFirstOnly,
                                                     const CTRecordFilter& pFilter, const QStringList& pSortKeys,
                                                     int nFieldIx) = 0;
  virtual std::unique_ptr<CTDbObject> GetSingleReferrer(CTDbObject* pObj, int nClsID, int nFieldIx);
  // The order number of the last referrer through that column, -1 for none.
  virtual int GetMaxOrderNumber(CTDbObject* pObj, int nClsID, int nFieldIx);
  virtual ObjectList<CTDbObject> SelectRecordsByExample(CTDbObject* pExample, const QStringList& pOrderFields,
                                                        const CTDbObjectProgressIndicator& pCallback, bool& bUnsorted);
  virtual ObjectList<CTDbObject> SelectRecordsLikeExample(CTDbObject* pExample, int nMaxItems,
                                                          const CTDbObjectProgressIndicator& pCallback,
                                                          bool& bUnsorted, const QStringList& pOrderFields);
  virtual int CountRecordsByExample(CTDbObject* pExample);
  virtual void RemoveRecordsByExample(CTDbObject* pExample);

  // State: connection false, the caches of the tables bound here cleared.
  virtual void DisconnectEngine();

  CTBaseFactory* GetFactory() const { return v_factory; }
  QString GetDatabaseName() const { return v_databaseName; }
  QString GetLogicalName() const { return v_logicalName; }
  bool IsReadOnly() const { return v_readOnly; }
  void SetReadOnly(bool b) { v_readOnly = b; }
  bool IsConnected() const { return v_connected; }
  bool HasCapability(int nCap) const { return nCap >= 0 && nCap <= 15 && (v_capabilities >> nCap) & 1u; }
  static QString CapabilityString(int nCap);
  // Answers the previous state; without a target notifications stay off.
  bool EnableModifiedProc(bool b);
  void SetModifiedProc(CTModifiedProcEx pProc) { v_modifiedProc = std::move(pProc); }
  CTUnicodeGlossary* GetGlossary() const { return v_glossary; }
  void SetGlossary(CTUnicodeGlossary* p) { v_glossary = p; }
  CTMappingTable* GetMappingTable() const { return v_mappingTable; }
  void SetMappingTable(CTMappingTable* p) { v_mappingTable = p; }

  // Multilingual texts of the tables bound here as glossary terms.
  void AddMultilingualFields(CTUnicodeGlossary* pGlos);

  // --- XML export ---
  static QString XMLTableFileName(const QString& szTableName, bool bWithRootElement);
  // One file per table (".xml" with a root element, ".partial" without);
  // false, with message -100 when errors are flagged, when it cannot be written.
  bool SaveToXMLFile(const QString& szOutputDir, CTTableInfo* tInfo, bool bAddRootElement);
  bool SaveToXMLFiles(const QString& szOutputDir);
  static QByteArray XMLRecordText(const CTDbObject& pObj);

 protected:
  // Sends a notification when enabled; exceptions of the target are dropped.
  void NotifyModified(bool b, int nClsID, int nObjID, const QString& szObjName, int nAppUpdCode);
  void SetCapability(int nCap, bool bOn = true) {
    if (nCap < 0 || nCap > 15) return;
    if (bOn) v_capabilities |= 1u << nCap;
    else v_capabilities &= ~(1u << nCap);
  }
  // The non-abstract tables whose records this engine stores.
  std::vector<CTTableInfo*> BoundTables() const;

  CTBaseFactory* v_factory;
  QString v_logicalName;
  QString v_databaseName;
  bool v_readOnly;
  bool v_connected = false;
  CTModifiedProcEx v_modifiedProc;
  bool v_modifiedProcEnabled = false;
  unsigned v_capabilities = 0;
  CTUnicodeGlossary* v_glossary = nullptr;
  CTMappingTable* v_mappingTable = nullptr;
};
