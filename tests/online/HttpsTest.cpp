// A company mirror over HTTPS: how its address reads, which CA file goes
// with it, and what the program trusts when it talks to aerolith-server
// serving a certificate of a throwaway authority on loopback.

#include "online/CorvelConfig.h"
#include "online/CorvelIntegration.h"
#include "online/Transport.h"
#include "platform/Registry.h"
#include "support/ServedFiles.h"
#include "support/TestAuthority.h"
#include "support/TestServer.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

using I = CTCorvelIntegration;
using C = CTCorvelConfig;

// The mirror setting of the environment for one scope.
class CTMirrorEnvironment {
 public:
  CTMirrorEnvironment(const QString& szAddress, const QString& szCaFile) {
    qputenv(C::kMirrorEnvironment, szAddress.toUtf8());
    if (szCaFile.isEmpty())
      qunsetenv(C::kCaFileEnvironment);
    else
      qputenv(C::kCaFileEnvironment, szCaFile.toUtf8());
  }
  ~CTMirrorEnvironment() {
    qunsetenv(C::kMirrorEnvironment);
    qunsetenv(C::kCaFileEnvironment);
  }
  CTMirrorEnvironment(const CTMirrorEnvironment&) = delete;
  CTMirrorEnvironment& operator=(const CTMirrorEnvironment&) = delete;
};

TEST(MirrorAddress, SchemeHostAndPortOfEveryForm) {
  struct LTCase {
    const char* szMirror;
    const char* szUrl;  // of "x" on server 0; empty: no server
  };
  const LTCase cases[] = {
      {"mirror.example", "http://mirror.example/x"},
      {"127.0.0.1:8123", "http://127.0.0.1:8123/x"},
      {"http://mirror.example:80", "http://mirror.example/x"},
      {"https://mirror.example", "https://mirror.example/x"},
      {"HTTPS://Mirror.Example:8443", "https://mirror.example:8443/x"},
      {"https://mirror.example:443/", "https://mirror.example/x"},
      {"https://mirror.example:80", "https://mirror.example:80/x"},
      {"https://[::1]:8443", "https://[::1]:8443/x"},
      {"[::1]", "http://[::1]/x"},
      {"ftp://mirror.example", ""},
      {"https://mirror.example/path", ""},
      {"https://user@mirror.example", ""},
      {"https://mirror.example?x=1", ""},
      {"https://", ""},
      {"mirror.example:http", ""},
  };
  for (const LTCase& c : cases) {
    const CTMirrorEnvironment mirror(QString::fromLatin1(c.szMirror), QString());
    EXPECT_EQ(I::ServerURL(0, QStringLiteral("x")), QString::fromLatin1(c.szUrl)) << c.szMirror;
    EXPECT_TRUE(I::ServerURL(3, QStringLiteral("x")).isEmpty()) << c.szMirror << ": a number without a server";
  }
  EXPECT_EQ(I::ServerURL(0, QStringLiteral("x")), QStringLiteral("http://orsk.download.aerolith-hrv.example/x"))
      << "the maker's servers stay plain HTTP";
}

TEST(MirrorAddress, CaFileComesFromThePlaceThatNamesTheMirror) {
  CTRegistry user(CTRegHive::CurrentUser);
  ASSERT_TRUE(user.OpenKey(QString::fromLatin1(C::kMirrorKey), true));
  ASSERT_TRUE(user.WriteString(QString::fromLatin1(C::kMirrorValue), QStringLiteral("https://mirror.example")));
  ASSERT_TRUE(user.WriteString(QString::fromLatin1(C::kCaFileValue), QStringLiteral("/etc/company/ca.pem")));
  EXPECT_EQ(C::MirrorCaFile(), QStringLiteral("/etc/company/ca.pem"));
  EXPECT_EQ(I::ServerURL(1, QStringLiteral("x")), QStringLiteral("https://mirror.example/x"));
  {
    const CTMirrorEnvironment mirror(QStringLiteral("https://127.0.0.1:8443"), QString());
    EXPECT_TRUE(C::MirrorCaFile().isEmpty()) << "the registry's authority never vouches for the environment's mirror";
  }
  {
    const CTMirrorEnvironment mirror(QStringLiteral("https://127.0.0.1:8443"), QStringLiteral("/tmp/test-ca.pem"));
    EXPECT_EQ(C::MirrorCaFile(), QStringLiteral("/tmp/test-ca.pem"));
  }
  // A CA file without a mirror vouches for nothing.
  user.DeleteValue(QString::fromLatin1(C::kMirrorValue));
  EXPECT_TRUE(C::MirrorCaFile().isEmpty());
  user.DeleteValue(QString::fromLatin1(C::kCaFileValue));
}

