#pragma once
// Typed views of query results: the record classes answer their own types
// where the record layer answers CTDbObject. Each result record is an
// instance of the concrete class its factory registered for its table, so
// the cast only fails for a record of an unexpected table; such a record is
// dropped (and freed) rather than handed out under the wrong type.

#include "recdb/DbObject.h"
#include "recdb/ObjList.h"

#include <memory>

template <typename T>
std::unique_ptr<T> RecordAs(std::unique_ptr<CTDbObject> pObj) {
  T* typed = dynamic_cast<T*>(pObj.get());
  if (!typed) return nullptr;
  pObj.release();
  return std::unique_ptr<T>(typed);
}

template <typename T>
ObjectList<T> RecordsAs(ObjectList<CTDbObject> pLst) {
  ObjectList<T> typed(true);
  for (CTDbObject* pObj : pLst) {
    if (T* p = dynamic_cast<T*>(pObj))
      typed.Add(p);
    else
      delete pObj;
  }
  pLst.SetOwnsItems(false);
  return typed;
}
