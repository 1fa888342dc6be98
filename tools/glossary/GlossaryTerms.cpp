// aerolith-glossary-terms: the English texts the program shows, as the terms
// of its two glossaries, so that a translator only adds what is new.
//
//   aerolith-glossary-terms [--catalogue]                   the terms, one a line
//   aerolith-glossary-terms [--catalogue] --merge OLD.xml --out NEW.xml [--language ID]
//   aerolith-glossary-terms --check FILE...
//
// Without --catalogue the terms are those of the interface glossary
// (UIGlossaryXML.xml): the captions, hints, list headers and memo lines of
// the main window, visited family by family and page by page, and of every
// dialog (the online ones made without being shown, so that no server is
// asked); the message table; the conditions of use and the notice on data
// processing as written; the display literals of the libraries, read from
// their sources (kLiteralSources). With
// --catalogue they are the catalogue's multilingual texts
// (CentralGlossary.xml).
//
// --merge writes NEW.xml with every term, each with the translation OLD.xml
// has for it (empty when it has none), ordered by term; terms of OLD.xml that
// are no longer shown are left out and counted. The language is OLD.xml's
// unless --language names one.
//
// --check reads each glossary file and names what would show wrongly: a term
// with two entries (it stays English on forms), a translation whose $n or %n
// placeholders, accelerator ampersands or leading blanks differ from its
// term's; untranslated terms are counted. Exit 1 when a file is unreadable or
// has such a fault.
//
// --sources DIR names the source tree the literals are read from (default:
// the tree this program was built from). The windows are made offscreen with
// a settings folder of their own, English chosen in it; nothing of the
// user's is read or written, and no server is asked.
//
// Left out: values (numbers, units, paths, the program's version), lists of
// data (countries, languages, heater options with their power, candidates
// and options in the lists), texts in capitals only, and the lines of the
// explanations and conditions of use as shown with names put in (their
// sources are read as written instead).
//
// Refreshing the program's glossaries, from the source tree (G standing for
// resources/glossaries/1031, and the same for 1036):
//   aerolith-glossary-terms --merge G/UIGlossaryXML.xml --out G/UIGlossaryXML.xml
//   aerolith-glossary-terms --catalogue --merge G/CentralGlossary.xml --out G/CentralGlossary.xml
//   aerolith-glossary-terms --check resources/glossaries/*/*.xml

#include "app/AboutBox.h"
#include "app/ApplicationUtils.h"
#include "app/ApproveTranslation.h"
#include "app/BaseMsgDialog.h"
#include "app/DeviceLinks.h"
#include "app/Disclaimer.h"
#include "app/DlgPrintParams.h"
#include "app/Explain.h"
#include "app/FrmConfiguration.h"
#include "app/LocaleChoice.h"
#include "app/Preferences.h"
#include "app/Privacy.h"
#include "app/DlgSelect.h"
#include "app/Upgrade.h"
#include "app/UpgradeHint.h"
#include "docs/GeneralTerms.h"
#include "docs/Glossaries.h"
#include "docs/GlossaryIO.h"
#include "i18n/BaseMsgMan.h"
#include "i18n/LangSupport.h"
#include "i18n/MsgMan.h"
#include "i18n/UnicodeGlossary.h"
#include "online/AutoUpgrade.h"
#include "online/DeviceLinks.h"
#include "online/PrivacyNotice.h"
#include "platform/Registry.h"
#include "platform/VersionUtils.h"
#include "psychro/SI_Units.h"
#include "selection/CatalogueSession.h"
#include "selection/Explanations.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextStream>
#include <QTreeWidget>

#include <algorithm>

#ifndef AEROLITH_SOURCE_DIR
#define AEROLITH_SOURCE_DIR "."
#endif

