// aerolith-cli db: tools for whoever maintains a catalogue database.
//
//   db check [FILE]   load with every integrity check and auto-correct off;
//                     list each problem with its table and row, and what
//                     auto-correct would remove
//   db dump FILE      the plain text body
//   db pack IN OUT    compress behind the signature
//   db unpack IN OUT  expand a compressed file

#include "cli/CliCommands.h"
#include "catalogue/Factory.h"
#include "i18n/BaseMsgMan.h"
#include "platform/Resources.h"
#include "recdb/DbTextSchema.h"
#include "recdb/LZSS.h"
#include "recdb/MemDB.h"
#include "resources/EmbeddedData.h"

#include <QBuffer>
#include <QFile>
#include <QSaveFile>

namespace AerolithCli {

namespace {

const QString& kSignature = CTFactory::kCompressionSignature;
const QString kCatalogueResource = QStringLiteral("Device_Database");

int Fail(QTextStream& err, const QString& message) {
  err << "aerolith-cli db: " << message << "\n";
  err.flush();
  return kExitFailure;
}

bool ReadWhole(const QString& path, QByteArray& bytes, QString& error) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
    return false;
  }
  bytes = file.readAll();
  return true;
}

bool WriteWhole(const QString& path, const QByteArray& bytes, QString& error) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
    error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
    return false;
  }
  return true;
}

// Loads the plain text into a fresh engine over a schema read from the text.
struct Loaded {
  std::unique_ptr<CTBaseFactory> factory;
  CTMemDbEngine* engine = nullptr;
  bool ok = false;
  QStringList problems;
};

Loaded LoadText(const QByteArray& plain, bool bAutoCorrect) {
  Loaded loaded;
  QString error;
  loaded.factory = CTDbTextSchema::BuildFactory(plain, error);
  if (!loaded.factory) {
    loaded.problems << error;
    return loaded;
  }
  auto engine = std::make_unique<CTMemDbEngine>(loaded.factory.get(), QStringLiteral("check"), QString(), true, 0);
  const bool previousAutoCorrect = CTMemDbEngine::GetAutoCorrect();
  CTMemDbEngine::SetAutoCorrect(bAutoCorrect);
  QByteArray bytes = plain;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  const bool previousCompression = CTMemDbEngine::UseCompression(false);
  loaded.ok = engine->Load(&buffer);
  CTMemDbEngine::UseCompression(previousCompression);
  CTMemDbEngine::SetAutoCorrect(previousAutoCorrect);
  loaded.problems = engine->LoadProblems();
  loaded.engine = engine.release();
  return loaded;
}

int Check(const QStringList& args, QTextStream& out, QTextStream& err) {
  if (args.size() > 1) return Fail(err, "usage: aerolith-cli db check [FILE]");
  QByteArray bytes;
  QString error;
  const QString source = args.isEmpty() ? QStringLiteral("the embedded catalogue") : args.first();
  if (args.isEmpty()) {
    EmbeddedData::Ensure();
    const std::optional<QByteArray> data = CTResources::Data(kCatalogueResource);
    if (!data) return Fail(err, "this build carries no embedded catalogue");
    bytes = *data;
  } else if (!ReadWhole(args.first(), bytes, error)) {
    return Fail(err, error);
  }
  QByteArray plain;
  if (!CTDbTextSchema::PlainText(bytes, kSignature, plain)) return Fail(err, source + ": the compressed data is cut off");

  Loaded strict = LoadText(plain, false);
  std::unique_ptr<CTMemDbEngine> strictEngine(strict.engine);
  if (strict.ok) {
    int tables = 0, rows = 0;
    for (const CTTableInfo* table : strictEngine->Tables()) {
      if (!table) continue;
      ++tables;
      rows += strictEngine->CountObjects(table->GetTableIndex());
    }
    out << source << ": " << strict.factory->GetSignature() << ", " << tables << " tables, " << rows
        << " rows, no problems\n";
    out.flush();
    return kExitOk;
  }
  err << source << ": the database does not load:\n";
  for (const QString& p : strict.problems) err << "  " << p << "\n";
  if (strict.factory) {
    Loaded corrected = LoadText(plain, true);
    std::unique_ptr<CTMemDbEngine> correctedEngine(corrected.engine);
    if (corrected.ok && !corrected.problems.isEmpty()) {
      err << "auto-correct would remove:\n";
      for (const QString& p : corrected.problems) err << "  " << p << "\n";
    }
  }
  err.flush();
  return kExitFailure;
}

}  // namespace

int RunDb(const QStringList& arguments, QTextStream& out, QTextStream& err) {
  const QString sub = arguments.value(0);
  const QStringList args = arguments.mid(1);
  QString error;
  if (sub == QLatin1String("check")) return Check(args, out, err);
  if (sub == QLatin1String("dump")) {
    if (args.size() != 1) return Fail(err, "usage: aerolith-cli db dump FILE");
    QByteArray bytes, plain;
    if (!ReadWhole(args.first(), bytes, error)) return Fail(err, error);
    if (!CTDbTextSchema::PlainText(bytes, kSignature, plain)) return Fail(err, args.first() + ": the compressed data is cut off");
    out << QString::fromLatin1(plain);  // the body is ASCII: its texts are escaped
    out.flush();
    return kExitOk;
  }
  if (sub == QLatin1String("pack") || sub == QLatin1String("unpack")) {
    if (args.size() != 2) return Fail(err, QStringLiteral("usage: aerolith-cli db %1 IN OUT").arg(sub));
    QByteArray bytes;
    if (!ReadWhole(args[0], bytes, error)) return Fail(err, error);
    QByteArray result;
    if (sub == QLatin1String("pack")) {
      if (bytes.startsWith(kSignature.toLatin1())) return Fail(err, args[0] + " is compressed already");
      result = kSignature.toLatin1() + CTLZSSLogic::Compress(bytes);
    } else {
      if (!bytes.startsWith(kSignature.toLatin1())) return Fail(err, args[0] + " is not compressed");
      if (!CTDbTextSchema::PlainText(bytes, kSignature, result)) return Fail(err, args[0] + ": the compressed data is cut off");
    }
    if (!WriteWhole(args[1], result, error)) return Fail(err, error);
    return kExitOk;
  }
  err << "usage: aerolith-cli db (check [FILE] | dump FILE | pack IN OUT | unpack IN OUT)\n";
  err.flush();
  return kExitUsage;
}

}  // namespace AerolithCli
