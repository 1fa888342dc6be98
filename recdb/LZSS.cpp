#include "recdb/LZSS.h"

#include <QBuffer>

#include <algorithm>
#include <bit>
#include <cstring>

static_assert(std::endian::native == std::endian::little, "the match finder compares words as little-endian");

namespace {

std::uint64_t LoadWord(const std::uint8_t* p) {
  std::uint64_t w;
  std::memcpy(&w, p, sizeof w);
  return w;
}

// The next 64 bits of a bit stream: its first byte lands in the top byte.
std::uint64_t LoadBigEndianWord(const std::uint8_t* p) { return __builtin_bswap64(LoadWord(p)); }

void StoreBigEndian32(std::uint8_t* p, std::uint32_t v) {
  v = __builtin_bswap32(v);
  std::memcpy(p, &v, sizeof v);
}

void Copy8(std::uint8_t* to, const std::uint8_t* from) { std::memcpy(to, from, 8); }

// Writes all n bytes or answers false.
bool WriteAll(QIODevice* pStream, const std::uint8_t* p, qint64 n) {
  while (n > 0) {
    const qint64 written = pStream->write(reinterpret_cast<const char*>(p), n);
    if (written <= 0) return false;
    p += written;
    n -= written;
  }
  return true;
}

}  // namespace

// ---------------------------------------------------------------- the coder

template <int IB, int LB, int BS>
CTLZSSCoder<IB, LB, BS>::CTLZSSCoder(QIODevice* pInStream, QIODevice* pOutStream)
    : v_in(pInStream), v_out(pOutStream) {}

template <int IB, int LB, int BS>
CTLZSSCoder<IB, LB, BS>::~CTLZSSCoder() = default;

template <int IB, int LB, int BS>
int CTLZSSCoder<IB, LB, BS>::FillInputBlock() {
  if (!v_in) return 0;
  const qint64 n = v_in->read(reinterpret_cast<char*>(v_inFileBuff.data()), BS);
  if (n < 0) Fail();
  v_inBlock = v_inFileBuff.data();
  return n > 0 ? static_cast<int>(n) : 0;
}

template <int IB, int LB, int BS>
bool CTLZSSCoder<IB, LB, BS>::FlushOutputBlock(const std::uint8_t* pBytes, int n, bool) {
  if (v_out && WriteAll(v_out, pBytes, n)) return true;
  Fail();
  return false;
}

template <int IB, int LB, int BS>
bool CTLZSSCoder<IB, LB, BS>::Compress(QIODevice* pInStream, QIODevice* pOutStream) {
  auto coder = std::unique_ptr<CTLZSSCoder>(new CTLZSSCoder(pInStream, pOutStream));
  return coder->CompressAll() && coder->Success();
}

template <int IB, int LB, int BS>
bool CTLZSSCoder<IB, LB, BS>::Expand(QIODevice* pInStream, QIODevice* pOutStream) {
  auto coder = std::unique_ptr<CTLZSSCoder>(new CTLZSSCoder(pInStream, pOutStream));
  return coder->ExpandAll() && coder->Success();
}

template <int IB, int LB, int BS>
QByteArray CTLZSSCoder<IB, LB, BS>::Compress(const QByteArray& plain) {
  QByteArray in = plain;
  QBuffer inBuffer(&in);
  inBuffer.open(QIODevice::ReadOnly);
  QByteArray packed;
  packed.reserve(plain.size() / 2 + 16);
  QBuffer outBuffer(&packed);
  outBuffer.open(QIODevice::WriteOnly);
  Compress(&inBuffer, &outBuffer);
  return packed;
}

template <int IB, int LB, int BS>
QByteArray CTLZSSCoder<IB, LB, BS>::Expand(const QByteArray& packed, bool* pComplete) {
  QByteArray in = packed;
  QBuffer inBuffer(&in);
  inBuffer.open(QIODevice::ReadOnly);
  QByteArray plain;
  plain.reserve(packed.size() * 2 + 16);
  QBuffer outBuffer(&plain);
  outBuffer.open(QIODevice::WriteOnly);
  const bool bComplete = Expand(&inBuffer, &outBuffer);
  if (pComplete) *pComplete = bComplete;
  return plain;
}

