#include "docs/MaterialList.h"

#include "catalogue/ClHRX.h"
#include "docs/ExcelXML.h"
#include "platform/Registry.h"

#include <QSaveFile>

LTMaterialListSettings LTMaterialListSettings::Read() {
  LTMaterialListSettings settings;
  CTRegistry registry;
  if (!registry.OpenKey(QStringLiteral("Software\\Norvane\\XMLMatList"), false)) return settings;
  if (const std::optional<int> use = registry.ReadInteger(QStringLiteral("SC_USE_HEADER"))) settings.useSectionHeader = *use != 0;
  if (const std::optional<QString> header = registry.ReadString(QStringLiteral("SC_HEADER"))) settings.sectionHeader = *header;
  return settings;
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
  const QString header = settings.sectionHeader.trimmed();
  if (settings.useSectionHeader && !header.isEmpty()) {
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
