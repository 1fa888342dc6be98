// Run-time translation of a small window: which texts of which widgets
// change, and which stay English.

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTreeWidget>

#include "app/FormTranslation.h"
#include "i18n/UnicodeGlossary.h"

namespace {

CTUnicodeGlossary German() {
  CTUnicodeGlossary glos;
  glos.SetTargetLanguage(1031);
  for (const auto& [term, translation] : std::initializer_list<std::pair<const char*, const char*>>{
           {"Options", "Optionen"},
           {"&Close", "&Schließen"},
           {"Closes the window", "Schließt das Fenster"},
           {"Airflow", "Luftmenge"},
           {"Fan", "Ventilator"},
           {"Summer", "Sommer"},
           {"Winter", ""},  // untranslated
           {"Apply", "Anwenden"},
           {"Apply", "Übernehmen"},  // two translations: stays English
           {"Glossary files (*.xml)", "Glossardateien (*.xml)"},
       })
    glos.AddTermNoNonsense(term, translation);
  return glos;
}

}  // namespace

TEST(FormTranslation, TranslatesCaptionsByClassAndHints) {
  QWidget form;
  form.setWindowTitle("Options");
  auto* close = new QPushButton("&Close", &form);
  close->setToolTip("Closes the window");
  auto* apply = new QPushButton("Apply", &form);
  auto* label = new QLabel("Airflow", &form);
  label->setStatusTip("Fan");
  auto* group = new QGroupBox("Fan", &form);
  auto* combo = new QComboBox(group);
  combo->addItems({"Summer", "Winter", "Fan"});
  combo->setCurrentIndex(2);
  auto* list = new QListWidget(group);
  list->addItems({"Apply", "Airflow"});
  auto* tree = new QTreeWidget(group);
  tree->setHeaderLabels({"Fan", "Airflow", "Pressure"});
  auto* tabs = new QTabWidget(&form);
  tabs->addTab(new QWidget, "Summer");
  auto* memo = new QPlainTextEdit("Airflow\nWinter\n\nFan", &form);
  auto* action = new QAction("&Close", &form);
  action->setToolTip("Closes the window");
  form.addAction(action);
  QSignalSpy comboChanges(combo, &QComboBox::currentTextChanged);

  TranslateFormAtRuntime(German(), &form);

  EXPECT_EQ(form.windowTitle(), "Optionen");
  EXPECT_EQ(close->text(), "&Schließen");
  EXPECT_EQ(close->toolTip(), "Schließt das Fenster");
  EXPECT_EQ(apply->text(), "Apply");
  EXPECT_EQ(label->text(), "Luftmenge");
  EXPECT_EQ(label->statusTip(), "Ventilator");
  EXPECT_EQ(group->title(), "Ventilator");
  EXPECT_EQ(combo->itemText(0), "Sommer");
  EXPECT_EQ(combo->itemText(1), "Winter");
  EXPECT_EQ(combo->currentIndex(), 2);
  EXPECT_EQ(combo->currentText(), "Ventilator");
  EXPECT_EQ(comboChanges.count(), 0);
  EXPECT_EQ(list->item(0)->text(), "Apply");
  EXPECT_EQ(list->item(1)->text(), "Luftmenge");
  EXPECT_EQ(tree->headerItem()->text(0), "Ventilator");
  EXPECT_EQ(tree->headerItem()->text(1), "Luftmenge");
  EXPECT_EQ(tree->headerItem()->text(2), "Pressure");
  EXPECT_EQ(tabs->tabText(0), "Sommer");
  EXPECT_EQ(memo->toPlainText(), "Luftmenge\nWinter\n\nVentilator");
  EXPECT_FALSE(memo->document()->isModified());
  EXPECT_FALSE(memo->document()->isUndoAvailable());
  EXPECT_EQ(action->text(), "&Schließen");
  EXPECT_EQ(action->toolTip(), "Schließt das Fenster");
}

TEST(FormTranslation, SymbolFontKeepsItsCaptionButNotItsHint) {
  QWidget form;
  auto* arrows = new QPushButton("Fan", &form);
  arrows->setFont(QFont("Symbol"));
  arrows->setToolTip("Closes the window");
  auto* glyph = new QLabel("Airflow", &form);
  glyph->setFont(QFont("Wingdings"));
  auto* word = new QLabel("Airflow", &form);

  TranslateFormAtRuntime(German(), &form);

  EXPECT_EQ(arrows->text(), "Fan");
  EXPECT_EQ(arrows->toolTip(), "Schließt das Fenster");
  EXPECT_EQ(glyph->text(), "Airflow");
  EXPECT_EQ(word->text(), "Luftmenge");
}

TEST(FormTranslation, FileDialogKeepsTheSelectedFilter) {
  QFileDialog dialog(nullptr, "Options");
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setNameFilters({"All files (*)", "Glossary files (*.xml)"});
  dialog.selectNameFilter("Glossary files (*.xml)");

  TranslateFileDialog(German(), dialog);

  EXPECT_EQ(dialog.windowTitle(), "Optionen");
  EXPECT_EQ(dialog.nameFilters(), (QStringList{"All files (*)", "Glossardateien (*.xml)"}));
  EXPECT_EQ(dialog.selectedNameFilter(), "Glossardateien (*.xml)");
}
