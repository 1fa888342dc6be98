#include "recdb/MemDB.h"

#include "i18n/BaseMsgMan.h"
#include "platform/Resources.h"
#include "recdb/BaseFactory.h"
#include "recdb/DbMessages.h"
#include "recdb/DbNameMapping.h"
#include "recdb/DbTextReader.h"
#include "recdb/LZSS.h"
#include "recdb/MyFileStream.h"

#include <QBuffer>

#include <algorithm>
#include <tuple>
#include <cmath>
#include <map>

namespace {

bool g_useCompression = false;
QString g_signature;
bool g_autoCorrect = false;
int g_maxUndoDepth = 5;
bool g_writeExtendedStructure = true;

bool ValidPair(int cls, int id) { return cls >= 0 && id > 0; }

// Stored type codes a field of each type accepts when reading a file.
bool AcceptsStoredCode(int nFieldType, int nCode) {
  switch (nFieldType) {
    case vtBoolean: return nCode == 0;
    case vtGUID: return nCode == 9;
    case vtInteger:
    case vtDouble:
    case vtCurrency:
    case vtDateTime: return nCode == 2 || nCode == 4 || nCode == 6 || nCode == 7;
    case vtBinary: return nCode == 5 || nCode == 8 || nCode == 10;
    case vtUnicodeString: return nCode == 2 || nCode == 5 || nCode == 8 || nCode == 10;
    default: return false;
  }
}

QByteArray NameText(const QString& szName) {
  const QByteArray latin = szName.toLatin1();
  return QByteArray::number(latin.size()) + ' ' + latin;
}

// Rows sorted by id, so that walks and writes do not depend on hashing.
std::vector<CTElemDbObject*> SortedRows(const CTElemDbObjectMap& map) {
  ObjectList<CTElemDbObject> rows;
  map.AppendElementsToList(rows);
  std::vector<CTElemDbObject*> sorted(rows.begin(), rows.end());
  std::sort(sorted.begin(), sorted.end(), [](auto* a, auto* b) { return a->v_id < b->v_id; });
  return sorted;
}

}  // namespace

// ---------------------------------------------------------------- settings

bool CTMemDbEngine::UseCompression(bool bUse) {
  const bool previous = g_useCompression;
  g_useCompression = bUse;
  return previous;
}
bool CTMemDbEngine::CompressionUsed() { return g_useCompression; }
void CTMemDbEngine::SetCompressionSignature(const QString& szSig) { g_signature = szSig; }
QString CTMemDbEngine::CompressionSignature() { return g_signature; }
void CTMemDbEngine::SetAutoCorrect(bool b) { g_autoCorrect = b; }
bool CTMemDbEngine::GetAutoCorrect() { return g_autoCorrect; }
void CTMemDbEngine::SetMaxUndoDepth(int n) { g_maxUndoDepth = (n >= 0 && n <= 20) ? n : 5; }
int CTMemDbEngine::GetMaxUndoDepth() { return g_maxUndoDepth; }
void CTMemDbEngine::SetWriteExtendedStructure(bool b) { g_writeExtendedStructure = b; }

// ---------------------------------------------------------------- life

CTMemDbEngine::CTMemDbEngine(CTBaseFactory* pFactory, const QString& szLogicalName, const QString& szDatabaseName,
                             bool bReadOnly, int nEngineIndex)
    : CTDbEngine(pFactory, szLogicalName, szDatabaseName, bReadOnly) {
  for (int cap : {dbcSelectByExample, dbcRemoveByExample, dbcInheritance, dbcUndo, dbcRedo, dbcChooseDb,
                  dbcInsertWithID})
    SetCapability(cap);
  v_tables.resize(static_cast<std::size_t>(pFactory->Tables().Count()), nullptr);
  for (CTTableInfo* table : pFactory->Tables())
    if (table && !table->IsAbstract() && table->GetDbID() == nEngineIndex) v_tables[table->GetTableIndex()] = table;
  v_transactionTop = std::make_unique<CTTransactionLayer>(v_tables, nullptr, 0, 0, false, 0, 0);
}

CTMemDbEngine::~CTMemDbEngine() = default;

namespace {

template <typename Engine>
CTCreateEngineFunc CreationFunction(bool bFromResource) {
  return [bFromResource](CTBaseFactory* pFactory, const QString& szLogicalName, QString& szDatabaseName, bool&,
                         const QString& szRequiredEngineType, const QString&, bool bReadOnly, int nEngineIndex, bool,
                         std::unique_ptr<CTDbEngine>& pCreatedEngine) {
    if (!szRequiredEngineType.isEmpty() && szRequiredEngineType.compare(Engine::ClassName(), Qt::CaseInsensitive) != 0)
      return false;
    if (bFromResource && !CTResources::Exists(szLogicalName)) return false;
    pCreatedEngine = std::make_unique<Engine>(pFactory, szLogicalName, szDatabaseName, bReadOnly, nEngineIndex);
    return true;
  };
}

}  // namespace

// The file engine serves a database whose required engine type names it,
// with the database name as given (there is no data-source registry here).
void CTMemDbEngine::RegisterEngine() {
  CTCreateEngineFunc resourceOrFile = CreationFunction<CTMemDbEngine>(false);
  CTBaseFactory::RegisterEngine(ClassName(), [resourceOrFile](CTBaseFactory* f, const QString& logical, QString& name,
                                                               bool& logon, const QString& required,
                                                               const QString& info, bool ro, int ix, bool upd,
                                                               std::unique_ptr<CTDbEngine>& created) {
    if (required.isEmpty()) return false;
    return resourceOrFile(f, logical, name, logon, required, info, ro, ix, upd, created);
  });
}

CTResDbEngine::CTResDbEngine(CTBaseFactory* pFactory, const QString& szLogicalName, const QString& szDatabaseName,
                             bool bReadOnly, int nEngineIndex)
    : CTMemDbEngine(pFactory, szLogicalName, szDatabaseName, bReadOnly, nEngineIndex) {
  SetCapability(dbcChooseDb, false);
}

void CTResDbEngine::RegisterEngine() { CTBaseFactory::RegisterEngine(ClassName(), CreationFunction<CTResDbEngine>(true)); }

bool CTResDbEngine::Connect(const QString&, const QString&, bool) {
  const std::optional<QByteArray> data = CTResources::Data(GetLogicalName());
  if (!data) return false;
  v_connected = true;
  if (data->isEmpty()) return true;
  QByteArray bytes = *data;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  return v_connected = Load(&buffer);
}

