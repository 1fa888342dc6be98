#pragma once
// CTDeviceLinks: the online information about a unit's series that the
// device-information window offers, and the addresses it opens.
//
// A series has a keyword: the look-up series of its family (the short name
// when the family has none), else the series itself. Only builds of the
// servers that keep the online information (CTCorvelConfig::IsReportingServer)
// have keywords. With a keyword the window offers the maker's commercial
// information and the series' fixed links on the internet, and the
// documentation on the extranet; without one, the fixed links that hold for
// every series, when the catalogue has any.
//
// Every address goes through the server's document script, which knows
// where each kind of information lives today:
//   http://HOST[:PORT]/scripts/show_doc.asp?series=S&country=C&type=T&caller=Aerolith[&page=URL]

#include <QList>
#include <QString>

class CTBaseFactory;
class Cls_HRX;

class CTDeviceLinks {
 public:
  // Kinds of information, as the document script numbers them.
  enum : int { kCommercial = 1, kDocumentation = 2, kStaticLink = 3 };
  // The build's server, for GetInformationURL.
  static constexpr int kBuildServer = -1;

  struct LTInfoRow {
    int nType = kCommercial;
    QString szCaption;
    QString szExtra;  // the page of a fixed link; empty for the others
    bool bExtranet = false;
  };

  // The unit's keyword; empty in a build whose server keeps no online
  // information.
  static QString SeriesKeyword(CTBaseFactory* pFactory, const Cls_HRX& unit);
  // Whether the window has anything to offer for the keyword.
  static bool InformationAboutAvailable(CTBaseFactory* pFactory, const QString& szDeviceSeries);
  // The window's rows, internet ones first, fixed links in catalogue order.
  static QList<LTInfoRow> Rows(CTBaseFactory* pFactory, const QString& szDeviceSeries);
  // The address of one kind of information on server nCorvelServerID
  // (kBuildServer: the build's); empty when that number has no server.
  static QString GetInformationURL(const QString& szDeviceSeries, int nInfoType, const QString& szExtraInfo,
                                   int nCorvelServerID);
  // The program's name in the script's "caller": the wire name without its
  // extension.
  static QString CallerName();
  // The window's tab: the keyword ("General" without one), after the device
  // group when there is one.
  static QString TabCaption(const QString& szDeviceSeries, const QString& szGroup);
};