// ------------------------------------------------------- the match finder
//
// The tree orders the strings of kLongestMatch bytes that start at the
// window positions behind the current one (position 0 excepted). Ties go
// to the node compared later, and a string equal in all its bytes takes its
// twin's place in the tree, so the newest of equal strings is found.

template <int IB, int LB, int BS>
typename CTLZSSCoder<IB, LB, BS>::Match CTLZSSCoder<IB, LB, BS>::AddString(int newNode) {
  Match best;
  if (newNode == kNoNode) return best;
  const std::uint8_t* const window = v_window.data();
  const std::uint8_t* const text = window + newNode;
  std::array<std::uint64_t, kCompareBytes / 8> textWords;
  for (std::size_t w = 0; w < textWords.size(); ++w) textWords[w] = LoadWord(text + 8 * w);
  // The first word read as a big-endian number orders two strings by
  // their first 8 bytes.
  const std::uint64_t textOrder = __builtin_bswap64(textWords[0]);

  // The descent reads each node's first word and links one step ahead: while
  // a node is compared, the words and links of both its children load, and
  // the comparison only selects among them, without a branch (a branch
  // here guesses wrong every other step), so a step waits for neither.
  auto links = [&](int node) {
    std::uint32_t both;  // smaller child in the low half, larger in the high
    std::memcpy(&both, v_child[node].data(), sizeof both);
    return both;
  };
  int testNode = v_child[kRoot][kLarger];
  std::uint64_t testWord = LoadWord(window + testNode);
  std::uint32_t testLinks = links(testNode);
  // An acyclic tree has no path longer than its nodes; the bound only
  // guards against a damaged one.
  for (int visited = 0; visited <= kWindowSize; ++visited) {
    const std::uint32_t smallerNode = testLinks & 0xFFFF;
    const std::uint32_t largerNode = testLinks >> 16;
    const std::uint64_t smallerWord = LoadWord(window + smallerNode);
    const std::uint64_t largerWord = LoadWord(window + largerNode);
    const std::uint32_t smallerLinks = links(static_cast<int>(smallerNode));
    const std::uint32_t largerLinks = links(static_cast<int>(largerNode));

    // Equal leading bytes: the lowest set bit of the difference, in bytes.
    int equal;
    bool bLarger;
    if (const std::uint64_t diff = textWords[0] ^ testWord; diff != 0) [[likely]] {
      equal = std::countr_zero(diff) / 8;
      bLarger = textOrder > __builtin_bswap64(testWord);
    } else {
      const std::uint8_t* const other = window + testNode;
      equal = kCompareBytes;
      for (std::size_t w = 1; w < textWords.size(); ++w) {
        if (const std::uint64_t more = textWords[w] ^ LoadWord(other + 8 * w); more != 0) {
          equal = static_cast<int>(8 * w) + std::countr_zero(more) / 8;
          break;
        }
      }
      if (equal >= kLongestMatch) {
        best.length = kLongestMatch;
        best.position = testNode;
        ReplaceNode(testNode, newNode);
        return best;
      }
      bLarger = text[equal] > other[equal];
    }
    // Ties go to the node compared later.
    const int keep = -static_cast<int>(equal < best.length);  // all ones to keep the best so far
    best.length = equal ^ ((equal ^ best.length) & keep);
    best.position = testNode ^ ((testNode ^ best.position) & keep);
    const std::uint64_t pick = 0 - static_cast<std::uint64_t>(bLarger);  // all ones for the larger child
    const auto next = static_cast<int>(smallerNode ^ ((smallerNode ^ largerNode) & pick));
    if (next == kNoNode) {
      v_child[testNode][bLarger ? kLarger : kSmaller] = static_cast<std::uint16_t>(newNode);
      v_parent[newNode] = static_cast<std::uint16_t>(testNode);
      v_child[newNode] = {};
      return best;
    }
    testNode = next;
    testWord = smallerWord ^ ((smallerWord ^ largerWord) & pick);
    testLinks = smallerLinks ^ ((smallerLinks ^ largerLinks) & static_cast<std::uint32_t>(pick));
  }
  v_parent[newNode] = kNoNode;
  v_child[newNode] = {};
  return best;
}

