#pragma once
// CTTestAuthority: a throwaway certificate authority for one test, and the
// server certificates it signs, made with OpenSSL at run time and written
// as PEM files into a temporary folder of its own. No key outlives the test
// or enters the tree.
//
// Keys are ECDSA P-256; certificates are X.509 v3, valid from an hour ago
// for a day, signed with SHA-256:
//   authority  CN=<name>, basicConstraints critical CA:TRUE,
//              keyUsage critical keyCertSign, cRLSign
//   server     CN=<first name>, basicConstraints CA:FALSE,
//              keyUsage critical digitalSignature, extendedKeyUsage serverAuth,
//              subjectAltName with every DNS name and IP address given

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

class CTTestAuthority {
 public:
  struct LTIssued {
    QString szCertFile;  // empty when issuing failed
    QString szKeyFile;
  };

  explicit CTTestAuthority(const QString& szName = QStringLiteral("Aerolith Test CA"));
  ~CTTestAuthority();
  CTTestAuthority(const CTTestAuthority&) = delete;
  CTTestAuthority& operator=(const CTTestAuthority&) = delete;

  // False when the authority could not be made; Problem() says why.
  bool Ok() const { return m_szProblem.isEmpty(); }
  QString Problem() const { return m_szProblem; }
  // The authority's own certificate: what a client trusts.
  QString CertificateFile() const { return m_szCertFile; }

  // A server certificate for the names ("localhost", "127.0.0.1": a name
  // that parses as an IP address goes in as one), with its key; the files
  // are named after szBaseName.
  LTIssued Issue(const QString& szBaseName, const QStringList& names);

 private:
  struct Keys;
  QTemporaryDir m_dir;
  std::unique_ptr<Keys> m_pKeys;
  QString m_szCertFile;
  QString m_szProblem;
};
