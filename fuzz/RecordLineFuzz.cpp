// Record lines over arbitrary bytes: the first byte chooses which stored
// columns map to which fields, the rest is the text. Nothing may crash, hang
// or allocate beyond what the input holds, and the text form must be stable:
// a line that reads writes out as text that reads back and writes out the
// same (doubles keep 15 significant digits, so the first write may round).

#include "recdb/ValueList.h"

#include <QBuffer>

#include <cstdint>
#include <cstdlib>

namespace {

struct Schema {
  Schema() : fields(true) {
    fields.Add(CTFieldInfo::CreateInteger("ID"));
    fields.Add(CTFieldInfo::CreateBoolean("On"));
    fields.Add(CTFieldInfo::CreateDouble("D"));
    fields.Add(CTFieldInfo::CreateCurrency("C"));
    fields.Add(CTFieldInfo::CreateTDateTime("T"));
    fields.Add(CTFieldInfo::CreateUnicodeString("S"));
    fields.Add(CTFieldInfo::CreateTGUID("G"));
    fields.Add(CTFieldInfo::CreateBinary("B"));
  }
  ObjectList<CTFieldInfo> fields;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const Schema schema;
  if (size == 0) return 0;
  // Stored column i goes to field (i + shift) mod 8, or is dropped.
  const int shift = data[0] & 7;
  const bool dropFirst = (data[0] & 8) != 0;
  std::vector<int> map;
  for (int i = 0; i < 8; ++i) map.push_back(dropFirst && i == 0 ? -1 : (i + shift) % 8);

  QByteArray bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  CTStreamIO io(&buffer);
  for (int line = 0; line < 64 && !io.Eof(); ++line) {
    CTValueList values(&schema.fields, true);
    if (!values.ReadFrom(io, map)) break;
    QByteArray text = values.ToLine();
    QBuffer again(&text);
    again.open(QIODevice::ReadOnly);
    CTStreamIO againIO(&again);
    CTValueList back(&schema.fields, true);
    std::vector<int> identity = {0, 1, 2, 3, 4, 5, 6, 7};
    if (!back.ReadFrom(againIO, identity) || back.ToLine() != text) std::abort();
  }
  return 0;
}
