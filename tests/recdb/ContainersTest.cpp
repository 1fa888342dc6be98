#include "recdb/DbNameMapping.h"
#include "recdb/ObjList.h"
#include "recdb/ObjectDict.h"
#include "recdb/ValuePooling.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

struct Item {
  explicit Item(int k, double v = 0) : key(k), value(v) { ++alive; }
  ~Item() { --alive; }
  int key;
  double value;
  static inline int alive = 0;
};

TEST(ObjectList, SearchFilterApplyAndOwnership) {
  {
    ObjectList<Item> list(true);
    for (int k : {5, 3, 8, 3}) list.Add(new Item(k));
    EXPECT_EQ(list.Search([](const Item* i) { return i->key == 3; }), list[1]);
    EXPECT_EQ(list.SearchIndex([](const Item* i) { return i->key == 8; }), 2);
    EXPECT_EQ(list.SearchIndex([](const Item* i) { return i->key == 9; }), -1);
    ObjectList<Item> threes = list.Filter([](const Item* i) { return i->key == 3; });
    EXPECT_EQ(threes.Count(), 2);
    EXPECT_FALSE(threes.OwnsItems());
    int sum = 0;
    list.Apply([&](const Item* i) { sum += i->key; });
    EXPECT_EQ(sum, 19);
  }
  EXPECT_EQ(Item::alive, 0);  // the owning list freed its items, the filter did not double-free

  ObjectList<Item>* released = new ObjectList<Item>(false);
  released->Add(new Item(1));
  ObjectList<Item>::ReleaseList(released);
  EXPECT_EQ(released, nullptr);
  EXPECT_EQ(Item::alive, 0);
  ObjectList<Item>::ReleaseList(released);  // nothing to release
}

TEST(ObjectList, SortOrdersByTheProcedureAndEndsOnAnyProcedure) {
  ObjectList<Item> list(true);
  for (int k : {9, 2, 7, 2, 5, 1, 8, 3, 6, 4, 0}) list.Add(new Item(k));
  list.Sort([](const Item* a, const Item* b) { return a->key < b->key; });
  for (int i = 1; i < list.Count(); ++i) EXPECT_LE(list[i - 1]->key, list[i]->key);

  ObjectList<Item> empty(true), one(true);
  one.Add(new Item(1));
  empty.Sort([](const Item*, const Item*) { return true; });
  one.Sort([](const Item*, const Item*) { return true; });
  EXPECT_EQ(one.Count(), 1);

  // Comparators that are not orders at all must not loop forever or go astray.
  list.Sort([](const Item*, const Item*) { return true; });
  const double nan = std::numeric_limits<double>::quiet_NaN();
  ObjectList<Item> withNaN(true);
  for (double v : {3.0, nan, 1.0, nan, 2.0}) withNaN.Add(new Item(0, v));
  withNaN.Sort([](const Item* a, const Item* b) { return !(a->value >= b->value); });  // NaN "less" both ways
  EXPECT_EQ(withNaN.Count(), 5);
}

TEST(ObjectDict, KeysLookupAndLargestID) {
  CTObjectDict<Item> dict(16, [](const Item* i) { return i->key; });
  EXPECT_EQ(dict.GetLargestID(), 0);
  dict.Add(new Item(4));
  dict.Add(new Item(-2));
  dict.Add(new Item(11));
  Item duplicate(4);
  EXPECT_THROW(dict.Add(&duplicate), std::invalid_argument);
  EXPECT_EQ(dict.GetLargestID(), 11);
  EXPECT_EQ(dict.Lookup(4)->key, 4);
  EXPECT_EQ(dict.Lookup(5), nullptr);
  Item* removed = dict.Remove(11);
  ASSERT_NE(removed, nullptr);
  delete removed;
  ObjectList<Item> all;
  dict.AppendElementsToList(all);
  EXPECT_EQ(all.Count(), 2);
  dict.RemoveAll(true);
  EXPECT_EQ(dict.Count(), 0);
}

TEST(NameMapping, FindsNewNamesWithOrWithoutCase) {
  CTMappingTable table;
  CTNameMapping* tbl = table.AddMapping("Tbl_OldUnit", "Tbl_HRX");
  tbl->GetSubTable()->AddMapping("OldAirflow", "HRX_Airflow");
  EXPECT_EQ(table.FindNewName("Tbl_OldUnit", true), "Tbl_HRX");
  EXPECT_EQ(table.FindNewName("tbl_oldunit", true), "");
  EXPECT_EQ(table.FindNewName("tbl_oldunit", false), "Tbl_HRX");
  EXPECT_EQ(table.FindNewName("Unknown", false), "");
  EXPECT_EQ(table.FindMapping("Tbl_OldUnit", true)->GetSubTable()->FindNewName("OldAirflow", true), "HRX_Airflow");
}

TEST(ValuePools, RecycledBoxesComeBackResetAndCanBeReleased) {
  CTPooledValue::ReleaseAllPools();
  CTPooledString* s = CTPooledString::ObtainValue();
  s->v_value = "kept?";
  s->Recycle();
  EXPECT_EQ(CTPooledValue::PooledCount(), 1);
  CTPooledString* again = CTPooledString::ObtainValue();
  EXPECT_EQ(again, s);  // the same box, reset
  EXPECT_TRUE(again->v_value.isEmpty());
  EXPECT_EQ(CTPooledValue::PooledCount(), 0);
  CTPooledBinary* b = CTPooledBinary::ObtainValue();
  again->Recycle();
  b->Recycle();
  EXPECT_EQ(CTPooledValue::PooledCount(), 2);
  CTPooledValue::ReleaseAllPools();
  EXPECT_EQ(CTPooledValue::PooledCount(), 0);
}

}  // namespace
