#pragma once
// A connected, empty catalogue in memory, made the default factory for one test.

#include "catalogue/Factory.h"
#include "recdb/MemDB.h"
#include "recdb/RecordingPresenter.h"

#include <gtest/gtest.h>

class CatalogueTest : public testing::Test {
 protected:
  void SetUp() override {
    CTMemDbEngine::RegisterEngine();
    TBaseMsg::SetPresenter(&v_messages);
    v_factory.SetRequiredEngineType(0, CTMemDbEngine::ClassName());
    ASSERT_TRUE(v_factory.Connect());
    CTDbObject::SetDefaultFactory(&v_factory);
  }
  void TearDown() override {
    CTDbObject::SetDefaultFactory(nullptr);
    CTBaseFactory::UnregisterEngine(CTMemDbEngine::ClassName());
    TBaseMsg::SetPresenter(nullptr);
  }

  RecordingPresenter v_messages;
  CTFactory v_factory;
};
