#pragma once
// CTTransactionLayer: one layer of the in-memory engine's row stack. The
// bottom layer holds the database as loaded; a transaction pushes a layer
// that takes private copies of the rows it changes, so undo drops the layer
// and redo puts it back.
//
// A row is visible through a layer when the layer's map holds it and it is
// not marked DELETED, or when the map does not hold it and it is visible
// through the layer below. Every change a layer makes, referrer lists of
// target rows included, goes to rows the layer owns; lower layers stay as
// they were, which is what makes dropping a layer an exact undo.

#include "recdb/ElemDbObject.h"

#include <memory>
#include <vector>

class CTTransactionLayer {
 public:
  // pTables: the engine's tables by class id (none where it holds no table).
  CTTransactionLayer(const std::vector<CTTableInfo*>& pTables, std::unique_ptr<CTTransactionLayer> pParent,
                     int nMsgID, int nAppUpdateCode, bool bCanRedo, int nSingleClsID, int nSingleObjID);
  ~CTTransactionLayer();
  CTTransactionLayer(const CTTransactionLayer&) = delete;
  CTTransactionLayer& operator=(const CTTransactionLayer&) = delete;

  CTTransactionLayer* GetParent() const { return v_parentLayer.get(); }
  std::unique_ptr<CTTransactionLayer> TakeParent() { return std::move(v_parentLayer); }
  void SetParent(std::unique_ptr<CTTransactionLayer> pParent) { v_parentLayer = std::move(pParent); }
  int GetDescription() const { return v_description; }
  int GetAppUpdateCode() const { return v_updateCode; }
  void SetAppUpdateCode(int n) { v_updateCode = n; }
  bool CanRedo() const { return v_canRedo; }
  int SingleClsID() const { return v_singleClsID; }
  int SingleObjID() const { return v_singleObjID; }
  void ClearSingle() { v_singleObjID = 0; }
  int Depth() const;  // layers below this one

  CTElemDbObjectMap* Map(int nClsID) const {
    return nClsID >= 0 && nClsID < static_cast<int>(v_maps.size()) ? v_maps[nClsID].get() : nullptr;
  }
  int MapCount() const { return static_cast<int>(v_maps.size()); }

  // The visible row, or none.
  CTElemDbObject* FindObject(int nClsID, int nObjID) const;
  // The visible row as this layer's own (copied up when it lives below), or none.
  CTElemDbObject* MakeOwn(int nClsID, int nObjID);
  // Visible rows of exactly that table: lower layers' rows first.
  void AddObjectsOfClass(int nClsID, std::vector<CTElemDbObject*>& pToList) const;
  int CountObjectsOfClass(int nClsID) const;

  // Drops rows marked DELETED that were inserted here (all with
  // bRemoveDeleted) and rows copied up only for a referrer change that is
  // gone again; answers whether any row remains.
  bool Optimize(bool bRemoveDeleted);
  // Absorbs all layers below; afterwards this layer has no parent.
  void Fold();

 private:
  std::unique_ptr<CTTransactionLayer> v_parentLayer;
  int v_description;
  int v_updateCode;
  std::vector<std::unique_ptr<CTElemDbObjectMap>> v_maps;  // by class id
  bool v_canRedo;
  int v_singleClsID;
  int v_singleObjID;
};
