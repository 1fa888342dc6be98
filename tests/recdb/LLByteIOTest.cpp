#include "recdb/LLByteIO.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

namespace {

QByteArray Hex(const char* hex) { return QByteArray::fromHex(hex); }

struct Reader {
  explicit Reader(const QByteArray& data) : bytes(data), buffer(&bytes), io(&buffer) {
    buffer.open(QIODevice::ReadOnly);
  }
  QByteArray bytes;
  QBuffer buffer;
  CTLLByteIO io;
};

struct Writer {
  Writer() : buffer(&bytes), io(&buffer) { buffer.open(QIODevice::WriteOnly); }
  QByteArray bytes;
  QBuffer buffer;
  CTLLByteIO io;
};

TEST(LLByteIO, WritesLittleEndianLayouts) {
  Writer w;
  w.io.PutSmallInt(-2);
  w.io.PutWord(0x1234);
  w.io.PutInteger(1);
  w.io.PutLongWord(0xA0B0C0D0u);
  w.io.PutInt64(-1);
  w.io.PutSingle(1.0f);
  w.io.PutDateTime(2.5);
  w.io.PutCurrency(12345);  // 1.2345
  w.io.PutExtended(1.0L);
  EXPECT_EQ(w.bytes, Hex("feff" "3412" "01000000" "d0c0b0a0" "ffffffffffffffff" "0000803f"
                         "0000000000000440" "3930000000000000" "0000000000000080ff3f"));
}

TEST(LLByteIO, StringLayouts) {
  Writer w;
  w.io.PutUnicodeStringAndLength("ab");
  w.io.PutUnicodeStringAndLength("");
  w.io.PutStringAndLength("hello", true);
  w.io.PutStringAndLength("hello", false);
  EXPECT_EQ(w.bytes, Hex("020000006100620000000000" "0568656c6c6f" "0568656c6c6f"));

  Writer longer;
  const QByteArray text(300, 'z');
  EXPECT_TRUE(longer.io.PutStringAndLength(text, true));
  EXPECT_EQ(longer.bytes, Hex("2c010000") + text);
  // Without the compact form the length cannot be said: nothing is written.
  Writer refused;
  EXPECT_FALSE(refused.io.PutStringAndLength(text, false));
  EXPECT_TRUE(refused.bytes.isEmpty());
}

TEST(LLByteIO, ValuesRoundTrip) {
  Writer w;
  w.io.PutShortInt(-7);
  w.io.PutInteger(-123456789);
  w.io.PutInt64(0x0102030405060708LL);
  w.io.PutSingle(-2.5f);
  w.io.PutDateTime(45000.75);
  w.io.PutExtended(3.14159265358979323846L);
  w.io.PutUnicodeStringAndLength(QStringLiteral("Luft °C ✓"));
  w.io.PutStringAndLength("abc", false);
  Reader r(w.bytes);
  std::int8_t i8 = 0;
  std::int32_t i32 = 0;
  std::int64_t i64 = 0;
  float f = 0;
  double d = 0;
  long double ld = 0;
  QString s;
  QByteArray b;
  ASSERT_TRUE(r.io.GetShortInt(i8));
  ASSERT_TRUE(r.io.GetInteger(i32));
  ASSERT_TRUE(r.io.GetInt64(i64));
  ASSERT_TRUE(r.io.GetSingle(f));
  ASSERT_TRUE(r.io.GetDateTime(d));
  ASSERT_TRUE(r.io.GetExtended(ld));
  ASSERT_TRUE(r.io.GetUnicodeString(s));
  ASSERT_TRUE(r.io.GetString(b));
  EXPECT_EQ(i8, -7);
  EXPECT_EQ(i32, -123456789);
  EXPECT_EQ(i64, 0x0102030405060708LL);
  EXPECT_EQ(f, -2.5f);
  EXPECT_EQ(d, 45000.75);
  EXPECT_EQ(ld, 3.14159265358979323846L);
  EXPECT_EQ(s, QStringLiteral("Luft °C ✓"));
  EXPECT_EQ(b, "abc");
  EXPECT_FALSE(r.io.NextByte(reinterpret_cast<std::uint8_t&>(i8)));
}

TEST(LLByteIO, ShortReadsLeaveFixedTargetsAndKeepStringParts) {
  {
    Reader r(Hex("010203"));
    std::int32_t value = 77;
    EXPECT_FALSE(r.io.GetInteger(value));
    EXPECT_EQ(value, 77);
  }
  {
    Reader r(Hex("abcd"));
    QByteArray text;
    EXPECT_FALSE(r.io.GetStringOfLength(text, 5));
    EXPECT_EQ(text, Hex("abcd"));
  }
  {
    Reader r(Hex("03000000" "610062"));  // three code units announced, one and a half there
    QString text;
    EXPECT_FALSE(r.io.GetUnicodeString(text));
    EXPECT_EQ(text, "a");
  }
  {
    Reader r(Hex("0300" "41004200"));
    QByteArray text = "old";
    EXPECT_FALSE(r.io.GetStrippedUnicodeString(text));
    EXPECT_EQ(text, "AB");
  }
}

TEST(LLByteIO, HugeAnnouncedLengthsCostOnlyWhatArrives) {
  Reader unicode(Hex("ffffff3f" "6100"));  // above 0x3ffffffe: refused before reading text
  QString text;
  EXPECT_FALSE(unicode.io.GetUnicodeString(text));
  Reader bytes(Hex("ffffff7f" "616263"));  // 2 GiB announced, 3 bytes there
  QByteArray data;
  EXPECT_FALSE(bytes.io.GetLongString(data));
  EXPECT_EQ(data, "abc");
  Reader negative(Hex("ffffffff" "616263"));
  EXPECT_FALSE(negative.io.GetLongString(data));
}

TEST(LLByteIO, PositionCountsOnlyBytesHandedOut) {
  Reader r(QByteArray(100, 'x'));
  std::int32_t v = 0;
  r.io.GetInteger(v);  // buffers all 100 bytes
  EXPECT_EQ(r.io.ExpFilePos(), 4);
  EXPECT_EQ(r.io.ExpFileSize(), 100);
  char block[10];
  std::int64_t got = 0;
  EXPECT_TRUE(r.io.ExpBlockRead(block, 10, got));
  EXPECT_EQ(got, 10);
  EXPECT_EQ(r.io.ExpFilePos(), 14);
  EXPECT_TRUE(r.io.ExpSeek(98));
  EXPECT_FALSE(r.io.ExpBlockRead(block, 10, got));
  EXPECT_EQ(got, 2);
}

TEST(LLByteIO, CopyFile) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString source = dir.filePath("source.ven");
  QFile file(source);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  const QByteArray content(200000, 'q');
  file.write(content);
  file.close();

  const QString target = dir.filePath("copy.ven");
  EXPECT_TRUE(CTLLByteIO::CopyFile(source, target, false));
  QFile copy(target);
  ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
  EXPECT_EQ(copy.readAll(), content);

  EXPECT_FALSE(CTLLByteIO::CopyFile(dir.filePath("missing.ven"), dir.filePath("x.ven"), false));
  EXPECT_FALSE(QFile::exists(dir.filePath("x.ven")));
  // A target in a folder that does not exist: no partial file anywhere.
  EXPECT_FALSE(CTLLByteIO::CopyFile(source, dir.filePath("no/such/folder/x.ven"), false));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2);
}

}  // namespace
