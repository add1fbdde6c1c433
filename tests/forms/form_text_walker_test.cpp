#include "forms/form_text_walker.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace wordloom {
namespace {

const std::vector<std::string> kProperties = {
    "Caption", "Text", "Hint", "Title", "DisplayLabel", "Items.Strings", "Lines.Strings", "Hints.String"};

const char* PlaceName(FormValuePlace place) {
    switch (place) {
    case FormValuePlace::PropertyLine:
        return "line";
    case FormValuePlace::FollowingLines:
        return "following";
    case FormValuePlace::ListItem:
        return "item";
    }
    return "?";
}

/// One event as a line of text: "L text" for a line; "V property place @line value whole
/// [before|after]" for a value (W whole, P partial); "B property place @line text" for a broken one.
std::string Describe(const FormTextWalker& walker) {
    switch (walker.Event()) {
    case FormTextEvent::Line:
        return "L " + std::string(walker.Lines().front());
    case FormTextEvent::Value:
        return "V " + std::string(walker.Property()) + " " + PlaceName(walker.Place()) + " @" +
               std::to_string(walker.ValueLine()) + " " + EncodeStringExpression(walker.Value()) +
               (walker.Whole() ? " W [" : " P [") + std::string(walker.Before()) + "|" +
               std::string(walker.After()) + "]";
    case FormTextEvent::Broken:
        return "B " + std::string(walker.Property()) + " " + PlaceName(walker.Place()) + " @" +
               std::to_string(walker.FailureLine()) + " " + std::string(walker.FailureText());
    }
    return "?";
}

std::vector<std::string> Walk(std::string_view text, bool reportLines) {
    std::vector<std::string> events;
    FormTextWalker walker(text, kProperties, reportLines);
    std::size_t lines = 0;
    while (walker.Next()) {
        events.push_back(Describe(walker));
        lines += walker.Lines().size();
    }
    // The events' lines are the lines of the text, each once.
    if (reportLines) {
        EXPECT_EQ(static_cast<int>(lines), walker.LineCount()) << text;
    }
    return events;
}

struct WalkCase {
    const char* name;
    std::string text;
    std::vector<std::string> events;
};

class FormTextWalkerTest : public ::testing::TestWithParam<WalkCase> {};

TEST_P(FormTextWalkerTest, Events) {
    EXPECT_EQ(Walk(GetParam().text, true), GetParam().events);
    // Without the lines, the same values and faults.
    std::vector<std::string> values;
    for (const std::string& event : GetParam().events) {
        if (event[0] != 'L')
            values.push_back(event);
    }
    EXPECT_EQ(Walk(GetParam().text, false), values);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, FormTextWalkerTest,
    ::testing::Values(
        WalkCase{"ValueOnThePropertyLine",
                 "object F: TF\r\n  Caption = 'Open' +\r\n  'x'\r\nend",
                 {"L object F: TF", "V Caption line @2 'Open' W [Caption = | +]", "L 'x'", "L end"}},
        WalkCase{
            "WholeExpressionWithCodes",
            "Hint = 'Gr'#13'e' // note\nText = #25171#24320\n",
            {"V Hint line @1 'Gr'#13'e' W [Hint = | // note]", "V Text line @2 #25171#24320 W [Text = |]"}},
        WalkCase{"ValueOnTheFollowingLines",
                 "Caption =\r\n    'A ' +\r\n    #13'b'\r\nTop = 1\r\n",
                 {"V Caption following @1 'A '#13'b' W [|]", "L Top = 1"}},
        WalkCase{"FollowingLinesWithForeignTextArePartial",
                 "Caption =\r\n'a' x +\r\n'b' y\r\n",
                 {"V Caption following @1 'ab' P [| y]"}},
        WalkCase{"LineThatBeginsNoStringIsNoPartOfTheValue",
                 "Caption =\r\nHint = 'x'\r\n",
                 {"L Caption =", "V Hint line @2 'x' W [Hint = |]"}},
        WalkCase{"EmptyLineBreaksTheFollowingLines",
                 "Caption =\r\n\r\nHint = 'x'\r\n",
                 {"B Caption following @2 ", "V Hint line @3 'x' W [Hint = |]"}},
        WalkCase{"EndOfTextBreaksTheFollowingLines", "Caption =\r\n", {"B Caption following @2 "}},
        WalkCase{"EndOfTextBreaksAContinuation", "Caption =\r\n'a' +", {"B Caption following @3 "}},
        WalkCase{"MalformedValue",
                 "Caption = 'never closed\r\nHint = #\r\nTitle = 'ok'\r\n",
                 {"B Caption line @1 Caption = 'never closed", "B Hint line @2 Hint = #",
                  "V Title line @3 'ok' W [Title = |]"}},
        WalkCase{"MalformedContinuationTakesTheLinesItsPlusJoins",
                 "Caption =\r\n'a' +\r\n#x +\r\n'b'\r\nHint = 'h'\r\n",
                 {"B Caption following @3 #x +", "V Hint line @5 'h' W [Hint = |]"}},
        WalkCase{"ListItemByItem",
                 "Items.Strings = (\r\n  'Red'\r\n\r\n  'Gr' +\r\n  'een')\r\nTop = 1\r\n",
                 {"L Items.Strings = (", "V Items.Strings item @2 'Red' W [|]", "L ",
                  "V Items.Strings item @4 'Green' W [|)]", "L Top = 1"}},
        WalkCase{"ListGoesOnAfterABrokenItem",
                 "Lines.Strings = (\r\n'bad\r\n'Good' +\r\n\r\n'Last')\r\nCaption = 'c'\r\n",
                 {"L Lines.Strings = (", "B Lines.Strings item @2 'bad", "B Lines.Strings item @4 ",
                  "V Lines.Strings item @5 'Last' W [|)]", "V Caption line @6 'c' W [Caption = |]"}},
        WalkCase{"ListItemWithoutAStringIsALine",
                 "Items.Strings = (\r\n'a'\r\nx\r\n)\r\nHint = 'h'\r\n",
                 {"L Items.Strings = (", "V Items.Strings item @2 'a' W [|]", "L x", "L )",
                  "V Hint line @5 'h' W [Hint = |]"}},
        WalkCase{"ListItemWithForeignTextIsPartial",
                 "Items.Strings = (\r\nx 'a' y +\r\n'b')\r\n",
                 {"L Items.Strings = (", "V Items.Strings item @2 'ab' P [x |)]"}},
        WalkCase{"UnclosedListEndsWithTheText",
                 "Lines.Strings = (\r\n'a'\r\nCaption = 'b'",
                 {"L Lines.Strings = (", "V Lines.Strings item @2 'a' W [|]",
                  "V Lines.Strings item @3 'b' W [Caption = |]"}},
        WalkCase{"EmptyListOnItsLine",
                 "Items.Strings = ()\r\nText = 'x'\r\n",
                 {"L Items.Strings = ()", "V Text line @2 'x' W [Text = |]"}},
        WalkCase{
            "OnlyWholeNamesInTheirLetterCase",
            "caption = 'a'\r\nCaption2 = 'b'\r\nTitle.Caption = 'c'\r\nCaption='d'\r\nHints.Strings = (\r\n",
            {"L caption = 'a'", "L Caption2 = 'b'", "L Title.Caption = 'c'", "L Caption='d'",
             "L Hints.Strings = ("}},
        WalkCase{"NonStringValuesAreLines",
                 "Caption = Form1.Caption\r\nText = 0\r\n",
                 {"L Caption = Form1.Caption", "L Text = 0"}},
        WalkCase{"EmptyText", "", {}}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST(FormTextWalker, FollowsTheLinesTaken) {
    FormTextWalker walker("Caption =\r\nHint =\r\n  'a' +\r\n  'b'\r\nend\r\n", kProperties, false);
    ASSERT_TRUE(walker.Next());
    EXPECT_EQ(walker.Property(), "Hint");
    EXPECT_EQ(walker.ValueLine(), 2);
    EXPECT_EQ(walker.LineCount(), 4);
    EXPECT_EQ(walker.CurrentLine(), "'b'");
    EXPECT_EQ(walker.Source(), "'a' +\r\n  'b'");
    ASSERT_EQ(walker.Lines().size(), 3u);
    EXPECT_EQ(walker.Lines()[0], "Hint =");
    EXPECT_FALSE(walker.Next());
    EXPECT_EQ(walker.LineCount(), 5);
    EXPECT_EQ(walker.CurrentLine(), "end");
}

TEST(FormTextWalker, SearchesOnlyTheGivenProperties) {
    FormTextWalker walker("Caption = 'a'\r\nHint = 'b'\r\n", {"Hint"}, false);
    ASSERT_TRUE(walker.Next());
    EXPECT_EQ(walker.Value().Narrow(), "b");
    EXPECT_FALSE(walker.Next());
}

} // namespace
} // namespace wordloom
