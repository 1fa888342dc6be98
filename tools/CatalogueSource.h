#pragma once
// CTCatalogueSource: the readable text of the device catalogue (the layout is
// described in resources/catalogue/FORMAT.md) and its building into a record
// database through the record API, so that the engine's own writer produces
// the embedded file.
//
//   table HRXSpType                 table HRX by-field
//     VST_ID  VST_Name  VST_Weight    HRX_ID    1       2
//     1       Low       10            Fld_Name  NV-250  NV-400
//   end                             end
//
// Reading collects every fault with its file and line instead of stopping at
// the first, so one build run shows all that is wrong with the text.

#include <QHash>
#include <QString>
#include <QStringList>

#include <vector>

class CTBaseFactory;
class CTTableInfo;

class CTCatalogueSource {
 public:
  struct Cell {
    QString text;
    bool quoted = false;  // a quoted text is never a number, "-" or a reference
  };
  // One record of a block: its cells by column, and where it was written.
  struct Row {
    std::vector<Cell> cells;
    QString where;  // "file:line"
  };
  struct Block {
    QString table;  // model class name as written
    QStringList columns;
    std::vector<Row> rows;
    QString where;
  };

  // Reads one text; sName names it in messages.
  void AddText(const QString& szText, const QString& sName);
  // Reads a file, or every "*.cat" of a folder in name order.
  bool AddPath(const QString& szPath);

  // Creates every record in the connected factory: first all records with
  // their references empty, then the references, so that the order of the
  // blocks does not matter. Faults of the text (unknown tables or columns,
  // bad values, duplicate ids, references to no record, second referrers on
  // one-to-one links) are collected and nothing is inserted when there is one.
  bool Build(CTBaseFactory& pFactory);

  const std::vector<Block>& Blocks() const { return v_blocks; }
  const QStringList& Problems() const { return v_problems; }
  // "file:line" of a record, empty when it was not read from this source.
  QString WhereIs(int nClsID, int nObjID) const { return v_where.value(Key(nClsID, nObjID)); }

 private:
  struct Column;
  struct PendingRecord;

  // The steps of Build. Each reports the faults it finds through Problem.
  void ReadBlock(CTBaseFactory& pFactory, const Block& block, QHash<int, QString>& tableSeen,
                 std::vector<PendingRecord>& records);
  bool ResolveColumns(const CTTableInfo& table, const Block& block, std::vector<Column>& columns);
  static Column ResolveColumn(const CTTableInfo& table, const QString& szName);
  bool ReadRow(CTBaseFactory& pFactory, const Block& block, const CTTableInfo& table,
               const std::vector<Column>& columns, const Row& row, PendingRecord& record);
  void ReadCell(const CTBaseFactory& pFactory, const Block& block, const Row& row, std::size_t c, const Column& column,
                PendingRecord& record);
  void CheckReferences(const CTBaseFactory& pFactory, const std::vector<PendingRecord>& records);
  bool InsertRecords(std::vector<PendingRecord>& records);

  static quint64 Key(int nClsID, int nObjID) { return (quint64(quint32(nClsID)) << 32) | quint32(nObjID); }
  void Problem(const QString& szWhere, const QString& szText) { v_problems << szWhere + QStringLiteral(": ") + szText; }

  std::vector<Block> v_blocks;
  QStringList v_problems;
  QHash<quint64, QString> v_where;
};
