#include "platform/Resources.h"

#include <QFile>

QString CTResources::PathOf(const QString& szName) {
  return QStringLiteral(":/aerolith/data/") + szName;
}

bool CTResources::Exists(const QString& szName) {
  return !szName.isEmpty() && QFile::exists(PathOf(szName));
}

std::optional<QByteArray> CTResources::Data(const QString& szName) {
  if (szName.isEmpty()) return std::nullopt;
  QFile file(PathOf(szName));
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  return file.readAll();
}
