// The window's project files: Open, Save, the recent-files menu and the
// project named on the command line. The file format and the mapping
// between a file and a selection live in the selection library.

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
  if (kind == TDlgSelect::FileKind::kClimate)
    return QFileDialog::getOpenFileName(pParent, TBaseMsg::Tr(QStringLiteral("Choose the weather of the year")), szStart,
                                        TBaseMsg::Tr(QStringLiteral("Weather files (*.epw *.csv)")) +
                                            QStringLiteral(";;All files (*)"));
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
  // A weather file: beside the one in use, else in the project's folder;
  // opened as named.
  if (kind == FileKind::kClimate) {
    const QFileInfo climate(CurrentRequest().annual.climate);
    return Chooser()(this, kind, climate.isFile() ? climate.absolutePath() : projectFolder);
  }
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
  // The options the inputs call for are among the used ones.
  const std::optional<CTHRXProjectData> project = v_form ? v_form->Project() : std::nullopt;
  if (!project) {
    TBaseMsg::DisplayError(this, kMsgNoUnitToSave);
    return false;
  }
  if (Ctl_Pages->currentWidget() == Tab_Results) FillOptions();
  LTProjectError error;
  if (!CTHRXProjectIO::WriteProjectData(szPath, *project, error)) {
    TBaseMsg::DisplayError(this, error.Text());
    return false;
  }
  SetProjectFileName(szPath);
  if (v_recentList) v_recentList->Add(szPath);
  UpdateRecentMenu(szPath);
  return true;
}

bool TDlgSelect::LoadProject(const QString& szPath) {
  if (!v_form) return false;
  CTHRXProjectData project;
  ProjectFormat format;
  LTProjectError error;
  if (!CTHRXProjectIO::ReadProjectData(szPath, CTProjectMapping::OptionIdentities(*v_session), project, format, error)) {
    TBaseMsg::DisplayError(this, error.Text());
    return false;
  }
  // The form applies it as the command line does: inputs, the run, the
  // stored unit at its speeds with its options and heater options.
  QString why;
  if (!v_form->ApplyProject(project, why)) {
    TBaseMsg::DisplayError(this, LTProjectError{42, szPath, why}.Text());
    return false;
  }
  SetProjectFileName(szPath);
  if (v_recentList) v_recentList->Add(szPath);
  UpdateRecentMenu(szPath);
  return true;
}