// Puts newNode (possibly no node) in oldNode's place under oldNode's parent.
template <int IB, int LB, int BS>
void CTLZSSCoder<IB, LB, BS>::ContractNode(int oldNode, int newNode) {
  const int parent = v_parent[oldNode];
  v_parent[newNode] = static_cast<std::uint16_t>(parent);
  if (v_child[parent][kLarger] == oldNode)
    v_child[parent][kLarger] = static_cast<std::uint16_t>(newNode);
  else
    v_child[parent][kSmaller] = static_cast<std::uint16_t>(newNode);
  v_parent[oldNode] = kNoNode;
}

// Puts newNode, which is in no tree, in oldNode's place with its links.
template <int IB, int LB, int BS>
void CTLZSSCoder<IB, LB, BS>::ReplaceNode(int oldNode, int newNode) {
  const int parent = v_parent[oldNode];
  if (v_child[parent][kSmaller] == oldNode)
    v_child[parent][kSmaller] = static_cast<std::uint16_t>(newNode);
  else
    v_child[parent][kLarger] = static_cast<std::uint16_t>(newNode);
  v_parent[newNode] = v_parent[oldNode];
  v_child[newNode] = v_child[oldNode];
  v_parent[v_child[newNode][kSmaller]] = static_cast<std::uint16_t>(newNode);
  v_parent[v_child[newNode][kLarger]] = static_cast<std::uint16_t>(newNode);
  v_parent[oldNode] = kNoNode;
}

// The largest node of node's smaller subtree (node has two children).
template <int IB, int LB, int BS>
int CTLZSSCoder<IB, LB, BS>::FindNextNode(int node) const {
  int next = v_child[node][kSmaller];
  for (int visited = 0; visited <= kWindowSize && v_child[next][kLarger] != kNoNode; ++visited)
    next = v_child[next][kLarger];
  return next;
}

template <int IB, int LB, int BS>
void CTLZSSCoder<IB, LB, BS>::DeleteString(int p) {
  if (v_parent[p] == kNoNode) return;
  if (v_child[p][kLarger] == kNoNode) {
    ContractNode(p, v_child[p][kSmaller]);
  } else if (v_child[p][kSmaller] == kNoNode) {
    ContractNode(p, v_child[p][kLarger]);
  } else {
    const int replacement = FindNextNode(p);
    // The replacement has no larger child, so this deletes without recursing.
    DeleteString(replacement);
    ReplaceNode(p, replacement);
  }
}

// ------------------------------------------------------------ compression

