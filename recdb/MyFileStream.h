#pragma once
// CTMyFileStream: the file stream through which the program opens its files.
// When a file exists but another holder has it locked, opening is retried
// with growing waits (100, 200, 400, 800 ms with the initial delays, then a
// last attempt). A missing or forbidden file fails at once.
//
// Sharing is modelled with advisory locks: a reader that denies writers takes
// a shared lock, a writer or an exclusive opener an exclusive one.

#include <QFile>
#include <QString>

#include <functional>
#include <stdexcept>

// The failure of the last attempt to open or create a file.
class CTFileStreamError : public std::runtime_error {
 public:
  CTFileStreamError(const QString& szFileName, bool bCreating, int nErrno);
  QString FileName() const { return v_fileName; }
  bool Creating() const { return v_creating; }
  int Errno() const { return v_errno; }

 private:
  QString v_fileName;
  bool v_creating;
  int v_errno;
};

class CTMyFileStream : public QFile {
 public:
  // Open modes, 16 bits: access in the low two bits (0 read, 1 write,
  // 2 read/write), sharing in 0x00F0, 0xFF00 for create.
  static constexpr unsigned kAccessRead = 0x0000;
  static constexpr unsigned kAccessWrite = 0x0001;
  static constexpr unsigned kAccessReadWrite = 0x0002;
  static constexpr unsigned kShareExclusive = 0x0010;
  static constexpr unsigned kShareDenyWrite = 0x0020;
  static constexpr unsigned kShareDenyNone = 0x0040;
  static constexpr unsigned kCreate = 0xFF00;
  static constexpr unsigned kOpenReadDenyWrite = kAccessRead | kShareDenyWrite;  // 0x0020
  static constexpr unsigned kCreateExclusive = kCreate | kShareExclusive;        // 0xFF10

  // Opens under the retry rule; throws CTFileStreamError when the last
  // attempt fails.
  CTMyFileStream(const QString& szFileName, unsigned nMode);
  ~CTMyFileStream() override;

  // Sets the maximum delay (clamped to 100..6400 ms) and the start delay to a
  // sixteenth of it; answers the previous maximum.
  static int SetMaxWaitInterval(int n);
  static int StartDelay();
  static int MaxDelay();
  // The waits between attempts; tests replace it to avoid sleeping.
  static void SetSleepFunction(std::function<void(int nMilliseconds)> fnSleep);

 private:
  // One attempt; on failure answers the errno, EWOULDBLOCK meaning locked.
  int TryOpen(const QString& szFileName, unsigned nMode);
};