namespace {

// The sources whose string literals are texts for the screen or documents
// that no window holds: result blocks, explanations, the report, the unit's
// data sheet, chart titles, file dialogs, messages written out in full and
// the templates of texts that windows show with a value put in, the names
// of option types and of filter classes in messages; the online windows'
// messages, questions, wait texts, list cells and upgrade hint lines, the
// device information's rows and the notice on data processing; the words
// of aerolith-cli's own output and option errors; the ecodesign information
// sheet, its verdicts and the names of the sound paths; why a unit's year
// cannot be worked out and the Annual Energy tab's messages.
const char* const kLiteralSources[] = {
    "selection/ResultTexts.cpp", "selection/Explanations.cpp", "selection/SelectionForm.cpp", "docs/Report.cpp",
    "selection/UnitDatasheet.cpp", "charts/ChartSetup.cpp", "catalogue/OptionTypes.cpp",
    "catalogue/CheckMessages.cpp", "app/ProjectFiles.cpp", "app/DlgPrintParams.cpp",
    "app/LocaleChoice.cpp", "app/ApproveTranslation.cpp", "app/ApplicationUtils.cpp",
    "app/AboutBox.cpp", "app/DeviceLinks.cpp", "app/Upgrade.cpp",
    "app/UpgradeHint.cpp", "app/Privacy.cpp", "app/Conditions.cpp",
    "app/OnlineCommands.cpp", "online/AboutInfo.cpp", "online/DeviceLinks.cpp",
    "online/AutoUpgrade.cpp", "online/UpgradeSteps.cpp", "online/PrivacyNotice.cpp",
    "cli/CliTexts.cpp", "selection/Ecodesign.cpp", "selection/AnnualEnergy.cpp", "selection/AnnualInputs.cpp",
    "app/AnnualPage.cpp",
};

// Literals of those sources that are names of stored values, folders,
// query fields or objects, units written after a value, the log's words
// for what failed (never shown), the names and addresses of the maker and
// the developer, and web and mail addresses.
const QSet<QString> kNotShown = {
    QStringLiteral("First Name"),
    QStringLiteral("Last Name"),
    QStringLiteral("Email"),
    QStringLiteral("Logos"),
    QStringLiteral(" kW/(m³/s), SFP "),
    // Sound units after a level or a band's frequency.
    QStringLiteral(" Hz"),
    QStringLiteral(" dB(A)"),
    QStringLiteral("dB(A)"),
    QStringLiteral(" (dB)"),
    // Energy, power and mass units after a value or a title.
    QStringLiteral(" (kWh)"),
    QStringLiteral(" (kW)"),
    QStringLiteral(" kg"),
    // The prefix of a demonstration climate's text in a project.
    QStringLiteral("demo:"),
    // The words of a schedule and of the prices as typed and stored
    // ("07-19,mon-fri", "heat=0.10,cop=3"): a syntax, the same in every
    // language.
    QStringLiteral("always"),
    QStringLiteral("none"),
    QStringLiteral("mon"),
    QStringLiteral("tue"),
    QStringLiteral("wed"),
    QStringLiteral("thu"),
    QStringLiteral("fri"),
    QStringLiteral("sat"),
    QStringLiteral("sun"),
    QStringLiteral("heat"),
    QStringLiteral("efficiency"),
    QStringLiteral("cop"),
    QStringLiteral("electricity"),
    QStringLiteral("heat-co2"),
    QStringLiteral("electricity-co2"),
    // Stored values, query fields and folders.
    QStringLiteral("Name"),
    QStringLiteral("Used"),
    QStringLiteral("name"),
    QStringLiteral("series"),
    QStringLiteral("country"),
    QStringLiteral("type"),
    QStringLiteral("caller"),
    QStringLiteral("page"),
    QStringLiteral("aerolith-upgrade-XXXXXX"),
    QStringLiteral("scripts/corvel_get_versions_multi.asp?"),
    QStringLiteral("scripts/show_doc.asp?"),
    QStringLiteral("mailto:"),
    QStringLiteral("Address"),
    QStringLiteral("Web"),
    QStringLiteral("<a href=\"%1\">%2</a>"),
    // The log's.
    QStringLiteral("%s failed: %s"),
    QStringLiteral("%s failed"),
    QStringLiteral("Opening a link"),
    QStringLiteral("Opening %s failed"),
    QStringLiteral("The conditions of use"),
    QStringLiteral("The upgrade window"),
    QStringLiteral("The save dialog"),
    QStringLiteral("The catalogue's version"),
    QStringLiteral("Starting the updater"),
    QStringLiteral("Ending the program"),
    QStringLiteral("The upgrade window failed: %s"),
    QStringLiteral("The upgrade window failed"),
    // Who makes and who develops the program, as the about box shows them.
    QStringLiteral("Norvane"),
    QStringLiteral("Norvane Climate Systems Ltd."),
    QStringLiteral("Fjordgate 14"),
    QStringLiteral("4012 Halvik"),
    QStringLiteral("Republic of Veldmark"),
    QStringLiteral("Aerolith development team"),
    QStringLiteral("Selection Software Group"),
    QStringLiteral("Kaiveien 3"),
    QStringLiteral("4015 Halvik"),
};

// Labels that show values (a path, a file, the program's name and version,
// the catalogue's, the distributor, who makes and who develops the program,
// their addresses and links), not captions.
const QSet<QString> kValueLabels = {
    QStringLiteral("Lbl_Dimension"),        QStringLiteral("Lbl_PageCaption"),      QStringLiteral("Lbl_ProgramName"),
    QStringLiteral("Lbl_Language"),         QStringLiteral("Lbl_ProjectPath"),      QStringLiteral("Lbl_ReportPath"),
    QStringLiteral("Lbl_Product"),          QStringLiteral("Lbl_Version"),          QStringLiteral("Lbl_Database"),
    QStringLiteral("Lbl_Distributor"),      QStringLiteral("Lbl_MakerName"),        QStringLiteral("Lbl_MakerAddress"),
    QStringLiteral("Lbl_MakerWeb"),         QStringLiteral("Lbl_MakerEmail"),       QStringLiteral("Lbl_DeveloperName"),
    QStringLiteral("Lbl_DeveloperAddress"), QStringLiteral("Lbl_DeveloperWeb"),     QStringLiteral("Lbl_DeveloperEmail"),
    QStringLiteral("Lbl_Server"),           QStringLiteral("Lbl_Program"),          QStringLiteral("Lbl_Configuration"),
    QStringLiteral("Lbl_Downloading"),
};

// Lists of data: countries and languages in their English names (filled
// after the dialog's translation ran), heater options with their power,
// evaporating temperatures, the climates by the names their weather gives
// (the entry that opens a file is read from the tab's source).
const QSet<QString> kDataLists = {QStringLiteral("Cbx_Country"), QStringLiteral("Cbx_Language"),
                                  QStringLiteral("Txt_HeaterOptions"), QStringLiteral("Txt_TETemp"),
                                  QStringLiteral("Cbx_Climate")};

// Messages the windows show while they are visited (a family whose default
// pressure no unit reaches): nobody reads them, nothing is answered.
class QuietPresenter final : public IMessagePresenter {
 public:
  int ShowMessage(const CTMessageRequest&) override { return mrCancel; }
  bool EditString(const CTMessageRequest&, QString&) override { return false; }
};

// The terms in the order they were found, each once.
class TermList {
 public:
  void Add(const QString& szText) {
    if (szText.trimmed().isEmpty() || v_seen.contains(szText)) return;
    v_seen.insert(szText);
    v_terms << szText;
  }
  const QStringList& Terms() const { return v_terms; }

