#pragma once
// CTMemDbEngine: the storage engine that holds a whole database in memory.
// It loads the database text at connect time, answers every record operation
// from memory, keeps undoable transactions as a stack of layers, and writes
// the whole database back as text.
//
// Database file (optionally compressed behind a signature such as "K7R"):
//
//   ROZ100                                   header: the factory signature
//   5 18 TBL_DdbVersionInfo 101              structure: table name, class id
//   5 6 DVI_ID 2                               its columns: name, type code
//   5 13 DVI_DbVersion 10
//   0                                          end of the table's columns
//   0                                        end of the structure
//   2 101 2 0 2 1 2 1                        data: class id, count 0 (long form),
//   2 1 10 5 1.4.3                             real count, largest id; record lines
//   0                                        end of the data
//   2 101 2 -1 / 2 2 0 0 0 / ... / 0 / 0     extended structure (the engine writes it
//                                              but does not read it; CTDbTextSchema does)
//
// Names are written as their length, a space and exactly that many bytes.
// CTDbTextReader (DbTextReader.h) reads the header, structure and data heads
// for the engine and for CTDbTextSchema alike.
// A table whose rows were all removed is written with the long form and a
// count of 0, so its largest id survives a save and a load.

#include "recdb/DbEngine.h"
#include "recdb/StreamIO.h"
#include "recdb/TransactionLayer.h"

#include <QStringList>

#include <memory>
#include <vector>

class CTMemDbEngine : public CTDbEngine {
 public:
  CTMemDbEngine(CTBaseFactory* pFactory, const QString& szLogicalName, const QString& szDatabaseName, bool bReadOnly,
                int nEngineIndex);
  ~CTMemDbEngine() override;

  static void RegisterEngine();
  static QString ClassName() { return QStringLiteral("CTMemDbEngine"); }

  // --- process-wide settings ---
  static bool UseCompression(bool bUse);  // answers the previous value
  static bool CompressionUsed();
  static void SetCompressionSignature(const QString& szSig);
  static QString CompressionSignature();
  static void SetAutoCorrect(bool b);
  static bool GetAutoCorrect();
  static void SetMaxUndoDepth(int n);  // 0..20, anything else 5
  static int GetMaxUndoDepth();
  static void SetWriteExtendedStructure(bool b);

  // --- engine interface ---
  bool Connect(const QString& szUserName, const QString& szPassword, bool bMustFlagErrors) override;
  QString GetTypeString() const override { return QStringLiteral("Text"); }
  bool WriteToStream(QIODevice* pStream) override;
  bool ObjectExists(int nClsID, int nObjID) override;
  bool GetBinaryValue(CTDbObject* pObj, int nFieldIx, QIODevice* pStream) override;
  void SetBinaryValue(CTDbObject* pObj, int nFieldIx, QIODevice* pStream) override;
  ObjectList<CTDbObject> AllObjects(int nClsID, const CTDbObjectProgressIndicator& pCallback = {}) override;
  int CountObjects(int nClsID) override;
  void PurgeTable(int nClsID) override;
  void StartTransaction(int nMsgID, int nAppUpdateCode, bool bCanRedo, int nUpdateClsID, int nUpdateObjID) override;
  void EndTransaction() override;
  bool CanUndo(int& nMsgID) override;
  bool CanRedo(int& nMsgID) override;
  int Undo() override;
  int Redo() override;
  void ReadRecord(CTDbObject* pObj) override;
  void InsertRecord(CTDbObject* pObj) override;
  void RemoveRecord(CTDbObject* pObj) override;
  void UpdateRecord(CTDbObject* pObj) override;
  void UpdateRelation(CTDbObject* pObj, int nFieldIx, int nTargetObjID, int nTargetClsID) override;
  bool IsUniqueValue(CTDbObject* pObj, int nFieldIx, bool bIgnoreCase, const QString& szText) override;
  std::unique_ptr<CTDbObject> GetRelatedRecord(CTDbObject* pObj, int nFieldIx) override;
  ObjectList<CTDbObject> GetReferringRecords(CTDbObject* pObj, int nClsID, bool& bUnsorted, bool bFirstOnly,
                                             const CTRecordFilter& pFilter, const QStringList& pSortKeys,
                                             int nFieldIx) override;
  int GetMaxOrderNumber(CTDbObject* pObj, int nClsID, int nFieldIx) override;
  ObjectList<CTDbObject> SelectRecordsByExample(CTDbObject* pExample, const QStringList& pOrderFields,
                                                const CTDbObjectProgressIndicator& pCallback, bool& bUnsorted) override;
  int CountRecordsByExample(CTDbObject* pExample) override;
  void RemoveRecordsByExample(CTDbObject* pExample) override;

