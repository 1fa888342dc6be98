#pragma once
// The process-wide settings of the record engine as a process starts with
// them. Fixtures reset them before and after each test, so that what one
// test sets cannot reach the next, whatever order the tests run in.

#include "recdb/DbObject.h"
#include "recdb/MemDB.h"

inline void ResetEngineSettings() {
  CTDbObject::SetDefaultFactory(nullptr);
  CTMemDbEngine::UseCompression(false);
  CTMemDbEngine::SetCompressionSignature(QString());
  CTMemDbEngine::SetAutoCorrect(false);
  CTMemDbEngine::SetMaxUndoDepth(5);  // the engine's own default
  CTMemDbEngine::SetWriteExtendedStructure(true);
}

#include "recdb/BaseFactory.h"
#include "recdb/RecordingPresenter.h"

#include <gtest/gtest.h>

// A test of the in-memory engine: the engine registered and its settings
// reset around each test, messages recorded.
class MemEngineTest : public testing::Test {
 protected:
  void SetUp() override {
    ResetEngineSettings();
    CTMemDbEngine::RegisterEngine();
    TBaseMsg::SetPresenter(&v_messages);
  }
  void TearDown() override {
    ResetEngineSettings();
    CTBaseFactory::UnregisterEngine(CTMemDbEngine::ClassName());
    TBaseMsg::SetPresenter(nullptr);
  }

  RecordingPresenter v_messages;
};
