#pragma once
// aerolith-server run to its end with the given arguments, for the tests of
// its command line: its exit code (-1 when it did not end within 10 s and
// was killed) and what it wrote to stderr.

#include <QByteArray>
#include <QProcess>
#include <QStringList>

struct LTServerRun {
  int nExit = -1;
  QByteArray arErr;
};

inline LTServerRun RunServer(const QStringList& args) {
  QProcess process;
  process.start(QStringLiteral(AEROLITH_SERVER_BIN), args);
  LTServerRun run;
  if (!process.waitForFinished(10000)) {
    process.kill();
    process.waitForFinished();
    return run;
  }
  run.nExit = process.exitCode();
  run.arErr = process.readAllStandardError();
  return run;
}
