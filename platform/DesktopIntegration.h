#pragma once
// The program's place on a freedesktop.org desktop: menu entries, the project
// file type and its default handler. It takes the part that registry keys and
// start-menu shortcuts play on Windows; the program installs itself at every
// start and "/uninstall" takes back what it installed.
//
// For the title "Aerolith" it writes, below the user's data folder D
// ($XDG_DATA_HOME, else ~/.local/share) and configuration folder C
// ($XDG_CONFIG_HOME, else ~/.config):
//
//   D/applications/norvane-aerolith.desktop            the program's menu entry
//   D/applications/norvane-aerolith-uninstall.desktop  "Uninstall Aerolith"
//   D/mime/packages/norvane-aerolith.xml               *.ven = application/x-aerolith-project
//   D/icons/hicolor/NxN/apps/norvane-aerolith.png      only for icons given
//   D/icons/hicolor/NxN/mimetypes/application-x-aerolith-project.png
//   C/mimeapps.list  [Default Applications] application/x-aerolith-project=norvane-aerolith.desktop
//   D/norvane-aerolith/installed.json                  the record of all the above
//
// Ownership: a file is ours while its bytes are those we wrote last (the
// record keeps their SHA-256). A file somebody else changed — a menu editor,
// the user — is no longer ours: Install does not overwrite it and Uninstall
// does not remove it; both say so in their problems. A file we never wrote is
// never touched. The mimeapps.list key is ours while it names our desktop
// file alone; Uninstall then puts back the value it displaced, if any.
//
// Nothing here throws, and no failure stops the other steps; every failure
// becomes one line in the result's problems, for the caller to log or ignore.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

struct CTDesktopResult {
  bool v_changed = false;    // a file was created, replaced or removed
  QStringList v_problems;    // one readable line per step that failed
  bool Ok() const { return v_problems.isEmpty(); }
};

class CTDesktopIntegration {
 public:
  // szTitle: the application title ("Aerolith"); szExePath: the absolute path
  // of the program; szUninstallWord: the translated word "Uninstall" (message
  // 38). szDataRoot / szConfigRoot replace the XDG data and configuration
  // folders when not empty.
  CTDesktopIntegration(const QString& szTitle, const QString& szExePath, const QString& szUninstallWord,
                       const QString& szDataRoot = QString(), const QString& szConfigRoot = QString());

  // Adds a square PNG icon of nSizePx pixels, installed for the program and
  // for its project files. Without icons none is written.
  void AddPngIcon(int nSizePx, const QByteArray& arPng);

  // On (the default), a run that changed files refreshes the desktop's
  // caches with update-mime-database and update-desktop-database when they
  // exist. Tests switch it off.
  void SetUpdateCaches(bool bRun) { v_updateCaches = bRun; }

  // Writes everything listed above. Content that is already in place is not
  // rewritten, so calling it at every start costs a few reads.
  CTDesktopResult Install();
  // Removes what the record says Install wrote, then the record.
  CTDesktopResult Uninstall();
  // True while the record of an Install exists.
  bool IsInstalled() const;

  QString DataRoot() const { return v_dataRoot; }
  QString ConfigRoot() const { return v_configRoot; }
  QString DesktopId() const { return v_id; }          // "norvane-aerolith"
  QString MimeType() const { return v_mimeType; }     // "application/x-aerolith-project"
  QString DesktopFilePath() const;
  QString UninstallDesktopFilePath() const;
  QString MimePackagePath() const;
  QString MimeAppsPath() const;
  QString ManifestPath() const;

  // One argument of an Exec key, quoted and escaped as the desktop entry
  // rules ask: inside double quotes `"`, `` ` ``, `$` and `\` get a backslash,
  // `%` doubles, and then the string escapes apply to the whole.
  static QString ExecArgument(const QString& szArg);

 private:
  struct Icon {
    int v_sizePx;
    QByteArray v_png;
  };

  QString v_title;
  QString v_exePath;
  QString v_uninstallWord;
  QString v_dataRoot;
  QString v_configRoot;
  QString v_id;
  QString v_mimeType;
  QList<Icon> v_icons;
  bool v_updateCaches = true;
};
