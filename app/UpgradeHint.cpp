#include "app/UpgradeHint.h"

#include "app/Upgrade.h"
#include "docs/RTFReader.h"
#include "i18n/BaseMsgMan.h"
#include "online/AutoUpgrade.h"
#include "online/CorvelIntegration.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QTextEdit>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>

namespace {

constexpr int kIconSize = 32;
constexpr int kMinWidth = 480;
constexpr int kNotesHeight = 220;
constexpr int kCaretRoom = 4;

template <typename T>
T* Named(T* pWidget, const char* szName) {
  pWidget->setObjectName(QString::fromLatin1(szName));
  return pWidget;
}

}  // namespace

TFrmAutoUpgradeHint::TFrmAutoUpgradeHint(QWidget* pOwner, const QString& szAppTitle,
                                         const QString& szCatalogueVersion, int nUpgradeInfo,
                                         const LTContext& context)
    : TBasicDialog(pOwner, false), v_context(context) {
  setObjectName(QStringLiteral("TFrmAutoUpgradeHint"));
  setWindowTitle(TBaseMsg::Tr("Upgrade Now!"));
  setMinimumWidth(kMinWidth);
  auto* layout = new QVBoxLayout(this);

  bool releaseNotes = false;
  QStringList lines = CTAutoUpgrade::HintLines(szAppTitle, szCatalogueVersion, nUpgradeInfo, releaseNotes);
  // The blank line that separates the novelties has nothing to separate
  // when there are none.
  while (lines.size() > 1 && lines.last().isEmpty()) lines.removeLast();

  auto* head = new QHBoxLayout;
  Img_Information = Named(new QLabel(this), "Img_Information");
  Img_Information->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(kIconSize, kIconSize));
  head->addWidget(Img_Information, 0, Qt::AlignTop);
  Txt_Lines = Named(new QPlainTextEdit(this), "Txt_Lines");
  Txt_Lines->setReadOnly(true);
  Txt_Lines->setFrameShape(QFrame::NoFrame);
  Txt_Lines->viewport()->setAutoFillBackground(false);  // reads as part of the window, not as a field
  // The memo's height counts lines, so none may wrap: it is as wide as the
  // widest.
  Txt_Lines->setLineWrapMode(QPlainTextEdit::NoWrap);
  ShowInMemo(lines.join(QLatin1Char('\n')), Txt_Lines, kMaxLines);
  int widest = 0;
  for (const QString& line : lines) widest = std::max(widest, Txt_Lines->fontMetrics().horizontalAdvance(line));
  const QMargins margins = Txt_Lines->contentsMargins();
  Txt_Lines->setMinimumWidth(widest + margins.left() + margins.right() +
                             2 * int(Txt_Lines->document()->documentMargin()) + kCaretRoom);
  head->addWidget(Txt_Lines, 1);
  layout->addLayout(head);

  Box_ReleaseNotes = Named(new QGroupBox(TBaseMsg::Tr("Release notes"), this), "Box_ReleaseNotes");
  auto* notes = new QVBoxLayout(Box_ReleaseNotes);
  Txt_ReleaseNotes = Named(new QTextEdit(Box_ReleaseNotes), "Txt_ReleaseNotes");
  Txt_ReleaseNotes->setReadOnly(true);
  Txt_ReleaseNotes->setMinimumHeight(kNotesHeight);
  notes->addWidget(Txt_ReleaseNotes);
  Box_ReleaseNotes->hide();
  layout->addWidget(Box_ReleaseNotes, 1);

  auto* buttons = new QHBoxLayout;
  Btn_Upgrade = Named(new QPushButton(TBaseMsg::Tr("Upgrade Now!"), this), "Btn_Upgrade");
  Btn_Upgrade->setDefault(true);
  Btn_ReleaseNotes = Named(new QPushButton(TBaseMsg::Tr("Release Notes"), this), "Btn_ReleaseNotes");
  Btn_ReleaseNotes->setVisible(releaseNotes);
  Btn_Skip = Named(new QPushButton(TBaseMsg::Tr("Skip"), this), "Btn_Skip");
  buttons->addWidget(Btn_Upgrade);
  buttons->addWidget(Btn_ReleaseNotes);
  buttons->addStretch(1);
  buttons->addWidget(Btn_Skip);
  layout->addLayout(buttons);

  connect(Btn_Upgrade, &QPushButton::clicked, this, [this] { Btn_UpgradeClick(); });
  connect(Btn_ReleaseNotes, &QPushButton::clicked, this, [this] { Btn_ReleaseNotesClick(); });
  connect(Btn_Skip, &QPushButton::clicked, this, [this] { Btn_SkipClick(); });
  Loaded();
}

int TFrmAutoUpgradeHint::ShowHint(QWidget* pOwner, const QString& szAppTitle, const QString& szCatalogueVersion,
                                  int nUpgradeInfo, const LTContext& context) {
  TFrmAutoUpgradeHint hint(pOwner, szAppTitle, szCatalogueVersion, nUpgradeInfo, context);
  return hint.Execute();
}

void TFrmAutoUpgradeHint::Btn_UpgradeClick() {
  int result = kRetSkip;
  try {
    // Without unsaved work the restart needs no warning, as at start-up.
    result = TFrmUpgrade::Upgrade(this, !v_context.bUnsavedWork, false);
  } catch (const std::exception& e) {
    qWarning("The upgrade window failed: %s", e.what());
  } catch (...) {
    qWarning("The upgrade window failed");
  }
  DoCloseWindow(result);
}

void TFrmAutoUpgradeHint::Btn_ReleaseNotesClick() {
  QByteArray notes;
  const bool fetched = v_context.nProgramID > 0 ? CTCorvelIntegration::ReleaseNotes(v_context.nProgramID, notes)
                                                : CTCorvelIntegration::ReleaseNotes(notes);
  if (!fetched ||
      !CTRTFReader::ReadRichOrPlain(notes, *Txt_ReleaseNotes->document())) {
    TBaseMsg::DisplayWarning(this, TBaseMsg::Tr("No release notes available"));
    return;
  }
  Btn_ReleaseNotes->hide();
  // The window grows by the notes instead of squeezing the lines.
  const int grown = height() + Box_ReleaseNotes->sizeHint().height() + layout()->spacing();
  Box_ReleaseNotes->show();
  resize(width(), grown);
  AdaptFormToAvailableWorkArea(this);
}
