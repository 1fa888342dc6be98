#pragma once
// CTServerPaths: the one gate through which a name from a request becomes a
// file of the served folder. A request may name only what lies inside its
// folder: the name is first checked as text, then the file it leads to is
// resolved (links followed) and must still lie inside the folder's own
// resolved path.

#include <QString>

class CTServerPaths {
 public:
  enum class Found {
    kFile,      // an existing regular file inside the folder
    kMissing,   // nothing there, a folder, or a link that leads out of the folder
    kRejected,  // the name itself is not allowed
  };

  struct Resolved {
    Found found = Found::kRejected;
    QString szPath;  // the resolved absolute path when kFile
  };

  // A relative path with "/" between segments (a backslash counts as "/"),
  // without empty, "." or ".." segments, NUL or other control characters.
  // Returns the cleaned path, or an empty string when refused.
  static QString CleanRelativePath(const QString& szPath);

  // One segment: not empty, not starting with '.', no '/', '\\' or control
  // characters, at most 255 UTF-8 bytes.
  static bool IsPlainName(const QString& szName);

  // The file szRelative (checked with CleanRelativePath) inside szFolder.
  static Resolved Resolve(const QString& szFolder, const QString& szRelative);

  // Whether szPath, once resolved, lies inside the resolved szFolder (or is
  // the folder itself). False when either does not exist.
  static bool IsInside(const QString& szFolder, const QString& szPath);
};
