#pragma once
// CTReleaseKeys: the public keys whose signature makes a release trusted,
// compiled into the program and the updater (ReleaseKeys.cpp). Nothing a
// user, a server or the environment holds adds a key: a key comes and goes
// with a build.
//
// Rotating a key: ship a build that accepts both the old and the new key,
// sign the releases after it with the new one, and drop the old key from
// the list in a later build (a lost key is dropped at once, and its
// releases re-signed with the new key).
//
// Tests sign their releases with a key pair made at run time; they add its
// public key through CTReleaseKeysForTests, which only the test support
// library defines and which no shipped program links (tests/support).

#include "online/ReleaseManifest.h"

#include <QMutex>

#include <vector>

class CTReleaseKeys {
 public:
  // The keys this build accepts, the compiled-in list first.
  static std::vector<LTReleaseKey> Accepted();

 private:
  friend class CTReleaseKeysForTests;
  // Empty in every program; the tests' support fills it.
  struct LTAdded {
    QMutex mutex;
    std::vector<LTReleaseKey> keys;
  };
  static LTAdded& AddedForTests();
};