template <int IB, int LB, int BS>
bool CTLZSSCoder<IB, LB, BS>::CompressAll() {
  constexpr int kWindowMask = kWindowSize - 1;
  // Output: bits gather right-aligned in 'pending' and leave as 32-bit
  // big-endian words; a token adds at most kPairBits to the 31 that may wait.
  static_assert(kPairBits <= 32);
  std::uint8_t* const outBlock = v_outFileBuff.data();
  int outCount = 0;
  std::uint64_t pending = 0;
  int pendingBits = 0;
  auto putBits = [&](std::uint32_t value, int n) {
    pending = (pending << n) | value;
    pendingBits += n;
    if (pendingBits >= 32) {
      pendingBits -= 32;
      StoreBigEndian32(outBlock + outCount, static_cast<std::uint32_t>(pending >> pendingBits));
      outCount += 4;
    }
  };

  const std::uint8_t* inBlock = nullptr;
  int inCount = 0;
  int inPos = 0;
  bool inEnded = false;
  auto nextByte = [&](std::uint8_t& b) {
    if (inPos == inCount) [[unlikely]] {
      if (inEnded) return false;
      inCount = FillInputBlock();
      inBlock = v_inBlock;
      inPos = 0;
      if (inCount <= 0) {
        inCount = 0;
        inEnded = true;
        return false;
      }
    }
    b = inBlock[inPos++];
    return true;
  };

  int current = 1;
  int lookAhead = 0;
  for (std::uint8_t b = 0; lookAhead < kLongestMatch && nextByte(b); ++lookAhead) SetWindowByte(current + lookAhead, b);
  v_child[kRoot][kLarger] = static_cast<std::uint16_t>(current);
  v_parent[current] = kRoot;

  Match match;
  while (lookAhead > 0) {
    if (outCount > BS - 8) {
      if (!FlushOutputBlock(outBlock, outCount, false)) return false;
      outCount = 0;
    }
    match.length = std::min(match.length, lookAhead);
    int replaceCount;
    if (match.length < kShortestMatch) {
      replaceCount = 1;
      putBits(0x100u | v_window[current], 9);
    } else {
      replaceCount = match.length;
      putBits(static_cast<std::uint32_t>((match.position << LB) | (match.length - kShortestMatch)), kPairBits);
    }
    // Slide the window past the coded bytes: the oldest string leaves the
    // tree, the next input byte enters the look-ahead, and each new
    // current string is inserted, which finds the next match.
    for (int i = 0; i < replaceCount; ++i) {
      const int oldest = (current + kLongestMatch) & kWindowMask;
      DeleteString(oldest);
      std::uint8_t b;
      if (nextByte(b))
        SetWindowByte(oldest, b);
      else
        --lookAhead;
      current = (current + 1) & kWindowMask;
      if (lookAhead > 0) match = AddString(current);
    }
  }

  putBits(0, 1 + IB);  // end marker
  while (pendingBits >= 8) {
    pendingBits -= 8;
    outBlock[outCount++] = static_cast<std::uint8_t>(pending >> pendingBits);
  }
  if (pendingBits > 0) outBlock[outCount++] = static_cast<std::uint8_t>(pending << (8 - pendingBits));
  return FlushOutputBlock(outBlock, outCount, true);
}

// ----------------------------------------------------------- expansion

