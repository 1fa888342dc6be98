// Documents of a demonstration selection: the material list built, measured
// and written as a workbook; the full report with its six pictures written
// as RTF (and as PDF, for comparison).
// Goals: a material list under 20 ms; the RTF report under 300 ms and under
// 2 MB (the "bytes" counter).

#include "docs/MaterialList.h"
#include "docs/PdfOutput.h"
#include "docs/Report.h"
#include "platform/Registry.h"
#include "selection/CatalogueSession.h"
#include "selection/OptionSelection.h"
#include "selection/SelectionRun.h"

#include <QBuffer>
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

// The report of NV-400 with its options, into memory: the writing and the
// pictures, not the disk.
void ReportInto(benchmark::State& state, bool bPdf) {
  CTCatalogueSession session;
  QString error;
  if (!session.OpenEmbedded(CTCatalogueSession::AutoCorrect::kOn, error)) return state.SkipWithError("no catalogue");
  SelectionRequest request;
  request.basis = AirflowBasis::kTotals;
  request.totalSupplyLs = 100;
  const SelectionResult result = CTSelectionRun::Run(session, request);
  Cls_HRX* unit = result.Current();
  if (!unit) return state.SkipWithError("no unit");
  LTReportInput input;
  input.session = &session;
  input.request = &request;
  input.result = &result;
  input.options = CTOptionSelection::FillOptions(*unit, LTOptionInputs::Of(request));
  qint64 bytes = 0;
  for (auto _ : state) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (bPdf) {
      CTPdfOutput pdf(buffer, input.applicationTitle, CTReport::kPaperWCm, CTReport::kPaperHCm, CTReport::kMarginLeftCm,
                      CTReport::kMarginCm, CTReport::kMarginCm, CTReport::kMarginCm);
      CTReport::Write(pdf, input);
      pdf.Finish();
    } else {
      CTRTFOutput rtf(buffer, input.applicationTitle, CTReport::kPaperWCm, CTReport::kPaperHCm, CTReport::kMarginLeftCm,
                      CTReport::kMarginCm, CTReport::kMarginCm, CTReport::kMarginCm);
      CTReport::Write(rtf, input);
      rtf.Finish();
    }
    bytes = buffer.size();
  }
  state.counters["bytes"] = double(bytes);
}

void BM_ReportRtf(benchmark::State& state) { ReportInto(state, false); }
void BM_ReportPdf(benchmark::State& state) { ReportInto(state, true); }
BENCHMARK(BM_ReportRtf)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReportPdf)->Unit(benchmark::kMillisecond);

}  // namespace
