#include "cli/CliCommands.h"

#include "cli/CliOptions.h"

namespace AerolithCli {

namespace {

void PrintUsage(QTextStream& stream) {
  stream << "usage: aerolith-cli COMMAND [OPTIONS]\n"
            "\n"
            "commands:\n"
            "  air --altitude M --db T (--rh RH | --wb T | --w W) [--json]\n"
            "      every property of one moist-air state\n"
            "  db check [FILE] | db dump FILE | db pack IN OUT | db unpack IN OUT\n"
            "      check, show, compress or expand a catalogue database\n"
            "  catalogue generate --units N --out FILE\n"
            "      a catalogue whose plain heat-recovery family is cloned across sizes\n"
            "      to N units, for benchmarks\n";
  stream.flush();
}

}  // namespace

int Run(const QStringList& arguments, QTextStream& out, QTextStream& err) {
  if (arguments.isEmpty() || arguments.first() == QLatin1String("--help") ||
      arguments.first() == QLatin1String("-h")) {
    PrintUsage(arguments.isEmpty() ? err : out);
    return arguments.isEmpty() ? kExitUsage : kExitOk;
  }
  const QString command = arguments.first();
  const QStringList rest = arguments.mid(1);
  if (command == QLatin1String("air")) return RunAir(rest, out, err);
  if (command == QLatin1String("db")) return RunDb(rest, out, err);
  if (command == QLatin1String("catalogue")) return RunCatalogue(rest, out, err);
  err << "aerolith-cli: unknown command '" << command << "'\n";
  PrintUsage(err);
  return kExitUsage;
}

}  // namespace AerolithCli
