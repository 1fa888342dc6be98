#pragma once
// CTUpgradeDownload: fetching a build of the program from the download
// server, checking every file against the release's signed manifest, and
// handing it to the updater.
//
// Files, in this order: the updater, the program, then the interface,
// central and company glossaries (only for a language other than English,
// and only those the server has), and last the manifest itself, which is
// not fetched again: the copy that was checked is written. The download
// folder is private (mode 0700) and laid out as the release is on the
// server, so that the updater finds each file's name in the manifest from
// where it lies:
//   FOLDER/versions/Aerolith.exe.manifest   FOLDER/versions/Aerolith.exe.txt
//   FOLDER/files/tools/updater              FOLDER/files/builds/730/aerolith ...
// A file counts only when the manifest names it and its size and SHA-256
// are the signed ones. Nothing is started or installed before every file
// has passed; on a failure everything the download wrote goes again.
//
// The updater is started with a command line of our own making: the
// switches below, each followed directly by its value, every value a path
// of ours or the title:
//   -a<title> -p<our process id> -t<program file to replace> -s<new program>
//   [-g<interface glossary>] [-c<central glossary>] [-o<company glossary>] -m<manifest> [-n]
// (-n: do not start the program again afterwards). The updater checks the
// manifest's signature and every file once more before it replaces
// anything.

#include "online/VersionsList.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

struct LTUpgradeFile {
  enum class Role { kUpdater, kProgram, kInterfaceGlossary, kCentralGlossary, kCompanyGlossary, kManifest };
  Role role = Role::kProgram;
  QString szShownName;   // in the progress label and the messages
  QString szServerPath;  // server-relative, for the download script
  qint64 nSize = 0;      // the signed size when the manifest names the file
  QString szReleaseName;  // its name in the manifest ("files/" + szServerPath)
  QString szLocalFile;    // where it was downloaded; empty before
};

// How a download ended.
struct LTUpgradeOutcome {
  enum class Result {
    kOk,
    kFailed,         // the transfer failed
    kMissing,        // the server does not have the file
    kSizeDiffers,    // it arrived with another size than the signed one
    kDigestDiffers,  // it arrived, but is not the file that was signed
    kNotInRelease,   // the manifest does not name it (or there is no signed release)
    kNoUpdater,      // the list names no updater: nothing was fetched
    kLocalFolder,    // the download folder cannot be written
  };
  Result result = Result::kOk;
  QString szShownName;  // the file it ended at
  quint32 nFoundSize = 0;
  qint64 nExpectedSize = 0;
  // The file it ended at by its name in the release, and for
  // kDigestDiffers and kNotInRelease why it was refused.
  LTReleaseRefusal refusal;
  bool Ok() const { return result == Result::kOk; }
};

class CTUpgradeDownload {
 public:
  // Progress of one file: the file's index, bytes so far, bytes expected.
  using TProgress = std::function<void(int nFile, quint32 nProgress, quint32 nExpected)>;

  // The glossary the server holds for a name and language: path and size;
  // none when it has none.
  static std::optional<LTUpgradeFile> GlossaryFile(int nServerID, const QString& szName, int nLanguage,
                                                   LTUpgradeFile::Role role);
  // The files of one build of the list: its updater, the program, for
  // another language than English the glossaries the server has (the
  // catalogue's only with a catalogue, the company one only when the build
  // has a company database), and the list's manifest.
  static std::vector<LTUpgradeFile> Plan(int nServerID, const LTVersionsList& list, const LTVersionEntry& build,
                                         const QString& szAppKey, bool bHasCatalogue);

  // Downloads every file of the signed release into szFolder, a new or
  // empty folder (made when missing), every folder it makes private, and
  // checks each; on any failure everything written so far is removed.
  static LTUpgradeOutcome DownloadAll(int nServerID, const LTSignedRelease& release, std::vector<LTUpgradeFile>& files,
                                      const QString& szFolder, const TProgress& progress = {});
  // Whether the installation folder takes new files (a test file is made
  // and removed).
  static bool CanWriteFolder(const QString& szFolder);

  // The updater's arguments for the downloaded files (see above).
  static QStringList UpdaterArguments(const std::vector<LTUpgradeFile>& files, const QString& szTitle, qint64 nPid,
                                      const QString& szTargetProgram, bool bRestart);
  // Starts the downloaded updater, detached, once the manifest and the
  // updater have been checked again; false when it cannot.
  static bool StartUpdater(const std::vector<LTUpgradeFile>& files, const QString& szTitle,
                           const QString& szTargetProgram, bool bRestart);

  // The download report's query value: the fields joined by tabs, packed as
  // the service's texts (our server unpacks it); sent for servers 0 and 10,
  // its answer ignored.
  static QString ReportValue(const QStringList& fields);
  static void SendReport(int nServerID, const QStringList& fields);
};
