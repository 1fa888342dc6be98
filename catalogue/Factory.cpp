#include "catalogue/Factory.h"

#include "catalogue/ClDevOptCombination.h"
#include "catalogue/ClDevPSAllowed.h"
#include "catalogue/ClDevice.h"
#include "catalogue/ClDeviceDocumentation.h"
#include "catalogue/ClDeviceGrouping.h"
#include "catalogue/ClDeviceOption.h"
#include "catalogue/ClDeviceOptionPolynomial.h"
#include "catalogue/ClHRX.h"
#include "catalogue/ClHRXCorrection.h"
#include "catalogue/ClHRXDocumentation.h"
#include "catalogue/ClHRXEcoCurve.h"
#include "catalogue/ClHRXEcodesign.h"
#include "catalogue/ClHRXFilter.h"
#include "catalogue/ClHRXPolynomial.h"
#include "catalogue/ClHRXSettingScheme.h"
#include "catalogue/ClHRXSound.h"
#include "catalogue/ClHRXSpType.h"
#include "catalogue/ClHRXSpeed.h"
#include "catalogue/ClHrxSetting.h"
#include "catalogue/ClIndFamily.h"
#include "catalogue/ClIndTabularCap.h"
#include "catalogue/ClIndoorDevice.h"
#include "catalogue/ClIndoorUnit.h"
#include "catalogue/ClMessageTable.h"
#include "catalogue/ClMsgCombination.h"
#include "catalogue/ClOptionGenericValue.h"
#include "catalogue/ClPolynomial.h"
#include "catalogue/ClPowerSupply.h"
#include "catalogue/ClReleasableElement.h"
#include "catalogue/ClSeriesMapping.h"
#include "catalogue/ClStaticURL.h"
#include "catalogue/ClTabular.h"
#include "catalogue/ClTrivaneDeviceOption.h"
#include "catalogue/ClTrivanePSAllowed.h"
#include "recdb/ClDdbVersionInfo.h"
#include "recdb/TableLink.h"
#include "catalogue/HRXRatioCorr.h"
#include "catalogue/RecordCast.h"

