#pragma once
// XML Spreadsheet 2003 (SpreadsheetML) output: the building blocks of the
// format (CTExcelXML2003) and a document table as a worksheet
// (CTDocTableToXML). The output is pure ASCII with CR LF line ends: every
// text from a table passes through XMLSafeString.

#include "charts/DrawSurface.h"
#include "platform/XmlText.h"

#include <QIODevice>
#include <QList>
#include <QString>
#include <QStringList>

class CTDocTable;

class CTExcelXML2003 {
 public:
  // The shared escaping of platform/XmlText.h.
  static QString XMLSafeString(const QString& szStr) { return CTXmlText::XMLSafeString(szStr); }
  static QString ReplaceCharacterRefs(const QString& szStr) { return CTXmlText::ReplaceCharacterRefs(szStr); }
  static void WriteString(QIODevice& stream, const QString& szStr);
  static void WriteStringAndNewLine(QIODevice& stream, const QString& szStr);
  static void GlobalStart(QIODevice& stream, const QStringList* pStyles);
  static void GlobalEnd(QIODevice& stream);
  static void StartWorksheet(QIODevice& stream, int nNbColumns, int nNbRows, const QString& szSheetName);
  static void EndWorksheet(QIODevice& stream);
  // The sheet name as written: "Sheet1" when empty, at most 31 characters,
  // and none of * / : ? [ \ ].
  static QString SheetName(const QString& szSheetName);
};

// One distinct background colour of a table; its position (from 1) names
// its styles "cs" n and "csp" n.
struct LTColorEntry {
  TColor v_color = 0;
  QString RGBString() const;  // "#RRGGBB"
};

class CTDocTableToXML {
 public:
  static void GatherColorEntries(const CTDocTable& table, QList<LTColorEntry>& entries, QStringList& styles);
  static void ExportDocTableAsWorksheet(QIODevice& stream, CTDocTable& table, const QString& szSheetName,
                                        const QList<LTColorEntry>* pColorEntries);
  static void ExportDocTableAsWorkbook(QIODevice& stream, CTDocTable& table);
  // A decimal number with a point as the separator.
  static bool IsNumberText(const QString& szText, double& nValue);
};
