#pragma once
// CTDbObject: one record of one table, the base of every record class. A
// record never stores itself: persistence goes to the engine of its table,
// under the global record lock. Engine failures inside record operations are
// swallowed (the result tells); precondition violations raise CTDbException.
//
// Record states: 0 new, 1 stored, 2 removed, 16 destroyed.

#include "recdb/DbException.h"
#include "recdb/ObjList.h"
#include "recdb/TableInfo.h"
#include "recdb/ValueList.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class CTBaseFactory;

// Decides per candidate whether a query includes it.
using CTRecordFilter = std::function<bool(const CTValueList& values)>;
// Called once per record produced by a bulk read.
using CTDbObjectProgressIndicator = std::function<void(CTDbObject* pObj)>;
// Yields the (class id, object id) pair of a record reference.
using CTDbObjectGetRefIDsProc = std::function<void(int& nClsID, int& nObjID)>;

class CTDbObject {
 public:
  static constexpr int kStatusNew = 0;
  static constexpr int kStatusStored = 1;
  static constexpr int kStatusRemoved = 2;
  static constexpr int kStatusDestroyed = 16;

  // nObjID <= 0: a new record with the column defaults. Otherwise the engine
  // reads the record; a missing id gives zero values marked stored (use the
  // factory's SafeCreateObject when unsure). pFactory empty: the default.
  CTDbObject(int nClsID, int nObjID = 0, CTBaseFactory* pFactory = nullptr);
  virtual ~CTDbObject();
  CTDbObject(const CTDbObject&) = delete;
  CTDbObject& operator=(const CTDbObject&) = delete;

  // --- identity ---
  virtual int TableIndex() const { return v_tableInfo->GetTableIndex(); }
  int GetID() const { return v_values->GetIntegerValue(0); }
  void SetID(int nVal) { v_values->SetIntegerValue(0, nVal); }
  bool IsOfClass(int nClsID) const { return v_tableInfo->IsOfClass(nClsID); }
  CTBaseFactory* GetFactory() const { return v_factory; }
  CTTableInfo* TableInfo() const { return v_tableInfo; }
  static void SetDefaultFactory(CTBaseFactory* pFactory);
  static CTBaseFactory* GetDefaultFactory();

  CTValueList& Values() { return *v_values; }
  const CTValueList& Values() const { return *v_values; }
  const ObjectList<CTFieldInfo>& Descriptors() const { return v_tableInfo->Fields(); }
  int GetStatus() const { return v_status; }
  void SetStatus(int nVal) { v_status = nVal; }
  bool IsStored() const { return (v_status & kStatusStored) != 0; }
  void CopyData(const CTDbObject& pFromObj, bool bAlsoRelations, int nStartIx);

  // --- names and descriptions (record classes with such columns override) ---
  virtual QString GetName() const { return QString(); }
  virtual void SetName(const QString&) {}
  virtual bool ChkName(QObject* pResource);
  virtual QString GetDescriptiveName() const { return GetName(); }
  virtual QString GetQualifier() const { return v_tableInfo->ModelClassName(); }
  virtual QString GetQualifiedName() const { return GetQualifier() + QLatin1Char(' ') + GetName(); }
  virtual QString GetDescription() const { return QString(); }
  virtual void SetDescription(const QString&) {}
  virtual bool ChkDescription(QObject*) { return true; }
  virtual bool GetDeleted() const { return false; }
  virtual void SetDeleted(bool) {}
  virtual bool ChkDeleted(QObject*) { return true; }

