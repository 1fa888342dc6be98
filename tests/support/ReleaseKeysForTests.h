#pragma once
// Signed releases for the tests, with key pairs made at run time; no
// private key is ever written into the tree.
//
// CTReleaseKeysForTests is the one way to make a program accept another
// key than the compiled-in ones (CTReleaseKeys): it is defined here only,
// in a library that no shipped program links (tests/support/CMakeLists.txt
// stops the configuration if one does). The updater the tests start,
// aerolith-updater-for-tests, is the updater's own source with
// ReleaseKeyFromEnvironment.cpp added, which takes one key from
// AEROLITH_TEST_RELEASE_KEY.

#include "online/ReleaseManifest.h"

#include <QByteArray>
#include <QString>

class CTReleaseKeysForTests {
 public:
  static void Add(const LTReleaseKey& key);
  static void Remove(const QByteArray& arPublic);
};

// A throwaway Ed25519 key pair. Accepted by the program while it lives
// when made kAccepted; a kStranger signs releases the program must refuse.
class CTTestReleaseKey {
 public:
  enum class Trust { kAccepted, kStranger };
  static constexpr const char* kEnvironment = "AEROLITH_TEST_RELEASE_KEY";

  explicit CTTestReleaseKey(Trust trust = Trust::kAccepted);
  ~CTTestReleaseKey();
  CTTestReleaseKey(const CTTestReleaseKey&) = delete;
  CTTestReleaseKey& operator=(const CTTestReleaseKey&) = delete;

  const QByteArray& PrivatePem() const { return m_arPem; }
  const QByteArray& Public() const { return m_arPublic; }
  QByteArray PublicHex() const { return m_arPublic.toHex(); }

  // Signs the release of ROOT with aerolith-release's library, issued now
  // (or at nIssued) and valid for nDays; false with the reason.
  bool SignFolder(const QString& szRoot, QString& szError, qint64 nIssued = 0, qint64 nDays = 30,
                  const QString& szProgram = QStringLiteral("Aerolith.exe")) const;
  // Signs a manifest made by hand (its files named and described by the
  // test), writing ROOT/versions/NAME.manifest; false when it does not sign.
  bool SignManifest(const QString& szRoot, LTReleaseManifest manifest) const;

 private:
  Trust m_trust;
  QByteArray m_arPem;
  QByteArray m_arPublic;
};
