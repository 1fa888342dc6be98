#include "online/ReleaseKeys.h"

namespace {

// One entry per accepted key: its holder, since when, and its 32 public
// bytes in hex (aerolith-release public-key prints such an entry from the
// private key file).
//
// The one entry so far is a stand-in made when signing began: its private
// key was not kept, so nothing it would sign exists. The maker's release key
// takes its place before the first signed release.
struct LTKeyEntry {
  const char* szLabel;
  const char* szPublicHex;
};
constexpr LTKeyEntry kReleaseKeys[] = {
    {"stand-in, private key discarded (2026), id cc279aa3af321c4f",
     "7f0446498331cfc105fbb82859bd5391675e028674c8a91ab44d6adafdab4abb"},
};
static_assert(sizeof(kReleaseKeys) / sizeof(kReleaseKeys[0]) >= 1, "a build accepts at least one release key");

}  // namespace

std::vector<LTReleaseKey> CTReleaseKeys::Accepted() {
  std::vector<LTReleaseKey> keys;
  for (const LTKeyEntry& entry : kReleaseKeys)
    keys.push_back({QString::fromLatin1(entry.szLabel), QByteArray::fromHex(entry.szPublicHex)});
  LTAdded& added = AddedForTests();
  const QMutexLocker lock(&added.mutex);
  keys.insert(keys.end(), added.keys.begin(), added.keys.end());
  return keys;
}

CTReleaseKeys::LTAdded& CTReleaseKeys::AddedForTests() {
  static LTAdded added;
  return added;
}
