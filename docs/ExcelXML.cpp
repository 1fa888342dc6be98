#include "docs/ExcelXML.h"

#include "docs/DocTable.h"

#include <QRegularExpression>

#include <cmath>

namespace {


QString Quoted(const char* szBefore, const QString& szValue, const char* szAfter) {
  return QString::fromLatin1(szBefore) + szValue + QString::fromLatin1(szAfter);
}

}  // namespace

// ---------------------------------------------------------------- writing

void CTExcelXML2003::WriteString(QIODevice& stream, const QString& szStr) {
  // The texts are ASCII by construction (XMLSafeString).
  stream.write(szStr.toLatin1());
}

void CTExcelXML2003::WriteStringAndNewLine(QIODevice& stream, const QString& szStr) {
  WriteString(stream, szStr);
  stream.write("\r\n", 2);
}

void CTExcelXML2003::GlobalStart(QIODevice& stream, const QStringList* pStyles) {
  for (const char* line : {
           "<?xml version=\"1.0\"?>",
           "<?mso-application progid=\"Excel.Sheet\"?>",
           "<Workbook",
           "xmlns=\"urn:schemas-microsoft-com:office:spreadsheet\"",
           "xmlns:o=\"urn:schemas-microsoft-com:office:office\"",
           "xmlns:x=\"urn:schemas-microsoft-com:office:excel\"",
           "xmlns:ss=\"urn:schemas-microsoft-com:office:spreadsheet\"",
           "xmlns:html=\"http://www.w3.org/TR/REC-html40\">",
           "<DocumentProperties xmlns=\"urn:schemas-microsoft-com:office:office\" />",
           "<ExcelWorkbook xmlns=\"urn:schemas-microsoft-com:office:excel\">",
           "<ProtectStructure>False</ProtectStructure>",
           "<ProtectWindows>False</ProtectWindows>",
           "</ExcelWorkbook>",
           "<Styles>",
           "<Style ss:ID=\"Default\" ss:Name=\"Normal\"><Font ss:FontName=\"Arial\" ss:Size=\"10\"/> "
           "<Alignment ss:Vertical=\"Top\" ss:WrapText=\"1\"/></Style>",
           "<Style ss:ID=\"Percent\" ss:Name=\"Percent\"><NumberFormat ss:Format=\"0%\"/></Style>",
       })
    WriteStringAndNewLine(stream, QString::fromLatin1(line));
  if (pStyles)
    for (const QString& style : *pStyles) WriteStringAndNewLine(stream, style);
  WriteStringAndNewLine(stream, QStringLiteral("</Styles>"));
}

void CTExcelXML2003::GlobalEnd(QIODevice& stream) { WriteStringAndNewLine(stream, QStringLiteral("</Workbook>")); }

QString CTExcelXML2003::SheetName(const QString& szSheetName) {
  if (szSheetName.isEmpty()) return QStringLiteral("Sheet1");
  QString name = szSheetName.size() >= 32 ? szSheetName.left(31) : szSheetName;
  static const QRegularExpression kForbidden(QStringLiteral("[*/:?\\[\\\\\\]]"));
  name.replace(kForbidden, QStringLiteral("_"));
  return name;
}

void CTExcelXML2003::StartWorksheet(QIODevice& stream, int nNbColumns, int nNbRows, const QString& szSheetName) {
  WriteStringAndNewLine(stream, Quoted("<Worksheet ss:Name=\"", XMLSafeString(SheetName(szSheetName)), "\">"));
  WriteStringAndNewLine(stream, QStringLiteral("<Table ss:ExpandedColumnCount=\"%1\" ss:ExpandedRowCount=\"%2\" "
                                               "x:FullColumns=\"1\" x:FullRows=\"1\">")
                                    .arg(nNbColumns)
                                    .arg(nNbRows));
}

void CTExcelXML2003::EndWorksheet(QIODevice& stream) {
  WriteStringAndNewLine(stream, QStringLiteral("</Table>"));
  WriteStringAndNewLine(stream, QStringLiteral("</Worksheet>"));
}

// ---------------------------------------------------------------- tables

QString LTColorEntry::RGBString() const {
  const TColor rgb = DrawColors::Resolve(v_color);
  return QStringLiteral("#%1%2%3")
      .arg(DrawColors::Red(rgb), 2, 16, QLatin1Char('0'))
      .arg(DrawColors::Green(rgb), 2, 16, QLatin1Char('0'))
      .arg(DrawColors::Blue(rgb), 2, 16, QLatin1Char('0'))
      .toUpper();
}

