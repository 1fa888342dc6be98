#include "tools/CatalogueSource.h"

#include "recdb/BaseFactory.h"
#include "recdb/DbException.h"
#include "recdb/DbObject.h"
#include "recdb/FieldInfo.h"
#include "recdb/TableInfo.h"
#include "recdb/TableLink.h"
#include "recdb/ValuePooling.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <cmath>
#include <memory>
#include <utility>

namespace {

const QString kTablePrefix = QStringLiteral("Tbl_");
const QString kRefSuffix = QStringLiteral("_CLS_REF");
const QString kObjSuffix = QStringLiteral("_OBJ_REF");

// The table a reference column points into: the link's, else the one its
// name gives ("Fld_Device_CLS_REF" -> Device).
const CTTableInfo* ReferredTable(const CTBaseFactory& pFactory, const CTFieldInfo& pField) {
  if (const CTTableLink* link = pField.GetRefTo()) return link->GetFromTable();
  QString stem = pField.GetName().chopped(kRefSuffix.size());
  stem = stem.mid(stem.indexOf(QLatin1Char('_')) + 1);
  return pFactory.GetTableNamed(kTablePrefix + stem);
}

// Splits one line into cells: blanks separate, "..." quotes (with \" and \\),
// '#' outside quotes ends the line. Answers false on an unterminated quote.
bool SplitLine(const QString& line, std::vector<CTCatalogueSource::Cell>& cells) {
  cells.clear();
  const int n = int(line.size());
  int i = 0;
  while (i < n) {
    const QChar c = line[i];
    if (c.isSpace()) {
      ++i;
      continue;
    }
    if (c == QLatin1Char('#')) break;
    CTCatalogueSource::Cell cell;
    if (c == QLatin1Char('"')) {
      cell.quoted = true;
      ++i;
      bool closed = false;
      while (i < n) {
        const QChar d = line[i++];
        if (d == QLatin1Char('"')) {
          closed = true;
          break;
        }
        if (d == QLatin1Char('\\') && i < n) {
          cell.text += line[i++];
          continue;
        }
        cell.text += d;
      }
      if (!closed) return false;
    } else {
      while (i < n && !line[i].isSpace() && line[i] != QLatin1Char('#')) cell.text += line[i++];
    }
    cells.push_back(std::move(cell));
  }
  return true;
}

bool ParseBoolean(const QString& s, bool& b) {
  const QString v = s.toLower();
  if (v == QLatin1String("yes") || v == QLatin1String("true") || v == QLatin1String("1")) {
    b = true;
    return true;
  }
  if (v == QLatin1String("no") || v == QLatin1String("false") || v == QLatin1String("0")) {
    b = false;
    return true;
  }
  return false;
}

}  // namespace

