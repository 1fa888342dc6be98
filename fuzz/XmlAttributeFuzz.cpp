// The attribute reader of the server scripts' texts over arbitrary text.
// Its value is never longer than the text, and whatever it reads, escaping
// it and reading it back escapes the same again.

#include "online/CorvelIntegration.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QString text = QString::fromLatin1(reinterpret_cast<const char*>(data), qsizetype(size));
  QString value;
  const bool found = CTCorvelIntegration::GetXMLAttributeValue(text, QStringLiteral("path"), value);
  if (!found && !value.isEmpty()) std::abort();
  if (value.size() > text.size()) std::abort();
  const QString escaped = CTCorvelIntegration::XMLSafeString(value);
  QString again;
  if (!CTCorvelIntegration::GetXMLAttributeValue(QStringLiteral("path=\"") + escaped + QLatin1Char('"'),
                                                 QStringLiteral("path"), again))
    std::abort();
  if (CTCorvelIntegration::XMLSafeString(again) != escaped) std::abort();
  return 0;
}
