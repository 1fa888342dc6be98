#include "recdb/FieldInfo.h"

#include "recdb/DbException.h"

CTFieldInfo::CTFieldInfo(const QString& szName, int nType, CTPooledValue* pDefault, bool bMultilingual)
    : v_name(szName), v_type(nType), v_defaultValue(pDefault), v_multilingual(bMultilingual) {}

CTFieldInfo::~CTFieldInfo() {
  if (v_defaultValue) v_defaultValue->Recycle();
}

namespace {
template <typename P, typename V>
CTPooledValue* Boxed(V value) {
  P* p = P::ObtainValue();
  p->v_value = value;
  return p;
}
}  // namespace

CTFieldInfo* CTFieldInfo::CreateBoolean(const QString& szName, bool bDefaultValue) {
  return new CTFieldInfo(szName, vtBoolean, Boxed<CTPooledBoolean>(bDefaultValue), false);
}
CTFieldInfo* CTFieldInfo::CreateInteger(const QString& szName, std::int32_t nDefaultValue) {
  return new CTFieldInfo(szName, vtInteger, Boxed<CTPooledInteger>(nDefaultValue), false);
}
CTFieldInfo* CTFieldInfo::CreateDouble(const QString& szName, double nDefaultValue) {
  return new CTFieldInfo(szName, vtDouble, Boxed<CTPooledDouble>(nDefaultValue), false);
}
CTFieldInfo* CTFieldInfo::CreateCurrency(const QString& szName, std::int64_t nDefaultValue) {
  return new CTFieldInfo(szName, vtCurrency, Boxed<CTPooledCurrency>(nDefaultValue), false);
}
CTFieldInfo* CTFieldInfo::CreateTDateTime(const QString& szName, double nDefaultValue) {
  return new CTFieldInfo(szName, vtDateTime, Boxed<CTPooledDateTime>(nDefaultValue), false);
}
CTFieldInfo* CTFieldInfo::CreateBinary(const QString& szName) {
  return new CTFieldInfo(szName, vtBinary, nullptr, false);
}
CTFieldInfo* CTFieldInfo::CreateTGUID(const QString& szName) {
  return new CTFieldInfo(szName, vtGUID, nullptr, false);
}
CTFieldInfo* CTFieldInfo::CreateUnicodeString(const QString& szName, const QString& szDefaultValue,
                                              bool bMultilingual) {
  return new CTFieldInfo(szName, vtUnicodeString, Boxed<CTPooledString>(szDefaultValue), bMultilingual);
}

template <typename P>
P* CTFieldInfo::Default() const {
  if (!v_defaultValue || v_defaultValue->TypeCode() != v_type || v_type != P::kType)
    CTDbException::RaiseExc(excTypeError);
  return static_cast<P*>(v_defaultValue);
}

bool CTFieldInfo::GetBooleanDftValue() const { return Default<CTPooledBoolean>()->v_value; }
void CTFieldInfo::SetBooleanDftValue(bool bValue) { Default<CTPooledBoolean>()->v_value = bValue; }
std::int32_t CTFieldInfo::GetIntegerDftValue() const { return Default<CTPooledInteger>()->v_value; }
void CTFieldInfo::SetIntegerDftValue(std::int32_t nValue) { Default<CTPooledInteger>()->v_value = nValue; }
double CTFieldInfo::GetDoubleDftValue() const { return Default<CTPooledDouble>()->v_value; }
void CTFieldInfo::SetDoubleDftValue(double nValue) { Default<CTPooledDouble>()->v_value = nValue; }
std::int64_t CTFieldInfo::GetCurrencyDftValue() const { return Default<CTPooledCurrency>()->v_value; }
void CTFieldInfo::SetCurrencyDftValue(std::int64_t nValue) { Default<CTPooledCurrency>()->v_value = nValue; }
double CTFieldInfo::GetTDateTimeDftValue() const { return Default<CTPooledDateTime>()->v_value; }
void CTFieldInfo::SetTDateTimeDftValue(double nValue) { Default<CTPooledDateTime>()->v_value = nValue; }
QString CTFieldInfo::GetUnicodeStringDftValue() const { return Default<CTPooledString>()->v_value; }
void CTFieldInfo::SetUnicodeStringDftValue(const QString& szValue) { Default<CTPooledString>()->v_value = szValue; }
