#include "platform/SingleInstance.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

TEST(SingleInstance, SecondHolderIsRefusedUntilTheFirstReleases) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  ASSERT_EQ(setenv("AEROLITH_RUNTIME_DIR", dir.path().toLocal8Bit().constData(), 1), 0);

  CTSingleInstance first("Global\\Aerolith");
  CTSingleInstance second("Global\\Aerolith");
  EXPECT_TRUE(first.LockFilePath().endsWith("/Global_Aerolith.lock"));
  EXPECT_TRUE(first.TryAcquire());
  EXPECT_TRUE(first.TryAcquire());  // holding already
  EXPECT_FALSE(second.TryAcquire());
  first.Release();
  EXPECT_TRUE(second.TryAcquire());

  CTSingleInstance other("Global\\Other");
  EXPECT_TRUE(other.TryAcquire());
  unsetenv("AEROLITH_RUNTIME_DIR");
}