 private:
  QStringList v_terms;
  QSet<QString> v_seen;
};

// Every caption of every display unit ("l/s", "°C", ...): shown as they are.
const QSet<QString>& UnitSymbols() {
  static const QSet<QString> symbols = [] {
    QSet<QString> set;
    for (int unit = 1; unit < kUnitCount; ++unit)
      if (const CTUnitData* data = TU_Form::Unit(unit))
        for (const auto& dim : data->v_Dimensions) set.insert(dim->v_Caption);
    return set;
  }();
  return symbols;
}

// Whether a text is words a translator translates. Not: numbers and values
// (they begin with a digit or a sign and hold no word of three small
// letters; "1. The ambient ..." does), formats ("%1 x %2"), unit symbols,
// texts in capitals only (abbreviations, model names, filter classes; but
// W×H×D stands for words and "&OK" is a button's caption), file names and
// suffixes, keys that are identifiers ("Fld_ID", "EffC"), registry and file
// paths ("kg/h" reads as one), e-mail and web addresses.
bool IsWords(const QString& szText) {
  static const QRegularExpression valueStart(QStringLiteral("^[-+−]?[.,]?\\d"));
  static const QRegularExpression smallWord(QStringLiteral("\\p{Ll}{3}"));
  static const QRegularExpression placeholder(QStringLiteral("[$%][0-9A-F]"));
  static const QRegularExpression twoLetters(QStringLiteral("\\p{L}{2}"));
  static const QRegularExpression identifier(QStringLiteral("^[\\w%]*(_|[a-z][A-Z])[\\w%]*$"));
  static const QRegularExpression fileName(QStringLiteral("^[\\w-]*\\.[a-z]{2,4}$"));
  static const QRegularExpression path(QStringLiteral("^[\\w.-]*(/[\\w.-]+)+$"));
  const QString text = szText.trimmed();
  if (text.isEmpty() || UnitSymbols().contains(text)) return false;
  if (valueStart.match(text).hasMatch() && !smallWord.match(text).hasMatch()) return false;
  const bool lower = std::any_of(text.begin(), text.end(), [](QChar c) { return c.isLower(); });
  const bool letter = std::any_of(text.begin(), text.end(), [](QChar c) { return c.isLetter(); });
  const bool wordsInCapitals = letter && (text.contains(u'×') || text.startsWith(u'&'));
  if (!lower && !wordsInCapitals) return false;
  if (!QString(text).remove(placeholder).contains(twoLetters) && !text.contains(u'×')) return false;
  if (identifier.match(text).hasMatch() || fileName.match(text).hasMatch() || text.contains(u'\\')) return false;
  const bool address = text.contains(u'@') || text.contains(QLatin1String("://")) || path.match(text).hasMatch();
  return text.contains(u' ') || !address;
}

void AddIfWords(TermList& terms, const QString& szText) {
  if (IsWords(szText)) terms.Add(szText);
}

// Each line of a memo that is one run of text, as the form translation
// looks it up.
void AddLines(TermList& terms, const QTextDocument* pDoc) {
  for (QTextBlock block = pDoc->begin(); block.isValid(); block = block.next()) {
    QTextBlock::iterator fragments = block.begin();
    if (fragments.atEnd() || !(++fragments).atEnd()) continue;  // empty, or formats mixed
    AddIfWords(terms, block.text());
  }
}

bool IsSymbolFont(const QFont& font) {
  const QString family = font.family();
  return family.compare(QLatin1String("Symbol"), Qt::CaseInsensitive) == 0 ||
         family.startsWith(QLatin1String("Wingdings"), Qt::CaseInsensitive) ||
         family.compare(QLatin1String("Webdings"), Qt::CaseInsensitive) == 0;
}

// The texts the form translation translates, of pTop and everything below it.
void AddWidgetTexts(TermList& terms, QWidget* pTop) {
  QList<QWidget*> widgets{pTop};
  widgets << pTop->findChildren<QWidget*>();
  for (QWidget* widget : widgets) {
    AddIfWords(terms, widget->toolTip());
    AddIfWords(terms, widget->statusTip());
    // The main window's caption is the program's and the catalogue's version.
    if (widget->isWindow() && !qobject_cast<QMainWindow*>(widget)) AddIfWords(terms, widget->windowTitle());
    if (IsSymbolFont(widget->font()) || kDataLists.contains(widget->objectName())) continue;
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
      AddIfWords(terms, button->text());
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
      const QString name = label->objectName();
      if (!name.startsWith(QLatin1String("Txt_")) && !kValueLabels.contains(name)) AddIfWords(terms, label->text());
    } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
      AddIfWords(terms, group->title());
    } else if (auto* tabs = qobject_cast<QTabBar*>(widget)) {
      for (int i = 0; i < tabs->count(); ++i) {
        AddIfWords(terms, tabs->tabText(i));
        AddIfWords(terms, tabs->tabToolTip(i));
      }
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
      for (int i = 0; i < combo->count(); ++i) AddIfWords(terms, combo->itemText(i));
    } else if (auto* list = qobject_cast<QListWidget*>(widget)) {
      for (int i = 0; i < list->count(); ++i) AddIfWords(terms, list->item(i)->text());
    } else if (auto* tree = qobject_cast<QTreeWidget*>(widget)) {
      const QTreeWidgetItem* header = tree->headerItem();
      for (int column = 0; header && column < header->columnCount(); ++column) AddIfWords(terms, header->text(column));
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(widget)) {
      AddLines(terms, plain->document());
    } else if (auto* memo = qobject_cast<QTextEdit*>(widget)) {
      AddLines(terms, memo->document());
    }
  }
  for (QAction* action : pTop->findChildren<QAction*>()) {
    AddIfWords(terms, action->text());
    AddIfWords(terms, action->toolTip());
    AddIfWords(terms, action->statusTip());
  }
}

