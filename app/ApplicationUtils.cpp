#include "app/ApplicationUtils.h"

#include "docs/Glossaries.h"
#include "platform/VersionUtils.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace ApplicationUtils {

QString Version() { return CTVersionUtils::GetVersionStringEx(QStringLiteral(" - "), QString()); }

QString Title() { return QStringLiteral("Aerolith"); }

QString ApplicationTitle() { return Title() + QLatin1Char(' ') + Version(); }

bool LoadInterfaceGlossary(int nLanguage) {
  const QString program = QCoreApplication::applicationFilePath();
  const QString beside = program.isEmpty() ? QString()
                                           : QFileInfo(program).path() + QLatin1Char('/') +
                                                 QFileInfo(program).completeBaseName() + QStringLiteral(".xml");
  // The window's loaded hook translates every form through it.
  return CTGlossaries::LoadInterface(nLanguage ? nLanguage : CTGlossaries::ChosenLanguage(), beside);
}

QString InstanceLockName() { return QStringLiteral("Global\\") + Title(); }

bool IsDeletingCopy(const QStringList& arguments) {
  const QString szLine = arguments.join(QLatin1Char(' '));
  return szLine.contains(QStringLiteral("PID:")) && szLine.contains(QStringLiteral("EXE:"));
}

bool IsUninstallRequest(const QStringList& arguments) {
  return arguments.size() == 1 && arguments.first().compare(QStringLiteral("/uninstall"), Qt::CaseInsensitive) == 0;
}

QString SecondInstanceText(const QStringList& arguments) {
  return IsUninstallRequest(arguments) ? Title() + QStringLiteral(" is running on this machine, cannot uninstall")
                                       : Title() + QStringLiteral(" is already running on this machine");
}

}  // namespace ApplicationUtils