namespace {

template <typename T>
CTDbObject* Make(int nObjID, CTBaseFactory* pFactory) {
  return new T(nObjID, pFactory);
}

// One catalogue table. Abstract tables have no creator.
struct LTTableDef {
  int v_clsID;
  const char* v_modelClassName;  // the stored name is "Tbl_" + this
  int v_parentID;                // -1 for a root table
  bool v_abstract;
  bool v_nameRequired;
  void (*v_initialize)(CTTableInfo* pTblInfo, const QString& szIDFieldName);
  CTDbObject* (*v_create)(int nObjID, CTBaseFactory* pFactory);
};

// One link, declared on its master ("from") table; v_toFieldIx is the
// class-id half of the reference column of the detail ("to") table.
struct LTLinkDef {
  int v_fromClsID;
  int v_associationID;
  const char* v_associationName;
  const char* v_fromRole;
  const char* v_toRole;
  int v_toClsID;
  int v_toFieldIx;
  bool v_oneToOne;
  bool v_refIntegr;
  bool v_cascDel;
  bool v_isOrdered;
};

// Ascending class ids; 101 (the version record) is defined by its own class.
constexpr LTTableDef kTables[] = {
    {108, "IndFamily", 488, false, true, &Cls_IndFamily::Initialize, &Make<Cls_IndFamily>},
    {109, "IndoorUnit", 169, false, true, &Cls_IndoorUnit::Initialize, &Make<Cls_IndoorUnit>},
    {121, "Polynomial", -1, true, false, &Cls_Polynomial::Initialize, nullptr},
    {122, "PowerSupply", -1, false, true, &Cls_PowerSupply::Initialize, &Make<Cls_PowerSupply>},
    {144, "HRX", 162, false, true, &Cls_HRX::Initialize, &Make<Cls_HRX>},
    {145, "HRXDocumentation", 166, false, false, &Cls_HRXDocumentation::Initialize, &Make<Cls_HRXDocumentation>},
    {147, "HRXSpeed", 121, false, false, &Cls_HRXSpeed::Initialize, &Make<Cls_HRXSpeed>},
    {148, "HRXSpType", -1, false, true, &Cls_HRXSpType::Initialize, &Make<Cls_HRXSpType>},
    {162, "Device", 487, true, false, &Cls_Device::Initialize, nullptr},
    {163, "DeviceOption", 487, true, false, &Cls_DeviceOption::Initialize, nullptr},
    {164, "DevOptCombination", -1, false, false, &Cls_DevOptCombination::Initialize, &Make<Cls_DevOptCombination>},
    {165, "DevPSAllowed", -1, true, false, &Cls_DevPSAllowed::Initialize, nullptr},
    {166, "DeviceDocumentation", -1, true, false, &Cls_DeviceDocumentation::Initialize, nullptr},
    {169, "IndoorDevice", 162, true, true, &Cls_IndoorDevice::Initialize, nullptr},
    {170, "TrivanePSAllowed", 165, false, false, &Cls_TrivanePSAllowed::Initialize, &Make<Cls_TrivanePSAllowed>},
    {193, "HRXPolynomial", 121, false, false, &Cls_HRXPolynomial::Initialize, &Make<Cls_HRXPolynomial>},
    {331, "Tabular", -1, true, false, &Cls_Tabular::Initialize, nullptr},
    {335, "IndTabularCap", 331, false, false, &Cls_IndTabularCap::Initialize, &Make<Cls_IndTabularCap>},
    {356, "HRXCorrection", 121, false, false, &Cls_HRXCorrection::Initialize, &Make<Cls_HRXCorrection>},
    {380, "HrxSetting", -1, false, false, &Cls_HrxSetting::Initialize, &Make<Cls_HrxSetting>},
    {381, "HRXSettingScheme", -1, false, false, &Cls_HRXSettingScheme::Initialize, &Make<Cls_HRXSettingScheme>},
    {387, "StaticURL", -1, false, false, &Cls_StaticURL::Initialize, &Make<Cls_StaticURL>},
    {388, "SeriesMapping", 488, false, false, &Cls_SeriesMapping::Initialize, &Make<Cls_SeriesMapping>},
    {390, "HRXFilter", 121, false, false, &Cls_HRXFilter::Initialize, &Make<Cls_HRXFilter>},
    {401, "MessageTable", -1, false, false, &Cls_MessageTable::Initialize, &Make<Cls_MessageTable>},
    {402, "MsgCombination", -1, false, false, &Cls_MsgCombination::Initialize, &Make<Cls_MsgCombination>},
    {430, "OptionGenericValue", -1, false, false, &Cls_OptionGenericValue::Initialize, &Make<Cls_OptionGenericValue>},
    {487, "ReleasableElement", -1, true, false, &Cls_ReleasableElement::Initialize, nullptr},
    {488, "DeviceGrouping", 487, true, false, &Cls_DeviceGrouping::Initialize, nullptr},
    {505, "DeviceOptionPolynomial", 121, false, false, &Cls_DeviceOptionPolynomial::Initialize,
     &Make<Cls_DeviceOptionPolynomial>},
    {506, "TrivaneDeviceOption", 163, false, false, &Cls_TrivaneDeviceOption::Initialize,
     &Make<Cls_TrivaneDeviceOption>},
    {520, "HRXEcodesign", -1, false, false, &Cls_HRXEcodesign::Initialize, &Make<Cls_HRXEcodesign>},
    {521, "HRXEcoCurve", 121, false, false, &Cls_HRXEcoCurve::Initialize, &Make<Cls_HRXEcoCurve>},
    {522, "HRXSound", -1, false, false, &Cls_HRXSound::Initialize, &Make<Cls_HRXSound>},
};

// None of the catalogue links is ordered. "SetingDefs" is the stored name.
constexpr LTLinkDef kLinks[] = {
    {148, 90, "HRXSpeedTypes", "", "", 147, 17, false, true, true, false},
    {162, 239, "Device_Option", "", "", 164, 8, false, true, true, false},
    {163, 240, "Option_Device", "", "", 164, 10, false, true, true, false},
    {162, 242, "Device_Powersupply", "", "", 165, 8, false, true, true, false},
    {122, 243, "PowerSupply_Device", "", "", 165, 10, false, false, false, false},
    {162, 244, "Device_Documentation", "", "", 166, 5, true, true, true, false},
    {144, 288, "HRXSpeeds", "", "", 147, 19, false, true, true, false},
    {144, 289, "HRXCapExEffCorrs", "", "", 193, 14, false, true, true, false},
    {144, 327, "Indoor_Part", "", "", 109, 56, true, true, false, false},
    {109, 444, "IndoorCapacityData", "", "", 335, 12, false, true, true, false},
    {148, 494, "Supply", "", "", 380, 7, false, false, false, false},
    {148, 497, "Exhaust", "", "", 380, 9, false, false, false, false},
    {381, 499, "SetingDefs", "", "", 380, 11, false, true, true, false},
    {401, 529, "Messages", "", "", 402, 4, false, true, false, false},
    {122, 554, "option_PS", "", "", 163, 16, false, false, false, false},
    {163, 557, "", "", "", 430, 3, false, true, true, false},
    {487, 593, "", "followUpElement", "replacedElement", 487, 2, false, false, false, false},
    {163, 608, "option_polynomials", "", "", 505, 14, false, true, false, false},
    {506, 609, "HRXFilterDefinition", "", "", 390, 14, true, true, false, false},
    {381, 610, "HRXSettingUsage", "", "", 506, 20, false, false, false, false},
    {144, 620, "HRXEcodesign", "", "", 520, 1, true, true, true, false},
    {144, 621, "HRXEcoCurves", "", "", 521, 14, false, true, true, false},
    {144, 622, "HRXSoundPaths", "", "", 522, 1, false, true, true, false},
};

}  // namespace