// The main window on every family and every page, with the configuration
// window it opens.
void AddMainWindowTexts(TermList& terms, TDlgSelect& window) {
  auto* family = window.findChild<QComboBox*>(QStringLiteral("Txt_Family"));
  const int families = family ? family->count() : 1;
  for (int f = 0; f < families; ++f) {
    if (family) {
      family->setCurrentIndex(f);
      window.Txt_FamilyClick();
    }
    for (int page = 0; page < window.Pages()->count(); ++page) {
      window.Pages()->setCurrentIndex(page);
      QApplication::processEvents();
      AddWidgetTexts(terms, &window);
    }
  }
  if (auto* config = window.findChild<QPushButton*>(QStringLiteral("Btn_Configuration"))) {
    config->click();
    for (TFrm_Configuration* form : window.findChildren<TFrm_Configuration*>()) {
      AddWidgetTexts(terms, form);
      form->close();
    }
  }
}

void AddDialogTexts(TermList& terms, TDlgSelect& window) {
  {
    TFrm_Preferences dialog(&window);
    AddWidgetTexts(terms, &dialog);
  }
  {
    TDlgPrintParams dialog(&window);
    AddWidgetTexts(terms, &dialog);
  }
  // Caption and lines come translated from the library: read from its source
  // (below), as written, before the units are put in.
  for (int topic = 0; topic < CTExplanations::kTopicCount; ++topic) {
    TFrm_Explain dialog(&window, topic, window.Session());
    dialog.setWindowTitle(QString());
    dialog.Mmo_Explain->clear();
    AddWidgetTexts(terms, &dialog);
  }
  {
    // The paragraphs are taken as written (below), not with the names put in.
    TFrm_Disclaimer dialog(&window, CTGeneralTerms::Paragraphs().value(0));
    dialog.findChild<QTextEdit*>(QStringLiteral("Txt_Terms"))->clear();
    AddWidgetTexts(terms, &dialog);
  }
  {
    TFrmLocaleChoice dialog(&window, ApplicationUtils::Title(), QString());
    AddWidgetTexts(terms, &dialog);
  }
  {
    TFrmApproveTranslation dialog(&window);
    AddWidgetTexts(terms, &dialog);
  }
  // The online windows, made but not shown: the about box asks its server
  // when shown, the upgrade window when asked to fetch. Their titles and
  // lines with names put in are read from their sources as written.
  {
    TFrm_AboutBox dialog(&window, ApplicationUtils::Title(), QString(), [](QWidget*) {});
    dialog.setWindowTitle(QString());
    AddWidgetTexts(terms, &dialog);
  }
  // With a keyword (in capitals: the tab shows it) and without. The rows of
  // the catalogue's links show its titles, which are its own texts.
  for (const QString& series : {QStringLiteral("SERIES"), QString()}) {
    TFrmDeviceLinks dialog(&window, window.Factory(), series, QString(), CTDeviceLinks::kBuildServer);
    for (int row = 0; row < dialog.Rows().size(); ++row) {
      if (dialog.Rows().at(row).nType != CTDeviceLinks::kStaticLink) continue;
      if (auto* caption = dialog.findChild<QLabel*>(QStringLiteral("Lbl_Row%1").arg(row))) caption->clear();
      if (auto* open = dialog.findChild<QPushButton*>(QStringLiteral("Btn_Open%1").arg(row))) open->setToolTip({});
    }
    AddWidgetTexts(terms, &dialog);
  }
  for (const bool initialConfig : {false, true}) {
    TFrmUpgrade dialog(&window, false, initialConfig);
    AddWidgetTexts(terms, &dialog);
  }
  {
    TFrmAutoUpgradeHint dialog(&window, ApplicationUtils::Title(), QString(), 0);
    dialog.findChild<QPlainTextEdit*>(QStringLiteral("Txt_Lines"))->clear();
    AddWidgetTexts(terms, &dialog);
  }
  {
    TFrm_Privacy dialog(&window, ApplicationUtils::Title());
    dialog.findChild<QTextEdit*>(QStringLiteral("Txt_Notice"))->clear();
    AddWidgetTexts(terms, &dialog);
    // The notice's caption is in capitals, yet words to translate.
    if (const auto* caption = dialog.findChild<QLabel*>(QStringLiteral("Lbl_PageCaption"))) terms.Add(caption->text());
  }
  // The message box with every button, once per kind of message.
  for (const int type : {mtError, mtConfirmation, mtWarning, mtInformation}) {
    CTMessageRequest request;
    request.v_dlgType = type;
    request.v_dlgBtns = ~0u;
    TBaseMsgDialog dialog(request, &window);
    AddWidgetTexts(terms, &dialog);
  }
}

