#include "online/AboutInfo.h"

#include "i18n/BaseMsgMan.h"
#include "i18n/BuildDistributor.h"
#include "online/CorvelIntegration.h"
#include "platform/VersionUtils.h"

#include <algorithm>

namespace {

const QLatin1String kSchemeMark("://");

}  // namespace

LTAboutParty CTAboutInfo::Maker() {
  return {QStringLiteral("Norvane"),
          {QStringLiteral("Norvane Climate Systems Ltd."), QStringLiteral("Fjordgate 14"),
           QStringLiteral("4012 Halvik"), QStringLiteral("Republic of Veldmark")},
          QStringLiteral("https://www.norvane.example"),
          QStringLiteral("info@norvane.example")};
}

LTAboutParty CTAboutInfo::Developer() {
  return {QStringLiteral("Aerolith development team"),
          {QStringLiteral("Selection Software Group"), QStringLiteral("Kaiveien 3"), QStringLiteral("4015 Halvik"),
           QStringLiteral("Republic of Veldmark")},
          QStringLiteral("https://aerolith.example"),
          QStringLiteral("support@aerolith.example")};
}

QString CTAboutInfo::LinkCaption(const QString& szUrl) {
  const qsizetype mark = szUrl.indexOf(kSchemeMark);
  return mark < 0 ? szUrl : szUrl.mid(mark + kSchemeMark.size());
}

QString CTAboutInfo::WithScheme(const QString& szAddress) {
  if (szAddress.contains(kSchemeMark)) return szAddress;
  return QStringLiteral("http://") + szAddress;
}

QString CTAboutInfo::MailtoURL(const QString& szAddress) { return QStringLiteral("mailto:") + szAddress; }

QString CTAboutInfo::VersionText() { return CTVersionUtils::GetVersionStringEx(QStringLiteral(" - "), QString()); }

QString CTAboutInfo::LanguageText() { return CTLangSupport::EnglishLanguageName(CTLangSupport::UILanguage()); }

QStringList CTAboutInfo::DistributorLines() { return CTBuildDistributor::Lines(); }

LTOnlineOffers CTAboutInfo::AskOnlineOffers(int nLanguage) {
  LTOnlineOffers offers;
  const int program = CTCorvelIntegration::IdentifyProgram();
  if (program <= 0) return offers;
  offers.nProgramID = program;
  offers.bReleaseNotes = true;
  offers.bManual = AskManual(program, nLanguage, offers.szManualPath);
  return offers;
}

bool CTAboutInfo::AskManual(int nProgramID, int nLanguage, QString& szPath) {
  QString path;
  if (!CTCorvelIntegration::HasUsersManual(nProgramID, nLanguage, path) || path.isEmpty()) return false;
  szPath = path;
  return true;
}

QString CTAboutInfo::ManualFileName(const QString& szServerPath) {
  // Server paths may come with either separator.
  const qsizetype cut =
      std::max(szServerPath.lastIndexOf(QLatin1Char('/')), szServerPath.lastIndexOf(QLatin1Char('\\')));
  return szServerPath.mid(cut + 1);
}

bool CTAboutInfo::DownloadManual(const QString& szServerPath, const QString& szLocalFile) {
  quint32 found = 0;
  return CTCorvelIntegration::GetFileFromInternet(CTVersionUtils::CorvelServerID(), szServerPath, szLocalFile, 0,
                                                  found) == CTCorvelIntegration::kFileOk;
}

CTAboutInfo::TLocaleQuestion CTAboutInfo::QuestionAfterLocaleChange(const LTLocaleData& before,
                                                                    const LTLocaleData& after, bool bDataVersionShown) {
  if (bDataVersionShown && before.v_country != after.v_country) return TLocaleQuestion::kCountry;
  if (before.v_language != after.v_language) return TLocaleQuestion::kLanguage;
  return TLocaleQuestion::kNone;
}

QString CTAboutInfo::QuestionText(TLocaleQuestion question) {
  switch (question) {
    case TLocaleQuestion::kCountry:
      return TBaseMsg::Tr(
          QStringLiteral("You have changed your country setting. Do you want to check for country specific updates?"));
    case TLocaleQuestion::kLanguage:
      return TBaseMsg::Tr(QStringLiteral(
          "You have changed your preferred language. Do you want to check for language specific updates?"));
    case TLocaleQuestion::kNone:
      break;
  }
  return QString();
}
