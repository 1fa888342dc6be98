#include "online/AutoUpgrade.h"

#include "i18n/BaseMsgMan.h"
#include "online/CorvelIntegration.h"
#include "platform/Registry.h"
#include "platform/VersionUtils.h"

namespace {
// A text of the hint, translated, with its placeholders replaced.
QString Text(const QString& szEnglish, const QStringList& params = {}) {
  return TBaseMsg::ReplaceParams(TBaseMsg::Tr(szEnglish), params);
}
}  // namespace

int CTAutoUpgrade::GetUsageCount(const QString& szRunCountID) {
  CTRegistry registry;
  if (!registry.OpenKey(QString::fromLatin1(kUsageKey), false)) return 0;
  const QString name = registry.ReadString(QStringLiteral("Name")).value_or(QString());
  const int used = registry.ReadInteger(QStringLiteral("Used")).value_or(0);
  if (name.compare(szRunCountID, Qt::CaseInsensitive) != 0) return 0;
  return used;
}

void CTAutoUpgrade::CountStart(const QString& szRunCountID, int nCountBefore) {
  CTRegistry registry;
  if (!registry.OpenKey(QString::fromLatin1(kUsageKey), true)) return;
  registry.WriteString(QStringLiteral("Name"), szRunCountID);
  registry.WriteInteger(QStringLiteral("Used"), nCountBefore + 1);
}

int CTAutoUpgrade::AskForUpgrades(const LTInstalled& installed) {
  const int dataVersion = installed.szCatalogueVersion.isEmpty()
                              ? 0
                              : CTCorvelSvcUtils::DataVersionFromString(installed.szCatalogueVersion);
  const int language = installed.bHasGlossary ? installed.nGlossaryLanguage : installed.nStoredLanguage;
  const int glossaryDate = installed.bHasGlossary ? installed.nGlossaryDate : 1;
  return CTCorvelIntegration::HasUpgrades(language, installed.nProgramVersion, dataVersion, glossaryDate);
}

QStringList CTAutoUpgrade::HintLines(const QString& szAppTitle, const QString& szCatalogueVersion, int nUpgradeInfo,
                                     bool& bReleaseNotes) {
  QString installed = Text(QStringLiteral("version $1"), {CTVersionUtils::GetVersionString()});
  const QString database = CTVersionUtils::DataVersionString(szCatalogueVersion);
  if (!database.isEmpty()) installed += QStringLiteral(" - ") + Text(QStringLiteral("database $1"), {database});
  QStringList lines{Text(QStringLiteral("Please upgrade your copy of $1 ($2)"), {szAppTitle, installed}),
                    QString()};
  const LTUpgradeInfo info = CTCorvelSvcUtils::DecodeUpdates(nUpgradeInfo);
  bReleaseNotes = info.bProgramUpdated || info.bDatabaseUpdated;
  const auto version = [](int n) { return CTVersionUtils::VersionString(n, QString(), QString(), QString()); };
  if (info.bProgramUpdated)
    lines << QStringLiteral("- ") +
                 Text(QStringLiteral("Software version $1 now available."), {version(info.nProgramVersion)});
  if (info.bDatabaseUpdated)
    lines << QStringLiteral("- ") +
                 Text(QStringLiteral("Database version $1 now available."), {version(info.nDatabaseVersion)});
  if (info.bGlossaryUpdated) lines << QStringLiteral("- ") + Text(QStringLiteral("Updated translation of the user interface."));
  if (bReleaseNotes) lines << QString() << Text(QStringLiteral("See release notes for more details."));
  return lines;
}
