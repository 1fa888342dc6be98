#pragma once
// The recently used project files, most recent first, kept in the user's
// registry store as "MRU1", "MRU2", ... under one key. Paths are compared
// exactly: file names on this platform are case-sensitive.

#include <QString>
#include <QStringList>

class CTRecentList {
 public:
  static constexpr int kEntryTag = -12345;  // marks the menu entries the list owns

  CTRecentList(int nMaxEntries, const QString& szRegistryKey);

  // The stored paths whose files still exist, in order, at most the maximum.
  QStringList GetEntries() const;
  void Add(const QString& szFileName);
  void Remove(const QString& szFileName);

  // The menu caption of entry n (1-based): "&n. " and the path shortened by
  // fnElide; an "&" of the path is doubled so that the menu shows it.
  template <typename Elide>
  static QString MenuCaption(int n, const QString& szPath, Elide&& fnElide) {
    QString caption = QString::number(n) + QStringLiteral(". ") + fnElide(szPath);
    caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return n < 10 ? QLatin1Char('&') + caption : caption;
  }

 private:
  void Save(const QStringList& entries) const;

  int v_maxEntries;
  QString v_registryKey;
};