void CTCatalogueSource::AddText(const QString& szText, const QString& sName) {
  const QStringList lines = szText.split(QLatin1Char('\n'));
  Block* open = nullptr;
  bool byField = false;
  std::vector<std::vector<Cell>> byFieldLines;  // the lines of a by-field block
  std::vector<QString> byFieldWhere;
  std::vector<Cell> cells;

  const auto closeByField = [&]() {
    // Transpose: the first cell of each line names the column, the others are
    // the records' values.
    std::size_t records = 0;
    for (const auto& l : byFieldLines) records = std::max(records, l.size() - 1);
    for (std::size_t li = 0; li < byFieldLines.size(); ++li) {
      open->columns << byFieldLines[li][0].text;
      if (byFieldLines[li].size() - 1 != records)
        Problem(byFieldWhere[li], QStringLiteral("%1 values for %2 records").arg(byFieldLines[li].size() - 1).arg(records));
    }
    for (std::size_t r = 0; r < records; ++r) {
      Row row;
      row.where = byFieldWhere.front() + QStringLiteral(" (record %1)").arg(r + 1);
      for (const auto& l : byFieldLines) row.cells.push_back(r + 1 < l.size() ? l[r + 1] : Cell{QStringLiteral("-"), false});
      open->rows.push_back(std::move(row));
    }
    byFieldLines.clear();
    byFieldWhere.clear();
  };

  for (int ln = 0; ln < lines.size(); ++ln) {
    const QString where = sName + QLatin1Char(':') + QString::number(ln + 1);
    if (!SplitLine(lines[ln], cells)) {
      Problem(where, QStringLiteral("a quoted text is not closed"));
      continue;
    }
    if (cells.empty()) continue;
    const QString first = cells[0].quoted ? QString() : cells[0].text;
    if (!open) {
      if (first.compare(QLatin1String("table"), Qt::CaseInsensitive) != 0 || cells.size() < 2 || cells.size() > 3) {
        Problem(where, QStringLiteral("expected \"table NAME\" or \"table NAME by-field\""));
        continue;
      }
      byField = cells.size() == 3;
      if (byField && cells[2].text.compare(QLatin1String("by-field"), Qt::CaseInsensitive) != 0) {
        Problem(where, QStringLiteral("unknown layout \"%1\" (only by-field)").arg(cells[2].text));
        continue;
      }
      v_blocks.push_back(Block{cells[1].text, {}, {}, where});
      open = &v_blocks.back();
      continue;
    }
    if (first.compare(QLatin1String("end"), Qt::CaseInsensitive) == 0 && cells.size() == 1) {
      if (byField) closeByField();
      if (open->columns.isEmpty()) Problem(open->where, QStringLiteral("table %1 has no columns").arg(open->table));
      open = nullptr;
      continue;
    }
    if (byField) {
      byFieldLines.push_back(cells);
      byFieldWhere.push_back(where);
    } else if (open->columns.isEmpty()) {
      for (const Cell& c : cells) open->columns << c.text;
    } else {
      if (int(cells.size()) != open->columns.size())
        Problem(where, QStringLiteral("%1 values for %2 columns").arg(cells.size()).arg(open->columns.size()));
      open->rows.push_back(Row{cells, where});
    }
  }
  if (open) Problem(open->where, QStringLiteral("table %1 has no \"end\"").arg(open->table));
}

bool CTCatalogueSource::AddPath(const QString& szPath) {
  QStringList files;
  const QFileInfo info(szPath);
  if (info.isDir()) {
    const QDir dir(szPath);
    for (const QString& f : dir.entryList({QStringLiteral("*.cat")}, QDir::Files, QDir::Name)) files << dir.filePath(f);
    if (files.isEmpty()) Problem(szPath, QStringLiteral("no *.cat file in this folder"));
  } else {
    files << szPath;
  }
  bool ok = !files.isEmpty();
  for (const QString& path : files) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
      Problem(path, QStringLiteral("cannot read: %1").arg(file.errorString()));
      ok = false;
      continue;
    }
    AddText(QString::fromUtf8(file.readAll()), path);
  }
  return ok;
}

// One column of a block resolved against its table.
struct CTCatalogueSource::Column {
  int fieldIx = -1;
  bool reference = false;  // the class-id half of a reference pair
};

// A record read from a row. Its references are held back, checked once
// every record is read, and set after every record is inserted.
struct CTCatalogueSource::PendingRecord {
  struct Ref {
    int fieldIx;
    int targetCls;
    int targetID;
  };
  std::unique_ptr<CTDbObject> object;
  std::vector<Ref> refs;
};

bool CTCatalogueSource::Build(CTBaseFactory& pFactory) {
  std::vector<PendingRecord> records;
  QHash<int, QString> tableSeen;  // class id -> where its block starts
  for (const Block& block : v_blocks) ReadBlock(pFactory, block, tableSeen, records);
  CheckReferences(pFactory, records);
  if (!v_problems.isEmpty()) return false;
  return InsertRecords(records);
}

void CTCatalogueSource::ReadBlock(CTBaseFactory& pFactory, const Block& block, QHash<int, QString>& tableSeen,
                                  std::vector<PendingRecord>& records) {
  const CTTableInfo* table = pFactory.GetTableNamed(kTablePrefix + block.table);
  if (!table || table->IsAbstract()) {
    Problem(block.where, QStringLiteral("no table %1 to hold records").arg(block.table));
    return;
  }
  const int cls = table->GetTableIndex();
  if (tableSeen.contains(cls)) {
    Problem(block.where,
            QStringLiteral("second block of table %1 (the first is at %2)").arg(block.table, tableSeen[cls]));
    return;
  }
  tableSeen.insert(cls, block.where);

  std::vector<Column> columns;
  if (!ResolveColumns(*table, block, columns)) return;
  for (const Row& row : block.rows) {
    PendingRecord record;
    if (ReadRow(pFactory, block, *table, columns, row, record)) records.push_back(std::move(record));
  }
}