template <int IB, int LB, int BS>
bool CTLZSSCoder<IB, LB, BS>::ExpandAll() {
  constexpr unsigned kWindowMask = kWindowSize - 1;
  // Output goes straight into the buffer behind the window, so a pair is a
  // copy from 'distance' bytes back. A round of up to three tokens starts
  // only up to 'limit', so that its copies, done in whole words, stay
  // inside the block.
  std::uint8_t* const block = v_outFileBuff.data() + kWindowSize;
  std::uint8_t* const limit = block + BS - 2 * kLongestMatch - kCompareBytes;
  static_assert(kCompareBytes <= 32 && kCompareBytes >= kLongestMatch);
  std::uint8_t* out = block;
  unsigned current = 1;  // window position of *out, modulo the window size

  // Input: the next bits of the stream left-aligned in 'bits', of which the
  // first 'bitCount' are valid. After the input's end zero bytes follow
  // ('padBytes' of them), which read as an end marker.
  std::uint64_t bits = 0;
  int bitCount = 0;
  const std::uint8_t* in = nullptr;
  const std::uint8_t* inEnd = nullptr;
  bool inEnded = false;
  int padBytes = 0;
  auto refill = [&] {
    for (;;) {
      if (inEnd - in >= 8) {
        // Whole bytes up to 56..63 valid bits; the bits of a partly taken
        // byte are ORed in again, unchanged, by the next refill.
        bits |= LoadBigEndianWord(in) >> bitCount;
        in += (63 - bitCount) >> 3;
        bitCount |= 56;
        return;
      }
      if (bitCount > 56) return;
      if (in == inEnd && !inEnded) {
        const int n = FillInputBlock();
        in = v_inBlock;
        inEnd = in + std::max(n, 0);
        inEnded = n <= 0;
        continue;
      }
      // The last bytes of a block, then zeros.
      std::uint64_t b = 0;
      if (in < inEnd)
        b = *in++;
      else
        ++padBytes;
      bits |= b << (56 - bitCount);
      bitCount += 8;
    }
  };

  // Refills keep at least the bits of six literals, 9 bits each, whose
  // flags then sit at these places.
  constexpr int kSixLiteralBits = 6 * 9;
  constexpr std::uint64_t kSixLiteralFlags = 0x8040201008040000ull;
  static_assert(kSixLiteralBits >= kPairBits && kSixLiteralBits <= 56);

  for (;;) {
    if (out > limit) [[unlikely]] {
      if (!FlushOutputBlock(block, static_cast<int>(out - block), false)) return false;
      std::memmove(v_outFileBuff.data(), out - kWindowSize, kWindowSize);
      out = block;
    }
    if (bitCount < kSixLiteralBits) refill();
    if ((bits & kSixLiteralFlags) == kSixLiteralFlags) {
      // Six literals in a row, as incompressible data codes.
      out[0] = static_cast<std::uint8_t>(bits >> 55);
      out[1] = static_cast<std::uint8_t>(bits >> 46);
      out[2] = static_cast<std::uint8_t>(bits >> 37);
      out[3] = static_cast<std::uint8_t>(bits >> 28);
      out[4] = static_cast<std::uint8_t>(bits >> 19);
      out[5] = static_cast<std::uint8_t>(bits >> 10);
      out += 6;
      bits <<= kSixLiteralBits;
      bitCount -= kSixLiteralBits;
      current += 6;
      continue;
    }
    // Three tokens fit in the refilled bits.
    bool ended = false;
    for (int n = 0; n < 3 && !ended; ++n) {
      if (static_cast<std::int64_t>(bits) < 0) {
        *out++ = static_cast<std::uint8_t>(bits >> 55);
        bits <<= 9;
        bitCount -= 9;
        ++current;
        continue;
      }
      const auto token = static_cast<unsigned>(bits >> (64 - kPairBits));
      const unsigned position = token >> LB;
      if (position == 0) {
        bitCount -= 1 + IB;
        ended = true;
        break;
      }
      const unsigned length = (token & ((1u << LB) - 1)) + kShortestMatch;
      bits <<= kPairBits;
      bitCount -= kPairBits;
      // Position p holds the byte produced 'distance' bytes ago, 1..window
      // size (the current position itself holds the oldest byte).
      const unsigned distance = ((current - position - 1) & kWindowMask) + 1;
      const std::uint8_t* from = out - distance;
      if (distance >= 8) {
        for (int k = 0; k < kCompareBytes; k += 8) Copy8(out + k, from + k);
      } else if (distance == 1) {
        std::memset(out, out[-1], kCompareBytes);
      } else {
        for (unsigned k = 0; k < length; ++k) out[k] = from[k];
      }
      out += length;
      current += length;
    }
    if (ended) break;
  }

  // Bits of the padding that tokens used mean the data was cut short.
  if (bitCount < padBytes * 8) v_fatal = true;
  return FlushOutputBlock(block, static_cast<int>(out - block), true);
}

template class CTLZSSCoder<12, 4, 16384>;
template class CTLZSSCoder<13, 3, 4096>;

// ------------------------------------------------------------ hand-over

CTLZSSHandOver::CTLZSSHandOver(std::chrono::milliseconds waitLimit) : v_waitLimit(waitLimit) {
  for (Block& block : v_blocks) {
    block.bytes = std::make_unique<std::uint8_t[]>(kBlockSize);
    v_empty[v_emptyCount++] = &block;
  }
}