bool CTMemDbEngine::Connect(const QString&, const QString&, bool bMustFlagErrors) {
  if (v_databaseName.isEmpty()) return v_connected = true;
  std::unique_ptr<CTMyFileStream> file;
  try {
    file = std::make_unique<CTMyFileStream>(v_databaseName, CTMyFileStream::kOpenReadDenyWrite);
  } catch (const CTFileStreamError&) {
    if (bMustFlagErrors) TBaseMsg::DisplayError(nullptr, -2, v_databaseName);
    return false;
  }
  if (!Load(file.get())) {
    if (bMustFlagErrors) TBaseMsg::DisplayError(nullptr, CTDbMessages::kInvalidStructure, v_databaseName);
    return false;
  }
  return v_connected = true;
}

// ---------------------------------------------------------------- loading

bool CTMemDbEngine::Load(QIODevice* pStream) {
  v_loadProblems.clear();
  try {
    std::unique_ptr<CTLZSSExpanderStream> expander;
    QIODevice* source = pStream;
    if (g_useCompression) {
      expander = CTLZSSExpanderStream::OpenBehindSignature(pStream, g_signature);
      if (expander) source = expander.get();
    }
    bool bOk = false;
    {
      CTStreamIO io(source);
      bOk = ReadFrom(io) == 0;
    }
    // The reader stops at the data terminator; the expander is stopped here
    // whether or not it reached the end of its input.
    if (expander) expander->close();
    return bOk;
  } catch (const std::exception& e) {
    v_loadProblems << QString::fromLocal8Bit(e.what());
    return false;
  } catch (...) {
    return false;
  }
}

int CTMemDbEngine::ReadFrom(CTStreamIO& io) {
  const auto fail = [this](const QString& why) {
    v_loadProblems << why;
    return -1;
  };
  CTDbTextReader reader(io);

  QByteArray header;
  if (!reader.ReadHeader(header)) return fail(reader.Error());
  if (!v_factory->CheckSignature(QString::fromLatin1(header)))
    return fail(QStringLiteral("the header '%1' is not %2").arg(QString::fromLatin1(header.left(32)), v_factory->GetSignature()));

  // Structure: each declared table and column found in this engine's tables,
  // directly or through the name mapping.
  std::vector<CTDbTextReader::Table> declared;
  if (!reader.ReadStructure(declared)) return fail(reader.Error());
  struct FileTable {
    CTTableInfo* table = nullptr;  // none for a table this engine does not hold
    std::vector<int> columns;      // current field index per stored column, -1 when gone
  };
  std::map<int, FileTable> fileTables;
  for (const CTDbTextReader::Table& stored : declared) {
    const QString& fileName = stored.name;
    CTTableInfo* table = v_factory->GetTableNamed(fileName);
    CTNameMapping* tableMapping =
        v_mappingTable ? v_mappingTable->FindMapping(fileName, false, stored.fileIndex) : nullptr;
    if (!table && tableMapping) table = v_factory->GetTableNamed(tableMapping->v_newName);
    if (table && !HoldsTable(table->GetTableIndex())) table = nullptr;
    if (table && !tableMapping && v_mappingTable)
      tableMapping = v_mappingTable->FindMapping(table->TableName(), false, stored.fileIndex);
    FileTable& ft = fileTables[stored.fileIndex];
    ft.table = table;
    for (const CTDbTextReader::Column& column : stored.columns) {
      int index = -1;
      if (table) {
        index = table->IndexOfField(column.name);
        if (index < 0 && tableMapping) {
          const QString renamed =
              tableMapping->GetSubTable()->FindNewName(column.name, false, column.code, table->FieldCount());
          if (!renamed.isEmpty()) index = table->IndexOfField(renamed, 0);
        }
        if (index >= 0 && !AcceptsStoredCode(table->GetFieldInfo(index)->GetType(), column.code))
          return fail(
              QStringLiteral("column %1.%2 cannot take stored type %3").arg(fileName, column.name).arg(column.code));
      }
      ft.columns.push_back(index);
    }
  }

  // Data.
  for (;;) {
    CTDbTextReader::DataBlock block;
    const CTDbTextReader::Step step = reader.NextDataBlock(block);
    if (step == CTDbTextReader::Step::kFailed) return fail(reader.Error());
    if (step == CTDbTextReader::Step::kEnd) break;
    auto it = fileTables.find(block.fileIndex);
    if (it == fileTables.end() || !it->second.table) {
      if (!reader.SkipRows(block)) return fail(reader.Error());
      continue;
    }
    const FileTable& ft = it->second;
    CTElemDbObjectMap* map = v_transactionTop->Map(ft.table->GetTableIndex());
    map->RemoveAll(true);  // a table that appears twice keeps its last section
    // The announced count only sizes the map when the data can hold it: each
    // row takes more than 4 bytes.
    map->Reserve(std::min<std::int32_t>(block.count, 1 << 20));
    int largest = std::max(0, block.maxID);
    for (std::int32_t i = 0; i < block.count; ++i) {
      auto row = std::make_unique<CTElemDbObject>(ft.table);
      if (!row->v_values->ReadFrom(io, ft.columns))
        return fail(
            QStringLiteral("%1: record %2 of %3 is unreadable").arg(ft.table->TableName()).arg(i + 1).arg(block.count));
      row->v_id = row->v_values->GetIntegerValue(0);
      if (map->FindObject(row->v_id))
        return fail(QStringLiteral("%1: id %2 appears twice").arg(ft.table->TableName()).arg(row->v_id));
      largest = std::max(largest, row->v_id);
      map->Add(row.release());
    }
    map->SetMaxID(largest);
  }

  std::vector<int> fileToClass;
  for (const auto& [fileIndex, ft] : fileTables) {
    if (!ft.table) continue;
    if (fileIndex >= static_cast<int>(fileToClass.size())) fileToClass.resize(static_cast<std::size_t>(fileIndex) + 1, -1);
    fileToClass[fileIndex] = ft.table->GetTableIndex();
  }
  return ResolveLoadedReferences(fileToClass) ? 0 : -1;
}

