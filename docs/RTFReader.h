#pragma once
// Reads Rich Text Format into a QTextDocument for the rich-text views
// (general terms, a unit's note, release notes): paragraphs and their
// alignment, bold, italic, underline, colours, font sizes, tabs and line
// breaks, "\'hh" (Windows-1252) and "\uN". Destinations it does not show
// (font and style tables, pictures, fields' instructions, "\*" groups) are
// skipped. The input may come from a server: it is treated as untrusted,
// every loop is bounded by the input and nesting is limited.

#include <QByteArray>
#include <QString>

class QTextDocument;

class CTRTFReader {
 public:
  // Fills doc (cleared first). False, with the reason, when the bytes are
  // not RTF; a document that ends early keeps what was read.
  static bool Read(const QByteArray& rtf, QTextDocument& doc, QString* pError = nullptr);
  // The plain text of an RTF document, paragraphs separated by "\n".
  static QString PlainText(const QByteArray& rtf);
  // A text that may be rich or plain (the release notes of the server):
  // bytes that begin "{\rtf" through Read, any others as plain ISO 8859-1
  // text, never as markup. False, with doc as it was, for no text or rich
  // text that does not read.
  static bool ReadRichOrPlain(const QByteArray& text, QTextDocument& doc);
};
