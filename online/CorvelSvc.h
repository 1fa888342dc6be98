#pragma once
// CTCorvelSvc: the client of the program-information service, SOAP 1.1 in
// RPC style over CTTransport.
//
// Request (POST to "svc/CorvelSvc.dll/soap/ICorvelSvc", SOAPAction
// "urn:CorvelSvcIntf-ICorvelSvc#<operation>"):
//   <SOAP-ENV:Envelope xmlns:SOAP-ENV=".../soap/envelope/" xmlns:xsd xmlns:xsi xmlns:SOAP-ENC>
//    <SOAP-ENV:Body SOAP-ENV:encodingStyle=".../soap/encoding/">
//     <NS1:ProgramID xmlns:NS1="urn:CorvelSvcIntf-ICorvelSvc">
//      <szName xsi:type="xsd:string">ofjb...</szName>
//     </NS1:ProgramID></SOAP-ENV:Body></SOAP-ENV:Envelope>
// Answer: the Body's first element is "<operation>Response" whose first
// element (of any name) holds the result as text; a Fault, another element
// or a result of the wrong type is no answer.
//
// All calls of one client share one deadline (5 s from its creation), so a
// question of several calls never waits longer than that.

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QString>

#include <memory>
#include <optional>
#include <utility>

class CTCorvelSvc {
 public:
  static constexpr const char* kNamespace = "urn:CorvelSvcIntf-ICorvelSvc";
  static constexpr const char* kEndpoint = "svc/CorvelSvc.dll/soap/ICorvelSvc";
  static constexpr int kDeadlineMs = 5000;
  static constexpr qint64 kMaxAnswer = 4 * 1024 * 1024;

  explicit CTCorvelSvc(QString szURL, int nDeadlineMs = kDeadlineMs);

  std::optional<int> ProgramID(const QString& szName);
  std::optional<int> HasUpgrades(int nProgramID, int nGlosLanguage, int nCurrProgramVersion, int nCurrDbVersion,
                                 int nCurrGlosVersion);
  std::optional<QString> ReleaseNotes(int nProgramID);
  std::optional<int> HasManual(int nProgramID);
  std::optional<QString> ManualInfo(int nManualID);
  std::optional<QString> TransManualInfo(int nManualID, int nLangID);

  // One argument of an operation: name and either a string or an integer.
  struct LTArgument {
    QString szName;
    QString szText;
    bool bInteger = false;
  };
  static QByteArray Envelope(const QString& szOperation, const QList<LTArgument>& arguments);
  // The result text of an answer to szOperation; none for a fault or
  // anything that is not such an answer.
  static std::optional<QString> ParseAnswer(const QByteArray& arAnswer, const QString& szOperation);
  static std::optional<int> ParseInteger(const std::optional<QString>& result);

  const QString& URL() const { return v_url; }

 private:
  std::optional<QString> Call(const QString& szOperation, const QList<LTArgument>& arguments);

  QString v_url;
  int v_deadlineMs;
  QElapsedTimer v_clock;
};

// A client bound to the build's server; none when the build has no server.
std::unique_ptr<CTCorvelSvc> GetCorvelSvc();
