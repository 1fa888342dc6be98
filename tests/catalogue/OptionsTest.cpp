#include "CatalogueTest.h"

#include "catalogue/OptionTypes.h"
#include "catalogue/ClHRX.h"
#include "catalogue/ClPowerSupply.h"
#include "catalogue/ClStaticURL.h"
#include "catalogue/ClTrivaneDeviceOption.h"
#include "catalogue/ClTrivanePSAllowed.h"
#include "catalogue/ClDevOptCombination.h"
#include "catalogue/ClDeviceOptionPolynomial.h"
#include "catalogue/ClHRXDocumentation.h"
#include "catalogue/ClMessageTable.h"
#include "catalogue/ClMsgCombination.h"
#include "catalogue/ClOptionGenericValue.h"

namespace {

class Options : public CatalogueTest {
 protected:
  std::unique_ptr<Cls_PowerSupply> Supply(const QString& name, const QString& phases, const QString& volts, int kind,
                                          bool isDefault) {
    auto ps = std::make_unique<Cls_PowerSupply>();
    ps->SetName(name);
    ps->SetPhases(phases);
    ps->SetVoltage(volts);
    ps->SetFrequencyKind(kind);
    ps->SetDefault(isDefault);
    ps->Insert();
    return ps;
  }
  void Link(const QString& series, int cls, bool download, const QString& title) {
    Cls_StaticURL link;
    link.SetLookupSeries(series);
    link.SetDeviceClass(cls);
    link.SetIsCorvelDownload(download);
    link.SetTitle(title);
    link.Insert();
  }
};

TEST_F(Options, PowerSupplyTexts) {
  EXPECT_EQ(Cls_PowerSupply::FrequencyString(1), "50Hz");
  EXPECT_EQ(Cls_PowerSupply::FrequencyString(2), "60Hz");
  EXPECT_EQ(Cls_PowerSupply::FrequencyString(3), "50/60Hz");
  EXPECT_EQ(Cls_PowerSupply::FrequencyString(4), "");
  EXPECT_EQ(Supply("V3", "3N~", "400 V", 1, false)->GetDescriptiveName(), "3N~×400 V, 50Hz (V3)");
}

TEST_F(Options, OptionNames) {
  Cls_TrivaneDeviceOption option;
  option.SetName("F7");
  option.SetDescription("Supply filter F7");
  EXPECT_EQ(option.GetQualifiedName(), "F7 (Supply filter F7)");
}

TEST(OptionTypes, NamesFromTheTableAndUnknownOnes) {
  struct Case {
    int type;
    const char* name;
    bool valid;
  };
  for (const Case& c : {Case{0, "Other", true}, Case{4, "Electric heater", true}, Case{27, "High efficiency filter", true},
                        Case{28, "Plenum", true}, Case{29, "Remote controller - wifi", true}, Case{103, "UK tank kit", true},
                        Case{30, "Unknown option type (30)", false}, Case{57, "Unknown option type (57)", false},
                        Case{-1, "Unknown option type (-1)", false}}) {
    bool valid = !c.valid;
    EXPECT_EQ(TFrm_TrivaneOptionTypes::OptionTypeString(c.type, valid), QString::fromUtf8(c.name));
    EXPECT_EQ(valid, c.valid) << c.type;
  }
  EXPECT_EQ(Cls_DeviceOption::TypeString(28), "Plenum");
}

// The filter classes by name, as the window lists them and the command line
// and the messages write them; nothing beyond the four classes.
TEST(FilterClasses, NamesAndNumbersBothWays) {
  EXPECT_EQ(Cls_HRX::FilterClassName(0), "");
  EXPECT_EQ(Cls_HRX::FilterClassName(1), "F6");
  EXPECT_EQ(Cls_HRX::FilterClassName(3), "F8");
  EXPECT_EQ(Cls_HRX::FilterClassName(4), "");
  EXPECT_EQ(Cls_HRX::FilterClassName(-1), "");
  const std::pair<const char*, int> names[] = {{"none", 0}, {"NONE", 0}, {"F6", 1}, {"f7", 2}, {"F8", 3},
                                               {"F9", -1}, {"", -1}, {"F 7", -1}};
  for (const auto& [name, filterClass] : names) EXPECT_EQ(Cls_HRX::FilterClassOf(QString::fromLatin1(name)), filterClass) << name;
}

TEST_F(Options, StandardPowerSupplyOfADevice) {
  Supply("V1", "1~", "230 V", 1, false);
  auto standard = Supply("V3", "3N~", "400 V", 3, true);
  Cls_HRX unit;
  unit.SetName("NV-500");
  unit.Insert();
  std::unique_ptr<Cls_PowerSupply> ps;
  std::unique_ptr<Cls_DevPSAllowed> data;
  unit.GetStandardPSData(ps, data);
  ASSERT_NE(ps, nullptr);
  EXPECT_EQ(ps->GetName(), "V3");  // the catalogue's default
  EXPECT_EQ(data, nullptr);

  auto single = Supply("V1b", "1~", "230 V", 2, false);
  Cls_TrivanePSAllowed entry;
  entry.SetDevice(&unit);
  entry.SetPowerSupply(single.get());
  entry.Insert();
  unit.GetStandardPSData(ps, data);
  ASSERT_NE(ps, nullptr);
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(ps->GetName(), "V1b");
  EXPECT_EQ(data->GetID(), entry.GetID());
}

TEST_F(Options, StaticLinksBySeriesClassAndKind) {
  Link("NV-A", 144, false, "A manual");
  Link("", 144, false, "All series");
  Link("nv-a", 109, false, "Coil sheet");
  Link("NV-A", 144, true, "A download");
  Link("NV-B", 144, false, "B manual");
  const auto titles = [](const ObjectList<Cls_StaticURL>& links) {
    QStringList list;
    for (const Cls_StaticURL* l : links) list << l->GetTitle();
    list.sort();
    return list;
  };
  EXPECT_EQ(titles(Cls_StaticURL::GetStaticURLs(" NV-A ", false, 0)), (QStringList{"A manual", "All series", "Coil sheet"}));
  EXPECT_EQ(titles(Cls_StaticURL::GetStaticURLs("NV-A", false, 144)), (QStringList{"A manual", "All series"}));
  EXPECT_EQ(titles(Cls_StaticURL::GetStaticURLs("NV-A", true, 0)), (QStringList{"A download"}));
  EXPECT_EQ(titles(Cls_StaticURL::GetStaticURLs("NV-C", false, 0)), (QStringList{"All series"}));
}

}  // namespace

