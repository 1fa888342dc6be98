#include "catalogue/ClTrivanePSAllowed.h"

Cls_TrivanePSAllowed::Cls_TrivanePSAllowed(int nObjID, CTBaseFactory* pFactory)
    : Cls_DevPSAllowed(kClassID, nObjID, pFactory) {}

void Cls_TrivanePSAllowed::Initialize(CTTableInfo* pTblInfo, const QString& szIDFieldName) {
  const QString idName = szIDFieldName.isEmpty() ? QStringLiteral("Fld_ID") : szIDFieldName;
  Cls_DevPSAllowed::Initialize(pTblInfo, idName);
}