// aerolith-server over HTTPS with the certificate of one test case.
class HttpsMirror : public testing::Test {
 protected:
  static constexpr const char* kList = "<version key=\"Aerolith.exe\" nr=\"7.2.0\"/>";

  void SetUp() override {
    ASSERT_TRUE(ours.Ok()) << ours.Problem().toStdString();
    ASSERT_TRUE(stranger.Ok()) << stranger.Problem().toStdString();
    ASSERT_TRUE(TestFiles::Write(root.filePath(QStringLiteral("versions/Aerolith.exe.txt")), kList));
  }

  // The versions list asked of a server with this certificate, with the
  // mirror set to https://127.0.0.1:PORT and the CA file given.
  LTHttpResponse Ask(const CTTestAuthority::LTIssued& certificate, const QString& szCaFile) {
    EXPECT_FALSE(certificate.szCertFile.isEmpty());
    const CTTestServer server(root.path(), QString(), {certificate.szCertFile, certificate.szKeyFile});
    EXPECT_TRUE(server.Running()) << server.ServerLog().toStdString();
    const CTMirrorEnvironment mirror(QStringLiteral("https://127.0.0.1:%1").arg(server.Port()), szCaFile);
    LTHttpRequest request;
    request.url = I::ServerURL(0, QStringLiteral("scripts/corvel_get_versions_multi.asp?name=Aerolith.exe")).toLatin1();
    EXPECT_TRUE(request.url.startsWith("https://127.0.0.1:")) << request.url.constData();
    return CTTransport::Current().Exchange(request);
  }

  QTemporaryDir root;
  CTTestAuthority ours{QStringLiteral("Company Test CA")};
  CTTestAuthority stranger{QStringLiteral("Stranger CA")};
};

TEST_F(HttpsMirror, AnswersOnlyOverACertificateOfAKnownAuthorityForThisHost) {
  struct LTCase {
    const char* szName;
    CTTestAuthority::LTIssued certificate;
    QString szCaFile;
    LTHttpOutcome outcome;
    const char* szProblem;  // a part of the reason; empty: any
  };
  const QString missingCa = root.filePath(QStringLiteral("no-such-ca.pem"));
  const LTCase cases[] = {
      {"our authority, this host", ours.Issue(QStringLiteral("this"), {QStringLiteral("127.0.0.1")}),
       ours.CertificateFile(), LTHttpOutcome::kOk, ""},
      {"our authority, another host",
       ours.Issue(QStringLiteral("other"), {QStringLiteral("mirror.example"), QStringLiteral("127.0.0.2")}),
       ours.CertificateFile(), LTHttpOutcome::kUntrusted, "host name"},
      {"an unknown authority, no CA file", stranger.Issue(QStringLiteral("s1"), {QStringLiteral("127.0.0.1")}),
       QString(), LTHttpOutcome::kUntrusted, ""},
      {"an unknown authority, our CA file", stranger.Issue(QStringLiteral("s2"), {QStringLiteral("127.0.0.1")}),
       ours.CertificateFile(), LTHttpOutcome::kUntrusted, ""},
      {"a CA file that is not there", ours.Issue(QStringLiteral("this2"), {QStringLiteral("127.0.0.1")}), missingCa,
       LTHttpOutcome::kUntrusted, "no-such-ca.pem"},
      {"a CA file that holds no certificate", ours.Issue(QStringLiteral("this3"), {QStringLiteral("127.0.0.1")}),
       root.filePath(QStringLiteral("versions/Aerolith.exe.txt")), LTHttpOutcome::kUntrusted, "Aerolith.exe.txt"},
  };
  for (const LTCase& c : cases) {
    const LTHttpResponse response = Ask(c.certificate, c.szCaFile);
    EXPECT_EQ(response.outcome, c.outcome) << c.szName << ": " << response.szProblem.toStdString();
    if (c.outcome == LTHttpOutcome::kOk) {
      EXPECT_EQ(response.body, QByteArray(kList)) << c.szName;
      EXPECT_TRUE(response.szProblem.isEmpty()) << c.szName;
      continue;
    }
    EXPECT_TRUE(response.body.isEmpty()) << c.szName;
    EXPECT_EQ(response.nStatus, 0) << c.szName << ": no request may pass an untrusted connection";
    EXPECT_FALSE(response.szProblem.isEmpty()) << c.szName;
    EXPECT_TRUE(response.szProblem.contains(QLatin1String(c.szProblem), Qt::CaseInsensitive))
        << c.szName << ": " << response.szProblem.toStdString();
  }
}

