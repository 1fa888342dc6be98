// The window's document commands: forms over the document library.

#include "app/DlgSelect.h"
#include "app/ApplicationUtils.h"
#include "app/Frame_UnitTextScroll.h"
#include "charts/PsychroGraph.h"
#include "docs/MaterialList.h"
#include "docs/PrintParams.h"
#include "docs/Report.h"
#include "i18n/BaseMsgMan.h"

#include <QApplication>
#include <QDesktopServices>
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
  const QString path = ChooseFile(FileKind::kMaterialList);
  if (path.isEmpty()) return;
  if (!CurrentHRX()) {
    TBaseMsg::DisplayError(this, kMsgNoUnitForDocuments);
    return;
  }
  CTDocTable table;
  CTMaterialList::Build(table, *CurrentHRX(), OptionRows(), LTMaterialListSettings::Read());
  QString error;
  if (!CTMaterialList::Write(path, table, error)) {
    TBaseMsg::DisplayError(this, TBaseMsg::GetUnicodeString(kMsgCannotCreate, path) + QLatin1Char('\n') + error);
    return;
  }
  Opener()(path);
}

void TDlgSelect::ExportReport() {
  if (!AskSaveChanges()) return;
  if (!CurrentHRX()) {
    TBaseMsg::DisplayError(this, kMsgNoUnitForDocuments);
    return;
  }
  const QString path = ChooseFile(FileKind::kReport);
  if (path.isEmpty()) return;
  const QFont font = Frm_Airflow->font();
  LTReportInput input;
  input.session = v_session.get();
  input.request = &CurrentRequest();
  input.result = &Result();
  input.options = OptionRows();
  input.psychrometric = TAirPropDiagram::Settings().psychrometric;
  input.deltaEnthalpy = v_deltaEnthalpy;
  input.normalFont.name = font.family();
  if (font.pointSizeF() > 0) input.normalFont.size = font.pointSizeF();
  input.applicationTitle = ApplicationUtils::ApplicationTitle();
  input.decorations = &CTPrintParams::GetPageDecorations();
  QString error;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const bool written = CTReport::WriteFile(path, input, error);
  QApplication::restoreOverrideCursor();
  if (!written) {
    TBaseMsg::DisplayError(this, TBaseMsg::GetUnicodeString(kMsgCannotCreate, path) + QLatin1Char('\n') + error);
    return;
  }
  Opener()(path);
}
