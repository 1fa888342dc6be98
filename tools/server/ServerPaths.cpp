#include "tools/server/ServerPaths.h"

#include <QDir>
#include <QFileInfo>

namespace {

bool HasControlCharacter(const QString& szText) {
  for (QChar c : szText) {
    if (c.unicode() < 0x20 || c.unicode() == 0x7f) return true;
  }
  return false;
}

}  // namespace

QString CTServerPaths::CleanRelativePath(const QString& szPath) {
  QString szClean = szPath;
  szClean.replace(QLatin1Char('\\'), QLatin1Char('/'));
  if (szClean.isEmpty() || szClean.startsWith(QLatin1Char('/')) || HasControlCharacter(szClean)) return {};
  const QStringList segments = szClean.split(QLatin1Char('/'));
  for (const QString& s : segments) {
    if (s.isEmpty() || s == QLatin1String(".") || s == QLatin1String("..")) return {};
  }
  return szClean;
}

bool CTServerPaths::IsPlainName(const QString& szName) {
  return !szName.isEmpty() && !szName.startsWith(QLatin1Char('.')) && !szName.contains(QLatin1Char('/')) &&
         !szName.contains(QLatin1Char('\\')) && !HasControlCharacter(szName) && szName.toUtf8().size() <= 255;
}

CTServerPaths::Resolved CTServerPaths::Resolve(const QString& szFolder, const QString& szRelative) {
  const QString szClean = CleanRelativePath(szRelative);
  if (szClean.isEmpty()) return {Found::kRejected, {}};
  const QFileInfo info(QDir(szFolder).filePath(szClean));
  // canonicalFilePath follows every link; empty when anything on the way is missing.
  const QString szCanonical = info.canonicalFilePath();
  if (szCanonical.isEmpty() || !IsInside(szFolder, szCanonical)) return {Found::kMissing, {}};
  if (!QFileInfo(szCanonical).isFile()) return {Found::kMissing, {}};
  return {Found::kFile, szCanonical};
}

bool CTServerPaths::IsInside(const QString& szFolder, const QString& szPath) {
  const QString szCanonicalFolder = QFileInfo(szFolder).canonicalFilePath();
  const QString szCanonicalPath = QFileInfo(szPath).canonicalFilePath();
  if (szCanonicalFolder.isEmpty() || szCanonicalPath.isEmpty()) return false;
  if (szCanonicalPath == szCanonicalFolder) return true;
  const QString szPrefix =
      szCanonicalFolder.endsWith(QLatin1Char('/')) ? szCanonicalFolder : szCanonicalFolder + QLatin1Char('/');
  return szCanonicalPath.startsWith(szPrefix);
}
