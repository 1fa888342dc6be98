#include "platform/Registry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class Registry : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(v_dir.isValid());
    CTRegistryStore::SetUserFolder(v_dir.filePath("user"));
    CTRegistryStore::SetMachineFolder(v_dir.filePath("machine"));
  }
  void TearDown() override {
    CTRegistryStore::SetUserFolder(QString());
    CTRegistryStore::SetMachineFolder(QString());
  }
  QTemporaryDir v_dir;
};

const QString kKey = QStringLiteral("Software\\Norvane\\Hi-Trivane Selection\\Aerolith");

TEST_F(Registry, TypedValuesRoundTripAndWrongTypesReadAsMissing) {
  CTRegistry reg;
  ASSERT_TRUE(reg.OpenKey(kKey, true));
  EXPECT_TRUE(reg.WriteInteger("Count", -42));
  EXPECT_TRUE(reg.WriteString("Folder", QStringLiteral("/home/ä")));
  EXPECT_TRUE(reg.WriteBinary("Blob", QByteArray("\x00\x01\xff", 3)));
  EXPECT_TRUE(reg.WriteString("", QStringLiteral("default value")));

  CTRegistry other;  // a fresh reader sees the file
  ASSERT_TRUE(other.OpenKey(kKey, false));
  EXPECT_EQ(other.ReadInteger("Count"), -42);
  EXPECT_EQ(other.ReadString("Folder"), QStringLiteral("/home/ä"));
  EXPECT_EQ(other.ReadBinary("Blob"), QByteArray("\x00\x01\xff", 3));
  EXPECT_EQ(other.ReadString(""), QStringLiteral("default value"));

  EXPECT_FALSE(other.ReadString("Count").has_value());
  EXPECT_FALSE(other.ReadInteger("Folder").has_value());
  EXPECT_FALSE(other.ReadInteger("Blob").has_value());
  EXPECT_FALSE(other.ReadInteger("Missing").has_value());
}

TEST_F(Registry, NamesCompareWithoutCase) {
  CTRegistry reg;
  ASSERT_TRUE(reg.OpenKey("Software\\MicroSoft\\Windows", true));
  reg.WriteInteger("Units19", 1);
  ASSERT_TRUE(reg.OpenKey("software\\Microsoft\\WINDOWS", false));
  EXPECT_EQ(reg.ReadInteger("UNITS19"), 1);
  reg.WriteInteger("units19", 0);  // overwrites, keeps the first spelling
  EXPECT_EQ(reg.GetValueNames(), QStringList{"Units19"});
}

TEST_F(Registry, KeysAreCreatedWithParentsAndDeletedWithChildren) {
  CTRegistry reg;
  EXPECT_FALSE(reg.OpenKey(kKey, false));
  ASSERT_TRUE(reg.OpenKey(kKey + "\\Preferences\\Units", true));
  reg.WriteInteger("Units1", 2);
  ASSERT_TRUE(reg.OpenKey(kKey, false));
  EXPECT_EQ(reg.GetKeyNames(), QStringList{"Preferences"});
  EXPECT_TRUE(reg.KeyExists("Software\\Norvane"));

  EXPECT_TRUE(reg.DeleteKey(kKey + "\\Preferences"));
  EXPECT_FALSE(reg.KeyExists(kKey + "\\Preferences\\Units"));
  EXPECT_TRUE(reg.KeyExists(kKey));
  EXPECT_FALSE(reg.DeleteKey(kKey + "\\Preferences"));
}

TEST_F(Registry, DeleteValue) {
  CTRegistry reg;
  ASSERT_TRUE(reg.OpenKey(kKey, true));
  reg.WriteInteger("A", 1);
  EXPECT_TRUE(reg.DeleteValue("a"));
  EXPECT_FALSE(reg.ValueExists("A"));
  EXPECT_FALSE(reg.DeleteValue("A"));
}

TEST_F(Registry, HivesAreSeparate) {
  CTRegistry user(CTRegHive::CurrentUser);
  CTRegistry machine(CTRegHive::LocalMachine);
  ASSERT_TRUE(machine.OpenKey("Software\\Classes\\.ven", true));
  machine.WriteString("", "HRXSelect.HRXFile");
  EXPECT_FALSE(user.KeyExists("Software\\Classes\\.ven"));
}

TEST_F(Registry, UnwritableHiveFailsItsWrites) {
  QFile blocker(v_dir.filePath("blocked"));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));  // a file where the folder should be
  blocker.close();
  CTRegistryStore::SetMachineFolder(v_dir.filePath("blocked"));
  CTRegistry machine(CTRegHive::LocalMachine);
  EXPECT_FALSE(machine.OpenKey(kKey, true));
  EXPECT_FALSE(machine.WriteInteger("X", 1));
}

TEST_F(Registry, CorruptHiveReadsAsEmptyAndIsReplacedOnWrite) {
  QFile file(CTRegistryStore::HiveFile(CTRegHive::CurrentUser));
  QDir().mkpath(QFileInfo(file).absolutePath());
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("{ not json");
  file.close();
  CTRegistry reg;
  EXPECT_FALSE(reg.OpenKey(kKey, false));
  ASSERT_TRUE(reg.OpenKey(kKey, true));
  EXPECT_TRUE(reg.WriteInteger("A", 5));
  EXPECT_EQ(reg.ReadInteger("A"), 5);
}

}  // namespace
