#pragma once
// Cls_StaticURL: a fixed web address shown for a series or device class.

#include "recdb/BaseFactory.h"
#include "recdb/DbObject.h"

#include <QString>

class Cls_StaticURL : public CTDbObject {
 public:
  static constexpr int kClassID = 387;
  enum : int {
    Fld_ID = 0,
    Fld_Title = 1,
    Fld_URL = 2,
    Fld_LookupSeries = 3,
    Fld_DeviceClass = 4,
    Fld_IsCorvelDownload = 5,
  };

  explicit Cls_StaticURL(int nObjID = 0, CTBaseFactory* pFactory = nullptr);

  // Declares the columns: the id column (named szIDFieldName, else "Fld_ID"),
  // then this table's own.
  static void Initialize(CTTableInfo* pTblInfo, const QString& szIDFieldName = QString());

  QString GetTitle() const { return GetUntranslatedStringValue(Fld_Title); }
  void SetTitle(const QString& s) { SetUnicodeStringValue(Fld_Title, s); }
  QString GetURL() const { return GetUntranslatedStringValue(Fld_URL); }
  void SetURL(const QString& s) { SetUnicodeStringValue(Fld_URL, s); }
  QString GetLookupSeries() const { return GetUntranslatedStringValue(Fld_LookupSeries); }
  void SetLookupSeries(const QString& s) { SetUnicodeStringValue(Fld_LookupSeries, s); }
  int GetDeviceClass() const { return GetIntegerValue(Fld_DeviceClass); }
  void SetDeviceClass(int n) { SetIntegerValue(Fld_DeviceClass, n); }
  bool GetIsCorvelDownload() const { return GetBooleanValue(Fld_IsCorvelDownload); }
  void SetIsCorvelDownload(bool b) { SetBooleanValue(Fld_IsCorvelDownload, b); }
  // The links whose download flag is bCorvelDownloadLinks, of device class
  // nClassID (any class when it is 0 or less), and whose trimmed look-up
  // series is szLookupSeries (ignoring case) or empty.
  static ObjectList<Cls_StaticURL> GetStaticURLs(const QString& szLookupSeries, bool bCorvelDownloadLinks, int nClassID,
                                                 CTBaseFactory* pFactory = nullptr);
};
