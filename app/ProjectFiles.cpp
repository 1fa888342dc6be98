// The window's project files: Open, Save, the recent-files menu and the
// project named on the command line. The file format and the mapping
// between a file and a selection live in the selection library.

#include "app/FrameTempConditions.h"
#include "app/Frame_UnitTextScroll.h"
#include "app/DlgSelect.h"
#include "docs/Preferences.h"
#include "catalogue/ClHRX.h"
#include "i18n/BaseMsgMan.h"
#include "selection/ProjectFile.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QMenu>
#include <QRadioButton>
#include <QTabWidget>
#include <QTreeWidget>

#include <algorithm>

namespace {

constexpr int kMsgFileNotFound = -1;
constexpr int kMsgNoUnitToSave = 57;
constexpr int kRecentEntries = 10;
constexpr int kRecentCaptionPixels = 320;
const char kRecentKey[] = "Software\\Norvane\\Hi-Trivane Selection\\Aerolith";

QString DialogChooser(QWidget* pParent, TDlgSelect::FileKind kind, const QString& szStart) {
  if (kind == TDlgSelect::FileKind::kReport) {
    // The file type chosen decides the format; a name without a suffix gets
    // that type's.
    const QString pdf = TBaseMsg::Tr(QStringLiteral("PDF documents (*.pdf)"));
    QString filter;
    QString chosen = QFileDialog::getSaveFileName(
        pParent, TBaseMsg::Tr(QStringLiteral("Report")), szStart,
        QStringLiteral("Report files (*.rtf);;") + pdf + QStringLiteral(";;All files (*)"), &filter);
    if (!chosen.isEmpty() && QFileInfo(chosen).suffix().isEmpty() && filter == pdf) chosen += QStringLiteral(".pdf");
    return chosen;
  }
  if (kind == TDlgSelect::FileKind::kMaterialList)
    return QFileDialog::getSaveFileName(pParent, TBaseMsg::Tr(QStringLiteral("Material List XML Export")), szStart,
                                        QStringLiteral("XML Spreadsheet 2003 files (*.xml);;All files (*)"));
  if (kind == TDlgSelect::FileKind::kSaveProject)
    return QFileDialog::getSaveFileName(pParent, TBaseMsg::Tr(QStringLiteral("Enter a file name to save the current Aerolith data")),
                                        szStart,
                                        QStringLiteral("Aerolith Project files (*.ven);;All files (*)"));
  return QFileDialog::getOpenFileName(pParent, TBaseMsg::Tr(QStringLiteral("Enter a file name to load project data from")), szStart,
                                      TBaseMsg::Tr(QStringLiteral("Aerolith Project Files (*.ven)")));
}

TDlgSelect::FileChooser& Chooser() {
  static TDlgSelect::FileChooser chooser = DialogChooser;
  return chooser;
}

}  // namespace

void TDlgSelect::SetFileChooser(FileChooser fnChooser) { Chooser() = fnChooser ? std::move(fnChooser) : DialogChooser; }

QString TDlgSelect::ChooseFile(FileKind kind) {
  // The preferred folder of projects or reports, when it exists, wins; else
  // the current project's folder (its file when saving), else home.
  const bool reports = kind == FileKind::kMaterialList || kind == FileKind::kReport;
  const QString projectFolder =
      v_projectFileName.isEmpty() ? QDir::homePath() : QFileInfo(v_projectFileName).absolutePath();
  const bool saveProject = kind == FileKind::kSaveProject && !v_projectFileName.isEmpty();
  QString start = CTPreferences::StartFolder(reports, QString());
  if (start.isEmpty())
    start = saveProject ? v_projectFileName : projectFolder;
  else if (saveProject)
    start = QDir(start).filePath(QFileInfo(v_projectFileName).fileName());
  QString chosen = Chooser()(this, kind, start);
  // The default extension of the file type.
  if (kind != FileKind::kOpenProject && !chosen.isEmpty() && QFileInfo(chosen).suffix().isEmpty())
    chosen += kind == FileKind::kMaterialList ? QStringLiteral(".xml")
              : kind == FileKind::kReport     ? QStringLiteral(".rtf")
                                              : QStringLiteral(".ven");
  return chosen;
}

// ---------------------------------------------------------------- commands

void TDlgSelect::OpenProject() {
  if (!AskSaveChanges()) return;
  const QString chosen = ChooseFile(FileKind::kOpenProject);
  if (chosen.isEmpty()) return;  // nothing opened: the unsaved flag stays
  ShowPage(Tab_Selection);
  if (LoadProject(chosen)) v_dataHaveChanged = false;
}

