#include "EngineSettings.h"
#include "RecordingPresenter.h"
#include "TestSchema.h"

#include "i18n/BaseMsgMan.h"
#include "recdb/DbNameMapping.h"
#include "recdb/MemDB.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace testschema;

namespace {


// The reference database: one table, one row, no extended structure, no final line end.
const QByteArray kReferenceDb =
    "ROZ100\r\n5 18 TBL_DdbVersionInfo 101\r\n5 6 DVI_ID 2\r\n5 13 DVI_DbVersion 10\r\n0\r\n0\r\n"
    "2 101 2 0 2 1 2 1\r\n2 1 10 5 1.4.3\r\n0";

class MemDb : public MemEngineTest {
 protected:
  void SetUp() override {
    MemEngineTest::SetUp();
    ASSERT_TRUE(v_dir.isValid());
  }
  QString Path(const QString& name = "db.roz") const { return v_dir.filePath(name); }
  void WriteFile(const QByteArray& bytes, const QString& name = "db.roz") {
    QFile f(Path(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
  }
  QByteArray ReadFile(const QString& name = "db.roz") {
    QFile f(Path(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
  // A factory over the file, connected (or not) and made the default.
  std::unique_ptr<Factory> Open(const QString& name = "db.roz", bool* pConnected = nullptr) {
    auto factory = std::make_unique<Factory>();
    factory->SetRequiredEngineType(0, CTMemDbEngine::ClassName());
    factory->SetDatabaseName(0, QFile::exists(Path(name)) ? Path(name) : QString());
    const bool connected = factory->Connect();
    if (pConnected) *pConnected = connected;
    else EXPECT_TRUE(connected) << v_messages.shown.join("; ").toStdString();
    CTDbObject::SetDefaultFactory(factory.get());
    return factory;
  }
  static CTMemDbEngine* Engine(const CTBaseFactory& f) { return dynamic_cast<CTMemDbEngine*>(f.GetEngine(0)); }

  QTemporaryDir v_dir;
};

std::unique_ptr<Polynomial> NewPolynomial(const QString& name, double value = 1.5) {
  auto p = std::make_unique<Polynomial>();
  p->SetName(name);
  p->SetDoubleValue(2, value);
  p->Insert();
  return p;
}

std::unique_ptr<CTDbObject> NewDetail(int cls, const CTDbObject* master) {
  auto d = std::make_unique<CTDbObject>(cls);
  d->SetRelationByIx(kRef, master);
  d->Insert();
  return d;
}

TEST_F(MemDb, ReferenceDatabaseLoadsWithDefaultsForMissingColumns) {
  WriteFile(kReferenceDb);
  auto factory = Open();
  EXPECT_TRUE(Cls_DdbVersionInfo::CheckVersion(factory.get(), "1.4.3", true));
  auto row = Cls_DdbVersionInfo::GetVersionRecord(factory.get(), false);
  ASSERT_NE(row, nullptr);
  EXPECT_EQ(row->GetID(), 1);
  EXPECT_EQ(row->GetMaxPercentageOUBasket(), 120);
  EXPECT_EQ(row->GetDataVersion(), "");
  EXPECT_EQ(Engine(*factory)->TopLayer()->Map(Cls_DdbVersionInfo::kClassID)->GetMaxID(), 1);
}

TEST_F(MemDb, SavedDatabasesLoadBackAndRewriteByteForByte) {
  for (bool compressed : {false, true}) {
    CTMemDbEngine::UseCompression(compressed);
    CTMemDbEngine::SetCompressionSignature("K7R");
    QFile::remove(Path());
    {
      auto factory = Open();
      auto a = NewPolynomial("Zuluft \\ °C", 0.1 + 0.2);
      auto b = NewPolynomial("Fortluft", -3.75);
      NewDetail(kPoint, a.get());
      NewDetail(kPoint, a.get());
      NewDetail(kNote, b.get());
      factory->SetDatabaseName(0, Path());
      ASSERT_TRUE(factory->SaveFile(0, true));
    }
    const QByteArray first = ReadFile();
    EXPECT_EQ(first.startsWith("K7R"), compressed);
    EXPECT_EQ(first.startsWith("ROZ100\r\n"), !compressed);
    {
      auto factory = Open();
      EXPECT_EQ(CTDbObject::CountAllRecords(kPoint, false), 2);
      EXPECT_EQ(Polynomial(1).GetName(), "Zuluft \\ °C");
      EXPECT_TRUE(Engine(*factory)->CheckReferrerInvariant().isEmpty());
      EXPECT_EQ(Polynomial(1).GetRelatedByIx(kPoint, kPointCurveRef).Count(), 2);
      factory->SetDatabaseName(0, Path("second.roz"));
      ASSERT_TRUE(factory->SaveFile(0, true));
    }
    EXPECT_EQ(ReadFile("second.roz"), first) << (compressed ? "compressed" : "plain");
  }
}

TEST_F(MemDb, PlainTextLoadsWhileCompressionIsRecognised) {
  CTMemDbEngine::UseCompression(true);
  CTMemDbEngine::SetCompressionSignature("K7R");
  WriteFile(kReferenceDb);
  auto factory = Open();
  EXPECT_TRUE(Cls_DdbVersionInfo::CheckVersion(factory.get(), "1.4.3", false));
}

TEST_F(MemDb, UnknownTablesRenamedColumnsAndConversions) {
  const QByteArray text =
      "ROZ100\r\n"
      "5 12 Tbl_Obsolete 7\r\n5 2 ID 2\r\n0\r\n"
      "5 14 Tbl_Polynomial 1\r\n5 2 ID 2\r\n5 7 OldName 10\r\n5 5 Value 2\r\n0\r\n0\r\n"
      "2 7 2 0 2 2 2 9\r\n2 1 \r\n2 2 \r\n"
      "2 1 2 0 2 1 2 3\r\n2 1 10 3 abc 2 7 \r\n"
      "2 1 2 0 2 1 2 3\r\n2 3 10 3 xyz 4 2.5 \r\n0\r\n";
  WriteFile(text);
  {
    auto factory = Open();
    // The second section replaced the first; the stored Double 2.5 went into... a Double here.
    EXPECT_EQ(CTDbObject::CountAllRecords(kPolynomial, false), 1);
    Polynomial p(3);
    EXPECT_EQ(p.GetDoubleValue(2), 2.5);
    EXPECT_EQ(p.GetName(), "");  // "OldName" is unknown without a mapping: default
  }
  CTMappingTable mapping;
  mapping.AddMapping("Tbl_Polynomial", "Tbl_Polynomial")->GetSubTable()->AddMapping("oldname", "Name");
  auto factory = std::make_unique<Factory>();
  factory->SetRequiredEngineType(0, CTMemDbEngine::ClassName());
  factory->SetDatabaseName(0, Path());
  factory->SetNameMapping(0, &mapping);
  ASSERT_TRUE(factory->Connect());
  EXPECT_EQ(Polynomial(3, factory.get()).GetName(), "xyz");
}

TEST_F(MemDb, StoredDoublesRoundIntoIntegerColumns) {
  WriteFile("ROZ100\r\n5 9 Tbl_Motor 5\r\n5 2 ID 4\r\n5 11 Fan_CLS_REF 2\r\n5 11 Fan_OBJ_REF 2\r\n0\r\n0\r\n"
            "2 5 2 0 2 2 2 4\r\n4 2.5 2 0 2 0 \r\n4 3.5 2 0 2 0 \r\n0\r\n");
  auto factory = Open();
  EXPECT_TRUE(Engine(*factory)->ObjectExists(kMotor, 2));
  EXPECT_TRUE(Engine(*factory)->ObjectExists(kMotor, 4));
}

TEST_F(MemDb, BrokenFilesFailToConnectWithTheirMessage) {
  struct Case {
    QByteArray text;
    const char* why;
  };
  const Case cases[] = {
      {"ROZ101\r\n0\r\n0\r\n0\r\n", "version 101 is above the factory's"},
      {"ROZ100\r\n5 14 Tbl_Polynomial 1\r\n5 2 ID 2\r\n0\r\n5 14 Tbl_Polynomial 1\r\n0\r\n0\r\n0\r\n", "index declared twice"},
      {"ROZ100\r\n5 14 Tbl_Polynomial 1\r\n5 2 ID 3\r\n0\r\n0\r\n0\r\n", "type code 3"},
      {"ROZ100\r\n5 14 Tbl_Polynomial 1\r\n5 2 ID 9\r\n0\r\n0\r\n0\r\n", "a GUID cannot fill the Integer id"},
      {"ROZ100\r\n5 14 Tbl_Polynomial 1\r\n5 2 ID 2\r\n0\r\n0\r\n2 1 2 0 2 2 2 1\r\n2 1 \r\n2 1 \r\n0\r\n", "id twice"},
      {"ROZ100\r\n5 14 Tbl_Polynomial 1\r\n5 2 ID 2\r\n0\r\n0\r\n2 1 2 5 \r\n2 1 \r\n", "rows cut off"},
      {"ROZ100\r\n5 2000000000 Tbl", "name longer than the data"},
      {"ROZ100\r\n0\r\n", "data terminator missing"},
      {QByteArray(100000, 'R'), "no header line"},
  };
  for (const Case& c : cases) {
    v_messages.shown.clear();
    WriteFile(c.text);
    bool connected = true;
    auto factory = Open("db.roz", &connected);
    EXPECT_FALSE(connected) << c.why;
    EXPECT_EQ(v_messages.shown.value(0), QString("Invalid database structure in '%1'.").arg(Path())) << c.why;
  }
}

TEST_F(MemDb, MissingRequiredTargetsFailOrAreRemovedWithTheirDependents) {
  // Motor 1 needs Polynomial 9, which is missing; Point 1 needs Polynomial 1, present.
  const QByteArray text =
      "ROZ100\r\n5 14 Tbl_Polynomial 1\r\n5 2 ID 2\r\n0\r\n"
      "5 9 Tbl_Motor 5\r\n5 2 ID 2\r\n5 11 Fan_CLS_REF 2\r\n5 11 Fan_OBJ_REF 2\r\n0\r\n0\r\n"
      "2 1 2 0 2 1 2 1\r\n2 1 \r\n"
      "2 5 2 0 2 2 2 2\r\n2 1 2 1 2 9 \r\n2 2 2 1 2 1 \r\n0\r\n";
  WriteFile(text);
  bool connected = true;
  auto strict = Open("db.roz", &connected);
  EXPECT_FALSE(connected);
  strict.reset();

  CTMemDbEngine::SetAutoCorrect(true);
  auto factory = Open();
  EXPECT_FALSE(Engine(*factory)->ObjectExists(kMotor, 1));
  EXPECT_TRUE(Engine(*factory)->ObjectExists(kMotor, 2));
  EXPECT_EQ(Engine(*factory)->LoadProblems().size(), 1);
  EXPECT_TRUE(Engine(*factory)->CheckReferrerInvariant().isEmpty());
}

TEST_F(MemDb, AutoCorrectRemovalsCascadeAcrossPasses) {
  // Point 1 needs Polynomial 5 (missing); Motor 1 needs ... nothing missing.
  // Note: required chains go Point -> Polynomial only in this schema, so a
  // second generation needs a required link to Point; Motor's link to
  // Polynomial 2 is fine, Motor 2's to Polynomial 7 is not.
  const QByteArray text =
      "ROZ100\r\n5 14 Tbl_Polynomial 1\r\n5 2 ID 2\r\n0\r\n"
      "5 9 Tbl_Motor 5\r\n5 2 ID 2\r\n5 11 Fan_CLS_REF 2\r\n5 11 Fan_OBJ_REF 2\r\n0\r\n0\r\n"
      "2 1 2 0 2 1 2 2\r\n2 2 \r\n"
      "2 5 2 0 2 2 2 2\r\n2 1 2 1 2 2 \r\n2 2 2 1 2 7 \r\n0\r\n";
  WriteFile(text);
  CTMemDbEngine::SetAutoCorrect(true);
  auto factory = Open();
  EXPECT_TRUE(Engine(*factory)->ObjectExists(kMotor, 1));
  EXPECT_FALSE(Engine(*factory)->ObjectExists(kMotor, 2));
}

TEST_F(MemDb, EmptiedTableKeepsItsLargestIdOverSaveAndLoad) {
  {
    auto factory = Open();
    for (int i = 0; i < 3; ++i) NewPolynomial("p");
    for (int id : {1, 2, 3}) Polynomial(id).Remove();
    factory->SetDatabaseName(0, Path());
    ASSERT_TRUE(factory->SaveFile(0, true));
  }
  auto factory = Open();
  EXPECT_EQ(NewPolynomial("next")->GetID(), 4);
}

TEST_F(MemDb, IdsContinueAfterRemovalsAndRestartAfterPurge) {
  auto factory = Open();
  CTMemDbEngine* engine = Engine(*factory);
  for (int i = 0; i < 41; ++i) NewPolynomial("p");
  Polynomial(40).Remove();
  Polynomial(41).Remove();
  EXPECT_EQ(NewPolynomial("q")->GetID(), 42);
  Polynomial clash;
  clash.SetID(7);
  try {
    engine->InsertRecord(&clash);
    FAIL();
  } catch (const CTDbException& e) {
    EXPECT_EQ(e.Code(), excIDUsed);
    EXPECT_EQ(e.Message(), "CTDbException: ID 7 is already used");
  }
  CTDbObject::PurgeTable(kPolynomial);
  EXPECT_EQ(CTDbObject::CountAllRecords(kPolynomial, false), 0);
  EXPECT_EQ(NewPolynomial("r")->GetID(), 1);
}

TEST_F(MemDb, RemovalCascadesThroughCascadingLinksOnly) {
  auto factory = Open();
  CTMemDbEngine* engine = Engine(*factory);
  QList<QPair<int, int>> removed;
  engine->SetModifiedProc([&](bool, int cls, int id, const QString&, int code) {
    if (code == CTDbEngine::kUpdateRemoved) removed << qMakePair(cls, id);
  });
  engine->EnableModifiedProc(true);
  auto master = NewPolynomial("m");
  auto p1 = NewDetail(kPoint, master.get());
  auto p2 = NewDetail(kPoint, master.get());
  auto note = NewDetail(kNote, master.get());
  master->Remove();
  EXPECT_EQ(removed, (QList<QPair<int, int>>{{kPolynomial, 1}, {kPoint, 1}, {kPoint, 2}}));
  EXPECT_FALSE(engine->ObjectExists(kPoint, 1));
  CTDbObject keptNote(kNote, note->GetID());
  EXPECT_EQ(keptNote.GetIntegerValue(kRef + 1), master->GetID());  // dangling, as non-cascading links leave it
}

TEST_F(MemDb, ReferencesMoveWithTheirRows) {
  auto factory = Open();
  CTMemDbEngine* engine = Engine(*factory);
  auto a = NewPolynomial("a");
  auto b = NewPolynomial("b");
  auto point = NewDetail(kPoint, a.get());
  point->SetRelationByIx(kPointCurveRef, b.get());
  EXPECT_TRUE(a->GetRelatedByIx(kPoint, kPointCurveRef).IsEmpty());
  EXPECT_EQ(b->GetRelatedByIx(kPoint, kPointCurveRef).Count(), 1);
  EXPECT_TRUE(engine->CheckReferrerInvariant().isEmpty());

  // A required link without a target: none is an error; an optional one just none.
  CTDbObject empty(kMotor);
  empty.SetIntegerValue(kRef, 99);  // a class this engine does not hold: not checked
  empty.Insert();
  EXPECT_THROW(engine->GetRelatedRecord(&empty, kRef), CTDbException);
  auto note = std::make_unique<CTDbObject>(kNote);
  note->Insert();
  EXPECT_EQ(engine->GetRelatedRecord(note.get(), kRef), nullptr);
}

TEST_F(MemDb, OneToOneRefusesASecondReferrerEvenWithAutoCorrect) {
  CTMemDbEngine::SetAutoCorrect(true);
  auto factory = Open();
  CTMemDbEngine* engine = Engine(*factory);
  auto fan = NewPolynomial("fan");
  NewDetail(kMotor, fan.get());
  CTDbObject second(kMotor);
  second.SetRelationByIx(kRef, fan.get());
  try {
    engine->InsertRecord(&second);
    FAIL();
  } catch (const CTDbException& e) {
    EXPECT_EQ(e.Code(), excOneToOne);
    EXPECT_EQ(e.Message(), "CTDbException: 1-to-1 relation with table Tbl_Polynomial");
  }
  EXPECT_EQ(CTDbObject::CountAllRecords(kMotor, false), 1);
}

TEST_F(MemDb, ExampleAtDefaultsMatchesTheWholeClassTree) {
  auto factory = Open();
  CTDbObject circle(kCircle);
  circle.SetUnicodeStringValue(1, "c");
  circle.Insert();
  Polynomial example;
  NewPolynomial("x", 2);
  NewPolynomial("y", 3);
  EXPECT_EQ(example.SelectByExample().Count(), 2);
  example.SetDoubleValue(2, 3);
  ObjectList<CTDbObject> found = example.SelectByExample();
  ASSERT_EQ(found.Count(), 1);
  EXPECT_EQ(dynamic_cast<Polynomial*>(found[0])->GetName(), "y");
  EXPECT_EQ(example.CountByExample(), 1);
  example.RemoveByExample();
  EXPECT_EQ(CTDbObject::CountAllRecords(kPolynomial, false), 1);
}

TEST_F(MemDb, TransactionsUndoAndRedo) {
  auto factory = Open();
  CTMemDbEngine* engine = Engine(*factory);
  int msg = 0;
  auto insertInTransaction = [&](int code) {
    engine->StartTransaction(100 + code, code, true, 0, 0);
    auto p = NewPolynomial("t");
    engine->EndTransaction();
    return p->GetID();
  };
  const int first = insertInTransaction(1);
  EXPECT_TRUE(engine->CanUndo(msg));
  EXPECT_EQ(msg, 101);
  EXPECT_EQ(engine->Undo(), 1);
  EXPECT_FALSE(engine->ObjectExists(kPolynomial, first));
  EXPECT_TRUE(engine->CanRedo(msg));
  EXPECT_EQ(engine->Redo(), 1);
  EXPECT_TRUE(engine->ObjectExists(kPolynomial, first));

  // Depth 5: six transactions, five undo steps.
  for (int i = 0; i < 6; ++i) insertInTransaction(2);
  int undone = 0;
  while (engine->CanUndo(msg) && undone < 10) {
    engine->Undo();
    ++undone;
  }
  EXPECT_EQ(undone, 5);

  // Inserting and removing within one transaction leaves no step.
  engine->StartTransaction(200, 0, true, 0, 0);
  NewPolynomial("gone")->Remove();
  engine->EndTransaction();
  EXPECT_FALSE(engine->CanUndo(msg));

  // Edits of one record with the same code merge into one step.
  auto p = NewPolynomial("merge");
  for (double v : {1.0, 2.0}) {
    engine->StartTransaction(300, 4, true, kPolynomial, p->GetID());
    p->SetDoubleValue(2, v);
    p->Update();
    engine->EndTransaction();
  }
  EXPECT_EQ(engine->Undo(), 4);
  EXPECT_FALSE(engine->CanUndo(msg));
  EXPECT_EQ(Polynomial(p->GetID()).GetDoubleValue(2), 1.5);

  // A step that cannot be redone empties the redo stack.
  engine->StartTransaction(400, 0, false, 0, 0);
  NewPolynomial("no redo");
  engine->EndTransaction();
  engine->Undo();
  EXPECT_FALSE(engine->CanRedo(msg));

  // While a transaction is open nothing is undone, and ends must balance.
  insertInTransaction(8);
  engine->StartTransaction(500, 0, true, 0, 0);
  EXPECT_EQ(engine->Undo(), 0);
  engine->EndTransaction();
  EXPECT_THROW(engine->EndTransaction(), CTDbException);
}

TEST_F(MemDb, UndoDepthSetting) {
  CTMemDbEngine::SetMaxUndoDepth(21);
  EXPECT_EQ(CTMemDbEngine::GetMaxUndoDepth(), 5);
  CTMemDbEngine::SetMaxUndoDepth(-1);
  EXPECT_EQ(CTMemDbEngine::GetMaxUndoDepth(), 5);
  CTMemDbEngine::SetMaxUndoDepth(0);
  auto factory = Open();
  CTMemDbEngine* engine = Engine(*factory);
  engine->StartTransaction(1, 0, true, 0, 0);
  NewPolynomial("x");
  engine->EndTransaction();
  int msg = 0;
  EXPECT_FALSE(engine->CanUndo(msg));
}

TEST_F(MemDb, ReadOnlyEngineRefusesPurgeBeforeTouchingHistory) {
  auto factory = Open();
  CTMemDbEngine* engine = Engine(*factory);
  engine->StartTransaction(1, 0, true, 0, 0);
  NewPolynomial("x");
  engine->EndTransaction();
  engine->SetReadOnly(true);
  EXPECT_THROW(engine->PurgeTable(kPolynomial), CTDbException);
  engine->SetReadOnly(false);
  int msg = 0;
  EXPECT_TRUE(engine->CanUndo(msg));  // the history is still there
}

}  // namespace