template <typename Ready>
bool CTLZSSHandOver::WaitFor(std::unique_lock<std::mutex>& lock, Ready ready) {
  if (v_changed.wait_for(lock, v_waitLimit, [&] { return v_halted || ready(); })) return !v_halted;
  v_timedOut = true;
  v_halted = true;
  v_changed.notify_all();
  return false;
}

CTLZSSHandOver::Block* CTLZSSHandOver::TakeEmpty() {
  std::unique_lock lock(v_mutex);
  if (!WaitFor(lock, [&] { return v_emptyCount > 0; })) return nullptr;
  Block* block = v_empty[--v_emptyCount];
  block->count = 0;
  return block;
}

void CTLZSSHandOver::PassFull(Block* pBlock) {
  {
    std::lock_guard lock(v_mutex);
    v_full[v_fullCount++] = pBlock;
  }
  v_changed.notify_all();
}

void CTLZSSHandOver::PassEnd() {
  {
    std::lock_guard lock(v_mutex);
    v_end = true;
  }
  v_changed.notify_all();
}

CTLZSSHandOver::Block* CTLZSSHandOver::TakeFull() {
  std::unique_lock lock(v_mutex);
  if (!WaitFor(lock, [&] { return v_fullCount > 0 || v_end; })) return nullptr;
  if (v_fullCount == 0) return nullptr;
  Block* block = v_full[0];
  v_full[0] = v_full[1];
  --v_fullCount;
  return block;
}

void CTLZSSHandOver::GiveBack(Block* pBlock) {
  {
    std::lock_guard lock(v_mutex);
    v_empty[v_emptyCount++] = pBlock;
  }
  v_changed.notify_all();
}

void CTLZSSHandOver::MarkFinished() {
  {
    std::lock_guard lock(v_mutex);
    v_finished = true;
  }
  v_changed.notify_all();
}

bool CTLZSSHandOver::WaitFinished() {
  std::unique_lock lock(v_mutex);
  if (v_changed.wait_for(lock, v_waitLimit, [&] { return v_finished; })) return true;
  v_timedOut = true;
  v_halted = true;
  v_changed.notify_all();
  return false;
}

void CTLZSSHandOver::Halt() {
  {
    std::lock_guard lock(v_mutex);
    v_halted = true;
  }
  v_changed.notify_all();
}

bool CTLZSSHandOver::Halted() const {
  std::lock_guard lock(v_mutex);
  return v_halted;
}

bool CTLZSSHandOver::TimedOut() const {
  std::lock_guard lock(v_mutex);
  return v_timedOut;
}

// ------------------------------------------------------ worker compressor

CTLZSSCompressor::CTLZSSCompressor(QIODevice* pOutStream, std::chrono::milliseconds waitLimit)
    : CTLZSSLogic(nullptr, pOutStream), v_handOver(waitLimit) {
  v_thread = std::thread([this] { Run(); });
}

CTLZSSCompressor::~CTLZSSCompressor() {
  v_handOver.Halt();
  if (v_thread.joinable()) v_thread.join();
}

void CTLZSSCompressor::Run() {
  try {
    CompressAll();
  } catch (...) {
    Fail();
    v_handOver.Halt();
  }
  v_handOver.MarkFinished();
}

qint64 CTLZSSCompressor::Write(const char* pBuffer, qint64 nCount) {
  if (v_done || !Success() || v_handOver.Halted()) return -1;
  qint64 accepted = 0;
  while (accepted < nCount) {
    if (!v_producerBlock) {
      v_producerBlock = v_handOver.TakeEmpty();
      if (!v_producerBlock) {
        Fail();
        break;
      }
    }
    const qint64 room = CTLZSSHandOver::kBlockSize - v_producerBlock->count;
    const auto n = static_cast<int>(std::min(room, nCount - accepted));
    std::memcpy(v_producerBlock->bytes.get() + v_producerBlock->count, pBuffer + accepted, static_cast<std::size_t>(n));
    v_producerBlock->count += n;
    accepted += n;
    if (v_producerBlock->count == CTLZSSHandOver::kBlockSize) {
      v_handOver.PassFull(v_producerBlock);
      v_producerBlock = nullptr;
    }
  }
  return accepted > 0 || nCount == 0 ? accepted : -1;
}

