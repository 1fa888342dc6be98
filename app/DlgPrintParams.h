#pragma once
// "Print Parameters": the distributor's name and address lines and logo
// that printed reports carry in their header and footer.

#include "app/BasicDlg.h"

class QLabel;
class QLineEdit;
class QPushButton;

class TDlgPrintParams : public TBasicDialog {
  Q_OBJECT
 public:
  explicit TDlgPrintParams(QWidget* pParent);
  // The logo file the dialog shows (Browse sets it, Clear empties it).
  void SetLogoFile(const QString& szPath);
  QString LogoFile() const { return v_logoFile; }

 protected:
  bool ValidateDialog() override;

 private:
  void ShowLogo();

  QLineEdit* v_lines[3] = {};
  QLabel *v_preview = nullptr, *v_fileName = nullptr, *v_size = nullptr;
  QPushButton* v_clear = nullptr;
  QString v_logoFile;
};
