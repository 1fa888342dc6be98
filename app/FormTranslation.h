#pragma once
// Run-time translation of a window and everything it owns through the
// user-interface glossary: the dialogs call it from their loaded hook.
//
// Two passes over pTop and its descendants (each widget before its
// children, in child order; the actions of a widget right after it):
//   1. hints: tool tip and status tip of every widget and action;
//   2. captions, by class: button, label and action texts, group-box and
//      window titles, tab texts, combo-box and list-widget items (the current
//      index kept), tree-widget column titles, the lines of plain-text memos,
//      file-dialog name filters.
// A widget drawn in a symbol font keeps its captions, as they are glyphs
// rather than words; its hints are still translated. Every text follows the
// glossary's rule: exactly one non-empty translation, else it stays English.

class CTUnicodeGlossary;
class QFileDialog;
class QWidget;

void TranslateFormAtRuntime(const CTUnicodeGlossary& glossary, QWidget* pTop);
// The title and the name filters of a file dialog made outside a translated
// window; the selected filter stays selected.
void TranslateFileDialog(const CTUnicodeGlossary& glossary, QFileDialog& dialog);
