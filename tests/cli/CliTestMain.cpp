// aerolith-cli draws charts in-process: one QGuiApplication, offscreen,
// and a registry store of its own.
#include "platform/Registry.h"

#include <QGuiApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  QTemporaryDir settings;
  CTRegistryStore::SetUserFolder(settings.path());
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
