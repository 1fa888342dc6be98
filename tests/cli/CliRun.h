#pragma once
// Runs aerolith-cli in-process and keeps what it printed.

#include "cli/CliCommands.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

struct CliResult {
  int code;
  QString out;
  QString err;
};

inline CliResult RunCli(const QStringList& arguments) {
  QString out, err;
  QTextStream outStream(&out), errStream(&err);
  const int code = AerolithCli::Run(arguments, outStream, errStream);
  outStream.flush();
  errStream.flush();
  return {code, out, err};
}
