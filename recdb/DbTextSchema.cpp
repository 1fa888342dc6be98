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
  CTDbTextReader r(io);

  QByteArray header;
  if (!r.ReadHeader(header)) return szError = r.Error(), nullptr;
  if (header.size() < 4) {
    szError = QStringLiteral("no database header line");
    return nullptr;
  }
  bool ok = false;
  const int version = header.right(3).toInt(&ok);
  if (!ok) {
    szError = QStringLiteral("the header '%1' does not end in a version").arg(QString::fromLatin1(header));
    return nullptr;
  }

  std::vector<CTDbTextReader::Table> tables;
  if (!r.ReadStructure(tables)) return szError = r.Error(), nullptr;

  // Skip the data section to reach the extended structure.
  for (;;) {
    CTDbTextReader::DataBlock block;
    const CTDbTextReader::Step step = r.NextDataBlock(block);
    if (step == CTDbTextReader::Step::kFailed) return szError = r.Error(), nullptr;
    if (step == CTDbTextReader::Step::kEnd) break;
    if (!r.SkipRows(block)) return szError = r.Error(), nullptr;
  }

  auto factory = std::make_unique<SchemaFactory>(QString::fromLatin1(header.left(header.size() - 3)), version);
  std::map<int, CTTableInfo*> byClass;
  struct PendingLink {
    int master, detail, fieldIx;
    bool refIntegr, cascDel, oneToOne, ordered;
  };
  std::vector<PendingLink> links;
  std::map<int, int> parents;
  std::map<int, std::vector<std::unique_ptr<CTFieldInfo>>> definedFields;  // freed unless a table takes them

  // Extended structure: parents, defaults and links. A file without it keeps
  // plain columns with zero defaults and no links.
  for (std::size_t t = 0;; ++t) {
    std::int32_t marker = 0;
    if (!r.ReadInt(marker) || marker == 0) break;
    std::int32_t cls = 0, parent = -1;
    if (marker != 2 || !r.ReadInt(cls) || !r.Expect(2) || !r.ReadInt(parent))
      return szError = QStringLiteral("the extended structure is malformed"), nullptr;
    const CTDbTextReader::Table* table = nullptr;
    for (const CTDbTextReader::Table& ft : tables)
      if (ft.fileIndex == cls) table = &ft;
    if (!table) return szError = QStringLiteral("the extended structure names unknown class %1").arg(cls), nullptr;
    parents[cls] = parent;
    std::vector<std::unique_ptr<CTFieldInfo>>& fields = definedFields[cls];
    fields.clear();  // a table described twice keeps its last description
    for (std::size_t ix = 0; ix <= table->columns.size(); ++ix) {
      if (!r.ReadInt(marker)) return szError = QStringLiteral("the extended structure is cut off"), nullptr;
      if (marker == 0) break;
      std::int32_t type = 0;
      if (marker != 2 || !r.ReadInt(type) || ix >= table->columns.size())
        return szError = QStringLiteral("the extended structure of %1 is malformed").arg(table->name), nullptr;
      const QString& name = table->columns[ix].name;
      std::int32_t a = 0, b = 0, c = 0;
      std::unique_ptr<CTFieldInfo> field;
      switch (type) {
        case vtBoolean:
          if (!r.ReadInt(a)) return szError = QStringLiteral("a default of %1 is malformed").arg(table->name), nullptr;
          field.reset(CTFieldInfo::CreateBoolean(name, a != 0));
          break;
        case vtInteger: {
          if (!r.ReadInt(a) || !r.Expect(0) || !r.ReadInt(b))
            return szError = QStringLiteral("a default of %1 is malformed").arg(table->name), nullptr;
          field.reset(CTFieldInfo::CreateInteger(name, a));
          if (b != 0) {
            std::int32_t master = 0, ri = 0, cd = 0, oo = 0, ord = 0;
            if (!r.Expect(2) || !r.ReadInt(master) || !r.Expect(0) || !r.ReadInt(ri) || !r.Expect(0) || !r.ReadInt(cd) ||
                !r.Expect(0) || !r.ReadInt(oo) || !r.Expect(0) || !r.ReadInt(ord))
              return szError = QStringLiteral("a link of %1 is malformed").arg(table->name), nullptr;
            links.push_back({master, cls, int(ix), ri != 0, cd != 0, oo != 0, ord != 0});
          }
          break;
        }
        case vtDouble:
        case vtDateTime:
        case vtCurrency: {
          const double d = CTValueList::ReadADouble(io);
          field.reset(type == vtDouble     ? CTFieldInfo::CreateDouble(name, d)
                      : type == vtDateTime ? CTFieldInfo::CreateTDateTime(name, d)
                                           : CTFieldInfo::CreateCurrency(name, std::llround(d * 10000.0)));
          break;
        }
        case vtBinary: field.reset(CTFieldInfo::CreateBinary(name)); break;
        case vtGUID: field.reset(CTFieldInfo::CreateTGUID(name)); break;
        case vtUnicodeString: {
          QByteArray def;
          if (!CTValueList::ReadEscaped(io, def) || !r.Expect(0) || !r.ReadInt(c))
            return szError = QStringLiteral("a default of %1 is malformed").arg(table->name), nullptr;
          field.reset(CTFieldInfo::CreateUnicodeString(name, QString::fromLatin1(def), c != 0));
          break;
        }
        default: return szError = QStringLiteral("column %1 of %2 has type %3").arg(name, table->name).arg(type), nullptr;
      }
      fields.push_back(std::move(field));
    }
  }

  for (const CTDbTextReader::Table& ft : tables) {
    const QString model = ft.name.startsWith(QStringLiteral("Tbl_"), Qt::CaseInsensitive) ? ft.name.mid(4) : ft.name;
    const int parent = parents.count(ft.fileIndex) ? parents[ft.fileIndex] : -1;
    auto* table = new CTTableInfo(ft.fileIndex, 0, model, parent, false, false);
    std::vector<std::unique_ptr<CTFieldInfo>>& defined = definedFields[ft.fileIndex];
    for (std::size_t ix = 0; ix < ft.columns.size(); ++ix) {
      CTFieldInfo* field = ix < defined.size() ? defined[ix].release() : nullptr;
      if (!field) {
        const CTDbTextReader::Column& f = ft.columns[ix];
        switch (f.code) {
          case vtBoolean: field = CTFieldInfo::CreateBoolean(f.name); break;
          case vtInteger: field = CTFieldInfo::CreateInteger(f.name); break;
          case vtDouble: field = CTFieldInfo::CreateDouble(f.name); break;
          case vtCurrency: field = CTFieldInfo::CreateCurrency(f.name); break;
          case vtDateTime: field = CTFieldInfo::CreateTDateTime(f.name); break;
          case vtBinary: field = CTFieldInfo::CreateBinary(f.name); break;
          case vtGUID: field = CTFieldInfo::CreateTGUID(f.name); break;
          default: field = CTFieldInfo::CreateUnicodeString(f.name); break;  // an 8-bit text reads as a text
        }
      }
      table->AddFieldInfo(int(ix), field);
    }
    byClass[ft.fileIndex] = table;
    factory->AddTableInfo(table);
  }
  const auto fieldCount = [&](int cls) {
    for (const CTDbTextReader::Table& ft : tables)
      if (ft.fileIndex == cls) return int(ft.columns.size());
    return 0;
  };
  for (const PendingLink& l : links) {
    // A derived table repeats its parent's link columns; the parent's link serves both.
    const int parent = parents.count(l.detail) ? parents[l.detail] : -1;
    if (parent >= 0 && l.fieldIx < fieldCount(parent)) continue;
    if (byClass.count(l.master))
      factory->AddLinkInfo(new CTTableLink(byClass[l.master], -1, QString(), QString(), QString(), l.detail, l.fieldIx,
                                           l.oneToOne, l.refIntegr, l.cascDel, l.ordered));
  }
  factory->Resolve();
  factory->AddDatabase(QStringLiteral("Database"));
  return factory;
}
