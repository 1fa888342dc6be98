#include "app/ApproveTranslation.h"

#include "app/ApplicationUtils.h"
#include "app/FrameBottomPanelExt.h"
#include "i18n/BaseMsgMan.h"
#include "i18n/LangSupport.h"
#include "platform/Registry.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryFile>
#include <QThread>
#include <QVBoxLayout>

namespace {

const QString kAffiliateKey = QStringLiteral("Software\\Norvane");
const QString kFirstNameValue = QStringLiteral("First Name");
const QString kLastNameValue = QStringLiteral("Last Name");
const QString kEmailValue = QStringLiteral("Email");

// The pause before the upload and before the file is removed, in ms.
constexpr unsigned long kPauseMs = 100;

TFrmApproveTranslation::TUploader& Uploader() {
  static TFrmApproveTranslation::TUploader uploader;
  return uploader;
}

// Hands the file to the uploader under a new name; a missing or failing
// uploader is a server that cannot be reached.
bool Upload(const QString& szLocalFile) {
  const TFrmApproveTranslation::TUploader& upload = Uploader();
  if (!upload) return false;
  try {
    return upload(szLocalFile, LTTranslationApproval::NewUploadName());
  } catch (...) {
    return false;
  }
}

// Writes the approval line to a temporary file and uploads it, telling the
// user how it went. The file is removed after the upload (or, should it
// never get that far, when it goes out of scope).
void SendApproval(QWidget* pParent, const QByteArray& arLine) {
  QTemporaryFile file(QDir(QDir::tempPath()).filePath(QStringLiteral("approval-XXXXXX.txt")));
  if (!file.open() || file.write(arLine) != arLine.size() || !file.flush()) {
    TBaseMsg::DisplayError(pParent,
                           TBaseMsg::Tr("Unable to prepare approval for sending. Please contact your Norvane representative"));
    return;
  }
  file.close();
  QThread::msleep(kPauseMs);
  const bool sent = Upload(file.fileName());
  QThread::msleep(kPauseMs);
  file.remove();
  if (!sent) {
    TBaseMsg::DisplayError(
        pParent, TBaseMsg::Tr("Unable to connect to the Corvel upload server at this time. Please try again later"));
    return;
  }
  TBaseMsg::DisplayHint(pParent, TBaseMsg::Tr("Approval has been sent"));
}

QString ReadAffiliateValue(const QString& szName) {
  CTRegistry registry;
  if (!registry.OpenKey(kAffiliateKey, false)) return {};
  return registry.ReadString(szName).value_or(QString());
}

QLineEdit* AddField(QFormLayout* pForm, QWidget* pParent, const char* szName, const char* szLabel,
                    const char* szHint, const QString& szValue) {
  auto* edit = new QLineEdit(szValue, pParent);
  edit->setObjectName(QString::fromLatin1(szName));
  edit->setToolTip(TBaseMsg::Tr(szHint));
  pForm->addRow(TBaseMsg::Tr(szLabel), edit);
  return edit;
}

}  // namespace

void TFrmApproveTranslation::SetUploader(TUploader pUploader) { Uploader() = std::move(pUploader); }

TFrmApproveTranslation::TFrmApproveTranslation(QWidget* pOwner) : TBasicDialog(pOwner, false) {
  setObjectName(QStringLiteral("TFrmApproveTranslation"));
  setWindowTitle(ApplicationUtils::Title());
  auto* layout = new QVBoxLayout(this);

  Lbl_PageCaption = new QLabel(ApplicationUtils::Title() + QLatin1Char(' ') + ApplicationUtils::Version(), this);
  Lbl_PageCaption->setObjectName(QStringLiteral("Lbl_PageCaption"));
  QFont bold = Lbl_PageCaption->font();
  bold.setBold(true);
  Lbl_PageCaption->setFont(bold);
  layout->addWidget(Lbl_PageCaption);

  Txt_Info = new QPlainTextEdit(this);
  Txt_Info->setObjectName(QStringLiteral("Txt_Info"));
  Txt_Info->setReadOnly(true);
  const QStringList info = {
      TBaseMsg::Tr("Approve the translation of this program."),
      TBaseMsg::Tr("After your approval the translation will be available for download on the Corvel server."),
      QString(),
      TBaseMsg::Tr("Caution: Make sure you have not renamed the executable file you have downloaded for approval."),
  };
  ShowInMemo(info.join(QLatin1Char('\n')), Txt_Info, info.size());
  layout->addWidget(Txt_Info);

  auto* build = new QFormLayout;
  Lbl_ProgramName = new QLabel(QFileInfo(QCoreApplication::applicationFilePath()).fileName(), this);
  Lbl_ProgramName->setObjectName(QStringLiteral("Lbl_ProgramName"));
  build->addRow(TBaseMsg::Tr("Program name"), Lbl_ProgramName);
  Lbl_Language = new QLabel(CTLangSupport::EnglishLanguageName(CTLangSupport::UILanguage()), this);
  Lbl_Language->setObjectName(QStringLiteral("Lbl_Language"));
  build->addRow(TBaseMsg::Tr("Language"), Lbl_Language);
  layout->addLayout(build);

  auto* affiliate = new QGroupBox(TBaseMsg::Tr("Norvane affiliate approving the translation"), this);
  auto* form = new QFormLayout(affiliate);
  Txt_FirstName = AddField(form, affiliate, "Txt_FirstName", "First name", "Please enter your first name",
                           ReadAffiliateValue(kFirstNameValue));
  Txt_LastName = AddField(form, affiliate, "Txt_LastName", "Last name", "Please enter your last name",
                          ReadAffiliateValue(kLastNameValue));
  Txt_Email = AddField(form, affiliate, "Txt_Email", "E-mail", "Please enter your e-mail address",
                       ReadAffiliateValue(kEmailValue));
  layout->addWidget(affiliate);

  Frm_Bottom = new TFraBottomPanelExt(this);
  Frm_Bottom->OkButton()->setText(TBaseMsg::Tr("Approve"));
  layout->addWidget(Frm_Bottom);
  Loaded();
}

int TFrmApproveTranslation::ApproveTranslation(QWidget* pOwner) {
  TFrmApproveTranslation dialog(pOwner);
  return dialog.Execute();
}

bool TFrmApproveTranslation::ValidateDialog() {
  LTTranslationApproval approval;
  approval.v_program = Lbl_ProgramName->text();
  approval.v_version = ApplicationUtils::Version();
  approval.v_language = CTLangSupport::UILanguage();
  approval.v_firstName = Txt_FirstName->text().trimmed();
  approval.v_lastName = Txt_LastName->text().trimmed();
  approval.v_email = Txt_Email->text().trimmed();
  if (!LTTranslationApproval::IsValidEmail(approval.v_email)) {
    TBaseMsg::DisplayError(
        this, TBaseMsg::ReplaceParams(TBaseMsg::Tr("'$1' does not appear to be a valid e-mail address"), {approval.v_email}));
    return false;
  }

  SendApproval(this, approval.Line());

  // Kept for the next approval, whatever became of this one.
  CTRegistry registry;
  if (registry.OpenKey(kAffiliateKey, true)) {
    registry.WriteString(kFirstNameValue, approval.v_firstName);
    registry.WriteString(kLastNameValue, approval.v_lastName);
    registry.WriteString(kEmailValue, approval.v_email);
  }
  return true;
}
