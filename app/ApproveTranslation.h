#pragma once
// TFrmApproveTranslation: a Norvane affiliate approves the translation of an
// approval build. OK ("Approve") checks the e-mail address, writes the
// approval line (LTTranslationApproval) to a temporary file and hands it to
// the uploader under a new name (LTTranslationApproval::NewUploadName); the
// affiliate's name and address are kept under "Software\Norvane" for the
// next time, whether or not the upload succeeded.

#include "app/BasicDlg.h"

#include <functional>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class TFraBottomPanelExt;

class TFrmApproveTranslation : public TBasicDialog {
  Q_OBJECT
 public:
  // Sends the file szLocalFile to the upload server of the build, where it
  // is stored as szTargetName; true when the server took it.
  using TUploader = std::function<bool(const QString& szLocalFile, const QString& szTargetName)>;
  // Process-wide; none (the default) means the upload server cannot be reached.
  static void SetUploader(TUploader pUploader);

  explicit TFrmApproveTranslation(QWidget* pOwner);

  // Shows the dialog modally and answers its result (1 after Approve).
  static int ApproveTranslation(QWidget* pOwner);

 protected:
  bool ValidateDialog() override;

 private:
  QPlainTextEdit* Txt_Info = nullptr;
  QLabel* Lbl_PageCaption = nullptr;
  QLabel* Lbl_ProgramName = nullptr;
  QLabel* Lbl_Language = nullptr;
  QLineEdit* Txt_FirstName = nullptr;
  QLineEdit* Txt_LastName = nullptr;
  QLineEdit* Txt_Email = nullptr;
  TFraBottomPanelExt* Frm_Bottom = nullptr;
};
