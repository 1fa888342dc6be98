// Document tests measure text with real fonts: one QGuiApplication, offscreen.
#include "platform/Registry.h"

#include <QGuiApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  QTemporaryDir settings;  // a registry store of the tests' own
  CTRegistryStore::SetUserFolder(settings.path());
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
