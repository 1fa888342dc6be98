#include "catalogue/ClHRX.h"

#include "catalogue/Sentinels.h"

#include "catalogue/ClDevOptCombination.h"
#include "catalogue/ClDevPSAllowed.h"
#include "catalogue/ClDeviceDocumentation.h"
#include "catalogue/ClDeviceOption.h"
#include "catalogue/ClHRXEcoCurve.h"
#include "catalogue/ClHRXEcodesign.h"
#include "catalogue/ClHRXFilter.h"
#include "catalogue/ClHRXSound.h"
#include "catalogue/ClHRXPolynomial.h"
#include "catalogue/ClHRXSpType.h"
#include "catalogue/ClHRXSpeed.h"
#include "catalogue/ClIndFamily.h"
#include "catalogue/ClIndoorUnit.h"
#include "catalogue/ClTrivaneDeviceOption.h"
#include "catalogue/Factory.h"
#include "catalogue/RecordCast.h"
#include "catalogue/RemoveQuietly.h"
#include "i18n/BaseMsgMan.h"
#include "i18n/MsgMan.h"

#include <algorithm>
#include <cmath>

Cls_HRX::Cls_HRX(int nObjID, CTBaseFactory* pFactory) : Cls_Device(kClassID, nObjID, pFactory) {}

void Cls_HRX::Initialize(CTTableInfo* pTblInfo, const QString& szIDFieldName) {
  const QString idName = szIDFieldName.isEmpty() ? QStringLiteral("HRX_ID") : szIDFieldName;
  Cls_Device::Initialize(pTblInfo, idName);
  pTblInfo->AddFieldInfo(HRX_Type, CTFieldInfo::CreateInteger(QStringLiteral("HRX_Type")));
  pTblInfo->AddFieldInfo(HRX_NomHumidity, CTFieldInfo::CreateDouble(QStringLiteral("HRX_NomHumidity")));
  pTblInfo->AddFieldInfo(HRX_MaxAirflow, CTFieldInfo::CreateDouble(QStringLiteral("HRX_MaxAirflow")));
  pTblInfo->AddFieldInfo(HRX_Series, CTFieldInfo::CreateUnicodeString(QStringLiteral("HRX_Series")));
  pTblInfo->AddFieldInfo(HRX_NomAirflow, CTFieldInfo::CreateDouble(QStringLiteral("HRX_NomAirflow")));
  pTblInfo->AddFieldInfo(HRX_DuctDiam, CTFieldInfo::CreateDouble(QStringLiteral("HRX_DuctDiam")));
  pTblInfo->AddFieldInfo(HRX_MinAirflow, CTFieldInfo::CreateDouble(QStringLiteral("HRX_MinAirflow")));
  pTblInfo->AddFieldInfo(HRX_MinTempFanOnly, CTFieldInfo::CreateDouble(QStringLiteral("HRX_MinTempFanOnly")));
  pTblInfo->AddFieldInfo(HRX_MaxTempFanOnly, CTFieldInfo::CreateDouble(QStringLiteral("HRX_MaxTempFanOnly")));
  pTblInfo->AddFieldInfo(HRX_EAMaxRH, CTFieldInfo::CreateDouble(QStringLiteral("HRX_EAMaxRH"), 95));
  pTblInfo->AddFieldInfo(HRX_EAMaxRHUpsideDown, CTFieldInfo::CreateDouble(QStringLiteral("HRX_EAMaxRHUpsideDown"), 95));
  pTblInfo->AddFieldInfo(HRX_VOMaxRHUpsideDown, CTFieldInfo::CreateDouble(QStringLiteral("HRX_VOMaxRHUpsideDown"), 95));
  pTblInfo->AddFieldInfo(HRX_OAMaxRH, CTFieldInfo::CreateDouble(QStringLiteral("HRX_OAMaxRH"), 80));
  pTblInfo->AddFieldInfo(HRX_VOMaxRH, CTFieldInfo::CreateDouble(QStringLiteral("HRX_VOMaxRH"), 95));
  pTblInfo->AddFieldInfo(HRX_RAMaxRH, CTFieldInfo::CreateDouble(QStringLiteral("HRX_RAMaxRH"), 80));
  pTblInfo->AddFieldInfo(HRX_CIMaxRHUpsideDown, CTFieldInfo::CreateDouble(QStringLiteral("HRX_CIMaxRHUpsideDown"), 95));
  pTblInfo->AddFieldInfo(HRX_CIMaxRH, CTFieldInfo::CreateDouble(QStringLiteral("HRX_CIMaxRH"), 95));
  pTblInfo->AddFieldInfo(HRX_RAMinTemp, CTFieldInfo::CreateDouble(QStringLiteral("HRX_RAMinTemp")));
  pTblInfo->AddFieldInfo(HRX_VIMinTemp, CTFieldInfo::CreateDouble(QStringLiteral("HRX_VIMinTemp"), -10));
  pTblInfo->AddFieldInfo(HRX_OAMinTemp, CTFieldInfo::CreateDouble(QStringLiteral("HRX_OAMinTemp"), -15));
  pTblInfo->AddFieldInfo(HRX_VIMinTempUpsideDown,
                         CTFieldInfo::CreateDouble(QStringLiteral("HRX_VIMinTempUpsideDown"), 5));
  pTblInfo->AddFieldInfo(HRX_RAMaxTemp, CTFieldInfo::CreateDouble(QStringLiteral("HRX_RAMaxTemp"), 40));
  pTblInfo->AddFieldInfo(HRX_OAMaxTemp, CTFieldInfo::CreateDouble(QStringLiteral("HRX_OAMaxTemp"), 40));
  pTblInfo->AddFieldInfo(HRX_CanBeUpsideDown, CTFieldInfo::CreateBoolean(QStringLiteral("HRX_CanBeUpsideDown")));
}

