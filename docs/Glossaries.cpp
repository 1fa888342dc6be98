#include "docs/Glossaries.h"

#include "docs/GlossaryIO.h"
#include "i18n/BaseMsgMan.h"
#include "i18n/LangSupport.h"
#include "platform/Resources.h"

#include <QFileInfo>

#include <map>

namespace {

std::unique_ptr<CTUnicodeGlossary>& InterfaceGlossary() {
  static std::unique_ptr<CTUnicodeGlossary> glossary;
  return glossary;
}

// Per language, read once and kept: a catalogue session holds on to its
// glossary for as long as it lives.
std::map<int, std::unique_ptr<CTUnicodeGlossary>>& CatalogueGlossaries() {
  static std::map<int, std::unique_ptr<CTUnicodeGlossary>> glossaries;
  return glossaries;
}

QString ResourceName(int nLanguage, const char* szName) {
  return QStringLiteral("glossaries/%1/%2.xml").arg(nLanguage).arg(QString::fromLatin1(szName));
}

// Adds a resource glossary's entries; false when it is missing or does not read.
bool ReadResource(int nLanguage, const char* szName, CTUnicodeGlossary& glossary) {
  const std::optional<QByteArray> bytes = CTResources::Data(ResourceName(nLanguage, szName));
  return bytes && !bytes->isEmpty() && CTExcelXMLGlossaryIO().LoadGlossary(*bytes, glossary);
}

}  // namespace

int CTGlossaries::ChosenLanguage() {
  const LTLocaleData locale = CTLangSupport::GetLocaleData();
  return locale.v_stored ? locale.v_language : kEnglish;
}

int CTGlossaries::LanguageOfCode(const QString& szCode) {
  const CTLanguageDefinition* language = CTLanguageDefinition::FindLanguageByCode(szCode.trimmed().toLower());
  return language ? language->v_windowsCode : 0;
}

bool CTGlossaries::LoadInterface(int nLanguage, const QString& szBesideFile) {
  Reset();
  auto glossary = std::make_unique<CTUnicodeGlossary>();
  bool loaded = !szBesideFile.isEmpty() && QFileInfo::exists(szBesideFile) &&
                CTExcelXMLGlossaryIO().LoadGlossaryFromFile(szBesideFile, *glossary);
  if (!loaded) {
    glossary = std::make_unique<CTUnicodeGlossary>();
    loaded = nLanguage != kEnglish && ReadResource(nLanguage, "UIGlossaryXML", *glossary);
  }
  if (!loaded) return false;
  CTLangSupport::SetUILanguage(int(glossary->GetTargetLanguage()));
  InterfaceGlossary() = std::move(glossary);
  TBaseMsg::SetInterfaceGlossary(InterfaceGlossary().get());
  return true;
}

const CTUnicodeGlossary* CTGlossaries::Interface() { return InterfaceGlossary().get(); }

CTUnicodeGlossary* CTGlossaries::LoadCatalogue(int nLanguage) {
  if (nLanguage == kEnglish) return nullptr;
  auto& kept = CatalogueGlossaries()[nLanguage];
  if (!kept) {
    auto glossary = std::make_unique<CTUnicodeGlossary>();
    const bool central = ReadResource(nLanguage, "CentralGlossary", *glossary);
    const bool company = ReadResource(nLanguage, "CompanyGlossary", *glossary);
    if (central || company) kept = std::move(glossary);
  }
  return kept.get();
}

void CTGlossaries::Reset() {
  TBaseMsg::SetInterfaceGlossary(nullptr);
  CTLangSupport::SetUILanguage(kEnglish);
  InterfaceGlossary().reset();
}
