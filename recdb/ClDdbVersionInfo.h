#pragma once
// Cls_DdbVersionInfo: the one-row table that identifies a database: the
// structure version it was built for, its data release and region, and a
// few application values. The class operations find the row anew each time.

#include "recdb/BaseFactory.h"
#include "recdb/DbObject.h"

class Cls_DdbVersionInfo : public CTDbObject {
 public:
  static constexpr int kClassID = 101;
  enum Field : int {
    DVI_ID = 0,
    DVI_DataRegion = 1,
    DVI_DbVersion = 2,
    DVI_DataVersion = 3,
    DVI_ApplicationFlags = 4,
    DVI_MaxPercentageOUBasket = 5,
    DVI_MinPercentageOUBasket = 6,
  };

  explicit Cls_DdbVersionInfo(int nObjID = 0, CTBaseFactory* pFactory = nullptr);

  // Adds the table to a factory's schema (database nDbID) and registers the class.
  static void DefineTable(CTBaseFactory& factory, int nDbID);

  int GetDataRegion() const { return GetIntegerValue(DVI_DataRegion); }
  void SetDataRegion(int n) { SetIntegerValue(DVI_DataRegion, n); }
  QString GetDbVersion() const { return GetUntranslatedStringValue(DVI_DbVersion); }
  void SetDbVersion(const QString& s) { SetUnicodeStringValue(DVI_DbVersion, s); }
  QString GetDataVersion() const { return GetUntranslatedStringValue(DVI_DataVersion); }
  void SetDataVersion(const QString& s) { SetUnicodeStringValue(DVI_DataVersion, s); }
  int GetApplicationFlags() const { return GetIntegerValue(DVI_ApplicationFlags); }
  void SetApplicationFlags(int n) { SetIntegerValue(DVI_ApplicationFlags, n); }
  int GetMaxPercentageOUBasket() const { return GetIntegerValue(DVI_MaxPercentageOUBasket); }
  void SetMaxPercentageOUBasket(int n) { SetIntegerValue(DVI_MaxPercentageOUBasket, n); }
  int GetMinPercentageOUBasket() const { return GetIntegerValue(DVI_MinPercentageOUBasket); }
  void SetMinPercentageOUBasket(int n) { SetIntegerValue(DVI_MinPercentageOUBasket, n); }

  // The single row; none when the factory is missing or not connected, or
  // the table does not hold exactly one row, unless bCreateWhenMissing asks
  // for a new record with the column defaults (not inserted).
  static std::unique_ptr<Cls_DdbVersionInfo> GetVersionRecord(CTBaseFactory* pFactory, bool bCreateWhenMissing);

  // True when the stored structure version equals szVersion once both are
  // normalised; otherwise message 5014 when bFlagErrors.
  static bool CheckVersion(CTBaseFactory* pFactory, const QString& szVersion, bool bFlagErrors);
  static QString GetNorvaneVersion(CTBaseFactory* pFactory);
  static void GetNorvaneVersionEx(CTBaseFactory* pFactory, QString& szVersion, int& nRegion);
  static void SetNorvaneVersion(CTBaseFactory* pFactory, const QString& szNewVersion);
  static int GetRegion(CTBaseFactory* pFactory);
  static int GetAppFlags(CTBaseFactory* pFactory);
  static void SetAppFlags(CTBaseFactory* pFactory, int nFlags);
  static int GetMinPercOUBasket(CTBaseFactory* pFactory);
  static void SetMinPercOUBasket(CTBaseFactory* pFactory, int nPerc);
  static int GetMaxPercOUBasket(CTBaseFactory* pFactory);
  static void SetMaxPercOUBasket(CTBaseFactory* pFactory, int nPerc);
  static bool HasDdb(CTBaseFactory*) { return true; }

  // "1.4.3", "143" and "01.4.3" all become "1.4.3": the dots go, the rest is
  // read as n, and n is written as n div 100, (n div 10) mod 10, n mod 10.
  static int VersionNumber(const QString& szVersion);
  static QString VersionText(int nVersion);
  static QString NormalizeVersion(const QString& szVersion) { return VersionText(VersionNumber(szVersion)); }
};