bool CTLZSSCompressor::Done() {
  if (v_done) return Success();
  v_done = true;
  if (v_producerBlock && v_producerBlock->count > 0) v_handOver.PassFull(v_producerBlock);
  v_producerBlock = nullptr;
  v_handOver.PassEnd();
  v_handOver.WaitFinished();
  // Finished, or timed out and halted: either way the worker ends.
  v_handOver.Halt();
  if (v_thread.joinable()) v_thread.join();
  if (v_handOver.TimedOut()) Fail();
  return Success();
}

int CTLZSSCompressor::FillInputBlock() {
  if (v_workerBlock) v_handOver.GiveBack(v_workerBlock);
  v_workerBlock = v_handOver.TakeFull();
  if (!v_workerBlock) {
    if (v_handOver.TimedOut()) Fail();
    return 0;
  }
  v_inBlock = v_workerBlock->bytes.get();
  return v_workerBlock->count;
}

bool CTLZSSCompressor::FlushOutputBlock(const std::uint8_t* pBytes, int n, bool bFinal) {
  // Halted before the end of the input: the coded data is incomplete, and
  // nobody waits for it.
  if (v_handOver.Halted()) return false;
  if (CTLZSSLogic::FlushOutputBlock(pBytes, n, bFinal)) return true;
  v_handOver.Halt();
  return false;
}

// -------------------------------------------------------- worker expander

CTLZSSExpander::CTLZSSExpander(QIODevice* pInStream, std::chrono::milliseconds waitLimit)
    : CTLZSSLogic(pInStream, nullptr), v_handOver(waitLimit) {}

CTLZSSExpander::~CTLZSSExpander() { Stop(); }

void CTLZSSExpander::Run() {
  try {
    ExpandAll();
  } catch (...) {
    Fail();
  }
  // Whatever ended the coding, the reader must not wait for more.
  v_handOver.PassEnd();
  v_handOver.MarkFinished();
}

void CTLZSSExpander::Stop() {
  v_stopped = true;
  v_handOver.Halt();
  if (v_thread.joinable()) v_thread.join();
}

qint64 CTLZSSExpander::Read(char* pBuffer, qint64 nCount) {
  // Bytes the worker produced are delivered even when it then failed (cut
  // data, a read error): Success tells. Only a broken hand-over refuses.
  if (v_stopped || v_handOver.TimedOut()) return -1;
  qint64 delivered = 0;
  while (delivered < nCount) {
    if (HasBufferedBytes()) {
      const auto n = static_cast<int>(std::min<qint64>(v_readBlock->count - v_readPos, nCount - delivered));
      std::memcpy(pBuffer + delivered, v_readBlock->bytes.get() + v_readPos, static_cast<std::size_t>(n));
      v_readPos += n;
      delivered += n;
      continue;
    }
    if (v_atEnd) break;
    if (v_readBlock) v_handOver.GiveBack(v_readBlock);
    if (!v_thread.joinable()) v_thread = std::thread([this] { Run(); });
    v_readBlock = v_handOver.TakeFull();
    v_readPos = 0;
    if (!v_readBlock) {
      v_atEnd = true;
      if (v_handOver.TimedOut()) Fail();
    }
  }
  return delivered > 0 || !v_handOver.TimedOut() ? delivered : -1;
}

int CTLZSSExpander::FillInputBlock() {
  if (v_handOver.Halted()) return 0;
  return CTLZSSLogic::FillInputBlock();
}

