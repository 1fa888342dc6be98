// Documents through the command line: the material list, opened by
// LibreOffice Calc.

#include "CliRun.h"
#include "platform/Registry.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// The workbook as CSV, the way LibreOffice Calc reads it.
QStringList AsCsv(const QString& xml, const QTemporaryDir& dir) {
  QProcess office;
  office.start(QStandardPaths::findExecutable("soffice"),
               {"-env:UserInstallation=file://" + dir.filePath("profile"), "--headless", "--convert-to",
                "csv:Text - txt - csv (StarCalc):44,34,76", "--outdir", dir.path(), xml});
  if (!office.waitForFinished(120000)) return {};
  QFile csv(QString(xml).replace(".xml", ".csv"));
  if (!csv.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(csv.readAll()).split(QRegularExpression("\r?\n"), Qt::SkipEmptyParts);
}

}  // namespace

TEST(MaterialListCommand, TheUnitAndItsOptionsWithCountsAsNumbers) {
  ASSERT_FALSE(QStandardPaths::findExecutable("soffice").isEmpty()) << "LibreOffice is installed by scripts/setup.sh";
  QTemporaryDir dir;
  const QString xml = dir.filePath("list.xml");
  // NV-400 with F7 on both sides and all plenums (four), section header off.
  {
    CTRegistry registry;
    ASSERT_TRUE(registry.OpenKey("Software\\Norvane\\XMLMatList", true));
    registry.WriteInteger("SC_USE_HEADER", 0);
  }
  CliResult r = RunCli({"material-list", "--supply", "100", "--esp-supply", "40", "--esp-exhaust", "40",
                        "--filter-supply", "F7", "--filter-exhaust", "F7", "--plenums", "2", "--unit", "NV-400",
                        "--out", xml});
  ASSERT_EQ(r.code, 0) << r.err.toStdString();
  QStringList rows = AsCsv(xml, dir);
  ASSERT_GE(rows.size(), 2);
  EXPECT_EQ(rows[0], "Model,Qty,Description");
  EXPECT_EQ(rows[1], "NV-400,1,NV-400");
  rows = rows.mid(2);
  rows.sort();
  EXPECT_EQ(rows, (QStringList{"NFS-400-F7,2,Filter set F7 for NV-400", "NPL-400,4,Connection plenum for NV-400",
                               "NRC-10,1,Wired remote controller"}));

  // With the section header (the default), its row follows the header row.
  {
    CTRegistry registry;
    ASSERT_TRUE(registry.OpenKey("Software\\Norvane\\XMLMatList", true));
    registry.WriteInteger("SC_USE_HEADER", 1);
    registry.WriteString("SC_HEADER", "  Ventilation  ");
  }
  r = RunCli({"material-list", "--supply", "100", "--unit", "NV-400", "--out", xml});
  ASSERT_EQ(r.code, 0) << r.err.toStdString();
  rows = AsCsv(xml, dir);
  ASSERT_GE(rows.size(), 3);
  EXPECT_EQ(rows[1], "Ventilation,1,All");
  EXPECT_EQ(rows[2], "NV-400,1,NV-400");
}

TEST(MaterialListCommand, SaysWhyNothingWasWritten) {
  QTemporaryDir dir;
  CliResult r = RunCli({"material-list", "--supply", "300", "--esp-supply", "270", "--out", dir.filePath("l.xml")});
  EXPECT_EQ(r.code, 3);
  EXPECT_TRUE(r.err.contains("There is no selected ventilation device!")) << r.err.toStdString();
  r = RunCli({"material-list", "--supply", "100", "--out", dir.filePath("no/such/folder/l.xml")});
  EXPECT_EQ(r.code, 1);
  EXPECT_TRUE(r.err.contains("Unable to create file")) << r.err.toStdString();
  EXPECT_FALSE(QFile::exists(dir.filePath("l.xml")));
}

// ---------------------------------------------------------------- the report

namespace {

QString Output(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(QStandardPaths::findExecutable(program), arguments);
  if (!process.waitForFinished(180000)) return {};
  return QString::fromUtf8(process.readAllStandardOutput());
}

// A value in the unit in effect as the report writes it, worked out here:
// halves to even at the unit's digits.
QString Fixed(double value, int digits) { return QString::number(value, 'f', digits); }

struct ReportCase {
  const char* name;
  QStringList selection;  // select options
  int family;             // 0 plain, 1 coil, 2 fresh air
  bool imperial;
};

}  // namespace

