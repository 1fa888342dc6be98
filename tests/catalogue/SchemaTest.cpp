#include "catalogue/ClDevPSAllowed.h"
#include "catalogue/ClHRX.h"
#include "catalogue/ClIndoorUnit.h"
#include "catalogue/ClTrivanePSAllowed.h"
#include "catalogue/Factory.h"
#include "recdb/ClDdbVersionInfo.h"
#include "recdb/TableLink.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

QString DefaultText(const CTFieldInfo& f) {
  switch (f.GetType()) {
    case vtBoolean:
      return f.GetBooleanDftValue() ? "true" : "false";
    case vtInteger:
      return QString::number(f.GetIntegerDftValue());
    case vtDouble:
      return QString::number(f.GetDoubleDftValue());
    default:
      return f.GetUnicodeStringDftValue();
  }
}

TEST(CatalogueSchema, DeclaresTablesAtTheirClassIDs) {
  struct Case {
    int id;
    const char* model;
    int parent;  // -1: a root table
    bool abstract;
    bool nameRequired;
    int nameIx;  // -1: no name column
    int fieldCount;
  };
  const Case cases[] = {
      {101, "DdbVersionInfo", -1, false, false, -1, 7},
      {108, "IndFamily", 488, false, true, 7, 9},
      {109, "IndoorUnit", 169, false, true, 6, 59},
      {121, "Polynomial", -1, true, false, -1, 14},
      {122, "PowerSupply", -1, false, true, 5, 9},
      {144, "HRX", 162, false, true, 6, 37},
      {145, "HRXDocumentation", 166, false, false, -1, 7},
      {147, "HRXSpeed", 121, false, false, -1, 21},
      {148, "HRXSpType", -1, false, true, 1, 3},
      {162, "Device", 487, true, false, 6, 13},
      {165, "DevPSAllowed", -1, true, false, -1, 12},
      {169, "IndoorDevice", 162, true, true, 6, 30},
      {170, "TrivanePSAllowed", 165, false, false, -1, 12},
      {335, "IndTabularCap", 331, false, false, -1, 14},
      {356, "HRXCorrection", 121, false, false, -1, 14},
      {381, "HRXSettingScheme", -1, false, false, 1, 3},
      {388, "SeriesMapping", 488, false, false, -1, 17},
      {402, "MsgCombination", -1, false, false, -1, 6},
      {487, "ReleasableElement", -1, true, false, -1, 4},
      {488, "DeviceGrouping", 487, true, false, -1, 6},
      {506, "TrivaneDeviceOption", 163, false, false, 8, 22},
      {520, "HRXEcodesign", -1, false, false, -1, 17},
      {521, "HRXEcoCurve", 121, false, false, -1, 16},
      {522, "HRXSound", -1, false, false, -1, 12},
  };
  CTFactory factory;
  EXPECT_EQ(factory.GetName(), "ROZ");
  EXPECT_EQ(factory.GetVersion(), 100);
  EXPECT_EQ(factory.GetMinVersion(), 100);
  ASSERT_EQ(factory.DatabaseCount(), 1);
  EXPECT_EQ(factory.GetLogicalName(0), "Device_Database");
  EXPECT_EQ(factory.Tables().Count(), 523);
  int tables = 0;
  for (const CTTableInfo* t : factory.Tables()) tables += t ? 1 : 0;
  EXPECT_EQ(tables, 35);

  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    const CTTableInfo* t = factory.GetTableInfo(c.id);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->GetTableIndex(), c.id);
    EXPECT_EQ(t->TableName(), QStringLiteral("Tbl_") + c.model);
    EXPECT_EQ(t->GetParent() ? t->GetParent()->GetTableIndex() : -1, c.parent);
    EXPECT_EQ(t->IsAbstract(), c.abstract);
    EXPECT_EQ(t->NameRequired(), c.nameRequired);
    EXPECT_EQ(t->GetDbID(), c.abstract ? -1 : 0);
    EXPECT_EQ(t->NameIndex(), c.nameIx);
    EXPECT_EQ(t->FieldCount(), c.fieldCount);
  }
  EXPECT_EQ(factory.GetTableInfo(102), nullptr);
}

