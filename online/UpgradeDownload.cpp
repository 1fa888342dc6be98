#include "online/UpgradeDownload.h"

#include "online/ATORemoteUtils0.h"
#include "online/CorvelConfig.h"
#include "online/CorvelIntegration.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryFile>

namespace {

using Result = LTUpgradeOutcome::Result;

constexpr int kEnglish = 1033;

bool IsHexDigest(const QString& sz) {
  if (sz.size() != 64) return false;
  for (const QChar c : sz)
    if (!((c >= QLatin1Char('0') && c <= QLatin1Char('9')) || (c >= QLatin1Char('a') && c <= QLatin1Char('f'))))
      return false;
  return true;
}

void RemoveDownloaded(std::vector<LTUpgradeFile>& files) {
  for (LTUpgradeFile& file : files) {
    if (!file.szLocalFile.isEmpty()) QFile::remove(file.szLocalFile);
    file.szLocalFile.clear();
  }
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
  CTCorvelIntegration::GetXMLAttributeValue(answer, QStringLiteral("sha256"), file.szSha256);
  file.szSha256 = file.szSha256.trimmed().toLower();
  return file;
}

std::vector<LTUpgradeFile> CTUpgradeDownload::Plan(int nServerID, const LTVersionEntry& updater,
                                                   const LTVersionEntry& build, const QString& szAppKey,
                                                   bool bHasCatalogue) {
  std::vector<LTUpgradeFile> files;
  files.push_back({LTUpgradeFile::Role::kUpdater, QStringLiteral("Updater2.exe"), updater.v_fileName,
                   updater.v_fileSize, updater.v_sha256, QString()});
  files.push_back({LTUpgradeFile::Role::kProgram, szAppKey, build.v_fileName, build.v_fileSize, build.v_sha256,
                   QString()});
  if (build.v_languageID == kEnglish) return files;
  std::vector<std::pair<QString, LTUpgradeFile::Role>> glossaries{{szAppKey, LTUpgradeFile::Role::kInterfaceGlossary}};
  if (bHasCatalogue) glossaries.emplace_back(QStringLiteral("central.mdb"), LTUpgradeFile::Role::kCentralGlossary);
  if (bHasCatalogue && build.v_companyDbVer != 0)
    glossaries.emplace_back(QStringLiteral("company.tdb"), LTUpgradeFile::Role::kCompanyGlossary);
  for (const auto& [name, role] : glossaries)
    if (const std::optional<LTUpgradeFile> glossary = GlossaryFile(nServerID, name, build.v_languageID, role))
      files.push_back(*glossary);
  return files;
}

QString CTUpgradeDownload::Sha256OfFile(const QString& szPath) {
  QFile file(szPath);
  if (!file.open(QIODevice::ReadOnly)) return QString();
  QCryptographicHash hash(QCryptographicHash::Sha256);
  if (!hash.addData(&file)) return QString();
  return QString::fromLatin1(hash.result().toHex());
}

LTUpgradeOutcome CTUpgradeDownload::DownloadAll(int nServerID, std::vector<LTUpgradeFile>& files,
                                                const QString& szFolder, const TProgress& progress) {
  LTUpgradeOutcome outcome;
  const bool hasUpdater = std::any_of(files.begin(), files.end(), [](const LTUpgradeFile& f) {
    return f.role == LTUpgradeFile::Role::kUpdater && !f.szServerPath.isEmpty();
  });
  if (!hasUpdater) {
    outcome.result = Result::kNoUpdater;
    return outcome;
  }
  if (!QDir().mkpath(szFolder) ||
      !QFile::setPermissions(szFolder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner)) {
    outcome.result = Result::kLocalFolder;
    return outcome;
  }
  for (int i = 0; i < int(files.size()); ++i) {
    LTUpgradeFile& file = files[size_t(i)];
    outcome.szShownName = file.szShownName;
    outcome.nExpectedSize = file.nSize;
    // Nothing that cannot be checked is fetched.
    if (!IsHexDigest(file.szSha256)) {
      outcome.result = Result::kNoDigest;
      RemoveDownloaded(files);
      return outcome;
    }
    QTemporaryFile local(QDir(szFolder).filePath(QStringLiteral("UpdXXXXXX")));
    local.setAutoRemove(false);
    if (!local.open()) {
      outcome.result = Result::kLocalFolder;
      RemoveDownloaded(files);
      return outcome;
    }
    file.szLocalFile = local.fileName();
    local.close();
    const auto code = CTCorvelIntegration::GetFileFromInternet(
        nServerID, file.szServerPath, file.szLocalFile, static_cast<quint32>(std::clamp<qint64>(file.nSize, 0, 0xFFFFFFFFLL)),
        outcome.nFoundSize, [&](quint32 nProgress, quint32 nMax) {
          if (progress) progress(i, nProgress, nMax);
        });
    if (code != CTCorvelIntegration::kFileOk) {
      outcome.result = code == CTCorvelIntegration::kFileMissing      ? Result::kMissing
                       : code == CTCorvelIntegration::kFileSizeDiffers ? Result::kSizeDiffers
                                                                       : Result::kFailed;
      RemoveDownloaded(files);
      return outcome;
    }
    if (Sha256OfFile(file.szLocalFile) != file.szSha256) {
      outcome.result = Result::kDigestDiffers;
      RemoveDownloaded(files);
      return outcome;
    }
  }
  outcome.szShownName.clear();
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
  if (!bRestart) arguments << QStringLiteral("-n");
  return arguments;
}

bool CTUpgradeDownload::StartUpdater(const std::vector<LTUpgradeFile>& files, const QString& szTitle,
                                     const QString& szTargetProgram, bool bRestart) {
  const auto updater = std::find_if(files.begin(), files.end(), [](const LTUpgradeFile& f) {
    return f.role == LTUpgradeFile::Role::kUpdater && !f.szLocalFile.isEmpty();
  });
  if (updater == files.end()) return false;
  // Checked once more right before it runs: the file is ours and unchanged.
  if (Sha256OfFile(updater->szLocalFile) != updater->szSha256) return false;
  if (!QFile::setPermissions(updater->szLocalFile,
                             QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner))
    return false;
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
