#include "recdb/DbTextSchema.h"

#include "recdb/DbTextReader.h"
#include "recdb/LZSS.h"
#include "recdb/TableLink.h"
#include "recdb/ValueList.h"

#include <QBuffer>

#include <cmath>
#include <map>

namespace {

class SchemaFactory : public CTBaseFactory {
 public:
  SchemaFactory(const QString& szName, int nVersion) : CTBaseFactory(szName, nVersion, nVersion) {}
  void Resolve() { ResolveStructure(); }
};

// A link described on a reference column, made once every table exists.
struct PendingLink {
  int master, detail, fieldIx;
  bool refIntegr, cascDel, oneToOne, ordered;
};

// Reads a schema out of a database text, one section per step. Each step
// answers false at the first fault and leaves the reason in Error(); the
// steps go in the order of the text.
class SchemaText {
 public:
  explicit SchemaText(CTStreamIO& io) : v_reader(io) {}

  bool ReadHeader();
  bool ReadStructure();
  bool SkipData();
  bool ReadExtendedStructure();
  std::unique_ptr<CTBaseFactory> MakeFactory();

  const QString& Error() const { return v_error; }

 private:
  bool ReadExtendedTable(const CTDbTextReader::Table& table);
  bool ReadExtendedColumn(const CTDbTextReader::Table& table, std::size_t ix, std::int32_t type,
                          std::unique_ptr<CTFieldInfo>& field);
  CTTableInfo* MakeTable(const CTDbTextReader::Table& declared);
  const CTDbTextReader::Table* Declared(int nClsID) const {
    const auto it = v_declared.find(nClsID);
    return it == v_declared.end() ? nullptr : it->second;
  }
  int ParentOf(int nClsID) const {
    const auto it = v_parents.find(nClsID);
    return it == v_parents.end() ? -1 : it->second;
  }
  bool Fail(const QString& szWhy) {
    v_error = szWhy;
    return false;
  }
  bool FailReader() { return Fail(v_reader.Error()); }

