#pragma once
// The embedded demonstration catalogue, opened once per test suite through
// the program's catalogue session (compressed, read-only) with auto-correct
// off, so that a row the engine would mend shows as a failure; its factory is
// made the default record factory for each test. The engine settings are
// process-wide: the suite puts them back when it ends.

#include "catalogue/ClHRX.h"
#include "catalogue/Factory.h"
#include "catalogue/RecordCast.h"
#include "recdb/ElemDbObject.h"
#include "recdb/MemDB.h"
#include "recdb/RecordingPresenter.h"
#include "selection/CatalogueSession.h"

#include <gtest/gtest.h>

#include <memory>

class DemoCatalogueTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_rowMapCapacity = CTElemDbObjectMap::GetTableSize();
    s_session = std::make_unique<CTCatalogueSession>();
    QString error;
    ASSERT_TRUE(s_session->OpenEmbedded(CTCatalogueSession::AutoCorrect::kOff, error)) << error.toStdString();
  }
  static void TearDownTestSuite() {
    s_session.reset();
    CTMemDbEngine::UseCompression(false);
    CTMemDbEngine::SetCompressionSignature(QString());
    CTMemDbEngine::SetAutoCorrect(false);
    CTElemDbObjectMap::SetTableSize(s_rowMapCapacity);
  }
  void SetUp() override {
    TBaseMsg::SetPresenter(&v_messages);
    CTDbObject::SetDefaultFactory(&Factory());
  }
  void TearDown() override {
    CTDbObject::SetDefaultFactory(nullptr);
    TBaseMsg::SetPresenter(nullptr);
  }

  static CTFactory& Factory() { return s_session->Factory(); }
  static const CTCatalogueSession& Session() { return *s_session; }
  // Fresh records of the catalogue's units (their caches start empty), not
  // the session's own, which earlier tests may have filled.
  static ObjectList<Cls_HRX> AllUnits() {
    return RecordsAs<Cls_HRX>(CTDbObject::GetAllRecords(Cls_HRX::kClassID, false, &Factory()));
  }
  static std::unique_ptr<Cls_HRX> Unit(const QString& szName) {
    ObjectList<Cls_HRX> units = AllUnits();
    for (int i = 0; i < units.Count(); ++i)
      if (units.Item(i)->GetName() == szName) return std::unique_ptr<Cls_HRX>(units.Extract(i));
    return nullptr;
  }

  RecordingPresenter v_messages;

 private:
  static inline std::unique_ptr<CTCatalogueSession> s_session;
  static inline int s_rowMapCapacity = 0;
};