// After a load: translates stored class ids, applies referential integrity
// (auto-correct removes rows whose required target is missing, and the rows
// that then lose theirs, in class-id and id order) and fills the referrer lists.
bool CTMemDbEngine::ResolveLoadedReferences(const std::vector<int>& fileToClass) {
  CTTransactionLayer* top = v_transactionTop.get();
  struct LinkField {
    int index;
    CTTableLink* link;
  };
  std::vector<std::vector<LinkField>> linkFields(v_tables.size());
  for (std::size_t cls = 0; cls < v_tables.size(); ++cls) {
    const CTTableInfo* table = v_tables[cls];
    if (!table) continue;
    for (int ix = 1; ix < table->FieldCount(); ++ix)
      if (CTTableLink* link = table->GetFieldInfo(ix)->GetRefTo()) linkFields[cls].push_back({ix, link});
  }

  // Rows in hash order: nothing below depends on the order except the list
  // of removals, which is sorted.
  const auto rowsOf = [&](std::size_t cls) {
    ObjectList<CTElemDbObject> rows;
    top->Map(int(cls))->AppendElementsToList(rows);
    return std::vector<CTElemDbObject*>(rows.begin(), rows.end());
  };
  bool bIdentity = true;
  for (std::size_t i = 0; i < fileToClass.size(); ++i) bIdentity = bIdentity && (fileToClass[i] < 0 || fileToClass[i] == int(i));
  if (!bIdentity) {
    for (std::size_t cls = 0; cls < v_tables.size(); ++cls) {
      if (!v_tables[cls] || linkFields[cls].empty()) continue;
      for (CTElemDbObject* row : rowsOf(cls))
        for (const LinkField& lf : linkFields[cls]) {
          const int stored = row->v_values->GetIntegerValue(lf.index);
          if (stored >= 0 && stored < static_cast<int>(fileToClass.size()) && fileToClass[stored] >= 0)
            row->v_values->SetIntegerValue(lf.index, fileToClass[stored]);
        }
    }
  }

  const auto missingTarget = [&](const CTElemDbObject* row, const LinkField& lf) {
    if (!lf.link->v_refIntegr) return false;
    const int cls = row->v_values->GetIntegerValue(lf.index);
    const int id = row->v_values->GetIntegerValue(lf.index + 1);
    if (cls >= 0 && !HoldsTable(cls)) return false;  // another engine's table, or an empty reference
    return top->FindObject(cls, id) == nullptr;
  };
  // Each pass removes at least one row or ends the loop; the rows of one
  // pass go in class-id and id order.
  for (bool bRemoved = true; bRemoved;) {
    bRemoved = false;
    std::vector<std::tuple<int, int, const LinkField*>> missing;  // class, id, field
    for (std::size_t cls = 0; cls < v_tables.size(); ++cls) {
      if (!v_tables[cls] || linkFields[cls].empty()) continue;
      for (CTElemDbObject* row : rowsOf(cls))
        for (const LinkField& lf : linkFields[cls])
          if (missingTarget(row, lf)) {
            missing.emplace_back(int(cls), row->v_id, &lf);
            break;
          }
    }
    std::sort(missing.begin(), missing.end(), [](const auto& a, const auto& b) {
      return std::get<0>(a) != std::get<0>(b) ? std::get<0>(a) < std::get<0>(b) : std::get<1>(a) < std::get<1>(b);
    });
    QStringList lines;
    for (const auto& [cls, id, lf] : missing) {
      const CTElemDbObject* row = top->Map(cls)->FindObject(id);
      lines << QStringLiteral("%1 row %2: %3 refers to %4 row %5, which does not exist")
                   .arg(v_tables[cls]->TableName())
                   .arg(id)
                   .arg(v_tables[cls]->GetFieldInfo(lf->index)->GetName())
                   .arg(lf->link->v_fromTable ? lf->link->v_fromTable->TableName() : QStringLiteral("?"))
                   .arg(row->v_values->GetIntegerValue(lf->index + 1));
    }
    v_loadProblems << lines;
    if (!missing.empty() && !g_autoCorrect) return false;
    for (const auto& [cls, id, lf] : missing) delete top->Map(cls)->Remove(id);
    bRemoved = !missing.empty();
  }

  for (std::size_t cls = 0; cls < v_tables.size(); ++cls) {
    if (!v_tables[cls] || linkFields[cls].empty()) continue;
    for (CTElemDbObject* row : rowsOf(cls))
      for (const LinkField& lf : linkFields[cls]) {
        const int tcls = row->v_values->GetIntegerValue(lf.index);
        const int tid = row->v_values->GetIntegerValue(lf.index + 1);
        if (!ValidPair(tcls, tid)) continue;
        CTElemDbObject* target = top->FindObject(tcls, tid);
        if (!target) continue;
        if (lf.link->v_oneToOne &&
            target->v_referrers.Search([&](const CTDbRelation* r) { return r->v_model == lf.link; })) {
          v_loadProblems << QStringLiteral("%1 row %2 is referred to twice through a one-to-one link")
                                .arg(v_tables[tcls] ? v_tables[tcls]->TableName() : QString::number(tcls))
                                .arg(tid);
          return false;
        }
        target->AddReferrer(lf.link, int(cls), row->v_id);
      }
  }
  return true;
}

// ---------------------------------------------------------------- writing

QByteArray CTMemDbEngine::StructureText() const {
  QByteArray text;
  for (const CTTableInfo* table : v_tables) {
    if (!table) continue;
    text += "5 " + NameText(table->TableName()) + ' ' + QByteArray::number(table->GetTableIndex()) + "\r\n";
    for (const CTFieldInfo* field : table->Fields())
      text += "5 " + NameText(field->GetName()) + ' ' + QByteArray::number(field->GetType()) + "\r\n";
    text += "0\r\n";
  }
  text += "0\r\n";
  return text;
}

QByteArray CTMemDbEngine::ExtendedStructureText() const {
  QByteArray text;
  for (const CTTableInfo* table : v_tables) {
    if (!table) continue;
    text += "2 " + QByteArray::number(table->GetTableIndex()) + " 2 " +
            QByteArray::number(table->GetParent() ? table->GetParent()->GetTableIndex() : -1) + "\r\n";
    for (const CTFieldInfo* field : table->Fields()) {
      QByteArray def;
      switch (field->GetType()) {
        case vtBoolean: def = field->GetBooleanDftValue() ? "1" : "0"; break;
        case vtInteger: {
          def = QByteArray::number(field->GetIntegerDftValue()) + " 0 ";
          const CTTableLink* link = field->GetRefTo();
          def += link ? "1" : "0";
          if (link)
            def += " 2 " + QByteArray::number(link->v_fromTable ? link->v_fromTable->GetTableIndex() : -1) + " 0 " +
                   (link->v_refIntegr ? "1" : "0") + " 0 " + (link->v_cascDel ? "1" : "0") + " 0 " +
                   (link->v_oneToOne ? "1" : "0") + " 0 " + (link->v_isOrdered ? "1" : "0");
          break;
        }
        case vtDouble: def = CTValueList::FormatDouble(field->GetDoubleDftValue()); break;
        case vtDateTime: def = CTValueList::FormatDouble(field->GetTDateTimeDftValue()); break;
        case vtCurrency: def = CTValueList::FormatDouble(double(field->GetCurrencyDftValue()) / 10000.0); break;
        case vtUnicodeString: {
          const QByteArray safe = CTValueList::SafeString(field->GetUnicodeStringDftValue()).toLatin1();
          def = QByteArray::number(safe.size()) + ' ' + safe + " 0 " + (field->IsMultilingual() ? "1" : "0");
          break;
        }
        default: break;
      }
      text += "2 " + QByteArray::number(field->GetType()) + (def.isEmpty() ? QByteArray() : ' ' + def) + "\r\n";
    }
    text += "0\r\n";
  }
  text += "0\r\n";
  return text;
}

