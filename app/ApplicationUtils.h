#pragma once
// Program-wide names and the entry rules that run before any window exists.

#include <QString>
#include <QStringList>

namespace ApplicationUtils {

// The application title; the single-instance lock and every caption derive from it.
QString Title();

// The program's version, "major.minor.patch", then " - " and the build's
// suffix when it has one.
QString Version();

// The title documents carry: the title and the version.
QString ApplicationTitle();

// Loads the interface glossary of the language chosen in the locale store
// (or nLanguage when given); the main window's forms and dialogs are
// translated through it as they load. False: the program stays in English.
bool LoadInterfaceGlossary(int nLanguage = 0);

// The name of the single-instance lock, "Global\" + title.
QString InstanceLockName();

// True for the deleting copy started by an uninstall, which must not take
// the single-instance lock ("PID:" and "EXE:" on its command line).
bool IsDeletingCopy(const QStringList& arguments);

// True when the only parameter is "/uninstall" (case ignored).
bool IsUninstallRequest(const QStringList& arguments);

// The text shown when another copy already runs.
QString SecondInstanceText(const QStringList& arguments);

}  // namespace ApplicationUtils
