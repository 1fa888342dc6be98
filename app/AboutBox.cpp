#include "app/AboutBox.h"

#include "app/LocaleChoice.h"
#include "app/DlgSelect.h"
#include "docs/Preferences.h"
#include "docs/RTFReader.h"
#include "i18n/BaseMsgMan.h"
#include "online/AboutInfo.h"
#include "online/CorvelIntegration.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>

#include <exception>
#include <tuple>

namespace {

constexpr int kPictureSize = 64;

template <typename T>
T* Named(T* pWidget, const char* szName) {
  pWidget->setObjectName(QString::fromLatin1(szName));
  return pWidget;
}

TFrm_AboutBox::TUpgradeOpener& UpgradeOpener() {
  static TFrm_AboutBox::TUpgradeOpener opener;
  return opener;
}

QString DialogChooser(QWidget* pParent, const QString& szTitle, const QString& szStart, const QString& szFilter) {
  return QFileDialog::getSaveFileName(pParent, szTitle, szStart, szFilter);
}

TFrm_AboutBox::TSaveFileChooser& SaveChooser() {
  static TFrm_AboutBox::TSaveFileChooser chooser = DialogChooser;
  return chooser;
}

// A hook set from outside must not take the event loop down with it.
template <typename F>
void Guarded(const char* szWhat, F&& fnCall) {
  try {
    fnCall();
  } catch (const std::exception& e) {
    qWarning("%s failed: %s", szWhat, e.what());
  } catch (...) {
    qWarning("%s failed", szWhat);
  }
}

// Shown while the box waits for the server; the transfer's own loop keeps
// it painted.
class LTWaitWindow {
 public:
  LTWaitWindow(QWidget* pParent, const QString& szText) : v_window(pParent, Qt::Dialog | Qt::FramelessWindowHint) {
    v_window.setObjectName(QStringLiteral("Frm_Wait"));
    auto* layout = new QVBoxLayout(&v_window);
    layout->setContentsMargins(24, 16, 24, 16);
    layout->addWidget(new QLabel(szText, &v_window));
    v_window.show();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // Painted now; neither the user nor a later start's file gets in.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::ExcludeSocketNotifiers);
  }
  ~LTWaitWindow() { QApplication::restoreOverrideCursor(); }
  LTWaitWindow(const LTWaitWindow&) = delete;
  LTWaitWindow& operator=(const LTWaitWindow&) = delete;

 private:
  QWidget v_window;
};

// The picture of the program: the main window's logo, which this window
// has none of yet, else the application's icon.
QPixmap ProgramPicture() { return QApplication::windowIcon().pixmap(kPictureSize, kPictureSize); }

}  // namespace

void TFrm_AboutBox::SetUpgradeOpener(TUpgradeOpener fnOpener) { UpgradeOpener() = std::move(fnOpener); }

void TFrm_AboutBox::SetSaveFileChooser(TSaveFileChooser fnChooser) {
  SaveChooser() = fnChooser ? std::move(fnChooser) : DialogChooser;
}

