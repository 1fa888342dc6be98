#pragma once
// CTSignedRelease: a release as the download server holds it, taken only
// once it is known to be signed: the manifest first, its signature, program,
// expiry and version checked (CTReleaseManifest), then the versions list,
// which must be the one the manifest names. The files the list names are
// checked against the same manifest as they arrive (CTUpgradeDownload).
//
// The manifest comes from
//   GET "scripts/corvel_get_manifest.asp?name=" + program key
// which answers the bytes of ROOT/versions/NAME.manifest, or 404 when the
// server has none; the versions list from "corvel_get_versions_multi.asp"
// as before.

#include "online/ReleaseManifest.h"

#include <QByteArray>
#include <QString>

#include <vector>

struct LTSignedRelease {
  LTReleaseManifest manifest;
  QByteArray arManifest;  // the manifest's text, as signed
  QByteArray arList;      // the versions list, as signed
  bool IsSigned() const { return !arManifest.isEmpty(); }
};

struct LTReleaseFetch {
  enum class Result {
    kOk,
    kUnreachable,  // no answer, or not one a server gives: nothing can be said of the release
    kRefused,      // the server answered, and what it holds is not a trusted release (refusal)
  };
  Result result = Result::kUnreachable;
  LTReleaseRefusal refusal;
  LTSignedRelease release;  // when kOk
};

class CTSignedRelease {
 public:
  static QString ManifestScript(const QString& szProgram);
  static QString ListScript(const QString& szProgram);

  // The release of szProgram on the server, checked with those keys at
  // nNow (seconds since 1970, UTC) against the installed version (0: none).
  static LTReleaseFetch Fetch(int nServerID, const QString& szProgram, int nInstalledVersion, qint64 nNow,
                              const std::vector<LTReleaseKey>& keys);
  // This program's release, now, with the keys the build accepts.
  static LTReleaseFetch Fetch(int nServerID, int nInstalledVersion);
};
