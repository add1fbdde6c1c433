#include "translate/translate_literals.h"
#include "translate/unit_rewriter.h"

#include <gtest/gtest.h>

#include <map>

namespace wordloom {
namespace {

/// A tiny table: key -> (front blanks, translation, end blanks), like a record of the strings table.
struct FakeTable {
    struct Entry {
        int front;
        std::string text;
        int end;
    };
    std::map<std::string, Entry, std::less<>> entries;
    std::vector<std::string> asked;

    LiteralLookup Lookup() {
        return [this](std::string_view key) -> std::optional<TranslatedText> {
            asked.emplace_back(key);
            auto it = entries.find(key);
            if (it == entries.end() || it->second.text.empty())
                return std::nullopt;
            return TranslatedText{it->second.text, it->second.front, it->second.end};
        };
    }
};

struct LiteralCase {
    const char* name;
    const char* line;
    ApostropheForm form;
    const char* expected;
};

class TranslateLiteralsTest : public ::testing::TestWithParam<LiteralCase> {
protected:
    void SetUp() override {
        table.entries = {
            {"Name:", {1, "Nom :", 1}},     {"Save", {0, "Speichern unter dem langen Namen", 0}},
            {"Open", {0, "Öffnen", 0}},     {"Don't", {0, "N'y touchez pas", 0}},
            {"It''s", {0, "wrong key", 0}}, {"Empty", {0, "", 0}},
            {"tail", {2, "Ende", 0}},       {"comment", {0, "Kommentar", 0}},
        };
    }
    FakeTable table;
};

TEST_P(TranslateLiteralsTest, ReplacesAsTheLineRulesSay) {
    const LiteralCase& c = GetParam();
    EXPECT_EQ(TranslateLiterals(c.line, c.form, table.Lookup()), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, TranslateLiteralsTest,
    ::testing::Values(
        LiteralCase{"Empty", "", ApostropheForm::Doubled, ""},
        LiteralCase{"NoLiteral", "x := y;", ApostropheForm::Doubled, "x := y;"},
        LiteralCase{"UnknownKeyStays", "s := 'Unknown ';", ApostropheForm::Doubled, "s := 'Unknown ';"},
        LiteralCase{"EmptyTranslationStays", "s := 'Empty';", ApostropheForm::Doubled, "s := 'Empty';"},
        LiteralCase{"RecordBlanksNotLiteralBlanks", "s := '  Name:';", ApostropheForm::Doubled,
                    "s := ' Nom : ';"},
        LiteralCase{"LongerTranslationThenSecond", "f('Save', 'Open');", ApostropheForm::Doubled,
                    "f('Speichern unter dem langen Namen', 'Öffnen');"},
        LiteralCase{"DoubledApostropheKeyThenSecond", "f('Don''t', 'Open');", ApostropheForm::Doubled,
                    "f('N''y touchez pas', 'Öffnen');"},
        LiteralCase{"UntranslatedDoubledThenSecond", "f('It''s', 'Open');", ApostropheForm::Doubled,
                    "f('It''s', 'Öffnen');"},
        LiteralCase{"FormApostropheForm", "Caption = 'Don''t'", ApostropheForm::Coded,
                    "Caption = 'N'#39'y touchez pas'"},
        LiteralCase{"ApostropheInLastPositionOpensNothing", "x := y + '", ApostropheForm::Doubled,
                    "x := y + '"},
        LiteralCase{"UnclosedRunsToEnd", "// don't touch comment", ApostropheForm::Doubled,
                    "// don't touch comment"},
        LiteralCase{"UnclosedTranslated", "x := 'tail", ApostropheForm::Doubled, "x := '  Ende"},
        LiteralCase{"CodeBetweenSeparates", "s := 'Save'#13'Open';", ApostropheForm::Doubled,
                    "s := 'Speichern unter dem langen Namen'#13'Öffnen';"},
        LiteralCase{"EmptyLiteralNeverLooksUp", "s := '';", ApostropheForm::Doubled, "s := '';"},
        LiteralCase{"TabTrimmedFromKey", "s := '\tOpen';", ApostropheForm::Doubled, "s := 'Öffnen';"}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST(TranslateLiterals, KeyIsDecodedAndTrimmed) {
    FakeTable table;
    TranslateLiterals("a('  It''s \t', 'x', '   ')", ApostropheForm::Doubled, table.Lookup());
    ASSERT_EQ(table.asked.size(), 2u); // the literal of blanks has an empty key and is not looked up
    EXPECT_EQ(table.asked[0], "It's");
    EXPECT_EQ(table.asked[1], "x");
}

TEST(TranslateLiterals, CountsReplacements) {
    FakeTable table;
    table.entries = {{"ab", {0, "cd", 0}}};
    int replaced = 0;
    EXPECT_EQ(TranslateLiterals("'ab' 'ab' 'zz'", ApostropheForm::Doubled, table.Lookup(), &replaced),
              "'cd' 'cd' 'zz'");
    EXPECT_EQ(replaced, 2);
}

struct UnitCase {
    const char* name;
    std::string input;
    std::string expected;
};

class UnitTextTest : public ::testing::TestWithParam<UnitCase> {};

TEST_P(UnitTextTest, KeepsLineEndsAndUntouchedBytes) {
    FakeTable table;
    table.entries = {{"Save", {0, "Sichern", 0}}, {"Don't", {0, "Nicht's", 0}}};
    EXPECT_EQ(TranslateUnitText(GetParam().input, table.Lookup()), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Units, UnitTextTest,
    ::testing::Values(
        UnitCase{"EmptyFileBecomesOneCrLf", "", "\r\n"},
        UnitCase{"LastLineGetsCrLf", "a := 'Save';", "a := 'Sichern';\r\n"},
        UnitCase{"LastLineGetsFilesLf", "x\ny := 'Save'", "x\ny := 'Sichern'\n"},
        UnitCase{"MixedEndsKept", "a\r\nb := 'Save';\nc\r\n", "a\r\nb := 'Sichern';\nc\r\n"},
        UnitCase{"LoneCrIsOrdinary", "a\r'Save'\r\n", "a\r'Sichern'\r\n"},
        UnitCase{"IndentAndTrailingBlanksStay", "  s := 'Save';   \r\n", "  s := 'Sichern';   \r\n"},
        UnitCase{"ApostropheDoubled", "s := 'Don''t';\r\n", "s := 'Nicht''s';\r\n"},
        UnitCase{"CommentApostropheUnchanged", "// don't\r\n", "// don't\r\n"},
        // Literals in comments stay, literals after them are translated: what the
        // collector files.
        UnitCase{"LiteralAfterAComment", "(* don't *) s := 'Save';\r\n", "(* don't *) s := 'Sichern';\r\n"},
        UnitCase{"LiteralsInsideCommentsStay", "{ 'Save' } x := 'Save'; // 'Save'\r\n",
                 "{ 'Save' } x := 'Sichern'; // 'Save'\r\n"},
        UnitCase{"CommentOverLines", "(* it's\r\n'Save' { *) 'Save' {\n'Save' } 'Save'\n",
                 "(* it's\r\n'Save' { *) 'Sichern' {\n'Save' } 'Sichern'\n"},
        UnitCase{"UnclosedLiteralStays", "s := 'Save' + 'Save\r\n", "s := 'Sichern' + 'Save\r\n"},
        UnitCase{"EightBitBytesKept", std::string("s := '\xe4\xf6';\r\n\xff\r\n"),
                 std::string("s := '\xe4\xf6';\r\n\xff\r\n")},
        UnitCase{"NulBytesKept", std::string("a\0b := 'Save';\n", 15),
                 std::string("a\0b := 'Sichern';\n", 18)},
        UnitCase{"BlankLinesKept", "\r\n\r\n", "\r\n\r\n"}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

} // namespace
} // namespace wordloom
