#include "base/errors.h"
#include "base/source_file.h"
#include "collect/unit_collector.h"
#include "forms/pascal_scan.h"

#include "collect_fixture.h"

namespace wordloom {
namespace {

using TextList = std::vector<std::string>;

// The literals outside comments of a line, as text, and the comment state after it.
std::pair<TextList, CommentState> Literals(std::string_view line, CommentState state = CommentState::Code) {
    std::vector<LiteralSpan> spans;
    FindLiterals(line, state, spans);
    TextList texts;
    for (const LiteralSpan& span : spans) {
        texts.emplace_back(line.substr(span.open, span.end - span.open));
        if (!span.closed) {
            texts.back() += "<unclosed>";
        }
    }
    return {texts, state};
}

TEST(FindLiterals, ReadsCommentsAsPascalDoes) {
    using C = CommentState;
    EXPECT_EQ(Literals("s := 'a{b}' + 'c//d' + '(*e*)';"),
              std::make_pair(TextList{"'a{b}'", "'c//d'", "'(*e*)'"}, C::Code));
    EXPECT_EQ(Literals("(* don't *) ShowMessage('After4');"), std::make_pair(TextList{"'After4'"}, C::Code));
    EXPECT_EQ(Literals("A:=B {c}; {we're here}"), std::make_pair(TextList{}, C::Code));
    EXPECT_EQ(Literals("{a} x := 'one'; {b} y := 'two'; // it's 'no'"),
              std::make_pair(TextList{"'one'", "'two'"}, C::Code));
    EXPECT_EQ(Literals("t := 'Don''t' + 'go';"), std::make_pair(TextList{"'Don''t'", "'go'"}, C::Code));
    // A comment of one kind hides the other kind's closing.
    EXPECT_EQ(Literals("{ (* } s := 'a';"), std::make_pair(TextList{"'a'"}, C::Code));
    EXPECT_EQ(Literals("(* { *) s := 'b'; (* } 'c'"), std::make_pair(TextList{"'b'"}, C::ParenStar));
    // "(*)" opens a comment that its own star does not close.
    EXPECT_EQ(Literals("(*) 'x' *) 'y'"), std::make_pair(TextList{"'y'"}, C::Code));
    // Comments carried from the line before.
    EXPECT_EQ(Literals("still 'inside'", C::Brace), std::make_pair(TextList{}, C::Brace));
    EXPECT_EQ(Literals("it's over } z := 'zz';", C::Brace), std::make_pair(TextList{"'zz'"}, C::Code));
    EXPECT_EQ(Literals("} 'no' *) 'yes'", C::ParenStar), std::make_pair(TextList{"'yes'"}, C::Code));
    EXPECT_EQ(Literals("s := 'ok'; { goes on"), std::make_pair(TextList{"'ok'"}, C::Brace));
    EXPECT_EQ(Literals("{$R *.DFM}"), std::make_pair(TextList{}, C::Code));
    EXPECT_EQ(Literals("s := 'broken;"), std::make_pair(TextList{"'broken;<unclosed>"}, C::Code));
}

class UnitCollector : public CollectFixture {
protected:
    TextList Collect(const std::string& text, int charset = 1, const std::string& name = "Unit1.pas") {
        m_path = project.Write(name, text);
        CollectContext context = Context(charset);
        CollectUnitFile(context, m_path);
        m_failures.insert(m_failures.end(), context.lineFailures.begin(), context.lineFailures.end());
        return Texts();
    }
    const std::string& Path() const { return m_path; }
    const std::vector<LineFailure>& LineFailures() const { return m_failures; }

private:
    std::string m_path;
    std::vector<LineFailure> m_failures;
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
                                   "  (* don't *) ShowMessage('After4');\r\n"
                                   "  A:=B {c}; {we're here}\r\n"
                                   "  x := 'ab2'; { see a//b } y := 'cd';\r\n"
                                   "end.\r\n");
    EXPECT_EQ(texts, (TextList{"After4", "Don't", "Saved", "ab", "ab2", "a{b}", "c//d", "cd", "go", "yes"}));
    EXPECT_TRUE(LineFailures().empty());
}

TEST_F(UnitCollector, EveryLiteralIsATextOfItsOwnWithItsBlanks) {
    Collect("Caption := 'It''s ' + Name + ' now';\r\n");
    const auto records = Records();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records.at("It's"), (FiledText{0, 1, "Demo"}));
    EXPECT_EQ(records.at("now"), (FiledText{1, 0, "Demo"}));
}

TEST_F(UnitCollector, CommentsSpanLinesAndEndWithTheFile) {
    EXPECT_EQ(Collect("a := 'before'; { starts\r\n"
                      "  'skipped' line\r\n"
                      "ends } b := 'after'; (* again\n"
                      "it's 'inside' }\n"
                      "*) c := 'last'; (* open at the end\r\n"),
              (TextList{"after", "before", "last"}));
    // A comment left open does not reach into the next file.
    EXPECT_EQ(Collect("w := 'gh'; } v := 'ij';\r\n", 1, "Unit2.pas"),
              (TextList{"after", "before", "gh", "ij", "last"}));
    EXPECT_TRUE(LineFailures().empty());
}

TEST_F(UnitCollector, LinesEndingInLfAloneAreLines) {
    EXPECT_EQ(Collect("a := 'one'; // first\nb := 'two';\n"), (TextList{"one", "two"}));
}

TEST_F(UnitCollector, UnclosedLiteralIsNotedWithItsLineAndReadingGoesOn) {
    const TextList texts = Collect("a := 'kept' + 'broken;\r\n(* it's *)\r\nb := 'next';\r\n");
    EXPECT_EQ(texts, (TextList{"kept", "next"}));
    EXPECT_TRUE(host.Messages().empty());
    ASSERT_EQ(LineFailures().size(), 1u);
    EXPECT_EQ(LineFailures()[0].path, Path());
    EXPECT_EQ(LineFailures()[0].line, 1);
    EXPECT_EQ(LineFailures()[0].text, "'broken;");
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
