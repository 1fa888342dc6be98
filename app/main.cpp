// Program entry: one copy per user, then the main window and the event loop.

#include "app/ApplicationUtils.h"
#include "app/QtMessagePresenter.h"
#include "app/DlgSelect.h"
#include "i18n/MsgMan.h"
#include "platform/DesktopIntegration.h"
#include "platform/SingleInstance.h"

#include <QApplication>
#include <QFileInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPixmap>
#include <QTabWidget>
#include <QTextStream>
#include <QTimer>

namespace {

constexpr int kMsgUninstall = 38, kMsgUninstalled = 73, kMsgConfirmUninstall = 75;
// How long a later start waits for the running copy to take its file.
constexpr int kHandOverWaitMs = 2000;

bool CanShowWindows() {
  const QString platform = QGuiApplication::platformName();
  return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

// What a later start hands to the running copy: the file named first, as an
// absolute path against this process's working folder; empty (only come to
// the front) when the first parameter names no file.
QString HandOverPath(const QStringList& arguments) {
  if (arguments.isEmpty()) return {};
  const QFileInfo file(arguments.first());
  return file.isFile() ? file.absoluteFilePath() : QString();
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(ApplicationUtils::Title());
  // No display name: the desktop would append it to every caption, and the
  // main window's caption already begins with the program's title.
  const QStringList arguments = QApplication::arguments().mid(1);

  CTSingleInstance instance(ApplicationUtils::InstanceLockName());
  if (!ApplicationUtils::IsDeletingCopy(arguments) && !instance.TryAcquire()) {
    // The running copy opens the file (or comes to the front) and this start
    // ends quietly. An uninstall is refused as ever; so is everything when
    // the running copy does not answer in time (still starting, or hung).
    if (!ApplicationUtils::IsUninstallRequest(arguments) && instance.HandOver(HandOverPath(arguments), kHandOverWaitMs))
      return 0;
    const QString szText = ApplicationUtils::SecondInstanceText(arguments);
    QTextStream(stderr) << szText << Qt::endl;
    // Nobody could answer a box on an invisible screen.
    if (CanShowWindows()) QMessageBox::information(nullptr, ApplicationUtils::Title(), szText);
    return 1;
  }

  // Numbers on screen with the decimal separator of the user's locale;
  // files keep theirs whatever it is.
  const QString decimalPoint = QLocale::system().decimalPoint();
  if (decimalPoint.size() == 1) TBaseMsg::SetDecimalSeparator(decimalPoint.at(0));

  CTQtMessagePresenter presenter;
  TBaseMsg::SetPresenter(&presenter);
  TDlgForm::Load();

  // The desktop's launchers and the ".ven" file type, in the user's XDG
  // folders; "/uninstall" removes exactly what this installed.
  CTDesktopIntegration desktop(ApplicationUtils::Title(), QCoreApplication::applicationFilePath(),
                               TBaseMsg::GetUnicodeString(kMsgUninstall));
  if (ApplicationUtils::IsUninstallRequest(arguments)) {
    // Nobody could answer the question on an invisible screen.
    if (!CanShowWindows()) {
      QTextStream(stderr) << TBaseMsg::GetUnicodeString(kMsgConfirmUninstall) << " (needs a screen to answer)" << Qt::endl;
      TBaseMsg::SetPresenter(nullptr);
      return 1;
    }
    if (TBaseMsg::DisplayQuestion(nullptr, kMsgConfirmUninstall, MsgButtons({mbYes, mbNo})) == mrYes) {
      for (const QString& problem : desktop.Uninstall().v_problems) QTextStream(stderr) << problem << Qt::endl;
      TBaseMsg::DisplayHint(nullptr, kMsgUninstalled);
    }
    TBaseMsg::SetPresenter(nullptr);
    return 0;
  }
  // A failed write never stops the program.
  for (const QString& problem : desktop.Install().v_problems) QTextStream(stderr) << problem << Qt::endl;

  // The language chosen in the locale store, from its glossaries on.
  ApplicationUtils::LoadInterfaceGlossary();
  TDlgSelect window;
  if (!window.StartUp(arguments)) {
    TBaseMsg::SetPresenter(nullptr);
    return 1;
  }
  window.show();
  // Later starts hand their files to this window from now on; before, they
  // are told that the program runs.
  window.AcceptHandOvers(instance);
  // "--screenshot FILE": save the window as a picture and quit, for looking
  // at it where there is no screen.
  const qsizetype shot = arguments.indexOf(QStringLiteral("--screenshot"));
  // "--page NAME" first shows that tab (Tab_Results, Tab_Database, ...).
  const qsizetype page = arguments.indexOf(QStringLiteral("--page"));
  if (page >= 0 && page + 1 < arguments.size())
    if (QWidget* tab = window.Pages()->findChild<QWidget*>(arguments.at(page + 1))) window.Pages()->setCurrentWidget(tab);
  if (shot >= 0 && shot + 1 < arguments.size()) {
    const QString szFile = arguments.at(shot + 1);
    QTimer::singleShot(300, &window, [&window, szFile] {
      const bool bSaved = window.grab().save(szFile);
      if (!bSaved) QTextStream(stderr) << "cannot write " << szFile << Qt::endl;
      QApplication::exit(bSaved ? 0 : 1);
    });
  }
  const int result = QApplication::exec();
  TBaseMsg::SetPresenter(nullptr);
  return result;
}