bool CTMemDbEngine::WriteToStream(QIODevice* pStream) {
  if (!pStream) return false;
  std::unique_ptr<CTLZSSCompressorStream> compressor;
  QIODevice* out = pStream;
  if (g_useCompression) {
    compressor = CTLZSSCompressorStream::CreateBehindSignature(pStream, g_signature);
    if (!compressor) return false;
    out = compressor.get();
  }
  bool bOk = true;
  QByteArray chunk;
  const auto flush = [&](bool bForce) {
    if (!bForce && chunk.size() < (1 << 16)) return;
    if (!chunk.isEmpty() && out->write(chunk) != chunk.size()) bOk = false;
    chunk.clear();
  };

  v_transactionTop->Fold();
  v_transactionTop->Optimize(true);
  v_redoStack.clear();
  chunk += v_factory->GetSignature().toLatin1() + "\r\n";
  chunk += StructureText();
  for (std::size_t cls = 0; cls < v_tables.size() && bOk; ++cls) {
    if (!v_tables[cls]) continue;
    CTElemDbObjectMap* map = v_transactionTop->Map(int(cls));
    const std::vector<CTElemDbObject*> rows = SortedRows(*map);
    if (rows.empty() && map->GetMaxID() <= 0) continue;
    chunk += "2 " + QByteArray::number(int(cls)) + " 2 0 2 " + QByteArray::number(int(rows.size())) + " 2 " +
             QByteArray::number(map->GetMaxID()) + "\r\n";
    for (const CTElemDbObject* row : rows) {
      chunk += row->v_values->ToLine();
      flush(false);
    }
  }
  chunk += "0\r\n";
  if (g_writeExtendedStructure) chunk += ExtendedStructureText();
  chunk += "0\r\n";
  flush(true);
  if (compressor) bOk = compressor->Finish() && bOk;
  if (bOk) NotifyModified(false, 0, 0, QString(), 0);
  return bOk;
}

// ---------------------------------------------------------------- integrity

bool CTMemDbEngine::CheckIntegrity1Field(const CTValueList& pNewVals, const CTTableLink* pLink, int nFieldIx,
                                         int nMyCls, int nMyID) {
  const int cls = pNewVals.GetIntegerValue(nFieldIx);
  const int id = pNewVals.GetIntegerValue(nFieldIx + 1);
  if (cls >= 0 && !HoldsTable(cls)) return true;
  const QString master = pLink->v_fromTable ? pLink->v_fromTable->TableName() : QString();
  const CTElemDbObject* target = v_transactionTop->FindObject(cls, id);
  if (!target) {
    if (g_autoCorrect) return false;
    CTDbException::RaiseExc(excRelRequired, master);
  }
  if (pLink->v_oneToOne)
    for (const CTDbRelation* r : target->v_referrers)
      if (r->v_model == pLink && (r->v_refClsID != nMyCls || r->v_refObjID != nMyID))
        CTDbException::RaiseExc(excOneToOne, master);
  return true;
}

bool CTMemDbEngine::CheckIntegrity(const CTValueList& pVals, int nMyCls, int nMyID) {
  const CTTableInfo* table = v_tables[nMyCls];
  for (int ix = 1; ix < table->FieldCount(); ++ix) {
    const CTTableLink* link = table->GetFieldInfo(ix)->GetRefTo();
    if (link && link->v_refIntegr && !CheckIntegrity1Field(pVals, link, ix, nMyCls, nMyID)) return false;
  }
  return true;
}

void CTMemDbEngine::StoreReference1Field(const CTTableLink* pLink, int nMyCls, int nMyID, int nOldCls, int nOldID,
                                         int nNewCls, int nNewID) {
  if (nOldCls == nNewCls && nOldID == nNewID) return;
  if (ValidPair(nOldCls, nOldID)) {
    const CTElemDbObject* seen = v_transactionTop->FindObject(nOldCls, nOldID);
    if (seen && seen->HasReferrer(pLink, nMyCls, nMyID))
      v_transactionTop->MakeOwn(nOldCls, nOldID)->RemoveReferrer(pLink, nMyCls, nMyID);
  }
  if (ValidPair(nNewCls, nNewID)) {
    const CTElemDbObject* seen = v_transactionTop->FindObject(nNewCls, nNewID);
    if (seen && !seen->HasReferrer(pLink, nMyCls, nMyID))
      v_transactionTop->MakeOwn(nNewCls, nNewID)->AddReferrer(const_cast<CTTableLink*>(pLink), nMyCls, nMyID);
  }
}

void CTMemDbEngine::StoreReferences(const CTTableInfo* pTable, int nMyID, const CTValueList& pNewVals,
                                    const CTValueList* pOldVals) {
  const int myCls = pTable->GetTableIndex();
  for (int ix = 1; ix < pTable->FieldCount(); ++ix) {
    const CTTableLink* link = pTable->GetFieldInfo(ix)->GetRefTo();
    if (!link) continue;
    const int oldCls = pOldVals ? pOldVals->GetIntegerValue(ix) : -1;
    const int oldID = pOldVals ? pOldVals->GetIntegerValue(ix + 1) : 0;
    StoreReference1Field(link, myCls, nMyID, oldCls, oldID, pNewVals.GetIntegerValue(ix), pNewVals.GetIntegerValue(ix + 1));
  }
}

void CTMemDbEngine::RemoveReferences(const CTElemDbObject* pRow) {
  const CTTableInfo* table = pRow->v_tblInfo;
  for (int ix = 1; ix < table->FieldCount(); ++ix) {
    const CTTableLink* link = table->GetFieldInfo(ix)->GetRefTo();
    if (!link) continue;
    StoreReference1Field(link, pRow->TableIndex(), pRow->v_id, pRow->v_values->GetIntegerValue(ix),
                         pRow->v_values->GetIntegerValue(ix + 1), -1, 0);
  }
}

