#include "translate/form_rewriter.h"

#include "base/project.h"
#include "support/pascal_text.h"

#include <gtest/gtest.h>

#include <map>

namespace wordloom {
namespace {

/// Translations keyed by the value as the form writer would encode it, so that narrow and wide
/// values are told apart.
class FakeLookup {
public:
    explicit FakeLookup(std::map<std::string, PascalString> entries) : m_entries(std::move(entries)) {}

    FormValueLookup Get() {
        return [this](const PascalString& value) -> std::optional<PascalString> {
            const std::string key = EncodeStringExpression(value);
            asked.push_back(key);
            auto it = m_entries.find(key);
            if (it == m_entries.end())
                return std::nullopt;
            return it->second;
        };
    }

    std::vector<std::string> asked;

private:
    std::map<std::string, PascalString> m_entries;
};

std::string Rewrite(std::string_view text, FakeLookup& lookup, int* replaced = nullptr) {
    FormLinePosition position;
    return TranslateFormText(text, DefaultProperties(), lookup.Get(), position, replaced);
}

struct FormCase {
    const char* name;
    std::string input;
    std::string expected;
};

class FormTextTest : public ::testing::TestWithParam<FormCase> {};

TEST_P(FormTextTest, Rewrites) {
    FakeLookup lookup({
        {"'Open'", Narrow("\xd6"
                          "ffnen")},
        {"'A long caption'", Narrow("Eine lange Beschriftung")},
        {"'Green'", Narrow("Gr\xfcn")},
        {"'Blue'", Narrow("Blau")},
        {"'GreenBlue'", Narrow("Gr\xfcnblau")},
        {"#25171#24320", Narrow("Open")},
        {"'Don'#39't'", Narrow("N'y va pas")},
        {"'Line one'#13#10'Line two'", Narrow("Zeile eins\r\nZeile zwei")},
        {"'Wide'", Wide(u"\u6253\u5f00")},
    });
    EXPECT_EQ(Rewrite(GetParam().input, lookup), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, FormTextTest,
    ::testing::Values(
        FormCase{"ValueOnTheLine", "object F: TF\r\n  Caption = 'Open'\r\nend\r\n",
                 "object F: TF\r\nCaption = '\xd6"
                 "ffnen'\r\nend\r\n"},
        FormCase{"LfEndsLines", "object F: TF\n  Caption = 'Open'\nend\n",
                 "object F: TF\r\nCaption = '\xd6"
                 "ffnen'\r\nend\r\n"},
        FormCase{"UntranslatedWrittenBackExactly", "  Caption = 'Gr'#246'e'\r\n  Hint = #39\r\n",
                 "Caption = 'Gr'#246'e'\r\nHint = #39\r\n"},
        FormCase{"CodesOnTheLineDoNotSwallowTheNextLine", "Caption = #25171#24320\r\nTabOrder = 0\r\n",
                 "Caption = 'Open'\r\nTabOrder = 0\r\n"},
        FormCase{"EmptyValueDoesNotSwallowTheNextLine", "Caption = ''\r\nTabOrder = 0\r\n",
                 "Caption = ''\r\nTabOrder = 0\r\n"},
        FormCase{"WholeExpressionLookedUp", "Caption = 'Line one'#13#10'Line two'\r\n",
                 "Caption = 'Zeile eins'#13#10'Zeile zwei'\r\n"},
        FormCase{"ApostropheWrittenAsCode", "Hint = 'Don'#39't'\r\n", "Hint = 'N'#39'y va pas'\r\n"},
        FormCase{"ValueOnFollowingLinesJoined", "Caption =\r\n  'A long ' +\r\n  'caption'\r\nTop = 1\r\n",
                 "Caption = 'Eine lange Beschriftung'\r\nTop = 1\r\n"},
        FormCase{"UntranslatedFollowingLinesKept",
                 "Caption =\r\n  'Other ' +\r\n  'caption'#13\r\nTop = 1\r\n",
                 "Caption =\r\n'Other ' +\r\n'caption'#13\r\nTop = 1\r\n"},
        FormCase{"ContinuedOnTheLineIsLookedUpOnItsLine", "Text = 'Open' +\r\n'Blue'\r\n",
                 "Text = '\xd6"
                 "ffnen' +\r\n'Blue'\r\n"},
        FormCase{"ContinuedListItemIsOneValue",
                 "Lines.Strings = (\r\n'Red'\r\n\r\n  'Green' +\r\n  'Blue')\r\n",
                 "Lines.Strings = (\r\n'Red'\r\n\r\n'Gr\xfcnblau')\r\n"},
        FormCase{"UntranslatedContinuedListItemKept",
                 "Lines.Strings = (\r\n  'Green' +\r\n  'Red'\r\n  'Blue')\r\n",
                 "Lines.Strings = (\r\n'Green' +\r\n'Red'\r\n'Blau')\r\n"},
        FormCase{"ContinuedListItemBrokenByAnEmptyLineKept",
                 "Lines.Strings = (\r\n'Green' +\r\n\r\n'Blue')\r\n",
                 "Lines.Strings = (\r\n'Green' +\r\n\r\n'Blau')\r\n"},
        FormCase{"ContinuedListItemWithForeignTextKept", "Lines.Strings = (\r\n'Green' x +\r\n'Blue')\r\n",
                 "Lines.Strings = (\r\n'Green' x +\r\n'Blue')\r\n"},
        FormCase{"ListItemByItem", "Items.Strings = (\r\n  'Red'\r\n  'Green'\r\n  'Blue')\r\nTop = 1\r\n",
                 "Items.Strings = (\r\n'Red'\r\n'Gr\xfcn'\r\n'Blau')\r\nTop = 1\r\n"},
        FormCase{"EmptyListOnItsLine", "Items.Strings = ()\r\nCaption = 'Open'\r\n",
                 "Items.Strings = ()\r\nCaption = '\xd6"
                 "ffnen'\r\n"},
        FormCase{
            "OnlyWholePropertyNames",
            "Caption2 = 'Open'\r\nTitle.Caption = 'Open'\r\nTitleCaption = 'Open'\r\nCaption='Open'\r\n",
            "Caption2 = 'Open'\r\nTitle.Caption = 'Open'\r\nTitleCaption = 'Open'\r\nCaption='Open'\r\n"},
        FormCase{"PropertyLineAfterAValuelessPropertyLine", "Caption =\r\nHint = 'Open'\r\n",
                 "Caption =\r\nHint = '\xd6"
                 "ffnen'\r\n"},
        FormCase{"NonStringValueKept", "Caption = Form1.Caption\r\nText = 0\r\n",
                 "Caption = Form1.Caption\r\nText = 0\r\n"},
        FormCase{"WideTranslationAsCodes", "Caption = 'Wide'\r\n", "Caption = #25171#24320\r\n"},
        FormCase{"EmptyText", "", ""}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST(TranslateFormText, LongTranslationIsLaidOutLikeTheWriter) {
    const std::string translation(70, 'x');
    FakeLookup lookup({{"'Open'", Narrow(translation)}});
    EXPECT_EQ(Rewrite("Caption = 'Open'\r\n", lookup),
              "Caption =\r\n'" + std::string(64, 'x') + "' +\r\n'" + std::string(6, 'x') + "'\r\n");
}

TEST(TranslateFormText, LongDoubleByteTranslationIsNeverCutInsideACharacter) {
    const std::string kana = FortyKana(false);
    FakeLookup lookup({{"'Open'", Narrow("a" + kana)}});
    FormLinePosition position;
    const std::string pieces = "'a" + kana.substr(0, 62) + "' +\r\n'" + kana.substr(62) + "'";
    EXPECT_EQ(TranslateFormText("Caption = 'Open'\r\nItems.Strings = (\r\n'Open')\r\n", DefaultProperties(),
                                lookup.Get(), position, nullptr, DoubleByteLeadTest("CP932")),
              "Caption =\r\n" + pieces + "\r\nItems.Strings = (\r\n" + pieces + ")\r\n");
}

TEST(TranslateFormText, LooksUpWholeValuesAndWholeListItems) {
    FakeLookup lookup({});
    int replaced = 0;
    Rewrite("Caption =\r\n'a' +\r\n#13 +\r\n'b'\r\nHint = 'x'#10'y'\r\nItems.Strings = (\r\n'p' +\r\n'q' + "
            "#9 +\r\n'r'\r\n's')\r\n",
            lookup, &replaced);
    EXPECT_EQ(lookup.asked, (std::vector<std::string>{"'a'#13'b'", "'x'#10'y'", "'pq'#9'r'", "'s'"}));
    EXPECT_EQ(replaced, 0);
}

TEST(TranslateFormText, LongListItemIsCutLikeTheWriterAndKeepsTheListEnd) {
    const std::string translation(150, 'y');
    FakeLookup lookup({{"'GreenBlue'", Narrow(translation)}, {"'Red'", Narrow(std::string(64, 'r'))}});
    int replaced = 0;
    EXPECT_EQ(Rewrite("Lines.Strings = (\r\n'Red'\r\n'Green' +\r\n'Blue')\r\nTop = 1\r\n", lookup, &replaced),
              "Lines.Strings = (\r\n'" + std::string(64, 'r') + "'\r\n'" + std::string(64, 'y') + "' +\r\n'" +
                  std::string(64, 'y') + "' +\r\n'" + std::string(22, 'y') + "')\r\nTop = 1\r\n");
    EXPECT_EQ(replaced, 2);
}

TEST(TranslateFormText, OnlyCheckedPropertiesAreTranslated) {
    FakeLookup lookup({{"'Open'", Narrow("Auf")}});
    FormLinePosition position;
    EXPECT_EQ(TranslateFormText("Caption = 'Open'\r\nHint = 'Open'\r\n", {"Hint"}, lookup.Get(), position),
              "Caption = 'Open'\r\nHint = 'Auf'\r\n");
}

TEST(TranslateFormText, PositionNamesTheLineOfAFailure) {
    FormValueLookup failing = [](const PascalString& value) -> std::optional<PascalString> {
        if (value.Narrow() == "bad")
            throw std::runtime_error("cannot write");
        return std::nullopt;
    };
    FormLinePosition position;
    try {
        TranslateFormText("object F: TF\r\n  Caption = 'ok'\r\n  Hint = 'bad'\r\nend\r\n",
                          DefaultProperties(), failing, position);
        FAIL() << "the failure was swallowed";
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(position.lineCount, 3);
    EXPECT_EQ(position.currentLine, "Hint = 'bad'");
}

TEST(TranslateFormText, PositionAfterTheLastLine) {
    FakeLookup lookup({});
    FormLinePosition position;
    TranslateFormText("object F: TF\r\nend\r\n", DefaultProperties(), lookup.Get(), position);
    EXPECT_EQ(position.lineCount, 2);
    EXPECT_EQ(position.currentLine, "end");
}

} // namespace
} // namespace wordloom
