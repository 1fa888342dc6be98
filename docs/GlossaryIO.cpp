#include "docs/GlossaryIO.h"

#include <QBuffer>
#include <QFile>
#include <QSaveFile>
#include <algorithm>

#include "docs/ExcelXML.h"
#include "i18n/LangSupport.h"

// ---------------------------------------------------------------- the file layout
//
// A glossary is one worksheet of two columns. The first row holds the target
// language id and the language's English name (or, in files written for the
// download server, the change date as a decimal integer); every further row
// one entry: the term and its translation, empty while untranslated. Entries
// follow bucket by bucket, in stored order. Every line ends with CR LF and
// the file is pure ASCII: cell texts pass through the spreadsheet escaping,
// one decimal reference per code point.
//
//   (document start with the style table, as for every spreadsheet we write)
//   <Worksheet ss:Name="Sheet1">
//   <Table ss:ExpandedColumnCount="2" ss:ExpandedRowCount="3" x:FullColumns="1" x:FullRows="1">
//   <Row>
//   <Cell><Data ss:Type="String">1031</Data></Cell>
//   <Cell><Data ss:Type="String">German</Data></Cell>
//   </Row>
//   <Row>
//   <Cell><Data ss:Type="String">Close</Data></Cell>
//   <Cell><Data ss:Type="String">Schlie&#223;en</Data></Cell>
//   </Row>
//   <Row>
//   <Cell><Data ss:Type="String">Open</Data></Cell>
//   <Cell><Data ss:Type="String"></Data></Cell>
//   </Row>
//   </Table>
//   </Worksheet>
//   </Workbook>
//
// The reader goes line by line and relies on this layout (row start, each
// cell and row end on lines of their own), not on XML: translators' tools
// keep it when they save the sheet again.
//
// - A line is the bytes up to LF, CR and TAB dropped wherever they stand,
//   decoded as UTF-8, blanks trimmed at both ends. An empty line or the end
//   of the data ends the read.
// - Lines are skipped up to the first one containing "<worksheet>" or
//   "<worksheet " (letter case ignored, as for every tag below); a second
//   such line ends the read.
// - "</worksheet>" ends the read, successfully when a row was completed
//   before it. Every other end of the read is a failure.
// - A line containing "<row" starts a row and carries nothing else.
// - A line containing "<data" carries a cell value: the text after the
//   first ">" behind the tag, up to "</data>", with character references
//   decoded. The first value of a row is the term, the second its
//   translation; further values are ignored.
// - "</row>" completes the row. The first row gives the target language
//   (a decimal number, else the read fails) and the language text; every
//   later one an entry, added as AddTermNoNonsense does.

