// aerolith-release: signs a release folder, so that the program and the
// updater take nothing from it that was changed after signing.
//
//   aerolith-release sign --root DIR --program NAME --key KEY.pem
//                         [--issued TIME] [--expires TIME | --days N]
//   aerolith-release new-key --out KEY.pem
//   aerolith-release public-key --key KEY.pem
//
// sign writes DIR/versions/NAME.manifest (CTReleaseSigner); TIME is
// YYYY-MM-DDTHH:MM:SSZ, --issued defaults to now and the manifest expires
// --days after it (default 180), after which the program refuses the
// release until it is signed again. new-key writes a new private key,
// readable by its owner only; it never goes into the source tree.
// public-key prints the entry of online/ReleaseKeys.cpp that makes a build
// accept the key's releases.
//
// Exit codes: 0 done; 1 refused or failed (nothing written); 2 bad arguments.

#include "online/ReleaseManifest.h"
#include "tools/release/ReleaseSigner.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QMap>

#include <cstdio>

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
constexpr qint64 kSecondsPerDay = 24 * 60 * 60;
constexpr qint64 kDefaultDays = 180;

const char* const kUsage =
    "usage: aerolith-release sign --root DIR --program NAME --key KEY.pem [--issued TIME] [--expires TIME | --days N]\n"
    "       aerolith-release new-key --out KEY.pem\n"
    "       aerolith-release public-key --key KEY.pem\n"
    "TIME is YYYY-MM-DDTHH:MM:SSZ (UTC)\n";

int Usage(const QString& szProblem) {
  std::fprintf(stderr, "aerolith-release: %s\n%s", qPrintable(szProblem), kUsage);
  return kExitUsage;
}

int Fail(const QString& szProblem) {
  std::fprintf(stderr, "aerolith-release: %s\n", qPrintable(szProblem));
  return kExitFailed;
}

// "--name value" pairs; false with the reason for anything else.
bool ReadOptions(const QStringList& args, const QStringList& allowed, QMap<QString, QString>& options, QString& szError) {
  for (qsizetype i = 0; i < args.size(); i += 2) {
    if (!allowed.contains(args[i])) {
      szError = QStringLiteral("unknown option %1").arg(args[i]);
      return false;
    }
    if (i + 1 >= args.size()) {
      szError = QStringLiteral("%1 needs a value").arg(args[i]);
      return false;
    }
    options.insert(args[i], args[i + 1]);
  }
  return true;
}

bool ReadKeyFile(const QString& szPath, QByteArray& arPem, QString& szError) {
  QFile file(szPath);
  if (!file.open(QIODevice::ReadOnly)) {
    szError = QStringLiteral("%1: cannot be read").arg(szPath);
    return false;
  }
  arPem = file.read(64 * 1024);
  return true;
}

int Sign(const QStringList& args) {
  QMap<QString, QString> options;
  QString error;
  if (!ReadOptions(args, {"--root", "--program", "--key", "--issued", "--expires", "--days"}, options, error))
    return Usage(error);
  for (const char* required : {"--root", "--program", "--key"})
    if (options.value(QLatin1String(required)).isEmpty()) return Usage(QStringLiteral("%1 is required").arg(required));
  if (options.contains("--expires") && options.contains("--days")) return Usage("give --expires or --days, not both");

  LTSignRequest request;
  request.szRoot = options["--root"];
  request.szProgram = options["--program"];
  request.nIssued = QDateTime::currentSecsSinceEpoch();
  if (options.contains("--issued") && !CTReleaseManifest::ReadTime(options["--issued"].toLatin1(), request.nIssued))
    return Usage(QStringLiteral("--issued %1 is not a time such as 2026-05-01T09:30:00Z").arg(options["--issued"]));
  qint64 days = kDefaultDays;
  if (options.contains("--days")) {
    bool ok = false;
    days = options["--days"].toLongLong(&ok);
    if (!ok || days < 1 || days > 3660) return Usage(QStringLiteral("--days is a whole number from 1 to 3660"));
  }
  request.nExpires = request.nIssued + days * kSecondsPerDay;
  if (options.contains("--expires") && !CTReleaseManifest::ReadTime(options["--expires"].toLatin1(), request.nExpires))
    return Usage(QStringLiteral("--expires %1 is not a time such as 2026-10-28T09:30:00Z").arg(options["--expires"]));
  if (!ReadKeyFile(options["--key"], request.arPrivateKeyPem, error)) return Fail(error);

  LTReleaseManifest manifest;
  if (!CTReleaseSigner::SignFolder(request, manifest, error)) return Fail(error + QStringLiteral("; nothing was signed"));
  std::printf("%s: release %d.%d.%d, %d files, key %s, expires %s\n",
              qPrintable(CTReleaseManifest::ManifestName(manifest.szProgram)), manifest.nRelease / 100,
              manifest.nRelease / 10 % 10, manifest.nRelease % 10, int(manifest.files.size()),
              manifest.arKeyId.toHex().constData(), qPrintable(CTReleaseManifest::TimeText(manifest.nExpires)));
  return kExitOk;
}

int NewKey(const QStringList& args) {
  QMap<QString, QString> options;
  QString error;
  if (!ReadOptions(args, {"--out"}, options, error)) return Usage(error);
  if (options.value("--out").isEmpty()) return Usage("--out is required");
  const QByteArray pem = CTReleaseSigner::NewPrivateKey();
  // Made readable by its owner alone from the start; an existing file is
  // never overwritten.
  QFile file(options["--out"]);
  if (pem.isEmpty() || !file.open(QIODevice::WriteOnly | QIODevice::NewOnly, QFileDevice::ReadOwner | QFileDevice::WriteOwner))
    return Fail(QStringLiteral("%1: cannot be made (a key is never overwritten)").arg(options["--out"]));
  if (file.write(pem) != pem.size() || !file.flush()) {
    file.remove();
    return Fail(QStringLiteral("%1: cannot be written").arg(options["--out"]));
  }
  return kExitOk;
}

int PublicKey(const QStringList& args) {
  QMap<QString, QString> options;
  QString error;
  if (!ReadOptions(args, {"--key"}, options, error)) return Usage(error);
  if (options.value("--key").isEmpty()) return Usage("--key is required");
  QByteArray pem;
  if (!ReadKeyFile(options["--key"], pem, error)) return Fail(error);
  const QByteArray key = CTReleaseSigner::PublicKey(pem, error);
  if (key.isEmpty()) return Fail(error);
  std::printf("    {\"<holder> (<year>), id %s\",\n     \"%s\"},\n", CTReleaseManifest::KeyId(key).toHex().constData(),
              key.toHex().constData());
  return kExitOk;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QStringList args = QCoreApplication::arguments().mid(1);
  const QString command = args.value(0);
  if (command == QLatin1String("sign")) return Sign(args.mid(1));
  if (command == QLatin1String("new-key")) return NewKey(args.mid(1));
  if (command == QLatin1String("public-key")) return PublicKey(args.mid(1));
  if (command == QLatin1String("--help")) {
    std::fputs(kUsage, stdout);
    return kExitOk;
  }
  return Usage(command.isEmpty() ? QStringLiteral("a command is required") : QStringLiteral("unknown command %1").arg(command));
}
