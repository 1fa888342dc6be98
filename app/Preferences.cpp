#include "app/Preferences.h"

#include "charts/ChartSetup.h"
#include "charts/PsychroGraph.h"
#include "docs/Preferences.h"
#include "platform/VersionUtils.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

constexpr int kImperialServer = 2;

// The ten groups of the Units tab, in their order, with their objects'
// names and the imperial unit of each.
struct LTGroupDef {
  U_RepUnit unit;
  const char* name;
  const char* caption;  // empty: the unit's own caption
  const char* imperial;
};
const LTGroupDef kGroups[] = {
    {U_Temperature, "Grb_Temperature", "", "°F"},  {U_Length, "Grb_Lengths", "", "ft"},
    {U_Surface, "Grb_Surface", "", "ft²"},          {U_Mass, "Grb_Weight", "", "lbs"},
    {U_ShortLength, "Grb_Diameters", "Diameters", "inch"}, {U_Humidity, "Grb_AbsoluteHumidity", "", "GPP"},
    {U_Enthalpy, "Grb_Enthalpy", "", "BTU/lbs"},    {U_Airflow, "Grb_AirFlow", "", "CFM"},
    {U_Power, "Grb_Power", "", "BTU/h"},            {U_Pressure, "Grb_Pressure", "", "inH2O"},
};

const char* const kProjectHint = "Choose a directory for saving projects";
const char* const kReportHint = "Choose a directory for saving reports";

}  // namespace

// ---------------------------------------------------------------- material list

TFrmXMLMatListSettings::TFrmXMLMatListSettings(QWidget* pParent)
    : QGroupBox(QStringLiteral("Material List XML Export"), pParent) {
  setObjectName(QStringLiteral("Frm_MatList"));
  auto* layout = new QHBoxLayout(this);
  Chb_UseSectHeader = new QCheckBox(QStringLiteral("Use section header"), this);
  Chb_UseSectHeader->setObjectName(QStringLiteral("Chb_UseSectHeader"));
  Chb_UseSectHeader->setToolTip(QStringLiteral("Start the material list with a section header row"));
  Txt_SectHeader = new QLineEdit(this);
  Txt_SectHeader->setObjectName(QStringLiteral("Txt_SectHeader"));
  Txt_SectHeader->setToolTip(QStringLiteral("The text of the section header row"));
  layout->addWidget(Chb_UseSectHeader);
  layout->addWidget(Txt_SectHeader, 1);
  connect(Chb_UseSectHeader, &QCheckBox::toggled, this, [this] { Chb_UseSectHeaderClick(); });
}

void TFrmXMLMatListSettings::Initialize() {
  const LTMaterialListSettings& s = CTPreferences::MaterialList();
  Chb_UseSectHeader->setChecked(s.useSectionHeader);
  Txt_SectHeader->setText(s.sectionHeader);
  Chb_UseSectHeaderClick();
}

void TFrmXMLMatListSettings::StoreSettings() const {
  LTMaterialListSettings s = CTPreferences::MaterialList();
  s.useSectionHeader = Chb_UseSectHeader->isChecked();
  if (s.useSectionHeader) s.sectionHeader = Txt_SectHeader->text();
  CTPreferences::SetMaterialList(s);
}

void TFrmXMLMatListSettings::Chb_UseSectHeaderClick() {
  Txt_SectHeader->setEnabled(Chb_UseSectHeader->isEnabled() && Chb_UseSectHeader->isChecked());
}

// ---------------------------------------------------------------- the dialog