bool TDlgSelect::SaveInteractively(bool bUseCurrentPath) {
  QString path = bUseCurrentPath ? v_projectFileName : QString();
  if (path.isEmpty()) {
    path = ChooseFile(FileKind::kSaveProject);
    if (path.isEmpty()) return false;
  }
  // The flag goes only when the file was really written.
  if (!SaveProject(path)) return false;
  v_dataHaveChanged = false;
  return true;
}

void TDlgSelect::ReopenRecentFile(const QString& szPath) {
  if (!AskSaveChanges()) return;
  if (szPath.isEmpty()) return;
  if (!QFileInfo(szPath).isFile()) {
    TBaseMsg::DisplayError(this, kMsgFileNotFound, szPath);
    if (v_recentList) v_recentList->Remove(szPath);
    UpdateRecentMenu(v_projectFileName);
    return;
  }
  if (!LoadProject(szPath)) return;
  ShowPage(Tab_Selection);
  v_dataHaveChanged = false;
}

// ---------------------------------------------------------------- recent files

void TDlgSelect::CreateRecentList() {
  v_recentList = std::make_unique<CTRecentList>(kRecentEntries, QString::fromLatin1(kRecentKey));
  UpdateRecentMenu();
}

void TDlgSelect::UpdateRecentMenu(const QString& szExcludeFile) {
  Mnu_PopupReopen->clear();
  if (!v_recentList) return;
  const QFontMetrics metrics(Mnu_PopupReopen->font());
  const auto elide = [&metrics](const QString& path) {
    return metrics.elidedText(path, Qt::ElideMiddle, kRecentCaptionPixels);
  };
  int n = 0;
  for (const QString& path : v_recentList->GetEntries()) {
    if (path == szExcludeFile) continue;
    ++n;
    QAction* entry = Mnu_PopupReopen->addAction(CTRecentList::MenuCaption(n, path, elide));
    entry->setObjectName(QStringLiteral("MRU%1").arg(n));
    entry->setData(path);
    entry->setStatusTip(path);
    entry->setToolTip(path);
    connect(entry, &QAction::triggered, this, [this, path] {
      CommitEditing();
      ReopenRecentFile(path);
    });
  }
  Mnu_PopupReopen->setEnabled(n > 0);
}

// ---------------------------------------------------------------- reading and writing

bool TDlgSelect::SaveProject(const QString& szPath) {
  if (!v_currHRX) {
    TBaseMsg::DisplayError(this, kMsgNoUnitToSave);
    return false;
  }
  // The options the inputs call for are among the used ones.
  FillOptions();
  const CTHRXProjectData project = CTProjectMapping::ProjectOf(CurrentRequest(), *v_currHRX);
  LTProjectError error;
  if (!CTHRXProjectIO::WriteProjectData(szPath, project, error)) {
    TBaseMsg::DisplayError(this, error.Text());
    return false;
  }
  SetProjectFileName(szPath);
  if (v_recentList) v_recentList->Add(szPath);
  UpdateRecentMenu(szPath);
  return true;
}

