#pragma once
// aerolith-cli: the program's computations for scripts. Each command reads
// its arguments, writes its result to out and its complaints to err, and
// answers the process exit code.

#include <QStringList>
#include <QTextStream>

namespace AerolithCli {

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
// select, chart, report, material-list: the unit was not computed in both
// modes (none fits, a condition had to be corrected, or a mode ended with a
// check code); the output says why.
constexpr int kExitNothingComputed = 3;
// online fetch-release: the server's release, or a file of it, was refused;
// the output names the file and why.
constexpr int kExitRefused = 4;

// arguments without the program name: COMMAND [OPTIONS...]
int Run(const QStringList& arguments, QTextStream& out, QTextStream& err);

// aerolith-cli air --altitude M --db T (--rh RH | --wb T | --w W) [--json]
int RunAir(const QStringList& arguments, QTextStream& out, QTextStream& err);

// aerolith-cli db (check [FILE] | dump FILE | pack IN OUT | unpack IN OUT)
int RunDb(const QStringList& arguments, QTextStream& out, QTextStream& err);

// families [--json]; select [options]
int RunFamilies(const QStringList& arguments, QTextStream& out, QTextStream& err);
int RunSelect(const QStringList& arguments, QTextStream& out, QTextStream& err);
int RunDatasheet(const QStringList& arguments, QTextStream& out, QTextStream& err);
int RunAnnual(const QStringList& arguments, QTextStream& out, QTextStream& err);

// chart fan|efficiency|correction --out FILE.png|FILE.emf [--size WxH] [select options]
int RunChart(const QStringList& arguments, QTextStream& out, QTextStream& err);

// project check FILE [--json]
int RunProject(const QStringList& arguments, QTextStream& out, QTextStream& err);

// material-list --out FILE.xml [--project FILE] [select options]
int RunMaterialList(const QStringList& arguments, QTextStream& out, QTextStream& err);

// report --out FILE.rtf|FILE.pdf [--units si|imperial] [--diagram psychro|mollier] [--project FILE] [select options]
int RunReport(const QStringList& arguments, QTextStream& out, QTextStream& err);

// online status [--language LCID] [--json]; online download PATH --out FILE [--size BYTES]
int RunOnline(const QStringList& arguments, QTextStream& out, QTextStream& err);

}  // namespace AerolithCli