ObjectList<Cls_HRXSpeed> Cls_HRX::GetAllHRXSpeed() {
  return RecordsAs<Cls_HRXSpeed>(GetRelatedByIx(Cls_HRXSpeed::kClassID, Cls_HRXSpeed::VSP_HRX_CLS_REF));
}

ObjectList<Cls_HRXPolynomial> Cls_HRX::GetAllHRXPolynomial() {
  return RecordsAs<Cls_HRXPolynomial>(GetRelatedByIx(Cls_HRXPolynomial::kClassID, Cls_HRXPolynomial::VPO_HRX_CLS_REF));
}

std::unique_ptr<Cls_IndoorUnit> Cls_HRX::GetTheIndoorUnit() {
  return RecordAs<Cls_IndoorUnit>(GetUniqueRelatedByIx(Cls_IndoorUnit::kClassID, Cls_IndoorUnit::IND_HRX_CLS_REF));
}

std::unique_ptr<Cls_HRXEcodesign> Cls_HRX::GetTheHRXEcodesign() {
  return RecordAs<Cls_HRXEcodesign>(GetUniqueRelatedByIx(Cls_HRXEcodesign::kClassID, Cls_HRXEcodesign::ECO_HRX_CLS_REF));
}

ObjectList<Cls_HRXEcoCurve> Cls_HRX::GetAllHRXEcoCurve() {
  return RecordsAs<Cls_HRXEcoCurve>(GetRelatedByIx(Cls_HRXEcoCurve::kClassID, Cls_HRXEcoCurve::ECC_HRX_CLS_REF));
}

ObjectList<Cls_HRXSound> Cls_HRX::GetAllHRXSound() {
  return RecordsAs<Cls_HRXSound>(GetRelatedByIx(Cls_HRXSound::kClassID, Cls_HRXSound::SND_HRX_CLS_REF));
}

// ---------------------------------------------------------------- caches

namespace {

enum CurveType { kTempEff = 0, kCoolEnthEff = 1, kHeatEnthEff = 2, kTotalCapCorr = 3, kSensibleCapCorr = 4,
                 kCoolCap = 5, kMaxCoolCap = 6, kHeatCap = 7, kMaxHeatCap = 8 };

bool ByDischargeThenKey(const Cls_HRXPolynomial* a, const Cls_HRXPolynomial* b) {
  return Cls_HRXPolynomial::CompareHRXPolynomials(a, b);
}

}  // namespace

Cls_HRX::~Cls_HRX() = default;

void Cls_HRX::StoreUsedOptions(std::unique_ptr<ObjectList<Cls_DeviceOption>> pOptions) {
  v_usedOptions = std::move(pOptions);
}

