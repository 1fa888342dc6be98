#include "selection/RecentList.h"

#include "platform/Registry.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace {

QString ValueName(int n) { return QStringLiteral("MRU%1").arg(n); }

}  // namespace

CTRecentList::CTRecentList(int nMaxEntries, const QString& szRegistryKey)
    : v_maxEntries(std::max(0, nMaxEntries)), v_registryKey(szRegistryKey) {}

QStringList CTRecentList::GetEntries() const {
  QStringList entries;
  CTRegistry registry;
  if (!registry.OpenKey(v_registryKey, false)) return entries;
  // The list ends at the first missing value; a bound keeps a damaged store
  // from being read for ever.
  for (int n = 1; n <= 1000; ++n) {
    const std::optional<QString> path = registry.ReadString(ValueName(n));
    if (!path) break;
    if (!path->isEmpty() && QFileInfo::exists(*path)) entries.append(*path);
  }
  // MRU1 is the newest: a store holding more (another version's longer
  // list) keeps its newest entries.
  if (entries.size() > v_maxEntries) entries = entries.mid(0, v_maxEntries);
  return entries;
}

void CTRecentList::Add(const QString& szFileName) {
  QStringList entries = GetEntries();
  entries.removeAll(szFileName);
  entries.prepend(szFileName);
  Save(entries.mid(0, v_maxEntries));
}

void CTRecentList::Remove(const QString& szFileName) {
  QStringList entries = GetEntries();
  entries.removeAll(szFileName);
  Save(entries);
}

void CTRecentList::Save(const QStringList& entries) const {
  CTRegistry registry;
  if (!registry.OpenKey(v_registryKey, true)) return;
  // Every "MRU" value goes, also those past a gap.
  static const QRegularExpression kMru(QStringLiteral("^MRU[0-9]+$"));
  for (const QString& name : registry.GetValueNames())
    if (kMru.match(name).hasMatch()) registry.DeleteValue(name);
  for (int i = 0; i < entries.size(); ++i) registry.WriteString(ValueName(i + 1), entries[i]);
}
