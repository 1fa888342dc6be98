// The window's document commands: forms over the document library.

#include "app/Settings.h"
#include "docs/MaterialList.h"
#include "i18n/BaseMsgMan.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace {

constexpr int kMsgCannotCreate = -3;
constexpr int kMsgNoUnitForDocuments = 121;

void DesktopOpener(const QString& szPath) { QDesktopServices::openUrl(QUrl::fromLocalFile(szPath)); }

TDlgSelect::DocumentOpener& Opener() {
  static TDlgSelect::DocumentOpener opener = DesktopOpener;
  return opener;
}

}  // namespace

void TDlgSelect::SetDocumentOpener(DocumentOpener fnOpener) {
  Opener() = fnOpener ? std::move(fnOpener) : DesktopOpener;
}

void TDlgSelect::ExportMaterialList() {
  if (!AskSaveChanges()) return;
  const QString start =
      v_projectFileName.isEmpty() ? QDir::homePath() : QFileInfo(v_projectFileName).absolutePath();
  const QString path = ChooseFile(FileKind::kMaterialList, start);
  if (path.isEmpty()) return;
  if (!v_currHRX) {
    TBaseMsg::DisplayError(this, kMsgNoUnitForDocuments);
    return;
  }
  FillOptions();
  CTDocTable table;
  CTMaterialList::Build(table, *v_currHRX, v_optionRows, LTMaterialListSettings::Read());
  QString error;
  if (!CTMaterialList::Write(path, table, error)) {
    TBaseMsg::DisplayError(this, TBaseMsg::GetUnicodeString(kMsgCannotCreate, path) + QLatin1Char('\n') + error);
    return;
  }
  Opener()(path);
}

void TDlgSelect::ExportReport() {}
