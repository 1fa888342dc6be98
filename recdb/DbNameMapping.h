#pragma once
// Old-name to new-name tables that let a database file written with older
// table or column names be read: a table-level mapping renames a table, its
// sub-table renames that table's columns.

#include "recdb/ObjList.h"

#include <QString>

#include <memory>

class CTMappingTable;

class CTNameMapping {
 public:
  CTNameMapping(const QString& szOldName, const QString& szNewName);
  virtual ~CTNameMapping();
  // Created on first request.
  virtual CTMappingTable* GetSubTable();

  QString v_oldName;
  QString v_newName;

 private:
  std::unique_ptr<CTMappingTable> v_subTable;
};

class CTMappingTable {
 public:
  virtual ~CTMappingTable() = default;
  virtual CTNameMapping* AddMapping(const QString& szOldName, const QString& szNewName);
  // The first mapping whose old name matches. The context values (the table
  // index declared in a file; or a column's stored type code and the field
  // count of its table) let a subclass decide; this class ignores them.
  virtual CTNameMapping* FindMapping(const QString& szForOldName, bool bCaseSensitive, int nData1 = 0,
                                     int nData2 = 0) const;
  QString FindNewName(const QString& szForOldName, bool bCaseSensitive, int nData1 = 0, int nData2 = 0) const;
  int Count() const { return v_mappings.Count(); }

 private:
  ObjectList<CTNameMapping> v_mappings{true};
};
