#include "recdb/DbLock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

TEST(DbLock, NestedReadsOnOneThreadDoNotWaitForAWaitingWriter) {
  CTDbLock lock;
  lock.LockRead();
  std::atomic<bool> written{false};
  std::thread writer([&] {
    lock.LockWrite();
    written = true;
    lock.UnlockWrite();
  });
  std::this_thread::sleep_for(50ms);  // let the writer queue up
  lock.LockRead();                    // nested: must not wait behind the writer
  EXPECT_FALSE(written);
  lock.UnlockRead();
  lock.UnlockRead();
  writer.join();
  EXPECT_TRUE(written);
}

TEST(DbLock, LongActionWritesAndEndsOnItsOwnThread) {
  CTDbLock lock;
  lock.StartLongAction();
  EXPECT_TRUE(lock.LongActionRunning());
  EXPECT_EQ(lock.ThreadReadDepth(), 1);
  ASSERT_TRUE(lock.LockWrite());  // upgrade from the long action's shared hold
  lock.LockRead();
  lock.UnlockRead();
  lock.UnlockWrite();
  lock.EndLongAction();
  EXPECT_FALSE(lock.LongActionRunning());
  EXPECT_EQ(lock.ThreadReadDepth(), 0);
  ASSERT_TRUE(lock.LockWrite());
  lock.UnlockWrite();
}

// Writers count themselves into and out of the region the lock guards, and
// readers look at that count while they hold the lock. Each thread yields
// inside the region, so that without exclusion another thread would come in
// while it is there: writers would find another writer inside, and readers
// would see one.
TEST(DbLock, WritersExcludeEachOtherAndReaders) {
  constexpr int kWriters = 4, kReaders = 2, kRounds = 1000;
  CTDbLock lock;
  std::atomic<int> writersInside{0}, readersInside{0};
  std::atomic<int> writesWithAnotherWriterInside{0}, writesWithAReaderInside{0}, readsWithAWriterInside{0};
  int unguardedCounter = 0;  // touched by writers only, and only under the lock
  std::vector<std::thread> threads;
  for (int t = 0; t < kWriters; ++t)
    threads.emplace_back([&] {
      for (int i = 0; i < kRounds; ++i) {
        lock.LockWrite();
        if (++writersInside > 1) ++writesWithAnotherWriterInside;
        if (readersInside > 0) ++writesWithAReaderInside;
        ++unguardedCounter;
        std::this_thread::yield();
        --writersInside;
        lock.UnlockWrite();
      }
    });
  for (int t = 0; t < kReaders; ++t)
    threads.emplace_back([&] {
      for (int i = 0; i < kRounds; ++i) {
        lock.LockRead();
        ++readersInside;
        if (writersInside > 0) ++readsWithAWriterInside;
        std::this_thread::yield();
        --readersInside;
        lock.UnlockRead();
      }
    });
  for (auto& t : threads) t.join();
  EXPECT_EQ(writesWithAnotherWriterInside, 0);
  EXPECT_EQ(writesWithAReaderInside, 0);
  EXPECT_EQ(readsWithAWriterInside, 0);
  EXPECT_EQ(unguardedCounter, kWriters * kRounds);
}

}  // namespace
