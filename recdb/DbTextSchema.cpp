#include "recdb/DbTextSchema.h"

#include "recdb/LZSS.h"
#include "recdb/StreamIO.h"
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

struct Reader {
  explicit Reader(CTStreamIO& io) : v_io(io) {}
  bool Int(std::int32_t& n) { return CTValueList::ReadAnIntChecked(v_io, n); }
  bool Expect(std::int32_t wanted) {
    std::int32_t n = 0;
    return Int(n) && n == wanted;
  }
  bool Name(QString& s) {
    std::int32_t length = 0;
    if (!Int(length) || length < 0 || length > 4096) return false;
    QByteArray bytes;
    for (int i = 0; i < length; ++i) {
      if (v_io.Eof()) return false;
      bytes.append(static_cast<char>(v_io.ReadChar()));
    }
    s = QString::fromLatin1(bytes);
    return true;
  }
  CTStreamIO& v_io;
};

struct FileField {
  QString name;
  int type = 0;
};
struct FileTable {
  QString name;
  int classID = 0;
  std::vector<FileField> fields;
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
  Reader r(io);

  QByteArray header;
  while (!io.Eof() && header.size() <= 64) {
    const std::uint8_t c = io.ReadChar();
    if (c == '\r') break;
    header.append(static_cast<char>(c));
  }
  if (header.size() < 4 || header.size() > 64) {
    szError = QStringLiteral("no database header line");
    return nullptr;
  }
  bool ok = false;
  const int version = header.right(3).toInt(&ok);
  if (!ok) {
    szError = QStringLiteral("the header '%1' does not end in a version").arg(QString::fromLatin1(header));
    return nullptr;
  }

  std::vector<FileTable> tables;
  for (;;) {
    std::int32_t kind = 0;
    if (!r.Int(kind)) return szError = QStringLiteral("the structure section is cut off"), nullptr;
    if (kind == 0) break;
    FileTable t;
    std::int32_t cls = 0;
    if ((kind != 5 && kind != 10) || !r.Name(t.name) || !r.Int(cls) || cls < 0 || cls > 100000)
      return szError = QStringLiteral("a table declaration is malformed"), nullptr;
    t.classID = cls;
    for (;;) {
      if (!r.Int(kind)) return szError = QStringLiteral("the columns of %1 are cut off").arg(t.name), nullptr;
      if (kind == 0) break;
      FileField f;
      std::int32_t type = 0;
      if ((kind != 5 && kind != 10) || !r.Name(f.name) || !r.Int(type))
        return szError = QStringLiteral("a column of %1 is malformed").arg(t.name), nullptr;
      f.type = type == 5 ? vtUnicodeString : type;
      t.fields.push_back(f);
    }
    tables.push_back(std::move(t));
  }

