// The release manifest: its one text, its bounds, and the checks a release
// passes before anything of it is used. The signed fixture was made by
// another Ed25519 implementation (Python's cryptography package) with the
// key of RFC 8032's first test vector; only its public half is here.

#include "online/ReleaseManifest.h"
#include "support/ReleaseKeysForTests.h"
#include "tools/release/ReleaseSigner.h"

#include <QCryptographicHash>

#include <gtest/gtest.h>

namespace {

using Problem = TReleaseProblem;

// RFC 8032, 7.1, TEST 1.
const QByteArray kRfcPublic = QByteArray::fromHex("d75a980182b10ab7d54bfed3c964073a0ee172f3daa62325af021a68f707511a");
const QByteArray kRfcSignatureOfNothing = QByteArray::fromHex(
    "e5564300c360ac729086e2cc806e828a84877f1eb8e5d974d873e065224901555fb8821590a33bacc61e39701cf9b46bd25bf5f0595bbe246"
    "55141438e7a100b");

// Issued 2026-05-01T09:30:00Z (1777627800), expires 2026-10-28T09:30:00Z
// (1793179800); the build is the 3 bytes "abc", the list the 11 bytes
// "<version/>\n". Key id: the first 8 bytes of SHA-256 of kRfcPublic.
const QByteArray kSigned =
    "aerolith-release-manifest 1\n"
    "program Aerolith.exe\n"
    "release 7.3.0\n"
    "issued 2026-05-01T09:30:00Z\n"
    "expires 2026-10-28T09:30:00Z\n"
    "file 3 ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad files/builds/730/aerolith\n"
    "file 11 1560b4484b847afd18bdbdbef064f31f15da3249996fda9f2776fc4a77b16718 versions/Aerolith.exe.txt\n"
    "key 21fe31dfa154a261\n"
    "signature b5d9cc899146365711cd123c14ab2c0eba606d3cca6ed7124a28ecd3518ba13f8d97f9e742114773113fa6212ae80f020dc284"
    "97c76ca9809f2cb494df130900\n";
constexpr qint64 kIssued = 1777627800;
constexpr qint64 kExpires = 1793179800;

const std::vector<LTReleaseKey> kRfcKeys{{QStringLiteral("RFC 8032 test 1"), kRfcPublic}};

QByteArray Replaced(QByteArray text, const QByteArray& from, const QByteArray& to) {
  EXPECT_TRUE(text.contains(from)) << from.toStdString();
  return text.replace(from, to);
}

TEST(ReleaseManifest, VerifiesEd25519AsRfc8032Does) {
  struct Case {
    const char* name;
    QByteArray key, message, signature;
    bool valid;
  };
  QByteArray otherSignature = kRfcSignatureOfNothing;
  otherSignature[10] = char(otherSignature[10] ^ 0x01);
  QByteArray otherKey = kRfcPublic;
  otherKey[0] = char(otherKey[0] ^ 0x01);
  const Case cases[] = {
      {"the vector", kRfcPublic, "", kRfcSignatureOfNothing, true},
      {"one bit of the signature", kRfcPublic, "", otherSignature, false},
      {"another message", kRfcPublic, "x", kRfcSignatureOfNothing, false},
      {"another key", otherKey, "", kRfcSignatureOfNothing, false},
      {"a short key", kRfcPublic.left(31), "", kRfcSignatureOfNothing, false},
      {"a short signature", kRfcPublic, "", kRfcSignatureOfNothing.left(63), false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(CTReleaseManifest::VerifySignature(c.key, c.message, c.signature), c.valid) << c.name;
  EXPECT_EQ(CTReleaseManifest::KeyId(kRfcPublic).toHex(), "21fe31dfa154a261");
}

TEST(ReleaseManifest, ReadsAManifestSignedElsewhereAndWritesTheSameBytes) {
  LTReleaseManifest manifest;
  const LTReleaseRefusal refusal =
      CTReleaseManifest::Check(kSigned, {QStringLiteral("Aerolith.exe"), 720, kIssued + 1}, kRfcKeys, manifest);
  ASSERT_TRUE(refusal.Ok()) << int(refusal.problem) << " " << refusal.szDetail.toStdString();
  EXPECT_EQ(manifest.szProgram, QStringLiteral("Aerolith.exe"));
  EXPECT_EQ(manifest.nRelease, 730);
  EXPECT_EQ(manifest.nIssued, kIssued);
  EXPECT_EQ(manifest.nExpires, kExpires);
  ASSERT_EQ(manifest.files.size(), 2u);
  EXPECT_EQ(manifest.files[0].szName, QStringLiteral("files/builds/730/aerolith"));
  EXPECT_EQ(manifest.files[0].nSize, 3);
  EXPECT_EQ(manifest.files[1].nSize, 11);
  EXPECT_EQ(CTReleaseManifest::Text(manifest), kSigned);

  struct Case {
    const char* name;
    QString file;
    QByteArray bytes;
    Problem problem;
  };
  const Case files[] = {
      {"the build", "files/builds/730/aerolith", "abc", Problem::kNone},
      {"the list", "versions/Aerolith.exe.txt", "<version/>\n", Problem::kNone},
      {"one byte changed", "files/builds/730/aerolith", "abd", Problem::kFileDiffers},
      {"one byte more", "files/builds/730/aerolith", "abcd", Problem::kFileDiffers},
      {"letter case of the name", "files/builds/730/Aerolith", "abc", Problem::kNotInRelease},
      {"not in the release", "files/tools/updater", "abc", Problem::kNotInRelease},
  };
  for (const Case& c : files) {
    const LTReleaseRefusal file = CTReleaseManifest::CheckFile(manifest, c.file, c.bytes);
    EXPECT_EQ(file.problem, c.problem) << c.name;
    EXPECT_EQ(file.szFile, c.file) << c.name;
  }
}

TEST(ReleaseManifest, NothingItSaysIsBelievedBeforeItsSignature) {
  struct Case {
    const char* name;
    QByteArray text;
    std::vector<LTReleaseKey> keys;
    LTReleaseExpectation expected;
    Problem problem;
  };
  const LTReleaseExpectation fine{QStringLiteral("Aerolith.exe"), 730, kExpires - 1};
  const QByteArray changed = Replaced(kSigned, "file 3 ", "file 4 ");
  const std::vector<LTReleaseKey> otherKey{{QStringLiteral("other"), QByteArray(32, '\x07')}};
  const Case cases[] = {
      {"the last second", kSigned, kRfcKeys, fine, Problem::kNone},
      {"the same version again", kSigned, kRfcKeys, {QStringLiteral("aerolith.exe"), 730, kIssued}, Problem::kNone},
      {"no installed version", kSigned, kRfcKeys, {QString(), 0, kIssued}, Problem::kNone},
      {"no key accepted", kSigned, {}, fine, Problem::kUnknownKey},
      {"another key accepted", kSigned, otherKey, fine, Problem::kUnknownKey},
      {"a size changed", changed, kRfcKeys, fine, Problem::kBadSignature},
      {"a size changed, and expired", changed, kRfcKeys, {fine.szProgram, 730, kExpires}, Problem::kBadSignature},
      {"another program", kSigned, kRfcKeys, {QStringLiteral("Other.exe"), 730, kIssued}, Problem::kOtherProgram},
      {"at its expiry", kSigned, kRfcKeys, {fine.szProgram, 730, kExpires}, Problem::kExpired},
      {"expired and older", kSigned, kRfcKeys, {fine.szProgram, 731, kExpires + 1}, Problem::kExpired},
      {"older than installed", kSigned, kRfcKeys, {fine.szProgram, 731, kIssued}, Problem::kRolledBack},
      {"ends after its key", kSigned.left(kSigned.indexOf("signature ")), kRfcKeys, fine, Problem::kUnsigned},
      {"ends after its files", kSigned.left(kSigned.indexOf("key ")), kRfcKeys, fine, Problem::kUnsigned},
  };
  for (const Case& c : cases) {
    LTReleaseManifest manifest;
    const LTReleaseRefusal refusal = CTReleaseManifest::Check(c.text, c.expected, c.keys, manifest);
    EXPECT_EQ(refusal.problem, c.problem) << c.name;
    // What each refusal concerns, for its message.
    EXPECT_EQ(refusal.arKeyId.toHex(), c.problem == Problem::kUnknownKey ? "21fe31dfa154a261" : "") << c.name;
    EXPECT_EQ(refusal.szDetail, c.problem == Problem::kOtherProgram ? "Aerolith.exe" : "") << c.name;
    EXPECT_EQ(refusal.nExpires, c.problem == Problem::kExpired ? kExpires : 0) << c.name;
    EXPECT_EQ(std::pair(refusal.nRelease, refusal.nInstalled),
              c.problem == Problem::kRolledBack ? std::pair(730, 731) : std::pair(0, 0))
        << c.name;
  }
}

TEST(ReleaseManifest, RefusesEveryTextThatIsNotTheFormatNamingTheLine) {
  struct Case {
    const char* name;
    QByteArray text;
    int line;
  };
  QByteArray manyFiles = kSigned.left(kSigned.indexOf("file "));
  for (int i = 0; i < CTReleaseManifest::kMaxFiles + 1; ++i)
    manyFiles += "file 1 " + QByteArray(64, 'a') + " files/" + QByteArray::number(1000 + i) + '\n';
  const QByteArray line6 = kSigned.mid(kSigned.indexOf("file 3"), kSigned.indexOf("file 11") - kSigned.indexOf("file 3"));
  const QByteArray line7 = kSigned.mid(kSigned.indexOf("file 11"), kSigned.indexOf("key ") - kSigned.indexOf("file 11"));
  const QByteArray longName = "files/" + QByteArray(CTReleaseManifest::kMaxNameBytes - 6, 'a');  // 200 bytes
  const Case cases[] = {
      {"empty", "", 1},
      {"another format", Replaced(kSigned, "manifest 1\n", "manifest 2\n"), 1},
      {"a carriage return", Replaced(kSigned, "Aerolith.exe\n", "Aerolith.exe\r\n"), 2},
      {"a byte beyond ASCII", Replaced(kSigned, "program Aerolith", "program A\xc3\xa9rolith"), 2},
      {"a program in a folder", Replaced(kSigned, "program Aerolith.exe", "program x/Aerolith.exe"), 2},
      {"a hidden program", Replaced(kSigned, "program Aerolith.exe", "program .exe"), 2},
      {"a line of 400 bytes", Replaced(kSigned, "program Aerolith.exe", "program " + QByteArray(392, 'a')), 2},
      {"two blanks", Replaced(kSigned, "release 7.3.0", "release  7.3.0"), 3},
      {"a version of two parts", Replaced(kSigned, "release 7.3.0", "release 7.3"), 3},
      {"a leading zero", Replaced(kSigned, "release 7.3.0", "release 07.3.0"), 3},
      {"version 0.0.0", Replaced(kSigned, "release 7.3.0", "release 0.0.0"), 3},
      {"a two-digit minor", Replaced(kSigned, "release 7.3.0", "release 7.10.0"), 3},
      {"the 29th of February 2026", Replaced(kSigned, "issued 2026-05-01", "issued 2026-02-29"), 4},
      {"hour 24", Replaced(kSigned, "05-01T09:30", "05-01T24:00"), 4},
      {"before 2000", Replaced(kSigned, "issued 2026", "issued 1999"), 4},
      {"a lower-case z", Replaced(kSigned, "09:30:00Z\nexpires", "09:30:00z\nexpires"), 4},
      {"expires as it is issued", Replaced(kSigned, "expires 2026-10-28", "expires 2026-05-01"), 5},
      {"no file", kSigned.left(kSigned.indexOf("file ")) + kSigned.mid(kSigned.indexOf("key ")), 6},
      {"a size with a leading zero", Replaced(kSigned, "file 3 ", "file 03 "), 6},
      {"a size with a sign", Replaced(kSigned, "file 3 ", "file +3 "), 6},
      {"size 00", Replaced(kSigned, "file 3 ", "file 00 "), 6},
      {"size 2^32", Replaced(kSigned, "file 3 ", "file 4294967296 "), 6},
      {"a digest in capitals", Replaced(kSigned, "ba7816bf", "BA7816BF"), 6},
      {"a short digest", Replaced(kSigned, "ba7816bf", "ba7816b"), 6},
      {"a name going up", Replaced(kSigned, "files/builds/730/", "files/../730/"), 6},
      {"a hidden name", Replaced(kSigned, "files/builds/730/", "files/.builds/730/"), 6},
      {"an empty segment", Replaced(kSigned, "files/builds/730/", "files//730/"), 6},
      {"a blank in the name", Replaced(kSigned, "builds/730/aerolith", "builds/730 aerolith"), 6},
      {"a name of 201 bytes", Replaced(kSigned, "files/builds/730/aerolith", longName + "a"), 6},
      {"names not ascending", Replaced(kSigned, line6 + line7, line7 + line6), 7},
      {"a name twice", Replaced(kSigned, line7, line6), 7},
      {"513 files", manyFiles + kSigned.mid(kSigned.indexOf("key ")), 5 + CTReleaseManifest::kMaxFiles + 1},
      {"without its list", Replaced(kSigned, "versions/Aerolith.exe.txt", "versions/Other.exe.txt"), 8},
      {"a key in capitals", Replaced(kSigned, "key 21fe", "key 21FE"), 8},
      {"a short signature", Replaced(kSigned, "900\n", "90\n"), 9},
      {"no last line feed", kSigned.chopped(1), 9},
      {"a line after the signature", kSigned + "\n", 10},
      {"larger than its bound", kSigned + QByteArray(CTReleaseManifest::kMaxBytes, '\n'), 0},
  };
  for (const Case& c : cases) {
    LTReleaseManifest manifest;
    const LTReleaseRefusal refusal = CTReleaseManifest::Read(c.text, manifest);
    EXPECT_EQ(refusal.problem, Problem::kMalformed) << c.name;
    EXPECT_EQ(refusal.nLine, c.line) << c.name << ": " << refusal.szDetail.toStdString();
    EXPECT_FALSE(refusal.szDetail.isEmpty()) << c.name;
  }
  // The longest name that is allowed still reads, up to its signature.
  LTReleaseManifest manifest;
  EXPECT_EQ(CTReleaseManifest::Read(Replaced(kSigned, "files/builds/730/aerolith", longName), manifest).problem,
            Problem::kNone);
}

TEST(ReleaseManifest, TimesHaveOneForm) {
  struct Case {
    const char* text;
    bool valid;
    qint64 seconds;
  };
  const Case cases[] = {
      {"2026-10-28T09:30:00Z", true, 1793179800},  {"2000-01-01T00:00:00Z", true, 946684800},
      {"2024-02-29T23:59:59Z", true, 1709251199},  {"2023-02-29T00:00:00Z", false, 0},
      {"2026-13-01T00:00:00Z", false, 0},          {"2026-10-28T09:60:00Z", false, 0},
      {"2026-10-28T09:30:60Z", false, 0},          {"1999-12-31T23:59:59Z", false, 0},
      {"2026-10-28 09:30:00Z", false, 0},          {"2026-10-28T09:30:00", false, 0},
      {"2026-10-28T09:30:00+00:00", false, 0},     {"+026-10-28T09:30:00Z", false, 0},
  };
  for (const Case& c : cases) {
    qint64 seconds = 0;
    EXPECT_EQ(CTReleaseManifest::ReadTime(c.text, seconds), c.valid) << c.text;
    if (!c.valid) continue;
    EXPECT_EQ(seconds, c.seconds) << c.text;
    EXPECT_EQ(CTReleaseManifest::TimeText(seconds), QString::fromLatin1(c.text));
  }
}

TEST(ReleaseManifest, SignedWithAThrowawayKeyAndReadBack) {
  // The writer and signer of aerolith-release against the reader: a
  // manifest of the release tool is checked as the program checks it.
  const CTTestReleaseKey key(CTTestReleaseKey::Trust::kStranger);
  LTReleaseManifest manifest;
  manifest.szProgram = QStringLiteral("Aerolith.exe");
  manifest.nRelease = 1000;  // 10.0.0
  manifest.nIssued = kIssued;
  manifest.nExpires = kExpires;
  manifest.files = {{QStringLiteral("files/a"), 1, QCryptographicHash::hash("a", QCryptographicHash::Sha256)},
                    {QStringLiteral("versions/Aerolith.exe.txt"), 2,
                     QCryptographicHash::hash("ab", QCryptographicHash::Sha256)}};
  QString error;
  ASSERT_TRUE(CTReleaseSigner::Sign(manifest, key.PrivatePem(), error)) << error.toStdString();
  const QByteArray text = CTReleaseManifest::Text(manifest);
  EXPECT_TRUE(text.contains("\nrelease 10.0.0\n"));
  EXPECT_EQ(manifest.arKeyId, CTReleaseManifest::KeyId(key.Public()));
  LTReleaseManifest read;
  EXPECT_TRUE(CTReleaseManifest::Check(text, {QStringLiteral("Aerolith.exe"), 999, kIssued},
                                       {{QStringLiteral("k"), key.Public()}}, read)
                  .Ok());
  EXPECT_EQ(CTReleaseManifest::Check(text, {QStringLiteral("Aerolith.exe"), 999, kIssued}, kRfcKeys, read).problem,
            Problem::kUnknownKey);
}

}  // namespace