// Each family's report in SI and imperial units, opened by LibreOffice
// Writer and printed to PDF: every section heading of the unit's type, the
// inputs, the eight states, the results and every chart's axis titles.
TEST(ReportCommand, LibreOfficePrintsEveryReport) {
  ASSERT_FALSE(QStandardPaths::findExecutable("soffice").isEmpty()) << "LibreOffice is installed by scripts/setup.sh";
  ASSERT_FALSE(QStandardPaths::findExecutable("pdftotext").isEmpty()) << "poppler-utils are installed by scripts/setup.sh";
  const ReportCase cases[] = {
      {"plain-si", {"--family", "HRX"}, 0, false},
      {"plain-imperial", {"--family", "HRX"}, 0, true},
      {"coil-si", {"--family", "HRD"}, 1, false},
      {"coil-imperial", {"--family", "HRD"}, 1, true},
      {"fresh-si", {"--family", "DQTL-MF", "--supply", "200"}, 2, false},
      {"fresh-imperial", {"--family", "DQTL-MF", "--supply", "200"}, 2, true},
  };
  QTemporaryDir dir;
  QStringList rtfs;
  QMap<QString, QString> units;
  for (const ReportCase& c : cases) {
    const QString rtf = dir.filePath(QString::fromLatin1(c.name) + ".rtf");
    const CliResult r =
        RunCli(QStringList{"report", "--out", rtf, "--units", c.imperial ? "imperial" : "si"} + c.selection);
    ASSERT_EQ(r.code, 0) << c.name << ": " << r.err.toStdString();
    units[c.name] = r.out.section(": report of ", 1).trimmed();
    rtfs << rtf;
  }
  QProcess office;
  office.start(QStandardPaths::findExecutable("soffice"),
               QStringList{"-env:UserInstallation=file://" + dir.filePath("profile"), "--headless", "--convert-to", "pdf",
                           "--outdir", dir.path()} + rtfs);
  ASSERT_TRUE(office.waitForFinished(300000));

  for (const ReportCase& c : cases) {
    SCOPED_TRACE(c.name);
    const QString rtfPath = dir.filePath(QString::fromLatin1(c.name) + ".rtf");
    const QString pdf = QString(rtfPath).replace(".rtf", ".pdf");
    ASSERT_TRUE(QFile::exists(pdf)) << office.readAllStandardError().toStdString();
    EXPECT_TRUE(Output("pdfinfo", {pdf}).contains(QRegularExpression("Page size:\\s+595\\.\\d+ x 841\\.\\d+")));
    // Table rows as they lie on the page (label and value side by side),
    // and the text in reading order (headings, chart labels).
    const QString text = Output("pdftotext", {"-layout", pdf, "-"}).simplified();
    const QString flow = Output("pdftotext", {pdf, "-"}).simplified();
    const bool twoSided = c.family < 2;

    // One picture per chart: 800 x 600 and 640 x 480 pixels at 150 to the
    // inch are 7680 and 6144 twips wide.
    QFile rtfFile(rtfPath);
    ASSERT_TRUE(rtfFile.open(QIODevice::ReadOnly));
    const QByteArray rtf = rtfFile.readAll();
    EXPECT_EQ(rtf.count("\\picwgoal7680\\pichgoal5760"), twoSided ? 3 : 2);  // diagrams, configuration
    EXPECT_EQ(rtf.count("\\picwgoal6144\\pichgoal4608"), twoSided ? 3 : 1);  // fan, efficiency, correction

    // The sections of the unit's type.
    for (const char* heading : {"Specification Data", "Selection Data", "Technical data", "Psychrometric Points",
                                "Psychrometric Diagram", "Fan Characteristics"})
      EXPECT_TRUE(flow.contains(heading)) << heading;
    for (const char* heading : {"Commissioning parameters", "Efficiency Data", "Corrected Efficiency Data",
                                "Configuration Data"})
      EXPECT_EQ(flow.contains(heading), twoSided) << heading;
    EXPECT_EQ(flow.contains("Selection parameters for use in Trivane_Quillo"), c.family > 0);
    EXPECT_TRUE(text.contains("Selected ventilation device: " + units[c.name]));

    // The inputs, converted here: 27, 35, 20 and 7 degC are 80.6, 95.0, 68.0
    // and 44.6 degF; 150 Pa are 0.60 inH2O; 100 and 200 l/s are 212 and 424 CFM.
    const QString supply = c.family == 2 ? (c.imperial ? "424 CFM" : "200 l/s") : (c.imperial ? "212 CFM" : "100 l/s");
    EXPECT_TRUE(text.contains("Total supply air " + supply));
    EXPECT_TRUE(text.contains(c.imperial ? "Design supply ESP 0.60 inH2O" : "Design supply ESP 150.0 Pa"));
    const QStringList temperatures = c.imperial ? QStringList{"80.6 °F", "95.0 °F", "68.0 °F", "44.6 °F"}
                                                : QStringList{"27.0 °C", "35.0 °C", "20.0 °C", "7.0 °C"};
    for (const QString& value : temperatures) EXPECT_TRUE(text.contains(value)) << value.toStdString();

    // The states and results the selection computed.
    const CliResult json = RunCli(QStringList{"select", "--json"} + c.selection);
    ASSERT_EQ(json.code, 0);
    const QJsonObject result = QJsonDocument::fromJson(json.out.toUtf8()).object();
    const QStringList points = twoSided ? QStringList{"RA", "OA", "EA", "SA", "VI", "VO"} : QStringList{"RA", "OA", "SA", "VI", "VO"};
    const QMap<QString, QString> titles{{"RA", "Room Air (RA)"},       {"OA", "Outdoor Air (OA)"},
                                        {"EA", "Exhaust Air (EA)"},    {"SA", "Supply Air (SA)"},
                                        {"VI", "Ventilation In (VI)"}, {"VO", "Ventilation Out (VO)"}};
    for (const QString& mode : {QStringLiteral("cooling"), QStringLiteral("heating")}) {
      const QJsonObject m = result[mode].toObject();
      for (const QString& point : points) {
        EXPECT_TRUE(text.contains(titles[point])) << point.toStdString();
        const QJsonObject state = m["states"].toObject()[point].toObject();
        EXPECT_TRUE(text.contains("Relative humidity " + Fixed(state["RH"].toDouble(), 1) + " %"))
            << mode.toStdString() << " " << point.toStdString();
      }
      if (c.family == 1) EXPECT_TRUE(text.contains("Coil In (CI)"));
      if (!twoSided) continue;
      EXPECT_TRUE(text.contains("Temperature exchange efficiency " + Fixed(m["temperature_efficiency"].toDouble(), 1) + " %"));
      const double total = m["savings_total_kw"].toDouble();
      const QString savings = c.imperial ? Fixed(total / 0.0002930711111111, 0) + " BTU/h" : Fixed(total, 3) + " kW";
      EXPECT_TRUE(text.contains("Total heat savings " + savings)) << savings.toStdString();
    }

    // The charts' axis titles, in the units in effect.
    QStringList axes = c.imperial ? QStringList{"Dry bulb temperature (°F)", "Absolute humidity (GPP)",
                                                "External Static Pressure (inH2O)", "Airflow Rate (CFM)"}
                                  : QStringList{"Dry bulb temperature (°C)", "Absolute humidity (kg/kg)",
                                                "External Static Pressure (Pa)", "Airflow Rate (l/s)"};
    if (twoSided) axes << "Exchange Efficiency (%)" << "Corrected Efficiency (%)";
    for (const QString& axis : axes) EXPECT_TRUE(flow.contains(axis)) << axis.toStdString();
  }
}

