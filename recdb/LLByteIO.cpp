#include "recdb/LLByteIO.h"

#include "i18n/BaseMsgMan.h"
#include "recdb/MyFileStream.h"

#include <QSaveFile>

#include <bit>
#include <cfloat>
#include <cstring>

static_assert(std::endian::native == std::endian::little, "the byte layouts assume a little-endian machine");
static_assert(LDBL_MANT_DIG == 64, "GetExtended and PutExtended assume x87 80-bit long double");

bool CTLLByteIO::ReadBytes(void* p, std::int64_t n, std::int64_t* pGot) {
  auto* out = static_cast<std::uint8_t*>(p);
  std::int64_t got = 0;
  while (got < n) {
    if (v_bufPos >= v_bufSize) {
      const qint64 r = v_stream ? v_stream->read(reinterpret_cast<char*>(v_buffer.data()), kBufferSize) : 0;
      v_bufPos = 0;
      v_bufSize = r > 0 ? static_cast<std::int32_t>(r) : 0;
      if (v_bufSize == 0) break;
    }
    const std::int64_t take = std::min<std::int64_t>(n - got, v_bufSize - v_bufPos);
    std::memcpy(out + got, v_buffer.data() + v_bufPos, static_cast<std::size_t>(take));
    v_bufPos += static_cast<std::int32_t>(take);
    got += take;
  }
  if (pGot) *pGot = got;
  return got == n;
}

template <typename T>
bool CTLLByteIO::GetFixed(T& val) {
  unsigned char bytes[sizeof(T)];
  if (!ReadBytes(bytes, sizeof(T))) return false;
  std::memcpy(&val, bytes, sizeof(T));
  return true;
}

bool CTLLByteIO::NextByte(std::uint8_t& b) { return GetFixed(b); }
bool CTLLByteIO::GetShortInt(std::int8_t& val) { return GetFixed(val); }
bool CTLLByteIO::GetSmallInt(std::int16_t& val) { return GetFixed(val); }
bool CTLLByteIO::GetWord(std::uint16_t& val) { return GetFixed(val); }
bool CTLLByteIO::GetInteger(std::int32_t& val) { return GetFixed(val); }
bool CTLLByteIO::GetLongWord(std::uint32_t& val) { return GetFixed(val); }
bool CTLLByteIO::GetInt64(std::int64_t& val) { return GetFixed(val); }
bool CTLLByteIO::GetSingle(float& val) { return GetFixed(val); }
bool CTLLByteIO::GetDateTime(double& val) { return GetFixed(val); }
bool CTLLByteIO::GetCurrency(std::int64_t& nScaled) { return GetFixed(nScaled); }

bool CTLLByteIO::GetExtended(long double& val) {
  unsigned char bytes[10];
  if (!ReadBytes(bytes, 10)) return false;
  long double value = 0;
  std::memcpy(&value, bytes, 10);
  val = value;
  return true;
}

bool CTLLByteIO::GetByteArray(void* val, std::int64_t len) { return len <= 0 || ReadBytes(val, len); }

bool CTLLByteIO::GetStringOfLength(QByteArray& val, std::int64_t len) {
  val.clear();
  if (len <= 0) return len == 0;
  // Grow with the bytes that arrive, never by the announced length.
  char chunk[4096];
  std::int64_t left = len;
  while (left > 0) {
    const std::int64_t want = std::min<std::int64_t>(left, sizeof chunk);
    std::int64_t got = 0;
    const bool bComplete = ReadBytes(chunk, want, &got);
    val.append(chunk, static_cast<qsizetype>(got));
    if (!bComplete) return false;
    left -= got;
  }
  return true;
}

bool CTLLByteIO::GetString(QByteArray& val) {
  std::uint8_t n = 0;
  if (!NextByte(n)) return false;
  return GetStringOfLength(val, n);
}

bool CTLLByteIO::GetLongString(QByteArray& val) {
  std::int32_t n = 0;
  if (!GetInteger(n)) return false;
  if (n < 0) return false;
  return GetStringOfLength(val, n);
}

bool CTLLByteIO::GetUnicodeString(QString& val) {
  std::uint32_t n = 0;
  if (!GetLongWord(n)) return false;
  if (n > kMaxUnicodeLength) return false;
  QByteArray bytes;
  const bool bComplete = GetStringOfLength(bytes, std::int64_t(n) * 2);
  // A cut string keeps its whole code units.
  val = QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData()), bytes.size() / 2);
  return bComplete;
}

bool CTLLByteIO::GetStrippedUnicodeString(QByteArray& val) {
  val.clear();
  std::uint16_t n = 0;
  if (!GetWord(n)) return false;
  for (std::uint16_t i = 0; i < n; ++i) {
    std::uint16_t unit = 0;
    if (!GetWord(unit)) return false;
    val.append(static_cast<char>(unit & 0xFF));
  }
  return true;
}