// Every column of the block must name a column of the table, or the pair of
// a reference; the first must be the id.
bool CTCatalogueSource::ResolveColumns(const CTTableInfo& table, const Block& block, std::vector<Column>& columns) {
  bool columnsOk = true;
  for (const QString& name : block.columns) {
    const Column col = ResolveColumn(table, name);
    if (col.fieldIx < 0) {
      Problem(block.where, QStringLiteral("table %1 has no column %2").arg(block.table, name));
      columnsOk = false;
    }
    columns.push_back(col);
  }
  if (!columnsOk) return false;
  if (columns.empty() || columns[0].fieldIx != 0) {
    Problem(block.where,
            QStringLiteral("the first column of %1 must be its id column %2").arg(block.table, table.GetIDFieldName()));
    return false;
  }
  return true;
}

CTCatalogueSource::Column CTCatalogueSource::ResolveColumn(const CTTableInfo& table, const QString& szName) {
  Column col;
  col.fieldIx = table.IndexOfField(szName);
  if (col.fieldIx >= 0) return col;
  // A reference pair: X_CLS_REF followed by X_OBJ_REF, with or without a
  // declared link (a device's messages have none).
  const int refIx = table.IndexOfField(szName + kRefSuffix);
  const CTFieldInfo* objField = refIx >= 0 ? table.GetFieldInfo(refIx + 1) : nullptr;
  if (objField && objField->GetName().compare(szName + kObjSuffix, Qt::CaseInsensitive) == 0) {
    col.fieldIx = refIx;
    col.reference = true;
  }
  return col;
}

// The record of one row, unless its id is unusable; a bad value is a
// problem of its own and still leaves the record.
bool CTCatalogueSource::ReadRow(CTBaseFactory& pFactory, const Block& block, const CTTableInfo& table,
                                const std::vector<Column>& columns, const Row& row, PendingRecord& record) {
  const int cls = table.GetTableIndex();
  bool idOk = false;
  const int id = row.cells.empty() ? 0 : row.cells[0].text.toInt(&idOk);
  if (!idOk || id <= 0) {
    Problem(row.where, QStringLiteral("the id of a %1 record must be a positive integer").arg(block.table));
    return false;
  }
  if (v_where.contains(Key(cls, id))) {
    Problem(row.where,
            QStringLiteral("%1 %2 is defined twice (first at %3)").arg(block.table).arg(id).arg(v_where[Key(cls, id)]));
    return false;
  }
  v_where.insert(Key(cls, id), row.where);
  record.object.reset(pFactory.CreateObject(cls, 0));
  record.object->SetID(id);
  for (std::size_t c = 1; c < columns.size() && c < row.cells.size(); ++c) {
    const Cell& cell = row.cells[c];
    if (!cell.quoted && cell.text == QLatin1String("-")) continue;  // the column's default
    ReadCell(pFactory, block, row, c, columns[c], record);
  }
  return true;
}