bool TDlgSelect::LoadProject(const QString& szPath) {
  if (!v_session) return false;
  CTHRXProjectData project;
  ProjectFormat format;
  LTProjectError error;
  if (!CTHRXProjectIO::ReadProjectData(szPath, CTProjectMapping::OptionIdentities(*v_session), project, format, error)) {
    TBaseMsg::DisplayError(this, error.Text());
    return false;
  }
  const int familyIndex = Txt_Family->findData(project.v_intfV0.v_family);
  if (familyIndex < 0) {
    TBaseMsg::DisplayError(this, LTProjectError{42, szPath,
                                                QStringLiteral("The catalogue has no units of family %1.")
                                                    .arg(project.v_intfV0.v_family)}
                                     .Text());
    return false;
  }
  SetProjectFileName(szPath);
  if (v_recentList) v_recentList->Add(szPath);
  UpdateRecentMenu(szPath);

  const SelectionRequest r = CTProjectMapping::ToRequest(project, CurrentRequest());
  // The file's family and its ranges first, so that its airflows and ESPs
  // are never clamped to the previous family's limits; no run until every
  // input is in.
  v_loading = true;
  Txt_Family->setCurrentIndex(familyIndex);
  Txt_FamilyClick();
  v_converting = true;

  const bool totals = r.basis == AirflowBasis::kTotals;
  const bool persons = r.basis == AirflowBasis::kByPersons;
  Chk_TotalSupply->setChecked(totals);
  RB_NumberOfPersons->setChecked(persons);
  RB_AreaPerPerson->setChecked(!persons);
  RB_AreaPerPerson->setEnabled(!totals);
  RB_NumberOfPersons->setEnabled(!totals);
  Frm_Airflow->EnableIt(!totals);
  Frm_RoomSurface->EnableIt(!totals && !persons);
  Frm_AreaPerPerson->EnableIt(!totals && !persons);
  Frm_NumberOfPersons->EnableIt(!totals && persons);
  Frm_TotalSupply->EnableIt(totals);
  Chk_TotalExhaust->setChecked(r.exhaustGiven);
  Frm_TotalExhaust->EnableIt(r.exhaustGiven);
  Frm_Airflow->SetVal(r.airflowPerPersonLs);
  Frm_RoomSurface->SetVal(r.roomSurfaceM2);
  Frm_AreaPerPerson->SetVal(r.areaPerPersonM2);
  Frm_NumberOfPersons->SetVal(r.persons);
  Frm_TotalSupply->SetVal(r.totalSupplyLs);
  Frm_TotalExhaust->SetVal(r.totalExhaustLs);
  Chb_UpsideDown->setChecked(r.upsideDown);
  (r.plenum == PlenumArrangement::kAll              ? Rbn_PlenumAll
   : r.plenum == PlenumArrangement::kOutdoorExhaust ? Rbn_PlenumOAEA
                                                    : Rbn_PlenumNone)
      ->setChecked(true);
  Frm_Altitude->SetVal(r.altitudeM);
  Txt_SupplyFilter->setCurrentIndex(r.supplyFilter);
  Frm_DesignSupplyESP->SetVal(r.supplyEspPa);
  Txt_ExhaustFilter->setCurrentIndex(r.exhaustFilter);
  Frm_DesignExhaustESP->SetVal(r.exhaustEspPa);
  // The conditions convert humidities at the site's altitude.
  v_air->SetAltitude(r.altitudeM);
  const auto apply = [](TFrm_TempConditions* frame, const CTHRXProjectModeData& m, const LTModeInputs& inputs) {
    frame->ShowHumidityAs(true, inputs.room.humidityMode);
    frame->ShowHumidityAs(false, inputs.outdoor.humidityMode);
    // No air holds less than 0 % or more than 100 %; the request takes the same.
    const auto humidity = [](double rh) { return std::clamp(rh, 0.0, 100.0); };
    frame->SetSelection(m.v_indoorDBT, humidity(m.v_indoorRH), m.v_ambientDBT, humidity(m.v_ambientRH), m.v_userInletHeater,
                        m.v_userSupplyTemp, m.v_userSupplyHeater);
    if (inputs.dischargeGiven) frame->SetDischargeValue(inputs.dischargeC);
  };
  apply(Frm_CoolTempConditions, project.v_intfV0.v_coolingData, r.cooling);
  apply(Frm_HeatTempConditions, project.v_intfV0.v_heatingData, r.heating);
  v_converting = false;
  v_loading = false;

  // The choices made in the selection that was open belong to it.
  v_optionChoices.Clear();
  // The run makes the stored unit at its speeds current when it is still a
  // candidate, with the options used on it; otherwise the first candidate.
  const LTProjectUnit unit = CTProjectMapping::Unit(project);
  v_openingUnit = unit;
  CalcSupply();
  v_openingUnit.reset();
  if (v_currHRX && CTProjectMapping::FindCandidate(v_result, unit) == v_result.candidates.IndexOf(v_currHRX)) {
    CTProjectMapping::RestoreOptions(*v_currHRX, unit);
    v_optionChoices.Keep(*v_currHRX);
  }
  // A heater option the file chose is that option again, taken as the
  // user's choice, as the command line takes it.
  if (v_currHRX) {
    bool retake = false;
    for (const auto& [frame, stored] : {std::pair{Frm_CoolTempConditions, r.cooling}, std::pair{Frm_HeatTempConditions, r.heating}}) {
      LTModeInputs mode = stored;
      CTProjectMapping::TakeHeaterOption(mode, *v_currHRX, unit);
      if (mode.inletHeater != HeaterChoice::kOption) continue;
      frame->TakeHeaterOption(mode.inletOptionID);
      retake = retake || frame->GetSelectedHeaterOption() != mode.inletOptionID;
    }
    if (retake) LV_SelectedDevicesClick();
  }
  FillOptions();
  return true;
}
