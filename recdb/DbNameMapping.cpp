#include "recdb/DbNameMapping.h"

CTNameMapping::CTNameMapping(const QString& szOldName, const QString& szNewName)
    : v_oldName(szOldName), v_newName(szNewName) {}

CTNameMapping::~CTNameMapping() = default;

CTMappingTable* CTNameMapping::GetSubTable() {
  if (!v_subTable) v_subTable = std::make_unique<CTMappingTable>();
  return v_subTable.get();
}

CTNameMapping* CTMappingTable::AddMapping(const QString& szOldName, const QString& szNewName) {
  auto* mapping = new CTNameMapping(szOldName, szNewName);
  v_mappings.Add(mapping);
  return mapping;
}

CTNameMapping* CTMappingTable::FindMapping(const QString& szForOldName, bool bCaseSensitive, int, int) const {
  const Qt::CaseSensitivity cs = bCaseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
  return v_mappings.Search([&](const CTNameMapping* m) { return m->v_oldName.compare(szForOldName, cs) == 0; });
}

QString CTMappingTable::FindNewName(const QString& szForOldName, bool bCaseSensitive, int nData1, int nData2) const {
  const CTNameMapping* mapping = FindMapping(szForOldName, bCaseSensitive, nData1, nData2);
  return mapping ? mapping->v_newName : QString();
}