void CTMemDbEngine::CollectWithDependents(CTElemDbObject* pRow, std::vector<std::vector<CTElemDbObject*>>& rowsByClass) {
  // Depth first over cascading links, with an explicit stack.
  std::vector<CTElemDbObject*> stack{pRow};
  const auto listed = [&](const CTElemDbObject* row) {
    const auto& list = rowsByClass[row->TableIndex()];
    return std::find(list.begin(), list.end(), row) != list.end();
  };
  if (listed(pRow)) return;
  rowsByClass[pRow->TableIndex()].push_back(pRow);
  while (!stack.empty()) {
    CTElemDbObject* row = stack.back();
    stack.pop_back();
    for (const CTDbRelation* r : row->v_referrers) {
      if (!r->v_model || !r->v_model->v_cascDel) continue;
      CTElemDbObject* referring = v_transactionTop->FindObject(r->v_refClsID, r->v_refObjID);
      if (!referring || listed(referring)) continue;
      rowsByClass[referring->TableIndex()].push_back(referring);
      stack.push_back(referring);
    }
  }
}

void CTMemDbEngine::RemoveRows(std::vector<std::vector<CTElemDbObject*>>& rowsByClass) {
  for (std::size_t cls = 0; cls < rowsByClass.size(); ++cls)
    for (CTElemDbObject* gathered : rowsByClass[cls]) {
      const int id = gathered->v_id;
      NotifyModified(true, int(cls), id, QString(), kUpdateRemoved);
      CTElemDbObject* own = v_transactionTop->MakeOwn(int(cls), id);
      if (!own) continue;
      RemoveReferences(own);
      own->v_status |= CTElemDbObject::kDeleted;
    }
}

void CTMemDbEngine::PrepareWrite(const CTTableInfo* pTable) {
  if (IsReadOnly()) CTDbException::RaiseExc(excReadOnly, pTable ? pTable->TableName() : QString());
  if (v_nestedTransactions > 0) return;
  // Writes outside a transaction cannot be undone and end the undo history.
  v_transactionTop->Fold();
  v_redoStack.clear();
}

// ---------------------------------------------------------------- record operations

bool CTMemDbEngine::ObjectExists(int nClsID, int nObjID) { return v_transactionTop->FindObject(nClsID, nObjID) != nullptr; }

void CTMemDbEngine::ReadRecord(CTDbObject* pObj) {
  const CTElemDbObject* row = v_transactionTop->FindObject(pObj->TableIndex(), pObj->GetID());
  if (!row) CTDbException::RaiseExc(excRecNotFound);
  pObj->Values().CopyValues(*row->v_values, 1, true, false);
}

void CTMemDbEngine::InsertRecord(CTDbObject* pObj) {
  const int cls = pObj->TableIndex();
  const CTTableInfo* table = pObj->TableInfo();
  if (!HoldsTable(cls)) CTDbException::RaiseExc(excDbStructure);
  const int wanted = pObj->GetID();
  if (wanted != 0 && v_transactionTop->FindObject(cls, wanted)) CTDbException::RaiseExc(excIDUsed, QString::number(wanted));
  PrepareWrite(table);
  CTElemDbObjectMap* map = v_transactionTop->Map(cls);
  // A row of that id in this layer can only be a deleted one; it comes back
  // when the insert fails.
  std::unique_ptr<CTElemDbObject> tombstone(wanted != 0 ? map->Remove(wanted) : nullptr);
  const int previousMax = map->GetMaxID();
  CTElemDbObject* row = map->NewObject(wanted);
  row->v_status = CTElemDbObject::kInserted;
  row->v_values->CopyValues(pObj->Values(), 1, true, false);
  const auto undoInsert = [&] {
    delete map->Remove(row->v_id);
    map->SetMaxID(previousMax);
    if (tombstone) map->Add(tombstone.release());
  };
  bool bPassed = false;
  try {
    bPassed = CheckIntegrity(*row->v_values, cls, row->v_id);
  } catch (...) {
    undoInsert();
    throw;
  }
  if (!bPassed) {  // auto-correct: a missing target drops the row silently
    undoInsert();
    return;
  }
  pObj->SetID(row->v_id);
  StoreReferences(table, row->v_id, *row->v_values, nullptr);
  NotifyModified(true, cls, row->v_id, pObj->GetName(), kUpdateInserted);
}

void CTMemDbEngine::UpdateRecord(CTDbObject* pObj) {
  const int cls = pObj->TableIndex();
  PrepareWrite(pObj->TableInfo());
  CTElemDbObject* row = v_transactionTop->MakeOwn(cls, pObj->GetID());
  if (!row) CTDbException::RaiseExc(excRecNotFound);
  if (!CheckIntegrity(pObj->Values(), cls, row->v_id)) return;
  StoreReferences(pObj->TableInfo(), row->v_id, pObj->Values(), row->v_values.get());
  row->v_values->CopyValues(pObj->Values(), 1, true, false);
  row->v_status |= CTElemDbObject::kUpdated;
  if (v_transactionTop->SingleClsID() != cls || v_transactionTop->SingleObjID() != row->v_id)
    v_transactionTop->ClearSingle();
  NotifyModified(true, cls, row->v_id, pObj->GetName(), kUpdateValues);
}

void CTMemDbEngine::UpdateRelation(CTDbObject* pObj, int nFieldIx, int nTargetObjID, int nTargetClsID) {
  const int cls = pObj->TableIndex();
  PrepareWrite(pObj->TableInfo());
  CTElemDbObject* row = v_transactionTop->MakeOwn(cls, pObj->GetID());
  if (!row) CTDbException::RaiseExc(excRecNotFound);
  const CTFieldInfo* field = pObj->TableInfo()->GetFieldInfo(nFieldIx);
  const CTTableLink* link = field ? field->GetRefTo() : nullptr;
  if (!link) CTDbException::RaiseExc(excDbStructure);
  if (link->v_refIntegr) {
    CTValueList pair(*row->v_values);
    pair.SetIntegerValue(nFieldIx, nTargetClsID);
    pair.SetIntegerValue(nFieldIx + 1, nTargetObjID);
    if (!CheckIntegrity1Field(pair, link, nFieldIx, cls, row->v_id)) return;
  }
  StoreReference1Field(link, cls, row->v_id, row->v_values->GetIntegerValue(nFieldIx),
                       row->v_values->GetIntegerValue(nFieldIx + 1), nTargetClsID, nTargetObjID);
  row->v_values->SetIntegerValue(nFieldIx, nTargetClsID);
  row->v_values->SetIntegerValue(nFieldIx + 1, nTargetObjID);
  row->v_status |= CTElemDbObject::kUpdated;
  v_transactionTop->ClearSingle();
  NotifyModified(true, cls, row->v_id, pObj->GetName(), kUpdateValues);
}