void Cls_HRX::LoadEfficiencies() {
  if (v_curvesLoaded) return;
  v_curvesLoaded = true;
  if (!IsStored()) return;
  v_curves = GetAllHRXPolynomial();
  // The last curve of a type wins, as the records are read.
  for (const Cls_HRXPolynomial* curve : v_curves) {
    switch (curve->GetType()) {
      case kTempEff: v_tempExEff = curve; break;
      case kCoolEnthEff: v_cEnthalpyExEff = curve; break;
      case kHeatEnthEff: v_hEnthalpyExEff = curve; break;
      case kTotalCapCorr: v_totalCapCorr = curve; break;
      case kSensibleCapCorr: v_sensibleCapCorr = curve; break;
      default: break;
    }
  }
  if (GetType() == kFreshAirUnit) {
    for (const Cls_HRXPolynomial* curve : v_curves) {
      switch (curve->GetType()) {
        case kCoolCap: v_coolCaps.push_back(curve); break;
        case kMaxCoolCap: v_maxCoolCaps.push_back(curve); break;
        case kHeatCap: v_heatCaps.push_back(curve); break;
        case kMaxHeatCap: v_maxHeatCaps.push_back(curve); break;
        default: break;
      }
    }
    for (auto* list : {&v_coolCaps, &v_maxCoolCaps, &v_heatCaps, &v_maxHeatCaps})
      std::stable_sort(list->begin(), list->end(), ByDischargeThenKey);
  }
  v_indoor = GetTheIndoorUnit();
}

const Cls_HRXPolynomial* Cls_HRX::GetTempExhangeEfficiency() { return LoadEfficiencies(), v_tempExEff; }
const Cls_HRXPolynomial* Cls_HRX::GetCoolEnthalpyExhangeEfficiency() { return LoadEfficiencies(), v_cEnthalpyExEff; }
const Cls_HRXPolynomial* Cls_HRX::GetHeatEnthalpyExhangeEfficiency() { return LoadEfficiencies(), v_hEnthalpyExEff; }
const Cls_HRXPolynomial* Cls_HRX::GetTotalCapCorrection() { return LoadEfficiencies(), v_totalCapCorr; }
const Cls_HRXPolynomial* Cls_HRX::GetSensibleCapCorrection() { return LoadEfficiencies(), v_sensibleCapCorr; }
const std::vector<const Cls_HRXPolynomial*>& Cls_HRX::CoolCaps() { return LoadEfficiencies(), v_coolCaps; }
const std::vector<const Cls_HRXPolynomial*>& Cls_HRX::MaxCoolCaps() { return LoadEfficiencies(), v_maxCoolCaps; }
const std::vector<const Cls_HRXPolynomial*>& Cls_HRX::HeatCaps() { return LoadEfficiencies(), v_heatCaps; }
const std::vector<const Cls_HRXPolynomial*>& Cls_HRX::MaxHeatCaps() { return LoadEfficiencies(), v_maxHeatCaps; }
Cls_IndoorUnit* Cls_HRX::GetIndoor() { return LoadEfficiencies(), v_indoor.get(); }

void Cls_HRX::LoadSpeeds() {
  if (v_speeds) return;
  v_speeds = std::make_unique<ObjectList<Cls_HRXSpeed>>(IsStored() ? GetAllHRXSpeed() : ObjectList<Cls_HRXSpeed>(true));
  v_speeds->Sort(Cls_HRXSpeed::CompareSpeeds);
}

const ObjectList<Cls_HRXSpeed>& Cls_HRX::Speeds() {
  LoadSpeeds();
  return *v_speeds;
}

ObjectList<Cls_DevOptCombination> Cls_HRX::GetOptionCombinationsForHRX() {
  if (!IsStored()) return ObjectList<Cls_DevOptCombination>(true);
  if (Cls_IndoorUnit* indoor = GetIndoor()) return indoor->GetAllDevOptCombination();
  return GetAllDevOptCombination();
}

