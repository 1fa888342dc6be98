// Charts of a demonstration selection drawn into images: the psychrometric
// chart at 800 x 600 and 1600 x 1000, the fan graph, and one hover event on
// the Psychrometrics tab, whose counter shows that hovering never draws the
// chart again.
// Goals: a full draw under 10 ms; a hover event under 1 ms.

#include "app/PsychroBox.h"
#include "app/DlgSelect.h"
#include "bench/SilentPresenter.h"
#include "charts/ChartSetup.h"
#include "charts/PainterSurface.h"
#include "i18n/BaseMsgMan.h"
#include "selection/CatalogueSession.h"
#include "selection/SelectionRun.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTabWidget>

#include <benchmark/benchmark.h>

namespace {

const SelectionResult& Demo() {
  static CTCatalogueSession session;
  static SelectionResult result;
  if (!session.IsOpen()) {
    QString error;
    if (!session.OpenEmbedded(CTCatalogueSession::AutoCorrect::kOn, error)) qFatal("%s", qPrintable(error));
    SelectionRequest request;
    request.basis = AirflowBasis::kTotals;
    request.totalSupplyLs = 100;
    result = CTSelectionRun::Run(session, request);
  }
  return result;
}

void BM_PsychrometricChart(benchmark::State& state) {
  const SelectionResult& result = Demo();
  const QSize size(int(state.range(0)), int(state.range(1)));
  QImage image(size, QImage::Format_RGB32);
  for (auto _ : state) {
    image.fill(Qt::white);
    QPainter painter(&image);
    CTPainterSurface surface(&painter, true);
    CTChartSetup::ProcessDiagram(surface, size, result, true)->DrawDiagram(true);
  }
}

void BM_FanGraph(benchmark::State& state) {
  const SelectionResult& result = Demo();
  const QSize size(800, 600);
  QImage image(size, QImage::Format_RGB32);
  for (auto _ : state) {
    image.fill(Qt::white);
    QPainter painter(&image);
    CTPainterSurface surface(&painter, true);
    const auto graph = CTChartSetup::FanGraph(surface, size, result);
    graph->DrawOutline(true, false);
    graph->DrawGraph();
  }
}

// A mouse move over the chart of the Psychrometrics tab, painted.
void BM_HoverOnThePsychrometricsTab(benchmark::State& state) {
  SilentPresenter presenter;
  TBaseMsg::SetPresenter(&presenter);
  TDlgSelect window;
  if (!window.StartUp({})) return state.SkipWithError("start-up failed");
  window.resize(1440, 900);
  window.show();
  window.Pages()->setCurrentWidget(window.Pages()->findChild<QWidget*>(QStringLiteral("Tab_Psychrometrics")));
  QApplication::processEvents();
  auto* box = window.findChild<TPsychroBox*>(QStringLiteral("PB_PsyGraph"));
  box->repaint();
  const int drawsBefore = box->DrawCount();
  int i = 0;
  for (auto _ : state) {
    const QPointF at(100 + (i++ % 200) * 2, 300);
    QMouseEvent move(QEvent::MouseMove, at, box->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(box, &move);
    box->repaint();
  }
  state.counters["full_draws"] = box->DrawCount() - drawsBefore;
  window.SetDataHaveChanged(false);
  TBaseMsg::SetPresenter(nullptr);
}

BENCHMARK(BM_PsychrometricChart)->Args({800, 600})->Args({1600, 1000})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FanGraph)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HoverOnThePsychrometricsTab)->Unit(benchmark::kMicrosecond);

}  // namespace