  // --- typed fields ---
  bool GetBooleanValue(int nIx) const { return v_values->GetBooleanValue(nIx); }
  std::int32_t GetIntegerValue(int nIx) const { return v_values->GetIntegerValue(nIx); }
  double GetDoubleValue(int nIx) const { return v_values->GetDoubleValue(nIx); }
  std::int64_t GetCurrencyValue(int nIx) const { return v_values->GetCurrencyValue(nIx); }
  double GetTDateTimeValue(int nIx) const { return v_values->GetTDateTimeValue(nIx); }
  TGUID GetTGUIDValue(int nIx) const { return v_values->GetTGUIDValue(nIx); }
  void GetRefValues(int nIx, std::int32_t& nClsID, std::int32_t& nObjID) const {
    v_values->GetRefValues(nIx, nClsID, nObjID);
  }
  QString GetUntranslatedStringValue(int nIx) const { return v_values->GetUnicodeStringValue(nIx); }
  // The stored text, translated by the engine's glossary when it has one.
  QString GetTranslatedStringValue(int nIx) const;
  void SetBooleanValue(int nIx, bool b) { v_values->SetBooleanValue(nIx, b); }
  void SetIntegerValue(int nIx, std::int32_t n) { v_values->SetIntegerValue(nIx, n); }
  void SetDoubleValue(int nIx, double d) { v_values->SetDoubleValue(nIx, d); }
  void SetCurrencyValue(int nIx, std::int64_t n) { v_values->SetCurrencyValue(nIx, n); }
  void SetTDateTimeValue(int nIx, double d) { v_values->SetTDateTimeValue(nIx, d); }
  void SetTGUIDValue(int nIx, const TGUID& g) { v_values->SetTGUIDValue(nIx, g); }
  void SetUnicodeStringValue(int nIx, const QString& s) { v_values->SetUnicodeStringValue(nIx, s); }
  void GenerateTGUIDValue(int nIx) { SetTGUIDValue(nIx, QUuid::createUuid()); }
  void ClearTGUIDValue(int nIx) { SetTGUIDValue(nIx, TGUID()); }
  // True when the first 8 bytes (D1, D2, D3) are zero.
  static bool IsClearTGUID(const TGUID& nGUID) { return nGUID.data1 == 0 && nGUID.data2 == 0 && nGUID.data3 == 0; }
  static bool CompareTGUID(const TGUID& nGUID1, const TGUID& nGUID2) {
    return !IsClearTGUID(nGUID1) && nGUID1 == nGUID2;
  }
  // Binary values go through the engine (the record must be stored).
  bool GetBinaryValue(int nIx, QIODevice* pStream);
  void SetBinaryValue(int nIx, QIODevice* pStream);

  // --- persistence ---
  virtual void Update();
  virtual void Read();
  virtual void Remove();
  virtual void Insert();
  virtual void InsertTemp();
  void InsertWithID(int nID);

  // --- relations ---
  void SetRelationByIx(int nFieldIx, const CTDbObject* pRelObj);
  void DropRelationByIx(int nFieldIx);
  // The referenced record (a new instance, owned by the caller) or none.
  std::unique_ptr<CTDbObject> GetRelationByIx(int nFieldIx);
  // The records of class nClsID whose reference column nFieldIx points here.
  ObjectList<CTDbObject> GetRelatedByIx(int nClsID, int nFieldIx, const QStringList& pSortKeys = {},
                                        const CTRecordFilter& pFilter = {});
  std::unique_ptr<CTDbObject> GetUniqueRelatedByIx(int nClsID, int nFieldIx);
  bool HasRelations(const std::vector<int>& arExcludeClsIDs = {});

  // --- class-level queries (nClsID names the table; pFactory empty: the default) ---
  static ObjectList<CTDbObject> GetAllRecords(int nClsID, bool bAlsoDerived, CTBaseFactory* pFactory = nullptr,
                                              const CTDbObjectProgressIndicator& pCallback = {});
  static int CountAllRecords(int nClsID, bool bAlsoDerived, CTBaseFactory* pFactory = nullptr);
  static std::unique_ptr<CTDbObject> GetUniqueRecord(int nClsID, bool bMustExist, CTBaseFactory* pFactory = nullptr);
  static void PurgeTable(int nClsID, CTBaseFactory* pFactory = nullptr);

