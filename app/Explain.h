#pragma once
// The explanation window the information buttons open: a topic's caption
// and text, and a Close button.

#include "app/BasicDlg.h"

#include <functional>

class CTCatalogueSession;
class QPlainTextEdit;
class QToolButton;

class TFrm_Explain : public TBasicDialog {
  Q_OBJECT
 public:
  TFrm_Explain(QWidget* pOwner, int nTopicID, const CTCatalogueSession* pSession);
  // Runs the window for topics 0 to 7; any other number opens nothing.
  static void Explain(QWidget* pOwner, int nTopicID, const CTCatalogueSession* pSession = nullptr);
  // Tests: called with the topic instead of running the window (none: run it).
  static void SetShowHook(std::function<void(int nTopicID)> fnHook);
  // A small information button that runs fnClick.
  static QToolButton* NewInfoButton(QWidget* pParent, const QString& szName, std::function<void()> fnClick);

  QPlainTextEdit* Mmo_Explain = nullptr;
  int v_topicID = 0;
};