CTFactory::CTFactory(const QString& szName, int nVerMul100, int nMinVerMul100)
    : CTBaseFactory(szName, nVerMul100, nMinVerMul100) {
  AddDatabase(QStringLiteral("Device_Database"));
  // The table list grows to the highest class id, 522.
  Cls_DdbVersionInfo::DefineTable(*this, kDeviceDatabase);
  for (const LTTableDef& def : kTables) {
    auto* table =
        new CTTableInfo(def.v_clsID, def.v_abstract ? -1 : kDeviceDatabase, QString::fromLatin1(def.v_modelClassName),
                        def.v_parentID, def.v_abstract, def.v_nameRequired);
    def.v_initialize(table, QString());
    AddTableInfo(table);
    if (def.v_create) RegisterClass(def.v_clsID, def.v_create);
    for (const LTLinkDef& link : kLinks) {
      if (link.v_fromClsID != def.v_clsID) continue;
      AddLinkInfo(new CTTableLink(table, link.v_associationID, QString::fromLatin1(link.v_associationName),
                                  QString::fromLatin1(link.v_fromRole), QString::fromLatin1(link.v_toRole),
                                  link.v_toClsID, link.v_toFieldIx, link.v_oneToOne, link.v_refIntegr, link.v_cascDel,
                                  link.v_isOrdered));
    }
  }
  ResolveStructure();
}

CTDbObject* CTFactory::CreateObject(int nClsID, int nObjID) {
  const CTTableInfo* table = GetTableInfo(nClsID);
  if (!table || table->IsAbstract()) return nullptr;
  return CTBaseFactory::CreateObject(nClsID, nObjID);
}

CTFactory::~CTFactory() = default;

bool CTFactory::Connect(bool bShowProgress) {
  v_ratioCorrections.reset();
  v_orderedSpeedTypes.reset();
  return CTBaseFactory::Connect(bShowProgress);
}

THRXRatioCorr& CTFactory::RatioCorrections() {
  if (!v_ratioCorrections) v_ratioCorrections = std::make_unique<THRXRatioCorr>(this);
  return *v_ratioCorrections;
}

const ObjectList<Cls_HRXSpType>& CTFactory::OrderedHrxSpTypes() {
  if (!v_orderedSpeedTypes) {
    v_orderedSpeedTypes = std::make_unique<ObjectList<Cls_HRXSpType>>(
        IsConnected() ? RecordsAs<Cls_HRXSpType>(CTDbObject::GetAllRecords(Cls_HRXSpType::kClassID, false, this))
                      : ObjectList<Cls_HRXSpType>(true));
    v_orderedSpeedTypes->Sort([](const Cls_HRXSpType* a, const Cls_HRXSpType* b) { return a->GetWeight() < b->GetWeight(); });
  }
  return *v_orderedSpeedTypes;
}