TFrm_Preferences::TFrm_Preferences(QWidget* pParent) : TBasicDialog(pParent, false) {
  setObjectName(QStringLiteral("TFrm_Preferences"));
  setWindowTitle(QStringLiteral("Preferences"));
  auto* layout = new QVBoxLayout(this);
  auto* tabs = new QTabWidget(this);
  tabs->setObjectName(QStringLiteral("Ctl_Preferences"));
  layout->addWidget(tabs);

  // Units: one group per kind of quantity, one choice per dimension.
  auto* units = new QWidget(tabs);
  auto* grid = new QGridLayout(units);
  for (std::size_t i = 0; i < std::size(kGroups); ++i) {
    const LTGroupDef& def = kGroups[i];
    const CTUnitData* data = TU_Form::Unit(def.unit);
    auto* box = new QGroupBox(*def.caption ? QString::fromUtf8(def.caption) : (data ? data->v_Caption : QString()), units);
    box->setObjectName(QString::fromLatin1(def.name));
    auto* column = new QVBoxLayout(box);
    auto* buttons = new QButtonGroup(box);
    for (int d = 0; data && d < data->Count(); ++d) {
      auto* choice = new QRadioButton(data->v_Dimensions[d]->v_Caption, box);
      buttons->addButton(choice, d);
      column->addWidget(choice);
    }
    column->addStretch(1);
    grid->addWidget(box, int(i) / 5, int(i) % 5);
    v_groups.push_back({def.unit, box, buttons});
  }
  tabs->addTab(units, QStringLiteral("Units"));

  // Diagrams.
  auto* diagrams = new QWidget(tabs);
  auto* diagramLayout = new QVBoxLayout(diagrams);
  RB_Psychrometric = new QRadioButton(QStringLiteral("Psychrometric diagram"), diagrams);
  RB_Psychrometric->setObjectName(QStringLiteral("RB_Psychrometric"));
  RB_Mollier = new QRadioButton(QStringLiteral("Mollier diagram"), diagrams);
  RB_Mollier->setObjectName(QStringLiteral("RB_Mollier"));
  diagramLayout->addWidget(RB_Psychrometric);
  diagramLayout->addWidget(RB_Mollier);
  diagramLayout->addStretch(1);
  tabs->addTab(diagrams, QStringLiteral("Diagrams"));

  // Reports: the folders, then the material list.
  auto* reports = new QWidget(tabs);
  auto* reportLayout = new QVBoxLayout(reports);
  auto* paths = new QGroupBox(QStringLiteral("Paths"), reports);
  auto* pathGrid = new QGridLayout(paths);
  const auto pathRow = [&](int row, const char* caption, const char* hint, QLabel*& label, QPushButton*& browse,
                           bool bReports) {
    pathGrid->addWidget(new QLabel(QString::fromUtf8(caption), paths), row, 0);
    label = new QLabel(paths);
    label->setObjectName(bReports ? QStringLiteral("Lbl_ReportPath") : QStringLiteral("Lbl_ProjectPath"));
    label->setMinimumWidth(260);
    pathGrid->addWidget(label, row, 1);
    browse = new QPushButton(QStringLiteral("Browse..."), paths);
    browse->setToolTip(QString::fromUtf8(hint));
    auto* clear = new QPushButton(QStringLiteral("Clear"), paths);
    clear->setObjectName(bReports ? QStringLiteral("Btn_ClearReportPath") : QStringLiteral("Btn_ClearProjectPath"));
    pathGrid->addWidget(browse, row, 2);
    pathGrid->addWidget(clear, row, 3);
    connect(browse, &QPushButton::clicked, this, [this, bReports, hint] {
      const QString chosen = QFileDialog::getExistingDirectory(this, QString::fromUtf8(hint), ShownPath(bReports));
      if (!chosen.isEmpty()) ShowPath(bReports, chosen);
    });
    connect(clear, &QPushButton::clicked, this, [this, bReports] { ShowPath(bReports, QString()); });
  };
  pathRow(0, "Project files", kProjectHint, Lbl_ProjectPath, Btn_BrowseProjectPath, false);
  pathRow(1, "Report files", kReportHint, Lbl_ReportPath, Btn_BrowseReportPath, true);
  reportLayout->addWidget(paths);
  Frm_MatList = new TFrmXMLMatListSettings(reports);
  reportLayout->addWidget(Frm_MatList);
  reportLayout->addStretch(1);
  tabs->addTab(reports, QStringLiteral("Reports"));

  // "Restore Defaults" on the row of OK and Cancel, on the left.
  auto* bottom = new QHBoxLayout;
  auto* defaults = new QPushButton(QStringLiteral("Restore Defaults"), this);
  defaults->setObjectName(QStringLiteral("Btn_Defaults"));
  bottom->addWidget(defaults);
  bottom->addStretch(1);
  auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  bottom->addWidget(box);
  layout->addLayout(bottom);
  connect(defaults, &QPushButton::clicked, this, [this] { Btn_DefaultsClick(); });
  connect(box, &QDialogButtonBox::accepted, this, [this] { Btn_OKClick(); });
  connect(box, &QDialogButtonBox::rejected, this, [this] { Btn_CancelClick(); });
  Loaded();
}

