#include "recdb/LZSS.h"
#include "recdb/LZSSSmallPhrase.h"

#include <QBuffer>
#include <QCryptographicHash>

#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <iterator>
#include <mutex>
#include <vector>

namespace {

using namespace std::chrono_literals;

// ------------------------------------------------------------ fixtures

// Inputs that a short script reproduces exactly: a linear congruential
// generator, x = x * 1103515245 + 12345 mod 2^32, of which bits 16..30 are
// used.
class TScriptRandom {
 public:
  explicit TScriptRandom(std::uint32_t seed) : v_x(seed) {}
  std::uint32_t Next() {
    v_x = v_x * 1103515245u + 12345u;
    return (v_x >> 16) & 0x7FFF;
  }

 private:
  std::uint32_t v_x;
};

// Record lines like those of a database file: repeated field codes, varied
// numbers.
QByteArray ScriptText(int nBytes) {
  TScriptRandom random(7);
  QByteArray text;
  for (int id = 1; text.size() < nBytes; ++id) {
    const std::uint32_t value = random.Next() % 5000;
    const std::uint32_t count = random.Next() % 40;
    const std::uint32_t code = random.Next() % 7;
    text += "2 " + QByteArray::number(id) + " 10 " + QByteArray::number(count) + " 4 " +
            QByteArray::number(value / 100) + "." + QByteArray::number(value % 100) + " 4 0.25 2 " +
            QByteArray::number(code) + "\r\n";
  }
  text.truncate(nBytes);
  return text;
}

QByteArray ScriptBytes(int nBytes, std::uint32_t seed = 9) {
  TScriptRandom random(seed);
  QByteArray bytes(nBytes, Qt::Uninitialized);
  for (char& c : bytes) c = static_cast<char>((random.Next() >> 7) & 0xFF);
  return bytes;
}

QByteArray Sha1Hex(const QByteArray& bytes) { return QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex(); }

// Text, then random bytes, then a run: every kind of token in one input.
QByteArray MixedData(int nBytes) {
  const int third = nBytes / 3;
  QByteArray data = ScriptText(third) + ScriptBytes(third) + QByteArray(nBytes - 2 * third, 'r');
  return data;
}

// Packs tokens as the coder must: MSB first, end marker, zero padding.
class TExpectedBits {
 public:
  TExpectedBits(int indexBits, int lengthBits) : v_indexBits(indexBits), v_lengthBits(lengthBits) {}
  TExpectedBits& Literal(char c) {
    Put(1, 1);
    Put(static_cast<unsigned char>(c), 8);
    return *this;
  }
  TExpectedBits& Pair(int position, int length) {
    Put(0, 1);
    Put(static_cast<unsigned>(position), v_indexBits);
    Put(static_cast<unsigned>(length - 2), v_lengthBits);
    return *this;
  }
  QByteArray End() {
    Put(0, 1 + v_indexBits);
    while (v_bits.size() % 8 != 0) v_bits.push_back(false);
    QByteArray bytes;
    for (std::size_t i = 0; i < v_bits.size(); i += 8) {
      int byte = 0;
      for (std::size_t k = 0; k < 8; ++k) byte = (byte << 1) | (v_bits[i + k] ? 1 : 0);
      bytes.append(static_cast<char>(byte));
    }
    return bytes;
  }

 private:
  void Put(unsigned value, int n) {
    for (int k = n - 1; k >= 0; --k) v_bits.push_back(((value >> k) & 1) != 0);
  }
  int v_indexBits;
  int v_lengthBits;
  std::vector<bool> v_bits;
};

// A buffer that hands out its bytes in small reads of changing size, so
// that a coder meets the end of its input block at every bit offset.
class TTrickleBuffer : public QBuffer {
 public:
  using QBuffer::QBuffer;

 protected:
  qint64 readData(char* data, qint64 maxSize) override {
    static constexpr qint64 kSizes[] = {7, 8, 9, 1, 13, 16, 3};
    const qint64 size = kSizes[v_reads++ % std::size(kSizes)];
    return QBuffer::readData(data, std::min(maxSize, size));
  }

