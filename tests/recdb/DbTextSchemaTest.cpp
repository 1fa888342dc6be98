#include "EngineSettings.h"
#include "RecordingPresenter.h"
#include "TestSchema.h"

#include "recdb/DbTextSchema.h"
#include "recdb/MemDB.h"

#include <QBuffer>

#include <gtest/gtest.h>

using namespace testschema;

namespace {

class DbTextSchema : public MemEngineTest {
 protected:

  // The text the engine writes for the test schema with two polynomials, a
  // point on the first and a motor on the second; plain, as the fixture
  // leaves compression off.
  QByteArray WrittenText() {
    Factory factory;
    factory.SetRequiredEngineType(0, CTMemDbEngine::ClassName());
    EXPECT_TRUE(factory.Connect());
    Polynomial first(0, &factory), second(0, &factory);
    first.SetName("first");
    first.Insert();
    second.SetName("second");
    second.Insert();
    CTDbObject point(kPoint, 0, &factory);
    point.SetRelationByIx(kPointCurveRef, &first);
    point.Insert();
    CTDbObject motor(kMotor, 0, &factory);
    motor.SetRelationByIx(kRef, &second);
    motor.Insert();

    QByteArray text;
    QBuffer buffer(&text);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(factory.GetEngine(0)->WriteToStream(&buffer));
    return text;
  }

};

// Every column of every table the engine writes comes back with its name,
// type and default, and every reference column with its link's master and flags.
TEST_F(DbTextSchema, ReadsBackTheSchemaTheEngineWrote) {
  QString error;
  const std::unique_ptr<CTBaseFactory> read = CTDbTextSchema::BuildFactory(WrittenText(), error);
  ASSERT_NE(read, nullptr) << error.toStdString();
  EXPECT_EQ(read->GetSignature(), "ROZ100");

  const Factory original;
  for (const CTTableInfo* table : original.Tables()) {
    if (!table) continue;
    const CTTableInfo* copy = read->GetTableInfo(table->GetTableIndex());
    if (table->IsAbstract()) {  // the engine holds no rows of it, so writes nothing of it
      EXPECT_EQ(copy, nullptr) << table->TableName().toStdString();
      continue;
    }
    ASSERT_NE(copy, nullptr) << table->TableName().toStdString();
    EXPECT_EQ(copy->TableName(), table->TableName());
    ASSERT_EQ(copy->FieldCount(), table->FieldCount()) << table->TableName().toStdString();
    for (int ix = 0; ix < table->FieldCount(); ++ix) {
      const CTFieldInfo* want = table->GetFieldInfo(ix);
      const CTFieldInfo* got = copy->GetFieldInfo(ix);
      const std::string where = (table->TableName() + "." + want->GetName()).toStdString();
      ASSERT_NE(got, nullptr) << where;
      EXPECT_EQ(got->GetName(), want->GetName()) << where;
      ASSERT_EQ(got->GetType(), want->GetType()) << where;
      switch (want->GetType()) {
        case vtInteger: EXPECT_EQ(got->GetIntegerDftValue(), want->GetIntegerDftValue()) << where; break;
        case vtDouble: EXPECT_EQ(got->GetDoubleDftValue(), want->GetDoubleDftValue()) << where; break;
        case vtUnicodeString:
          EXPECT_EQ(got->GetUnicodeStringDftValue(), want->GetUnicodeStringDftValue()) << where;
          EXPECT_EQ(got->IsMultilingual(), want->IsMultilingual()) << where;
          break;
        default: break;
      }
      const CTTableLink* wantLink = want->GetRefTo();
      const CTTableLink* gotLink = got->GetRefTo();
      ASSERT_EQ(gotLink != nullptr, wantLink != nullptr) << where;
      if (!wantLink) continue;
      ASSERT_NE(gotLink->GetFromTable(), nullptr) << where;
      EXPECT_EQ(gotLink->GetFromTable()->GetTableIndex(), wantLink->GetFromTable()->GetTableIndex()) << where;
      EXPECT_EQ(gotLink->v_oneToOne, wantLink->v_oneToOne) << where;
      EXPECT_EQ(gotLink->v_refIntegr, wantLink->v_refIntegr) << where;
      EXPECT_EQ(gotLink->v_cascDel, wantLink->v_cascDel) << where;
      EXPECT_EQ(gotLink->v_isOrdered, wantLink->v_isOrdered) << where;
    }
  }
  // Spot checks against the declarations in TestSchema.h.
  EXPECT_EQ(read->GetTableInfo(kPolynomial)->GetFieldInfo(2)->GetDoubleDftValue(), 1.5);
  EXPECT_TRUE(read->GetTableInfo(kPolynomial)->GetFieldInfo(1)->IsMultilingual());
  EXPECT_TRUE(read->GetTableInfo(kMotor)->GetFieldInfo(kRef)->GetRefTo()->v_oneToOne);
  const CTTableInfo* version = read->GetTableInfo(Cls_DdbVersionInfo::kClassID);
  EXPECT_EQ(version->GetFieldInfo(Cls_DdbVersionInfo::DVI_MaxPercentageOUBasket)->GetIntegerDftValue(), 120);
}

// The read schema serves the engine: the rows load, their references resolve.
TEST_F(DbTextSchema, TheEngineLoadsTheTextOverTheSchemaReadFromIt) {
  QByteArray text = WrittenText();
  QString error;
  const std::unique_ptr<CTBaseFactory> read = CTDbTextSchema::BuildFactory(text, error);
  ASSERT_NE(read, nullptr) << error.toStdString();
  CTMemDbEngine engine(read.get(), "check", QString(), true, 0);
  QBuffer buffer(&text);
  buffer.open(QIODevice::ReadOnly);
  ASSERT_TRUE(engine.Load(&buffer)) << engine.LoadProblems().join("; ").toStdString();
  EXPECT_EQ(engine.CountObjects(kPolynomial), 2);
  EXPECT_EQ(engine.CountObjects(kPoint), 1);
  EXPECT_EQ(engine.CountObjects(kMotor), 1);
  EXPECT_TRUE(engine.CheckReferrerInvariant().isEmpty());
}

// Without an extended structure every column keeps the type of the structure
// section (an 8-bit text reads as a text), a zero default and no link.
TEST_F(DbTextSchema, PlainColumnsWithoutExtendedStructure) {
  const QByteArray text =
      "ROZ100\r\n5 9 Tbl_Curve 1\r\n5 2 ID 2\r\n5 4 Name 5\r\n5 5 Value 4\r\n5 3 Ref 2\r\n0\r\n0\r\n"
      "2 1 2 0 2 1 2 1\r\n2 1 5 1 a 4 2 2 0 \r\n0\r\n";
  QString error;
  const std::unique_ptr<CTBaseFactory> read = CTDbTextSchema::BuildFactory(text, error);
  ASSERT_NE(read, nullptr) << error.toStdString();
  const CTTableInfo* curve = read->GetTableInfo(1);
  ASSERT_NE(curve, nullptr);
  EXPECT_EQ(curve->ModelClassName(), "Curve");
  ASSERT_EQ(curve->FieldCount(), 4);
  EXPECT_EQ(curve->GetFieldInfo(1)->GetType(), vtUnicodeString);
  EXPECT_EQ(curve->GetFieldInfo(2)->GetType(), vtDouble);
  EXPECT_EQ(curve->GetFieldInfo(2)->GetDoubleDftValue(), 0);
  EXPECT_EQ(curve->GetFieldInfo(3)->GetRefTo(), nullptr);
}

TEST_F(DbTextSchema, BrokenTextsAreRefusedWithTheirReason) {
  // Tbl_Curve (1): ID, Name; Tbl_Point (2): ID, and the reference pair to a curve.
  const QByteArray structure =
      "ROZ100\r\n5 9 Tbl_Curve 1\r\n5 2 ID 2\r\n5 4 Name 10\r\n0\r\n"
      "5 9 Tbl_Point 2\r\n5 2 ID 2\r\n5 7 Cls_REF 2\r\n5 7 Obj_REF 2\r\n0\r\n0\r\n";
  const QByteArray noRows = structure + "0\r\n";
  struct Case {
    QByteArray text;
    QString error;
  };
  const Case cases[] = {
      {"", "no database header line"},
      {"ROZ\r\n0\r\n0\r\n", "no database header line"},
      {QByteArray(65, 'R') + "\r\n0\r\n0\r\n", "the header line is too long"},
      {"ROZ1X0\r\n0\r\n0\r\n", "the header 'ROZ1X0' does not end in a version"},
      {"ROZ100\r\n", "the structure section is cut off"},
      {"ROZ100\r\n7 9 Tbl_Curve 1\r\n0\r\n0\r\n", "unexpected 7 in the structure section"},
      {"ROZ100\r\n5 9 Tbl_Curve -1\r\n0\r\n0\r\n", "a table declaration is malformed"},
      {"ROZ100\r\n5 9 Tbl_Curve 100001\r\n0\r\n0\r\n", "a table declaration is malformed"},
      {"ROZ100\r\n5 90 Tbl_Curve 1\r\n0\r\n0\r\n", "a table declaration is malformed"},
      {"ROZ100\r\n5 9 Tbl_Curve 1\r\n0\r\n5 9 Tbl_Other 1\r\n0\r\n0\r\n", "table index 1 is declared twice"},
      {"ROZ100\r\n5 9 Tbl_Curve 1\r\n5 2 ID 2\r\n", "the columns of Tbl_Curve are cut off"},
      {"ROZ100\r\n5 9 Tbl_Curve 1\r\n3 2 ID 2\r\n0\r\n0\r\n", "unexpected 3 among the columns of Tbl_Curve"},
      {"ROZ100\r\n5 9 Tbl_Curve 1\r\n5 2 ID\r\n", "a column of Tbl_Curve is malformed"},
      {"ROZ100\r\n5 9 Tbl_Curve 1\r\n5 2 ID 3\r\n0\r\n0\r\n0\r\n0\r\n", "column Tbl_Curve.ID has the unknown type 3"},
      {structure, "the data section is cut off"},
      {structure + "3 1 2 1\r\n", "unexpected 3 in the data section"},
      {structure + "2 1 4 1\r\n", "a data header is malformed"},
      {structure + "2 1 2 0 2 1\r\n", "a data header is malformed"},
      {structure + "2 1 2 2\r\n2 1 10 1 a \r\n", "the rows of table index 1 are cut off"},
      {noRows + "2 7 2 -1\r\n0\r\n0\r\n", "the extended structure names unknown class 7"},
      {noRows + "3 1 2 -1\r\n0\r\n0\r\n", "the extended structure is malformed"},
      {noRows + "2 1 2 -1\r\n2 2 0 0 0\r\n", "the extended structure is cut off"},
      {noRows + "2 1 2 -1\r\n2 2 0 0 0\r\n2 10 0  0 0\r\n2 2 0 0 0\r\n0\r\n0\r\n",
       "the extended structure of Tbl_Curve is malformed"},
      {noRows + "2 1 2 -1\r\n2 2 0 1 0\r\n0\r\n0\r\n", "a default of Tbl_Curve is malformed"},
      {noRows + "2 1 2 -1\r\n2 2 0 0 0\r\n2 10 5 ab\r\n", "a default of Tbl_Curve is malformed"},
      {noRows + "2 1 2 -1\r\n2 3 0\r\n0\r\n0\r\n", "column ID of Tbl_Curve has type 3"},
      {noRows + "2 2 2 -1\r\n2 2 0 0 0\r\n2 2 0 0 1 2 1 0 1 0\r\n0\r\n0\r\n", "a link of Tbl_Point is malformed"},
  };
  for (const Case& c : cases) {
    QString error;
    EXPECT_EQ(CTDbTextSchema::BuildFactory(c.text, error), nullptr) << c.text.toStdString();
    EXPECT_EQ(error, c.error) << c.text.toStdString();
  }
}

}  // namespace
