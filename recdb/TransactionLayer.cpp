#include "recdb/TransactionLayer.h"

#include "recdb/TableInfo.h"

#include <unordered_set>

CTTransactionLayer::CTTransactionLayer(const std::vector<CTTableInfo*>& pTables,
                                       std::unique_ptr<CTTransactionLayer> pParent, int nMsgID, int nAppUpdateCode,
                                       bool bCanRedo, int nSingleClsID, int nSingleObjID)
    : v_parentLayer(std::move(pParent)),
      v_description(nMsgID),
      v_updateCode(nAppUpdateCode),
      v_canRedo(bCanRedo),
      v_singleClsID(nSingleClsID),
      v_singleObjID(nSingleObjID) {
  v_maps.resize(pTables.size());
  for (std::size_t i = 0; i < pTables.size(); ++i) {
    if (!pTables[i]) continue;
    v_maps[i] = std::make_unique<CTElemDbObjectMap>(pTables[i]);
    // New ids continue above every id used below.
    if (v_parentLayer && v_parentLayer->Map(int(i))) v_maps[i]->SetMaxID(v_parentLayer->Map(int(i))->GetMaxID());
  }
}

CTTransactionLayer::~CTTransactionLayer() {
  // Free the chain below iteratively.
  std::unique_ptr<CTTransactionLayer> below = std::move(v_parentLayer);
  while (below) below = std::move(below->v_parentLayer);
}

int CTTransactionLayer::Depth() const {
  int depth = 0;
  for (const CTTransactionLayer* l = v_parentLayer.get(); l; l = l->v_parentLayer.get()) ++depth;
  return depth;
}

CTElemDbObject* CTTransactionLayer::FindObject(int nClsID, int nObjID) const {
  for (const CTTransactionLayer* layer = this; layer; layer = layer->v_parentLayer.get()) {
    const CTElemDbObjectMap* map = layer->Map(nClsID);
    if (!map) return nullptr;
    if (CTElemDbObject* row = map->FindObject(nObjID)) return row->IsDeleted() ? nullptr : row;
  }
  return nullptr;
}

CTElemDbObject* CTTransactionLayer::MakeOwn(int nClsID, int nObjID) {
  CTElemDbObjectMap* map = Map(nClsID);
  if (!map) return nullptr;
  if (CTElemDbObject* own = map->FindObject(nObjID)) return own->IsDeleted() ? nullptr : own;
  const CTElemDbObject* below = v_parentLayer ? v_parentLayer->FindObject(nClsID, nObjID) : nullptr;
  if (!below) return nullptr;
  CTElemDbObject* copy = CTElemDbObject::Copy(*below);
  copy->v_status &= ~CTElemDbObject::kInserted;
  copy->v_status &= ~CTElemDbObject::kUpdated;
  map->Add(copy);
  return copy;
}

void CTTransactionLayer::AddObjectsOfClass(int nClsID, std::vector<CTElemDbObject*>& pToList) const {
  const CTElemDbObjectMap* map = Map(nClsID);
  if (!map) return;
  const std::size_t start = pToList.size();
  if (v_parentLayer) v_parentLayer->AddObjectsOfClass(nClsID, pToList);
  // Lower rows this layer overrides are replaced (or dropped when deleted here).
  std::unordered_set<int> overridden;
  std::size_t out = start;
  for (std::size_t i = start; i < pToList.size(); ++i) {
    CTElemDbObject* mine = map->FindObject(pToList[i]->v_id);
    if (!mine) {
      pToList[out++] = pToList[i];
      continue;
    }
    overridden.insert(mine->v_id);
    if (!mine->IsDeleted()) pToList[out++] = mine;
  }
  pToList.resize(out);
  ObjectList<CTElemDbObject> rows;
  map->AppendElementsToList(rows);
  for (CTElemDbObject* row : rows)
    if (!row->IsDeleted() && !overridden.count(row->v_id)) pToList.push_back(row);
}

int CTTransactionLayer::CountObjectsOfClass(int nClsID) const {
  std::vector<CTElemDbObject*> rows;
  AddObjectsOfClass(nClsID, rows);
  return static_cast<int>(rows.size());
}

bool CTTransactionLayer::Optimize(bool bRemoveDeleted) {
  bool bAnyLeft = false;
  for (auto& map : v_maps) {
    if (!map) continue;
    ObjectList<CTElemDbObject> rows;
    map->AppendElementsToList(rows);
    for (CTElemDbObject* row : rows) {
      bool bDrop = false;
      if (row->IsDeleted()) {
        bDrop = bRemoveDeleted || (row->v_status & CTElemDbObject::kInserted);
      } else if ((row->v_status & (CTElemDbObject::kInserted | CTElemDbObject::kUpdated)) == 0 && v_parentLayer) {
        // Copied up for a referrer change only: drop it when nothing differs any more.
        const CTElemDbObject* below = v_parentLayer->FindObject(map->TblInfo()->GetTableIndex(), row->v_id);
        bDrop = below && below->SameReferrers(*row) && below->v_values->SameValues(*row->v_values);
      }
      if (bDrop) delete map->Remove(row->v_id);
      else bAnyLeft = true;
    }
  }
  return bAnyLeft;
}

void CTTransactionLayer::Fold() {
  if (!v_parentLayer) return;
  v_singleObjID = 0;
  v_parentLayer->Fold();
  std::unique_ptr<CTTransactionLayer> parent = std::move(v_parentLayer);
  for (std::size_t i = 0; i < v_maps.size(); ++i) {
    CTElemDbObjectMap* mine = v_maps[i].get();
    CTElemDbObjectMap* theirs = i < parent->v_maps.size() ? parent->v_maps[i].get() : nullptr;
    if (!mine || !theirs) continue;
    ObjectList<CTElemDbObject> rows;
    theirs->AppendElementsToList(rows);
    for (CTElemDbObject* row : rows)
      if (!mine->FindObject(row->v_id)) mine->Add(theirs->Remove(row->v_id));
    mine->SetMaxID(std::max(mine->GetMaxID(), theirs->GetMaxID()));
  }
}
