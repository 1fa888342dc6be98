// The main of the benchmarks that need an application: widgets and fonts,
// offscreen.

#include "i18n/LangSupport.h"
#include "platform/Registry.h"
#include "support/EarlierStart.h"

#include <QApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  // A registry store of the benchmarks' own, with a locale chosen: the
  // first-start question would wait for an answer.
  QTemporaryDir settings;
  CTRegistryStore::SetUserFolder(settings.path());
  CTLangSupport::SetLocaleData(CTCountryDefinition::OwnNumber(QStringLiteral("USA")), 1033);
  // Nor may the general terms of a first start, or a slow server.
  CountEarlierStart();
  NoServerToAsk();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