 private:
  std::size_t v_reads = 0;
};

// Accepts nAccepted bytes, then fails every write.
class TFailingDevice : public QIODevice {
 public:
  explicit TFailingDevice(qint64 nAccepted) : v_left(nAccepted) { open(QIODevice::WriteOnly); }

 protected:
  qint64 readData(char*, qint64) override { return -1; }
  qint64 writeData(const char*, qint64 len) override {
    if (v_left <= 0) return -1;
    const qint64 n = std::min(len, v_left);
    v_left -= n;
    return n;
  }

 private:
  qint64 v_left;
};

// A device whose reads and writes block until the test opens the gate; the
// reads then find the end of the data.
class TGateDevice : public QIODevice {
 public:
  explicit TGateDevice(OpenMode mode) { open(mode | QIODevice::Unbuffered); }
  bool isSequential() const override { return true; }
  void OpenGate() {
    {
      std::lock_guard lock(v_mutex);
      v_open = true;
    }
    v_changed.notify_all();
  }

 protected:
  qint64 readData(char*, qint64) override {
    Wait();
    return 0;
  }
  qint64 writeData(const char*, qint64 len) override {
    Wait();
    return len;
  }

 private:
  void Wait() {
    std::unique_lock lock(v_mutex);
    v_changed.wait(lock, [&] { return v_open; });
  }
  std::mutex v_mutex;
  std::condition_variable v_changed;
  bool v_open = false;
};

// A sequential source: what was read is gone unless given back.
class TPipe : public QIODevice {
 public:
  explicit TPipe(const QByteArray& data) : v_data(data) { open(QIODevice::ReadOnly); }
  bool isSequential() const override { return true; }

 protected:
  qint64 readData(char* data, qint64 maxSize) override {
    const qint64 n = std::min(maxSize, v_data.size() - v_at);
    std::memcpy(data, v_data.constData() + v_at, static_cast<std::size_t>(n));
    v_at += n;
    return n;
  }
  qint64 writeData(const char*, qint64) override { return -1; }