namespace {

const QString kRowStart = QStringLiteral("<Row>");
const QString kRowEnd = QStringLiteral("</Row>");
const QString kCellStart = QStringLiteral("<Cell><Data ss:Type=\"String\">");
const QString kCellEnd = QStringLiteral("</Data></Cell>");

void WriteRow(QIODevice& stream, const QString& szFirst, const QString& szSecond) {
  CTExcelXML2003::WriteStringAndNewLine(stream, kRowStart);
  CTExcelXML2003::WriteStringAndNewLine(stream, kCellStart + CTExcelXML2003::XMLSafeString(szFirst) + kCellEnd);
  CTExcelXML2003::WriteStringAndNewLine(stream, kCellStart + CTExcelXML2003::XMLSafeString(szSecond) + kCellEnd);
  CTExcelXML2003::WriteStringAndNewLine(stream, kRowEnd);
}

// One line of the file as text: CR and TAB dropped, blanks trimmed.
QString LineText(QByteArrayView raw) {
  QByteArray kept;
  kept.reserve(raw.size());
  for (char c : raw)
    if (c != '\r' && c != '\t') kept += c;
  return QString::fromUtf8(kept.trimmed());
}

// The decimal (or hexadecimal, "x" first) number of a character reference
// in the form the spreadsheet decoder reads, or a reference to U+FFFD when
// the number names no character XML allows.
QString UsableReference(QStringView body) {
  static const QString kReplacement = QStringLiteral("&#65533;");
  int base = 10;
  if (body.startsWith(u'x') || body.startsWith(u'X')) {
    base = 16;
    body = body.mid(1);
  }
  const bool digitsOnly = !body.isEmpty() && std::all_of(body.begin(), body.end(), [base](QChar c) {
    return (c >= u'0' && c <= u'9') || (base == 16 && QStringView(u"abcdefABCDEF").contains(c));
  });
  bool ok = false;
  const uint code = digitsOnly ? body.toUInt(&ok, base) : 0;
  if (!ok) return kReplacement;
  const QString canonical = QStringLiteral("&#%1;").arg(code);
  return CTExcelXML2003::ReplaceCharacterRefs(canonical) != canonical ? canonical : kReplacement;
}

// A cell text with its character references decoded. The spreadsheet decoder
// keeps a numeric reference it cannot use as text; a glossary shows such a
// reference as U+FFFD instead, so first every "&#" ... ";" becomes a
// reference that the decoder reads.
QString DecodedCellText(const QString& szText) {
  constexpr qsizetype kLongestNumber = 16;  // characters between "&#" and ";"
  QString text;
  text.reserve(szText.size());
  qsizetype i = 0;
  while (i < szText.size()) {
    const qsizetype start = szText.indexOf(QStringLiteral("&#"), i);
    if (start < 0) {
      text += QStringView(szText).mid(i);
      break;
    }
    text += QStringView(szText).mid(i, start - i);
    qsizetype end = start + 2;
    while (end < szText.size() && end - start - 2 <= kLongestNumber && szText.at(end) != u';' && szText.at(end) != u'&')
      ++end;
    if (end < szText.size() && szText.at(end) == u';' && end - start - 2 <= kLongestNumber) {
      text += UsableReference(QStringView(szText).mid(start + 2, end - start - 2));
      i = end + 1;
    } else {
      text += QStringLiteral("&#");
      i = start + 2;
    }
  }
  return CTExcelXML2003::ReplaceCharacterRefs(text);
}

// The value of a "<data" line, or nothing when the line does not close it.
bool CellValue(const QString& szLine, QString& szValue) {
  const qsizetype tag = szLine.indexOf(QStringLiteral("<data"), 0, Qt::CaseInsensitive);
  const qsizetype start = szLine.indexOf(u'>', tag) + 1;
  if (start <= 0) return false;
  const qsizetype end = szLine.indexOf(QStringLiteral("</data>"), start, Qt::CaseInsensitive);
  if (end < 0) return false;
  szValue = DecodedCellText(szLine.mid(start, end - start));
  return true;
}

bool Is(const QString& szLine, const char* szTag) {
  return szLine.compare(QLatin1String(szTag), Qt::CaseInsensitive) == 0;
}

bool Has(const QString& szLine, const char* szTag) {
  return szLine.contains(QLatin1String(szTag), Qt::CaseInsensitive);
}

}  // namespace

// ---------------------------------------------------------------- streams and files

bool CTXMLGlossaryIO::LoadGlossary(QIODevice& stream, CTUnicodeGlossary& glossary) const {
  constexpr qint64 kChunk = qint64(1) << 20;
  QByteArray bytes;
  while (bytes.size() <= kMaxGlossaryBytes) {
    const QByteArray chunk = stream.read(std::min(kChunk, kMaxGlossaryBytes + 1 - bytes.size()));
    if (chunk.isEmpty()) break;
    bytes += chunk;
  }
  if (bytes.size() > kMaxGlossaryBytes) return false;
  return LoadGlossary(bytes, glossary);
}

bool CTXMLGlossaryIO::LoadGlossaryFromFile(const QString& szFileName, CTUnicodeGlossary& glossary) const {
  // One attempt to open: a glossary is read at start-up, where waiting for
  // another program to let go of the file would only delay the window.
  QFile file(szFileName);
  if (file.size() > kMaxGlossaryBytes || !file.open(QIODevice::ReadOnly)) return false;
  if (!LoadGlossary(file, glossary)) return false;
  glossary.v_fileName = szFileName;
  return true;
}

