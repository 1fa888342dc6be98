#include "app/Settings.h"

#include "app/ApplicationUtils.h"
#include "i18n/BaseMsgMan.h"

#include <QAction>
#include <QCloseEvent>
#include <QFileInfo>
#include <QMenu>
#include <QScreen>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int kMsgSaveChanges = 74;

struct ActionDef {
  const char* name;
  const char* caption;
  const char* hint;
  bool enabled;  // false until the command's work exists
};

// In toolbar order.
const ActionDef kActions[] = {
    {"ACF_New", "New", "Creates a new Aerolith project", false},
    {"ACF_Open", "Open...", "Opens a Aerolith project file", false},
    {"ACF_Save", "Save...", "Saves a Aerolith project file", false},
    {"ACF_Report", "Report...", "Creates a report about the selected ventilation device", false},
    {"ACT_BillOfMaterials", "Material List XML Export...", "Material List XML Export", false},
    {"ACF_Distributor", "Distributor", "Defines the distributor data", false},
    {"ACF_Preferences", "Preferences", "Defines the preferences", false},
    {"ACH_About", "About", "", false},
    {"ACF_Exit", "Exit", "Quits the Aerolith selection program", true},
};

struct PageDef {
  const char* name;
  const char* caption;
};

const PageDef kPages[] = {
    {"Tab_Selection", "Selection"},
    {"Tab_Psychrometrics", "Psychrometrics"},
    {"Tab_Results", "Results"},
    {"Tab_Database", "Database"},
    {"Tab_Fan", "Fan Characteristics"},
    {"Tab_Efficiencies", "Exchange Efficiencies"},
    {"Tab_EffCorrect", "Efficiency Corrections"},
    {"Tab_Configuration", "Configuration"},
};

}  // namespace

TDlgSelect::TDlgSelect(QWidget* pParent) : QMainWindow(pParent) {
  setObjectName(QStringLiteral("TDlgSelect"));
  v_baseCaption = ApplicationUtils::Title();
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(DesignToScreen(kDesignFontPixels));
  setFont(font);

  CreateActions();
  CreatePages();

  v_air = std::make_unique<TAir>(0.0);
  v_dataHaveChanged = false;

  // The toolbar adds to the client height; the pages keep the design size.
  resize(DesignToScreen(kDesignWidth), DesignToScreen(kDesignHeight));
  UpdateCaption();
  CentreOnScreen();
}

TDlgSelect::~TDlgSelect() = default;

int TDlgSelect::DesignToScreen(int nDesignPixels) const {
  const int dpi = logicalDpiX() > 0 ? logicalDpiX() : 96;
  return (nDesignPixels * dpi + kDesignPixelsPerInch / 2) / kDesignPixelsPerInch;
}

QAction* TDlgSelect::Action(const QString& szName) const { return findChild<QAction*>(szName); }

void TDlgSelect::CreateActions() {
  Ctl_Toolbar = addToolBar(QString());
  Ctl_Toolbar->setObjectName(QStringLiteral("Ctl_Toolbar"));
  Ctl_Toolbar->setMovable(false);
  Ctl_Toolbar->setToolButtonStyle(Qt::ToolButtonTextOnly);
  Mnu_PopupReopen = new QMenu(this);
  Mnu_PopupReopen->setObjectName(QStringLiteral("Mnu_PopupReopen"));

  for (const ActionDef& def : kActions) {
    auto* action = new QAction(QString::fromUtf8(def.caption), this);
    action->setObjectName(QString::fromLatin1(def.name));
    action->setToolTip(QString::fromUtf8(def.hint));
    action->setStatusTip(QString::fromUtf8(def.hint));
    action->setEnabled(def.enabled);
    Ctl_Toolbar->addAction(action);
  }
  // The Open button carries the recent-files menu.
  if (auto* open = qobject_cast<QToolButton*>(Ctl_Toolbar->widgetForAction(Action(QStringLiteral("ACF_Open"))))) {
    open->setMenu(Mnu_PopupReopen);
    open->setPopupMode(QToolButton::MenuButtonPopup);
  }
  connect(Action(QStringLiteral("ACF_Exit")), &QAction::triggered, this, &TDlgSelect::ExitApplication);
}

void TDlgSelect::CreatePages() {
  Ctl_Pages = new QTabWidget(this);
  Ctl_Pages->setObjectName(QStringLiteral("Ctl_Pages"));
  for (const PageDef& def : kPages) {
    auto* page = new QWidget(Ctl_Pages);
    page->setObjectName(QString::fromLatin1(def.name));
    Ctl_Pages->addTab(page, QString::fromUtf8(def.caption));
  }
  // The results page is itself a page control.
  QWidget* results = Ctl_Pages->findChild<QWidget*>(QStringLiteral("Tab_Results"));
  auto* resultPages = new QTabWidget(results);
  resultPages->setObjectName(QStringLiteral("Ctl_ResultPages"));
  for (const char* caption : {"Cooling Results", "Heating Results"})
    resultPages->addTab(new QWidget(resultPages), QString::fromUtf8(caption));
  auto* layout = new QVBoxLayout(results);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(resultPages);
  setCentralWidget(Ctl_Pages);
}

void TDlgSelect::CentreOnScreen() {
  const QScreen* s = screen();
  if (!s) return;
  const QRect area = s->geometry();
  const QSize frame = frameGeometry().size();
  const int top = std::max(0, (area.height() - frame.height()) / 2);
  const int left = (area.width() - frame.width()) / 2;
  move(area.left() + left, area.top() + top);
}

void TDlgSelect::SetProjectFileName(const QString& szPath) {
  v_projectFileName = szPath;
  UpdateCaption();
}

void TDlgSelect::UpdateCaption() {
  // The base caption itself may contain " - ", so the file name is appended
  // to the base afresh rather than cut off an older caption.
  if (v_projectFileName.isEmpty()) setWindowTitle(v_baseCaption);
  else setWindowTitle(v_baseCaption + QStringLiteral(" - ") + QFileInfo(v_projectFileName).fileName());
}

bool TDlgSelect::SaveInteractively() {
  // Project files are not written yet; nothing can be saved.
  return false;
}

void TDlgSelect::AskSaveChanges() {
  if (!v_dataHaveChanged) return;
  if (TBaseMsg::DisplayQuestion(this, kMsgSaveChanges, MsgButtons({mbYes, mbNo})) == mrYes) SaveInteractively();
}

void TDlgSelect::ExitApplication() {
  if (v_dataHaveChanged) {
    const int answer = TBaseMsg::DisplayQuestion(this, kMsgSaveChanges, MsgButtons({mbYes, mbNo, mbCancel}));
    if (answer == mrCancel || answer == mrNone) return;
    // A save that failed keeps the window and the data.
    if (answer == mrYes && !SaveInteractively()) return;
  }
  v_closing = true;
  close();
}

void TDlgSelect::closeEvent(QCloseEvent* event) {
  if (v_closing) {
    event->accept();
    return;
  }
  event->ignore();
  ExitApplication();
}