// ---------------------------------------------------------------- writing

bool CTLLByteIO::WriteBytes(const void* p, std::int64_t n) {
  if (n <= 0) return true;
  return v_stream && v_stream->write(static_cast<const char*>(p), n) == n;
}

template <typename T>
bool CTLLByteIO::PutFixed(T val) {
  return WriteBytes(&val, sizeof(T));
}

bool CTLLByteIO::PutAByte(std::uint8_t b) { return PutFixed(b); }
bool CTLLByteIO::PutShortInt(std::int8_t val) { return PutFixed(val); }
bool CTLLByteIO::PutSmallInt(std::int16_t val) { return PutFixed(val); }
bool CTLLByteIO::PutWord(std::uint16_t val) { return PutFixed(val); }
bool CTLLByteIO::PutInteger(std::int32_t val) { return PutFixed(val); }
bool CTLLByteIO::PutLongWord(std::uint32_t val) { return PutFixed(val); }
bool CTLLByteIO::PutSingle(float val) { return PutFixed(val); }
bool CTLLByteIO::PutInt64(std::int64_t val) { return PutFixed(val); }
bool CTLLByteIO::PutDateTime(double val) { return PutFixed(val); }
bool CTLLByteIO::PutCurrency(std::int64_t nScaled) { return PutFixed(nScaled); }

bool CTLLByteIO::PutExtended(long double val) {
  unsigned char bytes[sizeof(long double)] = {};
  std::memcpy(bytes, &val, sizeof(long double));
  return WriteBytes(bytes, 10);
}

bool CTLLByteIO::PutUnicodeStringAndLength(const QString& val) {
  if (!PutInteger(static_cast<std::int32_t>(val.size()))) return false;
  return WriteBytes(val.utf16(), std::int64_t(val.size()) * 2);
}

bool CTLLByteIO::PutStringAndLength(const QByteArray& val, bool bCompact) {
  if (val.size() <= 255) return PutAByte(static_cast<std::uint8_t>(val.size())) && WriteBytes(val.constData(), val.size());
  if (!bCompact) return false;  // the one-byte length cannot say it
  return PutInteger(static_cast<std::int32_t>(val.size())) && WriteBytes(val.constData(), val.size());
}

// ---------------------------------------------------------------- positioning

void CTLLByteIO::DropReadAhead() {
  const std::int32_t unread = v_bufSize - v_bufPos;
  if (unread > 0 && v_stream) v_stream->seek(v_stream->pos() - unread);
  v_bufPos = 0;
  v_bufSize = 0;
}

bool CTLLByteIO::ExpBlockRead(void* Buf, std::int64_t Count, std::int64_t& AmtTransferred) {
  DropReadAhead();
  AmtTransferred = 0;
  if (!v_stream || Count <= 0) return Count == 0;
  const qint64 n = v_stream->read(static_cast<char*>(Buf), Count);
  AmtTransferred = n > 0 ? n : 0;
  return AmtTransferred == Count;
}

bool CTLLByteIO::ExpBlockWrite(const void* Buf, std::int64_t Count) {
  DropReadAhead();
  return WriteBytes(Buf, Count);
}

std::int64_t CTLLByteIO::ExpFileSize() const { return v_stream ? v_stream->size() : 0; }

std::int64_t CTLLByteIO::ExpFilePos() {
  DropReadAhead();
  return v_stream ? v_stream->pos() : 0;
}

bool CTLLByteIO::ExpSeek(std::int64_t N) {
  v_bufPos = 0;
  v_bufSize = 0;
  return v_stream && v_stream->seek(N);
}

// ---------------------------------------------------------------- copy

bool CTLLByteIO::CopyFile(const QString& szSourceFileName, const QString& szTargetFileName, bool bFlagErrors) {
  std::unique_ptr<CTMyFileStream> source;
  try {
    source = std::make_unique<CTMyFileStream>(szSourceFileName, CTMyFileStream::kOpenReadDenyWrite);
  } catch (const CTFileStreamError&) {
    if (bFlagErrors) TBaseMsg::DisplayError(nullptr, -2, szSourceFileName);
    return false;
  }
  QSaveFile target(szTargetFileName);
  if (!target.open(QIODevice::WriteOnly)) {
    if (bFlagErrors) TBaseMsg::DisplayError(nullptr, -3, szTargetFileName);
    return false;
  }
  bool bOk = true;
  char chunk[65536];
  for (;;) {
    const qint64 n = source->read(chunk, sizeof chunk);
    if (n == 0) break;
    if (n < 0 || target.write(chunk, n) != n) {
      bOk = false;
      break;
    }
  }
  if (bOk) bOk = target.commit();
  else target.cancelWriting();
  if (!bOk && bFlagErrors) TBaseMsg::DisplayError(nullptr, -3, szTargetFileName);
  return bOk;
}
