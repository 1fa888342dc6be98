#include "CatalogueTest.h"

#include "catalogue/ClHRX.h"
#include "catalogue/ClPowerSupply.h"
#include "catalogue/ClStaticURL.h"
#include "catalogue/ClTrivaneDeviceOption.h"
#include "catalogue/ClTrivanePSAllowed.h"

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
  EXPECT_EQ(Cls_DeviceOption::TypeString(30), "Other (30)");
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
