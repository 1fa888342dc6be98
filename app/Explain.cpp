#include "app/Explain.h"

#include "selection/Explanations.h"

#include <QCursor>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int kMemoWidth = 460;  // pixels at 96 ppi

std::function<void(int)>& ShowHook() {
  static std::function<void(int)> hook;
  return hook;
}

}  // namespace

TFrm_Explain::TFrm_Explain(QWidget* pOwner, int nTopicID, const CTCatalogueSession* pSession)
    : TBasicDialog(pOwner, false), v_topicID(nTopicID) {
  setObjectName(QStringLiteral("TFrm_Explain"));
  const LTExplanation text = CTExplanations::Topic(nTopicID, pSession);
  setWindowTitle(text.caption);
  auto* layout = new QVBoxLayout(this);
  Mmo_Explain = new QPlainTextEdit(this);
  Mmo_Explain->setObjectName(QStringLiteral("Mmo_Explain"));
  Mmo_Explain->setReadOnly(true);
  Mmo_Explain->setPlainText(text.lines.join(QLatin1Char('\n')));
  Mmo_Explain->setMinimumWidth(kMemoWidth * logicalDpiX() / 96);
  // As high as the text wrapped at that width.
  const int lineHeight = Mmo_Explain->fontMetrics().lineSpacing();
  int lines = 0;
  for (const QString& line : text.lines)
    lines += 1 + Mmo_Explain->fontMetrics().horizontalAdvance(line) / Mmo_Explain->minimumWidth();
  Mmo_Explain->setMinimumHeight((lines + 1) * lineHeight + 8);
  layout->addWidget(Mmo_Explain, 1);
  auto* bottom = new QHBoxLayout;
  bottom->addStretch(1);
  auto* close = new QPushButton(QStringLiteral("&Close"), this);
  close->setObjectName(QStringLiteral("Btn_OK"));
  bottom->addWidget(close);
  layout->addLayout(bottom);
  connect(close, &QPushButton::clicked, this, [this] { Btn_OKClick(); });
  Loaded();
  adjustSize();
  setMinimumSize(size());
}

void TFrm_Explain::Explain(QWidget* pOwner, int nTopicID, const CTCatalogueSession* pSession) {
  if (nTopicID < 0 || nTopicID >= CTExplanations::kTopicCount) return;
  if (ShowHook()) return ShowHook()(nTopicID);
  TFrm_Explain window(pOwner, nTopicID, pSession);
  // At the pointer when it fits on that screen, else centred on it.
  const QPoint at = QCursor::pos();
  if (const QScreen* screen = QGuiApplication::screenAt(at)) {
    const QRect area = screen->availableGeometry();
    QRect frame(at, window.size());
    if (!area.contains(frame)) frame.moveCenter(area.center());
    window.move(frame.topLeft());
  }
  window.Execute();
}

QToolButton* TFrm_Explain::NewInfoButton(QWidget* pParent, const QString& szName, std::function<void()> fnClick) {
  auto* button = new QToolButton(pParent);
  button->setObjectName(szName);
  button->setIcon(pParent->style()->standardIcon(QStyle::SP_MessageBoxInformation));
  button->setAutoRaise(true);
  button->setToolTip(QStringLiteral("Explains this value"));
  QObject::connect(button, &QToolButton::clicked, pParent, std::move(fnClick));
  return button;
}

void TFrm_Explain::SetShowHook(std::function<void(int)> fnHook) { ShowHook() = std::move(fnHook); }
