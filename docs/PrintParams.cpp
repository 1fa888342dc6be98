#include "docs/PrintParams.h"

#include "docs/RTFOutput.h"
#include "i18n/BaseMsgMan.h"
#include "i18n/BuildDistributor.h"
#include "i18n/MsgMan.h"
#include "platform/Registry.h"
#include "platform/Resources.h"
#include "resources/EmbeddedData.h"

#include <memory>

namespace {

const char kKey[] = "Software\\Norvane";
constexpr int kMsgOwnershipNotice = 14;
constexpr int kMsgPage = 15;
constexpr int kMsgMaxBitmapSize = 41;

std::unique_ptr<CTDecorationDefinition>& Cached() {
  static std::unique_ptr<CTDecorationDefinition> cached;
  return cached;
}

QString ReadString(const char* szName) {
  CTRegistry registry;
  if (!registry.OpenKey(QString::fromLatin1(kKey), false)) return {};
  return registry.ReadString(QString::fromLatin1(szName)).value_or(QString());
}

// A picture stored with the program; an empty one when it cannot be read
// (the writer skips it).
std::shared_ptr<const CTDocGraphic> Logo(const char* szName) {
  EmbeddedData::Ensure();
  const std::optional<QByteArray> data = CTResources::Data(QString::fromLatin1(szName) + QStringLiteral(".png"));
  return std::make_shared<CTDocImagePicture>(data ? QImage::fromData(*data, "PNG") : QImage());
}

}  // namespace

QString CTPrintParams::GetLine(int nLine) { return ReadString(QStringLiteral("DisLine%1").arg(nLine).toLatin1().constData()); }
QString CTPrintParams::GetLogoFile() { return ReadString("DisLogo"); }

bool CTPrintParams::CheckLogo(const QString& szLogoFile, QString& szMessage) {
  if (szLogoFile.isEmpty()) return true;
  const QImage logo(szLogoFile);
  if (logo.isNull()) {
    szMessage = QStringLiteral("The logo %1 cannot be read.").arg(szLogoFile);
    return false;
  }
  if (logo.width() <= kMaxLogoWidth && logo.height() <= kMaxLogoHeight) return true;
  TDlgForm::Load();
  szMessage = TBaseMsg::GetUnicodeString(kMsgMaxBitmapSize, {QString::number(kMaxLogoWidth), QString::number(kMaxLogoHeight)});
  return false;
}

void CTPrintParams::Save(const QStringList& lines, const QString& szLogoFile) {
  CTRegistry registry;
  if (registry.OpenKey(QString::fromLatin1(kKey), true)) {
    for (int i = 0; i < 3; ++i) registry.WriteString(QStringLiteral("DisLine%1").arg(i + 1), lines.value(i).trimmed());
    registry.WriteString(QStringLiteral("DisLogo"), szLogoFile);
  }
  Cached().reset();
}

std::unique_ptr<CTDecorationDefinition> CTPrintParams::MakePageDecorations(const LTDecorationInput& input) {
  auto d = std::make_unique<CTDecorationDefinition>();
  TDlgForm::Load();
  d->v_hasTopSepLine = d->v_hasBotSepLine = d->v_hasFrame = true;
  d->v_mustPrintFooterLine = true;
  d->v_footerLine = TBaseMsg::GetUnicodeString(kMsgOwnershipNotice);
  d->AddPreloadedBitmapZone(true, 0, 50, 20, Logo("OrskLogo"));
  d->AddBitmapZone(true, 0, 50, 20, input.szLogoFile);
  d->AddPreloadedBitmapZone(true, 0, 50, 20, Logo("DistribLogo"));
  d->AddTextZone(false, 1.0, input.distributorLines, DocHorAlign::kLeft);
  d->AddTextZone(false, 1.0, CTBuildDistributor::VisibleLines(input.buildDistributorLines), DocHorAlign::kCentre);
  d->AddPageNrZone(false, 1.0, kMsgPage, 2);
  return d;
}

const CTDecorationDefinition& CTPrintParams::GetPageDecorations() {
  std::unique_ptr<CTDecorationDefinition>& cached = Cached();
  if (!cached)
    cached = MakePageDecorations({{GetLine(1), GetLine(2), GetLine(3)}, GetLogoFile(), CTBuildDistributor::Lines()});
  return *cached;
}
