#include "online/UpgradeDownload.h"

#include "online/ATORemoteUtils0.h"
#include "online/CorvelConfig.h"
#include "online/CorvelIntegration.h"
#include "online/ReleaseKeys.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QTemporaryFile>

namespace {

using Result = LTUpgradeOutcome::Result;

constexpr int kEnglish = 1033;
constexpr QFileDevice::Permissions kPrivate = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;

// What a download wrote, so that a failure takes exactly that away again
// (the folder may be one the user named, with files of its own).
class CTWritten {
 public:
  // Makes the folders of szFolder that are missing, each private.
  bool MakeFolders(const QString& szFolder) {
    QStringList missing;
    for (QDir dir(szFolder); !dir.exists(); dir.setPath(QFileInfo(dir.path()).path())) {
      missing.prepend(dir.path());
      if (QFileInfo(dir.path()).path() == dir.path()) return false;
    }
    for (const QString& folder : missing) {
      if (!QDir().mkdir(folder, kPrivate)) return false;
      m_folders.push_back(folder);
    }
    return true;
  }
  void AddFile(const QString& szPath) { m_files.push_back(szPath); }
  void RemoveAll(std::vector<LTUpgradeFile>& files) {
    for (const QString& file : m_files) QFile::remove(file);
    for (auto it = m_folders.rbegin(); it != m_folders.rend(); ++it) QDir().rmdir(*it);
    m_files.clear();
    m_folders.clear();
    for (LTUpgradeFile& file : files) file.szLocalFile.clear();
  }

 private:
  QStringList m_files;
  QStringList m_folders;  // in the order they were made
};

// Writes bytes whole or not at all.
bool WriteWhole(const QString& szPath, const QByteArray& arBytes) {
  QSaveFile file(szPath);
  return file.open(QIODevice::WriteOnly) && file.write(arBytes) == arBytes.size() && file.commit();
}

LTUpgradeFile FileOf(LTUpgradeFile::Role role, const QString& szShownName, const QString& szServerPath,
                     qint64 nListedSize, const LTReleaseManifest& manifest) {
  LTUpgradeFile file{role, szShownName, szServerPath, nListedSize, CTReleaseManifest::DownloadName(szServerPath),
                     QString()};
  if (const LTReleaseFile* signedFile = manifest.Find(file.szReleaseName)) file.nSize = signedFile->nSize;
  return file;
}

}  // namespace

std::optional<LTUpgradeFile> CTUpgradeDownload::GlossaryFile(int nServerID, const QString& szName, int nLanguage,
                                                             LTUpgradeFile::Role role) {
  QString answer;
  if (!CTCorvelIntegration::GetStringFromInternet(
          nServerID,
          QStringLiteral("scripts/corvel_get_glos_size.asp?") +
              CTCorvelIntegration::Query({{"name", szName}, {"lang", QString::number(nLanguage)}}),
          answer))
    return std::nullopt;
  LTUpgradeFile file;
  file.role = role;
  file.szShownName = QStringLiteral("Glossary");
  QString size;
  if (!CTCorvelIntegration::GetXMLAttributeValue(answer, QStringLiteral("path"), file.szServerPath) ||
      file.szServerPath.isEmpty() || !CTCorvelIntegration::GetXMLAttributeValue(answer, QStringLiteral("size"), size))
    return std::nullopt;
  bool ok = false;
  file.nSize = size.trimmed().toLongLong(&ok);
  if (!ok || file.nSize <= 0) return std::nullopt;
  file.szReleaseName = CTReleaseManifest::DownloadName(file.szServerPath);
  return file;
}

