// The reader of the program-information service's answers over arbitrary
// bytes (the server may be anybody's). It answers a text or nothing; a text
// it answers comes from a whole document, so reading it again from the same
// bytes gives the same.

#include "online/CorvelSvc.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray answer(reinterpret_cast<const char*>(data), qsizetype(size));
  for (const char* operation : {"ProgramID", "ReleaseNotes"}) {
    const std::optional<QString> result = CTCorvelSvc::ParseAnswer(answer, QString::fromLatin1(operation));
    if (result && result->size() > answer.size()) std::abort();
    if (result != CTCorvelSvc::ParseAnswer(answer, QString::fromLatin1(operation))) std::abort();
    CTCorvelSvc::ParseInteger(result);
  }
  return 0;
}
