#include "i18n/BaseMsgMan.h"
#include "i18n/MsgMan.h"

#include <gtest/gtest.h>

#include <clocale>

namespace {

class Messages : public testing::Test {
 protected:
  void SetUp() override { TDlgForm::Load(); }
};

TEST_F(Messages, ResolvesEveryRangeWithParameters) {
  EXPECT_EQ(TBaseMsg::GetUnicodeString(6, {"5", "35"}), "Temperature range: 5 .. 35");
  EXPECT_EQ(TBaseMsg::GetUnicodeString(74), "Your project has not been saved. Save it now?");
  EXPECT_EQ(TBaseMsg::GetUnicodeString(119), "There are no printers defined in Windows");
  EXPECT_EQ(TBaseMsg::GetUnicodeString(0), "");   // an empty entry
  EXPECT_EQ(TBaseMsg::GetUnicodeString(120, QString("F7 supply")),
            "None of the available ventilation devices offers the chosen filter (F7 supply).");
  EXPECT_EQ(TBaseMsg::GetUnicodeString(TDlgForm::Count()), "");  // in no range
  EXPECT_EQ(TBaseMsg::GetUnicodeString(-2, QString("a.ven")), "Unable to open file a.ven");
  EXPECT_EQ(TBaseMsg::GetUnicodeString(-12, QString("Aerolith")),
            "You need administrator rights to uninstall Aerolith. Only the user preferences are removed");
  EXPECT_EQ(TBaseMsg::GetUnicodeString(-13), "");
}

TEST_F(Messages, LinesPseudoNumberJoinsParametersWithoutReplacing) {
  EXPECT_EQ(TBaseMsg::GetUnicodeString(TBaseMsg::kLinesMsgNr, {"a $1", "b"}), "a $1\r\nb");
}

TEST(MessageParams, ReplacedInOrderWithHexadecimalNumbers) {
  QStringList params;
  for (int i = 1; i <= 10; ++i) params << QStringLiteral("p%1").arg(i);
  // $1 goes first everywhere, so $10 becomes "p1" followed by "0"; the tenth is $A.
  EXPECT_EQ(TBaseMsg::ReplaceParams("$1 $10 $A $a", params), "p1 p10 p10 $a");
}

TEST(MessageRanges, OverlappingRegistrationIsIgnored) {
  const auto text = [](int n) { return QStringLiteral("db %1").arg(n); };
  EXPECT_TRUE(TBaseMsg::AddObtainStringFunc(text, 5000, 5021));
  EXPECT_FALSE(TBaseMsg::AddObtainStringFunc([](int) { return QString("x"); }, 5010, 6000));
  EXPECT_FALSE(TBaseMsg::AddObtainStringFunc([](int) { return QString("x"); }, 4000, 5000));
  EXPECT_EQ(TBaseMsg::GetUnicodeString(5015), "db 5015");
  EXPECT_EQ(TBaseMsg::GetUnicodeString(5500), "");
}

struct FileNameCase {
  const char* in;
  const char* out;
};
class ReducedFileName : public testing::TestWithParam<FileNameCase> {};
TEST_P(ReducedFileName, ShortensLongPaths) {
  EXPECT_EQ(TBaseMsg::ReducedFileName(GetParam().in), GetParam().out);
}
INSTANTIATE_TEST_SUITE_P(
    Messages, ReducedFileName,
    testing::Values(FileNameCase{"C:\\Users\\Someone\\Documents\\Projects\\unit.ven", "C:\\Users\\...\\unit.ven"},
                    FileNameCase{"C:\\Users\\Someone\\unit.ven", "C:\\Users\\Someone\\unit.ven"},  // 26 characters
                    FileNameCase{"a_very_long_file_name_without_any_folder.ven",
                                 "a_very_long_file_name_without_any_folder.ven"},
                    FileNameCase{"/home/someone/projects/2026/office/unit.ven", "/home/.../unit.ven"}));

class Numbers : public testing::Test {
 protected:
  void TearDown() override { TBaseMsg::SetDecimalSeparator('.'); }
};

TEST_F(Numbers, Str2NumberAcceptsEitherSeparatorAndBlanks) {
  EXPECT_EQ(TBaseMsg::Str2Number("  1,5  "), 1.5);
  EXPECT_EQ(TBaseMsg::Str2Number("1 000"), 10000);
  EXPECT_EQ(TBaseMsg::Str2Number("-2.5e3"), -2500);
  EXPECT_EQ(TBaseMsg::Str2Number("+7"), 7);
  EXPECT_EQ(TBaseMsg::Str2Number("abc"), 0);
  EXPECT_EQ(TBaseMsg::Str2Number("inf"), 0);
  EXPECT_EQ(TBaseMsg::Str2Number("1e999"), 0);
  EXPECT_EQ(TBaseMsg::Str2Number(""), 0);
}

TEST_F(Numbers, CheckNumberMakesWellFormedText) {
  EXPECT_EQ(TBaseMsg::CheckNumber("1.2.3e5e"), "1.203E50");
  EXPECT_EQ(TBaseMsg::CheckNumber("-1,5 e-3"), "-1.5E-3");
  EXPECT_EQ(TBaseMsg::CheckNumber("1-2"), "102");
  EXPECT_EQ(TBaseMsg::CheckNumber("e5"), "05");
  EXPECT_EQ(TBaseMsg::CheckNumber("1e5.5"), "1E505");
  EXPECT_EQ(TBaseMsg::CheckNumber("12a"), "120");
  TBaseMsg::SetDecimalSeparator(',');
  EXPECT_EQ(TBaseMsg::CheckNumber("1,2.3"), "1,203");
}

TEST_F(Numbers, FixedFormatRoundsHalfToEvenWhateverTheProcessLocale) {
  std::setlocale(LC_NUMERIC, "de_DE.UTF-8");  // may be missing; "." must hold either way
  EXPECT_EQ(TBaseMsg::Number2FmtStr(0.125, 0, 2), "0.12");
  EXPECT_EQ(TBaseMsg::Number2FmtStr(0.375, 0, 2), "0.38");
  EXPECT_EQ(TBaseMsg::Number2FmtStr(2.5, 0, 0), "2");
  EXPECT_EQ(TBaseMsg::Number2FmtStr(3.5, 0, 0), "4");
  EXPECT_EQ(TBaseMsg::Number2FmtStr(2.675, 0, 2), "2.67");  // 2.67499999... in binary
  EXPECT_EQ(TBaseMsg::Number2FmtStr(-0.04, 0, 1), "0.0");    // no "-0.0"
  EXPECT_EQ(TBaseMsg::Number2FmtStr(21.456, 8, 1), "    21.5");
  EXPECT_EQ(TBaseMsg::Number2FmtStr(1234.5, 0, -3), "1.234E+03");  // half to even in the mantissa too
  std::setlocale(LC_NUMERIC, "C");
  TBaseMsg::SetDecimalSeparator(',');
  EXPECT_EQ(TBaseMsg::Number2FmtStr(1.25, 0, 1), "1,2");
}

TEST_F(Numbers, Number2StrUsesSignificantDigits) {
  EXPECT_EQ(TBaseMsg::Number2Str(1234.5678, 6), "1234.57");
  EXPECT_EQ(TBaseMsg::Number2Str(1234.5678, 3), "1.23E3");
  EXPECT_EQ(TBaseMsg::Number2Str(0.5, 15), "0.5");
  EXPECT_EQ(TBaseMsg::Number2Str(-80, 15), "-80");
  EXPECT_EQ(TBaseMsg::Number2Str(0.0000012, 4), "1.2E-6");
  EXPECT_EQ(TBaseMsg::Number2Str(0, 4), "0");
}

struct EditCase {
  const char* text;
  CTEditRules rules;
  int refusal;
};
class EditRules : public testing::TestWithParam<EditCase> {};
TEST_P(EditRules, RefuseWithTheirMessage) {
  EXPECT_EQ(TBaseMsg::CheckEditValue(GetParam().text, GetParam().rules), GetParam().refusal);
}
// rules: allow empty, numeric only, integer only, allow negative, allow zero
INSTANTIATE_TEST_SUITE_P(Messages, EditRules,
                         testing::Values(EditCase{"12", {false, true, true, false, false}, 0},
                                         EditCase{"1.5", {false, true, true, false, false}, -6},
                                         EditCase{"-3", {false, true, true, false, true}, -7},
                                         EditCase{"-3", {false, true, true, false, false}, -8},
                                         EditCase{"0", {false, true, true, true, false}, -8},
                                         EditCase{"0", {false, true, true, false, true}, 0},
                                         EditCase{"-3", {false, true, true, true, false}, 0},
                                         EditCase{"abc", {false, false, false, false, false}, 0},  // text: not checked
                                         EditCase{"1.5", {false, true, false, false, false}, 0}));

TEST(EditRulesOk, EmptyInputNeedsPermission) {
  EXPECT_FALSE(TBaseMsg::EditOkEnabled("  ", {}));
  EXPECT_TRUE(TBaseMsg::EditOkEnabled("  ", {true, false, false, false, false}));
  EXPECT_TRUE(TBaseMsg::EditOkEnabled("x", {}));
}

// Without a GUI the fallback presenter answers the most cautious button.
TEST(ConsolePresenter, AnswersCancelOrNo) {
  EXPECT_EQ(TBaseMsg::DisplayQuestion(nullptr, "Proceed?", MsgButtons({mbYes, mbNo, mbCancel})), mrCancel);
  EXPECT_EQ(TBaseMsg::DisplayQuestion(nullptr, "Proceed?", MsgButtons({mbYes, mbNo})), mrNo);
  QString edited = "x";
  EXPECT_FALSE(TBaseMsg::DisplayEditString(nullptr, 20, 21, "1", edited, false, true, true, false, false));
  EXPECT_TRUE(edited.isEmpty());
}

}  // namespace