std::vector<LTUpgradeFile> CTUpgradeDownload::Plan(int nServerID, const LTVersionsList& list,
                                                   const LTVersionEntry& build, const QString& szAppKey,
                                                   bool bHasCatalogue) {
  const LTReleaseManifest& manifest = list.release.manifest;
  const LTVersionEntry updater = list.updater.value_or(LTVersionEntry());
  std::vector<LTUpgradeFile> files;
  files.push_back(FileOf(LTUpgradeFile::Role::kUpdater, QStringLiteral("Updater2.exe"), updater.v_fileName,
                         updater.v_fileSize, manifest));
  files.push_back(FileOf(LTUpgradeFile::Role::kProgram, szAppKey, build.v_fileName, build.v_fileSize, manifest));
  std::vector<std::pair<QString, LTUpgradeFile::Role>> glossaries;
  if (build.v_languageID != kEnglish) {
    glossaries.emplace_back(szAppKey, LTUpgradeFile::Role::kInterfaceGlossary);
    if (bHasCatalogue) glossaries.emplace_back(QStringLiteral("central.mdb"), LTUpgradeFile::Role::kCentralGlossary);
    if (bHasCatalogue && build.v_companyDbVer != 0)
      glossaries.emplace_back(QStringLiteral("company.tdb"), LTUpgradeFile::Role::kCompanyGlossary);
  }
  for (const auto& [name, role] : glossaries) {
    std::optional<LTUpgradeFile> glossary = GlossaryFile(nServerID, name, build.v_languageID, role);
    if (!glossary) continue;
    if (const LTReleaseFile* signedFile = manifest.Find(glossary->szReleaseName)) glossary->nSize = signedFile->nSize;
    files.push_back(*glossary);
  }
  const QString manifestName = CTReleaseManifest::ManifestName(manifest.szProgram);
  files.push_back({LTUpgradeFile::Role::kManifest, QStringLiteral("Release manifest"), QString(),
                   list.release.arManifest.size(), manifestName, QString()});
  return files;
}

LTUpgradeOutcome CTUpgradeDownload::DownloadAll(int nServerID, const LTSignedRelease& release,
                                                std::vector<LTUpgradeFile>& files, const QString& szFolder,
                                                const TProgress& progress) {
  LTUpgradeOutcome outcome;
  const bool hasUpdater = std::any_of(files.begin(), files.end(), [](const LTUpgradeFile& f) {
    return f.role == LTUpgradeFile::Role::kUpdater && !f.szServerPath.isEmpty();
  });
  if (!hasUpdater) {
    outcome.result = Result::kNoUpdater;
    return outcome;
  }
  const LTReleaseManifest& manifest = release.manifest;
  if (!release.IsSigned()) {
    outcome.result = Result::kNotInRelease;
    outcome.refusal.problem = TReleaseProblem::kNoManifest;
    return outcome;
  }
  CTWritten written;
  const QDir folder(szFolder);
  const auto fail = [&](Result result) {
    written.RemoveAll(files);
    outcome.result = result;
    return outcome;
  };
  // The checked manifest and list first: the updater reads the one, a
  // mirror's keeper the other.
  const QString manifestFile = folder.filePath(CTReleaseManifest::ManifestName(manifest.szProgram));
  const QString listFile = folder.filePath(CTReleaseManifest::ListName(manifest.szProgram));
  // Every file lies in a folder made here, private (the download folder
  // itself when it was missing, else its empty subfolders).
  if (!written.MakeFolders(QFileInfo(manifestFile).path())) return fail(Result::kLocalFolder);
  for (const auto& [path, bytes] : {std::pair{manifestFile, release.arManifest}, std::pair{listFile, release.arList}}) {
    written.AddFile(path);
    if (!WriteWhole(path, bytes)) return fail(Result::kLocalFolder);
  }

  for (int i = 0; i < int(files.size()); ++i) {
    LTUpgradeFile& file = files[size_t(i)];
    if (file.role == LTUpgradeFile::Role::kManifest) {
      file.szLocalFile = manifestFile;
      continue;
    }
    outcome.szShownName = file.szShownName;
    outcome.refusal = LTReleaseRefusal();
    outcome.refusal.szFile = file.szReleaseName;
    // Nothing the manifest does not vouch for is fetched.
    const LTReleaseFile* signedFile = manifest.Find(file.szReleaseName);
    if (signedFile == nullptr || !CTReleaseManifest::IsValidName(file.szReleaseName)) {
      outcome.refusal.problem = TReleaseProblem::kNotInRelease;
      return fail(Result::kNotInRelease);
    }
    outcome.nExpectedSize = signedFile->nSize;
    const QString local = folder.filePath(file.szReleaseName);
    if (!written.MakeFolders(QFileInfo(local).path())) return fail(Result::kLocalFolder);
    written.AddFile(local);
    file.szLocalFile = local;
    const auto code = CTCorvelIntegration::GetFileFromInternet(
        nServerID, file.szServerPath, local, static_cast<quint32>(signedFile->nSize), outcome.nFoundSize,
        [&](quint32 nProgress, quint32 nMax) {
          if (progress) progress(i, nProgress, nMax);
        });
    if (code != CTCorvelIntegration::kFileOk)
      return fail(code == CTCorvelIntegration::kFileMissing      ? Result::kMissing
                  : code == CTCorvelIntegration::kFileSizeDiffers ? Result::kSizeDiffers
                                                                  : Result::kFailed);
    outcome.refusal = CTReleaseManifest::CheckLocalFile(manifest, file.szReleaseName, local);
    if (!outcome.refusal.Ok()) return fail(Result::kDigestDiffers);
  }
  outcome.szShownName.clear();
  outcome.refusal = LTReleaseRefusal();
  return outcome;
}

