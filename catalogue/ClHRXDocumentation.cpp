#include "catalogue/ClHRXDocumentation.h"

Cls_HRXDocumentation::Cls_HRXDocumentation(int nObjID, CTBaseFactory* pFactory)
    : Cls_DeviceDocumentation(kClassID, nObjID, pFactory) {}

void Cls_HRXDocumentation::Initialize(CTTableInfo* pTblInfo, const QString& szIDFieldName) {
  const QString idName = szIDFieldName.isEmpty() ? QStringLiteral("VDC_ID") : szIDFieldName;
  Cls_DeviceDocumentation::Initialize(pTblInfo, idName);
}

QString Cls_HRXDocumentation::WebLinkForHRXNote() { return QStringLiteral("https://www.norvane.example/ecodesign"); }
