// The start of the selection window to its being shown (StartUp, show,
// exposed), offscreen, with the download server behind the start-up's
// question about newer builds in three states:
//   refused    nothing listens on the port: the connection is refused at once
//   silent     aerolith-server --fault never: it takes the connection and
//              never answers (a firewall that drops packets does the same)
//   answering  aerolith-server answering at once that nothing is newer
// Goal: silent and answering each no more than 100 ms over refused (before
// the question had a thread of its own, the silent start took 5.5 s and the
// others about 0.23 s, as whole processes).
// The counter close_ms is the closing of the window right after it showed,
// with the question still out against the silent server: the program's end
// must not wait for the question's 5 s bound (goal: a few milliseconds).

#include "app/DlgSelect.h"
#include "bench/SilentPresenter.h"
#include "i18n/BaseMsgMan.h"
#include "support/ServedFiles.h"
#include "support/TestServer.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QWindow>

#include <benchmark/benchmark.h>

#include <memory>
#include <optional>

namespace {

enum class TServer { kRefused, kSilent, kAnswering };

// Waits until the platform has exposed the window; false when it never does.
bool Exposed(const TDlgSelect& window) {
  const QDeadlineTimer deadline(10000);
  while (!(window.windowHandle() && window.windowHandle()->isExposed())) {
    if (deadline.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  }
  return true;
}

// The presenter and the server address for one benchmark, put back after.
class LTScope {
 public:
  LTScope() { TBaseMsg::SetPresenter(&v_presenter); }
  ~LTScope() {
    qputenv("AEROLITH_SERVER", v_server);
    TBaseMsg::SetPresenter(nullptr);
  }
  LTScope(const LTScope&) = delete;
  LTScope& operator=(const LTScope&) = delete;

 private:
  SilentPresenter v_presenter;
  QByteArray v_server = qgetenv("AEROLITH_SERVER");
};

void BM_StartUpToWindowShown(benchmark::State& state, TServer nServer) {
  const LTScope scope;
  QTemporaryDir root;
  // Version 1 of the program: older than any build, so nothing is newer and
  // no hint waits for an answer.
  if (!TestFiles::Write(root.filePath("service.json"), R"({"programs":[{"name":"Aerolith.exe","id":7,"version":1}]})"))
    return state.SkipWithError("cannot write the served folder");
  std::optional<CTTestServer> server;
  if (nServer != TServer::kRefused) {
    server.emplace(root.path(), nServer == TServer::kSilent ? QStringLiteral("never") : QString());
    if (!server->Running()) return state.SkipWithError("aerolith-server does not run");
    qputenv("AEROLITH_SERVER", server->HostAndPort().toLatin1());
  }
  double closeMs = 0;
  for (auto _ : state) {
    auto window = std::make_unique<TDlgSelect>();
    if (!window->StartUp({})) return state.SkipWithError("start-up failed");
    window->show();
    if (!Exposed(*window)) return state.SkipWithError("the window never showed");
    state.PauseTiming();
    window->SetDataHaveChanged(false);
    QElapsedTimer closing;
    closing.start();
    window.reset();
    closeMs += double(closing.nsecsElapsed()) / 1e6;
    state.ResumeTiming();
  }
  state.counters["close_ms"] = benchmark::Counter(closeMs, benchmark::Counter::kAvgIterations);
}

BENCHMARK_CAPTURE(BM_StartUpToWindowShown, refused, TServer::kRefused)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_StartUpToWindowShown, silent, TServer::kSilent)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_StartUpToWindowShown, answering, TServer::kAnswering)->Unit(benchmark::kMillisecond);

}  // namespace
