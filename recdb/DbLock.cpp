#include "recdb/DbLock.h"

#include "recdb/Cursors.h"

#include <chrono>

namespace {
thread_local int t_readDepth = 0;  // this thread's shared holds of the global lock
}  // namespace

CTDbLock& CTDbLock::Global() {
  static CTDbLock lock;
  return lock;
}

int CTDbLock::ThreadReadDepth() const { return t_readDepth; }

int CTDbLock::ThreadWriteDepth() const {
  std::lock_guard<std::mutex> guard(v_mutex);
  return v_writeDepth > 0 && v_writer == std::this_thread::get_id() ? v_writeDepth : 0;
}

void CTDbLock::LockRead() {
  std::unique_lock<std::mutex> guard(v_mutex);
  const auto self = std::this_thread::get_id();
  const bool bHolding = t_readDepth > 0 || (v_writeDepth > 0 && v_writer == self);
  if (!bHolding)
    v_changed.wait(guard, [&] { return v_writeDepth == 0 && v_waitingWriters == 0; });
  ++v_readers;
  ++t_readDepth;
}

void CTDbLock::UnlockRead() {
  std::lock_guard<std::mutex> guard(v_mutex);
  if (t_readDepth == 0) return;  // unbalanced: ignore rather than corrupt the count
  --t_readDepth;
  --v_readers;
  v_changed.notify_all();
}

bool CTDbLock::LockWrite() {
  std::unique_lock<std::mutex> guard(v_mutex);
  const auto self = std::this_thread::get_id();
  if (v_writeDepth > 0 && v_writer == self) {
    ++v_writeDepth;
    return true;
  }
  ++v_waitingWriters;
  const auto free = [&] { return v_writeDepth == 0 && v_readers - t_readDepth == 0; };
  bool bGot = true;
  if (t_readDepth > 0) bGot = v_changed.wait_for(guard, std::chrono::milliseconds(kUpgradeWaitMs), free);
  else v_changed.wait(guard, free);
  --v_waitingWriters;
  if (!bGot) {
    v_changed.notify_all();
    return false;
  }
  v_writer = self;
  v_writeDepth = 1;
  return true;
}

void CTDbLock::UnlockWrite() {
  std::lock_guard<std::mutex> guard(v_mutex);
  if (v_writeDepth == 0 || v_writer != std::this_thread::get_id()) return;
  if (--v_writeDepth == 0) v_writer = std::thread::id();
  v_changed.notify_all();
}

void CTDbLock::StartLongAction() {
  if (LockWrite()) {
    {
      std::lock_guard<std::mutex> guard(v_mutex);
      v_longAction = true;
    }
    UnlockWrite();
  }
  TCursors::SetHourGlass();
  LockRead();
}

void CTDbLock::EndLongAction() {
  // Still holding the shared lock of the long action: the upgrade waits only
  // for other threads.
  const bool bWrite = LockWrite();
  {
    std::lock_guard<std::mutex> guard(v_mutex);
    v_longAction = false;
  }
  if (bWrite) UnlockWrite();
  UnlockRead();
  TCursors::HideHourGlass();
}

bool CTDbLock::LongActionRunning() const {
  std::lock_guard<std::mutex> guard(v_mutex);
  return v_longAction;
}
