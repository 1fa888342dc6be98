#include "RecordingPresenter.h"
#include "TestSchema.h"

#include "i18n/BaseMsgMan.h"
#include "i18n/UnicodeGlossary.h"
#include "recdb/DbMessages.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace testschema;

namespace {


class RecordModel : public testing::Test {
 protected:
  void SetUp() override {
    TBaseMsg::SetPresenter(&v_messages);
    ASSERT_TRUE(v_factory.Connect());
    CTDbObject::SetDefaultFactory(&v_factory);
  }
  void TearDown() override {
    CTDbObject::SetDefaultFactory(nullptr);
    TBaseMsg::SetPresenter(nullptr);
  }
  std::unique_ptr<Polynomial> NewPolynomial(const QString& name) {
    auto p = std::make_unique<Polynomial>();
    p->SetName(name);
    p->Insert();
    return p;
  }
  std::unique_ptr<CTDbObject> NewPoint(const CTDbObject* curve) {
    auto p = std::make_unique<CTDbObject>(kPoint);
    p->SetRelationByIx(kPointCurveRef, curve);
    p->Insert();
    return p;
  }

  RecordingPresenter v_messages;
  EngineRegistration v_registration;
  Factory v_factory;
};

TEST_F(RecordModel, LifecycleOfARecord) {
  auto p = std::make_unique<Polynomial>();
  EXPECT_EQ(p->GetStatus(), CTDbObject::kStatusNew);
  EXPECT_EQ(p->GetDoubleValue(2), 1.5);  // column default
  EXPECT_THROW(p->Update(), CTDbException);
  p->SetName("Supply fan");
  p->Insert();
  EXPECT_EQ(p->GetStatus(), CTDbObject::kStatusStored);
  EXPECT_EQ(p->GetID(), 1);
  try {
    p->Insert();
    FAIL();
  } catch (const CTDbException& e) {
    EXPECT_EQ(e.Code(), excRecAlreadyInDB);
    EXPECT_EQ(e.Message(), "CTDbException: The record is already inserted into the database");
  }
  p->SetDoubleValue(2, 4.25);
  p->Update();
  EXPECT_EQ(Polynomial(1).GetDoubleValue(2), 4.25);
  p->Remove();
  EXPECT_EQ(p->GetStatus(), CTDbObject::kStatusRemoved);
  p->Remove();  // a second removal is accepted silently
  EXPECT_THROW(p->Update(), CTDbException);
}

TEST_F(RecordModel, MissingIdsAndFailedInsertsAreVisible) {
  Polynomial ghost(42);  // no such record: zero values, marked stored, no exception
  EXPECT_EQ(ghost.GetStatus(), CTDbObject::kStatusStored);
  EXPECT_EQ(ghost.GetName(), "");
  EXPECT_EQ(v_factory.SafeCreateObject(kPolynomial, 42), nullptr);

  auto first = NewPolynomial("a");
  Polynomial clash;
  clash.SetID(first->GetID());
  clash.Insert();  // the engine refuses the used id; the record says so by staying new
  EXPECT_EQ(clash.GetStatus(), CTDbObject::kStatusNew);
}

TEST_F(RecordModel, InsertWithIdNeedsTheCapability) {
  Polynomial p;
  try {
    p.InsertWithID(10);
    FAIL();
  } catch (const CTDbException& e) {
    EXPECT_EQ(e.Code(), excNotCapable);
    EXPECT_EQ(e.Message(), "CTDbException: Database does not have the capability 'Insert with ID'");
  }
  v_factory.Engine()->SetCapability(dbcInsertWithID);
  p.InsertWithID(10);
  EXPECT_EQ(p.GetID(), 10);
  EXPECT_TRUE(v_factory.Engine()->ObjectExists(kPolynomial, 10));
}

TEST_F(RecordModel, InventUniqueNameAddsUnderscoresUntilFree) {
  auto taken = NewPolynomial("POL7");
  auto taken2 = NewPolynomial("POL_7");
  Polynomial p;
  p.SetID(7);
  EXPECT_EQ(p.InventUniqueName(), "POL__7");
  taken2->Remove();
  EXPECT_EQ(p.InventUniqueName(), "POL_7");
  CTDbObject point(kPoint);  // no name column
  EXPECT_EQ(point.InventUniqueName(), "");
}

TEST_F(RecordModel, UniqueRecordAndAbstractTables) {
  Polynomial::destroyed = 0;
  try {
    CTDbObject::GetUniqueRecord(kPolynomial, true);
    FAIL();
  } catch (const CTDbException& e) {
    EXPECT_EQ(e.Code(), excRecNotFound);
  }
  auto a = NewPolynomial("a");
  EXPECT_EQ(CTDbObject::GetUniqueRecord(kPolynomial, true)->GetID(), a->GetID());
  auto b = NewPolynomial("b");
  const int destroyedBefore = Polynomial::destroyed;
  EXPECT_THROW(CTDbObject::GetUniqueRecord(kPolynomial, true), CTDbException);
  EXPECT_EQ(Polynomial::destroyed - destroyedBefore, 2);  // both instances were freed
  EXPECT_EQ(CTDbObject::GetUniqueRecord(kPolynomial, false), nullptr);

  CTDbObject circle(kCircle);
  circle.SetUnicodeStringValue(1, "c");  // inherited Name at the parent's index
  circle.Insert();
  EXPECT_TRUE(CTDbObject::GetAllRecords(kShape, false).IsEmpty());
  EXPECT_EQ(CTDbObject::GetAllRecords(kShape, true).Count(), 1);
  EXPECT_EQ(CTDbObject::CountAllRecords(kShape, true), 1);
  EXPECT_THROW(CTDbObject abstractShape(kShape), CTDbException);  // an abstract table has no records of its own
  EXPECT_EQ(v_factory.SafeCreateObject(kShape, circle.GetID()), nullptr);
}

TEST_F(RecordModel, OrderedLinksNumberTheirReferrers) {
  auto curve = NewPolynomial("curve");
  auto first = NewPoint(curve.get());
  EXPECT_EQ(first->GetIntegerValue(3), 0);
  auto second = NewPoint(curve.get());
  second->SetIntegerValue(3, 4);
  second->Update();
  auto third = NewPoint(curve.get());
  EXPECT_EQ(third->GetIntegerValue(3), 5);

  ObjectList<CTDbObject> points = curve->GetRelatedByIx(kPoint, kPointCurveRef);
  ASSERT_EQ(points.Count(), 3);
  EXPECT_EQ(points[0]->GetID(), first->GetID());  // sorted by the order number
  EXPECT_EQ(points[2]->GetID(), third->GetID());
  EXPECT_TRUE(curve->HasRelations());
  EXPECT_FALSE(curve->HasRelations({kPoint}));
  EXPECT_EQ(third->GetRelationByIx(kPointCurveRef)->GetID(), curve->GetID());

  ObjectList<CTDbObject> filtered = curve->GetRelatedByIx(
      kPoint, kPointCurveRef, {}, [](const CTValueList& v) { return v.GetIntegerValue(3) > 0; });
  EXPECT_EQ(filtered.Count(), 2);
  CTDbObject unsaved(kPoint);
  EXPECT_THROW(unsaved.SetRelationByIx(kPointCurveRef, &unsaved), CTDbException);  // the target must be stored
}

TEST_F(RecordModel, CacheAnswersTheSameInstance) {
  auto p = NewPolynomial("cached");
  CTDbObject* once = v_factory.GetCachedObject(kPolynomial, p->GetID());
  ASSERT_NE(once, nullptr);
  EXPECT_EQ(v_factory.GetCachedObject(kPolynomial, p->GetID()), once);
  EXPECT_EQ(dynamic_cast<Polynomial*>(once)->GetName(), "cached");
  EXPECT_EQ(v_factory.GetCachedObject(kPolynomial, 0), nullptr);
  EXPECT_EQ(v_factory.GetCachedObject(kPolynomial, 999), nullptr);
  EXPECT_EQ(v_factory.GetCachedObject(77, 1), nullptr);
  EXPECT_EQ(v_factory.GetCachedObjects(kPolynomial)->Count(), 1);
  v_factory.Disconnect();  // clears the caches
  EXPECT_EQ(v_factory.GetCachedObjects(kPolynomial)->Count(), 0);
}

TEST_F(RecordModel, SortByFieldsKeepsNaNInsideTheList) {
  ObjectList<CTDbObject> list(true);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (double v : {3.0, nan, 1.0, nan, 2.0, nan}) {
    auto* p = new Polynomial();
    p->SetDoubleValue(2, v);
    list.Add(p);
  }
  CTDbObject::SortByFields(list, {"value"});
  ASSERT_EQ(list.Count(), 6);
  // Not-a-number first, then ascending.
  EXPECT_TRUE(std::isnan(list[2]->GetDoubleValue(2)));
  EXPECT_EQ(list[3]->GetDoubleValue(2), 1.0);
  EXPECT_EQ(list[5]->GetDoubleValue(2), 3.0);
}

TEST_F(RecordModel, TranslatedTextsAndGuids) {
  CTUnicodeGlossary glossary;
  glossary.AddTerm("Supply fan", "Zuluftventilator");
  v_factory.Engine()->SetGlossary(&glossary);
  auto p = NewPolynomial("Supply fan");
  EXPECT_EQ(p->GetTranslatedStringValue(1), "Zuluftventilator");
  EXPECT_EQ(p->GetUntranslatedStringValue(1), "Supply fan");
  v_factory.Engine()->SetGlossary(nullptr);

  TGUID lastBytesOnly(0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8);
  EXPECT_TRUE(CTDbObject::IsClearTGUID(lastBytesOnly));
  EXPECT_FALSE(CTDbObject::CompareTGUID(lastBytesOnly, lastBytesOnly));
  const TGUID g = QUuid::createUuid();
  EXPECT_TRUE(CTDbObject::CompareTGUID(g, g));
}

TEST_F(RecordModel, ValidationMessages) {
  EXPECT_EQ(CTDbObject::CaptionForValue(nullptr, "Speed"), "Speed");
  QObject form;
  QObject label(&form);
  label.setObjectName("Lbl_Speed");
  label.setProperty("text", "Fan speed");
  EXPECT_EQ(CTDbObject::CaptionForValue(&form, "Speed"), "Fan speed");
  EXPECT_EQ(CTDbObject::CaptionForValue(&form, "Other"), "Other");

  CTDbObject::ErrorLB(nullptr, "Speed", 0.0, false);
  CTDbObject::ErrorUB(nullptr, "Speed", "10", true);
  CTDbObject circle(kCircle);  // name required and empty
  EXPECT_FALSE(circle.ChkName(nullptr));
  EXPECT_EQ(v_messages.shown, (QStringList{"Range check error: 'Speed <= 0'.", "Range check error: 'Speed > 10'.",
                                           "Value required for 'Name'."}));
}

TEST_F(RecordModel, QueriesByExampleNeedAnEngineThatCan) {
  NewPolynomial("x");
  Polynomial example;
  EXPECT_TRUE(example.SelectByExample().IsEmpty());  // the engine refuses; the visit ends quietly
  EXPECT_TRUE(example.SelectLikeExample(5).IsEmpty());
}

TEST(Factory, SignatureAcceptsItsVersionRangeOnly) {
  Factory factory;
  EXPECT_EQ(factory.GetSignature(), "ROZ100");
  EXPECT_TRUE(factory.CheckSignature("ROZ100"));
  for (const char* bad : {"ROZ099", "ROZ101", "ROZ1000", "roz100", "EDIabc", "ROZ", ""})
    EXPECT_FALSE(factory.CheckSignature(bad)) << bad;
}

TEST(Factory, ConnectFailuresAndStates) {
  RecordingPresenter messages;
  TBaseMsg::SetPresenter(&messages);
  {
    Factory factory;
    // No engine class registered at all: the engine search raises, the connect fails.
    EXPECT_THROW(factory.CreateTestEngine(0, false), CTDbException);
    EXPECT_FALSE(factory.Connect());
  }
  {
    EngineRegistration registration;
    Factory factory;
    factory.SetRequiredEngineType(0, "SqlEngine");
    EXPECT_FALSE(factory.Connect());
    EXPECT_EQ(messages.shown.value(0), "'TestDb' is not an ODBC database.");
    factory.SetRequiredEngineType(0, "");
    ASSERT_TRUE(factory.Connect());
    try {
      factory.Connect();
      FAIL();
    } catch (const LTBseFactExc& e) {
      EXPECT_EQ(e.Message(), "Database already connected");
    }
    EXPECT_TRUE(factory.IsConnected());  // the first connection is untouched
    EXPECT_FALSE(factory.HasCapability(0, 16));
    EXPECT_THROW(factory.SetReadOnly(3, true), std::out_of_range);
  }
  {
    EngineRegistration refusing([](MapEngine& e) { e.connectAnswer = false; });
    Factory factory;
    EXPECT_FALSE(factory.Connect());
    EXPECT_FALSE(factory.IsConnected());
    EXPECT_EQ(factory.GetTableInfo(kPolynomial)->GetDbEngine(), nullptr);
  }
  TBaseMsg::SetPresenter(nullptr);
}

TEST(Factory, SchemaResolution) {
  Factory factory;
  const CTTableInfo* circle = factory.GetTableInfo(kCircle);
  EXPECT_EQ(circle->GetParent(), factory.GetTableInfo(kShape));
  EXPECT_EQ(circle->GetFieldInfo(1), factory.GetTableInfo(kShape)->GetFieldInfo(1));  // inherited at the same index
  EXPECT_EQ(circle->IndexOfField("radius"), 2);
  EXPECT_EQ(circle->IndexOfField("Name", 2), -1);
  EXPECT_TRUE(circle->IsOfClass(kShape));
  EXPECT_EQ(factory.GetTableNamed("tbl_point"), factory.GetTableInfo(kPoint));
  const CTFieldInfo* ref = factory.GetTableInfo(kPoint)->GetFieldInfo(kPointCurveRef);
  ASSERT_NE(ref->GetRefTo(), nullptr);
  EXPECT_EQ(ref->GetRefTo()->GetToTable(), factory.GetTableInfo(kPoint));
  EXPECT_EQ(factory.GetTableInfo(99), nullptr);
}

class FactoryFiles : public RecordModel {
 protected:
  QTemporaryDir v_dir;
};

TEST_F(FactoryFiles, FailedSaveLeavesTheOldFileWhole) {
  const QString path = v_dir.filePath("catalogue.roz");
  v_factory.SetDatabaseName(0, path);
  for (int i = 0; i < 50; ++i) NewPolynomial(QString("curve %1").arg(i));
  ASSERT_TRUE(v_factory.SaveFile(0, false));
  QFile saved(path);
  ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
  const QByteArray before = saved.readAll();
  saved.close();
  EXPECT_TRUE(before.startsWith("2 1 10 7 curve 0 4 1.5 \r\n"));

  NewPolynomial("one more");
  v_factory.Engine()->failWriteAfterBytes = 100;
  EXPECT_FALSE(v_factory.SaveFile(0, false));
  ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
  EXPECT_EQ(saved.readAll(), before);
  EXPECT_EQ(QDir(v_dir.path()).entryList(QDir::Files).size(), 1);  // no leftovers beside it
}

TEST_F(FactoryFiles, XmlExportEscapesText) {
  auto p = NewPolynomial("a<b c");
  ASSERT_TRUE(v_factory.Engine()->SaveToXMLFile(v_dir.path(), v_factory.GetTableInfo(kPolynomial), true));
  QFile file(v_dir.filePath("Tbl_Polynomial.xml"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(),
            "<root>\r\n\t<row>\r\n\t\t<ID type=\"xs:int\">1</ID>\r\n"
            "\t\t<Name type=\"xs:string\">a&#60;b&#32;c</Name>\r\n"
            "\t\t<Value type=\"xs:double\">1.5</Value>\r\n\t</row>\r\n</root>\r\n");
  EXPECT_EQ(CTDbEngine::XMLTableFileName("Tbl_X", false), "Tbl_X.partial");
  EXPECT_EQ(CTDbObject::XMLSafeString("\"it's\" & ok?"), "\"it's\"&#32;&#38;&#32;ok?");
}

TEST_F(FactoryFiles, MultilingualTextsBecomeGlossaryTerms) {
  NewPolynomial("Exhaust fan   ");
  NewPolynomial("");
  CTUnicodeGlossary glossary;
  v_factory.Engine()->AddMultilingualFields(&glossary);
  EXPECT_EQ(glossary.Terms(), QStringList{"Exhaust fan"});
}

}  // namespace
