#include "catalogue/ClMessageTable.h"

#include "catalogue/ClMsgCombination.h"
#include "catalogue/RecordCast.h"
#include "catalogue/RemoveQuietly.h"

Cls_MessageTable::Cls_MessageTable(int nObjID, CTBaseFactory* pFactory) : CTDbObject(kClassID, nObjID, pFactory) {}

void Cls_MessageTable::Initialize(CTTableInfo* pTblInfo, const QString& szIDFieldName) {
  const QString idName = szIDFieldName.isEmpty() ? QStringLiteral("Fld_ID") : szIDFieldName;
  CTDbObject::Initialize(pTblInfo, idName);
  pTblInfo->AddFieldInfo(Fld_Message, CTFieldInfo::CreateUnicodeString(QStringLiteral("Fld_Message"), QString(), true));
}

ObjectList<Cls_MsgCombination> Cls_MessageTable::GetAllMsgCombination() {
  return RecordsAs<Cls_MsgCombination>(
      GetRelatedByIx(Cls_MsgCombination::kClassID, Cls_MsgCombination::Fld_MessageTable_CLS_REF));
}

void Cls_MessageTable::Remove() {
  if (IsStored()) RemoveEachQuietly(GetAllMsgCombination());
  CTDbObject::Remove();
}