void CTMemDbEngine::RemoveRecord(CTDbObject* pObj) {
  CTElemDbObject* row = v_transactionTop->FindObject(pObj->TableIndex(), pObj->GetID());
  if (!row) return;
  PrepareWrite(pObj->TableInfo());
  row = v_transactionTop->FindObject(pObj->TableIndex(), pObj->GetID());  // folding may have moved it
  std::vector<std::vector<CTElemDbObject*>> rowsByClass(v_tables.size());
  CollectWithDependents(row, rowsByClass);
  RemoveRows(rowsByClass);
  v_transactionTop->ClearSingle();
}

bool CTMemDbEngine::GetBinaryValue(CTDbObject* pObj, int nFieldIx, QIODevice* pStream) {
  const CTElemDbObject* row = v_transactionTop->FindObject(pObj->TableIndex(), pObj->GetID());
  if (!row) CTDbException::RaiseExc(excRecNotFound);
  const qint64 before = pStream ? pStream->pos() : 0;
  row->v_values->GetBinaryValue(nFieldIx, pStream);
  return pStream && pStream->pos() != before;
}

void CTMemDbEngine::SetBinaryValue(CTDbObject* pObj, int nFieldIx, QIODevice* pStream) {
  PrepareWrite(pObj->TableInfo());
  CTElemDbObject* row = v_transactionTop->MakeOwn(pObj->TableIndex(), pObj->GetID());
  if (!row) CTDbException::RaiseExc(excRecNotFound);
  row->v_values->SetBinaryValue(nFieldIx, pStream);
  row->v_status |= CTElemDbObject::kUpdated;
  v_transactionTop->ClearSingle();
  NotifyModified(true, pObj->TableIndex(), row->v_id, pObj->GetName(), kUpdateValues);
}

ObjectList<CTDbObject> CTMemDbEngine::AllObjects(int nClsID, const CTDbObjectProgressIndicator& pCallback) {
  ObjectList<CTDbObject> list(true);
  if (!HoldsTable(nClsID)) return list;
  std::vector<CTElemDbObject*> rows;
  v_transactionTop->AddObjectsOfClass(nClsID, rows);
  for (const CTElemDbObject* row : rows) {
    list.Add(v_factory->CreateObject(nClsID, row->v_id));
    if (pCallback) pCallback(list.Last());
  }
  return list;
}

int CTMemDbEngine::CountObjects(int nClsID) { return HoldsTable(nClsID) ? v_transactionTop->CountObjectsOfClass(nClsID) : 0; }

void CTMemDbEngine::PurgeTable(int nClsID) {
  if (!HoldsTable(nClsID)) return;
  // Refused before anything changes, the undo history included.
  if (IsReadOnly()) CTDbException::RaiseExc(excReadOnly, v_tables[nClsID]->TableName());
  PrepareWrite(v_tables[nClsID]);
  std::vector<CTElemDbObject*> rows;
  v_transactionTop->AddObjectsOfClass(nClsID, rows);
  std::vector<std::vector<CTElemDbObject*>> rowsByClass(v_tables.size());
  for (CTElemDbObject* row : rows) CollectWithDependents(row, rowsByClass);
  RemoveRows(rowsByClass);
  v_transactionTop->ClearSingle();
  // Only a layer without anything below may forget its deleted rows: in a
  // transaction they hide the rows of the layers below.
  if (!v_transactionTop->GetParent()) {
    v_transactionTop->Optimize(true);
    CTElemDbObjectMap* map = v_transactionTop->Map(nClsID);
    const std::vector<int> ids = map->SortedIDs();
    map->SetMaxID(ids.empty() ? 0 : ids.back());
  }
}

bool CTMemDbEngine::IsUniqueValue(CTDbObject* pObj, int nFieldIx, bool bIgnoreCase, const QString& szText) {
  const int cls = pObj->TableIndex();
  if (!HoldsTable(cls)) return true;
  std::vector<CTElemDbObject*> rows;
  v_transactionTop->AddObjectsOfClass(cls, rows);
  const Qt::CaseSensitivity cs = bIgnoreCase ? Qt::CaseInsensitive : Qt::CaseSensitive;
  for (const CTElemDbObject* row : rows)
    if (row->v_id != pObj->GetID() && row->v_values->GetUnicodeStringValue(nFieldIx).compare(szText, cs) == 0)
      return false;
  return true;
}

std::unique_ptr<CTDbObject> CTMemDbEngine::GetRelatedRecord(CTDbObject* pObj, int nFieldIx) {
  const CTElemDbObject* row = v_transactionTop->FindObject(pObj->TableIndex(), pObj->GetID());
  if (!row) CTDbException::RaiseExc(excRecNotFound);
  const CTFieldInfo* field = pObj->TableInfo()->GetFieldInfo(nFieldIx);
  const CTTableLink* link = field ? field->GetRefTo() : nullptr;
  if (!link) CTDbException::RaiseExc(excDbStructure);
  const int cls = row->v_values->GetIntegerValue(nFieldIx);
  const int id = row->v_values->GetIntegerValue(nFieldIx + 1);
  std::unique_ptr<CTDbObject> related = id > 0 ? v_factory->SafeCreateObject(cls, id) : nullptr;
  if (!related && link->v_refIntegr) CTDbException::RaiseExc(excRecNotFound);
  return related;
}

CTTableLink* CTMemDbEngine::LinkFor(const CTTableInfo* pTargetTable, int nClsID, int nFieldIx) const {
  const CTTableInfo* detail = v_factory->GetTableInfo(nClsID);
  for (CTTableLink* link : pTargetTable->GetReferences())
    if (link->v_toFieldIx == nFieldIx && detail && detail->IsOfClass(link->v_toClsID)) return link;
  CTDbException::RaiseExc(excDbStructure);
}

