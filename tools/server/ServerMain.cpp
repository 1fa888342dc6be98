// aerolith-server: our download server and program-information service,
// also what a company runs as its own mirror, and what the online tests
// talk to.
//
//   aerolith-server --root DIR [--bind ADDRESS] [--port N] [--fault MODE]
//                   [--cert FILE --key FILE]
//
// Prints "listening on http://ADDRESS:PORT" (https:// with a certificate)
// once it listens; port 0 takes a free port. Ends on SIGINT or SIGTERM. One
// line per request on stderr.

#include "tools/server/ServerHttp.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <pthread.h>
#include <sys/types.h>
#include <unistd.h>
#include <signal.h>

#include <atomic>
#include <cstdio>
#include <thread>

namespace {

const char* const kUsage =
    "usage: aerolith-server --root DIR [--bind ADDRESS] [--port N] [--fault none|never|slow|garbage]\n"
    "                       [--cert FILE --key FILE]\n";

int Usage(const QString& szProblem) {
  if (!szProblem.isEmpty()) std::fprintf(stderr, "aerolith-server: %s\n", qPrintable(szProblem));
  std::fputs(kUsage, stderr);
  return 2;
}

int Fail(const QString& szProblem) {
  std::fprintf(stderr, "aerolith-server: %s\n", qPrintable(szProblem));
  return 1;
}

}  // namespace

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  const QStringList args = QCoreApplication::arguments().mid(1);
  LTServerOptions options;
  bool bRootGiven = false;
  for (qsizetype i = 0; i < args.size(); ++i) {
    const QString& szOption = args[i];
    if (szOption == QLatin1String("--help") || szOption == QLatin1String("-h")) {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (i + 1 >= args.size()) return Usage(QStringLiteral("%1 needs a value").arg(szOption));
    const QString& szValue = args[++i];
    if (szOption == QLatin1String("--root")) {
      options.szRoot = szValue;
      bRootGiven = true;
    } else if (szOption == QLatin1String("--bind")) {
      options.szBind = szValue;
    } else if (szOption == QLatin1String("--port")) {
      bool bOk = false;
      options.nPort = szValue.toInt(&bOk);
      if (!bOk || options.nPort < 0 || options.nPort > 65535) return Usage(QStringLiteral("bad port %1").arg(szValue));
    } else if (szOption == QLatin1String("--cert")) {
      options.szCertFile = szValue;
    } else if (szOption == QLatin1String("--key")) {
      options.szKeyFile = szValue;
    } else if (szOption == QLatin1String("--fault")) {
      if (!CTDownloadServer::ParseFault(szValue, options.fault)) {
        return Usage(QStringLiteral("unknown fault mode %1").arg(szValue));
      }
    } else {
      return Usage(QStringLiteral("unknown option %1").arg(szOption));
    }
  }
  if (!bRootGiven || options.szRoot.isEmpty()) return Usage(QStringLiteral("--root is required"));
  if (options.szCertFile.isEmpty() != options.szKeyFile.isEmpty())
    return Usage(QStringLiteral("--cert and --key go together"));
  if (!QFileInfo(options.szRoot).isDir()) return Fail(QStringLiteral("root folder %1 does not exist").arg(options.szRoot));

  // A client that hangs up mid-answer must cost one connection, not the
  // process. The stop signals are taken by one thread with sigwait, so no
  // worker is ever interrupted by them; the workers inherit the mask.
  signal(SIGPIPE, SIG_IGN);
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  CTDownloadServer server(options);
  QString szError;
  if (!server.Bind(szError)) return Fail(szError);

  std::atomic<bool> bServing{true};
  std::thread stopper([&] {
    int nSignal = 0;
    sigwait(&stopSignals, &nSignal);
    if (bServing.load()) server.Stop();
  });

  const QString szHost = options.szBind.contains(QLatin1Char(':')) ? QStringLiteral("[%1]").arg(options.szBind)
                                                                     : options.szBind;
  const char* szScheme = options.szCertFile.isEmpty() ? "http" : "https";
  std::printf("listening on %s://%s:%d\n", szScheme, qPrintable(szHost), server.Port());
  std::fflush(stdout);
  const bool bOk = server.Run();

  // Wakes the stopper when serving ended by itself.
  if (bServing.exchange(false)) kill(getpid(), SIGTERM);
  stopper.join();
  if (!bOk) return Fail(QStringLiteral("serving failed"));
  return 0;
}