void CTCatalogueSource::ReadCell(const CTBaseFactory& pFactory, const Block& block, const Row& row, std::size_t c,
                                 const Column& column, PendingRecord& record) {
  const Cell& cell = row.cells[c];
  const int ix = column.fieldIx;
  const auto bad = [&](const QString& expected) {
    Problem(row.where, QStringLiteral("%1 of %2 %3: \"%4\" is not %5")
                           .arg(block.columns[int(c)], block.table)
                           .arg(record.object->GetID())
                           .arg(cell.text, expected));
  };
  if (column.reference) {
    const int colon = cell.text.indexOf(QLatin1Char(':'));
    const CTTableInfo* target = colon > 0 ? pFactory.GetTableNamed(kTablePrefix + cell.text.left(colon)) : nullptr;
    bool targetOk = false;
    const int targetID = colon > 0 ? cell.text.mid(colon + 1).toInt(&targetOk) : 0;
    if (cell.quoted || !target || !targetOk || targetID <= 0) {
      bad(QStringLiteral("a reference TABLE:ID"));
      return;
    }
    record.refs.push_back({ix, target->GetTableIndex(), targetID});
    return;
  }
  CTDbObject& object = *record.object;
  bool ok = true;
  switch (object.TableInfo()->GetFieldInfo(ix)->GetType()) {
    case vtBoolean: {
      bool b = false;
      ok = !cell.quoted && ParseBoolean(cell.text, b);
      if (ok) object.SetBooleanValue(ix, b);
      else bad(QStringLiteral("yes or no"));
      break;
    }
    case vtInteger: {
      const int n = cell.text.toInt(&ok);
      ok = ok && !cell.quoted;
      if (ok) object.SetIntegerValue(ix, n);
      else bad(QStringLiteral("an integer"));
      break;
    }
    case vtDouble: {
      const double d = cell.text.toDouble(&ok);  // QString::toDouble ignores the locale
      ok = ok && !cell.quoted && std::isfinite(d);
      if (ok) object.SetDoubleValue(ix, d);
      else bad(QStringLiteral("a number"));
      break;
    }
    case vtUnicodeString:
      object.SetUnicodeStringValue(ix, cell.text);
      break;
    default:
      bad(QStringLiteral("of a type the catalogue text can hold"));
      break;
  }
}

// References: every target must exist and be of the linked table; a
// one-to-one link takes one referrer per target.
void CTCatalogueSource::CheckReferences(const CTBaseFactory& pFactory, const std::vector<PendingRecord>& records) {
  QHash<std::pair<int, quint64>, QString> oneToOneTaken;  // (link id, target) -> the first referrer
  for (const PendingRecord& rec : records) {
    const CTDbObject& obj = *rec.object;
    const QString where = v_where.value(Key(obj.TableIndex(), obj.GetID()));
    for (const PendingRecord::Ref& ref : rec.refs) {
      const CTFieldInfo* field = obj.TableInfo()->GetFieldInfo(ref.fieldIx);
      const CTTableLink* link = field->GetRefTo();
      const QString column = field->GetName().chopped(kRefSuffix.size());
      const QString target =
          pFactory.GetTableInfo(ref.targetCls)->ModelClassName() + QLatin1Char(':') + QString::number(ref.targetID);
      if (!v_where.contains(Key(ref.targetCls, ref.targetID))) {
        Problem(where, QStringLiteral("%1 refers to %2, which is not defined").arg(column, target));
        continue;
      }
      const CTTableInfo* master = ReferredTable(pFactory, *field);
      if (master && !pFactory.GetTableInfo(ref.targetCls)->IsOfClass(master->GetTableIndex())) {
        Problem(where, QStringLiteral("%1 must refer to a %2 record, not %3").arg(column, master->ModelClassName(), target));
        continue;
      }
      if (!link || !link->v_oneToOne) continue;
      const std::pair<int, quint64> key{link->GetAssociationID(), Key(ref.targetCls, ref.targetID)};
      if (oneToOneTaken.contains(key)) {
        Problem(where, QStringLiteral("%1 is already taken by the record at %2 (one-to-one link)")
                           .arg(target, oneToOneTaken[key]));
        continue;
      }
      oneToOneTaken.insert(key, where);
    }
  }
}

// First every record with its references empty, then the references, so
// that no record waits for a target inserted after it.
bool CTCatalogueSource::InsertRecords(std::vector<PendingRecord>& records) {
  try {
    for (PendingRecord& rec : records) rec.object->InsertWithID(rec.object->GetID());
    for (PendingRecord& rec : records) {
      if (rec.refs.empty()) continue;
      for (const PendingRecord::Ref& ref : rec.refs) {
        rec.object->SetIntegerValue(ref.fieldIx, ref.targetCls);
        rec.object->SetIntegerValue(ref.fieldIx + 1, ref.targetID);
      }
      rec.object->Update();
    }
  } catch (const CTDbException& e) {
    Problem(QStringLiteral("catalogue"), e.Message());
    return false;
  }
  return true;
}
