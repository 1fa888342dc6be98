#pragma once
// The rule that one user runs one copy of the program: an exclusive advisory
// lock on a per-user lock file, held for the life of the process. The kernel
// drops the lock when the process ends, however it ends, so a crashed copy
// never blocks the next start.
//
// A later start hands its file to the copy that holds the lock, over a local
// stream socket beside the lock file: "<lock file name>-<uid>.sock", mode
// 0600, in the per-user lock folder. Only the holder binds it, and it first
// removes a socket file that a crashed holder left: the lock, not the socket
// file, says who runs. The holder takes requests only from its own user
// (peer credentials).
//
// The request, as the bytes lie (integers big-endian):
//   offset 0   4 bytes   "AHO1": magic and version
//   offset 4   uint32    n, the length of the path in bytes, 0 <= n <= 4096
//   offset 8   n bytes   the absolute path in UTF-8, without NUL; n = 0 asks
//                        the holder only to come to the front
// e.g. "/p/a.ven" is 41 48 4F 31 00 00 00 08 2F 70 2F 61 2E 76 65 6E.
// The holder answers one byte 06 once it has taken the request, then
// closes. A request that breaks a rule above, is cut short or is not
// complete within 2 s is dropped without an answer.

#include <QObject>
#include <QString>

#include <memory>

class CTSingleInstance : public QObject {
  Q_OBJECT
 public:
  // szName names the lock ("Global\Aerolith"); characters that cannot stand
  // in a file name are replaced.
  explicit CTSingleInstance(const QString& szName, QObject* pParent = nullptr);
  ~CTSingleInstance() override;
  CTSingleInstance(const CTSingleInstance&) = delete;
  CTSingleInstance& operator=(const CTSingleInstance&) = delete;

  // True when this object now holds the lock (or already held it); false when
  // another holder has it or the lock file cannot be opened.
  bool TryAcquire();
  // Stops listening and removes the socket, then lets the lock go.
  void Release();
  bool IsHeld() const { return v_fd >= 0; }
  QString LockFilePath() const { return v_path; }
  QString SocketPath() const { return v_socketPath; }

  // Holder: takes the requests of later starts from the event loop and
  // emits HandedOver for each. False when this object does not hold the lock
  // or the socket cannot be bound (its path too long for a socket address).
  bool Listen();
  bool IsListening() const { return v_channel != nullptr; }

  // A later start: gives szPath (absolute; empty: only come to the front) to
  // the holder and waits up to nWaitMs for its answer. Never blocks longer.
  // False when nobody took it: no holder listens (not yet, or the socket is
  // stale), the holder is busy or hangs, or the path breaks the rules above.
  bool HandOver(const QString& szPath, int nWaitMs) const;

  // The longest path a request carries, in UTF-8 bytes (the system's own
  // limit on a path).
  static constexpr int kMaxPathBytes = 4096;
  // How long the holder waits for a request to be complete.
  static constexpr int kRequestWaitMs = 2000;

  // Default: $AEROLITH_RUNTIME_DIR, else the user's runtime folder, else the
  // user's configuration folder of the registry store.
  static QString LockFolder();

 signals:
  // A request taken; emitted from the event loop, after the answer went out.
  void HandedOver(const QString& szPath);

 private:
  struct LTChannel;

  QString v_path;
  QString v_socketPath;
  int v_fd = -1;
  std::unique_ptr<LTChannel> v_channel;  // while listening
};
