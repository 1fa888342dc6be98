#pragma once
// A typed key/value store standing in for the operating system registry.
//
// Two hives, each one file: the current user's under the user's configuration
// folder, the machine's in a folder of its own (settable, because ordinary
// users usually cannot write it; a hive that cannot be written simply fails
// its writes, which callers treat as "not available").
//
// Keys are backslash-separated paths as Windows writes them
// ("Software\Norvane\Hi-Trivane Selection\Aerolith"); key and value names
// compare without case, as the registry does, and keep the spelling of their
// first writer. The empty value name is the key's default value. A value read
// with the wrong type reads as missing.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

enum class CTRegHive { CurrentUser, LocalMachine };

// Where the hive files live. Process-wide; tests point both at a temporary
// folder before they touch the store.
class CTRegistryStore {
 public:
  // Default: $AEROLITH_CONFIG_DIR, else the XDG configuration folder + "/aerolith".
  static QString UserFolder();
  // Default: $AEROLITH_MACHINE_DIR, else /var/lib/aerolith.
  static QString MachineFolder();
  static void SetUserFolder(const QString& szFolder);
  static void SetMachineFolder(const QString& szFolder);
  static QString HiveFile(CTRegHive hive);
};

// One open key of one hive, with the registry's usual operations. Every write
// reloads the hive file under a lock, changes it and replaces the file
// atomically, so two processes never lose each other's values.
class CTRegistry {
 public:
  explicit CTRegistry(CTRegHive hive = CTRegHive::CurrentUser);

  CTRegHive Hive() const { return v_hive; }

  // Opens szKey; with bCanCreate the key (and its parents) is created when
  // missing. Answers false when the key is missing or cannot be created.
  bool OpenKey(const QString& szKey, bool bCanCreate);
  void CloseKey();
  QString CurrentPath() const { return v_currentKey; }

  bool KeyExists(const QString& szKey) const;
  // Removes the key with all its sub-keys and values.
  bool DeleteKey(const QString& szKey);
  QStringList GetKeyNames() const;  // direct sub-keys of the open key

  bool ValueExists(const QString& szName) const;
  bool DeleteValue(const QString& szName);
  QStringList GetValueNames() const;

  std::optional<int> ReadInteger(const QString& szName) const;
  std::optional<QString> ReadString(const QString& szName) const;
  std::optional<QByteArray> ReadBinary(const QString& szName) const;
  bool WriteInteger(const QString& szName, int nValue);
  bool WriteString(const QString& szName, const QString& szValue);
  bool WriteBinary(const QString& szName, const QByteArray& arValue);

 private:
  CTRegHive v_hive;
  QString v_currentKey;  // normalised path of the open key; empty = none open
  bool v_open = false;
};