bool CTUpgradeDownload::CanWriteFolder(const QString& szFolder) {
  QTemporaryFile probe(QDir(szFolder).filePath(QStringLiteral(".aerolith-write-XXXXXX")));
  return probe.open();
}

QStringList CTUpgradeDownload::UpdaterArguments(const std::vector<LTUpgradeFile>& files, const QString& szTitle,
                                                qint64 nPid, const QString& szTargetProgram, bool bRestart) {
  QStringList arguments{QStringLiteral("-a") + szTitle, QStringLiteral("-p") + QString::number(nPid),
                        QStringLiteral("-t") + szTargetProgram};
  const std::pair<LTUpgradeFile::Role, const char*> kSwitches[] = {
      {LTUpgradeFile::Role::kProgram, "-s"},
      {LTUpgradeFile::Role::kInterfaceGlossary, "-g"},
      {LTUpgradeFile::Role::kCentralGlossary, "-c"},
      {LTUpgradeFile::Role::kCompanyGlossary, "-o"}};
  for (const auto& [role, flag] : kSwitches)
    for (const LTUpgradeFile& file : files)
      if (file.role == role && !file.szLocalFile.isEmpty()) arguments << QString::fromLatin1(flag) + file.szLocalFile;
  for (const LTUpgradeFile& file : files)
    if (file.role == LTUpgradeFile::Role::kManifest && !file.szLocalFile.isEmpty())
      arguments << QStringLiteral("-m") + file.szLocalFile;
  if (!bRestart) arguments << QStringLiteral("-n");
  return arguments;
}

bool CTUpgradeDownload::StartUpdater(const std::vector<LTUpgradeFile>& files, const QString& szTitle,
                                     const QString& szTargetProgram, bool bRestart) {
  const auto updater = std::find_if(files.begin(), files.end(), [](const LTUpgradeFile& f) {
    return f.role == LTUpgradeFile::Role::kUpdater && !f.szLocalFile.isEmpty();
  });
  if (updater == files.end()) return false;
  const auto manifestFile = std::find_if(files.begin(), files.end(), [](const LTUpgradeFile& f) {
    return f.role == LTUpgradeFile::Role::kManifest && !f.szLocalFile.isEmpty();
  });
  if (manifestFile == files.end()) return false;
  // Checked once more right before it runs: the manifest is signed and
  // current, the updater the one it names.
  QFile text(manifestFile->szLocalFile);
  if (!text.open(QIODevice::ReadOnly)) return false;
  LTReleaseManifest manifest;
  if (!CTReleaseManifest::Check(text.read(CTReleaseManifest::kMaxBytes + 1), {QString(), 0, QDateTime::currentSecsSinceEpoch()},
                                CTReleaseKeys::Accepted(), manifest)
           .Ok() ||
      !CTReleaseManifest::CheckLocalFile(manifest, updater->szReleaseName, updater->szLocalFile).Ok())
    return false;
  if (!QFile::setPermissions(updater->szLocalFile, kPrivate)) return false;
  const QStringList arguments =
      UpdaterArguments(files, szTitle, QCoreApplication::applicationPid(), szTargetProgram, bRestart);
  return QProcess::startDetached(updater->szLocalFile, arguments);
}

QString CTUpgradeDownload::ReportValue(const QStringList& fields) {
  return CTATORemoteUtils0::PackServiceText(fields.join(QLatin1Char('\t')));
}

void CTUpgradeDownload::SendReport(int nServerID, const QStringList& fields) {
  if (!CTCorvelConfig::IsReportingServer(nServerID)) return;
  QString ignored;
  CTCorvelIntegration::GetStringFromInternet(
      nServerID,
      QStringLiteral("scripts32/upgrade_downloaded.asp?") + CTCorvelIntegration::Query({{"req", ReportValue(fields)}}),
      ignored);
}
