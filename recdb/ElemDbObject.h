#pragma once
// Rows of the in-memory engine.
//
// CTElemDbObject: one stored row: its values and the list of records that
// refer to it, so "who refers to this row" is a lookup, not a scan.
// CTElemDbObjectMap: the rows of one table in one transaction layer, by id.
//
// Invariant of the referrer lists: for every visible row R and every link
// field of R with a valid pair (class id >= 0, object id > 0) whose target is
// visible, the target's visible version lists (link, R's class, R's id)
// exactly once. Entries of referring rows that have disappeared may linger;
// walks drop them.

#include "recdb/ObjectDict.h"
#include "recdb/TableLink.h"
#include "recdb/ValueList.h"

#include <QHashFunctions>
#include <QSet>

#include <memory>

class CTTableInfo;
class CTTransactionLayer;

class CTElemDbObject {
 public:
  static constexpr int kInserted = 1;
  static constexpr int kUpdated = 2;
  static constexpr int kDeleted = 4;

  explicit CTElemDbObject(CTTableInfo* pTblInfo);
  // A copy with the same status, referrer entries and values (binaries too).
  static CTElemDbObject* Copy(const CTElemDbObject& pObj);

  void CopyValuesFromList(const CTValueList& pValues, bool bBinariesAlso);
  void SetID(int nValue);
  int TableIndex() const;
  bool IsDeleted() const { return (v_status & kDeleted) != 0; }

  bool HasReferrer(const CTTableLink* pLink, int nClsID, int nObjID) const;
  void AddReferrer(CTTableLink* pLink, int nClsID, int nObjID);
  // Removes every entry (link, class, id); answers how many went.
  int RemoveReferrer(const CTTableLink* pLink, int nClsID, int nObjID);
  // Same entries, in any order.
  bool SameReferrers(const CTElemDbObject& other) const;
  // Drops the entry at a position of v_referrers (a stale one).
  void DropReferrerAt(std::size_t nIx);

  int v_id = -1;
  CTTableInfo* v_tblInfo;
  std::unique_ptr<CTValueList> v_values;
  // Change only through the referrer operations above, which keep the index.
  ObjectList<CTDbRelation> v_referrers{true};
  int v_status = 0;

 private:
  // A row that many rows refer to (an option offered on thousands of units)
  // answers "is this one a referrer?" from a hash set instead of a walk.
  struct ReferrerKey {
    const CTTableLink* link;
    int clsID;
    int objID;
    bool operator==(const ReferrerKey& o) const { return link == o.link && clsID == o.clsID && objID == o.objID; }
    friend size_t qHash(const ReferrerKey& k, size_t seed = 0) noexcept {
      return qHashMulti(seed, k.link, k.clsID, k.objID);
    }
  };
  static constexpr int kIndexFromCount = 16;
  void IndexReferrers();
  std::unique_ptr<QSet<ReferrerKey>> v_referrerIndex;  // none while the list is short
};

class CTElemDbObjectMap : public CTObjectDict<CTElemDbObject> {
 public:
  explicit CTElemDbObjectMap(CTTableInfo* pTblInfo);

  CTTableInfo* TblInfo() const { return v_tblInfo; }
  CTElemDbObject* FindObject(int nObjID) const { return Lookup(nObjID); }
  // A new row with that id (replacing a row of the same id in this map) or,
  // with 0, the next id after the largest ever given.
  CTElemDbObject* NewObject(int nTryObjID);
  // Also forgets the largest id.
  void RemoveAll(bool bFreeElements) override;
  int GetMaxID() const { return v_maxID; }
  void SetMaxID(int n) { v_maxID = n; }
  int GetNbFields() const { return v_nbFields; }
  // Row ids in ascending order, for walks that must not depend on hashing.
  std::vector<int> SortedIDs() const;

  static void SetTableSize(int nSize);
  static int GetTableSize();

 private:
  CTTableInfo* v_tblInfo;
  int v_nbFields;
  int v_maxID = 0;
};
