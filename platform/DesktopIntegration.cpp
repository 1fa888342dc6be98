#include "platform/DesktopIntegration.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QProcess>
#include <QSaveFile>
#include <QSet>
#include <QStandardPaths>
#include <QXmlStreamWriter>

#include <algorithm>
#include <optional>
#include <utility>

// Record file layout (JSON, UTF-8), paths relative to the data folder:
//
//   { "format": "norvane-desktop-1",
//     "files": { "applications/norvane-aerolith.desktop": "<SHA-256 hex of the bytes written>",
//                "mime/packages/norvane-aerolith.xml": "..." },
//     "folders": [ "mime", "mime/packages" ],
//     "mimeapps": { "previous": "other.desktop", "createdFile": false,
//                   "createdSection": true, "separator": true } }
//
// "folders" holds the folders below the data folder that did not exist before
// an Install made them. "mimeapps" is present while our default-handler key
// is set: "previous" is the value the key had before (absent when it had
// none), "createdFile" / "createdSection" say that we made the file or the
// [Default Applications] section, "separator" that we put a blank line before
// that section. A record path that is absolute or leaves the data folder is
// ignored, so a damaged record cannot point Uninstall anywhere else.

namespace {

const QString kVendorId = QStringLiteral("norvane");
const QString kProjectGlob = QStringLiteral("*.ven");
const QString kRecordFormat = QStringLiteral("norvane-desktop-1");
const QByteArray kDefaultSection = QByteArrayLiteral("Default Applications");
// Long enough for update-mime-database on a slow disk, short enough that a
// hung tool does not hold up the start.
const int kToolTimeoutMs = 5000;

// "Hi Aerolith!" -> "hi-aerolith"
QString Slug(const QString& szText) {
  QString szSlug;
  for (const QChar c : szText.toLower()) {
    if (c.isLetterOrNumber() && c.unicode() < 128)
      szSlug += c;
    else if (!szSlug.isEmpty() && !szSlug.endsWith(QLatin1Char('-')))
      szSlug += QLatin1Char('-');
  }
  while (szSlug.endsWith(QLatin1Char('-'))) szSlug.chop(1);
  return szSlug.isEmpty() ? QStringLiteral("app") : szSlug;
}

// The escapes of a desktop entry string value.
QString EscapeDesktopString(const QString& szValue) {
  QString szOut;
  for (const QChar c : szValue) {
    switch (c.unicode()) {
      case '\\': szOut += QStringLiteral("\\\\"); break;
      case '\n': szOut += QStringLiteral("\\n"); break;
      case '\t': szOut += QStringLiteral("\\t"); break;
      case '\r': szOut += QStringLiteral("\\r"); break;
      default: szOut += c;
    }
  }
  if (szOut.startsWith(QLatin1Char(' '))) szOut.replace(0, 1, QStringLiteral("\\s"));
  return szOut;
}

QByteArray Sha256Hex(const QByteArray& arBytes) {
  return QCryptographicHash::hash(arBytes, QCryptographicHash::Sha256).toHex();
}

std::optional<QByteArray> ReadAll(const QString& szPath, QString* pszError) {
  QFile file(szPath);
  if (!file.open(QIODevice::ReadOnly)) {
    *pszError = file.errorString();
    return std::nullopt;
  }
  return file.readAll();
}

bool WriteAtomically(const QString& szPath, const QByteArray& arBytes, QString* pszError) {
  QSaveFile file(szPath);
  if (!file.open(QIODevice::WriteOnly) || file.write(arBytes) != arBytes.size() || !file.commit()) {
    *pszError = file.errorString();
    return false;
  }
  return true;
}

struct MimeAppsRecord {
  std::optional<QString> v_previous;  // the value our key displaced
  bool v_createdFile = false;
  bool v_createdSection = false;
  bool v_separator = false;           // blank line added before our section
};

struct Record {
  QMap<QString, QByteArray> v_files;  // relative path -> SHA-256 hex of our bytes
  QSet<QString> v_folders;            // relative paths of folders we made
  std::optional<MimeAppsRecord> v_mimeApps;
};

bool IsSafeRelative(const QString& szRel) {
  const QString szClean = QDir::cleanPath(szRel);
  return !szRel.isEmpty() && !QDir::isAbsolutePath(szRel) && szClean != QStringLiteral(".") &&
         szClean != QStringLiteral("..") && !szClean.startsWith(QStringLiteral("../"));
}

std::optional<Record> ParseRecord(const QByteArray& arJson) {
  const QJsonDocument doc = QJsonDocument::fromJson(arJson);
  if (!doc.isObject() || doc.object().value(QStringLiteral("format")).toString() != kRecordFormat)
    return std::nullopt;
  const QJsonObject root = doc.object();
  Record record;
  const QJsonObject files = root.value(QStringLiteral("files")).toObject();
  for (auto it = files.begin(); it != files.end(); ++it)
    if (IsSafeRelative(it.key())) record.v_files.insert(it.key(), it.value().toString().toLatin1());
  for (const QJsonValue& folder : root.value(QStringLiteral("folders")).toArray())
    if (IsSafeRelative(folder.toString())) record.v_folders.insert(folder.toString());
  if (root.contains(QStringLiteral("mimeapps"))) {
    const QJsonObject m = root.value(QStringLiteral("mimeapps")).toObject();
    MimeAppsRecord mimeApps;
    if (m.contains(QStringLiteral("previous"))) mimeApps.v_previous = m.value(QStringLiteral("previous")).toString();
    mimeApps.v_createdFile = m.value(QStringLiteral("createdFile")).toBool();
    mimeApps.v_createdSection = m.value(QStringLiteral("createdSection")).toBool();
    mimeApps.v_separator = m.value(QStringLiteral("separator")).toBool();
    record.v_mimeApps = mimeApps;
  }
  return record;
}

QByteArray SerialiseRecord(const Record& record) {
  QJsonObject files;
  for (auto it = record.v_files.begin(); it != record.v_files.end(); ++it)
    files.insert(it.key(), QString::fromLatin1(it.value()));
  QStringList folders(record.v_folders.begin(), record.v_folders.end());
  folders.sort();
  QJsonObject root;
  root.insert(QStringLiteral("format"), kRecordFormat);
  root.insert(QStringLiteral("files"), files);
  root.insert(QStringLiteral("folders"), QJsonArray::fromStringList(folders));
  if (record.v_mimeApps) {
    QJsonObject m;
    if (record.v_mimeApps->v_previous) m.insert(QStringLiteral("previous"), *record.v_mimeApps->v_previous);
    m.insert(QStringLiteral("createdFile"), record.v_mimeApps->v_createdFile);
    m.insert(QStringLiteral("createdSection"), record.v_mimeApps->v_createdSection);
    m.insert(QStringLiteral("separator"), record.v_mimeApps->v_separator);
    root.insert(QStringLiteral("mimeapps"), m);
  }
  return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

// ---------------------------------------------------------------------------
// mimeapps.list: an INI-like file of sections ("[Default Applications]") and
// "type=desktop-file;..." lines, with comments and other programs' keys that
// must survive byte for byte. The file is handled as lines; only lines whose
// key is our MIME type inside a [Default Applications] section are touched.
//
//   [Added Associations]
//   text/plain=editor.desktop;
//
//   [Default Applications]
//   image/png=viewer.desktop
//   application/x-aerolith-project=norvane-aerolith.desktop
// ---------------------------------------------------------------------------

struct IniLines {
  QList<QByteArray> v_lines;      // without their '\n'; a '\r' stays
  bool v_finalNewline = true;

  static IniLines FromBytes(const QByteArray& arText) {
    IniLines ini;
    if (arText.isEmpty()) return ini;
    ini.v_lines = arText.split('\n');
    ini.v_finalNewline = arText.endsWith('\n');
    if (ini.v_finalNewline) ini.v_lines.removeLast();
    return ini;
  }
  QByteArray ToBytes() const {
    QByteArray text = v_lines.join('\n');
    if (v_finalNewline && !v_lines.isEmpty()) text += '\n';
    return text;
  }
};

bool IsBlank(const QByteArray& arLine) { return arLine.trimmed().isEmpty(); }

// The section a header line opens, or nullopt for other lines.
std::optional<QByteArray> SectionName(const QByteArray& arLine) {
  const QByteArray t = arLine.trimmed();
  if (t.size() < 2 || !t.startsWith('[') || !t.endsWith(']')) return std::nullopt;
  return t.mid(1, t.size() - 2);
}

// Line indexes of the [Default Applications] section bodies, each as
// [header, end) with end the next header or the end of the file.
QList<std::pair<qsizetype, qsizetype>> DefaultSections(const IniLines& ini) {
  QList<std::pair<qsizetype, qsizetype>> sections;
  for (qsizetype i = 0; i < ini.v_lines.size(); ++i) {
    const auto name = SectionName(ini.v_lines[i]);
    if (!name) continue;
    if (!sections.isEmpty() && sections.last().second < 0) sections.last().second = i;
    if (*name == kDefaultSection) sections.append({i, -1});
  }
  if (!sections.isEmpty() && sections.last().second < 0) sections.last().second = ini.v_lines.size();
  return sections;
}

// Indexes of the lines "szKey=..." inside [Default Applications] sections.
QList<qsizetype> KeyLines(const IniLines& ini, const QByteArray& arKey) {
  QList<qsizetype> found;
  for (const auto& [header, end] : DefaultSections(ini)) {
    for (qsizetype i = header + 1; i < end; ++i) {
      const QByteArray& line = ini.v_lines[i];
      const qsizetype eq = line.indexOf('=');
      if (eq < 0 || line.trimmed().startsWith('#')) continue;
      if (line.left(eq).trimmed() == arKey) found.append(i);
    }
  }
  return found;
}

QByteArray ValueOf(const QByteArray& arLine) { return arLine.mid(arLine.indexOf('=') + 1).trimmed(); }

// True when the value lists our desktop file and nothing else.
bool NamesOnly(const QByteArray& arValue, const QByteArray& arDesktopFile) {
  QList<QByteArray> entries;
  for (const QByteArray& entry : arValue.split(';'))
    if (!entry.trimmed().isEmpty()) entries.append(entry.trimmed());
  return entries.size() == 1 && entries.first() == arDesktopFile;
}

// Makes szDesktopFile the default for arKey. Answers false when the file
// already said exactly that; fills the parts of pRecord this edit decides.
bool SetDefaultHandler(IniLines& ini, const QByteArray& arKey, const QByteArray& arDesktopFile,
                       MimeAppsRecord* pRecord) {
  const QByteArray ourLine = arKey + '=' + arDesktopFile;
  const QList<qsizetype> lines = KeyLines(ini, arKey);
  if (lines.size() == 1 && NamesOnly(ValueOf(ini.v_lines[lines.first()]), arDesktopFile)) return false;
  if (!lines.isEmpty()) {
    const QByteArray value = ValueOf(ini.v_lines[lines.first()]);
    if (!NamesOnly(value, arDesktopFile)) pRecord->v_previous = QString::fromUtf8(value);
    ini.v_lines[lines.first()] = ourLine;
    for (qsizetype k = lines.size() - 1; k >= 1; --k) ini.v_lines.removeAt(lines[k]);
    return true;
  }
  pRecord->v_previous.reset();  // the key was missing: nothing to put back
  const auto sections = DefaultSections(ini);
  if (!sections.isEmpty()) {
    // After the section's last non-blank line, so a blank line before the
    // next section stays where it was.
    qsizetype at = sections.first().second;
    while (at > sections.first().first + 1 && IsBlank(ini.v_lines[at - 1])) --at;
    ini.v_lines.insert(at, ourLine);
    return true;
  }
  if (!ini.v_lines.isEmpty() && !IsBlank(ini.v_lines.last())) {
    ini.v_lines.append(QByteArray());
    pRecord->v_separator = true;
  }
  ini.v_lines.append('[' + kDefaultSection + ']');
  ini.v_lines.append(ourLine);
  ini.v_finalNewline = true;
  pRecord->v_createdSection = true;
  return true;
}

// Takes our key back when it still names our desktop file alone: puts back
// the displaced value, or removes the line (and the section, when we made it
// and nothing else is left in it). Answers false when nothing changed.
bool RemoveDefaultHandler(IniLines& ini, const QByteArray& arKey, const QByteArray& arDesktopFile,
                          const MimeAppsRecord& record) {
  QList<qsizetype> ours;
  for (const qsizetype i : KeyLines(ini, arKey))
    if (NamesOnly(ValueOf(ini.v_lines[i]), arDesktopFile)) ours.append(i);
  if (ours.isEmpty()) return false;
  for (qsizetype k = ours.size() - 1; k >= 0; --k) {
    if (k == 0 && record.v_previous)
      ini.v_lines[ours[k]] = arKey + '=' + record.v_previous->toUtf8();
    else
      ini.v_lines.removeAt(ours[k]);
  }
  if (!record.v_createdSection) return true;
  for (const auto& [header, end] : DefaultSections(ini)) {
    bool bEmpty = true;
    for (qsizetype i = header + 1; i < end; ++i) bEmpty = bEmpty && IsBlank(ini.v_lines[i]);
    if (!bEmpty) continue;
    const bool bAtEnd = end == ini.v_lines.size();
    ini.v_lines.remove(header, end - header);
    if (bAtEnd && record.v_separator && !ini.v_lines.isEmpty() && IsBlank(ini.v_lines.last()))
      ini.v_lines.removeLast();
    break;
  }
  return true;
}

// The program that refreshes one cache, when it is installed; its failures
// only mean a stale cache until the desktop refreshes it itself.
void RunTool(const QString& szTool, const QString& szFolder) {
  const QString szProgram = QStandardPaths::findExecutable(szTool);
  if (szProgram.isEmpty() || !QFileInfo(szFolder).isDir()) return;
  QProcess process;
  process.setProcessChannelMode(QProcess::MergedChannels);
  process.start(szProgram, {szFolder});
  if (!process.waitForStarted(kToolTimeoutMs)) return;
  if (!process.waitForFinished(kToolTimeoutMs)) {
    process.kill();
    process.waitForFinished(1000);
  }
}

// One Install or Uninstall run: the data folder, the record as it was and as
// it becomes, and the result so far.
class Run {
 public:
  Run(const QString& szRoot, Record old) : v_root(szRoot), v_old(std::move(old)) {}

  QString Abs(const QString& szRel) const { return v_root + QLatin1Char('/') + szRel; }
  QString Rel(const QString& szAbs) const { return QDir(v_root).relativeFilePath(szAbs); }

  // Makes szFolder and records each level below the data folder it made.
  bool MakeFolder(const QString& szFolder) {
    QStringList missing;
    for (QString d = QDir::cleanPath(szFolder); d.startsWith(v_root + QLatin1Char('/')) && !QFileInfo::exists(d);
         d = QFileInfo(d).path())
      missing.prepend(d);
    const bool bMade = QDir().mkpath(szFolder);
    for (const QString& d : missing)
      if (QFileInfo(d).isDir()) v_new.v_folders.insert(Rel(d));
    return bMade;
  }

  // Writes arBytes to szPath unless somebody else's file is there. The file
  // is ours afterwards when it holds arBytes.
  void WriteOwned(const QString& szPath, const QByteArray& arBytes) {
    const QString szRel = Rel(szPath);
    v_touched.insert(szRel);
    QString szError;
    std::optional<QByteArray> current;
    if (QFileInfo::exists(szPath)) {
      current = ReadAll(szPath, &szError);
      if (!current) {
        Problem(QStringLiteral("Cannot read %1: %2").arg(szPath, szError));
        return;
      }
      if (*current == arBytes) {
        v_new.v_files.insert(szRel, Sha256Hex(arBytes));
        return;
      }
      if (v_old.v_files.value(szRel) != Sha256Hex(*current)) {
        Problem(QStringLiteral("Left %1 as it is: it was changed or not written by this program").arg(szPath));
        return;
      }
    }
    if (!MakeFolder(QFileInfo(szPath).path())) {
      Problem(QStringLiteral("Cannot create the folder of %1").arg(szPath));
    } else if (!WriteAtomically(szPath, arBytes, &szError)) {
      Problem(QStringLiteral("Cannot write %1: %2").arg(szPath, szError));
    } else {
      v_new.v_files.insert(szRel, Sha256Hex(arBytes));
      v_result.v_changed = true;
      return;
    }
    if (current) v_new.v_files.insert(szRel, Sha256Hex(*current));  // our old bytes are still there
  }

  // Removes szPath when it still holds the bytes whose hash is arSha256.
  void RemoveOwned(const QString& szPath, const QByteArray& arSha256) {
    if (!QFileInfo::exists(szPath)) return;
    QString szError;
    const std::optional<QByteArray> current = ReadAll(szPath, &szError);
    if (!current) {
      Problem(QStringLiteral("Cannot read %1: %2").arg(szPath, szError));
      return;
    }
    if (Sha256Hex(*current) != arSha256) {
      Problem(QStringLiteral("Left %1 in place: it was changed after it was installed").arg(szPath));
      return;
    }
    QFile file(szPath);
    if (!file.remove()) {
      Problem(QStringLiteral("Cannot remove %1: %2").arg(szPath, file.errorString()));
      return;
    }
    v_result.v_changed = true;
  }

  // Removes the folders we made once they are empty, deepest first; a folder
  // that others filled meanwhile stays.
  void RemoveEmptyFolders(const QSet<QString>& folders) {
    QStringList list(folders.begin(), folders.end());
    std::sort(list.begin(), list.end(), [](const QString& a, const QString& b) { return a.size() > b.size(); });
    for (const QString& szRel : list)
      if (QDir().rmdir(Abs(szRel))) v_result.v_changed = true;
  }

  void Problem(const QString& szText) { v_result.v_problems.append(szText); }

  QString v_root;
  Record v_old;
  Record v_new;
  QSet<QString> v_touched;  // relative paths this run meant to write
  CTDesktopResult v_result;
};

std::optional<Record> LoadRecord(const QString& szPath) {
  QString szError;
  const std::optional<QByteArray> json = ReadAll(szPath, &szError);
  if (!json) return std::nullopt;
  return ParseRecord(*json);
}

}  // namespace

CTDesktopIntegration::CTDesktopIntegration(const QString& szTitle, const QString& szExePath,
                                           const QString& szUninstallWord, const QString& szDataRoot,
                                           const QString& szConfigRoot)
    : v_title(szTitle),
      v_exePath(szExePath),
      v_uninstallWord(szUninstallWord),
      v_dataRoot(QDir::cleanPath(szDataRoot.isEmpty()
                                     ? QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
                                     : szDataRoot)),
      v_configRoot(QDir::cleanPath(szConfigRoot.isEmpty()
                                       ? QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
                                       : szConfigRoot)),
      v_id(kVendorId + QLatin1Char('-') + Slug(szTitle)),
      v_mimeType(QStringLiteral("application/x-") + Slug(szTitle) + QStringLiteral("-project")) {}

void CTDesktopIntegration::AddPngIcon(int nSizePx, const QByteArray& arPng) {
  if (nSizePx <= 0 || arPng.isEmpty()) return;
  v_icons.append({nSizePx, arPng});
}

QString CTDesktopIntegration::DesktopFilePath() const {
  return v_dataRoot + QStringLiteral("/applications/") + v_id + QStringLiteral(".desktop");
}

QString CTDesktopIntegration::UninstallDesktopFilePath() const {
  return v_dataRoot + QStringLiteral("/applications/") + v_id + QStringLiteral("-uninstall.desktop");
}

QString CTDesktopIntegration::MimePackagePath() const {
  return v_dataRoot + QStringLiteral("/mime/packages/") + v_id + QStringLiteral(".xml");
}

QString CTDesktopIntegration::MimeAppsPath() const { return v_configRoot + QStringLiteral("/mimeapps.list"); }

QString CTDesktopIntegration::ManifestPath() const {
  return v_dataRoot + QLatin1Char('/') + v_id + QStringLiteral("/installed.json");
}

QString CTDesktopIntegration::ExecArgument(const QString& szArg) {
  QString szQuoted = QStringLiteral("\"");
  for (const QChar c : szArg) {
    if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
      szQuoted += QLatin1Char('\\');
    else if (c == QLatin1Char('%'))
      szQuoted += QLatin1Char('%');
    szQuoted += c;
  }
  szQuoted += QLatin1Char('"');
  return EscapeDesktopString(szQuoted);
}

namespace {

// A desktop entry (freedesktop.org Desktop Entry, version 1.5):
//
//   [Desktop Entry]
//   Type=Application
//   Version=1.5
//   Name=Aerolith
//   Exec="/opt/aerolith/aerolith" %f
//   ...
QByteArray DesktopEntry(const QList<std::pair<QString, QString>>& keys) {
  QString szText = QStringLiteral("[Desktop Entry]\n");
  for (const auto& [szKey, szValue] : keys) szText += szKey + QLatin1Char('=') + szValue + QLatin1Char('\n');
  return szText.toUtf8();
}

}  // namespace

CTDesktopResult CTDesktopIntegration::Install() {
  const std::optional<Record> old = LoadRecord(ManifestPath());
  Run run(v_dataRoot, old.value_or(Record()));
  if (v_exePath.isEmpty()) {
    run.Problem(QStringLiteral("No program path to install"));
    return run.v_result;
  }

  const QString szIconName = v_icons.isEmpty() ? QString() : v_id;
  const QString szCategories = QStringLiteral("Science;Engineering;");
  QList<std::pair<QString, QString>> program = {
      {QStringLiteral("Type"), QStringLiteral("Application")},
      {QStringLiteral("Version"), QStringLiteral("1.5")},
      {QStringLiteral("Name"), EscapeDesktopString(v_title)},
      {QStringLiteral("Exec"), ExecArgument(v_exePath) + QStringLiteral(" %f")},
      {QStringLiteral("TryExec"), EscapeDesktopString(v_exePath)},
      {QStringLiteral("Path"), EscapeDesktopString(QFileInfo(v_exePath).path())},
      {QStringLiteral("Terminal"), QStringLiteral("false")},
      {QStringLiteral("MimeType"), v_mimeType + QLatin1Char(';')},
      {QStringLiteral("Categories"), szCategories}};
  QList<std::pair<QString, QString>> uninstall = {
      {QStringLiteral("Type"), QStringLiteral("Application")},
      {QStringLiteral("Version"), QStringLiteral("1.5")},
      {QStringLiteral("Name"), EscapeDesktopString(v_uninstallWord + QLatin1Char(' ') + v_title)},
      {QStringLiteral("Exec"), ExecArgument(v_exePath) + QStringLiteral(" /uninstall")},
      {QStringLiteral("TryExec"), EscapeDesktopString(v_exePath)},
      {QStringLiteral("Terminal"), QStringLiteral("false")},
      {QStringLiteral("NoDisplay"), QStringLiteral("false")},
      {QStringLiteral("Categories"), szCategories}};
  if (!szIconName.isEmpty()) {
    program.insert(3, {QStringLiteral("Icon"), szIconName});
    uninstall.insert(3, {QStringLiteral("Icon"), szIconName});
  }
  run.WriteOwned(DesktopFilePath(), DesktopEntry(program));
  run.WriteOwned(UninstallDesktopFilePath(), DesktopEntry(uninstall));

  // shared-mime-info package: the project file type and its extension.
  //
  //   <mime-info xmlns="http://www.freedesktop.org/standards/shared-mime-info">
  //     <mime-type type="application/x-aerolith-project">
  //       <comment>Aerolith Project File</comment>
  //       <glob pattern="*.ven"/>
  //     </mime-type>
  //   </mime-info>
  QByteArray package;
  QXmlStreamWriter xml(&package);
  xml.setAutoFormatting(true);
  xml.writeStartDocument();
  xml.writeDefaultNamespace(QStringLiteral("http://www.freedesktop.org/standards/shared-mime-info"));
  xml.writeStartElement(QStringLiteral("mime-info"));
  xml.writeStartElement(QStringLiteral("mime-type"));
  xml.writeAttribute(QStringLiteral("type"), v_mimeType);
  xml.writeTextElement(QStringLiteral("comment"), v_title + QStringLiteral(" Project File"));
  xml.writeEmptyElement(QStringLiteral("glob"));
  xml.writeAttribute(QStringLiteral("pattern"), kProjectGlob);
  xml.writeEndElement();
  xml.writeEndElement();
  xml.writeEndDocument();
  run.WriteOwned(MimePackagePath(), package);

  // The icon theme names a MIME type's icon after the type, '/' -> '-'.
  const QString szMimeIcon = QString(v_mimeType).replace(QLatin1Char('/'), QLatin1Char('-'));
  for (const Icon& icon : v_icons) {
    const QString szSizeFolder = v_dataRoot + QStringLiteral("/icons/hicolor/%1x%1/").arg(icon.v_sizePx);
    run.WriteOwned(szSizeFolder + QStringLiteral("apps/") + szIconName + QStringLiteral(".png"), icon.v_png);
    run.WriteOwned(szSizeFolder + QStringLiteral("mimetypes/") + szMimeIcon + QStringLiteral(".png"), icon.v_png);
  }

  // What an earlier Install wrote and this one no longer does (an icon size
  // dropped, say) goes, when still ours.
  for (auto it = run.v_old.v_files.begin(); it != run.v_old.v_files.end(); ++it)
    if (!run.v_touched.contains(it.key())) run.RemoveOwned(run.Abs(it.key()), it.value());

  // The default handler, only while there is an entry for it to name.
  if (QFileInfo::exists(DesktopFilePath())) {
    const QString szList = MimeAppsPath();
    const bool bExists = QFileInfo::exists(szList);
    QString szError;
    const std::optional<QByteArray> text = bExists ? ReadAll(szList, &szError) : QByteArray();
    if (!text) {
      run.Problem(QStringLiteral("Cannot read %1: %2").arg(szList, szError));
      if (run.v_old.v_mimeApps) run.v_new.v_mimeApps = run.v_old.v_mimeApps;
    } else {
      IniLines ini = IniLines::FromBytes(*text);
      MimeAppsRecord record = run.v_old.v_mimeApps.value_or(MimeAppsRecord());
      record.v_createdFile = record.v_createdFile || !bExists;
      const QByteArray key = v_mimeType.toUtf8();
      const QByteArray desktopFile = QFileInfo(DesktopFilePath()).fileName().toUtf8();
      if (!SetDefaultHandler(ini, key, desktopFile, &record)) {
        run.v_new.v_mimeApps = record;
      } else if (!QDir().mkpath(v_configRoot) || !WriteAtomically(szList, ini.ToBytes(), &szError)) {
        run.Problem(QStringLiteral("Cannot write %1: %2").arg(szList, szError));
        if (run.v_old.v_mimeApps) run.v_new.v_mimeApps = run.v_old.v_mimeApps;
      } else {
        run.v_new.v_mimeApps = record;
        run.v_result.v_changed = true;
      }
    }
  }

  // The record last, so that it names only what is in place. Folders stay
  // recorded from earlier runs: they are still the ones we made.
  run.v_new.v_folders.unite(run.v_old.v_folders);
  run.MakeFolder(QFileInfo(ManifestPath()).path());
  const QByteArray json = SerialiseRecord(run.v_new);
  QString szError;
  const std::optional<QByteArray> oldJson = ReadAll(ManifestPath(), &szError);
  if ((!oldJson || *oldJson != json) && !WriteAtomically(ManifestPath(), json, &szError))
    run.Problem(QStringLiteral("Cannot write %1: %2").arg(ManifestPath(), szError));

  if (run.v_result.v_changed && v_updateCaches) {
    RunTool(QStringLiteral("update-mime-database"), v_dataRoot + QStringLiteral("/mime"));
    RunTool(QStringLiteral("update-desktop-database"), v_dataRoot + QStringLiteral("/applications"));
  }
  return run.v_result;
}

CTDesktopResult CTDesktopIntegration::Uninstall() {
  const QString szManifest = ManifestPath();
  if (!QFileInfo::exists(szManifest)) return {};
  const std::optional<Record> record = LoadRecord(szManifest);
  Run run(v_dataRoot, record.value_or(Record()));
  if (!record) {
    // Without a readable record nothing can be proven ours; keep the record
    // for a person to look at.
    run.Problem(QStringLiteral("Cannot read the installation record %1").arg(szManifest));
    return run.v_result;
  }

  if (record->v_mimeApps) {
    const QString szList = MimeAppsPath();
    QString szError;
    const std::optional<QByteArray> text = QFileInfo::exists(szList) ? ReadAll(szList, &szError) : QByteArray();
    IniLines ini = IniLines::FromBytes(text.value_or(QByteArray()));
    const QByteArray desktopFile = QFileInfo(DesktopFilePath()).fileName().toUtf8();
    if (!text) {
      run.Problem(QStringLiteral("Cannot read %1: %2").arg(szList, szError));
    } else if (RemoveDefaultHandler(ini, v_mimeType.toUtf8(), desktopFile, *record->v_mimeApps)) {
      const QByteArray newText = ini.ToBytes();
      QFile file(szList);
      if (record->v_mimeApps->v_createdFile && newText.trimmed().isEmpty()) {
        if (file.remove())
          run.v_result.v_changed = true;
        else
          run.Problem(QStringLiteral("Cannot remove %1: %2").arg(szList, file.errorString()));
      } else if (WriteAtomically(szList, newText, &szError)) {
        run.v_result.v_changed = true;
      } else {
        run.Problem(QStringLiteral("Cannot write %1: %2").arg(szList, szError));
      }
    }
  }

  for (auto it = record->v_files.begin(); it != record->v_files.end(); ++it)
    run.RemoveOwned(run.Abs(it.key()), it.value());

  // The caches first: the tools write into the folders that go next.
  if (run.v_result.v_changed && v_updateCaches) {
    RunTool(QStringLiteral("update-mime-database"), v_dataRoot + QStringLiteral("/mime"));
    RunTool(QStringLiteral("update-desktop-database"), v_dataRoot + QStringLiteral("/applications"));
  }

  QFile manifest(szManifest);
  if (!manifest.remove()) {
    run.Problem(QStringLiteral("Cannot remove %1: %2").arg(szManifest, manifest.errorString()));
    return run.v_result;
  }
  run.RemoveEmptyFolders(record->v_folders);
  return run.v_result;
}

bool CTDesktopIntegration::IsInstalled() const { return LoadRecord(ManifestPath()).has_value(); }
