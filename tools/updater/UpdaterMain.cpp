// aerolith-updater: puts a downloaded, checked build in place of the running
// program once that program has ended, and starts it again.
//
//   aerolith-updater -a<title> -p<pid> -t<program> -s<new program>
//                    [-g<interface glossary>] [-c<central glossary>] [-o<company glossary>]
//                    -m<release manifest> [-n]
//
// The program checked every file against the release's signed manifest
// before starting us; we check again, with the keys compiled into us
// (CTReleaseKeys), before anything is replaced: the manifest's signature and
// expiry, and each new file as it lies beside its place, by its name in the
// release. The download folder is laid out as the release, the manifest at
// FOLDER/versions/NAME.manifest, so a file's name is its path below FOLDER.
// We only ever read the files named here and write beside the program:
//   <program>                 the new program (mode of the old one, at least u+rx)
//   <program base>.xml        the interface glossary the program reads beside it
//   <program base>.central.xml, <program base>.company.xml   the catalogue glossaries
// Each new file is first copied beside its place (".new"), each old one
// kept (".old") until every file is in place; when a step fails, every old
// file goes back and the downloads stay where they are.
//
// Exit codes: 0 installed; 1 bad arguments; 2 the program did not end;
// 3 the folder cannot be written (nothing changed, downloads kept);
// 4 installing failed and the old installation was restored;
// 5 the release or a file was refused (nothing changed).

#include "online/ReleaseKeys.h"
#include "online/ReleaseManifest.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <vector>

#include <sys/types.h>