ObjectList<CTDbObject> CTMemDbEngine::GetReferringRecords(CTDbObject* pObj, int nClsID, bool& bUnsorted,
                                                          bool bFirstOnly, const CTRecordFilter& pFilter,
                                                          const QStringList&, int nFieldIx) {
  bUnsorted = true;
  ObjectList<CTDbObject> list(true);
  const int targetCls = pObj->TableIndex();
  const int targetID = pObj->GetID();
  if (HoldsTable(targetCls)) {
    const CTTableLink* link = LinkFor(pObj->TableInfo(), nClsID, nFieldIx);
    CTElemDbObject* target = v_transactionTop->FindObject(targetCls, targetID);
    if (!target) CTDbException::RaiseExc(excRecNotFound);
    auto& entries = target->v_referrers.Items();
    for (std::size_t i = 0; i < entries.size();) {
      const CTDbRelation* r = entries[i];
      const CTTableInfo* refTable = v_factory->GetTableInfo(r->v_refClsID);
      if (r->v_model != link || !refTable || !refTable->IsOfClass(nClsID)) {
        ++i;
        continue;
      }
      const CTElemDbObject* row = v_transactionTop->FindObject(r->v_refClsID, r->v_refObjID);
      if (!row) {  // the referring row is gone: drop the stale entry
        target->DropReferrerAt(i);
        continue;
      }
      ++i;
      if (pFilter && !pFilter(*row->v_values)) continue;
      list.Add(v_factory->CreateObject(r->v_refClsID, r->v_refObjID));
      if (bFirstOnly) break;
    }
    return list;
  }
  for (const CTTableInfo* table : v_tables) {
    if (!table || !table->IsOfClass(nClsID)) continue;
    std::vector<CTElemDbObject*> rows;
    v_transactionTop->AddObjectsOfClass(table->GetTableIndex(), rows);
    for (const CTElemDbObject* row : rows) {
      if (row->v_values->GetIntegerValue(nFieldIx) != targetCls || row->v_values->GetIntegerValue(nFieldIx + 1) != targetID)
        continue;
      if (pFilter && !pFilter(*row->v_values)) continue;
      list.Add(v_factory->CreateObject(table->GetTableIndex(), row->v_id));
      if (bFirstOnly) return list;
    }
  }
  return list;
}

int CTMemDbEngine::GetMaxOrderNumber(CTDbObject* pObj, int nClsID, int nFieldIx) {
  if (!HoldsTable(pObj->TableIndex())) return CTDbEngine::GetMaxOrderNumber(pObj, nClsID, nFieldIx);
  const CTTableLink* link = LinkFor(pObj->TableInfo(), nClsID, nFieldIx);
  const CTElemDbObject* target = v_transactionTop->FindObject(pObj->TableIndex(), pObj->GetID());
  if (!target) return -1;
  int largest = -1;
  for (const CTDbRelation* r : target->v_referrers) {
    const CTTableInfo* refTable = v_factory->GetTableInfo(r->v_refClsID);
    if (r->v_model != link || !refTable || !refTable->IsOfClass(nClsID)) continue;
    if (const CTElemDbObject* row = v_transactionTop->FindObject(r->v_refClsID, r->v_refObjID))
      largest = std::max(largest, row->v_values->GetIntegerValue(nFieldIx + 2));
  }
  return largest;
}

bool CTMemDbEngine::MatchesExample(const CTValueList& row, const CTDbObject& example) const {
  const CTValueList& ex = example.Values();
  for (int ix = 1; ix < ex.NumberOfValues() && ix < row.NumberOfValues(); ++ix) {
    const CTFieldInfo* field = row.GetModel()->Item(ix);
    switch (field->GetType()) {
      case vtBoolean:
        if (ex.GetBooleanValue(ix) != field->GetBooleanDftValue() && row.GetBooleanValue(ix) != ex.GetBooleanValue(ix))
          return false;
        break;
      case vtInteger:
        if (ex.GetIntegerValue(ix) != field->GetIntegerDftValue() && row.GetIntegerValue(ix) != ex.GetIntegerValue(ix))
          return false;
        break;
      case vtDouble:
        if (ex.GetDoubleValue(ix) != field->GetDoubleDftValue() && row.GetDoubleValue(ix) != ex.GetDoubleValue(ix))
          return false;
        break;
      case vtCurrency:
        if (ex.GetCurrencyValue(ix) != field->GetCurrencyDftValue() && row.GetCurrencyValue(ix) != ex.GetCurrencyValue(ix))
          return false;
        break;
      case vtDateTime:
        if (ex.GetTDateTimeValue(ix) != field->GetTDateTimeDftValue() &&
            row.GetTDateTimeValue(ix) != ex.GetTDateTimeValue(ix))
          return false;
        break;
      case vtGUID:
        if (!CTDbObject::IsClearTGUID(ex.GetTGUIDValue(ix)) && row.GetTGUIDValue(ix) != ex.GetTGUIDValue(ix)) return false;
        break;
      case vtUnicodeString:
        if (ex.GetUnicodeStringValue(ix) != field->GetUnicodeStringDftValue() &&
            row.GetUnicodeStringValue(ix) != ex.GetUnicodeStringValue(ix))
          return false;
        break;
      default: break;
    }
  }
  return true;
}

ObjectList<CTDbObject> CTMemDbEngine::SelectRecordsByExample(CTDbObject* pExample, const QStringList&,
                                                             const CTDbObjectProgressIndicator& pCallback,
                                                             bool& bUnsorted) {
  bUnsorted = true;
  ObjectList<CTDbObject> list(true);
  for (const CTTableInfo* table : v_tables) {
    if (!table || !table->IsOfClass(pExample->TableIndex())) continue;
    std::vector<CTElemDbObject*> rows;
    v_transactionTop->AddObjectsOfClass(table->GetTableIndex(), rows);
    for (const CTElemDbObject* row : rows) {
      if (!MatchesExample(*row->v_values, *pExample)) continue;
      list.Add(v_factory->CreateObject(table->GetTableIndex(), row->v_id));
      if (pCallback) pCallback(list.Last());
    }
  }
  return list;
}

int CTMemDbEngine::CountRecordsByExample(CTDbObject* pExample) {
  int count = 0;
  for (const CTTableInfo* table : v_tables) {
    if (!table || !table->IsOfClass(pExample->TableIndex())) continue;
    std::vector<CTElemDbObject*> rows;
    v_transactionTop->AddObjectsOfClass(table->GetTableIndex(), rows);
    for (const CTElemDbObject* row : rows) count += MatchesExample(*row->v_values, *pExample) ? 1 : 0;
  }
  return count;
}