void Cls_HRX::LoadOptions() {
  if (v_availHeaterOptions || v_availFilterOptions) return;
  v_availHeaterOptions = std::make_unique<ObjectList<Cls_DeviceOption>>(true);
  v_availFilterOptions = std::make_unique<ObjectList<Cls_DeviceOption>>(true);
  for (Cls_DevOptCombination* combination : GetOptionCombinationsForHRX()) {
    std::unique_ptr<Cls_DeviceOption> option = combination->GetDeviceOption();
    if (!option) continue;
    switch (option->GetType()) {
      case kHeaterOption: v_availHeaterOptions->Add(option.release()); break;
      case kFilterOption: v_availFilterOptions->Add(option.release()); break;
      case kPlenumOption:
        if (!v_plenumOption) v_plenumOption = std::move(option);
        break;
      default: break;
    }
  }
}

const ObjectList<Cls_DeviceOption>& Cls_HRX::GetHeaterOptions() { return LoadOptions(), *v_availHeaterOptions; }
const ObjectList<Cls_DeviceOption>& Cls_HRX::GetFilterOptions() { return LoadOptions(), *v_availFilterOptions; }
Cls_DeviceOption* Cls_HRX::GetPlenumOption() { return LoadOptions(), v_plenumOption.get(); }

void Cls_HRX::ClearCache() {
  v_speeds.reset();
  v_tempExEff = v_cEnthalpyExEff = v_hEnthalpyExEff = v_totalCapCorr = v_sensibleCapCorr = nullptr;
  v_coolCaps.clear();
  v_maxCoolCaps.clear();
  v_heatCaps.clear();
  v_maxHeatCaps.clear();
  v_curves.ClearAndDestroy();
  v_indoor.reset();
  v_curvesLoaded = false;
  v_availHeaterOptions.reset();
  v_availFilterOptions.reset();
  v_plenumOption.reset();
  v_usedOptions.reset();
}

// ---------------------------------------------------------------- speeds and names

const Cls_HRXSpeed* Cls_HRX::GetSpeed(int SpeedId) {
  return Speeds().Search([SpeedId](const Cls_HRXSpeed* s) { return s->GetID() == SpeedId; });
}

void Cls_HRX::GetSpeedIds(int& SupplySpeedId, int& ExhaustSpeedId) const {
  SupplySpeedId = ExhaustSpeedId = 0;
  if (!v_supplySpeed) return;
  SupplySpeedId = v_supplySpeed->GetID();
  ExhaustSpeedId = v_exhaustSpeed ? v_exhaustSpeed->GetID() : 0;
}

bool Cls_HRX::HasSpeeds(int SupplySpeedId, int ExhaustSpeedId) const {
  if (!v_supplySpeed || v_supplySpeed->GetID() != SupplySpeedId) return false;
  // A unit without an exhaust fan is known by its supply speed alone: files
  // may name an exhaust speed it never ran.
  if (!HasExhaustFan()) return true;
  return v_exhaustSpeed && v_exhaustSpeed->GetID() == ExhaustSpeedId;
}

QString Cls_HRX::GetSpeedName(const Cls_HRXSpeed* TheSpeed) const {
  if (!TheSpeed) return QString();
  QString name;
  if (auto* factory = dynamic_cast<CTFactory*>(GetFactory())) {
    const Cls_HRXSpType* type =
        factory->OrderedHrxSpTypes().Search([&](const Cls_HRXSpType* t) { return TheSpeed->IsOfType(t); });
    if (type) name = type->GetName();
  }
  const long step = std::lround(TheSpeed->GetSelect1());
  if (step > 0) name += QLatin1Char(' ') + QString::number(step);
  return name;
}

void Cls_HRX::GetSpeedNames(QString& SupplySpeed, QString& ExhaustSpeed) const {
  SupplySpeed = GetSpeedName(v_supplySpeed);
  ExhaustSpeed = GetSpeedName(v_exhaustSpeed);
}

QString Cls_HRX::GetQualifiedNameFor(int nSupSpeedID, int nExtSpeedID) const {
  QString name = GetName();
  if (GetType() == kFreshAirUnit) return name;
  // Speeds are looked up among those the solution carries or its unit's.
  const auto speedOf = [&](int id) -> const Cls_HRXSpeed* {
    if (v_supplySpeed && v_supplySpeed->GetID() == id) return v_supplySpeed;
    if (v_exhaustSpeed && v_exhaustSpeed->GetID() == id) return v_exhaustSpeed;
    if (v_speeds) return v_speeds->Search([id](const Cls_HRXSpeed* s) { return s->GetID() == id; });
    return nullptr;
  };
  const QString supply = GetSpeedName(speedOf(nSupSpeedID));
  if (!supply.isEmpty()) name += QStringLiteral(", ") + supply;
  if (nExtSpeedID != 0 && nExtSpeedID != nSupSpeedID) {
    const QString exhaust = GetSpeedName(speedOf(nExtSpeedID));
    if (!exhaust.isEmpty()) name += QStringLiteral(" + ") + exhaust;
  }
  return name;
}