void TFrm_Preferences::SetupDialog() {
  CTPreferences::ReadRegistry();
  for (const LTUnitGroup& g : v_groups) ChooseDimension(g.unit, TU_Form::GetNewIndex(g.unit));
  (TAirPropDiagram::Settings().psychrometric ? RB_Psychrometric : RB_Mollier)->setChecked(true);
  ShowPath(false, CTPreferences::PrefProjectPath());
  ShowPath(true, CTPreferences::PrefReportPath());
  // The section header belongs to the builds for servers 0 and 10.
  Frm_MatList->setVisible(LTMaterialListSettings::HeaderSettingsApply());
  Frm_MatList->Initialize();
  TBasicDialog::SetupDialog();
}

int TFrm_Preferences::ChosenDimension(U_RepUnit nUnit) const {
  for (const LTUnitGroup& g : v_groups)
    if (g.unit == nUnit) return g.buttons->checkedId();
  return -1;
}

void TFrm_Preferences::ChooseDimension(U_RepUnit nUnit, int nIndex) {
  for (const LTUnitGroup& g : v_groups)
    if (g.unit == nUnit)
      if (QAbstractButton* b = g.buttons->button(nIndex)) b->setChecked(true);
}

void TFrm_Preferences::ShowPath(bool bReports, const QString& szFolder) {
  QLabel* label = bReports ? Lbl_ReportPath : Lbl_ProjectPath;
  QPushButton* browse = bReports ? Btn_BrowseReportPath : Btn_BrowseProjectPath;
  QString& stored = bReports ? v_reportPath : v_projectPath;
  if (!szFolder.isEmpty() && QDir(szFolder).exists()) {
    const QString native = QDir::toNativeSeparators(szFolder);
    label->setText(label->fontMetrics().elidedText(native, Qt::ElideMiddle, label->width()));
    label->setToolTip(native);
    stored = szFolder;
  } else {
    label->setText(browse->toolTip());
    label->setToolTip(QString());
    stored.clear();
  }
}

QString TFrm_Preferences::ShownPath(bool bReports) const { return bReports ? v_reportPath : v_projectPath; }

void TFrm_Preferences::Btn_DefaultsClick() {
  const bool imperial = CTVersionUtils::CorvelServerID() == kImperialServer;
  for (const LTGroupDef& def : kGroups) {
    int index = 0;
    const CTUnitData* data = TU_Form::Unit(def.unit);
    for (int d = 0; imperial && data && d < data->Count(); ++d)
      if (data->v_Dimensions[d]->v_Caption == QString::fromUtf8(def.imperial)) index = d;
    ChooseDimension(def.unit, index);
  }
  // The diagram's kind and colours go back at once, whichever button closes.
  RB_Psychrometric->setChecked(true);
  TAirPropDiagram::RestoreRegistryDefaults();
  TAirPropDiagram::LegendToRegistry(QString::fromLatin1(CTChartSetup::kPreferencesKey));
}

bool TFrm_Preferences::ValidateDialog() {
  for (const LTUnitGroup& g : v_groups)
    if (g.buttons->checkedId() >= 0) TU_Form::SetNewIndex(g.unit, g.buttons->checkedId());
  TAirPropDiagram::Settings().psychrometric = RB_Psychrometric->isChecked();
  TAirPropDiagram::LegendToRegistry(QString::fromLatin1(CTChartSetup::kPreferencesKey));
  CTPreferences::SetPrefProjectPath(v_projectPath);
  CTPreferences::SetPrefReportPath(v_reportPath);
  if (!Frm_MatList->isHidden()) Frm_MatList->StoreSettings();
  CTPreferences::WriteRegistry();
  return true;
}
