#include "cli/CliCommands.h"

#include <QGuiApplication>
#include <QTextStream>

int main(int argc, char* argv[]) {
  // Charts measure text with fonts: a GUI application, offscreen unless
  // told otherwise, so that no display is needed.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  QTextStream out(stdout);
  QTextStream err(stderr);
  const int code = AerolithCli::Run(QGuiApplication::arguments().mid(1), out, err);
  out.flush();
  err.flush();
  return code;
}
