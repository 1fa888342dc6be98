#include "catalogue/CatalogueTest.h"

#include "catalogue/ClHRX.h"
#include "catalogue/ClHRXSpeed.h"
#include "catalogue/ClMsgCombination.h"
#include "tools/CatalogueBuild.h"
#include "tools/CatalogueSource.h"

#include <QFile>
#include <QTemporaryDir>

namespace {

class CatalogueSource : public CatalogueTest {
 protected:
  bool Build(const QString& text) {
    v_source.AddText(text, QStringLiteral("t.cat"));
    if (!v_source.Problems().isEmpty()) return false;
    return v_source.Build(v_factory);
  }
  int Count(int cls) { return CTDbObject::CountAllRecords(cls, false, &v_factory); }
  std::unique_ptr<Cls_HRX> Unit(int id) {
    auto unit = std::make_unique<Cls_HRX>(id, &v_factory);
    unit->Read();
    return unit;
  }

  CTCatalogueSource v_source;
};

TEST_F(CatalogueSource, BothLayoutsGiveTheSameRecords) {
  ASSERT_TRUE(Build(R"(
# a unit written as a row, another as a column
table HRX
  HRX_ID  Fld_Name                HRX_MaxAirflow  HRX_EAMaxRH  HRX_CanBeUpsideDown
  1       "NV 250 \"S\" \\ left"  300             -            yes
end
)")) << v_source.Problems().join('\n').toStdString();
  CTCatalogueSource byField;
  byField.AddText(R"(
table hrx by-field   # table names ignore case
  HRX_ID               2
  Fld_Name             "NV 250 \"S\" \\ left"
  HRX_MaxAirflow       3e2
  HRX_EAMaxRH          -
  HRX_CanBeUpsideDown  true
end
)", QStringLiteral("b.cat"));
  ASSERT_TRUE(byField.Build(v_factory)) << byField.Problems().join('\n').toStdString();

  for (const int id : {1, 2}) {
    const auto unit = Unit(id);
    EXPECT_EQ(unit->GetName(), R"(NV 250 "S" \ left)");
    EXPECT_EQ(unit->GetMaxAirflow(), 300);
    EXPECT_EQ(unit->GetEAMaxRH(), 95);  // "-" keeps the column default
    EXPECT_TRUE(unit->GetCanBeUpsideDown());
  }
}

TEST_F(CatalogueSource, ReferencesResolveWhateverTheBlockOrder) {
  ASSERT_TRUE(Build(R"(
table HRXSpeed
  VSP_ID  VSP_HRX  VSP_HRXSpType  POL_Select1
  7       HRX:3    HRXSpType:1    2
end
table HRXSpType
  VST_ID  VST_Name
  1       High
end
table HRX
  HRX_ID  Fld_Name
  3       NV-400
end
table MsgCombination   # a reference pair without a declared link
  Fld_ID  Fld_Device  Fld_SeqNr
  1       HRX:3       1
end
)")) << v_source.Problems().join('\n').toStdString();
  Cls_HRXSpeed speed(7, &v_factory);
  speed.Read();
  ASSERT_NE(speed.GetHRX(), nullptr);
  EXPECT_EQ(speed.GetHRX()->GetName(), "NV-400");
  EXPECT_EQ(Unit(3)->GetAllHRXSpeed().Count(), 1);
  EXPECT_EQ(Unit(3)->GetAllMsgCombination().Count(), 1);
}

struct FaultCase {
  const char* name;
  const char* text;
  const char* expected;  // part of the problem reported
};

class CatalogueSourceFaults : public CatalogueSource, public testing::WithParamInterface<FaultCase> {};

TEST_P(CatalogueSourceFaults, AreReportedWithTheirPlaceAndNothingIsInserted) {
  const FaultCase& c = GetParam();
  EXPECT_FALSE(Build(QString::fromUtf8(c.text)));
  const QString problems = v_source.Problems().join('\n');
  EXPECT_TRUE(problems.contains(QString::fromUtf8(c.expected))) << problems.toStdString();
  EXPECT_EQ(Count(Cls_HRX::kClassID), 0);
}


INSTANTIATE_TEST_SUITE_P(
    Text, CatalogueSourceFaults,
    testing::Values(
        FaultCase{"UnknownTable", "table Heater\n Fld_ID\n 1\nend\n", "t.cat:1: no table Heater"},
        FaultCase{"AbstractTable", "table Device\n Fld_ID\n 1\nend\n", "no table Device"},
        FaultCase{"UnknownColumn", "table HRX\n HRX_ID HRX_Colour\n 1 red\nend\n", "has no column HRX_Colour"},
        FaultCase{"IdNotFirst", "table HRX\n Fld_Name HRX_ID\n a 1\nend\n", "must be its id column HRX_ID"},
        FaultCase{"BadNumber", "table HRX\n HRX_ID HRX_MaxAirflow\n 1 300m3\nend\n", "t.cat:3: HRX_MaxAirflow of HRX 1: \"300m3\" is not a number"},
        FaultCase{"BadBoolean", "table HRX\n HRX_ID HRX_CanBeUpsideDown\n 1 maybe\nend\n", "is not yes or no"},
        FaultCase{"QuotedNumber", "table HRX\n HRX_ID HRX_Type\n 1 \"2\"\nend\n", "is not an integer"},
        FaultCase{"BadId", "table HRX\n HRX_ID\n 0\nend\n", "must be a positive integer"},
        FaultCase{"DuplicateId", "table HRX\n HRX_ID\n 1\n 1\nend\n", "t.cat:4: HRX 1 is defined twice (first at t.cat:3)"},
        FaultCase{"ValueCount", "table HRX\n HRX_ID Fld_Name\n 1\nend\n", "1 values for 2 columns"},
        FaultCase{"ByFieldValueCount", "table HRX by-field\n HRX_ID 1 2\n Fld_Name a\nend\n", "1 values for 2 records"},
        FaultCase{"UnclosedQuote", "table HRX\n HRX_ID Fld_Name\n 1 \"NV\nend\n", "t.cat:3: a quoted text is not closed"},
        FaultCase{"NoEnd", "table HRX\n HRX_ID\n 1\n", "table HRX has no \"end\""},
        FaultCase{"OutsideABlock", "HRX_ID 1\n", "expected \"table NAME\""},
        FaultCase{"SecondBlock", "table HRX\n HRX_ID\n 1\nend\ntable HRX\n HRX_ID\n 2\nend\n", "second block of table HRX"},
        FaultCase{"DanglingReference", "table HRXDocumentation\n VDC_ID Fld_Device\n 1 HRX:9\nend\n",
                  "t.cat:3: Fld_Device refers to HRX:9, which is not defined"},
        FaultCase{"DanglingReferenceWithoutLink", "table MsgCombination\n Fld_ID Fld_Device\n 1 HRX:4\nend\n",
                  "Fld_Device refers to HRX:4, which is not defined"},
        FaultCase{"ReferenceSyntax", "table HRXDocumentation\n VDC_ID Fld_Device\n 1 9\nend\n", "is not a reference TABLE:ID"},
        FaultCase{"ReferenceToAnotherTable",
                  "table HRXSpType\n VST_ID\n 1\nend\ntable HRXDocumentation\n VDC_ID Fld_Device\n 1 HRXSpType:1\nend\n",
                  "Fld_Device must refer to a Device record, not HRXSpType:1"},
        FaultCase{"SecondReferrerOnOneToOne",
                  "table HRX\n HRX_ID\n 1\nend\ntable HRXDocumentation\n VDC_ID Fld_Device\n 1 HRX:1\n 2 HRX:1\nend\n",
                  "t.cat:8: HRX:1 is already taken by the record at t.cat:7 (one-to-one link)"}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(CatalogueBuild, WritesACompressedDatabaseThatLoadsEveryRow) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString source = dir.filePath(QStringLiteral("units.cat"));
  {
    QFile f(source);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(R"(
table HRXSpType
  VST_ID VST_Name VST_Weight
  1      Low      10
  2      High     30
end
table HRX
  HRX_ID Fld_Name HRX_MinAirflow HRX_MaxAirflow
  1      NV-250   100            300
end
table HRXSpeed
  VSP_ID VSP_HRX VSP_HRXSpType POL_A0 POL_A1 POL_ArgumentLow POL_ArgumentHigh VSP_EspLimit
  1      HRX:1   HRXSpType:2   250    -0.5   80              320              200
  2      HRX:1   HRXSpType:1   110    -0.3   80              320              100
end
table HRXEcodesign
  ECO_ID ECO_HRX ECO_Typology
  1      HRX:1   1
end
)");
  }
  const QString out = dir.filePath(QStringLiteral("Device_Database"));
  QStringList problems;
  ASSERT_TRUE(CTCatalogueBuild::Build({source}, out, problems)) << problems.join('\n').toStdString();

  QFile written(out);
  ASSERT_TRUE(written.open(QIODevice::ReadOnly));
  EXPECT_EQ(written.read(3), "K7R");
  written.close();

  CTMemDbEngine::RegisterEngine();
  const bool previousCompression = CTMemDbEngine::UseCompression(true);
  CTMemDbEngine::SetCompressionSignature(CTFactory::kCompressionSignature);
  CTFactory factory;
  factory.SetRequiredEngineType(0, CTMemDbEngine::ClassName());
  factory.SetDatabaseName(0, out);
  ASSERT_TRUE(factory.Connect());
  EXPECT_EQ(CTDbObject::CountAllRecords(Cls_HRXSpeed::kClassID, false, &factory), 2);
  Cls_HRX unit(1, &factory);
  unit.Read();
  EXPECT_EQ(unit.GetName(), "NV-250");
  EXPECT_EQ(unit.GetAllHRXSpeed().Count(), 2);
  factory.Disconnect();
  CTMemDbEngine::UseCompression(previousCompression);
  CTMemDbEngine::SetCompressionSignature(QString());
  CTBaseFactory::UnregisterEngine(CTMemDbEngine::ClassName());
}

TEST(CatalogueBuild, WritesNothingWhenTheLintFindsAFault) {
  QTemporaryDir dir;
  const QString source = dir.filePath(QStringLiteral("units.cat"));
  QFile f(source);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("table HRX\n HRX_ID Fld_Name\n 1 NV-250\nend\n");  // a unit without speeds
  f.close();
  const QString out = dir.filePath(QStringLiteral("Device_Database"));
  QStringList problems;
  EXPECT_FALSE(CTCatalogueBuild::Build({source}, out, problems));
  EXPECT_TRUE(problems.join('\n').contains("units.cat:3: HRX 1 (NV-250): the unit has no speeds")) << problems.join('\n').toStdString();
  EXPECT_FALSE(QFile::exists(out));
}

}  // namespace
