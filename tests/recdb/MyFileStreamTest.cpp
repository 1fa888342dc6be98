#include "recdb/MyFileStream.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

namespace {

class FileStream : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(v_dir.isValid());
    CTMyFileStream::SetMaxWaitInterval(1600);  // start delay 100 ms
    CTMyFileStream::SetSleepFunction([this](int ms) { v_waits.push_back(ms); });
    v_path = v_dir.filePath("data.roz");
    QFile file(v_path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("content");
  }
  void TearDown() override {
    CTMyFileStream::SetSleepFunction([](int) {});
    CTMyFileStream::SetMaxWaitInterval(1600);
  }
  QTemporaryDir v_dir;
  QString v_path;
  std::vector<int> v_waits;
};

TEST_F(FileStream, OpensAndCreates) {
  {
    CTMyFileStream in(v_path, CTMyFileStream::kOpenReadDenyWrite);
    EXPECT_EQ(in.readAll(), "content");
  }
  {
    CTMyFileStream out(v_path, CTMyFileStream::kCreateExclusive);
    out.write("new");
  }
  CTMyFileStream in(v_path, CTMyFileStream::kOpenReadDenyWrite);
  EXPECT_EQ(in.readAll(), "new");
  EXPECT_TRUE(v_waits.empty());
}

TEST_F(FileStream, MissingFileFailsAtOnce) {
  try {
    CTMyFileStream in(v_dir.filePath("missing"), CTMyFileStream::kOpenReadDenyWrite);
    FAIL() << "opened a missing file";
  } catch (const CTFileStreamError& e) {
    EXPECT_EQ(e.Errno(), ENOENT);
    EXPECT_FALSE(e.Creating());
  }
  EXPECT_TRUE(v_waits.empty());
}

TEST_F(FileStream, LockedFileIsTriedFiveTimesWithGrowingWaits) {
  CTMyFileStream holder(v_path, CTMyFileStream::kCreateExclusive);
  EXPECT_THROW(CTMyFileStream(v_path, CTMyFileStream::kOpenReadDenyWrite), CTFileStreamError);
  EXPECT_EQ(v_waits, (std::vector<int>{100, 200, 400, 800}));
  EXPECT_EQ(CTMyFileStream::StartDelay(), 100);
}

TEST_F(FileStream, ReadersShareButKeepWritersOut) {
  CTMyFileStream reader(v_path, CTMyFileStream::kOpenReadDenyWrite);
  CTMyFileStream secondReader(v_path, CTMyFileStream::kOpenReadDenyWrite);
  EXPECT_TRUE(v_waits.empty());
  EXPECT_THROW(CTMyFileStream(v_path, CTMyFileStream::kCreateExclusive), CTFileStreamError);
  // The failed create truncated nothing.
  EXPECT_EQ(reader.readAll(), "content");
}

TEST_F(FileStream, SuccessAfterWaitingRaisesTheStartDelay) {
  auto holder = std::make_unique<CTMyFileStream>(v_path, CTMyFileStream::kCreateExclusive);
  // The holder lets go during the second wait: the third attempt succeeds.
  CTMyFileStream::SetSleepFunction([&](int ms) {
    v_waits.push_back(ms);
    if (v_waits.size() == 2) holder.reset();
  });
  CTMyFileStream in(v_path, CTMyFileStream::kOpenReadDenyWrite);
  EXPECT_EQ(v_waits, (std::vector<int>{100, 200}));
  EXPECT_EQ(CTMyFileStream::StartDelay(), 400);
}

TEST_F(FileStream, MaxWaitIntervalIsClamped) {
  EXPECT_EQ(CTMyFileStream::SetMaxWaitInterval(50), 1600);
  EXPECT_EQ(CTMyFileStream::MaxDelay(), 100);
  EXPECT_EQ(CTMyFileStream::StartDelay(), 6);
  EXPECT_EQ(CTMyFileStream::SetMaxWaitInterval(100000), 100);
  EXPECT_EQ(CTMyFileStream::MaxDelay(), 6400);
  EXPECT_EQ(CTMyFileStream::StartDelay(), 400);
}

}  // namespace
