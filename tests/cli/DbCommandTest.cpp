#include "CliRun.h"

#include "recdb/LZSS.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {


// Two tables: Curve (master) and Point, whose required, cascading link
// points at Curve; three points, one of them at a curve that does not exist.
const QByteArray kDatabase =
    "ROZ100\r\n"
    "5 9 Tbl_Curve 1\r\n5 2 ID 2\r\n5 4 Name 10\r\n0\r\n"
    "5 9 Tbl_Point 2\r\n5 2 ID 2\r\n5 9 Curve_CLS 2\r\n5 9 Curve_OBJ 2\r\n0\r\n0\r\n"
    "2 1 2 0 2 1 2 1\r\n2 1 10 3 fan \r\n"
    "2 2 2 0 2 3 2 3\r\n2 1 2 1 2 1 \r\n2 2 2 1 2 7 \r\n2 3 2 1 2 1 \r\n0\r\n"
    "2 1 2 -1\r\n2 2 0 0 0\r\n2 10 0  0 0\r\n0\r\n"
    "2 2 2 -1\r\n2 2 0 0 0\r\n2 2 0 0 1 2 1 0 1 0 1 0 0 0 0\r\n2 2 0 0 0\r\n0\r\n0\r\n";

class DbCommand : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(v_dir.isValid()); }
  QString Write(const QString& name, const QByteArray& bytes) {
    QFile f(v_dir.filePath(name));
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return f.fileName();
  }
  QByteArray Read(const QString& name) {
    QFile f(v_dir.filePath(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
  QTemporaryDir v_dir;
};

TEST_F(DbCommand, CheckReportsDanglingReferencesAndWhatAutoCorrectRemoves) {
  const CliResult bad = RunCli({"db", "check", Write("bad.roz", kDatabase)});
  EXPECT_EQ(bad.code, AerolithCli::kExitFailure);
  EXPECT_TRUE(bad.err.contains("Tbl_Point row 2: Curve_CLS refers to Tbl_Curve row 7, which does not exist")) << bad.err.toStdString();
  EXPECT_TRUE(bad.err.contains("auto-correct would remove:"));

  QByteArray fixed = kDatabase;
  fixed.replace("2 2 2 1 2 7 \r\n", "2 2 2 1 2 1 \r\n");
  const CliResult good = RunCli({"db", "check", Write("good.roz", fixed)});
  EXPECT_EQ(good.code, AerolithCli::kExitOk) << good.err.toStdString();
  EXPECT_TRUE(good.out.contains("ROZ100, 2 tables, 4 rows, no problems")) << good.out.toStdString();
}

TEST_F(DbCommand, PackUnpackAndDumpRoundTrip) {
  const QString plain = Write("plain.roz", kDatabase);
  ASSERT_EQ(RunCli({"db", "pack", plain, v_dir.filePath("packed.roz")}).code, 0);
  EXPECT_TRUE(Read("packed.roz").startsWith("K7R"));
  EXPECT_EQ(RunCli({"db", "pack", v_dir.filePath("packed.roz"), v_dir.filePath("twice.roz")}).code,
            AerolithCli::kExitFailure);
  ASSERT_EQ(RunCli({"db", "unpack", v_dir.filePath("packed.roz"), v_dir.filePath("back.roz")}).code, 0);
  EXPECT_EQ(Read("back.roz"), kDatabase);
  const CliResult dump = RunCli({"db", "dump", v_dir.filePath("packed.roz")});
  EXPECT_EQ(dump.code, 0);
  EXPECT_EQ(dump.out.toLatin1(), kDatabase);
}

TEST_F(DbCommand, DamagedOrMissingFilesGetAMessageAndAFailure) {
  QByteArray packed = "K7R" + CTLZSSLogic::Compress(kDatabase);
  packed.chop(packed.size() / 2);
  struct Case {
    QStringList args;
    const char* complaint;
  };
  const Case cases[] = {
      {{"db", "check", Write("cut.roz", packed)}, "cut off"},
      {{"db", "check", Write("garbage.roz", QByteArray(5000, '\x07'))}, "does not load"},
      {{"db", "check", v_dir.filePath("missing.roz")}, "cannot read"},
      {{"db", "unpack", Write("plain2.roz", kDatabase), v_dir.filePath("x.roz")}, "is not compressed"},
      {{"db", "dump", Write("cut2.roz", packed)}, "cut off"},
  };
  for (const Case& c : cases) {
    const CliResult r = RunCli(c.args);
    EXPECT_NE(r.code, 0) << c.complaint;
    EXPECT_TRUE(r.err.contains(c.complaint)) << r.err.toStdString();
  }
  EXPECT_EQ(RunCli({"db", "frobnicate"}).code, AerolithCli::kExitUsage);
}

}  // namespace
