// aerolith-catalogue: builds the embedded device catalogue from its text.
//
//   aerolith-catalogue lint SOURCE...             report every fault, exit 1 on any
//   aerolith-catalogue build SOURCE... --out FILE  lint, then write the database
//
// A SOURCE is a *.cat file or a folder of them (read in name order).

#include "tools/CatalogueBuild.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  QStringList args = QCoreApplication::arguments().mid(1);
  QTextStream err(stderr);
  const QString usage = QStringLiteral("usage: aerolith-catalogue lint SOURCE... | build SOURCE... --out FILE\n");
  if (args.isEmpty()) {
    err << usage;
    return 2;
  }
  const QString command = args.takeFirst();
  QString outFile;
  const int outIx = args.indexOf(QStringLiteral("--out"));
  if (outIx >= 0) {
    if (outIx + 1 >= args.size()) {
      err << usage;
      return 2;
    }
    outFile = args[outIx + 1];
    args.remove(outIx, 2);
  }
  if (args.isEmpty() || (command == QLatin1String("build")) == outFile.isEmpty() ||
      (command != QLatin1String("build") && command != QLatin1String("lint"))) {
    err << usage;
    return 2;
  }
  QStringList problems;
  const bool ok = command == QLatin1String("build") ? CTCatalogueBuild::Build(args, outFile, problems)
                                                    : CTCatalogueBuild::Lint(args, problems);
  for (const QString& p : problems) err << p << "\n";
  if (!ok) err << "aerolith-catalogue: " << problems.size() << " problem(s); the catalogue is refused\n";
  return ok ? 0 : 1;
}
