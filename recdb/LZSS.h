#pragma once
// LZSS coding of database files and exchanged strings: a sliding-window
// dictionary coder that emits either a literal byte or a (window position,
// length) pair, with a binary search tree over the window to find the
// longest match.
//
// Compressed layout, bits packed most significant bit first into bytes:
//
//   literal   1 bbbbbbbb                      the byte itself
//   pair      0 pppppppppppp llll             copy l + 2 bytes from window position p (p >= 1)
//   end       0 000000000000                  position 0 never starts a match
//   padding   0 bits up to the next byte boundary
//
// (Standard parameters: 12-bit positions, 4-bit lengths; the small-phrase
// coder uses 13 and 3.) The window starts all zero and the first byte goes
// to position 1; a pair copies one byte at a time, so a pair may overlap the
// bytes it produces and repeat them.
//
//   ""   -> 0 000000000000 000                         = 00 00
//   "A"  -> 1 01000001  0 000000000000 000             = A0 80 00
//
// A compressed database file is its signature, one byte per character
// ("K7R"), followed by this layout:  4B 37 52 | A0 80 00  holds "A".
//
// The coded bytes are fixed by the algorithm, not only their decoding:
// compressed files are exchanged with other programs that write this format
// and compared byte for byte, so the match finder keeps its tree, its tie
// rule and its choice of matches.
//
// Reading untrusted data: missing input reads as 0 bits, which form an end
// marker within one token, so expansion of any input ends; a position always
// lies inside the window, so no pair reads outside it.
//
// Here: CTLZSSCoder and CTLZSSLogic (the standard coder, class-level
// Compress/Expand), CTLZSSHandOver and the worker-thread coders
// CTLZSSCompressor/CTLZSSExpander, and the streams CTLZSSCompressorStream/
// CTLZSSExpanderStream that show them as devices, with the signature
// helpers. The small-phrase coder is in LZSSSmallPhrase.h.

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

// Longest wait of one side of a stream for the other; running into it is a
// failure of the stream.
inline constexpr std::chrono::milliseconds kLZSSWaitLimit{10000};

// The coder of one parameter set: 2^IndexBits window positions, stored
// lengths of LengthBits bits, input and output blocks of BlockSize bytes.
// One object codes one stream, once. Input arrives through FillInputBlock,
// output leaves through FlushOutputBlock, one block at a time; both are
// virtual so that the worker-thread coders can hand blocks over instead of
// using devices.
template <int IndexBits, int LengthBits, int BlockSize>
class CTLZSSCoder {
 public:
  static constexpr int kIndexBits = IndexBits;
  static constexpr int kLengthBits = LengthBits;
  static constexpr int kWindowSize = 1 << IndexBits;
  static constexpr int kShortestMatch = 2;                     // shorter matches go out as literals
  static constexpr int kLongestMatch = (1 << LengthBits) + 1;  // also the look-ahead
  static constexpr int kBlockSize = BlockSize;

  // Codes everything from pInStream's current position to its end into
  // pOutStream, in the calling thread. Answers false when a device failed;
  // Expand also when the data ended before its end marker (the bytes up to
  // the cut are written all the same).
  static bool Compress(QIODevice* pInStream, QIODevice* pOutStream);
  static bool Expand(QIODevice* pInStream, QIODevice* pOutStream);
  // The same over byte arrays; *pComplete (when given) receives Expand's
  // answer.
  static QByteArray Compress(const QByteArray& plain);
  static QByteArray Expand(const QByteArray& packed, bool* pComplete = nullptr);

  CTLZSSCoder(const CTLZSSCoder&) = delete;
  CTLZSSCoder& operator=(const CTLZSSCoder&) = delete;
  virtual ~CTLZSSCoder();

  // No device failed, no hand-over timed out, and (after expansion) the
  // data held its end marker.
  bool Success() const { return v_success.load() && !v_fatal; }

 protected:
  CTLZSSCoder(QIODevice* pInStream, QIODevice* pOutStream);

  // Makes the next input bytes readable at v_inBlock and answers their
  // number; 0 at the end of the input. Base: reads up to one block from v_in.
  virtual int FillInputBlock();
  // Takes n coded bytes; bFinal marks the last call. Answers false to stop
  // the coding. Base: writes them to v_out.
  virtual bool FlushOutputBlock(const std::uint8_t* pBytes, int n, bool bFinal);

  // The coding loops. Each answers whether it ran to its end.
  bool CompressAll();
  bool ExpandAll();

  void Fail() { v_success.store(false); }

  QIODevice* v_in;
  QIODevice* v_out;
  const std::uint8_t* v_inBlock = nullptr;  // the bytes of the last FillInputBlock

 private:
  // Bytes compared at once by the match finder: the look-ahead rounded up
  // to whole 64-bit words. The window mirrors its first kCompareBytes bytes
  // behind its end so that a comparison never wraps.
  static constexpr int kCompareBytes = (kLongestMatch + 7) / 8 * 8;
  static constexpr int kRoot = kWindowSize;  // tree node above all strings
  static constexpr int kNoNode = 0;          // position 0 is never a string
  static constexpr int kPairBits = 1 + IndexBits + LengthBits;