TEST(CatalogueSchema, DeclaresColumnsWithTypesAndDefaults) {
  struct Case {
    int table;
    int ix;
    const char* name;
    int type;
    const char* dft;
    bool multilingual;
  };
  const Case cases[] = {
      {144, 0, "HRX_ID", vtInteger, "0", false},
      {144, 1, "Fld_ReleaseStatus", vtInteger, "0", false},
      {144, 3, "Fld_ReleasableElement_OBJ_REF", vtInteger, "0", false},
      {144, 4, "Fld_GroupName", vtUnicodeString, "", true},
      {144, 6, "Fld_Name", vtUnicodeString, "", false},
      {144, 12, "Fld_DontValidate", vtBoolean, "false", false},
      {144, 15, "HRX_MaxAirflow", vtDouble, "0", false},
      {144, 16, "HRX_Series", vtUnicodeString, "", false},
      {144, 22, "HRX_EAMaxRH", vtDouble, "95", false},
      {144, 25, "HRX_OAMaxRH", vtDouble, "80", false},
      {144, 31, "HRX_VIMinTemp", vtDouble, "-10", false},
      {144, 32, "HRX_OAMinTemp", vtDouble, "-15", false},
      {144, 33, "HRX_VIMinTempUpsideDown", vtDouble, "5", false},
      {144, 35, "HRX_OAMaxTemp", vtDouble, "40", false},
      {144, 36, "HRX_CanBeUpsideDown", vtBoolean, "false", false},
      {109, 0, "IND_ID", vtInteger, "0", false},
      {109, 18, "Fld_DrainPipeSide", vtInteger, "1", false},
      {109, 25, "Fld_LiquidPipeSide", vtInteger, "1", false},
      {109, 32, "IND_MaxMixAirPercentage", vtDouble, "100", false},
      {109, 38, "IND_Color", vtUnicodeString, " ", false},
      {109, 39, "IND_HasController", vtBoolean, "true", false},
      {109, 43, "IND_NominalHeatIndTemp", vtDouble, "20", false},
      {109, 44, "IND_NominalCoolIndTemp", vtDouble, "27", false},
      {109, 58, "IND_CondensingLimit", vtDouble, "0", false},
      {109, 50, "IND_CanSelectOnSensible", vtBoolean, "true", false},
      {109, 56, "IND_HRX_CLS_REF", vtInteger, "0", false},
      {109, 57, "IND_HRX_OBJ_REF", vtInteger, "0", false},
      {147, 0, "VSP_ID", vtInteger, "0", false},
      {147, 1, "POL_A4", vtDouble, "0", false},
      {147, 7, "POL_A0", vtDouble, "0", false},
      {147, 8, "POL_Type", vtInteger, "0", false},
      {147, 13, "POL_ArgumentHigh", vtDouble, "0", false},
      {147, 14, "VSP_Current", vtUnicodeString, "", false},
      {147, 17, "VSP_HRXSpType_CLS_REF", vtInteger, "0", false},
      {147, 20, "VSP_HRX_OBJ_REF", vtInteger, "0", false},
      {356, 0, "Fld_ID", vtInteger, "0", false},
      {193, 14, "VPO_HRX_CLS_REF", vtInteger, "0", false},
      {390, 15, "Fld_TrivaneDeviceOption_OBJ_REF", vtInteger, "0", false},
      {505, 14, "Fld_DeviceOption_CLS_REF", vtInteger, "0", false},
      {148, 1, "VST_Name", vtUnicodeString, "", true},
      {148, 2, "VST_Weight", vtInteger, "0", false},
      {380, 9, "Fld_HRXSpType2_CLS_REF", vtInteger, "0", false},
      {380, 12, "Fld_HRXSettingScheme_OBJ_REF", vtInteger, "0", false},
      {381, 2, "Fld_Deleted", vtBoolean, "false", false},
      {335, 2, "Fld_Te", vtDouble, "6", false},
      {335, 11, "Fld_Col7", vtDouble, "0", false},
      {335, 12, "Fld_IndoorUnit_CLS_REF", vtInteger, "0", false},
      {506, 6, "Fld_Description", vtUnicodeString, "", true},
      {506, 9, "Fld_Type", vtInteger, "1", false},
      {506, 10, "Fld_MCA", vtUnicodeString, "", false},
      {506, 16, "Fld_PowerSupply_CLS_REF", vtInteger, "0", false},
      {506, 21, "Fld_HRXSettingScheme_OBJ_REF", vtInteger, "0", false},
      {164, 2, "Fld_NrRequired", vtInteger, "1", false},
      {164, 7, "Fld_OnePerUnit", vtBoolean, "true", false},
      {164, 10, "Fld_DeviceOption_CLS_REF", vtInteger, "0", false},
      {430, 2, "Fld_Value", vtUnicodeString, "", false},
      {122, 3, "PWS_Deleted", vtBoolean, "false", false},
      {122, 8, "PWS_FrequencyKind", vtInteger, "0", false},
      {170, 1, "Fld_Fuses", vtUnicodeString, "Factory Std", false},
      {170, 2, "Fld_MCA", vtDouble, "0", false},
      {170, 11, "Fld_PowerSupply_OBJ_REF", vtInteger, "0", false},
      {145, 0, "VDC_ID", vtInteger, "0", false},
      {145, 5, "Fld_Device_CLS_REF", vtInteger, "0", false},
      {108, 0, "IFA_ID", vtInteger, "0", false},
      {108, 5, "Fld_SubFamily", vtInteger, "0", false},
      {108, 7, "IFA_Name", vtUnicodeString, "", true},
      {388, 9, "Fld_CommercialName", vtUnicodeString, "", true},
      {388, 16, "Fld_RefrigFactorEMeaning", vtInteger, "0", false},
      {387, 5, "Fld_IsCorvelDownload", vtBoolean, "false", false},
      {401, 1, "Fld_Message", vtUnicodeString, "", true},
      {402, 4, "Fld_MessageTable_CLS_REF", vtInteger, "0", false},
  };
  CTFactory factory;
  for (const Case& c : cases) {
    SCOPED_TRACE(QStringLiteral("%1/%2").arg(c.table).arg(c.ix).toStdString());
    const CTTableInfo* t = factory.GetTableInfo(c.table);
    ASSERT_NE(t, nullptr);
    const CTFieldInfo* f = t->GetFieldInfo(c.ix);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->GetName(), QString(c.name));
    EXPECT_EQ(f->GetType(), c.type);
    EXPECT_EQ(DefaultText(*f), QString(c.dft));
    EXPECT_EQ(f->IsMultilingual(), c.multilingual);
  }
}

