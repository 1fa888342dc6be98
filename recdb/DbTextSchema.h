#pragma once
// A factory whose schema is read from a database text itself: tables and
// columns from the structure section, parents, defaults and links from the
// extended structure section. Lets tools check and inspect any database
// written by the in-memory engine without the program's own schema.
// The header, structure and data are read through CTDbTextReader, as the
// engine reads them, so a text is refused for the same faults with the same
// words; only the extended structure, which the engine writes but never
// reads, is read here.

#include "recdb/BaseFactory.h"

#include <QByteArray>
#include <QString>

#include <memory>

class CTDbTextSchema {
 public:
  // A resolved factory named and versioned after the header; none, with the
  // reason in szError, when the text cannot be read that far.
  static std::unique_ptr<CTBaseFactory> BuildFactory(const QByteArray& arPlainText, QString& szError);
  // The plain text of a database file's bytes: expanded when they start with
  // szSignature, else as they are. False when the expansion is incomplete.
  static bool PlainText(const QByteArray& arFileBytes, const QString& szSignature, QByteArray& arPlain);
};