// Every message that exists: the program's table, then the service's.
void AddMessages(TermList& terms) {
  TDlgForm::Load();
  for (int n = 1; n < TDlgForm::Count(); ++n) terms.Add(TBaseMsg::GetUnicodeString(n));
  for (int n = -1; !TBaseMsg::GetUnicodeString(n).isEmpty(); --n) terms.Add(TBaseMsg::GetUnicodeString(n));
}

// The string literals of a C++ source, adjacent ones joined as the compiler
// joins them; preprocessor lines, comments and character literals skipped.
QStringList StringLiterals(const QString& szSource) {
  QStringList literals;
  const qsizetype n = szSource.size();
  qsizetype i = 0;
  bool lineStart = true;
  const auto skipSpaceAndComments = [&](qsizetype from) {
    while (from < n) {
      if (szSource.at(from).isSpace()) {
        ++from;
      } else if (szSource.mid(from, 2) == QLatin1String("//")) {
        from = szSource.indexOf(u'\n', from);
        if (from < 0) return n;
      } else if (szSource.mid(from, 2) == QLatin1String("/*")) {
        const qsizetype end = szSource.indexOf(QLatin1String("*/"), from + 2);
        if (end < 0) return n;
        from = end + 2;
      } else {
        break;
      }
    }
    return from;
  };
  const auto readQuoted = [&](qsizetype from, QChar quote, QString& text) {
    qsizetype j = from + 1;
    for (; j < n && szSource.at(j) != quote; ++j) {
      if (szSource.at(j) != u'\\' || j + 1 >= n) {
        text += szSource.at(j);
        continue;
      }
      const QChar escaped = szSource.at(++j);
      text += escaped == u'n' ? QChar(u'\n') : escaped == u't' ? QChar(u'\t') : escaped;
    }
    return j + 1;
  };
  while (i < n) {
    const QChar c = szSource.at(i);
    if (lineStart && c == u'#') {
      i = szSource.indexOf(u'\n', i);
      if (i < 0) break;
      continue;
    }
    if (c == u'\n') {
      lineStart = true;
      ++i;
      continue;
    }
    if (!c.isSpace()) lineStart = false;
    if (szSource.mid(i, 2) == QLatin1String("//") || szSource.mid(i, 2) == QLatin1String("/*")) {
      i = skipSpaceAndComments(i);
      continue;
    }
    if (c == u'\'') {
      QString ignored;
      i = readQuoted(i, c, ignored);
      continue;
    }
    if (c != u'"') {
      ++i;
      continue;
    }
    QString text;
    i = readQuoted(i, c, text);
    for (qsizetype next = skipSpaceAndComments(i); next < n && szSource.at(next) == u'"'; next = skipSpaceAndComments(i))
      i = readQuoted(next, u'"', text);
    literals << text;
  }
  return literals;
}

