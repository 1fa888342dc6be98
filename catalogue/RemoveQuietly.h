#pragma once
// Removal of the records that belong to a record being removed. Each removal
// stands alone: a record that is already gone or refuses to go (a database
// error) does not stop the others or the removal of the owner.

#include "recdb/DbException.h"
#include "recdb/DbObject.h"
#include "recdb/ObjList.h"

inline void RemoveQuietly(CTDbObject* pObj) {
  if (!pObj) return;
  try {
    pObj->Remove();
  } catch (const CTDbException&) {
  }
}

template <typename T>
void RemoveEachQuietly(ObjectList<T> pLst) {
  for (T* p : pLst) RemoveQuietly(p);
}
