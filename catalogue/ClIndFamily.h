#pragma once
// Cls_IndFamily: a family of indoor units.

#include "catalogue/ClDeviceGrouping.h"

#include <QString>

class Cls_IndFamily : public Cls_DeviceGrouping {
 public:
  static constexpr int kClassID = 108;
  enum : int {
    IFA_ID = 0,
    IFA_Short = 6,
    IFA_Name = 7,
    IFA_ProductName = 8,
  };

  explicit Cls_IndFamily(int nObjID = 0, CTBaseFactory* pFactory = nullptr);

  // Declares the columns: the id column (named szIDFieldName, else "IFA_ID"),
  // the inherited ones, then this table's own.
  static void Initialize(CTTableInfo* pTblInfo, const QString& szIDFieldName = QString());

  QString GetShort() const { return GetUntranslatedStringValue(IFA_Short); }
  void SetShort(const QString& s) { SetUnicodeStringValue(IFA_Short, s); }
  QString GetName() const override { return GetTranslatedStringValue(IFA_Name); }
  void SetName(const QString& s) override { SetUnicodeStringValue(IFA_Name, s); }
  QString GetProductName() const { return GetUntranslatedStringValue(IFA_ProductName); }
  void SetProductName(const QString& s) { SetUnicodeStringValue(IFA_ProductName, s); }

  // The family among the factory's cached families whose short name
  // matches (ignoring case), or none. Start-up warms the cache with every family.
  static Cls_IndFamily* CachedIndFamily(const QString& szShortName, CTBaseFactory* pFactory = nullptr);
  // "series - name" (with bUsePRV the look-up series, else the short name, as
  // the prefix), after the product name when there is one.
  QString GetDescriptiveNameExt(bool bUsePRV) const;
};