  // The tree: one node per window position, plus the root at kRoot; links
  // are node indexes. Index 0 stands for "no node". Its slot is written like
  // any other when a link to no node is rewired, and deleting position 0
  // reads the parent left there: the algorithm's plain array form, whose
  // tree, and so whose coded bytes, this keeps.
  static constexpr int kSmaller = 0;  // child with the strings that sort before a node's
  static constexpr int kLarger = 1;   // child with those that sort after it, or equal in all bytes
  using Children = std::array<std::uint16_t, 2>;  // [kSmaller], [kLarger]
  struct Match {
    int length = 0;
    int position = 0;
  };

  void SetWindowByte(int position, std::uint8_t b) {
    v_window[position] = b;
    if (position < kCompareBytes) v_window[kWindowSize + position] = b;
  }
  Match AddString(int newNode);
  void DeleteString(int p);
  void ContractNode(int oldNode, int newNode);
  void ReplaceNode(int oldNode, int newNode);
  int FindNextNode(int node) const;

  std::atomic<bool> v_success{true};
  std::atomic<bool> v_fatal{false};  // expansion needed bits beyond the input's end
  // Parents and children apart: the search reads only the children.
  std::array<std::uint16_t, kWindowSize + 1> v_parent{};
  std::array<Children, kWindowSize + 1> v_child{};
  std::array<std::uint8_t, kWindowSize + kCompareBytes> v_window{};
  std::array<std::uint8_t, BlockSize> v_inFileBuff{};
  // Compression fills it from offset 0. Expansion keeps the last
  // kWindowSize bytes produced (the window, all zero at start) in front of
  // the block it fills; the slack takes the over-long word copies.
  std::array<std::uint8_t, kWindowSize + BlockSize + 32> v_outFileBuff{};
};

extern template class CTLZSSCoder<12, 4, 16384>;
extern template class CTLZSSCoder<13, 3, 4096>;

// The standard coder: 4096-byte window, matches of 2 to 17 bytes. Used for
// database files and the first string codec.
class CTLZSSLogic : public CTLZSSCoder<12, 4, 16384> {
 protected:
  using CTLZSSCoder::CTLZSSCoder;
};

// Two blocks passed between the side that fills them and the side that
// drains them, in order. A block belongs to exactly one side at a time: to
// the filler between TakeEmpty and PassFull, to the drainer between
// TakeFull and GiveBack, to neither while it waits in between. With two
// blocks one side works on a block while the other fills or drains the
// second.
//
// Every wait, on either side, is bounded by the wait limit. A wait that
// runs into it takes no block, halts both sides and counts as a failure;
// Halt alone (a stop request) is none. A halted side stops at its next
// wait; one that is inside a device call finishes that call first.
class CTLZSSHandOver {
 public:
  static constexpr int kBlockSize = 65536;
  struct Block {
    std::unique_ptr<std::uint8_t[]> bytes;
    int count = 0;  // valid bytes
  };

  explicit CTLZSSHandOver(std::chrono::milliseconds waitLimit);

  // Filling side. TakeEmpty answers nullptr when halted or timed out.
  Block* TakeEmpty();
  void PassFull(Block* pBlock);
  void PassEnd();  // no block follows
  // Draining side. TakeFull answers nullptr at the end of the data, when
  // halted or timed out.
  Block* TakeFull();
  void GiveBack(Block* pBlock);
  // The worker's last word, and the wait for it.
  void MarkFinished();
  bool WaitFinished();

  void Halt();
  bool Halted() const;
  bool TimedOut() const;

 private:
  template <typename Ready>
  bool WaitFor(std::unique_lock<std::mutex>& lock, Ready ready);

  const std::chrono::milliseconds v_waitLimit;
  mutable std::mutex v_mutex;
  std::condition_variable v_changed;
  std::array<Block, 2> v_blocks;
  std::array<Block*, 2> v_empty{};  // stack of v_emptyCount blocks
  std::array<Block*, 2> v_full{};   // queue of v_fullCount blocks, oldest first
  int v_emptyCount = 0;
  int v_fullCount = 0;
  bool v_end = false;
  bool v_halted = false;
  bool v_timedOut = false;
  bool v_finished = false;
};

// Compression on a worker thread: the producer's Write fills blocks, the
// worker codes them and writes the coded bytes to the output device.
class CTLZSSCompressor final : public CTLZSSLogic {
 public:
  CTLZSSCompressor(QIODevice* pOutStream, std::chrono::milliseconds waitLimit);
  ~CTLZSSCompressor() override;  // stops the worker without finishing

  // Answers the bytes accepted; -1 when the stream had failed before.
  qint64 Write(const char* pBuffer, qint64 nCount);
  // Hands over the last bytes, lets the worker write the end marker and
  // waits for it. Answers Success(); later calls answer the same.
  bool Done();

