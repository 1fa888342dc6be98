// Compiled into aerolith-updater-for-tests only: the updater's own source
// that also accepts the one key the test names in AEROLITH_TEST_RELEASE_KEY
// (64 hex digits), so that the tests' throwaway releases install through
// the real updater. No shipped program reads that variable.

#include "support/ReleaseKeysForTests.h"

namespace {

[[maybe_unused]] const bool kTestKeyTaken = [] {
  const QByteArray key = QByteArray::fromHex(qgetenv(CTTestReleaseKey::kEnvironment));
  if (key.size() == CTReleaseManifest::kPublicKeyBytes) CTReleaseKeysForTests::Add({QStringLiteral("test key"), key});
  return true;
}();

}  // namespace
