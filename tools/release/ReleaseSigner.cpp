#include "tools/release/ReleaseSigner.h"

#include "online/VersionsList.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <openssl/evp.h>
#include <openssl/pem.h>

#include <algorithm>
#include <map>
#include <memory>

namespace {

// The longest versions list the program reads.
constexpr qint64 kMaxListBytes = 4 * 1024 * 1024;

struct EvpKeyFree {
  void operator()(EVP_PKEY* p) const { EVP_PKEY_free(p); }
};
struct EvpMdCtxFree {
  void operator()(EVP_MD_CTX* p) const { EVP_MD_CTX_free(p); }
};
struct BioFree {
  void operator()(BIO* p) const { BIO_free(p); }
};
using Key = std::unique_ptr<EVP_PKEY, EvpKeyFree>;

Key ReadPrivateKey(const QByteArray& arPem, QString& szError) {
  const std::unique_ptr<BIO, BioFree> bio(BIO_new_mem_buf(arPem.constData(), int(arPem.size())));
  Key key(bio ? PEM_read_bio_PrivateKey(bio.get(), nullptr, nullptr, nullptr) : nullptr);
  if (!key) {
    szError = QStringLiteral("the key file does not hold a private key in PEM form");
    return nullptr;
  }
  if (EVP_PKEY_get_id(key.get()) != EVP_PKEY_ED25519) {
    szError = QStringLiteral("the key is not an Ed25519 key");
    return nullptr;
  }
  return key;
}

QByteArray RawPublic(EVP_PKEY* pKey) {
  QByteArray raw(CTReleaseManifest::kPublicKeyBytes, '\0');
  size_t length = size_t(raw.size());
  if (EVP_PKEY_get_raw_public_key(pKey, reinterpret_cast<unsigned char*>(raw.data()), &length) != 1 ||
      length != size_t(raw.size()))
    return QByteArray();
  return raw;
}

// The file at a name of the release inside the root, refusing links that
// lead out of it; empty with the reason otherwise.
QString FileInside(const QString& szRoot, const QString& szName, QString& szError) {
  const QString root = QFileInfo(szRoot).canonicalFilePath();
  const QString file = QFileInfo(QDir(szRoot).filePath(szName)).canonicalFilePath();
  if (file.isEmpty() || !QFileInfo(file).isFile()) {
    szError = QStringLiteral("%1: missing").arg(szName);
    return QString();
  }
  if (root.isEmpty() || !file.startsWith(root + QLatin1Char('/'))) {
    szError = QStringLiteral("%1: leads out of the folder").arg(szName);
    return QString();
  }
  return file;
}

bool Describe(const QString& szPath, const QString& szName, LTReleaseFile& file, QString& szError) {
  QFile local(szPath);
  QCryptographicHash hash(QCryptographicHash::Sha256);
  if (!local.open(QIODevice::ReadOnly) || !hash.addData(&local)) {
    szError = QStringLiteral("%1: cannot be read").arg(szName);
    return false;
  }
  if (local.size() < 1 || local.size() > CTReleaseManifest::kMaxFileSize) {
    szError = QStringLiteral("%1: %2 bytes; a release file has 1 to %3").arg(szName).arg(local.size()).arg(CTReleaseManifest::kMaxFileSize);
    return false;
  }
  file = {szName, local.size(), hash.result()};
  return true;
}

}  // namespace

bool CTReleaseSigner::Gather(const QString& szRoot, const QString& szProgram, LTReleaseManifest& manifest,
                             QString& szError) {
  manifest = LTReleaseManifest();
  if (!CTReleaseManifest::IsValidProgram(szProgram)) {
    szError = QStringLiteral("%1 is not a plain program file name").arg(szProgram);
    return false;
  }
  manifest.szProgram = szProgram;
  const QString listName = CTReleaseManifest::ListName(szProgram);
  const QString listPath = FileInside(szRoot, listName, szError);
  if (listPath.isEmpty()) return false;
  QFile listFile(listPath);
  if (!listFile.open(QIODevice::ReadOnly) || listFile.size() > kMaxListBytes) {
    szError = QStringLiteral("%1: cannot be read, or larger than %2 bytes").arg(listName).arg(kMaxListBytes);
    return false;
  }
  // The program's own reader: what is signed reads the same there.
  const LTVersionsList list = CTVersionsList::Parse(QString::fromLatin1(listFile.readAll()), 0);
  if (list.bFailed) {
    szError = QStringLiteral("%1: an element does not read (each needs every attribute, a size above 0 and, "
                             "for a program, a version)")
                  .arg(listName);
    return false;
  }
  if (!list.updater) {
    szError = QStringLiteral("%1: names no updater (key \"%2\")").arg(listName, QLatin1String(CTVersionsList::kUpdaterKey));
    return false;
  }
  if (list.entries.empty()) {
    szError = QStringLiteral("%1: names no build of the program").arg(listName);
    return false;
  }

  // name -> the size the list gives (0: the list gives none)
  std::map<QString, qint64> listed{{listName, 0}};
  std::vector<LTVersionEntry> elements{*list.updater};
  elements.insert(elements.end(), list.entries.begin(), list.entries.end());
  for (const LTVersionEntry& element : elements) {
    const QString name = CTReleaseManifest::DownloadName(element.v_fileName);
    if (!CTReleaseManifest::IsValidName(name)) {
      szError = QStringLiteral("%1: the path \"%2\" is not a plain path below files/").arg(listName, element.v_fileName);
      return false;
    }
    const auto [it, added] = listed.emplace(name, element.v_fileSize);
    if (!added && it->second != element.v_fileSize) {
      szError = QStringLiteral("%1: %2 is listed with %3 and with %4 bytes").arg(listName, name).arg(it->second).arg(element.v_fileSize);
      return false;
    }
    manifest.nRelease = std::max(manifest.nRelease, element.v_version);
  }
  // The glossaries the glossary script would offer for this program.
  const QStringList glossaryNames{szProgram + QStringLiteral(".xml"), QStringLiteral("central.mdb.xml"),
                                  QStringLiteral("company.tdb.xml")};
  const QDir glossaries(QDir(szRoot).filePath(QStringLiteral("files/glossaries")));
  for (const QString& language : glossaries.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
    if (language.isEmpty() || !std::all_of(language.begin(), language.end(), [](QChar c) { return c.isDigit(); }))
      continue;
    for (const QString& glossary : glossaryNames)
      if (QFileInfo::exists(glossaries.filePath(language + QLatin1Char('/') + glossary)))
        listed.emplace(QStringLiteral("files/glossaries/") + language + QLatin1Char('/') + glossary, 0);
  }
  if (int(listed.size()) > CTReleaseManifest::kMaxFiles) {
    szError = QStringLiteral("%1 files; a release holds at most %2").arg(listed.size()).arg(CTReleaseManifest::kMaxFiles);
    return false;
  }

  for (const auto& [name, size] : listed) {
    const QString path = FileInside(szRoot, name, szError);
    LTReleaseFile file;
    if (path.isEmpty() || !Describe(path, name, file, szError)) return false;
    if (size != 0 && file.nSize != size) {
      szError = QStringLiteral("%1: the list gives %2 bytes, the file has %3").arg(name).arg(size).arg(file.nSize);
      return false;
    }
    manifest.files.push_back(file);
  }
  // The format wants the names in byte order; the map's order is QString's.
  std::sort(manifest.files.begin(), manifest.files.end(),
            [](const LTReleaseFile& a, const LTReleaseFile& b) { return a.szName.toLatin1() < b.szName.toLatin1(); });
  return true;
}