TFrm_AboutBox::TFrm_AboutBox(QWidget* pOwner, const QString& szTitle, const QString& szDataVersion,
                             TTermsCallback fnTerms)
    : TBasicDialog(pOwner, false),
      v_dataVersion(CTAboutInfo::DataVersionText(szDataVersion)),
      v_terms(std::move(fnTerms)) {
  setObjectName(QStringLiteral("TFrm_AboutBox"));
  setWindowTitle(TBaseMsg::Tr("About") + QLatin1Char(' ') + szTitle);
  auto* layout = new QVBoxLayout(this);
  layout->setSizeConstraint(QLayout::SetMinAndMaxSize);
  layout->setContentsMargins(16, 16, 16, 12);
  layout->setSpacing(12);

  // The program: picture, name and its lines.
  auto* head = new QHBoxLayout;
  Img_Program = Named(new QLabel(this), "Img_Program");
  const QPixmap picture = ProgramPicture();
  Img_Program->setPixmap(picture);
  Img_Program->setVisible(!picture.isNull());
  head->addWidget(Img_Program, 0, Qt::AlignTop);
  auto* lines = new QGridLayout;
  Lbl_Product = Named(new QLabel(szTitle, this), "Lbl_Product");
  QFont big = Lbl_Product->font();
  big.setBold(true);
  big.setPointSizeF(big.pointSizeF() * 1.6);
  Lbl_Product->setFont(big);
  lines->addWidget(Lbl_Product, 0, 0, 1, 2);
  const auto addLine = [&](int nRow, const char* szCaptionName, const char* szCaption, const char* szValueName,
                           const QString& szValue) {
    auto* caption = Named(new QLabel(TBaseMsg::Tr(szCaption), this), szCaptionName);
    auto* value = Named(new QLabel(szValue, this), szValueName);
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lines->addWidget(caption, nRow, 0);
    lines->addWidget(value, nRow, 1);
    return std::pair{caption, value};
  };
  Lbl_Version = addLine(1, "Lbl_VersionCaption", "Version", "Lbl_Version", CTAboutInfo::VersionText()).second;
  Lbl_Language = addLine(2, "Lbl_LanguageCaption", "Language", "Lbl_Language", CTAboutInfo::LanguageText()).second;
  std::tie(Lbl_DatabaseCaption, Lbl_Database) =
      addLine(3, "Lbl_DatabaseCaption", "Database", "Lbl_Database", v_dataVersion);
  if (v_dataVersion.isEmpty()) Lbl_DatabaseCaption->clear();
  lines->setColumnStretch(1, 1);
  lines->setHorizontalSpacing(16);
  lines->setVerticalSpacing(4);
  head->addLayout(lines, 1);
  layout->addLayout(head);

  // Who makes it and who develops it.
  auto* parties = new QHBoxLayout;
  parties->setSpacing(12);
  parties->addWidget(PartyPanel("Box_Maker", TBaseMsg::Tr("This is a product of"), true), 1);
  parties->addWidget(PartyPanel("Box_Developer", TBaseMsg::Tr("Developed by"), false), 1);
  layout->addLayout(parties);

  const QStringList distributor = CTAboutInfo::DistributorLines();
  Lbl_Distributor = Named(new QLabel(distributor.join(QLatin1Char('\n')), this), "Lbl_Distributor");
  Lbl_Distributor->setAlignment(Qt::AlignCenter);
  Lbl_Distributor->setVisible(!distributor.isEmpty());
  layout->addWidget(Lbl_Distributor);

  Box_ReleaseNotes = Named(new QGroupBox(TBaseMsg::Tr("Release notes"), this), "Box_ReleaseNotes");
  auto* notes = new QVBoxLayout(Box_ReleaseNotes);
  Txt_ReleaseNotes = Named(new QTextEdit(Box_ReleaseNotes), "Txt_ReleaseNotes");
  Txt_ReleaseNotes->setReadOnly(true);
  Txt_ReleaseNotes->setMinimumHeight(160);
  notes->addWidget(Txt_ReleaseNotes);
  Box_ReleaseNotes->hide();
  layout->addWidget(Box_ReleaseNotes, 1);

  // The commands around the program; the online ones wait for the server.
  auto* commands = new QHBoxLayout;
  Btn_Localization = Named(new QPushButton(TBaseMsg::Tr("Localization..."), this), "Btn_Localization");
  Btn_ReleaseNotes = Named(new QPushButton(TBaseMsg::Tr("Release Notes"), this), "Btn_ReleaseNotes");
  Btn_Manual = Named(new QPushButton(TBaseMsg::Tr("User's Manual..."), this), "Btn_Manual");
  for (QPushButton* button : {Btn_Localization, Btn_ReleaseNotes, Btn_Manual}) commands->addWidget(button);
  commands->addStretch(1);
  Btn_ReleaseNotes->hide();
  Btn_Manual->hide();
  layout->addLayout(commands);

  auto* closing = new QHBoxLayout;
  Btn_Disclaimer = Named(new QPushButton(TBaseMsg::Tr("Disclaimer..."), this), "Btn_Disclaimer");
  Btn_Close = Named(new QPushButton(TBaseMsg::Tr("Close"), this), "Btn_Close");
  Btn_Close->setDefault(true);
  closing->addWidget(Btn_Disclaimer);
  closing->addStretch(1);
  closing->addWidget(Btn_Close);
  // Without the conditions, Close stands alone in the middle.
  Btn_Disclaimer->setVisible(static_cast<bool>(v_terms));
  if (!v_terms) closing->addStretch(1);
  layout->addLayout(closing);

  connect(Btn_Close, &QPushButton::clicked, this, [this] { Btn_CloseClick(); });
  connect(Btn_Disclaimer, &QPushButton::clicked, this, [this] { Btn_DisclaimerClick(); });
  connect(Btn_ReleaseNotes, &QPushButton::clicked, this, [this] { Btn_ReleaseNotesClick(); });
  connect(Btn_Localization, &QPushButton::clicked, this, [this] { Btn_LocalizationClick(); });
  connect(Btn_Manual, &QPushButton::clicked, this, [this] { Btn_ManualClick(); });
  Loaded();
}

QWidget* TFrm_AboutBox::PartyPanel(const char* szName, const QString& szCaption, bool bMaker) {
  const LTAboutParty party = bMaker ? CTAboutInfo::Maker() : CTAboutInfo::Developer();
  const QString prefix = QString::fromLatin1(bMaker ? "Lbl_Maker" : "Lbl_Developer");
  auto* box = Named(new QGroupBox(szCaption, this), szName);
  auto* lines = new QVBoxLayout(box);
  lines->setSpacing(2);
  auto* name = new QLabel(party.szName, box);
  name->setObjectName(prefix + QStringLiteral("Name"));
  QFont bold = name->font();
  bold.setBold(true);
  name->setFont(bold);
  lines->addWidget(name);
  auto* address = new QLabel(party.addressLines.join(QLatin1Char('\n')), box);
  address->setObjectName(prefix + QStringLiteral("Address"));
  lines->addWidget(address);
  lines->addSpacing(4);
  lines->addWidget(LinkLabel(box, prefix + QStringLiteral("Web"), CTAboutInfo::WithScheme(party.szWeb),
                             CTAboutInfo::LinkCaption(party.szWeb)));
  if (!party.szEmail.isEmpty())
    lines->addWidget(
        LinkLabel(box, prefix + QStringLiteral("Email"), CTAboutInfo::MailtoURL(party.szEmail), party.szEmail));
  lines->addStretch(1);
  return box;
}

