#pragma once
// The process-wide multi-reader, single-writer lock of all record operations.
//
// Reentrant per thread: a thread that holds the lock (shared or exclusive)
// may take it again in either mode without waiting for anyone but other
// threads. A thread that holds it shared and asks for it exclusively waits
// only for the other threads' readers to leave; this is what lets a long
// action (shared hold) write and finally end under the exclusive lock.
// Two threads upgrading at the same time would wait for each other, so an
// upgrade waits at most kUpgradeWaitMs and then answers false.
// New readers from threads without a hold wait while a writer waits, so
// writers are not starved.

#include <condition_variable>
#include <mutex>
#include <thread>

class CTDbLock {
 public:
  static constexpr int kUpgradeWaitMs = 10000;

  static CTDbLock& Global();

  void LockRead();
  void UnlockRead();
  // False only when an upgrade from a shared hold timed out.
  bool LockWrite();
  void UnlockWrite();

  // Long actions: the exclusive lock only to raise the flag, then a shared
  // hold until EndLongAction, which lowers the flag under the exclusive lock.
  void StartLongAction();
  void EndLongAction();
  bool LongActionRunning() const;

  int ThreadReadDepth() const;
  int ThreadWriteDepth() const;

 private:
  mutable std::mutex v_mutex;
  std::condition_variable v_changed;
  int v_readers = 0;               // shared holds of all threads (nested ones counted)
  int v_writeDepth = 0;            // exclusive holds of the writer
  std::thread::id v_writer;        // valid while v_writeDepth > 0
  int v_waitingWriters = 0;
  bool v_longAction = false;
};

// Scoped holds.
class CTReadLock {
 public:
  CTReadLock() { CTDbLock::Global().LockRead(); }
  ~CTReadLock() { CTDbLock::Global().UnlockRead(); }
  CTReadLock(const CTReadLock&) = delete;
  CTReadLock& operator=(const CTReadLock&) = delete;
};

class CTWriteLock {
 public:
  CTWriteLock() : v_held(CTDbLock::Global().LockWrite()) {}
  ~CTWriteLock() {
    if (v_held) CTDbLock::Global().UnlockWrite();
  }
  bool Held() const { return v_held; }
  CTWriteLock(const CTWriteLock&) = delete;
  CTWriteLock& operator=(const CTWriteLock&) = delete;

 private:
  bool v_held;
};
