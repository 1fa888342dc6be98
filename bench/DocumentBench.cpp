// Documents of a demonstration selection: the material list built, measured
// and written as a workbook.
// Goal: a material list under 20 ms.

#include "docs/MaterialList.h"
#include "platform/Registry.h"
#include "selection/CatalogueSession.h"
#include "selection/OptionSelection.h"
#include "selection/SelectionRun.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

void BM_MaterialList(benchmark::State& state) {
  CTCatalogueSession session;
  QString error;
  if (!session.OpenEmbedded(CTCatalogueSession::AutoCorrect::kOn, error)) return state.SkipWithError("no catalogue");
  SelectionRequest request;
  request.basis = AirflowBasis::kTotals;
  request.totalSupplyLs = 100;
  request.supplyEspPa = request.exhaustEspPa = 40;
  request.supplyFilter = request.exhaustFilter = 2;
  request.plenum = PlenumArrangement::kAll;
  const SelectionResult result = CTSelectionRun::Run(session, request);
  Cls_HRX* unit = result.Current();
  if (!unit) return state.SkipWithError("no unit");
  QTemporaryDir dir;
  const QString previousStore = CTRegistryStore::UserFolder();
  CTRegistryStore::SetUserFolder(dir.path());
  const QString path = dir.filePath("list.xml");
  for (auto _ : state) {
    CTDocTable table;
    CTMaterialList::Build(table, *unit, CTOptionSelection::FillOptions(*unit, LTOptionInputs::Of(request)),
                          LTMaterialListSettings::Read());
    if (!CTMaterialList::Write(path, table, error)) return state.SkipWithError("cannot write");
  }
  CTRegistryStore::SetUserFolder(previousStore);
}
BENCHMARK(BM_MaterialList)->Unit(benchmark::kMillisecond);

}  // namespace