namespace {

class OptionReferences : public Options {
 protected:
  Cls_TrivaneDeviceOption* Option(const QString& name) {
    Cls_TrivaneDeviceOption option;
    option.SetName(name);
    option.Insert();
    // The fallbacks are looked up among the cached options.
    return dynamic_cast<Cls_TrivaneDeviceOption*>(v_factory.GetCachedObject(Cls_TrivaneDeviceOption::kClassID, option.GetID()));
  }
  void Value(const Cls_DeviceOption& option, int type, const QString& text) {
    Cls_OptionGenericValue value;
    value.SetValueType(type);
    value.SetValue(text);
    value.SetDeviceOption(&option);
    value.Insert();
  }
};

TEST_F(OptionReferences, GenericValuesGiveLanguagesConfigurationsAndFallbacks) {
  Cls_TrivaneDeviceOption* remote = Option("RC-1");
  Cls_TrivaneDeviceOption* basic = Option("RC-Basic");
  Cls_TrivaneDeviceOption* touch = Option("RC-Touch");
  Value(*remote, 1, "1033, 1031;1036 1033");
  Value(*remote, 2, "rc-basic, RC-TOUCH, RC-1, RC-Missing, RC-Basic");  // itself, unknown and repeated names drop out
  Value(*remote, 3, "Wall;Panel");
  Value(*remote, 4, "RC-Touch");
  Value(*remote, 10, "yes");

  bool hasLanguagePrefs = false;
  remote->ResolveReferences(hasLanguagePrefs);
  EXPECT_TRUE(hasLanguagePrefs);
  EXPECT_EQ(remote->LanguageCodes(), (QList<int>{1033, 1031, 1036}));
  EXPECT_EQ(remote->Configurations(), (QStringList{"Wall", "Panel"}));
  EXPECT_EQ(remote->LanguageFallbackFor(), (QList<Cls_DeviceOption*>{basic, touch}));
  EXPECT_EQ(remote->ConfigurationFallbackFor(), (QList<Cls_DeviceOption*>{touch}));
  EXPECT_TRUE(remote->HasCondenserInfluence());

  // The values are read once: a value added later changes nothing.
  Value(*remote, 1, "1040");
  remote->ResolveReferences(hasLanguagePrefs);
  EXPECT_EQ(remote->LanguageCodes().size(), 3);

  bool touchPrefs = false;
  touch->ResolveReferences(touchPrefs);
  EXPECT_FALSE(touchPrefs);
  EXPECT_FALSE(touch->HasCondenserInfluence());
}

TEST_F(OptionReferences, RemovalTakesTheDependentRecordsAlong) {
  Cls_HRX unit;
  unit.SetName("NV-500");
  unit.Insert();
  auto supply = Supply("V1", "1N~", "230 V", 1, true);
  Cls_TrivanePSAllowed electrical;
  electrical.SetDevice(&unit);
  electrical.SetPowerSupply(supply.get());
  electrical.Insert();
  Cls_HRXDocumentation documentation;
  documentation.SetDevice(&unit);
  documentation.Insert();
  Cls_MessageTable note, other;
  note.SetMessage("Condensate drain on the left");
  note.Insert();
  other.Insert();
  for (const Cls_MessageTable* message : {&note, &other}) {
    Cls_MsgCombination combination;
    combination.SetDevice(&unit);
    combination.SetMessageTable(message);
    combination.Insert();
  }
  Cls_TrivaneDeviceOption* heater = Option("EH-1");
  Cls_DevOptCombination allowed;
  allowed.SetDevice(&unit);
  allowed.SetDeviceOption(heater);
  allowed.Insert();
  Cls_DeviceOptionPolynomial drop;
  drop.SetDeviceOption(heater);
  drop.Insert();

  const auto count = [&](int cls) { return CTDbObject::CountAllRecords(cls, false, &v_factory); };
  EXPECT_EQ(unit.GetAllMsgCombination().Count(), 2);

  heater->Remove();
  EXPECT_EQ(count(Cls_DevOptCombination::kClassID), 0);
  EXPECT_EQ(count(Cls_DeviceOptionPolynomial::kClassID), 0);

  other.Remove();
  EXPECT_EQ(count(Cls_MsgCombination::kClassID), 1);

  unit.Remove();
  EXPECT_EQ(count(Cls_MsgCombination::kClassID), 0);
  EXPECT_EQ(count(Cls_TrivanePSAllowed::kClassID), 0);
  EXPECT_EQ(count(Cls_HRXDocumentation::kClassID), 0);
  EXPECT_EQ(count(Cls_MessageTable::kClassID), 1);  // the message itself stays
  EXPECT_EQ(count(Cls_PowerSupply::kClassID), 1);
}

}  // namespace
