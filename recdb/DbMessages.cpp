#include "recdb/DbMessages.h"

#include "i18n/BaseMsgMan.h"

#include <iterator>

namespace {

const char* const kTexts[] = {
    /* 5000 */ "Verifying databases. Please wait...",
    /* 5001 */ "Undelete a definition",
    /* 5002 */ "Database error in '$1', code = $2.",
    /* 5003 */ "Database '$1' is in use.",
    /* 5004 */ "Invalid database structure in '$1'.",
    /* 5005 */ "Alias missing for database '$1'.",
    /* 5006 */ "ODBC entry missing for database '$1'.",
    /* 5007 */ "'$1' is not an ODBC database.",
    /* 5008 */ "Permission denied for database '$1'.",
    /* 5009 */ "Database '$1' is read only.",
    /* 5010 */ "Unknown error opening database '$1'.",
    /* 5011 */ "Range check error: '$1'.",
    /* 5012 */ "Value required for '$1'.",
    /* 5013 */ "Value for '$1' must be unique.",
    /* 5014 */ "Incorrect version of database '$1'.",
    /* 5015 */ "Invalid login name or password",
    /* 5016 */ "Select the definition you want to undelete.",
    /* 5017 */ "Are you sure you want to delete '$1'?",
    /* 5018 */ "SQL server: Error inserting record",
    /* 5019 */ "SQL server: Error updating record",
    /* 5020 */ "SQL server: Error deleting record",
    /* 5021 */ "SQL server: Error executing select statement",
};
static_assert(std::size(kTexts) == CTDbMessages::kLast - CTDbMessages::kFirst + 1);

}  // namespace

QString CTDbMessages::Text(int nMsgNr) {
  if (nMsgNr < kFirst || nMsgNr > kLast) return {};
  return QString::fromUtf8(kTexts[nMsgNr - kFirst]);
}

void CTDbMessages::Load() {
  static const bool bRegistered = TBaseMsg::AddObtainStringFunc(&CTDbMessages::Text, kFirst, kLast);
  (void)bRegistered;
}
