#pragma once
// CTFieldInfo: one column of a table: name (compared without case), value
// type, boxed default, and the link it carries when it is the class-id half
// of a record reference.

#include "recdb/ValuePooling.h"

#include <QString>

class CTTableLink;

class CTFieldInfo {
 public:
  ~CTFieldInfo();
  CTFieldInfo(const CTFieldInfo&) = delete;
  CTFieldInfo& operator=(const CTFieldInfo&) = delete;

  static CTFieldInfo* CreateBoolean(const QString& szName, bool bDefaultValue = false);
  static CTFieldInfo* CreateInteger(const QString& szName, std::int32_t nDefaultValue = 0);
  static CTFieldInfo* CreateDouble(const QString& szName, double nDefaultValue = 0);
  static CTFieldInfo* CreateCurrency(const QString& szName, std::int64_t nDefaultValue = 0);  // x 10000
  static CTFieldInfo* CreateTDateTime(const QString& szName, double nDefaultValue = 0);
  static CTFieldInfo* CreateBinary(const QString& szName);
  static CTFieldInfo* CreateTGUID(const QString& szName);
  static CTFieldInfo* CreateUnicodeString(const QString& szName, const QString& szDefaultValue = QString(),
                                          bool bMultilingual = false);

  QString GetName() const { return v_name; }
  int GetType() const { return v_type; }
  bool IsMultilingual() const { return v_multilingual; }
  CTTableLink* GetRefTo() const { return v_refTo; }
  // The first link set wins; later ones are ignored.
  void SetRefTo(CTTableLink* pLink) {
    if (!v_refTo) v_refTo = pLink;
  }
  const CTPooledValue* GetDefaultValue() const { return v_defaultValue; }

  // Typed defaults; excTypeError for a column of another type.
  bool GetBooleanDftValue() const;
  void SetBooleanDftValue(bool bValue);
  std::int32_t GetIntegerDftValue() const;
  void SetIntegerDftValue(std::int32_t nValue);
  double GetDoubleDftValue() const;
  void SetDoubleDftValue(double nValue);
  std::int64_t GetCurrencyDftValue() const;
  void SetCurrencyDftValue(std::int64_t nValue);
  double GetTDateTimeDftValue() const;
  void SetTDateTimeDftValue(double nValue);
  QString GetUnicodeStringDftValue() const;
  void SetUnicodeStringDftValue(const QString& szValue);

  // Where the value lives in a value list.
  static bool IsIntBacked(int nType) { return nType == vtBoolean || nType == vtInteger; }
  static bool IsDoubleBacked(int nType) { return nType == vtDouble || nType == vtCurrency || nType == vtDateTime; }
  static bool IsBoxed(int nType) { return nType == vtBinary || nType == vtGUID || nType == vtUnicodeString; }

  int v_SQLFieldIndex = -1;

 private:
  CTFieldInfo(const QString& szName, int nType, CTPooledValue* pDefault, bool bMultilingual);
  template <typename P>
  P* Default() const;

  QString v_name;
  int v_type;
  CTPooledValue* v_defaultValue;  // owned; none for GUID and binary columns
  bool v_multilingual;
  CTTableLink* v_refTo = nullptr;
};