TEST(CatalogueSchema, ChildTablesShareTheirParentsColumns) {
  CTFactory factory;
  for (const CTTableInfo* t : factory.Tables()) {
    if (!t || !t->GetParent()) continue;
    const CTTableInfo* parent = t->GetParent();
    for (int ix = 1; ix < parent->FieldCount(); ++ix)
      EXPECT_EQ(t->GetFieldInfo(ix), parent->GetFieldInfo(ix)) << t->ModelClassName().toStdString() << " " << ix;
    for (int ix = 0; ix < t->FieldCount(); ++ix)
      EXPECT_NE(t->GetFieldInfo(ix), nullptr) << t->ModelClassName().toStdString() << " " << ix;
  }
}

TEST(CatalogueSchema, ResolvesLinksWithTheirFlags) {
  struct Case {
    int id;
    const char* name;
    int from;
    int to;
    const char* toField;
    bool ordered, cascading, refIntegrity, oneToOne;
  };
  const Case cases[] = {
      {90, "HRXSpeedTypes", 148, 147, "VSP_HRXSpType_CLS_REF", false, true, true, false},
      {239, "Device_Option", 162, 164, "Fld_Device_CLS_REF", false, true, true, false},
      {240, "Option_Device", 163, 164, "Fld_DeviceOption_CLS_REF", false, true, true, false},
      {242, "Device_Powersupply", 162, 165, "Fld_Device_CLS_REF", false, true, true, false},
      {243, "PowerSupply_Device", 122, 165, "Fld_PowerSupply_CLS_REF", false, false, false, false},
      {244, "Device_Documentation", 162, 166, "Fld_Device_CLS_REF", false, true, true, true},
      {288, "HRXSpeeds", 144, 147, "VSP_HRX_CLS_REF", false, true, true, false},
      {289, "HRXCapExEffCorrs", 144, 193, "VPO_HRX_CLS_REF", false, true, true, false},
      {327, "Indoor_Part", 144, 109, "IND_HRX_CLS_REF", false, false, true, true},
      {444, "IndoorCapacityData", 109, 335, "Fld_IndoorUnit_CLS_REF", false, true, true, false},
      {494, "Supply", 148, 380, "Fld_HRXSpType_CLS_REF", false, false, false, false},
      {497, "Exhaust", 148, 380, "Fld_HRXSpType2_CLS_REF", false, false, false, false},
      {499, "SetingDefs", 381, 380, "Fld_HRXSettingScheme_CLS_REF", false, true, true, false},
      {529, "Messages", 401, 402, "Fld_MessageTable_CLS_REF", false, false, true, false},
      {554, "option_PS", 122, 163, "Fld_PowerSupply_CLS_REF", false, false, false, false},
      {557, "", 163, 430, "Fld_DeviceOption_CLS_REF", false, true, true, false},
      {593, "", 487, 487, "Fld_ReleasableElement_CLS_REF", false, false, false, false},
      {608, "option_polynomials", 163, 505, "Fld_DeviceOption_CLS_REF", false, false, true, false},
      {609, "HRXFilterDefinition", 506, 390, "Fld_TrivaneDeviceOption_CLS_REF", false, false, true, true},
      {610, "HRXSettingUsage", 381, 506, "Fld_HRXSettingScheme_CLS_REF", false, false, false, false},
  };
  CTFactory factory;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    const CTTableInfo* from = factory.GetTableInfo(c.from);
    ASSERT_NE(from, nullptr);
    const CTTableLink* link =
        from->GetReferences().Search([&](const CTTableLink* l) { return l->GetAssociationID() == c.id; });
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->GetAssociationName(), QString(c.name));
    EXPECT_EQ(link->GetFromTable(), from);
    ASSERT_NE(link->GetToTable(), nullptr);
    EXPECT_EQ(link->GetToTable()->GetTableIndex(), c.to);
    ASSERT_NE(link->GetToField(), nullptr);
    EXPECT_EQ(link->GetToField()->GetName(), QString(c.toField));
    EXPECT_EQ(link->GetToField()->GetRefTo(), link);
    EXPECT_EQ(link->v_isOrdered, c.ordered);
    EXPECT_EQ(link->v_cascDel, c.cascading);
    EXPECT_EQ(link->v_refIntegr, c.refIntegrity);
    EXPECT_EQ(link->v_oneToOne, c.oneToOne);
  }
  const CTTableLink* self = factory.GetTableInfo(487)->GetReferences().Search(
      [](const CTTableLink* l) { return l->GetAssociationID() == 593; });
  ASSERT_NE(self, nullptr);
  EXPECT_EQ(self->GetFromRole(), "followUpElement");
  EXPECT_EQ(self->GetToRole(), "replacedElement");

  // A ventilation unit is the master of its own links and of those of its ancestors.
  QList<int> hrxLinks;
  for (const CTTableLink* l : factory.GetTableInfo(144)->GetReferences()) hrxLinks << l->GetAssociationID();
  for (int id : {239, 242, 244, 288, 289, 327, 593}) EXPECT_TRUE(hrxLinks.contains(id)) << id;
  EXPECT_FALSE(hrxLinks.contains(240));
}