bool AddLiteralTexts(TermList& terms, const QString& szSourceDir) {
  bool ok = true;
  for (const char* path : kLiteralSources) {
    QFile file(szSourceDir + QLatin1Char('/') + QLatin1String(path));
    if (!file.open(QIODevice::ReadOnly)) {
      QTextStream(stderr) << "cannot read " << file.fileName() << Qt::endl;
      ok = false;
      continue;
    }
    // A file dialog's filters are one literal and translated one by one.
    for (const QString& literal : StringLiterals(QString::fromUtf8(file.readAll())))
      for (const QString& part : literal.split(QStringLiteral(";;")))
        if (!kNotShown.contains(part)) AddIfWords(terms, part);
  }
  return ok;
}

// A start of this build and catalogue counted already, so that the start-up
// does not show the general terms of a first start and wait for an answer.
void CountEarlierStart() {
  CTCatalogueSession session;
  QString error;
  const QString catalogueVersion =
      session.OpenEmbedded(CTCatalogueSession::AutoCorrect::kOff, error) ? session.DataVersion() : QString();
  CTAutoUpgrade::CountStart(CTAutoUpgrade::RunCountID(CTVersionUtils::GetVersionString(), catalogueVersion), 1);
}

bool InterfaceTerms(TermList& terms, const QString& szSourceDir) {
  CTGlossaries::Reset();  // English: the texts as the program holds them
  AddMessages(terms);
  // A locale chosen, English: the first start would ask for one.
  CTLangSupport::SetLocaleData(CTCountryDefinition::OwnNumber(QStringLiteral("USA")), CTLangSupport::kEnglish);
  CountEarlierStart();
  TDlgSelect window;
  if (!window.StartUp({})) {
    QTextStream(stderr) << "the main window does not start" << Qt::endl;
    return false;
  }
  window.show();
  AddMainWindowTexts(terms, window);
  AddDialogTexts(terms, window);
  for (const QString& paragraph : CTGeneralTerms::Paragraphs()) terms.Add(paragraph);
  for (const QString& paragraph : CTPrivacyNotice::Paragraphs()) terms.Add(paragraph);
  const bool ok = AddLiteralTexts(terms, szSourceDir);
  window.SetDataHaveChanged(false);
  window.close();
  return ok;
}

