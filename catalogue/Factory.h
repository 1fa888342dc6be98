#pragma once
// CTFactory: the schema of the device catalogue. It declares every catalogue
// table at its class id (concrete tables in database 0, "Device_Database";
// abstract ones nowhere, they only lend their columns to their children),
// the links between them, and the record class that answers each concrete
// table.

#include "recdb/BaseFactory.h"

#include <QString>

#include <memory>

class Cls_HRXSpType;
class THRXRatioCorr;

class CTFactory : public CTBaseFactory {
 public:
  static constexpr int kDeviceDatabase = 0;
  // A catalogue file is compressed behind this signature; every reader and
  // writer of one (the program, the catalogue build, the scaled catalogues,
  // aerolith-cli db) sets it on the engine before opening.
  static inline const QString kCompressionSignature = QStringLiteral("K7R");
  // Buckets of the engine's row maps while a catalogue is open: a prime above
  // the rows of a large table, so that a lookup stays near one probe.
  static constexpr int kRowMapCapacity = 5003;

  explicit CTFactory(const QString& szName = QStringLiteral("ROZ"), int nVerMul100 = 100, int nMinVerMul100 = 100);

  // An empty record of the concrete class of nClsID; none for an abstract
  // table or an id without a table.
  CTDbObject* CreateObject(int nClsID, int nObjID) override;

  // Connecting drops the catalogue-wide caches below, so that they are
  // read again from the catalogue now connected.
  bool Connect(bool bShowProgress = false) override;

  // Catalogue-wide data read on first use and kept while connected: the
  // ratio corrections and the speed types by weight (not to be freed).
  THRXRatioCorr& RatioCorrections();
  const ObjectList<Cls_HRXSpType>& OrderedHrxSpTypes();

  ~CTFactory() override;

 private:
  std::unique_ptr<THRXRatioCorr> v_ratioCorrections;
  std::unique_ptr<ObjectList<Cls_HRXSpType>> v_orderedSpeedTypes;
};
