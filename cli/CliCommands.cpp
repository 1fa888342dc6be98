#include "cli/CliCommands.h"

#include "cli/CliOptions.h"
#include "docs/Glossaries.h"
#include "selection/CatalogueSession.h"

namespace AerolithCli {

namespace {

void PrintUsage(QTextStream& stream) {
  stream << "usage: aerolith-cli [--language de|fr|en] COMMAND [OPTIONS]\n"
            "\n"
            "commands:\n"
            "  air --altitude M --db T (--rh RH | --wb T | --w W) [--json]\n"
            "      every property of one moist-air state\n"
            "  db check [FILE] | db dump FILE | db pack IN OUT | db unpack IN OUT\n"
            "      check, show, compress or expand a catalogue database\n"
            "  families [--json]\n"
            "      the unit families of the catalogue with their units and ranges\n"
            "  select [--family NAME] [--supply Q [--exhaust Q] | [--persons N | --area-per-person M2\n"
            "          --room-surface M2] [--airflow-per-person Q]] [--airflow-unit ls|m3h|cfm]\n"
            "         [--esp-supply PA] [--esp-exhaust PA] [--filter-supply none|F6|F7|F8]\n"
            "         [--filter-exhaust none|F6|F7|F8] [--plenums 0|1|2] [--max-speed NAME]\n"
            "         [--altitude M] [--cool-room T,RH|T,wbT] [--cool-outdoor ...] [--heat-room ...]\n"
            "         [--heat-outdoor ...] [--evaporating 6|9|11] [--discharge T] [--heat-discharge T]\n"
            "         [--supply-temp T] [--inlet-heater-cool calc|KW|OPTION] [--inlet-heater-heat ...]\n"
            "         [--supply-heater KW] [--upside-down] [--unit NAME] [--project FILE.ven]\n"
            "         [--distance M] [--room-constant M2] [--save FILE.ven] [--units si|imperial]\n"
            "         [--json]\n"
            "      the candidate units in order and the first one (or --unit) computed in\n"
            "      cooling and heating. Defaults are the window's: family HRX, 100 m2 at 5 m2\n"
            "      and 5 l/s per person, exhaust = supply, ESP 150 Pa, cooling room 27,wb19 and\n"
            "      outdoor 35,50, heating room 20,50 and outdoor 7,50. Values outside the\n"
            "      window's field ranges are refused. The text shows the units of --units,\n"
            "      else those of the preferences; the JSON is SI. Exit code 3, here and in\n"
            "      chart, report and material-list: the unit was not computed in both\n"
            "      modes (no unit fits, a condition was corrected, or a mode ended with a\n"
            "      check code; the output says why).\n"
            "      --project takes a project file's inputs and unit; options given override\n"
            "      them. --save writes the inputs and the computed unit as a project file.\n"
            "      The JSON also gives the unit under the ecodesign regulation for ventilation\n"
            "      units (\"ecodesign\") and its sound power per path at the operating point\n"
            "      (\"sound\"), with the sound pressure at --distance (m, default 2) from the\n"
            "      supply outlet in a room of --room-constant (m2, default 50).\n"
            "  datasheet [select options] [--json]\n"
            "      the information sheet of Regulation (EU) 1253/2014 for the unit select\n"
            "      computes, with its thermal efficiency and SFPint requirements\n"
            "  annual [--climate FILE.epw|FILE.csv|demo:cold|demo:temperate|demo:hot-humid]\n"
            "         [--schedule always|HH-HH[,DAYS]] [--prices NAME=VALUE,...] [--rank]\n"
            "         [select options] [--json]\n"
            "      the selected unit's year of hourly weather (default demo:temperate, a\n"
            "      synthetic year): heat and cooling recovered, inlet heater and fan energy,\n"
            "      the net benefit, money and CO2 saved, per month and for the year. DAYS:\n"
            "      mon-fri, sat,sun, ... (1 January counts as a Monday). Prices (per kWh)\n"
            "      and factors: heat=0.10 (fuel), efficiency=0.90 (heat generator), cop=3,\n"
            "      electricity=0.30, heat-co2=0.20, electricity-co2=0.40 (kg per kWh).\n"
            "      --rank: every candidate's year, the largest net benefit first\n"
            "  chart psychro|mollier|fan|efficiency|correction|configuration|sound\n"
            "        --out FILE.png|FILE.emf\n"
            "        [--size WxH]\n"
            "        [--mode cooling|heating] [select options, --project FILE.ven among them]\n"
            "      the chart of the selected unit that the window's tab shows, as a picture\n"
            "  project check FILE.ven [--json]\n"
            "      whether a project file reads, its layout, and every input, unit, speed\n"
            "      and option it holds\n"
            "  material-list --out FILE.xml [--project FILE.ven] [select options]\n"
            "      the unit and its options as an XML Spreadsheet 2003 workbook\n"
            "  report --out FILE.rtf|FILE.pdf [--units si|imperial] [--diagram psychro|mollier]\n"
            "         [--project FILE.ven] [select options]\n"
            "      the report of the selected unit: its data, results, options, charts and\n"
            "      configuration, as RTF or PDF by the file's type\n"
            "  online status [--language LCID] [--json]\n"
            "      what the download server's program-information service answers this\n"
            "      program: its number, the user's manual and the release notes (the server\n"
            "      is the build's, or AEROLITH_SERVER=host:port)\n"
            "  online download PATH --out FILE [--size BYTES]\n"
            "      a file of the download server; with --size it must have that size\n"
            "  online fetch-release --out DIR [--language LCID]\n"
            "      the newest build the server offers, with its updater and glossaries,\n"
            "      into the new folder DIR, each file checked against the release's signed\n"
            "      manifest as the upgrade window checks it; nothing is installed.\n"
            "      Exit 4 when something was refused, 1 when the server cannot be reached\n";
  stream.flush();
}

}  // namespace

int Run(const QStringList& arguments, QTextStream& out, QTextStream& err) {
  if (arguments.isEmpty() || arguments.first() == QLatin1String("--help") ||
      arguments.first() == QLatin1String("-h")) {
    PrintUsage(arguments.isEmpty() ? err : out);
    return arguments.isEmpty() ? kExitUsage : kExitOk;
  }
  // "--language de|fr|en" before the command: the command line's own words,
  // messages and the catalogue's texts in that language.
  if (arguments.first() == QLatin1String("--language")) {
    const int language = arguments.size() > 1 ? CTGlossaries::LanguageOfCode(arguments.at(1)) : 0;
    if (language == 0) {
      err << "aerolith-cli: --language takes a language code such as de, fr or en\n";
      return kExitUsage;
    }
    CTGlossaries::LoadInterface(language);
    CTCatalogueSession::SetCatalogueGlossary(CTGlossaries::LoadCatalogue(language));
    const int code = Run(arguments.mid(2), out, err);
    CTGlossaries::Reset();
    CTCatalogueSession::SetCatalogueGlossary(nullptr);
    return code;
  }
  const QString command = arguments.first();
  const QStringList rest = arguments.mid(1);
  if (command == QLatin1String("air")) return RunAir(rest, out, err);
  if (command == QLatin1String("db")) return RunDb(rest, out, err);
  if (command == QLatin1String("families")) return RunFamilies(rest, out, err);
  if (command == QLatin1String("select")) return RunSelect(rest, out, err);
  if (command == QLatin1String("datasheet")) return RunDatasheet(rest, out, err);
  if (command == QLatin1String("annual")) return RunAnnual(rest, out, err);
  if (command == QLatin1String("chart")) return RunChart(rest, out, err);
  if (command == QLatin1String("project")) return RunProject(rest, out, err);
  if (command == QLatin1String("material-list")) return RunMaterialList(rest, out, err);
  if (command == QLatin1String("report")) return RunReport(rest, out, err);
  if (command == QLatin1String("online")) return RunOnline(rest, out, err);
  err << "aerolith-cli: unknown command '" << command << "'\n";
  PrintUsage(err);
  return kExitUsage;
}

}  // namespace AerolithCli
