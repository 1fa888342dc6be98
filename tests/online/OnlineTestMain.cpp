// Online tests run transfers on a local event loop: one QCoreApplication
// (the online layer needs no display), and a registry store of the tests'
// own.
#include "platform/Registry.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  qunsetenv("AEROLITH_SERVER");
  qunsetenv("AEROLITH_SERVER_CA");
  QCoreApplication app(argc, argv);
  QTemporaryDir settings;
  CTRegistryStore::SetUserFolder(settings.path());
  CTRegistryStore::SetMachineFolder(settings.filePath(QStringLiteral("machine")));
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
