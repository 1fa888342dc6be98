#include "recdb/DbTextReader.h"

#include "recdb/ValueList.h"
#include "recdb/ValuePooling.h"

#include <set>

namespace {

// A list item of the structure section starts with 5 or 10, the end of a list with 0.
bool IsListItem(std::int32_t nKind) { return nKind == 5 || nKind == 10; }

bool IsStoredTypeCode(std::int32_t nCode) {
  switch (nCode) {
    case vtBoolean:
    case vtInteger:
    case vtDouble:
    case vtAnsiString:
    case vtCurrency:
    case vtDateTime:
    case vtBinary:
    case vtGUID:
    case vtUnicodeString: return true;
    default: return false;
  }
}

}  // namespace

bool CTDbTextReader::ReadInt(std::int32_t& nValue) { return CTValueList::ReadAnIntChecked(v_io, nValue); }

bool CTDbTextReader::Expect(std::int32_t nWanted) {
  std::int32_t value = 0;
  return ReadInt(value) && value == nWanted;
}

bool CTDbTextReader::ReadName(QString& szName) {
  std::int32_t length = 0;
  if (!ReadInt(length) || length < 0 || length > kMaxNameLength) return false;
  QByteArray bytes;
  for (int i = 0; i < length; ++i) {
    if (v_io.Eof()) return false;
    bytes.append(static_cast<char>(v_io.ReadChar()));
  }
  szName = QString::fromLatin1(bytes);  // one character per byte
  return true;
}

bool CTDbTextReader::ReadHeader(QByteArray& arHeader) {
  arHeader.clear();
  while (!v_io.Eof()) {
    const std::uint8_t c = v_io.ReadChar();
    if (c == '\r') break;
    if (arHeader.size() >= kMaxHeaderLength) return Fail(QStringLiteral("the header line is too long"));
    arHeader.append(static_cast<char>(c));
  }
  return true;
}

bool CTDbTextReader::ReadStructure(std::vector<Table>& arTables) {
  arTables.clear();
  std::set<int> declared;
  for (;;) {
    std::int32_t kind = 0;
    if (!ReadInt(kind)) return Fail(QStringLiteral("the structure section is cut off"));
    if (kind == 0) return true;
    if (!IsListItem(kind)) return Fail(QStringLiteral("unexpected %1 in the structure section").arg(kind));
    Table table;
    std::int32_t fileIndex = 0;
    if (!ReadName(table.name) || !ReadInt(fileIndex) || fileIndex < 0 || fileIndex > kMaxTableIndex)
      return Fail(QStringLiteral("a table declaration is malformed"));
    table.fileIndex = fileIndex;
    if (!declared.insert(fileIndex).second)
      return Fail(QStringLiteral("table index %1 is declared twice").arg(fileIndex));
    if (!ReadColumns(table)) return false;
    arTables.push_back(std::move(table));
  }
}

bool CTDbTextReader::ReadColumns(Table& table) {
  for (;;) {
    std::int32_t kind = 0;
    if (!ReadInt(kind)) return Fail(QStringLiteral("the columns of %1 are cut off").arg(table.name));
    if (kind == 0) return true;
    if (!IsListItem(kind))
      return Fail(QStringLiteral("unexpected %1 among the columns of %2").arg(kind).arg(table.name));
    Column column;
    std::int32_t code = 0;
    if (!ReadName(column.name) || !ReadInt(code))
      return Fail(QStringLiteral("a column of %1 is malformed").arg(table.name));
    if (!IsStoredTypeCode(code))
      return Fail(QStringLiteral("column %1.%2 has the unknown type %3").arg(table.name, column.name).arg(code));
    column.code = code;
    table.columns.push_back(std::move(column));
  }
}

CTDbTextReader::Step CTDbTextReader::NextDataBlock(DataBlock& block) {
  const auto failed = [this](const QString& why) {
    Fail(why);
    return Step::kFailed;
  };
  block = DataBlock();
  std::int32_t marker = 0;
  if (!ReadInt(marker)) return failed(QStringLiteral("the data section is cut off"));
  if (marker <= 0) return Step::kEnd;
  if (marker != 2) return failed(QStringLiteral("unexpected %1 in the data section").arg(marker));
  std::int32_t fileIndex = 0, count = 0, maxID = 0;
  if (!ReadInt(fileIndex) || fileIndex < 0 || !Expect(2) || !ReadInt(count) || count < 0)
    return failed(QStringLiteral("a data header is malformed"));
  // Long form; a real count of 0 keeps an emptied table's largest id.
  if (count == 0 && (!Expect(2) || !ReadInt(count) || count < 0 || !Expect(2) || !ReadInt(maxID)))
    return failed(QStringLiteral("a data header is malformed"));
  block = DataBlock{fileIndex, count, maxID};
  return Step::kBlock;
}

bool CTDbTextReader::SkipRows(const DataBlock& block) {
  for (int lines = 0; lines < block.count;) {
    if (v_io.Eof()) return Fail(QStringLiteral("the rows of table index %1 are cut off").arg(block.fileIndex));
    if (v_io.ReadChar() == '\r') ++lines;
  }
  return true;
}