// The material lists of the other families: header, unit and option rows,
// counts as numbers.
TEST(MaterialListCommand, CoilAndFreshAirUnits) {
  ASSERT_FALSE(QStandardPaths::findExecutable("soffice").isEmpty()) << "LibreOffice is installed by scripts/setup.sh";
  QTemporaryDir dir;
  {
    CTRegistry registry;
    ASSERT_TRUE(registry.OpenKey("Software\\Norvane\\XMLMatList", true));
    registry.WriteInteger("SC_USE_HEADER", 0);
  }
  const std::pair<QStringList, QString> cases[] = {{{"--family", "HRD"}, "NV-500D"},
                                                   {{"--family", "DQTL-MF", "--supply", "200"}, "NV-FA800"}};
  for (const auto& [selection, unit] : cases) {
    SCOPED_TRACE(unit.toStdString());
    const QString xml = dir.filePath(unit + ".xml");
    const CliResult r = RunCli(QStringList{"material-list", "--out", xml} + selection);
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QStringList rows = AsCsv(xml, dir);
    ASSERT_GE(rows.size(), 2);
    EXPECT_EQ(rows[0], "Model,Qty,Description");
    EXPECT_TRUE(rows[1].startsWith(unit + ",1,")) << rows[1].toStdString();
    for (const QString& row : rows.mid(2))
      EXPECT_TRUE(row.contains(QRegularExpression("^[^,]+,[1-9][0-9]*,"))) << row.toStdString();
  }
}
