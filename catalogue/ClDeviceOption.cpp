#include "catalogue/ClDeviceOption.h"

#include "catalogue/OptionTypes.h"
#include "i18n/MsgMan.h"
#include "i18n/BaseMsgMan.h"

#include "catalogue/ClDevOptCombination.h"
#include "catalogue/ClDeviceOptionPolynomial.h"
#include "catalogue/ClOptionGenericValue.h"
#include "catalogue/ClPowerSupply.h"
#include "catalogue/OptionTypes.h"
#include "catalogue/RecordCast.h"
#include "catalogue/RemoveQuietly.h"
#include "recdb/BaseFactory.h"

#include <QRegularExpression>

Cls_DeviceOption::Cls_DeviceOption(int nClsID, int nObjID, CTBaseFactory* pFactory)
    : Cls_ReleasableElement(nClsID, nObjID, pFactory) {}

void Cls_DeviceOption::Initialize(CTTableInfo* pTblInfo, const QString& szIDFieldName) {
  const QString idName = szIDFieldName.isEmpty() ? QStringLiteral("Fld_ID") : szIDFieldName;
  Cls_ReleasableElement::Initialize(pTblInfo, idName);
  pTblInfo->AddFieldInfo(Fld_Height, CTFieldInfo::CreateDouble(QStringLiteral("Fld_Height")));
  pTblInfo->AddFieldInfo(Fld_Deleted, CTFieldInfo::CreateBoolean(QStringLiteral("Fld_Deleted")));
  pTblInfo->AddFieldInfo(Fld_Description,
                         CTFieldInfo::CreateUnicodeString(QStringLiteral("Fld_Description"), QString(), true));
  pTblInfo->AddFieldInfo(Fld_Width, CTFieldInfo::CreateDouble(QStringLiteral("Fld_Width")));
  pTblInfo->AddFieldInfo(Fld_Name, CTFieldInfo::CreateUnicodeString(QStringLiteral("Fld_Name")), true);
  pTblInfo->AddFieldInfo(Fld_Type, CTFieldInfo::CreateInteger(QStringLiteral("Fld_Type"), 1));
  pTblInfo->AddFieldInfo(Fld_MCA, CTFieldInfo::CreateUnicodeString(QStringLiteral("Fld_MCA")));
  pTblInfo->AddFieldInfo(Fld_Value, CTFieldInfo::CreateDouble(QStringLiteral("Fld_Value")));
  pTblInfo->AddFieldInfo(Fld_Depth, CTFieldInfo::CreateDouble(QStringLiteral("Fld_Depth")));
  pTblInfo->AddFieldInfo(Fld_NeedOneOfType, CTFieldInfo::CreateBoolean(QStringLiteral("Fld_NeedOneOfType")));
  pTblInfo->AddFieldInfo(Fld_Weight, CTFieldInfo::CreateDouble(QStringLiteral("Fld_Weight")));
  pTblInfo->AddFieldInfo(Fld_ProductName, CTFieldInfo::CreateUnicodeString(QStringLiteral("Fld_ProductName")));
  pTblInfo->AddFieldInfo(Fld_PowerSupply_CLS_REF,
                         CTFieldInfo::CreateInteger(QStringLiteral("Fld_PowerSupply_CLS_REF")));
  pTblInfo->AddFieldInfo(Fld_PowerSupply_OBJ_REF,
                         CTFieldInfo::CreateInteger(QStringLiteral("Fld_PowerSupply_OBJ_REF")));
}

std::unique_ptr<Cls_PowerSupply> Cls_DeviceOption::GetPowerSupply() {
  return RecordAs<Cls_PowerSupply>(GetRelationByIx(Fld_PowerSupply_CLS_REF));
}

ObjectList<Cls_DevOptCombination> Cls_DeviceOption::GetAllDevOptCombination() {
  return RecordsAs<Cls_DevOptCombination>(
      GetRelatedByIx(Cls_DevOptCombination::kClassID, Cls_DevOptCombination::Fld_DeviceOption_CLS_REF));
}

