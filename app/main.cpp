// Program entry: one copy per user, then the main window and the event loop.

#include "app/ApplicationUtils.h"
#include "app/QtMessagePresenter.h"
#include "app/Settings.h"
#include "i18n/MsgMan.h"
#include "platform/SingleInstance.h"

#include <QApplication>
#include <QMessageBox>
#include <QTextStream>

namespace {

bool CanShowWindows() {
  const QString platform = QGuiApplication::platformName();
  return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(ApplicationUtils::Title());
  QApplication::setApplicationDisplayName(ApplicationUtils::Title());
  const QStringList arguments = QApplication::arguments().mid(1);

  CTSingleInstance instance(ApplicationUtils::InstanceLockName());
  if (!ApplicationUtils::IsDeletingCopy(arguments) && !instance.TryAcquire()) {
    const QString szText = ApplicationUtils::SecondInstanceText(arguments);
    QTextStream(stderr) << szText << Qt::endl;
    // Nobody could answer a box on an invisible screen.
    if (CanShowWindows()) QMessageBox::information(nullptr, ApplicationUtils::Title(), szText);
    return 1;
  }

  CTQtMessagePresenter presenter;
  TBaseMsg::SetPresenter(&presenter);
  TDlgForm::Load();

  TDlgSelect window;
  window.show();
  const int result = QApplication::exec();
  TBaseMsg::SetPresenter(nullptr);
  return result;
}