TEST(CatalogueSchema, CreatesTheRecordClassOfConcreteTablesOnly) {
  CTFactory factory;
  const int concrete[] = {101, 108, 109, 122, 144, 145, 147, 148, 164, 170, 193, 335,
                          356, 380, 381, 387, 388, 390, 401, 402, 430, 505, 506};
  for (int id : concrete) {
    std::unique_ptr<CTDbObject> obj(factory.CreateObject(id, 0));
    ASSERT_NE(obj, nullptr) << id;
    EXPECT_EQ(obj->TableIndex(), id);
    // Every registered class answers its own type, never the plain record.
    EXPECT_NE(typeid(*obj), typeid(CTDbObject)) << id;
  }
  EXPECT_NE(dynamic_cast<Cls_HRX*>(std::unique_ptr<CTDbObject>(factory.CreateObject(144, 0)).get()), nullptr);
  EXPECT_NE(dynamic_cast<Cls_DdbVersionInfo*>(std::unique_ptr<CTDbObject>(factory.CreateObject(101, 0)).get()),
            nullptr);
  EXPECT_NE(dynamic_cast<Cls_DevPSAllowed*>(std::unique_ptr<CTDbObject>(factory.CreateObject(170, 0)).get()), nullptr);
  for (int id : {162, 121, 487, 102, 0, 507, -1}) EXPECT_EQ(factory.CreateObject(id, 0), nullptr) << id;
}

TEST(CatalogueSchema, NewRecordsReadTheColumnDefaults) {
  CTFactory factory;
  const Cls_HRX hrx(0, &factory);
  EXPECT_EQ(hrx.GetEAMaxRH(), 95);
  EXPECT_EQ(hrx.GetOAMaxRH(), 80);
  EXPECT_EQ(hrx.GetOAMinTemp(), -15);
  EXPECT_EQ(hrx.GetRAMaxTemp(), 40);
  EXPECT_EQ(hrx.GetMaxAirflow(), 0);
  EXPECT_FALSE(hrx.GetDeleted());
  const Cls_TrivanePSAllowed ps(0, &factory);
  EXPECT_EQ(ps.GetFuses(), "Factory Std");
  const Cls_IndoorUnit unit(0, &factory);
  EXPECT_EQ(unit.GetColor(), " ");
  EXPECT_TRUE(unit.GetHasController());
  EXPECT_EQ(unit.GetDrainPipeSide(), 1);
  EXPECT_EQ(unit.GetMaxMixWaterPercentage(), 100);
}

}  // namespace