 private:
  QByteArray v_data;
  qint64 v_at = 0;
};

template <typename Coder, typename Source = QBuffer>
QByteArray CompressThrough(QByteArray plain) {
  Source in(&plain);
  in.open(QIODevice::ReadOnly);
  QByteArray packed;
  QBuffer out(&packed);
  out.open(QIODevice::WriteOnly);
  EXPECT_TRUE(Coder::Compress(&in, &out));
  return packed;
}

template <typename Coder, typename Source = QBuffer>
QByteArray ExpandThrough(QByteArray packed, bool* pComplete = nullptr) {
  Source in(&packed);
  in.open(QIODevice::ReadOnly);
  QByteArray plain;
  QBuffer out(&plain);
  out.open(QIODevice::WriteOnly);
  const bool bComplete = Coder::Expand(&in, &out);
  if (pComplete) *pComplete = bComplete;
  return plain;
}

// ------------------------------------------------------ the direct coders

TEST(LZSSLogic, CodesEdgeCasesToExactBytes) {
  const QByteArray run(100, 'A');
  struct Case {
    const char* name;
    QByteArray (*compress)(const QByteArray&);
    QByteArray plain;
    QByteArray expected;
  };
  auto standard = [](const QByteArray& b) { return CTLZSSLogic::Compress(b); };
  auto smallPhrase = [](const QByteArray& b) { return CTLZSSSmallPhraseLogic::Compress(b); };
  const Case cases[] = {
      // End marker 0 + 12 zero bits, three padding bits.
      {"empty", standard, "", QByteArray::fromHex("0000")},
      // 1 01000001, 0 000000000000, padding.
      {"one byte", standard, "A", QByteArray::fromHex("a08000")},
      {"empty, small phrase", smallPhrase, "", QByteArray::fromHex("0000")},
      {"one byte, small phrase", smallPhrase, "A", QByteArray::fromHex("a08000")},
      // "AB" again at position 4 is a 2-byte match with position 1.
      {"shortest match", standard, "ABxAB", TExpectedBits(12, 4).Literal('A').Literal('B').Literal('x').Pair(1, 2).End()},
      // One literal at position 1, then each pair copies from the position
      // just behind the current one, 17 bytes at most; the last 14 bytes
      // are all that is left.
      {"run", standard, run,
       TExpectedBits(12, 4).Literal('A').Pair(1, 17).Pair(18, 17).Pair(35, 17).Pair(52, 17).Pair(69, 17).Pair(86, 14).End()},
      // The same with 13-bit positions and at most 9 bytes a pair: 99 = 11 x 9.
      {"run, small phrase", smallPhrase, run, [] {
         TExpectedBits bits(13, 3);
         bits.Literal('A');
         for (int position = 1; position < 100; position += 9) bits.Pair(position, 9);
         return bits.End();
       }()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.compress(c.plain).toHex(), c.expected.toHex());
  }
}

// Which of several equal matches is coded depends on the tree, its tie
// rule and its deletions; a plain, slow implementation of the same
// algorithm (byte-by-byte comparisons, one bit at a time) gave these
// lengths and SHA-1 digests.
TEST(LZSSLogic, ChoosesTheSameMatchesAsTheReferenceCoder) {
  struct Case {
    const char* name;
    QByteArray (*compress)(const QByteArray&);
    QByteArray plain;
    int nPacked;
    const char* sha1;
  };
  auto standard = [](const QByteArray& b) { return CTLZSSLogic::Compress(b); };
  auto smallPhrase = [](const QByteArray& b) { return CTLZSSSmallPhraseLogic::Compress(b); };
  const QByteArray text = ScriptText(20000);
  const QByteArray bytes = ScriptBytes(10000);
  const Case cases[] = {
      {"text", standard, text, 6118, "26f30b8da6c3c1e9b0a0d7d89e9332deac8d79b1"},
      {"text, small phrase", smallPhrase, text, 6498, "1a8d2c6c56423c197695b84d142e206ba4036bc4"},
      {"bytes", standard, bytes, 11196, "36b425044a4c70fc589ea6b3af9f5c80df7fd72d"},
      {"bytes, small phrase", smallPhrase, bytes, 11167, "d8982f4ce75be91cf7312d5bb92c0525dfccdcbf"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const QByteArray packed = c.compress(c.plain);
    EXPECT_EQ(packed.size(), c.nPacked);
    EXPECT_EQ(Sha1Hex(packed), c.sha1);
  }
}

// Pairs name window positions: the first byte went to position 1, the
// window starts all zero, and the current position holds the byte written
// a window size ago.
TEST(LZSSLogic, ExpandsPairsFromWindowPositions) {
  QByteArray distinct;  // 4096 bytes, none 0
  for (int i = 0; i < 4096; ++i) distinct.append(static_cast<char>(1 + i % 255));
  TExpectedBits wrapped(12, 4);
  for (const char c : distinct) wrapped.Literal(c);
  struct Case {
    const char* name;
    QByteArray packed;
    QByteArray expected;
  };
  const Case cases[] = {
      {"overlapping copy", TExpectedBits(12, 4).Literal('x').Literal('y').Pair(1, 5).End(), "xyxyxyx"},
      {"unwritten positions are zero", TExpectedBits(12, 4).Literal('x').Pair(100, 3).End(), QByteArray("x\0\0\0", 4)},
      {"current position after a full window", wrapped.Pair(1, 3).End(), distinct + distinct.left(3)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    bool bComplete = false;
    EXPECT_EQ(CTLZSSLogic::Expand(c.packed, &bComplete).toHex(), c.expected.toHex());
    EXPECT_TRUE(bComplete);
  }
}

template <typename Coder>
class LZSSCoders : public testing::Test {};
using CoderTypes = testing::Types<CTLZSSLogic, CTLZSSSmallPhraseLogic>;
TYPED_TEST_SUITE(LZSSCoders, CoderTypes);

// Sizes around the look-ahead, the window sizes and the block size, over
// ordinary and trickling devices (block ends at every bit offset).
TYPED_TEST(LZSSCoders, RoundTripAcrossWindowAndBlockSizes) {
  const int sizes[] = {0, 1, 2, 9, 10, 17, 18, 4095, 4096, 4097, 8191, 8192, 8193, 16383, 16384, 16385, 50000};
  struct Kind {
    const char* name;
    QByteArray (*make)(int);
  };
  const Kind kinds[] = {
      {"text", [](int n) { return ScriptText(n); }},
      {"random", [](int n) { return ScriptBytes(n); }},
      {"zeros", [](int n) { return QByteArray(n, '\0'); }},
      {"mixed", MixedData},
  };
  for (const Kind& kind : kinds) {
    for (const int size : sizes) {
      SCOPED_TRACE(testing::Message() << kind.name << ", " << size << " bytes");
      const QByteArray plain = kind.make(size);
      const QByteArray packed = CompressThrough<TypeParam>(plain);
      bool bComplete = false;
      EXPECT_EQ(ExpandThrough<TypeParam>(packed, &bComplete), plain);
      EXPECT_TRUE(bComplete);
      EXPECT_EQ((CompressThrough<TypeParam, TTrickleBuffer>(plain)), packed);
      EXPECT_EQ((ExpandThrough<TypeParam, TTrickleBuffer>(packed)), plain);
    }
  }
}

// Bytes 1..200 hold no repeated pair, so they code as 200 literals of 9
// bits. Cut after c bytes, the data holds n = 8c / 9 whole literals and
// r = 8c mod 9 bits of the next; the missing bits read as 0, so a literal
// with r - 1 of its bits comes out (when r > 0), and then the zeros form
// the end marker.
TEST(LZSSLogic, CutDataEndsAtTheFirstMissingBits) {
  QByteArray plain;
  for (int b = 1; b <= 200; ++b) plain.append(static_cast<char>(b));
  const QByteArray packed = CTLZSSLogic::Compress(plain);
  ASSERT_EQ(packed.size(), (200 * 9 + 13 + 7) / 8);
  for (int cut = 0; cut <= 224; ++cut) {
    SCOPED_TRACE(cut);
    const int whole = 8 * cut / 9;
    const int rest = 8 * cut % 9;
    QByteArray expected = plain.left(whole);
    if (rest > 0) expected.append(static_cast<char>(plain[whole] & (0xFF << (9 - rest)) & 0xFF));
    bool bComplete = true;
    EXPECT_EQ(ExpandThrough<CTLZSSLogic>(packed.left(cut), &bComplete).toHex(), expected.toHex());
    EXPECT_FALSE(bComplete);
  }
}

// Every token costs at least a bit per byte it produces, so garbage can
// neither run on nor blow up.
TEST(LZSSLogic, GarbageExpandsToAnEnd) {
  for (const unsigned seed : {1u, 2u, 3u}) {
    const QByteArray garbage = ScriptBytes(20000, seed);
    EXPECT_LE(CTLZSSLogic::Expand(garbage).size(), 8 * garbage.size());
    EXPECT_LE(CTLZSSSmallPhraseLogic::Expand(garbage).size(), 8 * garbage.size());
  }
}

// ------------------------------------------------------------- streams

// Pieces of changing, odd sizes, some larger than a hand-over block.
std::vector<qint64> OddChunks() { return {1, 7, 4093, 65537, 3, 70001}; }

TEST(LZSSStreams, CompressorStreamCodesLikeTheDirectCoder) {
  struct Case {
    const char* name;
    int size;
    bool bExplicitFinish;
  };
  const Case cases[] = {
      {"nothing written", 0, true},
      {"one hand-over block", CTLZSSHandOver::kBlockSize, true},
      {"two hand-over blocks", 2 * CTLZSSHandOver::kBlockSize, true},
      {"odd size", 200003, true},
      {"finished by the destructor", 200003, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const QByteArray plain = MixedData(c.size);
    QByteArray packed;
    QBuffer out(&packed);
    out.open(QIODevice::WriteOnly);
    {
      CTLZSSCompressorStream stream(&out);
      const std::vector<qint64> chunks = OddChunks();
      qint64 pos = 0;
      for (std::size_t i = 0; pos < plain.size(); ++i) {
        const qint64 n = std::min(chunks[i % chunks.size()], plain.size() - pos);
        ASSERT_EQ(stream.write(plain.constData() + pos, n), n);
        pos += n;
      }
      if (c.bExplicitFinish) {
        EXPECT_TRUE(stream.Finish());
        EXPECT_TRUE(stream.Success());
      }
    }
    EXPECT_EQ(packed, CTLZSSLogic::Compress(plain));
  }
}

TEST(LZSSStreams, ExpanderStreamDeliversTheDataInAnyPieces) {
  const QByteArray plain = MixedData(300007);
  QByteArray packed = CTLZSSLogic::Compress(plain);

  QBuffer in(&packed);
  in.open(QIODevice::ReadOnly);
  CTLZSSExpanderStream stream(&in);
  EXPECT_FALSE(stream.atEnd());
  QByteArray read;
  const std::vector<qint64> chunks = OddChunks();
  for (std::size_t i = 0;; ++i) {
    QByteArray piece(chunks[i % chunks.size()], Qt::Uninitialized);
    const qint64 n = stream.read(piece.data(), piece.size());
    ASSERT_GE(n, 0);
    if (n == 0) break;
    read += piece.left(n);
  }
  EXPECT_EQ(read, plain);
  EXPECT_TRUE(stream.atEnd());
  EXPECT_TRUE(stream.Success());

  // readAll, over an input that trickles in.
  TTrickleBuffer trickle(&packed);
  trickle.open(QIODevice::ReadOnly);
  CTLZSSExpanderStream second(&trickle);
  EXPECT_EQ(second.readAll(), plain);
}

TEST(LZSSStreams, CutDataFailsTheExpanderStream) {
  const QByteArray plain = ScriptText(100000);
  QByteArray cut = CTLZSSLogic::Compress(plain).chopped(100);
  QBuffer in(&cut);
  in.open(QIODevice::ReadOnly);
  CTLZSSExpanderStream stream(&in);
  const QByteArray read = stream.readAll();
  // All but the last token come out as they were.
  ASSERT_GT(read.size(), plain.size() / 2);
  EXPECT_TRUE(plain.startsWith(read.chopped(CTLZSSLogic::kLongestMatch)));
  EXPECT_FALSE(stream.Success());
}

TEST(LZSSStreams, FailingOutputDeviceFailsTheCompressor) {
  struct Case {
    const char* name;
    qint64 nAccepted;  // by the output device
    int nPlain;
  };
  const Case cases[] = {
      {"fails at once", 0, 400000},
      {"fails part way", 30000, 400000},
      {"fails on the last bytes", 2, 10},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const QByteArray plain = ScriptBytes(c.nPlain);
    TFailingDevice out(c.nAccepted);
    CTLZSSCompressorStream stream(&out);
    qint64 accepted = 0;
    bool bRefused = false;
    for (qint64 pos = 0; pos < plain.size() && !bRefused; pos += 1000) {
      const qint64 n = std::min<qint64>(1000, plain.size() - pos);
      const qint64 written = stream.write(plain.constData() + pos, n);
      bRefused = written < n;
      accepted += std::max<qint64>(written, 0);
    }
    if (bRefused) {
      // Once failed, the stream takes nothing more.
      EXPECT_LT(accepted, plain.size());
      EXPECT_EQ(stream.write("more", 4), -1);
    }
    EXPECT_FALSE(stream.Finish());
    EXPECT_FALSE(stream.Success());
  }
}

// A worker stuck in its device makes the other side's wait run out; that
// is a failure, and no block changes hands.
TEST(LZSSStreams, StuckWorkerFailsTheStreamAtTheWaitLimit) {
  {
    // Two blocks go to the worker; the third needs one back from a worker
    // that waits in its first output write.
    const QByteArray plain = ScriptBytes(3 * CTLZSSHandOver::kBlockSize);
    TGateDevice out(QIODevice::WriteOnly);
    CTLZSSCompressorStream stream(&out, 20ms);
    EXPECT_LT(stream.write(plain), plain.size());
    EXPECT_FALSE(stream.Success());
    EXPECT_EQ(stream.write("x", 1), -1);
    out.OpenGate();
    EXPECT_FALSE(stream.Finish());
  }
  {
    TGateDevice in(QIODevice::ReadOnly);
    CTLZSSExpanderStream stream(&in, 20ms);
    char buffer[10];
    EXPECT_EQ(stream.read(buffer, sizeof buffer), -1);
    EXPECT_FALSE(stream.Success());
    in.OpenGate();
  }
}

TEST(LZSSStreams, DestroyingAnExpanderEarlyStopsItsWorker) {
  // 2 MB that code quickly, as 17-byte pairs, into about 250 kB.
  QByteArray packed = CTLZSSLogic::Compress(QByteArray(2000000, 'z'));
  QBuffer in(&packed);
  in.open(QIODevice::ReadOnly);
  {
    // With no time limit worth the name, only a stop request can end the
    // worker, which waits with two hand-over blocks filled; a destructor
    // that waited for it would hang the test.
    CTLZSSExpanderStream stream(&in, std::chrono::hours(1));
    char header[100];
    ASSERT_EQ(stream.read(header, sizeof header), 100);
  }
  // The worker stopped far from the end of the data.
  EXPECT_LT(in.pos(), packed.size() / 2);
}

// ---------------------------------------------------------- signature

TEST(LZSSSignature, RecognisesSignatureOrGivesTheDataBack) {
  const QByteArray body = "ROZ100\r\n5 18 TBL_DdbVersionInfo 101\r\n";
  const QByteArray packed = CTLZSSLogic::Compress(body);
  struct Case {
    const char* name;
    QByteArray bytes;
    QString signature;
    qint64 start;  // where the reader starts
    bool bCompressed;
  };
  const Case cases[] = {
      {"signature, then compressed data", "K7R" + packed, "K7R", 0, true},
      {"plain text", body, "K7R", 0, false},
      {"last signature byte differs", "K7X" + packed, "K7R", 0, false},
      {"data shorter than the signature", "K7", "K7R", 0, false},
      {"no data", "", "K7R", 0, false},
      {"empty signature: all compressed", packed, "", 0, true},
      {"plain text behind a prefix", "XXXX" + body, "K7R", 4, false},
      {"signature behind a prefix", "XXXXK7R" + packed, "K7R", 4, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QByteArray bytes = c.bytes;
    QBuffer in(&bytes);
    in.open(QIODevice::ReadOnly);
    in.seek(c.start);
    const auto expander = CTLZSSExpanderStream::OpenBehindSignature(&in, c.signature);
    EXPECT_EQ(expander != nullptr, c.bCompressed);
    if (expander) {
      EXPECT_EQ(expander->readAll(), body);
    } else {
      EXPECT_EQ(in.pos(), c.start);
      EXPECT_EQ(in.readAll(), c.bytes.mid(c.start));
    }
  }

  // A source that cannot seek gets its bytes back too.
  TPipe pipe("K7Q plain");
  EXPECT_FALSE(CTLZSSExpanderStream::OpenBehindSignature(&pipe, "K7R"));
  EXPECT_EQ(pipe.readAll(), "K7Q plain");
}

TEST(LZSSSignature, WriterPutsTheSignatureBeforeTheCompressedData) {
  const QByteArray body = ScriptText(5000);
  QByteArray file;
  QBuffer out(&file);
  out.open(QIODevice::WriteOnly);
  {
    const auto compressor = CTLZSSCompressorStream::CreateBehindSignature(&out, "K7R");
    ASSERT_NE(compressor, nullptr);
    compressor->write(body);
    EXPECT_TRUE(compressor->Finish());
  }
  EXPECT_EQ(file, "K7R" + CTLZSSLogic::Compress(body));
}

}  // namespace
