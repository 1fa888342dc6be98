// The material list of a demonstration unit: its section-header row, and
// the placeholder the setting holds until a section is named, which must
// not reach the list as a material.

#include "DemoCatalogue.h"
#include "docs/MaterialList.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using MaterialList = DemoCatalogueTest;

QStringList Row(const CTDocTable& table, int nRow) {
  QStringList cells;
  for (int c = 0; c < table.NbColumns(); ++c) cells << table.GetText(c, nRow);
  return cells;
}

TEST_F(MaterialList, ASectionRowOnlyForANamedSection) {
  const std::unique_ptr<Cls_HRX> unit = Unit("NV-400");
  ASSERT_NE(unit, nullptr);
  const auto settings = [](bool bUse, const QString& szHeader) {
    LTMaterialListSettings s;
    s.useSectionHeader = bUse;
    s.sectionHeader = szHeader;
    return s;
  };
  const QStringList unitRow{"NV-400", "1", "NV-400"};
  const struct {
    const char* name;
    LTMaterialListSettings settings;
    QStringList row1;
  } cases[] = {
      {"as the settings start", LTMaterialListSettings{}, unitRow},
      {"placeholder with blanks", settings(true, "  _.SECTION "), unitRow},
      {"named, trimmed", settings(true, "  Ventilation  "), {"Ventilation", "1", "All"}},
      {"switched off", settings(false, "Ventilation"), unitRow},
  };
  QTemporaryDir dir;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CTDocTable table;
    CTMaterialList::Build(table, *unit, {}, c.settings);
    EXPECT_EQ(Row(table, 0), (QStringList{"Model", "Qty", "Description"}));
    EXPECT_EQ(Row(table, 1), c.row1);
    // The workbook as written holds no placeholder anywhere.
    const QString path = dir.filePath("list.xml");
    QString error;
    ASSERT_TRUE(CTMaterialList::Write(path, table, error)) << error.toStdString();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray xml = file.readAll();
    EXPECT_FALSE(xml.contains("SECTION"));
    EXPECT_TRUE(xml.contains("<Data ss:Type=\"String\">NV-400</Data>"));
  }
}

}  // namespace
