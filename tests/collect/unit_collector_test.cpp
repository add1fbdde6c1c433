#include "collect/errors.h"
#include "collect/source_file.h"
#include "collect/unit_collector.h"

#include "collect_fixture.h"

namespace wordloom {
namespace {

using TextList = std::vector<std::string>;

struct StripCase {
    const char* line;
    bool inBraceBefore;
    const char* expected;
    bool inBraceAfter;
};

class StripCommentsTest : public ::testing::TestWithParam<StripCase> {};

TEST_P(StripCommentsTest, RemovesCommentsAsSpecified) {
    const StripCase& c = GetParam();
    bool inBrace = c.inBraceBefore;
    EXPECT_EQ(StripComments(c.line, inBrace), c.expected) << c.line;
    EXPECT_EQ(inBrace, c.inBraceAfter) << c.line;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, StripCommentsTest,
    ::testing::Values(StripCase{"  ShowMessage('Saved');  ", false, "ShowMessage('Saved');", false},
                      StripCase{"x := 1; // don't", false, "x := 1; ", false},
                      StripCase{"s := 'a//b';", false, "s := 'a//b';", false},
                      StripCase{"{ note: not 'this' one } y := 'yes';", false, " y := 'yes';", false},
                      StripCase{"{$R *.DFM}", false, "", false},
                      StripCase{"s := 'ok'; { a comment that goes on", false, "s := 'ok'; ", true},
                      StripCase{"still inside", true, "", true},
                      StripCase{"end of it } z := 'zz';", true, " z := 'zz';", false},
                      StripCase{"x := '{'; y := 'ab';", false, "x := '{'; y := 'ab';", false},
                      // The "//" inside the brace comment cuts first; the brace comment stays open.
                      StripCase{"x := 'ab'; { see a//b } y := 'cd';", false, "x := 'ab'; ", true},
                      // A "{" inside a line comment is never seen.
                      StripCase{"a := 1; // {", false, "a := 1; ", false},
                      // The first "}" of the line is used even before the "{".
                      StripCase{"a } b { c", false, "a } b  b { c", false},
                      // One brace comment per line.
                      StripCase{"{a} x {b} y", false, " x {b} y", false},
                      // A "{" in an earlier literal shields a later comment.
                      StripCase{"s := '{'; {c}", false, "s := '{'; {c}", false},
                      StripCase{"\t\t", true, "", true}));

TEST(InsideLiteral, CountsTheApostrophesBeforeThePosition) {
    EXPECT_FALSE(InsideLiteral("x := 'a'; //", 10));
    EXPECT_TRUE(InsideLiteral("x := 'a//b'", 7));
    EXPECT_FALSE(InsideLiteral("'It''s' //", 8));
    EXPECT_FALSE(InsideLiteral("", 0));
    EXPECT_TRUE(InsideLiteral("'", 5));
}

class UnitCollector : public CollectFixture {
protected:
    TextList Collect(const std::string& text, int charset = 1, const std::string& name = "Unit1.pas") {
        m_path = project.Write(name, text);
        CollectContext context = Context(charset);
        CollectUnitFile(context, m_path);
        return Texts();
    }
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

TEST_F(UnitCollector, FilesEveryLiteralOutsideComments) {
    const TextList texts = Collect("unit Unit1;\r\n"
                                   "{$R *.DFM}\r\n"
                                   "begin\r\n"
                                   "  ShowMessage('Saved');\r\n"
                                   "  s := 'a{b}' + 'c//d';\r\n"
                                   "  x := 1; // don't\r\n"
                                   "  { note: not 'this' one } y := 'yes';\r\n"
                                   "  t := 'Don''t' + 'go';\r\n"
                                   "  x := '{'; y := 'ab';\r\n"
                                   "end.\r\n");
    EXPECT_EQ(texts, (TextList{"Don't", "Saved", "ab", "a{b}", "c//d", "go", "yes"}));
    EXPECT_FALSE(state.inBraceComment);
}

TEST_F(UnitCollector, EveryLiteralIsATextOfItsOwnWithItsBlanks) {
    Collect("Caption := 'It''s ' + Name + ' now';\r\n");
    const auto records = Records();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records.at("It's"), (FiledText{0, 1, "Demo"}));
    EXPECT_EQ(records.at("now"), (FiledText{1, 0, "Demo"}));
}

TEST_F(UnitCollector, BraceCommentOverThreeLines) {
    EXPECT_EQ(Collect("a := 'before'; { starts\r\n"
                      "  'skipped' line\r\n"
                      "ends } b := 'after';\r\n"),
              (TextList{"after", "before"}));
    EXPECT_FALSE(state.inBraceComment);
}

TEST_F(UnitCollector, OpenBraceCommentCarriesIntoTheNextFile) {
    Collect("x := 'ab'; { see a//b } y := 'cd';\r\nz := 'ef';\r\n");
    EXPECT_TRUE(state.inBraceComment);
    EXPECT_EQ(Collect("w := 'gh'; } v := 'ij';\r\nu := 'kl';\r\n", 1, "Unit2.pas"),
              (TextList{"ab", "ij", "kl"}));
    EXPECT_FALSE(state.inBraceComment);
}

TEST_F(UnitCollector, LinesEndingInLfAloneAreLines) {
    EXPECT_EQ(Collect("a := 'one'; // first\nb := 'two';\n"), (TextList{"one", "two"}));
}

TEST_F(UnitCollector, UnclosedLiteralIsReportedAndReadingGoesOn) {
    const TextList texts = Collect("a := 'kept' + 'broken;\r\n(* it's *)\r\nb := 'next';\r\n");
    EXPECT_EQ(texts, (TextList{"kept", "next"}));
    EXPECT_EQ(host.Messages(), (TextList{Path() + ": Parsing error when parsing String: \r\n + 'broken;",
                                         Path() + ": Parsing error when parsing String: \r\n(* it's *)"}));
}

TEST_F(UnitCollector, LiteralsAreDecodedWithTheSourceCodePage) {
    EXPECT_EQ(Collect("s := '\xB4\xF2\xBF\xAA';\r\n", 134), (TextList{"打开"}));
}

TEST_F(UnitCollector, ByteOrderMarkMeansUtf8WhateverTheCodePage) {
    EXPECT_EQ(Collect("\xEF\xBB\xBFunit U;\r\ns := 'Größe';\r\n", 204), (TextList{"Größe"}));
}

TEST_F(UnitCollector, UndefinedBytesAreKeptAsTheirEscapes) {
    const TextList texts = Collect("s := 'a\x81z';\r\n");
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(CodePage::ForCharset(1).Encode(texts[0]).bytes, "a\x81z");
}

TEST_F(UnitCollector, LockedFileFailsWithTheFileLayersMessage) {
    const std::string path = project.Write("Unit1.pas", "s := 'text';");
    SourceFile holder(path, FileAccess::Read);
    CollectContext context = Context();
    EXPECT_THROW(CollectUnitFile(context, path), FileError);
    EXPECT_TRUE(Texts().empty());
}

} // namespace
} // namespace wordloom
