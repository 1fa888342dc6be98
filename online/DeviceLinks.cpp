#include "online/DeviceLinks.h"

#include "catalogue/ClHRX.h"
#include "catalogue/ClIndFamily.h"
#include "catalogue/ClStaticURL.h"
#include "i18n/BaseMsgMan.h"
#include "i18n/LangSupport.h"
#include "online/CorvelConfig.h"
#include "online/CorvelIntegration.h"
#include "platform/VersionUtils.h"

namespace {

ObjectList<Cls_StaticURL> StaticLinks(CTBaseFactory* pFactory, const QString& szSeries) {
  return Cls_StaticURL::GetStaticURLs(szSeries, false, 0, pFactory);
}

}  // namespace

QString CTDeviceLinks::SeriesKeyword(CTBaseFactory* pFactory, const Cls_HRX& unit) {
  if (!CTCorvelConfig::IsReportingServer(CTVersionUtils::CorvelServerID())) return QString();
  const QString series = unit.GetSeries();
  if (const Cls_IndFamily* family = Cls_IndFamily::CachedIndFamily(series, pFactory)) {
    const QString lookup = family->GetLookupSeries().trimmed();
    return lookup.isEmpty() ? family->GetShort().trimmed() : lookup;
  }
  return series.trimmed();
}

bool CTDeviceLinks::InformationAboutAvailable(CTBaseFactory* pFactory, const QString& szDeviceSeries) {
  if (!szDeviceSeries.trimmed().isEmpty()) return true;
  return !StaticLinks(pFactory, QString()).IsEmpty();
}

QList<CTDeviceLinks::LTInfoRow> CTDeviceLinks::Rows(CTBaseFactory* pFactory, const QString& szDeviceSeries) {
  const QString series = szDeviceSeries.trimmed();
  QList<LTInfoRow> rows;
  if (!series.isEmpty())
    rows.append({kCommercial, TBaseMsg::Tr(QStringLiteral("Commercial information")), QString(), false});
  for (const Cls_StaticURL* link : StaticLinks(pFactory, series))
    rows.append({kStaticLink, link->GetTitle(), link->GetURL(), false});
  if (!series.isEmpty()) rows.append({kDocumentation, TBaseMsg::Tr(QStringLiteral("Documentation")), QString(), true});
  return rows;
}

QString CTDeviceLinks::GetInformationURL(const QString& szDeviceSeries, int nInfoType, const QString& szExtraInfo,
                                         int nCorvelServerID) {
  const int server = nCorvelServerID == kBuildServer ? CTVersionUtils::CorvelServerID() : nCorvelServerID;
  const QString country = QString::number(CTLangSupport::GetLocaleData().v_country);
  const QString type = QString::number(nInfoType);
  const QString query =
      nInfoType == kStaticLink
          ? CTCorvelIntegration::Query({{"series", szDeviceSeries},
                                        {"country", country},
                                        {"type", type},
                                        {"caller", CallerName()},
                                        {"page", szExtraInfo}})
          : CTCorvelIntegration::Query(
                {{"series", szDeviceSeries}, {"country", country}, {"type", type}, {"caller", CallerName()}});
  // ServerURL writes the port unless it is 80: a mirror or a test server
  // listens elsewhere, and the address must reach it.
  return CTCorvelIntegration::ServerURL(server, QStringLiteral("scripts/show_doc.asp?") + query);
}

QString CTDeviceLinks::CallerName() {
  QString name = QString::fromLatin1(CTCorvelIntegration::kProgramFileName);
  const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
  if (dot > 0) name.truncate(dot);
  return name;
}

QString CTDeviceLinks::TabCaption(const QString& szDeviceSeries, const QString& szGroup) {
  const QString series = szDeviceSeries.trimmed();
  const QString caption = series.isEmpty() ? TBaseMsg::Tr(QStringLiteral("General")) : series;
  const QString group = szGroup.trimmed();
  return group.isEmpty() ? caption : group + QStringLiteral(" - ") + caption;
}
