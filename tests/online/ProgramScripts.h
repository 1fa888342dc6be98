#pragma once
// The "program" of a build in the upgrade tests: a shell script that says
// its version, and what it says when run.

#include <QByteArray>
#include <QProcess>
#include <QString>

inline QByteArray ProgramSaying(const char* szVersion) {
  return QByteArray("#!/bin/sh\necho 'Aerolith ") + szVersion + "'\n";
}

inline QString RunProgram(const QString& szPath) {
  QProcess process;
  process.start(szPath, {});
  if (!process.waitForFinished(10000)) return QStringLiteral("<no answer>");
  return QString::fromLatin1(process.readAllStandardOutput()).trimmed();
}
