#include "online/AutoUpgrade.h"

#include "i18n/BaseMsgMan.h"
#include "online/CorvelIntegration.h"
#include "online/CorvelSvc.h"
#include "platform/Registry.h"
#include "platform/VersionUtils.h"

#include <QThread>

#include <algorithm>

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

CTAutoUpgrade::LTUpgradeQuestion CTAutoUpgrade::PrepareQuestion(const LTInstalled& installed) {
  LTUpgradeQuestion question;
  question.service = GetCorvelSvc();
  question.nLanguage = installed.bHasGlossary ? installed.nGlossaryLanguage : installed.nStoredLanguage;
  question.nProgramVersion = installed.nProgramVersion;
  question.nDataVersion = installed.szCatalogueVersion.isEmpty()
                              ? 0
                              : CTCorvelSvcUtils::DataVersionFromString(installed.szCatalogueVersion);
  question.nGlossaryDate = installed.bHasGlossary ? installed.nGlossaryDate : 1;
  return question;
}

CTAutoUpgrade::LTUpgradeAnswer CTAutoUpgrade::Ask(const LTUpgradeQuestion& question) {
  if (!question.service) return {};
  LTUpgradeAnswer answer;
  answer.nProgramID = std::max(0, CTCorvelIntegration::IdentifyProgram(*question.service));
  if (answer.nProgramID == 0) return answer;
  // "0 or less: nothing new"
  answer.nUpgradeInfo = std::max(0, question.service
                                        ->HasUpgrades(answer.nProgramID, question.nLanguage, question.nProgramVersion,
                                                      question.nDataVersion, question.nGlossaryDate)
                                        .value_or(0));
  return answer;
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

// ---------------------------------------------------------------- the question's thread

CTUpgradeQuestion::CTUpgradeQuestion(CTAutoUpgrade::LTUpgradeQuestion question, TAnswered fnAnswered,
                                     QObject* pParent)
    : QObject(pParent), v_fnAnswered(std::move(fnAnswered)) {
  v_thread = std::thread([this, question = std::move(question)] {
    {
      const std::lock_guard lock(v_mutex);
      if (v_cut) return;
      v_asking = QThread::currentThread();
    }
    const CTAutoUpgrade::LTUpgradeAnswer answer = CTAutoUpgrade::Ask(question);
    const std::lock_guard lock(v_mutex);
    // The Qt thread object goes with this thread; nobody may quit it later.
    v_asking = nullptr;
    if (v_cut) return;
    // Posted to this object's thread. Should the object go before the event
    // is handled, the event goes with it.
    QMetaObject::invokeMethod(
        this,
        [this, answer] {
          if (v_fnAnswered) v_fnAnswered(answer);
          v_answered = true;
        },
        Qt::QueuedConnection);
  });
}

CTUpgradeQuestion::~CTUpgradeQuestion() {
  {
    const std::lock_guard lock(v_mutex);
    v_cut = true;
    if (v_asking) v_asking->quit();
  }
  if (v_thread.joinable()) v_thread.join();
}
