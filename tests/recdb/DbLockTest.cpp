#include "recdb/DbLock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

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

TEST(DbLock, WriterExcludesOtherThreads) {
  CTDbLock lock;
  int counter = 0;
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&] {
      for (int i = 0; i < 1000; ++i) {
        lock.LockWrite();
        ++counter;
        lock.UnlockWrite();
        lock.LockRead();
        lock.UnlockRead();
      }
    });
  for (auto& t : threads) t.join();
  EXPECT_EQ(counter, 4000);
}

}  // namespace
