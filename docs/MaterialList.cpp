#include "docs/MaterialList.h"

#include "catalogue/ClHRX.h"
#include "docs/ExcelXML.h"
#include "platform/Registry.h"
#include "platform/VersionUtils.h"

#include <QSaveFile>

namespace {

QString ListKey(const QString& szRegRoot) {
  return (szRegRoot.isEmpty() ? QString::fromLatin1(LTMaterialListSettings::kDefaultRoot) : szRegRoot) +
         QStringLiteral("\\XMLMatList");
}

}  // namespace

bool LTMaterialListSettings::HeaderSettingsApply() {
  const int server = CTVersionUtils::CorvelServerID();
  return server == 0 || server == 10;
}

LTMaterialListSettings LTMaterialListSettings::Read(const QString& szRegRoot) {
  LTMaterialListSettings s;
  CTRegistry registry;
  const bool open = registry.OpenKey(ListKey(szRegRoot), false);
  const auto flag = [&](const char* name, bool missing) {
    const std::optional<int> value = open ? registry.ReadInteger(QString::fromLatin1(name)) : std::nullopt;
    return value ? *value != 0 : missing;
  };
  if (HeaderSettingsApply()) {
    s.sapCrm = flag("SAPCRM", true);
    s.useSectionHeader = flag("SC_USE_HEADER", true);
    if (const std::optional<QString> header = open ? registry.ReadString(QStringLiteral("SC_HEADER")) : std::nullopt)
      s.sectionHeader = *header;
  }
  s.customAll = flag("CUST_ALL", false);
  s.customPerSystem = !s.customAll || flag("CUST_PER_SYSTEM", false);
  s.customPiping = flag("CUST_PIPING", true);
  return s;
}

void LTMaterialListSettings::Write(const QString& szRegRoot) const {
  CTRegistry registry;
  if (!registry.OpenKey(ListKey(szRegRoot), true)) return;
  if (HeaderSettingsApply()) {
    registry.WriteInteger(QStringLiteral("SAPCRM"), sapCrm);
    registry.WriteInteger(QStringLiteral("SC_USE_HEADER"), useSectionHeader);
    registry.WriteString(QStringLiteral("SC_HEADER"), sectionHeader);
  }
  registry.WriteInteger(QStringLiteral("CUST_ALL"), customAll);
  registry.WriteInteger(QStringLiteral("CUST_PER_SYSTEM"), customPerSystem);
  registry.WriteInteger(QStringLiteral("CUST_PIPING"), customPiping);
}

void CTMaterialList::Build(CTDocTable& table, const Cls_HRX& unit, const QList<LTOptionRow>& options,
                           const LTMaterialListSettings& settings) {
  table.InitDimensions(3, 1, 0, 0, true);
  table.SetAllHasBorders(true);
  table.SetText(0, 0, QStringLiteral("Model"));
  table.SetText(1, 0, QStringLiteral("Qty"));
  table.SetText(2, 0, QStringLiteral("Description"));
  int row = 1;
  const auto add = [&table, &row](const QString& model, int count, const QString& description) {
    table.SetText(0, row, model);
    table.SetText(1, row, QString::number(count));
    table.SetHorAlign(1, row, DocHorAlign::kRight);
    table.SetText(2, row, description);
    ++row;
  };
  // The placeholder would stand in the list as a material of that name.
  const QString header = settings.sectionHeader.trimmed();
  if (settings.useSectionHeader && !header.isEmpty() &&
      header != QLatin1String(LTMaterialListSettings::kSectionPlaceholder)) {
    table.SetText(0, row, header);
    table.SetText(1, row, QStringLiteral("1"));
    table.SetText(2, row, QStringLiteral("All"));
    ++row;
  }
  add(unit.GetName(), 1, unit.GetDescriptiveName());
  for (const LTOptionRow& option : options)
    if (option.used) add(option.name, option.count, option.description);
}

bool CTMaterialList::Write(const QString& szPath, CTDocTable& table, QString& szError) {
  table.CalculatePixelSizes(10);
  QSaveFile file(szPath);
  if (!file.open(QIODevice::WriteOnly)) {
    szError = file.errorString();
    return false;
  }
  CTExcelXML2003::GlobalStart(file, nullptr);
  CTDocTableToXML::ExportDocTableAsWorksheet(file, table, QStringLiteral("All"), nullptr);
  CTExcelXML2003::GlobalEnd(file);
  if (!file.commit()) {
    szError = file.errorString();
    return false;
  }
  return true;
}
