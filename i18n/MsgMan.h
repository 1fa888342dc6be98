#pragma once
// The application's message table, numbers 0 to 120 (120 onwards are our own).

#include <QString>

class TDlgForm {
 public:
  static constexpr int kFirstMsgNr = 0;
  static int Count();
  // The untranslated text of entry nMsgNr; empty outside the table.
  static QString MessageString(int nMsgNr);
  // Registers the table with the message service; later calls do nothing.
  static void Load();
};
