// An edit to its result through the selection form, no widgets: one
// committed airflow per person goes through the setter, the request is
// normalised, the candidates of the three plenum arrangements are found and
// the first is computed in both modes; the option rows of the unit are
// asked for as the Results tab asks. Goal: under 1 ms on the demonstration
// catalogue.

#include "selection/CatalogueSession.h"
#include "selection/SelectionForm.h"

#include <benchmark/benchmark.h>

namespace {

void BM_FormEditToResult(benchmark::State& state) {
  CTCatalogueSession session;
  QString error;
  if (!session.OpenEmbedded(CTCatalogueSession::AutoCorrect::kOn, error)) {
    state.SkipWithError(qPrintable(error));
    return;
  }
  CTSelectionForm form(session);
  form.Reset(0);
  int i = 0;
  for (auto _ : state) {
    // 4.5 to 6.5 l/s per person: the candidates and the current unit change.
    form.SetValue(FormInput::kAirflowPerPerson, 4.5 + (i++ % 5) * 0.5);
    benchmark::DoNotOptimize(form.OptionRows().size());
  }
  state.counters["candidates"] = form.Result().candidates.Count();
}
BENCHMARK(BM_FormEditToResult)->Unit(benchmark::kMicrosecond);

}  // namespace
