// The command line's own words in the language of --language: a German or
// French run leaves none of the English words of its output, its errors or
// its messages.

#include "CliRun.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

// English words of aerolith-cli's text output, option errors and the
// messages a failed mode shows; whole words, letter case as written. Words
// that German or French write the same ("Plenum", "Air", "code",
// "ventilation", "Sensible") are not among them; option names ("--supply")
// are the same in every language and taken out of the text first.
const QStringList kEnglishWords = {
    "Units",      "preferences", "Candidates", "supply",   "exhaust",  "Supply",     "Extract",  "margin",
    "Selected",   "device",      "Additional", "resistance", "side",   "Fan",        "power",    "Specific",
    "class",      "Cooling",     "Heating",    "computed", "State",    "Dry",        "Wet",      "bulb",
    "humidity",   "Enthalpy",    "Room",       "Outdoor",  "efficiency", "capacity", "heater",   "inlet",
    "savings",    "Latent",      "Total",    "ambient",  "temperature", "outside", "range",
    "must",       "between",     "family",     "usage"};

struct LanguageRun {
  const char* name;
  const char* language;
  QStringList arguments;
};

class CommandLineLanguage : public testing::TestWithParam<LanguageRun> {};

TEST_P(CommandLineLanguage, LeavesNoEnglishWord) {
  const CliResult r = RunCli(QStringList{"--language", QString::fromLatin1(GetParam().language)} + GetParam().arguments);
  const QString text = QString(r.out + r.err).remove(QRegularExpression(QStringLiteral("--[a-z-]+")));
  ASSERT_FALSE(text.trimmed().isEmpty());
  for (const QString& word : kEnglishWords)
    EXPECT_FALSE(QRegularExpression(QStringLiteral("\\b%1\\b").arg(word)).match(text).hasMatch())
        << word.toStdString() << " in:\n" << text.toStdString();
}

// A unit computed in both modes (every heading, state and figure); a mode
// that fails with a message and one not computed after it; an option
// error; the family list.
const QStringList kComputed{"select", "--supply", "100"};
const QStringList kCoolingFails{"select", "--cool-outdoor", "45,30"};
const QStringList kOptionError{"select", "--supply", "-5"};
const QStringList kFamilies{"families"};

INSTANTIATE_TEST_SUITE_P(
    Runs, CommandLineLanguage,
    testing::Values(LanguageRun{"GermanComputed", "de", kComputed}, LanguageRun{"GermanFailedMode", "de", kCoolingFails},
                    LanguageRun{"GermanOptionError", "de", kOptionError}, LanguageRun{"GermanFamilies", "de", kFamilies},
                    LanguageRun{"FrenchComputed", "fr", kComputed}, LanguageRun{"FrenchFailedMode", "fr", kCoolingFails},
                    LanguageRun{"FrenchOptionError", "fr", kOptionError}, LanguageRun{"FrenchFamilies", "fr", kFamilies}),
    [](const auto& param) { return std::string(param.param.name); });

// The JSON keeps its English keys (they are an interface) and gives the
// messages in the language asked for.
TEST(CommandLineLanguage, JsonKeysStayEnglishAndMessagesAreTranslated) {
  const CliResult r = RunCli({"--language", "de", "select", "--cool-outdoor", "45,30", "--json"});
  EXPECT_EQ(r.code, AerolithCli::kExitNothingComputed);
  EXPECT_TRUE(r.out.contains("\"cooling\"")) << r.out.toStdString();
  EXPECT_TRUE(r.out.contains("\"message\"")) << r.out.toStdString();
  EXPECT_FALSE(r.out.contains("outside the range")) << r.out.toStdString();
  EXPECT_TRUE(r.out.contains("-15.0 °C")) << "the unit's limits are still put in";
}

}  // namespace
