#pragma once
// CTObjectDict<T>: objects by integer key (the key comes from the object),
// owning them. Enumeration order is the hash's, i.e. no particular order.

#include "recdb/ObjList.h"

#include <functional>
#include <stdexcept>
#include <unordered_map>

template <typename T>
class CTObjectDict {
 public:
  using GetIDFunc = std::function<int(const T*)>;

  CTObjectDict(int nExpectedEntries, GetIDFunc pFunc) : v_getIDFunc(std::move(pFunc)) {
    v_data.reserve(static_cast<std::size_t>(std::max(0, nExpectedEntries)));
  }
  virtual ~CTObjectDict() { RemoveAll(true); }
  CTObjectDict(const CTObjectDict&) = delete;
  CTObjectDict& operator=(const CTObjectDict&) = delete;

  // A key already present is an error.
  void Add(T* pObj) {
    const int id = v_getIDFunc(pObj);
    if (!v_data.emplace(id, pObj).second) throw std::invalid_argument("duplicate key " + std::to_string(id));
  }
  // Removes without freeing; answers the object or none.
  T* Remove(int nID) {
    auto it = v_data.find(nID);
    if (it == v_data.end()) return nullptr;
    T* p = it->second;
    v_data.erase(it);
    return p;
  }
  virtual void RemoveAll(bool bFreeElements) {
    if (bFreeElements)
      for (auto& [id, p] : v_data) delete p;
    v_data.clear();
  }
  T* Lookup(int nID) const {
    auto it = v_data.find(nID);
    return it == v_data.end() ? nullptr : it->second;
  }
  // Largest key, 0 when empty or when no key is positive.
  int GetLargestID() const {
    int largest = 0;
    for (const auto& [id, p] : v_data) largest = std::max(largest, id);
    return largest;
  }
  int Count() const { return static_cast<int>(v_data.size()); }
  void Reserve(int nEntries) { v_data.reserve(static_cast<std::size_t>(std::max(0, nEntries))); }
  void AppendElementsToList(ObjectList<T>& pToList) const {
    for (const auto& [id, p] : v_data) pToList.Add(p);
  }

 private:
  GetIDFunc v_getIDFunc;
  std::unordered_map<int, T*> v_data;
};
