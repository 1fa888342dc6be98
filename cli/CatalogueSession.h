#pragma once
// The embedded catalogue opened for a command: connected read-only, made the
// default record factory, with its units read and sorted as the window sorts
// them (smallest maximum airflow first).

#include "catalogue/ClHRX.h"
#include "catalogue/Factory.h"
#include "recdb/ObjList.h"

#include <QString>

#include <memory>

class CTCatalogueSession {
 public:
  CTCatalogueSession();
  ~CTCatalogueSession();
  CTCatalogueSession(const CTCatalogueSession&) = delete;
  CTCatalogueSession& operator=(const CTCatalogueSession&) = delete;

  // False with a reason when the catalogue does not load.
  bool Open(QString& szError);
  CTFactory& Factory() { return *v_factory; }
  // Every unit not marked deleted, smallest maximum airflow first (owned).
  const ObjectList<Cls_HRX>& Units() const { return v_units; }

  // The family names (each once) and the units of one family, not owned.
  QList<Cls_HRX::LTFamilyItem> Families() const;
  ObjectList<Cls_HRX> UnitsOfFamily(const QString& szName) const;

 private:
  std::unique_ptr<CTFactory> v_factory;
  ObjectList<Cls_HRX> v_units{true};
};
