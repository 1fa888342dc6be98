#include "online/VersionsList.h"

#include "online/CorvelIntegration.h"
#include "platform/VersionUtils.h"

#include <QStringList>

#include <cmath>

namespace {

constexpr int kEnglish = 1033;

bool SameConfig(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

// One element's text (without "<version " and "/>"): false when it does not
// read. A program build older than nAppVersion reads but adds nothing.
bool ParseElement(const QString& szElement, int nAppVersion, LTVersionsList& list) {
  static const char* const kRequired[] = {"key",    "nr",   "languages", "countries", "config", "isdft",
                                          "centraldb", "companydb", "path", "size", "descr", "platform"};
  QMap<QString, QString> values;
  for (const char* name : kRequired) {
    QString value;
    if (!CTCorvelIntegration::GetXMLAttributeValue(szElement, QString::fromLatin1(name), value)) return false;
    values.insert(QString::fromLatin1(name), value);
  }

  LTVersionEntry entry;
  entry.v_version = values["nr"].isEmpty() ? 0 : CTVersionUtils::String2Version(values["nr"]);
  entry.v_config = values["config"];
  bool ok = false;
  entry.v_dftConfig = values["isdft"].trimmed().toInt(&ok) != 0 && ok;
  entry.v_countries = values["countries"];
  entry.v_centralDbVer = values["centraldb"].isEmpty() ? 0 : CTVersionUtils::String2Version(values["centraldb"]);
  entry.v_centralDbText = values["centraldb"].trimmed();
  entry.v_companyDbVer = values["companydb"].isEmpty() ? 0 : CTVersionUtils::String2Version(values["companydb"]);
  entry.v_fileName = values["path"];
  entry.v_fileSize = values["size"].trimmed().toLongLong(&ok);
  if (!ok || entry.v_fileSize < 0) entry.v_fileSize = 0;
  QString description = values["descr"];
  description.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  description.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
  entry.v_description = description;
  entry.v_shortDescription = description.section(QLatin1Char('\r'), 0, 0);
  entry.v_isWin64 = values["platform"].compare(QLatin1String("Win64"), Qt::CaseInsensitive) == 0;
  if (entry.v_fileSize == 0) return false;

  if (values["key"].compare(QLatin1String(CTVersionsList::kUpdaterKey), Qt::CaseInsensitive) == 0) {
    entry.v_version = 0;
    entry.v_languageID = kEnglish;
    entry.v_dftConfig = true;
    entry.v_config.clear();
    entry.v_countries.clear();
    entry.v_centralDbVer = entry.v_companyDbVer = 0;
    entry.v_centralDbText.clear();
    list.updater = entry;
    return true;
  }
  if (entry.v_version == 0) return false;
  if (entry.v_version < nAppVersion) return true;
  std::vector<int> languages{kEnglish};
  for (const QString& item : values["languages"].split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
    const int lcid = item.toInt(&ok);
    if (!ok) return false;
    languages.push_back(lcid);
  }
  for (const int lcid : languages) {
    entry.v_languageID = lcid;
    list.entries.push_back(entry);
  }
  return true;
}

}  // namespace

LTVersionsList CTVersionsList::Parse(const QString& szAnswer, int nAppVersion) {
  LTVersionsList list;
  const QString opening = QStringLiteral("<version ");
  const QString closing = QStringLiteral("/>");
  qsizetype from = 0;
  // Each round moves past one element, so the loop ends with the text.
  for (;;) {
    const qsizetype start = szAnswer.indexOf(opening, from);
    if (start < 0) break;
    const qsizetype end = szAnswer.indexOf(closing, start + opening.size());
    if (end < 0) break;
    if (!ParseElement(szAnswer.mid(start + opening.size(), end - start - opening.size()), nAppVersion, list)) {
      list.bFailed = true;
      break;
    }
    from = end + closing.size();
  }
  return list;
}

bool CTVersionsList::IsCountryListed(const LTVersionEntry& entry, int nCountry) {
  const QString wanted = QString::number(nCountry);
  const QStringList items = entry.v_countries.split(QLatin1Char(' '), Qt::SkipEmptyParts);
  return items.contains(wanted);
}

bool CTVersionsList::IsDefaultLike(const LTVersionEntry& entry) {
  return entry.v_config.isEmpty() || entry.v_config.contains(QLatin1String("default"), Qt::CaseInsensitive);
}

LTVersionListing CTVersionsList::Fill(const std::vector<LTVersionEntry>& entries, const LTVersionFilter& filter) {
  LTVersionListing listing;
  if (filter.nCountry == 0 || filter.nLanguage == 0) return listing;
  bool countryListed = false;
  for (const LTVersionEntry& entry : entries) {
    listing.bLangFound = listing.bLangFound || entry.v_languageID == filter.nLanguage;
    countryListed = countryListed || IsCountryListed(entry, filter.nCountry);
  }
  bool configListed = false;
  for (int i = 0; i < int(entries.size()); ++i) {
    const LTVersionEntry& entry = entries[size_t(i)];
    if (listing.bLangFound && entry.v_languageID != filter.nLanguage) continue;
    if ((countryListed || !entry.v_countries.trimmed().isEmpty()) && !IsCountryListed(entry, filter.nCountry)) continue;
    if (!filter.bCanChangeConfig && !(entry.v_dftConfig && filter.bAppDftConfig) &&
        !SameConfig(entry.v_config, filter.szAppConfig))
      continue;
    if (entry.v_isWin64 != filter.bWantWin64) {
      listing.bAlt64 = listing.bAlt64 || entry.v_isWin64;
      continue;
    }
    listing.rows.push_back(i);
    if (entry.v_dftConfig == filter.bAppDftConfig && SameConfig(entry.v_config, filter.szAppConfig))
      configListed = true;
  }
  if (listing.rows.size() == 1) {
    listing.nBestRow = 0;
    return listing;
  }
  const int wantedLanguage = listing.bLangFound ? filter.nLanguage : kEnglish;
  for (int r = 0; r < int(listing.rows.size()); ++r) {
    const LTVersionEntry& entry = entries[size_t(listing.rows[size_t(r)])];
    if (entry.v_languageID != wantedLanguage) continue;
    if (!entry.v_countries.trimmed().isEmpty() && !IsCountryListed(entry, filter.nCountry)) continue;
    const bool configFits = configListed ? entry.v_dftConfig == filter.bAppDftConfig &&
                                               SameConfig(entry.v_config, filter.szAppConfig)
                                         : IsDefaultLike(entry);
    if (!configFits) continue;
    listing.nBestRow = r;
    break;
  }
  return listing;
}

bool CTVersionsList::SameBuild(const LTVersionEntry& entry, int nAppVersion, int nAppLang, int nDbVersion,
                               bool bAppDftConfig, const QString& szAppConfig) {
  return entry.v_version == nAppVersion && entry.v_languageID == nAppLang && entry.v_centralDbVer == nDbVersion &&
         entry.v_dftConfig == bAppDftConfig && SameConfig(entry.v_config, szAppConfig);
}

QString CTVersionsList::SizeText(qint64 nBytes, QChar decimalSeparator) {
  // Tenths of a MB, half to even.
  const double tenths = std::nearbyint(double(nBytes) * 10.0 / 1048576.0);
  const qint64 whole = qint64(tenths) / 10;
  const qint64 tenth = qint64(tenths) % 10;
  return QString::number(whole) + decimalSeparator + QString::number(tenth) + QStringLiteral("MB");
}
