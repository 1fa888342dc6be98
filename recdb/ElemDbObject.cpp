#include "recdb/ElemDbObject.h"

#include "recdb/TableInfo.h"

#include <algorithm>

namespace {
int g_tableSize = 499;
}  // namespace

CTElemDbObject::CTElemDbObject(CTTableInfo* pTblInfo)
    : v_tblInfo(pTblInfo), v_values(std::make_unique<CTValueList>(&pTblInfo->Fields(), false)) {}

CTElemDbObject* CTElemDbObject::Copy(const CTElemDbObject& pObj) {
  auto* copy = new CTElemDbObject(pObj.v_tblInfo);
  copy->v_values = std::make_unique<CTValueList>(*pObj.v_values);
  copy->v_id = pObj.v_id;
  copy->v_status = pObj.v_status;
  for (const CTDbRelation* r : pObj.v_referrers) copy->AddReferrer(r->v_model, r->v_refClsID, r->v_refObjID);
  return copy;
}

void CTElemDbObject::CopyValuesFromList(const CTValueList& pValues, bool bBinariesAlso) {
  v_values->CopyValues(pValues, 0, true, bBinariesAlso);
  v_id = v_values->GetIntegerValue(0);
}

void CTElemDbObject::SetID(int nValue) {
  v_values->SetIntegerValue(0, nValue);
  v_id = nValue;
}

int CTElemDbObject::TableIndex() const { return v_tblInfo->GetTableIndex(); }

bool CTElemDbObject::HasReferrer(const CTTableLink* pLink, int nClsID, int nObjID) const {
  if (v_referrerIndex) return v_referrerIndex->contains({pLink, nClsID, nObjID});
  return v_referrers.Search([&](const CTDbRelation* r) {
    return r->v_model == pLink && r->v_refClsID == nClsID && r->v_refObjID == nObjID;
  }) != nullptr;
}

void CTElemDbObject::IndexReferrers() {
  v_referrerIndex = std::make_unique<QSet<ReferrerKey>>();
  v_referrerIndex->reserve(v_referrers.Count() * 2);
  for (const CTDbRelation* r : v_referrers) v_referrerIndex->insert({r->v_model, r->v_refClsID, r->v_refObjID});
}

void CTElemDbObject::AddReferrer(CTTableLink* pLink, int nClsID, int nObjID) {
  auto* relation = new CTDbRelation(pLink);
  relation->v_refClsID = nClsID;
  relation->v_refObjID = nObjID;
  v_referrers.Add(relation);
  if (v_referrerIndex)
    v_referrerIndex->insert({pLink, nClsID, nObjID});
  else if (v_referrers.Count() >= kIndexFromCount)
    IndexReferrers();
}

void CTElemDbObject::DropReferrerAt(std::size_t nIx) {
  auto& items = v_referrers.Items();
  if (nIx >= items.size()) return;
  const CTDbRelation* r = items[nIx];
  const ReferrerKey key{r->v_model, r->v_refClsID, r->v_refObjID};
  delete r;
  items.erase(items.begin() + std::ptrdiff_t(nIx));
  // Another entry with the same key keeps it in the index.
  if (v_referrerIndex && !v_referrers.Search([&](const CTDbRelation* o) {
        return o->v_model == key.link && o->v_refClsID == key.clsID && o->v_refObjID == key.objID;
      }))
    v_referrerIndex->remove(key);
}

int CTElemDbObject::RemoveReferrer(const CTTableLink* pLink, int nClsID, int nObjID) {
  if (v_referrerIndex) v_referrerIndex->remove({pLink, nClsID, nObjID});
  auto& items = v_referrers.Items();
  int removed = 0;
  for (auto it = items.begin(); it != items.end();) {
    if ((*it)->v_model == pLink && (*it)->v_refClsID == nClsID && (*it)->v_refObjID == nObjID) {
      delete *it;
      it = items.erase(it);
      ++removed;
    } else {
      ++it;
    }
  }
  return removed;
}

bool CTElemDbObject::SameReferrers(const CTElemDbObject& other) const {
  if (v_referrers.Count() != other.v_referrers.Count()) return false;
  for (const CTDbRelation* r : v_referrers)
    if (!other.HasReferrer(r->v_model, r->v_refClsID, r->v_refObjID)) return false;
  return true;
}

CTElemDbObjectMap::CTElemDbObjectMap(CTTableInfo* pTblInfo)
    : CTObjectDict<CTElemDbObject>(g_tableSize, [](const CTElemDbObject* p) { return p->v_id; }),
      v_tblInfo(pTblInfo),
      v_nbFields(pTblInfo->FieldCount()) {}

CTElemDbObject* CTElemDbObjectMap::NewObject(int nTryObjID) {
  auto row = std::make_unique<CTElemDbObject>(v_tblInfo);
  if (nTryObjID != 0) {
    delete Remove(nTryObjID);
    row->SetID(nTryObjID);
    v_maxID = std::max(v_maxID, nTryObjID);
  } else {
    row->SetID(++v_maxID);
  }
  CTElemDbObject* p = row.release();
  Add(p);
  return p;
}

void CTElemDbObjectMap::RemoveAll(bool bFreeElements) {
  CTObjectDict<CTElemDbObject>::RemoveAll(bFreeElements);
  v_maxID = 0;
}

std::vector<int> CTElemDbObjectMap::SortedIDs() const {
  ObjectList<CTElemDbObject> rows;
  AppendElementsToList(rows);
  std::vector<int> ids;
  ids.reserve(static_cast<std::size_t>(rows.Count()));
  for (const CTElemDbObject* r : rows) ids.push_back(r->v_id);
  std::sort(ids.begin(), ids.end());
  return ids;
}

void CTElemDbObjectMap::SetTableSize(int nSize) {
  if (nSize > 8) g_tableSize = nSize;
}

int CTElemDbObjectMap::GetTableSize() { return g_tableSize; }
