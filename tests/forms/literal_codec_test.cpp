#include "forms/literal_codec.h"

#include "support/pascal_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace wordloom {
namespace {

struct ExtractCase {
    std::string text;
    std::string expected;
};

class ExtractLiteralTest : public testing::TestWithParam<ExtractCase> {};

TEST_P(ExtractLiteralTest, DecodesFirstLiteral) {
    EXPECT_EQ(ExtractLiteral(GetParam().text), GetParam().expected) << "text: " << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Cases, ExtractLiteralTest,
                         testing::Values(ExtractCase{"no apostrophe", ""}, ExtractCase{"''", ""},
                                         ExtractCase{"''''", "'"}, ExtractCase{"x := 'a''b' + 'c'", "a'b"},
                                         ExtractCase{"Caption = 'It''s'", "It's"},
                                         ExtractCase{"Hint = '''quoted'''", "'quoted'"},
                                         ExtractCase{"'a' + 'b'", "a"},
                                         ExtractCase{"Caption = 'Gr'#246'e'", "Gr"}, ExtractCase{"", ""},
                                         // not closed: runs to the end of the text
                                         ExtractCase{"// don't", "t"}, ExtractCase{"'abc", "abc"},
                                         ExtractCase{"'ab''", "ab'"}, ExtractCase{"'", ""}));

TEST(NextLine, WithoutLineEndGivesWholeTextAndEmptiesRest) {
    std::string_view rest = "one line";
    int count = 0;
    LineEnd end = LineEnd::Lf;
    EXPECT_EQ(NextLine(rest, count, &end), "one line");
    EXPECT_TRUE(rest.empty());
    EXPECT_EQ(count, 1);
    EXPECT_EQ(end, LineEnd::None);
}

TEST(NextLine, LeadingCrLfGivesEmptyLine) {
    std::string_view rest = "\r\nsecond";
    int count = 0;
    LineEnd end = LineEnd::None;
    EXPECT_EQ(NextLine(rest, count, &end), "");
    EXPECT_EQ(end, LineEnd::CrLf);
    EXPECT_EQ(rest, "second");
}

TEST(NextLine, EmptyRestStillCounts) {
    std::string_view rest;
    int count = 4;
    EXPECT_EQ(NextLine(rest, count), "");
    EXPECT_EQ(count, 5);
    EXPECT_EQ(NextLine(rest, count), "");
    EXPECT_EQ(count, 6);
}

TEST(NextLine, MixedLineEndsAreReportedPerLineAndLoneCrIsOrdinary) {
    std::string_view rest = "a\r\nb\nc\rd\r\n\ne";
    std::vector<std::string> lines;
    std::vector<LineEnd> ends;
    int count = 0;
    while (!rest.empty()) {
        LineEnd end;
        lines.emplace_back(NextLine(rest, count, &end));
        ends.push_back(end);
    }
    EXPECT_EQ(lines, (std::vector<std::string>{"a", "b", "c\rd", "", "e"}));
    EXPECT_EQ(ends,
              (std::vector<LineEnd>{LineEnd::CrLf, LineEnd::Lf, LineEnd::CrLf, LineEnd::Lf, LineEnd::None}));
    EXPECT_EQ(count, 5);
}

TEST(NextLine, CrAloneAtEndStaysInLine) {
    std::string_view rest = "x\r";
    int count = 0;
    EXPECT_EQ(NextLine(rest, count), "x\r");
}

struct ReplaceCase {
    std::string text, pattern, replacement, expected;
};

class ReplaceAllTest : public testing::TestWithParam<ReplaceCase> {};

TEST_P(ReplaceAllTest, Replaces) {
    std::string text = GetParam().text;
    ReplaceAll(text, GetParam().pattern, GetParam().replacement);
    EXPECT_EQ(text, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReplaceAllTest,
    testing::Values(ReplaceCase{"'It'#39's'", "'#39'", "''", "'It''s'"},
                    ReplaceCase{"aAaA", "a", "b", "bbbb"}, ReplaceCase{"Hello HELLO", "hello", "x", "x x"},
                    // no re-scan: the replacement holds the pattern
                    ReplaceCase{"''", "'", "''", "''''"}, ReplaceCase{"aaa", "aa", "a", "aa"},
                    ReplaceCase{"abc", "", "x", "abc"}, ReplaceCase{"", "a", "b", ""},
                    ReplaceCase{"ab", "abc", "x", "ab"}, ReplaceCase{"xabcx", "ABC", "", "xx"},
                    ReplaceCase{"\xC4\xE4", "\xE4", "e",
                                "\xC4"
                                "e"}));

TEST(Blanks, CountsAndNegatives) {
    EXPECT_EQ(Blanks(0), "");
    EXPECT_EQ(Blanks(-3), "");
    EXPECT_EQ(Blanks(3), "   ");
}

TEST(EncodeTranslation, BothApostropheForms) {
    EXPECT_EQ(EncodeTranslation("Don't", 1, 0, ApostropheForm::Doubled), " Don''t");
    EXPECT_EQ(EncodeTranslation("Don't", 1, 0, ApostropheForm::Coded), " Don'#39't");
    EXPECT_EQ(EncodeTranslation("''", 0, 2, ApostropheForm::Doubled), "''''  ");
    EXPECT_EQ(EncodeLiteralText("", ApostropheForm::Coded), "");
}

TEST(EncodeTranslation, CodedFormReadsBackAfterReplacement) {
    // What a form collector does: every '#39' becomes '' before the literal is read.
    std::string line = "Caption = '" + EncodeTranslation("It's 'x'", 2, 1, ApostropheForm::Coded) + "'";
    ReplaceAll(line, "'#39'", "''");
    EXPECT_EQ(ExtractLiteral(line), "  It's 'x' ");
}

struct TokenCase {
    std::string text;
    PascalString expected;
    std::size_t endPos;
};

class StringTokenTest : public testing::TestWithParam<TokenCase> {};

TEST_P(StringTokenTest, Decodes) {
    PascalString s;
    std::size_t pos = 0;
    ASSERT_TRUE(ReadStringToken(GetParam().text, pos, s)) << GetParam().text;
    EXPECT_EQ(s, GetParam().expected) << GetParam().text;
    EXPECT_EQ(pos, GetParam().endPos) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StringTokenTest,
    testing::Values(TokenCase{"''", Narrow(""), 2},
                    TokenCase{"'Gr'#246'e'",
                              Narrow("Gr\xF6"
                                     "e"),
                              11},
                    TokenCase{"'It'#39's'", Narrow("It's"), 10}, TokenCase{"'It''s' +", Narrow("It's"), 7},
                    TokenCase{"'a'#13#10'b'", Narrow("a\r\nb"), 12},
                    TokenCase{"#25171#24320", Wide(u"\u6253\u5f00"), 12},
                    // a wide code makes the quoted bytes the characters U+0000-U+00FF
                    TokenCase{"'\xE9'#8364", Wide(u"\u00e9\u20ac"), 8},
                    TokenCase{"#0", Narrow(std::string(1, '\0')), 2},
                    TokenCase{"#128512", Wide(u"\U0001F600"), 7}, TokenCase{"'a' 'b'", Narrow("a"), 3},
                    TokenCase{"#255", Narrow("\xFF"), 4}, TokenCase{"#256", Wide(u"\u0100"), 4},
                    TokenCase{"x", Narrow(""), 0}));

TEST(StringToken, InvalidTokens) {
    for (std::string text :
         {"'abc", "'ab\ncd'", "'ab\rcd'", "#", "'a'#", "#1114112", "#99999999999999", "'''"}) {
        PascalString s;
        std::size_t pos = 0;
        EXPECT_FALSE(ReadStringToken(text, pos, s)) << text;
        EXPECT_LE(pos, text.size());
    }
}

TEST(StringExpression, JoinsContinuationsAcrossLinesWidening) {
    const std::string text = "'abc' +\r\n      #1055'x' + 'd'#13 end";
    PascalString s;
    std::size_t pos = 0;
    ASSERT_TRUE(ReadStringExpression(text, pos, s));
    EXPECT_EQ(s, Wide(u"abc\u041fxd\r"));
    EXPECT_EQ(text.substr(pos), " end");
}

TEST(StringExpression, PlusWithoutStringIsLeftUnread) {
    const std::string text = "'a' + b";
    PascalString s;
    std::size_t pos = 0;
    ASSERT_TRUE(ReadStringExpression(text, pos, s));
    EXPECT_EQ(s, Narrow("a"));
    EXPECT_EQ(pos, 3u);
}

TEST(StringExpression, EncodeWritesCodesForControlQuoteAndWide) {
    EXPECT_EQ(EncodeStringExpression(Narrow("")), "''");
    EXPECT_EQ(EncodeStringExpression(Narrow("It's")), "'It'#39's'");
    EXPECT_EQ(EncodeStringExpression(Narrow("a\r\nb")), "'a'#13#10'b'");
    EXPECT_EQ(EncodeStringExpression(Narrow("'")), "#39");
    EXPECT_EQ(EncodeStringExpression(Narrow("Gr\xF6\xDF"
                                            "e")),
              "'Gr\xF6\xDF"
              "e'");
    EXPECT_EQ(EncodeStringExpression(Wide(u"\u6253\u5f00")), "#25171#24320");
    EXPECT_EQ(EncodeStringExpression(Wide(u"caf\u00e9 \u20ac")), "'caf\xE9 '#8364");
}

TEST(StringExpression, EncodeThenDecodeIsIdentity) {
    std::vector<PascalString> samples{Narrow("plain"), Narrow(std::string("\0\x1f\x7f\x80\xff'''", 9)),
                                      Wide(u"\u0000'\u00ff\u0100\U0001F600x"), Wide(u""),
                                      Wide(std::u16string(1, char16_t(0xD800)))};
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    samples.push_back(Narrow(all));
    for (const PascalString& sample : samples) {
        const std::string encoded = EncodeStringExpression(sample);
        PascalString decoded;
        if (sample.IsWide() && sample.Empty())
            decoded.Widen();
        std::size_t pos = 0;
        ASSERT_TRUE(ReadStringToken(encoded, pos, decoded)) << encoded;
        EXPECT_EQ(pos, encoded.size());
        EXPECT_EQ(decoded, sample) << encoded;
    }
}

TEST(FormValueLayout, ShortValueStaysOnThePropertyLine) {
    std::string out = "Caption =";
    AppendPropertyString(out, Narrow(std::string(64, 'x')), "    ", nullptr);
    EXPECT_EQ(out, "Caption = '" + std::string(64, 'x') + "'");
    out = "Hint =";
    AppendPropertyString(out, Narrow(""), "    ", nullptr);
    EXPECT_EQ(out, "Hint = ''");
}

TEST(FormValueLayout, LongValueGoesOnTheFollowingLinesCutAfter64Characters) {
    std::string out = "Caption =";
    AppendPropertyString(out, Narrow(std::string(65, 'x')), "    ", nullptr);
    EXPECT_EQ(out, "Caption =\r\n    '" + std::string(64, 'x') + "' +\r\n    'x'");
    // A #code counts as one character.
    out.clear();
    AppendStringLines(out, Narrow(std::string(63, 'a') + "\r\nb"), "  ", nullptr);
    EXPECT_EQ(out, "'" + std::string(63, 'a') + "'#13 +\r\n  #10'b'");
    out.clear();
    AppendStringLines(out, Wide(std::u16string(65, u'\u6253')), "", nullptr);
    std::string codes;
    for (int i = 0; i < 64; ++i)
        codes += "#25171";
    EXPECT_EQ(out, codes + " +\r\n#25171");
}

TEST(FormValueLayout, DoubleByteCharacterIsNeverCut) {
    const LeadByteTest shiftJis = DoubleByteLeadTest("CP932");
    const std::string kana = FortyKana(false);
    // The 64th byte is the lead byte of a character: that line ends one byte earlier.
    std::string out;
    AppendStringLines(out, Narrow("a" + kana), "", shiftJis);
    EXPECT_EQ(out, "'a" + kana.substr(0, 62) + "' +\r\n'" + kana.substr(62) + "'");
    // Cuts that fall between characters stay where they are.
    out.clear();
    AppendStringLines(out, Narrow(kana), "", shiftJis);
    EXPECT_EQ(out, "'" + kana.substr(0, 64) + "' +\r\n'" + kana.substr(64) + "'");
    // Without the test the line is full at 64 bytes, wherever that falls.
    out.clear();
    AppendStringLines(out, Narrow("a" + kana), "", nullptr);
    EXPECT_EQ(out, "'a" + kana.substr(0, 63) + "' +\r\n'" + kana.substr(63) + "'");
}

} // namespace
} // namespace wordloom