void CTDocTableToXML::GatherColorEntries(const CTDocTable& table, QList<LTColorEntry>& entries, QStringList& styles) {
  if (styles.isEmpty())
    styles << QStringLiteral(
        "<Style ss:ID=\"cs0\"><Borders><Border ss:Position=\"Left\" ss:LineStyle=\"Continuous\"/>"
        "<Border ss:Position=\"Right\" ss:LineStyle=\"Continuous\"/><Border ss:Position=\"Top\" "
        "ss:LineStyle=\"Continuous\"/><Border ss:Position=\"Bottom\" ss:LineStyle=\"Continuous\"/></Borders></Style>");
  for (int r = 0; r < table.NbRows(); ++r)
    for (int c = 0; c < table.NbColumns(); ++c) {
      const TColor color = table.GetBgColor(c, r);
      if (color == DrawColors::kWhite || color == DrawColors::kWindowText) continue;
      if (std::any_of(entries.begin(), entries.end(), [color](const LTColorEntry& e) { return e.v_color == color; }))
        continue;
      entries.append(LTColorEntry{color});
      const QString n = QString::number(entries.size());
      const QString rgb = entries.last().RGBString();
      styles << QStringLiteral("<Style ss:ID=\"cs%1\" ss:Parent=\"cs0\"><Interior ss:Color=\"%2\" ss:Pattern=\"Solid\"/></Style>")
                    .arg(n, rgb)
             << QStringLiteral("<Style ss:ID=\"csp%1\" ss:Parent=\"cs0\"><Interior ss:Color=\"%2\" ss:Pattern=\"Solid\"/>"
                               "<NumberFormat ss:Format=\"0%\"/></Style>")
                    .arg(n, rgb);
    }
}

bool CTDocTableToXML::IsNumberText(const QString& szText, double& nValue) {
  static const QRegularExpression kNumber(QStringLiteral("^[+-]?(\\d+(\\.\\d*)?|\\.\\d+)([eE][+-]?\\d+)?$"));
  const QString text = szText.trimmed();
  if (!kNumber.match(text).hasMatch()) return false;
  bool ok = false;
  nValue = text.toDouble(&ok);  // QString::toDouble is locale-independent
  return ok && std::isfinite(nValue);
}

void CTDocTableToXML::ExportDocTableAsWorksheet(QIODevice& stream, CTDocTable& table, const QString& szSheetName,
                                                const QList<LTColorEntry>* pColorEntries) {
  CTExcelXML2003::StartWorksheet(stream, table.NbColumns(), table.NbRows(), szSheetName);
  for (int c = 0; c < table.NbColumns(); ++c) {
    const long points = std::lround(table.GetColumnWidth(c) * 72.0 / kDocumentDpi);
    CTExcelXML2003::WriteStringAndNewLine(stream, QStringLiteral("<Column ss:Width=\"%1\"/>").arg(points));
  }
  for (int r = 0; r < table.NbRows(); ++r) {
    CTExcelXML2003::WriteStringAndNewLine(stream, QStringLiteral("<Row>"));
    for (int c = 0; c < table.NbColumns(); ++c) {
      const QString text = table.GetText(c, r);
      QString value = CTExcelXML2003::XMLSafeString(text);
      bool number = false, percent = false;
      QString formula;
      if (table.GetHorAlign(c, r) == DocHorAlign::kRight) {
        double x = 0;
        if (const QString f = table.GetFormula(c, r); !f.isEmpty()) {
          formula = QStringLiteral(" ss:Formula=\"%1\"").arg(CTExcelXML2003::XMLSafeString(f));
          number = true;
          percent = text == QLatin1String("%");
          value.clear();
        } else if (IsNumberText(text, x)) {
          number = true;
        } else {
          QString rest = text;
          rest.remove(rest.indexOf(QLatin1Char('%')), rest.contains(QLatin1Char('%')) ? 1 : 0);
          if (text.contains(QLatin1Char('%')) && IsNumberText(rest, x)) {
            // A percentage is the fraction, shown through the percent format.
            number = percent = true;
            value = QString::number(x / 100, 'g', 15);
          }
        }
      }
      QString style = percent ? QStringLiteral(" ss:StyleID=\"Percent\"") : QString();
      if (pColorEntries) {
        const TColor color = table.GetBgColor(c, r);
        for (int n = 0; n < pColorEntries->size(); ++n)
          if ((*pColorEntries)[n].v_color == color)
            style = QStringLiteral(" ss:StyleID=\"%1%2\"").arg(percent ? "csp" : "cs").arg(n + 1);
      }
      CTExcelXML2003::WriteStringAndNewLine(stream, QStringLiteral("<Cell%1%2><Data ss:Type=\"%3\">%4</Data></Cell>")
                                                        .arg(formula, style, number ? "Number" : "String", value));
    }
    CTExcelXML2003::WriteStringAndNewLine(stream, QStringLiteral("</Row>"));
  }
  CTExcelXML2003::EndWorksheet(stream);
}

void CTDocTableToXML::ExportDocTableAsWorkbook(QIODevice& stream, CTDocTable& table) {
  QList<LTColorEntry> entries;
  QStringList styles;
  GatherColorEntries(table, entries, styles);
  CTExcelXML2003::GlobalStart(stream, &styles);
  ExportDocTableAsWorksheet(stream, table, QString(), &entries);
  CTExcelXML2003::GlobalEnd(stream);
}