ObjectList<Cls_OptionGenericValue> Cls_DeviceOption::GetAllOptionGenericValue() {
  return RecordsAs<Cls_OptionGenericValue>(
      GetRelatedByIx(Cls_OptionGenericValue::kClassID, Cls_OptionGenericValue::Fld_DeviceOption_CLS_REF));
}

ObjectList<Cls_DeviceOptionPolynomial> Cls_DeviceOption::GetAllDeviceOptionPolynomial() {
  return RecordsAs<Cls_DeviceOptionPolynomial>(
      GetRelatedByIx(Cls_DeviceOptionPolynomial::kClassID, Cls_DeviceOptionPolynomial::Fld_DeviceOption_CLS_REF));
}

Cls_DeviceOption::~Cls_DeviceOption() = default;

double Cls_DeviceOption::EvaluatePolynomial(int nPolType, double nArgument) {
  if (!v_polynomials) {
    v_polynomials = std::make_unique<ObjectList<Cls_DeviceOptionPolynomial>>(true);
    if (IsStored()) *v_polynomials = GetAllDeviceOptionPolynomial();  // a new option has none
  }
  const Cls_DeviceOptionPolynomial* polynomial =
      v_polynomials->Search([nPolType](const Cls_DeviceOptionPolynomial* p) { return p->GetType() == nPolType; });
  return polynomial ? polynomial->Evaluate(nArgument) : 0;
}

QString Cls_DeviceOption::TypeString(int nType) { return TFrm_TrivaneOptionTypes::OptionTypeString(nType); }

namespace {

enum GenericValueType { kLanguages = 1, kLanguageFallback = 2, kConfigurations = 3, kConfigurationFallback = 4 };

QStringList SplitList(const QString& szList) {
  static const QRegularExpression separators(QStringLiteral("[,;\\s]+"));
  return szList.split(separators, Qt::SkipEmptyParts);
}

}  // namespace

void Cls_DeviceOption::ResolveReferences(bool& bHasLanguagePrefs) {
  if (!v_referencesResolved) {
    v_referencesResolved = true;
    ObjectList<Cls_OptionGenericValue> values =
        IsStored() ? GetAllOptionGenericValue() : ObjectList<Cls_OptionGenericValue>(true);
    for (const Cls_OptionGenericValue* value : values) {
      const QString text = value->GetValue();
      switch (value->GetValueType()) {
        case kLanguages:
          for (const QString& code : SplitList(text)) {
            bool ok = false;
            const int n = code.toInt(&ok);
            if (ok && !v_languageCodes.contains(n)) v_languageCodes << n;
          }
          break;
        case kLanguageFallback:
          AddFallbacks(text, v_languageFallbackFor);
          break;
        case kConfigurations:
          v_configurations << SplitList(text);
          break;
        case kConfigurationFallback:
          AddFallbacks(text, v_configurationFallbackFor);
          break;
        default:
          break;
      }
      NoteGenericValue(value->GetValueType(), text);
    }
  }
  if (!v_languageCodes.isEmpty()) bHasLanguagePrefs = true;
}

void Cls_DeviceOption::AddFallbacks(const QString& szNames, QList<Cls_DeviceOption*>& pList) {
  const ObjectList<CTDbObject>* cached = GetFactory() ? GetFactory()->GetCachedObjects(TableIndex()) : nullptr;
  if (!cached) return;
  for (const QString& name : SplitList(szNames)) {
    for (CTDbObject* record : *cached) {
      auto* option = dynamic_cast<Cls_DeviceOption*>(record);
      if (!option || option == this || (option->GetID() == GetID() && option->TableIndex() == TableIndex())) continue;
      if (option->GetName().compare(name, Qt::CaseInsensitive) != 0) continue;
      if (!pList.contains(option)) pList << option;
      break;
    }
  }
}

void Cls_DeviceOption::Remove() {
  if (IsStored()) {
    RemoveEachQuietly(GetAllDevOptCombination());
    RemoveEachQuietly(GetAllDeviceOptionPolynomial());
  }
  v_polynomials.reset();
  Cls_ReleasableElement::Remove();
}
