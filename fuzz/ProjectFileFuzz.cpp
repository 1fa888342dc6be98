// The project-file reader over arbitrary bytes. A file that reads must
// write out, read again and write out the same, its sections included; its options resolve
// against a small catalogue without touching anything else.

#include "selection/ProjectFile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
  CTHRXProjectData project;
  ProjectFormat format;
  QString why;
  if (!CTHRXProjectIO::Parse(bytes, project, format, why)) {
    if (why.isEmpty()) std::abort();  // a refusal always says why
    return 0;
  }
  CTHRXProjectIO::ResolveOptions(project, format, {{506, 4, 146, 4004}, {506, 21, 146, 4021}});
  const QByteArray first = CTHRXProjectIO::Serialize(project);
  // The fixed layout, then, when there are sections, "VENX" and each
  // section's tag, length and bytes.
  qsizetype expected = CTHRXProjectIO::kHeaderSize + CTHRXProjectIO::kEntrySize * project.v_options.size();
  if (!project.v_sections.isEmpty()) expected += 4;
  for (const CTProjectSection& section : project.v_sections)
    expected += CTHRXProjectIO::kSectionTagSize + 4 + section.payload.size();
  if (first.size() != expected) std::abort();
  CTHRXProjectData again;
  if (!CTHRXProjectIO::Parse(first, again, format, why) || CTHRXProjectIO::Serialize(again) != first) std::abort();
  return 0;
}
