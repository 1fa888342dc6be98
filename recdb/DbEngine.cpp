#include "recdb/DbEngine.h"

#include "i18n/BaseMsgMan.h"
#include "i18n/UnicodeGlossary.h"
#include "recdb/BaseFactory.h"

#include <QDate>
#include <QDir>
#include <QSaveFile>

#include <cmath>

CTDbEngine::CTDbEngine(CTBaseFactory* pFactory, const QString& szLogicalName, const QString& szDatabaseName,
                       bool bReadOnly)
    : v_factory(pFactory), v_logicalName(szLogicalName), v_databaseName(szDatabaseName), v_readOnly(bReadOnly) {}

bool CTDbEngine::WriteToStream(QIODevice*) {
  CTDbException::RaiseExc(excCapable, CapabilityString(dbcLiveData));
}

bool CTDbEngine::CanUndo(int&) {
  if (!HasCapability(dbcUndo)) CTDbException::RaiseExc(excNotCapable, CapabilityString(dbcUndo));
  return false;
}
bool CTDbEngine::CanRedo(int&) {
  if (!HasCapability(dbcRedo)) CTDbException::RaiseExc(excNotCapable, CapabilityString(dbcRedo));
  return false;
}
int CTDbEngine::Undo() {
  if (!HasCapability(dbcUndo)) CTDbException::RaiseExc(excNotCapable, CapabilityString(dbcUndo));
  return 0;
}
int CTDbEngine::Redo() {
  if (!HasCapability(dbcRedo)) CTDbException::RaiseExc(excNotCapable, CapabilityString(dbcRedo));
  return 0;
}

std::unique_ptr<CTDbObject> CTDbEngine::GetSingleReferrer(CTDbObject* pObj, int nClsID, int nFieldIx) {
  bool bUnsorted = false;
  ObjectList<CTDbObject> found = GetReferringRecords(pObj, nClsID, bUnsorted, true, {}, {}, nFieldIx);
  if (found.Count() != 1) return nullptr;
  return std::unique_ptr<CTDbObject>(found.Extract(0));
}

int CTDbEngine::GetMaxOrderNumber(CTDbObject* pObj, int nClsID, int nFieldIx) {
  if (!pObj->IsStored()) CTDbException::RaiseExc(excRecNotInDB);
  const CTTableInfo* detail = v_factory->GetTableInfo(nClsID);
  const CTFieldInfo* order = detail ? detail->GetFieldInfo(nFieldIx + 2) : nullptr;
  QStringList sortKeys;
  if (order) sortKeys << order->GetName();
  bool bUnsorted = false;
  ObjectList<CTDbObject> referrers = GetReferringRecords(pObj, nClsID, bUnsorted, false, {}, sortKeys, nFieldIx);
  if (referrers.IsEmpty() || !order) return -1;
  if (bUnsorted || !HasCapability(dbcSort)) CTDbObject::SortByFields(referrers, sortKeys);
  return referrers.Last()->GetIntegerValue(nFieldIx + 2);
}

ObjectList<CTDbObject> CTDbEngine::SelectRecordsByExample(CTDbObject*, const QStringList&,
                                                          const CTDbObjectProgressIndicator&, bool&) {
  CTDbException::RaiseExc(excNotCapable, CapabilityString(dbcSelectByExample));
}

ObjectList<CTDbObject> CTDbEngine::SelectRecordsLikeExample(CTDbObject*, int, const CTDbObjectProgressIndicator&,
                                                            bool&, const QStringList&) {
  CTDbException::RaiseExc(excNotCapable, CapabilityString(dbcSelectLikeExample));
}

int CTDbEngine::CountRecordsByExample(CTDbObject* pExample) {
  bool bUnsorted = false;
  return SelectRecordsByExample(pExample, {}, {}, bUnsorted).Count();
}

void CTDbEngine::RemoveRecordsByExample(CTDbObject*) {
  CTDbException::RaiseExc(excNotCapable, CapabilityString(dbcRemoveByExample));
}

std::vector<CTTableInfo*> CTDbEngine::BoundTables() const {
  std::vector<CTTableInfo*> tables;
  for (CTTableInfo* table : v_factory->Tables())
    if (table && !table->IsAbstract() && table->GetDbEngine() == this) tables.push_back(table);
  return tables;
}

void CTDbEngine::DisconnectEngine() {
  v_connected = false;
  for (CTTableInfo* table : v_factory->Tables())
    if (table && table->GetDbEngine() == this) table->CleanupCache();
}

QString CTDbEngine::CapabilityString(int nCap) {
  switch (nCap) {
    case dbcSelectByExample: return QStringLiteral("Select by example");
    case dbcSelectLikeExample: return QStringLiteral("Select like example");
    case dbcRemoveByExample: return QStringLiteral("Remove by example");
    case dbcInheritance: return QStringLiteral("Inheritance");
    case dbcUndo: return QStringLiteral("Undo");
    case dbcRedo: return QStringLiteral("Redo");
    case dbcSort: return QStringLiteral("Sort");
    case dbcLiveData: return QStringLiteral("Live data");
    case dbcInsertWithID: return QStringLiteral("Insert with ID");
    default: return QStringLiteral("*** Unknown CTDbEngine capability ***");
  }
}

bool CTDbEngine::EnableModifiedProc(bool b) {
  const bool bPrevious = v_modifiedProcEnabled;
  v_modifiedProcEnabled = v_modifiedProc ? b : false;
  return v_modifiedProc ? bPrevious : false;
}