  int TransactionDepth() const { return v_nestedTransactions; }
  void StartNullTransaction();
  void EndNullTransaction();

  // --- loading ---
  // Loads a stream (compressed or plain) into the top layer; false on any error.
  bool Load(QIODevice* pStream);
  // Reads a plain body; 0 on success, -1 on failure.
  int ReadFrom(CTStreamIO& pIO);
  // What the last load found: read errors, and the rows auto-correct removed
  // (or, with it off, the rows that made the load fail), one line each.
  const QStringList& LoadProblems() const { return v_loadProblems; }

  // --- inspection (tests, tools) ---
  CTTransactionLayer* TopLayer() const { return v_transactionTop.get(); }
  bool HoldsTable(int nClsID) const {
    return nClsID >= 0 && nClsID < static_cast<int>(v_tables.size()) && v_tables[nClsID] != nullptr;
  }
  const std::vector<CTTableInfo*>& Tables() const { return v_tables; }
  // Every broken referrer-list invariant, one line each (none when sound).
  QStringList CheckReferrerInvariant() const;

 protected:
  // Raises excReadOnly, then folds the layers when no transaction is open.
  void PrepareWrite(const CTTableInfo* pTable);
  void RemoveRows(std::vector<std::vector<CTElemDbObject*>>& rowsByClass);
  void CollectWithDependents(CTElemDbObject* pRow, std::vector<std::vector<CTElemDbObject*>>& rowsByClass);

 private:
  bool CheckIntegrity1Field(const CTValueList& pNewVals, const CTTableLink* pLink, int nFieldIx, int nMyCls,
                            int nMyID);
  bool CheckIntegrity(const CTValueList& pVals, int nMyCls, int nMyID);
  void StoreReference1Field(const CTTableLink* pLink, int nMyCls, int nMyID, int nOldCls, int nOldID, int nNewCls,
                            int nNewID);
  void StoreReferences(const CTTableInfo* pTable, int nMyID, const CTValueList& pNewVals, const CTValueList* pOldVals);
  void RemoveReferences(const CTElemDbObject* pRow);
  CTTableLink* LinkFor(const CTTableInfo* pTargetTable, int nClsID, int nFieldIx) const;
  bool MatchesExample(const CTValueList& row, const CTDbObject& example) const;
  bool ResolveLoadedReferences(const std::vector<int>& fileToClass);
  QByteArray StructureText() const;
  QByteArray ExtendedStructureText() const;

  std::vector<CTTableInfo*> v_tables;  // by class id; none for tables of other engines
  std::unique_ptr<CTTransactionLayer> v_transactionTop;
  std::vector<std::unique_ptr<CTTransactionLayer>> v_redoStack;  // last undone at the back
  int v_nestedTransactions = 0;
  QStringList v_loadProblems;
};

// The same engine reading its database from a named program resource.
class CTResDbEngine : public CTMemDbEngine {
 public:
  CTResDbEngine(CTBaseFactory* pFactory, const QString& szLogicalName, const QString& szDatabaseName, bool bReadOnly,
                int nEngineIndex);
  static void RegisterEngine();
  static QString ClassName() { return QStringLiteral("CTResDbEngine"); }
  bool Connect(const QString& szUserName, const QString& szPassword, bool bMustFlagErrors) override;
  QString GetTypeString() const override { return QStringLiteral("Resource"); }
};
