#include "app/FormTranslation.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSet>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolButton>
#include <QTreeWidget>

#include "i18n/UnicodeGlossary.h"

namespace {

// Calls fnSet with the translation of szText when the glossary changes it.
template <class TSetter>
void Translate(const CTUnicodeGlossary& glos, const QString& szText, TSetter fnSet) {
  if (szText.isEmpty()) return;
  const QString translated = glos.Translated(szText);
  if (translated != szText) fnSet(translated);
}

// Fonts whose letters are pictures: a caption in them is not a word.
bool IsSymbolFont(const QFont& font) {
  const QString family = font.family();
  return family.compare(QLatin1String("Symbol"), Qt::CaseInsensitive) == 0 ||
         family.startsWith(QLatin1String("Wingdings"), Qt::CaseInsensitive) ||
         family.compare(QLatin1String("Webdings"), Qt::CaseInsensitive) == 0;
}

// pObj and what it owns, each before its children; a widget's actions
// follow it, and a menu reached through an action or a button is visited
// like a child. Shared actions and menus come once.
void Collect(QObject* pObj, QList<QObject*>& order, QSet<QObject*>& seen) {
  if (!pObj || seen.contains(pObj)) return;
  seen.insert(pObj);
  order << pObj;
  if (auto* action = qobject_cast<QAction*>(pObj)) {
    Collect(action->menu(), order, seen);
    return;
  }
  auto* widget = qobject_cast<QWidget*>(pObj);
  if (!widget) return;
  for (QAction* action : widget->actions()) Collect(action, order, seen);
  if (auto* button = qobject_cast<QPushButton*>(widget)) Collect(button->menu(), order, seen);
  if (auto* button = qobject_cast<QToolButton*>(widget)) Collect(button->menu(), order, seen);
  for (QObject* child : widget->children())
    if (child->isWidgetType() || qobject_cast<QAction*>(child)) Collect(child, order, seen);
}

void TranslateHints(const CTUnicodeGlossary& glos, QObject* pObj) {
  if (auto* action = qobject_cast<QAction*>(pObj)) {
    Translate(glos, action->toolTip(), [action](const QString& s) { action->setToolTip(s); });
    Translate(glos, action->statusTip(), [action](const QString& s) { action->setStatusTip(s); });
    return;
  }
  auto* widget = qobject_cast<QWidget*>(pObj);
  if (!widget) return;
  Translate(glos, widget->toolTip(), [widget](const QString& s) { widget->setToolTip(s); });
  Translate(glos, widget->statusTip(), [widget](const QString& s) { widget->setStatusTip(s); });
  if (auto* tabs = qobject_cast<QTabBar*>(widget))
    for (int i = 0; i < tabs->count(); ++i)
      Translate(glos, tabs->tabToolTip(i), [tabs, i](const QString& s) { tabs->setTabToolTip(i, s); });
}

// Each line that is a term becomes its translation in the format it had; a
// line mixing formats is left alone. The change is not undoable and leaves
// the modified mark as it was.
void TranslateLines(const CTUnicodeGlossary& glos, QTextDocument* pDoc) {
  const bool bModified = pDoc->isModified();
  const bool bUndo = pDoc->isUndoRedoEnabled();
  for (QTextBlock block = pDoc->begin(); block.isValid(); block = block.next()) {
    QTextBlock::iterator fragments = block.begin();
    if (fragments.atEnd()) continue;  // an empty line
    const QTextCharFormat format = fragments.fragment().charFormat();
    if (!(++fragments).atEnd()) continue;
    Translate(glos, block.text(), [&](const QString& s) {
      pDoc->setUndoRedoEnabled(false);
      QTextCursor cursor(block);
      cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
      cursor.insertText(s, format);
    });
  }
  if (pDoc->isUndoRedoEnabled() != bUndo) pDoc->setUndoRedoEnabled(bUndo);
  pDoc->setModified(bModified);
}

void TranslateNameFilters(const CTUnicodeGlossary& glos, QFileDialog& dialog) {
  const QStringList filters = dialog.nameFilters();
  QStringList translated;
  for (const QString& filter : filters) translated << glos.Translated(filter);
  if (translated == filters) return;
  const qsizetype selected = filters.indexOf(dialog.selectedNameFilter());
  dialog.setNameFilters(translated);
  if (selected >= 0) dialog.selectNameFilter(translated.at(selected));
}

void TranslateCaptions(const CTUnicodeGlossary& glos, QObject* pObj) {
  if (auto* action = qobject_cast<QAction*>(pObj)) {
    Translate(glos, action->text(), [action](const QString& s) { action->setText(s); });
    return;
  }
  auto* widget = qobject_cast<QWidget*>(pObj);
  if (!widget || IsSymbolFont(widget->font())) return;
  Translate(glos, widget->windowTitle(), [widget](const QString& s) { widget->setWindowTitle(s); });
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
    Translate(glos, button->text(), [button](const QString& s) { button->setText(s); });
  } else if (auto* label = qobject_cast<QLabel*>(widget)) {
    Translate(glos, label->text(), [label](const QString& s) { label->setText(s); });
  } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
    Translate(glos, group->title(), [group](const QString& s) { group->setTitle(s); });
  } else if (auto* tabs = qobject_cast<QTabBar*>(widget)) {
    for (int i = 0; i < tabs->count(); ++i)
      Translate(glos, tabs->tabText(i), [tabs, i](const QString& s) { tabs->setTabText(i, s); });
  } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
    const QSignalBlocker quiet(combo);
    for (int i = 0; i < combo->count(); ++i)
      Translate(glos, combo->itemText(i), [combo, i](const QString& s) { combo->setItemText(i, s); });
  } else if (auto* list = qobject_cast<QListWidget*>(widget)) {
    const QSignalBlocker quiet(list);
    for (int i = 0; i < list->count(); ++i) {
      QListWidgetItem* item = list->item(i);
      Translate(glos, item->text(), [item](const QString& s) { item->setText(s); });
    }
  } else if (auto* tree = qobject_cast<QTreeWidget*>(widget)) {
    QTreeWidgetItem* header = tree->headerItem();
    for (int column = 0; header && column < header->columnCount(); ++column)
      Translate(glos, header->text(column), [header, column](const QString& s) { header->setText(column, s); });
  } else if (auto* plain = qobject_cast<QPlainTextEdit*>(widget)) {
    TranslateLines(glos, plain->document());
  } else if (auto* memo = qobject_cast<QTextEdit*>(widget)) {
    TranslateLines(glos, memo->document());
  } else if (auto* files = qobject_cast<QFileDialog*>(widget)) {
    TranslateNameFilters(glos, *files);
  }
}

}  // namespace

void TranslateFormAtRuntime(const CTUnicodeGlossary& glossary, QWidget* pTop) {
  QList<QObject*> order;
  QSet<QObject*> seen;
  Collect(pTop, order, seen);
  for (QObject* obj : order) TranslateHints(glossary, obj);
  for (QObject* obj : order) TranslateCaptions(glossary, obj);
}

void TranslateFileDialog(const CTUnicodeGlossary& glossary, QFileDialog& dialog) {
  Translate(glossary, dialog.windowTitle(), [&dialog](const QString& s) { dialog.setWindowTitle(s); });
  TranslateNameFilters(glossary, dialog);
}
