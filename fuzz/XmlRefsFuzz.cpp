// The character-reference reader of our XML writers over arbitrary
// text (a glossary file may come from anywhere). Whatever it makes of the
// text, escaping it again and reading it back gives the same text, and it
// never makes a NUL that was not there.

#include "platform/XmlText.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
  const QString read = CTXmlText::ReplaceCharacterRefs(text);
  if (read.contains(QChar(0)) && !text.contains(QChar(0))) std::abort();
  const QString escaped = CTXmlText::XMLSafeString(read);
  for (QChar c : escaped)
    if (c.unicode() < 32 || c.unicode() > 126) std::abort();
  if (CTXmlText::XMLSafeString(CTXmlText::ReplaceCharacterRefs(escaped)) != escaped) std::abort();
  return 0;
}
