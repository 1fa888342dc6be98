#pragma once
// The embedded demonstration catalogue, loaded once per test suite as the
// program loads it (compressed, read-only, auto-correct off) and made the
// default record factory for each test.

#include "catalogue/ClHRX.h"
#include "catalogue/Factory.h"
#include "catalogue/RecordCast.h"
#include "recdb/MemDB.h"
#include "recdb/RecordingPresenter.h"
#include "resources/EmbeddedData.h"

#include <gtest/gtest.h>

#include <memory>

class DemoCatalogueTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    EmbeddedData::Ensure();
    CTResDbEngine::RegisterEngine();
    CTMemDbEngine::UseCompression(true);
    CTMemDbEngine::SetCompressionSignature(QStringLiteral("K7R"));
    CTMemDbEngine::SetAutoCorrect(false);
    s_factory = new CTFactory();
    s_factory->SetRequiredEngineType(0, CTResDbEngine::ClassName());
    s_factory->SetReadOnly(0, true);
    ASSERT_TRUE(s_factory->Connect());
  }
  static void TearDownTestSuite() {
    delete s_factory;
    s_factory = nullptr;
    CTMemDbEngine::UseCompression(false);
    CTMemDbEngine::SetCompressionSignature(QString());
  }
  void SetUp() override {
    TBaseMsg::SetPresenter(&v_messages);
    CTDbObject::SetDefaultFactory(s_factory);
  }
  void TearDown() override {
    CTDbObject::SetDefaultFactory(nullptr);
    TBaseMsg::SetPresenter(nullptr);
  }

  static CTFactory& Factory() { return *s_factory; }
  // Fresh records of the catalogue's units (their caches start empty).
  static ObjectList<Cls_HRX> AllUnits() {
    return RecordsAs<Cls_HRX>(CTDbObject::GetAllRecords(Cls_HRX::kClassID, false, s_factory));
  }
  static std::unique_ptr<Cls_HRX> Unit(const QString& szName) {
    ObjectList<Cls_HRX> units = AllUnits();
    for (int i = 0; i < units.Count(); ++i)
      if (units.Item(i)->GetName() == szName) return std::unique_ptr<Cls_HRX>(units.Extract(i));
    return nullptr;
  }

  RecordingPresenter v_messages;

 private:
  static inline CTFactory* s_factory = nullptr;
};
