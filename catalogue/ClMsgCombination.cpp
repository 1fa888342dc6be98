#include "catalogue/ClMsgCombination.h"

#include "catalogue/ClDevice.h"
#include "catalogue/ClMessageTable.h"
#include "catalogue/RecordCast.h"

Cls_MsgCombination::Cls_MsgCombination(int nObjID, CTBaseFactory* pFactory) : CTDbObject(kClassID, nObjID, pFactory) {}

void Cls_MsgCombination::Initialize(CTTableInfo* pTblInfo, const QString& szIDFieldName) {
  const QString idName = szIDFieldName.isEmpty() ? QStringLiteral("Fld_ID") : szIDFieldName;
  CTDbObject::Initialize(pTblInfo, idName);
  pTblInfo->AddFieldInfo(Fld_SeqNr, CTFieldInfo::CreateInteger(QStringLiteral("Fld_SeqNr")));
  pTblInfo->AddFieldInfo(Fld_Device_CLS_REF, CTFieldInfo::CreateInteger(QStringLiteral("Fld_Device_CLS_REF")));
  pTblInfo->AddFieldInfo(Fld_Device_OBJ_REF, CTFieldInfo::CreateInteger(QStringLiteral("Fld_Device_OBJ_REF")));
  pTblInfo->AddFieldInfo(Fld_MessageTable_CLS_REF,
                         CTFieldInfo::CreateInteger(QStringLiteral("Fld_MessageTable_CLS_REF")));
  pTblInfo->AddFieldInfo(Fld_MessageTable_OBJ_REF,
                         CTFieldInfo::CreateInteger(QStringLiteral("Fld_MessageTable_OBJ_REF")));
}

std::unique_ptr<Cls_Device> Cls_MsgCombination::GetDevice() {
  return RecordAs<Cls_Device>(GetRelationByIx(Fld_Device_CLS_REF));
}

std::unique_ptr<Cls_MessageTable> Cls_MsgCombination::GetMessageTable() {
  return RecordAs<Cls_MessageTable>(GetRelationByIx(Fld_MessageTable_CLS_REF));
}
