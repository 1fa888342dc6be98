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
            "  families [--json]\n"
            "      the unit families of the catalogue with their units and ranges\n"
            "  select --supply Q [--exhaust Q] [--airflow-unit ls|m3h|cfm] [--family NAME]\n"
            "         [--esp-supply PA] [--esp-exhaust PA] [--filter-supply none|F6|F7|F8]\n"
            "         [--filter-exhaust none|F6|F7|F8] [--plenums 0|1|2] [--max-speed NAME]\n"
            "         [--altitude M] [--cool-room T,RH] [--cool-outdoor T,RH] [--heat-room T,RH]\n"
            "         [--heat-outdoor T,RH] [--evaporating T] [--discharge T] [--supply-temp T]\n"
            "         [--inlet-heater-cool KW] [--inlet-heater-heat KW] [--supply-heater KW]\n"
            "         [--upside-down] [--unit NAME] [--json]\n"
            "      the candidate units in order and the first one (or --unit) computed in\n"
            "      cooling and heating; defaults: family HRX, exhaust = supply, ESP 150 Pa,\n"
            "      cooling 27,47 room and 35,50 outdoor, heating 20,50 room and 7,50 outdoor\n"
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
  if (command == QLatin1String("families")) return RunFamilies(rest, out, err);
  if (command == QLatin1String("select")) return RunSelect(rest, out, err);
  err << "aerolith-cli: unknown command '" << command << "'\n";
  PrintUsage(err);
  return kExitUsage;
}

}  // namespace AerolithCli
