#include "online/SignedRelease.h"

#include "online/CorvelIntegration.h"
#include "online/ReleaseKeys.h"
#include "online/Transport.h"

#include <QDateTime>

namespace {

constexpr int kNotFound = 404;

// One server script's bytes, bounded like every string answer.
LTHttpResponse Ask(int nServerID, const QString& szScript, qint64 nMaxBytes) {
  LTHttpRequest request;
  request.url = CTCorvelIntegration::ServerURL(nServerID, szScript).toLatin1();
  if (request.url.isEmpty()) return {};
  request.nMaxBytes = nMaxBytes;
  request.nOverallMs = CTCorvelIntegration::kStringTimeoutMs;
  return CTTransport::Current().Exchange(request);
}

LTReleaseFetch Refused(LTReleaseRefusal refusal) {
  LTReleaseFetch fetch;
  fetch.result = LTReleaseFetch::Result::kRefused;
  fetch.refusal = std::move(refusal);
  return fetch;
}

}  // namespace

QString CTSignedRelease::ManifestScript(const QString& szProgram) {
  return QStringLiteral("scripts/corvel_get_manifest.asp?") + CTCorvelIntegration::Query({{"name", szProgram}});
}

QString CTSignedRelease::ListScript(const QString& szProgram) {
  return QStringLiteral("scripts/corvel_get_versions_multi.asp?") + CTCorvelIntegration::Query({{"name", szProgram}});
}

LTReleaseFetch CTSignedRelease::Fetch(int nServerID, const QString& szProgram, int nInstalledVersion, qint64 nNow,
                                      const std::vector<LTReleaseKey>& keys) {
  LTReleaseRefusal refusal;
  refusal.szFile = CTReleaseManifest::ManifestName(szProgram);
  const LTHttpResponse manifest = Ask(nServerID, ManifestScript(szProgram), CTReleaseManifest::kMaxBytes);
  if (manifest.outcome == LTHttpOutcome::kHttpStatus && manifest.nStatus == kNotFound) {
    refusal.problem = TReleaseProblem::kNoManifest;
    return Refused(refusal);
  }
  if (manifest.outcome == LTHttpOutcome::kTooLarge) {
    refusal.problem = TReleaseProblem::kMalformed;
    refusal.szDetail = QStringLiteral("the manifest is larger than %1 bytes").arg(CTReleaseManifest::kMaxBytes);
    return Refused(refusal);
  }
  if (!manifest.Ok()) return {};

  LTReleaseFetch fetch;
  refusal = CTReleaseManifest::Check(manifest.body, {szProgram, nInstalledVersion, nNow}, keys, fetch.release.manifest);
  if (!refusal.Ok()) return Refused(refusal);

  const LTHttpResponse list = Ask(nServerID, ListScript(szProgram), CTCorvelIntegration::kMaxStringAnswer);
  if (!list.Ok()) return {};
  refusal = CTReleaseManifest::CheckFile(fetch.release.manifest, CTReleaseManifest::ListName(szProgram), list.body);
  if (!refusal.Ok()) {
    refusal.problem = TReleaseProblem::kListDiffers;
    return Refused(refusal);
  }
  fetch.result = LTReleaseFetch::Result::kOk;
  fetch.release.arManifest = manifest.body;
  fetch.release.arList = list.body;
  return fetch;
}

LTReleaseFetch CTSignedRelease::Fetch(int nServerID, int nInstalledVersion) {
  return Fetch(nServerID, QString::fromLatin1(CTCorvelIntegration::kProgramFileName), nInstalledVersion,
               QDateTime::currentSecsSinceEpoch(), CTReleaseKeys::Accepted());
}
