#pragma once
// For tests and benchmarks that start the main window: a start of this build
// and catalogue counted already in the registry store in effect, so the
// general terms of a first start do not wait for an answer. The download
// server should be one that refuses at once (NoServerToAsk), so the
// start-up's question about newer builds answers none without delay.

#include "online/AutoUpgrade.h"
#include "platform/VersionUtils.h"
#include "selection/CatalogueSession.h"

#include <QString>

inline void CountEarlierStart() {
  static const QString catalogueVersion = [] {
    CTCatalogueSession session;
    QString error;
    return session.OpenEmbedded(CTCatalogueSession::AutoCorrect::kOff, error) ? session.DataVersion() : QString();
  }();
  CTAutoUpgrade::CountStart(CTAutoUpgrade::RunCountID(CTVersionUtils::GetVersionString(), catalogueVersion), 1);
}

// Port 1 of the loopback address: nothing listens, the connection is refused.
inline void NoServerToAsk() { qputenv("AEROLITH_SERVER", "127.0.0.1:1"); }
