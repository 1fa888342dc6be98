#include "platform/Registry.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QSaveFile>
#include <QStandardPaths>

#include <functional>

// Hive file layout (JSON, UTF-8):
//
//   { "format": "aerolith-registry-1",
//     "keys": { "Software\\Norvane\\Aerolith": {
//                 "Units19": { "type": "integer", "data": 1 },
//                 "Folder":  { "type": "string",  "data": "/home/a" },
//                 "Blob":    { "type": "binary",  "data": "AAEC" } } } }
//
// Every key, parents included, has its own entry (possibly empty), so that
// key existence and sub-key listing need no guessing. Binary data is base64.

namespace {

const QString kFormat = QStringLiteral("aerolith-registry-1");
const QString kTypeInteger = QStringLiteral("integer");
const QString kTypeString = QStringLiteral("string");
const QString kTypeBinary = QStringLiteral("binary");

QString g_userFolder;
QString g_machineFolder;

// "\Software\\Norvane\" -> "Software\Norvane"
QString NormaliseKey(const QString& szKey) {
  const QStringList parts = szKey.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
  return parts.join(QLatin1Char('\\'));
}

bool SameName(const QString& a, const QString& b) {
  return a.compare(b, Qt::CaseInsensitive) == 0;
}

// The stored spelling of a key or value name that matches szName, or empty.
QString FindName(const QJsonObject& obj, const QString& szName) {
  if (obj.contains(szName)) return szName;
  for (auto it = obj.begin(); it != obj.end(); ++it)
    if (SameName(it.key(), szName)) return it.key();
  return {};
}

bool IsUnder(const QString& szKey, const QString& szParent) {
  return szKey.size() > szParent.size() && szKey.at(szParent.size()) == QLatin1Char('\\') &&
         SameName(szKey.left(szParent.size()), szParent);
}

QJsonObject LoadKeys(const QString& szFile) {
  QFile file(szFile);
  if (!file.open(QIODevice::ReadOnly)) return {};
  const QJsonDocument doc = QJsonDocument::fromJson(file.readAll());
  if (!doc.isObject() || doc.object().value(QStringLiteral("format")).toString() != kFormat) return {};
  return doc.object().value(QStringLiteral("keys")).toObject();
}

bool SaveKeys(const QString& szFile, const QJsonObject& keys) {
  QJsonObject root;
  root.insert(QStringLiteral("format"), kFormat);
  root.insert(QStringLiteral("keys"), keys);
  QSaveFile file(szFile);
  if (!file.open(QIODevice::WriteOnly)) return false;
  file.write(QJsonDocument(root).toJson(QJsonDocument::Indented));
  return file.commit();
}

// Runs fnChange on the freshly loaded keys under the hive's lock and saves the
// result when fnChange answers true.
bool ChangeHive(CTRegHive hive, const std::function<bool(QJsonObject&)>& fnChange) {
  const QString szFile = CTRegistryStore::HiveFile(hive);
  if (!QDir().mkpath(QFileInfo(szFile).absolutePath())) return false;
  QLockFile lock(szFile + QStringLiteral(".lock"));
  if (!lock.tryLock(5000)) return false;
  QJsonObject keys = LoadKeys(szFile);
  if (!fnChange(keys)) return false;
  return SaveKeys(szFile, keys);
}

// Creates szKey and all its parents in keys; answers the stored spelling.
QString CreateKeyPath(QJsonObject& keys, const QString& szKey) {
  QString szPath;
  QString szStored;
  for (const QString& part : szKey.split(QLatin1Char('\\'))) {
    szPath = szPath.isEmpty() ? part : szPath + QLatin1Char('\\') + part;
    szStored = FindName(keys, szPath);
    if (szStored.isEmpty()) {
      szStored = szPath;
      keys.insert(szStored, QJsonObject());
    }
  }
  return szStored;
}

std::optional<QJsonObject> ReadValue(CTRegHive hive, const QString& szKey, const QString& szName,
                                     const QString& szType) {
  const QJsonObject keys = LoadKeys(CTRegistryStore::HiveFile(hive));
  const QString szStoredKey = FindName(keys, szKey);
  if (szStoredKey.isEmpty()) return std::nullopt;
  const QJsonObject values = keys.value(szStoredKey).toObject();
  const QString szStoredName = FindName(values, szName);
  if (szStoredName.isEmpty() && !values.contains(szName)) return std::nullopt;
  const QJsonObject value = values.value(szStoredName.isEmpty() ? szName : szStoredName).toObject();
  if (value.value(QStringLiteral("type")).toString() != szType) return std::nullopt;
  return value;
}

}  // namespace