void CTMemDbEngine::RemoveRecordsByExample(CTDbObject* pExample) {
  std::vector<std::pair<int, int>> matches;
  for (const CTTableInfo* table : v_tables) {
    if (!table || !table->IsOfClass(pExample->TableIndex())) continue;
    std::vector<CTElemDbObject*> rows;
    v_transactionTop->AddObjectsOfClass(table->GetTableIndex(), rows);
    for (const CTElemDbObject* row : rows)
      if (MatchesExample(*row->v_values, *pExample)) matches.emplace_back(table->GetTableIndex(), row->v_id);
  }
  if (matches.empty()) return;
  PrepareWrite(pExample->TableInfo());
  std::vector<std::vector<CTElemDbObject*>> rowsByClass(v_tables.size());
  for (const auto& [cls, id] : matches)
    if (CTElemDbObject* row = v_transactionTop->FindObject(cls, id)) CollectWithDependents(row, rowsByClass);
  RemoveRows(rowsByClass);
  v_transactionTop->ClearSingle();
}

// ---------------------------------------------------------------- transactions

void CTMemDbEngine::StartTransaction(int nMsgID, int nAppUpdateCode, bool bCanRedo, int nUpdateClsID, int nUpdateObjID) {
  if (v_nestedTransactions > 0) {
    v_transactionTop->SetAppUpdateCode(v_transactionTop->GetAppUpdateCode() | nAppUpdateCode);
  } else if (!(nUpdateObjID != 0 && v_transactionTop->GetParent() && v_transactionTop->SingleClsID() == nUpdateClsID &&
               v_transactionTop->SingleObjID() == nUpdateObjID &&
               v_transactionTop->GetAppUpdateCode() == nAppUpdateCode)) {
    v_transactionTop = std::make_unique<CTTransactionLayer>(v_tables, std::move(v_transactionTop), nMsgID,
                                                            nAppUpdateCode, bCanRedo, nUpdateClsID, nUpdateObjID);
  }
  ++v_nestedTransactions;
  v_redoStack.clear();
}

void CTMemDbEngine::EndTransaction() {
  if (v_nestedTransactions <= 0) CTDbException::RaiseExc(excDbStructure);  // no transaction to end
  if (--v_nestedTransactions > 0) return;
  if (v_transactionTop->GetParent() && !v_transactionTop->Optimize(false)) {
    v_transactionTop = v_transactionTop->TakeParent();  // nothing changed: no undo step
    return;
  }
  // At most the undo depth of layers stay above the base: the layer that far
  // down absorbs everything below it. Done once the step is known to exist,
  // so that an empty transaction costs no older step.
  CTTransactionLayer* layer = v_transactionTop.get();
  for (int i = 0; i < g_maxUndoDepth && layer; ++i) layer = layer->GetParent();
  if (layer) layer->Fold();
}

void CTMemDbEngine::StartNullTransaction() {
  if (v_nestedTransactions == 0)
    v_transactionTop = std::make_unique<CTTransactionLayer>(v_tables, std::move(v_transactionTop), 0, 0, true, 0, 0);
  ++v_nestedTransactions;
}

void CTMemDbEngine::EndNullTransaction() {
  if (v_nestedTransactions <= 0) CTDbException::RaiseExc(excDbStructure);
  if (--v_nestedTransactions > 0) return;
  if (v_transactionTop->GetParent()) v_transactionTop = v_transactionTop->TakeParent();  // scratch: dropped
}

bool CTMemDbEngine::CanUndo(int& nMsgID) {
  if (IsReadOnly() || v_nestedTransactions > 0 || !v_transactionTop->GetParent()) return false;
  nMsgID = v_transactionTop->GetDescription();
  return true;
}

bool CTMemDbEngine::CanRedo(int& nMsgID) {
  if (IsReadOnly() || v_nestedTransactions > 0 || v_redoStack.empty()) return false;
  nMsgID = v_redoStack.back()->GetDescription();
  return true;
}

int CTMemDbEngine::Undo() {
  // Refused while a transaction is open: it would undo half of it.
  if (v_nestedTransactions > 0 || !v_transactionTop->GetParent()) return 0;
  std::unique_ptr<CTTransactionLayer> undone = std::move(v_transactionTop);
  v_transactionTop = undone->TakeParent();
  const int code = undone->GetAppUpdateCode();
  if (undone->CanRedo()) v_redoStack.push_back(std::move(undone));
  else v_redoStack.clear();
  return code;
}

int CTMemDbEngine::Redo() {
  if (v_nestedTransactions > 0 || v_redoStack.empty()) return 0;
  std::unique_ptr<CTTransactionLayer> layer = std::move(v_redoStack.back());
  v_redoStack.pop_back();
  layer->SetParent(std::move(v_transactionTop));
  v_transactionTop = std::move(layer);
  return v_transactionTop->GetAppUpdateCode();
}

// ---------------------------------------------------------------- invariant

QStringList CTMemDbEngine::CheckReferrerInvariant() const {
  QStringList broken;
  for (std::size_t cls = 0; cls < v_tables.size(); ++cls) {
    const CTTableInfo* table = v_tables[cls];
    if (!table) continue;
    std::vector<CTElemDbObject*> rows;
    v_transactionTop->AddObjectsOfClass(int(cls), rows);
    for (const CTElemDbObject* row : rows) {
      for (int ix = 1; ix < table->FieldCount(); ++ix) {
        const CTTableLink* link = table->GetFieldInfo(ix)->GetRefTo();
        if (!link) continue;
        const int tcls = row->v_values->GetIntegerValue(ix), tid = row->v_values->GetIntegerValue(ix + 1);
        if (!ValidPair(tcls, tid)) continue;
        const CTElemDbObject* target = v_transactionTop->FindObject(tcls, tid);
        if (!target) continue;
        int entries = 0;
        for (const CTDbRelation* r : target->v_referrers)
          entries += r->v_model == link && r->v_refClsID == int(cls) && r->v_refObjID == row->v_id;
        if (entries != 1)
          broken << QStringLiteral("(%1,%2) refers to (%3,%4) but is listed %5 times").arg(cls).arg(row->v_id).arg(tcls).arg(tid).arg(entries);
      }
      for (const CTDbRelation* r : row->v_referrers) {
        const CTElemDbObject* referring = v_transactionTop->FindObject(r->v_refClsID, r->v_refObjID);
        if (!referring) continue;  // stale entries may linger
        const int ix = r->v_model->v_toFieldIx;
        if (referring->v_values->GetIntegerValue(ix) != int(cls) || referring->v_values->GetIntegerValue(ix + 1) != row->v_id)
          broken << QStringLiteral("(%1,%2) lists (%3,%4), which refers elsewhere").arg(cls).arg(row->v_id).arg(r->v_refClsID).arg(r->v_refObjID);
      }
    }
  }
  return broken;
}
