// Documents through the command line: the material list, opened by
// LibreOffice Calc.

#include "CliRun.h"
#include "platform/Registry.h"

#include <QFile>
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