 protected:
  int FillInputBlock() override;
  bool FlushOutputBlock(const std::uint8_t* pBytes, int n, bool bFinal) override;

 private:
  void Run();

  CTLZSSHandOver v_handOver;
  CTLZSSHandOver::Block* v_producerBlock = nullptr;  // being filled by Write
  CTLZSSHandOver::Block* v_workerBlock = nullptr;    // being coded
  bool v_done = false;
  std::thread v_thread;
};

// Expansion on a worker thread, started by the first Read: the worker reads
// the input device and fills blocks, the consumer's Read drains them.
class CTLZSSExpander final : public CTLZSSLogic {
 public:
  CTLZSSExpander(QIODevice* pInStream, std::chrono::milliseconds waitLimit);
  ~CTLZSSExpander() override;  // Stop

  // Answers the bytes delivered, fewer than nCount only at the end; 0 at
  // the end, -1 once a hand-over timed out or after Stop.
  qint64 Read(char* pBuffer, qint64 nCount);
  bool AtEnd() const { return v_atEnd && !HasBufferedBytes(); }
  qint64 BufferedBytes() const { return HasBufferedBytes() ? v_readBlock->count - v_readPos : 0; }
  // Stops the worker, also in the middle of the data.
  void Stop();

 protected:
  int FillInputBlock() override;
  bool FlushOutputBlock(const std::uint8_t* pBytes, int n, bool bFinal) override;

 private:
  void Run();
  bool HasBufferedBytes() const { return v_readBlock && v_readPos < v_readBlock->count; }

  CTLZSSHandOver v_handOver;
  CTLZSSHandOver::Block* v_fillBlock = nullptr;  // being filled by the worker
  CTLZSSHandOver::Block* v_readBlock = nullptr;  // being read by Read
  int v_readPos = 0;
  bool v_atEnd = false;
  bool v_stopped = false;
  std::thread v_thread;
};

// A stream over a worker-thread coder (v_engine, owned). Sequential, no
// size, no seeking.
class CTLZSSStream : public QIODevice {
 public:
  ~CTLZSSStream() override;
  bool isSequential() const override { return true; }
  // The coder exists and has not failed.
  bool Success() const { return v_engine && v_engine->Success(); }

 protected:
  explicit CTLZSSStream(std::unique_ptr<CTLZSSLogic> pEngine) : v_engine(std::move(pEngine)) {}
  qint64 readData(char*, qint64) override { return 0; }
  qint64 writeData(const char*, qint64) override { return 0; }

  std::unique_ptr<CTLZSSLogic> v_engine;
};

// Write-only: what is written comes out compressed on pOutStream (not
// owned), which must outlive the stream. Finish (or close, or the
// destructor) completes the compressed data.
class CTLZSSCompressorStream final : public CTLZSSStream {
 public:
  explicit CTLZSSCompressorStream(QIODevice* pOutStream, std::chrono::milliseconds waitLimit = kLZSSWaitLimit);
  ~CTLZSSCompressorStream() override;

  // Completes the compressed data; answers whether every coded byte reached
  // the output device. The stream is closed afterwards.
  bool Finish();
  void close() override;

  // Writes szSignature's characters as single bytes to pOutStream and
  // answers a compressor stream over the rest; nullptr when the signature
  // could not be written.
  static std::unique_ptr<CTLZSSCompressorStream> CreateBehindSignature(QIODevice* pOutStream,
                                                                       const QString& szSignature);

 protected:
  // Answers the bytes really accepted; -1 once the stream has failed.
  qint64 writeData(const char* data, qint64 len) override;

 private:
  CTLZSSCompressor* v_compressor;  // the engine, typed
  bool v_finished = false;
  bool v_finishResult = false;
};

// Read-only: reads the expansion of pInStream (not owned, must outlive the
// stream) from its current position. Closing or destroying the stream stops
// the worker, also before the end of the data.
class CTLZSSExpanderStream final : public CTLZSSStream {
 public:
  explicit CTLZSSExpanderStream(QIODevice* pInStream, std::chrono::milliseconds waitLimit = kLZSSWaitLimit);
  ~CTLZSSExpanderStream() override;

  void close() override;
  bool atEnd() const override;
  qint64 bytesAvailable() const override;

  // Reads as many bytes as szSignature has characters, comparing each with
  // the character's low byte. When all match, answers an expander stream
  // over the rest of pInStream. Otherwise puts pInStream back where it was
  // and answers nullptr: the data is plain. An empty signature means the
  // whole stream is compressed.
  static std::unique_ptr<CTLZSSExpanderStream> OpenBehindSignature(QIODevice* pInStream,
                                                                    const QString& szSignature);

 protected:
  qint64 readData(char* data, qint64 maxlen) override;

 private:
  CTLZSSExpander* v_expander;  // the engine, typed
};
