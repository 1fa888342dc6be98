// Binary readers over arbitrary bytes: the first byte chooses the sequence of
// reads, the rest is the stream. Nothing may crash, hang or allocate beyond
// what the input holds.

#include "recdb/LLByteIO.h"

#include <QBuffer>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  QByteArray bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  CTLLByteIO io(&buffer);
  std::uint8_t program = data[0];
  for (int step = 0; step < 64; ++step) {
    QByteArray text;
    QString unicode;
    std::int64_t i64 = 0;
    long double ext = 0;
    bool ok = false;
    switch ((program + step) % 7) {
      case 0: ok = io.GetString(text); break;
      case 1: ok = io.GetLongString(text); break;
      case 2: ok = io.GetUnicodeString(unicode); break;
      case 3: ok = io.GetStrippedUnicodeString(text); break;
      case 4: ok = io.GetInt64(i64); break;
      case 5: ok = io.GetExtended(ext); break;
      case 6: ok = io.GetStringOfLength(text, i64 & 0xFFFF); break;
    }
    if (!ok) break;
  }
  return 0;
}
