#pragma once
// CTUpgradeDownload: fetching a build of the program from the download
// server, checking every file, and handing it to the updater.
//
// Files, in this order: the updater, the program, then the interface,
// central and company glossaries (only for a language other than English,
// and only those the server has). Each goes into a private temporary folder
// (mode 0700) and counts only when its size and its SHA-256 are the ones
// the server announced; a file without a digest is refused. Nothing is
// started or installed before every file has passed.
//
// The updater is started with a command line of our own making: the
// switches below, each followed directly by its value, every value a path
// of ours or the title:
//   -a<title> -p<our process id> -t<program file to replace> -s<new program>
//   [-g<interface glossary>] [-c<central glossary>] [-o<company glossary>] [-n]
// (-n: do not start the program again afterwards).

#include "online/VersionsList.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

struct LTUpgradeFile {
  enum class Role { kUpdater, kProgram, kInterfaceGlossary, kCentralGlossary, kCompanyGlossary };
  Role role = Role::kProgram;
  QString szShownName;   // in the progress label and the messages
  QString szServerPath;  // server-relative
  qint64 nSize = 0;
  QString szSha256;    // lower-case hex
  QString szLocalFile;  // where it was downloaded; empty before
};

// How a download ended.
struct LTUpgradeOutcome {
  enum class Result { kOk, kFailed, kMissing, kSizeDiffers, kDigestDiffers, kNoDigest, kNoUpdater, kLocalFolder };
  Result result = Result::kOk;
  QString szShownName;  // the file it ended at
  quint32 nFoundSize = 0;
  qint64 nExpectedSize = 0;
  bool Ok() const { return result == Result::kOk; }
};

class CTUpgradeDownload {
 public:
  // Progress of one file: the file's index, bytes so far, bytes expected.
  using TProgress = std::function<void(int nFile, quint32 nProgress, quint32 nExpected)>;

  // The glossary the server holds for a name and language: path, size and
  // digest; none when it has none.
  static std::optional<LTUpgradeFile> GlossaryFile(int nServerID, const QString& szName, int nLanguage,
                                                   LTUpgradeFile::Role role);
  // The files of one build: the updater, the program, and for another
  // language than English the glossaries the server has (the catalogue's
  // only with a catalogue, the company one only when the build has a company
  // database).
  static std::vector<LTUpgradeFile> Plan(int nServerID, const LTVersionEntry& updater, const LTVersionEntry& build,
                                         const QString& szAppKey, bool bHasCatalogue);

  // Downloads every file into szFolder (made when missing, private) and
  // checks each; on any failure every file downloaded so far is removed.
  static LTUpgradeOutcome DownloadAll(int nServerID, std::vector<LTUpgradeFile>& files, const QString& szFolder,
                                      const TProgress& progress = {});

  static QString Sha256OfFile(const QString& szPath);
  // Whether the installation folder takes new files (a test file is made
  // and removed).
  static bool CanWriteFolder(const QString& szFolder);

  // The updater's arguments for the downloaded files (see above).
  static QStringList UpdaterArguments(const std::vector<LTUpgradeFile>& files, const QString& szTitle, qint64 nPid,
                                      const QString& szTargetProgram, bool bRestart);
  // Starts the downloaded, checked updater, detached; false when it cannot.
  static bool StartUpdater(const std::vector<LTUpgradeFile>& files, const QString& szTitle,
                           const QString& szTargetProgram, bool bRestart);

  // The download report's query value: the fields joined by tabs, packed as
  // the service's texts (our server unpacks it); sent for servers 0 and 10,
  // its answer ignored.
  static QString ReportValue(const QStringList& fields);
  static void SendReport(int nServerID, const QStringList& fields);
};
