#pragma once
// Cls_DeviceOption: an option that can be added to a device: its size, weight, value and power supply.

#include "catalogue/ClReleasableElement.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

class Cls_DevOptCombination;
class Cls_DeviceOptionPolynomial;
class Cls_OptionGenericValue;
class Cls_PowerSupply;

class Cls_DeviceOption : public Cls_ReleasableElement {
 public:
  static constexpr int kClassID = 163;
  enum : int {
    Fld_ID = 0,
    Fld_Height = 4,
    Fld_Deleted = 5,
    Fld_Description = 6,
    Fld_Width = 7,
    Fld_Name = 8,
    Fld_Type = 9,
    Fld_MCA = 10,
    Fld_Value = 11,
    Fld_Depth = 12,
    Fld_NeedOneOfType = 13,
    Fld_Weight = 14,
    Fld_ProductName = 15,
    Fld_PowerSupply_CLS_REF = 16,
    Fld_PowerSupply_OBJ_REF = 17,
  };

  // Declares the columns: the id column (named szIDFieldName, else "Fld_ID"),
  // the inherited ones, then this table's own.
  static void Initialize(CTTableInfo* pTblInfo, const QString& szIDFieldName = QString());

  double GetHeight() const { return GetDoubleValue(Fld_Height); }
  void SetHeight(double d) { SetDoubleValue(Fld_Height, d); }
  bool GetDeleted() const override { return GetBooleanValue(Fld_Deleted); }
  void SetDeleted(bool b) override { SetBooleanValue(Fld_Deleted, b); }
  QString GetDescription() const override { return GetTranslatedStringValue(Fld_Description); }
  void SetDescription(const QString& s) override { SetUnicodeStringValue(Fld_Description, s); }
  double GetWidth() const { return GetDoubleValue(Fld_Width); }
  void SetWidth(double d) { SetDoubleValue(Fld_Width, d); }
  QString GetName() const override { return GetUntranslatedStringValue(Fld_Name); }
  void SetName(const QString& s) override { SetUnicodeStringValue(Fld_Name, s); }
  int GetType() const { return GetIntegerValue(Fld_Type); }
  void SetType(int n) { SetIntegerValue(Fld_Type, n); }
  QString GetMCA() const { return GetUntranslatedStringValue(Fld_MCA); }
  void SetMCA(const QString& s) { SetUnicodeStringValue(Fld_MCA, s); }
  double GetValue() const { return GetDoubleValue(Fld_Value); }
  void SetValue(double d) { SetDoubleValue(Fld_Value, d); }
  double GetDepth() const { return GetDoubleValue(Fld_Depth); }
  void SetDepth(double d) { SetDoubleValue(Fld_Depth, d); }
  bool GetNeedOneOfType() const { return GetBooleanValue(Fld_NeedOneOfType); }
  void SetNeedOneOfType(bool b) { SetBooleanValue(Fld_NeedOneOfType, b); }
  double GetWeight() const { return GetDoubleValue(Fld_Weight); }
  void SetWeight(double d) { SetDoubleValue(Fld_Weight, d); }
  QString GetProductName() const { return GetUntranslatedStringValue(Fld_ProductName); }
  void SetProductName(const QString& s) { SetUnicodeStringValue(Fld_ProductName, s); }
  void GetPowerSupplyRef(int& nClsID, int& nObjID) const { GetRefValues(Fld_PowerSupply_CLS_REF, nClsID, nObjID); }
  void SetPowerSupply(const CTDbObject* pObj) { SetRelationByIx(Fld_PowerSupply_CLS_REF, pObj); }
  // The referenced record (owned by the caller), none for an empty reference.
  std::unique_ptr<Cls_PowerSupply> GetPowerSupply();
  // The records that refer here through "Option_Device".
  ObjectList<Cls_DevOptCombination> GetAllDevOptCombination();
  // The generic values of this option (link 557).
  ObjectList<Cls_OptionGenericValue> GetAllOptionGenericValue();
  // The records that refer here through "option_polynomials".
  ObjectList<Cls_DeviceOptionPolynomial> GetAllDeviceOptionPolynomial();

  // The first attached polynomial of that type (a pressure drop against
  // airflow) evaluated at nArgument; 0 when there is none. The polynomials
  // are read on first use and kept.
  double EvaluatePolynomial(int nPolType, double nArgument);

  // Reads the option's generic values once: the language codes it supports
  // (type 1; bHasLanguagePrefs is set when there are some), its
  // configurations (type 3), and the options of the same class, found by name
  // in the factory's record cache, for which it is the language (type 2) or
  // configuration (type 4) fallback. A list is written as names or numbers
  // separated by commas, semicolons or blanks.
  void ResolveReferences(bool& bHasLanguagePrefs);
  const QList<int>& LanguageCodes() const { return v_languageCodes; }
  const QStringList& Configurations() const { return v_configurations; }
  // Not owned: the records live in the factory's cache.
  const QList<Cls_DeviceOption*>& LanguageFallbackFor() const { return v_languageFallbackFor; }
  const QList<Cls_DeviceOption*>& ConfigurationFallbackFor() const { return v_configurationFallbackFor; }

  // Removes the option's combinations and polynomials (each failure
  // ignored), then the option.
  void Remove() override;

  ~Cls_DeviceOption() override;


  // name (description)
  QString GetQualifiedName() const override { return GetName() + QStringLiteral(" (") + GetDescription() + QLatin1Char(')'); }
  // "Other (n)": the text of an option kind without a name of its own.
  static QString TypeString(int nType);
 protected:
  // For the record classes of derived tables.
  Cls_DeviceOption(int nClsID, int nObjID, CTBaseFactory* pFactory);
  // Every generic value passes here once, after the base kinds are taken.
  virtual void NoteGenericValue(int /*nValueType*/, const QString& /*szValue*/) {}

 private:
  void AddFallbacks(const QString& szNames, QList<Cls_DeviceOption*>& pList);

  std::unique_ptr<ObjectList<Cls_DeviceOptionPolynomial>> v_polynomials;
  bool v_referencesResolved = false;
  QList<int> v_languageCodes;
  QStringList v_configurations;
  QList<Cls_DeviceOption*> v_languageFallbackFor;
  QList<Cls_DeviceOption*> v_configurationFallbackFor;
};