bool CatalogueTerms(TermList& terms) {
  CTCatalogueSession session;
  QString error;
  if (!session.OpenEmbedded(CTCatalogueSession::AutoCorrect::kOn, error)) {
    QTextStream(stderr) << "the catalogue does not open: " << error << Qt::endl;
    return false;
  }
  CTUnicodeGlossary glossary;
  session.Factory().GetEngine(CTFactory::kDeviceDatabase)->AddMultilingualFields(&glossary);
  for (const QString& term : glossary.Terms()) terms.Add(term);
  return true;
}

// ---------------------------------------------------------------- files

bool Merge(const QStringList& terms, const QString& szOld, const QString& szOut, int nLanguage) {
  QTextStream err(stderr);
  const CTExcelXMLGlossaryIO io;
  CTUnicodeGlossary old;
  if (!io.LoadGlossaryFromFile(szOld, old)) {
    err << "cannot read " << szOld << Qt::endl;
    return false;
  }
  CTUnicodeGlossary fresh;
  fresh.SetTargetLanguage(nLanguage > 0 ? unsigned(nLanguage) : old.GetTargetLanguage());
  for (const QString& term : terms) fresh.AddTermNoNonsense(term);
  fresh.UseTranslationsFrom(old, CTUnicodeGlossary::TNoTranslationFound::KeepEntry,
                            CTUnicodeGlossary::TTranslatedEntries::Refill);
  fresh.Sort();
  const QSet<QString> kept(terms.begin(), terms.end());
  const QStringList oldTerms = old.Terms();
  const auto dropped = std::count_if(oldTerms.begin(), oldTerms.end(), [&](const QString& t) { return !kept.contains(t); });
  if (!io.SaveGlossaryToFile(szOut, fresh, false)) {
    err << "cannot write " << szOut << Qt::endl;
    return false;
  }
  int untranslated = 0;
  for (const QString& term : fresh.Terms()) untranslated += fresh.FindTranslationFor(term).isEmpty() ? 1 : 0;
  err << szOut << ": " << fresh.EntryCount() << " terms, " << untranslated << " untranslated, " << dropped
      << " terms of " << szOld << " no longer shown" << Qt::endl;
  return true;
}

// The $n and %n placeholders of a text, sorted.
QStringList Placeholders(const QString& szText) {
  static const QRegularExpression placeholder(QStringLiteral("[$%][0-9A-F]"));
  QStringList found;
  for (const QRegularExpressionMatch& m : placeholder.globalMatch(szText)) found << m.captured();
  found.sort();
  return found;
}

// Ampersands that mark an accelerator ("&&" is a literal one).
int Accelerators(const QString& szText) {
  return int(szText.count(u'&')) - 2 * int(szText.count(QLatin1String("&&")));
}

qsizetype LeadingBlanks(const QString& szText) {
  qsizetype i = 0;
  while (i < szText.size() && szText.at(i) == u' ') ++i;
  return i;
}

