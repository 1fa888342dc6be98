#pragma once
// CTReleaseManifest: the signed list of a release's files. aerolith-release
// writes it beside the versions list (ROOT/versions/NAME.manifest); the
// program reads it before it trusts the list or any file, and the updater
// reads it again before it replaces anything.
//
// The text, US-ASCII, every line ending in LF alone, these lines in this
// order and nothing else:
//
//   aerolith-release-manifest 1                     the format and its version
//   program Aerolith.exe                            the program file the release is for
//   release 7.3.0                                   the newest program version it offers
//   issued 2026-05-01T09:30:00Z                     UTC
//   expires 2026-10-28T09:30:00Z                    UTC, later than issued
//   file 1184 9f86d081884c7d65...(64) files/builds/730/aerolith
//   file 523 2c26b46b68ffc68f...(64) versions/Aerolith.exe.txt
//   key 3a6eb0790f39ac87                            the signing key's id
//   signature 8d1f4e...(128)                        Ed25519 over every byte before this line
//
// One "file" line per file: its size in bytes, its SHA-256 and its name,
// the path below the served folder (ROOT), so the versions list is
// "versions/NAME.txt" and a download "files/" + its path in the list. The
// versions list of the program is always one of them.
//
// Bounds, each checked before the next byte is read:
//   the whole text        at most kMaxBytes
//   a line                at most kMaxLineBytes, LF included
//   program               1 to 64 of A-Z a-z 0-9 . _ -, not starting with "."
//   release               M.m.p: M 0 to 99 without a leading zero, m and p one digit each;
//                         the number 100 M + 10 m + p (7.3.0 is 730) at least 1
//   issued, expires       YYYY-MM-DDTHH:MM:SSZ, a real date and time, years 2000 to 9999
//   files                 1 to kMaxFiles, names in strictly ascending byte order (so none twice)
//   size                  0 to 4294967295 (downloads count bytes in 32 bits), no leading zero
//   SHA-256, key, signature   64, 16 and 128 lower-case hex digits
//   name                  1 to kMaxNameBytes of A-Z a-z 0-9 . _ - /; segments between "/" not
//                         empty and not starting with "." (so no "." or "..")
// A text that ends cleanly after its file lines, or after its key line, is
// unsigned; anything else that differs from the above does not read.
//
// The key id is the first 8 bytes of the SHA-256 of the key's 32 raw
// public bytes. The signature is Ed25519 (RFC 8032, pure) over the bytes
// from the first one up to and including the LF that ends the key line.
//
// Nothing here knows which keys a build accepts (CTReleaseKeys) or words a
// message; the readers answer a problem with what it concerns.

#include <QByteArray>
#include <QString>

#include <vector>

struct LTReleaseFile {
  QString szName;       // below the served folder: "files/builds/730/aerolith"
  qint64 nSize = 0;     // bytes
  QByteArray arSha256;  // 32 raw bytes
};

struct LTReleaseManifest {
  QString szProgram;  // "Aerolith.exe"
  int nRelease = 0;   // 730 for 7.3.0
  qint64 nIssued = 0;   // seconds since 1970-01-01T00:00:00Z
  qint64 nExpires = 0;  // the same; later than nIssued
  std::vector<LTReleaseFile> files;  // by name, ascending
  QByteArray arKeyId;      // 8 raw bytes; empty when unsigned
  QByteArray arSignature;  // 64 raw bytes; empty when unsigned
  qsizetype nSignedBytes = 0;  // the length of the text the signature covers

  const LTReleaseFile* Find(const QString& szName) const;
};

// A public key the program accepts.
struct LTReleaseKey {
  QString szLabel;       // who holds it and since when, for the messages of the tools
  QByteArray arPublic;   // 32 raw bytes
};

