#pragma once
// The window's value labels; the texts in them come from the library's
// ValueText.

#include "selection/ValueText.h"

#include <QLabel>
#include <QString>

namespace ValueText {
// A value label: the window shows computed values in blue.
inline QLabel* NewValueLabel(QWidget* pParent, const QString& szName) {
  auto* label = new QLabel(pParent);
  label->setObjectName(szName);
  label->setStyleSheet(QStringLiteral("color: #0000c0;"));
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("-888.88 BTU/lbs")));
  return label;
}

}  // namespace ValueText