QString Cls_HRX::GetQualifiedName() const {
  return GetQualifiedNameFor(v_supplySpeed ? v_supplySpeed->GetID() : 0, v_exhaustSpeed ? v_exhaustSpeed->GetID() : 0);
}

void Cls_HRX::GetProductLinkInfo(QString& szSeriesName, QString& szPRV) const {
  szSeriesName = GetSeries().trimmed();
  szPRV = GetProductRangeKey().trimmed();
  if (szPRV.isEmpty())
    if (const Cls_IndFamily* family = Cls_IndFamily::CachedIndFamily(szSeriesName, GetFactory()))
      szPRV = family->GetLookupSeries().trimmed();
  if (szPRV.isEmpty()) szPRV = szSeriesName;
}

// ---------------------------------------------------------------- options and pressure drops

QString Cls_HRX::FilterClassName(int FilterClass) {
  static const char* const kNames[kFilterClassCount] = {"", "F6", "F7", "F8"};
  return FilterClass >= 0 && FilterClass < kFilterClassCount ? QString::fromLatin1(kNames[FilterClass]) : QString();
}

int Cls_HRX::FilterClassOf(const QString& szName) {
  if (szName.compare(QLatin1String("none"), Qt::CaseInsensitive) == 0) return 0;
  for (int filterClass = 1; filterClass < kFilterClassCount; ++filterClass)
    if (szName.compare(FilterClassName(filterClass), Qt::CaseInsensitive) == 0) return filterClass;
  return -1;
}

Cls_DeviceOption* Cls_HRX::GetFilterOption(int FilterClass) {
  return GetFilterOptions().Search(
      [FilterClass](const Cls_DeviceOption* o) { return std::lround(o->GetValue()) == FilterClass; });
}

double Cls_HRX::GetFilterESP(int nFilterClass, double nAirflow) {
  auto* option = dynamic_cast<Cls_TrivaneDeviceOption*>(GetFilterOption(nFilterClass));
  if (!option || !option->IsStored()) return 0;
  const std::unique_ptr<Cls_HRXFilter> curve = option->GetTheHRXFilter();
  return curve ? curve->Evaluate(nAirflow) : 0;
}

void Cls_HRX::GetPlenumESP(int nSelPlenum, double nAflSupply, double nAflExhaust, double& nESPSupply,
                           double& nESPExhaust) {
  enum { kOutdoorAndExhaustPlenums = 1, kAllPlenums = 2 };
  enum { kSupplySide = 1, kExhaustSide = 2, kEitherSide = 3 };
  nESPSupply = nESPExhaust = 0;
  if (nSelPlenum == 0) return;
  Cls_DeviceOption* plenum = GetPlenumOption();
  if (!plenum) return;
  if (nSelPlenum == kOutdoorAndExhaustPlenums) {
    nESPSupply = plenum->EvaluatePolynomial(kSupplySide, nAflSupply);
    nESPExhaust = plenum->EvaluatePolynomial(kExhaustSide, nAflExhaust);
  } else if (nSelPlenum == kAllPlenums) {
    nESPSupply = plenum->EvaluatePolynomial(kEitherSide, nAflSupply);
    nESPExhaust = plenum->EvaluatePolynomial(kEitherSide, nAflExhaust);
  }
}

// ---------------------------------------------------------------- ranges

void Cls_HRX::GetRanges(const ObjectList<Cls_HRX>& Devices, double& MinAirflow, double& MaxAirflow, double& MaxESP) {
  MinAirflow = Sentinel::kAboveAll;
  MaxAirflow = 0;
  MaxESP = 0;
  for (Cls_HRX* unit : Devices) {
    MinAirflow = std::min(MinAirflow, unit->GetMinAirflow());
    MaxAirflow = std::max(MaxAirflow, unit->GetMaxAirflow());
    for (const Cls_HRXSpeed* speed : unit->Speeds()) MaxESP = std::max(MaxESP, speed->GetEspLimit());
  }
  if (MaxAirflow < MinAirflow) MaxAirflow = MinAirflow;
}