TEST_F(HttpsMirror, TheProgramsTransfersGoOverIt) {
  const CTTestAuthority::LTIssued certificate = ours.Issue(QStringLiteral("this"), {QStringLiteral("127.0.0.1")});
  const CTTestServer server(root.path(), QString(), {certificate.szCertFile, certificate.szKeyFile});
  ASSERT_TRUE(server.Running()) << server.ServerLog().toStdString();
  ASSERT_TRUE(TestFiles::Write(root.filePath(QStringLiteral("files/builds/a.bin")), QByteArray(70000, 'a')));
  QTemporaryDir local;
  {
    const CTMirrorEnvironment mirror(QStringLiteral("https://127.0.0.1:%1").arg(server.Port()), ours.CertificateFile());
    QString text;
    EXPECT_TRUE(I::GetStringFromInternet(0, QStringLiteral("scripts/corvel_get_versions_multi.asp?name=Aerolith.exe"),
                                         text));
    EXPECT_EQ(text, QLatin1String(kList));
    quint32 found = 0;
    EXPECT_EQ(I::GetFileFromInternet(0, QStringLiteral("builds/a.bin"), local.filePath(QStringLiteral("a.bin")), 70000,
                                     found),
              I::kFileOk);
    EXPECT_EQ(TestFiles::Read(local.filePath(QStringLiteral("a.bin"))), QByteArray(70000, 'a'));
  }
  {
    // Without the company's authority the same server is refused, and the
    // local file is left as it was.
    const CTMirrorEnvironment mirror(QStringLiteral("https://127.0.0.1:%1").arg(server.Port()), QString());
    QString text = QStringLiteral("stale");
    EXPECT_FALSE(I::GetStringFromInternet(0, QStringLiteral("scripts/corvel_get_versions_multi.asp?name=Aerolith.exe"),
                                          text));
    EXPECT_TRUE(text.isEmpty());
    ASSERT_TRUE(TestFiles::Write(local.filePath(QStringLiteral("b.bin")), "old"));
    quint32 found = 0;
    EXPECT_EQ(I::GetFileFromInternet(0, QStringLiteral("builds/a.bin"), local.filePath(QStringLiteral("b.bin")), 70000,
                                     found),
              I::kFileFailed);
    EXPECT_EQ(TestFiles::Read(local.filePath(QStringLiteral("b.bin"))), QByteArray("old"));
  }
  {
    // An HTTPS server answers nothing in clear.
    const CTMirrorEnvironment mirror(QStringLiteral("http://127.0.0.1:%1").arg(server.Port()), QString());
    QString text;
    EXPECT_FALSE(I::GetStringFromInternet(0, QStringLiteral("scripts/corvel_get_versions_multi.asp?name=Aerolith.exe"),
                                          text));
  }
}

}  // namespace