  CTDbTextReader v_reader;
  QString v_error;
  QString v_name;  // the header without its version
  int v_version = 0;
  std::vector<CTDbTextReader::Table> v_tables;  // as the structure section declares them
  std::map<int, const CTDbTextReader::Table*> v_declared;  // the same by class id
  // From the extended structure, by class id. The described columns are
  // freed unless a table takes them.
  std::map<int, int> v_parents;
  std::map<int, std::vector<std::unique_ptr<CTFieldInfo>>> v_describedFields;
  std::vector<PendingLink> v_links;
};

// "ROZ100": the name, then the version times 100 in three digits.
bool SchemaText::ReadHeader() {
  QByteArray header;
  if (!v_reader.ReadHeader(header)) return FailReader();
  if (header.size() < 4) return Fail(QStringLiteral("no database header line"));
  bool ok = false;
  v_version = header.right(3).toInt(&ok);
  if (!ok) return Fail(QStringLiteral("the header '%1' does not end in a version").arg(QString::fromLatin1(header)));
  v_name = QString::fromLatin1(header.left(header.size() - 3));
  return true;
}

bool SchemaText::ReadStructure() {
  if (!v_reader.ReadStructure(v_tables)) return FailReader();
  for (const CTDbTextReader::Table& table : v_tables) v_declared[table.fileIndex] = &table;
  return true;
}

// The rows tell nothing of the schema; they are passed over to reach the
// extended structure behind them.
bool SchemaText::SkipData() {
  for (;;) {
    CTDbTextReader::DataBlock block;
    const CTDbTextReader::Step step = v_reader.NextDataBlock(block);
    if (step == CTDbTextReader::Step::kFailed) return FailReader();
    if (step == CTDbTextReader::Step::kEnd) return true;
    if (!v_reader.SkipRows(block)) return FailReader();
  }
}

// The extended structure (written by CTMemDbEngine::ExtendedStructureText)
// describes each table: "2 class 2 parent", then one line per column in the
// order of the structure section, "2 type" and the default by type, then 0:
//
//   Boolean                        default (0 or 1)
//   Integer                        default 0 hasLink, and when hasLink is 1:
//                                  2 master 0 refIntegr 0 cascDel 0 oneToOne 0 ordered
//   Double, DateTime, Currency     default as a decimal number (Currency in units)
//   UnicodeString                  default as escaped text, 0 multilingual
//   Binary, GUID                   nothing
//
//   2 2 2 -1                       Tbl_Point (2), no parent
//   2 2 0 0 0                        ID: Integer, default 0, no link
//   2 2 0 0 1 2 1 0 1 0 1 0 0 0 0    Curve_CLS: refers to class 1, required, cascading
//   0
//
// A text without it (the list ends at once, or the text does) keeps plain
// columns with zero defaults and no links.
bool SchemaText::ReadExtendedStructure() {
  for (;;) {
    std::int32_t marker = 0, cls = 0, parent = -1;
    if (!v_reader.ReadInt(marker) || marker == 0) return true;
    if (marker != 2 || !v_reader.ReadInt(cls) || !v_reader.Expect(2) || !v_reader.ReadInt(parent))
      return Fail(QStringLiteral("the extended structure is malformed"));
    const CTDbTextReader::Table* table = Declared(cls);
    if (!table) return Fail(QStringLiteral("the extended structure names unknown class %1").arg(cls));
    v_parents[cls] = parent;
    if (!ReadExtendedTable(*table)) return false;
  }
}

bool SchemaText::ReadExtendedTable(const CTDbTextReader::Table& table) {
  std::vector<std::unique_ptr<CTFieldInfo>>& fields = v_describedFields[table.fileIndex];
  fields.clear();  // a table described twice keeps its last description
  for (std::size_t ix = 0;; ++ix) {
    std::int32_t marker = 0, type = 0;
    if (!v_reader.ReadInt(marker)) return Fail(QStringLiteral("the extended structure is cut off"));
    if (marker == 0) return true;
    if (marker != 2 || !v_reader.ReadInt(type) || ix >= table.columns.size())
      return Fail(QStringLiteral("the extended structure of %1 is malformed").arg(table.name));
    std::unique_ptr<CTFieldInfo> field;
    if (!ReadExtendedColumn(table, ix, type, field)) return false;
    fields.push_back(std::move(field));
  }
}

bool SchemaText::ReadExtendedColumn(const CTDbTextReader::Table& table, std::size_t ix, std::int32_t type,
                                    std::unique_ptr<CTFieldInfo>& field) {
  const QString& name = table.columns[ix].name;
  const auto badDefault = [&] { return Fail(QStringLiteral("a default of %1 is malformed").arg(table.name)); };
  CTDbTextReader& r = v_reader;
  std::int32_t value = 0;
  switch (type) {
    case vtBoolean:
      if (!r.ReadInt(value)) return badDefault();
      field.reset(CTFieldInfo::CreateBoolean(name, value != 0));
      return true;
    case vtInteger: {
      std::int32_t hasLink = 0;
      if (!r.ReadInt(value) || !r.Expect(0) || !r.ReadInt(hasLink)) return badDefault();
      field.reset(CTFieldInfo::CreateInteger(name, value));
      if (hasLink == 0) return true;
      std::int32_t master = 0, refIntegr = 0, cascDel = 0, oneToOne = 0, ordered = 0;
      if (!r.Expect(2) || !r.ReadInt(master) || !r.Expect(0) || !r.ReadInt(refIntegr) || !r.Expect(0) ||
          !r.ReadInt(cascDel) || !r.Expect(0) || !r.ReadInt(oneToOne) || !r.Expect(0) || !r.ReadInt(ordered))
        return Fail(QStringLiteral("a link of %1 is malformed").arg(table.name));
      v_links.push_back({master, table.fileIndex, int(ix), refIntegr != 0, cascDel != 0, oneToOne != 0, ordered != 0});
      return true;
    }
    case vtDouble: field.reset(CTFieldInfo::CreateDouble(name, CTValueList::ReadADouble(r.IO()))); return true;
    case vtDateTime: field.reset(CTFieldInfo::CreateTDateTime(name, CTValueList::ReadADouble(r.IO()))); return true;
    case vtCurrency:
      field.reset(CTFieldInfo::CreateCurrency(name, std::llround(CTValueList::ReadADouble(r.IO()) * 10000.0)));
      return true;
    case vtBinary: field.reset(CTFieldInfo::CreateBinary(name)); return true;
    case vtGUID: field.reset(CTFieldInfo::CreateTGUID(name)); return true;
    case vtUnicodeString: {
      QByteArray text;
      std::int32_t multilingual = 0;
      if (!CTValueList::ReadEscaped(r.IO(), text) || !r.Expect(0) || !r.ReadInt(multilingual)) return badDefault();
      field.reset(CTFieldInfo::CreateUnicodeString(name, QString::fromLatin1(text), multilingual != 0));
      return true;
    }
    default: return Fail(QStringLiteral("column %1 of %2 has type %3").arg(name, table.name).arg(type));
  }
}

// A column the extended structure did not describe: its stored type, a zero default.
CTFieldInfo* PlainField(const CTDbTextReader::Column& column) {
  switch (column.code) {
    case vtBoolean: return CTFieldInfo::CreateBoolean(column.name);
    case vtInteger: return CTFieldInfo::CreateInteger(column.name);
    case vtDouble: return CTFieldInfo::CreateDouble(column.name);
    case vtCurrency: return CTFieldInfo::CreateCurrency(column.name);
    case vtDateTime: return CTFieldInfo::CreateTDateTime(column.name);
    case vtBinary: return CTFieldInfo::CreateBinary(column.name);
    case vtGUID: return CTFieldInfo::CreateTGUID(column.name);
    default: return CTFieldInfo::CreateUnicodeString(column.name);  // an 8-bit text reads as a text
  }
}

CTTableInfo* SchemaText::MakeTable(const CTDbTextReader::Table& declared) {
  const QString model =
      declared.name.startsWith(QStringLiteral("Tbl_"), Qt::CaseInsensitive) ? declared.name.mid(4) : declared.name;
  auto* table = new CTTableInfo(declared.fileIndex, 0, model, ParentOf(declared.fileIndex), false, false);
  std::vector<std::unique_ptr<CTFieldInfo>>& described = v_describedFields[declared.fileIndex];
  for (std::size_t ix = 0; ix < declared.columns.size(); ++ix) {
    CTFieldInfo* field = ix < described.size() ? described[ix].release() : nullptr;
    table->AddFieldInfo(int(ix), field ? field : PlainField(declared.columns[ix]));
  }
  return table;
}

std::unique_ptr<CTBaseFactory> SchemaText::MakeFactory() {
  auto factory = std::make_unique<SchemaFactory>(v_name, v_version);
  std::map<int, CTTableInfo*> byClass;
  for (const CTDbTextReader::Table& declared : v_tables) {
    CTTableInfo* table = MakeTable(declared);
    byClass[declared.fileIndex] = table;
    factory->AddTableInfo(table);
  }
  for (const PendingLink& l : v_links) {
    // A derived table repeats its parent's link columns; the parent's link serves both.
    const CTDbTextReader::Table* parent = Declared(ParentOf(l.detail));
    if (parent && l.fieldIx < int(parent->columns.size())) continue;
    const auto master = byClass.find(l.master);
    if (master == byClass.end()) continue;
    factory->AddLinkInfo(new CTTableLink(master->second, -1, QString(), QString(), QString(), l.detail, l.fieldIx,
                                         l.oneToOne, l.refIntegr, l.cascDel, l.ordered));
  }
  factory->Resolve();
  factory->AddDatabase(QStringLiteral("Database"));
  return factory;
}

}  // namespace

bool CTDbTextSchema::PlainText(const QByteArray& arFileBytes, const QString& szSignature, QByteArray& arPlain) {
  const QByteArray signature = szSignature.toLatin1();
  if (signature.isEmpty() || !arFileBytes.startsWith(signature)) {
    arPlain = arFileBytes;
    return true;
  }
  bool bComplete = false;
  arPlain = CTLZSSLogic::Expand(arFileBytes.mid(signature.size()), &bComplete);
  return bComplete;
}

std::unique_ptr<CTBaseFactory> CTDbTextSchema::BuildFactory(const QByteArray& arPlainText, QString& szError) {
  QByteArray text = arPlainText;
  QBuffer buffer(&text);
  buffer.open(QIODevice::ReadOnly);
  CTStreamIO io(&buffer);
  SchemaText schema(io);
  if (!schema.ReadHeader() || !schema.ReadStructure() || !schema.SkipData() || !schema.ReadExtendedStructure()) {
    szError = schema.Error();
    return nullptr;
  }
  return schema.MakeFactory();
}
