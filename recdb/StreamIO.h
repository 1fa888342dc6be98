#pragma once
// CTStreamIO: forward-only buffered byte reader, the feed of the database
// text readers. The end of the data reads as bytes of value 0; Eof tells it.

#include <QIODevice>

#include <array>
#include <cstdint>

class CTStreamIO {
 public:
  static constexpr int kBufferSize = 16384;

  // Keeps pStream (not owned) and fills the buffer from its current position.
  explicit CTStreamIO(QIODevice* pStream);

  // The next byte, or 0 at the end (without advancing).
  std::uint8_t ReadChar() {
    if (v_bufPos >= v_bufSize && !Refill()) return 0;
    return v_buffer[v_bufPos++];
  }
  bool Eof() { return v_bufPos >= v_bufSize && !Refill(); }

 private:
  // Refills a used-up buffer unless the last fill found the end; answers
  // whether bytes are available.
  bool Refill();

  QIODevice* v_stream;
  std::array<std::uint8_t, kBufferSize> v_buffer{};
  std::int32_t v_bufSize = 0;  // valid bytes of the last fill
  std::int32_t v_bufPos = 0;   // next byte to hand out
};