QString CTRegistryStore::UserFolder() {
  if (!g_userFolder.isEmpty()) return g_userFolder;
  const QByteArray env = qgetenv("AEROLITH_CONFIG_DIR");
  if (!env.isEmpty()) return QString::fromLocal8Bit(env);
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QStringLiteral("/aerolith");
}

QString CTRegistryStore::MachineFolder() {
  if (!g_machineFolder.isEmpty()) return g_machineFolder;
  const QByteArray env = qgetenv("AEROLITH_MACHINE_DIR");
  if (!env.isEmpty()) return QString::fromLocal8Bit(env);
  return QStringLiteral("/var/lib/aerolith");
}

void CTRegistryStore::SetUserFolder(const QString& szFolder) { g_userFolder = szFolder; }
void CTRegistryStore::SetMachineFolder(const QString& szFolder) { g_machineFolder = szFolder; }

QString CTRegistryStore::HiveFile(CTRegHive hive) {
  return hive == CTRegHive::CurrentUser ? UserFolder() + QStringLiteral("/registry-user.json")
                                        : MachineFolder() + QStringLiteral("/registry-machine.json");
}

CTRegistry::CTRegistry(CTRegHive hive) : v_hive(hive) {}

bool CTRegistry::OpenKey(const QString& szKey, bool bCanCreate) {
  CloseKey();
  const QString szPath = NormaliseKey(szKey);
  if (szPath.isEmpty()) return false;
  if (KeyExists(szPath)) {
    v_currentKey = szPath;
    v_open = true;
    return true;
  }
  if (!bCanCreate) return false;
  const bool bCreated = ChangeHive(v_hive, [&](QJsonObject& keys) {
    CreateKeyPath(keys, szPath);
    return true;
  });
  if (!bCreated) return false;
  v_currentKey = szPath;
  v_open = true;
  return true;
}

void CTRegistry::CloseKey() {
  v_currentKey.clear();
  v_open = false;
}

bool CTRegistry::KeyExists(const QString& szKey) const {
  const QString szPath = NormaliseKey(szKey);
  return !szPath.isEmpty() && !FindName(LoadKeys(CTRegistryStore::HiveFile(v_hive)), szPath).isEmpty();
}

bool CTRegistry::DeleteKey(const QString& szKey) {
  const QString szPath = NormaliseKey(szKey);
  if (szPath.isEmpty() || !KeyExists(szPath)) return false;
  return ChangeHive(v_hive, [&](QJsonObject& keys) {
    for (const QString& name : keys.keys())
      if (SameName(name, szPath) || IsUnder(name, szPath)) keys.remove(name);
    return true;
  });
}

QStringList CTRegistry::GetKeyNames() const {
  QStringList names;
  if (!v_open) return names;
  const QJsonObject keys = LoadKeys(CTRegistryStore::HiveFile(v_hive));
  for (auto it = keys.begin(); it != keys.end(); ++it) {
    if (!IsUnder(it.key(), v_currentKey)) continue;
    const QString szRest = it.key().mid(v_currentKey.size() + 1);
    if (!szRest.contains(QLatin1Char('\\'))) names.append(szRest);
  }
  return names;
}

