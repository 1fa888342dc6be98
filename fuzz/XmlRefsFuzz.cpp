// The character-reference reader of the spreadsheet format over arbitrary
// text (a glossary file may come from anywhere). Whatever it makes of the
// text, escaping it again and reading it back gives the same text, and it
// never makes a NUL that was not there.

#include "docs/ExcelXML.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
  const QString read = CTExcelXML2003::ReplaceCharacterRefs(text);
  if (read.contains(QChar(0)) && !text.contains(QChar(0))) std::abort();
  const QString escaped = CTExcelXML2003::XMLSafeString(read);
  for (QChar c : escaped)
    if (c.unicode() < 32 || c.unicode() > 126) std::abort();
  if (CTExcelXML2003::XMLSafeString(CTExcelXML2003::ReplaceCharacterRefs(escaped)) != escaped) std::abort();
  return 0;
}
