// The release manifest's reader over arbitrary bytes (a mirror may serve
// anything). Whatever reads as a signed manifest is exactly the text the
// writer makes of it, within every bound; its check with the fuzz key never
// believes a manifest the key did not sign.
//
// The seed corpus holds manifests signed with a key made once for it, whose
// private half was then thrown away: only its public key is here.

#include "online/ReleaseManifest.h"

#include <cstdint>
#include <cstdlib>

namespace {

const std::vector<LTReleaseKey>& FuzzKeys() {
  static const std::vector<LTReleaseKey> keys{
      {QStringLiteral("fuzz corpus key"),
       QByteArray::fromHex("3941537ae9b343b62a71630d40bb5d02f2b9b770b4ebb072ec5ea1fe0716dfda")}};
  return keys;
}

void Require(bool bHolds) {
  if (!bHolds) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray text(reinterpret_cast<const char*>(data), qsizetype(size));
  LTReleaseManifest manifest;
  const LTReleaseRefusal read = CTReleaseManifest::Read(text, manifest);
  if (read.Ok()) {
    Require(text.size() <= CTReleaseManifest::kMaxBytes);
    Require(!manifest.files.empty() && int(manifest.files.size()) <= CTReleaseManifest::kMaxFiles);
    for (size_t i = 0; i < manifest.files.size(); ++i) {
      const LTReleaseFile& file = manifest.files[i];
      Require(CTReleaseManifest::IsValidName(file.szName));
      Require(file.nSize >= 0 && file.nSize <= CTReleaseManifest::kMaxFileSize && file.arSha256.size() == 32);
      Require(i == 0 || manifest.files[i - 1].szName.toLatin1() < file.szName.toLatin1());
    }
    Require(manifest.nIssued < manifest.nExpires && manifest.nRelease >= 1);
    Require(manifest.nSignedBytes > 0 && manifest.nSignedBytes < text.size());
    // One text per manifest: nothing the writer would not write reads.
    Require(CTReleaseManifest::Text(manifest) == text);
    Require(CTReleaseManifest::SignedText(manifest) == text.left(manifest.nSignedBytes));
  } else {
    Require(read.problem == TReleaseProblem::kMalformed || read.problem == TReleaseProblem::kUnsigned);
  }

  LTReleaseManifest checked;
  const LTReleaseRefusal check =
      CTReleaseManifest::Check(text, {QStringLiteral("Aerolith.exe"), 730, 1800000000}, FuzzKeys(), checked);
  if (check.Ok() || check.problem == TReleaseProblem::kExpired || check.problem == TReleaseProblem::kRolledBack ||
      check.problem == TReleaseProblem::kOtherProgram) {
    // Past the signature: the key signed exactly these bytes.
    Require(read.Ok());
    Require(CTReleaseManifest::VerifySignature(FuzzKeys()[0].arPublic, text.left(checked.nSignedBytes),
                                               checked.arSignature));
  }
  if (read.Ok() && manifest.Find(CTReleaseManifest::ListName(manifest.szProgram)) == nullptr) std::abort();
  return 0;
}
