// The program's glossaries: the file beside the program wins, messages are
// translated through the interface glossary (placeholders after the
// translation), and without a glossary everything stays English.

#include "docs/Glossaries.h"
#include "docs/GlossaryIO.h"
#include "i18n/BaseMsgMan.h"
#include "i18n/LangSupport.h"
#include "i18n/MsgMan.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(Glossaries, TheFileBesideTheProgramTranslatesMessagesAndTexts) {
  TDlgForm::Load();
  QTemporaryDir dir;
  const QString file = dir.filePath("aerolith.xml");
  {
    CTUnicodeGlossary glossary;
    glossary.SetTargetLanguage(1031);
    // Message 102 and a term with two translations.
    glossary.AddTermNoNonsense("Selected ventilation device: $1", "Ausgewähltes Lüftungsgerät: $1");
    glossary.AddTermNoNonsense("Supply", "Zuluft");
    glossary.AddTermNoNonsense("Supply", "Zufuhr");
    ASSERT_TRUE(CTExcelXMLGlossaryIO().SaveGlossaryToFile(file, glossary, false));
  }
  ASSERT_TRUE(CTGlossaries::LoadInterface(1036, file)) << "the file wins over the language's own";
  EXPECT_EQ(CTLangSupport::UILanguage(), 1031);
  EXPECT_EQ(TBaseMsg::GetUnicodeString(102, QStringLiteral("NV-400")), QStringLiteral("Ausgewähltes Lüftungsgerät: NV-400"));
  EXPECT_EQ(TBaseMsg::Tr(QStringLiteral("Supply")), QStringLiteral("Supply")) << "two translations: English";
  CTGlossaries::Reset();
  EXPECT_EQ(TBaseMsg::GetUnicodeString(102, QStringLiteral("NV-400")), QStringLiteral("Selected ventilation device: NV-400"));
  EXPECT_EQ(CTLangSupport::UILanguage(), 1033);
  // English needs none; an unreadable file and no glossary of the language give none.
  EXPECT_FALSE(CTGlossaries::LoadInterface(1033));
  EXPECT_FALSE(CTGlossaries::LoadInterface(1049, dir.filePath("missing.xml")));
  EXPECT_EQ(CTGlossaries::LoadCatalogue(1033), nullptr);
  EXPECT_EQ(CTGlossaries::LanguageOfCode("de"), 1031);
  EXPECT_EQ(CTGlossaries::LanguageOfCode("FR"), 1036);
  EXPECT_EQ(CTGlossaries::LanguageOfCode("xx"), 0);
}