  // Skip the data section to reach the extended structure.
  for (;;) {
    std::int32_t marker = 0, fileIndex = 0, count = 0, maxID = 0;
    if (!r.Int(marker)) return szError = QStringLiteral("the data section is cut off"), nullptr;
    if (marker <= 0) break;
    if (marker != 2 || !r.Int(fileIndex) || !r.Expect(2) || !r.Int(count) || count < 0)
      return szError = QStringLiteral("a data header is malformed"), nullptr;
    if (count == 0 && (!r.Expect(2) || !r.Int(count) || count < 0 || !r.Expect(2) || !r.Int(maxID)))
      return szError = QStringLiteral("a data header is malformed"), nullptr;
    for (std::int32_t crs = 0; crs < count;) {
      if (io.Eof()) return szError = QStringLiteral("the rows of table index %1 are cut off").arg(fileIndex), nullptr;
      if (io.ReadChar() == '\r') ++crs;
    }
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
    if (!r.Int(marker) || marker == 0) break;
    std::int32_t cls = 0, parent = -1;
    if (marker != 2 || !r.Int(cls) || !r.Expect(2) || !r.Int(parent))
      return szError = QStringLiteral("the extended structure is malformed"), nullptr;
    const FileTable* table = nullptr;
    for (const FileTable& ft : tables)
      if (ft.classID == cls) table = &ft;
    if (!table) return szError = QStringLiteral("the extended structure names unknown class %1").arg(cls), nullptr;
    parents[cls] = parent;
    std::vector<std::unique_ptr<CTFieldInfo>>& fields = definedFields[cls];
    fields.clear();  // a table described twice keeps its last description
    for (std::size_t ix = 0; ix <= table->fields.size(); ++ix) {
      if (!r.Int(marker)) return szError = QStringLiteral("the extended structure is cut off"), nullptr;
      if (marker == 0) break;
      std::int32_t type = 0;
      if (marker != 2 || !r.Int(type) || ix >= table->fields.size())
        return szError = QStringLiteral("the extended structure of %1 is malformed").arg(table->name), nullptr;
      const QString& name = table->fields[ix].name;
      std::int32_t a = 0, b = 0, c = 0;
      std::unique_ptr<CTFieldInfo> field;
      switch (type) {
        case vtBoolean:
          if (!r.Int(a)) return szError = QStringLiteral("a default of %1 is malformed").arg(table->name), nullptr;
          field.reset(CTFieldInfo::CreateBoolean(name, a != 0));
          break;
        case vtInteger: {
          if (!r.Int(a) || !r.Expect(0) || !r.Int(b))
            return szError = QStringLiteral("a default of %1 is malformed").arg(table->name), nullptr;
          field.reset(CTFieldInfo::CreateInteger(name, a));
          if (b != 0) {
            std::int32_t master = 0, ri = 0, cd = 0, oo = 0, ord = 0;
            if (!r.Expect(2) || !r.Int(master) || !r.Expect(0) || !r.Int(ri) || !r.Expect(0) || !r.Int(cd) ||
                !r.Expect(0) || !r.Int(oo) || !r.Expect(0) || !r.Int(ord))
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
          if (!CTValueList::ReadEscaped(io, def) || !r.Expect(0) || !r.Int(c))
            return szError = QStringLiteral("a default of %1 is malformed").arg(table->name), nullptr;
          field.reset(CTFieldInfo::CreateUnicodeString(name, QString::fromLatin1(def), c != 0));
          break;
        }
        default: return szError = QStringLiteral("column %1 of %2 has type %3").arg(name, table->name).arg(type), nullptr;
      }
      fields.push_back(std::move(field));
    }
  }

  for (const FileTable& ft : tables) {
    const QString model = ft.name.startsWith(QStringLiteral("Tbl_"), Qt::CaseInsensitive) ? ft.name.mid(4) : ft.name;
    auto* table = new CTTableInfo(ft.classID, 0, model, parents.count(ft.classID) ? parents[ft.classID] : -1, false, false);
    std::vector<std::unique_ptr<CTFieldInfo>>& defined = definedFields[ft.classID];
    for (std::size_t ix = 0; ix < ft.fields.size(); ++ix) {
      CTFieldInfo* field = ix < defined.size() ? defined[ix].release() : nullptr;
      if (!field) {
        const FileField& f = ft.fields[ix];
        switch (f.type) {
          case vtBoolean: field = CTFieldInfo::CreateBoolean(f.name); break;
          case vtInteger: field = CTFieldInfo::CreateInteger(f.name); break;
          case vtDouble: field = CTFieldInfo::CreateDouble(f.name); break;
          case vtCurrency: field = CTFieldInfo::CreateCurrency(f.name); break;
          case vtDateTime: field = CTFieldInfo::CreateTDateTime(f.name); break;
          case vtBinary: field = CTFieldInfo::CreateBinary(f.name); break;
          case vtGUID: field = CTFieldInfo::CreateTGUID(f.name); break;
          default: field = CTFieldInfo::CreateUnicodeString(f.name); break;
        }
      }
      table->AddFieldInfo(int(ix), field);
    }
    byClass[ft.classID] = table;
    factory->AddTableInfo(table);
  }
  const auto fieldCount = [&](int cls) {
    for (const FileTable& ft : tables)
      if (ft.classID == cls) return int(ft.fields.size());
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