bool CTLZSSExpander::FlushOutputBlock(const std::uint8_t* pBytes, int n, bool bFinal) {
  while (n > 0) {
    if (!v_fillBlock) {
      v_fillBlock = v_handOver.TakeEmpty();
      if (!v_fillBlock) {
        if (v_handOver.TimedOut()) Fail();
        return false;
      }
    }
    const int take = std::min(n, CTLZSSHandOver::kBlockSize - v_fillBlock->count);
    std::memcpy(v_fillBlock->bytes.get() + v_fillBlock->count, pBytes, static_cast<std::size_t>(take));
    v_fillBlock->count += take;
    pBytes += take;
    n -= take;
    if (v_fillBlock->count == CTLZSSHandOver::kBlockSize) {
      v_handOver.PassFull(v_fillBlock);
      v_fillBlock = nullptr;
    }
  }
  if (bFinal && v_fillBlock && v_fillBlock->count > 0) {
    v_handOver.PassFull(v_fillBlock);
    v_fillBlock = nullptr;
  }
  return true;
}

// ---------------------------------------------------------------- streams

CTLZSSStream::~CTLZSSStream() = default;

CTLZSSCompressorStream::CTLZSSCompressorStream(QIODevice* pOutStream, std::chrono::milliseconds waitLimit)
    : CTLZSSStream(std::make_unique<CTLZSSCompressor>(pOutStream, waitLimit)) {
  v_compressor = static_cast<CTLZSSCompressor*>(v_engine.get());
  open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

CTLZSSCompressorStream::~CTLZSSCompressorStream() { Finish(); }

bool CTLZSSCompressorStream::Finish() {
  if (!v_finished) {
    v_finished = true;
    v_finishResult = v_compressor->Done();
    QIODevice::close();
  }
  return v_finishResult;
}

void CTLZSSCompressorStream::close() { Finish(); }

qint64 CTLZSSCompressorStream::writeData(const char* data, qint64 len) { return v_compressor->Write(data, len); }

std::unique_ptr<CTLZSSCompressorStream> CTLZSSCompressorStream::CreateBehindSignature(QIODevice* pOutStream,
                                                                                      const QString& szSignature) {
  const QByteArray signature = szSignature.toLatin1();
  if (!WriteAll(pOutStream, reinterpret_cast<const std::uint8_t*>(signature.constData()), signature.size()))
    return nullptr;
  return std::make_unique<CTLZSSCompressorStream>(pOutStream);
}

CTLZSSExpanderStream::CTLZSSExpanderStream(QIODevice* pInStream, std::chrono::milliseconds waitLimit)
    : CTLZSSStream(std::make_unique<CTLZSSExpander>(pInStream, waitLimit)) {
  v_expander = static_cast<CTLZSSExpander*>(v_engine.get());
  open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

CTLZSSExpanderStream::~CTLZSSExpanderStream() { v_expander->Stop(); }

void CTLZSSExpanderStream::close() {
  v_expander->Stop();
  QIODevice::close();
}

bool CTLZSSExpanderStream::atEnd() const { return !isOpen() || v_expander->AtEnd(); }

qint64 CTLZSSExpanderStream::bytesAvailable() const {
  return v_expander->BufferedBytes() + QIODevice::bytesAvailable();
}

qint64 CTLZSSExpanderStream::readData(char* data, qint64 maxlen) { return v_expander->Read(data, maxlen); }

std::unique_ptr<CTLZSSExpanderStream> CTLZSSExpanderStream::OpenBehindSignature(QIODevice* pInStream,
                                                                                const QString& szSignature) {
  const QByteArray signature = szSignature.toLatin1();
  const qint64 start = pInStream->pos();
  QByteArray taken;
  for (const char expected : signature) {
    char c = 0;
    if (!pInStream->getChar(&c)) break;
    taken.append(c);
    if (c != expected) break;
  }
  if (taken == signature) return std::make_unique<CTLZSSExpanderStream>(pInStream);
  // Plain data: give back what was read.
  if (!pInStream->isSequential()) {
    pInStream->seek(start);
  } else {
    for (qsizetype i = taken.size() - 1; i >= 0; --i) pInStream->ungetChar(taken[i]);
  }
  return nullptr;
}