QLabel* TFrm_AboutBox::LinkLabel(QWidget* pParent, const QString& szName, const QString& szHref,
                                 const QString& szCaption) {
  auto* label = new QLabel(pParent);
  label->setObjectName(szName);
  label->setTextFormat(Qt::RichText);
  label->setText(QStringLiteral("<a href=\"%1\">%2</a>").arg(szHref.toHtmlEscaped(), szCaption.toHtmlEscaped()));
  label->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
  label->setOpenExternalLinks(false);
  label->setToolTip(szHref);
  connect(label, &QLabel::linkActivated, this,
          [](const QString& szLink) { Guarded("Opening a link", [&] { TDlgSelect::OpenLink(szLink); }); });
  return label;
}

void TFrm_AboutBox::showEvent(QShowEvent* event) {
  TBasicDialog::showEvent(event);
  // After the box has painted: the questions may take a moment.
  if (!v_serverAsked) QTimer::singleShot(0, this, [this] { AskServer(); });
}

void TFrm_AboutBox::AskServer() {
  if (v_serverAsked) return;
  v_serverAsked = true;
  const LTOnlineOffers offers = CTAboutInfo::AskOnlineOffers(CTLangSupport::GetLocaleData().v_language);
  v_programID = offers.nProgramID;
  Btn_ReleaseNotes->setVisible(offers.bReleaseNotes && Box_ReleaseNotes->isHidden());
  ShowManual(offers.bManual, offers.szManualPath);
}

void TFrm_AboutBox::ShowManual(bool bOffered, const QString& szPath) {
  v_manualPath = bOffered ? szPath : QString();
  Btn_Manual->setToolTip(v_manualPath);
  Btn_Manual->setVisible(bOffered);
}

void TFrm_AboutBox::Btn_DisclaimerClick() {
  if (v_terms) Guarded("The conditions of use", [this] { v_terms(this); });
}

void TFrm_AboutBox::Btn_ReleaseNotesClick() {
  QByteArray notes;
  if (!CTCorvelIntegration::ReleaseNotes(v_programID, notes) ||
      !CTRTFReader::ReadRichOrPlain(notes, *Txt_ReleaseNotes->document())) {
    TBaseMsg::DisplayWarning(this, TBaseMsg::Tr("No release notes available"));
    return;
  }
  Btn_ReleaseNotes->hide();
  Box_ReleaseNotes->show();
}

void TFrm_AboutBox::Btn_LocalizationClick() {
  const LTLocaleData before = CTLangSupport::GetLocaleData();
  if (!TFrmLocaleChoice::ChooseLocale(this, QString(), TBaseMsg::Tr("Localization"))) return;
  const LTLocaleData after = CTLangSupport::GetLocaleData();
  // The manual is offered in the chosen language.
  if (!Btn_Manual->isHidden()) {
    QString path;
    const bool offered = CTAboutInfo::AskManual(v_programID, after.v_language, path);
    ShowManual(offered, path);
  }
  const CTAboutInfo::TLocaleQuestion question =
      CTAboutInfo::QuestionAfterLocaleChange(before, after, !v_dataVersion.isEmpty());
  if (question == CTAboutInfo::TLocaleQuestion::kNone) return;
  if (TBaseMsg::DisplayQuestion(this, CTAboutInfo::QuestionText(question), MsgButtons({mbYes, mbNo})) != mrYes) return;
  if (const TUpgradeOpener& open = UpgradeOpener()) Guarded("The upgrade window", [&] { open(this); });
}

void TFrm_AboutBox::Btn_ManualClick() {
  if (v_manualPath.isEmpty()) return;
  const QString start =
      QDir(CTPreferences::StartFolder(true, QDir::homePath())).filePath(CTAboutInfo::ManualFileName(v_manualPath));
  QString chosen;
  Guarded("The save dialog",
          [&] { chosen = SaveChooser()(this, TBaseMsg::Tr("Download User's Manual"), start, TBaseMsg::Tr("All files (*.*)")); });
  if (chosen.isEmpty()) return;
  bool saved = false;
  {
    const LTWaitWindow wait(this, TBaseMsg::Tr("Downloading user's manual. Please wait..."));
    saved = CTAboutInfo::DownloadManual(v_manualPath, chosen);
  }
  if (saved)
    TBaseMsg::DisplayHint(this,
                          TBaseMsg::ReplaceParams(TBaseMsg::Tr("User's manual saved to $1"), {QDir::toNativeSeparators(chosen)}));
  else
    TBaseMsg::DisplayError(this, TBaseMsg::Tr("Download of the user's manual failed. Please try again later"));
}
