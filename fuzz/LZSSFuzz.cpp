// The LZSS coders over arbitrary bytes. Taken as compressed data, the input
// must expand without crashing, hanging or touching memory outside the
// coder's buffers, to at most one byte per input bit, and the expander
// stream must deliver exactly what the direct coder does. Taken as plain
// data, it must come back from its own compression, and the compressor
// stream must code it like the direct coder.

#include "recdb/LZSS.h"
#include "recdb/LZSSSmallPhrase.h"

#include <QBuffer>

#include <cstdint>
#include <cstdlib>

namespace {

void Check(bool bHolds) {
  if (!bHolds) std::abort();
}

QByteArray ThroughExpanderStream(QByteArray packed, bool& bSuccess) {
  QBuffer in(&packed);
  in.open(QIODevice::ReadOnly);
  CTLZSSExpanderStream stream(&in);
  const QByteArray plain = stream.readAll();
  bSuccess = stream.Success();
  return plain;
}

QByteArray ThroughCompressorStream(const QByteArray& plain) {
  QByteArray packed;
  QBuffer out(&packed);
  out.open(QIODevice::WriteOnly);
  CTLZSSCompressorStream stream(&out);
  // Two pieces, so that a write also ends inside a block.
  const qsizetype half = plain.size() / 2;
  Check(stream.write(plain.constData(), half) == half);
  Check(stream.write(plain.constData() + half, plain.size() - half) == plain.size() - half);
  Check(stream.Finish());
  return packed;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

  bool bComplete = false;
  const QByteArray expanded = CTLZSSLogic::Expand(bytes, &bComplete);
  Check(expanded.size() <= 8 * bytes.size());
  bool bStreamSuccess = false;
  Check(ThroughExpanderStream(bytes, bStreamSuccess) == expanded);
  Check(bStreamSuccess == bComplete);
  Check(CTLZSSSmallPhraseLogic::Expand(bytes).size() <= 8 * bytes.size());

  const QByteArray packed = CTLZSSLogic::Compress(bytes);
  Check(CTLZSSLogic::Expand(packed, &bComplete) == bytes && bComplete);
  Check(ThroughCompressorStream(bytes) == packed);
  Check(CTLZSSSmallPhraseLogic::Expand(CTLZSSSmallPhraseLogic::Compress(bytes), &bComplete) == bytes && bComplete);
  return 0;
}
