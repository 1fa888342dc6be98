#pragma once
// CTReleaseSigner: what aerolith-release does to a served folder: it reads
// the versions list of a program, gathers every file the list names (the
// updater and each build) and every glossary the server would offer beside
// them, checks that each is what the list says, and writes the signed
// manifest beside the list:
//
//   ROOT/versions/NAME.txt                    the versions list (signed as it is)
//   ROOT/files/<path of each list element>    the updater and the builds
//   ROOT/files/glossaries/<LCID>/<NAME|central.mdb|company.tdb>.xml
//   ROOT/versions/NAME.manifest               written here (CTReleaseManifest)
//
// A list that does not read, names a file that is missing, lies outside the
// folder or has another size than the list gives, is refused and nothing is
// written. The private key is an Ed25519 key in a PEM file (PKCS #8, as
// "openssl genpkey -algorithm ed25519" writes it, or NewPrivateKey below).

#include "online/ReleaseManifest.h"

#include <QByteArray>
#include <QString>

struct LTSignRequest {
  QString szRoot;     // the served folder
  QString szProgram;  // "Aerolith.exe"
  QByteArray arPrivateKeyPem;
  qint64 nIssued = 0;   // seconds since 1970, UTC
  qint64 nExpires = 0;  // later than nIssued
};

class CTReleaseSigner {
 public:
  // The release of the folder, unsigned: its files and its version; false
  // with the reason when the folder is not a release that can be signed.
  static bool Gather(const QString& szRoot, const QString& szProgram, LTReleaseManifest& manifest, QString& szError);

  // Gathers, signs and writes ROOT/versions/NAME.manifest (whole or not at
  // all); false with the reason, having written nothing.
  static bool SignFolder(const LTSignRequest& request, LTReleaseManifest& manifest, QString& szError);

  // The manifest signed with the key: its key id and signature filled in.
  static bool Sign(LTReleaseManifest& manifest, const QByteArray& arPrivateKeyPem, QString& szError);

  // A new Ed25519 private key as PEM, and the 32 public bytes of one.
  static QByteArray NewPrivateKey();
  static QByteArray PublicKey(const QByteArray& arPrivateKeyPem, QString& szError);
};
