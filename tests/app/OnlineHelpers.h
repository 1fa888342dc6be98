#pragma once
// What the tests of the online windows share: the build's server number and
// the server address for one scope, a loopback port nobody listens on, a
// presenter that answers questions, and acting on a modal window once it is
// up.

#include "i18n/BaseMsgMan.h"
#include "online/CorvelConfig.h"
#include "platform/VersionUtils.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QHostAddress>
#include <QTcpServer>
#include <QTimer>

#include <functional>

// A build of server nServer for one scope.
class BuildOf {
 public:
  explicit BuildOf(int nServer) {
    v_info = CTVersionUtils::Info();
    v_info.serverID = nServer;
    CTVersionUtils::SetInfoForTests(&v_info);
  }
  ~BuildOf() { CTVersionUtils::SetInfoForTests(nullptr); }
  BuildOf(const BuildOf&) = delete;
  BuildOf& operator=(const BuildOf&) = delete;

 private:
  LTBuildInfo v_info;
};

// The program's server at an address for one scope.
class ServerAt {
 public:
  explicit ServerAt(const QString& szHostAndPort) {
    qputenv(CTCorvelConfig::kMirrorEnvironment, szHostAndPort.toLatin1());
  }
  ~ServerAt() { qunsetenv(CTCorvelConfig::kMirrorEnvironment); }
  ServerAt(const ServerAt&) = delete;
  ServerAt& operator=(const ServerAt&) = delete;

  // "127.0.0.1:PORT" of a port that was free a moment ago: connections to
  // it are refused at once.
  static QString ClosedLoopbackPort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const quint16 port = probe.serverPort();
    probe.close();
    return QStringLiteral("127.0.0.1:%1").arg(port);
  }
};

// Keeps the texts shown; a question offering Yes gets v_answer.
class AnsweringPresenter : public IMessagePresenter {
 public:
  int ShowMessage(const CTMessageRequest& r) override {
    shown << r.v_text;
    return HasButton(r.v_dlgBtns, mbYes) ? v_answer : mrOk;
  }
  bool EditString(const CTMessageRequest&, QString&) override { return false; }

  QStringList shown;
  int v_answer = mrYes;
};

// Runs fnAct on the first modal window of type T once it is up; gives up
// after a while, so that a window that never comes cannot be met by a later
// test.
template <typename T>
void WhenModal(std::function<void(T&)> fnAct, QDeadlineTimer deadline = QDeadlineTimer(10000)) {
  QTimer::singleShot(0, [fnAct, deadline] {
    auto* window = qobject_cast<T*>(QApplication::activeModalWidget());
    if (!window) {
      if (!deadline.hasExpired()) WhenModal<T>(fnAct, deadline);
      return;
    }
    fnAct(*window);
  });
}
