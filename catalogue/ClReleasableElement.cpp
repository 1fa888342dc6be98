#include "catalogue/ClReleasableElement.h"

#include "catalogue/RecordCast.h"

Cls_ReleasableElement::Cls_ReleasableElement(int nClsID, int nObjID, CTBaseFactory* pFactory)
    : CTDbObject(nClsID, nObjID, pFactory) {}

void Cls_ReleasableElement::Initialize(CTTableInfo* pTblInfo, const QString& szIDFieldName) {
  const QString idName = szIDFieldName.isEmpty() ? QStringLiteral("Fld_ID") : szIDFieldName;
  CTDbObject::Initialize(pTblInfo, idName);
  pTblInfo->AddFieldInfo(Fld_ReleaseStatus, CTFieldInfo::CreateInteger(QStringLiteral("Fld_ReleaseStatus")));
  pTblInfo->AddFieldInfo(Fld_ReleasableElement_CLS_REF,
                         CTFieldInfo::CreateInteger(QStringLiteral("Fld_ReleasableElement_CLS_REF")));
  pTblInfo->AddFieldInfo(Fld_ReleasableElement_OBJ_REF,
                         CTFieldInfo::CreateInteger(QStringLiteral("Fld_ReleasableElement_OBJ_REF")));
}

std::unique_ptr<Cls_ReleasableElement> Cls_ReleasableElement::GetReleasableElement() {
  return RecordAs<Cls_ReleasableElement>(GetRelationByIx(Fld_ReleasableElement_CLS_REF));
}

ObjectList<Cls_ReleasableElement> Cls_ReleasableElement::GetAllReleasableElement() {
  return RecordsAs<Cls_ReleasableElement>(
      GetRelatedByIx(Cls_ReleasableElement::kClassID, Cls_ReleasableElement::Fld_ReleasableElement_CLS_REF));
}