bool CTXMLGlossaryIO::SaveGlossaryToFile(const QString& szFileName, CTUnicodeGlossary& glossary,
                                         bool bSaveChangedDate) const {
  QSaveFile file(szFileName);
  if (!file.open(QIODevice::WriteOnly)) return false;
  if (!SaveGlossary(file, glossary, bSaveChangedDate)) {
    file.cancelWriting();
    return false;
  }
  if (!file.commit()) return false;
  glossary.v_fileName = szFileName;
  return true;
}

// ---------------------------------------------------------------- the spreadsheet layout

void CTExcelXMLGlossaryIO::WriteStart(QIODevice& stream, int nNbColumns, int nNbRows, const QStringList* pStyles) {
  CTExcelXML2003::GlobalStart(stream, pStyles);
  CTExcelXML2003::StartWorksheet(stream, nNbColumns, nNbRows, QString());
}

void CTExcelXMLGlossaryIO::WriteEnd(QIODevice& stream) {
  CTExcelXML2003::EndWorksheet(stream);
  CTExcelXML2003::GlobalEnd(stream);
}

bool CTExcelXMLGlossaryIO::SaveGlossary(QIODevice& stream, const CTUnicodeGlossary& glossary,
                                        bool bSaveChangedDate) const {
  // Whole in memory first, so that the answer says whether all of it arrived.
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  WriteStart(buffer, 2, glossary.EntryCount() + 1, nullptr);
  const bool bDate = bSaveChangedDate && !glossary.v_languageNameOrChangedDate.isEmpty();
  WriteRow(buffer, QString::number(glossary.GetTargetLanguage()),
           bDate ? glossary.v_languageNameOrChangedDate
                 : CTLangSupport::EnglishLanguageName(int(glossary.GetTargetLanguage())));
  for (const CTUnicodeGlossary::TLetterEntry& entry : glossary.AllLetterEntries())
    for (const auto& term : entry) WriteRow(buffer, term->v_term, term->v_translation);
  WriteEnd(buffer);
  const QByteArray& bytes = buffer.data();
  return stream.write(bytes) == bytes.size();
}

bool CTExcelXMLGlossaryIO::LoadGlossary(const QByteArray& bytes, CTUnicodeGlossary& glossary) const {
  if (bytes.size() > kMaxGlossaryBytes) return false;
  bool bInWorksheet = false;
  int nRowsDone = 0;
  QString cells[2];
  int nCells = 0;
  qsizetype pos = 0;
  while (pos < bytes.size()) {
    qsizetype eol = bytes.indexOf('\n', pos);
    if (eol < 0) eol = bytes.size();
    const QString line = LineText(QByteArrayView(bytes).sliced(pos, eol - pos));
    pos = eol + 1;
    if (line.isEmpty()) return false;
    if (Has(line, "<worksheet>") || Has(line, "<worksheet ")) {
      if (bInWorksheet) return false;
      bInWorksheet = true;
      continue;
    }
    if (!bInWorksheet) continue;
    if (Is(line, "</worksheet>")) return nRowsDone > 0;
    if (Has(line, "<row")) {
      cells[0].clear();
      cells[1].clear();
      nCells = 0;
    } else if (Is(line, "</row>")) {
      if (nRowsDone == 0) {
        bool ok = false;
        const uint language = cells[0].toUInt(&ok, 10);
        if (!ok) return false;
        glossary.SetTargetLanguage(language);
        glossary.v_languageNameOrChangedDate = cells[1];
      } else {
        glossary.AddTermNoNonsense(cells[0], cells[1]);
      }
      ++nRowsDone;
    } else if (Has(line, "<data")) {
      QString value;
      if (nCells < 2 && CellValue(line, value)) cells[nCells++] = value;
    }
  }
  return false;
}
