#pragma once
// CTTableLink: an association between a master table (the referenced side,
// "from") and a detail table whose reference column ("to") points at master
// records. CTDbRelation: one referrer of a stored row, kept by the engine.

#include <QString>

class CTFieldInfo;
class CTTableInfo;

class CTTableLink {
 public:
  CTTableLink(CTTableInfo* pFromTable, int nAssociationID, const QString& szAssociationName,
              const QString& szFromRole, const QString& szToRole, int nToClsID, int nToFieldIx, bool bOneToOne,
              bool bRefIntegr, bool bCascDel, bool bIsOrdered)
      : v_associationID(nAssociationID),
        v_associationName(szAssociationName),
        v_fromRole(szFromRole),
        v_toRole(szToRole),
        v_toClsID(nToClsID),
        v_toFieldIx(nToFieldIx),
        v_oneToOne(bOneToOne),
        v_refIntegr(bRefIntegr),
        v_cascDel(bCascDel),
        v_isOrdered(bIsOrdered),
        v_fromTable(pFromTable) {}

  int GetAssociationID() const { return v_associationID; }
  QString GetAssociationName() const { return v_associationName; }
  QString GetFromRole() const { return v_fromRole; }
  QString GetToRole() const { return v_toRole; }
  CTTableInfo* GetFromTable() const { return v_fromTable; }
  CTTableInfo* GetToTable() const { return v_toTable; }
  CTFieldInfo* GetFromField() const { return v_fromField; }
  CTFieldInfo* GetToField() const { return v_toField; }

  int v_associationID;
  QString v_associationName;
  QString v_fromRole;
  QString v_toRole;
  int v_toClsID;        // detail table
  int v_toFieldIx;      // reference column of the detail table (class id; object id follows)
  bool v_oneToOne;      // at most one detail record per master record
  bool v_refIntegr;     // a non-empty reference must point at an existing record
  bool v_cascDel;       // removing the master removes its details
  bool v_isOrdered;     // details carry an order number at v_toFieldIx + 2
  CTTableInfo* v_fromTable;
  // Resolved by the factory.
  CTTableInfo* v_toTable = nullptr;
  CTFieldInfo* v_fromField = nullptr;
  CTFieldInfo* v_toField = nullptr;
};

class CTDbRelation {
 public:
  explicit CTDbRelation(CTTableLink* pModel) : v_model(pModel) {}
  CTTableLink* v_model;
  int v_refClsID = 0;
  int v_refObjID = 0;
};
