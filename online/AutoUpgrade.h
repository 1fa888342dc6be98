#pragma once
// CTAutoUpgrade: what the start-up asks of the online services, as rules
// without windows: the count of starts of one build, the question whether
// anything newer exists, and the lines of the hint that says so.
// CTUpgradeQuestion asks that question on a thread of its own, so that the
// main window never waits for the service.
//
// The count lives under kUsageKey (current user): "Name" is the identity of
// the last start (version and catalogue version), "Used" the starts with
// that identity. A new build or catalogue restarts the count.

#include "online/CorvelSvcUtils.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <mutex>
#include <thread>

class CTCorvelSvc;
class QThread;

class CTAutoUpgrade {
 public:
  static constexpr const char* kUsageKey = "Software\\Norvane\\Hi-Trivane Selection\\Aerolith\\Version";

  // The identity of a start: the program's version, a blank, the
  // catalogue's version ("7.2.0 1.0.0").
  static QString RunCountID(const QString& szVersion, const QString& szCatalogueVersion) {
    return szVersion + QLatin1Char(' ') + szCatalogueVersion;
  }
  // Starts with this identity so far (letter case ignored); 0 when the last
  // start had another identity or nothing is stored.
  static int GetUsageCount(const QString& szRunCountID);
  // Records one more start; registry failures are ignored.
  static void CountStart(const QString& szRunCountID, int nCountBefore);

  // What the start-up asks the service, from what is installed.
  struct LTInstalled {
    int nProgramVersion = 0;    // 720 for 7.2.0
    QString szCatalogueVersion;  // the catalogue's version text; empty without one
    bool bHasGlossary = false;   // an interface glossary is in effect
    int nGlossaryDate = 0;       // its change date
    int nGlossaryLanguage = 0;   // its language
    int nStoredLanguage = 1033;  // the locale store's language
  };
  // What the service answered: its number of the program (0: unknown or no
  // answer), which the hint's release notes ask with, and the packed upgrade
  // number (0: nothing newer, or no answer).
  struct LTUpgradeAnswer {
    int nProgramID = 0;
    int nUpgradeInfo = 0;
  };
  // The question as it goes out: the client bound to the build's server
  // (none when the build has none) and the numbers it sends.
  struct LTUpgradeQuestion {
    std::shared_ptr<CTCorvelSvc> service;
    int nLanguage = 1033;
    int nProgramVersion = 0;
    int nDataVersion = 0;
    int nGlossaryDate = 1;
  };
  // Made on the thread that owns the build information and the server's
  // address (they are read here); its deadline of CTCorvelSvc::kDeadlineMs
  // runs from now.
  static LTUpgradeQuestion PrepareQuestion(const LTInstalled& installed);
  // Asks: the program's number, then the upgrade number, both within the
  // client's deadline. Touches only the client and the transport, so it may
  // run on any thread.
  static LTUpgradeAnswer Ask(const LTUpgradeQuestion& question);

  // The hint's text: "Please upgrade your copy of <title> (version ...)",
  // an empty line and a line for each novelty. bReleaseNotes: a program or
  // catalogue is new, so the release notes are worth a button.
  static QStringList HintLines(const QString& szAppTitle, const QString& szCatalogueVersion, int nUpgradeInfo,
                               bool& bReleaseNotes);
};

// The start-up's question on a thread of its own. The thread runs one
// exchange after another through the transport, each in a local event loop
// of that thread; quitting the thread's loops (QThread::quit on the thread
// as Qt knows it) makes the running exchange give up at once and every
// later one answer none without going out, so the destructor never waits
// for the service's time bound. A std::thread rather than a QThread: its
// join returns only once the thread's thread_local objects (the transport's
// connection manager) are gone, so nothing of it outlives its owner.
// The answer comes back to the thread that made the object, through its
// event loop, and never after the object is gone.
class CTUpgradeQuestion : public QObject {
  Q_OBJECT
 public:
  using TAnswered = std::function<void(const CTAutoUpgrade::LTUpgradeAnswer& answer)>;

  // Starts asking at once; fnAnswered runs on this object's thread.
  CTUpgradeQuestion(CTAutoUpgrade::LTUpgradeQuestion question, TAnswered fnAnswered, QObject* pParent = nullptr);
  // Cuts a question still asking and joins its thread.
  ~CTUpgradeQuestion() override;
  CTUpgradeQuestion(const CTUpgradeQuestion&) = delete;
  CTUpgradeQuestion& operator=(const CTUpgradeQuestion&) = delete;

  // The answer has been handed to fnAnswered (which has returned).
  bool Answered() const { return v_answered; }

 private:
  TAnswered v_fnAnswered;
  bool v_answered = false;
  std::mutex v_mutex;
  // Guarded by v_mutex: the asking thread as Qt knows it, set while it
  // asks; and whether the destructor has cut the question.
  QThread* v_asking = nullptr;
  bool v_cut = false;
  std::thread v_thread;  // last: started once everything above is made
};
