// The RTF reader over arbitrary bytes behind an RTF start: rich text may
// come from a server. It must end, without a crash, whatever it is given.

#include "docs/RTFReader.h"

#include <QGuiApplication>
#include <QTextDocument>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static int argc = 1;
  static char name[] = "fuzz_rtfreader";
  static char* argv[] = {name, nullptr};
  static QGuiApplication* app = [] {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return new QGuiApplication(argc, argv);
  }();
  (void)app;
  QByteArray rtf("{\\rtf1 ");
  rtf.append(reinterpret_cast<const char*>(data), qsizetype(size));
  QTextDocument doc;
  CTRTFReader::Read(rtf, doc);
  return 0;
}
