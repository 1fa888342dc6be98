#include "platform/VersionUtils.h"

#include "platform/BuildInfo.h"

#include <QLocale>

namespace {

const LTBuildInfo& BuiltInfo() {
  static const LTBuildInfo info{AEROLITH_BUILD_VERSION_NUMBER, QStringLiteral(AEROLITH_BUILD_VERSION_SUFFIX).trimmed(),
                                QStringLiteral(AEROLITH_BUILD_CONFIGURATION_NAME), AEROLITH_BUILD_KIND,
                                AEROLITH_BUILD_SERVER_ID};
  return info;
}

const LTBuildInfo*& InEffect() {
  static const LTBuildInfo* info = nullptr;
  return info;
}

}  // namespace

const LTBuildInfo& CTVersionUtils::Info() { return InEffect() ? *InEffect() : BuiltInfo(); }

void CTVersionUtils::SetInfoForTests(const LTBuildInfo* pInfo) { InEffect() = pInfo; }

QString CTVersionUtils::VersionString(int nVer, const QString& szSfx, const QString& szSfxPre,
                                      const QString& szSfxPost) {
  QString text = QStringLiteral("%1.%2.%3").arg(nVer / 100).arg(nVer / 10 % 10).arg(nVer % 10);
  if (!szSfx.isEmpty()) text += szSfxPre + szSfx + szSfxPost;
  return text;
}

int CTVersionUtils::String2Version(const QString& szStr) {
  bool ok = false;
  const int version = QString(szStr).remove(QLatin1Char('.')).trimmed().toInt(&ok);
  return ok ? version : 0;
}

QString CTVersionUtils::DataVersionString(const QString& szVersion) {
  const QString text = szVersion.trimmed();
  const int number = String2Version(text);
  if (number <= 0 || number >= kVersionLimit) return text;
  return VersionString(number, QString(), QString(), QString());
}

QString CTVersionUtils::DateAsString(const QDate& date) {
  return QLocale(QLocale::English).toString(date, QStringLiteral("d MMMM yyyy"));
}
