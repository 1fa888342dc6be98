#pragma once
// The environment of the real program started by a test: its lock, its
// settings and the desktop's launchers all in the test's folder, never the
// user's; no screen.

#include <QProcessEnvironment>
#include <QTemporaryDir>

inline QProcessEnvironment ProgramEnvironment(const QTemporaryDir& dir) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("AEROLITH_RUNTIME_DIR", dir.path());
  env.insert("AEROLITH_CONFIG_DIR", dir.filePath("config"));
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("XDG_DATA_HOME", dir.filePath("data"));
  env.insert("XDG_CONFIG_HOME", dir.filePath("xdg-config"));
  return env;
}
