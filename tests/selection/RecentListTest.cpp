// The recent project files in the registry store.

#include "platform/Registry.h"
#include "selection/RecentList.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString kKey = QStringLiteral("Software\\Test\\Recent");

class RecentListTest : public testing::Test {
 protected:
  void SetUp() override {
    v_previous = CTRegistryStore::UserFolder();
    CTRegistryStore::SetUserFolder(v_store.path());
  }
  void TearDown() override { CTRegistryStore::SetUserFolder(v_previous); }

  QString File(const QString& name) {
    const QString path = v_files.filePath(name);
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    return path;
  }
  QStringList Values() {
    CTRegistry registry;
    registry.OpenKey(kKey, false);
    QStringList names = registry.GetValueNames();
    names.sort();
    return names;
  }

  QTemporaryDir v_store, v_files;
  QString v_previous;
};

}  // namespace

TEST_F(RecentListTest, MostRecentFirstAtMostTheMaximum) {
  CTRecentList list(3, kKey);
  const QString a = File("a.ven"), b = File("b.ven"), c = File("c.ven"), d = File("d.ven");
  for (const QString& f : {a, b, c, d}) list.Add(f);
  EXPECT_EQ(list.GetEntries(), (QStringList{d, c, b}));
  list.Add(b);
  EXPECT_EQ(list.GetEntries(), (QStringList{b, d, c}));
  list.Remove(d);
  EXPECT_EQ(list.GetEntries(), (QStringList{b, c}));
  EXPECT_EQ(Values(), (QStringList{"MRU1", "MRU2"}));
}

TEST_F(RecentListTest, PathsDifferingInCaseAreTwoFiles) {
  CTRecentList list(10, kKey);
  const QString lower = File("plant.ven"), upper = File("Plant.ven");
  list.Add(lower);
  list.Add(upper);
  EXPECT_EQ(list.GetEntries(), (QStringList{upper, lower}));
}

TEST_F(RecentListTest, MissingFilesAndGapsEndTheListAndStaleValuesGoOnSave) {
  const QString a = File("a.ven"), c = File("c.ven");
  {
    CTRegistry registry;
    ASSERT_TRUE(registry.OpenKey(kKey, true));
    registry.WriteString("MRU1", a);
    registry.WriteString("MRU2", v_files.filePath("gone.ven"));
    registry.WriteString("MRU4", c);  // past a gap
  }
  CTRecentList list(10, kKey);
  EXPECT_EQ(list.GetEntries(), (QStringList{a}));
  list.Add(c);
  EXPECT_EQ(Values(), (QStringList{"MRU1", "MRU2"}));
  EXPECT_EQ(list.GetEntries(), (QStringList{c, a}));
}

TEST_F(RecentListTest, AStoreHoldingMoreKeepsItsNewestEntries) {
  QStringList files;
  {
    CTRegistry registry;
    ASSERT_TRUE(registry.OpenKey(kKey, true));
    for (int n = 1; n <= 12; ++n) {
      files << File(QStringLiteral("p%1.ven").arg(n));
      registry.WriteString(QStringLiteral("MRU%1").arg(n), files.last());
    }
  }
  CTRecentList list(10, kKey);
  EXPECT_EQ(list.GetEntries(), files.mid(0, 10));
  const QString fresh = File("fresh.ven");
  list.Add(fresh);
  EXPECT_EQ(list.GetEntries(), QStringList{fresh} + files.mid(0, 9));
}

TEST(RecentListCaption, NumbersAndAmpersands) {
  const auto whole = [](const QString& s) { return s; };
  EXPECT_EQ(CTRecentList::MenuCaption(1, "/home/r&d/a.ven", whole), "&1. /home/r&&d/a.ven");
  EXPECT_EQ(CTRecentList::MenuCaption(10, "/x.ven", whole), "10. /x.ven");
  const auto cut = [](const QString& s) { return s.left(3) + QStringLiteral("…") + s.right(5); };
  EXPECT_EQ(CTRecentList::MenuCaption(2, "/a/b/c/d/e.ven", cut), QStringLiteral("&2. /a/…e.ven"));
}
