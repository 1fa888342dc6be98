#pragma once
// The rule that one user runs one copy of the program: an exclusive advisory
// lock on a per-user lock file, held for the life of the process. The kernel
// drops the lock when the process ends, however it ends, so a crashed copy
// never blocks the next start.

#include <QString>

class CTSingleInstance {
 public:
  // szName names the lock ("Global\Aerolith"); characters that cannot stand
  // in a file name are replaced.
  explicit CTSingleInstance(const QString& szName);
  ~CTSingleInstance();
  CTSingleInstance(const CTSingleInstance&) = delete;
  CTSingleInstance& operator=(const CTSingleInstance&) = delete;

  // True when this object now holds the lock (or already held it); false when
  // another holder has it or the lock file cannot be opened.
  bool TryAcquire();
  void Release();
  bool IsHeld() const { return v_fd >= 0; }
  QString LockFilePath() const { return v_path; }

  // Default: $AEROLITH_RUNTIME_DIR, else the user's runtime folder, else the
  // user's configuration folder of the registry store.
  static QString LockFolder();

 private:
  QString v_path;
  int v_fd = -1;
};