namespace {

constexpr int kExitUsage = 1;
constexpr int kExitStillRunning = 2;
constexpr int kExitCannotWrite = 3;
constexpr int kExitRestored = 4;
constexpr int kExitRefused = 5;
constexpr int kWaitForExitMs = 120000;

struct LTPlacement {
  QString szSource;  // downloaded
  QString szTarget;  // in the installation
  bool bProgram = false;
  QString szReleaseName;  // its name in the manifest
};

void Say(const QString& szText) {
  std::fprintf(stderr, "aerolith-updater: %s\n", szText.toLocal8Bit().constData());
}

bool ProcessGone(qint64 nPid) {
  if (nPid <= 0) return true;
  return ::kill(static_cast<pid_t>(nPid), 0) != 0 && errno == ESRCH;
}

QString Reason(const LTReleaseRefusal& refusal) {
  switch (refusal.problem) {
    case TReleaseProblem::kNone: return QString();
    case TReleaseProblem::kNoManifest: return QStringLiteral("there is no manifest");
    case TReleaseProblem::kMalformed:
      return QStringLiteral("it does not read (line %1: %2)").arg(refusal.nLine).arg(refusal.szDetail);
    case TReleaseProblem::kUnsigned: return QStringLiteral("it carries no signature");
    case TReleaseProblem::kUnknownKey:
      return QStringLiteral("it is signed by a key this updater does not accept (key %1)")
          .arg(QString::fromLatin1(refusal.arKeyId.toHex()));
    case TReleaseProblem::kBadSignature: return QStringLiteral("its signature does not match its content");
    case TReleaseProblem::kOtherProgram: return QStringLiteral("it is the release of %1").arg(refusal.szDetail);
    case TReleaseProblem::kExpired:
      return QStringLiteral("it expired on %1").arg(CTReleaseManifest::TimeText(refusal.nExpires));
    case TReleaseProblem::kRolledBack: return QStringLiteral("it is older than the installed version");
    case TReleaseProblem::kListDiffers: return QStringLiteral("it is not the versions list that was signed");
    case TReleaseProblem::kNotInRelease: return QStringLiteral("it is not part of the signed release");
    case TReleaseProblem::kFileDiffers: return QStringLiteral("it is not the file that was signed");
  }
  return QString();
}

// The signed manifest, or the refusal already said.
bool ReadManifest(const QString& szPath, LTReleaseManifest& manifest) {
  QFile file(szPath);
  if (szPath.isEmpty() || !file.open(QIODevice::ReadOnly)) {
    Say(QStringLiteral("refused: no release manifest to check the files against; nothing was changed"));
    return false;
  }
  const LTReleaseRefusal refusal =
      CTReleaseManifest::Check(file.read(CTReleaseManifest::kMaxBytes + 1), {QString(), 0, QDateTime::currentSecsSinceEpoch()},
                               CTReleaseKeys::Accepted(), manifest);
  if (refusal.Ok()) return true;
  Say(QStringLiteral("refused: %1: %2; nothing was changed").arg(szPath, Reason(refusal)));
  return false;
}

// A downloaded file's name in the release: its path below the folder that
// holds versions/NAME.manifest; empty when it lies elsewhere.
QString ReleaseName(const QString& szManifest, const QString& szSource) {
  const QDir root(QDir::cleanPath(QFileInfo(szManifest).absolutePath() + QStringLiteral("/..")));
  const QString name = root.relativeFilePath(QFileInfo(szSource).absoluteFilePath());
  return CTReleaseManifest::IsValidName(name) ? name : QString();
}

// Copies a file beside its target as "<target>.new", flushed to disk.
bool CopyBeside(const LTPlacement& placement) {
  const QString fresh = placement.szTarget + QStringLiteral(".new");
  QFile::remove(fresh);
  QFile source(placement.szSource);
  QFile target(fresh);
  if (!source.open(QIODevice::ReadOnly) || !target.open(QIODevice::WriteOnly)) return false;
  QByteArray block;
  while (!(block = source.read(1 << 20)).isEmpty())
    if (target.write(block) != block.size()) return false;
  if (!target.flush()) return false;
  target.close();
  QFileDevice::Permissions mode = QFile::exists(placement.szTarget)
                                      ? QFile::permissions(placement.szTarget)
                                      : (QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                                         QFileDevice::ReadOther);
  if (placement.bProgram) mode |= QFileDevice::ReadOwner | QFileDevice::ExeOwner;
  return QFile::setPermissions(fresh, mode);
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QString title, program, manifestFile;
  qint64 pid = 0;
  bool restart = true;
  std::vector<std::pair<char, QString>> files;
  for (const QString& argument : app.arguments().mid(1)) {
    if (argument.size() < 2 || argument.at(0) != QLatin1Char('-')) {
      Say(QStringLiteral("unexpected argument '%1'").arg(argument));
      return kExitUsage;
    }
    const char flag = argument.at(1).toLatin1();
    const QString value = argument.mid(2);
    switch (flag) {
      case 'a': title = value; break;
      case 'p': pid = value.toLongLong(); break;
      case 't': program = value; break;
      case 'n': restart = false; break;
      case 'm': manifestFile = value; break;
      case 's':
      case 'g':
      case 'c':
      case 'o':
        if (value.isEmpty()) return kExitUsage;
        files.emplace_back(flag, value);
        break;
      default: Say(QStringLiteral("unknown switch '%1'").arg(argument)); return kExitUsage;
    }
  }
  const bool hasProgram = std::any_of(files.begin(), files.end(), [](const auto& f) { return f.first == 's'; });
  if (program.isEmpty() || !QFileInfo(program).isAbsolute() || !hasProgram) {
    Say(QStringLiteral("usage: aerolith-updater -a<title> -p<pid> -t<program> -s<new program> [-g<glossary>] "
                       "[-c<glossary>] [-o<glossary>] -m<manifest> [-n]"));
    return kExitUsage;
  }

  // The program must have ended before its file is replaced.
  for (int waited = 0; !ProcessGone(pid); waited += 100) {
    if (waited >= kWaitForExitMs) {
      Say(QStringLiteral("%1 did not end; nothing was changed").arg(title));
      return kExitStillRunning;
    }
    QThread::msleep(100);
  }

  LTReleaseManifest manifest;
  if (!ReadManifest(manifestFile, manifest)) return kExitRefused;

  const QFileInfo target(program);
  const QString base = target.path() + QLatin1Char('/') + target.completeBaseName();
  std::vector<LTPlacement> placements;
  for (const auto& [flag, source] : files) {
    const QString name = ReleaseName(manifestFile, source);
    switch (flag) {
      case 's': placements.push_back({source, program, true, name}); break;
      case 'g': placements.push_back({source, base + QStringLiteral(".xml"), false, name}); break;
      case 'c': placements.push_back({source, base + QStringLiteral(".central.xml"), false, name}); break;
      case 'o': placements.push_back({source, base + QStringLiteral(".company.xml"), false, name}); break;
      default: break;
    }
  }

  // 1. Every new file beside its place; a folder we cannot write changes nothing.
  for (const LTPlacement& placement : placements) {
    if (CopyBeside(placement)) continue;
    for (const LTPlacement& p : placements) QFile::remove(p.szTarget + QStringLiteral(".new"));
    QStringList kept;
    for (const LTPlacement& p : placements) kept << p.szSource;
    Say(QStringLiteral("cannot write %1; the installation is unchanged and the download is kept in %2")
            .arg(target.path(), kept.join(QStringLiteral(", "))));
    return kExitCannotWrite;
  }
  // What will be put in place is checked, not the download it came from.
  for (const LTPlacement& placement : placements) {
    LTReleaseRefusal refusal;
    refusal.problem = TReleaseProblem::kNotInRelease;
    if (!placement.szReleaseName.isEmpty())
      refusal = CTReleaseManifest::CheckLocalFile(manifest, placement.szReleaseName,
                                                  placement.szTarget + QStringLiteral(".new"));
    if (refusal.Ok()) continue;
    for (const LTPlacement& p : placements) QFile::remove(p.szTarget + QStringLiteral(".new"));
    Say(QStringLiteral("refused: %1: %2; nothing was changed")
            .arg(placement.szReleaseName.isEmpty() ? placement.szSource : placement.szReleaseName, Reason(refusal)));
    return kExitRefused;
  }
  // 2. Old files aside, new ones in place; any failure puts the old back.
  std::vector<const LTPlacement*> moved;
  bool failed = false;
  for (const LTPlacement& placement : placements) {
    const QString old = placement.szTarget + QStringLiteral(".old");
    QFile::remove(old);
    const bool hadOld = QFile::exists(placement.szTarget);
    if (hadOld && !QFile::rename(placement.szTarget, old)) {
      failed = true;
      break;
    }
    moved.push_back(&placement);
    if (!QFile::rename(placement.szTarget + QStringLiteral(".new"), placement.szTarget)) {
      failed = true;
      break;
    }
  }
  if (failed) {
    for (const LTPlacement* placement : moved) {
      const QString old = placement->szTarget + QStringLiteral(".old");
      if (!QFile::exists(old)) {
        QFile::remove(placement->szTarget);  // a file that was not there before
        continue;
      }
      QFile::remove(placement->szTarget);
      QFile::rename(old, placement->szTarget);
    }
    for (const LTPlacement& p : placements) QFile::remove(p.szTarget + QStringLiteral(".new"));
    Say(QStringLiteral("installing failed; the previous installation was restored"));
    return kExitRestored;
  }
  // 3. Complete: the old files and the downloads go: the files named here,
  // the manifest and the list beside it, our own file when it was
  // downloaded with them (the running copy stays mapped), and every folder
  // of the download that is empty then. Nothing else is removed.
  QStringList downloads{manifestFile, QFileInfo(manifestFile).absolutePath() + QLatin1Char('/') +
                                          QFileInfo(CTReleaseManifest::ListName(manifest.szProgram)).fileName()};
  for (const LTPlacement& placement : placements) {
    QFile::remove(placement.szTarget + QStringLiteral(".old"));
    downloads << placement.szSource;
  }
  if (!ReleaseName(manifestFile, QCoreApplication::applicationFilePath()).isEmpty())
    downloads << QCoreApplication::applicationFilePath();
  const QString root = QDir::cleanPath(QFileInfo(manifestFile).absolutePath() + QStringLiteral("/.."));
  for (const QString& download : downloads) {
    QFile::remove(download);
    for (QString folder = QFileInfo(download).absolutePath(); folder.startsWith(root) && QDir().rmdir(folder);)
      folder = QFileInfo(folder).path();
  }
  std::fprintf(stdout, "%s updated\n", title.toLocal8Bit().constData());
  if (restart) QProcess::startDetached(program, {});
  return 0;
}
