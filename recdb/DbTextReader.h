#pragma once
// CTDbTextReader: the one reader of the sections of the database text that
// CTMemDbEngine writes (the layout is drawn in MemDB.h): the header line, the
// structure, the heads of the data blocks, and the numbers and names they are
// made of. The engine loads through it, and CTDbTextSchema reads a schema out
// of a text through it, so both reject the same texts with the same words.
//
// It checks the text against the format only; what the declared tables and
// columns mean to a schema is for its caller to judge. Every method answers
// false (or Step::kFailed) on the first fault and leaves one line in Error().

#include "recdb/StreamIO.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

class CTDbTextReader {
 public:
  static constexpr int kMaxHeaderLength = 64;    // a signature line; longer means this is no database
  static constexpr int kMaxNameLength = 4096;    // table and column names
  static constexpr int kMaxTableIndex = 100000;  // class ids are small; a larger one is damage

  // One column as the structure section declares it.
  struct Column {
    QString name;
    int code = 0;  // stored type code: a vt… value, or vtAnsiString (5)
  };
  // One table as the structure section declares it. fileIndex is the class
  // id in the writer's schema, unique within a text; the data blocks and the
  // references of the text use it.
  struct Table {
    QString name;
    int fileIndex = 0;
    std::vector<Column> columns;
  };
  // The head of one block of the data section: count rows follow, one line each.
  struct DataBlock {
    int fileIndex = 0;
    int count = 0;
    int maxID = 0;  // the largest id ever given; 0 unless the long form was written
  };
  enum class Step { kBlock, kEnd, kFailed };

  explicit CTDbTextReader(CTStreamIO& io) : v_io(io) {}

  // The header line, without its line end.
  bool ReadHeader(QByteArray& arHeader);
  // The whole structure section, tables in the order of the text.
  bool ReadStructure(std::vector<Table>& arTables);
  // The head of the next data block, or kEnd at the data terminator.
  Step NextDataBlock(DataBlock& block);
  // Passes over the rows of a block nobody reads.
  bool SkipRows(const DataBlock& block);

  // The tokens: a number ended by white space, a number that must be
  // nWanted, a name written as its length, a space and that many bytes.
  bool ReadInt(std::int32_t& nValue);
  bool Expect(std::int32_t nWanted);
  bool ReadName(QString& szName);

  CTStreamIO& IO() { return v_io; }
  const QString& Error() const { return v_error; }

 private:
  bool ReadColumns(Table& table);
  bool Fail(const QString& szWhy) {
    v_error = szWhy;
    return false;
  }

  CTStreamIO& v_io;
  QString v_error;
};
