// The note of a unit of the plain heat-recovery series, at the foot of the
// Results tab: its text is the document library's (CTHRXNote), shown as
// rich text; the underlined address in it is a link to the maker's page.

#include "app/DlgSelect.h"
#include "catalogue/ClHRX.h"
#include "catalogue/ClHRXDocumentation.h"
#include "docs/HRXNote.h"
#include "docs/RTFReader.h"

#include <QDesktopServices>
#include <QFontInfo>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>

namespace {

constexpr int kNoteLines = 3;  // the view's height in lines of its font; longer text scrolls

void BrowserOpener(const QString& szUrl) { QDesktopServices::openUrl(QUrl(szUrl)); }

TDlgSelect::LinkOpener& Opener() {
  static TDlgSelect::LinkOpener opener = BrowserOpener;
  return opener;
}

// The RTF carries the address as underlined text only: it becomes a link of
// the view where it stands.
void MarkLink(QTextDocument& doc, const QString& szUrl) {
  QTextCursor found = doc.find(szUrl);
  if (found.isNull()) return;
  QTextCharFormat link;
  link.setAnchor(true);
  link.setAnchorHref(szUrl);
  found.mergeCharFormat(link);
}

}  // namespace

void TDlgSelect::SetLinkOpener(LinkOpener fnOpener) { Opener() = fnOpener ? std::move(fnOpener) : BrowserOpener; }

void TDlgSelect::OpenLink(const QString& szUrl) { Opener()(szUrl); }

QWidget* TDlgSelect::CreateHRXNotePanel(QWidget* pPage) {
  Pnl_HRXNote = new QWidget(pPage);
  Pnl_HRXNote->setObjectName(QStringLiteral("Pnl_HRXNote"));
  auto* layout = new QVBoxLayout(Pnl_HRXNote);
  layout->setContentsMargins(0, 0, 0, 0);
  Txt_HRXNote = new QTextBrowser(Pnl_HRXNote);
  Txt_HRXNote->setObjectName(QStringLiteral("Txt_HRXNote"));
  Txt_HRXNote->setFrameShape(QFrame::NoFrame);
  Txt_HRXNote->setOpenLinks(false);
  Txt_HRXNote->setOpenExternalLinks(false);
  Txt_HRXNote->viewport()->setAutoFillBackground(false);
  const int margin = static_cast<int>(Txt_HRXNote->document()->documentMargin());
  Txt_HRXNote->setFixedHeight(kNoteLines * Txt_HRXNote->fontMetrics().lineSpacing() + 2 * margin);
  layout->addWidget(Txt_HRXNote);
  connect(Txt_HRXNote, &QTextBrowser::anchorClicked, this, [this] { Txt_HRXNoteClick(); });
  return Pnl_HRXNote;
}

void TDlgSelect::FillHRXNote() {
  const QFont font = Pnl_HRXNote->font();
  const LTDocFont normal{font.family(), QFontInfo(font).pointSizeF(), 0, DrawColors::kWindowText};
  QTextDocument* doc = Txt_HRXNote->document();
  CTRTFReader::Read(CTHRXNote::Rtf(normal), *doc);
  MarkLink(*doc, Cls_HRXDocumentation::WebLinkForHRXNote());
  Pnl_HRXNote->hide();
}

void TDlgSelect::ShowHRXNote() { Pnl_HRXNote->setVisible(CurrentHRX() && CTHRXNote::Applies(*CurrentHRX())); }

void TDlgSelect::Txt_HRXNoteClick() { Opener()(Cls_HRXDocumentation::WebLinkForHRXNote()); }
