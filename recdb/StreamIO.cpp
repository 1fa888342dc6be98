#include "recdb/StreamIO.h"

CTStreamIO::CTStreamIO(QIODevice* pStream) : v_stream(pStream) {
  const qint64 n = v_stream ? v_stream->read(reinterpret_cast<char*>(v_buffer.data()), kBufferSize) : 0;
  v_bufSize = n > 0 ? static_cast<std::int32_t>(n) : 0;
}

bool CTStreamIO::Refill() {
  // Once a fill delivered nothing the end is final, even if the stream grows.
  if (v_bufSize == 0) return false;
  const qint64 n = v_stream->read(reinterpret_cast<char*>(v_buffer.data()), kBufferSize);
  v_bufSize = n > 0 ? static_cast<std::int32_t>(n) : 0;
  v_bufPos = 0;
  return v_bufSize > 0;
}
