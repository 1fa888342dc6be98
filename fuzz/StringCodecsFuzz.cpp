// The string codecs of the service over arbitrary bytes: the letter forms
// give back any bytes they were made from, and unpacking anything a server
// might send ends without a fault; packing and unpacking our own texts gives
// them back.

#include "online/ATORemoteUtils0.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using U = CTATORemoteUtils0;
  const QString bytes = QString::fromLatin1(reinterpret_cast<const char*>(data), qsizetype(size));
  if (U::DecodeString1(U::EncodeString1(bytes)) != bytes) std::abort();
  if (U::DecodeString2(U::EncodeString2(bytes)) != bytes) std::abort();
  U::UnpackServiceText(bytes);
  U::UnpackProgramName(bytes);
  U::DecompressString1(bytes);
  U::DecompressString2(bytes);
  if (U::UnpackServiceText(U::PackServiceText(bytes)) != bytes) std::abort();
  if (U::UnpackProgramName(U::PackProgramName(bytes)) != bytes) std::abort();
  return 0;
}
