#pragma once
// The window's value labels and lists; the texts in them come from the
// library's ValueText.

#include "selection/ValueText.h"

#include <QLabel>
#include <QString>
#include <QStringList>
#include <QTreeWidget>

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

// A read-only list of computed rows under column titles: no tree, no
// selection.
inline QTreeWidget* NewValueList(QWidget* pParent, const QString& szName, const QStringList& headers) {
  auto* list = new QTreeWidget(pParent);
  list->setObjectName(szName);
  list->setHeaderLabels(headers);
  list->setRootIsDecorated(false);
  list->setSelectionMode(QAbstractItemView::NoSelection);
  return list;
}

}  // namespace ValueText
