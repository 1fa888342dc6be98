// GUI tests need one QApplication for the whole run, and a registry store
// of their own: the window keeps settings (chart legends) there.
#include "i18n/LangSupport.h"
#include "platform/Registry.h"
#include "support/EarlierStart.h"

#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QTemporaryDir settings;
  CTRegistryStore::SetUserFolder(settings.path());
  // A locale chosen: the first-start question would wait for an answer.
  CTLangSupport::SetLocaleData(CTCountryDefinition::OwnNumber(QStringLiteral("USA")), 1033);
  // The window's start-up asks the download server: one that refuses.
  NoServerToAsk();
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
