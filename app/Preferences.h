#pragma once
// "Preferences": the unit of every kind of quantity, the diagram kind, the
// folders of projects and reports, and the material list's section header.
// OK applies and stores them; the main window then shows its values in the
// new units.

#include "app/BasicDlg.h"
#include "psychro/SI_Units.h"

#include <QGroupBox>

#include <vector>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The material list's settings as a frame: of them, this program shows the
// section header only.
class TFrmXMLMatListSettings : public QGroupBox {
  Q_OBJECT
 public:
  explicit TFrmXMLMatListSettings(QWidget* pParent);
  // From the settings in effect (CTPreferences).
  void Initialize();
  // Into the settings in effect.
  void StoreSettings() const;
  void Chb_UseSectHeaderClick();

  QCheckBox* Chb_UseSectHeader = nullptr;
  QLineEdit* Txt_SectHeader = nullptr;
};

class TFrm_Preferences : public TBasicDialog {
  Q_OBJECT
 public:
  explicit TFrm_Preferences(QWidget* pParent);

  // The dimension chosen for a kind of quantity, as the dialog shows it.
  int ChosenDimension(U_RepUnit nUnit) const;
  void ChooseDimension(U_RepUnit nUnit, int nIndex);
  void Btn_DefaultsClick();
  // Shows a folder in its label (empty: the browse button's hint).
  void ShowPath(bool bReports, const QString& szFolder);
  QString ShownPath(bool bReports) const;

  QRadioButton *RB_Psychrometric = nullptr, *RB_Mollier = nullptr;
  TFrmXMLMatListSettings* Frm_MatList = nullptr;

 protected:
  void SetupDialog() override;
  bool ValidateDialog() override;

 private:
  struct LTUnitGroup {
    U_RepUnit unit;
    QGroupBox* box;
    QButtonGroup* buttons;
  };
  std::vector<LTUnitGroup> v_groups;
  QLabel *Lbl_ProjectPath = nullptr, *Lbl_ReportPath = nullptr;
  QPushButton *Btn_BrowseProjectPath = nullptr, *Btn_BrowseReportPath = nullptr;
  QString v_projectPath, v_reportPath;  // what OK stores
};
