#include "docs/Preferences.h"

#include "platform/Registry.h"
#include "platform/VersionUtils.h"
#include "psychro/SI_Units.h"

#include <QDir>

namespace {

constexpr int kImperialServer = 2;

struct Values {
  QString projectPath;
  QString reportPath;
  LTMaterialListSettings materialList;
};

Values& Current() {
  static Values values;
  return values;
}

QString UnitsKey() { return QString::fromLatin1(CTPreferences::kKey) + QStringLiteral("\\Units"); }

}  // namespace

QString CTPreferences::PrefProjectPath() { return Current().projectPath; }
QString CTPreferences::PrefReportPath() { return Current().reportPath; }
void CTPreferences::SetPrefProjectPath(const QString& szPath) { Current().projectPath = szPath; }
void CTPreferences::SetPrefReportPath(const QString& szPath) { Current().reportPath = szPath; }
const LTMaterialListSettings& CTPreferences::MaterialList() { return Current().materialList; }
void CTPreferences::SetMaterialList(const LTMaterialListSettings& settings) { Current().materialList = settings; }

void CTPreferences::ReadRegistry() {
  Values& v = Current();
  bool hadUnits = false;
  {
    CTRegistry registry;
    if (registry.OpenKey(QString::fromLatin1(kKey), true)) {
      if (const std::optional<QString> path = registry.ReadString(QStringLiteral("PROJECT_PATH"))) v.projectPath = *path;
      if (const std::optional<QString> path = registry.ReadString(QStringLiteral("REPORT_PATH"))) v.reportPath = *path;
      hadUnits = registry.KeyExists(UnitsKey());
    }
  }
  TU_Form::LoadSettingsFromRegistry(UnitsKey());
  if (!hadUnits && CTVersionUtils::CorvelServerID() == kImperialServer) {
    TU_Form::SelectImperialDefaults();
    TU_Form::SaveSettingsToRegistry(UnitsKey());
  }
  v.materialList = LTMaterialListSettings::Read();
}

void CTPreferences::WriteRegistry() {
  const Values& v = Current();
  {
    CTRegistry registry;
    if (registry.OpenKey(QString::fromLatin1(kKey), true)) {
      registry.WriteString(QStringLiteral("PROJECT_PATH"), v.projectPath);
      registry.WriteString(QStringLiteral("REPORT_PATH"), v.reportPath);
    }
  }
  TU_Form::SaveSettingsToRegistry(UnitsKey());
  v.materialList.Write();
}

QString CTPreferences::StartFolder(bool bReports, const QString& szFallback) {
  const QString folder = bReports ? PrefReportPath() : PrefProjectPath();
  return !folder.isEmpty() && QDir(folder).exists() ? folder : szFallback;
}
