#pragma once
// ObjectList<T>: the list type of every query result and schema collection.
//
// A list either owns its items (query results: destroying or clearing the
// list frees them) or only refers to them (Filter results, schema lists that
// the factory owns elsewhere). The four item operations take any callable:
//   Apply(f)        f(item) for every item, in order
//   Search(f)       the first item for which f(item) is true, else nullptr
//   SearchIndex(f)  its index, else -1
//   Filter(f)       a new list, not owning, of the items for which f(item) is true
// Sort(before) orders by a procedure that answers whether its first item must
// come before its second.

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

template <typename T>
class ObjectList {
 public:
  explicit ObjectList(bool bOwnsItems = false) : v_ownsItems(bOwnsItems) {}
  ~ObjectList() { Clear(); }
  ObjectList(const ObjectList&) = delete;
  ObjectList& operator=(const ObjectList&) = delete;
  ObjectList(ObjectList&& other) noexcept
      : v_items(std::move(other.v_items)), v_ownsItems(other.v_ownsItems) {
    other.v_items.clear();
  }
  ObjectList& operator=(ObjectList&& other) noexcept {
    if (this != &other) {
      Clear();
      v_items = std::move(other.v_items);
      v_ownsItems = other.v_ownsItems;
      other.v_items.clear();
    }
    return *this;
  }

  bool OwnsItems() const { return v_ownsItems; }
  void SetOwnsItems(bool bOwns) { v_ownsItems = bOwns; }

  int Count() const { return static_cast<int>(v_items.size()); }
  bool IsEmpty() const { return v_items.empty(); }
  T* Item(int nIx) const { return v_items.at(static_cast<std::size_t>(nIx)); }
  T* operator[](int nIx) const { return Item(nIx); }
  T* First() const { return v_items.empty() ? nullptr : v_items.front(); }
  T* Last() const { return v_items.empty() ? nullptr : v_items.back(); }
  auto begin() const { return v_items.begin(); }
  auto end() const { return v_items.end(); }

  void Add(T* pObj) { v_items.push_back(pObj); }
  void Insert(int nIx, T* pObj) { v_items.insert(v_items.begin() + nIx, pObj); }
  void Put(int nIx, T* pObj) { v_items.at(static_cast<std::size_t>(nIx)) = pObj; }
  void SetCount(int nCount) { v_items.resize(static_cast<std::size_t>(std::max(0, nCount)), nullptr); }
  // Removes without freeing.
  T* Extract(int nIx) {
    T* p = Item(nIx);
    v_items.erase(v_items.begin() + nIx);
    return p;
  }
  bool Remove(T* pObj) {
    auto it = std::find(v_items.begin(), v_items.end(), pObj);
    if (it == v_items.end()) return false;
    v_items.erase(it);
    return true;
  }
  bool Contains(const T* pObj) const { return std::find(v_items.begin(), v_items.end(), pObj) != v_items.end(); }
  int IndexOf(const T* pObj) const {
    auto it = std::find(v_items.begin(), v_items.end(), pObj);
    return it == v_items.end() ? -1 : static_cast<int>(it - v_items.begin());
  }
  template <typename U>
  void AddObjects(const ObjectList<U>& pLst) {
    for (U* p : pLst) v_items.push_back(p);
  }

  // Empties the list, freeing the items when it owns them.
  void Clear() {
    if (v_ownsItems) ClearAndDestroy();
    else v_items.clear();
  }
  // Frees every item, whoever owns them, then empties the list.
  void ClearAndDestroy() {
    static_assert(sizeof(T) > 0, "deleting items needs their complete type");
    std::vector<T*> items;
    items.swap(v_items);
    for (T* p : items) delete p;
  }
  // Frees the list and its items and clears the reference.
  static void ReleaseList(ObjectList*& pLst) {
    if (!pLst) return;
    pLst->ClearAndDestroy();
    delete pLst;
    pLst = nullptr;
  }

  template <typename F>
  void Apply(F&& fnProc) const {
    for (T* p : v_items) fnProc(p);
  }
  template <typename F>
  T* Search(F&& fnProc) const {
    for (T* p : v_items)
      if (fnProc(p)) return p;
    return nullptr;
  }
  template <typename F>
  int SearchIndex(F&& fnProc) const {
    for (std::size_t i = 0; i < v_items.size(); ++i)
      if (fnProc(v_items[i])) return static_cast<int>(i);
    return -1;
  }
  template <typename F>
  ObjectList Filter(F&& fnProc) const {
    ObjectList result(false);
    for (T* p : v_items)
      if (fnProc(p)) result.Add(p);
    return result;
  }

  // Diminishing-gap exchange sort: halve the gap, then pass over the list
  // exchanging items a gap apart that are out of order, until a pass makes no
  // exchange. fnBefore need not be a strict order, so the passes per gap are
  // bounded: for any consistent order count + 1 passes are enough.
  template <typename F>
  void Sort(F&& fnBefore) {
    const std::size_t count = v_items.size();
    std::size_t gap = count;
    while (gap > 1) {
      gap /= 2;
      for (std::size_t pass = 0; pass <= count; ++pass) {
        bool bExchanged = false;
        for (std::size_t i = 0; i + gap < count; ++i) {
          if (fnBefore(v_items[i + gap], v_items[i])) {
            std::swap(v_items[i], v_items[i + gap]);
            bExchanged = true;
          }
        }
        if (!bExchanged) break;
      }
    }
  }

  std::vector<T*>& Items() { return v_items; }
  const std::vector<T*>& Items() const { return v_items; }

 private:
  std::vector<T*> v_items;
  bool v_ownsItems;
};
