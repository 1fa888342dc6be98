#pragma once
// The network transport with a log: every exchange goes out as the program
// sends it, and the operation of each call to the program-information
// service (its SOAPAction) is kept with the way the exchange ended. For
// tests that count what a window or a command asks of a real server.
// Exchanges may run on any thread; the log is guarded.

#include "online/Transport.h"

#include <QByteArray>
#include <QList>
#include <QMutex>
#include <QMutexLocker>

#include <utility>

class CTCountingTransport final : public CTTransport {
 public:
  CTCountingTransport() { CTTransport::SetForTests(this); }
  ~CTCountingTransport() override { CTTransport::SetForTests(nullptr); }
  CTCountingTransport(const CTCountingTransport&) = delete;
  CTCountingTransport& operator=(const CTCountingTransport&) = delete;

  LTHttpResponse Exchange(const LTHttpRequest& request) override {
    const LTHttpResponse response = v_network.Exchange(request);
    QByteArray operation;
    for (const auto& [name, value] : request.headers)
      if (name == "SOAPAction") operation = value.mid(value.indexOf('#') + 1).chopped(1);
    const QMutexLocker lock(&v_mutex);
    v_log.append({operation, response.outcome});
    return response;
  }

  // The service's operations asked so far, in order (other requests left out).
  QList<QByteArray> Operations() const {
    const QMutexLocker lock(&v_mutex);
    QList<QByteArray> operations;
    for (const auto& [operation, outcome] : v_log)
      if (!operation.isEmpty()) operations << operation;
    return operations;
  }
  qsizetype Count(const QByteArray& operation) const { return Operations().count(operation); }
  // How each exchange so far ended, in order.
  QList<LTHttpOutcome> Outcomes() const {
    const QMutexLocker lock(&v_mutex);
    QList<LTHttpOutcome> outcomes;
    for (const auto& entry : v_log) outcomes << entry.second;
    return outcomes;
  }

 private:
  CTNetworkTransport v_network;
  mutable QMutex v_mutex;
  QList<std::pair<QByteArray, LTHttpOutcome>> v_log;
};