ObjectList<Cls_HRXSpType> Cls_HRX::AvailableSpeedTypes(const ObjectList<Cls_HRX>& Devices) {
  ObjectList<Cls_HRXSpType> available(false);
  if (Devices.IsEmpty()) return available;
  auto* factory = dynamic_cast<CTFactory*>(Devices.Item(0)->GetFactory());
  if (!factory) return available;
  for (Cls_HRXSpType* type : factory->OrderedHrxSpTypes()) {
    const bool used = Devices.Search([&](Cls_HRX* unit) {
      return unit->Speeds().Search([&](const Cls_HRXSpeed* s) { return s->IsOfType(type); }) != nullptr;
    });
    if (used) available.Add(type);
  }
  return available;
}

void Cls_HRX::GetHeatDischargeRange(int& MinDischarge, int& MaxDischarge) {
  const auto& caps = HeatCaps();
  MinDischarge = caps.empty() ? 0 : int(std::lround(caps.front()->GetSelect2()));
  MaxDischarge = caps.empty() ? 0 : int(std::lround(caps.back()->GetSelect2()));
}

void Cls_HRX::GetCoolDischargeRange(int& MinDischarge, int& MaxDischarge) {
  const auto& caps = CoolCaps();
  MinDischarge = caps.empty() ? 0 : int(std::lround(caps.front()->GetSelect2()));
  MaxDischarge = caps.empty() ? 0 : int(std::lround(caps.back()->GetSelect2()));
}

double Cls_HRX::GetHeatSupplyTemp() {
  const auto& caps = HeatCaps();
  return caps.empty() ? Sentinel::kNoTemperature : caps.back()->GetSelect2();
}

// ---------------------------------------------------------------- ordering and families

bool Cls_HRX::CompareHRXS(const Cls_HRX* HRX1, const Cls_HRX* HRX2) {
  if (HRX1->GetMaxAirflow() > 0) return HRX1->GetMaxAirflow() < HRX2->GetMaxAirflow();
  return HRX1->GetName().compare(HRX2->GetName(), Qt::CaseInsensitive) < 0;
}

bool Cls_HRX::CompareSpeedTypes(const Cls_HRXSpType* SpeedType1, const Cls_HRXSpType* SpeedType2) {
  return SpeedType1->GetWeight() < SpeedType2->GetWeight();
}

QString Cls_HRX::Family2Str(int TheFamily) {
  TDlgForm::Load();
  int message = 98;
  switch (TheFamily) {
    case 0: message = 114; break;
    case 1: message = 115; break;
    case 2: message = 95; break;
    case 3: message = 88; break;
    case 4: message = 78; break;
    case 5:
    case 6: message = 94; break;
    default: break;
  }
  return TBaseMsg::GetUnicodeString(message);
}

void Cls_HRX::FillFamily(quint16 Families, QList<LTFamilyItem>& Items) {
  for (int family = 0; family <= kMaxFamily; ++family) {
    if ((Families & (1u << family)) == 0) continue;
    const QString name = Family2Str(family);
    const bool listed = std::any_of(Items.begin(), Items.end(), [&](const LTFamilyItem& i) { return i.name == name; });
    if (!listed) Items.append({name, family});
  }
}

// ---------------------------------------------------------------- removal

void Cls_HRX::Remove() {
  if (IsStored()) {
    RemoveEachQuietly(GetAllHRXPolynomial());
    RemoveEachQuietly(GetAllHRXSpeed());
    RemoveEachQuietly(GetAllDevPSAllowed());
    RemoveEachQuietly(GetOptionCombinationsForHRX());
    RemoveQuietly(GetTheDeviceDocumentation().get());
    RemoveQuietly(GetTheIndoorUnit().get());
    RemoveQuietly(GetTheHRXEcodesign().get());
    RemoveEachQuietly(GetAllHRXEcoCurve());
    RemoveEachQuietly(GetAllHRXSound());
  }
  ClearCache();
  Cls_Device::Remove();
}