bool Check(const QString& szFile) {
  QTextStream out(stdout);
  CTUnicodeGlossary glossary;
  if (!CTExcelXMLGlossaryIO().LoadGlossaryFromFile(szFile, glossary)) {
    out << szFile << ": cannot be read" << Qt::endl;
    return false;
  }
  int faults = 0, untranslated = 0;
  const QStringList terms = glossary.Terms();
  for (const QString& term : terms) {
    const QStringList translations = glossary.TranslationsFor(term);
    const QString translation = translations.value(0);
    if (translations.size() > 1) {
      ++faults;
      out << "  two entries: " << term << Qt::endl;
    }
    if (translation.isEmpty()) {
      ++untranslated;
      continue;
    }
    if (Placeholders(term) != Placeholders(translation) || Accelerators(term) != Accelerators(translation) ||
        LeadingBlanks(term) != LeadingBlanks(translation)) {
      ++faults;
      out << "  placeholders, ampersands or blanks differ: " << term << " -> " << translation << Qt::endl;
    }
  }
  out << szFile << ": language " << glossary.GetTargetLanguage() << " (" << glossary.v_languageNameOrChangedDate
      << "), " << terms.size() << " terms, " << glossary.EntryCount() << " entries, " << untranslated
      << " untranslated, " << faults << " faults" << Qt::endl;
  return faults == 0;
}

int Usage() {
  QTextStream(stderr) << "usage: aerolith-glossary-terms [--catalogue] [--sources DIR]"
                         " [--merge OLD.xml --out NEW.xml [--language ID]]\n"
                         "       aerolith-glossary-terms --check FILE...\n";
  return 2;
}

// The value after an option, removed with it from args; empty when absent.
QString TakeOption(QStringList& args, const QString& szOption, bool& bMissingValue) {
  const qsizetype ix = args.indexOf(szOption);
  if (ix < 0) return QString();
  if (ix + 1 >= args.size()) {
    bMissingValue = true;
    return QString();
  }
  const QString value = args.at(ix + 1);
  args.remove(ix, 2);
  return value;
}

}  // namespace

int main(int argc, char* argv[]) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  // No server is asked: a port nothing listens on refuses every question at
  // once (the start-up's question about newer builds among them).
  qputenv("AEROLITH_SERVER", "127.0.0.1:1");
  QApplication app(argc, argv);
  QStringList args = QApplication::arguments().mid(1);

  if (args.value(0) == QLatin1String("--check")) {
    if (args.size() < 2) return Usage();
    bool ok = true;
    for (const QString& file : args.mid(1)) ok = Check(file) && ok;
    return ok ? 0 : 1;
  }

  const bool catalogue = args.removeAll(QStringLiteral("--catalogue")) > 0;
  bool missing = false;
  QString sourceDir = TakeOption(args, QStringLiteral("--sources"), missing);
  const QString oldFile = TakeOption(args, QStringLiteral("--merge"), missing);
  const QString outFile = TakeOption(args, QStringLiteral("--out"), missing);
  const QString language = TakeOption(args, QStringLiteral("--language"), missing);
  if (missing || !args.isEmpty() || oldFile.isEmpty() != outFile.isEmpty()) return Usage();
  if (sourceDir.isEmpty()) sourceDir = QStringLiteral(AEROLITH_SOURCE_DIR);

  // Settings of our own: the windows read and write the registry store.
  QTemporaryDir settings;
  CTRegistryStore::SetUserFolder(settings.path());
  CTRegistryStore::SetMachineFolder(settings.path());

  QuietPresenter quiet;
  TBaseMsg::SetPresenter(&quiet);
  TermList terms;
  const bool ok = catalogue ? CatalogueTerms(terms) : InterfaceTerms(terms, sourceDir);
  TBaseMsg::SetPresenter(nullptr);
  if (!ok) return 1;
  if (!oldFile.isEmpty()) return Merge(terms.Terms(), oldFile, outFile, language.toInt()) ? 0 : 1;
  // One term a line; a line break within a term shows as "\n".
  QTextStream out(stdout);
  for (const QString& term : terms.Terms()) out << QString(term).replace(u'\n', QLatin1String("\\n")) << '\n';
  return 0;
}
