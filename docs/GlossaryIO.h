#pragma once
// Glossary files. CTXMLGlossaryIO reads and writes a glossary through a
// stream or a file; CTExcelXMLGlossaryIO keeps it as a two-column worksheet
// of the XML Spreadsheet 2003 format, so that translators edit it in a
// spreadsheet program. The layout is described above the writer in
// GlossaryIO.cpp.

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QStringList>

#include "i18n/UnicodeGlossary.h"

class CTXMLGlossaryIO {
 public:
  // A glossary file larger than this is refused unread.
  static constexpr qint64 kMaxGlossaryBytes = qint64(64) * 1024 * 1024;

  virtual ~CTXMLGlossaryIO() = default;

  // Writes the glossary; with bSaveChangedDate the language cell carries the
  // glossary's language text (its change date) when it has one. Answers
  // whether every byte reached the stream.
  virtual bool SaveGlossary(QIODevice& stream, const CTUnicodeGlossary& glossary, bool bSaveChangedDate) const = 0;
  // Adds the file's entries to the glossary and sets its target language and
  // language text. Answers false for a malformed file; what was read before
  // the fault stays in the glossary.
  virtual bool LoadGlossary(const QByteArray& bytes, CTUnicodeGlossary& glossary) const = 0;
  // The rest of the stream, at most kMaxGlossaryBytes of it.
  bool LoadGlossary(QIODevice& stream, CTUnicodeGlossary& glossary) const;

  // Writes beside the file and renames at the end, so that a failed save
  // leaves the former file (or none) in place. Records the file name in the
  // glossary on success.
  bool SaveGlossaryToFile(const QString& szFileName, CTUnicodeGlossary& glossary, bool bSaveChangedDate) const;
  // Records the file name in the glossary when the file has been read.
  bool LoadGlossaryFromFile(const QString& szFileName, CTUnicodeGlossary& glossary) const;
};

class CTExcelXMLGlossaryIO : public CTXMLGlossaryIO {
 public:
  using CTXMLGlossaryIO::LoadGlossary;
  bool SaveGlossary(QIODevice& stream, const CTUnicodeGlossary& glossary, bool bSaveChangedDate) const override;
  bool LoadGlossary(const QByteArray& bytes, CTUnicodeGlossary& glossary) const override;

  // Document start with the given extra styles, then a worksheet start with
  // the default sheet name.
  static void WriteStart(QIODevice& stream, int nNbColumns, int nNbRows, const QStringList* pStyles);
  // Worksheet end, then document end.
  static void WriteEnd(QIODevice& stream);
};
