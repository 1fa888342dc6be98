#pragma once
// CTTransport: one HTTP exchange, run to its end before the call returns.
// The program's one way onto the network; unit tests put a fake in its place
// (SetForTests), everything else uses CTNetworkTransport over Qt Network.
//
// Every exchange has bounds, so that a server that never answers, answers
// slowly or answers without end cannot hold the program:
//   nOverallMs   the whole exchange, connection to last byte (0: none)
//   nIdleMs      the longest silence between two pieces of the answer (0: none)
//   nMaxBytes    the longest answer; a longer one ends as kTooLarge
// An answer whose status is not 2xx is a failure (kHttpStatus).
//
// https:// is trusted only with a certificate that a known authority signed
// for the very host name of the URL: the system's authorities, plus those of
// the company CA file beside the mirror setting (CTCorvelConfig::MirrorCaFile).
// Anything less ends as kUntrusted before a byte of the request is sent,
// with the reason in szProblem. http:// stays as it is: what it carries is
// trusted through its signatures, not through the connection.

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <utility>

class QIODevice;

// Bytes received so far and the length the server announced; called from
// within the exchange, on the caller's thread.
using CTTransferProgress = std::function<void(qint64 nReceived, qint64 nTotal)>;

struct LTHttpRequest {
  enum class Verb { kGet, kPost };
  Verb verb = Verb::kGet;
  QByteArray url;  // complete and encoded: "http[s]://host:port/path?query"
  QList<std::pair<QByteArray, QByteArray>> headers;
  QByteArray body;     // the POST body, unless uploadFile is given
  QString uploadFile;  // a POST body read from this file
  // The answer is written here instead of into LTHttpResponse::body.
  QIODevice* pSink = nullptr;
  qint64 nMaxBytes = 4 * 1024 * 1024;
  int nOverallMs = 5000;
  int nIdleMs = 0;
  CTTransferProgress progress;
};

enum class LTHttpOutcome {
  kOk,          // a 2xx answer, received whole
  kNoServer,    // no URL, no connection, or the connection broke
  kHttpStatus,  // the server answered with a status other than 2xx
  kTimedOut,    // a time bound ran out
  kTooLarge,    // the answer grew past nMaxBytes
  kLocalFile,   // the upload file could not be read or the sink not written
  kUntrusted,   // https: no secure connection to a certificate we trust
};

struct LTHttpResponse {
  LTHttpOutcome outcome = LTHttpOutcome::kNoServer;
  int nStatus = 0;     // the HTTP status, 0 when none arrived
  QByteArray body;     // empty when a sink was given
  qint64 nReceived = 0;
  QString szProblem;   // kUntrusted: why, in words ("The host name did not match ...")
  bool Ok() const { return outcome == LTHttpOutcome::kOk; }
};

class CTTransport {
 public:
  virtual ~CTTransport() = default;
  virtual LTHttpResponse Exchange(const LTHttpRequest& request) = 0;

  // The transport in effect: the network, or the one a test set.
  static CTTransport& Current();
  // nullptr returns to the network. The caller keeps ownership.
  static void SetForTests(CTTransport* pTransport);
};

// Qt Network, with a local event loop that lets no user input through while
// the exchange runs (the window stays painted, its buttons wait). Needs a
// QCoreApplication; without one every exchange answers kNoServer.
class CTNetworkTransport final : public CTTransport {
 public:
  LTHttpResponse Exchange(const LTHttpRequest& request) override;
};