bool CTRegistry::ValueExists(const QString& szName) const {
  if (!v_open) return false;
  const QJsonObject keys = LoadKeys(CTRegistryStore::HiveFile(v_hive));
  const QJsonObject values = keys.value(FindName(keys, v_currentKey)).toObject();
  return values.contains(szName) || !FindName(values, szName).isEmpty();
}

bool CTRegistry::DeleteValue(const QString& szName) {
  if (!v_open || !ValueExists(szName)) return false;
  return ChangeHive(v_hive, [&](QJsonObject& keys) {
    const QString szKey = FindName(keys, v_currentKey);
    if (szKey.isEmpty()) return false;
    QJsonObject values = keys.value(szKey).toObject();
    const QString szStored = values.contains(szName) ? szName : FindName(values, szName);
    values.remove(szStored);
    keys.insert(szKey, values);
    return true;
  });
}

QStringList CTRegistry::GetValueNames() const {
  if (!v_open) return {};
  const QJsonObject keys = LoadKeys(CTRegistryStore::HiveFile(v_hive));
  return keys.value(FindName(keys, v_currentKey)).toObject().keys();
}

std::optional<int> CTRegistry::ReadInteger(const QString& szName) const {
  if (!v_open) return std::nullopt;
  const auto value = ReadValue(v_hive, v_currentKey, szName, kTypeInteger);
  if (!value) return std::nullopt;
  const QJsonValue data = value->value(QStringLiteral("data"));
  if (!data.isDouble()) return std::nullopt;
  const double d = data.toDouble();
  if (d < -2147483648.0 || d > 2147483647.0 || d != static_cast<double>(static_cast<qint64>(d)))
    return std::nullopt;
  return static_cast<int>(d);
}

std::optional<QString> CTRegistry::ReadString(const QString& szName) const {
  if (!v_open) return std::nullopt;
  const auto value = ReadValue(v_hive, v_currentKey, szName, kTypeString);
  if (!value || !value->value(QStringLiteral("data")).isString()) return std::nullopt;
  return value->value(QStringLiteral("data")).toString();
}

std::optional<QByteArray> CTRegistry::ReadBinary(const QString& szName) const {
  if (!v_open) return std::nullopt;
  const auto value = ReadValue(v_hive, v_currentKey, szName, kTypeBinary);
  if (!value || !value->value(QStringLiteral("data")).isString()) return std::nullopt;
  const auto decoded = QByteArray::fromBase64Encoding(value->value(QStringLiteral("data")).toString().toLatin1(),
                                                      QByteArray::AbortOnBase64DecodingErrors);
  if (!decoded) return std::nullopt;
  return *decoded;
}

namespace {

bool WriteValue(CTRegHive hive, const QString& szKey, const QString& szName, const QString& szType,
                const QJsonValue& data) {
  return ChangeHive(hive, [&](QJsonObject& keys) {
    const QString szStoredKey = CreateKeyPath(keys, szKey);
    QJsonObject values = keys.value(szStoredKey).toObject();
    QString szStoredName = FindName(values, szName);
    if (szStoredName.isEmpty()) szStoredName = szName;
    QJsonObject value;
    value.insert(QStringLiteral("type"), szType);
    value.insert(QStringLiteral("data"), data);
    values.insert(szStoredName, value);
    keys.insert(szStoredKey, values);
    return true;
  });
}

}  // namespace

bool CTRegistry::WriteInteger(const QString& szName, int nValue) {
  return v_open && WriteValue(v_hive, v_currentKey, szName, kTypeInteger, nValue);
}

bool CTRegistry::WriteString(const QString& szName, const QString& szValue) {
  return v_open && WriteValue(v_hive, v_currentKey, szName, kTypeString, szValue);
}

bool CTRegistry::WriteBinary(const QString& szName, const QByteArray& arValue) {
  return v_open &&
         WriteValue(v_hive, v_currentKey, szName, kTypeBinary, QString::fromLatin1(arValue.toBase64()));
}
