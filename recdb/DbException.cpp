#include "recdb/DbException.h"

QString CTDbException::MessageFor(int nCode, const QString& szExtra) {
  QString szText;
  switch (nCode) {
    case excRecNotFound: szText = QStringLiteral("Record not found"); break;
    case excRecNotInDB: szText = QStringLiteral("Record not stored in database"); break;
    case excRecAlreadyInDB: szText = QStringLiteral("The record is already inserted into the database"); break;
    case excRelRequired: szText = QStringLiteral("Related record required in table ") + szExtra; break;
    case excOneToOne: szText = QStringLiteral("1-to-1 relation with table ") + szExtra; break;
    case excDbStructure: szText = QStringLiteral("Error in database structure "); break;
    case excTypeError: szText = QStringLiteral("Invalid type conversion"); break;
    case excBinUpdFailed: szText = QStringLiteral("Update of binary field failed"); break;
    case excCapable: szText = QStringLiteral("Database has the capability '") + szExtra + QLatin1Char('\''); break;
    case excNotCapable:
      szText = QStringLiteral("Database does not have the capability '") + szExtra + QLatin1Char('\'');
      break;
    case excIsAbstract:
      szText = QStringLiteral("Cannot make instance of abstract table '") + szExtra + QLatin1Char('\'');
      break;
    case excNoEngines: szText = QStringLiteral("There are no registed CTDbEngine classes"); break;
    case excReadOnly: szText = QStringLiteral("Database table '") + szExtra + QStringLiteral("' is read-only"); break;
    case excIDUsed: szText = QStringLiteral("ID ") + szExtra + QStringLiteral(" is already used"); break;
    default: szText = QStringLiteral("Unknown exception code ") + QString::number(nCode); break;
  }
  return QStringLiteral("CTDbException: ") + szText;
}

CTDbException::CTDbException(int nCode, const QString& szExtra)
    : std::runtime_error(MessageFor(nCode, szExtra).toStdString()), v_code(nCode), v_message(MessageFor(nCode, szExtra)) {}

void CTDbException::RaiseExc(int nCode, const QString& szExtra) { throw CTDbException(nCode, szExtra); }