void CTDbEngine::NotifyModified(bool b, int nClsID, int nObjID, const QString& szObjName, int nAppUpdCode) {
  if (!v_modifiedProcEnabled || !v_modifiedProc) return;
  try {
    v_modifiedProc(b, nClsID, nObjID, szObjName, nAppUpdCode);
  } catch (...) {
    // A notification target's failure is not the engine's.
  }
}

void CTDbEngine::AddMultilingualFields(CTUnicodeGlossary* pGlos) {
  if (!pGlos) return;
  for (CTTableInfo* table : BoundTables()) {
    std::vector<int> fields;
    for (int ix = 1; ix < table->FieldCount(); ++ix) {
      const CTFieldInfo* field = table->GetFieldInfo(ix);
      if (field && field->IsMultilingual() && field->GetType() == vtUnicodeString) fields.push_back(ix);
    }
    if (fields.empty()) continue;
    ObjectList<CTDbObject> records = AllObjects(table->GetTableIndex());
    for (const CTDbObject* record : records) {
      if (record->GetDeleted()) continue;
      for (int ix : fields) {
        QString text = record->GetUntranslatedStringValue(ix);
        while (text.endsWith(QLatin1Char(' '))) text.chop(1);
        if (!text.isEmpty()) pGlos->AddTermNoNonsense(text);
      }
    }
  }
}

// ---------------------------------------------------------------- XML export
//
// One file per table, one byte per character:
//
//   <root>
//   \t<row>
//   \t\t<ID type="xs:int">1</ID>
//   \t\t<Name type="xs:string">a&#60;b</Name>
//   \t</row>
//   </root>
//
// Lines end with CR LF; <root> only with a root element.

QString CTDbEngine::XMLTableFileName(const QString& szTableName, bool bWithRootElement) {
  return szTableName + (bWithRootElement ? QStringLiteral(".xml") : QStringLiteral(".partial"));
}

namespace {

QString DateTimeText(double nDays) {
  // Days since 1899-12-30; the fraction is the time of day.
  const double whole = std::floor(nDays);
  const QDate date = QDate(1899, 12, 30).addDays(static_cast<qint64>(whole));
  int seconds = static_cast<int>(std::llround((nDays - whole) * 86400.0));
  seconds = std::clamp(seconds, 0, 86399);
  return date.toString(QStringLiteral("yyyy-MM-dd")) +
         QStringLiteral("T%1:%2:%3")
             .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
             .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
             .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

}  // namespace

QByteArray CTDbEngine::XMLRecordText(const CTDbObject& pObj) {
  QByteArray out = "\t<row>\r\n";
  const CTValueList& values = pObj.Values();
  for (int ix = 0; ix < values.NumberOfValues(); ++ix) {
    const CTFieldInfo* field = pObj.Descriptors().Item(ix);
    QString tag, text;
    switch (field->GetType()) {
      case vtBoolean: tag = "xs:boolean"; text = values.GetBooleanValue(ix) ? "1" : "0"; break;
      case vtInteger: tag = "xs:int"; text = QString::number(values.GetIntegerValue(ix)); break;
      case vtDouble: tag = "xs:double"; text = TBaseMsg::FormatGeneral(values.GetDoubleValue(ix), 15); break;
      case vtCurrency:
        tag = "xs:double";
        text = TBaseMsg::FormatGeneral(double(values.GetCurrencyValue(ix)) / 10000.0, 15);
        break;
      case vtDateTime: tag = "xs:dateTime"; text = DateTimeText(values.GetTDateTimeValue(ix)); break;
      case vtBinary: tag = "xs:hexBinary"; text = QString::fromLatin1(values.GetBinaryBytes(ix).toHex().toUpper()); break;
      case vtGUID: tag = "xs:string"; text = CTValueList::GuidToString(values.GetTGUIDValue(ix)); break;
      case vtUnicodeString: tag = "xs:string"; text = CTDbObject::XMLSafeString(values.GetUnicodeStringValue(ix)); break;
      default: break;
    }
    const QString name = field->GetName();
    const QString line = QStringLiteral("\t\t<%1 type=\"%2\">%3</%1>\r\n").arg(name, tag, text);
    for (QChar c : line) out.append(static_cast<char>(c.unicode() & 0xFF));
  }
  out.append("\t</row>\r\n");
  return out;
}

bool CTDbEngine::SaveToXMLFile(const QString& szOutputDir, CTTableInfo* tInfo, bool bAddRootElement) {
  if (!tInfo) return false;
  const QString path = QDir(szOutputDir).filePath(XMLTableFileName(tInfo->TableName(), bAddRootElement));
  QSaveFile file(path);
  bool bOk = file.open(QIODevice::WriteOnly);
  QString error = file.errorString();
  if (bOk) {
    try {
      if (bAddRootElement) file.write("<root>\r\n");
      ObjectList<CTDbObject> records = AllObjects(tInfo->GetTableIndex());
      for (const CTDbObject* record : records) file.write(XMLRecordText(*record));
      if (bAddRootElement) file.write("</root>\r\n");
      bOk = file.commit();
      if (!bOk) error = file.errorString();
    } catch (const std::exception& e) {
      bOk = false;
      error = QString::fromLocal8Bit(e.what());
    }
  }
  if (!bOk && CTBaseFactory::FlagErrors())
    TBaseMsg::DisplayError(nullptr, QStringLiteral("%1: %2").arg(path, error));
  return bOk;
}

bool CTDbEngine::SaveToXMLFiles(const QString& szOutputDir) {
  bool bAll = true;
  for (CTTableInfo* table : BoundTables()) bAll = SaveToXMLFile(szOutputDir, table, true) && bAll;
  return bAll;
}