  // --- query by example (this record is the example) ---
  ObjectList<CTDbObject> SelectByExample(const QStringList& pOrderFields = {},
                                         const CTDbObjectProgressIndicator& pCallback = {});
  ObjectList<CTDbObject> SelectLikeExample(int nMaxItems, const QStringList& pOrderFields = {},
                                           const CTDbObjectProgressIndicator& pCallback = {});
  int CountByExample();
  void RemoveByExample();

  // --- names and validation ---
  virtual QString InventUniqueName();
  bool IsUnique(int nFieldIx, const QString& szVal);
  virtual bool ValidateClassConstraints(QObject*) { return true; }
  virtual bool Edit(QObject*, bool, void*) { return false; }
  static QString CaptionForValue(QObject* pRsc, const QString& szFieldName);
  static void ErrorUnique(QObject* pParent, const QString& szFldName);
  static void ErrorRequired(QObject* pParent, const QString& szFldName);
  static void ErrorLB(QObject* pParent, const QString& szFldName, const QString& szChkValue, bool bEqAllowed);
  static void ErrorLB(QObject* pParent, const QString& szFldName, double nChkValue, bool bEqAllowed);
  static void ErrorUB(QObject* pParent, const QString& szFldName, const QString& szChkValue, bool bEqAllowed);
  static void ErrorUB(QObject* pParent, const QString& szFldName, double nChkValue, bool bEqAllowed);

  // --- list helpers ---
  static QString DbObjectName(const CTDbObject* pObj) { return pObj ? pObj->GetName() : QString(); }
  static QString DbObjectQualifiedName(const CTDbObject* pObj) { return pObj ? pObj->GetQualifiedName() : QString(); }
  static QString DbObjectDescriptiveName(const CTDbObject* pObj) {
    return pObj ? pObj->GetDescriptiveName() : QString();
  }
  static bool SortOnName(const CTDbObject* a, const CTDbObject* b);
  static bool SortOnQualifiedName(const CTDbObject* a, const CTDbObject* b);
  static bool SortOnDescriptiveName(const CTDbObject* a, const CTDbObject* b);
  template <typename T>
  static T* SearchID(const ObjectList<T>& pLst, int nID) {
    return pLst.Search([nID](const T* p) { return p->GetID() == nID; });
  }
  template <typename T>
  static T* SearchID2(const ObjectList<T>& pLst, int nClsID, int nObjID) {
    return pLst.Search([=](const T* p) { return p->GetID() == nObjID && p->TableIndex() == nClsID; });
  }
  // Ascending by the named fields; see the comparison rules in the source.
  static void SortByFields(ObjectList<CTDbObject>& pLst, const QStringList& pFieldNames);
  // XML-safe text: "!".."%", "'"..";", "=" and "?".."~" as they are, every other
  // character as "&#" + decimal code + ";".
  static QString XMLSafeString(const QString& szText);

  // --- schema ---
  // Field 0: the Integer ID column.
  static void Initialize(CTTableInfo* pTblInfo, const QString& szIDFieldName);

  // --- the global record lock ---
  static void StartReadOperation();
  static void EndReadOperation();
  static void StartWriteOperation();
  static void EndWriteOperation();
  static void StartLongAction();
  static void EndLongAction();

 protected:
  virtual QString GetNamePrefix() const { return GetQualifier().left(3).toUpper(); }
  CTDbEngine* Engine() const { return v_tableInfo->GetDbEngine(); }
  // CTDbException(excRecNotInDB) when the record is not stored.
  void RequireStored() const;
  // Runs one engine operation under the global lock; answers whether the
  // table has an engine and the operation completed (its exceptions are
  // swallowed: the result tells).
  template <typename Lock, typename F>
  bool EngineOp(F&& fnOp);
  // fnSelect(engine, bUnsorted) per engine, merged and sorted when needed.
  template <typename F>
  ObjectList<CTDbObject> CollectFromEngines(const QStringList& pOrderFields, F&& fnSelect);

 private:
  int v_status = kStatusNew;
  CTTableInfo* v_tableInfo = nullptr;
  CTBaseFactory* v_factory = nullptr;
  std::unique_ptr<CTValueList> v_values;
};