bool CTReleaseSigner::Sign(LTReleaseManifest& manifest, const QByteArray& arPrivateKeyPem, QString& szError) {
  const Key key = ReadPrivateKey(arPrivateKeyPem, szError);
  if (!key) return false;
  const QByteArray publicKey = RawPublic(key.get());
  manifest.arKeyId = CTReleaseManifest::KeyId(publicKey);
  const QByteArray text = CTReleaseManifest::SignedText(manifest);
  QByteArray signature(CTReleaseManifest::kSignatureBytes, '\0');
  size_t length = size_t(signature.size());
  const std::unique_ptr<EVP_MD_CTX, EvpMdCtxFree> context(EVP_MD_CTX_new());
  if (publicKey.isEmpty() || !context ||
      EVP_DigestSignInit(context.get(), nullptr, nullptr, nullptr, key.get()) != 1 ||
      EVP_DigestSign(context.get(), reinterpret_cast<unsigned char*>(signature.data()), &length,
                     reinterpret_cast<const unsigned char*>(text.constData()), size_t(text.size())) != 1 ||
      length != size_t(signature.size())) {
    szError = QStringLiteral("signing failed");
    return false;
  }
  manifest.arSignature = signature;
  manifest.nSignedBytes = text.size();
  // What was written must read back as signed, by this key, at its issue.
  LTReleaseManifest read;
  if (!CTReleaseManifest::Check(CTReleaseManifest::Text(manifest), {manifest.szProgram, 0, manifest.nIssued},
                                {{QString(), publicKey}}, read)
           .Ok()) {
    szError = QStringLiteral("the manifest does not read back as signed");
    return false;
  }
  return true;
}

bool CTReleaseSigner::SignFolder(const LTSignRequest& request, LTReleaseManifest& manifest, QString& szError) {
  if (request.nExpires <= request.nIssued) {
    szError = QStringLiteral("the manifest must expire after it is issued");
    return false;
  }
  if (!Gather(request.szRoot, request.szProgram, manifest, szError)) return false;
  manifest.nIssued = request.nIssued;
  manifest.nExpires = request.nExpires;
  if (!Sign(manifest, request.arPrivateKeyPem, szError)) return false;
  const QString name = CTReleaseManifest::ManifestName(request.szProgram);
  QSaveFile file(QDir(request.szRoot).filePath(name));
  const QByteArray text = CTReleaseManifest::Text(manifest);
  if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
    szError = QStringLiteral("%1: cannot be written").arg(name);
    return false;
  }
  return true;
}

QByteArray CTReleaseSigner::NewPrivateKey() {
  const Key key(EVP_PKEY_Q_keygen(nullptr, nullptr, "ED25519"));
  const std::unique_ptr<BIO, BioFree> bio(BIO_new(BIO_s_mem()));
  if (!key || !bio || PEM_write_bio_PrivateKey(bio.get(), key.get(), nullptr, nullptr, 0, nullptr, nullptr) != 1)
    return QByteArray();
  char* data = nullptr;
  const long length = BIO_get_mem_data(bio.get(), &data);
  return QByteArray(data, qsizetype(length));
}

QByteArray CTReleaseSigner::PublicKey(const QByteArray& arPrivateKeyPem, QString& szError) {
  const Key key = ReadPrivateKey(arPrivateKeyPem, szError);
  return key ? RawPublic(key.get()) : QByteArray();
}
