#pragma once
// CTServerService: the program-information service of aerolith-server, SOAP
// 1.1 in RPC style. A request's first element in the Body names the
// operation and its child elements are the parameters, found by local name,
// so any namespace prefixes work. The data comes from ROOT/service.json,
// read at start and again whenever its modification time changes:
//
//   {"programs": [{"name": "Aerolith.exe", "id": 7, "version": 720, "database": 143,
//     "glossaries": {"1031": 20261101},
//     "releaseNotes": "notes/release.rtf",
//     "manual": {"id": 3, "languages": {"1033": "manuals/en/Aerolith.pdf"}}}]}
//
// A file that does not read is reported on stderr and served as if empty:
// every program is unknown.

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QMutex>
#include <QString>

#include <memory>
#include <vector>

struct LTServiceProgram {
  QString szName;  // the program's file name, compared without letter case
  int nID = 0;
  int nVersion = 0;
  int nDatabase = 0;
  QHash<QString, qint64> glossaries;  // LCID as decimal text -> glossary version
  QString szReleaseNotes;             // relative to the served folder
  int nManualID = 0;
  QHash<QString, QString> manuals;  // LCID -> server-relative path
};

class CTServerService {
 public:
  static constexpr qsizetype kMaxRequestBytes = 64 * 1024;
  static constexpr const char* kSoapEnvelopeNs = "http://schemas.xmlsoap.org/soap/envelope/";
  static constexpr const char* kOperationNs = "urn:CorvelSvcIntf-ICorvelSvc";

  struct Reply {
    int nStatus = 200;  // 500 with a Fault
    QByteArray xml;
  };

  explicit CTServerService(const QString& szRoot);

  // Reads service.json when its time stamp differs from the last reading.
  void Reload();
  // From any thread.
  Reply Answer(const QByteArray& arRequest);

  // The upgrade number: 2 * program version + 20000 * database version + 1
  // for a newer glossary, each term only when newer than the client's and,
  // for the versions, between 1 and 9999.
  static int PackedUpgrades(const LTServiceProgram& program, int nGlosLanguage, int nCurrProgramVersion,
                            int nCurrDbVersion, int nCurrGlosVersion);

 private:
  using Programs = std::vector<LTServiceProgram>;
  std::shared_ptr<const Programs> Current();

  QString m_szRoot;
  QMutex m_mutex;
  std::shared_ptr<const Programs> m_pPrograms;
  QDateTime m_loadedStamp;
  qint64 m_nLoadedSize = -1;
  bool m_bLoadedOnce = false;
};