// Why a release, or a file of it, is not taken. The order of the checks is
// the order here: nothing a manifest says is believed before its signature.
enum class TReleaseProblem {
  kNone,
  kNoManifest,     // the server has no manifest for the program: the release is not signed
  kMalformed,      // the manifest does not read (nLine, szDetail)
  kUnsigned,       // it reads, but carries no signature
  kUnknownKey,     // signed by a key this build does not accept (arKeyId)
  kBadSignature,   // the signature does not match the text
  kOtherProgram,   // made for another program (szDetail: its program)
  kExpired,        // expired (nExpires)
  kRolledBack,     // older than the installed version (nRelease, nInstalled)
  kListDiffers,    // the versions list is not the one that was signed
  kNotInRelease,   // a file the manifest does not name (szFile)
  kFileDiffers,    // a file whose size or SHA-256 is not the signed one (szFile)
};

struct LTReleaseRefusal {
  TReleaseProblem problem = TReleaseProblem::kNone;
  QString szFile;     // the manifest's name of the file refused: the manifest itself, the list or a file
  int nLine = 0;      // kMalformed: the line, from 1
  QString szDetail;   // kMalformed: what is wrong; kOtherProgram: the manifest's program
  QByteArray arKeyId;  // kUnknownKey
  qint64 nExpires = 0;  // kExpired
  int nRelease = 0;     // kRolledBack
  int nInstalled = 0;   // kRolledBack
  bool Ok() const { return problem == TReleaseProblem::kNone; }
};

// What the reader of a manifest expects of it.
struct LTReleaseExpectation {
  QString szProgram;       // empty: any program
  int nInstalledVersion = 0;  // 0: no installed version to compare with
  qint64 nNow = 0;         // seconds since 1970-01-01T00:00:00Z
};

class CTReleaseManifest {
 public:
  static constexpr qsizetype kMaxBytes = 192 * 1024;
  static constexpr qsizetype kMaxLineBytes = 300;
  static constexpr int kMaxFiles = 512;
  static constexpr int kMaxNameBytes = 200;
  static constexpr int kMaxProgramBytes = 64;
  static constexpr qint64 kMaxFileSize = 0xFFFFFFFFLL;
  static constexpr qsizetype kKeyIdBytes = 8;
  static constexpr qsizetype kPublicKeyBytes = 32;
  static constexpr qsizetype kSignatureBytes = 64;

  // Reads the text: kNone, kMalformed (with nLine and szDetail) or
  // kUnsigned. The manifest is filled as far as it read.
  static LTReleaseRefusal Read(const QByteArray& arText, LTReleaseManifest& manifest);

  // Reads and checks a manifest: its signature by one of the keys, then
  // the program, the expiry and the installed version. On kNone the
  // manifest is the one signed.
  static LTReleaseRefusal Check(const QByteArray& arText, const LTReleaseExpectation& expected,
                                const std::vector<LTReleaseKey>& keys, LTReleaseManifest& manifest);

  // Whether the bytes are the signed file of that name.
  static LTReleaseRefusal CheckFile(const LTReleaseManifest& manifest, const QString& szName, const QByteArray& arBytes);
  // The same for a file on disk, read in pieces.
  static LTReleaseRefusal CheckLocalFile(const LTReleaseManifest& manifest, const QString& szName,
                                         const QString& szPath);

  // The text up to and including the key line: what the signature covers.
  // The manifest must read (names ascending and valid, see above).
  static QByteArray SignedText(const LTReleaseManifest& manifest);
  // The whole text: the signed text and the signature line.
  static QByteArray Text(const LTReleaseManifest& manifest);

  static bool VerifySignature(const QByteArray& arPublic, const QByteArray& arMessage, const QByteArray& arSignature);
  static QByteArray KeyId(const QByteArray& arPublic);

  // The names a release gives its versions list, its manifest and a
  // download of the list ("builds/730/aerolith").
  static QString ListName(const QString& szProgram);
  static QString ManifestName(const QString& szProgram);
  static QString DownloadName(const QString& szServerPath);
  // A file name as the format allows it.
  static bool IsValidName(const QString& szName);
  static bool IsValidProgram(const QString& szProgram);

  // "2026-10-28T09:30:00Z", and back; false when it is not that form.
  static QString TimeText(qint64 nSeconds);
  static bool ReadTime(const QByteArray& arText, qint64& nSeconds);
};
