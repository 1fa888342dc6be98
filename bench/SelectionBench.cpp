// One selection run as the main window makes it after an input changes:
// the candidates of the plain family for the three plenum arrangements, then
// the first candidate computed in cooling and heating with its savings.
// On the demonstration catalogue and on generated ones of 1k and 10k units
// (aerolith-cli catalogue generate). Goal: under 1 ms on the demonstration
// catalogue, and linear in the number of units.

#include "catalogue/ClHRX.h"
#include "catalogue/Factory.h"
#include "catalogue/RecordCast.h"
#include "psychro/Air.h"
#include "recdb/MemDB.h"
#include "resources/EmbeddedData.h"
#include "tools/CatalogueGenerator.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <map>
#include <memory>

namespace {

struct Catalogue {
  std::unique_ptr<CTFactory> factory;
  ObjectList<Cls_HRX> plainUnits{true};
};

// 0: the embedded catalogue; otherwise a generated one of that many units.
Catalogue& CatalogueWith(int units) {
  static std::map<int, Catalogue> loaded;
  static QTemporaryDir dir;
  auto it = loaded.find(units);
  if (it != loaded.end()) return it->second;
  EmbeddedData::Ensure();
  CTMemDbEngine::RegisterEngine();
  CTResDbEngine::RegisterEngine();
  CTMemDbEngine::UseCompression(true);
  CTMemDbEngine::SetCompressionSignature(QStringLiteral("K7R"));
  Catalogue c;
  c.factory = std::make_unique<CTFactory>();
  if (units == 0) {
    c.factory->SetRequiredEngineType(0, CTResDbEngine::ClassName());
  } else {
    const QString path = dir.filePath(QStringLiteral("catalogue-%1").arg(units));
    QString error;
    if (!CTCatalogueGenerator::Generate(units, path, error)) qFatal("%s", qPrintable(error));
    c.factory->SetRequiredEngineType(0, CTMemDbEngine::ClassName());
    c.factory->SetDatabaseName(0, path);
  }
  c.factory->SetReadOnly(0, true);
  if (!c.factory->Connect()) qFatal("the catalogue does not load");
  ObjectList<Cls_HRX> all = RecordsAs<Cls_HRX>(CTDbObject::GetAllRecords(Cls_HRX::kClassID, false, c.factory.get()));
  for (int i = 0; i < all.Count(); ++i)
    if (all.Item(i)->GetType() == Cls_HRX::kPlainUnit) c.plainUnits.Add(all.Extract(i--));
  c.plainUnits.Sort(Cls_HRX::CompareHRXS);
  return loaded.emplace(units, std::move(c)).first->second;
}

void BM_SelectionRun(benchmark::State& state) {
  Catalogue& c = CatalogueWith(int(state.range(0)));
  CTDbObject::SetDefaultFactory(c.factory.get());
  const TAir air(0);
  const double supply = 360, exhaust = 330;  // m3/h
  int candidates = 0;
  for (auto _ : state) {
    int code = 0;
    ObjectList<Cls_HRX> lists[3] = {
        Cls_HRX::SelectedDevices(c.plainUnits, nullptr, supply, exhaust, 150, 150, 2, 1, 0, code),
        Cls_HRX::SelectedDevices(c.plainUnits, nullptr, supply, exhaust, 150, 150, 2, 1, 1, code),
        Cls_HRX::SelectedDevices(c.plainUnits, nullptr, supply, exhaust, 150, 150, 2, 1, 2, code)};
    candidates = lists[0].Count();
    if (lists[0].IsEmpty()) {
      state.SkipWithError("no candidate");
      break;
    }
    Cls_HRX* first = lists[0].Item(0);
    double latent = 0, saved = 0;
    const ALCoolingResult cooling = first->SelectForCooling({27, 47, 35, 50, supply, exhaust, false, 0, 0}, air, 6, 18);
    first->CalcCoolSavings(cooling.PsychroPoints, supply, air, latent, saved);
    const ALHeatingResult heating = first->SelectForHeating({20, 50, -5, 80, supply, exhaust, false, 0, 0}, air, 20);
    first->CalcHeatSavings(heating.PsychroPoints, supply, air, latent, saved);
    benchmark::DoNotOptimize(saved);
  }
  state.counters["units"] = c.plainUnits.Count();
  state.counters["candidates"] = candidates;
  CTDbObject::SetDefaultFactory(nullptr);
}

BENCHMARK(BM_SelectionRun)->Arg(0)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

}  // namespace
