#include "support/ReleaseKeysForTests.h"

#include "online/ReleaseKeys.h"
#include "tools/release/ReleaseSigner.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

void CTReleaseKeysForTests::Add(const LTReleaseKey& key) {
  CTReleaseKeys::LTAdded& added = CTReleaseKeys::AddedForTests();
  const QMutexLocker lock(&added.mutex);
  added.keys.push_back(key);
}

void CTReleaseKeysForTests::Remove(const QByteArray& arPublic) {
  CTReleaseKeys::LTAdded& added = CTReleaseKeys::AddedForTests();
  const QMutexLocker lock(&added.mutex);
  added.keys.erase(std::remove_if(added.keys.begin(), added.keys.end(),
                                  [&](const LTReleaseKey& key) { return key.arPublic == arPublic; }),
                   added.keys.end());
}

CTTestReleaseKey::CTTestReleaseKey(Trust trust) : m_trust(trust), m_arPem(CTReleaseSigner::NewPrivateKey()) {
  QString error;
  m_arPublic = CTReleaseSigner::PublicKey(m_arPem, error);
  if (m_trust == Trust::kAccepted) CTReleaseKeysForTests::Add({QStringLiteral("test key"), m_arPublic});
}

CTTestReleaseKey::~CTTestReleaseKey() {
  if (m_trust == Trust::kAccepted) CTReleaseKeysForTests::Remove(m_arPublic);
}

bool CTTestReleaseKey::SignFolder(const QString& szRoot, QString& szError, qint64 nIssued, qint64 nDays,
                                  const QString& szProgram) const {
  LTSignRequest request;
  request.szRoot = szRoot;
  request.szProgram = szProgram;
  request.arPrivateKeyPem = m_arPem;
  request.nIssued = nIssued != 0 ? nIssued : QDateTime::currentSecsSinceEpoch();
  request.nExpires = request.nIssued + nDays * 24 * 3600;
  LTReleaseManifest manifest;
  return CTReleaseSigner::SignFolder(request, manifest, szError);
}

bool CTTestReleaseKey::SignManifest(const QString& szRoot, LTReleaseManifest manifest) const {
  std::sort(manifest.files.begin(), manifest.files.end(),
            [](const LTReleaseFile& a, const LTReleaseFile& b) { return a.szName.toLatin1() < b.szName.toLatin1(); });
  QString error;
  if (!CTReleaseSigner::Sign(manifest, m_arPem, error)) return false;
  const QString path = QDir(szRoot).filePath(CTReleaseManifest::ManifestName(manifest.szProgram));
  QDir().mkpath(QFileInfo(path).path());
  QSaveFile file(path);
  const QByteArray text = CTReleaseManifest::Text(manifest);
  return file.open(QIODevice::WriteOnly) && file.write(text) == text.size() && file.commit();
}
