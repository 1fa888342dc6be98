#include "recdb/StreamIO.h"

#include <QBuffer>

#include <gtest/gtest.h>

namespace {

// Counts the reads that reach the stream.
class CountingBuffer : public QBuffer {
 public:
  using QBuffer::QBuffer;
  int reads = 0;

 protected:
  qint64 readData(char* data, qint64 maxSize) override {
    ++reads;
    return QBuffer::readData(data, maxSize);
  }
};

TEST(StreamIO, EmptyStreamIsAtEndAtOnce) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  CTStreamIO io(&buffer);
  EXPECT_TRUE(io.Eof());
  EXPECT_EQ(io.ReadChar(), 0);
  EXPECT_EQ(io.ReadChar(), 0);
}

TEST(StreamIO, ReadsAcrossBufferBoundariesAndEndsWithZeros) {
  QByteArray bytes;
  for (int i = 0; i < CTStreamIO::kBufferSize * 2 + 3; ++i) bytes.append(char(1 + i % 251));
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  CTStreamIO io(&buffer);
  for (int i = 0; i < bytes.size(); ++i) {
    ASSERT_FALSE(io.Eof()) << i;
    ASSERT_EQ(io.ReadChar(), std::uint8_t(bytes[i])) << i;
  }
  EXPECT_TRUE(io.Eof());
  EXPECT_EQ(io.ReadChar(), 0);
}

TEST(StreamIO, ExactlyOneBufferMakesOneMoreEmptyFill) {
  QByteArray bytes(CTStreamIO::kBufferSize, 'x');
  CountingBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
  CTStreamIO io(&buffer);
  for (int i = 0; i < CTStreamIO::kBufferSize; ++i) io.ReadChar();
  const int readsBefore = buffer.reads;
  EXPECT_TRUE(io.Eof());
  EXPECT_EQ(buffer.reads, readsBefore + 1);
  // The end is final: no more fills, even if the data grows.
  buffer.buffer().append("more");
  EXPECT_TRUE(io.Eof());
  EXPECT_EQ(io.ReadChar(), 0);
  EXPECT_EQ(buffer.reads, readsBefore + 1);
}

}  // namespace
