// aerolith-cli catalogue: catalogues made for benchmarks.
//
//   catalogue generate --units N --out FILE
//       the embedded catalogue with its plain heat-recovery family cloned
//       across sizes to N units (never fewer than the family already has)

#include "cli/CliCommands.h"
#include "cli/CliOptions.h"
#include "resources/EmbeddedData.h"
#include "tools/CatalogueGenerator.h"

#include <cmath>

namespace AerolithCli {

int RunCatalogue(const QStringList& arguments, QTextStream& out, QTextStream& err) {
  const auto usage = [&](const QString& problem) {
    err << "aerolith-cli catalogue: " << problem << "\nusage: aerolith-cli catalogue generate --units N --out FILE\n";
    err.flush();
    return kExitUsage;
  };
  if (arguments.isEmpty() || arguments.first() != QLatin1String("generate")) return usage(QStringLiteral("unknown or missing subcommand"));
  CTCliOptions options(arguments.mid(1), {QStringLiteral("--units"), QStringLiteral("--out")}, {});
  if (!options.Error().isEmpty()) return usage(options.Error());
  if (!options.Has(QStringLiteral("--units")) || !options.Has(QStringLiteral("--out")))
    return usage(QStringLiteral("--units and --out are required"));
  const std::optional<double> units = options.Number(QStringLiteral("--units"));
  if (!units) return usage(options.Error());
  if (*units < 1 || *units > CTCatalogueGenerator::kMaxUnits || *units != std::floor(*units))
    return usage(QStringLiteral("--units must be a whole number from 1 to %1").arg(CTCatalogueGenerator::kMaxUnits));

  EmbeddedData::Ensure();
  QString error;
  const QString file = options.Value(QStringLiteral("--out"));
  if (!CTCatalogueGenerator::Generate(int(*units), file, error)) {
    err << "aerolith-cli catalogue: " << error << "\n";
    err.flush();
    return kExitFailure;
  }
  out << file << ": catalogue with " << int(*units) << " units in its plain heat-recovery family\n";
  return kExitOk;
}

}  // namespace AerolithCli
