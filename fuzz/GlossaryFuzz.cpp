// The glossary file reader over arbitrary bytes: glossaries arrive from the
// download server and from translators' spreadsheet programs. Whatever it
// reads, it never invents a NUL, and what it read survives saving: the file
// written is pure ASCII and reads back, and from the first save on, saving
// and reading again changes nothing.

#include <QBuffer>
#include <cstdint>
#include <cstdlib>

#include "docs/GlossaryIO.h"

namespace {

QByteArray Saved(const CTUnicodeGlossary& glos) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  if (!CTExcelXMLGlossaryIO().SaveGlossary(buffer, glos, true)) std::abort();
  return buffer.data();
}

bool HasNul(const CTUnicodeGlossary& glos) {
  if (glos.v_languageNameOrChangedDate.contains(QChar(0))) return true;
  for (const auto& bucket : glos.AllLetterEntries())
    for (const auto& term : bucket)
      if (term->v_term.contains(QChar(0)) || term->v_translation.contains(QChar(0))) return true;
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
  const CTExcelXMLGlossaryIO io;
  CTUnicodeGlossary read;
  io.LoadGlossary(bytes, read);
  if (!bytes.contains('\0') && HasNul(read)) std::abort();

  const QByteArray first = Saved(read);
  for (char c : first)
    if (c <= 0) std::abort();  // pure ASCII
  CTUnicodeGlossary again;
  if (!io.LoadGlossary(first, again)) std::abort();
  const QByteArray second = Saved(again);
  CTUnicodeGlossary third;
  if (!io.LoadGlossary(second, third) || Saved(third) != second) std::abort();
  return 0;
}
