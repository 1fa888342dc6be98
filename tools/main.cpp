// aerolith-catalogue: builds the embedded device catalogue from its text, and
// the scaled catalogues of the benchmarks.
//
//   aerolith-catalogue lint SOURCE...                       report every fault, exit 1 on any
//   aerolith-catalogue build SOURCE... --out FILE           lint, then write the database
//   aerolith-catalogue generate SOURCE... --units N --out FILE
//       build, with the plain heat-recovery family cloned across sizes to N
//       units (never fewer than the family has)
//
// A SOURCE is a *.cat file or a folder of them (read in name order).

#include "tools/CatalogueBuild.h"
#include "tools/CatalogueGenerator.h"

#include <QCoreApplication>
#include <QTextStream>

#include <optional>

namespace {

// Takes "NAME VALUE" out of args; none when NAME is absent, an empty value
// when it has none.
std::optional<QString> TakeOption(QStringList& args, const QString& szName) {
  const qsizetype at = args.indexOf(szName);
  if (at < 0) return std::nullopt;
  const QString value = at + 1 < args.size() ? args[at + 1] : QString();
  args.remove(at, at + 1 < args.size() ? 2 : 1);
  return value;
}

}  // namespace

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  QStringList args = QCoreApplication::arguments().mid(1);
  QTextStream err(stderr);
  const QString usage = QStringLiteral(
      "usage: aerolith-catalogue lint SOURCE... | build SOURCE... --out FILE\n"
      "       | generate SOURCE... --units N --out FILE\n");
  const auto refuse = [&](const QString& szProblem) {
    if (!szProblem.isEmpty()) err << "aerolith-catalogue: " << szProblem << "\n";
    err << usage;
    return 2;
  };
  if (args.isEmpty()) return refuse(QString());
  const QString command = args.takeFirst();
  const bool build = command == QLatin1String("build"), generate = command == QLatin1String("generate");
  if (!build && !generate && command != QLatin1String("lint"))
    return refuse(QStringLiteral("unknown command %1").arg(command));
  const std::optional<QString> outFile = TakeOption(args, QStringLiteral("--out"));
  const std::optional<QString> units = TakeOption(args, QStringLiteral("--units"));
  if (outFile && outFile->isEmpty()) return refuse(QStringLiteral("--out needs a file"));
  if (bool(outFile) != (build || generate))
    return refuse(outFile ? QStringLiteral("lint writes no file") : QStringLiteral("--out is required"));
  if (bool(units) != generate)
    return refuse(units ? QStringLiteral("--units belongs to generate") : QStringLiteral("--units is required"));
  if (args.isEmpty()) return refuse(QStringLiteral("no SOURCE given"));
  for (const QString& arg : args)
    if (arg.startsWith(QLatin1String("--"))) return refuse(QStringLiteral("unknown option %1").arg(arg));

  int unitCount = 0;
  if (generate) {
    bool whole = false;
    unitCount = units->toInt(&whole);
    if (!whole || unitCount < 1 || unitCount > CTCatalogueGenerator::kMaxUnits)
      return refuse(
          QStringLiteral("--units must be a whole number from 1 to %1").arg(CTCatalogueGenerator::kMaxUnits));
  }

  QStringList problems;
  int familyUnits = 0;
  bool ok = false;
  if (generate)
    ok = CTCatalogueBuild::Generate(args, unitCount, *outFile, problems, &familyUnits);
  else if (build)
    ok = CTCatalogueBuild::Build(args, *outFile, problems);
  else
    ok = CTCatalogueBuild::Lint(args, problems);
  for (const QString& p : problems) err << p << "\n";
  if (!ok) {
    err << "aerolith-catalogue: " << problems.size() << " problem(s); the catalogue is refused\n";
    return 1;
  }
  if (generate)
    QTextStream(stdout) << *outFile << ": catalogue with " << familyUnits
                        << " units in its plain heat-recovery family\n";
  return 0;
}
