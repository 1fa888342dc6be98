#include "support/TestAuthority.h"

#include <QFile>
#include <QHostAddress>

#include <openssl/bio.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

namespace {

struct LTFree {
  void operator()(EVP_PKEY* p) const { EVP_PKEY_free(p); }
  void operator()(EVP_PKEY_CTX* p) const { EVP_PKEY_CTX_free(p); }
  void operator()(X509* p) const { X509_free(p); }
  void operator()(X509_EXTENSION* p) const { X509_EXTENSION_free(p); }
  void operator()(BIO* p) const { BIO_free(p); }
};
using TKey = std::unique_ptr<EVP_PKEY, LTFree>;
using TCert = std::unique_ptr<X509, LTFree>;

constexpr long kValidFromSeconds = -3600;
constexpr long kValidForSeconds = 24 * 3600;

QString OpenSslProblem(const char* szStep) {
  char text[256] = {};
  ERR_error_string_n(ERR_get_error(), text, sizeof text);
  ERR_clear_error();
  return QStringLiteral("%1: %2").arg(QLatin1String(szStep), QLatin1String(text));
}

TKey NewKey() {
  std::unique_ptr<EVP_PKEY_CTX, LTFree> context(EVP_PKEY_CTX_new_from_name(nullptr, "EC", nullptr));
  EVP_PKEY* pKey = nullptr;
  if (!context || EVP_PKEY_keygen_init(context.get()) != 1 ||
      EVP_PKEY_CTX_set_group_name(context.get(), "P-256") != 1 || EVP_PKEY_generate(context.get(), &pKey) != 1)
    return nullptr;
  return TKey(pKey);
}

bool AddExtension(X509* pCert, X509V3_CTX& context, int nNid, const QString& szValue) {
  const QByteArray value = szValue.toLatin1();
  std::unique_ptr<X509_EXTENSION, LTFree> extension(X509V3_EXT_conf_nid(nullptr, &context, nNid, value.constData()));
  return extension && X509_add_ext(pCert, extension.get(), -1) == 1;
}

// A certificate for the key, named szCommonName, signed by pIssuerKey as
// pIssuer (itself when pIssuer is null), with the extensions given as
// (nid, OpenSSL configuration text).
TCert NewCertificate(EVP_PKEY* pKey, const QString& szCommonName, long nSerial, X509* pIssuer, EVP_PKEY* pIssuerKey,
                     const QList<std::pair<int, QString>>& extensions) {
  TCert cert(X509_new());
  if (!cert) return nullptr;
  const QByteArray commonName = szCommonName.toUtf8();
  X509_NAME* pName = X509_get_subject_name(cert.get());
  if (X509_set_version(cert.get(), X509_VERSION_3) != 1 ||
      ASN1_INTEGER_set(X509_get_serialNumber(cert.get()), nSerial) != 1 ||
      !X509_gmtime_adj(X509_getm_notBefore(cert.get()), kValidFromSeconds) ||
      !X509_gmtime_adj(X509_getm_notAfter(cert.get()), kValidForSeconds) || X509_set_pubkey(cert.get(), pKey) != 1 ||
      X509_NAME_add_entry_by_txt(pName, "CN", MBSTRING_UTF8,
                                 reinterpret_cast<const unsigned char*>(commonName.constData()), -1, -1, 0) != 1)
    return nullptr;
  X509* pSigner = pIssuer ? pIssuer : cert.get();
  if (X509_set_issuer_name(cert.get(), X509_get_subject_name(pSigner)) != 1) return nullptr;
  X509V3_CTX context;
  X509V3_set_ctx(&context, pSigner, cert.get(), nullptr, nullptr, 0);
  for (const auto& [nNid, szValue] : extensions)
    if (!AddExtension(cert.get(), context, nNid, szValue)) return nullptr;
  if (X509_sign(cert.get(), pIssuerKey, EVP_sha256()) <= 0) return nullptr;
  return cert;
}

bool WritePem(const QString& szPath, X509* pCert, EVP_PKEY* pKey) {
  std::unique_ptr<BIO, LTFree> file(BIO_new_file(QFile::encodeName(szPath).constData(), "w"));
  if (!file) return false;
  if (pCert) return PEM_write_bio_X509(file.get(), pCert) == 1;
  return PEM_write_bio_PrivateKey(file.get(), pKey, nullptr, nullptr, 0, nullptr, nullptr) == 1;
}

}  // namespace

struct CTTestAuthority::Keys {
  TKey key;
  TCert cert;
  long nNextSerial = 1;
};

CTTestAuthority::CTTestAuthority(const QString& szName) : m_pKeys(std::make_unique<Keys>()) {
  if (!m_dir.isValid()) {
    m_szProblem = QStringLiteral("no temporary folder");
    return;
  }
  m_pKeys->key = NewKey();
  if (!m_pKeys->key) {
    m_szProblem = OpenSslProblem("authority key");
    return;
  }
  m_pKeys->cert = NewCertificate(m_pKeys->key.get(), szName, m_pKeys->nNextSerial++, nullptr, m_pKeys->key.get(),
                                 {{NID_basic_constraints, QStringLiteral("critical,CA:TRUE")},
                                  {NID_key_usage, QStringLiteral("critical,keyCertSign,cRLSign")},
                                  {NID_subject_key_identifier, QStringLiteral("hash")}});
  m_szCertFile = m_dir.filePath(QStringLiteral("authority.pem"));
  if (!m_pKeys->cert || !WritePem(m_szCertFile, m_pKeys->cert.get(), nullptr))
    m_szProblem = OpenSslProblem("authority certificate");
}

CTTestAuthority::~CTTestAuthority() = default;

CTTestAuthority::LTIssued CTTestAuthority::Issue(const QString& szBaseName, const QStringList& names) {
  if (!Ok() || names.isEmpty()) return {};
  QStringList altNames;
  for (const QString& name : names)
    altNames << (QHostAddress(name).isNull() ? QStringLiteral("DNS:") : QStringLiteral("IP:")) + name;
  const TKey key = NewKey();
  if (!key) return {};
  const TCert cert = NewCertificate(key.get(), names.first(), m_pKeys->nNextSerial++, m_pKeys->cert.get(),
                                    m_pKeys->key.get(),
                                    {{NID_basic_constraints, QStringLiteral("CA:FALSE")},
                                     {NID_key_usage, QStringLiteral("critical,digitalSignature")},
                                     {NID_ext_key_usage, QStringLiteral("serverAuth")},
                                     {NID_subject_alt_name, altNames.join(QLatin1Char(','))},
                                     {NID_subject_key_identifier, QStringLiteral("hash")},
                                     {NID_authority_key_identifier, QStringLiteral("keyid")}});
  LTIssued issued{m_dir.filePath(szBaseName + QStringLiteral(".pem")),
                  m_dir.filePath(szBaseName + QStringLiteral("-key.pem"))};
  if (!cert || !WritePem(issued.szCertFile, cert.get(), nullptr) || !WritePem(issued.szKeyFile, nullptr, key.get()))
    return {};
  return issued;
}
