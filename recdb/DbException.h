#pragma once
// The record database's exception: a code and the message built from it.

#include <QString>

#include <stdexcept>

enum CTDbExceptionCode : int {
  excRecNotFound = 0,
  excRecNotInDB = 1,
  excRecAlreadyInDB = 2,
  excRelRequired = 3,
  excOneToOne = 4,
  excDbStructure = 5,
  excTypeError = 6,
  excBinUpdFailed = 7,
  excCapable = 8,
  excNotCapable = 9,
  excIsAbstract = 10,
  excNoEngines = 11,
  excReadOnly = 12,
  excIDUsed = 13,
};

class CTDbException : public std::runtime_error {
 public:
  CTDbException(int nCode, const QString& szExtra = QString());

  int Code() const { return v_code; }
  QString Message() const { return v_message; }

  // "CTDbException: " followed by the code's text, with szExtra where the
  // text names a table, a capability or an id.
  static QString MessageFor(int nCode, const QString& szExtra);
  [[noreturn]] static void RaiseExc(int nCode, const QString& szExtra = QString());

 private:
  int v_code;
  QString v_message;
};

// State errors of the factory ("Database already connected", "Database not connected").
class LTBseFactExc : public std::runtime_error {
 public:
  explicit LTBseFactExc(const QString& szMessage) : std::runtime_error(szMessage.toStdString()), v_message(szMessage) {}
  QString Message() const { return v_message; }

 private:
  QString v_message;
};
