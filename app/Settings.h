#pragma once
// TDlgSelect: the main window. It holds the open selection (inputs, candidate
// units, the current unit and the computed air states) and the commands of
// its toolbar. Everything it shows is computed by the libraries below it.

#include "psychro/Air.h"

#include <QMainWindow>

#include <array>
#include <memory>

class QAction;
class QMenu;
class QTabWidget;
class QToolBar;

// Not-given marker of inputs and stored values.
constexpr double kMissingValue = -2147483647.0;

// One air state.
struct RepPsychroPoint {
  double DBT = 0;  // dry-bulb temperature, degC
  double RH = 0;   // relative humidity, %
  double AH = 0;   // humidity ratio, kg/kg
  double e = 0;    // enthalpy, kJ/kg
};

// The eight air states of one mode, in the order RA, OA, EA, SA, VI, VO, CI, HI.
using ALPsychroSet = std::array<RepPsychroPoint, 8>;

class TDlgSelect : public QMainWindow {
  Q_OBJECT
 public:
  // Client size at design time, at 120 pixels per inch.
  static constexpr int kDesignWidth = 1264;
  static constexpr int kDesignHeight = 701;
  static constexpr int kDesignPixelsPerInch = 120;
  static constexpr int kDesignFontPixels = 13;

  explicit TDlgSelect(QWidget* pParent = nullptr);
  ~TDlgSelect() override;

  QTabWidget* Pages() const { return Ctl_Pages; }
  QAction* Action(const QString& szName) const;

  bool DataHaveChanged() const { return v_dataHaveChanged; }
  void SetDataHaveChanged(bool bChanged) { v_dataHaveChanged = bChanged; }

  void SetProjectFileName(const QString& szPath);
  QString GetProjectFileName() const { return v_projectFileName; }

  // Asks whether to save unsaved changes (Yes/No); does not clear the flag.
  void AskSaveChanges();
  // Closes the window unless the user keeps it open to save changes.
  void ExitApplication();

  // Design pixels in this screen's pixels.
  int DesignToScreen(int nDesignPixels) const;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateActions();
  void CreatePages();
  void CentreOnScreen();
  void UpdateCaption();
  // Saves to the current project, asking for a file when there is none;
  // answers whether the project was saved.
  bool SaveInteractively();

  QToolBar* Ctl_Toolbar = nullptr;
  QTabWidget* Ctl_Pages = nullptr;
  QMenu* Mnu_PopupReopen = nullptr;

  // Selection state.
  bool v_dataHaveChanged = false;
  bool v_converting = false;
  std::unique_ptr<TAir> v_air;
  double v_supplyAir = 0;                 // m3/h
  double v_exhaustAir = 0;                // m3/h
  double v_minAirflow = 1.0;              // l/s
  double v_maxAirflow = 8889.0;           // l/s
  ALPsychroSet v_coolingSet{};
  ALPsychroSet v_heatingSet{};
  QString v_projectFileName;
  QString v_baseCaption;
  bool v_closing = false;
};
