#pragma once
// CTLLByteIO: fixed-width little-endian values and length-prefixed strings
// over a stream, for binary formats. Reads are buffered (16384 bytes of
// read-ahead), writes go straight to the stream.
//
// Layouts, as the bytes lie:
//   GetSmallInt/GetWord      2 bytes      GetInteger/GetLongWord/GetSingle  4 bytes
//   GetInt64/GetDateTime     8 bytes      GetCurrency  8 bytes, value x 10000
//   GetExtended              10 bytes, x87 80-bit extended
//   GetString                n:1  bytes[n]          "ab" -> 02 61 62
//   GetLongString            n:4  bytes[n]
//   GetUnicodeString         n:4  utf16le[n]        "ab" -> 02 00 00 00 61 00 62 00
//   GetStrippedUnicodeString n:2  utf16le[n], low bytes kept
//
// Every Get answers false when the stream ends first. A fixed-width value
// then leaves its target unchanged; a string keeps what was read. A length
// read from the stream is never trusted for an allocation: the text grows
// only by the bytes that really arrive.

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <array>
#include <cstdint>

class CTLLByteIO {
 public:
  static constexpr int kBufferSize = 16384;
  static constexpr std::uint32_t kMaxUnicodeLength = 0x3ffffffe;  // code units

  explicit CTLLByteIO(QIODevice* pStream) : v_stream(pStream) {}

  // --- reading ---
  bool NextByte(std::uint8_t& b);
  bool GetShortInt(std::int8_t& val);
  bool GetSmallInt(std::int16_t& val);
  bool GetWord(std::uint16_t& val);
  bool GetInteger(std::int32_t& val);
  bool GetLongWord(std::uint32_t& val);
  bool GetInt64(std::int64_t& val);
  bool GetSingle(float& val);
  bool GetDateTime(double& val);             // days since 1899-12-30, fraction = time of day
  bool GetCurrency(std::int64_t& nScaled);   // the value x 10000
  bool GetExtended(long double& val);
  bool GetByteArray(void* val, std::int64_t len);
  bool GetString(QByteArray& val);
  bool GetLongString(QByteArray& val);
  bool GetRawByteString(QByteArray& val) { return GetLongString(val); }
  bool GetStringOfLength(QByteArray& val, std::int64_t len);
  bool GetRawByteStringOfLength(QByteArray& val, std::int64_t len) { return GetStringOfLength(val, len); }
  bool GetUnicodeString(QString& val);
  bool GetStrippedUnicodeString(QByteArray& val);

  // --- writing (true when every byte was written) ---
  bool PutAByte(std::uint8_t b);
  bool PutShortInt(std::int8_t val);
  bool PutSmallInt(std::int16_t val);
  bool PutWord(std::uint16_t val);
  bool PutInteger(std::int32_t val);
  bool PutLongWord(std::uint32_t val);
  bool PutSingle(float val);
  bool PutInt64(std::int64_t val);
  bool PutDateTime(double val);
  bool PutCurrency(std::int64_t nScaled);
  bool PutExtended(long double val);
  bool PutUnicodeStringAndLength(const QString& val);
  // One length byte up to 255 bytes; with bCompact a 32-bit length from 256
  // bytes on. Without bCompact a longer string cannot be written: nothing is
  // written and the answer is false.
  bool PutStringAndLength(const QByteArray& val, bool bCompact);

  // --- positioning (each drops the read-ahead) ---
  bool ExpBlockRead(void* Buf, std::int64_t Count, std::int64_t& AmtTransferred);
  bool ExpBlockWrite(const void* Buf, std::int64_t Count);
  std::int64_t ExpFileSize() const;
  std::int64_t ExpFilePos();
  bool ExpSeek(std::int64_t N);

  // Copies a whole file; the target is written aside and renamed, so a failed
  // copy leaves no partial target. With bFlagErrors failures show messages
  // -2 (source) or -3 (target).
  static bool CopyFile(const QString& szSourceFileName, const QString& szTargetFileName, bool bFlagErrors);

 private:
  // Reads exactly n bytes into p; false (with what arrived consumed) when the
  // stream ends first. *pGot receives how many arrived.
  bool ReadBytes(void* p, std::int64_t n, std::int64_t* pGot = nullptr);
  bool WriteBytes(const void* p, std::int64_t n);
  // Gives the buffered bytes not yet handed out back to the stream.
  void DropReadAhead();
  template <typename T>
  bool GetFixed(T& val);
  template <typename T>
  bool PutFixed(T val);

  QIODevice* v_stream;
  std::int32_t v_bufPos = 0;   // next buffered byte
  std::int32_t v_bufSize = 0;  // valid buffered bytes
  std::array<std::uint8_t, kBufferSize> v_buffer{};
};
