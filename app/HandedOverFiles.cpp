// The window's side of a later start: the project file that a second start
// of the program hands over (a double-click in the file manager while this
// copy runs) is opened here as Open opens it, and a start without a file
// only brings this window to the front.

#include "app/DlgSelect.h"
#include "i18n/BaseMsgMan.h"
#include "platform/SingleInstance.h"

#include <QApplication>
#include <QFileInfo>
#include <QThread>
#include <QTimer>

namespace {

constexpr int kMsgFileNotFound = -1;
// How often a file that waits for a dialog looks whether it has closed.
constexpr int kHandOverRetryMs = 250;

}  // namespace

bool TDlgSelect::AcceptHandOvers(CTSingleInstance& instance) {
  connect(&instance, &CTSingleInstance::HandedOver, this, &TDlgSelect::OpenHandedOverProject, Qt::UniqueConnection);
  return instance.Listen();
}

void TDlgSelect::OpenHandedOverProject(const QString& szPath) {
  // To the front first: the question about unsaved work must be seen.
  BringToFront();
  if (szPath.isEmpty()) return;
  v_handedOver << szPath;
  OpenWaitingHandOvers();
}

void TDlgSelect::BringToFront() {
  // Minimized no more, maximized still when it was.
  if (isMinimized()) setWindowState(windowState() & ~Qt::WindowMinimized);
  show();
  raise();
  activateWindow();
}

void TDlgSelect::OpenWaitingHandOvers() {
  // Files that come while one is opened (through its question's event loop)
  // are taken by the loop below, after it.
  if (v_handedOver.isEmpty() || v_openingHandedOver) return;
  // A dialog is open (a question, the preferences, a file dialog), or a
  // command waits in a loop of its own (an answer from the server), and the
  // file came through that loop: opening now would change the selection
  // under the command that runs it. The file waits for the main loop.
  if (QApplication::activeModalWidget() || QThread::currentThread()->loopLevel() > 1) {
    if (v_handOverRetryArmed) return;
    v_handOverRetryArmed = true;
    QTimer::singleShot(kHandOverRetryMs, this, [this] {
      v_handOverRetryArmed = false;
      OpenWaitingHandOvers();
    });
    return;
  }
  v_openingHandedOver = true;
  while (!v_handedOver.isEmpty()) {
    const QString path = v_handedOver.takeFirst();
    // Gone since the later start looked: said, and the work stays.
    if (!QFileInfo(path).isFile()) {
      TBaseMsg::DisplayError(this, kMsgFileNotFound, path);
      continue;
    }
    CommitEditing();
    // The file came unasked, so Cancel keeps the work without opening it.
    if (!SaveChangesOrCancel()) continue;
    ShowPage(Tab_Selection);
    if (LoadProject(path)) v_dataHaveChanged = false;
  }
  v_openingHandedOver = false;
}
