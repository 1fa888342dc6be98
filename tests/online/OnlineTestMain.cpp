// Online tests run transfers on a local event loop and read release notes
// into documents: one QGuiApplication, offscreen, and a registry store of
// the tests' own.
#include "platform/Registry.h"

#include <QGuiApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qunsetenv("AEROLITH_SERVER");
  QGuiApplication app(argc, argv);
  QTemporaryDir settings;
  CTRegistryStore::SetUserFolder(settings.path());
  CTRegistryStore::SetMachineFolder(settings.filePath(QStringLiteral("machine")));
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
