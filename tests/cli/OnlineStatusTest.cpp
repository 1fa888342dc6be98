// aerolith-cli online status against our own server on loopback: what the
// program-information service offers this program, with the program's
// number asked once and passed on to the other questions.

#include "CliRun.h"

#include "support/CountingTransport.h"
#include "support/ServedFiles.h"
#include "support/TestServer.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(OnlineStatus, AsksTheProgramsNumberOnceAndReportsWhatTheServiceOffers) {
  struct Case {
    const char* name;
    const char* service;  // service.json of the served folder
    int program;
    const char* manual;  // nullptr: none
    const char* notes;   // nullptr: none
    QList<QByteArray> asked;
  };
  const Case cases[] = {
      {"known, with notes and a German manual",
       R"({"programs":[{"name":"Aerolith.exe","id":7,"version":720,"database":143,)"
       R"("releaseNotes":"notes/release.rtf","manual":{"id":3,"languages":{"1031":"manuals/de/Aerolith.pdf"}}}]})",
       7,
       "manuals/de/Aerolith.pdf",
       "Version 7.2.0\nFaster selection.",
       {"ProgramID", "HasManual", "TransManualInfo", "ReleaseNotes"}},
      {"unknown to the service",
       R"({"programs":[{"name":"Other.exe","id":9,"version":100}]})",
       0,
       nullptr,
       nullptr,
       {"ProgramID"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    ASSERT_TRUE(TestFiles::Write(root.filePath("service.json"), c.service));
    ASSERT_TRUE(TestFiles::Write(root.filePath("notes/release.rtf"),
                                 "{\\rtf1\\ansi {\\b Version 7.2.0}\\par Faster selection.\\par}"));
    const CTTestServer server(root.path());
    ASSERT_TRUE(server.Running()) << server.ServerLog().toStdString();
    const CTServerAddress address(server.HostAndPort());
    const CTCountingTransport transport;

    const CliResult result = RunCli({"online", "status", "--language", "1031", "--json"});
    ASSERT_EQ(result.code, 0) << result.err.toStdString();
    const QJsonObject status = QJsonDocument::fromJson(result.out.toUtf8()).object();
    EXPECT_EQ(status["server"].toString(), server.HostAndPort());
    EXPECT_EQ(status["program_id"].toInt(), c.program);
    EXPECT_EQ(status["language"].toInt(), 1031);
    EXPECT_EQ(status["manual"].isNull(), c.manual == nullptr);
    if (c.manual) {
      EXPECT_EQ(status["manual"].toString(), c.manual);
    }
    EXPECT_EQ(status["release_notes"].isNull(), c.notes == nullptr);
    if (c.notes) {
      EXPECT_EQ(status["release_notes"].toString().trimmed(), c.notes);
    }
    EXPECT_EQ(transport.Operations(), c.asked);
  }
}

}  // namespace
